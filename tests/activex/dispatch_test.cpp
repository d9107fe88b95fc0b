// Every property through IDispatch, as script hosts reach it: defaults, values stored,
// clamped or ignored, the errors raised and the objects shared. (Numbers no script can
// write and objects of the wrong kind: hostile_test.cpp.)
#include <olectl.h>

#include <string>

#include "activex_test_support.h"

namespace vantiq::activex::testing {
namespace {

// A value as a script writes it: a variant type, and its text in US English.
struct Value {
  VARTYPE vt;
  std::wstring text;
};

Value I4(LONG v) { return {VT_I4, std::to_wstring(v)}; }
Value Color(DWORD v) { return I4(static_cast<LONG>(v)); }  // colours travel as signed Longs
Value R8(double v) { return {VT_R8, std::to_wstring(v)}; }
Value Bool(bool v) { return {VT_BOOL, v ? L"-1" : L"0"}; }
Value Text(const wchar_t* v) { return {VT_BSTR, v}; }
Value Nothing() { return {VT_DISPATCH, L""}; }

constexpr LCID kUsEnglish = 1033;

void ToVariant(const Value& value, VARIANT& v) {
  VariantClear(&v);
  if (value.vt == VT_DISPATCH) {
    V_VT(&v) = VT_DISPATCH;
    V_DISPATCH(&v) = nullptr;
    return;
  }
  V_VT(&v) = VT_BSTR;
  V_BSTR(&v) = SysAllocString(value.text.c_str());
  VariantChangeTypeEx(&v, &v, kUsEnglish, 0, value.vt);
}

// "<variant type> <value as text>": equal for equal types and values.
std::wstring Describe(const VARIANT& v) {
  if (V_VT(&v) == VT_DISPATCH) return V_DISPATCH(&v) ? L"object" : L"Nothing";
  Variant text;
  VariantChangeTypeEx(&text, const_cast<VARIANT*>(&v), kUsEnglish, 0, VT_BSTR);
  return std::to_wstring(V_VT(&v)) + L" " + (V_BSTR(&text) ? V_BSTR(&text) : L"?");
}

std::wstring Describe(const Value& value) {
  Variant v;
  ToVariant(value, v);
  return Describe(v);
}

class DispatchTest : public ComTest {
 protected:
  void SetUp() override {
    ComTest::SetUp();
    control_ = NewControl();
    ASSERT_TRUE(control_);
  }
  void TearDown() override {
    control_.Reset();
    ComTest::TearDown();
  }

  DISPID Id(const wchar_t* name) {
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    EXPECT_HRESULT_SUCCEEDED(control_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))
        << name;
    return id;
  }
  HRESULT Get(const wchar_t* name, VARIANT* result, EXCEPINFO* exception = nullptr) {
    DISPPARAMS none{};
    return control_->Invoke(Id(name), IID_NULL, LOCALE_USER_DEFAULT,
                            DISPATCH_PROPERTYGET | DISPATCH_METHOD, &none, result, exception,
                            nullptr);
  }
  std::wstring Read(const wchar_t* name) {
    Variant result;
    const HRESULT hr = Get(name, &result);
    if (FAILED(hr)) return L"error " + std::to_wstring(hr);
    return Describe(result);
  }
  HRESULT PutVariant(const wchar_t* name, VARIANT& value, WORD flags = DISPATCH_PROPERTYPUT,
                     EXCEPINFO* exception = nullptr) {
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{&value, &named, 1, 1};
    return control_->Invoke(Id(name), IID_NULL, LOCALE_USER_DEFAULT, flags, &params, nullptr,
                            exception, nullptr);
  }
  HRESULT Put(const wchar_t* name, const Value& value, EXCEPINFO* exception = nullptr) {
    Variant v;
    ToVariant(value, v);
    return PutVariant(name, v, DISPATCH_PROPERTYPUT, exception);
  }
  HRESULT PutObject(const wchar_t* name, IDispatch* object, WORD flags = DISPATCH_PROPERTYPUTREF) {
    Variant v;
    V_VT(&v) = VT_DISPATCH;
    V_DISPATCH(&v) = object;
    if (object) object->AddRef();
    return PutVariant(name, v, flags);
  }
  ComPtr<IDispatch> ReadObject(const wchar_t* name) {
    Variant v;
    if (FAILED(Get(name, &v)) || V_VT(&v) != VT_DISPATCH) return {};
    return ComPtr<IDispatch>(V_DISPATCH(&v));
  }

  ComPtr<_Vantiq> control_;
};

bool SameObject(IUnknown* a, IUnknown* b) {
  ComPtr<IUnknown> ua = ComPtr<IUnknown>(a).As<IUnknown>(IID_IUnknown);
  ComPtr<IUnknown> ub = ComPtr<IUnknown>(b).As<IUnknown>(IID_IUnknown);
  return ua && ua.Get() == ub.Get();
}

TEST_F(DispatchTest, NewControlHasEveryDefault) {
  const std::pair<const wchar_t*, Value> defaults[] = {
      {L"TextAlignment", I4(2)},
      {L"hwnd", I4(0)},
      {L"Min", R8(0)},
      {L"Max", R8(100)},
      {L"MouseIcon", Nothing()},
      {L"MousePointer", I4(0)},
      {L"Orientation", I4(0)},
      {L"Enabled", Bool(true)},
      {L"Scrolling", I4(0)},
      {L"ShowCaption", Bool(true)},
      {L"SearchCaption", Text(L"")},
      {L"PercentFormat", Text(L"#0")},
      {L"Caption", Text(L"")},
      {L"Shadow", Bool(false)},
      {L"ShadowIntensity", I4(128)},
      {L"value", R8(0)},
      {L"style", I4(4)},
      {L"ForeColor", Color(0)},
      {L"BackColor", Color(0x8000000F)},
      {L"ShadowColor", Color(0)},
      {L"SegmentBorderColor", Color(0x8000000F)},
      {L"RightToLeft", Bool(false)},
      {L"ProgressColor", Color(0x8000000F)},
      {L"SegmentBorders", Bool(false)},
      {L"CaptionCallBack", Bool(false)},
      {L"ProgressPicture", Nothing()},
      {L"BackgroundPicture", Nothing()},
      {L"AlternateForeColor", Color(0x8000000E)},
      {L"AlternateShadowColor", Color(0)},
  };
  for (const auto& [name, value] : defaults) EXPECT_EQ(Read(name), Describe(value)) << name;
}

TEST_F(DispatchTest, DefaultFontIsTahomaEight) {
  ComPtr<IFont> font = ReadObject(L"Font").As<IFont>(IID_IFont);
  ASSERT_TRUE(font);
  BSTR name = nullptr;
  ASSERT_HRESULT_SUCCEEDED(font->get_Name(&name));
  EXPECT_STREQ(name, L"Tahoma");
  SysFreeString(name);
  CY size{};
  ASSERT_HRESULT_SUCCEEDED(font->get_Size(&size));
  EXPECT_EQ(size.int64, 82500);  // 8 points as the font realises them: 8.25
}

struct WriteCase {
  const wchar_t* name;
  Value written;
  Value read;
};

TEST_F(DispatchTest, SettersStoreClampOrIgnore) {
  const WriteCase cases[] = {
      // Stored as given, without a range check.
      {L"Orientation", I4(7), I4(7)},
      {L"Scrolling", I4(-3), I4(-3)},
      {L"style", I4(3), I4(3)},
      {L"ShowCaption", Bool(false), Bool(false)},
      {L"SearchCaption", Text(L"Searching"), Text(L"Searching")},
      {L"Caption", Text(L"Copying files"), Text(L"Copying files")},
      {L"Shadow", Bool(true), Bool(true)},
      {L"ForeColor", Color(0x0000FF), Color(0x0000FF)},
      {L"BackColor", Color(0x8000000D), Color(0x8000000D)},
      {L"ShadowColor", Color(0xABCDEF), Color(0xABCDEF)},
      {L"SegmentBorderColor", Color(0x123456), Color(0x123456)},
      {L"ProgressColor", Color(0x80000001), Color(0x80000001)},
      {L"AlternateShadowColor", Color(0x8000000D), Color(0x8000000D)},
      {L"RightToLeft", Bool(true), Bool(true)},
      {L"SegmentBorders", Bool(true), Bool(true)},
      {L"CaptionCallBack", Bool(true), Bool(true)},
      {L"Enabled", Bool(false), Bool(false)},
      {L"value", Text(L"42"), R8(42)},  // coerced as the type library says
      // Only 0, 1 and 2 are alignments; anything else leaves the old one.
      {L"TextAlignment", I4(0), I4(0)},
      {L"TextAlignment", I4(3), I4(2)},
      {L"TextAlignment", I4(-1), I4(2)},
      // Clamped to 0..255.
      {L"ShadowIntensity", I4(-5), I4(0)},
      {L"ShadowIntensity", I4(300), I4(255)},
      // Percent signs are removed.
      {L"PercentFormat", Text(L"0.0%"), Text(L"0.0")},
      {L"PercentFormat", Text(L"%"), Text(L"")},
      // The base keeps the low 16 bits, read back sign-extended.
      {L"MousePointer", I4(70000), I4(4464)},
      {L"MousePointer", I4(0x18000), I4(-32768)},
  };
  for (const WriteCase& c : cases) {
    ComPtr<_Vantiq> fresh = NewControl();
    control_ = fresh;
    SCOPED_TRACE(::testing::Message() << "writing " << c.name);
    ASSERT_HRESULT_SUCCEEDED(Put(c.name, c.written));
    EXPECT_EQ(Read(c.name), Describe(c.read));
  }
}

TEST_F(DispatchTest, ValueStaysInsideMinAndMaxAsEachIsSet) {
  ASSERT_HRESULT_SUCCEEDED(Put(L"value", R8(50)));
  ASSERT_HRESULT_SUCCEEDED(Put(L"Min", R8(60)));
  EXPECT_EQ(Read(L"value"), Describe(R8(60)));
  ASSERT_HRESULT_SUCCEEDED(Put(L"Max", R8(40)));
  EXPECT_EQ(Read(L"value"), Describe(R8(40)));
  EXPECT_EQ(Read(L"Min"), Describe(R8(60)));  // Min and Max never move each other

  // With Min above Max the lower bound wins below Min, the upper one above it.
  ASSERT_HRESULT_SUCCEEDED(Put(L"value", R8(50)));
  EXPECT_EQ(Read(L"value"), Describe(R8(60)));
  ASSERT_HRESULT_SUCCEEDED(Put(L"value", R8(70)));
  EXPECT_EQ(Read(L"value"), Describe(R8(40)));
}

TEST_F(DispatchTest, HwndCannotBeSetAndSaysSoThroughErrorInfo) {
  EXCEPINFO exception{};
  EXPECT_EQ(Put(L"hwnd", I4(5), &exception), DISP_E_EXCEPTION);
  EXPECT_EQ(exception.scode, static_cast<SCODE>(0x800A0183));
  EXPECT_STREQ(exception.bstrSource, L"VantiqCtl.Vantiq");
  EXPECT_STREQ(exception.bstrDescription, L"Set not permitted");
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrHelpFile);
  EXPECT_EQ(Read(L"hwnd"), Describe(I4(0)));

  // Early-bound callers get the HRESULT and the thread's error info.
  SetErrorInfo(0, nullptr);
  EXPECT_EQ(control_->put_hwnd(5), static_cast<HRESULT>(0x800A0183));
  ComPtr<IErrorInfo> info;
  ASSERT_EQ(GetErrorInfo(0, info.Put()), S_OK);
  BSTR source = nullptr, description = nullptr;
  GUID iid{};
  info->GetSource(&source);
  info->GetDescription(&description);
  info->GetGUID(&iid);
  EXPECT_STREQ(source, L"VantiqCtl.Vantiq");
  EXPECT_STREQ(description, L"Set not permitted");
  EXPECT_EQ(GuidText(iid), GuidText(IID__Vantiq));
  SysFreeString(source);
  SysFreeString(description);
}

TEST_F(DispatchTest, AlternateForeColorIsTranslatedWhenSet) {
  ASSERT_HRESULT_SUCCEEDED(Put(L"AlternateForeColor", Color(0x8000000D)));
  EXPECT_EQ(Read(L"AlternateForeColor"), Describe(Color(GetSysColor(COLOR_HIGHLIGHT))));
  ASSERT_HRESULT_SUCCEEDED(Put(L"AlternateForeColor", Color(0x00FF00)));
  EXPECT_EQ(Read(L"AlternateForeColor"), Describe(Color(0x00FF00)));

  // No such kind of colour: the translation's error, and nothing stored.
  EXCEPINFO exception{};
  EXPECT_EQ(Put(L"AlternateForeColor", Color(0x05000000), &exception), DISP_E_EXCEPTION);
  EXPECT_EQ(exception.scode, E_INVALIDARG);
  EXPECT_STREQ(exception.bstrSource, L"VantiqCtl.Vantiq");
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrHelpFile);
  EXPECT_EQ(control_->put_AlternateForeColor(0x05000000), E_INVALIDARG);
  EXPECT_EQ(Read(L"AlternateForeColor"), Describe(Color(0x00FF00)));
}

TEST_F(DispatchTest, FontIsSharedNotCopied) {
  ComPtr<IDispatch> first = ReadObject(L"Font");
  ComPtr<IDispatch> second = ReadObject(L"Font");
  ASSERT_TRUE(first);
  EXPECT_TRUE(SameObject(first.Get(), second.Get()));

  // A change made through the returned object is the control's.
  ComPtr<IFont> font = first.As<IFont>(IID_IFont);
  ASSERT_HRESULT_SUCCEEDED(font->put_Bold(TRUE));
  BOOL bold = FALSE;
  ReadObject(L"Font").As<IFont>(IID_IFont)->get_Bold(&bold);
  EXPECT_TRUE(bold);

  FONTDESC desc{sizeof(FONTDESC),
                const_cast<LPOLESTR>(L"Arial"),
                {{120000, 0}},
                FW_NORMAL,
                ANSI_CHARSET,
                FALSE,
                FALSE,
                FALSE};
  ComPtr<IFontDisp> arial, courier;
  ASSERT_HRESULT_SUCCEEDED(
      OleCreateFontIndirect(&desc, IID_IFontDisp, reinterpret_cast<void**>(arial.Put())));
  desc.lpstrName = const_cast<LPOLESTR>(L"Courier New");
  ASSERT_HRESULT_SUCCEEDED(
      OleCreateFontIndirect(&desc, IID_IFontDisp, reinterpret_cast<void**>(courier.Put())));

  ASSERT_HRESULT_SUCCEEDED(PutObject(L"Font", arial.Get(), DISPATCH_PROPERTYPUTREF));
  EXPECT_TRUE(SameObject(ReadObject(L"Font").Get(), arial.Get()));
  // Assigning without Set stores the object all the same.
  ASSERT_HRESULT_SUCCEEDED(PutObject(L"Font", courier.Get(), DISPATCH_PROPERTYPUT));
  EXPECT_TRUE(SameObject(ReadObject(L"Font").Get(), courier.Get()));
  // Nothing leaves the control with the font it has.
  ASSERT_HRESULT_SUCCEEDED(PutObject(L"Font", nullptr));
  EXPECT_TRUE(SameObject(ReadObject(L"Font").Get(), courier.Get()));
}

ComPtr<IPictureDisp> NewPicture() { return testing::NewPicture(CreateBitmap(4, 4, 1, 32, nullptr)); }

TEST_F(DispatchTest, PicturesAreSetByReferenceOnly) {
  for (const wchar_t* name : {L"ProgressPicture", L"BackgroundPicture", L"MouseIcon"}) {
    SCOPED_TRACE(name);
    ComPtr<IPictureDisp> picture = NewPicture();
    ASSERT_TRUE(picture);
    ASSERT_HRESULT_SUCCEEDED(PutObject(name, picture.Get()));
    EXPECT_TRUE(SameObject(ReadObject(name).Get(), picture.Get()));
    // There is no assignment without Set.
    EXPECT_EQ(PutObject(name, NewPicture().Get(), DISPATCH_PROPERTYPUT), DISP_E_MEMBERNOTFOUND);
    EXPECT_TRUE(SameObject(ReadObject(name).Get(), picture.Get()));
    ASSERT_HRESULT_SUCCEEDED(PutObject(name, nullptr));
    EXPECT_EQ(Read(name), Describe(Nothing()));
  }
}

TEST_F(DispatchTest, NamesAndTheDefaultMember) {
  const std::pair<const wchar_t*, DISPID> names[] = {
      {L"VALUE", DISPID_VALUE}, {L"Style", 0x68030009}, {L"hwnd", -515}, {L"caption", -518}};
  for (const auto& [name, id] : names) EXPECT_EQ(Id(name), id) << name;
  DISPID id = 0;
  LPOLESTR unknown[] = {const_cast<LPOLESTR>(L"Percent")};
  EXPECT_EQ(control_->GetIDsOfNames(IID_NULL, unknown, 1, LOCALE_USER_DEFAULT, &id),
            DISP_E_UNKNOWNNAME);

  // The default member is value.
  Variant v;
  V_VT(&v) = VT_R8;
  V_R8(&v) = 33;
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params{&v, &named, 1, 1};
  ASSERT_HRESULT_SUCCEEDED(control_->Invoke(DISPID_VALUE, IID_NULL, LOCALE_USER_DEFAULT,
                                            DISPATCH_PROPERTYPUT, &params, nullptr, nullptr,
                                            nullptr));
  EXPECT_EQ(Read(L"value"), Describe(R8(33)));

  DISPPARAMS none{};
  Variant result;
  EXPECT_EQ(control_->Invoke(DISPID_VALUE, IID_IUnknown, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET,
                             &none, &result, nullptr, nullptr),
            DISP_E_UNKNOWNINTERFACE);
}

}  // namespace
}  // namespace vantiq::activex::testing

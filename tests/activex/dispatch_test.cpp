// Every property through IDispatch as script hosts reach it, and every kind of error as
// COM callers receive it. What the values mean (ranges, clamps, translations) is the
// core's and tested there; here, that each reaches its property and comes back in the
// type the type library names.
#include <olectl.h>

#include <string>

#include "activex/error_info.h"
#include "activex_test_support.h"

namespace vantiq::activex::testing {
namespace {

// "<variant type> <text>" as VariantText writes it; the written ones made from it.
void FromText(const std::wstring& typed, VARIANT& v) {
  const std::size_t space = typed.find(L' ');
  MakeVariant(static_cast<VARTYPE>(std::stoi(typed.substr(0, space))), typed.substr(space + 1), v);
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
    EXPECT_HRESULT_SUCCEEDED(control_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id)) << name;
    return id;
  }
  std::wstring Read(const wchar_t* name) {
    DISPPARAMS none{};
    Variant result;
    const HRESULT hr = control_->Invoke(Id(name), IID_NULL, LOCALE_USER_DEFAULT,
                                        DISPATCH_PROPERTYGET | DISPATCH_METHOD, &none, &result, nullptr, nullptr);
    return FAILED(hr) ? L"error " + std::to_wstring(hr) : VariantText(result);
  }
  HRESULT Put(const wchar_t* name, VARIANT& value, WORD flags = DISPATCH_PROPERTYPUT, EXCEPINFO* exception = nullptr) {
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{&value, &named, 1, 1};
    return control_->Invoke(Id(name), IID_NULL, LOCALE_USER_DEFAULT, flags, &params, nullptr, exception, nullptr);
  }
  HRESULT PutObject(const wchar_t* name, IUnknown* object, WORD flags = DISPATCH_PROPERTYPUTREF) {
    Variant v;
    V_VT(&v) = VT_DISPATCH;
    if (object) object->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&V_DISPATCH(&v)));
    return Put(name, v, flags);
  }
  IUnknown* Object(const wchar_t* name) {  // the identity of the object the property holds
    DISPPARAMS none{};
    Variant result;
    ComPtr<IUnknown> identity;
    if (SUCCEEDED(control_->Invoke(Id(name), IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, &result,
                                   nullptr, nullptr)) && V_VT(&result) == VT_DISPATCH && V_DISPATCH(&result))
      V_DISPATCH(&result)->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(identity.Put()));
    return identity.Get();  // compared only, while the control holds it
  }
  ComPtr<_Vantiq> control_;
};

// Variant types: 2 VT_I2, 3 VT_I4, 5 VT_R8, 8 VT_BSTR, 11 VT_BOOL (True is -1). Colours travel as
// signed 32-bit integers with the same bits; a 16-bit one is sign-extended first.
TEST_F(DispatchTest, EveryPropertyHasItsIdDefaultAndRoundTrip) {
  const struct {
    const wchar_t* name;
    DISPID id;
    const wchar_t *initial, *written, *read;
  } rows[] = {
      {L"TextAlignment", 0x68030016, L"3 2", L"3 0", L"3 0"},
      {L"Min", 0x68030014, L"5 0", L"5 -12.5", L"5 -12.5"},
      {L"Max", 0x68030013, L"5 100", L"5 250.25", L"5 250.25"},
      {L"MousePointer", 0x68030011, L"3 0", L"3 98305", L"3 -32767"},  // the base keeps 16 bits
      {L"Orientation", 0x68030010, L"3 0", L"3 7", L"3 7"},
      {L"Enabled", DISPID_ENABLED, L"11 -1", L"11 0", L"11 0"},
      {L"Scrolling", 0x6803000F, L"3 0", L"3 -3", L"3 -3"},
      {L"ShowCaption", 0x6803000E, L"11 -1", L"11 0", L"11 0"},
      {L"SearchCaption", 0x6803000D, L"8 ", L"8 Searching", L"8 Searching"},
      {L"PercentFormat", 0x6803000C, L"8 #0", L"8 0.00", L"8 0.00"},
      {L"Caption", DISPID_CAPTION, L"8 ", L"8 Copying \u65e5\U0001F680", L"8 Copying \u65e5\U0001F680"},
      {L"Shadow", 0x6803000B, L"11 0", L"11 -1", L"11 -1"},
      {L"ShadowIntensity", 0x6803000A, L"3 128", L"3 77", L"3 77"},
      {L"value", DISPID_VALUE, L"5 0", L"8 42", L"5 42"},  // coerced as the type library says
      {L"style", 0x68030009, L"3 4", L"3 3", L"3 3"},
      {L"ForeColor", DISPID_FORECOLOR, L"3 0", L"3 16711680", L"3 16711680"},
      {L"BackColor", DISPID_BACKCOLOR, L"3 -2147483633", L"2 -1", L"3 -1"},
      {L"ShadowColor", 0x68030008, L"3 0", L"3 11259375", L"3 11259375"},
      {L"SegmentBorderColor", 0x68030007, L"3 -2147483633", L"2 -256", L"3 -256"},
      {L"RightToLeft", -611, L"11 0", L"11 -1", L"11 -1"},
      {L"ProgressColor", 0x68030006, L"3 -2147483633", L"3 -2147483647", L"3 -2147483647"},
      {L"SegmentBorders", 0x68030005, L"11 0", L"11 -1", L"11 -1"},
      {L"CaptionCallBack", 0x68030004, L"11 0", L"11 -1", L"11 -1"},
      {L"AlternateForeColor", 0x68030001, L"3 -2147483634", L"3 65280", L"3 65280"},
      {L"AlternateShadowColor", 0x68030000, L"3 0", L"3 -2147483635", L"3 -2147483635"},
      {L"hwnd", DISPID_HWND, L"3 0", nullptr, nullptr},  // no window without a container
  };
  for (const auto& row : rows) {
    control_ = NewControl();
    SCOPED_TRACE(row.name);
    EXPECT_EQ(Id(row.name), row.id);
    EXPECT_EQ(Read(row.name), row.initial);
    if (!row.written) continue;
    Variant v;
    FromText(row.written, v);
    ASSERT_EQ(Put(row.name, v), S_OK);
    EXPECT_EQ(Read(row.name), row.read);
  }
}

// Errors: raised by the control with error info naming it, or the automation layer's
// own for an argument it cannot convert; either way nothing is stored.
TEST_F(DispatchTest, EveryKindOfErrorReachesTheCaller) {
  const struct {
    const wchar_t *name, *written;
    HRESULT hr;
    SCODE scode;  // with DISP_E_EXCEPTION
    const wchar_t *description, *kept;
  } rows[] = {
      {L"hwnd", L"3 5", DISP_E_EXCEPTION, CTL_E_SETNOTPERMITTED, L"Set not permitted", L"3 0"},
      {L"AlternateForeColor", L"3 83886080", DISP_E_EXCEPTION, E_INVALIDARG, nullptr, L"3 -2147483634"},
      {L"ShadowIntensity", L"5 1e308", DISP_E_OVERFLOW, 0, nullptr, L"3 128"},
      {L"style", L"5 -3000000000", DISP_E_OVERFLOW, 0, nullptr, L"3 4"},
      {L"ForeColor", L"5 4294967296", DISP_E_OVERFLOW, 0, nullptr, L"3 0"},
      {L"value", L"8 NaN", DISP_E_TYPEMISMATCH, 0, nullptr, L"5 0"},
      {L"Caption", L"1 ", DISP_E_TYPEMISMATCH, 0, nullptr, L"8 "},  // Null
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Variant v;
    FromText(row.written, v);
    EXCEPINFO exception{};
    EXPECT_EQ(Put(row.name, v, DISPATCH_PROPERTYPUT, &exception), row.hr);
    EXPECT_EQ(exception.scode, row.scode);
    EXPECT_EQ(TakeText(exception.bstrSource), row.scode ? L"VantiqCtl.Vantiq" : L"");
    if (row.description) EXPECT_EQ(TakeText(exception.bstrDescription), row.description);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
    EXPECT_EQ(Read(row.name), row.kept);
  }

  // Early-bound callers get the HRESULT and the thread's error info.
  const auto errorInfo = [](HRESULT hr) {
    ComPtr<IErrorInfo> info;
    BSTR source = nullptr, description = nullptr;
    GUID iid{};
    if (GetErrorInfo(0, info.Put()) != S_OK) return L"none for " + std::to_wstring(hr);
    info->GetSource(&source);
    info->GetDescription(&description);
    info->GetGUID(&iid);
    return std::to_wstring(hr) + L" " + TakeText(source) + L": " + TakeText(description) + L" " + GuidText(iid);
  };
  const std::wstring from = L" " + GuidText(IID__Vantiq);
  SetErrorInfo(0, nullptr);
  EXPECT_EQ(errorInfo(control_->put_hwnd(5)), std::to_wstring(CTL_E_SETNOTPERMITTED) + L" VantiqCtl.Vantiq: Set not permitted" + from);
  EXPECT_EQ(control_->put_AlternateForeColor(0x05000000), E_INVALIDARG);
  // Objects that are not what the property takes, from a caller that did not ask them.
  ComPtr<IFontDisp> font;
  ASSERT_EQ(control_->get_Font(font.Put()), S_OK);
  ComPtr<IPictureDisp> picture = NewPicture(CreateBitmap(2, 2, 1, 32, nullptr));
  const std::wstring invalid = std::to_wstring(CTL_E_INVALIDPROPERTYVALUE) + L" VantiqCtl.Vantiq: Invalid property value" + from;
  EXPECT_EQ(errorInfo(control_->putref_Font(reinterpret_cast<IFontDisp*>(picture.Get()))), invalid);
  EXPECT_EQ(errorInfo(control_->put_Font(reinterpret_cast<IFontDisp*>(control_.Get()))), invalid);
  EXPECT_EQ(errorInfo(control_->putref_ProgressPicture(reinterpret_cast<IPictureDisp*>(font.Get()))), invalid);
  EXPECT_EQ(errorInfo(control_->putref_BackgroundPicture(reinterpret_cast<IPictureDisp*>(control_.Get()))), invalid);
  EXPECT_EQ(errorInfo(control_->putref_MouseIcon(reinterpret_cast<IPictureDisp*>(font.Get()))), invalid);
  EXPECT_EQ(Object(L"Font"), font.As<IUnknown>(IID_IUnknown).Get());
  EXPECT_EQ(Read(L"ProgressPicture") + Read(L"BackgroundPicture") + Read(L"MouseIcon"), L"NothingNothingNothing");
  // The shadow's error 5 and the others the core raises: their number and standard text;
  // a text of the error's own wins. Running out of memory is E_OUTOFMEMORY.
  EXPECT_EQ(errorInfo(ReportError(RuntimeError(5), IID__Vantiq)),
            std::to_wstring(MAKE_HRESULT(1, FACILITY_CONTROL, 5)) + L" VantiqCtl.Vantiq: Invalid procedure call or argument" + from);
  EXPECT_EQ(errorInfo(ReportError(RuntimeError(387, u"custom"), IID__Vantiq)),
            std::to_wstring(CTL_E_SETNOTPERMITTED) + L" VantiqCtl.Vantiq: custom" + from);
  EXPECT_EQ(Guarded(IID__Vantiq, [] { throw std::bad_alloc(); }), E_OUTOFMEMORY);
}

TEST_F(DispatchTest, AlternateForeColorIsTranslatedOnTheWayIn) {
  Variant highlight;
  FromText(L"3 -2147483635", highlight);  // COLOR_HIGHLIGHT
  ASSERT_EQ(Put(L"AlternateForeColor", highlight), S_OK);
  EXPECT_EQ(Read(L"AlternateForeColor"), L"3 " + std::to_wstring(GetSysColor(COLOR_HIGHLIGHT)));
}

TEST_F(DispatchTest, NamesInAnyCaseAndValueAsTheDefaultMember) {
  EXPECT_EQ(Id(L"VALUE"), DISPID_VALUE);
  EXPECT_EQ(Id(L"Style"), 0x68030009);
  DISPID id = 0;
  LPOLESTR unknown[] = {const_cast<LPOLESTR>(L"Percent")};
  EXPECT_EQ(control_->GetIDsOfNames(IID_NULL, unknown, 1, LOCALE_USER_DEFAULT, &id), DISP_E_UNKNOWNNAME);
  // Written and read by DISPID_VALUE: the table's "value" row.
  DISPPARAMS none{};
  Variant result;
  EXPECT_EQ(control_->Invoke(DISPID_VALUE, IID_IUnknown, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr),
            DISP_E_UNKNOWNINTERFACE);
}

TEST_F(DispatchTest, FontIsSharedAndTakenWithOrWithoutSet) {
  ComPtr<IFont> font;
  ASSERT_HRESULT_SUCCEEDED(Object(L"Font")->QueryInterface(IID_IFont, reinterpret_cast<void**>(font.Put())));
  BSTR name = nullptr;
  CY size{};
  font->get_Name(&name);
  font->get_Size(&size);
  EXPECT_EQ(TakeText(name), L"Tahoma");
  EXPECT_EQ(size.int64, 82500);  // 8 points as the font realises them: 8.25
  ASSERT_EQ(font->put_Bold(TRUE), S_OK);  // the control's own font, not a copy
  EXPECT_EQ(Object(L"Font"), font.As<IUnknown>(IID_IUnknown).Get());

  FONTDESC desc{sizeof(FONTDESC), const_cast<LPOLESTR>(L"Arial"), {{120000, 0}}, FW_NORMAL, ANSI_CHARSET, 0, 0, 0};
  ComPtr<IUnknown> arial, courier;
  ASSERT_HRESULT_SUCCEEDED(OleCreateFontIndirect(&desc, IID_IUnknown, reinterpret_cast<void**>(arial.Put())));
  desc.lpstrName = const_cast<LPOLESTR>(L"Courier New");
  ASSERT_HRESULT_SUCCEEDED(OleCreateFontIndirect(&desc, IID_IUnknown, reinterpret_cast<void**>(courier.Put())));
  ASSERT_EQ(PutObject(L"Font", arial.Get()), S_OK);
  EXPECT_EQ(Object(L"Font"), arial.Get());
  ASSERT_EQ(PutObject(L"Font", courier.Get(), DISPATCH_PROPERTYPUT), S_OK);
  EXPECT_EQ(Object(L"Font"), courier.Get());
  ASSERT_EQ(PutObject(L"Font", nullptr), S_OK);  // Nothing leaves the font it has
  EXPECT_EQ(Object(L"Font"), courier.Get());
}

TEST_F(DispatchTest, PicturesAreSetByReferenceOnly) {
  for (const wchar_t* name : {L"ProgressPicture", L"BackgroundPicture", L"MouseIcon"}) {
    SCOPED_TRACE(name);
    ComPtr<IUnknown> picture = NewPicture(CreateBitmap(4, 4, 1, 32, nullptr)).As<IUnknown>(IID_IUnknown);
    ASSERT_EQ(PutObject(name, picture.Get()), S_OK);
    EXPECT_EQ(Object(name), picture.Get());
    EXPECT_EQ(PutObject(name, NewPicture(CreateBitmap(4, 4, 1, 32, nullptr)).Get(), DISPATCH_PROPERTYPUT),
              DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(Object(name), picture.Get());
    ASSERT_EQ(PutObject(name, nullptr), S_OK);
    EXPECT_EQ(Read(name), L"Nothing");
  }
}

}  // namespace
}  // namespace vantiq::activex::testing

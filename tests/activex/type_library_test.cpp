// The embedded type library read back through ITypeLib and ITypeInfo: what hosts and
// late-bound callers see of the control.
#include <string>
#include <utility>
#include <vector>

#include "activex_test_support.h"

namespace vantiq::activex::testing {
namespace {

// The text of a type as the IDL spells it; user-defined types by name.
std::wstring TypeText(ITypeInfo* info, const TYPEDESC& type) {
  switch (type.vt) {
    case VT_PTR:
      return TypeText(info, *type.lptdesc) + L"*";
    case VT_USERDEFINED: {
      ComPtr<ITypeInfo> ref;
      if (FAILED(info->GetRefTypeInfo(type.hreftype, ref.Put()))) return L"?";
      BSTR name = nullptr;
      ref->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr);
      std::wstring text = name ? name : L"";
      SysFreeString(name);
      return text;
    }
    case VT_I2:
      return L"short";
    case VT_I4:
      return L"long";
    case VT_R4:
      return L"float";
    case VT_R8:
      return L"double";
    case VT_BOOL:
      return L"VARIANT_BOOL";
    case VT_BSTR:
      return L"BSTR";
    case VT_VOID:
      return L"void";
    case VT_HRESULT:
      return L"HRESULT";
    default:
      return L"vt" + std::to_wstring(type.vt);
  }
}

std::wstring Name(ITypeInfo* info, MEMBERID id = MEMBERID_NIL) {
  BSTR name = nullptr;
  info->GetDocumentation(id, &name, nullptr, nullptr, nullptr);
  std::wstring text = name ? name : L"";
  SysFreeString(name);
  return text;
}

// Null when the member has no help string.
std::wstring HelpString(ITypeInfo* info, MEMBERID id, bool* present) {
  BSTR help = nullptr;
  info->GetDocumentation(id, nullptr, &help, nullptr, nullptr);
  *present = help != nullptr;
  std::wstring text = help ? help : L"";
  SysFreeString(help);
  return text;
}

std::vector<std::wstring> ParamNames(ITypeInfo* info, MEMBERID id) {
  BSTR names[8] = {};
  UINT count = 0;
  info->GetNames(id, names, 8, &count);
  std::vector<std::wstring> result;
  for (UINT i = 1; i < count; ++i) result.emplace_back(names[i]);
  for (UINT i = 0; i < count; ++i) SysFreeString(names[i]);
  return result;
}

class TypeInfoOf {
 public:
  explicit TypeInfoOf(ComPtr<ITypeInfo> info) : info_(std::move(info)) {
    if (info_) info_->GetTypeAttr(&attr_);
  }
  ~TypeInfoOf() {
    if (attr_) info_->ReleaseTypeAttr(attr_);
  }
  ITypeInfo* info() const { return info_.Get(); }
  const TYPEATTR* operator->() const { return attr_; }
  explicit operator bool() const { return attr_ != nullptr; }

 private:
  ComPtr<ITypeInfo> info_;
  TYPEATTR* attr_ = nullptr;
};

class FuncDesc {
 public:
  FuncDesc(ITypeInfo* info, UINT index) : info_(info) { info->GetFuncDesc(index, &desc_); }
  ~FuncDesc() {
    if (desc_) info_->ReleaseFuncDesc(desc_);
  }
  const FUNCDESC* operator->() const { return desc_; }
  explicit operator bool() const { return desc_ != nullptr; }

 private:
  ITypeInfo* info_;
  FUNCDESC* desc_ = nullptr;
};

class TypeLibraryTest : public ComTest {
 protected:
  void SetUp() override {
    ComTest::SetUp();
    lib_ = LoadControlTypeLib();
    ASSERT_TRUE(lib_);
  }
  void TearDown() override {
    lib_.Reset();
    ComTest::TearDown();
  }
  ComPtr<ITypeInfo> ByGuid(REFGUID guid) {
    ComPtr<ITypeInfo> info;
    lib_->GetTypeInfoOfGuid(guid, info.Put());
    return info;
  }
  ComPtr<ITypeInfo> ByName(const std::wstring& name) {
    for (UINT i = 0; i < lib_->GetTypeInfoCount(); ++i) {
      ComPtr<ITypeInfo> info;
      if (SUCCEEDED(lib_->GetTypeInfo(i, info.Put())) && Name(info.Get()) == name) return info;
    }
    return {};
  }
  ComPtr<ITypeInfo> VtableSide() {
    ComPtr<ITypeInfo> dispatchSide = ByGuid(IID__Vantiq), vtable;
    HREFTYPE ref = 0;
    if (dispatchSide && SUCCEEDED(dispatchSide->GetRefTypeOfImplType(static_cast<UINT>(-1), &ref)))
      dispatchSide->GetRefTypeInfo(ref, vtable.Put());
    return vtable;
  }

  ComPtr<ITypeLib> lib_;
};

TEST_F(TypeLibraryTest, LibraryIsVantiqCtlVersionOneInUsEnglish) {
  TLIBATTR* attr = nullptr;
  ASSERT_HRESULT_SUCCEEDED(lib_->GetLibAttr(&attr));
  EXPECT_EQ(GuidText(attr->guid), L"{F8FF12FB-C6F7-46E4-B7CA-0B734A2F4DC1}");
  EXPECT_EQ(attr->lcid, 1033u);
  EXPECT_EQ(attr->wMajorVerNum, 1);
  EXPECT_EQ(attr->wMinorVerNum, 0);
  EXPECT_EQ(attr->syskind, sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32);
  lib_->ReleaseTLibAttr(attr);
  BSTR name = nullptr;
  ASSERT_HRESULT_SUCCEEDED(lib_->GetDocumentation(-1, &name, nullptr, nullptr, nullptr));
  EXPECT_STREQ(name, L"VantiqCtl");
  SysFreeString(name);
}

// The identifiers are fixed for good: saved forms and pages refer to them.
TEST_F(TypeLibraryTest, IdentifiersNeverChange) {
  const std::pair<const wchar_t*, const wchar_t*> types[] = {
      {L"Vantiq", L"{8CFEF030-6B4C-4B01-8607-16945361676F}"},
      {L"_Vantiq", L"{84733DE1-0666-4206-A380-2FF8A62FCDC5}"},
      {L"__Vantiq", L"{DB31A522-DA33-4954-A9A3-42FF2D142234}"},
      {L"eProgressBarTextAlign", L"{A3A543C2-B95B-4972-9499-A53D932AE6C5}"},
      {L"eProgressBarScroll", L"{E1B8C6B2-15B1-47AC-B466-26147C7BAC71}"},
      {L"eProgressBarOrientation", L"{EE391D15-1E1B-47A0-AD9B-599528931694}"},
      {L"eProgressBarStyle", L"{845BDB12-1295-400B-A70A-A6BC70E78A74}"},
      {L"eMousePointer", L"{49CEC447-BD64-4218-B5A6-59466B5EF8F8}"},
  };
  for (const auto& [name, guid] : types) {
    TypeInfoOf type(ByName(name));
    ASSERT_TRUE(type) << name;
    EXPECT_EQ(GuidText(type->guid), guid) << name;
  }
}

// One row per property, in slot order: accessors g(et), l(et: put), s(et: putref).
struct PropertyRow {
  const wchar_t* name;
  DISPID id;
  const char* accessors;
  const wchar_t* type;
  const wchar_t* help;  // null: none
};

// clang-format off
const PropertyRow kProperties[] = {
    {L"TextAlignment", 0x68030016, "gl", L"eProgressBarTextAlign", L"Returns/sets the alignment of the progress bar text."},
    {L"Font", -512, "gsl", L"IFontDisp*", L"Returns/sets the font."},
    {L"hwnd", -515, "gl", L"long", nullptr},
    {L"Min", 0x68030014, "gl", L"double", L"Returns/sets the minimum value."},
    {L"Max", 0x68030013, "gl", L"double", L"Returns/sets the maximum value."},
    {L"MouseIcon", 0x68030012, "gs", L"IPictureDisp*", L"Sets a custom mouse icon."},
    {L"MousePointer", 0x68030011, "gl", L"eMousePointer", L"Returns/sets the type of mouse pointer displayed when over part of an object."},
    {L"Orientation", 0x68030010, "gl", L"eProgressBarOrientation", L"Returns/sets the control's orientation (Horizontal or Vertical)."},
    {L"Enabled", -514, "gl", L"VARIANT_BOOL", L"Returns/sets the enabled state of the progress bar."},
    {L"Scrolling", 0x6803000F, "gl", L"eProgressBarScroll", L"Returns/sets the scroll style."},
    {L"ShowCaption", 0x6803000E, "gl", L"VARIANT_BOOL", L"Returns/sets if text should be displayed."},
    {L"SearchCaption", 0x6803000D, "gl", L"BSTR", L"Returns/sets the text displayed in marquee mode."},
    {L"PercentFormat", 0x6803000C, "gl", L"BSTR", L"Returns/sets the display format for the percentage text."},
    {L"Caption", -518, "gl", L"BSTR", L"Returns/sets the text displayed in the progress bar."},
    {L"Shadow", 0x6803000B, "gl", L"VARIANT_BOOL", L"Returns/sets if shadows should be drawn around the text."},
    {L"ShadowIntensity", 0x6803000A, "gl", L"long", L"Returns/sets the shadow intensity (0-255)."},
    {L"value", 0, "gl", L"double", L"Returns/sets the value of the progress bar."},
    {L"style", 0x68030009, "gl", L"eProgressBarStyle", L"Returns/sets the progress bar rendering style."},
    {L"ForeColor", -513, "gl", L"OLE_COLOR", L"Returns/sets the text color."},
    {L"BackColor", -501, "gl", L"OLE_COLOR", L"Returns/sets the background color."},
    {L"ShadowColor", 0x68030008, "gl", L"OLE_COLOR", L"Returns/sets the text shadow color."},
    {L"SegmentBorderColor", 0x68030007, "gl", L"OLE_COLOR", L"Returns/sets the segment border color."},
    {L"RightToLeft", -611, "gl", L"VARIANT_BOOL", L"Returns/sets if the progressbar should be rendered for right-to-left reading languages."},
    {L"ProgressColor", 0x68030006, "gl", L"OLE_COLOR", L"Returns/sets the color for filling progressbar segments."},
    {L"SegmentBorders", 0x68030005, "gl", L"VARIANT_BOOL", L"Returns/sets if segment borders should be shown."},
    {L"CaptionCallBack", 0x68030004, "gl", L"VARIANT_BOOL", L"Returns/sets if an event should be raised to process custom text."},
    {L"ProgressPicture", 0x68030003, "gs", L"IPictureDisp*", L"Returns/sets the progress bar picture."},
    {L"BackgroundPicture", 0x68030002, "gs", L"IPictureDisp*", L"Returns/sets the picture that fills the background."},
    {L"AlternateForeColor", 0x68030001, "gl", L"OLE_COLOR", L"Returns/sets the forecolor where the text is inside the progress fill."},
    {L"AlternateShadowColor", 0x68030000, "gl", L"OLE_COLOR", L"Returns/sets the shadow color where the text is inside the progress fill."},
};
// clang-format on

TEST_F(TypeLibraryTest, EveryPropertyHasItsSlotsIdsAccessorsAndHelp) {
  TypeInfoOf vtable(VtableSide());
  ASSERT_TRUE(vtable);
  EXPECT_EQ(vtable->typekind, TKIND_INTERFACE);
  EXPECT_EQ(vtable->cFuncs, 61);
  // IUnknown's 3 and IDispatch's 4 slots come first.
  EXPECT_EQ(vtable->cbSizeVft, (7 + 61) * sizeof(void*));

  UINT index = 0;
  for (const PropertyRow& row : kProperties) {
    for (const char* accessor = row.accessors; *accessor; ++accessor, ++index) {
      SCOPED_TRACE(::testing::Message() << "slot " << index << " accessor " << *accessor);
      FuncDesc func(vtable.info(), index);
      ASSERT_TRUE(func);
      EXPECT_EQ(Name(vtable.info(), func->memid), row.name);
      EXPECT_EQ(func->memid, row.id);
      EXPECT_EQ(func->oVft, static_cast<SHORT>((7 + index) * sizeof(void*)));
      EXPECT_EQ(func->funckind, FUNC_PUREVIRTUAL);
      EXPECT_EQ(func->elemdescFunc.tdesc.vt, VT_HRESULT);
      ASSERT_EQ(func->cParams, 1);
      const ELEMDESC& param = func->lprgelemdescParam[0];
      if (*accessor == 'g') {
        EXPECT_EQ(func->invkind, INVOKE_PROPERTYGET);
        EXPECT_EQ(param.paramdesc.wParamFlags, PARAMFLAG_FOUT | PARAMFLAG_FRETVAL);
        EXPECT_EQ(TypeText(vtable.info(), param.tdesc), std::wstring(row.type) + L"*");
      } else {
        EXPECT_EQ(func->invkind, *accessor == 'l' ? INVOKE_PROPERTYPUT : INVOKE_PROPERTYPUTREF);
        EXPECT_EQ(param.paramdesc.wParamFlags, PARAMFLAG_FIN);
        EXPECT_EQ(TypeText(vtable.info(), param.tdesc), row.type);
      }
      bool hasHelp = false;
      const std::wstring help = HelpString(vtable.info(), func->memid, &hasHelp);
      EXPECT_EQ(hasHelp, row.help != nullptr);
      if (row.help) {
        EXPECT_EQ(help, row.help);
      }
    }
  }
  EXPECT_EQ(index, 61u);
}

TEST_F(TypeLibraryTest, DefaultInterfaceIsHiddenNonExtensibleDual) {
  TypeInfoOf dispatchSide(ByGuid(IID__Vantiq));
  ASSERT_TRUE(dispatchSide);
  EXPECT_EQ(dispatchSide->typekind, TKIND_DISPATCH);
  EXPECT_EQ(dispatchSide->wTypeFlags,
            TYPEFLAG_FHIDDEN | TYPEFLAG_FNONEXTENSIBLE | TYPEFLAG_FDUAL | TYPEFLAG_FDISPATCHABLE);
  // OLE-automation compatibility belongs to the vtable side.
  TypeInfoOf vtable(VtableSide());
  ASSERT_TRUE(vtable);
  EXPECT_EQ(vtable->wTypeFlags, TYPEFLAG_FHIDDEN | TYPEFLAG_FNONEXTENSIBLE | TYPEFLAG_FDUAL |
                                    TYPEFLAG_FOLEAUTOMATION | TYPEFLAG_FDISPATCHABLE);
  HREFTYPE base = 0;
  ComPtr<ITypeInfo> baseInfo;
  ASSERT_HRESULT_SUCCEEDED(vtable.info()->GetRefTypeOfImplType(0, &base));
  ASSERT_HRESULT_SUCCEEDED(vtable.info()->GetRefTypeInfo(base, baseInfo.Put()));
  EXPECT_EQ(Name(baseInfo.Get()), L"IDispatch");
}

// Colours are stdole2's OLE_COLOR, by which hosts know to offer a colour picker.
TEST_F(TypeLibraryTest, ColoursAreStdOlesColourType) {
  TypeInfoOf vtable(VtableSide());
  ASSERT_TRUE(vtable);
  FuncDesc putForeColor(vtable.info(), 38);
  ASSERT_TRUE(putForeColor);
  ASSERT_EQ(putForeColor->lprgelemdescParam[0].tdesc.vt, VT_USERDEFINED);
  ComPtr<ITypeInfo> alias;
  ASSERT_HRESULT_SUCCEEDED(vtable.info()->GetRefTypeInfo(
      putForeColor->lprgelemdescParam[0].tdesc.hreftype, alias.Put()));
  TypeInfoOf color(alias);
  EXPECT_EQ(GuidText(color->guid), L"{66504301-BE0F-101A-8BBB-00AA00300CAB}");
  EXPECT_EQ(color->typekind, TKIND_ALIAS);
  EXPECT_EQ(color->tdescAlias.vt, VT_UI4);
}

TEST_F(TypeLibraryTest, EventInterfaceDeclaresFiveEventsWithByReferenceArguments) {
  TypeInfoOf events(ByGuid(DIID___Vantiq));
  ASSERT_TRUE(events);
  EXPECT_EQ(events->typekind, TKIND_DISPATCH);
  ASSERT_EQ(events->cFuncs, 5);
  struct EventRow {
    const wchar_t* name;
    DISPID id;
    std::vector<std::wstring> params;
    std::vector<std::wstring> types;
  };
  const std::vector<std::wstring> mouse = {L"Button", L"Shift", L"x", L"y"};
  const std::vector<std::wstring> mouseTypes = {L"short*", L"short*", L"float*", L"float*"};
  const EventRow rows[] = {
      {L"ProgressTextCallBack",
       1,
       {L"dValue", L"dMin", L"dMax", L"sCallBackText"},
       {L"double*", L"double*", L"double*", L"BSTR*"}},
      {L"Click", 2, {}, {}},
      {L"MouseMove", 3, mouse, mouseTypes},
      {L"MouseDown", 4, mouse, mouseTypes},
      {L"MouseUp", 5, mouse, mouseTypes},
  };
  for (UINT i = 0; i < 5; ++i) {
    const EventRow& row = rows[i];
    SCOPED_TRACE(row.name);
    FuncDesc func(events.info(), i);
    ASSERT_TRUE(func);
    EXPECT_EQ(func->memid, row.id);
    EXPECT_EQ(Name(events.info(), func->memid), row.name);
    EXPECT_EQ(func->funckind, FUNC_DISPATCH);
    EXPECT_EQ(func->invkind, INVOKE_FUNC);
    EXPECT_EQ(func->elemdescFunc.tdesc.vt, VT_VOID);
    EXPECT_EQ(ParamNames(events.info(), func->memid), row.params);
    ASSERT_EQ(static_cast<size_t>(func->cParams), row.types.size());
    for (SHORT p = 0; p < func->cParams; ++p) {
      EXPECT_EQ(TypeText(events.info(), func->lprgelemdescParam[p].tdesc), row.types[p]);
      EXPECT_EQ(func->lprgelemdescParam[p].paramdesc.wParamFlags, PARAMFLAG_FIN | PARAMFLAG_FOUT);
    }
  }
}

TEST_F(TypeLibraryTest, EnumerationsHaveTheirMembersAndValues) {
  using Members = std::vector<std::pair<std::wstring, LONG>>;
  const std::pair<const wchar_t*, Members> enums[] = {
      {L"eProgressBarTextAlign",
       {{L"ePbTextAlignLeft", 0}, {L"ePbTextAlignRight", 1}, {L"ePbTextAlignCenter", 2}}},
      {L"eProgressBarScroll",
       {{L"eProgressBarScrollStandard", 0},
        {L"eProgressBarScrollSmooth", 1},
        {L"eProgressBarScrollMarquee", 2}}},
      {L"eProgressBarOrientation",
       {{L"eProgressBarOrientationHorizontal", 0}, {L"eProgressBarOrientationVertical", 1}}},
      {L"eProgressBarStyle",
       {{L"eProgStandard", 0}, {L"eProgThin", 1}, {L"eProgXP", 2}, {L"eProgSystem", 4}}},
      // The standard cursors 0 to 15 and 99 for the custom MouseIcon.
      {L"eMousePointer",
       {{L"eMousePointerDefault", 0},
        {L"eMousePointerArrow", 1},
        {L"eMousePointerCross", 2},
        {L"eMousePointerIBeam", 3},
        {L"eMousePointerIcon", 4},
        {L"eMousePointerSize", 5},
        {L"eMousePointerSizeNESW", 6},
        {L"eMousePointerSizeNS", 7},
        {L"eMousePointerSizeNWSE", 8},
        {L"eMousePointerSizeEW", 9},
        {L"eMousePointerUpArrow", 10},
        {L"eMousePointerHourglass", 11},
        {L"eMousePointerNoDrop", 12},
        {L"eMousePointerArrowHourglass", 13},
        {L"eMousePointerArrowQuestion", 14},
        {L"eMousePointerSizeAll", 15},
        {L"eMousePointerCustom", 99}}},
  };
  for (const auto& [name, members] : enums) {
    TypeInfoOf type(ByName(name));
    ASSERT_TRUE(type) << name;
    EXPECT_EQ(type->typekind, TKIND_ENUM) << name;
    Members read;
    for (UINT i = 0; i < type->cVars; ++i) {
      VARDESC* var = nullptr;
      ASSERT_HRESULT_SUCCEEDED(type.info()->GetVarDesc(i, &var));
      Variant value;
      VariantChangeType(&value, var->lpvarValue, 0, VT_I4);
      read.emplace_back(Name(type.info(), var->memid), V_I4(&value));
      type.info()->ReleaseVarDesc(var);
    }
    EXPECT_EQ(read, members) << name;
  }
}

TEST_F(TypeLibraryTest, ControlClassListsItsInterfacesInOrder) {
  TypeInfoOf coclass(ByGuid(CLSID_Vantiq));
  ASSERT_TRUE(coclass);
  EXPECT_EQ(coclass->typekind, TKIND_COCLASS);
  EXPECT_EQ(coclass->wTypeFlags, TYPEFLAG_FCANCREATE | TYPEFLAG_FCONTROL);
  ASSERT_EQ(coclass->cImplTypes, 3);
  const std::pair<const wchar_t*, INT> impls[] = {
      {L"_Vantiq", IMPLTYPEFLAG_FDEFAULT},
      {L"IObjectSafety", 0},
      {L"__Vantiq", IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE},
  };
  for (UINT i = 0; i < 3; ++i) {
    HREFTYPE ref = 0;
    ComPtr<ITypeInfo> info;
    INT flags = -1;
    ASSERT_HRESULT_SUCCEEDED(coclass.info()->GetRefTypeOfImplType(i, &ref));
    ASSERT_HRESULT_SUCCEEDED(coclass.info()->GetRefTypeInfo(ref, info.Put()));
    ASSERT_HRESULT_SUCCEEDED(coclass.info()->GetImplTypeFlags(i, &flags));
    EXPECT_EQ(Name(info.Get()), impls[i].first);
    EXPECT_EQ(flags, impls[i].second) << impls[i].first;
  }
}

}  // namespace
}  // namespace vantiq::activex::testing

// The embedded type library as hosts and late-bound callers read it through ITypeLib
// and ITypeInfo, written out as text and compared with data/type_library.txt: every
// type's identifier and flags, every slot, dispatch id, accessor, parameter and help
// string, the enumerations' values and the types it takes from other libraries.
#include <map>
#include <string>

#include "activex_test_support.h"

namespace vantiq::activex::testing {
namespace {

std::wstring Hex(unsigned long value) {
  wchar_t text[16];
  swprintf(text, 16, L"0x%lX", value);
  return text;
}

std::wstring FlagNames(unsigned long flags, const std::map<unsigned long, const wchar_t*>& names) {
  std::wstring text;
  for (const auto& [bit, name] : names)
    if (flags & bit) text += (text.empty() ? L"" : L" ") + std::wstring(name), flags &= ~bit;
  if (flags) text += (text.empty() ? L"" : L" ") + Hex(flags);
  return L"[" + text + L"]";
}

const std::map<unsigned long, const wchar_t*> kTypeFlags = {
    {TYPEFLAG_FAPPOBJECT, L"appobject"}, {TYPEFLAG_FCANCREATE, L"cancreate"}, {TYPEFLAG_FLICENSED, L"licensed"},
    {TYPEFLAG_FPREDECLID, L"predeclid"}, {TYPEFLAG_FHIDDEN, L"hidden"},        {TYPEFLAG_FCONTROL, L"control"},
    {TYPEFLAG_FDUAL, L"dual"},           {TYPEFLAG_FNONEXTENSIBLE, L"nonextensible"},
    {TYPEFLAG_FOLEAUTOMATION, L"oleautomation"}, {TYPEFLAG_FRESTRICTED, L"restricted"},
    {TYPEFLAG_FAGGREGATABLE, L"aggregatable"},   {TYPEFLAG_FDISPATCHABLE, L"dispatchable"}};
const std::map<unsigned long, const wchar_t*> kParamFlags = {
    {PARAMFLAG_FIN, L"in"}, {PARAMFLAG_FOUT, L"out"}, {PARAMFLAG_FRETVAL, L"retval"}, {PARAMFLAG_FOPT, L"optional"}};
const std::map<unsigned long, const wchar_t*> kImplFlags = {
    {IMPLTYPEFLAG_FDEFAULT, L"default"}, {IMPLTYPEFLAG_FSOURCE, L"source"}, {IMPLTYPEFLAG_FRESTRICTED, L"restricted"}};

std::wstring ConstantText(const VARIANT& value) {
  const std::wstring text = VariantText(value);  // "<type> <value>"
  return text.substr(text.find(L' ') + 1);
}

std::wstring Name(ITypeInfo* info, MEMBERID id = MEMBERID_NIL) {
  BSTR name = nullptr;
  info->GetDocumentation(id, &name, nullptr, nullptr, nullptr);
  return TakeText(name);
}

// Writes the library out; types of other libraries are listed once each at the end.
class Dumper {
 public:
  explicit Dumper(ITypeLib* lib) : lib_(lib) {}

  std::wstring Library() {
    TLIBATTR* attr = nullptr;
    lib_->GetLibAttr(&attr);
    BSTR name = nullptr, help = nullptr;
    lib_->GetDocumentation(-1, &name, &help, nullptr, nullptr);
    out_ = L"library " + TakeText(name) + L" " + GuidText(attr->guid) + L" version " +
           std::to_wstring(attr->wMajorVerNum) + L"." + std::to_wstring(attr->wMinorVerNum) + L" lcid " +
           std::to_wstring(attr->lcid) + L" \"" + TakeText(help) + L"\"\n";
    lib_->ReleaseTLibAttr(attr);
    for (UINT i = 0; i < lib_->GetTypeInfoCount(); ++i) {
      ComPtr<ITypeInfo> info;
      lib_->GetTypeInfo(i, info.Put());
      Type(info.Get());
    }
    for (const auto& [name, line] : imported_) out_ += line;
    return out_;
  }

 private:
  void Type(ITypeInfo* info) {
    TYPEATTR* attr = nullptr;
    info->GetTypeAttr(&attr);
    static const wchar_t* const kKinds[] = {L"enum", L"record", L"module", L"interface",
                                            L"dispinterface", L"coclass", L"alias", L"union"};
    out_ += std::wstring(kKinds[attr->typekind]) + L" " + Name(info) + L" " + GuidText(attr->guid) + L" " +
            FlagNames(attr->wTypeFlags, kTypeFlags);
    for (UINT i = 0; i < attr->cImplTypes; ++i) {
      HREFTYPE ref = 0;
      ComPtr<ITypeInfo> impl;
      INT flags = 0;
      info->GetRefTypeOfImplType(i, &ref);
      info->GetRefTypeInfo(ref, impl.Put());
      info->GetImplTypeFlags(i, &flags);
      out_ += (attr->typekind == TKIND_COCLASS ? L"\n  implements " : L" : ") + Name(impl.Get()) +
              (attr->typekind == TKIND_COCLASS ? L" " + FlagNames(flags, kImplFlags) : L"");
    }
    if (attr->typekind == TKIND_INTERFACE) out_ += L", " + std::to_wstring(attr->cbSizeVft / sizeof(void*)) + L" slots";
    out_ += L"\n";
    HREFTYPE vtable = 0;
    ComPtr<ITypeInfo> vtableSide;
    if ((attr->wTypeFlags & TYPEFLAG_FDUAL) && attr->typekind == TKIND_DISPATCH &&
        SUCCEEDED(info->GetRefTypeOfImplType(static_cast<UINT>(-1), &vtable)) &&
        SUCCEEDED(info->GetRefTypeInfo(vtable, vtableSide.Put()))) {
      out_ += L"  vtable side: ";
      Type(vtableSide.Get());  // the dispatch side lists the same members again
    } else {
      for (UINT i = 0; i < attr->cFuncs; ++i) Function(info, i);
    }
    for (UINT i = 0; i < attr->cVars; ++i) {
      VARDESC* var = nullptr;
      info->GetVarDesc(i, &var);
      out_ += L"  " + Name(info, var->memid) +
              (var->varkind == VAR_CONST ? L" = " + ConstantText(*var->lpvarValue) : L" " + TypeText(info, var->elemdescVar.tdesc)) +
              L"\n";
      info->ReleaseVarDesc(var);
    }
    if (attr->typekind == TKIND_ALIAS) out_ += L"  = " + TypeText(info, attr->tdescAlias) + L"\n";
    info->ReleaseTypeAttr(attr);
  }

  void Function(ITypeInfo* info, UINT index) {
    FUNCDESC* func = nullptr;
    info->GetFuncDesc(index, &func);
    static const wchar_t* const kInvoke[] = {L"", L"method", L"propget", L"", L"propput", L"", L"", L"",
                                             L"propputref"};
    BSTR names[16] = {};
    UINT count = 0;
    info->GetNames(func->memid, names, 16, &count);
    std::wstring line = L"  ";
    static const wchar_t* const kKinds[] = {L"virtual slot ", L"slot ", L"nonvirtual ", L"static ", L""};
    line += kKinds[func->funckind];
    if (func->funckind != FUNC_DISPATCH) line += std::to_wstring(func->oVft / sizeof(void*)) + L" ";
    line += std::wstring(kInvoke[func->invkind]) + L" " + Name(info, func->memid) + L" id " +
            (func->memid < 0 ? std::to_wstring(func->memid) : Hex(static_cast<unsigned long>(func->memid))) + L" (";
    for (SHORT p = 0; p < func->cParams; ++p) {
      const ELEMDESC& param = func->lprgelemdescParam[p];
      line += (p ? L", " : L"") + FlagNames(param.paramdesc.wParamFlags, kParamFlags) + L" " +
              TypeText(info, param.tdesc) + (p + 1u < count ? L" " + std::wstring(names[p + 1]) : L"");
    }
    for (UINT i = 0; i < count; ++i) SysFreeString(names[i]);
    line += L") -> " + TypeText(info, func->elemdescFunc.tdesc);
    BSTR help = nullptr;
    info->GetDocumentation(func->memid, nullptr, &help, nullptr, nullptr);
    if (help) line += L" \"" + TakeText(help) + L"\"";
    out_ += line + L"\n";
    info->ReleaseFuncDesc(func);
  }

  std::wstring TypeText(ITypeInfo* info, const TYPEDESC& type) {
    static const std::map<VARTYPE, const wchar_t*> kBase = {
        {VT_UI1, L"byte"}, {VT_UI2, L"USHORT"}, {VT_I2, L"short"}, {VT_I4, L"long"},  {VT_R4, L"float"},         {VT_R8, L"double"},  {VT_UI4, L"ULONG"},
        {VT_BSTR, L"BSTR"}, {VT_VOID, L"void"}, {VT_BOOL, L"VARIANT_BOOL"}, {VT_HRESULT, L"HRESULT"}};
    if (type.vt == VT_PTR) return TypeText(info, *type.lptdesc) + L"*";
    if (type.vt == VT_CARRAY)
      return TypeText(info, type.lpadesc->tdescElem) + L"[" + std::to_wstring(type.lpadesc->rgbounds[0].cElements) + L"]";
    if (type.vt != VT_USERDEFINED) return kBase.count(type.vt) ? kBase.at(type.vt) : L"vt" + std::to_wstring(type.vt);
    ComPtr<ITypeInfo> ref;
    ComPtr<ITypeLib> home;
    UINT at = 0;
    if (FAILED(info->GetRefTypeInfo(type.hreftype, ref.Put())) || FAILED(ref->GetContainingTypeLib(home.Put(), &at)))
      return L"?";
    const std::wstring name = Name(ref.Get());
    if (home.Get() != lib_ && !imported_.count(name)) {
      TYPEATTR* attr = nullptr;
      ref->GetTypeAttr(&attr);
      BSTR library = nullptr;
      home->GetDocumentation(-1, &library, nullptr, nullptr, nullptr);
      imported_[name] = L"imported " + name + L" " + GuidText(attr->guid) + L" from " + TakeText(library) +
                        (attr->typekind == TKIND_ALIAS ? L" = " + TypeText(ref.Get(), attr->tdescAlias) : L"") + L"\n";
      ref->ReleaseTypeAttr(attr);
    }
    return name;
  }

  ITypeLib* lib_;
  std::wstring out_;
  std::map<std::wstring, std::wstring> imported_;
};

TEST(TypeLibraryTest, IsTheCommittedContract) {
  ASSERT_HRESULT_SUCCEEDED(CoInitialize(nullptr));
  {
    ComPtr<ITypeLib> lib = LoadControlTypeLib();
    ASSERT_TRUE(lib);
    TLIBATTR* attr = nullptr;
    ASSERT_HRESULT_SUCCEEDED(lib->GetLibAttr(&attr));
    EXPECT_EQ(attr->syskind, sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32);
    lib->ReleaseTLibAttr(attr);
    EXPECT_TRUE(MatchesExpectedFile(Dumper(lib.Get()).Library(), "type_library.txt"));
  }
  CoUninitialize();
}

}  // namespace
}  // namespace vantiq::activex::testing

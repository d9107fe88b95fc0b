#include "activex_test_support.h"

#include <olectl.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace vantiq::activex::testing {

std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path);
  return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

ControlLibrary& ControlLibrary::Get() {
  static ControlLibrary library;
  return library;
}

ControlLibrary::ControlLibrary() {
  module_ = LoadLibraryW((ProgramFolder() + L"VantiqCtl.dll").c_str());
  if (!module_) throw std::runtime_error("VantiqCtl.dll is not next to the test program");
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(module_, path, MAX_PATH);
  path_ = path;
  getClassObject_ = reinterpret_cast<decltype(getClassObject_)>(
      reinterpret_cast<void*>(GetProcAddress(module_, "DllGetClassObject")));
  canUnloadNow_ = reinterpret_cast<decltype(canUnloadNow_)>(
      reinterpret_cast<void*>(GetProcAddress(module_, "DllCanUnloadNow")));
  register_ = reinterpret_cast<decltype(register_)>(
      reinterpret_cast<void*>(GetProcAddress(module_, "DllRegisterServer")));
  unregister_ = reinterpret_cast<decltype(unregister_)>(
      reinterpret_cast<void*>(GetProcAddress(module_, "DllUnregisterServer")));
  if (!getClassObject_ || !canUnloadNow_ || !register_ || !unregister_)
    throw std::runtime_error("VantiqCtl.dll lacks a COM server export");
}

HRESULT ControlLibrary::GetClassObject(REFCLSID clsid, REFIID iid, void** out) const {
  return getClassObject_(clsid, iid, out);
}

HRESULT ControlLibrary::CanUnloadNow() const { return canUnloadNow_(); }

HRESULT ControlLibrary::Register() const { return register_(); }

HRESULT ControlLibrary::Unregister() const { return unregister_(); }

ComPtr<_Vantiq> NewControl() {
  ComPtr<IClassFactory> factory;
  ComPtr<_Vantiq> control;
  if (FAILED(ControlLibrary::Get().GetClassObject(CLSID_Vantiq, IID_IClassFactory,
                                                  reinterpret_cast<void**>(factory.Put()))))
    return control;
  factory->CreateInstance(nullptr, IID__Vantiq, reinterpret_cast<void**>(control.Put()));
  return control;
}

ComPtr<ITypeLib> LoadControlTypeLib() {
  ComPtr<ITypeLib> typeLib;
  LoadTypeLibEx(ControlLibrary::Get().Path().c_str(), REGKIND_NONE, typeLib.Put());
  return typeLib;
}

std::wstring GuidText(REFGUID guid) {
  wchar_t buffer[40] = {};
  StringFromGUID2(guid, buffer, 40);
  return buffer;
}

bool KeyExists(HKEY root, const std::wstring& path, REGSAM view) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

std::wstring RegistryText(HKEY root, const std::wstring& path, const wchar_t* name) {
  wchar_t buffer[1024] = {};
  DWORD size = sizeof buffer - sizeof(wchar_t);
  if (RegGetValueW(root, path.c_str(), name, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
    return L"<missing>";
  return buffer;
}

namespace {

std::vector<std::wstring> Lines(const std::wstring& text) {
  std::vector<std::wstring> lines;
  std::wistringstream in(text);
  for (std::wstring line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Wine's fonts report the size of the face they realised, and the same size realised
// again may land on the next pixel (3/4 point at 96 dpi): font sizes within one pass.
bool SameLine(const std::wstring& a, const std::wstring& b) {
  if (a == b) return true;
  if (a.rfind(L"FontSize ", 0) != 0 || b.rfind(L"FontSize ", 0) != 0) return false;
  return std::abs(std::stoll(a.substr(9)) - std::stoll(b.substr(9))) <= 7500;
}

std::string Utf8(const std::wstring& text) {
  std::string utf8(WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                       nullptr), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(),
                      static_cast<int>(utf8.size()), nullptr, nullptr);
  return utf8;
}

}  // namespace

std::wstring SavedState(_Vantiq* c) {
  std::wstring out;
  wchar_t text[64];
  for (const wchar_t* name :
       {L"BackColor", L"ForeColor", L"AlternateForeColor", L"ProgressColor", L"SegmentBorderColor", L"ShadowColor",
        L"AlternateShadowColor", L"Caption", L"SearchCaption", L"PercentFormat", L"CaptionCallBack", L"RightToLeft",
        L"SegmentBorders", L"Shadow", L"ShowCaption", L"Max", L"Min", L"Value", L"Orientation", L"Scrolling",
        L"Style", L"TextAlignment", L"ShadowIntensity"}) {
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    DISPPARAMS none{};
    Variant v;
    c->GetIDsOfNames(IID_NULL, names, 1, 0, &id);
    c->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &v, nullptr, nullptr);
    out += std::wstring(name) + L" ";
    if (V_VT(&v) == VT_R8) {
      swprintf(text, 64, L"%.17g", V_R8(&v));  // every bit of the double
      out += text;
    } else if (V_VT(&v) == VT_BSTR) {
      out += L"\"";
      for (wchar_t ch : std::wstring(V_BSTR(&v), SysStringLen(V_BSTR(&v))))
        if (ch >= 0x20 && ch < 0x7F && ch != L'\\' && ch != L'"')
          out += ch;
        else
          swprintf(text, 64, L"\\u%04X", static_cast<unsigned>(ch)), out += text;
      out += L"\"";
    } else {
      out += VariantText(v);
    }
    out += L"\n";
  }
  ComPtr<IFontDisp> fontDisp;
  c->get_Font(fontDisp.Put());
  if (ComPtr<IFont> font = fontDisp.As<IFont>(IID_IFont)) {
    BSTR name = nullptr;
    CY size{};
    BOOL bold = 0, italic = 0, underline = 0, strike = 0;
    SHORT weight = 0, charset = 0;
    HFONT realized = nullptr;  // as drawing would: the system may then report the size it chose
    font->get_hFont(&realized);
    font->get_Name(&name);
    font->get_Size(&size);
    font->get_Bold(&bold), font->get_Italic(&italic), font->get_Underline(&underline), font->get_Strikethrough(&strike);
    font->get_Weight(&weight), font->get_Charset(&charset);
    out += L"Font \"" + TakeText(name) + L"\"";
    wchar_t line[128];
    swprintf(line, 128, L" bold %d italic %d underline %d strike %d weight %d charset %d\nFontSize %lld\n", bold,
             italic, underline, strike, weight, charset, static_cast<long long>(size.int64));
    out += line;
  }
  ComPtr<IPictureDisp> picture;
  c->get_ProgressPicture(picture.Put());
  out += L"ProgressPicture " + vantiq::testing::PictureText(picture.Get()) + L"\n";
  c->get_BackgroundPicture(picture.Put());
  out += L"BackgroundPicture " + vantiq::testing::PictureText(picture.Get()) + L"\n";
  return out;
}

::testing::AssertionResult SameText(const std::wstring& expected, const std::wstring& actual) {
  // The longest common subsequence of lines; what is outside it differs.
  const std::vector<std::wstring> a = Lines(expected), b = Lines(actual);
  std::vector<std::vector<int>> common(a.size() + 1, std::vector<int>(b.size() + 1, 0));
  for (std::size_t i = a.size(); i-- > 0;)
    for (std::size_t j = b.size(); j-- > 0;)
      common[i][j] = SameLine(a[i], b[j]) ? common[i + 1][j + 1] + 1 : std::max(common[i + 1][j], common[i][j + 1]);
  if (static_cast<std::size_t>(common[0][0]) == a.size() && a.size() == b.size()) return ::testing::AssertionSuccess();
  std::ostringstream diff;
  for (std::size_t i = 0, j = 0; i < a.size() || j < b.size();) {
    if (i < a.size() && j < b.size() && SameLine(a[i], b[j])) {
      ++i, ++j;
    } else if (i < a.size() && (j == b.size() || common[i + 1][j] >= common[i][j + 1])) {
      diff << "- " << Utf8(a[i++]) << "\n";
    } else {
      diff << "+ " << Utf8(b[j++]) << "\n";
    }
  }
  return ::testing::AssertionFailure() << "(- expected, + actual):\n" << diff.str();
}

::testing::AssertionResult MatchesExpectedFile(const std::wstring& actual, const char* file) {
  std::string path = std::string(VANTIQ_DATA_DIR) + "/" + file;
  for (char& c : path) c = c == '/' ? '\\' : c;
  if (std::getenv("VANTIQ_UPDATE_EXPECTED")) {
    std::ofstream(path, std::ios::binary) << Utf8(actual);
    return ::testing::AssertionSuccess() << "wrote " << path;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) return ::testing::AssertionFailure() << "no " << path;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  const std::string utf8 = bytes.str();
  std::wstring expected(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), expected.data(),
                      static_cast<int>(expected.size()));
  return SameText(expected, actual) << " in " << file;
}

}  // namespace vantiq::activex::testing

// IPerPropertyBrowsing: which page edits a property, and the short text a property
// browser shows for the font and the pictures. The other properties keep the browser's
// own text of their value, and their names come from the type library's enumerations.
#include <olectl.h>

#include <algorithm>
#include <string>

#include "activex/control_identity.h"
#include "activex/control_object.h"
#include "activex/stock_pages.h"

namespace vantiq::activex {

namespace {

constexpr const wchar_t* kPictureProperties[] = {L"ProgressPicture", L"BackgroundPicture", L"MouseIcon"};

// A font size in points (a CY, 1/10000 units) with the decimals it has: "8", "8.25".
std::wstring PointSize(CY size) {
  const LONGLONG units = size.int64 < 0 ? -size.int64 : size.int64;
  std::wstring text = (size.int64 < 0 ? L"-" : L"") + std::to_wstring(units / 10000);
  if (LONGLONG fraction = units % 10000) {
    std::wstring digits = std::to_wstring(10000 + fraction).substr(1);
    digits.erase(digits.find_last_not_of(L'0') + 1);
    text += L"." + digits;
  }
  return text;
}

// "(Bitmap)", "(Icon)" and "(Metafile)" by the picture's type; "(None)" for no picture
// or an empty one.
const wchar_t* PictureText(IDispatch* picture) {
  ComPtr<IPicture> object;
  SHORT type = PICTYPE_NONE;
  if (picture) picture->QueryInterface(IID_IPicture, reinterpret_cast<void**>(object.Put()));
  if (object) object->get_Type(&type);
  switch (type) {
    case PICTYPE_BITMAP:
      return L"(Bitmap)";
    case PICTYPE_ICON:
      return L"(Icon)";
    case PICTYPE_METAFILE:
    case PICTYPE_ENHMETAFILE:
      return L"(Metafile)";
    default:
      return L"(None)";
  }
}

}  // namespace

// The picture properties' ids, from the type library.
bool ControlObject::IsPictureProperty(DISPID id) {
  ComPtr<ITypeInfo> info;
  if (FAILED(DualTypeInfo(info))) return false;
  for (const wchar_t* name : kPictureProperties) {
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    DISPID picture = DISPID_UNKNOWN;
    if (SUCCEEDED(info->GetIDsOfNames(names, 1, &picture)) && picture == id) return true;
  }
  return false;
}

STDMETHODIMP ControlObject::GetDisplayString(DISPID id, BSTR* text) {
  if (!text) return E_POINTER;
  *text = nullptr;
  std::wstring shown;
  if (id == DISPID_FONT) {
    ComPtr<IFontDisp> font;
    get_Font(font.Put());
    ComPtr<IFont> object = font ? font.As<IFont>(IID_IFont) : ComPtr<IFont>();
    Bstr name;
    CY size{};
    if (!object || FAILED(object->get_Name(name.Put())) || FAILED(object->get_Size(&size))) return S_FALSE;
    shown = std::wstring(name.Get(), SysStringLen(name.Get())) + L", " + PointSize(size);
  } else if (IsPictureProperty(id)) {
    DISPPARAMS none{};
    VARIANT picture;
    VariantInit(&picture);
    const HRESULT hr = Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &picture, nullptr, nullptr);
    shown = PictureText(SUCCEEDED(hr) && V_VT(&picture) == VT_DISPATCH ? V_DISPATCH(&picture) : nullptr);
    VariantClear(&picture);
  } else {
    return S_FALSE;  // the browser shows the value itself
  }
  *text = SysAllocString(shown.c_str());
  return *text ? S_OK : E_OUTOFMEMORY;
}

// An id the control has no property of is refused as an invalid argument: the interface
// names no code for it (PERPROP_E_NOPAGEAVAILABLE is for a property without a page).
STDMETHODIMP ControlObject::MapPropertyToPage(DISPID id, CLSID* page) {
  if (!page) return E_POINTER;
  *page = CLSID_NULL;
  ComPtr<ITypeInfo> info;
  HRESULT hr = DualTypeInfo(info);
  if (FAILED(hr)) return hr;
  BSTR name = nullptr;
  UINT found = 0;
  if (FAILED(info->GetNames(id, &name, 1, &found)) || found == 0) return E_INVALIDARG;
  SysFreeString(name);
  if (id == DISPID_FONT)
    *page = CLSID_StockFontPage;
  else if (std::find(colorIds_.begin(), colorIds_.end(), id) != colorIds_.end())
    *page = CLSID_StockColorPage;
  else if (IsPictureProperty(id))
    *page = CLSID_StockPicturePage;
  else
    *page = kGeneralPageClsid;
  return S_OK;
}

// The enumerations' names already come from the type library.
STDMETHODIMP ControlObject::GetPredefinedStrings(DISPID /*id*/, CALPOLESTR* strings, CADWORD* cookies) {
  if (!strings || !cookies) return E_POINTER;
  strings->cElems = cookies->cElems = 0;
  strings->pElems = nullptr;
  cookies->pElems = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP ControlObject::GetPredefinedValue(DISPID /*id*/, DWORD /*cookie*/, VARIANT* value) {
  if (!value) return E_POINTER;
  VariantInit(value);
  return E_NOTIMPL;
}

}  // namespace vantiq::activex

#include "activex/com_property_bag.h"

#include <olectl.h>

#include <type_traits>
#include <variant>

#include "activex/com_font.h"
#include "activex/com_picture.h"
#include "activex/error_info.h"
#include "control/memory_property_bag.h"

namespace vantiq::activex {

namespace {

Variant FromObject(IUnknown* object, const Variant& defaultValue) {
  if (!object) {
    if (std::holds_alternative<PictureRef>(defaultValue)) return PictureRef();
    if (std::holds_alternative<FontRef>(defaultValue)) return FontRef();
    return Variant();
  }
  ComPtr<IFont> font;
  if (SUCCEEDED(object->QueryInterface(IID_IFont, reinterpret_cast<void**>(font.Put()))) && font) {
    ComPtr<IFont> copy;
    if (SUCCEEDED(font->Clone(copy.Put())) && copy) return FontRef(std::make_shared<ComFont>(copy));
    return FontRef(std::make_shared<ComFont>(font));
  }
  ComPtr<IPictureDisp> picture;
  if (SUCCEEDED(object->QueryInterface(IID_IPictureDisp, reinterpret_cast<void**>(picture.Put()))) &&
      picture)
    return PictureRef(std::make_shared<ComPicture>(picture));
  return Variant();
}

}  // namespace

Variant FromVariant(const VARIANT& in, const Variant& defaultValue) {
  VARIANT v;
  VariantInit(&v);
  if (FAILED(VariantCopyInd(&v, const_cast<VARIANT*>(&in)))) return Variant();
  Variant result;
  switch (V_VT(&v)) {
    case VT_I2:
      result = static_cast<std::int16_t>(V_I2(&v));
      break;
    case VT_I4:
      result = static_cast<std::int32_t>(V_I4(&v));
      break;
    case VT_INT:
      result = static_cast<std::int32_t>(V_INT(&v));
      break;
    // Colours often travel unsigned: the same 32 bits.
    case VT_UI4:
      result = static_cast<std::int32_t>(V_UI4(&v));
      break;
    case VT_UINT:
      result = static_cast<std::int32_t>(V_UINT(&v));
      break;
    case VT_I1:
    case VT_UI1:
    case VT_UI2:
      if (SUCCEEDED(VariantChangeType(&v, &v, 0, VT_I4))) result = static_cast<std::int32_t>(V_I4(&v));
      break;
    case VT_R8:
      result = V_R8(&v);
      break;
    case VT_R4:
    case VT_CY:
    case VT_DATE:
    case VT_DECIMAL:
    case VT_I8:
    case VT_UI8:
      if (SUCCEEDED(VariantChangeType(&v, &v, 0, VT_R8))) result = V_R8(&v);
      break;
    case VT_BOOL:
      result = V_BOOL(&v) != VARIANT_FALSE;
      break;
    case VT_BSTR:
      result = FromBstr(V_BSTR(&v));
      break;
    case VT_UNKNOWN:
    case VT_DISPATCH:
      result = FromObject(V_UNKNOWN(&v), defaultValue);
      break;
    default:
      break;  // empty, null, arrays, errors: nothing the control can take
  }
  VariantClear(&v);
  return result;
}

HRESULT ToVariant(const Variant& value, VARIANT& out) {
  VariantInit(&out);
  return std::visit(
      [&](const auto& v) -> HRESULT {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, std::monostate>) {
          return S_OK;
        } else if constexpr (std::is_same_v<T, std::int16_t>) {
          V_VT(&out) = VT_I2;
          V_I2(&out) = v;
        } else if constexpr (std::is_same_v<T, std::int32_t>) {
          V_VT(&out) = VT_I4;
          V_I4(&out) = v;
        } else if constexpr (std::is_same_v<T, double>) {
          V_VT(&out) = VT_R8;
          V_R8(&out) = v;
        } else if constexpr (std::is_same_v<T, bool>) {
          V_VT(&out) = VT_BOOL;
          V_BOOL(&out) = v ? VARIANT_TRUE : VARIANT_FALSE;
        } else if constexpr (std::is_same_v<T, std::u16string>) {
          BSTR text = Bstr(v).Detach();
          if (!text) return E_OUTOFMEMORY;
          V_VT(&out) = VT_BSTR;
          V_BSTR(&out) = text;
        } else if constexpr (std::is_same_v<T, FontRef>) {
          V_VT(&out) = VT_DISPATCH;
          V_DISPATCH(&out) = FontDispOf(v).Detach();
        } else {
          V_VT(&out) = VT_DISPATCH;
          V_DISPATCH(&out) = PictureDispOf(v).Detach();
        }
        return S_OK;
      },
      value);
}

Variant ComPropertyBag::ReadProperty(const std::u16string& name, const Variant& defaultValue) {
  VARIANT value;
  VariantInit(&value);
  std::u16string key = name;
  if (FAILED(bag_->Read(reinterpret_cast<LPCOLESTR>(key.c_str()), &value, log_))) {
    VariantClear(&value);
    return defaultValue;
  }
  Variant result = FromVariant(value, defaultValue);
  VariantClear(&value);
  return result;
}

void ComPropertyBag::WriteProperty(const std::u16string& name, const Variant& value,
                                   const Variant& defaultValue) {
  if (omitDefaults_ && SameSavedValue(value, defaultValue)) return;
  VARIANT v;
  ThrowIfFailed(ToVariant(value, v));
  std::u16string key = name;
  const HRESULT hr = bag_->Write(reinterpret_cast<LPCOLESTR>(key.c_str()), &v);
  VariantClear(&v);
  ThrowIfFailed(hr);
}

}  // namespace vantiq::activex

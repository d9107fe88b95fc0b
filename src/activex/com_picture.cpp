#include "activex/com_picture.h"

#include "activex/control_identity.h"
#include "common/runtime_error.h"

namespace vantiq::activex {

std::shared_ptr<ComPicture> ComPicture::Wrap(IUnknown* object) {
  if (!object) return nullptr;
  ComPtr<IPictureDisp> picture;
  if (FAILED(object->QueryInterface(IID_IPictureDisp, reinterpret_cast<void**>(picture.Put()))) ||
      !picture)
    throw RuntimeError(kErrInvalidPropertyValue);
  return std::make_shared<ComPicture>(std::move(picture));
}

ComPicture::ComPicture(ComPtr<IPictureDisp> picture) : disp_(std::move(picture)) {}

std::uintptr_t ComPicture::Handle() const {
  if (auto picture = disp_.As<IPicture>(IID_IPicture)) {
    OLE_HANDLE handle = 0;
    if (SUCCEEDED(picture->get_Handle(&handle))) return handle;
    return 0;
  }
  // A picture object of another kind still answers its Handle property by dispatch.
  DISPPARAMS none{};
  VARIANT result;
  VariantInit(&result);
  std::uintptr_t handle = 0;
  if (SUCCEEDED(disp_->Invoke(DISPID_PICT_HANDLE, IID_NULL, LOCALE_USER_DEFAULT,
                              DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr)) &&
      SUCCEEDED(VariantChangeType(&result, &result, 0, VT_UI4)))
    handle = V_UI4(&result);
  VariantClear(&result);
  return handle;
}

ComPtr<IPictureDisp> PictureDispOf(const PictureRef& picture) {
  if (auto* com = dynamic_cast<ComPicture*>(picture.get())) return com->Disp();
  return {};
}

}  // namespace vantiq::activex

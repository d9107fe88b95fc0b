// The control's pictures over OLE picture objects, and back.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <memory>

#include "activex/com_ptr.h"
#include "draw/picture.h"

namespace vantiq::activex {

class ComPicture final : public PictureObject {
 public:
  // The picture behind `picture`; null for null. Throws RuntimeError 380 when
  // `picture` is no picture object.
  static std::shared_ptr<ComPicture> Wrap(IUnknown* picture);

  explicit ComPicture(ComPtr<IPictureDisp> picture);

  // The picture's OLE_HANDLE (a bitmap handle for a bitmap); 0 when it has none.
  std::uintptr_t Handle() const override;
  const ComPtr<IPictureDisp>& Disp() const { return disp_; }

 private:
  ComPtr<IPictureDisp> disp_;
};

// The IPictureDisp a picture property returns; null for none or a picture not made here.
ComPtr<IPictureDisp> PictureDispOf(const PictureRef& picture);

}  // namespace vantiq::activex

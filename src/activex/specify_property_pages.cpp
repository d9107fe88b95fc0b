// ISpecifyPropertyPages: the control's own General page first, then the system's font,
// colour and picture pages for the properties of those kinds.
#include <olectl.h>

#include "activex/control_identity.h"
#include "activex/control_object.h"
#include "activex/stock_pages.h"

namespace vantiq::activex {

STDMETHODIMP ControlObject::GetPages(CAUUID* pages) {
  if (!pages) return E_POINTER;
  static const GUID kPages[] = {kGeneralPageClsid, CLSID_StockFontPage, CLSID_StockColorPage,
                                CLSID_StockPicturePage};
  pages->cElems = 0;
  pages->pElems = static_cast<GUID*>(CoTaskMemAlloc(sizeof kPages));
  if (!pages->pElems) return E_OUTOFMEMORY;
  CopyMemory(pages->pElems, kPages, sizeof kPages);
  pages->cElems = sizeof kPages / sizeof kPages[0];
  return S_OK;
}

}  // namespace vantiq::activex

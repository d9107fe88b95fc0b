#include "activex/error_info.h"

#include "activex/com_ptr.h"
#include "activex/control_identity.h"

namespace vantiq::activex {

std::u16string StandardErrorText(int number) {
  switch (number) {
    case kErrInvalidProcedureCall:
      return u"Invalid procedure call or argument";
    case kErrOverflow:
      return u"Overflow";
    case kErrDivisionByZero:
      return u"Division by zero";
    case kErrInvalidPropertyValue:
      return u"Invalid property value";
    case kErrSetNotPermitted:
      return u"Set not permitted";
    case kErrClientSiteNotAvailable:
      return u"Client site not available";
    default:
      return {};
  }
}

namespace {

// The system's message for an HRESULT, without its line break; empty when it has none.
std::u16string SystemMessage(HRESULT hr) {
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::u16string message;
  if (length > 0 && text) {
    message.assign(reinterpret_cast<const char16_t*>(text), length);
    while (!message.empty() && (message.back() == u'\n' || message.back() == u'\r'))
      message.pop_back();
  }
  LocalFree(text);
  return message;
}

}  // namespace

HRESULT ReportError(const RuntimeError& error, REFIID iid) {
  const HRESULT hr = error.HResult();
  std::u16string description = error.Description();
  if (description.empty())
    description = error.Number() != 0 ? StandardErrorText(error.Number()) : SystemMessage(hr);

  ComPtr<ICreateErrorInfo> create;
  if (SUCCEEDED(CreateErrorInfo(create.Put()))) {
    create->SetGUID(iid);
    create->SetSource(const_cast<LPOLESTR>(kProgId));
    create->SetDescription(const_cast<LPOLESTR>(Wide(description)));
    if (auto info = create.As<IErrorInfo>(IID_IErrorInfo)) SetErrorInfo(0, info.Get());
  }
  return hr;
}

}  // namespace vantiq::activex

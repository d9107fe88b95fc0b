// Failures of the control as COM callers see them: an HRESULT, and error info that
// names the control and says what went wrong.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <new>
#include <string>

#include "common/runtime_error.h"

namespace vantiq::activex {

// The text OLE Automation hosts show for the run-time error numbers the control raises;
// empty for others.
std::u16string StandardErrorText(int number);

// Sets the thread's error info for `error`, raised through interface `iid`, and returns
// its HRESULT.
HRESULT ReportError(const RuntimeError& error, REFIID iid);

// Runs `body` and turns what it throws into the HRESULT a COM method returns.
template <typename Body>
HRESULT Guarded(REFIID iid, Body&& body) {
  try {
    body();
    return S_OK;
  } catch (const RuntimeError& error) {
    return ReportError(error, iid);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

// Throws the RuntimeError that carries a failed HRESULT.
inline void ThrowIfFailed(HRESULT hr) {
  if (FAILED(hr)) throw RuntimeError::FromHResult(hr);
}

}  // namespace vantiq::activex

// The control's run-time error: what a COM shell turns into an HRESULT and error info.
#pragma once

#include <exception>
#include <new>
#include <string>

namespace vantiq {

// Error numbers of the host runtime that the control raises or passes on.
constexpr int kErrInvalidProcedureCall = 5;
constexpr int kErrOverflow = 6;
constexpr int kErrDivisionByZero = 11;
constexpr int kErrSetNotPermitted = 387;  // CTL_E_SETNOTPERMITTED, 0x800A0183

class RuntimeError : public std::exception {
 public:
  explicit RuntimeError(int number, std::u16string description = {})
      : number_(number), description_(std::move(description)) {}
  // Wraps a failing HRESULT returned by a platform or host service.
  static RuntimeError FromHResult(std::int32_t hr) { return RuntimeError(0, {}, hr); }

  int Number() const { return number_; }
  std::int32_t HResult() const;
  const std::u16string& Description() const { return description_; }
  const char* what() const noexcept override { return "vantiq run-time error"; }

 private:
  RuntimeError(int number, std::u16string description, std::int32_t hr)
      : number_(number), description_(std::move(description)), hresult_(hr) {}
  int number_;
  std::u16string description_;
  std::int32_t hresult_ = 0;
};

// Runs one step of a sequence that continues past failures ("errors ignored"):
// a run-time error or a failed allocation ends the step, never the sequence.
template <typename Step>
void IgnoreErrors(Step&& step) {
  try {
    step();
  } catch (const RuntimeError&) {
  } catch (const std::bad_alloc&) {
  }
}

}  // namespace vantiq

#include "control/percent_text.h"

#include <cmath>

#include "common/runtime_error.h"
#include "control/host.h"

namespace vantiq {
namespace {

// The faults the division and the scaling can signal, tested on the operands so the
// answer does not depend on the floating-point environment.
double CheckedDivide(double a, double b) {
  if (b == 0 && !std::isnan(a)) {
    if (a == 0) throw RuntimeError(kErrOverflow);  // invalid operation: 0 / 0
    if (std::isfinite(a)) throw RuntimeError(kErrDivisionByZero);
  }
  if (std::isinf(a) && std::isinf(b)) throw RuntimeError(kErrOverflow);  // invalid
  const double q = a / b;
  if (std::isinf(q) && std::isfinite(a) && std::isfinite(b)) throw RuntimeError(kErrOverflow);
  return q;
}

double CheckedScale(double q) {
  const double p = q * 100.0;
  if (std::isinf(p) && std::isfinite(q)) throw RuntimeError(kErrOverflow);
  return p;
}

}  // namespace

void BuildPercentText(double value, double max, const std::u16string& format, Host& host, std::u16string& out) {
  const double p = CheckedScale(CheckedDivide(value, max));
  host.FormatNumber(p, format, out);
  out += u'%';
}

std::u16string BuildPercentText(double value, double max, const std::u16string& format, Host& host) {
  std::u16string text;
  BuildPercentText(value, max, format, host, text);
  return text;
}

}  // namespace vantiq

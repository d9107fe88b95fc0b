// The percentage text of the caption: Value / Max x 100 in the host's number format.
#pragma once

#include <string>

namespace vantiq {

class Host;

// The text goes into `out`, whose storage is reused. Throws RuntimeError 11 (division by
// zero) or 6 (overflow, also for 0 / 0) where the floating-point arithmetic would fault,
// leaving `out` as it was.
void BuildPercentText(double value, double max, const std::u16string& format, Host& host, std::u16string& out);
std::u16string BuildPercentText(double value, double max, const std::u16string& format, Host& host);

}  // namespace vantiq

// GdiPlatform's code-page conversions over kernel32.
#include <climits>

#include "backends/gdi/gdi_platform.h"

namespace vantiq {

std::u16string GdiPlatform::MultiByteToWideChar(std::uint32_t codePage, const std::string& bytes) {
  // A zero-sized buffer would turn the call into a size query.
  if (bytes.empty() || bytes.size() > INT_MAX / 2) return {};
  std::u16string out(bytes.size() * 2, u'\0');
  const int written =
      ::MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()),
                            reinterpret_cast<wchar_t*>(&out[0]), static_cast<int>(out.size()));
  out.resize(written > 0 ? written : 0);
  return out;
}

std::string GdiPlatform::WideCharToMultiByte(std::uint32_t codePage, const std::u16string& text) {
  if (text.empty() || text.size() > (INT_MAX - 1) / 3) return {};
  std::string out(text.size() * 3 + 1, '\0');
  const int written = ::WideCharToMultiByte(
      codePage, 0, reinterpret_cast<const wchar_t*>(text.data()), static_cast<int>(text.size()),
      &out[0], static_cast<int>(out.size()), nullptr, nullptr);
  out.resize(written > 0 ? written : 0);
  return out;
}

std::uint32_t GdiPlatform::GetACP() { return ::GetACP(); }

}  // namespace vantiq

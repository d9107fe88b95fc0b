// Text on the software surface. The glyph engine comes next; until then text draws
// nothing and measures empty.
#include "backends/soft/soft_surface.h"

namespace vantiq {

void SoftSurface::DrawTextLine(const std::u16string&, const Rect&, std::uint32_t, const LogFont&,
                               ColorRef) {}

void SoftSurface::DrawTextLineAnsi(const std::string&, const Rect&, std::uint32_t, const LogFont&,
                                   ColorRef) {}

TextExtent SoftSurface::MeasureText(const std::u16string&, const LogFont&) { return {}; }

}  // namespace vantiq

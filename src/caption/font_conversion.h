// LOGFONTs from the control's font object: the one its own font handle stands for
// (horizontal captions) and the one the vertical caption rotates.
#pragma once

#include "draw/font.h"
#include "draw/log_font.h"
#include "draw/surface.h"
#include "platform/platform.h"

namespace vantiq {

// The font a standard OLE font realises on a device of `logPixelsY`: the size in
// pixels with fractions above one half rounded up, weight, styles, charset and name,
// and the object's own font handle where it has one, which GDI draws with.
LogFont CaptionLogFont(const FontObject& font, int logPixelsY);

namespace modFontConversion {

// The rotatable form of the font: at most 31 UTF-16 units of its name, a height from
// its size rounded half to even, weight 700 when bold or bForceBold, clear-type
// quality on XP and antialiased elsewhere. Without a surface the screen's resolution
// is used.
LogFont FontToLogFont(const FontObject& font, const Surface* dc, bool bForceBold,
                      Platform& platform);

}  // namespace modFontConversion
}  // namespace vantiq

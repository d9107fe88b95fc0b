// Which text the caption shows: the fixed caption, the marquee's search caption or the
// percentage, handed to the host's ProgressTextCallBack when asked, then decoded when
// it turns out to be UTF-8 held one byte per character.
#pragma once

#include <string>

namespace vantiq {

class Vantiq;

// May store "#0" into an empty PercentFormat, writes m_sLastPercent when the
// percentage is the source, and lets the event handler rewrite Value, Min and Max
// unchecked. Throws RuntimeError when the percentage's arithmetic faults (Max of 0).
std::u16string ComposeCaption(Vantiq& control);

}  // namespace vantiq

// Which text a caption pass shows.
#include "caption/mod_utf8.h"
#include "control/percent_text.h"
#include "control/vantiq.h"

namespace vantiq {

// Every text is written into the paint's kept strings, which keep their storage from one
// paint to the next.
const std::u16string& Vantiq::ComposeCaption() {
  Properties& p = props_;
  const bool marquee = p.m_lScrolling == eProgressBarScrollMarquee;
  std::u16string& text = paint_.m_sCaptionText;
  if (marquee && !p.m_sSearchCaption.empty()) {
    text = p.m_sSearchCaption;
  } else if (!marquee && !p.m_sCaption.empty()) {
    text = p.m_sCaption;
  } else {
    if (p.m_sPercentFormat.empty()) p.m_sPercentFormat = u"#0";
    BuildPercentText(p.m_dValue, p.m_dMax, p.m_sPercentFormat, host_, text);
    paint_.m_sLastPercent = text;
  }
  // The handler works on the stored numbers themselves: what it leaves there stays,
  // unclamped, and the second pass of the same paint already sees it.
  if (p.m_bCaptionCallBack) host_.RaiseProgressTextCallBack(p.m_dValue, p.m_dMin, p.m_dMax, text);
  modUTF8::DecodeIfUtf8(platform_, text, paint_.m_sShownCaption);
  return paint_.m_sShownCaption;
}

}  // namespace vantiq

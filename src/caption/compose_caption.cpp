#include "caption/compose_caption.h"

#include "caption/mod_utf8.h"
#include "caption/percent_text.h"
#include "control/vantiq.h"

namespace vantiq {

std::u16string ComposeCaption(Vantiq& control) {
  Properties& p = control.props();
  const bool marquee = p.m_lScrolling == eProgressBarScrollMarquee;
  std::u16string text;
  if (marquee && !p.m_sSearchCaption.empty()) {
    text = p.m_sSearchCaption;
  } else if (!marquee && !p.m_sCaption.empty()) {
    text = p.m_sCaption;
  } else {
    if (p.m_sPercentFormat.empty()) p.m_sPercentFormat = u"#0";
    text = BuildPercentText(p.m_dValue, p.m_dMax, p.m_sPercentFormat, control.host());
    control.paint().m_sLastPercent = text;
  }
  // The handler works on the stored numbers themselves: what it leaves there stays,
  // unclamped, and the second pass of the same paint already sees it.
  if (p.m_bCaptionCallBack)
    control.host().RaiseProgressTextCallBack(p.m_dValue, p.m_dMin, p.m_dMax, text);
  std::u16string shown = modUTF8::DecodeIfUtf8(control.platform(), text);
  control.paint().m_sShownCaption = shown;
  return shown;
}

}  // namespace vantiq

// The caption as the paint draws it: the colour split at the fill edge in both
// orientations and reading directions, the insets, the shadow, the rules that clear
// Shadow and TextAlignment, the 9x text path, and the rotated font.
#include "caption/caption_renderer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "backends/soft/png_file.h"
#include "caption/font_conversion.h"
#include "support/pixel_diff.h"
#include "support/render_probe.h"

namespace vantiq::testing {
namespace {

constexpr ColorRef kFore = Rgb(255, 0, 0);
constexpr ColorRef kAlt = Rgb(0, 0, 255);
constexpr std::u16string_view kWide = u"MMMMMMMMMMMM";

bool IsText(ColorRef c) { return c == kFore || c == kAlt; }

// An underlined caption in pure red outside the fill and pure blue over it: the
// underline is a solid line, so its pixels show the exact colour of each side.
std::unique_ptr<ControlRig> StartCaptioned(Bar bar, std::u16string_view caption, bool rtl = false) {
  bar.caption = true;
  auto rig = StartBar(bar);
  Vantiq& c = *rig->control;
  c.Font()->SetUnderline(true);
  c.SetForeColor(kFore);
  c.SetAlternateForeColor(kAlt);
  c.SetRightToLeft(rtl);
  c.SetCaption(std::u16string(caption));
  return rig;
}

// A green shadow outside the fill and a yellow one over it.
void Shade(Vantiq& c, std::int32_t intensity, bool shadow = true) {
  c.SetShadowColor(Rgb(0, 160, 0));
  c.SetAlternateShadowColor(Rgb(250, 200, 0));
  c.SetShadowIntensity(intensity);
  c.SetShadow(shadow);
}

// The row (or, for vertical text, the column) holding the most text pixels: the underline.
int UnderlineLine(const Surface& s, bool vertical) {
  const int lines = vertical ? s.Width() : s.Height();
  const int length = vertical ? s.Height() : s.Width();
  int best = -1, bestCount = 0;
  for (int line = 0; line < lines; ++line) {
    int count = 0;
    for (int i = 0; i < length; ++i) count += IsText(vertical ? s.GetPixel(line, i) : s.GetPixel(i, line));
    if (count > bestCount) best = line, bestCount = count;
  }
  return best;
}

// First and last text pixel along the underline.
std::pair<int, int> UnderlineExtent(const Surface& s, int row) {
  int first = -1, last = -1;
  for (int x = 0; x < s.Width(); ++x)
    if (IsText(s.GetPixel(x, row))) {
      if (first < 0) first = x;
      last = x;
    }
  return {first, last};
}

TEST(CaptionDraw, ColourChangesExactlyAtTheFillEdge) {
  struct Case {
    const char* name;
    Bar bar;
    bool rtl;
  } const cases[] = {
      {"horizontal", {200, 20, eProgStandard}, false},
      {"horizontal, right to left", {200, 20, eProgStandard}, true},
      {"horizontal smooth", {200, 20, eProgThin, eProgressBarScrollSmooth, 0, 37}, false},
      {"vertical", {30, 200, eProgStandard, 0, eProgressBarOrientationVertical}, false},
      {"vertical, right to left", {30, 200, eProgStandard, 0, eProgressBarOrientationVertical}, true},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    auto rig = StartCaptioned(k.bar, kWide, k.rtl);
    const Surface& s = *rig->control->paint().m_hDC;
    const int split = rig->control->paint().m_lSplit;
    const bool vertical = k.bar.orientation == eProgressBarOrientationVertical;
    const int line = UnderlineLine(s, vertical);
    ASSERT_GE(line, 0) << "no caption drawn";
    const auto at = [&](int i) { return vertical ? s.GetPixel(line, i) : s.GetPixel(i, line); };
    // The fill grows upward, and leftward when mirrored: then it lies after the edge.
    const int edge = k.rtl && !vertical ? k.bar.width - split : split;
    const bool fillFirst = !vertical && !k.rtl;
    EXPECT_EQ(std::pair(at(edge - 1), at(edge)), fillFirst ? std::pair(kAlt, kFore) : std::pair(kFore, kAlt));
  }
}

TEST(CaptionDraw, AlignmentInsetsFollowTheReadingDirectionAndUnknownAlignmentCentres) {
  auto rig = StartCaptioned({200, 20, eProgStandard, 0, 0, 0}, u"MMM");
  Vantiq& c = *rig->control;
  Surface& s = *c.paint().m_hDC;
  const int width = s.MeasureText(u"MMM", CaptionLogFont(*c.Font(), s.LogPixelsY())).cx;
  const int atLeft = 5, atRight = 200 - 7 - width, centred = (200 - width) / 2;
  const struct {
    std::int32_t align;
    bool rtl;
    int first;
  } cases[] = {
      {ePbTextAlignLeft, false, atLeft},   {ePbTextAlignLeft, true, atRight},
      {ePbTextAlignRight, false, atRight}, {ePbTextAlignRight, true, atLeft},
      {ePbTextAlignCenter, false, centred}, {ePbTextAlignCenter, true, centred},
  };
  for (const auto& k : cases) {
    c.SetRightToLeft(k.rtl);
    c.SetTextAlignment(k.align);
    EXPECT_EQ(UnderlineExtent(s, UnderlineLine(s, false)), std::pair(k.first, k.first + width - 1))
        << k.align << " rtl " << k.rtl;
  }
  c.props().m_lTextAlignment = 7;  // as a saved bag may hold it
  c.SetValue(1);
  EXPECT_EQ(c.TextAlignment(), ePbTextAlignCenter);
  EXPECT_EQ(UnderlineExtent(s, UnderlineLine(s, false)), std::pair(centred, centred + width - 1));
  EXPECT_EQ(c.paint().m_rcClient, (Rect{0, 0, 200, 20})) << "the insets are not left behind";
}

TEST(CaptionDraw, VerticalTextRunsUpwardCentredAcrossTheBar) {
  auto rig = StartCaptioned({40, 200, eProgStandard, 0, eProgressBarOrientationVertical, 0}, kWide);
  Vantiq& c = *rig->control;
  Surface& s = *c.paint().m_hDC;
  const LogFont flat = CaptionLogFont(*c.Font(), s.LogPixelsY());
  const TextExtent extent = s.MeasureText(std::u16string(kWide), flat);
  int top = 200, bottom = -1, left = 40, right = -1;
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 40; ++x)
      if (IsText(s.GetPixel(x, y))) {
        top = std::min(top, y), bottom = std::max(bottom, y);
        left = std::min(left, x), right = std::max(right, x);
      }
  ASSERT_GE(bottom, 0);
  EXPECT_NEAR(bottom - top + 1, extent.cx, 1) << "the text's length runs along the bar";
  EXPECT_LE(right - left + 1, extent.cy);
  EXPECT_GE(left, 20 - extent.cy / 2 - 1);
  EXPECT_LE(right, 20 + extent.cy / 2 + 1);
}

TEST(CaptionDraw, ShadowOfIntensityZeroLeavesNoMarkAndOthersStopShortOfTheEdges) {
  auto plain = StartCaptioned({200, 24, eProgStandard, 0, 0, 0}, u"MMMM");
  plain->control->SetTextAlignment(ePbTextAlignRight);
  const Image without = Capture(*plain->control->paint().m_hDC);

  auto shaded = StartCaptioned({200, 24, eProgStandard, 0, 0, 0}, u"MMMM");
  Vantiq& c = *shaded->control;
  c.SetTextAlignment(ePbTextAlignRight);
  Shade(c, 0);
  ASSERT_TRUE(c.Shadow());
  EXPECT_TRUE(SamePixels(without, Capture(*c.paint().m_hDC)));

  c.SetShadowIntensity(255);
  const Image with = Capture(*c.paint().m_hDC);
  // The picture lies at (-5, -5) and is as wide as the caption's rectangle, which the
  // right inset of 7 ends at x = 193: nothing changes from x = 188 or y = 19 on, and
  // the glow of text that ends at the inset reaches that edge.
  int changed = 0, right = -1, bottom = -1;
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 200; ++x) {
      if (with.At(x, y) == without.At(x, y)) continue;
      ++changed;
      right = std::max(right, x);
      bottom = std::max(bottom, y);
    }
  EXPECT_GT(changed, 20);
  EXPECT_EQ(right, 200 - 7 - 5 - 1);
  EXPECT_LT(bottom, 24 - 5);
}

TEST(CaptionDraw, ShadowSettingsAreTakenBeforeTheCaptionHandlerRuns) {
  // A full bar: the inside pass, the first, draws nearly all of the caption.
  const auto picture = [](bool shadow, std::int32_t intensity, const std::function<void(Vantiq&)>& handler) {
    Bar bar{200, 24, eProgStandard, 0, 0, 100};
    auto rig = StartCaptioned(bar, u"MMMM");
    Vantiq& c = *rig->control;
    Shade(c, intensity, shadow);
    bool first = true;
    c.SetCaptionCallBack(handler != nullptr);
    rig->host.onProgressText = [&](double&, double&, double&, std::u16string&) {
      if (first) handler(c);
      first = false;
    };
    c.SetValue(99.9);  // one paint, with the handler when there is one
    std::vector<ColorRef> inside;
    const Surface& s = *c.paint().m_hDC;
    for (int y = 0; y < 24; ++y)
      for (int x = 0; x < c.paint().m_lSplit; ++x) inside.push_back(s.GetPixel(x, y));
    return inside;
  };
  EXPECT_EQ(picture(true, 0, [](Vantiq& c) { c.SetShadowIntensity(255); }), picture(true, 0, nullptr));
  EXPECT_EQ(picture(false, 255, [](Vantiq& c) { c.SetShadow(true); }), picture(false, 255, nullptr))
      << "no shadow was prepared for the pass";
  EXPECT_NE(picture(true, 255, nullptr), picture(true, 0, nullptr)) << "the shadow shows inside";
}

TEST(CaptionDraw, ShadowIsClearedWhereItCannotBeDrawn) {
  for (auto [version, msimg32, orientation, kept] :
       {std::tuple{"winxp", true, std::int32_t{eProgressBarOrientationVertical}, true}, {"winxp", false, 0, false},
        {"win98", true, 0, false}, {"winme", true, 0, true}, {"winme", true, eProgressBarOrientationVertical, false}}) {
    OnNewThread([&, version = version, msimg32 = msimg32, orientation = orientation, kept = kept] {
      Bar bar{60, 60, eProgStandard, 0, orientation};
      bar.version = version;
      bar.caption = true;
      bar.msimg32 = msimg32;
      auto rig = StartBar(bar);
      rig->control->SetShadow(true);
      EXPECT_EQ(rig->control->Shadow(), kept) << version << " Msimg32 " << msimg32 << " orientation " << orientation;
    });
  }
}

TEST(CaptionDraw, NinexPathDrawsTheSameAsciiText) {
  Image pictures[2];
  const char* versions[] = {"winxp", "win98"};
  for (int i = 0; i < 2; ++i)
    OnNewThread([&] {
      Bar bar{120, 20, eProgStandard};
      bar.version = versions[i];
      auto rig = StartCaptioned(bar, u"Done 42");
      pictures[i] = Capture(*rig->control->paint().m_hDC);
    });
  EXPECT_TRUE(SamePixels(pictures[0], pictures[1]));
}

TEST(CaptionDraw, PassesRaiseTheCallbackTwiceAndNothingWhenHidden) {
  Bar bar{100, 20, eProgStandard};
  bar.caption = true;
  auto rig = StartBar(bar);
  Vantiq& c = *rig->control;
  c.SetCaptionCallBack(true);
  rig->host.events.clear();
  c.SetValue(60);
  EXPECT_EQ(std::count(rig->host.events.begin(), rig->host.events.end(), u"ProgressTextCallBack"), 2);
  EXPECT_EQ(c.paint().m_sLastPercent, u"60%");

  c.SetShowCaption(false);
  rig->host.events.clear();
  c.SetValue(70);
  EXPECT_TRUE(rig->host.events.empty());
  EXPECT_EQ(c.paint().m_sLastPercent, u"60%");
}

TEST(CaptionDraw, MaxOfZeroDrawsTheBarWithoutCaption) {
  auto bare = StartBar({100, 20, eProgStandard, 0, 0, 0});
  bare->control->SetShowCaption(false);
  Bar bar{100, 20, eProgStandard, 0, 0, 0};
  bar.caption = true;
  auto faulting = StartBar(bar);
  faulting->control->props().m_dMax = 0;
  faulting->control->SetShadow(true);
  faulting->control->SetBackColor(kBack);  // a setter: draws again
  EXPECT_TRUE(SamePixels(Capture(*bare->control->paint().m_hDC), Capture(*faulting->control->paint().m_hDC)));
}

TEST(CaptionDraw, AlternateTextColorIsBlackOnlyOverTheXpBlueFill) {
  auto rig = StartBar({100, 20, eProgSystem});
  Vantiq& c = *rig->control;
  PaintSnapshot s = c.TakePaintSnapshot();
  OleColor alternate = c.AlternateForeColor();
  const ColorRef highlightText = c.TranslateColor(kAutoTextColor);
  const auto colour = [&](std::int32_t style, bool themes, std::u16string file, std::u16string scheme) {
    s.m_lStyle = style;
    s.m_bThemesActive = themes;
    s.m_sThemeFile = std::move(file);
    s.m_sColorName = std::move(scheme);
    return AlternateTextColor(s, alternate, c.ops());
  };
  s.m_lProgressColor = kAutoColor;
  const std::u16string luna = u"C:\\WINDOWS\\RESOURCES\\THEMES\\LUNA\\LUNA.MSSTYLES";
  EXPECT_EQ(colour(eProgSystem, true, luna, u"NORMALCOLOR"), 0u);
  EXPECT_EQ(colour(eProgSystem, true, luna, u"METALLIC"), 0u);
  EXPECT_EQ(colour(eProgXP, false, luna, u"HOMESTEAD"), 0u);
  EXPECT_EQ(colour(eProgSystem, false, luna, u"NORMALCOLOR"), highlightText);
  EXPECT_EQ(colour(eProgSystem, true, luna, u"BLUE"), highlightText);
  EXPECT_EQ(colour(eProgSystem, true, u"C:\\THEMES\\LIGHT\\LIGHT.MSSTYLES", u"NORMALCOLOR"), highlightText);
  EXPECT_EQ(colour(eProgStandard, true, luna, u"NORMALCOLOR"), highlightText);
  s.m_lProgressColor = Rgb(1, 2, 3);
  EXPECT_EQ(colour(eProgXP, true, luna, u"NORMALCOLOR"), highlightText) << "a fill of the host's colour";
  c.SetAlternateForeColor(kAutoTextColor);  // translated when set: never the reference again
  alternate = c.AlternateForeColor();
  EXPECT_EQ(colour(eProgSystem, true, luna, u"NORMALCOLOR"), highlightText);
}

TEST(FontConversion, RotatableFontFromTheFontObject) {
  StdFont font;
  font.SetName(u"A font name of forty characters, no less");
  font.SetSize(10.5);  // 10 points: ties go to even
  font.SetItalic(true);
  font.SetStrikethrough(true);
  font.SetCharset(0x1A2);
  OnNewThread([&] {
    ScriptablePlatform xp;
    xp.SetVersion("winxp");
    const LogFont lf = modFontConversion::FontToLogFont(font, nullptr, true, xp);
    EXPECT_EQ(lf.FaceName(), u"A font name of forty characters");
    // Height: 10 * 96 / 72 = 13.33.
    EXPECT_EQ(std::make_tuple(lf.lfHeight, lf.lfWeight, +lf.lfItalic, +lf.lfUnderline, +lf.lfStrikeOut, +lf.lfCharSet,
                              +lf.lfQuality, lf.lfEscapement),
              std::make_tuple(-13, 700, 0xFF, 0, 0xFF, 0xA2, 5, 0));
  });
  OnNewThread([&] {
    ScriptablePlatform seven;
    seven.SetVersion("win7");
    font.SetSize(11.5);
    const LogFont lf = modFontConversion::FontToLogFont(font, nullptr, false, seven);
    EXPECT_EQ(std::make_tuple(+lf.lfQuality, lf.lfWeight, lf.lfHeight), std::make_tuple(4, 400, -16));  // 12 points
    // Names beyond ASCII as they are, cut at 31 units but never inside a surrogate pair.
    const struct {
      std::u16string name, face;
    } names[] = {
        {u"Шрифт", u"Шрифт"},
        {u"明朝体の見出しに使う長い名前のフォントで三十一文字を超える名前です", u"明朝体の見出しに使う長い名前のフォントで三十一文字を超える名前"},
        {std::u16string(30, u'a') + u"\U0001F600", std::u16string(30, u'a')},
    };
    for (const auto& n : names) {
      StdFont named;
      named.SetName(n.name);
      EXPECT_EQ(modFontConversion::FontToLogFont(named, nullptr, false, seven).FaceName(), n.face);
      EXPECT_EQ(CaptionLogFont(named, 96).FaceName(), n.face);
    }
  });
  for (auto [points, height] : {std::pair{8.25, -11}, {8.4, -11}, {8.7, -12}}) {  // 11, 11.2 and 11.6 pixels
    font.SetSize(points);
    EXPECT_EQ(CaptionLogFont(font, 96).lfHeight, height) << points;
  }
}

TEST(CaptionDraw, HostileCaptionsAndNumbersPaintWithoutFault) {
  Bar bar{120, 20, eProgStandard};
  bar.caption = true;
  auto rig = StartBar(bar);
  Vantiq& c = *rig->control;
  c.SetShadow(true);
  for (const std::u16string& caption :
       {std::u16string(100000, u'W'), std::u16string(u"a\0b&", 4), std::u16string(u"\xD800\xDC00\xDC00x\xD800"),
        std::u16string(u"&&&"), std::u16string(u"\r\n\r\n")})
    c.SetCaption(caption);  // draws
  c.SetCaption(u"");
  for (double max : {std::numeric_limits<double>::infinity(), std::nan(""), 0.0, -0.0, 1e-308}) {
    c.props().m_dMax = max;
    c.props().m_dValue = std::numeric_limits<double>::infinity();
    c.SetBackColor(kBack);  // draws
  }
  c.SetOrientation(eProgressBarOrientationVertical);
  c.SetCaption(std::u16string(20000, u'\u00C3'));
  EXPECT_EQ(c.paint().m_rcClient, (Rect{0, 0, 120, 20}));
}

// The standard frame and fill with a caption whose shadow pictures are client-sized.
class FullShadowRenderers : public Renderers {
 public:
  explicit FullShadowRenderers(Vantiq& c) : standard_(c.platform(), c.ops()), caption_(c.platform(), c.ops(), false) {}
  void DrawFrame(const PaintSnapshot& s, Surface& dc, bool frameOnly) override {
    standard_.DrawFrame(s, dc, frameOnly);
  }
  FillResult DrawFill(const PaintSnapshot& s, Surface& dc) override { return standard_.DrawFill(s, dc); }
  void DrawCaption(const PaintSnapshot& s, const CaptionPass& pass, Surface& dc) override {
    caption_.DrawCaption(s, pass, dc);
  }

 private:
  StandardRenderers standard_;
  CaptionRenderer caption_;
};

TEST(CaptionDraw, CroppedShadowGivesTheClientSizedShadowsPixels) {
  struct Case {
    std::u16string caption;
    std::int32_t align;
    bool rtl, italic;
    int width, height = 24;
  } const cases[] = {
      {u"Shadow", ePbTextAlignCenter, false, false, 200},
      {u"Left", ePbTextAlignLeft, false, true, 200},
      {u"Right", ePbTextAlignRight, false, false, 200},
      {u"Left", ePbTextAlignLeft, true, false, 200},
      {u"Right", ePbTextAlignRight, true, true, 200},
      {u"Wider than the bar itself is", ePbTextAlignCenter, false, false, 60},
      {u"WWWWWWW", ePbTextAlignRight, false, true, 300},
      {u"", ePbTextAlignCenter, false, false, 100},
      {u"WWW", ePbTextAlignLeft, false, true, 100, 7},  // a bar lower than the text
  };
  for (const Case& k : cases) {
    Image pictures[2];
    for (int full = 0; full < 2; ++full) {
      auto rig = StartCaptioned({k.width, k.height, eProgStandard, 0, 0, 45}, k.caption, k.rtl);
      Vantiq& c = *rig->control;
      if (full) c.SetRenderers(std::make_unique<FullShadowRenderers>(c));
      c.Font()->SetItalic(k.italic);
      c.SetTextAlignment(k.align);
      Shade(c, 255);
      pictures[full] = Capture(*c.paint().m_hDC);
    }
    EXPECT_TRUE(SamePixels(pictures[1], pictures[0])) << std::string(k.caption.begin(), k.caption.end()) << " " << k.align;
  }
}

// The shadow's pictures are kept from paint to paint: client-sized ones always fit again,
// cropped ones when the text's width holds. A bar updated through several values draws
// each as a bar started at it does.
TEST(CaptionDraw, ShadowKeptFromPaintToPaintDrawsAsANewOne) {
  const auto start = [](double value, bool full) {
    auto rig = StartCaptioned({200, 24, eProgStandard, 0, 0, value}, u"");
    Vantiq& c = *rig->control;
    if (full) c.SetRenderers(std::make_unique<FullShadowRenderers>(c));
    Shade(c, 255);
    return rig;
  };
  for (const bool full : {false, true}) {
    auto kept = start(45, full);
    for (const double value : {38.0, 100.0, 7.0, 8.0, 45.0}) {
      kept->control->SetValue(value);
      EXPECT_TRUE(SamePixels(Capture(*start(value, full)->control->paint().m_hDC), Capture(*kept->control->paint().m_hDC)))
          << value << (full ? " client-sized" : " cropped");
    }
  }
}

}  // namespace
}  // namespace vantiq::testing

namespace vantiq::testing {
namespace {

// The standard renderers, except that each caption pass is drawn whole on a copy of the
// surface without a clip and only its clip's part is copied back.
class UnclippedCaptionRenderers : public StandardRenderers {
 public:
  explicit UnclippedCaptionRenderers(Vantiq& c) : StandardRenderers(c.platform(), c.ops()), c_(c) {}
  void DrawCaption(const PaintSnapshot& s, const CaptionPass& pass, Surface& dc) override {
    const std::optional<Rect> clip = dc.Clip();
    std::unique_ptr<Surface> whole = c_.platform().CreateDibSection(dc.Width(), dc.Height());
    whole->CopyFrom(0, 0, dc.Width(), dc.Height(), dc, 0, 0);
    CaptionPass alone = pass;  // the reference measures and shapes every pass afresh
    alone.memo = nullptr;
    StandardRenderers::DrawCaption(s, alone, *whole);
    const Rect part = clip.value_or(Rect{0, 0, dc.Width(), dc.Height()});
    dc.CopyFrom(part.left, part.top, part.Width(), part.Height(), *whole, part.left, part.top);
  }

 private:
  Vantiq& c_;
};

// A pass whose clip misses the text and its shadow skips drawing it: at every fill
// position both passes give what drawing each whole and clipping it afterwards gives,
// also when a caption handler gives the passes of a paint different texts or fonts,
// and when both passes' shadows have one colour (the second then blurs nothing anew).
TEST(CaptionDraw, APassThatMissesTheTextDrawsAsAClippedWholeOne) {
  enum Handler { kNone, kWidthPerPass, kGlyphsPerPass, kSizePerPass, kSlantPerPass, kIntensityPerPass };
  for (const auto& [align, rtl, shadow, italic, handler, oneShade] :
       {std::tuple{ePbTextAlignCenter, false, false, false, kNone, false},
        {ePbTextAlignCenter, false, true, true, kNone, false}, {ePbTextAlignLeft, true, true, false, kNone, false},
        {ePbTextAlignRight, false, true, true, kNone, false}, {ePbTextAlignCenter, false, true, false, kNone, true},
        {ePbTextAlignCenter, false, true, false, kWidthPerPass, false},
        {ePbTextAlignCenter, false, true, false, kWidthPerPass, true},
        {ePbTextAlignCenter, false, true, false, kGlyphsPerPass, false},
        {ePbTextAlignCenter, false, true, false, kSizePerPass, true},
        {ePbTextAlignCenter, false, true, false, kSlantPerPass, false},
        {ePbTextAlignCenter, false, true, false, kIntensityPerPass, true}}) {
    std::unique_ptr<ControlRig> rigs[2];
    for (int whole = 0; whole < 2; ++whole) {
      rigs[whole] = StartCaptioned({200, 24, eProgStandard, 0, 0, 0}, u"Wj%", rtl);
      ControlRig& rig = *rigs[whole];
      Vantiq& c = *rig.control;
      if (whole) c.SetRenderers(std::make_unique<UnclippedCaptionRenderers>(c));
      c.Font()->SetItalic(italic);
      c.SetTextAlignment(align);
      Shade(c, 255, shadow);
      if (oneShade) c.SetAlternateShadowColor(Rgb(0, 160, 0));
      if (handler == kNone) continue;
      c.SetCaptionCallBack(true);
      // The inside pass comes first: narrow there, wide over the outside; or as wide
      // in other glyphs (the digits' advances are equal), slanted, or shaded fainter.
      rig.host.onProgressText = [&c, handler = handler, inside = true](double&, double&, double&,
                                                                         std::u16string& text) mutable {
        if (handler == kWidthPerPass) text = inside ? u"i" : u"MMMMMMMMMMMM";
        if (handler == kGlyphsPerPass) text = inside ? u"1111" : u"8888";
        if (handler == kSizePerPass) c.Font()->SetSize(inside ? 6 : 14);
        if (handler == kSlantPerPass) c.Font()->SetItalic(!inside);
        if (handler == kIntensityPerPass) c.SetShadowIntensity(inside ? 60 : 255);  // for the next pass
        inside = !inside;
      };
    }
    for (int v = 0; v <= 100; ++v) {
      for (auto& rig : rigs) rig->control->SetValue(v);
      ASSERT_TRUE(SamePixels(Capture(*rigs[1]->control->paint().m_hDC), Capture(*rigs[0]->control->paint().m_hDC)))
          << v << " " << align << (rtl ? " rtl" : "") << (shadow ? " shadow" : "") << (oneShade ? " one shade" : "")
          << " handler " << handler;
    }
  }
}

}  // namespace
}  // namespace vantiq::testing

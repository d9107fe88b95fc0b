// Redraw: the one routine that draws the control, and the theme and back-buffer
// bookkeeping around it.
#include <algorithm>
#include "common/enums.h"
#include "control/percent_text.h"
#include "control/vantiq.h"
#include "platform/color_xp.h"
#include "platform/mod_version_ex.h"
#include "platform/text_case.h"
#include "render/fill_geometry.h"
#include "render/fill_renderer.h"

namespace vantiq {
namespace {

constexpr std::uint32_t WM_SYSCOLORCHANGE = 21;
constexpr std::uint32_t WM_SETTINGCHANGE = 26;
constexpr std::uint32_t WM_DISPLAYCHANGE = 126;
constexpr std::uint32_t WM_THEMECHANGED = 794;

// The XP style file under one of its three standard colour schemes.
bool IsRoundedLunaScheme(const std::u16string& themeFile, const std::u16string& colorName) {
  return LunaSchemeColor(themeFile, colorName).has_value();
}

}  // namespace

namespace {

// Sets m_bPainting for one paint and clears it however the paint is left.
class PaintingScope {
 public:
  explicit PaintingScope(bool& painting) : painting_(painting) { painting_ = true; }
  ~PaintingScope() { painting_ = false; }
  PaintingScope(const PaintingScope&) = delete;
  PaintingScope& operator=(const PaintingScope&) = delete;

 private:
  bool& painting_;
};

}  // namespace

void Vantiq::Redraw() {
  if (paint_.m_bPainting) return;
  {
    PaintingScope painting(paint_.m_bPainting);
    DrawPaint();
  }
  if (paint_.m_bResizePending && !paint_.m_bResizing) {
    // Not again from its own paint: a handler that resizes on every paint would never end.
    paint_.m_bResizePending = false;
    paint_.m_bResizing = true;
    Resize();
    paint_.m_bResizing = false;
  }
}

void Vantiq::DrawPaint() {
  const WindowHandle hwnd = props_.m_lHwnd;

  IgnoreErrors([&] {
    if (platform_.GetSysColor(kColorBtnFace) != paint_.m_lBtnFaceColor ||
        platform_.GetSysColor(kColorHighlight) != paint_.m_lHighlightColor)
      RefreshThemeState(hwnd, WM_DISPLAYCHANGE, 0, 0);
  });

  if (!platform_.IsWindow(hwnd)) return;

  IgnoreErrors([&] {
    if (!paint_.m_bThemesActive) return;
    if (paint_.m_hTheme == 0) OpenProgressTheme();
    if (m_oColors && paint_.m_sThemeFile.empty())
      paint_.m_sThemeFile = UpperCase(m_oColors->ThemeFileName(hwnd));
    if (m_oColors && paint_.m_sColorName.empty())
      paint_.m_sColorName = UpperCase(m_oColors->ThemeColorName(hwnd));
  });
  IgnoreErrors([&] {
    paint_.m_rcClient = platform_.GetClientRect(hwnd);
    ComputeFillGeometry();
  });

  if (!CanSkipPaint()) {
    paint_.m_bRedraw = false;
    IgnoreErrors([&] { UpdateWindowRegion(); });
    // Kept for the whole paint, whatever the handlers it runs do to the host's surfaces.
    if (const std::shared_ptr<Surface> dc = paint_.m_hDC) {
      TakePaintSnapshot(snapshot_);
      const PaintSnapshot& snapshot = snapshot_;
      std::optional<FillResult> keptFill;
      const bool drawnWhole = DrawBackdrop(snapshot, *dc, keptFill);
      if (renderers_) {
        IgnoreErrors([&] {
          const long failedBefore = platform_.FailedRequests();
          const FillResult fill = keptFill ? *keptFill : renderers_->DrawFill(snapshot, *dc);
          paint_.m_lSplit = fill.m_lSplit;
          paint_.m_lFillColor = fill.m_lFillColor;
          if (drawnWhole && platform_.FailedRequests() == failedBefore) renderers_->KeepFill(snapshot, *dc, fill);
        });
      }
      if (props_.m_bRightToLeft)
        IgnoreErrors([&] { dc->MirrorHorizontally(host_.ScaleWidth(), host_.ScaleHeight()); });
      paint_.m_sShownCaption.clear();  // stays empty when no caption is drawn
      DrawCaptionPasses(snapshot, *dc);
      if (renderers_ && FrameOnTop()) IgnoreErrors([&] { renderers_->DrawFrame(snapshot, *dc, true); });
      IgnoreErrors([&] { host_.CaptionShown(paint_.m_sShownCaption); });
      // No picture outlives the paint in the reused snapshot.
      snapshot_.m_oProgressPicture.reset();
      snapshot_.m_oBackgroundPicture.reset();
    }
  }

  if (paint_.m_bBuffered) {
    IgnoreErrors([&] {
      if (const std::shared_ptr<Surface> target = host_.BaseDeviceContext())
        backBuffer_.BlitBackBuffer(*target, 0, 0, host_.ScaleWidth(), host_.ScaleHeight(), 0, 0);
    });
  }
}

// The back colour and what the frame draws before the fill: copied from what the
// renderers kept when that draws the same (with the fill too, which `keptFill` then
// receives), drawn otherwise and, when every step of it drew with nothing refused by
// the system, kept for the next paint. True when it was drawn so.
bool Vantiq::DrawBackdrop(const PaintSnapshot& snapshot, Surface& dc, std::optional<FillResult>& keptFill) {
  bool copied = false;
  if (renderers_ && snapshot.m_bOffscreen)
    IgnoreErrors([&] { copied = renderers_->CopyKeptBackdrop(snapshot, dc, keptFill); });
  if (copied) return false;
  keptFill.reset();
  const long failedBefore = platform_.FailedRequests();
  int stepsDrawn = 0;
  IgnoreErrors([&] {
    ops_.FillRectColor(snapshot.m_rcClient, snapshot.m_lBackColor, dc);
    ++stepsDrawn;
  });
  if (!renderers_) return false;
  IgnoreErrors([&] {
    renderers_->DrawFrame(snapshot, dc, false);
    ++stepsDrawn;
  });
  const bool whole = stepsDrawn == 2 && snapshot.m_bOffscreen && platform_.FailedRequests() == failedBefore;
  IgnoreErrors([&] {
    if (whole)
      renderers_->KeepBackdrop(snapshot, dc);
    else
      renderers_->ForgetBackdrop();
  });
  return whole;
}

bool Vantiq::CanSkipPaint() {
  if (paint_.m_bRedraw || props_.m_lScrolling == eProgressBarScrollMarquee ||
      !props_.m_sCaption.empty())
    return false;
  if (!(paint_.m_dFraction > 0 && paint_.m_dFraction < 0.995)) return false;
  if (props_.m_sPercentFormat.empty()) props_.m_sPercentFormat = u"#0";
  // A failing division leaves the text empty, which is then compared as it is.
  std::u16string text;
  IgnoreErrors([&] { text = BuildPercentText(props_.m_dValue, props_.m_dMax, props_.m_sPercentFormat, host_); });
  return text == paint_.m_sLastPercent;
}

void Vantiq::UpdateWindowRegion() {
  const WindowHandle hwnd = props_.m_lHwnd;
  const bool rounded = paint_.m_bThemedMode &&
                       (modVersionEx::IsWinVista(platform_) || !paint_.m_bThemesActive ||
                        IsRoundedLunaScheme(paint_.m_sThemeFile, paint_.m_sColorName));
  const bool dirty = paint_.m_bRegionDirty;
  paint_.m_bRegionDirty = false;
  // Asking the window costs a round trip to the system on every value update otherwise.
  if (!dirty && paint_.m_bRegionKnown && paint_.m_bRegionRounded == rounded) return;
  const RegionType type = platform_.GetWindowRgnType(hwnd);
  // Setting or clearing a region repaints the window and its frame: done only when the
  // window lacks what the rule wants, or a rounded one may no longer fit its size.
  if (!rounded) {
    if (type != RegionType::kError) ClearWindowRegion(hwnd);
  } else if (dirty || type != RegionType::kComplex) {
    ApplyRoundedRegion(paint_.m_rcClient, hwnd);  // replaces any region the window has
  }
  // Set after the region, whose own notice of a changed window has just arrived.
  paint_.m_bRegionKnown = true;
  paint_.m_bRegionRounded = rounded;
}

PaintSnapshot Vantiq::TakePaintSnapshot() const {
  PaintSnapshot s;
  TakePaintSnapshot(s);
  return s;
}

void Vantiq::TakePaintSnapshot(PaintSnapshot& s) const {
  s.m_lStyle = props_.m_lStyle;
  s.m_lOrientation = props_.m_lOrientation;
  s.m_lScrolling = props_.m_lScrolling;
  s.m_bRightToLeft = props_.m_bRightToLeft;
  s.m_bSegmentBorders = props_.m_bSegmentBorders;
  s.m_lProgressColor = props_.m_lProgressColor;
  s.m_lSegmentBorderColor = props_.m_lSegmentBorderColor;
  s.m_lBackColor = ResolveBackColor();
  s.m_oProgressPicture = props_.m_oProgressPicture;
  s.m_oBackgroundPicture = props_.m_oBackgroundPicture;
  s.m_lHwnd = props_.m_lHwnd;
  s.m_hTheme = paint_.m_hTheme;
  s.m_bThemesActive = paint_.m_bThemesActive;
  s.m_bThemedMode = paint_.m_bThemedMode;
  s.m_sThemeFile = paint_.m_sThemeFile;
  s.m_sColorName = paint_.m_sColorName;
  s.m_rcClient = paint_.m_rcClient;
  s.m_rcFill = paint_.m_rcFill;
  s.m_dFraction = paint_.m_dFraction;
  s.m_lChunk = paint_.m_lChunk;
  s.m_lGap = paint_.m_lGap;
  s.m_bGradientFill = paint_.m_bGradientFill;
  s.m_bOffscreen = paint_.m_bBuffered;
}

void Vantiq::DrawCaptionPasses(const PaintSnapshot& s, Surface& dc) {
  const Rect& rc = paint_.m_rcClient;
  const std::int32_t split = paint_.m_lSplit;
  Rect inside, outside;
  if (!IsHorizontal(props_.m_lOrientation)) {
    inside = {rc.left, split, rc.right, rc.bottom};
    outside = {rc.left, rc.top, rc.right, split};
  } else if (props_.m_bRightToLeft) {
    inside = {rc.right - split, rc.top, rc.right, rc.bottom};
    outside = {rc.left, rc.top, rc.right - split, rc.bottom};
  } else {
    inside = {rc.left, rc.top, split, rc.bottom};
    outside = {split, rc.top, rc.right, rc.bottom};
  }
  // A pass whose clip holds no pixel of the client (the fill's pass at Min and in every
  // marquee step) composes its text all the same, but draws nothing.
  const auto shows = [&rc](const Rect& clip) {
    return !Rect{std::max(clip.left, rc.left), std::max(clip.top, rc.top), std::min(clip.right, rc.right),
                 std::min(clip.bottom, rc.bottom)}
                .IsEmpty();
  };
  captionMemo_.StartPaint();
  ops_.ClipTo(dc, inside);
  IgnoreErrors([&] { DrawCaptionPass(s, true, shows(inside), dc); });
  ops_.ClipTo(dc, outside);
  IgnoreErrors([&] { DrawCaptionPass(s, false, shows(outside), dc); });
  ops_.ResetClip(dc);
}

void Vantiq::CheckShadowAvailable() {
  const bool vertical = props_.m_lOrientation == eProgressBarOrientationVertical;
  if (modVersionEx::IsWin98SE(platform_) || (modVersionEx::IsWinME(platform_) && vertical) ||
      !paint_.m_bMsimg32)
    props_.m_bShadow = false;
}

// One pass: composing the text raises the caption handler, so what the renderer reads
// of the properties is taken after it; a fault while composing ends the pass.
void Vantiq::DrawCaptionPass(const PaintSnapshot& s, bool inFill, bool shows, Surface& dc) {
  if (!renderers_ || !props_.m_bShowCaption) return;
  CheckShadowAvailable();
  // The shadow's settings are taken before the text is composed: what a caption
  // handler changes shows from the next pass on.
  std::optional<CaptionPass::Shadow> shadow;
  if (props_.m_bShadow)
    shadow = CaptionPass::Shadow{TranslateColor(inFill ? props_.m_lAlternateShadowColor : props_.m_lShadowColor),
                                 props_.m_lShadowIntensity};
  CaptionPass pass;
  pass.inFill = inFill;
  pass.text = ComposeCaption();
  pass.font = props_.m_oFnt;
  if (!pass.font) return;
  // Only a change is written: every write to the font object notifies its sinks.
  const FontRef baseFont = host_.BaseFont();
  if (baseFont && baseFont->Bold() && !pass.font->Bold()) pass.font->SetBold(true);
  // A stored alignment the control does not know (a saved bag may hold one) is reset to
  // centred when a horizontal caption is laid out.
  const std::int32_t align = props_.m_lTextAlignment;
  if (props_.m_lOrientation != eProgressBarOrientationVertical && align != ePbTextAlignLeft &&
      align != ePbTextAlignRight && align != ePbTextAlignCenter)
    props_.m_lTextAlignment = ePbTextAlignCenter;
  pass.m_lTextAlignment = props_.m_lTextAlignment;
  pass.m_lForeColor = props_.m_lForeColor;
  pass.m_lAlternateForeColor = props_.m_lAlternateForeColor;
  // A handler that turned Shadow off drops this pass's shadow; one that turned it on
  // finds none prepared, and the next pass draws it.
  if (props_.m_bShadow) pass.shadow = shadow;
  pass.memo = &captionMemo_;
  if (shows) renderers_->DrawCaption(s, pass, dc);
}

bool Vantiq::FrameOnTop() {
  if (props_.m_lStyle == eProgXP) return true;
  const bool vistaThemed = modVersionEx::IsWinVista(platform_) && paint_.m_bThemesActive;
  const bool themedSystem = paint_.m_bThemedMode && props_.m_lStyle != eProgXP;
  return !(vistaThemed || themedSystem);
}

void Vantiq::ComputeFillGeometry() {
  FillInputs in;
  in.client = paint_.m_rcClient;
  in.min = props_.m_dMin;
  in.max = props_.m_dMax;
  in.value = props_.m_dValue;
  in.scrolling = props_.m_lScrolling;
  in.style = props_.m_lStyle;
  in.orientation = props_.m_lOrientation;
  in.themedMode = paint_.m_bThemedMode;
  const FillGeometry g = vantiq::ComputeFillGeometry(in);
  paint_.m_lChunk = g.chunk;
  paint_.m_lGap = g.gap;
  paint_.m_dFraction = g.fraction;
  paint_.m_rcFill = g.fill;
}

std::int32_t Vantiq::RefreshThemeState(WindowHandle /*hwnd*/, std::uint32_t message,
                                       std::uintptr_t /*wParam*/, std::intptr_t /*lParam*/) {
  if (message != WM_DISPLAYCHANGE && message != WM_SYSCOLORCHANGE && message != WM_SETTINGCHANGE &&
      message != WM_THEMECHANGED)
    return 0;
  IgnoreErrors([&] { RefreshThemeIdentity(); });
  // What was drawn in the old colours, theme or display settings is drawn afresh.
  if (renderers_) IgnoreErrors([&] { renderers_->ForgetBackdrop(); });
  IgnoreErrors([&] {
    paint_.m_lBtnFaceColor = platform_.GetSysColor(kColorBtnFace);
    paint_.m_lHighlightColor = platform_.GetSysColor(kColorHighlight);
  });
  return 0;
}

void Vantiq::SystemSettingsChanged(WindowHandle hwnd, std::uint32_t message, std::uintptr_t wParam,
                                   std::intptr_t lParam) {
  RefreshThemeState(hwnd, message, wParam, lParam);
  paint_.m_bRegionDirty = true;
  paint_.m_bRedraw = true;
  Redraw();
}

void Vantiq::RedrawWhole() {
  paint_.m_bRedraw = true;
  Redraw();
}

void Vantiq::RefreshThemeIdentity() {
  const WindowHandle hwnd = props_.m_lHwnd;
  // Before the theme object exists (the first paint of start-up) nothing is themed.
  paint_.m_bThemesActive = m_oColors && m_oColors->IsVisualStyleActive(hwnd);
  paint_.m_bThemedMode = DecideThemedMode();
  OpenProgressTheme();
  paint_.m_sThemeFile = m_oColors ? UpperCase(m_oColors->ThemeFileName(hwnd)) : std::u16string();
  paint_.m_sColorName = m_oColors ? UpperCase(m_oColors->ThemeColorName(hwnd)) : std::u16string();
}

bool Vantiq::DecideThemedMode() {
  if (props_.m_lStyle == eProgXP) return true;
  return props_.m_lStyle == eProgSystem && !modVersionEx::IsWinVista(platform_) && paint_.m_bThemesActive;
}

void Vantiq::OpenProgressTheme() {
  CloseProgressTheme();
  if (paint_.m_bThemesActive) paint_.m_hTheme = platform_.OpenThemeData(props_.m_lHwnd, u"Progress");
}

void Vantiq::CloseProgressTheme() {
  if (paint_.m_hTheme == 0) return;
  platform_.CloseThemeData(paint_.m_hTheme);
  paint_.m_hTheme = 0;
}

ColorRef Vantiq::ResolveBackColor() const {
  if (props_.m_lBackColor != kAutoColor) return TranslateColor(props_.m_lBackColor);
  if (props_.m_lStyle == eProgXP) return 0xFFFFFF;
  return platform_.GetSysColor(kColorBtnFace);
}

void Vantiq::PrepareDrawingSurface() {
  std::shared_ptr<Surface> buffer = backBuffer_.EnsureBackBuffer(host_.ScaleWidth(), host_.ScaleHeight());
  if (buffer) {
    paint_.m_hDC = std::move(buffer);
    paint_.m_bBuffered = true;
  } else {
    paint_.m_hDC = host_.BaseDeviceContext();
  }
}

void Vantiq::ApplyRoundedRegion(const Rect& client, WindowHandle hwnd) {
  const int r = client.right;
  const int b = client.bottom;
  Region region(Rect{0, 0, r, b});
  const Rect cuts[] = {
      {0, 0, 2, 1},         {0, 1, 1, 2},          // top-left
      {r - 2, 0, r, 1},     {r - 1, 1, r, 2},      // top-right
      {0, b - 1, 2, b},     {0, b - 2, 1, b - 1},  // bottom-left
      {r - 2, b - 1, r, b}, {r - 1, b - 2, r, b - 1},  // bottom-right
  };
  for (const Rect& cut : cuts) region.Subtract(cut);
  platform_.SetWindowRgn(hwnd, region, true);
}

void Vantiq::ClearWindowRegion(WindowHandle hwnd) { platform_.SetWindowRgn(hwnd, std::nullopt, true); }

}  // namespace vantiq

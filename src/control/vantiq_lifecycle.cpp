// The control's life with its host: start-up, new and shown states, resizes, paints
// and the release of everything at the end. Each step runs with errors ignored.
#include "control/standard_renderers.h"
#include "control/vantiq.h"
#include "platform/color_xp.h"
#include "platform/mod_visual_styles.h"
#include "window/unicode_tool_tip.h"

namespace vantiq {

Vantiq::Vantiq(Host& host, Platform& platform)
    : host_(host),
      platform_(platform),
      ops_(platform, paint_.m_bGradientFill),
      backBuffer_(platform) {
  renderers_ = std::make_unique<StandardRenderers>(platform_, ops_);
}

Vantiq::~Vantiq() {
  // The font object may outlive the control (the host shares it): stop its events.
  if (props_.m_oFnt) props_.m_oFnt->Unadvise(this);
  if (paint_.m_hTheme) platform_.CloseThemeData(paint_.m_hTheme);
}

void Vantiq::SetRenderers(std::unique_ptr<Renderers> renderers) { renderers_ = std::move(renderers); }

void Vantiq::Initialize() {
  IgnoreErrors([&] { paint_.m_bGradientFill = modVisualStyles::IsFunctionExported(platform_, "Msimg32.dll", "GradientFill"); });
  IgnoreErrors([&] { paint_.m_bMsimg32 = modVisualStyles::IsDllPresent(platform_, "Msimg32.dll"); });
  IgnoreErrors([&] {
    FontRef font = host_.CreateStandardFont();
    font->SetName(u"Tahoma");
    font->SetSize(8);
    SetFont(font);
  });
  m_bSafeForScripting = true;
  m_bSafeForInit = true;
  IgnoreErrors([&] { host_.SetScaleModePixels(); });
  IgnoreErrors([&] { PrepareDrawingSurface(); });
  IgnoreErrors([&] { props_.m_lHwnd = host_.BaseWindowHandle(); });

  props_.m_dMax = 100;
  props_.m_dMin = 0;
  props_.m_dValue = 0;
  props_.m_lOrientation = eProgressBarOrientationHorizontal;
  props_.m_lScrolling = eProgressBarScrollStandard;
  props_.m_lStyle = eProgSystem;
  props_.m_lBackColor = kAutoColor;
  props_.m_lForeColor = 0;
  props_.m_lAlternateForeColor = kAutoTextColor;
  props_.m_lProgressColor = kAutoColor;
  props_.m_lSegmentBorderColor = kAutoColor;
  props_.m_bShowCaption = true;
  props_.m_bSegmentBorders = false;
  props_.m_sSearchCaption.clear();
  props_.m_sCaption.clear();
  props_.m_bCaptionCallBack = false;
  props_.m_bShadow = false;
  props_.m_lShadowIntensity = 128;
  props_.m_lShadowColor = 0;
  props_.m_lAlternateShadowColor = 0;
  props_.m_lTextAlignment = ePbTextAlignCenter;

  // A container that cannot answer yet leaves RightToLeft False until the properties
  // are initialised or read.
  IgnoreErrors([&] { props_.m_bRightToLeft = host_.AmbientRightToLeft(); });
  props_.m_sPercentFormat = u"#0";
  paint_.m_bRegionDirty = true;
  IgnoreErrors([&] { m_oColors = std::make_unique<CColorXP>(platform_); });
  IgnoreErrors([&] { RefreshThemeIdentity(); });
  IgnoreErrors([&] {
    paint_.m_lBtnFaceColor = platform_.GetSysColor(kColorBtnFace);
    paint_.m_lHighlightColor = platform_.GetSysColor(kColorHighlight);
  });
  Redraw();
}

void Vantiq::InitProperties() {
  IgnoreErrors([&] { props_.m_bRightToLeft = host_.AmbientRightToLeft(); });
}

void Vantiq::Show() {
  paint_.m_bRegionDirty = true;
  IgnoreErrors([&] { RefreshThemeIdentity(); });
}

void Vantiq::Hide() { paint_.m_bRegionDirty = true; }

void Vantiq::Resize() {
  // An event handler may resize the control, or take its window away, while a paint
  // draws into the surfaces a resize would replace: the paint resizes when it is over.
  if (paint_.m_bPainting) {
    paint_.m_bResizePending = true;
    return;
  }
  IgnoreErrors([&] { props_.m_lHwnd = host_.BaseWindowHandle(); });
  IgnoreErrors([&] { PrepareDrawingSurface(); });
  paint_.m_bRegionDirty = true;
  Redraw();
}

void Vantiq::Paint() { Redraw(); }

void Vantiq::Terminate() {
  backBuffer_.FreeBackBuffer();
  paint_.m_hDC = nullptr;
  m_oColors.reset();
  m_oToolTip.reset();  // destroys its tooltip window
  IgnoreErrors([&] { ClearWindowRegion(host_.BaseWindowHandle()); });
  CloseProgressTheme();
}

}  // namespace vantiq

// The Vantiq progress bar: its property model, its life with the host and its paint
// sequence. Everything here runs on the host's user-interface thread.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "common/runtime_error.h"
#include "control/host.h"
#include "control/paint_state.h"
#include "control/properties.h"
#include "control/renderers.h"
#include "draw/font.h"
#include "draw/picture.h"
#include "platform/platform.h"
#include "render/back_buffer.h"
#include "render/drawing_ops.h"
#include "render/paint_snapshot.h"

namespace vantiq {

class CColorXP;
class CUnicodeToolTip;

class Vantiq : private FontChangeSink {
 public:
  Vantiq(Host& host, Platform& platform);
  ~Vantiq() override;
  Vantiq(const Vantiq&) = delete;
  Vantiq& operator=(const Vantiq&) = delete;

  // --- Host events --------------------------------------------------------------
  void Initialize();
  void InitProperties();
  void Show();
  void Hide();
  void Resize();
  void Paint();
  void Terminate();
  // Mouse input in client pixels, passed on to the host's events by reference. Button:
  // 1 left, 2 right, 4 middle (MouseMove: every button held); Shift: 1 Shift, 2 Ctrl,
  // 4 Alt. A left press and release inside the control also raises Click.
  void MouseDown(std::int16_t& button, std::int16_t& shift, float& x, float& y);
  void MouseMove(std::int16_t& button, std::int16_t& shift, float& x, float& y);
  void MouseUp(std::int16_t& button, std::int16_t& shift, float& x, float& y);

  // --- Properties: getters return the stored value; setters may throw RuntimeError.
  std::int32_t TextAlignment() const { return props_.m_lTextAlignment; }
  void SetTextAlignment(std::int32_t value);
  FontRef Font() const { return props_.m_oFnt; }
  void SetFont(const FontRef& font);  // set and let alike
  std::int32_t Hwnd();                // error 387 in a design environment
  void SetHwnd(std::int32_t value);   // always error 387
  double Min() const { return props_.m_dMin; }
  void SetMin(double value);
  double Max() const { return props_.m_dMax; }
  void SetMax(double value);
  PictureRef MouseIcon();
  void SetMouseIcon(const PictureRef& icon);
  std::int32_t MousePointer();
  void SetMousePointer(std::int32_t value);
  std::int32_t Orientation() const { return props_.m_lOrientation; }
  void SetOrientation(std::int32_t value);
  bool Enabled();
  void SetEnabled(bool value);
  std::int32_t Scrolling() const { return props_.m_lScrolling; }
  void SetScrolling(std::int32_t value);
  bool ShowCaption() const { return props_.m_bShowCaption; }
  void SetShowCaption(bool value);
  const std::u16string& SearchCaption() const { return props_.m_sSearchCaption; }
  void SetSearchCaption(const std::u16string& value);
  const std::u16string& PercentFormat() const { return props_.m_sPercentFormat; }
  void SetPercentFormat(const std::u16string& value);
  const std::u16string& Caption() const { return props_.m_sCaption; }
  void SetCaption(const std::u16string& value);
  bool Shadow() const { return props_.m_bShadow; }
  void SetShadow(bool value);
  std::int32_t ShadowIntensity() const { return props_.m_lShadowIntensity; }
  void SetShadowIntensity(std::int32_t value);
  double Value() const { return props_.m_dValue; }
  void SetValue(double value);
  std::int32_t Style() const { return props_.m_lStyle; }
  void SetStyle(std::int32_t value);
  OleColor ForeColor() const { return props_.m_lForeColor; }
  void SetForeColor(OleColor value);
  OleColor BackColor() const { return props_.m_lBackColor; }
  void SetBackColor(OleColor value);
  OleColor ShadowColor() const { return props_.m_lShadowColor; }
  void SetShadowColor(OleColor value);
  OleColor SegmentBorderColor() const { return props_.m_lSegmentBorderColor; }
  void SetSegmentBorderColor(OleColor value);
  bool RightToLeft() const { return props_.m_bRightToLeft; }
  void SetRightToLeft(bool value);
  OleColor ProgressColor() const { return props_.m_lProgressColor; }
  void SetProgressColor(OleColor value);
  bool SegmentBorders() const { return props_.m_bSegmentBorders; }
  void SetSegmentBorders(bool value);
  bool CaptionCallBack() const { return props_.m_bCaptionCallBack; }
  void SetCaptionCallBack(bool value);
  PictureRef ProgressPicture() const { return props_.m_oProgressPicture; }
  void SetProgressPicture(const PictureRef& picture);
  PictureRef BackgroundPicture() const { return props_.m_oBackgroundPicture; }
  void SetBackgroundPicture(const PictureRef& picture);
  OleColor AlternateForeColor() const { return props_.m_lAlternateForeColor; }
  void SetAlternateForeColor(OleColor value);
  OleColor AlternateShadowColor() const { return props_.m_lAlternateShadowColor; }
  void SetAlternateShadowColor(OleColor value);

  // --- Painting ------------------------------------------------------------------
  // The one routine that draws; never reports an error.
  void Redraw();
  // Reacts to display, system-colour, setting and theme changes; returns 0.
  std::int32_t RefreshThemeState(WindowHandle hwnd, std::uint32_t message, std::uintptr_t wParam,
                                 std::intptr_t lParam);
  // What the window does with those messages: refresh the theme state, re-evaluate the
  // window region (the themed mode may have changed) and draw everything again.
  void SystemSettingsChanged(WindowHandle hwnd, std::uint32_t message, std::uintptr_t wParam,
                             std::intptr_t lParam);
  // Redraw without the short path of an unchanged paint: the whole picture, for a
  // container that draws the control elsewhere.
  void RedrawWhole();
  // The next Redraw re-evaluates the window region (after loading saved properties).
  void RegionMayHaveChanged() { paint_.m_bRegionDirty = true; }
  // The window was moved, sized, shown, hidden or given a region by anyone: the next
  // Redraw asks the window for its region again.
  void WindowPositionChanged() { paint_.m_bRegionKnown = false; }
  // What the frame and fill renderers read, as the next paint would take it.
  PaintSnapshot TakePaintSnapshot() const;
  // The same into `s`, whose strings keep their storage from one paint to the next.
  void TakePaintSnapshot(PaintSnapshot& s) const;
  // The caption text a pass shows: the fixed caption, the marquee's search caption or
  // the percentage, handed to the host's ProgressTextCallBack when asked, then decoded
  // when it turns out to be UTF-8 held one byte per character. May store "#0" into an
  // empty PercentFormat, writes m_sLastPercent when the percentage is the source, and
  // lets the handler rewrite Value, Min and Max unchecked. Throws RuntimeError when the
  // percentage's arithmetic faults (Max of 0).
  const std::u16string& ComposeCaption();
  void RefreshThemeIdentity();
  ColorRef ResolveBackColor() const;
  ColorRef TranslateColor(OleColor color) const { return ops_.TranslateColor(color); }

  // The renderers Redraw calls; the control starts with the standard ones.
  void SetRenderers(std::unique_ptr<Renderers> renderers);

  // The stored properties, for the persistence code; the paint state, read only: the
  // control alone decides when a redraw or a region re-evaluation is due.
  Properties& props() { return props_; }
  const Properties& props() const { return props_; }
  const PaintState& paint() const { return paint_; }
  const DrawingOps& ops() const { return ops_; }
  const BackBuffer& backBuffer() const { return backBuffer_; }
  Host& host() { return host_; }
  Platform& platform() { return platform_; }
  // What the control declares to script hosts; both true from Initialize on.
  bool SafeForScripting() const { return m_bSafeForScripting; }
  bool SafeForInit() const { return m_bSafeForInit; }
  // The tooltip that shows the host's tooltip text; null until a mouse move brings one.
  const CUnicodeToolTip* ToolTip() const { return m_oToolTip.get(); }

 private:
  // Store, notify, request a redraw and draw: what most setters do after storing.
  void Changed(const std::u16string& name);
  void OnFontChanged(const std::u16string& attribute) override;

  bool DecideThemedMode();
  void OpenProgressTheme();
  void CloseProgressTheme();
  void ComputeFillGeometry();
  void PrepareDrawingSurface();
  void ApplyRoundedRegion(const Rect& client, WindowHandle hwnd);
  void ClearWindowRegion(WindowHandle hwnd);
  void UpdateWindowRegion();
  bool CanSkipPaint();
  bool FrameOnTop();
  void DrawPaint();  // Redraw's steps, run inside its re-entry guard
  bool DrawBackdrop(const PaintSnapshot& snapshot, Surface& dc, std::optional<FillResult>& keptFill);
  void DrawCaptionPasses(const PaintSnapshot& s, Surface& dc);
  void DrawCaptionPass(const PaintSnapshot& s, bool inFill, bool shows, Surface& dc);
  // Clears Shadow where the system cannot draw it.
  void CheckShadowAvailable();

  Host& host_;
  Platform& platform_;
  Properties props_;
  PaintState paint_;
  DrawingOps ops_;
  BackBuffer backBuffer_;
  std::unique_ptr<CColorXP> m_oColors;
  PaintSnapshot snapshot_;  // the paint's, reused so that a paint allocates nothing for it
  CaptionPaintMemo captionMemo_;  // what the caption passes of a paint share
  std::unique_ptr<Renderers> renderers_;
  bool m_bSafeForScripting = false;
  bool m_bSafeForInit = false;
  std::unique_ptr<CUnicodeToolTip> m_oToolTip;
  std::u16string m_sToolTip;  // the tooltip text taken over from the host
  WindowHandle m_hToolTipWindow = 0;  // the control window m_oToolTip serves
  bool m_bLeftPressed = false;  // a left press awaits its release (for Click)
};

}  // namespace vantiq

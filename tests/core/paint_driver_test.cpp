#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <stdexcept>
#include <utility>

#include "backends/soft/bitmap_picture.h"
#include "control/standard_renderers.h"
#include "support/control_rig.h"

namespace vantiq::testing {
namespace {

constexpr ColorRef kRed = Rgb(255, 0, 0);
constexpr ColorRef kBlue = Rgb(0, 0, 255);
constexpr ColorRef kGreen = Rgb(0, 128, 0);

std::vector<std::string> Names(const ControlRig& rig) { return rig.renderers->Names(); }

// A rig started as a container starts a new control, before the test looks at it.
struct StartedRig : ControlRig {
  explicit StartedRig(int width = 100, int height = 20) : ControlRig(width, height) { Start(); }
};

TEST(PaintDriver, DrawsInOrderWithComplementaryCaptionClips) {
  StartedRig rig(200, 20);
  using Clips = std::pair<std::optional<Rect>, std::optional<Rect>>;
  // The inside and outside caption passes' clips when `change` paints a fill ending at `split`.
  const auto clips = [&](int split, const std::function<void()>& change) {
    rig.renderers->split = split;
    rig.renderers->calls.clear();
    change();
    return Clips{rig.renderers->calls.at(2).clip, rig.renderers->calls.at(3).clip};
  };
  EXPECT_EQ(clips(102, [&] { rig.control->SetStyle(eProgStandard); }), (Clips{Rect{0, 0, 102, 20}, Rect{102, 0, 200, 20}}));
  EXPECT_EQ(Names(rig), (std::vector<std::string>{"Frame", "Fill", "Caption+", "Caption", "Frame+"}));
  EXPECT_FALSE(rig.renderers->calls[0].clip.has_value());
  EXPECT_FALSE(rig.control->paint().m_hDC->Clip().has_value()) << "the clip is reset afterwards";
  EXPECT_EQ(clips(102, [&] { rig.control->SetRightToLeft(true); }), (Clips{Rect{98, 0, 200, 20}, Rect{0, 0, 98, 20}}));
  EXPECT_EQ(clips(12, [&] { rig.control->SetOrientation(eProgressBarOrientationVertical); }),
            (Clips{Rect{0, 12, 200, 20}, Rect{0, 0, 200, 12}}));
  // A pass whose clip holds no pixel of the client (here a split beyond the bottom edge,
  // and at an empty fill) still raises the caption event, but draws nothing.
  int events = 0;
  rig.host.onProgressText = [&](double&, double&, double&, std::u16string&) { ++events; };
  rig.control->SetCaptionCallBack(true);
  for (int split : {41, 20}) {  // the bar is vertical: its fill starts at the split
    rig.renderers->split = split;
    rig.renderers->calls.clear();
    events = 0;
    rig.control->SetValue(split + 1.0);
    EXPECT_EQ(Names(rig), (std::vector<std::string>{"Frame", "Fill", "Caption", "Frame+"})) << split;
    EXPECT_EQ(events, 2) << split;
  }
}

TEST(PaintDriver, MirroredFillMeetsTheInsideCaptionClipExactly) {
  for (int split : {0, 1, 37, 199, 200}) {
    StartedRig rig(200, 20);
    rig.control->SetBackColor(Rgb(0, 255, 0));
    rig.renderers->split = split;
    rig.renderers->onFill = [&](Surface& dc) { dc.FillRect({0, 0, split, 20}, kRed); };
    rig.renderers->onCaption = [&](const CaptionPass& pass, Surface& dc) {
      if (pass.inFill) dc.FillRect({0, 0, 200, 20}, kBlue);
    };
    rig.control->SetRightToLeft(true);
    for (int x = 0; x < 200; ++x) {
      const ColorRef expected = x >= 200 - split ? kBlue : Rgb(0, 255, 0);
      ASSERT_EQ(rig.BufferPixel(x, 10), expected) << "split " << split << " x " << x;
      ASSERT_EQ(rig.ScreenPixel(x, 10), expected) << "copied to the window";
    }
  }
}

TEST(PaintDriver, BackgroundFollowsTheStyleUnlessAColourIsSet) {
  StartedRig rig(50, 10);
  rig.platform.sysColors[kColorBtnFace] = Rgb(10, 20, 30);
  rig.control->RefreshThemeState(0, 21, 0, 0);
  rig.control->SetStyle(eProgStandard);
  EXPECT_EQ(rig.ScreenPixel(25, 5), Rgb(10, 20, 30));
  rig.control->SetStyle(eProgXP);
  EXPECT_EQ(rig.ScreenPixel(25, 5), Rgb(255, 255, 255));
  rig.platform.sysColors[5] = Rgb(7, 8, 9);
  rig.control->SetBackColor(0x80000005u);
  EXPECT_EQ(rig.ScreenPixel(25, 5), Rgb(7, 8, 9));
  rig.control->SetBackColor(Rgb(1, 2, 3));
  EXPECT_EQ(rig.ScreenPixel(0, 0), Rgb(1, 2, 3));
  EXPECT_EQ(rig.control->ResolveBackColor(), Rgb(1, 2, 3));
}

TEST(PaintDriver, NestedRedrawFromARendererReturnsAtOnce) {
  StartedRig rig;
  int fills = 0;
  rig.renderers->onFill = [&](Surface&) {
    ++fills;
    rig.control->SetValue(75);  // stores, notifies, and its Redraw returns at once
  };
  rig.control->SetValue(10);
  EXPECT_EQ(fills, 1);
  EXPECT_EQ(rig.control->Value(), 75);
  EXPECT_FALSE(rig.control->paint().m_bPainting);
  EXPECT_TRUE(rig.control->paint().m_bRedraw) << "the nested change waits for the next paint";
}

TEST(PaintDriver, APaintLeftByAnyExceptionEnds) {
  StartedRig rig;
  bool fail = true;
  rig.renderers->onFill = [&](Surface&) {
    if (fail) throw std::logic_error("not one of the errors a paint passes over");
  };
  EXPECT_THROW(rig.control->SetValue(10), std::logic_error);
  EXPECT_FALSE(rig.control->paint().m_bPainting);
  fail = false;
  rig.renderers->calls.clear();
  rig.control->SetValue(20);
  EXPECT_FALSE(rig.renderers->calls.empty()) << "the next change paints again";
}

// Without a back buffer the paint draws on the host's own surface. A caption handler
// that resizes the control or takes its window away makes the host drop that surface
// while the caption pass still draws on it: the sanitizers see any use after it is gone.
TEST(PaintDriver, ACaptionHandlerCannotFreeTheSurfaceThePaintDrawsOn) {
  for (const bool removes : {false, true}) {
    SCOPED_TRACE(removes ? "the window goes" : "resized");
    ControlRig rig(100, 20);
    rig.platform.backBufferFactory = [](int, int) -> std::unique_ptr<Surface> { return nullptr; };
    Vantiq& c = *rig.control;
    c.SetRenderers(std::make_unique<StandardRenderers>(c.platform(), c.ops()));
    rig.Start();
    ASSERT_FALSE(c.paint().m_bBuffered);
    c.SetShadow(true);
    c.SetCaptionCallBack(true);
    bool armed = true;
    rig.host.onProgressText = [&](double&, double&, double&, std::u16string&) {
      if (!armed) return;
      armed = false;
      if (removes) {
        rig.host.deviceContext.reset();
        rig.screen.reset();
        rig.platform.RemoveWindow(rig.hwnd);
        c.Resize();
      } else {
        rig.ResizeTo(150, 30);
      }
    };
    c.SetValue(60);
    EXPECT_FALSE(armed);
    EXPECT_EQ(c.paint().m_hDC, rig.host.deviceContext) << "the resize ran once the paint was over";
  }
}

// Paints, and tells whether any renderer ran.
bool PaintDraws(ControlRig& rig) {
  rig.renderers->calls.clear();
  rig.control->Paint();
  return !rig.renderers->calls.empty();
}

TEST(PaintDriver, UnchangedPaintOnlyCopiesTheBufferAndFillsAnEmptyFormat) {
  StartedRig rig;
  rig.control->SetValue(50);  // its paint shows "50%"
  rig.screen->FillRect({0, 0, 100, 20}, kRed);
  EXPECT_FALSE(PaintDraws(rig));
  EXPECT_NE(rig.ScreenPixel(50, 10), kRed) << "the buffer is still copied";
  Properties& p = rig.control->props();
  p.m_sPercentFormat.clear();
  EXPECT_FALSE(PaintDraws(rig));
  EXPECT_EQ(rig.control->PercentFormat(), u"#0");

  // A different percentage, a caption, marquee scrolling or an empty bar all draw.
  rig.renderers->split = 49;
  p.m_dValue = 49;
  EXPECT_TRUE(PaintDraws(rig));
  EXPECT_EQ(Names(rig), (std::vector<std::string>{"Frame", "Fill", "Caption+", "Caption"}))
      << "the themed system bar puts no frame on top";
  p.m_sCaption = u"Done";
  EXPECT_TRUE(PaintDraws(rig));
  p.m_sCaption.clear();
  p.m_lScrolling = eProgressBarScrollMarquee;
  EXPECT_TRUE(PaintDraws(rig));
  p.m_lScrolling = eProgressBarScrollStandard;
  p.m_dValue = 0;
  EXPECT_TRUE(PaintDraws(rig)) << "fraction 0 always draws";
}

TEST(PaintDriver, SkipTestComparesAFailedTextAsEmpty) {
  // Max 0: the division fails and the empty text is compared with the last percentage,
  // which a caption never shown leaves empty: a control set up before its window exists
  // (as containers load controls) with the caption hidden.
  ControlRig hidden(100, 20);
  hidden.host.windowHandle = 0;
  hidden.control->Initialize();
  hidden.control->SetShowCaption(false);
  hidden.host.windowHandle = hidden.hwnd;
  hidden.control->Resize();
  hidden.control->Show();
  hidden.control->props().m_dMax = 0;
  hidden.control->props().m_dMin = -100;
  hidden.control->props().m_dValue = -50;
  EXPECT_FALSE(PaintDraws(hidden));
  hidden.control->props().m_dMax = 100;  // "25%" now: not the empty text
  EXPECT_TRUE(PaintDraws(hidden));
}

TEST(PaintDriver, GoneWindowStopsThePaint) {
  StartedRig rig;
  rig.renderers->calls.clear();
  rig.platform.RemoveWindow(rig.hwnd);
  rig.control->SetValue(30);
  EXPECT_TRUE(rig.renderers->calls.empty());
  EXPECT_FALSE(rig.control->paint().m_bPainting);
}

TEST(PaintDriver, SystemColourChangeRefreshesTheThemeState) {
  StartedRig rig;
  rig.platform.colorName = u"Homestead";
  rig.platform.sysColors[kColorHighlight] = Rgb(9, 9, 9);
  rig.control->Paint();
  EXPECT_EQ(rig.control->paint().m_lHighlightColor, Rgb(9, 9, 9));
  EXPECT_EQ(rig.control->paint().m_sColorName, u"HOMESTEAD");
  // Other messages do nothing.
  rig.platform.colorName = u"Metallic";
  EXPECT_EQ(rig.control->RefreshThemeState(0, 15, 0, 0), 0);
  EXPECT_EQ(rig.control->paint().m_sColorName, u"HOMESTEAD");
  EXPECT_EQ(rig.control->RefreshThemeState(0, 794, 0, 0), 0);
  EXPECT_EQ(rig.control->paint().m_sColorName, u"METALLIC");
}

TEST(PaintDriver, BackBufferGrowsNeverShrinksAndIsSkippedWhenEmptyOrFailed) {
  StartedRig rig;
  EXPECT_EQ(rig.control->backBuffer().Width(), 100);
  rig.ResizeTo(150, 30);
  EXPECT_EQ(rig.control->backBuffer().Width(), 150);
  EXPECT_EQ(rig.control->backBuffer().Height(), 30);
  const Surface* grown = rig.control->backBuffer().Get();
  rig.ResizeTo(40, 10);
  EXPECT_EQ(rig.control->backBuffer().Get(), grown);
  EXPECT_EQ(rig.control->backBuffer().Width(), 150);
  EXPECT_TRUE(rig.control->paint().m_bBuffered);

  // A zero-sized control draws straight to its own context until its first real size.
  StartedRig empty(0, 0);
  EXPECT_EQ(empty.control->backBuffer().Get(), nullptr);
  EXPECT_FALSE(empty.control->paint().m_bBuffered);
  EXPECT_EQ(empty.control->paint().m_hDC, empty.host.deviceContext);
  empty.ResizeTo(30, 10);
  EXPECT_TRUE(empty.control->paint().m_bBuffered);

  ControlRig failed(60, 10);
  failed.platform.backBufferFails = true;
  failed.Start();
  EXPECT_EQ(failed.control->paint().m_hDC, failed.host.deviceContext);
  failed.control->SetBackColor(kRed);
  EXPECT_EQ(failed.ScreenPixel(30, 5), kRed);
}

TEST(PaintDriver, TerminateReleasesBufferThemeAndRegion) {
  StartedRig rig;
  rig.control->SetStyle(eProgXP);
  EXPECT_GT(rig.platform.themesOpen, 0);
  EXPECT_TRUE(rig.platform.Window(rig.hwnd)->region.has_value());
  rig.control->Terminate();
  EXPECT_EQ(rig.platform.themesOpen, 0);
  EXPECT_FALSE(rig.platform.Window(rig.hwnd)->region.has_value());
  EXPECT_EQ(rig.control->backBuffer().Get(), nullptr);
  EXPECT_EQ(rig.platform.librariesLoaded, 0) << "library tests free what they load";
}

// The rounded region: three pixels cut at each corner, nothing else.
void ExpectRoundedRegion(const ControlRig& rig, int w, int h) {
  const SoftWindow* win = const_cast<ControlRig&>(rig).platform.Window(rig.hwnd);
  ASSERT_TRUE(win->region.has_value());
  const Region& r = *win->region;
  int missing = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) missing += !r.Contains(x, y);
  EXPECT_EQ(missing, 12);
  for (auto [x, y] : {std::pair{0, 0}, {1, 0}, {0, 1}, {w - 2, 0}, {w - 1, 0}, {w - 1, 1},
                      {0, h - 1}, {1, h - 1}, {0, h - 2}, {w - 2, h - 1}, {w - 1, h - 1}, {w - 1, h - 2}})
    EXPECT_FALSE(r.Contains(x, y)) << x << "," << y;
  EXPECT_FALSE(r.Contains(w, 5));
}

// Every SetWindowRgn repaints the window and its frame: value updates make none, and a
// region is set or cleared only when the window lacks what the rule wants. The same
// inputs decide whether the frame is drawn again on top of the caption.
TEST(PaintDriver, RegionSetOnlyWhenLackingAndFrameOnTopByStyleVersionAndTheme) {
  struct Case {
    const char* version;
    bool visualStyles;
    const char16_t* colorName;
    std::int32_t style;
    bool rounded, frameOnTop;
  } cases[] = {
      {"win2k", false, u"", eProgXP, true, true},  // no visual styles: XP imitation rounds
      {"winxp", true, u"NormalColor", eProgXP, true, true},
      {"winxp", true, u"Royale", eProgXP, false, true},  // not one of the rounded schemes
      {"winxp", true, u"Royale", eProgSystem, false, false},
      {"winxp", true, u"Metallic", eProgSystem, true, false},
      {"winxp", false, u"", eProgSystem, false, true},
      {"winxp", true, u"NormalColor", eProgStandard, false, true},
      {"vista", true, u"NormalColor", eProgSystem, false, false},  // NT 6 draws the real bar
      {"vista", true, u"Aero", eProgXP, true, true},
      {"win7", true, u"Aero", eProgSystem, false, false},  // not themed at all
      {"win7", true, u"NormalColor", eProgStandard, false, false},
      {"win7", true, u"NormalColor", eProgThin, false, false},
      {"win7", true, u"NormalColor", eProgXP, true, true},
      {"win7", false, u"", eProgStandard, false, true},
      {"win10", true, u"Aero", eProgXP, false, true},  // visual styles on a later system
      {"win10", true, u"Aero", eProgSystem, false, false},  // themed mode, no region wanted
      {"win10", true, u"NormalColor", eProgStandard, false, true},
      {"win10", false, u"", eProgXP, true, true},
      {"win98", false, u"", eProgSystem, false, true},
      {"win98", true, u"NormalColor", 3, false, true},
  };
  for (const Case& c : cases) {
    OnNewThread([&] {
      SCOPED_TRACE(std::string(c.version) + (c.visualStyles ? " styled" : " unstyled") + " style " +
                   std::to_string(c.style));
      ControlRig rig(100, 20, c.version);
      rig.platform.visualStyles = c.visualStyles;
      rig.platform.colorName = c.colorName;
      rig.Start();
      rig.control->SetStyle(c.style);
      SoftWindow* win = rig.platform.Window(rig.hwnd);
      const auto expectRegion = [&] {
        if (c.rounded)
          ExpectRoundedRegion(rig, 100, 20);
        else
          EXPECT_FALSE(win->region.has_value());
      };
      expectRegion();
      const std::vector<RenderCall>& drawn = rig.renderers->calls;
      rig.renderers->calls.clear();
      rig.control->SetValue(33);
      EXPECT_EQ(!drawn.empty() && drawn.back().name == "Frame" && drawn.back().flag, c.frameOnTop) << "frame on top";
      const int calls = win->setRegionCalls, queries = win->getRegionCalls;
      for (int i = 0; i < 100; ++i) rig.control->SetValue(i);
      EXPECT_EQ(win->setRegionCalls, calls) << "value updates";
      EXPECT_EQ(win->getRegionCalls, queries) << "value updates ask nothing of an unchanged window";
      rig.control->Hide();
      rig.control->SetValue(30);
      EXPECT_EQ(win->setRegionCalls, calls + (c.rounded ? 1 : 0)) << "dirty: a rounded region is set again";
      win->region = Region(Rect{0, 0, 50, 20});  // set from outside: not what the rule wants
      rig.control->WindowPositionChanged();        // as the window hears of it
      rig.control->SetValue(40);
      EXPECT_EQ(win->setRegionCalls, calls + (c.rounded ? 2 : 1));
      expectRegion();
    });
  }
}

TEST(PaintDriver, ThemeHandleFollowsVisualStyles) {
  OnNewThread([] {
    StartedRig rig;
    EXPECT_TRUE(rig.control->paint().m_bThemesActive);
    EXPECT_NE(rig.control->paint().m_hTheme, 0u);
    EXPECT_EQ(rig.control->paint().m_sThemeFile,
              u"C:\\WINDOWS\\RESOURCES\\THEMES\\LUNA\\LUNA.MSSTYLES");
    EXPECT_EQ(rig.platform.themesOpen, 1) << "one progress theme, the button probes closed";
    rig.platform.visualStyles = false;
    rig.control->RefreshThemeState(0, 794, 0, 0);
    EXPECT_FALSE(rig.control->paint().m_bThemesActive);
    EXPECT_EQ(rig.control->paint().m_hTheme, 0u);
    EXPECT_EQ(rig.platform.themesOpen, 0);
    EXPECT_EQ(rig.control->paint().m_sThemeFile, u"");
  });
}

// Standard renderers whose frame can report a request the system refused.
class RefusingRenderers : public StandardRenderers {
 public:
  RefusingRenderers(ScriptablePlatform& platform, const DrawingOps& ops)
      : StandardRenderers(platform, ops), platform_(platform) {}
  void DrawFrame(const PaintSnapshot& s, Surface& dc, bool frameOnly) override {
    if (!frameOnly && refuseNext) {
      ++platform_.failedRequests;
      refuseNext = false;
    }
    StandardRenderers::DrawFrame(s, dc, frameOnly);
  }
  bool refuseNext = false;

 private:
  ScriptablePlatform& platform_;
};

// The kept backdrop: every look and value drawn over the copy gives the pixels of a
// paint that draws everything, and whatever the backdrop is drawn from draws afresh.
TEST(PaintDriver, KeptBackdropDrawsTheSamePixelsAndIsDroppedOnChange) {
  for (const char* version : {"winxp", "win7"}) {
    OnNewThread([&] {
      ControlRig kept(200, 20, version), fresh(200, 20, version);
      RefusingRenderers* renderers[2] = {};
      ControlRig* rigs[2] = {&kept, &fresh};
      for (int i = 0; i < 2; ++i) {
        auto r = std::make_unique<RefusingRenderers>(rigs[i]->platform, rigs[i]->control->ops());
        renderers[i] = r.get();
        rigs[i]->control->SetRenderers(std::move(r));
        rigs[i]->Start();
      }
      const auto both = [&](const std::function<void(ControlRig&)>& change) {
        renderers[1]->ForgetBackdrop();
        for (ControlRig* rig : rigs) change(*rig);
        for (int y = 0; y < 20; ++y)
          for (int x = 0; x < 200; ++x)
            ASSERT_EQ(kept.BufferPixel(x, y), fresh.BufferPixel(x, y)) << version << " " << x << "," << y;
      };
      const auto picture = [](ControlRig& rig) {
        return std::make_shared<BitmapPicture>(rig.platform.CreateBitmap(2, 1, {kRed, kBlue}));
      };
      for (std::int32_t style : {eProgSystem, eProgStandard, eProgThin, eProgXP}) {
        both([&](ControlRig& r) { r.control->SetStyle(style); });
        both([&](ControlRig& r) { r.control->SetBackgroundPicture(style == eProgThin ? picture(r) : nullptr); });
        for (bool rtl : {false, true}) {
          both([&](ControlRig& r) { r.control->SetRightToLeft(rtl); });
          for (int v = 0; v <= 100; v += 3) both([&](ControlRig& r) { r.control->SetValue(v); });
          // Both fill to the border; only the full bar cuts a last chunk there.
          for (double v : {99.5, 100.0, 99.5}) both([&](ControlRig& r) { r.control->SetValue(v); });
        }
      }
      both([&](ControlRig& r) { r.control->SetProgressColor(kGreen); });
      for (int v = 0; v <= 100; v += 2) {
        both([&](ControlRig& r) { r.control->SetSegmentBorders(v % 4 == 0); });
        both([&](ControlRig& r) { r.control->SetValue(v); });
      }
      both([&](ControlRig& r) { r.control->SetProgressPicture(picture(r)); });
      for (int v = 0; v <= 100; v += 2) both([&](ControlRig& r) { r.control->SetValue(v); });
      EXPECT_GT(renderers[0]->backdrop().Copies(), 150) << version;
      EXPECT_GT(renderers[0]->backdrop().FillCopies(), 40) << version;
      EXPECT_LT(renderers[1]->backdrop().Copies(), 5) << "only a second paint of one change copies";

      // Copies made by the paint a change makes, right after a paint that kept its backdrop.
      Vantiq& c = *kept.control;
      c.SetStyle(eProgSystem);
      const auto step = [&] { c.SetValue(c.Value() == 55 ? 56 : 55); };
      const auto copies = [&](const std::function<void()>& change) {
        step();
        const int n = renderers[0]->backdrop().Copies();
        change();
        return renderers[0]->backdrop().Copies() - n;
      };
      const PictureRef same = picture(kept);
      c.SetBackgroundPicture(same);
      EXPECT_EQ(copies(step), 1) << version;
      EXPECT_EQ(copies([&] { c.SystemSettingsChanged(kept.hwnd, 794, 0, 0); }), 0) << "theme change";
      EXPECT_EQ(copies([&] { c.SetStyle(eProgStandard); }), 0) << "style";
      EXPECT_EQ(copies([&] { kept.ResizeTo(150, 20); }), 0) << "size";
      EXPECT_EQ(copies([&] { c.SetBackgroundPicture(same); }), 0) << "the same picture set again";
      EXPECT_EQ(copies([&] { c.SetBackColor(kBlue); }), 0) << "back colour";
      EXPECT_EQ(copies([&] {
                  renderers[0]->refuseNext = true;
                  c.SetBackColor(kRed);
                  step();
                }),
                0)
          << "what was drawn while a request failed is not kept";
      EXPECT_EQ(copies(step), 1) << version;
      kept.platform.themeBarTransparent = true;
      c.SetStyle(eProgSystem);
      ASSERT_TRUE(c.paint().m_bThemesActive && c.paint().m_hTheme != 0);
      EXPECT_EQ(copies(step), 0) << "a bar the parent shows through";

      // The thin look keeps its fill with the backdrop: a value within the same chunk
      // copies both, and whatever the fill is drawn from draws it afresh.
      c.SetStyle(eProgThin);
      c.SetBackgroundPicture(nullptr);
      const auto fillCopies = [&](const std::function<void()>& change) {
        c.SetValue(50);
        c.SetValue(52);  // 75 and 78 of 150 pixels: the same seven chunks, not so when smooth
        const int n = renderers[0]->backdrop().FillCopies();
        change();
        return renderers[0]->backdrop().FillCopies() - n;
      };
      EXPECT_EQ(fillCopies([&] { c.SetValue(50); }), 1) << version;
      EXPECT_EQ(fillCopies([&] { c.SetValue(56); }), 0) << "another chunk";
      EXPECT_EQ(fillCopies([&] { c.SetProgressColor(kBlue); }), 0) << "progress colour";
      EXPECT_EQ(fillCopies([&] { c.SetSegmentBorders(!c.SegmentBorders()); }), 0) << "segment borders";
      EXPECT_EQ(fillCopies([&] { c.SetProgressPicture(same); }), 0) << "a progress picture";
      EXPECT_EQ(fillCopies([&] { c.SetProgressPicture(same); }), 0) << "the same picture set again";
      EXPECT_EQ(fillCopies([&] { c.SetScrolling(eProgressBarScrollSmooth); }), 0) << "scrolling";
      EXPECT_EQ(fillCopies([&] { c.SetValue(50); }), 0) << "smooth: every pixel of fill";
      c.SetScrolling(eProgressBarScrollStandard);
      EXPECT_EQ(fillCopies([&] { c.SetBackgroundPicture(same); }), 0) << "a background picture";
      EXPECT_EQ(fillCopies([&] { c.SetValue(50); }), 0) << "kept without its fill under a picture";
      // A backdrop kept alone, here in a marquee step, gives way to one with the fill.
      c.SetBackgroundPicture(nullptr);
      c.SetScrolling(eProgressBarScrollMarquee);
      c.SetScrolling(eProgressBarScrollStandard);
      EXPECT_EQ(fillCopies([&] { c.SetValue(50); }), 1) << "after a marquee";
    });
  }
}

// A fill grown by whole chunks is drawn as the copy of the kept one and the chunks after
// it: across and up the bar, plain, smooth and bordered, rising and falling, it gives
// the pixels of a paint that draws everything.
TEST(PaintDriver, AFillGrownFromTheKeptOneDrawsTheSamePixels) {
  OnNewThread([] {
    for (const auto& [width, height, orientation] : {std::tuple{200, 20, 0}, {24, 150, 1}}) {
      ControlRig kept(width, height, "winxp"), fresh(width, height, "winxp");
      StandardRenderers* renderers[2] = {};
      ControlRig* rigs[2] = {&kept, &fresh};
      for (int i = 0; i < 2; ++i) {
        auto r = std::make_unique<StandardRenderers>(rigs[i]->platform, rigs[i]->control->ops(), i == 0);
        renderers[i] = r.get();
        rigs[i]->control->SetRenderers(std::move(r));
        rigs[i]->platform.visualStyles = false;  // the system look draws flat chunks too
        rigs[i]->Start();
        rigs[i]->control->SetOrientation(orientation);
      }
      const auto both = [&](const std::function<void(Vantiq&)>& change, const char* what) {
        for (ControlRig* rig : rigs) change(*rig->control);
        for (int y = 0; y < height; ++y)
          for (int x = 0; x < width; ++x)
            ASSERT_EQ(kept.BufferPixel(x, y), fresh.BufferPixel(x, y))
                << what << " " << orientation << " at " << x << "," << y << ", value " << kept.control->Value();
      };
      for (std::int32_t style : {eProgStandard, eProgThin, eProgSystem}) {
        for (std::int32_t scrolling : {eProgressBarScrollStandard, eProgressBarScrollSmooth}) {
          for (bool borders : {false, true}) {
            both([&](Vantiq& c) {
              c.SetStyle(style);
              c.SetScrolling(scrolling);
              c.SetSegmentBorders(borders);
              c.SetValue(0);
            }, "settings");
            for (int v : {1, 2, 5, 9, 14, 30, 31, 60, 45, 46, 70, 99, 100, 3, 4})
              both([&](Vantiq& c) { c.SetValue(v); }, "value");
          }
        }
      }
      EXPECT_GT(renderers[0]->backdrop().StartCopies(), 40) << orientation;
      EXPECT_EQ(renderers[1]->backdrop().StartCopies(), 0);
    }
  });
}

}  // namespace
}  // namespace vantiq::testing

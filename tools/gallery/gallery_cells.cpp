// What the gallery shows.
#include "backends/soft/bitmap_picture.h"
#include "common/plain_host.h"
#include "gallery/gallery.h"

namespace vantiq::tools {
namespace {

const std::vector<std::pair<std::string, std::int32_t>> kStyles = {
    {"STANDARD", eProgStandard}, {"THIN", eProgThin}, {"XP", eProgXP}, {"STYLE 3", 3}, {"SYSTEM", eProgSystem}};
const std::vector<std::pair<std::string, std::int32_t>> kScrolling = {
    {"STD", eProgressBarScrollStandard}, {"SMOOTH", eProgressBarScrollSmooth}, {"MARQUEE", eProgressBarScrollMarquee}};
const double kFractions[] = {0, 42, 100};

std::function<void(Vantiq&, ScriptablePlatform&)> Bar(std::int32_t style, std::int32_t scrolling, double value,
                                                       std::int32_t orientation) {
  return [=](Vantiq& c, ScriptablePlatform&) {
    c.SetShowCaption(false);
    c.SetStyle(style);
    c.SetScrolling(scrolling);
    c.SetOrientation(orientation);
    c.SetValue(value);
  };
}

GallerySection Grid(const std::string& title, std::int32_t orientation, int w, int h) {
  GallerySection s;
  s.title = title;
  for (const auto& scroll : kScrolling)
    for (double f : kFractions) s.columns.push_back(scroll.first + " " + std::to_string(static_cast<int>(f)) + "%");
  for (const auto& style : kStyles) {
    s.rows.push_back(style.first);
    for (const auto& scroll : kScrolling)
      for (double f : kFractions) s.cells.push_back({w, h, "winxp", true, Bar(style.second, scroll.second, f, orientation)});
  }
  return s;
}

// A small two-colour picture: a checker for the background, stripes for the fill.
PictureRef Picture(ScriptablePlatform& platform, bool checker) {
  std::vector<ColorRef> pixels(64);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) {
      const bool on = checker ? ((x / 4 + y / 4) % 2 == 0) : ((x + y) % 4 < 2);
      pixels[static_cast<std::size_t>(y * 8 + x)] =
          checker ? (on ? Rgb(255, 244, 200) : Rgb(220, 232, 255)) : (on ? Rgb(230, 90, 40) : Rgb(250, 170, 60));
    }
  return std::make_shared<BitmapPicture>(platform.CreateBitmap(8, 8, pixels));
}

GalleryCell Option(std::function<void(Vantiq&, ScriptablePlatform&)> setup, std::string version = "winxp",
                   bool styles = true) {
  return {100, 16, std::move(version), styles, [setup](Vantiq& c, ScriptablePlatform& p) {
            c.SetShowCaption(false);
            c.SetValue(42);
            setup(c, p);
          }};
}

GallerySection Options() {
  GallerySection s;
  s.title = "OPTIONS AT 42%";
  s.columns = {"", "", ""};
  auto style = [](std::int32_t v) { return [v](Vantiq& c, ScriptablePlatform&) { c.SetStyle(v); }; };
  auto add = [&s](const std::string& label, std::vector<GalleryCell> cells) {
    s.rows.push_back(label);
    for (auto& cell : cells) s.cells.push_back(std::move(cell));
  };
  auto borders = [](std::int32_t v, std::int32_t scroll) {
    return [v, scroll](Vantiq& c, ScriptablePlatform&) {
      c.SetStyle(v);
      c.SetScrolling(scroll);
      c.SetSegmentBorders(true);
    };
  };
  add("BORDERS", {Option(borders(eProgStandard, 0)), Option(borders(eProgXP, 0)),
                  Option(borders(eProgXP, eProgressBarScrollMarquee))});
  auto colours = [](std::int32_t v) {
    return [v](Vantiq& c, ScriptablePlatform&) {
      c.SetStyle(v);
      c.SetProgressColor(Rgb(200, 40, 120));
      c.SetBackColor(Rgb(255, 250, 205));
      c.SetSegmentBorderColor(Rgb(20, 20, 140));
      c.SetSegmentBorders(true);
    };
  };
  add("COLOURS", {Option(colours(eProgStandard)), Option(colours(eProgThin)), Option(colours(eProgXP))});
  auto pictures = [](std::int32_t v, bool fill, bool back, std::int32_t scroll) {
    return [=](Vantiq& c, ScriptablePlatform& p) {
      c.SetStyle(v);
      c.SetScrolling(scroll);
      if (fill) c.SetProgressPicture(Picture(p, false));
      if (back) c.SetBackgroundPicture(Picture(p, true));
    };
  };
  add("PICTURES", {Option(pictures(eProgStandard, true, true, 0)), Option(pictures(eProgThin, false, true, 0)),
                   Option(pictures(eProgXP, true, true, eProgressBarScrollMarquee))});
  auto rtl = [](std::int32_t v) {
    return [v](Vantiq& c, ScriptablePlatform&) {
      c.SetStyle(v);
      c.SetRightToLeft(true);
    };
  };
  add("RIGHT TO LEFT", {Option(rtl(eProgStandard)), Option(rtl(eProgXP)), Option(rtl(eProgSystem))});
  add("SYSTEM STYLES", {Option(style(eProgSystem), "winxp", true), Option(style(eProgSystem), "winxp", false),
                        Option(style(eProgSystem), "win7", true)});
  add("98 2000 7", {Option(style(eProgSystem), "win98", false), Option(style(eProgSystem), "win2k", false),
                    Option(style(eProgXP), "win7", true)});
  return s;
}

using Setup = std::function<void(Vantiq&, ScriptablePlatform&)>;

// A 150 x 22 bar at 50% with its caption in red outside the fill and white over it.
GalleryCell Captioned(Setup setup, int width = 150, int height = 22, std::string version = "winxp") {
  return {width, height, std::move(version), true,
          [setup](Vantiq& c, ScriptablePlatform& p) {
            c.SetStyle(eProgStandard);
            c.SetForeColor(Rgb(180, 0, 0));
            c.SetAlternateForeColor(Rgb(255, 255, 255));
            c.SetValue(50);
            setup(c, p);
          },
          true};
}

Setup Text(const std::u16string& caption, std::int32_t align, bool rtl = false) {
  return [=](Vantiq& c, ScriptablePlatform&) {
    c.SetCaption(caption);
    c.SetTextAlignment(align);
    c.SetRightToLeft(rtl);
  };
}

Setup Shadowed(std::int32_t intensity, OleColor outside, OleColor inside) {
  return [=](Vantiq& c, ScriptablePlatform&) {
    c.SetCaption(u"Shadow");
    c.SetShadowColor(outside);
    c.SetAlternateShadowColor(inside);
    c.SetShadowIntensity(intensity);
    c.SetShadow(true);
  };
}

GallerySection Captions() {
  GallerySection s;
  s.title = "CAPTIONS";
  s.columns = {"", "", ""};
  auto add = [&s](const std::string& label, std::vector<GalleryCell> cells) {
    s.rows.push_back(label);
    for (auto& cell : cells) s.cells.push_back(std::move(cell));
  };
  add("ALIGNED", {Captioned(Text(u"Left", ePbTextAlignLeft)), Captioned(Text(u"Centred across", ePbTextAlignCenter)),
                  Captioned(Text(u"Right", ePbTextAlignRight))});
  add("RIGHT TO LEFT", {Captioned(Text(u"Left", ePbTextAlignLeft, true)),
                        Captioned(Text(u"Right", ePbTextAlignRight, true)),
                        Captioned([](Vantiq& c, ScriptablePlatform&) {
                          c.SetStyle(eProgXP);
                          c.SetRightToLeft(true);
                          c.SetValue(33);
                        })});
  add("SHADOW", {Captioned(Shadowed(96, Rgb(0, 0, 0), Rgb(0, 0, 0))),
                 Captioned(Shadowed(192, Rgb(0, 90, 220), Rgb(0, 0, 0))),
                 Captioned(Shadowed(255, Rgb(255, 160, 0), Rgb(120, 0, 160)))});
  add("TEXT", {Captioned([](Vantiq& c, ScriptablePlatform&) {
                 if (auto* host = dynamic_cast<PlainHost*>(&c.host()))
                   host->onProgressText = [](double& v, double&, double& max, std::u16string& text) {
                     text = u"Step " + std::u16string(1, static_cast<char16_t>(u'0' + static_cast<int>(v / max * 9))) + u" of 9";
                   };
                 c.SetCaptionCallBack(true);
               }),
               // UTF-8 bytes held one per character, as hosts hand them over: "Grüße, Привет".
               Captioned(Text(u"GrÃ¼ÃŸe, ÐŸÑ€Ð¸Ð²ÐµÑ‚",
                              ePbTextAlignCenter)),
               Captioned([](Vantiq& c, ScriptablePlatform&) {
                 c.SetPercentFormat(u"0.0");
                 c.SetValue(66.66);
                 c.Font()->SetBold(true);
               })});
  add("VERTICAL", {Captioned([](Vantiq& c, ScriptablePlatform&) { c.SetOrientation(eProgressBarOrientationVertical); },
                             26, 90),
                   Captioned(
                       [](Vantiq& c, ScriptablePlatform&) {
                         c.SetOrientation(eProgressBarOrientationVertical);
                         c.SetCaption(u"Up");
                         c.SetShadowColor(Rgb(0, 0, 0));
                         c.SetShadow(true);
                       },
                       26, 90),
                   Captioned(
                       [](Vantiq& c, ScriptablePlatform&) {
                         c.SetStyle(eProgSystem);
                         c.SetAlternateForeColor(kAutoTextColor);
                         c.SetForeColor(0);
                       },
                       150, 22)});
  return s;
}

}  // namespace

std::vector<GallerySection> GallerySections() {
  return {Grid("HORIZONTAL", eProgressBarOrientationHorizontal, 100, 16),
          Grid("VERTICAL", eProgressBarOrientationVertical, 16, 60), Options(), Captions()};
}

}  // namespace vantiq::tools

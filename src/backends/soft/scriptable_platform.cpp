#include "backends/soft/scriptable_platform.h"

#include <algorithm>
#include <climits>
#include <new>
#include <stdexcept>

#include "backends/soft/soft_surface.h"
#include "draw/surface.h"
#include "platform/progress_theme.h"

namespace vantiq {
namespace {

// Windows XP's system colours under its default visual style (Luna, blue scheme),
// by index: COLOR_SCROLLBAR (0) to COLOR_MENUBAR (30). Index 25 has no name in the
// headers; XP answers its "ButtonAlternateFace" grey there.
constexpr std::array<ColorRef, 31> kXpLunaColors = {
    Rgb(212, 208, 200),  // 0  scroll bar
    Rgb(0, 78, 152),     // 1  desktop
    Rgb(0, 84, 227),     // 2  active caption
    Rgb(122, 150, 223),  // 3  inactive caption
    Rgb(255, 255, 255),  // 4  menu
    Rgb(255, 255, 255),  // 5  window
    Rgb(0, 0, 0),        // 6  window frame
    Rgb(0, 0, 0),        // 7  menu text
    Rgb(0, 0, 0),        // 8  window text
    Rgb(255, 255, 255),  // 9  caption text
    Rgb(212, 208, 200),  // 10 active border
    Rgb(212, 208, 200),  // 11 inactive border
    Rgb(128, 128, 128),  // 12 application workspace
    Rgb(49, 106, 197),   // 13 highlight
    Rgb(255, 255, 255),  // 14 highlight text
    Rgb(236, 233, 216),  // 15 button face
    Rgb(172, 168, 153),  // 16 button shadow
    Rgb(172, 168, 153),  // 17 grey text
    Rgb(0, 0, 0),        // 18 button text
    Rgb(216, 228, 248),  // 19 inactive caption text
    Rgb(255, 255, 255),  // 20 button highlight
    Rgb(113, 111, 100),  // 21 3D dark shadow
    Rgb(241, 239, 226),  // 22 3D light
    Rgb(0, 0, 0),        // 23 tooltip text
    Rgb(255, 255, 225),  // 24 tooltip background
    Rgb(181, 181, 181),  // 25 alternate button face
    Rgb(0, 0, 128),      // 26 hot-tracked item
    Rgb(61, 149, 255),   // 27 active caption gradient
    Rgb(157, 185, 235),  // 28 inactive caption gradient
    Rgb(49, 106, 197),   // 29 menu highlight
    Rgb(236, 233, 216),  // 30 menu bar
};

// uxtheme's answers for a handle it does not know and a property a theme lacks.
constexpr HResult kEHandle = static_cast<HResult>(0x80070006u);
constexpr HResult kEPropIdUnsupported = static_cast<HResult>(0x80070490u);

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }
char16_t AsciiLower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

template <typename String>
bool EqualsIgnoringCase(const String& a, const String& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [](auto x, auto y) { return AsciiLower(x) == AsciiLower(y); });
}

// LoadLibrary's rule: a name without an extension gets ".dll"; a trailing dot
// stands for "no extension" and is dropped.
std::string WithDefaultExtension(std::string name) {
  const std::size_t slash = name.find_last_of("\\/");
  const std::size_t base = slash == std::string::npos ? 0 : slash + 1;
  const std::size_t dot = name.find('.', base);
  if (dot == std::string::npos) return name + ".dll";
  if (dot == name.size() - 1) name.pop_back();
  return name;
}

// The themed classes this platform knows, in the spelling it reports them.
const std::u16string kThemeClasses[] = {u"Progress", u"Button"};

// The first class of a semicolon-separated list that is known; empty when none is.
std::u16string FindThemeClass(const std::u16string& classList) {
  std::size_t start = 0;
  while (start <= classList.size()) {
    std::size_t end = classList.find(u';', start);
    if (end == std::u16string::npos) end = classList.size();
    const std::u16string name = classList.substr(start, end - start);
    for (const std::u16string& known : kThemeClasses) {
      if (EqualsIgnoringCase(name, known)) return known;
    }
    start = end + 1;
  }
  return {};
}

// Narrows drawing to `clip` inside whatever clip the surface already has, and puts
// the surface's own clip back afterwards.
class ClipScope {
 public:
  ClipScope(Surface& dc, const std::optional<Rect>& clip) : dc_(dc), saved_(dc.Clip()) {
    if (clip) dc_.SetClip(saved_ ? Intersect(*saved_, *clip) : *clip);
  }
  ~ClipScope() { dc_.SetClip(saved_); }
  ClipScope(const ClipScope&) = delete;
  ClipScope& operator=(const ClipScope&) = delete;

 private:
  Surface& dc_;
  std::optional<Rect> saved_;
};

}  // namespace

ScriptablePlatform::ScriptablePlatform() : sysColors(kXpLunaColors) {
  SetVersion("win7");
  libraries["msimg32.dll"] = {"GradientFill", "AlphaBlend", "TransparentBlt"};
}

void ScriptablePlatform::SetVersion(const std::string& name) {
  struct Known {
    const char* name;
    std::uint32_t platformId, major, minor, build;
  };
  // The 9x family keeps major and minor in the high word of the build field.
  static const Known kKnown[] = {
      {"win98", kVerPlatformWin32Windows, 4, 10, 0x040A08AE},
      {"winme", kVerPlatformWin32Windows, 4, 90, 0x045A0BB8},
      {"win2k", kVerPlatformWin32Nt, 5, 0, 2195},
      {"winxp", kVerPlatformWin32Nt, 5, 1, 2600},
      {"win2003", kVerPlatformWin32Nt, 5, 2, 3790},
      {"vista", kVerPlatformWin32Nt, 6, 0, 6002},
      {"win7", kVerPlatformWin32Nt, 6, 1, 7601},
      {"win10", kVerPlatformWin32Nt, 10, 0, 19045},
  };
  for (const Known& k : kKnown) {
    if (name != k.name) continue;
    version.dwPlatformId = k.platformId;
    version.dwMajorVersion = k.major;
    version.dwMinorVersion = k.minor;
    version.dwBuildNumber = k.build;
    return;
  }
  throw std::invalid_argument("ScriptablePlatform::SetVersion: unknown version " + name);
}

WindowHandle ScriptablePlatform::AddWindow(int width, int height) {
  const WindowHandle hwnd = nextWindow_;
  nextWindow_ += 4;  // window handles are multiples of 4 on Windows too
  windows_[hwnd].client = Rect{0, 0, width, height};
  return hwnd;
}

void ScriptablePlatform::RemoveWindow(WindowHandle hwnd) { windows_.erase(hwnd); }

SoftWindow* ScriptablePlatform::Window(WindowHandle hwnd) {
  auto it = windows_.find(hwnd);
  return it == windows_.end() ? nullptr : &it->second;
}

// --- kernel32 ---------------------------------------------------------------------

bool ScriptablePlatform::GetVersionExA(OsVersionInfo& info) {
  ++versionQueries;
  // GetVersionExA accepts the two sizes of its record: OSVERSIONINFOA and ...EXA.
  if (versionQueryFails || (info.dwOSVersionInfoSize != 148 && info.dwOSVersionInfoSize != 156)) {
    return false;
  }
  const std::uint32_t size = info.dwOSVersionInfoSize;
  info = version;
  info.dwOSVersionInfoSize = size;
  return true;
}

ModuleHandle ScriptablePlatform::LoadLibraryA(const std::string& name) {
  const std::string wanted = WithDefaultExtension(name);
  for (const auto& library : libraries) {
    if (!EqualsIgnoringCase(library.first, wanted)) continue;
    const ModuleHandle module = nextModule_;
    nextModule_ += 0x10000;  // modules sit on 64 KB boundaries
    modules_[module] = library.first;
    ++librariesLoaded;
    return module;
  }
  return 0;
}

bool ScriptablePlatform::GetProcAddress(ModuleHandle module, const std::string& name) {
  auto loaded = modules_.find(module);
  if (loaded == modules_.end()) return false;
  auto library = libraries.find(loaded->second);
  // Export names compare exactly, as GetProcAddress compares them.
  return library != libraries.end() && library->second.count(name) != 0;
}

void ScriptablePlatform::FreeLibrary(ModuleHandle module) {
  if (modules_.erase(module) != 0) --librariesLoaded;
}

// --- user32 -----------------------------------------------------------------------

ColorRef ScriptablePlatform::GetSysColor(int index) {
  if (index < 0 || index >= static_cast<int>(sysColors.size())) return 0;
  return sysColors[static_cast<std::size_t>(index)];
}

bool ScriptablePlatform::IsWindow(WindowHandle hwnd) { return Window(hwnd) != nullptr; }

Rect ScriptablePlatform::GetClientRect(WindowHandle hwnd) {
  const SoftWindow* w = Window(hwnd);
  return w ? w->client : Rect{};
}

RegionType ScriptablePlatform::GetWindowRgnType(WindowHandle hwnd) {
  // GetWindowRgn answers ERROR for a window without a region, as for no window.
  SoftWindow* w = Window(hwnd);
  if (w != nullptr) ++w->getRegionCalls;
  if (w == nullptr || !w->region) return RegionType::kError;
  return w->region->Type();
}

void ScriptablePlatform::SetWindowRgn(WindowHandle hwnd, const std::optional<Region>& region,
                                      bool redraw) {
  SoftWindow* w = Window(hwnd);
  if (w == nullptr) return;
  w->region = region;
  ++w->setRegionCalls;
}

// --- oleaut32 ---------------------------------------------------------------------

HResult ScriptablePlatform::OleTranslateColor(OleColor color, ColorRef& out) {
  // The high byte says what the value is.
  switch (color >> 24) {
    case 0x00:  // an RGB value
    case 0x01:  // a palette index: without a palette it passes unchecked
    case 0x02:  // a palette-relative RGB value: passes as it is
      out = color;
      return kSOk;
    case 0x80: {
      // A system colour: oleaut32 reads the index from the low byte alone.
      const int index = static_cast<int>(color & 0xFF);
      if (index >= static_cast<int>(sysColors.size())) return kEInvalidArg;
      out = GetSysColor(index);
      return kSOk;
    }
    default:
      return kEInvalidArg;
  }
}

// --- uxtheme ----------------------------------------------------------------------

ThemeHandle ScriptablePlatform::OpenThemeData(WindowHandle hwnd, const std::u16string& classList) {
  ++themeCalls;
  if (!themeApiPresent || !visualStyles || !IsWindow(hwnd)) return 0;
  std::u16string themeClass = FindThemeClass(classList);
  if (themeClass.empty()) return 0;
  const ThemeHandle theme = nextTheme_;
  nextTheme_ += 8;
  themes_[theme] = std::move(themeClass);
  ++themesOpen;
  return theme;
}

void ScriptablePlatform::CloseThemeData(ThemeHandle theme) {
  ++themeCalls;
  if (themes_.erase(theme) != 0) --themesOpen;
}

HResult ScriptablePlatform::GetCurrentThemeName(char16_t* file, char16_t* color, char16_t* size,
                                                int capacity) {
  ++themeCalls;
  if (!themeApiPresent) return kEFail;
  if (!visualStyles) return kEPropIdUnsupported;  // no theme is loaded
  if (capacity <= 0) return kEInvalidArg;
  // lstrcpyn: at most capacity - 1 characters, always terminated; a null buffer is
  // left out.
  auto copy = [capacity](char16_t* to, const std::u16string& from) {
    if (to == nullptr) return;
    const std::size_t n = std::min(from.size(), static_cast<std::size_t>(capacity - 1));
    std::copy_n(from.begin(), n, to);
    to[n] = u'\0';
  };
  copy(file, themeFile);
  copy(color, colorName);
  copy(size, sizeName);
  return kSOk;
}

HResult ScriptablePlatform::DrawThemeBackground(ThemeHandle theme, Surface& dc, int part,
                                                int state, const Rect& rc, const Rect* clip) {
  ++themeCalls;
  ++themeDraws;
  auto it = themes_.find(theme);
  if (it == themes_.end()) return kEHandle;
  if (it->second != u"Progress" || part < kPartBar || part > kPartChunkVert) return kEFail;
  if (rc.IsEmpty()) return kSOk;

  ClipScope scope(dc, clip ? std::optional<Rect>(*clip) : std::nullopt);
  if (dc.Clip() && dc.Clip()->IsEmpty()) return kSOk;
  switch (part) {
    case kPartBar:
    case kPartBarVert: {
      dc.FillRect(rc, kThemeBarFill);
      dc.FrameRect(rc, kThemeBarFrame);
      if (rc.Width() > 2 && rc.Height() > 2) {
        if (part == kPartBar) {
          dc.Line(rc.left + 1, rc.top + 1, rc.right - 1, rc.top + 1, kThemeBarShine);
        } else {
          dc.Line(rc.left + 1, rc.top + 1, rc.left + 1, rc.bottom - 1, kThemeBarShine);
        }
      }
      return kSOk;
    }
    case kPartChunk:
      return dc.GradientFill(rc, kThemeChunkLight, kThemeChunkDark, GradientDirection::kVertical)
                 ? kSOk
                 : kEFail;
    default:  // kPartChunkVert
      return dc.GradientFill(rc, kThemeChunkLight, kThemeChunkDark,
                             GradientDirection::kHorizontal)
                 ? kSOk
                 : kEFail;
  }
}

HResult ScriptablePlatform::DrawThemeParentBackground(WindowHandle hwnd, Surface& dc,
                                                      const Rect& rc) {
  ++themeCalls;
  // Needs no theme, only the call itself and a window whose parent it asks to paint;
  // the parent here is a plain dialog in the button-face colour.
  if (!themeApiPresent || !IsWindow(hwnd)) return kEFail;
  dc.FillRect(rc, GetSysColor(kColorBtnFace));
  return kSOk;
}

bool ScriptablePlatform::IsThemeBackgroundPartiallyTransparent(ThemeHandle theme, int part,
                                                               int /*state*/) {
  ++themeCalls;
  if (themes_.find(theme) == themes_.end()) return true;
  if (part == kPartBar || part == kPartBarVert) return themeBarTransparent;
  return themeChunkTransparent;
}

HResult ScriptablePlatform::GetThemeInt(ThemeHandle theme, int part, int state, int propId,
                                        int& value) {
  ++themeCalls;
  auto it = themes_.find(theme);
  if (it == themes_.end()) return kEHandle;
  // The class-wide values answer for every part and state.
  if (it->second == u"Progress" && propId == kTmtProgressChunkSize) {
    value = themeChunkSize;
    return kSOk;
  }
  if (it->second == u"Progress" && propId == kTmtProgressSpaceSize) {
    value = themeSpaceSize;
    return kSOk;
  }
  return kEPropIdUnsupported;
}

// --- gdi32 ------------------------------------------------------------------------

std::unique_ptr<Surface> ScriptablePlatform::CreateBackBuffer(int width, int height) {
  if (backBufferFails || width <= 0 || height <= 0) return nullptr;
  if (backBufferFactory) return backBufferFactory(width, height);
  return std::make_unique<SoftSurface>(width, height, *this);
}

std::unique_ptr<Surface> ScriptablePlatform::CreateDibSection(int width, int height) {
  // A section's size in bytes is a 32-bit field (biSizeImage); larger ones fail, as
  // any that memory cannot hold.
  if (dibSectionFails || width <= 0 || height <= 0 ||
      std::int64_t{width} * height * 4 > INT_MAX) {
    return nullptr;
  }
  try {
    if (dibSectionFactory) return dibSectionFactory(width, height);
    return std::make_unique<SoftSurface>(width, height, *this);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

std::uintptr_t ScriptablePlatform::CreateBitmap(int width, int height,
                                                std::vector<ColorRef> pixels) {
  if (width <= 0 || height <= 0 ||
      pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
    throw std::invalid_argument("ScriptablePlatform::CreateBitmap: wrong size");
  }
  const std::uintptr_t bitmap = nextBitmap_;
  nextBitmap_ += 4;
  bitmaps_[bitmap] = Bitmap{width, height, std::move(pixels)};
  return bitmap;
}

void ScriptablePlatform::DeleteBitmap(std::uintptr_t bitmap) { bitmaps_.erase(bitmap); }

bool ScriptablePlatform::GetBitmapSize(std::uintptr_t bitmap, int& width, int& height) {
  auto it = bitmaps_.find(bitmap);
  if (it == bitmaps_.end()) return false;
  width = it->second.width;
  height = it->second.height;
  return true;
}

bool ScriptablePlatform::CopyBitmap(std::uintptr_t bitmap, Surface& target, int width,
                                    int height) {
  auto it = bitmaps_.find(bitmap);
  if (it == bitmaps_.end()) return false;
  const Bitmap& b = it->second;
  if (dynamic_cast<SoftSurface*>(&target) == nullptr) {
    // A surface of another backend (a GDI section made by dibSectionFactory): pixel by
    // pixel, cut to both sizes as BitBlt cuts.
    for (int y = 0; y < std::min({height, b.height, target.Height()}); ++y)
      for (int x = 0; x < std::min({width, b.width, target.Width()}); ++x)
        target.SetPixel(x, y, b.pixels[static_cast<std::size_t>(y) * b.width + x]);
    return true;
  }
  // The bitmap as a surface of its own, then BitBlt's clipping and copy.
  SoftSurface source(b.width, b.height, *this);
  for (int y = 0; y < b.height; ++y) {
    for (int x = 0; x < b.width; ++x) {
      source.SetPixel(x, y, b.pixels[static_cast<std::size_t>(y) * b.width + x]);
    }
  }
  target.CopyFrom(0, 0, width, height, source, 0, 0);
  return true;
}

std::unique_ptr<TipWindow> ScriptablePlatform::CreateTipWindow() {
  return std::make_unique<ScriptableTipWindow>(tooltips, *this);
}

}  // namespace vantiq

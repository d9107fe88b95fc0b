#include "platform/color_xp.h"

#include "platform/mod_version_ex.h"
#include "platform/text_case.h"

namespace vantiq {
namespace {

constexpr int kNameCapacity = 256;

// Closes the theme it holds when the operation ends, whichever way it ends.
class ButtonTheme {
 public:
  ButtonTheme(Platform& platform, WindowHandle hWnd)
      : platform_(platform), theme_(platform.OpenThemeData(hWnd, u"Button")) {}
  ~ButtonTheme() {
    if (theme_ != 0) platform_.CloseThemeData(theme_);
  }
  ButtonTheme(const ButtonTheme&) = delete;
  ButtonTheme& operator=(const ButtonTheme&) = delete;

  bool IsOpen() const { return theme_ != 0; }

 private:
  Platform& platform_;
  ThemeHandle theme_;
};

}  // namespace

bool CColorXP::IsVisualStyleActive(WindowHandle hWnd) {
  // Window 0 is refused before any theme call: OpenThemeData accepts a null
  // window and would answer for the desktop instead.
  if (!(modVersionEx::IsWinXPOrLater(platform_) || modVersionEx::IsWinVista(platform_))) {
    return false;
  }
  if (hWnd == 0) return false;
  return ButtonTheme(platform_, hWnd).IsOpen();
}

bool CColorXP::ReadNamesForWindow(WindowHandle hWnd) {
  if (!modVersionEx::IsWinXPOrLater(platform_) || hWnd == 0) return false;
  ButtonTheme theme(platform_, hWnd);
  if (!theme.IsOpen()) return false;
  ReadCurrentThemeName();
  return true;
}

std::u16string CColorXP::ThemeFileName(WindowHandle hWnd) {
  if (!ReadNamesForWindow(hWnd)) return {};
  return UpperCase(fileName_);
}

std::u16string CColorXP::ThemeColorName(WindowHandle hWnd) {
  if (!ReadNamesForWindow(hWnd)) return {};
  return UpperCase(colorName_);
}

void CColorXP::ReadCurrentThemeName() {
  std::u16string file(kNameCapacity, u' ');
  std::u16string color(kNameCapacity, u' ');
  std::u16string size(kNameCapacity, u' ');
  if (platform_.GetCurrentThemeName(&file[0], &color[0], &size[0], kNameCapacity) != kSOk) {
    fileName_.clear();
    colorName_.clear();
    sizeName_.clear();
    return;
  }
  fileName_ = StripAtNull(file);
  colorName_ = StripAtNull(color);
  sizeName_ = StripAtNull(size);
}

std::u16string CColorXP::StripAtNull(const std::u16string& text) {
  return text.substr(0, text.find(u'\0'));
}

}  // namespace vantiq

// The visual-style state and theme identity of one window: are visual styles in
// force for it, and which theme file and colour variant are current.
#pragma once

#include <string>

#include "platform/platform.h"

namespace vantiq {

class CColorXP {
 public:
  // `platform` must outlive the object.
  explicit CColorXP(Platform& platform) : platform_(platform) {}

  // True when the system can have visual styles (XP or later) and the window gets
  // a theme for the "Button" class. False for window 0.
  bool IsVisualStyleActive(WindowHandle hWnd);
  // The current theme's file path, upper-cased; empty where IsVisualStyleActive
  // would be false or the name cannot be read.
  std::u16string ThemeFileName(WindowHandle hWnd);
  // The current colour variant ("NORMALCOLOR", "HOMESTEAD"...), upper-cased; empty
  // in the same cases.
  std::u16string ThemeColorName(WindowHandle hWnd);

  // Reads the three names afresh; a failed read empties all three.
  void ReadCurrentThemeName();
  // The text before the first NUL; all of it when there is none.
  static std::u16string StripAtNull(const std::u16string& text);

  // The names as last read, in the platform's own case.
  const std::u16string& FileName() const { return fileName_; }
  const std::u16string& ColorName() const { return colorName_; }
  const std::u16string& SizeName() const { return sizeName_; }

 private:
  // Opens a "Button" theme for hWnd where XP-or-later allows one, reads the names
  // and closes the theme again; false when no theme could be opened.
  bool ReadNamesForWindow(WindowHandle hWnd);

  Platform& platform_;
  std::u16string fileName_;
  std::u16string colorName_;
  std::u16string sizeName_;
};

}  // namespace vantiq

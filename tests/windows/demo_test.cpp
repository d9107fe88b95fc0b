// The demo program as scripts/demo.sh runs it: it saves its window after some frames,
// and every control of it is drawn (no blank or black cells).
#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>

#include "backends/soft/png_file.h"
#include "demo/demo_layout.h"
#include "support/project_files.h"

namespace vantiq::testing {
namespace {

TEST(Demo, ScreenshotShowsEveryControlDrawn) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring shot = std::wstring(temp) + L"vantiq-demo-test.png";
  DeleteFileW(shot.c_str());
  ASSERT_EQ(RunProgram(L"\"" + ProgramFolder() + L"vantiq-demo.exe\" --screenshot \"" + shot + L"\" --frames 12"), 0u);
  const std::optional<Image> image = ReadPng(std::string(shot.begin(), shot.end()));
  DeleteFileW(shot.c_str());
  ASSERT_TRUE(image.has_value());
  ASSERT_EQ(image->width, demo::kWindowWidth);
  ASSERT_EQ(image->height, demo::kWindowHeight);
  for (const demo::Cell& cell : demo::kCells) {
    std::set<ColorRef> colours;
    int black = 0, pixels = 0;
    for (int y = cell.rect.top; y < cell.rect.bottom; ++y)
      for (int x = cell.rect.left; x < cell.rect.right; ++x, ++pixels) {
        colours.insert(image->At(x, y));
        black += image->At(x, y) == 0;
      }
    const std::string name(cell.label, cell.label + wcslen(cell.label));
    EXPECT_GE(colours.size(), 3u) << name << ": a blank cell";
    EXPECT_LT(black * 4, pixels) << name << ": a black cell";
  }
}

}  // namespace
}  // namespace vantiq::testing

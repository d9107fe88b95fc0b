#include "gallery/gallery.h"

#include <algorithm>
#include <thread>

#include "common/label_font.h"
#include "common/plain_host.h"

namespace vantiq::tools {
namespace {

constexpr ColorRef kPage = Rgb(250, 250, 250);
constexpr ColorRef kInk = Rgb(60, 60, 60);
constexpr int kScale = 2;     // label pixels per font pixel
constexpr int kLine = 7 * kScale;
constexpr int kGap = 10;

}  // namespace

Image RenderCell(const GalleryCell& cell, const SurfaceMaker& make, SystemColors* colors) {
  Image out;
  // The version answers are remembered per thread: each cell gets a thread of its own.
  std::thread([&] {
    ScriptablePlatform platform;
    platform.SetVersion(cell.version);
    platform.visualStyles = cell.visualStyles;
    if (colors)
      for (std::size_t i = 0; i < platform.sysColors.size(); ++i)
        platform.sysColors[i] = colors->GetSysColor(static_cast<int>(i));
    platform.backBufferFactory = [&](int w, int h) { return make(w, h, platform); };
    platform.dibSectionFactory = [&](int w, int h) { return make(w, h, platform); };
    const WindowHandle hwnd = platform.AddWindow(cell.width, cell.height);
    std::unique_ptr<Surface> screen = make(cell.width, cell.height, platform);
    PlainHost host(hwnd, *screen, cell.width, cell.height);
    Vantiq control(host, platform);
    control.Initialize();
    control.InitProperties();
    control.Resize();
    control.Show();
    if (cell.setup) cell.setup(control, platform);
    control.Paint();
    out = Capture(*screen);
    // Pixels the window region cuts away are not the control's: show the page there.
    if (const SoftWindow* window = platform.Window(hwnd); window && window->region)
      for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x)
          if (!window->region->Contains(x, y)) out.Set(x, y, kPage);
    control.Terminate();
  }).join();
  return out;
}

Image RenderGallery(const std::vector<GallerySection>& sections, const SurfaceMaker& make, SystemColors* colors) {
  struct Placed {
    Image image;
    int x, y;
  };
  std::vector<Placed> placed;
  std::vector<std::pair<std::string, std::pair<int, int>>> labels;
  int width = 0, y = kGap;
  for (const GallerySection& section : sections) {
    labels.push_back({section.title, {kGap, y}});
    y += kLine + kGap;
    int rowLabelWidth = 0;
    for (const std::string& r : section.rows) rowLabelWidth = std::max(rowLabelWidth, LabelWidth(r, kScale));
    const std::size_t columns = section.columns.size();
    std::vector<int> pitch(columns, 0);
    std::vector<int> rowHeight(section.rows.size(), 0);
    for (std::size_t i = 0; i < section.cells.size(); ++i) {
      const GalleryCell& c = section.cells[i];
      pitch[i % columns] = std::max({pitch[i % columns], c.width, LabelWidth(section.columns[i % columns], kScale)});
      rowHeight[i / columns] = std::max(rowHeight[i / columns], c.height);
    }
    const int left = kGap + rowLabelWidth + kGap;
    int x = left;
    const bool headings = std::any_of(section.columns.begin(), section.columns.end(),
                                      [](const std::string& c) { return !c.empty(); });
    if (headings) {
      for (std::size_t col = 0; col < columns; ++col) {
        labels.push_back({section.columns[col], {x, y}});
        x += pitch[col] + kGap;
      }
      y += kLine;
    }
    for (std::size_t row = 0; row < section.rows.size(); ++row) {
      const int cellHeight = rowHeight[row];
      labels.push_back({section.rows[row], {kGap, y + (cellHeight - 5 * kScale) / 2}});
      x = left;
      for (std::size_t col = 0; col < columns; ++col) {
        const GalleryCell& c = section.cells[row * columns + col];
        placed.push_back({RenderCell(c, make, colors), x, y});
        x += pitch[col] + kGap;
      }
      width = std::max(width, x);
      y += cellHeight + kGap;
    }
    y += kGap;
  }
  Image page(width, y, kPage);
  for (const Placed& p : placed) page.Paste(p.image, p.x, p.y);
  for (const auto& [text, at] : labels) DrawLabel(page, at.first, at.second, text, kInk, kScale);
  return page;
}

}  // namespace vantiq::tools

// The gallery: a labelled grid of the control in every look, orientation, scrolling
// mode and option, rendered through whichever backend makes the surfaces.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "backends/soft/png_file.h"
#include "backends/soft/scriptable_platform.h"
#include "control/vantiq.h"

namespace vantiq::tools {

// Makes a blank w x h surface whose edges use `colors`.
using SurfaceMaker = std::function<std::unique_ptr<Surface>(int w, int h, SystemColors& colors)>;

struct GalleryCell {
  int width = 100;
  int height = 16;
  std::string version = "winxp";
  bool visualStyles = true;
  // Sets the cell's properties once the control has started.
  std::function<void(Vantiq&, ScriptablePlatform&)> setup;
  // The cell shows a caption: its glyphs differ slightly from one text engine to another.
  bool text = false;
};

struct GallerySection {
  std::string title;
  std::vector<std::string> columns;  // column headings
  std::vector<std::string> rows;     // row headings
  std::vector<GalleryCell> cells;    // row by row, columns.size() cells a row
};

std::vector<GallerySection> GallerySections();

// One cell: a started control on a scripted platform, drawing on surfaces from `make`;
// the pixels of its window. With `colors` the platform reports those system colours.
Image RenderCell(const GalleryCell& cell, const SurfaceMaker& make, SystemColors* colors);

// The sections, headed and labelled, one below the other.
Image RenderGallery(const std::vector<GallerySection>& sections, const SurfaceMaker& make, SystemColors* colors);

}  // namespace vantiq::tools

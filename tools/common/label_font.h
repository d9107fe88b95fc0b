// A tiny 3 x 5 pixel font for labelling pictures made by the tools: upper-case
// letters, digits and a few signs, drawn with plain pixel writes so that every
// backend draws the same labels.
#pragma once

#include <string>

#include "backends/soft/png_file.h"

namespace vantiq::tools {

// Draws text with its top-left corner at (x, y), each font pixel `scale` pixels wide;
// lower-case letters are drawn as capitals and unknown characters as blanks.
void DrawLabel(Image& image, int x, int y, const std::string& text, ColorRef color, int scale = 1);
// The width DrawLabel takes for text.
int LabelWidth(const std::string& text, int scale = 1);

}  // namespace vantiq::tools

// Where the demo puts its controls, shared with the test that checks its screenshot.
#pragma once

#include <windows.h>

namespace vantiq::demo {

constexpr int kWindowWidth = 560;
constexpr int kWindowHeight = 330;

struct Cell {
  const wchar_t* label;
  RECT rect;  // the control, in the window's client pixels
};

// Two columns of horizontal bars and, on the right, two vertical ones.
constexpr Cell kCells[] = {
    {L"Standard", {110, 10, 330, 32}},
    {L"Thin, smooth", {110, 42, 330, 64}},
    {L"XP look", {110, 74, 330, 96}},
    {L"Visual style", {110, 106, 330, 128}},
    {L"Marquee", {110, 138, 330, 160}},
    {L"Pictures", {110, 170, 330, 192}},
    {L"Shadow", {110, 202, 330, 228}},
    {L"Right to left", {110, 238, 330, 260}},
    {L"Callback text", {110, 270, 330, 292}},
    {L"Tooltip", {110, 302, 330, 324}},
    {L"Vertical", {370, 10, 400, 320}},
    {L"Vertical XP", {430, 10, 460, 320}},
};
constexpr int kCellCount = sizeof(kCells) / sizeof(kCells[0]);

}  // namespace vantiq::demo

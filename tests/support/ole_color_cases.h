// OleTranslateColor without a palette, as oleaut32 answers it: one table that both
// the scriptable platform and the real one are held to.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace vantiq::testing {

struct OleColorCase {
  OleColor input;
  HResult result;
  // On success: the system colour index the answer comes from, or -1 when the
  // input itself comes back.
  int systemIndex;
};

inline constexpr OleColorCase kOleColorCases[] = {
    {0x00000000u, kSOk, -1},          {0x00123456u, kSOk, -1},
    {0x00FFFFFFu, kSOk, -1},
    {0x01000005u, kSOk, -1},          // a palette index, unchecked without a palette
    {0x0100FFFFu, kSOk, -1},
    {0x02123456u, kSOk, -1},          // palette-relative RGB
    {0x03000000u, kEInvalidArg, 0},   {0x04000000u, kEInvalidArg, 0},
    {0x7F000000u, kEInvalidArg, 0},   {0x81000000u, kEInvalidArg, 0},
    {0xFF000000u, kEInvalidArg, 0},   {0xFFFFFFFFu, kEInvalidArg, 0},
    {0x80000000u, kSOk, 0},           {0x8000000Du, kSOk, 13},
    {0x8000000Eu, kSOk, 14},          {0x8000000Fu, kSOk, 15},
    {0x8000001Eu, kSOk, 30},          // COLOR_MENUBAR, the last index
    {0x8000001Fu, kEInvalidArg, 0},   {0x800000FFu, kEInvalidArg, 0},
    // Only the low byte names the system colour; the bytes between are ignored.
    {0x80000100u, kSOk, 0},           {0x8000010Fu, kSOk, 15},
    {0x80FF000Fu, kSOk, 15},          {0x80FFFF1Fu, kEInvalidArg, 0},
};

}  // namespace vantiq::testing

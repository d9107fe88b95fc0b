// The parts and metrics of the visual-style class "Progress" that the control draws with.
#pragma once

namespace vantiq {

constexpr int kPartBar = 1;        // PP_BAR: horizontal bar background
constexpr int kPartBarVert = 2;    // PP_BARVERT
constexpr int kPartChunk = 3;      // PP_CHUNK: horizontal chunk
constexpr int kPartChunkVert = 4;  // PP_CHUNKVERT

constexpr int kTmtProgressChunkSize = 2411;  // TMT_PROGRESSCHUNKSIZE
constexpr int kTmtProgressSpaceSize = 2412;  // TMT_PROGRESSSPACESIZE

}  // namespace vantiq

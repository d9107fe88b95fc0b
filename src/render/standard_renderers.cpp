#include "render/standard_renderers.h"

namespace vantiq {

StandardRenderers::StandardRenderers(Vantiq& control) : frame_(control), fill_(control) {}

void StandardRenderers::DrawFrame(bool frameOnly) { frame_.DrawFrame(frameOnly); }

void StandardRenderers::DrawFill() { fill_.DrawFill(); }

// The caption renderer is still to come; until then both passes draw nothing.
void StandardRenderers::DrawCaption(bool /*inFill*/) {}

}  // namespace vantiq

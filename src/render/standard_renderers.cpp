#include "render/standard_renderers.h"

namespace vantiq {

StandardRenderers::StandardRenderers(Vantiq& control) : frame_(control), fill_(control), caption_(control) {}

void StandardRenderers::DrawFrame(bool frameOnly) { frame_.DrawFrame(frameOnly); }

void StandardRenderers::DrawFill() { fill_.DrawFill(); }

void StandardRenderers::DrawCaption(bool inFill) { caption_.DrawCaption(inFill); }

}  // namespace vantiq

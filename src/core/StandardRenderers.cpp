#include "core/StandardRenderers.h"

#include "core/DrawRegistry.h"
#include "render/DrawLayer.h"
#include "render/Pseudosection.h"

namespace karvelo {

void RegisterStandardRenderers() {
  RegisterDrawingLayer({SetupPage, InitPlotColours, InitCanvas, ResetViewPort,
                        [] { return static_cast<int>(DiagramTop); },
                        [] { return static_cast<int>(DiagramBottom); }});
  RegisterRenderer(dtPseudo, PlotPseudosection);
}

}  // namespace karvelo

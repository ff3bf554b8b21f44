#include "core/StandardRenderers.h"

#include <utility>

#include "base/Resources.h"
#include "core/DrawRegistry.h"
#include "render/DrawLayer.h"
#include "render/ModelSection.h"
#include "render/ModelSection1D.h"
#include "render/Pseudosection.h"

namespace karvelo {

void RegisterStandardRenderers() {
  RegisterDrawingLayer({SetupPage, InitPlotColours, InitCanvas, ResetViewPort,
                        [] { return static_cast<int>(DiagramTop); },
                        [] { return static_cast<int>(DiagramBottom); }});
  // The default label files PSEUDO.TXT and MODSEC.TXT are looked for last beside the
  // program.
  PseudoLabelProgramFolder = ProgramFolder();
  ModelLabelProgramFolder = ProgramFolder();
  RegisterRenderer(dtPseudo, PlotPseudosection);
  RegisterRenderer(dtModsec1D, PlotModelSection1D);
  RegisterRenderer(dtModsec2D, PlotModelSection);
  RegisterDataRecordsConsumer([](TDatData&& data) { AdoptPseudoData(std::move(data)); });
}

}  // namespace karvelo

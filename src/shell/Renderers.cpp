#include "shell/Renderers.h"

#include <QDir>
#include <QFileDialog>
#include <QWidget>

#include "core/DrawRegistry.h"
#include "core/SctDraw.h"
#include "core/StandardRenderers.h"
#include "render/ModelSection.h"
#include "render/Pseudosection.h"
#include "shell/ShellEnv.h"

namespace karvelo::shell {
namespace {

// The diagram's reference items as the model section draws them.
void HandOverReferenceData(const TSectionDiagram& diagram) {
  ModelOverlays.References.clear();
  for (const TReferenceData& item : diagram.ReferenceData()) {
    TReferenceColumn column;
    column.Position = item.Position();
    column.Method = item.Method();
    column.HasGwl = item.GWlData();
    column.Gwl = item.Gwl();
    for (const TReferenceLayer& layer : item.Layers()) {
      column.Layers.push_back(
          {layer.Depth(), layer.MaterialCode(), layer.MaterialText(), layer.MaterialColor()});
    }
    ModelOverlays.References.push_back(std::move(column));
  }
}

}  // namespace

void RegisterDiagramRenderers() {
  RegisterStandardRenderers();
  // The 2D model section, until the standard set carries it.
  if (!RendererOf(dtModsec2D)) RegisterRenderer(dtModsec2D, PlotModelSection);
}

void SetLabelProgramFolder(const std::string& folder) {
  PseudoLabelProgramFolder = folder;
  ModelLabelProgramFolder = folder;
}

void BeginDrawing(TSectionDiagram& diagram, QWidget* window) {
  HandOverReferenceData(diagram);
  TSectionDiagram* d = &diagram;
  ChooseModelFile = [d, window]() -> std::string {
    const QString chosen =
        QFileDialog::getOpenFileName(window, QStringLiteral("Open"), QDir::currentPath(),
                                     QStringLiteral("RHO and RH2 files (*.rho *.rh2)"));
    if (chosen.isEmpty()) return {};
    const std::string path = PathFromQt(chosen);
    d->SetRhoFilename(path);
    d->Save();
    return path;
  };
}

void EndDrawing() {
  ChooseModelFile = nullptr;
}

}  // namespace karvelo::shell

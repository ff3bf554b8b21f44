#include "shell/Renderers.h"

#include <QDir>
#include <QFileDialog>
#include <QWidget>

#include "core/SctDraw.h"
#include "core/StandardRenderers.h"
#include "render/ModelSection.h"
#include "render/Pseudosection.h"
#include "shell/ShellEnv.h"

namespace karvelo::shell {

void RegisterDiagramRenderers() {
  RegisterStandardRenderers();
}

void SetLabelProgramFolder(const std::string& folder) {
  PseudoLabelProgramFolder = folder;
  ModelLabelProgramFolder = folder;
}

void BeginDrawing(TSectionDiagram& diagram, QWidget* window) {
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

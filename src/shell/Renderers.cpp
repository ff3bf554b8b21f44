#include "shell/Renderers.h"

#include <QDir>
#include <QFileDialog>
#include <QWidget>

#include "core/SctDraw.h"
#include "core/StandardRenderers.h"
#include "render/Pseudosection.h"
#include "shell/ShellEnv.h"

// The model section is on its way; its hooks are used as soon as its header is there.
#if __has_include("render/ModelSection.h")
#include "render/ModelSection.h"
#define KARVELO_HAVE_MODEL_SECTION_HEADER 1
#endif

namespace karvelo::shell {

void RegisterDiagramRenderers() {
  RegisterStandardRenderers();
}

void SetLabelProgramFolder(const std::string& folder) {
  PseudoLabelProgramFolder = folder;
#ifdef KARVELO_HAVE_MODEL_SECTION_HEADER
  ModelLabelProgramFolder = folder;
#endif
}

void BeginDrawing([[maybe_unused]] TSectionDiagram& diagram, [[maybe_unused]] QWidget* window) {
#ifdef KARVELO_HAVE_MODEL_SECTION_HEADER
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
#endif
}

void EndDrawing() {
#ifdef KARVELO_HAVE_MODEL_SECTION_HEADER
  ChooseModelFile = nullptr;
#endif
}

}  // namespace karvelo::shell

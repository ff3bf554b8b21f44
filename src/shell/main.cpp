// karvelo: the desktop program. Plots resistivity and IP pseudosections and model
// sections, one diagram window per file. Files named on the command line or dropped on
// the window open the same way as through "Open".

#include <QApplication>
#include <QScreen>
#include <QTimer>
#include <string>

#include "base/Prompts.h"
#include "base/Resources.h"
#include "render/ColourScale.h"
#include "render/DrawLayer.h"
#include "shell/Icons.h"
#include "shell/MainWindow.h"
#include "shell/QtPrompts.h"
#include "shell/Renderers.h"
#include "shell/ShellEnv.h"
#include "shell/SplashAbout.h"

namespace {

// Where the drawing finds its palettes, fill patterns and global label files.
void SetUpResources() {
  using namespace karvelo;
  using namespace karvelo::shell;
  SetPaletteFolder(PaletteFolderPath());
  std::string error;
  if (!LoadFillPatterns(ResourceFolder() + "BITMAP", &error)) {
    CurrentPrompts().Message("WARNING: The fill patterns could not be loaded:\n\r" + error,
                             MessageKind::Warning);
  }
  SetLabelProgramFolder(GlobalLabelFolder());
}

}  // namespace

int main(int argc, char** argv) {
  using namespace karvelo::shell;
  QApplication app(argc, argv);
  // 1-3: fixed formats, developer mode, the title.
  ForceLocaleFormats();
  SetDeveloperMode(IsDeveloperPath(PathFromQt(QCoreApplication::applicationFilePath())));
  QCoreApplication::setApplicationName(QStringLiteral("Karvelo"));
  QCoreApplication::setOrganizationName(QStringLiteral("HedbySoft"));
  QApplication::setWindowIcon(karvelo::shell::ProgramIcon());
  RegisterDiagramRenderers();

  // 4: the frame with its dialogs; the prompts go through them from now on.
  TfrmMain frame;
  karvelo::ScopedPrompts prompts(*frame.prompts);
  SetUpResources();

  // 5, 6: the splash closes itself after five seconds.
  TfrmSplash splash(nullptr, 5000);
  // Maximised; the geometry first, for desktops without a window manager.
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    frame.setGeometry(screen->availableGeometry());
  }
  frame.showMaximized();
  splash.show();
  splash.raise();
  splash.repaint();

  // Files named on the command line, each in its own window, once the loop runs.
  const QStringList files = QCoreApplication::arguments().mid(1);
  QTimer::singleShot(0, &frame, [&frame, files] {
    for (const QString& f : files) {
      if (!f.startsWith(QLatin1Char('-'))) frame.OpenFile(PathFromQt(f));
    }
  });
  // 7
  return app.exec();
}

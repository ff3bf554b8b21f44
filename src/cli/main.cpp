// karvelo-plot: the console companion of the desktop program. Renders a DAT, RHO or RH2
// file to an image through exactly the path a diagram window uses, and prints what a
// file holds as JSON (--info). Never needs a display.

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QJsonDocument>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "cli/PlotCommand.h"

namespace {

// A console tool on a machine without a desktop session has no XDG_RUNTIME_DIR; Qt's
// note about it says nothing the user can act on, so it is kept off standard error.
void ConsoleMessages(QtMsgType type, const QMessageLogContext&, const QString& text) {
  if (text.startsWith(QStringLiteral("QStandardPaths: XDG_RUNTIME_DIR not set"))) return;
  if (type == QtDebugMsg) return;
  std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

}  // namespace

int main(int argc, char** argv) {
  using namespace karvelo::cli;
  qInstallMessageHandler(ConsoleMessages);
  // Decide what is needed before a Qt application exists: --info needs no fonts and no
  // platform plugin, drawing needs the offscreen platform for text.
  bool info = false, help = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--info") info = true;
    if (a == "--help" || a == "-h" || a == "--help-all") help = true;
  }
  std::unique_ptr<QCoreApplication> app;
  if (info || help) {
    app = std::make_unique<QCoreApplication>(argc, argv);
  } else {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    app = std::make_unique<QGuiApplication>(argc, argv);
  }
  QCoreApplication::setApplicationName("karvelo-plot");
  QCoreApplication::setApplicationVersion(KARVELO_VERSION);
  return RunPlotCommand(QCoreApplication::arguments());
}

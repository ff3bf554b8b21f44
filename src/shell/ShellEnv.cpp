#include "shell/ShellEnv.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <clocale>

#include "base/Files.h"
#include "base/Resources.h"
#include "output/QtCanvas.h"

namespace karvelo::shell {
namespace {

bool gDeveloperMode = false;

std::string WithSeparator(std::string folder) {
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder;
}

std::string WithoutSeparator(std::string folder) {
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

}  // namespace

void ForceLocaleFormats() {
  std::setlocale(LC_NUMERIC, "C");
  std::setlocale(LC_TIME, "C");
  QLocale fixed(QLocale::C);
  fixed.setNumberOptions(QLocale::OmitGroupSeparator);
  QLocale::setDefault(fixed);
}

bool IsDeveloperPath(const std::string& programPath) {
  std::string p = UpperCase(programPath);
  for (char& c : p) {
    if (c == '/') c = '\\';
  }
  return p.find("\\RES\\2D\\KARVELO.WIN") != std::string::npos;
}

bool DeveloperMode() {
  return gDeveloperMode;
}
void SetDeveloperMode(bool on) {
  gDeveloperMode = on;
}

std::string GetAppDataFolder() {
  return WithoutSeparator(
      PathFromQt(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)));
}

std::string GetCommonDocumentsFolder() {
  return WithoutSeparator(
      PathFromQt(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)));
}

std::string GetProgramFilesFolder() {
  return "/usr/bin";
}

std::string PaletteFolderPath() {
  return ResourceFolder() + "palette/";
}

std::string GlobalLabelFolder() {
  return WithSeparator(GetAppDataFolder() + "/HedbySoft");
}

bool RunAndWait(const std::string& commandLine) {
  QStringList parts = QProcess::splitCommand(ToQt(commandLine));
  if (parts.isEmpty()) return false;
  const QString program = parts.takeFirst();
  QProcess process;
  QEventLoop loop;
  bool failedToStart = false;
  QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
  QObject::connect(&process, &QProcess::errorOccurred, &loop, [&](QProcess::ProcessError e) {
    if (e == QProcess::FailedToStart) {
      failedToStart = true;
      loop.quit();
    }
  });
  process.start(program, parts);
  // The loop keeps every window of the program working while the child runs.
  if (!failedToStart && process.state() != QProcess::NotRunning) loop.exec();
  if (process.state() != QProcess::NotRunning) process.waitForFinished(-1);
  return !failedToStart;
}

void OpenDocument(const std::string& file, const std::string& parameters,
                  const std::string& workingFolder, int /*showMode*/) {
  QString path = PathToQt(file);
  if (QFileInfo(path).isRelative() && !workingFolder.empty()) {
    path = QDir(PathToQt(workingFolder)).filePath(path);
  }
  const QFileInfo info(path);
  if (!parameters.empty() && info.isExecutable() && !info.isDir()) {
    QProcess::startDetached(path, QProcess::splitCommand(ToQt(parameters)),
                            PathToQt(workingFolder));
    return;
  }
  QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

QString ToQt(std::string_view text) {
  return CanvasText(text);
}

std::string FromQt(const QString& text) {
  for (const QChar c : text) {
    // Latin-1 outside the C1 controls reads back the same through ToQt.
    if (c.unicode() > 0xFF || (c.unicode() >= 0x80 && c.unicode() < 0xA0)) {
      return text.toStdString();
    }
  }
  const QByteArray latin = text.toLatin1();
  return std::string(latin.constData(), static_cast<std::size_t>(latin.size()));
}

QString PathToQt(const std::string& path) {
  return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

std::string PathFromQt(const QString& path) {
  const QByteArray bytes = QFile::encodeName(path);
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QString MessageText(std::string_view text) {
  QString s = ToQt(text);
  s.replace(QStringLiteral("\n\r"), QStringLiteral("\n"));
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return s;
}

}  // namespace karvelo::shell

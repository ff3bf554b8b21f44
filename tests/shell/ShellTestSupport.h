#pragma once

// What the window tests share: a clean plot state, scripted prompts, a private folder
// with copies of the files a test opens (loading writes settings files beside them), and
// a frame window that keeps its settings file in that folder.

#include <gtest/gtest.h>
#include <QApplication>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <memory>
#include <set>
#include <string>

#include "base/PlotState.h"
#include "base/ScriptedPrompts.h"
#include "render/ColourScale.h"
#include "shell/MainWindow.h"
#include "shell/Renderers.h"
#include "shell/ShellEnv.h"

namespace karvelo::shell::test {

inline std::string SourcePath(const std::string& relative) {
  return std::string(KARVELO_SOURCE_DIR) + "/" + relative;
}

class ShellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetPlotState();
    ForceLocaleFormats();
    RegisterDiagramRenderers();
    SetPaletteFolder(SourcePath("resources/palette"));
    ASSERT_TRUE(dir.isValid());
    startFolder = QDir::currentPath();
  }
  void TearDown() override {
    frame.reset();
    QDir::setCurrent(startFolder);
  }

  // Copies a file of the source tree into the private folder; returns the copy's path.
  std::string Copy(const std::string& relative, const std::string& name = {}) {
    const QString source = QString::fromStdString(SourcePath(relative));
    const QString target =
        dir.filePath(name.empty() ? QFileInfo(source).fileName() : QString::fromStdString(name));
    EXPECT_TRUE(QFile::copy(source, target)) << relative;
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
    return target.toStdString();
  }
  std::string InDir(const std::string& name) const {
    return dir.filePath(QString::fromStdString(name)).toStdString();
  }

  TfrmMain& Frame() {
    if (!frame) {
      frame = std::make_unique<TfrmMain>(InDir("config/HedbySoft/Karvelo.ini"));
      frame->resize(1200, 900);
      frame->show();
      QApplication::processEvents();
    }
    return *frame;
  }

  ScriptedPrompts prompts;
  ScopedPrompts guard{prompts};
  QTemporaryDir dir;
  QString startFolder;
  std::unique_ptr<TfrmMain> frame;
};

// The distinct colours of an image.
inline std::set<QRgb> ColoursOf(const QImage& image) {
  std::set<QRgb> colours;
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < rgb.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    for (int x = 0; x < rgb.width(); ++x) colours.insert(line[x] | 0xFF000000u);
  }
  return colours;
}

// Plot colour n of a palette (entry 16 n) as the image shows it.
inline QRgb PlotColour(const PaletteTable& palette, int n) {
  const TColor c = palette[static_cast<std::size_t>(16 * n)];
  return qRgb(RedOf(c), GreenOf(c), BlueOf(c));
}

}  // namespace karvelo::shell::test

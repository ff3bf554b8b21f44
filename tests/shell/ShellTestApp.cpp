// One QApplication for the whole test run: the windows and dialogs need it. The
// offscreen platform keeps the tests free of any display. The renderers are registered
// once, as the program does at start.

#include <gtest/gtest.h>
#include <QApplication>
#include <memory>

#include "render/ColourScale.h"
#include "shell/Renderers.h"
#include "shell/ShellEnv.h"

namespace {

class ShellAppEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    app_ = std::make_unique<QApplication>(argc_, argv_);
    karvelo::shell::ForceLocaleFormats();
    karvelo::shell::RegisterDiagramRenderers();
    karvelo::SetPaletteFolder(std::string(KARVELO_SOURCE_DIR) + "/resources/palette");
  }
  void TearDown() override { app_.reset(); }

 private:
  int argc_ = 1;
  char name_[12] = "shell_tests";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] ::testing::Environment* const kShellApp =
    ::testing::AddGlobalTestEnvironment(new ShellAppEnvironment);

}  // namespace

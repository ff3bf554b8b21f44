#pragma once

// A scratch folder per test, the plot state at its defaults, prompts that record what
// the user was told, and the settings-file problems forgotten between tests.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "base/Files.h"
#include "base/PlotState.h"
#include "base/Prompts.h"
#include "base/ScriptedPrompts.h"
#include "core/SettingsFiles.h"

namespace karvelo::testing {

class TempFolder {
 public:
  TempFolder() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    path_ = std::filesystem::temp_directory_path() /
            ("karvelo-core-" + std::string(info->test_suite_name()) + "-" + info->name());
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder with a trailing separator, as optrec.DataDir holds it.
  std::string Dir() const { return path_.string() + "/"; }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }

  void Put(const std::string& name, const std::string& text) const {
    std::ofstream(path_ / name, std::ios::binary) << text;
  }
  std::string Get(const std::string& name) const {
    return ReadWholeFile((path_ / name).string()).value_or("<missing>");
  }
  bool Has(const std::string& name) const { return std::filesystem::exists(path_ / name); }

 private:
  std::filesystem::path path_;
};

// Restores the current folder, which loading a diagram changes.
class KeepCurrentFolder {
 public:
  KeepCurrentFolder() : saved_(std::filesystem::current_path()) {}
  ~KeepCurrentFolder() {
    std::error_code ec;
    std::filesystem::current_path(saved_, ec);
  }

 private:
  std::filesystem::path saved_;
};

class CoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetPlotState();
    ForgetSettingsFileProblems();
    optrec.DataDir = dir.Dir();
    optrec.FileName = "survey";
  }

  // Joins lines with the settings files' CR LF.
  static std::string Lines(std::initializer_list<std::string> lines) {
    std::string text;
    for (const auto& l : lines) text += l + "\r\n";
    return text;
  }

  KeepCurrentFolder keepFolder;
  TempFolder dir;
  ScriptedPrompts prompts;
  ScopedPrompts guard{prompts};
};

}  // namespace karvelo::testing

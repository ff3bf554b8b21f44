// Karvelo.ini: its three lines, the real number format of line 2, what a damaged or
// short file keeps, and the atomic write into the user's configuration folder.

#include <gtest/gtest.h>
#include <QTemporaryDir>
#include <clocale>
#include <fstream>
#include <sstream>

#include "base/Files.h"
#include "shell/ProgramSettings.h"
#include "shell/ShellEnv.h"

namespace karvelo::shell {
namespace {

std::string Slurp(const std::string& path) {
  return ReadWholeFile(path).value_or("");
}

void Spit(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

TEST(SettingsReal, WritesTheFixedScientificLayout) {
  const struct {
    double value;
    const char* text;
  } cases[] = {
      {0.03, " 3.00000000000000E-0002"}, {0.025, " 2.50000000000000E-0002"},
      {1.0, " 1.00000000000000E+0000"},  {123.5, " 1.23500000000000E+0002"},
      {-0.5, "-5.00000000000000E-0001"}, {0.0, " 0.00000000000000E+0000"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatSettingsReal(c.value), c.text) << c.value;
    EXPECT_EQ(FormatSettingsReal(c.value).size(), 23u);
  }
}

TEST(SettingsReal, IgnoresACommaLocale) {
  const char* old = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = old ? old : "C";
  if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) GTEST_SKIP() << "no de_DE locale";
  EXPECT_EQ(FormatSettingsReal(0.03), " 3.00000000000000E-0002");
  std::setlocale(LC_NUMERIC, saved.c_str());
}

class ProgramSettingsFile : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  std::string Path() const { return dir.path().toStdString() + "/HedbySoft/Karvelo.ini"; }
};

TEST_F(ProgramSettingsFile, RoundTripsTheThreeLines) {
  TProgramSettings written{"/data/survey one/", 0.042, "Liberation Serif"};
  ASSERT_TRUE(WriteProgramSettings(Path(), written));  // creates HedbySoft/
  EXPECT_EQ(Slurp(Path()), "/data/survey one/\n 4.20000000000000E-0002\nLiberation Serif\n");
  TProgramSettings read;
  EXPECT_EQ(ReadProgramSettings(Path(), read), SettingsReadResult::Read);
  EXPECT_EQ(read.WorkDir, written.WorkDir);
  EXPECT_DOUBLE_EQ(read.RelativeFontSize, 0.042);
  EXPECT_EQ(read.FontName, "Liberation Serif");
}

TEST_F(ProgramSettingsFile, MissingFileKeepsEveryDefault) {
  TProgramSettings s{"/keep/", 0.03, "Arial"};
  EXPECT_EQ(ReadProgramSettings(Path(), s), SettingsReadResult::Missing);
  EXPECT_EQ(s.WorkDir, "/keep/");
  EXPECT_EQ(s.FontName, "Arial");
}

TEST_F(ProgramSettingsFile, ShortAndDamagedFiles) {
  WriteProgramSettings(Path(), {"x", 0.03, ""});
  const struct {
    const char* text;
    SettingsReadResult result;
    const char* workDir;
    double size;
    const char* font;
  } cases[] = {
      {"/only/line/one\n", SettingsReadResult::Read, "/only/line/one", 0.03, "Arial"},
      {"/w\r\n 2.00000000000000E-0002\r\n", SettingsReadResult::Read, "/w", 0.02, "Arial"},
      {"/w\nnot a number\nTimes\n", SettingsReadResult::Damaged, "/w", 0.03, "Arial"},
      {"/w\n-1\nTimes\n", SettingsReadResult::Damaged, "/w", 0.03, "Arial"},
      {"/w\n0.05\n\n", SettingsReadResult::Read, "/w", 0.05, ""},
  };
  for (const auto& c : cases) {
    Spit(Path(), c.text);
    TProgramSettings s{"/default/", 0.03, "Arial"};
    EXPECT_EQ(ReadProgramSettings(Path(), s), c.result) << c.text;
    EXPECT_EQ(s.WorkDir, c.workDir) << c.text;
    EXPECT_DOUBLE_EQ(s.RelativeFontSize, c.size) << c.text;
    EXPECT_EQ(s.FontName, c.font) << c.text;
  }
}

TEST_F(ProgramSettingsFile, UnwritableFolderFailsWithoutTouchingTheOldFile) {
  // A plain file where the folder should be: the folder cannot be created.
  const std::string blocker = dir.path().toStdString() + "/HedbySoft";
  Spit(blocker, "in the way");
  std::string problem;
  EXPECT_FALSE(WriteProgramSettings(Path(), {"/w", 0.03, "Arial"}, &problem));
  EXPECT_FALSE(problem.empty());
  EXPECT_EQ(Slurp(blocker), "in the way");
}

TEST(SettingsPath, LivesUnderTheUsersConfigurationFolder) {
  QTemporaryDir config;
  const QByteArray old = qgetenv("XDG_CONFIG_HOME");
  qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
  EXPECT_EQ(ProgramSettingsPath(), config.path().toStdString() + "/HedbySoft/Karvelo.ini");
  qputenv("XDG_CONFIG_HOME", old);
}

}  // namespace
}  // namespace karvelo::shell

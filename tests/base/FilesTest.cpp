#include "base/Files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "base/Prompts.h"
#include "base/ScriptedPrompts.h"

namespace fs = std::filesystem;

namespace karvelo {
namespace {

class TempDir {
 public:
  TempDir() {
    path_ = fs::temp_directory_path() /
            ("karvelo-files-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~TempDir() { fs::remove_all(path_); }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }
  std::string str() const { return path_.string() + "/"; }

 private:
  fs::path path_;
};

void Put(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

TEST(Files, CompanionFilesAreFoundWhateverTheirCase) {
  TempDir dir;
  Put(dir / "Survey.REF", "x");
  EXPECT_EQ(FindFileNoCase(dir / "survey.ref"), dir / "Survey.REF");
  EXPECT_EQ(FindFileNoCase(dir / "Survey.REF"), dir / "Survey.REF");
  EXPECT_FALSE(FindFileNoCase(dir / "survey.inf"));
  EXPECT_FALSE(FindFileNoCase(dir / "nofolder/survey.ref"));
  EXPECT_EQ(ResolveFileNoCase(dir / "other.glf"), dir / "other.glf");
}

TEST(Files, AtomicWriteReplacesTheFileOfAnyCaseAndLeavesNoTemporary) {
  TempDir dir;
  Put(dir / "P1.INF", "old");
  ASSERT_TRUE(WriteFileAtomically(dir / "p1.inf", "new\r\n"));
  EXPECT_EQ(ReadWholeFile(dir / "P1.INF"), "new\r\n");
  EXPECT_FALSE(fs::exists(dir / "p1.inf") && !fs::equivalent(dir / "p1.inf", dir / "P1.INF"));
  int files = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir.str())) ++files;
  EXPECT_EQ(files, 1);
}

TEST(Files, AtomicWriteIntoAMissingFolderFailsWithAReason) {
  TempDir dir;
  std::string why;
  EXPECT_FALSE(WriteFileAtomically(dir / "missing/x.inf", "data", &why));
  EXPECT_NE(why.find("cannot create"), std::string::npos);
}

TEST(Files, PathPiecesFollowTheFirstAndLastDot) {
  EXPECT_EQ(BaseNameOf("/d/p1.v2.dat"), "p1");
  EXPECT_EQ(ExtensionOf("/d/p1.v2.dat"), ".dat");
  EXPECT_EQ(ExtensionOf("/d.x/noext"), "");
  EXPECT_EQ(FolderOf("/d/p1.dat"), "/d/");
  EXPECT_EQ(FolderOf("p1.dat"), "");
  EXPECT_EQ(FileNameOf("/d/p1.dat"), "p1.dat");
  EXPECT_TRUE(SameTextNoCase(".Rho", ".RHO"));
}

TEST(TextLinesTest, EveryLineEndingAndAMissingFinalBreak) {
  TextLines t(
      std::string("a\r\nb\nc\rd\r\n\r\nlast\x1A"
                  "garbage"));
  std::vector<std::string> got;
  std::string line;
  while (t.ReadLine(line)) got.push_back(line);
  EXPECT_EQ(got, (std::vector<std::string>{"a", "b", "c", "d", "", "last"}));
  EXPECT_EQ(t.LineNumber(), 6);
  EXPECT_TRUE(t.Eof());
  t.Rewind();
  ASSERT_TRUE(t.ReadLine(line));
  EXPECT_EQ(line, "a");
  EXPECT_FALSE(TextLines().Open("/nonexistent/file.dat"));
  EXPECT_FALSE(TextLines().Open(fs::temp_directory_path().string()));  // a folder is no file
}

TEST(PromptsSeam, ScopedPromptsInstallAndRestore) {
  ScriptedPrompts outer, inner;
  {
    ScopedPrompts a(outer);
    CurrentPrompts().Message("one", MessageKind::Error);
    {
      ScopedPrompts b(inner);
      inner.answers.push_back(Answer::Yes);
      EXPECT_TRUE(CurrentPrompts().AskYesNo("Plot IP?"));
      EXPECT_FALSE(CurrentPrompts().AskYesNo("again?"));
    }
    CurrentPrompts().Message("two");
  }
  EXPECT_EQ(outer.texts, (std::vector<std::string>{"one", "two"}));
  EXPECT_EQ(inner.questions, (std::vector<std::string>{"Plot IP?", "again?"}));
  EXPECT_EQ(outer.messages[0].kind, MessageKind::Error);
  CurrentPrompts().Message("nobody listens");  // the silent default must not crash
}

}  // namespace
}  // namespace karvelo

// The k7rdump executable run as a child process, the way the windowed program runs it.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "k7rdump/K7rDumpFixtures.h"

namespace {

namespace fs = std::filesystem;

using k7rtest::Dump;
using k7rtest::HeaderFields;
using k7rtest::MakeFile;
using k7rtest::RecordFields;

struct RunResult {
  int status = -1;
  std::string console;
};

std::string Quoted(const std::string& text) {
  return "\"" + text + "\"";
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const fs::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

class K7rDumpTool : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = fs::path(::testing::TempDir()) / ("k7rdump_" + std::string(info->name()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    console_ = folder_.string() + ".console";
  }
  void TearDown() override {
    fs::remove_all(folder_);
    fs::remove(console_);
  }

  // Runs the tool with the given (already quoted) arguments; standard output is kept.
  RunResult Run(const std::string& arguments) {
    const std::string command =
        Quoted(K7RDUMP_EXE) + " " + arguments + " > " + Quoted(console_.string());
    const int raw = std::system(command.c_str());
    RunResult result;
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.console = ReadFile(console_);
    return result;
  }

  fs::path WriteK7r(const std::string& name) {
    HeaderFields h;
    RecordFields r;
    r.data = 47.25f;
    bytes_ = MakeFile(h, {r, r});
    const fs::path path = folder_ / name;
    WriteFile(path, std::string(bytes_.begin(), bytes_.end()));
    return path;
  }

  std::set<std::string> FolderContents() const {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_)) {
      names.insert(entry.path().filename().string());
    }
    return names;
  }

  fs::path folder_;
  fs::path console_;
  std::vector<unsigned char> bytes_;
};

TEST_F(K7rDumpTool, NoArgumentsIsAnError) {
  const RunResult result = Run("");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.console, "No input file\n");
}

TEST_F(K7rDumpTool, WritesTheDumpToTheOutputFile) {
  const fs::path input = WriteK7r("LINE1.K7R");
  const fs::path output = folder_ / "LINE1.TMP";
  const RunResult result = Run(Quoted(input.string()) + " " + Quoted(output.string()));
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.console, "");
  EXPECT_EQ(ReadFile(output), "FILE:" + input.string() + "\n" + Dump(bytes_));
  EXPECT_EQ(FolderContents(), (std::set<std::string>{"LINE1.K7R", "LINE1.TMP"}));
}

TEST_F(K7rDumpTool, WithoutOutputFileTheDumpGoesToStandardOutput) {
  const fs::path input = WriteK7r("a.k7r");
  const RunResult result = Run(Quoted(input.string()));
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.console, "FILE:" + input.string() + "\n" + Dump(bytes_));
}

TEST_F(K7rDumpTool, ExtraArgumentsAreIgnored) {
  const fs::path input = WriteK7r("a.k7r");
  const fs::path output = folder_ / "a.TMP";
  const RunResult result =
      Run(Quoted(input.string()) + " " + Quoted(output.string()) + " extra -x");
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(ReadFile(output), "FILE:" + input.string() + "\n" + Dump(bytes_));
}

TEST_F(K7rDumpTool, MissingInputIsReportedInTheOutput) {
  const fs::path input = folder_ / "missing.k7r";
  const fs::path output = folder_ / "missing.TMP";
  const RunResult result = Run(Quoted(input.string()) + " " + Quoted(output.string()));
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.console, "");
  EXPECT_EQ(ReadFile(output), "Can't open file " + input.string() + "\n");

  const RunResult toConsole = Run(Quoted(input.string()));
  EXPECT_EQ(toConsole.status, 0);
  EXPECT_EQ(toConsole.console, "Can't open file " + input.string() + "\n");
}

TEST_F(K7rDumpTool, FolderAsInputCannotBeOpened) {
  const fs::path output = folder_ / "dir.TMP";
  const RunResult result = Run(Quoted(folder_.string()) + " " + Quoted(output.string()));
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(ReadFile(output), "Can't open file " + folder_.string() + "\n");
}

TEST_F(K7rDumpTool, UnwritableOutputLeavesNothingBehind) {
  const fs::path input = WriteK7r("a.k7r");
  // A folder that does not exist.
  const fs::path missingFolder = folder_ / "no such folder";
  const RunResult noFolder =
      Run(Quoted(input.string()) + " " + Quoted((missingFolder / "a.TMP").string()));
  EXPECT_EQ(noFolder.status, 1);
  EXPECT_EQ(noFolder.console, "No output file\n");
  EXPECT_FALSE(fs::exists(missingFolder));

  // An output name that is taken by a folder: the dump is written but cannot replace it.
  const fs::path taken = folder_ / "taken";
  fs::create_directory(taken);
  const RunResult onFolder = Run(Quoted(input.string()) + " " + Quoted(taken.string()));
  EXPECT_EQ(onFolder.status, 1);
  EXPECT_EQ(onFolder.console, "No output file\n");
  EXPECT_TRUE(fs::is_directory(taken));
  EXPECT_EQ(FolderContents(), (std::set<std::string>{"a.k7r", "taken"}));
}

TEST_F(K7rDumpTool, ExistingOutputIsReplacedWhole) {
  const fs::path input = WriteK7r("a.k7r");
  const fs::path output = folder_ / "a.TMP";
  WriteFile(output, std::string(100000, 'x'));
  const RunResult result = Run(Quoted(input.string()) + " " + Quoted(output.string()));
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(ReadFile(output), "FILE:" + input.string() + "\n" + Dump(bytes_));
  EXPECT_EQ(FolderContents(), (std::set<std::string>{"a.k7r", "a.TMP"}));
}

}  // namespace

#include <gtest/gtest.h>

#include <filesystem>

#include "cli/CliTestSupport.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace karvelo::test {
namespace {

// The --build choice reaches the 1D builder's questions: a complete build makes the
// plain and the smoothed model, a fast one only the plain, "no" builds nothing and the
// pseudosection is drawn instead.
TEST(CliPlot, TheBuildOptionAnswersTheOneDimensionalQuestions) {
  struct Case {
    const char* build;
    bool plain, smoothed;
  } cases[] = {{"complete", true, true}, {"fast", true, false}, {"no", false, false}};
  for (const auto& c : cases) {
    UniqueTempDir dir("karvelo-cli-1d");
    const std::string dat = dir / "WENSMALL.DAT";
    fs::copy_file(std::string(KARVELO_FIXTURES_DIR) + "/zohdy1d/WENSMALL.DAT", dat);
    const RunResult r = RunPlot(ShellQuote(dat) + " --type model1d --build " + c.build + " -o " +
                                ShellQuote(dir / "out.png"));
    EXPECT_EQ(r.status, 0) << c.build;
    EXPECT_TRUE(fs::exists(dir / "out.png")) << c.build;
    EXPECT_EQ(fs::exists(dir / "ZOHDY1D/WENSMALL.RHO"), c.plain) << c.build;
    EXPECT_EQ(fs::exists(dir / "ZOHDY1DS/WENSMALL.RHO"), c.smoothed) << c.build;
  }
}

}  // namespace
}  // namespace karvelo::test

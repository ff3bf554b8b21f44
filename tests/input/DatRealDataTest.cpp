// Every real survey DAT file of the shared folder loads without a crash or a hang and
// gives the number of data its data lines hold.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "base/PlotState.h"
#include "base/ScriptedPrompts.h"
#include "input/DatReader.h"
#include "input/DatTestSupport.h"

namespace karvelo {
namespace {

struct RealFile {
  const char* path;  // below the real-data folder
  int points;
  int ipFlag;
  int topoPoints;
};

const RealFile kFiles[] = {
    {"wenner/res2dinv-wenner32.dat", 1648, 0, 0},
    {"wenner/p1_Wenner_SW-NE.dat", 2326, 1, 0},
    {"wenner/p3_Wenner_S-N.dat", 176, 1, 34},
    {"pole-pole/res2dinv_PolePole.DAT", 295, 0, 0},
    {"dipole-dipole/p2_DipolDipol_SSW-NNE.dat", 663, 1, 54},
    {"dipole-dipole/p3_DipolDipol_S-N.dat", 308, 1, 34},
    {"pole-dipole/res2dinv_PoleDipole.DAT", 162, 0, 0},
    {"error-estimate/res2dinv-forward-error.dat", 739, 0, 35},
    {"general-array/res2dinv-ga.dat", 540, 0, 0},
    {"general-array/res2dinv-ipgeneral.dat", 228, 1, 0},
    {"general-array/data_res2dinv_wenner.dat", 636, 0, 0},
    {"gradient/B52_Gradient7.dat", 294, 1, 0},
    {"gradient/HOD_DD.dat", 1392, 0, 0},
    {"ip/ert1_an_wen.dat", 84, 1, 0},
    {"ip-multiwindow/Wenner_1-2024-07-30-142945.dat", 360, 11, 0},
    {"ip-multiwindow/Project4_Wenner_1.dat", 360, 11, 0},
    {"topography/ert8_an_wen_topo.dat", 84, 1, 24},
    {"topography/primeFile.dat", 438, 0, 32},
};

std::string RealPath(const std::string& relative) {
  return std::string(KARVELO_REALDATA_DIR) + "/" + relative;
}

class DatRealDataTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetPlotState(); }
  void TearDown() override { ResetPlotState(); }
  ScriptedPrompts prompts;
  ScopedPrompts guard{prompts};
};

TEST_F(DatRealDataTest, EveryFileLoadsWithItsDataCount) {
  for (const RealFile& f : kFiles) {
    ResetPlotState();
    prompts.texts.clear();
    TDatData data;
    const bool plottable = testing_dat::LoadDat(RealPath(f.path), &data);
    EXPECT_TRUE(IsDatFile) << f.path;
    EXPECT_TRUE(plottable) << f.path;
    EXPECT_EQ(ScanResults.nDataPoints, f.points) << f.path;
    EXPECT_EQ(data.points.size(), static_cast<std::size_t>(f.points)) << f.path;
    EXPECT_TRUE(data.complete) << f.path;
    EXPECT_EQ(optrec.IPflag, f.ipFlag) << f.path;
    EXPECT_EQ(TopoPresent, f.topoPoints > 0) << f.path;
    EXPECT_EQ(TopoList.nTopoPoints, f.topoPoints) << f.path;
    // Only the resistivity/IP question, never an error.
    EXPECT_EQ(prompts.texts.size(), f.ipFlag != 0 ? 1u : 0u) << f.path;
    EXPECT_FALSE(LastDatProblem().Any()) << f.path << ": " << LastDatProblem().reason;
  }
}

TEST_F(DatRealDataTest, TheMalformedFileNamesItsFirstBadLineAndWhy) {
  const std::string path = RealPath("malformed/B52_DDN6.dat");
  testing_dat::LoadDat(path);
  EXPECT_TRUE(IsDatFile);  // the header is sound
  EXPECT_EQ(ScanResults.nDataPoints, 0);
  ASSERT_FALSE(prompts.texts.empty());
  EXPECT_EQ(prompts.texts.back(), "Error in file format in data part of " + path + "!");
  const TDatProblem& p = LastDatProblem();
  EXPECT_EQ(p.lineNumber, 16);
  EXPECT_EQ(p.lineText.substr(0, 9), "4\t0\t0\t2\t0");
  EXPECT_NE(p.reason.find("\"TODO\""), std::string::npos) << p.reason;
}

TEST_F(DatRealDataTest, TheTableCoversTheWholeFolder) {
  // A file added to the folder must be added to the table above (or be the malformed one).
  std::set<std::string> listed{"malformed/B52_DDN6.dat"};
  for (const RealFile& f : kFiles) listed.insert(f.path);
  const std::filesystem::path root(KARVELO_REALDATA_DIR);
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    const std::string ext = UpperCase(entry.path().extension().string());
    if (ext != ".DAT") continue;
    const std::string relative = std::filesystem::relative(entry.path(), root).generic_string();
    EXPECT_TRUE(listed.count(relative) == 1) << relative << " is not in the table";
  }
}

}  // namespace
}  // namespace karvelo

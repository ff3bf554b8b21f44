#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/Files.h"
#include "base/PlotState.h"
#include "base/ScriptedPrompts.h"
#include "input/DatReader.h"
#include "input/DatTestSupport.h"
#include "input/QvMath.h"

namespace karvelo {
namespace {

using testing_dat::Fixture;
using testing_dat::LoadDat;

class DatScanTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetPlotState();
    folder_ = std::filesystem::temp_directory_path() /
              ("karvelo_dat_" +
               std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override {
    ResetPlotState();
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
  }
  std::string Write(const std::string& name, const std::string& text) {
    const std::string path = (folder_ / name).string();
    EXPECT_TRUE(WriteFileAtomically(path, text));
    return path;
  }
  ScriptedPrompts prompts;
  ScopedPrompts guard{prompts};
  std::filesystem::path folder_;
};

TEST_F(DatScanTest, WennerFromTheFirstElectrodeWithHorizontalTopography) {
  TDatData data;
  ASSERT_TRUE(LoadDat(Fixture("wenner_first.dat"), &data));
  EXPECT_TRUE(prompts.texts.empty());
  EXPECT_EQ(ScanResults.nDataPoints, 4);
  ASSERT_EQ(data.points.size(), 4u);
  EXPECT_DOUBLE_EQ(data.points[0].position, 13);  // x 10, a 2: shifted by 1.5 a
  EXPECT_DOUBLE_EQ(data.points[0].depth, 1);
  EXPECT_EQ(data.points[0].lineNumber, 7);
  EXPECT_DOUBLE_EQ(ScanResults.XPlotMin, 13);
  EXPECT_DOUBLE_EQ(ScanResults.XPlotMax, 17);
  EXPECT_EQ(ScanResults.nSpacings, 2);
  EXPECT_DOUBLE_EQ(ScanResults.UnitSpacing, 2);
  EXPECT_EQ(ScanResults.nPseudoDepths, 2);
  EXPECT_DOUBLE_EQ(ScanResults.RhoDataMin, 100);
  EXPECT_DOUBLE_EQ(ScanResults.RhoDataMax, 130);
  // Type 1 topography (0, 10), (3, 14): surface distances 0 and 5.
  EXPECT_TRUE(TopoPresent);
  ASSERT_EQ(TopoList.nTopoPoints, 2);
  EXPECT_DOUBLE_EQ(TopoList.TopoSurfaceX[1], 0);
  EXPECT_DOUBLE_EQ(TopoList.TopoSurfaceX[2], 5);
  EXPECT_DOUBLE_EQ(TopoList.TopoXLast, 5);
  EXPECT_DOUBLE_EQ(TopoList.TopoZMin, 10);
  EXPECT_DOUBLE_EQ(TopoList.TopoZMax, 14);
}

TEST_F(DatScanTest, MessagesOfTheScan) {
  struct Case {
    const char* file;
    int points;
    std::string message;  // empty: none
  };
  const Case cases[] = {
      {"declared_plus_one.dat", 3, ""},  // the closing zeros end the data quietly
      {"wenner_mid.dat", 3, ""},
      {"ga_short_line.dat", 1,
       "Error in file format in data part of " + Fixture("ga_short_line.dat") + "!"},
      {"topo_bad_point.dat", 2,
       "Error in topography data section in " + Fixture("topo_bad_point.dat") + "!"},
      {"topo_type2_steep.dat", 2,
       "ERROR: Topography change larger than distance along cable for points 1 - 2!\n\r"
       "Distances for topography were measured along the cable ..."},
  };
  for (const auto& c : cases) {
    ResetPlotState();
    prompts.texts.clear();
    LoadDat(Fixture(c.file));
    EXPECT_EQ(ScanResults.nDataPoints, c.points) << c.file;
    if (c.message.empty()) {
      EXPECT_TRUE(prompts.texts.empty()) << c.file;
    } else {
      ASSERT_EQ(prompts.texts.size(), 1u) << c.file;
      EXPECT_EQ(prompts.texts[0], c.message) << c.file;
    }
  }
}

TEST_F(DatScanTest, ABadLineIsNamedWithItsText) {
  LoadDat(Fixture("ga_short_line.dat"));
  const TDatProblem& p = LastDatProblem();
  EXPECT_EQ(p.section, TDatSection::Data);
  EXPECT_EQ(p.path, Fixture("ga_short_line.dat"));
  EXPECT_EQ(p.lineNumber, 11);
  EXPECT_EQ(p.lineText, "4 1 0 4 0 2 0 3 0");
  EXPECT_EQ(p.reason, "the line ends before the value (number 10)");
  EXPECT_FALSE(TopoPresent);
}

TEST_F(DatScanTest, TopographyAlongTheSurfaceAfterTheKeyword) {
  ASSERT_TRUE(LoadDat(Fixture("topo_keyword.dat")));
  ASSERT_TRUE(TopoPresent);
  ASSERT_EQ(TopoList.nTopoPoints, 3);
  EXPECT_EQ(TopoList.TopoDistanceType, 2);
  EXPECT_DOUBLE_EQ(TopoList.TopoHorizX[2], 4);  // 5 along the cable, 3 up
  EXPECT_DOUBLE_EQ(TopoList.TopoHorizX[3], 9);
  EXPECT_DOUBLE_EQ(TopoList.TopoXFirst, 0);
  EXPECT_DOUBLE_EQ(TopoList.TopoXLast, 10);
}

TEST_F(DatScanTest, TooSteepTopographyLeavesNone) {
  LoadDat(Fixture("topo_type2_steep.dat"));
  EXPECT_FALSE(TopoPresent);
  EXPECT_EQ(TopoList.nTopoPoints, 0);
}

TEST_F(DatScanTest, TopographyOfAnEarlierFileDoesNotStay) {
  LoadDat(Fixture("wenner_first.dat"));
  ASSERT_EQ(TopoList.nTopoPoints, 2);
  LoadDat(Fixture("declared_plus_one.dat"));
  EXPECT_FALSE(TopoPresent);
  EXPECT_EQ(TopoList.nTopoPoints, 0);
}

TEST_F(DatScanTest, SpacingsWithinOneHundredthAreOneEntry) {
  LoadDat(Fixture("spacing_close.dat"));
  EXPECT_EQ(ScanResults.nDataPoints, 2);
  EXPECT_EQ(ScanResults.nSpacings, 1);
}

TEST_F(DatScanTest, TimeLapseDifferenceAndStepsFromOneRead) {
  graphtype.TimeStep = 0;
  TDatData data;
  LoadDat(Fixture("timelapse.dat"), &data);
  ASSERT_EQ(data.points.size(), 2u);
  EXPECT_DOUBLE_EQ(data.points[0].value, 2 * (150.0 - 100) / (150 + 100));
  EXPECT_DOUBLE_EQ(data.points[1].value, 2 * (40.0 - 50) / (40 + 50));
  EXPECT_DOUBLE_EQ(ScanResults.RhoDataMax, 0.4);
  // Another step from the same records, without reading the file again.
  EXPECT_DOUBLE_EQ(data.Value(0, 3), 150);
  EXPECT_DOUBLE_EQ(data.Value(1, 2), SentinelMissing);
  EXPECT_DOUBLE_EQ(data.Value(1, 0), data.points[1].value);
}

TEST_F(DatScanTest, IPWindowsFromOneRead) {
  graphtype.TimeWindowIP = 2;
  TDatData data;
  LoadDat(Fixture("ip_windows.dat"), &data);
  ASSERT_EQ(data.points.size(), 3u);
  EXPECT_DOUBLE_EQ(data.points[2].ip, 6);
  EXPECT_DOUBLE_EQ(data.IP(2, 3), 8);
  EXPECT_DOUBLE_EQ(data.IP(2, 99), 8);
  EXPECT_DOUBLE_EQ(ScanResults.IPDataMin, 6);
  EXPECT_DOUBLE_EQ(ScanResults.IPDataMax, 6);
  EXPECT_DOUBLE_EQ(ScanResults.IPRatioMax, 6.0 / 100);
}

TEST_F(DatScanTest, ReadDatDataGivesTheRecordsOfTheScan) {
  TDatData scanned;
  LoadDat(Fixture("ga_sub3.dat"), &scanned);
  prompts.texts.clear();
  TDatData read;
  ASSERT_TRUE(ReadDatData(read));
  EXPECT_TRUE(prompts.texts.empty());
  ASSERT_EQ(read.points.size(), scanned.points.size());
  for (std::size_t i = 0; i < read.points.size(); ++i) {
    EXPECT_DOUBLE_EQ(read.points[i].position, scanned.points[i].position);
    EXPECT_DOUBLE_EQ(read.points[i].depth, scanned.points[i].depth);
    EXPECT_DOUBLE_EQ(read.points[i].value, scanned.points[i].value);
  }
  EXPECT_TRUE(read.complete);
}

TEST_F(DatScanTest, AHeaderThatFailsMakesAPlainList) {
  LoadDat(Fixture("array_word.dat"));
  EXPECT_FALSE(IsDatFile);
  EXPECT_EQ(ScanResults.nDataPoints, 3);  // every line that reads as x a v
  EXPECT_TRUE(prompts.texts.empty());
}

TEST_F(DatScanTest, AMissingFileScansNothingSilently) {
  testing_dat::PointStateAt(Fixture("no_such_file.dat"));
  IsDatFile = true;
  EXPECT_FALSE(ScanDatFile());
  EXPECT_EQ(ScanResults.nDataPoints, 0);
  EXPECT_TRUE(prompts.texts.empty());
}

TEST_F(DatScanTest, MoreThanTwoHundredDistinctValuesKeepTheDataAndWarnOnce) {
  std::string text = "Many spacings\n1\n1\n205\n1\n0\n";
  for (int i = 1; i <= 205; ++i) text += FormatInt(i) + " " + FormatInt(i) + " 100\n";
  text += "0\n";
  const std::string path = Write("many.dat", text);
  LoadDat(path);
  EXPECT_EQ(ScanResults.nDataPoints, 205);
  EXPECT_EQ(ScanResults.nSpacings, MaxScanList);
  EXPECT_EQ(ScanResults.nPseudoDepths, MaxScanList);
  EXPECT_DOUBLE_EQ(ScanResults.SpacingList[MaxScanList - 1], 200);
  EXPECT_DOUBLE_EQ(ScanResults.SpacingMax, 205);  // the range still sees every datum
  ASSERT_EQ(prompts.texts.size(), 2u);
  EXPECT_EQ(prompts.texts[0], "WARNING: More than 200 distinct electrode spacings in " + path +
                                  "! Only the first 200 are listed.");
  EXPECT_EQ(prompts.texts[1], "WARNING: More than 200 distinct pseudo-depths in " + path +
                                  "! Only the first 200 are listed.");
}

TEST_F(DatScanTest, TopographyBeyondItsCapacityKeepsTheFirst6001Points) {
  const auto file = [&](int count) {
    std::string text =
        "Long topography\n1\n1\n2\n1\n0\n1 1 10\n2 2 11\n1\n" + FormatInt(count) + "\n";
    for (int i = 1; i <= count; ++i) text += FormatInt(i) + " 100\n";
    return Write("topo" + FormatInt(count) + ".dat", text);
  };
  LoadDat(file(MaxTopoPoints));
  EXPECT_TRUE(prompts.texts.empty());
  EXPECT_EQ(TopoList.nTopoPoints, MaxTopoPoints);

  LoadDat(file(MaxTopoPoints + 5));
  ASSERT_EQ(prompts.texts.size(), 1u);
  EXPECT_EQ(prompts.texts[0], "ERROR: Too many topography points in RH2 file ... (max=6001)");
  EXPECT_TRUE(TopoPresent);
  EXPECT_EQ(TopoList.nTopoPoints, MaxTopoPoints);
  EXPECT_DOUBLE_EQ(TopoList.TopoXLast, MaxTopoPoints);
}

}  // namespace
}  // namespace karvelo

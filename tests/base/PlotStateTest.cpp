#include "base/PlotState.h"

#include <gtest/gtest.h>

namespace karvelo {
namespace {

class PlotStateTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetPlotState(); }
  void TearDown() override { ResetPlotState(); }
};

TEST_F(PlotStateTest, StartsWithTheDocumentedDefaults) {
  EXPECT_EQ(optrec.FileName, "DEMODATA");
  EXPECT_EQ(optrec.ArrayCode, 16);
  EXPECT_EQ(optrec.TimeSteps, 1);
  EXPECT_EQ(graphtype.Xsize, 87);
  EXPECT_EQ(graphtype.TextStrIP, "Chargeability [mV/V]");
  EXPECT_EQ(graphtype.RhoLimit[0], 32);
  EXPECT_EQ(graphtype.RhoLimit[12], 3200);
  EXPECT_EQ(graphtype.RhoLimit[13], 0);
  EXPECT_EQ(graphtype.ErrLimit[0], -40);
  EXPECT_EQ(graphtype.ErrLimit[12], 56);
  EXPECT_EQ(graphtype.ErrLimit[13], 0);
  EXPECT_EQ(DataLabels.DeptStr, "KARVELO - Vastrum Instrument AB");
  EXPECT_TRUE(DataLabels.MethodStr.empty());
  EXPECT_TRUE(PlotLegend);
  EXPECT_EQ(DistUnit, "m");
}

TEST_F(PlotStateTest, ResetUndoesEveryChangeMadeThroughTheNames) {
  optrec.FileName = "P1";
  PlotDots = true;
  graphtype.RhoLimit[25] = 7;
  ScanResults.nDataPoints = 40000;  // beyond 16 bits on purpose
  TopoList.nTopoPoints = 3;
  EXPECT_EQ(gPlotState.opt.FileName, "P1");
  EXPECT_EQ(ScanResults.nDataPoints, 40000);
  ResetPlotState();
  EXPECT_EQ(optrec.FileName, "DEMODATA");
  EXPECT_FALSE(PlotDots);
  EXPECT_EQ(graphtype.RhoLimit[25], 0);
  EXPECT_EQ(TopoList.nTopoPoints, 0);
}

TEST_F(PlotStateTest, FixedWidthStringsCutLongText) {
  optrec.Comment = std::string(100, 'x');
  optrec.LeftDirect = "NorthNorthWest";
  optrec.MarkStr[1] = "a marker label that is too long";
  EXPECT_EQ(optrec.Comment.size(), 80u);
  EXPECT_EQ(optrec.LeftDirect, "NorthNorth");
  EXPECT_EQ(optrec.MarkStr[1].size(), 20u);
}

TEST(ArrayCodes, DatTypesMapToTheFirstMatchingCode) {
  struct Case {
    int datType, code;
  } cases[] = {{1, 1},   {2, 4},   {3, 5},  {6, 6},  {7, 10},
               {11, 11}, {15, 15}, {0, 16}, {4, 16}, {255, 16}};
  for (const auto& c : cases) EXPECT_EQ(ArrayCodeOfDatType(c.datType), c.code) << c.datType;
  EXPECT_STREQ(ArrayNames[11], "General electrode array");
  EXPECT_STREQ(ArrayAbbrev[16], "XXX");
  EXPECT_STREQ(ArrayNames[16], "");
}

TEST(ScanList, ValuesThatAgreeToTheHundredthAreOneEntry) {
  EXPECT_TRUE(SameListEntry(1.000, 1.004));
  EXPECT_FALSE(SameListEntry(1.000, 1.006));
  std::array<double, MaxScanList> list{};
  int n = 0;
  for (double v : {5.0, 1.0, 1.004, 3.0, 1.006, 5.0}) EXPECT_TRUE(AddToScanList(list, n, v));
  ASSERT_EQ(n, 4);
  EXPECT_EQ(list[0], 1.0);
  EXPECT_EQ(list[1], 1.006);
  EXPECT_EQ(list[2], 3.0);
  EXPECT_EQ(list[3], 5.0);
}

TEST(ScanList, AFullListKeepsItsEntriesAndRefusesNewOnes) {
  std::array<double, MaxScanList> list{};
  int n = 0;
  for (int i = 0; i < MaxScanList; ++i) ASSERT_TRUE(AddToScanList(list, n, i));
  EXPECT_FALSE(AddToScanList(list, n, 1000.0));
  EXPECT_TRUE(AddToScanList(list, n, 10.0));  // already present: still fine
  EXPECT_EQ(n, MaxScanList);
  EXPECT_EQ(list[MaxScanList - 1], MaxScanList - 1);
}

}  // namespace
}  // namespace karvelo

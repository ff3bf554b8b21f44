#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

#include "base/PlotState.h"
#include "input/DatReader.h"

namespace karvelo {
namespace {

constexpr double kPi = std::numbers::pi;

TDataLayout Layout(int code, bool xFirst = false) {
  TDataLayout l;
  l.arrayCode = code;
  l.xIsFirstElectrode = xFirst;
  return l;
}

struct PlacedCase {
  const char* line;
  TDataLayout layout;
  double position, depth, a, n, value;
};

TEST(ParseDataLineTest, PlacesEachLayout) {
  TDataLayout threeD = Layout(1);
  threeD.hasY = true;
  const PlacedCase cases[] = {
      {"10 2 100", Layout(1, true), 13, 1, 2, 1, 100},                  // Wenner from C1
      {"10 2 100", Layout(1), 10, 1, 2, 1, 100},                        // Wenner midpoint
      {"10 2 100", Layout(4, true), 11, 1, 2, 1, 100},                  // Pole-Pole from C1
      {"10 1 1 100", Layout(5), 10, 1.0 / 3, 1, 1, 100},                // Dipole-dipole
      {"10 1 2 100", Layout(10), 10, 2.5 / 3, 1, 2, 100},               // Schlumberger
      {"49, 7,-1, 110", Layout(6, true), 57.75, 10.5 / 6, 7, -1, 110},  // reverse pole-dipole
      {"1.5\t2\t3", Layout(1), 1.5, 1, 2, 1, 3},                        // TAB-separated
      {"10 2 *", Layout(1), 10, 1, 2, 1, SentinelMissing},              // missing value
      {"0 5 3 10", threeD, 0, 1.5, 3, 1, 10},                           // x y a v
  };
  for (const auto& c : cases) {
    TDataLine d;
    std::string reason;
    ASSERT_EQ(ParseDataLine(c.line, c.layout, d, &reason), TDataLineStatus::Valid)
        << c.line << ": " << reason;
    EXPECT_DOUBLE_EQ(d.position, c.position) << c.line;
    EXPECT_DOUBLE_EQ(d.depth, c.depth) << c.line;
    EXPECT_DOUBLE_EQ(d.a, c.a) << c.line;
    EXPECT_DOUBLE_EQ(d.n, c.n) << c.line;
    EXPECT_DOUBLE_EQ(d.value, c.value) << c.line;
  }
}

TEST(ParseDataLineTest, ClosingBlankAndBadLines) {
  struct Case {
    const char* line;
    int code;
    TDataLineStatus status;
    const char* reason;  // for Invalid lines
  };
  const Case cases[] = {
      {"0", 1, TDataLineStatus::Closing, ""},
      {"0\t\t\t\t", 11, TDataLineStatus::Closing, ""},
      {"0 0.0 0 0", 5, TDataLineStatus::Closing, ""},
      {"", 1, TDataLineStatus::Blank, ""},
      {" \t ", 1, TDataLineStatus::Blank, ""},
      {"10 2", 1, TDataLineStatus::Invalid, "the line ends before the value (number 3)"},
      {"10 abc 100", 1, TDataLineStatus::Invalid,
       "number 2 (\"abc\") is not a valid electrode spacing"},
      {"10 * 100", 1, TDataLineStatus::Invalid,
       "number 2 (\"*\") is not a valid electrode spacing"},
      {"10 1 100", 5, TDataLineStatus::Invalid, "the line ends before the value (number 4)"},
      {"5 0 0 1 0 2 0 3 0 4 0 10", 11, TDataLineStatus::Invalid,
       "the electrode count must be 2, 3 or 4"},
      {"4 1 0 1 0 1 0 1 0 10", 11, TDataLineStatus::Invalid,
       "all electrodes of the line are at one point"},
      {"4 0 0 3 0 1 0 2 0", 15, TDataLineStatus::Invalid,
       "the line ends before the value (number 10)"},
      {"3 0 0 1 0 2 0", 11, TDataLineStatus::Invalid, "the line ends before the value (number 8)"},
  };
  for (const auto& c : cases) {
    TDataLine d;
    std::string reason;
    EXPECT_EQ(ParseDataLine(c.line, Layout(c.code), d, &reason), c.status) << c.line;
    if (c.status == TDataLineStatus::Invalid) {
      EXPECT_EQ(reason, c.reason) << c.line;
    }
  }
}

TEST(ParseDataLineTest, GeneralArrayPlacesByItsElectrodes) {
  TDataLine d;
  // Wenner layout C1 C2 P1 P2 at 0 3 1 2 with elevations: 2-D factors use x only.
  ASSERT_EQ(ParseDataLine("4 0 5 3 6 1 7 2 8 100", Layout(11), d), TDataLineStatus::Valid);
  EXPECT_DOUBLE_EQ(d.x, 1.5);
  EXPECT_DOUBLE_EQ(d.position, 1.5);
  EXPECT_NEAR(d.k, 2 * kPi, 1e-12);
  EXPECT_DOUBLE_EQ(d.a, 1);
  EXPECT_NEAR(d.depth, 0.519, 0.01);  // median depth, not the centre rule's 0.5
  EXPECT_DOUBLE_EQ(d.value, 100);

  // Two electrodes, values given as resistances: times k = 4 pi.
  TDataLayout resistance = Layout(11);
  resistance.measurementType = 1;
  ASSERT_EQ(ParseDataLine("2 0 0 2 0 3", resistance, d), TDataLineStatus::Valid);
  EXPECT_NEAR(d.value, 3 * 4 * kPi, 1e-9);
  EXPECT_DOUBLE_EQ(d.a, NoFactor);
  EXPECT_DOUBLE_EQ(d.position, 1);

  // 3-D: positions are x and y, and the line's y is the middle of its electrodes.
  TDataLayout grid = Layout(11);
  grid.hasY = true;
  ASSERT_EQ(ParseDataLine("2 0 0 0 4 3", grid, d), TDataLineStatus::Valid);
  EXPECT_DOUBLE_EQ(d.y, 2);
  EXPECT_NEAR(d.k, 2 * kPi * 4, 1e-9);
}

TEST(ParseDataLineTest, ErrorsIPWindowsAndTimeSteps) {
  TDataLine d;
  TDataLayout l = Layout(1);
  l.errors = true;
  l.ipValues = 1;
  ASSERT_EQ(ParseDataLine("1 1 10 0.5 3", l, d), TDataLineStatus::Valid);
  EXPECT_DOUBLE_EQ(d.error, 0.5);
  EXPECT_DOUBLE_EQ(d.ip, 3);

  // Several windows: the plotted one, limited to those on the line.
  TDataLayout w = Layout(5);
  w.ipValues = 3;
  w.ipWindow = 2;
  ASSERT_EQ(ParseDataLine("1 1 1 100 5 6 7", w, d), TDataLineStatus::Valid);
  EXPECT_DOUBLE_EQ(d.ip, 6);
  w.ipWindow = 9;
  ASSERT_EQ(ParseDataLine("1 1 1 100 5 6 7", w, d), TDataLineStatus::Valid);
  EXPECT_DOUBLE_EQ(d.ip, 7);
  // A line with fewer windows than the header states is a bad line.
  EXPECT_EQ(ParseDataLine("1 1 1 100 5 6", w, d), TDataLineStatus::Invalid);

  // Time steps with errors: v e v e v e; the difference plot of steps 1 and 3.
  TDataLayout t = Layout(11);
  t.timeSteps = 3;
  t.errors = true;
  t.timeStep = 0;
  ASSERT_EQ(ParseDataLine("4 0 0 3 0 1 0 2 0 100 1 110 2 150 3", t, d), TDataLineStatus::Valid);
  EXPECT_DOUBLE_EQ(d.value, 2 * (150.0 - 100) / (150 + 100));
  t.timeStep = 2;
  ASSERT_EQ(ParseDataLine("4 0 0 3 0 1 0 2 0 100 1 110 2 150 3", t, d), TDataLineStatus::Valid);
  EXPECT_DOUBLE_EQ(d.value, 110);
  EXPECT_DOUBLE_EQ(d.error, 2);
}

TEST(SelectStepValueTest, DifferenceAndLimits) {
  const double v[] = {0, 100, 110, 150};  // 1-based
  EXPECT_DOUBLE_EQ(SelectStepValue(v, 3, 0), 0.4);
  EXPECT_DOUBLE_EQ(SelectStepValue(v, 3, 3), 150);
  EXPECT_DOUBLE_EQ(SelectStepValue(v, 3, 7), 150);
  EXPECT_DOUBLE_EQ(SelectStepValue(v, 1, 0), 100);  // one step: no difference
  const double missing[] = {0, SentinelMissing, 1};
  EXPECT_DOUBLE_EQ(SelectStepValue(missing, 2, 0), SentinelMissing);
  const double cancel[] = {0, 1, -1};
  EXPECT_DOUBLE_EQ(SelectStepValue(cancel, 2, 0), SentinelMissing);
}

}  // namespace
}  // namespace karvelo

#include "input/ElectrodeGeometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace karvelo {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr double Far = AbsentElectrode;

TElectrodeLayout Line2D(double c1, double c2, double p1, double p2) {
  return {{c1, 0}, {c2, 0}, {p1, 0}, {p2, 0}};
}

struct ShiftCase {
  int code;
  double x, a, n, expected;
};

TEST(ShiftToMidpointTest, MovesTheFirstElectrodeToTheArrayMidpoint) {
  const ShiftCase cases[] = {
      {1, 10, 2, 1, 13},   // Wenner: 1.5 a
      {3, 10, 2, 1, 13},   // the Wenner family shares the rule
      {4, 10, 2, 1, 11},   // Pole-Pole: 0.5 a
      {5, 0, 1, 2, 2},     // Dipole-dipole: a + n a / 2
      {6, 0, 2, 1, 2},     // Pole-dipole: (n a + a) / 2
      {6, 0, 2, 3, 4},     //
      {6, 0, 7, -1, 7},    // reverse pole-dipole: P2 first, the shift uses |n|
      {10, 0, 1, 2, 2.5},  // Schlumberger: a / 2 + n a
      {11, 5, 1, 1, 5},    // general array: positions come from the line
      {16, 5, 1, 1, 5},    // no array
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(ShiftToMidpoint(c.x, c.a, c.n, c.code), c.expected) << "code " << c.code;
  }
}

struct PlaceCase {
  int code;
  double t, a, n;
  double c1, c2, p1, p2;
  double position, depth;
};

TEST(PlaceElectrodesTest, LayoutsWithAnNColumnAndTheirPlotPlace) {
  const PlaceCase cases[] = {
      // Dipole-dipole a = 1, n = 1: centres at t -+ 1, plot at t, depth 1/3.
      {5, 10, 1, 1, 9.5, 8.5, 10.5, 11.5, 10, 1.0 / 3},
      // Schlumberger a = 1, n = 2: potentials inside, depth 2.5 / 3.
      {10, 10, 1, 2, 7.5, 12.5, 9.5, 10.5, 10, 2.5 / 3},
      // Pole-dipole a = 2, n = 1: C2 at infinity, halfway between the centres.
      {6, 10, 2, 1, 8, Far, 10, 12, 9.5, 3.0 / 6},
      // Reverse pole-dipole: the mirror image, the same depth as the forward one.
      {6, 10, 2, -1, 12, Far, 10, 8, 10.5, 3.0 / 6},
  };
  for (const auto& c : cases) {
    const TElectrodeLine e = PlaceElectrodes(c.t, c.a, c.n, c.code);
    EXPECT_DOUBLE_EQ(e.C1, c.c1) << "code " << c.code << " n " << c.n;
    EXPECT_DOUBLE_EQ(e.C2, c.c2) << "code " << c.code << " n " << c.n;
    EXPECT_DOUBLE_EQ(e.P1, c.p1) << "code " << c.code << " n " << c.n;
    EXPECT_DOUBLE_EQ(e.P2, c.p2) << "code " << c.code << " n " << c.n;
    const TPlotPlace place = CentreRule(e);
    EXPECT_DOUBLE_EQ(place.position, c.position) << "code " << c.code << " n " << c.n;
    EXPECT_DOUBLE_EQ(place.depth, c.depth) << "code " << c.code << " n " << c.n;
  }
}

TEST(PlaceElectrodesTest, OtherCodesPlaceNothing) {
  const TElectrodeLine e = PlaceElectrodes(10, 1, 1, 1);
  EXPECT_FALSE(ElectrodeDefined(e.C1));
  EXPECT_FALSE(ElectrodeDefined(e.P2));
}

TEST(CentreRuleTest, InsideNeedsAllFourElectrodesAndCurrentsOnBothSides) {
  struct Case {
    TElectrodeLine e;
    double position, depth;
  };
  const Case cases[] = {
      {{0, 3, 1, 2}, 1.5, 0.5},         // Wenner C1 P1 P2 C2: inside, below Pc
      {{3, 0, 2, 1}, 1.5, 0.5},         // the same reversed
      {{0, 1, 2, 3}, 1.5, 2.0 / 6},     // Cc 0.5, Pc 2.5: outside, halfway
      {{0, 3, 1, Far}, 1.25, 0.5 / 6},  // P2 absent: never inside
      {{0, 2, 2, 3}, 1.75, 1.5 / 6},    // P1 on C2: not strictly inside
  };
  for (const auto& c : cases) {
    const TPlotPlace p = CentreRule(c.e);
    EXPECT_DOUBLE_EQ(p.position, c.position) << c.e.C1 << " " << c.e.C2 << " " << c.e.P1;
    EXPECT_DOUBLE_EQ(p.depth, c.depth) << c.e.C1 << " " << c.e.C2 << " " << c.e.P1;
  }
}

TEST(ArrayFactorsTest, WennerLayoutGivesTwoPiAndUnitSpacing) {
  const TArrayFactors f = ArrayFactors(Line2D(0, 3, 1, 2));
  EXPECT_NEAR(f.k, 2 * kPi, 1e-12);
  EXPECT_DOUBLE_EQ(f.a, 1);
  EXPECT_DOUBLE_EQ(f.n, 1);
}

TEST(ArrayFactorsTest, TableOfLayouts) {
  struct Case {
    const char* what;
    TElectrodeLayout e;
    double k, a, n;
  };
  const Case cases[] = {
      // Two electrodes: k = |2 pi / (1/2)|, and no pair forms a spacing.
      {"pole-pole", Line2D(0, Far, 2, Far), 4 * kPi, NoFactor, 2 / NoFactor},
      // Dipole-dipole a = 1, n = 2 laid out C2 C1 P1 P2 at 0 1 3 4: C1 lies right of
      // C2, so n is negative.
      {"C2 C1 P1 P2", Line2D(1, 0, 3, 4), 2 * kPi / (1.0 / 2 - 1.0 / 3 - 1.0 / 3 + 1.0 / 4), 1, -2},
      // Its mirror image P2 P1 C1 C2: C1 left of C2 and the potentials on C1's side.
      {"P2 P1 C1 C2", Line2D(3, 4, 1, 0), 2 * kPi / (1.0 / 2 - 1.0 / 3 - 1.0 / 3 + 1.0 / 4), 1, 2},
      // A potential electrode on a current electrode: no factor.
      {"coincident", Line2D(0, 3, 0, 2), 0, 2, 0},
      // Both potentials midway between the currents: D = 0, so k = 0; MN = 0 gives a = 0
      // and leaves n at 0.
      {"null", Line2D(-1, 1, 0, 0), 0, 0, 0},
      // 3-D: distances in the plane.
      {"plane", {{0, 0}, {Far, 0}, {3, 4}, {Far, 0}}, 2 * kPi * 5, NoFactor, 5 / NoFactor},
  };
  for (const auto& c : cases) {
    const TArrayFactors f = ArrayFactors(c.e);
    EXPECT_NEAR(f.k, c.k, 1e-9 * std::max(1.0, c.k)) << c.what;
    EXPECT_DOUBLE_EQ(f.a, c.a) << c.what;
    EXPECT_NEAR(f.n, c.n, 1e-12 * std::max(1.0, std::fabs(c.n))) << c.what;
  }
}

TEST(MedianDepthTest, MatchesTheKnownDepthsOfTheClassicArrays) {
  // Depths above which half the signal of a half-space originates, in spacings a.
  struct Case {
    const char* what;
    TElectrodeLayout e;
    double depth;
  };
  const Case cases[] = {
      {"Wenner", Line2D(0, 3, 1, 2), 0.519},
      {"Wenner a = 10", Line2D(0, 30, 10, 20), 5.19},
      {"dipole-dipole n = 1", Line2D(1, 0, 2, 3), 0.416},
      {"pole-pole", Line2D(0, Far, 1, Far), 0.866},
      {"pole-dipole n = 1", Line2D(0, Far, 1, 2), 0.519},
  };
  for (const auto& c : cases) {
    const TMedianDepth d = MedianDepth(c.e);
    ASSERT_TRUE(d.Found()) << c.what;
    // The search stops at 1 % of the bracket.
    EXPECT_NEAR(d.depth, c.depth, 0.02 * c.depth) << c.what;
    EXPECT_LT(d.residual, 0.01) << c.what;
  }
}

TEST(MedianDepthTest, NoDefinedDistanceGivesNoDepthInsteadOfAnUnbracketedSearch) {
  const TMedianDepth none = MedianDepth(Line2D(0, Far, Far, Far));
  EXPECT_FALSE(none.Found());
  EXPECT_EQ(none.depth, NoInvestigationDepth);
  const TElectrodeLayout farY{{0, 1e31}, {Far, 0}, {1, 0}, {Far, 0}};
  EXPECT_FALSE(MedianDepth(farY).Found());
}

TEST(MedianDepthTest, SignalFractionRunsFromZeroAtTheSurfaceToOneAtDepth) {
  EXPECT_DOUBLE_EQ(SignalFractionAbove(0, 1, 2, 2, 1), 0);
  EXPECT_NEAR(SignalFractionAbove(1e6, 1, 2, 2, 1), 1, 1e-6);
  // A distance of zero carries no defined signal.
  EXPECT_DOUBLE_EQ(SignalFractionAbove(1, 0, 2, 2, 1), 0);
}

TEST(MedianDepthTest, TinyAndCoincidentLayoutsEndTheSearch) {
  // Electrodes closer than the bracket's lower end, and a layout with no signal: the
  // search must still end with an answer.
  EXPECT_TRUE(MedianDepth(Line2D(0, 0.00003, 0.00001, 0.00002)).Found());
  EXPECT_TRUE(MedianDepth(Line2D(0, 3, 0, 2)).Found());
}

}  // namespace
}  // namespace karvelo

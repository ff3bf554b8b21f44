// The pseudosection grid on its own: placing data with the duplicate rules, filling
// gaps, and the pixels the paint loop reaches.

#include "render/PseudoGrid.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>
#include <vector>

namespace karvelo {
namespace {

const double kLevels[] = {1.0, 2.0, 3.0};

struct GridFixture {
  PseudoGrid grid;
  GridFixture() { grid.StartWindow(kLevels, 3); }
};

TEST(PseudoGridTest, DuplicatesFollowThePlotWhichRule) {
  struct Case {
    int plotWhich;
    double expected;
  };
  // Three data on one cell, in file order 10, 20, 40.
  for (const Case c : {Case{0, 10.0}, Case{1, 40.0}, Case{2, 27.5}, Case{7, 10.0}}) {
    GridFixture f;
    const std::vector<GridPoint> pts = {{5.0, 10.0, 2}, {5.0, 20.0, 2}, {5.0, 40.0, 2}};
    const PlaceResult r = f.grid.Place(pts, 0.0, 100.0, 0.25, c.plotWhich);
    SCOPED_TRACE(c.plotWhich);
    EXPECT_EQ(r.duplicates, 2);
    EXPECT_TRUE(r.allRowsFound);
    EXPECT_TRUE(f.grid.CellFilled(21, 2));
    EXPECT_DOUBLE_EQ(f.grid.Cell(21, 2), c.expected);
  }
}

TEST(PseudoGridTest, ColumnsComeFromDistanceAndWidthAndStopAt6001) {
  GridFixture f;
  // Column round(x / 0.5) + 1, halves to even: 0.75 and 1.25 (1.5 and 2.5) share
  // column 3, 1.75 (3.5) goes to column 5; 3000.5 would be column 6002.
  const std::vector<GridPoint> pts = {{0.0, 1, 1},  {0.75, 2, 1},   {1.25, 3, 1},
                                      {1.75, 4, 1}, {3000.0, 5, 1}, {3000.5, 6, 1}};
  const PlaceResult r = f.grid.Place(pts, 0.0, 1e9, 0.5, 1);
  EXPECT_EQ(r.duplicates, 1);
  EXPECT_DOUBLE_EQ(f.grid.Cell(1, 1), 1);
  EXPECT_DOUBLE_EQ(f.grid.Cell(3, 1), 3);
  EXPECT_DOUBLE_EQ(f.grid.ColumnX(3), 1.25);  // the column takes the last datum's x
  EXPECT_FALSE(f.grid.ColumnInUse(4));
  EXPECT_DOUBLE_EQ(f.grid.Cell(5, 1), 4);
  EXPECT_DOUBLE_EQ(f.grid.Cell(6001, 1), 5);
  EXPECT_EQ(f.grid.HighestColumn(), 6001);
}

TEST(PseudoGridTest, DataOutsideTheWindowOrWithoutRowAreLeftOut) {
  GridFixture f;
  const std::vector<GridPoint> pts = {{-0.1, 1, 1}, {10.1, 1, 1}, {5.0, 1, 0}, {5.0, 7, 3}};
  const PlaceResult r = f.grid.Place(pts, 0.0, 10.0, 1.0, 2);
  EXPECT_FALSE(r.allRowsFound);
  EXPECT_EQ(f.grid.HighestColumn(), 6);
  EXPECT_FALSE(f.grid.CellFilled(6, 1));
  EXPECT_TRUE(f.grid.CellFilled(6, 3));
}

TEST(PseudoGridTest, HorizontalGapsAreFilledOnlyUpToTheOverlap) {
  struct Case {
    int gap;  // columns between the two filled cells' indices
    double unit, overlap;
    bool filled;
  };
  // Filled when gap * unit / 2 <= overlap.
  for (const Case c :
       {Case{4, 1.0, 2.0, true}, Case{5, 1.0, 2.0, false}, Case{40, 1.0, 20.0, true},
        Case{41, 1.0, 20.0, false}, Case{2, 4.0, 4.0, true}, Case{3, 4.0, 4.0, false}}) {
    SCOPED_TRACE(c.gap);
    GridFixture f;
    const std::vector<GridPoint> pts = {{0.0, 10.0, 1}, {static_cast<double>(c.gap), 30.0, 1}};
    f.grid.Place(pts, 0.0, 1e6, 1.0, 2);
    f.grid.FillGaps(c.unit, c.overlap);
    const int mid = 1 + c.gap / 2;
    EXPECT_TRUE(f.grid.ColumnInUse(mid));  // column positions are always interpolated
    EXPECT_DOUBLE_EQ(f.grid.ColumnX(mid), c.gap / 2);
    EXPECT_EQ(f.grid.CellFilled(mid, 1), c.filled);
    if (c.filled) {
      EXPECT_DOUBLE_EQ(f.grid.Cell(mid, 1), 10.0 + 20.0 * (c.gap / 2) / c.gap);
    }
  }
}

TEST(PseudoGridTest, VerticalGapsAreFilledAtAnyDistanceByRowIndex) {
  GridFixture f;
  const std::vector<GridPoint> pts = {{0.0, 10.0, 1}, {0.0, 30.0, 3}, {1.0, 5.0, 1}};
  f.grid.Place(pts, 0.0, 10.0, 1.0, 2);
  f.grid.FillGaps(1.0, 0.0);
  EXPECT_TRUE(f.grid.CellFilled(1, 2));
  EXPECT_DOUBLE_EQ(f.grid.Cell(1, 2), 20.0);
  // Column 2 has a single filled row: nothing to fill between.
  EXPECT_FALSE(f.grid.CellFilled(2, 2));
  EXPECT_FALSE(f.grid.CellFilled(2, 3));
}

TEST(PseudoGridTest, AWindowStartsEmptyAgain) {
  GridFixture f;
  const std::vector<GridPoint> pts = {{0.0, 10.0, 1}, {4.0, 30.0, 1}, {0.0, 1.0, 3}};
  f.grid.Place(pts, 0.0, 10.0, 1.0, 2);
  f.grid.FillGaps(1.0, 100.0);
  f.grid.StartWindow(kLevels, 2);
  EXPECT_EQ(f.grid.HighestColumn(), 0);
  EXPECT_EQ(f.grid.RowCount(), 2);
  for (int s = 1; s <= 6; ++s) {
    EXPECT_FALSE(f.grid.ColumnInUse(s));
    for (int e = 1; e <= 3; ++e) EXPECT_FALSE(f.grid.CellFilled(s, e));
  }
  // A datum in a column of the previous window does not see the old cells.
  const std::vector<GridPoint> again = {{2.0, 7.0, 2}};
  const PlaceResult r = f.grid.Place(again, 0.0, 10.0, 1.0, 2);
  EXPECT_EQ(r.duplicates, 0);
  EXPECT_FALSE(f.grid.CellFilled(3, 1));
  EXPECT_DOUBLE_EQ(f.grid.Cell(3, 2), 7.0);
}

// A 3 x 3 grid of data at x = 0, 1, 2 and levels 1, 2, 3 with value 10 x + level.
std::map<std::pair<int, int>, double> PaintSquare(const PaintGeometry& g) {
  GridFixture f;
  std::vector<GridPoint> pts;
  for (int x = 0; x <= 2; ++x) {
    for (int e = 1; e <= 3; ++e) pts.push_back({static_cast<double>(x), 10.0 * x + e, e});
  }
  f.grid.Place(pts, 0.0, 2.0, 1.0, 2);
  f.grid.FillGaps(1.0, 0.0);
  std::map<std::pair<int, int>, double> painted;
  PaintGrid(f.grid, g, [&](int k, int i, double v) { painted[{k, i}] = v; });
  return painted;
}

TEST(PseudoGridTest, PaintCoversExactlyTheHullOfTheData) {
  // 40 pixels for distances -1..3, 40 pixels for depths 0..4: a pixel every 0.1.
  PaintGeometry g{40, 40, -1.0, 3.0, 0.0, 4.0, -1e9, 1e9};
  const auto painted = PaintSquare(g);
  // Hull: x in (0, 2], depth in (1, 3] — the first column and row have no neighbour
  // before them, so the pixels exactly on them stay blank.
  for (int k = 0; k <= 40; ++k) {
    for (int i = 0; i <= 40; ++i) {
      const bool inside = k > 10 && k <= 30 && i > 10 && i <= 30;
      ASSERT_EQ(painted.count({k, i}) == 1, inside) << k << "," << i;
    }
  }
  // Bilinear inside: x = 1.5, depth 2.5 gives 15 + 2.5.
  EXPECT_NEAR(painted.at({25, 25}), 17.5, 1e-9);
  EXPECT_NEAR(painted.at({30, 30}), 23.0, 1e-9);
}

TEST(PseudoGridTest, PaintStaysInsideTheWindow) {
  PaintGeometry g{40, 40, -1.0, 3.0, 0.0, 4.0, 0.5, 1.5};
  const auto painted = PaintSquare(g);
  ASSERT_FALSE(painted.empty());
  for (const auto& [pos, v] : painted) {
    EXPECT_GE(pos.first, 15);
    EXPECT_LE(pos.first, 25);
  }
}

}  // namespace
}  // namespace karvelo

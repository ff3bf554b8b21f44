#pragma once

// The regular grid behind a pseudosection: one window along the profile at a time,
// 6001 columns by 200 rows (one row per distinct pseudo-depth). Data are dropped into
// the cells, the gaps between them are interpolated, and the pixels of the diagram are
// coloured from the four cells around them.
//
// The grid knows nothing about files or the drawing layer: it takes the data of one
// drawing as plain points and hands painted pixels to a sink, so that the placing, the
// gap filling and the per-pixel loop can be tested and timed on their own.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "base/LargeBuffer.h"
#include "base/PlotState.h"
#include "input/QvMath.h"

namespace karvelo {

inline constexpr int PseudoGridColumns = 6001;
inline constexpr int PseudoGridRows = MaxScanList;  // as many rows as distinct pseudo-depths

// One datum ready for the grid: its plot position, the value shown, and the grid row
// of its pseudo-depth (0 when the pseudo-depth is none of the row levels).
struct GridPoint {
  double x = 0;
  double value = 0;
  int row = 0;
};

// What placing one window's data gave.
struct PlaceResult {
  int duplicates = 0;        // data that landed on an already filled cell
  bool allRowsFound = true;  // false when some datum's pseudo-depth matched no row
};

// The work buffer of one drawing. Columns and rows are numbered from 1, as the row
// levels come from a 1-based list in the file formats' tradition. Allocated once per
// drawing; each window clears only what the previous window touched.
class PseudoGrid {
 public:
  PseudoGrid();

  // Starts a window: every column and cell empty, rows 1..nLevels at the given levels.
  void StartWindow(const double* levels, int nLevels);

  // Drops the points (in file order) whose x lies in [xs, xe] into their cells.
  // A point's column is round((x - xs) / columnWidth) + 1; columns beyond 6001 are
  // ignored. Duplicates: plotWhich 0 keeps the first value, 1 the last, 2 the running
  // average of the values in file order.
  PlaceResult Place(std::span<const GridPoint> points, double xs, double xe, double columnWidth,
                    int plotWhich);
  // Drops one point whose column is already known (the inner step of Place).
  void PlaceAt(int column, const GridPoint& p, int plotWhich, PlaceResult& result);

  // Interpolates the x of empty columns between known ones, then the cells of each row
  // across gaps of g columns with g * unitSpacing / 2 <= overlap, then the cells of
  // each column between filled rows.
  void FillGaps(double unitSpacing, double overlap);

  int HighestColumn() const { return highest_; }
  int RowCount() const { return rowCount_; }
  double ColumnX(int s) const { return colX_[Idx(s)]; }
  bool ColumnInUse(int s) const { return colUsed_[Idx(s)] != 0; }
  double RowLevel(int e) const { return rowLevel_[Idx(e)]; }
  double Cell(int s, int e) const { return cells_[CellIdx(s, e)]; }
  bool CellFilled(int s, int e) const {
    return colUsed_[Idx(s)] != 0 && cellFilled_[CellIdx(s, e)] != 0;
  }
  // The cells of a column in use, row e at index e - 1: the paint loop's fast access.
  const double* ColumnValues(int s) const { return cells_.data() + CellIdx(s, 1); }
  const std::uint8_t* ColumnFilled(int s) const { return cellFilled_.data() + CellIdx(s, 1); }

 private:
  static std::size_t Idx(int i) { return static_cast<std::size_t>(i); }
  static std::size_t CellIdx(int s, int e) {
    return static_cast<std::size_t>(s - 1) * PseudoGridRows + static_cast<std::size_t>(e - 1);
  }
  // A column's cells are cleared the first time the window touches the column, so a
  // sparse window costs as little as a dense one of its width.
  void TouchColumn(int s);
  void FillColumnPositions();
  void FillRows(double unitSpacing, double overlap);
  void FillColumns();

  std::vector<double> colX_;
  std::vector<std::uint8_t> colUsed_;
  std::vector<std::uint32_t> colStamp_;
  std::vector<double> rowLevel_;
  LargeBuffer<double> cells_;
  LargeBuffer<std::uint8_t> cellFilled_;
  std::uint32_t stamp_ = 0;
  int highest_ = 0;
  int lowest_ = 0;  // the first column that received a datum (0 when none)
  int rowCount_ = 0;
};

// Where the diagram lies on the page and what it shows, for the per-pixel loop.
struct PaintGeometry {
  int width = 0;   // PlotX1 - PlotX0
  int height = 0;  // PlotY1 - PlotY0
  double lmin = 0, lmax = 0;
  double d0 = 0, dmax = 0;
  double windowStart = 0, windowEnd = 0;
};

// Pixel column k of the diagram, and the grid column p at or right of its distance.
struct PaintColumn {
  int k;
  double a;
  int p;
};

// The pixel columns of the window that lie between two grid columns in use.
std::vector<PaintColumn> PaintColumnsOf(const PseudoGrid& grid, const PaintGeometry& g);

// InterpolateLinear of QvMath, inline for the paint loop: the same arithmetic, so the
// same values, including the grid's missing marker.
inline double GridLerp(double y1, double y0, double x1, double x0, double x) {
  if (y1 == GridMissing || y0 == GridMissing || x1 == GridMissing || x0 == GridMissing) {
    return GridMissing;
  }
  if (x1 == x0) return y0;
  return y0 + (y1 - y0) * (x - x0) / (x1 - x0);
}

// The four cells around the pixels between grid columns p - 1 and p and rows t - 1 and
// t, interpolated to depth v: InterpolateBilinear split into its vertical half, done
// once per column pair, and its horizontal half, done per pixel.
struct Between {
  bool filled = false;
  double c = 0, d = 0;  // the values of columns p - 1 and p at depth v
  double e = 0, f = 0;  // the distances of columns p - 1 and p
  bool missing = false, flat = false;
  double dc = 0, fe = 0;

  static Between Of(const PseudoGrid& grid, int p, int t, double g0, double g1, double v) {
    Between b;
    const double* left = grid.ColumnValues(p - 1);
    const double* right = grid.ColumnValues(p);
    const std::uint8_t* leftFilled = grid.ColumnFilled(p - 1);
    const std::uint8_t* rightFilled = grid.ColumnFilled(p);
    b.filled = leftFilled[t - 2] && leftFilled[t - 1] && rightFilled[t - 2] && rightFilled[t - 1];
    if (!b.filled) return b;
    b.c = left[t - 1];
    b.d = right[t - 1];
    if (v != g1) {
      if (v != g0) {
        b.d = GridLerp(b.d, right[t - 2], g1, g0, v);
        b.c = GridLerp(b.c, left[t - 2], g1, g0, v);
      } else {
        b.c = left[t - 2];
        b.d = right[t - 2];
      }
    }
    b.e = grid.ColumnX(p - 1);
    b.f = grid.ColumnX(p);
    b.missing =
        b.d == GridMissing || b.c == GridMissing || b.f == GridMissing || b.e == GridMissing;
    b.flat = b.f == b.e;
    b.dc = b.d - b.c;
    b.fe = b.f - b.e;
    return b;
  }
  // The value at distance l: GridLerp(d, c, f, e, l) with its constant parts done.
  double At(double l) const {
    if (l == f) return d;
    if (l == e) return c;
    if (missing) return GridMissing;
    if (flat) return c;
    return c + dc * (l - e) / fe;
  }
};

// Calls sink(k, i, value) for every pixel (k, i) of the diagram, relative to its
// top-left corner, that lies in the window and inside the hull of the grid data; the
// value is interpolated bilinearly (InterpolateBilinear) from the four cells around the
// pixel. Neighbouring pixels between the same two grid columns share the vertical half
// of that interpolation, which is worked out once for them.
template <class Sink>
void PaintGrid(const PseudoGrid& grid, const PaintGeometry& g, Sink&& sink) {
  if (g.width <= 0 || g.height <= 0 || grid.RowCount() < 2 || grid.HighestColumn() < 2) return;
  const std::vector<PaintColumn> cols = PaintColumnsOf(grid, g);
  if (cols.empty()) return;
  const int rows = grid.RowCount();
  const double deepest = grid.RowLevel(rows);
  int t = 1;
  for (int i = 0; i <= g.height; ++i) {
    const double v = g.d0 + static_cast<double>(i) / g.height * (g.dmax - g.d0);
    if (v > deepest) continue;  // below the deepest pseudo-depth: left blank
    while (t <= rows && grid.RowLevel(t) < v) ++t;
    if (t < 2 || t > rows) continue;
    const double g0 = grid.RowLevel(t - 1), g1 = grid.RowLevel(t);
    int p = 0;  // the grid column pair (p - 1, p) worked out last
    Between pair;
    for (const PaintColumn& col : cols) {
      if (col.p != p) {
        p = col.p;
        pair = Between::Of(grid, p, t, g0, g1, v);
      }
      if (pair.filled) sink(col.k, i, pair.At(col.a));
    }
  }
}

}  // namespace karvelo

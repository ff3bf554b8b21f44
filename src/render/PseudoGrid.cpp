#include "render/PseudoGrid.h"

#include <algorithm>
#include <cmath>

namespace karvelo {

namespace {

constexpr std::size_t kColumnSlots = PseudoGridColumns + 1;  // slot 0 unused
constexpr std::size_t kCellCount = static_cast<std::size_t>(PseudoGridColumns) * PseudoGridRows;

}  // namespace

PseudoGrid::PseudoGrid()
    : colX_(kColumnSlots, 0.0),
      colUsed_(kColumnSlots, 0),
      colStamp_(kColumnSlots, 0),
      rowLevel_(PseudoGridRows + 1, 0.0),
      // A column's cells are cleared when a window first touches it; a drawing that
      // uses part of the grid pays only for that part of its memory.
      cells_(kCellCount),
      cellFilled_(kCellCount) {}

void PseudoGrid::StartWindow(const double* levels, int nLevels) {
  if (lowest_ > 0) {
    std::fill(colX_.begin() + lowest_, colX_.begin() + highest_ + 1, 0.0);
    std::fill(colUsed_.begin() + lowest_, colUsed_.begin() + highest_ + 1, std::uint8_t{0});
  }
  if (++stamp_ == 0) {  // after four billion windows the stamps start over
    std::fill(colStamp_.begin(), colStamp_.end(), 0u);
    stamp_ = 1;
  }
  rowCount_ = std::clamp(nLevels, 0, PseudoGridRows);
  std::fill(rowLevel_.begin(), rowLevel_.end(), 0.0);
  for (int e = 1; e <= rowCount_; ++e) rowLevel_[Idx(e)] = levels[e - 1];
  highest_ = 0;
  lowest_ = 0;
}

void PseudoGrid::TouchColumn(int s) {
  if (colStamp_[Idx(s)] == stamp_) return;
  colStamp_[Idx(s)] = stamp_;
  std::fill_n(cellFilled_.data() + CellIdx(s, 1), PseudoGridRows, std::uint8_t{0});
}

PlaceResult PseudoGrid::Place(std::span<const GridPoint> points, double xs, double xe,
                              double columnWidth, int plotWhich) {
  PlaceResult result;
  for (const GridPoint& p : points) {
    if (!(xs <= p.x && p.x <= xe)) continue;
    const double column = std::nearbyint((p.x - xs) / columnWidth) + 1.0;
    if (!(column >= 1.0 && column <= PseudoGridColumns)) continue;
    if (p.row < 1 || p.row > rowCount_) {
      result.allRowsFound = false;
      continue;
    }
    PlaceAt(static_cast<int>(column), p, plotWhich, result);
  }
  return result;
}

void PseudoGrid::PlaceAt(int column, const GridPoint& p, int plotWhich, PlaceResult& result) {
  TouchColumn(column);
  colX_[Idx(column)] = p.x;
  colUsed_[Idx(column)] = 1;
  highest_ = std::max(highest_, column);
  lowest_ = lowest_ == 0 ? column : std::min(lowest_, column);
  const std::size_t c = CellIdx(column, p.row);
  if (cellFilled_[c] == 0) {
    cells_[c] = p.value;
    cellFilled_[c] = 1;
    return;
  }
  ++result.duplicates;
  if (plotWhich == 1) {
    cells_[c] = p.value;  // the last datum wins
  } else if (plotWhich == 2) {
    cells_[c] = (cells_[c] + p.value) / 2;  // running average: later data weigh more
  }
}

void PseudoGrid::FillGaps(double unitSpacing, double overlap) {
  if (lowest_ == 0) return;
  FillColumnPositions();
  FillRows(unitSpacing, overlap);
  FillColumns();
}

void PseudoGrid::FillColumnPositions() {
  int known = 0;
  for (int s = lowest_; s <= highest_; ++s) {
    if (colUsed_[Idx(s)] == 0) continue;
    if (known > 0 && s - known > 1) {
      const double x0 = colX_[Idx(known)], x1 = colX_[Idx(s)];
      for (int j = known + 1; j < s; ++j) {
        TouchColumn(j);
        colX_[Idx(j)] = x0 + (x1 - x0) * (j - known) / (s - known);
        colUsed_[Idx(j)] = 1;
      }
    }
    known = s;
  }
}

void PseudoGrid::FillRows(double unitSpacing, double overlap) {
  // Column by column with the last filled column of each row remembered: the same
  // result as walking each row, but reading the cells in memory order.
  int last[PseudoGridRows + 1] = {};
  for (int s = lowest_; s <= highest_; ++s) {
    for (int e = 1; e <= rowCount_; ++e) {
      if (cellFilled_[CellIdx(s, e)] == 0) continue;
      const int k = last[e];
      const int g = s - k;
      if (k > 0 && g > 1 && g * unitSpacing * 0.5 <= overlap) {
        const double v0 = cells_[CellIdx(k, e)], v1 = cells_[CellIdx(s, e)];
        for (int j = k + 1; j < s; ++j) {
          cells_[CellIdx(j, e)] = InterpolateLinear(v1, v0, s, k, j);
          cellFilled_[CellIdx(j, e)] = 1;
        }
      }
      last[e] = s;
    }
  }
}

void PseudoGrid::FillColumns() {
  for (int s = lowest_; s <= highest_; ++s) {
    if (colUsed_[Idx(s)] == 0) continue;
    double* cell = cells_.data() + CellIdx(s, 1) - 1;  // cell[e] is row e
    const std::uint8_t* filled = cellFilled_.data() + CellIdx(s, 1) - 1;
    int k = 0;
    for (int e = 1; e <= rowCount_; ++e) {
      if (filled[e] == 0) continue;
      if (k > 0 && e - k > 1) {
        for (int r = k + 1; r < e; ++r) {
          cell[r] = InterpolateLinear(cell[e], cell[k], e, k, r);
          cellFilled_[CellIdx(s, r)] = 1;
        }
      }
      k = e;
    }
  }
}

std::vector<PaintColumn> PaintColumnsOf(const PseudoGrid& grid, const PaintGeometry& g) {
  std::vector<PaintColumn> cols;
  const int highest = grid.HighestColumn();
  if (g.width <= 0 || highest < 2) return cols;
  const double span = g.lmax - g.lmin;
  // The distance grows with k, so only the pixel columns near the window need a look.
  int kFirst = 0, kLast = g.width;
  if (span > 0) {
    const double lo = std::floor((g.windowStart - g.lmin) / span * g.width) - 1;
    const double hi = std::ceil((g.windowEnd - g.lmin) / span * g.width) + 1;
    if (!(lo <= g.width) || !(hi >= 0)) return cols;
    kFirst = lo > 0 ? static_cast<int>(lo) : 0;
    kLast = hi < g.width ? static_cast<int>(hi) : g.width;
  }
  int p = 1;
  for (int k = kFirst; k <= kLast; ++k) {
    const double a = g.lmin + static_cast<double>(k) / g.width * span;
    if (!(g.windowStart <= a && a <= g.windowEnd)) continue;
    while (p <= highest && !(grid.ColumnInUse(p) && grid.ColumnX(p) >= a)) ++p;
    if (p > highest) break;
    if (p >= 2 && grid.ColumnInUse(p - 1)) cols.push_back({k, a, p});
  }
  return cols;
}

}  // namespace karvelo

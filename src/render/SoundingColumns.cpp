#include "render/SoundingColumns.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "base/PlotState.h"
#include "input/QvMath.h"

namespace karvelo {

namespace {

// Columns beyond this come only from positions far off the profile.
constexpr double kMaxColumn = 1e8;

struct Placement {
  int row;
  int column;
  double value;
};

// round(100 level) of each row, sorted, for finding the row of a pseudo-depth.
class RowKeys {
 public:
  explicit RowKeys(std::span<const double> levels) {
    for (std::size_t r = 0; r < levels.size(); ++r) {
      keys_.emplace_back(RoundHalfEven(100 * levels[r]), static_cast<int>(r));
    }
    std::sort(keys_.begin(), keys_.end());
  }
  // The 0-based row, or -1.
  int RowOf(double depth) const {
    const long long key = RoundHalfEven(100 * depth);
    const auto it = std::lower_bound(keys_.begin(), keys_.end(), std::make_pair(key, -1));
    return it != keys_.end() && it->first == key ? it->second : -1;
  }

 private:
  std::vector<std::pair<long long, int>> keys_;
};

// The value of a cell that several data fell on, in file order.
double Resolve(std::span<const Placement> same, int plotWhich) {
  if (plotWhich == 0) return same.front().value;
  if (plotWhich == 1) return same.back().value;
  double v = same.front().value;
  for (std::size_t i = 1; i < same.size(); ++i) v = (v + same[i].value) / 2;
  return v;
}

}  // namespace

void TSoundingColumns::Build(std::span<const TDatPoint> data, std::span<const double> levels,
                             const TSoundingGridLayout& placing) {
  placing_ = placing;
  levels_.assign(levels.begin(), levels.end());
  const std::size_t nRows = levels_.size();
  rowSpacing_.assign(nRows, 0.0);
  rows_.assign(nRows, {});
  known_.clear();
  highest_ = 0;
  unplaced_ = 0;
  const RowKeys keys(levels_);

  std::vector<Placement> placed;
  placed.reserve(data.size());
  for (const TDatPoint& d : data) {
    if (!(d.value > 0) || IsUndefined(d.value) || IsUndefined(d.position)) continue;
    const double c = std::nearbyint((d.position - placing.Start) / placing.ColumnWidth) + 1;
    if (!(c >= 1 && c <= kMaxColumn)) continue;
    const int row = keys.RowOf(d.depth);
    if (row < 0) {
      ++unplaced_;
      continue;
    }
    const int column = static_cast<int>(c);
    placed.push_back({row, column, d.value});
    known_.push_back({column, d.position});
    highest_ = std::max(highest_, column);
    double& a = rowSpacing_[static_cast<std::size_t>(row)];
    if (a == 0) a = d.a;
  }

  // Cells: file order is kept among the data of one cell.
  std::stable_sort(placed.begin(), placed.end(), [](const Placement& p, const Placement& q) {
    return p.row != q.row ? p.row < q.row : p.column < q.column;
  });
  for (std::size_t i = 0; i < placed.size();) {
    std::size_t k = i + 1;
    while (k < placed.size() && placed[k].row == placed[i].row &&
           placed[k].column == placed[i].column) {
      ++k;
    }
    const std::span<const Placement> same(placed.data() + i, k - i);
    rows_[static_cast<std::size_t>(placed[i].row)].push_back(
        {placed[i].column, Resolve(same, placing.PlotWhich)});
    i = k;
  }

  // Column positions: the last datum of a column gives its x.
  std::stable_sort(known_.begin(), known_.end(),
                   [](const Known& p, const Known& q) { return p.column < q.column; });
  std::vector<Known> last;
  for (std::size_t i = 0; i < known_.size(); ++i) {
    if (i + 1 < known_.size() && known_[i + 1].column == known_[i].column) continue;
    last.push_back(known_[i]);
  }
  known_ = std::move(last);
  Rewind();
}

bool TSoundingColumns::ColumnX(int j, double& x) const {
  const auto it = std::lower_bound(known_.begin(), known_.end(), j,
                                   [](const Known& k, int column) { return k.column < column; });
  if (it == known_.end()) return false;
  if (it->column == j) {
    x = it->x;
    return true;
  }
  if (it == known_.begin()) return false;
  const Known& left = *(it - 1);
  x = left.x + (it->x - left.x) * (j - left.column) / (it->column - left.column);
  return true;
}

void TSoundingColumns::Rewind() {
  cursor_.assign(rows_.size(), 0);
}

void TSoundingColumns::SoundingAt(int j, TSounding& sounding) {
  sounding.Level.clear();
  sounding.Spacing.clear();
  sounding.Rhoa.clear();
  for (std::size_t r = 0; r < rows_.size(); ++r) {
    const std::vector<Cell>& cells = rows_[r];
    std::size_t& c = cursor_[r];
    while (c < cells.size() && cells[c].column < j) ++c;
    double v = 0;
    if (c < cells.size() && cells[c].column == j) {
      v = cells[c].value;
    } else if (c > 0 && c < cells.size()) {
      const Cell& left = cells[c - 1];
      const Cell& right = cells[c];
      const int g = right.column - left.column;
      if (!(g * placing_.UnitSpacing * 0.5 <= placing_.Overlap)) continue;
      v = left.value + (right.value - left.value) * (j - left.column) / g;
    } else {
      continue;
    }
    sounding.Level.push_back(levels_[r]);
    sounding.Spacing.push_back(rowSpacing_[r]);
    sounding.Rhoa.push_back(v);
  }
}

}  // namespace karvelo

#include "render/ModelImage.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "base/Files.h"
#include "base/Prompts.h"
#include "base/Res2err.h"
#include "input/ModelReaders.h"
#include "input/QvMath.h"
#include "render/DrawLayer.h"
#include "render/ModelSection.h"

namespace karvelo {
namespace {

constexpr double Missing = std::numeric_limits<double>::quiet_NaN();
// Depths that agree this closely are the same depth.
constexpr double DepthTolerance = 0.01;
// Cells whose value is this small or smaller are left uncoloured in block mode.
constexpr double SmallestBlockValue = 1e-8;
// Far beyond any page, still exact as an integer.
constexpr double PixelLimit = 1e9;

}  // namespace

// ---- Geometry ------------------------------------------------------------------------------

TModelGeometry TModelGeometry::Current() {
  TModelGeometry g;
  g.Lmin = graphtype.Lmin;
  g.Lmax = graphtype.Lmax;
  g.Dmin = graphtype.Dmin;
  g.Span = graphtype.Dmax - graphtype.Dmin + TopoSpan;
  g.Width = PlotX1 - PlotX0 + 1;
  g.Height = PlotY1 - PlotY0 + 1;
  g.Topo = PlotTopo;
  g.TopLevel = gPageState.TopLevel;
  const double length = g.Lmax - g.Lmin;
  if (!(length != 0 && std::isfinite(length)) || !(g.Span != 0 && std::isfinite(g.Span)))
    throw EKarvDivByZero("Division by zero");
  return g;
}

void ModelViewPort() {
  SetViewPort(PlotX0, PlotY0, PlotX1 + 1, PlotY1 + 1);
}

int PixelOf(double v) {
  if (std::isnan(v)) throw EKarvInvalidOp("Invalid floating point operation");
  return static_cast<int>(RoundHalfEven(std::clamp(v, -PixelLimit, PixelLimit)));
}

bool ElevationAt(double x, double& elevation) {
  const TTopoList& t = TopoList;
  const int n = std::clamp(t.nTopoPoints, 0, MaxTopoPoints);
  if (n <= 0) return false;
  bool outside = false;
  const double z = InterpolateTable(n, &t.TopoSurfaceX[1], &t.TopoZ[1], outside, x);
  if (outside) return false;
  elevation = z;
  return true;
}

double ElevationNear(double x) {
  double z = 0;
  if (ElevationAt(x, z)) return z;
  const TTopoList& t = TopoList;
  const int n = std::clamp(t.nTopoPoints, 0, MaxTopoPoints);
  if (n <= 0) return 0;
  return x < t.TopoSurfaceX[1] ? t.TopoZ[1] : t.TopoZ[static_cast<std::size_t>(n)];
}

// ---- Colours -------------------------------------------------------------------------------

TColourLookup::TColourLookup(int limitSet) {
  constexpr int Highest = MaxColours - 1;
  const int set = std::clamp(limitSet, 0, LimitSets - 1);
  lo_ = std::min<int>(graphtype.mincol, Highest);
  hi_ = std::min<int>(graphtype.maxcol, Highest);
  for (int c = 0; c < LimitsPerSet; ++c) {
    limits_[static_cast<std::size_t>(c)] =
        graphtype.RhoLimit[static_cast<std::size_t>(LimitsPerSet * set + c)];
  }
  colours_ = graphtype.Colour;
}

int ModelLimitSet() {
  return graphtype.IPflag + graphtype.NormalisedIP;
}

// ---- Smooth image --------------------------------------------------------------------------

TModelImagePainter::TModelImagePainter(const TModelGeometry& geometry, int limitSet)
    : g_(geometry), lookup_(limitSet) {}

void TModelImagePainter::Resample(const TModelColumn& column, int jLo, int jHi,
                                  std::vector<double>& out) const {
  out.assign(static_cast<std::size_t>(std::max(0, jHi - jLo + 1)), Missing);
  const auto& depth = column.Centre;
  const auto& value = column.Value;
  const int n = column.Layers();
  if (n == 0) return;
  const double first = depth.front();
  const double last = depth[static_cast<std::size_t>(n - 1)];
  const int jTop = PixelOf(g_.Row(first));
  const int jBot = PixelOf(g_.Row(last));
  const int from = std::max(jTop, jLo);
  const int to = std::min(jBot, jHi);
  // The rows between the first and last value depth are spread evenly over that depth
  // range; the layer pointer only moves down, so a column costs one pass.
  int k = 1;
  for (int j = from; j <= to; ++j) {
    const double dj = jBot == jTop
                          ? first
                          : first + (j - jTop) * (last - first) / static_cast<double>(jBot - jTop);
    double v = Missing;
    if (std::fabs(dj - first) <= DepthTolerance) {
      v = value.front();
    } else if (std::fabs(dj - last) <= DepthTolerance) {
      v = value[static_cast<std::size_t>(n - 1)];
    } else {
      while (k < n && depth[static_cast<std::size_t>(k)] <= dj) ++k;
      if (k >= n) k = n - 1;
      const auto up = static_cast<std::size_t>(k - 1);
      const auto down = static_cast<std::size_t>(k);
      if (dj == depth[up] && !std::isnan(value[up])) {
        v = value[up];
      } else if (!std::isnan(value[up]) && !std::isnan(value[down])) {
        const double h = depth[down] - depth[up];
        v = h == 0 ? value[up] : value[up] + (value[down] - value[up]) * (dj - depth[up]) / h;
      }
    }
    out[static_cast<std::size_t>(j - jLo)] = v;
  }
}

void TModelImagePainter::Hold(const TModelColumn& column, double offset) {
  previous_ = column;
  previousOffset_ = offset;
  havePrevious_ = true;
}

void TModelImagePainter::Paint(const TModelColumn& column, double offset) {
  const int c1 = PixelOf(g_.Column(column.X));
  current_ = column;
  currentOffset_ = offset;
  if (!havePrevious_) {
    // The first column is carried flat to the diagram's left edge.
    previous_ = current_;
    previousOffset_ = offset;
    PaintSpan(0, c1, offset, offset, true);
  } else {
    PaintSpan(PixelOf(g_.Column(previous_.X)), c1, previousOffset_, offset, !painted_);
  }
  painted_ = true;
  std::swap(previous_, current_);
  previousOffset_ = offset;
  havePrevious_ = true;
}

void TModelImagePainter::PaintSpan(int c0, int c1, double off0, double off1, bool first) {
  const int columns = g_.Columns();
  const int rows = g_.Rows();
  // The span's first pixel column was painted as the end of the span before it.
  const int start = std::max(first ? c0 : c0 + 1, 0);
  const int end = std::min(c1, columns - 1);
  if (end < start) return;

  const std::size_t width = static_cast<std::size_t>(end - start + 1);
  t_.resize(width);
  off_.resize(width);
  for (std::size_t i = 0; i < width; ++i) {
    const int c = start + static_cast<int>(i);
    const double t = c1 == c0 ? 1.0 : static_cast<double>(c - c0) / (c1 - c0);
    t_[i] = t;
    off_[i] = PixelOf(off0 + (off1 - off0) * t);
  }
  // Only depth rows that land inside the diagram for some pixel column are needed.
  const auto [lowOff, highOff] = std::minmax_element(off_.begin(), off_.end());
  const int jLo = -*highOff;
  const int jHi = rows - 1 - *lowOff;
  if (jHi < jLo) return;
  Resample(previous_, jLo, jHi, p_);
  Resample(current_, jLo, jHi, q_);

  for (int j = jLo; j <= jHi; ++j) {
    const double p = p_[static_cast<std::size_t>(j - jLo)];
    const double q = q_[static_cast<std::size_t>(j - jLo)];
    if (std::isnan(p) || std::isnan(q)) continue;
    const double d = q - p;
    for (std::size_t i = 0; i < width; ++i) {
      const int row = j + off_[i];
      if (row < 0 || row >= rows) continue;
      const int index = lookup_.Index(p + d * t_[i]);
      PutPixel(start + static_cast<int>(i), row, lookup_.Colour(index), index);
    }
  }
}

// ---- Blocks --------------------------------------------------------------------------------

TModelBlockPainter::TModelBlockPainter(Canvas& canvas, const TModelGeometry& geometry, int limitSet,
                                       double cellWidth, bool infiniteBottom)
    : canvas_(canvas),
      g_(geometry),
      lookup_(limitSet),
      halfWidth_(cellWidth * geometry.Width / (geometry.Lmax - geometry.Lmin) / 2),
      infiniteBottom_(infiniteBottom) {}

void TModelBlockPainter::Paint(const TModelColumn& column, double offset) {
  const double cx = g_.Column(column.X);
  // Each block starts one pixel right of the one before, so blocks neither overlap nor
  // leave gaps however the half widths round.
  const int left = first_ ? PixelOf(cx - halfWidth_) : previousRight_ + 1;
  const int right = PixelOf(cx + halfWidth_);
  first_ = false;
  previousRight_ = right;
  if (right < left) return;
  canvas_.SetBrushStyle(BrushStyle::Solid);
  const int n = column.Layers();
  for (int k = 0; k < n; ++k) {
    const double v = column.Value[static_cast<std::size_t>(k)];
    if (std::isnan(v) || v <= SmallestBlockValue) continue;
    const auto kk = static_cast<std::size_t>(k);
    const int top = PixelOf(g_.Row(column.Boundary[kk]) + offset);
    const int bottom = k == n - 1 && infiniteBottom_
                           ? g_.Rows()
                           : PixelOf(g_.Row(column.Boundary[kk + 1]) + offset);
    const int index = lookup_.Index(v);
    const TColor colour = lookup_.Colour(index);
    SetBrushColour(colour, index);
    SetPenColour(colour, index);
    const TPoint corners[4] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}};
    FillPoly(corners, 4);
  }
}

// ---- Drawing a model file ------------------------------------------------------------------

namespace {

enum class TColouring { Image, Blocks };

std::string NoIPText(bool rho2, TColouring mode) {
  if (rho2) return "IP model not found, cannot plot section ...";
  return mode == TColouring::Image ? "IP data not found in model file, cannot plot IP section ..."
                                   : "IP model NOT found, cannot do model plot ...";
}

TModelQuantity PlottedQuantity() {
  if (graphtype.IPflag == 0) return TModelQuantity::Resistivity;
  return graphtype.NormalisedIP != 0 ? TModelQuantity::NormalisedIP : TModelQuantity::IP;
}

double ColumnOffset(const TModelGeometry& g, const TModelColumn& column) {
  if (!g.Topo) return 0;
  const double offset = g.Offset(column.HasElevation ? column.Elevation : ElevationNear(column.X));
  // Ground within the topography's range is at most one diagram height down; a column
  // far outside it (a stray elevation) is out of sight, and must not make the painter
  // walk millions of rows.
  return std::clamp(offset, -g.Height, 2 * g.Height);
}

void Tell(const std::string& text, MessageKind kind) {
  CurrentPrompts().Message(text, kind);
}

// Counts of one pass over the columns, for the messages at its end.
struct TPassResult {
  int read = 0;   // columns with cells
  int drawn = 0;  // of those, the ones in the diagram's range
  TColumnStatus last = TColumnStatus::End;
};

template <typename Painter, typename Hold>
TPassResult PaintColumns(TModelColumnReader& reader, const TModelGeometry& g, double skipBefore,
                         Painter paint, Hold hold) {
  TPassResult r;
  TModelColumn column;
  while ((r.last = reader.Next(column)) == TColumnStatus::Column) {
    if (column.Layers() == 0) continue;
    ++r.read;
    const double offset = ColumnOffset(g, column);
    if (column.X < skipBefore) {
      hold(column, offset);
      continue;
    }
    ++r.drawn;
    paint(column, offset);
    if (column.X > g.Lmax) break;
  }
  return r;
}

void ReportPass(const TPassResult& r, bool rho2, const std::string& shownName) {
  if (r.last == TColumnStatus::TooManyLayers) {
    Tell("ERROR: Too many layers in model for plot routine. Maximum no of layers in model is " +
             FormatInt(MaxRh2Layers) + "\n" + "\r" +
             "Please check if the inversion model is realistic ...",
         MessageKind::Error);
    return;
  }
  if (!rho2) return;  // a layered model outside the range just leaves the diagram empty
  if (r.read == 0) {
    Tell("The inverted model in " + shownName + " cannot be plotted ...", MessageKind::Error);
  } else if (r.drawn == 0) {
    Tell("The inverted model in " + shownName + " is outside the selected range...",
         MessageKind::Warning);
  }
}

void DrawModelColumns(Canvas& canvas, const std::string& modelFileName, TColouring mode) {
  const std::string shownName = ModelFilePath(modelFileName);
  TModelColumnReader reader;
  const auto path = FindFileNoCase(shownName);
  if (!path || !reader.Open(*path)) {
    Tell("ERROR: Model file " + shownName + " was not found!", MessageKind::Error);
    return;
  }
  const TModelQuantity quantity = PlottedQuantity();
  if (quantity != TModelQuantity::Resistivity && !reader.HasIP()) {
    Tell(NoIPText(reader.IsRho2(), mode), MessageKind::Error);
    return;
  }
  reader.SetQuantity(quantity);
  const double cellWidth = LastModelScan.ColumnWidth;
  if (mode == TColouring::Blocks && !(LastModelScan.ColumnWidthValid && cellWidth > 0)) {
    // Without a column width there are no blocks; the scan has said why.
    throw EKarvInvalidOp("The model has no column width");
  }
  const TModelGeometry g = TModelGeometry::Current();
  // An RH2 model starts one column early so that its first column left of the diagram
  // still reaches into it.
  const bool rho2 = reader.IsRho2();
  const double skipBefore = rho2 && cellWidth > 0 ? g.Lmin - cellWidth : g.Lmin;
  const int set = ModelLimitSet();
  ModelViewPort();
  SetFillPattern(-1);
  TPassResult r;
  if (mode == TColouring::Image) {
    TModelImagePainter painter(g, set);
    r = PaintColumns(
        reader, g, skipBefore, [&](const TModelColumn& c, double o) { painter.Paint(c, o); },
        [&](const TModelColumn& c, double o) { painter.Hold(c, o); });
  } else {
    const bool infinite = graphtype.PlotInifiniteBottomLayer || ModelKind == ModelKindSelma;
    TModelBlockPainter painter(canvas, g, set, cellWidth, infinite);
    r = PaintColumns(
        reader, g, skipBefore, [&](const TModelColumn& c, double o) { painter.Paint(c, o); },
        [](const TModelColumn&, double) {});
  }
  ResetViewPort();
  ReportPass(r, rho2, shownName);
}

}  // namespace

void DrawModelImage(Canvas& canvas, const std::string& modelFileName) {
  DrawModelColumns(canvas, modelFileName, TColouring::Image);
}

void DrawModelBlocks(Canvas& canvas, const std::string& modelFileName) {
  DrawModelColumns(canvas, modelFileName, TColouring::Blocks);
}

}  // namespace karvelo

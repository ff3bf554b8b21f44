#pragma once

// Geometry and colouring of a 2D model section: where a distance, a depth and the ground
// surface fall in the diagram, the smooth image painted pixel by pixel between model
// columns, and the block mode that fills one quadrilateral per model cell.
//
// Coordinates are relative to the diagram's top-left corner (PlotX0, PlotY0); the
// painters draw through the drawing layer while the caller holds a viewport on the
// diagram (ModelViewPort).

#include <array>
#include <vector>

#include "base/Colour.h"
#include "base/PlotState.h"
#include "render/Canvas.h"
#include "render/ModelColumns.h"

namespace karvelo {

// The pixel scale of the model diagram of the current drawing.
struct TModelGeometry {
  double Lmin = 0, Lmax = 1;
  double Dmin = 0;
  double Span = 1;    // Dmax - Dmin + TopoSpan: the depth the diagram height stands for
  double Width = 1;   // W' = PlotX1 - PlotX0 + 1: columns of the diagram
  double Height = 1;  // H' = PlotY1 - PlotY0 + 1: rows of the diagram
  bool Topo = false;  // columns hang from the ground surface
  double TopLevel = 0;

  // From graphtype, PlotTopo and the page state. Raises EKarvDivByZero when the distance
  // or depth range is empty (no scale can be formed).
  static TModelGeometry Current();

  double Column(double x) const { return (x - Lmin) / (Lmax - Lmin) * Width; }
  double Row(double depth) const { return (depth - Dmin) * Height / Span; }
  // Rows a column standing on ground at `elevation` is pushed down (0 without topography).
  double Offset(double elevation) const {
    return Topo ? (TopLevel - elevation) * Height / Span : 0.0;
  }
  int Columns() const { return static_cast<int>(Width); }
  int Rows() const { return static_cast<int>(Height); }
};

// Clips to the diagram including its last row and column, which the frame of the model
// axes leaves free (PlotX1 and PlotY1 are inside the frame).
void ModelViewPort();

// A pixel coordinate from a real one: halves to even; a value far off the page is held
// at ±1e9 so that it still rounds; NaN raises EKarvInvalidOp.
int PixelOf(double v);

// The ground elevation of the topography list at x (piecewise linear in the surface
// positions): false outside the list.
bool ElevationAt(double x, double& elevation);
// The same, with the end elevations carried on beyond both ends of the list (and 0
// when there is no list).
double ElevationNear(double x);

// ColourIndexOf for one limit set, with the limits copied out of graphtype once per
// drawing instead of once per pixel.
class TColourLookup {
 public:
  explicit TColourLookup(int limitSet);
  int Index(double v) const {
    int c = lo_;
    while (c < hi_ && v > limits_[static_cast<std::size_t>(c)]) ++c;
    return c;
  }
  TColor Colour(int index) const { return colours_[static_cast<std::size_t>(index)]; }

 private:
  std::array<double, LimitsPerSet> limits_{};
  std::array<TColor, MaxColours> colours_{};
  int lo_ = 0, hi_ = 0;
};

// The limit set of a model plot: resistivity 0, IP 1, normalised IP 2.
int ModelLimitSet();

// The smooth image: every model column is resampled to the pixel rows between its first
// and last value depth, and every pixel column between two model columns gets the linear
// blend of their values (and of their topography offsets).
class TModelImagePainter {
 public:
  TModelImagePainter(const TModelGeometry& geometry, int limitSet);

  // Keeps a column left of the diagram as the start of the next blend, painting nothing.
  void Hold(const TModelColumn& column, double offset);
  // Paints the span from the previous column to this one (for the first column, from the
  // diagram's left edge, in its own values).
  void Paint(const TModelColumn& column, double offset);

  // The values of `column` at depth rows jLo..jHi (NaN where it has none): exposed so
  // the resampling can be checked on its own.
  void Resample(const TModelColumn& column, int jLo, int jHi, std::vector<double>& out) const;

 private:
  void PaintSpan(int c0, int c1, double off0, double off1, bool first);

  TModelGeometry g_;
  TColourLookup lookup_;
  bool havePrevious_ = false;
  bool painted_ = false;
  TModelColumn previous_;
  double previousOffset_ = 0;
  TModelColumn current_;
  double currentOffset_ = 0;
  std::vector<double> p_, q_, t_;
  std::vector<int> off_;
};

// One filled quadrilateral per model cell.
class TModelBlockPainter {
 public:
  TModelBlockPainter(Canvas& canvas, const TModelGeometry& geometry, int limitSet, double cellWidth,
                     bool infiniteBottom);
  void Paint(const TModelColumn& column, double offset);

 private:
  Canvas& canvas_;
  TModelGeometry g_;
  TColourLookup lookup_;
  double halfWidth_;  // half a cell, in pixels
  bool infiniteBottom_;
  bool first_ = true;
  int previousRight_ = 0;
};

}  // namespace karvelo

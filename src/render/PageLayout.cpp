// The two page layouts: where the coloured diagram, its legend and the title block go on
// a page of any size. Pseudosections and model sections differ only in the depth span
// (a model reserves room for topography) and in how the legend is placed.

#include <cmath>
#include <cstdint>
#include <limits>

#include "base/PlotState.h"
#include "base/Res2err.h"
#include "input/QvMath.h"
#include "render/DrawLayer.h"

namespace karvelo {
namespace {

// Steps a topography label level may take before the layout gives up: far more than
// any real profile needs, few enough never to hang on a silly label interval.
constexpr int MaxTopoSteps = 1000000;

void CheckFinite(double v) {
  if (!std::isfinite(v)) throw EKarvInvalidOp("Invalid floating point operation");
}

double Divide(double a, double b) {
  if (b == 0) throw EKarvDivByZero("Division by zero");
  const double q = a / b;
  CheckFinite(q);
  return q;
}

// graphtype.Ysize (and Xsize when the diagram is narrowed) from the depth span shown.
// False when a percentage does not fit the byte it is kept in.
bool SizeDiagram(double depthSpan, bool model) {
  TGraphType& g = graphtype;
  const double length = g.Lmax - g.Lmin;
  CheckFinite(depthSpan);
  const double height = model ? Divide(g.Xsize * g.XYfactor * depthSpan, length)
                              : Divide(g.XYfactor * g.Xsize * depthSpan, length);
  long long ysize = RoundHalfEven(height);
  long long xsize = g.Xsize;
  if (ysize > 38 && g.AdjustDiagramWidth) {
    // Narrow the diagram so that its height stays at 38 % of the page width.
    ysize = 38;
    xsize = RoundHalfEven(Divide(38 * length, g.XYfactor * depthSpan));
  }
  if (ysize < 0 || ysize > 255 || xsize < 0 || xsize > 255) return false;
  g.Ysize = static_cast<std::uint8_t>(ysize);
  g.Xsize = static_cast<std::uint8_t>(xsize);
  return true;
}

void PlaceDiagram(int W, int H) {
  const TGraphType& g = graphtype;
  PlotX0 = RoundToPixel((1 - g.Xsize / 100.0) * 0.5 * W);
  PlotX1 = W - PlotX0;
  PlotY0 = H / 2 - RoundToPixel(static_cast<double>(W) * g.Ysize / 100.0 * 0.5);
  PlotY1 = RoundToPixel(
      PlotY0 + static_cast<double>(RoundToPixel(static_cast<double>(W) * g.Ysize / 100.0)));
}

void PlaceLegendRows(int H) {
  const TGraphType& g = graphtype;
  LegendY0 = RoundToPixel(PlotY1 + 2.0 * g.FontSize);
  LegendY1 = RoundToPixel(LegendY0 + static_cast<double>(RoundToPixel(g.Ylegend * 0.01 * H)));
}

// The title block above and the legend block below must stay on the page.
bool Fits(int H) {
  const int fontSize = graphtype.FontSize;
  DiagramTop = RoundToPixel(PlotY0 - static_cast<double>(RoundToPixel(5.1 * fontSize)));
  DiagramBottom = RoundToPixel(LegendY1 + static_cast<double>(RoundToPixel(2.5 * fontSize)));
  return DiagramTop > 0 && DiagramBottom < H;
}

void StartLayout() {
  TGraphType& g = graphtype;
  g.TicY = RoundToPixel(g.FontSize / 4.0);
  g.Xsize = 87;
  g.Xlegend = 87;
  TopoSpan = 0;
}

// Walks a label level by `step` until `done` holds; bounded so a tiny interval on a
// wide elevation range raises instead of hanging.
template <typename Done>
double WalkLevel(double level, double step, Done done) {
  for (int i = 0; i < MaxTopoSteps; ++i) {
    level += step;
    if (done(level)) return level;
  }
  throw EKarvInvalidOp("Invalid floating point operation");
}

// TopoSpan and TopLevel from the elevation range of the topography: the label levels
// (multiples of the depth label interval) just outside the lowest and highest ground.
void ComputeTopoSpan() {
  const double d = graphtype.Dlabel;
  const double emin = TopoList.TopoZMin;
  const double emax = TopoList.TopoZMax;
  CheckFinite(emin);
  CheckFinite(emax);
  if (d == 0) throw EKarvDivByZero("Division by zero");
  if (!(d > 0) || !std::isfinite(d)) throw EKarvInvalidOp("Invalid floating point operation");
  const double mid = (emin + emax) / 2;
  const double centre = d * static_cast<double>(RoundHalfEven(Divide(mid, d)));
  const long long lowest = RoundHalfEven(emin);
  const long long highest = RoundHalfEven(emax);
  const double low =
      WalkLevel(centre + d, -d, [&](double l) { return RoundHalfEven(l) <= lowest; });
  const double high =
      WalkLevel(centre - d, d, [&](double h) { return RoundHalfEven(h) >= highest; });
  TopoSpan = high - low;
  TopLevel = high;
}

}  // namespace

bool PseudoLayout(int width, int height) {
  StartLayout();
  TopLevel = 0;
  const TGraphType& g = graphtype;
  if (!SizeDiagram(g.Dmax - g.Dmin, false)) return false;
  PlaceDiagram(width, height);
  if (g.AdjustDiagramWidth) {
    LegendX0 = PlotX0;
    LegendX1 = PlotX1;
  } else {
    LegendX0 = RoundToPixel((1 - g.Xlegend / 100.0) * 0.5 * width);
    LegendX1 = width - LegendX0;
  }
  PlaceLegendRows(height);
  return Fits(height);
}

bool ModelLayout(int width, int height) {
  StartLayout();
  TopLevel = 0;
  if (PlotTopo) ComputeTopoSpan();
  const TGraphType& g = graphtype;
  if (!SizeDiagram(g.Dmax - g.Dmin + TopoSpan, true)) return false;
  PlaceDiagram(width, height);
  LegendX0 = RoundToPixel(width * (1 - g.Xlegend / 100.0) * 0.5);
  LegendX1 = RoundToPixel(
      LegendX0 + static_cast<double>(RoundToPixel(static_cast<double>(width) * g.Xlegend * 0.01)));
  PlaceLegendRows(height);
  return Fits(height);
}

}  // namespace karvelo

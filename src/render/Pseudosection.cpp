#include "render/Pseudosection.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

#include "base/Files.h"
#include "base/PlotState.h"
#include "base/Prompts.h"
#include "base/Res2err.h"
#include "input/DatReader.h"
#include "input/ModelReaders.h"
#include "input/QvMath.h"
#include "render/Axes.h"
#include "render/ColourScale.h"
#include "render/DrawLayer.h"
#include "render/PseudoData.h"
#include "render/PseudoGrid.h"

namespace karvelo {

namespace {

constexpr TColor kBlack = MakeRgb(0, 0, 0);
// More windows than this along one profile only come from a degenerate spacing.
constexpr double kMaxWindows = 100000;

// What one drawing works on: the data read once from the file, the grid points chosen
// from them, and the grid buffer.
struct DrawingWork {
  bool loaded = false;
  TDatData file;
  double minX = 0, maxX = 0;

  bool ySliceChosen = false;
  bool useY = false;
  double ySlice = 0;

  // The grid points and the settings they were chosen with.
  std::vector<GridPoint> points;
  bool pointsValid = false;
  double pointsUnit = 0, pointsSpacing = 0, pointsNFactor = 0;

  // The windows the driver will build, window k spanning [bounds[k], bounds[k + 1]],
  // and the points of each window in file order (point indices, window k's at
  // byWindow[offsets[k]] .. byWindow[offsets[k + 1] - 1]), so that no window has to
  // look at the data of the others.
  std::vector<double> bounds;
  bool bucketsValid = false;
  std::vector<std::uint32_t> offsets;
  std::vector<std::uint32_t> byWindow;
  std::vector<GridPoint> windowPoints;

  std::unique_ptr<PseudoGrid> grid;
};

DrawingWork gWork;

// Records handed over by the load before a drawing (AdoptPseudoData).
struct AdoptedData {
  bool present = false;
  TDatData data;
};
AdoptedData gAdopted;

// The adopted records when they are of the current file, else a fresh read.
bool TakeOrReadData(TDatData& out) {
  const bool usable = gAdopted.present && gAdopted.data.path == DatFilePath();
  if (usable) out = std::move(gAdopted.data);
  gAdopted = AdoptedData{};
  return usable || ReadDatData(out);
}

void EnsureData() {
  if (gWork.loaded) return;
  if (!TakeOrReadData(gWork.file)) {
    const std::string path = DatFilePath();
    if (!FileExistsNoCase(path)) {
      const std::string text = "ERROR (PutDATInGrid2): " + path + " not found!";
      CurrentPrompts().Message(text, MessageKind::Error);
      // Code 2, "file not found": Draw marks the diagram without a second message.
      throw EInOutError(2, text);
    }
    // The file is there but its header no longer reads: Draw says "Error reading file!".
    throw EInOutError(100, InitialPartErrorText(path));
  }
  gWork.loaded = true;
  gWork.minX = std::numeric_limits<double>::infinity();
  gWork.maxX = -std::numeric_limits<double>::infinity();
  for (const TDatPoint& d : gWork.file.points) {
    gWork.minX = std::min(gWork.minX, d.position);
    gWork.maxX = std::max(gWork.maxX, d.position);
  }
}

// A 3-D file shows one Y slice; the user picks it once per drawing.
void EnsureYSlice() {
  if (gWork.ySliceChosen) return;
  gWork.ySliceChosen = true;
  const int n = std::clamp(ScanResults.nYValues, 0, MaxScanList);
  gWork.useY = optrec.XYscan && n > 0;
  if (!gWork.useY) return;
  const std::vector<double> ys(ScanResults.YList.begin(), ScanResults.YList.begin() + n);
  const int chosen = std::clamp(CurrentPrompts().AskYSlice(ys, LastYSlice), 1, n);
  LastYSlice = chosen;
  gWork.ySlice = ys[static_cast<std::size_t>(chosen - 1)];
  gWork.pointsValid = false;
}

const std::vector<GridPoint>& PointsFor(double unit) {
  if (!gWork.pointsValid || gWork.pointsUnit != unit || gWork.pointsSpacing != SelectedSpacing ||
      gWork.pointsNFactor != SelectedNFactor) {
    gWork.points =
        PrepareGridPoints(gWork.file, ScanResults.PseudoDepthList.data(),
                          std::clamp(ScanResults.nPseudoDepths, 0, MaxScanList), SelectedSpacing,
                          SelectedNFactor, unit, gWork.useY, gWork.ySlice);
    gWork.pointsValid = true;
    gWork.pointsUnit = unit;
    gWork.pointsSpacing = SelectedSpacing;
    gWork.pointsNFactor = SelectedNFactor;
    gWork.bucketsValid = false;
  }
  return gWork.points;
}

// The windows a point belongs to: the one whose span holds it, and the one before
// as well when it lies exactly on their common bound. Calls add(k) for each.
template <class Add>
void WindowsOf(double x, const std::vector<double>& bounds, Add&& add) {
  const auto windows = static_cast<std::ptrdiff_t>(bounds.size()) - 1;
  const std::ptrdiff_t k = std::upper_bound(bounds.begin(), bounds.end(), x) - bounds.begin() - 1;
  if (k < 0) return;
  if (k < windows) add(k);
  if (k >= 1 && k <= windows && x == bounds[static_cast<std::size_t>(k)]) add(k - 1);
}

// Sorts the points into the planned windows, keeping file order within each.
void BuildBuckets(const std::vector<GridPoint>& points) {
  const std::size_t windows = gWork.bounds.size() - 1;
  gWork.offsets.assign(windows + 1, 0);
  for (const GridPoint& p : points) {
    WindowsOf(p.x, gWork.bounds,
              [](std::ptrdiff_t k) { ++gWork.offsets[static_cast<std::size_t>(k) + 1]; });
  }
  for (std::size_t k = 0; k < windows; ++k) gWork.offsets[k + 1] += gWork.offsets[k];
  gWork.byWindow.resize(gWork.offsets[windows]);
  std::vector<std::uint32_t> next(gWork.offsets.begin(), gWork.offsets.end() - 1);
  for (std::size_t i = 0; i < points.size(); ++i) {
    WindowsOf(points[i].x, gWork.bounds, [&](std::ptrdiff_t k) {
      gWork.byWindow[next[static_cast<std::size_t>(k)]++] = static_cast<std::uint32_t>(i);
    });
  }
  gWork.bucketsValid = true;
}

// Places the points with xs <= x <= xe in file order. A window of the driver's plan
// takes its own points; any other window looks at all of them.
PlaceResult PlaceWindow(const std::vector<GridPoint>& points, double ws, double we, double xs,
                        double xe, double cw) {
  const int plotWhich = graphtype.PlotWhich;
  const std::vector<double>& b = gWork.bounds;
  const auto it = std::lower_bound(b.begin(), b.end(), ws);
  const bool planned = it != b.end() && *it == ws && it + 1 != b.end() && *(it + 1) == we &&
                       points.size() <= UINT32_MAX;
  if (!planned || (xs <= gWork.minX && gWork.maxX <= xe)) {
    return gWork.grid->Place(points, xs, xe, cw, plotWhich);
  }
  if (!gWork.bucketsValid) BuildBuckets(points);
  const auto k = static_cast<std::size_t>(it - b.begin());
  gWork.windowPoints.clear();
  for (std::uint32_t j = gWork.offsets[k]; j < gWork.offsets[k + 1]; ++j) {
    gWork.windowPoints.push_back(points[gWork.byWindow[j]]);
  }
  return gWork.grid->Place(gWork.windowPoints, xs, xe, cw, plotWhich);
}

void ShowDuplicates(int count) {
  std::string text = "There are " + FormatInt(count) +
                     " duplicate pseudo plot points, i.e. different data points with the same "
                     "pseudo plot position." +
                     "\n";
  if (graphtype.PlotWhich == 1) {
    text +=
        "(Showing last value in data file, change to viewing first value under Settings/Plot "
        "options.)";
  } else if (graphtype.PlotWhich == 0) {
    text +=
        "(Showing first value in data file, change to viewing last value under Settings/Plot "
        "options.)";
  } else {
    text +=
        "(Showing average of values in data file, change to viewing first or last value under "
        "Settings/Plot options.)";
  }
  CurrentPrompts().Message(text, MessageKind::Information);
}

double DepthAxisStart() {
  return graphtype.Dmin >= 0 ? graphtype.Dmin : 0;
}

// The distance where the window starting at ws ends, for a grid of unit spacing u.
// The step follows the smallest spacing and the overlap, but never reaches beyond the
// 6001 grid columns (data there would be lost) and is always positive, so the windows
// advance along the profile.
double NextWindowEnd(double ws, double u) {
  const double sm = ScanResults.SpacingMin;
  const double ov = optrec.overlap;
  const double gridReach = (PseudoGridColumns - 1) * (optrec.SquareData ? u : u / 4);
  if (!(gridReach > 0) || !std::isfinite(gridReach)) {
    throw EKarvDivByZero("The pseudosection grid has no width: the unit spacing is " +
                         FormatReal(u));
  }
  double step = (optrec.SquareData ? 6000 * sm : 6000 * sm / 2) - 8 * sm - 2 * ov;
  if (!(step > 0)) step = gridReach;
  return ws + std::min(step, gridReach);
}

// The unit spacing of the windows after the first: the smallest spacing, when there is
// a usable one.
double LaterUnitSpacing(double u) {
  return ScanResults.SpacingMin > 0 ? ScanResults.SpacingMin : u;
}

// The bounds of the windows from Lmin (not left of the data) until a window starts
// right of Lmax or of the last datum: windows further right would stay empty.
std::vector<double> PlanWindows() {
  std::vector<double> bounds;
  double ws = std::max(graphtype.Lmin, ScanResults.XPlotMin);
  double u = ScanResults.UnitSpacing;
  bounds.push_back(ws);
  for (;;) {
    const double we = NextWindowEnd(ws, u);
    if (!(we > ws) || bounds.size() > kMaxWindows) {
      throw EKarvDivByZero("The pseudosection grid windows do not advance along the profile");
    }
    bounds.push_back(we);
    ws = we;
    if (ws > graphtype.Lmax || ws > gWork.maxX) return bounds;
    u = LaterUnitSpacing(u);
  }
}

void PrepareLabels() {
  if (ReadPseudoLabels(DataFolder, PseudoLabelProgramFolder)) {
    CurrentLabels = DataLabels;
    ModelLabelsRead = true;
  } else {
    CurrentLabels = EnglishPseudoLabels();
  }
  CurrentLabels.MethodStr = optrec.ArrayType.str() + CurrentLabels.MethodStr;
  if (graphtype.IPflag != 0) {
    CurrentLabels.ResStr = "Apparent " + graphtype.TextStrIP;
    if (graphtype.NormalisedIP != 0) {
      const std::string& r = CurrentLabels.ResStr;
      const std::size_t bracket = r.find('[');
      const std::string head =
          bracket == std::string::npos ? std::string() : r.substr(0, bracket + 1);
      CurrentLabels.ResStr = "Normalised " + head + "mS/m]";
    }
  }
  if (graphtype.TimeStep == 0) CurrentLabels.ResStr = "Difference[-]";
}

bool Plottable() {
  if (ScanResults.nSpacings > 1 || ScanResults.nNFactors > 1) return true;
  if (graphtype.ModSelFlag) {
    CurrentPrompts().Message("ERROR: The selected file " + optrec.FileName + ModelFileExt.str() +
                                 " is a model file and cannot be plotted as a pseudosection!",
                             MessageKind::Error);
  } else {
    CurrentPrompts().Message("ERROR: The selected file " + optrec.FileName + DataFileExt +
                                 " cannot be plotted as a pseudosection with this version of "
                                 "Karvelo! " +
                                 "\n" + "\r" + "Please check data file!",
                             MessageKind::Error);
  }
  return false;
}

void RunGridPhase() {
  EnsureData();
  gWork.bounds = PlanWindows();
  gWork.grid = std::make_unique<PseudoGrid>();
  for (std::size_t k = 0; k + 1 < gWork.bounds.size(); ++k) {
    WindowStart = gWork.bounds[k];
    WindowEnd = gWork.bounds[k + 1];
    if (!PutDATInGrid2(WindowStart, WindowEnd)) {
      throw EKarvCapacity("ERROR: Data exceeds y-dimension capacity of plot routine!");
    }
    ScanResults.UnitSpacing = LaterUnitSpacing(ScanResults.UnitSpacing);
    FillGridGaps();
    PaintGridWindow();
  }
  WindowStart = WindowEnd;
  gWork.grid.reset();
}

// Releases the drawing's data and grid however the drawing ends.
struct WorkRelease {
  WorkRelease() = default;
  WorkRelease(const WorkRelease&) = delete;
  WorkRelease& operator=(const WorkRelease&) = delete;
  ~WorkRelease() { ReleasePseudoWork(); }
};

}  // namespace

void AdoptPseudoData(TDatData&& data) {
  gAdopted.data = std::move(data);
  gAdopted.present = true;
}

void ReleasePseudoWork() {
  gWork = DrawingWork{};
}

bool PutDATInGrid2(double windowStart, double windowEnd) {
  EnsureData();
  EnsureYSlice();
  if (!gWork.grid) gWork.grid = std::make_unique<PseudoGrid>();
  const double u = ScanResults.UnitSpacing;
  const double ov = optrec.overlap;
  if (!(u > 0) || !std::isfinite(u)) {
    throw EKarvDivByZero("The unit spacing " + FormatReal(u) + " gives no grid columns");
  }
  gWork.grid->StartWindow(ScanResults.PseudoDepthList.data(), ScanResults.nPseudoDepths);
  const double xs = std::max(ScanResults.XPlotMin - 4 * u - ov, windowStart);
  const double xe = std::min(ScanResults.XPlotMax + 4 * u + ov, windowEnd);
  const double cw = optrec.SquareData ? u : u / 4;
  const PlaceResult r = PlaceWindow(PointsFor(u), windowStart, windowEnd, xs, xe, cw);
  if (graphtype.FirstTime && r.duplicates >= 1) ShowDuplicates(r.duplicates);
  return r.allRowsFound;
}

void FillGridGaps() {
  if (gWork.grid) gWork.grid->FillGaps(ScanResults.UnitSpacing, optrec.overlap);
}

void PaintGridWindow() {
  if (!gWork.grid) return;
  PaintGeometry g;
  g.width = PlotX1 - PlotX0;
  g.height = PlotY1 - PlotY0;
  g.lmin = graphtype.Lmin;
  g.lmax = graphtype.Lmax;
  g.d0 = DepthAxisStart();
  g.dmax = graphtype.Dmax;
  g.windowStart = WindowStart;
  g.windowEnd = WindowEnd;
  const int set = LimitSetOf();
  const auto& colours = graphtype.Colour;
  SetViewPort(PlotX0, PlotY0, PlotX1 + 1, PlotY1);
  PaintGrid(*gWork.grid, g, [&](int k, int i, double value) {
    const int c = std::clamp(ColourIndexOf(value, set), 0, MaxColours - 1);
    PutPixel(k, i, colours[static_cast<std::size_t>(c)], c);
  });
  ResetViewPort();
}

void PlotDataPoints() {
  EnsureData();
  const int w = PlotX1 - PlotX0, h = PlotY1 - PlotY0;
  const double lspan = graphtype.Lmax - graphtype.Lmin;
  const double d0 = DepthAxisStart();
  const double dspan = graphtype.Dmax - d0;
  const double u = ScanResults.UnitSpacing;
  SetViewPort(PlotX0, PlotY0, PlotX1 + 1, PlotY1);
  SetPenColour(kBlack);
  for (const TDatPoint& d : gWork.file.points) {
    if (!SelectedDatum(d.a, d.n, SelectedSpacing, SelectedNFactor, u)) continue;
    const double fx = std::nearbyint((d.position - graphtype.Lmin) / lspan * w);
    const double fy = std::nearbyint((d.depth - d0) / dspan * h);
    if (!(fx >= 1 && fx < w && fy >= 1 && fy < h)) continue;
    const int px = static_cast<int>(fx), py = static_cast<int>(fy);
    if (PlotCross) {
      Line(px - 1, py - 1, px + 1, py + 1);
      Line(px + 1, py - 1, px - 1, py + 1);
    } else {
      PutPixel(px, py, kBlack, NoColourIndex);
    }
  }
  ResetViewPort();
}

void PlotMarkers() {
  ResetViewPort();
  const double lspan = graphtype.Lmax - graphtype.Lmin;
  const int n = std::clamp(optrec.nMarkers, 0, MaxMarkers);
  SetPenColour(kBlack);
  SetTextJustify(CenterText, TopText);
  for (int i = 1; i <= n; ++i) {
    const auto k = static_cast<std::size_t>(i);
    if (optrec.PosFlag[k] != 0) continue;
    const double fx =
        std::nearbyint((optrec.Xmark[k] - graphtype.Lmin) * (PlotX1 - PlotX0 + 1) / lspan);
    // A marker far off the diagram cannot be drawn on the page anyway.
    if (!(std::fabs(fx) < 1e6)) continue;
    const int x = PlotX0 + static_cast<int>(fx);
    Line(x, PlotY0, x, PlotY1);
    OutTextXY(x, PlotY1 + graphtype.TicY / 4, optrec.MarkStr[k].str());
  }
}

void PlotPseudosection(Canvas& canvas, int width, int height) {
  if (graphtype.FirstTime) {
    SelectedSpacing = 0;
    SelectedNFactor = 0;
  }
  if (!Plottable()) return;
  PrepareLabels();
  SetPenColour(kBlack);
  if (!PseudoLayout(width, height)) {
    CurrentPrompts().Message(
        "The diagram height does not fit the plot window! To plot diagram try either "
        "to;\n\r\n\r- change \"Settings/Plot options/Auto adjust diagram width\" to checked, "
        "or\n\r\n\r- resize plot window to a larger height relative to the width.",
        MessageKind::Information);
    return;
  }
  DrawPseudoInfo(canvas);
  if (PlotLegend) DrawLegend(canvas);
  DrawPseudoAxes(canvas);

  const WorkRelease release;
  ReleasePseudoWork();  // a fresh read of the file for this drawing
  RunGridPhase();
  if (PlotDataPts) PlotDataPoints();
  if (PlotMark) PlotMarkers();
  SetTextJustify(CenterText, BottomText);
  SetPenColour(kBlack);
}

}  // namespace karvelo

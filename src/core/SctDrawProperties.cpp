// The diagram's property setters: each keeps the diagram's own copy and writes the
// matching item of the shared plot state at once, so a renderer sees a changed setting
// without waiting for the next SetProperties.

#include "base/Files.h"
#include "core/SctDraw.h"

namespace karvelo {

void TSectionDiagram::SetRhoFilename(const std::string& v) {
  FRhoFilename = FileNameOf(v);
  FModelPath = FolderOf(v);
  karvelo::RhoFilename = FRhoFilename;
  karvelo::ModelPath = FModelPath;
}

void TSectionDiagram::SetModelPath(const std::string& v) {
  FModelPath = v;
  karvelo::ModelPath = v;
}

void TSectionDiagram::SetInterpolation(TInterpolationType v) {
  FIntType = v;
  gPlotState.switches.SplineInterpolation = v == itSpline;
}

void TSectionDiagram::SetModel(TModelType v) {
  FModelType = v;
  // The grid variants leave the kind as it is until the next SetProperties.
  if (v == mtFirst) karvelo::ModelKind = 0;
  if (v == mtSmoothed) karvelo::ModelKind = 1;
}

void TSectionDiagram::SetHeader(const std::string& v) {
  FHeader = v;
  optrec.Comment = v;
}

void TSectionDiagram::SetDate(const std::string& v) {
  FDate = v;
  optrec.Date = v;
}

void TSectionDiagram::SetArrayType(const std::string& v) {
  FArrayType = v;
  optrec.ArrayType = v;
}

void TSectionDiagram::SetArrayTypeStr(const std::string& v) {
  FArrayTypeStr = v;
  optrec.ArrayType = v;
}

void TSectionDiagram::SetArrayCode(std::uint8_t v) {
  FArrayCode = v;
  optrec.ArrayCode = v;
}

// ---- Plot switches ------------------------------------------------------------------------

void TSectionDiagram::SetPlotDots(bool v) {
  FPlotDots = v;
  gPlotState.switches.PlotDots = v;
}

void TSectionDiagram::SetKiloOhmm(bool v) {
  FKiloOhmm = v;
  gPlotState.switches.KiloOhmm = v;
}

void TSectionDiagram::SetDistUnit(const std::string& v) {
  FDistUnit = v;
  gPlotState.switches.DistUnit = v;  // cut to 2 characters
}

void TSectionDiagram::SetPlotLegend(bool v) {
  FPlotLegend = v;
  gPlotState.switches.PlotLegend = v;
}

void TSectionDiagram::SetNoDepth(bool v) {
  FNoDepth = v;
  gPlotState.switches.NoDepth = v;
}

void TSectionDiagram::SetNoDist(bool v) {
  FNoDist = v;
  gPlotState.switches.NoDist = v;
}

void TSectionDiagram::SetNoInfo(bool v) {
  FNoInfo = v;
  gPlotState.switches.NoInfo = v;
}

void TSectionDiagram::SetPlotDataPts(bool v) {
  FPlotDataPts = v;
  gPlotState.switches.PlotDataPts = v;
}

void TSectionDiagram::SetPlotCross(bool v) {
  FPlotCross = v;
  gPlotState.switches.PlotCross = v;
}

void TSectionDiagram::SetPlotTopo(bool v) {
  FPlotTopo = v;
  gPlotState.switches.PlotTopo = v;
}

void TSectionDiagram::SetPlotLvl(bool v) {
  FPlotLvl = v;
  gPlotState.switches.PlotLvl = v;
}

void TSectionDiagram::SetPlotRef(bool v) {
  FPlotRef = v;
  gPlotState.switches.PlotRef = v;
}

void TSectionDiagram::SetPlotMark(bool v) {
  FPlotMark = v;
  gPlotState.switches.PlotMark = v;
}

void TSectionDiagram::SetSquareModel(bool v) {
  FSquareModel = v;
  gPlotState.switches.SquareModel = v;
}

void TSectionDiagram::SetSquarePlot(bool v) {
  FSquarePlot = v;
  gPlotState.switches.SquarePlot = v;
}

// ---- Axes and labels ----------------------------------------------------------------------

void TSectionDiagram::SetSectionStart(double v) {
  FSectionStart = v;
  graphtype.Lmin = v;
}

void TSectionDiagram::SetSectionEnd(double v) {
  FSectionEnd = v;
  graphtype.Lmax = v;
}

void TSectionDiagram::SetSectionLabel(double v) {
  FSectionLabel = v;
  graphtype.Llabel = v;
}

void TSectionDiagram::SetDepthStart(double v) {
  FDepthStart = v;
  graphtype.Dmin = v;
}

void TSectionDiagram::SetDepthEnd(double v) {
  FDepthEnd = v;
  graphtype.Dmax = v;
}

void TSectionDiagram::SetDepthLabel(double v) {
  FDepthLabel = v;
  graphtype.Dlabel = v;
}

void TSectionDiagram::SetXYRatio(double v) {
  FXYRatio = v;
  graphtype.XYfactor = v;
}

void TSectionDiagram::SetLeftDirectionLabel(const std::string& v) {
  FLeftDirLabel = v;
  optrec.LeftDirect = v;  // cut to 10 characters
}

void TSectionDiagram::SetRightDirectionLabel(const std::string& v) {
  FRightDirLabel = v;
  optrec.RightDirect = v;
}

void TSectionDiagram::SetDistanceLabel(const std::string& v) {
  FDistLabel = v;
  CurrentLabels.DistStr = v;
}

void TSectionDiagram::SetDepthScaleLabel(const std::string& v) {
  FDepthSclLabel = v;
  CurrentLabels.DepthStr = v;
}

void TSectionDiagram::SetLegendLabel(const std::string& v) {
  FLegendLabel = v;
  CurrentLabels.ResStr = v;
}

// ---- Colour scale -------------------------------------------------------------------------

void TSectionDiagram::SetRhoMin(double v) {
  FRhoMin = v;
  graphtype.rhomin = v;
}

void TSectionDiagram::SetRhoMax(double v) {
  FRhoMax = v;
  graphtype.rhomax = v;
}

void TSectionDiagram::SetRhoLabel(double v) {
  FRhoLabel = v;
  graphtype.rholabel = v;
}

void TSectionDiagram::SetIPMin(double v) {
  FIPMin = v;
  graphtype.ipmin = v;
}

void TSectionDiagram::SetIPMax(double v) {
  FIPMax = v;
  graphtype.ipmax = v;
}

void TSectionDiagram::SetIPLabel(double v) {
  FIPLabel = v;
  graphtype.iplabel = v;
}

namespace {

bool ValidLimit(int column, int k) {
  return column >= 0 && column < LimitSets && k >= 0 && k < LimitsPerSet;
}

std::size_t LimitIndex(int column, int k) {
  return static_cast<std::size_t>(LimitsPerSet * column + k);
}

}  // namespace

double TSectionDiagram::RhoLimit(int column, int k) const {
  return ValidLimit(column, k) ? graphtype.RhoLimit[LimitIndex(column, k)] : 0.0;
}

void TSectionDiagram::SetRhoLimit(int column, int k, double v) {
  if (!ValidLimit(column, k)) return;
  FRhoLimit[LimitIndex(column, k)] = v;
  graphtype.RhoLimit[LimitIndex(column, k)] = v;
}

}  // namespace karvelo

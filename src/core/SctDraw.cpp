#include "core/SctDraw.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

#include "base/Files.h"
#include "base/Prompts.h"
#include "core/DrawRegistry.h"
#include "core/SettingsFiles.h"
#include "input/DatReader.h"
#include "input/ModelReaders.h"

namespace karvelo {
namespace {

std::string WithSeparator(const std::string& folder) {
  if (folder.empty() || folder.back() == '/') return folder;
  return folder + '/';
}

std::string CurrentFolder() {
  std::error_code ec;
  const auto p = std::filesystem::current_path(ec);
  return ec ? std::string() : p.string();
}

// Loading makes the data folder current, as the label-file lookups and the file dialogs
// of the desktop expect. A folder that has gone away leaves the current one as it is.
void ChangeFolder(const std::string& folder) {
  if (folder.empty()) return;
  std::string f = folder;
  if (f.size() > 1 && f.back() == '/') f.pop_back();
  std::error_code ec;
  std::filesystem::current_path(f, ec);
}

std::string Absolute(const std::string& name) {
  std::error_code ec;
  const auto p = std::filesystem::absolute(name, ec);
  return ec ? name : p.lexically_normal().string();
}

std::string TrimBlanks(const std::string& s) {
  std::size_t b = 0;
  std::size_t e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
  return s.substr(b, e - b);
}

// The file name without its extension "." + three letters, the base every settings file
// of the diagram is named after. Names whose extension is shorter lose it at their last
// dot; a name without one stays whole, so the settings never become hidden ".inf" files.
std::string SettingsBaseName(const std::string& fileName) {
  const std::string name = FileNameOf(fileName);
  if (name.size() > 4 && name[name.size() - 4] == '.') return name.substr(0, name.size() - 4);
  const auto dot = name.find_last_of('.');
  return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

void InitPageColours() {
  if (DrawingLayer().InitPlotColours) DrawingLayer().InitPlotColours();
}

// What the INF of a new DAT file is written from: the header scan fills the title and
// array, the rest belongs to the file loaded before and must not be carried over.
void ForgetFileDescription() {
  optrec.Date.clear();
  optrec.ArrayType.clear();
  optrec.LeftDirect.clear();
  optrec.RightDirect.clear();
  optrec.nMarkers = 0;
}

void WriteDefaultInfOnce() {
  WriteDefaultInf(false);
}

}  // namespace

// ---- Life cycle ---------------------------------------------------------------------------

TSectionDiagram::TSectionDiagram() {
  FDiagramType = CurrentPrompts().AskPlotType(graphtype.ModSelFlag);
  if (FDiagramType == dtModsec1D) {
    FModelType = mtFirst;
    karvelo::ModelKind = 0;
  }
  const std::string cwd = CurrentFolder();
  LaunchDir = cwd;
  DataFolder = cwd;
  optrec.DataDir = WithSeparator(cwd);
  optrec.DataDisk.clear();
  FRhoInt = riLog;
}

void TSectionDiagram::Resize(int /*aWidth*/, int /*aHeight*/) {}

// ---- Loading ------------------------------------------------------------------------------

void TSectionDiagram::SetFileName(const std::string& v) {
  // Loading changes the current folder, so a relative name would not survive the reload
  // that comes before every drawing.
  FFileName = v.empty() ? v : Absolute(v);
  LoadSequence(FFileName);
  if (FFileName.empty()) return;
  const std::string base = SettingsBaseName(FFileName);
  LoadInf(*this, base);
  LoadReference(FReferenceData, base);
}

void TSectionDiagram::LoadSequence(const std::string& name) {
  if (name.empty()) {
    optrec.FileName = "NO FILE";
  } else {
    optrec.DataDir = FolderOf(name);
    DataFolder = optrec.DataDir;
    const std::string fileName = TrimBlanks(FileNameOf(name));
    const auto dot = fileName.find('.');
    const std::string ext = dot == std::string::npos ? std::string() : fileName.substr(dot, 4);
    const std::string base = fileName.substr(0, dot);
    optrec.FileName = base;
    const std::string extUpper = UpperCase(ext);
    const bool model = extUpper == ".RHO" || extUpper == ".RH2";
    graphtype.ModSelFlag = model;
    bool scanned = false;
    if (model) {
      karvelo::RhoFilename = base + ext;
      ModelFileExt = ext;
      scanned = LoadModelFile(name);
    } else {
      ModelFileExt = ".RHO";
      karvelo::RhoFilename = base + ".RHO";
      DataFileExt = ext;
      optrec.DataExt = ext;
      scanned = LoadDataFile(extUpper);
    }
    if (scanned) ReadSettingsAfterScan(model);
    graphtype.Xsize = 87;
    graphtype.Xlegend = 87;
    graphtype.Ysize = 38;
  }
  ChangeFolder(DataFolder);
  InitPageColours();
}

bool TSectionDiagram::LoadModelFile(const std::string& path) {
  IsDatFile = false;
  double firstX = 0;
  double lastX = 0;
  double width = 0;
  // A model file that is missing has no extents: computing default limits from the
  // scan's start values would write nonsense into the settings files.
  if (!ScanModelFile(path, true, firstX, lastX, width)) return false;
  double xPlotMax = lastX;
  ScanResults.XPlotMin = firstX;
  if (!ModelPlotEnd(firstX, lastX, width, xPlotMax)) {
    // Columns that do not advance from left to right: take the extent as it lies.
    ScanResults.XPlotMin = std::min(firstX, lastX);
    xPlotMax = std::max(firstX, lastX);
  }
  ScanResults.XPlotMax = xPlotMax;
  ScanResults.UnitSpacing = width;
  ScanResults.SpacingMin = graphtype.Dhigh;
  ScanResults.SpacingMax = graphtype.Dlow;
  ScanResults.nSpacings = 0;
  ScanResults.nDataPoints = 0;
  return true;
}

bool TSectionDiagram::LoadDataFile(const std::string& extUpper) {
  IsDatFile = extUpper == ".DAT";
  if (IsDatFile) {
    ForgetFileDescription();
    // The header scan writes the default settings file once it has read the header.
    SetDefaultInfWriter(&WriteDefaultInfOnce);
    IsDatFile = ScanDatHeader(graphtype.FirstTime);
  }
  if (optrec.TimeSteps < graphtype.TimeStep) graphtype.TimeStep = optrec.TimeSteps;
  // Keep the measurements for the drawing that follows when someone will draw them.
  bool scanned = false;
  if (const DataRecordsConsumer& take = DataRecordsTaker()) {
    TDatData records;
    scanned = ScanDatFile(&records);
    take(std::move(records));
  } else {
    scanned = ScanDatFile();
  }
  ScanResults.UnitSpacing = ScanResults.SpacingMin;
  const int n = std::clamp(ScanResults.nPseudoDepths, 0, MaxScanList);
  if (n > 0) graphtype.Dlow = ScanResults.PseudoDepthList[static_cast<std::size_t>(n - 1)];
  return scanned;
}

void TSectionDiagram::ReadSettingsAfterScan(bool model) {
  if (ScanResults.nSpacings > 2) optrec.overlap = 20 * ScanResults.SpacingMin / 2;
  ReadInfIntoState(model);
  ChangeFolder(optrec.DataDir);
  ReadDiagramLimits(true, ScanResults.XPlotMax, ScanResults.XPlotMin, graphtype.Dlow,
                    ScanResults.UnitSpacing);
  ReadColourLimits(FRhoInt == riLog, ScanResults.RhoDataMin, ScanResults.RhoDataMax,
                   ScanResults.IPDataMin, ScanResults.IPDataMax, ScanResults.IPRatioMin,
                   ScanResults.IPRatioMax);
}

// ---- Copying settings in and out of the shared state --------------------------------------

void TSectionDiagram::SetProperties() {
  optrec.Comment = FHeader;
  optrec.Date = FDate;
  optrec.ArrayType = FArrayType;
  optrec.ArrayType = FArrayTypeStr;
  optrec.ArrayCode = FArrayCode;
  graphtype.ModSelFlag = FModSelFlag;
  graphtype.IPflag = FIPplot;
  graphtype.NormalisedIP = FNormalisedIP;
  graphtype.TimeWindowIP = FTimeWindowIP;
  optrec.IPflag = FIPflag;
  optrec.IPwindows = FIPwindows;
  optrec.TimeSteps = FTimeSteps;
  graphtype.TimeStep = FTimeStepPlot;
  TPlotSwitches& s = gPlotState.switches;
  s.PlotDots = FPlotDots;
  s.KiloOhmm = FKiloOhmm;
  s.DistUnit = FDistUnit;
  s.PlotLegend = FPlotLegend;
  s.NoDepth = FNoDepth;
  s.NoDist = FNoDist;
  s.NoInfo = FNoInfo;
  s.PlotDataPts = FPlotDataPts;
  s.PlotCross = FPlotCross;
  s.PlotTopo = FPlotTopo;
  s.PlotLvl = FPlotLvl;
  s.PlotRef = FPlotRef;
  s.PlotMark = FPlotMark;
  s.SquareModel = FSquareModel;
  s.SplineInterpolation = FIntType == itSpline;
  graphtype.Lmin = FSectionStart;
  graphtype.Lmax = FSectionEnd;
  graphtype.Llabel = FSectionLabel;
  graphtype.Dmin = FDepthStart;
  graphtype.Dmax = FDepthEnd;
  graphtype.Dlabel = FDepthLabel;
  optrec.LeftDirect = FLeftDirLabel;
  optrec.RightDirect = FRightDirLabel;
  graphtype.rhomax = FRhoMax;
  graphtype.rhomin = FRhoMin;
  graphtype.rholabel = FRhoLabel;
  graphtype.RhoLimit = FRhoLimit;
  s.SquarePlot = FSquarePlot;
  karvelo::ModelPath = FModelPath;
  karvelo::RhoFilename = FRhoFilename;
  graphtype.XYfactor = FXYRatio;
  CurrentLabels.DistStr = FDistLabel;
  CurrentLabels.DepthStr = FDepthSclLabel;
  CurrentLabels.ResStr = FLegendLabel;
  karvelo::ModelKind = FModelType != mtFirst ? 1 : 0;
}

void TSectionDiagram::GetProperties() {
  FHeader = optrec.Comment.str();
  FDate = optrec.Date.str();
  FArrayType = optrec.ArrayType.str();
  FArrayTypeStr = optrec.ArrayType.str();
  FArrayCode = optrec.ArrayCode;
  FModSelFlag = graphtype.ModSelFlag;
  FIPplot = graphtype.IPflag;
  FNormalisedIP = graphtype.NormalisedIP;
  FTimeWindowIP = graphtype.TimeWindowIP;
  FIPflag = optrec.IPflag;
  FIPwindows = optrec.IPwindows;
  FTimeSteps = optrec.TimeSteps;
  FTimeStepPlot = graphtype.TimeStep;
  const TPlotSwitches& s = gPlotState.switches;
  FPlotDots = s.PlotDots;
  FKiloOhmm = s.KiloOhmm;
  FDistUnit = s.DistUnit.str();
  FPlotLegend = s.PlotLegend;
  FNoDepth = s.NoDepth;
  FNoDist = s.NoDist;
  FNoInfo = s.NoInfo;
  FPlotDataPts = s.PlotDataPts;
  FPlotCross = s.PlotCross;
  FPlotTopo = s.PlotTopo;
  FPlotLvl = s.PlotLvl;
  FPlotRef = s.PlotRef;
  FPlotMark = s.PlotMark;
  FSquareModel = s.SquareModel;
  FIntType = s.SplineInterpolation ? itSpline : itLinear;
  FSectionStart = graphtype.Lmin;
  FSectionEnd = graphtype.Lmax;
  FSectionLabel = graphtype.Llabel;
  FDepthStart = graphtype.Dmin;
  FDepthEnd = graphtype.Dmax;
  FDepthLabel = graphtype.Dlabel;
  FLeftDirLabel = optrec.LeftDirect.str();
  FRightDirLabel = optrec.RightDirect.str();
  FRhoMax = graphtype.rhomax;
  FRhoMin = graphtype.rhomin;
  FRhoLabel = graphtype.rholabel;
  FRhoLimit = graphtype.RhoLimit;
  if (DrawingLayer().DiagramTop) FDiagramTop = DrawingLayer().DiagramTop();
  if (DrawingLayer().DiagramBottom) FDiagramBottom = DrawingLayer().DiagramBottom();
  FSquarePlot = s.SquarePlot;
  FModelPath = karvelo::ModelPath;
  FRhoFilename = karvelo::RhoFilename;
  FXYRatio = graphtype.XYfactor;
  FDistLabel = CurrentLabels.DistStr;
  FDepthSclLabel = CurrentLabels.DepthStr;
  FLegendLabel = CurrentLabels.ResStr;
  FModelType = karvelo::ModelKind != 0 ? mtSmoothed : mtFirst;
}

// ---- Saving -------------------------------------------------------------------------------

void TSectionDiagram::Save() {
  // A diagram without a file has nowhere to keep its settings.
  if (FFileName.empty()) return;
  const std::string base = SettingsBaseName(FFileName);
  graphtype.GeoLimitFil = base;
  graphtype.RhoLimitFil = base;
  WriteDiagramLimits();
  WriteColourLimits();
  SaveInf(*this, base);
  SaveReference(FReferenceData, base);
}

}  // namespace karvelo

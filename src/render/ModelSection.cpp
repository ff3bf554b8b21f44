// The 2D model section driver: labels, the model scan, the topography the model hangs
// from, the page and its furniture, then the model and its overlays.

#include "render/ModelSection.h"

#include <algorithm>
#include <string_view>

#include "base/Files.h"
#include "base/Prompts.h"
#include "input/ModelReaders.h"
#include "input/QvMath.h"
#include "render/Axes.h"
#include "render/ColourScale.h"
#include "render/DrawLayer.h"
#include "render/ModelColumns.h"
#include "render/ModelDrawing.h"
#include "render/ModelImage.h"

namespace karvelo {

const std::array<const char*, ModelKindCount> ModelKindNames{
    "1D ZOHDY MODEL",    "SMOOTHED 1D ZOHDY MODEL", "1D ZOHDY MODEL",  "SMOOTHED 1D ZOHDY MODEL",
    "2D INVERTED MODEL", "SMOOTHED 2D INV. MODEL",  "CSELMA 1D MODEL", "SELMA 1D MODEL"};

const char* ModelKindName(int kind) {
  if (kind < 0 || kind >= ModelKindCount) return "";
  return ModelKindNames[static_cast<std::size_t>(kind)];
}

TTextRec EnglishModelLabels() {
  return TTextRec{" MODEL SECTION",     "Distance[m]",         "Depth[m]",  "Elevation[m]",
                  "Resistivity[ohm-m]", "Resistivity[kohm-m]", ProducerLine};
}

namespace {

constexpr TColor Black = MakeRgb(0, 0, 0);
constexpr TColor White = MakeRgb(255, 255, 255);

void Tell(const std::string& text, MessageKind kind) {
  CurrentPrompts().Message(text, kind);
}

// The extension as the load sequence takes it: the first "." and three characters.
std::string ModelExtension(const std::string& fileName) {
  const std::size_t dot = fileName.find('.');
  return dot == std::string::npos ? std::string() : UpperCase(fileName.substr(dot, 4));
}

bool IsModFile() {
  return ModelExtension(RhoFilename) == ".MOD";
}

// ---- Labels ----------------------------------------------------------------------------------

}  // namespace

void PrepareModelLabels() {
  if (ReadModsecLabels(DataFolder, ModelLabelProgramFolder)) {
    CurrentLabels = ModelLabels;
    CurrentLabels.MethodStr =
        std::string(TrimBlanks(optrec.ArrayType.str() + CurrentLabels.MethodStr));
  } else {
    CurrentLabels = EnglishModelLabels();
    CurrentLabels.MethodStr = optrec.ArrayType.str() + " " + ModelKindName(ModelKind);
  }
}

namespace {

// The legend names the plotted quantity: an IP plot's own unit text.
void ApplyQuantityLabel() {
  if (graphtype.IPflag == 0) return;
  CurrentLabels.ResStr = graphtype.TextStrIP;
  if (graphtype.NormalisedIP != 0) {
    const std::string& ip = graphtype.TextStrIP;
    const std::size_t bracket = ip.find('[');
    const std::string head =
        bracket == std::string::npos ? std::string() : ip.substr(0, bracket + 1);
    CurrentLabels.ResStr = "Normalised " + head + "mS/m]";
  }
}

// ---- The model file --------------------------------------------------------------------------

// Makes sure the model file is there, letting the user pick another one while it is not.
bool FindModelFile() {
  for (;;) {
    const std::string shown = ModelFilePath(RhoFilename);
    if (FileExistsNoCase(shown)) return true;
    if (!CurrentPrompts().AskYesNo("ERROR: Model file " + shown + " was not found! Select now?"))
      return false;
    const std::string chosen = ChooseModelFile ? ChooseModelFile() : std::string();
    if (chosen.empty()) return false;
    RhoFilename = FileNameOf(chosen);
    ModelPath = FolderOf(chosen);
    ModelFileExt = ModelExtension(RhoFilename);
  }
}

// Scans the model. False when it cannot be laid out: without two columns that advance
// from left to right there is no column width, and the scan has said why.
bool ScanModel() {
  double firstX = 0, lastX = 0, width = 0;
  if (!ScanModelFile(RhoFilename, true, firstX, lastX, width)) return false;
  return LastModelScan.ColumnWidthValid;
}

bool TopographyForModel() {
  if (Rho2Format) {
    // An RH2 model carries its own ground surface.
    PlotTopo = ReadRh2Topography(RhoFilename);
    return true;
  }
  if (!PlotTopo) return true;
  const bool dataTopography = !graphtype.ModSelFlag && TopoList.nTopoPoints > 0;
  if (!dataTopography) PlotTopo = ReadTopographyFile();
  if (!PlotTopo) return true;
  const TModelScan& s = LastModelScan;
  if (TopographyCovers(std::min(s.FirstX, s.LastX), std::max(s.FirstX, s.LastX))) return true;
  if (graphtype.ModSelFlag) return true;
  Tell("ERROR: The topography file does not cover the profile! Check " + optrec.FileName +
           ".ALT or plot without topography",
       MessageKind::Error);
  if (!CurrentPrompts().AskYesNo("Plot without topography?")) return false;
  PlotTopo = false;
  return true;
}

// A model laid over a data file should lie where the data lie.
bool ModelMatchesData() {
  if (graphtype.ModSelFlag) return true;
  const TModelScan& s = LastModelScan;
  const double lo = std::min(s.FirstX, s.LastX);
  const double hi = std::max(s.FirstX, s.LastX);
  if (!(hi < ScanResults.XPlotMin || lo > ScanResults.XPlotMax)) return true;
  return CurrentPrompts().AskYesNo("WARNING: The model file " + RhoFilename +
                                   " co-ordinates do not agree with the data file! Continue?");
}

// ---- Page
// ----------------------------------------------------------------------------------------

void DrawFurniture(Canvas& canvas) {
  if (!graphtype.PlotFrameEtc) return;
  DrawModelInfo(canvas, RhoFilename);
  if (PlotLegend) DrawLegend(canvas);
  DrawModelAxes(canvas);
}

void DrawModelAndOverlays(Canvas& canvas) {
  if (!Rho2Format && PlotTopo) DrawTopography(canvas);
  if (SquarePlot) {
    DrawModelBlocks(canvas, RhoFilename);
  } else {
    DrawModelImage(canvas, RhoFilename);
  }
  if (Rho2Format && PlotTopo) DrawTopography(canvas);
  if (PlotLvl) DrawLayerLines(canvas);
  if (PlotMark) DrawModelMarkers();
  if (PlotRef) DrawReferenceData(canvas);
}

void StoreTopography(const std::vector<std::pair<double, double>>& points) {
  TTopoList& t = TopoList;
  const int n = static_cast<int>(points.size());
  t.nTopoPoints = n;
  // The model's positions are the key of every lookup, so both position columns hold
  // the positions as given.
  t.TopoDistanceType = 1;
  t.TopoZMin = ModelScanMin;
  t.TopoZMax = ModelScanMax;
  for (int k = 1; k <= n; ++k) {
    const auto& [x, z] = points[static_cast<std::size_t>(k - 1)];
    const auto i = static_cast<std::size_t>(k);
    t.TopoSurfaceX[i] = x;
    t.TopoHorizX[i] = x;
    t.TopoZ[i] = z;
    t.TopoZMin = std::min(t.TopoZMin, z);
    t.TopoZMax = std::max(t.TopoZMax, z);
  }
  if (n > 0) {
    t.TopoXFirst = points.front().first;
    t.TopoXLast = points.back().first;
  }
}

}  // namespace

// ---- Topography --------------------------------------------------------------------------------

bool ReadTopographyFile() {
  double xMin = 0, xMax = 0, zMin = 0, zMax = 0;
  if (!ScanAltFile(xMin, xMax, zMin, zMax)) return false;
  const auto path = FindFileNoCase(optrec.DataDir + optrec.FileName + ".ALT");
  TextLines file;
  if (!path || !file.Open(*path)) return false;
  std::vector<std::pair<double, double>> points;
  LineValueArray v{};
  std::string text;
  while (!file.Eof()) {
    if (!ReadRealLine(file, 2, v, text) || IsUndefined(v[0]) || IsUndefined(v[1])) continue;
    if (static_cast<int>(points.size()) == MaxTopoPoints) {
      Tell("ERROR: Too many topography points in " + *path + " (max=" + FormatInt(MaxTopoPoints) +
               ")",
           MessageKind::Error);
      break;
    }
    points.emplace_back(v[0], v[1]);
  }
  if (points.empty()) return false;
  StoreTopography(points);
  return true;
}

bool ReadRh2Topography(const std::string& modelFileName) {
  TModelColumnReader reader;
  const auto path = FindFileNoCase(ModelFilePath(modelFileName));
  if (!path || !reader.Open(*path) || !reader.IsRho2()) return false;
  std::vector<std::pair<double, double>> points;
  TModelColumn column;
  while (reader.Next(column) == TColumnStatus::Column) {
    // The surface must run from left to right to be looked up.
    if (!points.empty() && !(column.X > points.back().first)) continue;
    if (static_cast<int>(points.size()) == MaxTopoPoints) {
      Tell("ERROR: Too many topography points in RH2 file ... (max=" + FormatInt(MaxTopoPoints) +
               ")",
           MessageKind::Error);
      break;
    }
    points.emplace_back(column.X, column.Elevation);
  }
  if (points.empty()) return false;
  StoreTopography(points);
  return true;
}

bool TopographyCovers(double xMin, double xMax) {
  const TTopoList& t = TopoList;
  if (t.nTopoPoints <= 0) return false;
  return !(t.TopoXFirst > xMin) && !(t.TopoXLast < xMax);
}

// ---- Driver
// --------------------------------------------------------------------------------------

void ClearModelPage(Canvas& canvas, int width, int height) {
  ResetViewPort();
  SetFillPattern(-1);
  canvas.SetBrushStyle(BrushStyle::Solid);
  canvas.SetPenStyle(PenStyle::Solid);
  canvas.SetPenWidth(1);
  SetBrushColour(White);
  SetPenColour(White);
  Rectangle(0, 0, width, height);
  SetPenColour(Black);
}

void PlotModelSection(Canvas& canvas, int width, int height) {
  const ModelDrawingScope scope(canvas);
  ModelKind = ModelKind2D;
  PrepareModelLabels();
  bool modFile = IsModFile();
  if (!modFile) {
    if (!FindModelFile()) return;
    modFile = IsModFile();  // the user may have picked a block model instead
  }
  if (modFile) {
    PlotTopo = false;  // a block model has no ground surface
  } else if (!ScanModel() || !TopographyForModel() || !ModelMatchesData()) {
    return;
  }
  ApplyQuantityLabel();

  ClearModelPage(canvas, width, height);
  if (!ModelLayout(width, height)) {
    Tell(DiagramDoesNotFitText, MessageKind::Information);
    return;
  }
  DrawFurniture(canvas);
  if (modFile) {
    DrawModFile(canvas, RhoFilename);
  } else {
    DrawModelAndOverlays(canvas);
  }
}

}  // namespace karvelo

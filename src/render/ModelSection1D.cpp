// The 1D driver: finds (or builds) the 1D model of the data file and draws it like a
// 2D model section.

#include "render/ModelSection1D.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "base/Colour.h"
#include "base/Files.h"
#include "base/PlotState.h"
#include "base/Prompts.h"
#include "base/Res2err.h"
#include "input/ModelReaders.h"
#include "input/QvMath.h"
#include "render/Axes.h"
#include "render/ColourScale.h"
#include "render/DrawLayer.h"
#include "render/ModelDrawing.h"
#include "render/ModelSection.h"

namespace karvelo {

namespace {

constexpr TColor Black = MakeRgb(0, 0, 0);
constexpr TColor White = MakeRgb(255, 255, 255);
constexpr int WennerArrayCode = 1;
// The model kinds the builder makes: 0 and 1 plain, 2 and 3 on the half-spacing grid.
constexpr int Last1DKind = 3;

void Tell(const std::string& text, MessageKind kind) {
  CurrentPrompts().Message(text, kind);
}

// The model file of the current model kind: ModelPath, ModelFileExt and RhoFilename.
void SelectModel() {
  if (ModelKind > Last1DKind) ModelKind = 0;
  ModelPath = ModelFolderOf(ModelKind);
  ModelFileExt = ".RHO";
  RhoFilename = optrec.FileName + ".RHO";
}

// Scans the model file when it is there. False when it is missing (nothing said).
bool ScanExisting(bool& usable) {
  usable = false;
  if (!FileExistsNoCase(ModelFilePath(RhoFilename))) return false;
  double firstX = 0, lastX = 0, width = 0;
  ScanModelFile1D(RhoFilename, true, firstX, lastX, width);
  usable = LastModelScan.ColumnWidthValid;
  return true;
}

enum class ModelState { Ready, Unusable, None };

// Finds the model of the current kind, building it when it is missing and the user
// agrees. The answer "No" to the complete-model question falls back to the fast model.
ModelState FindOrBuildModel() {
  SelectModel();
  bool usable = false;
  if (ScanExisting(usable)) return usable ? ModelState::Ready : ModelState::Unusable;
  if (!CurrentPrompts().AskYesNo(CreateModelQuestion(ModelPath, RhoFilename))) {
    return ModelState::None;
  }
  const Answer complete = CurrentPrompts().AskYesNoCancel(CompleteModelQuestion);
  if (complete == Answer::Cancel) return ModelState::None;
  const bool fastOnly = complete == Answer::No;
  if (fastOnly) {
    ModelKind = 0;
    SelectModel();
    if (ScanExisting(usable)) return usable ? ModelState::Ready : ModelState::Unusable;
  }
  CurrentPrompts().ProgressReset();
  if (!Build1DModels(fastOnly, ModelKind == 2 || ModelKind == 3)) return ModelState::None;
  if (!ScanExisting(usable)) {
    // The build did not make this kind (SmoothIncl was off for a smoothed kind).
    Tell("ERROR: Model file " + RhoFilename + " was not found!", MessageKind::Error);
    return ModelState::None;
  }
  return usable ? ModelState::Ready : ModelState::Unusable;
}

// Topography from the ALT file when the data file has none; PlotTopo stays on only when
// there is some.
void ReadTopography() {
  if (!PlotTopo || TopoList.nTopoPoints > 0) return;
  PlotTopo = ReadTopographyFile();
}

// With topography, the ground surface must reach over the whole model.
bool TopographyCoversModel() {
  if (!PlotTopo) return true;
  const TModelScan& s = LastModelScan;
  if (TopographyCovers(std::min(s.FirstX, s.LastX), std::max(s.FirstX, s.LastX))) return true;
  Tell(TopographyNotCovering1DText, MessageKind::Error);
  if (!CurrentPrompts().AskYesNo(PlotWithoutTopographyQuestion)) return false;
  PlotTopo = false;
  return true;
}

void PrepareLabels() {
  PrepareModelLabels();
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

void DrawModel(Canvas& canvas) {
  DrawModelInfo(canvas, RhoFilename);
  if (PlotLegend) DrawLegend(canvas);
  DrawModelAxes(canvas);
  if (PlotTopo) DrawTopography(canvas);
  if (SquarePlot) {
    DrawModelBlocks(canvas, RhoFilename);
  } else {
    DrawModelImage(canvas, RhoFilename);
  }
  if (PlotLvl) DrawLayerLines(canvas);
  if (PlotMark) DrawModelMarkers();
  if (PlotRef) DrawReferenceData(canvas);
}

}  // namespace

void PlotModelSection1D(Canvas& canvas, int width, int height) {
  if (optrec.ArrayCode != WennerArrayCode) {
    Tell(WennerOnlyText, MessageKind::Information);
    throw EKarvNoModelCreated(WennerOnlyText);
  }
  const ModelDrawingScope scope(canvas);
  ReadTopography();
  const ModelState state = FindOrBuildModel();
  if (state == ModelState::None) throw EKarvNoModelCreated("No 1D model was built");
  if (state == ModelState::Unusable || !TopographyCoversModel()) return;
  PrepareLabels();
  ClearModelPage(canvas, width, height);
  if (!ModelLayout(width, height)) {
    Tell(DiagramDoesNotFit1DText, MessageKind::Information);
    return;
  }
  DrawModel(canvas);
}

}  // namespace karvelo

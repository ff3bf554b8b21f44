// Drawing a diagram: the one path by which every picture is made (window, bitmap,
// image file, metafile, printer), and the one place where a renderer's failure becomes a
// message for the user.

#include <algorithm>
#include <array>
#include <new>
#include <string>
#include <utility>

#include "base/Prompts.h"
#include "base/Res2err.h"
#include "core/DrawRegistry.h"
#include "core/SctDraw.h"
#include "core/SettingsFiles.h"
#include "render/ModelSection.h"

namespace karvelo {
namespace {

// The classic run-time file errors, 100 to 106.
const char* InOutMessage(int code) {
  static constexpr std::array<const char*, 7> Messages = {
      "Error reading file!",    "Error Writing file!",      "File not assigned!",
      "File not open!",         "File not open for input!", "File not open for output!",
      "Invalid numeric format!"};
  if (code < 100 || code > 106) return nullptr;
  return Messages[static_cast<std::size_t>(code - 100)];
}

enum class Outcome { Drawn, NoModel, Failed };

void Tell(const std::string& text, MessageKind kind) {
  CurrentPrompts().Message(text, kind);
}

// Runs one step of a drawing and turns what it throws into the user's message. A 1D
// section without a model is no failure: the caller draws the pseudosection instead.
template <typename Step>
Outcome Guarded(Step&& step) {
  try {
    step();
    return Outcome::Drawn;
  } catch (const EKarvNoModelCreated&) {
    return Outcome::NoModel;
  } catch (const EKarvCapacity&) {
    Tell("Error : Data exceeds y-dimension capacity of plot routine!", MessageKind::Information);
  } catch (const EInOutError& e) {
    if (const char* text = InOutMessage(e.ErrorCode())) Tell(text, MessageKind::Error);
  } catch (const std::bad_alloc&) {
    Tell("Out of memory. Try closing some other applications.", MessageKind::Error);
  } catch (const EKarvDivByZero&) {
    Tell("Cannot plot diagram! Please check input files and diagram settings.", MessageKind::Error);
  } catch (const EKarvInvalidOp&) {
    Tell("Cannot plot diagram! Please check input files and diagram settings ...",
         MessageKind::Error);
  } catch (const std::exception& e) {
    Tell(std::string("Cannot plot diagram! Error while drawing: ") + e.what(), MessageKind::Error);
  } catch (...) {
    Tell("Cannot plot diagram! Error while drawing: unknown error.", MessageKind::Error);
  }
  return Outcome::Failed;
}

// Raises an axis end to the start plus the smallest positive whole number of label
// steps that reaches it, so the last tick sits on the end of the axis.
bool RoundAxisEnd(double start, double step, double& end) {
  if (!(step > 0)) return false;
  end = start + StepsToReach(start, step, end) * step;
  return true;
}

}  // namespace

void TSectionDiagram::Draw() {
  const DrawingLayerHooks& layer = DrawingLayer();
  const Outcome setUp = Guarded([&] {
    if (layer.SetupPage) layer.SetupPage(FWidth, FHeight);
    if (layer.InitPlotColours) layer.InitPlotColours();
    if (FCanvas && layer.InitCanvas) layer.InitCanvas(*FCanvas);
    if (layer.ResetViewPort) layer.ResetViewPort();
  });
  if (setUp != Outcome::Drawn) FExceptionFlag = true;

  if (RoundAxisEnd(graphtype.Lmin, graphtype.Llabel, graphtype.Lmax)) {
    FSectionEnd = graphtype.Lmax;
  }
  if (RoundAxisEnd(graphtype.Dmin, graphtype.Dlabel, graphtype.Dmax)) FDepthEnd = graphtype.Dmax;

  CurrentLabels = DefaultLabels();
  DataLabels = DefaultLabels();
  ModelLabels = DefaultLabels();

  PassReferenceColumns();
  if (!FExceptionFlag && FCanvas) {
    Outcome outcome = DrawType(FDiagramType) ? Outcome::Drawn : Outcome::NoModel;
    if (outcome == Outcome::NoModel) {
      FDiagramType = dtPseudo;
      // The pseudosection itself has no model to miss; if it says so, it failed.
      if (!DrawType(dtPseudo)) {
        Tell("Cannot plot diagram! Error while drawing: no model was created.", MessageKind::Error);
        FExceptionFlag = true;
      }
    }
  }
  CopyDrawingResults();
}

// False only when the renderer found that no model could be built for it.
bool TSectionDiagram::DrawType(TDiagramType type) {
  // A copy: a renderer may register another one while it runs.
  const RendererFunction renderer = RendererOf(type);
  if (!renderer) return true;
  const Outcome outcome = Guarded([&] { renderer(*FCanvas, FWidth, FHeight); });
  if (outcome == Outcome::Failed) FExceptionFlag = true;
  return outcome != Outcome::NoModel;
}

// The model section draws the diagram's borehole columns; it reads them from its own
// plain list so the renderer needs nothing of the diagram object.
void TSectionDiagram::PassReferenceColumns() const {
  ModelOverlays.References.clear();
  for (const TReferenceData& r : FReferenceData) {
    TReferenceColumn column{r.Position(), r.Method(), r.GWlData(), r.Gwl(), {}};
    for (const TReferenceLayer& layer : r.Layers()) {
      column.Layers.push_back(
          {layer.Depth(), layer.MaterialCode(), layer.MaterialText(), layer.MaterialColor()});
    }
    ModelOverlays.References.push_back(std::move(column));
  }
}

void TSectionDiagram::CopyDrawingResults() {
  const DrawingLayerHooks& layer = DrawingLayer();
  if (layer.DiagramTop) FDiagramTop = layer.DiagramTop();
  if (layer.DiagramBottom) FDiagramBottom = layer.DiagramBottom();
  const int c = std::min<int>(graphtype.IPflag, LimitSets - 1);
  const int last = std::clamp<int>(graphtype.maxcol, 1, LimitsPerSet) - 1;
  FRhoMin = graphtype.RhoLimit[static_cast<std::size_t>(LimitsPerSet * c)];
  FRhoMax = graphtype.RhoLimit[static_cast<std::size_t>(LimitsPerSet * c + last)];
  FRhoLabel = graphtype.rholabel;
  FRhoLimit = graphtype.RhoLimit;
  FModelPath = karvelo::ModelPath;
  FRhoFilename = karvelo::RhoFilename;
}

}  // namespace karvelo

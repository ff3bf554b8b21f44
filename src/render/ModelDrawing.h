#pragma once

// What the 2D and the 1D model drivers share about the page they draw on.

#include "base/PlotState.h"
#include "render/Canvas.h"
#include "render/DrawLayer.h"

namespace karvelo {

// What a model drawing changes only for itself (viewport, text settings, the
// topography switch) is put back however the drawing ends.
class ModelDrawingScope {
 public:
  explicit ModelDrawingScope(Canvas& canvas) : canvas_(canvas), plotTopo_(PlotTopo) {}
  ModelDrawingScope(const ModelDrawingScope&) = delete;
  ModelDrawingScope& operator=(const ModelDrawingScope&) = delete;
  ~ModelDrawingScope() {
    ResetViewPort();
    SetTextOpaque(0);
    SetTextJustify(CenterText, BottomText);
    canvas_.SetFontColour(MakeRgb(0, 0, 0));
    PlotTopo = plotTopo_;
  }

 private:
  Canvas& canvas_;
  bool plotTopo_;
};

// The labels of a model drawing: the MODSEC.TXT label file when there is one (its
// method line after the array name), else the English model labels with the array
// name and the kind of model.
void PrepareModelLabels();

// Paints the whole page white and leaves a solid black pen.
void ClearModelPage(Canvas& canvas, int width, int height);

}  // namespace karvelo

#pragma once

// What TSectionDiagram::Draw calls to paint: one renderer per diagram type and the
// drawing layer's set-up before each drawing. The program registers the real renderers
// and drawing layer once at start-up (whoever links the render layer); tests register
// fakes. Nothing registered means nothing drawn: the diagram stays blank and the page
// results read 0.

#include <functional>

#include "base/PlotState.h"
#include "input/DatReader.h"
#include "render/Canvas.h"

namespace karvelo {

// Paints a diagram of one type on the canvas (width x height device pixels). Renderers
// report failures by throwing (EKarvCapacity, EKarvNoModelCreated, EInOutError, ...);
// Draw turns them into messages.
using RendererFunction = std::function<void(Canvas&, int width, int height)>;

// The drawing layer's part in every drawing: before the renderer runs, the page is set
// up for the size, the plot colours reset, the canvas selected and any viewport removed;
// afterwards the vertical extent of what was drawn is read back (for cropping exports).
struct DrawingLayerHooks {
  std::function<void(int width, int height)> SetupPage;
  std::function<void()> InitPlotColours;
  std::function<void(Canvas&)> InitCanvas;
  std::function<void()> ResetViewPort;
  std::function<int()> DiagramTop;
  std::function<int()> DiagramBottom;
};

// Takes the measurement records that a load has just read, so the drawing that follows
// does not parse the data file a second time. Without one, loads keep no records.
using DataRecordsConsumer = std::function<void(TDatData&&)>;
void RegisterDataRecordsConsumer(DataRecordsConsumer consumer);
const DataRecordsConsumer& DataRecordsTaker();

// Replaces the renderer of `type` (an empty function removes it).
void RegisterRenderer(TDiagramType type, RendererFunction renderer);
void RegisterDrawingLayer(DrawingLayerHooks hooks);
// Removes every renderer and hook.
void ClearDrawRegistrations();

// The registered drawing layer (hooks may be empty) and renderer of a type (may be empty).
const DrawingLayerHooks& DrawingLayer();
const RendererFunction& RendererOf(TDiagramType type);

}  // namespace karvelo

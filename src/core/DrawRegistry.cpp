#include "core/DrawRegistry.h"

#include <array>
#include <utility>

namespace karvelo {
namespace {

struct Registry {
  std::array<RendererFunction, 3> renderers;
  DrawingLayerHooks layer;
  DataRecordsConsumer records;
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

bool ValidType(TDiagramType type) {
  return type == dtPseudo || type == dtModsec1D || type == dtModsec2D;
}

}  // namespace

void RegisterRenderer(TDiagramType type, RendererFunction renderer) {
  if (ValidType(type))
    TheRegistry().renderers[static_cast<std::size_t>(type)] = std::move(renderer);
}

void RegisterDrawingLayer(DrawingLayerHooks hooks) {
  TheRegistry().layer = std::move(hooks);
}

void ClearDrawRegistrations() {
  TheRegistry() = Registry{};
}

void RegisterDataRecordsConsumer(DataRecordsConsumer consumer) {
  TheRegistry().records = std::move(consumer);
}

const DataRecordsConsumer& DataRecordsTaker() {
  return TheRegistry().records;
}

const DrawingLayerHooks& DrawingLayer() {
  return TheRegistry().layer;
}

const RendererFunction& RendererOf(TDiagramType type) {
  static const RendererFunction none;
  return ValidType(type) ? TheRegistry().renderers[static_cast<std::size_t>(type)] : none;
}

}  // namespace karvelo

#pragma once

#include <optional>
#include <string>

#include "cli/InfoReport.h"
#include "core/SctDraw.h"

namespace karvelo::cli {

struct RenderOptions {
  std::string output;  // .png, .gif or .bmp
  int width = 1024;
  int height = 768;
  std::string palette;  // empty: classic
  double relativeFontSize = 0.03;
  std::optional<int> timeStep;
  std::optional<double> spacing;
  std::optional<double> nFactor;
};

struct LoadResult {
  FileKind kind = FileKind::Data;
  bool readable = false;
};

// Loads `absolute` into the diagram (the load sequence of a diagram window) and says
// whether it held something to show.
LoadResult LoadForCommand(TSectionDiagram& diagram, const std::string& absolute);
bool IsModelExtension(const std::string& path);

// Draws the file through the diagram object exactly as a diagram window does and writes
// the picture. Returns the exit status (see RunPlotCommand).
int RenderFile(const std::string& absolute, const RenderOptions& options);

}  // namespace karvelo::cli

#include "cli/Render.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include <QFontDatabase>

#include "base/Files.h"
#include "base/PlotState.h"
#include "base/Resources.h"
#include "core/StandardRenderers.h"
#include "input/DatReader.h"
#include "input/ModelReaders.h"
#include "input/QvMath.h"
#include "output/ImageWriters.h"
#include "output/QtCanvas.h"
#include "render/ColourScale.h"
#include "render/DrawLayer.h"
#include "render/Pseudosection.h"

namespace karvelo::cli {
namespace {

void Fail(const std::string& text) {
  std::fprintf(stderr, "karvelo-plot: %s\n", text.c_str());
}

// KARVELO_TIMING=1 prints how long each stage took, for the benchmarks.
class StageTimer {
 public:
  StageTimer() : on_(std::getenv("KARVELO_TIMING") != nullptr), last_(Clock::now()) {}
  void Lap(const char* stage) {
    if (!on_) return;
    const auto now = Clock::now();
    std::fprintf(stderr, "timing: %-8s %7.2f ms\n", stage,
                 std::chrono::duration<double, std::milli>(now - last_).count());
    last_ = now;
  }

 private:
  using Clock = std::chrono::steady_clock;
  bool on_;
  Clock::time_point last_;
};

enum class ImageKind { Png, Gif, Bmp, Unknown };

ImageKind KindOf(const std::string& path) {
  const std::string ext = UpperCase(ExtensionOf(path));
  if (ext == ".PNG") return ImageKind::Png;
  if (ext == ".GIF") return ImageKind::Gif;
  if (ext == ".BMP") return ImageKind::Bmp;
  return ImageKind::Unknown;
}

// A palette given by name is looked up in the palette folder ("viridis" or
// "viridis.pal"); a name with a folder is used as given.
std::string PaletteFileName(const std::string& given) {
  if (given.empty()) return "classic.pal";
  if (given.find('/') != std::string::npos) return given;
  return UpperCase(ExtensionOf(given)) == ".PAL" ? given : given + ".pal";
}

bool WriteImage(const QImage& image, const std::string& path, std::string* error) {
  switch (KindOf(path)) {
    case ImageKind::Png:
      return WritePng(image, path, error);
    case ImageKind::Gif:
      return WriteGif(image, path, error);
    case ImageKind::Bmp:
      return WriteBmp(image, path, error);
    case ImageKind::Unknown:
      break;
  }
  *error = "unknown image type (use .png, .gif or .bmp)";
  return false;
}

// Applies the command line's choices over the settings that came with the file, the way
// a window's own settings override the reloaded ones before a redraw.
void ApplyChoices(TSectionDiagram& d, const RenderOptions& o) {
  if (o.timeStep) d.SetTimeStepPlot(static_cast<std::uint8_t>(*o.timeStep));
  d.SetProperties();
  if (o.spacing) SelectedSpacing = *o.spacing;
  if (o.nFactor) SelectedNFactor = *o.nFactor;
  // A first drawing clears the selections (a window's first picture shows everything);
  // with a selection asked for, draw as a window's later redraw does.
  if (o.spacing || o.nFactor) graphtype.FirstTime = false;
}

}  // namespace

bool IsModelExtension(const std::string& path) {
  // The load sequence takes the first "." of the file name and three characters after it.
  const std::string name = FileNameOf(path);
  const auto dot = name.find('.');
  const std::string ext = dot == std::string::npos ? "" : UpperCase(name.substr(dot, 4));
  return ext == ".RHO" || ext == ".RH2";
}

LoadResult LoadForCommand(TSectionDiagram& diagram, const std::string& absolute) {
  LoadResult r;
  r.kind = IsModelExtension(absolute) ? FileKind::Model : FileKind::Data;
  ClearDatProblem();
  diagram.SetFileName(absolute);
  if (r.kind == FileKind::Model) {
    r.readable =
        LastModelScan.Found && LastModelScan.nColumns > 0 && LastModelScan.ColumnWidthValid;
  } else {
    r.readable = ScanResults.nDataPoints > 0;
  }
  return r;
}

int RenderFile(const std::string& absolute, const RenderOptions& o) {
  if (KindOf(o.output) == ImageKind::Unknown) {
    Fail("cannot write " + o.output + ": unknown image type (use .png, .gif or .bmp)");
    return 2;
  }
  // The load makes the data folder current: fix the output path first.
  const std::string output = std::filesystem::absolute(o.output).lexically_normal().string();
  StageTimer timer;
  // Reading the system's font configuration costs a command line tool tens of
  // milliseconds; do it on the second core while the survey is read (the font database
  // is thread-safe).
  std::thread fonts([] { QFontDatabase::families(); });
  struct Joiner {
    std::thread& t;
    ~Joiner() {
      if (t.joinable()) t.join();
    }
  } joinFonts{fonts};
  RegisterStandardRenderers();
  const std::string resources = ResourceFolder();
  std::string why;
  if (!LoadFillPatterns(resources + "BITMAP", &why)) Fail("fill patterns: " + why);
  SetPaletteFolder(resources + "palette/");
  PaletteTable palette{};
  if (!LoadPalette(palette, PaletteFileName(o.palette))) return 2;

  timer.Lap("setup");
  graphtype.FirstTime = true;
  TSectionDiagram diagram;
  const LoadResult loaded = LoadForCommand(diagram, absolute);
  if (!loaded.readable) {
    Fail(absolute + " holds nothing that can be drawn");
    return 1;
  }
  timer.Lap("load");
  diagram.GetProperties();
  ApplyChoices(diagram, o);

  if (fonts.joinable()) fonts.join();
  QtCanvas canvas(o.width, o.height);
  canvas.SetPalette(palette);
  // Text height follows the picture width, as in a diagram window.
  const int fontPixels = static_cast<int>(RoundHalfEven(o.width * o.relativeFontSize * 2.0 / 3.0));
  graphtype.FontSize = fontPixels;
  canvas.SetFontPixelSize(graphtype.FontName, fontPixels);
  diagram.SetCanvas(&canvas);
  diagram.SetWidth(o.width);
  diagram.SetHeight(o.height);
  diagram.Draw();
  timer.Lap("draw");
  graphtype.FirstTime = false;
  if (diagram.Exception()) {
    Fail("the diagram could not be drawn");
    return 1;
  }
  std::string error;
  if (!WriteImage(canvas.Image(), output, &error)) {
    Fail("cannot write " + output + ": " + error);
    return 3;
  }
  timer.Lap("write");
  return 0;
}

}  // namespace karvelo::cli

// Drawing time of a 2D model section: a model of 200 columns and 30 layers on a
// 1920 x 1080 page, as a smooth image (about 0.8 million pixels) and as blocks, for a flat
// RHO-1 model and for an RH2 model hanging below its own ground surface.

#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>

#include "base/PlotState.h"
#include "base/Prompts.h"
#include "input/QvMath.h"
#include "render/DrawLayer.h"
#include "render/ModelSection.h"
#include "support/RecordingCanvas.h"

namespace {

using namespace karvelo;

constexpr int Columns = 200;
constexpr int Layers = 30;
constexpr int PageWidth = 1920;
constexpr int PageHeight = 1080;

std::filesystem::path Folder() {
  static const std::filesystem::path folder = [] {
    auto f = std::filesystem::temp_directory_path() / "karvelo_model_bench";
    std::filesystem::create_directories(f);
    return f;
  }();
  return folder;
}

// Layer depths from 1 m to 59 m, so the model fills the diagram's depth range.
double LayerDepth(int k) {
  return 1.0 + 2.0 * k;
}

double Value(int column, int layer) {
  return 20 + 2000 * (0.5 + 0.5 * std::sin(column * 0.07) * std::cos(layer * 0.3));
}

void WriteRho1(const std::filesystem::path& path) {
  std::ofstream f(path);
  f << "RHO-1\n" << FormatInt(Layers);
  for (int k = 0; k < Layers; ++k) f << ' ' << FormatReal(LayerDepth(k));
  f << '\n';
  for (int c = 0; c < Columns; ++c) {
    f << FormatReal(c + 0.5);
    for (int k = 0; k < Layers; ++k) f << ' ' << FormatReal(Value(c, k));
    f << '\n';
  }
  f << "/RESIDUALS:\n0.02\n";
}

void WriteRh2(const std::filesystem::path& path) {
  std::ofstream f(path);
  f << "RHO-2\n";
  for (int c = 0; c < Columns; ++c) {
    f << FormatReal(c + 0.5) << ' ' << FormatFixed(100 + 8 * std::sin(c * 0.03), 3) << '\n'
      << FormatInt(Layers) << '\n';
    for (int k = 0; k < Layers - 1; ++k)
      f << FormatReal(Value(c, k)) << ' ' << FormatReal(LayerDepth(k + 1)) << '\n';
    f << FormatReal(Value(c, Layers - 1)) << '\n';
  }
  f << "/RESIDUALS:\n0.02\n";
}

void Prepare(const std::string& model, bool blocks) {
  ResetPlotState();
  ResetDrawLayer();
  const std::string folder = Folder().string() + "/";
  static const bool written = [] {
    WriteRho1(Folder() / "bench.RHO");
    WriteRh2(Folder() / "bench.RH2");
    return true;
  }();
  benchmark::DoNotOptimize(written);
  ModelPath = folder;
  optrec.DataDir = folder;
  DataFolder = folder;
  optrec.FileName = "bench";
  RhoFilename = model;
  graphtype.ModSelFlag = true;
  graphtype.Lmin = 0;
  graphtype.Lmax = Columns;
  graphtype.Llabel = 20;
  graphtype.Dmin = 0;
  graphtype.Dmax = 60;
  graphtype.Dlabel = 10;
  PlotTopo = false;
  SquarePlot = blocks;
}

void DrawSection(benchmark::State& state, const std::string& model, bool blocks) {
  Prepare(model, blocks);
  test::RecordingCanvas canvas(PageWidth, PageHeight);
  for (auto _ : state) {
    canvas.Clear();
    SetupPage(PageWidth, PageHeight);
    InitPlotColours();
    InitCanvas(canvas);
    PlotModelSection(canvas, PageWidth, PageHeight);
    benchmark::DoNotOptimize(canvas.pixelCalls);
  }
  state.counters["pixels"] = static_cast<double>(canvas.pixelCalls);
}

void BM_ModelImageRho1(benchmark::State& state) {
  DrawSection(state, "bench.RHO", false);
}
void BM_ModelImageRh2(benchmark::State& state) {
  DrawSection(state, "bench.RH2", false);
}
void BM_ModelBlocksRho1(benchmark::State& state) {
  DrawSection(state, "bench.RHO", true);
}

BENCHMARK(BM_ModelImageRho1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ModelImageRh2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ModelBlocksRho1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

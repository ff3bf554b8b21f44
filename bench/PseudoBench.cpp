// The pseudosection kernels: dropping data into the grid, filling its gaps and the
// per-pixel paint, on a synthetic dipole-dipole-like survey laid out like a real one
// (many positions, a few dozen pseudo-depths).

#include <benchmark/benchmark.h>

#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "base/PlotState.h"
#include "input/DatReader.h"
#include "render/DrawLayer.h"
#include "render/PseudoGrid.h"
#include "render/Pseudosection.h"
#include "support/RecordingCanvas.h"

namespace karvelo {
namespace {

struct Survey {
  std::vector<double> levels;
  std::vector<GridPoint> points;
};

// `positions` x positions one grid column (0.25) apart, `depths` pseudo-depth levels, every
// position measured at every depth: positions x depths data, with a smooth resistivity.
Survey MakeSurvey(int positions, int depths) {
  Survey s;
  for (int e = 1; e <= depths; ++e) s.levels.push_back(0.25 * e);
  s.points.reserve(static_cast<std::size_t>(positions) * static_cast<std::size_t>(depths));
  for (int e = 1; e <= depths; ++e) {
    for (int i = 0; i < positions; ++i) {
      const double x = 0.25 * i;
      s.points.push_back({x, 100 + 50 * std::sin(x / 20) + e, e});
    }
  }
  return s;
}

// A few sizes: 10,000 data, 100,000 data and a full window of 1,000,000 data
// (5,000 positions x 200 depths).
void SurveyArgs(benchmark::internal::Benchmark* b) {
  b->Args({500, 20})->Args({2500, 40})->Args({5000, 200});
}

void BM_GridPlace(benchmark::State& state) {
  const Survey s = MakeSurvey(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  PseudoGrid grid;
  for (auto _ : state) {
    grid.StartWindow(s.levels.data(), static_cast<int>(s.levels.size()));
    const PlaceResult r = grid.Place(s.points, 0.0, 1e9, 0.25, 2);
    benchmark::DoNotOptimize(r);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<long long>(s.points.size()));
}
BENCHMARK(BM_GridPlace)->Apply(SurveyArgs)->Unit(benchmark::kMillisecond);

void BM_GridFillGaps(benchmark::State& state) {
  const Survey s = MakeSurvey(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  // Every other depth left out, so the vertical fill has work to do as well.
  std::vector<GridPoint> sparse;
  for (const GridPoint& p : s.points)
    if (p.row % 2 == 1 || p.row == static_cast<int>(s.levels.size())) sparse.push_back(p);
  PseudoGrid grid;
  for (auto _ : state) {
    state.PauseTiming();
    grid.StartWindow(s.levels.data(), static_cast<int>(s.levels.size()));
    grid.Place(sparse, 0.0, 1e9, 0.25, 2);
    state.ResumeTiming();
    grid.FillGaps(1.0, 20.0);
  }
}
BENCHMARK(BM_GridFillGaps)->Apply(SurveyArgs)->Unit(benchmark::kMillisecond);

// The paint loop over a 1920 x 1080 page's diagram (about 1670 x 700 pixels), with a sink
// that writes a colour index per pixel the way an image canvas writes its scan lines.
void BM_GridPaint(benchmark::State& state) {
  const Survey s = MakeSurvey(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  PseudoGrid grid;
  grid.StartWindow(s.levels.data(), static_cast<int>(s.levels.size()));
  grid.Place(s.points, 0.0, 1e9, 0.25, 2);
  grid.FillGaps(1.0, 20.0);
  PaintGeometry g;
  g.width = 1670;
  g.height = 700;
  g.lmin = 0;
  g.lmax = 0.25 * static_cast<double>(state.range(0));
  g.d0 = 0;
  g.dmax = s.levels.back();
  g.windowStart = -1e9;
  g.windowEnd = 1e9;
  std::vector<std::uint32_t> image(static_cast<std::size_t>(g.width + 1) *
                                   static_cast<std::size_t>(g.height + 1));
  const double limits[] = {32, 46, 68, 100, 150, 220, 320, 460, 680, 1000, 1500};
  long long pixels = 0;
  for (auto _ : state) {
    PaintGrid(grid, g, [&](int k, int i, double v) {
      int c = 0;
      while (c < 11 && v > limits[c]) ++c;
      image[static_cast<std::size_t>(i) * static_cast<std::size_t>(g.width + 1) +
            static_cast<std::size_t>(k)] = static_cast<std::uint32_t>(c);
      ++pixels;
    });
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(pixels);
}
BENCHMARK(BM_GridPaint)->Apply(SurveyArgs)->Unit(benchmark::kMillisecond);

// ---- A whole drawing ---------------------------------------------------------------------

// Numbers for the file, independent of the locale.
std::string Text(double v) {
  char buf[32];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, r.ptr);
}

// A dipole-dipole DAT file of about `count` data: spacings 1..`spacings`, n-factors
// 1..`spacings`, positions 0.5 m apart; written once into the temporary folder.
std::string MakeDatFile(long long count, int spacings) {
  namespace fs = std::filesystem;
  const long long combos = static_cast<long long>(spacings) * spacings;
  const long long positions = (count + combos - 1) / combos;
  const fs::path path =
      fs::temp_directory_path() / ("karvelo_bench_dd_" + std::to_string(count) + ".dat");
  if (!fs::exists(path)) {
    std::ofstream f(path, std::ios::binary);
    f << "Benchmark survey\n1.0\n3\n" << std::to_string(positions * combos) << "\n1\n0\n";
    std::string line;
    for (int a = 1; a <= spacings; ++a) {
      for (int n = 1; n <= spacings; ++n) {
        for (long long i = 0; i < positions; ++i) {
          const double rho = 100 + 60 * std::sin(0.01 * static_cast<double>(i) + a) + 5 * n;
          line = Text(0.5 * static_cast<double>(i)) + ' ' + Text(a) + ' ' + Text(n) + ' ' +
                 Text(rho) + '\n';
          f << line;
        }
      }
    }
    f << "0\n0\n0\n0\n";
  }
  return path.string();
}

// Loads the file into the plot state as a diagram does before a drawing.
void LoadDat(const std::string& path) {
  const std::filesystem::path p(path);
  optrec.DataDir = p.parent_path().string() + "/";
  optrec.FileName = p.stem().string();
  optrec.DataExt = p.extension().string();
  IsDatFile = ScanDatHeader(false);
  ScanDatFile();
}

void SetUpDrawing(const std::string& path) {
  ResetPlotState();
  ResetDrawLayer();
  LoadDat(path);
  graphtype.FirstTime = false;
  graphtype.Lmin = 0;
  graphtype.Lmax = std::ceil(ScanResults.XPlotMax);
  graphtype.Dmin = 0;
  graphtype.Dmax = std::ceil(ScanResults.PseudoDepthList[ScanResults.nPseudoDepths - 1]);
  // A diagram about a third of the page high, whatever the profile's length.
  graphtype.XYfactor = 0.3 * (graphtype.Lmax - graphtype.Lmin) / (graphtype.Dmax - graphtype.Dmin);
}

void DrawOnce(test::RecordingCanvas& canvas) {
  SetupPage(canvas.Width(), canvas.Height());
  InitPlotColours();
  InitCanvas(canvas);
  PlotPseudosection(canvas, canvas.Width(), canvas.Height());
  canvas.Clear();
}

// One drawing at 1920 x 1080 of a file already loaded: the data read once, every grid
// window, the paint and the data points.
void BM_PseudosectionDraw(benchmark::State& state) {
  const std::string path = MakeDatFile(state.range(0), static_cast<int>(state.range(1)));
  SetUpDrawing(path);
  test::RecordingCanvas canvas(1920, 1080);
  for (auto _ : state) DrawOnce(canvas);
  state.counters["data"] = static_cast<double>(ScanResults.nDataPoints);
}
BENCHMARK(BM_PseudosectionDraw)
    ->Args({10'000, 5})
    ->Args({1'000'000, 10})
    ->Unit(benchmark::kMillisecond);

// The same with the reload a diagram window does before every drawing.
void BM_PseudosectionLoadAndDraw(benchmark::State& state) {
  const std::string path = MakeDatFile(state.range(0), static_cast<int>(state.range(1)));
  SetUpDrawing(path);
  test::RecordingCanvas canvas(1920, 1080);
  for (auto _ : state) {
    LoadDat(path);
    DrawOnce(canvas);
  }
}
BENCHMARK(BM_PseudosectionLoadAndDraw)
    ->Args({10'000, 5})
    ->Args({1'000'000, 10})
    ->Unit(benchmark::kMillisecond);

// The reload and drawing with the records of the load handed to the drawing, so the
// file is parsed once in all.
void BM_PseudosectionLoadAndDrawAdopted(benchmark::State& state) {
  const std::string path = MakeDatFile(state.range(0), static_cast<int>(state.range(1)));
  SetUpDrawing(path);
  test::RecordingCanvas canvas(1920, 1080);
  for (auto _ : state) {
    IsDatFile = ScanDatHeader(false);
    TDatData records;
    ScanDatFile(&records);
    AdoptPseudoData(std::move(records));
    DrawOnce(canvas);
  }
}
BENCHMARK(BM_PseudosectionLoadAndDrawAdopted)
    ->Args({10'000, 5})
    ->Args({1'000'000, 10})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace karvelo

BENCHMARK_MAIN();

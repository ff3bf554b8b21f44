// The 1D model section: one forward calculation and one inversion of a Wenner sounding,
// and the whole build of the 1D models (plain and smoothed) of the demo survey and of a
// 20,000-datum Wenner survey.

#include <benchmark/benchmark.h>

#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

#include "base/Files.h"
#include "base/PlotState.h"
#include "input/DatReader.h"
#include "render/ModelSection1D.h"
#include "render/Zohdy1D.h"
#include "support/TempDir.h"

namespace karvelo {
namespace {

// A conductive cover, a resistive layer and a conductive base on the plain grid of a
// 16-level Wenner sounding (a = 1 .. 16, pseudo-depths a / 2).
TLayeredModel Earth() {
  TLayeredModel m;
  for (int i = 1; i <= 16; ++i) m.Rho.push_back(i < 5 ? 40 : i < 10 ? 400 : 20);
  for (int i = 1; i < 16; ++i) m.Thickness.push_back(i == 1 ? 0.75 : 0.5);
  return m;
}

TSounding Sounding(const TLayeredModel& earth) {
  TSounding s;
  for (int a = 1; a <= 16; ++a) {
    s.Level.push_back(a / 2.0);
    s.Spacing.push_back(a);
    s.Rhoa.push_back(Forward1D(earth, a, 1).front());
  }
  return s;
}

void BM_Forward1D(benchmark::State& state) {
  const TLayeredModel m = Earth();
  std::vector<double> out(7);  // 1 .. 16 m in steps of the filter's ratio
  for (auto _ : state) {
    Forward1D(m, 1.0, WennerFilter, out);
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_Forward1D);

void BM_Invert1D(benchmark::State& state) {
  const TSounding s = Sounding(Earth());
  const TLayerGrid grid = MakeLayerGrid(s.Level, 0.5, false);
  int forwards = 0;
  for (auto _ : state) {
    const TInversion1D r = Invert1D(s, grid);
    forwards = r.Forwards;
    benchmark::DoNotOptimize(r.Misfit);
  }
  state.counters["forwards"] = forwards;
}
BENCHMARK(BM_Invert1D);

void BM_Invert1DWithSmoothed(benchmark::State& state) {
  const TSounding s = Sounding(Earth());
  const TLayerGrid grid = MakeLayerGrid(s.Level, 0.5, false);
  for (auto _ : state) {
    const TInversion1D r = Invert1D(s, grid);
    const TInversion1D smooth = InvertSmoothed(s, r, grid);
    benchmark::DoNotOptimize(smooth.Misfit);
  }
}
BENCHMARK(BM_Invert1DWithSmoothed);

// ---- Whole builds ------------------------------------------------------------------------------

std::string Num(double v, int decimals) {
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
  return std::string(buf, r.ptr);
}

// A Wenner survey of at least n data in the manner of the project's survey generator:
// unit spacing 1 m, a = 1 .. 16, x the array midpoint, apparent resistivities from a
// smooth field (a conductive cover over a resistive base, a lateral trend and a few
// bodies) in coordinates normalised to the profile and the deepest level.
void WriteWennerSurvey(const std::string& path, int n) {
  auto count = [](int e) {
    int c = 0;
    for (int a = 1; a <= 16; ++a) c += std::max(0, e - 3 * a);
    return c;
  };
  int electrodes = 4;
  while (count(electrodes) < n) ++electrodes;
  const double length = electrodes - 1;
  std::string text =
      "Synthetic Wenner survey\n1.0\n1\n" + std::to_string(count(electrodes)) + "\n1\n0\n";
  for (int a = 1; a <= 16; ++a) {
    for (int e = 0; e < electrodes - 3 * a; ++e) {
      const double x = e + 1.5 * a;
      const double u = x / length, v = a / 16.0;
      double f = 2.0 + 0.75 * std::tanh((v - 0.45) / 0.15) +
                 0.25 * std::sin(2 * std::numbers::pi * 1.5 * u);
      f += 1.2 * std::exp(-0.5 * (std::pow((u - 0.18) / 0.05, 2) + std::pow((v - 0.35) / 0.2, 2)));
      f -= 1.1 * std::exp(-0.5 * (std::pow((u - 0.42) / 0.07, 2) + std::pow((v - 0.55) / 0.25, 2)));
      f += 0.9 * std::exp(-0.5 * (std::pow((u - 0.63) / 0.04, 2) + std::pow((v - 0.25) / 0.15, 2)));
      f = std::clamp(f, 1.0, std::log10(3000.0));
      text += Num(x, 1) + " " + Num(a, 1) + " " + Num(std::pow(10.0, f), 3) + "\n";
    }
  }
  text += "0\n0\n0\n0\n";
  std::ofstream(path, std::ios::binary) << text;
}

void Load(const test::UniqueTempDir& dir, const std::string& name) {
  ResetPlotState();
  optrec.DataDir = dir.Folder();
  DataFolder = dir.Folder();
  optrec.FileName = BaseNameOf(name);
  optrec.DataExt = ExtensionOf(name);
  optrec.ArrayType = "Wenner";
  ScanDatHeader(false);
  ScanDatFile();
}

void RunBuild(benchmark::State& state, const test::UniqueTempDir& dir) {
  for (auto _ : state) {
    if (!Build1DModels(false, false)) {
      state.SkipWithError("the build failed");
      return;
    }
    state.PauseTiming();
    std::filesystem::remove(dir / BuildLogName);
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * ScanResults.nDataPoints);
}

void BM_Build1DModelsDemo(benchmark::State& state) {
  const test::UniqueTempDir dir("zohdy-bench");
  const std::string demo = std::string(KARVELO_SOURCE_DIR) + "/resources/demo/DEMODATA.DAT";
  std::filesystem::copy_file(demo, dir / "DEMODATA.DAT");
  Load(dir, "DEMODATA.DAT");
  RunBuild(state, dir);
}
BENCHMARK(BM_Build1DModelsDemo)->Unit(benchmark::kMillisecond);

void BM_Build1DModelsWenner20k(benchmark::State& state) {
  const test::UniqueTempDir dir("zohdy-bench");
  WriteWennerSurvey(dir / "WEN20K.DAT", 20000);
  Load(dir, "WEN20K.DAT");
  RunBuild(state, dir);
}
BENCHMARK(BM_Build1DModelsWenner20k)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace karvelo

BENCHMARK_MAIN();

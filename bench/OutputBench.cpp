// Image output at full-HD size: painting a pseudosection pixel by pixel, and encoding the
// finished picture. Run: build/bench/output_bench

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "output/ColourReduction.h"
#include "output/ImageWriters.h"
#include "output/OutputTestImages.h"
#include "output/QtCanvas.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

void BM_PutPixelFullHd(benchmark::State& state) {
  karvelo::QtCanvas canvas(kWidth, kHeight);
  karvelo::PaletteTable palette{};
  for (int i = 0; i < 256; ++i)
    palette[static_cast<std::size_t>(i)] = karvelo::MakeRgb(i, 255 - i, i / 2);
  canvas.SetPalette(palette);
  canvas.SetClipRect(0, 0, kWidth, kHeight);
  for (auto _ : state) {
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x)
        canvas.PutPixel(x, y, karvelo::PaletteIndex(((x + y) >> 4) & 0xF0));
    }
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_PutPixelFullHd)->Unit(benchmark::kMillisecond);

template <bool (*Encode)(const QImage&, std::string*, std::string*)>
void EncodeBench(benchmark::State& state, const QImage& image) {
  std::string bytes;
  for (auto _ : state) {
    if (!Encode(image, &bytes, nullptr)) state.SkipWithError("encoding failed");
    benchmark::DoNotOptimize(bytes.data());
  }
  state.counters["bytes"] = static_cast<double>(bytes.size());
}

void BM_PngDiagramFullHd(benchmark::State& state) {
  EncodeBench<karvelo::EncodePng>(state, karvelo::testimages::Diagram(kWidth, kHeight));
}
BENCHMARK(BM_PngDiagramFullHd)->Unit(benchmark::kMillisecond);

// Encoding plus the atomic write (temporary file, flush to disk, rename).
void BM_WritePngDiagramFullHd(benchmark::State& state) {
  const QImage image = karvelo::testimages::Diagram(kWidth, kHeight);
  const std::string path = (std::filesystem::temp_directory_path() / "karvelo_bench.png").string();
  for (auto _ : state) {
    if (!karvelo::WritePng(image, path)) state.SkipWithError("writing failed");
  }
  std::filesystem::remove(path);
}
BENCHMARK(BM_WritePngDiagramFullHd)->Unit(benchmark::kMillisecond);

void BM_PngPhotoFullHd(benchmark::State& state) {
  EncodeBench<karvelo::EncodePng>(state, karvelo::testimages::Photo(kWidth, kHeight));
}
BENCHMARK(BM_PngPhotoFullHd)->Unit(benchmark::kMillisecond);

void BM_GifDiagramFullHd(benchmark::State& state) {
  EncodeBench<karvelo::EncodeGif>(state, karvelo::testimages::Diagram(kWidth, kHeight));
}
BENCHMARK(BM_GifDiagramFullHd)->Unit(benchmark::kMillisecond);

void BM_GifPhotoFullHd(benchmark::State& state) {
  EncodeBench<karvelo::EncodeGif>(state, karvelo::testimages::Photo(kWidth, kHeight));
}
BENCHMARK(BM_GifPhotoFullHd)->Unit(benchmark::kMillisecond);

void BM_BmpDiagramFullHd(benchmark::State& state) {
  EncodeBench<karvelo::EncodeBmp>(state, karvelo::testimages::Diagram(kWidth, kHeight));
}
BENCHMARK(BM_BmpDiagramFullHd)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

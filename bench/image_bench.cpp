// Loading and saving a 2048 x 2048 picture in each image format.
#include "image/image_file.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

constexpr int32_t kSide = 2048;
const char *const kNames[] = {"jpeg", "ppm", "bmp", "png", "tiff"};

// A smooth gradient with some noise, so that the compressing formats do real work.
const ImageBuffer &picture() {
  static const ImageBuffer image = [] {
    ImageBuffer im(kSide, kSide);
    uint32_t noise = 12345;
    for (int32_t y = 0; y < kSide; ++y)
      for (int32_t x = 0; x < kSide; ++x) {
        noise = noise * 1103515245u + 12345u;
        const uint8_t n = uint8_t((noise >> 16) & 15);
        im.at(x, y) = packRgba(uint8_t(x / 8 + n), uint8_t(y / 8 + n), uint8_t((x + y) / 16));
      }
    return im;
  }();
  return image;
}

std::string pathFor(int type) {
  return "/tmp/morvo_bench_" + std::to_string(getpid()) + "." + kNames[type];
}

void BM_Save(benchmark::State &state) {
  const int type = int(state.range(0));
  state.SetLabel(kNames[type]);
  const std::string path = pathFor(type);
  for (auto _ : state)
    if (saveImage(picture(), path, type, RowOrder::kTopFirst) != 1)
      state.SkipWithError("save failed");
  std::remove(path.c_str());
}

void BM_Load(benchmark::State &state) {
  const int type = int(state.range(0));
  state.SetLabel(kNames[type]);
  const std::string path = pathFor(type);
  if (saveImage(picture(), path, type, RowOrder::kTopFirst) != 1) {
    state.SkipWithError("save failed");
    return;
  }
  ImageBuffer image;
  for (auto _ : state)
    if (loadImage(image, path, type, false) != 1)
      state.SkipWithError("load failed");
  std::remove(path.c_str());
}

BENCHMARK(BM_Save)->DenseRange(kImageJpeg, kImageTiff)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Load)->DenseRange(kImageJpeg, kImageTiff)->Unit(benchmark::kMillisecond);

} // namespace

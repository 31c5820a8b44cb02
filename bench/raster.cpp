// Hot paths of the raster library: showing a finished mosaic (assignment of a 24-bit platform
// bitmap), the nearest-neighbour stretch of the display, and blending.
#include <benchmark/benchmark.h>

#include "raster/RS32.h"
#include "raster/RS32_Startup.h"

namespace {
void Start() { InitializeRasterLibrary(); }

void FillPattern(TBitmap32& B, Integer W, Integer H, Cardinal Alpha) {
  B.SetSize(W, H);
  for (Integer Y = 0; Y < H; ++Y) {
    TColor32* Row = B.RowAddress(Y);
    for (Integer X = 0; X < W; ++X) Row[X] = (Alpha << 24) | static_cast<Cardinal>((X * 7 + Y * 13) & 0xFFFFFF);
  }
}
}  // namespace

// The display stretch: a 12-megapixel picture shown in a full-HD view.
static void BM_NearestStretch4000x3000To1920x1080(benchmark::State& State) {
  Start();
  TBitmap32 Src, Dst;
  FillPattern(Src, 4000, 3000, 255);
  Dst.SetSize(1920, 1080);
  for (auto _ : State) {
    Src.DrawInto(&Dst, Dst.BoundsRect());
    benchmark::ClobberMemory();
  }
  State.SetItemsProcessed(State.iterations() * 1920 * 1080);
}
BENCHMARK(BM_NearestStretch4000x3000To1920x1080)->Unit(benchmark::kMillisecond);

// A half-transparent full-HD picture blended over another.
static void BM_Blend1920x1080(benchmark::State& State) {
  Start();
  TBitmap32 Src, Dst;
  FillPattern(Src, 1920, 1080, 128);
  FillPattern(Dst, 1920, 1080, 255);
  Src.SetDrawMode(dmBlend);
  for (auto _ : State) {
    Src.DrawInto(&Dst, Dst.BoundsRect());
    benchmark::ClobberMemory();
  }
  State.SetItemsProcessed(State.iterations() * 1920 * 1080);
}
BENCHMARK(BM_Blend1920x1080)->Unit(benchmark::kMillisecond);

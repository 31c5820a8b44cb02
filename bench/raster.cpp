// Hot paths of the raster library: showing a finished mosaic (assignment of a 24-bit platform
// bitmap), the nearest-neighbour stretch of the display, and blending.
#include <benchmark/benchmark.h>

#include "platform/classes/Bitmap.h"
#include "raster/RS32.h"
#include "raster/RS32_Startup.h"

namespace {
void Start() {
  InitializeRasterLibrary();
}

void FillPattern(TBitmap32& B, Integer W, Integer H, Cardinal Alpha) {
  B.SetSize(W, H);
  for (Integer Y = 0; Y < H; ++Y) {
    TColor32* Row = B.RowAddress(Y);
    for (Integer X = 0; X < W; ++X)
      Row[X] = (Alpha << 24) | static_cast<Cardinal>((X * 7 + Y * 13) & 0xFFFFFF);
  }
}
// A 12-megapixel 24-bit platform bitmap, as a finished mosaic is.
void FillMosaic(TBitmap& B) {
  B.SetPixelFormat(pf24bit);
  B.SetSize(4000, 3000);
  for (Integer Y = 0; Y < 3000; ++Y) {
    Byte* Row = static_cast<Byte*>(B.GetScanLine(Y));
    for (Integer X = 0; X < 4000 * 3; ++X) Row[X] = static_cast<Byte>(X * 5 + Y);
  }
}
}  // namespace

// Every finished mosaic is assigned to the image control's bitmap, which keeps its size.
static void BM_Assign24BitMosaic12MP(benchmark::State& State) {
  Start();
  TBitmap Mosaic;
  FillMosaic(Mosaic);
  TBitmap32 Shown;
  for (auto _ : State) {
    Shown.Assign(&Mosaic);
    benchmark::ClobberMemory();
  }
  State.SetItemsProcessed(State.iterations() * 4000 * 3000);
}
BENCHMARK(BM_Assign24BitMosaic12MP)->Unit(benchmark::kMillisecond);

// The same into a new bitmap each time: the surface is allocated and first touched as well.
static void BM_Assign24BitMosaic12MPNewBitmap(benchmark::State& State) {
  Start();
  TBitmap Mosaic;
  FillMosaic(Mosaic);
  for (auto _ : State) {
    TBitmap32 Shown;
    Shown.Assign(&Mosaic);
    benchmark::DoNotOptimize(Shown.GetPixels());
  }
  State.SetItemsProcessed(State.iterations() * 4000 * 3000);
}
BENCHMARK(BM_Assign24BitMosaic12MPNewBitmap)->Unit(benchmark::kMillisecond);

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

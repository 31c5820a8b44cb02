// Region operations at the sizes the region transitions and window clipping reach per frame.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <vector>

#include "platform/gdi/Regions.h"

namespace {

// 1000 squares of 8 on a pitch of 10: 25 bands of 40 rectangles.
std::unique_ptr<TRegionObject> Grid(Integer Shift) {
  std::vector<TRect> V;
  for (Integer Y = 0; Y < 25; ++Y)
    for (Integer X = 0; X < 40; ++X) V.push_back(Bounds(X * 10 + Shift, Y * 10 + Shift, 8, 8));
  return std::make_unique<TRegionObject>(TRegionData::FromRects(V.data(), V.size()));
}

void CombineGrids(benchmark::State& State) {
  const auto A = Grid(0), B = Grid(5);
  TRegionObject Dest;
  for (auto _ : State) {
    benchmark::DoNotOptimize(CombineRgn(&Dest, A.get(), B.get(), static_cast<Integer>(State.range(0))));
  }
  State.counters["rects"] = static_cast<double>(Dest.Data.Rects().size());
}
BENCHMARK(CombineGrids)->Arg(RGN_AND)->Arg(RGN_OR)->Arg(RGN_XOR)->Arg(RGN_DIFF);

// Region-data blocks as ExtCreateRegion receives them.
void ExtCreate(benchmark::State& State, const std::vector<TRect>& Rects) {
  std::vector<Integer> Block{32, 1, static_cast<Integer>(Rects.size()), 16, 0, 0, 0, 0};
  for (const TRect& R : Rects) Block.insert(Block.end(), {R.Left, R.Top, R.Right, R.Bottom});
  const auto* Data = reinterpret_cast<const RGNDATA*>(Block.data());
  const auto Size = static_cast<DWORD>(Block.size() * 4);
  std::size_t Out = 0;
  for (auto _ : State) {
    std::unique_ptr<TRegionObject> R(ExtCreateRegion(nullptr, Size, Data));
    Out = R->Data.Rects().size();
  }
  State.counters["rects"] = static_cast<double>(Out);
}

// One frame of shredded strips on a 1000 x 1000 picture: 1000 rows and 1000 columns reaching
// about half way, each end jittered, collected unsorted.
std::vector<TRect> Shreds() {
  std::mt19937 Gen(1);
  std::uniform_int_distribution<Integer> Jitter(-20, 20);
  std::vector<TRect> V;
  for (Integer I = 0; I < 1000; ++I) {
    V.push_back(TRect{0, I, 500 + Jitter(Gen), I + 1});
    V.push_back(TRect{I, 0, I + 1, 500 + Jitter(Gen)});
  }
  return V;
}

// A window mask scanned row by row: runs of black pixels, already in band order.
std::vector<TRect> MaskRuns() {
  std::mt19937 Gen(2);
  std::vector<TRect> V;
  for (Integer Y = 0; Y < 1000; ++Y)
    for (Integer X = static_cast<Integer>(Gen() % 20); X < 950; X += 40)
      V.push_back(TRect{X, Y, X + 10 + static_cast<Integer>(Gen() % 20), Y + 1});
  return V;
}

BENCHMARK_CAPTURE(ExtCreate, Shreds, Shreds());
BENCHMARK_CAPTURE(ExtCreate, MaskRuns, MaskRuns());

// Clipping a small fill against a complex clip region.
void ClipSmallRect(benchmark::State& State) {
  const auto A = Grid(0);
  Integer N = 0;
  for (auto _ : State) {
    A->Data.ForEachRectIn(TRect{95, 95, 130, 130}, [&](const TRect& R) { N += R.Width(); });
    benchmark::DoNotOptimize(N);
  }
}
BENCHMARK(ClipSmallRect);

void EllipseRegion(benchmark::State& State) {
  for (auto _ : State) benchmark::DoNotOptimize(TRegionData::FromEllipse(0, 0, 1000, 800));
}
BENCHMARK(EllipseRegion);

}  // namespace

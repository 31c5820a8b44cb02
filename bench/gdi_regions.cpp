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
    for (Integer X = 0; X < 40; ++X)
      V.push_back(Bounds(X * 10 + Shift, Y * 10 + Shift, 8, 8));
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

// One frame of a shredded-strips transition: 1000 rows of random length and 1000 columns,
// handed over unsorted as one region-data block.
void ExtCreateRegionStrips(benchmark::State& State) {
  std::mt19937 Gen(1);
  std::uniform_int_distribution<Integer> Len(0, 1000);
  std::vector<Integer> Block{32, 1, 2000, 16, 0, 0, 1000, 1000};
  for (Integer I = 0; I < 1000; ++I) {
    const Integer L = Len(Gen);
    Block.insert(Block.end(), {0, I, L, I + 1, I, 0, I + 1, Len(Gen)});
  }
  const auto* Data = reinterpret_cast<const RGNDATA*>(Block.data());
  const auto Size = static_cast<DWORD>(Block.size() * 4);
  std::size_t Rects = 0;
  for (auto _ : State) {
    std::unique_ptr<TRegionObject> R(ExtCreateRegion(nullptr, Size, Data));
    Rects = R->Data.Rects().size();
  }
  State.counters["rects"] = static_cast<double>(Rects);
}
BENCHMARK(ExtCreateRegionStrips);

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

// One full-frame cross-fade frame of 1920 x 1080 on the transition engine's raw rows, and one
// push frame (row-part copies) for comparison.
#include <benchmark/benchmark.h>

#include "imaging/proc/zezudidproctransitions.h"
#include "platform/classes/Bitmap.h"

namespace {

constexpr Integer Width = 1920;
constexpr Integer Height = 1080;

void Prepare(TBitmap& Bitmap, std::vector<Byte*>& Rows, Integer Seed) {
  Bitmap.SetPixelFormat(pf24bit);
  Bitmap.SetSize(Width, Height);
  Rows.resize(Height);
  for (Integer Y = 0; Y < Height; ++Y) {
    Rows[Y] = static_cast<Byte*>(Bitmap.GetScanLine(Y));
    for (Integer X = 0; X < Width * 3; ++X) Rows[Y][X] = static_cast<Byte>(X * Seed + Y);
  }
}

TIETransitionEffects& Engine() {
  static TIETransitionEffects* E = [] {
    auto* Engine = new TIETransitionEffects(nullptr);
    Prepare(*Engine->PrevBitmap, Engine->PrevRows, 3);
    Prepare(*Engine->NextBitmap, Engine->NextRows, 7);
    Prepare(*Engine->CurrentBitmap, Engine->CurrentRows, 3);
    Engine->FrameWidth = Width;
    Engine->FrameHeight = Height;
    return Engine;
  }();
  return *E;
}

void BM_CrossFadeFrame(benchmark::State& State) {
  TIETransitionEffects& E = Engine();
  Integer Step = 0;
  for (auto _ : State) {
    IEDrawBuiltinTransition(E, 1, Step);
    Step = (Step + 97) % 1025;
    benchmark::DoNotOptimize(E.CurrentRows[Height / 2][Width]);
  }
  State.SetBytesProcessed(State.iterations() * Int64(Width) * Height * 3);
}
BENCHMARK(BM_CrossFadeFrame)->Unit(benchmark::kMillisecond);

void BM_PushFrame(benchmark::State& State) {
  TIETransitionEffects& E = Engine();
  for (auto _ : State) {
    IEDrawBuiltinTransition(E, 17, 300);
    benchmark::DoNotOptimize(E.CurrentRows[Height / 2][Width]);
  }
}
BENCHMARK(BM_PushFrame)->Unit(benchmark::kMillisecond);

}  // namespace

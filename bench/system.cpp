#include <benchmark/benchmark.h>

#include "platform/system/Format.h"
#include "platform/system/Strings.h"

static void BM_FormatTwoIntegers(benchmark::State& State) {
  Integer W = 640, H = 480;
  for (auto _ : State) {
    benchmark::DoNotOptimize(Format("%d x %d", {W, H}));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_FormatTwoIntegers);

static void BM_IntToStr(benchmark::State& State) {
  Int64 V = -1234567;
  for (auto _ : State) {
    benchmark::DoNotOptimize(IntToStr(V));
    ++V;
  }
}
BENCHMARK(BM_IntToStr);

static void BM_StrToInt(benchmark::State& State) {
  const std::string Texts[] = {"0", "-1234567", "$7FFF", "2147483647"};
  size_t I = 0;
  for (auto _ : State) {
    benchmark::DoNotOptimize(StrToInt(Texts[I++ & 3]));
  }
}
BENCHMARK(BM_StrToInt);

// A needle at the very end of a long text whose words often start like it.
static void BM_PosLongString(benchmark::State& State) {
  std::string S;
  while (S.size() < static_cast<size_t>(State.range(0))) S += "the nearly neat brown fox ";
  S += "needle";
  for (auto _ : State) {
    benchmark::DoNotOptimize(Pos("needle", S));
  }
  State.SetBytesProcessed(static_cast<int64_t>(State.iterations()) * static_cast<int64_t>(S.size()));
}
BENCHMARK(BM_PosLongString)->Arg(1 << 16);

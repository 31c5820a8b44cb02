// Hot paths of the imaging bitmap on a 12-megapixel picture: filling, rectangle copies and
// whole-picture copies against a plain memcpy of the same bytes, and the cost of reaching the
// rows of a picture held in a temporary file.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "imaging/core/hyieutils.h"
#include "imaging/core/iebitmap.h"

namespace {

constexpr Integer W = 4000, H = 3000;

void FillPattern(TIEBitmap& B) {
  for (Integer Y = 0; Y < B.GetHeight(); ++Y) {
    Byte* Row = static_cast<Byte*>(B.GetScanline(Y));
    for (Integer X = 0; X < B.GetRowLen(); ++X) Row[X] = static_cast<Byte>(X * 5 + Y);
  }
}

void CountBytes(benchmark::State& State, Int64 BytesPerIteration) {
  State.SetBytesProcessed(State.iterations() * BytesPerIteration);
}

}  // namespace

// The yardstick: one memcpy of a 12-megapixel 24-bit picture.
static void BM_Memcpy12MP24(benchmark::State& State) {
  const size_t Bytes = static_cast<size_t>(W) * 3 * H;
  std::vector<Byte> Source(Bytes, 1), Dest(Bytes, 0);
  for (auto _ : State) {
    std::memcpy(Dest.data(), Source.data(), Bytes);
    benchmark::ClobberMemory();
  }
  CountBytes(State, static_cast<Int64>(Bytes));
}
BENCHMARK(BM_Memcpy12MP24)->Unit(benchmark::kMillisecond);

static void BM_Fill12MP(benchmark::State& State) {
  const auto Format = static_cast<TIEPixelFormat>(State.range(0));
  TIEBitmap B(W, H, Format);
  for (auto _ : State) {
    B.Fill(0x336699);
    benchmark::ClobberMemory();
  }
  CountBytes(State, static_cast<Int64>(B.GetRowLen()) * H);
}
BENCHMARK(BM_Fill12MP)->Arg(ie24RGB)->Arg(ie8g)->Arg(ie32RGB)->Arg(ie1g)->Unit(benchmark::kMillisecond);

static void BM_CopyRectTo12MP(benchmark::State& State) {
  const auto Format = static_cast<TIEPixelFormat>(State.range(0));
  TIEBitmap Source(W, H, Format), Dest(W, H, Format);
  FillPattern(Source);
  for (auto _ : State) {
    Source.CopyRectTo(&Dest, 0, 0, 0, 0, W, H);
    benchmark::ClobberMemory();
  }
  CountBytes(State, static_cast<Int64>(Source.GetRowLen()) * H);
}
BENCHMARK(BM_CopyRectTo12MP)->Arg(ie24RGB)->Arg(ie8g)->Arg(ie1g)->Unit(benchmark::kMillisecond);

// A rectangle at odd offsets: row pieces, not the whole block.
static void BM_CopyRectToOffset12MP24(benchmark::State& State) {
  TIEBitmap Source(W, H, ie24RGB), Dest(W, H, ie24RGB);
  FillPattern(Source);
  for (auto _ : State) {
    Source.CopyRectTo(&Dest, 3, 5, 7, 1, W - 10, H - 10);
    benchmark::ClobberMemory();
  }
  CountBytes(State, static_cast<Int64>(W - 10) * 3 * (H - 10));
}
BENCHMARK(BM_CopyRectToOffset12MP24)->Unit(benchmark::kMillisecond);

static void BM_Assign12MP24(benchmark::State& State) {
  TIEBitmap Source(W, H, ie24RGB), Dest(W, H, ie24RGB);
  FillPattern(Source);
  for (auto _ : State) {
    Dest.Assign(&Source);
    benchmark::ClobberMemory();
  }
  CountBytes(State, static_cast<Int64>(Source.GetRowLen()) * H);
}
BENCHMARK(BM_Assign12MP24)->Unit(benchmark::kMillisecond);

// Reading every row once: memory, chunks and the temporary file (one seek and read per row;
// read-write access also writes each row back).
static void BM_RowAccess12MP24(benchmark::State& State) {
  const auto Kind = State.range(0);
  const Int64 OldOverride = IEMinFileSizeOverride;
  IEMinFileSizeOverride = Kind == 2 ? 0 : -1;
  const auto OldHook = IEAllocationFailureHook;
  if (Kind == 1) IEAllocationFailureHook = [](UInt64 Size) { return Size >= UInt64(W) * 3 * H; };
  TIEBitmap B(W, H, ie24RGB);
  IEAllocationFailureHook = OldHook;
  IEMinFileSizeOverride = OldOverride;
  B.SetAccess(static_cast<Byte>(State.range(1)));
  Int64 Sum = 0;
  for (auto _ : State) {
    for (Integer Y = 0; Y < H; ++Y) Sum += static_cast<const Byte*>(B.GetScanline(Y))[Y % W];
    benchmark::DoNotOptimize(Sum);
  }
  State.SetLabel(Kind == 0 ? "memory" : Kind == 1 ? "chunks" : "file");
  CountBytes(State, static_cast<Int64>(B.GetRowLen()) * H);
}
BENCHMARK(BM_RowAccess12MP24)
    ->Args({0, iedRead | iedWrite})
    ->Args({1, iedRead | iedWrite})
    ->Args({2, iedRead})
    ->Args({2, iedRead | iedWrite})
    ->Unit(benchmark::kMillisecond);

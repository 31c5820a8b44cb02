// The view's paint path at photo size: a 12-megapixel ie24RGB picture drawn into a 24-bit
// platform bitmap at 100% (straight row copies) and 50% (lookup tables), against memcpy of
// the same bytes; a half-transparent draw, an ie8g picture, a source held in a temporary file,
// and StretchRectTo at 1:1.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

#include "imaging/core/hyieutils.h"
#include "imaging/core/iebitmap.h"
#include "platform/classes/Bitmap.h"

namespace {

constexpr Integer W = 4000, H = 3000;

// A varied picture, so no path can profit from flat colour.
std::unique_ptr<TIEBitmap> MakeSource(TIEPixelFormat Format) {
  auto B = std::make_unique<TIEBitmap>(W, H, Format);
  for (Integer Y = 0; Y < H; ++Y) {
    Byte* Row = static_cast<Byte*>(B->GetScanline(Y));
    for (Integer I = 0; I < B->GetRowLen(); ++I)
      Row[I] = static_cast<Byte>(((Y * 7919 + I) * 2654435761u) >> 13);
  }
  return B;
}

std::unique_ptr<TBitmap> MakeTarget(Integer Width, Integer Height) {
  auto T = std::make_unique<TBitmap>();
  T->SetPixelFormat(pf24bit);
  T->SetSize(Width, Height);
  return T;
}

void Draw(benchmark::State& State, TIEBitmap* Source, Integer Percent, Integer Transparency) {
  const Integer DW = W * Percent / 100, DH = H * Percent / 100;
  auto Target = MakeTarget(DW, DH);
  std::vector<Byte*> Rows;
  std::vector<Integer> Columns, RowIndexes;
  for (auto _ : State) {
    Source->RenderToTBitmap(Target.get(), Rows, Columns, RowIndexes, nullptr, 0, 0, DW, DH, 0, 0, W, H, true,
                            false, Transparency, rfNone, true, 0);
    benchmark::ClobberMemory();
  }
  State.SetBytesProcessed(State.iterations() * static_cast<Int64>(DW) * DH * 3);
}

void Memcpy12MP(benchmark::State& State) {
  std::vector<Byte> A(static_cast<std::size_t>(W) * H * 3, 1), B(A.size());
  for (auto _ : State) {
    std::memcpy(B.data(), A.data(), A.size());
    benchmark::ClobberMemory();
  }
  State.SetBytesProcessed(State.iterations() * static_cast<Int64>(A.size()));
}
BENCHMARK(Memcpy12MP)->Unit(benchmark::kMillisecond);

void RenderToTBitmap100(benchmark::State& State) {
  const auto Source = MakeSource(ie24RGB);
  Draw(State, Source.get(), 100, 255);
}
BENCHMARK(RenderToTBitmap100)->Unit(benchmark::kMillisecond);

void RenderToTBitmap50(benchmark::State& State) {
  const auto Source = MakeSource(ie24RGB);
  Draw(State, Source.get(), 50, 255);
}
BENCHMARK(RenderToTBitmap50)->Unit(benchmark::kMillisecond);

void RenderToTBitmapTransparent100(benchmark::State& State) {
  const auto Source = MakeSource(ie24RGB);
  Draw(State, Source.get(), 100, 128);
}
BENCHMARK(RenderToTBitmapTransparent100)->Unit(benchmark::kMillisecond);

void RenderToTBitmapGrey100(benchmark::State& State) {
  const auto Source = MakeSource(ie8g);
  Draw(State, Source.get(), 100, 255);
}
BENCHMARK(RenderToTBitmapGrey100)->Unit(benchmark::kMillisecond);

// Every row of the source is read from its temporary file.
void RenderToTBitmapFromFile50(benchmark::State& State) {
  IEMinFileSizeOverride = 0;
  const auto Source = MakeSource(ie24RGB);
  IEMinFileSizeOverride = -1;
  Draw(State, Source.get(), 50, 255);
}
BENCHMARK(RenderToTBitmapFromFile50)->Unit(benchmark::kMillisecond);

void StretchRectTo100(benchmark::State& State) {
  const auto Source = MakeSource(ie24RGB);
  TIEBitmap Dest(W, H, ie24RGB);
  for (auto _ : State) {
    Source->StretchRectTo(&Dest, 0, 0, W, H, 0, 0, W, H, rfNone, 255);
    benchmark::ClobberMemory();
  }
  State.SetBytesProcessed(State.iterations() * static_cast<Int64>(W) * H * 3);
}
BENCHMARK(StretchRectTo100)->Unit(benchmark::kMillisecond);

}  // namespace

// Pixel-format conversions of a 12-megapixel picture, beside one plain copy of the same bytes
// as the memory-speed yardstick.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "imaging/core/iebitmap.h"

namespace {

constexpr Integer Width = 4000;
constexpr Integer Height = 3000;

// A photograph-like 24-bit picture: smooth gradients with a little texture.
void FillPicture(TIEBitmap& B) {
  for (Integer Y = 0; Y < Height; ++Y) {
    auto* Row = static_cast<TIERGBTriple*>(B.GetScanline(Y));
    for (Integer X = 0; X < Width; ++X)
      Row[X] = {static_cast<Byte>(X / 16 + (Y & 3)), static_cast<Byte>(Y / 12 + (X & 7)),
                static_cast<Byte>((X + Y) / 28)};
  }
}

TIEBitmap& Picture24() {
  static TIEBitmap* B = [] {
    auto* P = new TIEBitmap(Width, Height, ie24RGB);
    FillPicture(*P);
    return P;
  }();
  return *B;
}

void Convert(benchmark::State& State, TIEBitmap& Source, TIEPixelFormat To, Byte BlackWhite) {
  TIEBitmap Dest(Width, Height, To);
  Dest.SetBlackWhiteConversion(BlackWhite);
  for (auto _ : State) {
    Dest.CopyAndConvertFormat(&Source);
    benchmark::ClobberMemory();
  }
  const Int64 Bytes = static_cast<Int64>(Source.GetRowLen() + Dest.GetRowLen()) * Height;
  State.SetBytesProcessed(State.iterations() * Bytes);
}

}  // namespace

// One pass over the 24-bit picture's bytes into another block: what "memory speed" means here.
static void BM_CopyBytes24(benchmark::State& State) {
  const size_t Size = static_cast<size_t>(Width) * 3 * Height;
  std::vector<Byte> Source(Size, 1);
  std::vector<Byte> Dest(Size);
  for (auto _ : State) {
    std::memcpy(Dest.data(), Source.data(), Size);
    benchmark::ClobberMemory();
  }
  State.SetBytesProcessed(State.iterations() * static_cast<Int64>(Size) * 2);
}
BENCHMARK(BM_CopyBytes24)->Unit(benchmark::kMillisecond);

// Colour reduction to 256 colours (NeuQuant learning and the index look-ups).
static void BM_Convert24To8Quantize(benchmark::State& State) {
  Convert(State, Picture24(), ie8p, 1);
}
BENCHMARK(BM_Convert24To8Quantize)->Unit(benchmark::kMillisecond);

// The same with 64 colours: the variance quantizer.
static void BM_Convert24To8Quantize64(benchmark::State& State) {
  TIEBitmap Dest(Width, Height, ie8p);
  Dest.SetPaletteUsed(64);
  for (auto _ : State) {
    Dest.CopyAndConvertFormat(&Picture24());
    benchmark::ClobberMemory();
  }
  State.SetBytesProcessed(State.iterations() * static_cast<Int64>(Width) * 4 * Height);
}
BENCHMARK(BM_Convert24To8Quantize64)->Unit(benchmark::kMillisecond);

static void BM_Convert24To1Threshold(benchmark::State& State) {
  Convert(State, Picture24(), ie1g, 1);
}
BENCHMARK(BM_Convert24To1Threshold)->Unit(benchmark::kMillisecond);

static void BM_Convert24To1Dither(benchmark::State& State) {
  Convert(State, Picture24(), ie1g, 0);
}
BENCHMARK(BM_Convert24To1Dither)->Unit(benchmark::kMillisecond);

static void BM_Convert8To24(benchmark::State& State) {
  TIEBitmap Grey(Width, Height, ie8g);
  Grey.CopyAndConvertFormat(&Picture24());
  Convert(State, Grey, ie24RGB, 1);
}
BENCHMARK(BM_Convert8To24)->Unit(benchmark::kMillisecond);

// 24 to 32 bits of a picture with an alpha channel, which is copied along.
static void BM_Convert24To32WithAlpha(benchmark::State& State) {
  TIEBitmap Source(Width, Height, ie24RGB);
  FillPicture(Source);
  Source.GetAlphaChannel()->Fill(128);
  Convert(State, Source, ie32RGB, 1);
}
BENCHMARK(BM_Convert24To32WithAlpha)->Unit(benchmark::kMillisecond);

// Through 24 bits without touching the source: CMYK to grey.
static void BM_ConvertCMYKTo8Via24(benchmark::State& State) {
  TIEBitmap Cmyk(Width, Height, ieCMYK);
  Cmyk.CopyAndConvertFormat(&Picture24());
  Convert(State, Cmyk, ie8g, 1);
}
BENCHMARK(BM_ConvertCMYKTo8Via24)->Unit(benchmark::kMillisecond);
// Without an alpha channel: the row kernel alone.
static void BM_Convert24To32(benchmark::State& State) {
  Convert(State, Picture24(), ie32RGB, 1);
}
BENCHMARK(BM_Convert24To32)->Unit(benchmark::kMillisecond);

static void BM_Convert24To8Grey(benchmark::State& State) {
  Convert(State, Picture24(), ie8g, 1);
}
BENCHMARK(BM_Convert24To8Grey)->Unit(benchmark::kMillisecond);

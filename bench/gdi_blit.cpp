// Bit-block transfers at photo sizes: a 12-megapixel 24-bit copy against plain memcpy, stretches
// down by 2/3 and up by 1.5 in both stretch modes that matter, and a full-HD alpha blend.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "platform/gdi/Blit.h"
#include "platform/gdi/Dib.h"

namespace {

struct TCanvas {
  HDC DC;
  HBITMAP Bitmap;
  HGDIOBJ Old;
  TCanvas(Integer W, Integer H, Integer Bpp) {
    BITMAPINFO Info;
    Info.bmiHeader.biWidth = W;
    Info.bmiHeader.biHeight = H;
    Info.bmiHeader.biBitCount = static_cast<WORD>(Bpp);
    DC = CreateCompatibleDC(nullptr);
    void* Bits = nullptr;
    Bitmap = CreateDIBSection(DC, &Info, DIB_RGB_COLORS, &Bits, nullptr, 0);
    Old = SelectObject(DC, Bitmap);
    // A varied picture, so no path can profit from flat colour.
    auto* P = static_cast<Byte*>(Bits);
    for (std::size_t I = 0; I < Bitmap->BitsSize(); ++I) P[I] = static_cast<Byte>((I * 2654435761u) >> 13);
  }
  ~TCanvas() {
    SelectObject(DC, Old);
    DeleteObject(Bitmap);
    DeleteDC(DC);
  }
  std::size_t Bytes() const { return Bitmap->BitsSize(); }
};

constexpr Integer W = 4000, H = 3000;

void Memcpy12MP(benchmark::State& State) {
  std::vector<Byte> A(DibRowBytes(W, 24) * static_cast<std::size_t>(H), 1), B(A.size());
  for (auto _ : State) {
    std::memcpy(B.data(), A.data(), A.size());
    benchmark::ClobberMemory();
  }
  State.SetBytesProcessed(static_cast<Int64>(State.iterations() * A.size()));
}
BENCHMARK(Memcpy12MP)->Unit(benchmark::kMillisecond);

void BitBltSrcCopy12MP(benchmark::State& State) {
  TCanvas Src(W, H, 24), Dst(W, H, 24);
  for (auto _ : State) BitBlt(Dst.DC, 0, 0, W, H, Src.DC, 0, 0, SRCCOPY);
  State.SetBytesProcessed(static_cast<Int64>(State.iterations() * Src.Bytes()));
}
BENCHMARK(BitBltSrcCopy12MP)->Unit(benchmark::kMillisecond);

// The general raster-operation path, for comparison.
void BitBltSrcInvert12MP(benchmark::State& State) {
  TCanvas Src(W, H, 24), Dst(W, H, 24);
  for (auto _ : State) BitBlt(Dst.DC, 0, 0, W, H, Src.DC, 0, 0, SRCINVERT);
  State.SetBytesProcessed(static_cast<Int64>(State.iterations() * Src.Bytes()));
}
BENCHMARK(BitBltSrcInvert12MP)->Unit(benchmark::kMillisecond);

// Arguments: stretch mode, destination width and height.
void StretchBlt12MP(benchmark::State& State) {
  const auto DW = static_cast<Integer>(State.range(1)), DH = static_cast<Integer>(State.range(2));
  TCanvas Src(W, H, 24), Dst(DW, DH, 24);
  SetStretchBltMode(Dst.DC, static_cast<Integer>(State.range(0)));
  for (auto _ : State) StretchBlt(Dst.DC, 0, 0, DW, DH, Src.DC, 0, 0, W, H, SRCCOPY);
  State.counters["Mpix/s"] =
      benchmark::Counter(static_cast<double>(DW) * DH * 1e-6, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(StretchBlt12MP)
    ->Args({COLORONCOLOR, W * 2 / 3, H * 2 / 3})
    ->Args({HALFTONE, W * 2 / 3, H * 2 / 3})
    ->Args({COLORONCOLOR, W * 3 / 2, H * 3 / 2})
    ->Args({HALFTONE, W * 3 / 2, H * 3 / 2})
    ->Unit(benchmark::kMillisecond);

void AlphaBlendFullHd(benchmark::State& State) {
  TCanvas Src(1920, 1080, 32), Dst(1920, 1080, 32);
  const BLENDFUNCTION Blend{AC_SRC_OVER, 0, static_cast<Byte>(State.range(0)), AC_SRC_ALPHA};
  // Premultiplied pixels: colour channels not above alpha.
  auto* P = static_cast<Byte*>(Src.Bitmap->Bits());
  for (std::size_t I = 0; I + 3 < Src.Bytes(); I += 4)
    for (Integer C = 0; C < 3; ++C) P[I + C] = static_cast<Byte>(P[I + C] * P[I + 3] / 255);
  for (auto _ : State) AlphaBlend(Dst.DC, 0, 0, 1920, 1080, Src.DC, 0, 0, 1920, 1080, Blend);
  State.counters["Mpix/s"] =
      benchmark::Counter(1920.0 * 1080 * 1e-6, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(AlphaBlendFullHd)->Arg(255)->Arg(128)->Unit(benchmark::kMillisecond);

}  // namespace

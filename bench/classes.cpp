// Picture files of the class library at the size of a finished mosaic (4000 x 3000): JPEG
// compression and decompression, BMP reading and writing.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "platform/classes/Bitmap.h"
#include "platform/classes/JPEGImage.h"
#include "platform/system/Streams.h"

namespace {

constexpr Integer Width = 4000;
constexpr Integer Height = 3000;

// Gradients with some noise: roughly the entropy of a photograph.
void FillPicture(TBitmap& B, TPixelFormat Format) {
  B.SetPixelFormat(Format);
  B.SetSize(Width, Height);
  const Integer Bytes = Format == pf24bit ? 3 : 4;
  std::uint32_t Seed = 12345;
  for (Integer Y = 0; Y < Height; ++Y) {
    Byte* Row = static_cast<Byte*>(B.GetScanLine(Y));
    for (Integer X = 0; X < Width; ++X, Row += Bytes) {
      Seed ^= Seed << 13, Seed ^= Seed >> 17, Seed ^= Seed << 5;
      const Integer Noise = static_cast<Integer>(Seed & 15) - 8;
      Row[0] = static_cast<Byte>((X / 8 + Y / 8) % 2 ? 180 + Noise : 60 + Noise);
      Row[1] = static_cast<Byte>(Y * 255 / Height);
      Row[2] = static_cast<Byte>(X * 255 / Width);
    }
  }
}

void SaveJpeg(benchmark::State& State) {
  TBitmap B;
  FillPicture(B, static_cast<TPixelFormat>(State.range(0)));
  Int64 Size = 0;
  for (auto _ : State) {
    TJPEGImage J;
    J.Assign(&B);
    TMemoryStream S;
    J.SaveToStream(&S);
    Size = S.GetSize();
  }
  State.counters["bytes"] = static_cast<double>(Size);
  State.SetItemsProcessed(State.iterations() * Width * Height);
}
BENCHMARK(SaveJpeg)->Arg(pf24bit)->Arg(pfDevice)->Unit(benchmark::kMillisecond);

void LoadJpeg(benchmark::State& State) {
  TBitmap B;
  FillPicture(B, pf24bit);
  TJPEGImage J;
  J.Assign(&B);
  TMemoryStream Data;
  J.SaveToStream(&Data);
  for (auto _ : State) {
    Data.SetPosition(0);
    TJPEGImage L;
    L.LoadFromStream(&Data);
    L.DIBNeeded();
    benchmark::DoNotOptimize(L.GetWidth());
  }
  State.SetItemsProcessed(State.iterations() * Width * Height);
}
BENCHMARK(LoadJpeg)->Unit(benchmark::kMillisecond);

void LoadBmp(benchmark::State& State) {
  TBitmap B;
  FillPicture(B, pf24bit);
  TMemoryStream Data;
  B.SaveToStream(&Data);
  for (auto _ : State) {
    Data.SetPosition(0);
    TBitmap L;
    L.LoadFromStream(&Data);
    benchmark::DoNotOptimize(L.GetScanLine(0));
  }
  State.SetBytesProcessed(State.iterations() * Data.GetSize());
}
BENCHMARK(LoadBmp)->Unit(benchmark::kMillisecond);

void SaveBmp(benchmark::State& State) {
  TBitmap B;
  FillPicture(B, pf24bit);
  Int64 Size = 0;
  for (auto _ : State) {
    TMemoryStream S;
    B.SaveToStream(&S);
    Size = S.GetSize();
  }
  State.SetBytesProcessed(State.iterations() * Size);
}
BENCHMARK(SaveBmp)->Unit(benchmark::kMillisecond);

}  // namespace

// Skin drawing hot paths: the line blend over full-HD rows, a nine-piece frame built at
// 1920 x 1080 from a 64 x 64 part, tiled and stretched, and loading the largest program skin.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "platform/classes/Bitmap.h"
#include "skin/data/bsEffects.h"
#include "skin/data/bsSkinData.h"
#include "skin/data/bsSkinDataProgramSkins.h"
#include "skin/data/bsUtils.h"

namespace {

constexpr Integer W = 1920, H = 1080;

void BlendLineRows(benchmark::State& State) {
  // Varied alpha, so the opaque and clear shortcuts take only their share.
  std::vector<TbsPixel> Src(static_cast<std::size_t>(W) * H), Dst(Src.size());
  for (std::size_t I = 0; I < Src.size(); ++I) {
    Src[I] = static_cast<TbsPixel>(I * 2654435761u);
    Dst[I] = static_cast<TbsPixel>(I * 40503u);
  }
  for (auto _ : State) {
    for (Integer Y = 0; Y < H; ++Y) BlendLine(Src.data() + Y * W, Dst.data() + Y * W, W);
    benchmark::DoNotOptimize(Dst.data());
  }
  State.SetBytesProcessed(State.iterations() * Src.size() * sizeof(TbsPixel));
}
BENCHMARK(BlendLineRows);

void CreateSkinImageFullHD(benchmark::State& State) {
  TBitmap Source;
  Source.SetPixelFormat(pf32bit);
  Source.SetSize(64, 64);
  for (Integer Y = 0; Y < 64; ++Y) {
    auto* Row = static_cast<Cardinal*>(Source.GetScanLine(Y));
    for (Integer X = 0; X < 64; ++X) Row[X] = 0xFF000000 | (X << 18) | (Y << 10);
  }
  const bool Stretch = State.range(0) != 0;
  const TRect C = Rect(8, 8, 56, 56), NC = Rect(8, 8, W - 8, H - 8);
  TBitmap B;
  for (auto _ : State) {
    CreateSkinImage(Point(8, 8), Point(56, 8), Point(8, 56), Point(56, 56), C, Point(8, 8), Point(W - 8, 8),
                    Point(8, H - 8), Point(W - 8, H - 8), NC, &B, &Source, Rect(0, 0, 64, 64), W, H, true,
                    Stretch, Stretch, Stretch, Stretch, Stretch, 0);
    benchmark::DoNotOptimize(B.GetScanLine(0));
  }
}
BENCHMARK(CreateSkinImageFullHD)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// From the stored bytes to a loaded skin: envelope, inflation, pictures, text and records.
void LoadLargestProgramSkin(benchmark::State& State) {
  const auto Skins = ProgramSkins();
  const TbsProgramSkin& Largest = *std::max_element(
      Skins.begin(), Skins.end(), [](const auto& A, const auto& B) { return A.Size < B.Size; });
  TMemoryStream Bytes;
  Bytes.WriteBuffer(Largest.Data, static_cast<Integer>(Largest.Size));
  TbsCompressedStoredSkin Stored(nullptr);
  Stored.ReadCompressedSkinStream(&Bytes);
  TbsSkinData Data(nullptr);
  for (auto _ : State) {
    Data.LoadStoredSkin(&Stored);
    benchmark::DoNotOptimize(Data.SkinControls.data());
  }
  State.SetLabel(Largest.Name);
}
BENCHMARK(LoadLargestProgramSkin)->Unit(benchmark::kMillisecond);

}  // namespace

// One present of a 1920 x 1080 top-level window: the copy into the desktop window's pixels, and
// the whole present on a real desktop (skipped without a display, e.g. run under xvfb-run).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

#include "platform/display/DesktopPixels.h"
#include "platform/display/SdlDesktop.h"

namespace {

constexpr Integer Width = 1920, Height = 1080;

struct TFullHdSurface {
  std::vector<DWORD> Pixels = std::vector<DWORD>(static_cast<size_t>(Width) * Height, 0x00336699u);
  TSurface Surface;
  TFullHdSurface() {
    Surface.Width = Width;
    Surface.Height = Height;
    Surface.Bpp = 32;
    Surface.Stride = Width * 4;
    Surface.Row0 = reinterpret_cast<Byte*>(Pixels.data());
  }
};

void BM_DesktopPixelCopy1080p(benchmark::State& State) {
  TFullHdSurface Src;
  std::vector<DWORD> Dst(Src.Pixels.size());
  const auto Mode = static_cast<TDesktopPixels>(State.range(0));
  for (auto _ : State) {
    CopyDesktopPixels(Src.Surface, {0, 0, Width, Height}, reinterpret_cast<Byte*>(Dst.data()), Width * 4,
                      Mode);
    benchmark::DoNotOptimize(Dst.data());
  }
  State.SetBytesProcessed(State.iterations() * Width * Height * 4);
}
BENCHMARK(BM_DesktopPixelCopy1080p)
    ->Arg(static_cast<int>(TDesktopPixels::Opaque))
    ->Arg(static_cast<int>(TDesktopPixels::Straight));

void BM_PresentWindow1080p(benchmark::State& State) {
  const char* Display = std::getenv("DISPLAY");
  std::unique_ptr<TDisplayBackend> Desktop = Display && *Display ? CreateSdlDesktop() : nullptr;
  if (!Desktop) {
    State.SkipWithError("no desktop to present on");
    return;
  }
  TFullHdSurface Src;
  TTopLevelView View;
  View.Window = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(1));
  View.Rect = {0, 0, Width, Height};
  View.Surface = &Src.Surface;
  View.Title = "Present benchmark";
  View.Damaged = {{0, 0, Width, Height}};
  const std::vector<TTopLevelView> Views{View};
  Desktop->PresentTopLevels(Views);  // makes and shows the window
  for (auto _ : State) Desktop->PresentTopLevels(Views);
  State.SetBytesProcessed(State.iterations() * Width * Height * 4);
}
BENCHMARK(BM_PresentWindow1080p)->Unit(benchmark::kMillisecond);

}  // namespace

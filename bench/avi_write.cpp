// Writing movie frames: a 640 x 480 picture appended through the component's SaveToAVI, as the
// movie writer does for every built frame, in Motion JPEG and uncompressed.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "imaging/core/iebitmap.h"
#include "imaging/io/zezudidio.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/Strings.h"

namespace {

constexpr Integer Width = 640;
constexpr Integer Height = 480;

// A mosaic-like frame: flat cells with edges, shifted a little per frame.
void PaintFrame(TIEBitmap& Frame, Integer Index) {
  for (Integer Y = 0; Y < Height; ++Y) {
    auto* Row = static_cast<Byte*>(Frame.GetScanline(Y));
    for (Integer X = 0; X < Width; ++X) {
      const Integer Cell = ((X + Index) / 32) * 7 + (Y / 24) * 13;
      Row[X * 3] = static_cast<Byte>(Cell * 37);
      Row[X * 3 + 1] = static_cast<Byte>(Cell * 91 + Y / 4);
      Row[X * 3 + 2] = static_cast<Byte>(Cell * 53 + X / 5);
    }
  }
}

void WriteFrames(benchmark::State& State, const std::string& Codec) {
  const std::string Path =
      (std::filesystem::temp_directory_path() / ("bench-" + std::to_string(getpid()) + ".avi")).string();
  TIEBitmap Frame(Width, Height, ie24RGB);
  TZezudIdIO IO(nullptr);
  IO.SetAttachedIEBitmap(&Frame);
  IO.GetParams()->Width = Width;
  IO.GetParams()->Height = Height;
  if (IO.CreateAVIFile(Utf8ToUtf16(Path), 25, Codec) != 0) {
    State.SkipWithError("no such compressor");
    return;
  }
  Integer Index = 0;
  for (auto _ : State) {
    State.PauseTiming();
    PaintFrame(Frame, Index++);
    State.ResumeTiming();
    IO.SaveToAVI();
  }
  IO.CloseAVIFile();
  std::filesystem::remove(Path);
  State.counters["frames/s"] =
      benchmark::Counter(static_cast<double>(State.iterations()), benchmark::Counter::kIsRate);
}

void BM_SaveToAVI_MJPG_640x480(benchmark::State& State) {
  WriteFrames(State, "MJPG");
}
BENCHMARK(BM_SaveToAVI_MJPG_640x480)->Unit(benchmark::kMillisecond);

void BM_SaveToAVI_Uncompressed_640x480(benchmark::State& State) {
  WriteFrames(State, "DIB ");
}
BENCHMARK(BM_SaveToAVI_Uncompressed_640x480)->Unit(benchmark::kMillisecond);

}  // namespace

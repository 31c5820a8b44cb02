// Resampling a 12-megapixel picture to 1920 x 1080 and blurring a grey one with radius 10,
// beside ImageMagick's convert doing the same with one thread. Each convert case is timed as a child process;
// BM_ConvertLoadSave times its own file load and save, to be subtracted from the resize cases before
// comparing.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "imaging/core/hyieutils.h"
#include "imaging/core/iebitmap.h"
#include "imaging/core/ieblur.h"
#include "imaging/proc/ieresamplebitmap.h"

namespace {

constexpr Integer Width = 4000;
constexpr Integer Height = 3000;
constexpr Integer TargetWidth = 1920;
constexpr Integer TargetHeight = 1080;

// A photograph-like 24-bit picture: smooth gradients with a little texture.
TIEBitmap& Picture24() {
  static TIEBitmap* B = [] {
    auto* P = new TIEBitmap(Width, Height, ie24RGB);
    for (Integer Y = 0; Y < Height; ++Y) {
      auto* Row = static_cast<TIERGBTriple*>(P->GetScanline(Y));
      for (Integer X = 0; X < Width; ++X)
        Row[X] = {static_cast<Byte>(X / 16 + (Y & 3)), static_cast<Byte>(Y / 12 + (X & 7)),
                  static_cast<Byte>((X + Y) / 28)};
    }
    return P;
  }();
  return *B;
}

// The same picture as a binary PPM (red, green, blue) for convert.
const std::string& PictureFile() {
  static const std::string Path = [] {
    const std::string Name = (std::filesystem::temp_directory_path() / "tv_bench_proc.ppm").string();
    FILE* F = std::fopen(Name.c_str(), "wb");
    std::fprintf(F, "P6\n%d %d\n255\n", Width, Height);
    std::string Row(static_cast<std::size_t>(Width) * 3, '\0');
    for (Integer Y = 0; Y < Height; ++Y) {
      const auto* Src = static_cast<const TIERGBTriple*>(Picture24().GetScanline(Y));
      for (Integer X = 0; X < Width; ++X) {
        Row[X * 3] = static_cast<char>(Src[X].rgbtRed);
        Row[X * 3 + 1] = static_cast<char>(Src[X].rgbtGreen);
        Row[X * 3 + 2] = static_cast<char>(Src[X].rgbtBlue);
      }
      std::fwrite(Row.data(), 1, Row.size(), F);
    }
    std::fclose(F);
    return Name;
  }();
  return Path;
}

// The green channel of the picture as an 8-bit grey one, and as a binary PGM for convert.
TIEBitmap& Picture8() {
  static TIEBitmap* B = [] {
    auto* P = new TIEBitmap(Width, Height, ie8g);
    for (Integer Y = 0; Y < Height; ++Y) {
      const auto* Src = static_cast<const TIERGBTriple*>(Picture24().GetScanline(Y));
      auto* Row = static_cast<Byte*>(P->GetScanline(Y));
      for (Integer X = 0; X < Width; ++X) Row[X] = Src[X].rgbtGreen;
    }
    return P;
  }();
  return *B;
}

const std::string& GreyFile() {
  static const std::string Path = [] {
    const std::string Name = (std::filesystem::temp_directory_path() / "tv_bench_proc.pgm").string();
    FILE* F = std::fopen(Name.c_str(), "wb");
    std::fprintf(F, "P5\n%d %d\n255\n", Width, Height);
    for (Integer Y = 0; Y < Height; ++Y) std::fwrite(Picture8().GetScanline(Y), 1, Width, F);
    std::fclose(F);
    return Name;
  }();
  return Path;
}

void Resample(benchmark::State& State, TResampleFilter Filter) {
  IEInstallResampleHooks();
  IEProcessorCoresCache = static_cast<Integer>(State.range(0));
  TIEBitmap Dest(TargetWidth, TargetHeight, ie24RGB);
  for (auto _ : State) {
    ResampleBitmap(&Picture24(), &Dest, Filter, {}, nullptr);
    benchmark::ClobberMemory();
  }
  IEProcessorCoresCache = -1;
}

void Convert(benchmark::State& State, const std::string& Operation, const std::string& In = PictureFile()) {
  const std::string Out =
      (std::filesystem::temp_directory_path() / ("tv_bench_proc_out" + In.substr(In.size() - 4))).string();
  const std::string Command =
      "convert -limit thread 1 " + In + " " + Operation + " " + Out + " >/dev/null 2>&1";
  for (auto _ : State)
    if (std::system(Command.c_str()) != 0) State.SkipWithError("convert failed");
}

}  // namespace

static void BM_ResampleBilinear(benchmark::State& State) {
  Resample(State, rfBilinear);
}
BENCHMARK(BM_ResampleBilinear)->Arg(1)->Arg(8)->Unit(benchmark::kMillisecond)->UseRealTime();

static void BM_ResampleLanczos3(benchmark::State& State) {
  Resample(State, rfLanczos3);
}
BENCHMARK(BM_ResampleLanczos3)->Arg(1)->Arg(8)->Unit(benchmark::kMillisecond)->UseRealTime();

static void BM_ResampleTriangle(benchmark::State& State) {
  Resample(State, rfTriangle);
}
BENCHMARK(BM_ResampleTriangle)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

static void BM_ConvertLoadSave(benchmark::State& State) {
  Convert(State, "");
}
BENCHMARK(BM_ConvertLoadSave)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

static void BM_ConvertResizeTriangle(benchmark::State& State) {
  Convert(State, "-filter Triangle -resize 1920x1080!");
}
BENCHMARK(BM_ConvertResizeTriangle)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

static void BM_ConvertResizeLanczos(benchmark::State& State) {
  Convert(State, "-filter Lanczos -resize 1920x1080!");
}
BENCHMARK(BM_ConvertResizeLanczos)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

static void BM_BlurGreyRadius10(benchmark::State& State) {
  TIEBitmap Work;
  for (auto _ : State) {
    State.PauseTiming();
    Work.Assign(&Picture8());
    State.ResumeTiming();
    IEBlurChannel(&Work, 0, 0, Width - 1, Height - 1, 10);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_BlurGreyRadius10)->Unit(benchmark::kMillisecond)->UseRealTime();

static void BM_ConvertGreyLoadSave(benchmark::State& State) {
  Convert(State, "", GreyFile());
}
BENCHMARK(BM_ConvertGreyLoadSave)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

static void BM_ConvertBlurGreyRadius10(benchmark::State& State) {
  Convert(State, "-blur 0x10", GreyFile());
}
BENCHMARK(BM_ConvertBlurGreyRadius10)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

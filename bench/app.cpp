// The mosaic build: a 4000 x 3000 photograph-like picture built through CreateMosaic on the
// headless screen (every generated pattern type, grid 20, the window's default options and the
// type's own parameters), with and without the grid removal and the background blend, and at
// grid 5 against grid 20; the heap a build holds at its peak per source pixel; the generator
// stage alone, through a host without the window; and the hot paths they are made of.
// TILVAROK_BENCH_PICTURE names a picture file to build instead of the made one.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/Functions.h"
#include "app/Main.h"
#include "app/PatternHost.h"
#include "app/Patterns.h"
#include "app/PostProcessing.h"
#include "bench/HeapPeak.h"
#include "imaging/core/hyieutils.h"
#include "imaging/formats/ieformats.h"
#include "imaging/io/ieiolibrary.h"
#include "imaging/proc/ieprocfilters.h"
#include "imaging/view/zezudidview.h"
#include "platform/classes/Application.h"
#include "platform/classes/Bitmap.h"
#include "platform/display/HeadlessDisplay.h"
#include "platform/system/Environment.h"
#include "platform/system/Files.h"
#include "platform/system/Math.h"
#include "raster/RS32_Startup.h"
#include "skin/boxctrls/bsSkinBoxCtrls.h"
#include "skin/controls/bsSkinCtrls.h"

namespace {
// Smooth light and colour with edges and grain, as a photograph has.
void FillPhoto(TBitmap& B, Integer W, Integer H) {
  B.SetPixelFormat(pf24bit);
  B.SetSize(W, H);
  const TBitmapRows Rows(&B);
  Cardinal Grain = 12345;
  for (Integer Y = 0; Y < H; ++Y) {
    Byte* P = Rows[Y];
    for (Integer X = 0; X < W; ++X, P += 3) {
      Grain = Grain * 1664525u + 1013904223u;
      const Integer Noise = static_cast<Integer>(Grain >> 28) - 8;
      const double Sky = 0.5 + 0.5 * std::sin(X * 0.0021 + Y * 0.0013);
      const bool Hill = Y > H / 2 + static_cast<Integer>(300 * std::sin(X * 0.003));
      P[0] =
          static_cast<Byte>(ClampByte(static_cast<Integer>(Hill ? 40 + 60 * Sky : 150 + 100 * Sky) + Noise));
      P[1] =
          static_cast<Byte>(ClampByte(static_cast<Integer>(Hill ? 90 + 80 * Sky : 120 + 60 * Sky) + Noise));
      P[2] = static_cast<Byte>(ClampByte(static_cast<Integer>(Hill ? 50 + 40 * Sky : 60 + 40 * Sky) + Noise));
    }
  }
}

// The heap the window holds before its picture comes.
std::int64_t WindowHeap = 0;

// One main window with the picture loaded, made once for all runs.
TForm1* Window() {
  static TForm1* Form = [] {
    KeepPictureMemory();
    const std::string Root = std::string("/tmp/tilvarok-bench-app-") + std::to_string(getpid());
    SetEnvironmentVariable("XDG_DATA_HOME", Root + "/data");
    SetEnvironmentVariable("TEMP", Root + "/temp");
    ForceDirectories(Root + "/data/ZOR/Tilvarok/Results");
    ForceDirectories(Root + "/temp");
    Headless();
    InitializeRasterLibrary();
    // The pictures load through the imaging library, started as the program starts it.
    IEFormatsInstall();
    IORegisterLibraryHooks();
    ProcRegisterLibraryHooks();
    ViewRegisterLibraryHooks();
    LibraryInitialize();
    auto* F = new TForm1(nullptr);
    WindowHeap = HeapPeak::Now();
    TBitmap Photo;
    // bench/compare-peer hands in the picture it gives the peer as well.
    if (const char* Picture = std::getenv("TILVAROK_BENCH_PICTURE"))
      LoadPictureFile(Picture, &Photo);
    else
      FillPhoto(Photo, 4000, 3000);
    Photo.SaveToFile(ResultsDir + "\\TextOut.bmp");
    TextMode = 1;
    F->LoadPicture(F->LoadPicBtn);
    TextMode = 0;
    return F;
  }();
  return Form;
}

// A hash of the last result's pixels: with TILVAROK_BENCH_HASH set, each build prints it, so a
// change can be checked to leave the results bit for bit as they were.
std::uint64_t ResultHash() {
  const TBitmapRows Rows(ResultBitmap.get());
  std::uint64_t Hash = 1469598103934665603ull ^ static_cast<std::uint64_t>(Rows.Width) << 32 ^
                       static_cast<std::uint64_t>(Rows.Height);
  for (Integer Y = 0; Y < Rows.Height; ++Y) {
    const Byte* P = Rows[Y];
    for (Integer X = 0; X < 3 * Rows.Width; ++X) Hash = (Hash ^ P[X]) * 1099511628211ull;
  }
  return Hash;
}

// The window with pattern type Type chosen, which sets the type's own parameters.
TForm1* WindowWithType(Byte Type) {
  TForm1* F = Window();
  if (PatternType != Type || F->PatternBox->GetItemIndex() != Type) {
    F->PatternBox->SetItemIndex(Type);
    F->SelectType(F->PatternBox);
  }
  return F;
}

// A build of pattern type Type with the type's own parameters at a grid of Grid pixels. The
// peak is the most heap the build holds at one time beyond what the window held before the
// picture came, per pixel of the source (with its rim).
void Build(benchmark::State& State, Byte Type, bool Effects, Integer Grid = 20) {
  TForm1* F = WindowWithType(Type);
  Busy = 1;
  F->GridShow->SetChecked(!Effects);
  F->Blending->SetChecked(Effects);
  Busy = 0;
  // A new grid builds once on its own.
  if (GridPx != Grid) F->SpinEdit5->SetValue(Grid);
  HeapPeak::Restart();
  for (auto _ : State) F->CreateMosaic(F->UpdateBtn);
  const double SourcePixels = SourceBitmap->GetWidth() * static_cast<double>(SourceBitmap->GetHeight());
  if (std::getenv("TILVAROK_BENCH_HASH") != nullptr)
    std::fprintf(stderr, "result type %d effects %d grid %d: %016llx\n", Type, Effects ? 1 : 0, Grid,
                 static_cast<unsigned long long>(ResultHash()));
  State.counters["cells"] = SeedCount;
  State.counters["source_mp"] = SourcePixels / 1e6;
  if (HeapPeak::Counting())
    State.counters["peak_B_per_px"] = static_cast<double>(HeapPeak::Highest() - WindowHeap) / SourcePixels;
}

// The generator of Type on the picture's square as the build's grid stage runs it (the mesh
// types with their mesh drawing), without the crop and the colour stages. The type's sliders
// leave the centre unshifted.
void Generate(Byte Type) {
  NodeCount = Max(CellsX + 1, CellsY + 1);
  PatternSize = GridPx * NodeCount;
  OffsetX = OffsetY = 0;
  for (TNodeTable* T : {&NodeX, &NodeY, &MeshCentreX, &MeshCentreY}) T->Reset(NodeCount);
  RunGenerator(Type);
}
}  // namespace

static void BM_Generator(benchmark::State& State) {
  const Byte Type = static_cast<Byte>(State.range(0));
  // The window's parameters and options taken once; no pumping, reporting or glass.
  TSilentPatternHost Host(*WindowWithType(Type));
  SetPatternHost(&Host);
  for (auto _ : State) Generate(Type);
  SetPatternHost(nullptr);
  State.counters["cells"] = SeedCount;
  State.counters["square_mp"] = PatternSize * static_cast<double>(PatternSize) / 1e6;
}
BENCHMARK(BM_Generator)->ArgName("type")->DenseRange(ptPinch, ptSpirograph)->Unit(benchmark::kMillisecond);

static void BM_Mosaic(benchmark::State& S) {
  Build(S, static_cast<Byte>(S.range(0)), S.range(1) != 0);
}
// Every generated type, with the grid removal and the background blend (1) and without (0);
// spheres keep their grid and never blend, so they run once.
BENCHMARK(BM_Mosaic)
    ->ArgNames({"type", "effects"})
    ->ArgsProduct({{ptPinch, ptVerCylinder, ptHorCylinder, ptCircles, ptTwirls, ptHexagons, ptSpirograph},
                   {1, 0}})
    ->Args({ptSpheres, 1})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2);

// The same source at grid 5 and at grid 20, with the grid removal and the background blend: the
// cost follows the pixels, not the cells.
static void BM_MosaicGrid(benchmark::State& S) {
  Build(S, static_cast<Byte>(S.range(0)), true, static_cast<Integer>(S.range(1)));
}
BENCHMARK(BM_MosaicGrid)
    ->ArgNames({"type", "grid"})
    ->ArgsProduct({{ptPinch, ptVerCylinder, ptHorCylinder, ptCircles, ptTwirls, ptHexagons, ptSpirograph},
                   {5, 20}})
    ->Unit(benchmark::kMillisecond);

static void BM_ShiftBlur12MP(benchmark::State& State) {
  TBitmap B;
  FillPhoto(B, 4000, 3000);
  for (auto _ : State) ShiftBlur(&B, 2);
}
BENCHMARK(BM_ShiftBlur12MP)->Unit(benchmark::kMillisecond);

static void BM_BlurredLightenedCopy12MP(benchmark::State& State) {
  TBitmap Source, Copy;
  FillPhoto(Source, 4000, 3000);
  for (auto _ : State) BlurredCopy(&Source, &Copy, 2, 128);
}
BENCHMARK(BM_BlurredLightenedCopy12MP)->Unit(benchmark::kMillisecond);

// One cell of a 4000 x 4000 frame with a 20-pixel grid.
static void BM_FillCellIn16MP(benchmark::State& State) {
  TBitmap B;
  B.SetPixelFormat(pf24bit);
  B.SetSize(4000, 4000);
  TCanvas* C = B.GetCanvas();
  C->GetBrush()->SetColor(clWhite);
  C->FillRect(TRect{0, 0, 4000, 4000});
  for (Integer I = 0; I < 4000; I += 20) {
    C->MoveTo(I, 0), C->LineTo(I, 4000);
    C->MoveTo(0, I), C->LineTo(4000, I);
  }
  Integer K = 0;
  for (auto _ : State) {
    C->GetBrush()->SetColor(static_cast<TColor>(0x102030 + (K++ & 0xFF)));
    FillCell(&B, 2010, 2010);
  }
}
BENCHMARK(BM_FillCellIn16MP)->Unit(benchmark::kMicrosecond);

// The message pump as the build calls it once per cell: nothing waits.
static void BM_ProcessMessagesIdle(benchmark::State& State) {
  Window();
  for (auto _ : State) Application->ProcessMessages();
}
BENCHMARK(BM_ProcessMessagesIdle)->Unit(benchmark::kNanosecond);

// Movies from a script: a 640 x 480 photograph-like source, the pinch pattern at grid 20 with
// its deformation moving over 25 frames, each frame built through the window's build in video
// mode and written into a Motion JPEG AVI file. The rate is frames of movie per second.
#include <benchmark/benchmark.h>

#include <cmath>
#include <fstream>
#include <memory>
#include <string>

#include "app/Functions.h"
#include "app/Main.h"
#include "app/VideoPlayer.h"
#include "imaging/core/hyieutils.h"
#include "imaging/formats/ieformats.h"
#include "imaging/io/ieiolibrary.h"
#include "imaging/proc/ieprocfilters.h"
#include "imaging/view/zezudidview.h"
#include "platform/classes/Bitmap.h"
#include "platform/display/HeadlessDisplay.h"
#include "platform/system/Environment.h"
#include "platform/system/Files.h"
#include "platform/system/Math.h"
#include "raster/RS32_Startup.h"
#include "skin/boxctrls/bsSkinBoxCtrls.h"
#include "skin/controls/bsSkinCtrls.h"

namespace {
constexpr Integer MovieFrames = 25;

void FillPhoto(TBitmap& B, Integer W, Integer H) {
  B.SetPixelFormat(pf24bit);
  B.SetSize(W, H);
  const TBitmapRows Rows(&B);
  for (Integer Y = 0; Y < H; ++Y) {
    Byte* P = Rows[Y];
    for (Integer X = 0; X < W; ++X, P += 3) {
      const double Sky = 0.5 + 0.5 * std::sin(X * 0.011 + Y * 0.007);
      const bool Hill = Y > H / 2 + static_cast<Integer>(60 * std::sin(X * 0.015));
      P[0] = static_cast<Byte>(Hill ? 40 + 60 * Sky : 150 + 100 * Sky);
      P[1] = static_cast<Byte>(Hill ? 90 + 80 * Sky : 120 + 60 * Sky);
      P[2] = static_cast<Byte>(Hill ? 50 + 40 * Sky : 60 + 40 * Sky);
    }
  }
}

// The window with the source loaded at its own size (no rim), the script read and Motion JPEG
// chosen; made once.
TForm1* Window() {
  static TForm1* Form = [] {
    KeepPictureMemory();
    const std::string Root = std::string("/tmp/tilvarok-bench-video-") + std::to_string(getpid());
    SetEnvironmentVariable("XDG_DATA_HOME", Root + "/data");
    SetEnvironmentVariable("TEMP", Root + "/temp");
    ForceDirectories(Root + "/data/ZOR/Tilvarok/Results");
    ForceDirectories(Root + "/temp");
    Headless();
    InitializeRasterLibrary();
    IEFormatsInstall();
    IORegisterLibraryHooks();
    ProcRegisterLibraryHooks();
    ViewRegisterLibraryHooks();
    LibraryInitialize();
    auto* F = new TForm1(nullptr);
    // The player fills the codec list; the movies are timed without it.
    delete new TForm4(nullptr);
    F->NoRim->SetChecked(false);
    TBitmap Photo;
    FillPhoto(Photo, 640, 480);
    Photo.SaveToFile(ResultsDir + "/TextOut.bmp");
    TextMode = 1;
    F->LoadPicture(F->LoadPicBtn);
    TextMode = 0;
    F->VideoSizeBox->SetItemIndex(0);
    F->ChangeVideoSize(F->VideoSizeBox);
    for (std::size_t I = 0; I < FourCCList.size(); ++I)
      if (FourCCList[I] == "MJPG") F->CodecBox->SetItemIndex(static_cast<Integer>(I));
    const std::string Script = ResultsDir + "/pinch.txt";
    std::ofstream(Script) << "Pattern=1\nKey frames=2\nA=0,-50,0,0,0,0,0\nB=" << MovieFrames - 1
                          << ",100,0,0,0,0,0\n";
    F->LoadScriptFile(Script);
    return F;
  }();
  return Form;
}
}  // namespace

static void BM_ScriptToMotionJpeg(benchmark::State& State) {
  TForm1* F = Window();
  for (auto _ : State) F->StartVideoCreation(F->CreateVideoBtn);
  State.SetItemsProcessed(State.iterations() * MovieFrames);
  State.counters["frame_w"] = ResultBitmap->GetWidth();
  State.counters["frame_h"] = ResultBitmap->GetHeight();
  State.counters["movie_kB"] = static_cast<double>(FileSizeByName(TempMovieName)) / 1024;
}
BENCHMARK(BM_ScriptToMotionJpeg)->Unit(benchmark::kMillisecond)->UseRealTime();

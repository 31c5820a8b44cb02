// The main window's skinned controls on the headless screen: a full repaint of every control
// without a skin, in the program's default skin ("iMetal dark") and in "VisionEx", and a switch
// of the window between two skins (the skin change begins, the skin loads, every control takes
// its new part, and the window is painted again).
#include <benchmark/benchmark.h>

#include <string>

#include "app/Functions.h"
#include "app/Main.h"
#include "imaging/core/hyieutils.h"
#include "imaging/formats/ieformats.h"
#include "imaging/io/ieiolibrary.h"
#include "imaging/proc/ieprocfilters.h"
#include "imaging/view/zezudidview.h"
#include "platform/classes/Application.h"
#include "platform/display/HeadlessDisplay.h"
#include "platform/system/Environment.h"
#include "platform/system/Files.h"
#include "platform/user/WindowPaint.h"
#include "raster/RS32_Startup.h"
#include "skin/data/bsSkinData.h"

namespace {

constexpr Integer DefaultSkinIndex = 2;
constexpr Integer VisionExIndex = 6;

// One main window, shown, made once for all runs.
TForm1* Window() {
  static TForm1* Form = [] {
    KeepPictureMemory();
    const std::string Root = std::string("/tmp/tilvarok-bench-skin-controls-") + std::to_string(getpid());
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
    F->Show();
    Application->ProcessMessages();
    return F;
  }();
  return Form;
}

// The window's skin data loads program skin Index (also when it is the current one).
void LoadSkin(TForm1* F, Integer Index) {
  F->bsSkinData1->LoadStoredSkin(F->bsSkinData1->GetSkinList()->GetSkins()->GetItem(Index)->GetSkin());
  Application->ProcessMessages();
}

// Every control of the window painted again, at once.
void RepaintAll(TForm1* F) {
  RedrawWindow(F->GetHandle(), nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

// The window's controls, counted as they paint.
Integer CountControls(TWinControl* W) {
  Integer N = 0;
  for (Integer I = 0; I < W->GetControlCount(); ++I) {
    TControl* C = W->GetControl(I);
    if (!C->GetVisible()) continue;
    ++N;
    if (auto* Inner = dynamic_cast<TWinControl*>(C)) N += CountControls(Inner);
  }
  return N;
}

void Repaint(benchmark::State& State, Integer SkinIndex) {
  TForm1* F = Window();
  if (SkinIndex < 0) {
    F->bsSkinData1->BroadcastSkinMessage(WM_BEFORECHANGESKINDATA);
    F->bsSkinData1->ClearSkin();
    F->bsSkinData1->BroadcastSkinMessage(WM_CHANGESKINDATA);
    F->bsSkinData1->BroadcastSkinMessage(WM_AFTERCHANGESKINDATA);
    Application->ProcessMessages();
  } else {
    LoadSkin(F, SkinIndex);
  }
  for (auto _ : State) RepaintAll(F);
  State.counters["controls"] = CountControls(F);
}

void WindowRepaintWithoutSkin(benchmark::State& State) {
  Repaint(State, -1);
}
BENCHMARK(WindowRepaintWithoutSkin)->Unit(benchmark::kMillisecond);

void WindowRepaintDefaultSkin(benchmark::State& State) {
  Repaint(State, DefaultSkinIndex);
}
BENCHMARK(WindowRepaintDefaultSkin)->Unit(benchmark::kMillisecond);

void WindowRepaintVisionEx(benchmark::State& State) {
  Repaint(State, VisionExIndex);
}
BENCHMARK(WindowRepaintVisionEx)->Unit(benchmark::kMillisecond);

void WindowSkinSwitch(benchmark::State& State) {
  TForm1* F = Window();
  bool Vision = false;
  for (auto _ : State) {
    Vision = !Vision;
    LoadSkin(F, Vision ? VisionExIndex : DefaultSkinIndex);
  }
}
BENCHMARK(WindowSkinSwitch)->Unit(benchmark::kMillisecond);

}  // namespace

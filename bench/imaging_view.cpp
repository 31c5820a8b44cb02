// The image view on a full-HD window: a whole frame of a 12-megapixel picture at fit zoom with
// the view's default filter (compose the back buffer, copy it to the window), and one scroll
// step at zoom 100, which moves what is shown and draws only the strip that came in.
#include <benchmark/benchmark.h>

#include <memory>

#include "imaging/core/iebitmap.h"
#include "imaging/view/zezudidview.h"
#include "imaging/view/zezudidviewpaint.h"
#include "platform/classes/Forms.h"
#include "platform/display/HeadlessDisplay.h"

namespace {

constexpr Integer ViewWidth = 1920, ViewHeight = 1080;

// A full-HD borderless view without scroll bars on a shown form, holding a 4000 x 3000 picture.
struct TViewFrame {
  std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
  TZezudIdView* View = nullptr;

  TViewFrame() {
    Headless().Resize(TSize{ViewWidth, 1200});
    RunUntilIdle();
    IEViewInitGlobals();
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(0, 0, ViewWidth, ViewHeight);
    View = new TZezudIdView(Form.get());
    View->SetBorderStyle(bsNone);
    View->SetScrollBars(ssNone);
    View->SetParent(Form.get());
    View->SetBounds(0, 0, ViewWidth, ViewHeight);
    TIEBitmap* Picture = View->GetIEBitmap();
    Picture->Allocate(4000, 3000, ie24RGB);
    for (Integer Y = 0; Y < 3000; ++Y) {
      Byte* Row = static_cast<Byte*>(Picture->GetScanline(Y));
      for (Integer X = 0; X < 4000 * 3; ++X) Row[X] = static_cast<Byte>(X * 5 + Y);
    }
    Form->Show();
    View->Update();
    RunUntilIdle();
  }
  ~TViewFrame() {
    Form.reset();
    RunUntilIdle();
  }
};

}  // namespace

static void BM_ViewFrameAtFit4000x3000In1920x1080(benchmark::State& State) {
  TViewFrame Frame;
  Frame.View->Fit();
  RunUntilIdle();
  for (auto _ : State) {
    Frame.View->SetBackBufferDirty();
    Frame.View->Invalidate();
    RunUntilIdle();
  }
  State.SetItemsProcessed(State.iterations() * ViewWidth * ViewHeight);
}
BENCHMARK(BM_ViewFrameAtFit4000x3000In1920x1080)->Unit(benchmark::kMillisecond);

static void BM_ViewScrollStepAtHundred(benchmark::State& State) {
  TViewFrame Frame;
  Integer X = 0;
  for (auto _ : State) {
    X = X >= 2000 ? 0 : X + 16;
    Frame.View->SetViewX(X);
    RunUntilIdle();
  }
  State.SetItemsProcessed(State.iterations() * ViewWidth * ViewHeight);
}
BENCHMARK(BM_ViewScrollStepAtHundred)->Unit(benchmark::kMillisecond);

// The same step with the back buffer rebuilt whole, for comparison.
static void BM_ViewScrollStepAtHundredWholeRebuild(benchmark::State& State) {
  TViewFrame Frame;
  Integer X = 0;
  for (auto _ : State) {
    X = X >= 2000 ? 0 : X + 16;
    Frame.View->SetBackBufferDirty();
    Frame.View->SetViewX(X);
    RunUntilIdle();
  }
  State.SetItemsProcessed(State.iterations() * ViewWidth * ViewHeight);
}
BENCHMARK(BM_ViewScrollStepAtHundredWholeRebuild)->Unit(benchmark::kMillisecond);

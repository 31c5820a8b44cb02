// The display of a finished mosaic: a full repaint of a full-HD image control showing a
// 12-megapixel bitmap as the main window shows it (nearest resampler, centred, optimal fit),
// and the result viewer's view with scroll bars at its fit zoom and while it pans at 100 %.
// Every paint stage runs into the back buffer, then the buffer is copied onto the window.
#include <benchmark/benchmark.h>

#include <memory>

#include "platform/display/HeadlessDisplay.h"

#include "platform/classes/Bitmap.h"
#include "platform/classes/Forms.h"
#include "raster/RS32_Image.h"
#include "raster/RS32_ImgView.h"
#include "raster/RS32_Startup.h"

namespace {
void FillMosaic(TBitmap& B) {
  B.SetPixelFormat(pf24bit);
  B.SetSize(4000, 3000);
  for (Integer Y = 0; Y < 3000; ++Y) {
    Byte* Row = static_cast<Byte*>(B.GetScanLine(Y));
    for (Integer X = 0; X < 4000 * 3; ++X) Row[X] = static_cast<Byte>(X * 5 + Y);
  }
}

// A screen large enough that the whole control is visible and copied.
void FullHdScreen() {
  InitializeRasterLibrary();
  Headless().Resize(TSize{1920, 1200});
  RunUntilIdle();
}
}  // namespace

static void BM_ImageFullRepaint1920x1080Of4000x3000(benchmark::State& State) {
  FullHdScreen();
  auto Form = std::make_unique<TForm>(nullptr);
  Form->SetBorderStyle(bsNone);
  Form->SetBounds(0, 0, 1920, 1080);
  auto* Image = new TImage32(Form.get());
  Image->SetBounds(0, 0, 1920, 1080);
  Image->SetParent(Form.get());
  Image->GetBitmap()->SetResamplerClassName("TNearestResampler");
  Image->SetBitmapAlign(baCenter);
  Image->SetScaleMode(smOptimal);
  {
    TBitmap Mosaic;
    FillMosaic(Mosaic);
    Image->GetBitmap()->Assign(&Mosaic);
  }
  Form->Show();
  RunUntilIdle();
  for (auto _ : State) {
    Image->ForceFullRepaint();
    Image->Paint();
  }
  State.SetItemsProcessed(State.iterations() * 1920 * 1080);
}
BENCHMARK(BM_ImageFullRepaint1920x1080Of4000x3000)->Unit(benchmark::kMillisecond);

namespace {
// The result viewer's view over a full-HD screen, showing the 12-megapixel mosaic.
struct TViewerView {
  std::unique_ptr<TForm> Form;
  TImgView32* View = nullptr;
  TViewerView() {
    FullHdScreen();
    Form = std::make_unique<TForm>(nullptr);
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(0, 0, 1920, 1080);
    View = new TImgView32(Form.get());
    View->SetBounds(0, 0, 1920, 1080);
    View->SetParent(Form.get());
    View->GetBitmap()->SetResamplerClassName("TNearestResampler");
    TBitmap Mosaic;
    FillMosaic(Mosaic);
    View->GetBitmap()->Assign(&Mosaic);
    Form->Show();
    RunUntilIdle();
  }
};
}  // namespace

// At the fit zoom the whole picture is drawn reduced into the viewport.
static void BM_ViewerRepaintAtFitZoom4000x3000(benchmark::State& State) {
  TViewerView V;
  V.View->SetScale(1064.0f / 3000);
  RunUntilIdle();
  for (auto _ : State) {
    V.View->ForceFullRepaint();
    V.View->Paint();
  }
}
BENCHMARK(BM_ViewerRepaintAtFitZoom4000x3000)->Unit(benchmark::kMillisecond);

// One step of a drag at 100 %: the view moves and repaints.
static void BM_ViewerPanStepAt100Percent4000x3000(benchmark::State& State) {
  TViewerView V;
  Integer Step = 7;
  for (auto _ : State) {
    V.View->Scroll(Step, Step / 2);
    V.View->Paint();
    if (V.View->GetHorzBar()->GetScrollPos() <= 0 || V.View->GetHorzBar()->GetScrollPos() >= 2000)
      Step = -Step;
  }
}
BENCHMARK(BM_ViewerPanStepAt100Percent4000x3000)->Unit(benchmark::kMillisecond);

// The display of a finished mosaic: a full repaint of a full-HD image control showing a
// 12-megapixel bitmap as the main window shows it (nearest resampler, centred, optimal fit).
// Every paint stage runs into the back buffer, then the buffer is copied onto the window.
#include <benchmark/benchmark.h>

#include <memory>

#include "platform/display/HeadlessDisplay.h"

#include "platform/classes/Bitmap.h"
#include "platform/classes/Forms.h"
#include "raster/RS32_Image.h"
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

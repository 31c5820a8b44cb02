// Hot paths of the software rasterizer on large DIB sections.
#include <benchmark/benchmark.h>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Dib.h"
#include "platform/gdi/Painting.h"

namespace {

struct TBenchCanvas {
  HDC DC;
  HBITMAP Bitmap;
  TBenchCanvas(Integer W, Integer H, Integer Bpp) {
    BITMAPINFO Info;
    Info.bmiHeader.biWidth = W;
    Info.bmiHeader.biHeight = H;
    Info.bmiHeader.biBitCount = static_cast<WORD>(Bpp);
    DC = CreateCompatibleDC(nullptr);
    Bitmap = CreateDIBSection(DC, &Info, DIB_RGB_COLORS, nullptr, nullptr, 0);
    SelectObject(DC, Bitmap);
    const RECT R{0, 0, W, H};
    FillRect(DC, &R, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  }
  ~TBenchCanvas() {
    DeleteDC(DC);
    DeleteObject(Bitmap);
  }
};

void BM_FloodFill24(benchmark::State& State) {
  TBenchCanvas C(4000, 3000, 24);
  HBRUSH Brushes[2] = {CreateSolidBrush(RGB(10, 20, 30)), CreateSolidBrush(RGB(255, 255, 255))};
  const COLORREF Colors[2] = {RGB(255, 255, 255), RGB(10, 20, 30)};
  Integer I = 0;
  for (auto _ : State) {
    SelectObject(C.DC, Brushes[I]);
    benchmark::DoNotOptimize(ExtFloodFill(C.DC, 2000, 1500, Colors[I], FLOODFILLSURFACE));
    I ^= 1;
  }
  SelectObject(C.DC, GetStockObject(WHITE_BRUSH));
  DeleteObject(Brushes[0]);
  DeleteObject(Brushes[1]);
  State.SetItemsProcessed(State.iterations() * 4000 * 3000);
}
BENCHMARK(BM_FloodFill24)->Unit(benchmark::kMillisecond);

void BM_FloodFillBorder24(benchmark::State& State) {
  TBenchCanvas C(4000, 3000, 24);
  HBRUSH Brushes[2] = {CreateSolidBrush(RGB(10, 20, 30)), CreateSolidBrush(RGB(255, 255, 255))};
  Integer I = 0;
  for (auto _ : State) {
    SelectObject(C.DC, Brushes[I]);
    benchmark::DoNotOptimize(FloodFill(C.DC, 2000, 1500, RGB(0, 0, 0)));
    I ^= 1;
  }
  SelectObject(C.DC, GetStockObject(WHITE_BRUSH));
  DeleteObject(Brushes[0]);
  DeleteObject(Brushes[1]);
  State.SetItemsProcessed(State.iterations() * 4000 * 3000);
}
BENCHMARK(BM_FloodFillBorder24)->Unit(benchmark::kMillisecond);

void BM_FillRect(benchmark::State& State) {
  const Integer Bpp = static_cast<Integer>(State.range(0));
  TBenchCanvas C(4000, 3000, Bpp);
  HBRUSH Brush = CreateSolidBrush(RGB(1, 2, 3));
  const RECT R{0, 0, 4000, 3000};
  for (auto _ : State) benchmark::DoNotOptimize(FillRect(C.DC, &R, Brush));
  DeleteObject(Brush);
  State.SetItemsProcessed(State.iterations() * 4000 * 3000);
}
BENCHMARK(BM_FillRect)->Arg(24)->Arg(32)->Arg(8)->Unit(benchmark::kMillisecond);

// A wire frame as the mosaic generators draw it: lines every 8 pixels both ways and diagonals.
void BM_LineToGrid(benchmark::State& State) {
  TBenchCanvas C(4000, 3000, 24);
  for (auto _ : State) {
    for (Integer Y = 0; Y < 3000; Y += 8) {
      MoveToEx(C.DC, 0, Y, nullptr);
      LineTo(C.DC, 4000, Y);
    }
    for (Integer X = 0; X < 4000; X += 8) {
      MoveToEx(C.DC, X, 0, nullptr);
      LineTo(C.DC, X, 3000);
    }
    for (Integer X = -3000; X < 4000; X += 64) {
      MoveToEx(C.DC, X, 0, nullptr);
      LineTo(C.DC, X + 3000, 3000);
    }
  }
}
BENCHMARK(BM_LineToGrid)->Unit(benchmark::kMillisecond);

void BM_WideLines(benchmark::State& State) {
  TBenchCanvas C(2000, 2000, 24);
  HPEN Pen = CreatePen(PS_SOLID, 3, 0);
  SelectObject(C.DC, Pen);
  for (auto _ : State) {
    for (Integer I = 0; I < 2000; I += 20) {
      MoveToEx(C.DC, 0, I, nullptr);
      LineTo(C.DC, 2000 - I, 2000);
    }
  }
  SelectObject(C.DC, GetStockObject(BLACK_PEN));
  DeleteObject(Pen);
}
BENCHMARK(BM_WideLines)->Unit(benchmark::kMillisecond);

void BM_Ellipses(benchmark::State& State) {
  TBenchCanvas C(2000, 2000, 24);
  for (auto _ : State)
    for (Integer I = 0; I < 100; ++I) Ellipse(C.DC, I * 10, I * 10, 2000 - I * 10, 2000 - I * 5);
}
BENCHMARK(BM_Ellipses)->Unit(benchmark::kMillisecond);

}  // namespace

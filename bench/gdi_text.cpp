#include <benchmark/benchmark.h>

#include "platform/gdi/Dib.h"
#include "platform/gdi/Text.h"

namespace {

// A 32-bit memory DC with Liberation Sans (through "Arial") at 13 pixels selected.
struct TBenchDC {
  HDC DC = CreateCompatibleDC(nullptr);
  HBITMAP Bitmap;
  HFONT Font;
  explicit TBenchDC(BYTE Quality) {
    BITMAPINFO Info;
    Info.bmiHeader.biWidth = 640;
    Info.bmiHeader.biHeight = -200;
    Info.bmiHeader.biBitCount = 32;
    Bitmap = CreateDIBSection(DC, &Info, DIB_RGB_COLORS, nullptr, nullptr, 0);
    SelectObject(DC, Bitmap);
    LOGFONTA F;
    F.lfHeight = -13;
    F.lfFaceName = "Arial";
    F.lfQuality = Quality;
    Font = CreateFontIndirect(&F);
    SelectObject(DC, Font);
    SetBkMode(DC, TRANSPARENT);
  }
  ~TBenchDC() {
    DeleteDC(DC);
    DeleteObject(Bitmap);
    DeleteObject(Font);
  }
};

const char Line[] = "The quick brown fox jumps over a lazy dog";  // 40 characters + 1

void BM_TextOutLine(benchmark::State& State) {
  TBenchDC B(static_cast<BYTE>(State.range(0)));
  for (auto _ : State) TextOut(B.DC, 5, 5, Line, 40);
  State.SetItemsProcessed(State.iterations() * 40);
}
BENCHMARK(BM_TextOutLine)->Arg(DEFAULT_QUALITY)->Arg(NONANTIALIASED_QUALITY);

void BM_TextExtentLine(benchmark::State& State) {
  TBenchDC B(DEFAULT_QUALITY);
  SIZE Size;
  for (auto _ : State) {
    GetTextExtentPoint32(B.DC, Line, 40, &Size);
    benchmark::DoNotOptimize(Size);
  }
}
BENCHMARK(BM_TextExtentLine);

void BM_DrawTextParagraph(benchmark::State& State) {
  TBenchDC B(DEFAULT_QUALITY);
  const char* Paragraph =
      "Pictures become mosaics of small tiles: every cell of the grid is matched against the tile "
      "library by colour, the best tile is placed, and the result is blended with the original so "
      "that the whole picture stays visible from a distance while each tile can be seen up close.";
  const bool Calc = State.range(0) != 0;
  for (auto _ : State) {
    RECT R{10, 10, 330, 190};
    benchmark::DoNotOptimize(DrawText(B.DC, Paragraph, -1, &R, DT_WORDBREAK | (Calc ? DT_CALCRECT : 0)));
  }
}
BENCHMARK(BM_DrawTextParagraph)->Arg(0)->Arg(1);

}  // namespace

// The regions of a line drawing become cells.
#include "app/Functions.h"
#include "app/Main.h"
#include "app/PatternHost.h"
#include "app/Patterns.h"
#include "platform/classes/Bitmap.h"
#include "platform/system/Math.h"

namespace {
// The copy marks a region found; a white mark would leave it to be found again.
constexpr TColor WhiteMark = static_cast<TColor>(0xFEFEFE);
}  // namespace

void TForm1::Colorize(TBitmap* Bitmap) {
  ColorizeDrawing(*this, Bitmap);
}

void ColorizeDrawing(TPatternHost& Host, TBitmap* Bitmap) {
  TBitmap Copy;
  CopyBitmap(Bitmap, &Copy);
  const TBitmapRows Rows(&Copy);
  Host.SetProgressLimit(Rows.Height);
  SeedCount = 0;
  const bool Colors = Host.PatternColorsOn();
  const Single Mode = Host.PatternColorMode();
  TCanvas* Marks = Copy.GetCanvas();
  TCanvas* Canvas = Bitmap->GetCanvas();
  for (Integer Y = 0; Y < Rows.Height; ++Y) {
    const Byte* P = Rows[Y];
    for (Integer X = 0; X < Rows.Width; ++X, P += 3) {
      if ((P[0] & P[1] & P[2]) != 255) continue;
      AddSeed(X, Y);
      const TColor C = NextPatternColor(Mode);
      Marks->GetBrush()->SetColor(C == clWhite ? WhiteMark : C);
      FillCell(&Copy, X, Y);
      if (Colors) {
        Canvas->GetBrush()->SetColor(C);
        FillCell(Bitmap, X, Y);
      }
    }
    if (AbortRequested == 1) return;
    Host.ShowProgress(Y);
    Host.LetMessagesRun();
  }
  if (Colors) {
    const Integer S = PatternSize, Half = static_cast<Integer>(Round(static_cast<Extended>(S) / 2));
    const TPoint Points[5] = {{2, 2}, {S - 2, 2}, {2, S - 2}, {S - 2, S - 2}, {Half, Half}};
    Canvas->GetBrush()->SetColor(clWhite);
    const TBitmapRows Result(Bitmap);
    for (const TPoint& Point : Points) {
      if (Point.X < 0 || Point.Y < 0 || Point.X >= Result.Width || Point.Y >= Result.Height) continue;
      // Every region was flooded whole, so one that shows white here is white throughout.
      if (PixelColor(Result[Point.Y] + 3 * Point.X) != clWhite) FillCell(Bitmap, Point.X, Point.Y);
    }
  }
  Host.ShowProgress(0);
}

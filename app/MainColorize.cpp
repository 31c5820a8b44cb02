// The regions of a line drawing become cells.
#include <cstring>
#include <vector>

#include "app/CellFill.h"
#include "app/Functions.h"
#include "app/Main.h"
#include "app/PatternHost.h"
#include "app/Patterns.h"
#include "platform/classes/Bitmap.h"
#include "platform/system/Math.h"

void TForm1::Colorize(TBitmap* Bitmap) {
  ColorizeDrawing(*this, Bitmap);
}

void ColorizeDrawing(TPatternHost& Host, TBitmap* Bitmap) {
  const TBitmapRows Rows(Bitmap);
  Host.SetProgressLimit(Rows.Height);
  SeedCount = 0;
  const bool Colors = Host.PatternColorsOn();
  const Single Mode = Host.PatternColorMode();
  // A region once found is marked here, not in a copy of the drawing: its pixels may be
  // painted white again and must not be found twice.
  const std::size_t Width = static_cast<std::size_t>(Max(Rows.Width, 0));
  std::vector<Byte> Found(Width * static_cast<std::size_t>(Max(Rows.Height, 0)), 0);
  TCellFill& Cell = SharedCellFill();
  Cell.Bind(Bitmap);
  for (Integer Y = 0; Y < Rows.Height; ++Y) {
    const Byte* P = Rows[Y];
    const Byte* Seen = Found.data() + Y * Width;
    for (Integer X = 0; X < Rows.Width; ++X, P += 3) {
      if ((P[0] & P[1] & P[2]) != 255 || Seen[X] != 0) continue;
      AddSeed(X, Y);
      const TColor C = NextPatternColor(Mode);
      Cell.Find(X, Y);
      for (const TCellFill::TRun& Run : Cell.Runs())
        std::memset(Found.data() + Run.Y * Width + static_cast<std::size_t>(Run.Left), 1,
                    static_cast<std::size_t>(Run.Right - Run.Left));
      if (Colors) Cell.Repaint(static_cast<TColor>(ColorToRGB(C)));
    }
    if (AbortRequested == 1) return;
    Host.ShowProgress(Y);
    Host.LetMessagesRun();
  }
  if (Colors) {
    const Integer S = PatternSize, Half = static_cast<Integer>(Round(static_cast<Extended>(S) / 2));
    const TPoint Points[5] = {{2, 2}, {S - 2, 2}, {2, S - 2}, {S - 2, S - 2}, {Half, Half}};
    Bitmap->GetCanvas()->GetBrush()->SetColor(clWhite);
    const TBitmapRows Result(Bitmap);
    for (const TPoint& Point : Points) {
      if (Point.X < 0 || Point.Y < 0 || Point.X >= Result.Width || Point.Y >= Result.Height) continue;
      // Every region was flooded whole, so one that shows white here is white throughout.
      if (PixelColor(Result[Point.Y] + 3 * Point.X) != clWhite) FillCell(Bitmap, Point.X, Point.Y);
    }
  }
  Host.ShowProgress(0);
}

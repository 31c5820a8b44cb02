// The drawing square of the kaleidoscope and free drawing.
#include "app/Drawing.h"

#include "app/Main.h"
#include "app/PatternHost.h"
#include "app/Patterns.h"
#include "platform/classes/Bitmap.h"
#include "platform/classes/Canvas.h"
#include "platform/system/Math.h"

// Red, blue, black, maroon, green, navy, teal, olive.
const TColor DrawingImageColors[DrawingImageCount] = {255, 16711680, 0, 128, 32768, 8388608, 8421376, 32896};

TDrawingSymmetry TDrawingSymmetry::Current() {
  TDrawingSymmetry S;
  S.FCx = PatternSize / 2;
  S.FCy = PatternSize / 2;
  S.FWhich[S.FCount++] = 0;
  if (PatternType != ptKaleidoscope) return S;
  const Integer Images = PatternHost().KaleidoImages();
  const bool Mirrors = Images == 8;
  S.FWhich[S.FCount++] = 1;
  if (Mirrors) {
    S.FWhich[S.FCount++] = 2;
    S.FWhich[S.FCount++] = 3;
  }
  if (Images != 2) {
    S.FWhich[S.FCount++] = 4;
    S.FWhich[S.FCount++] = 5;
    if (Mirrors) {
      S.FWhich[S.FCount++] = 6;
      S.FWhich[S.FCount++] = 7;
    }
  }
  return S;
}

TPoint TDrawingSymmetry::Image(Integer I, TPoint P) const {
  const Integer Cx = FCx, Cy = FCy;
  switch (I) {
    case 1:
      return {2 * Cx - P.X, 2 * Cy - P.Y};
    case 2:
      return {P.X, 2 * Cy - P.Y};
    case 3:
      return {2 * Cx - P.X, P.Y};
    case 4:
      return {Cx + Cy - P.Y, Cy - Cx + P.X};
    case 5:
      return {Cx - Cy + P.Y, Cx + Cy - P.X};
    case 6:
      return {Cx + Cy - P.Y, Cx + Cy - P.X};
    case 7:
      return {Cx - Cy + P.Y, Cy - Cx + P.X};
    default:
      return P;
  }
}

void DrawPictureArea(TColor PenColor) {
  if (SourceLoaded != 1) return;
  const Extended S = PatternSize;
  const Extended W = SourceBitmap->GetWidth(), H = SourceBitmap->GetHeight();
  auto R = [](Extended V) { return static_cast<Integer>(Round(V)); };
  TCanvas* Canvas = DrawingBitmap->GetCanvas();
  Canvas->GetPen()->SetColor(PenColor);
  Canvas->GetBrush()->SetStyle(bsSolid);
  Canvas->GetBrush()->SetColor(clWhite);
  Canvas->Rectangle(R((S - W) / 2) + 10, R((S - H) / 2) + 10, R((W + S) / 2) - 10, R((H + S) / 2) - 10);
  Canvas->GetPen()->SetColor(clWhite);
}

void ResetDrawingArea() {
  NodeCount = Max(CellsX + 1, CellsY + 1);
  PatternSize = NodeCount * GridPx;
  // A stroke in progress keeps its canvases.
  if (DrawingActive == 1) return;
  const Integer S = PatternSize;
  for (TBitmap* B : {ResultBitmap.get(), DrawingBitmap.get(), DrawingHistoryBitmap.get()}) {
    // The outline is whatever pen the canvas holds now.
    TCanvas* Canvas = B->GetCanvas();
    Canvas->GetBrush()->SetStyle(bsSolid);
    Canvas->GetBrush()->SetColor(clWhite);
    B->SetSize(S, S);
    Canvas->Rectangle(0, 0, S, S);
  }
  TPatternHost& Host = PatternHost();
  Host.ResetDrawingPanel();
  if (Host.PictureAreaOn()) DrawPictureArea(clLime);
  if (PatternType == ptKaleidoscope || PatternType == ptFreeDrawing) Host.ShowPicture(DrawingBitmap.get());
}

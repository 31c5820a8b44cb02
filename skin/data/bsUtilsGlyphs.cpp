// Caption button glyphs drawn when a skin has no picture for them.
#include "skin/data/bsUtils.h"
#include "skin/data/bsUtilsDraw.h"

using namespace bsUtilsDraw;

namespace {

void OutlineRects(TCanvas* Cnvs, TColor Color, std::initializer_list<TRect> Rects) {
  Cnvs->GetPen()->SetColor(Color);
  Cnvs->GetBrush()->SetStyle(bsClear);
  for (const TRect& R : Rects) Cnvs->Rectangle(R);
}

}  // namespace

void DrawSysMenuGlyph(TCanvas* Cnvs, Integer X, Integer Y, TColor Color) {
  OutlineRects(Cnvs, Color, {Rect(X + 1, Y + 3, X + 9, Y + 6)});
}

void DrawMinimizeGlyph(TCanvas* Cnvs, Integer X, Integer Y, TColor Color) {
  Cnvs->GetPen()->SetColor(Color);
  Line(Cnvs, X + 1, Y + 8, X + 9, Y + 8);
  Line(Cnvs, X + 1, Y + 9, X + 9, Y + 9);
}

void DrawMaximizeGlyph(TCanvas* Cnvs, Integer X, Integer Y, TColor Color) {
  OutlineRects(Cnvs, Color, {Rect(X, Y, X + 11, Y + 10), Rect(X, Y, X + 11, Y + 2)});
}

void DrawRestoreGlyph(TCanvas* Cnvs, Integer X, Integer Y, TColor Color) {
  OutlineRects(Cnvs, Color,
               {Rect(X + 2, Y, X + 10, Y + 6), Rect(X + 2, Y, X + 10, Y + 2), Rect(X, Y + 4, X + 7, Y + 10),
                Rect(X, Y + 4, X + 7, Y + 6)});
}

// The rows of both triangles include both ends, so that they stay symmetric and keep their tip.
void DrawRollDownGlyph(TCanvas* Cnvs, Integer X, Integer Y, TColor Color) {
  Cnvs->GetPen()->SetColor(Color);
  for (Integer I = 0; I <= 4; ++I) Line(Cnvs, X + 5 - I, Y + 6 - I, X + 6 + I, Y + 6 - I);
}

void DrawRollUpGlyph(TCanvas* Cnvs, Integer X, Integer Y, TColor Color) {
  Cnvs->GetPen()->SetColor(Color);
  for (Integer I = 0; I <= 4; ++I) Line(Cnvs, X + 1 + I, Y + 6 - I, X + 10 - I, Y + 6 - I);
}

void DrawMinimizeToTrayGlyph(TCanvas* Cnvs, Integer X, Integer Y, TColor Color) {
  Cnvs->GetPen()->SetColor(Color);
  Cnvs->GetBrush()->SetStyle(bsSolid);
  Cnvs->GetBrush()->SetColor(Color);
  Cnvs->Rectangle(X + 2, Y + 2, X + 7, Y + 7);
}

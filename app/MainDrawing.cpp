// Kaleidoscope and free drawing: strokes drawn with the mouse on the result, repeated with the
// chosen symmetry, become the pattern when submitted.
#include <algorithm>
#include <utility>
#include <vector>

#include "app/BusyScope.h"
#include "app/Drawing.h"
#include "app/Functions.h"
#include "app/Main.h"
#include "app/Patterns.h"
#include "platform/classes/Bitmap.h"
#include "platform/classes/Canvas.h"
#include "platform/system/Math.h"
#include "raster/RS32.h"
#include "raster/RS32_Image.h"
#include "skin/controls/bsSkinCtrls.h"

namespace {
// The points of the stroke being drawn (SeedCount of them while drawing); it grows as long as
// the stroke goes on.
std::vector<TPoint> Stroke;
// Image1 shows DrawingBitmap as it was when the stroke began, so a point only needs its own
// part copied.
bool DrawingShown = false;

bool IsDrawingType() {
  return PatternType == ptKaleidoscope || PatternType == ptFreeDrawing;
}

// The point of the drawing square under the mouse position (X, Y) of Image: the square is
// shown shrunk to fit the control and never enlarged.
TPoint DrawingPoint(TImage32* Image, Integer X, Integer Y) {
  const TRect R = Image->CalcBitmapRect();
  const Extended Size = PatternSize;
  const Extended S = Max(Max(Size / Max(Image->GetWidth(), 1), Size / Max(Image->GetHeight(), 1)), 1.0L);
  return {static_cast<Integer>(Round((X - R.Left) * S)), static_cast<Integer>(Round((Y - R.Top) * S))};
}

// Image shows DrawingBitmap again. While a stroke goes on only Area is copied; the whole
// bitmap when the view may have changed since the stroke began (a build runs meanwhile).
void ShowDrawing(TImage32* Image, TRect Area) {
  TBitmap32* Shown = Image->GetBitmap();
  TBitmap* B = DrawingBitmap.get();
  const Integer W = B->GetWidth(), H = B->GetHeight();
  if (!DrawingShown || Busy == 1 || Shown->GetWidth() != W || Shown->GetHeight() != H) {
    Shown->Assign(B);
    DrawingShown = DrawingActive == 1 && Busy == 0;
    return;
  }
  Area = {Max(Area.Left, 0), Max(Area.Top, 0), Min(Area.Right, W), Min(Area.Bottom, H)};
  if (Area.Left >= Area.Right || Area.Top >= Area.Bottom) return;
  const TBitmapRows Rows(B);
  for (Integer Y = Area.Top; Y < Area.Bottom; ++Y)
    Convert24To32Row(Rows[Y] + 3 * Area.Left, Shown->PixelAddress(Area.Left, Y), Area.Width());
  Shown->AreaChanged(Area, AreaInfoRect);
}
}  // namespace

void SetDrawingStroke(std::vector<TPoint> Points) {
  Stroke = std::move(Points);
}

void TForm1::ImageMouseDown(TObject*, TMouseButton Button, TShiftState, Integer X, Integer Y, TCustomLayer*) {
  // Only the left button holds the mouse until it is released.
  if (Button != mbLeft) return;
  SetDoubleBuffered(true);
  const Integer R = LineWidth();
  DrawingBitmap->GetCanvas()->GetPen()->SetWidth(R);
  DrawingHistoryBitmap->GetCanvas()->GetPen()->SetWidth(R);
  // Shown first, so that the point is taken on the drawing and not on a cropped result.
  Image1->GetBitmap()->Assign(DrawingBitmap.get());
  const TPoint P = DrawingPoint(Image1, X, Y);
  DrawingBitmap->GetCanvas()->MoveTo(P.X, P.Y);
  DrawingActive = 1;
  DrawingShown = Busy == 0;
  ResetDrawingArea();
  SeedCount = 0;
  Stroke.clear();
}

void TForm1::ImageMouseMove(TObject*, TShiftState, Integer X, Integer Y, TCustomLayer*) {
  if (DrawingActive != 1) return;
  const TPoint P = DrawingPoint(Image1, X, Y);
  ++SeedCount;
  ++PointCount;
  const Integer R = LineWidth();
  TCanvas* Canvas = DrawingBitmap->GetCanvas();
  const TDrawingSymmetry Symmetry = TDrawingSymmetry::Current();
  TRect Dirty{P.X, P.Y, P.X, P.Y};
  for (Integer K = 0; K < Symmetry.Count(); ++K) {
    const Integer I = Symmetry.Which(K);
    const TPoint Q = Symmetry.Image(I, P);
    Canvas->GetPen()->SetColor(DrawingImageColors[I]);
    Canvas->Ellipse(Q.X - R, Q.Y - R, Q.X + R, Q.Y + R);
    Dirty = {Min(Dirty.Left, Q.X), Min(Dirty.Top, Q.Y), Max(Dirty.Right, Q.X), Max(Dirty.Bottom, Q.Y)};
  }
  // The dot reaches R beyond the point, and its outline half the pen width further.
  const Integer Reach = 2 * R + 2;
  ShowDrawing(Image1, {Dirty.Left - Reach, Dirty.Top - Reach, Dirty.Right + Reach, Dirty.Bottom + Reach});
  KaleidoPoints.resize(static_cast<std::size_t>(PointCount) + 1);
  KaleidoPoints[static_cast<std::size_t>(PointCount) - 1] = P;
  Stroke.push_back(P);
}

void TForm1::ImageMouseUp(TObject*, TMouseButton Button, TShiftState, Integer, Integer, TCustomLayer*) {
  // A release without a stroke (the press was elsewhere) is no drawing.
  if (Button != mbLeft || DrawingActive != 1) return;
  SetDoubleBuffered(false);
  DrawingActive = 0;
  DrawingShown = false;
  DrawHistory();
  if (KaleidoColors->GetChecked())
    SubmitBitmap(Image1);
  else
    Image1->GetBitmap()->Assign(DrawingHistoryBitmap.get());
  UpdateBtn->SetEnabled(false);
}

void TForm1::DrawHistory() {
  TCanvas* Canvas = DrawingHistoryBitmap->GetCanvas();
  Canvas->GetPen()->SetColor(clBlack);
  // SeedCount is the stroke's length unless a build counted its cells meanwhile.
  const std::size_t N = std::min(static_cast<std::size_t>(Max(SeedCount, 0)), Stroke.size());
  if (N == 0) return;
  const TDrawingSymmetry Symmetry = TDrawingSymmetry::Current();
  for (Integer K = 0; K < Symmetry.Count(); ++K) {
    const Integer I = Symmetry.Which(K);
    const TPoint First = Symmetry.Image(I, Stroke[0]);
    Canvas->MoveTo(First.X, First.Y);
    for (std::size_t J = 1; J < N; ++J) {
      const TPoint Q = Symmetry.Image(I, Stroke[J]);
      Canvas->LineTo(Q.X, Q.Y);
    }
  }
}

void TForm1::CreatePictureArea(TObject*) {
  DrawPictureArea(ShowPictArea->GetChecked() ? clLime : clWhite);
}

void TForm1::EraseKaleidoscope(TObject*) {
  // The recorded points stay: a project save still writes them.
  for (TBitmap* B : {DrawingBitmap.get(), DrawingHistoryBitmap.get()}) {
    TCanvas* Canvas = B->GetCanvas();
    Canvas->GetPen()->SetColor(clWhite);
    Canvas->GetBrush()->SetStyle(bsSolid);
    Canvas->GetBrush()->SetColor(clWhite);
    Canvas->Rectangle(0, 0, B->GetWidth(), B->GetHeight());
  }
  Image1->GetBitmap()->Assign(DrawingBitmap.get());
}

void TForm1::SubmitBitmap(TObject* Sender) {
  // Only the build's own submit may run while a build or another submit is busy: anything else
  // would replace ResultBitmap under its feet.
  if (Busy == 1 && Sender != UpdateBtn) return;
  PatternColors->SetChecked(true);
  if (SourceLoaded == 1) {
    FrameOnly->SetChecked(false);
    PatternColors->SetChecked(false);
    KaleidoPattern->SetChecked(true);
  }
  {
    const TBusyScope Submitting;
    CopyBitmap(DrawingHistoryBitmap.get(), ResultBitmap.get());
    Colorize(ResultBitmap.get());
  }
  Image1->GetBitmap()->Assign(ResultBitmap.get());
  KaleidoColors->SetEnabled(true);
  KaleidoPattern->SetChecked(true);
  if (SourceLoaded == 1) {
    UpdateBtn->SetEnabled(true);
    if (Automatic->GetChecked()) CreateMosaic(UpdateBtn);
  }
}

void TForm1::SelectView(TObject*) {
  // The view choice belongs to the drawing; a reset of the drawing square while another type
  // is chosen leaves that type's result on view.
  if (!IsDrawingType()) return;
  if (KaleidoPattern->GetChecked()) Image1->GetBitmap()->Assign(DrawingHistoryBitmap.get());
  if (KaleidoColors->GetChecked()) Image1->GetBitmap()->Assign(ResultBitmap.get());
}

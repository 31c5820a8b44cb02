// Drawing the selection: marching ants along the polygons or the mask's border, grips, the
// selection grid and the rubber line on the view's canvas, and the filled or marked-outside
// selection in the back buffer.
#include <algorithm>
#include <memory>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iegdiplus.h"
#include "imaging/view/zezudidview.h"
#include "imaging/view/zezudidviewselection.h"
#include "platform/classes/Bitmap.h"
#include "platform/classes/Canvas.h"
#include "platform/classes/Timer.h"
#include "platform/gdi/Painting.h"
#include "platform/system/Clock.h"
#include "platform/system/Exceptions.h"
#include "platform/system/Math.h"

namespace {

// One line of ants: the record's phase runs on across its lines.
struct TAntsWalk {
  TIESelPolygon* Polygon;
  TCanvas* Canvas;
  TRect Clip;
};

void DrawAntPixel(Integer X, Integer Y, LPARAM Data) {
  TAntsWalk& Walk = *reinterpret_cast<TAntsWalk*>(Data);
  TIESelPolygon& P = *Walk.Polygon;
  if (X >= Walk.Clip.Left && X < Walk.Clip.Right && Y >= Walk.Clip.Top && Y < Walk.Clip.Bottom) {
    const TColor Color = IEAntsFirstColor(P.AntsPhase) ? P.Color1 : P.Color2;
    P.AntsScanline[0] = GetBValue(Color);
    P.AntsScanline[1] = GetGValue(Color);
    P.AntsScanline[2] = GetRValue(Color);
    Walk.Canvas->Draw(X, Y, P.AntsBitmap);
  }
  P.AntsPhase = IEAntsNextPhase(P.AntsPhase);
}

// The anti-aliased interface cannot draw on every device context (a window's has no bitmap
// behind it here); the grips are then drawn by the canvas itself rather than not at all.
std::unique_ptr<TIECanvas> AntiAliasedCanvas(TCanvas* Canvas) {
  try {
    return std::make_unique<TIECanvas>(Canvas, true, true);
  } catch (const Exception&) {
    return std::make_unique<TIECanvas>(Canvas, false, true);
  }
}

void DrawAntsLine(TAntsWalk& Walk, TPoint From, TPoint To) {
  LineDDA(From.X, From.Y, To.X, To.Y, DrawAntPixel, reinterpret_cast<LPARAM>(&Walk));
}

}  // namespace

void TZezudIdView::DrawSelection(TObject* Sender, bool FromTimer) {
  const bool FromPaint = Sender == this;
  bool AnyAnimated = false;
  for (const TIESelPolygonPtr& Record : FSelectionPolygons) {
    TIESelPolygon* P = Record.get();
    if (!P->Visible) continue;
    if (P->Animated) {
      AnyAnimated = true;
      if (FromTimer && !SelectionDragging()) {
        P->AntsTick = IEAntsNextTick(P->AntsTick);
        ++FAntsPhase;
      }
    }
    TCanvas* Canvas = P->Canvas;
    if (!Canvas || (Canvas == GetCanvas() && !HandleAllocated())) continue;
    const TRect Clip = Canvas->GetClipRect();
    if (Clip.Right <= Clip.Left || Clip.Bottom <= Clip.Top || FPaintLock > 0 || FAutoScrolling) continue;
    if (Canvas->GetLockCount() > 0 && !FromPaint) continue;
    if (!FAntsBitmap) CreateAntsBitmap();
    if (P->Sizeable && P->IsRect() && FMoveIndex < 0 && !FRectSelecting) DrawSelectionGrips(*P, Canvas);
    if (P == FSelection && !FSelectionMask->IsEmpty() && !SelectionDragging())
      DrawSelectionBorder(*P, Canvas);
    else
      DrawPolygonAnts(*P, Canvas, Clip);
  }
  if (GetOwner() == nullptr && !HasParentWindow()) return;
  CreateSelectionTimer();
  FSelectionTimer->SetEnabled(FFilterDelay > 0 || FBorderDelay > 0 || AnyAnimated);
  if (!FromTimer) return;
  if (FFilterDelay > 0 && --FFilterDelay == 0) Update();
  if (FBorderDelay > 0) --FBorderDelay;
}

void TZezudIdView::RecordCornersOnClient(const TIESelPolygon& P, TPoint (&Corners)[4]) {
  const TPoint TopLeft = SelectionToClient(P.X1, P.Y1), BottomRight = SelectionToClient(P.X2, P.Y2);
  Corners[0] = TopLeft;
  Corners[1] = {BottomRight.X, TopLeft.Y};
  Corners[2] = BottomRight;
  Corners[3] = {TopLeft.X, BottomRight.Y};
}

void TZezudIdView::DrawSelectionGrips(const TIESelPolygon& P, TCanvas* Canvas) {
  TPoint Corners[4];
  RecordCornersOnClient(P, Corners);
  const Integer Left = Corners[0].X, Top = Corners[0].Y, Right = Corners[2].X, Bottom = Corners[2].Y;
  std::vector<TPoint> Grips(Corners, Corners + 4);
  if (FSelSideGrips) {
    const Integer MidX = (Left + Right) / 2, MidY = (Top + Bottom) / 2;
    Grips.insert(Grips.end(), {{Left, MidY}, {Right, MidY}, {MidX, Top}, {MidX, Bottom}});
  }
  {
    std::unique_ptr<TIECanvas> Grip = AntiAliasedCanvas(Canvas);
    Grip->GetBrush()->SetStyle(static_cast<TBrushStyle>(FSelGripBrushStyle));
    Grip->GetBrush()->SetColor(FSelGripBrushColor);
    Grip->GetPen()->SetColor(FSelGripPenColor);
    const Integer S = FSelGripSize;
    for (const TPoint& C : Grips) {
      if (FSelGripRound)
        Grip->Ellipse(C.X - S, C.Y - S, C.X + S, C.Y + S);
      else
        Grip->Rectangle(C.X - S, C.Y - S, C.X + S, C.Y + S);
    }
  }
  DrawSelectionGrid(Left, Top, Right, Bottom);
}

void TZezudIdView::DrawSelectionBorder(const TIESelPolygon& P, TCanvas* Canvas) {
  if (FSkipBorderWhileScrolling && FBorderDelay > 0) return;
  TIELayer* Layer = GetCurrentLayer();
  if (!Layer) return;
  const TIELayerDrawGeometry& G = Layer->DrawGeometry;
  const DWORD Start = GetTickCount();
  FSelectionMask->DrawBorder(Canvas, G.DestX, G.DestY, G.DestWidth, G.DestHeight, G.SrcX, G.SrcY, G.SrcWidth,
                             G.SrcHeight, FAntsPhase, P.Color1, P.Color2, &FLinkedFrameRect);
  const DWORD Elapsed = GetTickCount() - Start;
  // The timer slows down on pictures whose border takes long to draw.
  if (FTimerAutoRate < 0 && (GetOwner() != nullptr || HasParentWindow())) {
    CreateSelectionTimer();
    const Integer Interval =
        static_cast<Integer>(Trunc(static_cast<Extended>(Elapsed) * 100 / -FTimerAutoRate));
    FSelectionTimer->SetInterval(static_cast<Cardinal>(std::max(210, Interval)));
  }
}

void TZezudIdView::DrawPolygonAnts(TIESelPolygon& P, TCanvas* Canvas, const TRect& Clip) {
  P.AntsPhase = P.AntsTick;
  TAntsWalk Walk{&P, Canvas, Clip};
  const auto Report = [&](Integer Index, TPoint Vertex) {
    if (OnDrawPolygon) OnDrawPolygon(this, Canvas, Index, Vertex);
  };
  if (P.IsRect()) {
    TPoint C[4];
    RecordCornersOnClient(P, C);
    // Right and bottom sides one pixel inside, where the last selected pixels lie.
    const Integer X1 = C[0].X, Y1 = C[0].Y, X2 = C[2].X - 1, Y2 = C[2].Y - 1;
    FLinkedFrameRect = {X1, Y1, X2, Y2};
    const TPoint Vertices[4] = {{X1, Y1}, {X2, Y1}, {X2, Y2}, {X1, Y2}};
    for (Integer Side = 0; Side < 4; ++Side) {
      const Integer End = (Side + 1) % 4;
      DrawAntsLine(Walk, Vertices[Side], Vertices[End]);
      Report(End, Vertices[End]);
    }
    if (FMoveIndex >= 0) DrawSelectionGrid(X1, Y1, X2, Y2);
    return;
  }
  Integer Start = 0;
  for (Integer I = 0; I <= P.Count; ++I) {
    if (I < P.Count && !P.IsBreak(I)) continue;
    // Points Start .. I - 1 form one polygon, closed unless it is still being drawn.
    const bool Closed = I < P.Count || !FPolySelecting;
    for (Integer K = Start; K < I; ++K) {
      if (K == I - 1 && !Closed) break;
      const Integer Next = K + 1 < I ? K + 1 : Start;
      const TPoint From = SelectionToClient(P.Points[K].X, P.Points[K].Y);
      DrawAntsLine(Walk, From, SelectionToClient(P.Points[Next].X, P.Points[Next].Y));
      Report(K, From);
    }
    Start = I + 1;
  }
}

void TZezudIdView::DrawSelectionGrid(Integer X1, Integer Y1, Integer X2, Integer Y2) {
  const Integer N = FSelectionGridSize;
  TCanvas* Canvas = FSelection ? FSelection->Canvas : nullptr;
  if (N < 2 || !Canvas) return;
  TPen* Pen = Canvas->GetPen();
  Pen->SetColor(0xA0A0A0);
  Pen->SetMode(pmCopy);
  Pen->SetStyle(psSolid);
  for (Integer K = 1; K < N; ++K) {
    const Integer Y = Y1 + static_cast<Integer>(static_cast<Int64>(K) * (Y2 - Y1) / N);
    const Integer X = X1 + static_cast<Integer>(static_cast<Int64>(K) * (X2 - X1) / N);
    Canvas->MoveTo(X1, Y);
    Canvas->LineTo(X2, Y);
    Canvas->MoveTo(X, Y1);
    Canvas->LineTo(X, Y2);
  }
}

void TZezudIdView::DrawRubberLine() {
  if (!FPolySelecting || FLassoSelecting || FSelection->Count == 0 || FSelection->LastIsBreak()) return;
  TCanvas* Canvas = FSelection->Canvas;
  if (!Canvas || (Canvas == GetCanvas() && !HandleAllocated())) return;
  const TPoint& Last = FSelection->Points[FSelection->Count - 1];
  const TPoint To = SelectionToClient(Last.X, Last.Y);
  TPen* Pen = Canvas->GetPen();
  Pen->SetMode(pmNot);
  Pen->SetWidth(1);
  Pen->SetStyle(psSolid);
  Canvas->MoveTo(FRubberPoint.X, FRubberPoint.Y);
  Canvas->LineTo(To.X, To.Y);
}

void TZezudIdView::DrawSelectionOnBackBuffer(TIEBitmap* Dest) {
  if (!Dest || !GetSelectionVisible() || !FSelectionActive) return;
  const bool Filled = FSelectionOptions.Contains(iesoFilled),
             MarkOuter = FSelectionOptions.Contains(iesoMarkOuter);
  TIELayer* Layer = GetCurrentLayer();
  if (!Layer || (!Filled && !MarkOuter)) return;
  const TIELayerDrawGeometry& G = Layer->DrawGeometry;
  if (Filled)
    FSelectionMask->DrawOnCanvas(Dest->GetCanvas(), G.DestX, G.DestY, G.DestWidth, G.DestHeight, G.SrcX,
                                 G.SrcY, G.SrcWidth, G.SrcHeight);
  if (MarkOuter)
    FSelectionMask->DrawOuter(Dest->GetTBitmap(), G.DestX, G.DestY, G.DestWidth, G.DestHeight, G.SrcX, G.SrcY,
                              G.SrcWidth, G.SrcHeight, FMaskOuterValue, FMaskOuterColor);
}

// The view's selection: polygon records, rectangle, ellipse, polygon and magic-wand selections,
// moving and resizing by grips, and the selection events.
#include <algorithm>
#include <cstdlib>

#include "imaging/core/iebitmap.h"
#include "imaging/proc/iemagicwand.h"
#include "imaging/view/zezudidview.h"
#include "imaging/view/zezudidviewselection.h"
#include "platform/classes/Bitmap.h"
#include "platform/classes/Timer.h"
#include "platform/system/Math.h"
#include "platform/system/ScopeExit.h"

namespace {

Integer ClampTo(Integer Value, Integer High) {
  return std::max(0, std::min(Value, High));
}

}  // namespace

// ---- Polygon records ---------------------------------------------------------------------------

TIESelPolygon* TZezudIdView::NewPolygon(TColor Color1, TColor Color2, bool Sizeable, bool Animated) {
  const bool Designing = GetComponentState().Contains(csDesigning);
  auto Polygon = std::make_unique<TIESelPolygon>();
  Polygon->Color1 = Color1;
  Polygon->Color2 = Color2;
  Polygon->Sizeable = Sizeable;
  Polygon->Animated = Animated;
  if (!Designing) Polygon->Canvas = GetCanvas();
  if (FSelectionPolygons.empty() && !Designing && (GetOwner() != nullptr || HasParentWindow())) {
    CreateAntsBitmap();
    CreateSelectionTimer();
    FSelectionTimer->SetEnabled(true);
  }
  Polygon->AntsBitmap = FAntsBitmap.get();
  Polygon->AntsScanline = static_cast<Byte*>(FAntsScanline);
  FSelectionPolygons.push_back(TIESelPolygonPtr(Polygon.release()));
  return FSelectionPolygons.back().get();
}

void TZezudIdView::CreateAntsBitmap() {
  if (FAntsBitmap) return;
  FAntsBitmap = std::make_unique<TBitmap>();
  FAntsBitmap->SetPixelFormat(pf24bit);
  FAntsBitmap->SetSize(1, 1);
  FAntsScanline = FAntsBitmap->GetScanLine(0);
  for (const TIESelPolygonPtr& Polygon : FSelectionPolygons) {
    Polygon->AntsBitmap = FAntsBitmap.get();
    Polygon->AntsScanline = static_cast<Byte*>(FAntsScanline);
  }
}

void TZezudIdView::CreateSelectionTimer() {
  if (FSelectionTimer) return;
  FSelectionTimer = new TTimer(this);
  FSelectionTimer->SetEnabled(false);
  FSelectionTimer->SetInterval(210);
  FSelectionTimer->SetOnTimer(TNotifyEvent(this, &TZezudIdView::SelectionTimer));
}

void TZezudIdView::SelectionTimer(TObject* Sender) {
  DrawSelection(Sender, true);
}

void TZezudIdView::RepaintUnlessLocked() {
  if (FPaintLock == 0) Paint();
}

void TZezudIdView::ClearPolygon(TIESelPolygon* Polygon) {
  Polygon->Clear();
  RepaintUnlessLocked();
}

void TZezudIdView::ClearPolygon() {
  ClearPolygon(FSelection);
}

void TZezudIdView::AddPolygonPoint(TIESelPolygon* Polygon, Integer X, Integer Y) {
  Polygon->AddPoint(X, Y);
  FSelectionActive = true;
}

void TZezudIdView::AddPolygonPointRepaint(TIESelPolygon* Polygon, Integer X, Integer Y) {
  AddPolygonPoint(Polygon, X, Y);
  RepaintUnlessLocked();
}

void TZezudIdView::AddPolygonBreak(TIESelPolygon* Polygon) {
  Polygon->AddBreak();
}

void TZezudIdView::RemoveLastPolygon(TIESelPolygon* Polygon) {
  if (!Polygon->RemoveLastPolygon())
    ClearPolygon(Polygon);
  else
    RepaintUnlessLocked();
}

void TZezudIdView::RemoveLastPoint(TIESelPolygon* Polygon) {
  Polygon->RemoveLastPoint();
}

void TZezudIdView::OffsetPolygon(TIESelPolygon* Polygon, Integer DX, Integer DY, bool CutBorders,
                                 Integer Width, Integer Height) {
  if (DX == 0 && DY == 0) return;
  RepaintUnlessLocked();
  Polygon->Offset(DX, DY, CutBorders, Width, Height);
}

TIESelPolygon* TZezudIdView::GetSelectionPolygon() const {
  return FSelection;
}

TPoint* TZezudIdView::GetPolySelPoints() {
  return FSelection->Points.get();
}

Integer TZezudIdView::GetPolySelCount() {
  return FSelection->Count;
}

// ---- Coordinates -------------------------------------------------------------------------------

Integer TZezudIdView::SelPictureWidth() {
  return FIEBitmap ? FIEBitmap->GetWidth() : 0;
}

Integer TZezudIdView::SelPictureHeight() {
  return FIEBitmap ? FIEBitmap->GetHeight() : 0;
}

TPoint TZezudIdView::ClientToSelection(Integer X, Integer Y) {
  TIELayer* Layer = GetCurrentLayer();
  if (!Layer) return {XScr2Bmp(X), YScr2Bmp(Y)};
  return {Layer->ScreenToBitmapX(X), Layer->ScreenToBitmapY(Y)};
}

TPoint TZezudIdView::SelectionToClient(Integer X, Integer Y) {
  TIELayer* Layer = GetCurrentLayer();
  if (!Layer) return {XBmp2Scr(X), YBmp2Scr(Y)};
  return {Layer->BitmapToScreenX(X), Layer->BitmapToScreenY(Y)};
}

TPoint TZezudIdView::SelectionPoint(Integer X, Integer Y) {
  return FSelectionBase == iesbClientArea ? ClientToSelection(X, Y) : TPoint{X, Y};
}

bool TZezudIdView::SelectionDragging() const {
  return FPolySelecting || FRectSelecting || FCircleSelecting || FRectResizing || FMoveIndex >= 0;
}

// ---- Selecting ---------------------------------------------------------------------------------

void TZezudIdView::SelectRect(Integer X1, Integer Y1, bool KeepInside, bool Constrain, Integer Operation,
                              Integer Y2, Integer X2) {
  if (X1 == X2 || Y1 == Y2) return;
  if (FSelectionBase == iesbClientArea) {
    const TPoint A = ClientToSelection(X1, Y1), B = ClientToSelection(X2, Y2);
    X1 = A.X;
    Y1 = A.Y;
    X2 = B.X;
    Y2 = B.Y;
  }
  FSelectionActive = true;
  if (Operation == 1 && FSelection->Count > 0)
    AddPolygonBreak(FSelection);
  else
    ClearPolygon();
  if (Operation == 0) FSelectionMask->Empty();
  const TRect R = IESelectionRect(X1, Y1, X2, Y2, KeepInside, Constrain, FSelectionAspectRatio,
                                  SelPictureWidth(), SelPictureHeight());
  AddPolygonPoint(FSelection, R.Left, R.Top);
  AddPolygonPoint(FSelection, R.Right, R.Top);
  AddPolygonPoint(FSelection, R.Right, R.Bottom);
  AddPolygonPoint(FSelection, R.Left, R.Bottom);
  ShowSelection(true);
}

void TZezudIdView::Select(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer Operation) {
  const bool Linked = FIsLinked;
  if (Linked) LockPaint();
  if (Operation == 0) FSelectionMask->Empty();
  SelectRect(X1, Y1, false, false, Operation, Y2, X2);
  EndSelect();
  if (!Linked) {
    SetBackBufferDirty();
    Paint();
  } else {
    UnlockPaintNoRefresh();
    DrawSelection(nullptr, false);
    Paint();
    DrawSelection(nullptr, false);
  }
}

void TZezudIdView::AddSelectionPoint(Integer X, Integer Y) {
  const TPoint P = SelectionPoint(X, Y);
  AddPolygonPoint(FSelection, ClampTo(P.X, SelPictureWidth()), ClampTo(P.Y, SelPictureHeight()));
  ShowSelection(false);
  SetBackBufferDirty();
  Paint();
}

void TZezudIdView::AddSelectionBreak() {
  if (FSelection->Count > 0) AddPolygonBreak(FSelection);
}

void TZezudIdView::EndSelect() {
  FSelectionMask->FillPolygons(FSelectionMaskValue, FSelection->Points.get(), FSelection->Count);
  if (FSelectionMask->IsEmpty()) {
    FSelectionActive = false;
    ClearPolygon();
  }
}

void TZezudIdView::Deselect() {
  if (FSelectionActive) {
    FSelectionActive = false;
    HideSelection(true);
  }
  ClearPolygon();
  FSelectionMask->Empty();
  FSelectionActive = false;
  FPolySelecting = false;
  FLassoSelecting = false;
  FRectSelecting = false;
  FCircleSelecting = false;
  FRectResizing = false;
  FMoveIndex = -1;
  RestoreCursor();
  FUpdateReason = 3;
  Update();
}

void TZezudIdView::SelectMagicWand(Integer X, Integer Y, bool Add) {
  const TPoint P = SelectionPoint(X, Y);
  const Integer Width = SelPictureWidth(), Height = SelPictureHeight();
  if (P.X < 0 || P.Y < 0 || P.X > Width || P.Y > Height) return;
  if (FWandMode == 1 || FWandMode == 2) {
    if (!Add) {
      ClearPolygon();
      FSelectionMask->Empty();
    }
    if (FWandMode == 1)
      IEMagicWandFill(FIEBitmap, P.X, P.Y, FSelectionMaskValue, FSelectionMask.get(), FWandTolerance,
                      FWandMaxFilter);
    else
      IEMagicWandGlobal(FIEBitmap, P.X, P.Y, FSelectionMaskValue, FSelectionMask.get(), FWandTolerance);
    FSelectionMask->SyncFull();
    FSelectionActive = !FSelectionMask->IsEmpty();
    ShowSelection(true);
  } else {
    const std::vector<TPoint> Outline =
        IEMagicWandPolygon(FIEBitmap, P.X, P.Y, FWandTolerance, FWandMaxFilter);
    if (!Outline.empty()) {
      FSelectionActive = true;
      if (Add && FSelection->Count > 0) {
        AddPolygonBreak(FSelection);
      } else {
        ClearPolygon();
        FSelectionMask->Empty();
      }
      for (const TPoint& Point : Outline)
        AddPolygonPoint(FSelection, ClampTo(Point.X, Width), ClampTo(Point.Y, Height));
      if (!Add) FSelectionMask->Empty();
      EndSelect();
      ShowSelection(true);
    }
  }
  SetBackBufferDirty();
  Paint();
}

void TZezudIdView::MoveSelection(Integer DX, Integer DY) {
  const bool CutBorders = FSelectionOptions.Contains(iesoCutBorders);
  FRectMoving = FSelection->IsRect();
  if (FRectMoving)
    FSelectionMask->Empty();
  else
    FSelectionMask->TranslateBitmap(DX, DY, CutBorders);
  if (DX == 0 && DY == 0) return;
  OffsetPolygon(FSelection, DX, DY, CutBorders, SelPictureWidth(), SelPictureHeight());
  EndSelect();
  DrawSelection(nullptr, false);
  if (FIsLinked) {
    Paint();
    DrawSelection(nullptr, false);
  }
}

TIEGrip TZezudIdView::ResizeSelectionByGrip(TIEGrip Grip, Integer X, bool Constrain, Integer Y) {
  if (!FSelection->IsRect()) return Grip;
  const TPoint P = ClientToSelection(X, Y);
  const TIEGripDrag Drag{FGripStartRect, FSelectionAspectRatio, Constrain, SelPictureWidth(),
                         SelPictureHeight()};
  TRect Box{FSelection->X1, FSelection->Y1, FSelection->X2, FSelection->Y2};
  Integer NewGrip = Grip;
  if (!IEResizeSelectionRect(NewGrip, P.X, P.Y, Drag, Box)) return Grip;
  ClearPolygon();
  AddPolygonPoint(FSelection, Box.Left, Box.Top);
  AddPolygonPoint(FSelection, Box.Right, Box.Top);
  AddPolygonPoint(FSelection, Box.Right, Box.Bottom);
  AddPolygonPoint(FSelection, Box.Left, Box.Bottom);
  ShowSelection(true);
  return static_cast<TIEGrip>(NewGrip);
}

void TZezudIdView::FixedSelectionHalfSize(Integer& HalfWidth, Integer& HalfHeight) const {
  HalfWidth = static_cast<Integer>(Round(FSelectionFixedWidth * static_cast<Extended>(FZoomFactorX))) / 2;
  HalfHeight = static_cast<Integer>(Round(FSelectionFixedHeight * static_cast<Extended>(FZoomFactorY))) / 2;
}

void TZezudIdView::SelectRectByMouse(Integer X, Integer Y, TShiftState Shift) {
  if (HasParentWindow()) AutoScrollToMouse();  // no pointer to follow without a window
  TPoint Anchor = FSelectionAnchor, Point{X, Y};
  if (FSelectionAspectRatio == 0) {
    Integer HalfWidth, HalfHeight;
    FixedSelectionHalfSize(HalfWidth, HalfHeight);
    Anchor = {X - HalfWidth, Y - HalfHeight};
    Point = {X + HalfWidth - 1, Y + HalfHeight - 1};
  }
  Integer Operation = 0;
  if (Shift.Contains(ssShift) && FMultiSelect) {
    Operation = 1;
    if (FSelection->Count > FPolyCountAtDown) RemoveLastPolygon(FSelection);
  }
  const bool Constrain = Shift.Contains(ssAlt) || FForceConstrain;
  const bool KeepInside = !FSelectionOptions.Contains(iesoSizeable);
  SelectRect(Anchor.X, Anchor.Y, KeepInside, Constrain, Operation, Point.Y, Point.X);
  DoSelectionChanging();
}

void TZezudIdView::SelectCircleByMouse(Integer X, Integer Y, TShiftState Shift) {
  if (HasParentWindow()) AutoScrollToMouse();  // no pointer to follow without a window
  TPoint Anchor = FSelectionAnchor, Point{X, Y};
  if (FSelectionAspectRatio == 0) {
    Integer HalfWidth, HalfHeight;
    FixedSelectionHalfSize(HalfWidth, HalfHeight);
    Anchor = {X, Y};
    Point = {X + HalfWidth, Y + HalfHeight};
  }
  if (Shift.Contains(ssShift) && FMultiSelect) {
    if (FSelection->Count > FPolyCountAtDown) RemoveLastPolygon(FSelection);
    AddPolygonBreak(FSelection);
  } else {
    ClearPolygon();
  }
  const Integer DX = std::abs(Point.X - Anchor.X), DY = std::abs(Point.Y - Anchor.Y);
  Integer RX = DX, RY = DY;
  if ((Shift.Contains(ssAlt) || FForceConstrain) && FSelectionAspectRatio < 0) {
    RX = RY = std::max(DX, DY);
  } else if (FSelectionAspectRatio > 0) {
    RX = std::max(DX, DY);
    RY = static_cast<Integer>(Round(RX * static_cast<Extended>(FSelectionAspectRatio)));
  }
  const Integer EX = static_cast<Integer>(Trunc(RX * static_cast<Extended>(FInvZoomX)));
  const Integer EY = static_cast<Integer>(Trunc(RY * static_cast<Extended>(FInvZoomY)));
  const TPoint Center = SelectionPoint(Anchor.X, Anchor.Y);
  for (const TPoint& P :
       IESelectionEllipse(Center.X, Center.Y, EX, EY, SelPictureWidth(), SelPictureHeight()))
    AddPolygonPoint(FSelection, P.X, P.Y);
  DrawSelection(nullptr, false);
  DoSelectionChanging();
}

void TZezudIdView::EndPolySelection(bool KeepMask, bool RemoveLast) {
  if (RemoveLast) RemoveLastPoint(FSelection);
  if (!(KeepMask && FMultiSelect)) FSelectionMask->Empty();
  EndSelect();
  FUpdateReason = 3;
  Update();
  FPolySelecting = false;
  DoSelectionChange();
}

// ---- Questions ---------------------------------------------------------------------------------

TIEGrip TZezudIdView::GetGripAt(Integer X, Integer Y, TShiftState Shift) {
  if (Shift.Contains(ssShift)) return ieNone;
  if (!FSelection->Visible || !FSelection->Sizeable || !FSelection->IsRect() || FMoveIndex >= 0)
    return ieNone;
  TPoint Corners[4];
  RecordCornersOnClient(*FSelection, Corners);
  return static_cast<TIEGrip>(IEGripAtCorners(Corners, X, Y, FSelGripSize));
}

Integer TZezudIdView::IsInsideSelection(Integer X, Integer Y, TShiftState Shift) {
  if (!FSelectionActive || !FSelectionOptions.Contains(iesoMoveable)) return -1;
  if (Shift.Contains(ssShift) && FMultiSelect) return -1;  // Shift adds a shape instead
  const TPoint P = SelectionPoint(X, Y);
  return FSelectionMask->IsPointInside(P.X, P.Y) ? 0 : -1;
}

Integer TZezudIdView::GetSelX1() {
  return SelectionDragging() ? FSelection->X1 : FSelectionMask->GetX1();
}

Integer TZezudIdView::GetSelY1() {
  return SelectionDragging() ? FSelection->Y1 : FSelectionMask->GetY1();
}

Integer TZezudIdView::GetSelX2() {
  return SelectionDragging() ? FSelection->X2 - 1 : FSelectionMask->GetX2();
}

Integer TZezudIdView::GetSelY2() {
  return SelectionDragging() ? FSelection->Y2 - 1 : FSelectionMask->GetY2();
}

// ---- Settings and events -----------------------------------------------------------------------

void TZezudIdView::ShowSelection(bool Repaint) {
  FSelection->Visible = true;
  if (Repaint) DrawSelection(nullptr, false);
}

void TZezudIdView::HideSelection(bool Repaint) {
  FSelection->Visible = false;
  if (Repaint) RepaintUnlessLocked();
}

bool TZezudIdView::GetSelectionVisible() const {
  return FSelection->Visible;
}

void TZezudIdView::SetSelectionOptions(TIESelectionOptions Value) {
  FSelectionOptions = Value;
  FSelection->Animated = Value.Contains(iesoAnimated);
  FSelection->Sizeable = Value.Contains(iesoSizeable);
  FUpdateReason = 3;
  Update();
}

void TZezudIdView::SetSelColor1(TColor Value) {
  FSelColor1 = Value;
  FSelection->Color1 = Value;
}

void TZezudIdView::SetSelColor2(TColor Value) {
  FSelColor2 = Value;
  FSelection->Color2 = Value;
}

void TZezudIdView::FireWithUserSelectionBase(const TNotifyEvent& Event) {
  if (!Event) return;
  SwapSelectionBase();
  auto Restore = ScopeExit([this] { SwapSelectionBase(); });
  Event(this);
}

void TZezudIdView::DoSelectionChanging() {
  FireWithUserSelectionBase(OnSelectionChanging);
}

void TZezudIdView::DoBeforeSelectionChange() {
  FireWithUserSelectionBase(OnBeforeSelectionChange);
}

void TZezudIdView::DoSelectionChange() {
  if (OnSelectionChange) OnSelectionChange(this);
}

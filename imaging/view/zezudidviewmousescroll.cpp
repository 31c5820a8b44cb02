// Scrolling that follows the mouse: the smooth moving scroll toward a target, and the
// scrolling while a drag runs past the picture's edge.
#include "imaging/view/zezudidview.h"
#include "platform/classes/Timer.h"
#include "platform/system/Math.h"
#include "platform/user/Input.h"
#include "platform/user/WinUser.h"

namespace {
constexpr Cardinal MovingScrollInterval = 30;
}

void TZezudIdView::ScrollSmoothlyTo(Integer X, Integer Y) {
  if (FMovingScrollSpeed == 0) {
    SetViewXY(X, Y);
    return;
  }
  FMovingScrollTargetX = X;
  FMovingScrollTargetY = Y;
  if (FMovingScrollTimer != nullptr && FMovingScrollTimer->GetEnabled()) return;
  if (FMovingScrollTimer == nullptr) {
    FMovingScrollTimer = new TTimer(this);
    FMovingScrollTimer->SetInterval(MovingScrollInterval);
    FMovingScrollTimer->SetOnTimer(TNotifyEvent(this, &TZezudIdView::MovingScrollStep));
  }
  FMovingScrollTimer->SetEnabled(true);
  MovingScrollStep(this);
}

// A stopped timer is kept, switched off, because a step stops it from inside its own tick.
void TZezudIdView::StopSmoothScroll() {
  if (FMovingScrollTimer != nullptr) FMovingScrollTimer->SetEnabled(false);
}

void TZezudIdView::MovingScrollStep(TObject*) {
  const Integer OldX = FViewX, OldY = FViewY;
  const Extended Speed = FMovingScrollSpeed;
  SetViewXY(static_cast<Integer>(Round(FViewX - (FViewX - FMovingScrollTargetX) / Speed)),
            static_cast<Integer>(Round(FViewY - (FViewY - FMovingScrollTargetY) / Speed)));
  if ((FViewX == OldX && FViewY == OldY) || (GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0) StopSmoothScroll();
}

bool TZezudIdView::AutoScrollToMouse() {
  POINT Cursor;
  GetCursorPos(&Cursor);
  const TPoint P = ScreenToClient(Cursor);
  // Distance from the picture's extent on each axis, 0 inside it.
  auto Outside = [](Integer V, Integer First, Integer Extent) {
    if (V < First) return V - First;
    if (V >= First + Extent) return V - (First + Extent - 1);
    return 0;
  };
  bool Scrolled = false;
  FAutoScrolling = true;
  for (;;) {
    const Integer DX = Outside(P.X, FOffsetX, FExtentX), DY = Outside(P.Y, FOffsetY, FExtentY);
    if (DX == 0 && DY == 0) break;
    const Integer OldX = FViewX, OldY = FViewY;
    SetViewXY(FViewX + DX, FViewY + DY);
    const Integer SX = FViewX - OldX, SY = FViewY - OldY;
    if (SX == 0 && SY == 0) break;
    // What was under the anchors moved by the scroll.
    for (TPoint* Anchor : {&FMouseDownPoint, &FMouseDownInLayer, &FSelectionAnchor}) {
      Anchor->X -= SX;
      Anchor->Y -= SY;
    }
    FLayerStartRect = {FLayerStartRect.Left - SX, FLayerStartRect.Top - SY, FLayerStartRect.Right - SX,
                       FLayerStartRect.Bottom - SY};
    OffsetSelectionPoints(SX, SY);
    Scrolled = true;
  }
  FAutoScrolling = false;
  return Scrolled;
}

void TZezudIdView::OffsetSelectionPoints(Integer DX, Integer DY) {
  for (TPoint* Point : {&FRubberPoint, &FLastClampedPoint, &FLastMousePoint}) {
    Point->X -= DX;
    Point->Y -= DY;
  }
}

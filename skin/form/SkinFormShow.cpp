// Showing a skinned form (fade-in, first placement), following its moves and size changes,
// live sizing and magnetic snapping to the work area's edges.
#include <cstdlib>

#include "platform/classes/Application.h"
#include "platform/gdi/Regions.h"
#include "platform/system/Clock.h"
#include "platform/user/User.h"
#include "skin/data/bsLayered.h"
#include "skin/data/bsUtils.h"
#include "skin/form/SkinForm.h"
#include "skin/form/bsSkinMenus.h"

namespace {

constexpr UINT FadeTimerId = 1;

void SetLayered(HWND H, bool On) {
  const LONG Ex = GetWindowLong(H, GWL_EXSTYLE);
  if (On && !(Ex & WS_EX_LAYERED)) SetWindowLong(H, GWL_EXSTYLE, Ex | WS_EX_LAYERED);
  if (!On && (Ex & WS_EX_LAYERED)) SetWindowLong(H, GWL_EXSTYLE, Ex & ~WS_EX_LAYERED);
}

}  // namespace

void TbsSkinForm::WMShowWindowBefore(TMessage& Message) {
  const bool Fade = IsLayeredWindowAvailable() && (FAlphaBlend || FAlphaBlendAnimation ||
                                                   (FSD != nullptr && FSD->GetAnimationForAllWindows()));
  if (Message.WParam == 0) return;
  if (FPositionPending) {
    if (PositionInMonitor == bspDefault) {
      FPositionPending = false;
    } else if (FSkinWindowState == 0) {
      FPositionPending = false;
      CenterInMonitor();
    }
  }
  if (FSkinnable && FSD != nullptr && FSD->GetAnimationForAllWindows() && FAlphaBlendValue == 0)
    FAlphaBlendValue = 255;
  if (Fade && FForm->HandleAllocated()) {
    SetLayered(FForm->GetHandle(), true);
    SetWindowAlpha(FForm->GetHandle(), 0);
    SetTimer(FForm->GetHandle(), FadeTimerId, 1, nullptr);
  }
  if (!FSkinnable) return;
  NudgeWidth();
  // A skinned form shows its menu only through a skinned menu bar.
  if (FForm->GetMenu() != nullptr) FForm->SetMenu(nullptr);
}

void TbsSkinForm::WMTimerFade() {
  const bool AllWindows = FSD != nullptr && FSD->GetAnimationForAllWindows();
  if (!IsLayeredWindowAvailable() || !(FAlphaBlend || FAlphaBlendAnimation || AllWindows)) return;
  if (!FForm->HandleAllocated()) return;
  const HWND H = FForm->GetHandle();
  KillTimer(H, FadeTimerId);
  const bool Animate = FAlphaBlendAnimation || AllWindows;
  const Integer Target = Animate && !FAlphaBlend ? 255 : FAlphaBlendValue;
  if (Animate) {
    const Integer Step = std::max(1, Target / 15);
    Application->ProcessMessages();
    // The fade runs without yielding, paced by the tick count alone.
    Integer Alpha = 0;
    DWORD Last = 0;
    while (Alpha < Target) {
      const DWORD Now = GetTickCount();
      if (Now - Last <= 5) continue;
      Last = Now;
      Alpha = std::min(Alpha + Step, Target);
      SetWindowAlpha(H, static_cast<Byte>(Alpha));
    }
  } else if (Target < 255) {
    SetWindowAlpha(H, FAlphaBlendValue);
  }
  if (Target == 255) SetLayered(H, false);
}

void TbsSkinForm::CenterInMonitor() {
  if (PositionInMonitor == bspDefault) return;
  const TPoint P =
      GetMonitorCenteredPos(FForm->GetLeft(), FForm->GetTop(), FForm->GetWidth(), FForm->GetHeight());
  FForm->SetBounds(P.X, P.Y, FForm->GetWidth(), FForm->GetHeight());
}

TPoint TbsSkinForm::GetMonitorCenteredPos(Integer X, Integer Y, Integer W, Integer H) {
  if (PositionInMonitor == bspDefault) return Point(X, Y);
  TRect A;
  GetMonitorRect(FForm->HandleAllocated() ? FForm->GetHandle() : nullptr,
                 PositionInMonitor == bspDesktopCenter, A);
  return Point(A.Left + A.Width() / 2 - W / 2, A.Top + A.Height() / 2 - H / 2);
}

void TbsSkinForm::WMWindowPosChanged(TMessage& Message) {
  const auto* WP = reinterpret_cast<const WINDOWPOS*>(Message.LParam);
  if (WP == nullptr) return;
  FFrameLeft = WP->x;
  FFrameTop = WP->y;
  if (FLayerDragging && !FSizeMoveSized) {
    FFrameWidth = WP->cx;
    FFrameHeight = WP->cy;
  }
}

void TbsSkinForm::WMSizing(TMessage& Message) {
  FSizeMoveSized = true;
  FLayerDragging = false;
  FSnapLeft = FSnapTop = FSnapRight = FSnapBottom = false;
  if (FOldWindowProc) FOldWindowProc(Message);
  const auto* R = reinterpret_cast<const TRect*>(Message.LParam);
  if (R == nullptr) return;
  FFrameWidth = std::max(R->Width(), GetMinWidth());
  FFrameHeight = std::max(R->Height(), GetMinHeight());
  if (!SkinReady()) {
    if (FSkinnable) SetFrameRegion(true);
    return;
  }
  // The frame is rebuilt for the size the window is about to take, before it shows it.
  if (FSkinnable && FForm->GetWidth() >= GetMinWidth() && FForm->GetHeight() >= GetMinHeight() &&
      (FForm->GetWidth() != FFrameWidth || FForm->GetHeight() != FFrameHeight))
    UpdateFrame(true);
}

void TbsSkinForm::WMMoving(TMessage& Message) {
  auto* R = reinterpret_cast<TRect*>(Message.LParam);
  if (R == nullptr) return;
  if (FSkinWindowState == 2 && FForm->GetFormStyle() != fsMDIChild) {
    // A maximized form stays where it is.
    *R = Rect(FForm->GetLeft(), FForm->GetTop(), FForm->GetLeft() + FForm->GetWidth(),
              FForm->GetTop() + FForm->GetHeight());
    return;
  }
  if (!Magnetic) return;
  Integer L = R->Left, T = R->Top;
  const Integer W = FForm->GetWidth(), H = FForm->GetHeight();
  MagneticMove(L, T, W, H);
  *R = Rect(L, T, L + W, T + H);
}

void TbsSkinForm::MagneticMove(Integer& L, Integer& T, Integer W, Integer H) {
  const Integer M = MagneticSize;
  TRect Area;
  GetMonitorRect(FForm->HandleAllocated() ? FForm->GetHandle() : nullptr, true, Area);
  TPoint C;
  GetCursorPos(&C);
  // One edge: snaps when near; once snapped it stays until the cursor has left the place it
  // snapped at by more than M, then follows the cursor.
  auto Edge = [M](Integer& Pos, Integer Near, Integer Target, Integer Cursor, Integer& SnapCursor,
                  bool& Snapped) {
    const bool IsNear = std::abs(Near - Target) < M;
    const Integer Offset = Target - (Near - Pos);
    if (IsNear && !Snapped) {
      Pos = Offset;
      SnapCursor = Cursor;
    } else if (Snapped) {
      Pos = std::abs(Cursor - SnapCursor) > M ? Cursor + Offset - SnapCursor : Offset;
    }
    Snapped = IsNear;
  };
  Edge(L, L, Area.Left, C.X, FSnapCursorX, FSnapLeft);
  Edge(T, T, Area.Top, C.Y, FSnapCursorY, FSnapTop);
  Edge(L, L + W, Area.Right, C.X, FSnapCursorX, FSnapRight);
  Edge(T, T + H, Area.Bottom, C.Y, FSnapCursorY, FSnapBottom);
}

// The four windows of the layered border: hit codes, moving and resizing the form, and the
// mouse routing to the frame objects of a full border.
#include <algorithm>

#include "platform/classes/Application.h"
#include "platform/classes/ControlMessages.h"
#include "platform/user/Input.h"
#include "platform/user/WindowPos.h"
#include "platform/user/Windows.h"
#include "skin/data/bsUtils.h"
#include "skin/form/SkinForm.h"
#include "skin/form/bsSkinFormObjects.h"
#include "skin/form/bsSkinLayerFrame.h"

namespace {

bool In(const TRect& R, TPoint P) {
  return PtInRect(R, P);
}

TbsActiveSkinObject* ObjectAt(TbsSkinForm* SF, Integer Index) {
  const auto& Objects = SF->GetObjects();
  return Index >= 0 && Index < static_cast<Integer>(Objects.size()) ? Objects[Index].get() : nullptr;
}

bool CaptionWithQuickButton(TbsActiveSkinObject* O) {
  auto* C = dynamic_cast<TbsSkinCaptionObject*>(O);
  return C != nullptr && C->HotQuickButton >= 0;
}

}  // namespace

TbsFormLayerWindow::TbsFormLayerWindow(TbsFormLayerBorder* ABorder, Byte AKind)
    : TCustomControl(ABorder), OwnerBorder(ABorder), TargetForm(ABorder->TargetForm), BorderKind(AKind) {
  SetVisible(false);
}

TbsDataSkinLayerFrame* TbsFormLayerWindow::Frame() const {
  return OwnerBorder->LayerFrame;
}

void TbsFormLayerWindow::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style = WS_POPUP;
  Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_LAYERED;
  // Owned by the form, so it stays just above it.
  if (TargetForm != nullptr) Params.WndParent = TargetForm->GetHandle();
  if (TargetForm != nullptr && TargetForm->GetFormStyle() == fsStayOnTop) Params.ExStyle |= WS_EX_TOPMOST;
  if (Frame() != nullptr && IsEmptyRect(Frame()->BorderRect)) Params.ExStyle |= WS_EX_TRANSPARENT;
}

void TbsFormLayerWindow::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_MOUSEACTIVATE:
      Message.Result = MA_NOACTIVATE;
      if (Frame() != nullptr && Frame()->HitTestEnable) {
        if (TargetForm != nullptr && !TargetForm->GetActive()) TargetForm->Show();
        POINT P;
        GetCursorPos(&P);
        const TPoint L = ScreenToClient(Point(P.X, P.Y));
        HitCode = GetHitCode(L.X, L.Y);
      }
      return;
    case CM_MOUSEENTER:
      if (Frame() != nullptr && Frame()->FullBorder) OwnerBorder->HoverTimer->SetEnabled(true);
      break;
    case CM_MOUSELEAVE:
      if (Frame() != nullptr && Frame()->FullBorder) {
        OwnerBorder->HoverTimer->SetEnabled(false);
        OwnerBorder->PressedObject = -1;
        OwnerBorder->TestActive(-1, -1);
      }
      break;
    default:
      break;
  }
  TCustomControl::Dispatch(Message);
}

bool TbsFormLayerWindow::CanSize() {
  TbsSkinForm* SF = OwnerBorder->SkinForm;
  return SF->IsSizeable() && !SF->GetRollUpState() && SF->GetWindowState() == wsNormal;
}

Byte TbsFormLayerWindow::GetHitCode(Integer X, Integer Y) {
  TbsDataSkinLayerFrame* LF = Frame();
  if (LF == nullptr || TargetForm == nullptr) return lhNone;
  TbsSkinForm* SF = OwnerBorder->SkinForm;
  if (LF->FullBorder && BorderKind == lbTop)
    OwnerBorder->TestActive(X, Y);
  else if (!LF->FullBorder)
    OwnerBorder->HotObject = -1;
  if (TbsActiveSkinObject* Hot = ObjectAt(SF, OwnerBorder->HotObject))
    return dynamic_cast<TbsSkinCaptionObject*>(Hot) != nullptr ? lhCaption : lhObject;
  if (!CanSize()) return lhNone;
  const TPoint P = ClientToScreen(Point(X, Y));
  const TRect Form = TargetForm->GetBoundsRect();
  switch (BorderKind) {
    case lbLeft:
      return P.X >= Form.Left - OwnerBorder->LeftBorderWidth ? lhLeft : lhNone;
    case lbRight:
      return P.X > Form.Right + OwnerBorder->RightBorderWidth ? lhNone : lhRight;
    case lbTop:
      return ClassifyTop(P, Form);
    default:
      return ClassifyBottom(P, Form);
  }
}

Byte TbsFormLayerWindow::ClassifyTop(TPoint P, const TRect& Form) {
  const TbsFormLayerBorder* B = OwnerBorder;
  const TbsDataSkinLayerFrame* LF = Frame();
  const Integer HS = LF->HitTestSize;
  const Integer OuterL = Form.Left - B->LeftBorderWidth, OuterR = Form.Right + B->RightBorderWidth;
  const Integer OuterT = Form.Top - B->TopBorderWidth, WinBottom = GetTop() + GetHeight();
  const TRect A = Bounds(OuterL, OuterT, B->TopLeftHit.cx, B->TopLeftHit.cy);
  const TRect BR = Rect(OuterR - B->TopRightHit.cx, OuterT, OuterR, OuterT + B->TopRightHit.cy);
  TRect K = LF->CaptionRect;
  K.Right += Form.Width() - LF->ClientRect.Width();
  K.Top = LF->BorderRect.Top + HS;
  K = Rect(K.Left + GetLeft(), K.Top + GetTop(), K.Right + GetLeft(), K.Bottom + GetTop());
  if (In(A, P) && !In(K, P)) return lhTopLeft;
  if (In(Rect(A.Right, OuterT, BR.Left, OuterT + HS), P)) return lhTop;
  if (In(BR, P) && !In(K, P)) return lhTopRight;
  if (In(Rect(OuterL, A.Bottom, OuterL + HS, WinBottom), P) && !In(K, P)) return lhLeft;
  if (In(Rect(BR.Left, BR.Bottom, BR.Right, WinBottom), P) && !In(K, P)) return lhRight;
  return lhNone;
}

Byte TbsFormLayerWindow::ClassifyBottom(TPoint P, const TRect& Form) {
  const TbsFormLayerBorder* B = OwnerBorder;
  const Integer OuterL = Form.Left - B->LeftBorderWidth, OuterR = Form.Right + B->RightBorderWidth;
  const Integer OuterB = Form.Bottom + B->BottomBorderWidth;
  const TRect C = Rect(OuterL, OuterB - B->BottomLeftHit.cy, OuterL + B->BottomLeftHit.cx, OuterB);
  const TRect D = Rect(OuterR - B->BottomRightHit.cx, OuterB - B->BottomRightHit.cy, OuterR, OuterB);
  if (In(C, P)) return lhBottomLeft;
  if (In(Rect(C.Right, Form.Bottom, D.Left, OuterB), P)) return lhBottom;
  if (In(D, P)) return lhBottomRight;
  if (In(Rect(OuterL, GetTop(), Form.Left, C.Top), P)) return lhLeft;
  if (In(Rect(Form.Right, GetTop(), OuterR, D.Top), P)) return lhRight;
  return lhNone;
}

void TbsFormLayerWindow::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  TbsSkinForm* SF = OwnerBorder->SkinForm;
  SF->CloseSkinMenus();
  if (TargetForm != nullptr && TargetForm->GetActiveControl() != nullptr)
    TargetForm->GetActiveControl()->Perform(CM_CANCELMODE, 0, 0);
  const Byte Hit = GetHitCode(X, Y);
  if (Frame() == nullptr || !Frame()->HitTestEnable) return;
  if (!CanSize() && Hit != lhCaption && Hit != lhObject) return;
  HitCode = Hit;
  InMessageLoop = false;
  Dragging = Hit != lhNone && Hit != lhObject && SF->GetWindowState() != wsMaximized && Button == mbLeft;
  POINT P;
  GetCursorPos(&P);
  DragStart = DragLast = Point(P.X, P.Y);
  if (Frame()->FullBorder) {
    if (TbsActiveSkinObject* Hot = ObjectAt(SF, OwnerBorder->HotObject)) {
      Hot->MouseDown(X, Y, Button);
      if (CaptionWithQuickButton(Hot)) Dragging = false;
      OwnerBorder->PressedObject = OwnerBorder->HotObject;
    }
  }
  if (Dragging) SetCapture(GetHandle());
}

void TbsFormLayerWindow::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TCustomControl::MouseUp(Button, Shift, X, Y);
  if (Dragging && GetCapture() == GetHandle()) ReleaseCapture();
  Dragging = InMessageLoop = false;
  DragStart = DragLast = Point(0, 0);
  TbsSkinForm* SF = OwnerBorder->SkinForm;
  if (Frame() == nullptr) return;
  if (Frame()->FullBorder) {
    if (OwnerBorder->PressedObject != OwnerBorder->HotObject)
      if (TbsActiveSkinObject* Pressed = ObjectAt(SF, OwnerBorder->PressedObject))
        Pressed->MouseUp(X, Y, Button);
    OwnerBorder->PressedObject = -1;
  }
  if (Frame()->HitTestEnable && (CanSize() || HitCode == lhCaption || HitCode == lhObject) &&
      Frame()->FullBorder)
    if (TbsActiveSkinObject* Hot = ObjectAt(SF, OwnerBorder->HotObject)) Hot->MouseUp(X, Y, Button);
}

void TbsFormLayerWindow::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  if (InMessageLoop) {
    InMessageLoop = false;
    return;
  }
  if (Frame() == nullptr || !Frame()->HitTestEnable) return;
  POINT P;
  GetCursorPos(&P);
  DragLast = Point(P.X, P.Y);
  const Integer DX = DragLast.X - DragStart.X, DY = DragLast.Y - DragStart.Y;
  if (!Dragging) {
    HitCode = GetHitCode(X, Y);
    static const TCursor Cursors[] = {crDefault,  crSizeWE,   crSizeNS,   crSizeWE,  crSizeNS,
                                      crSizeNWSE, crSizeNESW, crSizeNESW, crSizeNWSE};
    SetCursor(HitCode <= lhBottomRight ? Cursors[HitCode] : crDefault);
    if (Frame()->FullBorder)
      if (TbsActiveSkinObject* Hot = ObjectAt(OwnerBorder->SkinForm, OwnerBorder->HotObject))
        Hot->MouseMove(X, Y);
  } else if (HitCode >= lhLeft && HitCode <= lhBottomRight) {
    ResizeStep(DX, DY);
  } else if (HitCode == lhCaption) {
    MoveStep(DX, DY);
  }
  DragStart = DragLast;
}

void TbsFormLayerWindow::ProcessOwnMessages() {
  // Only a move delivered by this pump is the window's own; once it returns the next move is
  // the user's again.
  InMessageLoop = true;
  Application->ProcessMessages();
  InMessageLoop = false;
}

void TbsFormLayerWindow::ResizeStep(Integer DX, Integer DY) {
  TbsSkinForm* SF = OwnerBorder->SkinForm;
  const Byte H = HitCode;
  const bool Left = H == lhLeft || H == lhTopLeft || H == lhBottomLeft;
  const bool Right = H == lhRight || H == lhTopRight || H == lhBottomRight;
  const bool Top = H == lhTop || H == lhTopLeft || H == lhTopRight;
  const bool Bottom = H == lhBottom || H == lhBottomLeft || H == lhBottomRight;
  const Integer OldW = TargetForm->GetWidth(), OldH = TargetForm->GetHeight();
  Integer W = OldW, Ht = OldH;
  if (Left) W = OldW - DX;
  if (Right) W = OldW + DX;
  if (Top) Ht = OldH - DY;
  if (Bottom) Ht = OldH + DY;
  const Integer ClampedW = std::clamp(W, SF->GetMinWidth(), std::max(SF->GetMinWidth(), SF->GetMaxWidth()));
  const Integer ClampedH =
      std::clamp(Ht, SF->GetMinHeight(), std::max(SF->GetMinHeight(), SF->GetMaxHeight()));
  // A moving left or top side stops at a limit instead of pushing the form along.
  if (Left && ClampedW != W) return;
  if (Top && ClampedH != Ht) return;
  const bool Moved = ((Left || Right) && DX != 0) || ((Top || Bottom) && DY != 0);
  if (!Moved || (ClampedW == OldW && ClampedH == OldH)) return;
  const Integer NewL = TargetForm->GetLeft() + (Left ? OldW - ClampedW : 0);
  const Integer NewT = TargetForm->GetTop() + (Top ? OldH - ClampedH : 0);
  TargetForm->SetBounds(NewL, NewT, ClampedW, ClampedH);
  if (Top && ClampedH == OldH)
    OwnerBorder->FollowForm();
  else
    OwnerBorder->UpdateBorder();
  DragStart = DragLast;
  ProcessOwnMessages();
}

void TbsFormLayerWindow::MoveStep(Integer DX, Integer DY) {
  TbsSkinForm* SF = OwnerBorder->SkinForm;
  const Integer OldL = TargetForm->GetLeft(), OldT = TargetForm->GetTop();
  Integer L = OldL + DX, T = OldT + DY;
  bool Take = true;
  if (SF->Magnetic && (DX != 0 || DY != 0)) {
    const Integer Proposed[2] = {L, T};
    const Integer H = OwnerBorder->IsLayerCaptionOnly() ? Frame()->RollUpFormHeight : TargetForm->GetHeight();
    SF->MagneticMove(L, T, TargetForm->GetWidth(), H);
    DragStart = DragLast;
    const bool Snapped = L != Proposed[0] || T != Proposed[1];
    // A snap that only holds the form back leaves it where it is.
    const bool Further = (DX > 0 && L > Proposed[0]) || (DX < 0 && L < Proposed[0]) ||
                         (DY > 0 && T > Proposed[1]) || (DY < 0 && T < Proposed[1]);
    Take = !Snapped || Further;
  }
  if (Take) TargetForm->SetBounds(L, T, TargetForm->GetWidth(), TargetForm->GetHeight());
  OwnerBorder->FollowForm();
  ProcessOwnMessages();
  DragStart = DragLast;
}

void TbsFormLayerWindow::DblClick() {
  TCustomControl::DblClick();
  if (Frame() == nullptr || !Frame()->FullBorder) return;
  TbsSkinForm* SF = OwnerBorder->SkinForm;
  POINT P;
  GetCursorPos(&P);
  const TPoint L = ScreenToClient(Point(P.X, P.Y));
  Byte Hit = GetHitCode(L.X, L.Y);
  TbsActiveSkinObject* Hot = ObjectAt(SF, OwnerBorder->HotObject);
  if (Hit == lhCaption && CaptionWithQuickButton(Hot)) Hit = lhObject;
  DragStart = DragLast;
  auto* Std = dynamic_cast<TbsSkinStdButtonObject*>(Hot);
  if (Std != nullptr && Std->Command == 3) {
    TargetForm->Close();
  } else if (Hit == lhCaption) {
    Dragging = false;
    SF->CaptionDblClick();
  }
  OwnerBorder->PressedObject = -1;
}

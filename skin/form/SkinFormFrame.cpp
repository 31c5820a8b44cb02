// Frame geometry of the skinned form: the frame picture's geometry stretched to the form's
// size, the layout of the frame objects, hit testing, the client rectangle and the region.
#include <algorithm>

#include "platform/classes/Colors.h"
#include "platform/classes/ImgList.h"
#include "platform/gdi/Regions.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/User.h"
#include "skin/data/bsRegions.h"
#include "skin/form/SkinForm.h"
#include "skin/form/bsSkinFormObjects.h"

namespace {

bool InR(const TRect& R, TPoint P) {
  return P.X >= R.Left && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom;
}

bool Empty(const TRect& R) {
  return R.Width() <= 0 || R.Height() <= 0;
}

enum TMask { mTop, mBottom, mLeft, mRight };

}  // namespace

void TbsSkinForm::CalcFrameGeometry() {
  if (!SkinReady() || FSD->Picture == nullptr) return;
  if (FFrameWidth == 0) FFrameWidth = FForm->GetWidth();
  if (FFrameHeight == 0) FFrameHeight = FForm->GetHeight();
  const Integer Pw = FSD->Picture->GetWidth(), Ph = FSD->Picture->GetHeight();
  const Integer Dx = FFrameWidth - Pw, Dy = FFrameHeight - Ph;
  FLTPoint = FSD->LeftTopPoint;
  FRTPoint = Point(FSD->RightTopPoint.X + Dx, FSD->RightTopPoint.Y);
  FLBPoint = Point(FSD->LeftBottomPoint.X, FSD->LeftBottomPoint.Y + Dy);
  FRBPoint = Point(FSD->RightBottomPoint.X + Dx, FSD->RightBottomPoint.Y + Dy);
  const TRect& C = FSD->ClientRect;
  FClientRect = Rect(C.Left, C.Top, C.Right + Dx, C.Bottom + Dy);
  FCaptionRect = FSD->CaptionRect;
  if (!Empty(FCaptionRect)) FCaptionRect.Right += Dx;
  FButtonsRect = FSD->ButtonsRect;
  // Buttons in the right half of the picture stay with the right edge.
  if (!Empty(FButtonsRect) && FButtonsRect.Left > Pw / 2) {
    FButtonsRect.Left += Dx;
    FButtonsRect.Right += Dx;
  }
  FButtonsInLeft = FSD->ButtonsInLeft;
  FButtonsOffset = FSD->ButtonsOffset;
  FHitLT = FSD->HitTestLeftTopPoint;
  FHitRT = Point(FSD->HitTestRightTopPoint.X + Dx, FSD->HitTestRightTopPoint.Y);
  FHitLB = Point(FSD->HitTestLeftBottomPoint.X, FSD->HitTestLeftBottomPoint.Y + Dy);
  FHitRB = Point(FSD->HitTestRightBottomPoint.X + Dx, FSD->HitTestRightBottomPoint.Y + Dy);
  const TRect& M = FSD->MaskRectArea;
  FMaskRect = Rect(M.Left, M.Top, M.Right + Dx, M.Bottom + Dy);
}

TRect TbsSkinForm::MapSkinRect(const TRect& R) {
  const Integer Pw = FSD->Picture->GetWidth(), Ph = FSD->Picture->GetHeight();
  const TPoint& LT = FSD->LeftTopPoint;
  const TPoint& RT = FSD->RightTopPoint;
  const TPoint& LB = FSD->LeftBottomPoint;
  const TPoint& RB = FSD->RightBottomPoint;
  const TRect TL = Rect(0, 0, LT.X, LT.Y), TR = Rect(RT.X, 0, Pw, RT.Y), BL = Rect(0, LB.Y, LB.X, Ph),
              BR = Rect(RB.X, RB.Y, Pw, Ph);
  const Integer Ddx = FRBPoint.X - RB.X, Ddy = FRBPoint.Y - RB.Y;
  const TPoint C1 = Point(R.Left, R.Top), C2 = Point(R.Right, R.Bottom);
  // R's bottom-right corner lies outside R: it belongs to a region up to and including the
  // region's own right and bottom edges, so that a rectangle ending on an anchor counts as
  // lying in the corner region it ends at.
  auto EndsIn = [](const TRect& Area, TPoint P) {
    return P.X >= Area.Left && P.X <= Area.Right && P.Y >= Area.Top && P.Y <= Area.Bottom;
  };
  auto Lies = [&](const TRect& Area) { return InR(Area, C1) && EndsIn(Area, C2); };
  TRect N = R;
  auto Shift = [&](Integer X, Integer Y) { N = Rect(R.Left + X, R.Top + Y, R.Right + X, R.Bottom + Y); };
  if (Lies(TL)) return N;
  if (Lies(TR)) {
    Shift(Ddx, 0);
  } else if (Lies(BL)) {
    Shift(0, Ddy);
  } else if (Lies(BR)) {
    Shift(Ddx, Ddy);
  } else if (InR(TL, C1) && EndsIn(BR, C2)) {
    N.Right += Ddx;
    N.Bottom += Ddy;
  } else if (InR(TL, C1) && EndsIn(TR, C2)) {
    N.Right += Ddx;
  } else if (InR(BL, C1) && EndsIn(BR, C2)) {
    N.Right += Ddx;
    N.Top += Ddy;
    N.Bottom += Ddy;
  } else if (InR(TL, C1) && EndsIn(BL, C2)) {
    N.Bottom += Ddy;
  } else if (InR(TR, C1) && EndsIn(BR, C2)) {
    N.Left += Ddx;
    N.Right += Ddx;
    N.Bottom += Ddy;
  }
  return N;
}

TSize TbsSkinForm::GetSmallIconSize() {
  Integer W = GetSystemMetrics(SM_CXSMICON), H = GetSystemMetrics(SM_CYSMICON);
  if (W == 0) W = GetSystemMetrics(SM_CXSIZE);
  if (H == 0) H = GetSystemMetrics(SM_CYSIZE);
  return TSize{W, H};
}

namespace {

// The first visible caption button with the command that sits in its own picture.
TbsSkinStdButtonObject* CaptionButton(const std::vector<std::unique_ptr<TbsActiveSkinObject>>& Objects,
                                      Integer Command, bool NeedInAPicture) {
  for (const auto& O : Objects)
    if (auto* B = dynamic_cast<TbsSkinStdButtonObject*>(O.get());
        B != nullptr && B->Visible && (!NeedInAPicture || B->SkinRectInAPicture) && B->Command == Command)
      return B;
  return nullptr;
}

TbsSkinCaptionObject* FirstCaption(const std::vector<std::unique_ptr<TbsActiveSkinObject>>& Objects) {
  for (const auto& O : Objects)
    if (auto* C = dynamic_cast<TbsSkinCaptionObject*>(O.get())) return C;
  return nullptr;
}

constexpr Integer RowCommands[] = {0, 1, 2, 5, 6};

}  // namespace

void TbsSkinForm::ArrangeObjects() {
  if (!SkinReady() || FSD->Picture == nullptr) return;
  for (const auto& O : FObjects)
    if (!O->SkinRectInAPicture) O->ObjectRect = MapSkinRect(O->SkinRect);
  const TRect Area = !Empty(FButtonsRect) ? FButtonsRect : FCaptionRect;
  if (Empty(Area)) return;
  const Integer Y = Area.Top;
  auto SizeOf = [&](TbsSkinStdButtonObject* B) {
    if (B->Command == 3 && FShowIcon) return GetSmallIconSize();
    return TSize{B->SkinRect.Width(), B->SkinRect.Height()};
  };
  // The row: the command buttons, then every custom button with its own picture.
  std::vector<TbsSkinStdButtonObject*> Row;
  for (Integer C : RowCommands)
    if (auto* B = CaptionButton(FObjects, C, true)) Row.push_back(B);
  for (const auto& O : FObjects)
    if (auto* B = dynamic_cast<TbsSkinStdButtonObject*>(O.get());
        B != nullptr && B->Visible && B->SkinRectInAPicture && B->Command == 4)
      Row.push_back(B);
  TbsSkinCaptionObject* Caption = FirstCaption(FObjects);
  TbsSkinStdButtonObject* SysMenu = CaptionButton(FObjects, 3, true);
  if (!FButtonsInLeft) {
    Integer X = Area.Right;
    for (auto* B : Row) {
      const TSize S = SizeOf(B);
      B->ObjectRect = Rect(X - S.cx, Y, X, Y + S.cy);
      X = X - S.cx - FButtonsOffset;
    }
    if (Empty(FButtonsRect) && Caption != nullptr) Caption->ObjectRect.Right = X + FButtonsOffset;
    X = FCaptionRect.Left;
    if (SysMenu != nullptr) {
      const TSize S = SizeOf(SysMenu);
      const Integer Y2 = FCaptionRect.Top + FCaptionRect.Height() / 2 - S.cy / 2;
      SysMenu->ObjectRect = Rect(X, Y2, X + S.cx, Y2 + S.cy);
      X = X + S.cx + FButtonsOffset;
      if (Caption != nullptr) Caption->ObjectRect.Left = X - FButtonsOffset;
    }
    return;
  }
  Integer X = Area.Left;
  if (Empty(FButtonsRect) && SysMenu != nullptr) Row.push_back(SysMenu);
  for (auto* B : Row) {
    const TSize S = SizeOf(B);
    B->ObjectRect = Rect(X, Y, X + S.cx, Y + S.cy);
    X = X + S.cx + FButtonsOffset;
  }
  if (Empty(FButtonsRect) && Caption != nullptr) Caption->ObjectRect.Left = X + FButtonsOffset;
}

// ---- Hit testing ----------------------------------------------------------------------------

bool TbsSkinForm::CaptionTest(TPoint P) {
  for (const auto& O : FObjects) {
    auto* C = dynamic_cast<TbsSkinCaptionObject*>(O.get());
    if (C == nullptr || !InR(C->ObjectRect, P)) continue;
    // The quick buttons sit at the caption's left end: no drag starts there.
    if (FQuickButtons->GetCount() > 0 && FQuickImageList != nullptr) {
      TRect R = C->ObjectRect;
      R.Left += FQuickButtons->GetCount() * (FQuickImageList->GetWidth() + 8);
      return InR(R, P);
    }
    return true;
  }
  return false;
}

bool TbsSkinForm::PointInFrameMask(TPoint P) {
  if (InR(FMaskRect, P)) return true;
  auto Black = [](TBitmap* B, Integer X, Integer Y) {
    if (B->GetWidth() <= 0 || X < 0 || Y < 0 || X >= B->GetWidth() || Y >= B->GetHeight()) return false;
    return ColorToRGB(B->GetCanvas()->GetPixels(X, Y)) == 0;
  };
  if (P.Y <= FMaskRect.Top) return Black(FMaskStrips[mTop].get(), P.X, P.Y);
  if (P.Y >= FMaskRect.Bottom) return Black(FMaskStrips[mBottom].get(), P.X, P.Y - FMaskRect.Bottom);
  if (P.X > FMaskRect.Left)
    return Black(FMaskStrips[mRight].get(), P.X - FMaskRect.Right, P.Y - FMaskRect.Top);
  return Black(FMaskStrips[mLeft].get(), P.X, P.Y - FMaskRect.Top);
}

LRESULT TbsSkinForm::SkinHitTest(TPoint P) {
  const bool Caption = CaptionTest(P);
  if (FRolledUp || FSkinWindowState == 1) return Caption ? HTCAPTION : 19;
  if (FHoverIndex != -1 && !Caption && !InR(FClientRect, P) && !FInSizeMove) return 19;
  if (FSkinWindowState == 2 || !IsSizeable())
    return InR(FClientRect, P) ? HTCLIENT : Caption ? HTCAPTION : 19;
  const Integer A = FSD->BorderWidth;
  const TPoint Probes[] = {{P.X - A, P.Y}, {P.X, P.Y - A}, {P.X + A, P.Y}, {P.X, P.Y + A}};
  const TRect Whole = Rect(0, 0, FForm->GetWidth(), FForm->GetHeight());
  bool Border = false;
  const bool HasMask = FSD->Mask != nullptr && !FSD->Mask->Empty();
  for (const TPoint& Q : Probes)
    if (HasMask ? (!InR(FMaskRect, P) && !PointInFrameMask(Q)) : !InR(Whole, Q)) Border = true;
  if (Border) {
    const Integer W = FForm->GetWidth(), H = FForm->GetHeight();
    if (P.X <= FHitLT.X && P.Y <= FHitLT.Y) return HTTOPLEFT;
    if (P.X >= FHitRT.X && P.Y <= FHitRT.Y) return HTTOPRIGHT;
    if (P.X <= FHitLB.X && P.Y >= FHitLB.Y) return HTBOTTOMLEFT;
    if (P.X >= FHitRB.X && P.Y >= FHitRB.Y) return HTBOTTOMRIGHT;
    if (InR(Rect(FHitLT.X, 0, FHitRT.X, FClientRect.Top), P)) return HTTOP;
    if (InR(Rect(FHitLB.X, FClientRect.Bottom, FHitRB.X, H), P)) return HTBOTTOM;
    if (InR(Rect(0, FHitLT.Y, FClientRect.Left, FHitLB.Y), P)) return HTLEFT;
    if (InR(Rect(FClientRect.Right, FHitRT.Y, W, FHitRB.Y), P)) return HTRIGHT;
  }
  if (InR(FClientRect, P)) return HTCLIENT;
  return Caption ? HTCAPTION : 19;
}

LRESULT TbsSkinForm::DefaultHitTest(TPoint P) {
  const Integer W = FForm->GetWidth(), H = FForm->GetHeight();
  const Integer C = GetDefaultCaptionHeight();
  if (FSkinWindowState == 0 && !FRolledUp && IsSizeable()) {
    if (FHoverIndex != -1) return 19;
    if (P.X <= 2 && P.Y <= 2) return HTTOPLEFT;
    if (P.X >= W - 2 && P.Y <= 2) return HTTOPRIGHT;
    if (P.X <= 2 && P.Y >= H - 2) return HTBOTTOMLEFT;
    if (P.X >= W - 2 && P.Y >= H - 2) return HTBOTTOMRIGHT;
    if (P.X <= 2) return HTLEFT;
    if (P.Y <= 2) return HTTOP;
    if (P.X >= W - 2) return HTRIGHT;
    if (P.Y >= H - 2) return HTBOTTOM;
  }
  if (InR(GetDefaultCaptionRect(), P)) return HTCAPTION;
  return InR(Rect(3, C + 3, W - 3, H - 3), P) ? HTCLIENT : 19;
}

TPoint TbsSkinForm::ScreenToFrame(TPoint P) {
  TRect W;
  if (FForm->HandleAllocated() && GetWindowRect(FForm->GetHandle(), &W))
    return Point(P.X - W.Left, P.Y - W.Top);
  return Point(P.X - FForm->GetLeft(), P.Y - FForm->GetTop());
}

TRect TbsSkinForm::FrameToScreen(const TRect& R) {
  const TPoint O = ScreenToFrame(Point(0, 0));
  return Rect(R.Left - O.X, R.Top - O.Y, R.Right - O.X, R.Bottom - O.Y);
}

// ---- The skinless frame ---------------------------------------------------------------------

void TbsSkinForm::ArrangeDefaultButtons() {
  if (FFrameWidth == 0) FFrameWidth = FForm->GetWidth();
  const Integer C = GetDefaultCaptionHeight(), S = GetDefaultButtonSize();
  FDefCaptionRect = Rect(3, 3, FFrameWidth - 3, C);
  if (FObjects.empty()) return;
  Integer X = FFrameWidth - 3;
  for (Integer Cmd : RowCommands)
    if (auto* B = CaptionButton(FObjects, Cmd, false)) {
      B->ObjectRect = Rect(X - S, 4, X, 4 + S);
      X -= S;
    }
  FDefCaptionRect.Right = X;
  if (auto* B = CaptionButton(FObjects, 3, false)) {
    const TSize Sz = FShowIcon ? GetSmallIconSize() : TSize{S, S};
    B->ObjectRect = Rect(3, 4, 3 + Sz.cx, 4 + Sz.cy);
    FDefCaptionRect.Left = B->ObjectRect.Right;
  }
}

TRect TbsSkinForm::GetDefaultCaptionRect() {
  ArrangeDefaultButtons();
  return FDefCaptionRect;
}

// ---- Client rectangle, region, update -------------------------------------------------------

void TbsSkinForm::WMNCCalcSize(TMessage& Message) {
  auto* R = reinterpret_cast<TRect*>(Message.LParam);
  if (R == nullptr || NoBorder()) return;
  if (SkinReady() && FSD->Picture != nullptr) {
    CalcFrameGeometry();
    const TRect& C = FSD->ClientRect;
    R->Left += C.Left;
    R->Top += C.Top;
    R->Right -= FSD->Picture->GetWidth() - C.Right;
    R->Bottom -= FSD->Picture->GetHeight() - C.Bottom;
  } else {
    const Integer C = GetDefaultCaptionHeight();
    R->Left += 3;
    R->Top += C + 3;
    R->Right -= 3;
    R->Bottom -= 3;
  }
  R->Right = std::max(R->Right, R->Left);
  R->Bottom = std::max(R->Bottom, R->Top);
}

void TbsSkinForm::ReplaceRegion(HRGN Region) {
  if (!FForm->HandleAllocated()) {
    if (Region != nullptr) DeleteObject(Region);
    return;
  }
  // The window takes the region over (and frees the one it had): it is never deleted here.
  SetWindowRgn(FForm->GetHandle(), Region, true);
  FHasRegion = Region != nullptr;
}

void TbsSkinForm::SetFrameRegion(bool Full) {
  if (FFrameWidth == 0) FFrameWidth = FForm->GetWidth();
  if (FFrameHeight == 0) FFrameHeight = FForm->GetHeight();
  if (!FSkinnable || NoBorder()) {
    if (FHasRegion) ReplaceRegion(nullptr);
    return;
  }
  const bool HasMask = SkinReady() && FSD->Mask != nullptr && !FSD->Mask->Empty();
  if (!SkinReady()) {
    for (auto& S : FMaskStrips) S->SetSize(0, 0);
    ReplaceRegion(CreateRectRgn(0, 0, FFrameWidth, FFrameHeight));
    return;
  }
  if (!HasMask) {
    ReplaceRegion(CreateRectRgn(0, 0, FFrameWidth, FFrameHeight));
    return;
  }
  if (!Full) {
    HRGN R = nullptr;
    CreateRegionFromMask(R, FSD->Mask.get());
    if (R != nullptr) ReplaceRegion(R);
    return;
  }
  CreateSkinMaskStrips(FSD->LeftTopPoint, FSD->RightTopPoint, FSD->LeftBottomPoint, FSD->RightBottomPoint,
                       FSD->MaskRectArea, FLTPoint, FRTPoint, FLBPoint, FRBPoint, FMaskRect, FSD->Mask.get(),
                       FMaskStrips[mTop].get(), FMaskStrips[mLeft].get(), FMaskStrips[mRight].get(),
                       FMaskStrips[mBottom].get(), FFrameWidth, FFrameHeight);
  HRGN Region = CreateRectRgn(FMaskRect.Left, FMaskRect.Top, FMaskRect.Right, FMaskRect.Bottom);
  const TPoint Places[] = {
      {0, 0}, {0, FMaskRect.Bottom}, {0, FMaskRect.Top}, {FMaskRect.Right, FMaskRect.Top}};
  for (Integer I = 0; I < 4; ++I) {
    TBitmap* Strip = FMaskStrips[I].get();
    if (Strip->GetWidth() <= 0 || Strip->GetHeight() <= 0) continue;
    std::vector<Byte> Data;
    if (MaskToRegionData(Strip, Places[I].X, Places[I].Y, Data) == 0) continue;
    HRGN Part = ExtCreateRegion(nullptr, static_cast<DWORD>(Data.size()),
                                reinterpret_cast<const RGNDATA*>(Data.data()));
    if (Part == nullptr) continue;
    CombineRgn(Region, Region, Part, RGN_OR);
    DeleteObject(Part);
  }
  ReplaceRegion(Region);
}

void TbsSkinForm::UpdateFrame(bool Full) {
  if (Designing() || !SkinReady()) return;
  if (FSkinnable) {
    CalcFrameGeometry();
    if (Full) ArrangeObjects();
  }
  SetFrameRegion(Full);
  if (!FHasRegion && FSkinnable && !NoBorder()) RepaintFrame();
  if (FSkinApplied && FSD->StretchEffect) {
    Repaint();
    NotifyChildrenBackground();
  }
}

void TbsSkinForm::NudgeWidth() {
  if (!FForm->HandleAllocated()) return;
  const Integer W = FForm->GetWidth();
  if (W - 1 < GetMinWidth()) {
    FForm->SetWidth(W + 1);
    FForm->SetWidth(W);
  } else {
    FForm->SetWidth(W - 1);
    FForm->SetWidth(W);
  }
}

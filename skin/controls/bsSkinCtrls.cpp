// The windowed and windowless skinned control bases.
#include "skin/controls/bsSkinCtrls.h"

#include "platform/classes/Bitmap.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/user/User.h"
#include "platform/user/WindowPos.h"
#include "skin/data/bsRegions.h"
#include "skin/data/bsUtils.h"

// ---- TbsSkinControl -------------------------------------------------------------------------

TbsSkinControl::TbsSkinControl(TComponent* AOwner) : TbsSkinPartMixin(AOwner) {}

void TbsSkinControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT: {
      InWMPaint = true;
      struct TClear {
        bool& Flag;
        ~TClear() { Flag = false; }
      } Clear{InWMPaint};
      TCustomControl::Dispatch(Message);
      break;
    }
    case WM_ERASEBKGND:
      // The paint covers the whole control; erasing first would only flicker.
      Message.Result = 1;
      break;
    case WM_CHECKPARENTBG:
      ParentBackgroundChanged();
      break;
    default:
      TCustomControl::Dispatch(Message);
      break;
  }
}

void TbsSkinControl::ParentBackgroundChanged() {}

void TbsSkinControl::PaintControlTo(HDC DC) {
  TCanvas C;
  C.SetHandle(DC);
  PaintOffScreen(&C);
  C.SetHandle(nullptr);
}

// ---- TbsSkinCustomControl -------------------------------------------------------------------

TbsSkinCustomControl::TbsSkinCustomControl(TComponent* AOwner) : TbsSkinCustomPartMixin(AOwner) {}

void TbsSkinCustomControl::LoadSkinPart() {
  TbsSkinCustomPartMixin::LoadSkinPart();
  if (PartIndex == -1) return;
  // Only a resizable part brings a mask.
  auto* Part = dynamic_cast<TbsDataSkinCustomControl*>(BoundPart());
  SkinMaskPicture = Part == nullptr ? nullptr : SkinPictureAt(FSD, Part->MaskPictureIndex);
}

void TbsSkinCustomControl::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  TbsSkinCustomPartMixin::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (PartIndex != -1 && StretchEffect) NotifyChildrenBackground();
}

void TbsSkinCustomControl::UpdatePartRegion() {
  if (GetParent() == nullptr) return;
  if (SkinMaskPicture == nullptr || PartIndex == -1) {
    if (PartRegion != nullptr) {
      SetWindowRgn(GetHandle(), nullptr, TRUE);
      PartRegion = nullptr;
    }
    return;
  }
  BuildPartRegion();
}

void TbsSkinCustomControl::BuildPartRegion() {
  Integer W = GetWidth(), H = GetHeight();
  FitPartToSize(W, H);
  W = GetWidth(), H = GetHeight();
  HRGN Region = nullptr;
  switch (SizingMode) {
    case 0:
      CreateRegionFromMask(Region, SkinMaskPicture);
      break;
    case 1:
      CreateSkinRegion(Region, LeftTopPoint, RightTopPoint, LeftBottomPoint, RightBottomPoint, PartClientRect,
                       NewLeftTopPoint, NewRightTopPoint, NewLeftBottomPoint, NewRightBottomPoint,
                       NewClientRect, SkinMaskPicture, W, H);
      break;
    case 2: {
      const TPoint P = {RightTopPoint.X + W - GetRectWidth(SkinRect), RightTopPoint.Y};
      CreateSkinRegion(Region, LeftTopPoint, RightTopPoint, LeftTopPoint, RightTopPoint, PartClientRect,
                       LeftTopPoint, P, LeftTopPoint, P, NewClientRect, SkinMaskPicture, W, H);
      break;
    }
    case 3: {
      const TPoint Q = {LeftBottomPoint.X, LeftBottomPoint.Y + H - GetRectHeight(SkinRect)};
      CreateSkinRegion(Region, LeftTopPoint, LeftTopPoint, LeftBottomPoint, LeftBottomPoint, PartClientRect,
                       LeftTopPoint, LeftTopPoint, Q, Q, NewClientRect, SkinMaskPicture, W, H);
      break;
    }
    default:
      // A part without a picture rectangle has no outline to cut; an old region goes.
      break;
  }
  // The window owns the region from here on and frees the one it held.
  SetWindowRgn(GetHandle(), Region, TRUE);
  PartRegion = Region;
}

TRect TbsSkinCustomControl::MapPartRect(const TRect& R) const {
  const Integer W = GetRectWidth(SkinRect), H = GetRectHeight(SkinRect);
  const Integer DX = GetWidth() - W, DY = GetHeight() - H;
  TRect Result = R;
  auto Move = [&Result](Integer X, Integer Y) {
    Result.Left += X, Result.Right += X, Result.Top += Y, Result.Bottom += Y;
  };
  switch (SizingMode) {
    case 1: {
      const TRect LT = Rect(0, 0, LeftTopPoint.X, LeftTopPoint.Y);
      const TRect LB = Rect(0, LeftBottomPoint.Y, LeftBottomPoint.X, H);
      const TRect RT = Rect(RightTopPoint.X, 0, W, RightTopPoint.Y);
      const TRect RB = Rect(RightBottomPoint.X, RightBottomPoint.Y, W, H);
      // Wholly inside one corner area: the area's move.
      if (IsRectInRect(R, LT)) return Result;
      if (IsRectInRect(R, RT)) {
        Move(DX, 0);
        return Result;
      }
      if (IsRectInRect(R, LB)) {
        Move(0, DY);
        return Result;
      }
      if (IsRectInRect(R, RB)) {
        Move(DX, DY);
        return Result;
      }
      const TPoint TL = R.TopLeft(), BR = R.BottomRight();
      if (IsPointInRect(LT, TL) && IsPointInRect(RB, BR)) {
        Result.Right += DX, Result.Bottom += DY;
      } else if (IsPointInRect(LT, TL) && IsPointInRect(RT, BR)) {
        Result.Right += DX;
      } else if (IsPointInRect(LB, TL) && IsPointInRect(RB, BR)) {
        Result.Right += DX;
        Move(0, DY);
      } else if (IsPointInRect(LT, TL) && IsPointInRect(LB, BR)) {
        Result.Bottom += DY;
      } else if (IsPointInRect(RT, TL) && IsPointInRect(RB, BR)) {
        Move(DX, 0);
        Result.Bottom += DY;
      }
      return Result;
    }
    case 2:
      if (R.Left <= LeftTopPoint.X && R.Right >= RightTopPoint.X)
        Result.Right += DX;
      else if (R.Left >= RightTopPoint.X && R.Right > RightTopPoint.X)
        Move(DX, 0);
      return Result;
    case 3:
      if (R.Top <= LeftTopPoint.Y && R.Bottom >= LeftBottomPoint.Y)
        Result.Bottom += DY;
      else if (R.Top >= LeftBottomPoint.Y && R.Bottom > LeftBottomPoint.Y)
        Move(0, DY);
      return Result;
    default:
      return Result;
  }
}

void TbsSkinCustomControl::NotifyChildrenBackground() {
  for (Integer I = 0; I < GetControlCount(); ++I) {
    TControl* C = GetControl(I);
    if (auto* W = dynamic_cast<TWinControl*>(C))
      SendMessage(W->GetHandle(), WM_CHECKPARENTBG, 0, 0);
    else
      C->Perform(WM_CHECKPARENTBG, 0, 0);
  }
}

void TbsSkinCustomControl::Paint() {
  if (GetWidth() < 1 || GetHeight() < 1) return;
  LoadSkinPart();
  Integer W = GetWidth(), H = GetHeight();
  FitPartToSize(W, H);
  if (PartIndex == -1 || !PaintFrameStrips || SizingMode != 1 || SkinPicture == nullptr) {
    TbsSkinControl::Paint();
    return;
  }
  PaintFrameStripsTo(GetCanvas());
}

void TbsSkinCustomControl::PaintFrameStripsTo(TCanvas* Canvas) {
  const Integer W = GetWidth(), H = GetHeight();
  TBitmap Left, Top, Right, Bottom;
  CreateSkinBorderImages(LeftTopPoint, RightTopPoint, LeftBottomPoint, RightBottomPoint, PartClientRect,
                         NewLeftTopPoint, NewRightTopPoint, NewLeftBottomPoint, NewRightBottomPoint,
                         NewClientRect, &Left, &Top, &Right, &Bottom, SkinPicture, SkinRect, W, H,
                         LeftStretch, TopStretch, RightStretch, BottomStretch);
  // What belongs into the top strip (a panel's caption).
  DrawSkinImage(&Top);
  if (FillClientFromPart) {
    TBitmap Tile;
    Tile.SetSize(GetRectWidth(PartClientRect), GetRectHeight(PartClientRect));
    const TRect Source = Rect(SkinRect.Left + PartClientRect.Left, SkinRect.Top + PartClientRect.Top,
                              SkinRect.Left + PartClientRect.Right, SkinRect.Top + PartClientRect.Bottom);
    if (!Tile.Empty())
      Tile.GetCanvas()->CopyRect(Rect(0, 0, Tile.GetWidth(), Tile.GetHeight()), SkinPicture->GetCanvas(),
                                 Source);
    const HDC DC = Canvas->GetHandle();
    const Integer Saved = SaveDC(DC);
    IntersectClipRect(DC, NewClientRect.Left, NewClientRect.Top, NewClientRect.Right, NewClientRect.Bottom);
    TilePiece(Canvas, &Tile, NewClientRect, StretchEffect, StretchType);
    RestoreDC(DC, Saved);
  }
  Canvas->Draw(0, 0, &Top);
  Canvas->Draw(0, Top.GetHeight(), &Left);
  Canvas->Draw(W - Right.GetWidth(), Top.GetHeight(), &Right);
  Canvas->Draw(0, H - Bottom.GetHeight(), &Bottom);
}

bool TbsSkinCustomControl::FocusBeforeClick(TMessage& Message, bool& SuppressClicks) {
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (Designing() || Focused()) return false;
      SuppressClicks = true;
      ::SetFocus(GetHandle());
      SuppressClicks = false;
      return !Focused();
    case CN_COMMAND:
      return SuppressClicks;
    default:
      return false;
  }
}

bool TbsSkinCustomControl::DispatchFocusableBar(TMessage& Message, bool CanFocused,
                                                const std::function<void(const TMessage&)>& Turn) {
  switch (Message.Msg) {
    case WM_ERASEBKGND:
      if (!InWMPaint) PaintControlTo(reinterpret_cast<HDC>(Message.WParam));
      Message.Result = 1;
      return true;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TbsSkinCustomPartMixin::Dispatch(Message);
      if (CanFocused) Repaint();
      return true;
    case CM_WANTSPECIALKEY: {
      const WPARAM K = Message.WParam;
      if (CanFocused && (K == VK_LEFT || K == VK_UP || K == VK_RIGHT || K == VK_DOWN))
        Message.Result = 1;
      else
        TbsSkinCustomPartMixin::Dispatch(Message);
      return true;
    }
    case WM_MOUSEWHEEL:
      if (CanFocused && Focused()) {
        Turn(Message);
        Message.Result = 1;
      } else {
        TbsSkinCustomPartMixin::Dispatch(Message);
      }
      return true;
    default:
      return false;
  }
}

// ---- TbsGraphicSkinControl ------------------------------------------------------------------

TbsGraphicSkinControl::TbsGraphicSkinControl(TComponent* AOwner) : TbsSkinPartMixin(AOwner) {
  TControlStyle S = GetControlStyle();
  S.Include(csOpaque);
  SetControlStyle(S);
}

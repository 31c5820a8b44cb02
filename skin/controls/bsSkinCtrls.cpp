// The windowed and windowless skinned control bases.
#include "skin/controls/bsSkinCtrls.h"

#include "platform/classes/Bitmap.h"
#include "platform/user/User.h"
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
  }
  // A region cut from a mask picture needs the skin region builders, which no skin of this
  // build provides.
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
  // Frame-strip painting of large 9-slice parts needs the skin border builders; the part is
  // drawn as one image meanwhile.
  TbsSkinControl::Paint();
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

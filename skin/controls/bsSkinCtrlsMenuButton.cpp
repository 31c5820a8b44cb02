// TbsSkinMenuButton: the push button that drops a menu.
#include "platform/classes/Bitmap.h"
#include "platform/classes/Menus.h"
#include "platform/user/Input.h"
#include "platform/user/User.h"
#include "platform/user/WindowPos.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/controls/bsSkinCtrlsMenuButtons.h"
#include "skin/data/bsLayered.h"
#include "skin/data/bsUtils.h"

namespace {

bool IsToolFamily(const std::string& Name) {
  return Name == "toolbutton" || Name == "bigtoolbutton";
}

bool IsResizeFamily(const std::string& Name) {
  return Name == "resizebutton" || Name == "resizetoolbutton";
}

}  // namespace

TbsSkinMenuButton::TbsSkinMenuButton(TComponent* AOwner) : TbsSkinButton(AOwner) {
  SetSkinDataName("toolmenubutton");
  HoldDown = false;
  KeyboardClick = false;
}

void TbsSkinMenuButton::SetSkinPopupMenu(TPopupMenu* Value) {
  FSkinPopupMenu = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TbsSkinMenuButton::SetTrackButtonMode(bool Value) {
  FTrackButtonMode = Value;
  if (PartIndex == -1) Repaint();
}

void TbsSkinMenuButton::Notification(TComponent* AComponent, TOperation Operation) {
  TbsSkinButton::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FSkinPopupMenu) FSkinPopupMenu = nullptr;
}

void TbsSkinMenuButton::LoadSkinPart() {
  TbsSkinButton::LoadSkinPart();
  if (auto* Part = dynamic_cast<TbsDataSkinMenuButtonControl*>(BoundPart()))
    TrackButtonRect = Part->TrackButtonRect;
}

// ---- The menu -------------------------------------------------------------------------------

bool TbsSkinMenuButton::InMenuPart(Integer X, Integer Y) {
  if (FSkinPopupMenu == nullptr) return false;
  if (!FTrackButtonMode) return true;
  TRect R = Rect(GetWidth() - bsMenuZoneSize, 0, GetWidth(), GetHeight());
  if (PartIndex != -1 && !IsToolFamily(GetSkinDataName()) && !IsResizeFamily(GetSkinDataName()))
    R = FittedTrackRect(*this, TrackButtonRect, GetWidth(), GetHeight());
  return X >= R.Left && X <= R.Right && Y >= R.Top && Y <= R.Bottom;
}

void TbsSkinMenuButton::ShowMenu() {
  if (FSkinPopupMenu == nullptr) return;
  if (OnShowTrackMenu) OnShowTrackMenu(this);
  PopupMenuUnderRect(FSkinPopupMenu, this, ScreenRectOf(this), false);
}

void TbsSkinMenuButton::DropDown() {
  if (PartIndex != -1 && !IsEmptyRect(AnimateSkinRect)) StopFrameAnimation();
  if (!FDown) SetDown(true);
  MenuPartActive = true;
  ShowMenu();
}

void TbsSkinMenuButton::MenuClosed() {
  MenuPartActive = false;
  SetDown(false);
  POINT P{};
  GetCursorPos(&P);
  MouseIn = HandleAllocated() && WindowFromPoint(P) == GetHandle();
  if (OnHideTrackMenu) OnHideTrackMenu(this);
  if (GlowLayer->GetIsVisible() && !MouseIn) HideGlowLayer();
  Repaint();
}

void TbsSkinMenuButton::OpenMenuFromKey() {
  MenuPartActive = true;
  SetDown(true);
  ShowMenu();
}

void TbsSkinMenuButton::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (Button == mbLeft) {
    MenuPartActive = InMenuPart(X, Y);
    MouseIn = true;
    StopFrameAnimation();
    if (MenuPartActive) {
      if (!FDown) SetDown(true);
      ShowMenu();
      return;
    }
  }
  TbsSkinButton::MouseDown(Button, Shift, X, Y);
}

void TbsSkinMenuButton::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (!MenuPartActive) TbsSkinButton::MouseUp(Button, Shift, X, Y);
}

void TbsSkinMenuButton::WndProc(TMessage& Message) {
  if (GetCanFocused() && FSkinPopupMenu != nullptr) {
    if (Message.Msg == WM_KEYDOWN && Message.WParam == VK_SPACE && !FTrackButtonMode) {
      OpenMenuFromKey();
      return;
    }
    if (Message.Msg == WM_KEYUP && Message.WParam == VK_SPACE) {
      if (!MenuPartActive) {
        SetDown(false);
        if (OnClick) OnClick(this);
      }
      return;
    }
    if (Message.Msg == WM_KEYUP && Message.WParam == VK_RETURN && !MenuPartActive && OnClick) OnClick(this);
  }
  TbsSkinButton::WndProc(Message);
}

void TbsSkinMenuButton::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_MENUCLOSED_SKIN:
      MenuClosed();
      break;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      if (MenuPartActive && OwnMouseNotice(Message)) {
        MouseIn = Message.Msg == CM_MOUSEENTER;
        break;
      }
      TbsSkinButton::Dispatch(Message);
      break;
    case CM_DIALOGCHAR:
      if (!FTrackButtonMode && FSkinPopupMenu != nullptr && GetCanFocused() && CanFocus() &&
          IsAccel(static_cast<Word>(Message.WParam), GetCaption())) {
        SetFocus();
        OpenMenuFromKey();
        Message.Result = 1;
        break;
      }
      TbsSkinButton::Dispatch(Message);
      break;
    default:
      TbsSkinButton::Dispatch(Message);
      break;
  }
}

// ---- Drawing --------------------------------------------------------------------------------

void TbsSkinMenuButton::DrawButtonState(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn) {
  const std::string& Name = GetSkinDataName();
  if (IsResizeFamily(Name) || IsToolFamily(Name)) {
    DrawMenuStyle(B, ADown, AMouseIn, IsResizeFamily(Name));
    return;
  }
  if (MenuPartActive && FTrackButtonMode && !IsEmptyRect(TrackButtonRect) && !IsEmptyRect(DownSkinRect) &&
      SkinPicture != nullptr) {
    // The pressed track area comes from the down picture.
    TbsSkinButton::DrawButtonState(B, ActiveSkinRect, false, true);
    const TRect Src =
        Rect(TrackButtonRect.Left + DownSkinRect.Left, TrackButtonRect.Top + DownSkinRect.Top,
             TrackButtonRect.Right + DownSkinRect.Left, TrackButtonRect.Bottom + DownSkinRect.Top);
    B->GetCanvas()->CopyRect(FittedTrackRect(*this, TrackButtonRect, GetWidth(), GetHeight()),
                             SkinPicture->GetCanvas(), Src);
    return;
  }
  TbsSkinButton::DrawButtonState(B, R, ADown, AMouseIn);
}

void TbsSkinMenuButton::DrawMenuStyle(TBitmap* B, bool ADown, bool AMouseIn, bool Resize) {
  const Integer W = GetWidth(), H = GetHeight();
  const bool Pressed = ADown && AMouseIn;
  const TRect& Normal = SkinRect;
  B->SetSize(W, H);
  if (FTrackButtonMode) {
    const TRect* Body = &ActiveSkinRect;
    const TRect* Zone = &ActiveSkinRect;
    if (MenuPartActive)
      Zone = &DownSkinRect;
    else if (Pressed)
      Body = Zone = &DownSkinRect;
    else if (!AMouseIn)
      Body = Zone = &Normal;
    TBitmap Piece;
    BuildMenuPiece(&Piece, *this, SkinPicture, *Body, W - bsMenuZoneSize, H, Resize);
    B->GetCanvas()->Draw(0, 0, &Piece);
    BuildMenuPiece(&Piece, *this, SkinPicture, *Zone, bsMenuZoneSize, H, Resize);
    B->GetCanvas()->Draw(W - bsMenuZoneSize, 0, &Piece);
  } else {
    const TRect& State = Pressed ? DownSkinRect : !AMouseIn ? Normal : ActiveSkinRect;
    if (Resize) {
      CreateControlImage(B, SkinPicture, State);
    } else {
      TBitmap Piece;
      BuildMenuPiece(&Piece, *this, SkinPicture, State, W, H, false);
      B->GetCanvas()->Draw(0, 0, &Piece);
    }
  }
  TCanvas* C = B->GetCanvas();
  SetFaceFont(C);
  C->GetFont()->SetColor(StateFontColor(ADown, AMouseIn));
  DrawFaceFocus(C);
  DrawContent(C, Rect(0, 0, W - bsMenuZoneSize, H), ADown, AMouseIn);
  DrawZoneMark(C, Rect(W - bsMenuZoneSize, 0, W, H), ADown, AMouseIn);
}

void TbsSkinMenuButton::DrawZoneMark(TCanvas* C, const TRect& Zone, bool ADown, bool AMouseIn) {
  if (!IsEmptyRect(MenuMarkerRect)) {
    const bool Down = (ADown && AMouseIn) || MenuPartActive;
    const TRect& Piece = Down ? MenuMarkerDownRect : AMouseIn ? MenuMarkerActiveRect : MenuMarkerRect;
    DrawMenuMarker(C, SkinPicture, Piece, MenuMarkerTransparentColor, Zone);
    return;
  }
  DrawComboArrow(C, Zone, MenuPartActive ? DownFontColor : C->GetFont()->GetColor());
}

void TbsSkinMenuButton::DrawDefaultImage(TBitmap* B) {
  TCanvas* C = B->GetCanvas();
  const Integer W = GetWidth(), H = GetHeight();
  const bool Focus = IsFocused();
  const bool Pressed = FDown && MouseIn;
  const TRect Body = Rect(0, 0, W - bsMenuZoneSize, H), Zone = Rect(W - bsMenuZoneSize, 0, W, H);
  if (FTrackButtonMode) {
    TbsPlainFace BodyFace = TbsPlainFace::Plain, ZoneFace = TbsPlainFace::Plain;
    if (MenuPartActive)
      BodyFace = TbsPlainFace::Hot, ZoneFace = TbsPlainFace::Down;
    else if (Pressed)
      BodyFace = ZoneFace = TbsPlainFace::Down;
    else if (MouseIn || Focus)
      BodyFace = ZoneFace = TbsPlainFace::Hot;
    DrawPlainFace(C, Body, BodyFace, bsHotFrameColor);
    DrawPlainFace(C, Zone, ZoneFace, bsHotFrameColor);
  } else {
    DrawPlainFace(C, Rect(0, 0, W, H),
                  Pressed            ? TbsPlainFace::Down
                  : MouseIn || Focus ? TbsPlainFace::Hot
                                     : TbsPlainFace::Plain,
                  bsHotFrameColor);
  }
  SetDefaultFaceFont(C);
  DrawContent(C, Body, FDown, MouseIn);
  TRect Arrow = Zone;
  if (Pressed || MenuPartActive) Arrow.Left = W - 13, Arrow.Top += 2;
  DrawComboArrow(C, Arrow, clBtnText);
}

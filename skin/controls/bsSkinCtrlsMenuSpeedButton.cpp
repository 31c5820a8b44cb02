// TbsSkinMenuSpeedButton: the tool button that drops a menu.
#include "platform/classes/Bitmap.h"
#include "platform/classes/Menus.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/controls/bsSkinCtrlsMenuButtons.h"
#include "skin/data/bsSkinDataSections.h"
#include "skin/data/bsUtils.h"

TbsSkinMenuSpeedButton::TbsSkinMenuSpeedButton(TComponent* AOwner) : TbsSkinSpeedButton(AOwner) {
  SetSkinDataName("toolmenubutton");
}

void TbsSkinMenuSpeedButton::SetSkinPopupMenu(TPopupMenu* Value) {
  FSkinPopupMenu = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TbsSkinMenuSpeedButton::SetTrackButtonMode(bool Value) {
  FTrackButtonMode = Value;
  if (PartIndex == -1) Repaint();
}

void TbsSkinMenuSpeedButton::SetNewStyle(bool Value) {
  FNewStyle = Value;
  if (Value) SetSkinDataName("resizetoolbutton");
}

void TbsSkinMenuSpeedButton::SetTrackPosition(TbsTrackPosition Value) {
  FTrackPosition = Value;
  Repaint();
}

void TbsSkinMenuSpeedButton::Notification(TComponent* AComponent, TOperation Operation) {
  TbsSkinSpeedButton::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FSkinPopupMenu) FSkinPopupMenu = nullptr;
}

void TbsSkinMenuSpeedButton::LoadSkinPart() {
  TbsSkinSpeedButton::LoadSkinPart();
  if (auto* Part = dynamic_cast<TbsDataSkinMenuButtonControl*>(BoundPart()))
    TrackButtonRect = Part->TrackButtonRect;
}

// ---- The menu zone and the menus ------------------------------------------------------------

bool TbsSkinMenuSpeedButton::FixedPartName() const {
  const std::string& N = GetSkinDataName();
  return N == "resizebutton" || N == "resizetoolbutton" || N == "toolbutton" || N == "bigtoolbutton";
}

TRect TbsSkinMenuSpeedButton::GetTrackButtonRect() {
  const Integer W = GetWidth(), H = GetHeight();
  if (PartIndex != -1 && !FixedPartName()) return FittedTrackRect(*this, TrackButtonRect, W, H);
  return ZoneRect();
}

TRect TbsSkinMenuSpeedButton::ZoneRect() {
  const Integer W = GetWidth(), H = GetHeight();
  if (FNewStyle && FTrackPosition == bstpBottom) return Rect(0, H - bsMenuZoneSize, W, H);
  return Rect(W - bsMenuZoneSize, 0, W, H);
}

TRect TbsSkinMenuSpeedButton::ContentRect() {
  TRect R = GetClientRect();
  if (FNewStyle && FTrackPosition == bstpBottom)
    R.Bottom -= bsMenuZoneSize;
  else
    R.Right -= bsMenuZoneSize;
  return R;
}

bool TbsSkinMenuSpeedButton::InMenuPart(Integer X, Integer Y) {
  if (FSkinPopupMenu == nullptr) return false;
  if (!FTrackButtonMode) return true;
  const TRect R = GetTrackButtonRect();
  return X >= R.Left && X <= R.Right && Y >= R.Top && Y <= R.Bottom;
}

void TbsSkinMenuSpeedButton::ShowMenus() {
  if (FSkinPopupMenu == nullptr) return;
  if (GetFlat() && !GetTransparent()) SetTransparentGuarded(true);
  if (OnShowTrackMenu) OnShowTrackMenu(this);
  PopupMenuUnderRect(FSkinPopupMenu, this, ScreenRectOf(this), false);
}

void TbsSkinMenuSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (Button == mbLeft) {
    MenuPartActive = InMenuPart(X, Y);
    MouseIn = true;
    if (MenuPartActive) {
      if (!FDown) SetDown(true);
      ShowMenus();
      return;
    }
  }
  TbsSkinSpeedButton::MouseDown(Button, Shift, X, Y);
}

void TbsSkinMenuSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (!MenuPartActive) TbsSkinSpeedButton::MouseUp(Button, Shift, X, Y);
}

void TbsSkinMenuSpeedButton::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_MENUCLOSED_SKIN:
      MenuPartActive = false;
      SetDown(false);
      MouseIn = false;
      if (OnHideTrackMenu) OnHideTrackMenu(this);
      Repaint();
      break;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      if (Designing()) break;
      if (MenuPartActive && OwnMouseNotice(Message)) {
        MouseIn = Message.Msg == CM_MOUSEENTER;
        break;
      }
      TbsSkinSpeedButton::Dispatch(Message);
      break;
    default:
      TbsSkinSpeedButton::Dispatch(Message);
      break;
  }
}

// ---- Drawing --------------------------------------------------------------------------------

void TbsSkinMenuSpeedButton::DrawButtonState(TBitmap* B, const TRect& R, bool AMouseIn, bool ADown) {
  const std::string& Name = GetSkinDataName();
  if (FNewStyle && Name == "resizetoolbutton") {
    DrawNewStyle(B, AMouseIn, ADown);
  } else if (Name == "toolbutton" || Name == "bigtoolbutton") {
    DrawStyle(B, AMouseIn, ADown, false);
  } else if (Name != "resizebutton" && Name != "resizetoolbutton") {
    if (MenuPartActive && FTrackButtonMode && !IsEmptyRect(TrackButtonRect) && !IsEmptyRect(DownSkinRect) &&
        SkinPicture != nullptr) {
      TbsSkinSpeedButton::DrawButtonState(B, ActiveSkinRect, true, false);
      const TRect Src =
          Rect(TrackButtonRect.Left + DownSkinRect.Left, TrackButtonRect.Top + DownSkinRect.Top,
               TrackButtonRect.Right + DownSkinRect.Left, TrackButtonRect.Bottom + DownSkinRect.Top);
      B->GetCanvas()->CopyRect(GetTrackButtonRect(), SkinPicture->GetCanvas(), Src);
    } else {
      TbsSkinSpeedButton::DrawButtonState(B, R, AMouseIn, ADown);
    }
  } else {
    DrawStyle(B, AMouseIn, ADown, true);
  }
}

void TbsSkinMenuSpeedButton::DrawStyle(TBitmap* B, bool AMouseIn, bool ADown, bool Resize) {
  const Integer W = GetWidth(), H = GetHeight();
  B->SetSize(W, H);
  const TRect* Main = nullptr;
  const TRect* Zone = nullptr;
  if (FTrackButtonMode && MenuPartActive)
    Main = &ActiveSkinRect, Zone = &DownSkinRect;
  else if (AMouseIn && ADown)
    Main = Zone = &DownSkinRect;
  else if (AMouseIn)
    Main = Zone = &ActiveSkinRect;
  else if (!GetFlat())
    Main = Zone = &SkinRect;
  if (Main != nullptr && FTrackButtonMode) {
    TBitmap Piece;
    BuildMenuPiece(&Piece, *this, SkinPicture, *Main, W - bsMenuZoneSize, H, Resize);
    B->GetCanvas()->Draw(0, 0, &Piece);
    BuildMenuPiece(&Piece, *this, SkinPicture, *Zone, bsMenuZoneSize, H, Resize);
    B->GetCanvas()->Draw(W - bsMenuZoneSize, 0, &Piece);
  } else if (Main != nullptr && Resize) {
    CreateControlImage(B, SkinPicture, *Main);
  } else if (Main != nullptr) {
    TBitmap Piece;
    BuildMenuPiece(&Piece, *this, SkinPicture, *Main, W, H, false);
    B->GetCanvas()->Draw(0, 0, &Piece);
  }
  DrawContentAndMark(B->GetCanvas(), AMouseIn, ADown);
}

void TbsSkinMenuSpeedButton::DrawPartState(TBitmap* B, TbsDataSkinButtonControl* Part, bool ADown, bool AHot,
                                           const TRect& Area) {
  TbsSkinPartGeometry G;
  G.CopyPartGeometry(FSD, Part);
  TRect Src = Part->SkinRect;
  const TRect Active = IsEmptyRect(Part->ActiveSkinRect) ? Part->SkinRect : Part->ActiveSkinRect;
  if (ADown && AHot)
    Src = IsEmptyRect(Part->DownSkinRect) ? Active : Part->DownSkinRect;
  else if (AHot)
    Src = Active;
  TBitmap Piece;
  BuildMenuPiece(&Piece, G, G.SkinPicture, Src, GetRectWidth(Area), GetRectHeight(Area), true);
  B->GetCanvas()->Draw(Area.Left, Area.Top, &Piece);
}

void TbsSkinMenuSpeedButton::DrawNewStyle(TBitmap* B, bool AMouseIn, bool ADown) {
  const Integer W = GetWidth(), H = GetHeight();
  B->SetSize(W, H);
  auto* Main = dynamic_cast<TbsDataSkinButtonControl*>(
      FSD->FindControlPart("resizetoolbutton") != -1
          ? FSD->SkinControls[static_cast<std::size_t>(FSD->FindControlPart("resizetoolbutton"))].get()
      : FSD->FindControlPart("resizebutton") != -1
          ? FSD->SkinControls[static_cast<std::size_t>(FSD->FindControlPart("resizebutton"))].get()
          : nullptr);
  if (Main == nullptr) return;
  const bool MainDown = AMouseIn && ADown && !(FTrackButtonMode && MenuPartActive);
  if (AMouseIn && FTrackButtonMode) {
    const bool Bottom = FTrackPosition == bstpBottom;
    const TRect MainArea = Bottom ? Rect(0, 0, W, H - bsMenuZoneSize) : Rect(0, 0, W - bsMenuZoneSize, H);
    const Integer ZoneIndex = FSD->FindControlPart(Bottom ? "htracktoolbutton" : "vtracktoolbutton");
    auto* ZonePart = ZoneIndex == -1 ? nullptr
                                     : dynamic_cast<TbsDataSkinButtonControl*>(
                                           FSD->SkinControls[static_cast<std::size_t>(ZoneIndex)].get());
    if (ZonePart != nullptr) {
      DrawPartState(B, Main, MainDown, true, Rect(0, 0, W, H));
      DrawPartState(B, ZonePart, MenuPartActive, true, ZoneRect());
    } else {
      DrawPartState(B, Main, MainDown, true, MainArea);
      DrawPartState(B, Main, MenuPartActive, true, ZoneRect());
    }
  } else {
    DrawPartState(B, Main, MainDown, AMouseIn, Rect(0, 0, W, H));
  }
  DrawContentAndMark(B->GetCanvas(), AMouseIn, ADown);
}

void TbsSkinMenuSpeedButton::DrawContentAndMark(TCanvas* C, bool AMouseIn, bool ADown) {
  SetFaceFont(C);
  C->GetFont()->SetColor(StateFontColor(ADown, AMouseIn));
  DrawContent(C, ContentRect(), AMouseIn, ADown);
  const TRect Zone = ZoneRect();
  const TColor Color = C->GetFont()->GetColor();
  if (StandardArrow)
    DrawSmallArrowGlyph(C, Zone, Color, StandardArrowType);
  else if (IsEmptyRect(MenuMarkerRect))
    DrawComboArrow(C, Zone, MenuPartActive ? DownFontColor : Color);
  else
    DrawMenuMarker(C, SkinPicture,
                   (AMouseIn && ADown) || MenuPartActive ? MenuMarkerDownRect
                   : AMouseIn                            ? MenuMarkerActiveRect
                                                         : MenuMarkerRect,
                   MenuMarkerTransparentColor, Zone);
}

void TbsSkinMenuSpeedButton::DrawDefaultImage(TBitmap* B) {
  TCanvas* C = B->GetCanvas();
  const TRect All = GetClientRect(), Zone = ZoneRect();
  const TRect Main = FNewStyle && FTrackPosition == bstpBottom ? Rect(0, 0, All.Right, Zone.Top)
                                                               : Rect(0, 0, Zone.Left, All.Bottom);
  const bool Hot = MouseIn, Pressed = FDown && MouseIn;
  const TbsPlainFace Idle = GetFlat() ? TbsPlainFace::Flat : TbsPlainFace::Plain;
  const bool Split = FNewStyle ? FTrackButtonMode && Hot : FTrackButtonMode;
  if (Split) {
    TbsPlainFace MainFace = TbsPlainFace::Hot, ZoneFace = TbsPlainFace::Hot;
    if (MenuPartActive)
      ZoneFace = TbsPlainFace::Down;
    else if (FNewStyle && FDown)
      MainFace = TbsPlainFace::Down;
    else if (!FNewStyle && Pressed)
      MainFace = ZoneFace = TbsPlainFace::Down;
    else if (!FNewStyle && !Hot)
      MainFace = ZoneFace = Idle;
    if (!(MainFace == TbsPlainFace::Flat && GetTransparent())) {
      DrawPlainFace(C, Main, MainFace, clNavy);
      DrawPlainFace(C, Zone, ZoneFace, clNavy);
    }
  } else {
    const TbsPlainFace Face = Pressed ? TbsPlainFace::Down : Hot ? TbsPlainFace::Hot : Idle;
    if (!(Face == TbsPlainFace::Flat && GetTransparent())) DrawPlainFace(C, All, Face, clNavy);
  }
  SetDefaultFaceFont(C);
  if (!GetEnabled()) C->GetFont()->SetColor(clBtnShadow);
  DrawContent(C, ContentRect(), MouseIn, FDown);
  TRect Arrow = Zone;
  if (Pressed || MenuPartActive) Arrow.Left += 2, Arrow.Top += 2;
  DrawComboArrow(C, Arrow, clBtnText);
}

void TbsSkinMenuSpeedButton::Paint() {
  LoadSkinPart();
  if (MouseIn || FDown || MenuPartActive || !GetTransparent()) {
    TbsSkinSpeedButton::Paint();
    return;
  }
  // Idle and transparent: the content and the mark straight over what lies behind.
  TCanvas* C = GetCanvas();
  const bool Part = PartIndex != -1;
  TRect R = Part && !FixedPartName() ? NewClientRect : ContentRect();
  SetDefaultFaceFont(C);
  if (Part) {
    if (GetUseSkinFont()) SetFaceFont(C);
    C->GetFont()->SetColor(!GetEnabled()           ? FSD->SkinColors->CBtnShadow
                           : GetUseSkinFontColor() ? FSD->SkinColors->CBtnText
                                                   : GetDefaultFont()->GetColor());
  }
  if (!GetEnabled()) C->GetFont()->SetColor(clBtnShadow);
  DrawContentFrom(C, R, false, false, true);
  TRect Mark = Part && !FixedPartName() ? Rect(R.Right, R.Top, GetWidth(), R.Bottom) : ZoneRect();
  if (!Part) {
    DrawComboArrow(C, Mark, clBtnText);
  } else if (!IsEmptyRect(MenuMarkerFlatRect)) {
    if (SizingMode != 1) Mark.Left -= 2;
    DrawMenuMarker(C, SkinPicture, MenuMarkerFlatRect, MenuMarkerTransparentColor, Mark);
  } else {
    if (SizingMode != 1) Mark.Left -= 2;
    DrawComboArrow(C, Mark, FSD->SkinColors->CBtnText);
  }
}

#include "skin/boxctrls/bsSkinTabs.h"

#include <algorithm>

#include "platform/classes/Bitmap.h"
#include "platform/classes/ImgList.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Text.h"
#include "platform/user/CommonControls.h"
#include "platform/user/User.h"
#include "skin/boxctrls/bsSkinBoxCtrlsUpDown.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/data/bsUtils.h"

// ---- TbsSkinCustomTabSheet ------------------------------------------------------------------

TbsSkinCustomTabSheet::TbsSkinCustomTabSheet(TComponent* AOwner)
    : TTabSheet(AOwner), FWallPaper(std::make_unique<TBitmap>()) {}

TbsSkinCustomTabSheet::~TbsSkinCustomTabSheet() = default;

void TbsSkinCustomTabSheet::SetWallPaper(TBitmap* Value) {
  FWallPaper->Assign(Value);
  Invalidate();
}

void TbsSkinCustomTabSheet::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND:
      PaintBackground(reinterpret_cast<HDC>(Message.WParam));
      Message.Result = 1;
      return;
    case WM_SIZE: {
      TTabSheet::Dispatch(Message);
      Repaint();
      // A stretched background moved under the children.
      auto* Pages = dynamic_cast<TbsSkinPageControl*>(GetPageControl());
      if (Pages == nullptr || Pages->GetSkinData() == nullptr || Pages->GetSkinData()->Empty) return;
      Pages->LoadSkinPart();
      if (Pages->PartIndex == -1 || !Pages->GetPart().StretchEffect) return;
      for (Integer I = 0; I < GetControlCount(); ++I)
        if (auto* W = dynamic_cast<TWinControl*>(GetControl(I)); W != nullptr && W->HandleAllocated())
          SendMessage(W->GetHandle(), WM_CHECKPARENTBG, 0, 0);
      return;
    }
    case 0xB1C9:
      Message.Result = 0x3233;
      return;
    default:
      TTabSheet::Dispatch(Message);
      return;
  }
}

// ---- TbsSkinPageControl ---------------------------------------------------------------------

namespace {

bool Contains(const TRect& R, Integer X, Integer Y) {
  return X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom;
}

// The x of a mouse message's point lowered by Dx (the native control does not know the shift).
void ShiftMessageX(TMessage& Message, Integer Dx) {
  const auto X = static_cast<SHORT>(LOWORD(Message.LParam));
  Message.LParam = MAKELPARAM(static_cast<WORD>(X - Dx), HIWORD(Message.LParam));
}

}  // namespace

TbsSkinPageControl::TbsSkinPageControl(TComponent* AOwner)
    : TPageControl(AOwner), FDefaultFont(std::make_unique<TFont>()) {
  for (TFont* F : {GetFont(), FDefaultFont.get()}) {
    F->SetName("Arial");
    F->SetHeight(14);
    F->SetStyle({});
    F->SetColor(clBtnText);
  }
  SetCtl3D(false);
  // Everything is painted here; the native control only lays out and switches.
  TControlState S = GetControlState();
  S.Include(csCustomPaint);
  SetControlState(S);
}

TbsSkinPageControl::~TbsSkinPageControl() = default;

// A part of another kind under the name has none of the tab fields: no part.
void TbsSkinPageControl::LoadSkinPart() {
  PartIndex = FSD == nullptr || FSD->Empty ? -1 : FSD->FindControlPart(FSkinDataName);
  if (PartIndex == -1) return;
  auto* P =
      dynamic_cast<TbsDataSkinTabControl*>(FSD->SkinControls[static_cast<std::size_t>(PartIndex)].get());
  if (P == nullptr) {
    PartIndex = -1;
    return;
  }
  TPart& D = FPart;
  D.Picture = SkinPictureAt(FSD, P->PictureIndex);
  // An index beyond the skin's pictures is no picture.
  D.BGPicture = SkinPictureAt(FSD, P->BGPictureIndex);
  D.SkinRect = P->SkinRect;
  D.ClientRect = P->ClientRect;
  D.TabRect = P->TabRect;
  D.ActiveTabRect = IsEmptyRect(P->ActiveTabRect) ? P->TabRect : P->ActiveTabRect;
  D.FocusTabRect = IsEmptyRect(P->FocusTabRect) ? D.ActiveTabRect : P->FocusTabRect;
  D.MouseInTabRect = P->MouseInTabRect;
  D.TabsBGRect = IsEmptyRect(P->TabsBGRect)
                     ? Bounds(P->SkinRect.Left + P->ClientRect.Left, P->SkinRect.Top + P->ClientRect.Top,
                              P->ClientRect.Width(), P->ClientRect.Height())
                     : P->TabsBGRect;
  D.LTPoint = P->LeftTopPoint;
  D.RTPoint = P->RightTopPoint;
  D.LBPoint = P->LeftBottomPoint;
  D.RBPoint = P->RightBottomPoint;
  D.LeftStretch = P->LeftStretch;
  D.TopStretch = P->TopStretch;
  D.RightStretch = P->RightStretch;
  D.BottomStretch = P->BottomStretch;
  D.TabLeftOffset = P->TabLeftOffset;
  D.TabRightOffset = P->TabRightOffset;
  D.TabStretchEffect = P->TabStretchEffect;
  D.StretchEffect = P->StretchEffect;
  D.StretchType = P->StretchType;
  D.FontName = P->FontName;
  D.FontHeight = P->FontHeight;
  D.FontStyle = P->FontStyle;
  D.FontColor = P->FontColor;
  D.ActiveFontColor = P->ActiveFontColor;
  D.FocusFontColor = P->FocusFontColor;
  D.MouseInFontColor = P->MouseInFontColor;
  D.UpDown = P->UpDown;
  D.ShowFocus = P->ShowFocus;
  D.FocusOffsetX = P->FocusOffsetX;
  D.FocusOffsetY = P->FocusOffsetY;
  D.CloseButtonRect = P->CloseButtonRect;
  D.CloseButtonActiveRect =
      IsEmptyRect(P->CloseButtonActiveRect) ? P->CloseButtonRect : P->CloseButtonActiveRect;
  D.CloseButtonDownRect =
      IsEmptyRect(P->CloseButtonDownRect) ? D.CloseButtonActiveRect : P->CloseButtonDownRect;
  D.ButtonTransparent = P->ButtonTransparent;
  D.ButtonTransparentColor = P->ButtonTransparentColor;
}

void TbsSkinPageControl::SetSkinData(TbsSkinData* Value) {
  FSD = Value;
  if (Value != nullptr) Value->FreeNotification(this);
  if (Value != nullptr && !Value->Empty && !GetComponentState().Contains(csDesigning)) ApplySkinChange();
}

void TbsSkinPageControl::Notification(TComponent* AComponent, TOperation Operation) {
  TPageControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FSD) FSD = nullptr;
  if (AComponent == FTabScroller) FTabScroller = nullptr;
}

Integer TbsSkinPageControl::TabHeightInUse() const {
  return GetTabHeight() > 0 ? GetTabHeight() : FDefaultItemHeight;
}

void TbsSkinPageControl::SetTabSize(Integer Width, Integer Height) {
  if (HandleAllocated()) SendMessage(GetHandle(), TCM_SETITEMSIZE, 0, MAKELPARAM(Width, Height));
}

void TbsSkinPageControl::SyncTabScroller() {
  if (FTabScroller != nullptr) FTabScroller->SetPosition(GetScrollPosition());
  Invalidate();
}

void TbsSkinPageControl::ApplySkinChange() {
  LoadSkinPart();
  if (FShowCloseButtons)
    FCloseButtonSize =
        PartIndex != -1 && !IsEmptyRect(FPart.CloseButtonRect) ? FPart.CloseButtonRect.Width() : 14;
  Integer Height = TabHeightInUse();
  if (PartIndex == -1) {
    GetFont()->Assign(FDefaultFont.get());
  } else {
    if (FUseSkinFont) {
      GetFont()->SetName(FPart.FontName);
      GetFont()->SetHeight(FPart.FontHeight);
      GetFont()->SetStyle(FPart.FontStyle);
    } else {
      GetFont()->Assign(FDefaultFont.get());
    }
    GetFont()->SetColor(FPart.FontColor);
    Height = GetTabHeight() > 0 ? GetTabHeight() : FPart.TabRect.Height();
  }
  SetTabSize(GetTabWidth(), Height);
  SyncTabScroller();
  Realign();
  if (FTabScroller != nullptr) {
    // A new scroller takes the new part.
    delete FTabScroller;
    FTabScroller = nullptr;
    UpdateTabScroller();
  }
  if (TTabSheet* Page = GetActivePage()) Page->Repaint();
}

void TbsSkinPageControl::Loaded() {
  TPageControl::Loaded();
  LoadSkinPart();
  if (PartIndex != -1) return;
  SetTabSize(GetTabWidth(), TabHeightInUse());
  SyncTabScroller();
  Realign();
}

void TbsSkinPageControl::SetDefaultItemHeight(Integer Value) {
  FDefaultItemHeight = Value;
  LoadSkinPart();
  if (PartIndex != -1) return;
  SetTabSize(GetTabWidth(), TabHeightInUse());
  SyncTabScroller();
  Realign();
}

void TbsSkinPageControl::SetTabExtededDraw(bool Value) {
  FTabExtededDraw = Value;
  Invalidate();
}

void TbsSkinPageControl::SetTabLayout(TButtonLayout Value) {
  if (FTabLayout == Value) return;
  FTabLayout = Value;
  Invalidate();
}

void TbsSkinPageControl::SetTabMargin(Integer Value) {
  if (Value < -1 || FTabMargin == Value) return;
  FTabMargin = Value;
  Invalidate();
}

void TbsSkinPageControl::SetTabSpacing(Integer Value) {
  if (FTabSpacing == Value) return;
  FTabSpacing = Value;
  Invalidate();
}

void TbsSkinPageControl::SetTextInHorizontal(bool Value) {
  FTextInHorizontal = Value;
  Invalidate();
}

void TbsSkinPageControl::SetTabsBGTransparent(bool Value) {
  if (FTabsBGTransparent == Value) return;
  FTabsBGTransparent = Value;
  Invalidate();
}

void TbsSkinPageControl::SetShowCloseButtons(bool Value) {
  FShowCloseButtons = Value;
  UpdateCloseButtonRoom();
  Invalidate();
}

// The native tab sizes itself to its caption and the padding on both sides; the close button's
// room is added to that padding (the platform's 6 pixels), so no caption runs under it.
void TbsSkinPageControl::UpdateCloseButtonRoom() {
  if (!HandleAllocated()) return;
  const Integer Room = FShowCloseButtons ? FCloseButtonSize + 2 + (PartIndex != -1 ? 3 : 0) : 0;
  SendMessage(GetHandle(), TCM_SETPADDING, 0, MAKELPARAM(6 + (Room + 1) / 2, 3));
}

void TbsSkinPageControl::CreateWnd() {
  TPageControl::CreateWnd();
  if (FShowCloseButtons) UpdateCloseButtonRoom();
}

void TbsSkinPageControl::ShiftRow() {
  SetTabPosition(tpTop);
  SetMultiLine(false);
  SetTabsBGTransparent(true);
}

void TbsSkinPageControl::SetTabsInCenter(bool Value) {
  if (GetTabWidth() == 0) {
    FTabsInCenter = false;
    return;
  }
  FTabsInCenter = Value;
  if (Value) ShiftRow();
  Invalidate();
}

void TbsSkinPageControl::SetTabsOffset(Integer Value) {
  FTabsOffset = Value;
  if (Value > 0) ShiftRow();
  Invalidate();
}

Integer TbsSkinPageControl::GetTabsOffset() {
  if (FTabsOffset > 0) return FTabsOffset;
  if (!FTabsInCenter || GetTabWidth() == 0) return 0;
  Integer Visible = 0;
  for (Integer I = 0; I < GetPageCount(); ++I) Visible += GetPage(I)->GetTabVisible() ? 1 : 0;
  return std::max(GetWidth() / 2 - (GetTabWidth() * Visible) / 2, 0);
}

void TbsSkinPageControl::Change() {
  if (FTabScroller != nullptr) FTabScroller->SetPosition(GetScrollPosition());
  TPageControl::Change();
  Invalidate();
  if (TTabSheet* Page = GetActivePage()) Page->Invalidate();
}

// Tabs that come or go change what fits as much as a new size does.
void TbsSkinPageControl::UpdateTabs() {
  TPageControl::UpdateTabs();
  if (!GetMultiLine() && !GetComponentState().Contains(csDesigning)) UpdateTabScroller();
}

// ---- Geometry -------------------------------------------------------------------------------

TRect TbsSkinPageControl::GetTabRect(Integer TabIndex) {
  TRect R = TabRect(TabIndex);
  if (TabIndex == 0 && !GetMultiLine()) ++R.Left;
  return R;
}

TRect TbsSkinPageControl::CorrectDisplayRect(const TRect& N) {
  const Integer CW = GetClientWidth(), CH = GetClientHeight();
  TRect R = N;
  if (PartIndex != -1) {
    const Integer L = FPart.ClientRect.Left, T = FPart.ClientRect.Top;
    const Integer RM = FPart.SkinRect.Width() - FPart.ClientRect.Right;
    const Integer BM = FPart.SkinRect.Height() - FPart.ClientRect.Bottom;
    switch (GetTabPosition()) {
      case tpTop:
        R = Rect(L, N.Top - 6 + T, CW - RM, CH - BM);
        break;
      case tpBottom:
        R = Rect(L, N.Top - 4 + T, CW - RM, N.Bottom + 4 - BM);
        break;
      case tpLeft:
        R = Rect(N.Left + L - 4, N.Top - 4 + T, CW - RM, CH - BM);
        break;
      case tpRight:
        R = Rect(L, N.Top - 4 + T, N.Right - RM + 4, CH - BM);
        break;
    }
  } else {
    switch (GetTabPosition()) {
      case tpTop:
        R = Rect(1, N.Top - 5, CW - 1, CH - 1);
        break;
      case tpBottom:
        R = Rect(1, 1, CW - 1, N.Bottom + 3);
        break;
      case tpLeft:
        R = Rect(N.Left - 3, N.Top - 5, CW - 1, CH - 1);
        break;
      case tpRight:
        R = Rect(N.Left - 3, N.Top - 5, N.Right + 3, CH - 1);
        break;
    }
  }
  return R;
}

// Window to display: the native answer corrected. Display to window: the inverse, the
// rectangle grown by the margins the correction leaves around the client area, so that the
// two directions undo each other.
void TbsSkinPageControl::AdjustRect(TMessage& Message) {
  auto* R = reinterpret_cast<RECT*>(Message.LParam);
  if (R == nullptr) {
    TPageControl::Dispatch(Message);
    return;
  }
  if (Message.WParam == FALSE) {
    TPageControl::Dispatch(Message);
    *R = CorrectDisplayRect(*R);
    return;
  }
  RECT Client = GetClientRect();
  TMessage Native{TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&Client), 0};
  TPageControl::Dispatch(Native);
  const TRect C = GetClientRect();
  const TRect D = CorrectDisplayRect(Client);
  *R = Rect(R->Left - (D.Left - C.Left), R->Top - (D.Top - C.Top), R->Right + (C.Right - D.Right),
            R->Bottom + (C.Bottom - D.Bottom));
  Message.Result = 0;
}

// ---- The tab scroller -----------------------------------------------------------------------

Integer TbsSkinPageControl::GetScrollRange() {
  Integer Range = 0, Visible = 0;
  for (Integer I = 0; I < GetPageCount(); ++I) {
    if (!GetPage(I)->GetTabVisible()) continue;
    const TRect R = GetTabRect(Visible++);
    if (R.Right > GetWidth() - 3 || R.Right <= 0) ++Range;
  }
  return Range;
}

Integer TbsSkinPageControl::GetScrollPosition() {
  Integer Position = 0, Visible = 0;
  for (Integer I = 0; I < GetPageCount(); ++I) {
    if (!GetPage(I)->GetTabVisible()) continue;
    if (GetTabRect(Visible++).Right <= 0) ++Position;
  }
  return Position;
}

void TbsSkinPageControl::UpdateTabScroller() {
  if (!HandleAllocated()) return;
  // The native arrows would paint over the row: the skinned scroller stands in for them.
  if (const HWND Native = FindWindowEx(GetHandle(), nullptr, UPDOWN_CLASS, nullptr)) DestroyWindow(Native);
  const Integer Range = GetScrollRange();
  if ((Range == 0 || GetMultiLine()) && FTabScroller != nullptr) {
    delete FTabScroller;
    FTabScroller = nullptr;
  } else if (Range > 0 && FTabScroller == nullptr) {
    FTabScroller = new TbsSkinUpDown(this);
    FTabScroller->SetWidth(FDefaultItemHeight * 2);
    FTabScroller->SetHeight(FDefaultItemHeight);
    FTabScroller->SetMin(0);
    FTabScroller->SetMax(Range);
    FTabScroller->SetPosition(GetScrollPosition());
    FTabScroller->SetIncrement(1);
    FTabScroller->OnChange = TNotifyEvent(this, &TbsSkinPageControl::TabScrollerChange);
    LoadSkinPart();
    FTabScroller->SetSkinDataName(PartIndex != -1 ? FPart.UpDown : std::string());
    FTabScroller->SetSkinData(FSD);
    FTabScroller->SetParent(this);
    FTabScroller->SetVisible(true);
  }
  if (FTabScroller == nullptr) return;
  FTabScroller->SetMax(Range);
  FTabScroller->SetLeft(GetWidth() - FTabScroller->GetWidth());
  FTabScroller->SetTop(GetTabPosition() == tpTop ? 0 : GetHeight() - FTabScroller->GetHeight());
}

void TbsSkinPageControl::TabScrollerChange(TObject*) {
  if (FTabScroller == nullptr) return;
  FTabScroller->SetMax(GetScrollRange());
  SendMessage(GetHandle(), WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, FTabScroller->GetPosition()), 0);
}

// ---- Pages, hot tabs and close buttons ------------------------------------------------------

TTabSheet* TbsSkinPageControl::PageOfTab(Integer TabIndex) const {
  Integer Visible = 0;
  for (Integer I = 0; I < GetPageCount(); ++I) {
    TTabSheet* P = GetPage(I);
    if (!P->GetTabVisible()) continue;
    if (Visible++ == TabIndex) return P;
  }
  return nullptr;
}

void TbsSkinPageControl::SelectNextPage() {
  TTabSheet* Active = GetActivePage();
  if (Active == nullptr) return;
  for (Integer I = Active->GetPageIndex() + 1; I < GetPageCount(); ++I)
    if (GetPage(I)->GetTabVisible()) {
      SetActivePage(GetPage(I));
      return;
    }
}

void TbsSkinPageControl::SelectPrevPage() {
  TTabSheet* Active = GetActivePage();
  if (Active == nullptr) return;
  for (Integer I = Active->GetPageIndex() - 1; I >= 0; --I)
    if (GetPage(I)->GetTabVisible()) {
      SetActivePage(GetPage(I));
      return;
    }
}

void TbsSkinPageControl::RepaintTabRow() {
  Invalidate();
}

void TbsSkinPageControl::TrackMouse(Integer X, Integer Y) {
  FOldHotTab = FHotTab;
  FOldHotPage = FHotPage;
  FHotTab = FHotPage = -1;
  Integer Visible = 0;
  for (Integer I = 0; I < GetPageCount() && FHotTab == -1; ++I) {
    if (!GetPage(I)->GetTabVisible()) continue;
    if (Contains(GetTabRect(Visible), X, Y)) {
      FHotTab = Visible;
      FHotPage = I;
    }
    ++Visible;
  }
  const Integer Active = GetTabIndex();
  if (FHotTab != FOldHotTab) {
    if (FOldHotTab != Active && FOldHotPage >= 0 && FOldHotPage < GetPageCount()) {
      if (auto* Old = dynamic_cast<TbsSkinCustomTabSheet*>(GetPage(FOldHotPage))) {
        Old->CloseButtonMouseIn = false;
        Old->CloseButtonDown = false;
      }
      RepaintTabRow();
    }
    if (FHotTab != Active && FHotPage >= 0 && FHotPage < GetPageCount()) RepaintTabRow();
  }
  if (FHotTab == -1 || !FShowCloseButtons) return;
  auto* Sheet = dynamic_cast<TbsSkinCustomTabSheet*>(GetPage(FHotPage));
  if (Sheet == nullptr) return;
  const TRect T = GetTabRect(FHotTab);
  TRect B = Sheet->CloseButtonRect;
  B = Bounds(B.Left + T.Left, B.Top + T.Top, B.Width(), B.Height());
  if (Contains(B, X, Y)) {
    if (!Sheet->CloseButtonMouseIn) {
      Sheet->CloseButtonMouseIn = true;
      RepaintTabRow();
    }
  } else if (Sheet->CloseButtonMouseIn) {
    Sheet->CloseButtonMouseIn = false;
    Sheet->CloseButtonDown = false;
    RepaintTabRow();
  }
}

void TbsSkinPageControl::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TPageControl::MouseMove(Shift, X, Y);
  if (!GetComponentState().Contains(csDesigning)) TrackMouse(X, Y);
}

void TbsSkinPageControl::PressCloseButton(bool Down, Integer X, Integer Y) {
  if (FHotTab == -1 || !FShowCloseButtons) return;
  auto* Sheet = dynamic_cast<TbsSkinCustomTabSheet*>(GetPage(FHotPage));
  if (Sheet == nullptr) return;
  const TRect T = GetTabRect(FHotTab);
  TRect B = Sheet->CloseButtonRect;
  // The point arrived lowered by the shift; the tab rectangle is raised by it.
  B = Bounds(B.Left + T.Left - (RowShifted() ? GetTabsOffset() : 0), B.Top + T.Top, B.Width(), B.Height());
  if (!Contains(B, X, Y)) {
    Sheet->CloseButtonMouseIn = false;
    Sheet->CloseButtonDown = false;
    return;
  }
  Sheet->CloseButtonMouseIn = true;
  Sheet->CloseButtonDown = Down;
  RepaintTabRow();
  if (!Down) CloseActivePage();
}

void TbsSkinPageControl::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TPageControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  if (!GetComponentState().Contains(csDesigning) && !RowShifted()) TrackMouse(X, Y);
  PressCloseButton(true, X, Y);
}

void TbsSkinPageControl::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TPageControl::MouseUp(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  if (!GetComponentState().Contains(csDesigning) && !RowShifted()) TrackMouse(X, Y);
  PressCloseButton(false, X, Y);
}

void TbsSkinPageControl::CloseActivePage() {
  auto* Sheet = dynamic_cast<TbsSkinCustomTabSheet*>(GetActivePage());
  if (Sheet == nullptr) return;
  bool CanClose = true;
  if (OnClose) OnClose(Sheet, CanClose);
  if (CanClose) {
    Sheet->SetTabVisible(false);
    if (FFreeOnClose) delete Sheet;
    if (OnAfterClose) OnAfterClose(this);
    return;
  }
  POINT P;
  GetCursorPos(&P);
  if (HandleAllocated() && WindowFromPoint(P) == GetHandle()) return;
  Sheet->CloseButtonMouseIn = false;
  Sheet->CloseButtonDown = false;
  RepaintTabRow();
}

// ---- Messages -------------------------------------------------------------------------------

void TbsSkinPageControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT:
      // Always through the own painting, also with no pages.
      PaintHandler(Message);
      return;
    case WM_ERASEBKGND: {
      bool AnyTab = false;
      for (Integer I = 0; I < GetPageCount() && !AnyTab; ++I) AnyTab = GetPage(I)->GetTabVisible();
      Message.Result = 1;
      if (AnyTab) return;
      LoadSkinPart();
      if (PartIndex == -1)
        TPageControl::Dispatch(Message);
      else
        PaintEmptyBackground(reinterpret_cast<HDC>(Message.WParam));
      return;
    }
    case WM_SIZE:
      LoadSkinPart();
      TPageControl::Dispatch(Message);
      if (!GetMultiLine() && !GetComponentState().Contains(csDesigning)) UpdateTabScroller();
      return;
    case WM_HSCROLL:
      TPageControl::Dispatch(Message);
      Repaint();
      return;
    case WM_MOUSEWHEEL:
      TPageControl::Dispatch(Message);
      if (FMouseWheelSupport && HandleAllocated() && Focused()) {
        if (static_cast<SHORT>(HIWORD(Message.WParam)) < 0)
          SelectNextPage();
        else
          SelectPrevPage();
      }
      return;
    case TCM_SETCURSEL:
      TPageControl::Dispatch(Message);
      if (!GetComponentState().Contains(csLoading)) Invalidate();
      return;
    case TCM_ADJUSTRECT:
      AdjustRect(Message);
      return;
    case TCM_GETITEMRECT: {
      TPageControl::Dispatch(Message);
      auto* R = reinterpret_cast<RECT*>(Message.LParam);
      if (R == nullptr || GetStyle() != tsTabs) return;
      Integer Dx = 0, Dy = 0;
      switch (GetTabPosition()) {
        case tpTop:
          Dx = (GetMultiLine() ? 0 : -2) + (RowShifted() ? GetTabsOffset() : 0);
          Dy = -2;
          break;
        case tpBottom:
          Dx = GetMultiLine() ? 0 : -2;
          Dy = 2;
          break;
        case tpLeft:
          Dx = -2;
          break;
        case tpRight:
          Dx = 2;
          break;
      }
      R->Left += Dx;
      R->Right += Dx;
      R->Top += Dy;
      R->Bottom += Dy;
      return;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TPageControl::Dispatch(Message);
      if (RowShifted()) Invalidate();
      return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
      if (RowShifted()) ShiftMessageX(Message, GetTabsOffset());
      TPageControl::Dispatch(Message);
      return;
    case WM_NCHITTEST:
      // Screen coordinates, lowered all the same: the native hit test finds the shifted tabs.
      if (RowShifted()) ShiftMessageX(Message, GetTabsOffset());
      TPageControl::Dispatch(Message);
      return;
    case CM_MOUSELEAVE:
      TPageControl::Dispatch(Message);
      if (Message.LParam != 0) return;
      TrackMouse(-1, -1);
      if (FOldHotTab != GetTabIndex() && FOldHotPage >= 0 && FOldHotPage < GetPageCount()) {
        FOldHotTab = FOldHotPage = -1;
        RepaintTabRow();
      }
      return;
    case WM_CHECKPARENTBG:
      if (FTabsBGTransparent) Repaint();
      return;
    case 0xB1C9:
      Message.Result = 0x3233;
      return;
    default:
      TPageControl::Dispatch(Message);
      return;
  }
}

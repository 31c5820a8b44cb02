// One window of a skinned menu chain: building, sizing, placement, fade-in, scrolling, mouse and
// keyboard.
#include "platform/classes/Application.h"
#include "platform/classes/Bitmap.h"
#include "platform/classes/ImgList.h"
#include "platform/classes/Timer.h"
#include "platform/gdi/Blit.h"
#include "platform/gdi/Regions.h"
#include "platform/gdi/TextLayout.h"
#include "platform/system/Clock.h"
#include "platform/system/ScopeExit.h"
#include "platform/system/Strings.h"
#include "platform/user/User.h"
#include "skin/data/bsLayered.h"
#include "skin/data/bsRegions.h"
#include "skin/data/bsUtils.h"
#include "skin/form/bsSkinPopupMenus.h"

namespace {

// Window timer of the scroll markers.
constexpr UINT_PTR ScrollTimerId = 1;
constexpr Integer MarkerBand = 10;

bool Inside(const TRect& R, const TPoint& P) {
  return P.X >= R.Left && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom;
}

TBitmap* PictureAt(TbsSkinData* SD, Integer Index) {
  if (SD == nullptr || Index < 0 || Index >= static_cast<Integer>(SD->ActivePictures.size())) return nullptr;
  return SD->ActivePictures[Index].get();
}

}  // namespace

TbsSkinPopupWindow::TbsSkinPopupWindow(TbsSkinMenu* AOwner, TbsDataSkinPopupWindow* AWindowRecord,
                                       TbsSkinMenu* AParentMenu)
    : TCustomControl(AOwner), ParentMenu(AParentMenu) {
  SetVisible(false);
  SetCtl3D(false);
  SetParentCtl3D(false);
  if (AWindowRecord != nullptr) {
    TbsSkinData* SD = ParentMenu->SkinData;
    if (TBitmap* Picture = PictureAt(SD, AWindowRecord->WindowPictureIndex)) {
      WindowPart = AWindowRecord;
      SkinData = SD;
      WindowPicture = Picture;
      MaskPicture = PictureAt(SD, AWindowRecord->MaskPictureIndex);
    }
  }
  MouseTimer = new TTimer(this);
  MouseTimer->SetEnabled(false);
  MouseTimer->SetInterval(50);
  MouseTimer->SetOnTimer(TNotifyEvent(this, &TbsSkinPopupWindow::MouseTimerTick));
  AnimationTimer = new TTimer(this);
  AnimationTimer->SetEnabled(false);
  AnimationTimer->SetInterval(20);
  AnimationTimer->SetOnTimer(TNotifyEvent(this, &TbsSkinPopupWindow::AnimationTimerTick));
}

TbsSkinPopupWindow::~TbsSkinPopupWindow() {
  ItemList.clear();
  if (Region != nullptr) DeleteObject(Region);
}

void TbsSkinPopupWindow::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style = WS_POPUP;
  Params.ExStyle = WS_EX_TOOLWINDOW;
  Params.WindowClass.style |= CS_SAVEBITS;
  if (IsWindowsXPOrLater()) Params.WindowClass.style |= CS_DROPSHADOW;
}

void TbsSkinPopupWindow::Dispatch(TMessage& Message) {
  TbsSkinMenu* Menu = ParentMenu;
  Menu->WindowMessageStarts();
  const auto Done = ScopeExit([Menu] { Menu->WindowMessageEnds(); });
  switch (Message.Msg) {
    case WM_MOUSEACTIVATE:
      Message.Result = MA_NOACTIVATE;
      return;
    case WM_ERASEBKGND:
      // The paint builds the whole window in one piece.
      Message.Result = 1;
      return;
    case WM_TIMER:
      TCustomControl::Dispatch(Message);
      if (Message.WParam != ScrollTimerId) return;
      if (ScrollCode == 1) {
        if (CanScroll(1))
          ScrollUp(false);
        else
          StopScroll();
      } else if (ScrollCode == 2) {
        if (CanScroll(2))
          ScrollDown(false);
        else
          StopScroll();
      }
      return;
    default:
      TCustomControl::Dispatch(Message);
  }
}

Integer TbsSkinPopupWindow::IndexOfItem(const TbsSkinMenuItem* Item) const {
  for (size_t I = 0; I < ItemList.size(); ++I)
    if (ItemList[I].get() == Item) return static_cast<Integer>(I);
  return -1;
}

// ---- Building and sizing --------------------------------------------------------------------

void TbsSkinPopupWindow::SetCanvasFont() {
  TFont* F = GetCanvas()->GetFont();
  if (WindowPart != nullptr && ItemPart != nullptr && ParentMenu->UseSkinFont) {
    F->SetName(ItemPart->FontName);
    F->SetHeight(ItemPart->FontHeight);
    F->SetStyle(ItemPart->FontStyle);
  } else {
    F->Assign(ParentMenu->DefaultMenuItemFont.get());
  }
}

void TbsSkinPopupWindow::AppendChildren(TMenuItem* Item, Integer From) {
  if (Item == nullptr) return;
  for (Integer I = From; I < Item->GetCount(); ++I) {
    TMenuItem* Child = Item->GetItem(I);
    if (!Child->GetVisible()) continue;
    if (Child->GetAction() != nullptr) Child->InitiateAction();
    ItemList.push_back(std::make_unique<TbsSkinMenuItem>(this, ItemPart, Child));
  }
}

void TbsSkinPopupWindow::Build(TMenuItem* FirstItem, TMenuItem* SecondItem, Integer StartIndex, bool Merged) {
  ItemPart = nullptr;
  if (WindowPart != nullptr && SkinData != nullptr && !SkinData->Empty)
    for (const auto& Object : SkinData->SkinObjects)
      if (auto* Part = dynamic_cast<TbsDataSkinMenuItem*>(Object.get())) {
        ItemPart = Part;
        break;
      }
  GetHandle();
  SetCanvasFont();
  TMenu* Menu = FirstItem->GetParentMenu();
  Images = Menu != nullptr ? Menu->GetImages() : nullptr;
  AppendChildren(FirstItem, StartIndex);
  if (Merged) AppendChildren(SecondItem, IntMax(0, StartIndex - FirstItem->GetCount()));
  CalcSize(Merged);
  const Integer W = GetWidth(), H = GetHeight();
  if (WindowPart != nullptr) {
    const Integer PW = WindowPicture->GetWidth(), PH = WindowPicture->GetHeight();
    const TbsDataSkinPopupWindow& P = *WindowPart;
    NewLTPoint = P.LeftTopPoint;
    NewRTPoint = Point(W + P.RightTopPoint.X - PW, P.RightTopPoint.Y);
    NewLBPoint = Point(P.LeftBottomPoint.X, H + P.LeftBottomPoint.Y - PH);
    NewRBPoint = Point(W + P.RightBottomPoint.X - PW, H + P.RightBottomPoint.Y - PH);
    NewItemsRect =
        Rect(P.ItemsRect.Left, P.ItemsRect.Top, W + P.ItemsRect.Right - PW, H + P.ItemsRect.Bottom - PH);
  } else {
    NewItemsRect = Rect(2, 2, W - 2, H - 2);
  }
  LayoutItems();
  if (MaskPicture != nullptr && WindowPart != nullptr) {
    const TbsDataSkinPopupWindow& P = *WindowPart;
    HRGN NewRegion = nullptr;
    CreateSkinRegion(NewRegion, P.LeftTopPoint, P.RightTopPoint, P.LeftBottomPoint, P.RightBottomPoint,
                     P.ItemsRect, NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint, NewItemsRect, MaskPicture,
                     W, H);
    SetWindowRgn(GetHandle(), NewRegion, TRUE);
    if (Region != nullptr) DeleteObject(Region);
    Region = NewRegion;
  }
}

Integer TbsSkinPopupWindow::CalcWidth() {
  Integer W = 0;
  for (const auto& Item : ItemList) {
    std::string Text = Item->MenuItem->GetCaption();
    if (Item->MenuItem->GetShortCut() != scNone) Text += "  " + ShortCutToText(Item->MenuItem->GetShortCut());
    TRect R(0, 0, 0, 0);
    DrawWideText(GetCanvas(), Utf8ToUtf16(Text), R, DT_CALCRECT);
    W = IntMax(W, R.Width() + 2);
  }
  GlyphWidth = Images != nullptr ? Images->GetWidth() + 5 : 19;
  W += GlyphWidth + 19;
  if (WindowPart == nullptr) return W + 10;
  Integer Result = WindowPicture->GetWidth() - WindowPart->ItemsRect.Width() + W;
  if (ItemPart != nullptr)
    Result += ItemPart->TextRect.Left + (ItemPart->SkinRect.Width() - ItemPart->TextRect.Right);
  return Result;
}

Integer TbsSkinPopupWindow::CalcHeight(bool Merged) {
  const Integer N = static_cast<Integer>(ItemList.size());
  const Integer Frame = Merged ? 6 : 4;
  const Integer Max = ParentMenu->MaxMenuItemsInWindow;
  const Integer PH = WindowPart != nullptr ? WindowPicture->GetHeight() : 0;
  const Integer Outside =
      WindowPart != nullptr ? PH + WindowPart->ItemsRect.Top - WindowPart->ItemsRect.Bottom : Frame;
  if (Max > 0 && Max < N) {
    const Integer One = ItemPart != nullptr ? ItemPart->SkinRect.Height() : ParentMenu->DefaultMenuItemHeight;
    Scroll = true;
    LimitScroll = true;
    return One * Max + Outside + 2 * MarkerBand;
  }
  Integer Sum = 0;
  for (const auto& Item : ItemList) Sum += Item->ItemHeight();
  return Sum + Outside;
}

void TbsSkinPopupWindow::CalcSize(bool Merged) {
  VisibleStartIndex = 0;
  VisibleCount = static_cast<Integer>(ItemList.size());
  Scroll = false;
  LimitScroll = false;
  const Integer W = CalcWidth();
  Integer H = CalcHeight(Merged);
  if (H > ParentMenu->WorkArea.Height()) {
    H = ParentMenu->WorkArea.Height();
    Scroll = true;
  }
  SetBounds(GetLeft(), GetTop(), W, H);
}

void TbsSkinPopupWindow::LayoutItems() {
  Integer Y = NewItemsRect.Top + (Scroll ? MarkerBand : 0);
  const Integer Limit = NewItemsRect.Bottom - (Scroll ? MarkerBand : 0);
  VisibleCount = 0;
  for (Integer I = VisibleStartIndex; I < static_cast<Integer>(ItemList.size()); ++I) {
    TbsSkinMenuItem* Item = ItemList[I].get();
    const Integer H = Item->ItemHeight();
    Item->ObjectRect = Rect(NewItemsRect.Left, Y, NewItemsRect.Right, Y + H);
    Y += H;
    if (Y > Limit) break;
    Item->Visible = true;
    ++VisibleCount;
  }
  if (!Scroll) return;
  for (Integer I = 0; I < static_cast<Integer>(ItemList.size()); ++I)
    if (I < VisibleStartIndex || I >= VisibleStartIndex + VisibleCount) ItemList[I]->Visible = false;
}

Integer TbsSkinPopupWindow::LastPageStartIndex() const {
  Integer Y = NewItemsRect.Bottom - MarkerBand;
  Integer K = 0;
  for (Integer I = static_cast<Integer>(ItemList.size()) - 1; I >= 0; --I) {
    Y -= ItemList[I]->ItemHeight();
    if (Y < MarkerBand) break;
    ++K;
  }
  return static_cast<Integer>(ItemList.size()) - K;
}

// ---- Placement and showing ------------------------------------------------------------------

Integer TbsSkinPopupWindow::CalcTop(const TRect& R, bool Submenu, bool PopupToUp, bool& Flipped) const {
  const TRect& W = ParentMenu->WorkArea;
  const Integer H = GetHeight();
  const Integer Middle = W.Top + W.Height() / 2;
  Flipped = false;
  if (Scroll && !LimitScroll) return W.Top;
  if (Submenu) {
    if (R.Top + H - NewItemsRect.Top <= W.Bottom) return R.Top - NewItemsRect.Top;
    if (R.Top < Middle) return W.Bottom - H;
    return IntMax(R.Bottom - H + NewItemsRect.Top, W.Top);
  }
  if (PopupToUp) {
    if (R.Top - H >= W.Top) return R.Top - H;
    Flipped = true;
    if (R.Top < Middle) {
      if (R.Bottom + H <= W.Bottom) {
        Flipped = false;
        return R.Bottom;
      }
      return W.Bottom - H;
    }
    return W.Top;
  }
  if (R.Bottom + H <= W.Bottom) return R.Bottom;
  if (R.Top < Middle) {
    Flipped = true;
    return W.Bottom - H;
  }
  if (R.Top - H >= W.Top) return R.Top - H;
  Flipped = true;
  return W.Top;
}

Integer TbsSkinPopupWindow::CalcLeft(const TRect& R, bool Submenu, bool Flipped) const {
  const TRect& W = ParentMenu->WorkArea;
  const Integer Wd = GetWidth();
  if (Submenu || (Scroll && !LimitScroll) || Flipped) {
    if (R.Right + Wd + 1 <= W.Right) return R.Right + 1;
    return R.Left - Wd - 1;
  }
  if (R.Left + Wd > W.Right) return W.Right - Wd;
  if (R.Left < W.Left) return W.Left;
  return R.Left;
}

void TbsSkinPopupWindow::Show(const TRect& R, TMenuItem* Item, Integer StartIndex, bool Submenu,
                              bool PopupToUp) {
  const bool Fade = IsLayeredWindowAvailable() && ParentMenu->AlphaBlend && ParentMenu->AlphaBlendAnimation &&
                    ParentMenu->First;
  if (Fade && Application != nullptr) Application->ProcessMessages();
  Build(Item, nullptr, StartIndex, false);
  ShowAt(R, Submenu, PopupToUp);
}

void TbsSkinPopupWindow::ShowMerged(const TRect& R, TMenuItem* FirstItem, TMenuItem* SecondItem,
                                    Integer StartIndex, bool Submenu, bool PopupToUp) {
  const bool Fade = IsLayeredWindowAvailable() && ParentMenu->AlphaBlend && ParentMenu->AlphaBlendAnimation &&
                    ParentMenu->First;
  if (Fade && Application != nullptr) Application->ProcessMessages();
  Build(FirstItem, SecondItem, StartIndex, true);
  ShowAt(R, Submenu, PopupToUp);
}

void TbsSkinPopupWindow::ShowAt(const TRect& R, bool Submenu, bool PopupToUp) {
  bool Flipped = false;
  ShowY = CalcTop(R, Submenu, PopupToUp, Flipped);
  ShowX = CalcLeft(R, Submenu, Flipped);
  const bool Layered = IsLayeredWindowAvailable() && ParentMenu->AlphaBlend;
  const bool Fade = Layered && ParentMenu->AlphaBlendAnimation && ParentMenu->First;
  if (Layered) {
    SetWindowLong(GetHandle(), GWL_EXSTYLE, GetWindowLong(GetHandle(), GWL_EXSTYLE) | WS_EX_LAYERED);
    SetWindowAlpha(GetHandle(), Fade ? 0 : ParentMenu->AlphaBlendValue);
  }
  SetBounds(ShowX, ShowY, GetWidth(), GetHeight());
  SetWindowPos(GetHandle(), HWND_TOPMOST, ShowX, ShowY, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
  SetVisible(true);
  if (Fade) {
    // Held on the tick source without processing messages, as the first window fades in.
    const Integer Target = ParentMenu->AlphaBlendValue;
    const Integer Step = IntMax(Target / 15, 1);
    Integer Alpha = 0;
    DWORD Last = 0;
    while (Alpha < Target) {
      if (GetTickCount() - Last > 5) {
        Last = GetTickCount();
        Alpha = IntMin(Alpha + Step, Target);
        SetWindowAlpha(GetHandle(), static_cast<Byte>(Alpha));
      }
    }
  }
  MouseTimer->SetEnabled(true);
  ActiveItem = -1;
  for (size_t I = 0; I < ItemList.size(); ++I)
    if (ItemList[I]->Selectable()) {
      ItemList[I]->WaitCommand = true;
      ActiveItem = static_cast<Integer>(I);
      ItemList[I]->Enter(true);
      break;
    }
}

void TbsSkinPopupWindow::CloseSubmenus() {
  const Integer P = ParentMenu->IndexOfPopup(this);
  if (P + 1 < static_cast<Integer>(ParentMenu->PopupList.size())) ParentMenu->CloseFrom(P + 1);
  for (const auto& Item : ItemList) {
    if (!Item->Down) continue;
    Item->Down = false;
    if (Item->IsAnimated() && !Item->Data->InActiveAnimation) {
      Item->CurrentFrame = 0;
      Item->Draw(GetCanvas());
    } else {
      Item->ReDraw();
    }
  }
}

// ---- Scrolling ------------------------------------------------------------------------------

bool TbsSkinPopupWindow::CanScroll(Integer Direction) const {
  if (Direction == 1) return VisibleStartIndex > 0;
  if (Direction == 2) return VisibleStartIndex + VisibleCount - 1 < static_cast<Integer>(ItemList.size()) - 1;
  return false;
}

void TbsSkinPopupWindow::ScrollUp(bool Wrap) {
  if (VisibleStartIndex > 0)
    --VisibleStartIndex;
  else if (Wrap)
    VisibleStartIndex = LastPageStartIndex();
  else
    return;
  LayoutItems();
  Invalidate();
}

void TbsSkinPopupWindow::ScrollDown(bool Wrap) {
  if (CanScroll(2))
    ++VisibleStartIndex;
  else if (Wrap)
    VisibleStartIndex = 0;
  else
    return;
  LayoutItems();
  Invalidate();
}

TRect TbsSkinPopupWindow::UpMarkerRect() const {
  return Rect(NewItemsRect.Left, NewItemsRect.Top, NewItemsRect.Right, NewItemsRect.Top + MarkerBand);
}

TRect TbsSkinPopupWindow::DownMarkerRect() const {
  return Rect(NewItemsRect.Left, NewItemsRect.Bottom - MarkerBand, NewItemsRect.Right, NewItemsRect.Bottom);
}

void TbsSkinPopupWindow::StartScroll(Integer Code) {
  ScrollCode = Code;
  if (Code == 1)
    DrawUpMarker(GetCanvas());
  else
    DrawDownMarker(GetCanvas());
  const Integer P = ParentMenu->IndexOfPopup(this);
  if (P + 1 < static_cast<Integer>(ParentMenu->PopupList.size())) ParentMenu->CloseFrom(P + 1);
  SetTimer(GetHandle(), ScrollTimerId, 100, nullptr);
}

void TbsSkinPopupWindow::StopScroll() {
  ScrollCode = 0;
  DrawUpMarker(GetCanvas());
  DrawDownMarker(GetCanvas());
  if (HandleAllocated()) KillTimer(GetHandle(), ScrollTimerId);
}

// ---- Mouse ----------------------------------------------------------------------------------

void TbsSkinPopupWindow::MouseTimerTick(TObject*) {
  POINT P;
  GetCursorPos(&P);
  const TPoint Client = ScreenToClient(Point(P.X, P.Y));
  if (Client == LastMousePoint) return;
  LastMousePoint = Client;
  if (WindowFromPoint(P) == GetHandle()) {
    TrackMouse(Client.X, Client.Y);
  } else if (Scroll) {
    ScrollCode = 0;
    DrawUpMarker(GetCanvas());
    DrawDownMarker(GetCanvas());
  }
}

void TbsSkinPopupWindow::ChangeActive(Integer NewIndex, bool ByKey) {
  OldActiveItem = ActiveItem;
  ActiveItem = NewIndex;
  if (ActiveItem == OldActiveItem) return;
  if (ActiveItem != -1) ItemList[ActiveItem]->Enter(ByKey);
  if (OldActiveItem != -1) ItemList[OldActiveItem]->Leave();
}

void TbsSkinPopupWindow::TrackMouse(Integer X, Integer Y) {
  const TPoint P(X, Y);
  if (Scroll) {
    if (ScrollCode == 0 && Inside(UpMarkerRect(), P) && CanScroll(1))
      StartScroll(1);
    else if (ScrollCode == 0 && Inside(DownMarkerRect(), P) && CanScroll(2))
      StartScroll(2);
    else if (ScrollCode != 0 && !Inside(UpMarkerRect(), P) && !Inside(DownMarkerRect(), P))
      StopScroll();
  }
  if (ItemList.empty()) return;
  OldActiveItem = ActiveItem;
  for (size_t I = 0; I < ItemList.size(); ++I)
    if (ItemList[I]->Visible && Inside(ItemList[I]->ObjectRect, P)) {
      ActiveItem = static_cast<Integer>(I);
      break;
    }
  if (ActiveItem >= static_cast<Integer>(ItemList.size())) ActiveItem = -1;
  if (ActiveItem == OldActiveItem) {
    if (ActiveItem == -1) return;
    TbsSkinMenuItem* Item = ItemList[ActiveItem].get();
    if (Item->WaitCommand) {
      Item->WaitCommand = false;
      if (Item->MenuItem->GetCount() > 0) Item->Enter(false);
    }
    return;
  }
  if (OldActiveItem != -1 && ItemList[OldActiveItem]->Selectable()) ItemList[OldActiveItem]->Leave();
  if (ActiveItem != -1 && ItemList[ActiveItem]->Selectable()) ItemList[ActiveItem]->Enter(false);
}

void TbsSkinPopupWindow::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TCustomControl::MouseUp(Button, Shift, X, Y);
  TrackMouse(X, Y);
  if (ActiveItem == -1 || Button != mbLeft) return;
  TbsSkinMenuItem* Item = ItemList[ActiveItem].get();
  if (Item->Visible && Inside(Item->ObjectRect, Point(X, Y)) && !Item->IsSeparator()) Item->Click();
}

// ---- Keyboard -------------------------------------------------------------------------------

void TbsSkinPopupWindow::ProcessKey(Word Key) {
  if (!GetVisible()) return;
  for (size_t I = 0; I < ItemList.size(); ++I) {
    TbsSkinMenuItem* Item = ItemList[I].get();
    if (!GetEnabled() || !IsAccel(Key, Item->MenuItem->GetCaption())) continue;
    Item->Enter(false);
    OldActiveItem = ActiveItem;
    ActiveItem = static_cast<Integer>(I);
    if (OldActiveItem != -1 && OldActiveItem != ActiveItem) ItemList[OldActiveItem]->Leave();
    Item->Click();
    return;
  }
  const Integer Count = static_cast<Integer>(ParentMenu->PopupList.size());
  auto CloseLast = [this, Count] {
    if (Count >= 2) {
      TbsSkinPopupWindow* Prev = ParentMenu->PopupList[Count - 2];
      if (Prev->ActiveItem >= 0 && Prev->ActiveItem < static_cast<Integer>(Prev->ItemList.size()))
        Prev->ItemList[Prev->ActiveItem]->Down = false;
    }
    ParentMenu->CloseFrom(Count - 1);
  };
  switch (Key) {
    case VK_RETURN:
      if (ActiveItem != -1) ItemList[ActiveItem]->Click();
      break;
    case VK_ESCAPE:
      CloseLast();
      break;
    case VK_LEFT:
      if (Count >= 2) CloseLast();
      break;
    case VK_UP:
      SelectPrev();
      break;
    case VK_RIGHT:
      if (ActiveItem != -1 && ItemList[ActiveItem]->MenuItem->GetCount() > 0) ItemList[ActiveItem]->Click();
      break;
    case VK_DOWN:
      SelectNext();
      break;
    default:
      break;
  }
}

void TbsSkinPopupWindow::SelectNext() {
  const Integer Count = static_cast<Integer>(ItemList.size());
  if (Count == 0) return;
  if (ScrollableNow() && VisibleStartIndex + VisibleCount == ActiveItem + 1) ScrollDown(true);
  Integer Start = ActiveItem < 0 ? 0 : ActiveItem + 1;
  if (Start == Count) Start = 0;
  Integer Found = ActiveItem;
  for (Integer I = Start; I < Count; ++I) {
    if (ItemList[I]->Selectable()) {
      Found = I;
      break;
    }
    if (ScrollableNow() && VisibleStartIndex + VisibleCount == I + 1) ScrollDown(true);
  }
  ChangeActive(Found, true);
}

void TbsSkinPopupWindow::SelectPrev() {
  const Integer Count = static_cast<Integer>(ItemList.size());
  if (Count == 0) return;
  if (ScrollableNow() && ActiveItem == VisibleStartIndex) ScrollUp(true);
  Integer Start = ActiveItem < 0 ? Count - 1 : ActiveItem - 1;
  if (Start == -1) Start = Count - 1;
  Integer Found = ActiveItem;
  for (Integer I = Start; I >= 0; --I) {
    if (ItemList[I]->Selectable()) {
      Found = I;
      break;
    }
    if (ScrollableNow() && I == VisibleStartIndex) ScrollUp(true);
  }
  ChangeActive(Found, true);
}

// ---- Painting -------------------------------------------------------------------------------

void TbsSkinPopupWindow::PaintWindow(HDC DC) {
  TBitmap B;
  B.SetWidth(GetWidth());
  B.SetHeight(GetHeight());
  DrawBackground(&B, Scroll);
  if (WindowPart != nullptr && ItemPart != nullptr && ItemPart->InActiveTransparent) {
    PaintBuffer = std::make_unique<TBitmap>();
    PaintBuffer->SetWidth(GetWidth());
    PaintBuffer->SetHeight(GetHeight());
    DrawBackground(PaintBuffer.get(), true);
  }
  TCanvas* C = B.GetCanvas();
  C->GetFont()->Assign(GetCanvas()->GetFont());
  Integer LastBottom = NewItemsRect.Top + (Scroll ? MarkerBand : 0);
  for (Integer I = VisibleStartIndex; I < VisibleStartIndex + VisibleCount; ++I) {
    ItemList[I]->Draw(C);
    LastBottom = ItemList[I]->ObjectRect.Bottom;
  }
  if (Scroll) {
    DrawUpMarker(C);
    DrawDownMarker(C);
    const TRect Lower = DownMarkerRect();
    if (LastBottom < Lower.Top)
      DrawItemBackground(C, Rect(NewItemsRect.Left, LastBottom, NewItemsRect.Right, Lower.Top));
  }
  BitBlt(DC, 0, 0, GetWidth(), GetHeight(), C->GetHandle(), 0, 0, SRCCOPY);
}

void TbsSkinPopupWindow::DrawBackground(TBitmap* B, bool DrawClient) {
  const Integer W = GetWidth(), H = GetHeight();
  if (WindowPart != nullptr) {
    const TbsDataSkinPopupWindow& P = *WindowPart;
    const TRect Source(0, 0, WindowPicture->GetWidth(), WindowPicture->GetHeight());
    CreateSkinImage2(P.LeftTopPoint, P.RightTopPoint, P.LeftBottomPoint, P.RightBottomPoint, P.ItemsRect,
                     NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint, NewItemsRect, B, WindowPicture, Source,
                     W, H, DrawClient, P.LeftStretch, P.TopStretch, P.RightStretch, P.BottomStretch,
                     P.StretchEffect, P.StretchType);
    return;
  }
  TCanvas* C = B->GetCanvas();
  const Integer Column = Images != nullptr ? GlyphWidth + 2 : 21;
  C->GetBrush()->SetStyle(bsSolid);
  C->GetBrush()->SetColor(clBtnFace);
  C->FillRect(Rect(0, 0, Column, H));
  C->GetBrush()->SetColor(clWindow);
  C->FillRect(Rect(Column, 0, W, H));
  C->GetBrush()->SetColor(clBtnShadow);
  C->FrameRect(Rect(0, 0, W, H));
  C->GetBrush()->SetColor(clWindow);
  C->FrameRect(Rect(1, 1, W - 1, H - 1));
}

void TbsSkinPopupWindow::DrawItemBackground(TCanvas* Cnvs, const TRect& R) {
  if (SkinData == nullptr || R.Width() <= 0 || R.Height() <= 0) return;
  Integer Index = SkinData->FindObjectPart("menuitem");
  if (Index == -1) Index = SkinData->FindObjectPart("MENUITEM");
  if (Index == -1) return;
  auto* Part = dynamic_cast<TbsDataSkinMenuItem*>(SkinData->SkinObjects[Index].get());
  if (Part == nullptr) return;
  TBitmap B;
  if (ItemPart != nullptr && ItemPart->InActiveTransparent && PaintBuffer != nullptr) {
    B.SetWidth(R.Width());
    B.SetHeight(R.Height());
    B.GetCanvas()->CopyRect(Rect(0, 0, R.Width(), R.Height()), PaintBuffer->GetCanvas(), R);
  } else {
    TBitmap* Picture = PictureAt(SkinData, Part->ActivePictureIndex);
    if (Picture == nullptr || IsEmptyRect(Part->SkinRect)) return;
    CreateHSkinImage(Part->ItemLeftOffset, Part->ItemRightOffset, &B, Picture, Part->SkinRect, R.Width(),
                     Part->SkinRect.Height(), Part->InActiveStretchEffect);
    B.SetHeight(IntMin(B.GetHeight(), R.Height()));
  }
  Cnvs->Draw(R.Left, R.Top, &B);
}

void TbsSkinPopupWindow::DrawUpMarker(TCanvas* Cnvs) {
  if (!Scroll) return;
  if (WindowPart != nullptr) {
    const TRect R = UpMarkerRect();
    DrawItemBackground(Cnvs, R);
    DrawSmallArrowGlyph(
        Cnvs, R, ScrollCode == 1 ? WindowPart->ScrollMarkerActiveColor : WindowPart->ScrollMarkerColor, 3);
    return;
  }
  DrawSmallArrowGlyph(Cnvs, Rect(3, 3, GetWidth() - 3, 13), ScrollCode == 1 ? clBtnText : clBtnShadow, 3);
}

void TbsSkinPopupWindow::DrawDownMarker(TCanvas* Cnvs) {
  if (!Scroll) return;
  if (WindowPart != nullptr) {
    const TRect R = DownMarkerRect();
    DrawItemBackground(Cnvs, R);
    DrawSmallArrowGlyph(
        Cnvs, R, ScrollCode == 2 ? WindowPart->ScrollMarkerActiveColor : WindowPart->ScrollMarkerColor, 4);
    return;
  }
  DrawSmallArrowGlyph(Cnvs, Rect(3, GetHeight() - 10, GetWidth() - 3, GetHeight() - 3),
                      ScrollCode == 2 ? clBtnText : clBtnShadow, 4);
}

void TbsSkinPopupWindow::AnimationTimerTick(TObject*) {
  if (WindowPart == nullptr) {
    AnimationTimer->SetEnabled(false);
    return;
  }
  bool Changed = false;
  for (const auto& Item : ItemList) {
    if (Item->IsMorphing()) {
      if (Item->CanMorph()) {
        Item->DoMorph();
        Changed = true;
      }
    } else if (Item->IsAnimated()) {
      if (Item->Active && Item->CurrentFrame <= Item->Data->FrameCount) {
        ++Item->CurrentFrame;
        Item->Draw(GetCanvas());
        Changed = true;
      } else if (!Item->Active && Item->CurrentFrame > 0) {
        --Item->CurrentFrame;
        Item->Draw(GetCanvas());
        Changed = true;
      }
    }
  }
  if (!Changed) AnimationTimer->SetEnabled(false);
}

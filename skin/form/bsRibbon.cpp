// The ribbon: tabs and their selection, the keyboard and mouse, the strip's layout and the
// button items at its right end.
#include "skin/form/bsRibbon.h"

#include "platform/classes/Application.h"
#include "platform/classes/Bitmap.h"
#include "platform/classes/ImgList.h"
#include "platform/gdi/Text.h"
#include "platform/system/Exceptions.h"
#include "platform/user/User.h"
#include "skin/data/bsUtils.h"
#include "skin/form/bsSkinHint.h"

// ---- Tabs -----------------------------------------------------------------------------------

TbsRibbon* TbsRibbonTab::Ribbon() const {
  auto* Tabs = dynamic_cast<TbsRibbonTabs*>(GetCollection());
  return Tabs != nullptr ? Tabs->GetRibbon() : nullptr;
}

void TbsRibbonTab::Assign(TPersistent* Source) {
  auto* Other = dynamic_cast<TbsRibbonTab*>(Source);
  if (Other == nullptr) {
    TCollectionItem::Assign(Source);
    return;
  }
  FPage = Other->FPage;
}

void TbsRibbonTab::SetPage(TbsRibbonPage* Value) {
  if (FPage == Value) return;
  FPage = Value;
  if (FPage != nullptr && FPage->FRibbon != nullptr) FPage->FRibbon->SetTabIndex(GetIndex());
}

void TbsRibbonTab::SetVisible(bool Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  TbsRibbon* R = Ribbon();
  if (R == nullptr) return;
  if (!Value) {
    if (FPage != nullptr) FPage->SetVisible(false);
    if (GetIndex() == R->FTabIndex) {
      R->TabHidden(GetIndex());
      return;
    }
  }
  R->Invalidate();
}

TbsRibbonTabs::TbsRibbonTabs(TbsRibbon* AOwner)
    : TCollection(&CreateCollectionItem<TbsRibbonTab>), FRibbon(AOwner) {}

TPersistent* TbsRibbonTabs::GetOwner() {
  return FRibbon;
}

// ---- Ribbon ---------------------------------------------------------------------------------

TbsRibbon::TbsRibbon(TComponent* AOwner)
    : TbsSkinControl(AOwner),
      FTabs(std::make_unique<TbsRibbonTabs>(this)),
      FButtons(std::make_unique<TbsRibbonButtonItems>(this)),
      FMDIButtons(std::make_unique<TbsRibbonButtonItems>(this)) {
  SetControlStyle(TControlStyle(GetControlStyle()).Include(csAcceptsControls));
  FAppButton = new TbsAppButton(this);
  FAppButton->FRibbon = this;
  FAppButton->SetCanFocused(true);
  FAppButton->SetTabStop(false);
  FAppButton->SetBounds(3, 1, FAppButtonWidth, 24);
  FAppButton->SetParent(this);
  FAppButton->SetSkinDataName("officemenubutton");
  FAppButton->OnHideTrackMenu = TNotifyEvent(this, &TbsRibbon::AppButtonMenuClosed);
  FTabsLeft = FAppButtonWidth + 6;
  SetHeight(115);
  SetAlign(alTop);
  SetSkinDataName("officetab");
}

TbsRibbon::~TbsRibbon() {
  FTabs.reset();
  FButtons.reset();
  FMDIButtons.reset();
}

void TbsRibbon::CreateParams(TCreateParams& Params) {
  TbsSkinControl::CreateParams(Params);
  Params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TbsRibbon::LoadSkinPart() {
  TbsSkinControl::LoadSkinPart();
  FTabPart = nullptr;
  FTabPicture = nullptr;
  TbsSkinData* Data = GetSkinData();
  if (PartIndex < 0 || Data == nullptr) return;
  // A part of another kind counts as none: the default look.
  FTabPart = dynamic_cast<TbsDataSkinTabControl*>(Data->SkinControls[static_cast<size_t>(PartIndex)].get());
  if (FTabPart == nullptr) return;
  const Integer P = FTabPart->PictureIndex;
  if (P >= 0 && P < static_cast<Integer>(Data->ActivePictures.size()))
    FTabPicture = Data->ActivePictures[static_cast<size_t>(P)].get();
}

void TbsRibbon::Loaded() {
  TbsSkinControl::Loaded();
  for (Integer I = 0; I < FTabs->GetCount(); ++I)
    if (TbsRibbonPage* Page = FTabs->GetItem(I)->GetPage()) {
      Page->FRibbon = this;
      if (I != FTabIndex) Page->SetVisible(false);
    }
}

void TbsRibbon::Notification(TComponent* AComponent, TOperation Operation) {
  TbsSkinControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == ButtonsImageList) ButtonsImageList = nullptr;
  if (AComponent == SkinHint) SkinHint = nullptr;
}

void TbsRibbon::SetTabs(TbsRibbonTabs* Value) {
  FTabs->Assign(Value);
  Invalidate();
}

void TbsRibbon::SetAppButtonWidth(Integer Value) {
  if (Value == FAppButtonWidth || Value < 35) return;
  FAppButtonWidth = Value;
  FAppButton->SetWidth(Value);
  FTabsLeft = Value + 6;
  Invalidate();
}

void TbsRibbon::AppButtonMenuClosed(TObject*) {
  if (OnMenuClose) OnMenuClose(this);
}

bool TbsRibbon::HasVisibleTab() const {
  for (Integer I = 0; I < FTabs->GetCount(); ++I)
    if (FTabs->GetItem(I)->Shown()) return true;
  return false;
}

Integer TbsRibbon::IndexOfPage(TbsRibbonPage* Page) const {
  for (Integer I = 0; I < FTabs->GetCount(); ++I)
    if (FTabs->GetItem(I)->GetPage() == Page) return I;
  return -1;
}

Integer TbsRibbon::TabAtPos(TPoint P) const {
  for (Integer I = 0; I < FTabs->GetCount(); ++I) {
    const TbsRibbonTab* T = FTabs->GetItem(I);
    const TRect& R = T->FTabRect;
    if (T->Shown() && P.X >= R.Left && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom) return I;
  }
  return -1;
}

TbsRibbonPage* TbsRibbon::GetActivePage() const {
  return FTabIndex >= 0 && FTabIndex < FTabs->GetCount() ? FTabs->GetItem(FTabIndex)->GetPage() : nullptr;
}

void TbsRibbon::SetActivePage(TbsRibbonPage* Page) {
  if (Page == nullptr || !HasVisibleTab()) return;
  const Integer I = IndexOfPage(Page);
  if (I < 0) return;
  FTabs->GetItem(I)->FVisible = true;
  SetTabIndex(I);
}

void TbsRibbon::SetTabIndex(Integer Value) {
  if (!HasVisibleTab()) {
    FTabIndex = -1;
    Invalidate();
    return;
  }
  if (Value < 0 || Value >= FTabs->GetCount()) return;
  TbsRibbonTab* Tab = FTabs->GetItem(Value);
  // A tab without a page cannot be selected.
  if (Tab->GetPage() == nullptr) return;
  Tab->FVisible = true;
  if (Value != FTabIndex) {
    const Integer Old = FTabIndex;
    FTabIndex = Value;
    TbsRibbonPage* Page = Tab->GetPage();
    Page->SetParent(this);
    Page->FRibbon = this;
    Page->SetVisible(true);
    Page->BringToFront();
    if (Old >= 0 && Old < FTabs->GetCount() && FTabs->GetItem(Old)->GetPage() != nullptr &&
        FTabs->GetItem(Old)->GetPage() != Page)
      FTabs->GetItem(Old)->GetPage()->SetVisible(false);
    if (OnChangePage) OnChangePage(this);
  } else if (!Tab->GetPage()->GetVisible()) {
    Tab->GetPage()->SetVisible(true);
  }
  Invalidate();
}

void TbsRibbon::TabHidden(Integer Index) {
  for (Integer I = Index + 1; I < FTabs->GetCount(); ++I)
    if (FTabs->GetItem(I)->Shown()) {
      SetTabIndex(I);
      return;
    }
  for (Integer I = Index - 1; I >= 0; --I)
    if (FTabs->GetItem(I)->Shown()) {
      SetTabIndex(I);
      return;
    }
  Invalidate();
}

void TbsRibbon::SelectFirstTab() {
  for (Integer I = 0; I < FTabs->GetCount(); ++I)
    if (FTabs->GetItem(I)->Shown()) {
      SetTabIndex(I);
      return;
    }
}

void TbsRibbon::SelectLastTab() {
  for (Integer I = FTabs->GetCount() - 1; I >= 0; --I)
    if (FTabs->GetItem(I)->Shown()) {
      SetTabIndex(I);
      return;
    }
}

void TbsRibbon::SelectNextTab() {
  if (FTabIndex == -1 || FTabIndex == FTabs->GetCount() - 1) return;
  for (Integer I = FTabIndex + 1; I < FTabs->GetCount(); ++I)
    if (FTabs->GetItem(I)->Shown()) {
      SetTabIndex(I);
      return;
    }
}

void TbsRibbon::SelectPriorTab(bool FocusAppButton) {
  if (FTabIndex == 0 && FocusAppButton && FAppButton->CanFocus()) FAppButton->SetFocus();
  if (FTabIndex <= 0) return;
  for (Integer I = FTabIndex - 1; I >= 0; --I)
    if (FTabs->GetItem(I)->Shown()) {
      SetTabIndex(I);
      return;
    }
}

void TbsRibbon::KeyDown(Word& Key, TShiftState Shift) {
  TbsSkinControl::KeyDown(Key, Shift);
  switch (Key) {
    case VK_NEXT:
      SelectLastTab();
      break;
    case VK_PRIOR:
      SelectFirstTab();
      break;
    case VK_LEFT:
    case VK_UP:
      SelectPriorTab(true);
      break;
    case VK_RIGHT:
    case VK_DOWN:
      SelectNextTab();
      break;
    default:
      break;
  }
}

void TbsRibbon::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE:
      Message.Result = DLGC_WANTARROWS;
      return;
    case WM_MOUSEWHEEL:
      TbsSkinControl::Dispatch(Message);
      if (Focused()) {
        if (static_cast<short>(HIWORD(Message.WParam)) < 0)
          SelectNextTab();
        else
          SelectPriorTab(false);
      }
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_SIZE:
      TbsSkinControl::Dispatch(Message);
      Invalidate();
      return;
    case CM_MOUSELEAVE:
      TbsSkinControl::Dispatch(Message);
      UpdateHotItems(-1, -1);
      return;
    case WM_ERASEBKGND: {
      TCanvas C;
      C.SetHandle(reinterpret_cast<HDC>(Message.WParam));
      PaintRibbon(&C);
      C.SetHandle(nullptr);
      FSkipNextPaint = true;
      Message.Result = 1;
      return;
    }
    default:
      TbsSkinControl::Dispatch(Message);
  }
}

// ---- Layout ---------------------------------------------------------------------------------

bool TbsRibbon::CompressTabWidths(std::vector<Integer>& Widths, Integer Available) {
  Integer Sum = 0;
  for (Integer W : Widths) Sum += W;
  if (Sum <= Available) return false;
  for (Integer& W : Widths) {
    W = static_cast<Integer>(Available * (static_cast<double>(W) / Sum));
    if (W < 15) W = 15;
  }
  return true;
}

Integer TbsRibbon::GetTabsHeight() {
  return FTabPart != nullptr ? GetRectHeight(FTabPart->TabRect) + 1 : 24;
}

TRect TbsRibbon::GetPageBounds() {
  LoadSkinPart();
  const Integer TH = GetTabsHeight();
  if (FTabPart != nullptr) {
    const TRect& CR = FTabPart->ClientRect;
    const TRect& SR = FTabPart->SkinRect;
    return Bounds(CR.Left, TH + CR.Top, GetWidth() + GetRectWidth(CR) - GetRectWidth(SR),
                  GetHeight() + GetRectHeight(CR) - GetRectHeight(SR) - TH);
  }
  return Bounds(1, TH + 2, GetWidth() - 2, GetHeight() - TH - 5);
}

void TbsRibbon::CalcLayout(TCanvas* C) {
  LayoutButtons();
  const Integer Available = GetWidth() - FTabsLeft - FButtonsAreaWidth;
  std::vector<Integer> Widths;
  std::vector<TbsRibbonTab*> Shown;
  for (Integer I = 0; I < FTabs->GetCount(); ++I) {
    TbsRibbonTab* T = FTabs->GetItem(I);
    if (!T->Shown()) continue;
    RECT R = Rect(0, 0, 0, 0);
    const std::string& Caption = T->GetPage()->GetPageCaption();
    DrawText(C->GetHandle(), Caption.c_str(), -1, &R, DT_CALCRECT);
    Widths.push_back(R.Right - R.Left + 30);
    Shown.push_back(T);
  }
  FTabsCompressed = CompressTabWidths(Widths, Available);
  const Integer Bottom = FTabPart != nullptr ? GetRectHeight(FTabPart->TabRect) + 1 : 24;
  Integer X = FTabsLeft;
  for (size_t I = 0; I < Shown.size(); ++I) {
    Shown[I]->FTabWidth = Widths[I];
    Shown[I]->FTabRect = Rect(X, 1, X + Widths[I], Bottom);
    X += Widths[I];
  }
}

// ---- Hover and mouse ------------------------------------------------------------------------

void TbsRibbon::UpdateHotItems(Integer X, Integer Y) {
  if (FTabs->GetCount() == 0) return;
  FOldHotTab = FHotTab;
  FHotTab = TabAtPos({X, Y});
  if (FHotTab != FOldHotTab) {
    if (FOldHotTab >= 0 && FOldHotTab < FTabs->GetCount()) FTabs->GetItem(FOldHotTab)->FMouseIn = false;
    if (FHotTab >= 0) FTabs->GetItem(FHotTab)->FMouseIn = true;
    Invalidate();
  }
  if (FMDIButtons->GetCount() > 0 &&
      UpdateHotRow(FMDIButtons.get(), FHotMDIButton, FOldHotMDIButton, X, Y, false))
    Invalidate();
  if (FButtons->GetCount() == 0) return;
  const bool MouseInChanged = UpdateHotRow(FButtons.get(), FHotButton, FOldHotButton, X, Y, true);
  if (MouseInChanged) Invalidate();
  if (!ButtonsShowHint || SkinHint == nullptr) return;
  if (FHotButton != FOldHotButton && FHotButton != -1 && !FButtons->GetItem(FHotButton)->Hint.empty())
    SkinHint->ShowHintText(FButtons->GetItem(FHotButton)->Hint);
  else if (MouseInChanged && FHotButton == -1)
    SkinHint->HideHint();
}

bool TbsRibbon::UpdateHotRow(TbsRibbonButtonItems* Items, Integer& Hot, Integer& OldHot, Integer X, Integer Y,
                             bool NeedEnabled) {
  OldHot = Hot;
  Hot = -1;
  for (Integer I = 0; I < Items->GetCount() && Hot == -1; ++I) {
    const TbsRibbonButtonItem* It = Items->GetItem(I);
    const TRect& R = It->FItemRect;
    if (NeedEnabled && !(It->Enabled && It->Visible)) continue;
    if (X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom) Hot = I;
  }
  bool Changed = Hot != OldHot;
  for (Integer I = 0; I < Items->GetCount(); ++I) {
    TbsRibbonButtonItem* It = Items->GetItem(I);
    if (It->FMouseIn != (I == Hot)) Changed = true;
    It->FMouseIn = I == Hot;
  }
  return Changed;
}

void TbsRibbon::PressRow(TbsRibbonButtonItems* Items, Integer Hot) {
  if (Hot == -1 || Items->GetCount() == 0) return;
  for (Integer I = 0; I < Items->GetCount(); ++I) {
    TbsRibbonButtonItem* It = Items->GetItem(I);
    It->FDown = I == Hot;
    if (I != Hot) It->FMouseIn = false;
  }
  Invalidate();
}

void TbsRibbon::ReleaseRow(TbsRibbonButtonItems* Items, Integer Hot) {
  if (Hot == -1 || Items->GetCount() == 0) return;
  for (Integer I = 0; I < Items->GetCount(); ++I) Items->GetItem(I)->FDown = false;
  Invalidate();
  if (Items->GetItem(Hot)->OnClick) Items->GetItem(Hot)->OnClick(this);
}

void TbsRibbon::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TbsSkinControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  UpdateHotItems(X, Y);
  if (FHotTab != -1 && FHotTab != FTabIndex) SetTabIndex(FHotTab);
  if (FHotTab != -1 && !Focused() && CanFocus()) SetFocus();
  PressRow(FMDIButtons.get(), FHotMDIButton);
  PressRow(FButtons.get(), FHotButton);
  if (ButtonsShowHint && SkinHint != nullptr) SkinHint->HideHint();
}

void TbsRibbon::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TbsSkinControl::MouseMove(Shift, X, Y);
  UpdateHotItems(X, Y);
}

void TbsRibbon::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TbsSkinControl::MouseUp(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  UpdateHotItems(X, Y);
  ReleaseRow(FMDIButtons.get(), FHotMDIButton);
  ReleaseRow(FButtons.get(), FHotButton);
}

// ---- Pages ----------------------------------------------------------------------------------

TbsRibbonPage::TbsRibbonPage(TComponent* AOwner) : TCustomControl(AOwner) {
  SetControlStyle(TControlStyle(GetControlStyle()).Include(csAcceptsControls));
  SetAnchors(TAnchors{akLeft, akTop, akRight, akBottom});
}

void TbsRibbonPage::SetPageCaption(const std::string& Value) {
  FCaption = Value;
  if (FRibbon != nullptr) FRibbon->Invalidate();
}

void TbsRibbonPage::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  if (GetParent() != nullptr && FRibbon != nullptr) {
    const TRect R = FRibbon->GetPageBounds();
    TCustomControl::SetBounds(R.Left, R.Top, R.Width(), R.Height());
    return;
  }
  TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TbsRibbonPage::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_ERASEBKGND && Message.WParam != 0) {
    TCanvas C;
    C.SetHandle(reinterpret_cast<HDC>(Message.WParam));
    if (FRibbon != nullptr && GetWidth() > 0 && GetHeight() > 0) {
      FRibbon->LoadSkinPart();
      if (FRibbon->FTabPart != nullptr && FRibbon->FTabPicture != nullptr) {
        FRibbon->PaintPageArea(&C, Rect(0, 0, GetWidth(), GetHeight()));
      } else {
        C.GetBrush()->SetColor(clBtnFace);
        C.FillRect(Rect(0, 0, GetWidth(), GetHeight()));
      }
    }
    C.SetHandle(nullptr);
    Message.Result = 1;
    return;
  }
  TCustomControl::Dispatch(Message);
}

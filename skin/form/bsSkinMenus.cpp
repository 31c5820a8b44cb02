#include "skin/form/bsSkinMenus.h"

#include "platform/classes/Bitmap.h"
#include "platform/classes/Timer.h"
#include "platform/user/User.h"
#include "skin/data/bsSkinDataBarParts.h"
#include "skin/data/bsUtils.h"
#include "skin/form/SkinForm.h"

// ---- TbsSkinMainMenu ------------------------------------------------------------------------

void TbsSkinMainMenu::SetSkinData(TbsSkinData* Value) {
  FSD = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TbsSkinMainMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TMainMenu::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FSD) FSD = nullptr;
}

// ---- TbsMenuBarObject -----------------------------------------------------------------------

TbsMenuBarObject::TbsMenuBarObject(TbsSkinMainMenuBar* AParent, TbsDataSkinObject* AData) : Parent(AParent) {
  if (AData == nullptr) return;
  IDName = AData->IDName;
  SkinRect = AData->SkinRect;
  ActiveSkinRect = AData->ActiveSkinRect;
  DownRect = AData->ActiveSkinRect;
  Morphing = AData->Morphing;
  MorphKind = AData->MorphKind;
  ObjectRect = AData->SkinRect;
  Picture = SkinPictureAt(AParent->GetSkinData(), AData->ActivePictureIndex);
}

bool TbsMenuBarObject::CanMorph() const {
  TbsSkinData* SD = Parent->GetSkinData();
  return Morphing && !IsEmptyRect(ActiveSkinRect) && SD != nullptr && !SD->Empty &&
         SD->GetEnableSkinEffects();
}

bool TbsMenuBarObject::NeedsMorphStep() const {
  if (Down && !IsEmptyRect(DownRect)) return false;
  return (Active && MorphKf < 1) || (!Active && MorphKf > 0);
}

void TbsMenuBarObject::MorphStep() {
  MorphKf += Active ? 0.2 : -0.2;
  if (MorphKf > 1) MorphKf = 1;
  if (MorphKf < 0) MorphKf = 0;
  Parent->RedrawObject(this);
}

void TbsMenuBarObject::Changed() {
  if (CanMorph())
    Parent->GetMorphTimer()->SetEnabled(true);
  else
    Parent->RedrawObject(this);
}

void TbsMenuBarObject::MouseEnter() {
  MouseIn = true;
  Active = true;
  Changed();
}

void TbsMenuBarObject::MouseLeave() {
  MouseIn = false;
  Active = false;
  Changed();
}

// ---- TbsSkinMainMenuBarItem: behaviour ------------------------------------------------------

TbsSkinMainMenuBarItem::TbsSkinMainMenuBarItem(TbsSkinMainMenuBar* AParent, TbsDataSkinMainMenuBarItem* AData,
                                               TMenuItem* AMenuItem)
    : TbsMenuBarObject(AParent, AData), SkinSupport(AData != nullptr), MenuItem(AMenuItem), Data(AData) {
  IDName = AMenuItem->GetName();
  Enabled = AMenuItem->GetEnabled();
  SavedEnabled = Enabled;
  if (AData == nullptr) return;
  DownRect = AData->DownRect;
  if (IsEmptyRect(DownRect)) DownRect = IsEmptyRect(ActiveSkinRect) ? SkinRect : ActiveSkinRect;
  // An item without a hot picture has nothing to morph toward.
  if (IsEmptyRect(ActiveSkinRect)) Morphing = false;
}

bool TbsSkinMainMenuBarItem::IsAnimated() const {
  TbsSkinData* SD = Parent->GetSkinData();
  return Data != nullptr && !IsEmptyRect(Data->AnimateSkinRect) && SD != nullptr && !SD->Empty &&
         SD->GetEnableSkinEffects();
}

void TbsSkinMainMenuBarItem::Changed() {
  if (IsAnimated()) {
    TTimer* T = Parent->GetAnimateTimer();
    const Cardinal Interval = Data->AnimateInterval > 0 ? Data->AnimateInterval : 25;
    if (T->GetInterval() != Interval) T->SetInterval(Interval);
    T->SetEnabled(true);
    return;
  }
  TbsMenuBarObject::Changed();
}

void TbsSkinMainMenuBarItem::MouseDown(Integer, Integer, TMouseButton Button) {
  TbsSkinForm* Form = Parent->GetSkinForm();
  if (Button != mbLeft || !Enabled || Form == nullptr) return;
  if (HasSubItems()) {
    Parent->SetTracking(true);
    SetDown(true);
    return;
  }
  if (Form->GetMenuBarMode()) Form->LeaveMenuBarMode();
  if (CanMorph())
    Changed();
  else
    Parent->RedrawObject(this);
  if (TMenu* Menu = MenuItem->GetParentMenu(); Menu != nullptr)
    Menu->DispatchCommand(static_cast<Word>(MenuItem->GetCommand()));
  else
    MenuItem->Click();
}

void TbsSkinMainMenuBarItem::SetDown(bool Value) {
  if (Value) {
    Down = true;
    MorphKf = 1;
    Parent->RedrawObject(this);
    TbsSkinForm* Form = Parent->GetSkinForm();
    if (Form != nullptr && !Form->GetMenuBarMode() && Form->OnMainMenuEnter) Form->OnMainMenuEnter(Parent);
    PopupItemMenu();
    return;
  }
  Down = false;
  Active = false;
  if (IsAnimated()) {
    if (Data->InActiveAnimation) {
      CurrentFrame = Data->FrameCount + 1;
      Changed();
    } else {
      CurrentFrame = 0;
      Parent->RedrawObject(this);
    }
  } else if (CanMorph()) {
    MorphKf = 1;
    Changed();
  } else {
    Parent->RedrawObject(this);
  }
}

void TbsSkinMainMenuBarItem::PopupItemMenu() {
  TbsSkinForm* Form = Parent->GetSkinForm();
  if (Form == nullptr) return;
  const TPoint TL = Parent->ClientToScreen(ObjectRect.TopLeft());
  const TRect R = Rect(TL.X, TL.Y, TL.X + ObjectRect.Width(), TL.Y + ObjectRect.Height());
  Form->SkinMenuOpened();
  Form->SetMenuBarMode(true);
  Form->GetSkinMenu()->Popup(nullptr, Parent->GetSkinData(), Parent->GetPopupToUp(), MenuItem, R, 0);
}

void TbsSkinMainMenuBarItem::MouseEnter() {
  if (Parent->ReleaseOtherDownItem(this)) {
    // Moving over the bar while a submenu is open opens this item's submenu instead.
    Active = true;
    MouseIn = true;
    if (CanMorph()) MorphKf = 1;
    SetDown(true);
    return;
  }
  Parent->ReleaseOtherHotItem(this);
  Active = true;
  MouseIn = true;
  Changed();
  if (Parent->OnItemMouseEnter) Parent->OnItemMouseEnter(MenuItem);
  if (Parent->GetHint() != MenuItem->GetHint()) Parent->SetHint(MenuItem->GetHint());
}

void TbsSkinMainMenuBarItem::MouseLeave() {
  Active = false;
  MouseIn = false;
  if (IsAnimated() && !Data->InActiveAnimation) {
    CurrentFrame = 0;
    Parent->RedrawObject(this);
  }
  if (Down && CanMorph()) MorphKf = 0;
  Changed();
  if (Parent->OnItemMouseLeave) Parent->OnItemMouseLeave(MenuItem);
}

// ---- TbsSkinMainMenuBar ---------------------------------------------------------------------

TbsSkinMainMenuBar::TbsSkinMainMenuBar(TComponent* AOwner)
    : TbsSkinControl(AOwner), FDefItemFont(std::make_unique<TFont>()) {
  FDefItemFont->SetName("Arial");
  FDefItemFont->SetHeight(14);
  FDefItemFont->SetStyle({});
  FDefItemFont->SetColor(clBtnText);
  SetSkinDataName("mainmenubar");
  auto MakeTimer = [this](Cardinal Interval, void (TbsSkinMainMenuBar::*Tick)(TObject*)) {
    auto* T = new TTimer(this);
    T->SetEnabled(false);
    T->SetInterval(Interval);
    T->SetOnTimer(TNotifyEvent(this, Tick));
    return T;
  };
  FMouseTimer = MakeTimer(50, &TbsSkinMainMenuBar::MouseTimerTick);
  FMorphTimer = MakeTimer(25, &TbsSkinMainMenuBar::MorphTimerTick);
  FAnimateTimer = MakeTimer(25, &TbsSkinMainMenuBar::AnimateTimerTick);
  SetAlign(alTop);
  SetHeight(22);
}

TbsSkinMainMenuBar::~TbsSkinMainMenuBar() {
  FreeObjects();
}

void TbsSkinMainMenuBar::FreeObjects() {
  FObjects.clear();
  FHotIndex = FOldHotIndex = FCaptureIndex = -1;
}

TbsSkinMainMenuBarItem* TbsSkinMainMenuBar::GetItem(Integer Index) const {
  return dynamic_cast<TbsSkinMainMenuBarItem*>(FObjects[Index].get());
}

void TbsSkinMainMenuBar::SetMainMenu(TMainMenu* Value) {
  FMainMenu = Value;
  if (Value != nullptr) Value->FreeNotification(this);
  RebuildItems();
  Invalidate();
}

void TbsSkinMainMenuBar::SetSkinForm(TbsSkinForm* Value) {
  FSkinForm = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TbsSkinMainMenuBar::SetDefItemFont(TFont* Value) {
  FDefItemFont->Assign(Value);
  if (!FSkinSupport) Invalidate();
}

void TbsSkinMainMenuBar::SetDefaultWidth(Integer Value) {
  FDefaultWidth = Value;
  if (!FSkinSupport && Value > 0) SetWidth(Value);
}

void TbsSkinMainMenuBar::SetDefaultHeight(Integer Value) {
  FDefaultHeight = Value;
  if (!FSkinSupport && Value > 0) SetHeight(Value);
}

void TbsSkinMainMenuBar::Notification(TComponent* AComponent, TOperation Operation) {
  TbsSkinControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FMainMenu) {
    FMainMenu = nullptr;
    FreeObjects();
  }
  if (AComponent == FSkinForm) FSkinForm = nullptr;
}

void TbsSkinMainMenuBar::LoadSkinPart() {
  TbsSkinControl::LoadSkinPart();
  auto* Part = dynamic_cast<TbsDataSkinMainMenuBar*>(BoundPart());
  // A part of that name but of another kind has nothing a bar can draw from.
  if (Part == nullptr) {
    PartIndex = -1;
    return;
  }
  BarSkinRect = Part->SkinRect;
  ItemsRect = Part->ItemsRect;
  MenuBarItemName = Part->MenuBarItem;
  TrackMarkColor = Part->TrackMarkColor;
  TrackMarkActiveColor = Part->TrackMarkActiveColor;
  BarPicture = SkinPictureAt(FSD, Part->PictureIndex);
  BarStretchEffect = Part->StretchEffect;
  ItemTransparent = Part->ItemTransparent;
}

void TbsSkinMainMenuBar::ApplySkinChange() {
  LoadSkinPart();
  FSkinSupport = PartIndex != -1;
  RebuildItems();
  if (FSkinSupport)
    SetHeight(BarSkinRect.Height());
  else if (FDefaultHeight > 0)
    SetHeight(FDefaultHeight);
  Invalidate();
}

void TbsSkinMainMenuBar::BeforeSkinChange() {
  FSkinSupport = false;
  TbsSkinControl::BeforeSkinChange();
  FreeObjects();
}

void TbsSkinMainMenuBar::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  if (FSD != nullptr && !FSD->Empty) {
    LoadSkinPart();
    // A skinned bar is always as high as its picture.
    if (PartIndex != -1) AHeight = BarSkinRect.Height();
  }
  TbsSkinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  Invalidate();
}

void TbsSkinMainMenuBar::RebuildItems() {
  FreeObjects();
  if (FMainMenu == nullptr) return;
  TbsDataSkinMainMenuBarItem* Record = nullptr;
  if (FSD != nullptr && !FSD->Empty && FSkinSupport)
    if (const Integer I = FSD->FindObjectPart(MenuBarItemName); I != -1)
      Record = dynamic_cast<TbsDataSkinMainMenuBarItem*>(FSD->SkinObjects[I].get());
  TMenuItem* Items = FMainMenu->GetItems();
  for (Integer I = 0; I < Items->GetCount(); ++I)
    if (Items->GetItem(I)->GetVisible())
      FObjects.push_back(std::make_unique<TbsSkinMainMenuBarItem>(this, Record, Items->GetItem(I)));
}

void TbsSkinMainMenuBar::SyncItems() {
  if (FMainMenu == nullptr) return;
  TMenuItem* Items = FMainMenu->GetItems();
  size_t Shown = 0;
  bool Same = true;
  for (Integer I = 0; I < Items->GetCount() && Same; ++I) {
    TMenuItem* M = Items->GetItem(I);
    if (!M->GetVisible()) continue;
    TbsSkinMainMenuBarItem* Item = Shown < FObjects.size() ? GetItem(static_cast<Integer>(Shown)) : nullptr;
    Same = Item != nullptr && Item->MenuItem == M;
    ++Shown;
  }
  if (!Same || Shown != FObjects.size()) RebuildItems();
}

void TbsSkinMainMenuBar::RefreshItems() {
  RebuildItems();
  Invalidate();
  FHotIndex = FOldHotIndex = -1;
  FMouseTimer->SetEnabled(true);
}

void TbsSkinMainMenuBar::CalcItemsArea() {
  if (FSkinSupport)
    FItemsArea = Rect(ItemsRect.Left, ItemsRect.Top, GetWidth() + ItemsRect.Right - BarSkinRect.Width(),
                      ItemsRect.Bottom);
  else
    FItemsArea = Rect(2, 2, GetWidth() - 2, GetHeight() - 2);
}

TRect TbsSkinMainMenuBar::GetTrackMarkRect() const {
  return Rect(FItemsArea.Right - 5, FItemsArea.Top, FItemsArea.Right, FItemsArea.Bottom);
}

void TbsSkinMainMenuBar::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SIZE:
      TbsSkinControl::Dispatch(Message);
      CalcItemsArea();
      return;
    case WM_MOVE:
      TbsSkinControl::Dispatch(Message);
      if (FSkinSupport && FSD != nullptr && FSD->MainMenuBarTransparent && GetAlign() == alNone) Invalidate();
      return;
    case WM_CHECKPARENTBG:
      if (FSkinSupport && FSD != nullptr && FSD->MainMenuBarTransparent) Invalidate();
      return;
    case WM_ERASEBKGND:
      // The paint composes the whole bar in one bitmap.
      Message.Result = 1;
      return;
    case CM_MOUSEENTER:
      TbsSkinControl::Dispatch(Message);
      if (!Designing() && Message.LParam == 0) {
        if (OnMouseEnter) OnMouseEnter(this);
        FMouseTimer->SetEnabled(true);
      }
      return;
    case CM_MOUSELEAVE:
      TbsSkinControl::Dispatch(Message);
      if (!Designing() && Message.LParam == 0) {
        if (OnMouseLeave) OnMouseLeave(this);
        FMouseTimer->SetEnabled(false);
        TrackHover(-1, -1);
      }
      return;
    default:
      TbsSkinControl::Dispatch(Message);
  }
}

// ---- Hover and mouse ------------------------------------------------------------------------

void TbsSkinMainMenuBar::TrackHover(Integer X, Integer Y) {
  if (FObjects.empty()) return;
  FOldHotIndex = FHotIndex;
  const TPoint P{X, Y};
  Integer Hit = -1;
  for (size_t I = 0; I < FObjects.size(); ++I) {
    const TbsMenuBarObject* O = FObjects[I].get();
    const TRect& R = O->ObjectRect;
    if (O->Enabled && P.X >= R.Left && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom) {
      Hit = static_cast<Integer>(I);
      break;
    }
  }
  const bool KeepHot = Hit == -1 && FTracking && FOldHotIndex != -1 && GetItem(FOldHotIndex) != nullptr;
  if (!KeepHot) FHotIndex = Hit;
  if (FCaptureIndex != -1 && FHotIndex != FCaptureIndex) FHotIndex = -1;
  if (FHotIndex >= static_cast<Integer>(FObjects.size())) FHotIndex = -1;
  if (FHotIndex != FOldHotIndex) {
    if (FOldHotIndex != -1 && FObjects[FOldHotIndex]->Enabled) FObjects[FOldHotIndex]->MouseLeave();
    if (FHotIndex != -1 && FObjects[FHotIndex]->Enabled) FObjects[FHotIndex]->MouseEnter();
  }
  if (FOverflow && FScrollMenu) {
    const TRect M = GetTrackMarkRect();
    const bool In = P.X >= M.Left && P.X < M.Right && P.Y >= M.Top && P.Y < M.Bottom;
    if (In != FMarkerHot) {
      FMarkerHot = In;
      DrawTrackMark(GetCanvas());
    }
  }
}

void TbsSkinMainMenuBar::MouseTimerTick(TObject*) {
  POINT SP;
  GetCursorPos(&SP);
  const TPoint P = ScreenToClient(TPoint{SP.X, SP.Y});
  if (P.X < 0 || P.Y < 0 || P.X > GetWidth() || P.Y > GetHeight()) {
    if (FMouseTimer->GetEnabled()) {
      FMouseTimer->SetEnabled(false);
      TrackHover(-1, -1);
    }
    return;
  }
  TrackHover(P.X, P.Y);
}

void TbsSkinMainMenuBar::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TbsSkinControl::MouseMove(Shift, X, Y);
  FMouseTimer->SetEnabled(false);
  FMouseTimer->SetEnabled(true);
  TrackHover(X, Y);
}

void TbsSkinMainMenuBar::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TbsSkinControl::MouseDown(Button, Shift, X, Y);
  TrackHover(X, Y);
  if (FHotIndex != -1) {
    FCaptureIndex = FHotIndex;
    TbsMenuBarObject* O = FObjects[FHotIndex].get();
    O->MouseDown(X, Y, Button);
    if (Shift.Contains(ssDouble)) O->DblClick();
    return;
  }
  const TRect M = GetTrackMarkRect();
  if (FOverflow && FScrollMenu && X >= M.Left && X < M.Right && Y >= M.Top && Y < M.Bottom)
    PopupOverflowMenu();
}

void TbsSkinMainMenuBar::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (FCaptureIndex != -1 && FCaptureIndex < static_cast<Integer>(FObjects.size()))
    FObjects[FCaptureIndex]->MouseUp(X, Y, Button);
  FCaptureIndex = -1;
  TbsSkinControl::MouseUp(Button, Shift, X, Y);
}

bool TbsSkinMainMenuBar::ReleaseOtherDownItem(TbsSkinMainMenuBarItem* Except) {
  for (size_t I = 0; I < FObjects.size(); ++I) {
    TbsSkinMainMenuBarItem* Item = GetItem(static_cast<Integer>(I));
    if (Item != nullptr && Item != Except && Item->Down) {
      Item->SetDown(false);
      return true;
    }
  }
  return false;
}

void TbsSkinMainMenuBar::ReleaseOtherHotItem(TbsSkinMainMenuBarItem* Except) {
  for (size_t I = 0; I < FObjects.size(); ++I) {
    TbsSkinMainMenuBarItem* Item = GetItem(static_cast<Integer>(I));
    if (Item != nullptr && Item != Except && Item->Active) {
      Item->MouseLeave();
      return;
    }
  }
}

void TbsSkinMainMenuBar::PopupOverflowMenu() {
  if (FSkinForm == nullptr || FMainMenu == nullptr) return;
  Integer Shown = 0;
  for (size_t I = 0; I < FObjects.size(); ++I)
    if (TbsSkinMainMenuBarItem* Item = GetItem(static_cast<Integer>(I)); Item != nullptr && Item->Shown)
      ++Shown;
  // The start index counts the menu's own items: invisible entries before the hidden ones
  // move it on.
  Integer Start = 0;
  for (Integer Counted = 0; Start < FMainMenu->GetItems()->GetCount() && Counted < Shown; ++Start)
    if (FMainMenu->GetItems()->GetItem(Start)->GetVisible()) ++Counted;
  const TRect M = GetTrackMarkRect();
  const TPoint TL = ClientToScreen(M.TopLeft());
  const TRect R = Rect(TL.X, TL.Y, TL.X + M.Width(), TL.Y + M.Height());
  FSkinForm->SkinMenuOpened();
  FSkinForm->GetSkinMenu()->Popup(nullptr, FSD, false, FMainMenu->GetItems(), R, Start);
}

// ---- Keyboard -------------------------------------------------------------------------------

bool TbsSkinMainMenuBar::ItemUsable(Integer Index) const {
  TbsSkinMainMenuBarItem* Item = GetItem(Index);
  return Item != nullptr && Item->Enabled && Item->Shown;
}

void TbsSkinMainMenuBar::EnterMenuMode() {
  SyncItems();
  FTracking = true;
  Integer Index = -1;
  for (size_t I = 0; I < FObjects.size() && Index == -1; ++I)
    if (GetItem(static_cast<Integer>(I)) != nullptr && FObjects[I]->Active) Index = static_cast<Integer>(I);
  for (size_t I = 0; I < FObjects.size() && Index == -1; ++I)
    if (GetItem(static_cast<Integer>(I)) != nullptr) Index = static_cast<Integer>(I);
  if (Index != -1) {
    FObjects[Index]->MouseEnter();
    FHotIndex = Index;
  }
  if (FSkinForm == nullptr) return;
  FSkinForm->HookApplicationMessages();
  FSkinForm->SetMenuBarMode(true);
  if (FSkinForm->OnMainMenuEnter) FSkinForm->OnMainMenuEnter(this);
}

bool TbsSkinMainMenuBar::ProcessAccel(Word Key) {
  if (FSkinForm == nullptr || !FSkinForm->GetForm()->GetVisible()) return false;
  SyncItems();
  for (size_t I = 0; I < FObjects.size(); ++I) {
    if (!ItemUsable(static_cast<Integer>(I))) continue;
    TbsSkinMainMenuBarItem* Item = GetItem(static_cast<Integer>(I));
    if (!IsAccel(Key, Item->MenuItem->GetCaption())) continue;
    Item->MouseEnter();
    FHotIndex = static_cast<Integer>(I);
    if (!(FSkinForm->GetMenuOpen() && Item->HasSubItems())) Item->MouseDown(0, 0, mbLeft);
    return true;
  }
  return false;
}

TbsSkinMainMenuBarItem* TbsSkinMainMenuBar::HotOrDownItem(Integer& Index) const {
  for (size_t I = 0; I < FObjects.size(); ++I)
    if (ItemUsable(static_cast<Integer>(I)) && (FObjects[I]->Active || FObjects[I]->Down)) {
      Index = static_cast<Integer>(I);
      return GetItem(Index);
    }
  Index = -1;
  return nullptr;
}

void TbsSkinMainMenuBar::SelectNextItem() {
  const Integer Count = static_cast<Integer>(FObjects.size());
  Integer Current;
  TbsSkinMainMenuBarItem* Item = HotOrDownItem(Current);
  Integer Start = 0;
  if (Item != nullptr) {
    Item->MouseLeave();
    Start = Current + 1;
  }
  for (Integer Step = 0; Step < Count; ++Step) {
    const Integer I = (Start + Step) % Count;
    if (ItemUsable(I)) {
      FHotIndex = I;
      FObjects[I]->MouseEnter();
      return;
    }
  }
}

void TbsSkinMainMenuBar::SelectPrevItem() {
  const Integer Count = static_cast<Integer>(FObjects.size());
  Integer Current;
  TbsSkinMainMenuBarItem* Item = HotOrDownItem(Current);
  Integer Start = Count - 1;
  if (Item != nullptr) {
    Item->MouseLeave();
    Start = Current - 1;
  }
  for (Integer Step = 0; Step < Count; ++Step) {
    const Integer I = ((Start - Step) % Count + Count) % Count;
    if (ItemUsable(I)) {
      FHotIndex = I;
      FObjects[I]->MouseEnter();
      return;
    }
  }
}

bool TbsSkinMainMenuBar::PressHotItem() {
  const bool MenuOpen = FSkinForm != nullptr && FSkinForm->GetMenuOpen();
  for (size_t I = 0; I < FObjects.size(); ++I) {
    TbsSkinMainMenuBarItem* Item = GetItem(static_cast<Integer>(I));
    if (Item == nullptr) continue;
    if ((Item->Down && !Item->HasSubItems()) || (Item->Active && !MenuOpen)) {
      Item->Active = false;
      Item->MouseDown(0, 0, mbLeft);
      return true;
    }
  }
  return false;
}

void TbsSkinMainMenuBar::MenuClosed() {
  for (size_t I = 0; I < FObjects.size(); ++I) {
    TbsSkinMainMenuBarItem* Item = GetItem(static_cast<Integer>(I));
    if (Item == nullptr || !Item->Down) continue;
    Item->SetDown(false);
    Item->Active = true;
    FHotIndex = static_cast<Integer>(I);
    RedrawObject(Item);
    return;
  }
}

void TbsSkinMainMenuBar::LeaveMenuMode() {
  FTracking = false;
  for (size_t I = 0; I < FObjects.size(); ++I) {
    TbsSkinMainMenuBarItem* Item = GetItem(static_cast<Integer>(I));
    if (Item == nullptr || !(Item->Down || Item->Active)) continue;
    Item->Active = false;
    Item->MouseIn = false;
    Item->Down = false;
    if (!Item->IsAnimated() || Item->Data->InActiveAnimation) {
      Item->Changed();
    } else {
      Item->CurrentFrame = 0;
      RedrawObject(Item);
    }
    break;
  }
  FHotIndex = FOldHotIndex = -1;
}

// ---- Timers ---------------------------------------------------------------------------------

void TbsSkinMainMenuBar::MorphTimerTick(TObject*) {
  bool Stepped = false;
  for (const auto& O : FObjects)
    if (O->CanMorph() && O->NeedsMorphStep()) {
      O->MorphStep();
      Stepped = true;
    }
  if (!Stepped) FMorphTimer->SetEnabled(false);
}

void TbsSkinMainMenuBar::AnimateTimerTick(TObject*) {
  bool Stepped = false;
  for (size_t I = 0; I < FObjects.size(); ++I) {
    TbsSkinMainMenuBarItem* Item = GetItem(static_cast<Integer>(I));
    if (Item == nullptr || !Item->IsAnimated()) continue;
    if (Item->Active && Item->CurrentFrame <= Item->Data->FrameCount) {
      ++Item->CurrentFrame;
    } else if (!Item->Active && Item->CurrentFrame > 0) {
      --Item->CurrentFrame;
    } else {
      continue;
    }
    RedrawObject(Item);
    Stepped = true;
  }
  if (!Stepped) FAnimateTimer->SetEnabled(false);
}

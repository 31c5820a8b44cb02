#include "skin/form/bsSkinPopupMenus.h"

#include "platform/classes/Application.h"
#include "platform/classes/Timer.h"
#include "platform/classes/UtilityWindow.h"
#include "platform/user/User.h"
#include "skin/controls/bsSkinMenuZone.h"
#include "skin/data/bsUtils.h"
#include "skin/form/SkinForm.h"

namespace {

// Posted to the menu's helper window to free the windows a chain closed.
constexpr UINT WM_FREERETIRED = WM_USER + 1;

// The menu buttons of the control library drop their menus through this library's chains.
void DropMenuUnderRect(TPopupMenu* Menu, TControl* Control, const TRect& R, bool PopupToUp) {
  if (auto* Skinned = dynamic_cast<TbsSkinPopupMenu*>(Menu)) {
    Skinned->PopupUnderRect(Control, R, PopupToUp);
    return;
  }
  Menu->Popup(R.Left, PopupToUp ? R.Top : R.Bottom);
  SendMenuMessage(Control, WM_CLOSESKINMENU);
}

const bool DropHookInstalled = (SetPopupUnderRectHook(&DropMenuUnderRect), true);

}  // namespace

bool IsMenuCloseMessage(UINT Msg) {
  switch (Msg) {
    case WM_MOVE:
    case WM_SIZE:
    case WM_ACTIVATE:
    case WM_KILLFOCUS:
    case WM_CANCELMODE:
    case WM_MOUSEACTIVATE:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_PARENTNOTIFY:
      return true;
    default:
      return false;
  }
}

void SendMenuMessage(TControl* Control, UINT Msg) {
  if (Control == nullptr) return;
  if (auto* W = dynamic_cast<TWinControl*>(Control); W != nullptr && W->HandleAllocated())
    SendMessage(W->GetHandle(), Msg, 0, 0);
  else
    Control->Perform(Msg, 0, 0);
}

// ---- TbsSkinMenu ----------------------------------------------------------------------------

TbsSkinMenu::TbsSkinMenu(TComponent* AOwner, TCustomForm* AForm)
    : TComponent(AOwner), DefaultMenuItemFont(std::make_unique<TFont>()), Form(AForm) {
  DefaultMenuItemFont->SetName("Arial");
  DefaultMenuItemFont->SetHeight(14);
  DefaultMenuItemFont->SetStyle({});
  WaitTimer = new TTimer(this);
  WaitTimer->SetEnabled(false);
  WaitTimer->SetInterval(500);
  WaitTimer->SetOnTimer(TNotifyEvent(this, &TbsSkinMenu::WaitTimerTick));
  if (Form != nullptr) Form->FreeNotification(this);
}

TbsSkinMenu::~TbsSkinMenu() {
  CloseFrom(0);
  FreeRetired();
  if (FRetireWnd != nullptr) DeallocateHWnd(FRetireWnd);
}

void TbsSkinMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == PopupCtrl) PopupCtrl = nullptr;
  if (AComponent == DCtrl) DCtrl = nullptr;
  if (AComponent == Form) Form = nullptr;
  if (AComponent == SkinData) SkinData = nullptr;
}

TRect TbsSkinMenu::GetWorkArea() const {
  TRect R;
  if (Form != nullptr && Form->HandleAllocated())
    GetMonitorRect(Form->GetHandle(), true, R);
  else
    GetScreenWorkArea(true, R);
  return R;
}

TbsSkinPopupWindow* TbsSkinMenu::NewWindow() {
  TbsDataSkinPopupWindow* Record =
      SkinData != nullptr && !SkinData->Empty ? SkinData->PopupWindow.get() : nullptr;
  auto* Window = new TbsSkinPopupWindow(this, Record, this);
  PopupList.push_back(Window);
  return Window;
}

void TbsSkinMenu::Popup(TControl* Control, TbsSkinData* ASkinData, bool PopupToUp, TMenuItem* Item,
                        const TRect& R, Integer StartIndex) {
  First = !Visible;
  // An open chain ends first, so its 1228 reaches its own dropping control, not the new one.
  if (!PopupList.empty()) CloseFrom(0);
  PopupCtrl = Control;
  if (Control != nullptr) Control->FreeNotification(this);
  WorkArea = GetWorkArea();
  SkinData = ASkinData;
  if (ASkinData != nullptr) ASkinData->FreeNotification(this);
  if (Item != nullptr && Item->GetCount() > 0 && StartIndex < Item->GetCount()) {
    Visible = true;
    NewWindow()->Show(R, Item, StartIndex, false, PopupToUp);
  }
  First = false;
}

void TbsSkinMenu::PopupMerged(TControl* Control, TbsSkinData* ASkinData, bool PopupToUp, TMenuItem* FirstItem,
                              TMenuItem* SecondItem, const TRect& R, Integer StartIndex) {
  First = !Visible;
  if (!PopupList.empty()) CloseFrom(0);
  PopupCtrl = Control;
  if (Control != nullptr) Control->FreeNotification(this);
  WorkArea = GetWorkArea();
  SkinData = ASkinData;
  if (ASkinData != nullptr) ASkinData->FreeNotification(this);
  if (FirstItem == nullptr || FirstItem->GetCount() == 0) {
    First = false;
    return;
  }
  const Integer Total = FirstItem->GetCount() + (SecondItem != nullptr ? SecondItem->GetCount() : 0);
  if (StartIndex < Total) {
    Visible = true;
    NewWindow()->ShowMerged(R, FirstItem, SecondItem, StartIndex, false, PopupToUp);
  }
  First = false;
}

void TbsSkinMenu::RetireWindow(TbsSkinPopupWindow* Window) {
  // The window may be the one whose message closed the chain: it is hidden now and freed once
  // that message is over.
  Window->MouseTimer->SetEnabled(false);
  Window->AnimationTimer->SetEnabled(false);
  if (Window->HandleAllocated()) {
    KillTimer(Window->GetHandle(), 1);
    SetWindowPos(Window->GetHandle(), nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
  }
  Window->SetVisible(false);
  if (WaitItem != nullptr && WaitItem->Parent == Window) {
    WaitTimer->SetEnabled(false);
    WaitItem = nullptr;
  }
  FRetired.push_back(Window);
  if (FRetireWnd == nullptr)
    FRetireWnd = AllocateHWnd(TDelegate<void(TMessage&)>(this, &TbsSkinMenu::RetiredWndProc));
  PostMessage(FRetireWnd, WM_FREERETIRED, 0, 0);
}

void TbsSkinMenu::WindowMessageEnds() {
  if (--FWindowMessages == 0 && !FRetired.empty() && FRetireWnd != nullptr)
    PostMessage(FRetireWnd, WM_FREERETIRED, 0, 0);
}

void TbsSkinMenu::RetiredWndProc(TMessage& Message) {
  if (Message.Msg == WM_FREERETIRED) {
    // A window still inside its message is freed when that message is over.
    if (FWindowMessages == 0) FreeRetired();
  } else {
    Message.Result = DefWindowProc(FRetireWnd, Message.Msg, Message.WParam, Message.LParam);
  }
}

void TbsSkinMenu::FreeRetired() {
  std::vector<TbsSkinPopupWindow*> Windows;
  Windows.swap(FRetired);
  for (TbsSkinPopupWindow* W : Windows) delete W;
}

void TbsSkinMenu::CloseFrom(Integer Index) {
  if (Index < 0) Index = 0;
  while (static_cast<Integer>(PopupList.size()) > Index) {
    TbsSkinPopupWindow* W = PopupList.back();
    PopupList.pop_back();
    RetireWindow(W);
  }
  if (Index != 0) return;
  Visible = false;
  WaitTimer->SetEnabled(false);
  DCtrl = PopupCtrl;
  if (PopupCtrl != nullptr) {
    TControl* Control = PopupCtrl;
    PopupCtrl = nullptr;
    SendMenuMessage(Control, WM_CLOSESKINMENU);
  }
  if (OnMenuClose) {
    // Cleared before it runs, so a handler that pops a new menu keeps that menu's handler.
    TNotifyEvent Handler = OnMenuClose;
    OnMenuClose = nullptr;
    Handler(this);
  }
}

void TbsSkinMenu::CloseMenus() {
  CloseFrom(0);
  WaitTimer->SetEnabled(false);
  WaitItem = nullptr;
  if (Form != nullptr && Form->HandleAllocated()) SendMessage(Form->GetHandle(), WM_CLOSESKINMENU, 0, 0);
}

Integer TbsSkinMenu::IndexOfPopup(const TbsSkinPopupWindow* Window) const {
  for (size_t I = 0; I < PopupList.size(); ++I)
    if (PopupList[I] == Window) return static_cast<Integer>(I);
  return static_cast<Integer>(PopupList.size());
}

void TbsSkinMenu::HandleItem(TbsSkinPopupWindow* Window, TbsSkinMenuItem* Item, bool ByKey, bool Execute) {
  TMenuItem* MenuItem = Item->MenuItem;
  auto RunCommand = [](TMenuItem* M) {
    if (TMenu* Menu = M->GetParentMenu(); Menu != nullptr)
      Menu->DispatchCommand(static_cast<Word>(M->GetCommand()));
    else
      M->Click();
  };
  auto CloseAfterWindow = [this, Window] {
    WaitTimer->SetEnabled(false);
    WaitItem = nullptr;
    const Integer P = IndexOfPopup(Window);
    if (P < static_cast<Integer>(PopupList.size()) - 1) CloseFrom(P + 1);
  };
  if (MenuItem->GetCount() == 0) {
    if (!Execute) {
      CloseAfterWindow();
      return;
    }
    WaitTimer->SetEnabled(false);
    WaitItem = nullptr;
    CloseMenus();
    RunCommand(MenuItem);
    if (DCtrl != nullptr) {
      TControl* Control = DCtrl;
      DCtrl = nullptr;
      SendMenuMessage(Control, WM_AFTERDISPATCH);
    }
    return;
  }
  if (!Execute) {
    if (ByKey) return;
    CloseAfterWindow();
    WaitItem = Item;
    WaitTimer->SetEnabled(true);
    return;
  }
  // A parent item's OnClick runs before its children are listed (it may fill them).
  RunCommand(MenuItem);
  WaitTimer->SetEnabled(false);
  WaitItem = nullptr;
  if (IndexOfPopup(Window) >= static_cast<Integer>(PopupList.size())) return;
  Item->Down = true;
  const TRect& O = Item->ObjectRect;
  const TRect R = Rect(O.Left + Window->GetLeft(), O.Top + Window->GetTop(), O.Right + Window->GetLeft(),
                       O.Bottom + Window->GetTop());
  NewWindow()->Show(R, MenuItem, 0, true, false);
}

void TbsSkinMenu::WaitTimerTick(TObject*) {
  WaitTimer->SetEnabled(false);
  TbsSkinMenuItem* Item = WaitItem;
  if (Item == nullptr) return;
  HandleItem(Item->Parent, Item, false, true);
}

// ---- TbsSkinPopupMenu -----------------------------------------------------------------------

TbsSkinPopupMenu::TbsSkinPopupMenu(TComponent* AOwner) : TPopupMenu(AOwner) {}

void TbsSkinPopupMenu::SetSkinData(TbsSkinData* Value) {
  FSD = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TbsSkinPopupMenu::SetComponentForm(TCustomForm* Value) {
  FComponentForm = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TbsSkinPopupMenu::SetSkinComponent(TComponent* Value) {
  FSkinComponent = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TbsSkinPopupMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TPopupMenu::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FSD) FSD = nullptr;
  if (AComponent == FComponentForm) FComponentForm = nullptr;
  if (AComponent == FSkinComponent) FSkinComponent = nullptr;
}

namespace {

// The skinned-form component a popup menu shows through.
TbsSkinForm* SkinFormOfMenu(TComponent* SkinComponent, TCustomForm* ComponentForm, TComponent* Owner) {
  if (SkinComponent != nullptr) return dynamic_cast<TbsSkinForm*>(SkinComponent);
  if (ComponentForm != nullptr) return FindSkinForm(ComponentForm);
  TCustomForm* Form = dynamic_cast<TCustomForm*>(Owner);
  if (Form == nullptr && Owner != nullptr) Form = dynamic_cast<TCustomForm*>(Owner->GetOwner());
  TbsSkinForm* Found = FindSkinForm(Form);
  if (Found != nullptr && Found->GetForm()->GetFormStyle() == fsMDIChild && Application != nullptr)
    Found = FindSkinForm(Application->GetMainForm());
  return Found;
}

}  // namespace

void TbsSkinPopupMenu::ShowChain(TControl* Control, const TRect& R, bool PopupToUp, bool NeedSkinData) {
  DoPopup(this);
  TbsSkinForm* Component = SkinFormOfMenu(FSkinComponent, FComponentForm, GetOwner());
  if (Component != nullptr && FSD == nullptr)
    SetSkinData(Component->GetMenusSkinData() != nullptr ? Component->GetMenusSkinData()
                                                         : Component->GetSkinData());
  if (Component == nullptr || (NeedSkinData && FSD == nullptr)) {
    // Nothing shows, so the control that waits for the menu to close is told at once (a menu
    // button would stay down otherwise).
    SendMenuMessage(Control, WM_CLOSESKINMENU);
    return;
  }
  TbsSkinMenu* Menu = Component->GetSkinMenu();
  if (Menu->Visible) Component->CloseSkinMenus();
  Component->SkinMenuOpened();
  Menu->Popup(Control, FSD, PopupToUp, GetItems(), R, 0);
  if (OnMenuClose) Menu->OnMenuClose = OnMenuClose;
}

void TbsSkinPopupMenu::Popup(Integer X, Integer Y) {
  ShowChain(nullptr, Rect(X, Y, X, Y), false, false);
}

void TbsSkinPopupMenu::PopupUnderRect(TControl* Control, const TRect& R, bool PopupToUp) {
  ShowChain(Control, R, PopupToUp, false);
}

void TbsSkinPopupMenu::PopupAtPoint(TControl* Edit, Integer X, Integer Y) {
  ShowChain(Edit, Rect(X, Y, X, Y), false, true);
}

void TbsSkinPopupMenu::PopupFromObject(const TRect& R, bool PopupToUp) {
  ShowChain(nullptr, R, PopupToUp, false);
}

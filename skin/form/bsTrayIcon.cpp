// The tray icon component: its record in the notification area, the hooks on the application
// and owner windows, the icon's mouse traffic, the popup menu and the cycling of icons.
#include "skin/form/bsTrayIcon.h"

#include <cstring>

#include "platform/classes/Application.h"
#include "platform/classes/Bitmap.h"
#include "platform/classes/Forms.h"
#include "platform/classes/Icon.h"
#include "platform/classes/ImgList.h"
#include "platform/classes/Menus.h"
#include "platform/classes/Screen.h"
#include "platform/classes/Timer.h"
#include "platform/classes/UtilityWindow.h"
#include "platform/user/ImageLists.h"
#include "platform/user/User.h"
#include "skin/form/bsSkinPopupMenus.h"

namespace {

constexpr DWORD IconDataSize = 488;

// Icon Index of List as a new icon handle (colour and mask drawn from the list).
HICON IconFromList(TImageList* List, Integer Index) {
  const Integer W = List->GetWidth(), H = List->GetHeight();
  TBitmap Color, Mask;
  Color.SetPixelFormat(pf32bit);
  Color.SetSize(W, H);
  Mask.SetMonochrome(true);
  Mask.SetSize(W, H);
  ImageList_Draw(List->GetHandle(), Index, Color.GetCanvas()->GetHandle(), 0, 0, ILD_NORMAL);
  ImageList_Draw(List->GetHandle(), Index, Mask.GetCanvas()->GetHandle(), 0, 0, ILD_MASK);
  ICONINFO Info;
  Info.fIcon = TRUE;
  Info.hbmMask = Mask.GetHandle();
  Info.hbmColor = Color.GetHandle();
  return CreateIconIndirect(&Info);
}

TShiftState AsyncShift() {
  TShiftState S;
  if (GetAsyncKeyState(VK_SHIFT) < 0) S.Include(ssShift);
  if (GetAsyncKeyState(VK_CONTROL) < 0) S.Include(ssCtrl);
  if (GetAsyncKeyState(VK_MENU) < 0) S.Include(ssAlt);
  return S;
}

}  // namespace

UINT TaskbarCreatedMessage() {
  return RegisterWindowMessage("TaskbarCreated");
}

TbsTrayIcon::TbsTrayIcon(TComponent* AOwner) : TComponent(AOwner), FIcon(std::make_unique<TIcon>()) {
  TaskbarCreatedMessage();
  FWindow = AllocateHWnd(TDelegate<void(TMessage&)>(this, &TbsTrayIcon::IconWndProc));
  FAnimateTimer = new TTimer(this);
  FAnimateTimer->SetEnabled(false);
  FAnimateTimer->SetInterval(FAnimateTimerInterval);
  FAnimateTimer->SetOnTimer(TNotifyEvent(this, &TbsTrayIcon::AnimateTimerTick));
  FClickTimer = new TTimer(this);
  FClickTimer->SetEnabled(false);
  FClickTimer->SetInterval(GetDoubleClickTime());
  FClickTimer->SetOnTimer(TNotifyEvent(this, &TbsTrayIcon::ClickTimerTick));
  FIconData.cbSize = IconDataSize;
  FIconData.hWnd = FWindow;
  FIconData.uID = 1;
  FIconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  FIconData.uCallbackMessage = WM_TRAYICONNOTIFY;
  if (Designing()) return;
  if (!FIcon->HandleAllocated() && UseApplicationIcon()) FIcon->Assign(Application->GetIcon());
  // Hooks of several tray icons chain (one link each) and come off in any order.
  const UINT_PTR HookId = reinterpret_cast<UINT_PTR>(this);
  FAppWindow = Application->GetHandle();
  SetWindowSubclass(FAppWindow, &TbsTrayIcon::AppWindowHook, HookId, reinterpret_cast<DWORD_PTR>(this));
  if (TWinControl* Owner = OwnerControl()) {
    FOwnerWindow = Owner->GetHandle();
    SetWindowSubclass(FOwnerWindow, &TbsTrayIcon::OwnerWindowHook, HookId, reinterpret_cast<DWORD_PTR>(this));
  }
}

TbsTrayIcon::~TbsTrayIcon() {
  SetIconVisible(false);
  FDesignPreview = false;
  delete FAnimateTimer;
  delete FClickTimer;
  DeallocateHWnd(FWindow);
  if (Designing()) return;
  const UINT_PTR HookId = reinterpret_cast<UINT_PTR>(this);
  if (FAppWindow != nullptr) RemoveWindowSubclass(FAppWindow, &TbsTrayIcon::AppWindowHook, HookId);
  if (FOwnerWindow != nullptr && IsWindow(FOwnerWindow))
    RemoveWindowSubclass(FOwnerWindow, &TbsTrayIcon::OwnerWindowHook, HookId);
}

TWinControl* TbsTrayIcon::OwnerControl() {
  return dynamic_cast<TWinControl*>(GetOwner());
}

void TbsTrayIcon::Loaded() {
  TComponent::Loaded();
  if (OwnerControl() != nullptr && MinimizedOnStart && !Designing()) {
    FIconVisible = true;
    MinimizeToTray = true;
    Application->SetShowMainForm(false);
    ShowWindow(Application->GetHandle(), SW_HIDE);
  }
  ModifyIcon();
  SetIconVisible(FIconVisible);
}

// ---- The record -----------------------------------------------------------------------------

bool TbsTrayIcon::FillIconData() {
  if (Designing() && !FPreviewing && !FDesignPreview) return false;
  FIconData.hIcon = FIcon->GetHandle();
  std::memset(FIconData.szTip, 0, sizeof(FIconData.szTip));
  if (!FHint.empty() && FShowHint)
    std::memcpy(FIconData.szTip, FHint.data(), std::min<size_t>(FHint.size(), sizeof(FIconData.szTip) - 1));
  return true;
}

void TbsTrayIcon::Notify(DWORD Message) {
  if (FillIconData()) Shell_NotifyIconA(Message, &FIconData);
}

void TbsTrayIcon::AddIcon() {
  if (!FPreviewing) FIconVisible = true;
  if (Designing() && !FPreviewing) return;
  Notify(NIM_ADD);
}

void TbsTrayIcon::DeleteIcon() {
  if (!FPreviewing) FIconVisible = false;
  if (Designing() && !FPreviewing) return;
  Notify(NIM_DELETE);
}

void TbsTrayIcon::ModifyIcon() {
  Notify(NIM_MODIFY);
}

// ---- Properties -----------------------------------------------------------------------------

void TbsTrayIcon::SetIconVisible(bool Value) {
  if (Value)
    AddIcon();
  else
    DeleteIcon();
}

void TbsTrayIcon::SetDesignPreview(bool Value) {
  FDesignPreview = Value;
  FPreviewing = true;
  SetIconVisible(Value);
  FPreviewing = false;
}

void TbsTrayIcon::SetIcon(TIcon* Value) {
  FIcon->Assign(Value);
  ModifyIcon();
}

void TbsTrayIcon::SetHint(const std::string& Value) {
  FHint = Value;
  ModifyIcon();
}

void TbsTrayIcon::SetShowHint(bool Value) {
  FShowHint = Value;
  ModifyIcon();
}

void TbsTrayIcon::SetIconList(TImageList* Value) {
  if (FIconList != nullptr) FIconList->RemoveFreeNotification(this);
  FIconList = Value;
  if (FIconList != nullptr) FIconList->FreeNotification(this);
  SetIconIndex(0);
}

void TbsTrayIcon::LoadListIcon(Integer Index) {
  if (FIconList == nullptr || Index < 0 || Index >= FIconList->GetCount()) return;
  FIcon->SetHandle(IconFromList(FIconList, Index));
}

void TbsTrayIcon::SetIconIndex(Integer Value) {
  // Below 0, and without a list or with an empty one, the index is 0; an empty list loads nothing.
  if (FIconList != nullptr && FIconList->GetCount() > 0) {
    FIconIndex = std::clamp(Value, 0, FIconList->GetCount() - 1);
    LoadListIcon(FIconIndex);
  } else {
    FIconIndex = 0;
  }
  ModifyIcon();
}

void TbsTrayIcon::SetCycleIcons(bool Value) {
  FCycleIcons = Value;
  if (Value) SetIconIndex(0);
  FAnimateTimer->SetEnabled(Value);
}

void TbsTrayIcon::SetAnimateTimerInterval(Cardinal Value) {
  FAnimateTimerInterval = Value;
  FAnimateTimer->SetInterval(Value);
}

void TbsTrayIcon::SetPopupMenu(TbsSkinPopupMenu* Value) {
  if (FPopupMenu != nullptr) FPopupMenu->RemoveFreeNotification(this);
  FPopupMenu = Value;
  if (FPopupMenu != nullptr) FPopupMenu->FreeNotification(this);
}

void TbsTrayIcon::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FIconList) FIconList = nullptr;
  if (AComponent == FPopupMenu) FPopupMenu = nullptr;
}

// ---- Events ---------------------------------------------------------------------------------

void TbsTrayIcon::Click() {
  if (OnClick) OnClick(this);
}
void TbsTrayIcon::DblClick() {
  if (OnDblClick) OnDblClick(this);
}
void TbsTrayIcon::Cycle(Integer NextIndex) {
  if (OnCycle) OnCycle(this, NextIndex);
}
void TbsTrayIcon::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}
void TbsTrayIcon::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}
void TbsTrayIcon::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void TbsTrayIcon::Minimize() {
  HideMainForm();
  SetIconVisible(true);
}

void TbsTrayIcon::HideMainForm() {
  TCustomForm* Main = Application->GetMainForm();
  if (OwnerControl() == nullptr || Main == nullptr) return;
  Main->Hide();
  ShowWindow(Application->GetHandle(), SW_HIDE);
  Main->SetTag(TrayRestoreTag);
}

void TbsTrayIcon::RestoreMainForm() {
  TCustomForm* Main = Application->GetMainForm();
  if (OwnerControl() == nullptr || Main == nullptr) return;
  ShowWindow(Application->GetHandle(), SW_RESTORE);
  Main->Show();
  if (Main->GetWindowState() == wsMinimized) Main->SetWindowState(wsNormal);
  Main->SetTag(TrayRestoreTag);
  PostMessage(Main->GetHandle(), WM_RESTOREFROMTRAY, 0, 0);
}

// ---- The icon's window and timers -----------------------------------------------------------

void TbsTrayIcon::IconWndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_TRAYICONNOTIFY:
      if (Enabled) HandleIconMouse(static_cast<UINT>(Message.LParam));
      return;
    case WM_DESTROY:
    case WM_CLOSE:
    case WM_QUERYENDSESSION:
    case WM_QUIT:
    case WM_USERCHANGED:
    case WM_NCDESTROY:
      Message.Result = 1;
      return;
    default:
      Message.Result = DefWindowProc(FWindow, Message.Msg, Message.WParam, Message.LParam);
  }
}

void TbsTrayIcon::HandleIconMouse(UINT MouseMessage) {
  POINT P{0, 0};
  GetCursorPos(&P);
  const TShiftState Shift = AsyncShift();
  auto With = [&](TShiftStateItem Button) {
    TShiftState S = Shift;
    S.Include(Button);
    return S;
  };
  switch (MouseMessage) {
    case WM_MOUSEMOVE:
      MouseMove(Shift, P.X, P.Y);
      break;
    case WM_LBUTTONDOWN:
      FClickTimer->SetEnabled(true);
      MouseDown(mbLeft, With(ssLeft), P.X, P.Y);
      FClickStart = true;
      if (PopupByLeftButton) PopupAtCursor();
      break;
    case WM_LBUTTONUP:
      if (FClickStart) {
        FClickReady = true;
        if (!FClickTimer->GetEnabled()) {
          FClickStart = false;
          FClickReady = false;
          Click();
        }
      }
      FClickStart = false;
      MouseUp(mbLeft, With(ssLeft), P.X, P.Y);
      break;
    case WM_LBUTTONDBLCLK:
      FClickReady = false;
      FIsDblClick = true;
      DblClick();
      if (FPopupMenu != nullptr && FPopupMenu->GetAutoPopup() && !PopupByLeftButton) {
        TMenuItem* Items = FPopupMenu->GetItems();
        for (Integer I = 0; I < Items->GetCount(); ++I)
          if (Items->GetItem(I)->GetDefault()) {
            Items->GetItem(I)->Click();
            break;
          }
      }
      break;
    case WM_RBUTTONDOWN:
      MouseDown(mbRight, With(ssRight), P.X, P.Y);
      PopupAtCursor();
      break;
    case WM_RBUTTONUP:
      MouseUp(mbRight, With(ssRight), P.X, P.Y);
      break;
    case WM_MBUTTONDOWN:
      MouseDown(mbMiddle, With(ssMiddle), P.X, P.Y);
      break;
    case WM_MBUTTONUP:
      MouseUp(mbMiddle, With(ssMiddle), P.X, P.Y);
      break;
    case NIN_BALLOONUSERCLICK:
      if (OnBalloonHintClick) OnBalloonHintClick(this);
      break;
    default:
      break;
  }
}

void TbsTrayIcon::PopupAtCursor() {
  POINT P{0, 0};
  if (FPopupMenu == nullptr || !FPopupMenu->GetAutoPopup() || !GetCursorPos(&P)) return;
  Application->ProcessMessages();
  SetForegroundWindow(FWindow);
  TWinControl* Owner = OwnerControl();
  if (Owner != nullptr) SetForegroundWindow(Owner->GetHandle());
  FPopupMenu->SetPopupComponent(this);
  FPopupMenu->Popup(P.X, P.Y);
  if (Owner != nullptr) PostMessage(Owner->GetHandle(), WM_NULL, 0, 0);
}

void TbsTrayIcon::ClickTimerTick(TObject*) {
  FClickTimer->SetEnabled(false);
  if (!FIsDblClick && FClickReady) {
    FClickReady = false;
    Click();
  }
  FIsDblClick = false;
}

void TbsTrayIcon::AnimateTimerTick(TObject*) {
  if (FIconList == nullptr) return;
  LoadListIcon(FIconIndex);
  const Integer Next = FIconIndex + 1 < FIconList->GetCount() ? FIconIndex + 1 : 0;
  Cycle(Next);
  ModifyIcon();
  SetIconIndex(Next);
}

// ---- Hooks ----------------------------------------------------------------------------------

LRESULT TbsTrayIcon::AppWindowHook(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam, UINT_PTR,
                                   DWORD_PTR Ref) {
  auto* Self = reinterpret_cast<TbsTrayIcon*>(Ref);
  if (Msg == WM_SIZE && WParam == SIZE_MINIMIZED && Self->MinimizeToTray) {
    Self->Minimize();
  } else if (Msg == WM_WINDOWPOSCHANGED && Self->FFirstActivation && Application->GetMainForm() != nullptr) {
    if (Application->GetMainForm()->GetFormStyle() == fsMDIForm && Self->MinimizedOnStart)
      ShowWindow(Application->GetHandle(), SW_HIDE);
    Self->FFirstActivation = false;
  } else if (Msg == TaskbarCreatedMessage() && Self->FIconVisible) {
    Self->AddIcon();
  }
  return DefSubclassProc(Wnd, Msg, WParam, LParam);
}

LRESULT TbsTrayIcon::OwnerWindowHook(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam, UINT_PTR, DWORD_PTR) {
  if (Msg == WM_ACTIVATE && (LOWORD(WParam) == WA_ACTIVE || LOWORD(WParam) == WA_CLICKACTIVE) &&
      Screen != nullptr && Screen->GetActiveControl() != nullptr) {
    TWinControl* Active = Screen->GetActiveControl();
    TWinControl* Outer = Active->GetParent() != nullptr ? Active->GetParent() : Active;
    if (Outer->GetHandle() != reinterpret_cast<HWND>(LParam)) SetFocus(Active->GetHandle());
  } else if (Msg == WM_SHOWWINDOW && WParam == 1 && LParam == 0) {
    ShowWindow(Application->GetHandle(), SW_RESTORE);
    SetForegroundWindow(Application->GetHandle());
    SetForegroundWindow(Wnd);
  }
  return DefSubclassProc(Wnd, Msg, WParam, LParam);
}

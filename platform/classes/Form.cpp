// TCustomForm: construction and the loading protocol, window styles, showing and hiding,
// the menu bar, painting and the form's messages.
#include <algorithm>

#include "platform/classes/ActnList.h"
#include "platform/classes/Application.h"
#include "platform/classes/Forms.h"
#include "platform/classes/IconBridge.h"
#include "platform/classes/Menus.h"
#include "platform/classes/Screen.h"
#include "platform/classes/UserBridge.h"
#include "platform/system/Format.h"
#include "platform/system/ScopeExit.h"
#include "platform/user/Menus.h"
#include "platform/user/WindowMessages.h"
#include "platform/user/WindowPaint.h"
#include "platform/user/WindowPos.h"
#include "platform/user/Windows.h"

TCustomForm::TCustomForm(TComponent* AOwner) : TScrollingWinControl(AOwner) {
  FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  FVisible = false;
  SetParentColor(false);
  SetParentFont(false);
  SetColor(clBtnFace);
  SetBounds(0, 0, 320, 240);
  FIcon = NewIcon();
  SetIconOnChange(FIcon, TNotifyEvent(this, &TCustomForm::IconChanged));
  FCanvas = std::make_unique<TControlCanvas>();
  FCanvas->SetControl(this);
  if (Screen != nullptr) {
    FPixelsPerInch = Screen->GetPixelsPerInch();
    Screen->AddForm(this);
  }
  InstallIconDrawing();
}

TForm::TForm(TComponent* AOwner) : TCustomForm(AOwner) {
  if (Screen != nullptr) Screen->AddForm(this);
}

TCustomForm::~TCustomForm() {
  BeforeDestruction();
  if (HandleAllocated()) {
    if (FMenu != nullptr) {
      ::SetMenu(FHandle, nullptr);
      FMenu->SetWindowHandle(nullptr);
    }
    DestroyHandle();
  }
  if (Screen != nullptr) Screen->RemoveForm(this);
  FCanvas.reset();
  DeleteIcon(FIcon);
  FIcon = nullptr;
}

void TCustomForm::BeforeDestruction() {
  if (FDestroyed) return;
  FDestroyed = true;
  Destroying();
  if (Screen != nullptr) {
    auto& Saved = Screen->FSaveFocusedList;
    Saved.erase(std::remove(Saved.begin(), Saved.end(), this), Saved.end());
  }
  if (FFormStyle != fsMDIChild && FVisible) {
    try {
      Hide();
    } catch (...) {
      // A form being deleted is hidden as well as it can be.
    }
  }
  DoDestroy();
}

// ---- Loading ----------------------------------------------------------------------------------

void TCustomForm::BeginFormLoad() {
  SetLoading(this, true);
  FControlState.Include(csReadingState);
  FFormState.Include(fsCreating);
  DisableAlign();
  // Components the form made before (its own, in the base constructors) load with it.
  for (Integer I = 0; I < GetComponentCount(); ++I) SetLoading(GetComponent(I), true);
}

void TCustomForm::EndFormLoad() {
  FControlState.Exclude(csReadingState);
  {
    auto Cleanup = ScopeExit([&] {
      FFormState.Exclude(fsCreating);
      EnableAlign();
    });
    TComponent::LoadedAll(this);
  }
  DoCreate();
}

void TCustomForm::Loaded() {
  TScrollingWinControl::Loaded();
  if (FActiveControl != nullptr) {
    // The active control named while loading is taken as the form's first focus.
    TWinControl* Control = FActiveControl;
    FActiveControl = nullptr;
    if (Control->CanFocus() || !HandleAllocated()) FActiveControl = Control;
  }
}

void TCustomForm::Notification(TComponent* AComponent, TOperation Operation) {
  TScrollingWinControl::Notification(AComponent, Operation);
  if (AComponent == nullptr) return;
  if (Operation == opInsert) {
    // Everything a form makes while it loads loads with it.
    if (GetComponentState().Contains(csLoading) && AComponent->GetOwner() == this)
      SetLoading(AComponent, true);
    if (!GetComponentState().Contains(csLoading) && FMenu == nullptr && AComponent->GetOwner() == this)
      if (auto* Menu = dynamic_cast<TMainMenu*>(AComponent)) SetMenu(Menu);
    return;
  }
  if (AComponent == FMenu) SetMenu(nullptr);
  if (AComponent == FWindowMenu) FWindowMenu = nullptr;
  if (AComponent == FActiveControl) FActiveControl = nullptr;
  if (AComponent == FFocusedControl) FFocusedControl = nullptr;
}

void TCustomForm::DoCreate() {
  if (OnCreate) {
    try {
      OnCreate(this);
    } catch (...) {
      if (Application == nullptr) throw;
      Application->HandleException(this);
    }
  }
  if (FFormState.Contains(fsVisible)) SetVisible(true);
}

void TCustomForm::DoDestroy() {
  if (!OnDestroy) return;
  try {
    OnDestroy(this);
  } catch (...) {
    if (Application != nullptr) Application->HandleException(this);
  }
}

// ---- Window ---------------------------------------------------------------------------------

void TCustomForm::CreateParams(TCreateParams& Params) {
  TScrollingWinControl::CreateParams(Params);
  if (GetParent() == nullptr && GetParentWindow() == nullptr) {
    Params.WndParent = Application != nullptr && !FLayoutOnly ? Application->GetHandle() : nullptr;
    Params.Style &= ~(WS_CHILD | WS_GROUP | WS_TABSTOP);
  }
  Params.WindowClass.style = CS_DBLCLKS;
  TBorderIcons Icons = FBorderIcons;
  TFormBorderStyle CreateStyle = FBorderStyle;
  if (FFormStyle == fsMDIChild && (CreateStyle == bsNone || CreateStyle == bsDialog))
    CreateStyle = bsSizeable;
  switch (CreateStyle) {
    case bsNone:
      if (GetParent() == nullptr && GetParentWindow() == nullptr) {
        Params.Style |= WS_POPUP;
        Icons = {};
      }
      break;
    case bsSingle:
    case bsToolWindow:
      Params.Style |= WS_CAPTION | WS_BORDER;
      break;
    case bsSizeable:
    case bsSizeToolWin:
      Params.Style |= WS_CAPTION | WS_THICKFRAME;
      break;
    case bsDialog:
      Params.Style |= WS_POPUP | WS_CAPTION;
      Params.ExStyle = WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
      Icons = Icons * TBorderIcons{biSystemMenu, biHelp};
      Params.WindowClass.style |= CS_DBLCLKS | CS_SAVEBITS | CS_BYTEALIGNWINDOW;
      break;
  }
  if (CreateStyle == bsToolWindow || CreateStyle == bsSizeToolWin) {
    Params.ExStyle = WS_EX_TOOLWINDOW;
    Icons = Icons * TBorderIcons{biSystemMenu};
  }
  if (CreateStyle == bsSingle || CreateStyle == bsSizeable || CreateStyle == bsNone) {
    if (FFormStyle != fsMDIChild || Icons.Contains(biSystemMenu)) {
      if (Icons.Contains(biMinimize)) Params.Style |= WS_MINIMIZEBOX;
      if (Icons.Contains(biMaximize)) Params.Style |= WS_MAXIMIZEBOX;
    }
    if (FWindowState == wsMinimized)
      Params.Style |= WS_MINIMIZE;
    else if (FWindowState == wsMaximized)
      Params.Style |= WS_MAXIMIZE;
  } else if (!FLayoutOnly) {
    FWindowState = wsNormal;
  }
  if (Icons.Contains(biSystemMenu)) Params.Style |= WS_SYSMENU;
  if (Icons.Contains(biHelp) &&
      (FBorderStyle == bsDialog || (!Icons.Contains(biMinimize) && !Icons.Contains(biMaximize))))
    Params.ExStyle |= WS_EX_CONTEXTHELP;
  if (FFormStyle == fsStayOnTop) Params.ExStyle |= WS_EX_TOPMOST;
  if (FFormStyle == fsMDIChild) AdjustMDIChildParams(Params);
  if (FPosition == poDefault || FPosition == poDefaultPosOnly) {
    Params.X = CW_USEDEFAULT;
    Params.Y = CW_USEDEFAULT;
  }
  if ((FPosition == poDefault || FPosition == poDefaultSizeOnly) &&
      (FBorderStyle == bsSizeable || FBorderStyle == bsSizeToolWin)) {
    Params.Width = CW_USEDEFAULT;
    Params.Height = CW_USEDEFAULT;
  }
}

void TCustomForm::CreateWnd() {
  TScrollingWinControl::CreateWnd();
  SendMessage(FHandle, WM_SETICON, 1,
              reinterpret_cast<LPARAM>(FBorderStyle != bsDialog ? IconHandleOf(FIcon) : nullptr));
  if (FMenu != nullptr) MenuWindowHandleChanged();
  if (FFormStyle == fsMDIForm) CreateMDIClient();
  if (FFormStyle == fsStayOnTop)
    SetWindowPos(FHandle, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TCustomForm::DestroyWnd() {
  // The menu bar is the menu's, not the window's: it must survive the window.
  if (FMenu != nullptr && FHandle != nullptr) {
    ::SetMenu(FHandle, nullptr);
    FMenu->SetWindowHandle(nullptr);
  }
  TScrollingWinControl::DestroyWnd();
}

void TCustomForm::SetBorderStyle(TFormBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons Value) {
  if (FBorderIcons == Value) return;
  FBorderIcons = Value;
  RecreateWnd();
}

void TCustomForm::SetFormStyle(TFormStyle Value) {
  if (FFormStyle == Value) return;
  const TFormStyle Old = FFormStyle;
  FFormStyle = Value;
  if (!HandleAllocated()) return;
  if ((Old == fsStayOnTop) != (Value == fsStayOnTop) && Old != fsMDIChild && Value != fsMDIChild &&
      Old != fsMDIForm && Value != fsMDIForm)
    SetWindowPos(FHandle, Value == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  else
    RecreateWnd();
}

void TCustomForm::SetWindowState(TWindowState Value) {
  static constexpr Integer ShowCommands[] = {SW_SHOWNORMAL, SW_MINIMIZE, SW_SHOWMAXIMIZED};
  if (FWindowState == Value) return;
  FWindowState = Value;
  if (GetShowing()) ShowWindow(FHandle, ShowCommands[Value]);
}

void TCustomForm::SetZOrder(bool TopMost) {
  // A document window comes forward by becoming the active one.
  if (FFormStyle == fsMDIChild && FHandle != nullptr && TopMost && ::GetParent(FHandle) != nullptr) {
    SendMessage(::GetParent(FHandle), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(FHandle), 0);
    return;
  }
  if (GetParent() == nullptr && FHandle != nullptr && TopMost && FFormStyle == fsStayOnTop) {
    SetWindowPos(FHandle, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    return;
  }
  TScrollingWinControl::SetZOrder(TopMost);
}

// ---- Menu and icon ----------------------------------------------------------------------------

void TCustomForm::SetMenu(TMainMenu* Value) {
  if (Value != nullptr && Screen != nullptr)
    for (Integer I = 0; I < Screen->GetCustomFormCount(); ++I) {
      TCustomForm* Other = Screen->GetCustomForm(I);
      if (Other != this && Other->FMenu == Value)
        throw EInvalidOperation(Format("%s is already being used by another form", {Value->GetName()}));
    }
  if (FMenu != nullptr) {
    if (FHandle != nullptr && ::GetMenu(FHandle) == FMenu->GetHandle()) ::SetMenu(FHandle, nullptr);
    FMenu->SetWindowHandle(nullptr);
  }
  if (GetComponentState().Contains(csDestroying) ||
      (Value != nullptr && Value->GetComponentState().Contains(csDestroying)))
    Value = nullptr;
  FMenu = Value;
  if (Value != nullptr) Value->FreeNotification(this);
  MenuWindowHandleChanged();
}

void TCustomForm::MenuWindowHandleChanged() {
  if (FHandle == nullptr) return;
  if (FMenu != nullptr && FBorderStyle != bsDialog) {
    if (::GetMenu(FHandle) != FMenu->GetHandle()) ::SetMenu(FHandle, FMenu->GetHandle());
    FMenu->SetWindowHandle(FHandle);
  } else if (::GetMenu(FHandle) != nullptr) {
    ::SetMenu(FHandle, nullptr);
  }
}

bool TCustomForm::HasMenuBar() {
  return FMenu != nullptr && FBorderStyle != bsDialog && FMenu->GetItems()->GetCount() > 0;
}

void TCustomForm::CMMenuChanged(TMessage&) {
  if (FHandle != nullptr && FMenu != nullptr) DrawMenuBar(FHandle);
}

void TCustomForm::SetIcon(TIcon* Value) {
  AssignIcon(FIcon, Value);
}

void TCustomForm::IconChanged(TObject*) {
  if (FHandle != nullptr && FBorderStyle != bsDialog)
    SendMessage(FHandle, WM_SETICON, 1, reinterpret_cast<LPARAM>(IconHandleOf(FIcon)));
}

void TCustomForm::CMIconChanged(TMessage&) {
  IconChanged(this);
}

// ---- Showing --------------------------------------------------------------------------------

void TCustomForm::SetVisible(bool Value) {
  if (FFormState.Contains(fsCreating)) {
    if (Value)
      FFormState.Include(fsVisible);
    else
      FFormState.Exclude(fsVisible);
    return;
  }
  TScrollingWinControl::SetVisible(Value);
}

void TCustomForm::Show() {
  SetVisible(true);
  BringToFront();
}

void TCustomForm::VisibleChanging() {
  if (FFormStyle == fsMDIChild && FVisible && GetParent() == nullptr)
    throw EInvalidOperation("Cannot hide an MDI Child Form");
}

void TCustomForm::PositionForShow() {
  Integer X = FLeft, Y = FTop;
  const Integer ScreenW = Screen != nullptr ? Screen->GetWidth() : 0;
  const Integer ScreenH = Screen != nullptr ? Screen->GetHeight() : 0;
  switch (FPosition) {
    case poScreenCenter:
      X = std::max(0, (ScreenW - FWidth) / 2);
      Y = std::max(0, (ScreenH - FHeight) / 2);
      break;
    case poMainFormCenter:
    case poOwnerFormCenter: {
      TCustomForm* CenterForm = Application != nullptr ? Application->GetMainForm() : nullptr;
      if (FPosition == poOwnerFormCenter)
        if (auto* OwnerForm = dynamic_cast<TCustomForm*>(GetOwner())) CenterForm = OwnerForm;
      if (CenterForm != nullptr && CenterForm != this) {
        X = (CenterForm->FWidth - FWidth) / 2 + CenterForm->FLeft;
        Y = (CenterForm->FHeight - FHeight) / 2 + CenterForm->FTop;
      } else {
        X = (ScreenW - FWidth) / 2;
        Y = (ScreenH - FHeight) / 2;
      }
      X = std::max(0, X);
      Y = std::max(0, Y);
      break;
    }
    case poDesktopCenter:
      X = std::max(0, ScreenW / 2 - FWidth / 2);
      Y = std::max(0, ScreenH / 2 - FHeight / 2);
      break;
    default:
      return;
  }
  SetBounds(X, Y, FWidth, FHeight);
}

void TCustomForm::CMShowingChanged(TMessage&) {
  static constexpr Integer ShowCommands[] = {SW_SHOWNORMAL, SW_SHOWMINNOACTIVE, SW_SHOWMAXIMIZED};
  if (FFormState.Contains(fsShowing)) throw EInvalidOperation("Cannot change Visible in OnShow or OnHide");
  FFormState.Include(fsShowing);
  auto Cleanup = ScopeExit([&] { FFormState.Exclude(fsShowing); });
  if (GetShowing()) {
    try {
      DoShow();
    } catch (...) {
      if (Application != nullptr) Application->HandleException(this);
    }
    PositionForShow();
    FPosition = poDesigned;
    ShowWindow(FHandle, ShowCommands[FWindowState]);
  } else {
    try {
      DoHide();
    } catch (...) {
      if (Application != nullptr) Application->HandleException(this);
    }
    if (FFormState.Contains(fsModal))
      SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                   SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    else
      ShowWindow(FHandle, SW_HIDE);
  }
}

void TCustomForm::DoShow() {
  if (OnShow) OnShow(this);
}

void TCustomForm::DoHide() {
  if (OnHide) OnHide(this);
}

// ---- Painting -------------------------------------------------------------------------------

void TCustomForm::Paint() {
  if (OnPaint) OnPaint(this);
}

void TCustomForm::PaintWindow(HDC DC) {
  const TCanvasOnDC OnDC(FCanvas.get(), DC);
  Paint();
}

void TCustomForm::WMPaint(TMessage& Message) {
  FControlState.Include(csCustomPaint);
  TWinControl::WMPaint(Message);
  FControlState.Exclude(csCustomPaint);
}

// ---- Messages -------------------------------------------------------------------------------

void TCustomForm::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT:
      WMPaint(Message);
      break;
    case WM_CLOSE:
      WMClose(Message);
      break;
    case WM_ACTIVATE:
      WMActivate(Message);
      break;
    case WM_COMMAND:
      WMCommand(Message);
      break;
    case WM_INITMENUPOPUP:
      if (FMenu != nullptr && FMenu->DispatchPopup(reinterpret_cast<HMENU>(Message.WParam))) break;
      DefaultHandler(Message);
      break;
    case WM_SYSCOMMAND:
      WMSysCommand(Message);
      break;
    case WM_SIZE:
      WMSize(Message);
      break;
    case WM_GETMINMAXINFO:
      WMGetMinMaxInfo(Message);
      break;
    case CM_SHOWINGCHANGED:
      CMShowingChanged(Message);
      break;
    case CM_DIALOGKEY:
      CMDialogKey(Message);
      break;
    case CM_ACTIVATE:
      CMActivate(Message);
      break;
    case CM_DEACTIVATE:
      CMDeactivate(Message);
      break;
    case CM_RELEASE:
      CMRelease(Message);
      break;
    case CM_MENUCHANGED:
      CMMenuChanged(Message);
      break;
    case CM_ICONCHANGED:
      CMIconChanged(Message);
      break;
    case CM_ACTIONEXECUTE:
      CMActionExecute(Message);
      break;
    case CM_ACTIONUPDATE:
      CMActionUpdate(Message);
      break;
    case WM_MDIACTIVATE:
      WMMDIActivate(Message);
      break;
    default:
      TScrollingWinControl::Dispatch(Message);
      break;
  }
}

void TCustomForm::WMClose(TMessage&) {
  Close();
}

void TCustomForm::WMCommand(TMessage& Message) {
  // Menu commands come with no control window.
  if (Message.LParam != 0 || FMenu == nullptr || !FMenu->DispatchCommand(LOWORD(Message.WParam)))
    TWinControl::WMCommand(Message);
}

void TCustomForm::WMSysCommand(TMessage& Message) {
  const WPARAM Command = Message.WParam & 0xFFF0;
  const bool Main = Application != nullptr && Application->GetMainForm() == this;
  if (Command == SC_MINIMIZE && Main)
    Application->Minimize();
  else if (Command == SC_RESTORE && Main && Application->GetMinimized())
    Application->Restore();  // the forms hidden with the main form come back with it
  else if (Command != SC_MOVE || GetAlign() == alNone || FWindowState == wsMinimized)
    DefaultHandler(Message);
  if ((Command == SC_MINIMIZE || Command == SC_RESTORE) && GetAlign() != alNone) RequestAlign();
}

void TCustomForm::WMSize(TMessage& Message) {
  switch (Message.WParam) {
    case SIZE_RESTORED:
      FWindowState = wsNormal;
      break;
    case SIZE_MINIMIZED:
      FWindowState = wsMinimized;
      break;
    case SIZE_MAXIMIZED:
      FWindowState = wsMaximized;
      break;
    default:
      break;
  }
  TScrollingWinControl::WMSize(Message);
}

void TCustomForm::WMGetMinMaxInfo(TMessage& Message) {
  DefaultHandler(Message);
  auto* Info = reinterpret_cast<MINMAXINFO*>(Message.LParam);
  if (Info == nullptr) return;
  const TSizeConstraints* C = GetConstraints();
  if (C->GetMinWidth() > 0) Info->ptMinTrackSize.X = C->GetMinWidth();
  if (C->GetMinHeight() > 0) Info->ptMinTrackSize.Y = C->GetMinHeight();
  if (C->GetMaxWidth() > 0) Info->ptMaxTrackSize.X = C->GetMaxWidth();
  if (C->GetMaxHeight() > 0) Info->ptMaxTrackSize.Y = C->GetMaxHeight();
}

void TCustomForm::CMRelease(TMessage&) {
  BeforeDestruction();
  delete this;
}

bool TCustomForm::WantChildKey(TControl*, TMessage&) {
  return false;
}

bool TCustomForm::IsShortCut(TWMKey& Message) {
  bool Handled = false;
  if (OnShortCut) OnShortCut(Message, Handled);
  if (Handled || (FMenu != nullptr && FMenu->GetWindowHandle() != nullptr && FMenu->IsShortCut(Message)))
    return true;
  // The form's action lists execute their actions' short-cuts.
  for (Integer I = 0; I < GetComponentCount(); ++I)
    if (auto* List = dynamic_cast<TCustomActionList*>(GetComponent(I));
        List != nullptr && List->IsShortCut(Message))
      return true;
  return false;
}

void TCustomForm::MouseWheelHandler(TMessage& Message) {
  if (FFocusedControl != nullptr && FFocusedControl != static_cast<TWinControl*>(this))
    Message.Result = FFocusedControl->Perform(CM_MOUSEWHEEL, Message.WParam, Message.LParam);
  else
    TScrollingWinControl::MouseWheelHandler(Message);
}

void TCustomForm::SendCancelMode(TControl* Sender) {
  if (FActive && FActiveControl != nullptr)
    FActiveControl->Perform(CM_CANCELMODE, 0, reinterpret_cast<LPARAM>(Sender));
}

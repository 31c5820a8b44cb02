// TWinControl: the window (creation, destruction, recreation), the child lists, showing,
// bounds and the message dispatch of windowed controls.
#include <algorithm>
#include <cstring>

#include "platform/classes/Application.h"
#include "platform/classes/Controls.h"
#include "platform/classes/Forms.h"
#include "platform/classes/Screen.h"
#include "platform/classes/UserBridge.h"
#include "platform/system/Format.h"
#include "platform/system/ScopeExit.h"
#include "platform/system/Strings.h"
#include "platform/user/WindowMessages.h"
#include "platform/user/WindowPaint.h"
#include "platform/user/WindowPos.h"
#include "platform/user/Windows.h"

namespace {

// The control whose window CreateWindowEx is making: its first message binds the window to it.
TWinControl* CreationControl = nullptr;

// The window property that names the control of a window.
constexpr const char* ControlProp = "TvControl";

template <class T>
void EraseOne(std::vector<T*>& List, T* Item) {
  auto It = std::find(List.begin(), List.end(), Item);
  if (It != List.end()) List.erase(It);
}

}  // namespace

LRESULT InitWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  TWinControl* Control = CreationControl;
  if (Control == nullptr) return DefWindowProc(Wnd, Msg, WParam, LParam);
  CreationControl = nullptr;
  Control->FHandle = Wnd;
  SetWindowLongPtr(Wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Control->FObjectInstance));
  return CallWindowProc(Control->FObjectInstance, Wnd, Msg, WParam, LParam);
}

TWinControl* FindControl(HWND Handle) {
  if (Handle == nullptr) return nullptr;
  return static_cast<TWinControl*>(GetProp(Handle, ControlProp));
}

TWinControl* FindVCLWindow(TPoint Pos) {
  for (HWND H = WindowFromPoint(Pos); H != nullptr; H = GetParent(H))
    if (TWinControl* C = FindControl(H)) return C;
  return nullptr;
}

TControl* FindDragTarget(TPoint Pos, bool AllowDisabled) {
  TWinControl* Window = FindVCLWindow(Pos);
  if (Window == nullptr) return nullptr;
  if (TControl* Control = Window->ControlAtPos(Window->ScreenToClient(Pos), AllowDisabled)) return Control;
  return Window;
}

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {
  FObjectInstance = MakeObjectInstance(TWndMethod(this, &TWinControl::MainWndProc));
  FBrush = std::make_unique<TBrush>();
  FBrush->SetColor(FColor);
}

TWinControl::~TWinControl() {
  Destroying();
  if (FParent != nullptr) RemoveFocus(true);
  if (FHandle != nullptr) DestroyWindowHandle();
  // The platform's parents delete their children.
  while (GetControlCount() > 0) {
    TControl* Instance = GetControl(GetControlCount() - 1);
    Remove(Instance);
    delete Instance;
  }
  // Out of the parent while this is still known as a windowed control (TControl's destructor
  // would see a plain control).
  SetParent(nullptr);
  FreeObjectInstance(FObjectInstance);
}

// ---- Messages ----

void TWinControl::MainWndProc(TMessage& Message) {
  try {
    if (WindowProc)
      WindowProc(Message);
    else
      WndProc(Message);
  } catch (...) {
    if (Application != nullptr) Application->HandleException(this);
  }
  FreeDeviceContexts();
}

void TWinControl::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SETFOCUS: {
      TCustomForm* Form = GetParentForm(this);
      if (Form != nullptr && !Form->SetFocusedControl(this)) return;
      break;
    }
    case WM_KILLFOCUS:
      if (FControlState.Contains(csFocusing)) return;
      break;
    case WM_NCHITTEST:
      TControl::WndProc(Message);
      if (Message.Result == HTTRANSPARENT &&
          ControlAtPos(ScreenToClient(LParamToPoint(Message.LParam)), false) != nullptr)
        Message.Result = HTCLIENT;
      return;
    case WM_CANCELMODE: {
      TControl* Capture = GetCaptureControl();
      if (Capture != nullptr && Capture != this && Capture->GetParent() == this)
        Capture->Perform(WM_CANCELMODE, 0, 0);
      break;
    }
    default:
      // Wheel messages carry screen coordinates and go to the focused control instead.
      if (Message.Msg >= WM_MOUSEFIRST && Message.Msg <= WM_MOUSELAST && Message.Msg != WM_MOUSEWHEEL &&
          Message.Msg != WM_MOUSEHWHEEL && IsControlMouseMsg(Message)) {
        // The window can be gone: the child's handler may have freed or re-parented it.
        if (Message.Result == 0 && HandleAllocated())
          DefWindowProc(FHandle, Message.Msg, Message.WParam, Message.LParam);
        return;
      }
      break;
  }
  TControl::WndProc(Message);
}

void TWinControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT:
      WMPaint(Message);
      break;
    case WM_ERASEBKGND:
      WMEraseBkgnd(Message);
      break;
    case WM_COMMAND:
      WMCommand(Message);
      break;
    case WM_NOTIFY:
      WMNotify(Message);
      break;
    case WM_COMPAREITEM:
      WMCompareItem(Message);
      break;
    case WM_DELETEITEM:
      WMDeleteItem(Message);
      break;
    case WM_DRAWITEM:
      WMDrawItem(Message);
      break;
    case WM_MEASUREITEM:
      WMMeasureItem(Message);
      break;
    case WM_HSCROLL:
      WMHScroll(Message);
      break;
    case WM_VSCROLL:
      WMVScroll(Message);
      break;
    case WM_SETFOCUS:
      WMSetFocus(Message);
      break;
    case WM_KILLFOCUS:
      WMKillFocus(Message);
      break;
    case WM_KEYDOWN:
      WMKeyDown(Message);
      break;
    case WM_SYSKEYDOWN:
      WMSysKeyDown(Message);
      break;
    case WM_KEYUP:
      WMKeyUp(Message);
      break;
    case WM_SYSKEYUP:
      WMSysKeyUp(Message);
      break;
    case WM_CHAR:
      WMChar(Message);
      break;
    case WM_SIZE:
      WMSize(Message);
      break;
    case WM_MOVE:
      WMMove(Message);
      break;
    case WM_WINDOWPOSCHANGED:
      WMWindowPosChanged(Message);
      break;
    case WM_SETCURSOR:
      WMSetCursor(Message);
      break;
    case WM_NCDESTROY:
      WMNCDestroy(Message);
      break;
    case WM_GETDLGCODE:
      WMGetDlgCode(Message);
      break;
    case CN_KEYDOWN:
      CNKeyDown(Message);
      break;
    case CN_KEYUP:
      CNKeyUp(Message);
      break;
    case CN_CHAR:
      CNChar(Message);
      break;
    case CN_SYSKEYDOWN:
      CNSysKeyDown(Message);
      break;
    case CN_SYSCHAR:
      CNSysChar(Message);
      break;
    case CM_CHILDKEY:
      CMChildKey(Message);
      break;
    case CM_DIALOGKEY:
      CMDialogKey(Message);
      break;
    case CM_DIALOGCHAR:
      CMDialogChar(Message);
      break;
    case CM_FOCUSCHANGED:
      // Every control of the form hears where the focus went (default buttons follow it).
      Broadcast(Message);
      break;
    case CM_ENTER:
      CMEnter(Message);
      break;
    case CM_EXIT:
      CMExit(Message);
      break;
    case CM_SHOWINGCHANGED:
      CMShowingChanged(Message);
      break;
    case CM_VISIBLECHANGED:
      CMVisibleChanged(Message);
      break;
    case CM_ENABLEDCHANGED:
      CMEnabledChanged(Message);
      break;
    case CM_COLORCHANGED:
      CMColorChanged(Message);
      break;
    case CM_FONTCHANGED:
      CMFontChanged(Message);
      break;
    case CM_SHOWHINTCHANGED:
      CMShowHintChanged(Message);
      break;
    case CM_CURSORCHANGED:
      CMCursorChanged(Message);
      break;
    case CM_RECREATEWND:
      CMRecreateWnd(Message);
      break;
    case CM_INVALIDATE:
      CMInvalidate(Message);
      break;
    case CM_CTL3DCHANGED:
      CMCtl3DChanged(Message);
      break;
    case CM_PARENTCTL3DCHANGED:
      CMParentCtl3DChanged(Message);
      break;
    case CM_SYSCOLORCHANGE:
      CMSysColorChange(Message);
      break;
    default:
      TControl::Dispatch(Message);
      break;
  }
}

void TWinControl::DefaultHandler(TMessage& Message) {
  if (FHandle == nullptr) {
    TControl::DefaultHandler(Message);
    return;
  }
  const UINT Msg = Message.Msg;
  if (Msg >= WM_CTLCOLORMSGBOX && Msg <= WM_CTLCOLORSTATIC) {
    // The child colours itself (CN_CTLCOLOR*).
    Message.Result =
        SendMessage(reinterpret_cast<HWND>(Message.LParam), CN_BASE + Msg, Message.WParam, Message.LParam);
    return;
  }
  if (Msg >= CN_CTLCOLORMSGBOX && Msg <= CN_CTLCOLORSTATIC) {
    auto* DC = reinterpret_cast<HDC>(Message.WParam);
    SetTextColor(DC, ColorToRGB(GetFont()->GetColor()));
    SetBkColor(DC, ColorToRGB(FBrush->GetColor()));
    Message.Result = reinterpret_cast<LRESULT>(FBrush->GetHandle());
    return;
  }
  Message.Result = CallWindowProc(FDefWndProc, FHandle, Msg, Message.WParam, Message.LParam);
}

bool TWinControl::DoControlMsg(HWND ControlHandle, TMessage& Message) {
  TWinControl* Control = FindControl(ControlHandle);
  if (Control == nullptr) return false;
  Message.Result = Control->Perform(Message.Msg + CN_BASE, Message.WParam, Message.LParam);
  return true;
}

void TWinControl::WMCommand(TMessage& Message) {
  if (!DoControlMsg(reinterpret_cast<HWND>(Message.LParam), Message)) DefaultHandler(Message);
}

void TWinControl::WMNotify(TMessage& Message) {
  const auto* Header = reinterpret_cast<const NMHDR*>(Message.LParam);
  if (Header == nullptr || !DoControlMsg(Header->hwndFrom, Message)) DefaultHandler(Message);
}

void TWinControl::WMCompareItem(TMessage& Message) {
  // The item structures name the control by id; a window that is ours answers for it.
  if (!DoControlMsg(GetDlgItem(FHandle, static_cast<Integer>(Message.WParam)), Message))
    DefaultHandler(Message);
}

void TWinControl::WMDeleteItem(TMessage& Message) {
  if (!DoControlMsg(GetDlgItem(FHandle, static_cast<Integer>(Message.WParam)), Message))
    DefaultHandler(Message);
}

void TWinControl::WMDrawItem(TMessage& Message) {
  const auto* Item = reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam);
  if (Item == nullptr || !DoControlMsg(Item->hwndItem, Message)) DefaultHandler(Message);
}

void TWinControl::WMMeasureItem(TMessage& Message) {
  const auto* Item = reinterpret_cast<const MEASUREITEMSTRUCT*>(Message.LParam);
  HWND Child = Item != nullptr ? GetDlgItem(FHandle, static_cast<Integer>(Item->CtlID)) : nullptr;
  if (Item == nullptr || Item->CtlType == ODT_MENU || !DoControlMsg(Child, Message)) DefaultHandler(Message);
}

void TWinControl::WMHScroll(TMessage& Message) {
  if (!DoControlMsg(reinterpret_cast<HWND>(Message.LParam), Message)) DefaultHandler(Message);
}

void TWinControl::WMVScroll(TMessage& Message) {
  if (!DoControlMsg(reinterpret_cast<HWND>(Message.LParam), Message)) DefaultHandler(Message);
}

// ---- The window ----

HWND TWinControl::GetHandle() {
  HandleNeeded();
  return FHandle;
}

void TWinControl::HandleNeeded() {
  if (FHandle != nullptr) return;
  if (FParent != nullptr) FParent->HandleNeeded();
  CreateHandle();
}

void TWinControl::SetParentWindow(HWND Value) {
  if (FParent != nullptr || FParentWindow == Value) return;
  if (FHandle != nullptr && FParentWindow != nullptr && Value != nullptr) {
    FParentWindow = Value;
    ::SetParent(FHandle, Value);
  } else {
    DestroyHandle();
    FParentWindow = Value;
  }
  UpdateControlState();
}

void TWinControl::CreateParams(TCreateParams& Params) {
  Params = TCreateParams();
  Params.Caption = FText;
  Params.Style = WS_CHILD | WS_CLIPSIBLINGS;
  if (FControlStyle.Contains(csAcceptsControls)) {
    Params.Style |= WS_CLIPCHILDREN;
    Params.ExStyle |= WS_EX_CONTROLPARENT;
  }
  if (!GetEnabled()) Params.Style |= WS_DISABLED;
  Params.X = FLeft;
  Params.Y = FTop;
  Params.Width = FWidth;
  Params.Height = FHeight;
  if (FParent != nullptr)
    Params.WndParent = FLayoutOnly ? FParent->FHandle : FParent->GetHandle();
  else
    Params.WndParent = FParentWindow;
  Params.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  Params.WindowClass.lpfnWndProc = DefWindowProcEntry();
  Params.WindowClass.hbrBackground = nullptr;
  Params.WindowClass.hInstance = HInstance;
  Params.WinClassName = ClassName();
}

void TWinControl::CreateSubClass(TCreateParams& Params, const char* ControlClassName) {
  WNDCLASS Class;
  if (!GetClassInfo(HInstance, ControlClassName, &Class) && !GetClassInfo(nullptr, ControlClassName, &Class))
    return;
  // Keep the class styles the control asked for that the built-in class does not know.
  const UINT SavedStyle = Params.WindowClass.style & (CS_VREDRAW | CS_HREDRAW);
  Params.WindowClass = Class;
  Params.WindowClass.style = (Class.style & ~(CS_VREDRAW | CS_HREDRAW)) | SavedStyle;
}

void TWinControl::CreateHandle() {
  if (FHandle != nullptr) return;
  CreateWnd();
  SetProp(FHandle, ControlProp, static_cast<HANDLE>(this));
  if (FParent != nullptr)
    SetWindowPos(FHandle, FParent->PrecedingWindow(this), 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  for (Integer I = 0; I < GetControlCount(); ++I) GetControl(I)->UpdateAnchorRules();
}

void TWinControl::CreateWnd() {
  TCreateParams Params;
  CreateParams(Params);
  if (Params.WndParent == nullptr && (Params.Style & WS_CHILD))
    throw EInvalidOperation(Format("Control '%s' has no parent window", {GetName()}));
  FDefWndProc = Params.WindowClass.lpfnWndProc;
  static const WNDPROC InitProc = MakeWndProc(&InitWndProc);
  WNDCLASS Registered;
  const bool ClassRegistered =
      GetClassInfo(Params.WindowClass.hInstance, Params.WinClassName.c_str(), &Registered);
  if (!ClassRegistered || Registered.lpfnWndProc != InitProc) {
    if (ClassRegistered) UnregisterClass(Params.WinClassName.c_str(), Params.WindowClass.hInstance);
    WNDCLASS Class = Params.WindowClass;
    Class.lpfnWndProc = InitProc;
    Class.lpszClassName = Params.WinClassName.c_str();
    if (RegisterClass(&Class) == 0)
      throw EOutOfResources(Format("Cannot register the window class %s", {Params.WinClassName}));
  }
  CreationControl = this;
  {
    auto Cleanup = ScopeExit([&] { CreationControl = nullptr; });
    CreateWindowHandle(Params);
  }
  if (FHandle == nullptr) throw EOutOfResources("Error creating window");
  if ((GetWindowLongPtr(FHandle, GWL_STYLE) & WS_CHILD) && GetWindowLongPtr(FHandle, GWLP_ID) == 0)
    SetWindowLongPtr(FHandle, GWLP_ID, reinterpret_cast<LONG_PTR>(FHandle));
  FText.clear();
  UpdateBounds();
  Perform(WM_SETFONT, reinterpret_cast<WPARAM>(GetFont()->GetHandle()), 1);
  if (GetAutoSize()) AdjustSize();
}

void TWinControl::CreateWindowHandle(const TCreateParams& Params) {
  const HWND Wnd = CreateWindowEx(Params.ExStyle, Params.WinClassName.c_str(), Params.Caption.c_str(),
                                  Params.Style, Params.X, Params.Y, Params.Width, Params.Height,
                                  Params.WndParent, nullptr, Params.WindowClass.hInstance, Params.Param);
  // The first message bound the window already; a window that got none is bound here.
  if (Wnd != nullptr && FHandle == nullptr) {
    FHandle = Wnd;
    SetWindowLongPtr(Wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FObjectInstance));
  }
  if (Wnd == nullptr) FHandle = nullptr;
}

void TWinControl::SaveTextFromWindow() {
  const Integer Length = GetWindowTextLength(FHandle);
  FText = Length > 0 ? GetWindowTextString(FHandle) : std::string();
}

void TWinControl::DestroyWnd() {
  SaveTextFromWindow();
  DestroyWindowHandle();
}

void TWinControl::DestroyWindowHandle() {
  FControlState.Include(csDestroyingHandle);
  if (FHandle != nullptr) DestroyWindow(FHandle);
  FControlState.Exclude(csDestroyingHandle);
  FHandle = nullptr;
  FShowing = false;
}

void TWinControl::DestroyHandle() {
  if (FHandle == nullptr) return;
  for (TWinControl* C : std::vector<TWinControl*>(FWinControls)) C->DestroyHandle();
  DestroyWnd();
}

void TWinControl::WMNCDestroy(TMessage& Message) {
  DefaultHandler(Message);
  // The window is going (destroyed with its parent, or DestroyWindow from outside).
  if (FHandle != nullptr) {
    RemoveProp(FHandle, ControlProp);
    FHandle = nullptr;
    FShowing = false;
  }
}

void TWinControl::RecreateWnd() {
  if (FHandle != nullptr) Perform(CM_RECREATEWND, 0, 0);
}

void TWinControl::CMRecreateWnd(TMessage&) {
  const bool WasFocused = Focused();
  FRecreating = true;
  {
    auto Cleanup = ScopeExit([&] { FRecreating = false; });
    DestroyHandle();
    UpdateControlState();
  }
  if (WasFocused && FHandle != nullptr) ::SetFocus(FHandle);
}

HWND TWinControl::PrecedingWindow(TWinControl* Control) {
  auto It = std::find(FWinControls.begin(), FWinControls.end(), Control);
  if (It != FWinControls.end())
    for (++It; It != FWinControls.end(); ++It)
      if ((*It)->HandleAllocated()) return (*It)->FHandle;
  return HWND_TOP;
}

// ---- Showing ----

void TWinControl::UpdateShowing() {
  const bool ShowControl =
      FVisible && !FControlState.Contains(csReadingState) && !GetComponentState().Contains(csDestroying);
  if (ShowControl) {
    if (FHandle == nullptr) CreateHandle();
    for (TWinControl* C : std::vector<TWinControl*>(FWinControls)) C->UpdateShowing();
  }
  if (FHandle != nullptr && FShowing != ShowControl) {
    FShowing = ShowControl;
    auto Undo = ScopeExit([&] { FShowing = !ShowControl; });
    Perform(CM_SHOWINGCHANGED, 0, 0);
    Undo.Release();
  }
}

void TWinControl::UpdateControlState() {
  TWinControl* Control = this;
  while (Control->FParent != nullptr) {
    Control = Control->FParent;
    if (!Control->FShowing) return;
  }
  if (dynamic_cast<TCustomForm*>(Control) != nullptr || Control->FParentWindow != nullptr) UpdateShowing();
}

void TWinControl::CMShowingChanged(TMessage&) {
  const UINT Flags =
      SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | (FShowing ? SWP_SHOWWINDOW : SWP_HIDEWINDOW);
  SetWindowPos(FHandle, nullptr, 0, 0, 0, 0, Flags);
}

void TWinControl::CMVisibleChanged(TMessage&) {
  if (!FVisible && FParent != nullptr) RemoveFocus(false);
  UpdateControlState();
}

void TWinControl::CMEnabledChanged(TMessage&) {
  if (!GetEnabled() && FParent != nullptr) RemoveFocus(false);
  if (FHandle != nullptr) EnableWindow(FHandle, GetEnabled() ? TRUE : FALSE);
}

void TWinControl::CMColorChanged(TMessage& Message) {
  TControl::CMColorChanged(Message);
  FBrush->SetColor(FColor);
  NotifyControls(CM_PARENTCOLORCHANGED);
}

void TWinControl::CMFontChanged(TMessage& Message) {
  TControl::CMFontChanged(Message);
  if (FHandle != nullptr) Perform(WM_SETFONT, reinterpret_cast<WPARAM>(GetFont()->GetHandle()), 0);
  NotifyControls(CM_PARENTFONTCHANGED);
}

void TWinControl::CMShowHintChanged(TMessage&) {
  NotifyControls(CM_PARENTSHOWHINTCHANGED);
}

void TWinControl::CMCursorChanged(TMessage&) {
  // The cursor shown now follows when the mouse is over this window.
  if (FHandle == nullptr) return;
  POINT P;
  ::GetCursorPos(&P);
  if (WindowFromPoint(P) == FHandle)
    Perform(WM_SETCURSOR, reinterpret_cast<WPARAM>(FHandle), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

void TWinControl::CMCtl3DChanged(TMessage&) {
  NotifyControls(CM_PARENTCTL3DCHANGED);
}

void TWinControl::CMParentCtl3DChanged(TMessage&) {
  if (!FParentCtl3D || FParent == nullptr) return;
  SetCtl3D(FParent->GetCtl3D());
  FParentCtl3D = true;
}

void TWinControl::SetCtl3D(bool Value) {
  FParentCtl3D = false;
  if (FCtl3D == Value) return;
  FCtl3D = Value;
  Perform(CM_CTL3DCHANGED, 0, 0);
}

void TWinControl::SetParentCtl3D(bool Value) {
  if (FParentCtl3D == Value) return;
  FParentCtl3D = Value;
  if (FParent != nullptr) Perform(CM_PARENTCTL3DCHANGED, 0, 0);
}

void TWinControl::CMSysColorChange(TMessage& Message) {
  Broadcast(Message);
  Invalidate();
}

void TWinControl::SetParentBackground(bool Value) {
  if (GetParentBackground() == Value) return;
  if (Value)
    FControlStyle.Include(csParentBackground);
  else
    FControlStyle.Exclude(csParentBackground);
  Invalidate();
}

// ---- Children ----

TControl* TWinControl::GetControl(Integer Index) const {
  const auto N = static_cast<Integer>(FControls.size());
  if (Index < 0 || Index >= GetControlCount())
    throw EListError(Format("List index out of bounds (%d)", {Index}));
  return Index < N ? FControls[static_cast<std::size_t>(Index)]
                   : static_cast<TControl*>(FWinControls[static_cast<std::size_t>(Index - N)]);
}

void TWinControl::Insert(TControl* AControl) {
  if (auto* Win = dynamic_cast<TWinControl*>(AControl)) {
    FWinControls.push_back(Win);
    FTabList.push_back(Win);
  } else {
    FControls.push_back(AControl);
  }
  AControl->FParent = this;
}

void TWinControl::Remove(TControl* AControl) {
  if (auto* Win = dynamic_cast<TWinControl*>(AControl)) {
    EraseOne(FTabList, Win);
    EraseOne(FWinControls, Win);
  } else {
    EraseOne(FControls, AControl);
  }
  AControl->FParent = nullptr;
}

void TWinControl::InsertControl(TControl* AControl) {
  if (AControl == nullptr) return;
  for (TWinControl* P = this; P != nullptr; P = P->FParent)
    if (P == AControl) throw EInvalidOperation("A control cannot have itself as its parent");
  Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(AControl), TRUE);
  Insert(AControl);
  if (!AControl->GetComponentState().Contains(csReading)) {
    AControl->Perform(CM_PARENTCOLORCHANGED, 0, 0);
    AControl->Perform(CM_PARENTFONTCHANGED, 0, 0);
    AControl->Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
    if (auto* Win = dynamic_cast<TWinControl*>(AControl)) {
      AControl->Perform(CM_PARENTCTL3DCHANGED, 0, 0);
      Win->UpdateControlState();
    } else if (HandleAllocated()) {
      AControl->Invalidate();
    }
    AlignControl(AControl);
  }
  Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(AControl), TRUE);
}

void TWinControl::RemoveControl(TControl* AControl) {
  Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(AControl), FALSE);
  if (auto* Win = dynamic_cast<TWinControl*>(AControl)) {
    Win->RemoveFocus(true);
    Win->DestroyHandle();
  } else if (HandleAllocated()) {
    AControl->InvalidateControl(AControl->GetVisible(), false);
  }
  Remove(AControl);
  Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(AControl), FALSE);
  if (!GetComponentState().Contains(csDestroying)) Realign();
}

bool TWinControl::ContainsControl(TControl* Control) {
  while (Control != nullptr && Control != this) Control = Control->FParent;
  return Control != nullptr;
}

TControl* TWinControl::ControlAtPos(TPoint Pos, bool AllowDisabled, bool AllowWinControls) {
  auto Hit = [&](TControl* C) {
    const TPoint P{Pos.X - C->FLeft, Pos.Y - C->FTop};
    const TRect R = C->GetClientRect();
    if (P.X < R.Left || P.X >= R.Right || P.Y < R.Top || P.Y >= R.Bottom) return false;
    return C->FVisible && (C->GetEnabled() || AllowDisabled) &&
           C->Perform(CM_HITTEST, 0, PointToLParam(P)) != 0;
  };
  if (AllowWinControls)
    for (auto It = FWinControls.rbegin(); It != FWinControls.rend(); ++It)
      if (Hit(*It)) return *It;
  for (auto It = FControls.rbegin(); It != FControls.rend(); ++It)
    if (Hit(*It)) return *It;
  return nullptr;
}

TControl* TWinControl::FindChildControl(const std::string& ControlName) {
  for (Integer I = 0; I < GetControlCount(); ++I) {
    TControl* C = GetControl(I);
    if (SameText(C->GetName(), ControlName)) return C;
  }
  return nullptr;
}

void TWinControl::Broadcast(TMessage& Message) {
  for (Integer I = 0; I < GetControlCount(); ++I) {
    TControl* C = GetControl(I);
    if (C->WindowProc)
      C->WindowProc(Message);
    else
      C->WndProc(Message);
    if (Message.Result != 0) return;
  }
}

void TWinControl::NotifyControls(UINT Msg) {
  TMessage M{Msg, 0, 0, 0};
  Broadcast(M);
}

// ---- Bounds ----

void TWinControl::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  // The size is checked first: AutoSize and Constraints may change it from what it is.
  if (!CheckNewSize(AWidth, AHeight)) return;
  if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
  if (FHandle != nullptr && !IsIconic(FHandle)) {
    SetWindowPos(FHandle, nullptr, ALeft, ATop, AWidth, AHeight, SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
    if (FHandle != nullptr) {
      WINDOWPLACEMENT Placement;
      GetWindowPlacement(FHandle, &Placement);
      Placement.rcNormalPosition = GetBoundsRect();
      SetWindowPlacement(FHandle, &Placement);
    }
  }
  UpdateAnchorRules();
  RequestAlign();
}

void TWinControl::UpdateBounds() {
  if (FHandle == nullptr) return;
  RECT R;
  if (IsIconic(FHandle)) {
    WINDOWPLACEMENT Placement;
    GetWindowPlacement(FHandle, &Placement);
    R = Placement.rcNormalPosition;
  } else {
    GetWindowRect(FHandle, &R);
    if (GetWindowLongPtr(FHandle, GWL_STYLE) & WS_CHILD) {
      if (HWND ParentHandle = ::GetParent(FHandle)) {
        POINT P[2] = {{R.Left, R.Top}, {R.Right, R.Bottom}};
        ::ScreenToClient(ParentHandle, &P[0]);
        ::ScreenToClient(ParentHandle, &P[1]);
        R = {P[0].X, P[0].Y, P[1].X, P[1].Y};
      }
    }
  }
  FLeft = R.Left;
  FTop = R.Top;
  FWidth = R.Width();
  FHeight = R.Height();
  UpdateAnchorRules();
}

TRect TWinControl::GetClientRect() {
  if (FHandle != nullptr) {
    RECT R;
    ::GetClientRect(FHandle, &R);
    return R;
  }
  const TPoint S = ClientSizeForLayout();
  return Rect(0, 0, S.X, S.Y);
}

TPoint TWinControl::ClientSizeForLayout() {
  if (FHandle != nullptr) {
    RECT R;
    ::GetClientRect(FHandle, &R);
    return {R.Right, R.Bottom};
  }
  // Without a window: the size minus the frame the creation parameters would give (asked
  // without making the parent's window).
  TCreateParams Params;
  FLayoutOnly = true;
  {
    auto Cleanup = ScopeExit([&] { FLayoutOnly = false; });
    CreateParams(Params);
  }
  RECT R = Rect(0, 0, 0, 0);
  AdjustWindowRectEx(&R, Params.Style, HasMenuBar() ? TRUE : FALSE, Params.ExStyle);
  return {std::max(0, FWidth - R.Width()), std::max(0, FHeight - R.Height())};
}

TPoint TWinControl::GetClientOrigin() {
  POINT P{0, 0};
  ::ClientToScreen(GetHandle(), &P);
  return P;
}

void TWinControl::WMSize(TMessage& Message) {
  UpdateBounds();
  DefaultHandler(Message);
  Realign();
  if (!GetComponentState().Contains(csLoading)) Resize();
}

void TWinControl::WMMove(TMessage& Message) {
  DefaultHandler(Message);
  UpdateBounds();
}

void TWinControl::WMWindowPosChanged(TMessage& Message) {
  const auto* Pos = reinterpret_cast<const WINDOWPOS*>(Message.LParam);
  const bool Framed = FCtl3D && FControlStyle.Contains(csFramed) && FParent != nullptr && Pos != nullptr &&
                      !(Pos->flags & SWP_NOREDRAW);
  const bool Changed =
      Pos != nullptr && ((Pos->flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE));
  auto InvalidateFrame = [&] {
    if (FParent == nullptr || !FParent->HandleAllocated()) return;
    const TRect R{FLeft - 1, FTop - 1, FLeft + FWidth + 1, FTop + FHeight + 1};
    InvalidateRect(FParent->GetWindowHandle(), &R, TRUE);
  };
  if (Framed && Changed) InvalidateFrame();
  if (!FControlState.Contains(csDestroyingHandle)) UpdateBounds();
  DefaultHandler(Message);
  if (Framed && Pos != nullptr && (Changed || (Pos->flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW))))
    InvalidateFrame();
}

void TWinControl::SetZOrder(bool TopMost) {
  if (FParent == nullptr) {
    if (FHandle != nullptr)
      SetWindowPos(FHandle, TopMost ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    return;
  }
  auto& List = FParent->FWinControls;
  auto It = std::find(List.begin(), List.end(), this);
  if (It == List.end()) return;
  List.erase(It);
  if (TopMost)
    List.push_back(this);
  else
    List.insert(List.begin(), this);
  if (FHandle != nullptr)
    SetWindowPos(FHandle, TopMost ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWinControl::WMSetCursor(TMessage& Message) {
  if (reinterpret_cast<HWND>(Message.WParam) == FHandle &&
      static_cast<SHORT>(LOWORD(Message.LParam)) == HTCLIENT && Screen != nullptr) {
    TCursor Cursor = Screen->GetCursor();
    if (Cursor == crDefault) {
      POINT P;
      ::GetCursorPos(&P);
      if (TControl* Control = ControlAtPos(ScreenToClient(P), false)) Cursor = Control->GetCursor();
      if (Cursor == crDefault) Cursor = GetCursor();
    }
    if (Cursor != crDefault) {
      ::SetCursor(Screen->GetCursors(Cursor));
      Message.Result = 1;
      return;
    }
  }
  DefaultHandler(Message);
}

void TWinControl::Loaded() {
  TControl::Loaded();
  if (FHandle != nullptr) UpdateBounds();
  // Children were positioned while loading: their anchors count from now.
  for (Integer I = 0; I < GetControlCount(); ++I) GetControl(I)->UpdateAnchorRules();
  Realign();
}

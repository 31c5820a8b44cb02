// TApplication: the message loop, the hidden application window, the main form, exceptions,
// minimizing. The global Screen and Application objects are made here, Screen first.
#include "platform/classes/Application.h"

#include <cstdio>
#include <cstdlib>

#include "platform/classes/Bitmap.h"
#include "platform/classes/HintWindow.h"
#include "platform/classes/IconBridge.h"
#include "platform/classes/Screen.h"
#include "platform/classes/UserBridge.h"
#include "platform/system/Environment.h"
#include "platform/system/Files.h"
#include "platform/system/ScopeExit.h"
#include "platform/system/Threads.h"
#include "platform/user/WindowMessages.h"
#include "platform/user/WindowPos.h"
#include "platform/user/Windows.h"

namespace {

THintWindow* CreateDefaultHintWindow(TComponent* AOwner) {
  return new THintWindow(AOwner);
}

void WriteExceptionToStdErr(const std::string& Title, const std::string& Text) {
  std::fprintf(stderr, "%s: %s\n", Title.c_str(), Text.c_str());
}

// At exit the forms go as the program ends (their OnDestroy runs), then the application.
void DoneApplication() {
  delete Application;
}

}  // namespace

THintWindowClass HintWindowClass = &CreateDefaultHintWindow;
TExceptionBoxProc ShowExceptionBox = &WriteExceptionToStdErr;
TScreen* Screen = new TScreen(nullptr);
TApplication* Application = new TApplication(nullptr);

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner) {
  // Hints are on; the hint window is made when the first hint shows.
  FShowHint = true;
}

TApplication::~TApplication() {
  Destroying();
  CancelHint();
  DestroyHintWindow();
  // The forms (and everything else the application owns) go before its window.
  for (Integer I = GetComponentCount() - 1; I >= 0; --I)
    if (I < GetComponentCount())
      if (auto* Form = dynamic_cast<TCustomForm*>(GetComponent(I))) Form->BeforeDestruction();
  DestroyComponents();
  if (FIcon != nullptr) DeleteIcon(FIcon);
  if (FHandle != nullptr) {
    DestroyWindow(FHandle);
    FHandle = nullptr;
  }
  if (FObjectInstance != nullptr) FreeObjectInstance(FObjectInstance);
  if (Application == this) Application = nullptr;
}

void TApplication::FormCreated(TCustomForm* Form) {
  if (FMainForm == nullptr && Form != nullptr) {
    Form->HandleNeeded();
    FMainForm = Form;
  }
}

// ---- The window ------------------------------------------------------------------------------

HWND TApplication::GetHandle() {
  if (FHandle != nullptr || GetComponentState().Contains(csDestroying)) return FHandle;
  constexpr const char* ClassName = "TApplication";
  WNDCLASS Class;
  if (!GetClassInfo(HInstance, ClassName, &Class)) {
    Class = WNDCLASS();
    Class.lpfnWndProc = DefWindowProcEntry();
    Class.hInstance = HInstance;
    Class.lpszClassName = ClassName;
    RegisterClass(&Class);
  }
  FHandle = CreateWindowEx(0, ClassName, GetTitle().c_str(),
                           WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 0, 0,
                           nullptr, nullptr, HInstance, nullptr);
  if (FHandle == nullptr) throw EOutOfResources("Error creating window");
  FObjectInstance = MakeObjectInstance(TDelegate<void(TMessage&)>(this, &TApplication::WndProc));
  SetWindowLongPtr(FHandle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FObjectInstance));
  return FHandle;
}

void TApplication::WndProc(TMessage& Message) {
  try {
    switch (Message.Msg) {
      case WM_ACTIVATEAPP:
        FActive = Message.WParam != 0;
        if (FActive) {
          if (OnActivate) OnActivate(this);
        } else {
          CancelHint();
          if (OnDeactivate) OnDeactivate(this);
        }
        break;
      case CM_APPKEYDOWN: {
        TWMKey Key = KeyMessage(Message);
        Message.Result = IsShortCut(Key) ? 1 : 0;
        return;
      }
      case CM_ACTIONEXECUTE:
      case CM_ACTIONUPDATE:
        Message.Result = DispatchAction(Message.Msg, reinterpret_cast<TBasicAction*>(Message.LParam)) ? 1 : 0;
        return;
      case CM_APPSYSCOMMAND:
        if (FMainForm != nullptr && FMainForm->HandleAllocated() &&
            IsWindowEnabled(FMainForm->GetWindowHandle()))
          Message.Result =
              SendMessage(FMainForm->GetWindowHandle(), WM_SYSCOMMAND, Message.WParam, Message.LParam);
        return;
      case WM_CLOSE:
        if (FMainForm != nullptr) FMainForm->Close();
        return;
      case WM_NCDESTROY:
        // Destroyed from outside: a new window is made when one is needed.
        Message.Result = DefWindowProc(FHandle, Message.Msg, Message.WParam, Message.LParam);
        FHandle = nullptr;
        return;
      case WM_SYSCOMMAND:
        switch (Message.WParam & 0xFFF0) {
          case SC_MINIMIZE:
            Minimize();
            return;
          case SC_RESTORE:
            Restore();
            return;
          default:
            break;
        }
        break;
      default:
        break;
    }
    Message.Result = DefWindowProc(FHandle, Message.Msg, Message.WParam, Message.LParam);
  } catch (...) {
    HandleException(this);
  }
}

void TApplication::SetTitle(const std::string& Value) {
  FTitle = Value;
  if (FHandle != nullptr) SetWindowText(FHandle, Value.c_str());
}

std::string TApplication::GetExeName() const {
  return ParamStr(0);
}

TIcon* TApplication::GetIcon() {
  if (FIcon == nullptr) {
    FIcon = NewIcon();
    // A program starts with its own icon, as the platform gives it its main icon resource.
    LoadProgramIcon(FIcon);
  }
  return FIcon;
}

void TApplication::SetIcon(TIcon* Value) {
  AssignIcon(GetIcon(), Value);
  if (FHandle != nullptr) SendMessage(FHandle, WM_SETICON, 1, reinterpret_cast<LPARAM>(IconHandleOf(FIcon)));
}

// ---- The loop -------------------------------------------------------------------------------

bool TApplication::ProcessMessage(MSG& Msg) {
  if (!PeekMessage(&Msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (Msg.message == WM_QUIT) {
    FTerminate = true;
    return true;
  }
  const bool Handled = FilterMessage(Msg);
  // The hint check runs for every message: keys and clicks end a hint even when handled.
  const bool HintMsg = IsHintMsg(Msg);
  if (!HintMsg && !Handled && !IsKeyMsg(Msg) && !IsDlgMsg(Msg)) {
    TranslateMessage(&Msg);
    DispatchMessage(&Msg);
  }
  return true;
}

void TApplication::ProcessMessages() {
  MSG Msg;
  while (ProcessMessage(Msg)) {
  }
}

void TApplication::HandleMessage() {
  MSG Msg;
  if (!ProcessMessage(Msg)) Idle(Msg);
}

void TApplication::Idle(const MSG&) {
  TControl* Control = DoMouseIdle();
  if (FShowHint && FMouseControl == nullptr) CancelHint();
  std::string Hint;
  for (TControl* C = Control; C != nullptr; C = C->GetParent())
    if (!C->GetHint().empty()) {
      Hint = C->GetHint();
      break;
    }
  SetHint(GetLongHint(Hint));
  bool Done = true;
  try {
    if (OnIdle) OnIdle(this, Done);
    if (Done) DoActionIdle();
  } catch (...) {
    HandleException(this);
  }
  FreeMemoryContexts();
  if (IsMainThread() && CheckSynchronize()) Done = false;
  if (Done) WaitMessage();
}

void TApplication::Run() {
  FRunning = true;
  static const bool ExitRegistered = std::atexit(&DoneApplication) == 0;
  (void)ExitRegistered;
  auto Cleanup = ScopeExit([&] { FRunning = false; });
  if (FMainForm != nullptr) {
    if (FShowMainForm) {
      if (FMainForm->GetWindowState() == wsMinimized)
        Minimize();
      else
        FMainForm->SetVisible(true);
    }
    do {
      try {
        HandleMessage();
      } catch (...) {
        HandleException(this);
      }
    } while (!FTerminate);
  }
}

void TApplication::Terminate() {
  PostQuitMessage(0);
}

bool TApplication::IsKeyMsg(MSG& Msg) {
  if (Msg.message < WM_KEYFIRST || Msg.message > WM_KEYLAST) return false;
  HWND Wnd = ::GetCapture();
  if (Wnd == nullptr) {
    // The nearest window of a control: others know nothing of CN_* messages.
    Wnd = Msg.hwnd;
    while (Wnd != nullptr && FindControl(Wnd) == nullptr) Wnd = GetParent(Wnd);
    if (Wnd == nullptr) Wnd = Msg.hwnd;
  } else if (FindControl(Wnd) == nullptr) {
    return false;
  }
  return Wnd != nullptr && SendMessage(Wnd, CN_BASE + Msg.message, Msg.wParam, Msg.lParam) != 0;
}

bool TApplication::IsDlgMsg(MSG&) {
  // Dialog windows of other libraries (IsDialogMessage) do not exist here.
  return false;
}

bool TApplication::IsShortCut(TWMKey& Message) {
  bool Handled = false;
  if (OnShortCut) OnShortCut(Message, Handled);
  if (Handled) return true;
  return FMainForm != nullptr && FMainForm->HandleAllocated() &&
         IsWindowEnabled(FMainForm->GetWindowHandle()) && FMainForm->IsShortCut(Message);
}

// ---- Errors -----------------------------------------------------------------------------------

void TApplication::HandleException(TObject* Sender) {
  if (HWND Capture = ::GetCapture()) SendMessage(Capture, WM_CANCELMODE, 0, 0);
  const std::exception_ptr Current = std::current_exception();
  if (!Current) return;
  auto Report = [&](const Exception& E) {
    if (OnException)
      OnException(Sender, E);
    else
      ShowException(E);
  };
  try {
    std::rethrow_exception(Current);
  } catch (const EAbort&) {
  } catch (const Exception& E) {
    Report(E);
  } catch (const std::exception& E) {
    Report(Exception(E.what()));
  } catch (...) {
    Report(Exception("Unknown error"));
  }
}

void TApplication::ShowException(const Exception& E) {
  std::string Msg = E.GetMessage();
  if (!Msg.empty() && static_cast<unsigned char>(Msg.back()) > '.') Msg += '.';
  std::string Title = FTitle;
  if (Title.empty()) Title = ChangeFileExt(ExtractFileName(GetExeName()), "");
  if (ShowExceptionBox != nullptr) ShowExceptionBox(Title, Msg);
}

void TApplication::ControlDestroyed(TControl* Control) {
  if (FMainForm == Control) FMainForm = nullptr;
  if (FMouseControl == Control) FMouseControl = nullptr;
  if (FHintControl == Control) {
    FHintControl = nullptr;
    StopHintTimer();
  }
  if (Control == FHintWindow) FHintWindow = nullptr;
  if (Screen == nullptr) return;
  if (Screen->FActiveControl == Control) Screen->FActiveControl = nullptr;
  if (Screen->FActiveCustomForm == Control) {
    Screen->FActiveCustomForm = nullptr;
    Screen->FActiveForm = nullptr;
  }
  if (Screen->FFocusedForm == Control) Screen->FFocusedForm = nullptr;
  Screen->UpdateLastActive();
}

// ---- Windows of the program -------------------------------------------------------------------

void TApplication::Minimize() {
  // There is no task bar: the main form shows minimized and the other forms hide meanwhile.
  if (FMinimized) return;
  FMinimized = true;
  FHiddenByMinimize.clear();
  if (Screen != nullptr)
    for (Integer I = 0; I < Screen->GetCustomFormCount(); ++I) {
      TCustomForm* Form = Screen->GetCustomForm(I);
      if (Form != FMainForm && Form->HandleAllocated() && IsWindowVisible(Form->GetWindowHandle())) {
        FHiddenByMinimize.push_back(Form->GetWindowHandle());
        ShowWindow(Form->GetWindowHandle(), SW_HIDE);
      }
    }
  if (FMainForm != nullptr && FMainForm->HandleAllocated())
    ShowWindow(FMainForm->GetWindowHandle(), SW_SHOWMINNOACTIVE);
  if (OnMinimize) OnMinimize(this);
}

void TApplication::Restore() {
  if (!FMinimized) return;
  FMinimized = false;
  if (FMainForm != nullptr && FMainForm->HandleAllocated() && IsIconic(FMainForm->GetWindowHandle()))
    ShowWindow(FMainForm->GetWindowHandle(), SW_RESTORE);
  for (HWND Wnd : FHiddenByMinimize)
    if (IsWindow(Wnd)) ShowWindow(Wnd, SW_SHOWNA);
  FHiddenByMinimize.clear();
  if (OnRestore) OnRestore(this);
}

void TApplication::BringToFront() {
  if (FMainForm == nullptr || !FMainForm->HandleAllocated()) return;
  HWND Wnd = GetLastActivePopup(FMainForm->GetWindowHandle());
  if (Wnd != nullptr && IsWindowVisible(Wnd) && IsWindowEnabled(Wnd)) SetForegroundWindow(Wnd);
}

void TApplication::NormalizeTopMosts() {
  if (FTopMostLevel++ > 0) return;
  FTopMosts.clear();
  struct TCollect {
    std::vector<HWND>* List;
    HWND Hint;
  } Collect{&FTopMosts, FHintWindow != nullptr ? FHintWindow->GetWindowHandle() : nullptr};
  EnumWindows(
      [](HWND Wnd, LPARAM Param) {
        auto* C = reinterpret_cast<TCollect*>(Param);
        if (Wnd != C->Hint && IsWindowVisible(Wnd) && (GetWindowLongPtr(Wnd, GWL_EXSTYLE) & WS_EX_TOPMOST))
          C->List->push_back(Wnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&Collect));
  for (HWND Wnd : FTopMosts)
    SetWindowPos(Wnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TApplication::RestoreTopMosts() {
  if (FTopMostLevel == 0 || --FTopMostLevel > 0) return;
  for (auto It = FTopMosts.rbegin(); It != FTopMosts.rend(); ++It)
    if (IsWindow(*It)) SetWindowPos(*It, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  FTopMosts.clear();
}

#pragma once
// TApplication: the program's message loop, its hidden window (the owner of the forms), the
// main form, exception reporting, idle processing and hints. One instance, Application.
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "platform/classes/Controls.h"
#include "platform/classes/Forms.h"
#include "platform/system/Exceptions.h"
#include "platform/system/ScopeExit.h"

class THintWindow;
class TIcon;

using TMessageEvent = TDelegate<void(MSG& Msg, bool& Handled)>;
using TExceptionEvent = TDelegate<void(TObject* Sender, const Exception& E)>;
using TIdleEvent = TDelegate<void(TObject* Sender, bool& Done)>;
using TShowHintEvent = TDelegate<void(std::string& HintStr, bool& CanShow, THintInfo& HintInfo)>;

// The class the application makes its hint window of; the skin library puts its own here
// and toggles ShowHint off and on so a new window of that class is made.
extern THintWindowClass HintWindowClass;
template <class T>
THintWindow* CreateHintWindowOf(TComponent* AOwner) {
  return new T(AOwner);
}

class TApplication : public TComponent {
 public:
  explicit TApplication(TComponent* AOwner);
  ~TApplication() override;

  void Initialize() {}
  // Makes a form owned by the application; Reference is set before the form's constructor
  // runs (its OnCreate may use it). The first form made becomes the main form.
  template <class T>
  void CreateForm(T*& Reference) {
    void* Memory = ::operator new(sizeof(T));
    Reference = static_cast<T*>(Memory);
    auto Undo = ScopeExit([&] {
      Reference = nullptr;
      ::operator delete(Memory);
    });
    new (Memory) T(this);
    Undo.Release();
    FormCreated(Reference);
  }
  // Shows the main form and handles messages until Terminate (closing the main form
  // terminates).
  void Run();
  // Handles every message waiting now, without idling; costs next to nothing when none waits.
  void ProcessMessages();
  // One message, or when none waits the idle processing (OnIdle) and a wait for the next.
  void HandleMessage();
  // Takes one message and handles it; false when none waited.
  bool ProcessMessage(MSG& Msg);
  // OnIdle and hint upkeep; then waits for a message when OnIdle said it is done.
  void Idle(const MSG& Msg);
  void Terminate();
  bool GetTerminated() const { return FTerminate; }
  // Run ended, or started again: tests and restarts clear the flag.
  void ResetTerminated() { FTerminate = false; }

  HWND GetHandle();
  bool HandleAllocated() const { return FHandle != nullptr; }
  const std::string& GetTitle() const { return FTitle; }
  void SetTitle(const std::string& Value);
  TCustomForm* GetMainForm() const { return FMainForm; }
  bool GetShowMainForm() const { return FShowMainForm; }
  void SetShowMainForm(bool Value) { FShowMainForm = Value; }
  // The program file's full name.
  std::string GetExeName() const;
  // The application's icon, made empty on first use.
  TIcon* GetIcon();
  void SetIcon(TIcon* Value);
  // True while one of the application's windows is the active window.
  bool GetActive() const { return FActive; }
  // Without a task bar: the main form shows minimized and the other forms hide meanwhile.
  void Minimize();
  void Restore();
  bool GetMinimized() const { return FMinimized; }
  void BringToFront();
  // Topmost windows step down below the others while a system dialog shows, and back.
  void NormalizeTopMosts();
  void RestoreTopMosts();

  // ---- Errors ----
  // Called inside a catch block: EAbort passes silently, anything else goes to OnException
  // or ShowException.
  void HandleException(TObject* Sender);
  // The platform's error box with the exception's message.
  void ShowException(const Exception& E);

  // ---- Hints ----
  bool GetShowHint() const { return FShowHint; }
  // Turning hints on makes the hint window (of HintWindowClass), turning them off frees it.
  void SetShowHint(bool Value);
  Integer GetHintPause() const { return FHintPause; }
  void SetHintPause(Integer Value) { FHintPause = Value; }
  Integer GetHintHidePause() const { return FHintHidePause; }
  void SetHintHidePause(Integer Value) { FHintHidePause = Value; }
  Integer GetHintShortPause() const { return FHintShortPause; }
  void SetHintShortPause(Integer Value) { FHintShortPause = Value; }
  TColor GetHintColor() const { return FHintColor; }
  void SetHintColor(TColor Value);
  THintWindow* GetHintWindow() const { return FHintWindow; }
  // The long hint of the control under the mouse; OnHint fires when it changes.
  const std::string& GetHint() const { return FHint; }
  void SetHint(const std::string& Value);
  void CancelHint();
  void HideHint();
  // Shows the hint of the control at CursorPos (screen) when it is still the hint control.
  void ActivateHint(TPoint CursorPos);
  // A mouse message of Control: starts the hint timer and keeps the control under the mouse
  // (CM_MOUSEENTER / CM_MOUSELEAVE).
  void HintMouseMessage(TControl* Control, TMessage& Message);

  // ---- Keys ----
  // OnShortCut, then the main form's short-cuts.
  bool IsShortCut(TWMKey& Message);

  // ---- Message filters ----
  // Every message the loop takes goes through the filters, the latest added first, until one
  // sets Handled; OnMessage runs when none did. A filter is removed by the same delegate it
  // was added with, in any order, also while the filters run (a removed filter is not called
  // again). Adding one that is there already does nothing.
  void AddMessageFilter(const TMessageEvent& Filter);
  void RemoveMessageFilter(const TMessageEvent& Filter);
  bool HasMessageFilter(const TMessageEvent& Filter) const;

  // ---- Actions ----
  // OnActionExecute / OnActionUpdate; true when the handler said it handled the action.
  bool ExecuteAction(TBasicAction* Action);
  bool UpdateAction(TBasicAction* Action);

  // Forgets a control that is going away (main form, mouse and hint control).
  void ControlDestroyed(TControl* Control);
  // The control the mouse is over (after the last mouse message or idle check).
  TControl* GetMouseControl() const { return FMouseControl; }

  TMessageEvent OnMessage;
  TExceptionEvent OnException;
  TIdleEvent OnIdle;
  TShowHintEvent OnShowHint;
  TNotifyEvent OnHint;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TNotifyEvent OnMinimize;
  TNotifyEvent OnRestore;
  TShortCutEvent OnShortCut;
  TActionEvent OnActionExecute;
  TActionEvent OnActionUpdate;

 private:
  // Filters, then OnMessage; true when the message was handled.
  bool FilterMessage(MSG& Msg);
  // CM_ACTIONEXECUTE / CM_ACTIONUPDATE: the active form, then the main form.
  bool DispatchAction(UINT Msg, TBasicAction* Action);
  void DoActionIdle();
  void FormCreated(TCustomForm* Form);
  void WndProc(TMessage& Message);
  bool IsKeyMsg(MSG& Msg);
  bool IsDlgMsg(MSG& Msg);
  bool IsHintMsg(MSG& Msg);
  TControl* DoMouseIdle();
  void SetMouseControl(TControl* Control);
  void StartHintTimer(Integer Value, bool ShowMode);
  void StopHintTimer();
  static void HintTimerProc(HWND Wnd, UINT Msg, UINT_PTR Id, DWORD Time);
  void HintTimerExpired();
  void CreateHintWindow();
  void DestroyHintWindow();

  HWND FHandle = nullptr;
  WNDPROC FObjectInstance = nullptr;
  std::string FTitle;
  TCustomForm* FMainForm = nullptr;
  TIcon* FIcon = nullptr;
  bool FTerminate = false;
  bool FRunning = false;
  bool FShowMainForm = true;
  bool FActive = false;
  bool FMinimized = false;
  std::vector<HWND> FHiddenByMinimize;
  std::vector<HWND> FTopMosts;
  Integer FTopMostLevel = 0;

  bool FShowHint = false;
  Integer FHintPause = 500;
  Integer FHintHidePause = 2500;
  Integer FHintShortPause = 50;
  TColor FHintColor = clInfoBk;
  THintWindow* FHintWindow = nullptr;
  TControl* FHintControl = nullptr;
  TControl* FMouseControl = nullptr;
  bool FHintActive = false;
  TRect FHintCursorRect;
  UINT_PTR FHintTimer = 0;
  bool FHintTimerShows = true;  // the running timer shows (else hides) the hint
  std::string FHint;
  std::vector<TMessageEvent> FMessageFilters;  // cleared entries wait for the outer call to end
  Integer FFilterDepth = 0;
};

extern TApplication* Application;

// The message box ShowException shows: the platform's MessageBox once the window layer has it;
// until then the message goes to the standard error stream. Tests and the dialogs library may
// replace it.
using TExceptionBoxProc = void (*)(const std::string& Title, const std::string& Text);
extern TExceptionBoxProc ShowExceptionBox;

#pragma once
// The input part's shared state and the calls its files make to each other. Main thread only.
// Windows are kept by handle and looked up again before use, since any message sent may destroy
// them.
#include <array>
#include <string>
#include <vector>

#include "platform/system/LastError.h"
#include "platform/user/Input.h"
#include "platform/user/WindowInternals.h"

struct TInputState {
  bool Installed = false;

  // Focus and activation.
  HWND Focus = nullptr;
  HWND Active = nullptr;
  std::vector<HWND> ActiveHistory;  // top-level windows in the order they were last active
  bool AppActive = false;           // WM_ACTIVATEAPP(TRUE) was sent last

  HWND Capture = nullptr;

  // The mouse: the window and hit code the last mouse event found, the cursor clip. The
  // buttons are in Keys (VK_LBUTTON...).
  HWND MouseWnd = nullptr;
  LRESULT MouseHit = HTNOWHERE;
  bool ClipOn = false;
  TRect Clip;
  // The last button down that may start a double-click.
  UINT ClickMsg = 0;  // WM_LBUTTONDOWN... (0: none)
  HWND ClickWnd = nullptr;
  DWORD ClickTime = 0;
  TPoint ClickPos;
  UINT DoubleClickTime = 500;

  // The keyboard: GetKeyState's bytes (0x80 down, 0x01 toggled).
  std::array<BYTE, 256> Keys{};
  bool AltAlone = false;   // Alt (or F10) went down and no other key or button since
  bool MenuKeyUp = false;  // the key up just routed ends such a lone press

  // DefWindowProc handlers that were in the table before ours (chained or put back).
  std::array<TDefWindowProcHandler, WM_USER> Previous{};
};

TInputState& InputState();

// W is the window named by H or one of its ancestors.
bool IsWithin(const TWindow* W, HWND H);
// The MK_* flags of the buttons and of Shift and Ctrl.
WPARAM MouseKeyFlags();
// Routes one back-end event (InputInstall installs it as InputEventHandler).
void RouteInputEvent(const TInputEvent& Ev);
void RouteMouseEvent(const TInputEvent& Ev);
void RouteKeyEvent(const TInputEvent& Ev);
void RouteText(const std::string& Utf8);

// ---- Focus.cpp --------------------------------------------------------------------------------
// Activation as the platform does it; How is WA_ACTIVE or WA_CLICKACTIVE; null deactivates.
void ActivateWindow(HWND Wnd, WORD How);
// A top-level window the user may switch to: visible, enabled, not WS_EX_NOACTIVATE, alive.
bool CanActivate(const TWindow* W);
void FocusWindowEvent(TWindow* W, TWindowEvent Event);
void ResetFocusState();
LRESULT DefActivate(TWindow* W, UINT Msg, WPARAM WParam, LPARAM LParam);

// ---- Capture.cpp ------------------------------------------------------------------------------
// Releases the capture when it is held by W or a descendant of W.
void ReleaseCaptureWithin(const TWindow* W);
LRESULT DefCancelMode(TWindow* W, UINT Msg, WPARAM WParam, LPARAM LParam);

// ---- MouseTracking.cpp --------------------------------------------------------------------------
// Called for every routed mouse event with the window under the mouse and its hit code (null
// outside every window) before the event's message is queued: leave and hover tracking.
void UpdateMouseTracking(HWND Wnd, LRESULT Hit, TPoint Screen);
void StopMouseTracking();

// ---- Keyboard.cpp -----------------------------------------------------------------------------
bool TranslateKeyMessage(const MSG& Msg);
void ResetKeyboardState();
LRESULT DefSysKeyDown(TWindow* W, UINT Msg, WPARAM WParam, LPARAM LParam);
LRESULT DefSysKeyUp(TWindow* W, UINT Msg, WPARAM WParam, LPARAM LParam);
LRESULT DefSysChar(TWindow* W, UINT Msg, WPARAM WParam, LPARAM LParam);
LRESULT DefKeyUp(TWindow* W, UINT Msg, WPARAM WParam, LPARAM LParam);

// ---- InputRouting.cpp -------------------------------------------------------------------------
LRESULT DefRButtonUp(TWindow* W, UINT Msg, WPARAM WParam, LPARAM LParam);

// ---- Cursors.cpp ------------------------------------------------------------------------------
LRESULT DefSetCursor(TWindow* W, UINT Msg, WPARAM WParam, LPARAM LParam);

// ---- Caret.cpp --------------------------------------------------------------------------------
void CaretPaint(HWND Wnd, bool Begin);
// Destroys the caret when W or a descendant of W owns it.
void DestroyCaretWithin(const TWindow* W);

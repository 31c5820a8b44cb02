#pragma once
// Input: how back-end mouse and keyboard events become window messages, keyboard focus and
// activation, mouse capture and tracking, the key state and injected input.
//
// Everything here belongs to the user-interface thread. There is one application: WM_ACTIVATEAPP
// goes to every top-level window when the first window becomes active and when activation leaves
// all windows (a click on the empty screen, the last active window hidden).
//
// Characters: WM_CHAR and WM_SYSCHAR carry UTF-16 code units in wParam, for 8-bit windows too
// (a character beyond the BMP comes as two messages, high surrogate first). Printable characters
// come from the back end's Text events, control characters (Enter 13, Backspace 8, Tab 9,
// Escape 27, Ctrl+letter 1..26) from the key downs, since back ends send no text for them.
// The class library turns the units into its UTF-8 texts.
#include "platform/user/WinUser.h"

// Puts the input part's handlers in place: back-end event routing, the translate hook, the
// caret's painting hook, the window event hook and the DefWindowProc defaults for
// WM_SETCURSOR, WM_ACTIVATE, WM_CANCELMODE, WM_SYSKEYDOWN/UP, WM_SYSCHAR, WM_KEYUP and
// WM_RBUTTONUP. Once; later calls do nothing. The window manager calls it whenever a window is
// created; SetFocus, SetActiveWindow, SetCapture, TrackMouseEvent and CreateCaret call it too.
void InstallWindowInput();
// Puts back what InstallWindowInput replaced and forgets focus, activation, capture, tracking,
// the caret and the key state: for tests, between them (the next window created installs the
// part again).
void UninstallWindowInput();

// ---- Focus and activation -------------------------------------------------------------------
// WM_KILLFOCUS (wParam: the new window) to the old focus, then WM_SETFOCUS (wParam: the old one)
// to the new; the new window's top-level window is activated first. Fails (null) for windows
// that are disabled or sit in a disabled or minimized top-level window. Returns the old focus.
HWND SetFocus(HWND Wnd);
HWND GetFocus();
// Top-level windows only (a child gives the active window back and changes nothing). The old
// window gets WM_NCACTIVATE(FALSE) and WM_ACTIVATE(WA_INACTIVE), the new one is brought to the
// top and gets WM_NCACTIVATE(TRUE) and WM_ACTIVATE(WA_ACTIVE); a null window deactivates.
HWND SetActiveWindow(HWND Wnd);
HWND GetActiveWindow();
BOOL SetForegroundWindow(HWND Wnd);
HWND GetForegroundWindow();
// The most recently active window among Wnd and the windows it owns.
HWND GetLastActivePopup(HWND Wnd);

// ---- Mouse ----------------------------------------------------------------------------------
// While a window has the capture, every mouse message goes to it as a client message in its
// client coordinates, wherever the mouse is. The window losing the capture gets
// WM_CAPTURECHANGED (lParam: the new capture window). Hiding or destroying the window, or
// WM_CANCELMODE reaching DefWindowProc, releases it.
HWND SetCapture(HWND Wnd);
BOOL ReleaseCapture();
HWND GetCapture();

BOOL TrackMouseEvent(TRACKMOUSEEVENT* Track);
// The mouse position in screen coordinates (a virtual cursor on back ends that cannot move the
// real one). SetCursorPos moves it as the mouse would: the window under it gets WM_MOUSEMOVE.
BOOL GetCursorPos(POINT* Point);
BOOL SetCursorPos(Integer X, Integer Y);
// Keeps the cursor position (as windows see it) inside Rect; null frees it.
BOOL ClipCursor(const RECT* Rect);
BOOL GetClipCursor(RECT* Rect);
// Captures the mouse and waits, taking mouse and key messages from the queue, until the mouse
// leaves the SM_CXDRAG x SM_CYDRAG box around Point (screen coordinates: TRUE), the left button
// goes up or Escape is pressed (FALSE).
BOOL DragDetect(HWND Wnd, POINT Point);
UINT GetDoubleClickTime();
// 0 restores the default of 500 ms.
BOOL SetDoubleClickTime(UINT Milliseconds);
// The buttons are never swapped here: returns FALSE and changes nothing.
BOOL SwapMouseButton(BOOL Swap);
// There is no sound: TRUE and nothing else.
BOOL MessageBeep(UINT Type);

// ---- Keyboard -------------------------------------------------------------------------------
// The state as of the input routed last: the high bit (negative value) while the key is down,
// the low bit toggled by every press (Caps Lock, Num Lock and Scroll Lock show their lights
// by it). VK_LBUTTON..VK_XBUTTON2 give the mouse buttons; VK_SHIFT, VK_CONTROL and VK_MENU
// either key of the pair, VK_L*/VK_R* each one.
SHORT GetKeyState(Integer VirtualKey);
SHORT GetAsyncKeyState(Integer VirtualKey);
// 256 bytes: 0x80 down, 0x01 toggled.
BOOL GetKeyboardState(BYTE* KeyState);
BOOL SetKeyboardState(const BYTE* KeyState);

constexpr UINT MAPVK_VK_TO_VSC = 0;
constexpr UINT MAPVK_VSC_TO_VK = 1;
constexpr UINT MAPVK_VK_TO_CHAR = 2;
constexpr UINT MAPVK_VSC_TO_VK_EX = 3;
// US keyboard layout: scan codes of set 1, characters unshifted (letters upper case).
UINT MapVirtualKey(UINT Code, UINT MapType);
// The key's name from a key message's lParam (scan code in bits 16-23, extended bit 24);
// returns the length copied without the terminating 0.
Integer GetKeyNameText(LONG LParam, char* Buffer, Integer Size);

// Key flags of the key messages' lParam high word.
constexpr WORD KF_EXTENDED = 0x0100;
constexpr WORD KF_DLGMODE = 0x0800;
constexpr WORD KF_MENUMODE = 0x1000;
constexpr WORD KF_ALTDOWN = 0x2000;
constexpr WORD KF_REPEAT = 0x4000;
constexpr WORD KF_UP = 0x8000;

// Injected input joins the input stream at once, as if the back end had delivered it.
constexpr DWORD KEYEVENTF_EXTENDEDKEY = 0x0001;
constexpr DWORD KEYEVENTF_KEYUP = 0x0002;
constexpr DWORD KEYEVENTF_UNICODE = 0x0004;
constexpr DWORD KEYEVENTF_SCANCODE = 0x0008;
constexpr DWORD MOUSEEVENTF_MOVE = 0x0001;
constexpr DWORD MOUSEEVENTF_LEFTDOWN = 0x0002;
constexpr DWORD MOUSEEVENTF_LEFTUP = 0x0004;
constexpr DWORD MOUSEEVENTF_RIGHTDOWN = 0x0008;
constexpr DWORD MOUSEEVENTF_RIGHTUP = 0x0010;
constexpr DWORD MOUSEEVENTF_MIDDLEDOWN = 0x0020;
constexpr DWORD MOUSEEVENTF_MIDDLEUP = 0x0040;
constexpr DWORD MOUSEEVENTF_XDOWN = 0x0080;
constexpr DWORD MOUSEEVENTF_XUP = 0x0100;
constexpr DWORD MOUSEEVENTF_WHEEL = 0x0800;
constexpr DWORD MOUSEEVENTF_HWHEEL = 0x1000;
constexpr DWORD MOUSEEVENTF_ABSOLUTE = 0x8000;  // dx, dy in 0..65535 across the screen
constexpr DWORD INPUT_MOUSE = 0;
constexpr DWORD INPUT_KEYBOARD = 1;
constexpr DWORD INPUT_HARDWARE = 2;

struct MOUSEINPUT {
  LONG dx = 0;
  LONG dy = 0;
  DWORD mouseData = 0;  // wheel delta (signed), or XBUTTON1/XBUTTON2
  DWORD dwFlags = 0;
  DWORD time = 0;
  ULONG_PTR dwExtraInfo = 0;
};
struct KEYBDINPUT {
  WORD wVk = 0;
  WORD wScan = 0;  // the character with KEYEVENTF_UNICODE
  DWORD dwFlags = 0;
  DWORD time = 0;
  ULONG_PTR dwExtraInfo = 0;
};
struct HARDWAREINPUT {
  DWORD uMsg = 0;
  WORD wParamL = 0;
  WORD wParamH = 0;
};
struct INPUT {
  DWORD type = INPUT_MOUSE;
  union {
    MOUSEINPUT mi;
    KEYBDINPUT ki;
    HARDWAREINPUT hi;
  };
  INPUT() : mi() {}
};

void keybd_event(BYTE Vk, BYTE Scan, DWORD Flags, ULONG_PTR ExtraInfo);
void mouse_event(DWORD Flags, DWORD Dx, DWORD Dy, DWORD Data, ULONG_PTR ExtraInfo);
// Returns the number of events injected (hardware input is not supported and stops there).
UINT SendInput(UINT Count, const INPUT* Inputs, Integer Size);

#pragma once
// Window classes and windows: registration, creation and destruction, the window tree, window
// data, text and properties. Windows belong to the main thread; IsWindow is safe from any.
#include <string>

#include "platform/system/LastError.h"
#include "platform/user/WinUser.h"
#include "platform/user/WndProc.h"

constexpr DWORD ERROR_INVALID_WINDOW_HANDLE = 1400;
constexpr DWORD ERROR_TLW_WITH_WSCHILD = 1406;
constexpr DWORD ERROR_CANNOT_FIND_WND_CLASS = 1407;
constexpr DWORD ERROR_WINDOW_OF_OTHER_THREAD = 1408;
constexpr DWORD ERROR_CLASS_ALREADY_EXISTS = 1410;
constexpr DWORD ERROR_CLASS_DOES_NOT_EXIST = 1411;
constexpr DWORD ERROR_CLASS_HAS_WINDOWS = 1412;
constexpr DWORD ERROR_INVALID_INDEX = 1413;
constexpr DWORD ERROR_INVALID_FLAGS = 1004;

// ---- Classes ------------------------------------------------------------------------------
// Names compare without regard to case. The returned atom (>= 0xC000) names the class too
// (MAKEINTATOM). Class names of the built-in controls ("BUTTON", "EDIT", ...) are registered
// by those controls through the same calls.
ATOM RegisterClass(const WNDCLASS* WndClass);
ATOM RegisterClassEx(const WNDCLASSEX* WndClass);
// Fails (ERROR_CLASS_HAS_WINDOWS) while windows of the class exist.
BOOL UnregisterClass(LPCSTR ClassName, HINSTANCE Instance);
BOOL GetClassInfo(HINSTANCE Instance, LPCSTR ClassName, WNDCLASS* WndClass);
BOOL GetClassInfoEx(HINSTANCE Instance, LPCSTR ClassName, WNDCLASSEX* WndClass);
// GCL_*/GCLP_* or an offset into the class extra bytes.
ULONG_PTR GetClassLongPtr(HWND Wnd, Integer Index);
ULONG_PTR SetClassLongPtr(HWND Wnd, Integer Index, LONG_PTR NewLong);
inline DWORD GetClassLong(HWND Wnd, Integer Index) {
  return static_cast<DWORD>(GetClassLongPtr(Wnd, Index));
}
inline DWORD SetClassLong(HWND Wnd, Integer Index, LONG NewLong) {
  return static_cast<DWORD>(SetClassLongPtr(Wnd, Index, NewLong));
}
// Copies at most MaxCount - 1 bytes and a terminating 0; returns the bytes copied.
Integer GetClassName(HWND Wnd, char* ClassName, Integer MaxCount);
std::string GetClassNameString(HWND Wnd);

// ---- Creation and destruction ---------------------------------------------------------------
// The platform's sequence: WM_GETMINMAXINFO (top-level and sizable windows), WM_NCCREATE,
// WM_NCCALCSIZE, WM_CREATE, for child windows WM_SIZE and WM_MOVE, WM_PARENTNOTIFY to the
// parents, then ShowWindow when WS_VISIBLE was given. Null when the class is unknown, the
// parent is invalid, WM_NCCREATE returns FALSE or WM_CREATE returns -1.
HWND CreateWindowEx(DWORD ExStyle, LPCSTR ClassName, LPCSTR WindowName, DWORD Style, Integer X, Integer Y,
                    Integer Width, Integer Height, HWND Parent, HMENU Menu, HINSTANCE Instance, void* Param);
inline HWND CreateWindow(LPCSTR ClassName, LPCSTR WindowName, DWORD Style, Integer X, Integer Y,
                         Integer Width, Integer Height, HWND Parent, HMENU Menu, HINSTANCE Instance,
                         void* Param) {
  return CreateWindowEx(0, ClassName, WindowName, Style, X, Y, Width, Height, Parent, Menu, Instance, Param);
}
// Hides the window, destroys the windows it owns, sends WM_DESTROY to it and then to its
// children (parents first), WM_NCDESTROY to the children and then to it, and frees it.
BOOL DestroyWindow(HWND Wnd);

// ---- Window data --------------------------------------------------------------------------
// GWL_STYLE and GWL_EXSTYLE send WM_STYLECHANGING/WM_STYLECHANGED (the handler may change the
// new value); GWLP_WNDPROC returns the previous WNDPROC as LONG_PTR; GWLP_HWNDPARENT sets the
// owner of a top-level window (the parent of a child is changed by SetParent only). Offsets
// >= 0 address the extra window bytes.
LONG_PTR GetWindowLongPtr(HWND Wnd, Integer Index);
LONG_PTR SetWindowLongPtr(HWND Wnd, Integer Index, LONG_PTR NewLong);
inline LONG GetWindowLong(HWND Wnd, Integer Index) {
  return static_cast<LONG>(GetWindowLongPtr(Wnd, Index));
}
inline LONG SetWindowLong(HWND Wnd, Integer Index, LONG NewLong) {
  return static_cast<LONG>(SetWindowLongPtr(Wnd, Index, NewLong));
}
WORD GetWindowWord(HWND Wnd, Integer Index);
WORD SetWindowWord(HWND Wnd, Integer Index, WORD NewWord);
Integer GetDlgCtrlID(HWND Wnd);
HWND GetDlgItem(HWND Dialog, Integer Id);

// ---- The tree -----------------------------------------------------------------------------
// SetParent(nullptr) makes the window top-level (style stays as it is, as on the platform).
HWND SetParent(HWND Child, HWND NewParent);
// The parent of a child window, the owner of a top-level popup, else null.
HWND GetParent(HWND Wnd);
HWND GetWindow(HWND Wnd, UINT Cmd);
HWND GetAncestor(HWND Wnd, UINT Flags);
HWND GetTopWindow(HWND Wnd);
inline HWND GetNextWindow(HWND Wnd, UINT Cmd) {
  return GetWindow(Wnd, Cmd);
}
// Every descendant, parents before their children, topmost first. A window created by the
// callback is not visited; one destroyed is skipped.
BOOL EnumChildWindows(HWND Parent, WNDENUMPROC Fn, LPARAM Param);
// The top-level windows, topmost first.
BOOL EnumWindows(WNDENUMPROC Fn, LPARAM Param);
BOOL EnumThreadWindows(DWORD ThreadId, WNDENUMPROC Fn, LPARAM Param);
// Class and title compare without regard to case; a null argument matches anything.
HWND FindWindow(LPCSTR ClassName, LPCSTR WindowName);
HWND FindWindowEx(HWND Parent, HWND ChildAfter, LPCSTR ClassName, LPCSTR WindowName);
HWND GetDesktopWindow();
BOOL IsWindow(HWND Wnd);
BOOL IsWindowVisible(HWND Wnd);
BOOL IsWindowEnabled(HWND Wnd);
BOOL IsChild(HWND Parent, HWND Wnd);
BOOL IsIconic(HWND Wnd);
BOOL IsZoomed(HWND Wnd);
// Sends WM_ENABLE when the state changes; returns TRUE when the window was disabled before.
BOOL EnableWindow(HWND Wnd, BOOL Enable);
DWORD GetWindowThreadProcessId(HWND Wnd, DWORD* ProcessId);

// ---- Text ---------------------------------------------------------------------------------
// Through WM_SETTEXT / WM_GETTEXT / WM_GETTEXTLENGTH; DefWindowProc keeps the text (UTF-8).
BOOL SetWindowText(HWND Wnd, LPCSTR Text);
Integer GetWindowText(HWND Wnd, char* Buffer, Integer MaxCount);
Integer GetWindowTextLength(HWND Wnd);
std::string GetWindowTextString(HWND Wnd);

// ---- Properties ---------------------------------------------------------------------------
// Names compare without regard to case; MAKEINTATOM names are atoms.
BOOL SetProp(HWND Wnd, LPCSTR Name, HANDLE Data);
HANDLE GetProp(HWND Wnd, LPCSTR Name);
HANDLE RemoveProp(HWND Wnd, LPCSTR Name);

// ---- Frame geometry -----------------------------------------------------------------------
// Grows a client rectangle to the window rectangle the styles give (classic frame metrics).
BOOL AdjustWindowRectEx(RECT* Rect, DWORD Style, BOOL Menu, DWORD ExStyle);
inline BOOL AdjustWindowRect(RECT* Rect, DWORD Style, BOOL Menu) {
  return AdjustWindowRectEx(Rect, Style, Menu, 0);
}

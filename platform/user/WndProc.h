#pragma once
// Window procedures. A WNDPROC is a pointer to a TWndProcEntry; calling it runs the procedure.
// Plain functions get one shared entry each (MakeWndProc), objects get one per binding
// (MakeObjectInstance), so SetWindowLongPtr(GWLP_WNDPROC) can swap and restore procedures of
// either kind and CallWindowProc can call the previous one.
#include "platform/system/Delegates.h"
#include "platform/user/Messages.h"
#include "platform/user/WinUser.h"

class TWndProcEntry {
 public:
  virtual ~TWndProcEntry() = default;
  virtual LRESULT Call(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) const = 0;
};

using TWndProcFunction = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);

// The same function gives the same WNDPROC; the entries live as long as the program.
WNDPROC MakeWndProc(TWndProcFunction Fn);
// A procedure that calls Method with the message packed in a TMessage and returns its Result.
// The caller owns it and frees it with FreeObjectInstance when no window uses it any more.
WNDPROC MakeObjectInstance(TDelegate<void(TMessage&)> Method);
void FreeObjectInstance(WNDPROC Proc);

// Calls Proc (nothing and 0 when Proc is null).
LRESULT CallWindowProc(WNDPROC Proc, HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);

// The default window procedure and its WNDPROC.
LRESULT DefWindowProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
WNDPROC DefWindowProcEntry();

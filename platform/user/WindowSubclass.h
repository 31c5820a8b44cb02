#pragma once
// Window subclassing through a chain (the common controls' SetWindowSubclass family): each
// (procedure, id) pair is one link, the latest first; a link passes a message on with
// DefSubclassProc; links are removed in any order, also while a message runs through them. The
// window's own procedure is put back when the last link goes, unless someone replaced it since.
#include <cstdint>

#include "platform/user/WinUser.h"

using DWORD_PTR = std::uintptr_t;

using SUBCLASSPROC = LRESULT (*)(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam, UINT_PTR IdSubclass,
                                 DWORD_PTR RefData);

// Adds the link, or gives an existing one the new RefData. FALSE for a window that does not
// exist or a null procedure.
BOOL SetWindowSubclass(HWND Wnd, SUBCLASSPROC Proc, UINT_PTR IdSubclass, DWORD_PTR RefData);
BOOL GetWindowSubclass(HWND Wnd, SUBCLASSPROC Proc, UINT_PTR IdSubclass, DWORD_PTR* RefData);
BOOL RemoveWindowSubclass(HWND Wnd, SUBCLASSPROC Proc, UINT_PTR IdSubclass);
// Inside a link: the next link down, or the window's own procedure.
LRESULT DefSubclassProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);

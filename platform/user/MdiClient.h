#pragma once
// The multiple-document client window ("MDICLIENT"): a child of a frame window that holds the
// document windows (MDI children), keeps which is active and arranges them, all through the
// WM_MDI* messages. Children are made with WM_MDICREATE and destroyed with WM_MDIDESTROY; their
// default procedure is DefMDIChildProc, which keeps a maximized child filling the client.
#include "platform/user/WinUser.h"

constexpr const char* MDICLIENT_CLASS = "MDICLIENT";

// CREATESTRUCT.lpCreateParams of the client window.
struct CLIENTCREATESTRUCT {
  HANDLE hWindowMenu = nullptr;
  UINT idFirstChild = 0;
};

// WM_MDICREATE's lParam; the new child's handle is the result.
struct MDICREATESTRUCT {
  LPCSTR szClass = nullptr;
  LPCSTR szTitle = nullptr;
  HANDLE hOwner = nullptr;
  Integer x = CW_USEDEFAULT;
  Integer y = CW_USEDEFAULT;
  Integer cx = CW_USEDEFAULT;
  Integer cy = CW_USEDEFAULT;
  DWORD style = 0;
  LPARAM lParam = 0;
};

// WM_MDITILE's wParam.
constexpr WPARAM MDITILE_VERTICAL = 0x0000;    // side by side
constexpr WPARAM MDITILE_HORIZONTAL = 0x0001;  // one above the other
constexpr WPARAM MDITILE_SKIPDISABLED = 0x0002;

// Registers the class (once).
void RegisterMDIClientClass();
// The default procedure of MDI children.
LRESULT DefMDIChildProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);

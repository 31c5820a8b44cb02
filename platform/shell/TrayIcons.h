#pragma once
// The notification area's icons (Shell_NotifyIconA), kept in memory: tests read the area and
// deliver the mouse messages a real one would send.
#include <string>
#include <vector>

#include "platform/user/WinUser.h"

constexpr DWORD NIM_ADD = 0;
constexpr DWORD NIM_MODIFY = 1;
constexpr DWORD NIM_DELETE = 2;
constexpr DWORD NIM_SETFOCUS = 3;
constexpr DWORD NIM_SETVERSION = 4;
constexpr UINT NIF_MESSAGE = 0x01;
constexpr UINT NIF_ICON = 0x02;
constexpr UINT NIF_TIP = 0x04;
constexpr UINT NIF_STATE = 0x08;
constexpr UINT NIF_INFO = 0x10;
constexpr DWORD NIS_HIDDEN = 0x01;
constexpr UINT NIN_BALLOONUSERCLICK = 0x0405;  // WM_USER + 5

struct NOTIFYICONDATAA {
  DWORD cbSize = sizeof(NOTIFYICONDATAA);
  HWND hWnd = nullptr;
  UINT uID = 0;
  UINT uFlags = 0;
  UINT uCallbackMessage = 0;
  HICON hIcon = nullptr;
  char szTip[128] = {};
  DWORD dwState = 0;
  DWORD dwStateMask = 0;
  char szInfo[256] = {};
  UINT uTimeoutOrVersion = 0;
  char szInfoTitle[64] = {};
  DWORD dwInfoFlags = 0;
};

// Adds, changes or removes the icon of (hWnd, uID) in the notification area, which is kept
// in memory and not shown. NIM_ADD fails for an icon that exists or a window that does not;
// NIM_MODIFY and NIM_DELETE fail for an icon that does not exist. The area keeps its own copy
// of the icon. cbSize must be at least 88, the platform's first form (tips of 63 characters);
// from 488 on (its second form as 32-bit programs fill it) state and balloon fields count.
BOOL Shell_NotifyIconA(DWORD Message, NOTIFYICONDATAA* Data);

// What the notification area holds, for tests. Icons of destroyed windows are dropped.
struct TTrayIcon {
  HWND Wnd = nullptr;
  UINT ID = 0;
  UINT CallbackMessage = 0;  // 0: the icon sends nothing
  HICON Icon = nullptr;
  std::string Tip;
  bool Hidden = false;
  std::string BalloonTitle, BalloonText;
};
std::vector<TTrayIcon> GetTrayIcons();
// The mouse over an icon: its window is sent the callback message with the icon's id and
// MouseMessage (WM_LBUTTONDOWN, ..., NIN_BALLOONUSERCLICK). FALSE without such an icon.
BOOL SendTrayMouseMessage(HWND Wnd, UINT ID, UINT MouseMessage);
// A left click: button down and up.
BOOL ClickTrayIcon(HWND Wnd, UINT ID);
// The taskbar starts again: the area forgets its icons, and every top-level window is sent
// the registered message "TaskbarCreated".
void RestartTaskbar();

#pragma once
// The shell's file information (system icons and type names), ShellExecute and the
// notification area's icons.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/shell/ShlObj.h"
#include "platform/system/Resources.h"
#include "platform/user/CommonControls.h"

using DWORD_PTR = std::uintptr_t;

// ---- File information ---------------------------------------------------------------------------
constexpr UINT SHGFI_LARGEICON = 0x000000;
constexpr UINT SHGFI_SMALLICON = 0x000001;
constexpr UINT SHGFI_OPENICON = 0x000002;
constexpr UINT SHGFI_SHELLICONSIZE = 0x000004;
constexpr UINT SHGFI_PIDL = 0x000008;
constexpr UINT SHGFI_USEFILEATTRIBUTES = 0x000010;
constexpr UINT SHGFI_ICON = 0x000100;
constexpr UINT SHGFI_DISPLAYNAME = 0x000200;
constexpr UINT SHGFI_TYPENAME = 0x000400;
constexpr UINT SHGFI_ATTRIBUTES = 0x000800;
constexpr UINT SHGFI_SYSICONINDEX = 0x004000;
constexpr UINT SHGFI_LINKOVERLAY = 0x008000;
constexpr UINT SHGFI_SELECTED = 0x010000;
constexpr UINT SHGFI_ATTR_SPECIFIED = 0x020000;

struct SHFILEINFOA {
  HICON hIcon = nullptr;  // with SHGFI_ICON: a new icon the caller destroys
  Integer iIcon = 0;      // index in the system image list
  DWORD dwAttributes = 0;
  char szDisplayName[260] = {};
  char szTypeName[80] = {};
};

// Information about a path, or with SHGFI_PIDL an absolute item-ID list. With
// SHGFI_USEFILEATTRIBUTES the file is not looked at: FileAttributes (FILE_ATTRIBUTE_DIRECTORY)
// and the name decide. With SHGFI_SYSICONINDEX the result is the system image list (small
// with SHGFI_SMALLICON) and iIcon the item's index; otherwise non-zero. 0 on failure.
// The system image lists live as long as the process; never destroy them.
DWORD_PTR SHGetFileInfoA(LPCSTR Path, DWORD FileAttributes, SHFILEINFOA* Info, UINT InfoSize, UINT Flags);

// ---- ShellExecute --------------------------------------------------------------------------------
constexpr Integer SE_ERR_NOASSOC = 31;
// "open" (or no operation) hands the file, folder or address to the desktop's opener
// (xdg-open), started in Directory when given, and never runs the file itself. A result above
// 32 is success; ERROR_FILE_NOT_FOUND for a missing file, SE_ERR_NOASSOC for other operations.
HINSTANCE ShellExecute(HWND Owner, LPCSTR Operation, LPCSTR File, LPCSTR Parameters, LPCSTR Directory,
                       Integer ShowCmd);
// For tests: the program ShellExecute starts ("xdg-open" when empty).
void SetShellOpenCommand(std::string_view Program);

// ---- Notification area ---------------------------------------------------------------------------
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
// of the icon. cbSize must be at least 88, the platform's smallest form.
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

#pragma once
// Native menus: menu handles and their items, menu bars in the window frame, the system menu,
// and popup menus tracked in a modal loop (TrackPopupMenu). Texts are UTF-8; '&' marks the
// accelerator letter ("&&" is a literal '&'), a tab separates the shortcut text.
//
// Handles are numbers from a table, never pointers: IsMenu on a destroyed menu is false.
// The menu loop runs inside TrackPopupMenu and the menu-bar commands (WM_SYSCOMMAND
// SC_MOUSEMENU / SC_KEYMENU): it reads input from the queue, dispatches the rest, and calls
// ModalLoopIdle whenever the queue is empty, so tests can drive it.
#include <string>

#include "platform/gdi/GdiObject.h"
#include "platform/user/WinUser.h"

// Menu flags (AppendMenu, InsertMenu, ModifyMenu, GetMenuState...)
constexpr UINT MF_INSERT = 0x00000000;
constexpr UINT MF_CHANGE = 0x00000080;
constexpr UINT MF_APPEND = 0x00000100;
constexpr UINT MF_DELETE = 0x00000200;
constexpr UINT MF_REMOVE = 0x00001000;
constexpr UINT MF_BYCOMMAND = 0x00000000;
constexpr UINT MF_BYPOSITION = 0x00000400;
constexpr UINT MF_SEPARATOR = 0x00000800;
constexpr UINT MF_ENABLED = 0x00000000;
constexpr UINT MF_GRAYED = 0x00000001;
constexpr UINT MF_DISABLED = 0x00000002;
constexpr UINT MF_UNCHECKED = 0x00000000;
constexpr UINT MF_CHECKED = 0x00000008;
constexpr UINT MF_USECHECKBITMAPS = 0x00000200;
constexpr UINT MF_STRING = 0x00000000;
constexpr UINT MF_BITMAP = 0x00000004;
constexpr UINT MF_OWNERDRAW = 0x00000100;
constexpr UINT MF_POPUP = 0x00000010;
constexpr UINT MF_MENUBARBREAK = 0x00000020;
constexpr UINT MF_MENUBREAK = 0x00000040;
constexpr UINT MF_UNHILITE = 0x00000000;
constexpr UINT MF_HILITE = 0x00000080;
constexpr UINT MF_DEFAULT = 0x00001000;
constexpr UINT MF_SYSMENU = 0x00002000;
constexpr UINT MF_HELP = 0x00004000;
constexpr UINT MF_RIGHTJUSTIFY = 0x00004000;
constexpr UINT MF_MOUSESELECT = 0x00008000;
constexpr UINT MF_END = 0x00000080;

constexpr UINT MFT_STRING = MF_STRING;
constexpr UINT MFT_BITMAP = MF_BITMAP;
constexpr UINT MFT_MENUBARBREAK = MF_MENUBARBREAK;
constexpr UINT MFT_MENUBREAK = MF_MENUBREAK;
constexpr UINT MFT_OWNERDRAW = MF_OWNERDRAW;
constexpr UINT MFT_RADIOCHECK = 0x00000200;
constexpr UINT MFT_SEPARATOR = MF_SEPARATOR;
constexpr UINT MFT_RIGHTORDER = 0x00002000;
constexpr UINT MFT_RIGHTJUSTIFY = MF_RIGHTJUSTIFY;

constexpr UINT MFS_GRAYED = 0x00000003;
constexpr UINT MFS_DISABLED = MFS_GRAYED;
constexpr UINT MFS_CHECKED = MF_CHECKED;
constexpr UINT MFS_HILITE = MF_HILITE;
constexpr UINT MFS_ENABLED = MF_ENABLED;
constexpr UINT MFS_UNCHECKED = MF_UNCHECKED;
constexpr UINT MFS_UNHILITE = MF_UNHILITE;
constexpr UINT MFS_DEFAULT = MF_DEFAULT;

constexpr UINT MIIM_STATE = 0x00000001;
constexpr UINT MIIM_ID = 0x00000002;
constexpr UINT MIIM_SUBMENU = 0x00000004;
constexpr UINT MIIM_CHECKMARKS = 0x00000008;
constexpr UINT MIIM_TYPE = 0x00000010;
constexpr UINT MIIM_DATA = 0x00000020;
constexpr UINT MIIM_STRING = 0x00000040;
constexpr UINT MIIM_BITMAP = 0x00000080;
constexpr UINT MIIM_FTYPE = 0x00000100;

// Special item bitmaps (MIIM_BITMAP): kept and reported, drawn as no bitmap.
inline HBITMAP const HBMMENU_CALLBACK = reinterpret_cast<HBITMAP>(static_cast<std::intptr_t>(-1));
inline HBITMAP const HBMMENU_SYSTEM = reinterpret_cast<HBITMAP>(static_cast<std::intptr_t>(1));
inline HBITMAP const HBMMENU_MBAR_RESTORE = reinterpret_cast<HBITMAP>(static_cast<std::intptr_t>(2));
inline HBITMAP const HBMMENU_MBAR_MINIMIZE = reinterpret_cast<HBITMAP>(static_cast<std::intptr_t>(3));
inline HBITMAP const HBMMENU_MBAR_CLOSE = reinterpret_cast<HBITMAP>(static_cast<std::intptr_t>(5));
inline HBITMAP const HBMMENU_MBAR_CLOSE_D = reinterpret_cast<HBITMAP>(static_cast<std::intptr_t>(6));
inline HBITMAP const HBMMENU_MBAR_MINIMIZE_D = reinterpret_cast<HBITMAP>(static_cast<std::intptr_t>(7));
inline HBITMAP const HBMMENU_POPUP_CLOSE = reinterpret_cast<HBITMAP>(static_cast<std::intptr_t>(8));
inline HBITMAP const HBMMENU_POPUP_RESTORE = reinterpret_cast<HBITMAP>(static_cast<std::intptr_t>(9));
inline HBITMAP const HBMMENU_POPUP_MAXIMIZE = reinterpret_cast<HBITMAP>(static_cast<std::intptr_t>(10));
inline HBITMAP const HBMMENU_POPUP_MINIMIZE = reinterpret_cast<HBITMAP>(static_cast<std::intptr_t>(11));

// TrackPopupMenu flags
constexpr UINT TPM_LEFTBUTTON = 0x0000;
constexpr UINT TPM_RIGHTBUTTON = 0x0002;
constexpr UINT TPM_LEFTALIGN = 0x0000;
constexpr UINT TPM_CENTERALIGN = 0x0004;
constexpr UINT TPM_RIGHTALIGN = 0x0008;
constexpr UINT TPM_TOPALIGN = 0x0000;
constexpr UINT TPM_VCENTERALIGN = 0x0010;
constexpr UINT TPM_BOTTOMALIGN = 0x0020;
constexpr UINT TPM_HORIZONTAL = 0x0000;
constexpr UINT TPM_VERTICAL = 0x0040;
constexpr UINT TPM_NONOTIFY = 0x0080;
constexpr UINT TPM_RETURNCMD = 0x0100;
constexpr UINT TPM_RECURSE = 0x0001;
constexpr UINT TPM_HORPOSANIMATION = 0x0400;
constexpr UINT TPM_HORNEGANIMATION = 0x0800;
constexpr UINT TPM_VERPOSANIMATION = 0x1000;
constexpr UINT TPM_VERNEGANIMATION = 0x2000;
constexpr UINT TPM_NOANIMATION = 0x4000;
constexpr UINT TPM_LAYOUTRTL = 0x8000;
constexpr UINT TPM_WORKAREA = 0x10000;

// WM_MENUCHAR results (HIWORD)
constexpr WORD MNC_IGNORE = 0;
constexpr WORD MNC_CLOSE = 1;
constexpr WORD MNC_EXECUTE = 2;
constexpr WORD MNC_SELECT = 3;

// WM_ENTERIDLE wParam
constexpr WPARAM MSGF_DIALOGBOX = 0;
constexpr WPARAM MSGF_MENU = 2;

// GetMenuDefaultItem
constexpr UINT GMDI_USEDISABLED = 0x0001;
constexpr UINT GMDI_GOINTOPOPUPS = 0x0002;

struct MENUITEMINFO {
  UINT cbSize = sizeof(MENUITEMINFO);
  UINT fMask = 0;
  UINT fType = 0;
  UINT fState = 0;
  UINT wID = 0;
  HMENU hSubMenu = nullptr;
  HBITMAP hbmpChecked = nullptr;
  HBITMAP hbmpUnchecked = nullptr;
  ULONG_PTR dwItemData = 0;
  char* dwTypeData = nullptr;  // UTF-8; with MFT_BITMAP (MIIM_TYPE) an HBITMAP
  UINT cch = 0;                // characters in dwTypeData (bytes of UTF-8), without the null
  HBITMAP hbmpItem = nullptr;
};

struct TPMPARAMS {
  UINT cbSize = sizeof(TPMPARAMS);
  RECT rcExclude;  // screen rectangle the menu must not cover
};

// ---- Menus and items ------------------------------------------------------------------------
HMENU CreateMenu();
HMENU CreatePopupMenu();
// Destroys the menu and its submenus. A window keeps a destroyed menu bar's handle (as on the
// platform) but draws no bar for it.
BOOL DestroyMenu(HMENU Menu);
BOOL IsMenu(HMENU Menu);

// NewItem is the text (MF_STRING), an HBITMAP (MF_BITMAP) or the item data (MF_OWNERDRAW);
// with MF_POPUP IdNewItem is the submenu's handle, which the menu then owns.
BOOL AppendMenu(HMENU Menu, UINT Flags, UINT_PTR IdNewItem, LPCSTR NewItem);
// Position is an index (MF_BYPOSITION; -1 or past the end appends) or a command id searched in
// the menu and its submenus (MF_BYCOMMAND; the new item goes before it).
BOOL InsertMenu(HMENU Menu, UINT Position, UINT Flags, UINT_PTR IdNewItem, LPCSTR NewItem);
// Replaces the item; a submenu it had is destroyed unless the new item keeps it.
BOOL ModifyMenu(HMENU Menu, UINT Position, UINT Flags, UINT_PTR IdNewItem, LPCSTR NewItem);
// RemoveMenu keeps the item's submenu alive; DeleteMenu destroys it.
BOOL RemoveMenu(HMENU Menu, UINT Position, UINT Flags);
BOOL DeleteMenu(HMENU Menu, UINT Position, UINT Flags);

BOOL InsertMenuItem(HMENU Menu, UINT Item, BOOL ByPosition, const MENUITEMINFO* Info);
BOOL SetMenuItemInfo(HMENU Menu, UINT Item, BOOL ByPosition, const MENUITEMINFO* Info);
// MIIM_STRING / MIIM_TYPE text: with dwTypeData null, cch receives the length; else at most
// cch - 1 bytes and a null are copied and cch receives the bytes copied.
BOOL GetMenuItemInfo(HMENU Menu, UINT Item, BOOL ByPosition, MENUITEMINFO* Info);

// -1 for an invalid menu.
Integer GetMenuItemCount(HMENU Menu);
// The item's id; -1 (as UINT) for an item that opens a submenu or a bad position.
UINT GetMenuItemID(HMENU Menu, Integer Pos);
HMENU GetSubMenu(HMENU Menu, Integer Pos);
// Returns the previous state (MF_CHECKED or MF_UNCHECKED), or (DWORD)-1 when there is no item.
DWORD CheckMenuItem(HMENU Menu, UINT Item, UINT Check);
// Checks Check with a radio bullet and clears the others of First..Last (positions, or ids in
// the menu holding First).
BOOL CheckMenuRadioItem(HMENU Menu, UINT First, UINT Last, UINT Check, UINT Flags);
// Returns the previous state (MF_ENABLED, MF_GRAYED, MF_DISABLED), or -1 when there is no item.
BOOL EnableMenuItem(HMENU Menu, UINT Item, UINT Enable);
// Item -1 (as UINT) removes the default.
BOOL SetMenuDefaultItem(HMENU Menu, UINT Item, UINT ByPos);
UINT GetMenuDefaultItem(HMENU Menu, UINT ByPos, UINT Flags);
// The item's MF_* flags; for an item opening a submenu MF_POPUP with the submenu's item count
// in the high byte of the low word. (UINT)-1 when there is no item.
UINT GetMenuState(HMENU Menu, UINT Item, UINT Flags);
// Copies at most MaxCount - 1 bytes and a null; with String null returns the length.
Integer GetMenuString(HMENU Menu, UINT Item, char* String, Integer MaxCount, UINT Flags);
std::string GetMenuStringText(HMENU Menu, UINT Item, UINT Flags);
BOOL HiliteMenuItem(HWND Wnd, HMENU Menu, UINT Item, UINT Hilite);

// ---- Menu bars ----------------------------------------------------------------------------
// Gives a top-level window its menu bar (null removes it) and recalculates the frame.
BOOL SetMenu(HWND Wnd, HMENU Menu);
HMENU GetMenu(HWND Wnd);
// Lays the bar out again and redraws the frame after its items changed.
BOOL DrawMenuBar(HWND Wnd);
// The screen rectangle of an item of Wnd's menu bar or of a popup menu being shown.
BOOL GetMenuItemRect(HWND Wnd, HMENU Menu, UINT Item, RECT* Rect);
// The index of the item at a screen point of Wnd's menu bar or of a shown popup, else -1.
Integer MenuItemFromPoint(HWND Wnd, HMENU Menu, POINT Screen);
// The window's copy of the system menu (Restore, Move, Size, Minimize, Maximize, Close);
// Revert destroys the copy and returns null.
HMENU GetSystemMenu(HWND Wnd, BOOL Revert);

// ---- Popup menus --------------------------------------------------------------------------
// Shows Menu at (X, Y) screen and runs the menu loop until an item is chosen or the menu is
// dismissed. With TPM_RETURNCMD returns the chosen id (0: none); otherwise posts WM_COMMAND
// to Wnd for the chosen item and returns TRUE. FALSE when the menu or window is invalid or a
// menu loop runs already.
BOOL TrackPopupMenu(HMENU Menu, UINT Flags, Integer X, Integer Y, Integer Reserved, HWND Wnd,
                    const RECT* Rect);
BOOL TrackPopupMenuEx(HMENU Menu, UINT Flags, Integer X, Integer Y, HWND Wnd, const TPMPARAMS* Params);
// Ends the running menu loop (no command).
BOOL EndMenu();

#pragma once
// The menu objects behind HMENU and the layout and drawing of menus, shared by the menu
// calls, the menu bar, the popup windows and the menu loop. Also the reuse point for the skin
// library: MeasureMenuItems / DrawMenuItem draw items as the classic popups do.
#include <memory>
#include <string>
#include <vector>

#include "platform/user/Menus.h"
#include "platform/user/WindowInternals.h"

struct TMenuItemData {
  UINT Type = MFT_STRING;  // MFT_* (MFT_BITMAP: Bitmap is the item)
  UINT State = 0;          // MF_GRAYED, MF_DISABLED, MF_CHECKED, MF_HILITE, MF_DEFAULT
  UINT Id = 0;
  HMENU SubMenu = nullptr;
  HBITMAP CheckedBmp = nullptr;
  HBITMAP UncheckedBmp = nullptr;
  ULONG_PTR Data = 0;
  std::string Text;
  HBITMAP Bitmap = nullptr;  // hbmpItem, or the item's bitmap with MFT_BITMAP
  TRect Rect;                // popups: client coordinates; bars: window coordinates

  bool IsSeparator() const { return (Type & MFT_SEPARATOR) != 0; }
  bool IsDisabled() const { return (State & (MF_GRAYED | MF_DISABLED)) != 0; }
  bool IsOwnerDraw() const { return (Type & MFT_OWNERDRAW) != 0; }
};

struct TMenuObject {
  HMENU Handle = nullptr;
  bool Popup = false;   // CreatePopupMenu (a menu bar otherwise)
  bool System = false;  // a window's system menu
  std::vector<TMenuItemData> Items;
  HWND BarWnd = nullptr;    // the window showing it as its menu bar
  HWND PopupWnd = nullptr;  // its "#32768" window while shown
  // Popup layout (client size with the border) and its columns.
  TSize PopupSize;
  Integer TextLeft = 0;  // text start inside an item (after the check and bitmap columns)
  Integer TabLeft = 0;   // shortcut column inside an item (0: none)
  // Bar layout: the width it was made for and the bar height.
  Integer BarWidth = -1;
  TPoint BarOrigin{-1, -1};
  Integer BarHeight = 0;
  bool BarDropped = false;  // the selected bar item's popup is open
};

TMenuObject* MenuFromHandle(HMENU Menu);
// A bitmap handle that is no HBMMENU_* value.
inline bool IsMenuBitmap(HBITMAP B) {
  return B != nullptr && reinterpret_cast<std::uintptr_t>(B) > 11 && B != HBMMENU_CALLBACK;
}
// The item Item names (MF_BYPOSITION or a command id, searched in submenus too); Owner
// receives the menu that holds it. Null when none.
TMenuItemData* FindMenuItem(HMENU Menu, UINT Item, UINT Flags, TMenuObject** Owner = nullptr,
                            Integer* Index = nullptr);
// Marks the layout of the menu stale (and the frame of its bar window).
void MenuChanged(TMenuObject* M);

// ---- Layout and drawing -------------------------------------------------------------------
// Classic popup metrics.
constexpr Integer MenuBorder = 3;  // raised edge and a one-pixel margin
constexpr Integer MenuSeparatorHeight = 9;
constexpr Integer MenuBarItemPad = 6;  // each side of a menu-bar title
Integer MenuItemHeight();              // text items of popups: max(font height + 4, check + 4)
Integer MenuBarRowHeight();            // SM_CYMENU - 1
Integer MenuCheckColumn();             // SM_CXMENUCHECK + 6
constexpr Integer MenuArrowColumn = 16;

// Sizes the popup's items (WM_MEASUREITEM to Owner for owner-drawn ones) and the window.
void LayoutPopupMenu(TMenuObject& M, HWND Owner);
// Lays a bar out across Width pixels from (Left, Top) and returns its height (rows of
// MenuBarRowHeight plus a line).
Integer LayoutMenuBar(TMenuObject& M, HWND Owner, Integer Left, Integer Top, Integer Width);
// The bar height W's menu needs at that window width (laying it out when stale).
Integer MenuBarHeight(TWindow* W, Integer WindowWidth);

// Draws one popup item in its Rect (DC in the popup's client coordinates) and all of a popup.
void DrawPopupItem(HDC DC, TMenuObject& M, Integer Index, HWND Owner, bool Entire);
void DrawPopupMenu(HDC DC, TMenuObject& M, HWND Owner);
// Draws the bar (DC in window coordinates) in Bar, or one title of it.
void DrawMenuBarItems(HDC DC, TMenuObject& M, HWND Owner, const TRect& Bar);
void DrawMenuBarItem(HDC DC, TMenuObject& M, Integer Index, HWND Owner);
// Draws a menu glyph (DFCS_MENUCHECK, DFCS_MENUBULLET, DFCS_MENUARROW) in Color, centred in R.
void DrawMenuGlyph(HDC DC, const TRect& R, UINT Glyph, COLORREF Color);
// Text (with '&' prefixes) in R per Format: embossed (3-D highlight under 3-D shadow) when
// Disabled, else in Color.
void DrawMenuText(HDC DC, const std::string& Text, TRect R, UINT Format, COLORREF Color, bool Disabled);
// The text before and after the first tab; the accelerator letter ('&x', lower case, 0: none).
std::string MenuLabel(const std::string& Text);
std::string MenuShortcut(const std::string& Text);
char32_t MenuAccelerator(const std::string& Text);

// ---- Popup windows and the loop ----------------------------------------------------------
constexpr const char* PopupMenuClass = "#32768";
// Registers the popup menu window class (once).
void RegisterPopupMenuClass();
// Lays M out, places its "#32768" window and shows it without activating it. At is the
// corner TPM_* aligns (screen); a popup that does not fit goes to the other side: of Avoid's
// left/right edges (a submenu's parent item) or top/bottom (a menu-bar title), else of At.
HWND ShowPopupMenu(TMenuObject& M, HWND Owner, TPoint At, UINT Flags, const TRect* Avoid, bool Horizontal);
void HidePopupMenu(TMenuObject& M);
// Redraws W's bar now (after the selection changed).
void RedrawMenuBar(TWindow* W);
// The menu loop of the menu bar (SC_MOUSEMENU at a screen point, SC_KEYMENU with a letter, 0
// for the first title, ' ' for the system menu).
void MenuBarMouseLoop(TWindow* W, LRESULT Hit, TPoint Screen);
void MenuBarKeyLoop(TWindow* W, UINT Key);
// The system menu's states for W's styles (before it is shown).
void UpdateSystemMenu(TWindow* W, HMENU Menu);
// Shows W's system menu: below the caption's icon, or at At when AtPoint; Keyboard selects its
// first item.
void TrackSystemMenu(TWindow* W, TPoint At, bool AtPoint, bool Keyboard);
// True while a menu loop runs.
bool MenuLoopActive();

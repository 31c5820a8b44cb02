#pragma once
// Icon and cursor handles (HICON and HCURSOR of WinUser.h) and the mouse cursor.
//
// An icon or cursor is a colour bitmap with a monochrome AND mask (1 bits keep what is below),
// or, monochrome, a mask of twice the height whose lower half is XORed onto what is below. A
// 32-bit colour bitmap with any non-zero alpha is drawn by its alpha instead of the mask. The
// handle owns its bitmaps. The mouse cursor shows through the display back end as a 32-bit
// premultiplied ARGB image; pixels a monochrome cursor inverts show black.
#include <cstddef>
#include <vector>

#include "platform/gdi/GdiObject.h"
#include "platform/user/WinUser.h"

struct HICON__ {
  HBITMAP Color = nullptr;  // null for a monochrome icon
  HBITMAP Mask = nullptr;
  bool IsIcon = true;
  Integer XHotspot = 0;
  Integer YHotspot = 0;
  Integer Width = 0;
  Integer Height = 0;
  bool HasAlpha = false;
  HBITMAP Premultiplied = nullptr;  // the colour bitmap premultiplied by its alpha, made on first draw
  bool Shared = false;              // from LoadCursor: lives as long as the program
  std::vector<DWORD> Shape;         // the cursor image for the back end, made on first use
};
// The class library's name for the object.
using TIconObject = HICON__;

struct ICONINFO {
  BOOL fIcon = TRUE;
  DWORD xHotspot = 0;
  DWORD yHotspot = 0;
  HBITMAP hbmMask = nullptr;
  HBITMAP hbmColor = nullptr;
};

// The standard cursors of LoadCursor(nullptr, ...), drawn by the layer: black with a white
// outline, 32 x 32.
inline const LPCSTR IDC_ARROW = MAKEINTRESOURCE(32512);
inline const LPCSTR IDC_IBEAM = MAKEINTRESOURCE(32513);
inline const LPCSTR IDC_WAIT = MAKEINTRESOURCE(32514);
inline const LPCSTR IDC_CROSS = MAKEINTRESOURCE(32515);
inline const LPCSTR IDC_UPARROW = MAKEINTRESOURCE(32516);
inline const LPCSTR IDC_SIZE = MAKEINTRESOURCE(32640);
inline const LPCSTR IDC_ICON = MAKEINTRESOURCE(32641);
inline const LPCSTR IDC_SIZENWSE = MAKEINTRESOURCE(32642);
inline const LPCSTR IDC_SIZENESW = MAKEINTRESOURCE(32643);
inline const LPCSTR IDC_SIZEWE = MAKEINTRESOURCE(32644);
inline const LPCSTR IDC_SIZENS = MAKEINTRESOURCE(32645);
inline const LPCSTR IDC_SIZEALL = MAKEINTRESOURCE(32646);
inline const LPCSTR IDC_NO = MAKEINTRESOURCE(32648);
inline const LPCSTR IDC_HAND = MAKEINTRESOURCE(32649);
inline const LPCSTR IDC_APPSTARTING = MAKEINTRESOURCE(32650);
inline const LPCSTR IDC_HELP = MAKEINTRESOURCE(32651);

// The standard icons of LoadIcon(nullptr, ...), from the program's own icon set: the
// application id gives the program's icon (the resource "MAINICON").
inline const LPCSTR IDI_APPLICATION = MAKEINTRESOURCE(32512);
inline const LPCSTR IDI_HAND = MAKEINTRESOURCE(32513);
inline const LPCSTR IDI_QUESTION = MAKEINTRESOURCE(32514);
inline const LPCSTR IDI_EXCLAMATION = MAKEINTRESOURCE(32515);
inline const LPCSTR IDI_ASTERISK = MAKEINTRESOURCE(32516);
inline const LPCSTR IDI_WINLOGO = MAKEINTRESOURCE(32517);
inline const LPCSTR IDI_ERROR = IDI_HAND;
inline const LPCSTR IDI_WARNING = IDI_EXCLAMATION;
inline const LPCSTR IDI_INFORMATION = IDI_ASTERISK;

constexpr DWORD ERROR_RESOURCE_NAME_NOT_FOUND = 1814;
constexpr DWORD ERROR_INVALID_CURSOR_HANDLE = 1402;

// A null Instance with an IDC_* id gives a standard cursor; a module gives the cursor resource
// of that name: a group (GROUP_CURSOR) or a cursor (CURSOR) holding either the platform's
// resource form or a whole .cur (or .ico) file. The image nearest 32 x 32 is taken, the deeper
// one on ties. Loaded cursors are shared: the same name gives the same handle, and
// DestroyCursor leaves them alone.
HCURSOR LoadCursor(HINSTANCE Instance, LPCSTR Name);
// A monochrome cursor from two planes of top-down rows padded to 16 bits.
HCURSOR CreateCursor(HINSTANCE Instance, Integer XHotspot, Integer YHotspot, Integer Width, Integer Height,
                     const void* AndPlane, const void* XorPlane);
// Copies the bitmaps of Info; null without a mask. Icons have their hot spot in the middle.
HICON CreateIconIndirect(const ICONINFO* Info);
// An icon of these bitmaps, which it takes over; null without a mask.
HICON AdoptIconBitmaps(HBITMAP Color, HBITMAP Mask, bool IsIcon, Integer XHotspot, Integer YHotspot);
// Copies of the icon's bitmaps, which the caller deletes.
BOOL GetIconInfo(HICON Icon, ICONINFO* Info);
HICON CopyIcon(HICON Icon);
// FALSE for handles that are not (or no longer) icons, and for the cursor on the screen.
BOOL DestroyIcon(HICON Icon);
HCURSOR CopyCursor(HCURSOR Cursor);
BOOL DestroyCursor(HCURSOR Cursor);
// An icon or cursor from the bytes of a .ico or .cur file (the image nearest Width x Height,
// 0: the system size); null when they are not one. The caller destroys it.
HICON CreateIconFromFileData(const void* Data, std::size_t Size, bool Cursor, Integer Width = 0,
                             Integer Height = 0);

// A null Instance with an IDI_* id gives a standard icon; a module gives its icon resource of
// that name: a whole .ico file as an ICON or GROUP_ICON resource. The image nearest the
// system icon size (SM_CXICON) is taken. Loaded icons are shared like loaded cursors: the
// same name gives the same handle, and DestroyIcon leaves them alone.
HICON LoadIcon(HINSTANCE Instance, LPCSTR Name);
// The same at another size (the image nearest Width x Height), shared per name and size;
// the small icons of the shell come from here.
HICON LoadIconOfSize(HINSTANCE Instance, LPCSTR Name, Integer Width, Integer Height);

// Shows the cursor (null hides it) and returns the one shown before.
HCURSOR SetCursor(HCURSOR Cursor);
HCURSOR GetCursor();
// The display counter: the cursor shows while it is >= 0; returns the new value.
Integer ShowCursor(BOOL Show);

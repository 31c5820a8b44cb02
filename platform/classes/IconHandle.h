#pragma once
// Icon and cursor handles: a colour bitmap with a monochrome AND mask (1 bits keep the
// destination), or, for a monochrome icon, a mask of twice the height whose lower half is the
// image XORed onto the destination. A 32-bit colour bitmap with any non-zero alpha is drawn
// by its alpha instead of the mask. The handle owns its bitmaps.
#include "platform/gdi/GdiObject.h"

struct TIconObject {
  HBITMAP Color = nullptr;  // null for a monochrome icon
  HBITMAP Mask = nullptr;
  bool IsIcon = true;
  Integer XHotspot = 0;
  Integer YHotspot = 0;
  Integer Width = 0;
  Integer Height = 0;
  bool HasAlpha = false;
  HBITMAP Premultiplied = nullptr;  // the colour bitmap premultiplied by its alpha, made on first draw
};
using HICON = TIconObject*;
using HCURSOR = HICON;

struct ICONINFO {
  BOOL fIcon = TRUE;
  DWORD xHotspot = 0;
  DWORD yHotspot = 0;
  HBITMAP hbmMask = nullptr;
  HBITMAP hbmColor = nullptr;
};

// An icon of these bitmaps, which it takes over (they are deleted with it); null without a
// mask.
HICON AdoptIconBitmaps(HBITMAP Color, HBITMAP Mask, bool IsIcon, Integer XHotspot, Integer YHotspot);
// Copies the bitmaps of Info; null without a mask. Icons have their hotspot in the middle.
HICON CreateIconIndirect(const ICONINFO* Info);
// Copies of the icon's bitmaps, which the caller deletes.
BOOL GetIconInfo(HICON Icon, ICONINFO* Info);
HICON CopyIcon(HICON Icon);
BOOL DestroyIcon(HICON Icon);
inline HCURSOR CopyCursor(HCURSOR Cursor) {
  return CopyIcon(Cursor);
}
inline BOOL DestroyCursor(HCURSOR Cursor) {
  return DestroyIcon(Cursor);
}

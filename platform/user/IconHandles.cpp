// Icon and cursor handle objects: creation from bitmaps, copies, destruction, and the live set
// that lets a stale handle fail instead of freeing twice.
#include <mutex>
#include <unordered_set>

#include "platform/gdi/Dib.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/user/CursorInternals.h"

namespace {

std::mutex GLock;
// Kept to the end of the program, so that icons still alive then stay reachable.
std::unordered_set<const HICON__*>& Live() {
  static auto* Set = new std::unordered_set<const HICON__*>;
  return *Set;
}

// Only the 0x00RRGGBB layout has an alpha byte; other 32-bit masks may use the top byte.
bool AnyAlpha(HBITMAP Color) {
  if (Color == nullptr || Color->Surface.Bpp != 32 || Color->Surface.Format != TSurfaceFormat::pf32)
    return false;
  const TSurface& S = Color->Surface;
  for (Integer Y = 0; Y < S.Height; ++Y) {
    const Byte* Row = S.Row(Y);
    for (Integer X = 0; X < S.Width; ++X)
      if (Row[4 * X + 3] != 0) return true;
  }
  return false;
}

}  // namespace

HBITMAP CopyBitmap(HBITMAP B) {
  if (B == nullptr) return nullptr;
  return static_cast<HBITMAP>(
      static_cast<HGDIOBJ>(CopyImage(B, IMAGE_BITMAP, 0, 0, B->IsDibSection ? LR_CREATEDIBSECTION : 0)));
}

bool IsIconHandle(HICON Icon) {
  std::lock_guard Guard(GLock);
  return Icon != nullptr && Live().count(Icon) != 0;
}

HICON NewIcon(HBITMAP Color, HBITMAP Mask, bool IsIcon, Integer XHotspot, Integer YHotspot) {
  if (Mask == nullptr) return nullptr;
  // Whoever holds an icon may copy it.
  InstallIconCopy();
  auto* Icon = new HICON__;
  Icon->Color = Color;
  Icon->Mask = Mask;
  Icon->IsIcon = IsIcon;
  Icon->Width = Mask->Surface.Width;
  Icon->Height = Color != nullptr ? Mask->Surface.Height : Mask->Surface.Height / 2;
  Icon->XHotspot = XHotspot;
  Icon->YHotspot = YHotspot;
  Icon->HasAlpha = AnyAlpha(Color);
  std::lock_guard Guard(GLock);
  Live().insert(Icon);
  return Icon;
}

HICON NewIconCopy(const ICONINFO& Info, bool KeepHotspot) {
  if (Info.hbmMask == nullptr) return nullptr;
  HBITMAP Mask = CopyBitmap(Info.hbmMask);
  HBITMAP Color = CopyBitmap(Info.hbmColor);
  if (Mask == nullptr || (Info.hbmColor != nullptr && Color == nullptr)) {
    if (Mask) DeleteObject(Mask);
    if (Color) DeleteObject(Color);
    return nullptr;
  }
  const bool IsIcon = Info.fIcon != FALSE;
  const Integer W = Mask->Surface.Width,
                H = Color != nullptr ? Mask->Surface.Height : Mask->Surface.Height / 2;
  const bool Centre = IsIcon && !KeepHotspot;
  return NewIcon(Color, Mask, IsIcon, Centre ? W / 2 : static_cast<Integer>(Info.xHotspot),
                 Centre ? H / 2 : static_cast<Integer>(Info.yHotspot));
}

BOOL GetIconInfo(HICON Icon, ICONINFO* Info) {
  if (!IsIconHandle(Icon) || Info == nullptr) return FALSE;
  Info->fIcon = Icon->IsIcon ? TRUE : FALSE;
  Info->xHotspot = static_cast<DWORD>(Icon->XHotspot);
  Info->yHotspot = static_cast<DWORD>(Icon->YHotspot);
  Info->hbmMask = CopyBitmap(Icon->Mask);
  Info->hbmColor = CopyBitmap(Icon->Color);
  return TRUE;
}

HICON CopyIcon(HICON Icon) {
  if (!IsIconHandle(Icon)) return nullptr;
  ICONINFO Info;
  Info.fIcon = Icon->IsIcon ? TRUE : FALSE;
  Info.xHotspot = static_cast<DWORD>(Icon->XHotspot);
  Info.yHotspot = static_cast<DWORD>(Icon->YHotspot);
  Info.hbmMask = Icon->Mask;
  Info.hbmColor = Icon->Color;
  return NewIconCopy(Info, true);
}

BOOL DestroyIcon(HICON Icon) {
  if (!IsIconHandle(Icon)) {
    SetLastError(ERROR_INVALID_CURSOR_HANDLE);
    return FALSE;
  }
  if (Icon->Shared) return TRUE;
  // The cursor on the screen stays valid until another one replaces it.
  if (Icon == GetCursor()) return FALSE;
  {
    std::lock_guard Guard(GLock);
    Live().erase(Icon);
  }
  if (Icon->Color) DeleteObject(Icon->Color);
  if (Icon->Mask) DeleteObject(Icon->Mask);
  if (Icon->Premultiplied) DeleteObject(Icon->Premultiplied);
  delete Icon;
  return TRUE;
}

HCURSOR CopyCursor(HCURSOR Cursor) {
  return CopyIcon(Cursor);
}
BOOL DestroyCursor(HCURSOR Cursor) {
  return DestroyIcon(Cursor);
}

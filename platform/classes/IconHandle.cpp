#include "platform/classes/IconHandle.h"

#include <cstring>

#include "platform/classes/BitmapCopy.h"
#include "platform/gdi/Dib.h"
#include "platform/gdi/GdiObjects.h"

namespace {

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

HICON AdoptIconBitmaps(HBITMAP Color, HBITMAP Mask, bool IsIcon, Integer XHotspot, Integer YHotspot) {
  if (Mask == nullptr) return nullptr;
  auto* Icon = new TIconObject;
  Icon->Color = Color;
  Icon->Mask = Mask;
  Icon->IsIcon = IsIcon;
  Icon->Width = Mask->Surface.Width;
  Icon->Height = Color ? Mask->Surface.Height : Mask->Surface.Height / 2;
  Icon->XHotspot = XHotspot;
  Icon->YHotspot = YHotspot;
  Icon->HasAlpha = AnyAlpha(Color);
  return Icon;
}

HICON CreateIconIndirect(const ICONINFO* Info) {
  if (Info == nullptr || Info->hbmMask == nullptr) return nullptr;
  HBITMAP Mask = DuplicateBitmap(Info->hbmMask);
  HBITMAP Color = DuplicateBitmap(Info->hbmColor);
  if (Mask == nullptr || (Info->hbmColor != nullptr && Color == nullptr)) {
    if (Mask) DeleteObject(Mask);
    if (Color) DeleteObject(Color);
    return nullptr;
  }
  const bool IsIcon = Info->fIcon != FALSE;
  const Integer W = Mask->Surface.Width, H = Color ? Mask->Surface.Height : Mask->Surface.Height / 2;
  return AdoptIconBitmaps(Color, Mask, IsIcon, IsIcon ? W / 2 : static_cast<Integer>(Info->xHotspot),
                          IsIcon ? H / 2 : static_cast<Integer>(Info->yHotspot));
}

BOOL GetIconInfo(HICON Icon, ICONINFO* Info) {
  if (Icon == nullptr || Info == nullptr) return FALSE;
  Info->fIcon = Icon->IsIcon ? TRUE : FALSE;
  Info->xHotspot = static_cast<DWORD>(Icon->XHotspot);
  Info->yHotspot = static_cast<DWORD>(Icon->YHotspot);
  Info->hbmMask = DuplicateBitmap(Icon->Mask);
  Info->hbmColor = DuplicateBitmap(Icon->Color);
  return TRUE;
}

HICON CopyIcon(HICON Icon) {
  if (Icon == nullptr) return nullptr;
  ICONINFO Info;
  Info.fIcon = Icon->IsIcon ? TRUE : FALSE;
  Info.xHotspot = static_cast<DWORD>(Icon->XHotspot);
  Info.yHotspot = static_cast<DWORD>(Icon->YHotspot);
  Info.hbmMask = Icon->Mask;
  Info.hbmColor = Icon->Color;
  HICON Copy = CreateIconIndirect(&Info);
  if (Copy) {
    Copy->XHotspot = Icon->XHotspot;
    Copy->YHotspot = Icon->YHotspot;
  }
  return Copy;
}

BOOL DestroyIcon(HICON Icon) {
  if (Icon == nullptr) return FALSE;
  if (Icon->Color) DeleteObject(Icon->Color);
  if (Icon->Mask) DeleteObject(Icon->Mask);
  if (Icon->Premultiplied) DeleteObject(Icon->Premultiplied);
  delete Icon;
  return TRUE;
}

// CopyImage of icons and cursors: a copy at another size, stretched (nearest pixel) or, with
// LR_COPYFROMRESOURCE, read again from the icon's resource.
#include <mutex>

#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/ImageCopy.h"
#include "platform/user/CursorInternals.h"

namespace {

HBITMAP Stretched(HBITMAP B, Integer Width, Integer Height) {
  return static_cast<HBITMAP>(static_cast<HGDIOBJ>(CopyImage(B, IMAGE_BITMAP, Width, Height, 0)));
}

HANDLE CopyIconImage(HANDLE Image, UINT, Integer Width, Integer Height, UINT Flags) {
  auto* Icon = static_cast<HICON>(Image);
  if (!IsIconHandle(Icon) || Width < 0 || Height < 0) return nullptr;
  if (Width == 0) Width = Icon->Width;
  if (Height == 0) Height = Icon->Height;
  HICON Copy = nullptr;
  if (Flags & LR_COPYFROMRESOURCE)
    if (HICON Reloaded = ReloadIconResource(Icon, Width, Height)) Copy = CopyIcon(Reloaded);
  if (Copy == nullptr && Width == Icon->Width && Height == Icon->Height) Copy = CopyIcon(Icon);
  if (Copy == nullptr) {
    // A monochrome icon keeps both masks in one bitmap of twice the height.
    HBITMAP Mask = Stretched(Icon->Mask, Width, Icon->Color != nullptr ? Height : 2 * Height);
    HBITMAP Color = Icon->Color != nullptr ? Stretched(Icon->Color, Width, Height) : nullptr;
    if (Mask == nullptr || (Icon->Color != nullptr && Color == nullptr)) {
      if (Mask) DeleteObject(Mask);
      if (Color) DeleteObject(Color);
      return nullptr;
    }
    Copy = AdoptIconBitmaps(Color, Mask, Icon->IsIcon, Icon->XHotspot * Width / Icon->Width,
                            Icon->YHotspot * Height / Icon->Height);
  }
  if (Copy != nullptr && (Flags & LR_COPYDELETEORG)) DestroyIcon(Icon);
  return Copy;
}

}  // namespace

void InstallIconCopy() {
  static std::once_flag Once;
  std::call_once(Once, [] { SetCopyIconProc(&CopyIconImage); });
}

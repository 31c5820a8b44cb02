// The public forms of icon creation from bitmaps (kept apart from the rest of the icon code).
#include "platform/user/CursorInternals.h"

HICON CreateIconIndirect(const ICONINFO* Info) {
  return Info != nullptr ? NewIconCopy(*Info, false) : nullptr;
}

HICON AdoptIconBitmaps(HBITMAP Color, HBITMAP Mask, bool IsIcon, Integer XHotspot, Integer YHotspot) {
  return NewIcon(Color, Mask, IsIcon, XHotspot, YHotspot);
}

#pragma once
// What the cursor files of the input part share.
#include "platform/system/LastError.h"
#include "platform/user/Cursors.h"

// A new handle owning Color (may be null) and Mask; null without a mask.
HICON NewIcon(HBITMAP Color, HBITMAP Mask, bool IsIcon, Integer XHotspot, Integer YHotspot);
// A new handle with copies of Info's bitmaps; icons get their hot spot in the middle unless
// KeepHotspot.
HICON NewIconCopy(const ICONINFO& Info, bool KeepHotspot);
HBITMAP CopyBitmap(HBITMAP Bitmap);
bool IsIconHandle(HICON Icon);
// The standard cursor with an IDC_* id (null for other ids), drawn once and shared.
HCURSOR StandardCursor(std::uintptr_t Id);
// The 32-bit premultiplied ARGB image of an icon, Width x Height, top row first.
std::vector<DWORD> IconImage(HICON Icon);
// A cursor resource of the module by name (shared, loaded once); null when there is none.
HCURSOR LoadCursorResource(HINSTANCE Instance, LPCSTR Name);
// The icon a shared icon was loaded as, read again from its resource at another size (shared
// too); null for icons that were not loaded from a resource.
HICON ReloadIconResource(HICON Icon, Integer Width, Integer Height);
// Plugs the icon copier into CopyImage (done once, with the first icon made).
void InstallIconCopy();

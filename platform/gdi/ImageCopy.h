#pragma once
// CopyImage of icons and cursors. Icon handles belong to the window layer, so the drawing
// layer's CopyImage hands IMAGE_ICON and IMAGE_CURSOR to the copier that layer plugs in.
#include "platform/gdi/Dib.h"

// Re-reads the image from the resource it was loaded from (LoadIcon), picking the image
// nearest the asked size, instead of stretching the loaded one.
constexpr UINT LR_COPYFROMRESOURCE = 0x4000;

using TCopyIconProc = HANDLE (*)(HANDLE Image, UINT Type, Integer Width, Integer Height, UINT Flags);
// The copier of icons and cursors (null: CopyImage refuses them).
void SetCopyIconProc(TCopyIconProc Proc);

#pragma once
// Image lists (comctl32's HIMAGELIST): equally sized images kept side by side in one 32-bit
// strip, each with a mask whose set (white) bits are transparent. The views, the tab control and
// the class library's TCustomImageList draw from them.
//
// The list owns its bitmaps; ImageList_GetImageInfo lends them (select them into a DC only for
// the moment of a call, and never delete them). Images are copied in, so the caller keeps
// ownership of what it passes to ImageList_Add and friends.
#include "platform/user/CommonControls.h"

// A list of Cx x Cy images (both at least 1; 0 or less fails). Flags: ILC_MASK gives each image a
// mask, the colour bits are accepted and stored as 32 bits. Initial and Grow size the storage.
HIMAGELIST ImageList_Create(Integer Cx, Integer Cy, UINT Flags, Integer Initial, Integer Grow);
BOOL ImageList_Destroy(HIMAGELIST List);
// A copy with its own bitmaps.
HIMAGELIST ImageList_Duplicate(HIMAGELIST List);

Integer ImageList_GetImageCount(HIMAGELIST List);
BOOL ImageList_GetIconSize(HIMAGELIST List, Integer* Cx, Integer* Cy);
// A new size empties the list.
BOOL ImageList_SetIconSize(HIMAGELIST List, Integer Cx, Integer Cy);
UINT ImageList_GetFlags(HIMAGELIST List);
// CLR_NONE draws ILD_NORMAL images transparently; a colour fills their masked pixels.
COLORREF ImageList_SetBkColor(HIMAGELIST List, COLORREF Color);
COLORREF ImageList_GetBkColor(HIMAGELIST List);

// Adds Image cut into Cx-wide images (at least one, left to right; a narrower bitmap fills the
// first image's left part); Mask's white pixels are transparent (null: opaque). The index of the
// first image added, -1 on failure.
Integer ImageList_Add(HIMAGELIST List, HBITMAP Image, HBITMAP Mask);
// The same with the pixels of MaskColor transparent; those pixels are stored black.
Integer ImageList_AddMasked(HIMAGELIST List, HBITMAP Image, COLORREF MaskColor);
// Replaces image Index with the first image of Image (and Mask).
BOOL ImageList_Replace(HIMAGELIST List, Integer Index, HBITMAP Image, HBITMAP Mask);
// Removes image Index, or every image for -1.
BOOL ImageList_Remove(HIMAGELIST List, Integer Index);
inline BOOL ImageList_RemoveAll(HIMAGELIST List) {
  return ImageList_Remove(List, -1);
}
BOOL ImageList_GetImageInfo(HIMAGELIST List, Integer Index, IMAGEINFO* Info);

// Draws image Index at (X, Y), Dx x Dy of it (0: the whole width or height), clipped to the image.
// Bk: CLR_DEFAULT takes the list's colour, CLR_NONE draws transparently; ILD_TRANSPARENT always
// draws transparently, ILD_MASK draws the mask (black opaque, white transparent), ILD_IMAGE the
// image without its mask. ILD_BLEND25/ILD_BLEND50 mix Fg (CLR_DEFAULT: the highlight colour)
// into the image's opaque pixels by a quarter or a half. A bad index draws nothing and fails.
BOOL ImageList_DrawEx(HIMAGELIST List, Integer Index, HDC DC, Integer X, Integer Y, Integer Dx, Integer Dy,
                      COLORREF Bk, COLORREF Fg, UINT Style);
BOOL ImageList_Draw(HIMAGELIST List, Integer Index, HDC DC, Integer X, Integer Y, UINT Style);

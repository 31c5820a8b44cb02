#pragma once
// Colour tables of platform bitmaps, read and written through the bitmap's device context.
class TBitmap;
class TIEBitmap;

// 256 grey entries: entry i is (i, i, i).
void IESetGrayPalette(TBitmap* Bitmap);
// True when every entry i of the colour table is (i, i, i), also for an empty table.
bool IEIsGrayPalette(TBitmap* Bitmap);
// A pf8bit Bitmap's colour table into an ie8p IEBitmap's palette, entry for entry; nothing for
// other formats.
void IECopyTBitmapPalette(TBitmap* Bitmap, TIEBitmap* IEBitmap);

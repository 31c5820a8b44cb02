#pragma once
// Bitmaps: DIB sections and device-dependent bitmaps. Both keep their pixels in one block owned
// by the bitmap, at a fixed address for the bitmap's life, and are drawn through their surface.
// A DDB is stored top-down with DIB-aligned rows; GetObject reports its rows as the platform
// does (2-byte aligned) and no bits pointer.
#include <memory>
#include <vector>

#include "platform/gdi/BitmapInfo.h"
#include "platform/gdi/DibFormat.h"
#include "platform/gdi/GdiObject.h"
#include "platform/gdi/Surface.h"

constexpr UINT IMAGE_BITMAP = 0;
constexpr UINT IMAGE_ICON = 1;
constexpr UINT IMAGE_CURSOR = 2;
constexpr UINT LR_DEFAULTCOLOR = 0x0000;
constexpr UINT LR_MONOCHROME = 0x0001;
constexpr UINT LR_COPYRETURNORG = 0x0004;
constexpr UINT LR_COPYDELETEORG = 0x0008;
constexpr UINT LR_CREATEDIBSECTION = 0x2000;

struct TBitmapObject : TGdiObject {
  TBitmapObject() : TGdiObject(OBJ_BITMAP) {}
  TSurface Surface;  // Colors points into ColorTable
  std::vector<RGBQUAD> ColorTable;
  bool IsDibSection = false;
  BITMAPINFOHEADER Header;  // DIB sections: as created (height sign kept)
  DWORD Bitfields[3] = {0, 0, 0};
  HDC SelectedInto = nullptr;  // a bitmap is selected into at most one DC (the stock bitmap into any)

  Byte* Bits() const { return Storage.get(); }
  std::size_t BitsSize() const { return StorageSize; }
  // Allocates zeroed pixels for Surface's size and depth (rows 4-byte aligned) and points the
  // surface (and its colour table) at them, top-down or bottom-up. False when out of memory.
  bool Allocate(bool BottomUp);

 private:
  struct TFree {
    void operator()(Byte* P) const;
  };
  std::unique_ptr<Byte, TFree> Storage;
  std::size_t StorageSize = 0;
};

// Bits: receives the pixel pointer (may be null). Section and Offset (file mappings) are not
// supported: a non-null Section fails.
HBITMAP CreateDIBSection(HDC DC, const BITMAPINFO* Info, UINT Usage, void** Bits, HANDLE Section,
                         DWORD Offset);
// Bits (optional) are top-down rows aligned to 2 bytes, as the platform expects them.
HBITMAP CreateBitmap(Integer Width, Integer Height, UINT Planes, UINT BitCount, const void* Bits);
HBITMAP CreateBitmapIndirect(const BITMAP* Bitmap);
// A DC with its default monochrome bitmap gives a 1-bit bitmap; a DC with a DIB section selected
// gives a DIB section of the same format; any other DC a 32-bit bitmap.
HBITMAP CreateCompatibleBitmap(HDC DC, Integer Width, Integer Height);
// CBM_INIT with Bits and Info sets the pixels as SetDIBits would.
constexpr DWORD CBM_INIT = 4;
HBITMAP CreateDIBitmap(HDC DC, const BITMAPINFOHEADER* Header, DWORD Init, const void* Bits,
                       const BITMAPINFO* Info, UINT Usage);

// Copies scan lines between a bitmap and a DIB in Info's format. Scan lines count from the DIB's
// bottom row when its height is positive. With Bits null, GetDIBits fills in the header (and,
// for biBitCount <> 0, the colour table) only. Both return the number of lines copied, 0 on error.
Integer GetDIBits(HDC DC, HBITMAP Bitmap, UINT StartScan, UINT Lines, void* Bits, BITMAPINFO* Info,
                  UINT Usage);
Integer SetDIBits(HDC DC, HBITMAP Bitmap, UINT StartScan, UINT Lines, const void* Bits,
                  const BITMAPINFO* Info, UINT Usage);
LONG GetBitmapBits(HBITMAP Bitmap, LONG Count, void* Bits);
LONG SetBitmapBits(HBITMAP Bitmap, DWORD Count, const void* Bits);
BOOL GetBitmapDimensionEx(HBITMAP Bitmap, SIZE* Size);

// Colour table of the DIB section selected into DC.
UINT GetDIBColorTable(HDC DC, UINT Start, UINT Count, RGBQUAD* Colors);
UINT SetDIBColorTable(HDC DC, UINT Start, UINT Count, const RGBQUAD* Colors);

// Bitmaps (IMAGE_BITMAP); icons and cursors go to the window layer (ImageCopy.h). Width/Height 0 keep the
// size; otherwise the copy is stretched (nearest pixel). LR_CREATEDIBSECTION gives a DIB section of the
// original depth, LR_MONOCHROME a 1-bit bitmap; LR_COPYDELETEORG deletes the original.
HANDLE CopyImage(HANDLE Image, UINT Type, Integer Width, Integer Height, UINT Flags);

// Internal: converts Count pixels of row Src (format SrcS) starting at SrcX into row Dst (format
// DstS) at DstX, as GetDIBits and SetDIBits do (TRowConverter in BlitRows.h; make one of those
// for many rows). Colour-table formats with equal tables copy indices.
void ConvertRow(const TSurface& SrcS, const Byte* Src, Integer SrcX, const TSurface& DstS, Byte* Dst,
                Integer DstX, Integer Count);
// The default 1x1 monochrome bitmap of memory DCs (a stock object).
HBITMAP StockBitmap();

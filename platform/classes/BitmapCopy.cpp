#include "platform/classes/BitmapCopy.h"

#include <cstring>

#include "platform/gdi/Dib.h"
#include "platform/gdi/GdiObjects.h"

HBITMAP DuplicateBitmap(HBITMAP Source) {
  if (Source == nullptr) return nullptr;
  const TSurface& S = Source->Surface;
  HBITMAP Copy;
  if (Source->IsDibSection) {
    BITMAPINFO BI;
    BI.bmiHeader = Source->Header;
    BI.bmiHeader.biSize = 40;
    BI.bmiHeader.biClrUsed = static_cast<DWORD>(Source->ColorTable.size());
    if (BI.bmiHeader.biCompression == BI_BITFIELDS)
      std::memcpy(BI.bmiColors, Source->Bitfields, 12);
    else
      for (std::size_t I = 0; I < Source->ColorTable.size() && I < 256; ++I)
        BI.bmiColors[I] = Source->ColorTable[I];
    Copy = CreateDIBSection(nullptr, &BI, DIB_RGB_COLORS, nullptr, nullptr, 0);
  } else {
    Copy = CreateBitmap(S.Width, S.Height, 1, static_cast<UINT>(S.Bpp), nullptr);
  }
  if (Copy == nullptr) return nullptr;
  if (Copy->BitsSize() != Source->BitsSize()) {
    DeleteObject(Copy);
    return nullptr;
  }
  std::memcpy(Copy->Bits(), Source->Bits(), Source->BitsSize());
  return Copy;
}

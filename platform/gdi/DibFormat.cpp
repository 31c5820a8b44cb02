#include "platform/gdi/DibFormat.h"

#include <climits>
#include <cstring>

#include "platform/gdi/DcInternals.h"

bool ReadDibFormat(const BITMAPINFO* Info, DWORD Masks[3]) {
  if (!Info) return false;
  const BITMAPINFOHEADER& H = Info->bmiHeader;
  if (H.biSize < 40 || H.biWidth <= 0 || H.biHeight == 0 || H.biHeight == INT_MIN) return false;
  if (!ValidDibDepth(H.biBitCount)) return false;
  if (H.biCompression == BI_BITFIELDS) {
    if (H.biBitCount != 16 && H.biBitCount != 32) return false;
    std::memcpy(Masks, reinterpret_cast<const Byte*>(Info) + 40, 3 * sizeof(DWORD));
    return Masks[0] && Masks[1] && Masks[2];
  }
  if (H.biCompression != BI_RGB) return false;
  std::memcpy(Masks, H.biBitCount == 16 ? DibMasks555 : DibMasks888, 3 * sizeof(DWORD));
  return true;
}

std::vector<RGBQUAD> ReadColorTable(HDC DC, const BITMAPINFO* Info, UINT Usage) {
  const BITMAPINFOHEADER& H = Info->bmiHeader;
  if (H.biBitCount > 8) return {};
  const DWORD Max = 1u << H.biBitCount;
  const DWORD Count = (H.biClrUsed == 0 || H.biClrUsed > Max) ? Max : H.biClrUsed;
  const Byte* Table = reinterpret_cast<const Byte*>(Info) + H.biSize;
  std::vector<RGBQUAD> T(Count);
  if (Usage == DIB_PAL_COLORS) {
    for (DWORD I = 0; I < Count; ++I) {
      WORD Index;
      std::memcpy(&Index, Table + I * 2, 2);
      const COLORREF C = PaletteEntryColor(DC, Index);
      T[I] = RGBQUAD{GetBValue(C), GetGValue(C), GetRValue(C), 0};
    }
  } else {
    std::memcpy(T.data(), Table, Count * sizeof(RGBQUAD));
    for (RGBQUAD& Q : T) Q.rgbReserved = 0;
  }
  return T;
}

TSurface DibSurface(const BITMAPINFO* Info, const DWORD Masks[3], const std::vector<RGBQUAD>& Colors,
                    const void* Bits, Integer Rows) {
  const BITMAPINFOHEADER& H = Info->bmiHeader;
  return DescribeDib(const_cast<void*>(Bits), H.biWidth, H.biHeight > 0 ? Rows : -Rows, H.biBitCount,
                     BI_BITFIELDS, Masks, Colors.data(), static_cast<Integer>(Colors.size()));
}

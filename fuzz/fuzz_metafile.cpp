// Metafile playback: enhanced files, and old-style ones (bare or placeable) through their
// conversion, played onto a small bitmap at their own size and scaled, and enumerated.
#include <cstddef>
#include <cstdint>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Dib.h"
#include "platform/gdi/EnhMetaFile.h"
#include "platform/gdi/GdiObjects.h"

namespace {

Integer CountRecords(HDC, HANDLETABLE*, const ENHMETARECORD*, Integer, LPARAM Data) {
  ++*reinterpret_cast<Integer*>(Data);
  return 1;
}

HENHMETAFILE Read(const uint8_t* Data, size_t Size) {
  if (Size > (1u << 20)) return nullptr;
  const UINT N = static_cast<UINT>(Size);
  if (HENHMETAFILE M = SetEnhMetaFileBits(N, Data)) return M;
  if (N >= 22 && Data[0] == 0xD7 && Data[1] == 0xCD && Data[2] == 0xC6 && Data[3] == 0x9A) {
    METAFILEPICT Pict;
    Pict.xExt = (Data[10] | (Data[11] << 8)) * 10;
    Pict.yExt = (Data[12] | (Data[13] << 8)) * 10;
    return SetWinMetaFileBits(N - 22, Data + 22, nullptr, &Pict);
  }
  return SetWinMetaFileBits(N, Data, nullptr, nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  HENHMETAFILE M = Read(Data, Size);
  if (!M) return 0;
  BITMAPINFO Info;
  Info.bmiHeader.biWidth = 48;
  Info.bmiHeader.biHeight = -48;
  Info.bmiHeader.biBitCount = 32;
  HDC DC = CreateCompatibleDC(nullptr);
  HBITMAP B = CreateDIBSection(DC, &Info, DIB_RGB_COLORS, nullptr, nullptr, 0);
  HGDIOBJ Old = SelectObject(DC, B);
  PlayEnhMetaFile(DC, M, nullptr);
  const RECT Scaled{-5, 3, 40, 30};
  PlayEnhMetaFile(DC, M, &Scaled);
  Integer Count = 0;
  EnumEnhMetaFile(nullptr, M, CountRecords, reinterpret_cast<LPARAM>(&Count), nullptr);
  SelectObject(DC, Old);
  DeleteObject(B);
  DeleteDC(DC);
  DeleteEnhMetaFile(M);
  return 0;
}

// Clipboard format conversions: text between UTF-8 and UTF-16, images between packed DIBs of
// either header and bitmaps.
#include <cstdlib>
#include <cstring>

#include "platform/gdi/BitmapInfo.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Dib.h"
#include "platform/system/Strings.h"
#include "platform/user/ClipboardInternals.h"

namespace {

// A locked view of a block, unlocked when it goes.
struct TLocked {
  HGLOBAL Mem;
  const Byte* Data;
  std::size_t Size;
  explicit TLocked(HGLOBAL M)
      : Mem(M), Data(static_cast<const Byte*>(GlobalLock(M))), Size(Data != nullptr ? GlobalSize(M) : 0) {}
  ~TLocked() {
    if (Data != nullptr) GlobalUnlock(Mem);
  }
  TLocked(const TLocked&) = delete;
  TLocked& operator=(const TLocked&) = delete;
};

HGLOBAL NewBlock(std::size_t Size, const void* Head, std::size_t HeadSize, Byte** Out) {
  HGLOBAL G = GlobalAlloc(GMEM_MOVEABLE, Size);
  if (G == nullptr) return nullptr;
  auto* P = static_cast<Byte*>(GlobalLock(G));
  std::memset(P, 0, Size);
  std::memcpy(P, Head, HeadSize);
  *Out = P;
  return G;
}

// The parts of a packed DIB.
struct TDib {
  BITMAPINFOHEADER Header;
  DWORD Masks[3] = {0, 0, 0};
  std::size_t Colors = 0;   // colour-table entries that follow the header (and masks)
  std::size_t TableAt = 0;  // where the colour table starts
  std::size_t BitsAt = 0;
  std::size_t BitsSize = 0;
};

bool ReadDib(const TLocked& L, TDib& D) {
  if (L.Data == nullptr || L.Size < 40) return false;
  std::memcpy(&D.Header, L.Data, 40);
  const BITMAPINFOHEADER& H = D.Header;
  const WORD Bpp = H.biBitCount;
  if (H.biSize < 40 || H.biSize > L.Size || H.biWidth <= 0 || H.biHeight == 0 || H.biWidth > 65535 ||
      std::abs(static_cast<Int64>(H.biHeight)) > 65535)
    return false;
  if (Bpp != 1 && Bpp != 4 && Bpp != 8 && Bpp != 16 && Bpp != 24 && Bpp != 32) return false;
  const bool Fields = H.biCompression == BI_BITFIELDS;
  if (H.biCompression != BI_RGB && !(Fields && (Bpp == 16 || Bpp == 32))) return false;
  std::size_t At = H.biSize;
  if (Fields) {
    // Right after a plain header, inside the larger ones: at offset 40 either way.
    if (L.Size < 52) return false;
    std::memcpy(D.Masks, L.Data + 40, 12);
    if (H.biSize == 40) At += 12;
  }
  if (Bpp <= 8)
    D.Colors = (H.biClrUsed != 0 && H.biClrUsed < (1u << Bpp)) ? H.biClrUsed : (1u << Bpp);
  else
    D.Colors = std::min<std::size_t>(H.biClrUsed, 256);
  D.TableAt = At;
  D.BitsAt = At + 4 * D.Colors;
  D.BitsSize =
      static_cast<std::size_t>(DibRowBytes(H.biWidth, Bpp)) * static_cast<std::size_t>(std::abs(H.biHeight));
  return D.BitsAt <= L.Size && D.BitsSize <= L.Size - D.BitsAt;
}

}  // namespace

std::string ClipboardText(HGLOBAL Mem, bool Unicode) {
  const TLocked L(Mem);
  if (L.Data == nullptr) return {};
  if (!Unicode) {
    const auto* End = static_cast<const Byte*>(std::memchr(L.Data, 0, L.Size));
    return std::string(reinterpret_cast<const char*>(L.Data), End != nullptr ? End - L.Data : L.Size);
  }
  std::u16string Units;
  for (std::size_t I = 0; I + 1 < L.Size; I += 2) {
    const char16_t U = static_cast<char16_t>(L.Data[I] | (L.Data[I + 1] << 8));
    if (U == 0) break;
    Units.push_back(U);
  }
  return Utf16ToUtf8(Units);
}

HGLOBAL TextBlock(const std::string& Utf8, bool Unicode) {
  if (!Unicode) {
    Byte* P = nullptr;
    HGLOBAL G = NewBlock(Utf8.size() + 1, Utf8.data(), Utf8.size(), &P);
    if (G != nullptr) GlobalUnlock(G);
    return G;
  }
  const std::u16string Units = Utf8ToUtf16(Utf8);
  HGLOBAL G = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 2 * (Units.size() + 1));
  if (G == nullptr) return nullptr;
  auto* Q = static_cast<Byte*>(GlobalLock(G));
  for (std::size_t I = 0; I < Units.size(); ++I) {
    Q[2 * I] = static_cast<Byte>(Units[I] & 0xFF);
    Q[2 * I + 1] = static_cast<Byte>(Units[I] >> 8);
  }
  GlobalUnlock(G);
  return G;
}

HGLOBAL DibFromBitmap(HBITMAP Bitmap) {
  if (Bitmap == nullptr) return nullptr;
  BITMAPINFO Info;
  HDC DC = CreateCompatibleDC(nullptr);
  GetDIBits(DC, Bitmap, 0, 0, nullptr, &Info, DIB_RGB_COLORS);
  BITMAPINFOHEADER& H = Info.bmiHeader;
  if (H.biBitCount > 8) H.biBitCount = 32;
  H.biCompression = BI_RGB;
  H.biHeight = std::abs(H.biHeight);
  H.biSizeImage = static_cast<DWORD>(DibRowBytes(H.biWidth, H.biBitCount)) * static_cast<DWORD>(H.biHeight);
  H.biClrUsed = 0;
  const std::size_t Colors = H.biBitCount <= 8 ? (1u << H.biBitCount) : 0;
  Byte* P = nullptr;
  HGLOBAL G = NewBlock(40 + 4 * Colors + H.biSizeImage, &H, 40, &P);
  if (G != nullptr) {
    const Integer Lines =
        GetDIBits(DC, Bitmap, 0, static_cast<UINT>(H.biHeight), P + 40 + 4 * Colors, &Info, DIB_RGB_COLORS);
    std::memcpy(P + 40, Info.bmiColors, 4 * Colors);
    GlobalUnlock(G);
    if (Lines == 0) G = GlobalFree(G);
  }
  DeleteDC(DC);
  return G;
}

HBITMAP BitmapFromDib(HGLOBAL Mem) {
  const TLocked L(Mem);
  TDib D;
  if (!ReadDib(L, D)) return nullptr;
  BITMAPINFO Info;
  Info.bmiHeader = D.Header;
  Info.bmiHeader.biSize = 40;
  if (D.Header.biCompression == BI_BITFIELDS)
    std::memcpy(Info.bmiColors, D.Masks, 12);
  else
    std::memcpy(Info.bmiColors, L.Data + D.TableAt, 4 * std::min<std::size_t>(D.Colors, 256));
  void* Bits = nullptr;
  HBITMAP B = CreateDIBSection(nullptr, &Info, DIB_RGB_COLORS, &Bits, nullptr, 0);
  if (B == nullptr || Bits == nullptr) return B;
  std::memcpy(Bits, L.Data + D.BitsAt, D.BitsSize);
  return B;
}

HGLOBAL DibV5FromDib(HGLOBAL Mem) {
  const TLocked L(Mem);
  TDib D;
  if (!ReadDib(L, D)) return nullptr;
  const BITMAPINFOHEADER& H = D.Header;
  BITMAPV5HEADER V;
  V.bV5Width = H.biWidth;
  V.bV5Height = H.biHeight;
  V.bV5BitCount = H.biBitCount;
  V.bV5Compression = H.biCompression;
  V.bV5SizeImage = static_cast<DWORD>(D.BitsSize);
  V.bV5XPelsPerMeter = H.biXPelsPerMeter;
  V.bV5YPelsPerMeter = H.biYPelsPerMeter;
  V.bV5ClrUsed = H.biClrUsed;
  V.bV5RedMask = D.Masks[0];
  V.bV5GreenMask = D.Masks[1];
  V.bV5BlueMask = D.Masks[2];
  V.bV5CSType = 0x73524742;  // 'sRGB'
  V.bV5Intent = 4;           // LCS_GM_IMAGES
  Byte* P = nullptr;
  HGLOBAL G = NewBlock(sizeof(V) + 4 * D.Colors + D.BitsSize, &V, sizeof(V), &P);
  if (G == nullptr) return nullptr;
  std::memcpy(P + sizeof(V), L.Data + D.TableAt, 4 * D.Colors);
  std::memcpy(P + sizeof(V) + 4 * D.Colors, L.Data + D.BitsAt, D.BitsSize);
  GlobalUnlock(G);
  return G;
}

HGLOBAL DibFromDibV5(HGLOBAL Mem) {
  const TLocked L(Mem);
  TDib D;
  if (!ReadDib(L, D)) return nullptr;
  BITMAPINFOHEADER H = D.Header;
  H.biSize = 40;
  H.biSizeImage = static_cast<DWORD>(D.BitsSize);
  const std::size_t MaskBytes = H.biCompression == BI_BITFIELDS ? 12 : 0;
  Byte* P = nullptr;
  HGLOBAL G = NewBlock(40 + MaskBytes + 4 * D.Colors + D.BitsSize, &H, 40, &P);
  if (G == nullptr) return nullptr;
  std::memcpy(P + 40, D.Masks, MaskBytes);
  std::memcpy(P + 40 + MaskBytes, L.Data + D.TableAt, 4 * D.Colors);
  std::memcpy(P + 40 + MaskBytes + 4 * D.Colors, L.Data + D.BitsAt, D.BitsSize);
  GlobalUnlock(G);
  return G;
}

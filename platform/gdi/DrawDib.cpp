// DrawDib contexts: a registry of open handles so that a closed or foreign handle is refused.
#include "platform/gdi/DrawDib.h"

#include <cstdlib>
#include <mutex>
#include <unordered_set>

#include "platform/gdi/Blit.h"
#include "platform/gdi/DcInternals.h"
#include "platform/gdi/DibFormat.h"

struct TDrawDibContext {};

namespace {

std::mutex OpenContextsLock;
std::unordered_set<HDRAWDIB>& OpenContexts() {
  static std::unordered_set<HDRAWDIB> Contexts;
  return Contexts;
}

bool IsOpen(HDRAWDIB Handle) {
  std::lock_guard<std::mutex> Guard(OpenContextsLock);
  return OpenContexts().contains(Handle);
}

// Where the pixels of a packed DIB start: after the header, the three masks of a 40-byte
// BI_BITFIELDS header and the colour table.
const void* PackedDibBits(const BITMAPINFOHEADER* Header) {
  DWORD Offset = Header->biSize;
  if (Header->biCompression == BI_BITFIELDS && Header->biSize == 40) Offset += 3 * sizeof(DWORD);
  DWORD Colors = Header->biClrUsed;
  if (Header->biBitCount <= 8) {
    const DWORD Max = 1u << Header->biBitCount;
    if (Colors == 0 || Colors > Max) Colors = Max;
  }
  return reinterpret_cast<const Byte*>(Header) + Offset + Colors * sizeof(RGBQUAD);
}

}  // namespace

HDRAWDIB DrawDibOpen() {
  HDRAWDIB Handle = new TDrawDibContext;
  std::lock_guard<std::mutex> Guard(OpenContextsLock);
  OpenContexts().insert(Handle);
  return Handle;
}

BOOL DrawDibClose(HDRAWDIB Handle) {
  {
    std::lock_guard<std::mutex> Guard(OpenContextsLock);
    if (OpenContexts().erase(Handle) == 0) return FALSE;
  }
  delete Handle;
  return TRUE;
}

BOOL DrawDibDraw(HDRAWDIB Handle, HDC DC, Integer XDst, Integer YDst, Integer DstWidth, Integer DstHeight,
                 const BITMAPINFOHEADER* Header, const void* Bits, Integer XSrc, Integer YSrc,
                 Integer SrcWidth, Integer SrcHeight, UINT Flags) {
  if (!IsOpen(Handle) || !IsDeviceContext(DC) || !Header) return FALSE;
  if (Flags & DDF_UPDATE) return FALSE;
  if (Flags & DDF_DONTDRAW) return TRUE;
  const auto* Info = reinterpret_cast<const BITMAPINFO*>(Header);
  DWORD Masks[3];
  if (!ReadDibFormat(Info, Masks)) return FALSE;
  if (!Bits) Bits = PackedDibBits(Header);
  const Integer PictureHeight = std::abs(Header->biHeight);
  if (DstWidth == -1) DstWidth = Header->biWidth;
  if (DstHeight == -1) DstHeight = PictureHeight;
  // StretchDIBits counts source rows from the bottom of a bottom-up DIB.
  const Integer DibYSrc = Header->biHeight > 0 ? PictureHeight - YSrc - SrcHeight : YSrc;
  const Integer OldMode = SetStretchBltMode(DC, (Flags & DDF_HALFTONE) ? HALFTONE : COLORONCOLOR);
  const Integer Lines = StretchDIBits(DC, XDst, YDst, DstWidth, DstHeight, XSrc, DibYSrc, SrcWidth, SrcHeight,
                                      Bits, Info, DIB_RGB_COLORS, SRCCOPY);
  SetStretchBltMode(DC, OldMode);
  return Lines != 0 ? TRUE : FALSE;
}

UINT DrawDibRealize(HDRAWDIB, HDC, BOOL) {
  return 0;
}

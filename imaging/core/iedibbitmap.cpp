#include "imaging/core/iedibbitmap.h"

#include <cstring>
#include <limits>

#include "imaging/core/iefilebuffer.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Dib.h"
#include "platform/gdi/GdiObjects.h"

namespace {

// Rows of 32-bit aligned pixels; 0 when the row would not fit a 32-bit length.
Integer AlignedRowLen(Integer Width, Integer BitCount) {
  const Int64 Len = (static_cast<Int64>(Width) * BitCount + 31) / 32 * 4;
  return Len > std::numeric_limits<Integer>::max() ? 0 : static_cast<Integer>(Len);
}

// Row Y of a bottom-up block.
Byte* BottomUpRow(Byte* Bits, Integer RowLen, Integer Height, Integer Y) {
  return Bits + static_cast<Int64>(RowLen) * (Height - 1 - Y);
}

}  // namespace

TIEDibbitmap::TIEDibbitmap() {
  FDrawInfo.bmiHeader.biSize = 40;
  FDrawInfo.bmiHeader.biPlanes = 1;
  FDrawInfo.bmiHeader.biCompression = BI_RGB;
  FDrawInfo.bmiColors[1] = {255, 255, 255, 0};
}

TIEDibbitmap::~TIEDibbitmap() {
  FreeBits();
}

bool TIEDibbitmap::AllocateBits(Integer AWidth, Integer AHeight, Integer ABitCount) {
  if (AWidth <= 0 || AHeight <= 0) return false;
  FreeBits();
  FRowLen = AlignedRowLen(AWidth, ABitCount);
  if (FRowLen <= 0) return false;
  FBitCount = ABitCount;
  FWidth = AWidth;
  FHeight = AHeight;
  FDeviceContext = CreateCompatibleDC(nullptr);
  FDrawInfo.bmiHeader.biBitCount = static_cast<WORD>(ABitCount);
  FDrawInfo.bmiHeader.biWidth = AWidth;
  FDrawInfo.bmiHeader.biHeight = AHeight;  // positive: bottom-up
  FDrawInfo.bmiHeader.biSizeImage = static_cast<DWORD>(static_cast<Int64>(FRowLen) * AHeight);
  void* Bits = nullptr;
  if (FDeviceContext)
    FDibSection = CreateDIBSection(FDeviceContext, &FDrawInfo, DIB_RGB_COLORS, &Bits, nullptr, 0);
  if (!FDibSection) {
    FreeBits();
    return false;
  }
  FBits = static_cast<Byte*>(Bits);
  FOldBitmap = SelectObject(FDeviceContext, FDibSection);
  return true;
}

void TIEDibbitmap::FreeBits() {
  if (FDeviceContext && FOldBitmap) SelectObject(FDeviceContext, FOldBitmap);
  if (FDibSection) DeleteObject(FDibSection);
  if (FDeviceContext) DeleteDC(FDeviceContext);
  FOldBitmap = nullptr;
  FDibSection = nullptr;
  FDeviceContext = nullptr;
  FBits = nullptr;
  FWidth = FHeight = FBitCount = FRowLen = 0;
}

void* TIEDibbitmap::GetScanline(Integer Row) {
  return BottomUpRow(FBits, FRowLen, FHeight, Row);
}

TIEPixelFormat TIEDibbitmap::GetPixelFormat() {
  if (FBitCount == 1) return ie1g;
  if (FBitCount == 24) return ie24RGB;
  return ieNull;
}

void TIEDibbitmap::GetPaletteColor(Integer, TIERGBTriple& Color) {
  Color = TIERGBTriple{};
}

bool TIEDibbitmap::Allocate(Integer AWidth, Integer AHeight, TIEPixelFormat APixelFormat) {
  if (APixelFormat == ie1g) return AllocateBits(AWidth, AHeight, 1);
  if (APixelFormat == ie24RGB) return AllocateBits(AWidth, AHeight, 24);
  return false;
}

void TIEDibbitmap::Assign(TObject* Source) {
  auto* Dib = dynamic_cast<TIEDibbitmap*>(Source);
  if (!Dib || Dib == this || !AllocateBits(Dib->FWidth, Dib->FHeight, Dib->FBitCount)) return;
  std::memcpy(FBits, Dib->FBits, static_cast<std::size_t>(FRowLen) * FHeight);
}

TIEWorkBitmap::TIEWorkBitmap(Integer AWidth, Integer AHeight, Integer ABitsPerPixel) {
  if (AWidth > 0 && AHeight > 0) Allocate(AWidth, AHeight, ABitsPerPixel);
}

TIEWorkBitmap::~TIEWorkBitmap() {
  FreeBits();
}

void TIEWorkBitmap::Allocate(Integer AWidth, Integer AHeight, Integer ABitsPerPixel) {
  if (AWidth == FWidth && AHeight == FHeight && ABitsPerPixel == FBitsPerPixel) return;
  FreeBits();
  const Integer RowLen = AlignedRowLen(AWidth, ABitsPerPixel);
  if (AWidth <= 0 || AHeight <= 0 || RowLen <= 0) return;
  FBits = IEAutoAlloc(static_cast<UInt64>(RowLen) * static_cast<UInt64>(AHeight));
  if (!FBits) return;
  FWidth = AWidth;
  FHeight = AHeight;
  FBitsPerPixel = ABitsPerPixel;
  FRowLen = RowLen;
}

void TIEWorkBitmap::FreeBits() {
  IEAutoFree(FBits);
  FBits = nullptr;
  FWidth = FHeight = FBitsPerPixel = FRowLen = 0;
}

Byte* TIEWorkBitmap::GetScanline(Integer Row) const {
  return BottomUpRow(static_cast<Byte*>(FBits), FRowLen, FHeight, Row);
}

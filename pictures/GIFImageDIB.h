#pragma once
// Shared routines of the GIF picture unit: the GIF error, the GDI result check, byte and
// sub-block string transfer on streams, row sizes, and the DIB access classes through which
// every pixel row of a platform bitmap is read and written.
#include <cstddef>

#include "platform/classes/Bitmap.h"
#include "platform/gdi/Palettes.h"
#include "platform/system/Exceptions.h"
#include "platform/system/Object.h"
#include "platform/system/Streams.h"
#include "platform/system/StringList.h"
#include "platform/system/Types.h"

// Every GIF format error.
TV_DECLARE_EXCEPTION(GIFException, EInvalidGraphic)

[[noreturn]] void RaiseGIFError(const std::string& Message);
// Value when it is not 0; otherwise EOutOfResources with the system's text for the last error,
// or "Out of system resources" when there is none.
Integer CheckGDIResult(Integer Value);

// Bytes of a row of Pixels at BitsPerPixel, padded to Alignment bits (a power of two), on
// unsigned 32-bit arithmetic.
Cardinal AlignedRowBytes(Cardinal Pixels, Cardinal BitsPerPixel, Cardinal Alignment);
// The fewest bits that index Colors colours: 0 for none, 1 for 1 or 2, ..., 8 for 129 to 256.
Integer BitsForColorCount(Integer Colors);

void WriteStreamByte(TStream* Stream, Byte Value);
// 0 when the stream has ended; callers that must know use ReadExact.
Byte ReadStreamByte(TStream* Stream);
// GIFException "Premature end of data" when fewer than Count bytes arrive.
void ReadExact(TStream* Stream, void* Buffer, Integer Count);
// Each string as sub-blocks of up to 255 bytes, the list closed by a zero length byte.
void WriteSubBlockStrings(TStream* Stream, TStrings* Strings);
// One string per sub-block (cut at its first zero byte) up to a zero length byte or the end
// of the stream.
void ReadSubBlockStrings(TStream* Stream, TStrings* Strings);

TPixelFormat BitmapPixelFormat(TBitmap* Bitmap);
void SetBitmapPixelFormat(TBitmap* Bitmap, TPixelFormat Format);

// Row access to a bitmap; the bitmap is not owned.
class TDIB : public TObject {
 public:
  TDIB(TBitmap* ABitmap, TPixelFormat APixelFormat) : DIBBitmap(ABitmap), DIBFormat(APixelFormat) {}
  virtual void* RowAddress(Integer Row) = 0;

  TBitmap* DIBBitmap;
  TPixelFormat DIBFormat;
};

// Reads the rows of the bitmap itself, converted in place to the format asked for.
class TDIBReader : public TDIB {
 public:
  TDIBReader(TBitmap* ABitmap, TPixelFormat APixelFormat);
  void* RowAddress(Integer Row) override;
};

// Builds an 8-bit (with the palette's colours) or 24-bit DIB of its own and hands it to the
// bitmap when destroyed; the bitmap stays untouched until then. Palette is not owned.
class TDIBWriter : public TDIB {
 public:
  TDIBWriter(TBitmap* ABitmap, TPixelFormat APixelFormat, Integer AWidth, Integer AHeight, HPALETTE APalette);
  ~TDIBWriter() override;
  // The DIB is made on first use; Row counts from the top.
  void* RowAddress(Integer Row) override;

  Integer DIBWidth;
  Integer DIBHeight;
  HPALETTE DIBPalette;

 protected:
  void EnsureDIB();
  void AllocateDIB();
  void FreeDIB();
  void StoreToBitmap();

 private:
  Byte* FDIBInfo = nullptr;  // BITMAPINFOHEADER (+ 256 RGBQUADs at 8 bits)
  std::size_t FDIBInfoSize = 0;
  Byte* FDIBBits = nullptr;
  std::size_t FDIBBitsSize = 0;
};

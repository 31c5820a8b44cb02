// The imaging bitmap's raw stream reader, then a look at the last byte of the first and the
// last row of the picture and of its alpha channel (a short stream may claim a large picture).
#include "fuzz/FuzzSupport.h"
#include "imaging/core/iebitmap.h"

namespace {

void TouchRows(TIEBitmap& Bitmap) {
  const Integer Last = Bitmap.GetRowLen() - 1;
  (void)static_cast<volatile Byte*>(Bitmap.GetScanline(0))[Last];
  (void)static_cast<volatile Byte*>(Bitmap.GetScanline(Bitmap.GetHeight() - 1))[Last];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  TMemoryStream Stream;
  fuzz::FillStream(Stream, Data, Size);
  TIEBitmap Bitmap;
  fuzz::Refusable([&] {
    if (!Bitmap.LoadRawFromStream(nullptr, &Stream)) return;
    TouchRows(Bitmap);
    if (Bitmap.HasAlphaChannel()) TouchRows(*Bitmap.GetAlphaChannel());
  });
  return 0;
}

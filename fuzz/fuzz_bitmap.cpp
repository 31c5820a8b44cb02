// TBitmap's BMP reader, then a look at the first and the last pixel row it made (a run-length
// file of a few bytes may stand for a bitmap of many million rows).
#include "fuzz/FuzzSupport.h"
#include "platform/classes/Bitmap.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  TMemoryStream Stream;
  fuzz::FillStream(Stream, Data, Size);
  TBitmap Bitmap;
  fuzz::Refusable([&] {
    Bitmap.LoadFromStream(&Stream);
    if (Bitmap.GetHeight() > 0) {
      (void)*static_cast<volatile Byte*>(Bitmap.GetScanLine(0));
      (void)*static_cast<volatile Byte*>(Bitmap.GetScanLine(Bitmap.GetHeight() - 1));
    }
  });
  return 0;
}

// The imaging bitmap's raw stream reader, then a look at the last byte of the first and the
// last row of the picture and of its alpha channel (a short stream may claim a large picture).
// A stream that loads is read once more into a bitmap held in a temporary file.
#include "fuzz/FuzzSupport.h"
#include "imaging/core/hyieutils.h"
#include "imaging/core/iebitmap.h"
#include "platform/system/ScopeExit.h"

namespace {

void TouchRows(TIEBitmap& Bitmap) {
  const Integer Last = Bitmap.GetRowLen() - 1;
  (void)static_cast<volatile Byte*>(Bitmap.GetScanline(0))[Last];
  (void)static_cast<volatile Byte*>(Bitmap.GetScanline(Bitmap.GetHeight() - 1))[Last];
}

bool LoadAndTouch(TMemoryStream& Stream) {
  Stream.SetPosition(0);
  TIEBitmap Bitmap;
  if (!Bitmap.LoadRawFromStream(nullptr, &Stream)) return false;
  TouchRows(Bitmap);
  if (Bitmap.HasAlphaChannel()) TouchRows(*Bitmap.GetAlphaChannel());
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  TMemoryStream Stream;
  fuzz::FillStream(Stream, Data, Size);
  fuzz::Refusable([&] {
    if (!LoadAndTouch(Stream)) return;
    IEMinFileSizeOverride = 0;
    auto Restore = ScopeExit([] { IEMinFileSizeOverride = -1; });
    LoadAndTouch(Stream);
  });
  return 0;
}

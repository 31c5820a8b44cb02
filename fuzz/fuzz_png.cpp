// The PNG reader over any bytes, with and without the native pixel format; a picture that loads
// is touched at its first and last rows and written back through the PNG writer, whose output
// must load again.
#include "fuzz/FuzzSupport.h"
#include "imaging/core/iebitmap.h"
#include "imaging/formats/iepngwrite.h"
#include "imaging/io/pngfilt.h"
#include "imaging/io/zezudidioparams.h"

namespace {

// Pictures small enough to be written back on every run.
constexpr Int64 MaxWrittenPixels = 1 << 16;

bool Read(TMemoryStream& Stream, TIEBitmap& Bitmap, TIOParamsVals& Params, bool Preview) {
  TIELocalProgress Local;
  TIEIOProgress& Progress = Local.Progress;
  Stream.SetPosition(0);
  PngReadStream(&Stream, &Bitmap, Params, Progress, Preview);
  return !Local.Aborting;
}

void Touch(TIEBitmap& Bitmap) {
  const Integer Last = Bitmap.GetRowLen() - 1;
  (void)static_cast<volatile Byte*>(Bitmap.GetScanline(0))[Last];
  (void)static_cast<volatile Byte*>(Bitmap.GetScanline(Bitmap.GetHeight() - 1))[Last];
}

void Run(TMemoryStream& Stream, bool Native) {
  TIOParamsVals Params;
  Params.NativePixelFormat = Native;
  TIEBitmap Bitmap;
  if (!Read(Stream, Bitmap, Params, true)) return;
  if (!Read(Stream, Bitmap, Params, false) || Bitmap.IsEmpty()) return;
  Touch(Bitmap);
  if (static_cast<Int64>(Bitmap.GetWidth()) * Bitmap.GetHeight() > MaxWrittenPixels) return;
  TMemoryStream Out;
  TIELocalProgress Local;
  TIEIOProgress& Progress = Local.Progress;
  PngWriteStream(&Out, &Bitmap, Params, Progress, nullptr);
  TIOParamsVals AgainParams;
  TIEBitmap Again;
  if (!Read(Out, Again, AgainParams, false)) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  TMemoryStream Stream;
  fuzz::FillStream(Stream, Data, Size);
  fuzz::Refusable([&] {
    Run(Stream, false);
    Run(Stream, true);
  });
  return 0;
}

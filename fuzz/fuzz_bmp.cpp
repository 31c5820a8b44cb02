// The BMP reader over any bytes, with and without the native pixel format and the file header;
// a picture that loads is touched at its first and last rows and written back through the BMP
// writer, whose output must load again.
#include <memory>

#include "fuzz/FuzzSupport.h"
#include "imaging/core/iebitmap.h"
#include "imaging/core/iemask.h"
#include "imaging/formats/iebmp.h"
#include "imaging/io/zezudidioparams.h"

namespace {

// Pictures small enough to be written back on every run.
constexpr Int64 MaxWrittenPixels = 1 << 16;

bool Read(TMemoryStream& Stream, TIEBitmap& Bitmap, TIOParamsVals& Params, bool Preview, bool NoFileHeader,
          std::unique_ptr<TIEMask>& Alpha) {
  TIELocalProgress Local;
  TIEIOProgress& Progress = Local.Progress;
  Stream.SetPosition(0);
  BmpReadStream(&Stream, &Bitmap, 0, Params, Progress, Preview, NoFileHeader, Alpha, false);
  return !Local.Aborting;
}

void Touch(TIEBitmap& Bitmap) {
  if (Bitmap.GetWidth() <= 0 || Bitmap.GetHeight() <= 0) return;
  const Integer Last = Bitmap.GetRowLen() - 1;
  (void)static_cast<volatile Byte*>(Bitmap.GetScanline(0))[Last];
  (void)static_cast<volatile Byte*>(Bitmap.GetScanline(Bitmap.GetHeight() - 1))[Last];
}

void Run(TMemoryStream& Stream, bool Native, bool NoFileHeader) {
  TIOParamsVals Params;
  Params.NativePixelFormat = Native;
  TIEBitmap Bitmap;
  std::unique_ptr<TIEMask> Alpha;
  if (!Read(Stream, Bitmap, Params, true, NoFileHeader, Alpha)) return;
  if (!Read(Stream, Bitmap, Params, false, NoFileHeader, Alpha) || Bitmap.IsEmpty()) return;
  Touch(Bitmap);
  if (static_cast<Int64>(Bitmap.GetWidth()) * Bitmap.GetHeight() > MaxWrittenPixels) return;
  TMemoryStream Out;
  TIELocalProgress Local;
  TIEIOProgress& Progress = Local.Progress;
  BmpWriteStream(&Out, &Bitmap, Params, Progress, true);
  TIEBitmap Again;
  std::unique_ptr<TIEMask> AgainAlpha;
  if (!Read(Out, Again, Params, false, false, AgainAlpha)) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  TMemoryStream Stream;
  fuzz::FillStream(Stream, Data, Size);
  fuzz::Refusable([&] {
    Run(Stream, false, false);
    Run(Stream, true, false);
    Run(Stream, false, true);
  });
  return 0;
}

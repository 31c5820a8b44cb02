// The JPEG 2000 reader over any bytes, as a preview and in full, and its two content tests. A
// small picture that loads is written back in both containers and must load again at its size.
#include "fuzz/FuzzSupport.h"
#include "imaging/core/iebitmap.h"
#include "imaging/formats/iejpeg2000.h"
#include "imaging/io/zezudidioparams.h"

namespace {

constexpr Int64 MaxWrittenPixels = 1 << 12;

bool ReadJpeg2000(TMemoryStream& Stream, TIEBitmap& Bitmap, bool Preview) {
  TIOParamsVals Params;
  TIELocalProgress Local;
  Stream.SetPosition(0);
  Jpeg2000ReadStream(&Stream, &Bitmap, Params, Preview, Local.Progress);
  return !Local.Aborting;
}

void WriteBack(TIEBitmap& Bitmap) {
  if (Bitmap.IsEmpty() || static_cast<Int64>(Bitmap.GetWidth()) * Bitmap.GetHeight() > MaxWrittenPixels)
    return;
  for (Integer Format : {0, 1}) {
    TIOParamsVals Params;
    TMemoryStream Out;
    TIELocalProgress Local;
    Jpeg2000WriteStream(&Out, &Bitmap, Params, Format, Local.Progress);
    TIEBitmap Again;
    if (Local.Aborting || !ReadJpeg2000(Out, Again, false)) __builtin_trap();
    if (Again.GetWidth() != Bitmap.GetWidth() || Again.GetHeight() != Bitmap.GetHeight()) __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  TMemoryStream Stream;
  fuzz::FillStream(Stream, Data, Size);
  fuzz::Refusable([&] {
    Stream.SetPosition(0);
    Jpeg2000IsJp2File(&Stream);
    Jpeg2000IsCodeStream(&Stream);
    if (Stream.GetPosition() != 0) __builtin_trap();
    TIEBitmap Bitmap;
    ReadJpeg2000(Stream, Bitmap, true);
    if (ReadJpeg2000(Stream, Bitmap, false)) WriteBack(Bitmap);
  });
  return 0;
}

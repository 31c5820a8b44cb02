// The HD Photo reader over any bytes, with and without the native pixel formats, at frames 0
// and 1. A small picture that loads is written back losslessly and must load again unchanged.
#include "fuzz/FuzzSupport.h"
#include "imaging/core/iebitmap.h"
#include "imaging/formats/iewic.h"
#include "imaging/io/zezudidioparams.h"

namespace {

constexpr Int64 MaxWrittenPixels = 1 << 14;

bool ReadHdp(TMemoryStream& Stream, TIEBitmap& Bitmap, bool Native, Integer Frame) {
  TIOParamsVals Params;
  Params.NativePixelFormat = Native;
  Params.ImageIndex = Frame;
  TIELocalProgress Local;
  Stream.SetPosition(0);
  HdpReadStream(&Stream, &Bitmap, Params, Local.Progress, false);
  return !Local.Aborting;
}

void WriteBack(TIEBitmap& Bitmap) {
  if (Bitmap.IsEmpty() || static_cast<Int64>(Bitmap.GetWidth()) * Bitmap.GetHeight() > MaxWrittenPixels)
    return;
  TIOParamsVals Params;
  Params.HdpLossless = true;
  TMemoryStream Out;
  TIELocalProgress Local;
  HdpWriteStream(&Out, &Bitmap, Params, Local.Progress);
  TIEBitmap Again;
  if (Local.Aborting || !ReadHdp(Out, Again, true, 0)) __builtin_trap();
  if (Again.GetWidth() != Bitmap.GetWidth() || Again.GetHeight() != Bitmap.GetHeight() ||
      Again.GetPixelFormat() != Bitmap.GetPixelFormat())
    __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  TMemoryStream Stream;
  fuzz::FillStream(Stream, Data, Size);
  fuzz::Refusable([&] {
    TIEBitmap Bitmap;
    ReadHdp(Stream, Bitmap, false, 1);
    ReadHdp(Stream, Bitmap, false, 0);
    if (ReadHdp(Stream, Bitmap, true, 0)) WriteBack(Bitmap);
  });
  return 0;
}

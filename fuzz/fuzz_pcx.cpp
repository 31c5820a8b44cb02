// The PCX reader over any bytes, whole and with a claimed size past the data; the DCX content
// test, page reading and page insertion over the same bytes. A small picture that loads is
// written back at every depth and must load again.
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "imaging/core/iebitmap.h"
#include "imaging/io/pcxfilter.h"
#include "imaging/io/zezudidioparams.h"

namespace {

constexpr Int64 MaxWrittenPixels = 1 << 14;

bool ReadPcx(TMemoryStream& Stream, TIEBitmap& Bitmap, Int64 StreamSize, bool Preview) {
  TIOParamsVals Params;
  TIELocalProgress Local;
  Stream.SetPosition(0);
  PcxReadStream(&Stream, &Bitmap, Params, StreamSize, Local.Progress, Preview);
  return !Local.Aborting;
}

void WriteBack(TIEBitmap& Bitmap) {
  if (Bitmap.IsEmpty() || static_cast<Int64>(Bitmap.GetWidth()) * Bitmap.GetHeight() > MaxWrittenPixels)
    return;
  const Integer Depths[][2] = {{1, 1}, {4, 1}, {8, 1}, {8, 3}};
  for (const auto& Depth : Depths) {
    TIOParamsVals Params;
    Params.BitsPerSample = Depth[0];
    Params.SamplesPerPixel = Depth[1];
    TMemoryStream Out;
    TIELocalProgress Local;
    PcxWriteStream(&Out, &Bitmap, Params, Local.Progress);
    TIEBitmap Again;
    if (Local.Aborting || !ReadPcx(Out, Again, Out.GetSize(), false)) __builtin_trap();
    if (Again.GetWidth() != Bitmap.GetWidth() || Again.GetHeight() != Bitmap.GetHeight()) __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  TMemoryStream Stream;
  fuzz::FillStream(Stream, Data, Size);
  fuzz::Refusable([&] {
    TIEBitmap Bitmap;
    ReadPcx(Stream, Bitmap, Stream.GetSize() + 1000, false);
    if (ReadPcx(Stream, Bitmap, Stream.GetSize(), true) && ReadPcx(Stream, Bitmap, Stream.GetSize(), false))
      WriteBack(Bitmap);

    Stream.SetPosition(0);
    const bool IsDcx = DcxIsFile(&Stream);
    if (Stream.GetPosition() != 0) __builtin_trap();
    for (Integer Page : {0, 1, 5000}) {
      TIOParamsVals Params;
      Params.DcxImageIndex = Page;
      TIELocalProgress Local;
      TIEBitmap PageBitmap;
      Stream.SetPosition(0);
      DcxReadStream(&Stream, &PageBitmap, Params, Local.Progress, false);
    }
    if (!IsDcx) return;
    TIEBitmap Small(3, 2, ie24RGB);
    TIOParamsVals Params;
    Params.DcxImageIndex = 1;
    TIELocalProgress Local;
    DcxWriteStream(&Stream, &Small, Params, Local.Progress);
    Stream.SetPosition(0);
    if (!Local.Aborting && !DcxIsFile(&Stream)) __builtin_trap();
  });
  return 0;
}

// The PNM and WBMP readers over any bytes, in preview and in full, and the PNM content test; a
// small picture that loads is written back in every form and must load again at its size.
#include "fuzz/FuzzSupport.h"
#include "imaging/core/iebitmap.h"
#include "imaging/formats/iepnm.h"
#include "imaging/formats/iewbmp.h"
#include "imaging/io/zezudidioparams.h"

namespace {

constexpr Int64 MaxWrittenPixels = 1 << 14;

using TReader = void (*)(TStream*, TIEBitmap*, TIOParamsVals&, TIEIOProgress&, bool);
using TWriter = void (*)(TStream*, TIEBitmap*, TIOParamsVals&, TIEIOProgress&);

bool Read(TReader Reader, TMemoryStream& Stream, TIEBitmap& Bitmap, bool Preview) {
  TIOParamsVals Params;
  TIELocalProgress Local;
  Stream.SetPosition(0);
  Reader(&Stream, &Bitmap, Params, Local.Progress, Preview);
  return !Local.Aborting;
}

void WriteBack(TReader Reader, TWriter Writer, TIEBitmap& Bitmap, Integer Bits, Integer Samples) {
  TIOParamsVals Params;
  Params.BitsPerSample = Bits;
  Params.SamplesPerPixel = Samples;
  TMemoryStream Out;
  TIELocalProgress Local;
  Writer(&Out, &Bitmap, Params, Local.Progress);
  TIEBitmap Again;
  if (Local.Aborting || !Read(Reader, Out, Again, false)) __builtin_trap();
  if (Again.GetWidth() != Bitmap.GetWidth() || Again.GetHeight() != Bitmap.GetHeight()) __builtin_trap();
}

bool Small(TIEBitmap& Bitmap) {
  return !Bitmap.IsEmpty() && static_cast<Int64>(Bitmap.GetWidth()) * Bitmap.GetHeight() <= MaxWrittenPixels;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  TMemoryStream Stream;
  fuzz::FillStream(Stream, Data, Size);
  fuzz::Refusable([&] {
    Stream.SetPosition(0);
    PnmIsFile(&Stream);
    if (Stream.GetPosition() != 0) __builtin_trap();

    TIEBitmap Pnm;
    if (Read(PnmReadStream, Stream, Pnm, true) && Read(PnmReadStream, Stream, Pnm, false) && Small(Pnm)) {
      const Integer Forms[][2] = {{1, 1}, {8, 1}, {8, 3}, {16, 3}};
      for (const auto& Form : Forms) WriteBack(PnmReadStream, PnmWriteStream, Pnm, Form[0], Form[1]);
    }
    TIEBitmap Wbmp;
    if (Read(WbmpReadStream, Stream, Wbmp, true) && Read(WbmpReadStream, Stream, Wbmp, false) &&
        Small(Wbmp) && Wbmp.GetWidth() <= WbmpMaxSide && Wbmp.GetHeight() <= WbmpMaxSide)
      WriteBack(WbmpReadStream, WbmpWriteStream, Wbmp, 1, 1);
  });
  return 0;
}

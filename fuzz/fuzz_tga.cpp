// The TGA reader over any bytes, with and without alpha and as a preview, and its content test.
// A small picture that loads is written back at every depth and must load again at its size.
#include <memory>

#include "fuzz/FuzzSupport.h"
#include "imaging/core/iebitmap.h"
#include "imaging/core/iemask.h"
#include "imaging/formats/ietgafil.h"
#include "imaging/io/zezudidioparams.h"

namespace {

constexpr Int64 MaxWrittenPixels = 1 << 14;

bool ReadTga(TMemoryStream& Stream, TIEBitmap& Bitmap, bool Preview, bool IgnoreAlpha) {
  TIOParamsVals Params;
  TIELocalProgress Local;
  std::unique_ptr<TIEMask> Alpha;
  Stream.SetPosition(0);
  TgaReadStream(&Stream, &Bitmap, Params, Local.Progress, Preview, Alpha, IgnoreAlpha);
  if (Alpha && (Alpha->GetWidth() != Bitmap.GetWidth() || Alpha->GetHeight() != Bitmap.GetHeight()))
    __builtin_trap();
  return !Local.Aborting;
}

void WriteBack(TIEBitmap& Bitmap) {
  if (Bitmap.IsEmpty() || static_cast<Int64>(Bitmap.GetWidth()) * Bitmap.GetHeight() > MaxWrittenPixels)
    return;
  const Integer Depths[][2] = {{1, 1}, {4, 1}, {8, 1}, {8, 3}};
  for (const auto& Depth : Depths) {
    for (bool Packed : {false, true}) {
      TIOParamsVals Params;
      Params.BitsPerSample = Depth[0];
      Params.SamplesPerPixel = Depth[1];
      Params.TgaCompressed = Packed;
      TMemoryStream Out;
      TIELocalProgress Local;
      TgaWriteStream(&Out, &Bitmap, Params, Local.Progress, nullptr);
      TIEBitmap Again;
      // Depth 4 is written but not read back.
      if (Depth[0] == 4) continue;
      if (Local.Aborting || !ReadTga(Out, Again, false, false)) __builtin_trap();
      if (Again.GetWidth() != Bitmap.GetWidth() || Again.GetHeight() != Bitmap.GetHeight()) __builtin_trap();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  TMemoryStream Stream;
  fuzz::FillStream(Stream, Data, Size);
  fuzz::Refusable([&] {
    Stream.SetPosition(0);
    TgaIsFile(&Stream);
    if (Stream.GetPosition() != 0) __builtin_trap();
    TIEBitmap Bitmap;
    ReadTga(Stream, Bitmap, true, true);
    ReadTga(Stream, Bitmap, false, true);
    if (ReadTga(Stream, Bitmap, false, false)) WriteBack(Bitmap);
  });
  return 0;
}

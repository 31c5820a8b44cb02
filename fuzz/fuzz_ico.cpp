// The icon and cursor readers over any bytes, with and without the native pixel format, as
// files and as bare resources, after the content tests; a picture that loads is touched at its
// first and last rows and its mask at its last row, and written back as an icon of every depth
// that must load again at each size.
#include <array>
#include <memory>

#include "fuzz/FuzzSupport.h"
#include "imaging/core/iebitmap.h"
#include "imaging/core/iemask.h"
#include "imaging/formats/ieico.h"
#include "imaging/io/zezudidioparams.h"

namespace {

void Touch(TIEBitmap& Bitmap, TIEMask* Alpha) {
  if (Bitmap.GetWidth() <= 0 || Bitmap.GetHeight() <= 0) return;
  const Integer Last = Bitmap.GetRowLen() - 1;
  (void)static_cast<volatile Byte*>(Bitmap.GetScanline(0))[Last];
  (void)static_cast<volatile Byte*>(Bitmap.GetScanline(Bitmap.GetHeight() - 1))[Last];
  if (Alpha && Alpha->GetWidth() > 0 && Alpha->GetHeight() > 0)
    (void)static_cast<volatile Byte*>(Alpha->GetScanline(Alpha->GetHeight() - 1))[Alpha->GetWidth() - 1];
}

void WriteBack(TIEBitmap& Bitmap, TIEMask* Alpha) {
  const Integer W = Bitmap.GetWidth(), H = Bitmap.GetHeight();
  // Width byte 0 would mean 256 and is only reachable as the last entry.
  if (W <= 0 || H <= 0 || W > 255 || H > 255) return;
  if (Alpha) Bitmap.GetAlphaChannel()->CopyFromTIEMask(Alpha);
  const std::array<std::array<Integer, 2>, 5> Sizes{{{W, H}, {16, 16}, {W, H}, {W, H}, {W, H}}};
  const std::array<Integer, 5> Bits{1, 4, 8, 24, 32};
  TMemoryStream Out;
  TIOParamsVals Params;
  TIELocalProgress Local;
  IcoWriteStream(&Out, &Bitmap, Params, Local.Progress, Sizes, Bits);
  if (Local.Aborting) __builtin_trap();
  for (Integer I = 0; I < 5; ++I) {
    TIOParamsVals Again;
    Again.IcoImageIndex = I;
    TIEBitmap Read;
    std::unique_ptr<TIEMask> ReadAlpha;
    TIELocalProgress ReadLocal;
    Out.SetPosition(0);
    IcoReadStream(&Out, &Read, Again, false, ReadLocal.Progress, ReadAlpha, false);
    if (ReadLocal.Aborting || Read.GetWidth() != Sizes[I][0] || Read.GetHeight() != Sizes[I][1])
      __builtin_trap();
  }
}

template <typename R>
void Run(TMemoryStream& Stream, R Reader, bool Native, bool Bare, Integer Index) {
  for (bool Preview : {true, false}) {
    TIOParamsVals Params;
    Params.NativePixelFormat = Native;
    Params.IcoImageIndex = Params.CurImageIndex = Index;
    TIEBitmap Bitmap;
    std::unique_ptr<TIEMask> Alpha;
    TIELocalProgress Local;
    Stream.SetPosition(0);
    Reader(&Stream, &Bitmap, Params, Preview, Local.Progress, Alpha, false, Bare);
    if (Preview || Local.Aborting) continue;
    Touch(Bitmap, Alpha.get());
    if (!Bare) WriteBack(Bitmap, Alpha.get());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  TMemoryStream Stream;
  fuzz::FillStream(Stream, Data, Size);
  fuzz::Refusable([&] {
    Stream.SetPosition(0);
    (void)IcoIsFile(&Stream);
    (void)CurIsFile(&Stream);
    const Integer Index = Size > 0 ? Data[Size - 1] % 3 : 0;
    for (bool Native : {false, true}) {
      Run(Stream, IcoReadStream, Native, false, Index);
      Run(Stream, CurReadStream, Native, false, Index);
    }
    Run(Stream, IcoReadStream, false, true, 0);
    Run(Stream, CurReadStream, false, true, 0);
  });
  return 0;
}

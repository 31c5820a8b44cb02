// The TIFF reader end to end over any bytes: the parameters, the first pages with and without
// the native pixel formats, a sub-directory, one tile and the EXIF thumbnail mode. A picture
// that loads is touched at its first and last rows; a small one is written back through the
// TIFF writer, whose output must load again at the same size.
#include <memory>

#include "fuzz/FuzzSupport.h"
#include "imaging/core/iebitmap.h"
#include "imaging/core/iemask.h"
#include "imaging/formats/ieformats.h"
#include "imaging/io/ieiolibrary.h"
#include "imaging/io/tifccitt.h"
#include "imaging/io/tiffilt.h"
#include "imaging/io/zezudidioparams.h"

namespace {

constexpr Integer MaxPagesRead = 4;
// Pictures small enough to be written back on every run.
constexpr Int64 MaxWrittenPixels = 1 << 16;

struct TPageRead {
  Integer PageCount = 0;
  bool Loaded = false;
};

TPageRead Read(TMemoryStream& Stream, TIEBitmap& Bitmap, TIOParamsVals& Params, bool ParamsOnly,
               bool Thumbnail) {
  TIELocalProgress Local;
  std::unique_ptr<TIEMask> AlphaMask;
  TPageRead Result;
  Stream.SetPosition(0);
  TiffReadStream(&Bitmap, &Stream, Result.PageCount, Params, Local.Progress, ParamsOnly, AlphaMask, true,
                 Thumbnail, Thumbnail);
  Result.Loaded = !Local.Aborting && !Bitmap.IsEmpty();
  if (AlphaMask && Result.Loaded &&
      (AlphaMask->GetWidth() != Bitmap.GetWidth() || AlphaMask->GetHeight() != Bitmap.GetHeight()))
    __builtin_trap();
  return Result;
}

void Touch(TIEBitmap& Bitmap) {
  const Integer Last = Bitmap.GetRowLen() - 1;
  (void)static_cast<volatile Byte*>(Bitmap.GetScanline(0))[Last];
  (void)static_cast<volatile Byte*>(Bitmap.GetScanline(Bitmap.GetHeight() - 1))[Last];
}

void WriteBack(TIEBitmap& Bitmap) {
  if (static_cast<Int64>(Bitmap.GetWidth()) * Bitmap.GetHeight() > MaxWrittenPixels) return;
  TMemoryStream Out;
  TIOParamsVals Params;
  TIELocalProgress Local;
  TiffWriteStream(&Out, false, &Bitmap, Params, Local.Progress);
  if (Local.Aborting) __builtin_trap();
  TIOParamsVals AgainParams;
  TIEBitmap Again;
  if (!Read(Out, Again, AgainParams, false, false).Loaded) __builtin_trap();
  if (Again.GetWidth() != Bitmap.GetWidth() || Again.GetHeight() != Bitmap.GetHeight()) __builtin_trap();
}

// One page as a picture; the first of them is written back.
void ReadPage(TMemoryStream& Stream, Integer Page, bool Native, bool& WrittenBack) {
  TIOParamsVals Params;
  Params.SetImageIndex(Page);
  Params.NativePixelFormat = Native;
  TIEBitmap Bitmap;
  if (!Read(Stream, Bitmap, Params, false, false).Loaded) return;
  Touch(Bitmap);
  if (!WrittenBack) WriteBack(Bitmap);
  WrittenBack = true;
}

void ReadPart(TMemoryStream& Stream, Integer SubIndex, Integer TileIndex, bool Thumbnail) {
  TIOParamsVals Params;
  Params.TiffSubIndex = SubIndex;
  Params.TiffTileIndex = TileIndex;
  Params.SetImageIndex(Thumbnail ? 1 : 0);
  TIEBitmap Bitmap;
  if (Read(Stream, Bitmap, Params, false, Thumbnail).Loaded) Touch(Bitmap);
}

void Run(TMemoryStream& Stream) {
  TIOParamsVals Params;
  TIEBitmap Unused;
  const Integer Pages = Read(Stream, Unused, Params, true, false).PageCount;
  bool WrittenBack = false;
  for (Integer Page = 0; Page < std::min(Pages, MaxPagesRead); ++Page) {
    ReadPage(Stream, Page, false, WrittenBack);
    ReadPage(Stream, Page, true, WrittenBack);
  }
  ReadPart(Stream, 0, -1, false);
  ReadPart(Stream, -1, 0, false);
  ReadPart(Stream, -1, -1, true);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  IEFormatsInstall();
  IOLibraryInitialize();
  CCITTInitialize();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  TMemoryStream Stream;
  fuzz::FillStream(Stream, Data, Size);
  fuzz::Refusable([&] { Run(Stream); });
  return 0;
}

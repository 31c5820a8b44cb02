// The TIFF filter as the imaging core's EXIF procedures. The core hands over its own
// parameter objects, which know the EXIF fields but not the TIFF filter's options: those go
// through a parameters object of the filter and back.
#include "imaging/core/ieexif.h"
#include "imaging/core/iemask.h"
#include "imaging/io/tiffilt.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/ScopeExit.h"
#include "platform/system/Streams.h"

namespace {

TIEExifProcs CoreExifProcs{};
bool ExifProcsInstalled = false;

// The reading the core asks for: the tags of a page, or (not ParamsOnly) a thumbnail page.
void ReadPage(TIEBitmap* Bitmap, TStream* Stream, TIOParamsVals& IOParams, TIEIOProgress& Progress,
              bool ParamsOnly) {
  Integer PageCount = 0;
  std::unique_ptr<TIEMask> NoAlpha;
  TiffReadStream(Bitmap, Stream, PageCount, IOParams, Progress, ParamsOnly, NoAlpha, /*RelativeOffsets=*/true,
                 /*IgnoreAlpha=*/true, /*Thumbnail=*/!ParamsOnly);
}

// The structure starts at the stream position, which the core expects unchanged afterwards.
void ExifTiffRead(TIEBitmap* Bitmap, TStream* Stream, TIEMetaParams& Params, TIEIOProgress& Progress,
                  bool ParamsOnly) {
  const Int64 Position = Stream->GetPosition();
  auto Restore = ScopeExit([&] { Stream->Seek(Position, soBeginning); });
  if (auto* IOParams = dynamic_cast<TIOParamsVals*>(&Params)) {
    ReadPage(Bitmap, Stream, *IOParams, Progress, ParamsOnly);
    return;
  }
  TIOParamsVals Scratch;
  Scratch.SetImageIndex(Params.TiffImageIndex);
  ReadPage(Bitmap, Stream, Scratch, Progress, ParamsOnly);
  if (!ParamsOnly) return;
  IECopyEXIF(Scratch, Params);
  Params.TiffImageDescription = Scratch.TiffImageDescription;
  Params.TiffCompression = Scratch.TiffCompression;
  // The copy above truncates the resolution; the reader's DPI is the rounded one.
  Params.DpiX = Scratch.DpiX;
  Params.DpiY = Scratch.DpiY;
}

Integer ExifTiffWrite(TStream* Stream, bool Append, TIEBitmap* Bitmap, TIEMetaParams& Params,
                      TIEIOProgress& Progress) {
  if (auto* IOParams = dynamic_cast<TIOParamsVals*>(&Params))
    return TiffWriteStream(Stream, Append, Bitmap, *IOParams, Progress);
  TIOParamsVals Scratch;
  IECopyEXIF(Params, Scratch);
  Scratch.DpiX = Params.DpiX;
  Scratch.DpiY = Params.DpiY;
  Scratch.TiffImageDescription = Params.TiffImageDescription;
  Scratch.SetImageIndex(Params.TiffImageIndex);
  Scratch.TiffCompression = Params.TiffCompression;
  return TiffWriteStream(Stream, Append, Bitmap, Scratch, Progress);
}

}  // namespace

void TiffInstallExifProcs() {
  if (!ExifProcsInstalled) CoreExifProcs = IEExifProcs;
  ExifProcsInstalled = true;
  IEExifProcs.TiffReadStream = ExifTiffRead;
  IEExifProcs.TiffWriteStream = ExifTiffWrite;
}

void TiffRemoveExifProcs() {
  if (!ExifProcsInstalled) return;
  IEExifProcs.TiffReadStream = CoreExifProcs.TiffReadStream;
  IEExifProcs.TiffWriteStream = CoreExifProcs.TiffWriteStream;
  ExifProcsInstalled = false;
}

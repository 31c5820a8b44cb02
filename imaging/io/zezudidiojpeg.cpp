// TZezudIdIO's JPEG operations: loads through the JPEG reader, saves with the metadata markers
// rebuilt first, and the 12-byte "JFIF" stream header.
#include "imaging/core/iebitmap.h"
#include "imaging/core/iestreams.h"
#include "imaging/io/ieiolibrary.h"
#include "imaging/io/iejpegmetadata.h"
#include "imaging/io/iestreamheader.h"
#include "imaging/io/jpegfilt.h"
#include "imaging/io/zezudidio.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/ScopeExit.h"

namespace {

void ReadJpeg(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& Params, TIEIOProgress& Progress) {
  JpegReadStream(Stream, nullptr, Bitmap, Params, Progress, /*Preview=*/false, /*RawYCbCr=*/false,
                 /*ReadMetadata=*/true, /*InvertCMYK=*/false, /*DropAppliedICC=*/true,
                 /*ReadICCProfile=*/true,
                 /*MaxRows=*/-1, Params.NativePixelFormat);
}

void WriteJpeg(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& Params, TIEIOProgress& Progress) {
  IEUpdateJpegMetadataMarkers(Params);
  JpegWriteStream(Stream, Bitmap, Params, Progress);
}

}  // namespace

void TZezudIdIO::LoadFromFileJpeg(const std::u16string& FileName) {
  if (HandToThread(&TZezudIdIO::LoadFromFileJpeg, FileName)) return;
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  const auto File = OpenFileForLoad(FileName);
  if (!BeginLoad()) return;
  TIEIOProgress Progress = MakeProgress();
  TIEBufferedReadStream Buffered(File.get(), 8192, IERelativeStreamOrigin);
  ReadJpeg(&Buffered, FIEBitmap, *FParams, Progress);
  EndLoad(FileName, ioJPEG);
}

void TZezudIdIO::LoadFromStreamJpeg(TStream* Stream) {
  if (HandToThread(&TZezudIdIO::LoadFromStreamJpeg, Stream)) return;
  SetAborting(false);
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  if (!BeginLoad()) return;
  TIEIOProgress Progress = MakeProgress();
  // A "JFIF" header is recognised whatever StreamHeaders says.
  const Int64 Start = Stream->GetPosition();
  TIEStreamHeader Header;
  const bool Headed = IEReadStreamHeader(Stream, Header) && Header.HasMagic("JFIF");
  if (!Headed) Stream->SetPosition(Start);
  ReadJpeg(Stream, FIEBitmap, *FParams, Progress);
  if (Headed) Stream->SetPosition(IEStreamHeaderDataEnd(Stream, Start, Header.Length));
  EndLoad({}, ioJPEG);
}

void TZezudIdIO::SaveToFileJpeg(const std::u16string& FileName) {
  if (HandToThread(&TZezudIdIO::SaveToFileJpeg, FileName)) return;
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  // Nothing to save: the old file stays and the save fails.
  if (!PictureReady()) return;
  WriteReplacingFile(FileName, [this](TStream* Stream) {
    ConvertForWriter();
    UpdatePhotoshopResolution();
    TIEIOProgress Progress = MakeProgress();
    WriteJpeg(Stream, FIEBitmap, *FParams, Progress);
  });
  FParams->FileName = FileName;
  FParams->FileType = ioJPEG;
}

void TZezudIdIO::SaveToStreamJpeg(TStream* Stream) {
  if (HandToThread(&TZezudIdIO::SaveToStreamJpeg, Stream)) return;
  SetAborting(false);
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  if (!PictureReady()) return;
  ConvertForWriter();
  UpdatePhotoshopResolution();
  TIEIOProgress Progress = MakeProgress();
  const Int64 Start = Stream->GetPosition();
  if (FStreamHeaders) IEReserveStreamHeader(Stream);
  WriteJpeg(Stream, FIEBitmap, *FParams, Progress);
  // The header is written whatever the writer's outcome.
  if (FStreamHeaders) IEWriteStreamHeader(Stream, Start, "JFIF");
}

void TZezudIdIO::UpdatePhotoshopResolution() {
  IEUpdatePhotoshopResolution(*FParams);
}

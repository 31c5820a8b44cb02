// TZezudIdIO's TIFF operations over the TIFF filter; the stream worker is shared by the file
// and the stream loads. Offsets of a TIFF behind a stream header count from the stream's
// start, as the writer puts them; a headerless TIFF counts from its own first byte.
#include "imaging/core/iebitmap.h"
#include "imaging/core/iemask.h"
#include "imaging/core/iestreams.h"
#include "imaging/io/ieiolibrary.h"
#include "imaging/io/iestreamheader.h"
#include "imaging/io/tiffilt.h"
#include "imaging/io/zezudidio.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/ScopeExit.h"

namespace {

constexpr Integer TiffReadBufferSize = 8192;

}  // namespace

Integer TZezudIdIO::ReadTIFFStream(TStream* Stream, bool HasHeader) {
  SetAborting(false);
  if (!BeginLoad()) return 0;
  const Int64 Start = Stream->GetPosition();
  Int64 DataEnd = -1;
  if (HasHeader) {
    TIEStreamHeader Header;
    if (!IEReadStreamHeader(Stream, Header) || !Header.HasMagic("TIFF")) {
      SetAborting(true);
      return 0;
    }
    DataEnd = IEStreamHeaderDataEnd(Stream, Start, Header.Length);
  }
  Integer PageCount = 0;
  {
    TIEBufferedReadStream Buffered(Stream, TiffReadBufferSize, IERelativeStreamOrigin && !HasHeader);
    TIEIOProgress Progress = MakeProgress();
    std::unique_ptr<TIEMask> AlphaMask;
    TiffReadStream(FIEBitmap, &Buffered, PageCount, *FParams, Progress, /*ParamsOnly=*/false, AlphaMask,
                   /*RelativeOffsets=*/!HasHeader, /*IgnoreAlpha=*/false, /*Thumbnail=*/false);
    if (AlphaMask) FIEBitmap->GetAlphaChannel()->CopyFromTIEMask(AlphaMask.get());
  }
  if (HasHeader) Stream->SetPosition(DataEnd);
  EndLoad({}, ioTIFF);
  return PageCount;
}

void TZezudIdIO::WriteTIFFStream(TStream* Stream) {
  TIEIOProgress Progress = MakeProgress();
  TiffWriteStream(Stream, /*Append=*/false, FIEBitmap, *FParams, Progress);
}

Integer TZezudIdIO::LoadFromFileTIFF(const std::u16string& FileName) {
  if (HandToThread(&TZezudIdIO::LoadFromFileTIFF, FileName)) return -1;
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  TIEWideFileStream File(FileName, fmOpenRead | fmShareDenyWrite);
  const Integer PageCount = ReadTIFFStream(&File, false);
  FParams->FileName = FileName;
  return PageCount;
}

Integer TZezudIdIO::LoadFromStreamTIFF(TStream* Stream) {
  if (HandToThread(&TZezudIdIO::LoadFromStreamTIFF, Stream)) return -1;
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  return ReadTIFFStream(Stream, FStreamHeaders);
}

void TZezudIdIO::SaveToFileTIFF(const std::u16string& FileName) {
  if (HandToThread(&TZezudIdIO::SaveToFileTIFF, FileName)) return;
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  if (!PictureReady()) return;
  WriteReplacingFile(FileName, [this](TStream* Stream) { WriteTIFFStream(Stream); });
  FParams->FileName = FileName;
  FParams->FileType = ioTIFF;
}

void TZezudIdIO::SaveToStreamTIFF(TStream* Stream) {
  if (HandToThread(&TZezudIdIO::SaveToStreamTIFF, Stream)) return;
  SetAborting(false);
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  if (!PictureReady()) return;
  const Int64 Start = Stream->GetPosition();
  if (FStreamHeaders) IEReserveStreamHeader(Stream);
  WriteTIFFStream(Stream);
  // The header is written whatever the writer's outcome.
  if (FStreamHeaders) IEWriteStreamHeader(Stream, Start, "TIFF");
}

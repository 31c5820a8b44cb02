// TZezudIdIO's PCX and DCX operations over the PCX filter. PCX streams may carry the 12-byte
// "PCX2" stream header or the older 4-byte "PCX" one; DCX saves rebuild the whole container.
#include "imaging/core/iebitmap.h"
#include "imaging/core/iestreams.h"
#include "imaging/io/iestreamheader.h"
#include "imaging/io/pcxfilter.h"
#include "imaging/io/zezudidio.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/ScopeExit.h"

namespace {

constexpr Integer OldPcxHeaderSize = 4;

}  // namespace

void TZezudIdIO::ReadPCXStream(TStream* Stream, bool HasHeader) {
  SetAborting(false);
  if (!BeginLoad()) return;
  const Int64 Start = Stream->GetPosition();
  // The reader cuts this to the bytes the stream still holds.
  Int64 DataLength = Stream->GetSize();
  Int64 DataEnd = -1;
  if (HasHeader) {
    TIEStreamHeader Header;
    if (!IEReadStreamHeader(Stream, Header) || !Header.HasMagic("PCX")) {
      SetAborting(true);
      return;
    }
    if (Header.HasMagic("PCX2")) {
      DataLength = Header.Length;
      DataEnd = IEStreamHeaderDataEnd(Stream, Start, Header.Length);
    } else {
      Stream->SetPosition(Start + OldPcxHeaderSize);
    }
  }
  TIEIOProgress Progress = MakeProgress();
  PcxReadStream(Stream, FIEBitmap, *FParams, DataLength, Progress, /*Preview=*/false);
  if (DataEnd >= 0) Stream->SetPosition(DataEnd);
  EndLoad({}, ioPCX);
}

void TZezudIdIO::WritePCXStream(TStream* Stream) {
  ConvertForWriter();
  TIEIOProgress Progress = MakeProgress();
  PcxWriteStream(Stream, FIEBitmap, *FParams, Progress);
}

void TZezudIdIO::ReadDCXStream(TStream* Stream) {
  SetAborting(false);
  if (!BeginLoad()) return;
  TIEIOProgress Progress = MakeProgress();
  DcxReadStream(Stream, FIEBitmap, *FParams, Progress, /*Preview=*/false);
  EndLoad({}, ioDCX);
}

void TZezudIdIO::WriteDCXStream(TStream* Stream) {
  SetAborting(false);
  if (!PictureReady()) return;
  TIEIOProgress Progress = MakeProgress();
  DcxWriteStream(Stream, FIEBitmap, *FParams, Progress);
}

void TZezudIdIO::LoadFromFilePCX(const std::u16string& FileName) {
  if (HandToThread(&TZezudIdIO::LoadFromFilePCX, FileName)) return;
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  TIEWideFileStream File(FileName, fmOpenRead | fmShareDenyWrite);
  ReadPCXStream(&File, false);
  FParams->FileName = FileName;
}

void TZezudIdIO::LoadFromStreamPCX(TStream* Stream) {
  if (HandToThread(&TZezudIdIO::LoadFromStreamPCX, Stream)) return;
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  ReadPCXStream(Stream, FStreamHeaders);
}

void TZezudIdIO::SaveToFilePCX(const std::u16string& FileName) {
  if (HandToThread(&TZezudIdIO::SaveToFilePCX, FileName)) return;
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  if (!PictureReady()) return;
  WriteReplacingFile(FileName, [this](TStream* Stream) { WritePCXStream(Stream); });
  FParams->FileName = FileName;
  FParams->FileType = ioPCX;
}

void TZezudIdIO::SaveToStreamPCX(TStream* Stream) {
  if (HandToThread(&TZezudIdIO::SaveToStreamPCX, Stream)) return;
  SetAborting(false);
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  if (!PictureReady()) return;
  const Int64 Start = Stream->GetPosition();
  if (FStreamHeaders) IEReserveStreamHeader(Stream);
  WritePCXStream(Stream);
  // A failed write keeps its placeholder: no header announces broken data.
  if (FStreamHeaders && !GetAborting()) IEWriteStreamHeader(Stream, Start, "PCX2");
}

void TZezudIdIO::LoadFromFileDCX(const std::u16string& FileName) {
  if (HandToThread(&TZezudIdIO::LoadFromFileDCX, FileName)) return;
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  TIEWideFileStream File(FileName, fmOpenRead | fmShareDenyWrite);
  ReadDCXStream(&File);
  FParams->FileName = FileName;
}

void TZezudIdIO::LoadFromStreamDCX(TStream* Stream) {
  if (HandToThread(&TZezudIdIO::LoadFromStreamDCX, Stream)) return;
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  ReadDCXStream(Stream);
}

void TZezudIdIO::SaveToFileDCX(const std::u16string& FileName) {
  if (HandToThread(&TZezudIdIO::SaveToFileDCX, FileName)) return;
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  if (!PictureReady()) return;
  WriteReplacingFile(FileName, [this](TStream* Stream) { WriteDCXStream(Stream); });
  FParams->FileName = FileName;
  FParams->FileType = ioDCX;
}

void TZezudIdIO::SaveToStreamDCX(TStream* Stream) {
  if (HandToThread(&TZezudIdIO::SaveToStreamDCX, Stream)) return;
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  Stream->SetSize(0);
  WriteDCXStream(Stream);
}

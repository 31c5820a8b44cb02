// TZezudIdIO's BMP operations over the further-formats library's BMP reader and writer; the
// stream workers are shared by the file and the stream operations.
#include "imaging/core/iebitmap.h"
#include "imaging/core/iemask.h"
#include "imaging/core/iestreams.h"
#include "imaging/io/zezudidio.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/ScopeExit.h"

void TZezudIdIO::ReadBMPStream(TStream* Stream) {
  SetAborting(false);
  if (!BeginLoad()) return;
  // Without the further-formats library there is no BMP reader: the load fails.
  if (!IEFormatProcs.BmpReadStream) {
    SetAborting(true);
    return;
  }
  TIEIOProgress Progress = MakeProgress();
  std::unique_ptr<TIEMask> AlphaMask;
  IEFormatProcs.BmpReadStream(Stream, FIEBitmap, 0, *FParams, Progress, /*Preview=*/false,
                              /*NoFileHeader=*/false, AlphaMask, !FParams->BmpHandleAlpha);
  if (AlphaMask) FIEBitmap->GetAlphaChannel()->CopyFromTIEMask(AlphaMask.get());
  EndLoad({}, ioBMP);
}

void TZezudIdIO::WriteBMPStream(TStream* Stream) {
  SetAborting(false);
  if (!PictureReady()) return;
  if (!IEFormatProcs.BmpWriteStream) {
    SetAborting(true);
    return;
  }
  TIEIOProgress Progress = MakeProgress();
  IEFormatProcs.BmpWriteStream(Stream, FIEBitmap, *FParams, Progress, FParams->BmpHandleAlpha);
}

void TZezudIdIO::LoadFromFileBMP(const std::u16string& FileName) {
  if (HandToThread(&TZezudIdIO::LoadFromFileBMP, FileName)) return;
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  TIEWideFileStream File(FileName, fmOpenRead | fmShareDenyWrite);
  ReadBMPStream(&File);
  FParams->FileName = FileName;
}

void TZezudIdIO::LoadFromStreamBMP(TStream* Stream) {
  if (HandToThread(&TZezudIdIO::LoadFromStreamBMP, Stream)) return;
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  ReadBMPStream(Stream);
}

void TZezudIdIO::SaveToFileBMP(const std::u16string& FileName) {
  if (HandToThread(&TZezudIdIO::SaveToFileBMP, FileName)) return;
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  if (!PictureReady()) return;
  WriteReplacingFile(FileName, [this](TStream* Stream) { WriteBMPStream(Stream); });
  FParams->FileName = FileName;
  FParams->FileType = ioBMP;
}

void TZezudIdIO::SaveToStreamBMP(TStream* Stream) {
  if (HandToThread(&TZezudIdIO::SaveToStreamBMP, Stream)) return;
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  WriteBMPStream(Stream);
}

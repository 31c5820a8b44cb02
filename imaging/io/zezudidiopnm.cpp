// TZezudIdIO's PNM and WBMP operations over the further-formats library's filters.
#include "imaging/core/iebitmap.h"
#include "imaging/core/iestreams.h"
#include "imaging/io/zezudidio.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/ScopeExit.h"

void TZezudIdIO::ReadFilterStream(TStream* Stream, TIEReadFunction Read, TIEFileType FileType) {
  SetAborting(false);
  if (!BeginLoad()) return;
  // Without the further-formats library there is no reader: the load fails.
  if (!Read) {
    SetAborting(true);
    return;
  }
  TIEIOProgress Progress = MakeProgress();
  Read(Stream, FIEBitmap, *FParams, Progress, /*Preview=*/false);
  EndLoad({}, FileType);
}

void TZezudIdIO::WriteFilterStream(TStream* Stream, TIEWriteFunction Write) {
  SetAborting(false);
  if (!PictureReady()) return;
  if (!Write) {
    SetAborting(true);
    return;
  }
  TIEIOProgress Progress = MakeProgress();
  Write(Stream, FIEBitmap, *FParams, Progress);
}

void TZezudIdIO::LoadFromFilePXM(const std::u16string& FileName) {
  if (HandToThread(&TZezudIdIO::LoadFromFilePXM, FileName)) return;
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  TIEWideFileStream File(FileName, fmOpenRead | fmShareDenyWrite);
  ReadFilterStream(&File, IEFormatProcs.PnmReadStream, ioPXM);
  FParams->FileName = FileName;
}

void TZezudIdIO::LoadFromStreamPXM(TStream* Stream) {
  if (HandToThread(&TZezudIdIO::LoadFromStreamPXM, Stream)) return;
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  ReadFilterStream(Stream, IEFormatProcs.PnmReadStream, ioPXM);
}

void TZezudIdIO::SaveToFilePXM(const std::u16string& FileName) {
  if (HandToThread(&TZezudIdIO::SaveToFilePXM, FileName)) return;
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  if (!PictureReady()) return;
  WriteReplacingFile(FileName,
                     [this](TStream* Stream) { WriteFilterStream(Stream, IEFormatProcs.PnmWriteStream); });
  FParams->FileName = FileName;
  FParams->FileType = ioPXM;
}

void TZezudIdIO::SaveToStreamPXM(TStream* Stream) {
  if (HandToThread(&TZezudIdIO::SaveToStreamPXM, Stream)) return;
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  WriteFilterStream(Stream, IEFormatProcs.PnmWriteStream);
}

void TZezudIdIO::LoadFromFileWBMP(const std::u16string& FileName) {
  if (HandToThread(&TZezudIdIO::LoadFromFileWBMP, FileName)) return;
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  TIEWideFileStream File(FileName, fmOpenRead | fmShareDenyWrite);
  ReadFilterStream(&File, IEFormatProcs.WbmpReadStream, ioWBMP);
  FParams->FileName = FileName;
}

void TZezudIdIO::LoadFromStreamWBMP(TStream* Stream) {
  if (HandToThread(&TZezudIdIO::LoadFromStreamWBMP, Stream)) return;
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  ReadFilterStream(Stream, IEFormatProcs.WbmpReadStream, ioWBMP);
}

void TZezudIdIO::SaveToFileWBMP(const std::u16string& FileName) {
  if (HandToThread(&TZezudIdIO::SaveToFileWBMP, FileName)) return;
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  if (!PictureReady()) return;
  WriteReplacingFile(FileName,
                     [this](TStream* Stream) { WriteFilterStream(Stream, IEFormatProcs.WbmpWriteStream); });
  FParams->FileName = FileName;
  FParams->FileType = ioWBMP;
}

void TZezudIdIO::SaveToStreamWBMP(TStream* Stream) {
  if (HandToThread(&TZezudIdIO::SaveToStreamWBMP, Stream)) return;
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  WriteFilterStream(Stream, IEFormatProcs.WbmpWriteStream);
}

// TZezudIdIO's JPEG 2000 operations over the further-formats library's filter: the JP2 file
// (container 0) and the bare code stream (container 1). Either loader reads both.
#include "imaging/core/iebitmap.h"
#include "imaging/core/iestreams.h"
#include "imaging/io/ieioprogress.h"
#include "imaging/io/zezudidio.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/ScopeExit.h"

namespace {

constexpr Integer Jp2Container = 0;
constexpr Integer CodeStreamContainer = 1;

}  // namespace

void TZezudIdIO::ReadJ2000Stream(TStream* Stream, TIEFileType FileType) {
  SetAborting(false);
  if (!BeginLoad()) return;
  // Without the further-formats library there is no JPEG 2000 reader: the load fails.
  if (!IEFormatProcs.Jpeg2000ReadStream) {
    SetAborting(true);
    return;
  }
  TIEIOProgress Progress = MakeProgress();
  IEFormatProcs.Jpeg2000ReadStream(Stream, FIEBitmap, *FParams, /*Preview=*/false, Progress);
  EndLoad({}, FileType);
}

void TZezudIdIO::WriteJ2000Stream(TStream* Stream, Integer Container) {
  SetAborting(false);
  if (!PictureReady()) return;
  if (!IEFormatProcs.Jpeg2000WriteStream) {
    SetAborting(true);
    return;
  }
  ConvertForWriter();
  TIEIOProgress Progress = MakeProgress();
  IEFormatProcs.Jpeg2000WriteStream(Stream, FIEBitmap, *FParams, Container, Progress);
}

void TZezudIdIO::LoadFromFileJ2000(const std::u16string& FileName, TIEFileType FileType) {
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  TIEWideFileStream File(FileName, fmOpenRead | fmShareDenyWrite);
  ReadJ2000Stream(&File, FileType);
  FParams->FileName = FileName;
}

void TZezudIdIO::SaveToFileJ2000(const std::u16string& FileName, TIEFileType FileType) {
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  if (!PictureReady()) return;
  const Integer Container = FileType == ioJ2K ? CodeStreamContainer : Jp2Container;
  WriteReplacingFile(FileName, [this, Container](TStream* Stream) { WriteJ2000Stream(Stream, Container); });
  FParams->FileName = FileName;
  FParams->FileType = FileType;
}

void TZezudIdIO::LoadFromFileJP2(const std::u16string& FileName) {
  if (HandToThread(&TZezudIdIO::LoadFromFileJP2, FileName)) return;
  LoadFromFileJ2000(FileName, ioJP2);
}

void TZezudIdIO::LoadFromFileJ2K(const std::u16string& FileName) {
  if (HandToThread(&TZezudIdIO::LoadFromFileJ2K, FileName)) return;
  LoadFromFileJ2000(FileName, ioJ2K);
}

void TZezudIdIO::LoadFromStreamJP2(TStream* Stream) {
  if (HandToThread(&TZezudIdIO::LoadFromStreamJP2, Stream)) return;
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  ReadJ2000Stream(Stream, ioJP2);
}

void TZezudIdIO::LoadFromStreamJ2K(TStream* Stream) {
  if (HandToThread(&TZezudIdIO::LoadFromStreamJ2K, Stream)) return;
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  ReadJ2000Stream(Stream, ioJ2K);
}

void TZezudIdIO::SaveToFileJP2(const std::u16string& FileName) {
  if (HandToThread(&TZezudIdIO::SaveToFileJP2, FileName)) return;
  SaveToFileJ2000(FileName, ioJP2);
}

void TZezudIdIO::SaveToFileJ2K(const std::u16string& FileName) {
  if (HandToThread(&TZezudIdIO::SaveToFileJ2K, FileName)) return;
  SaveToFileJ2000(FileName, ioJ2K);
}

void TZezudIdIO::SaveToStreamJP2(TStream* Stream) {
  if (HandToThread(&TZezudIdIO::SaveToStreamJP2, Stream)) return;
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  WriteJ2000Stream(Stream, Jp2Container);
}

void TZezudIdIO::SaveToStreamJ2K(TStream* Stream) {
  if (HandToThread(&TZezudIdIO::SaveToStreamJ2K, Stream)) return;
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  WriteJ2000Stream(Stream, CodeStreamContainer);
}

// TZezudIdIO's camera raw loads over the further-formats library's reader. Camera raw is read
// only. The loads go through the registry: a program that replaced the built-in row for the
// "RAW" extension gets its own reader.
#include "imaging/core/iestreams.h"
#include "imaging/io/zezudidio.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/ScopeExit.h"

void TZezudIdIO::ReadCameraRawStream(TStream* Stream) {
  SetAborting(false);
  const TIEFileType Registered = IEFileTypeOfExtension("RAW");
  if (Registered != ioRAW) {
    LoadFromStreamFormat(Stream, Registered);
    return;
  }
  if (!BeginLoad()) return;
  // Without the further-formats library there is no camera raw reader: the load fails.
  if (!IEFormatProcs.CameraRawReadStream) {
    SetAborting(true);
    return;
  }
  TIEIOProgress Progress = MakeProgress();
  IEFormatProcs.CameraRawReadStream(Stream, FIEBitmap, *FParams, Progress, /*Preview=*/false);
  EndLoad({}, ioRAW);
}

void TZezudIdIO::LoadFromFileCameraRaw(const std::u16string& FileName) {
  if (HandToThread(&TZezudIdIO::LoadFromFileCameraRaw, FileName)) return;
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  TIEWideFileStream File(FileName, fmOpenRead | fmShareDenyWrite);
  ReadCameraRawStream(&File);
  FParams->FileName = FileName;
}

void TZezudIdIO::LoadFromStreamCameraRaw(TStream* Stream) {
  if (HandToThread(&TZezudIdIO::LoadFromStreamCameraRaw, Stream)) return;
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  ReadCameraRawStream(Stream);
}

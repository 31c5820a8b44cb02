// TZezudIdIO's DICOM loads over the further-formats library's DICOM reader. DICOM is read only.
// The loads keep the resolution the parameters had: the file gives none and the component
// neither defaults nor adjusts it.
#include "imaging/core/iebitmap.h"
#include "imaging/core/iestreams.h"
#include "imaging/io/ieioprogress.h"
#include "imaging/io/zezudidio.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/ScopeExit.h"

void TZezudIdIO::ReadDICOMStream(TStream* Stream) {
  if (!BeginLoad()) return;
  // Without the further-formats library there is no DICOM reader: the load fails.
  if (!IEFormatProcs.DicomReadStream) {
    SetAborting(true);
    return;
  }
  TIEIOProgress Progress = MakeProgress();
  IEFormatProcs.DicomReadStream(Stream, *FParams, FIEBitmap, Progress, /*Preview=*/false);
  FParams->FileName.clear();
  FParams->FileType = ioDICOM;
  UpdateAttachedView();
}

void TZezudIdIO::LoadFromFileDICOM(const std::u16string& FileName) {
  if (HandToThread(&TZezudIdIO::LoadFromFileDICOM, FileName)) return;
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  const std::unique_ptr<TStream> File = OpenFileForLoad(FileName);
  ReadDICOMStream(File.get());
  FParams->FileName = FileName;
}

void TZezudIdIO::LoadFromStreamDICOM(TStream* Stream) {
  if (HandToThread(&TZezudIdIO::LoadFromStreamDICOM, Stream)) return;
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  SetAborting(false);
  ReadDICOMStream(Stream);
}

// Layer and vector-object files, read into the attached view of the right kind.
#include "imaging/io/ieview.h"
#include "imaging/io/zezudidio.h"
#include "imaging/io/zezudidioparams.h"

namespace {

// Only image views take layer files, and no view reads vector objects yet.
bool ViewTakes(TIEView* View, TIEFileType FileType) {
  return FileType == ioLYR && View && View->IsImageView() && IEViewDataProcs.LoadLayersFromStream;
}

}  // namespace

void TZezudIdIO::LoadViewDataFromFile(const std::u16string& FileName, TIEFileType FileType) {
  FParams->FileType = FileType;
  if (!ViewTakes(FAttachedZezudId, FileType)) {
    SetAborting(true);  // said, rather than leaving the picture as it was under a success
    return;
  }
  const std::unique_ptr<TStream> File = OpenFileForLoad(FileName);
  LoadViewDataFromStream(File.get(), FileType);
}

void TZezudIdIO::LoadViewDataFromStream(TStream* Stream, TIEFileType FileType) {
  FParams->FileType = FileType;
  SetAborting(!ViewTakes(FAttachedZezudId, FileType) ||
              !IEViewDataProcs.LoadLayersFromStream(FAttachedZezudId, Stream));
}

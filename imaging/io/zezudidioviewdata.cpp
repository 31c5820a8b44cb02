// Layer and vector-object files, read into the attached view of the right kind.
#include "imaging/io/ieview.h"
#include "imaging/io/zezudidio.h"
#include "imaging/io/zezudidioparams.h"

namespace {

// Image views take layer files; views with vector objects take objects and combined files.
bool ViewTakes(TIEView* View, TIEFileType FileType) {
  if (!View) return false;
  const TIEViewDataProcs& P = IEViewDataProcs;
  if (FileType == ioLYR) return View->IsImageView() && P.LoadLayersFromStream;
  if (FileType == ioIEV || FileType == ioALL)
    return P.TakesObjects && P.TakesObjects(View) && P.LoadObjectsFromFile && P.LoadObjectsFromStream;
  return false;
}

}  // namespace

void TZezudIdIO::LoadViewDataFromFile(const std::u16string& FileName, TIEFileType FileType) {
  FParams->FileType = FileType;
  if (!ViewTakes(FAttachedZezudId, FileType)) {
    SetAborting(true);  // said, rather than leaving the picture as it was under a success
    return;
  }
  if (FileType == ioIEV) {
    SetAborting(!IEViewDataProcs.LoadObjectsFromFile(FAttachedZezudId, FileName));
    return;
  }
  const std::unique_ptr<TStream> File = OpenFileForLoad(FileName);
  LoadViewDataFromStream(File.get(), FileType);
}

void TZezudIdIO::LoadViewDataFromStream(TStream* Stream, TIEFileType FileType) {
  FParams->FileType = FileType;
  if (!ViewTakes(FAttachedZezudId, FileType)) {
    SetAborting(true);
    return;
  }
  if (FileType == ioLYR)
    SetAborting(!IEViewDataProcs.LoadLayersFromStream(FAttachedZezudId, Stream));
  else
    SetAborting(!IEViewDataProcs.LoadObjectsFromStream(FAttachedZezudId, Stream, FileType == ioALL));
}

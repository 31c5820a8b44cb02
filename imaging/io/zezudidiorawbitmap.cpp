// TZezudIdIO's headerless-raw loads over the further-formats library's reader. The data says
// nothing about itself: the caller allocates the picture and describes the layout in the
// parameters, so the load takes no resolution steps.
#include "imaging/core/iebitmap.h"
#include "imaging/core/iestreams.h"
#include "imaging/io/zezudidio.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/ScopeExit.h"

void TZezudIdIO::ReadRawBitmapStream(TStream* Stream) {
  SetAborting(false);
  if (!BeginLoad()) return;
  if (!IEFormatProcs.HeaderlessRawReadStream) {
    SetAborting(true);
    return;
  }
  TIEIOProgress Progress = MakeProgress();
  IEFormatProcs.HeaderlessRawReadStream(Stream, FIEBitmap, *FParams, Progress);
  FParams->FileName.clear();
  FParams->FileType = ioBMPRAW;
  UpdateAttachedView();
}

void TZezudIdIO::LoadFromFileRawBitmap(const std::u16string& FileName) {
  if (FileName.empty()) return;
  if (HandToThread(&TZezudIdIO::LoadFromFileRawBitmap, FileName)) return;
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  TIEWideFileStream File(FileName, fmOpenRead | fmShareDenyWrite);
  ReadRawBitmapStream(&File);
  FParams->FileName = FileName;
}

void TZezudIdIO::LoadFromStreamRawBitmap(TStream* Stream) {
  if (HandToThread(&TZezudIdIO::LoadFromStreamRawBitmap, Stream)) return;
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  ReadRawBitmapStream(Stream);
}

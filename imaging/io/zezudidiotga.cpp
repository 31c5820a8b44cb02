// TZezudIdIO's TGA operations over the further-formats library's TGA reader and writer; the
// picture's alpha channel goes out as the writer's mask and comes back from the reader's.
#include "imaging/core/iebitmap.h"
#include "imaging/core/iemask.h"
#include "imaging/core/iestreams.h"
#include "imaging/io/ieioprogress.h"
#include "imaging/io/zezudidio.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/ScopeExit.h"

void TZezudIdIO::ReadTGAStream(TStream* Stream) {
  SetAborting(false);
  if (!BeginLoad()) return;
  // Without the further-formats library there is no TGA reader: the load fails.
  if (!IEFormatProcs.TgaReadStream) {
    SetAborting(true);
    return;
  }
  TIEIOProgress Progress = MakeProgress();
  std::unique_ptr<TIEMask> AlphaMask;
  IEFormatProcs.TgaReadStream(Stream, FIEBitmap, *FParams, Progress, /*Preview=*/false, AlphaMask,
                              /*IgnoreAlpha=*/false);
  if (AlphaMask) FIEBitmap->GetAlphaChannel()->CopyFromTIEMask(AlphaMask.get());
  EndLoad({}, ioTGA);
}

void TZezudIdIO::WriteTGAStream(TStream* Stream) {
  SetAborting(false);
  if (!PictureReady()) return;
  if (!IEFormatProcs.TgaWriteStream) {
    SetAborting(true);
    return;
  }
  ConvertForWriter();
  std::unique_ptr<TIEMask> AlphaMask;
  if (FIEBitmap->HasAlphaChannel()) {
    AlphaMask = std::make_unique<TIEMask>();
    FIEBitmap->GetAlphaChannel()->CopyToTIEMask(AlphaMask.get());
  }
  TIEIOProgress Progress = MakeProgress();
  IEFormatProcs.TgaWriteStream(Stream, FIEBitmap, *FParams, Progress, AlphaMask.get());
}

void TZezudIdIO::LoadFromFileTGA(const std::u16string& FileName) {
  if (HandToThread(&TZezudIdIO::LoadFromFileTGA, FileName)) return;
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  TIEWideFileStream File(FileName, fmOpenRead | fmShareDenyWrite);
  ReadTGAStream(&File);
  FParams->FileName = FileName;
}

void TZezudIdIO::LoadFromStreamTGA(TStream* Stream) {
  if (HandToThread(&TZezudIdIO::LoadFromStreamTGA, Stream)) return;
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  ReadTGAStream(Stream);
}

void TZezudIdIO::SaveToFileTGA(const std::u16string& FileName) {
  if (HandToThread(&TZezudIdIO::SaveToFileTGA, FileName)) return;
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  if (!PictureReady()) return;
  WriteReplacingFile(FileName, [this](TStream* Stream) { WriteTGAStream(Stream); });
  FParams->FileName = FileName;
  FParams->FileType = ioTGA;
}

void TZezudIdIO::SaveToStreamTGA(TStream* Stream) {
  if (HandToThread(&TZezudIdIO::SaveToStreamTGA, Stream)) return;
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  WriteTGAStream(Stream);
}

// TZezudIdIO's icon and cursor operations over the further-formats library's readers and icon
// writer; the transparency the readers return becomes the picture's alpha channel.
#include <span>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iemask.h"
#include "imaging/core/iestreams.h"
#include "imaging/io/zezudidio.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/ScopeExit.h"

void TZezudIdIO::ReadIconStream(TStream* Stream, TIEFileType FileType) {
  SetAborting(false);
  if (!BeginLoad()) return;
  const auto Read = FileType == ioICO ? IEFormatProcs.IcoReadStream : IEFormatProcs.CurReadStream;
  // Without the further-formats library there is no reader: the load fails.
  if (!Read) {
    SetAborting(true);
    return;
  }
  TIEIOProgress Progress = MakeProgress();
  std::unique_ptr<TIEMask> AlphaMask;
  Read(Stream, FIEBitmap, *FParams, /*Preview=*/false, Progress, AlphaMask, /*IgnoreAlpha=*/false,
       /*BareResource=*/false);
  if (AlphaMask) FIEBitmap->GetAlphaChannel()->CopyFromTIEMask(AlphaMask.get());
  EndLoad({}, FileType);
}

void TZezudIdIO::WriteICOStream(TStream* Stream) {
  SetAborting(false);
  if (!PictureReady()) return;
  if (!IEFormatProcs.IcoWriteStream) {
    SetAborting(true);
    return;
  }
  ConvertForWriter();
  size_t Count = 0;
  while (Count < FParams->IcoSizes.size() && FParams->IcoSizes[Count][0] > 0) ++Count;
  TIEIOProgress Progress = MakeProgress();
  IEFormatProcs.IcoWriteStream(Stream, FIEBitmap, *FParams, Progress,
                               std::span(FParams->IcoSizes.data(), Count),
                               std::span(FParams->IcoBitCounts.data(), Count));
}

void TZezudIdIO::LoadFromFileICO(const std::u16string& FileName) {
  if (HandToThread(&TZezudIdIO::LoadFromFileICO, FileName)) return;
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  const std::unique_ptr<TStream> File = OpenFileForLoad(FileName);
  ReadIconStream(File.get(), ioICO);
  FParams->FileName = FileName;
}

void TZezudIdIO::LoadFromStreamICO(TStream* Stream) {
  if (HandToThread(&TZezudIdIO::LoadFromStreamICO, Stream)) return;
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  ReadIconStream(Stream, ioICO);
}

void TZezudIdIO::SaveToFileICO(const std::u16string& FileName) {
  if (HandToThread(&TZezudIdIO::SaveToFileICO, FileName)) return;
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  if (!PictureReady()) return;
  WriteReplacingFile(FileName, [this](TStream* Stream) { WriteICOStream(Stream); });
  FParams->FileName = FileName;
  FParams->FileType = ioICO;
}

void TZezudIdIO::SaveToStreamICO(TStream* Stream) {
  if (HandToThread(&TZezudIdIO::SaveToStreamICO, Stream)) return;
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  WriteICOStream(Stream);
}

void TZezudIdIO::LoadFromFileCUR(const std::u16string& FileName) {
  if (HandToThread(&TZezudIdIO::LoadFromFileCUR, FileName)) return;
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  const std::unique_ptr<TStream> File = OpenFileForLoad(FileName);
  ReadIconStream(File.get(), ioCUR);
  FParams->FileName = FileName;
}

void TZezudIdIO::LoadFromStreamCUR(TStream* Stream) {
  if (HandToThread(&TZezudIdIO::LoadFromStreamCUR, Stream)) return;
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  ReadIconStream(Stream, ioCUR);
}

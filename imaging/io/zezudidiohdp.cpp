// TZezudIdIO's HD Photo operations over the further-formats library's imaging-component filter.
// Pictures go to the writer in their own pixel format: it takes every format the codec has.
#include "imaging/core/iestreams.h"
#include "imaging/io/zezudidio.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/ScopeExit.h"

void TZezudIdIO::LoadFromFileHDP(const std::u16string& FileName) {
  if (HandToThread(&TZezudIdIO::LoadFromFileHDP, FileName)) return;
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  const std::unique_ptr<TStream> File = OpenFileForLoad(FileName);
  ReadFilterStream(File.get(), IEFormatProcs.HdpReadStream, ioHDP);
  FParams->FileName = FileName;
}

void TZezudIdIO::LoadFromStreamHDP(TStream* Stream) {
  if (HandToThread(&TZezudIdIO::LoadFromStreamHDP, Stream)) return;
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  ReadFilterStream(Stream, IEFormatProcs.HdpReadStream, ioHDP);
}

void TZezudIdIO::SaveToFileHDP(const std::u16string& FileName) {
  if (HandToThread(&TZezudIdIO::SaveToFileHDP, FileName)) return;
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  if (!PictureReady()) return;
  WriteReplacingFile(FileName,
                     [this](TStream* Stream) { WriteFilterStream(Stream, IEFormatProcs.HdpWriteStream); });
  FParams->FileName = FileName;
  FParams->FileType = ioHDP;
}

void TZezudIdIO::SaveToStreamHDP(TStream* Stream) {
  if (HandToThread(&TZezudIdIO::SaveToStreamHDP, Stream)) return;
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  WriteFilterStream(Stream, IEFormatProcs.HdpWriteStream);
}

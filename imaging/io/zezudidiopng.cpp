// TZezudIdIO's PNG operations: loads through the PNG reader (the background colour travels
// through the parameters), saves through the further-formats library's PNG writer with the
// alpha channel as its mask.
#include "imaging/core/iebitmap.h"
#include "imaging/core/iemask.h"
#include "imaging/core/ieprocbase.h"
#include "imaging/io/ieioprogress.h"
#include "imaging/io/pngfilt.h"
#include "imaging/io/zezudidio.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/ScopeExit.h"

namespace {

TColor RGBToColor(const TIERGBTriple& Colour) {
  return RGB(Colour.rgbtRed, Colour.rgbtGreen, Colour.rgbtBlue);
}

// Without the further-formats library there is no PNG writer: the save fails.
void WritePng(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& Params, TIEIOProgress& Progress) {
  if (!IEFormatProcs.PngWriteStream) {
    IESetAborting(Progress);
    return;
  }
  std::unique_ptr<TIEMask> AlphaMask;
  if (Bitmap->HasAlphaChannel()) {
    AlphaMask = std::make_unique<TIEMask>();
    Bitmap->GetAlphaChannel()->CopyToTIEMask(AlphaMask.get());
  }
  IEFormatProcs.PngWriteStream(Stream, Bitmap, Params, Progress, AlphaMask.get());
}

}  // namespace

void TZezudIdIO::LoadFromFilePNG(const std::u16string& FileName) {
  if (HandToThread(&TZezudIdIO::LoadFromFilePNG, FileName)) return;
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  const auto File = OpenFileForLoad(FileName);
  if (!BeginLoad()) return;
  FParams->PngBackground = IEColorToRGB(GetBackground());
  TIEIOProgress Progress = MakeProgress();
  PngReadStream(File.get(), FIEBitmap, *FParams, Progress, false);
  SetBackground(RGBToColor(FParams->PngBackground));
  EndLoad(FileName, ioPNG);
}

void TZezudIdIO::LoadFromStreamPNG(TStream* Stream) {
  if (HandToThread(&TZezudIdIO::LoadFromStreamPNG, Stream)) return;
  SetAborting(false);
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  if (!BeginLoad()) return;
  TIEIOProgress Progress = MakeProgress();
  PngReadStream(Stream, FIEBitmap, *FParams, Progress, false);
  SetBackground(RGBToColor(FParams->PngBackground));
  EndLoad({}, ioPNG);
}

void TZezudIdIO::SaveToFilePNG(const std::u16string& FileName) {
  if (HandToThread(&TZezudIdIO::SaveToFilePNG, FileName)) return;
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  if (!PictureReady()) return;
  WriteReplacingFile(FileName, [this](TStream* Stream) {
    TIEIOProgress Progress = MakeProgress();
    WritePng(Stream, FIEBitmap, *FParams, Progress);
  });
  FParams->FileName = FileName;
  FParams->FileType = ioPNG;
}

void TZezudIdIO::SaveToStreamPNG(TStream* Stream) {
  if (HandToThread(&TZezudIdIO::SaveToStreamPNG, Stream)) return;
  SetAborting(false);
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  if (!PictureReady()) return;
  TIEIOProgress Progress = MakeProgress();
  WritePng(Stream, FIEBitmap, *FParams, Progress);
}

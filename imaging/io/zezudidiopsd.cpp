// TZezudIdIO's PSD operations over the further-formats library's PSD reader and writer. The
// layers travel as PSD layer records; an attached image view turns them into its own layers on
// a layered load and gives its layers out for a save.
#include "imaging/core/iebitmap.h"
#include "imaging/core/iestreams.h"
#include "imaging/io/ieioprogress.h"
#include "imaging/io/iepsdlayer.h"
#include "imaging/io/ieview.h"
#include "imaging/io/zezudidio.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/ScopeExit.h"

namespace {

bool IsImageView(TIEView* View) {
  return View && View->IsImageView();
}

// The only layer's transparency as the picture's alpha, placed at the layer's position.
void TakeSingleLayerAlpha(TIEBitmap* Picture, const TIEPsdLayer& Layer) {
  TIEBitmap* Source = Layer.Bitmap.get();
  if (!Source->HasAlphaChannel() || Picture->IsEmpty()) return;
  const Integer Width = Source->GetWidth() + Layer.PosX, Height = Source->GetHeight() + Layer.PosY;
  if (Width <= 0 || Height <= 0) return;
  TIEBitmap* Alpha = Picture->GetAlphaChannel();
  Alpha->Assign(Source->GetAlphaChannel());
  if (Alpha->GetWidth() == Picture->GetWidth() && Alpha->GetHeight() == Picture->GetHeight()) return;
  Alpha->Resize(Width, Height, 0, 0, 2, 2);
  Alpha->Resize(Picture->GetWidth(), Picture->GetHeight(), 0, 0, 0, 0);
}

}  // namespace

void TZezudIdIO::ReadPSDStream(TStream* Stream) {
  SetAborting(false);
  if (!BeginLoad()) return;
  if (!IEFormatProcs.PsdReadStream) {
    SetAborting(true);
    return;
  }
  const bool LoadLayers = FParams->PsdLoadLayers;
  TIEPsdLayerList Layers;
  TIEIOProgress Progress = MakeProgress();
  IEFormatProcs.PsdReadStream(Stream, FIEBitmap, *FParams, Progress, LoadLayers, &Layers);
  if (LoadLayers && IsImageView(FAttachedZezudId) && IEViewDataProcs.PsdLayersToView)
    IEViewDataProcs.PsdLayersToView(FAttachedZezudId, Layers, FParams->PsdReplaceLayers, FParams->Width,
                                    FParams->Height);
  else if (Layers.size() == 1 && !FParams->GetThumbnail)
    TakeSingleLayerAlpha(FIEBitmap, Layers.front());
  EndLoad({}, ioPSD);
}

void TZezudIdIO::WritePSDStream(TStream* Stream) {
  SetAborting(false);
  if (!PictureReady()) return;
  if (!IEFormatProcs.PsdWriteStream) {
    SetAborting(true);
    return;
  }
  TIEPsdLayerList Layers;
  TIEBitmap Merged;
  TIEBitmap* Picture = FIEBitmap;
  if (IsImageView(FAttachedZezudId) && IEViewDataProcs.PsdLayersFromView &&
      IEViewDataProcs.PsdLayersFromView(FAttachedZezudId, &Merged, Layers))
    Picture = &Merged;
  TIEIOProgress Progress = MakeProgress();
  IEFormatProcs.PsdWriteStream(Stream, *FParams, Progress, Picture, Layers);
}

void TZezudIdIO::LoadFromFilePSD(const std::u16string& FileName) {
  if (HandToThread(&TZezudIdIO::LoadFromFilePSD, FileName)) return;
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  TIEWideFileStream File(FileName, fmOpenRead | fmShareDenyWrite);
  ReadPSDStream(&File);
  FParams->FileName = FileName;
}

void TZezudIdIO::LoadFromStreamPSD(TStream* Stream) {
  if (HandToThread(&TZezudIdIO::LoadFromStreamPSD, Stream)) return;
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  ReadPSDStream(Stream);
}

void TZezudIdIO::SaveToFilePSD(const std::u16string& FileName) {
  if (HandToThread(&TZezudIdIO::SaveToFilePSD, FileName)) return;
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  if (!PictureReady()) return;
  WriteReplacingFile(FileName, [this](TStream* Stream) { WritePSDStream(Stream); });
  FParams->FileName = FileName;
  FParams->FileType = ioPSD;
}

void TZezudIdIO::SaveToStreamPSD(TStream* Stream) {
  if (HandToThread(&TZezudIdIO::SaveToStreamPSD, Stream)) return;
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  WritePSDStream(Stream);
}

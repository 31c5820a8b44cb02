// The image view's side of PSD files: PSD layer records become the view's layers on a layered
// load, and the view's layers become records, with their merged picture, on a save.
#include "imaging/core/iebitmap.h"
#include "imaging/io/iepsdlayer.h"
#include "imaging/proc/zezudidproc.h"
#include "imaging/view/zezudidview.h"

namespace {

void TakeRecord(TIELayer* Layer, const TIEPsdLayer& Record) {
  Layer->Bitmap->Assign(Record.Bitmap.get());
  Layer->PosX = Record.PosX;
  Layer->PosY = Record.PosY;
  Layer->Transparency = Record.Transparency;
  Layer->Visible = Record.Visible;
  Layer->ClipToBackground = Record.ClipToBackground;
  Layer->Name = Record.Name;
}

void TakeMask(TIELayer* Layer, const TIEPsdLayer& Record) {
  Layer->Bitmap->Assign(Record.Mask.get());
  Layer->PosX = Record.MaskX;
  Layer->PosY = Record.MaskY;
  Layer->IsMask = true;
  Layer->Visible = false;
}

// The bitmap's conversion has no kernel for a format into itself.
void ConvertTo(TIEBitmap* Bitmap, TIEPixelFormat Format) {
  if (Bitmap->GetPixelFormat() != Format) Bitmap->ConvertToPixelFormat(Format);
}

// A copy of Layer's bitmap at the size the layer is shown at.
std::unique_ptr<TIEBitmap> ShownCopy(const TIELayer& Layer) {
  auto Copy = std::make_unique<TIEBitmap>();
  Copy->Assign(Layer.Bitmap);
  const Integer Width = Layer.GetWidth(), Height = Layer.GetHeight();
  if (Width > 0 && Height > 0 && (Width != Copy->GetWidth() || Height != Copy->GetHeight()))
    TZezudIdProc::CreateFromBitmap(Copy.get())
        ->Resample(Width, Height, Layer.UseResampleFilter ? Layer.ResampleFilter : rfNone);
  return Copy;
}

}  // namespace

void TZezudIdView::LayersFromPsd(const std::vector<TIEPsdLayer>& Records, bool Replace, Integer Width,
                                 Integer Height) {
  if (Replace) LayersClear();
  if (Records.empty()) return;
  Integer Target = Replace ? 0 : LayersAdd();
  const TIEPsdLayer& First = Records.front();
  if (First.PosX != 0 || First.PosY != 0) {
    TIELayer* Background = GetLayer(Target);
    Background->Reset();
    Background->Locked = true;
    if (Background->Bitmap->Allocate(Width, Height, ie24RGB)) Background->Bitmap->GetAlphaChannel()->Fill(0);
    Target = LayersAdd();
  }
  for (size_t I = 0; I < Records.size(); ++I) {
    if (I > 0) Target = LayersAdd();
    TakeRecord(GetLayer(Target), Records[I]);
    if (Records[I].Mask) TakeMask(GetLayer(LayersAdd()), Records[I]);
  }
  Update();
}

void TZezudIdView::LayersToPsd(TIEBitmap* Merged, std::vector<TIEPsdLayer>& Records) {
  SyncCurrentLayer();
  for (const auto& Layer : FLayers) {
    if (Layer->IsMask) {
      if (Records.empty()) continue;
      Records.back().Mask = ShownCopy(*Layer);
      ConvertTo(Records.back().Mask.get(), ie8g);
      Records.back().MaskX = Layer->PosX;
      Records.back().MaskY = Layer->PosY;
      continue;
    }
    TIEPsdLayer& Record = Records.emplace_back();
    Record.Bitmap = ShownCopy(*Layer);
    Record.PosX = Layer->PosX;
    Record.PosY = Layer->PosY;
    Record.Transparency = Layer->Transparency;
    Record.Visible = Layer->Visible;
    Record.ClipToBackground = Layer->ClipToBackground;
    Record.Name = Layer->Name;
  }
  LayersDrawTo(Merged);
  ConvertTo(Merged, FLayers[0]->Bitmap->GetPixelFormat());
}

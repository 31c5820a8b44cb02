// Drawing a layer through a mask: the alpha combined with the mask stands in for the layer's
// own while it is drawn.
#include <algorithm>
#include <cmath>

#include "imaging/core/iebitmap.h"
#include "imaging/view/zezudidviewpaint.h"
#include "imaging/view/zezudidviewpaintscopes.h"

namespace {

Integer RoundToInteger(Double V) {
  return static_cast<Integer>(std::nearbyint(V));
}

// One axis of the mapping from layer pixels to mask pixels: the mask index of every layer
// index (-1 outside the mask) and whether it lies outside the background layer.
struct TMaskAxis {
  std::vector<Integer> MaskIndex;
  std::vector<bool> OutsideBackground;

  TMaskAxis(Integer LayerLen, Double LayerShown, Integer LayerPos, Integer MaskLen, Double MaskShown,
            Integer MaskPos, Integer BackgroundLen)
      : MaskIndex(LayerLen), OutsideBackground(LayerLen) {
    const Double M = MaskLen > 0 ? MaskShown / MaskLen : 1;
    const Double Scale = LayerLen > 0 ? LayerShown / LayerLen : 1;
    for (Integer K = 0; K < LayerLen; ++K) {
      const Integer I = RoundToInteger(Scale * K / M - MaskPos / M + LayerPos / M);
      MaskIndex[K] = I >= 0 && I < MaskLen ? I : -1;
      const Integer OnBackground = RoundToInteger(M * I) + LayerPos;
      OutsideBackground[K] = OnBackground < 0 || OnBackground >= BackgroundLen;
    }
  }
};

// The combined alpha: min(layer alpha, mask value); with outside mode 1 what lies outside the
// background layer takes OutsideValue instead of the mask value.
std::unique_ptr<TIEBitmap> CombinedAlpha(TIELayer* Layer, TIELayer* Mask, TIEBitmap* Background,
                                         bool MarkOutside, Integer OutsideValue) {
  TIEBitmap* Bitmap = Layer->Bitmap;
  TIEBitmap* MaskBitmap = Mask->Bitmap;
  if (MaskBitmap->GetPixelFormat() != ie8g) MaskBitmap->ConvertToPixelFormat(ie8g);
  MaskBitmap->RemoveAlphaChannel(false, 0);
  const Integer W = Bitmap->GetWidth(), H = Bitmap->GetHeight();
  TIEBitmap* Own = Bitmap->HasAlphaChannel() ? Bitmap->GetAlphaChannel() : nullptr;
  auto Alpha = std::make_unique<TIEBitmap>(W, H, ie8g);
  const TMaskAxis Columns(W, Layer->GetWidth(), Layer->PosX, MaskBitmap->GetWidth(), Mask->GetWidth(),
                          Mask->PosX, Background->GetWidth());
  const TMaskAxis Rows(H, Layer->GetHeight(), Layer->PosY, MaskBitmap->GetHeight(), Mask->GetHeight(),
                       Mask->PosY, Background->GetHeight());
  const Byte Outside = static_cast<Byte>(std::clamp(OutsideValue, 0, 255));
  for (Integer Y = 0; Y < H; ++Y) {
    Byte* Out = static_cast<Byte*>(Alpha->GetScanline(Y));
    const Byte* Old = Own ? static_cast<const Byte*>(Own->GetRow(Y)) : nullptr;
    const Integer MY = Rows.MaskIndex[Y];
    const Byte* MaskRow = MY >= 0 ? static_cast<const Byte*>(MaskBitmap->GetRow(MY)) : nullptr;
    const bool RowOutside = MarkOutside && Rows.OutsideBackground[Y];
    for (Integer X = 0; X < W; ++X) {
      Byte Value;
      if (RowOutside || (MarkOutside && Columns.OutsideBackground[X]))
        Value = Outside;
      else
        Value = MaskRow && Columns.MaskIndex[X] >= 0 ? MaskRow[Columns.MaskIndex[X]] : 0;
      Out[X] = Old ? std::min(Old[X], Value) : Value;
    }
    if (MaskRow) MaskBitmap->FreeRow(MY);
    if (Old) Own->FreeRow(Y);
  }
  Alpha->SetFull(false);
  return Alpha;
}

}  // namespace

TZezudIdView::TLayerMaskScope::TLayerMaskScope(TZezudIdView* View, Integer Index)
    : FLayer(View->FLayers[Index].get()) {
  const auto& Layers = View->FLayers;
  const Integer Count = static_cast<Integer>(Layers.size());
  TIELayer* Mask = nullptr;
  if (Index < Count - 1 && Layers[Index + 1]->IsMask && !FLayer->IsMask && FLayer->Rotate == 0) {
    Mask = Layers[Index + 1].get();
  } else if (Index > 0 && View->FOutsideLayersMode == 1) {
    // A mask that lets everything through, placed exactly over the layer.
    auto Full = std::make_unique<TIEBitmap>(FLayer->Bitmap->GetWidth(), FLayer->Bitmap->GetHeight(), ie8g);
    Full->Fill(255);
    FTemporary = std::make_unique<TIELayer>(nullptr, true, Full.release());
    FTemporary->PosX = FLayer->PosX;
    FTemporary->PosY = FLayer->PosY;
    FTemporary->Width = FLayer->Width;
    FTemporary->Height = FLayer->Height;
    Mask = FTemporary.get();
  }
  if (!Mask) return;
  TIEBitmap* Bitmap = FLayer->Bitmap;
  std::unique_ptr<TIEBitmap> Combined;
  if (FLayer->MaskAlphaCache) {
    Combined = std::make_unique<TIEBitmap>();
    FLayer->MaskAlphaCache->MoveDataTo(Combined.get());
  } else {
    Combined = CombinedAlpha(FLayer, Mask, Layers[0]->Bitmap, View->FOutsideLayersMode == 1,
                             View->FOutsideLayersValue);
  }
  FHadAlpha = Bitmap->HasAlphaChannel();
  if (FHadAlpha) {
    FSaved = std::make_unique<TIEBitmap>();
    Bitmap->GetAlphaChannel()->MoveDataTo(FSaved.get());
  }
  Bitmap->AttachAlphaChannel(std::move(Combined));
  FActive = true;
}

TZezudIdView::TLayerMaskScope::~TLayerMaskScope() {
  if (!FActive) return;
  TIEBitmap* Bitmap = FLayer->Bitmap;
  auto Cache = std::make_unique<TIEBitmap>();
  Bitmap->GetAlphaChannel()->MoveDataTo(Cache.get());
  if (FHadAlpha) {
    auto Own = std::make_unique<TIEBitmap>();
    FSaved->MoveDataTo(Own.get());
    Bitmap->AttachAlphaChannel(std::move(Own));
  } else {
    Bitmap->RemoveAlphaChannel(false, 0);
  }
  delete FLayer->MaskAlphaCache;
  FLayer->MaskAlphaCache = Cache.release();
}

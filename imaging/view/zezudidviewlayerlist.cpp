// The view's stack of layers: reaching them, the current layer, adding, removing, clearing,
// keeping their sizes in step and picking the layer under a client point.
#include <algorithm>
#include <span>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iegeometry.h"
#include "imaging/view/zezudidview.h"
#include "platform/system/Exceptions.h"
#include "platform/system/Format.h"

namespace {

TBitmap* PlatformBitmapOf(TIEBitmap* Bitmap) {
  return Bitmap && Bitmap->GetLocation() == ieTBitmap ? Bitmap->GetTBitmap() : nullptr;
}

// Grows Bitmap to Width x Height keeping its pixels at the top-left; what is new is Background
// and fully transparent. An alpha channel of another size is brought to the size too.
void GrowLayerBitmap(TIEBitmap* Bitmap, Integer Width, Integer Height, TColor Background) {
  if (Bitmap->GetWidth() != Width || Bitmap->GetHeight() != Height) {
    Bitmap->GetAlphaChannel();
    Bitmap->Resize(Width, Height, static_cast<Double>(Background), 0, 0, 0);
  }
  if (!Bitmap->HasAlphaChannel()) return;
  TIEBitmap* Alpha = Bitmap->GetAlphaChannel();
  if (Alpha->GetWidth() != Width || Alpha->GetHeight() != Height) Alpha->Resize(Width, Height, 0, 0, 0, 0);
}

}  // namespace

TIELayer* TZezudIdView::GetLayer(Integer Index) {
  if (Index < 0 || Index >= GetLayersCount())
    throw EListError(Format("List index out of bounds (%d)", {Index}));
  return FLayers[Index].get();
}

// Nil only while the list is being changed.
TIELayer* TZezudIdView::GetCurrentLayer() {
  return FCurrentLayer >= 0 && FCurrentLayer < GetLayersCount() ? FLayers[FCurrentLayer].get() : nullptr;
}

void TZezudIdView::SetLayersCurrent(Integer Index) {
  const Integer Count = GetLayersCount();
  if (Index < 0 || Index >= Count || Index == FCurrentLayer) return;
  // The selection belongs to the layer it was made on; it travels through the stack.
  bool SelectionPushed = false;
  if (FCurrentLayer >= 0 && FCurrentLayer < Count) {
    FLayers[FCurrentLayer]->Bitmap = FIEBitmap;
    if (FSelectionActive) {
      PushSelection();
      SelectionPushed = true;
    }
  }
  Integer Chosen = Index;
  if (FLayersOnlySelectable)
    while (Chosen > 0 && !FLayers[Chosen]->Selectable) --Chosen;
  FCurrentLayer = Chosen;
  FIEBitmap = FLayers[Chosen]->Bitmap;
  FLegacyTBitmap = PlatformBitmapOf(FIEBitmap);
  if (SelectionPushed) PopSelection(true, 2);
  NotifyBitmapChange();
  Update();
}

Integer TZezudIdView::LayersAdd() {
  SyncCurrentLayer();
  FLayers.push_back(std::make_unique<TIELayer>(this, false, FIEBitmap));
  const Integer Index = GetLayersCount() - 1;
  SetLayersCurrent(Index);
  Clear();
  return Index;
}

void TZezudIdView::LayersRemove(Integer Index) {
  const Integer Count = GetLayersCount();
  if (Count < 2 || Index < 0 || Index >= Count) return;
  SyncCurrentLayer();
  // A mask goes with the layer it masks.
  const Integer Removed = Index + 1 < Count && FLayers[Index + 1]->IsMask ? 2 : 1;
  const Integer Current = FCurrentLayer;
  FLayers.erase(FLayers.begin() + Index, FLayers.begin() + Index + Removed);
  const Integer Left = GetLayersCount();
  Integer NewCurrent = Current;
  if (Current >= Index && Current < Index + Removed)
    NewCurrent = std::min(Index, Left - 1);
  else if (Current > Index)
    NewCurrent = Current - Removed;
  else
    return;
  // Forced: the index may stay the same while the layer behind it changed.
  FCurrentLayer = -1;
  SetLayersCurrent(NewCurrent);
}

void TZezudIdView::LayersClear() {
  SyncCurrentLayer();
  if (FCurrentLayer != 0) FCurrentLayer = -1;  // its bitmap is about to go
  while (GetLayersCount() > 1) FLayers.pop_back();
  SetLayersCurrent(0);
  TIELayer* Base = FLayers[0].get();
  Base->Reset();
  Base->VisibleBox = false;
  Base->Locked = true;
  Clear();
}

void TZezudIdView::SyncCurrentLayer() {
  // A platform bitmap the caller resized or reformatted is seen again.
  if (FLegacyTBitmap) FIEBitmap->EncapsulateTBitmap(FLegacyTBitmap, false);
  if (FCurrentLayer >= 0 && FCurrentLayer < GetLayersCount()) FLayers[FCurrentLayer]->Bitmap = FIEBitmap;
  FBitmapWidth = FLayers[0]->Bitmap->GetWidth();
  FBitmapHeight = FLayers[0]->Bitmap->GetHeight();
}

void TZezudIdView::SyncLayers() {
  SyncCurrentLayer();
  if (!FLayersSync || GetLayersCount() < 2) return;
  Integer Width = 0, Height = 0;
  for (const auto& Layer : FLayers) {
    Width = std::max(Width, Layer->Bitmap->GetWidth());
    Height = std::max(Height, Layer->Bitmap->GetHeight());
  }
  for (const auto& Layer : FLayers) GrowLayerBitmap(Layer->Bitmap, Width, Height, GetBackground());
  FBitmapWidth = Width;
  FBitmapHeight = Height;
}

bool TZezudIdView::IsPointInLayer(Integer X, Integer Y, Integer Index) {
  if (Index < 0 || Index >= GetLayersCount()) return false;
  const TIELayer* Layer = FLayers[Index].get();
  if (!Layer->Visible) return false;
  if (Layer->Rotate != 0) return IEPointInPolygon(X, Y, std::span<const TPoint>(Layer->DrawGeometry.Corners));
  const TRect& R = Layer->ScreenRect;
  return IEPointInRect(X, Y, R.Left, R.Top, R.Right, R.Bottom);
}

Integer TZezudIdView::FindLayerAt(Integer X, Integer Y, bool SelectableOnly) {
  for (Integer I = GetLayersCount() - 1; I >= 0; --I) {
    const TIELayer* Layer = FLayers[I].get();
    if (SelectableOnly && FLayersOnlySelectable && !Layer->Selectable) continue;
    const TRect& R = Layer->ScreenRect;
    if (!Layer->Visible || !IEPointInRect(X, Y, R.Left, R.Top, R.Right, R.Bottom)) continue;
    TIEBitmap* Bitmap = Layer->Bitmap;
    if (!Bitmap->HasAlphaChannel() || FSelectionOptions.Contains(iesoSelectTranspLayers)) return I;
    if (Bitmap->GetWidth() == 0 || Bitmap->GetHeight() == 0) continue;
    const Integer BX = std::clamp(Layer->ScreenToBitmapX(X), 0, Bitmap->GetWidth() - 1);
    const Integer BY = std::clamp(Layer->ScreenToBitmapY(Y), 0, Bitmap->GetHeight() - 1);
    if (Bitmap->GetAlpha(BX, BY) != 0) return I;
  }
  return -1;
}

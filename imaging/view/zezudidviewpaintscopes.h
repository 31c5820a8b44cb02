#pragma once
// Stand-ins a layer wears only while the painter draws it; each puts the layer back as it was
// when it goes out of scope.
#include <memory>

#include "imaging/view/zezudidview.h"

// A layer shown rotated: a rotated copy of its bitmap (with transparent corners) is drawn in its
// place; the layer's bitmap, size and position come back afterwards. Writes the rotated
// corners into the layer's DrawGeometry.
class TZezudIdView::TRotatedLayer {
 public:
  TRotatedLayer(TZezudIdView* View, TIELayer* Layer);
  ~TRotatedLayer();
  TRotatedLayer(const TRotatedLayer&) = delete;
  TRotatedLayer& operator=(const TRotatedLayer&) = delete;

 private:
  TIELayer* FLayer;
  std::unique_ptr<TIEBitmap> FRotated;
  TIEBitmap* FKeptBitmap = nullptr;
  Integer FKeptWidth = 0, FKeptHeight = 0, FKeptPosX = 0, FKeptPosY = 0;
};

// A layer drawn through a mask (the mask layer above it, or with outside mode 1 a full mask
// that fades what lies outside the background layer): its alpha channel gives way to the alpha
// combined with the mask, which stays in the layer's MaskAlphaCache afterwards.
class TZezudIdView::TLayerMaskScope {
 public:
  TLayerMaskScope(TZezudIdView* View, Integer Index);
  ~TLayerMaskScope();
  TLayerMaskScope(const TLayerMaskScope&) = delete;
  TLayerMaskScope& operator=(const TLayerMaskScope&) = delete;

 private:
  TIELayer* FLayer;
  std::unique_ptr<TIELayer> FTemporary;
  std::unique_ptr<TIEBitmap> FSaved;
  bool FHadAlpha = false;
  bool FActive = false;
};

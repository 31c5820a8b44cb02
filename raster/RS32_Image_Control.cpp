// The image control: placement and scaling of the shown bitmap, paint stages, bitmap and layer
// events, and mouse handling.
#include <algorithm>
#include <limits>

#include "platform/classes/Canvas.h"
#include "platform/classes/Screen.h"
#include "platform/gdi/Painting.h"
#include "platform/system/Exceptions.h"
#include "platform/system/Math.h"
#include "platform/system/ScopeExit.h"
#include "raster/RS32_Image.h"
#include "raster/RS32_MicroTiles.h"
#include "raster/RS32_Resamplers.h"

namespace {
// Displayed sizes stay far inside the 32-bit range, so that placing and mapping them cannot
// overflow whatever the scale.
constexpr Integer MaxShownExtent = 0x3FFFFFFF;

Integer SizeFromExtended(Extended V) {
  if (!(V < MaxShownExtent)) return MaxShownExtent;
  if (V <= 0) return 0;
  return static_cast<Integer>(Round(V));
}

Integer RoundClamped(Extended V) {
  if (!(V > -MaxShownExtent)) return -MaxShownExtent;
  if (!(V < MaxShownExtent)) return MaxShownExtent;
  return static_cast<Integer>(Round(V));
}

Integer Saturate(Int64 V) {
  return static_cast<Integer>(
      std::clamp<Int64>(V, std::numeric_limits<Integer>::min(), std::numeric_limits<Integer>::max()));
}

// MulDiv(Extent, 65536, Size), saturating where MulDiv would fail.
Integer FixedScale(Integer Extent, Integer Size) {
  const Int64 Q = static_cast<Int64>(Extent) * 65536 / Size;
  if (Q >= std::numeric_limits<Integer>::max()) return std::numeric_limits<Integer>::max();
  if (Q <= std::numeric_limits<Integer>::min()) return std::numeric_limits<Integer>::min();
  return MulDiv(Extent, 65536, Size);
}

const TCustomImage32::TPaintStageHandler StageHandlers[8] = {
    nullptr,
    &TCustomImage32::PaintCustomStage,
    &TCustomImage32::PaintClearBuffer,
    &TCustomImage32::PaintEraseBackground,
    &TCustomImage32::PaintBitmap,
    &TCustomImage32::PaintLayers,
    &TCustomImage32::PaintControlFrame,
    &TCustomImage32::PaintBitmapFrame,
};
bool KnownStage(Cardinal Kind) {
  return Kind >= PST_CUSTOM && Kind <= PST_BITMAP_FRAME;
}
}  // namespace

TCustomImage32::TCustomImage32(TComponent* AOwner) : TCustomPaintBox32(AOwner) {
  SetControlStyle(
      {csAcceptsControls, csCaptureMouse, csClickEvents, csOpaque, csDoubleClicks, csReplicatable});
  FBitmap = std::make_unique<TBitmap32>();
  FBitmap->OnResize = TNotifyEvent(this, &TCustomImage32::BitmapResizeHandler);
  FLayerSet = std::make_unique<TLayerCollection>(this);
  FLayerSet->OnCollectionChanged = TNotifyEvent(this, &TCustomImage32::LayerCollectionChangeHandler);
  FLayerSet->OnOverlayUpdate = TNotifyEvent(this, &TCustomImage32::LayerCollectionPaintHandler);
  FLayerSet->OnScaleQuery =
      TLayerScaleQueryEvent(this, &TCustomImage32::LayerCollectionGetViewportScaleHandler);
  FLayerSet->OnShiftQuery =
      TLayerScaleQueryEvent(this, &TCustomImage32::LayerCollectionGetViewportShiftHandler);
  FOptimizer->WatchCollection(FLayerSet.get());
  SetRepaintMode(rmFull);
  FStageList = std::make_unique<TPaintStages>();
  FScaleX = 1.0f;
  FScaleY = 1.0f;
  AddDefaultStages();
}

TCustomImage32::~TCustomImage32() {
  BeginUpdate();
  FStageList.reset();
  FOptimizer->UnwatchCollection(FLayerSet.get());
  FLayerSet.reset();
  FBitmap->OnResize.Clear();
  FBitmap->OnChange.Clear();
  FBitmap->OnAreaChanged.Clear();
  FBitmap.reset();
}

// ---------------------------------------------------------------------------------------------
// Properties

void TCustomImage32::SetBitmap(TBitmap32* Value) {
  DropPlacement();
  FBitmap->Assign(Value);
}

void TCustomImage32::SetBitmapAlign(TBitmapAlign Value) {
  DropPlacement();
  FBitmapAlign = Value;
  Changed();
}

void TCustomImage32::SetOffsetX(Single Value) {
  if (Value == FOffsetX) return;
  DropPlacement();
  FOffsetX = Value;
  Changed();
}

void TCustomImage32::SetOffsetY(Single Value) {
  if (Value == FOffsetY) return;
  DropPlacement();
  FOffsetY = Value;
  Changed();
}

void TCustomImage32::SetScale(Single Value) {
  if (!(Value >= 0.001f)) Value = 0.001f;  // a NaN as well
  if (Value == FScaleX) return;
  DropPlacement();
  FScaleX = Value;
  FScaleY = Value;
  AfterScaleChange();
  Changed();
}

void TCustomImage32::SetScaleMode(TScaleMode Value) {
  if (Value == FScaleMode) return;
  DropPlacement();
  FScaleMode = Value;
  Changed();
}

void TCustomImage32::SetRepaintMode(TRepaintMode Value) {
  TCustomPaintBox32::SetRepaintMode(Value);
  switch (Value) {
    case rmOptimizer:
      FBitmap->OnAreaChanged = TAreaChangedEvent(this, &TCustomImage32::BitmapAreaChangeHandler);
      FBitmap->OnChange.Clear();
      break;
    case rmDirect:
      FBitmap->OnAreaChanged = TAreaChangedEvent(this, &TCustomImage32::BitmapDirectAreaChangeHandler);
      FBitmap->OnChange.Clear();
      break;
    default:
      FBitmap->OnAreaChanged.Clear();
      FBitmap->OnChange = TNotifyEvent(this, &TCustomImage32::BitmapChangeHandler);
      break;
  }
}

// ---------------------------------------------------------------------------------------------
// Updates and placement

void TCustomImage32::BeginUpdate() {
  ++FUpdateNesting;
}

void TCustomImage32::EndUpdate() {
  --FUpdateNesting;
  if (FUpdateNesting < 0) throw EAssertionFailed("Unpaired EndUpdate call");
}

void TCustomImage32::Changed() {
  if (FUpdateNesting != 0) return;
  Invalidate();
  if (OnChange) OnChange(this);
}

void TCustomImage32::Invalidate() {
  FBackBufferCurrent = false;
  FPlacementCurrent = false;
  TCustomPaintBox32::Invalidate();
}

void TCustomImage32::DropPlacement() {
  if (FOptimizer->GetActive()) FOptimizer->Restart();
  FPlacementCurrent = false;
}

TSize TCustomImage32::CalcBitmapSize() {
  if (FBitmap->Empty() || GetWidth() == 0 || GetHeight() == 0) return TSize();
  const TRect V = ViewportRect();
  const Integer VW = V.Width(), VH = V.Height();
  const Integer BW = FBitmap->GetWidth(), BH = FBitmap->GetHeight();
  const Single S = FScaleX;
  auto Scaled = [S](Integer Extent) { return SizeFromExtended(static_cast<Extended>(Extent) * S); };

  TScaleMode Mode = FScaleMode;
  if (Mode == smOptimal)
    Mode = (VW < BW || VH < BH) ? smResize : smNormal;
  else if (Mode == smOptimalScaled)
    Mode = (VW < Scaled(BW) || VH < Scaled(BH)) ? smResize : smScale;

  TSize Size;
  switch (Mode) {
    case smStretch:
      Size = {VW, VH};
      break;
    case smResize: {
      const Single RX = static_cast<Single>(static_cast<Extended>(VW) / BW);
      const Single RY = static_cast<Single>(static_cast<Extended>(VH) / BH);
      if (RX >= RY)
        Size = {SizeFromExtended(static_cast<Extended>(BW) * RY), VH};
      else
        Size = {VW, SizeFromExtended(static_cast<Extended>(BH) * RX)};
      break;
    }
    case smScale:
      Size = {Scaled(BW), Scaled(BH)};
      break;
    default:
      Size = {BW, BH};
      break;
  }
  if (Size.cx <= 0) Size.cx = 0;
  if (Size.cy <= 0) Size.cy = 0;
  return Size;
}

TRect TCustomImage32::CalcBitmapRect() {
  if (FBitmap->Empty()) return TRect();
  const TSize Size = CalcBitmapSize();
  TRect R = MakeRect(0, 0, Size.cx, Size.cy);
  if (FBitmapAlign == baCenter) {
    RectOffset(R, (GetWidth() - Size.cx) / 2, (GetHeight() - Size.cy) / 2);
  } else if (FBitmapAlign == baCustom) {
    RectOffset(R, RoundClamped(FOffsetX), RoundClamped(FOffsetY));
  }
  return R;
}

void TCustomImage32::SetTransform(const TRect& R) {
  FXShift = R.Left;
  FYShift = R.Top;
  FXScale = FixedScale(R.Width(), FBitmap->GetWidth());
  FYScale = FixedScale(R.Height(), FBitmap->GetHeight());
}

void TCustomImage32::RefreshPlacement() {
  if (FPlacementCurrent) return;
  FShownBitmapRect = CalcBitmapRect();
  if (FBitmap->Empty()) {
    FXScale = FYScale = 65536;
    FXShift = FYShift = 0;
  } else {
    SetTransform(FShownBitmapRect);
  }
  FPlacementCurrent = true;
}

TPoint TCustomImage32::BitmapPointToControl(const TPoint& P) {
  RefreshPlacement();
  return {Saturate(static_cast<Int64>(P.X) * FXScale / 65536 + FXShift),
          Saturate(static_cast<Int64>(P.Y) * FYScale / 65536 + FYShift)};
}

void TCustomImage32::FitBitmapToViewport(bool DoClear, TColor32 ClearColor) {
  const TRect V = ViewportRect();
  FBitmap->BeginUpdate();
  {
    auto Cleanup = ScopeExit([&] { FBitmap->EndUpdate(); });
    FBitmap->SetSize(V.Width(), V.Height());
    if (DoClear) FBitmap->Clear(ClearColor);
  }
  DropPlacement();
  Changed();
}

void TCustomImage32::AfterScaleChange() {
  if (OnScaleChange) OnScaleChange(this);
}

bool TCustomImage32::CanAutoSize(Integer& NewWidth, Integer& NewHeight) {
  DropPlacement();
  Integer W = FBitmap->GetWidth(), H = FBitmap->GetHeight();
  if (FScaleMode == smScale) {
    W = SizeFromExtended(static_cast<Extended>(W) * FScaleX);
    H = SizeFromExtended(static_cast<Extended>(H) * FScaleX);
  }
  if (GetComponentState().Contains(csDesigning) && (W <= 0 || H <= 0)) return true;
  const TAlign A = GetAlign();
  if (A == alNone || A == alLeft || A == alRight) NewWidth = W;
  if (A == alNone || A == alTop || A == alBottom) NewHeight = H;
  return true;
}

void TCustomImage32::BitmapSizeChanged() {
  if (GetAutoSize()) {
    Integer W = FBitmap->GetWidth(), H = FBitmap->GetHeight();
    if (FScaleMode == smScale) {
      W = SizeFromExtended(static_cast<Extended>(W) * FScaleX);
      H = SizeFromExtended(static_cast<Extended>(H) * FScaleX);
    }
    if (W > 0 && H > 0) SetBounds(GetLeft(), GetTop(), W, H);
  }
  if (FUpdateNesting == 0 && OnBitmapResize) OnBitmapResize(this);
  DropPlacement();
  ForceFullRepaint();
}

void TCustomImage32::BitmapAreaChanged(const TRect&) {
  Changed();
}

// ---------------------------------------------------------------------------------------------
// Bitmap and layer events

void TCustomImage32::BitmapResizeHandler(TObject*) {
  BitmapSizeChanged();
}

void TCustomImage32::BitmapChangeHandler(TObject*) {
  FOptimizer->Restart();
  BitmapAreaChanged(FBitmap->BoundsRect());
}

void TCustomImage32::MapBitmapArea(const TRect& Area, std::vector<TRect>& Out) {
  TRect R = Area;
  const Integer Reach = static_cast<Integer>(Trunc(FBitmap->GetResampler()->SamplingRadius())) + 1;
  InflateArea(R, Reach, Reach);
  const TPoint TopLeft = BitmapPointToControl(R.TopLeft());
  const TPoint BottomRight = BitmapPointToControl(R.BottomRight());
  R = MakeRect(TopLeft.X, TopLeft.Y, BottomRight.X, BottomRight.Y);
  if (FBitmapAlign != baTile) {
    Out.push_back(R);
    return;
  }
  // A bitmap shown with no extent has no copies to repaint.
  const Integer W = FShownBitmapRect.Right, H = FShownBitmapRect.Bottom;
  if (W <= 0 || H <= 0) return;
  for (Integer Y = 0; Y <= FBackBuffer->GetHeight() / H; ++Y)
    for (Integer X = 0; X <= FBackBuffer->GetWidth() / W; ++X) {
      TRect Copy = R;
      RectOffset(Copy, X * W, Y * H);
      Out.push_back(Copy);
    }
}

void TCustomImage32::BitmapAreaChangeHandler(TObject* Sender, const TRect& Area, Cardinal) {
  if (Sender != FBitmap.get()) return;
  std::vector<TRect> Rects;
  MapBitmapArea(Area, Rects);
  for (const TRect& R : Rects) FOptimizer->AreaChangedHandler(this, R, AreaInfoRect);
  BitmapAreaChanged(Area);
}

void TCustomImage32::BitmapDirectAreaChangeHandler(TObject* Sender, const TRect& Area, Cardinal) {
  if (Sender != FBitmap.get()) return;
  std::vector<TRect> Rects;
  MapBitmapArea(Area, Rects);
  for (const TRect& R : Rects) FDirtyRects->Add(R);
  if (FUpdateNesting == 0) {
    if (!IsPainting()) Repaint();
    if (OnChange) OnChange(this);
  }
}

void TCustomImage32::LayerCollectionChangeHandler(TObject*) {
  Changed();
}

void TCustomImage32::LayerCollectionPaintHandler(TObject*) {
  if (HandleAllocated()) Paint();
}

void TCustomImage32::LayerCollectionGetViewportScaleHandler(TObject*, Single& ScaleX, Single& ScaleY) {
  RefreshPlacement();
  ScaleX = static_cast<Single>(FXScale / 65536.0);
  ScaleY = static_cast<Single>(FYScale / 65536.0);
}

void TCustomImage32::LayerCollectionGetViewportShiftHandler(TObject*, Single& ShiftX, Single& ShiftY) {
  RefreshPlacement();
  ShiftX = static_cast<Single>(FXShift);
  ShiftY = static_cast<Single>(FYShift);
}

// ---------------------------------------------------------------------------------------------
// Painting

bool TCustomImage32::HasDirtyRects() {
  CollectDirtyRects();
  return FDirtyRects->GetCount() > 0;
}

void TCustomImage32::AddDefaultStages() {
  struct TDefault {
    bool Design, Run;
    Cardinal Kind, Parameter;
  } const Defaults[] = {
      {true, true, PST_CLEAR_BACKGND, 0},      {true, false, PST_CONTROL_FRAME, 0},
      {true, true, PST_DRAW_BITMAP, 0},        {true, false, PST_BITMAP_FRAME, 0},
      {true, true, PST_DRAW_LAYERS, LF_SHOWN},
  };
  for (const TDefault& D : Defaults) {
    TPaintStage* Stage = FStageList->Add();
    Stage->AtDesignTime = D.Design;
    Stage->AtRunTime = D.Run;
    Stage->Kind = D.Kind;
    Stage->Parameter = D.Parameter;
  }
}

void TCustomImage32::BuildStageTables(bool Designing) {
  FStageHandlers.clear();
  FStageNums.clear();
  for (Integer I = 0; I < FStageList->Count(); ++I) {
    const TPaintStage* Stage = FStageList->Items(I);
    if ((Designing ? Stage->AtDesignTime : Stage->AtRunTime) && KnownStage(Stage->Kind)) {
      FStageHandlers.push_back(StageHandlers[Stage->Kind]);
      FStageNums.push_back(I);
    }
  }
}

void TCustomImage32::RunStages(TBitmap32* Dest) {
  for (std::size_t I = 0; I < FStageHandlers.size(); ++I) (this->*FStageHandlers[I])(Dest, FStageNums[I]);
}

void TCustomImage32::RenderBackBuffer() {
  const bool Active = FOptimizer->GetActive();
  if (Active) FOptimizer->BufferPaintStarting();
  RefreshPlacement();
  BuildStageTables(GetComponentState().Contains(csDesigning));
  FBackBuffer->BeginUpdate();
  {
    auto Cleanup = ScopeExit([&] { FBackBuffer->EndUpdate(); });
    const Integer Count = FDirtyRects->GetCount();
    if (Count > 0) {
      for (Integer I = 0; I < Count; ++I) {
        FBackBuffer->SetClipRect(*FDirtyRects->Items(I));
        RunStages(FBackBuffer.get());
      }
      FBackBuffer->SetClipRect(ViewportRect());
    } else {
      FBackBuffer->SetClipRect(ViewportRect());
      RunStages(FBackBuffer.get());
    }
  }
  if (Active) FOptimizer->BufferPaintFinished();
  FBackBufferCurrent = true;
}

void TCustomImage32::RenderTo(TBitmap32* Dest, const TRect& DestRect) {
  const TRepaintMode Saved = FRepaintMode;
  SetRepaintMode(rmFull);
  FShownBitmapRect = DestRect;
  if (DestRect.Width() < 1 || DestRect.Height() < 1 || FBitmap->Empty()) {
    FXScale = FYScale = 65536;
    FXShift = FYShift = 0;
  } else {
    SetTransform(DestRect);
  }
  FPlacementCurrent = true;
  auto Cleanup = ScopeExit([&] {
    FPlacementCurrent = false;
    SetRepaintMode(Saved);
  });
  for (Integer I = 0; I < FStageList->Count(); ++I) {
    const TPaintStage* Stage = FStageList->Items(I);
    if (Stage->AtRunTime && KnownStage(Stage->Kind)) (this->*StageHandlers[Stage->Kind])(Dest, I);
  }
}

void TCustomImage32::PaintClearBuffer(TBitmap32* Dest, Integer) {
  Dest->Clear(Color32FromColor(GetColor()));
}

void TCustomImage32::PaintEraseBackground(TBitmap32* Dest, Integer) {
  const TColor32 Col = Color32FromColor(GetColor());
  if (FDirtyRects->GetCount() > 0) {
    for (Integer I = 0; I < FDirtyRects->GetCount(); ++I) {
      const TRect* R = FDirtyRects->Items(I);
      Dest->FillRectClipped(R->Left, R->Top, R->Right, R->Bottom, Col);
    }
    return;
  }
  if (FBitmap->Empty() || FBitmap->GetDrawMode() != dmOpaque) {
    Dest->Clear(Col);
    return;
  }
  const TRect& R = FShownBitmapRect;
  const Integer W = GetWidth(), H = GetHeight();
  const bool Covers = R.Left <= 0 && R.Top <= 0 && R.Right >= W && R.Bottom >= H;
  if (Covers || FBitmapAlign == baTile) return;
  Dest->FillRectClipped(0, 0, W, R.Top, Col);
  Dest->FillRectClipped(0, R.Bottom, W, H, Col);
  Dest->FillRectClipped(0, R.Top, R.Left, R.Bottom, Col);
  Dest->FillRectClipped(R.Right, R.Top, W, R.Bottom, Col);
}

void TCustomImage32::DrawTiles(TBitmap32* Dest, const TRect& R, Integer W, Integer H) {
  for (Integer Y = 0; Y <= Dest->GetHeight() / H; ++Y)
    for (Integer X = 0; X <= Dest->GetWidth() / W; ++X) {
      TRect Tile = R;
      RectOffset(Tile, X * W, Y * H);
      FBitmap->DrawInto(Dest, Tile);
    }
}

void TCustomImage32::PaintBitmap(TBitmap32* Dest, Integer) {
  if (FBitmap->Empty() || RectIsEmpty(FShownBitmapRect)) return;
  FBitmap->Lock();
  auto Cleanup = ScopeExit([&] { FBitmap->Unlock(); });
  if (FBitmapAlign == baTile)
    DrawTiles(Dest, FShownBitmapRect, FShownBitmapRect.Width(), FShownBitmapRect.Height());
  else
    FBitmap->DrawInto(Dest, FShownBitmapRect);
}

void TCustomImage32::PaintLayers(TBitmap32* Dest, Integer StageNum) {
  const Cardinal Mask = FStageList->Items(StageNum)->Parameter;
  for (Integer I = 0; I < FLayerSet->Count(); ++I) {
    TCustomLayer* L = FLayerSet->Layer(I);
    if ((L->GetOptions() & Mask) != 0) L->DrawLayer(Dest);
  }
}

void TCustomImage32::PaintControlFrame(TBitmap32* Dest, Integer) {
  const RECT R = MakeRect(0, 0, GetWidth(), GetHeight());
  DrawFocusRect(Dest->GetSurfaceDC(), &R);
}

void TCustomImage32::PaintBitmapFrame(TBitmap32* Dest, Integer) {
  Dest->GetCanvas()->DrawFocusRect(FShownBitmapRect);
}

void TCustomImage32::PaintCustomStage(TBitmap32* Dest, Integer StageNum) {
  if (OnPaintStage) OnPaintStage(this, Dest, static_cast<Cardinal>(StageNum));
}

void TCustomImage32::PaintOverlay() {
  for (Integer I = 0; I < FLayerSet->Count(); ++I) {
    TCustomLayer* L = FLayerSet->Layer(I);
    if ((L->GetOptions() & LF_CANVAS_PAINT) != 0) L->DrawOverlay(GetCanvas());
  }
  TCustomPaintBox32::PaintOverlay();
}

void TCustomImage32::Loaded() {
  TCustomPaintBox32::Loaded();
  FireInitStages();
}

void TCustomImage32::FireInitStages() {
  if (OnInitStages) OnInitStages(this);
}

void TCustomImage32::Resize() {
  DropPlacement();
  TCustomPaintBox32::Resize();
}

// ---------------------------------------------------------------------------------------------
// Mouse

void TCustomImage32::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TCustomPaintBox32::MouseDown(Button, Shift, X, Y);
  if (GetTabStop() && CanFocus()) SetFocus();
  TCustomLayer* Layer =
      FLayerSet->GetTakesMouse() ? FLayerSet->DispatchMouseDown(Button, Shift, X, Y) : nullptr;
  if (Button == mbLeft || FLayerSet->GetMouseHolder() != nullptr) SetMouseCapture(true);
  FireMouseDown(Button, Shift, X, Y, Layer);
}

void TCustomImage32::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TCustomPaintBox32::MouseMove(Shift, X, Y);
  TCustomLayer* Layer = FLayerSet->GetTakesMouse() ? FLayerSet->DispatchMouseMove(Shift, X, Y) : nullptr;
  FireMouseMove(Shift, X, Y, Layer);
}

// The platform's own mouse-up handling is not called.
void TCustomImage32::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TCustomLayer* Layer =
      FLayerSet->GetTakesMouse() ? FLayerSet->DispatchMouseUp(Button, Shift, X, Y) : nullptr;
  if (Button == mbLeft && FLayerSet->GetMouseHolder() == nullptr) SetMouseCapture(false);
  FireMouseUp(Button, Shift, X, Y, Layer);
}

void TCustomImage32::MouseLeft() {
  if (FLayerSet->GetTakesMouse() && FLayerSet->GetMouseHolder() == nullptr && Screen != nullptr)
    Screen->SetCursor(crDefault);
  TCustomPaintBox32::MouseLeft();
}

void TCustomImage32::FireMouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y,
                                   TCustomLayer* Layer) {
  if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y, Layer);
}

void TCustomImage32::FireMouseMove(TShiftState Shift, Integer X, Integer Y, TCustomLayer* Layer) {
  if (OnMouseMove) OnMouseMove(this, Shift, X, Y, Layer);
}

void TCustomImage32::FireMouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y,
                                 TCustomLayer* Layer) {
  if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y, Layer);
}

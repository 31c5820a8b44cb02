#include "raster/RS32_RepaintOpt.h"
#include "platform/system/ScopeExit.h"

#include <algorithm>

#include "raster/RS32_LowLevel.h"

namespace {
TCustomRepaintOptimizer* CreateMicroTilesOptimizer(TBitmap32* Buffer, TRectList* InvalidRects) {
  return new TMicroTilesRepaintOptimizer(Buffer, InvalidRects);
}

// Tick counts are compared and advanced as signed 32-bit values; they wrap as the platform's do.
Integer TickNow() {
  return static_cast<Integer>(SystemTickCount());
}
Integer TicksAhead(Integer Milliseconds) {
  return static_cast<Integer>(static_cast<Cardinal>(SystemTickCount()) + static_cast<Cardinal>(Milliseconds));
}
}  // namespace

TCustomRepaintOptimizerClass DefaultRepaintOptimizerClass = CreateMicroTilesOptimizer;

// ---------------------------------------------------------------------------------------------
// TCustomRepaintOptimizer

TCustomRepaintOptimizer::TCustomRepaintOptimizer(TBitmap32* Buffer, TRectList* InvalidRects)
    : FOutRects(InvalidRects), FTarget(Buffer) {}

TCustomRepaintOptimizer::~TCustomRepaintOptimizer() {
  while (FCollections.GetCount() > 0) TCustomRepaintOptimizer::UnwatchCollection(Collection(0));
}

void TCustomRepaintOptimizer::WatchCollection(TLayerCollection* Collection) {
  if (FCollections.IndexOf(Collection) >= 0) return;
  FCollections.Add(Collection);
  Collection->OnListChange = TLayerListNotifyEvent(this, &TCustomRepaintOptimizer::LayersChanged);
}

void TCustomRepaintOptimizer::UnwatchCollection(TLayerCollection* Collection) {
  Collection->OnListChange.Clear();
  FCollections.Remove(Collection);
}

// ---------------------------------------------------------------------------------------------
// TMicroTilesRepaintOptimizer

TMicroTilesRepaintOptimizer::TMicroTilesRepaintOptimizer(TBitmap32* Buffer, TRectList* InvalidRects)
    : TCustomRepaintOptimizer(Buffer, InvalidRects), FPaintClock(std::make_unique<TPerfTimer>()) {
  TileGridInit(FScratchGrid);
  TileGridInit(FChangedGrid);
  TileGridInit(FForcedGrid);
}

TMicroTilesRepaintOptimizer::~TMicroTilesRepaintOptimizer() {
  while (FCollections.GetCount() > 0) UnwatchCollection(Collection(0));
  TileGridFree(FForcedGrid);
  TileGridFree(FScratchGrid);
  TileGridFree(FChangedGrid);
}

void TMicroTilesRepaintOptimizer::BindEvents(TLayerCollection* Collection) {
  Collection->OnLayerChange = TLayerUpdateEvent(this, &TMicroTilesRepaintOptimizer::LayerChangedHandler);
  Collection->OnAreaChange = TAreaChangedEvent(this, &TMicroTilesRepaintOptimizer::AreaChangedHandler);
  Collection->OnListChange = TLayerListNotifyEvent(this, &TMicroTilesRepaintOptimizer::LayersChanged);
}

void TMicroTilesRepaintOptimizer::UnbindEvents(TLayerCollection* Collection) {
  Collection->OnLayerChange.Clear();
  Collection->OnAreaChange.Clear();
  Collection->OnListChange.Clear();
}

void TMicroTilesRepaintOptimizer::WatchCollection(TLayerCollection* Collection) {
  TCustomRepaintOptimizer::WatchCollection(Collection);
  if (FActive) BindEvents(Collection);
}

void TMicroTilesRepaintOptimizer::UnwatchCollection(TLayerCollection* Collection) {
  UnbindEvents(Collection);
  TCustomRepaintOptimizer::UnwatchCollection(Collection);
}

void TMicroTilesRepaintOptimizer::SetActive(bool Value) {
  if (Value == FActive) return;
  if (Value) {
    for (Integer I = 0; I < FCollections.GetCount(); ++I) BindEvents(Collection(I));
    TargetResized(FTarget->GetWidth(), FTarget->GetHeight());
  } else {
    for (Integer I = 0; I < FCollections.GetCount(); ++I) UnbindEvents(Collection(I));
    TileGridFree(FChangedGrid);
    TileGridFree(FScratchGrid);
    TileGridFree(FForcedGrid);
    FHasWork = false;
    FLayerGridsValid = false;
    FLayerGrids.Clear();
    FStaleLayers.Clear();
  }
  FActive = Value;
}

void TMicroTilesRepaintOptimizer::AreaChangedHandler(TObject*, const TRect& Area, Cardinal Info) {
  EnsureGridsSized();
  RecordArea(FForcedGrid, Area, Info);
  FHasWork = true;
}

void TMicroTilesRepaintOptimizer::LayerChangedHandler(TObject*, TCustomLayer* Layer) {
  if (!FLayerGridsValid || Layer->IsStale()) return;
  FStaleLayers.Add(Layer);
  Layer->SetStale(true);
  FHasWork = true;
}

void TMicroTilesRepaintOptimizer::LayersChanged(TLayerCollection*, Integer Action, TCustomLayer* Layer,
                                                Integer) {
  if (Action < LayerRemoved) {
    SizedLayerGrid(Layer);
    FLayerGridsValid = true;
  } else if (Action == LayerRemoved) {
    if (FLayerGridsValid) {
      if (const TTileGrid* Old = FindLayerGrid(Layer)) TileGridAddGrid(FChangedGrid, *Old, false);
      FHasWork = true;
    }
    FStaleLayers.Remove(Layer);
    FLayerGrids.Remove(Layer);
  } else if (Action == LayersCleared) {
    if (FLayerGridsValid) {
      TPointerMapIterator Iterator(&FLayerGrids);
      while (Iterator.Next())
        TileGridAddGrid(FChangedGrid, *static_cast<TTileGrid*>(Iterator.GetData()), false);
      FHasWork = true;
      ResetAdaptation();
    }
    FLayerGrids.Clear();
    FLayerGridsValid = true;
  }
}

void TMicroTilesRepaintOptimizer::TargetResized(Integer NewWidth, Integer NewHeight) {
  FTargetBounds = MakeRect(0, 0, NewWidth, NewHeight);
  Restart();
}

void TMicroTilesRepaintOptimizer::Restart() {
  FGridsSized = false;
  FLayerGridsValid = false;
  ValidateLayerGrids();
  TileGridFill(FForcedGrid, TileBoxFull);
  FForcedGrid.UsedTiles = MakeRect(0, 0, FForcedGrid.TileColumns, FForcedGrid.TileRows);
  FHasWork = true;
}

bool TMicroTilesRepaintOptimizer::HasChanges() {
  ValidateLayerGrids();
  return FHasWork;
}

void TMicroTilesRepaintOptimizer::BuildRects() {
  if (FHasWork) {
    EnsureGridsSized();
    const bool Coarse = FLevel > 0;
    for (Integer I = 0; I < FStaleLayers.GetCount(); ++I) {
      auto* Layer = static_cast<TCustomLayer*>(FStaleLayers.Get(I));
      TileGridClear(FScratchGrid);
      MeasureLayer(FScratchGrid, Layer);
      TileGridAddGrid(FChangedGrid, FScratchGrid, Coarse);  // where it is now
      TTileGrid* Old = FLayerGrids.Add(Layer);
      TileGridAddGrid(FChangedGrid, *Old, Coarse);  // where it was
      TileGridCopy(*Old, FScratchGrid);
      Layer->SetStale(false);
    }
    FStaleLayers.Clear();
    TileGridToRects(FChangedGrid, FOutRects);
    TileGridToRects(FForcedGrid, FOutRects);
  }
  CheckLevel();
  TileGridClear(FChangedGrid);
  TileGridClear(FForcedGrid);
}

void TMicroTilesRepaintOptimizer::BufferPaintStarting() {
  if (FAdaptive) FPaintClock->Start();
}

void TMicroTilesRepaintOptimizer::BufferPaintFinished() {
  FHasWork = false;
  AdaptToTiming();
}

void TMicroTilesRepaintOptimizer::EnsureGridsSized() {
  if (FGridsSized) return;
  TileGridSetSize(FScratchGrid, FTargetBounds);
  TileGridSetSize(FChangedGrid, FTargetBounds);
  TileGridSetSize(FForcedGrid, FTargetBounds);
  FGridsSized = true;
}

void TMicroTilesRepaintOptimizer::RecordArea(TTileGrid& Grid, const TRect& Area, Cardinal Info) {
  const bool Coarse = FLevel > 0;
  if ((Info & AreaInfoLine) != 0) {
    const Integer W = static_cast<Integer>(Info & 0x00FFFFFF);
    TRect R = Area;
    InflateArea(R, W, W);
    TileGridAddLine(Grid, R.Left, R.Top, R.Right, R.Bottom, W, Coarse);
  } else {
    TileGridAddRect(Grid, Area, Coarse);
  }
}

// The layer draws itself into the buffer in measuring mode: no pixel changes, every area it
// would touch is reported to MeasuredArea.
void TMicroTilesRepaintOptimizer::MeasureLayer(TTileGrid& Grid, TCustomLayer* Layer) {
  FTarget->EnterMeasuringMode(TAreaChangedEvent(this, &TMicroTilesRepaintOptimizer::MeasuredArea));
  FWorkGrid = &Grid;
  auto Cleanup = ScopeExit([&] { FTarget->LeaveMeasuringMode(); });
  Layer->DrawLayer(FTarget);
}

void TMicroTilesRepaintOptimizer::MeasuredArea(TObject*, const TRect& Area, Cardinal Info) {
  if (FWorkGrid != nullptr) RecordArea(*FWorkGrid, Area, Info);
}

void TMicroTilesRepaintOptimizer::ValidateLayerGrids() {
  if (FLayerGridsValid) return;
  EnsureGridsSized();
  for (Integer C = 0; C < FCollections.GetCount(); ++C) {
    TLayerCollection* Layers = Collection(C);
    for (Integer I = 0; I < Layers->Count(); ++I) {
      TCustomLayer* Layer = Layers->Layer(I);
      MeasureLayer(*SizedLayerGrid(Layer), Layer);
      Layer->SetStale(false);
    }
  }
  FStaleLayers.Clear();
  FLayerGridsValid = true;
  FHasWork = false;
}

TTileGrid* TMicroTilesRepaintOptimizer::SizedLayerGrid(TCustomLayer* Layer) {
  TTileGrid* Grid = FLayerGrids.Add(Layer);
  TileGridSetSize(*Grid, FTargetBounds);
  return Grid;
}

TTileGrid* TMicroTilesRepaintOptimizer::FindLayerGrid(TCustomLayer* Layer) const {
  Integer BucketIndex, ItemIndex;
  if (!FLayerGrids.Find(Layer, BucketIndex, ItemIndex)) return nullptr;
  return FLayerGrids.Data(Layer);
}

void TMicroTilesRepaintOptimizer::ResetAdaptation() {
  FCheckInterval = 1000;
  FJustRaised = false;
  FLevel = 0;
}

void TMicroTilesRepaintOptimizer::CheckLevel() {
  if (!FAdaptive || FLevel <= 0) return;
  if (TickNow() > FNextCheckAt) {
    FLevel = std::max(FLevel - 1, 0);
    FProbeActive = true;
  } else if (!FJustRaised && FOutRects->GetCount() < FRectCountAtRaise - 10) {
    FLevel = std::max(FLevel - 1, 0);
  } else if (FLevel == 2) {
    FOutRects->Clear();
  }
}

void TMicroTilesRepaintOptimizer::AdaptToTiming() {
  const Int64 T = FPaintClock->ElapsedMicroseconds();
  if (FOutRects->GetCount() == 0) {
    FFullPaintTime = T;
    return;
  }
  if (!FAdaptive) return;
  if (T > FFullPaintTime) {
    const Integer L = std::min(FLevel + 1, 2);
    if (L != FLevel) {
      FRectCountAtRaise = FOutRects->GetCount();
      FLevel = L;
      if (FProbeActive) {
        FCheckInterval = ClampToRange(FCheckInterval + 250, 1000, 5000);
        FNextCheckAt = TicksAhead(FCheckInterval);
        FPenaltyTime = T;
        FProbeActive = false;
      }
      FJustRaised = true;
    }
  } else if (T < FFullPaintTime) {
    if (FProbeActive) {
      FCheckInterval = 1000;
      FNextCheckAt = TicksAhead(1000);
      FProbeActive = false;
    } else if (FCheckInterval > 1000) {
      FCheckInterval = ClampToRange(FCheckInterval - 1000, 1000, 5000);
      FNextCheckAt = TicksAhead(FCheckInterval);
    }
    FJustRaised = false;
  } else if (T < FPenaltyTime && FProbeActive) {
    FCheckInterval = ClampToRange(FCheckInterval - 250, 1000, 5000);
    FNextCheckAt = TicksAhead(FCheckInterval);
    FProbeActive = false;
  }
}

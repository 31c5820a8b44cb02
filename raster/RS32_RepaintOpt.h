#pragma once
// The repaint optimizer of a paint box: while active it decides which rectangles of the back
// buffer must be redrawn, from the changed areas of the shown bitmap and of the layers, kept in
// micro-tile grids. Adaptive mode times partial and full buffer paints and, when partial ones
// turn out slower, first records whole tiles (level 1) and then repaints in full (level 2);
// timed checks every 1 to 5 seconds try the cheaper level again.
//
// The optimizer refers to the paint box's buffer, its dirty-rectangle list and the watched layer
// collections; it owns none of them. All calls come from the painting thread.
#include <memory>

#include "platform/system/Lists.h"
#include "raster/RS32.h"
#include "raster/RS32_Containers.h"
#include "raster/RS32_Layers.h"
#include "raster/RS32_MicroTiles.h"
#include "raster/RS32_System.h"

// Info of an area event: Area holds a line from (Left, Top) to (Right, Bottom) whose width is
// Info and 0x00FFFFFF.
constexpr Cardinal AreaInfoLine = 0x40000000;

class TCustomRepaintOptimizer : public TObject {
 public:
  TCustomRepaintOptimizer(TBitmap32* Buffer, TRectList* InvalidRects);
  // Unwatches what is still watched; a descendant with its own unwatching does it first.
  ~TCustomRepaintOptimizer() override;

  virtual bool GetActive() const { return FActive; }
  virtual void SetActive(bool Value) { FActive = Value; }
  virtual void LayersChanged(TLayerCollection* Sender, Integer Action, TCustomLayer* Layer,
                             Integer Index) = 0;
  virtual void WatchCollection(TLayerCollection* Collection);
  virtual void UnwatchCollection(TLayerCollection* Collection);
  virtual void PaintStarting() {}
  virtual void PaintFinished() {}
  virtual void BufferPaintStarting() {}
  virtual void BufferPaintFinished() {}
  virtual void Restart() = 0;
  virtual bool HasChanges() = 0;
  virtual void BuildRects() = 0;
  virtual void AreaChangedHandler(TObject* Sender, const TRect& Area, Cardinal Info) = 0;
  virtual void LayerChangedHandler(TObject* Sender, TCustomLayer* Layer) = 0;
  virtual void TargetResized(Integer NewWidth, Integer NewHeight) = 0;

  TBitmap32* GetTarget() const { return FTarget; }
  TRectList* GetOutRects() const { return FOutRects; }
  Integer CollectionCount() const { return FCollections.GetCount(); }
  TLayerCollection* Collection(Integer Index) const {
    return static_cast<TLayerCollection*>(FCollections.Get(Index));
  }

 protected:
  bool FActive = false;
  TList FCollections;
  TRectList* FOutRects;
  TBitmap32* FTarget;
};

// The library-wide class from which paint boxes make their optimizer.
using TCustomRepaintOptimizerClass = TCustomRepaintOptimizer* (*)(TBitmap32* Buffer, TRectList* InvalidRects);
extern TCustomRepaintOptimizerClass DefaultRepaintOptimizerClass;

class TMicroTilesRepaintOptimizer : public TCustomRepaintOptimizer {
 public:
  TMicroTilesRepaintOptimizer(TBitmap32* Buffer, TRectList* InvalidRects);
  ~TMicroTilesRepaintOptimizer() override;

  void SetActive(bool Value) override;
  void LayersChanged(TLayerCollection* Sender, Integer Action, TCustomLayer* Layer, Integer Index) override;
  void WatchCollection(TLayerCollection* Collection) override;
  void UnwatchCollection(TLayerCollection* Collection) override;
  void BufferPaintStarting() override;
  void BufferPaintFinished() override;
  void Restart() override;
  bool HasChanges() override;
  void BuildRects() override;
  void AreaChangedHandler(TObject* Sender, const TRect& Area, Cardinal Info) override;
  void LayerChangedHandler(TObject* Sender, TCustomLayer* Layer) override;
  void TargetResized(Integer NewWidth, Integer NewHeight) override;

  bool GetAdaptive() const { return FAdaptive; }
  void SetAdaptive(bool Value) { FAdaptive = Value; }
  Integer GetLevel() const { return FLevel; }
  Int64 GetFullPaintTime() const { return FFullPaintTime; }
  Integer GetCheckInterval() const { return FCheckInterval; }
  Integer GetNextCheckAt() const { return FNextCheckAt; }
  bool GetProbeActive() const { return FProbeActive; }
  bool GetJustRaised() const { return FJustRaised; }
  const TTileGrid& GetForcedGrid() const { return FForcedGrid; }
  const TTileGrid& GetChangedGrid() const { return FChangedGrid; }
  Integer StaleLayerCount() const { return FStaleLayers.GetCount(); }
  Integer LayerGridCount() const { return FLayerGrids.GetCount(); }
  bool GetLayerGridsValid() const { return FLayerGridsValid; }

 private:
  void BindEvents(TLayerCollection* Collection);
  void UnbindEvents(TLayerCollection* Collection);
  void EnsureGridsSized();
  void RecordArea(TTileGrid& Grid, const TRect& Area, Cardinal Info);
  void MeasureLayer(TTileGrid& Grid, TCustomLayer* Layer);
  void MeasuredArea(TObject* Sender, const TRect& Area, Cardinal Info);
  void ValidateLayerGrids();
  void ResetAdaptation();
  void CheckLevel();
  void AdaptToTiming();
  // The layer's grid sized to the buffer; made when the layer has none.
  TTileGrid* SizedLayerGrid(TCustomLayer* Layer);
  // nullptr when the layer has no grid.
  TTileGrid* FindLayerGrid(TCustomLayer* Layer) const;

  TRect FTargetBounds;
  TTileGrid* FWorkGrid = nullptr;
  TTileGrid FScratchGrid;
  TTileGrid FChangedGrid;
  TTileGrid FForcedGrid;
  TList FStaleLayers;
  TMicroTilesMap FLayerGrids;
  bool FGridsSized = false;
  bool FLayerGridsValid = false;
  bool FHasWork = false;
  bool FAdaptive = true;
  std::unique_ptr<TPerfTimer> FPaintClock;
  Integer FLevel = 0;
  Int64 FFullPaintTime = 0;
  bool FJustRaised = false;
  bool FProbeActive = false;
  Integer FCheckInterval = 0;
  Integer FNextCheckAt = 0;
  Int64 FPenaltyTime = 0;
  Integer FRectCountAtRaise = 0;
};

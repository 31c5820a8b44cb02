#pragma once
// The paint box and the image control.
//
// TCustomPaintBox32 is a windowed control that paints itself from a 32-bit back buffer: all
// drawing goes into the buffer, and the window is refreshed by copying buffer rectangles onto
// it (never erased, never drawn on directly). A list of dirty rectangles limits what is redrawn
// and copied; a repaint optimizer can fill that list from the changes of the shown bitmap and
// of the layers.
//
// TCustomImage32 shows one TBitmap32 (Bitmap) in the control, scaled and placed by ScaleMode,
// Scale and BitmapAlign, draws it into the buffer through an ordered list of paint stages,
// carries a layer collection, and maps bitmap coordinates to the control's. TImage32 publishes
// it unchanged.
//
// Ownership: the paint box owns its buffer, dirty-rectangle list and optimizer; the image owns
// Bitmap, its layer collection and its stage list. Everything runs on the user-interface
// thread; the buffer is locked while it is copied or resized, the bitmap while it is drawn.
#include <memory>
#include <vector>

#include "platform/classes/Controls.h"
#include "platform/system/Delegates.h"
#include "platform/system/Sets.h"
#include "raster/RS32.h"
#include "raster/RS32_Containers.h"
#include "raster/RS32_Layers.h"
#include "raster/RS32_RepaintOpt.h"

enum TRepaintMode : Byte { rmFull, rmDirect, rmOptimizer };
enum TBitmapAlign : Byte { baTopLeft, baCenter, baTile, baCustom };
enum TScaleMode : Byte { smNormal, smStretch, smScale, smResize, smOptimal, smOptimalScaled };

enum TPaintBoxOption : Byte { WantsArrowKeys, FocusOnClick };
using TPaintBoxOptions = TSet<TPaintBoxOption, 8>;

using TImgMouseEvent = TDelegate<void(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X,
                                      Integer Y, TCustomLayer* Layer)>;
using TImgMouseMoveEvent =
    TDelegate<void(TObject* Sender, TShiftState Shift, Integer X, Integer Y, TCustomLayer* Layer)>;
using TPaintStageEvent = TDelegate<void(TObject* Sender, TBitmap32* Buffer, Cardinal StageNum)>;

// Kinds of paint stages.
constexpr Cardinal PST_CUSTOM = 1;         // fires OnPaintStage
constexpr Cardinal PST_CLEAR_BUFFER = 2;   // clears the buffer with the control colour
constexpr Cardinal PST_CLEAR_BACKGND = 3;  // erases the background around the bitmap
constexpr Cardinal PST_DRAW_BITMAP = 4;    // draws the bitmap
constexpr Cardinal PST_DRAW_LAYERS = 5;    // draws the layers Parameter selects
constexpr Cardinal PST_CONTROL_FRAME = 6;  // focus rectangle around the control
constexpr Cardinal PST_BITMAP_FRAME = 7;   // focus rectangle around the bitmap

struct TPaintStage {
  bool AtDesignTime = false;
  bool AtRunTime = false;
  Cardinal Kind = 0;
  Cardinal Parameter = 0;  // for PST_DRAW_LAYERS: the layer options that select the layers
};

// The paint stages in paint order.
class TPaintStages : public TObject {
 public:
  // A new stage at the end (run time only, kind 0) to be filled in; valid until the list
  // changes.
  TPaintStage* Add();
  void Clear() { FItems.clear(); }
  Integer Count() const { return static_cast<Integer>(FItems.size()); }
  // Raises EListError outside 0..Count - 1.
  TPaintStage* Items(Integer Index);

 private:
  std::vector<TPaintStage> FItems;
};

class TCustomPaintBox32 : public TCustomControl {
 public:
  explicit TCustomPaintBox32(TComponent* AOwner);
  ~TCustomPaintBox32() override;

  void Dispatch(TMessage& Message) override;
  void Invalidate() override;
  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;

  TBitmap32* GetBackBuffer() const { return FBackBuffer.get(); }
  TRepaintMode GetRepaintMode() const { return FRepaintMode; }
  virtual void SetRepaintMode(TRepaintMode Value);
  TCustomRepaintOptimizer* GetOptimizer() const { return FOptimizer.get(); }
  TRectList* GetDirtyRects() const { return FDirtyRects.get(); }
  Integer GetBackBufferSlack() const { return FBackBufferSlack; }
  bool GetBackBufferCurrent() const { return FBackBufferCurrent; }
  bool GetFullRepaintPending() const { return FFullRepaintPending; }
  bool GetMouseInside() const { return FMouseInside; }
  TPaintBoxOptions GetBoxOptions() const { return FBoxOptions; }

  // (0, 0, Width, Height).
  virtual TRect ViewportRect();
  virtual void ForceFullRepaint();
  virtual bool WantsPartialRepaint();
  virtual bool HasDirtyRects();
  virtual void CollectDirtyRects();
  virtual void RenderBackBuffer();
  // Refreshes the window: renders the buffer when it is not current, then copies the dirty
  // rectangles (or the whole viewport) onto the canvas.
  void Paint() override;

  TNotifyEvent OnGDIOverlay;
  // The paint box's own enter and leave events, fired after MouseInside changes.
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

 protected:
  virtual void PaintOverlay();
  virtual void BackBufferResized(Integer OldWidth, Integer OldHeight);
  virtual void MouseEntered();
  virtual void MouseLeft();
  void Loaded() override;
  void Resize() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  // Buffer extents follow the viewport with slack: grown by the slack when too small, shrunk
  // to the viewport when more than the slack too large.
  void AdjustBackBuffer();
  // rmDirect: the area is added to the dirty rectangles and repainted at once.
  void DirectAreaUpdateHandler(TObject* Sender, const TRect& Area, Cardinal Info);
  bool IsPainting() const { return FPaintNesting > 0; }

  std::unique_ptr<TBitmap32> FBackBuffer;
  Integer FBackBufferSlack = 40;
  bool FBackBufferCurrent = false;
  TRepaintMode FRepaintMode = rmFull;
  std::unique_ptr<TRectList> FDirtyRects;
  bool FFullRepaintPending = true;
  std::unique_ptr<TCustomRepaintOptimizer> FOptimizer;
  TPaintBoxOptions FBoxOptions;
  bool FMouseInside = false;

 private:
  Integer FPaintNesting = 0;
};

class TCustomImage32 : public TCustomPaintBox32 {
 public:
  using TPaintStageHandler = void (TCustomImage32::*)(TBitmap32* Dest, Integer StageNum);

  explicit TCustomImage32(TComponent* AOwner);
  ~TCustomImage32() override;

  void Invalidate() override;
  void SetRepaintMode(TRepaintMode Value) override;
  bool HasDirtyRects() override;
  void RenderBackBuffer() override;

  // Owned; assigning copies Value into it.
  TBitmap32* GetBitmap() const { return FBitmap.get(); }
  void SetBitmap(TBitmap32* Value);
  TBitmapAlign GetBitmapAlign() const { return FBitmapAlign; }
  void SetBitmapAlign(TBitmapAlign Value);
  TLayerCollection* GetLayerSet() const { return FLayerSet.get(); }
  Single GetOffsetX() const { return FOffsetX; }
  void SetOffsetX(Single Value);
  Single GetOffsetY() const { return FOffsetY; }
  void SetOffsetY(Single Value);
  TPaintStages* GetStageList() const { return FStageList.get(); }
  Single GetScale() const { return FScaleX; }
  // Values below 0.001 become 0.001; the current value again does nothing.
  void SetScale(Single Value);
  Single GetScaleX() const { return FScaleX; }
  Single GetScaleY() const { return FScaleY; }
  TScaleMode GetScaleMode() const { return FScaleMode; }
  virtual void SetScaleMode(TScaleMode Value);
  Integer GetUpdateNesting() const { return FUpdateNesting; }
  const TRect& GetShownBitmapRect() const { return FShownBitmapRect; }
  bool GetPlacementCurrent() const { return FPlacementCurrent; }

  virtual void BeginUpdate();
  // Repaints and fires OnChange (outside updates) in place of the control's CM_CHANGED, which
  // the image does not send: its changes come many to a paint and nothing listens for them.
  void Changed() override;
  // Raises EAssertionFailed "Unpaired EndUpdate call" below 0; the count stays at -1.
  virtual void EndUpdate();
  virtual void RefreshPlacement();
  void DropPlacement();
  // Where the bitmap lies in the control: a moved (0, 0, size) rectangle, empty for an empty
  // bitmap.
  virtual TRect CalcBitmapRect();
  virtual TSize CalcBitmapSize();
  // Bitmap coordinates to control coordinates with the cached 16.16 transform; the product
  // is taken in 64 bits and the result saturates, so large bitmaps at high zoom map soundly.
  TPoint BitmapPointToControl(const TPoint& P);
  // Runs the run-time paint stages into Dest, showing the bitmap in DestRect.
  virtual void RenderTo(TBitmap32* Dest, const TRect& DestRect);
  // Makes the bitmap the viewport's size (cleared with ClearColor when DoClear).
  virtual void FitBitmapToViewport(bool DoClear = true, TColor32 ClearColor = 0);

  // Stage handlers (Dest: the buffer or RenderTo's destination; StageNum: index in the stage
  // list).
  virtual void PaintBitmapFrame(TBitmap32* Dest, Integer StageNum);
  virtual void PaintClearBuffer(TBitmap32* Dest, Integer StageNum);
  virtual void PaintEraseBackground(TBitmap32* Dest, Integer StageNum);
  virtual void PaintControlFrame(TBitmap32* Dest, Integer StageNum);
  virtual void PaintCustomStage(TBitmap32* Dest, Integer StageNum);
  virtual void PaintBitmap(TBitmap32* Dest, Integer StageNum);
  virtual void PaintLayers(TBitmap32* Dest, Integer StageNum);

  TNotifyEvent OnBitmapResize;
  TNotifyEvent OnChange;
  TNotifyEvent OnInitStages;
  TImgMouseEvent OnMouseDown;
  TImgMouseEvent OnMouseUp;
  TImgMouseMoveEvent OnMouseMove;
  TPaintStageEvent OnPaintStage;
  TNotifyEvent OnScaleChange;

 protected:
  virtual void BitmapSizeChanged();
  virtual void BitmapAreaChanged(const TRect& Area);
  virtual void FireInitStages();
  virtual void AfterScaleChange();
  virtual void AddDefaultStages();
  virtual void FireMouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y,
                             TCustomLayer* Layer);
  virtual void FireMouseMove(TShiftState Shift, Integer X, Integer Y, TCustomLayer* Layer);
  virtual void FireMouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y, TCustomLayer* Layer);
  void PaintOverlay() override;
  void MouseLeft() override;
  bool CanAutoSize(Integer& NewWidth, Integer& NewHeight) override;
  void Loaded() override;
  void Resize() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;

 private:
  void BitmapResizeHandler(TObject* Sender);
  void BitmapChangeHandler(TObject* Sender);
  void BitmapAreaChangeHandler(TObject* Sender, const TRect& Area, Cardinal Info);
  void BitmapDirectAreaChangeHandler(TObject* Sender, const TRect& Area, Cardinal Info);
  void LayerCollectionChangeHandler(TObject* Sender);
  void LayerCollectionPaintHandler(TObject* Sender);
  void LayerCollectionGetViewportScaleHandler(TObject* Sender, Single& ScaleX, Single& ScaleY);
  void LayerCollectionGetViewportShiftHandler(TObject* Sender, Single& ShiftX, Single& ShiftY);
  // The bitmap area in control coordinates, grown by the resampler's reach; one rectangle per
  // visible tile copy with baTile.
  void MapBitmapArea(const TRect& Area, std::vector<TRect>& Out);
  // The transform for the bitmap shown in R.
  void SetTransform(const TRect& R);
  // The stage tables for design or run time.
  void BuildStageTables(bool Designing);
  void RunStages(TBitmap32* Dest);
  void DrawTiles(TBitmap32* Dest, const TRect& R, Integer W, Integer H);

  std::unique_ptr<TBitmap32> FBitmap;
  TBitmapAlign FBitmapAlign = baTopLeft;
  std::unique_ptr<TLayerCollection> FLayerSet;
  Single FOffsetX = 0;
  Single FOffsetY = 0;
  std::unique_ptr<TPaintStages> FStageList;
  std::vector<TPaintStageHandler> FStageHandlers;
  std::vector<Integer> FStageNums;
  Single FScaleX = 1.0f;
  Single FScaleY = 1.0f;
  TScaleMode FScaleMode = smNormal;
  Integer FUpdateNesting = 0;
  TRect FShownBitmapRect;
  Integer FXScale = 65536;  // 16.16
  Integer FYScale = 65536;
  Integer FXShift = 0;
  Integer FYShift = 0;
  bool FPlacementCurrent = false;
};

class TImage32 : public TCustomImage32 {
 public:
  explicit TImage32(TComponent* AOwner) : TCustomImage32(AOwner) {}
};

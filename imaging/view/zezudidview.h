#pragma once
// TZezudIdView: the imaging library's display control. It owns a stack of layers whose current
// one holds the picture (FIEBitmap), shows it zoomed and scrolled through a back buffer, keeps
// one selection (polygons and a mask), and creates on demand the I/O and processing components
// that work on its picture. It works without a window handle: a view with no owner and no parent
// can load a picture and hand out its platform bitmap.
//
// Ownership: the view owns its layers (each layer owns its bitmap and the platform bitmap that
// bitmap wraps), its I/O and processing components (as their owner component), the selection
// mask, the polygon records, the back buffer, the timers and the parameter objects. The linked
// navigator view and an external bitmap are never owned.
//
// One header for one unit split over several .cpp files: each section below is kept by the
// file group named in its comment.
#include <memory>
#include <string>
#include <vector>

#include "imaging/core/hyiedefs.h"
#include "imaging/core/iemask.h"
#include "imaging/core/ieviewparams.h"
#include "imaging/io/ieview.h"
#include "imaging/proc/zezudidproc.h"
#include "imaging/proc/zezudidproctransitions.h"
#include "imaging/view/zezudidviewlayer.h"
#include "platform/classes/Controls.h"
#include "platform/classes/StdCtrls.h"
#include "platform/gdi/DrawDib.h"
#include "platform/system/Delegates.h"
#include "platform/system/Types.h"

class TBitmap;
class TCanvas;
class TIECanvas;
class TMemoryStream;
class TPen;
class TPicture;
class TStream;
class TTimer;
class TZezudIdIO;
struct TIESelPolygon;

enum TIEBackgroundStyle : Byte {
  iebsSolid,
  iebsHorizontal,
  iebsVertical,
  iebsFDiagonal,
  iebsBDiagonal,
  iebsCross,
  iebsDiagCross,
  iebsDiagonals,
  iebsCropped,
  iebsCropShadow,
  iebsSoftShadow,
  iebsGradient,
  iebsPhotoLike,
  iebsChessboard,
};

enum TIEWallPaperStyle : Byte { iewoNormal, iewoStretch, iewoTile };

// Whether selection coordinates given to the view are client pixels or picture pixels.
enum TIESelectionBase : Byte { iesbClientArea, iesbBitmap };

enum TIESelectionOptionsItem : Byte {
  iesoAnimated,
  iesoSizeable,
  iesoMoveable,
  iesoFilled,
  iesoCutBorders,
  iesoMarkOuter,
  iesoCanScroll,
  iesoSelectTranspLayers,
  iesoRightButtonSelectLayers,
  iesoRightButtonTerminatePolySelect,
};
using TIESelectionOptions = TSet<TIESelectionOptionsItem, 16>;

enum TIEMouseInteractItems : Byte {
  miZoom,
  miScroll,
  miSelect,
  miSelectPolygon,
  miSelectCircle,
  miSelectZoom,
  miSelectMagicWand,
  miSelectLasso,
  miMoveLayers,
  miResizeLayers,
  miRotateLayers,
  miMovingScroll,
};
using TIEMouseInteract = TSet<TIEMouseInteractItems, 16>;

enum TIEGrip : Byte {
  ieNone,
  ieTopLeft,
  ieTopRight,
  ieBottomRight,
  ieBottomLeft,
  ieLeftSide,
  ieRightSide,
  ieTopSide,
  ieBottomSide,
  ieRotationCenter,
};

enum TIELayerEvent : Byte {
  ielSelected,
  ielMoved,
  ielResized,
  ielMoving,
  ielResizing,
  ielRotating,
  ielRotated,
  ielBeginResizing,
  ielBeginMoving,
};

// Change: 0 scrolled, 1 zoomed.
using TViewChangeEvent = TDelegate<void(TObject* Sender, Integer Change)>;
// Change: 0 horizontal scroll, 1 vertical scroll, 2 zoom; NewValue the coming position or zoom.
using TViewChangingEvent = TDelegate<void(TObject* Sender, Integer Change, Double NewValue)>;
using TIEMouseInResizingGripEvent = TDelegate<void(TObject* Sender, TIEGrip Grip)>;
using TIEZoomEvent = TDelegate<void(TObject* Sender, Double& NewZoom)>;
using TIELayerNotify = TDelegate<void(TObject* Sender, Integer Layer, TIELayerEvent Event)>;
using TIESpecialKeyEvent = TDelegate<void(TObject* Sender, Word CharCode, TShiftState Shift, bool& Handled)>;
using TIEVirtualKeyEvent = TDelegate<void(TObject* Sender, Word VirtualKey, Cardinal KeyData, bool KeyDown)>;
using TIESetCursorEvent = TDelegate<void(TObject* Sender, TCursor& Cursor)>;
using TIEOnDrawBackground = TDelegate<void(TObject* Sender, TCanvas* ACanvas, TRect ARect, bool& Handled)>;
using TIEOnDrawCanvas = TDelegate<void(TObject* Sender, TCanvas* ACanvas, TRect ARect)>;
using TIEOnDrawPolygon = TDelegate<void(TObject* Sender, TCanvas* ACanvas, Integer Index, TPoint Point)>;
using TIEDrawLayerBoxEvent = TDelegate<void(TObject* Sender, TBitmap* ABitmap, Integer Layer)>;
using TIEDrawLayerGrip =
    TDelegate<void(TObject* Sender, TBitmap* ABitmap, Integer Layer, Integer Grip, TRect& Rect)>;

// The default cursor of a view (a cross).
constexpr TCursor IEViewDefaultCursor = 1785;

// Frees a polygon record with its points.
struct TIESelPolygonDelete {
  void operator()(TIESelPolygon* Polygon) const;
};
using TIESelPolygonPtr = std::unique_ptr<TIESelPolygon, TIESelPolygonDelete>;

class TZezudIdView : public TIEView {
 public:
  // ----------------------------------------------------------------------------------------
  // --- core --- (zezudidview.cpp, zezudidviewstate.cpp)
  // ----------------------------------------------------------------------------------------
  explicit TZezudIdView(TComponent* Owner);
  ~TZezudIdView() override;
  TZezudIdView(const TZezudIdView&) = delete;
  TZezudIdView& operator=(const TZezudIdView&) = delete;

  // The components working on this view's picture, created, owned and attached on first use.
  TZezudIdIO* GetIO();
  TZezudIdProc* GetProc();

  // The current picture (the current layer's bitmap) and, while LegacyBitmap is on, the
  // platform bitmap that holds its pixels (nil otherwise).
  TIEBitmap* GetIEBitmap() override;
  TBitmap* GetTBitmap() override;
  TIEBitmap* GetAlphaChannel() override;
  bool HasAlphaChannel() override;
  void RemoveAlphaChannel(bool Merge) override;
  // Shows a caller's bitmap without owning it; nil gives the view an own bitmap back.
  void AssignExternalBitmap(TIEBitmap* Bitmap);
  bool GetLegacyBitmap() const { return FLegacyBitmap; }
  virtual void SetLegacyBitmap(bool Value);

  // A picture narrower than 2 and lower than 2 counts as empty.
  virtual bool IsEmpty();
  void Blank();
  void Clear();
  void Assign(TPersistent* Source) override;
  void SetBackground(TColor Value) override;
  void ImageChange() override;
  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;

  void LockPaint() override;
  Integer UnlockPaint() override;
  Integer UnlockPaintNoRefresh() override;
  Integer GetPaintLock() const { return FPaintLock; }
  bool IsImageView() const override { return true; }
  void LockUpdate() override;
  void UnlockUpdate();
  void UnlockUpdateNoRefresh() override;
  Integer GetUpdateLock() const { return FUpdateLock; }

  virtual bool HasParentWindow();
  // Client size; 50 x 50 without a window to measure, Width x Height with FLockPaintForced.
  virtual Integer GetViewWidth();
  virtual Integer GetViewHeight();
  bool GetLockPaintForced() const { return FLockPaintForced; }
  void SetLockPaintForced(bool Value) { FLockPaintForced = Value; }

  virtual void DoViewChange(Integer Change);
  virtual void DoViewChanging(Integer Change, Double NewValue);
  virtual void DoLayerNotify(Integer Layer, TIELayerEvent Event);
  void DoZoomIn(Double& Zoom);
  void DoZoomOut(Double& Zoom);
  void DoMouseInResizingGrip(TIEGrip Grip);
  void DoMouseInSel();
  // Exchanges SelectionBase with its saved value around a user handler.
  void SwapSelectionBase();

  virtual void SetOnProgress(TIEProgressEvent Value);
  virtual void SetOnFinishWork(TNotifyEvent Value);
  virtual TIEProgressEvent GetOnProgress() { return FOnProgress; }
  virtual TNotifyEvent GetOnFinishWork() { return FOnFinishWork; }
  TIESaveUndoEvent GetOnSaveUndo() const { return FOnSaveUndo; }
  void SetOnSaveUndo(TIESaveUndoEvent Value);

  // The transition events are kept by the view's transition engine, which the first setter
  // creates (zezudidviewtransition.cpp); the getters answer nil while there is none.
  TNotifyEvent GetOnTransitionStop() const;
  void SetOnTransitionStop(TNotifyEvent Value);
  TIETransitionStepEvent GetOnTransitionStep() const;
  void SetOnTransitionStep(TIETransitionStepEvent Value);
  TIEOnTransitionPaint GetOnTransitionPaint() const;
  void SetOnTransitionPaint(TIEOnTransitionPaint Value);

  // Navigator: View shows this view's picture with a fixed-size movable selection that
  // follows and drives this view's visible area. Options bit 0: its wheel zooms this view.
  void SetNavigator(TZezudIdView* View, Byte Options = 0);
  TZezudIdView* GetNavigator() const { return FLinkedView; }
  bool GetIsNavigator() const { return FIsLinked; }
  void SyncNavigator();
  void NavigatorSelectionChanging(TObject* Sender);
  void NavigatorMouseWheel(TObject* Sender, TShiftState Shift, Integer WheelDelta, TPoint MousePos,
                           bool& Handled);

  void SetSelectionAspectRatio(Double Value);
  Double GetSelectionAspectRatio() const { return FSelectionAspectRatio; }
  void SetSelectionFixedWidth(Integer Value) { FSelectionFixedWidth = Value; }
  void SetSelectionFixedHeight(Integer Value) { FSelectionFixedHeight = Value; }
  Integer GetSelectionFixedWidth() const { return FSelectionFixedWidth; }
  Integer GetSelectionFixedHeight() const { return FSelectionFixedHeight; }
  void SetInteractionHint(const std::string& Text, Integer X, Integer Y, const std::string& SizeTemplate);
  void SetChessboardStyle(Integer Size, Byte BrushStyle);

  // Objects handed to the view to free with it.
  void AddAuxObject(TObject* Object);
  void DeleteAuxObject(Integer Index);
  Integer GetAuxObjectCount() const { return static_cast<Integer>(FAuxObjects.size()); }

  // Published properties.
  bool GetDoubleBuffer() const { return FDoubleBuffer; }
  void SetDoubleBuffer(bool Value) { FDoubleBuffer = Value; }
  TResampleFilter GetZoomFilter() const { return FZoomFilter; }
  void SetZoomFilter(TResampleFilter Value);
  bool GetDelayZoomFilter() const { return FDelayZoomFilter; }
  void SetDelayZoomFilter(bool Value) { FDelayZoomFilter = Value; }
  bool GetAutoFit() const { return FAutoFit; }
  void SetAutoFit(bool Value) { FAutoFit = Value; }
  bool GetAutoStretch() const { return FAutoStretch; }
  void SetAutoStretch(bool Value) { FAutoStretch = Value; }
  bool GetAutoShrink() const { return FAutoShrink; }
  void SetAutoShrink(bool Value) { FAutoShrink = Value; }
  TIESelectionBase GetSelectionBase() const { return FSelectionBase; }
  void SetSelectionBase(TIESelectionBase Value) { FSelectionBase = Value; }
  TIEBackgroundStyle GetBackgroundStyle() const { return FBackgroundStyle; }
  void SetBackgroundStyle(TIEBackgroundStyle Value);
  bool GetEnableAlphaChannel() const { return FEnableAlphaChannel; }
  void SetEnableAlphaChannel(bool Value);
  bool GetDrawVersion() const { return FDrawVersion; }
  void SetDrawVersion(bool Value);
  std::string GetZezudIdVersion() const { return IEVersion; }
  void SetZezudIdVersion(const std::string&) {}
  TPicture* GetWallPaper() const { return FWallPaper.get(); }
  void SetWallPaper(TPicture* Value);
  TIEWallPaperStyle GetWallPaperStyle() const { return FWallPaperStyle; }
  void SetWallPaperStyle(TIEWallPaperStyle Value);
  bool GetEnableInteractionHints() const { return FEnableInteractionHints; }
  void SetEnableInteractionHints(bool Value) { FEnableInteractionHints = Value; }
  bool GetFlatScrollBars() const { return FFlatScrollBars; }
  void SetFlatScrollBars(bool Value);
  TColor GetGradientEndColor() const { return FGradientEndColor; }
  void SetGradientEndColor(TColor Value) { FGradientEndColor = Value; }
  bool GetUseDrawDib() const { return FUseDrawDib; }
  void SetUseDrawDib(bool Value) { FUseDrawDib = Value; }
  TIEScrollBarParams* GetHScrollBarParams() const { return FHScrollParams.get(); }
  TIEScrollBarParams* GetVScrollBarParams() const { return FVScrollParams.get(); }
  TIEMouseWheelParams* GetMouseWheelParams() const { return FWheelParams.get(); }
  bool GetScrollBarsDisabledWhenFit() const { return FScrollBarsDisabledWhenFit; }
  void SetScrollBarsDisabledWhenFit(bool Value) { FScrollBarsDisabledWhenFit = Value; }
  bool GetInvalidateOnUpdate() const { return FInvalidateOnUpdate; }
  void SetInvalidateOnUpdate(bool Value) { FInvalidateOnUpdate = Value; }
  Integer GetUpdateReason() const { return FUpdateReason; }
  void SetUpdateReason(Integer Value) { FUpdateReason = Value; }

  // Events (assignable fields).
  TViewChangeEvent OnViewChange;
  TViewChangingEvent OnViewChanging;
  TNotifyEvent OnImageChange;
  TNotifyEvent OnPaint;
  TIEMouseInResizingGripEvent OnMouseInResizingGrip;
  TIEZoomEvent OnZoomIn;
  TIEZoomEvent OnZoomOut;
  TNotifyEvent OnDrawBackBuffer;
  TIELayerNotify OnLayerNotify;
  TIESpecialKeyEvent OnSpecialKey;
  TIEVirtualKeyEvent OnVirtualKey;
  TIEOnDrawBackground OnDrawBackground;
  TIEOnDrawCanvas OnDrawCanvas;
  TIEDrawLayerBoxEvent OnDrawLayerBox;
  TIEDrawLayerGrip OnDrawLayerGrip;
  TNotifyEvent OnDShowNewFrame;
  TNotifyEvent OnDShowEvent;
  TIESetCursorEvent OnSetCursor;

 protected:
  void Dispatch(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // A recreated window is given to the I/O component's playback object.
  void CreateWnd() override;
  void WMSize(TMessage& Message);
  void WMEraseBkgnd(TMessage& Message);
  void WMFocusChange(TMessage& Message);
  void WMLButtonDblClk(TMessage& Message);
  void IEMUpdate(TMessage& Message);
  void IEMProgress(TMessage& Message);
  void IEMFinishWork(TMessage& Message);
  void IEMNewFrame(TMessage& Message);
  void IEMEvent(TMessage& Message);
  void CMWantSpecialKey(TMessage& Message);
  void KeyNotification(TMessage& Message);

  // Picture and layers.
  bool FLegacyBitmap = true;
  bool FUseDrawDib = false;
  Integer FRefreshLayer = -1;  // the layer whose display cache the next Update drops; -1 all
  bool FLayersOnlySelectable = true;
  Integer FLastWidth = 0;
  Integer FLastHeight = 0;
  TBitmap* FLegacyTBitmap = nullptr;  // the platform bitmap behind FIEBitmap; owned by its layer
  bool FEnableAlphaChannel = true;
  TIEBitmap* FIEBitmap = nullptr;  // the current layer's bitmap; owned by the layer
  TZezudIdIO* FIO = nullptr;       // owned as component
  TZezudIdProc* FProc = nullptr;   // owned as component
  std::vector<std::unique_ptr<TIELayer>> FLayers;
  Integer FCurrentLayer = 0;
  Integer FBitmapWidth = 0;  // the layered size every geometry uses
  Integer FBitmapHeight = 0;
  bool FLayersSync = false;
  bool FHasOwner = false;

  // Locks, progress and state.
  Integer FPaintLock = 0;
  Integer FUpdateLock = 0;
  bool FLockPaintForced = false;
  Integer FUpdateReason = 0;  // 4 size, 3 selection, 2 zoom, 1 centre
  bool FDoubleBuffer = true;
  bool FAutoFit = false;
  bool FAutoStretch = false;
  bool FAutoShrink = false;
  bool FInvalidateOnUpdate = true;
  bool FNoInvalidate = false;
  bool FScrollBarsDisabledWhenFit = false;
  bool FFlatScrollBars = false;
  TIEProgressEvent FOnProgress;
  TNotifyEvent FOnFinishWork;
  TIESaveUndoEvent FOnSaveUndo;
  std::vector<std::unique_ptr<TObject>> FAuxObjects;
  std::unique_ptr<TIETransitionEffects> FTransition;  // made when a transition event is set
  TIETransitionEffects* TransitionEngine();
  // Ends a run in progress (resizing, blanking); nothing without one.
  void StopTransition();

  // The navigator link: on the main view FLinkedView is its navigator; on the navigator
  // FIsLinked is set and FLinkedFrameStyle holds the options it was linked with.
  TZezudIdView* FLinkedView = nullptr;
  Byte FLinkedFrameStyle = 0;
  bool FUpdatingLinked = false;
  bool FIsLinked = false;

  // Interaction hint drawn by Paint.
  std::string FHintText;
  Integer FHintX = 0;
  Integer FHintY = 0;
  std::string FHintTemplate;

  // ----------------------------------------------------------------------------------------
  // --- geometry --- (zezudidviewzoom.cpp, zezudidviewscroll.cpp)
  // ----------------------------------------------------------------------------------------
 public:
  void Update() override;
  virtual void UpdateZoomTables();
  virtual void UpdateViewGeometry();
  virtual void UpdateExtents();
  Integer SnapViewX(Integer Value);
  Integer SnapViewY(Integer Value);

  virtual void SetZoom(Double Value);
  virtual void SetZoomX(Double Value);
  virtual void SetZoomY(Double Value);
  void ChangeZoom(Double Value);
  void ChangeZoomX(Double Value);
  void ChangeZoomY(Double Value);
  Double GetZoom() const { return FZoomX; }
  Double GetZoomX() const { return FZoomX; }
  Double GetZoomY() const { return FZoomY; }
  void ZoomAt(Integer X, Integer Y, Double Zoom, bool Center = false);
  void Fit();
  Double GetOptimalZoom();
  void GetFitZooms(Double& ZoomX, Double& ZoomY);
  void GetFitBorders(Integer& HorzBorder, Integer& VertBorder, bool Frame);
  void ZoomSelection(bool KeepAspect, bool FireZoomIn);

  void SetViewXY(Integer X, Integer Y);
  void SetViewX(Integer X);
  void SetViewY(Integer Y);
  Integer GetViewX() const { return FViewX; }
  Integer GetViewY() const { return FViewY; }
  void GetMaxViewXY(Integer& MaxX, Integer& MaxY);
  bool IsScrollable();

  Integer XScr2Bmp(Integer X);
  Integer YScr2Bmp(Integer Y);
  Integer XBmp2Scr(Integer X);
  Integer YBmp2Scr(Integer Y);
  Integer ScreenToBitmapX(Integer X) { return XScr2Bmp(X); }
  Integer ScreenToBitmapY(Integer Y) { return YScr2Bmp(Y); }
  Integer BitmapToScreenX(Integer X) { return XBmp2Scr(X); }
  Integer BitmapToScreenY(Integer Y) { return YBmp2Scr(Y); }

  TScrollStyle GetScrollBars() const { return FScrollBars; }
  virtual void SetScrollBars(TScrollStyle Value);
  bool GetCenter() const { return FCenter; }
  void SetCenter(bool Value);
  void HideHorzScrollBar();
  void HideVertScrollBar();
  void DoHorizScroll(Integer Action, Integer Position);
  void DoVertScroll(Integer Action, Integer Position);
  void MouseWheelAction(Integer WheelDelta, Integer X, bool CtrlHeld, Integer Y);

  Integer GetOffsetX() const { return FOffsetX; }
  Integer GetOffsetY() const { return FOffsetY; }
  Integer GetExtentX() const { return FExtentX; }
  Integer GetExtentY() const { return FExtentY; }
  Integer GetZoomedWidth() const { return FZoomedWidth; }
  Integer GetZoomedHeight() const { return FZoomedHeight; }
  Double GetZoomFactorX() const { return FZoomFactorX; }
  Double GetZoomFactorY() const { return FZoomFactorY; }
  Double GetInvZoomX() const { return FInvZoomX; }
  Double GetInvZoomY() const { return FInvZoomY; }
  Integer GetBitmapWidth() const { return FBitmapWidth; }
  Integer GetBitmapHeight() const { return FBitmapHeight; }

 protected:
  void WMHScroll(TMessage& Message);
  void WMVScroll(TMessage& Message);
  void WMMouseWheel(TMessage& Message);

  bool FCenter = true;
  TResampleFilter FZoomFilter = rfNone;
  TResampleFilter FSavedZoomFilter = rfNone;
  bool FDelayZoomFilter = false;
  Double FHScrollScale = 1.0;
  Double FVScrollScale = 1.0;
  bool FVertBarShown = false;
  bool FHorzBarShown = false;
  bool FSkipBorderWhileScrolling = true;
  bool FInUpdate = false;
  bool FInNestedUpdate = false;
  Double FMouseScrollRate = 1.0;
  Integer FFilterDelayTicks = 4;
  Integer FBorderDelayTicks = 2;
  Integer FFilterDelay = 0;
  Integer FBorderDelay = 0;
  Integer FViewX = 0;
  Integer FViewY = 0;
  Double FZoomX = 100.0;
  Double FZoomY = 100.0;
  Double FZoomFactorX = 1.0;
  Double FZoomFactorY = 1.0;
  Double FInvZoomX = 1.0;
  Double FInvZoomY = 1.0;
  TScrollStyle FScrollBars = ssBoth;
  Integer FOffsetX = 0;
  Integer FOffsetY = 0;
  Integer FExtentX = 0;
  Integer FExtentY = 0;
  Integer FZoomedWidth = 0;
  Integer FZoomedHeight = 0;
  std::unique_ptr<TIEScrollBarParams> FVScrollParams;
  std::unique_ptr<TIEScrollBarParams> FHScrollParams;
  std::unique_ptr<TIEMouseWheelParams> FWheelParams;
  // Visible area: first column/row, picture pixels shown and their size on screen.
  Integer FVisibleX = 0;
  Integer FVisibleY = 0;
  Integer FVisibleWidth = 0;
  Integer FVisibleHeight = 0;
  Integer FVisibleScreenWidth = 0;
  Integer FVisibleScreenHeight = 0;
  // Zoom tables and the key of their last build (zoom -1: never built).
  std::vector<Integer> FScrToBmpX;
  std::vector<Integer> FScrToBmpY;
  std::vector<Integer> FBmpToScrX;
  std::vector<Integer> FBmpToScrY;
  // Client pixels and picture pixels the tables cover (0: no tables).
  Integer FTableExtentX = 0;
  Integer FTableExtentY = 0;
  Integer FBitmapExtentX = 0;
  Integer FBitmapExtentY = 0;
  // Cursors: where the scrolled view starts in FScrToBmpX/Y (client offset 0) and in
  // FBmpToScrX/Y (the first visible column). Scrolling moves only these.
  Integer FScrToBmpCursorX = 0;
  Integer FScrToBmpCursorY = 0;
  Integer FBmpToScrCursorX = 0;
  Integer FBmpToScrCursorY = 0;
  Double FTablesZoomX = -1;
  Double FTablesZoomY = -1;
  Integer FTablesDrawnWidth = -1;
  Integer FTablesDrawnHeight = -1;
  Integer FTablesLayeredWidth = -1;
  Integer FTablesLayeredHeight = -1;

 private:
  void StoreZoomX(Double Value);
  void StoreZoomY(Double Value);
  void SetZoomAxes(Double Value, bool X, bool Y);
  void ChangeZoomAxes(Double Value, bool X, bool Y);
  // Scrolling or zooming: a delayed filter (when Zoomed) and a delayed selection border.
  void LoadDelayCounters(bool Zoomed);
  void ApplyAutoZoom();
  void ScrollTo(Integer X, Integer Y, bool MoveX, bool MoveY);
  void UpdateScrollBar(Integer Bar, Integer MaxView);
  void UpdateWindowGeometry();
  // The selection mask and the alpha channel follow a new picture size.
  void FitPictureSizes();
  void RunUpdate();
  void DoScroll(bool Horizontal, Integer Action, Integer Position);
  void ScrollBarMessage(TMessage& Message, bool Horizontal);

  // ----------------------------------------------------------------------------------------
  // --- selection --- (zezudidviewselection*.cpp)
  // ----------------------------------------------------------------------------------------
 public:
  virtual void Select(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer Operation = 0);
  virtual void AddSelectionPoint(Integer X, Integer Y);
  void AddSelectionBreak();
  virtual void EndSelect();
  void Deselect();
  void DropSelection() { Deselect(); }
  void MoveSelection(Integer DX, Integer DY);
  void SelectMagicWand(Integer X, Integer Y, bool Add);
  bool GetSelectionActive() const { return FSelectionActive; }
  TIEMask* GetSelectionMask() const { return FSelectionMask.get(); }
  Integer GetSelX1();
  Integer GetSelY1();
  Integer GetSelX2();
  Integer GetSelY2();
  TPoint* GetPolySelPoints();
  Integer GetPolySelCount();
  void ShowSelection(bool Repaint);
  void HideSelection(bool Repaint);
  void ClearPolygon();
  TIESelectionOptions GetSelectionOptions() const { return FSelectionOptions; }
  void SetSelectionOptions(TIESelectionOptions Value);
  void SetSelColor1(TColor Value);
  void SetSelColor2(TColor Value);
  TColor GetSelColor1() const { return FSelColor1; }
  TColor GetSelColor2() const { return FSelColor2; }
  void DrawSelection(TObject* Sender, bool FromTimer);
  virtual void DrawSelectionGrid(Integer X1, Integer Y1, Integer X2, Integer Y2);
  void DoSelectionChanging();
  void DoSelectionChange();
  void DoBeforeSelectionChange();
  // A new polygon record added to the view's list (the first one is the view's own).
  TIESelPolygon* NewPolygon(TColor Color1, TColor Color2, bool Sizeable, bool Animated);
  // Operations on any record of the list; those that repaint do so unless the paint lock is set.
  void ClearPolygon(TIESelPolygon* Polygon);
  void AddPolygonPoint(TIESelPolygon* Polygon, Integer X, Integer Y);
  void AddPolygonPointRepaint(TIESelPolygon* Polygon, Integer X, Integer Y);
  void AddPolygonBreak(TIESelPolygon* Polygon);
  void RemoveLastPolygon(TIESelPolygon* Polygon);
  void RemoveLastPoint(TIESelPolygon* Polygon);
  void OffsetPolygon(TIESelPolygon* Polygon, Integer DX, Integer DY, bool CutBorders, Integer Width,
                     Integer Height);
  TIESelPolygon* GetSelectionPolygon() const;
  // The selection may be drawn: the view's own record is visible.
  bool GetSelectionVisible() const;
  Integer GetAntsPhase() const { return FAntsPhase; }
  TTimer* GetSelectionTimer() const { return FSelectionTimer; }
  Integer GetSelectionGridSize() const { return FSelectionGridSize; }
  void SetSelectionGridSize(Integer Value) { FSelectionGridSize = Value; }
  bool GetMultiSelect() const { return FMultiSelect; }
  void SetMultiSelect(bool Value) { FMultiSelect = Value; }
  bool GetForceConstrain() const { return FForceConstrain; }
  void SetForceConstrain(bool Value) { FForceConstrain = Value; }
  Integer GetWandTolerance() const { return FWandTolerance; }
  void SetWandTolerance(Integer Value) { FWandTolerance = Value; }
  Byte GetWandMode() const { return FWandMode; }
  void SetWandMode(Byte Value) { FWandMode = Value; }
  bool GetWandMaxFilter() const { return FWandMaxFilter; }
  void SetWandMaxFilter(bool Value) { FWandMaxFilter = Value; }
  Integer GetSelectionMaskValue() const { return FSelectionMaskValue; }
  void SetSelectionMaskValue(Integer Value) { FSelectionMaskValue = Value; }

  // The common worker of Select and the mouse: picture (or client, by SelectionBase)
  // coordinates, X2 and Y2 exclusive; Operation 0 replaces, 1 adds.
  void SelectRect(Integer X1, Integer Y1, bool KeepInside, bool Constrain, Integer Operation, Integer Y2,
                  Integer X2);
  // Mouse drags from FSelectionAnchor to the client point (X, Y).
  void SelectRectByMouse(Integer X, Integer Y, TShiftState Shift);
  void SelectCircleByMouse(Integer X, Integer Y, TShiftState Shift);
  // Moves the grip to the client point; answers the grip now being dragged.
  TIEGrip ResizeSelectionByGrip(TIEGrip Grip, Integer X, bool Constrain, Integer Y);
  void EndPolySelection(bool KeepMask, bool RemoveLast);
  // The grip of the selection rectangle under a client point; ieNone with Shift held.
  TIEGrip GetGripAt(Integer X, Integer Y, TShiftState Shift);
  // 0 when the client point lies in the mask and the selection may be moved there, else -1.
  Integer IsInsideSelection(Integer X, Integer Y, TShiftState Shift);
  void DrawRubberLine();
  // The painter's part, into the back buffer after the layers: the filled selection
  // (iesoFilled) and the marked unselected area (iesoMarkOuter), mapped as the current layer.
  void DrawSelectionOnBackBuffer(TIEBitmap* Dest);

  // Selection streams and the stack of saved selections (undo and layer switches).
  void SaveSelectionToStream(TStream* Stream);
  bool LoadSelectionFromStream(TStream* Stream, Integer Mode = 0);
  void PushSelection();
  bool PopSelection(bool Delete = true, Integer Mode = 0);

  TNotifyEvent OnSelectionChange;
  TNotifyEvent OnSelectionChanging;
  TNotifyEvent OnBeforeSelectionChange;
  TNotifyEvent OnMouseInSel;
  TIEOnDrawPolygon OnDrawPolygon;

 protected:
  bool FWandMaxFilter = false;
  Integer FWandTolerance = 15;
  Byte FWandMode = 0;  // 0 polygon, 1 fill, 2 global
  Integer FAntsPhase = 0;
  Double FSelectionAspectRatio = -1.0;  // -1 free, 0 fixed size, above 0 height / width
  Integer FSelectionFixedWidth = 100;
  Integer FSelectionFixedHeight = 100;
  Integer FTimerAutoRate = -20;
  bool FZoomSelectionKeepsAspect = true;
  Integer FSelectionGridSize = 1;
  TColor FMaskOuterColor = 0xFFFFFF;
  Integer FMaskOuterValue = -1;
  bool FSelectionActive = false;
  TIESelPolygon* FSelection = nullptr;  // the view's own record, first of FSelectionPolygons
  TIESelectionBase FSelectionBase = iesbClientArea;
  TIESelectionBase FSelectionBaseSaved = iesbClientArea;
  TIESelectionOptions FSelectionOptions{iesoAnimated, iesoSizeable, iesoMoveable, iesoCanScroll};
  std::unique_ptr<TIEMask> FSelectionMask;
  Integer FSelectionMaskBits = 1;
  Integer FSelectionMaskValue = 1;
  TColor FSelColor1 = 0;
  TColor FSelColor2 = 0xFFFFFF;
  TColor FSelGripPenColor = 0;
  TColor FSelGripBrushColor = 0xBAFFFF;
  Byte FSelGripBrushStyle = 0;
  Integer FSelGripSize = 5;
  bool FSelGripRound = true;
  bool FSelSideGrips = true;
  bool FForceConstrain = false;
  std::vector<std::unique_ptr<TMemoryStream>> FSelectionStack;
  bool FMultiSelect = true;
  std::vector<TIESelPolygonPtr> FSelectionPolygons;
  TTimer* FSelectionTimer = nullptr;  // owned as component; created on first need
  // Drag state shared with the mouse handlers.
  bool FPolySelecting = false;  // a polygon (or a lasso) is being drawn
  bool FLassoSelecting = false;
  bool FRectSelecting = false;    // a rectangle is being dragged
  bool FCircleSelecting = false;  // an ellipse is being dragged
  bool FRectResizing = false;     // a selection grip is being dragged
  TIEGrip FResizingGrip = ieNone;
  bool FRectMoving = false;      // the selection moves as a rectangle
  Integer FMoveIndex = -1;       // 0 while the selection is moved, -1 otherwise
  TRect FGripStartRect{};        // the polygon's box when the grip drag began (X2, Y2 exclusive)
  TPoint FSelectionAnchor{};     // client point where the mouse went down, clamped to the picture
  Integer FPolyCountAtDown = 0;  // the polygon's count when the mouse went down
  TPoint FRubberPoint{};         // client end of the rubber line
  bool FAutoScrolling = false;   // the auto-scroll loop runs: the selection is not drawn

  void SelectionTimer(TObject* Sender);
  void RepaintUnlessLocked();
  void CreateAntsBitmap();
  void CreateSelectionTimer();
  Integer SelPictureWidth();
  Integer SelPictureHeight();
  // Client <-> picture through the current layer; SelectionPoint converts by SelectionBase.
  TPoint ClientToSelection(Integer X, Integer Y);
  TPoint SelectionToClient(Integer X, Integer Y);
  TPoint SelectionPoint(Integer X, Integer Y);
  bool SelectionDragging() const;
  void FixedSelectionHalfSize(Integer& HalfWidth, Integer& HalfHeight) const;
  void FireWithUserSelectionBase(const TNotifyEvent& Event);
  void RecordCornersOnClient(const TIESelPolygon& P, TPoint (&Corners)[4]);
  void DrawSelectionGrips(const TIESelPolygon& P, TCanvas* Canvas);
  void DrawSelectionBorder(const TIESelPolygon& P, TCanvas* Canvas);
  void DrawPolygonAnts(TIESelPolygon& P, TCanvas* Canvas, const TRect& Clip);

  // ----------------------------------------------------------------------------------------
  // --- layers --- (zezudidviewlayer*.cpp)
  // ----------------------------------------------------------------------------------------
 public:
  Integer GetLayersCount() const { return static_cast<Integer>(FLayers.size()); }
  TIELayer* GetLayer(Integer Index);
  TIELayer* GetCurrentLayer();
  Integer GetLayersCurrent() const { return FCurrentLayer; }
  virtual void SetLayersCurrent(Integer Index);
  Integer LayersAdd();
  void LayersRemove(Integer Index);
  void LayersClear();
  void SyncLayers();
  // Run at the start of painting: the current layer takes the view's current bitmap.
  void SyncCurrentLayer();
  Integer FindLayerAt(Integer X, Integer Y, bool SelectableOnly = true);
  bool IsPointInLayer(Integer X, Integer Y, Integer Index);
  bool GetLayersSync() const { return FLayersSync; }
  void SetLayersSync(bool Value) { FLayersSync = Value; }
  bool GetLayersOnlySelectable() const { return FLayersOnlySelectable; }
  void SetLayersOnlySelectable(bool Value) { FLayersOnlySelectable = Value; }

  // Layer files and flattening.
  void SaveLayersToStream(TStream* Stream, Integer BitmapCode);
  bool LoadLayersFromStream(TStream* Stream);
  bool LoadLayersFromFile(const std::u16string& FileName);
  void LayersDrawTo(TIEBitmap* Bitmap);
  void LayersMergeAll();
  // PSD layer records (imaging/io/iepsdlayer.h) in and out (zezudidviewpsd.cpp). In: the
  // records become layers, each user mask a hidden mask layer after its layer; Replace puts them
  // in place of the view's layers, else after them; a first record not at the origin goes over
  // a locked, transparent Width x Height background. Out: a copy of every layer at its shown
  // size (masks with their layers) and the layers drawn together in the format of layer 0.
  void LayersFromPsd(const std::vector<TIEPsdLayer>& Records, bool Replace, Integer Width, Integer Height);
  void LayersToPsd(TIEBitmap* Merged, std::vector<TIEPsdLayer>& Records);

  // ----------------------------------------------------------------------------------------
  // --- painting --- (zezudidviewpaint*.cpp)
  // ----------------------------------------------------------------------------------------
 public:
  // Composes Dest (ie24RGB, view-sized): background, layers, boxes and grips, selection fill,
  // grid. RowCache holds Dest's row addresses between calls (nil: none kept). UpdateRect is
  // inclusive; nil draws everything. The flattening passes nil, nil, false, false.
  virtual void DrawToBackBuffer(TIEBitmap* Dest, std::vector<Byte*>* RowCache, const TRect* UpdateRect,
                                bool DrawBackground, bool DrawBoxes);
  void PaintToCanvas(TRect R);
  void PaintLinkedFrame(TRect R);
  void DrawVersionLabel();
  void DrawBackgroundTo(TCanvas* ACanvas);
  TBitmap* GetBackBufferBitmap();
  TIEBitmap* GetBackBuffer() const { return FBackBuffer.get(); }
  void SetBackBufferDirty() { FBackBufferDirty = true; }
  // Scrolling calls this in place of SetBackBufferDirty when the scroll position alone
  // changed: at zoom 100 the next paint moves what the back buffer shows and draws only the
  // uncovered strips. Anything else that dirties the buffer first makes it a whole rebuild.
  void BackBufferScrolled();
  bool GetLayersAtOrigin() const { return FLayersAtOrigin; }
  void SetLayersAtOrigin(bool Value) { FLayersAtOrigin = Value; }
  bool GetShowAllLayerBoxes() const { return FShowAllLayerBoxes; }
  void SetShowAllLayerBoxes(bool Value) { FShowAllLayerBoxes = Value; }
  // 0 only the background, 1 layers outside it translucent, 2 grey dots, 3 brightened.
  Byte GetOutsideLayersMode() const { return FOutsideLayersMode; }
  void SetOutsideLayersMode(Byte Value) { FOutsideLayersMode = Value; }
  Integer GetOutsideLayersValue() const { return FOutsideLayersValue; }
  void SetOutsideLayersValue(Integer Value) { FOutsideLayersValue = Value; }
  Integer GetMinLayerSize() const { return FMinLayerSize; }
  void SetMinLayerSize(Integer Value) { FMinLayerSize = Value; }
  bool GetDisplayGrid() const { return FDisplayGrid; }
  void SetDisplayGrid(bool Value) { FDisplayGrid = Value; }
  TPoint GetHighlightedPixel() const { return FHighlightedPixel; }
  void SetHighlightedPixel(TPoint Value) { FHighlightedPixel = Value; }
  // The pen of layer boxes, made on first use.
  TPen* GetLayerBoxPen();

 protected:
  void Paint() override;
  class TRotatedLayer;
  class TLayerMaskScope;
  void TransferBackBuffer(const TRect& R);
  void RememberBuiltGeometry();
  void RepaintScrolledBackBuffer();
  bool BackgroundHidden(TIEBitmap* Dest, TIELayer* Layer);
  void PaintBackBufferBackground(TIEBitmap* Dest, std::vector<Byte*>& Rows, const TRect* UpdateRect);
  TCanvas* DestCanvas(TIEBitmap* Dest, std::vector<Byte*>& Rows);
  TResampleFilter LayerFilter(TIELayer* Layer) const;
  void DrawLayer(TIEBitmap* Dest, std::vector<Byte*>& Rows, const TRect* UpdateRect, Integer Index,
                 bool First);
  Integer AdjustToColumn(Integer S, Integer B);
  Integer AdjustToRow(Integer S, Integer B);
  TIELayerDrawGeometry PlaceLayer(TIELayer* Layer);
  void PrepareMagnifier(TIEBitmap* Dest, std::vector<Byte*>& Rows, Integer Index, TResampleFilter Filter);
  void DrawLayerDecorations(TIEBitmap* Dest, std::vector<Byte*>& Rows, Integer Index);
  void DrawLayerBox(TIEBitmap* Dest, std::vector<Byte*>& Rows, Integer Index);
  std::unique_ptr<TIECanvas> GripCanvas(TIEBitmap* Dest, std::vector<Byte*>& Rows);
  void DrawLayerGrips(TIEBitmap* Dest, std::vector<Byte*>& Rows, Integer Index);
  void DrawRotationCenterGrip(TIEBitmap* Dest, std::vector<Byte*>& Rows, Integer Index);
  void MarkOutsideLayers(TIEBitmap* Dest, std::vector<Byte*>& Rows);
  void DrawGrid(TIEBitmap* Dest);

  bool FPaintWhole = true;
  bool FBackBufferDirty = true;
  HDRAWDIB FDrawDib = nullptr;
  TIEBackgroundStyle FBackgroundStyle = iebsSolid;
  bool FDrawVersion = false;
  HWND FDrawnWindow = nullptr;
  std::unique_ptr<TPicture> FWallPaper;
  TIEWallPaperStyle FWallPaperStyle = iewoNormal;
  std::unique_ptr<TBitmap> FAntsBitmap;  // 1 x 1, 24 bits: draws one ant pixel
  void* FAntsScanline = nullptr;
  Byte FOutsideLayersMode = 0;
  Integer FOutsideLayersValue = 60;  // the alpha of mode 1, the brightening of mode 3
  bool FEnableInteractionHints = true;
  std::unique_ptr<TIEBitmap> FBackBuffer;
  Integer FChessboardSize = 16;
  Byte FChessboardBrushStyle = 0;
  TColor FGradientEndColor = 0xFF0000;
  std::unique_ptr<TIEBitmap> FLinkedFrameBuffer;
  TRect FLinkedFrameRect{};
  TColor FLayerGripPenColor = 0;
  TColor FLayerGripBrushColor = 0xBAFFFF;
  Byte FLayerGripBrushStyle = 0;
  Integer FLayerGripSize = 5;
  bool FLayerGripRound = true;
  bool FLayersAtOrigin = false;
  bool FShowAllLayerBoxes = false;
  Integer FMinLayerSize = 2;
  bool FDisplayGrid = false;
  TPoint FHighlightedPixel{-1, -1};
  std::unique_ptr<TPen> FLayerBoxPen;
  bool FCursorPending = true;
  std::vector<Byte*> FBackBufferRows;  // FBackBuffer's row addresses
  // The scroll-only repaint: set by BackBufferScrolled, and what the last whole build showed.
  bool FBackBufferScrolled = false;
  struct TBuiltGeometry {
    Integer ViewX = 0, ViewY = 0, OffsetX = 0, OffsetY = 0, ExtentX = 0, ExtentY = 0;
    Integer BitmapWidth = 0, BitmapHeight = 0;
    Double ZoomX = 0, ZoomY = 0;
    bool Valid = false;
  } FBuilt;
  struct TDibHeader {
    BITMAPINFOHEADER Header;
    RGBQUAD Palette[2];
  } FDibHeader;

  // ----------------------------------------------------------------------------------------
  // --- mouse --- (zezudidviewmouse*.cpp)
  // ----------------------------------------------------------------------------------------
 public:
  TIEMouseInteract GetMouseInteract() const { return FMouseInteract; }
  virtual void SetMouseInteract(TIEMouseInteract Value);
  virtual void OffsetSelectionPoints(Integer DX, Integer DY);
  TCursor GetCursor() const { return FDefaultCursor; }
  void SetCursor(TCursor Value);
  void ApplyCursor(TCursor Value);
  void RestoreCursor();
  // 0 none, 1 to 8 the current layer's grips, 9 its rotation centre.
  Integer LayerGripAt(Integer X, Integer Y);
  void ScrollSmoothlyTo(Integer X, Integer Y);
  void StopSmoothScroll();
  void LayersFixSizes(Integer Index);
  void LayersFixRotations(Integer Index);
  void LayersCropTransparency(Integer Index);
  // Scrolls while the pointer lies outside the picture's extent; true when it scrolled.
  bool AutoScrollToMouse();
  // Gives the current layer the size that dragging FLayerGrip to the client point asks for.
  void ResizeLayerByMouse(Integer X, Integer Y, bool Constrain);

  Double GetMouseScrollRate() const { return FMouseScrollRate; }
  void SetMouseScrollRate(Double Value) { FMouseScrollRate = Value; }
  bool GetZoomSelectionKeepsAspect() const { return FZoomSelectionKeepsAspect; }
  void SetZoomSelectionKeepsAspect(bool Value) { FZoomSelectionKeepsAspect = Value; }
  // 0 never keeps the layer's aspect, 1 with Alt (or ForceConstrain), 2 always, 3 at corners.
  Byte GetLayerResizeAspect() const { return FLayerResizeAspect; }
  void SetLayerResizeAspect(Byte Value) { FLayerResizeAspect = Value; }
  Integer GetLayerRotationStep() const { return FLayerRotationStep; }
  void SetLayerRotationStep(Integer Value) { FLayerRotationStep = Value; }
  bool GetLayersCropBeforeRotate() const { return FLayersCropBeforeRotate; }
  void SetLayersCropBeforeRotate(bool Value) { FLayersCropBeforeRotate = Value; }
  Integer GetMovingScrollSpeed() const { return FMovingScrollSpeed; }
  void SetMovingScrollSpeed(Integer Value) { FMovingScrollSpeed = Value; }
  bool GetLayerUndo() const { return FLayerUndo; }
  void SetLayerUndo(bool Value) { FLayerUndo = Value; }
  // The layer grip being dragged, 0 for none.
  Integer GetDraggedGrip() const { return FLayerGrip; }

 protected:
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyUp(Word& Key, TShiftState Shift) override;

  TCursor FDefaultCursor = IEViewDefaultCursor;
  Byte FLayerResizeAspect = 1;
  Double FLayerAspect = 0;
  Integer FLayerRotationStep = 45;
  bool FLayersCropBeforeRotate = true;
  TTimer* FMovingScrollTimer = nullptr;  // owned as component
  Integer FMovingScrollSpeed = 8;        // divisor of each step; 0 jumps at once
  Integer FMovingScrollTargetX = 0;
  Integer FMovingScrollTargetY = 0;
  TIEMouseInteract FMouseInteract{};
  bool FLayerUndo = false;
  // Drag state in client pixels (the selection's share is declared with the selection).
  TPoint FMouseDownPoint{};    // where the button went down
  TPoint FMouseDownInLayer{};  // the same, clamped to the current layer
  TPoint FLastMousePoint{};    // the pointer at the last event
  TPoint FLastClampedPoint{};  // the same, clamped to the current layer
  TPoint FMouseDownView{};     // the scroll position at mouse down
  Integer FMovingLayer = -1;
  Integer FRotatingLayer = -1;
  Integer FRotationCenterLayer = -1;  // the layer whose rotation centre is dragged
  Integer FLayerGrip = 0;             // the layer grip being dragged
  TRect FLayerStartRect{};            // the layer's client rectangle when the grip drag began
  TPoint FLayerStartCorners[4]{};
  Double FRotateAngle = 0;  // the angle of a rotation drag before snapping
  bool FLayerChanged = false;
  bool FLayerMoved = false;

 private:
  void ShowCursorNow(TCursor Value);
  void MovingScrollStep(TObject* Sender);
  TPoint ClampToLayer(Integer X, Integer Y);
  TPoint ClampToPicture(Integer X, Integer Y);
  TPoint LayerRotationCenter(Integer Layer);
  void SnapToLastPolygonPoint(TShiftState Shift, TPoint& Point);
  void MouseDownOnSelection(TShiftState Shift, Integer X, Integer Y);
  void MouseDownOnLayers(Integer X, Integer Y);
  void DragWithCapture(TShiftState Shift, Integer X, Integer Y, TPoint Clamped);
  void DragLayer(TShiftState Shift, Integer X, Integer Y);
  void RotateLayerByMouse(TShiftState Shift, Integer X, Integer Y);
  void MoveRotationCenterByMouse(Integer X, Integer Y);
  void ResizeLayerByGrip(TShiftState Shift, Integer X, Integer Y);
  void MoveLayerByMouse(Integer X, Integer Y);
  void BeginLayerChange(Byte UndoKind);
  void ChooseCursor(TShiftState Shift, Integer X, Integer Y);
  void FollowPointerByMovingScroll(Integer X, Integer Y);
  void ZoomByClick(TMouseButton Button, Integer X, Integer Y);
  bool MouseUpOnSelection(TShiftState Shift, Integer X, Integer Y, bool Moved);
  void EndSelectionDrag(bool AddShape, bool Drawn);
  void MouseUpOnLayers(Integer X, Integer Y, bool Moved);
  void CropLayerToContent(TIELayer* Layer);
};

// Start-up and shut-down of the view unit, and their registration in the imaging library's
// start-up (call before LibraryInitialize).
// Loads the view's cursors into the screen's cursor table (every view construction).
void RegisterViewCursors();

void TZezudIdViewInitialize();
void TZezudIdViewFinalize();
void ViewRegisterLibraryHooks();

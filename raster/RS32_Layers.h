#pragma once
// Layers over an image control's bitmap. TLayerCollection is the ordered list of layers an
// image owns (bottom first): it reports its changes to the image and to the repaint optimizer,
// hands mouse events to the topmost layer under the mouse or to the layer holding the mouse,
// and answers the viewport's scale and shift through the image. TCustomLayer is the abstract
// layer; its drawing and hit test are virtual.
//
// Ownership: the collection owns its layers and frees them (RemoveAll, Assign, destruction); a
// layer freed on its own leaves its collection first. Everything runs on the thread that owns
// the image; nothing is locked.
#include <memory>

#include "platform/classes/Controls.h"
#include "platform/system/Delegates.h"
#include "platform/system/Lists.h"
#include "platform/system/Sets.h"
#include "raster/RS32.h"

class TCanvas;
class TLayerCollection;
class TCustomLayer;

// Option flags of a layer.
constexpr Cardinal LF_SHOWN = 0x80000000;          // drawn by the default layer stage
constexpr Cardinal LF_CANVAS_PAINT = 0x40000000;   // paints on the control's canvas (DrawOverlay)
constexpr Cardinal LF_TAKES_MOUSE = 0x20000000;    // found by the mouse dispatch
constexpr Cardinal LF_QUIET = 0x10000000;          // changes are not reported
constexpr Cardinal LF_NO_GRAB = 0x08000000;        // a press does not make it the mouse holder
constexpr Cardinal LF_STALE = 0x04000000;          // queued by the repaint optimizer
constexpr Cardinal LF_ALWAYS_REPORT = 0x02000000;  // reported even while hidden

// Actions of OnListChange.
constexpr Integer LayerAdded = 0;
constexpr Integer LayerRemoved = 2;
constexpr Integer LayersCleared = 3;

// The virtual constructor of a layer class: creates a layer of the class in Collection.
using TLayerClass = TCustomLayer* (*)(TLayerCollection* Collection);
template <class T>
TCustomLayer* CreateLayer(TLayerCollection* Collection) {
  return new T(Collection);
}

using TMouseButtons = TSet<TMouseButton, 8>;

using TLayerListNotifyEvent =
    TDelegate<void(TLayerCollection* Sender, Integer Action, TCustomLayer* Layer, Integer Index)>;
using TLayerUpdateEvent = TDelegate<void(TObject* Sender, TCustomLayer* Layer)>;
using TLayerScaleQueryEvent = TDelegate<void(TObject* Sender, Single& ScaleX, Single& ScaleY)>;
using THitTestEvent = TDelegate<void(TObject* Sender, Integer X, Integer Y, bool& Passed)>;
using TLayerMouseEvent =
    TDelegate<void(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y)>;
using TLayerMouseMoveEvent = TDelegate<void(TObject* Sender, TShiftState Shift, Integer X, Integer Y)>;
using TPaintLayerEvent = TDelegate<void(TObject* Sender, TBitmap32* Buffer)>;

class TLayerCollection : public TPersistent {
 public:
  // Owner is the image that owns the collection (GetOwner answers it).
  explicit TLayerCollection(TPersistent* Owner);
  // Frees the layers without the changing and changed events; list changes are still
  // reported.
  ~TLayerCollection() override;

  // A new layer of the class, moved to the top. Reports "added" twice: once while the layer
  // inserts itself and once with its final index.
  TCustomLayer* AddLayer(TLayerClass LayerClass);
  // Frees every layer, the top one first, then reports "cleared".
  void RemoveAll();
  // From another collection: a new layer of each of its layers' classes, assigned from it.
  // Anything else raises the platform's conversion error.
  void Assign(TPersistent* Source) override;

  // OnCollectionChanging when the nesting rises from 0, OnCollectionChanged when it returns to
  // 0. An unpaired EndUpdate raises EAssertionFailed "Unpaired EndUpdate" and leaves the
  // nesting at -1.
  void BeginUpdate();
  void EndUpdate();
  void NotifyChanging();
  void NotifyChanged();
  void NotifyOverlay();
  void ReportListChange(Integer Action, TCustomLayer* Layer, Integer Index);
  void ReportLayerChange(TCustomLayer* L);

  virtual void QueryScale(Single& ScaleX, Single& ScaleY);
  virtual void QueryShift(Single& ShiftX, Single& ShiftY);

  Integer Count() const { return FLayerList.GetCount(); }
  // Raises EListError outside 0..Count - 1.
  TCustomLayer* Layer(Integer Index) const { return static_cast<TCustomLayer*>(FLayerList.Get(Index)); }
  Integer IndexOf(const TCustomLayer* L) const { return FLayerList.IndexOf(const_cast<TCustomLayer*>(L)); }
  TPersistent* GetOwner() override { return FOwnerImage; }

  // The topmost layer whose options share a bit with Mask and that passes its hit test.
  TCustomLayer* LayerAt(Integer X, Integer Y, Cardinal Mask);
  // Mouse dispatch in the control's client coordinates; the result is the layer that got the
  // event (nil for none).
  TCustomLayer* DispatchMouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  TCustomLayer* DispatchMouseMove(TShiftState Shift, Integer X, Integer Y);
  TCustomLayer* DispatchMouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);

  TCustomLayer* GetMouseHolder() const { return FMouseHolder; }
  void SetMouseHolder(TCustomLayer* L);
  bool GetTakesMouse() const { return FTakesMouse; }
  void SetTakesMouse(bool Value) { FTakesMouse = Value; }
  Integer GetNestLevel() const { return FNestLevel; }

  TNotifyEvent OnCollectionChanging;
  TNotifyEvent OnCollectionChanged;
  TNotifyEvent OnOverlayUpdate;
  TLayerListNotifyEvent OnListChange;
  TLayerUpdateEvent OnLayerChange;
  TAreaChangedEvent OnAreaChange;
  TLayerScaleQueryEvent OnScaleQuery;
  TLayerScaleQueryEvent OnShiftQuery;

 private:
  friend class TCustomLayer;
  void InsertLayer(TCustomLayer* L);
  void RemoveLayer(TCustomLayer* L);
  void MoveLayer(Integer CurIndex, Integer NewIndex) { FLayerList.Move(CurIndex, NewIndex); }

  TList FLayerList;
  bool FTakesMouse = true;
  TCustomLayer* FMouseHolder = nullptr;
  Integer FNestLevel = 0;
  TPersistent* FOwnerImage;
};

class TCustomLayer : public TNotifiablePersistent {
 public:
  // Joins Collection (nil: none) and becomes visible.
  explicit TCustomLayer(TLayerCollection* Collection);
  // Fires OnDestroying, tells the destroy watchers, then leaves the collection.
  ~TCustomLayer() override;

  // The class's virtual constructor; each layer class answers its own.
  virtual TLayerClass GetLayerClass() const { return &CreateLayer<TCustomLayer>; }

  void Changed() override;
  virtual bool ContainsPoint(Integer X, Integer Y);
  virtual void PressAt(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  virtual void MoveAt(TShiftState Shift, Integer X, Integer Y);
  virtual void ReleaseAt(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  virtual void PeerDestroyed(TCustomLayer* Layer);
  virtual void DrawOn(TBitmap32* Buffer);
  virtual void DrawOverlay(TCanvas* Canvas);
  virtual void SetIndex(Integer Value);
  virtual void SetCursor(TCursor Value);
  virtual void SetCollection(TLayerCollection* Value);
  virtual void SetOptions(Cardinal Value);

  // DrawOn, then OnDraw.
  void DrawLayer(TBitmap32* Buffer);
  // ContainsPoint, which OnHitQuery may overrule.
  bool DoHitQuery(Integer X, Integer Y);
  // The collection's NotifyChanging, unless updating, hidden, alone or quiet.
  void NotifyChanging();
  // To the collection when visible or LF_ALWAYS_REPORT.
  void ReportChange();
  bool IsStale() const { return (FOptions & LF_STALE) != 0; }
  void SetStale(bool Value);

  TLayerCollection* GetCollection() const { return FOwnerCollection; }
  TPersistent* GetOwner() override { return FOwnerCollection; }
  // -1 without a collection.
  Integer GetIndex() const { return FOwnerCollection != nullptr ? FOwnerCollection->IndexOf(this) : -1; }
  Cardinal GetOptions() const { return FOptions; }
  bool GetVisible() const { return (FOptions & LF_SHOWN) != 0; }
  TCursor GetCursor() const { return FCursor; }
  TMouseButtons GetButtonsDown() const { return FButtonsDown; }

  THitTestEvent OnHitQuery;
  TLayerMouseEvent OnPress;
  TLayerMouseMoveEvent OnMove;
  TLayerMouseEvent OnRelease;
  TPaintLayerEvent OnDraw;
  TNotifyEvent OnDestroying;

 protected:
  // Layers told through PeerDestroyed when this one goes; made by a layer class that needs it.
  std::unique_ptr<TList> FDestroyWatchers;

 private:
  friend class TLayerCollection;

  TCursor FCursor = crDefault;
  TLayerCollection* FOwnerCollection = nullptr;
  TMouseButtons FButtonsDown;
  Cardinal FOptions = 0;
};

#include "raster/RS32_Layers.h"
#include "platform/system/ScopeExit.h"

#include "platform/classes/Screen.h"
#include "platform/system/Exceptions.h"

namespace {
void SetScreenCursor(TCursor Value) {
  if (Screen != nullptr) Screen->SetCursor(Value);
}
}  // namespace

// ---------------------------------------------------------------------------------------------
// TLayerCollection

TLayerCollection::TLayerCollection(TPersistent* Owner) : FOwnerImage(Owner) {}

TLayerCollection::~TLayerCollection() {
  FNestLevel = 1;
  RemoveAll();
}

TCustomLayer* TLayerCollection::AddLayer(TLayerClass LayerClass) {
  TCustomLayer* L = LayerClass(this);
  L->SetIndex(Count() - 1);
  ReportListChange(LayerAdded, L, L->GetIndex());
  return L;
}

void TLayerCollection::InsertLayer(TCustomLayer* L) {
  BeginUpdate();
  auto Cleanup = ScopeExit([&] { EndUpdate(); });
  FLayerList.Add(L);
  L->FOwnerCollection = this;
  ReportListChange(LayerAdded, L, FLayerList.GetCount() - 1);
}

void TLayerCollection::RemoveLayer(TCustomLayer* L) {
  BeginUpdate();
  auto Cleanup = ScopeExit([&] { EndUpdate(); });
  const Integer I = FLayerList.IndexOf(L);
  if (I >= 0) {
    FLayerList.Delete(I);
    L->FOwnerCollection = nullptr;
    ReportListChange(LayerRemoved, L, I);
  }
}

void TLayerCollection::RemoveAll() {
  BeginUpdate();
  auto Cleanup = ScopeExit([&] { EndUpdate(); });
  while (FLayerList.GetCount() > 0) delete Layer(FLayerList.GetCount() - 1);
  ReportListChange(LayersCleared, nullptr, 0);
}

void TLayerCollection::Assign(TPersistent* Source) {
  auto* Other = dynamic_cast<TLayerCollection*>(Source);
  if (Other == nullptr) {
    TPersistent::Assign(Source);
    return;
  }
  if (Other == this) return;
  BeginUpdate();
  auto Cleanup = ScopeExit([&] { EndUpdate(); });
  while (FLayerList.GetCount() > 0) delete Layer(FLayerList.GetCount() - 1);
  for (Integer I = 0; I < Other->Count(); ++I) {
    TCustomLayer* From = Other->Layer(I);
    AddLayer(From->GetLayerClass())->Assign(From);
  }
}

void TLayerCollection::BeginUpdate() {
  if (FNestLevel == 0) NotifyChanging();
  ++FNestLevel;
}

void TLayerCollection::EndUpdate() {
  const Integer Was = FNestLevel--;
  if (Was == 1) NotifyChanged();
  if (FNestLevel < 0) throw EAssertionFailed("Unpaired EndUpdate");
}

void TLayerCollection::NotifyChanging() {
  if (OnCollectionChanging) OnCollectionChanging(this);
}

void TLayerCollection::NotifyChanged() {
  if (OnCollectionChanged) OnCollectionChanged(this);
}

void TLayerCollection::NotifyOverlay() {
  if (FNestLevel == 0 && OnOverlayUpdate) OnOverlayUpdate(this);
}

void TLayerCollection::ReportListChange(Integer Action, TCustomLayer* Layer, Integer Index) {
  if (OnListChange) OnListChange(this, Action, Layer, Index);
}

void TLayerCollection::ReportLayerChange(TCustomLayer* L) {
  if (OnLayerChange) OnLayerChange(this, L);
  NotifyChanged();
}

void TLayerCollection::QueryScale(Single& ScaleX, Single& ScaleY) {
  if (OnScaleQuery) {
    OnScaleQuery(this, ScaleX, ScaleY);
  } else {
    ScaleX = 1.0f;
    ScaleY = 1.0f;
  }
}

void TLayerCollection::QueryShift(Single& ShiftX, Single& ShiftY) {
  if (OnShiftQuery) {
    OnShiftQuery(this, ShiftX, ShiftY);
  } else {
    ShiftX = 0.0f;
    ShiftY = 0.0f;
  }
}

TCustomLayer* TLayerCollection::LayerAt(Integer X, Integer Y, Cardinal Mask) {
  for (Integer I = FLayerList.GetCount() - 1; I >= 0; --I) {
    TCustomLayer* L = Layer(I);
    if ((L->FOptions & Mask) != 0 && L->DoHitQuery(X, Y)) return L;
  }
  return nullptr;
}

TCustomLayer* TLayerCollection::DispatchMouseDown(TMouseButton Button, TShiftState Shift, Integer X,
                                                  Integer Y) {
  TCustomLayer* Target = FMouseHolder != nullptr ? FMouseHolder : LayerAt(X, Y, LF_TAKES_MOUSE);
  if (Target != FMouseHolder && (Target == nullptr || (Target->FOptions & LF_NO_GRAB) == 0))
    SetMouseHolder(Target);
  if (FMouseHolder != nullptr) {
    FMouseHolder->FButtonsDown.Include(Button);
    FMouseHolder->PressAt(Button, Shift, X, Y);
  }
  return Target;
}

TCustomLayer* TLayerCollection::DispatchMouseMove(TShiftState Shift, Integer X, Integer Y) {
  TCustomLayer* Target = FMouseHolder != nullptr ? FMouseHolder : LayerAt(X, Y, LF_TAKES_MOUSE);
  if (Target != nullptr) {
    Target->MoveAt(Shift, X, Y);
  } else if (auto* Control = dynamic_cast<TControl*>(FOwnerImage)) {
    SetScreenCursor(Control->GetCursor());
  }
  return Target;
}

TCustomLayer* TLayerCollection::DispatchMouseUp(TMouseButton Button, TShiftState Shift, Integer X,
                                                Integer Y) {
  TCustomLayer* Target = FMouseHolder != nullptr ? FMouseHolder : LayerAt(X, Y, LF_TAKES_MOUSE);
  if (Target != nullptr) {
    Target->FButtonsDown.Exclude(Button);
    Target->ReleaseAt(Button, Shift, X, Y);
  }
  if (FMouseHolder != nullptr && FMouseHolder->FButtonsDown.IsEmpty()) SetMouseHolder(nullptr);
  return Target;
}

void TLayerCollection::SetMouseHolder(TCustomLayer* L) {
  if (L == FMouseHolder) return;
  if (FMouseHolder != nullptr) FMouseHolder->FButtonsDown = TMouseButtons();
  FMouseHolder = L;
}

// ---------------------------------------------------------------------------------------------
// TCustomLayer

TCustomLayer::TCustomLayer(TLayerCollection* Collection) {
  SetCollection(Collection);
  FOptions = LF_SHOWN;
}

TCustomLayer::~TCustomLayer() {
  if (OnDestroying) OnDestroying(this);
  if (FDestroyWatchers) {
    // A watcher may free the list while it is told.
    for (Integer I = FDestroyWatchers->GetCount() - 1; I >= 0 && FDestroyWatchers; --I) {
      if (I >= FDestroyWatchers->GetCount()) continue;
      static_cast<TCustomLayer*>(FDestroyWatchers->Get(I))->PeerDestroyed(this);
    }
    FDestroyWatchers.reset();
  }
  SetCollection(nullptr);
}

void TCustomLayer::SetCollection(TLayerCollection* Value) {
  if (Value == FOwnerCollection) return;
  if (FOwnerCollection != nullptr) {
    if (FOwnerCollection->FMouseHolder == this) FOwnerCollection->SetMouseHolder(nullptr);
    FOwnerCollection->RemoveLayer(this);
  }
  if (Value != nullptr) Value->InsertLayer(this);
}

void TCustomLayer::SetIndex(Integer Value) {
  if (FOwnerCollection == nullptr) return;
  const Integer Current = GetIndex();
  if (Value == Current) return;
  if (Value < 0) Value = 0;
  if (Value >= FOwnerCollection->Count()) Value = FOwnerCollection->Count() - 1;
  if (Value == Current) return;
  if (GetVisible()) {
    FOwnerCollection->BeginUpdate();
    {
      auto Cleanup = ScopeExit([&] { FOwnerCollection->EndUpdate(); });
      FOwnerCollection->MoveLayer(Current, Value);
    }
  } else {
    FOwnerCollection->MoveLayer(Current, Value);
  }
}

void TCustomLayer::SetCursor(TCursor Value) {
  if (Value == FCursor) return;
  FCursor = Value;
  if (FOwnerCollection != nullptr && FOwnerCollection->FMouseHolder == this) SetScreenCursor(Value);
}

void TCustomLayer::SetOptions(Cardinal Value) {
  NotifyChanging();
  FOptions = Value;
  Changed();
}

void TCustomLayer::Changed() {
  if (GetUpdateDepth() > 0 || FOwnerCollection == nullptr || (FOptions & LF_QUIET) != 0) return;
  TLayerCollection* Collection = FOwnerCollection;
  ReportChange();
  if (GetVisible())
    Collection->NotifyChanged();
  else if ((FOptions & LF_CANVAS_PAINT) != 0)
    Collection->NotifyOverlay();
  TNotifiablePersistent::Changed();
}

bool TCustomLayer::ContainsPoint(Integer, Integer) {
  return true;
}

void TCustomLayer::PressAt(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (OnPress) OnPress(this, Button, Shift, X, Y);
}

void TCustomLayer::MoveAt(TShiftState Shift, Integer X, Integer Y) {
  SetScreenCursor(FCursor);
  if (OnMove) OnMove(this, Shift, X, Y);
}

void TCustomLayer::ReleaseAt(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  SetScreenCursor(crDefault);
  if (OnRelease) OnRelease(this, Button, Shift, X, Y);
}

void TCustomLayer::PeerDestroyed(TCustomLayer*) {}
void TCustomLayer::DrawOn(TBitmap32*) {}
void TCustomLayer::DrawOverlay(TCanvas*) {}

void TCustomLayer::DrawLayer(TBitmap32* Buffer) {
  DrawOn(Buffer);
  if (OnDraw) OnDraw(this, Buffer);
}

bool TCustomLayer::DoHitQuery(Integer X, Integer Y) {
  bool Passed = ContainsPoint(X, Y);
  if (OnHitQuery) OnHitQuery(this, X, Y, Passed);
  return Passed;
}

void TCustomLayer::NotifyChanging() {
  if (GetUpdateDepth() <= 0 && GetVisible() && FOwnerCollection != nullptr && (FOptions & LF_QUIET) == 0)
    FOwnerCollection->NotifyChanging();
}

void TCustomLayer::ReportChange() {
  if (FOwnerCollection != nullptr && (GetVisible() || (FOptions & LF_ALWAYS_REPORT) != 0))
    FOwnerCollection->ReportLayerChange(this);
}

void TCustomLayer::SetStale(bool Value) {
  if (Value)
    FOptions |= LF_STALE;
  else
    FOptions &= ~LF_STALE;
}

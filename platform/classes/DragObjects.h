#pragma once
// Drag objects: what is being dragged while a control drags. The drag object holds the mouse
// (a hidden window takes the capture), finds the control under the mouse, asks it through
// CM_DRAG whether it accepts (dmDragEnter/dmDragMove/dmDragLeave), drops on it (dmDragDrop)
// and tells the source where the drag ended (OnEndDrag).
//
// Ownership: a drag object made by the class library (no OnStartDrag object) is deleted when
// the drag ends; one an OnStartDrag handler supplied stays its maker's.
#include "platform/classes/Controls.h"

class TDragObject : public TObject {
 public:
  TDragObject();
  ~TDragObject() override;
  // The target (nullptr outside any control) and the mouse in screen coordinates.
  TControl* GetDragTarget() const { return FDragTarget; }
  TPoint GetDragPos() const { return FDragPos; }
  // The cursor over a target that accepts (Accepted) or refuses.
  virtual TCursor GetDragCursor(bool Accepted, Integer X, Integer Y);
  // The drag ended: Accepted when it was dropped on a target that took it.
  virtual void Finished(TObject* Target, Integer X, Integer Y, bool Accepted);

 protected:
  friend class TDragSession;
  TControl* FDragTarget = nullptr;
  TPoint FDragPos;
};

// Drags a control: event handlers see the control as Source.
class TDragControlObject : public TDragObject {
 public:
  explicit TDragControlObject(TControl* AControl) : FControl(AControl) {}
  TControl* GetControl() const { return FControl; }
  TCursor GetDragCursor(bool Accepted, Integer X, Integer Y) override;
  void Finished(TObject* Target, Integer X, Integer Y, bool Accepted) override;

 private:
  TControl* FControl;
};

// Docking a control (kept for the events that name it; nothing docks here).
class TDragDockObject : public TDragControlObject {
 public:
  using TDragControlObject::TDragControlObject;
  TRect GetDockRect() const { return FDockRect; }
  void SetDockRect(const TRect& Value) { FDockRect = Value; }
  TAlign GetDropAlign() const { return FDropAlign; }
  void SetDropAlign(TAlign Value) { FDropAlign = Value; }

 private:
  TRect FDockRect;
  TAlign FDropAlign = alNone;
};

// The drag going on now, nullptr outside a drag.
TDragObject* DragObjectInProgress();
// A control going away: a drag of it ends without events, a drag over it loses its target.
void DragControlDestroyed(TControl* Control);
// The mouse moves this far (in x or y) with the button down before a delayed drag starts.
constexpr Integer DefaultDragThreshold = 5;

#pragma once
// What the input/output component needs of an image view. The view library (imaging/view)
// derives its views from this class; the component only ever sees this interface, so the
// I/O library does not depend on the view library.
#include "platform/classes/Colors.h"
#include "platform/classes/Controls.h"
#include "platform/system/Delegates.h"
#include "platform/system/Types.h"

class TBitmap;
class TIEBitmap;

// Called with Destroying false whenever the view replaces its bitmap, and with true once when
// the view is destroyed.
using TIEBitmapChangeEvent = TDelegate<void(TObject* Sender, bool Destroying)>;
// What AddBitmapChangeEvent returns, to be handed back to RemoveBitmapChangeEvent.
using TIEBitmapChangeHandle = void*;

class TIEView : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;

  // The view's current picture, nil when it keeps its pixels only in a platform bitmap.
  virtual TIEBitmap* GetIEBitmap() = 0;
  // The platform bitmap behind the picture, nil when there is none.
  virtual TBitmap* GetTBitmap() = 0;
  virtual Integer GetDpiX() = 0;
  virtual Integer GetDpiY() = 0;
  virtual void SetDpiX(Integer Value) = 0;
  virtual void SetDpiY(Integer Value) = 0;
  virtual void SetDpi(Integer DpiX, Integer DpiY) = 0;
  // Fires the view's OnImageChange.
  virtual void ImageChange() = 0;
  virtual TColor GetBackground() = 0;
  virtual TIEBitmapChangeHandle AddBitmapChangeEvent(TIEBitmapChangeEvent Callback) = 0;
  virtual void RemoveBitmapChangeEvent(TIEBitmapChangeHandle Registration) = 0;

  // The full image view answers true and keeps an update lock: while it is raised, Update
  // does nothing, and lowering it does not repaint. Other views have neither; the component
  // gives only an image view the resolution of a loaded picture.
  virtual bool IsImageView() const { return false; }
  virtual void LockUpdate() {}
  virtual void UnlockUpdateNoRefresh() {}
};

#pragma once
// TIEView: the base control of the imaging library's views. It carries what components that
// attach to a view need whatever the concrete view is - the bitmap accessors, the resolution,
// the paint lock, the image-change hook and the list of bitmap-change listeners - plus the
// background colour, border style, 3-D look and mouse enter/leave events. It lives here so that
// the I/O component can attach to views without depending on the view library.
#include <memory>
#include <string>
#include <vector>

#include "platform/classes/Colors.h"
#include "platform/classes/Controls.h"
#include "platform/classes/Forms.h"
#include "platform/system/Delegates.h"
#include "platform/system/Exceptions.h"
#include "platform/system/Types.h"

class TBitmap;
class TCanvas;
class TIEBitmap;
class TStream;
struct TIEPsdLayer;  // imaging/io/iepsdlayer.h

// Raised by an operation a concrete view has to supply when called on a plain TIEView.
TV_DECLARE_EXCEPTION(EAbstractError, Exception)

// Called with Destroying false whenever the view replaces its bitmap, and with true once when
// the view is destroyed.
using TIEBitmapChangeEvent = TDelegate<void(TObject* Sender, bool Destroying)>;
// One registration; its address is the handle AddBitmapChangeEvent returns.
struct TIEBitmapChangeRecord {
  TIEBitmapChangeEvent Event;
};
using TIEBitmapChangeHandle = void*;

class TIEView : public TCustomControl {
 public:
  explicit TIEView(TComponent* AOwner);
  // Tells every listener (Destroying true) and frees the registrations, before the control
  // goes away.
  ~TIEView() override;

  virtual TColor GetBackground() { return FBackground; }
  virtual void SetBackground(TColor Value);
  TBorderStyle GetBorderStyle() const { return FBorderStyle; }
  // A change recreates the window.
  void SetBorderStyle(TBorderStyle Value);
  // A change recreates the window.
  void SetCtl3D(bool Value);

  // The platform bitmap behind the current picture when it is stored as one; nil here.
  virtual TBitmap* GetTBitmap() { return nullptr; }
  // The current picture; nil here.
  virtual TIEBitmap* GetIEBitmap() { return nullptr; }
  // The operations below have to be supplied by a concrete view; here they raise.
  virtual TIEBitmap* GetAlphaChannel();
  virtual bool HasAlphaChannel();
  virtual void RemoveAlphaChannel(bool Merge);
  virtual void LockPaint();
  virtual Integer UnlockPaint();
  virtual Integer UnlockPaintNoRefresh();

  // Zero is ignored, so a resolution cannot be reset to 0 through these.
  virtual Integer GetDpiX() { return FDpiX; }
  virtual Integer GetDpiY() { return FDpiY; }
  virtual void SetDpiX(Integer Value);
  virtual void SetDpiY(Integer Value);
  virtual void SetDpi(Integer DpiX, Integer DpiY);
  // Fires the concrete view's OnImageChange; nothing here.
  virtual void ImageChange() {}
  // Calls every listener with Destroying false, in registration order.
  virtual void NotifyBitmapChange();

  // The same method may be registered twice; each registration is its own.
  virtual TIEBitmapChangeHandle AddBitmapChangeEvent(TIEBitmapChangeEvent Callback);
  // Null and unknown handles are ignored.
  virtual void RemoveBitmapChangeEvent(TIEBitmapChangeHandle Registration);
  Integer GetBitmapChangeEventCount() const { return static_cast<Integer>(FBitmapChangeEvents.size()); }

  // The full image view answers true and keeps an update lock: while it is raised, Update
  // does nothing, and lowering it does not repaint. Other views have neither; the component
  // gives only an image view the resolution of a loaded picture.
  virtual bool IsImageView() const { return false; }
  virtual void LockUpdate() {}
  virtual void UnlockUpdateNoRefresh() {}

  // Fired after the platform's own handling of the mouse entering and leaving the control.
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

 protected:
  void Dispatch(TMessage& Message) override;
  void CreateParams(TCreateParams& Params) override;
  void CMMouseEnter(TMessage& Message);
  void CMMouseLeave(TMessage& Message);

  TBorderStyle FBorderStyle = bsSingle;
  TColor FBackground = clBtnFace;
  Integer FDpiX = 0;
  Integer FDpiY = 0;

 private:
  std::vector<std::unique_ptr<TIEBitmapChangeRecord>> FBitmapChangeEvents;
};

// What the view library hands the I/O component at its start-up: reading a layer file into an
// image view (false when the file is refused), and exchanging PSD layers with an image view:
// PsdLayersToView takes them in as its layers (Replace: in place of the view's own; Width x
// Height: the picture's size, for the background under a first layer that is not at the
// origin); PsdLayersFromView gives out its layers with their merged picture in Merged (false
// for a view without layers). The vector layer adds: whether a view keeps vector objects, and
// loading an objects file (the file variant also makes the picture the objects' size, white
// and fully transparent) or a combined layers-and-objects stream (All) into it; false when the
// data is refused. Nil until then.
struct TIEViewDataProcs {
  bool (*LoadLayersFromStream)(TIEView* View, TStream* Stream) = nullptr;
  bool (*TakesObjects)(TIEView* View) = nullptr;
  bool (*LoadObjectsFromFile)(TIEView* View, const std::u16string& FileName) = nullptr;
  bool (*LoadObjectsFromStream)(TIEView* View, TStream* Stream, bool All) = nullptr;
  void (*PsdLayersToView)(TIEView* View, const std::vector<TIEPsdLayer>& Layers, bool Replace, Integer Width,
                          Integer Height) = nullptr;
  bool (*PsdLayersFromView)(TIEView* View, TIEBitmap* Merged, std::vector<TIEPsdLayer>& Layers) = nullptr;
};
extern TIEViewDataProcs IEViewDataProcs;

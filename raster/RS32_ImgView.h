#pragma once
// The image view with scroll bars: the image control with a horizontal and a vertical range bar
// along its bottom and right edge. The bars' positions decide where the bitmap lies; a bitmap
// smaller than the viewport can be kept centred; OverSize adds a margin (in bitmap pixels)
// around it; a size grip between the bars can resize the form that holds the view.
//
// The view owns its two bars (as components, parented to it) and its ScrollBars object. The
// bitmap is moved by its offset only, never copied or shifted.
#include <memory>

#include "raster/RS32_Image.h"
#include "raster/RS32_RangeBars.h"

enum TScrollBarVisibility : Byte { svAlways, svHidden, svAuto };
enum TSizeGripStyle : Byte { sgAuto, sgNone, sgAlways };

class TCustomImgView32;

// The look of both bars (HorzBar the master, VertBar the second), their step, thickness and
// visibility.
class TIVScrollProperties : public TArrowBarAccess {
 public:
  explicit TIVScrollProperties(TCustomImgView32* View) : FView(View) {}
  Integer GetIncrement() const;
  void SetIncrement(Integer Value);
  Integer GetSize() const;
  void SetSize(Integer Value);
  TScrollBarVisibility GetVisibility() const;
  void SetVisibility(TScrollBarVisibility Value);

 private:
  TCustomImgView32* FView;
};

class TCustomImgView32 : public TCustomImage32 {
  friend class TIVScrollProperties;

 public:
  explicit TCustomImgView32(TComponent* AOwner);
  ~TCustomImgView32() override;

  // Moves the view by Dx, Dy pixels of the shown picture (clamped by the bars); OnScroll is
  // not fired.
  void Scroll(Integer Dx, Integer Dy);
  // Puts bitmap point (X, Y) in the middle of the viewport.
  void CenterOn(Integer X, Integer Y);

  bool GetCentered() const { return FCentered; }
  void SetCentered(bool Value);
  Integer GetOverSize() const { return FOverSize; }
  void SetOverSize(Integer Value);
  TSizeGripStyle GetSizeGrip() const { return FSizeGrip; }
  void SetSizeGrip(TSizeGripStyle Value);
  TIVScrollProperties* GetScrollBars() const { return FScrollBars.get(); }
  void SetScrollBars(TIVScrollProperties* Value);
  void SetScaleMode(TScaleMode Value) override;
  TCustomRangeBar* GetHorzBar() const { return FHorzBar; }
  TCustomRangeBar* GetVertBar() const { return FVertBar; }

  bool BarsShown();
  Integer EffectiveBarSize();
  bool GripShown();
  TRect GripRect();
  TRect ViewportRect() override;
  void Paint() override;

  TNotifyEvent OnScroll;

 protected:
  virtual void FireScroll();
  virtual void BarChanged(TObject* Sender);
  virtual void PlaceImage();
  virtual void UpdateBarRanges();
  void LayoutBars();
  void RecenterAll();
  void BitmapSizeChanged() override;
  void AfterScaleChange() override;
  void Loaded() override;
  void Resize() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;

 private:
  void PaintGrip();

  bool FCentered = true;
  Integer FBarSize = 0;
  TScrollBarVisibility FBarVisibility = svAlways;
  std::unique_ptr<TIVScrollProperties> FScrollBars;
  TSizeGripStyle FSizeGrip = sgAuto;
  Integer FOverSize = 0;
  bool FSuppressBarEvents = false;
  TCustomRangeBar* FHorzBar = nullptr;  // owned as components
  TCustomRangeBar* FVertBar = nullptr;
};

class TImgView32 : public TCustomImgView32 {
 public:
  explicit TImgView32(TComponent* AOwner) : TCustomImgView32(AOwner) {}
};

#pragma once
// THintWindow: the small window the application shows a control's hint in. The platform's
// look: clInfoBk, a one-pixel raised frame, the text 2 pixels in; a topmost tool window that
// is never activated and lets the mouse through.
#include <string>

#include "platform/classes/Controls.h"

class THintWindow : public TCustomControl {
 public:
  explicit THintWindow(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

  // Shows AHint in Rect (screen) moved inside the screen, topmost, without activating.
  virtual void ActivateHint(TRect Rect, const std::string& AHint);
  virtual void ActivateHintData(TRect Rect, const std::string& AHint, void* AData);
  // The size (at the origin) the hint needs, lines broken at MaxWidth.
  virtual TRect CalcHintRect(Integer MaxWidth, const std::string& AHint, void* AData);
  // Messages that end a hint: keys, clicks, commands, activation.
  virtual bool IsHintMsg(const MSG& Msg);
  void ReleaseHandle() { DestroyHandle(); }

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  void WMNCHitTest(TMessage& Message) { Message.Result = HTTRANSPARENT; }
  void WMNCPaint(TMessage& Message);
  void WMMouseActivate(TMessage& Message) { Message.Result = MA_NOACTIVATE; }
  void CMTextChanged(TMessage& Message);

 private:
  bool FActivating = false;
};

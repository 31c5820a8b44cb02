#pragma once
// The skinned gauge.
#include "skin/controls/bsSkinCtrlsBase.h"

// ---- Gauge ----------------------------------------------------------------------------------
using TbsGaugePaintEvent = TDelegate<void(TCanvas* Cnvs, TRect AProgressArea, TRect AProgressRect)>;

// The progress gauge (100 x 20, part "gauge").
class TbsSkinGauge : public TbsSkinCustomControl {
 public:
  explicit TbsSkinGauge(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

  Integer GetMinValue() const { return FMinValue; }
  void SetMinValue(Integer Value);
  Integer GetMaxValue() const { return FMaxValue; }
  // Lowers Value to the new maximum; repaints at once.
  void SetMaxValue(Integer Value);
  Integer GetValue() const { return FValue; }
  // Clamps to the range; a new value invalidates (the repaint waits for the message queue).
  void SetValue(Integer Value);
  bool GetVertical() const { return FVertical; }
  void SetVertical(bool Value) { FVertical = Value; }
  bool GetUseSkinSize() const { return FUseSkinSize; }
  void SetUseSkinSize(bool Value) { FUseSkinSize = Value; }
  const std::string& GetProgressText() const { return FProgressText; }
  void SetProgressText(const std::string& Value);
  bool GetShowProgressText() const { return FShowProgressText; }
  void SetShowProgressText(bool Value);
  bool GetShowPercent() const { return FShowPercent; }
  void SetShowPercent(bool Value);
  Integer GetProgressAnimationPause() const { return FProgressAnimationPause; }
  void SetProgressAnimationPause(Integer Value);

  virtual Integer GetDisplayValue() { return FValue; }
  void DrawDefaultImage(TBitmap* B) override;
  // The filled part of Area for the value V.
  TRect ProgressRect(const TRect& Area, Integer V) const;
  // ProgressText and the percentage as shown.
  std::string ShownText(Integer V) const;

  TbsGaugePaintEvent OnGaugePaint;

 private:
  Integer CurrentValue();
  void DrawText(TCanvas* C, Integer V);

  Integer FMinValue = 0;
  Integer FMaxValue = 100;
  Integer FValue = 50;
  bool FVertical = false;
  bool FUseSkinSize = true;
  std::string FProgressText;
  bool FShowProgressText = false;
  bool FShowPercent = false;
  Integer FProgressAnimationPause = 3000;
};

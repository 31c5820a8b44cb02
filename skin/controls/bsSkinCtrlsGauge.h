#pragma once
// The skinned gauge.
#include "skin/controls/bsSkinCtrlsBase.h"

// ---- Gauge ----------------------------------------------------------------------------------
using TbsGaugePaintEvent = TDelegate<void(TCanvas* Cnvs, TRect AProgressArea, TRect AProgressRect)>;

// The progress gauge (100 x 20, part "gauge").
class TbsSkinGauge : public TbsSkinCustomControl {
 public:
  explicit TbsSkinGauge(TComponent* AOwner);
  ~TbsSkinGauge() override;
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
  // While designing also picks "vgauge" or "gauge" and turns the control.
  void SetVertical(bool Value);
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
  void LoadSkinPart() override;
  void FitPartToSize(Integer& AWidth, Integer& AHeight) override;
  void DrawDefaultImage(TBitmap* B) override;
  void DrawSkinImage(TBitmap* B) override;
  void ApplySkinChange() override;

  // Runs of the part's animation frames with pauses between them; only with an animation in
  // the part.
  void StartProgressAnimation();
  void StopProgressAnimation();
  Integer AnimationFrameNo = 0;
  // Frame K (from 1) of the progress animation in SkinPicture.
  TRect AnimationFrameRect(Integer K) const;
  // The filled part of Area for the value V.
  TRect ProgressRect(const TRect& Area, Integer V) const;
  // ProgressText and the percentage as shown.
  std::string ShownText(Integer V) const;

  TbsGaugePaintEvent OnGaugePaint;

  // The copies of the part.
  TRect ProgressSkinRect;  // the part's "progressrect": the progress picture
  TRect ProgressArea, FNewProgressArea;
  Integer BeginOffset = 0, EndOffset = 0;
  std::string FontName;
  TFontStyles FontStyle;
  Integer FontHeight = 0;
  TColor FontColor = 0;
  bool ProgressTransparent = false;
  TColor ProgressTransparentColor = 0;
  bool ProgressStretch = false;
  TRect ProgressAnimationSkinRect;
  Integer ProgressAnimationCountFrames = 0, ProgressAnimationTimerInterval = 0;

 protected:
  void Paint() override;

 private:
  Integer CurrentValue();
  void DrawText(TCanvas* C, Integer V);
  // The progress picture of the part over P (in B's coordinates).
  void DrawPartProgress(TCanvas* C, const TRect& P);
  void BeginAnimationRun();
  void AnimationFrameTick(TObject* Sender);
  void AnimationPauseTick(TObject* Sender);

  std::unique_ptr<TTimer> AnimationPauseTicker;
  std::unique_ptr<TTimer> AnimationTicker;

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

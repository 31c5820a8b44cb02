#pragma once
// Skinned hints. A TbsSkinHint on the main form makes the application show its hints in a
// TbsSkinHintWindow drawn from the skin's HINTWINDOW picture (or a plain look), with lines broken
// at a separator, an optional bold title and image taken from the skinned control under the
// mouse. It also shows text hints for things that are not controls (ShowHintText / HideHint).
#include <memory>
#include <string>

#include "platform/classes/Application.h"
#include "platform/classes/HintWindow.h"
#include "skin/data/bsSkinData.h"

class TbsSkinHint;
class TCustomImageList;
class TFont;
class TTimer;

class TbsSkinHintWindow : public THintWindow {
 public:
  explicit TbsSkinHintWindow(TComponent* AOwner);
  ~TbsSkinHintWindow() override;
  void Dispatch(TMessage& Message) override;

  // Only Rect's top-left is used: the window sizes itself to the text.
  void ActivateHint(TRect Rect, const std::string& AHint) override;

  bool WithTitle = false;
  TRect NewClRect;
  TPoint NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint;
  // Set only while the skin's hint picture is in use.
  TbsSkinData* SkinData = nullptr;
  Integer AppliedAlpha = -1;
  bool LayeredOn = false;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;

 private:
  TbsSkinHint* FHint = nullptr;

  TBitmap* SkinPicture() const;
  void ApplyFont(TbsSkinHint* Hint);
  TPoint CalcPlainSize(const std::string& Text);
  TPoint CalcTitledSize(TbsSkinHint* Hint, const std::string& Text);
  // Grows (W, H) by the skin frame around the client rectangle and sets the new anchors.
  void FitSkinFrame(Integer& W, Integer& H, Integer Extra);
  void ApplyAlpha(TbsSkinHint* Hint);
  void ApplyRegion();
  void FadeIn(TbsSkinHint* Hint);
  void PaintTitled(TCanvas* C, TbsSkinHint* Hint, const std::string& Text);
};

class TbsSkinHint : public TComponent {
 public:
  explicit TbsSkinHint(TComponent* AOwner);
  ~TbsSkinHint() override;

  bool GetActive() const { return FActive; }
  void SetActive(bool Value);
  TbsSkinData* GetSkinData() const { return FSkinData; }
  void SetSkinData(TbsSkinData* Value);
  TFont* GetDefaultFont() const { return FDefaultFont.get(); }
  void SetDefaultFont(TFont* Value);

  // The application's show-hint handler: takes title and image from a skinned control.
  void ShowHintHandler(std::string& HintStr, bool& CanShow, THintInfo& HintInfo);
  // Shows Text under the cursor after the application's hint pause.
  void ShowHintText(const std::string& Text);
  void HideHint();
  // Pixel rows from the cursor's hot spot down to the last row its mask covers.
  Integer GetCursorHeightMargin();
  TbsSkinHintWindow* GetHintWindow() const { return FHintWindow; }
  TTimer* GetHintTimer() const { return FHintTimer; }
  bool SkinInUse() const;

  bool AlphaBlend = false;
  Byte AlphaBlendValue = 0;
  bool AlphaBlendAnimation = false;
  bool UseSkinFont = true;
  std::string LineSeparator = "@";
  TShowHintEvent OnShowHint;

  std::string HintTitle;
  Integer HintImageIndex = 0;
  TCustomImageList* HintImageList = nullptr;
  std::string HintText;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  bool Designing() const { return GetComponentState().Contains(csDesigning); }
  void InstallHandler();
  void ClearHintData();
  void StartTimer(Cardinal Interval, void (TbsSkinHint::*Tick)(TObject*));
  void StopTimer();
  void ShowTimerTick(TObject* Sender);
  void HideTimerTick(TObject* Sender);
  void HideWindow();
  // Gives the application back what it had before the first skinned hint, when it still holds
  // what this component put there.
  void UninstallFromApplication();

  bool FActive = true;
  TbsSkinData* FSkinData = nullptr;
  std::unique_ptr<TFont> FDefaultFont;
  TbsSkinHintWindow* FHintWindow = nullptr;
  TTimer* FHintTimer = nullptr;
};

// The first active TbsSkinHint among the main form's components; nil without one.
TbsSkinHint* FindActiveSkinHint();

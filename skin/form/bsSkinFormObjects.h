#pragma once
// The frame objects of a skinned form: the interactive pieces of its non-client frame. Each is
// made from one object record of the skin (or, for the six default caption buttons, without
// one), lies at ObjectRect in window coordinates, draws itself from the skin's pictures and
// carries out its caption command through its TbsSkinForm.
//
// Ownership: the TbsSkinForm owns its objects; pictures, records and skin data are the skin's.
#include <string>

#include "platform/classes/Bitmap.h"
#include "platform/classes/Canvas.h"
#include "platform/classes/Controls.h"
#include "platform/classes/Menus.h"
#include "skin/data/bsSkinData.h"
#include "skin/data/bsSkinDataObjects.h"

class TbsSkinForm;

class TbsActiveSkinObject {
 public:
  TbsActiveSkinObject(TbsSkinForm* AOwner, TbsDataSkinObject* AData);
  virtual ~TbsActiveSkinObject() = default;
  TbsActiveSkinObject(const TbsActiveSkinObject&) = delete;
  TbsActiveSkinObject& operator=(const TbsActiveSkinObject&) = delete;

  virtual bool HitTest(Integer X, Integer Y);
  virtual void Draw(TCanvas* Cnvs, bool Refresh);
  virtual void MouseEnter();
  virtual void MouseLeave();
  virtual void MouseDown(Integer X, Integer Y, TMouseButton Button);
  virtual void MouseUp(Integer X, Integer Y, TMouseButton Button);
  virtual void MouseMove(Integer X, Integer Y);
  virtual void DblClick() {}
  virtual bool MorphPending() const;
  // Glows need layered windows of their own, which this library does not show yet.
  virtual void ShowGlowLayer() {}
  virtual void HideGlowLayer() {}
  bool CanMorph() const;
  void SetMorphFactor(double Value);
  void MorphStep();
  void ReDraw();

  TbsSkinForm* SkinForm;
  double MorphFactor = 0;
  bool MouseOver = false;
  TBitmap* FramePicture = nullptr;
  TBitmap* ActivePicture = nullptr;
  TBitmap* ActiveMaskPicture = nullptr;
  TbsSkinData* SkinData = nullptr;
  std::string IDName;
  std::string Hint;
  TRect SkinRect, ActiveSkinRect, InActiveSkinRect;
  TRect ObjectRect;
  bool Active = false;
  bool Morphing = false;
  Byte MorphKind = 0;
  bool Enabled = true;
  bool Visible = true;
  bool SkinRectInAPicture = false;
  Integer GlowLayerPictureIndex = -1, GlowLayerMaskPictureIndex = -1;
  Integer GlowLayerOffsetX = 0, GlowLayerOffsetY = 0, GlowLayerAlphaBlendValue = 255;

 protected:
  bool SkinUsable() const { return SkinData != nullptr && !SkinData->Empty; }
  // Copies Source of Picture (stretched) onto ObjectRect; nothing without the picture.
  void CopyLook(TCanvas* Cnvs, TBitmap* Picture, const TRect& Source);
  // The morph between two looks, drawn at ObjectRect's corner.
  void DrawMorph(TCanvas* Cnvs, TBitmap* FromPicture, const TRect& From, const TRect& To);
};

// A user area: draws nothing itself, its OnPaintEvent does.
class TbsUserObject : public TbsActiveSkinObject {
 public:
  using TbsActiveSkinObject::TbsActiveSkinObject;
  void Draw(TCanvas* Cnvs, bool Refresh) override;
};

class TbsSkinButtonObject : public TbsActiveSkinObject {
 public:
  TbsSkinButtonObject(TbsSkinForm* AOwner, TbsDataSkinObject* AData);
  bool MorphPending() const override;
  void Draw(TCanvas* Cnvs, bool Refresh) override;
  void MouseDown(Integer X, Integer Y, TMouseButton Button) override;
  void MouseUp(Integer X, Integer Y, TMouseButton Button) override;
  void MouseEnter() override;
  void MouseLeave() override;
  void SetPressed(bool Value);
  void PopupMenu();

  TRect DownRect, DisableSkinRect;
  TMenuItem* DropMenuItem = nullptr;
  bool PopupToUp = false;
  bool Pressed = false;
};

// Caption command buttons: close, maximize, minimize, system menu, custom, roll-up, tray.
class TbsSkinStdButtonObject : public TbsSkinButtonObject {
 public:
  TbsSkinStdButtonObject(TbsSkinForm* AOwner, TbsDataSkinObject* AData);
  bool HitTest(Integer X, Integer Y) override;
  bool MorphPending() const override;
  void Draw(TCanvas* Cnvs, bool Refresh) override;
  void DblClick() override;
  void MouseDown(Integer X, Integer Y, TMouseButton Button) override;
  void MouseUp(Integer X, Integer Y, TMouseButton Button) override;
  void MouseEnter() override;
  void MouseLeave() override;
  void DefaultDraw(TCanvas* Cnvs);
  void DoCommand();
  bool IconMode() const;
  bool InRestoreState() const;

  bool FromSkin = false;
  Byte Command = 4;
  TRect RestoreRect, RestoreActiveRect, RestoreInActiveRect, RestoreDownRect;
  std::string RestoreHint, NormalHint;
};

// The caption: its background in the active and inactive looks, the text and the quick
// buttons. For a caption Active is the form's active state.
class TbsSkinCaptionObject : public TbsActiveSkinObject {
 public:
  TbsSkinCaptionObject(TbsSkinForm* AOwner, TbsDataSkinObject* AData);
  void Draw(TCanvas* Cnvs, bool Refresh) override;
  void MouseDown(Integer X, Integer Y, TMouseButton Button) override;
  void MouseUp(Integer X, Integer Y, TMouseButton Button) override;
  void MouseMove(Integer X, Integer Y) override;
  void MouseEnter() override;
  void MouseLeave() override;
  // The activation change of the form.
  void SetActive(bool Value, bool Update);
  bool AnimationUsable() const;
  // One tick of the 25 ms animation timer; true when a frame changed.
  bool AnimationTick();
  TRect AnimationFrameRect(Integer N) const;
  // The text rectangle relative to ObjectRect's top-left corner.
  TRect CalcTextRect() const;
  void DrawCaptionText(TCanvas* Cnvs, Integer X, Integer Y, bool State);

  Integer HotQuickButton = -1, PrevHotQuickButton = -1;
  std::string FontName = "Arial";
  TFontStyles FontStyle;
  Integer FontHeight = 14;
  TColor FontColor = 0, ActiveFontColor = 0;
  TColor ShadowColor = 0, ActiveShadowColor = 0, LightColor = 0, ActiveLightColor = 0;
  bool Shadow = false, Light = false;
  Byte Alignment = 2;
  TRect TextRect, FrameRect, ActiveFrameRect, FrameTextRect;
  Integer FrameLeftOffset = 0, FrameRightOffset = 0;
  bool StretchEffect = false, FullFrame = false;
  Integer ElapsedTime = 0;
  TRect AnimateSkinRect;
  Integer FrameCount = 0, AnimateInterval = 25, CurrentFrame = 0;
  bool InActiveAnimation = false;

 private:
  void SetCaptionFont(TCanvas* Cnvs, TColor Color);
  // The caption background built from Source of Picture at ObjectRect's size, with its text.
  void BuildImage(TBitmap* Image, TBitmap* Picture, const TRect& Source, bool State);
  void ApplyInactiveEffect(TBitmap* Image);
  void DrawQuickButtons(TCanvas* Cnvs);
  Integer QuickButtonAt(Integer X, Integer Y) const;
  void SetHotQuickButton(Integer Index);
};

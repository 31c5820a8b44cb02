#pragma once
// The form-frame objects of a skin ([SKINOBJECTS]): caption, caption buttons, animated
// objects, menu items and free objects. Each field is filled from the key of its name (see
// the key tables); the objects are owned by the skin data.
#include "skin/data/bsSkinDataKeys.h"

// One form-frame object of the skin, read from the section named IDName. Its normal image
// SkinRect lies in the form picture, or, with SkinRectInAPicture, in the picture
// ActivePictureIndex of the picture list.
class TbsDataSkinObject : public TObject {
 public:
  explicit TbsDataSkinObject(const std::string& AIDName) : IDName(AIDName) {}
  static const TbsSkinKeys<TbsDataSkinObject>& Keys();
  virtual void LoadFromIni(TCustomIniFile* Ini);
  // Erases the section and writes every field back; the program itself never saves a skin.
  virtual void SaveToIni(TCustomIniFile* Ini);

  const std::string IDName;
  std::string Hint;
  Integer ActivePictureIndex = -1, ActiveMaskPictureIndex = -1;
  bool SkinRectInAPicture = false;
  TRect SkinRect, ActiveSkinRect, InActiveSkinRect;
  bool Morphing = false;
  Byte MorphKind = mkDefault;
  Integer GlowLayerPictureIndex = -1, GlowLayerMaskPictureIndex = -1;
  Integer GlowLayerOffsetX = 0, GlowLayerOffsetY = 0;
  Integer GlowLayerAlphaBlendValue = 255;
};

// A free object: only its rectangle is read.
class TbsDataUserObject : public TbsDataSkinObject {
 public:
  using TbsDataSkinObject::TbsDataSkinObject;
  static const TbsSkinKeys<TbsDataUserObject>& Keys();
  void LoadFromIni(TCustomIniFile* Ini) override;
  void SaveToIni(TCustomIniFile* Ini) override;
};

// A frame button with down and disabled images and alpha masks.
class TbsDataSkinButton : public TbsSkinRecord<TbsDataSkinButton, TbsDataSkinObject> {
 public:
  using TbsSkinRecord::TbsSkinRecord;
  static const TbsSkinKeys<TbsDataSkinButton>& Keys();

  TRect DownRect, DisableSkinRsect;
  Integer AlphaMaskPictureIndex = -1, AlphaMaskActivePictureIndex = -1, AlphaMaskInActivePictureIndex = -1;
};

// A caption button with its command (TbsStdCommand) and its look while maximised or rolled up.
class TbsDataSkinStdButton : public TbsSkinRecord<TbsDataSkinStdButton, TbsDataSkinButton> {
 public:
  using TbsSkinRecord::TbsSkinRecord;
  static const TbsSkinKeys<TbsDataSkinStdButton>& Keys();
  void LoadFromIni(TCustomIniFile* Ini) override;

  Byte Command = 0;
  TRect RestoreRect, RestoreActiveRect, RestoreDownRect, RestoreInActiveRect;
  std::string RestoreHint;
};

// A caption button of the main menu bar; told apart from the others by its class.
class TbsDataSkinMainMenuBarButton : public TbsDataSkinStdButton {
 public:
  using TbsDataSkinStdButton::TbsDataSkinStdButton;
};

// An animated frame object, which may act as a button with a command; it never morphs.
class TbsDataSkinAnimate : public TbsSkinRecord<TbsDataSkinAnimate, TbsDataSkinObject> {
 public:
  using TbsSkinRecord::TbsSkinRecord;
  static const TbsSkinKeys<TbsDataSkinAnimate>& Keys();
  void LoadFromIni(TCustomIniFile* Ini) override;

  Integer CountFrames = 0;
  bool Cycle = false, ButtonStyle = false;
  Integer TimerInterval = 0;
  Byte Command = 0;
  TRect DownSkinRect, RestoreRect, RestoreActiveRect, RestoreDownRect;
  TRect RestoreInActiveRect;
  std::string RestoreHint;
};

// An item of the skinned popup menus.
class TbsDataSkinMenuItem : public TbsSkinRecord<TbsDataSkinMenuItem, TbsDataSkinObject> {
 public:
  using TbsSkinRecord::TbsSkinRecord;
  static const TbsSkinKeys<TbsDataSkinMenuItem>& Keys();
  void LoadFromIni(TCustomIniFile* Ini) override;

  Integer ItemLeftOffset = 0, ItemRightOffset = 0;
  TRect DividerRect;
  Integer DividerLeftOffset = 0, DividerRightOffset = 0;
  TRect TextRect, ImageRect;
  std::string FontName;
  Integer FontHeight = 0;
  TFontStyles FontStyle;
  TColor FontColor = 0, ActiveFontColor = 0, UnEnabledFontColor = 0;
  bool StretchEffect = false, InActiveStretchEffect = false, DividerStretchEffect = false;
  TRect AnimateSkinRect;
  Integer FrameCount = 0, AnimateInterval = 0;
  bool InActiveAnimation = false, UseImageColor = false;
  TColor ImageColor = 0, ActiveImageColor = 0;
  bool InActiveTransparent = false;
  TRect CheckImageRect, ActiveCheckImageRect, RadioImageRect, ActiveRadioImageRect;
  TRect ArrowImageRect, ActiveArrowImageRect;
};

// An item of the skinned main menu bar.
class TbsDataSkinMainMenuItem : public TbsSkinRecord<TbsDataSkinMainMenuItem, TbsDataSkinObject> {
 public:
  using TbsSkinRecord::TbsSkinRecord;
  static const TbsSkinKeys<TbsDataSkinMainMenuItem>& Keys();

  Integer ItemLeftOffset = 0, ItemRightOffset = 0;
  TRect DownRect, TextRect;
  std::string FontName;
  Integer FontHeight = 0;
  TFontStyles FontStyle;
  TColor FontColor = 0, ActiveFontColor = 0, DownFontColor = 0, UnEnabledFontColor = 0;
  bool StretchEffect = false;
  TRect AnimateSkinRect;
  Integer FrameCount = 0, AnimateInterval = 0;
  bool InActiveAnimation = false;
};

// The main menu bar's item object; told apart by its class.
class TbsDataSkinMainMenuBarItem : public TbsDataSkinMainMenuItem {
 public:
  using TbsDataSkinMainMenuItem::TbsDataSkinMainMenuItem;
};

// The caption: text area, font, effects of the text, frame and divider.
class TbsDataSkinCaption : public TbsSkinRecord<TbsDataSkinCaption, TbsDataSkinObject> {
 public:
  using TbsSkinRecord::TbsSkinRecord;
  static const TbsSkinKeys<TbsDataSkinCaption>& Keys();

  TRect TextRect;
  std::string FontName;
  Integer FontHeight = 0;
  TFontStyles FontStyle;
  TColor FontColor = 0, ActiveFontColor = 0;
  Byte Alignment = 0;
  bool Light = false;
  TColor LightColor = 0, ActiveLightColor = 0;
  bool Shadow = false;
  TColor ShadowColor = 0, ActiveShadowColor = 0;
  TRect FrameRect, ActiveFrameRect, FrameTextRect;
  Integer FrameLeftOffset = 0, FrameRightOffset = 0;
  bool StretchEffect = false;
  TRect AnimateSkinRect;
  Integer FrameCount = 0, AnimateInterval = 0;
  bool InActiveAnimation = false, FullFrame = false, VistaGlowEffect = false, VistaGlowInActiveEffect = false;
  bool GlowEffect = false, GlowInActiveEffect = false;
  Integer GlowSize = 0;
  TColor GlowColor = 0, GlowActiveColor = 0;
  Integer GlowOffset = 0;
  bool ReflectionEffect = false;
  TColor ReflactionColor = 0, ReflactionActiveColor = 0;
  Integer ReflectionOffset = 0;
  TRect DividerRect, InActiveDividerRect;
  bool DividerTransparent = false;
  TColor DividerTransparentColor = 0;
};

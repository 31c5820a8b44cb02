#pragma once
// The control parts of a skin ([SKINCONTROLS]): the base records and the parts of buttons,
// check boxes, gauges, bars, labels, panels, up-downs, bevels, sliders and views. Each field is
// filled from the key of its name (see the key tables); the parts are owned by the skin data.
#include "skin/data/bsSkinDataKeys.h"

// One control part, read from the section named IDName: the picture of the skin's picture
// list that holds its image (-1 for none) and where the image lies in it.
class TbsDataSkinControl : public TObject {
 public:
  explicit TbsDataSkinControl(const std::string& AIDName) : IDName(AIDName) {}
  static const TbsSkinKeys<TbsDataSkinControl>& Keys();
  virtual void LoadFromIni(TCustomIniFile* Ini);
  // Erases the section and writes every field back; the program itself never saves a skin.
  virtual void SaveToIni(TCustomIniFile* Ini);

  const std::string IDName;
  Integer PictureIndex = -1, MaskPictureIndex = -1;
  TRect SkinRect;
};

// A resizable part: anchor points, client rectangle and how the image stretches.
class TbsDataSkinCustomControl : public TbsSkinRecord<TbsDataSkinCustomControl, TbsDataSkinControl> {
 public:
  using TbsSkinRecord::TbsSkinRecord;
  static const TbsSkinKeys<TbsDataSkinCustomControl>& Keys();

  TPoint LeftTopPoint, RightTopPoint, LeftBottomPoint, RightBottomPoint;
  TRect ClientRect;
  bool LeftStretch = false, TopStretch = false, RightStretch = false, BottomStretch = false;
  bool StretchEffect = false;
  Byte StretchType = stFull;
};

// Push buttons: state images, morphing, frame animation, menu marker and glow layer.
class TbsDataSkinButtonControl : public TbsSkinRecord<TbsDataSkinButtonControl, TbsDataSkinCustomControl> {
 public:
  using TbsSkinRecord::TbsSkinRecord;
  static const TbsSkinKeys<TbsDataSkinButtonControl>& Keys();

  std::string FontName = "Arial";
  Integer FontHeight = 14;
  TFontStyles FontStyle;
  TColor FontColor = 0, ActiveFontColor = 0, DownFontColor = 0, DisabledFontColor = 0;
  TRect ActiveSkinRect, DownSkinRect, FocusedSkinRect, DisabledSkinRect;
  bool Morphing = false;
  Byte MorphKind = mkDefault;
  TRect AnimateSkinRect;
  Integer FrameCount = 0;
  Integer AnimateInterval = 25;
  bool ShowFocus = false;
  TRect MenuMarkerFlatRect, MenuMarkerRect, MenuMarkerActiveRect, MenuMarkerDownRect;
  TColor MenuMarkerTransparentColor = 0;
  Integer GlowLayerPictureIndex = -1, GlowLayerMaskPictureIndex = -1;
  Integer GlowLayerOffsetLeft = 0, GlowLayerOffsetTop = 0, GlowLayerOffsetRight = 0,
          GlowLayerOffsetBottom = 0;
  Integer GlowLayerShowOffsetX = 0, GlowLayerShowOffsetY = 0;
  Integer GlowLayerAlphaBlendValue = 255;
};

// A button with a drop-down part.
class TbsDataSkinMenuButtonControl
    : public TbsSkinRecord<TbsDataSkinMenuButtonControl, TbsDataSkinButtonControl> {
 public:
  using TbsSkinRecord::TbsSkinRecord;
  static const TbsSkinKeys<TbsDataSkinMenuButtonControl>& Keys();

  TRect TrackButtonRect;
};

// Check and radio boxes.
class TbsDataSkinCheckRadioControl
    : public TbsSkinRecord<TbsDataSkinCheckRadioControl, TbsDataSkinCustomControl> {
 public:
  using TbsSkinRecord::TbsSkinRecord;
  static const TbsSkinKeys<TbsDataSkinCheckRadioControl>& Keys();

  std::string FontName = "Arial";
  Integer FontHeight = 14;
  TFontStyles FontStyle;
  TColor FontColor = 0, ActiveFontColor = 0, UnEnabledFontColor = 0, FrameFontColor = 0;
  TRect ActiveSkinRect, CheckImageArea, TextArea, CheckImageRect;
  TRect UncheckImageRect, ActiveCheckImageRect, ActiveUncheckImageRect, UnEnabledCheckImageRect;
  TRect UnEnabledUncheckImageRect, GrayedCheckImageRect, ActiveGrayedCheckImageRect;
  bool Morphing = false;
  Byte MorphKind = mkDefault;
};

// Progress bars.
class TbsDataSkinGaugeControl : public TbsSkinRecord<TbsDataSkinGaugeControl, TbsDataSkinCustomControl> {
 public:
  using TbsSkinRecord::TbsSkinRecord;
  static const TbsSkinKeys<TbsDataSkinGaugeControl>& Keys();

  TRect ProgressArea, ProgressRect;
  Integer BeginOffset = 0, EndOffset = 0;
  bool Vertical = false;
  std::string FontName = "Arial";
  Integer FontHeight = 14;
  TFontStyles FontStyle;
  TColor FontColor = 0;
  bool ProgressTransparent = false;
  TColor ProgressTransparentColor = 0;
  bool ProgressStretch = false;
  TRect AnimationSkinRect;
  Integer AnimationCountFrames = 0, AnimationTimerInterval = 0;
  TRect ProgressAnimationSkinRect;
  Integer ProgressAnimationCountFrames = 0, ProgressAnimationTimerInterval = 0, AnimationBeginOffset = 0,
          AnimationEndOffset = 0;
};

// Track bars.
class TbsDataSkinTrackBarControl
    : public TbsSkinRecord<TbsDataSkinTrackBarControl, TbsDataSkinCustomControl> {
 public:
  using TbsSkinRecord::TbsSkinRecord;
  static const TbsSkinKeys<TbsDataSkinTrackBarControl>& Keys();

  TRect ActiveSkinRect, TrackArea, ButtonRect, ActiveButtonRect;
  bool Vertical = false, ButtonTransparent = false;
  TColor ButtonTransparentColor = 0;
};

// Splitters.
class TbsDataSkinSplitterControl
    : public TbsSkinRecord<TbsDataSkinSplitterControl, TbsDataSkinCustomControl> {
 public:
  using TbsSkinRecord::TbsSkinRecord;
  static const TbsSkinKeys<TbsDataSkinSplitterControl>& Keys();

  TRect GripperRect;
  bool GripperTransparent = false;
  TColor GripperTransparentColor = 0;
};

// Labels on a part image.
class TbsDataSkinLabelControl : public TbsSkinRecord<TbsDataSkinLabelControl, TbsDataSkinCustomControl> {
 public:
  using TbsSkinRecord::TbsSkinRecord;
  static const TbsSkinKeys<TbsDataSkinLabelControl>& Keys();

  std::string FontName = "Arial";
  Integer FontHeight = 14;
  TFontStyles FontStyle;
  TColor FontColor = 0;
};

// Plain labels (not resizable).
class TbsDataSkinStdLabelControl : public TbsSkinRecord<TbsDataSkinStdLabelControl, TbsDataSkinControl> {
 public:
  using TbsSkinRecord::TbsSkinRecord;
  static const TbsSkinKeys<TbsDataSkinStdLabelControl>& Keys();

  std::string FontName = "Arial";
  Integer FontHeight = 14;
  TFontStyles FontStyle;
  TColor FontColor = 0;
  TColor ActiveFontColor = 16711680;
};

// Panels and group boxes.
class TbsDataSkinPanelControl : public TbsSkinRecord<TbsDataSkinPanelControl, TbsDataSkinCustomControl> {
 public:
  using TbsSkinRecord::TbsSkinRecord;
  static const TbsSkinKeys<TbsDataSkinPanelControl>& Keys();

  Integer BGPictureIndex = -1;
  TRect CaptionRect;
  Byte Alignment = taCenter;
  std::string FontName = "Arial";
  Integer FontHeight = 14;
  TFontStyles FontStyle;
  TColor FontColor = 0;
  TRect CheckImageRect, UncheckImageRect, MarkFrameRect, FrameRect;
  TRect FrameTextRect;
  Integer FrameLeftOffset = 0, FrameRightOffset = 0;
  TRect GripperRect;
  bool GripperTransparent = false;
  TColor GripperTransparentColor = 0;
  TRect ButtonRect, ButtonActiveRect, ButtonDownRect;
  bool ButtonTransparent = false;
  TColor ButtonTransparentColor = 0;
};

// Panels that roll up.
class TbsDataSkinExPanelControl : public TbsSkinRecord<TbsDataSkinExPanelControl, TbsDataSkinCustomControl> {
 public:
  using TbsSkinRecord::TbsSkinRecord;
  static const TbsSkinKeys<TbsDataSkinExPanelControl>& Keys();

  TRect RollHSkinRect, RollVSkinRect;
  Integer RollLeftOffset = 0, RollRightOffset = 0, RollTopOffset = 0, RollBottomOffset = 0;
  TRect RollVCaptionRect, RollHCaptionRect, CloseButtonRect, CloseButtonActiveRect;
  TRect CloseButtonDownRect, HRollButtonRect, HRollButtonActiveRect, HRollButtonDownRect;
  TRect HRestoreButtonRect, HRestoreButtonActiveRect, HRestoreButtonDownRect, VRollButtonRect;
  TRect VRollButtonActiveRect, VRollButtonDownRect, VRestoreButtonRect, VRestoreButtonActiveRect;
  TRect VRestoreButtonDownRect, CaptionRect;
  std::string FontName = "Arial";
  Integer FontHeight = 14;
  TFontStyles FontStyle;
  TColor FontColor = 0;
  bool ButtonsTransparent = false;
  TColor ButtonsTransparentColor = 0;
};

// Up-down buttons; the part never stretches (no anchor points, no client rectangle).
class TbsDataSkinUpDownControl : public TbsSkinRecord<TbsDataSkinUpDownControl, TbsDataSkinCustomControl> {
 public:
  using TbsSkinRecord::TbsSkinRecord;
  static const TbsSkinKeys<TbsDataSkinUpDownControl>& Keys();
  void LoadFromIni(TCustomIniFile* Ini) override;

  TRect UpButtonRect, ActiveUpButtonRect, DownUpButtonRect, DownButtonRect;
  TRect ActiveDownButtonRect, DownDownButtonRect;
};

// Scroll boxes.
class TbsDataSkinScrollBoxControl
    : public TbsSkinRecord<TbsDataSkinScrollBoxControl, TbsDataSkinCustomControl> {
 public:
  using TbsSkinRecord::TbsSkinRecord;
  static const TbsSkinKeys<TbsDataSkinScrollBoxControl>& Keys();

  Integer BGPictureIndex = -1;
};

// Bevels.
class TbsDataSkinBevel : public TbsSkinRecord<TbsDataSkinBevel, TbsDataSkinControl> {
 public:
  using TbsSkinRecord::TbsSkinRecord;
  static const TbsSkinKeys<TbsDataSkinBevel>& Keys();

  TColor LightColor = 0, DarkColor = 0;
};

// Sliders.
class TbsDataSkinSlider : public TbsSkinRecord<TbsDataSkinSlider, TbsDataSkinControl> {
 public:
  using TbsSkinRecord::TbsSkinRecord;
  static const TbsSkinKeys<TbsDataSkinSlider>& Keys();

  TColor BGColor = 0;
  TRect HRulerRect, HThumbRect, VRulerRect, VThumbRect;
  Integer EdgeSize = 0;
  TColor PointsColor = 0;
};

// Tree views.
class TbsDataSkinTreeView : public TbsSkinRecord<TbsDataSkinTreeView, TbsDataSkinControl> {
 public:
  using TbsSkinRecord::TbsSkinRecord;
  static const TbsSkinKeys<TbsDataSkinTreeView>& Keys();

  std::string FontName = "Arial";
  Integer FontHeight = 14;
  TFontStyles FontStyle;
  TColor FontColor = 0, BGColor = 0;
};

// List views.
class TbsDataSkinListView : public TbsSkinRecord<TbsDataSkinListView, TbsDataSkinControl> {
 public:
  using TbsSkinRecord::TbsSkinRecord;
  static const TbsSkinKeys<TbsDataSkinListView>& Keys();

  std::string FontName = "Arial";
  Integer FontHeight = 14;
  TFontStyles FontStyle;
  TColor FontColor = 0, BGColor = 0;
};

// Rich edits.
class TbsDataSkinRichEdit : public TbsSkinRecord<TbsDataSkinRichEdit, TbsDataSkinControl> {
 public:
  using TbsSkinRecord::TbsSkinRecord;
  static const TbsSkinKeys<TbsDataSkinRichEdit>& Keys();

  std::string FontName = "Arial";
  Integer FontHeight = 14;
  TFontStyles FontStyle;
  TColor FontColor = 0, BGColor = 0;
};

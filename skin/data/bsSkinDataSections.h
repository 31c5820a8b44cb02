#pragma once
// The records of the sections that a skin has once: popup windows, the layered border, hint
// windows and the skin colours. The skin data creates each once and reloads it with every skin.
#include "platform/classes/Colors.h"
#include "skin/data/bsSkinDataKeys.h"

// The colours that replace the system colours in skinned controls; all 0 until the first
// Reset.
class TbsSkinColors : public TObject {
 public:
  static const TbsSkinKeys<TbsSkinColors>& Keys();
  // The system colours of the same roles.
  void Reset();
  void LoadFromIni(TCustomIniFile* Ini);

  TColor CBtnFace = 0, CBtnText = 0, CWindow = 0, CWindowText = 0;
  TColor CHighlight = 0, CHighlightText = 0, CBtnHighlight = 0, CBtnShadow = 0;
};

// The frame of popup menu windows ([POPUPWINDOW]).
class TbsDataSkinPopupWindow : public TObject {
 public:
  static const TbsSkinKeys<TbsDataSkinPopupWindow>& Keys();
  void LoadFromIni(TCustomIniFile* Ini);

  Integer WindowPictureIndex = -1, MaskPictureIndex = -1;
  TPoint LeftTopPoint, RightTopPoint, LeftBottomPoint, RightBottomPoint;
  TRect ItemsRect;
  TColor ScrollMarkerColor = 0, ScrollMarkerActiveColor = 0;
  bool LeftStretch = false, RightStretch = false, TopStretch = false, BottomStretch = false;
  bool StretchEffect = false;
  Byte StretchType = stFull;
};

// The layered border around skinned forms ([LAYERFRAME]); a PictureIndex of -1 means the skin
// has none.
class TbsDataSkinLayerFrame : public TObject {
 public:
  static const TbsSkinKeys<TbsDataSkinLayerFrame>& Keys();
  void LoadFromIni(TCustomIniFile* Ini);

  Integer PictureIndex = -1, MaskPictureIndex = -1, InActivePictureIndex = -1, InActiveMaskPictureIndex = -1;
  TPoint LeftTopPoint, RightTopPoint, LeftBottomPoint, RightBottomPoint;
  TRect ClientRect;
  Integer AlphaBlendValue = 255, InActiveAlphaBlendValue = 255;
  TRect BorderRect;
  bool HitTestEnable = false, FullBorder = false;
  Integer HitTestSize = 0;
  TRect CaptionRect;
  TPoint HitTestLeftTopPoint, HitTestRightTopPoint, HitTestLeftBottomPoint, HitTestRightBottomPoint;
  TRect ButtonsRect, SysMenuButtonRect;
  bool FullStretch = false;
  Integer RollUpFormHeight = 0, ButtonsTopOffset = 0, SysButtonTopOffset = 0;
  Integer BlurMaskPictureIndex = -1;
  TRect IntersectBlurMaskRect, ExcludeBlurMaskRect;
  Integer LeftOffset = 0, TopOffset = 0, WidthOffset = 0, HeightOffset = 0;
};

// The frame and font of hint windows ([HINTWINDOW]); the font height is 12 until the first
// load, whose default is 14.
class TbsDataSkinHintWindow : public TObject {
 public:
  static const TbsSkinKeys<TbsDataSkinHintWindow>& Keys();
  void LoadFromIni(TCustomIniFile* Ini);

  Integer WindowPictureIndex = -1, MaskPictureIndex = -1;
  TPoint LeftTopPoint, RightTopPoint, LeftBottomPoint, RightBottomPoint;
  TRect ClientRect;
  std::string FontName = "Arial";
  Integer FontHeight = 12;
  TFontStyles FontStyle;
  TColor FontColor = 0;
  bool LeftStretch = false, RightStretch = false, TopStretch = false, BottomStretch = false;
  bool StretchEffect = false;
  Byte StretchType = stFull;
};

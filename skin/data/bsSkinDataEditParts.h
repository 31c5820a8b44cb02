#pragma once
// The parts of edits, memos, spin edits, list boxes, combo boxes, scroll bars, tabs and grids.
#include "skin/data/bsSkinDataControls.h"

// Edit boxes and their button.
class TbsDataSkinEditControl : public TbsSkinRecord<TbsDataSkinEditControl, TbsDataSkinCustomControl> {
 public:
  using TbsSkinRecord::TbsSkinRecord;
  static const TbsSkinKeys<TbsDataSkinEditControl>& Keys();

  TRect ActiveSkinRect;
  std::string FontName = "Arial";
  Integer FontHeight = 14;
  TFontStyles FontStyle;
  TColor FontColor = 0, DisabledFontColor = 0, ActiveFontColor = 0;
  TRect ButtonRect, ActiveButtonRect, DownButtonRect, UnEnabledButtonRect;
};

// Memos: an edit with background colours.
class TbsDataSkinMemoControl : public TbsSkinRecord<TbsDataSkinMemoControl, TbsDataSkinEditControl> {
 public:
  using TbsSkinRecord::TbsSkinRecord;
  static const TbsSkinKeys<TbsDataSkinMemoControl>& Keys();

  TColor BGColor = 0, ActiveBGColor = 0;
};

// Spin edits.
class TbsDataSkinSpinEditControl
    : public TbsSkinRecord<TbsDataSkinSpinEditControl, TbsDataSkinCustomControl> {
 public:
  using TbsSkinRecord::TbsSkinRecord;
  static const TbsSkinKeys<TbsDataSkinSpinEditControl>& Keys();

  TRect ActiveSkinRect;
  std::string FontName = "Arial";
  Integer FontHeight = 14;
  TFontStyles FontStyle;
  TColor FontColor = 0, ActiveFontColor = 0, DisabledFontColor = 0;
  TRect UpButtonRect, ActiveUpButtonRect, DownUpButtonRect, DownButtonRect;
  TRect ActiveDownButtonRect, DownDownButtonRect;
};

// List boxes; the scroll-bar parts are named by part name.
class TbsDataSkinListBox : public TbsSkinRecord<TbsDataSkinListBox, TbsDataSkinCustomControl> {
 public:
  using TbsSkinRecord::TbsSkinRecord;
  static const TbsSkinKeys<TbsDataSkinListBox>& Keys();

  TRect ItemRect, ActiveItemRect, FocusItemRect;
  Integer ItemLeftOffset = 0, ItemRightOffset = 0;
  TRect ItemTextRect;
  std::string FontName = "Arial";
  Integer FontHeight = 14;
  TFontStyles FontStyle;
  TColor FontColor = 0, ActiveFontColor = 0, FocusFontColor = 0;
  TRect CaptionRect;
  std::string CaptionFontName = "Arial";
  Integer CaptionFontHeight = 14;
  TFontStyles CaptionFontStyle;
  TColor CaptionFontColor = 0;
  TRect UpButtonRect, ActiveUpButtonRect, DownUpButtonRect, DownButtonRect;
  TRect ActiveDownButtonRect, DownDownButtonRect, CheckButtonRect, ActiveCheckButtonRect;
  TRect DownCheckButtonRect;
  std::string VScrollBarName = "vscrollbar";
  std::string HScrollBarName = "hscrollbar";
  std::string BothHScrollBarName = "bothhscrollbar";
  bool ShowFocus = false;
  TRect DisabledButtonsRect, ButtonsArea;
};

// Check list boxes.
class TbsDataSkinCheckListBox : public TbsSkinRecord<TbsDataSkinCheckListBox, TbsDataSkinListBox> {
 public:
  using TbsSkinRecord::TbsSkinRecord;
  static const TbsSkinKeys<TbsDataSkinCheckListBox>& Keys();

  TRect ItemCheckRect, CheckImageRect, UncheckImageRect;
};

// Combo boxes; ListBoxName names the part of the drop-down list.
class TbsDataSkinComboBox : public TbsSkinRecord<TbsDataSkinComboBox, TbsDataSkinCustomControl> {
 public:
  using TbsSkinRecord::TbsSkinRecord;
  static const TbsSkinKeys<TbsDataSkinComboBox>& Keys();

  TRect ActiveSkinRect, ItemRect, ActiveItemRect, FocusItemRect;
  Integer ItemLeftOffset = 0, ItemRightOffset = 0;
  TRect ItemTextRect;
  std::string FontName = "Arial";
  Integer FontHeight = 14;
  TFontStyles FontStyle;
  TColor FontColor = 0, FocusFontColor = 0, ActiveFontColor = 0;
  std::string ListBoxName;
  TRect ButtonRect, ActiveButtonRect, DownButtonRect, UnEnabledButtonRect;
  bool ItemStretchEffect = false, FocusItemStretchEffect = false, ShowFocus = false;
};

// Scroll bars.
class TbsDataSkinScrollBarControl
    : public TbsSkinRecord<TbsDataSkinScrollBarControl, TbsDataSkinCustomControl> {
 public:
  using TbsSkinRecord::TbsSkinRecord;
  static const TbsSkinKeys<TbsDataSkinScrollBarControl>& Keys();

  TRect TrackArea, UpButtonRect, ActiveUpButtonRect, DownUpButtonRect;
  TRect DownButtonRect, ActiveDownButtonRect, DownDownButtonRect, ThumbRect;
  TRect ActiveThumbRect, DownThumbRect;
  Integer ThumbOffset1 = 0, ThumbOffset2 = 0;
  bool ThumbTransparent = false;
  TColor ThumbTransparentColor = 0;
  bool ThumbStretchEffect = false;
  Integer ThumbMinSize = 0, ThumbMinPageSize = 0;
  TRect GlyphRect, ActiveGlyphRect, DownGlyphRect;
  bool GlyphTransparent = false;
  TColor GlyphTransparentColor = 0;
};

// Tab controls, with their own anchor points; UpDown names the part of the scroll buttons.
class TbsDataSkinTabControl : public TbsSkinRecord<TbsDataSkinTabControl, TbsDataSkinControl> {
 public:
  using TbsSkinRecord::TbsSkinRecord;
  static const TbsSkinKeys<TbsDataSkinTabControl>& Keys();

  TRect TabRect, ActiveTabRect, FocusTabRect, MouseInTabRect;
  TRect ClientRect;
  Integer BGPictureIndex = -1;
  TPoint LeftTopPoint, RightTopPoint, LeftBottomPoint, RightBottomPoint;
  Integer TabLeftOffset = 0, TabRightOffset = 0;
  TRect TabsBGRect;
  bool TabStretchEffect = false, LeftStretch = false, TopStretch = false, RightStretch = false;
  bool BottomStretch = false, StretchEffect = false;
  Byte StretchType = stFull;
  std::string FontName = "Arial";
  Integer FontHeight = 14;
  TFontStyles FontStyle;
  TColor FontColor = 0, ActiveFontColor = 0, FocusFontColor = 0, MouseInFontColor = 0;
  std::string UpDown;
  bool ShowFocus = false;
  Integer FocusOffsetX = 0, FocusOffsetY = 0;
  TRect CloseButtonRect, CloseButtonActiveRect, CloseButtonDownRect;
  bool ButtonTransparent = false;
  TColor ButtonTransparentColor = 0;
  TRect DividerRect;
  bool DividerTransparent = false;
  TColor DividerTransparentColor = 0;
  TRect MDICloseRect, MDICloseActiveRect, MDICloseDownRect, MDIRestoreRect;
  TRect MDIRestoreActiveRect, MDIRestoreDownRect, MDIMinRect, MDIMinActiveRect;
  TRect MDIMinDownRect;
  bool MDIButtonsTransparent = false;
  TColor MDIButtonsTransparentColor = 0;
};

// Grids.
class TbsDataSkinGridControl : public TbsSkinRecord<TbsDataSkinGridControl, TbsDataSkinControl> {
 public:
  using TbsSkinRecord::TbsSkinRecord;
  static const TbsSkinKeys<TbsDataSkinGridControl>& Keys();

  TRect FixedCellRect, SelectCellRect, FocusCellRect;
  Integer FixedCellLeftOffset = 0, FixedCellRightOffset = 0;
  TRect FixedCellTextRect;
  Integer CellLeftOffset = 0, CellRightOffset = 0;
  TRect CellTextRect;
  Integer BGPictureIndex = -1;
  TColor LinesColor = 0, BGColor = 0;
  std::string FontName = "Arial";
  Integer FontHeight = 14;
  TFontStyles FontStyle;
  TColor FontColor = 0, SelectFontColor = 0, FocusFontColor = 0;
  std::string FixedFontName = "Arial";
  Integer FixedFontHeight = 14;
  TFontStyles FixedFontStyle;
  TColor FixedFontColor = 0;
  bool CellStretchEffect = false, FixedCellStretchEffect = false, ShowFocus = false;
};

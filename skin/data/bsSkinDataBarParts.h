#pragma once
// The parts of the main menu bar, the control bar and the application menu.
#include "skin/data/bsSkinDataControls.h"

// The main menu bar; its item object and MDI buttons are form-frame objects named by part name.
class TbsDataSkinMainMenuBar : public TbsSkinRecord<TbsDataSkinMainMenuBar, TbsDataSkinControl> {
 public:
  using TbsSkinRecord::TbsSkinRecord;
  static const TbsSkinKeys<TbsDataSkinMainMenuBar>& Keys();

  TRect ItemsRect;
  std::string MenuBarItem, CloseButton, MinButton, MaxButton;
  std::string SysMenuButton;
  TColor TrackMarkColor = 0, TrackMarkActiveColor = 0;
  bool StretchEffect = false, ItemTransparent = false;
};

// Control bars.
class TbsDataSkinControlBar : public TbsSkinRecord<TbsDataSkinControlBar, TbsDataSkinCustomControl> {
 public:
  using TbsSkinRecord::TbsSkinRecord;
  static const TbsSkinKeys<TbsDataSkinControlBar>& Keys();

  TRect ItemRect;
  Integer BGPictureIndex = -1;
  TRect HGripRect, VGripRect;
  Integer GripOffset1 = 0, GripOffset2 = 0;
  bool ItemStretchEffect = false;
  Integer ItemOffset1 = 3, ItemOffset2 = 3;
  bool ItemTransparent = false;
  TColor ItemTransparentColor = 0;
  bool GripTransparent = false;
  TColor GripTransparentColor = 0;
};

// The application menu.
class TbsDataSkinAppMenu : public TbsSkinRecord<TbsDataSkinAppMenu, TbsDataSkinCustomControl> {
 public:
  using TbsSkinRecord::TbsSkinRecord;
  static const TbsSkinKeys<TbsDataSkinAppMenu>& Keys();

  Integer BGPictureIndex = -1;
  bool BGStretchEffect = false;
  TRect ItemRect, PageItemRect, PageItemActiveRect;
  Integer ItemOffset1 = 3, ItemOffset2 = 3;
  Integer PageItemOffset1 = 10, PageItemOffset2 = 10;
  Integer PageOffset = 0;
  std::string FontName = "Arial";
  Integer FontHeight = 14;
  Integer FontPageHeight = 16;
  TFontStyles FontStyle;
  TColor FontColor = 0, DisabledFontColor = 0, ActiveFontColor = 0, FontPageColor = 0;
  TColor ActiveFontPageColor = 0;
  TRect GripperRect;
  TColor GripperTransparentColor = 0;
};

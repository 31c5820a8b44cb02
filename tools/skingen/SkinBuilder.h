#pragma once
// Builds one skin from its style: walks the table of required part names, draws each part's
// images into the shared parts picture with the drawing routine of its record class, and
// writes the records through their own key tables into the skin text.
#include <memory>
#include <string>
#include <vector>

#include "platform/system/IniFiles.h"
#include "skin/data/bsSkinDataNames.h"
#include "tools/skingen/SkinPainter.h"

class TbsDataSkinControl;
class TbsDataSkinObject;
class TbsDataSkinCustomControl;
class TbsDataSkinStdButton;

// One picture of the skin's picture list, as it is written beside the skin text.
struct TSkinPictureFile {
  std::string FileName;
  TBitmap* Image;
};

class TSkinBuilder {
 public:
  explicit TSkinBuilder(const TSkinStyle& Style);
  ~TSkinBuilder();
  // Draws every picture and fills the skin text.
  void Build();

  TMemIniFile& Ini() { return FIni; }
  // The skin text as the records wrote it, negative values included.
  TMemIniFile& WrittenIni() { return FWritten; }
  // The frame pictures (picture, inactive picture, region mask)
  // and the picture list in index order.
  TSkinPictureFile FramePicture();
  TSkinPictureFile InactiveFramePicture();
  TSkinPictureFile FrameMask();
  std::vector<TSkinPictureFile> PictureList();

 private:
  using TControlRoutine = void (TSkinBuilder::*)(const std::string& Name);
  using TObjectRoutine = void (TSkinBuilder::*)(const std::string& Name);
  static TControlRoutine ControlRoutine(const std::string& TypeWord);
  static TObjectRoutine ObjectRoutine(const std::string& TypeWord);

  // ---- Places and faces in the parts picture ----
  TRect Place(Integer W, Integer H, TColor Background);
  // A face in one state on the panel colour; state 4 is the focused look.
  TRect Face(Integer W, Integer H, Integer State);
  TRect Look(Integer W, Integer H, const TFaceLook& Look, TColor Background);
  // A face whose corners carry the pixels of Under at At: for looks drawn without a key colour
  // over a picture, such as the caption buttons over the caption band.
  TRect LookOver(Integer W, Integer H, const TFaceLook& Look, const TSkinPicture& Under, const TPoint& At);
  // A glyph cell on the key colour; Kind as DrawArrowGlyph (1..4), or the glyph codes below.
  TRect Glyph(Integer W, Integer H, Integer Kind, TColor Color);
  void DrawGlyph(const TRect& R, Integer Kind, TColor Color);
  // Corners and borders of Edge pixels around a W x H part, or around the client rectangle
  // given; every edge and the client stretch.
  static void Anchor(TbsDataSkinCustomControl& P, Integer Edge, Integer W, Integer H);
  static void Anchor(TbsDataSkinCustomControl& P, const TRect& Client);
  void Add(std::unique_ptr<TbsDataSkinControl> Part, const char* TypeWord);
  void Add(std::unique_ptr<TbsDataSkinObject> Object, const char* TypeWord);
  bool Big(const std::string& Name) const;

  // ---- One routine per record class ----
  void ButtonPart(const std::string& Name);
  void MenuButtonPart(const std::string& Name);
  void PanelPart(const std::string& Name);
  void CheckRadioPart(const std::string& Name);
  void GaugePart(const std::string& Name);
  void TrackBarPart(const std::string& Name);
  void LabelPart(const std::string& Name);
  void StdLabelPart(const std::string& Name);
  void ScrollBarPart(const std::string& Name);
  void SplitterPart(const std::string& Name);
  void TreeViewPart(const std::string& Name);
  void ListViewPart(const std::string& Name);
  void ListBoxPart(const std::string& Name);
  void ComboBoxPart(const std::string& Name);
  void EditPart(const std::string& Name);
  void MemoPart(const std::string& Name);
  void SpinEditPart(const std::string& Name);
  void UpDownPart(const std::string& Name);
  void ScrollBoxPart(const std::string& Name);
  void TabPart(const std::string& Name);
  void MainMenuBarPart(const std::string& Name);
  void AppMenuPart(const std::string& Name);
  void BevelPart(const std::string& Name);
  void CaptionObject(const std::string& Name);
  void StdButtonObject(const std::string& Name);
  void MenuBarButtonObject(const std::string& Name);
  void MenuItemObject(const std::string& Name);
  void MenuBarItemObject(const std::string& Name);

  // ---- Sections ----
  void Section(const std::string& Name);
  void WriteVersion();
  void WritePictures();
  void DrawFrame();
  void WriteFormInfo();
  void WritePopupWindow();
  void WriteHintWindow();
  void WriteLayerFrame();
  void WriteSkinColors();
  // Drops every key whose value is negative: the skin text has no minus signs, and the only
  // negative values are the "none" defaults the readers give missing keys.
  void DropNegativeValues();

  // The looks of a caption or menu-bar button in its states, with its glyph; the restore look
  // too when Restore is not 0.
  // The button's looks; OverCaption: they sit on the caption band, else on the panel colour.
  void CaptionButtonLooks(TbsDataSkinStdButton& P, Integer W, Integer H, Integer Glyph, Integer Restore,
                          bool OverCaption);

  const TSkinStyle& FStyle;
  TMemIniFile FIni, FWritten;
  TSkinPicture FParts;
  TSkinPacker FPacker;
  std::unique_ptr<TSkinPicture> FFrame, FInactiveFrame, FPopup, FHint, FLayer, FGlow;
  Integer FControlCount = 0, FObjectCount = 0;
  // Picture list indexes; -1 where the style has no such picture.
  Integer FPartsIndex = 0, FAlphaIndex = -1, FPopupIndex = -1, FHintIndex = -1;
  Integer FLayerIndex = -1, FLayerMaskIndex = -1, FGlowIndex = -1, FGlowMaskIndex = -1;
  Integer FPictureCount = 0;
};

// Glyph codes of TSkinBuilder::Glyph beyond the four arrows.
enum TSkinGlyph : Integer {
  sgCheck = 10,
  sgRadio,
  sgClose,
  sgMaximize,
  sgRestore,
  sgMinimize,
  sgSysMenu,
  sgRollUp,
  sgRollDown,
  sgTray,
  sgGrip,
  sgDots,
  sgComboArrow,
};

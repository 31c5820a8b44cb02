#pragma once
// The loaded skin that every skinned form and control draws from (TbsSkinData), the records
// it holds (control parts, form-frame objects, the popup, layer-frame and hint-window sections
// and the skin colours), and the components that hold stored skins (TbsCompressedStoredSkin,
// TbsCompressedSkinList).
//
// Ownership: the skin data owns its bitmaps, its part and object records and its section
// records; it only refers to SkinList and CompressedStoredSkin and forgets them when they are
// removed. Controls and forms only refer to the skin data and its records.
//
// A change of skin is announced to every form with the private messages below, sent
// synchronously with the skin data as wParam and 1000 as lParam.
#include <memory>
#include <string>
#include <vector>

#include "platform/classes/Colors.h"
#include "platform/classes/GraphicsObjects.h"
#include "platform/system/Collections.h"
#include "platform/system/Component.h"
#include "platform/system/Delegates.h"
#include "platform/system/Streams.h"
#include "platform/system/StringList.h"
#include "platform/system/Types.h"
#include "platform/user/WinUser.h"
#include "skin/data/bsSkinDataBarParts.h"
#include "skin/data/bsSkinDataEditParts.h"
#include "skin/data/bsSkinDataObjects.h"
#include "skin/data/bsSkinDataSections.h"

class TBitmap;
class TbsCompressedSkinList;
class TbsCompressedStoredSkin;
class TbsResourceStrData;
class TMemIniFile;

// ---- Skin messages --------------------------------------------------------------------------
constexpr UINT WM_BEFORECHANGESKINDATA = 0x4C9;  // a load begins; the old skin is still there
constexpr UINT WM_CHANGESKINDATA = 0x4CA;        // the new skin is complete
constexpr UINT WM_AFTERCHANGESKINDATA = 0x4CB;   // loading is over
constexpr UINT WM_CHANGERESSTRDATA = 0x4FA;      // the resource strings were set
constexpr UINT WM_CHANGEFORMSKINNABLE = 0x50E;   // SkinnableForm changed
constexpr UINT WM_SHOWLAYEREDBORDER = 0x593;     // ShowLayeredBorders changed
constexpr UINT WM_AEROBLURENABLED = 0x594;       // AeroBlurEnabled changed
// lParam of every skin message.
constexpr LPARAM SkinMessageParam = 1000;

// ---- The skin data --------------------------------------------------------------------------
class TbsSkinData : public TComponent {
 public:
  explicit TbsSkinData(TComponent* AOwner);
  ~TbsSkinData() override;

  // ---- Properties ----
  TbsCompressedSkinList* GetSkinList() const { return FSkinList; }
  // Loads item SkinIndex of the new list when it has one (not while designing).
  void SetSkinList(TbsCompressedSkinList* Value);
  Integer GetSkinIndex() const { return FSkinIndex; }
  // Without a list the value is only stored; with one, a value outside the list is ignored
  // and any other loads that item.
  void SetSkinIndex(Integer Value);
  TbsCompressedStoredSkin* GetCompressedStoredSkin() const { return FCompressedStoredSkin; }
  void SetCompressedStoredSkin(TbsCompressedStoredSkin* Value);
  TbsResourceStrData* GetResourceStrData() const { return FResourceStrData; }
  // Tells the forms (also while reading the form, also when unchanged).
  void SetResourceStrData(TbsResourceStrData* Value);
  bool GetSkinnableForm() const { return FSkinnableForm; }
  void SetSkinnableForm(bool Value);
  bool GetShowLayeredBorders() const { return FShowLayeredBorders; }
  void SetShowLayeredBorders(bool Value);
  bool GetAeroBlurEnabled() const { return FAeroBlurEnabled; }
  void SetAeroBlurEnabled(bool Value);
  bool GetEnableSkinEffects() const { return FEnableSkinEffects; }
  void SetEnableSkinEffects(bool Value) { FEnableSkinEffects = Value; }
  bool GetShowButtonGlowFrames() const { return FShowButtonGlowFrames; }
  void SetShowButtonGlowFrames(bool Value) { FShowButtonGlowFrames = Value; }
  bool GetShowCaptionButtonGlowFrames() const { return FShowCaptionButtonGlowFrames; }
  void SetShowCaptionButtonGlowFrames(bool Value) { FShowCaptionButtonGlowFrames = Value; }
  bool GetAnimationForAllWindows() const { return FAnimationForAllWindows; }
  void SetAnimationForAllWindows(bool Value) { FAnimationForAllWindows = Value; }
  bool GetDlgTreeViewDrawSkin() const { return FDlgTreeViewDrawSkin; }
  void SetDlgTreeViewDrawSkin(bool Value) { FDlgTreeViewDrawSkin = Value; }
  const std::string& GetDlgTreeViewItemSkinDataName() const { return FDlgTreeViewItemSkinDataName; }
  void SetDlgTreeViewItemSkinDataName(const std::string& Value) { FDlgTreeViewItemSkinDataName = Value; }
  bool GetDlgListViewDrawSkin() const { return FDlgListViewDrawSkin; }
  void SetDlgListViewDrawSkin(bool Value) { FDlgListViewDrawSkin = Value; }
  const std::string& GetDlgListViewItemSkinDataName() const { return FDlgListViewItemSkinDataName; }
  void SetDlgListViewItemSkinDataName(const std::string& Value) { FDlgListViewItemSkinDataName = Value; }

  TNotifyEvent OnLoadData;

  // ---- Operations ----
  // The index in SkinControls (SkinObjects) of the first record named exactly Name; -1 when
  // none has it.
  Integer FindControlPart(const std::string& Name) const;
  Integer FindObjectPart(const std::string& Name) const;
  // Frees the records and the picture list; the colours go back to the system colours.
  void ClearSkinLists();
  // ClearSkinLists and the form pictures; Empty afterwards.
  void ClearSkin();
  // An empty stored skin changes nothing. A load that fails (a damaged stored skin, a version
  // above 3, a rectangle without digits) leaves no skin and still tells the forms that the
  // change is over (1226, 1227) before the exception leaves.
  void LoadStoredSkin(TbsCompressedStoredSkin* AStoredSkin);
  // Sends Msg to the forms (the owner form first when it has no layered border).
  void BroadcastSkinMessage(UINT Msg);

  // Steps of a load, over the skin text.
  void ReadFormInfo(TMemIniFile* Ini);
  void ReadSkinObjectList(TMemIniFile* Ini);
  void ReadSkinControlList(TMemIniFile* Ini);
  // "name:type" split at the first colon; both empty without one.
  static void SplitNameType(const std::string& Entry, std::string& Name, std::string& TypeWord);

  // ---- The skin ----
  std::unique_ptr<TbsSkinColors> SkinColors;
  TRect ButtonsRect, CaptionRect;
  Integer ButtonsOffset = 0;
  bool ButtonsInLeft = false;
  bool AutoRenderingInActiveImage = false;
  Byte InActiveEffect = 0;
  std::unique_ptr<TbsDataSkinPopupWindow> PopupWindow;
  std::unique_ptr<TbsDataSkinLayerFrame> LayerFrame;
  std::unique_ptr<TbsDataSkinHintWindow> HintWindow;
  bool Empty = true;
  std::unique_ptr<TBitmap> Picture, InActivePicture, Mask;
  std::vector<std::unique_ptr<TBitmap>> ActivePictures;
  std::string PictureName, InActivePictureName, MaskName;
  std::unique_ptr<TStringList> ActivePictureNames;
  std::vector<std::unique_ptr<TbsDataSkinObject>> SkinObjects;
  std::vector<std::unique_ptr<TbsDataSkinControl>> SkinControls;
  TPoint LeftTopPoint, RightTopPoint, LeftBottomPoint, RightBottomPoint;
  Integer BGPictureIndex = -1;
  Integer MDIBGPictureIndex = -1;
  bool MainMenuPopupUp = false;
  TRect MaskRectArea;
  TPoint HitTestLeftTopPoint, HitTestRightTopPoint, HitTestLeftBottomPoint, HitTestRightBottomPoint;
  TRect ClientRect;
  Integer BorderWidth = 0;
  Integer FormMinWidth = 0;
  Integer FormMinHeight = 0;
  bool MDITabsTransparent = false, MainMenuBarTransparent = false;
  bool TopStretch = false, LeftStretch = false, RightStretch = false, BottomStretch = false;
  bool StretchEffect = false;
  Byte StretchType = stFull;
  bool MDIBGStretchEffect = false;
  Byte MDIBGStretchType = stFull;
  std::string SkinName, SkinAuthor, AuthorURL, AuthorEmail, SkinComments;
  bool SkinLoading = false;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  bool Designing() const { return GetComponentState().Contains(csDesigning); }
  // True outside design time and outside reading from the form.
  bool Live() const;

  TbsCompressedSkinList* FSkinList = nullptr;
  Integer FSkinIndex = 0;
  TbsCompressedStoredSkin* FCompressedStoredSkin = nullptr;
  TbsResourceStrData* FResourceStrData = nullptr;
  bool FSkinnableForm = true;
  bool FEnableSkinEffects = true;
  bool FShowButtonGlowFrames = true;
  bool FShowCaptionButtonGlowFrames = true;
  bool FShowLayeredBorders = true;
  bool FAeroBlurEnabled = true;
  bool FAnimationForAllWindows = false;
  bool FDlgTreeViewDrawSkin = true;
  std::string FDlgTreeViewItemSkinDataName = "listbox";
  bool FDlgListViewDrawSkin = true;
  std::string FDlgListViewItemSkinDataName = "listbox";
};

// ---- Stored skins ---------------------------------------------------------------------------
// One stored skin: its compressed bytes.
class TbsCompressedStoredSkin : public TComponent {
 public:
  explicit TbsCompressedStoredSkin(TComponent* AOwner);
  ~TbsCompressedStoredSkin() override;

  bool IsEmpty() const { return CompressedStream->GetSize() == 0; }
  // Inflates the whole stored skin onto Target.
  void DecompressToStream(TStream* Target);
  // The envelope: version (32-bit), length L (32-bit) and L compressed bytes. A version above 3
  // or a length of 0 gives an empty stored skin; a length beyond the source raises and leaves
  // the stored skin empty.
  void ReadCompressedSkinStream(TStream* Source);
  void WriteCompressedSkinStream(TStream* Target);
  void ReadCompressedSkinFile(const std::string& FileName);
  // Packs a skin text file and the pictures it names (BMP files beside it). A text without the
  // five sections, or a picture that cannot be read, leaves the stored skin as it was.
  void BuildStoredSkinFromIni(const std::string& FileName);
  const std::string& GetDescription() const { return FDescription; }
  void SetDescription(const std::string& Value) { FDescription = Value; }
  const std::string& GetFileName() const { return FFileName; }
  void SetFileName(const std::string& Value) { FFileName = Value; }
  const std::string& GetCompressedFileName() const { return FCompressedFileName; }
  void SetCompressedFileName(const std::string& Value) { FCompressedFileName = Value; }

  std::unique_ptr<TMemoryStream> CompressedStream;

 private:
  std::string FDescription, FFileName, FCompressedFileName;
};

class TbsSkinListItems;

// One named stored skin of a list; its display name is Name ("bsSkin" and its index when new).
class TbsSkinListItem : public TCollectionItem {
 public:
  explicit TbsSkinListItem(TCollection* Collection);
  ~TbsSkinListItem() override;

  TbsCompressedStoredSkin* GetSkin() const { return FSkin.get(); }
  const std::string& GetName() const { return FName; }
  void SetName(const std::string& Value) { FName = Value; }
  const std::string& GetDescription() const { return FDescription; }
  void SetDescription(const std::string& Value) { FDescription = Value; }
  const std::string& GetFileName() const { return FFileName; }
  void SetFileName(const std::string& Value) { FFileName = Value; }
  const std::string& GetCompressedFileName() const { return FCompressedFileName; }
  void SetCompressedFileName(const std::string& Value) { FCompressedFileName = Value; }
  std::string GetDisplayName() const override { return FName; }

 private:
  std::unique_ptr<TbsCompressedStoredSkin> FSkin;
  std::string FName, FDescription, FFileName, FCompressedFileName;
};

class TbsSkinListItems : public TOwnedCollection {
 public:
  explicit TbsSkinListItems(TbsCompressedSkinList* AOwner);
  TbsSkinListItem* GetItem(Integer Index) const {
    return static_cast<TbsSkinListItem*>(TCollection::GetItem(Index));
  }
  TbsSkinListItem* Add() { return static_cast<TbsSkinListItem*>(TCollection::Add()); }
};

// The stored skins of a form, for the skin data's SkinList.
class TbsCompressedSkinList : public TComponent {
 public:
  explicit TbsCompressedSkinList(TComponent* AOwner);
  ~TbsCompressedSkinList() override;
  TbsSkinListItems* GetSkins() const { return FSkins.get(); }

 private:
  std::unique_ptr<TbsSkinListItems> FSkins;
};

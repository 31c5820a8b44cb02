// Loading a stored skin: the payload's pictures, then the skin text's sections and part lists.
#include <algorithm>
#include <functional>
#include <utility>

#include "platform/classes/Bitmap.h"
#include "platform/system/Exceptions.h"
#include "platform/system/IniFiles.h"
#include "platform/system/Strings.h"
#include "skin/data/bsSkinData.h"
#include "skin/data/bsSkinDataFormInfo.h"
#include "skin/data/bsSkinDataStream.h"
#include "skin/data/bsUtils.h"

namespace {

template <class TRecord>
using TRecordFactory = std::function<std::unique_ptr<TRecord>(const std::string&)>;

template <class TRecord, class TClass>
std::pair<const char*, TRecordFactory<TRecord>> Row(const char* TypeWord) {
  return {TypeWord, [](const std::string& Name) { return std::make_unique<TClass>(Name); }};
}

// Type words of [SKINCONTROLS], in the order they are tested.
const std::vector<std::pair<const char*, TRecordFactory<TbsDataSkinControl>>>& ControlClasses() {
  using R = TbsDataSkinControl;
  static const std::vector<std::pair<const char*, TRecordFactory<R>>> Table{
      Row<R, TbsDataSkinPanelControl>("panel"),
      Row<R, TbsDataSkinExPanelControl>("expanel"),
      Row<R, TbsDataSkinMenuButtonControl>("menubutton"),
      Row<R, TbsDataSkinButtonControl>("button"),
      Row<R, TbsDataSkinCheckRadioControl>("checkradio"),
      Row<R, TbsDataSkinGaugeControl>("gauge"),
      Row<R, TbsDataSkinSplitterControl>("splitter"),
      Row<R, TbsDataSkinTrackBarControl>("trackbar"),
      Row<R, TbsDataSkinLabelControl>("label"),
      Row<R, TbsDataSkinStdLabelControl>("stdlabel"),
      Row<R, TbsDataSkinUpDownControl>("updown"),
      Row<R, TbsDataSkinGridControl>("grid"),
      Row<R, TbsDataSkinTabControl>("tab"),
      Row<R, TbsDataSkinMainMenuBar>("mainmenubar"),
      Row<R, TbsDataSkinControlBar>("controlbar"),
      Row<R, TbsDataSkinAppMenu>("appmenu"),
      Row<R, TbsDataSkinMemoControl>("memo"),
      Row<R, TbsDataSkinEditControl>("edit"),
      Row<R, TbsDataSkinCheckListBox>("checklistbox"),
      Row<R, TbsDataSkinListBox>("listbox"),
      Row<R, TbsDataSkinComboBox>("combobox"),
      Row<R, TbsDataSkinScrollBarControl>("scrollbar"),
      Row<R, TbsDataSkinSpinEditControl>("spinedit"),
      Row<R, TbsDataSkinScrollBoxControl>("scrollbox"),
      Row<R, TbsDataSkinTreeView>("treeview"),
      Row<R, TbsDataSkinBevel>("bevel"),
      Row<R, TbsDataSkinSlider>("slider"),
      Row<R, TbsDataSkinListView>("listview"),
      Row<R, TbsDataSkinRichEdit>("richedit"),
  };
  return Table;
}

// Type words of [SKINOBJECTS], in the order they are tested.
const std::vector<std::pair<const char*, TRecordFactory<TbsDataSkinObject>>>& ObjectClasses() {
  using R = TbsDataSkinObject;
  static const std::vector<std::pair<const char*, TRecordFactory<R>>> Table{
      Row<R, TbsDataSkinMenuItem>("menuitem"),   Row<R, TbsDataSkinMainMenuBarItem>("mainmenubaritem"),
      Row<R, TbsDataSkinStdButton>("stdbutton"), Row<R, TbsDataSkinMainMenuBarButton>("mainmenubarbutton"),
      Row<R, TbsDataSkinButton>("button"),       Row<R, TbsDataSkinCaption>("caption"),
      Row<R, TbsDataSkinAnimate>("animate"),     Row<R, TbsDataUserObject>("userobject"),
  };
  return Table;
}

// Entries "0" .. count-1 of a part list; an entry whose type word has no class adds nothing.
template <class TRecord>
void ReadPartList(TMemIniFile* Ini, const char* Section,
                  const std::vector<std::pair<const char*, TRecordFactory<TRecord>>>& Classes,
                  std::vector<std::unique_ptr<TRecord>>& Target) {
  const Integer Count = Ini->ReadInteger(Section, "count", 0);
  for (Integer I = 0; I < Count; ++I) {
    std::string Name, TypeWord;
    TbsSkinData::SplitNameType(Ini->ReadString(Section, IntToStr(I), ""), Name, TypeWord);
    const auto Found =
        std::find_if(Classes.begin(), Classes.end(), [&](const auto& Row) { return TypeWord == Row.first; });
    if (Found == Classes.end()) continue;
    Target.push_back(Found->second(Name));
    Target.back()->LoadFromIni(Ini);
  }
}

void UseCornerWhenNull(TPoint& HitTest, const TPoint& Corner) {
  if (IsNullPoint(HitTest)) HitTest = Corner;
}

Byte ReadFlag(TStream* S) {
  Byte B;
  S->ReadBuffer(&B, 1);
  return B;
}

// One BMP file image; a payload that ends where an image should be is damaged.
void ReadPicture(TStream* S, TBitmap* Target) {
  if (S->GetPosition() >= S->GetSize()) throw EReadError(SReadError);
  Target->LoadFromStream(S);
}

// A flag byte and, when it is 0, the picture.
void ReadFlaggedPicture(TStream* S, TBitmap* Target) {
  if (ReadFlag(S) != 0)
    Target->Assign(nullptr);
  else
    ReadPicture(S, Target);
}

}  // namespace

const TbsSkinKeys<TbsSkinData>& FormInfoKeys() {
  using C = TbsSkinData;
  using K = TbsSkinKey<C>;
  static const TbsSkinKeys<C> Table{
      K::Point("lefttoppoint", &C::LeftTopPoint),
      K::Point("righttoppoint", &C::RightTopPoint),
      K::Point("leftbottompoint", &C::LeftBottomPoint),
      K::Point("rightbottompoint", &C::RightBottomPoint),
      K::Rect("clientrect", &C::ClientRect),
      K::Int("bgpictureindex", &C::BGPictureIndex, -1),
      K::Int("mdibgpictureindex", &C::MDIBGPictureIndex, -1),
      K::Bool("leftstretch", &C::LeftStretch),
      K::Bool("rightstretch", &C::RightStretch),
      K::Bool("topstretch", &C::TopStretch),
      K::Bool("bottomstretch", &C::BottomStretch),
      K::Bool("stretcheffect", &C::StretchEffect),
      K::Code("stretchtype", TbsSkinKind::StretchType, &C::StretchType),
      K::Bool("mdibgstretcheffect", &C::MDIBGStretchEffect),
      K::Code("mdibgstretchtype", TbsSkinKind::StretchType, &C::MDIBGStretchType),
      K::Rect("maskrectarea", &C::MaskRectArea),
      K::Point("hittestlefttoppoint", &C::HitTestLeftTopPoint),
      K::Point("hittestrighttoppoint", &C::HitTestRightTopPoint),
      K::Point("hittestleftbottompoint", &C::HitTestLeftBottomPoint),
      K::Point("hittestrightbottompoint", &C::HitTestRightBottomPoint),
      K::Rect("buttonsrect", &C::ButtonsRect),
      K::Rect("captionrect", &C::CaptionRect),
      K::Int("buttonsoffset", &C::ButtonsOffset),
      K::Bool("buttonsinleft", &C::ButtonsInLeft),
      K::Bool("mainmenupopupup", &C::MainMenuPopupUp),
      K::Int("borderwidth", &C::BorderWidth),
      K::Int("formminwidth", &C::FormMinWidth),
      K::Int("formminheight", &C::FormMinHeight),
      K::Bool("mditabstransparent", &C::MDITabsTransparent),
      K::Bool("mainmenubartransparent", &C::MainMenuBarTransparent),
      K::Bool("autorenderinginactiveimage", &C::AutoRenderingInActiveImage),
      K::Code("inactiveeffect", TbsSkinKind::Effect, &C::InActiveEffect),
  };
  return Table;
}

void TbsSkinData::SplitNameType(const std::string& Entry, std::string& Name, std::string& TypeWord) {
  const std::size_t Colon = Entry.find(':');
  if (Colon == std::string::npos) {
    Name.clear();
    TypeWord.clear();
    return;
  }
  Name = Entry.substr(0, Colon);
  TypeWord = Entry.substr(Colon + 1);
}

void TbsSkinData::ReadSkinObjectList(TMemIniFile* Ini) {
  ReadPartList(Ini, "SKINOBJECTS", ObjectClasses(), SkinObjects);
}

void TbsSkinData::ReadSkinControlList(TMemIniFile* Ini) {
  ReadPartList(Ini, "SKINCONTROLS", ControlClasses(), SkinControls);
}

void TbsSkinData::ReadFormInfo(TMemIniFile* Ini) {
  ReadSkinKeys(Ini, "FORMINFO", FormInfoKeys(), *this);
  // A form with a mask is hit-tested and clipped at least over its client area.
  if (!MaskName.empty()) {
    if (IsEmptyRect(MaskRectArea)) {
      MaskRectArea = ClientRect;
    } else {
      MaskRectArea.Left = std::min(MaskRectArea.Left, ClientRect.Left);
      MaskRectArea.Top = std::min(MaskRectArea.Top, ClientRect.Top);
      MaskRectArea.Right = std::max(MaskRectArea.Right, ClientRect.Right);
      MaskRectArea.Bottom = std::max(MaskRectArea.Bottom, ClientRect.Bottom);
    }
    UseCornerWhenNull(HitTestLeftTopPoint, LeftTopPoint);
    UseCornerWhenNull(HitTestRightTopPoint, RightTopPoint);
    UseCornerWhenNull(HitTestLeftBottomPoint, LeftBottomPoint);
    UseCornerWhenNull(HitTestRightBottomPoint, RightBottomPoint);
  }
  // The corner points lie within the client rectangle, unless the frame has no corners at all.
  if (RightBottomPoint.X != LeftTopPoint.X && RightBottomPoint.Y != LeftTopPoint.Y) {
    const TRect& CR = ClientRect;
    LeftTopPoint = {std::max(LeftTopPoint.X, CR.Left), std::max(LeftTopPoint.Y, CR.Top)};
    RightTopPoint = {std::min(RightTopPoint.X, CR.Right), std::max(RightTopPoint.Y, CR.Top)};
    LeftBottomPoint = {std::max(LeftBottomPoint.X, CR.Left), std::min(LeftBottomPoint.Y, CR.Bottom)};
    RightBottomPoint = {std::min(RightBottomPoint.X, CR.Right), std::min(RightBottomPoint.Y, CR.Bottom)};
  }
}

void TbsSkinData::LoadStoredSkin(TbsCompressedStoredSkin* AStoredSkin) {
  if (AStoredSkin == nullptr || AStoredSkin->IsEmpty()) return;
  Empty = true;
  SkinLoading = true;
  BroadcastSkinMessage(WM_BEFORECHANGESKINDATA);
  ClearSkin();
  try {
    TMemoryStream Payload;
    AStoredSkin->DecompressToStream(&Payload);
    Payload.SetPosition(0);
    const Integer Version = ReadSkinInt32(&Payload);
    if (Version > StoredSkinVersion) throw EReadError("Unsupported skin version " + IntToStr(Version));
    ReadFlaggedPicture(&Payload, Picture.get());
    ReadFlaggedPicture(&Payload, InActivePicture.get());
    ReadFlaggedPicture(&Payload, Mask.get());
    if (Version == 2) {
      TBitmap Dropped;
      ReadFlaggedPicture(&Payload, &Dropped);
      ReadFlaggedPicture(&Payload, &Dropped);
    }
    const Integer Count = ReadSkinInt32(&Payload);
    for (Integer I = 0; I < Count; ++I) {
      auto B = std::make_unique<TBitmap>();
      ReadPicture(&Payload, B.get());
      ActivePictures.push_back(std::move(B));
    }

    TStringList Lines;
    Lines.LoadFromStream(&Payload);
    TMemIniFile Ini("");
    Ini.SetStrings(&Lines);
    SkinName = Ini.ReadString("VERSION", "skinname", "");
    SkinAuthor = Ini.ReadString("VERSION", "skinauthor", "");
    AuthorEmail = Ini.ReadString("VERSION", "authoremail", "");
    AuthorURL = Ini.ReadString("VERSION", "authorurl", "");
    SkinComments = Ini.ReadString("VERSION", "skincomments", "");
    PictureName = Ini.ReadString("PICTURES", "picture", "");
    InActivePictureName = Ini.ReadString("PICTURES", "inactivepicture", "");
    MaskName = Ini.ReadString("PICTURES", "mask", "");
    ReadIniStringList(&Ini, "PICTURES", "activepictures", ActivePictureNames.get());
    ReadFormInfo(&Ini);
    PopupWindow->LoadFromIni(&Ini);
    LayerFrame->LoadFromIni(&Ini);
    HintWindow->LoadFromIni(&Ini);
    SkinColors->LoadFromIni(&Ini);
    ReadSkinObjectList(&Ini);
    ReadSkinControlList(&Ini);
  } catch (...) {
    // The forms heard that a change began: they hear that it ended, with no skin.
    ClearSkin();
    BroadcastSkinMessage(WM_CHANGESKINDATA);
    SkinLoading = false;
    BroadcastSkinMessage(WM_AFTERCHANGESKINDATA);
    throw;
  }
  Empty = false;
  if (OnLoadData) OnLoadData(this);
  BroadcastSkinMessage(WM_CHANGESKINDATA);
  SkinLoading = false;
  BroadcastSkinMessage(WM_AFTERCHANGESKINDATA);
}

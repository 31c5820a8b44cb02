// The program's eight skins: each loads, every part name the skinned controls, forms and menus
// look up resolves to its record class with valid pictures and rectangles, every control's
// default part name is in the table, the generator gives the same bytes on every run, and the
// eight look different.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <typeindex>

#include "platform/classes/Bitmap.h"
#include "platform/system/IniFiles.h"
#include "platform/system/StringList.h"
#include "skin/data/bsSkinData.h"
#include "skin/data/bsSkinDataControls.h"
#include "skin/data/bsSkinDataEditParts.h"
#include "skin/data/bsSkinDataNames.h"
#include "skin/data/bsSkinDataProgramSkins.h"
#include "skin/data/bsSkinDataStream.h"
#include "skin/data/bsUtils.h"
#include "tests/platform/system/TempFolder.h"

namespace {

namespace fs = std::filesystem;

const char* const ListedNames[] = {"Bionix", "Gamestyle",   "iMetal dark", "IPX",
                                   "Optima", "Fine vector", "VisionEx",    "Cooller"};

std::unique_ptr<TbsSkinData> LoadProgramSkin(const TbsProgramSkin& S) {
  TbsCompressedStoredSkin Stored(nullptr);
  TMemoryStream M;
  M.WriteBuffer(S.Data, static_cast<Integer>(S.Size));
  Stored.ReadCompressedSkinStream(&M);
  auto Data = std::make_unique<TbsSkinData>(nullptr);
  Data->LoadStoredSkin(&Stored);
  return Data;
}

// The record class each type word makes.
std::type_index ClassOf(const std::string& TypeWord) {
  static const std::map<std::string, std::type_index> Classes{
      {"button", typeid(TbsDataSkinButtonControl)},
      {"menubutton", typeid(TbsDataSkinMenuButtonControl)},
      {"panel", typeid(TbsDataSkinPanelControl)},
      {"checkradio", typeid(TbsDataSkinCheckRadioControl)},
      {"gauge", typeid(TbsDataSkinGaugeControl)},
      {"trackbar", typeid(TbsDataSkinTrackBarControl)},
      {"label", typeid(TbsDataSkinLabelControl)},
      {"stdlabel", typeid(TbsDataSkinStdLabelControl)},
      {"scrollbar", typeid(TbsDataSkinScrollBarControl)},
      {"splitter", typeid(TbsDataSkinSplitterControl)},
      {"treeview", typeid(TbsDataSkinTreeView)},
      {"listview", typeid(TbsDataSkinListView)},
      {"listbox", typeid(TbsDataSkinListBox)},
      {"combobox", typeid(TbsDataSkinComboBox)},
      {"edit", typeid(TbsDataSkinEditControl)},
      {"memo", typeid(TbsDataSkinMemoControl)},
      {"spinedit", typeid(TbsDataSkinSpinEditControl)},
      {"updown", typeid(TbsDataSkinUpDownControl)},
      {"scrollbox", typeid(TbsDataSkinScrollBoxControl)},
      {"tab", typeid(TbsDataSkinTabControl)},
      {"mainmenubar", typeid(TbsDataSkinMainMenuBar)},
      {"appmenu", typeid(TbsDataSkinAppMenu)},
      {"bevel", typeid(TbsDataSkinBevel)},
      {"caption", typeid(TbsDataSkinCaption)},
      {"stdbutton", typeid(TbsDataSkinStdButton)},
      {"mainmenubarbutton", typeid(TbsDataSkinMainMenuBarButton)},
      {"menuitem", typeid(TbsDataSkinMenuItem)},
      {"mainmenubaritem", typeid(TbsDataSkinMainMenuBarItem)},
  };
  const auto Found = Classes.find(TypeWord);
  if (Found == Classes.end()) throw std::runtime_error("no class for " + TypeWord);
  return Found->second;
}

// "key=value" pairs of a record as its own writer puts them.
template <class TRecord>
std::map<std::string, std::string> Keys(TRecord& Record) {
  TMemIniFile Ini("");
  Record.SaveToIni(&Ini);
  TStringList Lines;
  Ini.ReadSectionValues(Record.IDName, &Lines);
  std::map<std::string, std::string> M;
  for (Integer I = 0; I < Lines.GetCount(); ++I) {
    const std::string L = Lines.GetStrings(I);
    M[L.substr(0, L.find('='))] = L.substr(L.find('=') + 1);
  }
  return M;
}

bool ParseRect(const std::string& V, TRect& R) {
  return std::sscanf(V.c_str(), "%d,%d,%d,%d", &R.Left, &R.Top, &R.Right, &R.Bottom) == 4 &&
         std::count(V.begin(), V.end(), ',') == 3;
}

// Keys whose rectangles lie in the part's own coordinates, not in its picture.
bool InPartCoordinates(const std::string& Key) {
  static const std::set<std::string> Part{"clientrect", "trackarea", "progressarea", "checkimagearea",
                                          "textarea"};
  return Part.count(Key) != 0;
}

// Checks a record's picture indexes and rectangles against the skin's pictures; Picture is the
// picture its images are cut from (null: the record has none).
template <class TRecord>
void CheckRecord(const TbsSkinData& Data, TRecord& Record, const TBitmap* Picture, const TRect& SkinRect) {
  const Integer Count = static_cast<Integer>(Data.ActivePictures.size());
  for (const auto& [Key, Value] : Keys(Record)) {
    SCOPED_TRACE(Record.IDName + "." + Key + "=" + Value);
    if (Key.find("pictureindex") != std::string::npos) {
      const Integer Index = std::stoi(Value);
      EXPECT_TRUE(Index == -1 || (Index >= 0 && Index < Count));
      continue;
    }
    TRect R;
    if (!ParseRect(Value, R) || IsEmptyRect(R)) continue;
    EXPECT_TRUE(R.Left >= 0 && R.Top >= 0 && R.Left < R.Right && R.Top < R.Bottom);
    if (InPartCoordinates(Key)) {
      EXPECT_LE(R.Right, GetRectWidth(SkinRect));
      EXPECT_LE(R.Bottom, GetRectHeight(SkinRect));
    } else if (Picture != nullptr) {
      EXPECT_LE(R.Right, const_cast<TBitmap*>(Picture)->GetWidth());
      EXPECT_LE(R.Bottom, const_cast<TBitmap*>(Picture)->GetHeight());
    } else {
      ADD_FAILURE() << "a rectangle without a picture";
    }
  }
}

const TBitmap* PictureAt(const TbsSkinData& Data, Integer Index) {
  return Index >= 0 && Index < static_cast<Integer>(Data.ActivePictures.size())
             ? Data.ActivePictures[Index].get()
             : nullptr;
}

TEST(ProgramSkins, TheEightLoadInTheProgramsOrder) {
  ASSERT_EQ(ProgramSkins().size(), 8u);
  for (std::size_t I = 0; I < 8; ++I) {
    SCOPED_TRACE(ListedNames[I]);
    EXPECT_STREQ(ProgramSkins()[I].Name, ListedNames[I]);
    const auto Data = LoadProgramSkin(ProgramSkins()[I]);
    EXPECT_FALSE(Data->Empty);
    EXPECT_EQ(Data->SkinName, ListedNames[I]);
    EXPECT_FALSE(Data->Picture->Empty());
    // A stored skin starts with its version, then the zlib stream at the highest level.
    const Byte* B = ProgramSkins()[I].Data;
    EXPECT_EQ(B[0], StoredSkinVersion);
    EXPECT_EQ(B[8], 0x78);
    EXPECT_EQ(B[9], 0xDA);
  }
}

TEST(ProgramSkins, TheSkinListLoadsTheChosenSkin) {
  TbsCompressedSkinList List(nullptr);
  AddProgramSkins(&List);
  ASSERT_EQ(List.GetSkins()->GetCount(), 8);
  TbsSkinData Data(nullptr);
  Data.SetSkinIndex(2);
  Data.SetSkinList(&List);
  EXPECT_EQ(Data.SkinName, "iMetal dark");
  Data.SetSkinIndex(6);
  EXPECT_EQ(Data.SkinName, "VisionEx");
  EXPECT_EQ(List.GetSkins()->GetItem(5)->GetName(), "Fine vector");
}

TEST(ProgramSkins, EveryRequiredNameResolvesToItsClassWithValidPicturesAndRectangles) {
  for (const TbsProgramSkin& S : ProgramSkins()) {
    SCOPED_TRACE(S.Name);
    const auto Data = LoadProgramSkin(S);
    for (const TbsRequiredSkinName& N : RequiredSkinNames()) {
      SCOPED_TRACE(N.Name);
      if (N.List == TbsSkinNameList::Controls) {
        const Integer I = Data->FindControlPart(N.Name);
        ASSERT_GE(I, 0);
        TbsDataSkinControl& P = *Data->SkinControls[I];
        EXPECT_EQ(std::type_index(typeid(P)), ClassOf(N.TypeWord));
        CheckRecord(*Data, P, PictureAt(*Data, P.PictureIndex), P.SkinRect);
      } else if (N.List == TbsSkinNameList::Objects) {
        const Integer I = Data->FindObjectPart(N.Name);
        ASSERT_GE(I, 0);
        TbsDataSkinObject& O = *Data->SkinObjects[I];
        EXPECT_EQ(std::type_index(typeid(O)), ClassOf(N.TypeWord));
        // Objects cut from a picture of the list, or from the frame picture.
        const TBitmap* Picture =
            O.SkinRectInAPicture ? PictureAt(*Data, O.ActivePictureIndex) : Data->Picture.get();
        ASSERT_NE(Picture, nullptr);
        CheckRecord(*Data, O, Picture, O.SkinRect);
      }
    }
    // The sections: popup and hint frames from the list, the layered border none or valid, the
    // frame's client area inside the frame picture and its mask of the same size.
    EXPECT_NE(PictureAt(*Data, Data->PopupWindow->WindowPictureIndex), nullptr);
    EXPECT_NE(PictureAt(*Data, Data->HintWindow->WindowPictureIndex), nullptr);
    EXPECT_TRUE(Data->LayerFrame->PictureIndex == -1 ||
                PictureAt(*Data, Data->LayerFrame->PictureIndex) != nullptr);
    EXPECT_LE(Data->ClientRect.Right, Data->Picture->GetWidth());
    EXPECT_LE(Data->ClientRect.Bottom, Data->Picture->GetHeight());
    EXPECT_TRUE(
        IsRectInRect(Data->ButtonsRect, Rect(0, 0, Data->Picture->GetWidth(), Data->Picture->GetHeight())));
    {
      // Every frame has its region mask, of the frame's size.
      ASSERT_FALSE(Data->Mask->Empty());
      EXPECT_EQ(Data->Mask->GetWidth(), Data->Picture->GetWidth());
      EXPECT_EQ(Data->Mask->GetHeight(), Data->Picture->GetHeight());
      // Black inside: the middle of the client area is inside.
      EXPECT_EQ(
          Data->Mask->GetCanvas()->GetPixels(Data->ClientRect.Left + 5, Data->ClientRect.Top + 5) & 0xFFFFFF,
          0);
      // A rounded corner is outside (white), where the frame picture shows the key colour.
      const bool Rounded = (Data->Picture->GetCanvas()->GetPixels(0, 0) & 0xFFFFFF) == 0x7F007F;
      EXPECT_EQ(Data->Mask->GetCanvas()->GetPixels(0, 0) & 0xFFFFFF, Rounded ? 0xFFFFFF : 0);
    }
    EXPECT_NE(Data->SkinColors->CBtnFace, Data->SkinColors->CBtnText);
  }
}

// The looks the issue names: which skins have morphing buttons, glow, alpha and a layered frame.
TEST(ProgramSkins, TheLooksTheirNamesPromise) {
  std::map<std::string, std::unique_ptr<TbsSkinData>> Skins;
  for (const TbsProgramSkin& S : ProgramSkins()) Skins[S.Name] = LoadProgramSkin(S);
  auto Button = [&](const std::string& Skin) {
    TbsSkinData& D = *Skins[Skin];
    return static_cast<TbsDataSkinButtonControl*>(D.SkinControls[D.FindControlPart("button")].get());
  };
  auto Close = [&](const std::string& Skin) {
    TbsSkinData& D = *Skins[Skin];
    return static_cast<TbsDataSkinStdButton*>(D.SkinObjects[D.FindObjectPart("closebutton")].get());
  };
  EXPECT_TRUE(Button("Bionix")->Morphing);
  EXPECT_TRUE(Close("Gamestyle")->Morphing);
  EXPECT_FALSE(Button("IPX")->Morphing);
  EXPECT_NE(Button("VisionEx")->GlowLayerPictureIndex, -1);
  EXPECT_NE(Close("VisionEx")->AlphaMaskPictureIndex, -1);
  EXPECT_NE(Skins["VisionEx"]->LayerFrame->PictureIndex, -1);
  for (const char* Other :
       {"Bionix", "Gamestyle", "iMetal dark", "IPX", "Optima", "Fine vector", "Cooller"}) {
    SCOPED_TRACE(Other);
    EXPECT_EQ(Button(Other)->GlowLayerPictureIndex, -1);
    EXPECT_EQ(Skins[Other]->LayerFrame->PictureIndex, -1);
    EXPECT_EQ(Button(Other)->FontName, "Arial");
  }
}

// Caption buttons and check/radio boxes are copied without a key colour: no key pixel may
// show in any of their looks.
TEST(ProgramSkins, LooksCopiedWithoutTransparencyCarryNoKeyColour) {
  auto KeyPixels = [](TBitmap* Picture, const TRect& R) {
    Integer N = 0;
    for (Integer Y = R.Top; Y < R.Bottom; ++Y)
      for (Integer X = R.Left; X < R.Right; ++X)
        N += (Picture->GetCanvas()->GetPixels(X, Y) & 0xFFFFFF) == 0x7F007F;
    return N;
  };
  for (const TbsProgramSkin& S : ProgramSkins()) {
    SCOPED_TRACE(S.Name);
    const auto Data = LoadProgramSkin(S);
    for (const char* Name : {"closebutton", "maxbutton", "minbutton", "sysmenubutton", "rollupbutton"}) {
      SCOPED_TRACE(Name);
      auto& B = static_cast<TbsDataSkinStdButton&>(*Data->SkinObjects[Data->FindObjectPart(Name)]);
      TBitmap* Picture = Data->ActivePictures[B.ActivePictureIndex].get();
      for (const TRect& R : {B.SkinRect, B.ActiveSkinRect, B.DownRect, B.InActiveSkinRect})
        EXPECT_EQ(KeyPixels(Picture, R), 0);
    }
    for (const char* Name : {"checkbox", "radiobox"}) {
      SCOPED_TRACE(Name);
      auto& C = static_cast<TbsDataSkinCheckRadioControl&>(*Data->SkinControls[Data->FindControlPart(Name)]);
      TBitmap* Picture = Data->ActivePictures[C.PictureIndex].get();
      for (const TRect& R : {C.CheckImageRect, C.UncheckImageRect, C.ActiveCheckImageRect,
                             C.ActiveUncheckImageRect, C.UnEnabledCheckImageRect, C.GrayedCheckImageRect})
        EXPECT_EQ(KeyPixels(Picture, R), 0);
    }
  }
}

// The button face's middle pixel in each skin: eight different colours.
TEST(ProgramSkins, TheEightLookDifferent) {
  std::set<TColor> Faces, Captions;
  std::set<std::string> Bytes;
  for (const TbsProgramSkin& S : ProgramSkins()) {
    const auto Data = LoadProgramSkin(S);
    const auto& P = *Data->SkinControls[Data->FindControlPart("button")];
    TBitmap* Picture = Data->ActivePictures[P.PictureIndex].get();
    Faces.insert(Picture->GetCanvas()->GetPixels((P.SkinRect.Left + P.SkinRect.Right) / 2,
                                                 (P.SkinRect.Top + P.SkinRect.Bottom) / 2));
    Captions.insert(Data->Picture->GetCanvas()->GetPixels(Data->Picture->GetWidth() / 2, 6));
    Bytes.insert(std::string(reinterpret_cast<const char*>(S.Data), S.Size));
  }
  EXPECT_EQ(Faces.size(), 8u);
  EXPECT_EQ(Captions.size(), 8u);
  EXPECT_EQ(Bytes.size(), 8u);
}

// Every part name a skinned class of the controls, forms and dialogs sets in its source is one
// the skins hold.
TEST(ProgramSkins, EveryDefaultPartNameOfTheSkinnedClassesIsRequired) {
  std::set<std::string> Required;
  for (const TbsRequiredSkinName& N : RequiredSkinNames()) Required.insert(N.Name);
  const fs::path Root = fs::path(TILVAROK_TEST_DATA).parent_path().parent_path();
  const std::regex Default(R"re(SkinDataName\s*(?:=|\()\s*"([a-z]+)")re");
  std::set<std::string> Found;
  for (const char* Folder : {"skin/controls", "skin/boxctrls", "skin/form", "skin/dialogs", "app"})
    for (const auto& E : fs::recursive_directory_iterator(Root / Folder)) {
      if (!E.is_regular_file()) continue;
      std::ifstream In(E.path());
      std::stringstream Text;
      Text << In.rdbuf();
      const std::string S = Text.str();
      for (std::sregex_iterator M(S.begin(), S.end(), Default), End; M != End; ++M) Found.insert((*M)[1]);
    }
  EXPECT_GE(Found.size(), 10u) << "the scan finds the classes' defaults";
  for (const std::string& Name : Found) EXPECT_EQ(Required.count(Name), 1u) << Name;
}

std::map<std::string, std::string> FolderBytes(const std::string& Folder) {
  std::map<std::string, std::string> M;
  for (const auto& E : fs::recursive_directory_iterator(Folder)) {
    if (!E.is_regular_file()) continue;
    std::ifstream In(E.path(), std::ios::binary);
    std::stringstream S;
    S << In.rdbuf();
    M[fs::relative(E.path(), Folder).string()] = S.str();
  }
  return M;
}

// Two runs write the same bytes, and the program embeds what a run writes.
TEST(ProgramSkins, TheGeneratorIsDeterministic) {
  TTempFolder A, B;
  ASSERT_EQ(std::system((std::string(TILVAROK_SKINGEN) + " " + A.Path() + " > /dev/null").c_str()), 0);
  ASSERT_EQ(std::system((std::string(TILVAROK_SKINGEN) + " " + B.Path() + " > /dev/null").c_str()), 0);
  const auto First = FolderBytes(A.Path()), Second = FolderBytes(B.Path());
  EXPECT_GT(First.size(), 8u * 6);
  EXPECT_TRUE(First == Second);
  const char* const Stems[] = {"bionix", "gamestyle",  "imetaldark", "ipx",
                               "optima", "finevector", "visionex",   "cooller"};
  for (std::size_t I = 0; I < 8; ++I) {
    const TbsProgramSkin& S = ProgramSkins()[I];
    EXPECT_EQ(First.at(std::string(Stems[I]) + ".skn"),
              std::string(reinterpret_cast<const char*>(S.Data), S.Size))
        << Stems[I];
  }
}

// What the generator writes follows the rules of skin texts: no minus signs (the readers drop
// them), lower-case part names, each key once per section; the parts picture's bottom-left
// pixel is the background key, as pictures with automatic transparency need.
TEST(ProgramSkins, TheSkinTextsFollowTheWritingRules) {
  TTempFolder Out;
  ASSERT_EQ(std::system((std::string(TILVAROK_SKINGEN) + " " + Out.Path() + " > /dev/null").c_str()), 0);
  for (const char* Stem :
       {"bionix", "gamestyle", "imetaldark", "ipx", "optima", "finevector", "visionex", "cooller"}) {
    SCOPED_TRACE(Stem);
    std::ifstream In(Out / (std::string(Stem) + "/skin.ini"));
    std::string Line, Section;
    std::set<std::string> SeenKeys;
    Integer Lines = 0;
    while (std::getline(In, Line)) {
      if (!Line.empty() && Line.back() == '\r') Line.pop_back();
      if (Line.empty()) continue;
      ++Lines;
      if (Line.front() == '[') {
        Section = Line;
        SeenKeys.clear();
        continue;
      }
      const std::string Key = Line.substr(0, Line.find('=')), Value = Line.substr(Line.find('=') + 1);
      EXPECT_TRUE(SeenKeys.insert(Key).second) << Section << " " << Key << " twice";
      if (Section != "[VERSION]" && Section != "[PICTURES]") {
        EXPECT_EQ(Line.find('-'), std::string::npos) << Line;
      }
      if (Section == "[SKINCONTROLS]" || Section == "[SKINOBJECTS]") {
        std::string Lower = Value;
        std::transform(Lower.begin(), Lower.end(), Lower.begin(),
                       [](unsigned char C) { return std::tolower(C); });
        EXPECT_EQ(Value, Lower);
      }
    }
    EXPECT_GT(Lines, 500);
    TBitmap Parts;
    Parts.LoadFromFile(Out / (std::string(Stem) + "/parts.bmp"));
    EXPECT_EQ(Parts.GetCanvas()->GetPixels(0, Parts.GetHeight() - 1) & 0xFFFFFF, 0x7F007F);
  }
}

}  // namespace

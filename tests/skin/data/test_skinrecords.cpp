// The records of a skin read from their sections: defaults of an empty section, the keys each
// class adds after its parent's, and the rules applied after reading.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "skin/data/bsSkinData.h"
#include "skin/data/bsSkinDataResStr.h"

namespace {

std::unique_ptr<TMemIniFile> IniOf(const std::string& Text) {
  TStringList Lines;
  Lines.SetText(Text);
  auto Ini = std::make_unique<TMemIniFile>("");
  Ini->SetStrings(&Lines);
  return Ini;
}

template <class T>
std::unique_ptr<T> Loaded(const std::string& Section) {
  auto R = std::make_unique<T>("p");
  R->LoadFromIni(IniOf("[p]\n" + Section).get());
  return R;
}

TEST(SkinRecordsTest, AnEmptySectionGivesTheDefaults) {
  auto Button = Loaded<TbsDataSkinButtonControl>("");
  EXPECT_EQ(Button->PictureIndex, -1);
  EXPECT_EQ(Button->MaskPictureIndex, -1);
  EXPECT_EQ(Button->SkinRect, TRect{});
  EXPECT_EQ(Button->FontName, "Arial");
  EXPECT_EQ(Button->FontHeight, 14);
  EXPECT_EQ(Button->FontColor, 0);
  EXPECT_EQ(Button->AnimateInterval, 25);
  EXPECT_EQ(Button->GlowLayerPictureIndex, -1);
  EXPECT_EQ(Button->GlowLayerAlphaBlendValue, 255);
  EXPECT_EQ(Button->StretchType, stFull);
  EXPECT_EQ(Loaded<TbsDataSkinStdLabelControl>("")->ActiveFontColor, 16711680);
  EXPECT_EQ(Loaded<TbsDataSkinPanelControl>("")->Alignment, taCenter);
  EXPECT_EQ(Loaded<TbsDataSkinTabControl>("")->BGPictureIndex, -1);
  EXPECT_EQ(Loaded<TbsDataSkinTabControl>("")->UpDown, "");
  EXPECT_EQ(Loaded<TbsDataSkinComboBox>("")->ListBoxName, "");
  auto List = Loaded<TbsDataSkinListBox>("");
  EXPECT_EQ((std::vector<std::string>{List->VScrollBarName, List->HScrollBarName, List->BothHScrollBarName,
                                      List->CaptionFontName}),
            (std::vector<std::string>{"vscrollbar", "hscrollbar", "bothhscrollbar", "Arial"}));
  auto Bar = Loaded<TbsDataSkinControlBar>("");
  EXPECT_EQ((std::vector<Integer>{Bar->ItemOffset1, Bar->ItemOffset2, Bar->BGPictureIndex}),
            (std::vector<Integer>{3, 3, -1}));
  auto App = Loaded<TbsDataSkinAppMenu>("");
  EXPECT_EQ((std::vector<Integer>{App->ItemOffset1, App->ItemOffset2, App->PageItemOffset1,
                                  App->PageItemOffset2, App->FontPageHeight, App->FontHeight}),
            (std::vector<Integer>{3, 3, 10, 10, 16, 14}));
  auto Menu = Loaded<TbsDataSkinMainMenuBar>("");
  EXPECT_EQ(Menu->MenuBarItem + Menu->CloseButton + Menu->MinButton + Menu->MaxButton + Menu->SysMenuButton,
            "");
  auto Grid = Loaded<TbsDataSkinGridControl>("");
  EXPECT_EQ(Grid->FixedFontName, "Arial");
  EXPECT_EQ(Grid->FixedFontHeight, 14);
}

TEST(SkinRecordsTest, ObjectDefaultsOfTheConstructorAndOfTheLoad) {
  TbsDataSkinAnimate Fresh("a");
  EXPECT_EQ(Fresh.CountFrames, 0);
  EXPECT_EQ(Fresh.ActivePictureIndex, -1);
  EXPECT_EQ(Fresh.GlowLayerAlphaBlendValue, 255);
  auto Animate = Loaded<TbsDataSkinAnimate>("");
  EXPECT_EQ(Animate->CountFrames, 1);
  EXPECT_EQ(Animate->TimerInterval, 50);
  EXPECT_EQ(Animate->Command, cmDefault);
  auto Caption = Loaded<TbsDataSkinCaption>("");
  EXPECT_EQ(Caption->GlowSize, 3);
  EXPECT_EQ(Caption->FontHeight, 14);
  EXPECT_EQ(Caption->Alignment, taCenter);
  TbsDataSkinButton Frame("b");
  EXPECT_EQ((std::vector<Integer>{Frame.AlphaMaskPictureIndex, Frame.AlphaMaskActivePictureIndex,
                                  Frame.AlphaMaskInActivePictureIndex}),
            std::vector<Integer>(3, -1));
}

TEST(SkinRecordsTest, ParentKeysFirstAndSpellingsKept) {
  auto Memo = Loaded<TbsDataSkinMemoControl>("activeskinrect=1,2,3,4\nbgcolor=255\nActiveBGColor=0x10\n");
  EXPECT_EQ(Memo->ActiveSkinRect, (TRect{1, 2, 3, 4}));
  EXPECT_EQ(Memo->BGColor, 255);
  EXPECT_EQ(Memo->ActiveBGColor, 16);
  auto MenuButton =
      Loaded<TbsDataSkinMenuButtonControl>("fontheight=9\ntrackbuttonrect=5,6,7,8\nleftstretch=1\n");
  EXPECT_EQ(MenuButton->FontHeight, 9);
  EXPECT_EQ(MenuButton->TrackButtonRect, (TRect{5, 6, 7, 8}));
  EXPECT_TRUE(MenuButton->LeftStretch);
  auto Frame = Loaded<TbsDataSkinButton>("disableskinrsect=1,1,2,2\n");
  EXPECT_EQ(Frame->DisableSkinRsect, (TRect{1, 1, 2, 2}));
  auto Caption = Loaded<TbsDataSkinCaption>("reflactioncolor=7\n");
  EXPECT_EQ(Caption->ReflactionColor, 7);
  auto Item = Loaded<TbsDataSkinMainMenuBarItem>("unenabledfontcolor=9\n");
  EXPECT_EQ(Item->UnEnabledFontColor, 9);
}

TEST(SkinRecordsTest, RulesAfterReading) {
  auto UpDown = Loaded<TbsDataSkinUpDownControl>(
      "lefttoppoint=1,1\nrightbottompoint=5,5\nclientrect=1,1,4,4\nupbuttonrect=0,0,9,9\n");
  EXPECT_EQ(UpDown->LeftTopPoint, TPoint{});
  EXPECT_EQ(UpDown->RightBottomPoint, TPoint{});
  EXPECT_EQ(UpDown->ClientRect, TRect{});
  EXPECT_EQ(UpDown->UpButtonRect, (TRect{0, 0, 9, 9}));

  EXPECT_FALSE(Loaded<TbsDataSkinAnimate>("morphing=1\n")->Morphing);
  EXPECT_TRUE(Loaded<TbsDataSkinCaption>("morphing=1\n")->Morphing);

  auto Item = Loaded<TbsDataSkinMenuItem>(
      "checkimagerect=10,0,20,10\nradioimagerect=1,1,2,2\n"
      "activeradioimagerect=3,3,4,4\nactivearrowimagerect=5,5,5,9\n");
  EXPECT_EQ(Item->ActiveCheckImageRect, (TRect{10, 0, 20, 10}));
  EXPECT_EQ(Item->ActiveRadioImageRect, (TRect{3, 3, 4, 4}));
  EXPECT_EQ(Item->ActiveArrowImageRect, TRect{});

  // A free object reads its rectangle only.
  auto User = Loaded<TbsDataUserObject>("hint=h\nactivepictureindex=2\nskinrect=1,2,3,4\n");
  EXPECT_EQ(User->Hint, "");
  EXPECT_EQ(User->ActivePictureIndex, -1);
  EXPECT_EQ(User->SkinRect, (TRect{1, 2, 3, 4}));
}

TEST(SkinRecordsTest, RestoreHintOfCaptionButtons) {
  struct TCase {
    const char* Section;
    const char* RestoreHint;
  };
  const std::vector<TCase> Cases{
      {"hint=Maximize\ncommand=cmmaximize\n", "Restore"},
      {"hint=maximize\ncommand=cmmaximize\n", ""},
      {"hint=Minimize\ncommand=cmminimize\n", "Restore"},
      {"hint=Minimize\ncommand=cmmaximize\n", ""},
      {"hint=Roll Up\ncommand=cmrollup\n", "Restore"},
      {"hint=RollUp\ncommand=cmrollup\n", "Restore"},
      {"hint=Maximize\ncommand=cmmaximize\nrestorehint=Back\n", "Back"},
  };
  for (const TCase& C : Cases) {
    EXPECT_EQ(Loaded<TbsDataSkinStdButton>(C.Section)->RestoreHint, C.RestoreHint) << C.Section;
    EXPECT_EQ(Loaded<TbsDataSkinAnimate>(C.Section)->RestoreHint, C.RestoreHint) << C.Section;
  }
  EXPECT_EQ(Loaded<TbsDataSkinMainMenuBarButton>("command=cmminimizetotray\n")->Command, cmOther);
}

TEST(SkinRecordsTest, SavedRecordsReadBackTheSame) {
  auto Original = Loaded<TbsDataSkinCheckRadioControl>(
      "pictureindex=2\nskinrect=1,2,3,4\nfontstyle=fsitalic\nmorphkind=mkpush\nstretchtype=stvert\n"
      "checkimagerect=5,6,7,8\nfontname=Tahoma\n");
  TMemIniFile Ini("");
  Original->SaveToIni(&Ini);
  TbsDataSkinCheckRadioControl Copy("p");
  Copy.LoadFromIni(&Ini);
  EXPECT_EQ(Copy.PictureIndex, 2);
  EXPECT_EQ(Copy.SkinRect, (TRect{1, 2, 3, 4}));
  EXPECT_EQ(Copy.FontStyle, TFontStyles{fsItalic});
  EXPECT_EQ(Copy.MorphKind, mkPush);
  EXPECT_EQ(Copy.StretchType, stVert);
  EXPECT_EQ(Copy.CheckImageRect, (TRect{5, 6, 7, 8}));
  EXPECT_EQ(Copy.FontName, "Tahoma");
  EXPECT_EQ(Copy.MaskPictureIndex, -1);
}

TEST(SkinRecordsTest, SectionRecords) {
  TbsSkinData Data(nullptr);
  EXPECT_EQ(Data.HintWindow->FontHeight, 12);
  auto Ini =
      IniOf("[LAYERFRAME]\nhittestsize=4\n[HINTWINDOW]\nfontname=Tahoma\n[SKINCOLORS]\ncbtnface=255\n");
  Data.LayerFrame->LoadFromIni(Ini.get());
  Data.HintWindow->LoadFromIni(Ini.get());
  Data.SkinColors->LoadFromIni(Ini.get());
  Data.PopupWindow->LoadFromIni(Ini.get());
  EXPECT_EQ(Data.LayerFrame->PictureIndex, -1);
  EXPECT_EQ(Data.LayerFrame->BlurMaskPictureIndex, -1);
  EXPECT_EQ(Data.LayerFrame->AlphaBlendValue, 255);
  EXPECT_EQ(Data.LayerFrame->InActiveAlphaBlendValue, 255);
  EXPECT_EQ(Data.LayerFrame->HitTestSize, 4);
  EXPECT_EQ(Data.HintWindow->FontHeight, 14);
  EXPECT_EQ(Data.HintWindow->FontName, "Tahoma");
  EXPECT_EQ(Data.SkinColors->CBtnFace, 255);
  EXPECT_EQ(Data.SkinColors->CBtnShadow, clBtnShadow);
  EXPECT_EQ(Data.PopupWindow->WindowPictureIndex, -1);
}

TEST(ResourceStringsTest, LookupByKey) {
  TbsResourceStrData Res(nullptr);
  EXPECT_EQ(Res.GetResStrings()->GetCount(), 131);
  EXPECT_EQ(Res.GetCharSet(), 1);
  EXPECT_EQ(Res.LookupResString("mi_mincaption"), "Mi&nimize");
  EXPECT_EQ(Res.LookupResString("NO_SUCH_KEY"), "");
  EXPECT_EQ(Res.LookupResString("FIND_REPLACE_ALL"), "Replace All");
  EXPECT_EQ(Res.GetResStrings()->GetNames(Res.GetResStrings()->IndexOfName("find_replace_all")),
            "FIND_REPLACE_All");
  EXPECT_EQ(Res.LookupResString("FLV_LOOKIN"), "Look in: ");
  EXPECT_EQ(Res.LookupResString("DBNAV_FIRST"), "FIRST");
  TStringList Translated;
  Translated.Add("ERROR=Fehler=schwer");
  Translated.Add("ERROR=second");
  Res.SetResStrings(&Translated);
  EXPECT_EQ(Res.LookupResString("ERROR"), "Fehler=schwer");
}

}  // namespace

// The text tables: English defaults, padding and the parameter labels; language files read
// into the main window, chosen from the menu and missing.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>

#include "SettingsTestSupport.h"
#include "app/Languages.h"
#include "platform/classes/Application.h"
#include "platform/classes/Menus.h"
#include "platform/system/StringList.h"
#include "platform/system/Strings.h"
#include "skin/boxctrls/bsSkinTabs.h"

TEST(Languages, DefaultsPaddedOnceAndParameterLabels) {
  SetDefaultInterfaceTexts();
  SetDefaultTexts();
  PadCaptions();
  BuildParamLabels();
  EXPECT_EQ(VariableTexts[1], "Creating grid...");
  EXPECT_EQ(VariableTexts[11], "Creating pinch...");
  EXPECT_EQ(VariableTexts[20], "Resizing...");
  EXPECT_EQ(VariableTexts[10], "Ready");
  EXPECT_EQ(VariableTexts[5], "Cancel");
  EXPECT_EQ(VariableTexts[29], "");
  EXPECT_EQ(InterfaceTexts[4], "Update mosaic");
  EXPECT_EQ(InterfaceTexts[32], " Source picture ");
  EXPECT_EQ(InterfaceTexts[23], " Wire frame only");
  EXPECT_EQ(InterfaceTexts[75], " Colored");
  EXPECT_EQ(InterfaceTexts[74], "Pinch and blow");
  const struct {
    Integer Type, Slider;
    const char* Label;
  } Labels[] = {
      {0, 0, "Deformation"}, {0, 1, ""},         {1, 4, "Symmetry"}, {3, 2, "Size ratio"}, {4, 1, "Boost"},
      {5, 2, "Shade"},       {6, 3, "Accuracy"}, {7, 5, "Size"},     {8, 0, ""},           {9, 5, ""}};
  for (const auto& L : Labels) EXPECT_EQ(ParamLabels[L.Type][L.Slider], L.Label) << L.Type << " " << L.Slider;
  // Defaults again start from the English texts: the dots are not doubled.
  SetDefaultInterfaceTexts();
  SetDefaultTexts();
  PadCaptions();
  EXPECT_EQ(VariableTexts[1], "Creating grid...");
  EXPECT_EQ(InterfaceTexts[32], " Source picture ");
}

// ---- Language files through the main window ------------------------------------------------

namespace {
// Keys left out on purpose: Interface 2 and 4 (two buttons), Variables 11 (a status text).
constexpr const char* TestLanguage =
    "[Interface]\n1=Schrift\n3=Bild laden\n10=Maske anwenden\n23=Nur Gitter\n31=Sprache\n32=Quellbild\n"
    "42=Kaleidoskop\n49=Verformung\n51=Kreise\n52=Extras\n57=Laden\n59=Monatlich\n62=Kneifen\n"
    "74=Kneifen und Blasen\n77=Freihand\n82=Mosaik\n88=Aussehen\n101=Zu viel\n"
    "[Variables]\n1=Gitter erstellen\n5=Abbrechen\n9=Größe\n10=Fertig\n27=Muster\n28=keins\n30=Verformung\n"
    "60=Aktualisierung 1\n84=Aktualisierung 25\n";
constexpr const char* NotFound = "Warning: language file not found.\r\nSwitching to English (default)";
}  // namespace

class TLanguageFileTest : public TMosaicTest {
 protected:
  void SetUp() override {
    const std::string Name = "TilvarokTest" + std::to_string(getpid());
    FileName = ExtractFilePath(Application->GetExeName()) + "Languages/" + Name + ".lan";
    WriteTextFile(FileName, TestLanguage);
    WriteSettings("[Languages]\nNumber of languages=2\nCurrent language=2\n1=Missing" +
                  std::to_string(getpid()) + "\n2=" + Name + "\n");
    TMosaicTest::SetUp();
  }
  void TearDown() override {
    TMosaicTest::TearDown();
    WriteSettings("");
    DeleteFile(FileName);
  }
  std::string FileName;
};

TEST_F(TLanguageFileTest, TheFileCaptionsTheWindowAndMissingKeysAreEmpty) {
  // Loaded at start as the current language.
  EXPECT_EQ(CurrentLanguage, 2);
  EXPECT_TRUE(Form->LanguageItems[1]->GetChecked());
  EXPECT_EQ(Form->FontBtn->GetCaption(), "Schrift");
  Form->PatternItems[ptHexagons]->Click();
  ASSERT_EQ(PatternType, ptHexagons);
  // Loading again pads nothing twice.
  LoadLanguageFile(FileName);

  EXPECT_EQ(Form->LoadPicBtn->GetCaption(), "Bild laden");
  EXPECT_EQ(Form->LoadMaskBtn->GetCaption(), "");
  EXPECT_EQ(Form->UpdateBtn->GetCaption(), "");
  EXPECT_EQ(Form->ApplyMask->GetCaption(), " Maske anwenden");
  EXPECT_EQ(Form->FrameOnly->GetCaption(), " Nur Gitter");
  EXPECT_EQ(Form->GroupBox1->GetCaption(), " Quellbild ");
  EXPECT_EQ(Form->GroupBox6->GetCaption(), " Kaleidoskop ");
  // The hexagons' first slider keeps its own name ("Size") in the new language.
  EXPECT_EQ(Form->LabelP[0]->GetCaption(), VariableTexts[vtSize]);
  EXPECT_EQ(Form->TabSheet1->GetCaption(), "Mosaik");
  EXPECT_EQ(Form->NoRim->GetCaption(), " ");
  for (auto [Item, Caption] : {std::pair<TMenuItem*, const char*>{Form->Extra1, "Extras"},
                               {Form->Language1, "Sprache"},
                               {Form->Monthly1, "Monatlich"},
                               {Form->Weekly1, ""},
                               {Form->Skin1, "Aussehen"},
                               {Form->Load1, "Laden"},
                               {Form->PatternItems[0], "Kneifen"},
                               {Form->PatternItems[1], "Kreise"},
                               {Form->PatternItems[9], "Free drawing"}})
    EXPECT_EQ(Item->GetCaption(), Caption);
  // The refilled list shows the pattern in use, which stays.
  TStrings* List = Form->PatternBox->GetItems();
  ASSERT_EQ(List->GetCount(), 10);
  EXPECT_EQ(List->GetStrings(0), "Kneifen und Blasen");
  EXPECT_EQ(List->GetStrings(1), "Kreise");
  EXPECT_EQ(List->GetStrings(2), "");
  EXPECT_EQ(List->GetStrings(9), "Freihand");
  EXPECT_EQ(Form->PatternBox->GetItemIndex(), ptHexagons);
  EXPECT_EQ(PatternType, ptHexagons);

  EXPECT_EQ(VariableTexts[1], "Gitter erstellen...");
  EXPECT_EQ(VariableTexts[11], "...");
  EXPECT_EQ(VariableTexts[21], "");
  EXPECT_EQ(Form->StatusPanel->GetCaption(), " Fertig");
  EXPECT_EQ(Form->Label2->GetCaption(), "Muster: <keins>");
  EXPECT_EQ(Form->Label13->GetCaption(), "Größe: 0 x 0");
  EXPECT_EQ(ParamLabels[0][0], "Verformung");
  EXPECT_EQ(ParamLabels[1][0], "Größe");
  EXPECT_EQ(ParamLabels[1][1], "");
  EXPECT_EQ(UpdateCaptions[0], "Aktualisierung 1");
  EXPECT_EQ(UpdateCaptions[24], "Aktualisierung 25");
  EXPECT_EQ(UpdateCaptions[1], "");

  // A build ends with the button's own text, which the file left empty.
  Form->UpdateBtn->Click();
  RunUntilIdle();
  EXPECT_EQ(Form->UpdateBtn->GetCaption(), "");
  EXPECT_EQ(Form->StatusPanel->GetCaption(), " Fertig");
}

TEST_F(TLanguageFileTest, AMissingFileWarnsAndBringsBackTheEnglishTextsButKeepsTheCaptions) {
  TBoxAnswers Answers;
  // The language chosen has no file: the texts stay and language 1 is stored.
  Form->LanguageItems[0]->Click();
  ASSERT_EQ(Answers.Messages, std::vector<std::string>{NotFound});
  EXPECT_EQ(CurrentLanguage, 1);
  EXPECT_EQ(ReadSettingText("Languages", "Current language"), "1");
  EXPECT_TRUE(Form->LanguageItems[1]->GetChecked());
  EXPECT_EQ(VariableTexts[1], "Gitter erstellen...");

  LoadLanguageFile(FileName + ".gone");
  ASSERT_EQ(Answers.Messages.size(), 2u);
  EXPECT_EQ(Answers.Messages[1], NotFound);
  EXPECT_EQ(VariableTexts[1], "Creating grid...");
  EXPECT_EQ(VariableTexts[11], "Creating pinch...");
  EXPECT_EQ(ParamLabels[1][0], "Size");
  EXPECT_EQ(Form->StatusPanel->GetCaption(), " Ready");
  EXPECT_EQ(Form->Label2->GetCaption(), "Type pattern: <none>");
  EXPECT_EQ(Form->FontBtn->GetCaption(), "Schrift");
  EXPECT_EQ(InterfaceTexts[32], " Quellbild ");
  EXPECT_EQ(InterfaceTexts[10], " Maske anwenden");

  // The next start tries language 1 again and stays English.
  Form.reset();
  RunUntilIdle();
  TMosaicTest::SetUp();
  ASSERT_EQ(Answers.Messages.size(), 3u);
  EXPECT_EQ(Form->FontBtn->GetCaption(), "Font");
  EXPECT_EQ(Form->StatusPanel->GetCaption(), " Ready");
  EXPECT_TRUE(Form->LanguageItems[0]->GetChecked());

  // Choosing the language with a file loads it, checks it and stores it.
  Form->LanguageItems[1]->Click();
  EXPECT_EQ(Answers.Messages.size(), 3u);
  EXPECT_EQ(Form->FontBtn->GetCaption(), "Schrift");
  EXPECT_TRUE(Form->LanguageItems[1]->GetChecked());
  EXPECT_FALSE(Form->LanguageItems[0]->GetChecked());
  EXPECT_EQ(ReadSettingText("Languages", "Current language"), "2");
}

namespace {
const std::string AssetsDir = std::string(TILVAROK_TEST_DATA) + "/../../assets";

std::vector<std::string> Keys(TIniFile& File, const char* Section) {
  TStringList List;
  File.ReadSection(Section, &List);
  std::vector<std::string> Result;
  for (Integer I = 0; I < List.GetCount(); ++I) Result.push_back(List.GetStrings(I));
  std::sort(Result.begin(), Result.end());
  return Result;
}
}  // namespace

TEST(Languages, TheInstalledEnglishFileHoldsTheWindowsOwnTexts) {
  LoadLanguageFile(AssetsDir + "/Languages/English.lan");
  const TTextTable Interface = InterfaceTexts, Variables = VariableTexts;
  EXPECT_EQ(UpdateCaptions[17], "Tilvarok web-update");
  SetDefaultInterfaceTexts();
  VariableTexts.fill(std::string());
  SetDefaultTexts();
  PadCaptions();
  for (Integer I = 1; I <= TextCount; ++I) EXPECT_EQ(Interface[I], InterfaceTexts[I]) << I;
  for (Integer I = 1; I < 60; ++I) EXPECT_EQ(Variables[I], VariableTexts[I]) << I;
}

TEST(Languages, TheSettingsListThreeLanguagesAndEachFileHasEveryTextOfTheEnglishOne) {
  TIniFile Settings(AssetsDir + "/Tilvarok.ini");
  EXPECT_EQ(Settings.ReadInteger("Languages", "Number of languages", 0), 3);
  EXPECT_EQ(Settings.ReadInteger("Languages", "Current language", 0), 1);
  const char* const Names[] = {"English", "German", "Dutch"};
  for (Integer I = 1; I <= 3; ++I) EXPECT_EQ(Settings.ReadString("Languages", IntToStr(I), ""), Names[I - 1]);

  TIniFile English(AssetsDir + "/Languages/English.lan");
  for (const char* Name : {"German", "Dutch"}) {
    const std::string FileName = AssetsDir + "/Languages/" + Name + ".lan";
    ASSERT_TRUE(FileExists(FileName)) << Name;
    TIniFile File(FileName);
    for (const char* Section : {"Interface", "Variables"}) {
      SCOPED_TRACE(std::string(Name) + " " + Section);
      const std::vector<std::string> Expected = Keys(English, Section);
      ASSERT_GT(Expected.size(), 40u);
      EXPECT_EQ(Keys(File, Section), Expected);
      for (const std::string& Key : Expected) EXPECT_NE(File.ReadString(Section, Key, ""), "") << Key;
    }
  }
}

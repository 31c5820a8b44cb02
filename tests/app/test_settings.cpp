// The settings file: what a start reads and writes, the update interval and the skin kept
// from one start to the next, values out of range, and writes without the data folder.
#include <memory>
#include <string>

#include "SettingsTestSupport.h"
#include "platform/classes/ExtCtrls.h"
#include "platform/classes/Menus.h"
#include "skin/data/bsSkinData.h"

class TSettingsTest : public TMosaicTest {
 protected:
  // The settings are written before each start; SetUp starts nothing.
  void SetUp() override {}
  void TearDown() override {
    TMosaicTest::TearDown();
    WriteSettings("");
  }
  void Start(const std::string& Settings) {
    WriteSettings(Settings);
    Restart();
  }
  void Restart() {
    Form.reset();
    RunUntilIdle();
    TMosaicTest::SetUp();
  }
  // The checked items of a menu, by position.
  static std::string Checked(TMenuItem* Menu) {
    std::string S;
    for (Integer I = 0; I < Menu->GetCount(); ++I)
      if (Menu->GetItem(I)->GetChecked()) S += std::to_string(I);
    return S;
  }
};

TEST_F(TSettingsTest, TheUpdateIntervalAndTheSkinAreWrittenWhenChosenAndCheckedAtTheNextStart) {
  // A glass picture that has gone is reported at every start; the start goes on.
  TBoxAnswers Answers;
  Start("[Directories]\nGlassFX File=/nowhere/glass.bmp\n[Settings]\nCodec=3\n");
  ASSERT_EQ(Answers.Messages.size(), 1u);
  EXPECT_EQ(Answers.Messages[0].rfind("The picture \"glass.bmp\" could not be loaded.", 0), 0u);
  EXPECT_EQ(GlassFXBitmap->GetWidth(), 0);
  // A file without "Updated" gets the first date at once.
  EXPECT_EQ(ReadSettingText("Settings", "Updated"), "01-01-2011");
  EXPECT_EQ(LastUpdateDate, "01-01-2011");
  EXPECT_EQ(GlassFXFileName, "/nowhere/glass.bmp");
  EXPECT_EQ(CodecIndex, 3);
  EXPECT_EQ(Checked(Form->Update1), "0");
  EXPECT_EQ(UpdateDays, 0);
  EXPECT_EQ(Checked(Form->Skin1), "2");
  EXPECT_EQ(Form->bsSkinData1->GetSkinIndex(), 2);
  // The default skin is loaded at start and the views take its button face.
  EXPECT_EQ(Form->bsSkinData1->SkinName, "iMetal dark");
  const TColor DarkFace = Form->bsSkinData1->SkinColors->CBtnFace;
  EXPECT_NE(DarkFace, clBtnFace);
  EXPECT_EQ(Form->Image1->GetColor(), DarkFace);
  EXPECT_EQ(Form->Image2->GetColor(), DarkFace);

  Form->Monthly1->Click();
  EXPECT_EQ(ReadSettingText("Settings", "UpdateInterval"), "2");
  EXPECT_EQ(Checked(Form->Update1), "2");
  EXPECT_EQ(UpdateDays, 30);
  Form->SkinItems[6]->Click();
  EXPECT_EQ(ReadSettingText("Settings", "Skin"), "6");
  EXPECT_EQ(Checked(Form->Skin1), "6");
  EXPECT_EQ(Form->bsSkinData1->GetSkinIndex(), 6);
  EXPECT_EQ(Form->bsSkinData1->SkinName, "VisionEx");
  EXPECT_NE(Form->Image1->GetColor(), DarkFace);
  EXPECT_EQ(Form->Image1->GetColor(), Form->bsSkinData1->SkinColors->CBtnFace);

  Restart();
  EXPECT_EQ(Checked(Form->Update1), "2");
  EXPECT_EQ(UpdateDays, 30);
  EXPECT_EQ(Checked(Form->Skin1), "6");
  EXPECT_EQ(Form->bsSkinData1->GetSkinIndex(), 6);
  EXPECT_EQ(Form->bsSkinData1->SkinName, "VisionEx");
  // A date already there stays.
  WriteSettings("[Settings]\nUpdated=17-05-2024\nUpdateInterval=1\n");
  Restart();
  EXPECT_EQ(LastUpdateDate, "17-05-2024");
  EXPECT_EQ(ReadSettingText("Settings", "Updated"), "17-05-2024");
  EXPECT_EQ(Checked(Form->Update1), "1");
  EXPECT_EQ(UpdateDays, 7);
}

TEST_F(TSettingsTest, TheLanguagesAreListedAsNumberedRadioItemsBeforeTheInvitation) {
  Start("[Languages]\nNumber of languages=3\nCurrent language=0\n1=English\n2=Deutsch\n3=Nederlands\n");
  ASSERT_EQ(Form->LanguageItems.size(), 3u);
  EXPECT_EQ(Form->LanguageItems[0]->GetCaption(), "1.  English");
  EXPECT_EQ(Form->LanguageItems[2]->GetCaption(), "3.  Nederlands");
  for (Integer I = 0; I < 3; ++I) {
    EXPECT_EQ(Form->LanguageItems[I]->GetMenuIndex(), I);
    EXPECT_TRUE(Form->LanguageItems[I]->GetRadioItem());
  }
  EXPECT_EQ(Form->Language1->GetItem(Form->Language1->GetCount() - 1), Form->Otherlanguages1);
  EXPECT_EQ(LanguageNames, (std::vector<std::string>{"English", "Deutsch", "Nederlands"}));
  EXPECT_EQ(Checked(Form->Language1), "");

  TBoxAnswers Answers;
  Form->Otherlanguages1->Click();
  ASSERT_EQ(Answers.Messages.size(), 1u);
  EXPECT_EQ(Answers.Messages[0].rfind("Hi.\r\n\r\nWould you like to have Tilvarok in your own language?", 0),
            0u);
  EXPECT_NE(Answers.Messages[0].find("In the subfolder \"Languages\" you find"), std::string::npos);
}

TEST_F(TSettingsTest, ValuesOutOfRangeStartWithTheDefaults) {
  const struct {
    const char* Settings;
    size_t Languages;
  } Cases[] = {
      {"[Settings]\nSkin=9\nUpdateInterval=3\n[Languages]\nNumber of languages=1\nCurrent "
       "language=2\n1=English\n",
       1},
      {"[Settings]\nSkin=-1\nUpdateInterval=-1\nCodec=300\n[Languages]\nNumber of languages=-4\nCurrent "
       "language=1\n",
       0},
      {"[Settings]\nSkin=two\n[Languages]\nNumber of languages=5000\nCurrent language=-1\n", 1000},
      {"", 0},
  };
  TBoxAnswers Answers;
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Settings);
    Start(C.Settings);
    EXPECT_EQ(Ready, 1);
    EXPECT_EQ(Checked(Form->Skin1), "2");
    EXPECT_EQ(Form->bsSkinData1->GetSkinIndex(), 2);
    EXPECT_EQ(Checked(Form->Update1), "0");
    EXPECT_EQ(CodecIndex, 0);
    EXPECT_EQ(Form->LanguageItems.size(), C.Languages);
    EXPECT_EQ(Checked(Form->Language1), "");
    EXPECT_EQ(CurrentLanguage, 0);
    EXPECT_EQ(Form->StatusPanel->GetCaption(), " Ready");
    EXPECT_EQ(Form->UpdateBtn->GetCaption(), "Update mosaic");
  }
  EXPECT_TRUE(Answers.Messages.empty());
}

TEST_F(TSettingsTest, AChoiceThatCannotBeWrittenIsReportedAndHoldsForTheRun) {
  Start("[Settings]\nUpdateInterval=0\n");
  SettingsFile = std::make_unique<TIniFile>(DataDir + "\\Missing\\Tilvarok.ini");
  TDialogAnswers Answers;
  Form->Weekly1->Click();
  ASSERT_EQ(Answers.Messages.size(), 1u);
  EXPECT_NE(Answers.Messages[0].find("Unable to write to"), std::string::npos);
  EXPECT_EQ(Checked(Form->Update1), "1");
  EXPECT_EQ(UpdateDays, 7);
  EXPECT_FALSE(DirectoryExists(DataDir + "\\Missing"));
}

TEST_F(TSettingsTest, TheGlassPictureNamedInTheSettingsIsLoadedAtStart) {
  const std::string Glass = GetEnvironmentVariable("XDG_DATA_HOME") + "/ZOR/Tilvarok/glass.bmp";
  MakeBitmap(30, 20, [](Integer X, Integer) { return X < 15 ? clRed : clBlue; })->SaveToFile(Glass);
  Start("[Directories]\nGlassFX File=" + Glass + "\n");
  EXPECT_EQ(GlassFXFileName, Glass);
  ASSERT_EQ(GlassFXBitmap->GetWidth(), 30);
  ASSERT_EQ(GlassFXBitmap->GetHeight(), 20);
  EXPECT_EQ(PixelAt(GlassFXBitmap.get(), 20, 5), clBlue);
  EXPECT_EQ(Form->Image4->GetPicture()->GetWidth(), 30);
  DeleteFile(Glass);
}

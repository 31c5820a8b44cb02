// The main window's small services: the version parts, the about box, the help and the home
// page through the shell, the clock and memory panels, and "Update Now !" against a loopback
// update page through the update window to the download.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "AppTestSupport.h"
#include "app/About.h"
#include "app/WebUpdateWindow.h"
#include "app/mxWebUpdate.h"
#include "platform/classes/Application.h"
#include "platform/classes/ExtCtrls.h"
#include "platform/classes/Menus.h"
#include "platform/classes/StdCtrls.h"
#include "platform/classes/Timer.h"
#include "platform/shell/ShellAPI.h"
#include "platform/system/Clock.h"
#include "platform/system/DateTime.h"
#include "platform/system/Files.h"
#include "platform/system/IniFiles.h"
#include "platform/system/Paths.h"
#include "platform/user/WindowMessages.h"
#include "tests/platform/net/LoopbackHttpServer.h"

namespace {
TEST(ProgramVersion, PartsAndShownText) {
  struct TCase {
    const char* Text;
    const char* Shown;
    const char* Release;
  } Cases[] = {
      {"1.5.0.29", "1.5.29", "0"},
      // One character per part before the build; the build keeps three.
      {"12.34.56.78901", "1.4.789", "6"},
      {"2.0.1.7", "2.0.7", "1"},
  };
  for (const TCase& C : Cases) {
    ASSERT_TRUE(ParseFileVersion(C.Text)) << C.Text;
    EXPECT_EQ(VersionText, C.Shown);
    EXPECT_EQ(VersionRelease, C.Release);
  }
  // Without three points nothing is set.
  EXPECT_FALSE(ParseFileVersion("1.6"));
  EXPECT_FALSE(ParseFileVersion(""));
  EXPECT_EQ(VersionText, "2.0.7");
  // The program's own version is the one the build stamped.
  ReadFileVersion();
  EXPECT_EQ(std::string(ProgramFileVersion), "1.5.0.29");
  EXPECT_EQ(VersionText, "1.5.29");
}

// Records what the shell was asked to open.
class ServicesTest : public TMosaicTest {
 protected:
  void SetUp() override {
    TMosaicTest::SetUp();
    SetShellOpenHook([this](const std::string& Target) {
      Opened.push_back(Target);
      return true;
    });
  }
  void TearDown() override {
    SetShellOpenHook(nullptr);
    delete Form5;
    Form5 = nullptr;
    TMosaicTest::TearDown();
  }
  std::vector<std::string> Opened;
};
}  // namespace

TEST_F(ServicesTest, AboutBoxShowsTheVersionAndClosesOnAClick) {
  Form->About2->Click();
  RunUntilIdle();
  ASSERT_NE(Form5, nullptr);
  EXPECT_TRUE(Form5->GetVisible());
  EXPECT_EQ(Form5->GetCaption(), "About Tilvarok");
  EXPECT_EQ(Form5->Label3->GetCaption(), "Version: 1.5.29");
  EXPECT_EQ(Form5->GetClientWidth(), Form5->Image1->GetWidth());
  EXPECT_EQ(Form5->GetClientHeight(), Form5->Image1->GetHeight());
  Form5->Label2->Click();
  EXPECT_EQ(Opened, std::vector<std::string>{MakerHomePage});
  Form5->Image1->Click();
  RunUntilIdle();
  EXPECT_FALSE(Form5->GetVisible());
}

TEST_F(ServicesTest, HelpOpensTheDocumentBesideTheProgram) {
  const std::string Help = ExeDir + "Tilvarok Help.html";
  ASSERT_TRUE(FileExists(Help)) << "the build copies the help beside the programs";
  Form->Help2->Click();
  EXPECT_EQ(Opened, std::vector<std::string>{ToNativePath(Help)});
}

TEST_F(ServicesTest, ClockAndMemoryPanels) {
  TFakeClock Clock(0, EncodeDate(2011, 3, 3) + EncodeTime(9, 5, 0, 0));
  SetClockSource(&Clock);
  Form->Timer1Timer(Form->Timer1);
  // Two blanks, the date, three blanks and the time: 22 characters, 22 x 5.75 = 126.5 rounds
  // to the even 126.
  EXPECT_EQ(Form->DatePanel->GetCaption(), "  3 March 2011   09:05");
  EXPECT_EQ(Form->DatePanel->GetWidth(), 126);
  EXPECT_TRUE(std::regex_match(Form->RAMPanel->GetCaption(), std::regex(" [0-9]+ Mb / [0-9]+ Mb")))
      << Form->RAMPanel->GetCaption();
  EXPECT_EQ(Form->Timer1->GetInterval(), 1000u);
  EXPECT_TRUE(Form->Timer1->GetEnabled());
}

// ---- "Update Now !" against a loopback update page -------------------------------------------

namespace {
std::string Meta(const std::string& Name, const std::string& Value) {
  return "<META NAME=\"" + Name + "\" CONTENT=\"" + Value + "\">\n";
}

class UpdateCommandTest : public ServicesTest {
 protected:
  void SetUp() override {
    ServicesTest::SetUp();
    SavedCaptions = UpdateCaptions;
    for (std::size_t I = 0; I < UpdateCaptions.size(); ++I) UpdateCaptions[I] = "U" + std::to_string(I);
    Folder = GetTempPath() + "update-command-" + std::to_string(::getpid());
    ForceDirectories(Folder);
    // The test's own update page in place of the maker's.
    Form->mxWebUpdate->GetProductInfo()->SetURL("127.0.0.1/Updates/TilvarokUpdate.htm");
    Form->mxWebUpdate->SetHTTPPort(static_cast<Cardinal>(Server.Port()));
    WebUpdateOpenFolder = [this](const std::string& Path) {
      OpenedFolders.push_back(Path);
      return true;
    };
  }
  void TearDown() override {
    WebUpdateOpenFolder = OpenFolderWithDesktop;
    DeleteFile(Folder + "/Setup.bin");
    RemoveDir(Folder);
    UpdateCaptions = SavedCaptions;
    SetUpdateCallback(nullptr, nullptr);
    // Every check builds a window of its own; none may stay over the next test's windows.
    for (TForm* Window : Windows) delete Window;
    ServicesTest::TearDown();
  }
  void ServePage(const std::string& Version) {
    Server.Serve("/Updates/TilvarokUpdate.htm",
                 {200,
                  "OK",
                  {},
                  Meta("mxProduct", "Tilvarok") + Meta("mxVersion", Version) +
                      Meta("mxClientSideName", "Setup.bin") + Meta("mxDownload", "/files/Setup.bin")});
    Server.Serve("/files/Setup.bin", {200, "OK", {}, std::string(3000, 'x')});
  }
  TLoopbackHttpServer Server;
  void CheckNow() {
    Form->Updatenow1->Click();
    RunUntilIdle();
    if (UpdateWindow != nullptr) Windows.push_back(UpdateWindow);
  }
  decltype(UpdateCaptions) SavedCaptions;
  std::vector<TForm*> Windows;
  std::string Folder;
  std::vector<std::string> OpenedFolders;
};
}  // namespace

TEST_F(UpdateCommandTest, OfferIsShownDownloadedWhereChosenAndItsFolderOpened) {
  ServePage("1.5.0.30");
  TFakeClock Clock(0, EncodeDate(2026, 12, 11) + EncodeTime(10, 0, 0, 0));
  SetClockSource(&Clock);
  CheckNow();
  ASSERT_NE(UpdateWindow, nullptr);
  EXPECT_TRUE(UpdateWindow->GetVisible());
  EXPECT_EQ(UpdateWindow->GetCaption(), " Tilvarok web-update ");
  EXPECT_EQ(UpdateStatus1->GetCaption(), "U21");
  EXPECT_EQ(UpdateStatus2->GetCaption(), "U14");
  EXPECT_TRUE(UpdateDownloadButton->GetEnabled());
  EXPECT_EQ(UpdateInfoValues[0]->GetCaption(), "Tilvarok");
  EXPECT_EQ(UpdateInfoValues[2]->GetCaption(), "1.5.0.29");
  EXPECT_EQ(UpdateInfoValues[3]->GetCaption(), "1.5.0.30");
  EXPECT_EQ(SettingsFile->ReadString("Settings", "Updated", ""), "11-12-2026");

  TDialogAnswers Answers;
  Answers.FileName = Folder + "/Chosen name.bin";
  UpdateDownloadButton->Click();
  RunUntilIdle();
  EXPECT_EQ(Answers.FileDialogs, 1);
  // The offered name in the chosen folder; the file is not run, its folder is opened.
  EXPECT_TRUE(FileExists(Folder + "/Setup.bin"));
  EXPECT_EQ(Form->mxWebUpdate->GetLocalFileName(), Folder + "/Setup.bin");
  EXPECT_EQ(UpdateStatus1->GetCaption(), "U22");
  EXPECT_EQ(UpdateStatus2->GetCaption(), Folder + "/Setup.bin");
  EXPECT_EQ(UpdateGauge->GetValue(), 0);
  EXPECT_EQ(UpdateGauge->GetMaxValue(), 3000);
  EXPECT_EQ(OpenedFolders.size(), 1u);
  EXPECT_FALSE(Form->mxWebUpdate->GetBusy());
}

TEST_F(UpdateCommandTest, DecliningOrCancellingEndsTheOffer) {
  ServePage("2.0");
  CheckNow();
  ASSERT_TRUE(Form->mxWebUpdate->GetBusy());
  {
    TDialogAnswers Answers;  // no name: the save dialog is cancelled
    EXPECT_FALSE(Form->StartDownload(nullptr));
  }
  EXPECT_FALSE(Form->mxWebUpdate->GetBusy());
  EXPECT_FALSE(FileExists(Folder + "/Setup.bin"));

  CheckNow();
  ASSERT_TRUE(Form->mxWebUpdate->GetBusy());
  UpdateCancelButton->Click();
  RunUntilIdle();
  EXPECT_FALSE(Form->mxWebUpdate->GetBusy());
  EXPECT_FALSE(UpdateWindow->GetVisible());
}

TEST_F(UpdateCommandTest, ADownloadThatCannotBeSavedIsNotReportedComplete) {
  ServePage("2.0");
  CheckNow();
  TDialogAnswers Answers;
  // The save dialog takes no name in a missing folder; a folder nothing can be written into
  // (the kernel's, even for root) makes the save fail.
  Answers.FileName = "/proc/Setup.bin";
  UpdateDownloadButton->Click();
  RunUntilIdle();
  EXPECT_FALSE(FileExists("/proc/Setup.bin"));
  EXPECT_EQ(UpdateStatus1->GetCaption(), "The download failed.");
  EXPECT_TRUE(OpenedFolders.empty());
}

TEST_F(UpdateCommandTest, NoNewerVersionLeavesTheDownloadDisabled) {
  ServePage("1.5");
  CheckNow();
  ASSERT_NE(UpdateWindow, nullptr);
  EXPECT_EQ(UpdateStatus1->GetCaption(), "U19");
  EXPECT_EQ(UpdateStatus2->GetCaption(), "U20");
  EXPECT_FALSE(UpdateDownloadButton->GetEnabled());
  EXPECT_FALSE(Form->mxWebUpdate->GetBusy());
}

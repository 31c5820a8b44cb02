// The rules around a build: busy and cancel, nested builds, loads that fail or are too large,
// the smallest sources, seeds on the edge, saving, and the result on the screen.
#include <cstdio>
#include <fstream>

#include "AppTestSupport.h"
#include "platform/classes/JPEGImage.h"
#include "platform/classes/Screen.h"
#include "platform/system/Exceptions.h"
#include "platform/system/Files.h"
#include "platform/system/Math.h"
#include "platform/system/Paths.h"
#include "skin/boxctrls/bsSkinBoxCtrls.h"
#include "skin/dialogs/bsMessages.h"
#include "skin/dialogs/bsSkinShellCtrls.h"

namespace {
std::string ReadStart(const std::string& Path, std::size_t Count) {
  std::ifstream In(Path, std::ios::binary);
  std::string S(Count, '\0');
  In.read(S.data(), static_cast<std::streamsize>(Count));
  return S.substr(0, static_cast<std::size_t>(In.gcount()));
}
}  // namespace

TEST_F(TMosaicTest, ACancelledBuildShowsThePartialResultAndReturnsToIdle) {
  LoadUniform(400, 300, Rgb(10, 20, 30));
  // The click on the button, which reads "Cancel" by then, arrives at the build's first pump.
  const TPoint P = Form->UpdateBtn->ClientToScreen(TPoint{10, 10});
  Headless().Click(P.X, P.Y);
  Form->CreateMosaic(Form->UpdateBtn);
  EXPECT_EQ(AbortRequested, 1);
  EXPECT_EQ(Busy, 0);
  EXPECT_EQ(BuildRunning, 0);
  EXPECT_EQ(Form->UpdateBtn->GetCaption(), "Update mosaic");
  EXPECT_EQ(Form->StatusPanel->GetCaption(), " Ready");
  // The frame was left uncropped and uncoloured, and is shown.
  EXPECT_EQ(ResultBitmap->GetWidth(), PatternSize);
  EXPECT_EQ(ResultBitmap->GetHeight(), PatternSize);
  EXPECT_EQ(Form->Image1->GetBitmap()->GetWidth(), PatternSize);
  // The button builds again.
  Form->UpdateBtn->Click();
  EXPECT_EQ(AbortRequested, 0);
  EXPECT_EQ(ResultBitmap->GetWidth(), Min(SourceBitmap->GetWidth(), PatternBitmap->GetWidth()) - 1);
}

TEST_F(TMosaicTest, BuildsAreNeitherRepeatedNorNestedWhileBusy) {
  TBuildCounter Builds;
  ResultJpeg->OnChange = TNotifyEvent(&Builds, &TBuildCounter::Changed);
  // A request while busy is dropped.
  Busy = 1;
  Form->CreateMosaic(Form->UpdateBtn);
  Form->PatternColors->SetChecked(true);
  Busy = 0;
  EXPECT_EQ(Builds.Count, 0);
  // Not ready: nothing either.
  Ready = 0;
  Form->CreateMosaic(Form->UpdateBtn);
  Ready = 1;
  EXPECT_EQ(Builds.Count, 0);
  // An option changed by a click during a build runs its handler, which finds the window busy.
  // (The grid options start disabled; choosing a pattern enables them.)
  Form->GridShow->SetEnabled(true);
  Form->WhiteGrid->SetEnabled(true);
  const TPoint P = Form->GridShow->ClientToScreen(TPoint{6, 6});
  Headless().Click(P.X, P.Y);
  Form->CreateMosaic(Form->UpdateBtn);
  EXPECT_TRUE(Form->GridShow->GetChecked());
  EXPECT_EQ(Builds.Count, 1);
  // White grid with the grid shown: the grid is switched off, and that switch builds once
  // before the build asked for.
  Busy = 1;
  Form->WhiteGrid->SetChecked(true);
  Busy = 0;
  Builds.Count = 0;
  Form->CreateMosaic(Form->UpdateBtn);
  EXPECT_FALSE(Form->GridShow->GetChecked());
  EXPECT_EQ(Builds.Count, 2);
  // Kaleidoscope and free drawing build only from the button.
  PatternType = ptKaleidoscope;
  Builds.Count = 0;
  Form->ChangeControl(Form->TrackBarP[0]);
  EXPECT_EQ(Builds.Count, 0);
  Form->CreateMosaic(Form->UpdateBtn);
  EXPECT_EQ(Builds.Count, 1);
}

TEST_F(TMosaicTest, ASourceAboveOneHundredMegapixelsIsRefusedAndTheOldOneKept) {
  TDialogAnswers Answers;
  Form->NoRim->SetChecked(false);
  LoadUniform(501, 500, Rgb(1, 2, 3));
  const std::string Name = SourceFileName;
  TBuildCounter Builds;
  ResultJpeg->OnChange = TNotifyEvent(&Builds, &TBuildCounter::Changed);
  Form->MultSpin->SetValue(20);  // 10020 x 10000
  ASSERT_EQ(Answers.Messages.size(), 1u);
  EXPECT_NE(Answers.Messages[0].find("10020 x 10000"), std::string::npos) << Answers.Messages[0];
  EXPECT_NE(Answers.Messages[0].find("100 megapixels"), std::string::npos) << Answers.Messages[0];
  EXPECT_EQ(SourceBitmap->GetWidth(), 501);
  EXPECT_EQ(SourceFileName, Name);
  EXPECT_EQ(Form->MultSpin->GetValue(), 1);
  EXPECT_EQ(Builds.Count, 0);
  EXPECT_EQ(Busy, 0);
  // A multiplier within the bound loads and builds.
  Form->MultSpin->SetValue(2);
  EXPECT_EQ(Answers.Messages.size(), 1u);
  EXPECT_EQ(SourceBitmap->GetWidth(), 1002);
  EXPECT_EQ(Builds.Count, 1);
  // A long narrow picture whose square pattern would be far larger than itself.
  LoadUniform(1001, 30, Rgb(1, 2, 3));
  Builds.Count = 0;
  Form->MultSpin->SetValue(20);  // 20020 x 600, 12 megapixels
  ASSERT_EQ(Answers.Messages.size(), 2u);
  EXPECT_NE(Answers.Messages[1].find("20020 x 600"), std::string::npos) << Answers.Messages[1];
  EXPECT_NE(Answers.Messages[1].find("longer than 20000 pixels"), std::string::npos) << Answers.Messages[1];
  EXPECT_EQ(SourceBitmap->GetWidth(), 1001 * 2);
  EXPECT_EQ(Builds.Count, 0);
}

TEST_F(TMosaicTest, ALoadThatFailsKeepsThePreviousSource) {
  LoadUniform(120, 90, Rgb(5, 6, 7));
  const std::string Name = SourceFileName;
  const Integer W = SourceBitmap->GetWidth();
  {
    std::ofstream Out(ToNativePath(ResultsDir + "\\TextOut.bmp"), std::ios::binary);
    Out << "BM this is not a bitmap";
  }
  TextMode = 1;
  EXPECT_THROW(Form->LoadPicture(Form->LoadPicBtn), Exception);
  TextMode = 0;
  EXPECT_EQ(SourceFileName, Name);
  EXPECT_EQ(SourceBitmap->GetWidth(), W);
  EXPECT_EQ(Busy, 0);
  // A file of no known picture type loads as nothing, which fails the same way.
  const std::string Odd = ResultsDir + "\\picture.xyz";
  {
    std::ofstream Out(ToNativePath(Odd), std::ios::binary);
    Out << "data";
  }
  TDialogAnswers Answers;
  Answers.FileName = Odd;
  EXPECT_THROW(Form->LoadPicture(Form->LoadPicBtn), Exception);
  EXPECT_EQ(SourceFileName, Name);
  EXPECT_EQ(SourceBitmap->GetWidth(), W);
}

TEST_F(TMosaicTest, NoPictureIsLoadedWhileABuildRuns) {
  LoadUniform(200, 150, Rgb(10, 20, 30));
  TDialogAnswers Answers;
  auto Other = MakeBitmap(90, 60, [](Integer, Integer) { return clRed; });
  Answers.FileName = ResultsDir + "\\other.bmp";
  Other->SaveToFile(Answers.FileName);
  Busy = 1;
  BuildRunning = 1;
  Form->LoadPicture(Form->LoadPicBtn);
  Busy = 0;
  BuildRunning = 0;
  EXPECT_EQ(Answers.FileDialogs, 0);
  EXPECT_EQ(SourceBitmap->GetHeight(), 150 + Rim);
  Form->LoadPicture(Form->LoadPicBtn);
  EXPECT_EQ(Answers.FileDialogs, 1);
  EXPECT_EQ(SourceBitmap->GetHeight(), 60 + Rim);
}

TEST_F(TMosaicTest, SourcesTooSmallForOneCellAreOneCell) {
  Form->NoRim->SetChecked(false);
  for (const auto& S : {std::pair{10, 8}, std::pair{1, 1}, std::pair{3, 60}}) {
    LoadUniform(S.first, S.second, Rgb(40, 50, 60));
    EXPECT_EQ(CellsX, 1);
    EXPECT_EQ(NodeCount, Max(CellsX, CellsY) + 1);
    EXPECT_EQ(ResultBitmap->GetWidth(), Max(Min(S.first, PatternSize) - 1, 0));
    EXPECT_EQ(Busy, 0);
  }
}

TEST_F(TMosaicTest, SeedsOnOrBeyondTheRightAndBottomEdgeAreSkipped) {
  LoadUniform(50, 40, Rgb(40, 50, 60));
  Busy = 1;
  Form->GridShow->SetChecked(true);
  Form->Blending->SetChecked(false);
  Busy = 0;
  auto B = MakeBitmap(50, 40, [](Integer, Integer) { return clWhite; });
  CellCentreX[0] = CellCentreY[0] = -1;
  SeedCount = 0;
  AddSeed(50, 10);
  AddSeed(10, 40);
  AddSeed(-1, 5);
  BuildRunning = 0;
  Form->MatchColors(B.get());
  EXPECT_EQ(ColorCounter, 0);
  AddSeed(49, 39);
  auto Fresh = MakeBitmap(50, 40, [](Integer, Integer) { return clWhite; });
  Form->MatchColors(Fresh.get());
  EXPECT_EQ(ColorCounter, 1);
}

TEST(MosaicSaveNames, ExtensionsOfTheTableAreKeptOthersGetJpg) {
  const struct {
    const char* Name;
    Integer FilterIndex;
    const char* Saved;
  } Cases[] = {
      {"/r/pic", 1, "/r/pic.jpg"},         {"/r/pic.jpg", 1, "/r/pic.jpg"},
      {"/r/pic.JPG", 1, "/r/pic.JPG"},     {"/r/pic.png", 1, "/r/pic.png"},
      {"/r/pic.bmp", 1, "/r/pic.bmp"},     {"/r/pic.jpeg", 1, "/r/pic.jpeg"},
      {"/r/pic.", 1, "/r/pic..jpg"},       {"/r/pic.tif", 1, "/r/pic.tif.jpg"},
      {"/r/a.b/pic", 1, "/r/a.b/pic.jpg"}, {"/r/pic", 4, "/r/pic.bmp"},
      {"/r/pic", 0, "/r/pic.jpg"},
  };
  for (const auto& C : Cases) EXPECT_EQ(ResultSaveName(C.Name, C.FilterIndex), C.Saved) << C.Name;
}

TEST_F(TMosaicTest, SaveResultWritesTheFormatOfTheChosenName) {
  LoadUniform(100, 80, Rgb(200, 100, 50));
  TDialogAnswers Answers;
  const struct {
    const char* Typed;
    const char* Written;
    std::string Start;
  } Cases[] = {
      {"result-a", "result-a.jpg", "\xFF\xD8\xFF"},
      {"result-b.PNG", "result-b.PNG", "\x89PNG"},
      {"result-c.bmp", "result-c.bmp", "BM"},
  };
  for (const auto& C : Cases) {
    Answers.FileName = ResultsDir + "\\" + C.Typed;
    Form->SaveResult(Form->SaveBtn);
    const std::string Path = ToNativePath(ResultsDir + "\\" + C.Written);
    EXPECT_EQ(ReadStart(Path, C.Start.size()), C.Start) << C.Written;
  }
  // The saved picture is the result.
  TJPEGImage Saved;
  Saved.LoadFromFile(ResultsDir + "\\result-a.jpg");
  EXPECT_EQ(Saved.GetWidth(), ResultBitmap->GetWidth());
  EXPECT_EQ(Saved.GetHeight(), ResultBitmap->GetHeight());
  // A cancelled dialog writes nothing.
  Answers.FileName = "";
  Form->SaveResult(Form->SaveBtn);
  // With automatic save every build writes Result.jpg.
  const std::string Auto = ResultsDir + "\\Result.jpg";
  DeleteFile(Auto);
  Form->AutoSave->SetChecked(true);
  Form->CreateMosaic(Form->UpdateBtn);
  EXPECT_EQ(ReadStart(ToNativePath(Auto), 3), "\xFF\xD8\xFF");
}

TEST_F(TMosaicTest, TheBuiltMosaicIsShownInTheResultImage) {
  // Red on the left half, little red on the right, green growing downwards.
  Form->NoRim->SetChecked(false);
  auto Source =
      MakeBitmap(640, 480, [](Integer X, Integer Y) { return Rgb(X < 320 ? 200 : 40, Y * 255 / 480, 90); });
  LoadSource(Source.get());
  RunUntilIdle();
  ASSERT_TRUE(SavePng("app-mosaic-screenshot.png", Form->GetHandle()));
  EXPECT_EQ(Form->Image1->GetBitmap()->GetWidth(), 639);
  const TScreenshot Shot = Screenshot();
  const TRect Shown = Form->Image1->CalcBitmapRect();
  // Screen pixels are 0x00RRGGBB.
  for (const auto& [Fraction, Red] : {std::pair{0.25, 200u}, std::pair{0.75, 40u}}) {
    const TPoint P = Form->Image1->ClientToScreen(
        TPoint{Shown.Left + static_cast<Integer>(Shown.Width() * Fraction), Shown.Top + Shown.Height() / 2});
    EXPECT_EQ(Shot.Pixel(P.X, P.Y) >> 16, Red) << Fraction;
    EXPECT_EQ(Shot.Pixel(P.X, P.Y) & 0xFF, 90u) << Fraction;
  }
}

TEST_F(TMosaicTest, ABuildThatFailsLeavesTheWindowReadyForTheNext) {
  LoadUniform(100, 80, Rgb(9, 9, 9));
  const std::string Results = ResultsDir;
  ResultsDir = Results + "\\missing\\folder";
  Form->AutoSave->SetChecked(true);
  EXPECT_THROW(Form->CreateMosaic(Form->UpdateBtn), Exception);
  EXPECT_EQ(Busy, 0);
  EXPECT_EQ(BuildRunning, 0);
  EXPECT_EQ(Form->UpdateBtn->GetCaption(), "Update mosaic");
  EXPECT_EQ(Form->StatusPanel->GetCaption(), " Ready");
  ResultsDir = Results;
  Form->CreateMosaic(Form->UpdateBtn);
  EXPECT_EQ(Busy, 0);
}

// Long work and what it leaves behind: requests refused while a build, load or submit runs
// put their control back; a load says it is working and is undone cleanly when it fails; a
// drawing square follows a new picture; saves that fail part-way keep the user's file.
#include <string>

#include "AppTestSupport.h"
#include "SettingsTestSupport.h"
#include "app/ProjectFiles.h"
#include "platform/system/Exceptions.h"
#include "platform/system/Files.h"
#include "platform/system/Streams.h"
#include "tests/support/FileSizeLimit.h"

namespace {
// Sees the window in the middle of a load: the option handlers run while it sets the controls.
struct TLoadProbe {
  std::string Status;
  TCursor Cursor = crDefault;
  bool Fail = false;
  void See(TObject*) {
    Status = Form1->StatusPanel->GetCaption();
    Cursor = Screen->GetCursor();
    if (Fail) throw Exception("no memory left");
  }
};

std::string FileText(const std::string& Name) {
  TFileStream In(Name, fmOpenRead);
  std::string S(static_cast<std::size_t>(In.GetSize()), '\0');
  In.ReadBuffer(S.data(), static_cast<Integer>(S.size()));
  return S;
}

void SelectPattern(TForm1* Form, Integer Type) {
  Form->PatternBox->SetItemIndex(Type);
  Form->SelectType(Form->PatternBox);
}
}  // namespace

TEST_F(TMosaicTest, ControlsAskingForALoadOrRebuildWhileBusyArePutBack) {
  LoadUniform(200, 150, Rgb(10, 20, 30));
  const Integer SourceW = SourceBitmap->GetWidth();
  TBuildCounter Builds;
  Builds.Attach();
  // A submit or a load runs: busy, though no build.
  Busy = 1;
  BuildRunning = 0;
  Form->NoRim->SetChecked(false);
  Form->MultSpin->SetValue(3);
  Form->SpinEdit5->SetValue(40);
  SelectPattern(Form.get(), ptHexagons);
  Busy = 0;
  EXPECT_TRUE(Form->NoRim->GetChecked());
  EXPECT_EQ(Form->MultSpin->GetValue(), 1);
  EXPECT_EQ(Form->SpinEdit5->GetValue(), 20);
  EXPECT_EQ(GridPx, 20);
  EXPECT_EQ(Form->PatternBox->GetItemIndex(), ptPinch);
  EXPECT_EQ(PatternType, ptPinch);
  EXPECT_EQ(SourceBitmap->GetWidth(), SourceW);
  EXPECT_EQ(Builds.Count, 0);
  // Once idle the same changes go through.
  Form->MultSpin->SetValue(2);
  EXPECT_EQ(SourceBitmap->GetWidth(), 2 * SourceW);
}

TEST_F(TMosaicTest, ALoadShowsThatItWorksAndEndsReadyEvenWhenItFails) {
  TLoadProbe Probe;
  Form->FrameOnly->OnClick = TNotifyEvent(&Probe, &TLoadProbe::See);
  LoadUniform(60, 40, Rgb(1, 2, 3));
  EXPECT_EQ(Probe.Status, " TextOut.bmp...");
  EXPECT_EQ(Probe.Cursor, crHourGlass);
  EXPECT_EQ(Screen->GetCursor(), crDefault);
  EXPECT_EQ(Form->StatusPanel->GetCaption(), " Ready");

  Probe.Fail = true;
  auto Picture = MakeBitmap(50, 30, [](Integer, Integer) { return clRed; });
  EXPECT_THROW(LoadSource(Picture.get()), Exception);
  TextMode = 0;
  EXPECT_EQ(Busy, 0);
  EXPECT_EQ(Screen->GetCursor(), crDefault);
  // The window takes further work.
  Probe.Fail = false;
  LoadUniform(80, 60, Rgb(1, 2, 3));
  EXPECT_EQ(SourceBitmap->GetWidth(), 80 + Rim);
}

TEST_F(TMosaicTest, APictureLoadedWhileDrawingResizesTheDrawingSquareAndShowsThePictureArea) {
  SelectPattern(Form.get(), ptKaleidoscope);
  LoadUniform(300, 200, Rgb(10, 20, 30));
  // 320 x 220 with the rim: 15 x 10 cells of 20, 16 nodes, a square of 320.
  ASSERT_EQ(PatternSize, 320);
  for (TBitmap* B : {DrawingBitmap.get(), DrawingHistoryBitmap.get(), ResultBitmap.get()}) {
    EXPECT_EQ(B->GetWidth(), 320);
    EXPECT_EQ(B->GetHeight(), 320);
  }
  // The frame of the part the crop keeps, 10 pixels inside it: left 10, top (320 - 220) / 2 + 10.
  EXPECT_EQ(PixelAt(DrawingBitmap.get(), 10, 160), clLime);
  EXPECT_EQ(PixelAt(DrawingBitmap.get(), 160, 60), clLime);
  EXPECT_EQ(PixelAt(DrawingBitmap.get(), 160, 59), clWhite);
  EXPECT_EQ(Form->Image1->GetBitmap()->GetWidth(), 320);
}

TEST_F(TMosaicTest, WithoutAGlassPictureEveryCellGetsTheSameGlass) {
  ASSERT_EQ(GlassFXBitmap->GetWidth(), 0);
  const TColor Cell = Rgb(100, 60, 20);
  Form->GlassBar->SetValue(50);
  for (Integer Run = 0; Run < 3; ++Run) {
    auto Tile = MakeBitmap(10, 10, [&](Integer, Integer) { return Cell; });
    Form->Filter(0, 0, 5, Tile.get(), GlassFXBitmap.get(), Cell);
    // Half the cell over the black of an empty glass square.
    EXPECT_EQ(PixelAt(Tile.get(), 3, 7), Rgb(50, 30, 10)) << "run " << Run;
  }
}

TEST_F(TMosaicTest, AutomaticSaveOfATinySourceIsNoError) {
  Form->NoRim->SetChecked(false);
  Form->AutoSave->SetChecked(true);
  LoadUniform(1, 1, Rgb(40, 50, 60));
  EXPECT_NO_THROW(Form->CreateMosaic(Form->UpdateBtn));
  EXPECT_NO_THROW(Form->CreateMosaic(Form->UpdateBtn));
  EXPECT_EQ(Busy, 0);
}

TEST_F(TMosaicTest, AProjectSavedAfterALanguageSwitchReopensWithItsType) {
  ForceDirectories(ProjectsDir);
  SelectPattern(Form.get(), ptCircles);
  const std::string Language = DataDir + "/Plain.lan";
  WriteTextFile(Language, "[Interface]\n4=Build\n[Variables]\n10=Done\n");
  LoadLanguageFile(Language);
  ASSERT_EQ(PatternType, ptCircles);
  EXPECT_EQ(Form->PatternBox->GetItemIndex(), ptCircles);
  TDialogAnswers Answers;
  const std::string Project = ProjectsDir + "/circles.prj";
  SaveProjectFile(Project);
  SelectPattern(Form.get(), ptPinch);
  LoadProjectFile(Project);
  EXPECT_EQ(PatternType, ptCircles);
}

TEST_F(TMosaicTest, SavesThatFailPartWayKeepTheUsersFiles) {
  ForceDirectories(ProjectsDir);
  LoadUniform(120, 90, Rgb(70, 80, 90));
  TDialogAnswers Answers;
  const std::string Project = ProjectsDir + "/kept.prj";
  SaveProjectFile(Project);
  const std::string OldProject = FileText(Project);
  const std::string Result = ResultsDir + "/kept.jpg";
  Answers.FileName = Result;
  Form->SaveResult(Form->SaveBtn);
  const std::string OldResult = FileText(Result);
  ASSERT_GT(OldResult.size(), 100u);

  Answers.Messages.clear();
  Form->TrackBarP[0]->SetValue(33);
  {
    TFileSizeLimit Limit(64);
    SaveProjectFile(Project);
    EXPECT_ANY_THROW(Form->SaveResult(Form->SaveBtn));
  }
  ASSERT_EQ(Answers.Messages.size(), 1u);
  EXPECT_EQ(Answers.Messages[0], "Project \"" + Project + "\" could not be saved.");
  EXPECT_EQ(FileText(Project), OldProject);
  EXPECT_EQ(FileText(Result), OldResult);
}

TEST_F(TMosaicTest, ALanguageSwitchKeepsShowingTheSourceInUse) {
  Form->NoRim->SetChecked(false);
  LoadUniform(120, 90, Rgb(70, 80, 90));
  const std::string Language = DataDir + "/Sizes.lan";
  SelectPattern(Form.get(), ptCircles);
  WriteTextFile(Language, "[Interface]\n4=Build\n49=Verformung\n[Variables]\n9=Groesse\n32=Waagerecht\n");
  LoadLanguageFile(Language);
  EXPECT_EQ(Form->Label13->GetCaption(), "Groesse: 120 x 90");
  // Every named slider speaks the new language, the first one with the type's own name.
  EXPECT_EQ(Form->LabelP[0]->GetCaption(), "Groesse");
  EXPECT_EQ(Form->LabelP[2]->GetCaption(), "Waagerecht");
  EXPECT_EQ(Form->LabelP[1]->GetCaption(), "");
}

// Project files through the menu "Projects": a round trip of the controls, the defaults of a
// bare or foreign file, the kaleidoscope's points, invalid points, a failed save and deleting.
#include <initializer_list>
#include <string>
#include <vector>

#include "AppTestSupport.h"
#include "app/ProjectFiles.h"
#include "platform/classes/Menus.h"
#include "platform/system/Files.h"
#include "platform/system/IniFiles.h"
#include "platform/system/StringList.h"
#include "platform/user/WindowMessages.h"

namespace {
class TProjectsTest : public TMosaicTest {
 protected:
  void SetUp() override {
    TMosaicTest::SetUp();
    ForceDirectories(ProjectsDir);
    Builds.Attach();
  }
  static std::string PathOf(const std::string& Name) { return ProjectsDir + "\\" + Name; }
  static void WriteFile(const std::string& Name, const std::string& Text) {
    TStringList L;
    L.SetText(Text);
    L.SaveToFile(PathOf(Name));
  }
  // Through the menu and its dialog; the messages shown.
  std::vector<std::string> Save(const std::string& Typed) {
    TDialogAnswers Answers;
    Answers.FileName = Typed;
    Click("Saveproject1");
    EXPECT_EQ(Answers.FileDialogs, 1);
    return Answers.Messages;
  }
  std::vector<std::string> Open(const std::string& Typed) {
    TDialogAnswers Answers;
    Answers.FileName = Typed;
    Click("Openproject1");
    EXPECT_EQ(Answers.FileDialogs, 1);
    return Answers.Messages;
  }
  void Click(const char* Item) { static_cast<TMenuItem*>(Form->FindComponent(Item))->Click(); }
  void ChooseType(Byte Type) {
    Form->PatternBox->SetItemIndex(Type);
    Form->SelectType(Form->PatternBox);
    ASSERT_EQ(PatternType, Type);
  }
  std::vector<TbsSkinCheckRadioBox*> Boxes() const {
    return {Form->GridShow, Form->WhiteGrid, Form->FrameOnly,  Form->KeepShape, Form->Blending,
            Form->Edges,    Form->GlassFX,   Form->ApplyShade, Form->AutoAlias};
  }
  std::vector<bool> Checked() const {
    std::vector<bool> R;
    for (TbsSkinCheckRadioBox* B : Boxes()) R.push_back(B->GetChecked());
    return R;
  }
  TBuildCounter Builds;
};

TEST_F(TProjectsTest, SaveAndOpenRestoreTypeSlidersOptionsAndBars) {
  LoadUniform(120, 80, Rgb(90, 120, 150));
  ChooseType(ptSpirograph);
  const Integer P[6] = {-40, 30, -70, 55, 12, 77};
  for (Integer I = 0; I < 6; ++I) Form->TrackBarP[I]->SetValue(P[I]);
  // Grid and white grid together would lose the grid at the next build.
  const std::vector<bool> Options = {true, false, false, true, false, false, true, true, true};
  for (std::size_t K = 0; K < Options.size(); ++K) Boxes()[K]->SetChecked(Options[K]);
  Form->BlendBar->SetValue(33);
  Form->ClipBar->SetValue(66);
  Form->GlassBar->SetValue(15);

  const std::vector<std::string> Saved = Save("round");
  ASSERT_EQ(Saved.size(), 1u);
  // The dialog completes the typed name with the filter's extension.
  const std::string File = PathOf("round.prj");
  ASSERT_TRUE(FileExists(File));
  EXPECT_TRUE(Saved[0].starts_with("Project \"") && Saved[0].ends_with("round.prj\" successfully saved"))
      << Saved[0];
  TIniFile Ini(File);
  EXPECT_EQ(Ini.ReadString("Project", "Pattern", ""), "7");
  EXPECT_EQ(Ini.ReadString("Project", "Param 1", ""), "-40");
  EXPECT_EQ(Ini.ReadString("Project", "Grid", ""), "1");
  EXPECT_EQ(Ini.ReadString("Project", "No picture", ""), "0");
  EXPECT_EQ(Ini.ReadString("Project", "Glass FX amount", ""), "15");
  EXPECT_FALSE(Ini.SectionExists("Kaleidoscope"));

  ChooseType(ptHexagons);
  for (TbsSkinCheckRadioBox* B : Boxes()) B->SetChecked(false);
  Form->BlendBar->SetValue(0);
  Builds.Count = 0;

  EXPECT_EQ(Open("round.prj"), std::vector<std::string>{"Project \"round\" successfully opened."});
  EXPECT_EQ(Builds.Count, 1);
  EXPECT_EQ(Ready, 1);
  EXPECT_EQ(PatternType, ptSpirograph);
  EXPECT_EQ(Form->PatternBox->GetItemIndex(), ptSpirograph);
  EXPECT_TRUE(Form->PatternItems[ptSpirograph]->GetChecked());
  for (Integer I = 0; I < 6; ++I) EXPECT_EQ(Form->TrackBarP[I]->GetValue(), P[I]) << "P" << I + 1;
  EXPECT_EQ(Checked(), Options);
  EXPECT_EQ(Form->BlendBar->GetValue(), 33);
  EXPECT_EQ(Form->ClipBar->GetValue(), 66);
  EXPECT_EQ(Form->GlassBar->GetValue(), 15);
}

// A file with only the pattern type, and a file that is no INI file at all, open with the
// defaults and build.
TEST_F(TProjectsTest, MissingKeysReadAsTheDefaults) {
  struct TCase {
    const char* Name;
    const char* Text;
  };
  const TCase Cases[] = {{"bare.prj", "[Project]\nPattern=0\n"},
                         {"foreign.prj", "GIF89a\x01\x02 not a project\n"}};
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    ChooseType(ptHexagons);
    for (TbsSkinCheckRadioBox* B : Boxes()) B->SetChecked(B != Form->FrameOnly);
    Form->ClipBar->SetValue(80);
    WriteFile(C.Name, C.Text);
    Builds.Count = 0;
    const std::vector<std::string> Messages = Open(C.Name);
    ASSERT_EQ(Messages.size(), 1u);
    EXPECT_TRUE(Messages[0].ends_with("\" successfully opened.")) << Messages[0];
    EXPECT_EQ(Builds.Count, 1);
    EXPECT_EQ(PatternType, ptPinch);
    EXPECT_EQ(Form->TrackBarP[0]->GetValue(), 0);
    EXPECT_EQ(Checked(), (std::vector<bool>{false, false, true, false, true, true, false, false, false}));
    EXPECT_EQ(Form->ClipBar->GetValue(), 0);
  }
}

// The kaleidoscope on a 200 x 200 square; two strokes drawn with the mouse.
class TKaleidoProjectTest : public TProjectsTest {
 protected:
  void DrawTwoStrokes() {
    CellsX = CellsY = 9;
    ChooseType(ptKaleidoscope);
    ASSERT_EQ(PatternSize, 200);
    Stroke({{20, 60}, {40, 60}});
    Stroke({{40, 120}, {60, 120}});
  }
  void Stroke(std::initializer_list<TPoint> Points) {
    const TRect R = Form->Image1->CalcBitmapRect();
    const TPoint First = *Points.begin();
    Form->ImageMouseDown(Form->Image1, mbLeft, TShiftState{ssLeft}, R.Left + First.X, R.Top + First.Y,
                         nullptr);
    for (const TPoint& P : Points)
      Form->ImageMouseMove(Form->Image1, TShiftState{ssLeft}, R.Left + P.X, R.Top + P.Y, nullptr);
    Form->ImageMouseUp(Form->Image1, mbLeft, TShiftState{}, 0, 0, nullptr);
  }
  static std::string Section(const std::string& Name) {
    TStringList L;
    TMemIniFile(PathOf(Name)).ReadSectionValues("Kaleidoscope", &L);
    return L.GetText();
  }
};

TEST_F(TKaleidoProjectTest, PointsSurviveSaveOpenSaveAndAreDrawnAsOneLine) {
  DrawTwoStrokes();
  const std::vector<TPoint> Drawn(KaleidoPoints.begin(), KaleidoPoints.begin() + PointCount);
  ASSERT_EQ(Drawn.size(), 4u);
  // Between the strokes nothing is drawn yet.
  ASSERT_EQ(PixelAt(DrawingHistoryBitmap.get(), 40, 90), clWhite);
  Save("kal");
  TStringList Text;
  Text.LoadFromFile(PathOf("kal.prj"));
  const std::string Written = Text.GetText();
  EXPECT_NE(Written.find("Points=4"), std::string::npos);
  EXPECT_NE(Written.find("1=    20     60"), std::string::npos) << Written;
  EXPECT_NE(Written.find("4=    60    120"), std::string::npos) << Written;

  ChooseType(ptPinch);
  Builds.Count = 0;
  EXPECT_EQ(Open("kal.prj"), std::vector<std::string>{"Project \"kal\" successfully opened."});
  EXPECT_EQ(Builds.Count, 1);
  EXPECT_EQ(PatternType, ptKaleidoscope);
  ASSERT_EQ(PointCount, 4);
  EXPECT_EQ(std::vector<TPoint>(KaleidoPoints.begin(), KaleidoPoints.begin() + PointCount), Drawn);
  // One polyline through all points: the strokes are joined, in each symmetric image.
  TBitmap* History = DrawingHistoryBitmap.get();
  EXPECT_EQ(PixelAt(History, 30, 60), clBlack);
  EXPECT_EQ(PixelAt(History, 50, 120), clBlack);
  EXPECT_EQ(PixelAt(History, 40, 90), clBlack);
  EXPECT_EQ(PixelAt(History, 160, 110), clBlack);  // its point reflection

  Save("kal2");
  EXPECT_EQ(Section("kal2.prj"), Section("kal.prj"));
}

// Points a file may not be taken at: a warning, the valid points before the fault kept, and the
// build runs all the same. Values are read trimmed, so a short x and a long y still read.
TEST_F(TKaleidoProjectTest, InvalidPointsWarnAndStillBuild) {
  struct TCase {
    const char* Points;
    bool Valid;
    Integer Kept;
    TPoint First;
  };
  const TCase Cases[] = {
      {"Points=2\n1=     5    123\n2=-12 7\n", true, 2, {5, 123}},
      {"Points=3\n1=    10     10\n2=abc\n3=     1      1\n", false, 1, {10, 10}},
      {"Points=2\n1=    10     10\n", false, 1, {10, 10}},  // a key missing
      {"Points=1\n1=     1      2      3\n", false, 0, {}},
      {"Points=1\n1=-2147483648 0\n", false, 0, {}},
      {"Points=-1\n", false, 0, {}},
      {"Points=20000000\n1=     1      1\n", false, 0, {}},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Points);
    WriteFile("odd.prj", std::string("[Project]\nPattern=8\n[Kaleidoscope]\n") + C.Points);
    ChooseType(ptPinch);
    Builds.Count = 0;
    const std::vector<std::string> Messages = Open("odd.prj");
    EXPECT_EQ(Messages, std::vector<std::string>{C.Valid ? "Project \"odd\" successfully opened."
                                                         : "Project \"odd\" could not be opened."});
    EXPECT_EQ(Builds.Count, 1);
    EXPECT_EQ(Ready, 1);
    EXPECT_EQ(PatternType, ptKaleidoscope);
    EXPECT_EQ(PointCount, C.Kept);
    ASSERT_EQ(KaleidoPoints.size(), static_cast<std::size_t>(C.Kept));
    if (C.Kept > 0) {
      EXPECT_EQ(KaleidoPoints[0], C.First);
    }
  }
}

TEST_F(TProjectsTest, ASaveThatCannotBeWrittenWarns) {
  TDialogAnswers Answers;
  const std::string File = ProjectsDir + "\\no such folder\\p.prj";
  SaveProjectFile(File);
  EXPECT_EQ(Answers.Messages, std::vector<std::string>{"Project \"" + File + "\" could not be saved."});
  EXPECT_FALSE(FileExists(File));
}

// Answers the delete dialog with the file's name and the confirmation with Answer.
struct TDeleteAnswers {
  std::string FileName;
  TModalResult Answer;
  std::vector<std::string> Titles, Messages;
  TDeleteAnswers(std::string Name, TModalResult A) : FileName(std::move(Name)), Answer(A) {
    SetModalHook([this] {
      TForm* Active = Screen->GetActiveForm();
      if (auto* Box = dynamic_cast<TbsMessageForm*>(Active)) {
        Messages.push_back(Box->Message->GetCaption());
        Box->SetModalResult(Messages.size() == 1 ? Answer : mrOk);
      } else if (auto* Files = dynamic_cast<TbsOpenDlgForm*>(Active)) {
        Titles.push_back(Files->GetCaption());
        Files->FileNameEdit->SetText(FileName);
        Files->Accept();
      }
    });
  }
  ~TDeleteAnswers() { SetModalHook(nullptr); }
};

TEST_F(TProjectsTest, DeleteAsksByNameAndDeletesOnlyOnYes) {
  WriteFile("gone.prj", "[Project]\nPattern=3\n");
  const std::string Confirm = "Confirm deletion of \"gone\"";
  for (TModalResult Refusal : {mrNo, mrCancel}) {
    TDeleteAnswers Answers("gone.prj", Refusal);
    Click("Deleteproject1");
    EXPECT_EQ(Answers.Titles, std::vector<std::string>{"Delete project"});
    EXPECT_EQ(Answers.Messages, std::vector<std::string>{Confirm});
    EXPECT_TRUE(FileExists(PathOf("gone.prj")));
  }
  TDeleteAnswers Answers("gone.prj", mrYes);
  Click("Deleteproject1");
  EXPECT_EQ(Answers.Messages, (std::vector<std::string>{Confirm, "Project \"gone\" has been deleted."}));
  EXPECT_FALSE(FileExists(PathOf("gone.prj")));
}
}  // namespace

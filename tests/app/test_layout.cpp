// The control column in every installed language: no caption is cut by its control, no
// control covers a neighbour or sticks out of its box, and the result takes the rest.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "SettingsTestSupport.h"
#include "app/Languages.h"
#include "platform/classes/Application.h"
#include "platform/classes/Canvas.h"
#include "platform/classes/Menus.h"
#include "platform/system/Strings.h"
#include "skin/boxctrls/bsSkinTabs.h"

namespace {
const char* const Languages[] = {"German", "Dutch", "English"};

Integer TextWidth(TFont* Font, const std::string& Text) {
  TBitmap B;
  B.SetSize(1, 1);
  B.GetCanvas()->SetFont(Font);
  return B.GetCanvas()->TextWidth(Text);
}

std::string Describe(TControl* C) {
  return C->GetName() + " \"" + C->GetCaption() + "\" at " + IntToStr(C->GetLeft()) + "," +
         IntToStr(C->GetTop()) + " " + IntToStr(C->GetWidth()) + "x" + IntToStr(C->GetHeight());
}

// Where the control writes its caption: the room it has and the font. A flat check box writes
// from x 22 and keeps its last two pixels clear, a classic one from x 19; a button centres its
// caption inside its frame and margins; a label writes across its width.
bool CaptionFits(TControl* C) {
  if (auto* Box = dynamic_cast<TbsSkinCheckRadioBox*>(C)) {
    const Integer Room = Box->GetFlat() ? Box->GetWidth() - 2 - 22 : Box->GetWidth() - 19;
    return TextWidth(Box->GetDefaultFont(), Box->GetCaption()) <= Room;
  }
  if (auto* Button = dynamic_cast<TbsSkinButton*>(C))
    return TextWidth(Button->GetDefaultFont(), Button->GetCaption()) + 8 <= Button->GetWidth();
  if (auto* Label = dynamic_cast<TbsSkinStdLabel*>(C))
    return TextWidth(Label->GetUseSkinFont() ? Label->GetDefaultFont() : Label->GetFont(),
                     Label->GetCaption()) <= Label->GetWidth();
  return true;
}

bool IsBox(TControl* C) {
  return dynamic_cast<TbsSkinPanel*>(C) != nullptr || dynamic_cast<TbsSkinPageControl*>(C) != nullptr ||
         dynamic_cast<TbsSkinTabSheet*>(C) != nullptr;
}

bool Overlap(TControl* A, TControl* B) {
  return A->GetLeft() < B->GetLeft() + B->GetWidth() && B->GetLeft() < A->GetLeft() + A->GetWidth() &&
         A->GetTop() < B->GetTop() + B->GetHeight() && B->GetTop() < A->GetTop() + A->GetHeight();
}

// The faults of Parent's visible controls and of the visible boxes inside it.
void CollectFaults(TWinControl* Parent, std::vector<std::string>& Faults) {
  const Integer Count = Parent->GetControlCount();
  for (Integer I = 0; I < Count; ++I) {
    TControl* C = Parent->GetControl(I);
    if (!C->GetVisible()) continue;
    if (!CaptionFits(C)) Faults.push_back("caption cut: " + Describe(C));
    if (C->GetLeft() < 0 || C->GetTop() < 0 || C->GetLeft() + C->GetWidth() > Parent->GetClientWidth() ||
        C->GetTop() + C->GetHeight() > Parent->GetClientHeight())
      Faults.push_back("outside " + Parent->GetName() + ": " + Describe(C));
    for (Integer J = I + 1; J < Count; ++J) {
      TControl* D = Parent->GetControl(J);
      // The drawing panel lies over the parameters while drawing.
      const bool DrawingPanel = (C->GetName() == "GroupBox5" && D->GetName() == "GroupBox6") ||
                                (C->GetName() == "GroupBox6" && D->GetName() == "GroupBox5");
      if (D->GetVisible() && !DrawingPanel && Overlap(C, D))
        Faults.push_back("overlap: " + Describe(C) + " / " + Describe(D));
    }
    if (IsBox(C)) CollectFaults(static_cast<TWinControl*>(C), Faults);
  }
}
}  // namespace

// The three installed languages, copied under names of their own into the program's language
// folder and listed in the settings; the window starts in German.
class TLayoutTest : public TMosaicTest {
 protected:
  void SetUp() override {
    const std::string Source = std::string(TILVAROK_TEST_DATA) + "/../../assets/Languages/";
    std::string Settings = "[Languages]\nNumber of languages=3\nCurrent language=1\n";
    for (Integer I = 0; I < 3; ++I) {
      const std::string Name = Languages[I] + std::string("Layout") + std::to_string(getpid());
      const std::string FileName = ExtractFilePath(Application->GetExeName()) + "Languages/" + Name + ".lan";
      TFileStream In(Source + Languages[I] + ".lan", fmOpenRead);
      std::string Text(static_cast<std::size_t>(In.GetSize()), '\0');
      In.ReadBuffer(Text.data(), static_cast<Integer>(Text.size()));
      WriteTextFile(FileName, Text);
      FileNames.push_back(FileName);
      Settings += IntToStr(I + 1) + "=" + Name + "\n";
    }
    WriteSettings(Settings);
    TMosaicTest::SetUp();
  }
  void TearDown() override {
    TMosaicTest::TearDown();
    WriteSettings("");
    for (const std::string& F : FileNames) DeleteFile(F);
  }
  // The column's faults on each page, and on the first with each pattern type chosen (the
  // drawing panel's types included).
  std::vector<std::string> FaultsOfEveryView() {
    std::vector<std::string> Faults;
    auto Collect = [&](const std::string& View) {
      RunUntilIdle();
      std::vector<std::string> Found;
      CollectFaults(Form->ControlPanel, Found);
      for (const std::string& F : Found) Faults.push_back(View + ": " + F);
    };
    for (Integer Page : {1, 2, 0}) {
      Form->PageControl1->SetActivePageIndex(Page);
      Collect("page " + IntToStr(Page));
    }
    for (Integer Type = 0; Type < 10; ++Type) {
      Form->PatternItems[Type]->Click();
      Collect("type " + IntToStr(Type));
    }
    return Faults;
  }
  // The result view takes what the column leaves.
  void ExpectResultBesideTheColumn() {
    EXPECT_EQ(Form->Image1->GetLeft(), Form->ControlPanel->GetWidth());
    EXPECT_EQ(Form->Image1->GetLeft() + Form->Image1->GetWidth(), Form->GetClientWidth());
  }
  std::vector<std::string> FileNames;
};

TEST_F(TLayoutTest, EveryCaptionFitsInEveryLanguage) {
  // The start-up build already sees the result view beside the German column.
  ExpectResultBesideTheColumn();
  EXPECT_EQ(CellsX, Form->Image1->GetWidth() / GridPx - 1);
  EXPECT_EQ(Form->FrameOnly->GetCaption(), " Nur Drahtgitter");
  for (Integer I = 0; I < 3; ++I) {
    SCOPED_TRACE(Languages[I]);
    Form->LanguageItems[I]->Click();
    RunUntilIdle();
    ASSERT_EQ(CurrentLanguage, I + 1);
    EXPECT_EQ(FaultsOfEveryView(), std::vector<std::string>{});
    ExpectResultBesideTheColumn();
  }
}

TEST_F(TMosaicTest, EveryOwnCaptionFits) {
  for (Integer Page : {1, 2, 0}) {
    Form->PageControl1->SetActivePageIndex(Page);
    RunUntilIdle();
    std::vector<std::string> Faults;
    CollectFaults(Form->ControlPanel, Faults);
    EXPECT_EQ(Faults, std::vector<std::string>{}) << Page;
  }
}

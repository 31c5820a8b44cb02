// The combo box's events in order for every way of choosing, its list's placement and size,
// type-ahead timing, drag-select with auto-scroll and the list's fade-in.
#include <functional>
#include <string>
#include <vector>

#include "platform/classes/Screen.h"
#include "platform/system/Component.h"
#include "skin/boxctrls/bsSkinBoxCtrls.h"
#include "tests/skin/SkinTestSupport.h"

namespace {

using namespace SkinTesting;

// Logs Change (the virtual one) besides the events.
class TLoggedCombo : public TbsSkinComboBox {
 public:
  explicit TLoggedCombo(TComponent* AOwner) : TbsSkinComboBox(AOwner) {}
  void Change() override { Lines->push_back("Chosen"); }
  // As while its form is read from its resource.
  void SetLoadingState(bool Value) { SetLoading(this, Value); }
  std::vector<std::string>* Lines = nullptr;
};

class TComboEventsTest : public TSkinTest {
 protected:
  void SetUp() override {
    TSkinTest::SetUp();
    Form = NewForm("Form", 100, 100, 400, 300);
    Combo = MakeCombo(Form, 20, 20, 5);
    Form->Show();
    Pump();
  }
  TLoggedCombo* MakeCombo(TForm* Parent, Integer X, Integer Y, Integer Count) {
    auto* C = NewControl<TLoggedCombo>(Parent, "Combo", X, Y);
    C->SetWidth(150);
    C->Lines = &Log.Lines;
    for (Integer I = 0; I < Count; ++I) C->GetItems()->Add("Item " + std::to_string(I));
    C->OnChange = TNotifyEvent(&Log, &TEventLog::Change);
    C->OnClick = TNotifyEvent(&Log, &TEventLog::Click);
    C->OnCloseUp = TNotifyEvent(&Log, &TEventLog::LastChange);
    return C;
  }
  TPoint RowPoint(Integer Row) {
    TbsListBox* L = Combo->GetListBox()->ListBox;
    return L->ClientToScreen(Point(20, Row * L->GetItemHeight() + L->GetItemHeight() / 2));
  }
  void Focus() {
    Combo->SetFocus();
    Pump();
  }
  TForm* Form = nullptr;
  TLoggedCombo* Combo = nullptr;
  TEventLog Log;
};

// "LastChange" is the close-up of the list.
TEST_F(TComboEventsTest, EventOrderForEveryWayOfChoosing) {
  struct TCase {
    const char* Name;
    std::function<void()> Act;
    Integer Index;
    const char* Text;
    TLines Events;
  };
  Combo->SetItemIndex(0);
  Focus();
  Log.Take();
  const std::vector<TCase> Cases{
      {"code", [&] { Combo->SetItemIndex(2); }, 2, "Item 2", {"Click Combo", "Chosen"}},
      {"same index", [&] { Combo->SetItemIndex(2); }, 2, "Item 2", {"Click Combo", "Chosen"}},
      {"-1 keeps the text", [&] { Combo->SetItemIndex(-1); }, -1, "Item 2", {"Click Combo", "Chosen"}},
      {"key",
       [&] {
         Combo->SetItemIndex(1);
         Log.Take();
         ScriptKeyPress(VK_DOWN);
         Pump();
       },
       2,
       "Item 2",
       {"Change Combo", "Click Combo", "Chosen"}},
      {"wheel",
       [&] {
         MoveAt(Combo, 60, 10);
         ScriptWheel(-120);
         Pump();
       },
       3,
       "Item 3",
       {"Change Combo", "Click Combo", "Chosen"}},
      {"list choice",
       [&] {
         ClickAt(Combo, 60, 10);
         const TPoint P = RowPoint(1);
         ScriptClick(P.X, P.Y);
         Pump();
       },
       1,
       "Item 1",
       {"Change Combo", "Click Combo", "Chosen", "LastChange Combo"}},
      {"escape after hover",
       [&] {
         ClickAt(Combo, 60, 10);
         const TPoint P = RowPoint(4);
         ScriptMoveTo(P.X, P.Y);
         Pump();
         ScriptKeyPress(VK_ESCAPE);
         Pump();
       },
       1,
       "Item 1",
       {"LastChange Combo"}},
      {"arrows while open stay after escape",
       [&] {
         ClickAt(Combo, 60, 10);
         ScriptMoveTo(1020, 760);
         ScriptKeyPress(VK_DOWN);
         ScriptKeyPress(VK_ESCAPE);
         Pump();
       },
       2,
       "Item 2",
       {"Change Combo", "Click Combo", "Chosen", "LastChange Combo"}},
      {"loading",
       [&] {
         Combo->SetLoadingState(true);
         Combo->SetItemIndex(4);
         Combo->SetLoadingState(false);
       },
       4,
       "Item 4",
       {}},
  };
  for (const TCase& C : Cases) {
    C.Act();
    EXPECT_EQ(Combo->GetItemIndex(), C.Index) << C.Name;
    EXPECT_EQ(Combo->GetText(), C.Text) << C.Name;
    EXPECT_EQ(Log.Take(), C.Events) << C.Name;
    EXPECT_FALSE(Combo->GetDroppedDown()) << C.Name;
  }
}

TEST_F(TComboEventsTest, PageKeysMoveByTheDropDownCountPlusAndMinusOne) {
  for (Integer I = 5; I < 30; ++I) Combo->GetItems()->Add("Item " + std::to_string(I));
  Combo->SetItemIndex(10);
  Focus();
  ScriptKeyPress(VK_PRIOR);
  Pump();
  EXPECT_EQ(Combo->GetItemIndex(), 1);  // 10 - (8 + 1)
  ScriptKeyPress(VK_NEXT);
  Pump();
  EXPECT_EQ(Combo->GetItemIndex(), 8);  // 1 + (8 - 1)
  ScriptKeyPress(VK_PRIOR);
  Pump();
  EXPECT_EQ(Combo->GetItemIndex(), 0);
}

TEST_F(TComboEventsTest, RowsAreTheSmallerOfCountAndDropDownCount) {
  struct TCase {
    Integer Items, DropDownCount, Rows;
    bool Bar;
  };
  for (const TCase& C :
       std::vector<TCase>{{3, 8, 3, false}, {20, 8, 8, true}, {20, 4, 4, true}, {1, 8, 1, false}}) {
    Combo->GetItems()->Clear();
    for (Integer I = 0; I < C.Items; ++I) Combo->GetItems()->Add("Item " + std::to_string(I));
    Combo->SetDropDownCount(C.DropDownCount);
    Combo->DropDown();
    Pump();
    TbsPopupListBox* L = Combo->GetListBox();
    EXPECT_EQ(L->ListBox->GetHeight() / L->ListBox->GetItemHeight(), C.Rows) << C.Items;
    EXPECT_EQ(L->MainScrollBar != nullptr, C.Bar) << C.Items;
    Combo->CloseUp(false);
  }
}

TEST_F(TComboEventsTest, AtTheWorkAreaBottomTheListOpensAbove) {
  TForm* Low = NewForm("Low", 700, 600, 300, 140);
  TLoggedCombo* C = MakeCombo(Low, 10, 100, 10);
  C->SetName("Low");
  Low->Show();
  Pump();
  const TRect Work = Screen->GetWorkAreaRect();
  ASSERT_GT(C->ClientToScreen(Point(0, 20)).Y + 8 * 20 + 4, Work.Bottom);
  C->DropDown();
  Pump();
  const TRect L = C->GetListBox()->GetBoundsRect();
  EXPECT_EQ(L.Bottom, C->ClientToScreen(Point(0, 0)).Y);
  // Never moved sideways.
  EXPECT_EQ(L.Left, C->ClientToScreen(Point(0, 0)).X);
  C->CloseUp(false);
  // Higher up it opens below.
  Combo->DropDown();
  Pump();
  EXPECT_EQ(Combo->GetListBox()->GetBoundsRect().Top, Combo->ClientToScreen(Point(0, 20)).Y);
}

TEST_F(TComboEventsTest, TypeAheadCollectsKeysWithinHalfASecond) {
  Combo->GetItems()->Clear();
  for (const char* S : {"apple", "banana", "bbq", "berry", "cherry"}) Combo->GetItems()->Add(S);
  Combo->SetItemIndex(0);
  Focus();
  ScriptType("b");
  Pump();
  EXPECT_EQ(Combo->GetText(), "banana");
  Clock.Advance(499);
  ScriptType("b");
  Pump();
  EXPECT_EQ(Combo->GetText(), "bbq");  // "bb" from the top
  Clock.Advance(500);
  ScriptType("b");
  Pump();
  EXPECT_EQ(Combo->GetText(), "berry");  // "b" again, after the current item
}

TEST_F(TComboEventsTest, DragBelowTheListScrollsEvery25ms) {
  for (Integer I = 5; I < 20; ++I) Combo->GetItems()->Add("Item " + std::to_string(I));
  Combo->SetItemIndex(0);
  MoveAt(Combo, 140, 10);
  ScriptButton(true);
  Pump();
  ASSERT_TRUE(Combo->GetDroppedDown());
  // Into the rows: the row under the pointer is selected.
  const TPoint Row2 = RowPoint(2);
  ScriptMoveTo(Row2.X, Row2.Y);
  Pump();
  EXPECT_EQ(Combo->GetListBox()->GetItemIndex(), 2);
  // Below the list: one row per 25 ms.
  TbsListBox* L = Combo->GetListBox()->ListBox;
  const TPoint Below = L->ClientToScreen(Point(20, L->GetHeight() + 15));
  ScriptMoveTo(Below.X, Below.Y);
  Pump();
  Wait(100, 25);
  EXPECT_EQ(Combo->GetListBox()->GetItemIndex(), 6);
  // Releasing outside the list cancels.
  ScriptButton(false);
  Pump();
  EXPECT_FALSE(Combo->GetDroppedDown());
  EXPECT_EQ(Combo->GetItemIndex(), 0);
}

TEST_F(TComboEventsTest, TheEditorTakesTheCombosTextSettings) {
  Combo->SetCharCase(ecUpperCase);
  Combo->SetHideSelection(false);
  Combo->SetStyle(bscbEditStyle);
  TbsCustomEdit* Edit = Combo->GetEdit();
  ASSERT_NE(Edit, nullptr);
  EXPECT_EQ(Edit->GetCharCase(), ecUpperCase);
  EXPECT_FALSE(Edit->GetHideSelection());
  Combo->SetCharCase(ecLowerCase);
  EXPECT_EQ(Edit->GetCharCase(), ecLowerCase);
}

TEST_F(TComboEventsTest, FadeStepsAreAFifteenthOfTheAlpha) {
  struct TCase {
    Byte Target, Step;
  };
  for (const TCase& C : std::vector<TCase>{{10, 1}, {14, 1}, {15, 1}, {30, 2}, {255, 17}})
    EXPECT_EQ(TbsPopupListBox::FadeStep(C.Target), C.Step) << int(C.Target);
}

class TFadeTest : public TComboEventsTest {
 protected:
  void OpenFading(Byte Target) {
    Combo->SetAlphaBlend(true);
    Combo->SetAlphaBlendAnimation(true);
    Combo->SetAlphaBlendValue(Target);
    Combo->GetListBox()->OnFadeStep = TDelegate<void(TObject*, Byte)>(this, &TFadeTest::Step);
    Combo->DropDown();
  }
  void Step(TObject*, Byte Alpha) {
    Alphas.push_back(Alpha);
    if (StopAt != 0 && Alpha >= StopAt) {
      if (FreeCombo) {
        delete Combo;
        Combo = nullptr;
      } else {
        Combo->CloseUp(false);
      }
    }
  }
  std::vector<Integer> Alphas;
  Byte StopAt = 0;
  bool FreeCombo = false;
};

TEST_F(TFadeTest, FadesInToTheAlphaInEqualSteps) {
  OpenFading(255);
  std::vector<Integer> Expected;
  for (Integer A = 17; A <= 255; A += 17) Expected.push_back(A);
  EXPECT_EQ(Alphas, Expected);
  EXPECT_TRUE(Combo->GetListBox()->Layered);
  Combo->CloseUp(false);
  Alphas.clear();
  OpenFading(10);
  EXPECT_EQ(Alphas, (std::vector<Integer>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
}

TEST_F(TFadeTest, HidingTheListEndsTheFade) {
  StopAt = 51;
  OpenFading(255);
  EXPECT_EQ(Alphas, (std::vector<Integer>{17, 34, 51}));
  EXPECT_FALSE(Combo->GetDroppedDown());
}

TEST_F(TFadeTest, FreeingTheComboEndsTheFade) {
  StopAt = 34;
  FreeCombo = true;
  OpenFading(255);
  EXPECT_EQ(Alphas, (std::vector<Integer>{17, 34}));
  EXPECT_EQ(Combo, nullptr);
}

}  // namespace

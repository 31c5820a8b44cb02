// The skinned combo box and its drop-down list: selection from code against a pick by mouse,
// the list's size and scroll bar, keys and type-ahead.
#include <string>
#include <vector>

#include "skin/boxctrls/bsSkinBoxCtrls.h"
#include "tests/skin/SkinTestSupport.h"

namespace {

using namespace SkinTesting;

class TSkinComboBoxTest : public TSkinTest {
 protected:
  void SetUp() override {
    TSkinTest::SetUp();
    Form = NewForm("Form", 100, 100, 400, 300);
    Combo = NewControl<TbsSkinComboBox>(Form, "Combo", 20, 20);
    Combo->SetWidth(150);
    for (const char* S : {"Pinch and blow", "Circular", "Twirling spiral", "Hexagons", "Spheres"})
      Combo->GetItems()->Add(S);
    Combo->OnChange = TNotifyEvent(&Log, &TEventLog::Change);
    Combo->OnClick = TNotifyEvent(&Log, &TEventLog::Click);
    Form->Show();
    Pump();
  }
  // The screen point of a row of the open list.
  TPoint RowPoint(Integer Row) {
    TbsListBox* L = Combo->GetListBox()->ListBox;
    return L->ClientToScreen(Point(20, Row * L->GetItemHeight() + L->GetItemHeight() / 2));
  }
  TForm* Form = nullptr;
  TbsSkinComboBox* Combo = nullptr;
  TEventLog Log;
};

TEST_F(TSkinComboBoxTest, ItemIndexFromCodeClicksButDoesNotChange) {
  struct TStep {
    Integer Index;
    const char* Text;
  };
  const std::vector<TStep> Steps{
      {2, "Twirling spiral"}, {2, "Twirling spiral"}, {0, "Pinch and blow"}, {-1, "Pinch and blow"}};
  for (const TStep& S : Steps) {
    Combo->SetItemIndex(S.Index);
    EXPECT_EQ(Combo->GetItemIndex(), S.Index);
    EXPECT_EQ(Combo->GetText(), S.Text);
    EXPECT_EQ(Log.Take(), TLines{"Click Combo"}) << S.Index;
  }
}

TEST_F(TSkinComboBoxTest, PickingAnItemByMouseChanges) {
  Combo->SetItemIndex(0);
  Log.Take();
  EXPECT_EQ(Combo->GetWidth(), 150);
  EXPECT_EQ(Combo->GetHeight(), 20);
  ClickAt(Combo, 60, 10);
  ASSERT_TRUE(Combo->GetDroppedDown());
  EXPECT_TRUE(Combo->GetListBox()->GetVisible());
  // Five items: five rows and no scroll bar.
  EXPECT_EQ(Combo->GetListBox()->GetHeight(), 5 * 20 + 4);
  EXPECT_EQ(Combo->GetListBox()->MainScrollBar, nullptr);
  // The list opens just under the combo.
  EXPECT_EQ(Combo->GetListBox()->GetBoundsRect().Top, Combo->ClientToScreen(Point(0, 20)).Y);
  const TPoint P = RowPoint(3);
  ScriptClick(P.X, P.Y);
  Pump();
  EXPECT_FALSE(Combo->GetDroppedDown());
  EXPECT_FALSE(Combo->GetListBox()->GetVisible());
  EXPECT_EQ(Combo->GetItemIndex(), 3);
  EXPECT_EQ(Combo->GetText(), "Hexagons");
  EXPECT_EQ(Log.Take(), (TLines{"Change Combo", "Click Combo"}));
}

TEST_F(TSkinComboBoxTest, PressDragAndReleaseOverARow) {
  // The press on the drop button (hot once the mouse is over it), then down into the list.
  // The list opens under the combo with its rows 2 pixels inside its frame.
  MoveAt(Combo, 140, 10);
  ScriptDrag(At(Combo, 140, 10), At(Combo, 30, 20 + 2 + 20 + 10), 4);
  Pump();
  EXPECT_FALSE(Combo->GetDroppedDown());
  EXPECT_EQ(Combo->GetText(), "Circular");
  EXPECT_EQ(Log.Take(), (TLines{"Change Combo", "Click Combo"}));
}

TEST_F(TSkinComboBoxTest, EscapeRestoresTheIndexHeldWhenTheListOpened) {
  Combo->SetItemIndex(1);
  Log.Take();
  ClickAt(Combo, 60, 10);
  ASSERT_TRUE(Combo->GetDroppedDown());
  // Hovering over the rows selects them in the list only.
  const TPoint P = RowPoint(4);
  ScriptMoveTo(P.X, P.Y);
  Pump();
  EXPECT_EQ(Combo->GetListBox()->GetItemIndex(), 4);
  ScriptKeyPress(VK_ESCAPE);
  Pump();
  EXPECT_FALSE(Combo->GetDroppedDown());
  EXPECT_EQ(Combo->GetItemIndex(), 1);
  EXPECT_TRUE(Log.Take().empty());
}

TEST_F(TSkinComboBoxTest, ManyItemsShowEightRowsAndABar) {
  for (Integer I = 0; I < 15; ++I) Combo->GetItems()->Add("Item " + std::to_string(I));
  Combo->DropDown();
  Pump();
  EXPECT_EQ(Combo->GetListBox()->GetHeight(), 8 * 20 + 4);
  EXPECT_NE(Combo->GetListBox()->MainScrollBar, nullptr);
  Combo->CloseUp(false);
  // Without items nothing opens.
  Combo->GetItems()->Clear();
  Combo->DropDown();
  EXPECT_FALSE(Combo->GetDroppedDown());
  Combo->SetDropDownCount(0);
  EXPECT_EQ(Combo->GetDropDownCount(), 8);
}

// The bar's area of the open list as the screen shows it, and whether it holds the black of
// the arrows.
struct TBarLook {
  std::vector<DWORD> Pixels;
  bool HasArrows = false;
  bool operator==(const TBarLook&) const = default;
};

TEST_F(TSkinComboBoxTest, TheFirstOpeningDrawsTheBarAndScrollsByWheel) {
  for (const char* S : {"Fade", "Rings", "Text", "Wires", "Colours"}) Combo->GetItems()->Add(S);
  Combo->SetItemIndex(0);
  auto BarLook = [this] {
    Pump();
    TbsSkinScrollBar* Bar = Combo->GetListBox()->MainScrollBar;
    TBarLook L;
    if (Bar == nullptr) return L;
    const TPoint O = Combo->GetListBox()->ClientToScreen(Point(Bar->GetLeft(), Bar->GetTop()));
    L.Pixels = ScreenPixels(TRect{O.X, O.Y, O.X + Bar->GetWidth(), O.Y + Bar->GetHeight()});
    for (DWORD P : L.Pixels) L.HasArrows = L.HasArrows || P == 0;
    return L;
  };
  // Each opening: the look when it opens, and after nine wheel notches over the list.
  std::vector<TBarLook> Looks;
  for (Integer Opening = 0; Opening < 2; ++Opening) {
    ClickAt(Combo, 60, 10);
    ASSERT_TRUE(Combo->GetDroppedDown());
    Looks.push_back(BarLook());
    const TPoint P = RowPoint(0);
    ScriptMoveTo(P.X, P.Y);
    for (Integer Notch = 0; Notch < 9; ++Notch) {
      ScriptWheel(-120);
      Pump();
    }
    // Ten items in eight rows: the last one is selected and shown at the bottom.
    EXPECT_EQ(Combo->GetListBox()->GetItemIndex(), 9) << Opening;
    EXPECT_EQ(Combo->GetListBox()->ListBox->GetTopIndex(), 2) << Opening;
    Looks.push_back(BarLook());
    ScriptKeyPress(VK_ESCAPE);
    Pump();
  }
  EXPECT_TRUE(Looks[0].HasArrows);
  EXPECT_FALSE(Looks[0] == Looks[1]) << "the thumb stayed";
  EXPECT_TRUE(Looks[0] == Looks[2]) << "the first opening's bar differs from the second's";
  EXPECT_TRUE(Looks[1] == Looks[3]) << "the first opening's scrolled bar differs from the second's";
}

TEST_F(TSkinComboBoxTest, ArrowKeysAndTypeAhead) {
  Combo->SetItemIndex(0);
  ClickAt(Combo, 60, 10);  // focus; the list opens
  ScriptKeyPress(VK_ESCAPE);
  Pump();
  Log.Take();
  ScriptKeyPress(VK_DOWN);
  Pump();
  EXPECT_EQ(Combo->GetItemIndex(), 1);
  EXPECT_EQ(Log.Take(), (TLines{"Change Combo", "Click Combo"}));
  ScriptKeyPress(VK_UP);
  ScriptKeyPress(VK_UP);
  Pump();
  EXPECT_EQ(Combo->GetItemIndex(), 0);
  // "s" walks to the first item beginning with it after the current one.
  ScriptType("s");
  Pump();
  EXPECT_EQ(Combo->GetText(), "Spheres");
  // A pause of 500 ms starts a new search.
  Clock.Advance(600);
  ScriptType("t");
  Pump();
  EXPECT_EQ(Combo->GetText(), "Twirling spiral");
}

}  // namespace

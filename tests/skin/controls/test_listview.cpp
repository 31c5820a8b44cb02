// The report-style list view: rows with sub-items, selection by mouse and keys, the external
// scroll bar following the rows.
#include <string>

#include "skin/controls/bsSkinCtrls.h"
#include "tests/skin/SkinTestSupport.h"

namespace {

using namespace SkinTesting;

class TSkinListViewTest : public TSkinTest {
 protected:
  void SetUp() override {
    TSkinTest::SetUp();
    Form = NewForm("Form");
    View = NewControl<TbsSkinListView>(Form, "View", 10, 10);
    View->SetWidth(250);
    View->SetHeight(120);
    for (const char* Caption : {"Codec", "FourCC"}) {
      auto* Column = View->GetColumns()->Add();
      Column->SetCaption(Caption);
      Column->SetWidth(120);
    }
    Bar = NewControl<TbsSkinScrollBar>(Form, "Bar", 262, 10);
    Bar->SetKind(sbVertical);
    View->SetVScrollBar(Bar);
    View->OnChange = TNotifyEvent(&Log, &TEventLog::Change);
    Form->Show();
    Pump();
  }
  void AddRows(Integer N) {
    for (Integer I = 0; I < N; ++I) {
      auto* Item = View->GetItems()->Add();
      Item->SetCaption("Codec " + std::to_string(I));
      Item->GetSubItems()->Add("MJP" + std::to_string(I));
    }
  }
  TForm* Form = nullptr;
  TbsSkinListView* View = nullptr;
  TbsSkinScrollBar* Bar = nullptr;
  TEventLog Log;
};

TEST_F(TSkinListViewTest, RowsAndSelection) {
  AddRows(3);
  EXPECT_EQ(View->GetItems()->GetCount(), 3);
  EXPECT_EQ(View->GetItems()->GetItem(1)->GetSubItems()->GetStrings(0), "MJP1");
  EXPECT_THROW(View->GetItems()->GetItem(3), EListError);
  EXPECT_FALSE(Bar->GetVisible());
  Pump();
  const Integer RH = View->RowHeight();
  ClickAt(View, 30, RH + 2 + RH + RH / 2);
  EXPECT_EQ(View->GetItemIndex(), 1);
  ScriptKeyPress(VK_DOWN);
  Pump();
  EXPECT_EQ(View->GetItemIndex(), 2);
  EXPECT_EQ(Log.Take(), (TLines{"Change View", "Change View"}));
  // The header in the page colour, the focused selection in the highlight colour.
  EXPECT_EQ(PixelAt(View, 60, 3), ScreenColor(clBtnFace));
  EXPECT_EQ(PixelAt(View, 200, RH + 2 + 2 * RH + 2), ScreenColor(clHighlight));
  View->GetItems()->Clear();
  EXPECT_EQ(View->GetItemIndex(), -1);
}

TEST_F(TSkinListViewTest, TheBarFollowsTheRows) {
  AddRows(30);
  ASSERT_TRUE(Bar->GetVisible());
  EXPECT_EQ(Bar->GetMax(), 29);
  EXPECT_EQ(Bar->GetPageSize(), View->RowsPerPage());
  Bar->SetPosition(10);
  EXPECT_EQ(View->GetTopIndex(), 10);
  View->SetItemIndex(29);
  EXPECT_EQ(View->GetTopIndex(), 30 - View->RowsPerPage());
  EXPECT_EQ(Bar->GetPosition(), View->GetTopIndex());
}

}  // namespace

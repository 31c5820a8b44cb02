// The skinned list and tree views: the external bars following the native range per view
// style and scrolling the view back, the taken-over column header (its geometry, pressed and
// sizing states, skinned sections), and the colours of the parts.
#include <string>

#include "platform/user/CommonControls.h"
#include "platform/user/User.h"
#include "platform/user/Windows.h"
#include "platform/user/WndProc.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/controls/bsSkinCtrlsTreeView.h"
#include "skin/data/bsUtils.h"
#include "tests/skin/SkinTestSupport.h"
#include "tests/skin/controls/SyntheticParts.h"

namespace {

using namespace SkinTesting;
using namespace SyntheticParts;

class TSkinListViewTest : public TSkinTest {
 protected:
  void SetUp() override {
    TSkinTest::SetUp();
    Form = NewForm("Form");
    View = NewControl<TbsSkinListView>(Form, "View", 10, 10);
    View->SetViewStyle(vsReport);
    View->SetWidth(250);
    View->SetHeight(120);
    for (const char* Caption : {"Codec", "FourCC"}) {
      auto* Column = View->GetColumns()->Add();
      Column->SetCaption(Caption);
      Column->SetWidth(100);
    }
    VBar = NewControl<TbsSkinScrollBar>(Form, "VBar", 262, 10);
    VBar->SetKind(sbVertical);
    VBar->SetBounds(262, 10, 19, 120);
    HBar = NewControl<TbsSkinScrollBar>(Form, "HBar", 10, 132);
    View->SetVScrollBar(VBar);
    View->SetHScrollBar(HBar);
    Form->Show();
    Pump();
  }
  void AddRows(Integer N) {
    for (Integer I = 0; I < N; ++I) {
      auto* Item = View->GetItems()->Add();
      Item->SetCaption("Codec " + std::to_string(I));
      Item->GetSubItems()->Add("MJP" + std::to_string(I));
    }
    View->Invalidate();
    Pump();
  }
  Integer TopIndex() { return View->GetTopItem() == nullptr ? -1 : View->GetTopItem()->GetIndex(); }
  TForm* Form = nullptr;
  TbsSkinListView* View = nullptr;
  TbsSkinScrollBar* VBar = nullptr;
  TbsSkinScrollBar* HBar = nullptr;
};

TEST_F(TSkinListViewTest, TheReportBarShowsAPageOfRowsAndScrollsTheView) {
  AddRows(3);
  EXPECT_FALSE(VBar->GetVisible());
  AddRows(27);
  ASSERT_TRUE(VBar->GetVisible());
  const auto PerPage = static_cast<Integer>(SendMessage(View->GetHandle(), LVM_GETCOUNTPERPAGE, 0, 0));
  ASSERT_GT(PerPage, 0);
  EXPECT_EQ(VBar->GetPageSize(), PerPage);
  EXPECT_EQ(VBar->GetMax(), 29);
  EXPECT_EQ(VBar->GetLargeChange(), PerPage);
  // The bar moves the view by its difference in rows, both ways.
  VBar->SetPosition(10);
  EXPECT_EQ(TopIndex(), 10);
  VBar->SetPosition(4);
  EXPECT_EQ(TopIndex(), 4);
  // Dragged to its end the last row comes into view.
  VBar->SetPosition(VBar->GetMax());
  EXPECT_EQ(TopIndex(), 30 - PerPage);
  // The horizontal bar shares the corner while the vertical one shows.
  EXPECT_TRUE(HBar->GetBoth());
}

TEST_F(TSkinListViewTest, TheListStyleNeverShowsTheVerticalBar) {
  AddRows(60);
  ASSERT_TRUE(VBar->GetVisible());
  View->SetViewStyle(vsList);
  Pump();
  View->SyncScrollBars();
  EXPECT_FALSE(VBar->GetVisible());
  EXPECT_TRUE(HBar->GetVisible());
  EXPECT_EQ(HBar->GetSmallChange(), 1);
}

TEST_F(TSkinListViewTest, IconViewsScrollByPixels) {
  View->SetViewStyle(vsSmallIcon);
  AddRows(200);
  View->SyncScrollBars();
  ASSERT_TRUE(VBar->GetVisible());
  EXPECT_EQ(VBar->GetPageSize(), View->GetHeight());
  const Integer Half = View->GetItems()->GetItem(0)->DisplayRect(drBounds).Height() / 2;
  EXPECT_EQ(VBar->GetSmallChange(), Half > 0 ? Half : 1);
  const Integer Top = View->GetItems()->GetItem(0)->DisplayRect(drBounds).Top;
  VBar->SetPosition(VBar->GetPosition() + 7);
  EXPECT_EQ(View->GetItems()->GetItem(0)->DisplayRect(drBounds).Top, Top - 7);
}

TEST_F(TSkinListViewTest, ATinyViewLeavesItsBarsAlone) {
  AddRows(60);
  ASSERT_TRUE(VBar->GetVisible());
  View->SetBounds(10, 10, 5, 120);
  View->GetItems()->Clear();
  View->SyncScrollBars();
  EXPECT_TRUE(VBar->GetVisible());
}

TEST_F(TSkinListViewTest, TheHeaderIsTakenOverAndPaintedWider) {
  const HWND Header = View->GetHeaderWindow();
  ASSERT_NE(Header, nullptr);
  EXPECT_EQ(GetClassNameString(Header), WC_HEADER);
  RECT R;
  GetWindowRect(Header, &R);
  EXPECT_EQ(R.Right - R.Left, View->GetClientWidth() + 25);
  EXPECT_EQ(SendMessage(View->GetHandle(), 0xB1C9, 0, 0), 12851);
  EXPECT_EQ(SendMessage(View->GetHandle(), RegisterWindowMessage("TilvarokShellNavigate"), 0, 0), 0);
}

TEST_F(TSkinListViewTest, TheHeaderGetsItsOwnProcedureBackWhenTheViewGoes) {
  const HWND Header = View->GetHeaderWindow();
  ASSERT_NE(Header, nullptr);
  const auto ClassProc = static_cast<LONG_PTR>(GetClassLongPtr(Header, GCLP_WNDPROC));
  EXPECT_NE(GetWindowLongPtr(Header, GWLP_WNDPROC), ClassProc);
  // Kept alive past the view, the header runs its own procedure again.
  SetParent(Header, Form->GetHandle());
  delete View;
  View = nullptr;
  ASSERT_TRUE(IsWindow(Header));
  EXPECT_EQ(GetWindowLongPtr(Header, GWLP_WNDPROC), ClassProc);
  // The view's font went with it; the header paints with the system font.
  SendMessage(Header, WM_SETFONT, 0, 0);
  InvalidateRect(Header, nullptr, TRUE);
  Pump();
  DestroyWindow(Header);
}

TEST_F(TSkinListViewTest, APressedSectionDrawsPressedADividerOnlySizes) {
  View->SetSkinData(NewPartsSkin(Form));
  Pump();
  const HWND Header = View->GetHeaderWindow();
  ASSERT_NE(Header, nullptr);
  RECT HR;
  GetWindowRect(Header, &HR);
  const Integer Y = (HR.Bottom - HR.Top) / 2;
  EXPECT_EQ(PixelAt(View, 50, Y), ScreenColor(HeaderFace));
  const TPoint P = At(View, 50, Y);
  ScriptMoveTo(P.X, P.Y);
  ScriptButton(true);
  Pump();
  EXPECT_TRUE(View->GetHeaderPressed());
  EXPECT_EQ(View->GetPressedColumn(), 0);
  EXPECT_EQ(PixelAt(View, 50, Y), ScreenColor(HeaderDown));
  ScriptButton(false);
  Pump();
  EXPECT_FALSE(View->GetHeaderPressed());
  EXPECT_EQ(View->GetPressedColumn(), -1);
  EXPECT_EQ(PixelAt(View, 50, Y), ScreenColor(HeaderFace));
  // On the divider between the columns: sizing, not pressed.
  const TPoint D = At(View, 100, Y);
  ScriptMoveTo(D.X, D.Y);
  ScriptButton(true);
  Pump();
  EXPECT_TRUE(View->GetHeaderSizing());
  EXPECT_FALSE(View->GetHeaderPressed());
  ScriptButton(false);
  Pump();
  EXPECT_FALSE(View->GetHeaderSizing());
}

TEST_F(TSkinListViewTest, ThePartGivesColoursAndLinesTheDefaultLookComesBack) {
  auto* Skin = NewPartsSkin(Form);
  View->SetSkinData(Skin);
  EXPECT_EQ(View->PartIndex, Skin->FindControlPart("listview"));
  EXPECT_EQ(View->GetColor(), ViewBack);
  EXPECT_EQ(View->GetFont()->GetColor(), ViewFont);
  EXPECT_EQ(View->GetLinesColor(), MixColors(MixColors(MixColors(ViewFont, ViewBack), ViewBack), ViewBack));
  Skin->Empty = true;
  View->ApplySkinChange();
  EXPECT_EQ(View->PartIndex, -1);
  EXPECT_EQ(View->GetColor(), clWindow);
  EXPECT_EQ(View->GetFont()->GetName(), "Arial");
}

TEST_F(TSkinListViewTest, SkinnedItemsShowTheSelectionPictureAndTheLines) {
  View->SetSkinData(NewPartsSkin(Form));
  View->SetDrawSkin(true);
  View->SetDrawSkinLines(true);
  View->SetRowSelect(true);
  AddRows(3);
  const TRect Row = View->GetItems()->GetItem(1)->DisplayRect(drBounds);
  const Integer Y = Row.Top + GetRectHeight(Row) / 2;
  // Unselected rows in the part's background, the column edge in the lines' colour.
  EXPECT_EQ(PixelAt(View, 60, Y), ScreenColor(ViewBack));
  EXPECT_EQ(PixelAt(View, 99, Y), ScreenColor(View->GetLinesColor()));
  View->GetItems()->GetItem(1)->SetSelected(true);
  // The whole row from the item part: focused or merely active.
  View->SetFocus();
  EXPECT_EQ(PixelAt(View, 150, Y), ScreenColor(ItemFocus));
  ::SetFocus(Form->GetHandle());
  View->Invalidate();
  EXPECT_EQ(PixelAt(View, 150, Y), ScreenColor(ItemActive));
}

TEST_F(TSkinListViewTest, SkinnedCheckBoxesStandBeforeTheIcon) {
  View->SetSkinData(NewPartsSkin(Form));
  View->SetCheckboxes(true);
  View->SetDrawSkin(true);
  AddRows(2);
  TListItem* Item = View->GetItems()->GetItem(0);
  const TRect Icon = Item->DisplayRect(drIcon);
  const TRect Row = Item->DisplayRect(drBounds);
  ASSERT_GE(Icon.Left - 11, 0);
  // The 10 x 10 picture ends a pixel before the icon, centred on the row a pixel higher.
  const Integer X = Icon.Left - 6, Y = GetRectHeight(Icon) / 2 + Row.Top - 1;
  EXPECT_EQ(PixelAt(View, X, Y), ScreenColor(CheckPictures[1]));
  Item->SetChecked(true);
  View->Invalidate();
  EXPECT_EQ(PixelAt(View, X, Y), ScreenColor(CheckPictures[0]));
}

class TSkinTreeViewTest : public TSkinTest {
 protected:
  void SetUp() override {
    TSkinTest::SetUp();
    Form = NewForm("Form");
    Tree = NewControl<TbsSkinTreeView>(Form, "Tree", 10, 10);
    Tree->SetBounds(10, 10, 200, 120);
    VBar = NewControl<TbsSkinScrollBar>(Form, "VBar", 212, 10);
    VBar->SetKind(sbVertical);
    HBar = NewControl<TbsSkinScrollBar>(Form, "HBar", 10, 132);
    Tree->SetVScrollBar(VBar);
    Tree->SetHScrollBar(HBar);
    Form->Show();
    Pump();
  }
  TForm* Form = nullptr;
  TbsSkinTreeView* Tree = nullptr;
  TbsSkinScrollBar* VBar = nullptr;
  TbsSkinScrollBar* HBar = nullptr;
};

TEST_F(TSkinTreeViewTest, TheVerticalBarAppearsOnceTheNodesNoLongerFit) {
  for (Integer I = 0; I < 3; ++I) Tree->GetItems()->Add(nullptr, "Node " + std::to_string(I));
  Tree->Invalidate();
  Pump();
  EXPECT_FALSE(VBar->GetVisible());
  EXPECT_FALSE(HBar->GetBoth());
  for (Integer I = 3; I < 40; ++I) Tree->GetItems()->Add(nullptr, "Node " + std::to_string(I));
  Tree->Invalidate();
  Pump();
  ASSERT_TRUE(VBar->GetVisible());
  EXPECT_EQ(VBar->GetPageSize(), Tree->GetVisibleCount());
  EXPECT_EQ(VBar->GetMax(), 39);
  EXPECT_TRUE(HBar->GetBoth());
}

TEST_F(TSkinTreeViewTest, LinesAreGreyWithoutAPartAndMixedFromItsColoursWithOne) {
  Tree->ApplySkinChange();
  EXPECT_EQ(Tree->GetLinesColor(), static_cast<TColor>(0x808080));
  EXPECT_EQ(Tree->GetColor(), clWindow);
  Tree->SetSkinData(NewPartsSkin(Form));
  EXPECT_EQ(Tree->GetColor(), ViewBack);
  EXPECT_EQ(Tree->GetButtonColor(), MixColors(ViewFont, ViewBack));
  EXPECT_EQ(Tree->GetLinesColor(), MixColors(MixColors(ViewFont, ViewBack), ViewBack));
  EXPECT_EQ(SendMessage(Tree->GetHandle(), 0xB1C9, 0, 0), 12851);
}

TEST_F(TSkinTreeViewTest, SkinnedItemsShowTheSelectionPicture) {
  Tree->SetSkinData(NewPartsSkin(Form));
  Tree->SetDrawSkin(true);
  TTreeNode* Root = Tree->GetItems()->Add(nullptr, "Root node");
  Tree->GetItems()->AddChild(Root, "Child node");
  Root->Expand(false);
  Tree->Invalidate();
  const TRect Text = Root->DisplayRect(true);
  const Integer Y = Text.Top + GetRectHeight(Text) / 2;
  EXPECT_EQ(PixelAt(Tree, Text.Right - 1, Y), ScreenColor(ViewBack));
  Root->SetSelected(true);
  Tree->SetFocus();
  Tree->Invalidate();
  EXPECT_EQ(PixelAt(Tree, Text.Right - 1, Y), ScreenColor(ItemFocus));
}

}  // namespace

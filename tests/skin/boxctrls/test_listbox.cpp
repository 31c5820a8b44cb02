// The skinned list box: its external scroll bar against the item count, the wheel, and the
// item painters of both looks (rows, states, the fill below the rows, tab stops and the
// horizontal offset).
#include <algorithm>
#include <string>
#include <vector>

#include "skin/boxctrls/bsSkinBoxCtrls.h"
#include "tests/skin/SkinTestSupport.h"
#include "tests/skin/boxctrls/BoxSkinSupport.h"

namespace {

using namespace SkinTesting;

// The "listbox" part's picture: frame, client piece and the three item pictures, each in a
// colour of its own.
constexpr TColor FrameColor = clNavy, ClientColor = clTeal, ItemColor = clOlive, ActiveColor = clPurple,
                 FocusColor = clGreen;

std::string ListPartKeys(const std::string& ClientRect) {
  return "pictureindex=0\r\nskinrect=0,0,40,40\r\nclientrect=" + ClientRect +
         "\r\nlefttoppoint=4,4\r\nrighttoppoint=36,4\r\nleftbottompoint=4,36\r\nrightbottompoint=36,36\r\n"
         "itemrect=50,0,90,16\r\nactiveitemrect=50,20,90,36\r\nfocusitemrect=50,40,90,56\r\n"
         "itemtextrect=2,0,38,16\r\nfontcolor=16777215\r\nactivefontcolor=16777215\r\n"
         "focusfontcolor=16777215\r\n";
}

class TListBoxTest : public TSkinTest {
 protected:
  void SetUp() override {
    TSkinTest::SetUp();
    Form = NewForm("Form", 100, 100, 400, 300);
    List = NewControl<TbsSkinListBox>(Form, "List", 10, 10);
    List->SetBounds(10, 10, 150, 124);  // six rows of 20 in the default look
    Other = NewControl<TbsSkinListBox>(Form, "Other", 200, 10);
    Form->Show();
    Pump();
    Unfocus();
  }
  // The focus goes to the other list.
  void Unfocus() {
    Other->ListBox->SetFocus();
    Pump();
  }
  void AddItems(Integer Count, const std::string& Prefix = "Item ") {
    for (Integer I = 0; I < Count; ++I) List->GetItems()->Add(Prefix + std::to_string(I));
    Pump();
  }
  void LoadSkin(const std::string& ClientRect = "4,4,36,36") {
    const std::string Picture = BoxSkin::Picture(100, 60, clGray,
                                                 {{Rect(0, 0, 40, 40), FrameColor},
                                                  {Rect(4, 4, 36, 36), ClientColor},
                                                  {Rect(50, 0, 90, 16), ItemColor},
                                                  {Rect(50, 20, 90, 36), ActiveColor},
                                                  {Rect(50, 40, 90, 56), FocusColor}});
    BoxSkin::Load(Skin, {Picture}, {{"listbox", "listbox", ListPartKeys(ClientRect)}});
    List->SetSkinData(&Skin);
    Pump();
  }
  TbsListBox* Inner() const { return List->ListBox; }
  // A pixel of the inner list.
  DWORD InnerPixel(Integer X, Integer Y) { return PixelAt(Inner(), X, Y); }
  // The pixels of one row of the inner list.
  std::vector<DWORD> RowPixels(Integer Row) {
    Pump();
    const TRect R = Inner()->ItemRect(Row);
    const TPoint O = Inner()->ClientToScreen(Point(R.Left, R.Top));
    return ScreenPixels(Bounds(O.X, O.Y, R.Width(), R.Height()));
  }
  // The rightmost column of a row that holds Ink, -1 for none.
  Integer RightmostInk(Integer Row, DWORD Ink) {
    const std::vector<DWORD> P = RowPixels(Row);
    const Integer W = Inner()->ItemRect(Row).Width();
    Integer Right = -1;
    for (std::size_t I = 0; I < P.size(); ++I)
      if (P[I] == Ink) Right = std::max(Right, static_cast<Integer>(I) % W);
    return Right;
  }
  TForm* Form = nullptr;
  TbsSkinListBox* List = nullptr;
  TbsSkinListBox* Other = nullptr;
  TbsSkinData Skin{nullptr};
};

TEST_F(TListBoxTest, TheBarComesAndGoesWithTheItemCount) {
  // Six rows fit; the seventh item needs the bar, deleting it frees the bar again.
  for (Integer I = 0; I < 7; ++I) {
    List->GetItems()->Add("Item " + std::to_string(I));
    Pump();
    EXPECT_EQ(List->MainScrollBar != nullptr, I >= 6) << I;
  }
  EXPECT_EQ(List->MainScrollBar->GetLeft(), 150 - 20);
  EXPECT_EQ(List->InnerRect.Right, 150 - 20);
  List->GetItems()->Delete(6);
  Pump();
  EXPECT_EQ(List->MainScrollBar, nullptr);
  EXPECT_EQ(List->InnerRect.Right, 150 - 2);
  // A row count equal to the item count never needs a bar.
  AddItems(4);
  ASSERT_NE(List->MainScrollBar, nullptr);
  List->SetRowCount(List->GetItems()->GetCount());
  Pump();
  EXPECT_EQ(List->MainScrollBar, nullptr);
  EXPECT_EQ(List->GetHeight(), 10 * 20 + 4);
}

TEST_F(TListBoxTest, TheWheelScrollsOneLineMoreThanTheNativeList) {
  AddItems(30);
  Inner()->SetFocus();
  MoveAt(Inner(), 20, 20);
  ScriptWheel(-120);
  Pump();
  EXPECT_EQ(Inner()->GetTopIndex(), 4);  // three native lines and one more
  EXPECT_EQ(List->MainScrollBar->GetPosition(), 4);
  ScriptWheel(120);
  Pump();
  EXPECT_EQ(Inner()->GetTopIndex(), 0);
}

TEST_F(TListBoxTest, DefaultLookRowsAndFocusFrame) {
  AddItems(3);
  List->SetItemIndex(1);
  Pump();
  // Unselected rows in the window colour, below the rows the window colour too.
  EXPECT_EQ(InnerPixel(Inner()->GetWidth() - 3, 10), ScreenColor(clWindow));
  EXPECT_EQ(InnerPixel(Inner()->GetWidth() - 3, 3 * 20 + 5), ScreenColor(clWindow));
  EXPECT_EQ(InnerPixel(Inner()->GetWidth() - 3, 30), ScreenColor(clHighlight));
  // Focused: a dotted frame over the selected row's edge.
  const std::vector<DWORD> Before = RowPixels(1);
  Inner()->SetFocus();
  const std::vector<DWORD> After = RowPixels(1);
  const Integer W = Inner()->ItemRect(1).Width();
  Integer Changed = 0;
  for (Integer X = 20; X < 60; ++X) Changed += Before[X] != After[X] ? 1 : 0;
  EXPECT_EQ(Changed, 20) << "one pixel in two along the top edge";
  EXPECT_EQ(After[W + 30], Before[W + 30]) << "the inside keeps its colour";
}

TEST_F(TListBoxTest, HorizontalOffsetMovesTextButNotTabbedText) {
  List->GetItems()->Add("            W");
  Pump();
  const DWORD Ink = ScreenColor(clWindowText);
  const Integer Plain = RightmostInk(0, Ink);
  ASSERT_GT(Plain, 40);
  Inner()->HorzOffset = 30;
  Inner()->Invalidate();
  EXPECT_EQ(RightmostInk(0, Ink), Plain - 30);
  // Tab stops "40", "x", "100": a line that is not a number is a stop at 0, and tabbed text
  // keeps its place whatever the offset.
  List->GetItems()->SetStrings(0, "\tW");
  auto Tabbed = [&](std::vector<std::string> Lines) {
    TStringList L;
    for (const std::string& S : Lines) L.Add(S);
    List->SetTabWidths(&L);
    return RowPixels(0);
  };
  const std::vector<DWORD> WithX = Tabbed({"40", "x", "100"});
  EXPECT_EQ(WithX, Tabbed({"40", "0", "100"}));
  EXPECT_NE(WithX, Tabbed({"60", "0", "100"}));
  Inner()->HorzOffset = 0;
  EXPECT_EQ(Tabbed({"40", "x", "100"}), WithX);
  EXPECT_GE(RightmostInk(0, Ink), 40);
}

TEST_F(TListBoxTest, WideTextsGetAHorizontalBar) {
  List->SetHorizontalExtent(true);
  AddItems(2);
  EXPECT_EQ(List->ExtentScrollBar, nullptr);
  List->GetItems()->Add(std::string(60, 'W'));
  Pump();
  TbsSkinScrollBar* Bar = List->ExtentScrollBar;
  ASSERT_NE(Bar, nullptr);
  EXPECT_FALSE(Bar->GetBoth());
  EXPECT_EQ(Bar->GetBoundsRect(), Rect(1, 124 - 20, 149, 124 - 1));
  EXPECT_EQ(List->InnerRect.Bottom, 124 - 2 - 18);
  // Right scrolls by the width of "0" and the text follows.
  const Integer Step = Bar->GetSmallChange();
  ASSERT_GT(Step, 0);
  Inner()->SetFocus();
  ScriptKeyPress(VK_RIGHT);
  ScriptKeyPress(VK_RIGHT);
  Pump();
  EXPECT_EQ(Bar->GetPosition(), 2 * Step);
  EXPECT_EQ(Inner()->HorzOffset, 2 * Step);
  EXPECT_EQ(List->GetItemIndex(), -1) << "the keys scroll, they do not select";
  // A narrower list keeps the scrolled text's right edge in place.
  List->SetWidth(130);
  Pump();
  EXPECT_EQ(Inner()->HorzOffset, 2 * Step + 20);
  // With the vertical bar too the horizontal one shows the corner and the list ends above it.
  AddItems(10);
  ASSERT_NE(List->MainScrollBar, nullptr);
  EXPECT_TRUE(List->ExtentScrollBar->GetBoth());
  EXPECT_EQ(List->ExtentScrollBar->GetBothMarkerWidth(), 19);
  EXPECT_EQ(List->MainScrollBar->GetBoundsRect().Bottom, List->ExtentScrollBar->GetTop() + 1);
  // Off: the bar goes and the text is back at its place.
  List->SetHorizontalExtent(false);
  Pump();
  EXPECT_EQ(List->ExtentScrollBar, nullptr);
  EXPECT_EQ(Inner()->HorzOffset, 0);
}

TEST_F(TListBoxTest, CaptionButtonSizeFollowsTheCaptionHeight) {
  struct TCase {
    Integer CaptionHeight, ButtonSize;
  };
  for (const TCase& C : std::vector<TCase>{{30, 17}, {20, 17}, {12, 9}}) {
    List->SetCaptionMode(true);
    List->SetDefaultCaptionHeight(C.CaptionHeight);
    Pump();
    EXPECT_EQ(List->GetCaptionButtonRect(0), Rect(150 - C.ButtonSize - 2, 2, 150 - 2, C.ButtonSize + 1));
    EXPECT_EQ(List->GetCaptionButtonRect(2).Left, 150 - 3 * C.ButtonSize - 2);
    EXPECT_EQ(List->InnerRect.Top, C.CaptionHeight + 1);
  }
}

class TCaptionButtonsTest : public TListBoxTest {
 public:
  void SetUp() override {
    TListBoxTest::SetUp();
    AddItems(20);
    List->SetCaptionMode(true);
    List->SetItemIndex(0);
    Pump();
  }
  TPoint DownButton() {
    const TRect R = List->GetCaptionButtonRect(1);
    return At(List, R.Left + R.Width() / 2, R.Top + R.Height() / 2);
  }
  void Clicked(TObject*) { ++Clicks; }
  Integer Clicks = 0;
};

TEST_F(TCaptionButtonsTest, AClickStepsOnceOnRelease) {
  const TPoint P = DownButton();
  ScriptMoveTo(P.X, P.Y);
  ScriptButton(true);
  Pump();
  EXPECT_EQ(List->GetItemIndex(), 0);
  ScriptButton(false);
  Pump();
  EXPECT_EQ(List->GetItemIndex(), 1);
}

TEST_F(TCaptionButtonsTest, HoldingRepeatsAfterHalfASecondEveryTenthUntilTheEnd) {
  const TPoint P = DownButton();
  ScriptMoveTo(P.X, P.Y);
  ScriptButton(true);
  Pump();
  Wait(590);
  EXPECT_EQ(List->GetItemIndex(), 0);
  Wait(20);
  EXPECT_EQ(List->GetItemIndex(), 1);
  Wait(300);
  EXPECT_EQ(List->GetItemIndex(), 4);
  Wait(3000);
  EXPECT_EQ(List->GetItemIndex(), 19) << "stays on the last item";
  ScriptButton(false);
  Pump();
  EXPECT_EQ(List->GetItemIndex(), 19);
}

TEST_F(TCaptionButtonsTest, AHandlerTakesTheClickAndNothingRepeats) {
  List->OnDownButtonClick = TNotifyEvent(this, &TCaptionButtonsTest::Clicked);
  const TPoint P = DownButton();
  ScriptMoveTo(P.X, P.Y);
  ScriptButton(true);
  Pump();
  Wait(1000);
  ScriptButton(false);
  Pump();
  EXPECT_EQ(Clicks, 1);
  EXPECT_EQ(List->GetItemIndex(), 0);
}

TEST_F(TListBoxTest, SkinnedRowsTakeTheStatePictures) {
  AddItems(3);
  LoadSkin();
  // Rows as high as the item picture; the frame around the part's client area.
  EXPECT_EQ(Inner()->GetItemHeight(), 16);
  EXPECT_EQ(List->InnerRect, Rect(4, 4, 150 - 4, 124 - 4));
  const Integer X = Inner()->GetWidth() - 2;
  EXPECT_EQ(InnerPixel(X, 8), BoxSkin::Screen(ItemColor));
  List->SetItemIndex(1);
  EXPECT_EQ(InnerPixel(X, 16 + 8), BoxSkin::Screen(ActiveColor));
  Inner()->SetFocus();
  EXPECT_EQ(InnerPixel(X, 16 + 8), BoxSkin::Screen(FocusColor));
  // Below the rows the client piece is tiled.
  EXPECT_EQ(InnerPixel(X, 3 * 16 + 4), BoxSkin::Screen(ClientColor));
}

TEST_F(TListBoxTest, AClientPieceOfNoSizeGivesThePlainFill) {
  AddItems(2);
  LoadSkin("4,4,4,36");
  EXPECT_EQ(InnerPixel(10, 2 * 16 + 10), ScreenColor(clWindow));
  EXPECT_EQ(InnerPixel(Inner()->GetWidth() - 2, 8), BoxSkin::Screen(ItemColor));
}

TEST_F(TListBoxTest, APartOfAnotherKindCountsAsNone) {
  AddItems(2);
  const std::string Picture = BoxSkin::Picture(40, 40, clRed, {});
  BoxSkin::Load(Skin, {Picture}, {{"listbox", "panel", "pictureindex=0\r\nskinrect=0,0,40,40\r\n"}});
  List->SetSkinData(&Skin);
  Pump();
  EXPECT_EQ(List->PartIndex, -1);
  EXPECT_EQ(Inner()->GetItemHeight(), 20);
  EXPECT_EQ(InnerPixel(Inner()->GetWidth() - 3, 10), ScreenColor(clWindow));
}

}  // namespace

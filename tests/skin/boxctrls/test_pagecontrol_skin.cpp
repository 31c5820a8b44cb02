// The skinned page control's geometry over the native tab control (display area both ways,
// tab rectangles, the shifted row, the skinned scroller), closing pages by their close
// buttons, wheel paging, and the tabs drawn from a "tab" part on top and at the bottom.
#include <string>
#include <vector>

#include "platform/user/CommonControls.h"
#include "skin/boxctrls/bsSkinBoxCtrls.h"
#include "skin/boxctrls/bsSkinBoxCtrlsUpDown.h"
#include "skin/boxctrls/bsSkinTabs.h"
#include "tests/skin/SkinTestSupport.h"
#include "tests/skin/boxctrls/BoxSkinSupport.h"

namespace {

using namespace SkinTesting;

constexpr TColor FrameColor = clNavy, PageColor = clTeal, TabTopColor = clOlive, TabBottomColor = clYellow,
                 ActiveTabColor = clPurple, RowColor = clMaroon;

// A "tab" part: a 60 x 60 frame with a 4-pixel border, normal tabs olive above yellow, the
// active tab purple, the row background maroon.
std::string TabPartKeys(Integer BGPictureIndex = -1) {
  return "pictureindex=0\r\nskinrect=0,0,60,60\r\nclientrect=4,4,56,56\r\nlefttoppoint=4,4\r\n"
         "righttoppoint=56,4\r\nleftbottompoint=4,56\r\nrightbottompoint=56,56\r\ntabrect=70,0,110,20\r\n"
         "activetabrect=70,30,110,50\r\ntabsbgrect=70,60,80,70\r\nbgpictureindex=" +
         std::to_string(BGPictureIndex) + "\r\n";
}

std::string TabPicture() {
  return BoxSkin::Picture(120, 80, clGray,
                          {{Rect(0, 0, 60, 60), FrameColor},
                           {Rect(4, 4, 56, 56), PageColor},
                           {Rect(70, 0, 110, 10), TabTopColor},
                           {Rect(70, 10, 110, 20), TabBottomColor},
                           {Rect(70, 30, 110, 50), ActiveTabColor},
                           {Rect(70, 60, 80, 70), RowColor}});
}

class TPageControlSkinTest : public TSkinTest {
 public:
  void SetUp() override {
    TSkinTest::SetUp();
    Form = NewForm("Form", 100, 100, 400, 300);
    Pages = new TbsSkinPageControl(Form);
    Pages->SetName("Pages");
    Pages->SetParent(Form);
    Pages->SetBounds(0, 0, 400, 300);
    for (const char* Caption : {"Load && settings ", "Pattern control ", "Video scripts "}) {
      auto* Sheet = new TbsSkinTabSheet(Form);
      Sheet->SetPageControl(Pages);
      Sheet->SetCaption(Caption);
      Sheets.push_back(Sheet);
    }
    Form->Show();
    Pump();
  }
  void LoadSkin(const std::string& Keys, const std::string& TypeWord = "tab") {
    BoxSkin::Load(Skin, {TabPicture()}, {{"tab", TypeWord, Keys}});
    Pages->SetSkinData(&Skin);
    Pump();
  }
  TRect Adjust(bool Larger, TRect R) {
    SendMessage(Pages->GetHandle(), TCM_ADJUSTRECT, Larger ? TRUE : FALSE, reinterpret_cast<LPARAM>(&R));
    return R;
  }
  void CloseButtonClick(Integer Tab) {
    const TRect T = Pages->GetTabRect(Tab);
    auto* Sheet = static_cast<TbsSkinTabSheet*>(Pages->GetActivePage());
    MoveAt(Pages, T.Left + 3, T.Top + 3);
    const TRect B = Sheet->CloseButtonRect;
    ClickAt(Pages, T.Left + B.Left + B.Width() / 2, T.Top + B.Top + B.Height() / 2);
  }
  void OnClose(TObject* Sender, bool& CanClose) {
    Events.push_back("Close " + static_cast<TComponent*>(Sender)->GetName());
    CanClose = AllowClose;
  }
  void OnAfterClose(TObject*) { Events.push_back("AfterClose"); }

  TForm* Form = nullptr;
  TbsSkinPageControl* Pages = nullptr;
  std::vector<TbsSkinTabSheet*> Sheets;
  TbsSkinData Skin{nullptr};
  std::vector<std::string> Events;
  bool AllowClose = true;
};

// The native numbers the corrections start from.
TEST_F(TPageControlSkinTest, NativeTabMetrics) {
  TPageControl* Plain = new TPageControl(Form);
  Plain->SetParent(Form);
  Plain->SetBounds(0, 0, 300, 200);
  auto* Sheet = new TTabSheet(Form);
  Sheet->SetPageControl(Plain);
  Plain->SetTabHeight(20);
  Pump();
  TRect R = Rect(0, 0, 300, 200);
  SendMessage(Plain->GetHandle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&R));
  EXPECT_EQ(R, Rect(4, 26, 296, 196));
  EXPECT_EQ(Plain->TabRect(0).Top, 2);
  EXPECT_EQ(Plain->TabRect(0).Left, 2);
  Plain->SetTabPosition(tpBottom);
  Pump();
  R = Rect(0, 0, 300, 200);
  SendMessage(Plain->GetHandle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&R));
  EXPECT_EQ(R, Rect(4, 4, 296, 174));
}

TEST_F(TPageControlSkinTest, DisplayAreaCorrectedBothWays) {
  struct TCase {
    bool Skinned;
    TTabPosition Position;
    TRect Display;
  };
  // 400 x 300, one row of 20-pixel tabs: native {4, 26, 396, 296} on top, {4, 4, 396, 274} at
  // the bottom. The part's margins are 4 on every side.
  const std::vector<TCase> Cases{
      {false, tpTop, Rect(1, 21, 399, 299)},
      {false, tpBottom, Rect(1, 1, 399, 277)},
      {true, tpTop, Rect(4, 24, 396, 296)},
      {true, tpBottom, Rect(4, 4, 396, 274)},
  };
  for (const TCase& C : Cases) {
    if (C.Skinned) LoadSkin(TabPartKeys());
    Pages->SetTabPosition(C.Position);
    Pump();
    const TRect D = Adjust(false, Rect(0, 0, 400, 300));
    EXPECT_EQ(D, C.Display) << C.Skinned << " " << C.Position;
    EXPECT_EQ(Pages->GetDisplayRect(), C.Display);
    // The other direction undoes it.
    EXPECT_EQ(Adjust(true, D), Rect(0, 0, 400, 300)) << C.Skinned << " " << C.Position;
    EXPECT_EQ(Sheets[0]->GetBoundsRect(), C.Display);
  }
}

TEST_F(TPageControlSkinTest, TabRectanglesMoveTwoPixelsOut) {
  const TRect Top0 = Pages->TabRect(0), Top1 = Pages->TabRect(1);
  EXPECT_EQ(Top0.Top, 0);
  EXPECT_EQ(Top0.Left, 0);
  EXPECT_EQ(Pages->GetTabRect(0).Left, 1);
  EXPECT_EQ(Pages->GetTabRect(1), Top1);
  Pages->SetTabPosition(tpBottom);
  Pump();
  EXPECT_EQ(Pages->TabRect(0).Bottom, 300);
  Pages->SetStyle(tsButtons);
  Pump();
  EXPECT_EQ(Pages->TabRect(0).Left, 0);
}

TEST_F(TPageControlSkinTest, ShiftedRow) {
  Pages->SetTabsInCenter(true);
  EXPECT_FALSE(Pages->GetTabsInCenter()) << "no fixed tab width";
  Pages->SetTabPosition(tpLeft);
  Pages->SetTabsOffset(40);
  Pump();
  EXPECT_EQ(Pages->GetTabPosition(), tpTop);
  EXPECT_FALSE(Pages->GetMultiLine());
  EXPECT_TRUE(Pages->GetTabsBGTransparent());
  const TRect R = Pages->GetTabRect(2);
  EXPECT_EQ(R.Left, Pages->TabRect(2).Left);
  ClickAt(Pages, R.Left + 5, R.Top + 5);
  EXPECT_EQ(Pages->GetActivePageIndex(), 2);
  // Centred: half the width less half the row.
  Pages->SetTabsOffset(0);
  Pages->SetTabWidth(80);
  Pages->SetTabsInCenter(true);
  EXPECT_EQ(Pages->GetTabsOffset(), 200 - 120);
}

TEST_F(TPageControlSkinTest, TheSkinnedScrollerStandsInWhileTabsAreCut) {
  auto NativeArrows = [this] { return FindWindowEx(Pages->GetHandle(), nullptr, UPDOWN_CLASS, nullptr); };
  EXPECT_EQ(Pages->GetTabScroller(), nullptr);
  Pages->SetWidth(150);
  Pump();
  TbsSkinUpDown* S = Pages->GetTabScroller();
  ASSERT_NE(S, nullptr);
  EXPECT_EQ(NativeArrows(), nullptr);
  EXPECT_EQ(S->GetBoundsRect(), Rect(150 - 40, 0, 150, 20));
  EXPECT_EQ(S->GetMax(), Pages->GetScrollRange());
  // Its step scrolls the native row.
  S->SetPosition(1);
  Pump();
  EXPECT_EQ(Pages->GetScrollPosition(), 1);
  Pages->SetWidth(400);
  Pump();
  EXPECT_EQ(Pages->GetTabScroller(), nullptr);
  EXPECT_EQ(NativeArrows(), nullptr);
}

TEST_F(TPageControlSkinTest, CloseButtons) {
  const Integer Plain = Pages->TabRect(0).Width();
  Pages->SetShowCloseButtons(true);
  Pump();
  // Each tab makes room for the 14-pixel button and its gap.
  EXPECT_EQ(Pages->TabRect(0).Width(), Plain + 16);
  Pages->OnClose = TbsCloseEvent(this, &TPageControlSkinTest::OnClose);
  Pages->OnAfterClose = TNotifyEvent(this, &TPageControlSkinTest::OnAfterClose);
  Sheets[1]->SetName("Second");
  Sheets[2]->SetName("Third");
  Pages->SetActivePageIndex(1);
  Pump();
  // Refused: nothing closes.
  AllowClose = false;
  CloseButtonClick(1);
  EXPECT_EQ(Events, (std::vector<std::string>{"Close Second"}));
  EXPECT_TRUE(Sheets[1]->GetTabVisible());
  // Allowed: the tab goes, the sheet stays.
  Events.clear();
  AllowClose = true;
  CloseButtonClick(1);
  EXPECT_EQ(Events, (std::vector<std::string>{"Close Second", "AfterClose"}));
  EXPECT_FALSE(Sheets[1]->GetTabVisible());
  EXPECT_EQ(Pages->GetPageCount(), 3);
  // FreeOnClose frees the sheet.
  Events.clear();
  Pages->SetFreeOnClose(true);
  Pages->SetActivePageIndex(2);
  Pump();
  CloseButtonClick(1);
  EXPECT_EQ(Events, (std::vector<std::string>{"Close Third", "AfterClose"}));
  EXPECT_EQ(Pages->GetPageCount(), 2);
}

TEST_F(TPageControlSkinTest, WheelPagesOnlyWhenAskedAndFocused) {
  Pages->SetActivePageIndex(0);
  MoveAt(Pages, 200, 150);
  ScriptWheel(-120);
  Pump();
  EXPECT_EQ(Pages->GetActivePageIndex(), 0);
  Pages->SetMouseWheelSupport(true);
  // A click on the active tab gives the control the focus.
  const TRect T = Pages->GetTabRect(0);
  ClickAt(Pages, T.Left + 5, T.Top + 5);
  MoveAt(Pages, 200, 150);
  ASSERT_TRUE(Pages->Focused());
  Sheets[1]->SetTabVisible(false);
  for (Integer Expected : {2, 2}) {
    ScriptWheel(-120);
    Pump();
    EXPECT_EQ(Pages->GetActivePageIndex(), Expected) << "skips hidden tabs, no wrapping";
  }
  ScriptWheel(120);
  Pump();
  EXPECT_EQ(Pages->GetActivePageIndex(), 0);
  Pages->SetTabMargin(-2);
  EXPECT_EQ(Pages->GetTabMargin(), -1);
}

TEST_F(TPageControlSkinTest, SkinnedTabsOnTopAndAtTheBottom) {
  LoadSkin(TabPartKeys());
  Pages->SetActivePageIndex(0);
  Pump();
  const TRect Other = Pages->GetTabRect(2);
  EXPECT_EQ(PixelAt(Pages, Other.Left + 20, Other.Top + 2), BoxSkin::Screen(TabTopColor));
  EXPECT_EQ(PixelAt(Pages, Other.Left + 20, Other.Bottom - 3), BoxSkin::Screen(TabBottomColor));
  const TRect Active = Pages->GetTabRect(0);
  EXPECT_EQ(PixelAt(Pages, Active.Left + 20, Active.Top + 2), BoxSkin::Screen(ActiveTabColor));
  // The row's background right of the tabs, the frame around the page, the page's piece.
  EXPECT_EQ(PixelAt(Pages, 395, 5), BoxSkin::Screen(RowColor));
  EXPECT_EQ(PixelAt(Pages, 1, 100), BoxSkin::Screen(FrameColor));
  EXPECT_EQ(PixelAt(Sheets[0], 10, 10), BoxSkin::Screen(PageColor));
  // At the bottom the tab picture is mirrored top to bottom.
  Pages->SetTabPosition(tpBottom);
  Pump();
  const TRect Bottom = Pages->GetTabRect(2);
  EXPECT_EQ(PixelAt(Pages, Bottom.Left + 20, Bottom.Top + 2), BoxSkin::Screen(TabBottomColor));
  EXPECT_EQ(PixelAt(Pages, Bottom.Left + 20, Bottom.Bottom - 3), BoxSkin::Screen(TabTopColor));
  EXPECT_EQ(PixelAt(Pages, 395, 295), BoxSkin::Screen(RowColor));
  // Repeated paints are identical.
  Pump();
  const TPoint O = Pages->ClientToScreen(Point(0, 0));
  const std::vector<DWORD> First = ScreenPixels(Bounds(O.X, O.Y, 400, 300));
  Pages->Invalidate();
  Pump();
  EXPECT_EQ(ScreenPixels(Bounds(O.X, O.Y, 400, 300)), First);
}

TEST_F(TPageControlSkinTest, ABackgroundPictureBeyondTheListIsNone) {
  LoadSkin(TabPartKeys(7));
  EXPECT_EQ(Pages->GetPart().BGPicture, nullptr);
  EXPECT_EQ(PixelAt(Sheets[0], 10, 10), BoxSkin::Screen(PageColor));
}

TEST_F(TPageControlSkinTest, APartOfAnotherKindCountsAsNone) {
  LoadSkin("pictureindex=0\r\nskinrect=0,0,60,60\r\n", "panel");
  EXPECT_EQ(Pages->PartIndex, -1);
  EXPECT_EQ(Pages->GetDisplayRect(), Rect(1, 21, 399, 299));
  EXPECT_EQ(PixelAt(Sheets[0], 10, 10), ScreenColor(clBtnFace));
}

}  // namespace

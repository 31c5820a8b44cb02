// The ribbon: tab widths and their compression, selection when tabs hide, the keyboard, tabs
// without a page, and the button items and MDI buttons at the strip's right end.
#include <memory>
#include <string>
#include <vector>

#include "platform/classes/Bitmap.h"
#include "platform/classes/ImgList.h"
#include "skin/form/bsRibbon.h"
#include "tests/skin/SkinTestSupport.h"

namespace {

using namespace SkinTesting;

class TRibbonTest : public TSkinTest {
 public:
  void Clicked(TObject*) { Log.push_back("click " + std::to_string(Clicks++)); }
  void ClickedA(TObject*) { Log.push_back("A"); }
  void ClickedB(TObject*) { Log.push_back("B"); }

 protected:
  void SetUp() override {
    TSkinTest::SetUp();
    Form = NewForm("Form", 50, 50, 500, 300);
    Form->Show();
    Ribbon = new TbsRibbon(Form);
    Ribbon->SetParent(Form);
    Pump();
  }
  TbsRibbonTab* AddTab(const std::string& Caption, bool WithPage = true) {
    TbsRibbonTab* T = Ribbon->GetTabs()->Add();
    if (WithPage) {
      auto* Page = new TbsRibbonPage(Form);
      Page->SetPageCaption(Caption);
      T->SetPage(Page);
      Page->FRibbon = Ribbon;
    }
    return T;
  }
  void Layout() {
    TBitmap B;
    B.SetSize(10, 10);
    Ribbon->CalcLayout(B.GetCanvas());
  }
  TImageList* Images16() {
    auto* L = new TImageList(Form);
    L->SetWidth(16);
    L->SetHeight(16);
    return L;
  }

  TForm* Form = nullptr;
  TbsRibbon* Ribbon = nullptr;
  TLines Log;
  Integer Clicks = 0;
};

TEST(RibbonTabWidths, CompressInProportionWithAMinimumOf15) {
  struct TCase {
    std::vector<Integer> In;
    Integer Available;
    std::vector<Integer> Out;
    bool Compressed;
  };
  const TCase Cases[] = {
      {{70, 90, 130}, 200, {48, 62, 89}, true},
      {{30, 400}, 200, {15, 186}, true},
      {{70, 90}, 160, {70, 90}, false},
  };
  for (const TCase& C : Cases) {
    std::vector<Integer> W = C.In;
    EXPECT_EQ(TbsRibbon::CompressTabWidths(W, C.Available), C.Compressed);
    EXPECT_EQ(W, C.Out);
  }
}

TEST_F(TRibbonTest, TabsStartRightOfTheAppButtonAndShrinkToTheStrip) {
  AddTab("One");
  AddTab("Two");
  Layout();
  const TbsRibbonTab* First = Ribbon->GetTabs()->GetItem(0);
  const TbsRibbonTab* Second = Ribbon->GetTabs()->GetItem(1);
  EXPECT_EQ(First->FTabRect.Left, 60);
  EXPECT_EQ(First->FTabRect.Top, 1);
  EXPECT_EQ(First->FTabRect.Bottom, 24);
  EXPECT_EQ(Second->FTabRect.Left, First->FTabRect.Right);
  EXPECT_FALSE(Ribbon->GetTabsCompressed());
  // Narrow enough: each keeps at least 15 pixels, and they are compressed.
  Ribbon->SetAlign(alNone);
  Ribbon->SetWidth(90);
  Layout();
  EXPECT_TRUE(Ribbon->GetTabsCompressed());
  EXPECT_EQ(First->FTabWidth, 15);
}

TEST_F(TRibbonTest, HidingTheSelectedTabSelectsANeighbour) {
  for (const char* C : {"A", "B", "C"}) AddTab(C);
  auto Tab = [&](Integer I) { return Ribbon->GetTabs()->GetItem(I); };
  Ribbon->SetTabIndex(1);
  EXPECT_TRUE(Tab(1)->GetPage()->GetVisible());
  Tab(1)->SetVisible(false);
  EXPECT_EQ(Ribbon->GetTabIndex(), 2);
  EXPECT_FALSE(Tab(1)->GetPage()->GetVisible());
  Tab(2)->SetVisible(false);
  EXPECT_EQ(Ribbon->GetTabIndex(), 0);
  // Selecting a hidden tab shows it.
  Ribbon->SetTabIndex(2);
  EXPECT_TRUE(Tab(2)->GetVisible());
  EXPECT_EQ(Ribbon->GetTabIndex(), 2);
  EXPECT_EQ(Ribbon->GetActivePage(), Tab(2)->GetPage());
  Ribbon->SetTabIndex(7);
  EXPECT_EQ(Ribbon->GetTabIndex(), 2);
}

TEST_F(TRibbonTest, ATabWithoutAPageIsNeitherMeasuredNorSelected) {
  AddTab("A");
  TbsRibbonTab* Empty = AddTab("", false);
  AddTab("C");
  Layout();
  EXPECT_EQ(Empty->FTabRect, TRect());
  EXPECT_EQ(Ribbon->GetTabs()->GetItem(2)->FTabRect.Left, Ribbon->GetTabs()->GetItem(0)->FTabRect.Right);
  Ribbon->SetTabIndex(0);
  Ribbon->SetTabIndex(1);
  EXPECT_EQ(Ribbon->GetTabIndex(), 0);
  Ribbon->SelectNextTab();
  EXPECT_EQ(Ribbon->GetTabIndex(), 2);
  // A ribbon with only such tabs has no tab to select.
  TbsRibbon* Other = new TbsRibbon(Form);
  Other->SetParent(Form);
  Other->GetTabs()->Add();
  Other->SetTabIndex(0);
  EXPECT_EQ(Other->GetTabIndex(), -1);
  Pump();
}

TEST_F(TRibbonTest, LeftFromTheFirstTabFocusesTheAppButton) {
  AddTab("A");
  AddTab("B");
  Ribbon->SetTabIndex(1);
  Ribbon->Perform(WM_KEYDOWN, VK_LEFT, 0);
  EXPECT_EQ(Ribbon->GetTabIndex(), 0);
  EXPECT_FALSE(Ribbon->GetAppButton()->Focused());
  Ribbon->Perform(WM_KEYDOWN, VK_LEFT, 0);
  EXPECT_TRUE(Ribbon->GetAppButton()->Focused());
  EXPECT_EQ(Ribbon->GetTabIndex(), 0);
  Ribbon->Perform(WM_KEYDOWN, VK_NEXT, 0);
  EXPECT_EQ(Ribbon->GetTabIndex(), 1);
  // With tab 0 hidden and tab 1 selected, Left does nothing.
  Ribbon->GetTabs()->GetItem(0)->SetVisible(false);
  Ribbon->Perform(WM_KEYDOWN, VK_LEFT, 0);
  EXPECT_EQ(Ribbon->GetTabIndex(), 1);
}

TEST_F(TRibbonTest, ButtonItemsSitAtTheRightEnd) {
  AddTab("A");
  Ribbon->ButtonsImageList = Images16();
  for (Integer I = 0; I < 2; ++I) Ribbon->GetButtons()->Add();
  Layout();
  EXPECT_EQ(Ribbon->GetButtons()->GetItem(0)->FItemRect, Rect(454, 1, 476, 23));
  EXPECT_EQ(Ribbon->GetButtons()->GetItem(1)->FItemRect, Rect(476, 1, 498, 23));
  EXPECT_EQ(Ribbon->GetButtonsAreaWidth(), 48);
  // Without an image list they are not placed.
  Ribbon->ButtonsImageList = nullptr;
  Layout();
  EXPECT_EQ(Ribbon->GetButtonsAreaWidth(), 5);
}

TEST_F(TRibbonTest, AButtonFiresWhereTheMouseIsReleased) {
  AddTab("A");
  Ribbon->ButtonsImageList = Images16();
  TbsRibbonButtonItem* A = Ribbon->GetButtons()->Add();
  TbsRibbonButtonItem* B = Ribbon->GetButtons()->Add();
  TbsRibbonButtonItem* Off = Ribbon->GetButtons()->Add();
  A->OnClick = TNotifyEvent(this, &TRibbonTest::ClickedA);
  B->OnClick = TNotifyEvent(this, &TRibbonTest::ClickedB);
  Off->OnClick = TNotifyEvent(this, &TRibbonTest::ClickedB);
  Off->SetEnabled(false);
  Pump();
  const TPoint PA = Ribbon->ClientToScreen({A->FItemRect.Left + 5, 10});
  const TPoint PB = Ribbon->ClientToScreen({B->FItemRect.Left + 5, 10});
  const TPoint POff = Ribbon->ClientToScreen({Off->FItemRect.Left + 5, 10});
  ScriptDrag(PA, PB, 3);
  Pump();
  EXPECT_EQ(Log, (TLines{"B"}));
  Log.clear();
  ScriptClick(POff.X, POff.Y);
  Pump();
  EXPECT_TRUE(Log.empty());
  EXPECT_EQ(Ribbon->FHotButton, -1);
}

TEST_F(TRibbonTest, NoTabsNoHotButtons) {
  Ribbon->ButtonsImageList = Images16();
  TbsRibbonButtonItem* A = Ribbon->GetButtons()->Add();
  A->OnClick = TNotifyEvent(this, &TRibbonTest::ClickedA);
  Pump();
  const TPoint P = Ribbon->ClientToScreen({A->FItemRect.Left + 5, 10});
  ScriptClick(P.X, P.Y);
  Pump();
  EXPECT_TRUE(Log.empty());
  EXPECT_EQ(Ribbon->GetTabIndex(), -1);
}

TEST_F(TRibbonTest, MDIButtonsWithoutASkin) {
  AddTab("A");
  Ribbon->ShowMDIButtons();
  Layout();
  ASSERT_EQ(Ribbon->GetMDIButtons()->GetCount(), 3);
  const Integer W = Ribbon->GetWidth();
  EXPECT_EQ(Ribbon->GetMDIButtons()->GetItem(0)->FItemRect, Rect(W - 27, 1, W - 5, 23));
  EXPECT_EQ(Ribbon->GetMDIButtons()->GetItem(1)->FItemRect, Rect(W - 49, 1, W - 27, 23));
  EXPECT_EQ(Ribbon->GetMDIButtons()->GetItem(2)->FItemRect.Left, W - 71);
  // No MDI child is maximized here: hiding removes them.
  Ribbon->HideMDIButtons();
  EXPECT_EQ(Ribbon->GetMDIButtons()->GetCount(), 0);
}

TEST_F(TRibbonTest, PagesTakeThePageArea) {
  AddTab("A");
  Ribbon->SetTabIndex(0);
  TbsRibbonPage* Page = Ribbon->GetActivePage();
  Page->SetBounds(0, 0, 10, 10);
  EXPECT_EQ(Page->GetBoundsRect(), Bounds(1, 26, Ribbon->GetWidth() - 2, 115 - 24 - 5));
  // The default look paints the strip in the button shadow and the selected tab's face.
  Pump();
  const TRect Tab = Ribbon->GetTabs()->GetItem(0)->FTabRect;
  EXPECT_EQ(PixelAt(Ribbon, 200, 5), ScreenColor(clBtnShadow));
  EXPECT_EQ(PixelAt(Ribbon, Tab.Left + 1, Tab.Top + 1), ScreenColor(clBtnFace));
}

TEST(RibbonMaterial, AZeroSizeTileDrawsNothing) {
  TBitmap Picture;
  Picture.SetSize(4, 4);
  TBitmap Target;
  Target.SetSize(20, 20);
  Target.GetCanvas()->GetBrush()->SetColor(clLime);
  Target.GetCanvas()->FillRect(Rect(0, 0, 20, 20));
  TileSkinMaterial(Target.GetCanvas(), Rect(0, 0, 20, 20), &Picture, Rect(0, 0, 0, 4), false, 0);
  TileSkinMaterial(Target.GetCanvas(), Rect(0, 0, 20, 20), &Picture, Rect(0, 0, 4, 0), true, 1);
  EXPECT_EQ(Target.GetCanvas()->GetPixels(10, 10), clLime);
  TileSkinMaterial(Target.GetCanvas(), Rect(0, 0, 20, 20), &Picture, Rect(0, 0, 4, 4), false, 0);
  EXPECT_EQ(Target.GetCanvas()->GetPixels(10, 10), clWhite);
}

}  // namespace

// Menu buttons and menu speed buttons: where a press opens the menu, the state while it is open
// and after it closed, the keys of the menu button, and the pressed menu zone drawn from the
// down picture of a synthetic skin.
#include <string>
#include <vector>

#include "platform/classes/Menus.h"
#include "skin/controls/bsSkinCtrls.h"
#include "tests/skin/SkinTestSupport.h"
#include "tests/skin/controls/SyntheticSkin.h"

namespace {

using namespace SkinTesting;
using namespace SyntheticSkin;

// The menus dropped, instead of running them.
struct TDrop {
  TPopupMenu* Menu;
  TControl* Control;
  TRect R;
};
std::vector<TDrop> Drops;

void RecordDrop(TPopupMenu* Menu, TControl* Control, const TRect& R, bool) {
  Drops.push_back({Menu, Control, R});
}

class TSkinnedMenuTest : public TSkinTest {
 protected:
  void SetUp() override {
    TSkinTest::SetUp();
    Drops.clear();
    SetPopupUnderRectHook(&RecordDrop);
    Form = NewForm("Form");
    Form->Show();
    Menu = new TPopupMenu(Form);
    Pump();
  }
  void TearDown() override {
    SetPopupUnderRectHook(nullptr);
    TSkinTest::TearDown();
  }
  void PressAt(TControl* C, Integer X, Integer Y) {
    MoveAt(C, X, Y);
    ScriptButton(true);
    Pump();
    ScriptButton(false);
    Pump();
  }
  TForm* Form = nullptr;
  TPopupMenu* Menu = nullptr;
  TEventLog Log;
};

TEST_F(TSkinnedMenuTest, WithoutAMenuTheMenuButtonIsAPlainButton) {
  auto* B = NewControl<TbsSkinMenuButton>(Form, "Menu", 20, 20);
  B->OnClick = TNotifyEvent(&Log, &TEventLog::Click);
  EXPECT_FALSE(B->InMenuPart(70, 10));
  PressAt(B, 30, 12);
  EXPECT_TRUE(Drops.empty());
  EXPECT_EQ(Log.Take(), TLines{"Click Menu"});
}

TEST_F(TSkinnedMenuTest, InTrackModeOnlyTheRightmost15PixelsDropTheMenu) {
  auto* B = NewControl<TbsSkinMenuButton>(Form, "Menu", 20, 20);
  B->SetSkinPopupMenu(Menu);
  B->SetTrackButtonMode(true);
  B->OnClick = TNotifyEvent(&Log, &TEventLog::Click);
  B->OnHideTrackMenu = TNotifyEvent(&Log, &TEventLog::Change);
  EXPECT_FALSE(B->InMenuPart(59, 10));
  EXPECT_TRUE(B->InMenuPart(60, 10));
  PressAt(B, 30, 12);
  EXPECT_TRUE(Drops.empty());
  EXPECT_EQ(Log.Take(), TLines{"Click Menu"});

  PressAt(B, 68, 12);
  ASSERT_EQ(Drops.size(), 1u);
  EXPECT_EQ(Drops[0].Control, B);
  EXPECT_EQ(Drops[0].R, ScreenRectOf(B));
  // Open: down, and the release was ignored.
  EXPECT_TRUE(B->MenuPartActive);
  EXPECT_TRUE(B->GetDown());
  EXPECT_TRUE(Log.Take().empty());
  B->Perform(WM_MENUCLOSED_SKIN, 0, 0);
  EXPECT_FALSE(B->MenuPartActive);
  EXPECT_FALSE(B->GetDown());
  EXPECT_EQ(Log.Take(), TLines{"Change Menu"});
}

TEST_F(TSkinnedMenuTest, SpaceOnAMenuButtonWithoutMenuClicksOnlyOnRelease) {
  auto* B = NewControl<TbsSkinMenuButton>(Form, "Menu", 20, 20);
  B->OnClick = TNotifyEvent(&Log, &TEventLog::Click);
  B->SetFocus();
  Pump();
  B->Perform(WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_FALSE(B->GetDown());
  EXPECT_TRUE(Log.Take().empty());
  B->Perform(WM_KEYUP, VK_SPACE, 0);
  EXPECT_EQ(Log.Take(), TLines{"Click Menu"});
  // With a menu, space drops it at once.
  B->SetSkinPopupMenu(Menu);
  B->Perform(WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(Drops.size(), 1u);
  EXPECT_TRUE(B->MenuPartActive);
}

TEST_F(TSkinnedMenuTest, AMenuSpeedButtonStaysDownUntilItsMenuCloses) {
  auto* B = NewControl<TbsSkinMenuSpeedButton>(Form, "Tool", 20, 20);
  B->SetSkinPopupMenu(Menu);
  B->OnShowTrackMenu = TNotifyEvent(&Log, &TEventLog::Change);
  PressAt(B, 5, 5);
  EXPECT_EQ(Drops.size(), 1u);
  EXPECT_EQ(Log.Take(), TLines{"Change Tool"});
  EXPECT_TRUE(B->GetDown());
  B->Perform(WM_MENUCLOSED_SKIN, 0, 0);
  EXPECT_FALSE(B->GetDown());
  EXPECT_FALSE(B->MouseIn);
  EXPECT_FALSE(B->MenuPartActive);
}

TEST_F(TSkinnedMenuTest, TheMenuZoneOfTheNewStyleLiesAtTheBottom) {
  auto* B = NewControl<TbsSkinMenuSpeedButton>(Form, "Tool", 20, 20);
  B->SetBounds(20, 20, 40, 50);
  B->SetNewStyle(true);
  EXPECT_EQ(B->GetSkinDataName(), "resizetoolbutton");
  B->SetNewStyle(false);
  EXPECT_EQ(B->GetSkinDataName(), "resizetoolbutton");
  B->SetNewStyle(true);
  B->SetTrackPosition(bstpBottom);
  EXPECT_EQ(B->GetTrackButtonRect(), Rect(0, 35, 40, 50));
  B->SetSkinPopupMenu(Menu);
  B->SetTrackButtonMode(true);
  EXPECT_FALSE(B->InMenuPart(20, 30));
  EXPECT_TRUE(B->InMenuPart(20, 40));
}

TEST_F(TSkinnedMenuTest, AnOpenTrackMenuDrawsTheBodyActiveAndTheZoneDown) {
  auto* Skin = NewSkin(Form);
  Skin->SkinControls.push_back(NewButtonPart("resizebutton"));
  for (bool Windowed : {true, false}) {
    TControl* C = nullptr;
    if (Windowed) {
      auto* B = NewControl<TbsSkinMenuButton>(Form, "Menu", 20, 20);
      B->SetSkinDataName("resizebutton");
      B->SetSkinPopupMenu(Menu);
      B->SetTrackButtonMode(true);
      B->SetSkinData(Skin);
      C = B;
    } else {
      auto* B = NewControl<TbsSkinMenuSpeedButton>(Form, "Tool", 20, 60);
      B->SetBounds(20, 60, 60, 25);
      B->SetSkinDataName("resizebutton");
      B->SetSkinPopupMenu(Menu);
      B->SetTrackButtonMode(true);
      B->SetSkinData(Skin);
      C = B;
    }
    const Integer W = C->GetWidth();
    PressAt(C, W - 5, 12);
    MoveAt(Form, 350, 250);
    EXPECT_EQ(PixelAt(C, 10, 4), ScreenColor(StateColors[1])) << Windowed;
    EXPECT_EQ(PixelAt(C, W - 8, 4), ScreenColor(StateColors[2])) << Windowed;
    // Each piece keeps the frame of its own picture.
    EXPECT_EQ(PixelAt(C, W - 16, 12), ScreenColor(ButtonFrame)) << Windowed;
    EXPECT_EQ(PixelAt(C, W - 14, 12), ScreenColor(ButtonFrame)) << Windowed;
    // Closed: the zone is up again; the push button keeps the focus of the press and looks active.
    C->Perform(WM_MENUCLOSED_SKIN, 0, 0);
    EXPECT_EQ(PixelAt(C, W - 8, 4), ScreenColor(StateColors[Windowed ? 1 : 0])) << Windowed;
  }
}

TEST_F(TSkinnedMenuTest, WithoutAPartAnOpenTrackMenuShowsTheBodyHotAndTheZoneDown) {
  auto* Push = NewControl<TbsSkinMenuButton>(Form, "Menu", 20, 20);
  auto* Tool = NewControl<TbsSkinMenuSpeedButton>(Form, "Tool", 20, 60);
  Tool->SetBounds(20, 60, 60, 25);
  for (TControl* C : {static_cast<TControl*>(Push), static_cast<TControl*>(Tool)}) {
    if (auto* B = dynamic_cast<TbsSkinMenuButton*>(C)) B->SetSkinPopupMenu(Menu), B->SetTrackButtonMode(true);
    if (auto* B = dynamic_cast<TbsSkinMenuSpeedButton*>(C))
      B->SetSkinPopupMenu(Menu), B->SetTrackButtonMode(true);
    const Integer W = C->GetWidth();
    PressAt(C, W - 5, 12);
    MoveAt(Form, 350, 250);
    EXPECT_EQ(PixelAt(C, 5, 4), ScreenColor(bsHotFaceColor)) << C->GetName();
    EXPECT_EQ(PixelAt(C, W - 3, 4), ScreenColor(bsDownFaceColor)) << C->GetName();
    C->Perform(WM_MENUCLOSED_SKIN, 0, 0);
  }
}

TEST_F(TSkinnedMenuTest, ANewStylePartWithAPictureIndexBelowMinusOneDrawsThePlainFace) {
  auto* Skin = NewSkin(Form);
  Skin->SkinControls.push_back(NewButtonPart("resizetoolbutton"));
  PartOf<TbsDataSkinButtonControl>(Skin, "resizetoolbutton")->PictureIndex = -7;
  auto* B = NewControl<TbsSkinMenuSpeedButton>(Form, "Tool", 20, 20);
  B->SetBounds(20, 20, 40, 30);
  B->SetNewStyle(true);
  B->SetSkinData(Skin);
  MoveAt(B, 5, 5);
  EXPECT_EQ(PixelAt(B, 3, 3), ScreenColor(clBtnFace));
}

}  // namespace

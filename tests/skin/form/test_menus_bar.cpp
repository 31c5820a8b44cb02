// The main menu bar: item layout and the default look, overflow, the menu keys and switching
// the open submenu, and the skinned part.
#include <cctype>
#include <memory>
#include <string>
#include <vector>

#include "platform/classes/Bitmap.h"
#include "platform/classes/Menus.h"
#include "platform/classes/Timer.h"
#include "skin/form/SkinForm.h"
#include "skin/form/bsSkinMenus.h"
#include "tests/skin/SkinTestSupport.h"
#include "tests/skin/data/SkinPayload.h"

namespace {

using namespace SkinTesting;

class TMenusBarTest : public TSkinTest {
 public:
  void Clicked(TObject* Sender) { Log.push_back("click " + TEventLog::NameOf(Sender)); }

 protected:
  void SetUp() override {
    TSkinTest::SetUp();
    Form = NewForm("Form", 100, 100, 400, 200);
    SkinForm = new TbsSkinForm(Form);
    Menu = new TbsSkinMainMenu(Form);
    for (const char* Caption : {"&File", "&Edit", "&View", "&Help"}) {
      TMenuItem* Top = Add(nullptr, Caption);
      Add(Top, std::string("Item of ") + Caption);
      Add(Top, std::string("Other of ") + Caption);
    }
    Bar = new TbsSkinMainMenuBar(Form);
    Bar->SetParent(Form);
    Bar->SetSkinForm(SkinForm);
    SkinForm->SetMainMenuBar(Bar);
    Bar->SetMainMenu(Menu);
    Form->Show();
    Pump();
  }
  TMenuItem* Add(TMenuItem* Parent, const std::string& Caption) {
    auto* I = new TMenuItem(Form);
    I->SetCaption(Caption);
    std::string Name;
    for (char C : Caption)
      if (std::isalnum(static_cast<unsigned char>(C))) Name += C;
    I->SetName(Name + std::to_string(++Counter));
    I->OnClick = TNotifyEvent(this, &TMenusBarTest::Clicked);
    (Parent != nullptr ? Parent : Menu->GetItems())->Add(I);
    return I;
  }
  TbsSkinMenu* Chain() { return SkinForm->GetSkinMenu(); }
  // The caption of the first item of the open root window, or "".
  std::string OpenMenu() {
    if (Chain()->PopupList.empty()) return "";
    return Chain()->PopupList[0]->ItemList.at(0)->MenuItem->GetCaption();
  }
  TbsSkinMainMenuBarItem* Item(Integer I) { return Bar->GetItem(I); }
  Integer TextWidth(const std::string& Text) {
    TBitmap B;
    B.GetCanvas()->GetFont()->Assign(Bar->GetDefItemFont());
    return B.GetCanvas()->TextWidth(Text);
  }
  TPoint ItemCentre(Integer I) {
    const TRect& R = Item(I)->ObjectRect;
    return {(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2};
  }

  TLines Log;
  TForm* Form = nullptr;
  TbsSkinForm* SkinForm = nullptr;
  TbsSkinMainMenu* Menu = nullptr;
  TbsSkinMainMenuBar* Bar = nullptr;
  Integer Counter = 0;
};

TEST_F(TMenusBarTest, DefaultLookLaysItemsOutFromTheLeft) {
  EXPECT_EQ(Form->GetMenu(), nullptr);
  EXPECT_EQ(Bar->GetHeight(), 22);
  EXPECT_EQ(Bar->GetAlign(), alTop);
  Bar->Repaint();
  Pump();
  ASSERT_EQ(Bar->GetObjectCount(), 4);
  EXPECT_EQ(Item(0)->ObjectRect, (TRect{2, 2, 2 + TextWidth("File") + 12, 20}));
  EXPECT_EQ(Item(1)->ObjectRect.Left, Item(0)->ObjectRect.Right);
  EXPECT_EQ(Item(1)->ObjectRect.Width(), TextWidth("Edit") + 12);
  EXPECT_FALSE(Bar->GetOverflow());
  EXPECT_EQ(PixelAt(Bar, 1, 1), ScreenColor(clBtnFace));
  EXPECT_EQ(PixelAt(Bar, 3, 3), ScreenColor(clBtnFace));
}

TEST_F(TMenusBarTest, HotAndPressedItemsShowTheirDefaultColours) {
  Bar->Repaint();
  Pump();
  const TPoint C = ItemCentre(1);
  MoveAt(Bar, C.X, C.Y);
  const TRect R = Item(1)->ObjectRect;
  EXPECT_TRUE(Item(1)->Active);
  EXPECT_EQ(PixelAt(Bar, R.Left, R.Top), 0x000080u);
  EXPECT_EQ(PixelAt(Bar, R.Right - 1, R.Bottom - 1), 0x000080u);
  EXPECT_EQ(PixelAt(Bar, R.Left + 1, R.Top + 1), 0xB6BDD2u);
  ClickAt(Bar, C.X, C.Y);
  EXPECT_TRUE(Item(1)->Down);
  EXPECT_EQ(PixelAt(Bar, R.Left + 1, R.Top + 1), 0x8593B5u);
  EXPECT_EQ(OpenMenu(), "Item of &Edit");
  // The submenu stands under the item.
  EXPECT_EQ(Chain()->PopupList[0]->GetTop(), Bar->ClientToScreen({0, R.Bottom}).Y);
  EXPECT_EQ(Chain()->PopupList[0]->GetLeft(), Bar->ClientToScreen({R.Left, 0}).X);
}

TEST_F(TMenusBarTest, MovingOverTheBarWhileASubmenuIsOpenSwitchesIt) {
  Bar->Repaint();
  Pump();
  const TPoint File = ItemCentre(0);
  ClickAt(Bar, File.X, File.Y);
  ASSERT_EQ(OpenMenu(), "Item of &File");
  const TPoint View = ItemCentre(2);
  MoveAt(Bar, View.X, View.Y);
  EXPECT_EQ(OpenMenu(), "Item of &View");
  EXPECT_FALSE(Item(0)->Down);
  EXPECT_TRUE(Item(2)->Down);
  ASSERT_EQ(Chain()->PopupList.size(), 1u);
  // Leaving the bar keeps the pressed item hot.
  ScriptMoveTo(1000, 700);
  Wait(100);
  EXPECT_TRUE(Item(2)->Active);
}

TEST_F(TMenusBarTest, MenuKeysWalkTheBarAndWrap) {
  Bar->Repaint();
  Pump();
  Bar->EnterMenuMode();
  EXPECT_TRUE(Item(0)->Active);
  EXPECT_EQ(OpenMenu(), "");
  for (Integer I : {1, 2, 3, 0}) {
    Bar->SelectNextItem();
    EXPECT_TRUE(Item(I)->Active) << I;
    EXPECT_FALSE(Item((I + 3) % 4)->Active) << I;
  }
  Bar->SelectPrevItem();
  EXPECT_TRUE(Item(3)->Active);
  EXPECT_TRUE(Bar->PressHotItem());
  EXPECT_EQ(OpenMenu(), "Item of &Help");
  // While a submenu is open, Right moves the open submenu along (wrapping to the first).
  Bar->SelectNextItem();
  EXPECT_EQ(OpenMenu(), "Item of &File");
  EXPECT_TRUE(Item(0)->Down);
  EXPECT_FALSE(Item(3)->Down);
  // Escape in the only submenu closes it and leaves its item hot.
  Chain()->LastWindow()->ProcessKey(VK_ESCAPE);
  Bar->MenuClosed();
  EXPECT_EQ(OpenMenu(), "");
  EXPECT_FALSE(Item(0)->Down);
  EXPECT_TRUE(Item(0)->Active);
  Bar->LeaveMenuMode();
  EXPECT_FALSE(Item(0)->Active);
  EXPECT_FALSE(Bar->GetTracking());
}

TEST_F(TMenusBarTest, AnAcceleratorOpensItsMenuOrRunsALeafAtOnce) {
  TMenuItem* Run = Add(nullptr, "&Run");
  Bar->RefreshItems();
  Bar->Repaint();
  Pump();
  EXPECT_TRUE(Bar->ProcessAccel('V'));
  EXPECT_EQ(OpenMenu(), "Item of &View");
  Chain()->CloseMenus();
  Bar->LeaveMenuMode();
  Pump();
  EXPECT_TRUE(Bar->ProcessAccel('R'));
  EXPECT_EQ(Log.back(), "click " + Run->GetName());
  EXPECT_FALSE(Bar->ProcessAccel('Z'));
}

TEST_F(TMenusBarTest, NarrowingHidesTheLastItemsBehindTheMarker) {
  Menu->GetItems()->GetItem(3)->SetEnabled(false);
  Bar->RefreshItems();
  Bar->Repaint();
  Pump();
  Bar->SetAlign(alNone);
  Bar->SetWidth(Item(1)->ObjectRect.Right + 2 + 5 + 10);
  Bar->Repaint();
  Pump();
  EXPECT_TRUE(Bar->GetOverflow());
  EXPECT_TRUE(Item(0)->Shown && Item(1)->Shown);
  EXPECT_FALSE(Item(2)->Shown);
  EXPECT_FALSE(Item(2)->Enabled);
  EXPECT_FALSE(Item(3)->Shown);
  // The marker: a right-pointing arrow 5 pixels wide at the right end of the items area.
  const TRect M = Bar->GetTrackMarkRect();
  EXPECT_EQ(M.Right, Bar->GetWidth() - 2);
  EXPECT_EQ(M.Width(), 5);
  bool ArrowSeen = false;
  for (Integer X = M.Left; X < M.Right; ++X)
    for (Integer Y = M.Top; Y < M.Bottom; ++Y)
      if (PixelAt(Bar, X, Y) == ScreenColor(clBtnShadow)) ArrowSeen = true;
  EXPECT_TRUE(ArrowSeen);
  // The marker opens a menu of exactly the hidden entries.
  ClickAt(Bar, M.Left + 2, (M.Top + M.Bottom) / 2);
  ASSERT_EQ(Chain()->PopupList.size(), 1u);
  const auto& Listed = Chain()->PopupList[0]->ItemList;
  ASSERT_EQ(Listed.size(), 2u);
  EXPECT_EQ(Listed[0]->MenuItem->GetCaption(), "&View");
  EXPECT_EQ(Listed[1]->MenuItem->GetCaption(), "&Help");
  Chain()->CloseMenus();
  // Widening shows them again with their former enabled state.
  Bar->SetWidth(400);
  Bar->Repaint();
  Pump();
  EXPECT_FALSE(Bar->GetOverflow());
  EXPECT_TRUE(Item(2)->Shown && Item(2)->Enabled);
  EXPECT_TRUE(Item(3)->Shown);
  EXPECT_FALSE(Item(3)->Enabled);
}

// ---- Skinned part ---------------------------------------------------------------------------

class TMenusBarSkinTest : public TMenusBarTest {
 protected:
  void LoadSkin(const std::string& Text) {
    using namespace SkinPayload;
    const std::string Head = "[VERSION]\nskinname=bar\n[PICTURES]\n[FORMINFO]\n";
    Fill(Stored, Compressed(Payload(3, {BmpImage(120, 60, clTeal)}, Head + Text)));
    Data.LoadStoredSkin(&Stored);
  }
  TbsSkinData Data{nullptr};
  TbsCompressedStoredSkin Stored{nullptr};
};

TEST_F(TMenusBarSkinTest, ABarPartGivesItsHeightAndKeepsIt) {
  LoadSkin(
      "[SKINCONTROLS]\ncount=1\n0=mainmenubar:mainmenubar\n"
      "[mainmenubar]\npictureindex=0\nskinrect=0,0,100,26\nitemsrect=4,2,96,24\nmenubaritem=mbitem\n"
      "[SKINOBJECTS]\ncount=1\n0=mbitem:mainmenubaritem\n"
      "[mbitem]\nactivepictureindex=0\nskinrect=0,30,30,52\nactiveskinrect=30,30,60,52\ntextrect=5,3,25,"
      "19\n");
  Bar->SetSkinData(&Data);
  EXPECT_TRUE(Bar->GetSkinSupport());
  EXPECT_EQ(Bar->GetHeight(), 26);
  Bar->SetHeight(50);
  EXPECT_EQ(Bar->GetHeight(), 26);
  Bar->Repaint();
  Pump();
  ASSERT_EQ(Bar->GetObjectCount(), 4);
  EXPECT_TRUE(Item(0)->SkinSupport);
  // Skinned width: the part's margins around the caption, plus 2; from the items area's left.
  EXPECT_EQ(Item(0)->ObjectRect.Left, 4);
  EXPECT_EQ(Item(0)->ObjectRect.Top, 2);
  EXPECT_EQ(Item(0)->ObjectRect.Height(), 22);
  EXPECT_EQ(PixelAt(Bar, 1, 1), ScreenColor(clTeal));
  Bar->SetSkinData(nullptr);
}

// A bar whose item record morphs or animates, as Extra adds to it.
std::string EffectSkin(const std::string& Extra) {
  return "[SKINCONTROLS]\ncount=1\n0=mainmenubar:mainmenubar\n"
         "[mainmenubar]\npictureindex=0\nskinrect=0,0,100,26\nitemsrect=4,2,96,24\nmenubaritem=mbitem\n"
         "[SKINOBJECTS]\ncount=1\n0=mbitem:mainmenubaritem\n"
         "[mbitem]\nactivepictureindex=0\nskinrect=0,30,30,52\nactiveskinrect=30,30,60,52\n"
         "textrect=5,3,25,19\n" +
         Extra;
}

TEST_F(TMenusBarSkinTest, AMorphReversesFromWhereItIs) {
  LoadSkin(EffectSkin("morphing=1\nmorphkind=mkdefault\n"));
  Bar->SetSkinData(&Data);
  Bar->Repaint();
  Pump();
  TbsSkinMainMenuBarItem* File = Item(0);
  ASSERT_TRUE(File->CanMorph());
  // Steps of 0.2 every 25 ms.
  File->MouseEnter();
  Wait(50, 5);
  EXPECT_NEAR(File->MorphKf, 0.4, 1e-9);
  File->MouseLeave();
  Wait(30, 5);
  EXPECT_NEAR(File->MorphKf, 0.2, 1e-9);
  Wait(100);
  EXPECT_EQ(File->MorphKf, 0);
  EXPECT_FALSE(Bar->GetMorphTimer()->GetEnabled());
  // Without skin effects nothing morphs.
  Data.SetEnableSkinEffects(false);
  EXPECT_FALSE(File->CanMorph());
  Bar->SetSkinData(nullptr);
}

TEST_F(TMenusBarSkinTest, AnAnimationThatStaysHotEndsPastItsLastFrame) {
  LoadSkin(EffectSkin("animateskinrect=0,0,120,22\nframecount=4\nanimateinterval=25\n"));
  Bar->SetSkinData(&Data);
  Bar->Repaint();
  Pump();
  TbsSkinMainMenuBarItem* File = Item(0);
  ASSERT_TRUE(File->IsAnimated());
  File->MouseEnter();
  Wait(60, 5);
  EXPECT_EQ(File->CurrentFrame, 2);
  Wait(200);
  EXPECT_EQ(File->CurrentFrame, 5);
  EXPECT_FALSE(Bar->GetAnimateTimer()->GetEnabled());
  // Leaving without an inactive animation drops to the normal picture at once.
  File->MouseLeave();
  EXPECT_EQ(File->CurrentFrame, 0);
  Bar->SetSkinData(nullptr);
}

TEST_F(TMenusBarSkinTest, ABarPartOfAnotherKindCountsAsNone) {
  LoadSkin(
      "[SKINOBJECTS]\ncount=0\n[SKINCONTROLS]\ncount=1\n0=mainmenubar:panel\n"
      "[mainmenubar]\npictureindex=0\nskinrect=0,0,100,40\n");
  Bar->SetSkinData(&Data);
  EXPECT_FALSE(Bar->GetSkinSupport());
  EXPECT_EQ(Bar->PartIndex, -1);
  EXPECT_EQ(Bar->GetHeight(), 22);
  Bar->Repaint();
  Pump();
  EXPECT_FALSE(Item(0)->SkinSupport);
  EXPECT_EQ(PixelAt(Bar, 1, 1), ScreenColor(clBtnFace));
  Bar->SetSkinData(nullptr);
}

}  // namespace

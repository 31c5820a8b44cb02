// The up-down: its range rules, the step on release and the timer repeat, and its looks.
#include <string>
#include <vector>

#include "skin/boxctrls/bsSkinBoxCtrls.h"
#include "tests/skin/SkinTestSupport.h"
#include "tests/skin/boxctrls/BoxSkinSupport.h"

namespace {

using namespace SkinTesting;

struct TPositionLog {
  std::vector<Integer> Positions;
  TbsSkinUpDown* UpDown = nullptr;
  void Change(TObject*) { Positions.push_back(UpDown->GetPosition()); }
};

class TUpDownTest : public TSkinTest {
 protected:
  void SetUp() override {
    TSkinTest::SetUp();
    Form = NewForm("Form");
    UpDown = NewControl<TbsSkinUpDown>(Form, "UD", 20, 20);
    Log.UpDown = UpDown;
    UpDown->OnChange = TNotifyEvent(&Log, &TPositionLog::Change);
    UpDown->OnUpButtonClick = TNotifyEvent(&Clicks, &TEventLog::Click);
    UpDown->OnDownButtonClick = TNotifyEvent(&Clicks, &TEventLog::Change);
    Form->Show();
    Pump();
  }
  TForm* Form = nullptr;
  TbsSkinUpDown* UpDown = nullptr;
  TPositionLog Log;
  TEventLog Clicks;  // Click: up button, Change: down button
};

TEST_F(TUpDownTest, PositionStaysInTheRange) {
  EXPECT_EQ(UpDown->GetWidth(), 50);
  EXPECT_EQ(UpDown->GetHeight(), 25);
  UpDown->SetPosition(101);
  EXPECT_EQ(UpDown->GetPosition(), 0);
  EXPECT_TRUE(Log.Positions.empty());
  UpDown->SetPosition(40);
  UpDown->SetPosition(40);
  EXPECT_EQ(Log.Positions, (std::vector<Integer>{40, 40}));
  // The limits move the position along without a report.
  UpDown->SetMax(30);
  EXPECT_EQ(UpDown->GetPosition(), 30);
  UpDown->SetMin(35);
  EXPECT_EQ(UpDown->GetPosition(), 35);
  EXPECT_EQ(Log.Positions.size(), 2u);
}

TEST_F(TUpDownTest, HorizontalHalvesStepOnReleaseAndRepeatWhileHeld) {
  UpDown->SetPosition(50);
  Log.Positions.clear();
  // The left half steps down, the right half up; one step each, on release.
  ClickAt(UpDown, 5, 10);
  ClickAt(UpDown, 45, 10);
  ClickAt(UpDown, 45, 10);
  EXPECT_EQ(Log.Positions, (std::vector<Integer>{49, 50, 51}));
  EXPECT_EQ(Clicks.Take(), (TLines{"Change UD", "Click UD", "Click UD"}));
  // Held: a step after 600 ms, then every 100 ms, none of them a click; then the release step.
  MoveAt(UpDown, 45, 10);
  ScriptButton(true);
  Pump();
  Wait(590);
  EXPECT_EQ(UpDown->GetPosition(), 51);
  Wait(20);
  EXPECT_EQ(UpDown->GetPosition(), 52);
  Wait(200);
  EXPECT_EQ(UpDown->GetPosition(), 54);
  EXPECT_TRUE(Clicks.Take().empty());
  ScriptButton(false);
  Pump();
  EXPECT_EQ(UpDown->GetPosition(), 55);
  EXPECT_EQ(Clicks.Take(), TLines{"Click UD"});
  // Held at the maximum the steps are ignored.
  UpDown->SetPosition(100);
  MoveAt(UpDown, 45, 10);
  ScriptButton(true);
  Wait(1000);
  ScriptButton(false);
  Pump();
  EXPECT_EQ(UpDown->GetPosition(), 100);
}

TEST_F(TUpDownTest, ZeroIncrementOnlyClicks) {
  UpDown->SetIncrement(0);
  UpDown->SetPosition(10);
  MoveAt(UpDown, 45, 10);
  ScriptButton(true);
  Wait(1000);
  ScriptButton(false);
  Pump();
  EXPECT_EQ(UpDown->GetPosition(), 10);
  EXPECT_EQ(Clicks.Take(), TLines{"Click UD"});
}

TEST_F(TUpDownTest, VerticalButtonsAndDefaultLook) {
  UpDown->SetOrientation(udVertical);
  UpDown->SetBounds(20, 20, 20, 40);
  Pump();
  EXPECT_EQ(UpDown->GetButton(0).Rect, Rect(0, 0, 20, 20));
  EXPECT_EQ(UpDown->GetButton(1).Rect, Rect(0, 20, 20, 40));
  // A shadow frame around a face; hot gives the navy frame and the hot face.
  EXPECT_EQ(PixelAt(UpDown, 0, 0), ScreenColor(clBtnShadow));
  EXPECT_EQ(PixelAt(UpDown, 2, 2), ScreenColor(clBtnFace));
  MoveAt(UpDown, 3, 30);
  EXPECT_EQ(PixelAt(UpDown, 0, 20), ScreenColor(clNavy));
  EXPECT_EQ(PixelAt(UpDown, 2, 22), 0xB6BDD2u);
  ScriptButton(true);
  Pump();
  EXPECT_EQ(PixelAt(UpDown, 2, 22), 0x8593B5u);
  ScriptButton(false);
  Pump();
}

// Part "hupdown" (40 x 20 at 0,0 of the picture): up button red at its right, down blue at its
// left; hot pictures lower in the picture.
class TSkinnedUpDownTest : public TUpDownTest {
 protected:
  void LoadSkin(const std::string& UpDownType, const std::vector<BoxSkin::TPart>& Extra = {}) {
    using namespace BoxSkin;
    const std::string Pic = Picture(100, 60, clSilver,
                                    {{Rect(0, 0, 40, 20), clGray},
                                     {Rect(20, 0, 40, 20), clRed},
                                     {Rect(0, 0, 20, 20), clBlue},
                                     {Rect(20, 20, 40, 40), clLime},
                                     {Rect(0, 20, 20, 40), clYellow},
                                     {Rect(50, 0, 70, 20), clFuchsia},
                                     {Rect(50, 20, 70, 40), clTeal}});
    std::vector<TPart> Parts{{"hupdown", UpDownType,
                              "pictureindex=0\r\nskinrect=0,0,40,20\r\nupbuttonrect=20,0,40,20\r\n"
                              "activeupbuttonrect=20,20,40,40\r\ndownbuttonrect=0,0,20,20\r\n"
                              "activedownbuttonrect=0,20,20,40\r\n"}};
    Parts.insert(Parts.end(), Extra.begin(), Extra.end());
    Load(Data, {Pic}, Parts);
    UpDown->SetSkinData(&Data);
    Pump();
  }
  TbsSkinData Data{nullptr};
};

TEST_F(TSkinnedUpDownTest, PartSizeAndStatePictures) {
  LoadSkin("updown");
  EXPECT_EQ(UpDown->GetWidth(), 40);
  EXPECT_EQ(UpDown->GetHeight(), 20);
  EXPECT_EQ(PixelAt(UpDown, 30, 10), BoxSkin::Screen(clRed));
  EXPECT_EQ(PixelAt(UpDown, 10, 10), BoxSkin::Screen(clBlue));
  // Hot: the active picture of that button only; pressed falls back to it.
  MoveAt(UpDown, 30, 10);
  EXPECT_EQ(PixelAt(UpDown, 30, 10), BoxSkin::Screen(clLime));
  EXPECT_EQ(PixelAt(UpDown, 10, 10), BoxSkin::Screen(clBlue));
  ScriptButton(true);
  Pump();
  EXPECT_EQ(PixelAt(UpDown, 30, 10), BoxSkin::Screen(clLime));
  ScriptButton(false);
  Pump();
  EXPECT_EQ(UpDown->GetPosition(), 1);
}

TEST_F(TSkinnedUpDownTest, FreeSizeDrawsResizeButtonsOrTheDefaultButton) {
  // Without a "resizebutton" part each button gets the default look.
  UpDown->SetUseSkinSize(false);
  LoadSkin("updown");
  UpDown->SetBounds(20, 20, 60, 30);
  Pump();
  EXPECT_EQ(PixelAt(UpDown, 0, 0), ScreenColor(clBtnShadow));
  EXPECT_EQ(PixelAt(UpDown, 3, 3), ScreenColor(clBtnFace));
  // With one, the button part is resized to each half.
  LoadSkin("updown", {{"resizebutton", "button",
                       "pictureindex=0\r\nskinrect=50,0,70,20\r\nactiveskinrect=50,20,70,40\r\n"
                       "lefttoppoint=2,2\r\nrighttoppoint=18,2\r\nleftbottompoint=2,18\r\n"
                       "rightbottompoint=18,18\r\nclientrect=2,2,18,18\r\n"}});
  UpDown->SetBounds(20, 20, 60, 30);
  Pump();
  EXPECT_EQ(PixelAt(UpDown, 3, 3), BoxSkin::Screen(clFuchsia));
  EXPECT_EQ(PixelAt(UpDown, 57, 27), BoxSkin::Screen(clFuchsia));
  MoveAt(UpDown, 45, 3);
  EXPECT_EQ(PixelAt(UpDown, 57, 27), BoxSkin::Screen(clTeal));
  EXPECT_EQ(PixelAt(UpDown, 3, 3), BoxSkin::Screen(clFuchsia));
}

TEST_F(TSkinnedUpDownTest, APartOfAnotherKindIsNoPart) {
  LoadSkin("scrollbox");
  EXPECT_EQ(UpDown->PartIndex, -1);
  EXPECT_EQ(PixelAt(UpDown, 0, 0), ScreenColor(clBtnShadow));
}

}  // namespace

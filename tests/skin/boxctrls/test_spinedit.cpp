// The spin edit drawn from a "spinedit" part: layout by the part, the hot and pressed pictures,
// the free-size buttons from a button part or in the default look, the editor's font colours,
// and text that looks numeric but does not convert.
#include <string>
#include <vector>

#include "skin/boxctrls/bsSkinBoxCtrls.h"
#include "tests/skin/SkinTestSupport.h"
#include "tests/skin/boxctrls/BoxSkinSupport.h"

namespace {

using namespace SkinTesting;
using BoxSkin::Screen;

// The part is 60 x 20: a gray frame around an aqua client piece (3,3,40,17), the up button red
// and the down button blue at its right; its hot picture (maroon, olive client, the same
// buttons) lies below it,
// the hot and pressed up button pictures beside it.
const std::string SpinKeys =
    "pictureindex=0\r\nskinrect=0,0,60,20\r\nactiveskinrect=0,30,60,50\r\nclientrect=3,3,40,17\r\n"
    "lefttoppoint=3,0\r\nrighttoppoint=40,0\r\nupbuttonrect=42,1,58,10\r\ndownbuttonrect=42,10,58,19\r\n"
    "activeupbuttonrect=62,1,78,10\r\ndownupbuttonrect=62,10,78,19\r\nfontcolor=255\r\n"
    "activefontcolor=65280\r\ndisabledfontcolor=8421504\r\nfontheight=13\r\n";

std::string SpinPicture() {
  return BoxSkin::Picture(100, 60, clSilver,
                          {{Rect(0, 0, 60, 20), clGray},
                           {Rect(3, 3, 40, 17), clAqua},
                           {Rect(42, 1, 58, 10), clRed},
                           {Rect(42, 10, 58, 19), clBlue},
                           {Rect(0, 30, 60, 50), clMaroon},
                           {Rect(3, 33, 40, 47), clOlive},
                           {Rect(42, 31, 58, 40), clRed},
                           {Rect(42, 40, 58, 49), clBlue},
                           {Rect(62, 1, 78, 10), clLime},
                           {Rect(62, 10, 78, 19), clYellow},
                           {Rect(80, 0, 100, 20), clFuchsia}});
}

const BoxSkin::TPart EditButtonPart{"editbutton", "button",
                                    "pictureindex=0\r\nskinrect=80,0,100,20\r\nlefttoppoint=2,2\r\n"
                                    "righttoppoint=18,2\r\nleftbottompoint=2,18\r\nrightbottompoint=18,18\r\n"
                                    "clientrect=2,2,18,18\r\n"};

class TSpinEditSkinTest : public TSkinTest {
 protected:
  void SetUp() override {
    TSkinTest::SetUp();
    Form = NewForm("Form");
    Spin = NewControl<TbsSkinSpinEdit>(Form, "Spin", 20, 20);
    Other = NewControl<TbsSkinEdit>(Form, "Other", 20, 200);
    Form->Show();
    Pump();
  }
  void LoadSkin(const std::string& TypeWord = "spinedit", const std::vector<BoxSkin::TPart>& Extra = {}) {
    std::vector<BoxSkin::TPart> Parts{{"spinedit", TypeWord, SpinKeys}};
    Parts.insert(Parts.end(), Extra.begin(), Extra.end());
    BoxSkin::Load(Data, {SpinPicture()}, Parts);
    Spin->SetSkinData(&Data);
    // A focused editor shows the hot look: the focus goes elsewhere.
    Other->SetFocus();
    Pump();
  }
  TForm* Form = nullptr;
  TbsSkinSpinEdit* Spin = nullptr;
  TbsSkinEdit* Other = nullptr;
  TbsSkinData Data{nullptr};
};

TEST_F(TSpinEditSkinTest, PartLayoutAndPictures) {
  LoadSkin();
  // The part's height; the width stays and the buttons move with the right edge.
  EXPECT_EQ(Spin->GetHeight(), 20);
  EXPECT_EQ(Spin->GetWidth(), 120);
  EXPECT_EQ(Spin->GetButton(0).Rect, Rect(102, 1, 118, 10));
  EXPECT_EQ(Spin->GetButton(1).Rect, Rect(102, 10, 118, 19));
  TbsSkinNumEdit* Editor = Spin->GetEditor();
  EXPECT_EQ(Editor->GetLeft(), 3);
  EXPECT_EQ(Editor->GetWidth(), 97);
  EXPECT_TRUE(Editor->GetTransparent());
  EXPECT_EQ(Editor->GetFont()->GetHeight(), 13);
  EXPECT_EQ(Editor->GetFont()->GetColor(), static_cast<TColor>(255));
  EXPECT_EQ(PixelAt(Spin, 1, 1), Screen(clGray));
  EXPECT_EQ(PixelAt(Spin, 110, 5), Screen(clRed));
  EXPECT_EQ(PixelAt(Spin, 110, 15), Screen(clBlue));
  // The client piece shows through the editor.
  EXPECT_EQ(PixelAt(Spin, 95, 3), Screen(clAqua));
}

TEST_F(TSpinEditSkinTest, HoverAndPressUseTheActivePictures) {
  LoadSkin();
  MoveAt(Spin, 110, 5);
  EXPECT_EQ(PixelAt(Spin, 1, 1), Screen(clMaroon));
  EXPECT_EQ(PixelAt(Spin, 110, 5), Screen(clLime));
  EXPECT_EQ(PixelAt(Spin, 110, 15), Screen(clBlue));
  EXPECT_EQ(Spin->GetEditor()->GetFont()->GetColor(), static_cast<TColor>(65280));
  ScriptButton(true);
  Pump();
  EXPECT_EQ(PixelAt(Spin, 110, 5), Screen(clYellow));
  ScriptButton(false);
  Pump();
  EXPECT_EQ(Spin->GetValue(), 1);
  // Away from the control: the normal pictures and font colour again.
  MoveAt(Other, 5, 5);
  EXPECT_EQ(PixelAt(Spin, 1, 1), Screen(clGray));
  EXPECT_EQ(Spin->GetEditor()->GetFont()->GetColor(), static_cast<TColor>(255));
  // Disabled: the part's disabled colour.
  Spin->SetEnabled(false);
  EXPECT_EQ(Spin->GetEditor()->GetFont()->GetColor(), static_cast<TColor>(8421504));
}

TEST_F(TSpinEditSkinTest, FreeSizeButtonsFromAButtonPartOrTheDefaultButton) {
  Spin->SetUseSkinSize(false);
  LoadSkin();
  Spin->SetBounds(20, 20, 120, 30);
  Pump();
  EXPECT_EQ(Spin->GetHeight(), 30);
  // The stacked buttons share the grown column, split at top + bottom div 2.
  EXPECT_EQ(Spin->GetButton(0).Rect, Rect(102, 1, 118, 1 + 29 / 2));
  EXPECT_EQ(Spin->GetButton(1).Rect, Rect(102, 1 + 29 / 2, 118, 29));
  // No "editbutton" and no "resizebutton": the default button face.
  EXPECT_EQ(PixelAt(Spin, 104, 3), ScreenColor(clBtnFace));
  LoadSkin("spinedit", {EditButtonPart});
  Spin->SetBounds(20, 20, 120, 30);
  Pump();
  EXPECT_EQ(PixelAt(Spin, 104, 3), Screen(clFuchsia));
  EXPECT_EQ(PixelAt(Spin, 104, 26), Screen(clFuchsia));
}

TEST_F(TSpinEditSkinTest, APartOfAnotherKindIsNoPart) {
  LoadSkin("edit");
  EXPECT_EQ(Spin->PartIndex, -1);
  EXPECT_FALSE(Spin->GetEditor()->GetTransparent());
  EXPECT_EQ(PixelAt(Spin, 0, 0), ScreenColor(clBtnShadow));
}

TEST_F(TSpinEditSkinTest, NumericLookingTextThatDoesNotConvertChangesNothing) {
  struct TCase {
    TbsValueType Type;
    const char* Text;
    double Value;
  };
  const std::vector<TCase> Cases{
      {vtFloat, "-.", 7},
      {vtFloat, "-.5", -0.5},
      {vtInteger, "99999999999", 7},
      {vtInteger, "-2147483649", 7},
      {vtInteger, "2147483647", 2147483647.0},
      {vtFloat, "1.50", 1.5},
  };
  for (const TCase& C : Cases) {
    Spin->SetValueType(C.Type);
    Spin->SetValue(7);
    // As a paste replaces the editor's text, and as typing does.
    EXPECT_NO_THROW(Spin->GetEditor()->SetText(C.Text)) << C.Text;
    Wait(TbsSkinSpinEdit::TypingPause);
    EXPECT_EQ(Spin->GetValue(), C.Value) << C.Text;
    Spin->SetValue(7);
    ClickAt(Spin->GetEditor(), 5, 5);
    Spin->GetEditor()->SelectAll();
    EXPECT_NO_THROW(ScriptType(C.Text)) << C.Text;
    EXPECT_NO_THROW(ScriptKeyPress(VK_RETURN)) << C.Text;
    Pump();
    EXPECT_EQ(Spin->GetValue(), C.Value) << C.Text;
  }
}

TEST_F(TSpinEditSkinTest, WheelStepsAndHeldButtonStopsAtTheMaximum) {
  Spin->SetMaxValue(10);
  Spin->SetValue(5);
  // Turned away from the user the wheel steps down, towards the user up.
  Spin->GetEditor()->Perform(WM_MOUSEWHEEL, MAKELONG(0, 120), 0);
  EXPECT_EQ(Spin->GetValue(), 4);
  Spin->GetEditor()->Perform(WM_MOUSEWHEEL, MAKELONG(0, static_cast<WORD>(-120)), 0);
  EXPECT_EQ(Spin->GetValue(), 5);
  const TRect Up = Spin->GetButton(0).Rect;
  MoveAt(Spin, Up.Left + 3, Up.Top + 3);
  ScriptButton(true);
  Wait(2000);
  EXPECT_EQ(Spin->GetValue(), 10);
  ScriptButton(false);
  Pump();
  EXPECT_EQ(Spin->GetValue(), 10);
}

TEST(SpinTextTest, WhatIsANumber) {
  struct TCase {
    const char* Text;
    TbsValueType Type;
    bool Number;
    double Value;
  };
  const std::vector<TCase> Cases{
      {"150", vtInteger, true, 150}, {"-12", vtInteger, true, -12},
      {"", vtInteger, false, 0},     {"-", vtInteger, false, 0},
      {"1-", vtInteger, false, 0},   {"--2", vtInteger, false, 0},
      {"1.5", vtInteger, false, 0},  {"99999999999", vtInteger, false, 0},
      {"1.50", vtFloat, true, 1.5},  {"-.", vtFloat, false, 0},
      {".5", vtFloat, false, 0},     {"1.2.3", vtFloat, false, 0},
      {"-.5", vtFloat, true, -0.5},
  };
  for (const TCase& C : Cases) {
    double V = 0;
    EXPECT_EQ(ParseSpinText(C.Text, C.Type, V), C.Number) << C.Text;
    if (C.Number) {
      EXPECT_EQ(V, C.Value) << C.Text;
    }
  }
  // Shown: fixed decimals for floats, the nearest integer (halves to even) otherwise.
  EXPECT_EQ(FormatSpinValue(1.5, vtFloat, 2), "1.50");
  EXPECT_EQ(FormatSpinValue(2.5, vtInteger, 2), "2");
  EXPECT_EQ(FormatSpinValue(3.5, vtInteger, 2), "4");
  // Typed beyond a limit away from zero is rewritten; below a positive minimum it is not.
  EXPECT_TRUE(SpinNeedsRewrite(100, 150, 5, 100));
  EXPECT_FALSE(SpinNeedsRewrite(5, 3, 5, 100));
  EXPECT_TRUE(SpinNeedsRewrite(5, -3, 5, 100));
  EXPECT_TRUE(SpinNeedsRewrite(-100, -150, -100, -5));
}

}  // namespace

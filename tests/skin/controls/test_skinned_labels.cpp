// The skinned label's text excess and width, the status panel's lead, and the splitter's
// thickness and face.
#include <string>

#include "platform/classes/Bitmap.h"
#include "platform/classes/ImgList.h"
#include "skin/controls/bsSkinCtrls.h"
#include "tests/skin/SkinTestSupport.h"
#include "tests/skin/controls/SyntheticParts.h"

namespace {

using namespace SkinTesting;
using namespace SyntheticParts;

class TSkinnedLabelTest : public TSkinTest {
 protected:
  void SetUp() override {
    TSkinTest::SetUp();
    Form = NewForm("Form");
    Form->Show();
    Skin = NewPartsSkin(Form);
    Pump();
  }
  Integer TextWidth(const std::string& Text, TFont* Font) {
    TBitmap B;
    B.SetSize(1, 1);
    B.GetCanvas()->SetFont(Font);
    return B.GetCanvas()->TextWidth(Text);
  }
  TForm* Form = nullptr;
  TbsSkinData* Skin = nullptr;
};

TEST_F(TSkinnedLabelTest, TheTextExcessAndTheWidthThatFollowsIt) {
  auto* Label = NewControl<TbsSkinLabel>(Form, "Label", 10, 10);
  Label->SetCaption("A caption much wider than the label");
  const Integer Text = TextWidth(Label->GetCaption(), Label->GetDefaultFont());
  // Without a part: the text and 4 pixels of margin.
  EXPECT_EQ(Label->GetTextExcess(), Text + 4 - 75);
  Label->SetAutoSize(true);
  EXPECT_EQ(Label->GetWidth(), Text + 4);
  EXPECT_EQ(Label->GetTextExcess(), 0);
  // Aligned to fill its parent it keeps the width it is given.
  Label->SetAlign(alClient);
  const Integer Filled = Label->GetWidth();
  Label->SetCaption("Short");
  EXPECT_EQ(Label->GetWidth(), Filled);

  // With a part the text is measured against the fitted client rectangle.
  auto* Skinned = NewControl<TbsSkinLabel>(Form, "Skinned", 10, 60);
  Skinned->SetSkinData(Skin);
  Skinned->SetCaption("Wide enough to overflow");
  Skinned->SetWidth(75);
  const Integer SkinnedText = TextWidth(Skinned->GetCaption(), Skinned->GetDefaultFont());
  EXPECT_EQ(Skinned->GetTextExcess(), SkinnedText - (75 - 10));
}

TEST_F(TSkinnedLabelTest, LabelAndStatusPanelDrawTheirFaceAndLead) {
  auto* Label = NewControl<TbsSkinLabel>(Form, "Label", 10, 10);
  Label->SetSkinData(Skin);
  Label->SetWidth(120);
  Pump();
  // The 3-piece part stretched along; the height is the part's.
  EXPECT_EQ(Label->GetHeight(), 20);
  EXPECT_EQ(Label->NewClientRect, Rect(5, 2, 115, 18));
  EXPECT_EQ(PixelAt(Label, 1, 1), ScreenColor(LabelFace));
  EXPECT_EQ(PixelAt(Label, 118, 18), ScreenColor(LabelFace));

  // Without a part: the frame of the border style, the glyph's first cell at x 3.
  auto* Panel = NewControl<TbsSkinStatusPanel>(Form, "Panel", 10, 60);
  Panel->SetHeight(30);
  TBitmap Glyph;
  Glyph.SetPixelFormat(pf24bit);
  Glyph.SetSize(20, 10);
  Fill(&Glyph, Rect(0, 0, 20, 10), clWhite);
  Fill(&Glyph, Rect(2, 2, 8, 8), 0x1234AB);
  Fill(&Glyph, Rect(12, 2, 18, 8), 0xAB3412);
  Panel->SetGlyph(&Glyph);
  Panel->SetNumGlyphs(2);
  Pump();
  EXPECT_EQ(PixelAt(Panel, 0, 0), ScreenColor(clBtnShadow));
  EXPECT_EQ(PixelAt(Panel, 3 + 4, 15), ScreenColor(0x1234AB));
  Panel->SetEnabled(false);
  EXPECT_EQ(PixelAt(Panel, 3 + 4, 15), ScreenColor(0xAB3412));
}

TEST_F(TSkinnedLabelTest, AnEllipsisKeepsTheTextInsideTheFrame) {
  auto* Label = NewControl<TbsSkinLabel>(Form, "Label", 10, 10);
  Label->SetCaption("WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW");
  Label->SetBorderStyle(TbsSkinBorderStyle::bvNone);
  Label->SetAlignment(taRightJustify);
  // Right-aligned and too wide: without an ellipsis its start is cut at the left margin, with
  // one it starts at the margin and ends in "...", whose dots leave the far end blank.
  const Integer Row = Label->GetHeight() / 2;
  bool InkAtStart = false;
  for (Integer X = 3; X < 8; ++X) InkAtStart |= PixelAt(Label, X, Row) != ScreenColor(clBtnFace);
  EXPECT_TRUE(InkAtStart);
  Label->SetEllipsType(bsetEllips);
  Pump();
  bool InkAtEnd = false;
  for (Integer Y = 3; Y < Label->GetHeight() / 2 - 2; ++Y)
    InkAtEnd |= PixelAt(Label, Label->GetWidth() - 5, Y) != ScreenColor(clBtnFace);
  EXPECT_FALSE(InkAtEnd);
}

TEST_F(TSkinnedLabelTest, AStatusPanelWithAGlyphIgnoresItsImageList) {
  auto* Panel = NewControl<TbsSkinStatusPanel>(Form, "Panel", 10, 10);
  Panel->SetCaption("Ready");
  const Integer Plain = Panel->GetTextExcess();
  TImageList Images(Form);
  Images.SetWidth(16);
  Images.SetHeight(16);
  TBitmap Cell;
  Cell.SetSize(16, 16);
  Images.Add(&Cell, nullptr);
  Panel->SetImageList(&Images);
  Panel->SetImageIndex(0);
  EXPECT_EQ(Panel->GetTextExcess(), Plain + 16 + 3);
  TBitmap Glyph;
  Glyph.SetSize(24, 12);
  Panel->SetGlyph(&Glyph);
  Panel->SetNumGlyphs(2);
  EXPECT_EQ(Panel->GetTextExcess(), Plain + 12 + 3);
  Panel->SetImageList(nullptr);
}

TEST_F(TSkinnedLabelTest, TheSplitterTakesItsThicknessFromThePart) {
  auto* Left = NewControl<TPanel>(Form, "Left", 0, 0);
  Left->SetAlign(alLeft);
  auto* Splitter = NewControl<TbsSkinSplitter>(Form, "Splitter", 100, 0);
  Splitter->SetAlign(alLeft);
  Splitter->SetSkinData(nullptr);
  EXPECT_EQ(Splitter->GetWidth(), 10);
  Splitter->SetSkinData(Skin);
  EXPECT_EQ(Splitter->GetWidth(), 6);
  const Integer H = Splitter->GetHeight();
  // The ends, the stretched middle and the gripper at the centre.
  EXPECT_EQ(PixelAt(Splitter, 3, 1), ScreenColor(SplitEnd));
  EXPECT_EQ(PixelAt(Splitter, 0, H / 4), ScreenColor(SplitMid));
  EXPECT_EQ(PixelAt(Splitter, 3, H - 2), ScreenColor(SplitEnd));
  EXPECT_EQ(PixelAt(Splitter, 2, H / 2), ScreenColor(Gripper));
  // A part without a picture paints like the platform splitter instead of copying from none.
  PartOf<TbsDataSkinSplitterControl>(Skin, "vsplitter")->PictureIndex = -1;
  Splitter->Repaint();
  EXPECT_NE(PixelAt(Splitter, 2, H / 2), ScreenColor(Gripper));
  // A transparent splitter takes the default thickness even with a part.
  Splitter->SetTransparent(true);
  Splitter->ApplySkinChange();
  EXPECT_EQ(Splitter->GetWidth(), 10);
}

}  // namespace

// Panels drawn from a synthetic skin: the caption placed by the part, the background picture
// and the borderless texture tiled from the top-left, the children's area, and the caption
// line of a transparent panel.
#include <memory>
#include <string>

#include "skin/controls/bsSkinCtrls.h"
#include "tests/skin/SkinTestSupport.h"
#include "tests/skin/controls/SyntheticSkin.h"

namespace {

using namespace SkinTesting;
using namespace SyntheticSkin;

constexpr TColor CaptionColor = 0x0000FE;

class TSkinnedPanelTest : public TSkinTest {
 protected:
  void SetUp() override {
    TSkinTest::SetUp();
    Form = NewForm("Form");
    Form->Show();
    Skin = NewSkin(Form);
    Part = PartOf<TbsDataSkinPanelControl>(Skin, "panel");
    Pump();
  }
  TbsSkinPanel* NewPanel(Integer W, Integer H) {
    auto* P = NewControl<TbsSkinPanel>(Form, "Panel", 10, 10);
    P->SetBounds(10, 10, W, H);
    P->SetSkinData(Skin);
    Pump();
    return P;
  }
  // Pixels of Color in R of the control.
  Integer CountIn(TControl* C, const TRect& R, TColor Color) {
    Integer N = 0;
    for (Integer Y = R.Top; Y < R.Bottom; ++Y)
      for (Integer X = R.Left; X < R.Right; ++X) N += PixelAt(C, X, Y) == ScreenColor(Color) ? 1 : 0;
    return N;
  }
  TForm* Form = nullptr;
  TbsSkinData* Skin = nullptr;
  TbsDataSkinPanelControl* Part = nullptr;
};

TEST_F(TSkinnedPanelTest, TheCaptionGoesWhereThePartPutsItForTheControlsSize) {
  // A caption area across the top edge of the part: it widens with the panel.
  Part->CaptionRect = Rect(0, 0, 50, 10);
  Part->FontColor = CaptionColor;
  Part->Alignment = taRightJustify;
  auto* P = NewPanel(200, 60);
  P->SetCaption("Wide");
  Pump();
  EXPECT_EQ(P->FittedCaptionRect, Rect(0, 0, 200, 10));
  // Right-aligned: the text ends at the right of the widened area, not at the part's width.
  EXPECT_GT(CountIn(P, Rect(150, 0, 200, 10), CaptionColor), 0);
  EXPECT_EQ(CountIn(P, Rect(0, 0, 100, 10), CaptionColor), 0);
  // The children's area is the fitted client.
  EXPECT_EQ(P->GetAdjustedClientRect(), Rect(10, 10, 190, 50));
}

TEST_F(TSkinnedPanelTest, ABackgroundPictureIsTiledFromTheTopLeftOverTheWholePanel) {
  auto Bg = std::make_unique<TBitmap>();
  Bg->SetPixelFormat(pf24bit);
  Bg->SetSize(7, 5);
  Fill(Bg.get(), Rect(0, 0, 7, 5), 0x304050);
  Fill(Bg.get(), Rect(0, 0, 1, 1), 0x60A0E0);
  Skin->ActivePictures.push_back(std::move(Bg));
  Part->BGPictureIndex = static_cast<Integer>(Skin->ActivePictures.size()) - 1;
  auto* P = NewPanel(40, 30);
  for (TPoint Q : {TPoint{0, 0}, TPoint{7, 5}, TPoint{35, 25}})
    EXPECT_EQ(PixelAt(P, Q.X, Q.Y), ScreenColor(0x60A0E0)) << Q.X << "," << Q.Y;
  EXPECT_EQ(PixelAt(P, 1, 1), ScreenColor(0x304050));
  // No frame: the children have the whole panel.
  EXPECT_EQ(P->GetAdjustedClientRect(), Rect(0, 0, 40, 30));
}

TEST_F(TSkinnedPanelTest, ABorderlessPanelIsCoveredByItsClientPieceAlone) {
  auto* P = NewPanel(100, 40);
  // The border style is the look without a part; a skinned panel shows it at its next paint.
  P->SetBorderStyle(TbsSkinBorderStyle::bvNone);
  P->Repaint();
  for (Integer X : {0, 30, 60, 90}) EXPECT_EQ(PixelAt(P, X, 5), ScreenColor(PanelClientEdge)) << X;
  EXPECT_EQ(PixelAt(P, 1, 0), ScreenColor(PanelClient));
  EXPECT_EQ(P->GetAdjustedClientRect(), Rect(0, 0, 100, 40));
}

TEST_F(TSkinnedPanelTest, ATransparentPanelInCaptionModeDrawsOnlyItsCaptionLineAndFrame) {
  Skin->SkinColors->CBtnShadow = 0x2040A0;
  Form->SetColor(0x00FFFF);
  auto* P = NewPanel(120, 60);
  P->SetCaptionMode(true);
  P->SetCaption("Group");
  P->SetTransparentMode(true);
  Pump();
  const Integer Y = P->FittedCaptionRect.Bottom / 2;
  EXPECT_EQ(PixelAt(P, 2, Y), ScreenColor(0x2040A0));
  EXPECT_EQ(PixelAt(P, 110, Y), ScreenColor(0x2040A0));
  EXPECT_EQ(PixelAt(P, 119, 40), ScreenColor(0x2040A0));
  EXPECT_EQ(PixelAt(P, 60, 59), ScreenColor(0x2040A0));
  // Inside, the parent's background shows through.
  EXPECT_EQ(PixelAt(P, 60, 40), ScreenColor(0x00FFFF));
}

TEST_F(TSkinnedPanelTest, AStatusBarDrawsTheGripPictureAtTheRightOfItsChildren) {
  auto Status = std::make_unique<TbsDataSkinPanelControl>("statusbar");
  Status->PictureIndex = 0;
  Status->SkinRect = Rect(0, 0, 50, 50);
  NineSlice(Status.get(), 50, 50, 4);
  Status->GripperRect = Rect(60, 20, 72, 32);  // 12 x 12 of the first animation frame
  Skin->SkinControls.push_back(std::move(Status));
  auto* Bar = NewControl<TbsSkinStatusBar>(Form, "Status", 0, 0);
  Bar->SetSizeGrip(true);
  Bar->SetSkinData(Skin);
  Pump();
  // A borderless bar: its children have all of it but the grip's width.
  const TRect Children = Bar->GetAdjustedClientRect();
  EXPECT_EQ(Children.Right, Bar->GetWidth() - 12);
  const TRect Grip = Bar->GripRect();
  EXPECT_EQ(Grip, Rect(Children.Right, Children.Bottom - 12, Children.Right + 12, Children.Bottom));
  EXPECT_EQ(PixelAt(Bar, Grip.Left + 6, Grip.Top + 6), ScreenColor(FrameColors[0]));
  EXPECT_EQ(PixelAt(Bar, Grip.Left - 3, Grip.Top + 6), ScreenColor(PanelClient));
}

}  // namespace

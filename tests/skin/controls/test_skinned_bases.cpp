// The skinned bases against a synthetic skin: resize modes and fitting, part rectangles mapped
// to the control's size, frame strips with the client tiled, regions cut from the mask, and the
// bars and the bevel built on them.
#include <memory>
#include <string>

#include "platform/gdi/Regions.h"
#include "platform/user/WindowPos.h"
#include "skin/controls/bsSkinCtrls.h"
#include "tests/skin/SkinTestSupport.h"
#include "tests/skin/controls/SyntheticSkin.h"

namespace {

using namespace SkinTesting;
using namespace SyntheticSkin;

class TSkinnedBaseTest : public TSkinTest {
 protected:
  void SetUp() override {
    TSkinTest::SetUp();
    Form = NewForm("Form");
    Form->Show();
    Skin = NewSkin(Form);
    Pump();
  }
  // A plain part "part" of 40 x 30 with the anchors given.
  TbsDataSkinCustomControl* AddPart(TPoint LT, TPoint RT, TPoint LB, TPoint RB) {
    auto P = std::make_unique<TbsDataSkinCustomControl>("part");
    P->PictureIndex = 0;
    P->SkinRect = Rect(0, 0, 40, 30);
    P->ClientRect = Rect(5, 5, 35, 25);
    P->LeftTopPoint = LT, P->RightTopPoint = RT, P->LeftBottomPoint = LB, P->RightBottomPoint = RB;
    Skin->SkinControls.push_back(std::move(P));
    return dynamic_cast<TbsDataSkinCustomControl*>(Skin->SkinControls.back().get());
  }
  TbsSkinCustomControl* NewPartControl() {
    auto* C = NewControl<TbsSkinCustomControl>(Form, "Part", 10, 10);
    C->SetSkinDataName("part");
    C->SetBounds(10, 10, 100, 80);
    C->SetSkinData(Skin);
    return C;
  }
  TForm* Form = nullptr;
  TbsSkinData* Skin = nullptr;
};

struct TModeCase {
  TPoint LT, RT, LB, RB;
  Integer Mode, Width, Height;
};

TEST_F(TSkinnedBaseTest, ResizeModesFixWhatThePartFixes) {
  // Proposed size 100 x 80 against a part of 40 x 30.
  const TModeCase Cases[] = {
      {{5, 5}, {35, 5}, {5, 25}, {35, 25}, 1, 100, 80},  // 9-slice: any size
      {{5, 5}, {35, 5}, {5, 25}, {35, 0}, 2, 100, 30},   // one zero coordinate: horizontal
      {{5, 5}, {0, 0}, {5, 25}, {35, 0}, 3, 40, 80},     // then vertical
      {{5, 5}, {0, 0}, {0, 0}, {0, 25}, 0, 40, 30},      // then fixed
  };
  auto* Part = AddPart({}, {}, {}, {});
  for (const TModeCase& K : Cases) {
    Part->LeftTopPoint = K.LT, Part->RightTopPoint = K.RT, Part->LeftBottomPoint = K.LB,
    Part->RightBottomPoint = K.RB;
    auto* C = NewPartControl();
    EXPECT_EQ(C->SizingMode, K.Mode);
    EXPECT_EQ(C->GetWidth(), K.Width) << K.Mode;
    EXPECT_EQ(C->GetHeight(), K.Height) << K.Mode;
    delete C;
  }
}

TEST_F(TSkinnedBaseTest, FittingMovesTheFarAnchorsAndTheClientBySizeGrowth) {
  AddPart({5, 5}, {35, 6}, {7, 25}, {33, 24});
  auto* C = NewPartControl();
  EXPECT_EQ(C->NewLeftTopPoint, TPoint(5, 5));
  EXPECT_EQ(C->NewRightTopPoint, TPoint(95, 6));
  EXPECT_EQ(C->NewLeftBottomPoint, TPoint(7, 75));
  EXPECT_EQ(C->NewRightBottomPoint, TPoint(93, 74));
  EXPECT_EQ(C->NewClientRect, Rect(5, 5, 95, 75));
  Integer W = 20, H = 10;
  C->FitPartToSize(W, H);
  EXPECT_EQ(C->NewClientRect, Rect(5, 5, 15, 5));
  EXPECT_EQ(W, 20);
  EXPECT_EQ(H, 10);
}

TEST_F(TSkinnedBaseTest, PartRectanglesFollowTheirCornerAreas) {
  AddPart({10, 8}, {30, 8}, {10, 22}, {30, 22});
  auto* C = NewPartControl();  // 100 x 80: dx 60, dy 50
  struct {
    TRect In, Out;
  } const Cases[] = {
      {Rect(1, 1, 5, 5), Rect(1, 1, 5, 5)},          // inside the left-top corner
      {Rect(32, 1, 38, 6), Rect(92, 1, 98, 6)},      // right-top: moved right
      {Rect(2, 24, 6, 28), Rect(2, 74, 6, 78)},      // left-bottom: moved down
      {Rect(32, 24, 38, 28), Rect(92, 74, 98, 78)},  // right-bottom: both
      {Rect(2, 2, 38, 28), Rect(2, 2, 98, 78)},      // left-top to right-bottom: stretched
      {Rect(2, 2, 38, 6), Rect(2, 2, 98, 6)},        // across the top: wider
      {Rect(2, 24, 38, 28), Rect(2, 74, 98, 78)},    // across the bottom: wider and moved down
      {Rect(2, 2, 6, 28), Rect(2, 2, 6, 78)},        // down the left: taller
      {Rect(32, 2, 38, 28), Rect(92, 2, 98, 78)},    // down the right: moved right and taller
      {Rect(12, 10, 20, 20), Rect(12, 10, 20, 20)},  // the middle alone stays
  };
  for (const auto& K : Cases) EXPECT_EQ(C->MapPartRect(K.In), K.Out) << K.In.Left << "," << K.In.Top;
}

TEST_F(TSkinnedBaseTest, HorizontalAndVerticalPartsMapAlongTheirAxisOnly) {
  AddPart({10, 0}, {30, 0}, {0, 0}, {0, 0});
  auto* C = NewPartControl();  // 100 x 30
  EXPECT_EQ(C->MapPartRect(Rect(5, 2, 35, 9)), Rect(5, 2, 95, 9));
  EXPECT_EQ(C->MapPartRect(Rect(31, 2, 36, 9)), Rect(91, 2, 96, 9));
  EXPECT_EQ(C->MapPartRect(Rect(12, 2, 20, 9)), Rect(12, 2, 20, 9));
}

TEST_F(TSkinnedBaseTest, ThreeSlicePartsKeepTheirEndsAndFillTheMiddle) {
  // Ends of 5 pixels in 0x0000A0 and 0xA00000 around a middle in 0x00A000, across and down.
  auto Across = std::make_unique<TBitmap>();
  Across->SetPixelFormat(pf24bit);
  Across->SetSize(30, 30);
  Fill(Across.get(), Rect(0, 0, 5, 30), 0x0000A0);
  Fill(Across.get(), Rect(5, 0, 25, 30), 0x00A000);
  Fill(Across.get(), Rect(25, 0, 30, 30), 0xA00000);
  Skin->ActivePictures.push_back(std::move(Across));
  auto* Part = AddPart({5, 0}, {25, 0}, {}, {});
  Part->PictureIndex = static_cast<Integer>(Skin->ActivePictures.size()) - 1;
  Part->SkinRect = Rect(0, 0, 30, 10);
  auto* C = NewPartControl();
  Pump();
  ASSERT_EQ(C->SizingMode, 2);
  EXPECT_EQ(C->GetHeight(), 10);
  EXPECT_EQ(PixelAt(C, 4, 5), ScreenColor(0x0000A0));
  EXPECT_EQ(PixelAt(C, 5, 5), ScreenColor(0x00A000));
  EXPECT_EQ(PixelAt(C, 94, 5), ScreenColor(0x00A000));
  EXPECT_EQ(PixelAt(C, 95, 5), ScreenColor(0xA00000));

  // Down: ends of 5 rows around a middle band.
  auto Down = std::make_unique<TBitmap>();
  Down->SetPixelFormat(pf24bit);
  Down->SetSize(10, 30);
  Fill(Down.get(), Rect(0, 0, 10, 5), 0x0000B0);
  Fill(Down.get(), Rect(0, 5, 10, 25), 0x00B000);
  Fill(Down.get(), Rect(0, 25, 10, 30), 0xB00000);
  Skin->ActivePictures.push_back(std::move(Down));
  Part->PictureIndex = static_cast<Integer>(Skin->ActivePictures.size()) - 1;
  Part->LeftTopPoint = {0, 5};
  Part->RightTopPoint = {};
  Part->LeftBottomPoint = {0, 25};
  Part->SkinRect = Rect(0, 0, 10, 30);
  C->ApplySkinChange();
  C->SetBounds(10, 10, 100, 90);
  ASSERT_EQ(C->SizingMode, 3);
  EXPECT_EQ(C->GetWidth(), 10);
  EXPECT_EQ(C->GetHeight(), 90);
  EXPECT_EQ(PixelAt(C, 5, 4), ScreenColor(0x0000B0));
  EXPECT_EQ(PixelAt(C, 5, 5), ScreenColor(0x00B000));
  EXPECT_EQ(PixelAt(C, 5, 84), ScreenColor(0x00B000));
  EXPECT_EQ(PixelAt(C, 5, 85), ScreenColor(0xB00000));
}

TEST_F(TSkinnedBaseTest, AFrameStripPanelTilesItsClientPieceFromTheClientEdge) {
  auto* P = NewControl<TbsSkinPanel>(Form, "Panel", 10, 10);
  P->SetBounds(10, 10, 120, 60);  // fitted client 100 wide from x 10
  P->SetSkinData(Skin);
  ASSERT_EQ(P->SizingMode, 1);
  EXPECT_EQ(P->NewClientRect, Rect(10, 10, 110, 50));
  // Tiles start at 0, 30, 60 and 90; the last is cut by the clip after 10 pixels.
  for (Integer Offset : {0, 30, 60, 90}) {
    EXPECT_EQ(PixelAt(P, 10 + Offset, 20), ScreenColor(PanelClientEdge)) << Offset;
    EXPECT_EQ(PixelAt(P, 11 + Offset, 20), ScreenColor(PanelClient)) << Offset;
  }
  EXPECT_EQ(PixelAt(P, 110, 20), ScreenColor(PanelFrame));
  EXPECT_EQ(PixelAt(P, 5, 5), ScreenColor(PanelFrame));
  EXPECT_EQ(PixelAt(P, 115, 55), ScreenColor(PanelFrame));
}

TEST_F(TSkinnedBaseTest, AClientPieceWithoutSizeLeavesTheClientUntiled) {
  auto* Part = PartOf<TbsDataSkinPanelControl>(Skin, "panel");
  Part->ClientRect = Rect(10, 10, 10, 40);
  auto* P = NewControl<TbsSkinPanel>(Form, "Panel", 10, 10);
  P->SetBounds(10, 10, 120, 60);
  P->SetSkinData(Skin);
  // The frame is drawn, and no division by the piece's width takes the program down.
  EXPECT_EQ(PixelAt(P, 5, 5), ScreenColor(PanelFrame));
}

TEST_F(TSkinnedBaseTest, APictureIndexBelowMinusOneDrawsThePlainFace) {
  auto* Part = PartOf<TbsDataSkinButtonControl>(Skin, "button");
  Part->PictureIndex = -5;
  auto* B = NewControl<TbsSkinButton>(Form, "Button", 10, 10);
  B->SetSkinData(Skin);
  EXPECT_EQ(B->SkinPicture, nullptr);
  EXPECT_EQ(PixelAt(B, 10, 10), ScreenColor(clBtnFace));
}

TEST_F(TSkinnedBaseTest, TheMaskCutsTheRegionAndAPartWithoutMaskRemovesIt) {
  PartOf<TbsDataSkinButtonControl>(Skin, "button")->MaskPictureIndex = 1;
  auto* B = NewControl<TbsSkinButton>(Form, "Button", 10, 10);
  B->SetSkinData(Skin);
  ASSERT_NE(B->PartRegion, nullptr);
  HRGN R = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(B->GetHandle(), R), ERROR);
  EXPECT_FALSE(PtInRegion(R, 1, 1));   // the white corner
  EXPECT_TRUE(PtInRegion(R, 5, 1));    // the top edge beside it
  EXPECT_TRUE(PtInRegion(R, 40, 12));  // the stretched client
  EXPECT_TRUE(PtInRegion(R, 73, 23));  // the far corner kept
  DeleteObject(R);

  PartOf<TbsDataSkinButtonControl>(Skin, "button")->MaskPictureIndex = -1;
  B->ApplySkinChange();
  EXPECT_EQ(B->PartRegion, nullptr);
}

TEST_F(TSkinnedBaseTest, ControlsOnAToolBarAreCentredVertically) {
  auto* Bar = NewControl<TbsSkinToolBar>(Form, "Bar", 0, 0);
  Bar->SetBounds(0, 0, 300, 40);
  auto* Tool = NewControl<TbsSkinSpeedButton>(Bar, "Tool", 5, 0);
  auto* Button = NewControl<TbsSkinButton>(Bar, "Button", 40, 0);
  auto* Bevel = NewControl<TbsSkinBevel>(Bar, "Bevel", 120, 0);
  Bevel->SetBounds(120, 0, 2, 20);
  // No part, no border: the adjusted client area is the whole bar.
  EXPECT_EQ(Tool->GetTop(), 20 - 25 / 2);
  EXPECT_EQ(Button->GetTop(), 20 - 25 / 2);
  EXPECT_EQ(Bevel->GetTop(), 10);
  Bar->SetAdjustControls(false);
  Button->SetTop(3);
  EXPECT_EQ(Button->GetTop(), 3);
}

TEST_F(TSkinnedBaseTest, TheStatusBarGripSizesTheFormOnlyWhileShown) {
  auto* Bar = NewControl<TbsSkinStatusBar>(Form, "Status", 0, 0);
  Bar->SetSizeGrip(true);
  Pump();
  const Integer W = Bar->GetWidth(), H = Bar->GetHeight();
  // Without a part the grip is a square as wide as the client height at the right.
  EXPECT_EQ(Bar->GetAdjustedClientRect().Right, W - H);
  auto HitAt = [&](Integer X, Integer Y) {
    const TPoint P = Bar->ClientToScreen({X, Y});
    return SendMessage(Bar->GetHandle(), WM_NCHITTEST, 0, MAKELPARAM(P.X, P.Y));
  };
  EXPECT_EQ(HitAt(W - 3, H - 3), HTBOTTOMRIGHT);
  EXPECT_EQ(HitAt(10, 5), HTCLIENT);
  Bar->SetShowGrip(false);
  EXPECT_EQ(Bar->GetAdjustedClientRect().Right, W);
  EXPECT_NE(HitAt(W - 3, H - 3), HTBOTTOMRIGHT);
}

TEST_F(TSkinnedBaseTest, TheBevelTakesTheSkinColoursAndForgetsASkinThatGoes) {
  auto* V = NewControl<TbsSkinBevel>(Form, "Bevel", 10, 10);
  V->SetBounds(10, 10, 10, 40);
  EXPECT_EQ(PixelAt(V, 0, 5), ScreenColor(clBtnShadow));
  EXPECT_EQ(PixelAt(V, 9, 5), ScreenColor(clBtnHighlight));
  V->SetSkinData(Skin);
  EXPECT_EQ(PixelAt(V, 0, 5), ScreenColor(0xAA1111));
  EXPECT_EQ(PixelAt(V, 9, 5), ScreenColor(0x11AA11));
  // A divider groove down the middle: x 4 to 5, y 2 to 38.
  V->SetShape(bsLeftLine);
  V->SetDividerMode(true);
  EXPECT_EQ(PixelAt(V, 4, 2), ScreenColor(0xAA1111));
  EXPECT_EQ(PixelAt(V, 5, 20), ScreenColor(0x11AA11));
  EXPECT_EQ(PixelAt(V, 4, 38), ScreenColor(0xAA1111));
  EXPECT_EQ(PixelAt(V, 5, 38), ScreenColor(0x11AA11));
  EXPECT_NE(PixelAt(V, 0, 20), ScreenColor(0xAA1111));

  delete Skin;
  EXPECT_EQ(V->GetSkinData(), nullptr);
  V->ApplySkinChange();
  EXPECT_EQ(V->LightColor, clBtnHighlight);
}

}  // namespace

// The scroll box: the bars' range and visibility against its content, the corrections when it
// grows or the content shrinks while scrolled, its frame and its skinned background.
#include <string>
#include <vector>

#include "platform/classes/ExtCtrls.h"
#include "skin/boxctrls/bsSkinBoxCtrls.h"
#include "skin/boxctrls/bsSkinBoxCtrlsScrollBox.h"
#include "skin/controls/bsSkinCtrlsScrollBar.h"
#include "tests/skin/SkinTestSupport.h"
#include "tests/skin/boxctrls/BoxSkinSupport.h"

namespace {

using namespace SkinTesting;

class TScrollBoxTest : public TSkinTest {
 protected:
  void SetUp() override {
    TSkinTest::SetUp();
    Form = NewForm("Form");
    VBar = NewControl<TbsSkinScrollBar>(Form, "VBar", 0, 0);
    VBar->SetKind(sbVertical);
    VBar->SetWidth(19);
    VBar->SetAlign(alRight);
    Box = NewControl<TbsSkinScrollBox>(Form, "Box", 0, 0);
    Box->SetBorderStyle(TbsSkinBorderStyle::bvNone);
    Child = NewControl<TPanel>(Box, "Child", 0, 0);
    Form->Show();
    Pump();
  }
  // An aligned box of the given height over content of ContentH pixels, scrolled to Position.
  void AlignedBox(Integer H, Integer ContentH, Integer Position) {
    Box->SetAlign(alTop);
    Box->SetHeight(H);
    Child->SetBounds(0, 0, 50, ContentH);
    Box->SetVScrollBar(VBar);
    VBar->SetPosition(Position);
    Pump();
  }
  TForm* Form = nullptr;
  TbsSkinScrollBar* VBar = nullptr;
  TbsSkinScrollBox* Box = nullptr;
  TPanel* Child = nullptr;
};

TEST_F(TScrollBoxTest, BarFollowsTheContent) {
  Box->SetBounds(0, 0, 100, 100);
  // No content: range 0..0, hidden.
  Child->SetVisible(false);
  Box->SetVScrollBar(VBar);
  EXPECT_FALSE(VBar->GetVisible());
  EXPECT_EQ(VBar->GetMax(), 0);
  // Taller content: Max is the content bottom - 1, the page the client height.
  Child->SetVisible(true);
  Child->SetBounds(0, 0, 50, 250);
  Box->UpdateScrollBars();
  EXPECT_TRUE(VBar->GetVisible());
  EXPECT_EQ(VBar->GetMax(), 249);
  EXPECT_EQ(VBar->GetPageSize(), 100);
  // Moving the bar by 10 moves the children up by 10.
  VBar->SetPosition(10);
  EXPECT_EQ(Child->GetTop(), -10);
  // Content that fits again goes back to its place and the bar hides.
  Child->SetHeight(60);
  Box->UpdateScrollBars();
  EXPECT_EQ(Child->GetTop(), 0);
  EXPECT_FALSE(VBar->GetVisible());
  // A child above the top never makes the content bottom negative.
  Child->SetBounds(0, -80, 50, 30);
  Box->UpdateScrollBars();
  EXPECT_EQ(VBar->GetMax(), 0);
}

TEST_F(TScrollBoxTest, CorrectionsWhileScrolled) {
  struct TCase {
    const char* Name;
    Integer Height, Content, Position;
    Integer NewHeight, NewContent;  // 0: unchanged
    Integer ChildTop, Max, Position2;
  };
  const std::vector<TCase> Cases{
      // Grown at the end of the content: the children come down by the growth.
      {"grown", 100, 200, 100, 150, 0, -50, 199, 50},
      // Grown by more than the position: limited to it.
      {"grown beyond", 100, 300, 30, 290, 0, 0, 299, 0},
      // Content shrank under a scrolled box: down by min(gap, position).
      {"shrunk", 100, 200, 100, 0, 150, -50, 149, 50},
  };
  for (const TCase& C : Cases) {
    AlignedBox(C.Height, C.Content, C.Position);
    ASSERT_EQ(Child->GetTop(), -C.Position) << C.Name;
    if (C.NewHeight != 0) Box->SetHeight(C.NewHeight);
    if (C.NewContent != 0) {
      Child->SetHeight(C.NewContent);
      Box->UpdateScrollBars();
    }
    EXPECT_EQ(Child->GetTop(), C.ChildTop) << C.Name;
    EXPECT_EQ(VBar->GetMax(), C.Max) << C.Name;
    EXPECT_EQ(VBar->GetPosition(), C.Position2) << C.Name;
    // A further update without a change moves nothing.
    Box->UpdateScrollBars();
    EXPECT_EQ(Child->GetTop(), C.ChildTop) << C.Name;
    // Back to the start for the next case.
    VBar->SetPosition(0);
    Child->SetTop(0);
    Box->SetVScrollBar(nullptr);
  }
}

TEST_F(TScrollBoxTest, UnalignedBoxTakesItsGrowthAtTheNextUpdate) {
  Box->SetBounds(0, 0, 100, 100);
  Child->SetBounds(0, 0, 50, 200);
  Box->SetVScrollBar(VBar);
  VBar->SetPosition(100);
  Box->SetBounds(0, 0, 100, 150);
  Box->UpdateVScrollBar();
  EXPECT_EQ(Child->GetTop(), -50);
  EXPECT_EQ(VBar->GetPosition(), 50);
}

TEST_F(TScrollBoxTest, DefaultFrameAndPrintMessages) {
  Child->SetVisible(false);
  Box->SetBounds(10, 10, 100, 100);
  Box->SetColor(clYellow);
  Pump();
  // bvNone: no frame, and the print messages draw nothing.
  EXPECT_EQ(Box->GetClientWidth(), 100);
  EXPECT_EQ(Box->Perform(0xB1C9, 0, 0), 0);
  EXPECT_EQ(Box->Perform(0xBC4B, 0, 16802), 16802);
  EXPECT_EQ(PixelAt(Box, 0, 0), ScreenColor(clYellow));
  struct TCase {
    TbsSkinBorderStyle Style;
    TColor TopLeft, BottomRight;
  };
  for (const TCase& C : {TCase{TbsSkinBorderStyle::bvFrame, clBtnShadow, clBtnShadow},
                         TCase{TbsSkinBorderStyle::bvRaised, clBtnShadow, clBtnHighlight},
                         TCase{TbsSkinBorderStyle::bvLowered, clBtnHighlight, clBtnShadow}}) {
    Box->SetBorderStyle(C.Style);
    Pump();
    EXPECT_EQ(Box->GetClientWidth(), 98);
    EXPECT_EQ(PixelAt(Box, -1, 20), ScreenColor(C.TopLeft));
    EXPECT_EQ(PixelAt(Box, 98, 20), ScreenColor(C.BottomRight));
    EXPECT_EQ(PixelAt(Box, 5, 5), ScreenColor(clYellow));
  }
  TBitmap B;
  B.SetSize(100, 100);
  EXPECT_EQ(Box->Perform(0xB1C9, reinterpret_cast<WPARAM>(B.GetCanvas()->GetHandle()), 0), 12851);
  EXPECT_EQ(ColorToRGB(B.GetCanvas()->GetPixels(0, 5)), ColorToRGB(clBtnHighlight));
}

// Part "scrollbox": a 30 x 30 frame of 5 pixels (red) around a 20 x 20 client piece whose
// left half is blue and right half lime; picture 1 is a 4 x 4 teal square.
class TSkinnedScrollBoxTest : public TScrollBoxTest {
 protected:
  void LoadSkin(const std::string& Extra, const std::string& ClientRect = "5,5,25,25") {
    using namespace BoxSkin;
    const std::string Pic =
        Picture(40, 40, clSilver,
                {{Rect(0, 0, 30, 30), clRed}, {Rect(5, 5, 15, 25), clBlue}, {Rect(15, 5, 25, 25), clLime}});
    Load(Data, {Pic, Picture(4, 4, clTeal, {})},
         {{"scrollbox", "scrollbox",
           "pictureindex=0\r\nskinrect=0,0,30,30\r\nclientrect=" + ClientRect +
               "\r\nlefttoppoint=5,5\r\n"
               "righttoppoint=25,5\r\nleftbottompoint=5,25\r\nrightbottompoint=25,25\r\n" +
               Extra}});
    Box->SetBorderStyle(TbsSkinBorderStyle::bvFrame);
    Box->SetSkinData(&Data);
    Box->SetBounds(10, 10, 100, 80);
    Pump();
  }
  TbsSkinData Data{nullptr};
};

TEST_F(TSkinnedScrollBoxTest, FrameAndTiledClientPiece) {
  Child->SetVisible(false);
  LoadSkin("");
  EXPECT_EQ(Box->GetClientWidth(), 90);
  EXPECT_EQ(Box->GetClientHeight(), 70);
  EXPECT_EQ(PixelAt(Box, -5, 30), BoxSkin::Screen(clRed));
  EXPECT_EQ(PixelAt(Box, 94, 74), BoxSkin::Screen(clRed));
  // The tile repeats every 20 pixels.
  EXPECT_EQ(PixelAt(Box, 2, 2), BoxSkin::Screen(clBlue));
  EXPECT_EQ(PixelAt(Box, 12, 2), BoxSkin::Screen(clLime));
  EXPECT_EQ(PixelAt(Box, 22, 42), BoxSkin::Screen(clBlue));
  EXPECT_EQ(PixelAt(Box, 85, 65), BoxSkin::Screen(clBlue));
}

TEST_F(TSkinnedScrollBoxTest, BackgroundPictureOrNone) {
  Child->SetVisible(false);
  // A picture of the skin over the whole window and no frame.
  LoadSkin("bgpictureindex=1\r\n");
  EXPECT_EQ(Box->GetBGPictureIndex(), 1);
  EXPECT_EQ(Box->GetClientWidth(), 100);
  EXPECT_EQ(PixelAt(Box, 0, 0), BoxSkin::Screen(clTeal));
  EXPECT_EQ(PixelAt(Box, 99, 79), BoxSkin::Screen(clTeal));
  // An index the picture list does not hold is no picture: the part's frame and tile.
  LoadSkin("bgpictureindex=7\r\n");
  EXPECT_EQ(Box->GetBGPictureIndex(), -1);
  EXPECT_EQ(Box->GetClientWidth(), 90);
  EXPECT_EQ(PixelAt(Box, 2, 2), BoxSkin::Screen(clBlue));
}

TEST_F(TSkinnedScrollBoxTest, EmptyTileGivesThePlainFill) {
  Child->SetVisible(false);
  Box->SetColor(clYellow);
  LoadSkin("", "5,5,5,25");
  EXPECT_EQ(PixelAt(Box, 3, 3), ScreenColor(clYellow));
}

}  // namespace

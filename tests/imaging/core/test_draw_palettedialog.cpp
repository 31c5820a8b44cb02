// The palette window: how it is built, which colour the mouse points at, its cells, and the
// modal answer driven by clicks and keys on the headless screen.
#include <memory>
#include <vector>

#include "DrawTestSupport.h"
#include "imaging/core/iepalettedialog.h"
#include "platform/user/WinUser.h"

using namespace DrawTesting;

namespace {

// Entry I: red I, green 255 - I, blue I / 2.
std::vector<TIERGBTriple> TestPalette(Integer Count) {
  std::vector<TIERGBTriple> P(Count);
  for (Integer I = 0; I < Count; ++I) {
    P[I].rgbtRed = static_cast<Byte>(I);
    P[I].rgbtGreen = static_cast<Byte>(255 - I);
    P[I].rgbtBlue = static_cast<Byte>(I / 2);
  }
  return P;
}

TColor ColorOf(const TIERGBTriple& T) {
  return static_cast<TColor>(T.rgbtRed | (T.rgbtGreen << 8) | (T.rgbtBlue << 16));
}

// The screen's 0x00RRGGBB as a platform colour.
TColor ScreenColor(DWORD Pixel) {
  return static_cast<TColor>(((Pixel >> 16) & 0xFF) | (Pixel & 0xFF00) | ((Pixel & 0xFF) << 16));
}

class TPaletteDialogTest : public TScreenTest {
 protected:
  // The window goes before the base's last message pump, which frees destroyed windows.
  void TearDown() override {
    Owned.reset();
    TScreenTest::TearDown();
  }
  void Hover(Integer X, Integer Y) { Dialog.OnMouseMove(&Dialog, TShiftState{}, X, Y); }
  TPoint OnScreen(Integer X, Integer Y) { return Dialog.ClientToScreen({X, Y}); }
  std::unique_ptr<TZezudIdPaletteDialog> Owned = std::make_unique<TZezudIdPaletteDialog>(nullptr);
  TZezudIdPaletteDialog& Dialog = *Owned;
};

TEST_F(TPaletteDialogTest, IsBuiltAsAFixedDialogWithACancelButton) {
  EXPECT_EQ(Dialog.GetCaption(), "Palette");
  EXPECT_EQ(Dialog.GetWidth(), 520);
  EXPECT_EQ(Dialog.GetHeight(), 199);
  EXPECT_EQ(Dialog.GetBorderStyle(), bsDialog);
  EXPECT_EQ(Dialog.GetBorderIcons(), TBorderIcons{biSystemMenu});
  EXPECT_EQ(Dialog.GetPosition(), poScreenCenter);
  ASSERT_NE(Dialog.CancelButton, nullptr);
  EXPECT_EQ(Dialog.CancelButton->GetOwner(), &Dialog);
  EXPECT_EQ(Dialog.CancelButton->GetCaption(), "&Cancel");
  EXPECT_EQ(Dialog.CancelButton->GetModalResult(), mrCancel);
  EXPECT_TRUE(Dialog.CancelButton->GetCancel());
  EXPECT_EQ(Dialog.CancelButton->GetLeft(), 4);
  EXPECT_EQ(Dialog.CancelButton->GetTop(), 136);
  EXPECT_EQ(Dialog.GetSelectedIndex(), -1);
}

TEST_F(TPaletteDialogTest, TheMousePointsAtCellsOf16PixelsThirtyTwoToARow) {
  const auto Palette = TestPalette(40);
  Dialog.SetPalette(Palette.data(), 40);
  const struct {
    Integer X, Y, Selected;
  } Moves[] = {
      {0, 0, 0},     {17, 1, 1},    {16, 1, 0}, {1, 17, 32},
      {17, 17, 33},  {1, 33, 33},    // row 2 starts at 64: past the last colour, the selection stays
      {113, 17, 39}, {129, 17, 39},  // 40 would be past the end
      {512, 1, 31},  {513, 1, 31},   // right of the last column: not the next row's first colour
      {0, 16, 0},
  };
  for (const auto& M : Moves) {
    Hover(M.X, M.Y);
    EXPECT_EQ(Dialog.GetSelectedIndex(), M.Selected) << M.X << "," << M.Y;
  }
}

TEST_F(TPaletteDialogTest, AClickOnAColourClosesTheDialogWithIt) {
  const auto Palette = TestPalette(256);
  Dialog.SetPalette(Palette.data(), 256);
  std::vector<TColor> Cells;
  Integer Idle = 0;
  SetModalHook([&] {
    if (Idle++ != 0) return;
    // 256 colours fill eight rows, above the button; colour 1 is framed in black once hovered.
    Display->MoveTo(OnScreen(20, 5).X, OnScreen(20, 5).Y);
    RunUntilIdle();
    const TScreenshot Shot = Screenshot();
    auto At = [&](Integer X, Integer Y) {
      return ScreenColor(Shot.Pixel(OnScreen(X, Y).X, OnScreen(X, Y).Y));
    };
    Cells = {At(8, 8), At(24, 8), At(17, 1), At(1, 1), At(16, 8), At(504, 120), At(497, 113), At(8, 129)};
    const TPoint Cell = OnScreen(22, 10);
    Display->Click(Cell.X, Cell.Y);
  });
  EXPECT_TRUE(Dialog.Execute());
  EXPECT_EQ(Dialog.GetSelectedIndex(), 1);
  EXPECT_EQ(Dialog.GetChosenColor(), ColorOf(Palette[1]));
  EXPECT_FALSE(Dialog.GetVisible());
  ASSERT_EQ(Cells.size(), 8u);
  EXPECT_EQ(Cells[0], ColorOf(Palette[0]));
  EXPECT_EQ(Cells[1], ColorOf(Palette[1]));
  EXPECT_EQ(Cells[2], clBlack);                                     // the hovered cell's outline
  EXPECT_EQ(Cells[3], clWhite);                                     // the others' outline
  EXPECT_EQ(Cells[4], static_cast<TColor>(ColorToRGB(clBtnFace)));  // the gap between cells
  EXPECT_EQ(Cells[5], ColorOf(Palette[255]));
  EXPECT_EQ(Cells[6], clWhite);
  EXPECT_EQ(Cells[7], static_cast<TColor>(ColorToRGB(clBtnFace)));  // below the eighth row
}

TEST_F(TPaletteDialogTest, EscapeOrTheButtonCancelsAndAClickOnNothingWaits) {
  const auto Palette = TestPalette(3);
  Dialog.SetPalette(Palette.data(), 3);
  Dialog.CancelButton->SetCaption("Close");
  Integer Idle = 0;
  SetModalHook([&] {
    if (Idle++ != 0) return;
    // Nothing under the mouse yet: the click does nothing.
    const TPoint Empty = OnScreen(300, 100);
    Display->Click(Empty.X, Empty.Y);
    RunUntilIdle();
    EXPECT_EQ(Dialog.GetModalResult(), mrNone);
    Display->KeyPress(VK_ESCAPE);
  });
  EXPECT_FALSE(Dialog.Execute());
  EXPECT_EQ(Dialog.GetModalResult(), mrCancel);
  EXPECT_EQ(Dialog.GetSelectedIndex(), -1);

  Idle = 0;
  SetModalHook([&] {
    if (Idle++ != 0) return;
    const TPoint Button = Dialog.CancelButton->ClientToScreen({10, 10});
    Display->Click(Button.X, Button.Y);
  });
  EXPECT_FALSE(Dialog.Execute());
  EXPECT_EQ(Dialog.CancelButton->GetCaption(), "Close");
}

}  // namespace

// Drawing a selection at the view's zoom: the scaled copy, the XOR picture, the outline and the
// dimmed outside.
#include <gtest/gtest.h>

#include <map>

#include "MaskTestSupport.h"
#include "platform/classes/Bitmap.h"

namespace {

using TRows = std::vector<std::string>;

// Rows of a zoomed buffer (bottom-up, DWORD rows) as text.
TRows ZoomedRows(const std::vector<Byte>& Buffer, Integer Width, Integer Height, Integer Bpp) {
  const Integer RowLen = DibRowBytes(Width, Bpp);
  TRows Rows;
  for (Integer Y = 0; Y < Height; ++Y) {
    const Byte* Row = Buffer.data() + RowLen * (Height - 1 - Y);
    std::string Text;
    for (Integer X = 0; X < Width; ++X)
      Text += (Bpp == 8 ? Row[X] != 0 : (Row[X >> 3] & (0x80 >> (X & 7))) != 0) ? '#' : '.';
    Rows.push_back(Text);
  }
  return Rows;
}

std::unique_ptr<TBitmap> WhiteBitmap(Integer Width, Integer Height) {
  auto Bitmap = std::make_unique<TBitmap>();
  Bitmap->SetPixelFormat(pf24bit);
  Bitmap->SetSize(Width, Height);
  for (Integer Y = 0; Y < Height; ++Y)
    std::fill_n(static_cast<Byte*>(Bitmap->GetScanLine(Y)), Width * 3, 255);
  return Bitmap;
}

// Each pixel as the letter its colour has in Names, '?' for others.
TRows PixelRows(TBitmap& Bitmap, const std::map<TColor, char>& Names) {
  TRows Rows;
  for (Integer Y = 0; Y < Bitmap.GetHeight(); ++Y) {
    const Byte* Row = static_cast<const Byte*>(Bitmap.GetScanLine(Y));
    std::string Text;
    for (Integer X = 0; X < Bitmap.GetWidth(); ++X) {
      const TColor C = Row[X * 3 + 2] | (Row[X * 3 + 1] << 8) | (Row[X * 3] << 16);
      const auto It = Names.find(C);
      Text += It == Names.end() ? '?' : It->second;
    }
    Rows.push_back(Text);
  }
  return Rows;
}

TEST(MaskDraw, ScaleMaskRowsEnlargesTheBoxPartOfTheWindow) {
  struct TCase {
    const char* Name;
    Integer Bpp;
    Integer ZoomWidth, ZoomHeight, SrcX, SrcY, SrcWidth, SrcHeight;
    TRows Expected;
  };
  const TCase Cases[] = {
      {"twice the size", 1, 8, 4, 0, 0, 4, 2, {"##......", "##......", "..####..", "..####.."}},
      {"twice, 8 bits", 8, 8, 4, 0, 0, 4, 2, {"##......", "##......", "..####..", "..####.."}},
      {"window from column 1", 1, 6, 2, 1, 0, 3, 2, {"......", "####.."}},
      {"half the size", 1, 2, 1, 0, 0, 4, 2, {"#."}},
  };
  const auto Mask = MaskFromRows({"#...", ".##."}, 1);
  const auto Bytes = MaskFromRows({"#...", ".##."}, 8);
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    const TIEMask& M = C.Bpp == 1 ? *Mask : *Bytes;
    std::vector<Byte> Buffer(DibRowBytes(C.ZoomWidth, C.Bpp) * C.ZoomHeight, 0xAA);
    IEScaleMaskRows(C.Bpp, Buffer.data(), C.ZoomWidth, C.ZoomHeight, C.SrcX, C.SrcY, C.SrcWidth, C.SrcHeight,
                    M.GetBits(), M.GetWidth(), M.GetHeight(), M.GetX1(), M.GetY1(), M.GetX2(), M.GetY2());
    EXPECT_EQ(ZoomedRows(Buffer, C.ZoomWidth, C.ZoomHeight, C.Bpp), C.Expected);
  }
  // Only the box is scaled: a pixel outside it is left out.
  std::vector<Byte> Buffer(4 * 2, 0);
  IEScaleMaskRows(1, Buffer.data(), 4, 2, 0, 0, 4, 2, Mask->GetBits(), 4, 2, 1, 1, 2, 1);
  EXPECT_EQ(ZoomedRows(Buffer, 4, 2, 1), (TRows{"....", ".##."}));
}

TEST(MaskDraw, DrawOnCanvasInvertsTheSelectedPixels) {
  const auto Mask = MaskFromRows({"#...", ".#..", "..#.", "...#"}, 1);
  auto Bitmap = WhiteBitmap(4, 4);
  Mask->DrawOnCanvas(Bitmap->GetCanvas(), 0, 0, 4, 2, 0, 1, 4, 2);  // mask rows 1 and 2
  EXPECT_EQ(PixelRows(*Bitmap, {{0xFFFFFF, '.'}, {0x000000, '#'}}), (TRows{".#..", "..#.", "....", "...."}));
  Mask->DrawOnCanvas(Bitmap->GetCanvas(), 0, 0, 4, 2, 0, 1, 4, 2);
  EXPECT_EQ(PixelRows(*Bitmap, {{0xFFFFFF, '.'}, {0x000000, '#'}}), (TRows{"....", "....", "....", "...."}));
  auto Stretched = WhiteBitmap(4, 4);
  Mask->DrawOnCanvas(Stretched->GetCanvas(), 0, 0, 4, 4, 0, 0, 2, 2);
  EXPECT_EQ(PixelRows(*Stretched, {{0xFFFFFF, '.'}, {0x000000, '#'}}),
            (TRows{"##..", "##..", "..##", "..##"}));
}

TEST(MaskDraw, BorderOutlinesTheSelectionInAlternatingRuns) {
  const auto Mask = MaskFromRows({"......", ".####.", ".####.", ".####.", ".####.", "......"}, 1);
  auto Bitmap = WhiteBitmap(6, 6);
  TRect Inner{};
  Mask->DrawBorder(Bitmap->GetCanvas(), 0, 0, 6, 6, 0, 0, 6, 6, 0, clRed, clBlue, &Inner);
  // Colour 2 (blue) where (x + y + phase) and 7 < 4.
  EXPECT_EQ(PixelRows(*Bitmap, {{0xFFFFFF, '.'}, {clRed, 'r'}, {clBlue, 'b'}}),
            (TRows{"......", ".bbrr.", ".b..r.", ".r..r.", ".rrrb.", "......"}));
  EXPECT_EQ(Inner, (TRect{2, 2, 4, 4}));
  auto Shifted = WhiteBitmap(6, 6);
  Mask->DrawBorder(Shifted->GetCanvas(), 0, 0, 6, 6, 0, 0, 6, 6, 2, clRed, clBlue, nullptr);
  EXPECT_EQ(PixelRows(*Shifted, {{0xFFFFFF, '.'}, {clRed, 'r'}, {clBlue, 'b'}})[1], ".rrrr.");
}

TEST(MaskDraw, BorderNeighboursAcrossByteEdges) {
  const TRows Block = {"............", ".##########.", ".##########.",
                       ".##########.", ".##########.", "............"};
  for (Integer Bpp : {1, 8}) {
    SCOPED_TRACE(Bpp);
    const auto Mask = MaskFromRows(Block, Bpp);
    auto Bitmap = WhiteBitmap(12, 6);
    Mask->DrawBorder(Bitmap->GetCanvas(), 0, 0, 12, 6, 0, 0, 12, 6, 0, clBlack, clBlack, nullptr);
    EXPECT_EQ(PixelRows(*Bitmap, {{0xFFFFFF, '.'}, {clBlack, '#'}}),
              (TRows{"............", ".##########.", ".#........#.", ".#........#.", ".##########.",
                     "............"}));
  }
}

TEST(MaskDraw, BorderOfAFullWindowRunsAlongItsEdges) {
  const auto Mask = MaskFromRows({"####", "####", "####", "####"}, 8);
  auto Bitmap = WhiteBitmap(8, 8);
  Mask->DrawBorder(Bitmap->GetCanvas(), 0, 0, 8, 8, 0, 0, 4, 4, 0, clBlack, clBlack, nullptr);
  EXPECT_EQ(PixelRows(*Bitmap, {{0xFFFFFF, '.'}, {clBlack, '#'}}),
            (TRows{"########", "#......#", "#......#", "#......#", "#......#", "#......#", "#......#",
                   "########"}));
  EXPECT_EQ(Mask->GetZoomWidth(), 8);
  EXPECT_EQ(Mask->GetZoomHeight(), 8);
}

TEST(MaskDraw, OuterDimsTheUnselectedPart) {
  const auto Mask = MaskFromRows({"....", ".##.", ".##.", "...."}, 1);
  auto Bitmap = WhiteBitmap(4, 4);
  Mask->DrawOuter(Bitmap.get(), 0, 0, 4, 4, 0, 0, 4, 4, 255, clRed);
  EXPECT_EQ(PixelRows(*Bitmap, {{0xFFFFFF, '.'}, {clRed, 'r'}}), (TRows{"rrrr", "r..r", "r..r", "rrrr"}));

  auto Chequer = WhiteBitmap(4, 4);
  Mask->DrawOuter(Chequer.get(), 0, 0, 4, 4, 0, 0, 4, 4, -1, clRed);
  EXPECT_EQ(PixelRows(*Chequer, {{0xFFFFFF, '.'}, {0x616161, 'g'}}), (TRows{"g.g.", "...g", "g...", ".g.g"}));

  // Each channel w x colour + (1 - w) x channel, truncated: 50.2 and 99.6.
  auto Blended = WhiteBitmap(1, 1);
  static_cast<Byte*>(Blended->GetScanLine(0))[0] = 200;  // blue 200, green 255, red 255
  Mask->DrawOuter(Blended.get(), 0, 0, 4, 4, 0, 0, 4, 4, 128, 0x000064);
  const Byte* P = static_cast<const Byte*>(Blended->GetScanLine(0));
  EXPECT_EQ(P[0], 99);
  EXPECT_EQ(P[2], 50 + 127);  // red: 128/255 x 100 + 127/255 x 255
}

TEST(MaskDraw, OuterSkipsAWindowPartAboveAndLeftOfTheBitmap) {
  const auto Mask = MaskFromRows({"#...", "....", "...#", "...."}, 1);
  auto Bitmap = WhiteBitmap(6, 6);
  // Twice the size, shown from (-2, -2): source pixel (1, 1) is at the top left.
  Mask->DrawOuter(Bitmap.get(), -2, -2, 8, 8, 0, 0, 4, 4, 255, clRed);
  EXPECT_EQ(PixelRows(*Bitmap, {{0xFFFFFF, '.'}, {clRed, 'r'}}),
            (TRows{"rrrrrr", "rrrrrr", "rrrr..", "rrrr..", "rrrrrr", "rrrrrr"}));
}

}  // namespace

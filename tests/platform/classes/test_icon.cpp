// TIcon: icon files built here, image choice, drawing through the mask or alpha, saving.
#include "ClassesTestUtil.h"
#include "platform/classes/Icon.h"

namespace {

struct TIconImageSpec {
  Integer W, H, Bpp;
  std::vector<Byte> Bmp;  // header, colours, XOR rows, AND rows
};

// A BMP icon image. Pixel(x, y) gives the XOR value (index or BGRA word) of the top-down
// pixel, Transparent(x, y) its AND bit.
template <class FPixel, class FMask>
TIconImageSpec IconImage(Integer W, Integer H, Integer Bpp, const std::vector<RGBQUAD>& Colors, FPixel Pixel,
                         FMask Transparent) {
  TBytes B = InfoHeader(40, W, 2 * H, Bpp, BI_RGB);
  for (const RGBQUAD& Q : Colors) B.Add({Q.rgbBlue, Q.rgbGreen, Q.rgbRed, 0});
  const Integer XorRow = DibRowBytes(W, Bpp), AndRow = DibRowBytes(W, 1);
  for (Integer R = 0; R < H; ++R) {  // bottom-up
    std::vector<Byte> Row(static_cast<std::size_t>(XorRow));
    for (Integer X = 0; X < W; ++X) {
      const DWORD V = Pixel(X, H - 1 - R);
      if (Bpp == 8) Row[static_cast<std::size_t>(X)] = static_cast<Byte>(V);
      if (Bpp == 4) Row[static_cast<std::size_t>(X / 2)] |= static_cast<Byte>(X % 2 ? V : V << 4);
      if (Bpp == 32)
        for (Integer K = 0; K < 4; ++K)
          Row[static_cast<std::size_t>(4 * X + K)] = static_cast<Byte>(V >> (8 * K));
    }
    B.Add(Row);
  }
  for (Integer R = 0; R < H; ++R) {
    std::vector<Byte> Row(static_cast<std::size_t>(AndRow));
    for (Integer X = 0; X < W; ++X)
      if (Transparent(X, H - 1 - R))
        Row[static_cast<std::size_t>(X / 8)] |= static_cast<Byte>(0x80 >> (X % 8));
    B.Add(Row);
  }
  return {W, H, Bpp, B.D};
}

std::vector<Byte> IconFile(const std::vector<TIconImageSpec>& Images, Integer Type = 1) {
  TBytes F;
  F.U16(0).U16(Type).U16(static_cast<Integer>(Images.size()));
  Int64 Offset = 6 + 16 * static_cast<Int64>(Images.size());
  for (const TIconImageSpec& I : Images) {
    F.U8(I.W).U8(I.H).U8(0).U8(0).U16(1).U16(I.Bpp).U32(static_cast<Int64>(I.Bmp.size())).U32(Offset);
    Offset += static_cast<Int64>(I.Bmp.size());
  }
  for (const TIconImageSpec& I : Images) F.Add(I.Bmp);
  return F.D;
}

std::vector<RGBQUAD> Palette256() {
  std::vector<RGBQUAD> P(256, RGBQUAD{128, 128, 128, 0});
  P[0] = RGBQUAD{0, 0, 0, 0};
  P[1] = RGBQUAD{0, 0, 255, 0};  // red
  P[2] = RGBQUAD{255, 0, 0, 0};  // blue
  return P;
}

// 32x32, 8 bits: the top 8 rows transparent, then red on the left half and blue on the right.
TIconImageSpec Icon32() {
  auto Transparent = [](Integer, Integer Y) { return Y < 8; };
  return IconImage(
      32, 32, 8, Palette256(),
      [&](Integer X, Integer Y) -> DWORD { return Transparent(X, Y) ? 0
                                                  : X < 16          ? 1
                                                                    : 2; }, Transparent);
}

TIconImageSpec Icon16() {
  return IconImage(
      16, 16, 4, std::vector<RGBQUAD>(16, RGBQUAD{0, 255, 0, 0}), [](Integer, Integer) { return 0u; },
      [](Integer, Integer) { return false; });
}

}  // namespace

TEST(Icon, LoadsThe32PixelImageAndDrawsThroughItsMask) {
  const std::vector<Byte> File = IconFile({Icon16(), Icon32()});
  TIcon I;
  LoadBytes(I, File);
  EXPECT_EQ(I.GetWidth(), 32);
  EXPECT_EQ(I.GetHeight(), 32);
  EXPECT_TRUE(I.GetTransparent());
  TBitmap B;
  B.SetPixelFormat(pf24bit);
  B.SetSize(32, 32);
  B.GetCanvas()->Draw(0, 0, &I);
  EXPECT_EQ(PixelAt(B, 0, 0), 0xFFFFFFu);
  EXPECT_EQ(PixelAt(B, 31, 7), 0xFFFFFFu);
  EXPECT_EQ(PixelAt(B, 0, 8), 0x0000FFu);
  EXPECT_EQ(PixelAt(B, 31, 31), 0xFF0000u);
  // Saved as loaded.
  EXPECT_EQ(SaveBytes(I), File);
  // Stretched drawing and assignment to a bitmap (drawn over white).
  TBitmap Small;
  Small.SetSize(16, 16);
  Small.GetCanvas()->StretchDraw(Rect(0, 0, 16, 16), &I);
  EXPECT_EQ(PixelAt(Small, 2, 2), 0xFFFFFFu);
  EXPECT_EQ(PixelAt(Small, 2, 10), 0x0000FFu);
  TBitmap Copy;
  Copy.Assign(&I);
  EXPECT_EQ(Copy.GetWidth(), 32);
  EXPECT_EQ(PixelAt(Copy, 5, 5), 0xFFFFFFu);
  EXPECT_EQ(PixelAt(Copy, 20, 20), 0xFF0000u);
  ExpectError<EInvalidGraphicOperation>([&] { I.SetWidth(16); }, "Cannot change the size of an icon");
}

TEST(Icon, WithoutA32PixelImageTheFirstIsUsed) {
  TIcon I;
  LoadBytes(I, IconFile({Icon16()}));
  EXPECT_EQ(I.GetWidth(), 16);
}

TEST(Icon, AlphaImagesBlend) {
  // 2x1, 32 bits: opaque red, then half-transparent black; no mask bits.
  TIconImageSpec A = IconImage(
      2, 1, 32, {}, [](Integer X, Integer) -> DWORD { return X == 0 ? 0xFFFF0000u : 0x80000000u; },
      [](Integer, Integer) { return false; });
  TIcon I;
  LoadBytes(I, IconFile({A}));
  TBitmap B;
  B.SetPixelFormat(pf24bit);
  B.SetSize(2, 1);
  B.GetCanvas()->Draw(0, 0, &I);
  EXPECT_EQ(PixelAt(B, 0, 0), 0x0000FFu);
  EXPECT_NEAR(GetRValue(PixelAt(B, 1, 0)), 127, 1);
}

TEST(Icon, IconMadeFromAHandleSavesAsAFile) {
  TIcon Loaded;
  LoadBytes(Loaded, IconFile({Icon32()}));
  TIcon I;
  I.SetHandle(CopyIcon(Loaded.GetHandle()));
  TIcon Again;
  LoadBytes(Again, SaveBytes(I));
  EXPECT_EQ(Again.GetWidth(), 32);
  TBitmap B;
  B.SetSize(32, 32);
  B.GetCanvas()->Draw(0, 0, &Again);
  EXPECT_EQ(PixelAt(B, 3, 3), 0xFFFFFFu);
  EXPECT_EQ(PixelAt(B, 3, 30), 0x0000FFu);
}

TEST(Icon, PngAndMalformedFilesRaise) {
  TBytes Png;
  Png.Add({0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}).Zeros(40);
  const TIconImageSpec PngImage{32, 32, 32, Png.D};
  ExpectError<EInvalidGraphic>(
      [&] {
        TIcon I;
        LoadBytes(I, IconFile({PngImage}));
      },
      "Icons with PNG images are not supported");
  // A PNG image is passed over when there is a BMP one.
  TIcon Mixed;
  LoadBytes(Mixed, IconFile({PngImage, Icon16()}));
  EXPECT_EQ(Mixed.GetWidth(), 16);

  std::vector<Byte> Reserved = IconFile({Icon32()});
  Reserved[0] = 1;
  std::vector<Byte> NoImages = IconFile({Icon32()});
  NoImages[4] = 0;
  std::vector<Byte> OffsetPastEnd = IconFile({Icon32()});
  OffsetPastEnd[6 + 12 + 1] = 0x70;
  std::vector<Byte> Truncated = IconFile({Icon32()});
  Truncated.resize(Truncated.size() - 200);
  std::vector<Byte> BadDepth = IconFile({Icon32()});
  BadDepth[22 + 14] = 3;
  std::vector<Byte> Huge = IconFile({Icon32()});
  Huge[22 + 7] = 0x7F;  // width 0x7F000020
  for (const auto& Bad :
       {Reserved, NoImages, OffsetPastEnd, Truncated, BadDepth, Huge, std::vector<Byte>{0, 0}}) {
    TIcon I;
    EXPECT_THROW(LoadBytes(I, Bad), EInvalidGraphic);
    EXPECT_TRUE(I.Empty());
  }
}

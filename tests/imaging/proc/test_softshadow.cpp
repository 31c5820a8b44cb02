// The 3 x 3 grey filter and the soft shadow written into the alpha channel.
#include "PixelsTestSupport.h"
#include "imaging/proc/iesoftshadow.h"

using namespace PixelsTesting;

namespace {

const TIEFilterKernel None{{0, 0, 0, 0, 1, 0, 0, 0, 0}, 0};
const TIEFilterKernel Blur{{1, 1, 1, 1, 1, 1, 1, 1, 1}, 9};

std::unique_ptr<TIEBitmap> Impulse(Integer W, Integer H, Integer X, Integer Y, Byte Value) {
  return Picture(W, H, ie8g, [&](Byte* Row, Integer RowY) {
    std::fill_n(Row, W, 0);
    if (RowY == Y) Row[X] = Value;
  });
}

TEST(TApplyFilter8Test, NoneKeepsThePictureAndBlurSpreadsFromUnfilteredNeighbours) {
  auto Plain = Picture(5, 4, ie8g, [](Byte* Row, Integer Y) {
    for (Integer X = 0; X < 5; ++X) Row[X] = static_cast<Byte>(X * 40 + Y);
  });
  const std::vector<Byte> Before = RowBytes(Plain.get(), 5);
  IEApplyFilter8(Plain.get(), None, 0, 0, 5, 4);
  EXPECT_EQ(RowBytes(Plain.get(), 5), Before);

  auto B = Impulse(5, 5, 2, 2, 90);
  IEApplyFilter8(B.get(), Blur, 0, 0, 5, 5);
  EXPECT_EQ(RowBytes(B.get(), 5), (std::vector<Byte>{0,  0, 0, 0,  0,  0,  10, 10, 10, 0, 0, 10, 10,
                                                     10, 0, 0, 10, 10, 10, 0,  0,  0,  0, 0, 0}));
}

TEST(TApplyFilter8Test, EdgesRepeatRightAndBottomAreExclusiveAndSumsTakeTheirMagnitude) {
  // The corner pixel counts four times for itself: 4 x 90 / 9.
  auto Corner = Impulse(3, 3, 0, 0, 90);
  IEApplyFilter8(Corner.get(), Blur, 0, 0, 1, 1);
  EXPECT_EQ(RowBytes(Corner.get(), 3), (std::vector<Byte>{40, 0, 0, 0, 0, 0, 0, 0, 0}));

  const TIEFilterKernel Negative{{0, 0, 0, 0, -2, 0, 0, 0, 0}, 1};
  auto B = Picture(3, 1, ie8g, [](Byte* Row, Integer) { std::fill_n(Row, 3, 100); });
  IEApplyFilter8(B.get(), Negative, -5, -5, 2, 9);
  EXPECT_EQ(RowBytes(B.get(), 3), (std::vector<Byte>{200, 200, 100}));
}

TEST(TSoftShadowTest, MarginGrowsWithOffsetAndRadius) {
  const struct {
    Integer OffsetX, OffsetY;
    Double Radius;
    Integer Margin;
  } Cases[] = {{5, 5, 0, 20}, {0, 0, 3, 15}, {0, 0, 0, 10}, {-4, 1, 1.5, 15}, {0, 0, 0.1, 1}};
  for (const auto& C : Cases) {
    auto B = Picture24(8, 8, [](Integer, Integer) { return TBGR{}; });
    EXPECT_EQ(IEAddSoftShadow(B.get(), C.OffsetX, C.OffsetY, C.Radius, 100, 0, 2, 2, 4, 4), C.Margin)
        << C.OffsetX << "," << C.OffsetY << "," << C.Radius;
  }
}

// An opaque two-column object (columns 8, 9) across a 30 x 5 picture, the rest transparent.
// The bottom row lies outside the filter's exclusive bound and is not checked.
std::unique_ptr<TIEBitmap> ObjectPicture(TIEPixelFormat Format, Byte Fill = 0xFF) {
  auto B =
      Picture(30, 5, Format, [&](Byte* Row, Integer) { std::fill_n(Row, Format == ie1g ? 4 : 90, Fill); });
  TIEBitmap* Alpha = B->GetAlphaChannel();
  for (Integer Y = 0; Y < 5; ++Y) {
    Byte* Row = static_cast<Byte*>(Alpha->GetScanline(Y));
    std::fill_n(Row, 30, 0);
    Row[8] = Row[9] = 255;
  }
  return B;
}

TEST(TSoftShadowTest, TheBlurredAlphaMovesByTheOffsetAndIntensityDividesPureShadow) {
  // The 3 x 3 blur gives columns 7 .. 10 the alphas 85, 170, 170, 85; moved 3 to the right.
  const struct {
    Integer Intensity;
    Byte Alpha10, Alpha13;
  } Cases[] = {{100, 85, 85}, {50, 42, 42}, {0, 28, 28}, {150, 85, 85}};
  for (const auto& C : Cases) {
    auto B = ObjectPicture(ie24RGB);
    EXPECT_EQ(IEAddSoftShadow(B.get(), 3, 0, 0, C.Intensity, 0x102030, 8, 0, 9, 4), 16);
    TIEBitmap* Alpha = B->GetAlphaChannel();
    EXPECT_FALSE(Alpha->GetFull());
    for (Integer Y = 0; Y < 4; ++Y) {
      EXPECT_EQ(Pixel8(Alpha, 7, Y), 0) << C.Intensity;    // moved away: nothing is left
      EXPECT_EQ(Pixel8(Alpha, 8, Y), 255) << C.Intensity;  // the object keeps its alpha
      EXPECT_EQ(Pixel8(Alpha, 10, Y), C.Alpha10) << C.Intensity;
      EXPECT_EQ(Pixel8(Alpha, 11, Y), Byte(C.Intensity >= 100 ? 170 : C.Intensity == 50 ? 85 : 56));
      EXPECT_EQ(Pixel8(Alpha, 13, Y), C.Alpha13) << C.Intensity;
      EXPECT_EQ(Pixel8(Alpha, 14, Y), 0) << C.Intensity;
    }
    EXPECT_EQ(Pixel24(B.get(), 10, 2), (TBGR{0x30, 0x20, 0x10}));  // the shadow's colour
    EXPECT_EQ(Pixel24(B.get(), 9, 2), (TBGR{255, 255, 255}));      // the object's own
    EXPECT_EQ(Pixel24(B.get(), 14, 2), (TBGR{255, 255, 255}));     // no shadow there
  }
}

TEST(TSoftShadowTest, OneBitShadowIsBlack) {
  auto B = ObjectPicture(ie1g);
  IEAddSoftShadow(B.get(), 3, 0, 0, 100, 0xFFFFFF, 8, 0, 9, 4);
  EXPECT_FALSE(Bit(B.get(), 11, 1));
  EXPECT_TRUE(Bit(B.get(), 9, 1));
  EXPECT_TRUE(Bit(B.get(), 15, 1));
  EXPECT_EQ(Pixel8(B->GetAlphaChannel(), 11, 1), 170);
}

TEST(TSoftShadowTest, HalfTransparentObjectLiesOverItsShadow) {
  auto B = ObjectPicture(ie24RGB, 200);
  TIEBitmap* Alpha = B->GetAlphaChannel();
  for (Integer Y = 0; Y < 5; ++Y) static_cast<Byte*>(Alpha->GetScanline(Y))[9] = 100;  // R = 100 / 255
  // Without an offset column 9 blurs to (255 + 100 + 0) x 3 / 9 = 118: N = 118 / 255.
  IEAddSoftShadow(B.get(), 0, 0, 0, 100, 0x000000, 8, 0, 9, 4);
  // s = Trunc((1 - N) x 200) = 107; pixel = Trunc(R x 200 + (1 - R) x 107) = 143;
  // alpha = Trunc((R + N x (1 - R)) x 255) = 171.
  EXPECT_EQ(Pixel24(B.get(), 9, 2), (TBGR{143, 143, 143}));
  EXPECT_EQ(Pixel8(Alpha, 9, 2), 171);
  EXPECT_EQ(Pixel24(B.get(), 8, 2), (TBGR{200, 200, 200}));
}

TEST(TSoftShadowTest, FileBackedPicturesGetTheSameShadow) {
  auto Shadowed = [](Double Radius) {
    auto B = ObjectPicture(ie24RGB, 200);
    IEAddSoftShadow(B.get(), 2, 1, Radius, 60, 0x405060, 8, 1, 9, 3);
    std::vector<Byte> Out = RowBytes(B.get(), 90);
    const std::vector<Byte> Alpha = RowBytes(B->GetAlphaChannel(), 30);
    Out.insert(Out.end(), Alpha.begin(), Alpha.end());
    EXPECT_EQ(B->GetAlphaChannel()->GetLocation(), B->GetLocation());
    return std::make_pair(Out, B->GetLocation());
  };
  for (const Double Radius : {0.0, 1.5}) {
    const auto InMemory = Shadowed(Radius);
    TFileBitmaps Files;
    const auto OnFile = Shadowed(Radius);
    EXPECT_EQ(InMemory.second, ieMemory);
    EXPECT_EQ(OnFile.second, ieFile);
    EXPECT_EQ(OnFile.first, InMemory.first) << Radius;
  }
}

}  // namespace

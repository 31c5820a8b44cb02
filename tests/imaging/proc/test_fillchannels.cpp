// Filling rectangles with a colour per pixel format, and moving and matching colour channels.
#include <cstring>
#include <vector>

#include "PixelsTestSupport.h"
#include "imaging/proc/iefillchannels.h"

using namespace PixelsTesting;

namespace {

struct TProgressLog {
  std::vector<Integer> Percents;
  void Progress(TObject*, Integer Percent) { Percents.push_back(Percent); }
};

TEST(TFillColorTest, OneBitFollowsRedOnlyAndKeepsTheBitsAroundTheRectangle) {
  const struct {
    Integer Color;
    bool Set;
  } Cases[] = {{0x00FFFF, false}, {0x010000, true}};
  for (const auto& C : Cases) {
    // Columns 3 .. 20 span a partial first byte, a whole byte and a partial last byte.
    auto B = Picture(24, 2, ie1g, [&](Byte* Row, Integer) { std::fill_n(Row, 3, C.Set ? 0x00 : 0xFF); });
    IEFillColor(B.get(), 3, 1, 21, 5, nullptr, {}, C.Color);
    for (Integer X = 0; X < 24; ++X) {
      EXPECT_EQ(Bit(B.get(), X, 0), !C.Set) << X;
      EXPECT_EQ(Bit(B.get(), X, 1), (X >= 3 && X < 21) ? C.Set : !C.Set) << X;
    }
  }
}

TEST(TFillColorTest, GreyTakesTheLibraryWeightsAndColourKeepsRedInByteTwo) {
  auto Grey = Picture(4, 1, ie8g, [](Byte* Row, Integer) { std::fill_n(Row, 4, 7); });
  IEFillColor(Grey.get(), 1, 0, 99, 99, nullptr, {}, 0xFF0000);
  EXPECT_EQ(RowBytes(Grey.get(), 4), (std::vector<Byte>{7, 53, 53, 53}));

  auto Colour = Picture24(3, 2, [](Integer, Integer) { return TBGR{1, 2, 3}; });
  IEFillColor(Colour.get(), 0, 1, 2, 2, nullptr, {}, 0x102030);
  EXPECT_EQ(Pixel24(Colour.get(), 1, 1), (TBGR{0x30, 0x20, 0x10}));
  EXPECT_EQ(Pixel24(Colour.get(), 2, 1), (TBGR{1, 2, 3}));
  EXPECT_EQ(Pixel24(Colour.get(), 0, 0), (TBGR{1, 2, 3}));
}

TEST(TFillColorTest, OtherFormatsTakeTheColourAsAPlatformColourWithInclusiveBounds) {
  auto B = Picture(3, 1, ie32RGB, [](Byte* Row, Integer) { std::fill_n(Row, 12, 0); });
  IEFillColor(B.get(), 0, 0, 2, 1, nullptr, {}, 0x102030);
  const Byte* Row = static_cast<Byte*>(B->GetScanline(0));
  EXPECT_EQ(std::vector<Byte>(Row, Row + 3), (std::vector<Byte>{0x30, 0x20, 0x10}));  // blue, green, red
  EXPECT_EQ(std::vector<Byte>(Row + 8, Row + 11), (std::vector<Byte>{0, 0, 0}));
}

TEST(TFillColorTest, ReportsProgressAfterEveryRow) {
  auto B = Picture24(2, 5, [](Integer, Integer) { return TBGR{}; });
  TProgressLog Log;
  IEFillColor(B.get(), 0, 1, 2, 4, nullptr, TIEProgressEvent(&Log, &TProgressLog::Progress), 0);
  EXPECT_EQ(Log.Percents, (std::vector<Integer>{28, 57, 85}));  // Trunc(r * 100 / 3.5)
}

TEST(TRearrangeChannelsTest, OrdersSelectSourcesInAnyCase) {
  const struct {
    const char* Order;
    TBGR Expected;
  } Cases[] = {{"BGR", {10, 20, 30}}, {"rgb", {30, 20, 10}}, {"000", {0, 0, 0}},
               {"B00", {10, 0, 0}},   {"GxR", {20, 20, 30}}, {"R", {30, 20, 30}}};
  for (const auto& C : Cases) {
    auto B = Picture24(2, 2, [](Integer, Integer) { return TBGR{10, 20, 30}; });
    IERearrangeChannels(B.get(), C.Order, nullptr, {});
    EXPECT_EQ(Pixel24(B.get(), 1, 1), C.Expected) << C.Order;
  }
}

TEST(TRearrangeChannelsTest, WidePixelsKeepRedFirstAndProgressCountsRowsFromZero) {
  auto B = Picture(1, 4, ieRGB48, [](Byte* Row, Integer) {
    const Word Pixel[3] = {0x1111, 0x2222, 0x3333};  // red, green, blue
    std::memcpy(Row, Pixel, sizeof Pixel);
  });
  TProgressLog Log;
  IERearrangeChannels(B.get(), "RG0", nullptr, TIEProgressEvent(&Log, &TProgressLog::Progress));
  const Word* P = static_cast<Word*>(B->GetScanline(3));
  EXPECT_EQ(P[0], 0);       // red: zero
  EXPECT_EQ(P[1], 0x2222);  // green kept
  EXPECT_EQ(P[2], 0x1111);  // blue: the old red
  EXPECT_EQ(Log.Percents, (std::vector<Integer>{0, 25, 50, 75}));
}

TEST(TMatchChannelHistogramTest, EqualisesThenTakesTheNearestReferenceLevel) {
  // Reference: half the pixels at 10, half at 20, so its curve is 0, 127.5 and 255.
  std::array<Integer, 256> Reference{};
  Reference[10] = 1;
  Reference[20] = 1;
  auto Narrow = Picture24(2, 1, [](Integer X, Integer) { return TBGR{Byte(X ? 255 : 0), 7, 7}; });
  IEMatchChannelHistogram(Narrow.get(), 0, Reference, 2);
  // Equalised 127 and 255; 127 lies nearest 127.5 (level 10), 255 on level 20.
  EXPECT_EQ(Pixel24(Narrow.get(), 0, 0), (TBGR{10, 7, 7}));
  EXPECT_EQ(Pixel24(Narrow.get(), 1, 0), (TBGR{20, 7, 7}));

  auto Wide = Picture(2, 1, ieRGB48, [](Byte* Row, Integer) {
    const Word Pixels[6] = {5, 5, 0, 5, 5, 65535};  // blue is the third word
    std::memcpy(Row, Pixels, sizeof Pixels);
  });
  IEMatchChannelHistogram(Wide.get(), 0, Reference, 2);
  const Word* P = static_cast<Word*>(Wide->GetScanline(0));
  EXPECT_EQ(P[2], 10 * 257);
  EXPECT_EQ(P[5], 20 * 257);
  EXPECT_EQ(P[0], 5);
}

TEST(TAutoStretchChannelsTest, ATargetEqualToItsReferenceStaysClose) {
  auto Colour = [](Integer X, Integer Y) { return TBGR{Byte(X * 16), Byte(Y * 16), Byte((X + Y) * 8)}; };
  auto Reference = Picture24(16, 16, Colour);
  auto Target = Picture24(16, 16, Colour);
  IEAutoStretchChannels(Reference.get(), Target.get());
  for (Integer Y = 0; Y < 16; ++Y)
    for (Integer X = 0; X < 16; ++X)
      for (Integer C = 0; C < 3; ++C)
        EXPECT_NEAR(Pixel24(Target.get(), X, Y)[C], Colour(X, Y)[C], 16) << X << "," << Y << "," << C;
  // A grey reference is refused.
  auto Grey = Picture(2, 2, ie8g, [](Byte* Row, Integer) { std::fill_n(Row, 2, 0); });
  const std::vector<Byte> Before = RowBytes(Target.get(), 48);
  IEAutoStretchChannels(Grey.get(), Target.get());
  EXPECT_EQ(RowBytes(Target.get(), 48), Before);
}

}  // namespace

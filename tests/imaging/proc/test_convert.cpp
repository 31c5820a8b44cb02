// Grey, two-colour and palette conversions of the component, and packed row conversions.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "GeometryTestSupport.h"
#include "SelectingProcSupport.h"
#include "imaging/core/iebwconvert.h"
#include "imaging/core/iemask.h"
#include "imaging/proc/ieprocconvert.h"
#include "imaging/proc/zezudidproc.h"

using namespace GeometryTesting;

namespace {

struct TPercents : TObject {
  std::vector<Integer> Seen;
  void Report(TObject*, Integer Percent) { Seen.push_back(Percent); }
  TIEProgressEvent Event() { return TIEProgressEvent(this, &TPercents::Report); }
};

std::unique_ptr<TIEBitmap> Filled(Integer W, Integer H, TIERGBTriple Color) {
  auto B = std::make_unique<TIEBitmap>(W, H, ie24RGB);
  for (Integer Y = 0; Y < H; ++Y)
    for (Integer X = 0; X < W; ++X) B->SetPixel24(X, Y, Color);
  return B;
}

bool BitAt(TIEBitmap& B, Integer X, Integer Y) {
  return (static_cast<const Byte*>(B.GetScanline(Y))[X >> 3] & (0x80 >> (X & 7))) != 0;
}

}  // namespace

TEST(Convert, OrderedDitherOfWhiteAndOfMiddleGrey) {
  auto White = Filled(8, 8, {255, 255, 255});
  TZezudIdProc::CreateFromBitmap(White.get())->ConvertTo(2, ieOrdered);
  ASSERT_EQ(White->GetPixelFormat(), ie1g);
  for (Integer Y = 0; Y < 8; ++Y)
    for (Integer X = 0; X < 8; ++X) EXPECT_TRUE(BitAt(*White, X, Y));

  // Grey 128 is level 32: set exactly where the matrix entry (row x, column y) is below 32.
  auto Grey = Filled(8, 8, {128, 128, 128});
  TZezudIdProc::CreateFromBitmap(Grey.get())->ConvertTo(2, ieOrdered);
  for (Integer Y = 0; Y < 8; ++Y)
    for (Integer X = 0; X < 8; ++X)
      EXPECT_EQ(BitAt(*Grey, X, Y), IEBayer8x8[X * 8 + Y] < 32) << X << "," << Y;
}

TEST(Convert, ThresholdAtTheMeanKeepsHalfBlackHalfWhite) {
  auto B = Filled(4, 1, {0, 0, 0});
  B->SetPixel24(2, 0, {255, 255, 255});
  B->SetPixel24(3, 0, {255, 255, 255});
  TZezudIdProc::CreateFromBitmap(B.get())->ConvertTo(2, ieThreshold);
  EXPECT_EQ(Rows(*B), (TRows{"0011"}));
}

TEST(Convert, TooManyColoursChangeNothingButFinish) {
  auto B = Gray({"abc"}, ie24RGB);
  auto Proc = TZezudIdProc::CreateFromBitmap(B.get());
  Proc->SetAutoUndo(true);
  TPercents P;
  Proc->SetOnProgress(P.Event());
  Proc->ConvertTo(2000);
  EXPECT_EQ(Rows(*B), (TRows{"abc"}));
  EXPECT_EQ(P.Seen, (std::vector<Integer>{100}));
}

TEST(Convert, PaletteConversions) {
  auto B = Filled(4, 2, {10, 20, 30});
  std::array<TIERGBTriple, 2> Two{TIERGBTriple{1, 2, 3}, TIERGBTriple{4, 5, 6}};
  TZezudIdProc::CreateFromBitmap(B.get())->ConvertToPalette(2, Two.data());
  EXPECT_EQ(Two[0], (TIERGBTriple{0, 0, 0}));
  EXPECT_EQ(Two[1], (TIERGBTriple{255, 255, 255}));
  EXPECT_EQ(B->GetPixelFormat(), ie1g);

  // Three colours in a picture of three: kept, and the palette holds them.
  auto C = Filled(3, 1, {0, 0, 255});
  C->SetPixel24(1, 0, {0, 255, 0});
  C->SetPixel24(2, 0, {255, 0, 0});
  std::array<TIERGBTriple, 3> Three{};
  TZezudIdProc::CreateFromBitmap(C.get())->ConvertToPalette(3, Three.data());
  EXPECT_EQ(C->GetPixelFormat(), ie24RGB);
  EXPECT_EQ(C->GetPixel24(1, 0), (TIERGBTriple{0, 255, 0}));
  EXPECT_NE(std::find(Three.begin(), Three.end(), TIERGBTriple{255, 0, 0}), Three.end());

  std::array<TIERGBTriple, 2> Untouched{TIERGBTriple{1, 2, 3}, TIERGBTriple{4, 5, 6}};
  TZezudIdProc::CreateFromBitmap(C.get())->ConvertToPalette(0, Untouched.data());
  EXPECT_EQ(Untouched[0], (TIERGBTriple{1, 2, 3}));
}

TEST(Convert, GreyOfTheSelectionOnlyAndRowProgress) {
  auto B = Filled(3, 1, {0, 0, 100});  // red 100: grey 21
  TSelectingProc Proc(3, 1, {{1, 0}}, {1, 0, 3, 1});
  Proc.UseBitmap(B.get());
  Proc.ConvertToGray();
  EXPECT_EQ(B->GetPixel24(0, 0), (TIERGBTriple{0, 0, 100}));
  EXPECT_EQ(B->GetPixel24(1, 0), (TIERGBTriple{21, 21, 21}));
  EXPECT_EQ(B->GetPixel24(2, 0), (TIERGBTriple{0, 0, 100}));

  TPercents P;
  IEConvertToGray24(B.get(), 0, 0, 10, 10, nullptr, P.Event());
  EXPECT_EQ(P.Seen, (std::vector<Integer>{66}));
  EXPECT_EQ(B->GetPixel24(2, 0), (TIERGBTriple{21, 21, 21}));
}

TEST(Convert, RowBitDepths) {
  std::array<TIERGBTriple, 256> Palette{};
  for (Integer I = 0; I < 256; ++I) Palette[I] = {static_cast<Byte>(I), 0, static_cast<Byte>(255 - I)};
  const Byte OneBit[] = {0xA0};
  const Byte Nibbles[] = {0x3C, 0x50};
  const Byte Indices[] = {1, 0, 1};
  const Byte Four[] = {1, 2, 3, 9, 4, 5, 6, 9};
  const struct {
    const Byte* Source;
    Word From, To;
    Integer Width;
    std::vector<Byte> Expected;
  } Cases[] = {
      {OneBit, 1, 8, 3, {1, 0, 1}},
      {OneBit, 1, 4, 3, {0x10, 0x10}},
      {OneBit, 1, 1, 3, {0xA0}},
      {OneBit, 1, 24, 2, {1, 0, 254, 0, 0, 255}},
      {Nibbles, 4, 8, 3, {3, 12, 5}},
      {Nibbles, 4, 24, 1, {3, 0, 252}},
      {Indices, 8, 1, 3, {0xA0}},
      {Indices, 8, 24, 1, {1, 0, 254}},
      {Four, 32, 24, 2, {1, 2, 3, 4, 5, 6}},
      {Indices, 8, 16, 3, {}},
  };
  for (const auto& C : Cases) {
    std::vector<Byte> Dest(8, 0xEE);
    const Integer Bytes =
        IEConvertRowBitDepth(C.Source, Dest.data(), C.From, C.To, C.Width, Palette, nullptr);
    EXPECT_EQ(Bytes, static_cast<Integer>(C.Expected.size())) << C.From << "->" << C.To;
    EXPECT_EQ(std::vector<Byte>(Dest.begin(), Dest.begin() + Bytes), C.Expected) << C.From << "->" << C.To;
  }
  // Pairs without a conversion write nothing but still count the bytes.
  std::vector<Byte> Dest(8, 0xEE);
  EXPECT_EQ(IEConvertRowBitDepth(Indices, Dest.data(), 8, 4, 3, Palette, nullptr), 2);
  EXPECT_EQ(Dest[0], 0);
}

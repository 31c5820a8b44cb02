// The GIF LZW codec: exact bytes of the smallest stream, round trips that cross every code
// width and the table's clear, damaged streams, and a table that fills without a clear code.
#include <gtest/gtest.h>

#include <numeric>
#include <random>
#include <vector>

#include "imaging/formats/giffilter.h"
#include "imaging/formats/giflzw.h"
#include "platform/system/Streams.h"
#include "tests/imaging/formats/FormatsTestSupport.h"

namespace {

std::vector<Byte> Compress(Integer Bits, const std::vector<Byte>& Indices) {
  TMemoryStream Stream;
  GifLzwCompress(&Stream, Bits, Indices.data(), static_cast<Integer>(Indices.size()));
  return StreamBytes(Stream);
}

// The sub-blocks of a written image data block joined, after its code-size byte.
std::vector<Byte> JoinSubBlocks(const std::vector<Byte>& Written) {
  std::vector<Byte> Data;
  size_t P = 1;
  while (P < Written.size() && Written[P] != 0) {
    const size_t Size = Written[P];
    Data.insert(Data.end(), Written.begin() + P + 1, Written.begin() + P + 1 + Size);
    P += Size + 1;
  }
  EXPECT_EQ(P, Written.size() - 1) << "the terminator ends the block";
  return Data;
}

// Codes of growing width, least significant bit first, as a decoder without clears expects.
class TCodeWriter {
 public:
  explicit TCodeWriter(Integer MinCodeSize) : FWidth(MinCodeSize + 1), FNext((1 << MinCodeSize) + 2) {}
  // Adds: the code makes the decoder enter a table entry.
  void Put(Integer Code, bool Adds) {
    Accum |= static_cast<uint64_t>(Code) << Bits;
    Bits += FWidth;
    while (Bits >= 8) {
      Data.push_back(static_cast<Byte>(Accum));
      Accum >>= 8;
      Bits -= 8;
    }
    if (Adds && FNext < 4096 && ++FNext == (1 << FWidth) && FWidth < 12) ++FWidth;
  }
  std::vector<Byte> Finish() {
    if (Bits > 0) Data.push_back(static_cast<Byte>(Accum));
    return Data;
  }
  std::vector<Byte> Data;

 private:
  Integer FWidth;
  Integer FNext;
  uint64_t Accum = 0;
  Integer Bits = 0;
};

TEST(GifLzw, OnePixelIsClearPixelEndInOneSubBlockWithCodeSizeTwo) {
  EXPECT_EQ(Compress(1, {0}), (std::vector<Byte>{2, 2, 0x44, 0x01, 0}));
}

TEST(GifLzw, RoundTripsAcrossWidthsAndClears) {
  std::mt19937 Random(7);
  struct TCase {
    Integer Bits;
    Integer Count;
    bool Noise;  // random indices (the table fills and clears), else long runs
  };
  for (const TCase& Case :
       {TCase{1, 1, true}, TCase{1, 5000, true}, TCase{2, 333, true}, TCase{4, 20000, false},
        TCase{8, 70000, true}, TCase{8, 300000, false}, TCase{8, 0, true}}) {
    std::vector<Byte> Indices(static_cast<size_t>(Case.Count));
    for (Integer I = 0; I < Case.Count; ++I)
      Indices[I] = static_cast<Byte>(Case.Noise ? Random() % (1u << Case.Bits) : (I / 97) % (1 << Case.Bits));
    const std::vector<Byte> Written = Compress(Case.Bits, Indices);
    ASSERT_EQ(Written[0], std::max(Case.Bits, 2));
    const std::vector<Byte> Data = JoinSubBlocks(Written);
    for (size_t P = 1; P + 1 < Written.size(); P += Written[P] + 1) EXPECT_LE(Written[P], 254);
    std::vector<Byte> Decoded(Indices.size() + 1, 0xEE);
    EXPECT_TRUE(GifLzwDecompress(Data.data(), static_cast<Integer>(Data.size()), Written[0], Decoded.data(),
                                 static_cast<Integer>(Decoded.size())));
    EXPECT_TRUE(std::equal(Indices.begin(), Indices.end(), Decoded.begin()))
        << Case.Bits << " " << Case.Count;
    EXPECT_EQ(Decoded.back(), 0xEE) << "nothing decoded past the end code";
  }
}

TEST(GifLzw, RefusedCodeSizesAndEmptyDataWriteNothing) {
  const std::vector<Byte> Data = JoinSubBlocks(Compress(2, {1, 2, 3}));
  std::vector<Byte> Dest(3, 0xEE);
  EXPECT_FALSE(GifLzwDecompress(Data.data(), 3, 1, Dest.data(), 3));
  EXPECT_FALSE(GifLzwDecompress(Data.data(), 3, 10, Dest.data(), 3));
  EXPECT_TRUE(GifLzwDecompress(Data.data(), 0, 2, Dest.data(), 3));
  EXPECT_EQ(Dest, (std::vector<Byte>{0xEE, 0xEE, 0xEE}));
}

TEST(GifLzw, DataEndingEarlyKeepsTheRestAndIndicesPastTheEndAreDropped) {
  std::vector<Byte> Indices(600);
  std::iota(Indices.begin(), Indices.end(), 0);
  const std::vector<Byte> Data = JoinSubBlocks(Compress(8, Indices));
  std::vector<Byte> Dest(600, 0xEE);
  // Half the data: a prefix of the pixels, the rest untouched.
  ASSERT_TRUE(GifLzwDecompress(Data.data(), static_cast<Integer>(Data.size() / 2), 8, Dest.data(), 600));
  const auto Decoded = std::find(Dest.begin(), Dest.end(), Byte{0xEE}) - Dest.begin();
  EXPECT_GT(Decoded, 100);
  EXPECT_LT(Decoded, 600);
  EXPECT_TRUE(std::equal(Dest.begin(), Dest.begin() + Decoded, Indices.begin()));
  // A smaller buffer takes the first pixels only.
  std::vector<Byte> Small(10);
  ASSERT_TRUE(GifLzwDecompress(Data.data(), static_cast<Integer>(Data.size()), 8, Small.data(), 10));
  EXPECT_TRUE(std::equal(Small.begin(), Small.end(), Indices.begin()));
}

TEST(GifLzw, CodeBeyondTheTableIsDamage) {
  TCodeWriter Codes(2);
  Codes.Put(4, false);  // clear
  Codes.Put(1, false);
  Codes.Put(7, false);  // the next free code is 6
  const std::vector<Byte> Data = Codes.Finish();
  std::vector<Byte> Dest(4);
  EXPECT_FALSE(GifLzwDecompress(Data.data(), static_cast<Integer>(Data.size()), 2, Dest.data(), 4));
}

TEST(GifLzw, FullTableWithoutClearDecodesOnAtTwelveBits) {
  TCodeWriter Codes(2);
  Codes.Put(4, false);
  Codes.Put(0, false);
  // Each further 0 enters the string "0 0": 4090 of them fill the table up to code 4095.
  for (Integer I = 0; I < 4090; ++I) Codes.Put(0, true);
  Codes.Put(1, false);
  Codes.Put(4095, false);
  Codes.Put(2, false);
  Codes.Put(5, false);
  const std::vector<Byte> Data = Codes.Finish();
  // 4091 zeros, then 1, "0 0" and 2.
  std::vector<Byte> Expected(4095, 0);
  Expected[4091] = 1;
  Expected[4094] = 2;
  std::vector<Byte> Dest(Expected.size(), 0xEE);
  ASSERT_TRUE(GifLzwDecompress(Data.data(), static_cast<Integer>(Data.size()), 2, Dest.data(),
                               static_cast<Integer>(Dest.size())));
  EXPECT_EQ(Dest, Expected);
}

TEST(GifLzw, InterlacedRowOrderVisitsEveryRowOnce) {
  EXPECT_EQ(GifInterlacedRow(0, 9), 0);
  const std::vector<Integer> Nine = {0, 8, 4, 2, 6, 1, 3, 5, 7};
  for (Integer I = 0; I < 9; ++I) EXPECT_EQ(GifInterlacedRow(I, 9), Nine[I]);
  for (Integer Height = 1; Height <= 17; ++Height) {
    std::vector<Integer> Seen(static_cast<size_t>(Height), 0);
    for (Integer I = 0; I < Height; ++I) {
      const Integer Row = GifInterlacedRow(I, Height);
      ASSERT_GE(Row, 0);
      ASSERT_LT(Row, Height);
      ++Seen[Row];
    }
    EXPECT_EQ(std::count(Seen.begin(), Seen.end(), 1), Height) << Height;
  }
  // Heights 2, 3, 4 skip the passes that start below the last row.
  EXPECT_EQ(GifInterlacedRow(1, 2), 1);
  EXPECT_EQ(GifInterlacedRow(1, 3), 2);
  EXPECT_EQ(GifInterlacedRow(2, 3), 1);
  EXPECT_EQ(GifInterlacedRow(1, 4), 2);
  EXPECT_EQ(GifInterlacedRow(2, 4), 1);
  EXPECT_EQ(GifInterlacedRow(3, 4), 3);
}

}  // namespace

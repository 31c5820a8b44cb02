// Entropy-coded camera raw loaders: each decodes what a test-side encoder wrote, with margins,
// black levels measured from masked columns, and data that ends or is corrupt.
#include <gtest/gtest.h>

#include <cstring>

#include "CameraRawEntropyTestSupport.h"
#include "platform/system/Exceptions.h"

namespace {

std::vector<Byte> Concat(std::vector<Byte> A, const std::vector<Byte>& B) {
  A.insert(A.end(), B.begin(), B.end());
  return A;
}

}  // namespace

TEST(CameraRawDecoder, TreesDecodeCanonicalCodesAndOverflowRaises) {
  const std::vector<Byte> Source = RawJpegDifferenceSource();
  const auto Codes = RawCanonicalCodes(Source.data());
  TRawEntropyWriter Writer(false);
  const Integer Symbols[] = {0, 16, 5, 1, 9};
  for (Integer Symbol : Symbols) Writer.Symbol(Codes, Symbol);
  TRawDataContext T(Writer.Finish(), 1, 1);
  RawInitDecoder(*T.C);
  const TRawDecodeNode* Root = RawMakeDecoder(*T.C, Source.data(), static_cast<Integer>(Source.size()));
  RawGetBits(*T.C, -1);
  for (Integer Symbol : Symbols) EXPECT_EQ(RawDecodeSymbol(*T.C, Root), Symbol);

  // Counts that claim thousands of codes cannot take more than the pool.
  std::vector<Byte> Greedy = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 255, 255, 255, 255, 255, 255};
  RawInitDecoder(*T.C);
  try {
    RawMakeDecoder(*T.C, Greedy.data(), static_cast<Integer>(Greedy.size()));
    FAIL() << "no overflow";
  } catch (const Exception& E) {
    EXPECT_STREQ(E.what(), ": decoder table overflow");
  }
}

TEST(CameraRawDecoder, DifferencesWithAClearTopBitAreNegative) {
  // 3 bits 011 -> -4, 3 bits 100 -> 4, 1 bit 0 -> -1, 12 bits 0x800 -> 2048.
  TRawBitWriter W;
  W.Put(3, 3);
  W.Put(4, 3);
  W.Put(0, 1);
  W.Put(0x800, 12);
  W.Flush();
  W.Bytes.resize(W.Bytes.size() + 8);
  TRawDataContext T(W.Bytes, 1, 1);
  RawGetBits(*T.C, -1);
  EXPECT_EQ(RawGetDifference(*T.C, 3), -4);
  EXPECT_EQ(RawGetDifference(*T.C, 3), 4);
  EXPECT_EQ(RawGetDifference(*T.C, 1), -1);
  EXPECT_EQ(RawGetDifference(*T.C, 0), 0);
  EXPECT_EQ(RawGetDifference(*T.C, 12), 2048);
}

TEST(CameraRawLosslessJpeg, DecodesInsideTheMarginsAndMeasuresBlack) {
  const TRawSamples S = RawTestSamples(6, 10, 12);
  TRawDataContext T(RawEncodeLosslessJpeg(S), 5, 8);
  std::strcpy(T.C->Make, "Canon");
  T.C->RawWidth = 10;
  T.C->TopMargin = 1;
  T.C->LeftMargin = 1;
  RawLoadLosslessJpeg(*T.C);
  Int64 Masked = 0;
  for (Integer R = 1; R < 6; ++R) {
    Masked += S[R][0] + S[R][9];
    for (Integer C = 1; C < 9; ++C) ASSERT_EQ(T.At(R - 1, C - 1), S[R][C] * 4) << R << "," << C;
  }
  EXPECT_EQ(T.C->Black, 4 * Masked / (2 * 5));
  EXPECT_FALSE(T.C->InputEnded);
}

TEST(CameraRawLosslessJpeg, KodakBlackIsTheSmallestCurveValueAndTheCurveApplies) {
  const TRawSamples S = RawTestSamples(2, 4, 4);
  // Kodak keeps its curve at tag 2317 of IFD 0 (at byte 12): here 16 entries of value x 3.
  TRawFileBuilder File(true);
  File.At(12);
  File.Put2(1);
  RawPutEntry(File, 2317, 3, 16, 100);
  File.At(100);
  for (Integer I = 0; I < 16; ++I) File.Put2(I * 3);
  const Integer DataOffset = static_cast<Integer>(File.Bytes.size());
  TRawDataContext T(Concat(File.Bytes, RawEncodeLosslessJpeg(S)), 2, 4);
  std::strcpy(T.C->Make, "KODAK");
  T.C->ByteOrder = 0x4D4D;
  T.C->CurveOffset = 1;
  T.C->DataOffset = DataOffset;
  RawSeek(*T.C, DataOffset);
  RawLoadLosslessJpeg(*T.C);
  Integer Min = 1 << 30;
  for (Integer R = 0; R < 2; ++R)
    for (Integer C = 0; C < 4; ++C) {
      EXPECT_EQ(T.At(R, C), S[R][C] * 3 * 4);
      Min = std::min(Min, S[R][C] * 3);
    }
  EXPECT_EQ(T.C->Black, 4 * Min);
  EXPECT_EQ(T.C->Maximum, 15 * 3 * 4);
}

TEST(CameraRawLosslessJpeg, ThreeSlicesOfTheWidestCanonAreReassembled) {
  // The 5108-wide sensor is coded as slices of 1680, 1680 and 1748 columns, each top to bottom.
  const TRawSamples Sensor = RawTestSamples(2, 5108, 12);
  std::vector<Integer> Sequence;
  for (auto [From, Width] : {std::pair{0, 1680}, std::pair{1680, 1680}, std::pair{3360, 1748}})
    for (const auto& Row : Sensor)
      Sequence.insert(Sequence.end(), Row.begin() + From, Row.begin() + From + Width);
  const TRawSamples Coded = {std::vector<Integer>(Sequence.begin(), Sequence.begin() + 5108),
                             std::vector<Integer>(Sequence.begin() + 5108, Sequence.end())};
  TRawDataContext T(RawEncodeLosslessJpeg(Coded), 2, 5108);
  std::strcpy(T.C->Make, "Canon");
  RawLoadLosslessJpeg(*T.C);
  for (Integer R = 0; R < 2; ++R)
    for (Integer C : {0, 1679, 1680, 3359, 3360, 4000, 5107})
      EXPECT_EQ(T.At(R, C), Sensor[R][C] * 4) << R << "," << C;
}

TEST(CameraRawLosslessJpeg, StreamsThatAreNoLosslessJpegLeaveThePictureEmpty) {
  const TRawSamples S = RawTestSamples(2, 4, 12);
  std::vector<Byte> NoStart = RawEncodeLosslessJpeg(S);
  NoStart[1] = 0xD9;
  std::vector<Byte> LongSegment = RawEncodeLosslessJpeg(S);
  LongSegment[4] = 1;  // the frame header claims 256 bytes or more
  // Tables without a single code would decode every sample without taking a bit.
  std::vector<Byte> NoCodes = {0xFF, 0xD8, 0xFF, 0xC3, 0, 8, 12, 0, 2, 0, 2, 2, 0xFF, 0xC4, 0, 36, 0};
  NoCodes.resize(NoCodes.size() + 16);
  NoCodes.push_back(1);
  NoCodes.resize(NoCodes.size() + 16);
  NoCodes.insert(NoCodes.end(), {0xFF, 0xDA, 0, 2, 0, 0, 0, 0});
  for (const auto& Bytes : {NoStart, LongSegment, NoCodes}) {
    TRawDataContext T(Bytes, 2, 4);
    RawLoadLosslessJpeg(*T.C);
    EXPECT_EQ(T.At(0, 0), 0);
    EXPECT_EQ(T.At(1, 3), 0);
  }
}

TEST(CameraRawLosslessJpeg, DataThatEndsEarlyStopsWithTheEndFlag) {
  const TRawSamples S = RawTestSamples(64, 64, 12);
  std::vector<Byte> Bytes = RawEncodeLosslessJpeg(S);
  Bytes.resize(Bytes.size() / 3);
  TRawDataContext T(Bytes, 64, 64);
  RawLoadLosslessJpeg(*T.C);
  EXPECT_TRUE(T.C->InputEnded);
  EXPECT_EQ(T.At(0, 5), S[0][5] * 4);
}

namespace {

std::vector<Byte> CanonFile(const std::vector<Byte>& LowBits, const std::vector<Byte>& Blocks) {
  std::vector<Byte> File = Concat(std::vector<Byte>(26), LowBits);
  File.resize(540 + LowBits.size());
  return Concat(File, Blocks);
}

}  // namespace

TEST(CameraRawCanonCompressed, BlocksDecodeWithShiftFourAndMaskedColumnsGiveBlack) {
  const TRawSamples S = RawTestSamples(16, 64, 10);
  TRawDataContext T(CanonFile({}, RawEncodeCanonBlocks(S, 1)), 12, 56);
  T.C->RawHeight = 16;
  T.C->RawWidth = 64;
  T.C->TopMargin = 2;
  T.C->LeftMargin = 4;
  RawInitCanonTables(*T.C, 1);
  ASSERT_FALSE(RawCanonHasLowBits(*T.C));
  RawLoadCanonCompressed(*T.C);
  Int64 Masked = 0;
  for (Integer R = 2; R < 14; ++R)
    for (Integer C = 0; C < 64; ++C) {
      if (C < 4 || C >= 60)
        Masked += S[R][C];
      else
        ASSERT_EQ(T.At(R - 2, C - 4), S[R][C] << 4) << R << "," << C;
    }
  EXPECT_EQ(T.C->Black, (Masked << 4) / (8 * 12));
}

TEST(CameraRawCanonCompressed, LowBitsStoredApartRefineEachSample) {
  TRawSamples S = RawTestSamples(40, 64, 12);
  // Samples 2056 to 2063 (row 32, columns 8 to 15) give the low-bit bytes at file offset 540
  // and 541 the value 0xFF, which marks a file with low bits.
  for (Integer C = 8; C < 16; ++C) S[32][C] |= 3;
  TRawSamples High = S;
  std::vector<Byte> LowBits(40 * 64 / 4);
  for (Integer R = 0; R < 40; ++R)
    for (Integer C = 0; C < 64; ++C) {
      High[R][C] = S[R][C] >> 2;
      const Integer Index = R * 64 + C;
      LowBits[Index / 4] |= static_cast<Byte>((S[R][C] & 3) << (2 * (Index % 4)));
    }
  TRawDataContext T(CanonFile(LowBits, RawEncodeCanonBlocks(High, 0)), 40, 64);
  T.C->RawHeight = 40;
  T.C->RawWidth = 64;
  ASSERT_TRUE(RawCanonHasLowBits(*T.C));
  RawLoadCanonCompressed(*T.C);  // tables never set: the first set is used
  for (Integer R = 0; R < 40; ++R)
    for (Integer C = 0; C < 64; ++C) ASSERT_EQ(T.At(R, C), S[R][C] << 2) << R << "," << C;
}

TEST(CameraRawNikonCompressed, CurveAndLeftMarginApply) {
  const TRawSamples S = RawTestSamples(4, 10, 12);
  const Integer Start[2][2] = {{2048, 2048}, {1000, 3000}};
  TRawFileBuilder File(true);
  File.Put2(Start[0][0]);
  File.Put2(Start[0][1]);
  File.Put2(Start[1][0]);
  File.Put2(Start[1][1]);
  File.Put2(4096);
  for (Integer I = 0; I < 4096; ++I) File.Put2((I * 3) & 0x3FFF);
  const Integer DataOffset = static_cast<Integer>(File.Bytes.size());
  TRawDataContext T(Concat(File.Bytes, RawEncodeNikonRows(S, Start)), 4, 8);
  T.C->ByteOrder = 0x4D4D;
  T.C->RawWidth = 10;
  T.C->LeftMargin = 2;
  T.C->DataOffset = DataOffset;
  RawLoadNikonCompressed(*T.C);
  for (Integer R = 0; R < 4; ++R)
    for (Integer C = 0; C < 8; ++C)
      ASSERT_EQ(T.At(R, C), static_cast<Word>(((S[R][C + 2] * 3) & 0x3FFF) * 4));
}

namespace {

// Kodak 65000 bits: low bits first; after the optional 16-bit start, 32-bit chunks whose bytes
// come in the order of significance 1, 0, 3, 2.
class TKodakBits {
 public:
  void Put(Integer Value, Integer Length) {
    for (Integer B = 0; B < Length; ++B) FBits.push_back((Value >> B) & 1);
  }
  std::vector<Byte> Finish(bool Start16) {
    std::vector<Byte> Out;
    std::size_t At = 0;
    auto Take = [&](Integer Count) {
      Cardinal Value = 0;
      for (Integer B = 0; B < Count; ++B, ++At)
        if (At < FBits.size() && FBits[At]) Value |= 1u << B;
      return Value;
    };
    if (Start16) {
      const Cardinal V = Take(16);
      Out.push_back(static_cast<Byte>(V >> 8));
      Out.push_back(static_cast<Byte>(V));
    }
    while (At < FBits.size()) {
      const Cardinal V = Take(32);
      for (Integer Shift : {1, 0, 3, 2}) Out.push_back(static_cast<Byte>(V >> (8 * Shift)));
    }
    return Out;
  }

 private:
  std::vector<int> FBits;
};

Integer KodakLength(Integer Diff) {
  return TRawEntropyWriter::LengthOf(Diff);
}

Cardinal KodakBits(Integer Diff, Integer Length) {
  return static_cast<Cardinal>(Diff >= 0 ? Diff : Diff + (1 << Length) - 1);
}

std::vector<Byte> Nibbles(const std::vector<Integer>& Lengths) {
  std::vector<Byte> Out((Lengths.size() + 1) / 2);
  for (std::size_t I = 0; I < Lengths.size(); ++I) Out[I / 2] |= static_cast<Byte>(Lengths[I] << (I % 2 * 4));
  return Out;
}

std::vector<Byte> KodakCompressedBlock(const std::vector<Integer>& Values) {
  std::vector<Integer> Diffs, Lengths;
  Integer Predictor[2] = {0, 0};
  for (std::size_t I = 0; I < Values.size(); ++I) {
    Diffs.push_back(Values[I] - Predictor[I & 1]);
    Predictor[I & 1] = Values[I];
    Lengths.push_back(KodakLength(Diffs.back()));
  }
  TKodakBits Bits;
  for (std::size_t I = 0; I < Diffs.size(); ++I)
    Bits.Put(static_cast<Integer>(KodakBits(Diffs[I], Lengths[I])), Lengths[I]);
  return Concat(Nibbles(Lengths), Bits.Finish(Values.size() % 8 == 4));
}

std::vector<Byte> KodakStoredBlock(const std::vector<Integer>& Values) {
  std::vector<Byte> Out;
  for (std::size_t Group = 0; Group < Values.size(); Group += 8) {
    Integer S[8] = {};
    for (std::size_t I = 0; I < 8 && Group + I < Values.size(); ++I) S[I] = Values[Group + I];
    Integer W[6];
    for (Integer I = 0; I < 6; ++I) W[I] = S[I + 2];
    W[0] |= (S[0] >> 8 & 15) << 12;
    W[2] |= (S[0] >> 4 & 15) << 12;
    W[4] |= (S[0] & 15) << 12;
    W[1] |= (S[1] >> 8 & 15) << 12;
    W[3] |= (S[1] >> 4 & 15) << 12;
    W[5] |= (S[1] & 15) << 12;
    for (Integer Word16 : W) RawPutWord(Out, Word16, true);
  }
  return Out;
}

}  // namespace

TEST(CameraRawKodakCompressed, CodedAndStoredBlocksOfARow) {
  // A row of 300: a coded block of 256, then a stored block of 44 whose first nibble (the low
  // nibble of its first byte, bits 8 to 11 of sample 2) is above 12.
  TRawSamples S = RawTestSamples(2, 300, 12);
  for (auto& Row : S) Row[256 + 2] |= 0xF00;
  std::vector<Byte> Bytes;
  for (const auto& Row : S) {
    Bytes = Concat(Bytes, KodakCompressedBlock({Row.begin(), Row.begin() + 256}));
    Bytes = Concat(Bytes, KodakStoredBlock({Row.begin() + 256, Row.end()}));
  }
  TRawDataContext T(Bytes, 2, 300);
  RawLoadKodakCompressed(*T.C);
  for (Integer R = 0; R < 2; ++R)
    for (Integer C = 0; C < 300; ++C) ASSERT_EQ(T.At(R, C), S[R][C] * 4) << R << "," << C;
}

TEST(CameraRawKodakYuv, LumaAndChromaDifferencesMakeTheBlocksPixels) {
  // One row pair of four pixels: two 2 x 2 blocks, twelve nibbles, a 16-bit start.
  const Integer Y[2][4] = {{100, 120, 90, 95}, {300, 280, 310, 305}};
  const Integer Cb[2] = {-50, -400}, Cr[2] = {20, 10};
  std::vector<Integer> Diffs;
  Integer Y1 = 0, Y3 = 0, PrevCb = 0, PrevCr = 0;
  for (Integer B = 0; B < 2; ++B) {
    Diffs.insert(Diffs.end(), {Y[B][0] - Y1, Y[B][1] - Y[B][0], Y[B][2] - Y3, Y[B][3] - Y[B][2],
                               Cb[B] - PrevCb, Cr[B] - PrevCr});
    Y1 = Y[B][1];
    Y3 = Y[B][3];
    PrevCb = Cb[B];
    PrevCr = Cr[B];
  }
  std::vector<Integer> Lengths;
  TKodakBits Bits;
  for (Integer D : Diffs) {
    Lengths.push_back(KodakLength(D));
    Bits.Put(static_cast<Integer>(KodakBits(D, Lengths.back())), Lengths.back());
  }
  TRawDataContext T(Concat(Nibbles(Lengths), Bits.Finish(true)), 2, 4);
  RawLoadKodakYuv(*T.C);
  for (Integer B = 0; B < 2; ++B)
    for (Integer I = 0; I < 4; ++I) {
      const Word* Pixel = T.Cell(I / 2, B * 2 + (I & 1));
      EXPECT_EQ(Pixel[0], (Y[B][I] + Cr[B]) * 4);
      EXPECT_EQ(Pixel[1], Y[B][I] * 4);
      // Blue of the second block is negative and stays unset.
      EXPECT_EQ(Pixel[2], B == 0 ? (Y[B][I] + Cb[B]) * 4 : 0);
    }
}

TEST(CameraRawSony, PadFollowsTheKeyAndRowsContinueIt) {
  // The first two masks of the pad made from key 1, worked out by hand from its recurrence.
  TRawDataContext Probe({}, 1, 1);
  Byte Zeros[8] = {};
  RawSonyDescramble(*Probe.C, Zeros, 2, true, 1);
  const Byte Expected[8] = {0xBB, 0x25, 0xC2, 0xF5, 0xD3, 0x90, 0x72, 0xAD};
  EXPECT_EQ(std::memcmp(Zeros, Expected, 8), 0);

  // A file scrambled with the same pad: key index 3 names the key word at 200907.
  constexpr Integer RawWidth = 3360, Height = 2, Width = 3288, Left = 5;
  const TRawSamples S = RawTestSamples(Height, RawWidth, 14);
  std::vector<Byte> File(862144 + Height * RawWidth * 2);
  File[200896] = 3;
  const Byte Key[4] = {0x12, 0x34, 0x56, 0x78};
  std::memcpy(&File[200907], Key, 4);
  Byte Head[40];
  for (Integer I = 0; I < 40; ++I) Head[I] = static_cast<Byte>(I * 7 + 1);
  const Cardinal RowKey = static_cast<Cardinal>(Head[25]) << 24 | Head[24] << 16 | Head[23] << 8 | Head[22];
  TRawDataContext Scrambler({}, 1, 1);
  RawSonyDescramble(*Scrambler.C, Head, 10, true, 0x12345678);
  std::memcpy(&File[164600], Head, 40);
  for (Integer R = 0; R < Height; ++R) {
    Byte* Row = &File[862144 + R * RawWidth * 2];
    for (Integer C = 0; C < RawWidth; ++C) {
      Row[2 * C] = static_cast<Byte>(S[R][C] >> 8);
      Row[2 * C + 1] = static_cast<Byte>(S[R][C]);
    }
    RawSonyDescramble(*Scrambler.C, Row, RawWidth / 2, R == 0, RowKey);
  }
  TRawDataContext T(File, Height, Width);
  T.C->RawWidth = RawWidth;
  T.C->LeftMargin = Left;
  RawLoadSony(*T.C);
  Int64 Masked = 0;
  for (Integer R = 0; R < Height; ++R)
    for (Integer C = 0; C < 3343; ++C) {
      if (C < Left || C >= Left + Width)
        Masked += S[R][C];
      else
        ASSERT_EQ(T.At(R, C - Left), S[R][C]) << R << "," << C;
    }
  EXPECT_EQ(T.C->Black, Masked / ((3343 - Width) * Height));
}

TEST(CameraRawFoveon, CodesFromTheFileGiveThreeChannelsAndRowsRealignToWords) {
  // A complete code: '0' +0, '10' +700, '110' -300, '1110' +50, '1111' +10.
  TRawFileBuilder File(false);
  File.At(260);
  const Integer Differences[5] = {0, 700, -300, 50, 10};
  for (Integer I = 0; I < 1024; ++I) File.Put2(I < 5 ? Differences[I] : 0);
  const Cardinal Codes[5] = {1u << 27 | 0, 2u << 27 | 2, 3u << 27 | 6, 4u << 27 | 14, 4u << 27 | 15};
  for (Integer I = 0; I < 1024; ++I) File.Put4(I < 5 ? Codes[I] : 0);
  // Row 0 takes 16 bits, so row 1 starts at the next word; row 1 takes exactly 32 bits, so a
  // padding word follows it before row 2.
  const char* RowBits[3] = {"10 10 0  110 0 10  0 10 10", "1110 1110 1110  1111 1111 1111  110 110 10",
                            "10 0 0  10 10 0  110 10 0"};
  const Integer Expected[3][3][3] = {{{0, 0, 0}, {400, 700, 700}, {400, 1400, 1400}},
                                     {{50, 50, 50}, {60, 60, 60}, {0, 0, 760}},
                                     {{700, 0, 0}, {1400, 700, 0}, {1100, 1400, 0}}};
  for (Integer Row = 0; Row < 3; ++Row) {
    std::string Bits;
    for (const char* P = RowBits[Row]; *P; ++P)
      if (*P != ' ') Bits += *P;
    while (Bits.size() % 32 != 0) Bits += '0';
    if (Row == 1) Bits += std::string(32, '1');
    for (std::size_t At = 0; At < Bits.size(); At += 8)
      File.Put1(static_cast<Integer>(std::stoul(Bits.substr(At, 8), nullptr, 2)));
  }
  TRawDataContext T(File.Bytes, 3, 3);
  RawLoadFoveon(*T.C);
  // The first cell is never stored; negative sums leave their channel empty.
  for (Integer R = 0; R < 3; ++R)
    for (Integer C = 0; C < 3; ++C)
      for (Integer Ch = 0; Ch < 3; ++Ch)
        EXPECT_EQ(T.At(R, C, Ch), Expected[R][C][Ch]) << R << "," << C << "," << Ch;
}

TEST(CameraRawKodakRadc, LiteralBlocksAndTheColourDifferencesOfABand) {
  // One band of 4 x 8 in literal blocks only: state tree 1 answers 8 with '11111111', state
  // tree 8 answers 8 with '0'. A literal entry is 5 bits b giving b x 8 + 4 on a DC40, 6 bits
  // giving b x 4 + 2 on a DC50, stored as value x 16. Red and blue cells then become
  // (left + right) / 2 + 2 x cell - 4096.
  for (bool Dc40 : {true, false}) {
    const Integer Mul[3] = {5, 9, 13};
    TRawBitWriter W;
    for (Integer M : Mul) W.Put(static_cast<Cardinal>(M), 6);
    Integer Expected[4][8] = {};
    for (Integer C = 0; C < 3; ++C)
      for (Integer Pass = 0; Pass <= (C == 0 ? 1 : 0); ++Pass)
        for (Integer Step = 0; Step < 2; ++Step) {
          W.Put(Step == 0 ? 0xFF : 0, Step == 0 ? 8 : 1);
          const Integer Col = 2 - 2 * Step;
          for (Integer Y = 1; Y < 3; ++Y)
            for (Integer X = Col + 1; X >= Col; --X) {
              const Integer Bits = C == 0 ? (X * 5 + Y * 3 + Pass * 7) % 32 : 20 + (X * 3 + Y + C) % 12;
              W.Put(static_cast<Cardinal>(Dc40 ? Bits : 2 * Bits), Dc40 ? 5 : 6);
              const Integer Value = Dc40 ? Bits * 8 + 4 : 2 * Bits * 4 + 2;
              const Integer Row = C == 0 ? 2 * Pass + Y - 1 : 2 * (Y - 1) + C - 1;
              const Integer Column = C == 0 ? 2 * X + Y - 1 : 2 * X + 2 - C;
              Expected[Row][Column] = Value * 16;
            }
        }
    W.Flush();
    W.Bytes.resize(W.Bytes.size() + 8);
    for (Integer Y = 0; Y < 4; ++Y)
      for (Integer X = (Y & 1) != 0 ? 2 : 1; X < 7; X += 2)
        Expected[Y][X] = (Expected[Y][X - 1] + Expected[Y][X + 1]) / 2 + 2 * Expected[Y][X] - 4096;
    TRawDataContext T(W.Bytes, 4, 8);
    std::strcpy(T.C->Model, Dc40 ? "DC40" : "DC50");
    RawLoadKodakRadc(*T.C);
    EXPECT_FALSE(T.C->InputEnded);
    for (Integer R = 0; R < 4; ++R)
      for (Integer C = 0; C < 8; ++C)
        EXPECT_EQ(T.At(R, C), Expected[R][C]) << T.C->Model << " " << R << "," << C;
  }
}

TEST(CameraRawKodakRadc, RunsOfPredictedBlocksKeepAFlatField) {
  // Buffers start at 2048 and are scaled by ((0x1000000 / 16 + 0x7FF) >> 12) x mul >> 12, so
  // every entry becomes 128 x mul, the value the right edge gets too; predicted runs keep it
  // and each cell comes out as (128 x mul << 4) / mul = 2048, red and blue unchanged by their
  // differences from green. Per pass: tree 1 -> 0 '10', repeats 1 '0', tree 0 -> 0 '0'.
  TRawBitWriter W;
  for (Integer M : {7, 30, 63}) W.Put(static_cast<Cardinal>(M), 6);
  for (Integer Pass = 0; Pass < 4; ++Pass) W.Put(0b1000, 4);
  W.Flush();
  W.Bytes.resize(W.Bytes.size() + 8);
  TRawDataContext T(W.Bytes, 4, 8);
  std::strcpy(T.C->Model, "DC50");
  RawLoadKodakRadc(*T.C);
  for (Integer R = 0; R < 4; ++R)
    for (Integer C = 0; C < 8; ++C) EXPECT_EQ(T.At(R, C), 2048) << R << "," << C;
}

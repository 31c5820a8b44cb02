// Packed and plain camera raw loaders: each reads back what its test-side encoder wrote,
// in the camera's row order, with the camera's scaling and masked-column black level.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "CameraRawPackTestSupport.h"
#include "imaging/formats/iecameraraw.h"

namespace {

using TEncoder = std::function<std::vector<Byte>(const TRawSamples&, TCameraRawContext&)>;

struct TLoaderCase {
  const char* Name;
  TCameraRawLoader Loader;
  Integer Height, Width, Bits;
  std::function<void(TCameraRawContext&)> Setup;
  TEncoder Encode;
  std::function<Integer(Integer)> Expect;  // the cell value of a sample
};

std::vector<Byte> Words(const TRawSamples& S, Integer RowWords, bool BigEndian) {
  std::vector<Byte> Out;
  for (const auto& Row : S)
    for (Integer C = 0; C < RowWords; ++C)
      RawPutWord(Out, C < static_cast<Integer>(Row.size()) ? Row[C] : 0xBEEF, BigEndian);
  return Out;
}

std::vector<Byte> Packed(const TRawSamples& S, Integer GroupSamples, Integer GroupBytes, Integer RowBytes,
                         void (*Pack)(const Integer*, Byte*)) {
  std::vector<Byte> Out;
  for (const auto& Row : S) {
    std::vector<Byte> Bytes = RawPackRow(Row, GroupSamples, GroupBytes, Pack);
    Bytes.resize(RowBytes, 0x5A);
    Out.insert(Out.end(), Bytes.begin(), Bytes.end());
  }
  return Out;
}

TEncoder BitRows(Integer Bits, Integer DroppedBytesPerRow) {
  return [=](const TRawSamples& S, TCameraRawContext&) {
    TRawBitWriter W;
    for (const auto& Row : S) {
      for (Integer V : Row) W.Put(static_cast<Cardinal>(V), Bits);
      for (Integer I = 0; I < DroppedBytesPerRow; ++I) W.Put(0xA5, 8);
    }
    W.Flush();
    return W.Bytes;
  };
}

TRawSamples RowsInOrder(const TRawSamples& S, const std::vector<Integer>& Order) {
  TRawSamples Out;
  for (Integer Row : Order) Out.push_back(S[Row]);
  return Out;
}

std::function<Integer(Integer)> ShiftedLeft(Integer Shift) {
  return [=](Integer V) { return V << Shift; };
}

const TLoaderCase LoaderCases[] = {
    {"BigEndian16", RawLoadBigEndian16, 3, 5, 16, [](TCameraRawContext& C) { C.RawWidth = 7; },
     [](const TRawSamples& S, TCameraRawContext& C) { return Words(S, C.RawWidth, true); }, ShiftedLeft(0)},
    {"BigEndianHigh12", RawLoadBigEndianHigh12, 3, 5, 16, nullptr,
     [](const TRawSamples& S, TCameraRawContext& C) { return Words(S, C.RawWidth, true); },
     [](Integer V) { return V >> 2; }},
    {"BigEndianLow12", RawLoadBigEndianLow12, 3, 5, 12, nullptr,
     [](const TRawSamples& S, TCameraRawContext& C) { return Words(S, C.RawWidth, true); }, ShiftedLeft(2)},
    {"BigEndianLow10", RawLoadBigEndianLow10, 3, 5, 10, nullptr,
     [](const TRawSamples& S, TCameraRawContext& C) { return Words(S, C.RawWidth, true); }, ShiftedLeft(4)},
    {"LittleEndianHigh12", RawLoadLittleEndianHigh12, 3, 5, 16, nullptr,
     [](const TRawSamples& S, TCameraRawContext& C) { return Words(S, C.RawWidth, false); },
     [](Integer V) { return V >> 2; }},
    {"EightBit", RawLoadEightBit, 3, 6, 8, [](TCameraRawContext& C) { C.RawWidth = 9; },
     [](const TRawSamples& S, TCameraRawContext& C) {
       std::vector<Byte> Out;
       for (const auto& Row : S)
         for (Integer Col = 0; Col < C.RawWidth; ++Col)
           Out.push_back(static_cast<Byte>(Col < C.Width ? Row[Col] : 0xEE));
       return Out;
     },
     ShiftedLeft(6)},
    {"Nucore", RawLoadNucore, 3, 6, 12, nullptr,
     [](const TRawSamples& S, TCameraRawContext& C) { return Words(S, C.Width, false); }, ShiftedLeft(2)},
    {"NucoreFieldsBottomUp", RawLoadNucore, 4, 2598, 12,
     [](TCameraRawContext& C) { std::strcpy(C.Model, "BMQ"); },
     [](const TRawSamples& S, TCameraRawContext& C) {
       return Words(RowsInOrder(S, {3, 1, 2, 0}), C.Width, false);
     },
     ShiftedLeft(2)},
    {"KodakDC120", RawLoadKodakDC120, 5, 848, 8, nullptr,
     [](const TRawSamples& S, TCameraRawContext&) {
       static constexpr Integer Mul[4] = {162, 192, 187, 92}, Add[4] = {0, 636, 424, 212};
       std::vector<Byte> Out;
       for (Integer Row = 0; Row < static_cast<Integer>(S.size()); ++Row) {
         std::vector<Byte> Line(848);
         const Integer Shift = Row * Mul[Row & 3] + Add[Row & 3];
         for (Integer Col = 0; Col < 848; ++Col) Line[(Col + Shift) % 848] = static_cast<Byte>(S[Row][Col]);
         Out.insert(Out.end(), Line.begin(), Line.end());
       }
       return Out;
     },
     ShiftedLeft(6)},
    {"Ixpress", RawLoadIxpress, 3, 10, 16, nullptr,
     [](const TRawSamples& S, TCameraRawContext&) {
       std::vector<Byte> Out(49384, 0x77);
       for (Integer Row = static_cast<Integer>(S.size()) - 1; Row >= 0; --Row)
         for (Integer Word = 0; Word < 4090; ++Word)
           RawPutWord(Out, Word < 10 ? S[Row][9 - Word] : 0x1234, false);
       return Out;
     },
     ShiftedLeft(0)},
    {"CanonA5", RawLoadCanonA5, 3, 12, 10, [](TCameraRawContext& C) { C.RawWidth = 16; },
     [](const TRawSamples& S, TCameraRawContext&) {
       TRawSamples Wide = S;
       for (auto& Row : Wide) Row.resize(16, 64);  // masked columns read 64
       return Packed(Wide, 8, 10, 20, RawPackCanonA5);
     },
     ShiftedLeft(4)},
    {"NikonE2100", RawLoadNikonE2100, 5, 16, 12, nullptr,
     [](const TRawSamples& S, TCameraRawContext&) {
       std::vector<Byte> Out = Packed(RowsInOrder(S, {0, 2, 4}), 8, 12, 24, RawPackNikonE2100);
       Out.insert(Out.end(), 424, 0xCC);
       std::vector<Byte> Odd = Packed(RowsInOrder(S, {1, 3}), 8, 12, 24, RawPackNikonE2100);
       Out.insert(Out.end(), Odd.begin(), Odd.end());
       return Out;
     },
     ShiftedLeft(2)},
    {"CasioQV5700", RawLoadCasioQV5700, 2, 2576, 10, nullptr,
     [](const TRawSamples& S, TCameraRawContext&) { return Packed(S, 4, 5, 3232, RawPackTenBits); },
     ShiftedLeft(4)},
    {"Packed12", RawLoadPacked12, 3, 6, 12, [](TCameraRawContext& C) { C.RawWidth = 6 * 3 / 2 + 3; },
     BitRows(12, 3), ShiftedLeft(2)},
    {"NikonE950OddHeight", RawLoadNikonE950, 3, 8, 10, nullptr,
     [](const TRawSamples& S, TCameraRawContext& C) {
       return BitRows(10, 28)(RowsInOrder(S, {0, 2, 1}), C);
     },
     ShiftedLeft(4)},
    {"NikonFieldsInOneRun", RawLoadNikon, 4, 6, 12,
     [](TCameraRawContext& C) { std::strcpy(C.Model, "E5700"); },
     [](const TRawSamples& S, TCameraRawContext& C) {
       return BitRows(12, 0)(RowsInOrder(S, {0, 2, 1, 3}), C);
     },
     ShiftedLeft(2)},
};

class TPackedLoader : public ::testing::TestWithParam<TLoaderCase> {};

TEST_P(TPackedLoader, ReadsBackWhatTheEncoderWrote) {
  const TLoaderCase& Case = GetParam();
  TRawTestContext T(Case.Height, Case.Width);
  if (Case.Setup) Case.Setup(*T.C);
  const TRawSamples Samples = RawTestSamples(Case.Height, Case.Width, Case.Bits);
  T.SetBytes(Case.Encode(Samples, *T.C));
  Case.Loader(*T.C);
  EXPECT_FALSE(T.C->InputEnded);
  for (Integer Row = 0; Row < Case.Height; ++Row)
    for (Integer Col = 0; Col < Case.Width; ++Col)
      ASSERT_EQ(T.At(Row, Col), Case.Expect(Samples[Row][Col]) & 0xFFFF) << Row << "," << Col;
}

INSTANTIATE_TEST_SUITE_P(CameraRaw, TPackedLoader, ::testing::ValuesIn(LoaderCases),
                         [](const auto& Info) { return std::string(Info.param.Name); });

}  // namespace

namespace {

TEST(CameraRawPackedLoaders, Canon600StoresEvenRowsFirstAndMeasuresBlackFromTheMaskedColumns) {
  constexpr Integer Height = 3, Width = 880;
  TRawTestContext T(Height, Width);
  TRawSamples Samples = RawTestSamples(Height, 896, 10);
  for (auto& Row : Samples)
    for (Integer Col = Width; Col < 896; ++Col) Row[Col] = 40;  // masked columns
  T.SetBytes(Packed(RowsInOrder(Samples, {0, 2, 1}), 8, 10, 1120, RawPackCanon600));
  RawLoadCanon600(*T.C);
  for (Integer Row = 0; Row < Height; ++Row)
    for (Integer Col = 0; Col < Width; ++Col)
      ASSERT_EQ(T.At(Row, Col), Samples[Row][Col] << 4) << Row << "," << Col;
  EXPECT_EQ(T.C->Black, 16 * 40);  // 16 x sum / (16 columns x 3 rows)
}

TEST(CameraRawPackedLoaders, CanonA5MeasuresBlackOverTheColumnsPastTheWidth) {
  TRawTestContext T(3, 12);
  T.C->RawWidth = 16;
  TRawSamples Samples = RawTestSamples(3, 16, 10);
  for (auto& Row : Samples)
    for (Integer Col = 12; Col < 16; ++Col) Row[Col] = 64;
  T.SetBytes(Packed(Samples, 8, 10, 20, RawPackCanonA5));
  RawLoadCanonA5(*T.C);
  EXPECT_EQ(T.C->Black, 16 * 64);
}

TEST(CameraRawPackedLoaders, NikonDropsAByteAfterEveryTenthSampleAndSkipsTheLeftMargin) {
  TRawTestContext T(2, 18);
  T.C->TiffCompression = 34713;
  T.C->RawWidth = 20;
  T.C->LeftMargin = 2;
  T.C->Width = 18;
  const TRawSamples Samples = RawTestSamples(2, 20, 12);
  TRawBitWriter W;
  for (const auto& Row : Samples)
    for (Integer Col = 0; Col < 20; ++Col) {
      W.Put(static_cast<Cardinal>(Row[Col]), 12);
      if (Col % 10 == 9) W.Put(0xFF, 8);
    }
  W.Flush();
  T.SetBytes(W.Bytes);
  RawLoadNikon(*T.C);
  for (Integer Row = 0; Row < 2; ++Row)
    for (Integer Col = 0; Col < 18; ++Col)
      ASSERT_EQ(T.At(Row, Col), Samples[Row][Col + 2] << 2) << Row << "," << Col;
}

TEST(CameraRawPackedLoaders, OlderNikonModelsKeepTheOddFieldInTheFilesSecondHalf) {
  TRawTestContext T(4, 8);
  std::strcpy(T.C->Model, "E995");
  const TRawSamples Samples = RawTestSamples(4, 8, 12);
  auto Field = [&](std::vector<Integer> Rows) {
    TRawBitWriter W;
    for (Integer Row : Rows)
      for (Integer V : Samples[Row]) W.Put(static_cast<Cardinal>(V), 12);
    W.Flush();
    W.Bytes.resize(64, 0);  // each field fills half the file
    return W.Bytes;
  };
  std::vector<Byte> File = Field({0, 2});
  const std::vector<Byte> Odd = Field({1, 3});
  File.insert(File.end(), Odd.begin(), Odd.end());
  T.SetBytes(File);
  RawLoadNikon(*T.C);
  for (Integer Row = 0; Row < 4; ++Row)
    for (Integer Col = 0; Col < 8; ++Col)
      ASSERT_EQ(T.At(Row, Col), Samples[Row][Col] << 2) << Row << "," << Col;
}

TEST(CameraRawPackedLoaders, OlympusStartsEachFieldOnA2048ByteBoundary) {
  TRawTestContext T(4, 8);
  T.C->DataOffset = 16;
  const TRawSamples Samples = RawTestSamples(4, 8, 12);
  std::vector<Byte> File(16, 0xEE);
  for (const std::vector<Integer>& Rows : {std::vector<Integer>{0, 2}, std::vector<Integer>{1, 3}}) {
    TRawBitWriter W;
    for (Integer Row : Rows)
      for (Integer V : Samples[Row]) W.Put(static_cast<Cardinal>(V), 12);
    W.Flush();
    W.Bytes.resize(2048, 0);  // 8 x 4 x 3 / 4 = 24 bytes, rounded up to 2048
    File.insert(File.end(), W.Bytes.begin(), W.Bytes.end());
  }
  T.SetBytes(File);
  RawLoadOlympusC(*T.C);
  for (Integer Row = 0; Row < 4; ++Row)
    for (Integer Col = 0; Col < 8; ++Col)
      ASSERT_EQ(T.At(Row, Col), Samples[Row][Col] << 2) << Row << "," << Col;
}

TEST(CameraRawPackedLoaders, RolleiPacksThreeMoreSamplesIntoTheTopBitsAndIgnoresAPartialRecord) {
  // 8 x 4 stored samples: 20 in the low bits of four records, 12 in their top bits.
  TRawTestContext T(3, 5);
  T.C->RawWidth = 8;
  T.C->RawHeight = 4;
  T.C->TopMargin = 1;
  T.C->LeftMargin = 2;
  const TRawSamples Stored = RawTestSamples(4, 8, 10);
  auto At = [&](Integer N) { return Stored[N / 8][N % 8]; };
  std::vector<Byte> File;
  for (Integer Record = 0; Record < 4; ++Record) {
    Cardinal Packed = 0;
    for (Integer K = 0; K < 3; ++K) Packed = Packed << 10 | static_cast<Cardinal>(At(20 + Record * 3 + K));
    for (Integer I = 0; I < 5; ++I) {
      const Integer Low = At(Record * 5 + I);
      const Cardinal Top = Packed >> (24 - 6 * I) & 0x3F;
      File.push_back(static_cast<Byte>(Top << 2 | Low >> 8));
      File.push_back(static_cast<Byte>(Low));
    }
  }
  File.insert(File.end(), {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
  T.SetBytes(File);
  RawLoadRollei(*T.C);
  EXPECT_FALSE(T.C->InputEnded);
  for (Integer Row = 0; Row < 3; ++Row)
    for (Integer Col = 0; Col < 5; ++Col)
      ASSERT_EQ(T.At(Row, Col), Stored[Row + 1][Col + 2] << 4) << Row << "," << Col;
}

TEST(CameraRawPackedLoaders, PhaseOneUnmasksEachWordPairWithTheFilesKeys) {
  constexpr Integer KeyA = 0x1234, KeyB = 0xA5C3;
  TRawTestContext T(2, 5);
  T.C->ByteOrder = 0x4D4D;
  T.C->RawWidth = 8;
  T.C->TopMargin = 1;
  T.C->LeftMargin = 2;
  const TRawSamples Picture = RawTestSamples(3, 8, 16);  // stored rows, the first one a margin
  std::vector<Byte> File = {'M', 'M', 'M', 'M', 'R', 'a', 'w', 'T', 0, 0, 0, 0};
  for (Integer Row = 0; Row < 3; ++Row)
    for (Integer Col = 0; Col < 8; Col += 2) {
      const Integer First = Picture[Row][Col], Second = Picture[Row][Col + 1];
      const Integer P = ((Second & 0xAAAA) | (First & 0x5555)) ^ KeyA;
      const Integer Q = ((First & 0xAAAA) | (Second & 0x5555)) ^ KeyB;
      RawPutWord(File, P, true);
      RawPutWord(File, Q, true);
    }
  // The keys follow the header's length field and 296 bytes.
  const Integer Length = static_cast<Integer>(File.size());
  File[11] = static_cast<Byte>(Length);
  File.resize(12 + Length + 296, 0);
  RawPutWord(File, KeyA, true);
  RawPutWord(File, KeyB, true);
  T.SetBytes(File);
  RawLoadPhaseOne(*T.C);
  for (Integer Row = 0; Row < 2; ++Row)
    for (Integer Col = 0; Col < 5; ++Col)
      ASSERT_EQ(T.At(Row, Col), Picture[Row + 1][Col + 2]) << Row << "," << Col;
}

TEST(CameraRawPackedLoaders, KodakEasyMeasuresBlackExceptOnTheDC2Models) {
  for (const char* Model : {"DCS420", "DC25"}) {
    TRawTestContext T(2, 4);
    std::strcpy(T.C->Make, "Kodak");
    std::strcpy(T.C->Model, Model);
    T.C->RawWidth = 6;
    T.C->LeftMargin = 1;
    T.C->Black = 99;
    T.SetBytes({5, 10, 11, 12, 13, 7, 5, 20, 21, 22, 23, 7});
    RawLoadKodakEasy(*T.C);
    EXPECT_EQ(T.At(0, 0), 40);
    EXPECT_EQ(T.At(1, 3), 92);
    // Masked: 5 + 7 per row over 2 columns and 2 rows: 4 x 24 / 4.
    EXPECT_EQ(T.C->Black, std::strcmp(Model, "DC25") == 0 ? 0 : 24) << Model;
  }
}

TEST(CameraRawPackedLoaders, FujiS5000LaysItsRowsAlongTheDiagonals) {
  TRawTestContext T(2499, 2500);
  std::vector<Byte> File(11824, 0);
  auto Value = [](Integer Row, Integer Col) { return (Row * 7 + Col * 3) & 0x3FFF; };
  for (Integer Row = 0; Row < 2152; ++Row)
    for (Integer Col = 0; Col < 1472; ++Col) RawPutWord(File, Value(Row, Col), false);
  T.SetBytes(File);
  RawLoadFujiS5000(*T.C);
  EXPECT_EQ(T.C->FujiLayout, 1);
  for (Integer Row = 0; Row < 2152; Row += 97)
    for (Integer Col = 0; Col <= 1423; Col += 31)
      ASSERT_EQ(T.At(1423 + Row / 2 - Col, Col + (Row + 1) / 2), Value(Row, Col) << 2) << Row << "," << Col;
}

TEST(CameraRawPackedLoaders, FujiF700TakesTheSecondarySensorsHalfOnRequest) {
  for (const Integer Secondary : {0, 1}) {
    TRawTestContext T(2523, 2524);
    T.C->FujiSecondary = Secondary;
    std::vector<Byte> File;
    for (Integer Row = 0; Row < 2168; ++Row)
      for (Integer Col = 0; Col < 2944; ++Col) RawPutWord(File, Col < 1472 ? 1000 + Row : 3000 + Row, false);
    T.SetBytes(File);
    RawLoadFujiF700(*T.C);
    EXPECT_EQ(T.At(1439, 0), Secondary ? 3000 : 1000);          // row 0, sample 0, unshifted
    EXPECT_EQ(T.At(1458, 22), (Secondary ? 3000 : 1000) + 41);  // row 41, sample 1
  }
}

TEST(CameraRawPackedLoaders, AStreamThatEndsEarlyStopsTheLoaderAndIsNoticed) {
  TRawTestContext T(4, 6);
  std::vector<Byte> File = Words(RawTestSamples(4, 6, 16), 6, true);
  File.resize(File.size() - 13);
  T.SetBytes(File);
  RawLoadBigEndian16(*T.C);
  EXPECT_TRUE(T.C->InputEnded);
  EXPECT_EQ(T.At(3, 5), 0);
}

TEST(CameraRawPackedLoaders, BitPackedDataEndingWithTheFileIsCompleteAndOneByteLessIsNot) {
  // The bit reader reads ahead of the samples; only data actually missing ends the picture.
  const TRawSamples Samples = RawTestSamples(3, 8, 12);
  for (const Integer Missing : {0, 1}) {
    TRawTestContext T(3, 8);
    T.C->RawWidth = 12;
    std::vector<Byte> File = BitRows(12, 0)(Samples, *T.C);
    File.resize(File.size() - Missing);
    T.SetBytes(File);
    RawLoadPacked12(*T.C);
    EXPECT_EQ(T.C->InputEnded, Missing == 1);
    if (!Missing) EXPECT_EQ(T.At(2, 7), Samples[2][7] << 2);
  }
}

Integer ProgressReports = 0;

TEST(CameraRawPackedLoaders, BitLoadersWithRowsThatTakeNoDataEndAtOnce) {
  // No columns: a billion rows would each take nothing from the stream, each with a report.
  TRawTestContext T(0, 0);
  T.C->Height = 1 << 30;
  T.C->Progress.OnProgress = [](TObject*, Integer) { ++ProgressReports; };
  T.SetBytes(std::vector<Byte>(16, 1));
  ProgressReports = 0;
  for (TCameraRawLoader Loader : {RawLoadPacked12, RawLoadNikon, RawLoadOlympusC}) Loader(*T.C);
  EXPECT_EQ(ProgressReports, 0);
}

TEST(CameraRawPackedLoaders, ARowLongerThanTheDataIsNeverAllocated) {
  TRawTestContext T(2, 2);
  T.C->RawWidth = 0x7FFFFFF0;
  T.SetBytes(std::vector<Byte>(64, 1));
  RawLoadEightBit(*T.C);
  RawLoadCanonA5(*T.C);
  EXPECT_TRUE(T.C->InputEnded);
  EXPECT_EQ(T.At(0, 0), 0);
}

}  // namespace

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

// The bit reader reads ahead: bit-packed data is followed by a few bytes of other data.
void PadForReadAhead(std::vector<Byte>& Bytes) {
  Bytes.insert(Bytes.end(), 8, 0);
}

TEncoder BitRows(Integer Bits, Integer DroppedBytesPerRow) {
  return [=](const TRawSamples& S, TCameraRawContext&) {
    TRawBitWriter W;
    for (const auto& Row : S) {
      for (Integer V : Row) W.Put(static_cast<Cardinal>(V), Bits);
      for (Integer I = 0; I < DroppedBytesPerRow; ++I) W.Put(0xA5, 8);
    }
    W.Flush();
    PadForReadAhead(W.Bytes);
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

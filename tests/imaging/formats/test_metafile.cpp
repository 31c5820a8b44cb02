// Metafile content tests: enhanced, placeable and bare Windows metafiles, and short streams.
#include <gtest/gtest.h>

#include <vector>

#include "imaging/formats/ieformats.h"
#include "imaging/formats/iemetafile.h"
#include "imaging/io/iefileformats.h"
#include "tests/imaging/formats/FormatsTestSupport.h"

namespace {

void Put32(std::vector<Byte>& Data, size_t At, Cardinal Value) {
  for (int I = 0; I < 4; ++I) Data[At + I] = static_cast<Byte>(Value >> (8 * I));
}

std::vector<Byte> Emf() {
  std::vector<Byte> Data(108, 0);
  Put32(Data, 0, 1);
  Put32(Data, 40, 0x464D4520);
  return Data;
}

// A metafile header: type 1, nine words, no parameters, at Offset.
std::vector<Byte> Wmf(size_t Offset, size_t Size) {
  std::vector<Byte> Data(Size, 0);
  Data[Offset] = 1;
  Data[Offset + 2] = 9;
  return Data;
}

std::vector<Byte> PlaceableWmf() {
  std::vector<Byte> Data = Wmf(22, 60);
  Put32(Data, 0, 0x9AC6CDD7);
  return Data;
}

struct TAnswers {
  bool Emf;
  bool Wmf;
};

TAnswers Answers(const std::vector<Byte>& Data, Int64 Start = 0) {
  TMemoryStream Stream;
  std::vector<Byte> Shifted(static_cast<size_t>(Start), 0xAA);
  Shifted.insert(Shifted.end(), Data.begin(), Data.end());
  LoadBytes(Stream, Shifted);
  Stream.SetPosition(Start);
  const TAnswers A{EmfIsFile(&Stream), WmfIsFile(&Stream)};
  EXPECT_EQ(Stream.GetPosition(), Start);
  return A;
}

TEST(Metafile, EachKindPassesItsOwnTestOnly) {
  const TAnswers E = Answers(Emf());
  EXPECT_TRUE(E.Emf);
  EXPECT_FALSE(E.Wmf);
  const TAnswers Bare = Answers(Wmf(0, 40));
  EXPECT_FALSE(Bare.Emf);
  EXPECT_TRUE(Bare.Wmf);
  const TAnswers Placeable = Answers(PlaceableWmf(), 5);
  EXPECT_FALSE(Placeable.Emf);
  EXPECT_TRUE(Placeable.Wmf);
}

TEST(Metafile, EveryTestedFieldMatters) {
  std::vector<Byte> WrongRecord = Emf();
  WrongRecord[0] = 2;
  EXPECT_FALSE(Answers(WrongRecord).Emf);
  std::vector<Byte> WrongWords = Wmf(0, 40);
  WrongWords[2] = 10;
  EXPECT_FALSE(Answers(WrongWords).Wmf);
  std::vector<Byte> Parameters = Wmf(0, 40);
  Parameters[16] = 1;
  EXPECT_FALSE(Answers(Parameters).Wmf);
  // Without the key the header is looked for at the start, where the placeable one is not.
  std::vector<Byte> NoKey = PlaceableWmf();
  NoKey[0] = 0;
  EXPECT_FALSE(Answers(NoKey).Wmf);
}

TEST(Metafile, ShortStreamsDoNotPass) {
  std::vector<Byte> Emf99 = Emf();
  Emf99.resize(99);
  EXPECT_FALSE(Answers(Emf99, 3).Emf);
  EXPECT_FALSE(Answers(Wmf(0, 19)).Wmf);
  std::vector<Byte> Placeable = PlaceableWmf();
  Placeable.resize(22 + 17);
  EXPECT_FALSE(Answers(Placeable, 2).Wmf);
  EXPECT_FALSE(Answers({}).Wmf);
}

}  // namespace

namespace {

TEST(Metafile, TheDetectorRecognisesBothKinds) {
  IEFormatsInstall();
  InitFileFormats();
  TMemoryStream Stream;
  LoadBytes(Stream, PlaceableWmf());
  EXPECT_EQ(DetectStreamFormat(&Stream), ioWMF);
  TMemoryStream Enhanced;
  LoadBytes(Enhanced, Emf());
  EXPECT_EQ(DetectStreamFormat(&Enhanced), ioEMF);
  FreeFileFormats();
}

}  // namespace

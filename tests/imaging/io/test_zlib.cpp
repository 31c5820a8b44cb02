// Deflate streams and buffer inflation over memory streams.
#include <gtest/gtest.h>
#include <zlib.h>

#include <numeric>
#include <vector>

#include "imaging/io/iezlib.h"

namespace {

std::vector<Byte> Pattern(size_t Size) {
  std::vector<Byte> Data(Size);
  for (size_t I = 0; I < Size; ++I) Data[I] = static_cast<Byte>((I * 7) ^ (I >> 9));
  return Data;
}

std::vector<Byte> Deflate(const std::vector<Byte>& Data, TZCompressionLevel Level = zcDefault) {
  TMemoryStream Dest;
  {
    TZCompressionStream Z(&Dest, Level);
    Z.Write(Data.data(), static_cast<Integer>(Data.size()));
    Z.Finish();
  }
  const Byte* P = static_cast<const Byte*>(Dest.GetMemory());
  return {P, P + Dest.GetSize()};
}

std::vector<Byte> PlainInflate(const std::vector<Byte>& Packed, size_t Size) {
  std::vector<Byte> Out(Size + 1);
  uLongf OutLen = static_cast<uLongf>(Out.size());
  EXPECT_EQ(uncompress(Out.data(), &OutLen, Packed.data(), static_cast<uLong>(Packed.size())), Z_OK);
  Out.resize(OutLen);
  return Out;
}

}  // namespace

TEST(ZLibStreams, CompressionStreamWritesWhatZlibInflatesAtEveryLevel) {
  const auto Data = Pattern(300000);  // several 64 KB buffers
  for (auto Level : {zcNone, zcFastest, zcDefault, zcMax}) {
    const auto Packed = Deflate(Data, Level);
    EXPECT_EQ(PlainInflate(Packed, Data.size()), Data) << int(Level);
    if (Level == zcNone) {
      EXPECT_GT(Packed.size(), Data.size());
    } else if (Level == zcMax) {
      EXPECT_LT(Packed.size(), Data.size() / 4);
    }
  }
}

TEST(ZLibStreams, EmptyInputStillGivesACompleteStream) {
  TMemoryStream Dest;
  { TZCompressionStream Z(&Dest, zcDefault); }  // finished by the destructor
  ASSERT_GT(Dest.GetSize(), 0);
  const Byte* P = static_cast<const Byte*>(Dest.GetMemory());
  EXPECT_TRUE(PlainInflate({P, P + Dest.GetSize()}, 0).empty());
}

TEST(ZLibStreams, CompressionStreamReportsBytesTakenAndRefusesReads) {
  TMemoryStream Dest;
  TZCompressionStream Z(&Dest, zcFastest);
  Byte Buf[10] = {};
  Z.Write(Buf, 10);
  EXPECT_EQ(Z.Seek(123, soBeginning), 10);
  EXPECT_THROW(Z.Read(Buf, 1), EZCompressionError);
}

TEST(ZLibStreams, DecompressionStopsAtTheEndAndGivesBackUnusedInput) {
  const auto Data = Pattern(100000);
  auto Packed = Deflate(Data);
  const Int64 PackedSize = static_cast<Int64>(Packed.size());
  Packed.insert(Packed.end(), {'T', 'A', 'I', 'L'});
  TMemoryStream Source;
  Source.Write(Packed.data(), static_cast<Integer>(Packed.size()));
  Source.SetPosition(0);
  TZDecompressionStream Z(&Source);
  std::vector<Byte> Out(Data.size() + 50);
  EXPECT_EQ(Z.Read(Out.data(), static_cast<Integer>(Out.size())), static_cast<Integer>(Data.size()));
  Out.resize(Data.size());
  EXPECT_EQ(Out, Data);
  EXPECT_EQ(Source.GetPosition(), PackedSize);
  EXPECT_EQ(Z.Read(Out.data(), 10), 0);
  EXPECT_EQ(Source.GetPosition(), PackedSize);
}

TEST(ZLibStreams, DecompressionSeeks) {
  const auto Data = Pattern(50000);
  const auto Packed = Deflate(Data);
  TMemoryStream Source;
  Source.Write("PAD", 3);  // compressed data that does not start the source
  Source.Write(Packed.data(), static_cast<Integer>(Packed.size()));
  Source.SetPosition(3);
  TZDecompressionStream Z(&Source);
  EXPECT_EQ(Z.Seek(0, soEnd), 50000);
  EXPECT_EQ(Z.Seek(0, soBeginning), 0);
  EXPECT_EQ(Z.Seek(20000, soBeginning), 20000);
  EXPECT_EQ(Z.Seek(20000, soBeginning), 20000);  // where it already is
  EXPECT_EQ(Z.Seek(100, soCurrent), 20100);
  Byte B = 0;
  ASSERT_EQ(Z.Read(&B, 1), 1);
  EXPECT_EQ(B, Data[20100]);
  EXPECT_THROW(Z.Seek(5, soBeginning), EZDecompressionError);
  EXPECT_THROW(Z.Seek(-1, soCurrent), EZDecompressionError);
  EXPECT_THROW(Z.Seek(-5, soEnd), EZDecompressionError);
  // Back to the start reads the data again from where it begins in the source.
  EXPECT_EQ(Z.Seek(0, soBeginning), 0);
  ASSERT_EQ(Z.Read(&B, 1), 1);
  EXPECT_EQ(B, Data[0]);
  EXPECT_THROW(Z.Write(&B, 1), EZDecompressionError);
}

TEST(ZLibStreams, DecompressionFollowsTheSourceWhenMovedInBetween) {
  const auto Data = Pattern(200000);
  const auto Packed = Deflate(Data);
  TMemoryStream Source;
  Source.Write(Packed.data(), static_cast<Integer>(Packed.size()));
  Source.SetPosition(0);
  TZDecompressionStream Z(&Source);
  std::vector<Byte> Out(Data.size());
  Z.Read(Out.data(), 1000);
  Source.SetPosition(0);  // someone else moved it
  Z.Read(Out.data() + 1000, static_cast<Integer>(Data.size()) - 1000);
  EXPECT_EQ(Out, Data);
}

TEST(ZLibStreams, BadDataRaisesZlibsText) {
  const std::vector<Byte> Junk = {0x78, 0x9C, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  TMemoryStream Source;
  Source.Write(Junk.data(), static_cast<Integer>(Junk.size()));
  Source.SetPosition(0);
  TZDecompressionStream Z(&Source);
  Byte Out[16];
  try {
    Z.Read(Out, 16);
    FAIL();
  } catch (const EZDecompressionError& E) {
    EXPECT_EQ(E.GetMessage(), "data error");
  }
}

TEST(ZLibBuffers, InflateBufferGrowsAndShrinksToTheData) {
  const auto Data = Pattern(70000);
  const auto Packed = Deflate(Data);
  for (Integer Estimate : {0, 10, 70000, 200000}) {
    std::vector<Byte> Out;
    InflateBuffer(Packed.data(), static_cast<Integer>(Packed.size()), Out, Estimate);
    EXPECT_EQ(Out, Data) << Estimate;
  }
}

TEST(ZLibBuffers, InflateBufferRefusesTruncatedAndDictionaryData) {
  const auto Packed = Deflate(Pattern(70000));
  std::vector<Byte> Out;
  EXPECT_THROW(InflateBuffer(Packed.data(), static_cast<Integer>(Packed.size() / 2), Out, 0),
               EZDecompressionError);
  EXPECT_TRUE(Out.empty());
  // A stream header asking for a preset dictionary: 0x78 0xBB (FDICT set) and a dictionary id.
  const std::vector<Byte> Dict = {0x78, 0xBB, 0, 0, 0, 1, 0x03, 0x00};
  EXPECT_THROW(InflateBuffer(Dict.data(), static_cast<Integer>(Dict.size()), Out, 0), EZDecompressionError);
}

// The zlib streams of stored skins: byte-exact round trips at the maximum level, data cut short,
// and the operations each direction refuses.
#include <gtest/gtest.h>

#include <string>

#include "platform/system/Random.h"
#include "skin/data/bszlibcompress.h"
#include "tests/skin/data/SkinPayload.h"

namespace {

// Several buffers' worth of bytes that compress poorly, so the streams refill their buffers.
std::string Noise(std::size_t Size) {
  std::string S(Size, '\0');
  Cardinal X = 12345;
  for (char& C : S) {
    X = X * 1103515245u + 12345u;
    C = static_cast<char>(X >> 24);
  }
  return S;
}

std::string Inflated(const std::string& Compressed) {
  TStringStream Source(Compressed), Target;
  DecompressStream(&Target, &Source);
  return Target.GetDataString();
}

template <class E>
std::string MessageOf(auto&& Call) {
  try {
    Call();
  } catch (const E& Error) {
    return Error.GetMessage();
  }
  return "(nothing raised)";
}

TEST(ZlibStreamTest, RoundTripIsExactAndStartsWithTheMaximumLevelHeader) {
  for (const std::string& Payload :
       {std::string(), std::string("skin"), Noise(3 * ZlibBufferSize + 17), std::string(100000, 'a')}) {
    const std::string Packed = SkinPayload::Compressed(Payload);
    ASSERT_GE(Packed.size(), 2u);
    EXPECT_EQ(static_cast<Byte>(Packed[0]), 0x78);
    EXPECT_EQ(static_cast<Byte>(Packed[1]), 0xDA);
    EXPECT_EQ(Inflated(Packed), Payload) << Payload.size();
  }
}

TEST(ZlibStreamTest, DataCutShortOrNotZlibIsACompressionError) {
  const std::string Packed = SkinPayload::Compressed(Noise(10000));
  for (std::size_t Keep : {std::size_t{0}, std::size_t{1}, std::size_t{100}, Packed.size() - 1})
    EXPECT_EQ(MessageOf<EDecompressionError>([&] { Inflated(Packed.substr(0, Keep)); }), "compression error")
        << Keep;
  EXPECT_EQ(MessageOf<EDecompressionError>([&] { Inflated("this is not zlib data"); }), "compression error");
  // Bytes after the end of the zlib stream are left alone.
  EXPECT_EQ(Inflated(SkinPayload::Compressed("abc") + "trailing"), "abc");
}

TEST(ZlibStreamTest, EachDirectionRefusesTheOther) {
  TMemoryStream Target;
  {
    TCompressionStream C(TCompressionLevel::clMax, &Target);
    C.WriteBuffer("abcdef", 6);
    EXPECT_EQ(C.Seek(0, soCurrent), 6);
    char B;
    EXPECT_EQ(MessageOf<ECompressionError>([&] { C.Read(&B, 1); }), "Invalid stream operation");
    EXPECT_EQ(MessageOf<ECompressionError>([&] { C.Seek(1, soCurrent); }), "Invalid stream operation");
  }
  Target.SetPosition(0);
  TDecompressionStream D(&Target);
  EXPECT_EQ(MessageOf<EDecompressionError>([&] { D.Write("x", 1); }), "Invalid stream operation");
  char Two[2];
  D.ReadBuffer(Two, 2);
  // Forward moves read on; the current position from the start, and back or from the end, raise.
  EXPECT_EQ(D.Seek(1, soCurrent), 3);
  EXPECT_EQ(MessageOf<EDecompressionError>([&] { D.Seek(3, soBeginning); }), "Invalid stream operation");
  EXPECT_EQ(MessageOf<EDecompressionError>([&] { D.Seek(-1, soCurrent); }), "Invalid stream operation");
  EXPECT_EQ(MessageOf<EDecompressionError>([&] { D.Seek(0, soEnd); }), "Invalid stream operation");
  EXPECT_EQ(D.Seek(5, soBeginning), 5);
  // Back to the start reads it all again.
  EXPECT_EQ(D.Seek(0, soBeginning), 0);
  char Six[6];
  D.ReadBuffer(Six, 6);
  EXPECT_EQ(std::string(Six, 6), "abcdef");
  EXPECT_EQ(D.Read(Six, 6), 0);
}

}  // namespace

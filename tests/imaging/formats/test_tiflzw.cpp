// The TIFF LZW codec: its bit layout checked against codes packed here by hand, the early
// width switch, round trips across every width and table clear, fill order, damaged strips,
// and its installation as the library's codec.
#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>
#include <vector>

#include "FormatsTestSupport.h"
#include "imaging/core/ieutilsbits.h"
#include "imaging/formats/ieformats.h"
#include "imaging/formats/tiflzw.h"
#include "imaging/io/ieiolibrary.h"
#include "platform/system/Streams.h"

namespace {

// Codes packed most significant bit first, the last byte filled with zero bits.
class TCodePacker {
 public:
  void Put(Integer Code, Integer Width) {
    for (Integer Bit = Width - 1; Bit >= 0; --Bit) {
      if (FBits % 8 == 0) FBytes.push_back(0);
      if ((Code >> Bit) & 1) FBytes.back() |= static_cast<Byte>(0x80 >> (FBits % 8));
      ++FBits;
    }
  }
  const std::vector<Byte>& Bytes() const { return FBytes; }

 private:
  std::vector<Byte> FBytes;
  Integer FBits = 0;
};

std::vector<Byte> Packed(const std::vector<Integer>& Codes) {
  TCodePacker Packer;
  for (Integer Code : Codes) Packer.Put(Code, 9);
  return Packer.Bytes();
}

std::vector<Byte> Compress(const std::vector<Byte>& Data, Integer RowLength) {
  TMemoryStream Stream;
  void* Context = nullptr;
  for (size_t Pos = 0; Pos < Data.size(); Pos += RowLength) {
    const Integer Count = static_cast<Integer>(std::min<size_t>(RowLength, Data.size() - Pos));
    TiffLzwCompress(Data.data() + Pos, Count, &Stream, Context);
  }
  TiffLzwCompress(nullptr, 0, &Stream, Context);
  EXPECT_EQ(Context, nullptr);
  return StreamBytes(Stream);
}

// Rows of the strip until one fails; the failed row is not included.
std::vector<std::vector<Byte>> DecodeRows(const std::vector<Byte>& Strip, Integer RowLength, Integer Rows,
                                          Integer FillOrder = 1) {
  std::vector<std::vector<Byte>> Result;
  void* Context = nullptr;
  for (Integer Row = 0; Row < Rows; ++Row) {
    const Byte* Bytes =
        TiffLzwDecompress(Strip.data(), static_cast<Integer>(Strip.size()), RowLength, Context, FillOrder);
    if (!Bytes) break;
    Result.emplace_back(Bytes, Bytes + RowLength);
  }
  if (Context) TiffLzwDecompress(nullptr, 0, 0, Context, FillOrder);
  EXPECT_EQ(Context, nullptr);
  return Result;
}

std::vector<Byte> Joined(const std::vector<std::vector<Byte>>& Rows) {
  std::vector<Byte> All;
  for (const auto& Row : Rows) All.insert(All.end(), Row.begin(), Row.end());
  return All;
}

std::vector<Byte> RandomBytes(size_t Count, Integer Levels, unsigned Seed) {
  std::mt19937 Random(Seed);
  std::vector<Byte> Data(Count);
  for (Byte& B : Data) B = static_cast<Byte>(Random() % Levels);
  return Data;
}

}  // namespace

TEST(TiffLzw, EncoderPacksNineBitCodesMostSignificantBitFirst) {
  // "AAAA": clear, A, "AA" (258), A, end.
  EXPECT_EQ(Compress({65, 65, 65, 65}, 4), Packed({256, 65, 258, 65, 257}));
}

TEST(TiffLzw, EncodingNothingInAContinuationChangesNothing) {
  TMemoryStream Plain, WithEmpty;
  void* A = nullptr;
  void* B = nullptr;
  const std::vector<Byte> Data = {1, 2, 3, 1, 2, 3};
  TiffLzwCompress(Data.data(), 6, &Plain, A);
  TiffLzwCompress(Data.data(), 6, &WithEmpty, B);
  TiffLzwCompress(Data.data(), 0, &WithEmpty, B);
  TiffLzwCompress(nullptr, 0, &Plain, A);
  TiffLzwCompress(nullptr, 0, &WithEmpty, B);
  EXPECT_EQ(StreamBytes(Plain), StreamBytes(WithEmpty));
}

TEST(TiffLzw, DecoderSwitchesToTenBitsRightAfterThe511thEntry) {
  // After the clear, codes 1 to 254 are 9 bits wide; the 254th makes entry 510 and the next
  // index 511, so code 255 on is 10 bits wide.
  TCodePacker Strip;
  Strip.Put(256, 9);
  std::vector<Byte> Expected;
  for (Integer N = 1; N <= 300; ++N) {
    const Integer Value = (N * 7) % 256;
    Strip.Put(Value, N <= 254 ? 9 : 10);
    Expected.push_back(static_cast<Byte>(Value));
  }
  Strip.Put(257, 10);
  EXPECT_EQ(Joined(DecodeRows(Strip.Bytes(), 300, 1)), Expected);
}

TEST(TiffLzw, RoundTripsAcrossEveryWidthAndTableClear) {
  struct TCase {
    const char* Name;
    std::vector<Byte> Data;
    Integer RowLength;
  };
  std::vector<Byte> Ramp(20000);
  for (size_t I = 0; I < Ramp.size(); ++I) Ramp[I] = static_cast<Byte>(I / 3);
  const TCase Cases[] = {
      // Nearly one code per byte: every width and several clears at 4094 codes.
      {"random bytes", RandomBytes(30000, 256, 1), 97},
      {"few levels, long strings", RandomBytes(40000, 3, 2), 640},
      {"one value, strings over 32 bytes", std::vector<Byte>(50000, 9), 1000},
      {"ramp, one-byte rows", std::vector<Byte>(Ramp.begin(), Ramp.begin() + 3000), 1},
      {"ramp", Ramp, 333},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    const Integer Rows = static_cast<Integer>(Case.Data.size() / Case.RowLength);
    const std::vector<Byte> Strip = Compress(Case.Data, Case.RowLength);
    const auto Decoded = DecodeRows(Strip, Case.RowLength, Rows);
    ASSERT_EQ(Decoded.size(), static_cast<size_t>(Rows));
    EXPECT_TRUE(Joined(Decoded) ==
                std::vector<Byte>(Case.Data.begin(), Case.Data.begin() + Rows * Case.RowLength));
  }
}

TEST(TiffLzw, ReversedFillOrderReadsTheSameBytes) {
  const std::vector<Byte> Data = RandomBytes(5000, 16, 3);
  std::vector<Byte> Strip = Compress(Data, 100);
  for (Byte& B : Strip) IEReverseBits8(B);
  EXPECT_EQ(Joined(DecodeRows(Strip, 100, 50, 2)), Data);
  EXPECT_NE(Joined(DecodeRows(Strip, 100, 50, 1)), Data);
}

TEST(TiffLzw, AStringPastTheRowEndIsKeptForTheNextRow) {
  // A B C D, then "AB" (258) crosses the end of the first 5-byte row, "CD" (260) follows.
  const auto Rows = DecodeRows(Packed({256, 'A', 'B', 'C', 'D', 258, 260, 257}), 5, 2);
  ASSERT_EQ(Rows.size(), 2u);
  EXPECT_EQ(Rows[0], (std::vector<Byte>{'A', 'B', 'C', 'D', 'A'}));
  // The end code cuts the second row: its last two bytes are the buffer's former ones.
  EXPECT_EQ(Rows[1], (std::vector<Byte>{'B', 'C', 'D', 'D', 'A'}));
}

TEST(TiffLzw, EarlyEndsKeepTheBufferAndDamageFails) {
  struct TCase {
    const char* Name;
    std::vector<Integer> Codes;
    bool Fails;
    std::vector<Byte> FirstRow;
  };
  const TCase Cases[] = {
      {"clear then end", {256, 257}, false, {0, 0, 0}},
      {"row cut by the end code", {256, 'x', 257}, false, {'x', 0, 0}},
      {"code beyond the table after a clear", {256, 300}, true, {}},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    const auto Rows = DecodeRows(Packed(Case.Codes), 3, 1);
    ASSERT_EQ(Rows.empty(), Case.Fails);
    if (!Case.Fails) {
      EXPECT_EQ(Rows[0], Case.FirstRow);
    }
  }
}

TEST(TiffLzw, ADamagedContextFailsEveryLaterRow) {
  void* Context = nullptr;
  const std::vector<Byte> Bytes = Packed({256, 'a', 257, 256, 400});
  const Integer Size = static_cast<Integer>(Bytes.size());
  EXPECT_NE(TiffLzwDecompress(Bytes.data(), Size, 1, Context, 1), nullptr);  // 'a'
  EXPECT_NE(TiffLzwDecompress(Bytes.data(), Size, 1, Context, 1), nullptr);  // cut by the end code
  EXPECT_EQ(TiffLzwDecompress(Bytes.data(), Size, 1, Context, 1), nullptr);  // 400 after a clear
  EXPECT_EQ(TiffLzwDecompress(Bytes.data(), Size, 1, Context, 1), nullptr);
  TiffLzwDecompress(nullptr, 0, 0, Context, 1);
  EXPECT_EQ(Context, nullptr);
}

TEST(TiffLzw, ANewEntryCodeWithNoStringBeforeItIsDamage) {
  // The end code right after a clear leaves no previous string to build entry 258 from.
  const auto Rows = DecodeRows(Packed({256, 257, 258, 'a'}), 1, 2);
  EXPECT_EQ(Rows.size(), 1u);
}

TEST(TiffLzw, ATruncatedStripStopsAtItsEnd) {
  const std::vector<Byte> Data = RandomBytes(4000, 256, 4);
  std::vector<Byte> Strip = Compress(Data, 100);
  Strip.resize(Strip.size() / 2);
  const auto Rows = DecodeRows(Strip, 100, 40);
  ASSERT_EQ(Rows.size(), 40u);  // rows past the data come back with what the buffer held
  EXPECT_EQ(std::vector<Byte>(Rows[0]), std::vector<Byte>(Data.begin(), Data.begin() + 100));
}

namespace {

// A little-endian one-strip 8-bit grey TIFF around an LZW strip.
std::vector<Byte> GreyTiff(Integer Width, Integer Height, const std::vector<Byte>& Strip) {
  const std::array<std::array<Cardinal, 3>, 9> Tags = {{{256, 4, Cardinal(Width)},
                                                        {257, 4, Cardinal(Height)},
                                                        {258, 3, 8},
                                                        {259, 3, 5},
                                                        {262, 3, 1},
                                                        {273, 4, 8 + 2 + 9 * 12 + 4},
                                                        {277, 3, 1},
                                                        {278, 4, Cardinal(Height)},
                                                        {279, 4, Cardinal(Strip.size())}}};
  std::vector<Byte> File = {'I', 'I', 42, 0, 8, 0, 0, 0, 9, 0};
  auto Put = [&](Cardinal Value, Integer Bytes) {
    for (Integer I = 0; I < Bytes; ++I) File.push_back(static_cast<Byte>(Value >> (8 * I)));
  };
  for (const auto& [Tag, Type, Value] : Tags) {
    Put(Tag, 2);
    Put(Type, 2);
    Put(1, 4);
    Put(Value, 4);
  }
  Put(0, 4);
  File.insert(File.end(), Strip.begin(), Strip.end());
  return File;
}

}  // namespace

TEST(TiffLzw, ImageMagickDecodesWhatWeCode) {
  if (!ToolPresent("convert")) GTEST_SKIP() << "ImageMagick is not installed";
  const Integer Width = 200, Height = 150;
  std::vector<Byte> Pixels = RandomBytes(static_cast<size_t>(Width) * Height, 256, 6);
  std::fill(Pixels.begin(), Pixels.begin() + 4000, 17);  // long strings too
  TTempFile File("coded.tif");
  File.Write(GreyTiff(Width, Height, Compress(Pixels, Width)));
  const std::string Grey = ShellOutput("convert '" + File.Path() + "' -depth 8 gray:- 2>/dev/null");
  EXPECT_TRUE(std::vector<Byte>(Grey.begin(), Grey.end()) == Pixels);
}

TEST(TiffLzw, TheFurtherFormatsInstallTheCodecForTheStartUp) {
  IEFormatsInstall();
  IOLibraryInitialize();
  EXPECT_EQ(IETiffLzwDecompressProc, &TiffLzwDecompress);
  EXPECT_EQ(IETiffLzwCompressProc, &TiffLzwCompress);
  IOLibraryFinalize();
}

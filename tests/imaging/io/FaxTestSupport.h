#pragma once
// Bilevel pictures as rows of bits and the fax strips made from them: one call codes or decodes
// a whole strip of each kind the TIFF filter uses.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "imaging/io/tifccitt.h"
#include "platform/system/Streams.h"

namespace faxtest {

// The strip kinds of TIFF compressions 2, 3 (one- and two-dimensional) and 4.
enum TFaxKind { fkHuffman, fkG3OneD, fkG3TwoD, fkG4 };
inline const char* KindName(TFaxKind Kind) {
  static const char* const Names[] = {"Huffman", "G3OneD", "G3TwoD", "G4"};
  return Names[Kind];
}

// Rows in the encoders' sense: a set bit is black; bits past the width are clear.
struct TFaxPicture {
  Integer Width = 0;
  std::vector<std::vector<Byte>> Rows;

  TFaxPicture() = default;
  // Rows of width 0 keep one byte, so that they are never taken for the encoders' nil row.
  TFaxPicture(Integer AWidth, Integer Height)
      : Width(AWidth), Rows(Height, std::vector<Byte>(std::max(1, (AWidth + 7) / 8))) {}
  bool Black(Integer X, Integer Y) const { return (Rows[Y][X >> 3] & (0x80 >> (X & 7))) != 0; }
  void SetBlack(Integer X, Integer Y) { Rows[Y][X >> 3] |= static_cast<Byte>(0x80 >> (X & 7)); }
  void Fill(Integer Y, Integer From, Integer To) {
    for (Integer X = From; X < To; ++X) SetBlack(X, Y);
  }
  bool operator==(const TFaxPicture&) const = default;
};

// Row Y as "." (white) and "#" (black), for readable failures.
inline std::string Show(const TFaxPicture& Picture, Integer Y) {
  std::string Text;
  for (Integer X = 0; X < Picture.Width; ++X) Text += Picture.Black(X, Y) ? '#' : '.';
  return Text;
}

inline void ExpectSamePicture(const TFaxPicture& Actual, const TFaxPicture& Expected) {
  ASSERT_EQ(Actual.Rows.size(), Expected.Rows.size());
  for (size_t Y = 0; Y < Expected.Rows.size(); ++Y)
    ASSERT_EQ(Show(Actual, Y), Show(Expected, Y)) << "row " << Y;
}

// A strip written through the encoder of Kind, closed as the TIFF writer closes it.
inline std::string Encode(TFaxKind Kind, const TFaxPicture& Picture, Integer FillOrder = 1) {
  TStringStream Stream;
  bool Aborting = false;
  Integer PendingCount = 0;
  Byte PendingByte = 0;
  std::unique_ptr<Byte[]> RefRow;
  for (const auto& Row : Picture.Rows) {
    switch (Kind) {
      case fkHuffman:
        CCITTEncodeHuffmanRow(Row.data(), Picture.Width, &Stream, FillOrder, &Aborting);
        break;
      case fkG3OneD:
        CCITTEncode1DRow(Row.data(), Picture.Width, &Stream, FillOrder, &Aborting, PendingCount, PendingByte);
        break;
      case fkG3TwoD:
        CCITTG3Encode2DRow(Row.data(), Picture.Width, &Stream, FillOrder, &Aborting, RefRow, PendingCount,
                           PendingByte);
        break;
      case fkG4:
        CCITTG4EncodeRow(Row.data(), Picture.Width, &Stream, FillOrder, &Aborting, RefRow, PendingCount,
                         PendingByte);
        break;
    }
  }
  if (Kind == fkG3OneD)
    CCITTEncode1DRow(nullptr, 0, &Stream, FillOrder, &Aborting, PendingCount, PendingByte);
  if (Kind == fkG3TwoD)
    CCITTG3Encode2DRow(nullptr, Picture.Width, &Stream, FillOrder, &Aborting, RefRow, PendingCount,
                       PendingByte);
  if (Kind == fkG4)
    CCITTG4EncodeRow(nullptr, Picture.Width, &Stream, FillOrder, &Aborting, RefRow, PendingCount,
                     PendingByte);
  EXPECT_FALSE(Aborting);
  EXPECT_EQ(RefRow, nullptr);
  return Stream.GetDataString();
}

// Height rows decoded from a strip as the TIFF reader walks it, turned to the encoders' sense.
// Each row is decoded into a buffer of exactly its size, so a sanitizer build sees overruns.
inline TFaxPicture Decode(TFaxKind Kind, const std::string& Strip, Integer Width, Integer Height,
                          Integer FillOrder = 1, bool G4EOLFill = false) {
  TFaxPicture Picture(Width, Height);
  const auto* Data = reinterpret_cast<const Byte*>(Strip.data());
  const Integer Length = static_cast<Integer>(Strip.size());
  const size_t RowBytes = (Width + 7) / 8;
  std::vector<Byte> RefRow(RowBytes, 0xFF);
  Integer Pos = 0;  // bytes for Huffman rows, bits otherwise
  for (Integer Y = 0; Y < Height; ++Y) {
    std::vector<Byte> Row(RowBytes);
    switch (Kind) {
      case fkHuffman:
        Pos += CCITTDecodeHuffmanRow(Row.data(), Data + Pos, Length - Pos, FillOrder, Width);
        break;
      case fkG3OneD:
        Pos = CCITTDecode1DRow(Row.data(), Data, Length, FillOrder, Pos, Width);
        break;
      case fkG3TwoD:
        Pos = CCITTDecode2DRow(Row.data(), Data, Length, true, FillOrder, Pos, RefRow.data(), Width);
        break;
      case fkG4:
        Pos = CCITTDecode2DRow(Row.data(), Data, Length, G4EOLFill, FillOrder, Pos, RefRow.data(), Width);
        break;
    }
    for (Integer X = 0; X < Width; ++X)
      if (!(Row[X >> 3] & (0x80 >> (X & 7)))) Picture.SetBlack(X, Y);
  }
  return Picture;
}

// Bytes from a text of bits ("0101 1..."; blanks are ignored), zero bits filling the last byte;
// with fill order 2 each byte's bits are reversed.
inline std::string Bits(const std::string& Text, Integer FillOrder = 1) {
  std::string Bytes;
  Integer Count = 0;
  for (char C : Text) {
    if (C != '0' && C != '1') continue;
    if (Count % 8 == 0) Bytes += '\0';
    const Integer Bit = FillOrder == 2 ? Count % 8 : 7 - Count % 8;
    if (C == '1') Bytes.back() = static_cast<char>(Bytes.back() | (1 << Bit));
    ++Count;
  }
  return Bytes;
}

// A portable bitmap ("P4" raw) as a picture: its set bits are black, as in ours.
inline TFaxPicture FromPbm(const std::string& Pbm) {
  Integer Width = 0, Height = 0, Used = 0;
  if (std::sscanf(Pbm.c_str(), "P4 %d %d%n", &Width, &Height, &Used) != 2 || Width <= 0 || Height <= 0)
    return {};
  if (Pbm.size() < Used + 1 + static_cast<size_t>((Width + 7) / 8) * Height) return {};
  TFaxPicture Picture(Width, Height);
  const size_t RowBytes = (Width + 7) / 8;
  const size_t Start = Used + 1;  // one blank after the height
  for (Integer Y = 0; Y < Height; ++Y) {
    Picture.Rows[Y].assign(Pbm.begin() + Start + Y * RowBytes, Pbm.begin() + Start + (Y + 1) * RowBytes);
    if (Width % 8) Picture.Rows[Y].back() &= static_cast<Byte>(0xFF << (8 - Width % 8));
  }
  return Picture;
}

// Builds the decode trees for every test; other tests may have shut the library down before.
class TFaxTest : public testing::Test {
 protected:
  void SetUp() override { CCITTInitialize(); }
};

}  // namespace faxtest

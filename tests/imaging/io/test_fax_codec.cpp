// The fax codec on its own: exact codes for known rows, round trips through every strip kind
// and both fill orders, and how rows end on EOLs, on missing data and on damaged data.
#include <gtest/gtest.h>

#include <random>

#include "imaging/core/hyieutils.h"
#include "imaging/core/iestreams.h"
#include "imaging/core/ieutilsbits.h"
#include "imaging/io/ieiolibrary.h"
#include "tests/imaging/io/FaxTestSupport.h"

using namespace faxtest;

namespace {

const char* const Eol = "000000000001";

TFaxPicture Blank(Integer Width, Integer Height) {
  return TFaxPicture(Width, Height);
}

// Runs of random lengths, short ones mostly, so that every mode and many codes occur.
TFaxPicture Random(Integer Width, Integer Height, unsigned Seed, Integer LongestRun = 40) {
  TFaxPicture Picture(Width, Height);
  std::mt19937 Rng(Seed);
  std::uniform_int_distribution<Integer> Run(1, LongestRun);
  for (Integer Y = 0; Y < Height; ++Y) {
    bool Black = Rng() % 2;
    for (Integer X = 0; X < Width; Black = !Black) {
      const Integer End = std::min(Width, X + Run(Rng));
      if (Black) Picture.Fill(Y, X, End);
      X = End;
    }
  }
  return Picture;
}

// Every other pixel black, shifting by one from row to row: the most codes a row can take.
TFaxPicture Checkers(Integer Width, Integer Height) {
  TFaxPicture Picture(Width, Height);
  for (Integer Y = 0; Y < Height; ++Y)
    for (Integer X = (Y % 2); X < Width; X += 2) Picture.SetBlack(X, Y);
  return Picture;
}

TFaxPicture Solid(Integer Width, Integer Height) {
  TFaxPicture Picture(Width, Height);
  for (Integer Y = 0; Y < Height; ++Y) Picture.Fill(Y, 0, Width);
  return Picture;
}

// A row of a picture held in a buffer of its own size; decoded rows are white where set.
std::vector<Byte> DecodedRow(Integer Width) {
  return std::vector<Byte>((Width + 7) / 8, 0x5A);
}

Integer Decode1D(std::vector<Byte>& Row, const std::string& Data, Integer Width, Integer BitPos = 0) {
  return CCITTDecode1DRow(Row.data(), reinterpret_cast<const Byte*>(Data.data()),
                          static_cast<Integer>(Data.size()), 1, BitPos, Width);
}

Integer Decode2D(std::vector<Byte>& Row, std::vector<Byte>& Ref, const std::string& Data, Integer Width,
                 Integer BitPos = 0, bool EOLFill = false) {
  return CCITTDecode2DRow(Row.data(), reinterpret_cast<const Byte*>(Data.data()),
                          static_cast<Integer>(Data.size()), EOLFill, 1, BitPos, Ref.data(), Width);
}

std::string ShowDecoded(const std::vector<Byte>& Row, Integer Width) {
  std::string Text;
  for (Integer X = 0; X < Width; ++X) Text += (Row[X >> 3] & (0x80 >> (X & 7))) ? '.' : '#';
  return Text;
}

class FaxCodec : public TFaxTest {};

}  // namespace

// Exact output for rows whose codes are known from the code tables.
TEST_F(FaxCodec, KnownRowsGiveTheirCodes) {
  TFaxPicture Black3 = Blank(8, 1);
  Black3.Fill(0, 2, 5);  // white 2, black 3, white 3
  const struct {
    const char* Name;
    TFaxKind Kind;
    TFaxPicture Picture;
    std::string Expected;
  } Cases[] = {
      // A white row is the single white run of its width.
      // Group 3 one-dimensional rows each follow an EOL.
      {"white rows, G3 1D", fkG3OneD, Blank(5, 2), Bits(std::string(Eol) + "1100" + Eol + "1100")},
      {"white row, Huffman", fkHuffman, Blank(1728, 1), Bits("010011011 00110101")},
      // A row starting black starts with a white run of 0.
      {"black row", fkHuffman, Solid(3, 1), Bits("00110101 10")},
      {"runs", fkHuffman, Black3, Bits("0111 10 1000")},
      // Runs beyond 2560 take make-up 2560 codes first.
      {"run 2600", fkHuffman, Blank(2600, 1), Bits("000000011111 00101001")},
      {"run 5200", fkHuffman, Blank(5200, 1), Bits("000000011111 000000011111 11011 101010")},
      // Against the white reference a white row is one V0; the strip ends with two EOLs.
      {"white G4", fkG4, Blank(5, 1), Bits(std::string("1") + Eol + Eol)},
      // Group 3 two-dimensional: EOL and tag 1 before the first row, EOL and tag 0 before each
      // later one, an EOL at the end.
      {"white G3 2D", fkG3TwoD, Blank(5, 2), Bits(std::string(Eol) + "1 1100" + Eol + "0 1" + Eol)},
      // Horizontal: run 0 white, run 5 black (|a1 - b1| = 5); then V0 against the black row.
      // Row 1 against the black row: V0 at 0 and V0 at the width.
      {"black G4", fkG4, Solid(5, 2), Bits(std::string("001 00110101 0011 1 1") + Eol + Eol)},
  };
  for (const auto& Case : Cases) EXPECT_EQ(Encode(Case.Kind, Case.Picture), Case.Expected) << Case.Name;
}

TEST_F(FaxCodec, TwoDimensionalModesAgainstAReferenceRow) {
  TFaxPicture Vertical(16, 2);
  Vertical.Fill(0, 4, 8);
  Vertical.Fill(1, 5, 9);    // shifted by one on both edges: VR1, VR1
  Vertical.Fill(1, 12, 14);  // far from any change of the reference: horizontal
  TFaxPicture Passing(16, 2);
  Passing.Fill(0, 2, 4);  // the reference's black run lies wholly before a1: pass
  Passing.Fill(1, 9, 10);
  const struct {
    const char* Name;
    const TFaxPicture& Picture;
    std::string Rows;
  } Cases[] = {
      // Row 0 against white: H(white 4, black 4), V0 at the end; row 1: VR1, VR1,
      // H(white 3, black 2), V0.
      {"vertical", Vertical, "001 1011 011 1   011 011 001 1000 11 1"},
      // Row 0: H(white 2, black 2), V0; row 1: pass, H(white 5, black 1), V0.
      {"pass", Passing, "001 0111 11 1   0001 001 1100 010 1"},
  };
  for (const auto& Case : Cases) {
    const std::string Strip = Encode(fkG4, Case.Picture);
    EXPECT_EQ(Strip, Bits(Case.Rows + Eol + Eol)) << Case.Name;
    ExpectSamePicture(Decode(fkG4, Strip, 16, 2), Case.Picture);
  }
}

TEST_F(FaxCodec, EveryKindRoundTripsInBothFillOrders) {
  const struct {
    const char* Name;
    TFaxPicture Picture;
  } Pictures[] = {
      {"random", Random(203, 23, 1)},    {"odd narrow", Random(7, 9, 2, 3)},
      {"one pixel", Random(1, 6, 3, 1)}, {"long runs", Random(6000, 6, 4, 3000)},
      {"checkers", Checkers(65, 6)},     {"solid", Solid(40, 3)},
      {"white", Blank(33, 3)},
  };
  for (const auto& P : Pictures)
    for (TFaxKind Kind : {fkHuffman, fkG3OneD, fkG3TwoD, fkG4})
      for (Integer FillOrder : {1, 2}) {
        SCOPED_TRACE(std::string(P.Name) + " " + KindName(Kind) + " fill order " + std::to_string(FillOrder));
        const std::string Strip = Encode(Kind, P.Picture, FillOrder);
        ExpectSamePicture(
            Decode(Kind, Strip, P.Picture.Width, static_cast<Integer>(P.Picture.Rows.size()), FillOrder),
            P.Picture);
      }
}

TEST_F(FaxCodec, FillOrderTwoIsTheBitReversedStream) {
  const TFaxPicture Picture = Random(90, 5, 7);
  for (TFaxKind Kind : {fkHuffman, fkG3OneD, fkG3TwoD, fkG4}) {
    std::string Reversed = Encode(Kind, Picture, 1);
    for (char& C : Reversed) {
      Byte B = static_cast<Byte>(C);
      IEReverseBits8(B);
      C = static_cast<char>(B);
    }
    EXPECT_EQ(Encode(Kind, Picture, 2), Reversed) << KindName(Kind);
  }
}

TEST_F(FaxCodec, RowsOfWidthZero) {
  std::vector<Byte> Row{0x5A};
  std::vector<Byte> Ref{0x5A};
  const std::string Data = Bits("0111 1000");
  EXPECT_EQ(Decode1D(Row, Data, 0, 3), 3);
  Decode2D(Row, Ref, Data, 0, 3);
  EXPECT_EQ(CCITTDecodeHuffmanRow(Row.data(), reinterpret_cast<const Byte*>(Data.data()), 1, 1, 0), 0);
  EXPECT_EQ(Row[0], 0x5A);
  EXPECT_EQ(Ref[0], 0x5A);
  EXPECT_EQ(Encode(fkHuffman, Blank(0, 2)), "");
  // Two-dimensional rows of width 0 still take one V0 each, which the decoder reads back.
  EXPECT_EQ(Encode(fkG4, Blank(0, 2)), Bits(std::string("1 1") + Eol + Eol));
}

TEST_F(FaxCodec, AnEolEndsAnUnfinishedRow) {
  // White 3, then an EOL while the next run would be black: the rest of the row is black and the
  // one-dimensional decoder goes on after the EOL.
  std::vector<Byte> Row = DecodedRow(12);
  std::string Data = Bits(std::string("1000") + Eol + "0111");
  EXPECT_EQ(Decode1D(Row, Data, 12), 16);
  EXPECT_EQ(ShowDecoded(Row, 12), "...#########");
  // White 3, black 2, EOL: the current colour is white again, the rest stays white.
  Data = Bits(std::string("1000 11") + Eol);
  EXPECT_EQ(Decode1D(Row, Data, 12), 18);
  EXPECT_EQ(ShowDecoded(Row, 12), "...##.......");
  // A leading EOL, also behind fill bits, is part of the row.
  Data = Bits(std::string("0000000") + Eol + "1000 11 0111 0011");
  EXPECT_EQ(Decode1D(Row, Data, 12), 33);
  EXPECT_EQ(ShowDecoded(Row, 12), "...##..#####");

  // Two-dimensional: V0 on the reference's black start turns the colour black; the EOL ends
  // the row black, and the position goes back to the EOL, where the next row starts.
  std::vector<Byte> Ref = DecodedRow(12);
  std::fill(Ref.begin(), Ref.end(), 0xFF);
  Ref[0] = 0x0F;  // reference: black 0..3
  Data = Bits(std::string("1") + Eol + "0 1 1");
  EXPECT_EQ(Decode2D(Row, Ref, Data, 12), 1);
  EXPECT_EQ(ShowDecoded(Row, 12), "############");
  EXPECT_EQ(ShowDecoded(Ref, 12), "############");
  // At the row's start the EOL's tag bit 0 keeps two-dimensional coding: V0, V0 against the
  // black reference row.
  EXPECT_EQ(Decode2D(Row, Ref, Data, 12, 1), 16);
  EXPECT_EQ(ShowDecoded(Row, 12), "############");
}

TEST_F(FaxCodec, ATagBitOneSwitchesARowToOneDimensional) {
  std::vector<Byte> Row = DecodedRow(10);
  std::vector<Byte> Ref(2, 0x00);  // an all-black reference the row must not follow
  // Fill bits before the EOL are accepted with EOL fill.
  const std::string Data = Bits(std::string("00000") + Eol + "1 0111 11 0111 10 000111");
  EXPECT_EQ(Decode2D(Row, Ref, Data, 10, 0, true), 36);
  EXPECT_EQ(ShowDecoded(Row, 10), "..##..###.");
  EXPECT_EQ(ShowDecoded(Ref, 10), "..##..###.");
}

TEST_F(FaxCodec, DataUsedUpLeavesTheRestWhite) {
  std::vector<Byte> Row = DecodedRow(20);
  const std::string OneD = Bits("1000 11");  // white 3, black 2, then nothing
  Decode1D(Row, OneD.substr(0, 1), 20);
  EXPECT_EQ(ShowDecoded(Row, 20), "...##...............");
  std::vector<Byte> Ref(3, 0xFF);
  const std::string TwoD = Bits("001 1000 11");  // horizontal: white 3, black 2
  Decode2D(Row, Ref, TwoD.substr(0, 2), 20);
  EXPECT_EQ(ShowDecoded(Row, 20), "...##...............");
  // A horizontal mode whose run stops after a make-up code: past the data every code reads as
  // an EOL, which ends the run (and the mode) instead of adding to it.
  std::vector<Byte> Wide = DecodedRow(100);
  std::vector<Byte> WideRef(13, 0xFF);
  EXPECT_LE(Decode2D(Wide, WideRef, Bits("001 11011"), 100), 16 + 64);
  EXPECT_EQ(ShowDecoded(Wide, 100), std::string(100, '.'));
}

// Damaged data of every kind: rows end, positions stay near the data, nothing is touched
// outside the buffers (a sanitizer build checks that).
TEST_F(FaxCodec, RandomDataEndsEveryRow) {
  std::mt19937 Rng(11);
  for (Integer Round = 0; Round < 200; ++Round) {
    std::string Data(1 + Rng() % 64, '\0');
    for (char& C : Data) C = static_cast<char>(Rng() % 4 ? Rng() : 0);
    const Integer Width = 1 + Rng() % 300;
    const Integer Limit = static_cast<Integer>(Data.size()) * 8;
    std::vector<Byte> Row = DecodedRow(Width);
    std::vector<Byte> Ref(Row.size(), 0xFF);
    Integer Pos = 0;
    for (Integer Y = 0; Y < 40 && Pos <= Limit; ++Y) {
      const Integer Next =
          Rng() % 2 ? Decode1D(Row, Data, Width, Pos) : Decode2D(Row, Ref, Data, Width, Pos, Rng() % 2);
      ASSERT_LE(Next, Limit + 64);
      Pos = std::max(Next, Pos + 1);
    }
    const Integer Used = CCITTDecodeHuffmanRow(Row.data(), reinterpret_cast<const Byte*>(Data.data()),
                                               static_cast<Integer>(Data.size()), 2, Width);
    ASSERT_LE(Used, static_cast<Integer>(Data.size()));
  }
}

TEST_F(FaxCodec, AHuffmanRowNeverUsesMoreThanItsData) {
  std::vector<Byte> Row = DecodedRow(100);
  const std::string Data = Bits("1000");  // white 3, then the data ends
  EXPECT_EQ(CCITTDecodeHuffmanRow(Row.data(), reinterpret_cast<const Byte*>(Data.data()), 1, 1, 100), 1);
}

TEST_F(FaxCodec, PositionsFarBeyondTheDataDoNotOverflow) {
  std::vector<Byte> Row = DecodedRow(8);
  std::vector<Byte> Ref(1, 0xFF);
  const std::string Data = Bits("1000");
  EXPECT_LE(Decode1D(Row, Data, 8, 0x7FFFFFF0), 8 + 64);
  EXPECT_LE(Decode2D(Row, Ref, Data, 8, 0x7FFFFFF0), 8 + 64);
  EXPECT_EQ(ShowDecoded(Row, 8), "........");
}

TEST_F(FaxCodec, AShortWriteSetsTheAbortFlagAndCodingGoesOn) {
  Byte Buffer[4] = {};
  TIEMemStream Stream(Buffer, sizeof Buffer);  // takes no bytes
  bool Aborting = false;
  const TFaxPicture Picture = Random(64, 2, 5);
  CCITTEncodeHuffmanRow(Picture.Rows[0].data(), 64, &Stream, 1, &Aborting);
  EXPECT_TRUE(Aborting);
  std::unique_ptr<Byte[]> RefRow;
  Integer PendingCount = 0;
  Byte PendingByte = 0;
  CCITTG4EncodeRow(Picture.Rows[0].data(), 64, &Stream, 1, &Aborting, RefRow, PendingCount, PendingByte);
  CCITTG4EncodeRow(Picture.Rows[1].data(), 64, &Stream, 1, &Aborting, RefRow, PendingCount, PendingByte);
  EXPECT_NE(RefRow, nullptr);
  CCITTG4EncodeRow(nullptr, 64, &Stream, 1, &Aborting, RefRow, PendingCount, PendingByte);
  EXPECT_EQ(RefRow, nullptr);
  EXPECT_TRUE(Aborting);
}

TEST_F(FaxCodec, WithoutTheTreesRowsStayWhite) {
  const std::string Strip = Encode(fkG3OneD, Solid(30, 2));
  CCITTFinalize();
  const TFaxPicture Decoded = Decode(fkG3OneD, Strip, 30, 2);
  CCITTInitialize();
  ExpectSamePicture(Decoded, Blank(30, 2));
  ExpectSamePicture(Decode(fkG3OneD, Strip, 30, 2), Solid(30, 2));
}

TEST(FaxLibrary, TheLibraryStartUpBuildsTheTrees) {
  const TIELibraryHooks SavedIO = IEGetLibraryHooks(iluIOLibrary);
  const TIELibraryHooks Saved = IEGetLibraryHooks(iluCCITT);
  IORegisterLibraryHooks();
  EXPECT_EQ(IEGetLibraryHooks(iluCCITT), (TIELibraryHooks{CCITTInitialize, CCITTFinalize}));
  IERegisterLibraryHooks(iluCCITT, Saved);
  IERegisterLibraryHooks(iluIOLibrary, SavedIO);
}

#pragma once
// Test-side encoders of the entropy-coded camera raw layouts (lossless JPEG, Canon CRW blocks,
// Nikon NEF differences) and small builders of the TIFF and CIFF containers, each the inverse
// of the decoder it feeds.
#include <cstdlib>
#include <initializer_list>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "CameraRawPackTestSupport.h"
#include "imaging/formats/iecamerarawdecoder.h"

// A test context over Bytes with a Height x Width picture.
class TRawDataContext : public TRawTestContext {
 public:
  TRawDataContext(const std::vector<Byte>& Bytes, Integer Height, Integer Width)
      : TRawTestContext(Height, Width) {
    SetBytes(Bytes);
  }
};

// Canonical codes of a code-length source (16 counts, then symbols): symbol -> (code, length).
// A symbol listed twice keeps its first (shortest) code.
inline std::map<Integer, std::pair<Cardinal, Integer>> RawCanonicalCodes(const Byte* Source) {
  std::map<Integer, std::pair<Cardinal, Integer>> Codes;
  Cardinal Code = 0;
  Integer Symbol = 16;
  for (Integer Length = 1; Length <= 16; ++Length, Code <<= 1)
    for (Integer N = 0; N < Source[Length - 1]; ++N, ++Code)
      Codes.try_emplace(Source[Symbol++], Code, Length);
  return Codes;
}

// A bit writer with optional JPEG byte stuffing (a zero after every 0xFF).
class TRawEntropyWriter {
 public:
  explicit TRawEntropyWriter(bool Stuff) : FStuff(Stuff) {}
  std::vector<Byte> Bytes;
  void Put(Cardinal Value, Integer Bits) {
    for (Integer B = Bits - 1; B >= 0; --B) {
      FAcc = FAcc << 1 | ((Value >> B) & 1);
      if (++FCount == 8) Emit();
    }
  }
  void Symbol(const std::map<Integer, std::pair<Cardinal, Integer>>& Codes, Integer Value) {
    const auto& [Code, Length] = Codes.at(Value);
    Put(Code, Length);
  }
  // The length of a difference and its bits, as the decoder's sign rule reads them.
  static Integer LengthOf(Integer Diff) {
    Integer Length = 0;
    while ((std::abs(Diff) >> Length) != 0) ++Length;
    return Length;
  }
  void Difference(Integer Diff, Integer Length) {
    if (Length > 0) Put(static_cast<Cardinal>(Diff >= 0 ? Diff : Diff + (1 << Length) - 1), Length);
  }
  // Pads with ones and adds spare bytes, so that the reader's look-ahead stays in the data.
  std::vector<Byte> Finish() {
    while (FCount != 0) Put(1, 1);
    for (Integer I = 0; I < 8; ++I) Bytes.push_back(0);
    return Bytes;
  }

 private:
  void Emit() {
    Bytes.push_back(static_cast<Byte>(FAcc));
    if (FStuff && FAcc == 0xFF) Bytes.push_back(0);
    FAcc = FCount = 0;
  }
  bool FStuff;
  Cardinal FAcc = 0;
  Integer FCount = 0;
};

// A code-length source with symbols 0 to 16 for lossless JPEG differences.
inline std::vector<Byte> RawJpegDifferenceSource() {
  return {0, 1, 5, 1, 1, 1, 1, 1, 1, 1, 1,  1,  1,  1,  0,  0,  // 17 codes
          0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
}

// A lossless JPEG holding Samples (rows of an even count of values), predicted as the loader
// predicts: first two columns from the row above, the rest from two columns back.
inline std::vector<Byte> RawEncodeLosslessJpeg(const TRawSamples& Samples) {
  const Integer Rows = static_cast<Integer>(Samples.size());
  const Integer Cols = static_cast<Integer>(Samples[0].size());
  std::vector<Byte> Out = {0xFF, 0xD8};
  auto Segment = [&](Integer Marker, const std::vector<Byte>& Data) {
    RawPutWord(Out, Marker, true);
    RawPutWord(Out, static_cast<Integer>(Data.size()) + 2, true);
    Out.insert(Out.end(), Data.begin(), Data.end());
  };
  Segment(0xFFC3, {12, static_cast<Byte>(Rows >> 8), static_cast<Byte>(Rows),
                   static_cast<Byte>(Cols / 2 >> 8), static_cast<Byte>(Cols / 2), 2});
  const std::vector<Byte> Source = RawJpegDifferenceSource();
  std::vector<Byte> Tables;
  for (Byte Class = 0; Class < 2; ++Class) {
    Tables.push_back(Class);
    Tables.insert(Tables.end(), Source.begin(), Source.end());
  }
  Segment(0xFFC4, Tables);
  Segment(0xFFDA, {2, 0, 0, 1, 0, 0, 0});
  const auto Codes = RawCanonicalCodes(Source.data());
  TRawEntropyWriter Writer(true);
  Integer Vertical[2] = {2048, 2048};
  Integer Horizontal[2] = {0, 0};
  for (Integer Row = 0; Row < Rows; ++Row)
    for (Integer Col = 0; Col < Cols; ++Col) {
      const Integer Value = Samples[Row][Col];
      Integer& Predictor = Col < 2 ? Vertical[Col] : Horizontal[Col & 1];
      const Integer Diff = Value - Predictor;
      Predictor = Value;
      if (Col < 2) Horizontal[Col] = Value;
      const Integer Length = TRawEntropyWriter::LengthOf(Diff);
      Writer.Symbol(Codes, Length);
      Writer.Difference(Diff, Length);
    }
  const std::vector<Byte> Data = Writer.Finish();
  Out.insert(Out.end(), Data.begin(), Data.end());
  return Out;
}

// Canon CRW blocks of Samples (RawHeight x RawWidth, 10 bits, rows a multiple of 8 and width a
// multiple of 8) coded with table set Table, without separate low bits.
inline std::vector<Byte> RawEncodeCanonBlocks(const TRawSamples& Samples, Integer Table) {
  const TRawCanonTableSet& Set = RawCanonTableSets[Table];
  const auto First = RawCanonicalCodes(Set.First);
  const auto Second = RawCanonicalCodes(Set.Second);
  const Integer Width = static_cast<Integer>(Samples[0].size());
  TRawEntropyWriter Writer(true);
  Integer Base[2] = {512, 512};
  Integer Carry = 0;
  Int64 Count = 0;
  for (std::size_t Band = 0; Band < Samples.size(); Band += 8) {
    std::vector<Integer> Flat;
    for (std::size_t R = Band; R < Band + 8; ++R)
      Flat.insert(Flat.end(), Samples[R].begin(), Samples[R].end());
    for (std::size_t Block = 0; Block < Flat.size(); Block += 64) {
      Integer Diffs[64];
      for (Integer I = 0; I < 64; ++I) {
        if (Count++ % Width == 0) Base[0] = Base[1] = 512;
        Diffs[I] = Flat[Block + I] - Base[I & 1];
        Base[I & 1] = Flat[Block + I];
      }
      const Integer Dc = Diffs[0] - Carry;
      Carry = Diffs[0];
      Writer.Symbol(First, TRawEntropyWriter::LengthOf(Dc));
      Writer.Difference(Dc, TRawEntropyWriter::LengthOf(Dc));
      Integer Run = 0;
      for (Integer I = 1; I < 64; ++I) {
        if (Diffs[I] == 0) {
          ++Run;
          continue;
        }
        for (; Run > 15; Run -= 16) Writer.Symbol(Second, 0xF0);
        const Integer Length = TRawEntropyWriter::LengthOf(Diffs[I]);
        Writer.Symbol(Second, Run << 4 | Length);
        Writer.Difference(Diffs[I], Length);
        Run = 0;
      }
      if (Run > 0) Writer.Symbol(Second, 0x00);
    }
  }
  return Writer.Finish();
}

// Nikon compressed rows: differences against the row-parity vertical predictors Start.
inline std::vector<Byte> RawEncodeNikonRows(const TRawSamples& Samples, const Integer (&Start)[2][2]) {
  const auto Codes = RawCanonicalCodes(RawNikonSource);
  TRawEntropyWriter Writer(false);
  Integer Vertical[2][2] = {{Start[0][0], Start[0][1]}, {Start[1][0], Start[1][1]}};
  Integer Horizontal[2] = {0, 0};
  for (std::size_t Row = 0; Row < Samples.size(); ++Row)
    for (std::size_t Col = 0; Col < Samples[Row].size(); ++Col) {
      const Integer Value = Samples[Row][Col];
      Integer& Predictor = Col < 2 ? Vertical[Row & 1][Col] : Horizontal[Col & 1];
      const Integer Diff = Value - Predictor;
      Predictor = Value;
      if (Col < 2) Horizontal[Col] = Value;
      Writer.Symbol(Codes, TRawEntropyWriter::LengthOf(Diff));
      Writer.Difference(Diff, TRawEntropyWriter::LengthOf(Diff));
    }
  return Writer.Finish();
}

// A byte image grown on demand, with values in either byte order.
class TRawFileBuilder {
 public:
  explicit TRawFileBuilder(bool BigEndian) : FBig(BigEndian) {}
  std::vector<Byte> Bytes;
  void At(std::size_t Offset) {
    if (Bytes.size() < Offset) Bytes.resize(Offset);
    FPos = Offset;
  }
  std::size_t Position() const { return FPos; }
  void Put1(Integer Value) {
    if (Bytes.size() <= FPos) Bytes.resize(FPos + 1);
    Bytes[FPos++] = static_cast<Byte>(Value);
  }
  void Put2(Integer Value) {
    Put1(FBig ? Value >> 8 : Value);
    Put1(FBig ? Value : Value >> 8);
  }
  void Put4(Cardinal Value) {
    Put2(static_cast<Integer>(FBig ? Value >> 16 : Value & 0xFFFF));
    Put2(static_cast<Integer>(FBig ? Value & 0xFFFF : Value >> 16));
  }
  void PutText(const std::string& Text) {
    for (char Ch : Text) Put1(Ch);
    Put1(0);
  }
  void PutBytes(const std::vector<Byte>& Data) {
    for (Byte B : Data) Put1(B);
  }

 private:
  bool FBig;
  std::size_t FPos = 0;
};

// One IFD entry: tag, type, count and value (or offset), written at the builder's position.
inline void RawPutEntry(TRawFileBuilder& File, Integer Tag, Integer Type, Cardinal Count, Cardinal Value) {
  File.Put2(Tag);
  File.Put2(Type);
  File.Put4(Count);
  if (Type == 3 && Count < 3) {
    File.Put2(static_cast<Integer>(Value));
    File.Put2(0);
  } else {
    File.Put4(Value);
  }
}

// A CIFF record and heap: the records' data, then the table, then the table's offset; a
// self-nested heap also lists itself as a sub-heap.
struct TRawCiffRecord {
  Integer Type;
  std::vector<Byte> Data;
};

// A heap of Records (data first, then the table, then the table's offset).
inline std::vector<Byte> RawCiffHeap(const std::vector<TRawCiffRecord>& Records, bool SelfNested = false) {
  TRawFileBuilder Heap(false);
  std::vector<std::pair<Cardinal, Cardinal>> Places;
  for (const auto& R : Records) {
    Places.emplace_back(static_cast<Cardinal>(Heap.Position()), static_cast<Cardinal>(R.Data.size()));
    Heap.PutBytes(R.Data);
  }
  const Cardinal Table = static_cast<Cardinal>(Heap.Position());
  Heap.Put2(static_cast<Integer>(Records.size() + (SelfNested ? 1 : 0)));
  for (std::size_t I = 0; I < Records.size(); ++I) {
    Heap.Put2(Records[I].Type);
    Heap.Put4(Places[I].second);
    Heap.Put4(Places[I].first);
  }
  const std::size_t SelfAt = Heap.Position();
  if (SelfNested) {
    Heap.Put2(0x300A);
    Heap.Put4(0);  // patched below: the whole heap
    Heap.Put4(0);
  }
  Heap.Put4(Table);
  if (SelfNested) {
    Heap.At(SelfAt + 2);
    Heap.Put4(static_cast<Cardinal>(Heap.Bytes.size()));
  }
  return Heap.Bytes;
}

inline std::vector<Byte> RawWords(std::initializer_list<Integer> Values, std::size_t At = 0) {
  TRawFileBuilder B(false);
  B.At(At);
  for (Integer V : Values) B.Put2(V);
  return B.Bytes;
}

inline std::vector<Byte> RawText(const std::string& S) {
  return {S.begin(), S.end()};
}

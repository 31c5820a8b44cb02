// The lossless JPEG process (SOF3): Huffman-coded differences from one of seven predictors,
// as DICOM stores lossless frames. One interleaved scan, all components sampled 1:1.
#include <algorithm>
#include <array>
#include <vector>

#include "imaging/formats/iedicom.h"
#include "imaging/io/iereadlimits.h"

namespace {

constexpr Integer MaxHuffmanTables = 4;
constexpr Integer MaxComponents = 4;
// Differences have the categories 0 to 16.
constexpr Integer MaxHuffmanSymbols = 17;
constexpr Integer LookaheadBits = 8;

Integer BE16(const Byte* P) {
  return (P[0] << 8) | P[1];
}

struct THuffmanTable {
  bool Defined = false;
  std::vector<Byte> Values;
  std::array<Integer, 18> MaxCode{};  // per code length; -1 when no code has it
  std::array<Integer, 17> MinCode{};
  std::array<Integer, 17> ValuePointer{};
  std::array<Byte, 1 << LookaheadBits> LookLength{};  // 0: the code is longer
  std::array<Byte, 1 << LookaheadBits> LookValue{};

  // Counts are the numbers of codes of length 1 to 16; false for a table no code can hold.
  bool Build(const Byte* Counts, const Byte* Symbols, Integer Total) {
    Values.assign(Symbols, Symbols + Total);
    LookLength.fill(0);
    Integer Code = 0, K = 0;
    for (Integer Length = 1; Length <= 16; ++Length) {
      const Integer Count = Counts[Length - 1];
      ValuePointer[Length] = K;
      MinCode[Length] = Code;
      for (Integer I = 0; I < Count && Length <= LookaheadBits; ++I) {
        const Integer First = (Code + I) << (LookaheadBits - Length);
        for (Integer J = 0; J < 1 << (LookaheadBits - Length); ++J) {
          LookLength[First + J] = static_cast<Byte>(Length);
          LookValue[First + J] = Symbols[K + I];
        }
      }
      Code += Count;
      K += Count;
      MaxCode[Length] = Count ? Code - 1 : -1;
      if (Code > 1 << Length) return false;
      Code <<= 1;
    }
    MaxCode[17] = 0x7FFFFFFF;
    Defined = true;
    return true;
  }
};

// Bits of the entropy-coded data: stuffed zeros removed, a marker ends the data (zeros follow).
class TBitReader {
 public:
  TBitReader(const Byte* Data, Integer Length, Integer Position)
      : FData(Data), FLength(Length), FPos(Position) {}
  Integer GetPosition() const { return FPos; }

  // The next symbol of Table; -1 for a code the table does not hold.
  Integer Decode(const THuffmanTable& Table) {
    Fill();
    const Integer Look = static_cast<Integer>(FBuffer >> (32 - LookaheadBits));
    if (const Integer Length = Table.LookLength[Look]) {
      Skip(Length);
      return Table.LookValue[Look];
    }
    for (Integer Length = LookaheadBits + 1; Length <= 16; ++Length) {
      const Integer Code = static_cast<Integer>(FBuffer >> (32 - Length));
      if (Code <= Table.MaxCode[Length]) {
        Skip(Length);
        const Integer Index = Table.ValuePointer[Length] + Code - Table.MinCode[Length];
        return Index < static_cast<Integer>(Table.Values.size()) ? Table.Values[Index] : -1;
      }
    }
    return -1;
  }
  Integer Receive(Integer Count) {
    Fill();
    const Integer Value = static_cast<Integer>(FBuffer >> (32 - Count));
    Skip(Count);
    return Value;
  }
  // After a restart interval: on at the byte after the next RST marker, with empty bits.
  void Restart() {
    while (FPos + 1 < FLength && !(FData[FPos] == 0xFF && FData[FPos + 1] >= 0xD0 && FData[FPos + 1] <= 0xD7))
      ++FPos;
    FPos = std::min(FPos + 2, FLength);
    FBuffer = 0;
    FBits = 0;
    FMarker = false;
  }

 private:
  void Fill() {
    while (FBits <= 24) {
      Cardinal B = 0;
      if (!FMarker && FPos < FLength) {
        B = FData[FPos];
        if (B != 0xFF) {
          ++FPos;
        } else if (FPos + 1 < FLength && FData[FPos + 1] == 0x00) {
          FPos += 2;
        } else {
          FMarker = true;
          B = 0;
        }
      }
      FBuffer |= B << (24 - FBits);
      FBits += 8;
    }
  }
  void Skip(Integer Count) {
    FBuffer <<= Count;
    FBits -= Count;
  }

  const Byte* FData;
  Integer FLength;
  Integer FPos;
  Cardinal FBuffer = 0;
  Integer FBits = 0;
  bool FMarker = false;
};

struct TLosslessFrame {
  bool Lossless = false;  // SOF3
  bool HaveFrame = false;
  Integer Precision = 0;
  Integer Width = 0;
  Integer Height = 0;
  Integer Components = 0;
  std::array<Integer, MaxComponents> Ids{};
  std::array<Integer, MaxComponents> Sampling{};
  std::array<Integer, MaxComponents> Tables{};  // the scan's table per frame component
  std::array<THuffmanTable, MaxHuffmanTables> Huffman;
  Integer RestartInterval = 0;
  Integer Predictor = 0;
  Integer PointTransform = 0;
  Integer ScanStart = -1;
};

bool ReadFrameHeader(const Byte* S, Integer Length, TLosslessFrame& F, Byte Marker) {
  if (Length < 6) return false;
  F.HaveFrame = true;
  F.Lossless = Marker == 0xC3;
  F.Precision = S[0];
  F.Height = BE16(S + 1);
  F.Width = BE16(S + 3);
  F.Components = S[5];
  if (F.Components < 1 || F.Components > MaxComponents || Length < 6 + 3 * F.Components) return false;
  for (Integer I = 0; I < F.Components; ++I) {
    F.Ids[I] = S[6 + 3 * I];
    F.Sampling[I] = S[7 + 3 * I];
  }
  return true;
}

bool ReadHuffmanTables(const Byte* S, Integer Length, TLosslessFrame& F) {
  Integer Pos = 0;
  while (Pos < Length) {
    if (Length - Pos < 17) return false;
    const Integer Id = S[Pos] & 0x0F;
    if (Id >= MaxHuffmanTables) return false;
    const Byte* Counts = S + Pos + 1;
    Integer Total = 0;
    for (Integer I = 0; I < 16; ++I) Total += Counts[I];
    if (Total > MaxHuffmanSymbols || Length - Pos - 17 < Total) return false;
    const Byte* Symbols = Counts + 16;
    if (std::any_of(Symbols, Symbols + Total, [](Byte V) { return V > 16; })) return false;
    if (!F.Huffman[Id].Build(Counts, Symbols, Total)) return false;
    Pos += 17 + Total;
  }
  return true;
}

bool ReadScanHeader(const Byte* S, Integer Length, TLosslessFrame& F) {
  if (!F.HaveFrame || Length < 1) return false;
  const Integer Count = S[0];
  // One scan must hold every component: a picture of several scans is not decoded.
  if (Count != F.Components || Length < 1 + 2 * Count + 3) return false;
  for (Integer I = 0; I < Count; ++I) {
    const Integer Id = S[1 + 2 * I];
    const Integer Table = S[2 + 2 * I] >> 4;
    const auto It = std::find(F.Ids.begin(), F.Ids.begin() + F.Components, Id);
    if (It == F.Ids.begin() + F.Components || Table >= MaxHuffmanTables) return false;
    F.Tables[It - F.Ids.begin()] = Table;
  }
  F.Predictor = S[1 + 2 * Count];
  F.PointTransform = S[3 + 2 * Count] & 0x0F;
  return true;
}

// The markers up to the scan's first coded byte; false when the stream ends before it.
bool ReadMarkers(const Byte* Data, Integer Length, TLosslessFrame& F) {
  Integer Pos = 0;
  while (Pos < Length) {
    if (Data[Pos] != 0xFF) return false;
    while (Pos < Length && Data[Pos] == 0xFF) ++Pos;
    if (Pos >= Length) return false;
    const Byte Marker = Data[Pos++];
    // Markers without a length.
    if (Marker == 0xD8 || Marker == 0x01 || Marker == 0x00 || (Marker >= 0xD0 && Marker <= 0xD7)) continue;
    if (Marker == 0xD9 || Length - Pos < 2) return false;
    const Integer SegmentLength = BE16(Data + Pos);
    if (SegmentLength < 2 || SegmentLength > Length - Pos) return false;
    const Byte* S = Data + Pos + 2;
    const Integer L = SegmentLength - 2;
    const bool Frame = Marker >= 0xC0 && Marker <= 0xCF && Marker != 0xC4 && Marker != 0xC8 && Marker != 0xCC;
    if (Frame && !ReadFrameHeader(S, L, F, Marker)) return false;
    if (Marker == 0xC4 && !ReadHuffmanTables(S, L, F)) return false;
    if (Marker == 0xDD && L >= 2) F.RestartInterval = BE16(S);
    Pos += SegmentLength;
    if (Marker == 0xDA) {
      if (!ReadScanHeader(S, L, F)) return false;
      F.ScanStart = Pos;
      return true;
    }
  }
  return false;
}

bool CanDecode(const TLosslessFrame& F, Integer Length) {
  if (!F.Lossless || F.Precision < 2 || F.Precision > 16 || F.Width < 1 || F.Height < 1) return false;
  if (F.Predictor < 1 || F.Predictor > 7 || F.PointTransform >= F.Precision) return false;
  for (Integer I = 0; I < F.Components; ++I)
    if (F.Sampling[I] != 0x11 || !F.Huffman[F.Tables[I]].Defined) return false;
  // Every sample takes one bit at least.
  return !IEClaimExceedsData(static_cast<Int64>(F.Width) * F.Height, F.Components, Length, 8);
}

Integer Predict(Integer Predictor, Integer Ra, Integer Rb, Integer Rc) {
  switch (Predictor) {
    case 1:
      return Ra;
    case 2:
      return Rb;
    case 3:
      return Rc;
    case 4:
      return Ra + Rb - Rc;
    case 5:
      return Ra + ((Rb - Rc) >> 1);
    case 6:
      return Rb + ((Ra - Rc) >> 1);
    default:
      return (Ra + Rb) / 2;
  }
}

}  // namespace

bool LosslessJpegDecode(const Byte* Data, Integer Length, TLosslessJpegImage& Image,
                        TIEIOProgress& Progress) {
  TLosslessFrame F;
  if (!Data || Length < 4 || !ReadMarkers(Data, Length, F) || !CanDecode(F, Length)) return false;
  const Integer N = F.Components;
  const size_t RowSamples = static_cast<size_t>(F.Width) * N;
  Image.Width = F.Width;
  Image.Height = F.Height;
  Image.Components = N;
  Image.Precision = F.Precision;
  Image.Samples.assign(RowSamples * F.Height, 0);
  TBitReader Bits(Data, Length, F.ScanStart);
  const Integer Initial = 1 << (F.Precision - F.PointTransform - 1);
  // Where prediction starts afresh: the first sample, and the sample after each restart.
  Integer StartX = 0, StartY = 0;
  Integer Units = 0;
  Integer LastPercent = -1;
  for (Integer Y = 0; Y < F.Height; ++Y) {
    Word* Row = Image.Samples.data() + RowSamples * Y;
    const Word* Above = Y > 0 ? Row - RowSamples : nullptr;
    for (Integer X = 0; X < F.Width; ++X, ++Units) {
      if (F.RestartInterval > 0 && Units > 0 && Units % F.RestartInterval == 0) {
        Bits.Restart();
        StartX = X, StartY = Y;
      }
      for (Integer C = 0; C < N; ++C) {
        const size_t I = static_cast<size_t>(X) * N + C;
        Integer Prediction;
        if (Y == StartY && X == StartX)
          Prediction = Initial;
        else if (Y == StartY)
          Prediction = Row[I - N];
        else if (X == 0)
          Prediction = Above[I];
        else
          Prediction = Predict(F.Predictor, Row[I - N], Above[I], Above[I - N]);
        const Integer Category = Bits.Decode(F.Huffman[F.Tables[C]]);
        if (Category < 0) return false;
        Integer Difference = 0;
        if (Category == 16) {
          Difference = 32768;
        } else if (Category > 0) {
          const Integer V = Bits.Receive(Category);
          Difference = V < 1 << (Category - 1) ? V - (1 << Category) + 1 : V;
        }
        Row[I] = static_cast<Word>((Prediction + Difference) & 0xFFFF);
      }
    }
    const Integer Percent = static_cast<Integer>(static_cast<Int64>(Bits.GetPosition()) * 100 / Length);
    if (Percent != LastPercent) {
      LastPercent = Percent;
      if (Progress.OnProgress) Progress.OnProgress(Progress.Sender, Percent);
    }
  }
  return true;
}

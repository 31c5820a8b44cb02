#pragma once
// Test-side encoders of the packed and plain camera raw layouts, the inverse of each loader's
// unpacking, and a context over a byte vector with its picture array.
#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

#include "imaging/formats/iecameraraw.h"
#include "platform/system/Streams.h"

using TRawSamples = std::vector<std::vector<Integer>>;  // [row][col]

// A context reading Bytes, with a zeroed Height x Width picture array (no mosaic: Filters 0, so
// every sample lands in channel 0).
class TRawTestContext {
 public:
  std::unique_ptr<TCameraRawContext> C = std::make_unique<TCameraRawContext>();

  TRawTestContext(Integer Height, Integer Width) {
    C->Input = &FStream;
    C->ByteOrder = 0x4949;
    C->Height = C->RawHeight = C->ImageHeight = Height;
    C->Width = C->RawWidth = C->ImageWidth = Width;
    C->Colors = 3;
    C->Maximum = 0x4000;
    C->XMag = C->YMag = 1;
    FImage.assign(static_cast<std::size_t>(Height) * Width, {});
    C->Image = reinterpret_cast<Word(*)[4]>(FImage.data());
  }
  TRawTestContext(const std::vector<Byte>& Bytes, Integer Height, Integer Width)
      : TRawTestContext(Height, Width) {
    SetBytes(Bytes);
  }
  // The file the loader reads, from its start.
  void SetBytes(const std::vector<Byte>& Bytes) {
    FStream.Clear();
    FStream.Write(Bytes.data(), static_cast<Integer>(Bytes.size()));
    FStream.SetPosition(0);
    C->InputSize = FStream.GetSize();
    C->InputEnded = false;
  }
  Word At(Integer Row, Integer Col, Integer Channel = 0) const {
    return C->Image[static_cast<std::size_t>(Row) * C->ImageWidth + Col][Channel];
  }
  Word* Cell(Integer Row, Integer Col) {
    return C->Image[static_cast<std::size_t>(Row) * C->ImageWidth + Col];
  }

 private:
  struct TCell {
    Word Channel[4];
  };
  TMemoryStream FStream;
  std::vector<TCell> FImage;
};

// Most significant bit first, as the decoder's bit reader takes them.
class TRawBitWriter {
 public:
  std::vector<Byte> Bytes;
  void Put(Cardinal Value, Integer Bits) {
    for (Integer B = Bits - 1; B >= 0; --B) {
      FAcc = FAcc << 1 | ((Value >> B) & 1);
      if (++FCount == 8) {
        Bytes.push_back(static_cast<Byte>(FAcc));
        FAcc = FCount = 0;
      }
    }
  }
  void Flush() {
    while (FCount != 0) Put(0, 1);
  }

 private:
  Cardinal FAcc = 0;
  Integer FCount = 0;
};

// 10-bit samples, eight to ten bytes, in the Canon PowerShot 600's byte order.
inline void RawPackCanon600(const Integer* P, Byte* B) {
  for (Integer I = 0; I < 4; ++I) B[I == 0 ? 0 : I + 1] = static_cast<Byte>(P[I] >> 2);
  for (Integer I = 4; I < 8; ++I) B[I + 1] = static_cast<Byte>(P[I] >> 2);
  B[1] = static_cast<Byte>((P[0] & 3) << 6 | (P[1] & 3) << 4 | (P[2] & 3) << 2 | (P[3] & 3));
  B[9] = static_cast<Byte>((P[7] & 3) << 6 | (P[6] & 3) << 4 | (P[5] & 3) << 2 | (P[4] & 3));
}

// 10-bit samples as a bit stream whose byte pairs are exchanged (PowerShot A5).
inline void RawPackCanonA5(const Integer* P, Byte* B) {
  TRawBitWriter W;
  for (Integer I = 0; I < 8; ++I) W.Put(static_cast<Cardinal>(P[I]), 10);
  for (Integer I = 0; I < 10; I += 2) {
    B[I] = W.Bytes[I + 1];
    B[I + 1] = W.Bytes[I];
  }
}

// 12-bit samples, eight to twelve bytes, in the Nikon E2100's order.
inline void RawPackNikonE2100(const Integer* S, Byte* B) {
  B[3] = static_cast<Byte>(S[0] >> 4);
  B[2] = static_cast<Byte>((S[0] & 0xF) << 4 | (S[1] >> 8 & 0xF));
  B[1] = static_cast<Byte>(S[1]);
  B[0] = static_cast<Byte>(S[2] >> 4);
  B[7] = static_cast<Byte>((S[2] & 0xF) << 4 | (S[3] >> 8 & 0xF));
  B[6] = static_cast<Byte>(S[3]);
  B[5] = static_cast<Byte>(S[4] >> 4);
  B[4] = static_cast<Byte>((S[4] & 0xF) << 4 | (S[5] >> 8 & 0xF));
  B[11] = static_cast<Byte>(S[5]);
  B[10] = static_cast<Byte>(S[6] >> 4);
  B[9] = static_cast<Byte>((S[6] & 0xF) << 4 | (S[7] >> 8 & 0xF));
  B[8] = static_cast<Byte>(S[7]);
}

// 10-bit samples, four to five bytes, most significant bit first (Casio QV-5700).
inline void RawPackTenBits(const Integer* P, Byte* B) {
  TRawBitWriter W;
  for (Integer I = 0; I < 4; ++I) W.Put(static_cast<Cardinal>(P[I]), 10);
  for (Integer I = 0; I < 5; ++I) B[I] = W.Bytes[I];
}

// A row of samples packed group by group with Pack (GroupSamples to GroupBytes).
inline std::vector<Byte> RawPackRow(const std::vector<Integer>& Row, Integer GroupSamples, Integer GroupBytes,
                                    void (*Pack)(const Integer*, Byte*)) {
  std::vector<Byte> Out(Row.size() / GroupSamples * GroupBytes);
  for (std::size_t G = 0; G < Row.size() / GroupSamples; ++G)
    Pack(&Row[G * GroupSamples], &Out[G * GroupBytes]);
  return Out;
}

inline void RawPutWord(std::vector<Byte>& Out, Integer Value, bool BigEndian) {
  const Byte High = static_cast<Byte>(Value >> 8), Low = static_cast<Byte>(Value);
  Out.push_back(BigEndian ? High : Low);
  Out.push_back(BigEndian ? Low : High);
}

// Samples of a test picture that differ from cell to cell, below 2^Bits.
inline TRawSamples RawTestSamples(Integer Height, Integer Width, Integer Bits) {
  TRawSamples S(Height, std::vector<Integer>(Width));
  for (Integer R = 0; R < Height; ++R)
    for (Integer C = 0; C < Width; ++C) S[R][C] = (R * 37 + C * 11 + R * C * 5 + 3) & ((1 << Bits) - 1);
  return S;
}

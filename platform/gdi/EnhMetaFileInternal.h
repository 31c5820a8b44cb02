#pragma once
// Shared pieces of the metafile code: the metafile object, a little-endian record writer and a
// bounded reader over one record.
#include <cstring>
#include <vector>

#include "platform/gdi/EnhMetaFile.h"

// Files above this size are refused before anything is allocated for them.
constexpr std::size_t MaxMetafileBytes = 256u << 20;
// The header of a readable file: through offPixelFormat's predecessor (nPalEntries) at least.
constexpr std::size_t MinEnhHeaderSize = 88;

struct TEnhMetaFileObject : TGdiObject {
  TEnhMetaFileObject() : TGdiObject(OBJ_ENHMETAFILE) {}
  std::vector<Byte> Data;  // the whole file, checked: header, records of valid sizes, EMR_EOF last
  ENHMETAHEADER Header;
};

// Checks the bytes (header, record chain ending in EMR_EOF within the data) and makes an object
// of them; null when they are not a readable metafile.
HENHMETAFILE MakeEnhMetaFile(std::vector<Byte> Data);
// Reads the header fields of a checked or candidate file; false when too short or not one.
bool ReadEnhHeader(const Byte* Data, std::size_t Size, ENHMETAHEADER& H);
// Writes the bytes to a file through a temporary file renamed over it.
bool WriteMetafileBytes(const std::string& FileName, const std::vector<Byte>& Data);

class TRecordWriter {
 public:
  std::vector<Byte> Data;
  void U32(DWORD V) {
    const Byte B[4] = {static_cast<Byte>(V), static_cast<Byte>(V >> 8), static_cast<Byte>(V >> 16),
                       static_cast<Byte>(V >> 24)};
    Data.insert(Data.end(), B, B + 4);
  }
  void I32(Integer V) { U32(static_cast<DWORD>(V)); }
  void U16(Word V) {
    Data.push_back(static_cast<Byte>(V));
    Data.push_back(static_cast<Byte>(V >> 8));
  }
  void I16(Integer V) { U16(static_cast<Word>(static_cast<SmallInt>(V))); }
  void F32(float V) {
    DWORD U;
    std::memcpy(&U, &V, 4);
    U32(U);
  }
  void Bytes(const void* P, std::size_t N) {
    const Byte* B = static_cast<const Byte*>(P);
    Data.insert(Data.end(), B, B + N);
  }
  void Zeros(std::size_t N) { Data.insert(Data.end(), N, 0); }
  void Rect(const TRect& R) { I32(R.Left), I32(R.Top), I32(R.Right), I32(R.Bottom); }
  void Pad4() {
    while (Data.size() % 4) Data.push_back(0);
  }
  std::size_t Size() const { return Data.size(); }
  void PutU32(std::size_t At, DWORD V) {
    for (Integer I = 0; I < 4; ++I) Data[At + I] = static_cast<Byte>(V >> (8 * I));
  }
};

// Reads one record's bytes; every read past the end gives zero and marks the reader failed, so a
// caller checks Ok() once after taking its fields.
class TRecordReader {
 public:
  TRecordReader(const Byte* Data, std::size_t Size) : FData(Data), FSize(Size) {}
  bool Ok() const { return FOk; }
  std::size_t Size() const { return FSize; }
  std::size_t Pos() const { return FPos; }
  void Seek(std::size_t P) {
    if (P > FSize)
      FOk = false;
    else
      FPos = P;
  }
  bool Has(std::size_t N) const { return FOk && N <= FSize - FPos; }
  // True when Count items of ItemSize bytes fit from Offset on.
  bool Fits(std::size_t Offset, std::size_t Count, std::size_t ItemSize) const {
    return Offset <= FSize && (ItemSize == 0 || Count <= (FSize - Offset) / ItemSize);
  }
  const Byte* At(std::size_t Offset) const { return FData + Offset; }
  DWORD U32() {
    if (!Has(4)) return Fail();
    const Byte* P = FData + FPos;
    FPos += 4;
    return P[0] | (DWORD(P[1]) << 8) | (DWORD(P[2]) << 16) | (DWORD(P[3]) << 24);
  }
  Integer I32() { return static_cast<Integer>(U32()); }
  Word U16() {
    if (!Has(2)) return static_cast<Word>(Fail());
    const Byte* P = FData + FPos;
    FPos += 2;
    return static_cast<Word>(P[0] | (P[1] << 8));
  }
  Integer I16() { return static_cast<SmallInt>(U16()); }
  Byte U8() {
    if (!Has(1)) return static_cast<Byte>(Fail());
    return FData[FPos++];
  }
  float F32() {
    const DWORD U = U32();
    float F;
    std::memcpy(&F, &U, 4);
    return F;
  }
  TRect Rect() {
    TRect R;
    R.Left = I32(), R.Top = I32(), R.Right = I32(), R.Bottom = I32();
    return R;
  }
  void Skip(std::size_t N) {
    if (!Has(N))
      Fail();
    else
      FPos += N;
  }

 private:
  DWORD Fail() {
    FOk = false;
    FPos = FSize;
    return 0;
  }
  const Byte* FData;
  std::size_t FSize;
  std::size_t FPos = 0;
  bool FOk = true;
};

// A DIB stored in a record (header at OffBmi, bits at OffBits, both within the record), checked:
// a BITMAPINFOHEADER of a supported layout, colour table and rows inside their blocks, a size
// below the cap. False when not.
struct TRecordDib {
  BITMAPINFO Info;
  const Byte* Bits = nullptr;
};
// Rows >= 0: the bits hold only that many rows (scan lines given to SetDIBitsToDevice).
bool ReadRecordDib(const TRecordReader& R, DWORD OffBmi, DWORD CbBmi, DWORD OffBits, DWORD CbBits, UINT Usage,
                   TRecordDib& Dib, Int64 Rows = -1);

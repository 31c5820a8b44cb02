#pragma once
// Builds BMP files byte by byte, so that the reader meets exactly the header, palette and row
// layout a case needs.
#include <vector>

#include "platform/system/Types.h"

struct TBmpFixture {
  Cardinal HeaderSize = 40;
  Integer Width = 2;
  Integer Height = 2;  // negative: top-down
  Integer BitCount = 24;
  Cardinal Compression = 0;
  Cardinal ColoursUsed = 0;
  Integer PixelsPerMetre = 0;
  std::vector<Byte> Palette;    // as stored (3 or 4 bytes an entry)
  std::vector<Cardinal> Masks;  // written after a 40-byte header, or at offset 40 of a larger one
  std::vector<Byte> Pixels;     // as stored
};

inline void PutLE(std::vector<Byte>& Out, size_t At, UInt64 Value, int Bytes) {
  for (int I = 0; I < Bytes; ++I) Out[At + static_cast<size_t>(I)] = static_cast<Byte>(Value >> (8 * I));
}

inline std::vector<Byte> EncodeBmp(const TBmpFixture& F) {
  std::vector<Byte> Header(F.HeaderSize, 0);
  PutLE(Header, 0, F.HeaderSize, 4);
  if (F.HeaderSize == 12) {
    PutLE(Header, 4, static_cast<Cardinal>(F.Width), 2);
    PutLE(Header, 6, static_cast<Cardinal>(F.Height), 2);
    PutLE(Header, 8, 1, 2);
    PutLE(Header, 10, static_cast<Cardinal>(F.BitCount), 2);
  } else {
    PutLE(Header, 4, static_cast<Cardinal>(F.Width), 4);
    PutLE(Header, 8, static_cast<Cardinal>(F.Height), 4);
    PutLE(Header, 12, 1, 2);
    PutLE(Header, 14, static_cast<Cardinal>(F.BitCount), 2);
    PutLE(Header, 16, F.Compression, 4);
    PutLE(Header, 20, F.Pixels.size(), 4);
    PutLE(Header, 24, static_cast<Cardinal>(F.PixelsPerMetre), 4);
    PutLE(Header, 28, static_cast<Cardinal>(F.PixelsPerMetre), 4);
    PutLE(Header, 32, F.ColoursUsed, 4);
  }
  std::vector<Byte> MaskBytes(F.Masks.size() * 4);
  for (size_t I = 0; I < F.Masks.size(); ++I) PutLE(MaskBytes, 4 * I, F.Masks[I], 4);
  if (F.HeaderSize > 40 && !F.Masks.empty()) {
    std::copy(MaskBytes.begin(), MaskBytes.end(), Header.begin() + 40);
    MaskBytes.clear();
  }
  const size_t Offset = 14 + Header.size() + MaskBytes.size() + F.Palette.size();
  std::vector<Byte> File(14, 0);
  File[0] = 'B';
  File[1] = 'M';
  PutLE(File, 2, Offset + F.Pixels.size(), 4);
  PutLE(File, 10, Offset, 4);
  File.insert(File.end(), Header.begin(), Header.end());
  File.insert(File.end(), MaskBytes.begin(), MaskBytes.end());
  File.insert(File.end(), F.Palette.begin(), F.Palette.end());
  File.insert(File.end(), F.Pixels.begin(), F.Pixels.end());
  return File;
}

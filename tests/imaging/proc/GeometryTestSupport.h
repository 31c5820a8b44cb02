#pragma once
// Small pictures for the geometry and conversion tests, written and read as rows of characters.
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "imaging/core/iebitmap.h"

namespace GeometryTesting {

// An 8-bit grey picture whose pixels are the characters' codes.
inline std::unique_ptr<TIEBitmap> Gray(const std::vector<std::string>& Rows, TIEPixelFormat Format = ie8g) {
  auto B = std::make_unique<TIEBitmap>(static_cast<Integer>(Rows[0].size()),
                                       static_cast<Integer>(Rows.size()), Format);
  for (Integer Y = 0; Y < B->GetHeight(); ++Y)
    for (Integer X = 0; X < B->GetWidth(); ++X) {
      const Byte V = static_cast<Byte>(Rows[Y][X]);
      if (Format == ie24RGB)
        B->SetPixel24(X, Y, {V, static_cast<Byte>(V + 1), static_cast<Byte>(V + 2)});
      else
        B->SetPixel8(X, Y, V);
    }
  return B;
}

inline std::vector<std::string> Rows(TIEBitmap& B) {
  std::vector<std::string> R(B.GetHeight(), std::string(B.GetWidth(), ' '));
  for (Integer Y = 0; Y < B.GetHeight(); ++Y)
    for (Integer X = 0; X < B.GetWidth(); ++X) {
      if (B.GetPixelFormat() == ie1g)
        R[Y][X] = B.GetPixelRGB(X, Y).rgbtRed ? '1' : '0';
      else if (B.GetPixelFormat() == ie24RGB) {
        const TIERGBTriple P = B.GetPixel24(X, Y);
        R[Y][X] = P.rgbtGreen == P.rgbtBlue + 1 && P.rgbtRed == P.rgbtBlue + 2 ? static_cast<char>(P.rgbtBlue)
                                                                               : '?';
      } else
        R[Y][X] = static_cast<char>(B.GetPixel8(X, Y));
    }
  return R;
}

inline std::unique_ptr<TIEBitmap> Bits(const std::vector<std::string>& Rows) {
  auto B = std::make_unique<TIEBitmap>(static_cast<Integer>(Rows[0].size()),
                                       static_cast<Integer>(Rows.size()), ie1g);
  for (Integer Y = 0; Y < B->GetHeight(); ++Y) {
    auto* Row = static_cast<Byte*>(B->GetScanline(Y));
    std::fill(Row, Row + B->GetRowLen(), Byte{0});
    for (Integer X = 0; X < B->GetWidth(); ++X)
      if (Rows[Y][X] == '1') Row[X >> 3] |= static_cast<Byte>(0x80 >> (X & 7));
  }
  return B;
}

using TRows = std::vector<std::string>;

}  // namespace GeometryTesting

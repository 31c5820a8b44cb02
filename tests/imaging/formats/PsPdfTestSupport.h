#pragma once
// Pictures and text helpers of the PostScript and PDF writer tests.
#include <memory>
#include <string>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "platform/system/Streams.h"

// A colour picture whose pixels differ in every channel, with runs and single pixels in its rows.
inline std::unique_ptr<TIEBitmap> PsPdfColourPicture(Integer Width, Integer Height) {
  auto Picture = std::make_unique<TIEBitmap>(Width, Height, ie24RGB);
  for (Integer Y = 0; Y < Height; ++Y)
    for (Integer X = 0; X < Width; ++X)
      Picture->SetPixel24(
          X, Y, TIERGBTriple{Byte(X < Width / 3 ? 200 : X * 7 + Y), Byte(Y * 11), Byte((X * 3) ^ Y)});
  return Picture;
}

// A 1-bit picture with white and black runs, stripes and a lone pixel.
inline std::unique_ptr<TIEBitmap> PsPdfOneBitPicture(Integer Width, Integer Height) {
  auto Picture = std::make_unique<TIEBitmap>(Width, Height, ie1g);
  for (Integer Y = 0; Y < Height; ++Y) {
    Byte* Row = static_cast<Byte*>(Picture->GetScanline(Y));
    for (Integer X = 0; X < Width; ++X) {
      const bool White = (X / 5 + Y / 3) % 2 == 0 || X == Width - 1 || (X == 7 && Y == 2);
      if (White)
        Row[X >> 3] |= Byte(0x80 >> (X & 7));
      else
        Row[X >> 3] &= Byte(~(0x80 >> (X & 7)));
    }
  }
  return Picture;
}

inline std::string StreamText(TMemoryStream& Stream) {
  return {static_cast<const char*>(Stream.GetMemory()), static_cast<size_t>(Stream.GetSize())};
}

// The text split at Separator, the last piece kept even when empty.
inline std::vector<std::string> SplitText(const std::string& Text, const std::string& Separator) {
  std::vector<std::string> Pieces;
  size_t Start = 0;
  for (size_t At; (At = Text.find(Separator, Start)) != std::string::npos; Start = At + Separator.size())
    Pieces.push_back(Text.substr(Start, At - Start));
  Pieces.push_back(Text.substr(Start));
  return Pieces;
}

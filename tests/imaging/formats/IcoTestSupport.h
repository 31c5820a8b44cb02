#pragma once
// Builds icon and cursor files byte by byte: a directory, then each image's 40-byte header,
// palette, colour rows and AND rows exactly as a case needs them.
#include <vector>

#include "platform/system/Types.h"
#include "tests/imaging/formats/BmpTestSupport.h"

struct TIcoFixtureImage {
  Byte EntryWidth = 2, EntryHeight = 2, ColourCount = 0;
  Word Planes = 1, EntryBitCount = 0;            // a cursor's hot spot x, y
  Integer Width = 2, Height = 2, BitCount = 24;  // the 40-byte header's
  Integer PixelsPerMetre = 0;
  std::vector<Byte> Body;  // palette, colour rows and AND rows as stored
  bool Png = false;        // Body is a whole PNG file, written without a header
};

inline std::vector<Byte> EncodeIco(const std::vector<TIcoFixtureImage>& Images, Word Type = 1) {
  std::vector<Byte> Out(6 + 16 * Images.size(), 0);
  PutLE(Out, 2, Type, 2);
  PutLE(Out, 4, Images.size(), 2);
  for (size_t I = 0; I < Images.size(); ++I) {
    const TIcoFixtureImage& F = Images[I];
    const size_t E = 6 + 16 * I, Offset = Out.size();
    if (!F.Png) {
      std::vector<Byte> H(40, 0);
      PutLE(H, 0, 40, 4);
      PutLE(H, 4, static_cast<Cardinal>(F.Width), 4);
      PutLE(H, 8, static_cast<Cardinal>(F.Height * 2), 4);
      PutLE(H, 12, 1, 2);
      PutLE(H, 14, static_cast<Cardinal>(F.BitCount), 2);
      PutLE(H, 24, static_cast<Cardinal>(F.PixelsPerMetre), 4);
      PutLE(H, 28, static_cast<Cardinal>(F.PixelsPerMetre), 4);
      Out.insert(Out.end(), H.begin(), H.end());
    }
    Out.insert(Out.end(), F.Body.begin(), F.Body.end());
    Out[E] = F.EntryWidth;
    Out[E + 1] = F.EntryHeight;
    Out[E + 2] = F.ColourCount;
    PutLE(Out, E + 4, F.Planes, 2);
    PutLE(Out, E + 6, F.EntryBitCount, 2);
    PutLE(Out, E + 8, Out.size() - Offset, 4);
    PutLE(Out, E + 12, Offset, 4);
  }
  return Out;
}

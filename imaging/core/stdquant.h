#pragma once
// Variance colour quantizer: reduces a 24-bit picture to at most 256 colours by splitting boxes
// of a 32 x 32 x 32 colour histogram, always the box with the largest share of the squared
// error, and answers for any colour the index of the box holding its cell. The whole work
// happens in StdQuantizerCreate; afterwards the state is only read.
#include <memory>
#include <span>

#include "imaging/core/hyiedefs.h"

class TObject;

constexpr Integer StdQuantizerBins = 32;  // 5 bits per channel
constexpr Integer StdQuantizerCells = StdQuantizerBins * StdQuantizerBins * StdQuantizerBins;
constexpr Integer StdQuantizerMaxBoxes = 256;

// Axes 0, 1, 2 are red, green, blue; the box covers bins Lo to Hi - 1 on each.
struct TStdQuantizerBox {
  Double Variance = 0;  // share of the picture's mean squared error, in bin units
  Double Mean[3] = {0, 0, 0};
  Cardinal Count = 0;
  Cardinal Marginal[3][StdQuantizerBins] = {};
  Integer Lo[3] = {0, 0, 0};
  Integer Hi[3] = {0, 0, 0};
};

struct TStdQuantizerState {
  std::unique_ptr<Cardinal[]> Histogram;  // pixel count per cell number
  std::unique_ptr<TStdQuantizerBox[]> Boxes;
  std::unique_ptr<Byte[]> IndexTable;  // palette index per cell number
  Cardinal PixelCount = 0;
  Integer MaxColors = 0;
  Integer BoxCount = 0;
  TObject* Bitmap = nullptr;  // not owned, not read after creation
  // Kept at full width: a 16-bit copy would drop the right part of pictures wider than 65535.
  Integer Width = 0;
  Integer Height = 0;
};

// The cell number of a colour: R-bin x 1024 + G-bin x 32 + B-bin.
constexpr Integer StdQuantizerCell(Integer R, Integer G, Integer B) {
  return (R >> 3) * StdQuantizerBins * StdQuantizerBins + (G >> 3) * StdQuantizerBins + (B >> 3);
}

// Bitmap is a TIEBitmap or a platform TBitmap with 3 bytes per pixel B, G, R; anything else
// counts as a 0 x 0 picture. Writes palette entries 0 .. BoxCount - 1 (at most Palette's
// length); the others keep their values. MaxColors above 256 is taken as 256.
std::unique_ptr<TStdQuantizerState> StdQuantizerCreate(TObject* Bitmap, std::span<TIERGBTriple> Palette,
                                                       Integer MaxColors);
inline Byte StdQuantizerColorIndex(const TStdQuantizerState& State, const TIERGBTriple& Color) {
  return State.IndexTable[StdQuantizerCell(Color.rgbtRed, Color.rgbtGreen, Color.rgbtBlue)];
}
void StdQuantizerFree(std::unique_ptr<TStdQuantizerState>& State);

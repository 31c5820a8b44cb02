#pragma once
// NeuQuant: a self-organising network of N neurons learns a palette from a sample of the
// picture's pixels; a green-sorted index then answers the nearest entry for any colour.
#include <array>
#include <memory>
#include <span>
#include <vector>

#include "imaging/core/hyiedefs.h"

class TIEBitmap;

struct TNeuQuantState {
  Integer NetSize = 0;
  Integer MaxNetPos = 0;
  Integer InitRad = 0;
  Integer InitRadius = 0;
  Integer AlphaDec = 0;
  TIEBitmap* Bitmap = nullptr;  // not owned, not read after the build
  Int64 LengthCount = 0;        // width x height x 3
  Integer SampleFac = 1;
  std::vector<std::array<Integer, 4>> Network;  // blue, green, red, palette index
  Integer NetIndex[256] = {};
  std::vector<Integer> Bias;
  std::vector<Integer> Freq;
  std::vector<Integer> RadPower;
  Integer Width = 0;
  Integer Height = 0;
};

// Pixels learned per sample taken: 1 below 2000 pixels, else grows with the picture up to 30;
// a quality of 0 to 100 gives 30 down to 1.
Integer NeuQuantSamplingFactor(Int64 PixelCount, Integer Quality);
// Learns ColorCount entries from the ie24RGB Bitmap and writes them into Palette (at most its
// length). Quality -1 chooses the sampling from the picture's size.
std::unique_ptr<TNeuQuantState> NeuQuantBuild(TIEBitmap* Bitmap, std::span<TIERGBTriple> Palette,
                                              Integer ColorCount, Integer Quality);
// Color packed blue | green << 8 | red << 16; the palette index, -1 for an empty network.
Integer NeuQuantColorIndex(const TNeuQuantState& State, Integer Color);
void NeuQuantFree(std::unique_ptr<TNeuQuantState>& State);

#pragma once
// The sample masks and glass pictures, each a colour at every point of a square whose
// coordinates U (left to right) and V (top to bottom) run from -1 to 1.
#include <span>

#include "SampleBmp.h"

struct TSamplePicture {
  const char* FileName;
  int BitCount;  // 1 for the masks, 24 for the glass pictures
  TRgb (*Color)(double U, double V);
};

// White where the mosaic shows, black where the cells stay white.
std::span<const TSamplePicture> SampleMasks();
// Laid over the cells by the glass effect: lenses, ripples and facets in light tones.
std::span<const TSamplePicture> SampleGlassPictures();

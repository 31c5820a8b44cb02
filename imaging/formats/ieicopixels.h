#pragma once
// Pieces the icon and cursor readers share: bounded reads and the decoding of one image's
// colour and AND parts once its size, depth and palette are known.
#include <array>
#include <memory>

#include "imaging/core/hyiedefs.h"
#include "platform/system/Types.h"

class TStream;
class TIEBitmap;
class TIEMask;

// Reads up to Count bytes; a short stream gives fewer, never an exception.
Integer IcoReadUpTo(TStream* Stream, void* Buffer, Int64 Count);

// What the reader decided about the image at the stream's position (its colour part).
struct TIcoImage {
  Integer Width = 0;
  Integer Height = 0;
  Integer BitCount = 0;
  TIEPixelFormat Format = ie24RGB;          // ie1g, ie8p (indices) or ie24RGB
  std::array<TIERGBTriple, 256> Palette{};  // black past the file's palette
  TIERGBTriple Background{255, 255, 255};   // what transparent palette pixels turn into
};

// Allocates Bitmap and decodes the colour part and the AND part. AlphaMask as for IcoReadStream
// (nil MaskWanted: no mask built or touched). False when the size cannot be held or the data
// could never hold it; the bitmap is then unchanged or empty.
bool IcoDecodeImage(TStream* Stream, TIEBitmap* Bitmap, const TIcoImage& Image,
                    std::unique_ptr<TIEMask>& AlphaMask, bool MaskWanted);

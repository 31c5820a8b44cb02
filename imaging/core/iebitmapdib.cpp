#include <algorithm>
#include <cstring>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iedibbitmap.h"

void TIEBitmap::CopyFromTIEDibBitmap(TIEDibbitmap* Dib) {
  if (!Dib) return;
  TIEPixelFormat Format;
  switch (Dib->GetBitCount()) {
    case 1:
      Format = ie1g;
      break;
    case 8:
      Format = ie8g;
      break;
    case 24:
      Format = ie24RGB;
      break;
    default:
      return;
  }
  // Allocate keeps a platform bitmap a platform bitmap of the new depth and size.
  if (!Allocate(Dib->GetWidth(), Dib->GetHeight(), Format)) return;
  const std::size_t Bytes = std::min(GetRowLen(), Dib->GetRowLen());
  for (Integer Y = 0, Height = GetHeight(); Y < Height; ++Y)
    std::memcpy(GetScanline(Y), Dib->GetScanline(Y), Bytes);
}

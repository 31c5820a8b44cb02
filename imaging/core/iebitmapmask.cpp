// TIEBitmap exchange with selection masks: alpha channels become masks for the writers that
// store transparency, and masks from the readers become alpha channels.
#include <algorithm>
#include <cstring>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iecolorspace.h"
#include "imaging/core/iemask.h"

void TIEBitmap::CopyFromTIEMask(TIEMask* Mask) {
  if (!Mask) {
    Fill(255);
    return;
  }
  TIEPixelFormat Format;
  switch (Mask->GetBitsPerPixel()) {
    case 1:
      Format = ie1g;
      break;
    case 8:
      Format = ie8g;
      break;
    default:
      return;
  }
  if (!Allocate(Mask->GetWidth(), Mask->GetHeight(), Format)) return;
  const Integer Bytes = std::min(GetRowLen(), Mask->GetRowLen());
  for (Integer Y = 0; Y < GetHeight(); ++Y) std::memcpy(GetScanline(Y), Mask->GetScanline(Y), Bytes);
  SetFull(Mask->GetFull());
}

void TIEBitmap::CopyToTIEMask(TIEMask* Mask) {
  if (!Mask) return;
  const TIEPixelFormat Format = GetPixelFormat();
  if (Format != ie1g && Format != ie8g && Format != ie24RGB) return;
  if (!Mask->AllocateBits(GetWidth(), GetHeight(), Format == ie1g ? 1 : 8)) return;
  if (Format == ie24RGB) {
    const TIEGray8 Gray = TIEGray8::Current();
    const Integer Width = GetWidth();
    for (Integer Y = 0; Y < GetHeight(); ++Y) {
      const auto* Pixels = static_cast<const TIERGBTriple*>(GetScanline(Y));
      Byte* Row = Mask->GetScanline(Y);
      for (Integer X = 0; X < Width; ++X) Row[X] = static_cast<Byte>(Gray(Pixels[X]));
    }
  } else {
    const Integer Bytes = std::min(GetRowLen(), Mask->GetRowLen());
    for (Integer Y = 0; Y < GetHeight(); ++Y) std::memcpy(Mask->GetScanline(Y), GetScanline(Y), Bytes);
    Mask->SetFull(GetFull());
  }
  // The mask's box follows its pixels, so that it does not report itself empty.
  Mask->SyncRect();
}

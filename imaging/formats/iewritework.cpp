#include "imaging/formats/iewritework.h"

#include "imaging/core/iebitmap.h"
#include "imaging/core/ieutilsbits.h"
#include "platform/system/Math.h"

std::unique_ptr<TIEBitmap> IEConvertedCopy(TIEBitmap* Source, TIEPixelFormat Format) {
  auto Copy = std::make_unique<TIEBitmap>(Source->GetWidth(), Source->GetHeight(), Format);
  Copy->CopyAndConvertFormat(Source);
  return Copy;
}

namespace {

// The grey level, rounded: colours of one level keep their order of appearance.
Int64 GreyLevel(const TIERGBTriple& C) {
  return Round((C.rgbtRed * 21 + C.rgbtGreen * 71 + C.rgbtBlue * 8) / 100.0L);
}

}  // namespace

std::unique_ptr<TIEBitmap> IETwoColorsTo1Bit(TIEBitmap* Source, TIERGBTriple& Dark, TIERGBTriple& Light) {
  std::unique_ptr<TIEBitmap> Rgb;
  TIEBitmap* Pixels = Source;
  if (Source->GetPixelFormat() != ie24RGB) {
    Rgb = IEConvertedCopy(Source, ie24RGB);
    Pixels = Rgb.get();
  }
  const Integer W = Pixels->GetWidth(), H = Pixels->GetHeight();
  TIERGBTriple Colours[2] = {};
  Integer Found = 0;
  for (Integer Y = 0; Y < H; ++Y) {
    const auto* Row = static_cast<const TIERGBTriple*>(Pixels->GetScanline(Y));
    for (Integer X = 0; X < W; ++X) {
      if (Found > 0 && Row[X] == Colours[0]) continue;
      if (Found > 1 && Row[X] == Colours[1]) continue;
      if (Found == 2) return nullptr;
      Colours[Found++] = Row[X];
    }
  }
  if (Found != 2) return nullptr;
  const bool FirstIsLight = GreyLevel(Colours[0]) > GreyLevel(Colours[1]);
  Dark = Colours[FirstIsLight ? 1 : 0];
  Light = Colours[FirstIsLight ? 0 : 1];
  auto Bits = std::make_unique<TIEBitmap>(W, H, ie1g);
  for (Integer Y = 0; Y < H; ++Y) {
    const auto* Row = static_cast<const TIERGBTriple*>(Pixels->GetScanline(Y));
    auto* Out = static_cast<Byte*>(Bits->GetScanline(Y));
    for (Integer X = 0; X < W; ++X) IEUtilsSetBit(Out, X, Row[X] == Light);
  }
  return Bits;
}

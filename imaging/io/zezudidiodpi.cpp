// TZezudIdIO::AdjustDPI: pictures whose horizontal and vertical resolution differ are
// resampled so that both are equal and the picture keeps its printed proportions.
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/core/ieresample.h"
#include "imaging/io/zezudidio.h"
#include "imaging/io/zezudidioparams.h"

namespace {

// Nearest-neighbour copy of the whole Source into the allocated Dest of the same pixel
// format; the column of each destination pixel is looked up once.
void ResampleNearest(TIEBitmap& Source, TIEBitmap& Dest) {
  const Integer SourceWidth = Source.GetWidth(), SourceHeight = Source.GetHeight();
  const Integer DestWidth = Dest.GetWidth(), DestHeight = Dest.GetHeight();
  std::vector<Integer> Columns(DestWidth);
  for (Integer X = 0; X < DestWidth; ++X)
    Columns[X] = static_cast<Integer>(static_cast<Int64>(X) * SourceWidth / DestWidth);
  const Integer Bits = IEBitsPerPixel[Source.GetPixelFormat()];
  const size_t PixelBytes = static_cast<size_t>(Bits / 8);
  for (Integer Y = 0; Y < DestHeight; ++Y) {
    const Integer SourceY = static_cast<Integer>(static_cast<Int64>(Y) * SourceHeight / DestHeight);
    const auto* SourceRow = static_cast<const Byte*>(Source.GetScanline(SourceY));
    auto* DestRow = static_cast<Byte*>(Dest.GetScanline(Y));
    if (Bits == 1) {
      std::memset(DestRow, 0, static_cast<size_t>(Dest.GetRowLen()));
      for (Integer X = 0; X < DestWidth; ++X) {
        const Integer SX = Columns[X];
        if (SourceRow[SX >> 3] & (0x80 >> (SX & 7))) DestRow[X >> 3] |= static_cast<Byte>(0x80 >> (X & 7));
      }
    } else {
      for (Integer X = 0; X < DestWidth; ++X)
        std::memcpy(DestRow + X * PixelBytes, SourceRow + Columns[X] * PixelBytes, PixelBytes);
    }
  }
}

}  // namespace

void TZezudIdIO::AdjustDPI() {
  if (!MakeConsistentBitmap({})) return;
  TIOParamsVals& P = *FParams;
  const Integer DpiX = P.DpiX, DpiY = P.DpiY;
  if (DpiX == DpiY || DpiX <= 0 || DpiY <= 0) return;
  TIEBitmap& Picture = *FIEBitmap;
  Integer Width = Picture.GetWidth(), Height = Picture.GetHeight();
  if (Width <= 0 || Height <= 0 || P.Width <= 0 || P.Height <= 0) return;
  // The shorter side grows or shrinks to the other side's resolution.
  const bool ScaleHeight = P.Height < P.Width;
  const Integer Dpi = ScaleHeight ? DpiX : DpiY;
  const Double NewSide =
      ScaleHeight ? static_cast<Double>(Height) / DpiY * DpiX : static_cast<Double>(Width) / DpiX * DpiY;
  // Resolutions from a file can ask for a side no picture can have.
  if (NewSide < 1 || NewSide > std::numeric_limits<Integer>::max()) return;
  (ScaleHeight ? Height : Width) = static_cast<Integer>(NewSide);

  std::unique_ptr<TIEBitmap> KeptAlpha;
  if (Picture.HasAlphaChannel()) {
    KeptAlpha = std::make_unique<TIEBitmap>();
    KeptAlpha->Assign(Picture.GetAlphaChannel());
  }
  TIEBitmap Resized;
  if (FFilteredAdjustDPI) {
    if (Picture.GetPixelFormat() != ie24RGB) Picture.ConvertToPixelFormat(ie24RGB);
    if (!Resized.Allocate(Width, Height, ie24RGB)) return;
    IEResampleFiltered(&Picture, &Resized, rfFastLinear);
  } else {
    if (!Resized.Allocate(Width, Height, Picture.GetPixelFormat())) return;
    Picture.CopyPaletteTo(&Resized);
    ResampleNearest(Picture, Resized);
  }
  Picture.Assign(&Resized);
  if (KeptAlpha) ResampleNearest(*KeptAlpha, *Picture.GetAlphaChannel());
  // Written directly: the setters would also change the EXIF values and the view.
  P.DpiX = Dpi;
  P.DpiY = Dpi;
  P.Width = Width;
  P.Height = Height;
}

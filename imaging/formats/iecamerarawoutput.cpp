// Output of the developed camera raw picture: a white point from the brightness histogram, a
// gamma curve through the magnitude channel, and the 24- or 48-bit rows; and the turn back of
// sensors stored at 45 degrees.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iecolorspace.h"
#include "imaging/formats/iecameraraw.h"

namespace {

// The level below which all but a small percentile of the cells fall, in magnitude units.
double WhitePoint(const TCameraRawContext& Context) {
  const double Fraction = std::strcmp(Context.Make, "FUJIFILM") == 0 ? 0.005 : 0.01;
  const double Percentile = std::nearbyint(Fraction * Context.Width * Context.Height);
  double Total = 0;
  for (Integer Level = RawHistogramSize - 1; Level >= 1; --Level) {
    Total += Context.Histogram[Level];
    if (Total > Percentile) return Level * 16.0;
  }
  return 1.0;
}

void FillScaleTable(const TCameraRawContext& Context, bool Deep, Double* Scale) {
  const double White = WhitePoint(Context);
  const double Mul = Context.Brightness * 442.0 / White * (Deep ? 65535.0 / 255.0 : 1.0);
  const Extended Exponent = static_cast<Extended>(Context.Gamma) - 1;
  Scale[0] = 0;
  for (Integer I = 1; I <= 0xFFFF; ++I)
    Scale[I] = static_cast<double>(IEPower(static_cast<Extended>(2.0 * I / White), Exponent)) * Mul;
}

template <typename TSample>
void WriteRows(TCameraRawContext& Context, TIEBitmap* Bitmap, const Double* Scale, double Limit, bool Bgr) {
  const Integer Trim = Context.Trim;
  const Integer XMag = std::max(Context.XMag, 1);
  const Integer YMag = std::max(Context.YMag, 1);
  const Integer OutWidth = (Context.ImageWidth - 2 * Trim) * XMag;
  std::vector<TSample> Line(static_cast<std::size_t>(OutWidth) * 3);
  Integer OutRow = 0;
  for (Integer Row = Trim; Row < Context.ImageHeight - Trim; ++Row) {
    const Word(*Cell)[4] = Context.Image + static_cast<std::size_t>(Row) * Context.ImageWidth;
    TSample* Out = Line.data();
    for (Integer Col = Trim; Col < Context.ImageWidth - Trim; ++Col) {
      const Word* Pixel = Cell[Col];
      const double Factor = Scale[Pixel[3]];
      TSample Rgb[3];
      for (Integer C = 0; C < 3; ++C)
        Rgb[C] = static_cast<TSample>(std::min(std::nearbyint(Pixel[C] * Factor), Limit));
      for (Integer Repeat = 0; Repeat < XMag; ++Repeat, Out += 3) {
        Out[0] = Rgb[Bgr ? 2 : 0];
        Out[1] = Rgb[1];
        Out[2] = Rgb[Bgr ? 0 : 2];
      }
    }
    for (Integer Repeat = 0; Repeat < YMag; ++Repeat)
      std::memcpy(Bitmap->GetScanline(OutRow++), Line.data(), Line.size() * sizeof(TSample));
  }
}

// Turns a picture stored at 45 degrees back upright; TSample is the pixel format's sample.
template <typename TSample>
void FujiRotate(TIEBitmap* Bitmap, TIEPixelFormat Format) {
  using TPixel = TSample[3];
  const Integer Width = Bitmap->GetWidth();
  const Integer Height = Bitmap->GetHeight();
  if (Width <= 0 || Height <= 0) return;
  const auto* First = static_cast<const TPixel*>(Bitmap->GetScanline(0));
  auto IsBlack = [](const TPixel& P) { return P[0] == 0 && P[1] == 0 && P[2] == 0; };
  Integer Lead = 0;
  while (Lead < Width && IsBlack(First[Lead])) ++Lead;
  Integer Last = Width;
  while (Last > 0 && IsBlack(First[Last - 1])) --Last;
  const Integer GridWidth = Last - 1;
  const Integer GridHeight = 2 * Width - 2 * Lead - 4;
  // A first row without a rotated frame leaves nothing to turn back.
  if (GridWidth < 1 || GridHeight < 3) return;
  std::vector<TSample> Grid(static_cast<std::size_t>(GridHeight) * GridWidth * 3);
  auto GridCell = [&](Integer Row, Integer Col) {
    return &Grid[(static_cast<std::size_t>(Row) * GridWidth + Col) * 3];
  };
  for (Integer Y = 0; Y < Height; ++Y) {
    const auto* Line = static_cast<const TPixel*>(Bitmap->GetScanline(Y));
    for (Integer X = 0; X < Width; ++X) {
      const Integer Row = Y + X - Last + 6;
      const Integer Col = (X + GridWidth - Y - 1) / 2;
      if (Row < 0 || Row >= GridHeight || Col < 0 || Col >= GridWidth) continue;
      std::copy(Line[X], Line[X] + 3, GridCell(Row, Col));
    }
  }
  TIEBitmap Turned(2 * GridWidth, GridHeight, Format);
  for (Integer K = 1; K < GridHeight; ++K) {
    auto* Out = static_cast<TPixel*>(Turned.GetScanline(K - 1));
    for (Integer M = 1; M < 2 * GridWidth; ++M) {
      TSample* Target = Out[M - 1];
      if ((K + M) % 2 == 0) {
        std::copy(GridCell(K, M / 2), GridCell(K, M / 2) + 3, Target);
      } else if (K < GridHeight - 1 && M < 2 * GridWidth - 1) {
        const Integer SideCol = (K & 1) ? M / 2 - 1 : M / 2;
        for (Integer C = 0; C < 3; ++C)
          Target[C] = static_cast<TSample>((GridCell(K - 1, M / 2)[C] + GridCell(K + 1, M / 2)[C] +
                                            GridCell(K, SideCol)[C] + GridCell(K, SideCol + 1)[C]) >>
                                           2);
      }
    }
  }
  Bitmap->Assign(&Turned);
}

}  // namespace

void RawWritePicture(TCameraRawContext& Context, TIEBitmap* Bitmap, bool Deep, Double* ScaleTable) {
  FillScaleTable(Context, Deep, ScaleTable);
  const Integer Trim = Context.Trim;
  const Integer Width = std::max(Context.ImageWidth - 2 * Trim, 0) * std::max(Context.XMag, 1);
  const Integer Height = std::max(Context.ImageHeight - 2 * Trim, 0) * std::max(Context.YMag, 1);
  const bool Allocated = Bitmap->Allocate(Width, Height, Deep ? ieRGB48 : ie24RGB);
  RawCheckAlloc(Allocated ? Bitmap : nullptr, Deep ? "write_ppm16()" : "write_ppm()");
  if (Deep)
    WriteRows<Word>(Context, Bitmap, ScaleTable, 65535.0, false);
  else
    WriteRows<Byte>(Context, Bitmap, ScaleTable, 255.0, true);
}

void RawFujiRotate24(TIEBitmap* Bitmap) {
  FujiRotate<Byte>(Bitmap, ie24RGB);
}

void RawFujiRotate48(TIEBitmap* Bitmap) {
  FujiRotate<Word>(Bitmap, ieRGB48);
}

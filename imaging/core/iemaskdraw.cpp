// TIEMask drawing at the view's zoom: the scaled copy, the XOR picture, the marching-ants
// outline and the dimmed unselected area.
#include <algorithm>
#include <array>
#include <cstring>

#include "imaging/core/iemask.h"
#include "imaging/core/ieprocbase.h"
#include "platform/classes/Bitmap.h"
#include "platform/gdi/Blit.h"
#include "platform/system/Math.h"

namespace {

// Source pixels per zoomed pixel in 18.14 fixed point.
Int64 ZoomStep(Integer SrcExtent, Integer ZoomExtent) {
  return Trunc(static_cast<Extended>(SrcExtent) / ZoomExtent * 16384);
}

// The zoomed index of a source offset from the window's start (division truncating).
Int64 ZoomIndexOf(Int64 SourceOffset, Int64 Step) {
  return SourceOffset * 16384 / Step;
}

}  // namespace

void IEScaleMaskRows(Integer BitsPerPixel, Byte* Dest, Integer ZoomWidth, Integer ZoomHeight, Integer SrcX,
                     Integer SrcY, Integer SrcWidth, Integer SrcHeight, const Byte* Bits, Integer Width,
                     Integer Height, Integer X1, Integer Y1, Integer X2, Integer Y2) {
  if (ZoomWidth <= 0 || ZoomHeight <= 0) return;
  const Integer ZoomRowLen = DibRowBytes(ZoomWidth, BitsPerPixel);
  std::memset(Dest, 0, static_cast<size_t>(ZoomRowLen) * ZoomHeight);
  if (SrcWidth <= 0 || SrcHeight <= 0 || (BitsPerPixel != 1 && BitsPerPixel != 8)) return;
  const Int64 YStep = ZoomStep(SrcHeight, ZoomHeight);
  const Int64 XStep = ZoomStep(SrcWidth, ZoomWidth);
  const Int64 RowFirst = std::max<Int64>(Trunc(static_cast<Extended>(Y1 - SrcY) * ZoomHeight / SrcHeight), 0);
  const Int64 RowLast = std::min<Int64>(
      Trunc(static_cast<Extended>(ZoomHeight) / SrcHeight * (static_cast<Int64>(Y2) - SrcY + 1)),
      ZoomHeight - 1);
  const Int64 ColFirst = std::max<Int64>(Trunc(static_cast<Extended>(X1 - SrcX) * ZoomWidth / SrcWidth), 0);
  const Int64 ColLast = std::min<Int64>(
      Trunc(static_cast<Extended>(ZoomWidth) / SrcWidth * (static_cast<Int64>(X2) - SrcX + 1)),
      ZoomWidth - 1);
  if (ColFirst > ColLast) return;
  // The source column of each zoomed column, found once; -1 where it falls outside the mask.
  std::vector<Integer> SourceColumns(ColLast - ColFirst + 1);
  for (Int64 C = ColFirst; C <= ColLast; ++C) {
    const Int64 SX = SrcX + ((XStep * C) >> 14);
    SourceColumns[C - ColFirst] = SX >= 0 && SX < Width ? static_cast<Integer>(SX) : -1;
  }
  const Integer RowLen = DibRowBytes(Width, BitsPerPixel);
  for (Int64 R = RowFirst; R <= RowLast; ++R) {
    const Int64 SY = std::min<Int64>(Height - 1, SrcY + ((YStep * R) >> 14));
    if (SY < 0) continue;
    const Byte* Source = Bits + static_cast<Int64>(RowLen) * (Height - 1 - SY);
    Byte* Zoomed = Dest + static_cast<Int64>(ZoomRowLen) * (ZoomHeight - 1 - R);
    for (Int64 C = ColFirst; C <= ColLast; ++C) {
      const Integer SX = SourceColumns[C - ColFirst];
      if (SX < 0) continue;
      if (BitsPerPixel == 8)
        Zoomed[C] = Source[SX];
      else if (IEGetBit(Source, SX))
        Zoomed[C >> 3] |= static_cast<Byte>(0x80 >> (C & 7));
    }
  }
}

bool TIEMask::PrepareZoom(Integer ZoomWidth, Integer ZoomHeight, Integer SrcX, Integer SrcY, Integer SrcWidth,
                          Integer SrcHeight) {
  if (FBitsPerPixel != 1 && FBitsPerPixel != 8) return false;
  if (ZoomWidth != FZoomWidth || ZoomHeight != FZoomHeight || !FZoomBits) {
    FreeZoom();
    const Integer ZoomRowLen = DibRowBytes(ZoomWidth, FBitsPerPixel);
    TBytes Bits = NewZeroedBits(ZoomRowLen, ZoomHeight);
    if (!Bits) return false;
    FZoomBits = std::move(Bits);
    FZoomWidth = ZoomWidth;
    FZoomHeight = ZoomHeight;
    FZoomRows.resize(ZoomHeight);
    for (Integer R = 0; R < ZoomHeight; ++R)
      FZoomRows[R] = FZoomBits.get() + static_cast<Int64>(ZoomRowLen) * (ZoomHeight - 1 - R);
  }
  IEScaleMaskRows(FBitsPerPixel, FZoomBits.get(), ZoomWidth, ZoomHeight, SrcX, SrcY, SrcWidth, SrcHeight,
                  FBits.get(), FWidth, FHeight, FX1, FY1, FX2, FY2);
  return true;
}

bool TIEMask::ZoomSelected(Integer C, Integer R) const {
  if (C < 0 || R < 0 || C >= FZoomWidth || R >= FZoomHeight) return false;
  const Byte* Row = FZoomRows[R];
  return FBitsPerPixel == 8 ? Row[C] != 0 : IEGetBit(Row, C);
}

bool TIEMask::ZoomHasUnselectedNeighbour(Integer C, Integer R) const {
  for (Integer NR = std::max(R - 1, 0); NR <= std::min(R + 1, FZoomHeight - 1); ++NR)
    if (!ThreeSelected(FZoomRows[NR], C - 1)) return true;
  return false;
}

bool TIEMask::ThreeSelected(const Byte* Row, Integer First) const {
  if (FBitsPerPixel == 8) return Row[First] != 0 && Row[First + 1] != 0 && Row[First + 2] != 0;
  // The three bits from one 16-bit window; the second byte only when they reach into it.
  const Integer Byte0 = First >> 3;
  const Integer Offset = First & 7;
  const Word Window = static_cast<Word>((Row[Byte0] << 8) | (Offset > 5 ? Row[Byte0 + 1] : 0));
  return ((Window >> (13 - Offset)) & 7) == 7;
}

void TIEMask::DrawOnCanvas(TCanvas* Canvas, Integer XDst, Integer YDst, Integer DstWidth, Integer DstHeight,
                           Integer XSrc, Integer YSrc, Integer SrcWidth, Integer SrcHeight) {
  if (!Canvas || FBitsPerPixel != 1 || IsEmpty()) return;
  FDrawInfo.bmiHeader.biWidth = FWidth;
  FDrawInfo.bmiHeader.biHeight = FHeight;
  // DIB rows count from the bottom.
  StretchDIBits(Canvas->GetHandle(), XDst, YDst, DstWidth, DstHeight, XSrc, FHeight - SrcHeight - YSrc,
                SrcWidth, SrcHeight, FBits.get(), &FDrawInfo, DIB_RGB_COLORS, SRCINVERT);
}

void TIEMask::DrawBorderPixel(TCanvas* Canvas, Integer X, Integer Y, const TIERGBTriple& Color) {
  FPixelPtr[0] = Color.rgbtBlue;
  FPixelPtr[1] = Color.rgbtGreen;
  FPixelPtr[2] = Color.rgbtRed;
  Canvas->Draw(X, Y, FPixelBitmap.get());
}

void TIEMask::DrawBorder(TCanvas* Canvas, Integer OffsetX, Integer OffsetY, Integer ZoomWidth,
                         Integer ZoomHeight, Integer SrcX, Integer SrcY, Integer SrcWidth, Integer SrcHeight,
                         Integer Phase, TColor Color1, TColor Color2, TRect* Rect) {
  if (!Canvas || ZoomWidth < 1 || ZoomHeight < 1 || IsEmpty()) return;
  if (!PrepareZoom(ZoomWidth, ZoomHeight, SrcX, SrcY, SrcWidth, SrcHeight)) return;
  const Int64 XStep = ZoomStep(SrcWidth, ZoomWidth);
  const Int64 YStep = ZoomStep(SrcHeight, ZoomHeight);
  if (XStep <= 0 || YStep <= 0) return;
  const Integer RowFirst = static_cast<Integer>(std::max<Int64>(ZoomIndexOf(Int64{FY1} - SrcY, YStep), 0));
  const Integer RowLast =
      static_cast<Integer>(std::min<Int64>(ZoomIndexOf(Int64{FY2} - SrcY + 1, YStep) + 1, ZoomHeight - 1));
  const Integer ColFirst = static_cast<Integer>(std::max<Int64>(ZoomIndexOf(Int64{FX1} - SrcX, XStep), 0));
  const Integer ColLast =
      static_cast<Integer>(std::min<Int64>(ZoomIndexOf(Int64{FX2} - SrcX + 1, XStep) + 1, ZoomWidth - 1));
  if (Rect)
    *Rect = {OffsetX + ColFirst + 1, OffsetY + RowFirst + 1, OffsetX + ColLast - 1, OffsetY + RowLast - 1};
  Canvas->GetPen()->SetStyle(psSolid);
  Canvas->GetPen()->SetMode(pmCopy);
  const TIERGBTriple First = IEColorToRGB(Color1);
  const TIERGBTriple Second = IEColorToRGB(Color2);
  // The window's edge columns and rows are outline where they show the box's edge; inside, a
  // selected pixel with an unselected neighbour is.
  auto OnOutline = [&](Integer C, Integer R) {
    if (C == 0) return SrcX <= FX1;
    if (C == ColLast) return ((C * XStep) >> 14) + SrcX >= FX2 || SrcWidth == FWidth;
    if (R == 0) return SrcY <= FY1;
    if (R == RowLast) return ((R * YStep) >> 14) + SrcY >= FY2 || SrcHeight == FHeight;
    return ZoomHasUnselectedNeighbour(C, R);
  };
  for (Integer R = RowFirst; R <= RowLast; ++R)
    for (Integer C = ColFirst; C <= ColLast; ++C) {
      if (!ZoomSelected(C, R) || !OnOutline(C, R)) continue;
      const Integer X = OffsetX + C, Y = OffsetY + R;
      DrawBorderPixel(Canvas, X, Y, ((X + Y + Phase) & 7) < 4 ? Second : First);
    }
}

void TIEMask::DrawOuter(TBitmap* Bitmap, Integer XDst, Integer YDst, Integer ZoomWidth, Integer ZoomHeight,
                        Integer SrcX, Integer SrcY, Integer SrcWidth, Integer SrcHeight, Integer Opacity,
                        TColor Colour) {
  if (!Bitmap || ZoomWidth < 1 || ZoomHeight < 1 || IsEmpty()) return;
  if (Bitmap->GetPixelFormat() != pf24bit) return;
  // A window starting above or left of the bitmap: the hidden part is skipped at the same scale.
  if (YDst < 0) {
    const Integer Hidden = static_cast<Integer>(Round(static_cast<Extended>(-YDst) * SrcHeight / ZoomHeight));
    SrcHeight += Hidden;
    SrcY += Hidden;
    ZoomHeight -= YDst;
    YDst = 0;
  }
  if (XDst < 0) {
    const Integer Hidden = static_cast<Integer>(Round(static_cast<Extended>(-XDst) * SrcWidth / ZoomWidth));
    SrcWidth += Hidden;
    SrcX += Hidden;
    ZoomWidth -= XDst;
    XDst = 0;
  }
  if (!PrepareZoom(ZoomWidth, ZoomHeight, SrcX, SrcY, SrcWidth, SrcHeight)) return;
  const Int64 XStep = ZoomStep(SrcWidth, ZoomWidth);
  const Int64 YStep = ZoomStep(SrcHeight, ZoomHeight);
  if (XStep <= 0 || YStep <= 0) return;
  const Integer BitmapWidth = Bitmap->GetWidth();
  const Integer BitmapHeight = Bitmap->GetHeight();
  const Integer RowFirst = static_cast<Integer>(std::max<Int64>(ZoomIndexOf(-Int64{SrcY}, YStep), 0));
  const Integer RowLast = static_cast<Integer>(std::min<Int64>(
      {ZoomIndexOf(Int64{FHeight} - SrcY, YStep) + 1, ZoomHeight - 1, BitmapHeight - 1 - Int64{YDst}}));
  const Integer ColFirst = static_cast<Integer>(std::max<Int64>(ZoomIndexOf(-Int64{SrcX}, XStep), 0));
  const Integer ColLast = static_cast<Integer>(std::min<Int64>(
      {ZoomIndexOf(Int64{FWidth} - SrcX, XStep) + 1, ZoomWidth - 1, BitmapWidth - 1 - Int64{XDst}}));
  if (RowFirst > RowLast || ColFirst > ColLast) return;

  // The blend of every channel value, computed once per channel.
  std::array<std::array<Byte, 256>, 3> Blend{};
  if (Opacity != -1) {
    const TIERGBTriple C = IEColorToRGB(Colour);
    const Byte Channels[3] = {C.rgbtBlue, C.rgbtGreen, C.rgbtRed};
    const Extended W = static_cast<Extended>(Opacity) / 255;
    for (Integer Ch = 0; Ch < 3; ++Ch)
      for (Integer V = 0; V < 256; ++V)
        Blend[Ch][V] = IEClampByte(static_cast<Integer>(Trunc(W * Channels[Ch] + (1 - W) * V)));
  }
  constexpr Byte ChequerGrey = 97;
  // The depth is chosen once, outside the rows.
  auto DimRows = [&](auto IsSelected) {
    for (Integer I = RowFirst; I <= RowLast; ++I) {
      Byte* Row = static_cast<Byte*>(Bitmap->GetScanLine(YDst + I)) + static_cast<Int64>(XDst) * 3;
      const Byte* Zoomed = FZoomRows[I];
      for (Integer J = ColFirst; J <= ColLast; ++J) {
        if (IsSelected(Zoomed, J)) continue;
        Byte* P = Row + static_cast<Int64>(J) * 3;
        if (Opacity == -1) {
          if ((I & 1) == (J & 1)) P[0] = P[1] = P[2] = ChequerGrey;
        } else {
          P[0] = Blend[0][P[0]];
          P[1] = Blend[1][P[1]];
          P[2] = Blend[2][P[2]];
        }
      }
    }
  };
  if (FBitsPerPixel == 8)
    DimRows([](const Byte* Zoomed, Integer J) { return Zoomed[J] != 0; });
  else
    DimRows([](const Byte* Zoomed, Integer J) { return IEGetBit(Zoomed, J); });
}

#include "imaging/core/iedrawutils.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <numbers>

#include "imaging/core/iebitmap.h"
#include "imaging/core/ieblur.h"
#include "imaging/core/iegdiplus.h"
#include "platform/classes/Bitmap.h"
#include "platform/gdi/Painting.h"
#include "platform/system/Math.h"

namespace {

Byte Scaled(Byte Value, Double Factor) {
  return static_cast<Byte>(Trunc(Value * Factor));
}

// Where a darkened strip's pixels live: the rows of a 24-bit bitmap where it covers them, the
// canvas elsewhere.
class TShadowTarget {
 public:
  TShadowTarget(TCanvas* Canvas, TBitmap* Bitmap) : FCanvas(Canvas) {
    if (Bitmap != nullptr && Bitmap->GetPixelFormat() == pf24bit) {
      FBitmap = Bitmap;
      FWidth = Bitmap->GetWidth();
      FHeight = Bitmap->GetHeight();
    }
  }
  void Darken(Integer X, Integer Y, Double Factor) {
    if (FBitmap != nullptr && X >= 0 && X < FWidth && Y >= 0 && Y < FHeight) {
      Byte* P = static_cast<Byte*>(FBitmap->GetScanLine(Y)) + 3 * X;
      for (Integer C = 0; C < 3; ++C) P[C] = Scaled(P[C], Factor);
      return;
    }
    const COLORREF Old = static_cast<COLORREF>(FCanvas->GetPixels(X, Y));
    if (Old == CLR_INVALID) return;  // outside the canvas's surface
    FCanvas->SetPixels(X, Y,
                       static_cast<TColor>(RGB(Scaled(GetRValue(Old), Factor), Scaled(GetGValue(Old), Factor),
                                               Scaled(GetBValue(Old), Factor))));
  }

 private:
  TCanvas* FCanvas;
  TBitmap* FBitmap = nullptr;
  Integer FWidth = 0;
  Integer FHeight = 0;
};

// Darkening of the strip's line at Offset from the object (0 next to it) of a strip Size wide.
Double DarkenFactor(Integer Offset, Integer Size) {
  const Double T = (Size - Offset) / (Size / 3.0);
  return std::exp(-0.1 - T * T / 6);
}

// The grey ramp of style 3: the level of line I of the strip's length Size, and the grey at
// offset J across a strip Size wide, never below that level.
Integer RampLevel(Integer I, Integer Size) {
  return static_cast<Integer>(std::clamp<Int64>(
      Trunc(255 * std::exp(static_cast<Double>(Size - 3 * I) / Size) / std::numbers::e), 0, 255));
}
Integer RampGrey(Integer J, Integer Size, Integer Level) {
  return std::max(
      static_cast<Integer>(Trunc(255 * std::exp(static_cast<Double>(J) / Size) / std::numbers::e)), Level);
}

TColor Grey(Integer G) {
  return static_cast<TColor>(RGB(static_cast<Byte>(G), static_cast<Byte>(G), static_cast<Byte>(G)));
}

}  // namespace

namespace {

// A shadow strip seen along the object's edge: "across" runs away from the object (the columns
// of a vertical strip, the rows of a horizontal one), "along" follows the edge.
struct TShadowStrip {
  bool Vertical;
  Integer AcrossStart, AcrossEnd;  // inclusive
  Integer AlongStart, AlongEnd;    // inclusive
  // The diagonal end of a darkened strip: line h runs to AlongEnd + EndReach - Width + h.
  Integer EndReach;

  Integer Width() const { return AcrossEnd - AcrossStart + 1; }
  Integer Length() const { return AlongEnd - AlongStart + 1; }
  TPoint At(Integer Across, Integer Along) const {
    return Vertical ? TPoint{Across, Along} : TPoint{Along, Across};
  }
};

void DrawShadowStrip(TCanvas* Canvas, TBitmap* Bitmap, const TShadowStrip& S, Integer Style) {
  const Integer W = S.Width(), L = S.Length();
  if (W <= 0 || L <= 0) return;  // no strip
  switch (Style) {
    case iessSolid: {
      // Right and bottom edges exclusive, as the canvas fills: the far side stays unfilled.
      const TPoint From = S.At(S.AcrossStart, S.AlongStart + W), To = S.At(S.AcrossEnd, S.AlongEnd + 1);
      Canvas->FillRect(TRect{From.X, From.Y, To.X, To.Y});
      break;
    }
    case iessDarken: {
      TShadowTarget Target(Canvas, Bitmap);
      for (Integer H = 0; H < W; ++H) {
        const Double F = DarkenFactor(H, W);
        for (Integer Along = S.AlongStart + W; Along <= S.AlongEnd + S.EndReach - W + H; ++Along) {
          const TPoint P = S.At(S.AcrossStart + H, Along);
          Target.Darken(P.X, P.Y, F);
        }
      }
      break;
    }
    case iessGreyRamp: {
      // Lines 0 .. L along and offsets up to W across, one past the strip each way; the
      // first offset grows by one on each line past L - W + 1.
      Integer First = 0;
      for (Integer I = 0; I <= L; ++I) {
        if (I > L - W + 1) ++First;
        const Integer Level = RampLevel(I, L);
        for (Integer J = First; J <= W; ++J) {
          const TPoint P = S.At(S.AcrossStart + J, S.AlongStart + I);
          Canvas->SetPixels(P.X, P.Y, Grey(RampGrey(J, W, Level)));
        }
      }
      break;
    }
    default:
      break;
  }
}

}  // namespace

void IEDrawVerticalShadow(TCanvas* Canvas, TBitmap* Bitmap, Integer X1, Integer Y1, Integer X2, Integer Y2,
                          Integer Style, TColor /*Color*/) {
  DrawShadowStrip(Canvas, Bitmap, TShadowStrip{true, X1, X2, Y1, Y2, 3}, Style);
}

void IEDrawHorizontalShadow(TCanvas* Canvas, TBitmap* Bitmap, Integer X1, Integer Y1, Integer X2, Integer Y2,
                            Integer Style, TColor /*Color*/) {
  DrawShadowStrip(Canvas, Bitmap, TShadowStrip{false, Y1, Y2, X1, X2, 1}, Style);
}

void IEDrawSoftShadow(TBitmap* Bitmap, Integer Left, Integer Top, Integer Right, Integer Bottom,
                      TColor /*Color*/) {
  if (Bitmap->GetPixelFormat() != pf24bit) return;
  const Integer MaskW = Right - Left + 11, MaskH = Bottom - Top + 11;
  if (MaskW <= 0 || MaskH <= 0) return;
  // The shadow shape: the object widened 2 pixels right and down, blurred; mask (0, 0) lies
  // over picture pixel (Left - 5, Top - 5).
  auto Mask = std::make_unique<TIEBitmap>(MaskW, MaskH, ie8g);
  Mask->Fill(0);
  Mask->FillRect(5, 5, Right - Left + 7, Bottom - Top + 7, 255);
  IEBlurChannel(Mask.get(), 0, 0, MaskW - 1, MaskH - 1, 2.5);

  std::array<Double, 256> Keep;
  for (Integer M = 0; M < 256; ++M) Keep[M] = 1 - M / 255.0;
  const Integer X1 = std::max(Left - 5, 0), X2 = std::min(Right + 5, Bitmap->GetWidth() - 1);
  const Integer Y1 = std::max(Top - 5, 0), Y2 = std::min(Bottom + 5, Bitmap->GetHeight() - 1);
  for (Integer Y = Y1; Y <= Y2; ++Y) {
    const Byte* MaskRow = static_cast<Byte*>(Mask->GetScanline(Y - Top + 5));
    Byte* Row = static_cast<Byte*>(Bitmap->GetScanLine(Y));
    const bool BesideOnly = Y >= Top && Y < Bottom;  // rows of the object keep its columns
    for (Integer X = X1; X <= X2; ++X) {
      if (BesideOnly && X >= Left && X < Right) {
        X = Right - 1;
        continue;
      }
      const Double F = Keep[MaskRow[X - Left + 5]];
      Byte* P = Row + 3 * X;
      P[0] = Scaled(P[0], F);
      P[1] = Scaled(P[1], F);
      P[2] = Scaled(P[2], F);
    }
  }
}

namespace {

// The frame's two strokes, the top-left one first, through any canvas with the platform's
// MoveTo / LineTo and a pen colour setter.
template <class TFrameCanvas, class TSetColor>
void DrawFrame(TFrameCanvas* Canvas, TSetColor SetColor, Integer X1, Integer Y1, Integer X2, Integer Y2,
               TColor TopLeftColor, TColor BottomRightColor) {
  SetColor(TopLeftColor);
  Canvas->MoveTo(X1, Y2);
  Canvas->LineTo(X1, Y1);
  Canvas->LineTo(X2, Y1);
  SetColor(BottomRightColor);
  Canvas->MoveTo(X1, Y2);
  Canvas->LineTo(X2, Y2);
  Canvas->LineTo(X2, Y1);
}

}  // namespace

void IEDraw3DRect(TCanvas* Canvas, Integer X1, Integer Y1, Integer X2, Integer Y2, TColor TopLeftColor,
                  TColor BottomRightColor) {
  TPen* Pen = Canvas->GetPen();
  Pen->SetMode(pmCopy);
  Pen->SetStyle(psSolid);
  Pen->SetWidth(1);
  DrawFrame(
      Canvas, [Pen](TColor C) { Pen->SetColor(C); }, X1, Y1, X2, Y2, TopLeftColor, BottomRightColor);
}

void IEDraw3DRectIECanvas(TIECanvas* Canvas, Integer X1, Integer Y1, Integer X2, Integer Y2,
                          TColor TopLeftColor, TColor BottomRightColor) {
  TIEPen* Pen = Canvas->GetPen();
  Pen->SetMode(pmCopy);
  Pen->SetStyle(psSolid);
  DrawFrame(
      Canvas, [Pen](TColor C) { Pen->SetColor(C); }, X1, Y1, X2, Y2, TopLeftColor, BottomRightColor);
}

void IEDrawDarkFrame(TCanvas* Canvas, Integer X, Integer Y, Integer Width, Integer Height, Integer Left,
                     Integer Top, Integer Right, Integer Bottom) {
  if (Left >= Right || Top >= Bottom) return;
  TIECanvas Dark(Canvas, true, false);
  Dark.GetBrush()->SetColor(clBlack);
  Dark.GetBrush()->SetStyle(bsSolid);
  Dark.GetBrush()->SetTransparency(150);
  const Integer OuterRight = X + Width + 1, OuterBottom = Y + Height + 1;
  // The bands overlap near the inner corners (darkened twice where they blend).
  Dark.FillRect(TRect{X, Y, Left + 2, OuterBottom});
  Dark.FillRect(TRect{Right, Y, OuterRight, OuterBottom});
  Dark.FillRect(TRect{Left + 1, Y, Right + 1, Top + 2});
  Dark.FillRect(TRect{Left + 1, Bottom + 1, Right + 1, OuterBottom});
}

// The common frame of the extra transitions and the families that move, stretch or wipe the
// pictures with plain block and stretch copies.
#include "imaging/proc/iextratransitions.h"

#include <algorithm>

#include "imaging/proc/iextratransitionsdraw.h"
#include "platform/classes/Bitmap.h"
#include "platform/classes/Canvas.h"
#include "platform/gdi/Blit.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Regions.h"
#include "platform/system/Math.h"

namespace ExtraTransitionDraw {

void Copy(TCanvas* Canvas, Integer X, Integer Y, Integer W, Integer H, TBitmap* Src, Integer SX, Integer SY) {
  if (W <= 0 || H <= 0) return;
  BitBlt(Canvas->GetHandle(), X, Y, W, H, Src->GetCanvas()->GetHandle(), SX, SY, SRCCOPY);
  Canvas->Changed();
}

void CopySelf(TCanvas* Canvas, Integer X, Integer Y, Integer W, Integer H, Integer SX, Integer SY) {
  if (W <= 0 || H <= 0) return;
  HDC DC = Canvas->GetHandle();
  BitBlt(DC, X, Y, W, H, DC, SX, SY, SRCCOPY);
  Canvas->Changed();
}

void Stretch(TCanvas* Canvas, Integer X, Integer Y, Integer W, Integer H, TBitmap* Src, Integer SX,
             Integer SY, Integer SW, Integer SH) {
  if (W <= 0 || H <= 0 || SW <= 0 || SH <= 0) return;
  StretchBlt(Canvas->GetHandle(), X, Y, W, H, Src->GetCanvas()->GetHandle(), SX, SY, SW, SH, SRCCOPY);
  Canvas->Changed();
}

void StretchSelf(TCanvas* Canvas, Integer X, Integer Y, Integer W, Integer H, Integer SX, Integer SY,
                 Integer SW, Integer SH) {
  if (W <= 0 || H <= 0 || SW <= 0 || SH <= 0) return;
  HDC DC = Canvas->GetHandle();
  StretchBlt(DC, X, Y, W, H, DC, SX, SY, SW, SH, SRCCOPY);
  Canvas->Changed();
}

TRegionGuard::~TRegionGuard() {
  if (FRgn) DeleteObject(FRgn);
}

void TRegionGuard::Reset(HRGN R) {
  if (FRgn && FRgn != R) DeleteObject(FRgn);
  FRgn = R;
}

void CopyThroughRegion(TCanvas* Canvas, HRGN Rgn, TBitmap* Src, Integer W, Integer H) {
  if (!Rgn) return;
  TRegionGuard Guard(Rgn);
  HDC DC = Canvas->GetHandle();
  SelectClipRgn(DC, Rgn);
  try {
    Copy(Canvas, 0, 0, W, H, Src, 0, 0);
  } catch (...) {
    SelectClipRgn(DC, nullptr);
    throw;
  }
  SelectClipRgn(DC, nullptr);
}

void CombineInto(HRGN& Dest, HRGN Src, Integer Mode) {
  if (!Src) return;
  if (!Dest) {
    Dest = Src;
    return;
  }
  TRegionGuard Guard(Src);
  CombineRgn(Dest, Dest, Src, Mode);
}

}  // namespace ExtraTransitionDraw

using namespace ExtraTransitionDraw;

namespace {

// MulDiv of a zero-sized frame: the platform answers -1 for a zero divisor, which would make a
// negative progressed size.
Integer ScaleBy(Integer Number, Integer Numerator, Integer Denominator) {
  return Denominator == 0 ? 0 : MulDiv(Number, Numerator, Denominator);
}

}  // namespace

void CalcProgressSizes(const TRect& ARect, Integer Progress, Integer& W, Integer& H, Integer& PW,
                       Integer& PH) {
  W = ARect.Right - ARect.Left;
  H = ARect.Bottom - ARect.Top;
  if (W >= H) {
    PW = MulDiv(W, Progress, 100);
    PH = ScaleBy(PW, H, W);
  } else {
    PH = MulDiv(H, Progress, 100);
    PW = ScaleBy(PH, W, H);
  }
}

void StretchMirrored(TCanvas* Canvas, TRect Dest, TBitmap* B, TRect Source, bool MirrorHorz,
                     bool MirrorVert) {
  Source.Left = std::max(Source.Left, 0);
  Source.Top = std::max(Source.Top, 0);
  Source.Right = std::min(Source.Right, B->GetWidth());
  Source.Bottom = std::min(Source.Bottom, B->GetHeight());
  if (MirrorHorz) Dest = {Dest.Right + 1, Dest.Top, Dest.Left - 1, Dest.Bottom};
  if (MirrorVert) Dest = {Dest.Left, Dest.Bottom + 1, Dest.Right, Dest.Top - 1};
  HDC DC = Canvas->GetHandle();
  SetStretchBltMode(DC, HALFTONE);
  if (Source.Right <= Source.Left || Source.Bottom <= Source.Top) return;
  StretchBlt(DC, Dest.Left, Dest.Top, Dest.Right - Dest.Left, Dest.Bottom - Dest.Top,
             B->GetCanvas()->GetHandle(), Source.Left, Source.Top, Source.Right - Source.Left,
             Source.Bottom - Source.Top, SRCCOPY);
  Canvas->Changed();
}

// ---- Expands: Next stretched into a growing area ----

XT_PROC(ExpandFromLeft) {
  XT_FRAME;
  Stretch(Canvas, 0, 0, PW, H, Next, 0, 0, W, H);
}
XT_PROC(ExpandFromRight) {
  XT_FRAME;
  Stretch(Canvas, W - PW, 0, PW, H, Next, 0, 0, W, H);
}
XT_PROC(ExpandFromTop) {
  XT_FRAME;
  Stretch(Canvas, 0, 0, W, PH, Next, 0, 0, W, H);
}
XT_PROC(ExpandFromBottom) {
  XT_FRAME;
  Stretch(Canvas, 0, H - PH, W, PH, Next, 0, 0, W, H);
}
XT_PROC(ExpandFromTopLeft) {
  XT_FRAME;
  Stretch(Canvas, 0, 0, PW, PH, Next, 0, 0, W, H);
}
XT_PROC(ExpandFromTopRight) {
  XT_FRAME;
  Stretch(Canvas, W - PW, 0, PW, PH, Next, 0, 0, W, H);
}
XT_PROC(ExpandFromBottomLeft) {
  XT_FRAME;
  Stretch(Canvas, 0, H - PH, PW, PH, Next, 0, 0, W, H);
}
XT_PROC(ExpandFromBottomRight) {
  XT_FRAME;
  Stretch(Canvas, W - PW, H - PH, PW, PH, Next, 0, 0, W, H);
}
XT_PROC(ExpandInFromLeft) {
  XT_FRAME;
  Stretch(Canvas, PW - W, 0, 2 * W - PW, H, Next, W - PW, 0, PW, H);
}
XT_PROC(ExpandInFromRight) {
  XT_FRAME;
  Stretch(Canvas, 0, 0, 2 * W - PW, H, Next, 0, 0, PW, H);
}
XT_PROC(ExpandInFromTop) {
  XT_FRAME;
  Stretch(Canvas, 0, PH - H, W, 2 * H - PH, Next, 0, H - PH, W, PH);
}
XT_PROC(ExpandInFromBottom) {
  XT_FRAME;
  Stretch(Canvas, 0, 0, W, 2 * H - PH, Next, 0, 0, W, PH);
}
XT_PROC(ExpandInToVerticalCenter) {
  XT_FRAME;
  Stretch(Canvas, PW - W, 0, 3 * W - 2 * PW, H, Next, (W - PW) / 2, 0, PW, H);
}
XT_PROC(ExpandInToHorizon) {
  XT_FRAME;
  Stretch(Canvas, 0, PH - H, W, 3 * H - 2 * PH, Next, 0, (H - PH) / 2, W, PH);
}
XT_PROC(ExpandInFromSides) {
  XT_FRAME;
  Stretch(Canvas, 0, 0, PW / 2, H, Next, 0, 0, W / 2, H);
  Stretch(Canvas, W - PW / 2, 0, PW / 2, H, Next, W / 2, 0, W / 2, H);
}
XT_PROC(ExpandInFromTopAndBottom) {
  XT_FRAME;
  Stretch(Canvas, 0, 0, W, PH / 2, Next, 0, 0, W, H / 2);
  Stretch(Canvas, 0, H - PH / 2, W, PH / 2, Next, 0, H / 2, W, H / 2);
}
XT_PROC(ExpandOutFromHorizon) {
  XT_FRAME;
  Stretch(Canvas, 0, (H - PH) / 2, W, PH, Next, 0, 0, W, H);
}
XT_PROC(ExpandOutFromVerticalCenter) {
  XT_FRAME;
  Stretch(Canvas, (W - PW) / 2, 0, PW, H, Next, 0, 0, W, H);
}

// ---- Rectangular wipes: Next copied in place ----

XT_PROC(WipeFromTopLeft) {
  XT_FRAME;
  Copy(Canvas, 0, 0, PW, PH, Next, 0, 0);
}
XT_PROC(WipeFromTopRight) {
  XT_FRAME;
  Copy(Canvas, W - PW, 0, PW, PH, Next, W - PW, 0);
}
XT_PROC(WipeFromBottomLeft) {
  XT_FRAME;
  Copy(Canvas, 0, H - PH, PW, PH, Next, 0, H - PH);
}
XT_PROC(WipeFromBottomRight) {
  XT_FRAME;
  Copy(Canvas, W - PW, H - PH, PW, PH, Next, W - PW, H - PH);
}
XT_PROC(WipeInFromTopAndBottom) {
  XT_FRAME;
  const Integer HH = PH / 2;
  Copy(Canvas, 0, 0, W, HH, Next, 0, 0);
  Copy(Canvas, 0, H - HH, W, HH, Next, 0, H - HH);
}
XT_PROC(WipeFromHorizon) {
  XT_FRAME;
  const Integer Y = (H - PH) / 2;
  Copy(Canvas, 0, Y, W, PH, Next, 0, Y);
}
XT_PROC(WipeInFromSides) {
  XT_FRAME;
  const Integer HW = PW / 2;
  Copy(Canvas, 0, 0, HW, H, Next, 0, 0);
  Copy(Canvas, W - HW, 0, HW, H, Next, W - HW, 0);
}
XT_PROC(WipeOutFromVerticalCenter) {
  XT_FRAME;
  const Integer X = (W - PW) / 2;
  Copy(Canvas, X, 0, PW, H, Next, X, 0);
}

// ---- Build-ups: the revealed part in place, the rest a stretched strip of its edge ----

XT_PROC(BuildUpFromLeft) {
  XT_FRAME;
  Copy(Canvas, W - PW, 0, PW, H, Next, W - PW, 0);
  const Integer XS = std::max(W - PW - W / 10, 0);
  Stretch(Canvas, 0, 0, W - PW, H, Next, XS, 0, W - PW - XS, H);
}
XT_PROC(BuildUpFromRight) {
  XT_FRAME;
  Copy(Canvas, 0, 0, PW, H, Next, 0, 0);
  const Integer SW = std::min(W - PW, W / 10);
  Stretch(Canvas, PW, 0, W - PW, H, Next, PW, 0, SW, H);
}
XT_PROC(BuildUpFromTop) {
  XT_FRAME;
  Copy(Canvas, 0, H - PH, W, PH, Next, 0, H - PH);
  const Integer YS = std::max(H - PH - H / 10, 0);
  Stretch(Canvas, 0, 0, W, H - PH, Next, 0, YS, W, H - PH - YS);
}
XT_PROC(BuildUpFromBottom) {
  XT_FRAME;
  Copy(Canvas, 0, 0, W, PH, Next, 0, 0);
  const Integer SH = std::min(H - PH, H / 10);
  Stretch(Canvas, 0, PH, W, H - PH, Next, 0, PH, W, SH);
}

// ---- Unrolls: the unrolled part in place and the roll, a mirrored strip beyond it ----

namespace {

// The roll's width: half the unrolled length at the start, a tenth in the middle, half the
// rest at the end.
Integer RollWidth(Integer Size, Integer Done) {
  if (Done < Size / 5) return Done / 2;
  if (Size < Done + Size / 5) return (Size - Done) / 2;
  return Size / 10;
}

void RectCopy(TCanvas* Canvas, const TRect& Dest, TBitmap* Src, const TRect& Source) {
  Canvas->CopyRect(Dest, Src->GetCanvas(), Source);
}

}  // namespace

XT_PROC(UnrollFromLeft) {
  XT_FRAME;
  TRect R1 = ARect;
  TRect R2 = ARect;
  R1.Left = PW;
  R1.Right = PW + RollWidth(W, PW);
  R2.Left = R1.Right;
  R2.Right = 2 * R1.Right - R1.Left;
  StretchMirrored(Canvas, R1, Next, R2, true, false);
  R1.Left = 0;
  R1.Right = PW;
  R2.Left = 0;
  R2.Right = PW;
  RectCopy(Canvas, R1, Next, R2);
}
XT_PROC(UnrollFromRight) {
  XT_FRAME;
  const Integer D = W - PW;
  TRect R1 = ARect;
  TRect R2 = ARect;
  R1.Right = D;
  R1.Left = D - RollWidth(W, PW);
  R2.Right = R1.Left;
  R2.Left = 2 * R1.Left - R1.Right;
  StretchMirrored(Canvas, R1, Next, R2, true, false);
  R1 = {D, ARect.Top, W, ARect.Bottom};
  RectCopy(Canvas, R1, Next, R1);
}
XT_PROC(UnrollFromTop) {
  XT_FRAME;
  TRect R1 = ARect;
  TRect R2 = ARect;
  R1.Top = PH;
  R1.Bottom = PH + RollWidth(H, PH);
  R2.Top = R1.Bottom;
  R2.Bottom = 2 * R1.Bottom - R1.Top;
  StretchMirrored(Canvas, R1, Next, R2, false, true);
  R1.Top = 0;
  R1.Bottom = PH;
  R2.Top = 0;
  R2.Bottom = PH;
  RectCopy(Canvas, R1, Next, R2);
}
XT_PROC(UnrollFromBottom) {
  XT_FRAME;
  const Integer D = H - PH;
  TRect R1 = ARect;
  TRect R2 = ARect;
  R1.Bottom = D;
  R1.Top = D - RollWidth(H, PH);
  R2.Bottom = R1.Top;
  R2.Top = 2 * R1.Top - R1.Bottom;
  StretchMirrored(Canvas, R1, Next, R2, false, true);
  R1 = {ARect.Left, D, ARect.Right, H};
  RectCopy(Canvas, R1, Next, R1);
}

// ---- Slides and shrinks ----

XT_PROC(SlideInFromLeft) {
  XT_FRAME;
  Copy(Canvas, PW - W, 0, W, H, Next, 0, 0);
}
XT_PROC(SlideInFromRight) {
  XT_FRAME;
  Copy(Canvas, W - PW, 0, W, H, Next, 0, 0);
}
XT_PROC(SlideInFromTop) {
  XT_FRAME;
  Copy(Canvas, 0, PH - H, W, H, Next, 0, 0);
}
XT_PROC(SlideInFromBottom) {
  XT_FRAME;
  Copy(Canvas, 0, H - PH, W, H, Next, 0, 0);
}
XT_PROC(ShrinkToTopLeft) {
  XT_FRAME;
  Stretch(Canvas, 0, 0, 2 * W - PW, 2 * H - PH, Next, 0, 0, PW, PH);
}
XT_PROC(ShrinkToTopRight) {
  XT_FRAME;
  Stretch(Canvas, PW - W, 0, 2 * W - PW, 2 * H - PH, Next, W - PW, 0, PW, PH);
}
XT_PROC(ShrinkToBottomLeft) {
  XT_FRAME;
  Stretch(Canvas, 0, PH - H, 2 * W - PW, 2 * H - PH, Next, 0, H - PH, PW, PH);
}
XT_PROC(ShrinkToBottomRight) {
  XT_FRAME;
  Stretch(Canvas, PW - W, PH - H, 2 * W - PW, 2 * H - PH, Next, W - PW, H - PH, PW, PH);
}
XT_PROC(ShrinkToCenter) {
  XT_FRAME;
  Stretch(Canvas, PW - W, PH - H, 3 * W - 2 * PW, 3 * H - 2 * PH, Next, (W - PW) / 2, (H - PH) / 2, PW, PH);
}

// ---- Quarters ----

XT_PROC(QuartersWipeInToCenter) {
  XT_FRAME;
  const Integer QW = PW / 2, QH = PH / 2;
  Copy(Canvas, 0, 0, QW, QH, Next, 0, 0);
  Copy(Canvas, 0, H - QH, QW, QH, Next, 0, H - QH);
  Copy(Canvas, W - QW, H - QH, QW, QH, Next, W - QW, H - QH);
  Copy(Canvas, W - QW, 0, QW, QH, Next, W - QW, 0);
}
XT_PROC(QuartersExpandToCenter) {
  XT_FRAME;
  const Integer QW = PW / 2, QH = PH / 2, HW = W / 2, HH = H / 2;
  Stretch(Canvas, 0, 0, QW, QH, Next, 0, 0, HW, HH);
  Stretch(Canvas, 0, H - QH, QW, QH, Next, 0, HH, HW, HH);
  Stretch(Canvas, W - QW, H - QH, QW, QH, Next, HW, HH, HW, HH);
  Stretch(Canvas, W - QW, 0, QW, QH, Next, HW, 0, HW, HH);
}
XT_PROC(QuartersSlideInToCenter) {
  XT_FRAME;
  const Integer QW = PW / 2, QH = PH / 2, HW = W / 2, HH = H / 2;
  Copy(Canvas, QW - HW, 0, HW, HH, Next, 0, 0);
  Copy(Canvas, HW, QH - HH, HW, HH, Next, HW, 0);
  Copy(Canvas, W - QW, HH, HW, HH, Next, HW, HH);
  Copy(Canvas, 0, H - QH, HW, HH, Next, 0, HH);
}

// ---- Pushes and squeezes: what the canvas shows moves or shrinks, Next follows ----

XT_PROC(PushLeftAndSlideOut) {
  XT_FRAME;
  CopySelf(Canvas, 0, 0, W - PW, H, PW, 0);
  Copy(Canvas, W - PW, 0, PW, H, Next, 0, 0);
}
XT_PROC(PushRightAndSlideOut) {
  XT_FRAME;
  CopySelf(Canvas, PW, 0, W - PW, H, 0, 0);
  Copy(Canvas, 0, 0, PW, H, Next, W - PW, 0);
}
XT_PROC(PushUpAndSlideOut) {
  XT_FRAME;
  CopySelf(Canvas, 0, 0, W, H - PH, 0, PH);
  Copy(Canvas, 0, H - PH, W, PH, Next, 0, 0);
}
XT_PROC(PushDownAndSlideOut) {
  XT_FRAME;
  CopySelf(Canvas, 0, PH, W, H - PH, 0, 0);
  Copy(Canvas, 0, 0, W, PH, Next, 0, H - PH);
}
XT_PROC(PushAndSqueezeLeft) {
  XT_FRAME;
  StretchSelf(Canvas, 0, 0, W - PW, H, 0, 0, W, H);
  Copy(Canvas, W - PW, 0, PW, H, Next, 0, 0);
}
XT_PROC(PushAndSqueezeRight) {
  XT_FRAME;
  StretchSelf(Canvas, PW, 0, W - PW, H, 0, 0, W, H);
  Copy(Canvas, 0, 0, PW, H, Next, W - PW, 0);
}
XT_PROC(PushAndSqueezeUp) {
  XT_FRAME;
  StretchSelf(Canvas, 0, 0, W, H - PH, 0, 0, W, H);
  Copy(Canvas, 0, H - PH, W, PH, Next, 0, 0);
}
XT_PROC(PushAndSqueezeDown) {
  XT_FRAME;
  StretchSelf(Canvas, 0, PH, W, H - PH, 0, 0, W, H);
  Copy(Canvas, 0, 0, W, PH, Next, 0, H - PH);
}

// ---- Page flips ----

namespace {

void FlipLine(TCanvas* Canvas, Integer Edge, Integer H) {
  Canvas->MoveTo(Edge, 0);
  Canvas->LineTo(Edge, H);
}

void SetFlipPen(TCanvas* Canvas) {
  TPen* Pen = Canvas->GetPen();
  Pen->SetColor(clBlack);
  Pen->SetWidth(1);
  Pen->SetStyle(psSolid);
}

}  // namespace

void PageFlipStep(TCanvas* Canvas, TBitmap* Prev, TBitmap* Next, const TRect& ARect, Integer,
                  Integer Progress, bool ShowLine) {
  const Integer W = ARect.Right - ARect.Left;
  const Integer H = ARect.Bottom - ARect.Top;
  SetFlipPen(Canvas);
  const Integer HW = W / 2;
  Stretch(Canvas, HW, 0, HW, H, Next, HW, 0, HW, H);
  Integer Edge;
  if (Progress > 50) {
    const Integer D = MulDiv(W, Progress - 50, 50) / 2;
    Edge = HW - D;
    Stretch(Canvas, HW - D, 0, D, H, Next, 0, 0, HW, H);
  } else {
    const Integer D = MulDiv(W, 50 - Progress, 100);
    Edge = HW + D;
    Stretch(Canvas, HW, 0, D, H, Prev, HW, 0, HW, H);
  }
  if (ShowLine) FlipLine(Canvas, Edge, H);
}

void ReversePageFlipStep(TCanvas* Canvas, TBitmap* Prev, TBitmap* Next, const TRect& ARect, Integer,
                         Integer Progress, bool ShowLine) {
  const Integer W = ARect.Right - ARect.Left;
  const Integer H = ARect.Bottom - ARect.Top;
  SetFlipPen(Canvas);
  const Integer HW = W / 2;
  Stretch(Canvas, 0, 0, HW, H, Next, 0, 0, HW, H);
  Integer Edge;
  if (Progress > 50) {
    const Integer D = MulDiv(W, Progress - 50, 50) / 2;
    Edge = HW + D;
    Stretch(Canvas, HW, 0, D, H, Next, HW, 0, HW, H);
  } else {
    Edge = MulDiv(W, Progress, 100);
    Stretch(Canvas, Edge, 0, HW - Edge, H, Prev, 0, 0, HW, H);
  }
  if (ShowLine) FlipLine(Canvas, Edge, H);
}

void PageFlip(TCanvas* Canvas, TBitmap* Prev, TBitmap* Next, const TRect& ARect, Integer Detail,
              Integer Progress) {
  PageFlipStep(Canvas, Prev, Next, ARect, Detail, Progress, false);
}
void PageFlip2(TCanvas* Canvas, TBitmap* Prev, TBitmap* Next, const TRect& ARect, Integer Detail,
               Integer Progress) {
  PageFlipStep(Canvas, Prev, Next, ARect, Detail, Progress, true);
}
void ReversePageFlip(TCanvas* Canvas, TBitmap* Prev, TBitmap* Next, const TRect& ARect, Integer Detail,
                     Integer Progress) {
  ReversePageFlipStep(Canvas, Prev, Next, ARect, Detail, Progress, false);
}
void ReversePageFlip2(TCanvas* Canvas, TBitmap* Prev, TBitmap* Next, const TRect& ARect, Integer Detail,
                      Integer Progress) {
  ReversePageFlipStep(Canvas, Prev, Next, ARect, Detail, Progress, true);
}

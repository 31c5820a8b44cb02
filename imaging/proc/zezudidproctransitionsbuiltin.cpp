// The engine's own transitions (numbers 1 to 30) and the pan-zoom. The fades, pushes and
// slide-outs rebuild every pixel from the raw 24-bit rows; the wipes, slides and expands draw
// through the canvases and leave the rest of the previous frame in place.
#include <cmath>
#include <cstring>

#include "imaging/core/hyiedefs.h"
#include "imaging/core/iebitmap.h"
#include "imaging/core/ieprocbase.h"
#include "imaging/io/ieview.h"
#include "imaging/proc/zezudidproctransitions.h"
#include "platform/classes/Bitmap.h"
#include "platform/classes/GraphicsObjects.h"
#include "platform/gdi/Blit.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/system/Random.h"

namespace {

using TRows = const std::vector<Byte*>&;

Integer Nearest(Double V) {
  return static_cast<Integer>(std::nearbyint(V));
}

// (A x B) shr 10 on the unsigned product.
Integer Shr10(Integer A, Integer B) {
  return static_cast<Integer>((static_cast<Cardinal>(A) * static_cast<Cardinal>(B)) >> 10);
}

bool RowsMatch(TBitmap* Bitmap, TRows Rows, Integer W, Integer H) {
  if (Bitmap->GetPixelFormat() != pf24bit || Bitmap->GetWidth() < W || Bitmap->GetHeight() < H) return false;
  if (Rows.size() < static_cast<std::size_t>(H)) return false;
  return Rows[0] == Bitmap->GetScanLine(0) && Rows[H - 1] == Bitmap->GetScanLine(H - 1);
}

// The row tables point into the work bitmaps of this run and cover the frame: anything else
// (a run stopped by a handler, bitmaps changed behind the engine) would write past them.
bool FrameReady(TIETransitionEffects& E) {
  const Integer W = E.FrameWidth, H = E.FrameHeight;
  if (W <= 0 || H <= 0) return false;
  return RowsMatch(E.PrevBitmap.get(), E.PrevRows, W, H) && RowsMatch(E.NextBitmap.get(), E.NextRows, W, H) &&
         RowsMatch(E.CurrentBitmap.get(), E.CurrentRows, W, H);
}

TIERGBTriple BackgroundOf(TIETransitionEffects& E) {
  return E.View ? IEColorToRGB(E.View->GetBackground()) : TIERGBTriple{0, 0, 0};
}

// ---- Row kinds ----

void CrossFade(TIETransitionEffects& E, Integer S) {
  const std::size_t Bytes = static_cast<std::size_t>(E.FrameWidth) * 3;
  const Cardinal WeightNext = static_cast<Cardinal>(S), WeightPrev = 1024 - WeightNext;
  for (Integer Y = 0; Y < E.FrameHeight; ++Y) {
    const Byte* __restrict P = E.PrevRows[Y];
    const Byte* __restrict N = E.NextRows[Y];
    Byte* __restrict C = E.CurrentRows[Y];
    for (std::size_t I = 0; I < Bytes; ++I)
      C[I] = static_cast<Byte>((P[I] * WeightPrev + N[I] * WeightNext) >> 10);
  }
}

// Current := (Background x BackWeight + Source x (1024 - BackWeight)) shr 10, per channel.
void FadeRows(TIETransitionEffects& E, TRows Source, Integer BackWeight) {
  const TIERGBTriple Back = BackgroundOf(E);
  const Cardinal WeightBack = static_cast<Cardinal>(BackWeight), WeightSource = 1024 - WeightBack;
  const Cardinal B = Back.rgbtBlue * WeightBack, G = Back.rgbtGreen * WeightBack,
                 R = Back.rgbtRed * WeightBack;
  for (Integer Y = 0; Y < E.FrameHeight; ++Y) {
    const Byte* __restrict Src = Source[Y];
    Byte* __restrict C = E.CurrentRows[Y];
    for (Integer X = 0; X < E.FrameWidth; ++X, Src += 3, C += 3) {
      C[0] = static_cast<Byte>((B + Src[0] * WeightSource) >> 10);
      C[1] = static_cast<Byte>((G + Src[1] * WeightSource) >> 10);
      C[2] = static_cast<Byte>((R + Src[2] * WeightSource) >> 10);
    }
  }
}

void FadeOut(TIETransitionEffects& E, Integer S) {
  FadeRows(E, E.PrevRows, S);
}

void FadeIn(TIETransitionEffects& E, Integer S) {
  FadeRows(E, E.NextRows, 1024 - S);
}

void FadeOutThenIn(TIETransitionEffects& E, Integer S) {
  if (S < 512)
    FadeOut(E, 2 * S);
  else
    FadeIn(E, 2 * S - 1024);
}

// Each row: pixels 0 to C - 1 from Left's pixels LeftFrom on, the rest from Right's pixels
// RightFrom on.
void SplitRows(TIETransitionEffects& E, Integer C, TRows Left, Integer LeftFrom, TRows Right,
               Integer RightFrom) {
  const Integer W = E.FrameWidth;
  const std::size_t LeftBytes = static_cast<std::size_t>(C) * 3,
                    RightBytes = static_cast<std::size_t>(W - C) * 3;
  for (Integer Y = 0; Y < E.FrameHeight; ++Y) {
    Byte* Row = E.CurrentRows[Y];
    std::memcpy(Row, Left[Y] + static_cast<std::size_t>(LeftFrom) * 3, LeftBytes);
    std::memcpy(Row + LeftBytes, Right[Y] + static_cast<std::size_t>(RightFrom) * 3, RightBytes);
  }
}

void PushLeftToRight(TIETransitionEffects& E, Integer S) {
  const Integer W = E.FrameWidth, C = Shr10(S, W);
  SplitRows(E, C, E.NextRows, W - C, E.PrevRows, 0);
}

void SlideOutLeftToRight(TIETransitionEffects& E, Integer S) {
  SplitRows(E, Shr10(S, E.FrameWidth), E.NextRows, 0, E.PrevRows, 0);
}

void PushRightToLeft(TIETransitionEffects& E, Integer S) {
  const Integer W = E.FrameWidth, C = Shr10(1024 - S, W);
  SplitRows(E, C, E.PrevRows, W - C, E.NextRows, 0);
}

void SlideOutRightToLeft(TIETransitionEffects& E, Integer S) {
  SplitRows(E, Shr10(1024 - S, E.FrameWidth), E.PrevRows, 0, E.NextRows, 0);
}

// Rows above N from Upper's row UpperFrom + i, the rest from Lower's row i - N + LowerFrom.
void StackRows(TIETransitionEffects& E, Integer N, TRows Upper, Integer UpperFrom, TRows Lower,
               Integer LowerFrom) {
  const std::size_t RowLen = static_cast<std::size_t>(IEBitmapRowLen(E.FrameWidth, 24, 32));
  for (Integer I = 0; I < E.FrameHeight; ++I) {
    const Byte* Src = I < N ? Upper[UpperFrom + I] : Lower[I - N + LowerFrom];
    std::memcpy(E.CurrentRows[I], Src, RowLen);
  }
}

void PushTopToBottom(TIETransitionEffects& E, Integer S) {
  const Integer H = E.FrameHeight, N = Shr10(S, H);
  StackRows(E, N, E.NextRows, H - N, E.PrevRows, 0);
}

void SlideOutTopToBottom(TIETransitionEffects& E, Integer S) {
  StackRows(E, Shr10(S, E.FrameHeight), E.NextRows, 0, E.PrevRows, 0);
}

void PushBottomToTop(TIETransitionEffects& E, Integer S) {
  const Integer H = E.FrameHeight, N = Shr10(1024 - S, H);
  StackRows(E, N, E.PrevRows, H - N, E.NextRows, 0);
}

void SlideOutBottomToTop(TIETransitionEffects& E, Integer S) {
  const Integer H = E.FrameHeight, N = Shr10(1024 - S, H);
  StackRows(E, N, E.PrevRows, H - N, E.NextRows, N);
}

// ---- Random kinds ----

void RandomPoints(TIETransitionEffects& E, Integer S) {
  const Integer W = E.FrameWidth, H = E.FrameHeight;
  if (S == 0) {
    const std::size_t RowLen = static_cast<std::size_t>(IEBitmapRowLen(W, 24, 32));
    for (Integer Y = 0; Y < H; ++Y) std::memcpy(E.CurrentRows[Y], E.PrevRows[Y], RowLen);
    return;
  }
  const Integer Target = Nearest(static_cast<Double>(static_cast<Int64>(W) * S) * (S / 180.0) / 1024);
  const Integer K = Target - E.RandomDone;
  E.RandomDone = Target;
  for (Integer Y = 0; Y < H; ++Y) {
    const Byte* N = E.NextRows[Y];
    Byte* C = E.CurrentRows[Y];
    for (Integer I = 0; I < K; ++I) {
      const std::size_t X = static_cast<std::size_t>(Random(W)) * 3;
      C[X] = N[X];
      C[X + 1] = N[X + 1];
      C[X + 2] = N[X + 2];
    }
  }
}

// ---- Canvas kinds ----

HDC DC(TBitmap* Bitmap) {
  return Bitmap->GetCanvas()->GetHandle();
}

void Draw(TIETransitionEffects& E, Integer X, Integer Y, TBitmap* Source) {
  E.CurrentBitmap->GetCanvas()->Draw(X, Y, Source);
}

void DrawPrevAtStart(TIETransitionEffects& E, Integer S) {
  if (S == 0) Draw(E, 0, 0, E.PrevBitmap.get());
}

void Copy(TIETransitionEffects& E, Integer X, Integer Y, Integer W, Integer H, TBitmap* Source, Integer SX,
          Integer SY) {
  BitBlt(DC(E.CurrentBitmap.get()), X, Y, W, H, DC(Source), SX, SY, SRCCOPY);
}

void Stretch(TIETransitionEffects& E, Integer X, Integer Y, Integer W, Integer H, TBitmap* Source, Integer SX,
             Integer SY, Integer SW, Integer SH) {
  const HDC Dest = DC(E.CurrentBitmap.get());
  SetStretchBltMode(Dest, HALFTONE);
  StretchBlt(Dest, X, Y, W, H, DC(Source), SX, SY, SW, SH, SRCCOPY);
}

void Line(TIETransitionEffects& E, Integer X1, Integer Y1, Integer X2, Integer Y2) {
  TCanvas* Canvas = E.CurrentBitmap->GetCanvas();
  Canvas->GetPen()->SetColor(clRed);
  Canvas->MoveTo(X1, Y1);
  Canvas->LineTo(X2, Y2);
}

void WipeLeftToRight(TIETransitionEffects& E, Integer S) {
  DrawPrevAtStart(E, S);
  Copy(E, 0, 0, Shr10(S, E.FrameWidth), E.FrameHeight, E.NextBitmap.get(), 0, 0);
}

void WipeLeftToRight2(TIETransitionEffects& E, Integer S) {
  WipeLeftToRight(E, S);
  const Integer X = Shr10(S, E.FrameWidth);
  Line(E, X, 0, X, E.FrameHeight);
}

Integer RightWipeEdge(TIETransitionEffects& E, Integer S) {
  return Nearest(E.FrameWidth * (1024 - S) / 1024.0);
}

void WipeRightToLeft(TIETransitionEffects& E, Integer S) {
  const Integer X = RightWipeEdge(E, S), W = Nearest(S * E.FrameWidth / 1024.0);
  DrawPrevAtStart(E, S);
  Copy(E, X, 0, W, E.FrameHeight, E.NextBitmap.get(), X, 0);
}

void WipeRightToLeft2(TIETransitionEffects& E, Integer S) {
  WipeRightToLeft(E, S);
  const Integer X = RightWipeEdge(E, S);
  Line(E, X, 0, X, E.FrameHeight);
}

Integer WipedHeight(TIETransitionEffects& E, Integer S) {
  return Nearest(S * E.FrameHeight / 1024.0);
}

void WipeTopToBottom(TIETransitionEffects& E, Integer S) {
  DrawPrevAtStart(E, S);
  Copy(E, 0, 0, E.FrameWidth, WipedHeight(E, S), E.NextBitmap.get(), 0, 0);
}

void WipeTopToBottom2(TIETransitionEffects& E, Integer S) {
  WipeTopToBottom(E, S);
  const Integer Y = WipedHeight(E, S);
  Line(E, 0, Y, E.FrameWidth, Y);
}

Integer BottomWipeEdge(TIETransitionEffects& E, Integer S) {
  return Nearest(E.FrameHeight * (1024 - S) / 1024.0);
}

void WipeBottomToTop(TIETransitionEffects& E, Integer S) {
  const Integer Y = BottomWipeEdge(E, S);
  DrawPrevAtStart(E, S);
  Copy(E, 0, Y, E.FrameWidth, WipedHeight(E, S), E.NextBitmap.get(), 0, Y);
}

void WipeBottomToTop2(TIETransitionEffects& E, Integer S) {
  WipeBottomToTop(E, S);
  const Integer Y = BottomWipeEdge(E, S);
  Line(E, 0, Y, E.FrameWidth, Y);
}

// Slides: Next drawn at (SignX x dx, SignY x dy).
void Slide(TIETransitionEffects& E, Integer S, Integer SignX, Integer SignY) {
  const Integer DX = Shr10(1024 - S, E.FrameWidth), DY = Shr10(1024 - S, E.FrameHeight);
  DrawPrevAtStart(E, S);
  Draw(E, SignX * DX, SignY * DY, E.NextBitmap.get());
}

void SlideFromTopLeft(TIETransitionEffects& E, Integer S) {
  Slide(E, S, -1, -1);
}
void SlideFromTopRight(TIETransitionEffects& E, Integer S) {
  Slide(E, S, 1, -1);
}
void SlideFromBottomLeft(TIETransitionEffects& E, Integer S) {
  Slide(E, S, -1, 1);
}
void SlideFromBottomRight(TIETransitionEffects& E, Integer S) {
  Slide(E, S, 1, 1);
}

void RandomBoxes(TIETransitionEffects& E, Integer S) {
  if (S == 0) {
    Draw(E, 0, 0, E.PrevBitmap.get());
    return;
  }
  const Integer W = E.FrameWidth, H = E.FrameHeight;
  const Integer Target = Nearest(
      static_cast<Double>(static_cast<Int64>((W * static_cast<Int64>(H)) / 64) * S) * (S / 180.0) / 1024);
  const Integer K = Target - E.RandomDone;
  E.RandomDone = Target;
  // An 8 x 8 block copy clipped to the frame, as the canvas would clip it.
  for (Integer I = 0; I < K; ++I) {
    const Integer X = Random(W) & ~7;
    const Integer Y = Random(H) & ~7;
    const std::size_t Bytes = static_cast<std::size_t>(std::min(8, W - X)) * 3;
    for (Integer Row = Y; Row < std::min(Y + 8, H); ++Row)
      std::memcpy(E.CurrentRows[Row] + static_cast<std::size_t>(X) * 3,
                  E.NextRows[Row] + static_cast<std::size_t>(X) * 3, Bytes);
  }
}

// The centred rectangle of D / 1024 of the frame.
TRect CentredPart(TIETransitionEffects& E, Integer D) {
  const Integer W = E.FrameWidth, H = E.FrameHeight;
  const Integer X = W / 2 - Shr10(D, W / 2), Y = H / 2 - Shr10(D, H / 2);
  return TRect{X, Y, X + Shr10(D, W), Y + Shr10(D, H)};
}

void WipeOutFromCenter(TIETransitionEffects& E, Integer S) {
  const TRect R = CentredPart(E, S);
  DrawPrevAtStart(E, S);
  Copy(E, R.Left, R.Top, R.Width(), R.Height(), E.NextBitmap.get(), R.Left, R.Top);
}

void WipeInToCenter(TIETransitionEffects& E, Integer S) {
  Draw(E, 0, 0, E.NextBitmap.get());
  const TRect R = CentredPart(E, 1024 - S);
  Copy(E, R.Left, R.Top, R.Width(), R.Height(), E.PrevBitmap.get(), R.Left, R.Top);
}

void ExpandOutFromCenter(TIETransitionEffects& E, Integer S) {
  const TRect R = CentredPart(E, S);
  DrawPrevAtStart(E, S);
  Stretch(E, R.Left, R.Top, R.Width(), R.Height(), E.NextBitmap.get(), 0, 0, E.FrameWidth, E.FrameHeight);
}

void ExpandInToCenter(TIETransitionEffects& E, Integer S) {
  Draw(E, 0, 0, E.NextBitmap.get());
  const TRect R = CentredPart(E, 1024 - S);
  Stretch(E, R.Left, R.Top, R.Width(), R.Height(), E.PrevBitmap.get(), 0, 0, E.FrameWidth, E.FrameHeight);
}

using TBuiltinStep = void (*)(TIETransitionEffects& E, Integer S);

constexpr TBuiltinStep BuiltinSteps[30] = {
    CrossFade,
    FadeOut,
    FadeIn,
    FadeOutThenIn,
    WipeLeftToRight,
    WipeLeftToRight2,
    WipeRightToLeft,
    WipeRightToLeft2,
    WipeTopToBottom,
    WipeTopToBottom2,
    WipeBottomToTop,
    WipeBottomToTop2,
    SlideFromTopLeft,
    SlideFromTopRight,
    SlideFromBottomLeft,
    SlideFromBottomRight,
    PushLeftToRight,
    SlideOutLeftToRight,
    PushRightToLeft,
    SlideOutRightToLeft,
    PushTopToBottom,
    SlideOutTopToBottom,
    PushBottomToTop,
    SlideOutBottomToTop,
    RandomPoints,
    RandomBoxes,
    WipeOutFromCenter,
    WipeInToCenter,
    ExpandOutFromCenter,
    ExpandInToCenter,
};

}  // namespace

void IEDrawBuiltinTransition(TIETransitionEffects& Engine, Integer Number, Integer Step) {
  if (Number < 1 || Number > 30 || Step < 0 || Step > 1024 || !FrameReady(Engine)) return;
  BuiltinSteps[Number - 1](Engine, Step);
}

void FitRectKeepAspect(Integer SW, Integer SH, Integer DW, Integer DH, Integer& X, Integer& Y, Integer& Width,
                       Integer& Height) {
  X = Y = Width = Height = 0;
  // The divisions below by a zero size would raise; the results then stay as they are.
  if (DW == 0 || DH == 0) return;
  const bool Wider = static_cast<Double>(SW) / DW > static_cast<Double>(SH) / DH;
  if ((Wider && SW == 0) || (!Wider && SH == 0)) return;
  const Double F = Wider ? static_cast<Double>(DW) / SW : static_cast<Double>(DH) / SH;
  Width = Nearest(SW * F);
  Height = Nearest(SH * F);
  X = static_cast<Integer>(std::trunc(DW / 2.0 - Width / 2.0));
  Y = static_cast<Integer>(std::trunc(DH / 2.0 - Height / 2.0));
}

void IEPanZoomStep(TIETransitionEffects& E, Integer Step) {
  TIEBitmap* Source = E.PanZoomSource;
  if (!Source || E.FrameWidth <= 0 || E.FrameHeight <= 0) return;
  auto Side = [Step](Integer From, Integer To) {
    return static_cast<Integer>(std::trunc(From - Step * ((From - To) / 1024.0)));
  };
  Integer Left = Side(E.PanZoomFrom.Left, E.PanZoomTo.Left);
  Integer Top = Side(E.PanZoomFrom.Top, E.PanZoomTo.Top);
  const Integer Right = Side(E.PanZoomFrom.Right, E.PanZoomTo.Right);
  const Integer Bottom = Side(E.PanZoomFrom.Bottom, E.PanZoomTo.Bottom);
  Integer Width = Right - Left, Height = Bottom - Top;
  bool Clipped = false;
  if (Left < 0) {
    Width += Left;
    Left = 0;
    Clipped = true;
  }
  if (Width > Source->GetWidth()) {
    Width = Source->GetWidth();
    Clipped = true;
  }
  if (Top < 0) {
    Height += Top;
    Top = 0;
    Clipped = true;
  }
  if (Height > Source->GetHeight()) {
    Height = Source->GetHeight();
    Clipped = true;
  }
  Integer DX = 0, DY = 0, DW = E.FrameWidth, DH = E.FrameHeight;
  TBitmap* Current = E.CurrentBitmap.get();
  if (Clipped) {
    FitRectKeepAspect(Width, Height, E.FrameWidth, E.FrameHeight, DX, DY, DW, DH);
    TCanvas* Canvas = Current->GetCanvas();
    if (E.DrawViewBackground) {
      E.DrawViewBackground(Canvas);
    } else {
      Canvas->GetBrush()->SetColor(E.View ? E.View->GetBackground() : clBlack);
      Canvas->GetBrush()->SetStyle(bsSolid);
      Canvas->FillRect(TRect{0, 0, Current->GetWidth(), Current->GetHeight()});
    }
  }
  Source->DrawToTBitmap(Current, DX, DY, DW, DH, Left, Top, Width, Height, 255, rfNone, 0);
}

#pragma once
// Frames for the extra transition tests: a previous and a next picture whose pixels tell where
// they came from, and a current frame that starts as the previous picture.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <optional>

#include "imaging/proc/iextratransitions.h"
#include "platform/classes/Bitmap.h"
#include "platform/gdi/DeviceContext.h"

namespace ExtraTransitionsTesting {

// Blue 200 marks the next picture, blue 0 the previous one; red is x and green 2y, so a pixel
// of either tells its source position (for frames up to 256 x 128).
constexpr Byte NextMark = 200;
constexpr Byte PrevMark = 0;

inline void Fill(TBitmap& B, Integer W, Integer H, Byte Mark) {
  B.SetPixelFormat(pf24bit);
  B.SetSize(W, H);
  for (Integer Y = 0; Y < H; ++Y) {
    auto* Row = static_cast<Byte*>(B.GetScanLine(Y));
    for (Integer X = 0; X < W; ++X) {
      Row[3 * X] = Mark;
      Row[3 * X + 1] = static_cast<Byte>(2 * Y);
      Row[3 * X + 2] = static_cast<Byte>(X);
    }
  }
}

struct TPixel {
  Byte B, G, R;
};

struct TFrames {
  TFrames(Integer W, Integer H) : W(W), H(H) {
    Fill(Prev, W, H, PrevMark);
    Fill(Next, W, H, NextMark);
    Current.Assign(&Prev);
  }
  TCanvas* Canvas() {
    TCanvas* C = Current.GetCanvas();
    SetStretchBltMode(C->GetHandle(), HALFTONE);  // as the engine does before every call
    return C;
  }
  void Run(TExtraTransitionProc Proc, Integer Progress, Integer Detail = 1) {
    Proc(Canvas(), &Prev, &Next, TRect{0, 0, W, H}, Detail, Progress);
  }
  TPixel At(Integer X, Integer Y) {
    const Byte* P = static_cast<Byte*>(Current.GetScanLine(Y)) + 3 * X;
    return {P[0], P[1], P[2]};
  }
  bool IsNext(Integer X, Integer Y) { return At(X, Y).B == NextMark; }
  bool IsPrev(Integer X, Integer Y) { return At(X, Y).B == PrevMark; }
  // The frame equals the picture whose pixels all carry Mark at their own positions.
  bool Shows(Byte Mark) {
    for (Integer Y = 0; Y < H; ++Y)
      for (Integer X = 0; X < W; ++X) {
        const TPixel P = At(X, Y);
        if (P.B != Mark || P.G != static_cast<Byte>(2 * Y) || P.R != static_cast<Byte>(X)) return false;
      }
    return true;
  }
  Integer CountNext() {
    Integer N = 0;
    for (Integer Y = 0; Y < H; ++Y)
      for (Integer X = 0; X < W; ++X) N += IsNext(X, Y);
    return N;
  }

  Integer W, H;
  TBitmap Prev, Next, Current;
};

// What a sample point must show: the previous or next picture, from about (SX, SY) within Tol.
struct TExpect {
  Byte Mark;
  Integer SX, SY, Tol;
};

inline TExpect FromNext(Integer SX, Integer SY, Integer Tol = 0) {
  return {NextMark, SX, SY, Tol};
}
inline TExpect FromPrev(Integer SX, Integer SY, Integer Tol = 0) {
  return {PrevMark, SX, SY, Tol};
}

inline ::testing::AssertionResult ShowsAt(TFrames& F, Integer X, Integer Y, const TExpect& E) {
  const TPixel P = F.At(X, Y);
  const Integer SX = P.R, SY = P.G / 2;
  if (P.B == E.Mark && std::abs(SX - E.SX) <= E.Tol && std::abs(SY - E.SY) <= E.Tol)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "(" << X << ", " << Y << ") shows " << (P.B == NextMark ? "next" : "prev") << " at (" << SX
         << ", " << SY << "), blue " << Integer(P.B) << "; expected "
         << (E.Mark == NextMark ? "next" : "prev") << " at (" << E.SX << ", " << E.SY << ") within " << E.Tol;
}

}  // namespace ExtraTransitionsTesting

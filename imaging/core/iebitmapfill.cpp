// TIEBitmap: filling the picture or a rectangle with one value.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iecolorspace.h"
#include "imaging/core/ieprocbase.h"
#include "platform/system/ScopeExit.h"

namespace {

// One pixel of the fill value in a byte-sized format, and whether it is the format's maximum.
struct TFillPixel {
  Byte Bytes[8] = {};
  Integer Size = 0;
  bool Full = false;
};

TFillPixel FillPixelOf(TIEPixelFormat Format, Double Value) {
  TFillPixel P;
  const Int64 V = static_cast<Int64>(std::trunc(Value));
  const TIERGBTriple C = IEColorToRGB(static_cast<TColor>(V));
  const bool White = C == TIERGBTriple{255, 255, 255};
  P.Size = IEBitsPerPixel[Format] / 8;
  switch (Format) {
    case ie8p:
    case ie8g:
      P.Bytes[0] = static_cast<Byte>(V);
      P.Full = V == 255;
      break;
    case ie16g: {
      const Word W = static_cast<Word>(V);
      std::memcpy(P.Bytes, &W, 2);
      P.Full = V == 65535;
      break;
    }
    case ie24RGB:
    case ie32RGB:  // the fourth byte is left alone
      std::memcpy(P.Bytes, &C, 3);
      P.Size = 3;
      P.Full = White;
      break;
    case ie32f: {
      const Single F = static_cast<Single>(Value);
      std::memcpy(P.Bytes, &F, 4);
      P.Full = Value == 1.0;
      break;
    }
    case ieCMYK: {
      const TCMYK K = IERGB2CMYK(C);
      std::memcpy(P.Bytes, &K, 4);
      P.Full = White;
      break;
    }
    case ieRGB48: {
      const TIERGB48Pixel W{static_cast<Word>(C.rgbtRed * 257), static_cast<Word>(C.rgbtGreen * 257),
                            static_cast<Word>(C.rgbtBlue * 257)};
      std::memcpy(P.Bytes, &W, 6);
      P.Full = White;
      break;
    }
    case ieCIELab: {
      const TIECIELabPixel L = IERGB2CIELab(C);
      std::memcpy(P.Bytes, &L, 3);
      P.Full = White;
      break;
    }
    default:
      P.Size = 0;
      break;
  }
  return P;
}

// Count pixels of the pattern from Row, each Stride bytes apart.
void RepeatPixel(Byte* Row, const TFillPixel& P, Integer Stride, Integer Count) {
  for (Integer X = 0; X < Count; ++X, Row += Stride) std::memcpy(Row, P.Bytes, static_cast<size_t>(P.Size));
}

// B, G, R of Count 4-byte pixels; the fourth bytes stay.
void FillKeepingFourthByte(Byte* Row, const TFillPixel& P, Integer Count) {
  const Cardinal Colour = P.Bytes[0] | (P.Bytes[1] << 8) | (P.Bytes[2] << 16);
  for (Integer X = 0; X < Count; ++X, Row += 4) {
    Cardinal V;
    std::memcpy(&V, Row, 4);
    V = (V & 0xFF000000u) | Colour;
    std::memcpy(Row, &V, 4);
  }
}

void SetBitRun(Byte* Row, Integer X1, Integer X2, bool Set) {
  for (Integer X = X1; X <= X2; ++X) {
    const Byte Mask = static_cast<Byte>(0x80 >> (X & 7));
    if (Set)
      Row[X >> 3] |= Mask;
    else
      Row[X >> 3] &= static_cast<Byte>(~Mask);
  }
}

}  // namespace

void TIEBitmap::Fill(Double Value) {
  if (FPixelFormat == ieNull || IsEmpty()) return;
  // Rows of a temporary file need not be read: every byte is written.
  const Byte OldAccess = FAccess;
  auto Restore = ScopeExit([&] { FAccess = OldAccess; });
  const bool KeepsFourthByte = FPixelFormat == ie32RGB;
  if (!KeepsFourthByte) FAccess = iedWrite;
  const Integer W = FWidth;
  std::vector<Byte> Pattern(static_cast<size_t>(FRowLen));
  bool Full;
  if (FPixelFormat == ie1g) {
    const bool Set = static_cast<Int64>(std::trunc(Value)) != 0;
    std::fill(Pattern.begin(), Pattern.end(), Set ? 0xFF : 0x00);
    Full = Set;
  } else {
    const TFillPixel P = FillPixelOf(FPixelFormat, Value);
    Full = P.Full;
    if (KeepsFourthByte) {
      for (Integer Y = 0; Y < FHeight; ++Y) FillKeepingFourthByte(static_cast<Byte*>(GetScanline(Y)), P, W);
      FFull = Full;
      return;
    }
    RepeatPixel(Pattern.data(), P, P.Size, W);
  }
  if (FPixelBase) {
    // One block: the rows follow each other.
    for (Integer Y = 0; Y < FHeight; ++Y)
      std::memcpy(FPixelBase + static_cast<size_t>(Y) * FRowLen, Pattern.data(), FRowLen);
  } else {
    for (Integer Y = 0; Y < FHeight; ++Y) std::memcpy(GetScanline(Y), Pattern.data(), FRowLen);
  }
  FFull = Full;
}

void TIEBitmap::FillRect(Integer X1, Integer Y1, Integer X2, Integer Y2, Double Value) {
  if (FPixelFormat == ieNull || IsEmpty()) return;
  X1 = std::max(X1, 0);
  Y1 = std::max(Y1, 0);
  X2 = std::min(X2, FWidth - 1);
  Y2 = std::min(Y2, FHeight - 1);
  if (X1 > X2 || Y1 > Y2) return;
  if (FPixelFormat == ie1g) {
    const bool Set = static_cast<Int64>(std::trunc(Value)) != 0;
    for (Integer Y = Y1; Y <= Y2; ++Y) SetBitRun(static_cast<Byte*>(GetScanline(Y)), X1, X2, Set);
    return;
  }
  const TFillPixel P = FillPixelOf(FPixelFormat, Value);
  const Integer Stride = FBitCount / 8, Count = X2 - X1 + 1;
  if (P.Size != Stride) {  // ie32RGB keeps its fourth bytes
    for (Integer Y = Y1; Y <= Y2; ++Y)
      FillKeepingFourthByte(static_cast<Byte*>(GetScanline(Y)) + static_cast<size_t>(X1) * Stride, P, Count);
    return;
  }
  // One run built, then copied into every row.
  std::vector<Byte> Run(static_cast<size_t>(Count) * Stride);
  RepeatPixel(Run.data(), P, Stride, Count);
  for (Integer Y = Y1; Y <= Y2; ++Y)
    std::memcpy(static_cast<Byte*>(GetScanline(Y)) + static_cast<size_t>(X1) * Stride, Run.data(),
                Run.size());
}

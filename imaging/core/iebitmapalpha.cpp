// TIEBitmap: the alpha channel and whole-picture queries.
#include <algorithm>

#include "imaging/core/iebitmap.h"
#include "imaging/core/ieprocbase.h"

namespace {

// Bytes of a row that hold pixels: width x bits per pixel, up to the next whole byte.
size_t PixelBytes(Integer Width, Integer BitCount) {
  return static_cast<size_t>((static_cast<Int64>(Width) * BitCount + 7) / 8);
}

bool AllRowsAre(TIEBitmap* B, Byte Value) {
  const size_t Bytes = PixelBytes(B->GetWidth(), B->GetBitCount());
  for (Integer Y = 0; Y < B->GetHeight(); ++Y) {
    const Byte* Row = static_cast<const Byte*>(B->GetScanline(Y));
    if (std::any_of(Row, Row + Bytes, [Value](Byte V) { return V != Value; })) return false;
  }
  return true;
}

// Every pixel's first three channels equal, each Stride bytes apart, of type T.
template <class T>
bool RowsAreGrey(TIEBitmap* B, Integer Stride) {
  const Integer W = B->GetWidth();
  for (Integer Y = 0; Y < B->GetHeight(); ++Y) {
    const Byte* Row = static_cast<const Byte*>(B->GetScanline(Y));
    for (Integer X = 0; X < W; ++X, Row += Stride) {
      T C[3];
      std::copy_n(reinterpret_cast<const Byte*>(Row), sizeof(C), reinterpret_cast<Byte*>(C));
      if (C[0] != C[1] || C[1] != C[2]) return false;
    }
  }
  return true;
}

}  // namespace

TIEBitmap* TIEBitmap::GetAlphaChannel() {
  if (FIsAlphaChannel) return nullptr;
  if (!FAlphaChannel) FAlphaChannel = CreateAsAlphaChannel(GetWidth(), GetHeight(), FLocation);
  return FAlphaChannel.get();
}

void TIEBitmap::AttachAlphaChannel(std::unique_ptr<TIEBitmap> Alpha) {
  if (Alpha) Alpha->FIsAlphaChannel = true;
  FAlphaChannel = std::move(Alpha);
}

void TIEBitmap::RemoveAlphaChannel(bool Merge, TColor Background) {
  if (FIsAlphaChannel || !FAlphaChannel) return;
  if (Merge && FPixelFormat == ie24RGB) {
    const TIERGBTriple Back = IEColorToRGB(Background);
    const Integer B[3] = {Back.rgbtBlue, Back.rgbtGreen, Back.rgbtRed};
    TIEBitmap* Alpha = FAlphaChannel.get();
    for (Integer Y = 0; Y < FHeight; ++Y) {
      Byte* Row = static_cast<Byte*>(GetScanline(Y));
      const Byte* A = static_cast<const Byte*>(Alpha->GetScanline(Y));
      for (Integer X = 0; X < FWidth; ++X, Row += 3) {
        const Integer Weight = A[X] << 10;
        // An arithmetic shift: a floor division by 256 of the weighted difference.
        for (Integer C = 0; C < 3; ++C) Row[C] = static_cast<Byte>(B[C] + (((Row[C] - B[C]) * Weight) >> 18));
      }
    }
  }
  FAlphaChannel.reset();
}

void TIEBitmap::SynchronizeRGBA(bool ToAlpha) {
  TIEBitmap* Alpha = GetAlphaChannel();
  if (!Alpha || FPixelFormat != ie32RGB) return;
  for (Integer Y = 0; Y < FHeight; ++Y) {
    Byte* Row = static_cast<Byte*>(GetScanline(Y));
    Byte* A = static_cast<Byte*>(Alpha->GetScanline(Y));
    if (ToAlpha)
      for (Integer X = 0; X < FWidth; ++X) A[X] = Row[X * 4 + 3];
    else
      for (Integer X = 0; X < FWidth; ++X) Row[X * 4 + 3] = A[X];
  }
  if (ToAlpha) Alpha->SyncFull();
}

void TIEBitmap::SyncFull() {
  FFull = AllRowsAre(this, 255);
}

bool TIEBitmap::IsAllZero() {
  return AllRowsAre(this, 0);
}

bool TIEBitmap::IsGrayScale() {
  switch (GetPixelFormat()) {
    case ie8p:
      return std::all_of(FPalette.begin(), FPalette.end(), [](const TIERGBTriple& C) {
        return C.rgbtRed == C.rgbtGreen && C.rgbtGreen == C.rgbtBlue;
      });
    case ie24RGB:
      return RowsAreGrey<Byte>(this, 3);
    case ieRGB48:
      return RowsAreGrey<Word>(this, 6);
    case ie32RGB:
      return RowsAreGrey<Byte>(this, 4);
    default:
      return true;
  }
}

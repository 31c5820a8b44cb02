// TIEBitmap: reading and writing single pixels.
#include <cmath>
#include <cstring>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iecolorspace.h"

namespace {

template <class T>
T LoadPixel(void* Row, Integer X) {
  T Value;
  std::memcpy(&Value, static_cast<Byte*>(Row) + static_cast<size_t>(X) * sizeof(T), sizeof(T));
  return Value;
}

template <class T>
void StorePixel(void* Row, Integer X, const T& Value) {
  std::memcpy(static_cast<Byte*>(Row) + static_cast<size_t>(X) * sizeof(T), &Value, sizeof(T));
}

}  // namespace

Byte TIEBitmap::GetPixel8(Integer X, Integer Y) {
  return LoadPixel<Byte>(GetScanline(Y), X);
}

void TIEBitmap::SetPixel8(Integer X, Integer Y, Byte Value) {
  StorePixel(GetScanline(Y), X, Value);
  if (Value != 255) FFull = false;
}

Word TIEBitmap::GetPixel16(Integer X, Integer Y) {
  return LoadPixel<Word>(GetScanline(Y), X);
}

void TIEBitmap::SetPixel16(Integer X, Integer Y, Word Value) {
  StorePixel(GetScanline(Y), X, Value);
  if (Value != 65535) FFull = false;
}

Single TIEBitmap::GetPixel32f(Integer X, Integer Y) {
  return LoadPixel<Single>(GetScanline(Y), X);
}

void TIEBitmap::SetPixel32f(Integer X, Integer Y, Single Value) {
  StorePixel(GetScanline(Y), X, Value);
  if (!(Value >= 1.0f)) FFull = false;
}

Cardinal TIEBitmap::GetPixel32(Integer X, Integer Y) {
  return LoadPixel<Cardinal>(GetScanline(Y), X);
}

void TIEBitmap::SetPixel32(Integer X, Integer Y, Cardinal Value) {
  StorePixel(GetScanline(Y), X, Value);
}

TIERGBTriple TIEBitmap::GetPixel24(Integer X, Integer Y) {
  return LoadPixel<TIERGBTriple>(GetScanline(Y), X);
}

void TIEBitmap::SetPixel24(Integer X, Integer Y, const TIERGBTriple& Value) {
  StorePixel(GetScanline(Y), X, Value);
}

TIERGBTriple* TIEBitmap::GetPixelPtr24(Integer X, Integer Y) {
  return reinterpret_cast<TIERGBTriple*>(static_cast<Byte*>(GetScanline(Y)) + static_cast<size_t>(X) * 3);
}

TIERGB48Pixel TIEBitmap::GetPixel48(Integer X, Integer Y) {
  return LoadPixel<TIERGB48Pixel>(GetScanline(Y), X);
}

void TIEBitmap::SetPixel48(Integer X, Integer Y, const TIERGB48Pixel& Value) {
  StorePixel(GetScanline(Y), X, Value);
  if (Value.r != 65535 || Value.g != 65535 || Value.b != 65535) FFull = false;
}

TIERGBTriple TIEBitmap::GetPixelRGB(Integer X, Integer Y) {
  void* Row = GetScanline(Y);
  switch (FPixelFormat) {
    case ie1g: {
      const Byte V = (static_cast<Byte*>(Row)[X >> 3] & (0x80 >> (X & 7))) ? 255 : 0;
      return TIERGBTriple{V, V, V};
    }
    case ie8p: {
      const Byte Index = LoadPixel<Byte>(Row, X);
      return Index < FPalette.size() ? FPalette[Index] : TIERGBTriple{};
    }
    case ie8g: {
      const Byte V = LoadPixel<Byte>(Row, X);
      return TIERGBTriple{V, V, V};
    }
    case ie16g: {
      const Byte V = static_cast<Byte>(LoadPixel<Word>(Row, X) >> 8);
      return TIERGBTriple{V, V, V};
    }
    case ie24RGB:
      return LoadPixel<TIERGBTriple>(Row, X);
    case ie32f: {
      const Byte V = static_cast<Byte>(static_cast<Integer>(std::trunc(LoadPixel<Single>(Row, X) * 255)));
      return TIERGBTriple{V, V, V};
    }
    case ieCMYK: {
      TIERGBTriple C;
      IECMYK2RGB(LoadPixel<TCMYK>(Row, X), C);
      return C;
    }
    case ieRGB48: {
      const TIERGB48Pixel P = LoadPixel<TIERGB48Pixel>(Row, X);
      return TIERGBTriple{static_cast<Byte>(P.b >> 8), static_cast<Byte>(P.g >> 8),
                          static_cast<Byte>(P.r >> 8)};
    }
    case ieCIELab:
      return IECIELab2RGB(LoadPixel<TIECIELabPixel>(Row, X));
    case ie32RGB: {
      TIERGBTriple C;
      std::memcpy(&C, static_cast<Byte*>(Row) + static_cast<size_t>(X) * 4, 3);
      return C;
    }
    default:
      return TIERGBTriple{};
  }
}

Byte TIEBitmap::GetAlpha(Integer X, Integer Y) {
  TIEBitmap* Alpha = GetAlphaChannel();
  return Alpha ? Alpha->GetPixel8(X, Y) : 255;
}

void TIEBitmap::SetAlpha(Integer X, Integer Y, Byte Value) {
  TIEBitmap* Alpha = GetAlphaChannel();
  if (!Alpha) return;
  Alpha->SetPixel8(X, Y, Value);
  if (Value != 255) FFull = false;
}

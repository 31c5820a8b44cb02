#pragma once
// Pictures and guards for the conversion and quantizer tests: raw pixel access by format, a
// guard that restores the library-wide storage, allocation and quantizer settings.
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include "imaging/core/hyieutils.h"
#include "imaging/core/iebitmap.h"
#include "imaging/core/iefilebuffer.h"
#include "imaging/core/iequantizer.h"

class TConvertSettingsGuard {
 public:
  TConvertSettingsGuard() = default;
  ~TConvertSettingsGuard() {
    IEMinFileSizeOverride = FMinFileSize;
    IEAllowChunks = FChunks;
    IEAllowFileFallback = FFallback;
    IEAllocationFailureHook = nullptr;
    IEQuantizerMethod = FMethod;
    IENeuQuantQuality = FQuality;
  }
  TConvertSettingsGuard(const TConvertSettingsGuard&) = delete;
  TConvertSettingsGuard& operator=(const TConvertSettingsGuard&) = delete;

  // Every new bitmap goes to a temporary file.
  void UseFiles() { IEMinFileSizeOverride = 0; }
  // Allocations of at least Size bytes fail, with no chunk or file fallback.
  void FailFrom(UInt64 Size) {
    IEAllowChunks = false;
    IEAllowFileFallback = false;
    IEAllocationFailureHook = [Size](UInt64 Asked) { return Asked >= Size; };
  }

 private:
  Int64 FMinFileSize = IEMinFileSizeOverride;
  bool FChunks = IEAllowChunks;
  bool FFallback = IEAllowFileFallback;
  Integer FMethod = IEQuantizerMethod;
  Integer FQuality = IENeuQuantQuality;
};

inline Integer BytesPerPixel(TIEPixelFormat Format) {
  return IEBitsPerPixel[Format] / 8;
}

// The raw bytes of pixel (X, Y) of a format of at least 8 bits per pixel.
inline std::vector<Byte> RawPixel(TIEBitmap& B, Integer X, Integer Y) {
  const Integer Size = BytesPerPixel(B.GetPixelFormat());
  const auto* Row = static_cast<const Byte*>(B.GetScanline(Y));
  return std::vector<Byte>(Row + X * Size, Row + (X + 1) * Size);
}

inline void SetRawPixel(TIEBitmap& B, Integer X, Integer Y, const std::vector<Byte>& Bytes) {
  auto* Row = static_cast<Byte*>(B.GetScanline(Y));
  std::memcpy(Row + X * BytesPerPixel(B.GetPixelFormat()), Bytes.data(), Bytes.size());
}

template <class T>
std::vector<Byte> Raw(const T& Value) {
  std::vector<Byte> Bytes(sizeof(T));
  std::memcpy(Bytes.data(), &Value, sizeof(T));
  return Bytes;
}

inline bool GetBit(TIEBitmap& B, Integer X, Integer Y) {
  return (static_cast<const Byte*>(B.GetScanline(Y))[X >> 3] >> (7 - (X & 7))) & 1;
}

inline void SetBit(TIEBitmap& B, Integer X, Integer Y, bool Value) {
  Byte& Byte8 = static_cast<Byte*>(B.GetScanline(Y))[X >> 3];
  const auto Mask = static_cast<Byte>(0x80 >> (X & 7));
  Byte8 = Value ? (Byte8 | Mask) : (Byte8 & ~Mask);
}

// Every row's pixel bytes, for comparing a picture before and after an operation.
inline std::vector<Byte> AllRows(TIEBitmap& B) {
  std::vector<Byte> Bytes;
  const Integer Used = (B.GetWidth() * B.GetBitCount() + 7) / 8;
  for (Integer Y = 0; Y < B.GetHeight(); ++Y) {
    const auto* Row = static_cast<const Byte*>(B.GetScanline(Y));
    Bytes.insert(Bytes.end(), Row, Row + Used);
  }
  return Bytes;
}

inline TIERGBTriple Rgb(Byte R, Byte G, Byte B) {
  return {B, G, R};
}

// A 24-bit picture whose pixel (X, Y) is Color(X, Y).
inline std::unique_ptr<TIEBitmap> MakeRGB(Integer Width, Integer Height,
                                          const std::function<TIERGBTriple(Integer, Integer)>& Color) {
  auto B = std::make_unique<TIEBitmap>(Width, Height, ie24RGB);
  for (Integer Y = 0; Y < Height; ++Y) {
    auto* Row = static_cast<TIERGBTriple*>(B->GetScanline(Y));
    for (Integer X = 0; X < Width; ++X) Row[X] = Color(X, Y);
  }
  return B;
}

#pragma once
// Helpers of the class-library tests: little-endian byte builders for picture files, streams
// over byte vectors, and pixel access to bitmaps as COLORREFs.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/classes/Bitmap.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Dib.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Surface.h"
#include "platform/system/Exceptions.h"
#include "platform/system/Streams.h"

struct TBytes {
  std::vector<Byte> D;
  TBytes& U8(Integer V) {
    D.push_back(static_cast<Byte>(V));
    return *this;
  }
  TBytes& U16(Integer V) { return U8(V).U8(V >> 8); }
  TBytes& U32(Int64 V) {
    return U16(static_cast<Integer>(V & 0xFFFF)).U16(static_cast<Integer>((V >> 16) & 0xFFFF));
  }
  TBytes& Add(std::initializer_list<Integer> Values) {
    for (Integer V : Values) U8(V);
    return *this;
  }
  TBytes& Add(const std::vector<Byte>& Values) {
    D.insert(D.end(), Values.begin(), Values.end());
    return *this;
  }
  TBytes& Zeros(std::size_t N) {
    D.insert(D.end(), N, 0);
    return *this;
  }
  std::size_t Size() const { return D.size(); }
};

// A BITMAPFILEHEADER for a file of FileSize bytes whose pixels start at Offset.
inline TBytes FileHeader(Int64 FileSize, Int64 Offset) {
  TBytes B;
  B.Add({'B', 'M'}).U32(FileSize).U32(0).U32(Offset);
  return B;
}

// A BITMAPINFOHEADER-style header of Size bytes (40, 108, 124); the rest after the common
// fields stays zero unless Masks are given (then at offset 40, as V4/V5 keep them).
inline TBytes InfoHeader(Integer Size, Integer Width, Integer Height, Integer BitCount, DWORD Compression,
                         DWORD SizeImage = 0, DWORD ClrUsed = 0, std::vector<DWORD> Masks = {}) {
  TBytes B;
  B.U32(Size)
      .U32(static_cast<DWORD>(Width))
      .U32(static_cast<DWORD>(Height))
      .U16(1)
      .U16(BitCount)
      .U32(Compression);
  B.U32(SizeImage).U32(2835).U32(2835).U32(ClrUsed).U32(0);
  for (DWORD M : Masks) B.U32(M);
  B.Zeros(static_cast<std::size_t>(Size) - B.Size());
  return B;
}

// A whole file: file header, the given header, table and pixels, the offset pointing at the pixels.
inline std::vector<Byte> BmpFile(const TBytes& Header, const TBytes& Table, const TBytes& Pixels) {
  const Int64 Offset = 14 + static_cast<Int64>(Header.Size() + Table.Size());
  TBytes F = FileHeader(Offset + static_cast<Int64>(Pixels.Size()), Offset);
  F.Add(Header.D).Add(Table.D).Add(Pixels.D);
  return F.D;
}

inline void LoadBytes(TGraphic& G, const std::vector<Byte>& Data) {
  TMemoryStream S;
  if (!Data.empty()) S.WriteBuffer(Data.data(), static_cast<Integer>(Data.size()));
  S.SetPosition(0);
  G.LoadFromStream(&S);
}

inline std::vector<Byte> SaveBytes(TGraphic& G) {
  TMemoryStream S;
  G.SaveToStream(&S);
  const Byte* P = static_cast<const Byte*>(S.GetMemory());
  return std::vector<Byte>(P, P + S.GetSize());
}

// The colour a bitmap shows at (X, Y), read from its pixels.
inline COLORREF PixelAt(TBitmap& B, Integer X, Integer Y) {
  const TSurface& S = B.GetHandle()->Surface;
  return PixelToColor(S, GetRawPixel(S, X, Y));
}

inline DWORD RawAt(TBitmap& B, Integer X, Integer Y) {
  const TSurface& S = B.GetHandle()->Surface;
  return GetRawPixel(S, X, Y);
}

// Rows of '.'/'#'/'?' for white, black and anything else.
inline std::string Picture(TBitmap& B, COLORREF Background = 0xFFFFFF, COLORREF Ink = 0) {
  std::string Out = "\n";
  for (Integer Y = 0; Y < B.GetHeight(); ++Y) {
    for (Integer X = 0; X < B.GetWidth(); ++X) {
      const COLORREF C = PixelAt(B, X, Y);
      Out += C == Background ? '.' : C == Ink ? '#' : '?';
    }
    Out += '\n';
  }
  return Out;
}

inline std::string Rows(std::initializer_list<const char*> Lines) {
  std::string Out = "\n";
  for (const char* L : Lines) (Out += L) += '\n';
  return Out;
}

template <class E, class F>
void ExpectError(F&& Call, const std::string& Message) {
  try {
    Call();
    ADD_FAILURE() << "no exception, expected: " << Message;
  } catch (const E& Ex) {
    EXPECT_EQ(Ex.GetMessage(), Message);
  }
}

// Run-length coding of BMP pixel data (RLE8 and RLE4).
#include <algorithm>
#include <cstdlib>
#include <type_traits>

#include "imaging/core/iebitmap.h"
#include "imaging/formats/iebmp.h"
#include "imaging/io/ieioprogress.h"

namespace {

// Where decoded pixels go: palette indices into an ie8p row or colours into an ie24RGB row.
struct TIndexSink {
  static void Put(void* Row, Integer X, Byte Index, const TIERGBTriple*) {
    static_cast<Byte*>(Row)[X] = Index;
  }
};
struct TColourSink {
  static void Put(void* Row, Integer X, Byte Index, const TIERGBTriple* Palette) {
    static_cast<TIERGBTriple*>(Row)[X] = Palette[Index];
  }
};

// The four decoders share this walk; Rle4 says whether a data byte holds two pixels. Pixels beyond
// the right edge are dropped: writers pad rows with overlong runs, which must not overwrite the
// row's last pixel.
template <bool Rle4, class TSink>
void DecodeRle(TIEBitmap* Bitmap, const Byte* Data, Integer DataSize, const TIERGBTriple* Palette,
               TIEIOProgress& Progress, Integer RowOrigin) {
  const Integer Width = Bitmap->GetWidth();
  const Integer Height = Bitmap->GetHeight();
  if (Width <= 0 || Height <= 0) return;
  if constexpr (std::is_same_v<TSink, TIndexSink>) Bitmap->SetPaletteUsed(Rle4 ? 16 : 256);
  const Double Factor = 100.0 / Height;
  Integer X = 0;
  Integer Y = Height - 1;
  Integer Pos = 0;
  void* Row = Bitmap->GetScanline(std::abs(RowOrigin - Y));
  const auto Put = [&](Byte Index) {
    if (X < Width) TSink::Put(Row, X, Index, Palette);
    ++X;
  };
  // Pixel I of a run or literal: the byte itself (RLE8) or its high then low nibble (RLE4).
  const auto PixelOf = [](Byte Value, Integer I) -> Byte {
    if (!Rle4) return Value;
    return (I & 1) ? Value & 0x0F : Value >> 4;
  };
  while (Pos + 1 < DataSize) {
    const Byte Count = Data[Pos];
    const Byte Code = Data[Pos + 1];
    Pos += 2;
    if (Count > 0) {
      for (Integer I = 0; I < Count; ++I) Put(PixelOf(Code, I));
    } else if (Code == 0) {
      if (--Y < 0) return;
      X = 0;
      Row = Bitmap->GetScanline(std::abs(RowOrigin - Y));
      if (Progress.OnProgress)
        Progress.OnProgress(Progress.Sender, static_cast<Integer>((Height - Y) * Factor));
      if (IEIsAborting(Progress)) return;
    } else if (Code == 1) {
      return;
    } else if (Code == 2) {
      if (Pos + 1 >= DataSize) return;
      X += Data[Pos];
      Y -= Data[Pos + 1];
      Pos += 2;
      if (X >= Width || Y < 0) return;
      Row = Bitmap->GetScanline(std::abs(RowOrigin - Y));
    } else {
      const Integer Bytes = Rle4 ? (Code + 1) / 2 : Code;
      for (Integer I = 0; I < Code; ++I) {
        const Integer At = Pos + (Rle4 ? I / 2 : I);
        if (At >= DataSize) return;
        Put(PixelOf(Data[At], I));
      }
      Pos += Bytes + (Bytes & 1);  // literals are padded to an even length
    }
  }
}

// Emits a pending stretch of K pixels in pieces of at most 255: a lone pixel as a run of 1,
// two as runs (RLE8) or one run of 2 (RLE4), three or more as a padded literal.
template <bool Rle4>
Integer FlushStretch(const Byte* Pixels, Integer K, Byte* Out) {
  Integer N = 0;
  while (K > 0) {
    const Integer Piece = std::min(K, 255);
    if (Piece == 1) {
      Out[N++] = 1;
      Out[N++] = Rle4 ? static_cast<Byte>(Pixels[0] << 4) : Pixels[0];
    } else if (Piece == 2 && Rle4) {
      Out[N++] = 2;
      Out[N++] = static_cast<Byte>((Pixels[0] << 4) | (Pixels[1] & 0x0F));
    } else if (Piece == 2) {
      Out[N++] = 1;
      Out[N++] = Pixels[0];
      Out[N++] = 1;
      Out[N++] = Pixels[1];
    } else {
      Out[N++] = 0;
      Out[N++] = static_cast<Byte>(Piece);
      Integer Bytes = 0;
      if (Rle4) {
        for (Integer I = 0; I < Piece; I += 2, ++Bytes) {
          const Byte Low = I + 1 < Piece ? (Pixels[I + 1] & 0x0F) : 0;
          Out[N++] = static_cast<Byte>((Pixels[I] << 4) | Low);
        }
      } else {
        for (Integer I = 0; I < Piece; ++I, ++Bytes) Out[N++] = Pixels[I];
      }
      if (Bytes & 1) Out[N++] = 0;
    }
    Pixels += Piece;
    K -= Piece;
  }
  return N;
}

template <bool Rle4>
Integer EncodeRow(const Byte* Indices, Integer Count, Byte* Output) {
  Integer N = 0;
  Integer Pending = 0;  // start of the pending literal stretch
  Integer I = 0;
  while (I < Count) {
    if (I + 1 < Count && Indices[I] == Indices[I + 1]) {
      N += FlushStretch<Rle4>(Indices + Pending, I - Pending, Output + N);
      Integer Run = 1;
      while (I + Run < Count && Run < 255 && Indices[I + Run] == Indices[I]) ++Run;
      Output[N++] = static_cast<Byte>(Run);
      Output[N++] = Rle4 ? static_cast<Byte>((Indices[I] << 4) | (Indices[I] & 0x0F)) : Indices[I];
      I += Run;
      Pending = I;
    } else {
      ++I;
      if (I - Pending > 255) {
        N += FlushStretch<Rle4>(Indices + Pending, 255, Output + N);
        Pending += 255;
      }
    }
  }
  N += FlushStretch<Rle4>(Indices + Pending, Count - Pending, Output + N);
  Output[N++] = 0;
  Output[N++] = 0;
  return N;
}

}  // namespace

void BmpDecodeRle8ToIndices(TIEBitmap* Bitmap, const Byte* Data, Integer DataSize,
                            const TIERGBTriple* Palette, TIEIOProgress& Progress, Integer RowOrigin) {
  DecodeRle<false, TIndexSink>(Bitmap, Data, DataSize, Palette, Progress, RowOrigin);
}
void BmpDecodeRle8ToRGB(TIEBitmap* Bitmap, const Byte* Data, Integer DataSize, const TIERGBTriple* Palette,
                        TIEIOProgress& Progress, Integer RowOrigin) {
  DecodeRle<false, TColourSink>(Bitmap, Data, DataSize, Palette, Progress, RowOrigin);
}
void BmpDecodeRle4ToIndices(TIEBitmap* Bitmap, const Byte* Data, Integer DataSize,
                            const TIERGBTriple* Palette, TIEIOProgress& Progress, Integer RowOrigin) {
  DecodeRle<true, TIndexSink>(Bitmap, Data, DataSize, Palette, Progress, RowOrigin);
}
void BmpDecodeRle4ToRGB(TIEBitmap* Bitmap, const Byte* Data, Integer DataSize, const TIERGBTriple* Palette,
                        TIEIOProgress& Progress, Integer RowOrigin) {
  DecodeRle<true, TColourSink>(Bitmap, Data, DataSize, Palette, Progress, RowOrigin);
}

Integer BmpEncodeRle8Row(const Byte* Indices, Integer Count, Byte* Output) {
  return EncodeRow<false>(Indices, Count, Output);
}
Integer BmpEncodeRle4Row(const Byte* Indices, Integer Count, Byte* Output) {
  return EncodeRow<true>(Indices, Count, Output);
}

// Colour and AND parts of one icon or cursor image, rows bottom first, padded to 4 bytes.
#include "imaging/formats/ieicopixels.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iemask.h"
#include "imaging/io/iereadlimits.h"
#include "platform/system/Streams.h"

namespace {

// A colour part may claim up to this many times the bytes left: a truncated file still loads
// the rows it has, while a few bytes claiming a huge picture are refused before allocation.
constexpr Int64 MaxClaimPerDataByte = 8;

Int64 ColourRowLength(Integer Width, Integer BitCount) {
  return (static_cast<Int64>(Width) * BitCount + 31) / 32 * 4;
}

Int64 MaskRowLength(Integer Width) {
  return (static_cast<Int64>(Width) + 31) / 32 * 4;
}

bool BitSet(const Byte* Row, Integer X) {
  return (Row[X >> 3] & (0x80 >> (X & 7))) != 0;
}

Byte IndexAt(const Byte* Src, Integer X, Integer BitCount) {
  switch (BitCount) {
    case 1:
      return BitSet(Src, X) ? 1 : 0;
    case 4:
      return (X & 1) ? Src[X / 2] & 0x0F : Src[X / 2] >> 4;
    default:
      return Src[X];
  }
}

// Reads Rows rows of RowLength bytes, bottom row first, into a top-first buffer; rows past the
// end of the data stay zero.
std::vector<Byte> ReadBottomUp(TStream* Stream, Integer Rows, Int64 RowLength) {
  std::vector<Byte> Data(static_cast<size_t>(Rows * RowLength), 0);
  for (Integer I = 0; I < Rows; ++I) {
    Byte* Row = Data.data() + static_cast<size_t>(Rows - 1 - I) * static_cast<size_t>(RowLength);
    if (IcoReadUpTo(Stream, Row, RowLength) < RowLength) break;
  }
  return Data;
}

struct TDecoder {
  const TIcoImage& Image;
  TIEBitmap* Bitmap;
  TIEMask* Alpha;  // nil: no mask wanted
  Int64 ColourRowLen;
  Int64 MaskRowLen;

  void Colours(const std::vector<Byte>& Data, const std::vector<Byte>* Mask, bool& AllAlphaZero) {
    const Integer W = Image.Width;
    for (Integer Y = 0; Y < Image.Height; ++Y) {
      const Byte* Src = Data.data() + static_cast<size_t>(Y) * static_cast<size_t>(ColourRowLen);
      const Byte* M =
          Mask ? Mask->data() + static_cast<size_t>(Y) * static_cast<size_t>(MaskRowLen) : nullptr;
      void* Dst = Bitmap->GetScanline(Y);
      if (Image.Format == ie1g) {
        auto* Row = static_cast<Byte*>(Dst);
        std::memcpy(Row, Src, static_cast<size_t>((W + 7) / 8));
        // Transparent pixels take the background: a white one inverts the colour bit.
        const bool White = Image.Background == TIERGBTriple{255, 255, 255};
        if (M && White)
          for (Integer X = 0; X < W; ++X)
            if (BitSet(M, X)) Row[X >> 3] ^= static_cast<Byte>(0x80 >> (X & 7));
      } else if (Image.BitCount <= 8) {
        auto* Idx = static_cast<Byte*>(Dst);
        auto* Rgb = static_cast<TIERGBTriple*>(Dst);
        for (Integer X = 0; X < W; ++X) {
          const Byte I = IndexAt(Src, X, Image.BitCount);
          if (Image.Format == ie8p)
            Idx[X] = I;
          else
            Rgb[X] = M && BitSet(M, X) ? Image.Background : Image.Palette[I];
        }
      } else if (Image.BitCount == 24) {
        std::memcpy(Dst, Src, static_cast<size_t>(W) * 3);
      } else {  // 32
        auto* Rgb = static_cast<TIERGBTriple*>(Dst);
        Byte* A = Alpha ? Alpha->GetScanline(Y) : nullptr;
        for (Integer X = 0; X < W; ++X) {
          const Byte* P = Src + 4 * X;
          Rgb[X] = {P[0], P[1], P[2]};
          AllAlphaZero &= P[3] == 0;
          if (A) A[X] = P[3];
        }
      }
    }
  }

  void AlphaFromMask(const std::vector<Byte>& Mask) {
    if (!Alpha) return;
    for (Integer Y = 0; Y < Image.Height; ++Y) {
      const Byte* M = Mask.data() + static_cast<size_t>(Y) * static_cast<size_t>(MaskRowLen);
      Byte* A = Alpha->GetScanline(Y);
      for (Integer X = 0; X < Image.Width; ++X) A[X] = BitSet(M, X) ? 0 : 255;
    }
  }
};

bool MaskFits(TStream* Stream, Integer Height, Int64 MaskRowLen) {
  const Int64 Left = IEStreamBytesLeft(Stream);
  return Left < 0 || Left >= Height * MaskRowLen;
}

}  // namespace

Integer IcoReadUpTo(TStream* Stream, void* Buffer, Int64 Count) {
  if (Count <= 0) return 0;
  try {
    return std::max(Stream->Read(Buffer, static_cast<Integer>(std::min<Int64>(Count, 0x7FFFFFFF))), 0);
  } catch (const EStreamError&) {
    return 0;
  }
}

bool IcoDecodeImage(TStream* Stream, TIEBitmap* Bitmap, const TIcoImage& Image,
                    std::unique_ptr<TIEMask>& AlphaMask, bool MaskWanted) {
  if (Image.Width <= 0 || Image.Height <= 0) return false;
  const Int64 ColourRowLen = ColourRowLength(Image.Width, std::max(Image.BitCount, 1));
  if (IEClaimExceedsData(Image.Height, ColourRowLen, IEStreamBytesLeft(Stream), MaxClaimPerDataByte))
    return false;
  if (!Bitmap->Allocate(Image.Width, Image.Height, Image.Format)) return false;
  if (Image.Format == ie8p) {
    for (Integer I = 0; I < std::min<Integer>(256, Bitmap->GetPaletteLen()); ++I)
      Bitmap->SetPaletteColor(I, Image.Palette[static_cast<size_t>(I)]);
    Bitmap->SetPaletteUsed(1 << Image.BitCount);
  }
  TIEMask* Alpha = nullptr;
  if (MaskWanted) {
    if (!AlphaMask) AlphaMask = std::make_unique<TIEMask>();
    if (AlphaMask->AllocateBits(Image.Width, Image.Height, 8)) {
      AlphaMask->Fill(255);
      AlphaMask->SetFull(false);
      Alpha = AlphaMask.get();
    }
  }
  const Integer Bits = Image.BitCount;
  if (Bits == 1 || Bits == 4 || Bits == 8 || Bits == 24 || Bits == 32) {
    TDecoder D{Image, Bitmap, Alpha, ColourRowLength(Image.Width, Bits), MaskRowLength(Image.Width)};
    const std::vector<Byte> Colours = ReadBottomUp(Stream, Image.Height, D.ColourRowLen);
    bool AllAlphaZero = true;
    if (Bits <= 8) {
      const std::vector<Byte> Mask = ReadBottomUp(Stream, Image.Height, D.MaskRowLen);
      D.Colours(Colours, &Mask, AllAlphaZero);
      D.AlphaFromMask(Mask);
    } else {
      D.Colours(Colours, nullptr, AllAlphaZero);
      // 24-bit images have only the mask for transparency; 32-bit ones when their alpha is blank.
      if ((Bits == 24 || AllAlphaZero) && MaskFits(Stream, Image.Height, D.MaskRowLen))
        D.AlphaFromMask(ReadBottomUp(Stream, Image.Height, D.MaskRowLen));
    }
  }
  if (MaskWanted && AlphaMask) {
    AlphaMask->SyncFull();
    if (AlphaMask->GetFull()) AlphaMask.reset();
  }
  return true;
}

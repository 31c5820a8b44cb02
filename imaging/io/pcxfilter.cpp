// PCX reading and the line codecs.
#include "imaging/io/pcxfilter.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <vector>

#include "imaging/core/hyieutils.h"
#include "imaging/core/iebitmap.h"
#include "imaging/io/ieioprogress.h"
#include "imaging/io/iereadlimits.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/Streams.h"

namespace {

constexpr Byte PcxManufacturer = 10;
constexpr Integer TrailingPaletteSize = 768;
// One count byte and its value give at most 63 bytes of 8 pixels each.
constexpr Int64 MaxPixelsPerDataByte = 256;

struct TPcxHeader {
  Byte Version = 0;
  Byte Encoding = 0;
  Integer BitsPerPixel = 0;
  Integer Width = 0;
  Integer Height = 0;
  Integer DpiX = 0;
  Integer DpiY = 0;
  Integer Planes = 0;
  Integer BytesPerLine = 0;
  std::array<TIERGBTriple, 16> Palette{};
};

Integer LoadLE16(const Byte* P) {
  return P[0] | (P[1] << 8);
}

// Palettes are stored red, green, blue; the picture's entries are blue, green, red.
void LoadPalette(const Byte* Stored, TIERGBTriple* Palette, Integer Count) {
  for (Integer I = 0; I < Count; ++I, Stored += 3) Palette[I] = TIERGBTriple{Stored[2], Stored[1], Stored[0]};
}

TPcxHeader ParseHeader(const Byte* H) {
  TPcxHeader Header;
  Header.Version = H[1];
  Header.Encoding = H[2];
  Header.BitsPerPixel = H[3];
  Header.Width = LoadLE16(H + 8) - LoadLE16(H + 4) + 1;
  Header.Height = LoadLE16(H + 10) - LoadLE16(H + 6) + 1;
  Header.DpiX = LoadLE16(H + 12);
  Header.DpiY = LoadLE16(H + 14);
  LoadPalette(H + 16, Header.Palette.data(), 16);
  Header.Planes = H[65];
  Header.BytesPerLine = LoadLE16(H + 66);
  return Header;
}

// The lines of one picture: the data cursor and a run that did not fit the last line, which
// the next line (of the next plane or the next row) takes first.
class TPcxLineDecoder {
 public:
  TPcxLineDecoder(const Byte* Data, size_t Size, bool Encoded)
      : FData(Data), FSize(Size), FEncoded(Encoded) {}

  bool Exhausted() const { return FPos >= FSize && FHeld == 0; }

  // Exactly Length bytes; what the data cannot give is zero.
  void Decode(Byte* Line, Integer Length) {
    Integer Done = 0;
    if (!FEncoded) {
      Done = static_cast<Integer>(std::min<size_t>(static_cast<size_t>(Length), FSize - FPos));
      std::memcpy(Line, FData + FPos, static_cast<size_t>(Done));
      FPos += static_cast<size_t>(Done);
    }
    while (Done < Length) {
      if (FHeld > 0) {
        const Integer Take = std::min(FHeld, Length - Done);
        std::memset(Line + Done, FHeldValue, static_cast<size_t>(Take));
        Done += Take;
        FHeld -= Take;
        continue;
      }
      if (FPos >= FSize) break;
      const Byte B = FData[FPos++];
      if (B < 0xC0) {
        Line[Done++] = B;
      } else {
        if (FPos >= FSize) break;
        FHeld = B & 0x3F;
        FHeldValue = FData[FPos++];
      }
    }
    std::memset(Line + Done, 0, static_cast<size_t>(Length - Done));
  }

 private:
  const Byte* FData;
  size_t FSize;
  bool FEncoded;
  size_t FPos = 0;
  Integer FHeld = 0;
  Byte FHeldValue = 0;
};

enum class TPcxLayout { Index8, Index4, Bits1, Planes3, Planes4, Unsupported };

TPcxLayout LayoutOf(const TPcxHeader& H) {
  if (H.Planes == 1 && H.BitsPerPixel == 8) return TPcxLayout::Index8;
  if (H.Planes == 1 && H.BitsPerPixel == 4) return TPcxLayout::Index4;
  if (H.Planes == 1 && H.BitsPerPixel == 1) return TPcxLayout::Bits1;
  if (H.Planes == 3) return TPcxLayout::Planes3;
  if (H.Planes == 4) return TPcxLayout::Planes4;
  return TPcxLayout::Unsupported;
}

// Bytes of one plane line the conversion of a row reads.
Integer BytesUsed(TPcxLayout Layout, Integer Width) {
  switch (Layout) {
    case TPcxLayout::Index4:
      return (Width + 1) / 2;
    case TPcxLayout::Bits1:
    case TPcxLayout::Planes4:
      return (Width + 7) / 8;
    default:
      return Width;
  }
}

// One decoded row (planes Stride bytes apart) into the bitmap's row.
void ConvertRow(TPcxLayout Layout, const Byte* Line, Integer Stride, Integer Width,
                const TIERGBTriple* Palette, void* Dest) {
  auto* Rgb = static_cast<TIERGBTriple*>(Dest);
  switch (Layout) {
    case TPcxLayout::Index8:
      for (Integer X = 0; X < Width; ++X) Rgb[X] = Palette[Line[X]];
      break;
    case TPcxLayout::Index4:
      for (Integer X = 0; X < Width; ++X) Rgb[X] = Palette[(X & 1) ? Line[X / 2] & 0x0F : Line[X / 2] >> 4];
      break;
    case TPcxLayout::Bits1:
      std::memcpy(Dest, Line, static_cast<size_t>((Width + 7) / 8));
      break;
    case TPcxLayout::Planes3:
      for (Integer X = 0; X < Width; ++X)
        Rgb[X] = TIERGBTriple{Line[2 * Stride + X], Line[Stride + X], Line[X]};
      break;
    case TPcxLayout::Planes4:
      for (Integer X = 0; X < Width; ++X) {
        const Byte Mask = static_cast<Byte>(0x80 >> (X & 7));
        Integer Index = 0;
        for (Integer K = 0; K < 4; ++K)
          if (Line[K * Stride + X / 8] & Mask) Index |= 1 << K;
        Rgb[X] = Palette[Index];
      }
      break;
    case TPcxLayout::Unsupported:
      break;
  }
}

void FillParams(TIOParamsVals& P, const TPcxHeader& H, const std::array<TIERGBTriple, 256>& Trailing) {
  P.SetImageCount(1);
  const bool Known = H.DpiX != 0 && H.DpiY != 0;
  P.SetDpiX(Known ? H.DpiX : DefaultDpiX);
  P.SetDpiY(Known ? H.DpiY : DefaultDpiY);
  P.BitsPerSample = H.BitsPerPixel;
  P.SamplesPerPixel = H.Planes;
  P.Width = P.FileWidth = H.Width;
  P.Height = P.FileHeight = H.Height;
  P.PcxVersion = H.Version;
  P.FreeColorMap();
  if (H.BitsPerPixel == 8 && H.Planes == 1) {
    P.ColorMap.assign(Trailing.begin(), Trailing.end());
  } else if (H.BitsPerPixel == 1 && H.Planes == 4) {
    P.ColorMap.assign(H.Palette.begin(), H.Palette.end());
    P.BitsPerSample = 4;
    P.SamplesPerPixel = 1;
  } else if (H.BitsPerPixel < 8) {
    // The header holds 16 entries, however many 5 to 7 bits could index.
    P.ColorMap.assign(H.Palette.begin(), H.Palette.begin() + std::min(1 << H.BitsPerPixel, 16));
  }
}

void ReadPicture(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, Int64 StreamSize,
                 TIEIOProgress& Progress, bool Preview) {
  const Int64 Start = Stream->GetPosition();
  const Int64 Left = IEStreamBytesLeft(Stream);
  if (Left >= 0) StreamSize = std::min(StreamSize, Left);
  std::array<Byte, PcxHeaderSize> Raw{};
  if (StreamSize < PcxHeaderSize || Stream->Read(Raw.data(), PcxHeaderSize) != PcxHeaderSize) {
    IESetAborting(Progress);
    return;
  }
  const TPcxHeader H = ParseHeader(Raw.data());
  if (Raw[0] != PcxManufacturer || H.BitsPerPixel > 8 || H.Encoding > 1) {
    IESetAborting(Progress);
    return;
  }

  std::array<TIERGBTriple, 256> Trailing{};
  if (H.Planes == 1 && H.BitsPerPixel > 4 && StreamSize >= PcxHeaderSize + TrailingPaletteSize) {
    std::array<Byte, TrailingPaletteSize> Stored{};
    Stream->SetPosition(Start + StreamSize - TrailingPaletteSize);
    if (Stream->Read(Stored.data(), TrailingPaletteSize) == TrailingPaletteSize)
      LoadPalette(Stored.data(), Trailing.data(), 256);
    Stream->SetPosition(Start + PcxHeaderSize);
  }
  FillParams(IOParams, H, Trailing);
  if (Preview) return;

  // A size the data could never fill is refused before anything is allocated.
  // The data is read in one piece, so it must fit one read.
  const Int64 DataSize = std::min<Int64>(StreamSize - PcxHeaderSize, std::numeric_limits<Integer>::max());
  if (H.Width <= 0 || H.Height <= 0 ||
      IEClaimExceedsData(H.Height, H.Width, DataSize, MaxPixelsPerDataByte)) {
    IESetAborting(Progress);
    return;
  }
  std::vector<Byte> Data(static_cast<size_t>(DataSize));
  Data.resize(static_cast<size_t>(std::max(Stream->Read(Data.data(), static_cast<Integer>(DataSize)), 0)));

  const bool OneBit = H.BitsPerPixel == 1 && H.Planes == 1;
  if (!Bitmap->Allocate(H.Width, H.Height, OneBit ? ie1g : ie24RGB)) {
    IESetAborting(Progress);
    return;
  }
  const TPcxLayout Layout = LayoutOf(H);
  if (Layout == TPcxLayout::Unsupported) return;
  // Planes sit far enough apart for what a row reads, even when the header's line is shorter.
  const Integer Stride = std::max(H.BytesPerLine, BytesUsed(Layout, H.Width));
  std::vector<Byte> Line(static_cast<size_t>(Stride) * H.Planes, 0);
  const TIERGBTriple* Palette = Layout == TPcxLayout::Index8 ? Trailing.data() : H.Palette.data();
  TPcxLineDecoder Decoder(Data.data(), Data.size(), H.Encoding == 1);
  const Double Factor = 100.0 / H.Height;
  Integer Reported = -1;
  for (Integer Y = 0; Y < H.Height && !Decoder.Exhausted(); ++Y) {
    const Integer Percent = static_cast<Integer>(Y * Factor);
    if (Progress.OnProgress && Percent != Reported) {
      Progress.OnProgress(Progress.Sender, Percent);
      Reported = Percent;
    }
    if (IEIsAborting(Progress)) return;
    for (Integer K = 0; K < H.Planes; ++K) Decoder.Decode(Line.data() + K * Stride, H.BytesPerLine);
    ConvertRow(Layout, Line.data(), Stride, H.Width, Palette, Bitmap->GetScanline(Y));
  }
}

}  // namespace

void PcxReadStream(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, Int64 StreamSize,
                   TIEIOProgress& Progress, bool Preview) {
  try {
    ReadPicture(Stream, Bitmap, IOParams, StreamSize, Progress, Preview);
  } catch (...) {
    IESetAborting(Progress);
  }
}

Integer PcxEncodeLine(Byte* Destination, const Byte* Source, Integer Count, Integer Stride, Integer Start) {
  Byte* Out = Destination;
  Integer I = 0;
  while (I < Count) {
    const Byte Value = Source[Start + I * Stride];
    Integer Run = 1;
    while (Run < 63 && I + Run < Count && Source[Start + (I + Run) * Stride] == Value) ++Run;
    if (Run > 1 || Value >= 0xC0) *Out++ = static_cast<Byte>(0xC0 + Run);
    *Out++ = Value;
    I += Run;
  }
  if (Count & 1) *Out++ = 0;
  return static_cast<Integer>(Out - Destination);
}

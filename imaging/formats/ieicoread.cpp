// Icon and cursor reading: the directory, the chosen entry's header and palette; the pixels are
// decoded by IcoDecodeImage.
#include <algorithm>
#include <vector>

#include "imaging/core/hyieutils.h"
#include "imaging/core/iebitmap.h"
#include "imaging/core/iemask.h"
#include "imaging/core/iestreams.h"
#include "imaging/core/ieutilsbits.h"
#include "imaging/formats/iebmp.h"
#include "imaging/formats/ieico.h"
#include "imaging/formats/ieicopixels.h"
#include "imaging/io/ieioprogress.h"
#include "imaging/io/ieresolution.h"
#include "imaging/io/pngfilt.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/Exceptions.h"
#include "platform/system/Streams.h"

namespace {

constexpr Integer HeaderBytes = 6;
constexpr Integer EntryBytes = 16;
constexpr Integer InfoHeaderBytes = 40;

Word LE16(const Byte* P) {
  return static_cast<Word>(P[0] | (P[1] << 8));
}

struct TIcoEntry {
  Integer Width = 0;  // the bytes as stored: 0 stands for 256 or "see the header"
  Integer Height = 0;
  Integer ColourCount = 0;
  Integer Planes = 0;
  Integer BitCount = 0;
  Cardinal Offset = 0;

  explicit TIcoEntry(const Byte* E = nullptr) {
    if (!E) return;
    Width = E[0];
    Height = E[1];
    ColourCount = E[2];
    Planes = LE16(E + 4);
    BitCount = LE16(E + 6);
    Offset = IELoadLE32(E + 12);
  }
};

// The 40-byte header of the image's colour part.
struct TIcoHeader {
  Integer Width = 0;
  Integer Height = 0;  // colour part and mask together
  Integer BitCount = 0;
  Integer PpmX = 0, PpmY = 0;

  explicit TIcoHeader(const Byte* H) {
    Width = static_cast<Integer>(IELoadLE32(H + 4));
    Height = static_cast<Integer>(IELoadLE32(H + 8));
    BitCount = LE16(H + 14);
    PpmX = static_cast<Integer>(IELoadLE32(H + 24));
    PpmY = static_cast<Integer>(IELoadLE32(H + 28));
  }
};

// The directory's entries, as many as the data holds; missing ones read as zeros.
std::vector<TIcoEntry> ReadDirectory(TStream* Stream, Integer Count) {
  std::vector<Byte> Raw(static_cast<size_t>(Count) * EntryBytes, 0);
  IcoReadUpTo(Stream, Raw.data(), static_cast<Int64>(Raw.size()));
  std::vector<TIcoEntry> Entries;
  Entries.reserve(static_cast<size_t>(Count));
  for (Integer I = 0; I < Count; ++I) Entries.emplace_back(Raw.data() + static_cast<size_t>(I) * EntryBytes);
  return Entries;
}

bool IsFileOfType(TStream* Stream, Word Type) {
  if (Stream->GetSize() <= 22) return false;
  const Int64 Start = Stream->GetPosition();
  Byte H[HeaderBytes] = {};
  bool Result = IcoReadUpTo(Stream, H, HeaderBytes) == HeaderBytes && LE16(H) == 0 && LE16(H + 2) == Type &&
                LE16(H + 4) != 0;
  for (Integer I = 0; Result && I < LE16(H + 4); ++I) {
    Byte E[EntryBytes] = {};
    Result = IcoReadUpTo(Stream, E, EntryBytes) == EntryBytes && E[3] == 0 && IELoadLE32(E + 8) != 0 &&
             IELoadLE32(E + 12) >= Stream->GetPosition() - Start;
  }
  Stream->SetPosition(Start);
  return Result;
}

Integer DpiOf(Integer PixelsPerMetre, Integer Default) {
  return PixelsPerMetre > 0 ? IEPixelsPerMetreToDpi(PixelsPerMetre) : Default;
}

// The header's bit count, else the entry's, else the bits its colour count needs, else 0.
Integer BitCountOf(const TIcoHeader& H, const TIcoEntry& E) {
  if (H.BitCount != 0) return H.BitCount;
  if (E.BitCount != 0) return E.BitCount;
  return std::max(IEBitMaskEnd(static_cast<Cardinal>(E.ColourCount)), 0);
}

// Reads Count palette entries (blue, green, red, unused) into the parameters and the image.
void ReadPalette(TStream* Stream, TIOParamsVals& IOParams, TIcoImage& Image, Integer Count) {
  std::vector<Byte> Raw(static_cast<size_t>(Count) * 4, 0);
  IcoReadUpTo(Stream, Raw.data(), static_cast<Int64>(Raw.size()));
  IOParams.ColorMap.resize(static_cast<size_t>(Count));
  for (Integer I = 0; I < Count; ++I) {
    const Byte* P = Raw.data() + static_cast<size_t>(I) * 4;
    IOParams.ColorMap[static_cast<size_t>(I)] = {P[0], P[1], P[2]};
    if (I < 256) Image.Palette[static_cast<size_t>(I)] = {P[0], P[1], P[2]};
  }
}

// Reads the 40-byte header; false (stream moved back) when it is a PNG signature instead.
bool ReadInfoHeader(TStream* Stream, Byte (&H)[InfoHeaderBytes]) {
  static constexpr Byte PngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  const Integer Got = IcoReadUpTo(Stream, H, InfoHeaderBytes);
  if (Got >= 8 && std::equal(PngSignature, PngSignature + 8, H)) {
    Stream->Seek(-Got, soCurrent);
    return false;
  }
  return true;
}

void SetCommonParams(TIOParamsVals& IOParams, const TIcoHeader& H, Integer Width, Integer Height) {
  IOParams.SetDpiX(DpiOf(H.PpmX, DefaultDpiX));
  IOParams.SetDpiY(DpiOf(H.PpmY, DefaultDpiY));
  IOParams.Width = IOParams.FileWidth = Width;
  IOParams.Height = IOParams.FileHeight = Height;
}

void Decode(TStream* Stream, TIEBitmap* Bitmap, const TIcoImage& Image, TIEIOProgress& Progress,
            std::unique_ptr<TIEMask>& AlphaMask, bool IgnoreAlpha) {
  if (!IcoDecodeImage(Stream, Bitmap, Image, AlphaMask, !IgnoreAlpha)) IESetAborting(Progress);
}

// Fills IcoSizes and IcoBitCounts from the first 16 entries of known size.
void StoreSizes(TIOParamsVals& IOParams, const std::vector<TIcoEntry>& Entries) {
  IOParams.IcoSizes = {};
  IOParams.IcoBitCounts = {};
  size_t Slot = 0;
  for (size_t I = 0; I < std::min(Entries.size(), IOParams.IcoSizes.size()); ++I) {
    const TIcoEntry& E = Entries[I];
    if (E.Width == 0 || E.Height == 0) continue;
    IOParams.IcoSizes[Slot] = {E.Width, E.Height};
    const Integer ColourBits = E.ColourCount != 0 ? IEBitMaskEnd(static_cast<Cardinal>(E.ColourCount)) : 24;
    IOParams.IcoBitCounts[Slot] = E.BitCount != 0 ? E.BitCount : ColourBits;
    ++Slot;
  }
}

// The entry IcoImageIndex names when its size is known, else the directory's last one.
const TIcoEntry& ChosenEntry(const std::vector<TIcoEntry>& Entries, Integer Index) {
  for (size_t I = 0; I < Entries.size(); ++I)
    if (static_cast<Integer>(I) == Index && Entries[I].Width != 0 && Entries[I].Height != 0)
      return Entries[I];
  return Entries.back();
}

}  // namespace

bool IcoIsFile(TStream* Stream) {
  return IsFileOfType(Stream, 1);
}

bool CurIsFile(TStream* Stream) {
  return IsFileOfType(Stream, 2);
}

void IcoReadStream(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, bool Preview,
                   TIEIOProgress& Progress, std::unique_ptr<TIEMask>& AlphaMask, bool IgnoreAlpha,
                   bool BareResource) {
  const Int64 Start = Stream->GetPosition();
  TIcoEntry Entry;
  if (!BareResource) {
    Byte H[HeaderBytes] = {};
    IcoReadUpTo(Stream, H, HeaderBytes);
    if (H[0] == 'B' && H[1] == 'M') {
      Stream->SetPosition(Start);
      BmpReadStream(Stream, Bitmap, Stream->GetSize(), IOParams, Progress, Preview, false, AlphaMask,
                    IgnoreAlpha);
      return;
    }
    const Integer Count = LE16(H + 4);
    if (IOParams.IcoImageIndex < 0 || IOParams.IcoImageIndex >= Count) return;
    const std::vector<TIcoEntry> Entries = ReadDirectory(Stream, Count);
    StoreSizes(IOParams, Entries);
    Entry = ChosenEntry(Entries, IOParams.IcoImageIndex);
    Stream->SetPosition(Start + Entry.Offset);
  }
  Byte Raw[InfoHeaderBytes] = {};
  if (!ReadInfoHeader(Stream, Raw)) {
    PngReadStream(Stream, Bitmap, IOParams, Progress, false);
    return;
  }
  const TIcoHeader Header(Raw);
  if (BareResource) {
    IOParams.SetImageIndex(0);
    IOParams.IcoSizes[0] = {Header.Width, Header.Height / 2};
    Entry.Width = Header.Width;
    Entry.Height = Header.Height / 2;
  }
  TIcoImage Image;
  Image.BitCount = BitCountOf(Header, Entry);
  if (Image.BitCount == 0) {
    IESetAborting(Progress);
    return;
  }
  IOParams.BitsPerSample = Image.BitCount <= 8 ? Image.BitCount : 8;
  IOParams.SamplesPerPixel = Image.BitCount <= 8 ? 1 : Image.BitCount == 32 ? 4 : 3;
  Image.Width = Entry.Width != 0 ? Entry.Width : Header.Width;
  Image.Height = Entry.Height != 0 ? Entry.Height : Header.Height / 2;
  // Entries of 256 pixels and more do not fit their size bytes; a plausible header says more.
  if (Entry.Width != 0 && Entry.Width != Header.Width && Header.Width != 0 && Header.Width < 2048 &&
      Header.Height < 2048) {
    Image.Width = Header.Width;
    Image.Height = Header.Height / 2;
  }
  IOParams.FreeColorMap();
  if (Image.BitCount <= 8) ReadPalette(Stream, IOParams, Image, 1 << Image.BitCount);
  SetCommonParams(IOParams, Header, Image.Width, Image.Height);
  if (Preview) return;

  const bool Paletted = Image.BitCount == 4 || Image.BitCount == 8;
  if (IOParams.NativePixelFormat) {
    if (!Paletted && Image.BitCount != 1 && Image.BitCount != 24 && Image.BitCount != 32)
      throw Exception("Unsupported pixel format");
    Image.Format = Image.BitCount == 1 ? ie1g : Paletted ? ie8p : ie24RGB;
  } else {
    Image.Format = Image.BitCount == 1 ? ie1g : ie24RGB;
  }
  Image.Background = IOParams.IcoBackground;
  Decode(Stream, Bitmap, Image, Progress, AlphaMask, IgnoreAlpha);
}

void CurReadStream(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, bool Preview,
                   TIEIOProgress& Progress, std::unique_ptr<TIEMask>& AlphaMask, bool IgnoreAlpha,
                   bool BareResource) {
  const Int64 Start = Stream->GetPosition();
  TIcoEntry Entry;
  if (BareResource) {
    Byte Hot[4] = {};
    IcoReadUpTo(Stream, Hot, 4);
    IOParams.CurXHotSpot = LE16(Hot);
    IOParams.CurYHotSpot = LE16(Hot + 2);
  } else {
    Byte H[HeaderBytes] = {};
    IcoReadUpTo(Stream, H, HeaderBytes);
    const Integer Count = LE16(H + 4);
    if (IOParams.CurImageIndex < 0 || IOParams.CurImageIndex >= Count) return;
    Stream->SetPosition(Start + HeaderBytes + static_cast<Int64>(IOParams.CurImageIndex) * EntryBytes);
    Byte E[EntryBytes] = {};
    IcoReadUpTo(Stream, E, EntryBytes);
    Entry = TIcoEntry(E);
    IOParams.CurXHotSpot = Entry.Planes;
    IOParams.CurYHotSpot = Entry.BitCount;
    Stream->SetPosition(Start + Entry.Offset);
  }
  Byte Raw[InfoHeaderBytes] = {};
  IcoReadUpTo(Stream, Raw, InfoHeaderBytes);
  const TIcoHeader Header(Raw);
  TIcoImage Image;
  if (BareResource) {
    Image.Width = Header.Width;
    Image.Height = Header.Height / 2;
  } else {
    Image.Width = Entry.Width != 0 ? Entry.Width : 256;
    Image.Height = Entry.Height != 0 ? Entry.Height : 256;
  }
  Image.BitCount = BitCountOf(Header, Entry);
  if (Image.BitCount == 0) {
    IESetAborting(Progress);
    return;
  }
  IOParams.BitsPerSample = Image.BitCount;
  IOParams.SamplesPerPixel = 1;
  const Int64 PaletteLength = Entry.ColourCount == 255 ? 256
                              : Entry.ColourCount != 0 ? Entry.ColourCount
                              : Image.BitCount < 31    ? Int64{1} << Image.BitCount
                                                       : Int64{1} << 31;
  IOParams.FreeColorMap();
  if (PaletteLength <= 256) ReadPalette(Stream, IOParams, Image, static_cast<Integer>(PaletteLength));
  SetCommonParams(IOParams, Header, Image.Width, Image.Height);
  if (Preview) return;

  // Two palette entries make a black-and-white picture only when the rows hold one bit a pixel.
  Image.Format = PaletteLength == 2 && Image.BitCount == 1 ? ie1g : ie24RGB;
  Image.Background = IOParams.CurBackground;
  Decode(Stream, Bitmap, Image, Progress, AlphaMask, IgnoreAlpha);
}

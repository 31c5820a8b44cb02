// The raw bitmap stream: "TIEBITMAPRAW", version, palette, size, format, display settings,
// the rows top first exactly as the bitmap stores them, then the optional alpha channel. Every
// field is written and read one by one in little-endian order.
#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iestreams.h"
#include "platform/system/Exceptions.h"
#include "platform/system/Streams.h"

namespace {

constexpr char RawSignature[12] = {'T', 'I', 'E', 'B', 'I', 'T', 'M', 'A', 'P', 'R', 'A', 'W'};
// An 8-bit index reaches no further.
constexpr Integer LargestPalette = 256;
// Beyond any row alignment in use; a larger claim is a damaged stream.
constexpr Integer LargestBitAlignment = 4096;

// Where SaveRawToStream puts its bytes: the caller's memory (room provided by the caller) or a
// stream at its position.
class TRawSink {
 public:
  TRawSink(void* Buffer, TStream* Stream) : FBuffer(static_cast<Byte*>(Buffer)), FStream(Stream) {}

  void Bytes(const void* Data, Integer Count) {
    if (FBuffer) {
      std::memcpy(FBuffer, Data, static_cast<size_t>(Count));
      FBuffer += Count;
    } else {
      FStream->WriteBuffer(Data, Count);
    }
  }
  void Int8(Byte Value) { Bytes(&Value, 1); }
  void Int32(Integer Value) {
    Byte Field[4];
    IEStoreLE32(Field, static_cast<Cardinal>(Value));
    Bytes(Field, 4);
  }
  void Float64(Double Value) {
    Byte Field[8];
    IEStoreLE64(Field, std::bit_cast<UInt64>(Value));
    Bytes(Field, 8);
  }
  // Sizes a stream once for Count more bytes so that a large picture does not grow it row by
  // row; the position stays. A stream that cannot grow here grows while it is written.
  void Reserve(Int64 Count) {
    if (FBuffer) return;
    const Int64 Position = FStream->GetPosition();
    if (Position + Count <= FStream->GetSize()) return;
    try {
      FStream->SetSize(Position + Count);
    } catch (const Exception&) {
    }
    FStream->SetPosition(Position);
  }

 private:
  Byte* FBuffer;
  TStream* FStream;
};

// Where LoadRawFromStream takes its bytes from. A stream is read no further than its size; the
// caller's memory has no stated size and is taken as holding the whole picture.
class TRawSource {
 public:
  TRawSource(const void* Buffer, TStream* Stream)
      : FBuffer(static_cast<const Byte*>(Buffer)), FStream(Stream) {
    FRemaining = FBuffer ? std::numeric_limits<Int64>::max() : FStream->GetSize() - FStream->GetPosition();
  }

  bool Holds(Int64 Count) const { return Count <= FRemaining; }
  bool Bytes(void* Out, Integer Count) {
    FRemaining -= Count;
    if (!FBuffer) return FStream->Read(Out, Count) == Count;
    std::memcpy(Out, FBuffer, static_cast<size_t>(Count));
    FBuffer += Count;
    return true;
  }
  bool Int8(Byte& Value) { return Bytes(&Value, 1); }
  bool Flag(bool& Value) {
    Byte Field;
    if (!Int8(Field)) return false;
    Value = Field != 0;
    return true;
  }
  bool Int32(Integer& Value) {
    Byte Field[4];
    if (!Bytes(Field, 4)) return false;
    Value = static_cast<Integer>(IELoadLE32(Field));
    return true;
  }
  bool Float64(Double& Value) {
    Byte Field[8];
    if (!Bytes(Field, 8)) return false;
    Value = std::bit_cast<Double>(IELoadLE64(Field));
    return true;
  }

 private:
  const Byte* FBuffer;
  TStream* FStream;
  Int64 FRemaining;
};

// Everything before the rows.
struct TRawHeader {
  std::vector<TIERGBTriple> Palette;
  Integer Width = 0;
  Integer Height = 0;
  Byte PixelFormat = ieNull;
  bool Full = false;
  Integer PaletteUsed = 0;
  Double RangeMin = 0;
  Double RangeMax = 0;
  Integer ChannelOffset[4] = {};
  bool AdjustColors = false;
  Integer Contrast = 0;
  Integer BitAlignment = 0;
};

bool ReadPalette(TRawSource& In, std::vector<TIERGBTriple>& Palette) {
  Integer Count = 0;
  if (!In.Int32(Count) || Count < 0 || Count > LargestPalette) return false;
  Palette.resize(static_cast<size_t>(Count));
  for (TIERGBTriple& Entry : Palette)
    if (!In.Int8(Entry.rgbtBlue) || !In.Int8(Entry.rgbtGreen) || !In.Int8(Entry.rgbtRed)) return false;
  return true;
}

// Reads and checks the header; false for a stream that is not a raw bitmap or that describes
// no picture this library can hold.
bool ReadRawHeader(TRawSource& In, TRawHeader& H) {
  char Signature[sizeof(RawSignature)];
  Integer Version = 0;
  if (!In.Bytes(Signature, sizeof(Signature)) || std::memcmp(Signature, RawSignature, sizeof(Signature)) != 0)
    return false;
  if (!In.Int32(Version) || Version < 0) return false;
  if (!ReadPalette(In, H.Palette)) return false;
  bool Read = In.Int32(H.Width) && In.Int32(H.Height) && In.Int8(H.PixelFormat) && In.Flag(H.Full) &&
              In.Int32(H.PaletteUsed) && In.Float64(H.RangeMin) && In.Float64(H.RangeMax);
  for (Integer& Offset : H.ChannelOffset) Read = Read && In.Int32(Offset);
  Read = Read && In.Flag(H.AdjustColors) && In.Int32(H.Contrast) && In.Int32(H.BitAlignment);
  return Read && H.Width >= 1 && H.Height >= 1 && H.PixelFormat != ieNull &&
         H.PixelFormat < IEPixelFormatCount && H.PaletteUsed >= 0 && H.PaletteUsed <= LargestPalette &&
         H.BitAlignment >= 8 && H.BitAlignment <= LargestBitAlignment && H.BitAlignment % 8 == 0;
}

// The writer's row length, or 0 when a row would not fit the 32-bit field.
Integer StoredRowLen(const TRawHeader& H) {
  const Int64 RowLen = IEBitmapRowLen(H.Width, IEBitsPerPixel[H.PixelFormat], H.BitAlignment);
  return RowLen <= std::numeric_limits<Integer>::max() ? static_cast<Integer>(RowLen) : 0;
}

// How the rows of a file-backed bitmap are mapped while they are streamed: rows written
// whole need not be read from the file first, rows only read need not be written back.
class TRowAccessScope {
 public:
  TRowAccessScope(TIEBitmap* Bitmap, Byte Access) : FBitmap(Bitmap), FOld(Bitmap->GetAccess()) {
    Bitmap->SetAccess(Access);
  }
  ~TRowAccessScope() { FBitmap->SetAccess(FOld); }
  TRowAccessScope(const TRowAccessScope&) = delete;
  TRowAccessScope& operator=(const TRowAccessScope&) = delete;

 private:
  TIEBitmap* FBitmap;
  Byte FOld;
};

// Rows Y = 0 .. Height - 1 of Bitmap, RowLen bytes each, from In.
bool ReadRows(TRawSource& In, TIEBitmap* Bitmap, Integer RowLen, Integer Height) {
  TRowAccessScope WriteOnly(Bitmap, iedWrite);
  for (Integer Y = 0; Y < Height; ++Y)
    if (!In.Bytes(Bitmap->GetScanline(Y), RowLen)) return false;
  return true;
}

void WriteRows(TRawSink& Out, TIEBitmap* Bitmap) {
  const Integer RowLen = Bitmap->GetRowLen();
  const Integer Height = Bitmap->GetHeight();
  Out.Reserve(static_cast<Int64>(RowLen) * Height);
  TRowAccessScope ReadOnly(Bitmap, iedRead);
  for (Integer Y = 0; Y < Height; ++Y) Out.Bytes(Bitmap->GetScanline(Y), RowLen);
}

}  // namespace

void TIEBitmap::SaveRawToStream(void* Buffer, TStream* Stream) {
  TRawSink Out(Buffer, Stream);
  Out.Bytes(RawSignature, sizeof(RawSignature));
  Out.Int32(0);
  const Integer PaletteLen = GetPaletteLen();
  Out.Int32(PaletteLen);
  for (Integer I = 0; I < PaletteLen; ++I) {
    const TIERGBTriple& Entry = GetPaletteBuffer()[I];
    Out.Int8(Entry.rgbtBlue);
    Out.Int8(Entry.rgbtGreen);
    Out.Int8(Entry.rgbtRed);
  }
  Out.Int32(GetWidth());
  Out.Int32(GetHeight());
  Out.Int8(GetPixelFormat());
  Out.Int8(GetFull());
  Out.Int32(GetPaletteUsed());
  Out.Float64(GetRangeMin());
  Out.Float64(GetRangeMax());
  for (Integer I = 0; I < 4; ++I) Out.Int32(GetChannelOffset(I));
  Out.Int8(GetAdjustColors());
  Out.Int32(GetContrast());
  Out.Int32(GetBitAlignment());
  WriteRows(Out, this);
  Out.Int8(HasAlphaChannel());
  if (!HasAlphaChannel()) return;
  WriteRows(Out, FAlphaChannel.get());
  Out.Int8(FAlphaChannel->GetFull());
}

bool TIEBitmap::LoadRawFromStream(const void* Buffer, TStream* Stream) {
  TRawSource In(Buffer, Stream);
  TRawHeader H;
  if (!ReadRawHeader(In, H)) return false;
  const Integer RowLen = StoredRowLen(H);
  // The rows and the alpha flag must be there before anything is allocated.
  if (RowLen == 0 || !In.Holds(static_cast<Int64>(RowLen) * H.Height + 1)) return false;

  SetBitAlignment(H.BitAlignment);
  // The alignment applies only to a bitmap in memory; rows of another length cannot be read.
  const TIEPixelFormat Format = static_cast<TIEPixelFormat>(H.PixelFormat);
  if (IEBitmapRowLen(H.Width, IEBitsPerPixel[Format], GetBitAlignment()) != RowLen) return false;
  if (!Allocate(H.Width, H.Height, Format) || GetPixelFormat() != Format || GetWidth() != H.Width ||
      GetHeight() != H.Height || GetRowLen() != RowLen) {
    FreeImage(true);
    return false;
  }

  const size_t Entries = std::min<size_t>(H.Palette.size(), static_cast<size_t>(GetPaletteLen()));
  std::copy_n(H.Palette.begin(), Entries, GetPaletteBuffer());
  if (Entries > 0) UpdateTBitmapPalette();
  SetPaletteUsed(H.PaletteUsed);
  SetRangeMin(H.RangeMin);
  SetRangeMax(H.RangeMax);
  for (Integer I = 0; I < 4; ++I) SetChannelOffset(I, H.ChannelOffset[I]);
  SetAdjustColors(H.AdjustColors);
  SetContrast(H.Contrast);

  // A picture that ends early is not handed out half read.
  bool HasAlpha = false;
  bool Loaded = ReadRows(In, this, RowLen, H.Height) && In.Flag(HasAlpha);
  if (Loaded && HasAlpha) {
    // The alpha rows and their flag must be there before the alpha channel is made.
    const Int64 AlphaRowLen = IEBitmapRowLen(H.Width, IEBitsPerPixel[ie8g], 32);
    TIEBitmap* Alpha = In.Holds(AlphaRowLen * H.Height + 1) ? GetAlphaChannel() : nullptr;
    bool AlphaFull = false;
    Loaded = Alpha && Alpha->GetWidth() == H.Width && Alpha->GetHeight() == H.Height &&
             Alpha->GetRowLen() == AlphaRowLen && ReadRows(In, Alpha, Alpha->GetRowLen(), H.Height) &&
             In.Flag(AlphaFull);
    if (Loaded) Alpha->SetFull(AlphaFull);
  } else if (Loaded) {
    RemoveAlphaChannel(false, clWhite);
  }
  if (!Loaded) {
    FreeImage(true);
    return false;
  }
  SetFull(H.Full);
  return true;
}

#include "platform/classes/BmpFile.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/gdi/Dib.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/system/Exceptions.h"
#include "platform/system/ScopeExit.h"

namespace {

constexpr Integer FileHeaderSize = 14;
constexpr Integer CoreHeaderSize = 12;
constexpr Integer InfoHeaderSize = 40;
constexpr Integer MaxHeaderSize = 124;       // BITMAPV5HEADER
constexpr Int64 MaxImageBytes = 0x7FFFFFFF;  // what a DIB section can hold

[[noreturn]] void InvalidBitmap() {
  throw EInvalidGraphic(SInvalidBitmap);
}

Word GetWord(const Byte* P) {
  return static_cast<Word>(P[0] | (P[1] << 8));
}
DWORD GetDWord(const Byte* P) {
  return static_cast<DWORD>(P[0]) | (static_cast<DWORD>(P[1]) << 8) | (static_cast<DWORD>(P[2]) << 16) |
         (static_cast<DWORD>(P[3]) << 24);
}
void PutWord(Byte* P, Word V) {
  P[0] = static_cast<Byte>(V);
  P[1] = static_cast<Byte>(V >> 8);
}
void PutDWord(Byte* P, DWORD V) {
  for (Integer I = 0; I < 4; ++I) P[I] = static_cast<Byte>(V >> (8 * I));
}

// Reads exactly Count bytes; a short read is a truncated file.
void ReadExact(TStream* Stream, void* Buffer, Int64 Count) {
  Byte* P = static_cast<Byte*>(Buffer);
  while (Count > 0) {
    const Integer Chunk = static_cast<Integer>(std::min<Int64>(Count, 0x40000000));
    if (Stream->Read(P, Chunk) != Chunk) InvalidBitmap();
    P += Chunk;
    Count -= Chunk;
  }
}

struct TBmpInfo {
  Integer Width = 0;
  Integer Height = 0;  // signed as in the file
  Integer BitCount = 0;
  DWORD Compression = BI_RGB;
  DWORD SizeImage = 0;
  LONG XPels = 0, YPels = 0;
  DWORD ClrUsed = 0, ClrImportant = 0;
  DWORD Masks[3] = {0, 0, 0};
  bool Core = false;
};

// ---- Run-length decoding into a bottom-up DIB (file row y is memory row y) ----

class TRleDecoder {
 public:
  TRleDecoder(const std::vector<Byte>& In, Byte* Bits, Integer Width, Integer Height, Integer BitCount)
      : FIn(In),
        FBits(Bits),
        FWidth(Width),
        FHeight(Height),
        FFour(BitCount == 4),
        FRowBytes(DibRowBytes64(Width, BitCount)) {}

  void Run() {
    Integer X = 0, Y = 0;
    std::size_t P = 0;
    const std::size_t N = FIn.size();
    while (Y < FHeight) {
      if (P + 2 > N) return;  // no end-of-bitmap marker: what was decoded stays
      const Byte Count = FIn[P], Value = FIn[P + 1];
      P += 2;
      if (Count > 0) {
        for (Integer I = 0; I < Count && X + I < FWidth; ++I)
          Put(X + I, Y, FFour ? ((I & 1) ? (Value & 0x0F) : (Value >> 4)) : Value);
        X = std::min(X + Count, FWidth);
        continue;
      }
      switch (Value) {
        case 0:  // end of line
          X = 0;
          ++Y;
          break;
        case 1:  // end of bitmap
          return;
        case 2:  // delta
          if (P + 2 > N) InvalidBitmap();
          X = std::min(X + FIn[P], FWidth);
          Y += FIn[P + 1];
          P += 2;
          break;
        default: {  // absolute run, padded to a word
          const std::size_t Bytes = FFour ? (Value + 1u) / 2u : Value;
          if (P + Bytes > N) InvalidBitmap();
          for (Integer I = 0; I < Value && X + I < FWidth; ++I) {
            const Byte B = FIn[P + (FFour ? I / 2 : I)];
            Put(X + I, Y, FFour ? ((I & 1) ? (B & 0x0F) : (B >> 4)) : B);
          }
          X = std::min(X + Value, FWidth);
          P += (Bytes + 1) & ~std::size_t{1};
          break;
        }
      }
    }
  }

 private:
  // Callers keep X inside the row; pixels run past its end are dropped, and so are rows a
  // delta moves beyond the bitmap.
  void Put(Integer X, Integer Y, Integer V) {
    if (Y >= FHeight) return;
    Byte* Row = FBits + static_cast<std::size_t>(Y) * static_cast<std::size_t>(FRowBytes);
    if (!FFour) {
      Row[X] = static_cast<Byte>(V);
    } else {
      Byte& B = Row[X >> 1];
      B = (X & 1) ? static_cast<Byte>((B & 0xF0) | V) : static_cast<Byte>((B & 0x0F) | (V << 4));
    }
  }

  const std::vector<Byte>& FIn;
  Byte* FBits;
  Integer FWidth, FHeight;
  bool FFour;
  Int64 FRowBytes;
};

// Reads the header after its size field; Size is the whole header's size.
TBmpInfo ReadHeader(TStream* Stream, DWORD Size) {
  TBmpInfo Info;
  Byte H[MaxHeaderSize] = {};
  ReadExact(Stream, H + 4, static_cast<Int64>(Size) - 4);
  if (Size == CoreHeaderSize) {
    Info.Core = true;
    Info.Width = GetWord(H + 4);
    Info.Height = GetWord(H + 6);
    Info.BitCount = GetWord(H + 10);
    return Info;
  }
  Info.Width = static_cast<Integer>(GetDWord(H + 4));
  Info.Height = static_cast<Integer>(GetDWord(H + 8));
  Info.BitCount = GetWord(H + 14);
  Info.Compression = GetDWord(H + 16);
  Info.SizeImage = GetDWord(H + 20);
  Info.XPels = static_cast<LONG>(GetDWord(H + 24));
  Info.YPels = static_cast<LONG>(GetDWord(H + 28));
  Info.ClrUsed = GetDWord(H + 32);
  Info.ClrImportant = GetDWord(H + 36);
  // Headers from 52 bytes on carry the masks themselves; a 40-byte header is followed by them.
  if (Size >= 52 && Info.Compression == BI_BITFIELDS)
    for (Integer I = 0; I < 3; ++I) Info.Masks[I] = GetDWord(H + 40 + 4 * I);
  return Info;
}

void CheckFormat(const TBmpInfo& Info) {
  if (Info.Width <= 0 || Info.Height == 0 || Info.Height == static_cast<Integer>(0x80000000)) InvalidBitmap();
  switch (Info.BitCount) {
    case 1:
    case 4:
    case 8:
    case 24:
      break;
    case 16:
    case 32:
      if (Info.Core) InvalidBitmap();
      break;
    default:
      InvalidBitmap();
  }
  switch (Info.Compression) {
    case BI_RGB:
      break;
    case BI_RLE8:
      if (Info.BitCount != 8 || Info.Height < 0) InvalidBitmap();
      break;
    case BI_RLE4:
      if (Info.BitCount != 4 || Info.Height < 0) InvalidBitmap();
      break;
    case BI_BITFIELDS:
      if (Info.BitCount != 16 && Info.BitCount != 32) InvalidBitmap();
      break;
    default:
      InvalidBitmap();
  }
}

}  // namespace

HBITMAP ReadBmp(TStream* Stream, TBmpHeader HeaderMode) {
  const Int64 Start = Stream->GetPosition();
  const Int64 End = Stream->GetSize();
  if (Start < 0 || End - Start < 4) InvalidBitmap();

  Byte Head[FileHeaderSize];
  ReadExact(Stream, Head, 2);
  const bool HasFileHeader = Head[0] == 'B' && Head[1] == 'M';
  Int64 DataOffset = 0;  // from Start; 0: right after the colour table
  if (HasFileHeader) {
    ReadExact(Stream, Head + 2, FileHeaderSize - 2);
    DataOffset = GetDWord(Head + 10);
  } else if (HeaderMode == TBmpHeader::Required) {
    InvalidBitmap();
  } else {
    Stream->SetPosition(Start);
  }

  Byte SizeBytes[4];
  ReadExact(Stream, SizeBytes, 4);
  const DWORD HeaderSize = GetDWord(SizeBytes);
  if (HeaderSize != CoreHeaderSize && (HeaderSize < InfoHeaderSize || HeaderSize > MaxHeaderSize))
    InvalidBitmap();
  TBmpInfo Info = ReadHeader(Stream, HeaderSize);
  CheckFormat(Info);

  if (Info.Compression == BI_BITFIELDS) {
    if (HeaderSize == InfoHeaderSize) {
      Byte M[12];
      ReadExact(Stream, M, 12);
      for (Integer I = 0; I < 3; ++I) Info.Masks[I] = GetDWord(M + 4 * I);
    }
    if (Info.Masks[0] == 0 || Info.Masks[1] == 0 || Info.Masks[2] == 0) InvalidBitmap();
    if (Info.BitCount == 16 && ((Info.Masks[0] | Info.Masks[1] | Info.Masks[2]) >> 16) != 0) InvalidBitmap();
  }

  // The colour table: 2^n entries unless the header says fewer; bitmaps above 8 bits may carry
  // one that nothing uses.
  const Int64 EntrySize = Info.Core ? 3 : 4;
  const Int64 MaxColors = Info.BitCount <= 8 ? (Int64{1} << Info.BitCount) : 0;
  Int64 TableEntries = Info.ClrUsed != 0 ? Int64{Info.ClrUsed} : MaxColors;
  const Int64 TableStart = Stream->GetPosition() - Start;
  if (DataOffset != 0) {
    if (DataOffset < TableStart || DataOffset > End - Start) InvalidBitmap();
    // A table that runs into the pixels is cut where they start.
    TableEntries = std::min(TableEntries, (DataOffset - TableStart) / EntrySize);
  } else {
    DataOffset = TableStart + TableEntries * EntrySize;
    if (DataOffset > End - Start) InvalidBitmap();
  }
  const Int64 Colors = std::min(TableEntries, MaxColors);
  BITMAPINFO BI;
  if (Colors > 0) {
    std::vector<Byte> Table(static_cast<std::size_t>(Colors * EntrySize));
    ReadExact(Stream, Table.data(), static_cast<Int64>(Table.size()));
    for (Int64 I = 0; I < Colors; ++I) {
      const Byte* E = Table.data() + I * EntrySize;
      BI.bmiColors[I] = RGBQUAD{E[0], E[1], E[2], 0};
    }
  } else if (Info.BitCount <= 8) {
    InvalidBitmap();  // an indexed bitmap without colours
  }

  const Int64 RowBytes = DibRowBytes64(Info.Width, Info.BitCount);
  const Int64 Rows = Info.Height < 0 ? -static_cast<Int64>(Info.Height) : Info.Height;
  if (RowBytes > MaxImageBytes / Rows) InvalidBitmap();  // checked before multiplying
  const Int64 ImageBytes = RowBytes * Rows;
  const bool Rle = Info.Compression == BI_RLE8 || Info.Compression == BI_RLE4;
  Int64 DataBytes = ImageBytes;
  if (Rle) {
    DataBytes = Info.SizeImage != 0 ? Int64{Info.SizeImage} : End - Start - DataOffset;
    if (DataBytes < 2) InvalidBitmap();
  }
  if (DataOffset + DataBytes > End - Start) InvalidBitmap();

  BITMAPINFOHEADER& H = BI.bmiHeader;
  H.biWidth = Info.Width;
  H.biHeight = Info.Height;
  H.biBitCount = static_cast<WORD>(Info.BitCount);
  H.biCompression = Info.Compression == BI_BITFIELDS ? BI_BITFIELDS : BI_RGB;
  H.biXPelsPerMeter = Info.XPels;
  H.biYPelsPerMeter = Info.YPels;
  H.biClrUsed = static_cast<DWORD>(Colors);
  H.biClrImportant = std::min<DWORD>(Info.ClrImportant, static_cast<DWORD>(Colors));
  if (H.biCompression == BI_BITFIELDS) std::memcpy(BI.bmiColors, Info.Masks, sizeof(Info.Masks));

  void* Bits = nullptr;
  HBITMAP Bitmap = CreateDIBSection(nullptr, &BI, DIB_RGB_COLORS, &Bits, nullptr, 0);
  if (Bitmap == nullptr) throw EOutOfResources("Out of system resources");
  auto Undo = ScopeExit([&] { DeleteObject(Bitmap); });
  Stream->SetPosition(Start + DataOffset);
  if (Rle) {
    std::vector<Byte> Packed(static_cast<std::size_t>(DataBytes));
    ReadExact(Stream, Packed.data(), DataBytes);
    TRleDecoder(Packed, static_cast<Byte*>(Bits), Info.Width, Info.Height, Info.BitCount).Run();
  } else {
    ReadExact(Stream, Bits, ImageBytes);
  }
  Undo.Release();
  return Bitmap;
}

void WriteBmp(TStream* Stream, HBITMAP Bitmap) {
  const TSurface& S = Bitmap->Surface;
  const Integer Bpp = S.Bpp;
  const bool Masked =
      (Bpp == 16 && !(S.Masks[0] == 0x7C00 && S.Masks[1] == 0x03E0 && S.Masks[2] == 0x001F)) ||
      (Bpp == 32 && S.Format == TSurfaceFormat::pf32Masks);
  const Integer Colors = Bpp <= 8 ? S.ColorCount : 0;
  const Int64 RowBytes = DibRowBytes(S.Width, Bpp);
  const Int64 ImageBytes = RowBytes * S.Height;
  const Int64 Offset = FileHeaderSize + InfoHeaderSize + (Masked ? 12 : 0) + Int64{Colors} * 4;

  std::vector<Byte> Head(static_cast<std::size_t>(Offset), 0);
  Byte* P = Head.data();
  P[0] = 'B';
  P[1] = 'M';
  PutDWord(P + 2, static_cast<DWORD>(Offset + ImageBytes));
  PutDWord(P + 10, static_cast<DWORD>(Offset));
  P += FileHeaderSize;
  PutDWord(P, InfoHeaderSize);
  PutDWord(P + 4, static_cast<DWORD>(S.Width));
  PutDWord(P + 8, static_cast<DWORD>(S.Height));
  PutWord(P + 12, 1);
  PutWord(P + 14, static_cast<Word>(Bpp));
  PutDWord(P + 16, Masked ? BI_BITFIELDS : BI_RGB);
  PutDWord(P + 20, static_cast<DWORD>(ImageBytes));
  PutDWord(P + 24, static_cast<DWORD>(Bitmap->Header.biXPelsPerMeter));
  PutDWord(P + 28, static_cast<DWORD>(Bitmap->Header.biYPelsPerMeter));
  PutDWord(P + 32, Bpp <= 8 && Colors == (1 << Bpp) ? 0 : static_cast<DWORD>(Colors));
  PutDWord(P + 36, 0);
  P += InfoHeaderSize;
  if (Masked) {
    for (Integer I = 0; I < 3; ++I) PutDWord(P + 4 * I, S.Masks[I]);
    P += 12;
  }
  for (Integer I = 0; I < Colors; ++I, P += 4) {
    P[0] = S.Colors[I].rgbBlue;
    P[1] = S.Colors[I].rgbGreen;
    P[2] = S.Colors[I].rgbRed;
  }
  Stream->WriteBuffer(Head.data(), static_cast<Integer>(Head.size()));

  // Bottom-up storage already is file order; other rows go out last row first.
  if (S.Stride < 0) {
    Stream->WriteBuffer(S.Row(S.Height - 1), static_cast<Integer>(ImageBytes));
  } else {
    for (Integer Y = S.Height - 1; Y >= 0; --Y) Stream->WriteBuffer(S.Row(Y), static_cast<Integer>(RowBytes));
  }
}

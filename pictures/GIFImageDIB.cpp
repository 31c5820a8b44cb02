#include "pictures/GIFImageDIB.h"

#include <cstdlib>
#include <cstring>
#include <limits>

#include "platform/gdi/BitmapInfo.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/system/ErrorMessages.h"
#include "platform/system/LastError.h"
#include "platform/user/GlobalMemory.h"

namespace {
constexpr std::size_t InfoHeaderSize = 40;
constexpr std::size_t FileHeaderSize = 14;

void PutU16(Byte* P, Word V) {
  P[0] = static_cast<Byte>(V);
  P[1] = static_cast<Byte>(V >> 8);
}
void PutU32(Byte* P, DWORD V) {
  PutU16(P, static_cast<Word>(V));
  PutU16(P + 2, static_cast<Word>(V >> 16));
}
Integer GetI32(const Byte* P) {
  return static_cast<Integer>(static_cast<DWORD>(P[0]) | static_cast<DWORD>(P[1]) << 8 |
                              static_cast<DWORD>(P[2]) << 16 | static_cast<DWORD>(P[3]) << 24);
}
Word GetU16(const Byte* P) {
  return static_cast<Word>(P[0] | P[1] << 8);
}
}  // namespace

void RaiseGIFError(const std::string& Message) {
  throw GIFException(Message);
}

Integer CheckGDIResult(Integer Value) {
  if (Value != 0) return Value;
  const DWORD Error = GetLastError();
  if (Error != 0) {
    std::string Text = SysErrorMessage(Error);
    if (!Text.empty()) {
      Text = Text.substr(0, std::min<std::size_t>(Text.find('\0'), 255));
      throw EOutOfResources(Text);
    }
  }
  throw EOutOfResources("Out of system resources");
}

Cardinal AlignedRowBytes(Cardinal Pixels, Cardinal BitsPerPixel, Cardinal Alignment) {
  return ((Pixels * BitsPerPixel + Alignment - 1) & ~(Alignment - 1)) >> 3;
}

Integer BitsForColorCount(Integer Colors) {
  if (Colors <= 0) return 0;
  Integer Bits = 1;
  while (Bits < 31 && (Integer{1} << Bits) < Colors) ++Bits;
  return Bits;
}

void WriteStreamByte(TStream* Stream, Byte Value) {
  Stream->WriteBuffer(&Value, 1);
}

Byte ReadStreamByte(TStream* Stream) {
  Byte Value = 0;
  Stream->Read(&Value, 1);
  return Value;
}

void ReadExact(TStream* Stream, void* Buffer, Integer Count) {
  if (Count <= 0) return;
  if (Stream->Read(Buffer, Count) != Count) RaiseGIFError("Premature end of data");
}

void WriteSubBlockStrings(TStream* Stream, TStrings* Strings) {
  for (Integer I = 0; I < Strings->GetCount(); ++I) {
    const std::string S = Strings->GetStrings(I);
    std::size_t Pos = 0;
    while (Pos < S.size()) {
      const std::size_t N = std::min<std::size_t>(255, S.size() - Pos);
      WriteStreamByte(Stream, static_cast<Byte>(N));
      Stream->WriteBuffer(S.data() + Pos, static_cast<Integer>(N));
      Pos += N;
    }
  }
  WriteStreamByte(Stream, 0);
}

void ReadSubBlockStrings(TStream* Stream, TStrings* Strings) {
  Strings->Clear();
  Byte Size = 0;
  // Every pass consumes at least two bytes, so the loop ends with the stream.
  while (Stream->Read(&Size, 1) == 1 && Size != 0) {
    char Block[256];
    ReadExact(Stream, Block, Size);
    Strings->Add(std::string_view(Block, strnlen(Block, Size)));
  }
}

TPixelFormat BitmapPixelFormat(TBitmap* Bitmap) {
  return Bitmap->GetPixelFormat();
}

void SetBitmapPixelFormat(TBitmap* Bitmap, TPixelFormat Format) {
  Bitmap->SetPixelFormat(Format);
}

TDIBReader::TDIBReader(TBitmap* ABitmap, TPixelFormat APixelFormat) : TDIB(ABitmap, APixelFormat) {
  SetBitmapPixelFormat(DIBBitmap, DIBFormat);
}

void* TDIBReader::RowAddress(Integer Row) {
  return DIBBitmap->GetScanLine(Row);
}

TDIBWriter::TDIBWriter(TBitmap* ABitmap, TPixelFormat APixelFormat, Integer AWidth, Integer AHeight,
                       HPALETTE APalette)
    : TDIB(ABitmap, APixelFormat), DIBWidth(AWidth), DIBHeight(AHeight), DIBPalette(APalette) {
  if (DIBFormat != pf8bit && DIBFormat != pf24bit) RaiseGIFError("Unsupported PixelFormat");
  // A negative width describes no bitmap at all; a negative height is a top-down one.
  if (DIBWidth <= 0 || DIBHeight == 0 || DIBHeight == std::numeric_limits<Integer>::min())
    RaiseGIFError("Invalid image dimensions");
}

TDIBWriter::~TDIBWriter() {
  try {
    StoreToBitmap();
  } catch (...) {
    // A bitmap that cannot take the pixels keeps what it had.
  }
  FreeDIB();
}

void TDIBWriter::EnsureDIB() {
  if (!FDIBBits) AllocateDIB();
}

void TDIBWriter::FreeDIB() {
  delete[] FDIBInfo;
  FDIBInfo = nullptr;
  FDIBInfoSize = 0;
  if (FDIBBits) GlobalFreePtr(FDIBBits);
  FDIBBits = nullptr;
  FDIBBitsSize = 0;
}

void TDIBWriter::AllocateDIB() {
  FreeDIB();
  try {
    const bool Indexed = DIBFormat == pf8bit;
    const Word Bits = Indexed ? 8 : 24;
    FDIBInfoSize = Indexed ? InfoHeaderSize + 256 * 4 : InfoHeaderSize;
    FDIBInfo = new Byte[FDIBInfoSize]();
    Byte* H = FDIBInfo;
    PutU32(H, InfoHeaderSize);
    PutU32(H + 4, static_cast<DWORD>(DIBWidth));
    PutU32(H + 8, static_cast<DWORD>(DIBHeight));
    PutU16(H + 12, 1);
    PutU16(H + 14, Bits);
    PutU32(H + 16, BI_RGB);
    if (Indexed) {
      WORD Entries = 0;
      if (DIBPalette && GetObject(DIBPalette, sizeof(Entries), &Entries) == 0) Entries = 0;
      if (Entries > 256) Entries = 256;
      if (Entries > 0) {
        PALETTEENTRY Pal[256];
        Entries = static_cast<WORD>(GetPaletteEntries(DIBPalette, 0, Entries, Pal));
        Byte* Q = H + InfoHeaderSize;
        for (WORD I = 0; I < Entries; ++I, Q += 4) {
          Q[0] = Pal[I].peBlue;
          Q[1] = Pal[I].peGreen;
          Q[2] = Pal[I].peRed;
          Q[3] = 0;
        }
      }
      PutU32(H + 32, 256);
      PutU32(H + 36, Entries);
    }
    // Sized in 64 bits: a width whose row does not fit 32 bits has no memory to give.
    const std::uint64_t RowBits = static_cast<std::uint64_t>(DIBWidth) * Bits;
    const std::uint64_t Size = ((RowBits + 31) & ~std::uint64_t{31}) / 8 *
                               static_cast<std::uint64_t>(std::abs(static_cast<Int64>(DIBHeight)));
    if (RowBits > std::numeric_limits<Cardinal>::max() ||
        Size >
            static_cast<std::uint64_t>(std::numeric_limits<Integer>::max()) - FDIBInfoSize - FileHeaderSize)
      throw EOutOfMemory("Failed to allocate memory for GIF DIB");
    FDIBBits = static_cast<Byte*>(GlobalAllocPtr(GMEM_MOVEABLE | GMEM_ZEROINIT, Size));
    if (!FDIBBits) throw EOutOfMemory("Failed to allocate memory for GIF DIB");
    FDIBBitsSize = Size;
  } catch (...) {
    FreeDIB();
    throw;
  }
}

void* TDIBWriter::RowAddress(Integer Row) {
  EnsureDIB();
  if (!FDIBBits) RaiseGIFError("Image has no DIB");
  const Integer HeaderHeight = GetI32(FDIBInfo + 8);
  const Integer Rows = HeaderHeight < 0 ? -HeaderHeight : HeaderHeight;
  if (Row < 0 || Row >= Rows) throw EInvalidGraphicOperation("Scan line index out of range");
  const std::size_t Stride =
      AlignedRowBytes(static_cast<Cardinal>(GetI32(FDIBInfo + 4)), GetU16(FDIBInfo + 14), 32);
  const std::size_t Index = HeaderHeight > 0 ? static_cast<std::size_t>(HeaderHeight - 1 - Row) : Row;
  return FDIBBits + Stride * Index;
}

void TDIBWriter::StoreToBitmap() {
  if (!FDIBBits) return;
  const std::size_t Total = FileHeaderSize + FDIBInfoSize + FDIBBitsSize;
  TMemoryStream Stream;
  Stream.SetSize(static_cast<Int64>(Total));
  Byte File[FileHeaderSize] = {};
  PutU16(File, 0x4D42);
  PutU32(File + 2, static_cast<DWORD>(Total));
  PutU32(File + 10, static_cast<DWORD>(FileHeaderSize + FDIBInfoSize));
  Stream.WriteBuffer(File, FileHeaderSize);
  Stream.WriteBuffer(FDIBInfo, static_cast<Integer>(FDIBInfoSize));
  Stream.WriteBuffer(FDIBBits, static_cast<Integer>(FDIBBitsSize));
  Stream.SetPosition(0);
  DIBBitmap->LoadFromStream(&Stream);
}

// The chunk layer of the PNG picture: framing, CRC, the known chunk classes and their registry.
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "pictures/pngimage.h"
#include "pictures/pnglang.h"
#include "platform/classes/Colors.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Dib.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Palettes.h"

namespace {
Cardinal GetBE32(const Byte* P) {
  return Cardinal{P[0]} << 24 | Cardinal{P[1]} << 16 | Cardinal{P[2]} << 8 | P[3];
}
void PutBE32(Byte* P, Cardinal V) {
  P[0] = static_cast<Byte>(V >> 24);
  P[1] = static_cast<Byte>(V >> 16);
  P[2] = static_cast<Byte>(V >> 8);
  P[3] = static_cast<Byte>(V);
}
Word GetBE16(const Byte* P) {
  return static_cast<Word>(P[0] << 8 | P[1]);
}

std::unique_ptr<TPNGPointerList>& ChunkClassRegistry() {
  static std::unique_ptr<TPNGPointerList> Registry;
  return Registry;
}

// A zlib text cannot grow past this: a small chunk must not expand into all of memory.
constexpr std::size_t MaxInflatedText = std::size_t{64} << 20;

long double GammaPower(long double Base, long double Exponent) {
  if (Exponent == 0) return 1;
  if (Base == 0) return 0;
  return std::exp2l(Exponent * std::log2l(Base));
}

bool ValidHeaderFormat(Byte ColorType, Byte BitDepth) {
  switch (ColorType) {
    case 0:
      return BitDepth == 1 || BitDepth == 2 || BitDepth == 4 || BitDepth == 8 || BitDepth == 16;
    case 3:
      return BitDepth == 1 || BitDepth == 2 || BitDepth == 4 || BitDepth == 8;
    case 2:
    case 4:
    case 6:
      return BitDepth == 8 || BitDepth == 16;
    default:
      return false;
  }
}

HPALETTE GreyRampPalette(const TPNGObject* Owner, Integer BitDepth) {
  const Integer Entries = BitDepth >= 8 ? 256 : 1 << BitDepth;
  LOGPALETTE Pal;
  Pal.palNumEntries = static_cast<WORD>(Entries);
  for (Integer I = 0; I < Entries; ++I) {
    const Byte L = Owner->DecodeGamma[static_cast<Integer>(std::nearbyint(I * 255.0 / (Entries - 1)))];
    Pal.palPalEntry[I] = {L, L, L, 0};
  }
  return CreatePalette(&Pal);
}
}  // namespace

// The chunk framing's CRC is the one zlib computes; the register is kept uncomplemented here.
Cardinal Crc32Update(Cardinal Crc, const void* Buffer, std::size_t Length) {
  return ~static_cast<Cardinal>(crc32_z(~Crc & 0xFFFFFFFFu, static_cast<const Bytef*>(Buffer), Length));
}

bool InflateBlock(const Byte* Input, std::size_t InputSize, std::vector<Byte>& Output,
                  std::string& ErrorText) {
  Output.clear();
  z_stream Z{};
  if (inflateInit(&Z) != Z_OK) {
    ErrorText = Z.msg ? Z.msg : "";
    return false;
  }
  Z.next_in = const_cast<Bytef*>(Input);
  Z.avail_in = static_cast<uInt>(std::min<std::size_t>(InputSize, 0xFFFFFFFFu));
  Byte Buffer[256];
  bool Result = true;
  for (;;) {
    Z.next_out = Buffer;
    Z.avail_out = sizeof(Buffer);
    const int R = inflate(&Z, Z_NO_FLUSH);
    if (R < 0 || R == Z_NEED_DICT) {
      ErrorText = Z.msg ? Z.msg : ZlibResultText(R);
      Result = false;
      break;
    }
    Output.insert(Output.end(), Buffer, Buffer + (sizeof(Buffer) - Z.avail_out));
    if (R == Z_STREAM_END) break;
    if (Output.size() > MaxInflatedText) {
      ErrorText = "text too long";
      Result = false;
      break;
    }
  }
  inflateEnd(&Z);
  return Result;
}

bool DeflateBlock(const Byte* Input, std::size_t InputSize, Integer Level, std::string& ErrorText,
                  std::vector<Byte>& Output) {
  Output.clear();
  z_stream Z{};
  if (deflateInit(&Z, Level) != Z_OK) {
    ErrorText = Z.msg ? Z.msg : ZlibResultText(Z_STREAM_ERROR);
    return false;
  }
  Z.next_in = const_cast<Bytef*>(Input);
  Z.avail_in = static_cast<uInt>(InputSize);
  Byte Buffer[256];
  bool Result = true;
  for (;;) {
    Z.next_out = Buffer;
    Z.avail_out = sizeof(Buffer);
    const int R = deflate(&Z, Z_FINISH);
    if (R < 0) {
      ErrorText = Z.msg ? Z.msg : ZlibResultText(R);
      Result = false;
      break;
    }
    Output.insert(Output.end(), Buffer, Buffer + (sizeof(Buffer) - Z.avail_out));
    if (R == Z_STREAM_END) break;
  }
  deflateEnd(&Z);
  return Result;
}

// --- lists and registry ---

void TPNGPointerList::SetCount(Cardinal N) {
  Items.resize(N, nullptr);
}

void TPNGPointerList::Add(void* Item) {
  Items.push_back(Item);
}

void* TPNGPointerList::GetItem(Cardinal Index) const {
  return Index < Items.size() ? Items[Index] : nullptr;
}

void TPNGPointerList::SetItem(Cardinal Index, void* Item) {
  if (Index < Items.size()) Items[Index] = Item;
}

void* TPNGPointerList::Remove(void* Item) {
  for (std::size_t I = Items.size(); I-- > 0;) {
    if (Items[I] == Item) {
      Items.erase(Items.begin() + static_cast<std::ptrdiff_t>(I));
      return Item;
    }
  }
  return nullptr;
}

void RegisterChunkClass(TChunkClass Class) {
  auto& Registry = ChunkClassRegistry();
  if (!Registry) Registry = std::make_unique<TPNGPointerList>(nullptr);
  Registry->Add(const_cast<TChunkClassInfo*>(Class));
}

void RegisterStandardChunks() {
  RegisterChunkClass(ChunkClassOf<TChunkIEND>());
  RegisterChunkClass(ChunkClassOf<TChunkIHDR>());
  RegisterChunkClass(ChunkClassOf<TChunkIDAT>());
  RegisterChunkClass(ChunkClassOf<TChunkPLTE>());
  RegisterChunkClass(ChunkClassOf<TChunkgAMA>());
  RegisterChunkClass(ChunkClassOf<TChunktRNS>());
  RegisterChunkClass(ChunkClassOf<TChunkpHYs>());
  RegisterChunkClass(ChunkClassOf<TChunktIME>());
  RegisterChunkClass(ChunkClassOf<TChunktEXt>());
  RegisterChunkClass(ChunkClassOf<TChunkzTXt>());
}

void FreeChunkClassRegistry() {
  ChunkClassRegistry().reset();
}

TChunk* NewChunkForName(TPNGObject* Owner, const std::string& Name) {
  TChunk* Result = nullptr;
  if (const auto& Registry = ChunkClassRegistry()) {
    for (Cardinal I = 0; I < Registry->GetCount() && !Result; ++I) {
      const auto* Class = static_cast<const TChunkClassInfo*>(Registry->GetItem(I));
      if (Name == Class->Name) Result = Class->Create(Owner);
    }
  }
  if (!Result) Result = new TChunk(Owner);
  Result->SetName(Name);
  return Result;
}

// --- TChunk ---

TChunk::TChunk(TPNGObject* AOwner, const char* AName) : Owner(AOwner) {
  if (std::strlen(AName) == 4) std::memcpy(ChunkName, AName, 4);
}

void TChunk::SetName(const std::string& Name) {
  std::memset(ChunkName, 0, 4);
  std::memcpy(ChunkName, Name.data(), std::min<std::size_t>(4, Name.size()));
}

void TChunk::SetDataSize(Cardinal N) {
  Data.resize(static_cast<std::size_t>(N) + 1);
  Data[N] = 0;
  DataSize = N;
}

TChunkIHDR* TChunk::OwnerHeader() const {
  auto* Header = dynamic_cast<TChunkIHDR*>(Owner->ChunkList->Item(0));
  if (!Header) throw EInvalidCast("Invalid class typecast");
  return Header;
}

void TChunk::Assign(TChunk* Source) {
  std::memcpy(ChunkName, Source->ChunkName, 4);
  SetDataSize(Source->DataSize);
  std::memcpy(Data.data(), Source->Data.data(), DataSize);
}

bool TChunk::LoadFromStream(TStream* Stream, const std::string& Name, Cardinal Size) {
  // The block grows with the bytes that arrive, never to a size a broken length claims.
  constexpr Cardinal Step = 1 << 20;
  Cardinal Got = 0;
  SetDataSize(0);
  while (Got < Size) {
    const Cardinal Want = std::min(Step, Size - Got);
    SetDataSize(Got + Want);
    const Integer N = Stream->Read(Data.data() + Got, static_cast<Integer>(Want));
    if (N > 0) Got += static_cast<Cardinal>(N);
    if (N != static_cast<Integer>(Want)) break;
  }
  SetDataSize(Got);
  Byte Stored[4] = {};
  const Integer CrcRead = Stream->Read(Stored, 4);
  Cardinal Crc = Crc32Update(0xFFFFFFFF, Name.data(), std::min<std::size_t>(4, Name.size()));
  Crc = ~Crc32Update(Crc, Data.data(), Got);
  if (Got != Size || CrcRead != 4 || Crc != GetBE32(Stored))
    RaisePngError<EPngInvalidCRC>(EPngInvalidCRCText);
  return true;
}

bool TChunk::WriteFramed(TStream* Stream) {
  Byte Head[8];
  PutBE32(Head, DataSize);
  std::memcpy(Head + 4, ChunkName, 4);
  Stream->WriteBuffer(Head, 8);
  if (DataSize > 0) Stream->WriteBuffer(Data.data(), static_cast<Integer>(DataSize));
  Byte Tail[4];
  PutBE32(Tail, ~Crc32Update(Crc32Update(0xFFFFFFFF, ChunkName, 4), Data.data(), DataSize));
  Stream->WriteBuffer(Tail, 4);
  return true;
}

bool TChunk::SaveToStream(TStream* Stream) {
  return WriteFramed(Stream);
}

// --- IHDR ---

TChunkIHDR::TChunkIHDR(TPNGObject* AOwner) : TChunk(AOwner, ClassChunkName) {}

TChunkIHDR::~TChunkIHDR() {
  FreeDib();
}

void TChunkIHDR::FreeDib() {
  if (DibDC) {
    if (Owner && Owner->ImageCanvas && Owner->ImageCanvas->HandleAllocated() &&
        Owner->ImageCanvas->GetHandle() == DibDC)
      Owner->ImageCanvas->SetHandle(nullptr);
    DeleteDC(DibDC);
  }
  if (DibHandle) DeleteObject(DibHandle);
  if (DibPalette) DeleteObject(DibPalette);
  AlphaPlane.clear();
  AlphaPlane.shrink_to_fit();
  LowBytes.clear();
  LowBytes.shrink_to_fit();
  DibDC = nullptr;
  DibHandle = nullptr;
  DibPalette = nullptr;
  Bits = nullptr;
}

void TChunkIHDR::LoadColorTable(HPALETTE Palette) {
  PALETTEENTRY Entries[256];
  const UINT Count = Palette ? GetPaletteEntries(Palette, 0, 256, Entries) : 0;
  DibInfo.bmiHeader.biClrUsed = Count;
  for (UINT I = 0; I < Count; ++I)
    DibInfo.bmiColors[I] = RGBQUAD{Entries[I].peBlue, Entries[I].peGreen, Entries[I].peRed, 0};
}

void TChunkIHDR::BuildDib() {
  DibInfo = BITMAPINFO{};
  FreeDib();
  Integer Bpp = 24;
  PaletteBacked = ColorType == 0 || ColorType == 3 || ColorType == 4;
  if (PaletteBacked) Bpp = BitDepth == 1 ? 1 : BitDepth <= 4 ? 4 : 8;
  BITMAPINFOHEADER& H = DibInfo.bmiHeader;
  H.biSize = 40;
  H.biWidth = static_cast<LONG>(Width);
  H.biHeight = static_cast<LONG>(Height);
  H.biPlanes = 1;
  H.biBitCount = static_cast<WORD>(Bpp);
  H.biCompression = BI_RGB;
  RowStride = static_cast<Integer>((static_cast<Int64>(Bpp) * Width + 31) / 32 * 4);
  const std::size_t Pixels = static_cast<std::size_t>(Width) * Height;
  const std::size_t DibBytes = static_cast<std::size_t>(RowStride) * Height;
  try {
    if (ColorType == 4 || ColorType == 6) AlphaPlane.assign(Pixels, 0);
    if (BitDepth == 16) LowBytes.assign(DibBytes, 0);
  } catch (const std::bad_alloc&) {
    FreeDib();
    RaisePngError<EPNGOutMemory>(EPNGOutMemoryText);
  }
  DibDC = CreateCompatibleDC(nullptr);
  if (!DibDC) RaisePngError<EPNGOutMemory>(EPNGOutMemoryText);
  if (Owner && Owner->ImageCanvas) Owner->ImageCanvas->SetHandle(DibDC);
  if (PaletteBacked) {
    DibPalette = ColorType == 3 ? CreateHalftonePalette(DibDC) : GreyRampPalette(Owner, BitDepth);
    ResizePalette(DibPalette, 1u << Bpp);
    H.biClrUsed = 1u << Bpp;
    SelectPalette(DibDC, DibPalette, FALSE);
    RealizePalette(DibDC);
    LoadColorTable(DibPalette);
  }
  void* SectionBits = nullptr;
  DibHandle = CreateDIBSection(DibDC, &DibInfo, DIB_RGB_COLORS, &SectionBits, nullptr, 0);
  if (!DibHandle || !SectionBits) {
    FreeDib();
    RaisePngError<EPNGOutMemory>(EPNGOutMemoryText);
  }
  Bits = static_cast<Byte*>(SectionBits);
  SelectObject(DibDC, DibHandle);
  std::memset(Bits, 0, DibBytes);
}

bool TChunkIHDR::LoadFromStream(TStream* Stream, const std::string& Name, Cardinal Size) {
  TChunk::LoadFromStream(Stream, Name, Size);
  if (DataSize < 13) RaisePngError<EPngInvalidIHDR>(EPNGInvalidIHDRText);
  Width = GetBE32(Data.data());
  Height = GetBE32(Data.data() + 4);
  BitDepth = Data[8];
  ColorType = Data[9];
  CompressionMethod = Data[10];
  FilterMethod = Data[11];
  InterlaceMethod = Data[12];
  if (Width > 65535 || Height > 65535) RaisePngError<EPNGSizeExceeds>(EPNGSizeExceedsText);
  if (CompressionMethod != 0) RaisePngError<EPNGUnknownCompression>(EPNGUnknownCompressionText);
  if (InterlaceMethod > 1) RaisePngError<EPNGUnknownInterlace>(EPNGUnknownInterlaceText);
  // No pixel storage exists for other formats, and an empty image has no rows to decode.
  if (Width == 0 || Height == 0 || !ValidHeaderFormat(ColorType, BitDepth))
    RaisePngError<EPngInvalidIHDR>(EPNGInvalidIHDRText);
  // Deflate shrinks at most about 1032 to 1: a stream that cannot hold a tenth of a percent of
  // the image is not one, and its pixel storage is not made.
  const Int64 Position = Stream->GetPosition();
  const Int64 StreamSize = Stream->GetSize();
  if (Position >= 0 && StreamSize >= Position) {
    const Int64 RawBytes =
        static_cast<Int64>(RowBytesFor(static_cast<Integer>(Width), ColorType, BitDepth) + 1) *
        static_cast<Int64>(Height);
    if ((StreamSize - Position) * 1032 + 65536 < RawBytes)
      RaisePngError<EPngUnexpectedEnd>(EPNGUnexpectedEndText);
  }
  Owner->InterlaceKind = InterlaceMethod;
  BuildDib();
  return true;
}

bool TChunkIHDR::SaveToStream(TStream* Stream) {
  if (BitDepth == 2) {
    BitDepth = 4;
    // The grey key follows its samples to the 4-bit levels they are written at.
    auto* Trns = Owner->ChunkList->FindByClass<TChunktRNS>();
    if (Trns && ColorType == 0 && Trns->GetDataSize() >= 2) {
      Trns->Alpha[0] = 0;
      Trns->Alpha[1] = static_cast<Byte>((Trns->Alpha[1] & 3) * 5);
    }
  }
  SetDataSize(13);
  PutBE32(Data.data(), Width);
  PutBE32(Data.data() + 4, Height);
  Data[8] = BitDepth;
  Data[9] = ColorType;
  Data[10] = CompressionMethod;
  Data[11] = FilterMethod;
  Data[12] = Owner->InterlaceKind;
  return WriteFramed(Stream);
}

void TChunkIHDR::Assign(TChunk* Source) {
  auto* S = dynamic_cast<TChunkIHDR*>(Source);
  if (!S) RaisePngError<EPngError>(EPNGCannotAssignChunkText);
  Width = S->Width;
  Height = S->Height;
  BitDepth = S->BitDepth;
  ColorType = S->ColorType;
  CompressionMethod = S->CompressionMethod;
  FilterMethod = S->FilterMethod;
  InterlaceMethod = S->InterlaceMethod;
  BuildDib();
  if (S->Bits) std::memcpy(Bits, S->Bits, static_cast<std::size_t>(RowStride) * Height);
  if (!AlphaPlane.empty() && S->AlphaPlane.size() == AlphaPlane.size())
    std::memcpy(AlphaPlane.data(), S->AlphaPlane.data(), AlphaPlane.size());
  std::memcpy(DibInfo.bmiColors, S->DibInfo.bmiColors, sizeof(DibInfo.bmiColors));
  if (DibPalette && S->DibPalette) {
    PALETTEENTRY Entries[256];
    WORD Count = 0;
    GetObject(S->DibPalette, sizeof(Count), &Count);
    Count = std::min<WORD>(Count, 256);
    ResizePalette(DibPalette, Count);
    GetPaletteEntries(S->DibPalette, 0, Count, Entries);
    SetPaletteEntries(DibPalette, 0, Count, Entries);
  }
  // The section keeps its colours in step with the table the picture draws from.
  if (PaletteBacked) SetDIBColorTable(DibDC, 0, 256, DibInfo.bmiColors);
}

// --- pHYs ---

void TChunkpHYs::Assign(TChunk* Source) {
  TChunk::Assign(Source);
  if (auto* S = dynamic_cast<TChunkpHYs*>(Source)) {
    PixelsPerUnitX = S->PixelsPerUnitX;
    PixelsPerUnitY = S->PixelsPerUnitY;
    UnitSpecifier = S->UnitSpecifier;
  }
}

bool TChunkpHYs::LoadFromStream(TStream* Stream, const std::string& Name, Cardinal Size) {
  TChunk::LoadFromStream(Stream, Name, Size);
  if (DataSize == 9) {
    PixelsPerUnitX = GetBE32(Data.data());
    PixelsPerUnitY = GetBE32(Data.data() + 4);
    UnitSpecifier = Data[8];
  }
  return true;
}

bool TChunkpHYs::SaveToStream(TStream* Stream) {
  SetDataSize(9);
  PutBE32(Data.data(), PixelsPerUnitX);
  PutBE32(Data.data() + 4, PixelsPerUnitY);
  Data[8] = UnitSpecifier;
  return WriteFramed(Stream);
}

// --- gAMA ---

TChunkgAMA::TChunkgAMA(TPNGObject* AOwner) : TChunk(AOwner, ClassChunkName) {
  SetGamma(1);
}

Cardinal TChunkgAMA::GetGamma() {
  if (DataSize == 4) return GetBE32(Data.data());
  SetDataSize(4);
  return 1;
}

void TChunkgAMA::SetGamma(Cardinal Value) {
  if (DataSize != 4) SetDataSize(4);
  PutBE32(Data.data(), Value);
}

void TChunkgAMA::Assign(TChunk* Source) {
  auto* S = dynamic_cast<TChunkgAMA*>(Source);
  if (!S) RaisePngError<EPngError>(EPNGCannotAssignChunkText);
  SetGamma(S->GetGamma());
}

bool TChunkgAMA::LoadFromStream(TStream* Stream, const std::string& Name, Cardinal Size) {
  TChunk::LoadFromStream(Stream, Name, Size);
  const Cardinal G = GetGamma();
  if (G != 0) {
    const long double Exponent = 1.0L / (static_cast<long double>(G) / 100000.0L * 2.2L);
    for (Integer I = 0; I < 256; ++I) {
      const Integer L = static_cast<Integer>(std::nearbyintl(255.0L * GammaPower(I / 255.0L, Exponent)));
      const Byte Level = static_cast<Byte>(std::clamp(L, 0, 255));
      Owner->DecodeGamma[I] = Level;
      Owner->EncodeGamma[Level] = static_cast<Byte>(I);
    }
  }
  return true;
}

// --- PLTE ---

bool TChunkPLTE::LoadFromStream(TStream* Stream, const std::string& Name, Cardinal Size) {
  TChunk::LoadFromStream(Stream, Name, Size);
  if (DataSize % 3 != 0 || DataSize / 3 > 256) RaisePngError<EPNGInvalidPalette>(EPNGInvalidPaletteText);
  EntryCount = static_cast<Integer>(DataSize / 3);
  LOGPALETTE Pal;
  Pal.palNumEntries = static_cast<WORD>(EntryCount);
  for (Integer I = 0; I < EntryCount; ++I)
    Pal.palPalEntry[I] = {Owner->DecodeGamma[Data[I * 3]], Owner->DecodeGamma[Data[I * 3 + 1]],
                          Owner->DecodeGamma[Data[I * 3 + 2]], 0};
  HPALETTE Palette = CreatePalette(&Pal);
  try {
    Owner->SetPalette(Palette);
  } catch (...) {
    DeleteObject(Palette);
    throw;
  }
  DeleteObject(Palette);
  return true;
}

bool TChunkPLTE::SaveToStream(TStream* Stream) {
  TChunkIHDR* Header = OwnerHeader();
  if (EntryCount == 0)
    EntryCount = static_cast<Integer>(std::min<DWORD>(Header->DibInfo.bmiHeader.biClrUsed, 256));
  PALETTEENTRY Entries[256] = {};
  if (Header->DibPalette) GetPaletteEntries(Header->DibPalette, 0, 256, Entries);
  SetDataSize(static_cast<Cardinal>(EntryCount) * 3);
  for (Integer I = 0; I < EntryCount; ++I) {
    Data[I * 3] = Owner->EncodeGamma[Entries[I].peRed];
    Data[I * 3 + 1] = Owner->EncodeGamma[Entries[I].peGreen];
    Data[I * 3 + 2] = Owner->EncodeGamma[Entries[I].peBlue];
  }
  return WriteFramed(Stream);
}

void TChunkPLTE::Assign(TChunk* Source) {
  auto* S = dynamic_cast<TChunkPLTE*>(Source);
  if (!S) RaisePngError<EPngError>(EPNGCannotAssignChunkText);
  EntryCount = S->EntryCount;
}

Cardinal TChunkPLTE::Entry(Integer Index) {
  if (Index < 0 || Index >= EntryCount) RaisePngError<EPngError>(EPNGUnknownPalEntryText);
  const RGBQUAD& Q = OwnerHeader()->DibInfo.bmiColors[Index];
  return Cardinal{Q.rgbBlue} | Cardinal{Q.rgbGreen} << 8 | Cardinal{Q.rgbRed} << 16;
}

// --- tRNS ---

bool TChunktRNS::LoadFromStream(TStream* Stream, const std::string& Name, Cardinal Size) {
  TChunk::LoadFromStream(Stream, Name, Size);
  if (DataSize > 256) RaisePngError<EPNGInvalidPalette>(EPNGInvalidPaletteText);
  Alpha.fill(255);
  std::memcpy(Alpha.data(), Data.data(), DataSize);
  switch (OwnerHeader()->ColorType) {
    case 0:
    case 2:
      KeyedOnly = true;
      break;
    case 3:
      KeyedOnly =
          std::count_if(Alpha.begin(), Alpha.begin() + DataSize, [](Byte A) { return A != 255; }) == 1;
      break;
    default:
      break;
  }
  return true;
}

bool TChunktRNS::SaveToStream(TStream* Stream) {
  if (DataSize <= 256) std::memcpy(Data.data(), Alpha.data(), DataSize);
  return WriteFramed(Stream);
}

void TChunktRNS::Assign(TChunk* Source) {
  if (auto* S = dynamic_cast<TChunktRNS*>(Source)) {
    Alpha = S->Alpha;
    KeyedOnly = S->KeyedOnly;
  }
  TChunk::Assign(Source);
}

void TChunktRNS::SetKeyColor(TColor Color) {
  Alpha.fill(0);
  KeyedOnly = true;
  TChunkIHDR* Header = OwnerHeader();
  const COLORREF C = static_cast<COLORREF>(Color);
  switch (Header->ColorType) {
    case 0:
      SetDataSize(2);
      Alpha[1] = GetRValue(C);
      break;
    case 2:
      SetDataSize(6);
      Alpha[1] = GetRValue(C);
      Alpha[3] = GetGValue(C);
      Alpha[5] = GetBValue(C);
      break;
    case 3: {
      const DWORD Used = std::min<DWORD>(Header->DibInfo.bmiHeader.biClrUsed, 256);
      DWORD Found = Used;
      for (DWORD I = 0; I < Used; ++I) {
        const RGBQUAD& Q = Header->DibInfo.bmiColors[I];
        if (Q.rgbRed == GetRValue(C) && Q.rgbGreen == GetGValue(C) && Q.rgbBlue == GetBValue(C)) {
          Found = I;
          break;
        }
      }
      // A colour the table lacks keys its nearest entry rather than one past the table.
      if (Found >= Used && Header->DibPalette) {
        const UINT Nearest = GetNearestPaletteIndex(Header->DibPalette, C & 0xFFFFFF);
        Found = Nearest < Used ? Nearest : 0;
      }
      if (Used == 0) {
        SetDataSize(0);
        break;
      }
      for (DWORD I = 0; I < Found; ++I) Alpha[I] = 255;
      SetDataSize(Found + 1);
      break;
    }
    default:
      break;
  }
  std::memcpy(Data.data(), Alpha.data(), std::min<Cardinal>(DataSize, 256));
}

TColor TChunktRNS::GetKeyColor() {
  TChunkIHDR* Header = OwnerHeader();
  switch (Header->ColorType) {
    case 0: {
      // A 16-bit image shows its high bytes, so its key is matched on those.
      Integer Level = Header->BitDepth == 16 ? Alpha[0] : Alpha[1];
      if (Header->BitDepth == 2) Level = (Level & 3) * 5;
      const Byte Red = Header->DibInfo.bmiColors[Level & 0xFF].rgbRed;
      return static_cast<TColor>(RGB(Red, Red, Red));
    }
    case 2: {
      const Integer Hi = Header->BitDepth == 16 ? 0 : 1;
      return static_cast<TColor>(RGB(Owner->DecodeGamma[Alpha[Hi]], Owner->DecodeGamma[Alpha[2 + Hi]],
                                     Owner->DecodeGamma[Alpha[4 + Hi]]));
    }
    case 3: {
      auto* Plte = Owner->ChunkList->FindByClass<TChunkPLTE>();
      for (Cardinal I = 0; I < DataSize && I < 256; ++I) {
        if (Alpha[I] == 0) {
          if (!Plte) return 0;
          const Cardinal E = Plte->Entry(static_cast<Integer>(I));
          return static_cast<TColor>(RGB(E >> 16 & 0xFF, E >> 8 & 0xFF, E & 0xFF));
        }
      }
      return 0;
    }
    default:
      return 0;
  }
}

// --- tIME ---

void TChunktIME::Assign(TChunk* Source) {
  TChunk::Assign(Source);
  if (auto* S = dynamic_cast<TChunktIME*>(Source)) {
    Year = S->Year;
    Month = S->Month;
    Day = S->Day;
    Hour = S->Hour;
    Minute = S->Minute;
    Second = S->Second;
  }
}

bool TChunktIME::LoadFromStream(TStream* Stream, const std::string& Name, Cardinal Size) {
  TChunk::LoadFromStream(Stream, Name, Size);
  if (DataSize == 7) {
    Year = GetBE16(Data.data());
    Month = Data[2];
    Day = Data[3];
    Hour = Data[4];
    Minute = Data[5];
    Second = Data[6];
  }
  return true;
}

bool TChunktIME::SaveToStream(TStream* Stream) {
  SetDataSize(7);
  Data[0] = static_cast<Byte>(Year >> 8);
  Data[1] = static_cast<Byte>(Year);
  Data[2] = Month;
  Data[3] = Day;
  Data[4] = Hour;
  Data[5] = Minute;
  Data[6] = Second;
  return WriteFramed(Stream);
}

// --- tEXt, zTXt ---

void TChunktEXt::Assign(TChunk* Source) {
  TChunk::Assign(Source);
  if (auto* S = dynamic_cast<TChunktEXt*>(Source)) {
    Keyword = S->Keyword;
    Text = S->Text;
  }
}

bool TChunktEXt::LoadFromStream(TStream* Stream, const std::string& Name, Cardinal Size) {
  TChunk::LoadFromStream(Stream, Name, Size);
  if (DataSize >= 3) {
    const char* P = reinterpret_cast<const char*>(Data.data());
    const std::size_t Zero = std::find(P, P + DataSize, '\0') - P;
    Keyword.assign(P, Zero);
    Text = Zero < DataSize ? std::string(P + Zero + 1, DataSize - Zero - 1) : std::string();
  }
  return true;
}

bool TChunktEXt::SaveToStream(TStream* Stream) {
  SetDataSize(static_cast<Cardinal>(Keyword.size() + Text.size() + 1));
  std::memcpy(Data.data(), Keyword.data(), Keyword.size());
  Data[Keyword.size()] = 0;
  std::memcpy(Data.data() + Keyword.size() + 1, Text.data(), Text.size());
  return WriteFramed(Stream);
}

bool TChunkzTXt::LoadFromStream(TStream* Stream, const std::string& Name, Cardinal Size) {
  TChunktEXt::LoadFromStream(Stream, Name, Size);
  if (DataSize >= 4) {
    const char* P = reinterpret_cast<const char*>(Data.data());
    const std::size_t Zero = std::find(P, P + DataSize, '\0') - P;
    Keyword.assign(P, Zero);
    Text.clear();
    if (Zero + 1 < DataSize && Data[Zero + 1] == 0) {
      std::vector<Byte> Out;
      std::string Error;
      if (InflateBlock(Data.data() + Zero + 2, DataSize - Zero - 2, Out, Error))
        Text.assign(Out.begin(), Out.end());
    }
  }
  return true;
}

bool TChunkzTXt::SaveToStream(TStream* Stream) {
  if (Text.empty()) Text = " ";
  std::vector<Byte> Packed;
  std::string Error;
  if (!DeflateBlock(reinterpret_cast<const Byte*>(Text.data()), Text.size(), Owner->DeflateLevel, Error,
                    Packed))
    return false;
  SetDataSize(static_cast<Cardinal>(Keyword.size() + 2 + Packed.size()));
  std::memcpy(Data.data(), Keyword.data(), Keyword.size());
  Data[Keyword.size()] = 0;
  Data[Keyword.size() + 1] = 0;
  std::memcpy(Data.data() + Keyword.size() + 2, Packed.data(), Packed.size());
  return WriteFramed(Stream);
}

// The PNG picture: reading and writing the chunk list, conversions, pixel access and resizing.
#include "pictures/pngimage.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "pictures/pnglang.h"
#include "platform/classes/Colors.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Dib.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Palettes.h"

namespace {
constexpr Byte PngSignature[8] = {137, 80, 78, 71, 13, 10, 26, 10};

Integer StartupCount = 0;

struct TPngUnit {
  TPngUnit() { PngImageStartup(); }
  ~TPngUnit() { PngImageShutdown(); }
} PngUnit;

Cardinal GetBE32(const Byte* P) {
  return Cardinal{P[0]} << 24 | Cardinal{P[1]} << 16 | Cardinal{P[2]} << 8 | P[3];
}

// Reads and drops Count bytes, or up to the end of the stream.
void SkipBytes(TStream* Stream, Int64 Count) {
  Byte Buffer[4096];
  while (Count > 0) {
    const Integer Got = Stream->Read(Buffer, static_cast<Integer>(std::min<Int64>(Count, sizeof(Buffer))));
    if (Got <= 0) return;
    Count -= Got;
  }
}
}  // namespace

void PngImageStartup() {
  if (StartupCount++ != 0) return;
  FreeChunkClassRegistry();
  RegisterStandardChunks();
  TPicture::RegisterFileFormat("PNG", "Portable Network Graphics", GraphicClassOf<TPNGObject>());
}

void PngImageShutdown() {
  if (StartupCount <= 0 || --StartupCount != 0) return;
  TPicture::UnregisterGraphicClass(GraphicClassOf<TPNGObject>());
  FreeChunkClassRegistry();
}

TPNGObject::TPNGObject() {
  ImageCanvas = std::make_unique<TCanvas>();
  ChunkList = std::make_unique<TPNGList>(this);
  ResetGamma();
}

TPNGObject::~TPNGObject() {
  ClearChunks();
}

void TPNGObject::ResetGamma() {
  for (Integer I = 0; I < 256; ++I) EncodeGamma[I] = DecodeGamma[I] = static_cast<Byte>(I);
}

void TPNGObject::ClearChunks() {
  ResetGamma();
  for (Cardinal I = 0; I < ChunkList->GetCount(); ++I) delete ChunkList->Item(I);
  ChunkList->SetCount(0);
}

bool TPNGObject::HasHeader() const {
  return ChunkList->GetCount() > 0 && dynamic_cast<TChunkIHDR*>(ChunkList->Item(0)) != nullptr;
}

TChunkIHDR* TPNGObject::HeaderChunk() const {
  if (!HasHeader()) RaisePngError<EPNGHeaderNotPresent>(EPNGHeaderNotPresentText);
  return static_cast<TChunkIHDR*>(ChunkList->Item(0));
}

Integer TPNGObject::GetWidth() {
  return HasHeader() ? static_cast<Integer>(HeaderChunk()->Width) : 0;
}

Integer TPNGObject::GetHeight() {
  return HasHeader() ? static_cast<Integer>(HeaderChunk()->Height) : 0;
}

void TPNGObject::SetWidth(Integer Value) {
  Resize(Value, GetHeight());
}

void TPNGObject::SetHeight(Integer Value) {
  Resize(GetWidth(), Value);
}

HPALETTE TPNGObject::GetPalette() {
  return HeaderChunk()->DibPalette;
}

// The caller keeps Value; the picture installs a copy of it.
void TPNGObject::SetPalette(HPALETTE Value) {
  TChunkIHDR* Header = HeaderChunk();
  if (!Header->PaletteBacked || !Value) return;
  PALETTEENTRY Entries[256];
  LOGPALETTE Pal;
  Pal.palNumEntries = static_cast<WORD>(GetPaletteEntries(Value, 0, 256, Entries));
  std::memcpy(Pal.palPalEntry, Entries, Pal.palNumEntries * sizeof(PALETTEENTRY));
  ReplacePalette(CreatePalette(&Pal), true);
}

void TPNGObject::ReplacePalette(HPALETTE Palette, bool CopyEntries) {
  TChunkIHDR* Header = HeaderChunk();
  if (!Header->PaletteBacked || !Header->DibDC) {
    if (Palette) DeleteObject(Palette);
    return;
  }
  if (CopyEntries) Header->LoadColorTable(Palette);
  SetDIBColorTable(Header->DibDC, 0, 256, Header->DibInfo.bmiColors);
  SelectPalette(Header->DibDC, Palette, FALSE);
  RealizePalette(Header->DibDC);
  if (Header->DibPalette && Header->DibPalette != Palette) DeleteObject(Header->DibPalette);
  Header->DibPalette = Palette;
}

TPngTransparency TPNGObject::TransparencyKind() {
  if (!HasHeader()) return ptNone;
  auto* Trns = ChunkList->FindByClass<TChunktRNS>();
  switch (HeaderChunk()->ColorType) {
    case 0:
    case 2:
      return Trns ? ptKeyColor : ptNone;
    case 3:
      if (!Trns) return ptNone;
      return Trns->KeyedOnly ? ptKeyColor : ptAlphaBlend;
    case 4:
    case 6:
      return ptAlphaBlend;
    default:
      return ptNone;
  }
}

TColor TPNGObject::KeyColor() {
  auto* Trns = ChunkList->FindByClass<TChunktRNS>();
  return Trns ? Trns->GetKeyColor() : 0;
}

void TPNGObject::RowLayout(Integer& RowLength, Cardinal& FilterDistance) const {
  RowLength = 0;
  FilterDistance = 0;
  if (!HasHeader()) return;
  TChunkIHDR* H = HeaderChunk();
  RowLength = RowBytesFor(static_cast<Integer>(H->Width), H->ColorType, H->BitDepth);
  switch (H->ColorType) {
    case 0:
      FilterDistance = H->BitDepth == 16 ? 2 : 1;
      break;
    case 3:
      FilterDistance = 1;
      break;
    case 2:
      FilterDistance = H->BitDepth * 3 / 8;
      break;
    case 4:
      FilterDistance = H->BitDepth / 4;
      break;
    case 6:
      FilterDistance = H->BitDepth / 2;
      break;
    default:
      break;
  }
}

void TPNGObject::LoadFromStream(TStream* Stream) {
  ClearChunks();
  Byte Signature[8] = {};
  if (Stream->Read(Signature, 8) != 8 || std::memcmp(Signature, PngSignature, 8) != 0)
    RaisePngError<EPNGInvalidFileHeader>(EPNGInvalidFileHeaderText);
  bool HasImageData = false;
  Cardinal N = 0;
  // Every chunk consumes at least its eight header bytes, so the loop ends with the stream.
  for (;;) {
    ++N;
    Byte Head[8] = {};
    if (Stream->Read(Head, 4) != 4 || Stream->Read(Head + 4, 4) != 4)
      RaisePngError<EPngUnexpectedEnd>(EPNGUnexpectedEndText);
    const Cardinal Length = GetBE32(Head);
    const std::string Name(reinterpret_cast<const char*>(Head + 4), 4);
    if (N == 1 && Name != "IHDR") {
      ClearChunks();
      RaisePngError<EPNGIHDRNotFirst>(EPNGIHDRNotFirstText);
    }
    if (Name == "cHRM" || (Name == "IDAT" && HasImageData)) {
      --N;
      SkipBytes(Stream, Int64{Length} + 4);
      continue;
    }
    if (Name == "IDAT") HasImageData = true;
    TChunk* Chunk = NewChunkForName(this, Name);
    ChunkList->Add(Chunk);
    if (Chunk->ClassInfo() == ChunkClassOf<TChunk>() && !(Head[4] & 0x20))
      RaisePngError<EPNGUnknownCriticalChunk>(EPNGUnknownCriticalChunkText);
    if (!Chunk->LoadFromStream(Stream, Name, Length)) break;
    if (Name == "IEND") break;
  }
  if (!HasImageData) RaisePngError<EPNGNoImageData>(EPNGNoImageDataText);
  Changed(this);
}

void TPNGObject::SaveToStream(TStream* Stream) {
  Stream->WriteBuffer(PngSignature, 8);
  for (Cardinal I = 0; I < ChunkList->GetCount(); ++I) ChunkList->Item(I)->SaveToStream(Stream);
}

void TPNGObject::Assign(TPersistent* Source) {
  if (Source == nullptr) {
    ClearChunks();
  } else if (auto* Png = dynamic_cast<TPNGObject*>(Source)) {
    if (Png != this) CopyFromPng(Png);
  } else if (auto* Bitmap = dynamic_cast<TBitmap*>(Source)) {
    AssignBitmapHandle(Bitmap->GetHandle(), Bitmap->GetTransparent(),
                       ColorToRGB(Bitmap->GetTransparentColor()));
  } else {
    TGraphic::Assign(Source);
    return;
  }
  Changed(this);
}

void TPNGObject::AssignTo(TPersistent* Dest) {
  if (auto* Png = dynamic_cast<TPNGObject*>(Dest)) {
    Png->CopyFromPng(this);
    Png->Changed(Png);
    return;
  }
  auto* Bitmap = dynamic_cast<TBitmap*>(Dest);
  if (!Bitmap || !HasHeader() || !HeaderChunk()->Bits) {
    TPersistent::AssignTo(Dest);
    return;
  }
  Bitmap->SetPixelFormat(BitmapFormatFor());
  Bitmap->SetSize(GetWidth(), GetHeight());
  Draw(Bitmap->GetCanvas(), TRect{0, 0, GetWidth(), GetHeight()});
  if (TransparencyKind() == ptKeyColor) {
    Bitmap->SetTransparentColor(KeyColor());
    Bitmap->SetTransparent(true);
  }
}

TPixelFormat TPNGObject::BitmapFormatFor() {
  if (TransparencyKind() == ptAlphaBlend) return pf24bit;
  TChunkIHDR* H = HeaderChunk();
  switch (H->BitDepth) {
    case 1:
      return pf1bit;
    case 2:
    case 4:
      return pf4bit;
    case 8:
    case 16:
      if (H->ColorType == 0 || H->ColorType == 2) return pf24bit;
      if (H->ColorType == 3) return pf8bit;
      break;
    default:
      break;
  }
  throw Exception("");
}

void TPNGObject::CopyFromPng(TPNGObject* Source) {
  InterlaceKind = Source->InterlaceKind;
  SetIdatLimit(Source->IdatLimit);
  DeflateLevel = Source->DeflateLevel;
  FilterSet = Source->FilterSet;
  ClearChunks();
  for (Cardinal I = 0; I < Source->ChunkList->GetCount(); ++I) {
    TChunk* From = Source->ChunkList->Item(I);
    TChunk* Chunk = From->ClassInfo()->Create(this);
    ChunkList->Add(Chunk);
    Chunk->Assign(From);
  }
}

void TPNGObject::AssignBitmapHandle(HBITMAP Handle, bool Transparent, COLORREF Key) {
  BITMAP Info;
  const bool Valid = Handle && GetObject(Handle, sizeof(Info), &Info) != 0;
  ClearChunks();
  // An empty bitmap gives an empty picture.
  if (!Valid || Info.bmWidth <= 0 || Info.bmHeight == 0) return;
  auto* Header = new TChunkIHDR(this);
  ChunkList->Add(Header);
  Header->Width = static_cast<Cardinal>(Info.bmWidth);
  Header->Height = static_cast<Cardinal>(std::abs(Info.bmHeight));
  const Integer Bpp = Info.bmBitsPixel * Info.bmPlanes;
  if (Bpp < 16) {
    Header->BitDepth = static_cast<Byte>(Bpp);
    Header->ColorType = 3;
  } else {
    Header->BitDepth = 8;
    Header->ColorType = 2;
  }
  Header->CompressionMethod = 0;
  Header->InterlaceMethod = 0;
  Header->BuildDib();
  HDC DC = CreateCompatibleDC(nullptr);
  GetDIBits(DC, Handle, 0, Header->Height, Header->Bits, &Header->DibInfo, DIB_RGB_COLORS);
  DeleteDC(DC);
  if (Header->PaletteBacked) ChunkList->Add(new TChunkPLTE(this));
  TChunktRNS* Trns = nullptr;
  if (Transparent) ChunkList->Add(Trns = new TChunktRNS(this));
  ChunkList->Add(new TChunkIDAT(this));
  ChunkList->Add(new TChunkIEND(this));
  if (Header->PaletteBacked) {
    const Integer Entries = 1 << Header->BitsPerPixel();
    ChunkList->FindByClass<TChunkPLTE>()->EntryCount = Entries;
    LOGPALETTE Pal;
    Pal.palNumEntries = static_cast<WORD>(Entries);
    for (Integer I = 0; I < Entries; ++I) {
      const RGBQUAD& Q = Header->DibInfo.bmiColors[I];
      Pal.palPalEntry[I] = {Q.rgbRed, Q.rgbGreen, Q.rgbBlue, 0};
    }
    ReplacePalette(CreatePalette(&Pal), false);
  }
  if (Trns) Trns->SetKeyColor(static_cast<TColor>(Key));
}

void TPNGObject::LoadFromClipboardFormat(UINT AFormat, HANDLE AData, HPALETTE APalette) {
  TBitmap Bitmap;
  Bitmap.LoadFromClipboardFormat(AFormat, AData, APalette);
  AssignBitmapHandle(Bitmap.GetHandle(), false, 0);
  Changed(this);
}

void TPNGObject::SaveToClipboardFormat(UINT& AFormat, HANDLE& AData, HPALETTE& APalette) {
  TBitmap Bitmap;
  Bitmap.SetSize(GetWidth(), GetHeight());
  Draw(Bitmap.GetCanvas(), TRect{0, 0, GetWidth(), GetHeight()});
  Bitmap.SaveToClipboardFormat(AFormat, AData, APalette);
}

TColor TPNGObject::GetPixelColor(Integer X, Integer Y) {
  if (!HasHeader()) return 0;
  TChunkIHDR* H = HeaderChunk();
  if (!H->Bits || X < 0 || Y < 0 || X >= static_cast<Integer>(H->Width) ||
      Y >= static_cast<Integer>(H->Height))
    return 0;
  const Byte* Row = H->PixelRow(Y);
  const Integer Depth = H->BitsPerPixel();
  auto Sample = [&] {
    const Integer PerByte = 8 / Depth;
    return static_cast<Integer>(Row[X / PerByte] >> (8 - Depth - Depth * (X % PerByte)) & ((1 << Depth) - 1));
  };
  switch (H->ColorType) {
    case 0: {
      const Integer V = Sample();
      const Byte L = DecodeGamma[Depth == 1 ? V * 255 : Depth == 4 ? V * 17 : V];
      return static_cast<TColor>(RGB(L, L, L));
    }
    case 3: {
      auto* Plte = ChunkList->FindByClass<TChunkPLTE>();
      if (!Plte) RaisePngError<EPngError>(EPNGUnknownPalEntryText);
      const Cardinal E = Plte->Entry(Sample());
      return static_cast<TColor>(RGB(E >> 16 & 0xFF, E >> 8 & 0xFF, E & 0xFF));
    }
    case 4:
      return static_cast<TColor>(RGB(Row[X], Row[X], Row[X]));
    case 2:
    case 6:
      return static_cast<TColor>(RGB(Row[3 * X + 2], Row[3 * X + 1], Row[3 * X]));
    default:
      return 0;
  }
}

void TPNGObject::SetPixelColor(Integer X, Integer Y, TColor Color) {
  if (!HasHeader()) return;
  TChunkIHDR* H = HeaderChunk();
  if (!H->Bits || X < 0 || Y < 0 || X >= static_cast<Integer>(H->Width) ||
      Y >= static_cast<Integer>(H->Height))
    return;
  Byte* Row = H->PixelRow(Y);
  const COLORREF C = ColorToRGB(Color);
  switch (H->ColorType) {
    case 0:
    case 3: {
      const Integer Depth = H->BitsPerPixel();
      const UINT Index = H->DibPalette ? GetNearestPaletteIndex(H->DibPalette, C) : 0;
      const Integer PerByte = 8 / Depth;
      const Integer Shift = 8 - Depth - Depth * (X % PerByte);
      const Integer Mask = ((1 << Depth) - 1) << Shift;
      Byte& B = Row[X / PerByte];
      B = static_cast<Byte>((B & ~Mask) | ((static_cast<Integer>(Index) << Shift) & Mask));
      break;
    }
    case 4:
      Row[X] = GetRValue(C);
      break;
    case 2:
    case 6:
      Row[3 * X] = GetBValue(C);
      Row[3 * X + 1] = GetGValue(C);
      Row[3 * X + 2] = GetRValue(C);
      break;
    default:
      break;
  }
}

void TPNGObject::Resize(Integer NewWidth, Integer NewHeight) {
  if (NewWidth < 1 || NewHeight < 1) RaisePngError<EPNGInvalidNewSize>(EInvalidNewSizeText);
  TChunkIHDR* H = HeaderChunk();
  if (!H->Bits) RaisePngError<EPNGHeaderNotPresent>(EPNGHeaderNotPresentText);
  const Integer OldWidth = static_cast<Integer>(H->Width), OldHeight = static_cast<Integer>(H->Height);
  const Integer Bpp = H->BitsPerPixel();
  const Integer OldStride = H->RowStride;
  const Integer NewStride = static_cast<Integer>((static_cast<Int64>(Bpp) * NewWidth + 31) / 32 * 4);
  HDC NewDC = CreateCompatibleDC(H->DibDC);
  if (!NewDC) RaisePngError<EPNGOutMemory>(EPNGOutMemoryText);
  BITMAPINFO Info = H->DibInfo;
  Info.bmiHeader.biWidth = NewWidth;
  Info.bmiHeader.biHeight = NewHeight;
  void* NewBitsPtr = nullptr;
  HBITMAP NewDib = CreateDIBSection(NewDC, &Info, DIB_RGB_COLORS, &NewBitsPtr, nullptr, 0);
  if (!NewDib || !NewBitsPtr) {
    if (NewDib) DeleteObject(NewDib);
    DeleteDC(NewDC);
    RaisePngError<EPNGOutMemory>(EPNGOutMemoryText);
  }
  auto* NewBits = static_cast<Byte*>(NewBitsPtr);
  SelectObject(NewDC, NewDib);
  const Integer Rows = std::min(NewHeight, OldHeight);
  const std::size_t RowCopy = static_cast<std::size_t>(std::min(NewStride, OldStride));
  for (Integer Y = 0; Y < Rows; ++Y)
    std::memcpy(NewBits + static_cast<std::size_t>(NewStride) * (NewHeight - 1 - Y), H->PixelRow(Y), RowCopy);
  if (!H->AlphaPlane.empty()) {
    std::vector<Byte> Alpha(static_cast<std::size_t>(NewWidth) * NewHeight, 255);
    const std::size_t Cols = static_cast<std::size_t>(std::min(NewWidth, OldWidth));
    for (Integer Y = 0; Y < Rows; ++Y)
      std::memcpy(Alpha.data() + static_cast<std::size_t>(NewWidth) * Y, H->AlphaRow(Y), Cols);
    H->AlphaPlane.swap(Alpha);
  }
  if (!H->LowBytes.empty()) {
    std::vector<Byte> Low(static_cast<std::size_t>(NewStride) * NewHeight, 0);
    for (Integer Y = 0; Y < Rows; ++Y)
      std::memcpy(Low.data() + static_cast<std::size_t>(NewStride) * (NewHeight - 1 - Y), H->LowByteRow(Y),
                  RowCopy);
    H->LowBytes.swap(Low);
  }
  if (H->DibPalette) {
    SelectPalette(NewDC, H->DibPalette, FALSE);
    RealizePalette(NewDC);
  }
  if (ImageCanvas->HandleAllocated() && ImageCanvas->GetHandle() == H->DibDC) ImageCanvas->SetHandle(nullptr);
  DeleteDC(H->DibDC);
  DeleteObject(H->DibHandle);
  ImageCanvas->SetHandle(NewDC);
  H->DibInfo.bmiHeader.biWidth = NewWidth;
  H->DibInfo.bmiHeader.biHeight = NewHeight;
  H->RowStride = NewStride;
  H->Width = static_cast<Cardinal>(NewWidth);
  H->Height = static_cast<Cardinal>(NewHeight);
  H->Bits = NewBits;
  H->DibHandle = NewDib;
  H->DibDC = NewDC;
  Changed(this);
}

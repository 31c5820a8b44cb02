// TIEBitmap: life, the base's slots, storage and row access.
#include "imaging/core/iebitmap.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

#include "imaging/core/hyieutils.h"

namespace {

constexpr Int64 MinFileSizeWithoutMemoryFigure = 0x2000000;
constexpr Int64 ChunkMinSize = 0xA00000;
constexpr uintptr_t PixelBaseAlignment = 64;
constexpr Int64 BlockSlack = 128;

Int64 DefaultMinFileSize() {
  if (IEMinFileSizeOverride != -1) return IEMinFileSizeOverride;
  const Int64 Available = IEGetMemorySize(true);
  if (Available == 0) return MinFileSizeWithoutMemoryFigure;
  return static_cast<Int64>(static_cast<Double>(Available) / 1.3);
}

}  // namespace

Int64 IEBitmapRowLen(Integer AWidth, Integer ABitCount, Integer ABitAlignment) {
  const Int64 Bits = static_cast<Int64>(AWidth) * ABitCount;
  if (ABitAlignment == 32) return ((Bits + 31) / 32) * 4;
  if (ABitAlignment < 8) return (Bits + 7) / 8;  // no alignment below a byte
  return ((Bits + ABitAlignment - 1) / ABitAlignment) * (ABitAlignment / 8);
}

TIEBitmap::TIEBitmap() : FFileBuffer(std::make_unique<TIEFileBuffer>()), FMinFileSize(DefaultMinFileSize()) {}

TIEBitmap::TIEBitmap(Integer AWidth, Integer AHeight, TIEPixelFormat APixelFormat) : TIEBitmap() {
  Allocate(AWidth, AHeight, APixelFormat);
}

std::unique_ptr<TIEBitmap> TIEBitmap::CreateAsAlphaChannel(Integer AWidth, Integer AHeight,
                                                           TIELocation ALocation) {
  auto Alpha = std::make_unique<TIEBitmap>();
  Alpha->FIsAlphaChannel = true;
  Alpha->FLocation = ALocation == ieTBitmap ? ieMemory : ALocation;
  Alpha->Allocate(AWidth, AHeight, ie8g);
  Alpha->Fill(255);
  return Alpha;
}

TIEBitmap::~TIEBitmap() {
  try {
    FreeImage(true);
  } catch (...) {
    // Rows that cannot be written back go with the bitmap.
  }
}

// The base's slots.

void* TIEBitmap::GetScanline(Integer Row) {
  switch (FLocation) {
    case ieMemory:
      if (FPixelBase) return FPixelBase + static_cast<Int64>(FRowLen) * (FHeight - 1 - Row);
      if (!FChunkTable.empty())
        return FChunkTable[Row / FRowsPerChunk].get() + static_cast<Int64>(Row % FRowsPerChunk) * FRowLen;
      return nullptr;
    case ieFile:
      if (!FFileBuffer->IsAllocated()) return nullptr;
      ReleaseCurrentView();
      FCurrentView = MapFileRow(Row);
      return FCurrentView;
    case ieTBitmap:
      return Row >= 0 && Row < static_cast<Integer>(FRowTable.size()) ? FRowTable[Row] : nullptr;
  }
  return nullptr;
}

Integer TIEBitmap::GetBitCount() {
  if (FLocation == ieTBitmap) SyncFromTBitmap();
  return FBitCount;
}

Integer TIEBitmap::GetHeight() {
  if (FLocation == ieTBitmap) SyncFromTBitmap();
  return FHeight;
}

Integer TIEBitmap::GetWidth() {
  if (FLocation == ieTBitmap) SyncFromTBitmap();
  return FWidth;
}

TIEPixelFormat TIEBitmap::GetPixelFormat() {
  if (FLocation == ieTBitmap) SyncFromTBitmap();
  return FPixelFormat;
}

Integer TIEBitmap::GetRowLen() {
  if (FLocation == ieTBitmap) SyncFromTBitmap();
  return FRowLen;
}

Integer TIEBitmap::GetChannelCount() {
  if (FLocation == ieTBitmap) SyncFromTBitmap();
  return FChannelCount;
}

TIERGBTriple* TIEBitmap::GetPaletteBuffer() {
  return FPalette.empty() ? nullptr : FPalette.data();
}

Integer TIEBitmap::GetPaletteLen() {
  return static_cast<Integer>(FPalette.size());
}

void TIEBitmap::GetPaletteColor(Integer Index, TIERGBTriple& Color) {
  if (Index >= 0 && Index < GetPaletteLen()) Color = FPalette[Index];
}

void TIEBitmap::SetPaletteColor(Integer Index, const TIERGBTriple& Color) {
  if (Index < 0 || Index >= GetPaletteLen()) return;
  FPalette[Index] = Color;
  UpdateTBitmapPalette();
}

bool TIEBitmap::Allocate(Integer AWidth, Integer AHeight, TIEPixelFormat APixelFormat) {
  if (!FNeedsAllocation && AWidth == FWidth && AHeight == FHeight && APixelFormat == FPixelFormat)
    return true;
  if (!FPlatformBitmapExternal)
    FreeImage(true);
  else
    FAlphaChannel.reset();  // the caller's platform bitmap is reused
  FWidth = AWidth;
  FHeight = AHeight;
  FPixelFormat = APixelFormat;
  const bool Done = AllocateStorage();
  if (!Done) {
    // No size without pixels: the bitmap reads as empty.
    FWidth = FHeight = FRowLen = FBitCount = FChannelCount = 0;
    FPalette.clear();
  }
  FNeedsAllocation = false;
  return Done;
}

// Storage.

bool TIEBitmap::ApplyFormatTable() {
  FBitCount = IEBitsPerPixel[FPixelFormat];
  FChannelCount = IEChannelsPerPixel[FPixelFormat];
  const Int64 RowLen = IEBitmapRowLen(FWidth, FBitCount, FBitAlignment);
  if (RowLen > std::numeric_limits<Integer>::max()) {
    FRowLen = 0;
    return false;
  }
  FRowLen = static_cast<Integer>(RowLen);
  return true;
}

bool TIEBitmap::AllocateStorage() {
  if (FWidth < 1 || FHeight < 1 || FPixelFormat == ieNull || FPixelFormat >= IEPixelFormatCount) return false;
  if (FPixelFormat == ie8p) {
    try {
      FPalette.assign(256, TIERGBTriple{});
    } catch (const std::bad_alloc&) {
      return false;
    }
  }
  if (!ApplyFormatTable()) return false;
  const Int64 Size = static_cast<Int64>(FRowLen) * FHeight;
  if (FLocation == ieFile && Size < FMinFileSize) FLocation = ieMemory;
  if (FLocation == ieMemory && Size > FMinFileSize) FLocation = ieFile;
  switch (FLocation) {
    case ieFile:
      if (!AllocateFileStorage(Size)) {
        FLocation = ieMemory;
        if (!AllocateBlock(Size) && !AllocateChunks()) return false;
      }
      break;
    case ieMemory:
      if (!AllocateBlock(Size) && !AllocateChunks()) {
        if (!IEAllowFileFallback || !AllocateFileStorage(Size)) return false;
        FLocation = ieFile;
      }
      break;
    case ieTBitmap:
      if (!AllocatePlatformBitmap(Size)) return false;
      break;
  }
  FFull = false;
  return true;
}

bool TIEBitmap::AllocateBlock(Int64 Size) {
  FMemoryBlock = IEAllocateBlock(static_cast<UInt64>(Size) + BlockSlack, FAllocationMode);
  if (!FMemoryBlock) return false;
  const uintptr_t Start = reinterpret_cast<uintptr_t>(FMemoryBlock.get());
  FPixelBase = FMemoryBlock.get() + ((PixelBaseAlignment - Start % PixelBaseAlignment) % PixelBaseAlignment);
  return true;
}

bool TIEBitmap::AllocateChunks() {
  if (!IEAllowChunks) return false;
  FreeChunks();
  for (Integer Count = 4;; Count *= 2) {
    const Integer RowsPerChunk = (FHeight + Count - 1) / Count;
    const Int64 ChunkSize = static_cast<Int64>(RowsPerChunk) * FRowLen;
    // Beyond four chunks none is smaller than 10 MB: smaller pieces would not help.
    if (ChunkSize < ChunkMinSize && Count > 4) return false;
    std::vector<TIEGlobalBlock> Chunks;
    Chunks.reserve(Count);
    for (Integer I = 0; I < Count; ++I) {
      TIEGlobalBlock Chunk(static_cast<Byte*>(IEGlobalAlloc(ChunkSize)));
      if (!Chunk) break;
      Chunks.push_back(std::move(Chunk));
    }
    if (static_cast<Integer>(Chunks.size()) == Count) {
      FChunkTable = std::move(Chunks);
      FRowsPerChunk = RowsPerChunk;
      return true;
    }
    if (static_cast<Int64>(Count) * 2 >= FHeight) return false;
  }
}

void TIEBitmap::FreeChunks() {
  FChunkTable.clear();
  FRowsPerChunk = 0;
}

bool TIEBitmap::AllocateFileStorage(Int64 Size) {
  return FFileBuffer->AllocateFile("IMG", true, Size);
}

void TIEBitmap::FreeImage(bool FreeAlpha) {
  if (FreeAlpha) FAlphaChannel.reset();
  FPalette.clear();
  FPalette.shrink_to_fit();
  FreeFileViews();
  FFileBuffer->Close();
  FMemoryBlock.reset();
  FPixelBase = nullptr;
  FOwnedPlatformBitmap.reset();
  FPlatformBitmap = nullptr;
  FRowTable.clear();
  FreeChunks();
  FWidth = FHeight = FRowLen = FBitCount = FChannelCount = 0;
  FFull = false;
  FPlatformBitmapExternal = false;
}

bool TIEBitmap::IsEmpty() const {
  return FWidth == 0 || FHeight == 0 || FRowLen == 0 || FBitCount == 0;
}

// Row access.

void* TIEBitmap::MapFileRow(Integer Row) {
  return FFileBuffer->MapView(FAccess, static_cast<Int64>(Row) * FRowLen, FRowLen);
}

void TIEBitmap::ReleaseCurrentView() {
  void* View = FCurrentView;
  FCurrentView = nullptr;
  if (View) FFileBuffer->UnmapView(View);
}

void* TIEBitmap::GetRow(Integer Row) {
  if (FLocation != ieFile) return GetScanline(Row);
  if (!FFileBuffer->IsAllocated()) return nullptr;
  ReleaseCurrentView();
  void* View = MapFileRow(Row);
  FExtraViews.push_back(View);
  FExtraViewRows.push_back(Row);
  return View;
}

void TIEBitmap::FreeRow(Integer Row) {
  if (FLocation != ieFile) return;
  const auto It = std::find(FExtraViewRows.begin(), FExtraViewRows.end(), Row);
  if (It == FExtraViewRows.end()) return;
  const auto Index = It - FExtraViewRows.begin();
  void* View = FExtraViews[Index];
  FExtraViews.erase(FExtraViews.begin() + Index);
  FExtraViewRows.erase(It);
  FFileBuffer->UnmapView(View);
}

void TIEBitmap::FreeFileViews() {
  std::vector<void*> Views;
  Views.swap(FExtraViews);
  FExtraViewRows.clear();
  ReleaseCurrentView();
  for (void* View : Views) FFileBuffer->UnmapView(View);
}

void TIEBitmap::CopyRowsFrom(TIEBitmap* Source) {
  const Integer Rows = std::min(FHeight, Source->FHeight);
  const size_t Bytes = static_cast<size_t>(std::min(FRowLen, Source->FRowLen));
  if (FPixelBase && Source->FPixelBase && FRowLen == Source->FRowLen && FHeight == Source->FHeight) {
    std::memcpy(FPixelBase, Source->FPixelBase, Bytes * static_cast<size_t>(Rows));  // both one block
    return;
  }
  for (Integer Y = 0; Y < Rows; ++Y) std::memcpy(GetScanline(Y), Source->GetScanline(Y), Bytes);
}

void TIEBitmap::MoveDataTo(TIEBitmap* Dest) {
  if (Dest == this) return;
  Dest->FreeImage(true);
  Dest->FWidth = FWidth;
  Dest->FHeight = FHeight;
  Dest->FBitCount = FBitCount;
  Dest->FChannelCount = FChannelCount;
  Dest->FCurrentView = FCurrentView;
  Dest->FRowLen = FRowLen;
  Dest->FPixelFormat = FPixelFormat;
  Dest->FPalette = std::move(FPalette);
  Dest->FAlphaChannel = std::move(FAlphaChannel);
  Dest->FIsAlphaChannel = FIsAlphaChannel;
  Dest->FMemoryBlock = std::move(FMemoryBlock);
  Dest->FPixelBase = FPixelBase;
  Dest->FPlatformBitmap = FPlatformBitmap;
  Dest->FOwnedPlatformBitmap = std::move(FOwnedPlatformBitmap);
  Dest->FLocation = FLocation;
  Dest->FFull = FFull;
  Dest->FPlatformBitmapExternal = FPlatformBitmapExternal;
  Dest->FRowTable = std::move(FRowTable);
  Dest->FChunkTable = std::move(FChunkTable);
  Dest->FRowsPerChunk = FRowsPerChunk;
  Dest->FFileBuffer = std::move(FFileBuffer);
  Dest->FExtraViews = std::move(FExtraViews);
  Dest->FExtraViewRows = std::move(FExtraViewRows);
  Dest->FBlackWhiteConversion = FBlackWhiteConversion;
  Dest->FBitAlignment = FBitAlignment;
  Dest->FAllocationMode = FAllocationMode;

  FWidth = FHeight = FBitCount = FChannelCount = FRowLen = 0;
  FPixelFormat = ieNull;
  FPalette.clear();
  FCurrentView = nullptr;
  FPixelBase = nullptr;
  FPlatformBitmap = nullptr;
  FRowTable.clear();
  FChunkTable.clear();
  FRowsPerChunk = 0;
  FFileBuffer = std::make_unique<TIEFileBuffer>();
  FExtraViews.clear();
  FExtraViewRows.clear();
  FFull = false;
  FPlatformBitmapExternal = false;
  FNeedsAllocation = true;
}

#pragma once
// TIEBitmap, the imaging library's picture: width, height, one of eleven pixel formats, its
// pixels in one memory block (rows bottom-up), memory chunks or a temporary file (rows
// top-down) or a platform TBitmap, an optional 8-bit alpha channel, a palette and the display
// settings rendering applies. Pixels are reached only through GetScanline/GetRow.
//
// A file-backed bitmap has ONE valid GetScanline row at a time: the address from the previous
// call is gone after the next one. Code that needs two rows at once uses GetRow/FreeRow.
#include <memory>
#include <vector>

#include "imaging/core/hyiedefs.h"
#include "imaging/core/iefilebuffer.h"
#include "platform/classes/Colors.h"
#include "platform/system/Object.h"
#include "platform/system/Types.h"

class TBitmap;
class TCanvas;
class TStream;
class TIEMask;
class TIEDibbitmap;
class TIEBitmap;

// Frees a platform bitmap the imaging bitmap owns (TBitmap stays an incomplete type here).
struct TIEPlatformBitmapRelease {
  void operator()(TBitmap* Bitmap) const;
};

// Access flags of row views of a temporary file.
constexpr Byte iedRead = 1;   // a mapped row is loaded from the file
constexpr Byte iedWrite = 2;  // a released row is written back

// How the memory block of a bitmap is obtained.
constexpr Byte ieamHeap = 0;
constexpr Byte ieamGlobal = 1;
constexpr Byte ieamTagged = 2;

// The base shared with the DIB-section bitmap: the row, size and palette operations that the
// rest of the library calls without knowing which of the two it holds.
class TIEBaseBitmap : public TObject {
 public:
  virtual void* GetScanline(Integer Row) = 0;
  virtual Integer GetBitCount() = 0;
  virtual Integer GetHeight() = 0;
  virtual Integer GetWidth() = 0;
  virtual TIEPixelFormat GetPixelFormat() = 0;
  virtual Integer GetRowLen() = 0;
  virtual TIERGBTriple* GetPaletteBuffer() = 0;
  virtual void GetPaletteColor(Integer Index, TIERGBTriple& Color) = 0;
  virtual void SetPaletteColor(Integer Index, const TIERGBTriple& Color) = 0;
  virtual Integer GetPaletteLen() = 0;
  virtual bool Allocate(Integer AWidth, Integer AHeight, TIEPixelFormat APixelFormat) = 0;
  virtual void Assign(TObject* Source) = 0;
  virtual void CopyPaletteTo(TObject* Dest) = 0;

  Byte GetAccess() const { return FAccess; }
  void SetAccess(Byte Value) { FAccess = Value; }

 protected:
  Byte FAccess = iedRead | iedWrite;
};

// What RenderToTIEBitmap hands each row renderer: destination rows Y1..Y2 and columns X1..X2
// are drawn; the source pixel of (X, Y) is (ColumnLookup[X - X1], RowLookup[Y - Y1]), or, when
// no tables were built (direct copy), (X + SrcX - DestX, Y + SrcY - DestY).
struct TIERenderRowsParams {
  Byte* const* DestRows = nullptr;  // DestRows[Y] is the address of Dest's row Y
  TIEBitmap* Dest = nullptr;
  Byte BlendOp = 0;
  bool RowCopy = false;
  Integer YStep = 0;  // 16.14 fixed point
  Integer XStep = 0;
  Integer Y2 = 0, X2 = 0, Y1 = 0, X1 = 0;
  Integer DestY = 0, DestX = 0, SrcY = 0, SrcX = 0;
  const Integer* RowLookup = nullptr;
  const Integer* ColumnLookup = nullptr;
  const Byte* TransparencyRow = nullptr;  // transparent renderers only
  bool UseAlpha = false;
  Integer Transparency = 255;
};

class TIEBitmap : public TIEBaseBitmap {
 public:
  TIEBitmap();
  TIEBitmap(Integer AWidth, Integer AHeight, TIEPixelFormat APixelFormat);  // CreateSized
  static std::unique_ptr<TIEBitmap> CreateAsAlphaChannel(Integer AWidth, Integer AHeight,
                                                         TIELocation ALocation);
  ~TIEBitmap() override;

  // The base's slots.
  void* GetScanline(Integer Row) override;
  Integer GetBitCount() override;
  Integer GetHeight() override;
  Integer GetWidth() override;
  TIEPixelFormat GetPixelFormat() override;
  Integer GetRowLen() override;
  TIERGBTriple* GetPaletteBuffer() override;
  void GetPaletteColor(Integer Index, TIERGBTriple& Color) override;
  void SetPaletteColor(Integer Index, const TIERGBTriple& Color) override;
  Integer GetPaletteLen() override;
  // False leaves the bitmap empty (no size without pixels).
  bool Allocate(Integer AWidth, Integer AHeight, TIEPixelFormat APixelFormat) override;
  // A TIEBitmap or a platform TBitmap; a picture that cannot be allocated leaves this one empty.
  void Assign(TObject* Source) override;
  void CopyPaletteTo(TObject* Dest) override;
  Integer GetChannelCount();

  // Storage and row access.
  bool AllocateStorage();
  void FreeImage(bool FreeAlpha);
  bool IsEmpty() const;
  // Rows that stay valid while other rows are fetched; FreeRow releases a file-backed one.
  void* GetRow(Integer Row);
  void FreeRow(Integer Row);
  void FreeFileViews();
  void MoveDataTo(TIEBitmap* Dest);

  // Locations.
  TIELocation GetLocation() const { return FLocation; }
  void SetLocation(TIELocation NewLocation);
  // Uses a caller's platform bitmap as storage; the caller keeps it. Bitmaps other than 1, 24
  // and 32 bits per pixel (the screen's included) are refused: nothing changes.
  void EncapsulateTBitmap(TBitmap* Bitmap, bool FreeCurrent);
  void SyncFromTBitmap();
  void BuildRowTable();
  void FreeRowTable();
  void UpdateTBitmapPalette();
  TCanvas* GetCanvas();
  TBitmap* GetTBitmap();
  void SetTBitmapOrientation();

  // Copying.
  void AssignImage(TIEBitmap* Source);
  void CopyRectTo(TIEBitmap* Dest, Integer SourceX, Integer SourceY, Integer DestX, Integer DestY,
                  Integer AWidth, Integer AHeight);
  void CopyAlphaRectTo(TIEBitmap* Dest, Integer SourceX, Integer SourceY, Integer DestX, Integer DestY,
                       Integer AWidth, Integer AHeight);

  // Size and layout.
  void SetWidth(Integer NewWidth);
  void SetHeight(Integer NewHeight);
  Integer GetBitAlignment() const { return FBitAlignment; }
  void SetBitAlignment(Integer Bits);
  // Align: 0 start, 1 centre, 2 end.
  void Resize(Integer NewWidth, Integer NewHeight, Double Background, Integer AlphaFill, Integer HorizAlign,
              Integer VertAlign);
  void MoveRegion(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer DestX, Integer DestY,
                  Double Background, bool FillSource);

  // Filling.
  void Fill(Double Value);
  void FillRect(Integer X1, Integer Y1, Integer X2, Integer Y2, Double Value);

  // Pixels; no bounds checks.
  Byte GetPixel8(Integer X, Integer Y);
  void SetPixel8(Integer X, Integer Y, Byte Value);
  Word GetPixel16(Integer X, Integer Y);
  void SetPixel16(Integer X, Integer Y, Word Value);
  Single GetPixel32f(Integer X, Integer Y);
  void SetPixel32f(Integer X, Integer Y, Single Value);
  Cardinal GetPixel32(Integer X, Integer Y);
  void SetPixel32(Integer X, Integer Y, Cardinal Value);
  TIERGBTriple GetPixel24(Integer X, Integer Y);
  void SetPixel24(Integer X, Integer Y, const TIERGBTriple& Value);
  TIERGBTriple* GetPixelPtr24(Integer X, Integer Y);
  TIERGB48Pixel GetPixel48(Integer X, Integer Y);
  void SetPixel48(Integer X, Integer Y, const TIERGB48Pixel& Value);
  TIERGBTriple GetPixelRGB(Integer X, Integer Y);
  Byte GetAlpha(Integer X, Integer Y);
  void SetAlpha(Integer X, Integer Y, Byte Value);

  // Alpha channel.
  bool HasAlphaChannel() const { return FAlphaChannel != nullptr; }
  // Created on first use, every value 255; nil for a bitmap that is itself an alpha channel.
  TIEBitmap* GetAlphaChannel();
  // The bitmap takes ownership of Alpha.
  void AttachAlphaChannel(std::unique_ptr<TIEBitmap> Alpha);
  void RemoveAlphaChannel(bool Merge, TColor Background);
  void SynchronizeRGBA(bool ToAlpha);
  void SyncFull();

  // Queries.
  bool IsAllZero();
  bool IsGrayScale();

  // Exchange with other picture types.
  void CopyFromTBitmap(TBitmap* Bitmap);
  void CopyFromTIEMask(TIEMask* Mask);
  void CopyToTIEMask(TIEMask* Mask);
  void CopyFromTIEDibBitmap(TIEDibbitmap* Dib);

  // Pixel-format conversion.
  void CopyAndConvertFormat(TIEBitmap* Source);
  void ConvertToPixelFormat(TIEPixelFormat NewPixelFormat);
  void SetPixelFormat(TIEPixelFormat NewPixelFormat);

  // Rendering into an ie24RGB bitmap. The tables are the caller's when not empty; the call
  // fills empty ones and clears those it filled when FreeTables.
  void RenderToTIEBitmap(TIEBitmap* Dest, std::vector<Byte*>& DestRows, std::vector<Integer>& ColumnLookup,
                         std::vector<Integer>& RowLookup, const TRect* Clip, Integer DestX, Integer DestY,
                         Integer DestWidth, Integer DestHeight, Integer SrcX, Integer SrcY, Integer SrcWidth,
                         Integer SrcHeight, bool EnableAlpha, bool RowCopy, Integer Transparency,
                         TResampleFilter Filter, bool FreeTables, Byte BlendOp);
  void RenderToTBitmap(TBitmap* Dest, std::vector<Byte*>& DestRows, std::vector<Integer>& ColumnLookup,
                       std::vector<Integer>& RowLookup, const TRect* Clip, Integer DestX, Integer DestY,
                       Integer DestWidth, Integer DestHeight, Integer SrcX, Integer SrcY, Integer SrcWidth,
                       Integer SrcHeight, bool EnableAlpha, bool RowCopy, Integer Transparency,
                       TResampleFilter Filter, bool FreeTables, Byte BlendOp);
  void DrawToTIEBitmap(TIEBitmap* Dest, Integer DestX, Integer DestY, Integer DestWidth, Integer DestHeight,
                       Integer SrcX, Integer SrcY, Integer SrcWidth, Integer SrcHeight, Integer Transparency,
                       TResampleFilter Filter, Byte BlendOp);
  void DrawToTBitmap(TBitmap* Dest, Integer DestX, Integer DestY, Integer DestWidth, Integer DestHeight,
                     Integer SrcX, Integer SrcY, Integer SrcWidth, Integer SrcHeight, Integer Transparency,
                     TResampleFilter Filter, Byte BlendOp);
  void StretchRectTo(TIEBitmap* Dest, Integer DestX, Integer DestY, Integer DestWidth, Integer DestHeight,
                     Integer SrcX, Integer SrcY, Integer SrcWidth, Integer SrcHeight, TResampleFilter Filter,
                     Integer Alpha);

  // Raw stream: into memory at Buffer when it is not nil, else to/from Stream.
  void SaveRawToStream(void* Buffer, TStream* Stream);
  bool LoadRawFromStream(const void* Buffer, TStream* Stream);

  // Settings.
  bool GetFull() const { return FFull; }
  void SetFull(bool Value) { FFull = Value; }
  bool GetIsAlphaChannel() const { return FIsAlphaChannel; }
  bool GetPlatformBitmapExternal() const { return FPlatformBitmapExternal; }
  Int64 GetMinFileSize() const { return FMinFileSize; }
  void SetMinFileSize(Int64 Value) { FMinFileSize = Value; }
  Byte GetBlackWhiteConversion() const { return FBlackWhiteConversion; }
  void SetBlackWhiteConversion(Byte Value) { FBlackWhiteConversion = Value; }
  Integer GetPaletteUsed() const { return FPaletteUsed; }
  void SetPaletteUsed(Integer Value) { FPaletteUsed = Value; }
  Double GetRangeMin() const { return FRangeMin; }
  void SetRangeMin(Double Value) { FRangeMin = Value; }
  Double GetRangeMax() const { return FRangeMax; }
  void SetRangeMax(Double Value) { FRangeMax = Value; }
  Integer GetChannelOffset(Integer Index) const { return FChannelOffset[Index]; }
  void SetChannelOffset(Integer Index, Integer Value) { FChannelOffset[Index] = Value; }
  bool GetAdjustColors() const { return FAdjustColors; }
  void SetAdjustColors(bool Value) { FAdjustColors = Value; }
  Integer GetContrast() const { return FContrast; }
  void SetContrast(Integer Value) { FContrast = Value; }
  Byte GetAllocationMode() const { return FAllocationMode; }
  void SetAllocationMode(Byte Value) { FAllocationMode = Value; }
  bool GetNeedsAllocation() const { return FNeedsAllocation; }
  Integer GetChunkCount() const { return static_cast<Integer>(FChunkTable.size()); }
  Integer GetRowsPerChunk() const { return FRowsPerChunk; }
  TIEFileBuffer* GetFileBuffer() const { return FFileBuffer.get(); }

 protected:
  // Row renderers, one opaque and one transparent per source format; called only by
  // RenderToTIEBitmap.
  virtual void RenderRows24RGB(const TIERenderRowsParams& P);
  virtual void RenderRows24RGBAlpha(const TIERenderRowsParams& P);
  virtual void RenderRows32RGB(const TIERenderRowsParams& P);
  virtual void RenderRows32RGBAlpha(const TIERenderRowsParams& P);
  virtual void RenderRows1g(const TIERenderRowsParams& P);
  virtual void RenderRows1gAlpha(const TIERenderRowsParams& P);
  virtual void RenderRows8g(const TIERenderRowsParams& P);
  virtual void RenderRows8gAlpha(const TIERenderRowsParams& P);
  virtual void RenderRows8p(const TIERenderRowsParams& P);
  virtual void RenderRows8pAlpha(const TIERenderRowsParams& P);
  virtual void RenderRows16g(const TIERenderRowsParams& P);
  virtual void RenderRows16gAlpha(const TIERenderRowsParams& P);
  virtual void RenderRows32f(const TIERenderRowsParams& P);
  virtual void RenderRows32fAlpha(const TIERenderRowsParams& P);
  virtual void RenderRowsCMYK(const TIERenderRowsParams& P);
  virtual void RenderRowsCMYKAlpha(const TIERenderRowsParams& P);
  virtual void RenderRowsCIELab(const TIERenderRowsParams& P);
  virtual void RenderRowsCIELabAlpha(const TIERenderRowsParams& P);
  virtual void RenderRowsRGB48(const TIERenderRowsParams& P);
  virtual void RenderRowsRGB48Alpha(const TIERenderRowsParams& P);

 private:
  bool ApplyFormatTable();  // BitCount, ChannelCount, RowLen from PixelFormat; false past 2 GB rows
  bool AllocateBlock(Int64 Size);
  bool AllocateChunks();
  bool AllocateFileStorage(Int64 Size);
  bool AllocatePlatformBitmap(Int64 Size);
  bool ShapePlatformBitmap();  // the platform bitmap for Width, Height, PixelFormat
  void FreeChunks();
  void ReleaseCurrentView();
  void* MapFileRow(Integer Row);
  void CopyRowsFrom(TIEBitmap* Source);
  void CopyStorageFrom(TIEBitmap* Source);
  void AssignBitmap(TIEBitmap* Source, bool ImageOnly);
  void CopyIntoPlatformBitmap(TBitmap* Bitmap);
  void ResizeStorage(Integer NewWidth, Integer NewHeight);
  void ResizePlatformBitmap(Integer NewWidth, Integer NewHeight);
  void CreateOwnPlatformBitmap();  // when there is none

  std::unique_ptr<TIEFileBuffer> FFileBuffer;
  void* FCurrentView = nullptr;
  std::vector<TIERGBTriple> FPalette;  // its size is the palette length
  std::unique_ptr<TIEBitmap> FAlphaChannel;
  Byte* FPixelBase = nullptr;  // first 64-byte-aligned address of the block; the lowest row
  TIEMemoryBlock FMemoryBlock;
  TBitmap* FPlatformBitmap = nullptr;
  std::unique_ptr<TBitmap, TIEPlatformBitmapRelease>
      FOwnedPlatformBitmap;  // FPlatformBitmap unless it is the caller's
  std::vector<Byte*> FRowTable;
  std::vector<void*> FExtraViews;
  std::vector<Integer> FExtraViewRows;
  Integer FWidth = 0;
  Integer FHeight = 0;
  Integer FBitCount = 0;
  Integer FChannelCount = 0;
  Integer FRowLen = 0;
  TIEPixelFormat FPixelFormat = ieNull;
  bool FIsAlphaChannel = false;
  TIELocation FLocation = ieFile;
  bool FFull = false;
  bool FPlatformBitmapExternal = false;
  Int64 FMinFileSize = 0;
  Byte FBlackWhiteConversion = 1;
  Integer FPaletteUsed = 256;
  Double FRangeMin = 0;
  Double FRangeMax = 0;
  Integer FChannelOffset[4] = {0, 0, 0, 0};
  bool FAdjustColors = false;
  Integer FContrast = 0;
  Integer FBitAlignment = 32;
  Byte FAllocationMode = ieamTagged;
  bool FNeedsAllocation = true;
  Integer FRowsPerChunk = 0;
  std::vector<TIEGlobalBlock> FChunkTable;
};

// Bytes per row of AWidth pixels of ABitCount bits aligned to ABitAlignment bits, as a 64-bit
// value so that huge widths do not wrap.
Int64 IEBitmapRowLen(Integer AWidth, Integer ABitCount, Integer ABitAlignment);

#pragma once
// TPNGObject: a PNG picture of the picture container, held as its list of chunks in file order.
// Chunk 0 is the header, which owns the DIB section with the decoded pixels (1, 4, 8 or 24 bits
// per pixel, bottom-up rows padded to 4 bytes), an alpha plane (colour types 4 and 6, top row
// first) and a plane of the low bytes of 16-bit samples (laid out as the DIB rows).
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "platform/classes/Bitmap.h"
#include "platform/classes/Canvas.h"
#include "platform/classes/Graphic.h"
#include "platform/gdi/BitmapInfo.h"
#include "platform/gdi/GdiObject.h"
#include "platform/system/Exceptions.h"
#include "platform/system/Object.h"
#include "platform/system/Streams.h"
#include "platform/system/Types.h"

TV_DECLARE_EXCEPTION(EPNGOutMemory, Exception)
TV_DECLARE_EXCEPTION(EPngError, Exception)
TV_DECLARE_EXCEPTION(EPngUnexpectedEnd, Exception)
TV_DECLARE_EXCEPTION(EPngInvalidCRC, Exception)
TV_DECLARE_EXCEPTION(EPngInvalidIHDR, Exception)
TV_DECLARE_EXCEPTION(EPNGMissingMultipleIDAT, Exception)
TV_DECLARE_EXCEPTION(EPNGZLIBError, Exception)
TV_DECLARE_EXCEPTION(EPNGInvalidPalette, Exception)
TV_DECLARE_EXCEPTION(EPNGInvalidFileHeader, Exception)
TV_DECLARE_EXCEPTION(EPNGIHDRNotFirst, Exception)
TV_DECLARE_EXCEPTION(EPNGSizeExceeds, Exception)
TV_DECLARE_EXCEPTION(EPNGUnknownCriticalChunk, Exception)
TV_DECLARE_EXCEPTION(EPNGUnknownCompression, Exception)
TV_DECLARE_EXCEPTION(EPNGUnknownInterlace, Exception)
TV_DECLARE_EXCEPTION(EPNGNoImageData, Exception)
TV_DECLARE_EXCEPTION(EPNGHeaderNotPresent, Exception)
TV_DECLARE_EXCEPTION(EPNGInvalidNewSize, Exception)

class TPNGObject;
class TChunk;
class TChunkIHDR;

// Raises ExceptionClass with Message.
template <class E>
[[noreturn]] void RaisePngError(const char* Message) {
  throw E(Message);
}

// CRC-32 of the PNG standard; a chunk's CRC is not Crc32Update(Crc32Update(0xFFFFFFFF, name), data).
Cardinal Crc32Update(Cardinal Crc, const void* Buffer, std::size_t Length);
// The Paeth predictor: the neighbour nearest to Left + Above - UpperLeft, ties to Left, then Above.
Byte PaethPredict(Byte Left, Byte Above, Byte UpperLeft);
// Bytes of one unfiltered row of Pixels pixels.
Integer RowBytesFor(Integer Pixels, Byte ColorType, Byte BitDepth);
// zlib texts of results -6 to 2.
std::string ZlibResultText(Integer Result);
// Whole-block zlib coding of texts; false with zlib's message on failure.
bool InflateBlock(const Byte* Input, std::size_t InputSize, std::vector<Byte>& Output,
                  std::string& ErrorText);
bool DeflateBlock(const Byte* Input, std::size_t InputSize, Integer Level, std::string& ErrorText,
                  std::vector<Byte>& Output);

// A chunk class as a value: its name and its virtual constructor.
struct TChunkClassInfo {
  const char* Name;  // "" for the plain chunk
  TChunk* (*Create)(TPNGObject* Owner);
  bool (*IsInstance)(const TChunk* Chunk);
};
using TChunkClass = const TChunkClassInfo*;

template <class T>
TChunkClass ChunkClassOf() {
  static const TChunkClassInfo Info{T::ClassChunkName,
                                    [](TPNGObject* Owner) -> TChunk* { return new T(Owner); },
                                    [](const TChunk* C) { return dynamic_cast<const T*>(C) != nullptr; }};
  return &Info;
}

// A list of pointers it does not own.
class TPNGPointerList : public TObject {
 public:
  explicit TPNGPointerList(TPNGObject* AOwner) : Owner(AOwner) {}
  void SetCount(Cardinal N);
  Cardinal GetCount() const { return static_cast<Cardinal>(Items.size()); }
  void Add(void* Item);
  // Null for an index not below the count (negative ones included).
  void* GetItem(Cardinal Index) const;
  void SetItem(Cardinal Index, void* Item);
  // Takes the last slot holding Item out of the list; null when none does.
  virtual void* Remove(void* Item);

  TPNGObject* Owner;

 protected:
  std::vector<void*> Items;
};

class TPNGList : public TPNGPointerList {
 public:
  using TPNGPointerList::TPNGPointerList;
  TChunk* Item(Cardinal Index) const { return static_cast<TChunk*>(GetItem(Index)); }
  // The first chunk of class T or of a class derived from it.
  template <class T>
  T* FindByClass() const {
    for (void* P : Items)
      if (auto* C = dynamic_cast<T*>(static_cast<TChunk*>(P))) return C;
    return nullptr;
  }
};

// Any chunk; the class of chunks whose name has no class of its own.
class TChunk : public TObject {
 public:
  static constexpr const char* ClassChunkName = "";
  explicit TChunk(TPNGObject* AOwner) : TChunk(AOwner, ClassChunkName) {}
  virtual std::string GetChunkName() const { return ClassChunkName; }
  virtual TChunkClass ClassInfo() const { return ChunkClassOf<TChunk>(); }
  // Copies name and data; the classes below copy their fields.
  virtual void Assign(TChunk* Source);
  // Called after length and name were read; reads the data and the CRC.
  virtual bool LoadFromStream(TStream* Stream, const std::string& Name, Cardinal Size);
  virtual bool SaveToStream(TStream* Stream);

  void SetDataSize(Cardinal N);
  Cardinal GetDataSize() const { return DataSize; }
  Byte* GetData() { return Data.data(); }
  std::string GetName() const { return std::string(ChunkName, 4); }
  void SetName(const std::string& Name);
  TChunkIHDR* OwnerHeader() const;

  TPNGObject* Owner;
  char ChunkName[4] = {0, 0, 0, 0};

 protected:
  // The name is taken when it has exactly four characters.
  TChunk(TPNGObject* AOwner, const char* AName);
  bool WriteFramed(TStream* Stream);

  std::vector<Byte> Data = std::vector<Byte>(1, 0);  // one spare byte after the data
  Cardinal DataSize = 0;
};

class TChunkIEND : public TChunk {
 public:
  static constexpr const char* ClassChunkName = "IEND";
  explicit TChunkIEND(TPNGObject* AOwner) : TChunk(AOwner, ClassChunkName) {}
  std::string GetChunkName() const override { return ClassChunkName; }
  TChunkClass ClassInfo() const override { return ChunkClassOf<TChunkIEND>(); }
};

class TChunkIHDR : public TChunk {
 public:
  static constexpr const char* ClassChunkName = "IHDR";
  explicit TChunkIHDR(TPNGObject* AOwner);
  ~TChunkIHDR() override;
  std::string GetChunkName() const override { return ClassChunkName; }
  TChunkClass ClassInfo() const override { return ChunkClassOf<TChunkIHDR>(); }
  void Assign(TChunk* Source) override;
  bool LoadFromStream(TStream* Stream, const std::string& Name, Cardinal Size) override;
  bool SaveToStream(TStream* Stream) override;

  // Makes the DIB (and planes) for the header's values, all zero.
  void BuildDib();
  void FreeDib();
  // Copies up to 256 palette entries into the colour table and its used count.
  void LoadColorTable(HPALETTE Palette);
  Integer BitsPerPixel() const { return DibInfo.bmiHeader.biBitCount; }
  Byte* PixelRow(Integer Y) const { return Bits + static_cast<std::size_t>(RowStride) * (Height - 1 - Y); }
  Byte* LowByteRow(Integer Y) const {
    return LowBytes.empty()
               ? nullptr
               : const_cast<Byte*>(LowBytes.data()) + static_cast<std::size_t>(RowStride) * (Height - 1 - Y);
  }
  Byte* AlphaRow(Integer Y) const {
    return AlphaPlane.empty() ? nullptr
                              : const_cast<Byte*>(AlphaPlane.data()) + static_cast<std::size_t>(Width) * Y;
  }

  HBITMAP DibHandle = nullptr;
  HDC DibDC = nullptr;
  HPALETTE DibPalette = nullptr;
  bool PaletteBacked = false;
  BITMAPINFO DibInfo;
  std::vector<Byte> LowBytes;
  Byte* Bits = nullptr;  // the DIB section's
  std::vector<Byte> AlphaPlane;
  Cardinal Width = 0;
  Cardinal Height = 0;
  Byte BitDepth = 0;
  Byte ColorType = 0;
  Byte CompressionMethod = 0;
  Byte FilterMethod = 0;
  Byte InterlaceMethod = 0;
  Integer RowStride = 0;
};

class TChunkpHYs : public TChunk {
 public:
  static constexpr const char* ClassChunkName = "pHYs";
  explicit TChunkpHYs(TPNGObject* AOwner) : TChunk(AOwner, ClassChunkName) {}
  std::string GetChunkName() const override { return ClassChunkName; }
  TChunkClass ClassInfo() const override { return ChunkClassOf<TChunkpHYs>(); }
  void Assign(TChunk* Source) override;
  bool LoadFromStream(TStream* Stream, const std::string& Name, Cardinal Size) override;
  bool SaveToStream(TStream* Stream) override;

  Cardinal PixelsPerUnitX = 0;
  Cardinal PixelsPerUnitY = 0;
  Byte UnitSpecifier = 0;
};

class TChunkgAMA : public TChunk {
 public:
  static constexpr const char* ClassChunkName = "gAMA";
  explicit TChunkgAMA(TPNGObject* AOwner);
  std::string GetChunkName() const override { return ClassChunkName; }
  TChunkClass ClassInfo() const override { return ChunkClassOf<TChunkgAMA>(); }
  void Assign(TChunk* Source) override;
  bool LoadFromStream(TStream* Stream, const std::string& Name, Cardinal Size) override;
  Cardinal GetGamma();
  void SetGamma(Cardinal Value);
};

class TChunkPLTE : public TChunk {
 public:
  static constexpr const char* ClassChunkName = "PLTE";
  explicit TChunkPLTE(TPNGObject* AOwner) : TChunk(AOwner, ClassChunkName) {}
  std::string GetChunkName() const override { return ClassChunkName; }
  TChunkClass ClassInfo() const override { return ChunkClassOf<TChunkPLTE>(); }
  void Assign(TChunk* Source) override;
  bool LoadFromStream(TStream* Stream, const std::string& Name, Cardinal Size) override;
  bool SaveToStream(TStream* Stream) override;
  // The colour-table entry Index (blue in the low byte); EPngError beyond the entries.
  Cardinal Entry(Integer Index);

  Integer EntryCount = 0;
};

class TChunktRNS : public TChunk {
 public:
  static constexpr const char* ClassChunkName = "tRNS";
  explicit TChunktRNS(TPNGObject* AOwner) : TChunk(AOwner, ClassChunkName) {}
  std::string GetChunkName() const override { return ClassChunkName; }
  TChunkClass ClassInfo() const override { return ChunkClassOf<TChunktRNS>(); }
  void Assign(TChunk* Source) override;
  bool LoadFromStream(TStream* Stream, const std::string& Name, Cardinal Size) override;
  bool SaveToStream(TStream* Stream) override;
  TColor GetKeyColor();
  void SetKeyColor(TColor Color);

  bool KeyedOnly = false;
  std::array<Byte, 256> Alpha{};
};

class TChunkIDAT : public TChunk {
 public:
  static constexpr const char* ClassChunkName = "IDAT";
  explicit TChunkIDAT(TPNGObject* AOwner) : TChunk(AOwner, ClassChunkName) {}
  std::string GetChunkName() const override { return ClassChunkName; }
  TChunkClass ClassInfo() const override { return ChunkClassOf<TChunkIDAT>(); }
  // Decodes the whole image from this and the directly following IDAT chunks.
  bool LoadFromStream(TStream* Stream, const std::string& Name, Cardinal Size) override;
  // Encodes the image afresh as IDAT chunks of the owner's IdatLimit bytes.
  bool SaveToStream(TStream* Stream) override;
};

class TChunktIME : public TChunk {
 public:
  static constexpr const char* ClassChunkName = "tIME";
  explicit TChunktIME(TPNGObject* AOwner) : TChunk(AOwner, ClassChunkName) {}
  std::string GetChunkName() const override { return ClassChunkName; }
  TChunkClass ClassInfo() const override { return ChunkClassOf<TChunktIME>(); }
  void Assign(TChunk* Source) override;
  bool LoadFromStream(TStream* Stream, const std::string& Name, Cardinal Size) override;
  bool SaveToStream(TStream* Stream) override;

  Word Year = 0;
  Byte Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0;
};

class TChunktEXt : public TChunk {
 public:
  static constexpr const char* ClassChunkName = "tEXt";
  explicit TChunktEXt(TPNGObject* AOwner) : TChunk(AOwner, ClassChunkName) {}
  std::string GetChunkName() const override { return ClassChunkName; }
  TChunkClass ClassInfo() const override { return ChunkClassOf<TChunktEXt>(); }
  void Assign(TChunk* Source) override;
  bool LoadFromStream(TStream* Stream, const std::string& Name, Cardinal Size) override;
  bool SaveToStream(TStream* Stream) override;

  std::string Keyword;
  std::string Text;

 protected:
  TChunktEXt(TPNGObject* AOwner, const char* AName) : TChunk(AOwner, AName) {}
};

class TChunkzTXt : public TChunktEXt {
 public:
  static constexpr const char* ClassChunkName = "zTXt";
  explicit TChunkzTXt(TPNGObject* AOwner) : TChunktEXt(AOwner, ClassChunkName) {}
  std::string GetChunkName() const override { return ClassChunkName; }
  TChunkClass ClassInfo() const override { return ChunkClassOf<TChunkzTXt>(); }
  bool LoadFromStream(TStream* Stream, const std::string& Name, Cardinal Size) override;
  // False (nothing written) when the text cannot be compressed.
  bool SaveToStream(TStream* Stream) override;
};

// The chunk classes looked up by name, in registration order.
void RegisterChunkClass(TChunkClass Class);
void RegisterStandardChunks();
void FreeChunkClassRegistry();
// An object of the first registered class named exactly Name; a plain TChunk otherwise.
TChunk* NewChunkForName(TPNGObject* Owner, const std::string& Name);

enum TPngTransparency { ptNone, ptKeyColor, ptAlphaBlend };

// Filter types allowed when writing: bit n allows type n.
constexpr Byte pfNone = 1, pfSub = 2, pfUp = 4, pfAverage = 8, pfPaeth = 16;

class TPNGObject : public TGraphic {
 public:
  TPNGObject();
  ~TPNGObject() override;

  void Assign(TPersistent* Source) override;
  // Raises the errors of the chunks and the file structure; the chunks read before a failure
  // stay in the list.
  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;
  void LoadFromClipboardFormat(UINT AFormat, HANDLE AData, HPALETTE APalette) override;
  void SaveToClipboardFormat(UINT& AFormat, HANDLE& AData, HPALETTE& APalette) override;

  Integer GetWidth() override;
  Integer GetHeight() override;
  void SetWidth(Integer Value) override;
  void SetHeight(Integer Value) override;
  HPALETTE GetPalette() override;
  void SetPalette(HPALETTE Value) override;
  bool GetTransparent() override { return TransparencyKind() != ptNone; }

  TColor GetPixelColor(Integer X, Integer Y);
  void SetPixelColor(Integer X, Integer Y, TColor Color);
  void Resize(Integer NewWidth, Integer NewHeight);

  void ClearChunks();
  bool HasHeader() const;
  TChunkIHDR* HeaderChunk() const;
  TPngTransparency TransparencyKind();
  TColor KeyColor();
  void RowLayout(Integer& RowLength, Cardinal& FilterDistance) const;
  Byte* PixelRow(Integer Y) const { return HeaderChunk()->PixelRow(Y); }
  Byte* AlphaRow(Integer Y) const { return HeaderChunk()->AlphaRow(Y); }
  Byte* LowByteRow(Integer Y) const { return HeaderChunk()->LowByteRow(Y); }
  // Installs Palette (owned from now on) into a DIB with a colour table, its entries copied
  // into the table when CopyEntries is set; nothing for 24-bit images.
  void ReplacePalette(HPALETTE Palette, bool CopyEntries);
  void CopyFromPng(TPNGObject* Source);
  void AssignBitmapHandle(HBITMAP Handle, bool Transparent, COLORREF KeyColor);
  void SetIdatLimit(Integer Value) { IdatLimit = Value < 65535 ? 65535 : Value; }
  Integer GetIdatLimit() const { return IdatLimit; }
  TPNGList* GetChunks() const { return ChunkList.get(); }
  TCanvas* GetCanvas() const { return ImageCanvas.get(); }
  void ResetGamma();

  std::array<Byte, 256> EncodeGamma{};
  std::unique_ptr<TCanvas> ImageCanvas;
  Byte FilterSet = pfSub;
  Byte DeflateLevel = 7;
  Integer IdatLimit = 65535;
  Byte InterlaceKind = 0;
  std::unique_ptr<TPNGList> ChunkList;
  std::array<Byte, 256> DecodeGamma{};

 protected:
  void AssignTo(TPersistent* Dest) override;
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;
  bool GetEmpty() override { return ChunkList->GetCount() == 0; }

 private:
  TPixelFormat BitmapFormatFor();
  void DrawKeyedDib(HDC DC, const TRect& Rect, COLORREF Key);
  void DrawAlpha(HDC DC, TRect Rect);
};

// The unit's start-up (registration of the chunk classes and of "PNG") and shut-down; the
// start-up runs when the program starts, counted, so calling them again is harmless.
void PngImageStartup();
void PngImageShutdown();

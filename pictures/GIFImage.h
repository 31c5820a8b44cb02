#pragma once
// TGIFImage: GIF87a/GIF89a pictures for TPicture. A picture is a logical screen (TGIFHeader
// with the global colour table) and an ordered list of frames (TGIFSubImage), each with its
// extension blocks. Frames keep 8-bit colour indexes; bitmaps, masks and palettes made from
// them are caches dropped by any change. Animated drawing runs TGIFPainter threads that paint
// through TThread::Synchronize.
//
// Errors raise GIFException (an EInvalidGraphic); recoverable faults go to OnGIFWarning with
// severity 1 and the work goes on.
#include <array>
#include <atomic>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "pictures/GIFImageDIB.h"
#include "platform/classes/Bitmap.h"
#include "platform/classes/Canvas.h"
#include "platform/classes/Graphic.h"
#include "platform/system/Delegates.h"
#include "platform/system/KernelObjects.h"
#include "platform/system/Lists.h"
#include "platform/system/StringList.h"
#include "platform/system/Threads.h"

class TGIFImage;
class TGIFSubImage;
class TGIFPainter;
class TGIFGraphicControlExtension;

enum TProgressStage { psStarting, psRunning, psEnding };
using TProgressEvent = TDelegate<void(TObject* Sender, TProgressStage Stage, Byte PercentDone, bool RedrawNow,
                                      const TRect& R, const std::string& Msg)>;
using TGIFWarning = TDelegate<void(TObject* Sender, Byte Severity, const std::string& Message)>;

using TGIFPaintFlags = Word;
constexpr TGIFPaintFlags gpThreaded = 0x0001;
constexpr TGIFPaintFlags gpTransparent = 0x0002;
constexpr TGIFPaintFlags gpAnimate = 0x0004;
constexpr TGIFPaintFlags gpRepeat = 0x0008;
constexpr TGIFPaintFlags gpRepeatForever = 0x0010;
constexpr TGIFPaintFlags gpCheckCanvas = 0x0020;
constexpr TGIFPaintFlags gpDirect = 0x0040;
constexpr TGIFPaintFlags gpClearOnRestart = 0x0080;
constexpr TGIFPaintFlags gpTiled = 0x0100;
constexpr TGIFPaintFlags gpDither = 0x0200;
constexpr TGIFPaintFlags gpAutoDither = 0x0400;

using TGIFCompactFlags = Byte;
constexpr TGIFCompactFlags cfCrop = 0x01;
constexpr TGIFCompactFlags cfMerge = 0x02;
constexpr TGIFCompactFlags cfTidy = 0x04;
constexpr TGIFCompactFlags cfColorMaps = 0x08;
constexpr TGIFCompactFlags cfReduce = 0x10;
constexpr TGIFCompactFlags cfAll = 0x1F;

enum TGIFEncoding : Byte { geLZW = 0, geRLE = 1 };

// Defaults read by every new picture; an application may change them first.
extern TGIFPaintFlags GIFImageDefaultPaintFlags;   // 0x068F
extern Byte GIFImageDefaultColorReduction;         // crWeb216
extern Integer GIFImageDefaultColorReductionBits;  // 8
extern Byte GIFImageDefaultDitherMode;             // dkNone
extern TGIFEncoding GIFImageDefaultEncoding;       // geLZW
extern Byte GIFImageDefaultThreadPriority;         // tpNormal
extern Integer GIFImageDefaultAnimationSpeed;      // 100
// Set at start-up from the screen: true on 8-bit and lower displays.
extern bool ScreenNeedsDither;
extern bool ScreenIsPaletted;
extern UINT GIFClipboardFormat;
extern bool RenderFramesOnLoad;
extern bool CompactOnStream;

constexpr Integer LargeFramePixels = 500000;
// Milliseconds per delay unit and the delay limits, in delay units.
constexpr Integer DelayToMs = 12;
constexpr Integer DefaultFrameDelay = 10;
constexpr Integer MinFrameDelay = 3;
constexpr Integer MaxFrameDelay = 1000;

// Registers GIF with TPicture (extension "GIF", clipboard format "GIF Image"); counted, so
// nested calls are harmless. The library does it at start-up.
void GIFImageStartup();
void GIFImageShutdown();

#pragma pack(push, 1)
struct TGIFScreenRecord {
  Word Width = 0;
  Word Height = 0;
  Byte Flags = 0;
  Byte BackgroundIndex = 0;
  Byte PixelAspect = 0;
};
struct TGIFFrameRecord {
  Byte Separator = ',';
  Word Left = 0;
  Word Top = 0;
  Word Width = 0;
  Word Height = 0;
  Byte Flags = 0;
};
#pragma pack(pop)
static_assert(sizeof(TGIFScreenRecord) == 7 && sizeof(TGIFFrameRecord) == 10);

// Every stored part of a picture.
class TGIFItem : public TPersistent {
 public:
  explicit TGIFItem(TGIFImage* AImage) : FImage(AImage) {}
  virtual Integer RequiredVersion() { return 1; }
  virtual void Warn(Byte Severity, const std::string& Message);
  virtual void SaveToStream(TStream* Stream) = 0;
  virtual void LoadFromStream(TStream* Stream) = 0;
  virtual void StoreToFile(const std::string& FileName);
  virtual void FetchFromFile(const std::string& FileName);
  TGIFImage* GetImage() const { return FImage; }

 protected:
  TGIFImage* FImage;
};

// An owned list of items. Delete and Clear free; Remove only unlinks.
class TGIFList : public TPersistent {
 public:
  explicit TGIFList(TGIFImage* AImage) : FImage(AImage) {}
  ~TGIFList() override { Clear(); }
  virtual void Warn(Byte Severity, const std::string& Message);
  virtual void SaveItems(TStream* Stream);
  virtual void ReadItems(TStream* Stream, TPersistent* Parent) = 0;

  Integer Add(TGIFItem* Item);
  void Insert(Integer Index, TGIFItem* Item);
  void Delete(Integer Index);
  void Clear();
  void Remove(TGIFItem* Item);
  Integer IndexOf(const TGIFItem* Item) const;
  Integer Count() const { return static_cast<Integer>(FItems.size()); }
  TGIFItem* Item(Integer Index) const { return FItems[static_cast<std::size_t>(Index)].get(); }
  TGIFImage* GetImage() const { return FImage; }

 protected:
  TGIFImage* FImage;
  std::vector<std::unique_ptr<TGIFItem>> FItems;
};

struct TGIFColor {
  Byte Red = 0;
  Byte Green = 0;
  Byte Blue = 0;
  constexpr bool operator==(const TGIFColor&) const = default;
};

// One GIF colour table (at most 256 entries). Colours in and out are TColor 0x00BBGGRR.
class TGIFColorMap : public TPersistent {
 public:
  struct TUsageCount {
    Integer Count = 0;
    Integer Index = 0;
  };
  void Reset();
  void Reserve(Integer Count);
  Integer AddColor(TColor Color);
  Integer AddUniqueColor(TColor Color);
  Integer FindColor(TColor Color) const;
  void DeleteColor(Integer Index);
  TColor ColorAt(Integer Index);
  void SetColorAt(Integer Index, TColor Color);
  void FromPalette(HPALETTE Palette);
  void FromRGBQuads(const RGBQUAD* Quads, Integer Count);
  void FromDIBColors(HDC DC);
  HPALETTE ToPalette() const;
  Integer Depth() const { return BitsForColorCount(Count()); }
  Integer Count() const { return static_cast<Integer>(FColors.size()); }
  const TGIFColor& Entry(Integer Index) const { return FColors[static_cast<std::size_t>(Index)]; }
  bool UsageSorted() const { return FUsageSorted; }
  void SetUsageSorted(bool Value) { FUsageSorted = Value; }
  // Count entries read exactly ("Premature end of data"); writes pad to 2^Depth entries.
  void LoadFromStream(TStream* Stream, Integer Count);
  void SaveToStream(TStream* Stream) const;
  void Assign(TPersistent* Source) override;

  virtual void Warn(Byte Severity, const std::string& Message) = 0;
  // One (count, index) pair per entry, counting the pixels of the frames that use the table.
  virtual void CountUse(std::vector<TUsageCount>& Counts) = 0;
  // Rewrites the pixels (and transparent indexes) through Map (old index -> new index).
  virtual void Remap(const std::vector<Byte>& Map) = 0;
  virtual bool SortByUse();
  virtual void ColorsChanged() = 0;

 protected:
  std::vector<TGIFColor> FColors;
  Integer FCapacity = 0;
  bool FUsageSorted = false;
};

class TGIFHeader;

class TGIFGlobalColorMap : public TGIFColorMap {
 public:
  explicit TGIFGlobalColorMap(TGIFHeader* AHeader) : FHeader(AHeader) {}
  void Warn(Byte Severity, const std::string& Message) override;
  void CountUse(std::vector<TUsageCount>& Counts) override;
  void Remap(const std::vector<Byte>& Map) override;
  bool SortByUse() override;
  void ColorsChanged() override;

 private:
  TGIFHeader* FHeader;
};

class TGIFLocalColorMap : public TGIFColorMap {
 public:
  explicit TGIFLocalColorMap(TGIFSubImage* ASubImage) : FSubImage(ASubImage) {}
  void Warn(Byte Severity, const std::string& Message) override;
  void CountUse(std::vector<TUsageCount>& Counts) override;
  void Remap(const std::vector<Byte>& Map) override;
  void ColorsChanged() override;

 private:
  TGIFSubImage* FSubImage;
};

// The logical screen descriptor and the global colour table.
class TGIFHeader : public TGIFItem {
 public:
  explicit TGIFHeader(TGIFImage* AImage);
  ~TGIFHeader() override;
  Integer RequiredVersion() override;
  void SaveToStream(TStream* Stream) override;
  void LoadFromStream(TStream* Stream) override;
  void Assign(TPersistent* Source) override;
  void Clear();
  void PackFlags();

  TGIFScreenRecord Screen;
  TGIFGlobalColorMap* ColorMap() const { return FColorMap.get(); }

 private:
  std::unique_ptr<TGIFGlobalColorMap> FColorMap;
};

class TGIFTrailer : public TGIFItem {
 public:
  using TGIFItem::TGIFItem;
  void SaveToStream(TStream* Stream) override;
  void LoadFromStream(TStream* Stream) override;
};

class TGIFExtension;
struct TGIFExtensionClassRec;
// The class of an extension as a value: its virtual constructor and class methods.
using TGIFExtensionClass = const TGIFExtensionClassRec*;
struct TGIFExtensionClassRec {
  const char* Name;
  TGIFExtension* (*Create)(TGIFSubImage* SubImage);
  // The class that should read the block after the label (the stream position is restored).
  TGIFExtensionClass (*ResolveClass)(TStream* Stream);
};

class TGIFExtension : public TGIFItem {
 public:
  explicit TGIFExtension(TGIFSubImage* ASubImage);
  ~TGIFExtension() override;
  Integer RequiredVersion() override { return 2; }
  virtual Byte ExtensionLabel() const = 0;
  virtual TGIFExtensionClass ClassRef() const = 0;
  // Writes "!" and the label / reads and checks them.
  void SaveToStream(TStream* Stream) override;
  void LoadFromStream(TStream* Stream) override;
  TGIFSubImage* GetSubImage() const { return FSubImage; }
  // Stream after "!": the class for the block, or null.
  static TGIFExtensionClass IdentifyExtension(TStream* Stream);

 protected:
  TGIFSubImage* FSubImage;
};

class TGIFGraphicControlExtension : public TGIFExtension {
 public:
  static const TGIFExtensionClassRec ClassInfo;
  explicit TGIFGraphicControlExtension(TGIFSubImage* ASubImage);
  ~TGIFGraphicControlExtension() override;
  Byte ExtensionLabel() const override { return 0xF9; }
  TGIFExtensionClass ClassRef() const override { return &ClassInfo; }
  void SaveToStream(TStream* Stream) override;
  void LoadFromStream(TStream* Stream) override;

  bool GetTransparent() const { return (FPacked & 0x01) != 0; }
  void SetTransparent(bool Value);
  bool GetUserInput() const { return (FPacked & 0x02) != 0; }
  Byte GetDisposalMethod() const { return (FPacked >> 2) & 7; }
  void SetDisposalMethod(Byte Value) { FPacked = static_cast<Byte>((FPacked & ~0x1C) | ((Value & 7) << 2)); }
  Word GetDelayTime() const { return FDelayTime; }
  void SetDelayTime(Word Value) { FDelayTime = Value; }
  Byte GetTransparentIndex() const { return FTransparentIndex; }
  // An index outside a non-empty ActiveColors warns "Invalid color index" and stores 0.
  void SetTransparentIndex(Byte Value);

 private:
  Byte FBlockSize = 4;
  Byte FPacked = 0;
  Word FDelayTime = 0;
  Byte FTransparentIndex = 0;
  Byte FTerminator = 0;
};

#pragma pack(push, 1)
struct TGIFPlainTextRecord {
  Byte BlockSize = 12;
  Word Left = 0;
  Word Top = 0;
  Word Width = 0;
  Word Height = 0;
  Byte CellWidth = 0;
  Byte CellHeight = 0;
  Byte TextFGColorIndex = 0;
  Byte TextBGColorIndex = 0;
};
#pragma pack(pop)
static_assert(sizeof(TGIFPlainTextRecord) == 13);

class TGIFTextExtension : public TGIFExtension {
 public:
  static const TGIFExtensionClassRec ClassInfo;
  explicit TGIFTextExtension(TGIFSubImage* ASubImage);
  Byte ExtensionLabel() const override { return 0x01; }
  TGIFExtensionClass ClassRef() const override { return &ClassInfo; }
  void SaveToStream(TStream* Stream) override;
  void LoadFromStream(TStream* Stream) override;
  TGIFPlainTextRecord PlainText;
  TStringList* Lines() const { return FLines.get(); }

 private:
  std::unique_ptr<TStringList> FLines;
};

class TGIFCommentExtension : public TGIFExtension {
 public:
  static const TGIFExtensionClassRec ClassInfo;
  explicit TGIFCommentExtension(TGIFSubImage* ASubImage);
  Byte ExtensionLabel() const override { return 0xFE; }
  TGIFExtensionClass ClassRef() const override { return &ClassInfo; }
  void SaveToStream(TStream* Stream) override;
  void LoadFromStream(TStream* Stream) override;
  TStringList* Lines() const { return FLines.get(); }

 private:
  std::unique_ptr<TStringList> FLines;
};

using TGIFApplicationRec = std::array<Byte, 11>;

class TGIFApplicationExtension : public TGIFExtension {
 public:
  static const TGIFExtensionClassRec ClassInfo;
  using TGIFExtension::TGIFExtension;
  Byte ExtensionLabel() const override { return 0xFF; }
  void SaveToStream(TStream* Stream) override;
  void LoadFromStream(TStream* Stream) override;
  virtual void SavePayload(TStream* Stream) = 0;
  virtual void LoadPayload(TStream* Stream) = 0;
  TGIFApplicationRec Ident{};
};

class TGIFUnknownAppExtension : public TGIFApplicationExtension {
 public:
  static const TGIFExtensionClassRec ClassInfo;
  using TGIFApplicationExtension::TGIFApplicationExtension;
  TGIFExtensionClass ClassRef() const override { return &ClassInfo; }
  void SavePayload(TStream* Stream) override;
  void LoadPayload(TStream* Stream) override;
  std::vector<std::vector<Byte>> RawBlocks;
};

// The looping block ("NETSCAPE2.0" or "ANIMEXTS1.0").
class TGIFAppExtNSLoop : public TGIFApplicationExtension {
 public:
  static const TGIFExtensionClassRec ClassInfo;
  explicit TGIFAppExtNSLoop(TGIFSubImage* ASubImage);
  TGIFExtensionClass ClassRef() const override { return &ClassInfo; }
  void SavePayload(TStream* Stream) override;
  void LoadPayload(TStream* Stream) override;
  Word LoopCount = 0;
  Cardinal StreamBufferSize = 0;
};

// Later registrations of a key win.
void RegisterExtension(Byte Label, TGIFExtensionClass AClass);
void RegisterAppExtension(const TGIFApplicationRec& Ident, TGIFExtensionClass AClass);

class TGIFExtensionList : public TGIFList {
 public:
  explicit TGIFExtensionList(TGIFSubImage* ASubImage);
  void ReadItems(TStream* Stream, TPersistent* Parent) override;
  TGIFExtension* Extension(Integer Index) const { return static_cast<TGIFExtension*>(Item(Index)); }
};

class TGIFImageList : public TGIFList {
 public:
  using TGIFList::TGIFList;
  void ReadItems(TStream* Stream, TPersistent* Parent) override;
  TGIFSubImage* SubImage(Integer Index) const;
};

// One frame.
class TGIFSubImage : public TGIFItem {
 public:
  explicit TGIFSubImage(TGIFImage* AImage);
  ~TGIFSubImage() override;
  Integer RequiredVersion() override;
  void SaveToStream(TStream* Stream) override;
  void LoadFromStream(TStream* Stream) override;
  void Assign(TPersistent* Source) override;

  void Reset();
  bool IsEmpty() const;
  Integer GetLeft() const { return Descriptor.Left; }
  Integer GetTop() const { return Descriptor.Top; }
  Integer GetWidth() const { return Descriptor.Width; }
  Integer GetHeight() const { return Descriptor.Height; }
  void SetLeft(Integer Value) { PlaceFrame(Value, GetTop(), GetWidth(), GetHeight()); }
  void SetTop(Integer Value) { PlaceFrame(GetLeft(), Value, GetWidth(), GetHeight()); }
  void SetWidth(Integer Value) { PlaceFrame(GetLeft(), GetTop(), Value, GetHeight()); }
  void SetHeight(Integer Value) { PlaceFrame(GetLeft(), GetTop(), GetWidth(), Value); }
  TRect FrameRect() const;
  void PlaceFrame(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight);
  bool GetInterlaced() const { return (Descriptor.Flags & 0x40) != 0; }
  void SetInterlaced(bool Value) {
    Descriptor.Flags = static_cast<Byte>(Value ? Descriptor.Flags | 0x40 : Descriptor.Flags & ~0x40);
  }

  void AllocPixels();
  void RequirePixels();
  Byte PixelAt(Integer X, Integer Y);
  Byte* RowAt(Integer Y);
  Byte* Data() { return FPixels.empty() ? nullptr : FPixels.data(); }
  Integer PixelCount() const { return static_cast<Integer>(FPixels.size()); }

  TGIFColorMap* ActiveColors();
  TGIFLocalColorMap* LocalColors() const { return FLocalColors.get(); }
  TGIFExtensionList* ExtensionBlocks() const { return FExtensions.get(); }
  TGIFGraphicControlExtension* ControlExt() const { return FControlExt; }
  bool HasTransparency() const { return FHasTransparency; }

  HPALETTE ResolvePalette();
  void ReplacePalette(HPALETTE Palette);
  // The rendered frame (rendered on demand); null for an empty frame.
  TBitmap* FrameImage();
  bool HasMaskBitmap();
  HBITMAP GetMaskBitmap() const { return FMaskBitmap; }
  void DropBitmaps();
  void PaintTo(TCanvas* Canvas, const TRect& Rect, bool Transparent, bool Tiled);
  void PaintScaled(TCanvas* Canvas, const TRect& Rect, bool Tiled, bool Transparent);
  TRect MapToRect(const TRect& Rect);
  void PackFlags();

  // Image data (LZW codes in sub-blocks).
  void Decode(TStream* Stream);
  void Encode(TStream* Stream);

  // Optimisation helpers.
  void TrimTransparent();
  void HideUnchanged(TGIFSubImage* Previous);

  TGIFFrameRecord Descriptor;

 protected:
  void AssignTo(TPersistent* Dest) override;

 private:
  friend class TGIFGraphicControlExtension;
  friend class TGIFImage;
  void RenderFrame(bool Dithered);
  void AssignFromFrame(TGIFSubImage* Source);
  void AssignFromBitmap(TBitmap* Source);
  void AssignFromGraphic(TGraphic* Source);
  void ApplyMask(TBitmap* Mask);
  void FreeMask();
  void Progress(TProgressStage Stage, Byte Percent, bool RedrawNow, const std::string& Msg);

  std::unique_ptr<TBitmap> FFrameBitmap;
  HBITMAP FMaskBitmap = nullptr;
  bool FMaskStale = true;
  HPALETTE FFramePalette = nullptr;
  std::vector<Byte> FPixels;
  std::unique_ptr<TGIFLocalColorMap> FLocalColors;
  std::unique_ptr<TGIFExtensionList> FExtensions;
  bool FHasTransparency = false;
  TGIFGraphicControlExtension* FControlExt = nullptr;
};

class TGIFImage : public TGraphic {
  friend class TGIFPainter;
  friend class TGIFSubImage;

 public:
  TGIFImage();
  ~TGIFImage() override;

  void Assign(TPersistent* Source) override;
  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;
  void LoadFromClipboardFormat(UINT AFormat, HANDLE AData, HPALETTE APalette) override;
  void SaveToClipboardFormat(UINT& AFormat, HANDLE& AData, HPALETTE& APalette) override;
  bool Equals(TGraphic* Graphic) override { return Graphic == this; }
  Integer GetWidth() override { return FHeader->Screen.Width; }
  Integer GetHeight() override { return FHeader->Screen.Height; }
  void SetWidth(Integer Value) override;
  void SetHeight(Integer Value) override;
  HPALETTE GetPalette() override;
  void SetPalette(HPALETTE Value) override;

  void Reset();
  Integer AppendFrame(TPersistent* Source);
  void FitScreenToFrames();
  Integer FileVersion();
  Integer MaxColorResolution();
  Integer MaxBitsPerPixel();
  TColor ScreenBackground();
  TGIFColorMap* ScreenColors() const { return FHeader->ColorMap(); }
  bool DitherActive() const;
  TBitmap* StillBitmap();
  TBitmap* MakeBackBitmap();
  void DropBackBitmap();
  TGIFPainter* StartPainter(TGIFPainter*& Slot, TCanvas* Canvas, TGIFPaintFlags Flags, const TRect& Rect);
  void HaltAllPainters();
  void HaltDrawPainter();
  virtual void Warn(TObject* Sender, Byte Severity, const std::string& Message);
  void Compact(TGIFCompactFlags Flags, Byte Method, Byte DitherMode, Integer Depth);
  // Reports through OnProgress (the platform's TGraphic.Progress).
  void Progress(TObject* Sender, TProgressStage Stage, Byte PercentDone, bool RedrawNow,
                const std::string& Msg);
  // Public form of Draw for painters and tests; the canvas calls Draw.
  void DrawTo(TCanvas* ACanvas, const TRect& Rect) { Draw(ACanvas, Rect); }
  void NotifyChanged(TObject* Sender) { Changed(Sender); }

  TGIFImageList* Frames() const { return FFrames.get(); }
  TGIFHeader* Header() const { return FHeader.get(); }
  TThreadList* PainterList() const { return FPainterList.get(); }
  TBitmap* GetBackBitmap() const { return FBackBitmap.get(); }
  TGIFPainter* GetActivePainter() const { return FActivePainter; }

  TGIFPaintFlags PaintFlags;
  Byte ReductionMethod;
  Integer ReductionDepth;
  Byte DitherKind;
  TGIFEncoding Encoding;
  TGIFWarning OnGIFWarning;
  Byte PainterPriority;
  Integer SpeedPercent;
  Integer StillFrame = -1;
  TColor BackdropColor;
  TNotifyEvent OnPainterStart;
  TNotifyEvent OnBeforeFrame;
  TNotifyEvent OnAfterFrame;
  TNotifyEvent OnRepeat;
  TNotifyEvent OnPainterEnd;
  TProgressEvent OnProgress;
  bool PaletteModified = false;

 protected:
  void AssignTo(TPersistent* Dest) override;
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;
  bool GetEmpty() override { return FFrames->Count() == 0; }
  void WriteData(TStream* Stream) override;

 private:
  void HookedChanged(TObject* Sender) { Changed(Sender); }
  void PutBackBitmap(TCanvas* ACanvas, const TRect& Rect);
  void HaltPainters(bool OnlyActive);

  bool FInDraw = false;
  bool FInPaletteQuery = false;
  std::unique_ptr<TGIFImageList> FFrames;
  std::unique_ptr<TGIFHeader> FHeader;
  HPALETTE FScreenPalette = nullptr;
  std::unique_ptr<TThreadList> FPainterList;
  std::unique_ptr<TBitmap> FBackBitmap;
  TGIFPainter* FActivePainter = nullptr;
};

// Shows a picture on one canvas rectangle: frames with their delays and disposal, repeated by
// the looping block's count. Threaded painters free themselves when they end.
class TGIFPainter : public TThread {
  friend class TGIFImage;

 public:
  TGIFPainter(TGIFImage* AImage, TGIFPaintFlags AFlags, const TRect& ARect, TCanvas* ACanvas,
              TGIFPainter** ASlot = nullptr);
  ~TGIFPainter() override;
  void Launch();
  void StopPainting();
  void Detach(TObject* Sender = nullptr);
  void Fire(const TNotifyEvent& Event);
  void PaintPlain();
  void PaintFrame();
  // Runs the loop in the calling thread (painters that are not threaded).
  void RunInline() { Execute(); }

  Integer GetActiveFrame() const { return FActiveFrame; }
  void SetActiveFrame(Integer Value) { FActiveFrame = Value; }
  void SetRestart() { FRestart = true; }
  TGIFImage* GetImage() const { return FImage; }
  TCanvas* GetCanvas() const { return FCanvas; }
  const TRect& GetRect() const { return FRect; }
  TGIFPaintFlags GetFlags() const { return FFlags; }
  bool IsThreaded() const { return (FFlags & gpThreaded) != 0; }
  // The exception that ended the loop, handed over once.
  std::exception_ptr TakeKeptException() { return std::exchange(FKeptException, nullptr); }

  TNotifyEvent OnPainterStart;
  TNotifyEvent OnBeforeFrame;
  TNotifyEvent OnAfterFrame;
  TNotifyEvent OnRepeat;
  TNotifyEvent OnPainterEnd;

 protected:
  void Execute() override;

 private:
  void Run();
  void SyncCall(const std::function<void()>& Call);
  void WaitForFrame(Integer Delay, Int64& DelayStart, Integer& PreviousDelay);
  void RestoreBackdrop(TBitmap* Target);
  bool Halted() const { return GetTerminated() || FRestart; }

  TGIFImage* FImage;
  TCanvas* FCanvas;
  TRect FRect;
  TGIFPaintFlags FFlags;
  Integer FSpeed;
  Integer FActiveFrame = -1;
  Byte FDisposal = 0;
  Byte FPreviousDisposal = 0;
  std::unique_ptr<TBitmap> FBackup;
  std::unique_ptr<TBitmap> FScratch;
  std::unique_ptr<TBitmap> FBackdrop;
  HDC FCanvasDC = nullptr;
  std::atomic<bool> FRestart{false};
  // Written by the painter thread and by painting on the main thread; Draw polls it.
  std::atomic<bool> FStarted{false};
  TGIFPainter** FPainterSlot;
  HANDLE FWakeEvent = nullptr;
  std::exception_ptr FKeptException;
  TColor FBackgroundColor;

 public:
  bool GetStarted() const { return FStarted; }
};

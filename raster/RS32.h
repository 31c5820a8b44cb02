#pragma once
// The raster bitmap: TBitmap32 keeps width x height TColor32 pixels, rows top-down without
// gaps, in a platform DIB section, so that platform drawing (canvas, blits) and the library's
// pixel code share the same memory. It carries the settings that decide how it is drawn onto
// another bitmap, tells observers about every change and has a lock of its own.
//
// Class chain: TNotifiablePersistent (change events with update nesting) -> TThreadPersistent
// (the lock) -> TCustomMap (width and height) -> TBitmap32.
#include <atomic>
#include <cassert>
#include <memory>
#include <string>

#include "platform/gdi/BitmapInfo.h"
#include "platform/gdi/GdiObject.h"
#include "platform/system/Delegates.h"
#include "platform/system/Persistent.h"
#include "platform/system/Streams.h"
#include "platform/system/SyncObjs.h"
#include "raster/RS32_Types.h"

class TCanvas;
class TFont;
class TBitmap;
class TGraphic;
class TPicture;
class TCustomResampler;

// Combines foreground F into background B under master alpha M (draw mode dmCustom).
using TPixelCombineEvent = TDelegate<void(TColor32 F, TColor32& B, TColor32 M)>;
// Info AreaInfoRect says that Area is a rectangle.
using TAreaChangedEvent = TDelegate<void(TObject* Sender, const TRect& Area, Cardinal Info)>;
constexpr Cardinal AreaInfoRect = 0x80000000;

// Change notification with update nesting. EndUpdate does not call Changed: callers that
// batch changes call it themselves afterwards.
class TNotifiablePersistent : public TPersistent {
 public:
  virtual void Changed();
  virtual void BeginUpdate();
  // Raises EAssertionFailed when not paired with a BeginUpdate; the depth stays unchanged.
  virtual void EndUpdate();
  Integer GetUpdateDepth() const { return FUpdateDepth; }

  TNotifyEvent OnChange;

 private:
  Integer FUpdateDepth = 0;
};

// A persistent object with a re-entrant lock. LockDepth counts Lock calls not yet matched by
// Unlock; it changes only by interlocked operations so that it can be read without the lock.
class TThreadPersistent : public TNotifiablePersistent {
 public:
  TThreadPersistent();
  ~TThreadPersistent() override;
  void Lock();
  void Unlock();
  Integer GetLockDepth() const;
  CRITICAL_SECTION* GetLockSection() { return &FLockSection; }

 private:
  CRITICAL_SECTION FLockSection;
  std::atomic<LONG> FLockDepth = 0;
};

// Width and height of a two-dimensional store.
class TCustomMap : public TThreadPersistent {
 public:
  Integer GetWidth() const { return FWidth; }
  Integer GetHeight() const { return FHeight; }
  // Negative sizes become 0. The same size again returns False and does nothing; otherwise
  // ResizeStorage, Changed and SizeChanged run and the result is True.
  virtual bool SetSize(Integer NewWidth, Integer NewHeight);
  virtual void Delete();
  virtual bool Empty() const;

  TNotifyEvent OnResize;

 protected:
  virtual void ResizeStorage(Integer& Width, Integer& Height, Integer NewWidth, Integer NewHeight);
  virtual void SizeChanged();

 private:
  Integer FHeight = 0;
  Integer FWidth = 0;
};

class TBitmap32 : public TCustomMap {
 public:
  TBitmap32();
  ~TBitmap32() override;

  // From nil (empties), a TBitmap32 (pixels and settings), a platform TBitmap (pixels, with
  // alpha 255 unless it is a 32-bit one), a TPicture or any other TGraphic (drawn). Anything
  // else raises the platform's conversion error.
  void Assign(TPersistent* Source) override;
  void Changed() override;
  bool Empty() const override;

  TRect BoundsRect() const { return {0, 0, GetWidth(), GetHeight()}; }
  // The pixels, row 0 first; nullptr while there is no surface.
  TColor32* GetPixels() const { return FPixels; }
  TColor32* RowAddress(Integer Y) const { return FPixels + static_cast<NativeInt>(Y) * GetWidth(); }
  TColor32* PixelAddress(Integer X, Integer Y) const { return RowAddress(Y) + X; }
  // Unchecked read; the bounds are asserted in debug builds only.
  TColor32 Pixel(Integer X, Integer Y) const {
    assert(X >= 0 && Y >= 0 && X < GetWidth() && Y < GetHeight());
    return *PixelAddress(X, Y);
  }
  // The pixel inside the clip rectangle, else OuterColor.
  TColor32 PixelClipped(Integer X, Integer Y) const;
  // The pixel at the coordinates wrapped into the clip rectangle by WrapMode; OuterColor when
  // the clip rectangle is empty.
  TColor32 WrappedPixel(Integer X, Integer Y) const;

  // Bilinear reads. 24.8 coordinates; the unchecked form reads the pixel and its right, lower
  // and lower-right neighbours, so the caller keeps X below (Width - 1) x 256 and Y below
  // (Height - 1) x 256.
  TColor32 InterpolatedPixel256(Integer X, Integer Y) const;
  TColor32 InterpolatedPixel256Clipped(Integer X, Integer Y) const;
  // 16.16 coordinates.
  TColor32 InterpolatedPixelFixed(TFixed16 X, TFixed16 Y) const;
  TColor32 InterpolatedPixelFixedClipped(TFixed16 X, TFixed16 Y) const;
  TColor32 WrappedInterpolatedPixel(TFixed16 X, TFixed16 Y) const;

  // Fills the bitmap, or only the clip rectangle while clipping; nothing at all when empty.
  void Clear(TColor32 Color);
  // Unclipped: the caller guarantees X1 <= X2, Y1 <= Y2 and a rectangle inside the bounds.
  void FillRect(Integer X1, Integer Y1, Integer X2, Integer Y2, TColor32 Value);
  // Fills the part of [X1, X2) x [Y1, Y2) inside the clip rectangle and reports the area.
  void FillRectClipped(Integer X1, Integer Y1, Integer X2, Integer Y2, TColor32 Value);
  void SetAlphaChannel(Byte Value = 255);

  // The clip rectangle lies always inside the bounds; setting it sends no notification.
  const TRect& GetClipRect() const { return FClipRect; }
  void SetClipRect(const TRect& Value);
  void ResetClipRect();
  const TRectFixed& GetClipRectFixed() const { return FClipRectFixed; }
  const TRect& GetClipRect256() const { return FClipRect256; }
  bool GetClipping() const { return FClipping; }

  TDrawMode GetDrawMode() const { return FDrawMode; }
  void SetDrawMode(TDrawMode Value);
  TCombineMode GetCombineMode() const { return FCombineMode; }
  void SetCombineMode(TCombineMode Value);
  TWrapMode GetWrapMode() const { return FWrapMode; }
  void SetWrapMode(TWrapMode Value);
  Cardinal GetMasterAlpha() const { return FMasterAlpha; }
  void SetMasterAlpha(Cardinal Value);
  // The colour of every read outside the clip rectangle and the colour key of dmTransparent.
  TColor32 GetOuterColor() const { return FOuterColor; }
  void SetOuterColor(TColor32 Value) { FOuterColor = Value; }

  // Owned by the bitmap, never nil.
  TCustomResampler* GetResampler() const { return FResampler.get(); }
  // Frees the current resampler and takes Value; nil or the current one is ignored.
  void SetResampler(TCustomResampler* Value);
  std::string GetResamplerClassName() const;
  // Creates a resampler of the registered class of that exact name; an empty name, the
  // current name or an unknown one changes nothing.
  void SetResamplerClassName(const std::string& Value);

  HBITMAP GetSurfaceHandle() const { return FSurfaceHandle; }
  HDC GetSurfaceDC() const { return FSurfaceDC; }
  const BITMAPINFO& GetSurfaceInfo() const { return FSurfaceInfo; }

  // Draws the whole bitmap into DstRect of Dst with the resampler, draw mode and combine
  // callback, clipped by Dst's clip rectangle.
  void DrawInto(TBitmap32* Dst, const TRect& DstRect);
  // Copies the pixels unscaled to (X, Y) of DC; nothing when empty.
  void DrawOntoDC(HDC DC, Integer X, Integer Y);

  // A platform canvas on the surface, made on first use; drawing through it fires Changed.
  // Owned by the bitmap and freed whenever the surface is reallocated (a new size): fetch it
  // again after SetSize.
  TCanvas* GetCanvas();
  void FreeCanvas();
  // Owned by the bitmap.
  TFont* GetFont() const { return FFont.get(); }
  void SetFont(TFont* Value);

  // While measuring, Clear, FillRectClipped, SetAlphaChannel and DrawInto change no pixel but
  // still report their areas, through Callback.
  void EnterMeasuringMode(const TAreaChangedEvent& Callback);
  void LeaveMeasuringMode();
  bool GetMeasuring() const { return FMeasuring; }

  virtual void AreaChanged(const TRect& Area, Cardinal Info);
  virtual void CopyPixelsTo(TBitmap32* Dst);
  virtual void CopySettingsTo(TBitmap32* Dst);

  // The "Data" block: Width and Height (int32, little-endian), then the pixels top row
  // first, 4 bytes each in the order blue, green, red, alpha.
  virtual void ReadData(TStream* Stream);
  virtual void WriteData(TStream* Stream);
  // Whether the "Data" block is stored against Ancestor (nullptr: no ancestor).
  bool DataIsStored(TPersistent* Ancestor) const;
  // Equal size and equal pixels; two empty bitmaps are the same.
  bool SameContent(const TBitmap32* Other) const;

  TNotifyEvent OnHandleChanged;
  TPixelCombineEvent OnPixelCombine;
  TAreaChangedEvent OnAreaChanged;

 protected:
  void ResizeStorage(Integer& Width, Integer& Height, Integer NewWidth, Integer NewHeight) override;
  virtual void HandleChanged();
  // To a TPicture (its bitmap) or a platform TBitmap, as a 32-bit DIB.
  void AssignTo(TPersistent* Dest) override;

 private:
  void FreeSurface();
  void AssignFromPlatformBitmap(TBitmap* B);
  void AssignFromGraphic(TGraphic* Graphic);
  void AssignFromPicture(TPicture* Picture);
  // Draws Graphic twice, over white and over red; pixels that differ are transparent.
  void AssignWithTransparency(TGraphic* Graphic);
  void DrawGraphic(TGraphic* Graphic, const TRect& Rect);
  void CopyToPlatformBitmap(TBitmap* B);
  void CanvasChanged(TObject* Sender);
  void FontChanged(TObject* Sender);

  TColor32* FPixels = nullptr;
  std::unique_ptr<TCanvas> FCanvas;
  TRect FClipRect;
  TRectFixed FClipRectFixed;
  TRect FClipRect256;
  bool FClipping = false;
  TDrawMode FDrawMode = dmOpaque;
  TCombineMode FCombineMode = cmBlend;
  TWrapMode FWrapMode = wmClamp;
  std::unique_ptr<TFont> FFont;
  HBITMAP FSurfaceHandle = nullptr;
  HDC FSurfaceDC = nullptr;
  BITMAPINFO FSurfaceInfo;
  Cardinal FMasterAlpha = 255;
  TColor32 FOuterColor = 0;
  TAreaChangedEvent FSavedAreaChanged;
  bool FMeasuring = false;
  std::unique_ptr<TCustomResampler> FResampler;
};

// Reads by the wrap functions need a non-empty range; an empty clip rectangle has none.
inline bool RectHasArea(const TRect& R) {
  return R.Left < R.Right && R.Top < R.Bottom;
}

// 256 bytes set by BuildGammaTable; the bilinear reads weight by it.
extern Byte GammaTable[256];
void BuildGammaTable(Single Gamma);

// The four-pixel interpolation of the bilinear reads: WX weights the left pixel, WY the upper
// row; P1 is the upper row, P2 the lower one. Chosen by SelectBilinearMix.
using TBilinearMixProc = TColor32 (*)(TColor32 WX, TColor32 WY, const TColor32* P1, const TColor32* P2);
extern TBilinearMixProc BilinearMix;
TColor32 BilinearMixPlain(TColor32 WX, TColor32 WY, const TColor32* P1, const TColor32* P2);
TColor32 BilinearMixMmx(TColor32 WX, TColor32 WY, const TColor32* P1, const TColor32* P2);
void SelectBilinearMix();

// A platform colour 0x00BBGGRR as an opaque TColor32; a negative value is a system colour.
TColor32 Color32FromColor(Integer Value);
// Count 3-byte pixels (blue, green, red) into opaque TColor32 pixels.
void Convert24To32Row(const Byte* Src, TColor32* Dst, Integer Count);

// Fixed-point conversions saturate at the ends of the 32-bit range instead of wrapping: a
// coordinate beyond +-32767 has no 16.16 form.
TFixed16 FixedFromFloat(Extended X);
TFixed16 FixedFromInt(Integer I);
// True when I shifted left by 16 stays inside the 32-bit range.
inline bool FitsFixed(Integer I) {
  return I >= -32768 && I <= 32767;
}

TRect MakeRect(Integer L, Integer T, Integer R, Integer B);
TRectFixed MakeFixedRect(TFixed16 L, TFixed16 T, TFixed16 R, TFixed16 B);
TRectFixed FixedRectFromRect(const TRect& R);
TRectFloat FloatRectFromRect(const TRect& R);
TRect MakeRectFromFloat(const TRectFloat& FR, TEdgeRounding Rounding = erNearest);
TRect MakeRectFromFixed(const TRectFixed& FR, TEdgeRounding Rounding = erNearest);
// Dst is the overlap; True when it has no negative width or height (a zero-width overlap
// counts). On False Dst becomes (0, 0, 0, 0).
bool RectIntersect(TRect& Dst, const TRect& R1, const TRect& R2);
bool RectEqual(const TRect& R1, const TRect& R2);
void RectInflate(TRect& R, Integer DX, Integer DY);
void RectOffset(TRect& R, Integer DX, Integer DY);
bool RectIsEmpty(const TRect& R);
bool RectContainsPoint(const TRect& R, const TPoint& P);

// Chooses BilinearMix, builds the gamma table for 0.7 and fetches the stock system font.
void InitializeRS32();

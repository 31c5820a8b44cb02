#pragma once
// TBitmap: a picture held in a DIB section, drawn through its canvas, saved as BMP.
//
// A bitmap made by sizing (no pixel format set) is a device bitmap: 32 bits per pixel as the
// screen, reporting HandleType bmDDB and PixelFormat pfDevice. Setting a pixel format or
// loading a file gives a DIB of that format. New pixels (a new bitmap or the part a resize
// adds) are white, or the canvas brush's colour once the bitmap has a canvas.
//
// ScanLine rows count from the top; rows of a bottom-up DIB (the usual kind) lie at falling
// addresses, ScanLine[1] = ScanLine[0] - bytes per row.
#include <memory>
#include <string>
#include <vector>

#include "platform/classes/Canvas.h"
#include "platform/classes/Colors.h"
#include "platform/classes/Graphic.h"
#include "platform/gdi/BitmapInfo.h"
#include "platform/gdi/GdiObject.h"
#include "platform/system/Resources.h"

// The platform's TSurfaceFormat.
enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
enum TBitmapHandleType { bmDIB, bmDDB };
enum TTransparentMode { tmAuto, tmFixed };

class TBitmap;

// The canvas of a bitmap: a memory DC with the bitmap selected, made on first use. The DC is
// given up when the bitmap changes its handle, and by FreeMemoryContexts unless the canvas is
// locked.
class TBitmapCanvas : public TCanvas {
 public:
  explicit TBitmapCanvas(TBitmap* ABitmap);
  ~TBitmapCanvas() override;
  void FreeContext();

 protected:
  void CreateHandle() override;

 private:
  TBitmap* FBitmap;
  HGDIOBJ FOldBitmap = nullptr;
  HPALETTE FOldPalette = nullptr;
};

// Frees the DCs of all bitmap canvases that are not locked (the application does this when
// idle); they are made again on the next use.
void FreeMemoryContexts();

class TBitmap : public TGraphic {
  friend class TBitmapCanvas;

 public:
  TBitmap();
  ~TBitmap() override;

  // From a TBitmap: a copy of its pixels, format and transparency. From another graphic: what
  // that graphic's AssignTo makes of it (drawn onto a bitmap of its size unless it knows
  // better). Null empties the bitmap and makes it a device bitmap again.
  void Assign(TPersistent* Source) override;
  // An empty stream (at its end) gives an empty bitmap; anything but a valid BMP raises
  // EInvalidGraphic "Bitmap image is not valid" and leaves the bitmap as it was.
  void LoadFromStream(TStream* Stream) override;
  // An empty bitmap writes nothing.
  void SaveToStream(TStream* Stream) override;
  // A bitmap resource: BMP data with or without its file header.
  void LoadFromResourceName(HINSTANCE Instance, const std::string& ResName);
  void LoadFromResourceID(HINSTANCE Instance, Integer ResID);
  // CF_BITMAP: AData is an HBITMAP, copied.
  void LoadFromClipboardFormat(UINT AFormat, HANDLE AData, HPALETTE APalette) override;
  void SaveToClipboardFormat(UINT& AFormat, HANDLE& AData, HPALETTE& APalette) override;

  // Resizes keeping the pixels of the common part (top-left aligned).
  void SetSize(Integer NewWidth, Integer NewHeight);
  Integer GetWidth() override;
  void SetWidth(Integer Value) override;
  Integer GetHeight() override;
  void SetHeight(Integer Value) override;

  TCanvas* GetCanvas();
  // The bitmap; null while empty. The handle stays the bitmap's.
  HBITMAP GetHandle() const { return FHandle; }
  // Takes over Value (freed with the bitmap).
  void SetHandle(HBITMAP Value);
  bool HandleAllocated() const { return FHandle != nullptr; }
  // Gives the handle to the caller and leaves the bitmap empty.
  HBITMAP ReleaseHandle();
  // A monochrome bitmap with 1 bits where the bitmap shows its TransparentColor; kept until
  // the pixels change. Owned by the bitmap.
  HBITMAP GetMaskHandle();
  // Takes over Value as the mask.
  void SetMaskHandle(HBITMAP Value);
  HBITMAP ReleaseMaskHandle();
  // Turns the bitmap into its mask for TransparentColor (1 bits, white, where it shows it).
  void Mask(TColor TransparentColor);

  TBitmapHandleType GetHandleType() const;
  void SetHandleType(TBitmapHandleType Value);
  TPixelFormat GetPixelFormat() const;
  // Converts the pixels (indexed formats take the nearest colours). pfCustom raises
  // EInvalidGraphic "Invalid pixel format".
  void SetPixelFormat(TPixelFormat Value);
  bool GetMonochrome() const;
  void SetMonochrome(bool Value);
  // Raises EInvalidGraphicOperation "Scan line index out of range".
  void* GetScanLine(Integer Row);

  // tmAuto: the colour of the bottom-left pixel (white for a monochrome bitmap). The result
  // carries the PALETTERGB flag (0x02000000) as the platform's does.
  TColor GetTransparentColor();
  // clDefault switches to tmAuto, any other colour to tmFixed.
  void SetTransparentColor(TColor Value);
  TTransparentMode GetTransparentMode() const { return FTransparentMode; }
  void SetTransparentMode(TTransparentMode Value);

  // Bitmaps of 8 bits and less: a palette of the colour table (owned by the bitmap). Others:
  // the palette set, if any.
  HPALETTE GetPalette() override;
  // Copies Value; indexed bitmaps take its entries as their colour table.
  void SetPalette(HPALETTE Value) override;
  HPALETTE ReleasePalette();
  bool GetIgnorePalette() const { return FIgnorePalette; }
  void SetIgnorePalette(bool Value) { FIgnorePalette = Value; }

  // Kept for the platform's callers: the pixels always stay in memory.
  void Dormant() {}
  void FreeImage() {}

 protected:
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;
  bool GetEmpty() override { return FHandle == nullptr; }
  void Changed(TObject* Sender) override;
  // Form data: a 4-byte length, then the BMP.
  void ReadData(TStream* Stream) override;
  void WriteData(TStream* Stream) override;

 private:
  // The format new handles get: bits per pixel, masks for 16 bits, colours for 8 and less.
  struct TFormat {
    Integer BitCount = 32;
    bool Bitfields = false;
    DWORD Masks[3] = {0, 0, 0};
    std::vector<RGBQUAD> Colors;
    bool Device = true;
  };
  static TFormat FormatOf(HBITMAP Bitmap);
  static HBITMAP NewDib(const TFormat& Format, Integer Width, Integer Height);
  // Replaces the handle (owned from now on), dropping the canvas DC, mask and palette.
  void ReplaceHandle(HBITMAP NewHandle);
  // Converts the pixels to Format (nearest colours) and fires OnChange.
  void ConvertTo(const TFormat& Format);
  void FreeContext();
  void FreeMask();
  void FreePalette();
  void CanvasChanging(TObject* Sender);

  HBITMAP FHandle = nullptr;
  Integer FWidth = 0;  // kept apart from the handle: an empty bitmap keeps a width set alone
  Integer FHeight = 0;
  HBITMAP FMaskHandle = nullptr;
  bool FMaskValid = false;
  HPALETTE FPalette = nullptr;  // made from the colour table, or set
  TFormat FFormat;
  std::unique_ptr<TBitmapCanvas> FCanvas;
  TColor FTransparentColor = clDefault;
  TTransparentMode FTransparentMode = tmAuto;
  bool FIgnorePalette = false;
};

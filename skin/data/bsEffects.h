#pragma once
// The skin library's 32-bit bitmap and the row kernels every pixel transfer runs on.
//
// TbsBitmap is a top-down 32-bit DIB section (pixels 0xAARRGGBB, bytes B, G, R, A in memory)
// with its own memory DC, so its rows are reachable by address and also drawable by GDI.
// Alpha is straight. The colour key 0x7F007F marks transparent pixels when Transparent is set;
// AlphaBlend wins when both modes are set.
//
// Row kernels take source, destination and a pixel count; a count of 0 or less does nothing.
// Callers keep every address inside its bitmap.
#include <memory>
#include <string>

#include "platform/classes/Canvas.h"
#include "platform/classes/Colors.h"
#include "platform/gdi/BitmapInfo.h"
#include "platform/system/Persistent.h"
#include "platform/system/Types.h"

class TGraphic;

using TbsPixel = Cardinal;
constexpr TbsPixel bsTransparentKey = 0x7F007F;
constexpr TbsPixel bsTransparentPixel = 0x007F007F;

// ---- Row kernels ----------------------------------------------------------------------------
void MoveLongwords(const TbsPixel* Src, TbsPixel* Dst, Integer Count);
void FillLongwords(TbsPixel* Dst, Integer Count, TbsPixel Value);
// Columns X1..X2 and rows Y1..Y2, both inclusive, of a Width-pixel-wide array.
void FillRectLongwords(TbsPixel* Bits, Integer Width, Integer Height, Integer X1, Integer Y1, Integer X2,
                       Integer Y2, TbsPixel Value);
void SetAlphaLine(TbsPixel* Dst, Integer Count, Byte Alpha);
// Alpha 0 keeps the destination, 255 copies; otherwise every byte, alpha included, becomes
// (s * a + d * (256 - a)) >> 8.
void BlendLine(const TbsPixel* Src, TbsPixel* Dst, Integer Count);
// Every source pixel that is not the colour key lands with alpha 255; key pixels are skipped.
void ColorKeyLine(const TbsPixel* Src, TbsPixel* Dst, Integer Count);

// 0xFFRRGGBB of the resolved colour.
TbsPixel ColorToPixel(TColor Color);

// ---- TbsBitmap ------------------------------------------------------------------------------
class TbsBitmap : public TPersistent {
 public:
  TbsBitmap();
  ~TbsBitmap() override;
  TbsBitmap(const TbsBitmap&) = delete;
  TbsBitmap& operator=(const TbsBitmap&) = delete;

  // Absolute values are taken; a zero side or the current size changes nothing (the pixels
  // stay). New pixels are 0. Raises Exception when the section or its DC cannot be made.
  void SetSize(Integer NewWidth, Integer NewHeight);
  bool Empty() const { return FHandle == nullptr; }
  TCanvas* GetCanvas();

  TbsPixel* GetBits() const { return FBits; }
  Integer GetWidth() const { return FWidth; }
  Integer GetHeight() const { return FHeight; }
  HDC GetDC() const { return FDC; }
  HBITMAP GetHandle() const { return FHandle; }
  const BITMAPINFO& GetBitmapInfo() const { return FBitmapInfo; }
  const std::string& GetName() const { return FName; }
  void SetName(const std::string& Value) { FName = Value; }
  bool GetAlphaBlend() const { return FAlphaBlend; }
  void SetAlphaBlend(bool Value) { FAlphaBlend = Value; }
  bool GetTransparent() const { return FTransparent; }
  void SetTransparent(bool Value) { FTransparent = Value; }

  // Unchecked.
  TbsPixel* GetScanLine(Integer Y) const { return FBits + static_cast<std::ptrdiff_t>(Y) * FWidth; }
  TbsPixel* GetPixelPtr(Integer X, Integer Y) const { return GetScanLine(Y) + X; }
  // Outside the bitmap: 0, and nothing written.
  TbsPixel GetPixel(Integer X, Integer Y) const;
  void SetPixel(Integer X, Integer Y, TbsPixel Value);

  void SetAlpha(Byte Alpha);
  void DetectAlphaBlend();
  // Colour channels lowered to at most the pixel's alpha (valid premultiplied data).
  void ClampColorsToAlpha();
  // Pixels within 5 of Key on each channel become the colour key; Transparent tells whether
  // any did.
  void KeyTransparentColor(TbsPixel Key);
  // Clipped to the bitmap; with AlphaBlend the value is blended over the rectangle.
  void FillRect(const TRect& R, TbsPixel Value);

  void DrawToDC(HDC DC, Integer X, Integer Y);
  void DrawRectToDC(HDC DC, Integer X, Integer Y, const TRect& Src);
  void DrawToDCRect(HDC DC, const TRect& Dst, const TRect& Src);
  void DrawToCanvas(TCanvas* Canvas, Integer X, Integer Y);
  void DrawToBitmap(TbsBitmap* Target, Integer X, Integer Y);
  void DrawRectToBitmap(TbsBitmap* Target, Integer X, Integer Y, const TRect& Src);
  // Nearest-pixel scaling when the sizes differ; a source rectangle leaving this bitmap draws
  // nothing.
  void DrawToBitmapRect(TbsBitmap* Target, const TRect& Dst, const TRect& Src);

  void Assign(TPersistent* Source) override;
  // Draws Graphic into R and keeps its pixels that are not exactly fuchsia.
  void AssignGraphic(TGraphic* Graphic, const TRect& R);

 protected:
  void AssignTo(TPersistent* Dest) override;

 private:
  void FreeSection();
  void BlendToDC(HDC DC, const TRect& Dst, const TRect& Src);

  TbsPixel* FBits = nullptr;
  Integer FWidth = 0;
  Integer FHeight = 0;
  std::string FName;
  BITMAPINFO FBitmapInfo;
  HBITMAP FHandle = nullptr;
  HDC FDC = nullptr;
  std::unique_ptr<TCanvas> FCanvas;
  bool FAlphaBlend = false;
  bool FTransparent = false;
  bool FRegistered = false;
};

// The first live TbsBitmap whose DC is DC, else null.
TbsBitmap* FindBitmapByDC(HDC DC);

// ---- Effect bitmap --------------------------------------------------------------------------
// A plain 24-bit top-down picture (bytes blue, green, red; rows padded to 4 bytes) for state
// morphs and form effects. A pixel as an integer is 0x00RRGGBB. Morphs move this picture
// toward Other by the fraction K and do nothing when the sizes differ.
class TbsEffectBmp {
 public:
  TbsEffectBmp(Integer AWidth, Integer AHeight);  // CreateSize: every pixel 0
  explicit TbsEffectBmp(HBITMAP Bitmap);          // CreateFromHandle: a copy of its pixels
  ~TbsEffectBmp();
  TbsEffectBmp(const TbsEffectBmp&) = delete;
  TbsEffectBmp& operator=(const TbsEffectBmp&) = delete;

  Integer GetWidth() const { return FWidth; }
  Integer GetHeight() const { return FHeight; }
  HBITMAP GetHandle() const { return FHandle; }
  Byte* GetScanLine(Integer Y) const;
  // Unchecked.
  Cardinal GetPixel(Integer X, Integer Y) const;
  void SetPixel(Integer X, Integer Y, Cardinal Value);
  void DrawToDC(HDC DC, Integer X, Integer Y);

  void Morph(TbsEffectBmp* Other, double K);
  void MorphGradient(TbsEffectBmp* Other, double K);
  void MorphLeftGradient(TbsEffectBmp* Other, double K);
  void MorphRightGradient(TbsEffectBmp* Other, double K);
  void MorphLeftSlide(TbsEffectBmp* Other, double K);
  void MorphRightSlide(TbsEffectBmp* Other, double K);
  void MorphPush(TbsEffectBmp* Other, double K);
  // The look of an inactive frame by the skin's "inactiveeffect": 0 lighter, 1 darker, 2 grey,
  // 3 noise, 4 blur, anything else inverted.
  void InactiveEffect(Integer Kind);
  // The morph of a skin's "morphkind": 1-6 pick the shaped morphs, anything else the plain one.
  void MorphByKind(TbsEffectBmp* Other, Integer Kind, double K);

  void ChangeBrightness(double K);
  void ChangeDarkness(double K);
  void GrayScale();
  void AddNoise(Integer Amount);
  void SplitBlur(Integer Amount);
  void Invert();

  // The target already has the turned size.
  void Rotate90CCW(TbsEffectBmp* Target) const;
  void Rotate90CW(TbsEffectBmp* Target) const;
  void FlipVert(TbsEffectBmp* Target) const;

 private:
  void MakeSection(Integer AWidth, Integer AHeight);
  void MorphGradientHorizontal(TbsEffectBmp* Other, double K);
  void MorphGradientVertical(TbsEffectBmp* Other, double K);
  bool SameSize(const TbsEffectBmp* Other) const;
  Integer RowPitch() const { return 3 * FWidth + FWidth % 4; }

  HBITMAP FHandle = nullptr;
  Integer FWidth = 0;
  Integer FHeight = 0;
  Integer FSize = 0;
  Byte* FBits = nullptr;
  BITMAPINFO FInfo;
};

// Stack blur of the colour channels in place; every pixel ends opaque. Radius <= 0: nothing.
void BlurBitmap(TbsBitmap* Bitmap, Integer Radius);
// Alpha from the brightness (channel mean, truncated) of the mask pixel at the same place; the
// part of the bitmap the mask does not cover keeps its alpha.
void SetAlphaFromMask(TbsBitmap* Bitmap, TbsBitmap* Mask);

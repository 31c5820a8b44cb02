#pragma once
// Two small picture classes beside TIEBitmap: TIEDibbitmap keeps a 1-bit or 24-bit picture in
// a DIB section selected into its own memory DC, so that the system can draw on it or blit it;
// TIEWorkBitmap is a bare row buffer the resampling threads use as scratch space. Both keep
// rows bottom-up and 32-bit aligned.
#include "imaging/core/iebitmap.h"
#include "platform/gdi/BitmapInfo.h"
#include "platform/gdi/GdiObject.h"

class TIEDibbitmap : public TIEBaseBitmap {
 public:
  TIEDibbitmap();
  ~TIEDibbitmap() override;

  // False, changing nothing, for an empty size; a failure after that leaves the bitmap empty.
  bool AllocateBits(Integer AWidth, Integer AHeight, Integer ABitCount);
  // Deletes the section and the DC; the bitmap is empty afterwards.
  void FreeBits();

  void* GetScanline(Integer Row) override;
  Integer GetBitCount() override { return FBitCount; }
  Integer GetHeight() override { return FHeight; }
  Integer GetWidth() override { return FWidth; }
  // ie1g for 1 bit, ie24RGB for 24, ieNull otherwise.
  TIEPixelFormat GetPixelFormat() override;
  Integer GetRowLen() override { return FRowLen; }
  TIERGBTriple* GetPaletteBuffer() override { return nullptr; }
  void GetPaletteColor(Integer Index, TIERGBTriple& Color) override;
  void SetPaletteColor(Integer, const TIERGBTriple&) override {}
  Integer GetPaletteLen() override { return 0; }
  // ie1g and ie24RGB only.
  bool Allocate(Integer AWidth, Integer AHeight, TIEPixelFormat APixelFormat) override;
  // Only from another TIEDibbitmap: its size, depth and pixels.
  void Assign(TObject* Source) override;
  void CopyPaletteTo(TObject*) override {}

  // The memory DC with the section selected; both are the bitmap's.
  HDC GetDeviceContext() const { return FDeviceContext; }
  HBITMAP GetDibSection() const { return FDibSection; }
  // The section's header and its two-entry colour table, black then white.
  const BITMAPINFO& GetDrawInfo() const { return FDrawInfo; }
  // The section's pixels (the lowest row address); nil while empty.
  Byte* GetBits() const { return FBits; }

 private:
  Integer FWidth = 0;
  Integer FHeight = 0;
  Integer FBitCount = 0;
  Integer FRowLen = 0;
  HDC FDeviceContext = nullptr;
  HBITMAP FDibSection = nullptr;
  HGDIOBJ FOldBitmap = nullptr;  // the DC's own bitmap, put back before the section goes
  BITMAPINFO FDrawInfo;
  Byte* FBits = nullptr;
};

class TIEWorkBitmap : public TObject {
 public:
  // Allocates only when both sizes are above 0.
  TIEWorkBitmap(Integer AWidth, Integer AHeight, Integer ABitsPerPixel);
  ~TIEWorkBitmap() override;

  // Nothing when size and depth are unchanged, so a thread can reuse its buffer; otherwise new,
  // undefined contents. When the allocator fails the bitmap is left empty.
  void Allocate(Integer AWidth, Integer AHeight, Integer ABitsPerPixel);
  void FreeBits();
  Byte* GetScanline(Integer Row) const;

  Integer GetWidth() const { return FWidth; }
  Integer GetHeight() const { return FHeight; }
  Integer GetBitsPerPixel() const { return FBitsPerPixel; }
  Integer GetRowLen() const { return FRowLen; }
  void* GetBits() const { return FBits; }

 private:
  Integer FWidth = 0;
  Integer FHeight = 0;
  Integer FBitsPerPixel = 0;
  Integer FRowLen = 0;
  void* FBits = nullptr;  // from the tagged allocator
};

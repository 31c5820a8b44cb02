#pragma once
// TIEMask: the selection of a picture. One bit per pixel (selected or not) or one byte (a
// selection strength, 255 fully selected), rows bottom-up as in a DIB, with the bounding box of
// the selected pixels and a flag saying the whole picture is selected. The view builds it from
// shapes and draws its outline at its zoom; processing restricts operations to it; the
// writers turn alpha channels into one.
#include <memory>
#include <vector>

#include "imaging/core/hyiedefs.h"
#include "imaging/core/iefilebuffer.h"
#include "platform/classes/Colors.h"
#include "platform/gdi/BitmapInfo.h"
#include "platform/system/Object.h"
#include "platform/system/Types.h"

class TBitmap;
class TCanvas;
class TIEBitmap;

// A point with this x separates the polygons handed to FillPolygons.
constexpr Integer IEPolygonSeparator = 0xFFFFF;
// X1 of an empty box.
constexpr Integer IEMaskEmptyX1 = 2147483647;

// Scales the part of a mask that lies in the box (X1, Y1)-(X2, Y2) and in the source window
// into Dest: ZoomHeight bottom-up rows of DibRowBytes(ZoomWidth, BitsPerPixel) bytes, zeroed
// first. Bits holds the mask's Height bottom-up rows of DibRowBytes(Width, BitsPerPixel).
void IEScaleMaskRows(Integer BitsPerPixel, Byte* Dest, Integer ZoomWidth, Integer ZoomHeight, Integer SrcX,
                     Integer SrcY, Integer SrcWidth, Integer SrcHeight, const Byte* Bits, Integer Width,
                     Integer Height, Integer X1, Integer Y1, Integer X2, Integer Y2);

class TIEMask : public TObject {
 public:
  TIEMask();
  ~TIEMask() override;

  // Replaces the bits by zeroed ones; nothing selected. When the memory cannot be had (or the
  // size is negative) the mask is left unallocated and the result is false.
  bool AllocateBits(Integer AWidth, Integer AHeight, Integer ABitsPerPixel);
  // Frees the bits and the zoom cache; the mask has no size afterwards.
  void FreeBits();
  // New size keeping the overlap (top rows, left columns); new pixels are unselected.
  void Resize(Integer NewWidth, Integer NewHeight);

  Byte* GetScanline(Integer Y) const { return FBits.get() + static_cast<Int64>(FRowLen) * (FHeight - 1 - Y); }
  // 0 outside; a 1-bit mask answers the bit's mask within its byte, an 8-bit one the byte.
  Integer GetPixel(Integer X, Integer Y) const;
  bool IsPointInside(Integer X, Integer Y) const { return GetPixel(X, Y) != 0; }
  // Outside the mask nothing happens; a selecting value widens the box.
  void SetPixel(Integer X, Integer Y, Integer Value);
  // Columns X1..X2 of row Y (clamped to the mask); 1-bit masks set the bits for Value 1 and
  // clear them for any other value. Leaves the box. Returns the number of pixels written.
  Integer FillHorizontalRun(Integer Value, Integer X1, Integer Y, Integer X2);
  // Every byte of the bits becomes Value.
  void Fill(Integer Value);
  // Nothing selected, box empty.
  void Empty();
  bool IsEmpty() const { return FX1 == IEMaskEmptyX1; }
  void SyncRect();
  void SyncFull();

  // Even-odd scan-line fill of the closed polygon: on each row from the top point's to the one
  // before the bottom point's, columns from a left edge's x to the next edge's x - 1. A selecting
  // Value widens the box by the points.
  void FillPolygon(Integer Value, const TPoint* Points, Integer Count);
  // Several polygons separated by points whose x is IEPolygonSeparator.
  void FillPolygons(Integer Value, const TPoint* Points, Integer Count);
  // Moves the selection by (DX, DY). Cut drops what would leave the mask; otherwise the move is
  // shortened so that the box stays inside and DX, DY return what was done.
  void TranslateBitmap(Integer& DX, Integer& DY, bool Cut);

  // Copies the selected pixels of the box from Source to Dest (equal pixel formats only). With
  // SourceAtBox (DestAtBox) the box's corner is Source's (Dest's) pixel (0, 0).
  void CopyIEBitmap(TIEBitmap* Dest, TIEBitmap* Source, bool DestAtBox, bool SourceAtBox, bool CopyAlpha);
  void CopyIEBitmapAlpha(TIEBitmap* Dest, TIEBitmap* Source, bool DestAtBox, bool SourceAtBox);

  // XOR-draws a 1-bit mask stretched onto the canvas.
  void DrawOnCanvas(TCanvas* Canvas, Integer XDst, Integer YDst, Integer DstWidth, Integer DstHeight,
                    Integer XSrc, Integer YSrc, Integer SrcWidth, Integer SrcHeight);
  // The marching-ants outline of the zoomed window (SrcX, SrcY, SrcWidth, SrcHeight) of the
  // mask shown ZoomWidth x ZoomHeight at (OffsetX, OffsetY); runs of four pixels alternate
  // Color1 and Color2 along the diagonal, shifted by Phase. Rect, when given, receives the
  // outline's inner rectangle.
  void DrawBorder(TCanvas* Canvas, Integer OffsetX, Integer OffsetY, Integer ZoomWidth, Integer ZoomHeight,
                  Integer SrcX, Integer SrcY, Integer SrcWidth, Integer SrcHeight, Integer Phase,
                  TColor Color1, TColor Color2, TRect* Rect);
  // Dims the unselected part of the zoomed picture in a 24-bit Bitmap: Opacity -1 lays a grey
  // chequer, 0..255 blends Colour in.
  void DrawOuter(TBitmap* Bitmap, Integer XDst, Integer YDst, Integer ZoomWidth, Integer ZoomHeight,
                 Integer SrcX, Integer SrcY, Integer SrcWidth, Integer SrcHeight, Integer Opacity,
                 TColor Colour);

  Integer GetWidth() const { return FWidth; }
  Integer GetHeight() const { return FHeight; }
  Integer GetBitsPerPixel() const { return FBitsPerPixel; }
  Integer GetRowLen() const { return FRowLen; }
  Byte* GetBits() const { return FBits.get(); }
  // The box, inclusive.
  Integer GetX1() const { return FX1; }
  Integer GetY1() const { return FY1; }
  Integer GetX2() const { return FX2; }
  Integer GetY2() const { return FY2; }
  bool GetFull() const { return FFull; }
  void SetFull(bool Value) { FFull = Value; }
  Integer GetZoomWidth() const { return FZoomWidth; }
  Integer GetZoomHeight() const { return FZoomHeight; }
  const BITMAPINFO& GetDrawInfo() const { return FDrawInfo; }

 private:
  using TBytes = TIEGlobalBlock;

  // Rows zero-filled from the library's allocator; null when the memory cannot be had.
  static TBytes NewZeroedBits(Integer RowLen, Integer Rows);
  void FreeZoom();
  void MakeBoxEmpty();
  void ClampBox();
  // Widens the box to contain (X, Y).
  void IncludeInBox(Integer X, Integer Y);
  // Clears Full unless Value selects fully at this depth (1-bit: Selecting, 8-bit: 255).
  void KeepFullOnlyFor(bool SelectsFully);
  void TranslateBits1(Integer DX, Integer DY);
  void TranslateBits8(Integer DX, Integer DY);
  // Sizes ZoomBits and ZoomRows for the zoomed size and scales the window into them; false when
  // nothing can be scaled.
  bool PrepareZoom(Integer ZoomWidth, Integer ZoomHeight, Integer SrcX, Integer SrcY, Integer SrcWidth,
                   Integer SrcHeight);
  bool ZoomSelected(Integer C, Integer R) const;
  // Columns C - 1 .. C + 1 of rows R - 1 .. R + 1 (inside the zoomed size); C is not an edge.
  bool ZoomHasUnselectedNeighbour(Integer C, Integer R) const;
  bool ThreeSelected(const Byte* Row, Integer First) const;
  void DrawBorderPixel(TCanvas* Canvas, Integer X, Integer Y, const TIERGBTriple& Color);

  Integer FWidth = 0;
  Integer FHeight = 0;
  Integer FBitsPerPixel = 0;
  Integer FRowLen = 0;
  TBytes FBits;
  Integer FX1 = IEMaskEmptyX1;
  Integer FY1 = IEMaskEmptyX1;
  Integer FX2 = 0;
  Integer FY2 = 0;
  BITMAPINFO FDrawInfo;
  TBytes FZoomBits;
  Integer FZoomWidth = 0;
  Integer FZoomHeight = 0;
  std::vector<Byte*> FZoomRows;  // FZoomRows[R] is zoomed row R (bottom-up in FZoomBits)
  bool FFull = false;
  std::unique_ptr<TBitmap> FPixelBitmap;  // 1 x 1, 24 bits: one border pixel at a time
  Byte* FPixelPtr = nullptr;
};

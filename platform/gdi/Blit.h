#pragma once
// Bit-block transfers: BitBlt, StretchBlt, MaskBlt, StretchDIBits, SetDIBitsToDevice and the
// msimg32 calls (TransparentBlt, AlphaBlend, GradientFill). Coordinates are logical; each call
// applies its DCs' origins and transforms once and clips to the destination DC's clip.
//
// Colour rules between formats: a monochrome bitmap (1-bit, not a DIB section) copied to colour
// shows its 0 bits in the destination DC's text colour and its 1 bits in its background colour;
// colour copied to a monochrome bitmap gives 1 where the source shows the source DC's
// background colour and 0 elsewhere; between a monochrome bitmap and any 1-bit surface the bits
// pass unchanged. Palette formats, 1-bit DIB sections among them, convert through their colour
// tables (nearest entry on the way in). Raster operations combine raw pixels bit by bit.
//
// Stretching (StretchBlt, StretchDIBits, TransparentBlt, AlphaBlend): destination column i of
// an m-pixel-wide destination takes source column (i * n) div m of the n-pixel source; a
// negative source or destination extent (not both) mirrors the axis: the column counted from
// the other end. Rows alike. See StretchFilters.h for BLACKONWHITE, WHITEONBLACK and HALFTONE.
#include "platform/gdi/BitmapInfo.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Rop3.h"

// Source parts outside the source surface are not copied (their destination stays as it is).
// Src may be null when the raster operation reads no source. A rotating or shearing world
// transform fails.
BOOL BitBlt(HDC Dst, Integer X, Integer Y, Integer Width, Integer Height, HDC Src, Integer XSrc, Integer YSrc,
            DWORD Rop);
// Stretches by the destination DC's stretch mode. A zero source extent fails.
BOOL StretchBlt(HDC Dst, Integer X, Integer Y, Integer Width, Integer Height, HDC Src, Integer XSrc,
                Integer YSrc, Integer WidthSrc, Integer HeightSrc, DWORD Rop);
// Mask (1 bit per pixel, else the call fails) selects the ROP3 per pixel: MAKEROP4's
// foreground code for 1 bits, its background code for 0 bits. A null mask is BitBlt with the
// foreground code. No stretching: a transform that would scale fails.
BOOL MaskBlt(HDC Dst, Integer X, Integer Y, Integer Width, Integer Height, HDC Src, Integer XSrc,
             Integer YSrc, HBITMAP Mask, Integer XMask, Integer YMask, DWORD Rop4);

// The source rectangle is in DIB coordinates: for a bottom-up DIB (positive height) YSrc counts
// from the bottom row up, for a top-down DIB from the top down. BI_RGB and BI_BITFIELDS only.
// Returns the number of source scan lines (|SrcHeight|), 0 on failure.
Integer StretchDIBits(HDC DC, Integer XDest, Integer YDest, Integer DestWidth, Integer DestHeight,
                      Integer XSrc, Integer YSrc, Integer SrcWidth, Integer SrcHeight, const void* Bits,
                      const BITMAPINFO* Info, UINT Usage, DWORD Rop);
// Bits hold Lines scan lines from StartScan (scan lines count from the bottom of a bottom-up DIB,
// from the top of a top-down one); only the source rectangle's part inside them is drawn,
// unscaled, SRCCOPY. Returns the number of scan lines given (0 on failure).
Integer SetDIBitsToDevice(HDC DC, Integer XDest, Integer YDest, DWORD Width, DWORD Height, Integer XSrc,
                          Integer YSrc, UINT StartScan, UINT Lines, const void* Bits, const BITMAPINFO* Info,
                          UINT Usage);

// Copies the source except its pixels showing the colour Transparent (compared in the source's
// format: palette sources by their colour-table colour), stretching by nearest neighbour.
// Negative extents fail.
BOOL TransparentBlt(HDC Dst, Integer X, Integer Y, Integer Width, Integer Height, HDC Src, Integer XSrc,
                    Integer YSrc, Integer WidthSrc, Integer HeightSrc, UINT Transparent);

constexpr Byte AC_SRC_OVER = 0x00;
constexpr Byte AC_SRC_ALPHA = 0x01;
struct BLENDFUNCTION {
  Byte BlendOp = AC_SRC_OVER;
  Byte BlendFlags = 0;
  Byte SourceConstantAlpha = 255;
  Byte AlphaFormat = 0;
};
// Blends each of blue, green, red and alpha (the destination's alpha byte when it is 32-bit),
// with a = SourceConstantAlpha:
//   AlphaFormat 0:             d := (s * a + d * (255 - a) + 127) div 255
//   AC_SRC_ALPHA (premultiplied source with alpha sa):
//     s' := (s * a + 127) div 255 for every channel, sa' := (sa * a + 127) div 255,
//     d := min(255, s' + (d * (255 - sa') + 127) div 255)
// (with a = 255, s' = s). Fails on negative extents, a source rectangle not inside the source
// surface, AC_SRC_ALPHA on a source that is not 32-bit, or other BlendOp/BlendFlags values.
// Stretches by nearest neighbour.
BOOL AlphaBlend(HDC Dst, Integer X, Integer Y, Integer Width, Integer Height, HDC Src, Integer XSrc,
                Integer YSrc, Integer WidthSrc, Integer HeightSrc, BLENDFUNCTION Blend);

using COLOR16 = Word;
struct TRIVERTEX {
  LONG x = 0;
  LONG y = 0;
  COLOR16 Red = 0;
  COLOR16 Green = 0;
  COLOR16 Blue = 0;
  COLOR16 Alpha = 0;
};
struct GRADIENT_RECT {
  ULONG UpperLeft = 0;
  ULONG LowerRight = 0;
};
struct GRADIENT_TRIANGLE {
  ULONG Vertex1 = 0;
  ULONG Vertex2 = 0;
  ULONG Vertex3 = 0;
};
constexpr ULONG GRADIENT_FILL_RECT_H = 0;
constexpr ULONG GRADIENT_FILL_RECT_V = 1;
constexpr ULONG GRADIENT_FILL_TRIANGLE = 2;
// Rectangles run from the colour of the left (top) vertex to that of the right (bottom) one:
// pixel x of [L, R) gets c = cL + (cR - cL) * (x - L) div (R - L) per 16-bit channel (division
// truncating toward zero), shown as c shr 8. The right and bottom edges are outside, so the
// last pixel stops one step short of cR. Triangles cover the pixels whose centres lie inside
// (the polygon rule) and interpolate barycentrically at the pixel's own coordinates, rounding
// down, clamped to the vertices' range. 32-bit destinations receive alpha shr 8 in their alpha
// byte. Mesh is GRADIENT_RECT or GRADIENT_TRIANGLE; an index beyond the vertices fails.
BOOL GradientFill(HDC DC, const TRIVERTEX* Vertices, ULONG NumVertices, const void* Mesh, ULONG NumMesh,
                  ULONG Mode);

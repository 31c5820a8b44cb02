#pragma once
// The recording side of enhanced metafiles: the drawing calls of the graphics layer hand their
// arguments to these when their DC is a metafile DC. The DC keeps drawing on a private one-pixel
// bitmap, so its state (current position, objects) evolves as on any DC; before each record the
// recorder writes whatever state differs from what playback has at that point.
#include "platform/gdi/Blit.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/EnhMetaFile.h"
#include "platform/gdi/Regions.h"

inline bool IsRecordingDC(HDC DC) {
  return DC && DC->ObjType == OBJ_ENHMETADC;
}

void EmfRecordMoveTo(HDC DC, Integer X, Integer Y);
void EmfRecordLineTo(HDC DC, Integer X, Integer Y);
// EMR_RECTANGLE or EMR_ELLIPSE.
void EmfRecordBox(HDC DC, DWORD Type, Integer L, Integer T, Integer R, Integer B);
void EmfRecordRoundRect(HDC DC, Integer L, Integer T, Integer R, Integer B, Integer W, Integer H);
// EMR_ARC, EMR_ARCTO, EMR_CHORD or EMR_PIE.
void EmfRecordArc(HDC DC, DWORD Type, Integer L, Integer T, Integer R, Integer B, Integer XS, Integer YS,
                  Integer XE, Integer YE);
// Point lists by their 32-bit record type (EMR_POLYLINE, EMR_POLYGON, EMR_POLYBEZIER,
// EMR_POLYBEZIERTO, EMR_POLYLINETO); written in the 16-bit form when every point fits.
void EmfRecordPoints(HDC DC, DWORD Type, const POINT* Points, DWORD Count);
// EMR_POLYPOLYLINE or EMR_POLYPOLYGON.
void EmfRecordPolyPoints(HDC DC, DWORD Type, const POINT* Points, const DWORD* Counts, DWORD PolyCount);
void EmfRecordPixel(HDC DC, Integer X, Integer Y, COLORREF Color);
void EmfRecordFloodFill(HDC DC, Integer X, Integer Y, COLORREF Color, UINT Type);
// A raster operation without source over R (logical); Brush null: the DC's.
void EmfRecordPatBlt(HDC DC, const RECT& R, DWORD Rop, HBRUSH Brush);
// EMR_FILLRGN, EMR_FRAMERGN, EMR_INVERTRGN or EMR_PAINTRGN; Brush, W, H as the call has them.
void EmfRecordRegion(HDC DC, DWORD Type, HRGN Rgn, HBRUSH Brush, Integer W, Integer H);
// EMR_BITBLT, EMR_STRETCHBLT, EMR_ALPHABLEND or EMR_TRANSPARENTBLT; Rop is the raster
// operation, the packed blend function or the transparent colour. Src may be null for BitBlt.
void EmfRecordBlt(HDC DC, DWORD Type, Integer X, Integer Y, Integer W, Integer H, HDC Src, Integer XS,
                  Integer YS, Integer WS, Integer HS, DWORD Rop);
void EmfRecordStretchDIBits(HDC DC, Integer XD, Integer YD, Integer WD, Integer HD, Integer XS, Integer YS,
                            Integer WS, Integer HS, const void* Bits, const BITMAPINFO* Info, UINT Usage,
                            DWORD Rop);
void EmfRecordSetDIBitsToDevice(HDC DC, Integer XD, Integer YD, DWORD W, DWORD H, Integer XS, Integer YS,
                                UINT StartScan, UINT Lines, const void* Bits, const BITMAPINFO* Info,
                                UINT Usage);
void EmfRecordGradientFill(HDC DC, const TRIVERTEX* Vertices, ULONG NumVertices, const void* Mesh,
                           ULONG NumMesh, ULONG Mode);
// Text as the text layer draws it: characters, their advances (and vertical advances with
// ETO_PDY), the alignment the call uses.
void EmfRecordText(HDC DC, Integer X, Integer Y, const char32_t* Chars, std::size_t Count, UINT Align,
                   UINT Options, const RECT* Rect, const Integer* Dx, const Integer* Dy);

#pragma once
// Device contexts. A DC draws onto a surface: the bitmap selected into a memory DC, or an
// external surface (a window's part of the screen) given by the window layer with the surface
// position of device point (0, 0) and a visible region. Coordinates are MM_TEXT: logical points
// go through the world transform (GM_ADVANCED only), then window and viewport origins, then the
// DC origin. The DC state is one value; SaveDC/RestoreDC keep a stack of them.
#include <optional>
#include <vector>

#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/RegionData.h"
#include "platform/gdi/Surface.h"
#include "platform/gdi/XForm.h"

constexpr Integer TRANSPARENT = 1;
constexpr Integer OPAQUE = 2;

// Mix modes.
constexpr Integer R2_BLACK = 1;
constexpr Integer R2_NOTMERGEPEN = 2;
constexpr Integer R2_MASKNOTPEN = 3;
constexpr Integer R2_NOTCOPYPEN = 4;
constexpr Integer R2_MASKPENNOT = 5;
constexpr Integer R2_NOT = 6;
constexpr Integer R2_XORPEN = 7;
constexpr Integer R2_NOTMASKPEN = 8;
constexpr Integer R2_MASKPEN = 9;
constexpr Integer R2_NOTXORPEN = 10;
constexpr Integer R2_NOP = 11;
constexpr Integer R2_MERGENOTPEN = 12;
constexpr Integer R2_COPYPEN = 13;
constexpr Integer R2_MERGEPENNOT = 14;
constexpr Integer R2_MERGEPEN = 15;
constexpr Integer R2_WHITE = 16;

// Stretch modes (state only here).
constexpr Integer BLACKONWHITE = 1;
constexpr Integer WHITEONBLACK = 2;
constexpr Integer COLORONCOLOR = 3;
constexpr Integer HALFTONE = 4;
constexpr Integer STRETCH_ANDSCANS = BLACKONWHITE;
constexpr Integer STRETCH_ORSCANS = WHITEONBLACK;
constexpr Integer STRETCH_DELETESCANS = COLORONCOLOR;
constexpr Integer STRETCH_HALFTONE = HALFTONE;

constexpr Integer MM_TEXT = 1;
constexpr Integer GM_COMPATIBLE = 1;
constexpr Integer GM_ADVANCED = 2;
constexpr DWORD MWT_IDENTITY = 1;
constexpr DWORD MWT_LEFTMULTIPLY = 2;
constexpr DWORD MWT_RIGHTMULTIPLY = 3;
constexpr Integer AD_COUNTERCLOCKWISE = 1;
constexpr Integer AD_CLOCKWISE = 2;

// Text alignment flags (the text layer draws with them).
constexpr UINT TA_NOUPDATECP = 0;
constexpr UINT TA_UPDATECP = 1;
constexpr UINT TA_LEFT = 0;
constexpr UINT TA_RIGHT = 2;
constexpr UINT TA_CENTER = 6;
constexpr UINT TA_TOP = 0;
constexpr UINT TA_BOTTOM = 8;
constexpr UINT TA_BASELINE = 24;
constexpr UINT TA_RTLREADING = 256;
constexpr UINT GDI_ERROR = 0xFFFFFFFFu;

// GetDeviceCaps indices and values.
constexpr Integer DRIVERVERSION = 0;
constexpr Integer TECHNOLOGY = 2;
constexpr Integer HORZSIZE = 4;
constexpr Integer VERTSIZE = 6;
constexpr Integer HORZRES = 8;
constexpr Integer VERTRES = 10;
constexpr Integer BITSPIXEL = 12;
constexpr Integer PLANES = 14;
constexpr Integer NUMBRUSHES = 16;
constexpr Integer NUMPENS = 18;
constexpr Integer NUMMARKERS = 20;
constexpr Integer NUMFONTS = 22;
constexpr Integer NUMCOLORS = 24;
constexpr Integer PDEVICESIZE = 26;
constexpr Integer CURVECAPS = 28;
constexpr Integer LINECAPS = 30;
constexpr Integer POLYGONALCAPS = 32;
constexpr Integer TEXTCAPS = 34;
constexpr Integer CLIPCAPS = 36;
constexpr Integer RASTERCAPS = 38;
constexpr Integer ASPECTX = 40;
constexpr Integer ASPECTY = 42;
constexpr Integer ASPECTXY = 44;
constexpr Integer LOGPIXELSX = 88;
constexpr Integer LOGPIXELSY = 90;
constexpr Integer SIZEPALETTE = 104;
constexpr Integer NUMRESERVED = 106;
constexpr Integer COLORRES = 108;
constexpr Integer PHYSICALWIDTH = 110;
constexpr Integer PHYSICALHEIGHT = 111;
constexpr Integer PHYSICALOFFSETX = 112;
constexpr Integer PHYSICALOFFSETY = 113;
constexpr Integer VREFRESH = 116;
constexpr Integer DESKTOPVERTRES = 117;
constexpr Integer DESKTOPHORZRES = 118;
constexpr Integer BLTALIGNMENT = 119;
constexpr Integer SHADEBLENDCAPS = 120;
constexpr Integer COLORMGMTCAPS = 121;
constexpr Integer DT_RASDISPLAY = 1;
constexpr Integer RC_BITBLT = 0x0001;
constexpr Integer RC_BANDING = 0x0002;
constexpr Integer RC_SCALING = 0x0004;
constexpr Integer RC_BITMAP64 = 0x0008;
constexpr Integer RC_GDI20_OUTPUT = 0x0010;
constexpr Integer RC_DI_BITMAP = 0x0080;
constexpr Integer RC_PALETTE = 0x0100;
constexpr Integer RC_DIBTODEV = 0x0200;
constexpr Integer RC_STRETCHBLT = 0x0800;
constexpr Integer RC_FLOODFILL = 0x1000;
constexpr Integer RC_STRETCHDIB = 0x2000;
constexpr Integer SB_CONST_ALPHA = 0x01;
constexpr Integer SB_PIXEL_ALPHA = 0x02;
constexpr Integer SB_PREMULT_ALPHA = 0x04;
constexpr Integer SB_GRAD_RECT = 0x10;
constexpr Integer SB_GRAD_TRI = 0x20;
constexpr Integer CM_NONE = 0;
constexpr Integer CM_DEVICE_ICM = 1;
constexpr Integer CM_GAMMA_RAMP = 2;
constexpr Integer CM_CMYK_COLOR = 4;
constexpr Integer CC_CIRCLES = 1, CC_PIE = 2, CC_CHORD = 4, CC_ELLIPSES = 8, CC_WIDE = 16, CC_STYLED = 32,
                  CC_WIDESTYLED = 64, CC_INTERIORS = 128, CC_ROUNDRECT = 256;
constexpr Integer LC_POLYLINE = 2, LC_MARKER = 4, LC_POLYMARKER = 8, LC_WIDE = 16, LC_STYLED = 32,
                  LC_WIDESTYLED = 64, LC_INTERIORS = 128;
constexpr Integer PC_POLYGON = 1, PC_RECTANGLE = 2, PC_WINDPOLYGON = 4, PC_SCANLINE = 8, PC_WIDE = 16,
                  PC_STYLED = 32, PC_WIDESTYLED = 64, PC_INTERIORS = 128;
constexpr Integer CP_RECTANGLE = 1, CP_REGION = 2;

// The screen size a DC without a bitmap reports; the display layer may change it.
void SetScreenSize(Integer Width, Integer Height);
TSize GetScreenSize();

struct TDcState {
  HPEN Pen = nullptr;
  HBRUSH Brush = nullptr;
  HGDIOBJ Font = nullptr;    // a TFontObject (the text layer's type); static_cast to HFONT there
  HBITMAP Bitmap = nullptr;  // memory DCs
  HPALETTE Palette = nullptr;
  COLORREF BkColor = 0x00FFFFFF;
  COLORREF TextColor = 0;
  COLORREF DCBrushColor = 0x00FFFFFF;
  COLORREF DCPenColor = 0;
  Integer BkMode = OPAQUE;
  UINT TextAlign = TA_LEFT | TA_TOP | TA_NOUPDATECP;
  Integer TextCharExtra = 0;
  Integer BreakExtra = 0;  // SetTextJustification, kept for the text layer
  Integer BreakCount = 0;
  Integer Rop2 = R2_COPYPEN;
  Integer PolyFillMode = ALTERNATE;
  Integer StretchBltMode = BLACKONWHITE;
  Integer MapMode = MM_TEXT;
  Integer GraphicsMode = GM_COMPATIBLE;
  Integer ArcDirection = AD_COUNTERCLOCKWISE;
  TPoint BrushOrg;  // device coordinates
  TPoint WindowOrg;
  TPoint ViewportOrg;
  TPoint CurPos;  // logical coordinates
  XFORM World;
  bool WorldIsIdentity = true;
  std::optional<TRegionData> ClipRgn;  // device coordinates; none = no clipping region
};

struct TDeviceContext : TGdiObject {
  explicit TDeviceContext(Integer Type = OBJ_MEMDC);
  ~TDeviceContext() override;

  // A DC onto an external surface (the window layer's). Origin is the surface position of device
  // point (0, 0); VisRgn, in surface coordinates, limits every drawing (none: the whole surface).
  // The surface must outlive the DC or be replaced with SetTarget first; after the surface
  // changes size, call SetTarget (or InvalidateClip) so that the clip follows.
  static HDC CreateForSurface(TSurface* Surface, TPoint Origin, std::optional<TRegionData> VisRgn);
  void SetTarget(TSurface* Surface, TPoint Origin, std::optional<TRegionData> VisRgn);
  void SetVisibleRegion(std::optional<TRegionData> VisRgn);
  TPoint DcOrigin() const { return FOrigin; }
  bool IsMemoryDC() const { return FExternal == nullptr; }

  TDcState State;
  std::vector<TDcState> Saved;

  // The surface drawn on: the selected bitmap's or the external one.
  const TSurface& Surface() const;
  // The clip in surface coordinates: surface bounds, visible region and clipping region
  // combined. Rebuilt after any change to them.
  const TRegionData& Clip() {
    if (!FClipValid) UpdateClip();
    return FClip;
  }
  // True when Clip() is one rectangle (ClipBox()), the common case with its own fast paths.
  bool ClipIsRect() {
    if (!FClipValid) UpdateClip();
    return FClipIsRect;
  }
  const TRect& ClipBox() {
    if (!FClipValid) UpdateClip();
    return FClip.Box();
  }
  void InvalidateClip() { FClipValid = false; }

  // Logical to surface coordinates. Without a world transform this is the integer Offset().
  bool HasTransform() const { return !State.WorldIsIdentity && State.GraphicsMode == GM_ADVANCED; }
  TPoint Offset() const {
    return {State.ViewportOrg.X - State.WindowOrg.X + FOrigin.X,
            State.ViewportOrg.Y - State.WindowOrg.Y + FOrigin.Y};
  }
  TPoint ToSurface(TPoint P) const;
  void ToSurfaceF(double X, double Y, double& SX, double& SY) const;
  // Surface to logical coordinates (the inverse), rounded.
  TPoint FromSurface(TPoint P) const;

 private:
  void UpdateClip();
  TSurface* FExternal = nullptr;
  TPoint FOrigin;
  std::optional<TRegionData> FVisRgn;
  TRegionData FClip;
  bool FClipIsRect = true;
  bool FClipValid = false;
};

HDC CreateCompatibleDC(HDC DC);
BOOL DeleteDC(HDC DC);
// Returns the new depth of the state stack (1 for the first save), 0 on failure.
Integer SaveDC(HDC DC);
// Level > 0 restores that saved state (dropping those above); < 0 counts back from the top.
BOOL RestoreDC(HDC DC, Integer Level);

HGDIOBJ SelectObject(HDC DC, HGDIOBJ Object);
HGDIOBJ GetCurrentObject(HDC DC, UINT ObjType);

Integer SetMapMode(HDC DC, Integer Mode);  // MM_TEXT only; other modes fail with 0
Integer GetMapMode(HDC DC);
BOOL SetWindowOrgEx(HDC DC, Integer X, Integer Y, POINT* Old);
BOOL GetWindowOrgEx(HDC DC, POINT* Org);
BOOL OffsetWindowOrgEx(HDC DC, Integer Dx, Integer Dy, POINT* Old);
BOOL SetViewportOrgEx(HDC DC, Integer X, Integer Y, POINT* Old);
BOOL GetViewportOrgEx(HDC DC, POINT* Org);
BOOL OffsetViewportOrgEx(HDC DC, Integer Dx, Integer Dy, POINT* Old);
BOOL GetWindowExtEx(HDC DC, SIZE* Ext);
BOOL GetViewportExtEx(HDC DC, SIZE* Ext);
BOOL LPtoDP(HDC DC, POINT* Points, Integer Count);
BOOL DPtoLP(HDC DC, POINT* Points, Integer Count);
// Screen position of the DC's device origin (the window layer's surface is the screen).
BOOL GetDCOrgEx(HDC DC, POINT* Org);

Integer SetGraphicsMode(HDC DC, Integer Mode);
Integer GetGraphicsMode(HDC DC);
// Both fail unless the DC is in GM_ADVANCED.
BOOL SetWorldTransform(HDC DC, const XFORM* Xform);
BOOL ModifyWorldTransform(HDC DC, const XFORM* Xform, DWORD Mode);
BOOL GetWorldTransform(HDC DC, XFORM* Xform);
BOOL CombineTransform(XFORM* Result, const XFORM* A, const XFORM* B);

Integer SetBkMode(HDC DC, Integer Mode);
Integer GetBkMode(HDC DC);
COLORREF SetBkColor(HDC DC, COLORREF Color);
COLORREF GetBkColor(HDC DC);
COLORREF SetTextColor(HDC DC, COLORREF Color);
COLORREF GetTextColor(HDC DC);
UINT SetTextAlign(HDC DC, UINT Align);
UINT GetTextAlign(HDC DC);
Integer SetTextCharacterExtra(HDC DC, Integer Extra);
Integer GetTextCharacterExtra(HDC DC);
BOOL SetTextJustification(HDC DC, Integer BreakExtra, Integer BreakCount);
Integer SetROP2(HDC DC, Integer Mode);
Integer GetROP2(HDC DC);
Integer SetStretchBltMode(HDC DC, Integer Mode);
Integer GetStretchBltMode(HDC DC);
Integer SetPolyFillMode(HDC DC, Integer Mode);
Integer GetPolyFillMode(HDC DC);
Integer SetArcDirection(HDC DC, Integer Direction);
Integer GetArcDirection(HDC DC);
BOOL SetBrushOrgEx(HDC DC, Integer X, Integer Y, POINT* Old);
BOOL GetBrushOrgEx(HDC DC, POINT* Org);
COLORREF SetDCBrushColor(HDC DC, COLORREF Color);
COLORREF GetDCBrushColor(HDC DC);
COLORREF SetDCPenColor(HDC DC, COLORREF Color);
COLORREF GetDCPenColor(HDC DC);
BOOL MoveToEx(HDC DC, Integer X, Integer Y, POINT* Old);
BOOL GetCurrentPositionEx(HDC DC, POINT* Pos);

Integer GetDeviceCaps(HDC DC, Integer Index);

// Clipping. SelectClipRgn copies the region (null removes the clipping region); GetClipRgn
// returns 1 and copies it, 0 when there is none. Regions are in device coordinates; rectangles of
// IntersectClipRect/ExcludeClipRect and GetClipBox results are logical. The return values are region
// complexities.
Integer SelectClipRgn(HDC DC, HRGN Rgn);
Integer ExtSelectClipRgn(HDC DC, HRGN Rgn, Integer Mode);
Integer GetClipRgn(HDC DC, HRGN Rgn);
Integer IntersectClipRect(HDC DC, Integer Left, Integer Top, Integer Right, Integer Bottom);
Integer ExcludeClipRect(HDC DC, Integer Left, Integer Top, Integer Right, Integer Bottom);
Integer OffsetClipRgn(HDC DC, Integer Dx, Integer Dy);
Integer GetClipBox(HDC DC, RECT* Rect);
BOOL PtVisible(HDC DC, Integer X, Integer Y);
BOOL RectVisible(HDC DC, const RECT* Rect);

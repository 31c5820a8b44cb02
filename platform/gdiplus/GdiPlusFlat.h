#pragma once
// The anti-aliased drawing interface (flat entry points) over cairo, drawing into the DIB section
// selected into a device context. Coordinates are pixel centres, as on the platform: a 1-pixel pen
// along y = 5 covers row 5 exactly, a filled box with integer corners is half covered at its edges
// when anti-aliased.
#include "platform/gdi/GdiObject.h"
#include "platform/system/WinTypes.h"

using REAL = float;
using ARGB = DWORD;

enum GpStatus : Integer {
  Ok = 0,
  GenericError = 1,
  InvalidParameter = 2,
  OutOfMemory = 3,
  NotImplemented = 6,
  Win32Error = 7,
  WrongState = 8,
  UnsupportedGdiplusVersion = 17,
  GdiplusNotInitialized = 18,
};

enum GpUnit : Integer { UnitWorld = 0, UnitDisplay = 1, UnitPixel = 2 };
enum SmoothingMode : Integer {
  SmoothingModeInvalid = -1,
  SmoothingModeDefault = 0,
  SmoothingModeHighSpeed = 1,
  SmoothingModeHighQuality = 2,
  SmoothingModeNone = 3,
  SmoothingModeAntiAlias = 4,
};
enum GpDashStyle : Integer {
  DashStyleSolid = 0,
  DashStyleDash = 1,
  DashStyleDot = 2,
  DashStyleDashDot = 3,
  DashStyleDashDotDot = 4,
  DashStyleCustom = 5,
};
enum GpLineJoin : Integer {
  LineJoinMiter = 0,
  LineJoinBevel = 1,
  LineJoinRound = 2,
  LineJoinMiterClipped = 3
};
enum GpHatchStyle : Integer {
  HatchStyleHorizontal = 0,
  HatchStyleVertical = 1,
  HatchStyleForwardDiagonal = 2,
  HatchStyleBackwardDiagonal = 3,
  HatchStyleCross = 4,
  HatchStyleDiagonalCross = 5,
};
enum GpFillMode : Integer { FillModeAlternate = 0, FillModeWinding = 1 };
enum GpMatrixOrder : Integer { MatrixOrderPrepend = 0, MatrixOrderAppend = 1 };
enum GpFlushIntention : Integer { FlushIntentionFlush = 0, FlushIntentionSync = 1 };

struct GpPoint {
  Integer X, Y;
};

struct GdiplusStartupInput {
  UINT GdiplusVersion = 1;
  void* DebugEventCallback = nullptr;
  BOOL SuppressBackgroundThread = FALSE;
  BOOL SuppressExternalCodecs = FALSE;
};
struct GdiplusStartupOutput {
  void* NotificationHook = nullptr;
  void* NotificationUnhook = nullptr;
};

struct GpGraphics;
struct GpPen;
struct _cairo_pattern;
// Brush handles convert to the base handle, as on the platform.
struct GpBrush {
  GpBrush() = default;
  GpBrush(const GpBrush&) = delete;
  GpBrush& operator=(const GpBrush&) = delete;
  virtual ~GpBrush();
  _cairo_pattern* Pattern = nullptr;
};
struct GpSolidFill : GpBrush {};
struct GpHatch : GpBrush {};
struct GpPath;
struct GpMatrix;

// The layer carries this interface (the capability the drawing wrappers ask for).
bool GdiplusPresent();

// Version 1 only. Every successful start-up needs its own shutdown.
GpStatus GdiplusStartup(ULONG_PTR* Token, const GdiplusStartupInput* Input, GdiplusStartupOutput* Output);
void GdiplusShutdown(ULONG_PTR Token);

// Draws into the bitmap selected into a memory DC: in place for a top-down 32-bit DIB section,
// otherwise through a 32-bit copy written back after every drawing call. A window's DC draws on
// the screen surface inside the window's visible region.
GpStatus GdipCreateFromHDC(HDC DC, GpGraphics** Graphics);
GpStatus GdipDeleteGraphics(GpGraphics* Graphics);
GpStatus GdipSetSmoothingMode(GpGraphics* Graphics, SmoothingMode Mode);
GpStatus GdipGetDC(GpGraphics* Graphics, HDC* DC);
GpStatus GdipReleaseDC(GpGraphics* Graphics, HDC DC);
GpStatus GdipFlush(GpGraphics* Graphics, GpFlushIntention Intention);

GpStatus GdipCreatePen1(ARGB Color, REAL Width, GpUnit Unit, GpPen** Pen);
GpStatus GdipDeletePen(GpPen* Pen);
GpStatus GdipSetPenWidth(GpPen* Pen, REAL Width);
GpStatus GdipSetPenColor(GpPen* Pen, ARGB Color);
GpStatus GdipSetPenDashStyle(GpPen* Pen, GpDashStyle Style);
// Dash and gap lengths in pen widths; makes the style custom.
GpStatus GdipSetPenDashArray(GpPen* Pen, const REAL* Dashes, Integer Count);
GpStatus GdipSetPenLineJoin(GpPen* Pen, GpLineJoin Join);

GpStatus GdipCreateSolidFill(ARGB Color, GpSolidFill** Brush);
// 8 x 8 patterns anchored at the device origin.
GpStatus GdipCreateHatchBrush(GpHatchStyle Style, ARGB Fore, ARGB Back, GpHatch** Brush);
GpStatus GdipDeleteBrush(GpBrush* Brush);

GpStatus GdipDrawLine(GpGraphics* Graphics, GpPen* Pen, REAL X1, REAL Y1, REAL X2, REAL Y2);
GpStatus GdipDrawLinesI(GpGraphics* Graphics, GpPen* Pen, const GpPoint* Points, Integer Count);
GpStatus GdipDrawRectangle(GpGraphics* Graphics, GpPen* Pen, REAL X, REAL Y, REAL Width, REAL Height);
GpStatus GdipFillRectangle(GpGraphics* Graphics, GpBrush* Brush, REAL X, REAL Y, REAL Width, REAL Height);
GpStatus GdipDrawEllipse(GpGraphics* Graphics, GpPen* Pen, REAL X, REAL Y, REAL Width, REAL Height);
GpStatus GdipFillEllipse(GpGraphics* Graphics, GpBrush* Brush, REAL X, REAL Y, REAL Width, REAL Height);
GpStatus GdipDrawPolygonI(GpGraphics* Graphics, GpPen* Pen, const GpPoint* Points, Integer Count);
GpStatus GdipFillPolygonI(GpGraphics* Graphics, GpBrush* Brush, const GpPoint* Points, Integer Count,
                          GpFillMode Mode);
// Angles in degrees, clockwise from the x axis.
GpStatus GdipDrawArc(GpGraphics* Graphics, GpPen* Pen, REAL X, REAL Y, REAL Width, REAL Height, REAL Start,
                     REAL Sweep);

GpStatus GdipCreatePath(GpFillMode Mode, GpPath** Path);
GpStatus GdipDeletePath(GpPath* Path);
GpStatus GdipAddPathArc(GpPath* Path, REAL X, REAL Y, REAL Width, REAL Height, REAL Start, REAL Sweep);
GpStatus GdipAddPathLine(GpPath* Path, REAL X1, REAL Y1, REAL X2, REAL Y2);
GpStatus GdipDrawPath(GpGraphics* Graphics, GpPen* Pen, GpPath* Path);
GpStatus GdipFillPath(GpGraphics* Graphics, GpBrush* Brush, GpPath* Path);

GpStatus GdipCreateMatrix(GpMatrix** Matrix);
GpStatus GdipCreateMatrix2(REAL M11, REAL M12, REAL M21, REAL M22, REAL Dx, REAL Dy, GpMatrix** Matrix);
GpStatus GdipDeleteMatrix(GpMatrix* Matrix);
GpStatus GdipSetWorldTransform(GpGraphics* Graphics, GpMatrix* Matrix);
GpStatus GdipGetWorldTransform(GpGraphics* Graphics, GpMatrix* Matrix);
GpStatus GdipResetWorldTransform(GpGraphics* Graphics);
GpStatus GdipRotateWorldTransform(GpGraphics* Graphics, REAL Angle, GpMatrixOrder Order);
GpStatus GdipTranslateWorldTransform(GpGraphics* Graphics, REAL Dx, REAL Dy, GpMatrixOrder Order);
GpStatus GdipScaleWorldTransform(GpGraphics* Graphics, REAL Sx, REAL Sy, GpMatrixOrder Order);

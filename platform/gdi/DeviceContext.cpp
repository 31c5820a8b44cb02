#include "platform/gdi/DeviceContext.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <type_traits>

#include "platform/gdi/DcInternals.h"
#include "platform/gdi/Dib.h"
#include "platform/gdi/EnhMetaFileRecord.h"
#include "platform/gdi/Palettes.h"
#include "platform/gdi/Regions.h"

namespace {

TSize GScreenSize{1920, 1080};

// Clipping regions set through rectangles start from the whole device space.
const TRect DeviceSpace{-ShapeCoordLimit, -ShapeCoordLimit, ShapeCoordLimit, ShapeCoordLimit};

void HoldState(HDC DC, const TDcState& S) {
  HoldGdiObject(S.Pen);
  HoldGdiObject(S.Brush);
  HoldGdiObject(S.Font);
  HoldGdiObject(S.Palette);
  if (S.Bitmap && !S.Bitmap->Stock) {
    S.Bitmap->SelectedInto = DC;
    HoldGdiObject(S.Bitmap);
  }
}

void ReleaseBitmap(HBITMAP B) {
  if (!B || B->Stock) return;
  ReleaseGdiObject(B);
  if (!IsObjectSelected(B)) B->SelectedInto = nullptr;
}

void ReleaseState(const TDcState& S) {
  ReleaseGdiObject(S.Pen);
  ReleaseGdiObject(S.Brush);
  ReleaseGdiObject(S.Font);
  ReleaseGdiObject(S.Palette);
  ReleaseBitmap(S.Bitmap);
}

bool IsIdentity(const XFORM& X) {
  return X.eM11 == 1 && X.eM12 == 0 && X.eM21 == 0 && X.eM22 == 1 && X.eDx == 0 && X.eDy == 0;
}

// Logical to device (window and viewport origins, no DC origin), as doubles.
void LogicalToDevice(HDC DC, double X, double Y, double& DX, double& DY) {
  const TDcState& S = DC->State;
  if (DC->HasTransform()) {
    const XFORM& W = S.World;
    const double TX = X * W.eM11 + Y * W.eM21 + W.eDx;
    const double TY = X * W.eM12 + Y * W.eM22 + W.eDy;
    X = TX, Y = TY;
  }
  DX = X - S.WindowOrg.X + S.ViewportOrg.X;
  DY = Y - S.WindowOrg.Y + S.ViewportOrg.Y;
}

void DeviceToLogical(HDC DC, double X, double Y, double& LX, double& LY) {
  const TDcState& S = DC->State;
  X = X + S.WindowOrg.X - S.ViewportOrg.X;
  Y = Y + S.WindowOrg.Y - S.ViewportOrg.Y;
  if (DC->HasTransform()) {
    const XFORM& W = S.World;
    const double Det = static_cast<double>(W.eM11) * W.eM22 - static_cast<double>(W.eM12) * W.eM21;
    const double PX = X - W.eDx, PY = Y - W.eDy;
    X = (PX * W.eM22 - PY * W.eM21) / Det;
    Y = (PY * W.eM11 - PX * W.eM12) / Det;
  }
  LX = X, LY = Y;
}

// A transformed point beyond the device space stops at its edge (no integer overflow).
Integer RoundCoord(double V) {
  if (std::isnan(V)) return 0;
  if (V < -ShapeCoordLimit) return -ShapeCoordLimit;
  if (V > ShapeCoordLimit) return ShapeCoordLimit;
  return static_cast<Integer>(std::floor(V + 0.5));
}

// A logical rectangle in device coordinates: the box of its transformed corners.
TRect LogicalRectToDevice(HDC DC, Integer Left, Integer Top, Integer Right, Integer Bottom) {
  double X0, Y0, X1, Y1;
  LogicalToDevice(DC, Left, Top, X0, Y0);
  LogicalToDevice(DC, Right, Bottom, X1, Y1);
  if (DC->HasTransform()) {
    double X2, Y2, X3, Y3;
    LogicalToDevice(DC, Right, Top, X2, Y2);
    LogicalToDevice(DC, Left, Bottom, X3, Y3);
    const double MinX = std::min({X0, X1, X2, X3}), MaxX = std::max({X0, X1, X2, X3});
    const double MinY = std::min({Y0, Y1, Y2, Y3}), MaxY = std::max({Y0, Y1, Y2, Y3});
    X0 = MinX, X1 = MaxX, Y0 = MinY, Y1 = MaxY;
  }
  return {RoundCoord(X0), RoundCoord(Y0), RoundCoord(X1), RoundCoord(Y1)};
}

template <class T>
T Swap(T& Field, T Value) {
  T Old = Field;
  Field = Value;
  return Old;
}

// The Set/Get pairs of the DC state: Fail for a handle that is no DC (and, setting, for a value
// that is not Valid); a setter returns the previous value.
template <class T>
T SetState(HDC DC, T TDcState::*Field, std::type_identity_t<T> Value, bool Valid,
           std::type_identity_t<T> Fail) {
  return IsDeviceContext(DC) && Valid ? Swap(DC->State.*Field, Value) : Fail;
}
template <class T>
T GetState(HDC DC, T TDcState::*Field, std::type_identity_t<T> Fail) {
  return IsDeviceContext(DC) ? DC->State.*Field : Fail;
}

// The origins and the current position: Old (optional) receives the previous point.
BOOL SetPoint(HDC DC, TPoint TDcState::*Field, TPoint Value, POINT* Old) {
  if (!IsDeviceContext(DC)) return FALSE;
  if (Old) *Old = DC->State.*Field;
  DC->State.*Field = Value;
  return TRUE;
}
BOOL GetPoint(HDC DC, TPoint TDcState::*Field, POINT* Out) {
  if (!IsDeviceContext(DC) || !Out) return FALSE;
  *Out = DC->State.*Field;
  return TRUE;
}
BOOL OffsetPoint(HDC DC, TPoint TDcState::*Field, Integer Dx, Integer Dy, POINT* Old) {
  if (!IsDeviceContext(DC)) return FALSE;
  const TPoint P = DC->State.*Field;
  return SetPoint(DC, Field, {P.X + Dx, P.Y + Dy}, Old);
}

}  // namespace

void SetScreenSize(Integer Width, Integer Height) {
  GScreenSize = {Width, Height};
}
TSize GetScreenSize() {
  return GScreenSize;
}

TDeviceContext::TDeviceContext(Integer Type) : TGdiObject(Type) {
  State.Pen = static_cast<HPEN>(GetStockObject(BLACK_PEN));
  State.Brush = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  State.Font = GetStockObject(SYSTEM_FONT);
  State.Palette = static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
  if (Type == OBJ_MEMDC) State.Bitmap = StockBitmap();
  HoldState(this, State);
}

TDeviceContext::~TDeviceContext() {
  ReleaseState(State);
  for (const TDcState& S : Saved) ReleaseState(S);
}

HDC TDeviceContext::CreateForSurface(TSurface* Surface, TPoint Origin, std::optional<TRegionData> VisRgn) {
  auto* DC = new TDeviceContext(OBJ_DC);
  DC->SetTarget(Surface, Origin, std::move(VisRgn));
  return DC;
}

void TDeviceContext::SetTarget(TSurface* Surface, TPoint Origin, std::optional<TRegionData> VisRgn) {
  FExternal = Surface;
  FOrigin = Origin;
  FVisRgn = std::move(VisRgn);
  FClipValid = false;
}

void TDeviceContext::SetVisibleRegion(std::optional<TRegionData> VisRgn) {
  FVisRgn = std::move(VisRgn);
  FClipValid = false;
}

const TSurface& TDeviceContext::Surface() const {
  if (FExternal) return *FExternal;
  return State.Bitmap->Surface;
}

void TDeviceContext::UpdateClip() {
  FClip.SetRect(Surface().Bounds());
  if (FVisRgn) FClip.Combine(FClip, *FVisRgn, RGN_AND);
  if (State.ClipRgn) {
    if (FOrigin.X == 0 && FOrigin.Y == 0) {
      FClip.Combine(FClip, *State.ClipRgn, RGN_AND);
    } else {
      TRegionData C = *State.ClipRgn;
      C.Offset(FOrigin.X, FOrigin.Y);
      FClip.Combine(FClip, C, RGN_AND);
    }
  }
  FClipIsRect = FClip.Rects().size() <= 1;
  FClipValid = true;
}

TPoint TDeviceContext::ToSurface(TPoint P) const {
  if (!HasTransform()) {
    const TPoint O = Offset();
    return {P.X + O.X, P.Y + O.Y};
  }
  double X, Y;
  ToSurfaceF(P.X, P.Y, X, Y);
  return {RoundCoord(X), RoundCoord(Y)};
}

void TDeviceContext::ToSurfaceF(double X, double Y, double& SX, double& SY) const {
  LogicalToDevice(const_cast<HDC>(this), X, Y, SX, SY);
  SX += FOrigin.X;
  SY += FOrigin.Y;
}

TPoint TDeviceContext::FromSurface(TPoint P) const {
  double X, Y;
  DeviceToLogical(const_cast<HDC>(this), P.X - FOrigin.X, P.Y - FOrigin.Y, X, Y);
  return {RoundCoord(X), RoundCoord(Y)};
}

HDC CreateCompatibleDC(HDC) {
  return new TDeviceContext(OBJ_MEMDC);
}

BOOL DeleteDC(HDC DC) {
  if (!IsDeviceContext(DC)) return FALSE;
  delete DC;
  return TRUE;
}

Integer SaveDC(HDC DC) {
  if (!IsDeviceContext(DC)) return 0;
  DC->Saved.push_back(DC->State);
  HoldState(DC, DC->State);
  return static_cast<Integer>(DC->Saved.size());
}

BOOL RestoreDC(HDC DC, Integer Level) {
  if (!IsDeviceContext(DC) || Level == 0) return FALSE;
  const Integer Size = static_cast<Integer>(DC->Saved.size());
  const Integer Index = Level < 0 ? Size + Level + 1 : Level;
  if (Index < 1 || Index > Size) return FALSE;
  ReleaseState(DC->State);
  DC->State = std::move(DC->Saved[static_cast<std::size_t>(Index - 1)]);
  for (Integer I = Index; I < Size; ++I) ReleaseState(DC->Saved[static_cast<std::size_t>(I)]);
  DC->Saved.resize(static_cast<std::size_t>(Index - 1));
  // The restored bitmap is this DC's again (its hold came with the state).
  if (DC->State.Bitmap && !DC->State.Bitmap->Stock) DC->State.Bitmap->SelectedInto = DC;
  DC->InvalidateClip();
  return TRUE;
}

HGDIOBJ SelectObject(HDC DC, HGDIOBJ Object) {
  if (!IsDeviceContext(DC) || !Object) return nullptr;
  TDcState& S = DC->State;
  auto Replace = [&](auto& Field, auto* New) -> HGDIOBJ {
    auto* Old = Field;
    if (Old == New) return Old;
    HoldGdiObject(New);
    Field = New;
    ReleaseGdiObject(Old);
    return Old;
  };
  switch (Object->ObjType) {
    case OBJ_PEN:
    case OBJ_EXTPEN:
      return Replace(S.Pen, static_cast<HPEN>(Object));
    case OBJ_BRUSH:
      return Replace(S.Brush, static_cast<HBRUSH>(Object));
    case OBJ_FONT:
      return Replace(S.Font, Object);
    case OBJ_BITMAP: {
      auto* B = static_cast<HBITMAP>(Object);
      if (!DC->IsMemoryDC()) return nullptr;
      HBITMAP Old = S.Bitmap;
      if (Old == B) return Old;
      if (!B->Stock && B->SelectedInto && B->SelectedInto != DC) return nullptr;
      if (!B->Stock) {
        B->SelectedInto = DC;
        HoldGdiObject(B);
      }
      S.Bitmap = B;
      ReleaseBitmap(Old);
      DC->InvalidateClip();
      return Old;
    }
    case OBJ_REGION:
      return reinterpret_cast<HGDIOBJ>(
          static_cast<std::intptr_t>(SelectClipRgn(DC, static_cast<HRGN>(Object))));
    default:
      return nullptr;
  }
}

HGDIOBJ GetCurrentObject(HDC DC, UINT ObjType) {
  if (!IsDeviceContext(DC)) return nullptr;
  switch (ObjType) {
    case OBJ_PEN:
    case OBJ_EXTPEN:
      return DC->State.Pen;
    case OBJ_BRUSH:
      return DC->State.Brush;
    case OBJ_FONT:
      return DC->State.Font;
    case OBJ_PAL:
      return DC->State.Palette;
    case OBJ_BITMAP:
      return DC->State.Bitmap;
    default:
      return nullptr;
  }
}

Integer SetMapMode(HDC DC, Integer Mode) {
  return SetState(DC, &TDcState::MapMode, Mode, Mode == MM_TEXT, 0);
}
Integer GetMapMode(HDC DC) {
  return GetState(DC, &TDcState::MapMode, 0);
}

BOOL SetWindowOrgEx(HDC DC, Integer X, Integer Y, POINT* Old) {
  return SetPoint(DC, &TDcState::WindowOrg, {X, Y}, Old);
}
BOOL GetWindowOrgEx(HDC DC, POINT* Org) {
  return GetPoint(DC, &TDcState::WindowOrg, Org);
}
BOOL OffsetWindowOrgEx(HDC DC, Integer Dx, Integer Dy, POINT* Old) {
  return OffsetPoint(DC, &TDcState::WindowOrg, Dx, Dy, Old);
}
BOOL SetViewportOrgEx(HDC DC, Integer X, Integer Y, POINT* Old) {
  return SetPoint(DC, &TDcState::ViewportOrg, {X, Y}, Old);
}
BOOL GetViewportOrgEx(HDC DC, POINT* Org) {
  return GetPoint(DC, &TDcState::ViewportOrg, Org);
}
BOOL OffsetViewportOrgEx(HDC DC, Integer Dx, Integer Dy, POINT* Old) {
  return OffsetPoint(DC, &TDcState::ViewportOrg, Dx, Dy, Old);
}
BOOL GetWindowExtEx(HDC DC, SIZE* Ext) {
  if (!IsDeviceContext(DC) || !Ext) return FALSE;
  *Ext = {1, 1};
  return TRUE;
}
BOOL GetViewportExtEx(HDC DC, SIZE* Ext) {
  return GetWindowExtEx(DC, Ext);
}

namespace {
BOOL MapPoints(HDC DC, POINT* Points, Integer Count, void (*Map)(HDC, double, double, double&, double&)) {
  if (!IsDeviceContext(DC) || (!Points && Count > 0)) return FALSE;
  for (Integer I = 0; I < Count; ++I) {
    double X, Y;
    Map(DC, Points[I].X, Points[I].Y, X, Y);
    Points[I] = {RoundCoord(X), RoundCoord(Y)};
  }
  return TRUE;
}
}  // namespace

BOOL LPtoDP(HDC DC, POINT* Points, Integer Count) {
  return MapPoints(DC, Points, Count, LogicalToDevice);
}
BOOL DPtoLP(HDC DC, POINT* Points, Integer Count) {
  return MapPoints(DC, Points, Count, DeviceToLogical);
}

BOOL GetDCOrgEx(HDC DC, POINT* Org) {
  if (!IsDeviceContext(DC) || !Org) return FALSE;
  *Org = DC->DcOrigin();
  return TRUE;
}

Integer SetGraphicsMode(HDC DC, Integer Mode) {
  if (!IsDeviceContext(DC) || (Mode != GM_COMPATIBLE && Mode != GM_ADVANCED)) return 0;
  // Leaving the advanced mode needs the identity transform first.
  if (Mode == GM_COMPATIBLE && !DC->State.WorldIsIdentity) return 0;
  return Swap(DC->State.GraphicsMode, Mode);
}
Integer GetGraphicsMode(HDC DC) {
  return GetState(DC, &TDcState::GraphicsMode, 0);
}

BOOL CombineTransform(XFORM* Result, const XFORM* A, const XFORM* B) {
  if (!Result || !A || !B) return FALSE;
  XFORM R;
  R.eM11 = A->eM11 * B->eM11 + A->eM12 * B->eM21;
  R.eM12 = A->eM11 * B->eM12 + A->eM12 * B->eM22;
  R.eM21 = A->eM21 * B->eM11 + A->eM22 * B->eM21;
  R.eM22 = A->eM21 * B->eM12 + A->eM22 * B->eM22;
  R.eDx = A->eDx * B->eM11 + A->eDy * B->eM21 + B->eDx;
  R.eDy = A->eDx * B->eM12 + A->eDy * B->eM22 + B->eDy;
  *Result = R;
  return TRUE;
}

namespace {
BOOL SetWorld(HDC DC, const XFORM& X) {
  const double Det = static_cast<double>(X.eM11) * X.eM22 - static_cast<double>(X.eM12) * X.eM21;
  if (Det == 0 || !std::isfinite(Det) || !std::isfinite(X.eDx) || !std::isfinite(X.eDy)) return FALSE;
  DC->State.World = X;
  DC->State.WorldIsIdentity = IsIdentity(X);
  return TRUE;
}
}  // namespace

BOOL SetWorldTransform(HDC DC, const XFORM* Xform) {
  if (!IsDeviceContext(DC) || !Xform || DC->State.GraphicsMode != GM_ADVANCED) return FALSE;
  return SetWorld(DC, *Xform);
}

BOOL ModifyWorldTransform(HDC DC, const XFORM* Xform, DWORD Mode) {
  if (!IsDeviceContext(DC) || DC->State.GraphicsMode != GM_ADVANCED) return FALSE;
  XFORM R;
  switch (Mode) {
    case MWT_IDENTITY:
      return SetWorld(DC, XFORM{});
    case MWT_LEFTMULTIPLY:
      if (!Xform) return FALSE;
      CombineTransform(&R, Xform, &DC->State.World);
      return SetWorld(DC, R);
    case MWT_RIGHTMULTIPLY:
      if (!Xform) return FALSE;
      CombineTransform(&R, &DC->State.World, Xform);
      return SetWorld(DC, R);
    default:
      return FALSE;
  }
}

BOOL GetWorldTransform(HDC DC, XFORM* Xform) {
  if (!IsDeviceContext(DC) || !Xform) return FALSE;
  *Xform = DC->State.World;
  return TRUE;
}

Integer SetBkMode(HDC DC, Integer Mode) {
  return SetState(DC, &TDcState::BkMode, Mode, Mode == TRANSPARENT || Mode == OPAQUE, 0);
}
Integer GetBkMode(HDC DC) {
  return GetState(DC, &TDcState::BkMode, 0);
}
COLORREF SetBkColor(HDC DC, COLORREF Color) {
  return SetState(DC, &TDcState::BkColor, Color, true, CLR_INVALID);
}
COLORREF GetBkColor(HDC DC) {
  return GetState(DC, &TDcState::BkColor, CLR_INVALID);
}
COLORREF SetTextColor(HDC DC, COLORREF Color) {
  return SetState(DC, &TDcState::TextColor, Color, true, CLR_INVALID);
}
COLORREF GetTextColor(HDC DC) {
  return GetState(DC, &TDcState::TextColor, CLR_INVALID);
}
UINT SetTextAlign(HDC DC, UINT Align) {
  return SetState(DC, &TDcState::TextAlign, Align, true, GDI_ERROR);
}
UINT GetTextAlign(HDC DC) {
  return GetState(DC, &TDcState::TextAlign, GDI_ERROR);
}
Integer SetTextCharacterExtra(HDC DC, Integer Extra) {
  return SetState(DC, &TDcState::TextCharExtra, Extra, true, static_cast<Integer>(0x80000000));
}
Integer GetTextCharacterExtra(HDC DC) {
  return GetState(DC, &TDcState::TextCharExtra, static_cast<Integer>(0x80000000));
}
BOOL SetTextJustification(HDC DC, Integer BreakExtra, Integer BreakCount) {
  if (!IsDeviceContext(DC)) return FALSE;
  DC->State.BreakExtra = BreakCount > 0 ? BreakExtra : 0;
  DC->State.BreakCount = BreakCount > 0 ? BreakCount : 0;
  return TRUE;
}
Integer SetROP2(HDC DC, Integer Mode) {
  return SetState(DC, &TDcState::Rop2, Mode, Mode >= R2_BLACK && Mode <= R2_WHITE, 0);
}
Integer GetROP2(HDC DC) {
  return GetState(DC, &TDcState::Rop2, 0);
}
Integer SetStretchBltMode(HDC DC, Integer Mode) {
  return SetState(DC, &TDcState::StretchBltMode, Mode, Mode >= BLACKONWHITE && Mode <= HALFTONE, 0);
}
Integer GetStretchBltMode(HDC DC) {
  return GetState(DC, &TDcState::StretchBltMode, 0);
}
Integer SetPolyFillMode(HDC DC, Integer Mode) {
  return SetState(DC, &TDcState::PolyFillMode, Mode, Mode == ALTERNATE || Mode == WINDING, 0);
}
Integer GetPolyFillMode(HDC DC) {
  return GetState(DC, &TDcState::PolyFillMode, 0);
}
Integer SetArcDirection(HDC DC, Integer Direction) {
  const bool Valid = Direction == AD_COUNTERCLOCKWISE || Direction == AD_CLOCKWISE;
  return SetState(DC, &TDcState::ArcDirection, Direction, Valid, 0);
}
Integer GetArcDirection(HDC DC) {
  return GetState(DC, &TDcState::ArcDirection, 0);
}
BOOL SetBrushOrgEx(HDC DC, Integer X, Integer Y, POINT* Old) {
  return SetPoint(DC, &TDcState::BrushOrg, {X, Y}, Old);
}
BOOL GetBrushOrgEx(HDC DC, POINT* Org) {
  return GetPoint(DC, &TDcState::BrushOrg, Org);
}
COLORREF SetDCBrushColor(HDC DC, COLORREF Color) {
  return SetState(DC, &TDcState::DCBrushColor, Color, true, CLR_INVALID);
}
COLORREF GetDCBrushColor(HDC DC) {
  return GetState(DC, &TDcState::DCBrushColor, CLR_INVALID);
}
COLORREF SetDCPenColor(HDC DC, COLORREF Color) {
  return SetState(DC, &TDcState::DCPenColor, Color, true, CLR_INVALID);
}
COLORREF GetDCPenColor(HDC DC) {
  return GetState(DC, &TDcState::DCPenColor, CLR_INVALID);
}

BOOL MoveToEx(HDC DC, Integer X, Integer Y, POINT* Old) {
  if (IsRecordingDC(DC)) EmfRecordMoveTo(DC, X, Y);
  return SetPoint(DC, &TDcState::CurPos, {X, Y}, Old);
}
BOOL GetCurrentPositionEx(HDC DC, POINT* Pos) {
  return GetPoint(DC, &TDcState::CurPos, Pos);
}

Integer GetDeviceCaps(HDC DC, Integer Index) {
  if (!IsDeviceContext(DC)) return 0;
  // Every DC is compatible with the display: a 32-bit, 96 dpi, true-colour raster screen.
  const TSize Screen = GetScreenSize();
  switch (Index) {
    case DRIVERVERSION:
      return 0x4000;
    case TECHNOLOGY:
      return DT_RASDISPLAY;
    case HORZSIZE:
      return Screen.cx * 254 / 960;
    case VERTSIZE:
      return Screen.cy * 254 / 960;
    case HORZRES:
    case DESKTOPHORZRES:
      return Screen.cx;
    case VERTRES:
    case DESKTOPVERTRES:
      return Screen.cy;
    case BITSPIXEL:
      return 32;
    case PLANES:
      return 1;
    case NUMBRUSHES:
    case NUMPENS:
    case NUMCOLORS:
      return -1;
    case NUMMARKERS:
    case NUMFONTS:
      return 0;
    case PDEVICESIZE:
      return 0;
    case CURVECAPS:
      return CC_CIRCLES | CC_PIE | CC_CHORD | CC_ELLIPSES | CC_WIDE | CC_STYLED | CC_WIDESTYLED |
             CC_INTERIORS | CC_ROUNDRECT;
    case LINECAPS:
      return LC_POLYLINE | LC_MARKER | LC_POLYMARKER | LC_WIDE | LC_STYLED | LC_WIDESTYLED | LC_INTERIORS;
    case POLYGONALCAPS:
      return PC_POLYGON | PC_RECTANGLE | PC_WINDPOLYGON | PC_SCANLINE | PC_WIDE | PC_STYLED | PC_WIDESTYLED |
             PC_INTERIORS;
    case TEXTCAPS:
      return 0;
    case CLIPCAPS:
      return CP_RECTANGLE;
    case RASTERCAPS:
      return RC_BITBLT | RC_BITMAP64 | RC_GDI20_OUTPUT | RC_DI_BITMAP | RC_DIBTODEV | RC_STRETCHBLT |
             RC_FLOODFILL | RC_STRETCHDIB;
    case ASPECTX:
    case ASPECTY:
      return 36;
    case ASPECTXY:
      return 51;
    case LOGPIXELSX:
    case LOGPIXELSY:
      return 96;
    case SIZEPALETTE:
      return 0;
    case NUMRESERVED:
      return 20;
    case COLORRES:
      return 24;
    case VREFRESH:
      return 60;
    case SHADEBLENDCAPS:
      return SB_CONST_ALPHA | SB_PIXEL_ALPHA | SB_PREMULT_ALPHA | SB_GRAD_RECT | SB_GRAD_TRI;
    case COLORMGMTCAPS:
      return CM_GAMMA_RAMP;
    default:
      return 0;
  }
}

// ---- Clipping ----

Integer SelectClipRgn(HDC DC, HRGN Rgn) {
  return ExtSelectClipRgn(DC, Rgn, RGN_COPY);
}

Integer ExtSelectClipRgn(HDC DC, HRGN Rgn, Integer Mode) {
  if (!IsDeviceContext(DC)) return ERROR;
  TDcState& S = DC->State;
  if (!Rgn) {
    if (Mode != RGN_COPY) return ERROR;
    S.ClipRgn.reset();
  } else if (Mode == RGN_COPY) {
    S.ClipRgn = Rgn->Data;
  } else {
    if (Mode < RGN_AND || Mode > RGN_DIFF) return ERROR;
    TRegionData Base = S.ClipRgn ? *S.ClipRgn : TRegionData(DeviceSpace);
    Base.Combine(Base, Rgn->Data, Mode);
    S.ClipRgn = std::move(Base);
  }
  DC->InvalidateClip();
  return DC->Clip().Complexity();
}

Integer GetClipRgn(HDC DC, HRGN Rgn) {
  if (!IsDeviceContext(DC) || !Rgn) return -1;
  if (!DC->State.ClipRgn) return 0;
  Rgn->Data = *DC->State.ClipRgn;
  return 1;
}

Integer IntersectClipRect(HDC DC, Integer Left, Integer Top, Integer Right, Integer Bottom) {
  if (!IsDeviceContext(DC)) return ERROR;
  const TRect R = LogicalRectToDevice(DC, Left, Top, Right, Bottom);
  TDcState& S = DC->State;
  if (!S.ClipRgn)
    S.ClipRgn = TRegionData(R);
  else
    S.ClipRgn->IntersectRect(R);
  DC->InvalidateClip();
  return DC->Clip().Complexity();
}

Integer ExcludeClipRect(HDC DC, Integer Left, Integer Top, Integer Right, Integer Bottom) {
  if (!IsDeviceContext(DC)) return ERROR;
  const TRect R = LogicalRectToDevice(DC, Left, Top, Right, Bottom);
  TDcState& S = DC->State;
  if (!S.ClipRgn) S.ClipRgn = TRegionData(DeviceSpace);
  S.ClipRgn->ExcludeRect(R);
  DC->InvalidateClip();
  return DC->Clip().Complexity();
}

Integer OffsetClipRgn(HDC DC, Integer Dx, Integer Dy) {
  if (!IsDeviceContext(DC)) return ERROR;
  if (DC->State.ClipRgn) {
    if (!DC->State.ClipRgn->Offset(Dx, Dy)) return ERROR;
    DC->InvalidateClip();
  }
  return DC->Clip().Complexity();
}

Integer GetClipBox(HDC DC, RECT* Rect) {
  if (!IsDeviceContext(DC) || !Rect) return ERROR;
  const TRegionData& C = DC->Clip();
  if (C.IsEmpty()) {
    *Rect = {0, 0, 0, 0};
    return NULLREGION;
  }
  const TRect& B = C.Box();
  TPoint P0 = DC->FromSurface(B.TopLeft()), P1 = DC->FromSurface(B.BottomRight());
  *Rect = {std::min(P0.X, P1.X), std::min(P0.Y, P1.Y), std::max(P0.X, P1.X), std::max(P0.Y, P1.Y)};
  return C.Complexity();
}

BOOL PtVisible(HDC DC, Integer X, Integer Y) {
  if (!IsDeviceContext(DC)) return -1;
  const TPoint P = DC->ToSurface({X, Y});
  return DC->Clip().Contains(P.X, P.Y) ? TRUE : FALSE;
}

BOOL RectVisible(HDC DC, const RECT* Rect) {
  if (!IsDeviceContext(DC) || !Rect) return FALSE;
  TPoint P0 = DC->ToSurface(Rect->TopLeft()), P1 = DC->ToSurface(Rect->BottomRight());
  const TRect R{std::min(P0.X, P1.X), std::min(P0.Y, P1.Y), std::max(P0.X, P1.X), std::max(P0.Y, P1.Y)};
  return DC->Clip().IntersectsRect(R) ? TRUE : FALSE;
}

#include "imaging/core/iegdiplus.h"

#include <algorithm>
#include <numbers>
#include <vector>

#include "imaging/core/iegeometry.h"
#include "imaging/core/ieprocbase.h"
#include "platform/classes/GraphicsObjects.h"
#include "platform/gdi/Text.h"
#include "platform/system/Exceptions.h"
#include "platform/system/Math.h"

namespace {

// User-interface thread only, as every drawing call.
bool Allowed = true;
bool Loaded = false;
Integer LoadCount = 0;
ULONG_PTR StartupToken = 0;

ARGB ToArgb(TColor Color, Integer Alpha) {
  return static_cast<ARGB>(IEColorToARGB(Color, static_cast<Byte>(Alpha)));
}

REAL Degrees(double Radians) {
  return static_cast<REAL>(Radians * 180 / std::numbers::pi);
}

std::vector<GpPoint> ToGpPoints(std::span<const TPoint> Points) {
  std::vector<GpPoint> Out;
  Out.reserve(Points.size());
  for (const TPoint& P : Points) Out.push_back({P.X, P.Y});
  return Out;
}

// Left < right and top < bottom.
TRect Ordered(Integer X1, Integer Y1, Integer X2, Integer Y2) {
  return TRect{std::min(X1, X2), std::min(Y1, Y2), std::max(X1, X2), std::max(Y1, Y2)};
}

}  // namespace

void IEGdiPlusLoad() {
  ++LoadCount;
  if (!Allowed || Loaded || !GdiplusPresent()) return;
  Loaded = true;
  GdiplusStartupInput Input;
  GdiplusStartup(&StartupToken, &Input, nullptr);  // as the library has always done: unchecked
}

void IEGdiPlusUnload() {
  // An unmatched unload must not let a later user's load be undone early.
  if (LoadCount > 0) --LoadCount;
  if (Loaded && LoadCount == 0) {
    GdiplusShutdown(StartupToken);
    Loaded = false;
  }
}

bool IEGdiPlusAvailable() {
  return Loaded;
}

bool IEGdiPlusEnabled() {
  return Allowed && Loaded;
}

bool IEGdiPlusAllowed() {
  return Allowed;
}

void IEGdiPlusSetAllowed(bool Value) {
  Allowed = Value;
}

void IEGdiPlusInitialize() {
  Allowed = true;
  Loaded = false;
  LoadCount = 0;
}

void IEGdiPlusFinalize() {}

// --- TIEPen

TIEPen::TIEPen(TPen* Pen)
    : FPen(Pen),
      FColor(Pen->GetColor()),
      FWidth(static_cast<Single>(Pen->GetWidth())),
      FStyle(Pen->GetStyle()),
      FMode(Pen->GetMode()) {
  CreateGdiPen();
}

TIEPen::~TIEPen() {
  if (FGdiPen) GdipDeletePen(FGdiPen);
}

ARGB TIEPen::Argb() const {
  return ToArgb(FColor, FStyle == psClear ? 0 : FTransparency);
}

void TIEPen::CreateGdiPen() {
  if (!IEGdiPlusEnabled()) return;
  if (FGdiPen) GdipDeletePen(FGdiPen);
  FGdiPen = nullptr;
  GdipCreatePen1(Argb(), FWidth, UnitPixel, &FGdiPen);
  if (!FGdiPen) throw Exception("Cannot create TIEPen. GdipCreatePen1 failed.");
  SetStyle(FStyle);
  SetLineJoin(FLineJoin);
}

void TIEPen::SetColor(TColor Value) {
  FColor = Value;
  if (IEGdiPlusEnabled() && FGdiPen) GdipSetPenColor(FGdiPen, Argb());
  FPen->SetColor(Value);
}

void TIEPen::SetTransparency(Integer Value) {
  FTransparency = Value;
  if (IEGdiPlusEnabled() && FGdiPen) GdipSetPenColor(FGdiPen, Argb());
}

void TIEPen::SetWidth(Single Value) {
  FWidth = Value;
  if (IEGdiPlusEnabled() && FGdiPen) GdipSetPenWidth(FGdiPen, Value);
  FPen->SetWidth(static_cast<Integer>(Trunc(Value)));
}

void TIEPen::SetStyle(TPenStyle Value) {
  FStyle = Value;
  if (IEGdiPlusEnabled() && FGdiPen) {
    GdipSetPenColor(FGdiPen, Argb());
    const bool Solid = Value == psClear || Value == psInsideFrame;
    GdipSetPenDashStyle(FGdiPen, Solid ? DashStyleSolid : static_cast<GpDashStyle>(Value));
  }
  FPen->SetStyle(Value);
}

void TIEPen::SetMode(TPenMode Value) {
  FMode = Value;
  FPen->SetMode(Value);
}

void TIEPen::SetLineJoin(Byte Value) {
  FLineJoin = Value;
  if (IEGdiPlusEnabled() && FGdiPen) GdipSetPenLineJoin(FGdiPen, static_cast<GpLineJoin>(Value));
}

// --- TIEBrush

TIEBrush::TIEBrush(TBrush* Brush) : FBrush(Brush), FColor(Brush->GetColor()), FStyle(Brush->GetStyle()) {
  CreateGdiBrush();
}

TIEBrush::~TIEBrush() {
  if (FGdiBrush) GdipDeleteBrush(FGdiBrush);
}

void TIEBrush::CreateGdiBrush() {
  if (!IEGdiPlusEnabled()) return;
  if (FGdiBrush) GdipDeleteBrush(FGdiBrush);
  FGdiBrush = nullptr;
  const ARGB Fore = ToArgb(FColor, FStyle == bsClear ? 0 : FTransparency);
  if (FStyle == bsSolid || FStyle == bsClear) {
    GpSolidFill* Solid = nullptr;
    GdipCreateSolidFill(Fore, &Solid);
    if (!Solid) throw Exception("Cannot create TIEBrush. GdipCreateSolidFill failed.");
    FGdiBrush = Solid;
  } else if (FStyle >= bsHorizontal && FStyle <= bsDiagCross) {
    GpHatch* Hatch = nullptr;
    GdipCreateHatchBrush(static_cast<GpHatchStyle>(FStyle - 2), Fore, ToArgb(FBackColor, FBackTransparency),
                         &Hatch);
    if (!Hatch) throw Exception("Cannot create TIEBrush. GdipCreateHatchBrush failed.");
    FGdiBrush = Hatch;
  }
}

void TIEBrush::SetColor(TColor Value) {
  FColor = Value;
  CreateGdiBrush();
  FBrush->SetColor(Value);
}

void TIEBrush::SetTransparency(Integer Value) {
  FTransparency = Value;
  CreateGdiBrush();
}

void TIEBrush::SetStyle(TBrushStyle Value) {
  FStyle = Value;
  CreateGdiBrush();
  FBrush->SetStyle(Value);
}

// --- TIECanvas

TIECanvas::TIECanvas(TCanvas* Canvas, bool UseGdiPlus, bool AntiAlias)
    : FCanvas(Canvas),
      FPen(std::make_unique<TIEPen>(Canvas->GetPen())),
      FBrush(std::make_unique<TIEBrush>(Canvas->GetBrush())),
      FUseGdiPlus(UseGdiPlus && IEGdiPlusEnabled()) {
  if (!FUseGdiPlus) return;
  GdipCreateFromHDC(Canvas->GetHandle(), &FGraphics);
  if (!FGraphics) throw Exception("Cannot create TIECanvas. GdipCreateFromHDC failed.");
  SetSmoothingMode(AntiAlias ? 5 : 2);
}

TIECanvas::~TIECanvas() {
  FBrush.reset();
  FPen.reset();
  if (FGraphics) GdipDeleteGraphics(FGraphics);
}

void TIECanvas::SetSmoothingMode(Integer Mode) {
  if (FUseGdiPlus) GdipSetSmoothingMode(FGraphics, static_cast<::SmoothingMode>(Mode - 1));
}

void TIECanvas::MoveTo(Integer X, Integer Y) {
  FPos = {X, Y};
  if (!FUseGdiPlus) FCanvas->MoveTo(X, Y);
}

void TIECanvas::LineTo(Integer X, Integer Y) {
  if (FUseGdiPlus)
    GdiPlusDraw([&] { GdipDrawLine(FGraphics, FPen->GetGdiPen(), FPos.X, FPos.Y, X, Y); });
  else
    FCanvas->LineTo(X, Y);
  FPos = {X, Y};
}

void TIECanvas::DrawLine(Integer X1, Integer Y1, Integer X2, Integer Y2) {
  if (FUseGdiPlus)
    GdiPlusDraw([&] { GdipDrawLine(FGraphics, FPen->GetGdiPen(), X1, Y1, X2, Y2); });
  else
    FCanvas->Polygon({TPoint{X1, Y1}, TPoint{X2, Y2}});
}

void TIECanvas::FillRect(const TRect& Rect) {
  if (!FUseGdiPlus) return FCanvas->FillRect(Rect);
  GdiPlusDraw([&] {
    if (!FBrush->GetGdiBrush()) return;
    // Exactly the pixels the platform canvas fills: box edges on pixel edges, not centres.
    const TRect R = Ordered(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom);
    GdipFillRectangle(FGraphics, FBrush->GetGdiBrush(), R.Left - 0.5f, R.Top - 0.5f, R.Right - R.Left,
                      R.Bottom - R.Top);
  });
}

void TIECanvas::Rectangle(Integer X1, Integer Y1, Integer X2, Integer Y2) {
  if (!FUseGdiPlus) return FCanvas->Rectangle(X1, Y1, X2, Y2);
  GdiPlusDraw([&] {
    const TRect R = Ordered(X1, Y1, X2, Y2);
    const REAL W = R.Right - R.Left - 1, H = R.Bottom - R.Top - 1;
    if (FBrush->GetGdiBrush()) GdipFillRectangle(FGraphics, FBrush->GetGdiBrush(), R.Left, R.Top, W, H);
    GdipDrawRectangle(FGraphics, FPen->GetGdiPen(), R.Left, R.Top, W, H);
  });
}

void TIECanvas::Ellipse(Integer X1, Integer Y1, Integer X2, Integer Y2) {
  if (!FUseGdiPlus) return FCanvas->Ellipse(X1, Y1, X2, Y2);
  GdiPlusDraw([&] {
    const TRect R = Ordered(X1, Y1, X2, Y2);
    REAL X = R.Left, Y = R.Top, W = R.Right - R.Left - 1, H = R.Bottom - R.Top - 1;
    // A wide pen on a thin box would close the inside up: widen the box around its edge.
    const Single PenWidth = FPen->GetWidth();
    if (PenWidth != 1) {
      const Integer E = static_cast<Integer>(Round(PenWidth / 2));
      if (W <= E + 1) X -= E, W = 2 * E;
      if (H <= E + 1) Y -= E, H = 2 * E;
    }
    if (FBrush->GetGdiBrush()) GdipFillEllipse(FGraphics, FBrush->GetGdiBrush(), X, Y, W, H);
    GdipDrawEllipse(FGraphics, FPen->GetGdiPen(), X, Y, W, H);
  });
}

void TIECanvas::Polygon(std::span<const TPoint> Points) {
  if (!FUseGdiPlus) return FCanvas->Polygon(Points);
  GdiPlusDraw([&] {
    const std::vector<GpPoint> P = ToGpPoints(Points);
    const auto Count = static_cast<Integer>(P.size());
    GdipDrawPolygonI(FGraphics, FPen->GetGdiPen(), P.data(), Count);
    if (FBrush->GetGdiBrush())
      GdipFillPolygonI(FGraphics, FBrush->GetGdiBrush(), P.data(), Count, FillModeAlternate);
  });
}

void TIECanvas::Polyline(std::span<const TPoint> Points) {
  if (!FUseGdiPlus) return FCanvas->Polyline(Points);
  GdiPlusDraw([&] {
    const std::vector<GpPoint> P = ToGpPoints(Points);
    GdipDrawLinesI(FGraphics, FPen->GetGdiPen(), P.data(), static_cast<Integer>(P.size()));
  });
}

void TIECanvas::Arc(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer X3, Integer Y3, Integer X4,
                    Integer Y4) {
  if (!FUseGdiPlus) return FCanvas->Arc(X1, Y1, X2, Y2, X3, Y3, X4, Y4);
  GdiPlusDraw([&] {
    const Integer Cx = (X1 + X2) / 2, Cy = (Y1 + Y2) / 2;
    const REAL Start = -Degrees(IELineAngle(Cx, Cy, X4, Y4));
    const REAL Sweep = Degrees(IEAngle3Points(X3, Y3, Cx, Cy, X4, Y4));
    GdipDrawArc(FGraphics, FPen->GetGdiPen(), X1, Y1, X2 - X1 + 1, Y2 - Y1 + 1, Start, Sweep);
  });
}

void TIECanvas::RoundRect(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer W, Integer H) {
  if (!FUseGdiPlus) return FCanvas->RoundRect(X1, Y1, X2, Y2, W, H);
  GdiPlusDraw([&] {
    const TRect R = Ordered(X1, Y1, X2, Y2);
    const REAL Rw = std::min(W, R.Right - R.Left), Rh = std::min(H, R.Bottom - R.Top);
    const REAL L = R.Left, T = R.Top, Rt = R.Right, B = R.Bottom;
    GpPath* Path = nullptr;
    GdipCreatePath(FillModeAlternate, &Path);
    GdipAddPathArc(Path, L, T, Rw, Rh, 180, 90);
    GdipAddPathArc(Path, Rt - Rw, T, Rw, Rh, 270, 90);
    GdipAddPathArc(Path, Rt - Rw, B - Rh, Rw, Rh, 0, 90);
    GdipAddPathArc(Path, L, B - Rh, Rw, Rh, 90, 90);
    GdipAddPathLine(Path, L, B - Rh / 2, L, T + Rh / 2);
    if (FBrush->GetGdiBrush()) GdipFillPath(FGraphics, FBrush->GetGdiBrush(), Path);
    GdipDrawPath(FGraphics, FPen->GetGdiPen(), Path);
    GdipDeletePath(Path);
  });
}

void TIECanvas::TextOutClipped(const TRect& Rect, Integer X, Integer Y, const std::string& Text) {
  FCanvas->RequiredState({csHandleValid, csFontValid, csBrushValid});
  const UINT Flags = static_cast<UINT>(FCanvas->GetTextFlags()) | ETO_CLIPPED;
  ExtTextOut(FCanvas->GetHandle(), X, Y, Flags, &Rect, Text.c_str(), static_cast<UINT>(Text.size()), nullptr);
}

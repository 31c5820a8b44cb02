// Unit-wide painting values measured at start-up, the gradient entry, and the view-free
// geometry of grips and grid lines.
#include <cmath>

#include "imaging/core/hyieutils.h"
#include "imaging/core/iebitmap.h"
#include "imaging/view/zezudidviewpaint.h"
#include "platform/classes/GraphicsObjects.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/system/Math.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WindowPaint.h"

namespace {

TIEViewGlobals Globals;

// The gradient "library": looked up on first use, forgotten at shut-down.
bool GradientLooked = false;
TIEGradientFillProc GradientEntry = nullptr;

TIEGradientFillProc GradientFillEntry() {
  if (!GradientLooked) {
    GradientLooked = true;
    GradientEntry = &GradientFill;
  }
  return GradientEntry;
}

TRIVERTEX Vertex(Integer X, Integer Y, TColor Color) {
  const COLORREF C = ColorToRGB(Color);
  TRIVERTEX V;
  V.x = X;
  V.y = Y;
  V.Red = static_cast<COLOR16>(GetRValue(C) << 8);
  V.Green = static_cast<COLOR16>(GetGValue(C) << 8);
  V.Blue = static_cast<COLOR16>(GetBValue(C) << 8);
  V.Alpha = 0;
  return V;
}

TRect GripSquare(TPoint P, Integer Size) {
  return {P.X - Size, P.Y - Size, P.X + Size, P.Y + Size};
}

TPoint Midpoint(TPoint A, TPoint B) {
  return {(A.X + B.X) / 2, (A.Y + B.Y) / 2};
}

}  // namespace

TIEViewGlobals& IEViewGlobals() {
  return Globals;
}

void IEViewInitGlobals() {
  HDC DC = GetDC(nullptr);
  Globals.ScreenBitsPerPixel = GetDeviceCaps(DC, BITSPIXEL);
  Globals.ScreenDpiX = GetDeviceCaps(DC, LOGPIXELSX);
  Globals.ScreenDpiY = GetDeviceCaps(DC, LOGPIXELSY);
  ReleaseDC(nullptr, DC);
  Globals.RemoteSession = IEIsRemoteSession();
  Globals.DefaultDpiX = 300;
  Globals.DefaultDpiY = 300;
  Globals.CpuHasMMX = IECpuHasMMX();
  Globals.EdgeX = GetSystemMetrics(SM_CXEDGE);
  Globals.EdgeY = GetSystemMetrics(SM_CYEDGE);
  Globals.BorderX = GetSystemMetrics(SM_CXBORDER);
  Globals.BorderY = GetSystemMetrics(SM_CYBORDER);
  Globals.HScrollHeight = GetSystemMetrics(SM_CYHSCROLL);
  Globals.VScrollWidth = GetSystemMetrics(SM_CXVSCROLL);
  Globals.GridMinZoom = 400;
  GradientLooked = false;
  GradientEntry = nullptr;
  delete Globals.GridPen;
  Globals.GridPen = new TPen();
  Globals.GridPen->SetMode(pmNot);
  Globals.GridPen->SetStyle(psSolid);
  Globals.GridPen->SetWidth(1);
}

void IEViewFreeGlobals() {
  delete Globals.GridPen;
  Globals.GridPen = nullptr;
  GradientLooked = false;
  GradientEntry = nullptr;
}

void IESetGradientFillEntry(TIEGradientFillProc Entry) {
  GradientLooked = true;
  GradientEntry = Entry;
}

bool IEGradientFillRect(const TRect& Rect, HDC DC, TColor Color1, bool Vertical, TColor Color2) {
  const TIEGradientFillProc Fill = GradientFillEntry();
  if (!Fill) return false;
  const TRIVERTEX Vertices[2] = {Vertex(Rect.Left, Rect.Top, Color1),
                                 Vertex(Rect.Right, Rect.Bottom, Color2)};
  GRADIENT_RECT Mesh;
  Mesh.UpperLeft = 0;
  Mesh.LowerRight = 1;
  Fill(DC, Vertices, 2, &Mesh, 1, Vertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H);
  return true;
}

TIELayerGripRects IELayerGripRects(TIELayer* Layer, Integer GripSize) {
  TPoint P[8];
  if (Layer->Rotate != 0) {
    const TPoint* C = Layer->DrawGeometry.Corners;
    P[0] = C[0];
    P[1] = C[1];
    P[2] = C[2];
    P[3] = C[3];
    P[4] = Midpoint(C[0], C[3]);
    P[5] = Midpoint(C[1], C[2]);
    P[6] = Midpoint(C[0], C[1]);
    P[7] = Midpoint(C[2], C[3]);
  } else {
    const TRect& R = Layer->ScreenRect;
    const Integer MX = (R.Left + R.Right) / 2, MY = (R.Top + R.Bottom) / 2;
    P[0] = {R.Left, R.Top};
    P[1] = {R.Right, R.Top};
    P[2] = {R.Right, R.Bottom};
    P[3] = {R.Left, R.Bottom};
    P[4] = {R.Left, MY};
    P[5] = {R.Right, MY};
    P[6] = {MX, R.Top};
    P[7] = {MX, R.Bottom};
  }
  TIELayerGripRects Rects;
  for (Integer K = 0; K < 8; ++K) Rects[K] = GripSquare(P[K], GripSize);
  const Integer BW = Layer->Bitmap ? Layer->Bitmap->GetWidth() : 0;
  const Integer BH = Layer->Bitmap ? Layer->Bitmap->GetHeight() : 0;
  const TPoint Center{
      Layer->BitmapToScreenX(static_cast<Integer>(std::nearbyint(BW * Layer->RotateCenterX))),
      Layer->BitmapToScreenY(static_cast<Integer>(std::nearbyint(BH * Layer->RotateCenterY)))};
  Rects[8] = GripSquare(Center, GripSize);
  return Rects;
}

std::vector<Integer> IEGridLines(Integer Start, Integer Extent, Integer Count) {
  std::vector<Integer> Lines;
  if (Count <= 0) return Lines;
  const Double Step = static_cast<Double>(Extent) / Count;
  Lines.reserve(static_cast<std::size_t>(Count) + 1);
  for (Integer K = 0; K <= Count; ++K)
    Lines.push_back(static_cast<Integer>(std::nearbyint(Start + K * Step)));
  return Lines;
}

void IEInvalidateViewRect(TZezudIdView* View, const TRect& Rect) {
  View->SetBackBufferDirty();
  if (!View->HandleAllocated()) return;
  const RECT R = Rect;
  InvalidateRect(View->GetHandle(), &R, FALSE);
}

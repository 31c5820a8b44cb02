// Unit-wide painting values measured at start-up, and the gradient entry.
#include "imaging/core/hyieutils.h"
#include "imaging/view/zezudidviewpaint.h"
#include "platform/classes/GraphicsObjects.h"
#include "platform/gdi/DeviceContext.h"
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

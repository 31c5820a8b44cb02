#include "platform/gdi/DcInternals.h"
#include "platform/gdi/FrameControls.h"
#include "platform/gdi/SysColors.h"

namespace {

struct TEdgeColors {
  Integer TopLeft, BottomRight;
};

TEdgeColors OuterColors(UINT Edge, UINT Flags) {
  if (Flags & BF_MONO) return {COLOR_WINDOWFRAME, COLOR_WINDOWFRAME};
  if (Flags & BF_FLAT) return {COLOR_3DSHADOW, COLOR_3DSHADOW};
  const bool Soft = Flags & BF_SOFT;
  if (Edge & BDR_RAISEDOUTER) return {Soft ? COLOR_3DHILIGHT : COLOR_3DLIGHT, COLOR_3DDKSHADOW};
  return {Soft ? COLOR_3DDKSHADOW : COLOR_3DSHADOW, COLOR_3DHILIGHT};
}

TEdgeColors InnerColors(UINT Edge, UINT Flags) {
  if (Flags & BF_MONO) return {COLOR_WINDOW, COLOR_WINDOW};
  if (Flags & BF_FLAT) return {COLOR_3DFACE, COLOR_3DFACE};
  const bool Soft = Flags & BF_SOFT;
  if (Edge & BDR_RAISEDINNER) return {Soft ? COLOR_3DLIGHT : COLOR_3DHILIGHT, COLOR_3DSHADOW};
  return {Soft ? COLOR_3DSHADOW : COLOR_3DDKSHADOW, COLOR_3DLIGHT};
}

}  // namespace

BOOL DrawEdge(HDC DC, RECT* Rect, UINT Edge, UINT Flags) {
  if (!IsDeviceContext(DC) || !Rect) return FALSE;
  const TSurface& S = DC->Surface();
  const TPoint O = DC->ToSurface({0, 0});
  TRect R = *Rect;
  auto Fill = [&](Integer L, Integer T, Integer Rt, Integer B, Integer SysColor) {
    if (L >= Rt || T >= B) return;
    FillRectClipped(DC, {L + O.X, T + O.Y, Rt + O.X, B + O.Y},
                    MakePixelOp(S, GetSysColor(SysColor), R2_COPYPEN));
  };
  TEdgeColors Layers[2];
  Integer Count = 0;
  if (!(Flags & BF_DIAGONAL)) {
    if (Edge & BDR_OUTER) Layers[Count++] = OuterColors(Edge, Flags);
    if (Edge & BDR_INNER) Layers[Count++] = InnerColors(Edge, Flags);
  }
  for (Integer I = 0; I < Count && R.Left < R.Right && R.Top < R.Bottom; ++I) {
    const TEdgeColors& C = Layers[I];
    if (Flags & BF_TOP) Fill(R.Left, R.Top, R.Right - 1, R.Top + 1, C.TopLeft);
    if (Flags & BF_LEFT) Fill(R.Left, R.Top, R.Left + 1, R.Bottom - 1, C.TopLeft);
    if (Flags & BF_BOTTOM) Fill(R.Left, R.Bottom - 1, R.Right, R.Bottom, C.BottomRight);
    if (Flags & BF_RIGHT) Fill(R.Right - 1, R.Top, R.Right, R.Bottom, C.BottomRight);
    if (Flags & BF_LEFT) ++R.Left;
    if (Flags & BF_TOP) ++R.Top;
    if (Flags & BF_RIGHT) --R.Right;
    if (Flags & BF_BOTTOM) --R.Bottom;
  }
  if (Flags & BF_MIDDLE)
    Fill(R.Left, R.Top, R.Right, R.Bottom, (Flags & (BF_FLAT | BF_MONO)) ? COLOR_WINDOW : COLOR_3DFACE);
  if (Flags & BF_ADJUST) *Rect = R;
  return TRUE;
}

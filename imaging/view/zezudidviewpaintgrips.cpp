// Where grips and grid lines lie, from what the painter last drew.
#include <cmath>

#include "imaging/core/iebitmap.h"
#include "imaging/view/zezudidviewpaint.h"

namespace {

TRect GripSquare(TPoint P, Integer Size) {
  return {P.X - Size, P.Y - Size, P.X + Size, P.Y + Size};
}

TPoint Midpoint(TPoint A, TPoint B) {
  return {(A.X + B.X) / 2, (A.Y + B.Y) / 2};
}

}  // namespace

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

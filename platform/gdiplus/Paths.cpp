// Paths, matrices and the world transform.
#include <new>

#include "platform/gdiplus/GdiPlusInternals.h"

namespace {

GpStatus Transform(GpGraphics* G, const cairo_matrix_t& M, GpMatrixOrder Order) {
  if (!G || (Order != MatrixOrderPrepend && Order != MatrixOrderAppend)) return InvalidParameter;
  // cairo_matrix_multiply(R, A, B) applies A first.
  if (Order == MatrixOrderPrepend)
    cairo_matrix_multiply(&G->World, &M, &G->World);
  else
    cairo_matrix_multiply(&G->World, &G->World, &M);
  return Ok;
}

}  // namespace

GpStatus GdipCreatePath(GpFillMode Mode, GpPath** Path) {
  if (!Path) return InvalidParameter;
  *Path = nullptr;
  if (!GdiplusStarted()) return GdiplusNotInitialized;
  if (Mode != FillModeAlternate && Mode != FillModeWinding) return InvalidParameter;
  auto* P = new (std::nothrow) GpPath;
  if (!P) return OutOfMemory;
  P->Mode = Mode;
  *Path = P;
  return Ok;
}

GpStatus GdipDeletePath(GpPath* Path) {
  if (!Path) return InvalidParameter;
  delete Path;
  return Ok;
}

GpStatus GdipAddPathArc(GpPath* Path, REAL X, REAL Y, REAL Width, REAL Height, REAL Start, REAL Sweep) {
  if (!Path) return InvalidParameter;
  Path->Parts.push_back({true, {X, Y, Width, Height, Start, Sweep}});
  return Ok;
}

GpStatus GdipAddPathLine(GpPath* Path, REAL X1, REAL Y1, REAL X2, REAL Y2) {
  if (!Path) return InvalidParameter;
  Path->Parts.push_back({false, {X1, Y1, X2, Y2, 0, 0}});
  return Ok;
}

void ReplayPath(cairo_t* C, const GpPath* Path) {
  for (const TPathPart& P : Path->Parts) {
    const REAL* V = P.V;
    if (P.IsArc) {
      AddArc(C, V[0], V[1], V[2], V[3], V[4], V[5]);
    } else {
      cairo_line_to(C, V[0], V[1]);
      cairo_line_to(C, V[2], V[3]);
    }
  }
}

GpStatus GdipCreateMatrix(GpMatrix** Matrix) {
  return GdipCreateMatrix2(1, 0, 0, 1, 0, 0, Matrix);
}

GpStatus GdipCreateMatrix2(REAL M11, REAL M12, REAL M21, REAL M22, REAL Dx, REAL Dy, GpMatrix** Matrix) {
  if (!Matrix) return InvalidParameter;
  *Matrix = nullptr;
  if (!GdiplusStarted()) return GdiplusNotInitialized;
  auto* M = new (std::nothrow) GpMatrix;
  if (!M) return OutOfMemory;
  cairo_matrix_init(&M->M, M11, M12, M21, M22, Dx, Dy);
  *Matrix = M;
  return Ok;
}

GpStatus GdipDeleteMatrix(GpMatrix* Matrix) {
  if (!Matrix) return InvalidParameter;
  delete Matrix;
  return Ok;
}

GpStatus GdipSetWorldTransform(GpGraphics* G, GpMatrix* Matrix) {
  if (!G || !Matrix) return InvalidParameter;
  G->World = Matrix->M;
  return Ok;
}

GpStatus GdipGetWorldTransform(GpGraphics* G, GpMatrix* Matrix) {
  if (!G || !Matrix) return InvalidParameter;
  Matrix->M = G->World;
  return Ok;
}

GpStatus GdipResetWorldTransform(GpGraphics* G) {
  if (!G) return InvalidParameter;
  cairo_matrix_init_identity(&G->World);
  return Ok;
}

GpStatus GdipRotateWorldTransform(GpGraphics* G, REAL Angle, GpMatrixOrder Order) {
  cairo_matrix_t M;
  cairo_matrix_init_rotate(&M, Angle * 3.14159265358979323846 / 180);
  return Transform(G, M, Order);
}

GpStatus GdipTranslateWorldTransform(GpGraphics* G, REAL Dx, REAL Dy, GpMatrixOrder Order) {
  cairo_matrix_t M;
  cairo_matrix_init_translate(&M, Dx, Dy);
  return Transform(G, M, Order);
}

GpStatus GdipScaleWorldTransform(GpGraphics* G, REAL Sx, REAL Sy, GpMatrixOrder Order) {
  cairo_matrix_t M;
  cairo_matrix_init_scale(&M, Sx, Sy);
  return Transform(G, M, Order);
}

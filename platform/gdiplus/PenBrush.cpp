// Pens, solid and hatch brushes.
#include <cmath>
#include <cstdint>
#include <new>

#include "platform/gdiplus/GdiPlusInternals.h"

namespace {

// Premultiplied, as cairo's image surfaces hold colours.
std::uint32_t Premultiplied(ARGB Color) {
  const std::uint32_t A = Color >> 24;
  auto Channel = [&](int Shift) { return (((Color >> Shift) & 0xFF) * A + 127) / 255 << Shift; };
  return A << 24 | Channel(16) | Channel(8) | Channel(0);
}

// Whether pixel (X, Y) of the 8 x 8 pattern takes the foreground.
bool HatchSet(GpHatchStyle Style, int X, int Y) {
  const bool Forward = X == Y, Backward = X == 7 - Y;
  switch (Style) {
    case HatchStyleHorizontal:
      return Y == 0;
    case HatchStyleVertical:
      return X == 0;
    case HatchStyleForwardDiagonal:
      return Forward;
    case HatchStyleBackwardDiagonal:
      return Backward;
    case HatchStyleCross:
      return X == 0 || Y == 0;
    case HatchStyleDiagonalCross:
      return Forward || Backward;
  }
  return false;
}

}  // namespace

GpBrush::~GpBrush() {
  cairo_pattern_destroy(Pattern);
}

GpStatus GdipCreatePen1(ARGB Color, REAL Width, GpUnit Unit, GpPen** Pen) {
  if (!Pen) return InvalidParameter;
  *Pen = nullptr;
  if (!GdiplusStarted()) return GdiplusNotInitialized;
  if (Unit == UnitDisplay || Width < 0) return InvalidParameter;
  auto* P = new (std::nothrow) GpPen;
  if (!P) return OutOfMemory;
  P->Color = Color;
  P->Width = Width;
  *Pen = P;
  return Ok;
}

GpStatus GdipDeletePen(GpPen* Pen) {
  if (!Pen) return InvalidParameter;
  delete Pen;
  return Ok;
}

GpStatus GdipSetPenWidth(GpPen* Pen, REAL Width) {
  if (!Pen || Width < 0) return InvalidParameter;
  Pen->Width = Width;
  return Ok;
}

GpStatus GdipSetPenColor(GpPen* Pen, ARGB Color) {
  if (!Pen) return InvalidParameter;
  Pen->Color = Color;
  return Ok;
}

GpStatus GdipSetPenDashStyle(GpPen* Pen, GpDashStyle Style) {
  if (!Pen || Style < DashStyleSolid || Style > DashStyleCustom) return InvalidParameter;
  Pen->Dash = Style;
  return Ok;
}

GpStatus GdipSetPenDashArray(GpPen* Pen, const REAL* Dashes, Integer Count) {
  if (!Pen || !Dashes || Count <= 0) return InvalidParameter;
  for (Integer I = 0; I < Count; ++I)
    if (Dashes[I] <= 0) return InvalidParameter;
  Pen->CustomDashes.assign(Dashes, Dashes + Count);
  Pen->Dash = DashStyleCustom;
  return Ok;
}

GpStatus GdipSetPenLineJoin(GpPen* Pen, GpLineJoin Join) {
  if (!Pen || Join < LineJoinMiter || Join > LineJoinMiterClipped) return InvalidParameter;
  Pen->Join = Join;
  return Ok;
}

GpStatus GdipCreateSolidFill(ARGB Color, GpSolidFill** Brush) {
  if (!Brush) return InvalidParameter;
  *Brush = nullptr;
  if (!GdiplusStarted()) return GdiplusNotInitialized;
  auto* B = new (std::nothrow) GpSolidFill;
  if (!B) return OutOfMemory;
  B->Pattern = cairo_pattern_create_rgba(((Color >> 16) & 0xFF) / 255.0, ((Color >> 8) & 0xFF) / 255.0,
                                         (Color & 0xFF) / 255.0, (Color >> 24) / 255.0);
  *Brush = B;
  return Ok;
}

GpStatus GdipCreateHatchBrush(GpHatchStyle Style, ARGB Fore, ARGB Back, GpHatch** Brush) {
  if (!Brush) return InvalidParameter;
  *Brush = nullptr;
  if (!GdiplusStarted()) return GdiplusNotInitialized;
  if (Style < HatchStyleHorizontal || Style > HatchStyleDiagonalCross) return InvalidParameter;
  auto* B = new (std::nothrow) GpHatch;
  if (!B) return OutOfMemory;
  cairo_surface_t* Tile = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 8, 8);
  cairo_surface_flush(Tile);
  unsigned char* Data = cairo_image_surface_get_data(Tile);
  const int Stride = cairo_image_surface_get_stride(Tile);
  for (int Y = 0; Y < 8; ++Y) {
    auto* Row = reinterpret_cast<std::uint32_t*>(Data + Y * Stride);
    for (int X = 0; X < 8; ++X) Row[X] = Premultiplied(HatchSet(Style, X, Y) ? Fore : Back);
  }
  cairo_surface_mark_dirty(Tile);
  B->Pattern = cairo_pattern_create_for_surface(Tile);
  cairo_surface_destroy(Tile);
  cairo_pattern_set_extend(B->Pattern, CAIRO_EXTEND_REPEAT);
  cairo_pattern_set_filter(B->Pattern, CAIRO_FILTER_NEAREST);
  *Brush = B;
  return Ok;
}

GpStatus GdipDeleteBrush(GpBrush* Brush) {
  if (!Brush) return InvalidParameter;
  delete Brush;
  return Ok;
}

void StrokeWithPen(GpGraphics* G, const GpPen* Pen) {
  cairo_t* C = G->Cairo;
  SetSourceArgb(C, Pen->Color);
  // A pen thinner than a pixel still draws one pixel wide, as on the platform.
  double Width = Pen->Width, Dx = 1, Dy = 0;
  cairo_user_to_device_distance(C, &Dx, &Dy);
  const double Scale = Dx * Dx + Dy * Dy > 0 ? std::sqrt(Dx * Dx + Dy * Dy) : 1;
  if (Width * Scale < 1) Width = 1 / Scale;
  cairo_set_line_width(C, Width);
  // Aliased thin lines light both end pixels, as the platform's line stepping does.
  const bool Thin = !G->AntiAlias && Width * Scale <= 1 && Pen->Dash == DashStyleSolid;
  cairo_set_line_cap(C, Thin ? CAIRO_LINE_CAP_SQUARE : CAIRO_LINE_CAP_BUTT);
  static const cairo_line_join_t Joins[] = {CAIRO_LINE_JOIN_MITER, CAIRO_LINE_JOIN_BEVEL,
                                            CAIRO_LINE_JOIN_ROUND, CAIRO_LINE_JOIN_MITER};
  cairo_set_line_join(C, Joins[Pen->Join]);
  static const std::vector<REAL> Patterns[] = {{}, {3, 1}, {1, 1}, {3, 1, 1, 1}, {3, 1, 1, 1, 1, 1}};
  const std::vector<REAL>& Dashes = Pen->Dash == DashStyleCustom ? Pen->CustomDashes : Patterns[Pen->Dash];
  std::vector<double> Lengths;
  for (REAL D : Dashes) Lengths.push_back(D * Width);
  cairo_set_dash(C, Lengths.data(), static_cast<int>(Lengths.size()), 0);
  cairo_stroke(C);
}

void FillWithBrush(GpGraphics* G, const GpBrush* Brush, GpFillMode Mode) {
  cairo_t* C = G->Cairo;
  // Pattern space is device space, so hatches line up across shapes.
  cairo_matrix_t Device;
  cairo_get_matrix(C, &Device);
  cairo_pattern_set_matrix(Brush->Pattern, &Device);
  cairo_set_source(C, Brush->Pattern);
  cairo_set_fill_rule(C, Mode == FillModeWinding ? CAIRO_FILL_RULE_WINDING : CAIRO_FILL_RULE_EVEN_ODD);
  cairo_fill(C);
}

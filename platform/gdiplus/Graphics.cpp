// Start-up and the graphics object over a device context's bitmap.
#include <new>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Dib.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdiplus/GdiPlusInternals.h"

namespace {

Integer StartupCount = 0;

BITMAPINFO TopDown32(Integer Width, Integer Height) {
  BITMAPINFO Info;
  Info.bmiHeader.biWidth = Width;
  Info.bmiHeader.biHeight = -Height;
  Info.bmiHeader.biBitCount = 32;
  return Info;
}

GpStatus CreateOverWindow(HDC DC, GpGraphics** Graphics);
GpStatus FinishCreate(GpGraphics* G, GpGraphics** Graphics);

// Re-reads a copied bitmap: GDI may have drawn on it since the last call.
void RefreshCopy(GpGraphics* G) {
  const Integer W = cairo_image_surface_get_width(G->Surface);
  const Integer H = cairo_image_surface_get_height(G->Surface);
  cairo_surface_flush(G->Surface);
  BITMAPINFO Info = TopDown32(W, H);
  GetDIBits(G->DC, G->CopiedFrom, 0, static_cast<UINT>(H), G->Copy.data(), &Info, DIB_RGB_COLORS);
  cairo_surface_mark_dirty(G->Surface);
}

}  // namespace

bool GdiplusPresent() {
  return true;
}

bool GdiplusStarted() {
  return StartupCount > 0;
}

GpStatus GdiplusStartup(ULONG_PTR* Token, const GdiplusStartupInput* Input, GdiplusStartupOutput* Output) {
  if (!Token || !Input) return InvalidParameter;
  if (Input->GdiplusVersion != 1) return UnsupportedGdiplusVersion;
  // Without a background thread the caller receives the hooks; this layer has nothing to hook.
  if (Input->SuppressBackgroundThread && !Output) return InvalidParameter;
  if (Output) *Output = GdiplusStartupOutput{};
  *Token = static_cast<ULONG_PTR>(++StartupCount);
  return Ok;
}

void GdiplusShutdown(ULONG_PTR) {
  if (StartupCount > 0) --StartupCount;
}

GpStatus GdipCreateFromHDC(HDC DC, GpGraphics** Graphics) {
  if (!Graphics) return InvalidParameter;
  *Graphics = nullptr;
  if (!GdiplusStarted()) return GdiplusNotInitialized;
  if (!DC) return OutOfMemory;  // what the platform answers for a null context
  if (!DC->IsMemoryDC()) return CreateOverWindow(DC, Graphics);
  const auto Bitmap = static_cast<HBITMAP>(GetCurrentObject(DC, OBJ_BITMAP));
  if (!Bitmap) return Win32Error;
  auto* G = new (std::nothrow) GpGraphics;
  if (!G) return OutOfMemory;
  G->DC = DC;
  DIBSECTION Dib;
  const bool IsDib = GetObject(Bitmap, sizeof(Dib), &Dib) == static_cast<Integer>(sizeof(Dib));
  if (IsDib && Dib.dsBm.bmBitsPixel == 32 && Dib.dsBmih.biHeight < 0 && Dib.dsBm.bmBits) {
    G->Surface =
        cairo_image_surface_create_for_data(static_cast<unsigned char*>(Dib.dsBm.bmBits), CAIRO_FORMAT_RGB24,
                                            Dib.dsBm.bmWidth, Dib.dsBm.bmHeight, Dib.dsBm.bmWidthBytes);
  } else {
    BITMAP Plain;
    GetObject(Bitmap, sizeof(Plain), &Plain);
    G->CopiedFrom = Bitmap;
    G->Copy.assign(static_cast<std::size_t>(Plain.bmWidth) * Plain.bmHeight, 0);
    G->Surface = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(G->Copy.data()),
                                                     CAIRO_FORMAT_RGB24, Plain.bmWidth, Plain.bmHeight,
                                                     Plain.bmWidth * 4);
  }
  return FinishCreate(G, Graphics);
}

namespace {

// A window's DC draws straight on the screen surface, at the window's place and inside its
// visible region.
GpStatus CreateOverWindow(HDC DC, GpGraphics** Graphics) {
  const TSurface& Screen = DC->Surface();
  if (Screen.Format != TSurfaceFormat::pf32 || Screen.Stride <= 0 || !Screen.Row0) return Win32Error;
  auto* G = new (std::nothrow) GpGraphics;
  if (!G) return OutOfMemory;
  G->DC = DC;
  G->Surface = cairo_image_surface_create_for_data(Screen.Row0, CAIRO_FORMAT_RGB24, Screen.Width,
                                                   Screen.Height, static_cast<int>(Screen.Stride));
  return FinishCreate(G, Graphics);
}

GpStatus FinishCreate(GpGraphics* G, GpGraphics** Graphics) {
  G->Cairo = cairo_create(G->Surface);
  if (cairo_status(G->Cairo) != CAIRO_STATUS_SUCCESS) {
    GdipDeleteGraphics(G);
    return OutOfMemory;
  }
  cairo_matrix_init_identity(&G->World);
  *Graphics = G;
  return Ok;
}

}  // namespace

GpStatus GdipDeleteGraphics(GpGraphics* Graphics) {
  if (!Graphics) return InvalidParameter;
  cairo_destroy(Graphics->Cairo);
  cairo_surface_destroy(Graphics->Surface);
  delete Graphics;
  return Ok;
}

GpStatus GdipSetSmoothingMode(GpGraphics* Graphics, SmoothingMode Mode) {
  if (!Graphics || Mode < SmoothingModeDefault || Mode > SmoothingModeAntiAlias) return InvalidParameter;
  Graphics->AntiAlias = Mode == SmoothingModeHighQuality || Mode == SmoothingModeAntiAlias;
  return Ok;
}

GpStatus GdipGetDC(GpGraphics* Graphics, HDC* DC) {
  if (!Graphics || !DC) return InvalidParameter;
  cairo_surface_flush(Graphics->Surface);
  *DC = Graphics->DC;
  return Ok;
}

GpStatus GdipReleaseDC(GpGraphics* Graphics, HDC DC) {
  if (!Graphics || DC != Graphics->DC) return InvalidParameter;
  return Ok;
}

GpStatus GdipFlush(GpGraphics* Graphics, GpFlushIntention) {
  if (!Graphics) return InvalidParameter;
  cairo_surface_flush(Graphics->Surface);
  return Ok;
}

namespace {

// The DC's clip may have changed since the last call (a window moved, a clip region set).
void ClipToDC(GpGraphics* G) {
  cairo_reset_clip(G->Cairo);
  const TRegionData& Clip = G->DC->Clip();
  if (Clip.Rects().size() == 1 && Clip.Box() == TRect{0, 0, cairo_image_surface_get_width(G->Surface),
                                                      cairo_image_surface_get_height(G->Surface)})
    return;
  for (const TRect& R : Clip.Rects()) cairo_rectangle(G->Cairo, R.Left, R.Top, R.Width(), R.Height());
  cairo_clip(G->Cairo);
}

}  // namespace

void BeginShape(GpGraphics* G) {
  if (G->CopiedFrom)
    RefreshCopy(G);
  else
    cairo_surface_mark_dirty(G->Surface);
  cairo_new_path(G->Cairo);
  cairo_identity_matrix(G->Cairo);
  ClipToDC(G);
  // Integer coordinates are pixel centres.
  const TPoint Offset = G->DC->Offset();
  cairo_translate(G->Cairo, Offset.X + 0.5, Offset.Y + 0.5);
  cairo_transform(G->Cairo, &G->World);
  cairo_set_antialias(G->Cairo, G->AntiAlias ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
}

void FinishDrawing(GpGraphics* G) {
  cairo_new_path(G->Cairo);
  cairo_surface_flush(G->Surface);
  if (!G->CopiedFrom) return;
  const Integer W = cairo_image_surface_get_width(G->Surface);
  const Integer H = cairo_image_surface_get_height(G->Surface);
  BITMAPINFO Info = TopDown32(W, H);
  SetDIBits(G->DC, G->CopiedFrom, 0, static_cast<UINT>(H), G->Copy.data(), &Info, DIB_RGB_COLORS);
}

void SetSourceArgb(cairo_t* Cairo, ARGB Color) {
  cairo_set_source_rgba(Cairo, ((Color >> 16) & 0xFF) / 255.0, ((Color >> 8) & 0xFF) / 255.0,
                        (Color & 0xFF) / 255.0, (Color >> 24) / 255.0);
}

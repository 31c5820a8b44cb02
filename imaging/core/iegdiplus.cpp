#include "imaging/core/iegdiplus.h"

#include "platform/classes/GraphicsObjects.h"
#include "platform/system/Math.h"

bool IEGdiPlusEnabled() {
  // No GDI+ library in this platform layer.
  return false;
}

TIEPen::TIEPen(TPen* Pen)
    : FPen(Pen),
      FColor(Pen->GetColor()),
      FWidth(static_cast<Single>(Pen->GetWidth())),
      FStyle(Pen->GetStyle()),
      FMode(Pen->GetMode()) {}

void TIEPen::SetColor(TColor Value) {
  FColor = Value;
  FPen->SetColor(Value);
}

void TIEPen::SetWidth(Single Value) {
  FWidth = Value;
  FPen->SetWidth(static_cast<Integer>(Trunc(Value)));
}

void TIEPen::SetStyle(TPenStyle Value) {
  FStyle = Value;
  FPen->SetStyle(Value);
}

void TIEPen::SetMode(TPenMode Value) {
  FMode = Value;
  FPen->SetMode(Value);
}

TIEBrush::TIEBrush(TBrush* Brush) : FBrush(Brush), FColor(Brush->GetColor()), FStyle(Brush->GetStyle()) {}

void TIEBrush::SetColor(TColor Value) {
  FColor = Value;
  FBrush->SetColor(Value);
}

void TIEBrush::SetStyle(TBrushStyle Value) {
  FStyle = Value;
  FBrush->SetStyle(Value);
}

TIECanvas::TIECanvas(TCanvas* Canvas, bool UseGdiPlus, bool /*AntiAlias*/)
    : FCanvas(Canvas),
      FPen(std::make_unique<TIEPen>(Canvas->GetPen())),
      FBrush(std::make_unique<TIEBrush>(Canvas->GetBrush())),
      FUseGdiPlus(UseGdiPlus && IEGdiPlusEnabled()) {}

TIECanvas::~TIECanvas() = default;

void TIECanvas::MoveTo(Integer X, Integer Y) {
  FCanvas->MoveTo(X, Y);
}

void TIECanvas::LineTo(Integer X, Integer Y) {
  FCanvas->LineTo(X, Y);
}

void TIECanvas::FillRect(const TRect& Rect) {
  FCanvas->FillRect(Rect);
}

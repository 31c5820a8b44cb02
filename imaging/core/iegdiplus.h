#pragma once
// The library's drawing wrappers over a platform canvas: TIECanvas with its TIEPen and
// TIEBrush. They are made for anti-aliased drawing through GDI+ when that is present and asked
// for; this platform layer has no GDI+, so every wrapper draws through the platform canvas
// (GDI): shapes are drawn as the canvas draws them, anti-aliasing and transparency are kept
// as settings only and brushes fill opaque. A TIECanvas lives for one drawing pass.
#include <memory>
#include <string>

#include "platform/classes/Canvas.h"
#include "platform/system/Object.h"

// GDI+ is allowed and loaded: the test every wrapper decides its path by.
bool IEGdiPlusEnabled();

// Wraps the canvas's pen: each setter stores the value and sets the pen where it can hold it.
class TIEPen : public TObject {
 public:
  // Takes colour, width, style and mode from Pen; opaque.
  explicit TIEPen(TPen* Pen);
  TColor GetColor() const { return FColor; }
  void SetColor(TColor Value);
  // Alpha 0 (transparent) .. 255 (opaque).
  Integer GetTransparency() const { return FTransparency; }
  void SetTransparency(Integer Value) { FTransparency = Value; }
  Single GetWidth() const { return FWidth; }
  // The platform pen takes the width truncated.
  void SetWidth(Single Value);
  TPenStyle GetStyle() const { return FStyle; }
  void SetStyle(TPenStyle Value);
  TPenMode GetMode() const { return FMode; }
  void SetMode(TPenMode Value);

 private:
  TPen* FPen;  // the canvas's
  TColor FColor;
  Integer FTransparency = 255;
  Single FWidth;
  TPenStyle FStyle;
  TPenMode FMode;
};

// Wraps the canvas's brush the same way.
class TIEBrush : public TObject {
 public:
  // Takes colour and style from Brush; opaque, with a transparent black hatch background.
  explicit TIEBrush(TBrush* Brush);
  TColor GetColor() const { return FColor; }
  void SetColor(TColor Value);
  Integer GetTransparency() const { return FTransparency; }
  void SetTransparency(Integer Value) { FTransparency = Value; }
  TColor GetBackColor() const { return FBackColor; }
  void SetBackColor(TColor Value) { FBackColor = Value; }
  Integer GetBackTransparency() const { return FBackTransparency; }
  void SetBackTransparency(Integer Value) { FBackTransparency = Value; }
  TBrushStyle GetStyle() const { return FStyle; }
  void SetStyle(TBrushStyle Value);

 private:
  TBrush* FBrush;  // the canvas's
  TColor FColor;
  Integer FTransparency = 255;
  TColor FBackColor = 0;
  Integer FBackTransparency = 0;
  TBrushStyle FStyle;
};

class TIECanvas : public TObject {
 public:
  // Canvas stays the caller's. UseGdiPlus asks for GDI+ (taken only when IEGdiPlusEnabled);
  // AntiAlias chooses its smoother mode.
  TIECanvas(TCanvas* Canvas, bool UseGdiPlus = true, bool AntiAlias = true);
  ~TIECanvas() override;

  bool GetUseGdiPlus() const { return FUseGdiPlus; }
  TCanvas* GetCanvas() const { return FCanvas; }
  HDC GetHandle() { return FCanvas->GetHandle(); }
  TIEPen* GetPen() const { return FPen.get(); }
  TIEBrush* GetBrush() const { return FBrush.get(); }
  TFont* GetFont() const { return FCanvas->GetFont(); }

  void MoveTo(Integer X, Integer Y);
  // The end point is not drawn, as on the platform canvas.
  void LineTo(Integer X, Integer Y);
  // Right and bottom edges excluded.
  void FillRect(const TRect& Rect);
  void TextOut(Integer X, Integer Y, const std::string& Text) { FCanvas->TextOut(X, Y, Text); }
  Integer TextWidth(const std::string& Text) { return FCanvas->TextWidth(Text); }
  Integer TextHeight(const std::string& Text) { return FCanvas->TextHeight(Text); }

 private:
  TCanvas* FCanvas;
  std::unique_ptr<TIEPen> FPen;
  std::unique_ptr<TIEBrush> FBrush;
  bool FUseGdiPlus;
};

#pragma once
// The library's drawing wrappers over a platform canvas: TIECanvas with its TIEPen and
// TIEBrush. They draw anti-aliased, with transparent pens and brushes, through the platform's
// anti-aliased drawing interface when it is loaded and asked for, and through the platform
// canvas (GDI) otherwise, with the same calls. A TIECanvas lives for one drawing pass.
#include <memory>
#include <span>
#include <string>

#include "platform/classes/Canvas.h"
#include "platform/gdiplus/GdiPlusFlat.h"
#include "platform/system/Object.h"

// Counted: every user (each image view) loads once and unloads once; the interface starts on
// the first load that finds it allowed and present and shuts down when the count reaches 0.
void IEGdiPlusLoad();
void IEGdiPlusUnload();
// Loaded.
bool IEGdiPlusAvailable();
// Allowed and loaded: the test every wrapper decides its path by.
bool IEGdiPlusEnabled();
// Whether loading may be tried (true after start-up).
bool IEGdiPlusAllowed();
void IEGdiPlusSetAllowed(bool Value);
// Library start-up and shut-down hooks: allowed, nothing loaded, a count of 0.
void IEGdiPlusInitialize();
void IEGdiPlusFinalize();

// Wraps the canvas's pen: each setter stores the value, sets the platform pen where stated and
// updates the interface's pen when it is in use.
class TIEPen : public TObject {
 public:
  // Takes colour, width, style and mode from Pen; opaque, round joins.
  explicit TIEPen(TPen* Pen);
  ~TIEPen() override;
  GpPen* GetGdiPen() const { return FGdiPen; }
  TColor GetColor() const { return FColor; }
  void SetColor(TColor Value);
  // Alpha 0 (transparent) .. 255 (opaque).
  Integer GetTransparency() const { return FTransparency; }
  void SetTransparency(Integer Value);
  Single GetWidth() const { return FWidth; }
  // The platform pen takes the width truncated.
  void SetWidth(Single Value);
  TPenStyle GetStyle() const { return FStyle; }
  void SetStyle(TPenStyle Value);
  TPenMode GetMode() const { return FMode; }
  void SetMode(TPenMode Value);
  Byte GetLineJoin() const { return FLineJoin; }
  void SetLineJoin(Byte Value);
  void SetHandle(HPEN Value) { FPen->SetHandle(Value); }

 private:
  void CreateGdiPen();
  ARGB Argb() const;

  GpPen* FGdiPen = nullptr;
  TPen* FPen;  // the canvas's
  TColor FColor;
  Integer FTransparency = 255;
  Single FWidth;
  TPenStyle FStyle;
  TPenMode FMode;
  Byte FLineJoin = LineJoinRound;
};

// Wraps the canvas's brush the same way; the interface's brush is rebuilt on every change.
class TIEBrush : public TObject {
 public:
  // Takes colour and style from Brush; opaque, with a transparent black hatch background.
  explicit TIEBrush(TBrush* Brush);
  ~TIEBrush() override;
  // Null for styles the interface has no brush for.
  GpBrush* GetGdiBrush() const { return FGdiBrush; }
  TColor GetColor() const { return FColor; }
  void SetColor(TColor Value);
  Integer GetTransparency() const { return FTransparency; }
  void SetTransparency(Integer Value);
  TColor GetBackColor() const { return FBackColor; }
  void SetBackColor(TColor Value) { FBackColor = Value; }
  Integer GetBackTransparency() const { return FBackTransparency; }
  void SetBackTransparency(Integer Value) { FBackTransparency = Value; }
  TBrushStyle GetStyle() const { return FStyle; }
  void SetStyle(TBrushStyle Value);

 private:
  void CreateGdiBrush();

  GpBrush* FGdiBrush = nullptr;
  TBrush* FBrush;  // the canvas's
  TColor FColor;
  Integer FTransparency = 255;
  TColor FBackColor = 0;
  Integer FBackTransparency = 0;
  TBrushStyle FStyle;
};

class TIECanvas : public TObject {
 public:
  // Canvas stays the caller's. UseGdiPlus asks for the interface (taken only when
  // IEGdiPlusEnabled); AntiAlias chooses its smoother mode. Raises when the interface cannot
  // draw on the canvas.
  TIECanvas(TCanvas* Canvas, bool UseGdiPlus = true, bool AntiAlias = true);
  ~TIECanvas() override;

  bool GetUseGdiPlus() const { return FUseGdiPlus; }
  TCanvas* GetCanvas() const { return FCanvas; }
  HDC GetHandle() { return FCanvas->GetHandle(); }
  TIEPen* GetPen() const { return FPen.get(); }
  TIEBrush* GetBrush() const { return FBrush.get(); }
  TFont* GetFont() const { return FCanvas->GetFont(); }
  // In the interface's numbering plus one: 5 anti-aliased, 2 fast.
  void SetSmoothingMode(Integer Mode);

  void MoveTo(Integer X, Integer Y);
  void SetPenPos(TPoint Value) { MoveTo(Value.X, Value.Y); }
  // The end point is not drawn on the platform canvas.
  void LineTo(Integer X, Integer Y);
  void DrawLine(Integer X1, Integer Y1, Integer X2, Integer Y2);
  // Right and bottom edges excluded.
  void FillRect(const TRect& Rect);
  void Rectangle(Integer X1, Integer Y1, Integer X2, Integer Y2);
  void Rectangle(const TRect& Rect) { Rectangle(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom); }
  void Ellipse(Integer X1, Integer Y1, Integer X2, Integer Y2);
  void Ellipse(const TRect& Rect) { Ellipse(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom); }
  void Polygon(std::span<const TPoint> Points);
  void Polyline(std::span<const TPoint> Points);
  void Arc(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer X3, Integer Y3, Integer X4, Integer Y4);
  void RoundRect(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer W, Integer H);

  void TextOut(Integer X, Integer Y, const std::string& Text) { FCanvas->TextOut(X, Y, Text); }
  void TextRect(const TRect& Rect, Integer X, Integer Y, const std::string& Text) {
    FCanvas->TextRect(Rect, X, Y, Text);
  }
  // The canvas's text flags plus clipping to Rect.
  void TextOutClipped(const TRect& Rect, Integer X, Integer Y, const std::string& Text);
  Integer TextWidth(const std::string& Text) { return FCanvas->TextWidth(Text); }
  Integer TextHeight(const std::string& Text) { return FCanvas->TextHeight(Text); }

 private:
  // Draws through the interface, telling the canvas's owner as its own drawing does.
  template <class TDraw>
  void GdiPlusDraw(TDraw Draw) {
    FCanvas->Changing();
    Draw();
    FCanvas->Changed();
  }

  TCanvas* FCanvas;
  std::unique_ptr<TIEPen> FPen;
  std::unique_ptr<TIEBrush> FBrush;
  bool FUseGdiPlus;
  GpGraphics* FGraphics = nullptr;
  TPoint FPos{0, 0};
};

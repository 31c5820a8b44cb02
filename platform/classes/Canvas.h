#pragma once
// TCanvas: drawing with a font, a pen and a brush on any device context. The objects are
// selected into the DC when a call needs them and again after they change; a subclass makes
// its DC on demand (CreateHandle). Drawing calls fire OnChanging before and OnChange after.
// A canvas has a re-entrant lock for drawing from more than one thread.
#include <initializer_list>
#include <memory>
#include <mutex>
#include <span>
#include <string>

#include "platform/classes/GraphicsObjects.h"
#include "platform/gdi/GdiObject.h"
#include "platform/system/Delegates.h"
#include "platform/system/Persistent.h"
#include "platform/system/Sets.h"
#include "platform/system/Types.h"

class TGraphic;
class TBitmap;

enum TCanvasStates { csHandleValid, csFontValid, csPenValid, csBrushValid };
using TCanvasState = TSet<TCanvasStates, 4>;
inline const TCanvasState csAllValid{csHandleValid, csFontValid, csPenValid, csBrushValid};

enum TFillStyle { fsSurface, fsBorder };

// Raster operations of CopyRect and Draw.
using TCopyMode = Integer;
constexpr TCopyMode cmBlackness = 0x00000042;
constexpr TCopyMode cmDstInvert = 0x00550009;
constexpr TCopyMode cmMergeCopy = 0x00C000CA;
constexpr TCopyMode cmMergePaint = 0x00BB0226;
constexpr TCopyMode cmNotSrcCopy = 0x00330008;
constexpr TCopyMode cmNotSrcErase = 0x001100A6;
constexpr TCopyMode cmPatCopy = 0x00F00021;
constexpr TCopyMode cmPatInvert = 0x005A0049;
constexpr TCopyMode cmPatPaint = 0x00FB0A09;
constexpr TCopyMode cmSrcAnd = 0x008800C6;
constexpr TCopyMode cmSrcCopy = 0x00CC0020;
constexpr TCopyMode cmSrcErase = 0x00440328;
constexpr TCopyMode cmSrcInvert = 0x00660046;
constexpr TCopyMode cmSrcPaint = 0x00EE0086;
constexpr TCopyMode cmWhiteness = 0x00FF0062;

class TCanvas : public TPersistent {
 public:
  TCanvas();
  ~TCanvas() override;

  void Arc(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer X3, Integer Y3, Integer X4, Integer Y4);
  // Copies Source of Bitmap to Dest with the pixels of Color replaced by the brush (left
  // alone when the brush is bsClear).
  void BrushCopy(const TRect& Dest, TBitmap* Bitmap, const TRect& Source, TColor Color);
  void Chord(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer X3, Integer Y3, Integer X4, Integer Y4);
  // StretchBlt from Canvas with CopyMode.
  void CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source);
  void Draw(Integer X, Integer Y, TGraphic* Graphic);
  void DrawFocusRect(const TRect& Rect);
  void Ellipse(Integer X1, Integer Y1, Integer X2, Integer Y2);
  void Ellipse(const TRect& Rect) { Ellipse(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom); }
  void FillRect(const TRect& Rect);
  // fsSurface fills the area of Color around (X, Y); fsBorder fills up to a border of Color.
  void FloodFill(Integer X, Integer Y, TColor Color, TFillStyle FillStyle);
  void FrameRect(const TRect& Rect);
  void LineTo(Integer X, Integer Y);
  void MoveTo(Integer X, Integer Y);
  void Pie(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer X3, Integer Y3, Integer X4, Integer Y4);
  void Polygon(std::span<const TPoint> Points);
  void Polygon(std::initializer_list<TPoint> Points) {
    Polygon(std::span<const TPoint>(Points.begin(), Points.size()));
  }
  void Polyline(std::span<const TPoint> Points);
  void Polyline(std::initializer_list<TPoint> Points) {
    Polyline(std::span<const TPoint>(Points.begin(), Points.size()));
  }
  void PolyBezier(std::span<const TPoint> Points);
  void PolyBezierTo(std::span<const TPoint> Points);
  void Rectangle(Integer X1, Integer Y1, Integer X2, Integer Y2);
  void Rectangle(const TRect& Rect) { Rectangle(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom); }
  void RoundRect(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer X3, Integer Y3);
  void StretchDraw(const TRect& Rect, TGraphic* Graphic);
  TSize TextExtent(const std::string& Text);
  Integer TextHeight(const std::string& Text) { return TextExtent(Text).cy; }
  Integer TextWidth(const std::string& Text) { return TextExtent(Text).cx; }
  // Moves the pen position to the end of the text.
  void TextOut(Integer X, Integer Y, const std::string& Text);
  // Clipped to Rect, which is filled with the brush unless it is bsClear.
  void TextRect(const TRect& Rect, Integer X, Integer Y, const std::string& Text);
  // Deselects the font, pen and brush; they are selected again on the next use.
  void Refresh();

  void Lock();
  void Unlock();
  // Locks only when no thread holds the lock.
  bool TryLock();
  Integer GetLockCount() const;

  // Makes the handle (CreateHandle) and selects the objects in ReqState that are not yet.
  // Raises EInvalidOperation "Canvas does not allow drawing" when there is no handle.
  void RequiredState(TCanvasState ReqState);
  virtual void Changing();
  virtual void Changed();

  HDC GetHandle();
  // The canvas does not own the DC.
  void SetHandle(HDC Value);
  bool HandleAllocated() const { return FHandle != nullptr; }
  TRect GetClipRect();
  TPoint GetPenPos();
  void SetPenPos(TPoint Value) { MoveTo(Value.X, Value.Y); }
  TColor GetPixels(Integer X, Integer Y);
  void SetPixels(Integer X, Integer Y, TColor Value);
  TFont* GetFont() const { return FFont.get(); }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  TPen* GetPen() const { return FPen.get(); }
  void SetPen(TPen* Value) { FPen->Assign(Value); }
  TBrush* GetBrush() const { return FBrush.get(); }
  void SetBrush(TBrush* Value) { FBrush->Assign(Value); }
  TCopyMode GetCopyMode() const { return FCopyMode; }
  void SetCopyMode(TCopyMode Value) { FCopyMode = Value; }
  // ExtTextOut options of TextOut and TextRect (ETO_*).
  Integer GetTextFlags() const { return FTextFlags; }
  void SetTextFlags(Integer Value) { FTextFlags = Value; }

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  virtual void CreateHandle() {}
  HDC FHandle = nullptr;
  TCanvasState State;

 private:
  void CreateFont();
  void CreatePen();
  void CreateBrush();
  void DeselectHandles();
  void FontChanged(TObject* Sender);
  void PenChanged(TObject* Sender);
  void BrushChanged(TObject* Sender);

  std::unique_ptr<TFont> FFont;
  std::unique_ptr<TPen> FPen;
  std::unique_ptr<TBrush> FBrush;
  TPoint FPenPos;
  TCopyMode FCopyMode = cmSrcCopy;
  Integer FTextFlags = 0;
  std::recursive_mutex FLock;
  mutable std::mutex FCountLock;
  Integer FLockCount = 0;
};

// A canvas locked and drawing on a DC it is handed (a paint message's) for one scope; at the
// end, also when the drawing throws, it lets go of the DC and is unlocked.
class TCanvasOnDC {
 public:
  TCanvasOnDC(TCanvas* Canvas, HDC DC) : FCanvas(Canvas) {
    FCanvas->Lock();
    FCanvas->SetHandle(DC);
  }
  ~TCanvasOnDC() {
    FCanvas->SetHandle(nullptr);
    FCanvas->Unlock();
  }
  TCanvasOnDC(const TCanvasOnDC&) = delete;
  TCanvasOnDC& operator=(const TCanvasOnDC&) = delete;

 private:
  TCanvas* FCanvas;
};

// Draws Src onto Dst, leaving Dst where the monochrome mask (in MaskDC) has 1 bits.
void TransparentStretchBlt(HDC DstDC, Integer DstX, Integer DstY, Integer DstW, Integer DstH, HDC SrcDC,
                           Integer SrcX, Integer SrcY, Integer SrcW, Integer SrcH, HDC MaskDC, Integer MaskX,
                           Integer MaskY);

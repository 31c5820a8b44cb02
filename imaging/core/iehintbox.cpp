#include "imaging/core/iehintbox.h"

#include <algorithm>

#include "imaging/core/iedrawutils.h"
#include "imaging/core/iegdiplus.h"
#include "platform/classes/Bitmap.h"
#include "platform/classes/Canvas.h"

namespace {

// The text sits 9 pixels in; the box's frame starts 6 pixels in and ends one pixel inside
// W x H, the margin of 12 around the text.
constexpr Integer HintMargin = 12;
constexpr Integer HintFrameInset = 6;
constexpr Integer HintTextInset = 9;

TRect HintFill(Integer X, Integer Y, Integer W, Integer H) {
  return Rect(X + HintFrameInset, Y + HintFrameInset, X + W, Y + H);
}

}  // namespace

void IEDrawHintBox(TCanvas* Canvas, Integer& X, Integer& Y, const std::string& Text, TFont* Font,
                   TBrush* Brush, TBitmap* SaveBitmap, Integer ClientWidth, Integer ClientHeight,
                   TColor TopLeftColor, TColor BottomRightColor) {
  Canvas->SetFont(Font);
  Canvas->SetBrush(Brush);
  const Integer W = Canvas->TextWidth(Text) + HintMargin;
  const Integer H = Canvas->TextHeight(Text) + HintMargin;
  X = std::min(std::max(X, 0), ClientWidth - W - 1);
  Y = std::min(std::max(Y, 0), ClientHeight - H - 1);
  if (SaveBitmap) {
    SaveBitmap->SetPixelFormat(pf24bit);
    SaveBitmap->SetSize(W, H);
    TCanvas* Save = SaveBitmap->GetCanvas();
    Save->SetCopyMode(cmSrcCopy);
    Save->CopyRect(Rect(0, 0, W, H), Canvas, Rect(X, Y, X + W, Y + H));
  }
  Canvas->FillRect(HintFill(X, Y, W, H));
  IEDraw3DRect(Canvas, X + HintFrameInset, Y + HintFrameInset, X + W - 1, Y + H - 1, TopLeftColor,
               BottomRightColor);
  Canvas->TextOut(X + HintTextInset, Y + HintTextInset, Text);
}

void IEDrawHintBoxTranslucent(TCanvas* Canvas, Integer& X, Integer& Y, const std::string& Text,
                              const std::string& WidthText) {
  TIECanvas IECanvas(Canvas, true, true);
  TFont* Font = IECanvas.GetFont();
  Font->SetName("Arial");
  Font->SetSize(9);
  Font->SetColor(clBlack);
  TIEBrush* Brush = IECanvas.GetBrush();
  Brush->SetColor(0x60FFFF);
  Brush->SetStyle(bsSolid);
  Brush->SetTransparency(128);
  const Integer W = std::max(IECanvas.TextWidth(WidthText), IECanvas.TextWidth(Text)) + HintMargin;
  const Integer H = IECanvas.TextHeight(Text) + HintMargin;
  X = std::max(X, 0);
  Y = std::max(Y, 0);
  IECanvas.FillRect(HintFill(X, Y, W, H));
  IEDraw3DRectIECanvas(&IECanvas, X + HintFrameInset, Y + HintFrameInset, X + W - 1, Y + H - 1, 0xFFFFFF,
                       0x808080);
  Brush->SetStyle(bsClear);
  IECanvas.TextOut(X + HintTextInset, Y + HintTextInset, Text);
}

HDRAWDIB IEDrawDibOpen() {
  return DrawDibOpen();
}

BOOL IEDrawDibClose(HDRAWDIB Handle) {
  return DrawDibClose(Handle);
}

BOOL IEDrawDibDraw(HDRAWDIB Handle, HDC DC, Integer XDst, Integer YDst, Integer DstWidth, Integer DstHeight,
                   const BITMAPINFOHEADER* BitmapInfo, const void* Bits, Integer XSrc, Integer YSrc,
                   Integer SrcWidth, Integer SrcHeight, UINT Flags) {
  return DrawDibDraw(Handle, DC, XDst, YDst, DstWidth, DstHeight, BitmapInfo, Bits, XSrc, YSrc, SrcWidth,
                     SrcHeight, Flags);
}

UINT IEDrawDibRealize(HDRAWDIB Handle, HDC DC, bool Background) {
  return DrawDibRealize(Handle, DC, Background ? TRUE : FALSE);
}

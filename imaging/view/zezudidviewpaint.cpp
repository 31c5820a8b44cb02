// Getting the view onto its window: Paint, the copy of the back buffer with its transfer
// paths, the navigator's darkened frame, the version label and the background on any canvas.
#include <algorithm>
#include <cstring>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iedrawutils.h"
#include "imaging/core/iehintbox.h"
#include "imaging/view/zezudidviewpaint.h"
#include "platform/classes/Bitmap.h"
#include "platform/classes/Canvas.h"
#include "platform/classes/Graphic.h"
#include "platform/gdi/Blit.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/user/WindowPaint.h"

namespace {

// The label's text: the library name and version, then its date.
std::string VersionLabelText() {
  return std::string("ZezudId Version ") + IEVersion + " - " + "5/9/2010";
}

}  // namespace

void TZezudIdView::Paint() {
  if (!HandleAllocated()) return;
  if (!((HasParentWindow() && GetViewWidth() != 0 && GetViewHeight() != 0) || FLockPaintForced)) return;
  TCanvas* Canvas = GetCanvas();
  try {
    if (GetComponentState().Contains(csDesigning)) {
      IEDrawBackground(GetComponentState(), Canvas, nullptr, FWallPaperStyle, FWallPaper.get(),
                       FGradientEndColor, FChessboardBrushStyle, FChessboardSize, {},
                       {0, 0, GetWidth(), GetHeight()}, GetBackground(), FBackgroundStyle);
    } else {
      if (FPaintLock == 0) {
        TRect R{0, 0, GetViewWidth(), GetViewHeight()};
        if (!FPaintWhole) {
          R = Canvas->GetClipRect();
          if (R.Right == 0) R.Right = GetViewWidth();
          if (R.Bottom == 0) R.Bottom = GetViewHeight();
        }
        PaintToCanvas(R);
        if (OnDrawCanvas) OnDrawCanvas(this, Canvas, TRect{0, 0, GetViewWidth(), GetViewHeight()});
      }
      FPaintWhole = false;
      DrawSelection(this, false);
      if (OnPaint) OnPaint(this);
    }
  } catch (...) {
  }
  if (FDrawVersion) DrawVersionLabel();
  if (!FHintText.empty() && FEnableInteractionHints) {
    Integer X = FHintX, Y = FHintY;
    IEDrawHintBoxTranslucent(Canvas, X, Y, FHintText, FHintTemplate);
  }
  if (FHasOwner && FCursorPending) {
    SetCursor(GetCursor());
    FCursorPending = false;
  }
}

void TZezudIdView::PaintToCanvas(TRect R) {
  if (!HasParentWindow() && !FLockPaintForced) return;
  const Integer VW = GetViewWidth(), VH = GetViewHeight();
  if (FBackBuffer->GetWidth() != VW || FBackBuffer->GetHeight() != VH) {
    FBackBuffer->Allocate(VW, VH, ie24RGB);
    FBackBufferRows.clear();
    FBackBufferDirty = true;
  }
  if (FBackBufferDirty) {
    FBackBufferScrolled = false;
    const TRect Update{R.Left, R.Top, R.Right - 1, R.Bottom - 1};
    DrawToBackBuffer(FBackBuffer.get(), &FBackBufferRows, &Update, true, true);
    RememberBuiltGeometry();
    if (OnDrawBackBuffer) OnDrawBackBuffer(this);
    FBackBufferDirty = false;
  } else if (FBackBufferScrolled) {
    // The window takes the whole buffer again: moving its pixels costs more than copying them.
    FBackBufferScrolled = false;
    RepaintScrolledBackBuffer();
  }
  TransferBackBuffer(R);
  DrawRubberLine();
  FDrawnWindow = GetHandle();
}

void TZezudIdView::TransferBackBuffer(const TRect& R) {
  TCanvas* Canvas = GetCanvas();
  const TIEViewGlobals& G = IEViewGlobals();
  const Integer W = std::min(R.Width(), GetViewWidth()), H = std::min(R.Height(), GetViewHeight());
  const bool OneBit = FBackBuffer->GetPixelFormat() == ie1g;
  FDibHeader.Header.biWidth = FBackBuffer->GetWidth();
  FDibHeader.Header.biHeight = FBackBuffer->GetHeight();
  FDibHeader.Header.biPlanes = 1;
  FDibHeader.Header.biBitCount = OneBit ? 1 : 24;
  FDibHeader.Header.biCompression = BI_RGB;
  FDibHeader.Palette[0] = {0, 0, 0, 0};
  FDibHeader.Palette[1] = {255, 255, 255, 0};
  HDC DC = Canvas->GetHandle();
  if ((FUseDrawDib || G.ScreenBitsPerPixel <= 8) && !G.RemoteSession) {
    // The rows as one bottom-up DIB: the last row has the lowest address.
    const Integer BH = FBackBuffer->GetHeight();
    const auto* Last = static_cast<const Byte*>(FBackBuffer->GetScanline(BH - 1));
    const auto* First = static_cast<const Byte*>(FBackBuffer->GetScanline(0));
    const void* Bits = Last;
    if (First < Last) {
      FDibHeader.Header.biHeight = -BH;
      Bits = First;
    }
    IEDrawDibDraw(FDrawDib, DC, R.Left, R.Top, W, H, &FDibHeader.Header, Bits, R.Left, R.Top, W, H, 0);
  } else if (G.ScreenBitsPerPixel <= 23 && !G.RemoteSession) {
    SetStretchBltMode(DC, HALFTONE);
    StretchBlt(DC, R.Left, R.Top, W, H, FBackBuffer->GetCanvas()->GetHandle(), R.Left, R.Top, W, H, SRCCOPY);
  } else if (FIsLinked && (FLinkedFrameStyle & 4)) {
    PaintLinkedFrame(R);
  } else {
    BitBlt(DC, R.Left, R.Top, W, H, FBackBuffer->GetCanvas()->GetHandle(), R.Left, R.Top, SRCCOPY);
  }
}

void TZezudIdView::PaintLinkedFrame(TRect R) {
  const Integer VW = GetViewWidth(), VH = GetViewHeight();
  if (!FLinkedFrameBuffer) {
    FLinkedFrameBuffer = std::make_unique<TIEBitmap>();
    FLinkedFrameBuffer->SetLocation(ieTBitmap);
  }
  if (FLinkedFrameBuffer->GetWidth() != VW || FLinkedFrameBuffer->GetHeight() != VH)
    FLinkedFrameBuffer->Allocate(VW, VH, ie24RGB);
  TCanvas* Frame = FLinkedFrameBuffer->GetCanvas();
  Frame->CopyRect(R, FBackBuffer->GetCanvas(), R);
  TIELayer* Layer = GetCurrentLayer();
  const TIELayerDrawGeometry& D = Layer->DrawGeometry;
  IEDrawDarkFrame(Frame, D.DestX, D.DestY, D.DestWidth - 1, D.DestHeight - 1, FLinkedFrameRect.Left,
                  FLinkedFrameRect.Top, FLinkedFrameRect.Right, FLinkedFrameRect.Bottom);
  BitBlt(GetCanvas()->GetHandle(), R.Left, R.Top, R.Width(), R.Height(), Frame->GetHandle(), R.Left, R.Top,
         SRCCOPY);
}

void TZezudIdView::DrawVersionLabel() {
  TCanvas* Canvas = GetCanvas();
  TFont* Font = Canvas->GetFont();
  Font->SetName("Arial");
  Font->SetHeight(13);
  Font->SetColor(clBlack);
  Canvas->GetBrush()->SetStyle(bsSolid);
  Canvas->GetBrush()->SetColor(clWhite);
  const std::string Text = VersionLabelText();
  const TSize Size = Canvas->TextExtent(Text);
  Canvas->TextOut(GetViewWidth() - Size.cx, GetViewHeight() - Size.cy, Text);
}

void TZezudIdView::DrawBackgroundTo(TCanvas* ACanvas) {
  IEDrawBackground(GetComponentState(), ACanvas, nullptr, FWallPaperStyle, FWallPaper.get(),
                   FGradientEndColor, FChessboardBrushStyle, FChessboardSize, {},
                   {0, 0, GetWidth(), GetHeight()}, GetBackground(), FBackgroundStyle);
}

TBitmap* TZezudIdView::GetBackBufferBitmap() {
  return FBackBuffer ? FBackBuffer->GetTBitmap() : nullptr;
}

void IEInvalidateViewRect(TZezudIdView* View, const TRect& Rect) {
  View->SetBackBufferDirty();
  if (!View->HandleAllocated()) return;
  const RECT R = Rect;
  InvalidateRect(View->GetHandle(), &R, FALSE);
}

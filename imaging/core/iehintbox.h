#pragma once
// Hint boxes that the image view and the vector layer show beside the mouse while the user
// drags or measures, and thin wrappers over the system's DIB drawing calls for the view and
// processing.
#include <string>

#include "platform/classes/Colors.h"
#include "platform/gdi/DrawDib.h"
#include "platform/system/Types.h"

class TBitmap;
class TBrush;
class TCanvas;
class TFont;

// Draws Text in an opaque box at (X, Y), kept inside the client area (X and Y come back
// clamped). The canvas takes copies of Font and Brush. SaveBitmap (the caller's, or nil)
// first receives the covered canvas area as a 24-bit picture so that the caller can restore it.
void IEDrawHintBox(TCanvas* Canvas, Integer& X, Integer& Y, const std::string& Text, TFont* Font,
                   TBrush* Brush, TBitmap* SaveBitmap, Integer ClientWidth, Integer ClientHeight,
                   TColor TopLeftColor, TColor BottomRightColor);
// Draws Text in a light yellow box that is translucent where the library draws through GDI+
// (opaque otherwise); WidthText only widens the box. X and Y come back raised to 0. The
// canvas's font becomes Arial 9 black.
void IEDrawHintBoxTranslucent(TCanvas* Canvas, Integer& X, Integer& Y, const std::string& Text,
                              const std::string& WidthText);

HDRAWDIB IEDrawDibOpen();
BOOL IEDrawDibClose(HDRAWDIB Handle);
BOOL IEDrawDibDraw(HDRAWDIB Handle, HDC DC, Integer XDst, Integer YDst, Integer DstWidth, Integer DstHeight,
                   const BITMAPINFOHEADER* BitmapInfo, const void* Bits, Integer XSrc, Integer YSrc,
                   Integer SrcWidth, Integer SrcHeight, UINT Flags);
UINT IEDrawDibRealize(HDRAWDIB Handle, HDC DC, bool Background);

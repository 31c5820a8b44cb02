#pragma once
// The video-for-windows DIB drawing calls (DrawDibOpen, DrawDibDraw, DrawDibRealize,
// DrawDibClose) over StretchDIBits. A DrawDib context holds no decompressor and buffers no
// picture: it draws uncompressed DIBs straight onto the DC.
#include "platform/gdi/BitmapInfo.h"
#include "platform/gdi/GdiObject.h"

struct TDrawDibContext;
using HDRAWDIB = TDrawDibContext*;

constexpr UINT DDF_UPDATE = 0x0002;  // redraw the buffered picture: there is none, so it fails
constexpr UINT DDF_SAME_HDC = 0x0004;
constexpr UINT DDF_SAME_DRAW = 0x0008;
constexpr UINT DDF_DONTDRAW = 0x0010;  // "decompress" only: nothing reaches the DC
constexpr UINT DDF_ANIMATE = 0x0020;
constexpr UINT DDF_BUFFER = 0x0040;
constexpr UINT DDF_JUSTDRAWIT = 0x0080;
constexpr UINT DDF_FULLSCREEN = 0x0100;
constexpr UINT DDF_BACKGROUNDPAL = 0x0200;
constexpr UINT DDF_NOTKEYFRAME = 0x0400;
constexpr UINT DDF_HURRYUP = 0x0800;
constexpr UINT DDF_HALFTONE = 0x1000;  // stretch with the box filter instead of dropping pixels
constexpr UINT DDF_PREROLL = DDF_DONTDRAW;
constexpr UINT DDF_SAME_DIB = DDF_SAME_DRAW;
constexpr UINT DDF_SAME_SIZE = DDF_SAME_DRAW;

// A new context, owned by the caller until DrawDibClose.
HDRAWDIB DrawDibOpen();
// Frees the context; FALSE for a handle that is not open.
BOOL DrawDibClose(HDRAWDIB Handle);
// Draws the source rectangle of the DIB (Header, followed in memory by its masks and colour
// table) stretched into the destination rectangle. Source coordinates count from the picture's
// top-left corner whatever the row order. A destination extent of -1 takes the picture's own.
// Bits null: the pixels follow the colour table (a packed DIB). Pixels are dropped or repeated
// when stretching (the DC's stretch mode is not used), averaged with DDF_HALFTONE.
BOOL DrawDibDraw(HDRAWDIB Handle, HDC DC, Integer XDst, Integer YDst, Integer DstWidth, Integer DstHeight,
                 const BITMAPINFOHEADER* Header, const void* Bits, Integer XSrc, Integer YSrc,
                 Integer SrcWidth, Integer SrcHeight, UINT Flags);
// Realizes the context's palette in DC: the screen is true colour and has no system palette,
// so no entry is ever mapped and the result is 0.
UINT DrawDibRealize(HDRAWDIB Handle, HDC DC, BOOL Background);

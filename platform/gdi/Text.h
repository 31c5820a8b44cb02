#pragma once
// Font objects and text output of the graphics layer. 8-bit texts are UTF-8, wide texts UTF-16;
// each call has an A and a W form and an overload of the plain name for both. Per-character
// arrays (lpDx, partial extents, fit counts) count bytes for 8-bit texts and UTF-16 units for
// wide ones: a character's entry goes to its first unit, its further units get 0 (lpDx) or the
// same extent.
// Drawing rules:
// - glyphs are drawn in the text colour with R2_COPYPEN whatever the mix mode; 1-bit glyphs
//   (NONANTIALIASED_QUALITY) store the colour, coverage glyphs blend it over the destination
//   per channel: (text * c + dest * (255 - c) + 127) / 255;
// - the background box (OPAQUE mode) spans the advances from ascent to descent; ETO_OPAQUE fills
//   the given rectangle with the background colour in either mode;
// - control characters (below U+0020) keep their advance but draw nothing;
// - text is drawn under the DC's origin and clip; a world transform moves the reference point
//   but does not scale or turn the glyphs;
// - the character extra (SetTextCharacterExtra) and justification (SetTextJustification) add to
//   every advance of TextOut, ExtTextOut without lpDx, the extents and DrawText.
#include <memory>
#include <mutex>
#include <string>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/FontEngine.h"
#include "platform/gdi/TextLayout.h"

// A logical font; the face is realised on first use and shared with equal fonts.
struct TFontObject : TGdiObject {
  explicit TFontObject(const LOGFONTW& Font);
  const LOGFONTW Log;  // as created, the face name cut to 31 characters
  // Null when no font file can be loaded at all.
  const std::shared_ptr<TFontFace>& Face();

 private:
  std::once_flag FOnce;
  std::shared_ptr<TFontFace> FFace;
};

constexpr UINT ETO_OPAQUE = 0x0002;
constexpr UINT ETO_CLIPPED = 0x0004;
constexpr UINT ETO_GLYPH_INDEX = 0x0010;
constexpr UINT ETO_RTLREADING = 0x0080;
constexpr UINT ETO_NUMERICSLOCAL = 0x0400;
constexpr UINT ETO_NUMERICSLATIN = 0x0800;
constexpr UINT ETO_IGNORELANGUAGE = 0x1000;
constexpr UINT ETO_PDY = 0x2000;

HFONT CreateFontIndirectA(const LOGFONTA* Font);
HFONT CreateFontIndirectW(const LOGFONTW* Font);
inline HFONT CreateFontIndirect(const LOGFONTA* Font) {
  return CreateFontIndirectA(Font);
}
inline HFONT CreateFontIndirect(const LOGFONTW* Font) {
  return CreateFontIndirectW(Font);
}
HFONT CreateFontA(Integer Height, Integer Width, Integer Escapement, Integer Orientation, Integer Weight,
                  DWORD Italic, DWORD Underline, DWORD StrikeOut, DWORD CharSet, DWORD OutPrecision,
                  DWORD ClipPrecision, DWORD Quality, DWORD PitchAndFamily, const char* FaceName);
HFONT CreateFontW(Integer Height, Integer Width, Integer Escapement, Integer Orientation, Integer Weight,
                  DWORD Italic, DWORD Underline, DWORD StrikeOut, DWORD CharSet, DWORD OutPrecision,
                  DWORD ClipPrecision, DWORD Quality, DWORD PitchAndFamily, const char16_t* FaceName);
inline HFONT CreateFont(Integer Height, Integer Width, Integer Escapement, Integer Orientation,
                        Integer Weight, DWORD Italic, DWORD Underline, DWORD StrikeOut, DWORD CharSet,
                        DWORD OutPrecision, DWORD ClipPrecision, DWORD Quality, DWORD PitchAndFamily,
                        const char* FaceName) {
  return CreateFontA(Height, Width, Escapement, Orientation, Weight, Italic, Underline, StrikeOut, CharSet,
                     OutPrecision, ClipPrecision, Quality, PitchAndFamily, FaceName);
}

// GetObject of a font into a LOGFONT (GetObject with a void* buffer gives the A form). Returns
// the size of the structure, 0 when Object is no font or the size is too small.
Integer GetObject(HGDIOBJ Object, Integer Size, LOGFONTA* Buffer);
Integer GetObject(HGDIOBJ Object, Integer Size, LOGFONTW* Buffer);
inline Integer GetObjectA(HGDIOBJ Object, Integer Size, LOGFONTA* Buffer) {
  return GetObject(Object, Size, Buffer);
}
inline Integer GetObjectW(HGDIOBJ Object, Integer Size, LOGFONTW* Buffer) {
  return GetObject(Object, Size, Buffer);
}

// Count -1 takes the text up to its terminating null.
BOOL TextOutA(HDC DC, Integer X, Integer Y, const char* Text, Integer Count);
BOOL TextOutW(HDC DC, Integer X, Integer Y, const char16_t* Text, Integer Count);
inline BOOL TextOut(HDC DC, Integer X, Integer Y, const char* Text, Integer Count) {
  return TextOutA(DC, X, Y, Text, Count);
}
inline BOOL TextOut(HDC DC, Integer X, Integer Y, const char16_t* Text, Integer Count) {
  return TextOutW(DC, X, Y, Text, Count);
}
// Dx: the advance of each character (with ETO_PDY pairs of x and y advances). ETO_GLYPH_INDEX
// is not supported (FALSE).
BOOL ExtTextOutA(HDC DC, Integer X, Integer Y, UINT Options, const RECT* Rect, const char* Text, UINT Count,
                 const Integer* Dx);
BOOL ExtTextOutW(HDC DC, Integer X, Integer Y, UINT Options, const RECT* Rect, const char16_t* Text,
                 UINT Count, const Integer* Dx);
inline BOOL ExtTextOut(HDC DC, Integer X, Integer Y, UINT Options, const RECT* Rect, const char* Text,
                       UINT Count, const Integer* Dx) {
  return ExtTextOutA(DC, X, Y, Options, Rect, Text, Count, Dx);
}
inline BOOL ExtTextOut(HDC DC, Integer X, Integer Y, UINT Options, const RECT* Rect, const char16_t* Text,
                       UINT Count, const Integer* Dx) {
  return ExtTextOutW(DC, X, Y, Options, Rect, Text, Count, Dx);
}
// Tab stops: none given, every 8 average character widths; one, every TabStops[0] pixels; more,
// at those positions (their magnitude) from TabOrigin, then every 8 average widths. Returns the
// text's size as MAKELONG(width, height); 0 on failure.
LONG TabbedTextOutA(HDC DC, Integer X, Integer Y, const char* Text, Integer Count, Integer TabCount,
                    const Integer* TabStops, Integer TabOrigin);
LONG TabbedTextOutW(HDC DC, Integer X, Integer Y, const char16_t* Text, Integer Count, Integer TabCount,
                    const Integer* TabStops, Integer TabOrigin);
inline LONG TabbedTextOut(HDC DC, Integer X, Integer Y, const char* Text, Integer Count, Integer TabCount,
                          const Integer* TabStops, Integer TabOrigin) {
  return TabbedTextOutA(DC, X, Y, Text, Count, TabCount, TabStops, TabOrigin);
}
DWORD GetTabbedTextExtentA(HDC DC, const char* Text, Integer Count, Integer TabCount,
                           const Integer* TabStops);
DWORD GetTabbedTextExtentW(HDC DC, const char16_t* Text, Integer Count, Integer TabCount,
                           const Integer* TabStops);

// DrawText lays out with TextLayout (see there for the rules) and draws left/top aligned whatever
// the DC's text alignment, clipped to Rect unless DT_NOCLIP. Returns the text height (0 on
// failure). The const forms ignore DT_MODIFYSTRING; the Ex forms write the shortened text back,
// never past Count characters (a null follows it when it is shorter).
Integer DrawTextA(HDC DC, const char* Text, Integer Count, RECT* Rect, UINT Format);
Integer DrawTextW(HDC DC, const char16_t* Text, Integer Count, RECT* Rect, UINT Format);
inline Integer DrawText(HDC DC, const char* Text, Integer Count, RECT* Rect, UINT Format) {
  return DrawTextA(DC, Text, Count, Rect, Format);
}
inline Integer DrawText(HDC DC, const char16_t* Text, Integer Count, RECT* Rect, UINT Format) {
  return DrawTextW(DC, Text, Count, Rect, Format);
}
Integer DrawTextExA(HDC DC, char* Text, Integer Count, RECT* Rect, UINT Format, DRAWTEXTPARAMS* Params);
Integer DrawTextExW(HDC DC, char16_t* Text, Integer Count, RECT* Rect, UINT Format, DRAWTEXTPARAMS* Params);
inline Integer DrawTextEx(HDC DC, char* Text, Integer Count, RECT* Rect, UINT Format,
                          DRAWTEXTPARAMS* Params) {
  return DrawTextExA(DC, Text, Count, Rect, Format, Params);
}
inline Integer DrawTextEx(HDC DC, char16_t* Text, Integer Count, RECT* Rect, UINT Format,
                          DRAWTEXTPARAMS* Params) {
  return DrawTextExW(DC, Text, Count, Rect, Format, Params);
}

BOOL GetTextExtentPoint32A(HDC DC, const char* Text, Integer Count, SIZE* Size);
BOOL GetTextExtentPoint32W(HDC DC, const char16_t* Text, Integer Count, SIZE* Size);
inline BOOL GetTextExtentPoint32(HDC DC, const char* Text, Integer Count, SIZE* Size) {
  return GetTextExtentPoint32A(DC, Text, Count, Size);
}
inline BOOL GetTextExtentPoint32(HDC DC, const char16_t* Text, Integer Count, SIZE* Size) {
  return GetTextExtentPoint32W(DC, Text, Count, Size);
}
inline BOOL GetTextExtentPointA(HDC DC, const char* Text, Integer Count, SIZE* Size) {
  return GetTextExtentPoint32A(DC, Text, Count, Size);
}
inline BOOL GetTextExtentPointW(HDC DC, const char16_t* Text, Integer Count, SIZE* Size) {
  return GetTextExtentPoint32W(DC, Text, Count, Size);
}
// Fit (optional): how many units fit within MaxExtent; Dx (optional, Count entries): the extent
// of the text up to and including each unit's character.
BOOL GetTextExtentExPointA(HDC DC, const char* Text, Integer Count, Integer MaxExtent, Integer* Fit,
                           Integer* Dx, SIZE* Size);
BOOL GetTextExtentExPointW(HDC DC, const char16_t* Text, Integer Count, Integer MaxExtent, Integer* Fit,
                           Integer* Dx, SIZE* Size);

BOOL GetTextMetricsA(HDC DC, TEXTMETRICA* Metric);
BOOL GetTextMetricsW(HDC DC, TEXTMETRICW* Metric);
inline BOOL GetTextMetrics(HDC DC, TEXTMETRICA* Metric) {
  return GetTextMetricsA(DC, Metric);
}
inline BOOL GetTextMetrics(HDC DC, TEXTMETRICW* Metric) {
  return GetTextMetricsW(DC, Metric);
}

// Characters First..Last; the A forms take them as Latin-1 code points.
BOOL GetCharWidth32A(HDC DC, UINT First, UINT Last, Integer* Widths);
BOOL GetCharWidth32W(HDC DC, UINT First, UINT Last, Integer* Widths);
inline BOOL GetCharWidthA(HDC DC, UINT First, UINT Last, Integer* Widths) {
  return GetCharWidth32A(DC, First, Last, Widths);
}
inline BOOL GetCharWidthW(HDC DC, UINT First, UINT Last, Integer* Widths) {
  return GetCharWidth32W(DC, First, Last, Widths);
}
BOOL GetCharABCWidthsA(HDC DC, UINT First, UINT Last, ABC* Widths);
BOOL GetCharABCWidthsW(HDC DC, UINT First, UINT Last, ABC* Widths);

DWORD GetGlyphOutlineA(HDC DC, UINT Char, UINT Format, GLYPHMETRICS* Metrics, DWORD Size, void* Buffer,
                       const MAT2* Matrix);
DWORD GetGlyphOutlineW(HDC DC, UINT Char, UINT Format, GLYPHMETRICS* Metrics, DWORD Size, void* Buffer,
                       const MAT2* Matrix);
inline DWORD GetGlyphOutline(HDC DC, UINT Char, UINT Format, GLYPHMETRICS* Metrics, DWORD Size, void* Buffer,
                             const MAT2* Matrix) {
  return GetGlyphOutlineW(DC, Char, Format, Metrics, Size, Buffer, Matrix);
}

// The face name of the DC's font: the name asked for when it resolved to a face (directly or
// through the substitution table), else the family found. Name null: the length needed with the
// null; else the characters copied with the null.
Integer GetTextFaceA(HDC DC, Integer Count, char* Name);
Integer GetTextFaceW(HDC DC, Integer Count, char16_t* Name);

// The font a DC draws with: its selected font, or the system font.
HFONT DcFont(HDC DC);

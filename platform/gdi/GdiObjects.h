#pragma once
// Pens, brushes, stock objects and the handle functions shared by every GDI object type.
// Objects are owned by their handle: Create* makes one, DeleteObject frees it. Stock objects are
// never freed. An object selected into a device context is never freed under it: DeleteObject
// of a selected pen, brush, font or palette succeeds and frees it when the last DC lets go;
// DeleteObject of a selected bitmap fails.
#include <vector>

#include "platform/gdi/GdiObject.h"

// Pen styles.
constexpr UINT PS_SOLID = 0;
constexpr UINT PS_DASH = 1;
constexpr UINT PS_DOT = 2;
constexpr UINT PS_DASHDOT = 3;
constexpr UINT PS_DASHDOTDOT = 4;
constexpr UINT PS_NULL = 5;
constexpr UINT PS_INSIDEFRAME = 6;
constexpr UINT PS_USERSTYLE = 7;
constexpr UINT PS_ALTERNATE = 8;
constexpr UINT PS_STYLE_MASK = 0x0000000F;
constexpr UINT PS_ENDCAP_ROUND = 0x00000000;
constexpr UINT PS_ENDCAP_SQUARE = 0x00000100;
constexpr UINT PS_ENDCAP_FLAT = 0x00000200;
constexpr UINT PS_ENDCAP_MASK = 0x00000F00;
constexpr UINT PS_JOIN_ROUND = 0x00000000;
constexpr UINT PS_JOIN_BEVEL = 0x00001000;
constexpr UINT PS_JOIN_MITER = 0x00002000;
constexpr UINT PS_JOIN_MASK = 0x0000F000;
constexpr UINT PS_COSMETIC = 0x00000000;
constexpr UINT PS_GEOMETRIC = 0x00010000;
constexpr UINT PS_TYPE_MASK = 0x000F0000;

// Brush styles and hatches.
constexpr UINT BS_SOLID = 0;
constexpr UINT BS_NULL = 1;
constexpr UINT BS_HOLLOW = BS_NULL;
constexpr UINT BS_HATCHED = 2;
constexpr UINT BS_PATTERN = 3;
constexpr UINT BS_INDEXED = 4;
constexpr UINT BS_DIBPATTERN = 5;
constexpr UINT BS_DIBPATTERNPT = 6;
constexpr UINT BS_PATTERN8X8 = 7;
constexpr UINT BS_DIBPATTERN8X8 = 8;
constexpr Integer HS_HORIZONTAL = 0;
constexpr Integer HS_VERTICAL = 1;
constexpr Integer HS_FDIAGONAL = 2;
constexpr Integer HS_BDIAGONAL = 3;
constexpr Integer HS_CROSS = 4;
constexpr Integer HS_DIAGCROSS = 5;

// Stock objects.
constexpr Integer WHITE_BRUSH = 0;
constexpr Integer LTGRAY_BRUSH = 1;
constexpr Integer GRAY_BRUSH = 2;
constexpr Integer DKGRAY_BRUSH = 3;
constexpr Integer BLACK_BRUSH = 4;
constexpr Integer NULL_BRUSH = 5;
constexpr Integer HOLLOW_BRUSH = NULL_BRUSH;
constexpr Integer WHITE_PEN = 6;
constexpr Integer BLACK_PEN = 7;
constexpr Integer NULL_PEN = 8;
constexpr Integer OEM_FIXED_FONT = 10;
constexpr Integer ANSI_FIXED_FONT = 11;
constexpr Integer ANSI_VAR_FONT = 12;
constexpr Integer SYSTEM_FONT = 13;
constexpr Integer DEVICE_DEFAULT_FONT = 14;
constexpr Integer DEFAULT_PALETTE = 15;
constexpr Integer SYSTEM_FIXED_FONT = 16;
constexpr Integer DEFAULT_GUI_FONT = 17;
constexpr Integer DC_BRUSH = 18;
constexpr Integer DC_PEN = 19;
constexpr Integer STOCK_LAST = 19;

struct LOGPEN {
  UINT lopnStyle = PS_SOLID;
  POINT lopnWidth;  // only X is used
  COLORREF lopnColor = 0;
};

struct LOGBRUSH {
  UINT lbStyle = BS_SOLID;
  COLORREF lbColor = 0;
  ULONG_PTR lbHatch = 0;  // hatch style, or the HBITMAP of a BS_PATTERN brush
};

struct EXTLOGPEN {
  DWORD elpPenStyle = 0;
  DWORD elpWidth = 0;
  UINT elpBrushStyle = BS_SOLID;
  COLORREF elpColor = 0;
  ULONG_PTR elpHatch = 0;
  DWORD elpNumEntries = 0;
  DWORD elpStyleEntry[16] = {};  // the platform declares one; room for PS_USERSTYLE's maximum
};

struct TPenObject : TGdiObject {
  TPenObject() : TGdiObject(OBJ_PEN) {}
  explicit TPenObject(Integer Type) : TGdiObject(Type) {}
  UINT Style = PS_SOLID;  // full style: type, end cap, join and dash style
  Integer Width = 0;      // 0 and 1 are one pixel
  COLORREF Color = 0;
  LOGBRUSH Brush;  // the brush an extended pen was created with
  std::vector<DWORD> UserStyle;
  bool DcPen = false;  // the DC_PEN stock pen: colour comes from SetDCPenColor

  UINT DashStyle() const { return Style & PS_STYLE_MASK; }
  bool IsGeometric() const { return (Style & PS_TYPE_MASK) == PS_GEOMETRIC; }
};

// A pattern brush keeps its own copy of the pattern bitmap, as COLORREFs, or as bits (1 = the
// background colour) for a monochrome pattern, which is drawn in the text and background colours.
struct TBrushObject : TGdiObject {
  TBrushObject() : TGdiObject(OBJ_BRUSH) {}
  UINT Style = BS_SOLID;
  COLORREF Color = 0;
  Integer Hatch = 0;
  HBITMAP PatternBitmap = nullptr;  // as created from; reported by GetObject, never dereferenced
  Integer PatternWidth = 0;
  Integer PatternHeight = 0;
  bool PatternMono = false;
  std::vector<COLORREF> Pattern;  // row-major, top row first
  bool DcBrush = false;           // the DC_BRUSH stock brush: colour comes from SetDCBrushColor
};

HPEN CreatePen(Integer Style, Integer Width, COLORREF Color);
HPEN CreatePenIndirect(const LOGPEN* LogPen);
HPEN ExtCreatePen(DWORD Style, DWORD Width, const LOGBRUSH* Brush, DWORD StyleCount,
                  const DWORD* StyleEntries);
HBRUSH CreateSolidBrush(COLORREF Color);
HBRUSH CreateHatchBrush(Integer Hatch, COLORREF Color);
HBRUSH CreatePatternBrush(HBITMAP Bitmap);
HBRUSH CreateBrushIndirect(const LOGBRUSH* LogBrush);

HGDIOBJ GetStockObject(Integer Index);
// Lets a later layer provide a stock object this one cannot make (the stock fonts).
void RegisterStockObject(Integer Index, HGDIOBJ Object);

BOOL DeleteObject(HGDIOBJ Object);
// Fills Buffer with the object's description (BITMAP/DIBSECTION, LOGPEN/EXTLOGPEN, LOGBRUSH, the
// entry count of a palette as a WORD, LOGFONT through the font layer). Null Buffer: the size.
Integer GetObject(HGDIOBJ Object, Integer Size, void* Buffer);
inline Integer GetObjectA(HGDIOBJ Object, Integer Size, void* Buffer) {
  return GetObject(Object, Size, Buffer);
}
inline Integer GetObjectW(HGDIOBJ Object, Integer Size, void* Buffer) {
  return GetObject(Object, Size, Buffer);
}
// GetObject for object types of later layers (fonts): registered by that layer.
using TGetObjectHandler = Integer (*)(HGDIOBJ Object, Integer Size, void* Buffer);
void RegisterGetObjectHandler(Integer ObjType, TGetObjectHandler Handler);
DWORD GetObjectType(HGDIOBJ Object);

// True while Object is selected into a device context, current or saved state.
bool IsObjectSelected(HGDIOBJ Object);
// Selection bookkeeping of the device contexts: counts holds and frees an object whose deletion
// was deferred when the last hold goes.
void HoldGdiObject(HGDIOBJ Object);
void ReleaseGdiObject(HGDIOBJ Object);

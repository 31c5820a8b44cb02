#include "platform/gdi/GdiObjects.h"

#include <array>
#include <cstddef>
#include <cstring>
#include <mutex>
#include <unordered_map>
#include <unordered_set>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Dib.h"
#include "platform/gdi/Palettes.h"

namespace {

// Selection holds: how many DC states (current or saved) hold each object, and the objects whose
// deletion waits for their last hold to go.
struct THoldTable {
  std::mutex Lock;
  std::unordered_map<HGDIOBJ, Integer> Holds;
  std::unordered_set<HGDIOBJ> PendingDelete;
};

THoldTable& Holds() {
  static THoldTable* Table = new THoldTable;  // never destroyed: objects may outlive statics
  return *Table;
}

std::array<TGetObjectHandler, 16>& GetObjectHandlers() {
  static std::array<TGetObjectHandler, 16> Handlers{};
  return Handlers;
}

TPenObject* NewPen(UINT Style, Integer Width, COLORREF Color) {
  auto* Pen = new TPenObject;
  Pen->Style = Style;
  Pen->Width = Width < 0 ? 0 : Width;
  Pen->Color = Color;
  Pen->Brush = {BS_SOLID, Color, 0};
  return Pen;
}

TBrushObject* NewBrush(UINT Style, COLORREF Color, Integer Hatch) {
  auto* Brush = new TBrushObject;
  Brush->Style = Style;
  Brush->Color = Color;
  Brush->Hatch = Hatch;
  return Brush;
}

struct TStockTable {
  std::array<HGDIOBJ, STOCK_LAST + 1> Objects{};
  TStockTable() {
    auto Stock = [](TGdiObject* O) {
      O->Stock = true;
      return O;
    };
    Objects[WHITE_BRUSH] = Stock(NewBrush(BS_SOLID, RGB(255, 255, 255), 0));
    Objects[LTGRAY_BRUSH] = Stock(NewBrush(BS_SOLID, RGB(192, 192, 192), 0));
    Objects[GRAY_BRUSH] = Stock(NewBrush(BS_SOLID, RGB(128, 128, 128), 0));
    Objects[DKGRAY_BRUSH] = Stock(NewBrush(BS_SOLID, RGB(64, 64, 64), 0));
    Objects[BLACK_BRUSH] = Stock(NewBrush(BS_SOLID, RGB(0, 0, 0), 0));
    Objects[NULL_BRUSH] = Stock(NewBrush(BS_NULL, 0, 0));
    Objects[WHITE_PEN] = Stock(NewPen(PS_SOLID, 0, RGB(255, 255, 255)));
    Objects[BLACK_PEN] = Stock(NewPen(PS_SOLID, 0, RGB(0, 0, 0)));
    Objects[NULL_PEN] = Stock(NewPen(PS_NULL, 0, 0));
    LOGPALETTE Pal;
    Pal.palNumEntries = 20;
    std::memcpy(Pal.palPalEntry, DefaultPaletteEntries(), 20 * sizeof(PALETTEENTRY));
    Objects[DEFAULT_PALETTE] = Stock(CreatePalette(&Pal));
    auto* DcBrush = NewBrush(BS_SOLID, RGB(255, 255, 255), 0);
    DcBrush->DcBrush = true;
    Objects[DC_BRUSH] = Stock(DcBrush);
    auto* DcPen = NewPen(PS_SOLID, 0, 0);
    DcPen->DcPen = true;
    Objects[DC_PEN] = Stock(DcPen);
  }
};

TStockTable& StockTable() {
  static TStockTable* Table = new TStockTable;
  return *Table;
}

Integer CopyOut(const void* Src, Integer Needed, Integer Size, void* Buffer) {
  if (!Buffer) return Needed;
  if (Size < Needed) return 0;
  std::memcpy(Buffer, Src, static_cast<std::size_t>(Needed));
  return Needed;
}

}  // namespace

HPEN CreatePen(Integer Style, Integer Width, COLORREF Color) {
  const UINT S = static_cast<UINT>(Style);
  if (S > PS_INSIDEFRAME) return nullptr;
  // A pen of this call is cosmetic when thin; a wide one is geometric with round caps and joins,
  // and its dash styles draw solid.
  if (Width > 1 && S != PS_NULL && S != PS_INSIDEFRAME) return NewPen(PS_GEOMETRIC | PS_SOLID, Width, Color);
  return NewPen((Width > 1 ? PS_GEOMETRIC : PS_COSMETIC) | S, Width, Color);
}

HPEN CreatePenIndirect(const LOGPEN* LogPen) {
  if (!LogPen) return nullptr;
  return CreatePen(static_cast<Integer>(LogPen->lopnStyle), LogPen->lopnWidth.X, LogPen->lopnColor);
}

HPEN ExtCreatePen(DWORD Style, DWORD Width, const LOGBRUSH* Brush, DWORD StyleCount,
                  const DWORD* StyleEntries) {
  if (!Brush) return nullptr;
  const UINT Dash = Style & PS_STYLE_MASK;
  const bool Geometric = (Style & PS_TYPE_MASK) == PS_GEOMETRIC;
  if (Dash > PS_ALTERNATE || (Style & PS_TYPE_MASK) > PS_GEOMETRIC) return nullptr;
  if ((Style & PS_ENDCAP_MASK) > PS_ENDCAP_FLAT || (Style & PS_JOIN_MASK) > PS_JOIN_MITER) return nullptr;
  if (!Geometric && (Width != 1 || Brush->lbStyle != BS_SOLID)) return nullptr;
  if (Geometric && Dash == PS_ALTERNATE) return nullptr;
  if (Dash == PS_USERSTYLE ? (StyleCount == 0 || StyleCount > 16 || !StyleEntries) : StyleCount != 0)
    return nullptr;
  if (Width > 0x7FFFFFFF) return nullptr;
  auto* Pen = new TPenObject(OBJ_EXTPEN);
  Pen->Style = Style;
  Pen->Width = static_cast<Integer>(Width);
  Pen->Color = Brush->lbColor;
  Pen->Brush = *Brush;
  if (Dash == PS_USERSTYLE) Pen->UserStyle.assign(StyleEntries, StyleEntries + StyleCount);
  return Pen;
}

HBRUSH CreateSolidBrush(COLORREF Color) {
  return NewBrush(BS_SOLID, Color, 0);
}

HBRUSH CreateHatchBrush(Integer Hatch, COLORREF Color) {
  if (Hatch < HS_HORIZONTAL || Hatch > HS_DIAGCROSS) return nullptr;
  return NewBrush(BS_HATCHED, Color, Hatch);
}

HBRUSH CreatePatternBrush(HBITMAP Bitmap) {
  if (!Bitmap || Bitmap->Surface.Width <= 0 || Bitmap->Surface.Height <= 0) return nullptr;
  const TSurface& S = Bitmap->Surface;
  auto* Brush = NewBrush(BS_PATTERN, 0, 0);
  Brush->PatternBitmap = Bitmap;
  Brush->PatternWidth = S.Width;
  Brush->PatternHeight = S.Height;
  Brush->PatternMono = S.Bpp == 1;
  Brush->Pattern.resize(static_cast<std::size_t>(S.Width) * S.Height);
  COLORREF* Out = Brush->Pattern.data();
  for (Integer Y = 0; Y < S.Height; ++Y)
    for (Integer X = 0; X < S.Width; ++X) {
      const DWORD Pixel = GetRawPixel(S, X, Y);
      *Out++ = Brush->PatternMono ? Pixel : PixelToColor(S, Pixel);
    }
  return Brush;
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* LogBrush) {
  if (!LogBrush) return nullptr;
  switch (LogBrush->lbStyle) {
    case BS_SOLID:
      return CreateSolidBrush(LogBrush->lbColor);
    case BS_NULL:
      return NewBrush(BS_NULL, 0, 0);
    case BS_HATCHED:
      return CreateHatchBrush(static_cast<Integer>(LogBrush->lbHatch), LogBrush->lbColor);
    case BS_PATTERN:
    case BS_PATTERN8X8:
      return CreatePatternBrush(reinterpret_cast<HBITMAP>(LogBrush->lbHatch));
    default:
      return nullptr;
  }
}

HGDIOBJ GetStockObject(Integer Index) {
  if (Index < 0 || Index > STOCK_LAST) return nullptr;
  return StockTable().Objects[static_cast<std::size_t>(Index)];
}

void RegisterStockObject(Integer Index, HGDIOBJ Object) {
  if (Index < 0 || Index > STOCK_LAST || !Object) return;
  Object->Stock = true;
  StockTable().Objects[static_cast<std::size_t>(Index)] = Object;
}

void HoldGdiObject(HGDIOBJ Object) {
  if (!Object || Object->Stock) return;
  THoldTable& T = Holds();
  std::lock_guard<std::mutex> Guard(T.Lock);
  ++T.Holds[Object];
}

void ReleaseGdiObject(HGDIOBJ Object) {
  if (!Object || Object->Stock) return;
  THoldTable& T = Holds();
  {
    std::lock_guard<std::mutex> Guard(T.Lock);
    auto It = T.Holds.find(Object);
    if (It == T.Holds.end()) return;
    if (--It->second > 0) return;
    T.Holds.erase(It);
    if (T.PendingDelete.erase(Object) == 0) return;
  }
  delete Object;
}

bool IsObjectSelected(HGDIOBJ Object) {
  if (!Object) return false;
  THoldTable& T = Holds();
  std::lock_guard<std::mutex> Guard(T.Lock);
  return T.Holds.count(Object) != 0;
}

BOOL DeleteObject(HGDIOBJ Object) {
  if (!Object) return FALSE;
  if (Object->Stock) return TRUE;  // harmless, as on the platform
  switch (Object->ObjType) {
    case OBJ_DC:
    case OBJ_MEMDC:
    case OBJ_METADC:
    case OBJ_ENHMETADC:
      return FALSE;
    case OBJ_BITMAP:
      if (static_cast<HBITMAP>(Object)->SelectedInto) return FALSE;
      break;
    default: {
      THoldTable& T = Holds();
      std::lock_guard<std::mutex> Guard(T.Lock);
      if (T.Holds.count(Object)) {
        T.PendingDelete.insert(Object);
        return TRUE;
      }
      break;
    }
  }
  delete Object;
  return TRUE;
}

void RegisterGetObjectHandler(Integer ObjType, TGetObjectHandler Handler) {
  if (ObjType > 0 && ObjType < 16) GetObjectHandlers()[static_cast<std::size_t>(ObjType)] = Handler;
}

DWORD GetObjectType(HGDIOBJ Object) {
  return Object ? static_cast<DWORD>(Object->ObjType) : 0;
}

Integer GetObject(HGDIOBJ Object, Integer Size, void* Buffer) {
  if (!Object) return 0;
  switch (Object->ObjType) {
    case OBJ_PEN: {
      auto* Pen = static_cast<HPEN>(Object);
      LOGPEN L{Pen->DashStyle(), {Pen->Width, 0}, Pen->Color};
      return CopyOut(&L, sizeof(L), Size, Buffer);
    }
    case OBJ_EXTPEN: {
      auto* Pen = static_cast<HPEN>(Object);
      EXTLOGPEN L;
      L.elpPenStyle = Pen->Style;
      L.elpWidth = static_cast<DWORD>(Pen->Width);
      L.elpBrushStyle = Pen->Brush.lbStyle;
      L.elpColor = Pen->Brush.lbColor;
      L.elpHatch = Pen->Brush.lbHatch;
      L.elpNumEntries = static_cast<DWORD>(Pen->UserStyle.size());
      for (std::size_t I = 0; I < Pen->UserStyle.size(); ++I) L.elpStyleEntry[I] = Pen->UserStyle[I];
      const Integer Needed =
          static_cast<Integer>(offsetof(EXTLOGPEN, elpStyleEntry) + sizeof(DWORD) * Pen->UserStyle.size());
      return CopyOut(&L, Needed, Size, Buffer);
    }
    case OBJ_BRUSH: {
      auto* Brush = static_cast<HBRUSH>(Object);
      LOGBRUSH L{Brush->Style, Brush->Color, static_cast<ULONG_PTR>(Brush->Hatch)};
      if (Brush->Style == BS_PATTERN) L = {BS_PATTERN, 0, reinterpret_cast<ULONG_PTR>(Brush->PatternBitmap)};
      return CopyOut(&L, sizeof(L), Size, Buffer);
    }
    case OBJ_PAL: {
      const WORD Count = static_cast<WORD>(static_cast<HPALETTE>(Object)->Entries.size());
      return CopyOut(&Count, sizeof(Count), Size, Buffer);
    }
    case OBJ_BITMAP: {
      auto* B = static_cast<HBITMAP>(Object);
      DIBSECTION D;
      D.dsBm.bmWidth = B->Surface.Width;
      D.dsBm.bmHeight = B->Surface.Height;
      D.dsBm.bmBitsPixel = static_cast<WORD>(B->Surface.Bpp);
      if (B->IsDibSection) {
        D.dsBm.bmWidthBytes = DibRowBytes(B->Surface.Width, B->Surface.Bpp);
        D.dsBm.bmBits = B->Bits();
        D.dsBmih = B->Header;
        D.dsBmih.biSizeImage = static_cast<DWORD>(B->BitsSize());
        std::memcpy(D.dsBitfields, B->Bitfields, sizeof(D.dsBitfields));
        if (Buffer && Size >= static_cast<Integer>(sizeof(DIBSECTION)))
          return CopyOut(&D, sizeof(D), Size, Buffer);
      } else {
        D.dsBm.bmWidthBytes = DdbRowBytes(B->Surface.Width, B->Surface.Bpp);
      }
      return CopyOut(&D.dsBm, sizeof(BITMAP), Size, Buffer);
    }
    default: {
      const Integer Type = Object->ObjType;
      if (Type > 0 && Type < 16 && GetObjectHandlers()[static_cast<std::size_t>(Type)])
        return GetObjectHandlers()[static_cast<std::size_t>(Type)](Object, Size, Buffer);
      return 0;
    }
  }
}

// Old-style metafiles converted to enhanced ones: each record is drawn on a recording DC whose
// world transform is the old file's window mapping, so that one player serves both kinds.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "platform/gdi/Blit.h"
#include "platform/gdi/Dib.h"
#include "platform/gdi/EnhMetaFileInternal.h"
#include "platform/gdi/Painting.h"
#include "platform/gdi/Regions.h"
#include "platform/gdi/Text.h"
#include "platform/system/Exceptions.h"

namespace {

// Record functions.
constexpr Word META_EOF = 0x0000;
constexpr Word META_SAVEDC = 0x001E;
constexpr Word META_REALIZEPALETTE = 0x0035;
constexpr Word META_CREATEPALETTE = 0x00F7;
constexpr Word META_SETBKMODE = 0x0102;
constexpr Word META_SETMAPMODE = 0x0103;
constexpr Word META_SETROP2 = 0x0104;
constexpr Word META_SETPOLYFILLMODE = 0x0106;
constexpr Word META_SETSTRETCHBLTMODE = 0x0107;
constexpr Word META_SETTEXTCHAREXTRA = 0x0108;
constexpr Word META_RESTOREDC = 0x0127;
constexpr Word META_SELECTOBJECT = 0x012D;
constexpr Word META_SETTEXTALIGN = 0x012E;
constexpr Word META_DIBCREATEPATTERNBRUSH = 0x0142;
constexpr Word META_DELETEOBJECT = 0x01F0;
constexpr Word META_CREATEPATTERNBRUSH = 0x01F9;
constexpr Word META_SETBKCOLOR = 0x0201;
constexpr Word META_SETTEXTCOLOR = 0x0209;
constexpr Word META_SETWINDOWORG = 0x020B;
constexpr Word META_SETWINDOWEXT = 0x020C;
constexpr Word META_OFFSETWINDOWORG = 0x020F;
constexpr Word META_LINETO = 0x0213;
constexpr Word META_MOVETO = 0x0214;
constexpr Word META_OFFSETCLIPRGN = 0x0220;
constexpr Word META_CREATEPENINDIRECT = 0x02FA;
constexpr Word META_CREATEFONTINDIRECT = 0x02FB;
constexpr Word META_CREATEBRUSHINDIRECT = 0x02FC;
constexpr Word META_POLYGON = 0x0324;
constexpr Word META_POLYLINE = 0x0325;
constexpr Word META_SCALEWINDOWEXT = 0x0410;
constexpr Word META_EXCLUDECLIPRECT = 0x0415;
constexpr Word META_INTERSECTCLIPRECT = 0x0416;
constexpr Word META_ELLIPSE = 0x0418;
constexpr Word META_FLOODFILL = 0x0419;
constexpr Word META_RECTANGLE = 0x041B;
constexpr Word META_SETPIXEL = 0x041F;
constexpr Word META_TEXTOUT = 0x0521;
constexpr Word META_POLYPOLYGON = 0x0538;
constexpr Word META_EXTFLOODFILL = 0x0548;
constexpr Word META_ROUNDRECT = 0x061C;
constexpr Word META_PATBLT = 0x061D;
constexpr Word META_CREATEREGION = 0x06FF;
constexpr Word META_ARC = 0x0817;
constexpr Word META_PIE = 0x081A;
constexpr Word META_CHORD = 0x0830;
constexpr Word META_DIBBITBLT = 0x0940;
constexpr Word META_EXTTEXTOUT = 0x0A32;
constexpr Word META_DIBSTRETCHBLT = 0x0B41;
constexpr Word META_STRETCHDIB = 0x0F43;

constexpr std::size_t MaxObjects = 0x10000;
constexpr std::size_t MaxSaves = 1024;

struct TMapState {
  TPoint Org;
  TSize Ext{1, 1};
  bool HasExt = false;
};

struct TConverter {
  HDC DC = nullptr;
  double ScaleX = 1, ScaleY = 1;  // window units to reference pixels, when the size is given
  bool Fixed = false;             // a size was given: the window extent maps onto it
  TMapState Map;
  std::vector<TMapState> Saved;
  std::vector<HGDIOBJ> Objects;  // by index; a placeholder (the DC itself) for kinds not kept
  std::vector<bool> Used;

  void Apply() {
    double SX = 1, SY = 1;
    if (Fixed && Map.HasExt) SX = ScaleX / Map.Ext.cx, SY = ScaleY / Map.Ext.cy;
    XFORM X;
    X.eM11 = static_cast<FLOAT>(SX), X.eM22 = static_cast<FLOAT>(SY);
    X.eDx = static_cast<FLOAT>(-Map.Org.X * SX), X.eDy = static_cast<FLOAT>(-Map.Org.Y * SY);
    SetWorldTransform(DC, &X);
  }
  std::size_t Add(HGDIOBJ O) {
    std::size_t I = 0;
    while (I < Used.size() && Used[I]) ++I;
    if (I == Used.size()) {
      if (Used.size() >= MaxObjects) {
        if (O && O != DC) DeleteObject(O);
        return I;
      }
      Used.push_back(false), Objects.push_back(nullptr);
    }
    Used[I] = true;
    Objects[I] = O;
    return I;
  }
  void Free() {
    SelectObject(DC, GetStockObject(BLACK_PEN));
    SelectObject(DC, GetStockObject(WHITE_BRUSH));
    SelectObject(DC, GetStockObject(SYSTEM_FONT));
    for (HGDIOBJ O : Objects)
      if (O && O != DC) DeleteObject(O);
  }
};

// The parameters of one record: 16-bit words, read through a bounded reader.
struct TParams {
  TRecordReader R;
  std::size_t Words;
  Integer S(std::size_t I) {
    R.Seek(6 + 2 * I);
    return R.I16();
  }
  Word U(std::size_t I) {
    R.Seek(6 + 2 * I);
    return R.U16();
  }
  DWORD Color(std::size_t I) { return U(I) | (DWORD(U(I + 1)) << 16); }
};

// A DIB at word Offset of the record, to its end.
bool ParamDib(TParams& P, std::size_t Offset, UINT Usage, TRecordDib& Dib) {
  const std::size_t At = 6 + 2 * Offset;
  if (At + 40 > P.R.Size()) return false;
  TRecordReader H(P.R.At(At), P.R.Size() - At);
  const DWORD HeaderSize = H.U32();
  H.Skip(10);
  const Word Bpp = H.U16();
  const DWORD Compression = H.U32();
  H.Skip(12);
  const DWORD Used = H.U32();
  if (!H.Ok() || HeaderSize < 40) return false;
  DWORD Colors = 0;
  if (Compression == BI_BITFIELDS)
    Colors = HeaderSize == 40 ? 3 : 0;
  else if (Bpp <= 8)
    Colors = Used && Used < (1u << Bpp) ? Used : (1u << Bpp);
  const DWORD CbBmi = HeaderSize + Colors * (Usage == DIB_PAL_COLORS && Bpp <= 8 ? 2 : 4);
  const std::size_t Left = P.R.Size() - At;
  if (CbBmi > Left) return false;
  return ReadRecordDib(P.R, static_cast<DWORD>(At), CbBmi, static_cast<DWORD>(At + CbBmi),
                       static_cast<DWORD>(Left - CbBmi), Usage, Dib);
}

// Draws a DIB as a blit from a DIB section (the source DC's transform is identity).
void BlitDib(HDC DC, const TRecordDib& Dib, UINT Usage, Integer X, Integer Y, Integer W, Integer H,
             Integer XS, Integer YS, Integer WS, Integer HS, DWORD Rop) {
  void* Bits = nullptr;
  HDC Src = CreateCompatibleDC(nullptr);
  HBITMAP B = CreateDIBSection(Src, &Dib.Info, Usage, &Bits, nullptr, 0);
  if (B && Bits) {
    const BITMAPINFOHEADER& Hd = Dib.Info.bmiHeader;
    std::memcpy(Bits, Dib.Bits,
                static_cast<std::size_t>(DibRowBytes(Hd.biWidth, Hd.biBitCount)) * std::abs(Hd.biHeight));
    HGDIOBJ Old = SelectObject(Src, B);
    StretchBlt(DC, X, Y, W, H, Src, XS, YS, WS, HS, Rop);
    SelectObject(Src, Old);
  }
  if (B) DeleteObject(B);
  DeleteDC(Src);
}

std::vector<POINT> Points(TParams& P, std::size_t First, std::size_t Count) {
  std::vector<POINT> Out(Count);
  for (std::size_t I = 0; I < Count; ++I) Out[I] = {P.S(First + 2 * I), P.S(First + 2 * I + 1)};
  return Out;
}

// One record; false ends the conversion as failed.
bool Convert(TConverter& C, Word Fn, TParams& P) {
  HDC DC = C.DC;
  const std::size_t N = P.Words;
  auto Need = [&](std::size_t Words) { return N >= Words; };
  switch (Fn) {
    case META_SETBKMODE:
      return Need(1) && (SetBkMode(DC, P.S(0)), true);
    case META_SETMAPMODE:
      return Need(1);  // the window mapping below decides
    case META_SETROP2:
      return Need(1) && (SetROP2(DC, P.S(0)), true);
    case META_SETPOLYFILLMODE:
      return Need(1) && (SetPolyFillMode(DC, P.S(0)), true);
    case META_SETSTRETCHBLTMODE:
      return Need(1) && (SetStretchBltMode(DC, P.S(0)), true);
    case META_SETTEXTCHAREXTRA:
      return Need(1) && (SetTextCharacterExtra(DC, P.S(0)), true);
    case META_SETTEXTALIGN:
      return Need(1) && (SetTextAlign(DC, P.U(0)), true);
    case META_SETBKCOLOR:
      return Need(2) && (SetBkColor(DC, P.Color(0)), true);
    case META_SETTEXTCOLOR:
      return Need(2) && (SetTextColor(DC, P.Color(0)), true);
    case META_SETWINDOWORG:
      if (!Need(2)) return false;
      C.Map.Org = {P.S(1), P.S(0)};
      C.Apply();
      return true;
    case META_OFFSETWINDOWORG:
      if (!Need(2)) return false;
      C.Map.Org = {C.Map.Org.X + P.S(1), C.Map.Org.Y + P.S(0)};
      C.Apply();
      return true;
    case META_SETWINDOWEXT:
      if (!Need(2)) return false;
      if (P.S(0) && P.S(1)) C.Map.Ext = {P.S(1), P.S(0)}, C.Map.HasExt = true;
      C.Apply();
      return true;
    case META_SCALEWINDOWEXT: {
      if (!Need(4)) return false;
      const Integer YD = P.S(0), YN = P.S(1), XD = P.S(2), XN = P.S(3);
      if (XD && YD && XN && YN) C.Map.Ext = {C.Map.Ext.cx * XN / XD, C.Map.Ext.cy * YN / YD};
      if (!C.Map.Ext.cx || !C.Map.Ext.cy) C.Map.Ext = {1, 1};
      C.Apply();
      return true;
    }
    case META_SAVEDC:
      if (C.Saved.size() >= MaxSaves) return true;
      C.Saved.push_back(C.Map);
      SaveDC(DC);
      return true;
    case META_RESTOREDC: {
      if (!Need(1)) return false;
      const Integer L = P.S(0);
      const Int64 Depth = static_cast<Int64>(C.Saved.size());
      const Int64 Target = L < 0 ? Depth + L : L - 1;
      if (Target < 0 || Target >= Depth) return true;
      // The saved states hold the objects of their time: those already deleted are not in them.
      RestoreDC(DC, static_cast<Integer>(Target) + 1);
      C.Map = C.Saved[static_cast<std::size_t>(Target)];
      C.Saved.resize(static_cast<std::size_t>(Target));
      C.Apply();
      return true;
    }

    case META_CREATEPENINDIRECT:
      if (!Need(5)) return false;
      C.Add(CreatePen(P.U(0) & PS_STYLE_MASK, P.S(1), P.Color(3)));
      return true;
    case META_CREATEBRUSHINDIRECT: {
      if (!Need(4)) return false;
      LOGBRUSH B;
      B.lbStyle = P.U(0), B.lbColor = P.Color(1), B.lbHatch = P.U(3);
      if (B.lbStyle != BS_SOLID && B.lbStyle != BS_NULL && B.lbStyle != BS_HATCHED) B.lbStyle = BS_SOLID;
      C.Add(CreateBrushIndirect(&B));
      return true;
    }
    case META_CREATEFONTINDIRECT: {
      if (!Need(9)) return false;
      LOGFONTW F;
      F.lfHeight = P.S(0), F.lfWidth = P.S(1), F.lfEscapement = P.S(2), F.lfOrientation = P.S(3);
      F.lfWeight = P.S(4);
      const Word A = P.U(5), B = P.U(6), D = P.U(7), E = P.U(8);
      F.lfItalic = static_cast<Byte>(A), F.lfUnderline = static_cast<Byte>(A >> 8);
      F.lfStrikeOut = static_cast<Byte>(B), F.lfCharSet = static_cast<Byte>(B >> 8);
      F.lfOutPrecision = static_cast<Byte>(D), F.lfClipPrecision = static_cast<Byte>(D >> 8);
      F.lfQuality = static_cast<Byte>(E), F.lfPitchAndFamily = static_cast<Byte>(E >> 8);
      // The face name: up to 32 bytes, as the record holds them (code page bytes taken as Latin-1).
      for (std::size_t I = 0; I < 32 && 9 + I / 2 < N; ++I) {
        const Word Wd = P.U(9 + I / 2);
        const Byte Ch = static_cast<Byte>(I % 2 ? Wd >> 8 : Wd);
        if (!Ch) break;
        F.lfFaceName += static_cast<char16_t>(Ch);
      }
      C.Add(CreateFontIndirectW(&F));
      return true;
    }
    case META_DIBCREATEPATTERNBRUSH: {
      if (!Need(2)) return false;
      TRecordDib Dib;
      const UINT Usage = P.U(1) == DIB_PAL_COLORS ? DIB_PAL_COLORS : DIB_RGB_COLORS;
      HBRUSH Brush = nullptr;
      if (ParamDib(P, 2, Usage, Dib)) {
        void* Bits = nullptr;
        HBITMAP B = CreateDIBSection(nullptr, &Dib.Info, Usage, &Bits, nullptr, 0);
        if (B && Bits) {
          const BITMAPINFOHEADER& Hd = Dib.Info.bmiHeader;
          std::memcpy(
              Bits, Dib.Bits,
              static_cast<std::size_t>(DibRowBytes(Hd.biWidth, Hd.biBitCount)) * std::abs(Hd.biHeight));
          Brush = CreatePatternBrush(B);
        }
        if (B) DeleteObject(B);
      }
      C.Add(Brush ? static_cast<HGDIOBJ>(Brush) : static_cast<HGDIOBJ>(DC));
      return true;
    }
    case META_CREATEPALETTE:
    case META_CREATEPATTERNBRUSH:
    case META_CREATEREGION:
      // They take a slot that later records count on.
      C.Add(DC);
      return true;
    case META_SELECTOBJECT: {
      if (!Need(1)) return false;
      const Word I = P.U(0);
      if (I < C.Objects.size() && C.Used[I] && C.Objects[I] && C.Objects[I] != DC)
        SelectObject(DC, C.Objects[I]);
      return true;
    }
    case META_DELETEOBJECT: {
      if (!Need(1)) return false;
      const Word I = P.U(0);
      if (I < C.Objects.size() && C.Used[I]) {
        if (C.Objects[I] && C.Objects[I] != DC) DeleteObject(C.Objects[I]);
        C.Objects[I] = nullptr, C.Used[I] = false;
      }
      return true;
    }
    case META_REALIZEPALETTE:
      return true;

    case META_MOVETO:
      return Need(2) && (MoveToEx(DC, P.S(1), P.S(0), nullptr), true);
    case META_LINETO:
      return Need(2) && (LineTo(DC, P.S(1), P.S(0)), true);
    case META_SETPIXEL:
      return Need(4) && (SetPixelV(DC, P.S(3), P.S(2), P.Color(0)), true);
    case META_FLOODFILL:
      return Need(4) && (ExtFloodFill(DC, P.S(3), P.S(2), P.Color(0), FLOODFILLBORDER), true);
    case META_EXTFLOODFILL:
      return Need(5) && (ExtFloodFill(DC, P.S(4), P.S(3), P.Color(1), P.U(0)), true);
    case META_RECTANGLE:
      return Need(4) && (Rectangle(DC, P.S(3), P.S(2), P.S(1), P.S(0)), true);
    case META_ELLIPSE:
      return Need(4) && (Ellipse(DC, P.S(3), P.S(2), P.S(1), P.S(0)), true);
    case META_ROUNDRECT:
      return Need(6) && (RoundRect(DC, P.S(5), P.S(4), P.S(3), P.S(2), P.S(1), P.S(0)), true);
    case META_ARC:
    case META_PIE:
    case META_CHORD: {
      if (!Need(8)) return false;
      const Integer YE = P.S(0), XE = P.S(1), YS = P.S(2), XS = P.S(3), B = P.S(4), R = P.S(5), T = P.S(6),
                    L = P.S(7);
      if (Fn == META_ARC)
        Arc(DC, L, T, R, B, XS, YS, XE, YE);
      else if (Fn == META_PIE)
        Pie(DC, L, T, R, B, XS, YS, XE, YE);
      else
        Chord(DC, L, T, R, B, XS, YS, XE, YE);
      return true;
    }
    case META_POLYGON:
    case META_POLYLINE: {
      if (!Need(1)) return false;
      const std::size_t Count = P.U(0);
      if (!Need(1 + 2 * Count)) return false;
      const std::vector<POINT> Pts = Points(P, 1, Count);
      if (Fn == META_POLYGON)
        Polygon(DC, Pts.data(), static_cast<Integer>(Count));
      else
        Polyline(DC, Pts.data(), static_cast<Integer>(Count));
      return true;
    }
    case META_POLYPOLYGON: {
      if (!Need(1)) return false;
      const std::size_t Polys = P.U(0);
      if (!Need(1 + Polys)) return false;
      std::vector<Integer> Counts(Polys);
      std::size_t Total = 0;
      for (std::size_t I = 0; I < Polys; ++I) Total += (Counts[I] = P.U(1 + I));
      if (!Need(1 + Polys + 2 * Total)) return false;
      const std::vector<POINT> Pts = Points(P, 1 + Polys, Total);
      if (Polys) PolyPolygon(DC, Pts.data(), Counts.data(), static_cast<Integer>(Polys));
      return true;
    }
    case META_INTERSECTCLIPRECT:
    case META_EXCLUDECLIPRECT:
      if (!Need(4)) return false;
      if (Fn == META_INTERSECTCLIPRECT)
        IntersectClipRect(DC, P.S(3), P.S(2), P.S(1), P.S(0));
      else
        ExcludeClipRect(DC, P.S(3), P.S(2), P.S(1), P.S(0));
      return true;
    case META_OFFSETCLIPRGN:
      return Need(2) && (OffsetClipRgn(DC, P.S(1), P.S(0)), true);
    case META_PATBLT:
      return Need(6) && (PatBlt(DC, P.S(5), P.S(4), P.S(3), P.S(2), P.Color(0)), true);

    case META_TEXTOUT: {
      if (!Need(1)) return false;
      const std::size_t Len = P.U(0), Words = (Len + 1) / 2;
      if (!Need(1 + Words + 2)) return false;
      std::u16string Text;
      for (std::size_t I = 0; I < Len; ++I) {
        const Word Wd = P.U(1 + I / 2);
        Text += static_cast<char16_t>(static_cast<Byte>(I % 2 ? Wd >> 8 : Wd));
      }
      TextOutW(DC, P.S(1 + Words + 1), P.S(1 + Words), Text.c_str(), static_cast<Integer>(Len));
      return true;
    }
    case META_EXTTEXTOUT: {
      if (!Need(4)) return false;
      const Integer Y = P.S(0), X = P.S(1);
      const std::size_t Len = P.U(2);
      const UINT Options = P.U(3);
      std::size_t At = 4;
      RECT Rc{};
      const bool HasRect = (Options & (ETO_OPAQUE | ETO_CLIPPED)) != 0;
      if (HasRect) {
        if (!Need(8)) return false;
        Rc = {P.S(4), P.S(5), P.S(6), P.S(7)};
        At = 8;
      }
      const std::size_t Words = (Len + 1) / 2;
      if (!Need(At + Words)) return false;
      std::u16string Text;
      for (std::size_t I = 0; I < Len; ++I) {
        const Word Wd = P.U(At + I / 2);
        Text += static_cast<char16_t>(static_cast<Byte>(I % 2 ? Wd >> 8 : Wd));
      }
      std::vector<Integer> Dx;
      if (Len && Need(At + Words + Len))
        for (std::size_t I = 0; I < Len; ++I) Dx.push_back(P.S(At + Words + I));
      ExtTextOutW(DC, X, Y, Options & (ETO_OPAQUE | ETO_CLIPPED), HasRect ? &Rc : nullptr, Text.c_str(),
                  static_cast<UINT>(Len), Dx.empty() ? nullptr : Dx.data());
      return true;
    }

    case META_DIBBITBLT: {
      if (!Need(8)) return false;
      const DWORD Rop = P.Color(0);
      if (N == 9) {  // no bitmap: a pattern operation
        PatBlt(DC, P.S(8), P.S(7), P.S(6), P.S(5), Rop);
        return true;
      }
      TRecordDib Dib;
      if (!ParamDib(P, 8, DIB_RGB_COLORS, Dib)) return false;
      const Integer W = P.S(5), H = P.S(4);
      BlitDib(DC, Dib, DIB_RGB_COLORS, P.S(7), P.S(6), W, H, P.S(3), P.S(2), W, H, Rop);
      return true;
    }
    case META_DIBSTRETCHBLT: {
      if (!Need(10)) return false;
      TRecordDib Dib;
      if (!ParamDib(P, 10, DIB_RGB_COLORS, Dib)) return false;
      BlitDib(DC, Dib, DIB_RGB_COLORS, P.S(9), P.S(8), P.S(7), P.S(6), P.S(5), P.S(4), P.S(3), P.S(2),
              P.Color(0));
      return true;
    }
    case META_STRETCHDIB: {
      if (!Need(11)) return false;
      const UINT Usage = P.U(2) == DIB_PAL_COLORS ? DIB_PAL_COLORS : DIB_RGB_COLORS;
      TRecordDib Dib;
      if (!ParamDib(P, 11, Usage, Dib)) return false;
      StretchDIBits(DC, P.S(10), P.S(9), P.S(8), P.S(7), P.S(6), P.S(5), P.S(4), P.S(3), Dib.Bits, &Dib.Info,
                    Usage, P.Color(0));
      return true;
    }
    default:
      // Escapes, palettes and the rest draw nothing here.
      return true;
  }
}

}  // namespace

HENHMETAFILE SetWinMetaFileBits(UINT Size, const Byte* Data, HDC Ref, const METAFILEPICT* Pict) {
  if (!Data || Size < 18 || Size > MaxMetafileBytes) return nullptr;
  TRecordReader H(Data, Size);
  const Word Type = H.U16(), HeaderWords = H.U16();
  if ((Type != 1 && Type != 2) || HeaderWords != 9) return nullptr;

  // First pass: the window extent and origin the file sets, for a picture without a size.
  TSize Ext{0, 0};
  for (std::size_t Pos = 18, Count = 0; Pos + 6 <= Size && Count < Size; ++Count) {
    TRecordReader R(Data + Pos, Size - Pos);
    const DWORD Words = R.U32();
    const Word Fn = R.U16();
    if (Words < 3 || Words > (Size - Pos) / 2) return nullptr;
    if (Fn == META_EOF) break;
    if (Fn == META_SETWINDOWEXT && Words >= 5 && Ext.cx == 0) {
      Ext.cy = R.I16();
      Ext.cx = R.I16();
    }
    Pos += static_cast<std::size_t>(Words) * 2;
  }

  const bool Sized =
      Pict && Pict->xExt > 0 && Pict->yExt > 0 && (Pict->mm == MM_ANISOTROPIC || Pict->mm == MM_ISOTROPIC);
  // Reference pixels at 96 per inch.
  const double PxW = Sized ? Pict->xExt * 96.0 / 2540 : std::abs(Ext.cx);
  const double PxH = Sized ? Pict->yExt * 96.0 / 2540 : std::abs(Ext.cy);
  if (PxW < 1 || PxH < 1 || PxW > 1e6 || PxH > 1e6) return nullptr;
  const RECT Frame{0, 0, static_cast<Integer>(std::lround(PxW * 2540 / 96)),
                   static_cast<Integer>(std::lround(PxH * 2540 / 96))};

  TConverter C;
  C.DC = CreateEnhMetaFileA(Ref, nullptr, &Frame, nullptr);
  if (!C.DC) return nullptr;
  C.Fixed = true;
  C.ScaleX = PxW;
  C.ScaleY = PxH;
  if (Ext.cx && Ext.cy) C.Map.Ext = Ext, C.Map.HasExt = true;
  C.Map.Org = {0, 0};
  SetGraphicsMode(C.DC, GM_ADVANCED);
  C.Apply();

  bool Ok = true;
  std::size_t Pos = 18;
  while (Pos + 6 <= Size) {
    TRecordReader R(Data + Pos, Size - Pos);
    const DWORD Words = R.U32();
    const Word Fn = R.U16();
    if (Words < 3 || Words > (Size - Pos) / 2) {
      Ok = false;
      break;
    }
    if (Fn == META_EOF) break;
    TParams P{TRecordReader(Data + Pos, static_cast<std::size_t>(Words) * 2), Words - 3};
    bool Converted = false;
    try {
      Converted = Convert(C, Fn, P);
    } catch (const Exception&) {
      // A drawing call refused the record's coordinates.
    }
    if (!Converted) {
      Ok = false;
      break;
    }
    Pos += static_cast<std::size_t>(Words) * 2;
  }
  C.Free();
  HENHMETAFILE M = CloseEnhMetaFile(C.DC);
  if (!Ok && M) {
    DeleteEnhMetaFile(M);
    return nullptr;
  }
  return M;
}

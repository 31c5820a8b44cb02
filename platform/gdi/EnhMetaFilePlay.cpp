// Enhanced metafile playback through the graphics layer's own drawing calls.
//
// The metafile's logical units go through its world transform and mapping mode to the reference
// device's pixels, and from there onto the destination rectangle: the frame (0.01 mm) maps onto
// it. The player folds all of this into one transform of the target DC; a picture drawn at its
// own pixel size is an integer translation and draws exactly as the calls it recorded.
#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "platform/gdi/Blit.h"
#include "platform/gdi/DcInternals.h"
#include "platform/gdi/Dib.h"
#include "platform/gdi/EnhMetaFileInternal.h"
#include "platform/gdi/Painting.h"
#include "platform/gdi/Regions.h"
#include "platform/gdi/Text.h"
#include "platform/system/Exceptions.h"
#include "platform/system/ScopeExit.h"

namespace {

// A transform with double precision; (x, y) -> (x*M11 + y*M21 + Dx, x*M12 + y*M22 + Dy).
struct TXf {
  double M11 = 1, M12 = 0, M21 = 0, M22 = 1, Dx = 0, Dy = 0;
};

// A then B.
TXf Then(const TXf& A, const TXf& B) {
  return {A.M11 * B.M11 + A.M12 * B.M21,      A.M11 * B.M12 + A.M12 * B.M22,
          A.M21 * B.M11 + A.M22 * B.M21,      A.M21 * B.M12 + A.M22 * B.M22,
          A.Dx * B.M11 + A.Dy * B.M21 + B.Dx, A.Dx * B.M12 + A.Dy * B.M22 + B.Dy};
}

TXf FromXform(const XFORM& X) {
  return {X.eM11, X.eM12, X.eM21, X.eM22, X.eDx, X.eDy};
}

XFORM ToXform(const TXf& X) {
  XFORM R;
  R.eM11 = static_cast<FLOAT>(X.M11), R.eM12 = static_cast<FLOAT>(X.M12);
  R.eM21 = static_cast<FLOAT>(X.M21), R.eM22 = static_cast<FLOAT>(X.M22);
  R.eDx = static_cast<FLOAT>(X.Dx), R.eDy = static_cast<FLOAT>(X.Dy);
  return R;
}

bool IsWhole(double V) {
  return std::isfinite(V) && V == std::floor(V) && std::fabs(V) < 1e9;
}

struct TMapping {
  Integer MapMode = MM_TEXT;
  TPoint WinOrg, VpOrg;
  TSize WinExt{1, 1}, VpExt{1, 1};
  TXf World;
};

constexpr std::size_t MaxSaveDepth = 1024;

struct TPlayer {
  HDC DC = nullptr;
  const TEnhMetaFileObject* M = nullptr;
  std::vector<HGDIOBJ> Handles;
  TXf Base;  // reference device pixels -> target logical units
  TMapping Map;
  std::vector<TMapping> Stack;
  Integer Level = 0;  // the target's save level of the playback
  TPoint VpOrg0, WinOrg0;
  Integer Mode0 = GM_COMPATIBLE;
  TXf World0;
  std::optional<TRegionData> Clip0;
  bool Dirty = true;
  TXf Current;                    // metafile logical -> target logical, as last applied
  double UnitsX = 1, UnitsY = 1;  // reference pixels per millimetre

  bool Open(HDC Target, const TEnhMetaFileObject* Metafile, const RECT* Rect);
  void Close();
  void Apply();
  bool Translation() const {
    return Current.M11 == 1 && Current.M22 == 1 && Current.M12 == 0 && Current.M21 == 0;
  }
  bool Record(DWORD Type, TRecordReader& R);
  // Record, with a drawing call's refusal (coordinates it cannot take) ending playback.
  bool Play(DWORD Type, TRecordReader& R) {
    try {
      return Record(Type, R);
    } catch (const Exception&) {
      return false;
    }
  }
  bool Traceable(const TRect& Box) const;
  bool Traceable(const std::vector<POINT>& Pts) const;
  HGDIOBJ Object(DWORD Ih) const;
  void Store(DWORD Ih, HGDIOBJ O);
};

thread_local TPlayer* GCurrentPlayer = nullptr;

// Curves are traced point by point, with work growing with their size: one larger than this on
// the target, far beyond any picture rendered, is left out.
constexpr double MaxCurveExtent = 1 << 16;
constexpr Int64 MaxTextAdvance = 1 << 24;

bool TPlayer::Traceable(const TRect& Box) const {
  const double W = static_cast<double>(Box.Right) - Box.Left, H = static_cast<double>(Box.Bottom) - Box.Top;
  const TXf T = Then(Current, World0);
  return std::fabs(W * T.M11) + std::fabs(H * T.M21) <= MaxCurveExtent &&
         std::fabs(W * T.M12) + std::fabs(H * T.M22) <= MaxCurveExtent;
}

bool TPlayer::Traceable(const std::vector<POINT>& Pts) const {
  if (Pts.empty()) return true;
  TRect B{Pts[0].X, Pts[0].Y, Pts[0].X, Pts[0].Y};
  for (const POINT& P : Pts) {
    B.Left = std::min(B.Left, P.X), B.Top = std::min(B.Top, P.Y);
    B.Right = std::max(B.Right, P.X), B.Bottom = std::max(B.Bottom, P.Y);
  }
  return Traceable(B);
}

bool TPlayer::Open(HDC Target, const TEnhMetaFileObject* Metafile, const RECT* Rect) {
  M = Metafile;
  const ENHMETAHEADER& H = M->Header;
  Handles.assign(std::max<std::size_t>(H.nHandles, 1), nullptr);
  const double DevX = H.szlDevice.cx > 0 ? H.szlDevice.cx : 1920;
  const double DevY = H.szlDevice.cy > 0 ? H.szlDevice.cy : 1080;
  const double MmX = H.szlMicrometers.cx > 0   ? H.szlMicrometers.cx / 1000.0
                     : H.szlMillimeters.cx > 0 ? H.szlMillimeters.cx
                                               : DevX * 25.4 / 96;
  const double MmY = H.szlMicrometers.cy > 0   ? H.szlMicrometers.cy / 1000.0
                     : H.szlMillimeters.cy > 0 ? H.szlMillimeters.cy
                                               : DevY * 25.4 / 96;
  UnitsX = DevX / MmX, UnitsY = DevY / MmY;
  DC = Target;
  if (!DC) return true;
  // Frame in reference pixels; an empty frame falls back on the bounds.
  double FL = H.rclFrame.Left * UnitsX / 100, FT = H.rclFrame.Top * UnitsY / 100;
  double FW = (H.rclFrame.Right - H.rclFrame.Left) * UnitsX / 100;
  double FH = (H.rclFrame.Bottom - H.rclFrame.Top) * UnitsY / 100;
  if (FW <= 0 || FH <= 0) {
    FL = H.rclBounds.Left, FT = H.rclBounds.Top;
    FW = H.rclBounds.Right - H.rclBounds.Left + 1.0, FH = H.rclBounds.Bottom - H.rclBounds.Top + 1.0;
  }
  if (FW <= 0 || FH <= 0) return false;
  const RECT R =
      Rect ? *Rect : RECT{0, 0, static_cast<Integer>(std::lround(FW)), static_cast<Integer>(std::lround(FH))};
  const double DW = R.Right - R.Left, DH = R.Bottom - R.Top;
  // A picture at its own size in pixels is not scaled at all: the frame's 0.01 mm rarely come to
  // whole pixels.
  const double SX = std::lround(FW) == std::lround(DW) ? 1.0 : DW / FW;
  const double SY = std::lround(FH) == std::lround(DH) ? 1.0 : DH / FH;
  Base.M11 = SX, Base.M22 = SY;
  Base.Dx = R.Left - (SX == 1.0 ? std::round(FL) : FL * SX);
  Base.Dy = R.Top - (SY == 1.0 ? std::round(FT) : FT * SY);

  Level = SaveDC(DC);
  if (!Level) return false;
  GetViewportOrgEx(DC, &VpOrg0);
  GetWindowOrgEx(DC, &WinOrg0);
  Mode0 = GetGraphicsMode(DC);
  XFORM W0;
  if (Mode0 == GM_ADVANCED && GetWorldTransform(DC, &W0)) World0 = FromXform(W0);
  Clip0 = DC->State.ClipRgn;
  // Playback starts from a new DC's attributes.
  SelectObject(DC, GetStockObject(BLACK_PEN));
  SelectObject(DC, GetStockObject(WHITE_BRUSH));
  SelectObject(DC, GetStockObject(SYSTEM_FONT));
  SetBkColor(DC, 0xFFFFFF);
  SetBkMode(DC, OPAQUE);
  SetTextColor(DC, 0);
  SetTextAlign(DC, TA_LEFT | TA_TOP);
  SetROP2(DC, R2_COPYPEN);
  SetPolyFillMode(DC, ALTERNATE);
  SetStretchBltMode(DC, BLACKONWHITE);
  SetArcDirection(DC, AD_COUNTERCLOCKWISE);
  SetTextCharacterExtra(DC, 0);
  MoveToEx(DC, 0, 0, nullptr);
  return true;
}

void TPlayer::Close() {
  if (DC && Level) RestoreDC(DC, Level);
  for (HGDIOBJ& O : Handles)
    if (O) DeleteObject(O), O = nullptr;
}

// The page transform: logical units to reference pixels.
TXf PageTransform(const TMapping& M, double UnitsX, double UnitsY) {
  double SX = 1, SY = 1;
  switch (M.MapMode) {
    case MM_LOMETRIC:
      SX = UnitsX / 10, SY = -UnitsY / 10;
      break;
    case MM_HIMETRIC:
      SX = UnitsX / 100, SY = -UnitsY / 100;
      break;
    case MM_LOENGLISH:
      SX = UnitsX * 0.254, SY = -UnitsY * 0.254;
      break;
    case MM_HIENGLISH:
      SX = UnitsX * 0.0254, SY = -UnitsY * 0.0254;
      break;
    case MM_TWIPS:
      SX = UnitsX * 25.4 / 1440, SY = -UnitsY * 25.4 / 1440;
      break;
    case MM_ISOTROPIC:
    case MM_ANISOTROPIC:
      if (M.WinExt.cx && M.WinExt.cy) {
        SX = static_cast<double>(M.VpExt.cx) / M.WinExt.cx;
        SY = static_cast<double>(M.VpExt.cy) / M.WinExt.cy;
        if (M.MapMode == MM_ISOTROPIC) {
          const double S = std::min(std::fabs(SX), std::fabs(SY));
          SX = SX < 0 ? -S : S;
          SY = SY < 0 ? -S : S;
        }
      }
      break;
    default:
      break;
  }
  TXf P;
  P.M11 = SX, P.M22 = SY;
  P.Dx = M.VpOrg.X - M.WinOrg.X * SX;
  P.Dy = M.VpOrg.Y - M.WinOrg.Y * SY;
  return P;
}

void TPlayer::Apply() {
  if (!Dirty || !DC) return;
  Dirty = false;
  Current = Then(Then(Map.World, PageTransform(Map, UnitsX, UnitsY)), Base);
  const TXf Full = Then(Current, World0);
  SetWindowOrgEx(DC, WinOrg0.X, WinOrg0.Y, nullptr);
  if (Translation() && Mode0 != GM_ADVANCED && IsWhole(Full.Dx) && IsWhole(Full.Dy)) {
    ModifyWorldTransform(DC, nullptr, MWT_IDENTITY);
    SetGraphicsMode(DC, GM_COMPATIBLE);
    SetViewportOrgEx(DC, VpOrg0.X + static_cast<Integer>(Full.Dx), VpOrg0.Y + static_cast<Integer>(Full.Dy),
                     nullptr);
    return;
  }
  SetViewportOrgEx(DC, VpOrg0.X, VpOrg0.Y, nullptr);
  SetGraphicsMode(DC, GM_ADVANCED);
  const XFORM X = ToXform(Full);
  SetWorldTransform(DC, &X);
}

HGDIOBJ TPlayer::Object(DWORD Ih) const {
  if (Ih & ENHMETA_STOCK_OBJECT) {
    const DWORD I = Ih & ~ENHMETA_STOCK_OBJECT;
    return I <= static_cast<DWORD>(STOCK_LAST) ? GetStockObject(static_cast<Integer>(I)) : nullptr;
  }
  return Ih < Handles.size() ? Handles[Ih] : nullptr;
}

void TPlayer::Store(DWORD Ih, HGDIOBJ O) {
  if (Ih == 0 || Ih >= Handles.size()) {
    if (O) DeleteObject(O);
    return;
  }
  if (Handles[Ih]) DeleteObject(Handles[Ih]);
  Handles[Ih] = O;
}

// Points of a record: Count pairs of 16- or 32-bit coordinates from the reader's position.
bool ReadPoints(TRecordReader& R, DWORD Count, bool Short, std::vector<POINT>& Out) {
  if (!R.Fits(R.Pos(), Count, Short ? 4 : 8)) return false;
  Out.resize(Count);
  for (DWORD I = 0; I < Count; ++I) {
    if (Short)
      Out[I].X = R.I16(), Out[I].Y = R.I16();
    else
      Out[I].X = R.I32(), Out[I].Y = R.I32();
  }
  return R.Ok();
}

bool IsShortPoints(DWORD Type) {
  return Type >= EMR_POLYBEZIER16 && Type <= EMR_POLYPOLYGON16;
}

TRect Inclusive(const TRect& R) {
  return R;
}

// A DIB of a record in a DIB section, selected into a new memory DC.
struct TRecordBitmap {
  HDC DC = nullptr;
  HBITMAP Bitmap = nullptr;
  HGDIOBJ Old = nullptr;
  bool Make(const TRecordDib& Dib, UINT Usage) {
    void* Bits = nullptr;
    DC = CreateCompatibleDC(nullptr);
    Bitmap = CreateDIBSection(DC, &Dib.Info, Usage, &Bits, nullptr, 0);
    if (!Bitmap || !Bits) return false;
    const BITMAPINFOHEADER& H = Dib.Info.bmiHeader;
    std::memcpy(Bits, Dib.Bits,
                static_cast<std::size_t>(DibRowBytes(H.biWidth, H.biBitCount)) * std::abs(H.biHeight));
    Old = SelectObject(DC, Bitmap);
    return true;
  }
  ~TRecordBitmap() {
    if (Old) SelectObject(DC, Old);
    if (Bitmap) DeleteObject(Bitmap);
    if (DC) DeleteDC(DC);
  }
};

HBRUSH PatternBrush(const TRecordDib& Dib, UINT Usage, bool Mono) {
  const BITMAPINFOHEADER& H = Dib.Info.bmiHeader;
  HBITMAP B = nullptr;
  if (Mono) {
    // A monochrome bitmap: its 0 bits take the text colour and its 1 bits the background.
    const Integer W = H.biWidth, Ht = std::abs(H.biHeight);
    const Integer Src = DibRowBytes(W, 1), Dst = ((W + 15) / 16) * 2;
    std::vector<Byte> Rows(static_cast<std::size_t>(Dst) * Ht, 0);
    for (Integer Y = 0; Y < Ht; ++Y) {
      const Integer SrcY = H.biHeight > 0 ? Ht - 1 - Y : Y;
      std::memcpy(&Rows[static_cast<std::size_t>(Y) * Dst], Dib.Bits + static_cast<std::size_t>(SrcY) * Src,
                  static_cast<std::size_t>(std::min(Src, Dst)));
    }
    if (H.biBitCount != 1) return nullptr;
    B = CreateBitmap(W, Ht, 1, 1, Rows.data());
  } else {
    TRecordBitmap RB;
    if (!RB.Make(Dib, Usage)) return nullptr;
    SelectObject(RB.DC, RB.Old);
    RB.Old = nullptr;
    B = RB.Bitmap;
    RB.Bitmap = nullptr;
  }
  if (!B) return nullptr;
  HBRUSH Brush = CreatePatternBrush(B);
  DeleteObject(B);
  return Brush;
}

bool ReadLogFont(TRecordReader& R, LOGFONTW& F) {
  F.lfHeight = R.I32(), F.lfWidth = R.I32(), F.lfEscapement = R.I32(), F.lfOrientation = R.I32();
  F.lfWeight = R.I32();
  F.lfItalic = R.U8(), F.lfUnderline = R.U8(), F.lfStrikeOut = R.U8(), F.lfCharSet = R.U8();
  F.lfOutPrecision = R.U8(), F.lfClipPrecision = R.U8(), F.lfQuality = R.U8(), F.lfPitchAndFamily = R.U8();
  F.lfFaceName.clear();
  bool Ended = false;
  for (Integer I = 0; I < 32; ++I) {
    const char16_t C = static_cast<char16_t>(R.U16());
    if (!C) Ended = true;
    if (!Ended) F.lfFaceName += C;
  }
  return R.Ok();
}

// Text plays at 1024 pixels at most: every larger glyph is a large bitmap of its own, and a
// record of many characters at such sizes would keep playback busy for seconds.
constexpr long MaxFontSize = 1024;

LOGFONTW& LimitFont(LOGFONTW& F) {
  F.lfHeight = std::clamp<LONG>(F.lfHeight, -MaxFontSize, MaxFontSize);
  F.lfWidth = std::clamp<LONG>(F.lfWidth, -MaxFontSize, MaxFontSize);
  return F;
}

// Region data of a record (cbRgnData bytes from the reader's position) under a transform.
std::optional<TRegionData> ReadRegion(TRecordReader& R, DWORD Size, const XFORM* X) {
  if (!R.Fits(R.Pos(), Size, 1)) return std::nullopt;
  auto Rgn = TRegionData::FromRgnData(R.At(R.Pos()), Size, X);
  R.Skip(Size);
  return Rgn;
}

bool TPlayer::Record(DWORD Type, TRecordReader& R) {
  std::vector<POINT> Pts;
  R.Seek(8);
  switch (Type) {
    case EMR_HEADER:
    case EMR_EOF:
    case EMR_GDICOMMENT:
    case EMR_SETMAPPERFLAGS:
    case EMR_SETICMMODE:
    case EMR_SETMITERLIMIT:
    case EMR_SELECTPALETTE:
    case EMR_CREATEPALETTE:
    case EMR_REALIZEPALETTE:
    case EMR_SETLAYOUT:
    case EMR_SETTEXTJUSTIFICATION:
      return true;
    // Paths are not drawn: their figures were already given as lines, their fills are lost.
    case EMR_BEGINPATH:
    case EMR_ENDPATH:
    case EMR_CLOSEFIGURE:
    case EMR_FILLPATH:
    case EMR_STROKEANDFILLPATH:
    case EMR_STROKEPATH:
    case EMR_SELECTCLIPPATH:
    case EMR_ABORTPATH:
      return true;

    case EMR_SETMAPMODE: {
      const DWORD Mode = R.U32();
      if (Mode >= static_cast<DWORD>(MM_TEXT) && Mode <= static_cast<DWORD>(MM_ANISOTROPIC))
        Map.MapMode = static_cast<Integer>(Mode);
      Dirty = true;
      return R.Ok();
    }
    case EMR_SETWINDOWEXTEX:
    case EMR_SETVIEWPORTEXTEX: {
      const TSize S{R.I32(), R.I32()};
      if (S.cx == 0 || S.cy == 0) return R.Ok();
      (Type == EMR_SETWINDOWEXTEX ? Map.WinExt : Map.VpExt) = S;
      Dirty = true;
      return R.Ok();
    }
    case EMR_SETWINDOWORGEX:
    case EMR_SETVIEWPORTORGEX: {
      const TPoint P{R.I32(), R.I32()};
      (Type == EMR_SETWINDOWORGEX ? Map.WinOrg : Map.VpOrg) = P;
      Dirty = true;
      return R.Ok();
    }
    case EMR_SCALEVIEWPORTEXTEX:
    case EMR_SCALEWINDOWEXTEX: {
      const Integer XN = R.I32(), XD = R.I32(), YN = R.I32(), YD = R.I32();
      if (!R.Ok() || !XD || !YD) return R.Ok();
      TSize& E = Type == EMR_SCALEWINDOWEXTEX ? Map.WinExt : Map.VpExt;
      const Int64 X = static_cast<Int64>(E.cx) * XN / XD, Y = static_cast<Int64>(E.cy) * YN / YD;
      if (X && Y && std::llabs(X) <= 0x7FFFFFFF && std::llabs(Y) <= 0x7FFFFFFF)
        E = {static_cast<Integer>(X), static_cast<Integer>(Y)};
      Dirty = true;
      return true;
    }
    case EMR_SETWORLDTRANSFORM:
    case EMR_MODIFYWORLDTRANSFORM: {
      XFORM X;
      X.eM11 = R.F32(), X.eM12 = R.F32(), X.eM21 = R.F32(), X.eM22 = R.F32(), X.eDx = R.F32(),
      X.eDy = R.F32();
      const DWORD Mode = Type == EMR_SETWORLDTRANSFORM ? 4 : R.U32();
      if (!R.Ok()) return false;
      const TXf T = FromXform(X);
      if (!std::isfinite(T.M11) || !std::isfinite(T.M12) || !std::isfinite(T.M21) || !std::isfinite(T.M22) ||
          !std::isfinite(T.Dx) || !std::isfinite(T.Dy) || T.M11 * T.M22 - T.M12 * T.M21 == 0) {
        if (Mode == MWT_IDENTITY) Map.World = TXf{}, Dirty = true;
        return true;
      }
      if (Mode == MWT_IDENTITY)
        Map.World = TXf{};
      else if (Mode == MWT_LEFTMULTIPLY)
        Map.World = Then(T, Map.World);
      else if (Mode == MWT_RIGHTMULTIPLY)
        Map.World = Then(Map.World, T);
      else if (Mode == 4)
        Map.World = T;
      Dirty = true;
      return true;
    }
    case EMR_SAVEDC:
      if (Stack.size() >= MaxSaveDepth) return true;
      if (DC) SaveDC(DC);
      Stack.push_back(Map);
      return true;
    case EMR_RESTOREDC: {
      const Integer N = R.I32();
      if (!R.Ok()) return false;
      // Relative to the top; never below the playback's own level.
      const Int64 Depth = static_cast<Int64>(Stack.size());
      const Int64 Target = N < 0 ? Depth + N : N - 1;
      if (Target < 0 || Target >= Depth) return true;
      if (DC) RestoreDC(DC, Level + 1 + static_cast<Integer>(Target));
      Map = Stack[static_cast<std::size_t>(Target)];
      Stack.resize(static_cast<std::size_t>(Target));
      Dirty = true;
      return true;
    }

    case EMR_SETBKMODE:
    case EMR_SETPOLYFILLMODE:
    case EMR_SETROP2:
    case EMR_SETSTRETCHBLTMODE:
    case EMR_SETTEXTALIGN:
    case EMR_SETTEXTCOLOR:
    case EMR_SETBKCOLOR:
    case EMR_SETARCDIRECTION: {
      const DWORD V = R.U32();
      if (!R.Ok()) return false;
      if (!DC) return true;
      const Integer I = static_cast<Integer>(V);
      switch (Type) {
        case EMR_SETBKMODE:
          SetBkMode(DC, I);
          break;
        case EMR_SETPOLYFILLMODE:
          SetPolyFillMode(DC, I);
          break;
        case EMR_SETROP2:
          SetROP2(DC, I);
          break;
        case EMR_SETSTRETCHBLTMODE:
          SetStretchBltMode(DC, I);
          break;
        case EMR_SETTEXTALIGN:
          SetTextAlign(DC, V);
          break;
        case EMR_SETTEXTCOLOR:
          SetTextColor(DC, V);
          break;
        case EMR_SETBKCOLOR:
          SetBkColor(DC, V);
          break;
        default:
          SetArcDirection(DC, I);
          break;
      }
      return true;
    }
    case EMR_SETBRUSHORGEX: {
      const Integer X = R.I32(), Y = R.I32();
      if (DC) SetBrushOrgEx(DC, X, Y, nullptr);
      return R.Ok();
    }

    case EMR_CREATEPEN: {
      const DWORD Ih = R.U32(), Style = R.U32();
      const Integer W = R.I32();
      R.I32();
      const COLORREF C = R.U32();
      if (!R.Ok()) return false;
      // Some writers put end caps and joins into the style: a wide pen keeps them.
      const UINT Extra = Style & (PS_ENDCAP_MASK | PS_JOIN_MASK);
      const UINT Dash = Style & PS_STYLE_MASK;
      if (Extra && W > 1 && Dash != PS_NULL && Dash <= PS_DASHDOTDOT) {
        LOGBRUSH B;
        B.lbColor = C;
        Store(Ih, ExtCreatePen(PS_GEOMETRIC | Extra | Dash, static_cast<DWORD>(W), &B, 0, nullptr));
        return true;
      }
      LOGPEN L;
      L.lopnStyle = Dash, L.lopnWidth = {W, 0}, L.lopnColor = C;
      Store(Ih, CreatePenIndirect(&L));
      return true;
    }
    case EMR_EXTCREATEPEN: {
      const DWORD Ih = R.U32();
      R.Skip(16);  // an optional pattern bitmap, not used by pens here
      const DWORD Style = R.U32(), Width = R.U32(), BrushStyle = R.U32(), Color = R.U32(), Hatch = R.U32();
      const DWORD N = R.U32();
      if (!R.Ok() || N > 16 || !R.Fits(R.Pos(), N, 4)) return false;
      std::vector<DWORD> Entries(N);
      for (DWORD& E : Entries) E = R.U32();
      LOGBRUSH B;
      B.lbStyle = BrushStyle == BS_HATCHED ? BS_HATCHED : BS_SOLID;
      B.lbColor = Color, B.lbHatch = Hatch;
      Store(Ih, ExtCreatePen(Style, Width, &B, N, N ? Entries.data() : nullptr));
      return true;
    }
    case EMR_CREATEBRUSHINDIRECT: {
      const DWORD Ih = R.U32();
      LOGBRUSH B;
      B.lbStyle = R.U32(), B.lbColor = R.U32(), B.lbHatch = R.U32();
      if (!R.Ok()) return false;
      if (B.lbStyle != BS_SOLID && B.lbStyle != BS_NULL && B.lbStyle != BS_HATCHED) B.lbStyle = BS_SOLID;
      Store(Ih, CreateBrushIndirect(&B));
      return true;
    }
    case EMR_CREATEMONOBRUSH:
    case EMR_CREATEDIBPATTERNBRUSHPT: {
      const DWORD Ih = R.U32(), Usage = R.U32(), OffBmi = R.U32(), CbBmi = R.U32(), OffBits = R.U32(),
                  CbBits = R.U32();
      TRecordDib Dib;
      if (!R.Ok() || Usage > DIB_PAL_COLORS || !ReadRecordDib(R, OffBmi, CbBmi, OffBits, CbBits, Usage, Dib))
        return false;
      Store(Ih, PatternBrush(Dib, Usage, Type == EMR_CREATEMONOBRUSH));
      return true;
    }
    case EMR_EXTCREATEFONTINDIRECTW: {
      const DWORD Ih = R.U32();
      LOGFONTW F;
      if (!ReadLogFont(R, F)) return false;
      Store(Ih, CreateFontIndirectW(&LimitFont(F)));
      return true;
    }
    case EMR_SELECTOBJECT: {
      const DWORD Ih = R.U32();
      if (!R.Ok()) return false;
      HGDIOBJ O = Object(Ih);
      if (O && DC) SelectObject(DC, O);
      return true;
    }
    case EMR_DELETEOBJECT: {
      const DWORD Ih = R.U32();
      if (!R.Ok()) return false;
      if (Ih > 0 && Ih < Handles.size() && Handles[Ih]) {
        DeleteObject(Handles[Ih]);
        Handles[Ih] = nullptr;
      }
      return true;
    }

    case EMR_EXTSELECTCLIPRGN: {
      const DWORD Size = R.U32(), Mode = R.U32();
      if (!R.Ok() || Mode < RGN_AND || Mode > RGN_COPY) return false;
      if (!DC) return R.Fits(R.Pos(), Size, 1);
      if (Mode == RGN_COPY) {
        // The metafile's clipping stays inside the clip the target had.
        DC->State.ClipRgn = Clip0;
        DC->InvalidateClip();
        if (Size == 0) return true;
      } else if (Size == 0) {
        return true;
      }
      // Reference pixels to the target's device pixels.
      Apply();
      TXf ToDevice = Then(Base, World0);
      ToDevice.Dx += VpOrg0.X - WinOrg0.X, ToDevice.Dy += VpOrg0.Y - WinOrg0.Y;
      const XFORM X = ToXform(ToDevice);
      auto Rgn = ReadRegion(R, Size, &X);
      if (!Rgn) return false;
      TRegionObject Obj(std::move(*Rgn));
      if (Mode == RGN_COPY)
        SelectClipRgn(DC, &Obj);
      else
        ExtSelectClipRgn(DC, &Obj, static_cast<Integer>(Mode));
      if (Clip0 && DC->State.ClipRgn) {
        DC->State.ClipRgn->Combine(*DC->State.ClipRgn, *Clip0, RGN_AND);
        DC->InvalidateClip();
      }
      return true;
    }
    case EMR_INTERSECTCLIPRECT:
    case EMR_EXCLUDECLIPRECT: {
      const TRect C = R.Rect();
      if (!R.Ok()) return false;
      if (!DC) return true;
      Apply();
      if (Type == EMR_INTERSECTCLIPRECT)
        IntersectClipRect(DC, C.Left, C.Top, C.Right, C.Bottom);
      else
        ExcludeClipRect(DC, C.Left, C.Top, C.Right, C.Bottom);
      return true;
    }
    case EMR_OFFSETCLIPRGN: {
      const Integer X = R.I32(), Y = R.I32();
      if (!R.Ok()) return false;
      if (!DC) return true;
      Apply();
      OffsetClipRgn(DC, static_cast<Integer>(std::lround(X * Current.M11)),
                    static_cast<Integer>(std::lround(Y * Current.M22)));
      return true;
    }
    default:
      break;
  }

  // Drawing records.
  if (!DC) return true;
  Apply();
  switch (Type) {
    case EMR_MOVETOEX:
    case EMR_LINETO:
    case EMR_SETPIXELV: {
      const Integer X = R.I32(), Y = R.I32();
      const COLORREF C = Type == EMR_SETPIXELV ? R.U32() : 0;
      if (!R.Ok()) return false;
      if (Type == EMR_MOVETOEX)
        MoveToEx(DC, X, Y, nullptr);
      else if (Type == EMR_LINETO)
        LineTo(DC, X, Y);
      else
        SetPixelV(DC, X, Y, C);
      return true;
    }
    case EMR_EXTFLOODFILL: {
      const Integer X = R.I32(), Y = R.I32();
      const COLORREF C = R.U32();
      const DWORD Mode = R.U32();
      if (!R.Ok()) return false;
      ExtFloodFill(DC, X, Y, C, Mode);
      return true;
    }
    case EMR_RECTANGLE:
    case EMR_ELLIPSE:
    case EMR_ROUNDRECT: {
      const TRect B = Inclusive(R.Rect());
      if (Type == EMR_ROUNDRECT) {
        const Integer W = R.I32(), H = R.I32();
        if (!R.Ok()) return false;
        if (Traceable(B)) RoundRect(DC, B.Left, B.Top, B.Right, B.Bottom, W, H);
        return true;
      }
      if (!R.Ok()) return false;
      if (Type == EMR_RECTANGLE)
        Rectangle(DC, B.Left, B.Top, B.Right, B.Bottom);
      else if (Traceable(B))
        Ellipse(DC, B.Left, B.Top, B.Right, B.Bottom);
      return true;
    }
    case EMR_ARC:
    case EMR_ARCTO:
    case EMR_CHORD:
    case EMR_PIE: {
      const TRect B = R.Rect();
      const Integer XS = R.I32(), YS = R.I32(), XE = R.I32(), YE = R.I32();
      if (!R.Ok()) return false;
      if (!Traceable(B)) return true;
      if (Type == EMR_ARC)
        Arc(DC, B.Left, B.Top, B.Right, B.Bottom, XS, YS, XE, YE);
      else if (Type == EMR_ARCTO)
        ArcTo(DC, B.Left, B.Top, B.Right, B.Bottom, XS, YS, XE, YE);
      else if (Type == EMR_CHORD)
        Chord(DC, B.Left, B.Top, B.Right, B.Bottom, XS, YS, XE, YE);
      else
        Pie(DC, B.Left, B.Top, B.Right, B.Bottom, XS, YS, XE, YE);
      return true;
    }
    case EMR_POLYBEZIER:
    case EMR_POLYGON:
    case EMR_POLYLINE:
    case EMR_POLYBEZIERTO:
    case EMR_POLYLINETO:
    case EMR_POLYBEZIER16:
    case EMR_POLYGON16:
    case EMR_POLYLINE16:
    case EMR_POLYBEZIERTO16:
    case EMR_POLYLINETO16: {
      R.Skip(16);
      const DWORD N = R.U32();
      if (!R.Ok() || !ReadPoints(R, N, IsShortPoints(Type), Pts)) return false;
      const DWORD Base32 = IsShortPoints(Type) ? Type - EMR_POLYBEZIER16 + EMR_POLYBEZIER : Type;
      const Integer Count = static_cast<Integer>(N);
      if ((Base32 == EMR_POLYBEZIER || Base32 == EMR_POLYBEZIERTO) && !Traceable(Pts)) return true;
      switch (Base32) {
        case EMR_POLYBEZIER:
          PolyBezier(DC, Pts.data(), N);
          break;
        case EMR_POLYGON:
          Polygon(DC, Pts.data(), Count);
          break;
        case EMR_POLYLINE:
          Polyline(DC, Pts.data(), Count);
          break;
        case EMR_POLYBEZIERTO:
          PolyBezierTo(DC, Pts.data(), N);
          break;
        default:
          PolylineTo(DC, Pts.data(), N);
          break;
      }
      return true;
    }
    case EMR_POLYPOLYLINE:
    case EMR_POLYPOLYGON:
    case EMR_POLYPOLYLINE16:
    case EMR_POLYPOLYGON16: {
      R.Skip(16);
      const DWORD Polys = R.U32(), Total = R.U32();
      if (!R.Ok() || !R.Fits(R.Pos(), Polys, 4)) return false;
      std::vector<DWORD> Counts(Polys);
      Int64 Sum = 0;
      for (DWORD& C : Counts) Sum += (C = R.U32());
      if (Sum != Total || !ReadPoints(R, Total, IsShortPoints(Type), Pts)) return false;
      if (Type == EMR_POLYPOLYLINE || Type == EMR_POLYPOLYLINE16) {
        PolyPolyline(DC, Pts.data(), Counts.data(), Polys);
      } else {
        std::vector<Integer> C(Counts.begin(), Counts.end());
        PolyPolygon(DC, Pts.data(), C.data(), static_cast<Integer>(Polys));
      }
      return true;
    }
    case EMR_FILLRGN:
    case EMR_FRAMERGN:
    case EMR_INVERTRGN:
    case EMR_PAINTRGN: {
      R.Skip(16);
      const DWORD Size = R.U32();
      const DWORD Ih = Type == EMR_FILLRGN || Type == EMR_FRAMERGN ? R.U32() : 0;
      Integer W = 0, H = 0;
      if (Type == EMR_FRAMERGN) W = R.I32(), H = R.I32();
      if (!R.Ok()) return false;
      // The region is in logical units: under a scaling transform it is mapped here and drawn
      // without one.
      const bool Plain = Translation();
      const XFORM X = ToXform(Current);
      auto Rgn = ReadRegion(R, Size, Plain ? nullptr : &X);
      if (!Rgn) return false;
      TRegionObject Obj(std::move(*Rgn));
      HBRUSH Brush = static_cast<HBRUSH>(Object(Ih));
      if ((Type == EMR_FILLRGN || Type == EMR_FRAMERGN) && (!Brush || Brush->ObjType != OBJ_BRUSH))
        return true;
      if (!Plain) {
        ModifyWorldTransform(DC, nullptr, MWT_IDENTITY);
        Dirty = true;
      }
      if (Type == EMR_FILLRGN)
        FillRgn(DC, &Obj, Brush);
      else if (Type == EMR_FRAMERGN)
        FrameRgn(DC, &Obj, Brush, W, H);
      else if (Type == EMR_INVERTRGN)
        InvertRgn(DC, &Obj);
      else
        PaintRgn(DC, &Obj);
      return true;
    }
    case EMR_BITBLT:
    case EMR_STRETCHBLT:
    case EMR_ALPHABLEND:
    case EMR_TRANSPARENTBLT: {
      R.Skip(16);
      const Integer X = R.I32(), Y = R.I32(), W = R.I32(), H = R.I32();
      const DWORD Rop = R.U32();
      const Integer XS = R.I32(), YS = R.I32();
      R.Skip(24);  // the source's transform
      const COLORREF SrcBk = R.U32();
      const DWORD Usage = R.U32(), OffBmi = R.U32(), CbBmi = R.U32(), OffBits = R.U32(), CbBits = R.U32();
      Integer WS = W, HS = H;
      if (Type != EMR_BITBLT) WS = R.I32(), HS = R.I32();
      if (!R.Ok()) return false;
      if (CbBmi == 0) {
        if (Type == EMR_BITBLT || Type == EMR_STRETCHBLT) PatBlt(DC, X, Y, W, H, Rop);
        return true;
      }
      TRecordDib Dib;
      if (Usage > DIB_PAL_COLORS || !ReadRecordDib(R, OffBmi, CbBmi, OffBits, CbBits, Usage, Dib))
        return false;
      TRecordBitmap Src;
      if (!Src.Make(Dib, Usage)) return true;
      SetBkColor(Src.DC, SrcBk);
      // A DIB of just the source rectangle starts at that rectangle.
      Integer SX = XS, SY = YS;
      const Integer DW = Dib.Info.bmiHeader.biWidth, DH = std::abs(Dib.Info.bmiHeader.biHeight);
      if (DW == std::abs(WS) && DH == std::abs(HS)) SX = WS < 0 ? -WS : 0, SY = HS < 0 ? -HS : 0;
      switch (Type) {
        case EMR_BITBLT:
          BitBlt(DC, X, Y, W, H, Src.DC, SX, SY, Rop);
          break;
        case EMR_STRETCHBLT:
          StretchBlt(DC, X, Y, W, H, Src.DC, SX, SY, WS, HS, Rop);
          break;
        case EMR_ALPHABLEND: {
          BLENDFUNCTION B;
          B.BlendOp = static_cast<Byte>(Rop), B.BlendFlags = static_cast<Byte>(Rop >> 8);
          B.SourceConstantAlpha = static_cast<Byte>(Rop >> 16), B.AlphaFormat = static_cast<Byte>(Rop >> 24);
          AlphaBlend(DC, X, Y, W, H, Src.DC, SX, SY, WS, HS, B);
          break;
        }
        default:
          TransparentBlt(DC, X, Y, W, H, Src.DC, SX, SY, WS, HS, Rop);
          break;
      }
      return true;
    }
    case EMR_STRETCHDIBITS: {
      R.Skip(16);
      const Integer X = R.I32(), Y = R.I32(), XS = R.I32(), YS = R.I32(), WS = R.I32(), HS = R.I32();
      const DWORD OffBmi = R.U32(), CbBmi = R.U32(), OffBits = R.U32(), CbBits = R.U32(), Usage = R.U32(),
                  Rop = R.U32();
      const Integer W = R.I32(), H = R.I32();
      if (!R.Ok()) return false;
      TRecordDib Dib;
      if (CbBmi == 0) {
        PatBlt(DC, X, Y, W, H, Rop);
        return true;
      }
      if (Usage > DIB_PAL_COLORS || !ReadRecordDib(R, OffBmi, CbBmi, OffBits, CbBits, Usage, Dib))
        return false;
      StretchDIBits(DC, X, Y, W, H, XS, YS, WS, HS, Dib.Bits, &Dib.Info, Usage, Rop);
      return true;
    }
    case EMR_SETDIBITSTODEVICE: {
      R.Skip(16);
      const Integer X = R.I32(), Y = R.I32(), XS = R.I32(), YS = R.I32();
      const DWORD W = R.U32(), H = R.U32();
      const DWORD OffBmi = R.U32(), CbBmi = R.U32(), OffBits = R.U32(), CbBits = R.U32(), Usage = R.U32(),
                  Start = R.U32(), Lines = R.U32();
      TRecordDib Dib;
      if (!R.Ok() || Usage > DIB_PAL_COLORS ||
          !ReadRecordDib(R, OffBmi, CbBmi, OffBits, CbBits, Usage, Dib, static_cast<Int64>(Lines)))
        return false;
      const UINT Have = std::min<UINT>(Lines, static_cast<UINT>(std::abs(Dib.Info.bmiHeader.biHeight)));
      SetDIBitsToDevice(DC, X, Y, W, H, XS, YS, Start, Have, Dib.Bits, &Dib.Info, Usage);
      return true;
    }
    case EMR_GRADIENTFILL: {
      R.Skip(16);
      const DWORD NV = R.U32(), NM = R.U32(), Mode = R.U32();
      if (!R.Ok() || Mode > GRADIENT_FILL_TRIANGLE || !R.Fits(R.Pos(), NV, 16)) return false;
      std::vector<TRIVERTEX> V(NV);
      for (TRIVERTEX& T : V) {
        T.x = R.I32(), T.y = R.I32();
        T.Red = R.U16(), T.Green = R.U16(), T.Blue = R.U16(), T.Alpha = R.U16();
      }
      if (Mode == GRADIENT_FILL_TRIANGLE) {
        if (!R.Fits(R.Pos(), NM, 12)) return false;
        std::vector<GRADIENT_TRIANGLE> T(NM);
        for (auto& G : T) G.Vertex1 = R.U32(), G.Vertex2 = R.U32(), G.Vertex3 = R.U32();
        GradientFill(DC, V.data(), NV, T.data(), NM, Mode);
      } else {
        if (!R.Fits(R.Pos(), NM, 8)) return false;
        std::vector<GRADIENT_RECT> T(NM);
        for (auto& G : T) G.UpperLeft = R.U32(), G.LowerRight = R.U32();
        GradientFill(DC, V.data(), NV, T.data(), NM, Mode);
      }
      return true;
    }
    case EMR_EXTTEXTOUTA:
    case EMR_EXTTEXTOUTW: {
      R.Skip(16 + 12);  // bounds, graphics mode and scales
      const Integer X = R.I32(), Y = R.I32();
      const DWORD N = R.U32(), OffString = R.U32(), Options = R.U32();
      const TRect Rc = R.Rect();
      const DWORD OffDx = R.U32();
      const bool Wide = Type == EMR_EXTTEXTOUTW;
      if (!R.Ok() || !R.Fits(OffString, N, Wide ? 2 : 1)) return false;
      const std::size_t Step = (Options & ETO_PDY) ? 8 : 4;
      if (OffDx && !R.Fits(OffDx, N, Step)) return false;
      std::u16string Text(N, u'\0');
      TRecordReader S(R.At(OffString), R.Size() - OffString);
      for (char16_t& C : Text) C = Wide ? static_cast<char16_t>(S.U16()) : static_cast<char16_t>(S.U8());
      std::vector<Integer> Dx;
      if (OffDx) {
        TRecordReader D(R.At(OffDx), R.Size() - OffDx);
        Dx.resize(static_cast<std::size_t>(N) * (Step / 4));
        // Advances that add up past any device are no text that can be drawn.
        Int64 Sum = 0;
        for (Integer& V : Dx) Sum += std::llabs(static_cast<Int64>(V = D.I32()));
        if (Sum > MaxTextAdvance) return true;
      }
      const bool HasRect = (Options & (ETO_CLIPPED | ETO_OPAQUE)) != 0;
      // Glyphs follow the transform's scale through the font's size, not the world transform.
      const double Scale = std::sqrt(std::fabs(Current.M11 * Current.M22 - Current.M12 * Current.M21));
      HGDIOBJ Scaled = nullptr, Old = nullptr;
      auto Unscale = ScopeExit([&] {
        if (Scaled) {
          SelectObject(DC, Old);
          DeleteObject(Scaled);
        }
      });
      if (std::fabs(Scale - 1) > 1e-6 && DC->State.Font && DC->State.Font->ObjType == OBJ_FONT) {
        LOGFONTW F = static_cast<const TFontObject*>(DC->State.Font)->Log;
        F.lfHeight =
            static_cast<LONG>(std::clamp(std::lround(F.lfHeight * Scale), -MaxFontSize, MaxFontSize));
        F.lfWidth = static_cast<LONG>(std::clamp(std::lround(F.lfWidth * Scale), -MaxFontSize, MaxFontSize));
        Scaled = CreateFontIndirectW(&F);
        if (Scaled) Old = SelectObject(DC, Scaled);
        for (Integer& V : Dx) V = static_cast<Integer>(std::lround(V * Scale));
      }
      if (std::fabs(Scale - 1) > 1e-6 && !Translation()) {
        // The text layer draws advances in device pixels: the reference point alone is mapped.
        const double PX = X * Current.M11 + Y * Current.M21 + Current.Dx;
        const double PY = X * Current.M12 + Y * Current.M22 + Current.Dy;
        const RECT DR{static_cast<Integer>(std::lround(Rc.Left * Current.M11 + Current.Dx)),
                      static_cast<Integer>(std::lround(Rc.Top * Current.M22 + Current.Dy)),
                      static_cast<Integer>(std::lround(Rc.Right * Current.M11 + Current.Dx)),
                      static_cast<Integer>(std::lround(Rc.Bottom * Current.M22 + Current.Dy))};
        const RECT NR{std::min(DR.Left, DR.Right), std::min(DR.Top, DR.Bottom), std::max(DR.Left, DR.Right),
                      std::max(DR.Top, DR.Bottom)};
        ModifyWorldTransform(DC, nullptr, MWT_IDENTITY);
        Dirty = true;
        if (Mode0 == GM_ADVANCED) {
          const XFORM W0 = ToXform(World0);
          SetWorldTransform(DC, &W0);
        }
        ExtTextOutW(DC, static_cast<Integer>(std::lround(PX)), static_cast<Integer>(std::lround(PY)), Options,
                    HasRect ? &NR : nullptr, Text.c_str(), N, OffDx ? Dx.data() : nullptr);
      } else {
        ExtTextOutW(DC, X, Y, Options, HasRect ? &Rc : nullptr, Text.c_str(), N, OffDx ? Dx.data() : nullptr);
      }
      return true;
    }
    default:
      // Records of other kinds are passed over, as their sizes allow.
      return true;
  }
}

const ENHMETARECORD* RecordAt(const TEnhMetaFileObject* M, std::size_t Pos) {
  return reinterpret_cast<const ENHMETARECORD*>(M->Data.data() + Pos);
}

// Walks the checked record chain; Fn(Pos, Type, Size) returns false to stop.
template <class F>
bool ForEachRecord(const TEnhMetaFileObject* M, F&& Fn) {
  std::size_t Pos = 0;
  const std::size_t End = M->Data.size();
  while (Pos + 8 <= End) {
    TRecordReader R(M->Data.data() + Pos, End - Pos);
    const DWORD Type = R.U32(), Size = R.U32();
    if (Size < 8 || Size % 4 || Size > End - Pos) return false;
    if (!Fn(Pos, Type, Size)) return false;
    if (Type == EMR_EOF) return true;
    Pos += Size;
  }
  return false;
}

bool IsMetafile(HENHMETAFILE M) {
  return M && M->ObjType == OBJ_ENHMETAFILE;
}

}  // namespace

BOOL PlayEnhMetaFile(HDC DC, HENHMETAFILE Metafile, const RECT* Rect) {
  if (!IsMetafile(Metafile) || !IsDeviceContext(DC)) return FALSE;
  TPlayer P;
  if (!P.Open(DC, Metafile, Rect)) {
    P.Close();
    return FALSE;
  }
  const bool Ok = ForEachRecord(Metafile, [&](std::size_t Pos, DWORD Type, DWORD Size) {
    TRecordReader R(Metafile->Data.data() + Pos, Size);
    return P.Play(Type, R);
  });
  P.Close();
  return Ok ? TRUE : FALSE;
}

BOOL EnumEnhMetaFile(HDC DC, HENHMETAFILE Metafile, ENHMFENUMPROC Proc, LPARAM Data, const RECT* Rect) {
  if (!IsMetafile(Metafile) || !Proc || (DC && !IsDeviceContext(DC))) return FALSE;
  TPlayer P;
  if (!P.Open(DC, Metafile, Rect)) {
    P.Close();
    return FALSE;
  }
  TPlayer* Outer = GCurrentPlayer;
  GCurrentPlayer = &P;
  const Integer Objects = static_cast<Integer>(P.Handles.size());
  bool Stopped = false;
  const bool Ok = ForEachRecord(Metafile, [&](std::size_t Pos, DWORD, DWORD) {
    if (Proc(DC, reinterpret_cast<HANDLETABLE*>(P.Handles.data()), RecordAt(Metafile, Pos), Objects, Data))
      return true;
    Stopped = true;
    return false;
  });
  GCurrentPlayer = Outer;
  P.Close();
  return Ok && !Stopped ? TRUE : FALSE;
}

BOOL PlayEnhMetaFileRecord(HDC DC, HANDLETABLE* Table, const ENHMETARECORD* Record, UINT Objects) {
  TPlayer* P = GCurrentPlayer;
  if (!P || !Record || P->DC != DC || reinterpret_cast<HANDLETABLE*>(P->Handles.data()) != Table ||
      Objects != P->Handles.size())
    return FALSE;
  // The record lies inside the metafile being enumerated: its size was checked against it.
  const auto* Begin = P->M->Data.data();
  const auto* At = reinterpret_cast<const Byte*>(Record);
  if (At < Begin || At + 8 > Begin + P->M->Data.size()) return FALSE;
  const std::size_t Left = static_cast<std::size_t>(Begin + P->M->Data.size() - At);
  TRecordReader Head(At, Left);
  const DWORD Type = Head.U32(), Size = Head.U32();
  if (Size < 8 || Size > Left) return FALSE;
  TRecordReader R(At, Size);
  return P->Play(Type, R) ? TRUE : FALSE;
}

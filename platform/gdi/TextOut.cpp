// Text output: TextOut, ExtTextOut, TabbedTextOut and DrawText over one drawing routine.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

#include "platform/gdi/DcInternals.h"
#include "platform/gdi/EnhMetaFileRecord.h"
#include "platform/gdi/PolygonScan.h"
#include "platform/gdi/TextInternals.h"
#include "platform/system/Strings.h"

namespace {

constexpr TRect NoClip{INT_MIN / 2, INT_MIN / 2, INT_MAX / 2, INT_MAX / 2};

TRect Intersect(const TRect& A, const TRect& B) {
  return TRect{std::max(A.Left, B.Left), std::max(A.Top, B.Top), std::min(A.Right, B.Right),
               std::min(A.Bottom, B.Bottom)};
}
bool IsEmpty(const TRect& R) {
  return R.Left >= R.Right || R.Top >= R.Bottom;
}

Integer RoundToInt(double V) {
  return static_cast<Integer>(std::floor(V + 0.5));
}

// A logical rectangle on the surface (the box of its corners under a world transform).
TRect RectToSurface(HDC DC, const RECT& R) {
  if (!DC->HasTransform()) {
    const TPoint O = DC->Offset();
    return TRect{R.Left + O.X, R.Top + O.Y, R.Right + O.X, R.Bottom + O.Y};
  }
  double X[4], Y[4];
  DC->ToSurfaceF(R.Left, R.Top, X[0], Y[0]);
  DC->ToSurfaceF(R.Right, R.Top, X[1], Y[1]);
  DC->ToSurfaceF(R.Left, R.Bottom, X[2], Y[2]);
  DC->ToSurfaceF(R.Right, R.Bottom, X[3], Y[3]);
  return TRect{RoundToInt(*std::min_element(X, X + 4)), RoundToInt(*std::min_element(Y, Y + 4)),
               RoundToInt(*std::max_element(X, X + 4)), RoundToInt(*std::max_element(Y, Y + 4))};
}

TRect Normalized(TRect R) {
  if (R.Left > R.Right) std::swap(R.Left, R.Right);
  if (R.Top > R.Bottom) std::swap(R.Top, R.Bottom);
  return R;
}

// Paints glyph images in one colour: 1-bit images store it, coverage blends it over the
// destination. Callers clip.
class TGlyphPainter {
 public:
  TGlyphPainter(const TSurface& S, COLORREF Color)
      : FS(S),
        FPixel(ColorToPixel(S, Color)),
        FR(GetRValue(Color)),
        FG(GetGValue(Color)),
        FB(GetBValue(Color)) {}

  // Draws the part of G placed at (GX, GY) that lies inside C.
  void Draw(const TGlyphImage& G, Integer GX, Integer GY, const TRect& C) const {
    const Integer X0 = std::max(GX, C.Left), X1 = std::min(GX + G.Width, C.Right);
    const Integer Y0 = std::max(GY, C.Top), Y1 = std::min(GY + G.Height, C.Bottom);
    if (X0 >= X1 || Y0 >= Y1) return;
    for (Integer Y = Y0; Y < Y1; ++Y) {
      const Byte* Src = G.Bits + static_cast<std::ptrdiff_t>(Y - GY) * G.Pitch;
      if (G.Mono && FS.Format == TSurfaceFormat::pf32) {
        Byte* Row = FS.Row(Y);
        for (Integer X = X0; X < X1; ++X) {
          const Integer I = X - GX;
          if (Src[I >> 3] & (0x80 >> (I & 7)))
            std::memcpy(Row + static_cast<std::ptrdiff_t>(X) * 4, &FPixel, 4);
        }
      } else if (G.Mono) {
        for (Integer X = X0; X < X1; ++X) {
          const Integer I = X - GX;
          if (Src[I >> 3] & (0x80 >> (I & 7))) PutRawPixel(FS, X, Y, FPixel);
        }
      } else if (FS.Format == TSurfaceFormat::pf32) {
        BlendRow<4>(Src + (X0 - GX), FS.Row(Y) + static_cast<std::ptrdiff_t>(X0) * 4, X1 - X0);
      } else if (FS.Format == TSurfaceFormat::pf24) {
        BlendRow<3>(Src + (X0 - GX), FS.Row(Y) + static_cast<std::ptrdiff_t>(X0) * 3, X1 - X0);
      } else {
        for (Integer X = X0; X < X1; ++X) {
          const Integer Cov = Src[X - GX];
          if (Cov == 0) continue;
          if (Cov == 255) {
            PutRawPixel(FS, X, Y, FPixel);
            continue;
          }
          const COLORREF D = PixelToColor(FS, GetRawPixel(FS, X, Y));
          const COLORREF Mixed =
              RGB(Blend(FR, GetRValue(D), Cov), Blend(FG, GetGValue(D), Cov), Blend(FB, GetBValue(D), Cov));
          PutRawPixel(FS, X, Y, ColorToPixel(FS, Mixed));
        }
      }
    }
  }

 private:
  // (Text * Cov + Dest * (255 - Cov) + 127) / 255, without the division.
  static Byte Blend(Integer Text, Integer Dest, Integer Cov) {
    const Integer V = Text * Cov + Dest * (255 - Cov) + 128;
    return static_cast<Byte>((V + (V >> 8)) >> 8);
  }
  template <Integer Bpp>
  void BlendRow(const Byte* Cov, Byte* P, Integer Count) const {
    for (Integer I = 0; I < Count; ++I, P += Bpp) {
      const Integer C = Cov[I];
      if (C == 0) continue;
      if (C == 255) {
        P[0] = FB, P[1] = FG, P[2] = FR;
      } else {
        P[0] = Blend(FB, P[0], C);
        P[1] = Blend(FG, P[1], C);
        P[2] = Blend(FR, P[2], C);
      }
      if constexpr (Bpp == 4) P[3] = 0;  // text leaves no alpha, as the platform's
    }
  }
  const TSurface& FS;
  DWORD FPixel;
  Byte FR, FG, FB;
};

// Fills a quadrilateral (surface coordinates) within Extra and the DC's clip.
void FillQuad(HDC DC, const double (&X)[4], const double (&Y)[4], const TRect& Extra, const TPixelOp& Op) {
  TPoint P[4];
  for (Integer I = 0; I < 4; ++I) P[I] = {RoundToInt(X[I]), RoundToInt(Y[I])};
  const Integer Count = 4;
  TPolygonScanner Scan(P, &Count, 1, ALTERNATE);
  while (Scan.NextRow()) {
    const Integer Row = Scan.Row();
    if (Row < Extra.Top || Row >= Extra.Bottom) continue;
    for (const TSpan& S : Scan.Spans()) {
      const Integer L = std::max(S.Left, Extra.Left), R = std::min(S.Right, Extra.Right);
      if (L < R) ForEachClipSpan(DC, Row, L, R, [&](Integer A, Integer B) { Op.Span(Row, A, B); });
    }
  }
}

// A band along the baseline from pen offset 0 to Length, Top..Bottom pixels below it.
void FillBand(HDC DC, bool Rotated, double OX, double OY, double DX, double DY, Integer Length, Integer Top,
              Integer Bottom, const TRect& Extra, const TPixelOp& Op) {
  if (!Rotated) {
    const Integer X = RoundToInt(OX), Y = RoundToInt(OY);
    TRect R = Normalized(TRect{X, Y + Top, X + Length, Y + Bottom});
    FillRectClipped(DC, Intersect(R, Extra), Op);
    return;
  }
  const double NX = -DY, NY = DX;  // "down" of the turned text
  const double Xs[4] = {OX + Top * NX, OX + Length * DX + Top * NX, OX + Length * DX + Bottom * NX,
                        OX + Bottom * NX};
  const double Ys[4] = {OY + Top * NY, OY + Length * DY + Top * NY, OY + Length * DY + Bottom * NY,
                        OY + Bottom * NY};
  FillQuad(DC, Xs, Ys, Extra, Op);
}

struct TOutOptions {
  UINT Align = TA_LEFT | TA_TOP;
  UINT Options = 0;
  const RECT* Rect = nullptr;
  const Integer* Dx = nullptr;  // per character, pixels; null: the DC's spacing
  const Integer* Dy = nullptr;  // per character with ETO_PDY
};

// The one drawing routine behind every text output call; Drawn receives the advance width.
bool DrawChars(HDC DC, Integer X, Integer Y, const char32_t* Chars, std::size_t Count, const TOutOptions& O,
               Integer* Drawn = nullptr) {
  HFONT Font;
  TFontFace* Face;
  if (!DcFace(DC, Font, Face)) return false;
  const TSurface& S = DC->Surface();
  const TEXTMETRICW& M = Face->Metrics();

  thread_local std::vector<Integer> Adv;
  thread_local std::vector<const TGlyphImage*> Glyphs;
  Adv.resize(Count);
  Integer Width = 0;
  if (O.Dx) {
    for (std::size_t I = 0; I < Count; ++I) Width += (Adv[I] = O.Dx[I]);
  } else {
    Width = DcAdvances(DC, *Face, Chars, Count, Adv.data());
  }
  if (Drawn) *Drawn = Width;
  if (IsRecordingDC(DC)) EmfRecordText(DC, X, Y, Chars, Count, O.Align, O.Options, O.Rect, Adv.data(), O.Dy);

  const bool UpdateCp = (O.Align & TA_UPDATECP) != 0;
  const TPoint Ref = UpdateCp ? DC->State.CurPos : TPoint{X, Y};
  const double DX = Face->DirX(), DY = Face->DirY();
  const double NX = -DY, NY = DX;
  const bool Rotated = Face->Escapement() != 0;
  const Integer HOff = (O.Align & TA_CENTER) == TA_CENTER  ? Width / 2
                       : (O.Align & TA_CENTER) == TA_RIGHT ? Width
                                                           : 0;
  const Integer VOff = (O.Align & TA_BASELINE) == TA_BASELINE ? 0
                       : (O.Align & TA_BASELINE) == TA_BOTTOM ? -M.tmDescent
                                                              : M.tmAscent;
  // The pen's start on the baseline, in logical and then surface coordinates.
  const double LX = Ref.X - HOff * DX + VOff * NX, LY = Ref.Y - HOff * DY + VOff * NY;
  double OX, OY;
  if (DC->HasTransform()) {
    DC->ToSurfaceF(LX, LY, OX, OY);
  } else {
    const TPoint Off = DC->Offset();
    OX = LX + Off.X, OY = LY + Off.Y;
  }

  TRect Extra = NoClip;
  if (O.Rect && (O.Options & ETO_CLIPPED)) Extra = Normalized(RectToSurface(DC, *O.Rect));
  if (O.Rect && (O.Options & ETO_OPAQUE)) {
    const TPixelOp Bk = MakePixelOp(S, ResolveColor(DC, DC->State.BkColor), R2_COPYPEN);
    FillRectClipped(DC, Normalized(RectToSurface(DC, *O.Rect)), Bk);
  }
  if (DC->State.BkMode == OPAQUE && Count > 0) {
    const TPixelOp Bk = MakePixelOp(S, ResolveColor(DC, DC->State.BkColor), R2_COPYPEN);
    FillBand(DC, Rotated, OX, OY, DX, DY, Width, -M.tmAscent, M.tmDescent, Extra, Bk);
  }

  const COLORREF Color = ResolveColor(DC, DC->State.TextColor);
  const TGlyphPainter Painter(S, Color);
  Glyphs.resize(Count);
  Face->Glyphs(Chars, Count, Glyphs.data());
  double PenX = 0, PenY = 0;  // offset from the start, surface pixels
  for (std::size_t I = 0; I < Count; ++I) {
    const TGlyphImage& G = *Glyphs[I];
    if (Chars[I] >= 0x20 && G.Width > 0) {
      const Integer GX = RoundToInt(OX + PenX) + G.Left;
      const Integer GY = RoundToInt(OY + PenY) - G.Top;
      const TRect Box = Intersect(TRect{GX, GY, GX + G.Width, GY + G.Height}, Extra);
      if (!IsEmpty(Box)) ForEachClipRect(DC, Box, [&](const TRect& C) { Painter.Draw(G, GX, GY, C); });
    }
    PenX += Adv[I] * DX;
    PenY += Adv[I] * DY;
    if (O.Dy) PenY += O.Dy[I];  // ETO_PDY steps run along the device's y axis
  }

  if (Font->Log.lfUnderline || Font->Log.lfStrikeOut) {
    const TPixelOp Line = MakePixelOp(S, Color, R2_COPYPEN);
    if (Font->Log.lfUnderline)
      FillBand(DC, Rotated, OX, OY, DX, DY, Width, Face->UnderlineOffset(),
               Face->UnderlineOffset() + Face->UnderlineSize(), Extra, Line);
    if (Font->Log.lfStrikeOut)
      FillBand(DC, Rotated, OX, OY, DX, DY, Width, Face->StrikeOutOffset(),
               Face->StrikeOutOffset() + Face->StrikeOutSize(), Extra, Line);
  }

  if (UpdateCp && (O.Align & TA_CENTER) != TA_CENTER) {
    const Integer Sign = (O.Align & TA_CENTER) == TA_RIGHT ? -1 : 1;
    DC->State.CurPos = TPoint{Ref.X + RoundToInt(Sign * Width * DX), Ref.Y + RoundToInt(Sign * Width * DY)};
  }
  return true;
}

template <class TChar>
BOOL ExtTextOutT(HDC DC, Integer X, Integer Y, UINT Options, const RECT* Rect, const TChar* Text, UINT Count,
                 const Integer* Dx) {
  if (!IsDeviceContext(DC)) return FALSE;
  if ((Options & ETO_GLYPH_INDEX) || (!Text && Count > 0)) return FALSE;
  thread_local TCodeText T;
  thread_local std::vector<Integer> CharDx, CharDy;
  DecodeText(Text, static_cast<Integer>(Count), T);
  TOutOptions O;
  O.Align = DC->State.TextAlign;
  O.Options = Options;
  O.Rect = Rect;
  if (Dx) {
    // Per-unit entries summed into their characters.
    const Integer Step = (Options & ETO_PDY) ? 2 : 1;
    CharDx.assign(T.Size(), 0);
    CharDy.assign(T.Size(), 0);
    for (std::size_t I = 0; I < T.Size(); ++I)
      for (Integer U = T.Starts[I]; U < T.Starts[I + 1]; ++U) {
        CharDx[I] += Dx[U * Step];
        if (Step == 2) CharDy[I] += Dx[U * Step + 1];
      }
    O.Dx = CharDx.data();
    if (Step == 2) O.Dy = CharDy.data();
  }
  return DrawChars(DC, X, Y, T.Chars.data(), T.Size(), O) ? TRUE : FALSE;
}

template <class TChar>
BOOL TextOutT(HDC DC, Integer X, Integer Y, const TChar* Text, Integer Count) {
  if (Count < 0) return FALSE;
  return ExtTextOutT(DC, X, Y, 0, nullptr, Text, static_cast<UINT>(Count), nullptr);
}

// Tab stops of TabbedTextOut: Next(X) is the first stop right of X (all relative to the origin).
struct TTabStops {
  Integer Count;
  const Integer* Stops;
  Integer Default;
  Integer Next(Integer X) const {
    if (Count == 1 && Stops && std::abs(Stops[0]) > 0) {
      const Integer D = std::abs(Stops[0]);
      return (X >= 0 ? X / D + 1 : -((-X) / D)) * D;
    }
    if (Count > 1 && Stops) {
      for (Integer I = 0; I < Count; ++I)
        if (std::abs(Stops[I]) > X) return std::abs(Stops[I]);
    }
    return (X >= 0 ? X / Default + 1 : -((-X) / Default)) * Default;
  }
};

// Advances with tabs jumping to their stops; X0 is the text's start relative to the tab origin.
template <class TChar>
bool TabbedAdvances(HDC DC, const TChar* Text, Integer Count, Integer TabCount, const Integer* TabStops,
                    Integer X0, TCodeText& T, std::vector<Integer>& Adv, Integer& Width) {
  HFONT Font;
  TFontFace* Face;
  if (!DcFace(DC, Font, Face) || (!Text && Count > 0)) return false;
  DecodeText(Text, Count, T);
  Adv.resize(T.Size());
  DcAdvances(DC, *Face, T.Chars.data(), T.Size(), Adv.data());
  const TTabStops Tabs{TabCount, TabStops, std::max(1, 8 * Face->Metrics().tmAveCharWidth)};
  Integer X = X0;
  for (std::size_t I = 0; I < T.Size(); ++I) {
    if (T.Chars[I] == U'\t') Adv[I] = Tabs.Next(X) - X;
    X += Adv[I];
  }
  Width = X - X0;
  return true;
}

template <class TChar>
LONG TabbedTextOutT(HDC DC, Integer X, Integer Y, const TChar* Text, Integer Count, Integer TabCount,
                    const Integer* TabStops, Integer TabOrigin) {
  thread_local TCodeText T;
  thread_local std::vector<Integer> Adv;
  Integer Width = 0;
  const Integer Start = ((DC && (DC->State.TextAlign & TA_UPDATECP)) ? DC->State.CurPos.X : X) - TabOrigin;
  if (!TabbedAdvances(DC, Text, Count, TabCount, TabStops, Start, T, Adv, Width)) return 0;
  TOutOptions O;
  O.Align = DC->State.TextAlign;
  O.Dx = Adv.data();
  if (!DrawChars(DC, X, Y, T.Chars.data(), T.Size(), O)) return 0;
  HFONT Font;
  TFontFace* Face;
  DcFace(DC, Font, Face);
  return static_cast<LONG>(MAKELONG(static_cast<WORD>(Width), static_cast<WORD>(Face->Metrics().tmHeight)));
}

template <class TChar>
DWORD TabbedExtentT(HDC DC, const TChar* Text, Integer Count, Integer TabCount, const Integer* TabStops) {
  thread_local TCodeText T;
  thread_local std::vector<Integer> Adv;
  Integer Width = 0;
  if (!TabbedAdvances(DC, Text, Count, TabCount, TabStops, 0, T, Adv, Width)) return 0;
  HFONT Font;
  TFontFace* Face;
  DcFace(DC, Font, Face);
  return MAKELONG(static_cast<WORD>(Width), static_cast<WORD>(Face->Metrics().tmHeight));
}

// DrawText on UTF-16 text; Shown receives the shortened text of DT_MODIFYSTRING.
Integer DrawTextCore(HDC DC, std::u16string_view Text, RECT* Rect, UINT Format, DRAWTEXTPARAMS* Params,
                     std::u16string* Shown) {
  HFONT Font;
  TFontFace* Face;
  if (!Rect || !DcFace(DC, Font, Face)) return 0;
  const TEXTMETRICW& M = Face->Metrics();
  const TTextLayoutMetrics LM{M.tmHeight, M.tmExternalLeading, M.tmAveCharWidth,
                              M.tmAscent + Face->UnderlineOffset()};
  TCodeText Scratch;
  const TTextMeasure Measure = [&](std::u16string_view S) {
    DecodeText(S, Scratch);
    return DcAdvances(DC, *Face, Scratch.Chars.data(), Scratch.Size(), nullptr);
  };
  const TTextLayout L = LayoutDrawText(Text, *Rect, Format, LM, Measure, Params);
  if (Params) Params->uiLengthDrawn = L.LengthDrawn;
  if (Shown && L.Modified) *Shown = L.ModifiedText;
  if (Format & DT_CALCRECT) {
    *Rect = L.Rect;
    return L.Result;
  }
  TOutOptions O;
  O.Align = TA_LEFT | TA_TOP;
  O.Options = (Format & DT_NOCLIP) ? 0 : ETO_CLIPPED;
  O.Rect = Rect;
  for (const TTextRun& R : L.Runs) {
    DecodeText(R.Text, Scratch);
    DrawChars(DC, R.X, R.Y, Scratch.Chars.data(), Scratch.Size(), O);
  }
  if (!L.Underlines.empty()) {
    const TPixelOp Line = MakePixelOp(DC->Surface(), ResolveColor(DC, DC->State.TextColor), R2_COPYPEN);
    const TRect Clip = (Format & DT_NOCLIP) ? NoClip : Normalized(RectToSurface(DC, *Rect));
    for (const TTextUnderline& U : L.Underlines) {
      const TRect R = RectToSurface(DC, RECT{U.X0, U.Y, U.X1, U.Y + 1});
      FillRectClipped(DC, Intersect(R, Clip), Line);
    }
  }
  return L.Result;
}

std::u16string_view View(const char16_t* Text, Integer Count) {
  if (!Text) return {};
  if (Count < 0) return std::u16string_view(Text);
  return std::u16string_view(Text, static_cast<std::size_t>(Count));
}

}  // namespace

BOOL TextOutA(HDC DC, Integer X, Integer Y, const char* Text, Integer Count) {
  return TextOutT(DC, X, Y, Text, Count);
}
BOOL TextOutW(HDC DC, Integer X, Integer Y, const char16_t* Text, Integer Count) {
  return TextOutT(DC, X, Y, Text, Count);
}
BOOL ExtTextOutA(HDC DC, Integer X, Integer Y, UINT Options, const RECT* Rect, const char* Text, UINT Count,
                 const Integer* Dx) {
  return ExtTextOutT(DC, X, Y, Options, Rect, Text, Count, Dx);
}
BOOL ExtTextOutW(HDC DC, Integer X, Integer Y, UINT Options, const RECT* Rect, const char16_t* Text,
                 UINT Count, const Integer* Dx) {
  return ExtTextOutT(DC, X, Y, Options, Rect, Text, Count, Dx);
}

LONG TabbedTextOutA(HDC DC, Integer X, Integer Y, const char* Text, Integer Count, Integer TabCount,
                    const Integer* TabStops, Integer TabOrigin) {
  return TabbedTextOutT(DC, X, Y, Text, Count, TabCount, TabStops, TabOrigin);
}
LONG TabbedTextOutW(HDC DC, Integer X, Integer Y, const char16_t* Text, Integer Count, Integer TabCount,
                    const Integer* TabStops, Integer TabOrigin) {
  return TabbedTextOutT(DC, X, Y, Text, Count, TabCount, TabStops, TabOrigin);
}
DWORD GetTabbedTextExtentA(HDC DC, const char* Text, Integer Count, Integer TabCount,
                           const Integer* TabStops) {
  return TabbedExtentT(DC, Text, Count, TabCount, TabStops);
}
DWORD GetTabbedTextExtentW(HDC DC, const char16_t* Text, Integer Count, Integer TabCount,
                           const Integer* TabStops) {
  return TabbedExtentT(DC, Text, Count, TabCount, TabStops);
}

Integer DrawTextW(HDC DC, const char16_t* Text, Integer Count, RECT* Rect, UINT Format) {
  return DrawTextCore(DC, View(Text, Count), Rect, Format, nullptr, nullptr);
}
Integer DrawTextA(HDC DC, const char* Text, Integer Count, RECT* Rect, UINT Format) {
  if (!Text) return 0;
  const std::string_view S =
      Count < 0 ? std::string_view(Text) : std::string_view(Text, static_cast<std::size_t>(Count));
  return DrawTextCore(DC, Utf8ToUtf16(S), Rect, Format, nullptr, nullptr);
}

Integer DrawTextExW(HDC DC, char16_t* Text, Integer Count, RECT* Rect, UINT Format, DRAWTEXTPARAMS* Params) {
  const std::u16string_view S = View(Text, Count);
  std::u16string Shown;
  const Integer R = DrawTextCore(DC, S, Rect, Format, Params, (Format & DT_MODIFYSTRING) ? &Shown : nullptr);
  if (!Shown.empty()) {
    const std::size_t N = std::min(Shown.size(), S.size());
    std::copy(Shown.begin(), Shown.begin() + static_cast<std::ptrdiff_t>(N), Text);
    if (N < S.size()) Text[N] = 0;
  }
  return R;
}

Integer DrawTextExA(HDC DC, char* Text, Integer Count, RECT* Rect, UINT Format, DRAWTEXTPARAMS* Params) {
  if (!Text) return 0;
  const std::string_view S =
      Count < 0 ? std::string_view(Text) : std::string_view(Text, static_cast<std::size_t>(Count));
  std::u16string Shown;
  const Integer R =
      DrawTextCore(DC, Utf8ToUtf16(S), Rect, Format, Params, (Format & DT_MODIFYSTRING) ? &Shown : nullptr);
  if (!Shown.empty()) {
    std::string Out = Utf16ToUtf8(Shown);
    std::size_t N = std::min(Out.size(), S.size());
    while (N > 0 && N < Out.size() && (static_cast<unsigned char>(Out[N]) & 0xC0) == 0x80)
      --N;  // whole characters
    std::memcpy(Text, Out.data(), N);
    if (N < S.size()) Text[N] = 0;
  }
  return R;
}

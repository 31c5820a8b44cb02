// The classic frame controls, drawn in code with the system colours.
#include <cstring>

#include "platform/gdi/FrameControls.h"
#include "platform/gdi/RasterInternals.h"
#include "platform/gdi/SysColors.h"

namespace {

// 7x7 check mark, as the classic check box shows it.
const char* const CheckGlyph[] = {"......#", ".....##", "#...###", "##.###.",
                                  "#####..", ".###...", "..#...."};
const char* const HelpGlyph[] = {".####.", "##..##", "....##", "...##.",
                                 "..##..", "......", "..##..", "..##.."};

// Drawing in the rectangle's logical coordinates, moved once to the surface.
class TPainter {
 public:
  explicit TPainter(HDC DC) : FDC(DC), FS(DC->Surface()), FO(DC->ToSurface({0, 0})) {}

  void Fill(const TRect& R, COLORREF C) const {
    if (R.Left >= R.Right || R.Top >= R.Bottom) return;
    FillRectClipped(FDC, {R.Left + FO.X, R.Top + FO.Y, R.Right + FO.X, R.Bottom + FO.Y},
                    MakePixelOp(FS, C, R2_COPYPEN));
  }
  void Pixel(Integer X, Integer Y, COLORREF C) const { Fill({X, Y, X + 1, Y + 1}, C); }
  // A glyph of '#' pixels with its top-left corner at (X, Y).
  void Glyph(const char* const* Rows, Integer N, Integer X, Integer Y, COLORREF C) const {
    for (Integer R = 0; R < N; ++R)
      for (Integer I = 0; Rows[R][I]; ++I)
        if (Rows[R][I] == '#') Pixel(X + I, Y + R, C);
  }
  // A triangle of N rows pointing in Dir (0 up, 1 down, 2 left, 3 right) centred on (CX, CY).
  void Arrow(Integer CX, Integer CY, Integer N, UINT Dir, COLORREF C) const {
    for (Integer I = 0; I < N; ++I) {
      const Integer Row = (Dir == 0 || Dir == 2) ? I : N - 1 - I;  // 0 = the tip
      const Integer Along = CX - N / 2 + (Dir >= 2 ? I : 0), Across = CY - N / 2 + (Dir < 2 ? I : 0);
      if (Dir < 2)
        Fill({CX - Row, Across, CX + Row + 1, Across + 1}, C);
      else
        Fill({Along, CY - Row, Along + 1, CY + Row + 1}, C);
    }
  }
  // The pixels of the ellipse outline in R whose angle lies in the top-left half (or not).
  void EllipseHalf(const TRect& R, bool TopLeft, COLORREF C) const {
    const TRowShape S = EllipseShape(R, R.Top, R.Bottom);
    const double CX = R.Left + (R.Width() - 1) / 2.0, CY = R.Top + (R.Height() - 1) / 2.0;
    for (const TPoint& P : ShapeOutline(S)) {
      // The dividing line runs from the bottom-left to the top-right.
      const bool IsTopLeft = (P.X - CX) + (P.Y - CY) < 0;
      if (IsTopLeft == TopLeft) Pixel(P.X, P.Y, C);
    }
  }
  void EllipseFill(const TRect& R, COLORREF C) const {
    const TRowShape S = EllipseShape(R, R.Top, R.Bottom);
    for (std::size_t I = 0; I < S.Spans.size(); ++I) {
      const Integer Y = S.Top + static_cast<Integer>(I);
      Fill({S.Spans[I].Left, Y, S.Spans[I].Right, Y + 1}, C);
    }
  }

 private:
  HDC FDC;
  const TSurface& FS;
  TPoint FO;
};

COLORREF Sys(Integer Index) {
  return GetSysColor(Index);
}

UINT EdgeFlags(UINT State) {
  return (State & DFCS_FLAT ? BF_FLAT : 0) | (State & DFCS_MONO ? BF_MONO : 0);
}

// A push button face: raised, or sunken when pushed or checked. Returns the inside.
TRect ButtonFrame(HDC DC, const RECT& Rect, UINT State) {
  RECT R = Rect;
  const bool Down = State & (DFCS_PUSHED | DFCS_CHECKED);
  DrawEdge(DC, &R, Down ? EDGE_SUNKEN : EDGE_RAISED,
           BF_RECT | BF_ADJUST | (State & DFCS_TRANSPARENT ? 0 : BF_MIDDLE) | (Down ? 0 : BF_SOFT) |
               EdgeFlags(State));
  return R;
}

// Glyph colours: the text colour, or grey with a highlight shadow one pixel down-right.
template <class F>
void DrawGlyph(UINT State, Integer TextColorIndex, F&& Draw) {
  if (State & DFCS_INACTIVE) {
    Draw(1, Sys(COLOR_3DHILIGHT));
    Draw(0, Sys(COLOR_GRAYTEXT));
  } else {
    Draw(0, Sys(TextColorIndex));
  }
}

void CheckBox(HDC DC, const TPainter& P, const RECT& Rect, UINT State) {
  const Integer Size = std::min(Rect.Right - Rect.Left, Rect.Bottom - Rect.Top);
  RECT Box{Rect.Left, Rect.Top + (Rect.Bottom - Rect.Top - Size) / 2, Rect.Left + Size, 0};
  Box.Bottom = Box.Top + Size;
  DrawEdge(DC, &Box, EDGE_SUNKEN, BF_RECT | BF_ADJUST | EdgeFlags(State));
  const bool Grey = State & (DFCS_INACTIVE | DFCS_PUSHED);
  P.Fill(Box, Sys(Grey ? COLOR_3DFACE : COLOR_WINDOW));
  if (!(State & DFCS_CHECKED)) return;
  const Integer X = Box.Left + (Box.Right - Box.Left - 7) / 2, Y = Box.Top + (Box.Bottom - Box.Top - 7) / 2;
  const bool GreyMark = State & (DFCS_INACTIVE | DFCS_BUTTON3STATE);
  P.Glyph(CheckGlyph, 7, X, Y, Sys(GreyMark ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT));
}

void RadioButton(const TPainter& P, const RECT& Rect, UINT State) {
  const Integer Size = std::min(Rect.Right - Rect.Left, Rect.Bottom - Rect.Top);
  const TRect Box{Rect.Left, Rect.Top + (Rect.Bottom - Rect.Top - Size) / 2, Rect.Left + Size,
                  Rect.Top + (Rect.Bottom - Rect.Top - Size) / 2 + Size};
  if ((State & 0xFF) == DFCS_BUTTONRADIOMASK) {
    P.Fill(Box, Sys(COLOR_WINDOW));
    P.EllipseFill(Box, Sys(COLOR_WINDOWFRAME));
    return;
  }
  if (Size <= 4) return P.EllipseFill(Box, Sys(COLOR_WINDOWTEXT));
  const bool Mono = State & (DFCS_MONO | DFCS_FLAT);
  const TRect Inner{Box.Left + 1, Box.Top + 1, Box.Right - 1, Box.Bottom - 1};
  P.EllipseFill(Inner, Sys(State & (DFCS_INACTIVE | DFCS_PUSHED) ? COLOR_3DFACE : COLOR_WINDOW));
  P.EllipseHalf(Box, true, Sys(Mono ? COLOR_WINDOWFRAME : COLOR_3DSHADOW));
  P.EllipseHalf(Box, false, Sys(Mono ? COLOR_WINDOWFRAME : COLOR_3DHILIGHT));
  if (!Mono) {
    P.EllipseHalf(Inner, true, Sys(COLOR_3DDKSHADOW));
    P.EllipseHalf(Inner, false, Sys(COLOR_3DLIGHT));
  }
  if (State & DFCS_CHECKED) {
    const Integer D = std::max(2, Size / 3);
    const Integer L = Box.Left + (Size - D) / 2, T = Box.Top + (Size - D) / 2;
    P.EllipseFill({L, T, L + D, T + D}, Sys(State & DFCS_INACTIVE ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT));
  }
}

void ScrollControl(HDC DC, const TPainter& P, const RECT& Rect, UINT State) {
  const UINT Kind = State & 0xFF;
  if (Kind == DFCS_SCROLLSIZEGRIP || Kind == DFCS_SCROLLSIZEGRIPRIGHT) {
    if (!(State & DFCS_TRANSPARENT)) P.Fill(Rect, Sys(COLOR_3DFACE));
    // Diagonal grooves in the bottom-right corner: a highlight line and two shadow lines nearer
    // the corner each.
    const Integer Size = std::min(Rect.Right - Rect.Left, Rect.Bottom - Rect.Top);
    for (Integer Step = 0; Step + 3 < Size; Step += 4)
      for (Integer K = 0; K < 3; ++K) {
        const Integer D = Size - 1 - Step - K;  // distance of the line from the corner
        const COLORREF C = Sys(K == 0 ? COLOR_3DHILIGHT : COLOR_3DSHADOW);
        for (Integer I = 0; I < D; ++I) P.Pixel(Rect.Right - D + I, Rect.Bottom - 1 - I, C);
      }
    return;
  }
  const TRect In = ButtonFrame(DC, Rect, State);
  const Integer Shift = (State & DFCS_PUSHED) ? 1 : 0;
  const UINT Dir = Kind == DFCS_SCROLLCOMBOBOX ? DFCS_SCROLLDOWN : Kind;
  const Integer N = std::max(1, std::min(Rect.Right - Rect.Left, Rect.Bottom - Rect.Top) / 4);
  const Integer CX = (In.Left + In.Right - 1) / 2 + Shift, CY = (In.Top + In.Bottom - 1) / 2 + Shift;
  DrawGlyph(State, COLOR_BTNTEXT, [&](Integer O, COLORREF C) { P.Arrow(CX + O, CY + O, N, Dir, C); });
}

void CaptionButton(HDC DC, const TPainter& P, const RECT& Rect, UINT State) {
  const TRect In = ButtonFrame(DC, Rect, State);
  const Integer Shift = (State & DFCS_PUSHED) ? 1 : 0;
  const Integer G = std::max(3, std::min(In.Width(), In.Height()) - 4);  // glyph size
  const Integer X = In.Left + (In.Width() - G) / 2 + Shift, Y = In.Top + (In.Height() - G) / 2 + Shift;
  DrawGlyph(State, COLOR_BTNTEXT, [&](Integer O, COLORREF C) {
    const Integer L = X + O, T = Y + O;
    switch (State & 0xFF) {
      case DFCS_CAPTIONCLOSE:
        for (Integer I = 0; I + 1 < G; ++I) {  // two diagonals, two pixels thick
          P.Fill({L + I, T + I, L + I + 2, T + I + 1}, C);
          P.Fill({L + G - 2 - I, T + I, L + G - I, T + I + 1}, C);
        }
        break;
      case DFCS_CAPTIONMIN:
        P.Fill({L + 1, T + G - 2, L + G - 1, T + G}, C);
        break;
      case DFCS_CAPTIONMAX:
        P.Fill({L, T, L + G, T + 2}, C);
        P.Fill({L, T + G - 1, L + G, T + G}, C);
        P.Fill({L, T, L + 1, T + G}, C);
        P.Fill({L + G - 1, T, L + G, T + G}, C);
        break;
      case DFCS_CAPTIONRESTORE: {
        const Integer S = std::max(3, G * 2 / 3);
        for (const TPoint& At : {TPoint{L + G - S, T}, TPoint{L, T + G - S}}) {
          P.Fill({At.X, At.Y, At.X + S, At.Y + 2}, C);
          P.Fill({At.X, At.Y + S - 1, At.X + S, At.Y + S}, C);
          P.Fill({At.X, At.Y, At.X + 1, At.Y + S}, C);
          P.Fill({At.X + S - 1, At.Y, At.X + S, At.Y + S}, C);
          if (At.Y == T) P.Fill({L + 1, T + G - S + 2, L + S - 1, T + G - 1}, Sys(COLOR_3DFACE));
        }
        break;
      }
      default:
        P.Glyph(HelpGlyph, 8, L + (G - 6) / 2, T + (G - 8) / 2, C);
        break;
    }
  });
}

// Menu glyphs are masks: black on white.
void MenuGlyph(const TPainter& P, const RECT& Rect, UINT State) {
  P.Fill(Rect, RGB(255, 255, 255));
  const Integer W = Rect.Right - Rect.Left, H = Rect.Bottom - Rect.Top;
  const Integer CX = Rect.Left + (W - 1) / 2, CY = Rect.Top + (H - 1) / 2;
  switch (State & 0xFF) {
    case DFCS_MENUCHECK:
      P.Glyph(CheckGlyph, 7, Rect.Left + (W - 7) / 2, Rect.Top + (H - 7) / 2, 0);
      break;
    case DFCS_MENUBULLET: {
      const Integer D = std::max(2, std::min(W, H) / 3);
      P.EllipseFill({CX - D / 2, CY - D / 2, CX - D / 2 + D, CY - D / 2 + D}, 0);
      break;
    }
    case DFCS_MENUARROWRIGHT:
      P.Arrow(CX, CY, std::max(1, std::min(W, H) / 3), DFCS_SCROLLLEFT, 0);
      break;
    default:
      P.Arrow(CX, CY, std::max(1, std::min(W, H) / 3), DFCS_SCROLLRIGHT, 0);
      break;
  }
}

}  // namespace

BOOL DrawFrameControl(HDC DC, RECT* Rect, UINT Type, UINT State) {
  if (!IsDeviceContext(DC) || !Rect) return FALSE;
  if (Rect->Right <= Rect->Left || Rect->Bottom <= Rect->Top) return TRUE;
  const TPainter P(DC);
  switch (Type) {
    case DFC_BUTTON: {
      const UINT Kind = State & 0xFF;
      if (Kind & DFCS_BUTTONPUSH) {
        const TRect In = ButtonFrame(DC, *Rect, State);
        if (State & DFCS_ADJUSTRECT) *Rect = In;
      } else if (Kind & (DFCS_BUTTONRADIO | DFCS_BUTTONRADIOIMAGE | DFCS_BUTTONRADIOMASK)) {
        RadioButton(P, *Rect, State);
      } else {
        CheckBox(DC, P, *Rect, State);
      }
      return TRUE;
    }
    case DFC_SCROLL:
      ScrollControl(DC, P, *Rect, State);
      return TRUE;
    case DFC_CAPTION:
      CaptionButton(DC, P, *Rect, State);
      return TRUE;
    case DFC_MENU:
    case DFC_POPUPMENU:
      MenuGlyph(P, *Rect, State);
      return TRUE;
    default:
      return FALSE;
  }
}

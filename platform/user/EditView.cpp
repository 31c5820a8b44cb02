// The EDIT control's view: the formatting rectangle, line geometry, scrolling, the caret and
// painting.
#include <algorithm>

#include "platform/gdi/Painting.h"
#include "platform/gdi/Text.h"
#include "platform/user/Caret.h"
#include "platform/user/EditControl.h"
#include "platform/user/ScrollBars.h"
#include "platform/user/WindowPaint.h"
#include "platform/user/Windows.h"

namespace {

Integer DluToPixels(const TEditData& D, Integer Dlu) {
  return Dlu * D.Metrics.AveCharWidth / 4;
}

// The next tab stop after X (pixels from the line's start).
Integer NextTabStop(const TEditData& D, Integer X) {
  if (D.TabStops.size() >= 2)
    for (Integer Stop : D.TabStops)
      if (DluToPixels(D, Stop) > X) return DluToPixels(D, Stop);
  Integer Interval = DluToPixels(D, D.TabStops.size() == 1 ? D.TabStops[0] : 32);
  if (Interval <= 0) Interval = std::max(1, D.Metrics.AveCharWidth * 8);
  return (X / Interval + 1) * Interval;
}

void Measure(TEditData& D, const char16_t* S, Integer Count, std::vector<Integer>& Ends) {
  Ends.resize(static_cast<std::size_t>(Count));
  if (Count <= 0) return;
  TMeasureDC M(D.Font);
  if (D.PasswordChar != 0) {
    SIZE Sz;
    GetTextExtentPoint32W(M.DC(), &D.PasswordChar, 1, &Sz);
    for (Integer I = 0; I < Count; ++I) Ends[static_cast<std::size_t>(I)] = (I + 1) * Sz.cx;
    return;
  }
  const bool Tabs = IsMultiLine(D);
  Integer X = 0, I = 0;
  while (I < Count) {
    Integer J = I;
    while (J < Count && !(Tabs && S[J] == u'\t')) ++J;
    if (J > I) {
      SIZE Sz;
      GetTextExtentExPointW(M.DC(), S + I, J - I, 0, nullptr, Ends.data() + I, &Sz);
      for (Integer K = I; K < J; ++K) Ends[static_cast<std::size_t>(K)] += X;
      X = Ends[static_cast<std::size_t>(J) - 1];
    }
    if (J < Count) {
      X = NextTabStop(D, X);
      Ends[static_cast<std::size_t>(J)] = X;
      ++J;
    }
    I = J;
  }
}

// Single-line and unwrapped multi-line texts scroll sideways with ES_AUTOHSCROLL.
bool ScrollsSideways(const TEditData& D) {
  return (EditStyle(D) & ES_AUTOHSCROLL) != 0;
}

const TEditLine& LineAt(const TEditData& D, Integer Line) {
  return D.Text.Lines()[static_cast<std::size_t>(Line)];
}

// The client x of a line's first unit: the formatting rectangle's left, the alignment, the scroll.
Integer LineOrigin(const TEditData& D, Integer Line) {
  Integer X = D.Format.Left - D.XOffset;
  const Integer Free = D.Format.Width() - LineAt(D, Line).Width;
  if (Free > 0) {
    const DWORD Align = EditStyle(D) & (ES_CENTER | ES_RIGHT);
    if (Align == ES_CENTER)
      X += Free / 2;
    else if (Align != 0)
      X += Free;
  }
  return X;
}

Integer LineTop(const TEditData& D, Integer Line) {
  return D.Format.Top + (Line - (IsMultiLine(D) ? D.TopLine : 0)) * EditLineHeight(D);
}

Integer MaxTopLine(const TEditData& D) {
  return IsMultiLine(D) ? std::max(0, D.Text.LineCount() - EditVisibleLines(D)) : 0;
}

// How far the view may scroll sideways: the widest line with the third kept ahead of the caret.
Integer MaxXOffset(const TEditData& D) {
  if (!ScrollsSideways(D)) return 0;
  const Integer W = D.Format.Width();
  if (D.Text.MaxWidth() < W) return 0;
  return std::max(0, D.Text.MaxWidth() + 1 - W + W / 3);
}

thread_local std::vector<Integer> GEnds;

}  // namespace

Integer EditLineHeight(const TEditData& D) {
  return std::max(1, D.Metrics.Height);
}

Integer EditVisibleLines(const TEditData& D) {
  if (!IsMultiLine(D)) return 1;
  return std::max(1, D.Format.Height() / EditLineHeight(D));
}

void EditLayout(TEditData& D) {
  TRect R = D.GivenSet ? D.Given : ClientRectOf(D.Wnd);
  R.Left += D.LeftMargin;
  R.Right -= D.RightMargin;
  if (R.Right < R.Left) R.Right = R.Left;
  if (!IsMultiLine(D)) R.Bottom = R.Top + EditLineHeight(D);
  D.Format = R;
  D.Text.Layout(
      [&D](const char16_t* S, Integer Count, std::vector<Integer>& Ends) { Measure(D, S, Count, Ends); },
      IsMultiLine(D), WordWraps(D), R.Width());
  D.TopLine = std::clamp(D.TopLine, 0, MaxTopLine(D));
  D.XOffset = std::clamp(D.XOffset, 0, MaxXOffset(D));
  EditUpdateScrollBars(D);
}

void EditLineEnds(TEditData& D, Integer Line, std::vector<Integer>& Ends) {
  const TEditLine& L = LineAt(D, Line);
  Measure(D, D.Text.Str().data() + L.Start, L.Length, Ends);
}

TPoint EditPosFromChar(TEditData& D, Integer Pos) {
  Pos = std::clamp(Pos, 0, D.Text.Length());
  const Integer Line = D.Text.LineFromChar(Pos);
  const TEditLine& L = LineAt(D, Line);
  const Integer K = std::min(Pos - L.Start, L.Length);
  Integer X = 0;
  if (K > 0) {
    EditLineEnds(D, Line, GEnds);
    X = GEnds[static_cast<std::size_t>(K) - 1];
  }
  return {LineOrigin(D, Line) + X, LineTop(D, Line)};
}

Integer EditLineEndPos(const TEditData& D, Integer Line) {
  const TEditLine& L = LineAt(D, Line);
  if (L.Break == 0 && Line + 1 < D.Text.LineCount() && L.Length > 0 &&
      TEditText::IsBlank(D.Text.At(L.End() - 1)))
    return L.End() - 1;
  return L.End();
}

Integer EditCharFromX(TEditData& D, Integer Line, Integer X) {
  const TEditLine& L = LineAt(D, Line);
  const Integer Last = EditLineEndPos(D, Line) - L.Start;
  EditLineEnds(D, Line, GEnds);
  Integer K = 0;
  Integer Prev = 0;
  while (K < Last) {
    const Integer Next = GEnds[static_cast<std::size_t>(K)];
    if (X < (Prev + Next) / 2) break;
    Prev = Next;
    ++K;
  }
  Integer Pos = L.Start + K;
  // Never between the halves of a surrogate pair.
  if (Pos > L.Start && Pos < D.Text.Length() && D.Text.At(Pos) >= 0xDC00 && D.Text.At(Pos) <= 0xDFFF) --Pos;
  return Pos;
}

Integer EditCharOnLine(TEditData& D, Integer Line, Integer X) {
  Line = std::clamp(Line, 0, D.Text.LineCount() - 1);
  return EditCharFromX(D, Line, X - LineOrigin(D, Line));
}

Integer EditCharFromPoint(TEditData& D, TPoint P, Integer* LineOut) {
  Integer Line = 0;
  if (IsMultiLine(D)) {
    const Integer H = EditLineHeight(D);
    const Integer Dy = P.Y - D.Format.Top;
    Line = D.TopLine + (Dy >= 0 ? Dy / H : -((-Dy + H - 1) / H));
    Line = std::clamp(Line, 0, D.Text.LineCount() - 1);
  }
  if (LineOut != nullptr) *LineOut = Line;
  return EditCharFromX(D, Line, P.X - LineOrigin(D, Line));
}

bool EditScrollTo(TEditData& D, Integer TopLine, Integer XOffset) {
  TopLine = std::clamp(TopLine, 0, MaxTopLine(D));
  XOffset = ScrollsSideways(D) ? std::max(0, XOffset) : 0;
  if (TopLine == D.TopLine && XOffset == D.XOffset) return false;
  D.TopLine = TopLine;
  D.XOffset = XOffset;
  EditInvalidate(D);
  EditUpdateCaret(D);
  EditUpdateScrollBars(D);
  return true;
}

bool EditScrollCaret(TEditData& D) {
  Integer Top = D.TopLine, XO = D.XOffset;
  if (IsMultiLine(D)) {
    const Integer Line = D.Text.LineFromChar(D.Caret), V = EditVisibleLines(D);
    if (Line < Top)
      Top = Line;
    else if (Line >= Top + V)
      Top = Line - V + 1;
  }
  const Integer W = D.Format.Width();
  if (ScrollsSideways(D) && W > 0) {
    // The caret's x in the unscrolled line.
    const Integer X = EditPosFromChar(D, D.Caret).X - D.Format.Left + D.XOffset;
    if (X < XO)
      XO = std::max(0, X - W / 3);
    else if (X >= XO + W)
      XO = X - W + W / 3 + 1;
  }
  return EditScrollTo(D, Top, XO);
}

void EditUpdateCaret(TEditData& D) {
  if (!D.Focused) return;
  const TPoint P = EditPosFromChar(D, D.Caret);
  SetCaretPos(P.X, P.Y);
}

void EditUpdateScrollBars(TEditData& D) {
  const DWORD Style = EditStyle(D);
  if (!(Style & ES_MULTILINE)) return;
  auto Apply = [&D](Integer Bar, SCROLLINFO& Last, Integer Max, Integer Page, Integer Pos) {
    SCROLLINFO SI;
    SI.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    SI.nMin = 0;
    SI.nMax = std::max(0, Max);
    SI.nPage = static_cast<UINT>(std::max(0, Page));
    SI.nPos = Pos;
    if (Last.fMask == SI.fMask && Last.nMax == SI.nMax && Last.nPage == SI.nPage && Last.nPos == SI.nPos)
      return;
    Last = SI;
    SetScrollInfo(D.Wnd, Bar, &SI, TRUE);
  };
  if (Style & WS_VSCROLL) Apply(SB_VERT, D.LastV, D.Text.LineCount() - 1, EditVisibleLines(D), D.TopLine);
  if (Style & WS_HSCROLL) Apply(SB_HORZ, D.LastH, D.Text.MaxWidth() - 1, D.Format.Width(), D.XOffset);
}

void EditInvalidate(TEditData& D) {
  InvalidateRect(D.Wnd, nullptr, TRUE);
}

Integer EditVScroll(TEditData& D, WORD Code, Integer Thumb) {
  const Integer Old = D.TopLine;
  Integer Top;
  if (!ScrollRequestTarget(Code, Old, 1, EditVisibleLines(D), D.Text.LineCount(), Thumb, Top)) return 0;
  NotifyCommand(D.Wnd, EN_VSCROLL);
  EditScrollTo(D, Top, D.XOffset);
  return D.TopLine - Old;
}

Integer EditHScroll(TEditData& D, WORD Code, Integer Thumb) {
  const Integer Old = D.XOffset, Step = std::max(1, D.Metrics.AveCharWidth);
  Integer X;
  if (!ScrollRequestTarget(Code, Old, Step, D.Format.Width(), D.Text.MaxWidth(), Thumb, X)) return 0;
  NotifyCommand(D.Wnd, EN_HSCROLL);
  EditScrollTo(D, D.TopLine, std::min(X, std::max(0, D.Text.MaxWidth() - D.Format.Width() + 1)));
  return D.XOffset - Old;
}

namespace {

// One run of a line, split at tabs so each piece goes where the measuring put it.
void DrawRun(TEditData& D, HDC DC, const char16_t* Units, Integer X0, Integer Y, Integer From, Integer To,
             const std::vector<Integer>& Ends) {
  const bool Tabs = IsMultiLine(D) && D.PasswordChar == 0;
  Integer I = From;
  while (I < To) {
    Integer J = I;
    while (J < To && !(Tabs && Units[J] == u'\t')) ++J;
    if (J > I) {
      const Integer X = X0 + (I > 0 ? Ends[static_cast<std::size_t>(I) - 1] : 0);
      ExtTextOutW(DC, X, Y, 0, nullptr, Units + I, static_cast<UINT>(J - I), nullptr);
    }
    I = J < To ? J + 1 : J;
  }
}

void DrawLine(TEditData& D, HDC DC, Integer Line, Integer SelA, Integer SelB) {
  const TEditLine& L = LineAt(D, Line);
  const Integer Len = L.Length;
  if (Len == 0) return;
  const Integer Y = LineTop(D, Line), X0 = LineOrigin(D, Line), H = EditLineHeight(D);
  std::u16string Masked;
  const char16_t* Units = D.Text.Str().data() + L.Start;
  if (D.PasswordChar != 0) {
    Masked.assign(static_cast<std::size_t>(Len), D.PasswordChar);
    Units = Masked.data();
  }
  std::vector<Integer> Ends;
  EditLineEnds(D, Line, Ends);
  auto XAt = [&](Integer K) { return X0 + (K > 0 ? Ends[static_cast<std::size_t>(K) - 1] : 0); };
  const Integer A = std::clamp(SelA - L.Start, 0, Len), B = std::clamp(SelB - L.Start, 0, Len);
  DrawRun(D, DC, Units, X0, Y, 0, A, Ends);
  if (B > A) {
    const RECT R{XAt(A), Y, XAt(B), Y + H};
    FillRect(DC, &R, GetSysColorBrush(COLOR_HIGHLIGHT));
    const COLORREF OldText = SetTextColor(DC, GetSysColor(COLOR_HIGHLIGHTTEXT));
    const Integer OldMode = SetBkMode(DC, TRANSPARENT);
    DrawRun(D, DC, Units, X0, Y, A, B, Ends);
    SetBkMode(DC, OldMode);
    SetTextColor(DC, OldText);
  }
  DrawRun(D, DC, Units, X0, Y, B, Len, Ends);
}

}  // namespace

void EditPaint(HWND Wnd, HDC DC) {
  TEditData* PD = EditDataOf(Wnd);
  if (PD == nullptr) return;
  TEditData& D = *PD;
  const DWORD Style = EditStyle(D);
  const bool Enabled = IsWindowEnabled(Wnd) != FALSE;
  const bool Static = (Style & ES_READONLY) || !Enabled;
  HBRUSH Brush = ControlColorBrush(Wnd, DC, Static ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT);
  if ((PD = EditDataOf(Wnd)) == nullptr) return;
  if (!Enabled) SetTextColor(DC, GetSysColor(COLOR_GRAYTEXT));
  const HGDIOBJ OldFont = SelectObject(DC, ControlFontOrSystem(D.Font));
  RECT Clip;
  GetClipBox(DC, &Clip);
  const TRect Client = ClientRectOf(Wnd);
  const RECT Fill{std::max(Clip.Left, Client.Left), std::max(Clip.Top, Client.Top),
                  std::min(Clip.Right, Client.Right), std::min(Clip.Bottom, Client.Bottom)};
  if (Fill.Left < Fill.Right && Fill.Top < Fill.Bottom) FillRect(DC, &Fill, Brush);
  const Integer Saved = SaveDC(DC);
  IntersectClipRect(DC, D.Format.Left, D.Format.Top, D.Format.Right, D.Format.Bottom);
  const bool ShowSel = Enabled && D.Anchor != D.Caret && (D.Focused || (Style & ES_NOHIDESEL));
  const Integer SelA = ShowSel ? SelMin(D) : 0, SelB = ShowSel ? SelMax(D) : 0;
  const Integer H = EditLineHeight(D);
  const Integer First = IsMultiLine(D) ? D.TopLine : 0;
  const Integer Shown = IsMultiLine(D) ? (D.Format.Height() + H - 1) / H : 1;
  const Integer Last = std::min(D.Text.LineCount() - 1, First + Shown - 1);
  for (Integer Line = First; Line <= Last; ++Line) {
    const Integer Y = LineTop(D, Line);
    if (Y >= Clip.Bottom) break;
    if (Y + H <= Clip.Top) continue;
    DrawLine(D, DC, Line, SelA, SelB);
  }
  RestoreDC(DC, Saved);
  SelectObject(DC, OldFont);
}

#include "platform/gdi/TextLayout.h"

#include <algorithm>

namespace {

constexpr std::u16string_view Ellipsis = u"...";

bool IsHighSurrogate(char16_t C) {
  return C >= 0xD800 && C <= 0xDBFF;
}
bool IsLowSurrogate(char16_t C) {
  return C >= 0xDC00 && C <= 0xDFFF;
}
bool IsBreakSpace(char16_t C) {
  return C == u' ' || C == u'\t';
}

// Index after the character at I.
std::size_t NextChar(std::u16string_view S, std::size_t I) {
  if (IsHighSurrogate(S[I]) && I + 1 < S.size() && IsLowSurrogate(S[I + 1])) return I + 2;
  return I + 1;
}

// A line of visible text with the position of its prefix character (npos: none).
struct TLine {
  std::u16string Text;
  std::size_t Prefix = std::u16string::npos;
};

class TLayouter {
 public:
  TLayouter(UINT Format, const TTextLayoutMetrics& M, const TTextMeasure& Measure) : FMeasure(Measure) {
    Integer TabChars = 8;
    if (Format & DT_TABSTOP) {
      TabChars = static_cast<Integer>((Format >> 8) & 0xFF);
      Format &= ~0xFF00u;
    }
    FFormat = Format;
    FTabChars = TabChars;
    FAveChar = M.AveCharWidth;
    FLineHeight = M.Height + ((Format & DT_EXTERNALLEADING) ? M.ExternalLeading : 0);
    FUnderlineRow = M.UnderlineRow;
  }
  void SetTabLength(Integer Chars) {
    if (Chars > 0) FTabChars = Chars;
  }
  UINT Format() const { return FFormat; }
  Integer LineHeight() const { return FLineHeight; }
  Integer UnderlineRow() const { return FUnderlineRow; }
  bool ExpandTabs() const { return (FFormat & DT_EXPANDTABS) != 0; }
  Integer TabWidth() const { return std::max(1, FTabChars * FAveChar); }

  // Next tab stop after X (relative to the line's start).
  Integer TabStop(Integer X) const {
    const Integer W = TabWidth();
    return (X / W + 1) * W;
  }
  // Width of S drawn from X (relative to the line's start): tab stops apply with DT_EXPANDTABS.
  Integer Width(std::u16string_view S, Integer X = 0) const {
    if (!ExpandTabs()) return S.empty() ? 0 : FMeasure(S);
    const Integer X0 = X;
    std::size_t From = 0;
    for (std::size_t I = 0; I <= S.size(); ++I) {
      if (I == S.size() || S[I] == u'\t') {
        if (I > From) X += FMeasure(S.substr(From, I - From));
        if (I < S.size()) X = TabStop(X);
        From = I + 1;
      }
    }
    return X - X0;
  }

  // Splits the text into paragraphs and strips the prefixes.
  std::vector<TLine> Paragraphs(std::u16string_view Text) const {
    std::vector<TLine> Out;
    const bool Single = (FFormat & DT_SINGLELINE) != 0;
    std::size_t Start = 0;
    for (std::size_t I = 0; I <= Text.size(); ++I) {
      const bool End = I == Text.size();
      if (!End && (Single || (Text[I] != u'\r' && Text[I] != u'\n'))) continue;
      Out.push_back(StripPrefix(Text.substr(Start, I - Start)));
      if (End) break;
      // A pair of different break characters (CR LF or LF CR) is one break.
      if (I + 1 < Text.size() && (Text[I + 1] == u'\r' || Text[I + 1] == u'\n') && Text[I + 1] != Text[I])
        ++I;
      Start = I + 1;
      if (Start == Text.size()) break;  // a final line break opens no further line
    }
    return Out;
  }

  // Breaks a paragraph into lines of at most MaxWidth pixels.
  void WordBreak(const TLine& P, Integer MaxWidth, std::vector<TLine>& Lines) const {
    const std::u16string_view S = P.Text;
    const std::size_t N = S.size();
    std::size_t Pos = 0;
    do {
      const std::size_t Start = Pos;
      std::size_t End = Start;  // end of the line's content
      std::size_t Next = N;     // where the next line starts
      Integer X = 0;
      bool HasWord = false;
      std::size_t I = Start;
      while (I < N) {
        std::size_t J = I;
        Integer WsX = X;
        while (J < N && IsBreakSpace(S[J])) {
          WsX = S[J] == u'\t' && ExpandTabs() ? TabStop(WsX) : WsX + FMeasure(S.substr(J, 1));
          ++J;
        }
        std::size_t K = J;
        while (K < N && !IsBreakSpace(S[K])) ++K;
        if (K == J) break;  // only white space is left: it ends the paragraph
        const Integer WordW = Width(S.substr(J, K - J), WsX);
        if (WsX + WordW > MaxWidth) {
          if (HasWord) {
            Next = J;
            break;
          }
          if (FFormat & DT_EDITCONTROL) {
            // Break inside the word, keeping at least one character.
            std::size_t M = NextChar(S, J);
            while (M < K) {
              const std::size_t M2 = NextChar(S, M);
              if (WsX + Width(S.substr(J, M2 - J), WsX) > MaxWidth) break;
              M = M2;
            }
            End = M;
            Next = M;
            HasWord = true;
            break;
          }
        }
        X = WsX + WordW;
        End = K;
        I = K;
        HasWord = true;
      }
      if (!HasWord) End = Start;
      TLine L;
      L.Text = std::u16string(S.substr(Start, End - Start));
      if (P.Prefix != std::u16string::npos && P.Prefix >= Start && P.Prefix < End)
        L.Prefix = P.Prefix - Start;
      Lines.push_back(std::move(L));
      Pos = Next;
    } while (Pos < N);
  }

  // Shortens a line wider than MaxWidth with the ellipsis the format asks for.
  bool ApplyEllipsis(TLine& L, Integer MaxWidth) const {
    if (Width(L.Text) <= MaxWidth) return false;
    if (FFormat & DT_PATH_ELLIPSIS) {
      const std::size_t Sep = L.Text.find_last_of(u"\\/");
      if (Sep != std::u16string::npos) {
        const std::u16string Tail = L.Text.substr(Sep);
        const Integer Keep = Width(Ellipsis) + Width(Tail);
        const std::size_t K = FitPrefix(L.Text, Sep, MaxWidth - Keep);
        const std::size_t OldPrefix = L.Prefix;
        L.Text = L.Text.substr(0, K) + std::u16string(Ellipsis) + Tail;
        if (OldPrefix != std::u16string::npos) {
          if (OldPrefix < K)
            L.Prefix = OldPrefix;
          else if (OldPrefix >= Sep)
            L.Prefix = OldPrefix - Sep + K + Ellipsis.size();
          else
            L.Prefix = std::u16string::npos;
        }
        if ((FFormat & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS)) && Width(L.Text) > MaxWidth)
          EndEllipsis(L, MaxWidth);
        return true;
      }
    }
    EndEllipsis(L, MaxWidth);
    return true;
  }

 private:
  UINT FFormat = 0;
  Integer FTabChars = 8;
  Integer FAveChar = 0;
  Integer FLineHeight = 0;
  Integer FUnderlineRow = 0;
  const TTextMeasure& FMeasure;

  TLine StripPrefix(std::u16string_view S) const {
    TLine L;
    if (FFormat & DT_NOPREFIX) {
      L.Text = std::u16string(S);
      return L;
    }
    L.Text.reserve(S.size());
    for (std::size_t I = 0; I < S.size(); ++I) {
      if (S[I] != u'&') {
        L.Text += S[I];
        continue;
      }
      if (I + 1 >= S.size()) break;  // a trailing '&' shows nothing
      ++I;
      if (S[I] != u'&' && L.Prefix == std::u16string::npos) L.Prefix = L.Text.size();
      L.Text += S[I];
    }
    return L;
  }

  // The longest start of S[0, Limit) (in whole characters) not wider than MaxWidth.
  std::size_t FitPrefix(std::u16string_view S, std::size_t Limit, Integer MaxWidth) const {
    std::size_t K = 0;
    Integer X = 0;
    while (K < Limit) {
      const std::size_t K2 = NextChar(S, K);
      const Integer X2 = S[K] == u'\t' && ExpandTabs() ? TabStop(X) : X + FMeasure(S.substr(K, K2 - K));
      if (X2 > MaxWidth) break;
      X = X2;
      K = K2;
    }
    return K;
  }

  void EndEllipsis(TLine& L, Integer MaxWidth) const {
    const std::size_t K = FitPrefix(L.Text, L.Text.size(), MaxWidth - Width(Ellipsis));
    L.Text = L.Text.substr(0, K) + std::u16string(Ellipsis);
    if (L.Prefix != std::u16string::npos && L.Prefix >= K) L.Prefix = std::u16string::npos;
  }
};

}  // namespace

TTextLayout LayoutDrawText(std::u16string_view Text, const TRect& Rect, UINT Format,
                           const TTextLayoutMetrics& Metrics, const TTextMeasure& Measure,
                           const DRAWTEXTPARAMS* Params) {
  TTextLayout Out;
  Out.Rect = Rect;
  Out.LengthDrawn = static_cast<UINT>(Text.size());
  TLayouter L(Format, Metrics, Measure);
  if (Params) L.SetTabLength(Params->iTabLength);
  Format = L.Format();
  const bool Calc = (Format & DT_CALCRECT) != 0;
  if (Text.empty()) {
    if (Calc) Out.Rect = TRect{Rect.Left, Rect.Top, Rect.Left, Rect.Top};
    return Out;
  }
  const Integer Left = Rect.Left + (Params ? Params->iLeftMargin : 0);
  const Integer Right = Rect.Right - (Params ? Params->iRightMargin : 0);
  const Integer MaxWidth = std::max(0, Right - Left);
  const bool Single = (Format & DT_SINGLELINE) != 0;

  std::vector<TLine> Paragraphs = L.Paragraphs(Text);
  std::vector<TLine> Lines;
  if ((Format & DT_WORDBREAK) && !Single) {
    for (const TLine& P : Paragraphs) L.WordBreak(P, MaxWidth, Lines);
  } else {
    Lines = std::move(Paragraphs);
  }
  if (Format & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS | DT_WORD_ELLIPSIS)) {
    for (TLine& Line : Lines) {
      if (L.ApplyEllipsis(Line, MaxWidth) && (Format & DT_MODIFYSTRING) && Lines.size() == 1) {
        Out.Modified = true;
        Out.ModifiedText = Line.Text;
      }
    }
  }

  const Integer LineH = L.LineHeight();
  const Integer TextH = LineH * static_cast<Integer>(Lines.size());
  std::vector<Integer> Widths(Lines.size());
  Integer MaxLine = 0;
  for (std::size_t I = 0; I < Lines.size(); ++I) {
    Widths[I] = L.Width(Lines[I].Text);
    MaxLine = std::max(MaxLine, Widths[I]);
  }
  if (Calc) {
    Out.Rect.Right = Left + MaxLine + (Params ? Params->iRightMargin : 0);
    Out.Rect.Bottom = Rect.Top + TextH;
    Out.Result = TextH;
    return Out;
  }

  Integer Y = Rect.Top;
  if (Single && (Format & DT_VCENTER))
    Y = Rect.Top + (Rect.Height() - TextH) / 2;
  else if (Single && (Format & DT_BOTTOM))
    Y = Rect.Bottom - TextH;
  Out.Result = Y + TextH - Rect.Top;

  const bool DrawRuns = (Format & DT_PREFIXONLY) == 0;
  const bool DrawUnderlines = (Format & (DT_NOPREFIX | DT_HIDEPREFIX)) == 0;
  for (std::size_t I = 0; I < Lines.size(); ++I, Y += LineH) {
    // An edit control shows no partly visible line after the first.
    if ((Format & DT_EDITCONTROL) && I > 0 && Y + LineH > Rect.Bottom) break;
    const TLine& Line = Lines[I];
    Integer X = Left;
    if (Format & DT_CENTER)
      X = Left + (MaxWidth - Widths[I]) / 2;
    else if (Format & DT_RIGHT)
      X = Right - Widths[I];
    const std::u16string_view S = Line.Text;
    if (DrawRuns && !S.empty()) {
      if (!L.ExpandTabs()) {
        Out.Runs.push_back({X, Y, Line.Text});
      } else {
        Integer TX = 0;
        std::size_t From = 0;
        for (std::size_t K = 0; K <= S.size(); ++K) {
          if (K < S.size() && S[K] != u'\t') continue;
          if (K > From) {
            Out.Runs.push_back({X + TX, Y, std::u16string(S.substr(From, K - From))});
            TX += Measure(S.substr(From, K - From));
          }
          if (K < S.size()) TX = L.TabStop(TX);
          From = K + 1;
        }
      }
    }
    if (DrawUnderlines && Line.Prefix != std::u16string::npos && Line.Prefix < S.size()) {
      const std::size_t P = Line.Prefix;
      const Integer X0 = X + L.Width(S.substr(0, P));
      const Integer W = L.Width(S.substr(P, NextChar(S, P) - P), X0 - X);
      Out.Underlines.push_back({X0, X0 + W, Y + L.UnderlineRow()});
    }
  }
  return Out;
}

#include "platform/user/EditText.h"

#include <algorithm>

namespace {

bool IsHighSurrogate(char16_t C) {
  return C >= 0xD800 && C <= 0xDBFF;
}
bool IsLowSurrogate(char16_t C) {
  return C >= 0xDC00 && C <= 0xDFFF;
}
bool IsLineBreakUnit(char16_t C) {
  return C == u'\r' || C == u'\n';
}

}  // namespace

TEditText::TEditText() {
  FLines.push_back(TEditLine{});
}

std::u16string_view TEditText::Range(Integer Start, Integer End) const {
  Start = std::clamp(Start, 0, Length());
  End = std::clamp(End, Start, Length());
  return std::u16string_view(FText).substr(static_cast<std::size_t>(Start),
                                           static_cast<std::size_t>(End - Start));
}

void TEditText::Replace(Integer Start, Integer End, std::u16string_view With, bool Undoable) {
  Start = std::clamp(Start, 0, Length());
  End = std::clamp(End, Start, Length());
  std::u16string Removed;
  if (Undoable && End > Start)
    Removed = FText.substr(static_cast<std::size_t>(Start), static_cast<std::size_t>(End - Start));
  FText.replace(static_cast<std::size_t>(Start), static_cast<std::size_t>(End - Start), With);
  if (!Undoable) return;
  const Integer N = static_cast<Integer>(With.size());
  if (!Removed.empty()) {
    const bool Deleting = FUndo.Inserted == 0 && !FUndo.Removed.empty() && N == 0;
    if (Deleting && End == FUndo.Pos) {  // Backspace in a row
      FUndo.Removed.insert(0, Removed);
      FUndo.Pos = Start;
    } else if (Deleting && Start == FUndo.Pos) {  // Delete in a row
      FUndo.Removed += Removed;
    } else {
      FUndo.Pos = Start;
      FUndo.Removed = std::move(Removed);
      FUndo.Inserted = N;
    }
  } else if (N > 0) {
    if (FUndo.Inserted > 0 && Start == FUndo.Pos + FUndo.Inserted) {
      FUndo.Inserted += N;
    } else {
      FUndo.Pos = Start;
      FUndo.Removed.clear();
      FUndo.Inserted = N;
    }
  }
}

void TEditText::SetText(std::u16string_view Text) {
  FText.assign(Text);
  FUndo = TEditUndo();
}

std::pair<Integer, Integer> TEditText::Undo() {
  if (FUndo.Empty()) return {0, 0};
  const Integer Pos = std::min(FUndo.Pos, Length());
  const Integer Count = std::min(FUndo.Inserted, Length() - Pos);
  std::u16string Taken = FText.substr(static_cast<std::size_t>(Pos), static_cast<std::size_t>(Count));
  FText.replace(static_cast<std::size_t>(Pos), static_cast<std::size_t>(Count), FUndo.Removed);
  const Integer Restored = static_cast<Integer>(FUndo.Removed.size());
  FUndo.Pos = Pos;
  FUndo.Removed = std::move(Taken);
  FUndo.Inserted = Restored;
  return {Pos, Pos + Restored};
}

void TEditText::Layout(const TEditMeasure& Measure, bool MultiLine, bool Wrap, Integer WrapWidth) {
  FLines.clear();
  FMaxWidth = 0;
  const Integer N = Length();
  if (!MultiLine) {
    LayoutParagraph(Measure, 0, N, 0, false, 0);
    return;
  }
  Integer S = 0;
  for (;;) {
    Integer E = S;
    while (E + 1 < N &&
           !(FText[static_cast<std::size_t>(E)] == u'\r' && FText[static_cast<std::size_t>(E) + 1] == u'\n'))
      ++E;
    if (E + 1 >= N) {
      LayoutParagraph(Measure, S, N, 0, Wrap, WrapWidth);
      return;
    }
    LayoutParagraph(Measure, S, E, 2, Wrap, WrapWidth);
    S = E + 2;
  }
}

void TEditText::LayoutParagraph(const TEditMeasure& Measure, Integer Start, Integer End, Integer Break,
                                bool Wrap, Integer WrapWidth) {
  const Integer N = End - Start;
  auto Push = [&](Integer S, Integer Len, Integer Brk, Integer Width) {
    FLines.push_back(TEditLine{S, Len, Brk, Width});
    FMaxWidth = std::max(FMaxWidth, Width);
  };
  if (N == 0) {
    Push(Start, 0, Break, 0);
    return;
  }
  const char16_t* P = FText.data() + Start;
  Measure(P, N, FEnds);
  if (!Wrap) {
    Push(Start, N, Break, FEnds[static_cast<std::size_t>(N) - 1]);
    return;
  }
  WrapWidth = std::max(WrapWidth, 0);
  const bool HasTab = std::find(P, P + N, u'\t') != P + N;
  // Ends are measured from Origin; a wrapped line's tabs count from its own start, so a
  // paragraph with tabs is measured again from each line's start.
  Integer Origin = 0;
  Integer L = 0;
  auto X = [&](Integer K) { return K <= Origin ? 0 : FEnds[static_cast<std::size_t>(K - Origin - 1)]; };
  for (;;) {
    if (HasTab && L > Origin) {
      Measure(P + L, N - L, FEnds);
      Origin = L;
    }
    const Integer Base = X(L);
    Integer K = L;
    while (K < N && X(K + 1) - Base <= WrapWidth) ++K;
    if (K == N) {
      Push(Start + L, N - L, Break, X(N) - Base);
      return;
    }
    if (K > L && IsHighSurrogate(P[K - 1]) && IsLowSurrogate(P[K])) --K;  // keep pairs whole
    if (K == L) {
      K = L + 1;
      if (K < N && IsHighSurrogate(P[K - 1]) && IsLowSurrogate(P[K])) ++K;
      if (K >= N) {
        Push(Start + L, N - L, Break, X(N) - Base);
        return;
      }
    }
    Integer B = K;
    if (IsBlank(P[K])) {
      while (B < N && IsBlank(P[B])) ++B;  // the blanks hang past the width
    } else {
      Integer J = K;
      while (J > L && !IsBlank(P[J - 1])) --J;
      if (J > L) B = J;
    }
    Integer Visible = B;
    while (Visible > L && IsBlank(P[Visible - 1])) --Visible;
    const Integer Width = X(Visible) - Base;
    if (B >= N) {
      Push(Start + L, N - L, Break, Width);
      return;
    }
    Push(Start + L, B - L, 0, Width);
    L = B;
  }
}

Integer TEditText::LineFromChar(Integer Pos) const {
  auto It = std::upper_bound(FLines.begin(), FLines.end(), Pos,
                             [](Integer P, const TEditLine& Line) { return P < Line.Start; });
  if (It == FLines.begin()) return 0;
  return static_cast<Integer>(It - FLines.begin()) - 1;
}

Integer TEditText::StepLeft(Integer Pos) const {
  if (Pos <= 0) return 0;
  if (Pos > Length()) return Length();
  if (Pos >= 2) {
    const char16_t A = FText[static_cast<std::size_t>(Pos) - 2], B = FText[static_cast<std::size_t>(Pos) - 1];
    if ((A == u'\r' && B == u'\n') || (IsHighSurrogate(A) && IsLowSurrogate(B))) return Pos - 2;
  }
  return Pos - 1;
}

Integer TEditText::StepRight(Integer Pos) const {
  const Integer N = Length();
  if (Pos >= N) return N;
  if (Pos < 0) return 0;
  if (Pos + 1 < N) {
    const char16_t A = FText[static_cast<std::size_t>(Pos)], B = FText[static_cast<std::size_t>(Pos) + 1];
    if ((A == u'\r' && B == u'\n') || (IsHighSurrogate(A) && IsLowSurrogate(B))) return Pos + 2;
  }
  return Pos + 1;
}

Integer TEditText::WordLeft(Integer Pos) const {
  Integer P = std::clamp(Pos, 0, Length());
  while (P > 0 && IsDelimiter(FText[static_cast<std::size_t>(P) - 1])) --P;
  while (P > 0 && !IsDelimiter(FText[static_cast<std::size_t>(P) - 1])) --P;
  return P;
}

Integer TEditText::WordRight(Integer Pos) const {
  const Integer N = Length();
  Integer P = std::clamp(Pos, 0, N);
  while (P < N && !IsDelimiter(FText[static_cast<std::size_t>(P)])) ++P;
  while (P < N && IsBlank(FText[static_cast<std::size_t>(P)])) ++P;
  if (P == Pos && P < N && IsLineBreakUnit(FText[static_cast<std::size_t>(P)])) {
    P = StepRight(P);  // at a line's end: on to the next line's first word
    while (P < N && IsBlank(FText[static_cast<std::size_t>(P)])) ++P;
  }
  return P;
}

std::pair<Integer, Integer> TEditText::WordAt(Integer Pos) const {
  const Integer N = Length();
  Pos = std::clamp(Pos, 0, N);
  auto Unit = [&](Integer I) { return FText[static_cast<std::size_t>(I)]; };
  if (Pos < N && IsBlank(Unit(Pos))) {
    Integer S = Pos, E = Pos;
    while (S > 0 && IsBlank(Unit(S - 1))) --S;
    while (E < N && IsBlank(Unit(E))) ++E;
    return {S, E};
  }
  Integer S = Pos, E = Pos;
  while (S > 0 && !IsDelimiter(Unit(S - 1))) --S;
  while (E < N && !IsDelimiter(Unit(E))) ++E;
  while (E < N && IsBlank(Unit(E))) ++E;
  return {S, E};
}

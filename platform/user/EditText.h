#pragma once
// The text of an edit control: UTF-16 units (the positions the platform's edit messages count),
// its lines, word boundaries and the single-level undo record.
//
// Lines of a multi-line text end at "\r\n" (a lone CR or LF is an ordinary character, as in the
// classic control) and, with word wrap, after the last blank that fits the width, or inside a
// word longer than the width. Blanks at the end of a wrapped line hang past the width.
//
// Undo keeps one record: the position, the units the last edit removed and how many it
// inserted. Typing on at the end of the inserted run, Backspace or Delete in a row extend the
// record; anything else starts a new one. Undoing swaps the record, so a second undo redoes.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/system/Types.h"

struct TEditLine {
  Integer Start = 0;   // first unit
  Integer Length = 0;  // units shown (without the line break)
  Integer Break = 0;   // units of the line break after it: 2 for "\r\n", 0 for a wrap or the end
  Integer Width = 0;   // pixels
  Integer End() const { return Start + Length; }
  Integer Next() const { return Start + Length + Break; }
};

// Pixel extents of a run that starts a line: Ends[i] = the x just after unit i (tabs expanded
// from the run's start). Ends gets Count entries.
using TEditMeasure = std::function<void(const char16_t* Text, Integer Count, std::vector<Integer>& Ends)>;

struct TEditUndo {
  Integer Pos = 0;
  std::u16string Removed;  // put back by an undo
  Integer Inserted = 0;    // taken out by an undo
  bool Empty() const { return Removed.empty() && Inserted == 0; }
};

class TEditText {
 public:
  TEditText();

  const std::u16string& Str() const { return FText; }
  Integer Length() const { return static_cast<Integer>(FText.size()); }
  char16_t At(Integer Pos) const { return FText[static_cast<std::size_t>(Pos)]; }
  std::u16string_view Range(Integer Start, Integer End) const;

  // Replaces [Start, End) with With. With Undoable the undo record is extended or renewed;
  // otherwise it is left as it is (the caller empties it where the platform does). The lines
  // are stale until the next Layout.
  void Replace(Integer Start, Integer End, std::u16string_view With, bool Undoable);
  void SetText(std::u16string_view Text);
  // Puts back a text and undo record kept before an edit that was refused.
  void Restore(std::u16string Text, TEditUndo Undo) {
    FText = std::move(Text);
    FUndo = std::move(Undo);
  }

  // Undo: the record, whether there is one, and the swap. Undo returns the range the restored
  // text now covers (Start, End), for the caller to select.
  const TEditUndo& UndoRecord() const { return FUndo; }
  bool CanUndo() const { return !FUndo.Empty(); }
  void EmptyUndo() { FUndo = TEditUndo(); }
  std::pair<Integer, Integer> Undo();

  // Lines. Single-line texts are one line whatever they hold. Wrap breaks multi-line texts to
  // WrapWidth pixels (at least one unit a line).
  void Layout(const TEditMeasure& Measure, bool MultiLine, bool Wrap, Integer WrapWidth);
  const std::vector<TEditLine>& Lines() const { return FLines; }
  Integer LineCount() const { return static_cast<Integer>(FLines.size()); }
  // The line holding Pos (a position where a wrapped line ends belongs to the next line).
  Integer LineFromChar(Integer Pos) const;
  // The widest line in pixels.
  Integer MaxWidth() const { return FMaxWidth; }

  // Positions one step away: Left and Right step over "\r\n" as one; word steps skip blanks
  // and line breaks, then the word (left) or the word and the blanks after it (right).
  Integer StepLeft(Integer Pos) const;
  Integer StepRight(Integer Pos) const;
  Integer WordLeft(Integer Pos) const;
  Integer WordRight(Integer Pos) const;
  // The word at Pos with the blanks after it, or the run of blanks at Pos.
  std::pair<Integer, Integer> WordAt(Integer Pos) const;
  static bool IsBlank(char16_t C) { return C == u' ' || C == u'\t'; }
  static bool IsDelimiter(char16_t C) { return C == u' ' || C == u'\t' || C == u'\r' || C == u'\n'; }

 private:
  void LayoutParagraph(const TEditMeasure& Measure, Integer Start, Integer End, Integer Break, bool Wrap,
                       Integer WrapWidth);

  std::u16string FText;
  std::vector<TEditLine> FLines;
  Integer FMaxWidth = 0;
  TEditUndo FUndo;
  std::vector<Integer> FEnds;  // scratch for measuring
};

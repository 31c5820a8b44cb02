#pragma once
// The DrawText layout engine as pure logic over a measuring function: line breaks, word breaks,
// tab expansion, '&' prefixes, ellipses, alignment and the rectangle DT_CALCRECT reports. Text is
// UTF-16; surrogate pairs are never split. Widths are additive (the platform's text output does
// not kern), so a string's width is the sum of its pieces' widths.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/system/WinTypes.h"

constexpr UINT DT_TOP = 0x00000000;
constexpr UINT DT_LEFT = 0x00000000;
constexpr UINT DT_CENTER = 0x00000001;
constexpr UINT DT_RIGHT = 0x00000002;
constexpr UINT DT_VCENTER = 0x00000004;
constexpr UINT DT_BOTTOM = 0x00000008;
constexpr UINT DT_WORDBREAK = 0x00000010;
constexpr UINT DT_SINGLELINE = 0x00000020;
constexpr UINT DT_EXPANDTABS = 0x00000040;
constexpr UINT DT_TABSTOP = 0x00000080;
constexpr UINT DT_NOCLIP = 0x00000100;
constexpr UINT DT_EXTERNALLEADING = 0x00000200;
constexpr UINT DT_CALCRECT = 0x00000400;
constexpr UINT DT_NOPREFIX = 0x00000800;
constexpr UINT DT_INTERNAL = 0x00001000;
constexpr UINT DT_EDITCONTROL = 0x00002000;
constexpr UINT DT_PATH_ELLIPSIS = 0x00004000;
constexpr UINT DT_END_ELLIPSIS = 0x00008000;
constexpr UINT DT_MODIFYSTRING = 0x00010000;
constexpr UINT DT_RTLREADING = 0x00020000;
constexpr UINT DT_WORD_ELLIPSIS = 0x00040000;
constexpr UINT DT_NOFULLWIDTHCHARBREAK = 0x00080000;
constexpr UINT DT_HIDEPREFIX = 0x00100000;
constexpr UINT DT_PREFIXONLY = 0x00200000;

struct DRAWTEXTPARAMS {
  UINT cbSize = sizeof(DRAWTEXTPARAMS);
  Integer iTabLength = 0;  // tab stops in average character widths; 0: the default 8
  Integer iLeftMargin = 0;
  Integer iRightMargin = 0;
  UINT uiLengthDrawn = 0;  // out: characters processed
};

// Width in pixels of a piece of text without tabs or line breaks.
using TTextMeasure = std::function<Integer(std::u16string_view)>;

struct TTextLayoutMetrics {
  Integer Height = 0;           // tmHeight
  Integer ExternalLeading = 0;  // added to the line height with DT_EXTERNALLEADING
  Integer AveCharWidth = 0;     // tab stops are multiples of it
  Integer UnderlineRow = 0;     // row of the prefix underline, counted from the line's top
};

// One piece of text to draw with its cell's top-left corner.
struct TTextRun {
  Integer X = 0;
  Integer Y = 0;
  std::u16string Text;
};

// A prefix underline: pixels X0 <= x < X1 on row Y.
struct TTextUnderline {
  Integer X0 = 0;
  Integer X1 = 0;
  Integer Y = 0;
};

struct TTextLayout {
  std::vector<TTextRun> Runs;              // empty with DT_CALCRECT and DT_PREFIXONLY
  std::vector<TTextUnderline> Underlines;  // none with DT_CALCRECT, DT_NOPREFIX and DT_HIDEPREFIX
  TRect Rect;          // with DT_CALCRECT the rectangle the text needs, else the one given
  Integer Result = 0;  // DrawText's return value: from the rectangle's top to the text's bottom
  // DT_MODIFYSTRING on a one-line text that an ellipsis shortened: the text as shown.
  bool Modified = false;
  std::u16string ModifiedText;
  UINT LengthDrawn = 0;
};

// Lays out Text in Rect the way DrawText does. Rules kept from the platform:
// - lines end at "\r\n", "\n" or "\r" unless DT_SINGLELINE; DT_VCENTER and DT_BOTTOM act only
//   with DT_SINGLELINE; the return value is the text height (with DT_VCENTER/DT_BOTTOM the offset
//   from the rectangle's top to the text's bottom);
// - DT_WORDBREAK breaks at spaces and tabs and drops the white space at a break; a word longer
//   than the line is not broken (it overflows and DT_CALCRECT widens the rectangle) except with
//   DT_EDITCONTROL, which breaks it between characters;
// - DT_EXPANDTABS puts tab stops every 8 average character widths from the line's start
//   (DT_TABSTOP: bits 8..15 of Format give the count and are no flags then);
// - '&' marks the next character as the prefix (underlined), "&&" is one '&', a trailing '&'
//   is dropped; only the first prefix of a line is underlined;
// - DT_END_ELLIPSIS and DT_WORD_ELLIPSIS shorten a line wider than the rectangle to the longest
//   start that fits with "..." after it; DT_PATH_ELLIPSIS keeps the part from the last '\' or
//   '/' on and shortens what precedes it (a text without a separator is end-shortened);
// - DT_CALCRECT keeps the rectangle's left and top: its right becomes left + the widest line
//   (word-broken text included), its bottom top + the text height; empty text gives an empty
//   rectangle and 0.
TTextLayout LayoutDrawText(std::u16string_view Text, const TRect& Rect, UINT Format,
                           const TTextLayoutMetrics& Metrics, const TTextMeasure& Measure,
                           const DRAWTEXTPARAMS* Params = nullptr);

#include <gtest/gtest.h>

#include <string>

#include "platform/gdi/TextLayout.h"

namespace {

// A fixed measure: every UTF-16 unit is 10 pixels except '.', which is 3 ("..." is 9).
Integer FakeWidth(std::u16string_view S) {
  Integer W = 0;
  for (char16_t C : S) W += C == u'.' ? 3 : 10;
  return W;
}
const TTextMeasure Measure = FakeWidth;
const TTextLayoutMetrics Metrics{16, 3, 10, 14};

TTextLayout Layout(std::u16string_view Text, TRect R, UINT Format, const DRAWTEXTPARAMS* P = nullptr) {
  return LayoutDrawText(Text, R, Format, Metrics, Measure, P);
}

std::u16string Joined(const TTextLayout& L) {
  std::u16string S;
  for (const TTextRun& R : L.Runs) S += (S.empty() ? u"" : u"|") + R.Text;
  return S;
}

TEST(TextLayout, CalcRectGrowsToTheText) {
  struct TCase {
    std::u16string Text;
    TRect In;
    UINT Format;
    TRect Out;
  };
  const TCase Cases[] = {
      {u"Hello", {5, 7, 5, 7}, DT_SINGLELINE, {5, 7, 55, 23}},
      {u"ab\r\nabcd\nx\rz", {0, 0, 0, 0}, 0, {0, 0, 40, 64}},
      {u"ab\n\rcd\n\nx", {0, 0, 0, 0}, 0, {0, 0, 20, 64}},
      {u"aa bb cc dd", {0, 0, 55, 0}, DT_WORDBREAK, {0, 0, 50, 32}},
      // A word longer than the line is kept whole and widens the rectangle.
      {u"abcdef gh", {0, 0, 30, 0}, DT_WORDBREAK, {0, 0, 60, 32}},
      {u"one two three", {0, 0, 0, 0}, DT_WORDBREAK, {0, 0, 50, 48}},
      {u"abc\n", {0, 0, 0, 0}, 0, {0, 0, 30, 16}},
      {u"a\tb", {0, 0, 0, 0}, DT_EXPANDTABS, {0, 0, 90, 16}},
      {u"&File", {0, 0, 0, 0}, DT_SINGLELINE, {0, 0, 40, 16}},
      {u"ab", {0, 0, 0, 0}, DT_EXTERNALLEADING, {0, 0, 20, 19}},
  };
  for (const TCase& C : Cases) {
    const TTextLayout L = Layout(C.Text, C.In, C.Format | DT_CALCRECT);
    EXPECT_EQ(L.Rect, C.Out) << std::string(C.Text.begin(), C.Text.end());
    EXPECT_EQ(L.Result, C.Out.Height());
    EXPECT_TRUE(L.Runs.empty());
  }
  const TTextLayout Empty = Layout(u"", {3, 4, 50, 60}, DT_CALCRECT);
  EXPECT_EQ(Empty.Rect, (TRect{3, 4, 3, 4}));
  EXPECT_EQ(Empty.Result, 0);
}

TEST(TextLayout, WordBreakLines) {
  TTextLayout L = Layout(u"aa bb cc dd", {0, 0, 55, 100}, DT_WORDBREAK);
  EXPECT_EQ(Joined(L), u"aa bb|cc dd");
  EXPECT_EQ(L.Runs[1].Y, 16);
  EXPECT_EQ(L.Result, 32);
  // White space at a break is dropped; explicit line breaks still break.
  L = Layout(u"aa    bb\ncc", {0, 0, 30, 100}, DT_WORDBREAK);
  EXPECT_EQ(Joined(L), u"aa|bb|cc");
  // Only an edit control breaks inside a word.
  L = Layout(u"abcdefg hi", {0, 0, 30, 100}, DT_WORDBREAK | DT_EDITCONTROL);
  EXPECT_EQ(Joined(L), u"abc|def|g|hi");
  // A single line ignores word breaking.
  L = Layout(u"aa bb cc", {0, 0, 30, 100}, DT_WORDBREAK | DT_SINGLELINE);
  EXPECT_EQ(Joined(L), u"aa bb cc");
}

TEST(TextLayout, AlignmentOffsets) {
  const TRect R{10, 20, 110, 60};  // 100 x 40
  struct TCase {
    UINT Format;
    Integer X, Y, Result;
  };
  const TCase Cases[] = {
      {DT_LEFT, 10, 20, 16},
      {DT_CENTER, 40, 20, 16},
      {DT_RIGHT, 70, 20, 16},
      {DT_SINGLELINE | DT_VCENTER, 10, 32, 28},
      {DT_SINGLELINE | DT_BOTTOM, 10, 44, 40},
      {DT_VCENTER, 10, 20, 16},  // vertical alignment needs a single line
      {DT_SINGLELINE | DT_CENTER | DT_VCENTER, 40, 32, 28},
  };
  for (const TCase& C : Cases) {
    const TTextLayout L = Layout(u"abcd", R, C.Format);
    ASSERT_EQ(L.Runs.size(), 1u);
    EXPECT_EQ(L.Runs[0].X, C.X) << C.Format;
    EXPECT_EQ(L.Runs[0].Y, C.Y) << C.Format;
    EXPECT_EQ(L.Result, C.Result) << C.Format;
  }
  // Margins of DrawTextEx narrow the line.
  DRAWTEXTPARAMS P;
  P.iLeftMargin = 5;
  P.iRightMargin = 7;
  TTextLayout L = Layout(u"ab", R, DT_RIGHT, &P);
  EXPECT_EQ(L.Runs[0].X, 110 - 7 - 20);
  L = Layout(u"ab", {0, 0, 0, 0}, DT_CALCRECT, &P);
  EXPECT_EQ(L.Rect.Right, 5 + 20 + 7);
}

TEST(TextLayout, TabsExpandToStops) {
  TTextLayout L = Layout(u"a\tbc\td", {0, 0, 300, 20}, DT_EXPANDTABS);
  ASSERT_EQ(L.Runs.size(), 3u);
  EXPECT_EQ(L.Runs[1].X, 80);
  EXPECT_EQ(L.Runs[2].X, 160);
  // DT_TABSTOP takes the count from bits 8..15, which are then no flags (0x200 would add leading).
  L = Layout(u"a\tb", {0, 0, 300, 20}, DT_EXPANDTABS | DT_TABSTOP | (2u << 8));
  EXPECT_EQ(L.Runs[1].X, 20);
  EXPECT_EQ(L.Result, 16);
  DRAWTEXTPARAMS P;
  P.iTabLength = 3;
  L = Layout(u"a\tb", {0, 0, 300, 20}, DT_EXPANDTABS, &P);
  EXPECT_EQ(L.Runs[1].X, 30);
  // Without DT_EXPANDTABS the tab is an ordinary character.
  L = Layout(u"a\tb", {0, 0, 300, 20}, 0);
  EXPECT_EQ(Joined(L), u"a\tb");
}

TEST(TextLayout, Prefixes) {
  struct TCase {
    std::u16string Text;
    UINT Format;
    std::u16string Shown;
    Integer UnderlineX0;  // -1: no underline
  };
  const TCase Cases[] = {
      {u"&File", 0, u"File", 0},
      {u"Save &As", 0, u"Save As", 50},
      {u"A&&B", 0, u"A&B", -1},
      {u"Tail&", 0, u"Tail", -1},
      {u"&a&b", 0, u"ab", 0},  // only the first prefix is underlined
      {u"&File", DT_NOPREFIX, u"&File", -1},
      {u"&File", DT_HIDEPREFIX, u"File", -1},
      {u"a\t&b", DT_EXPANDTABS, u"a|b", 80},
  };
  for (const TCase& C : Cases) {
    const TTextLayout L = Layout(C.Text, {0, 0, 300, 20}, C.Format);
    EXPECT_EQ(Joined(L), C.Shown);
    if (C.UnderlineX0 < 0) {
      EXPECT_TRUE(L.Underlines.empty());
    } else {
      ASSERT_EQ(L.Underlines.size(), 1u);
      EXPECT_EQ(L.Underlines[0].X0, C.UnderlineX0);
      EXPECT_EQ(L.Underlines[0].X1, C.UnderlineX0 + 10);
      EXPECT_EQ(L.Underlines[0].Y, 14);
    }
  }
  const TTextLayout Only = Layout(u"&File", {0, 0, 300, 20}, DT_PREFIXONLY);
  EXPECT_TRUE(Only.Runs.empty());
  EXPECT_EQ(Only.Underlines.size(), 1u);
}

TEST(TextLayout, Ellipses) {
  // "abc..." is 39 pixels, "abcd..." 49.
  TTextLayout L = Layout(u"abcdefgh", {0, 0, 45, 20}, DT_END_ELLIPSIS | DT_MODIFYSTRING);
  EXPECT_EQ(Joined(L), u"abc...");
  EXPECT_TRUE(L.Modified);
  EXPECT_EQ(L.ModifiedText, u"abc...");
  // A text that fits is left alone.
  L = Layout(u"abcd", {0, 0, 45, 20}, DT_END_ELLIPSIS | DT_MODIFYSTRING);
  EXPECT_EQ(Joined(L), u"abcd");
  EXPECT_FALSE(L.Modified);
  // Path ellipsis keeps the file name: "\file.txt" is 83 pixels, "..." 9, so 2 characters stay.
  L = Layout(u"c:\\dir\\sub\\file.txt", {0, 0, 115, 20}, DT_PATH_ELLIPSIS);
  EXPECT_EQ(Joined(L), u"c:...\\file.txt");
  L = Layout(u"/home/user/file.txt", {0, 0, 100, 20}, DT_PATH_ELLIPSIS);
  EXPECT_EQ(Joined(L), u".../file.txt");
  // Without a separator the end is shortened.
  L = Layout(u"abcdefgh", {0, 0, 45, 20}, DT_PATH_ELLIPSIS);
  EXPECT_EQ(Joined(L), u"abc...");
  // A prefix cut away loses its underline; one kept keeps it.
  L = Layout(u"abcde&fgh", {0, 0, 45, 20}, DT_END_ELLIPSIS);
  EXPECT_TRUE(L.Underlines.empty());
  L = Layout(u"a&bcdefgh", {0, 0, 45, 20}, DT_END_ELLIPSIS);
  ASSERT_EQ(L.Underlines.size(), 1u);
  EXPECT_EQ(L.Underlines[0].X0, 10);
  // Surrogate pairs are never split: the pair is 20 pixels here, so "a" + "..." fits in 35.
  L = Layout(u"a\U0001F600bcdef", {0, 0, 35, 20}, DT_END_ELLIPSIS);
  EXPECT_EQ(Joined(L), u"a...");
  // Measuring shortens too, and reports the shortened width.
  L = Layout(u"abcdefgh", {0, 0, 45, 0}, DT_END_ELLIPSIS | DT_CALCRECT);
  EXPECT_EQ(L.Rect.Right, 39);
}

TEST(TextLayout, EditControlHidesPartialLastLine) {
  const TTextLayout L = Layout(u"a\nb\nc", {0, 0, 100, 40}, DT_EDITCONTROL);
  EXPECT_EQ(Joined(L), u"a|b");
  EXPECT_EQ(Layout(u"a\nb\nc", {0, 0, 100, 40}, 0).Runs.size(), 3u);
}

}  // namespace

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "GdiTestUtil.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Text.h"

namespace {

constexpr COLORREF White = 0xFFFFFF;
constexpr COLORREF Black = 0x000000;

// Liberation Sans at a 13-pixel character height: the fixed font of these tests.
HFONT TestFont(BYTE Quality = DEFAULT_QUALITY, LONG Escapement = 0, BYTE Underline = 0) {
  LOGFONTA F;
  F.lfHeight = -13;
  F.lfFaceName = "Arial";
  F.lfQuality = Quality;
  F.lfEscapement = Escapement;
  F.lfUnderline = Underline;
  return CreateFontIndirect(&F);
}

// A canvas with the test font selected, black text on white, transparent background.
struct TTextCanvas : TTestCanvas {
  HFONT Font;
  HGDIOBJ OldFont;
  TEXTMETRICA Tm;
  TTextCanvas(Integer W, Integer H, HFONT F = TestFont(), Integer Bpp = 32)
      : TTestCanvas(W, H, Bpp), Font(F) {
    OldFont = SelectObject(DC, Font);
    SetBkMode(DC, TRANSPARENT);
    SetTextColor(DC, Black);
    GetTextMetrics(DC, &Tm);
  }
  ~TTextCanvas() {
    SelectObject(DC, OldFont);
    DeleteObject(Font);
  }
  // Box of the pixels that are not Background; empty when there are none.
  TRect Ink(COLORREF Background = White) const {
    TRect B{Width, Height, 0, 0};
    for (Integer Y = 0; Y < Height; ++Y)
      for (Integer X = 0; X < Width; ++X)
        if (At(X, Y) != Background) {
          B.Left = std::min(B.Left, X), B.Top = std::min(B.Top, Y);
          B.Right = std::max(B.Right, X + 1), B.Bottom = std::max(B.Bottom, Y + 1);
        }
    return B.Left < B.Right ? B : TRect{};
  }
  Integer Extent(const char* S) const {
    SIZE Sz;
    GetTextExtentPoint32(DC, S, static_cast<Integer>(std::strlen(S)), &Sz);
    return Sz.cx;
  }
};

bool Inside(const TRect& Inner, const TRect& Outer) {
  return Inner.Left >= Outer.Left && Inner.Top >= Outer.Top && Inner.Right <= Outer.Right &&
         Inner.Bottom <= Outer.Bottom;
}

TEST(FontObjects, CreateAndGetObjectRoundTrip) {
  LOGFONTA In;
  In.lfHeight = -17;
  In.lfWeight = FW_BOLD;
  In.lfItalic = 1;
  In.lfQuality = NONANTIALIASED_QUALITY;
  In.lfFaceName = "Times New Roman";
  HFONT F = CreateFontIndirect(&In);
  ASSERT_NE(F, nullptr);
  EXPECT_EQ(GetObjectType(F), static_cast<DWORD>(OBJ_FONT));
  LOGFONTA OutA;
  EXPECT_EQ(GetObject(F, sizeof(OutA), &OutA), static_cast<Integer>(sizeof(LOGFONTA)));
  EXPECT_EQ(OutA, In);
  LOGFONTW OutW;
  EXPECT_EQ(GetObjectW(F, sizeof(OutW), &OutW), static_cast<Integer>(sizeof(LOGFONTW)));
  EXPECT_EQ(OutW.lfFaceName, u"Times New Roman");
  EXPECT_EQ(GetObject(F, 0, static_cast<LOGFONTA*>(nullptr)), static_cast<Integer>(sizeof(LOGFONTA)));
  // Through the untyped form (the object layer's GetObject) the 8-bit form comes back.
  LOGFONTA Untyped;
  EXPECT_EQ(GetObject(static_cast<HGDIOBJ>(F), sizeof(Untyped), static_cast<void*>(&Untyped)),
            static_cast<Integer>(sizeof(LOGFONTA)));
  EXPECT_EQ(Untyped.lfHeight, -17);
  EXPECT_TRUE(DeleteObject(F));

  // Face names keep 31 characters; CreateFont fills the same fields.
  HFONT Long = CreateFontW(12, 0, 0, 0, FW_NORMAL, 0, 1, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                           u"A face name that is much longer than thirty-one");
  GetObjectW(Long, sizeof(OutW), &OutW);
  EXPECT_EQ(OutW.lfFaceName.size(), 31u);
  EXPECT_EQ(OutW.lfUnderline, 1);
  DeleteObject(Long);
}

TEST(FontObjects, StockFontsAndTheDefaultFont) {
  for (Integer Index : {SYSTEM_FONT, DEFAULT_GUI_FONT, ANSI_VAR_FONT, ANSI_FIXED_FONT, OEM_FIXED_FONT}) {
    HGDIOBJ F = GetStockObject(Index);
    ASSERT_NE(F, nullptr) << Index;
    EXPECT_EQ(GetObjectType(F), static_cast<DWORD>(OBJ_FONT));
    EXPECT_TRUE(DeleteObject(F));  // stock objects stay
    EXPECT_EQ(GetStockObject(Index), F);
  }
  TTestCanvas C(4, 4);
  EXPECT_EQ(GetCurrentObject(C.DC, OBJ_FONT), GetStockObject(SYSTEM_FONT));
  TEXTMETRICW Tm;
  ASSERT_TRUE(GetTextMetrics(C.DC, &Tm));
  EXPECT_EQ(Tm.tmHeight, 16);
  EXPECT_EQ(Tm.tmWeight, FW_BOLD);
  LOGFONTA Gui;
  GetObject(GetStockObject(DEFAULT_GUI_FONT), sizeof(Gui), &Gui);
  EXPECT_EQ(Gui.lfHeight, -11);
}

TEST(TextMetrics, ThroughTheDC) {
  TTextCanvas C(4, 4);
  EXPECT_EQ(C.Tm.tmHeight - C.Tm.tmInternalLeading, 13);
  EXPECT_EQ(C.Tm.tmHeight, C.Tm.tmAscent + C.Tm.tmDescent);
  EXPECT_EQ(C.Tm.tmUnderlined, 0);
  EXPECT_EQ(C.Tm.tmCharSet, ANSI_CHARSET);
  TEXTMETRICW W;
  GetTextMetrics(C.DC, &W);
  EXPECT_EQ(W.tmHeight, C.Tm.tmHeight);
  EXPECT_EQ(W.tmAveCharWidth, C.Tm.tmAveCharWidth);

  char Name[64];
  EXPECT_EQ(GetTextFaceA(C.DC, 64, Name), 6);
  EXPECT_STREQ(Name, "Arial");
  EXPECT_EQ(GetTextFaceA(C.DC, 0, nullptr), 6);
  EXPECT_EQ(GetTextFaceA(C.DC, 3, Name), 3);
  EXPECT_STREQ(Name, "Ar");
  HFONT Unknown = CreateFontA(-13, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "No Such Face 123");
  HGDIOBJ Old = SelectObject(C.DC, Unknown);
  GetTextFaceA(C.DC, 64, Name);
  EXPECT_STRNE(Name, "No Such Face 123");  // the face actually used
  SelectObject(C.DC, Old);
  DeleteObject(Unknown);

  GLYPHMETRICS Gm;
  const MAT2 Identity;
  ASSERT_NE(GetGlyphOutline(C.DC, 'g', GGO_METRICS, &Gm, 0, nullptr, &Identity), GDI_ERROR);
  EXPECT_LT(Gm.gmptGlyphOrigin.Y - static_cast<Integer>(Gm.gmBlackBoxY), 0);  // a descender
  EXPECT_GT(GetGlyphOutline(C.DC, 'g', GGO_NATIVE, &Gm, 0, nullptr, &Identity), 0u);
}

TEST(TextExtent, SumsOfIntegerAdvances) {
  TTextCanvas C(4, 4);
  const char* S = "Hello, World";
  Integer Widths[256];
  ASSERT_TRUE(GetCharWidth32A(C.DC, 0, 255, Widths));
  Integer Sum = 0;
  for (const char* P = S; *P; ++P) Sum += Widths[static_cast<Byte>(*P)];
  SIZE Sz;
  ASSERT_TRUE(GetTextExtentPoint32(C.DC, S, 12, &Sz));
  EXPECT_EQ(Sz.cx, Sum);
  EXPECT_EQ(Sz.cy, C.Tm.tmHeight);
  ABC Abc;
  ASSERT_TRUE(GetCharABCWidthsA(C.DC, 'W', 'W', &Abc));
  EXPECT_EQ(Abc.abcA + static_cast<Integer>(Abc.abcB) + Abc.abcC, Widths[Byte{'W'}]);

  SetTextCharacterExtra(C.DC, 2);
  EXPECT_EQ(C.Extent(S), Sum + 24);
  SetTextCharacterExtra(C.DC, 0);

  // Fit count and partial extents; 8-bit text counts bytes ("é" is two).
  Integer Fit = -1, Dx[8];
  ASSERT_TRUE(GetTextExtentExPointA(C.DC,
                                    "a\xC3\xA9"
                                    "b",
                                    4, Widths[Byte{'a'}] + Widths[0xE9], &Fit, Dx, &Sz));
  EXPECT_EQ(Fit, 3);
  EXPECT_EQ(Dx[0], Widths[Byte{'a'}]);
  EXPECT_EQ(Dx[1], Dx[2]);
  EXPECT_EQ(Dx[3], Sz.cx);
  SIZE Wide;
  GetTextExtentPoint32W(C.DC, u"a\u00E9b", 3, &Wide);
  EXPECT_EQ(Wide.cx, Sz.cx);
  ASSERT_TRUE(GetTextExtentExPointW(C.DC, u"a\u00E9b", 3, 0, &Fit, nullptr, &Wide));
  EXPECT_EQ(Fit, 0);
}

TEST(TextOut, DrawsInsideItsCellOnly) {
  TTextCanvas C(120, 40);
  ASSERT_TRUE(TextOut(C.DC, 10, 5, "Hello", 5));
  const TRect Cell{10, 5, 10 + C.Extent("Hello"), 5 + C.Tm.tmHeight};
  const TRect Ink = C.Ink();
  EXPECT_FALSE(Ink.Left >= Ink.Right);
  EXPECT_TRUE(Inside(Ink, Cell)) << C.Picture();
  // The 'H' stands on the baseline: its bottom row is the one above it.
  EXPECT_EQ(Ink.Bottom, 5 + C.Tm.tmAscent);

  // OPAQUE fills the whole cell behind the text, and nothing else.
  C.Clear(White);
  SetBkMode(C.DC, OPAQUE);
  SetBkColor(C.DC, RGB(255, 0, 0));
  TextOut(C.DC, 10, 5, "Hello", 5);
  EXPECT_EQ(C.Ink(), Cell);
  EXPECT_EQ(C.At(Cell.Right - 1, Cell.Bottom - 1), RGB(255, 0, 0));
}

TEST(TextOut, QualityDecidesTheColoursUsed) {
  for (BYTE Quality : {NONANTIALIASED_QUALITY, DEFAULT_QUALITY}) {
    TTextCanvas C(80, 20, TestFont(Quality));
    SetTextColor(C.DC, RGB(0, 0, 255));
    TextOut(C.DC, 2, 2, "Wave", 4);
    Integer Text = 0, Other = 0;
    for (Integer Y = 0; Y < C.Height; ++Y)
      for (Integer X = 0; X < C.Width; ++X) {
        const COLORREF P = C.At(X, Y);
        if (P == RGB(0, 0, 255))
          ++Text;
        else if (P != White)
          ++Other;
      }
    EXPECT_GT(Text, 0);
    if (Quality == NONANTIALIASED_QUALITY)
      EXPECT_EQ(Other, 0) << C.Picture(White, RGB(0, 0, 255));
    else
      EXPECT_GT(Other, 0);  // coverage blends
  }
}

TEST(TextOut, AlignmentAndCurrentPosition) {
  TTextCanvas C(160, 60);
  const Integer W = C.Extent("Hi");
  struct TCase {
    UINT Align;
    TRect Cell;  // for the reference point (80, 30)
  };
  const TCase Cases[] = {
      {TA_LEFT | TA_TOP, {80, 30, 80 + W, 30 + C.Tm.tmHeight}},
      {TA_RIGHT | TA_BOTTOM, {80 - W, 30 - C.Tm.tmHeight, 80, 30}},
      {TA_CENTER | TA_BASELINE, {80 - W / 2, 30 - C.Tm.tmAscent, 80 - W / 2 + W, 30 + C.Tm.tmDescent}},
  };
  SetBkMode(C.DC, OPAQUE);
  SetBkColor(C.DC, RGB(0, 255, 0));
  for (const TCase& K : Cases) {
    C.Clear(White);
    SetTextAlign(C.DC, K.Align);
    TextOut(C.DC, 80, 30, "Hi", 2);
    EXPECT_EQ(C.Ink(), K.Cell) << K.Align;
  }
  SetTextAlign(C.DC, TA_UPDATECP);
  MoveToEx(C.DC, 5, 5, nullptr);
  TextOut(C.DC, 0, 0, "Hi", 2);
  POINT P;
  GetCurrentPositionEx(C.DC, &P);
  EXPECT_EQ(P, (POINT{5 + W, 5}));
}

TEST(TextOut, ExtTextOutOptions) {
  TTextCanvas C(120, 40);
  SetBkColor(C.DC, RGB(255, 0, 0));
  // ETO_OPAQUE fills its rectangle even in TRANSPARENT mode; ETO_CLIPPED keeps the ink inside.
  const RECT R{20, 5, 40, 25};
  ASSERT_TRUE(ExtTextOut(C.DC, 10, 8, ETO_OPAQUE | ETO_CLIPPED, &R, "WWWW", 4, nullptr));
  EXPECT_EQ(C.Ink(), R);
  EXPECT_EQ(C.At(20, 5), RGB(255, 0, 0));
  C.Clear(White);
  ExtTextOut(C.DC, 10, 8, ETO_CLIPPED, &R, "WWWW", 4, nullptr);
  EXPECT_TRUE(Inside(C.Ink(), R));
  // lpDx places every character: two 'l's 30 pixels apart.
  C.Clear(White);
  const Integer Dx[2] = {30, 30};
  ExtTextOut(C.DC, 10, 8, 0, nullptr, "ll", 2, Dx);
  const TRect Ink = C.Ink();
  EXPECT_GE(Ink.Width(), 30);
  EXPECT_LE(Ink.Width(), 34);
  EXPECT_FALSE(ExtTextOut(C.DC, 0, 0, ETO_GLYPH_INDEX, nullptr, "a", 1, nullptr));
}

TEST(TextOut, FollowsOriginAndClip) {
  TTextCanvas C(120, 40);
  SetViewportOrgEx(C.DC, 30, 10, nullptr);
  TextOut(C.DC, 0, 0, "H", 1);
  const TRect Ink = C.Ink();
  EXPECT_GE(Ink.Left, 30);
  EXPECT_GE(Ink.Top, 10);
  C.Clear(White);
  SetViewportOrgEx(C.DC, 0, 0, nullptr);
  IntersectClipRect(C.DC, 0, 0, 14, 40);
  TextOut(C.DC, 10, 5, "HHHH", 4);
  EXPECT_EQ(C.Ink().Right, 14);
}

TEST(TextOut, UnderlineRotationAndOtherSurfaces) {
  {
    TTextCanvas C(80, 30, TestFont(DEFAULT_QUALITY, 0, 1));
    TextOut(C.DC, 5, 5, "ab", 2);
    const Integer Row = 5 + C.Tm.tmAscent + 1;
    const Integer W = C.Extent("ab");
    for (Integer X = 5; X < 5 + W; ++X) EXPECT_EQ(C.At(X, Row), Black) << X << C.Picture();
  }
  {
    LOGFONTA F;
    F.lfHeight = -13;
    F.lfFaceName = "Arial";
    F.lfStrikeOut = 1;
    TTextCanvas C(80, 30, CreateFontIndirect(&F));
    TextOut(C.DC, 5, 5, "..", 2);  // the bar runs through the x-height, where the dots are not
    const Integer Baseline = 5 + C.Tm.tmAscent;
    Integer Rows = 0;
    for (Integer Y = 5; Y < Baseline - 2; ++Y) Rows += C.At(5 + C.Extent("..") / 2, Y) == Black;
    EXPECT_GE(Rows, 1) << C.Picture();
  }
  {
    TTextCanvas C(60, 100, TestFont(DEFAULT_QUALITY, 900));
    TextOut(C.DC, 10, 90, "Hello", 5);
    const TRect Ink = C.Ink();
    EXPECT_GT(Ink.Height(), Ink.Width() * 2) << C.Picture();
    EXPECT_LE(Ink.Bottom, 90);  // the text runs up from the reference point
  }
  for (Integer Bpp : {1, 8, 16, 24}) {
    TTextCanvas C(60, 20, TestFont(), Bpp);
    TextOut(C.DC, 2, 2, "Hello", 5);
    EXPECT_FALSE(C.Ink().Left >= C.Ink().Right) << Bpp;
    EXPECT_EQ(C.At(6, 3 + C.Tm.tmAscent / 2), Black) << Bpp << C.Picture();  // inside the 'H' stem
  }
}

TEST(TextOut, TabbedTextOut) {
  TTextCanvas C(300, 30);
  const Integer Stops[2] = {60, 150};
  const LONG Size = TabbedTextOut(C.DC, 10, 5, "a\tb\tc", 5, 2, Stops, 10);
  const Integer Wc = C.Extent("c");
  EXPECT_EQ(LOWORD(static_cast<DWORD>(Size)), 150 + Wc);
  EXPECT_EQ(HIWORD(static_cast<DWORD>(Size)), C.Tm.tmHeight);
  EXPECT_EQ(GetTabbedTextExtentA(C.DC, "a\tb\tc", 5, 2, Stops), static_cast<DWORD>(Size));
  // 'c' starts at its stop: origin 10 + 150.
  TRect Ink = C.Ink();
  EXPECT_GE(Ink.Right, 160);
  EXPECT_LE(Ink.Right, 160 + Wc);
}

// DrawText with the fixed test font.
TEST(DrawText, CalcRect) {
  TTextCanvas C(4, 4);
  RECT R{10, 20, 10, 20};
  EXPECT_EQ(DrawText(C.DC, "Hello world", -1, &R, DT_CALCRECT | DT_SINGLELINE), C.Tm.tmHeight);
  EXPECT_EQ(R, (RECT{10, 20, 10 + C.Extent("Hello world"), 20 + C.Tm.tmHeight}));
  // Word break in a line one pixel too narrow: two lines as wide as the wider word.
  const Integer Full = C.Extent("Hello world");
  R = RECT{0, 0, Full - 1, 0};
  EXPECT_EQ(DrawText(C.DC, "Hello world", -1, &R, DT_CALCRECT | DT_WORDBREAK), 2 * C.Tm.tmHeight);
  EXPECT_EQ(R.Right, std::max(C.Extent("Hello"), C.Extent("world")));
  EXPECT_EQ(R.Bottom, 2 * C.Tm.tmHeight);
  R = RECT{0, 0, Full, 0};
  DrawText(C.DC, "Hello world", -1, &R, DT_CALCRECT | DT_WORDBREAK);
  EXPECT_EQ(R.Bottom, C.Tm.tmHeight);
  // Wide text measures the same.
  RECT RW{10, 20, 10, 20};
  DrawText(C.DC, u"Hello world", -1, &RW, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_EQ(RW.Right, 10 + Full);
}

TEST(DrawText, EllipsesKeepTheTextInside) {
  TTextCanvas C(200, 30);
  const RECT R{10, 5, 80, 25};
  char Text[] = "A long caption that cannot fit";
  RECT Draw = R;
  DrawTextEx(C.DC, Text, -1, &Draw, DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING, nullptr);
  const std::string Shown = Text;
  ASSERT_GE(Shown.size(), 4u);
  EXPECT_EQ(Shown.substr(Shown.size() - 3), "...");
  EXPECT_LE(C.Extent(Shown.c_str()), R.Width());
  EXPECT_TRUE(Inside(C.Ink(), R));

  char Path[] = "C:\\Program Files\\Some Folder\\picture.jpg";
  Draw = RECT{0, 0, C.Extent("C:\\...\\picture.jpg") + 2, 20};
  DrawTextEx(C.DC, Path, -1, &Draw, DT_SINGLELINE | DT_PATH_ELLIPSIS | DT_MODIFYSTRING | DT_CALCRECT,
             nullptr);
  const std::string P = Path;
  EXPECT_EQ(P.substr(P.size() - 12), "\\picture.jpg");
  EXPECT_NE(P.find("..."), std::string::npos);
}

TEST(DrawText, AlignmentTabsAndPrefix) {
  TTextCanvas C(200, 60);
  const RECT R{0, 0, 200, 60};
  RECT D = R;
  const Integer H = DrawText(C.DC, "Mid", -1, &D, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
  const Integer W = C.Extent("Mid");
  const Integer Top = (60 - C.Tm.tmHeight) / 2;
  EXPECT_EQ(H, Top + C.Tm.tmHeight);
  EXPECT_TRUE(Inside(C.Ink(), TRect{(200 - W) / 2, Top, (200 - W) / 2 + W, Top + C.Tm.tmHeight}))
      << C.Picture();

  C.Clear(White);
  D = R;
  DrawText(C.DC, "a\tb", -1, &D, DT_EXPANDTABS | DT_NOPREFIX);
  const Integer Stop = 8 * C.Tm.tmAveCharWidth;
  TRect Right{0, 0, 0, 0};
  for (Integer Y = 0; Y < 60; ++Y)
    for (Integer X = C.Extent("a") + 1; X < 200; ++X)
      if (C.At(X, Y) != White) Right.Left = Right.Left ? std::min(Right.Left, X) : X;
  EXPECT_GE(Right.Left, Stop);
  EXPECT_LE(Right.Left, Stop + 2);

  // The prefix character is underlined one row below the baseline, across its own width only.
  C.Clear(White);
  D = R;
  DrawText(C.DC, "&Hello", -1, &D, 0);
  const Integer Row = C.Tm.tmAscent + 1;
  const Integer Hw = C.Extent("H");
  for (Integer X = 0; X < Hw; ++X) EXPECT_EQ(C.At(X, Row), Black) << X << C.Picture();
  for (Integer X = Hw + 1; X < C.Extent("Hello"); ++X) EXPECT_NE(C.At(X, Row), Black) << X;
  C.Clear(White);
  D = R;
  DrawText(C.DC, "&Hello", -1, &D, DT_HIDEPREFIX);
  EXPECT_NE(C.At(Hw / 2, Row), Black);

  // Clipped to the rectangle unless DT_NOCLIP.
  C.Clear(White);
  D = RECT{0, 0, 10, 60};
  DrawText(C.DC, "Wide text", -1, &D, DT_SINGLELINE);
  EXPECT_LE(C.Ink().Right, 10);
  C.Clear(White);
  DrawText(C.DC, "Wide text", -1, &D, DT_SINGLELINE | DT_NOCLIP);
  EXPECT_GT(C.Ink().Right, 10);
}

}  // namespace

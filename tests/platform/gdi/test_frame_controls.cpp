#include <gtest/gtest.h>

#include <map>

#include "GdiTestUtil.h"
#include "platform/gdi/FrameControls.h"
#include "platform/gdi/SysColors.h"

namespace {

// One letter per system colour used by edges and controls.
std::string Letters(const TTestCanvas& C) {
  const std::map<COLORREF, char> Names = {
      {GetSysColor(COLOR_3DLIGHT), 'L'},   {GetSysColor(COLOR_3DDKSHADOW), 'D'},
      {GetSysColor(COLOR_3DHILIGHT), 'H'}, {GetSysColor(COLOR_3DSHADOW), 'S'},
      {GetSysColor(COLOR_3DFACE), 'F'},    {RGB(1, 2, 3), '.'}};
  std::string Out = "\n";
  for (Integer Y = 0; Y < C.Height; ++Y) {
    for (Integer X = 0; X < C.Width; ++X) {
      const auto It = Names.find(C.At(X, Y));
      Out += It == Names.end() ? '?' : It->second;
    }
    Out += '\n';
  }
  return Out;
}

}  // namespace

TEST(DrawEdge, LayersAndCornersFollowTheClassicScheme) {
  struct TCase {
    UINT Edge, Flags;
    std::string Want;
  };
  const TCase Cases[] = {
      {EDGE_RAISED, BF_RECT | BF_MIDDLE,
       TTestCanvas::Rows({"LLLLLD", "LHHHSD", "LHFFSD", "LSSSSD", "DDDDDD"})},
      {EDGE_SUNKEN, BF_RECT, TTestCanvas::Rows({"SSSSSH", "SDDDLH", "SD..LH", "SLLLLH", "HHHHHH"})},
      {BDR_SUNKENOUTER, BF_RECT, TTestCanvas::Rows({"SSSSSH", "S....H", "S....H", "S....H", "HHHHHH"})},
      {EDGE_ETCHED, BF_TOP | BF_BOTTOM,
       TTestCanvas::Rows({"SSSSS.", "HHHHH.", "......", "SSSSSS", "HHHHHH"})},
      {EDGE_RAISED, BF_RECT | BF_FLAT, TTestCanvas::Rows({"SSSSSS", "SFFFFS", "SF..FS", "SFFFFS", "SSSSSS"})},
  };
  for (const TCase& T : Cases) {
    TTestCanvas C(6, 5, 32, RGB(1, 2, 3));
    RECT R{0, 0, 6, 5};
    EXPECT_TRUE(DrawEdge(C.DC, &R, T.Edge, T.Flags));
    EXPECT_EQ(Letters(C), T.Want) << T.Edge << " " << T.Flags;
  }
  TTestCanvas C(6, 5);
  RECT R{0, 0, 6, 5};
  DrawEdge(C.DC, &R, EDGE_BUMP, BF_RECT | BF_ADJUST);
  EXPECT_EQ(R, (RECT{2, 2, 4, 3}));
}

TEST(DrawFrameControl, CheckBoxShowsTheCheckMark) {
  TTestCanvas C(13, 13, 32, RGB(1, 2, 3));
  RECT R{0, 0, 13, 13};
  DrawFrameControl(C.DC, &R, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
  // Sunken edge (shadow and highlight outside, dark shadow and light inside), white inside.
  EXPECT_EQ(
      C.Picture(GetSysColor(COLOR_WINDOW), GetSysColor(COLOR_WINDOWTEXT)),
      TTestCanvas::Rows({"????????????.", "?##########?.", "?#.........?.", "?#.......#.?.", "?#......##.?.",
                         "?#.#...###.?.", "?#.##.###..?.", "?#.#####...?.", "?#..###....?.", "?#...#.....?.",
                         "?#.........?.", "????????????.", "............."}));
  C.Clear(RGB(1, 2, 3));
  DrawFrameControl(C.DC, &R, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_INACTIVE);
  EXPECT_EQ(C.At(6, 6), GetSysColor(COLOR_3DFACE));
  EXPECT_EQ(C.At(0, 0), GetSysColor(COLOR_3DSHADOW));
}

TEST(DrawFrameControl, ScrollArrowsAndButtons) {
  TTestCanvas C(16, 16, 32, RGB(1, 2, 3));
  RECT R{0, 0, 16, 16};
  DrawFrameControl(C.DC, &R, DFC_SCROLL, DFCS_SCROLLUP);
  const COLORREF Ink = GetSysColor(COLOR_BTNTEXT);
  // An upward triangle of four rows, 1, 3, 5 and 7 pixels wide, centred.
  Integer Widths[16] = {};
  for (Integer Y = 2; Y < 14; ++Y)
    for (Integer X = 2; X < 14; ++X) Widths[Y] += C.At(X, Y) == Ink;
  std::vector<Integer> Rows;
  for (Integer W : Widths)
    if (W) Rows.push_back(W);
  EXPECT_EQ(Rows, (std::vector<Integer>{1, 3, 5, 7})) << C.Picture(GetSysColor(COLOR_3DFACE), Ink);
  EXPECT_EQ(C.At(15, 15), GetSysColor(COLOR_3DDKSHADOW));
  EXPECT_EQ(C.At(0, 0), GetSysColor(COLOR_3DHILIGHT));  // soft raised button
  // Pushed buttons are sunken; the adjusted rectangle is the face.
  RECT P{0, 0, 16, 16};
  DrawFrameControl(C.DC, &P, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED | DFCS_ADJUSTRECT);
  EXPECT_EQ(C.At(0, 0), GetSysColor(COLOR_3DSHADOW));
  EXPECT_EQ(P, (RECT{2, 2, 14, 14}));
  // The size grip draws highlight grooves on the face.
  C.Clear(RGB(1, 2, 3));
  DrawFrameControl(C.DC, &R, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
  EXPECT_EQ(C.At(0, 0), GetSysColor(COLOR_3DFACE));
  EXPECT_EQ(C.At(15, 13), GetSysColor(COLOR_3DHILIGHT));
}

TEST(DrawFrameControl, RadioAndCaptionGlyphs) {
  TTestCanvas C(13, 13, 32, RGB(1, 2, 3));
  RECT R{0, 0, 13, 13};
  DrawFrameControl(C.DC, &R, DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_CHECKED);
  EXPECT_EQ(C.At(6, 6), GetSysColor(COLOR_WINDOWTEXT));
  EXPECT_EQ(C.At(6, 0), GetSysColor(COLOR_3DSHADOW));
  EXPECT_EQ(C.At(6, 12), GetSysColor(COLOR_3DHILIGHT));
  EXPECT_EQ(C.At(0, 0), RGB(1, 2, 3));  // outside the circle
  TTestCanvas Cap(16, 14, 32, RGB(1, 2, 3));
  RECT Q{0, 0, 16, 14};
  DrawFrameControl(Cap.DC, &Q, DFC_CAPTION, DFCS_CAPTIONCLOSE);
  // The cross is symmetric left to right.
  const COLORREF Ink = GetSysColor(COLOR_BTNTEXT);
  Integer Count = 0;
  for (Integer Y = 2; Y < 12; ++Y)
    for (Integer X = 2; X < 14; ++X) {
      Count += Cap.At(X, Y) == Ink;
      EXPECT_EQ(Cap.At(X, Y) == Ink, Cap.At(15 - X, Y) == Ink) << X << "," << Y;
    }
  EXPECT_GT(Count, 10);
}

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <utility>
#include <vector>

#include "GdiTestUtil.h"
#include "platform/gdi/Painting.h"

namespace {

using TPixels = std::set<std::pair<Integer, Integer>>;

TPixels InkPixels(const TTestCanvas& C, COLORREF Ink = 0) {
  TPixels P;
  for (Integer Y = 0; Y < C.Height; ++Y)
    for (Integer X = 0; X < C.Width; ++X)
      if (C.At(X, Y) == Ink) P.insert({X, Y});
  return P;
}

void Line(HDC DC, Integer X0, Integer Y0, Integer X1, Integer Y1) {
  MoveToEx(DC, X0, Y0, nullptr);
  LineTo(DC, X1, Y1);
}

}  // namespace

TEST(CosmeticLines, ExactPixelsOfShallowSteepAndReversedLines) {
  struct TCase {
    TPoint A, B;
    std::string Want;
  };
  const TCase Cases[] = {
      {{0, 0}, {5, 2}, TTestCanvas::Rows({"##....", "..##..", "....#.", "......"})},
      {{5, 2}, {0, 0}, TTestCanvas::Rows({".#....", "..##..", "....##", "......"})},
      {{0, 0}, {2, 5}, TTestCanvas::Rows({"#..", "#..", ".#.", ".#.", "..#", "...", "..."})},
      // Ties go to the smaller minor coordinate in both directions.
      {{0, 0}, {4, 2}, TTestCanvas::Rows({"##...", "..##.", "....."})},
      {{4, 2}, {0, 0}, TTestCanvas::Rows({".#...", "..##.", "....#"})},
  };
  for (const TCase& C : Cases) {
    const Integer W = static_cast<Integer>(C.Want.find('\n', 1)) - 1;
    const Integer H = static_cast<Integer>(std::count(C.Want.begin(), C.Want.end(), '\n')) - 1;
    TTestCanvas Canvas(W, H);
    Line(Canvas.DC, C.A.X, C.A.Y, C.B.X, C.B.Y);
    EXPECT_EQ(Canvas.Picture(), C.Want)
        << "line " << C.A.X << "," << C.A.Y << " to " << C.B.X << "," << C.B.Y;
  }
}

TEST(CosmeticLines, AllOctantsAreConnectedAndExcludeTheEndPoint) {
  const TPoint Centre{10, 10};
  const TPoint Ends[] = {{17, 13}, {13, 17}, {7, 17}, {3, 13}, {3, 7},   {7, 3}, {13, 3}, {17, 7},
                         {18, 14}, {14, 18}, {6, 18}, {2, 14}, {2, 6},   {6, 2}, {14, 2}, {18, 6},
                         {17, 10}, {10, 17}, {3, 10}, {10, 3}, {16, 16}, {4, 4}};
  for (const TPoint& E : Ends) {
    TTestCanvas C(21, 21);
    Line(C.DC, Centre.X, Centre.Y, E.X, E.Y);
    const TPixels P = InkPixels(C);
    const Integer Length = std::max(std::abs(E.X - Centre.X), std::abs(E.Y - Centre.Y));
    EXPECT_EQ(static_cast<Integer>(P.size()), Length) << E.X << "," << E.Y << C.Picture();
    EXPECT_TRUE(P.count({Centre.X, Centre.Y})) << E.X << "," << E.Y;
    EXPECT_FALSE(P.count({E.X, E.Y})) << E.X << "," << E.Y;
    // The reverse line lights the same pixels but for the two end points.
    TTestCanvas R(21, 21);
    Line(R.DC, E.X, E.Y, Centre.X, Centre.Y);
    TPixels Q = InkPixels(R);
    Q.erase({E.X, E.Y});
    Q.insert({Centre.X, Centre.Y});
    EXPECT_EQ(P, Q) << E.X << "," << E.Y << C.Picture() << R.Picture();
    // 8-connected: every pixel but the last has a neighbour one step further along the major axis.
    for (const auto& [X, Y] : P) {
      Integer Neighbours = 0;
      for (Integer DY = -1; DY <= 1; ++DY)
        for (Integer DX = -1; DX <= 1; ++DX)
          if ((DX || DY) && P.count({X + DX, Y + DY})) ++Neighbours;
      if (P.size() > 1) {
        EXPECT_GE(Neighbours, 1) << X << "," << Y;
      }
    }
  }
}

TEST(CosmeticLines, PolylineDrawsJointsOnceAndNotItsLastPoint) {
  TTestCanvas C(6, 5);
  SetROP2(C.DC, R2_NOT);  // a pixel drawn twice would come back white
  const POINT P[] = {{0, 0}, {4, 0}, {4, 3}, {1, 3}};
  Polyline(C.DC, P, 4);
  EXPECT_EQ(C.Picture(), TTestCanvas::Rows({"#####.", "....#.", "....#.", "..###.", "......"}));
  POINT Pos;
  TTestCanvas D(6, 5);
  MoveToEx(D.DC, 0, 0, nullptr);
  PolylineTo(D.DC, P + 1, 3);
  GetCurrentPositionEx(D.DC, &Pos);
  EXPECT_EQ(Pos, (POINT{1, 3}));
  EXPECT_EQ(D.Picture(), C.Picture());
}

TEST(CosmeticLines, DashPatternsRunOnAlongAPolyline) {
  struct TCase {
    Integer Style;
    const char* Want;
  };
  const TCase Cases[] = {
      {PS_DASH, "##################------##################------"},
      {PS_DOT, "###---###---###---###---###---###---###---###---"},
      {PS_DASHDOT, "#########------###------#########------###------"},
      {PS_DASHDOTDOT, "#########---###---###---#########---###---###---"},
  };
  for (const TCase& T : Cases) {
    TTestCanvas C(48, 2);
    HPEN Pen = CreatePen(T.Style, 1, RGB(0, 0, 0));
    SelectObject(C.DC, Pen);
    SetBkColor(C.DC, RGB(255, 0, 0));
    // Two segments: the pattern continues over the joint.
    const POINT P[] = {{0, 0}, {20, 0}, {48, 0}};
    Polyline(C.DC, P, 3);
    std::string Got;
    for (Integer X = 0; X < 48; ++X) Got += C.At(X, 0) == 0 ? '#' : C.At(X, 0) == RGB(255, 0, 0) ? '-' : '.';
    EXPECT_EQ(Got, T.Want) << T.Style;
    // Transparent mode leaves the gaps alone.
    SetBkMode(C.DC, TRANSPARENT);
    Polyline(C.DC, P + 0, 2);
    Line(C.DC, 0, 1, 30, 1);
    EXPECT_EQ(C.At(T.Want[24] == '-' ? 24 : 47, 1), 0xFFFFFFu);
    SelectObject(C.DC, GetStockObject(BLACK_PEN));
    DeleteObject(Pen);
  }
  // The null pen draws nothing.
  TTestCanvas C(5, 1);
  SelectObject(C.DC, GetStockObject(NULL_PEN));
  Line(C.DC, 0, 0, 5, 0);
  EXPECT_EQ(C.Picture(), TTestCanvas::Rows({"....."}));
}

TEST(CosmeticLines, MixModesFollowTheirTruthTables) {
  const DWORD D = 0x00C0A050, P = 0x0030F0A0;  // destination and pen, as 0x00RRGGBB
  const DWORD Want[16] = {0,     ~(P | D), ~P & D, ~P,     P & ~D, ~D,     P ^ D, ~(P & D),
                          P & D, ~(P ^ D), D,      ~P | D, P,      P | ~D, P | D, 0xFFFFFFFFu};
  for (Integer Mode = R2_BLACK; Mode <= R2_WHITE; ++Mode) {
    TTestCanvas C(3, 1);
    PutRawPixel(C.Bitmap->Surface, 0, 0, D);
    HPEN Pen = CreatePen(PS_SOLID, 1, RGB(0x30, 0xF0, 0xA0));
    SelectObject(C.DC, Pen);
    SetROP2(C.DC, Mode);
    Line(C.DC, 0, 0, 1, 0);
    // The mix runs over all 32 bits of a 32-bit pixel; the pen's top byte is 0.
    EXPECT_EQ(GetRawPixel(C.Bitmap->Surface, 0, 0), Want[Mode - 1]) << "mode " << Mode;
    SelectObject(C.DC, GetStockObject(BLACK_PEN));
    DeleteObject(Pen);
  }
}

TEST(CosmeticLines, ClippingKeepsThePixelsOfTheWholeLine) {
  const TPoint Ends[][2] = {
      {{-20, -3}, {40, 17}}, {{35, 2}, {-7, 30}}, {{3, -50}, {17, 60}}, {{30, 25}, {-10, -2}}};
  for (const auto& L : Ends) {
    TTestCanvas Full(30, 25), Clipped(30, 25);
    Line(Full.DC, L[0].X, L[0].Y, L[1].X, L[1].Y);
    IntersectClipRect(Clipped.DC, 5, 4, 22, 19);
    ExcludeClipRect(Clipped.DC, 10, 8, 14, 12);
    Line(Clipped.DC, L[0].X, L[0].Y, L[1].X, L[1].Y);
    for (Integer Y = 0; Y < 25; ++Y)
      for (Integer X = 0; X < 30; ++X) {
        const bool Inside = X >= 5 && X < 22 && Y >= 4 && Y < 19 && !(X >= 10 && X < 14 && Y >= 8 && Y < 12);
        EXPECT_EQ(Clipped.At(X, Y), Inside ? Full.At(X, Y) : 0xFFFFFFu) << X << "," << Y << Clipped.Picture();
      }
  }
}

TEST(CosmeticLines, LineDdaVisitsTheLinePixels) {
  TTestCanvas C(12, 8);
  Line(C.DC, 11, 1, 2, 7);
  TPixels Visited;
  LineDDA(
      11, 1, 2, 7,
      [](Integer X, Integer Y, LPARAM D) {
        reinterpret_cast<TPixels*>(D)->insert({X, Y});
      },
      reinterpret_cast<LPARAM>(&Visited));
  EXPECT_EQ(Visited, InkPixels(C));
}

TEST(CosmeticLines, OriginsMoveTheDrawing) {
  TTestCanvas C(8, 4);
  SetWindowOrgEx(C.DC, 10, 0, nullptr);
  SetViewportOrgEx(C.DC, 1, 1, nullptr);
  Line(C.DC, 10, 0, 14, 0);
  EXPECT_EQ(C.Picture(), TTestCanvas::Rows({"........", ".####...", "........", "........"}));
}

TEST(WidePens, RoundCapRingClosesWithoutGaps) {
  // A ring of separate wide LineTo segments around a centre: a fill inside must not escape.
  for (Integer Width : {2, 3, 5, 8}) {
    TTestCanvas C(80, 80);
    HPEN Pen = CreatePen(PS_SOLID, Width, 0);
    SelectObject(C.DC, Pen);
    const Integer N = 13;
    std::vector<POINT> P;
    for (Integer I = 0; I < N; ++I) {
      const double A = 2 * 3.14159265358979 * I / N + 0.3;
      P.push_back({40 + static_cast<Integer>(std::lround(28 * std::cos(A))),
                   40 + static_cast<Integer>(std::lround(25 * std::sin(A)))});
    }
    for (Integer I = 0; I < N; ++I) Line(C.DC, P[I].X, P[I].Y, P[(I + 1) % N].X, P[(I + 1) % N].Y);
    HBRUSH Red = CreateSolidBrush(RGB(255, 0, 0));
    SelectObject(C.DC, Red);
    ASSERT_TRUE(ExtFloodFill(C.DC, 40, 40, 0xFFFFFF, FLOODFILLSURFACE));
    EXPECT_EQ(C.At(0, 0), 0xFFFFFFu) << "width " << Width << C.Picture(0xFFFFFF, 0);
    EXPECT_EQ(C.At(79, 79), 0xFFFFFFu) << "width " << Width;
    // The stroke is as wide as the pen across a horizontal stretch.
    SelectObject(C.DC, GetStockObject(BLACK_PEN));
    SelectObject(C.DC, GetStockObject(WHITE_BRUSH));
    DeleteObject(Pen);
    DeleteObject(Red);
  }
}

TEST(WidePens, CapsAndJoinsShapeTheEnds) {
  struct TCase {
    DWORD Style;
    const char* Want;
  };
  const TCase Cases[] = {
      {PS_ENDCAP_FLAT, "...........|..######...|..######...|..######...|..........."},
      {PS_ENDCAP_SQUARE, "...........|.#########.|.#########.|.#########.|..........."},
      {PS_ENDCAP_ROUND, "...........|.#########.|.#########.|.#########.|..........."},
  };
  for (const TCase& T : Cases) {
    TTestCanvas C(11, 5);
    LOGBRUSH B{BS_SOLID, 0, 0};
    HPEN Pen = ExtCreatePen(PS_GEOMETRIC | T.Style, 3, &B, 0, nullptr);
    SelectObject(C.DC, Pen);
    Line(C.DC, 2, 2, 8, 2);
    std::string Got = C.Picture();
    std::string Want = "\n" + std::string(T.Want) + "|";
    std::replace(Want.begin(), Want.end(), '|', '\n');
    EXPECT_EQ(Got, Want) << T.Style;
    SelectObject(C.DC, GetStockObject(BLACK_PEN));
    DeleteObject(Pen);
  }
}

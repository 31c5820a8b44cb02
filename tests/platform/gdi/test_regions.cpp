#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "platform/gdi/Regions.h"
#include "platform/system/Exceptions.h"

namespace {

using TRgn = std::unique_ptr<TRegionObject>;

TRegionData Of(std::initializer_list<TRect> Rects) {
  return TRegionData::FromRects(Rects.begin(), Rects.size());
}

// The band rules every region must keep, whatever made it.
void ExpectCanonical(const TRegionData& D) {
  const auto& R = D.Rects();
  TRect Box{};
  std::size_t BandStart = 0, PrevBand = 0;
  bool HavePrev = false;
  for (std::size_t I = 0; I < R.size(); ++I) {
    ASSERT_LT(R[I].Left, R[I].Right);
    ASSERT_LT(R[I].Top, R[I].Bottom);
    if (I > 0 && R[I].Top == R[I - 1].Top) {
      ASSERT_EQ(R[I].Bottom, R[I - 1].Bottom);
      ASSERT_GT(R[I].Left, R[I - 1].Right) << "rectangles of a band overlap or touch";
    } else if (I > 0) {
      ASSERT_GE(R[I].Top, R[I - 1].Bottom);
      HavePrev = true;
      PrevBand = BandStart;
      BandStart = I;
    }
    const bool LastOfBand = I + 1 == R.size() || R[I + 1].Top != R[I].Top;
    if (LastOfBand && HavePrev && R[PrevBand].Bottom == R[BandStart].Top) {
      bool Same = I + 1 - BandStart == BandStart - PrevBand;
      for (std::size_t K = 0; Same && K < BandStart - PrevBand; ++K)
        Same =
            R[PrevBand + K].Left == R[BandStart + K].Left && R[PrevBand + K].Right == R[BandStart + K].Right;
      ASSERT_FALSE(Same) << "touching bands with equal spans are not coalesced";
    }
    Box = I == 0 ? R[I]
                 : TRect{std::min(Box.Left, R[I].Left), std::min(Box.Top, R[I].Top),
                         std::max(Box.Right, R[I].Right), std::max(Box.Bottom, R[I].Bottom)};
  }
  EXPECT_EQ(D.Box(), Box);
}

// Pixels of a region inside a W x H window at the origin, painted from its rectangles.
std::vector<bool> Paint(const TRegionData& D, Integer W, Integer H) {
  std::vector<bool> P(static_cast<std::size_t>(W * H));
  for (const TRect& R : D.Rects())
    for (Integer Y = std::max(R.Top, 0); Y < std::min(R.Bottom, H); ++Y)
      for (Integer X = std::max(R.Left, 0); X < std::min(R.Right, W); ++X) P[Y * W + X] = true;
  return P;
}

// Rows of '#' (inside) and '.' for a region in a W x H window.
std::vector<std::string> Picture(const TRegionData& D, Integer W, Integer H) {
  const auto P = Paint(D, W, H);
  std::vector<std::string> Rows(H, std::string(W, '.'));
  for (Integer Y = 0; Y < H; ++Y)
    for (Integer X = 0; X < W; ++X)
      if (P[Y * W + X]) Rows[Y][X] = '#';
  return Rows;
}

std::vector<TRect> RandomRects(std::mt19937& Gen, int N, int Extent) {
  std::uniform_int_distribution<int> C(-2, Extent + 2), Count(0, N);
  std::vector<TRect> V(Count(Gen));
  for (TRect& R : V) R = TRect{C(Gen), C(Gen), C(Gen), C(Gen)};  // some inverted or empty
  return V;
}

}  // namespace

struct TCombineCase {
  const char* Name;
  std::vector<TRect> A, B;
  Integer Mode;
  std::vector<TRect> Expected;
  Integer Complexity;
};

TEST(RegionData, CombineGivesExactBands) {
  const std::vector<TRect> Hole{{0, 0, 30, 10}, {0, 10, 10, 20}, {20, 10, 30, 20}, {0, 20, 30, 30}};
  const std::vector<TCombineCase> Cases{
      {"union of overlapping squares",
       {{0, 0, 10, 10}},
       {{5, 5, 15, 15}},
       RGN_OR,
       {{0, 0, 10, 5}, {0, 5, 15, 10}, {5, 10, 15, 15}},
       COMPLEXREGION},
      {"side by side squares merge in their band",
       {{0, 0, 10, 10}},
       {{10, 0, 20, 10}},
       RGN_OR,
       {{0, 0, 20, 10}},
       SIMPLEREGION},
      {"stacked squares coalesce",
       {{0, 0, 10, 10}},
       {{0, 10, 10, 20}},
       RGN_OR,
       {{0, 0, 10, 20}},
       SIMPLEREGION},
      {"apart in one band",
       {{0, 0, 10, 10}},
       {{12, 0, 20, 10}},
       RGN_OR,
       {{0, 0, 10, 10}, {12, 0, 20, 10}},
       COMPLEXREGION},
      {"filling the hole coalesces three bands",
       Hole,
       {{10, 10, 20, 20}},
       RGN_OR,
       {{0, 0, 30, 30}},
       SIMPLEREGION},
      {"intersection", {{0, 0, 10, 10}}, {{5, 5, 15, 15}}, RGN_AND, {{5, 5, 10, 10}}, SIMPLEREGION},
      {"intersection of apart squares", {{0, 0, 10, 10}}, {{10, 0, 20, 10}}, RGN_AND, {}, NULLREGION},
      {"intersection of two complex regions",
       Hole,
       {{5, 5, 25, 25}, {40, 0, 50, 50}},
       RGN_AND,
       {{5, 5, 25, 10}, {5, 10, 10, 20}, {20, 10, 25, 20}, {5, 20, 25, 25}},
       COMPLEXREGION},
      {"xor of overlapping squares",
       {{0, 0, 10, 10}},
       {{5, 5, 15, 15}},
       RGN_XOR,
       {{0, 0, 10, 5}, {0, 5, 5, 10}, {10, 5, 15, 10}, {5, 10, 15, 15}},
       COMPLEXREGION},
      {"xor of equal regions", Hole, Hole, RGN_XOR, {}, NULLREGION},
      {"difference makes a hole", {{0, 0, 30, 30}}, {{10, 10, 20, 20}}, RGN_DIFF, Hole, COMPLEXREGION},
      {"difference through the middle",
       {{0, 0, 30, 10}},
       {{10, -5, 20, 15}},
       RGN_DIFF,
       {{0, 0, 10, 10}, {20, 0, 30, 10}},
       COMPLEXREGION},
      {"difference removing all", {{5, 5, 10, 10}}, {{0, 0, 20, 20}}, RGN_DIFF, {}, NULLREGION},
      {"copy", Hole, {{0, 0, 1, 1}}, RGN_COPY, Hole, COMPLEXREGION},
      {"union with empty", {}, Hole, RGN_OR, Hole, COMPLEXREGION},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    TRegionData A = TRegionData::FromRects(C.A.data(), C.A.size());
    TRegionData B = TRegionData::FromRects(C.B.data(), C.B.size());
    TRegionData R;
    EXPECT_EQ(R.Combine(A, B, C.Mode), C.Complexity);
    EXPECT_EQ(R.Rects(), C.Expected);
    ExpectCanonical(R);
  }
}

TEST(RegionData, CombineMatchesPixelsForRandomRegions) {
  std::mt19937 Gen(7);
  constexpr Integer N = 24;
  for (int Round = 0; Round < 400; ++Round) {
    const auto RA = RandomRects(Gen, 8, N - 4), RB = RandomRects(Gen, 8, N - 4);
    const TRegionData A = TRegionData::FromRects(RA.data(), RA.size());
    const TRegionData B = TRegionData::FromRects(RB.data(), RB.size());
    ExpectCanonical(A);
    // The union of the raw rectangles, pixel by pixel.
    std::vector<bool> Raw(N * N);
    for (const TRect& R : RA)
      for (Integer Y = std::max(R.Top, 0); Y < std::min(R.Bottom, N); ++Y)
        for (Integer X = std::max(R.Left, 0); X < std::min(R.Right, N); ++X) Raw[Y * N + X] = true;
    ASSERT_EQ(Paint(A, N, N), Raw);
    const auto PA = Paint(A, N, N), PB = Paint(B, N, N);
    for (Integer Mode : {RGN_AND, RGN_OR, RGN_XOR, RGN_DIFF}) {
      TRegionData R;
      R.Combine(A, B, Mode);
      ExpectCanonical(R);
      const auto PR = Paint(R, N, N);
      for (Integer I = 0; I < N * N; ++I) {
        const bool E = Mode == RGN_AND   ? PA[I] && PB[I]
                       : Mode == RGN_OR  ? PA[I] || PB[I]
                       : Mode == RGN_XOR ? PA[I] != PB[I]
                                         : PA[I] && !PB[I];
        ASSERT_EQ(PR[I], E) << "mode " << Mode << " pixel " << I % N << "," << I / N;
        ASSERT_EQ(R.Contains(I % N, I / N), E);
      }
    }
    // Clipping helpers against the same pixels.
    std::uniform_int_distribution<int> C(-2, N + 2);
    const TRect Clip{C(Gen), C(Gen), C(Gen), C(Gen)};
    TRegionData In = A, Out = A;
    In.IntersectRect(Clip);
    Out.ExcludeRect(Clip);
    ExpectCanonical(In);
    ExpectCanonical(Out);
    std::vector<TRect> Visited;
    A.ForEachRectIn(Clip, [&](const TRect& R) { Visited.push_back(R); });
    EXPECT_EQ(TRegionData::FromRects(Visited.data(), Visited.size()), In);
    for (std::size_t I = 1; I < Visited.size(); ++I)
      ASSERT_TRUE(Visited[I].Top > Visited[I - 1].Top ||
                  (Visited[I].Top == Visited[I - 1].Top && Visited[I].Left > Visited[I - 1].Left));
    EXPECT_EQ(A.IntersectsRect(Clip), !In.IsEmpty());
    for (Integer Y = 0; Y < N; ++Y)
      for (Integer X = 0; X < N; ++X) {
        const bool InClip = X >= Clip.Left && X < Clip.Right && Y >= Clip.Top && Y < Clip.Bottom;
        ASSERT_EQ(In.Contains(X, Y), PA[Y * N + X] && InClip);
        ASSERT_EQ(Out.Contains(X, Y), PA[Y * N + X] && !InClip);
      }
  }
}

TEST(RegionData, LargeLooseRectangleListsUniteExactly) {
  // Enough rectangles for the sweep's bulk sorting, across negative and positive coordinates.
  std::mt19937 Gen(11);
  std::uniform_int_distribution<int> C(-40, 40), Len(0, 12);
  std::vector<TRect> V(600);
  for (TRect& R : V) {
    R.Left = C(Gen);
    R.Top = C(Gen);
    R.Right = R.Left + Len(Gen);
    R.Bottom = R.Top + Len(Gen);
  }
  const TRegionData D = TRegionData::FromRects(V.data(), V.size());
  ExpectCanonical(D);
  for (Integer Y = -45; Y < 55; ++Y)
    for (Integer X = -45; X < 55; ++X) {
      bool In = false;
      for (const TRect& R : V) In = In || (X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom);
      ASSERT_EQ(D.Contains(X, Y), In) << X << "," << Y;
    }
  // The same rectangles in band order take the direct path and give the same region.
  EXPECT_EQ(TRegionData::FromRects(D.Rects().data(), D.Rects().size()), D);
}

TEST(RegionData, CombineAcceptsItselfAsOperandAndRejectsUnknownModes) {
  TRegionData A = Of({{0, 0, 10, 10}});
  const TRegionData B = Of({{5, 5, 15, 15}});
  EXPECT_EQ(A.Combine(A, B, RGN_XOR), COMPLEXREGION);
  EXPECT_EQ(A.Combine(B, A, RGN_OR), COMPLEXREGION);
  EXPECT_EQ(A.Rects(), (std::vector<TRect>{{0, 0, 10, 5}, {0, 5, 15, 10}, {5, 10, 15, 15}}));
  const TRegionData Before = A;
  EXPECT_EQ(A.Combine(A, B, 0), ERROR);
  EXPECT_EQ(A.Combine(A, B, 6), ERROR);
  EXPECT_EQ(A, Before);
}

TEST(RegionData, ForEachRectInSkipsBandsAndRectsOutsideTheRectangle) {
  // Two 3-wide columns on 100 one-pixel bands that alternate, so nothing coalesces.
  std::vector<TRect> V;
  for (Integer Y = 0; Y < 100; ++Y) V.push_back(TRect{Y % 2 * 10, Y, Y % 2 * 10 + 3, Y + 1});
  for (Integer Y = 0; Y < 100; ++Y) V.push_back(TRect{50, Y, 53, Y + 1});
  const TRegionData D = TRegionData::FromRects(V.data(), V.size());
  ASSERT_EQ(D.Rects().size(), 200u);
  std::vector<TRect> Seen;
  D.ForEachRectIn(TRect{1, 40, 51, 42}, [&](const TRect& R) { Seen.push_back(R); });
  EXPECT_EQ(Seen, (std::vector<TRect>{{1, 40, 3, 41}, {50, 40, 51, 41}, {10, 41, 13, 42}, {50, 41, 51, 42}}));
  Seen.clear();
  D.ForEachRectIn(TRect{4, 0, 9, 100}, [&](const TRect& R) { Seen.push_back(R); });
  D.ForEachRectIn(TRect{10, 10, 0, 20}, [&](const TRect& R) { Seen.push_back(R); });  // inverted: empty
  EXPECT_TRUE(Seen.empty());
}

struct TShapeCase {
  const char* Name;
  TRegionData Region;
  std::vector<std::string> Pixels;
};

// Ellipses: pixel (x, y) is in when its centre lies inside or on the ellipse inscribed in the
// box. For (0, 0, 5, 5) the centre is (2.5, 2.5) and the radii 2.5: pixel (1, 0) has its centre
// at (1.5, 0.5), (1/2.5)^2 + (2/2.5)^2 = 1, on the ellipse, so in; (0, 0) gives 1.28, out.
// For (0, 0, 8, 4): (u/8)^2 + (v/4)^2 <= 1/4 with u, v the centre offsets doubled.
TEST(RegionData, EllipsesAndRoundRectanglesFollowThePixelCentreRule) {
  const std::vector<TShapeCase> Cases{
      {"ellipse 5 x 5", TRegionData::FromEllipse(0, 0, 5, 5), {".###.", "#####", "#####", "#####", ".###."}},
      {"ellipse 8 x 4",
       TRegionData::FromEllipse(0, 0, 8, 4),
       {".######.", "########", "########", ".######."}},
      {"ellipse 4 x 4", TRegionData::FromEllipse(0, 0, 4, 4), {".##.", "####", "####", ".##."}},
      {"ellipse 3 x 3 fills its box", TRegionData::FromEllipse(0, 0, 3, 3), {"###", "###", "###"}},
      {"ellipse 1 x 1", TRegionData::FromEllipse(0, 0, 1, 1), {"#."}},
      {"ellipse 9 x 7",
       TRegionData::FromEllipse(0, 0, 9, 7),
       {"..#####..", ".#######.", "#########", "#########", "#########", ".#######.", "..#####.."}},
      {"ellipse with swapped corners",
       TRegionData::FromEllipse(5, 5, 0, 0),
       {".###.", "#####", "#####", "#####", ".###."}},
      {"ellipse without height", TRegionData::FromEllipse(0, 2, 5, 2), {".....", "....."}},
      {"round rectangle",
       TRegionData::FromRoundRect(0, 0, 10, 6, 4, 4),
       {".########.", "##########", "##########", "##########", "##########", ".########."}},
      {"round rectangle with a tall corner ellipse",
       TRegionData::FromRoundRect(0, 0, 7, 5, 3, 5),
       {".#####.", "#######", "#######", "#######", ".#####."}},
      {"round rectangle without corners",
       TRegionData::FromRoundRect(0, 0, 4, 3, 0, 3),
       {"####", "####", "####"}},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    ExpectCanonical(C.Region);
    const auto H = static_cast<Integer>(C.Pixels.size());
    const auto W = static_cast<Integer>(C.Pixels[0].size());
    EXPECT_EQ(Picture(C.Region, W, H), C.Pixels);
    EXPECT_TRUE(C.Region.Box().Right <= W && C.Region.Box().Bottom <= H);
  }
  EXPECT_EQ(TRegionData::FromEllipse(0, 0, 5, 5).Rects(),
            (std::vector<TRect>{{1, 0, 4, 1}, {0, 1, 5, 4}, {1, 4, 4, 5}}));
  // The shape does not depend on where the box is.
  TRegionData Moved = TRegionData::FromEllipse(0, 0, 9, 7);
  Moved.Offset(-30, 17);
  EXPECT_EQ(TRegionData::FromEllipse(-30, 17, -21, 24), Moved);
  // A corner ellipse as large as the box (or larger) is the ellipse.
  EXPECT_EQ(TRegionData::FromRoundRect(0, 0, 21, 13, 40, 13), TRegionData::FromEllipse(0, 0, 21, 13));
  EXPECT_THROW(TRegionData::FromEllipse(0, 0, 1 << 28, 10), ERangeError);
}

// Reference for the polygon tests: winding number at each pixel centre, counting the edges
// that cross the centre's row on or left of the centre.
std::vector<bool> PolygonPixels(const std::vector<TPoint>& P, bool Winding, Integer W, Integer H) {
  std::vector<bool> Out(W * H);
  for (Integer Y = 0; Y < H; ++Y)
    for (Integer X = 0; X < W; ++X) {
      int Count = 0;
      for (std::size_t I = 0; I < P.size(); ++I) {
        TPoint A = P[I], B = P[(I + 1) % P.size()];
        int Dir = 1;
        if (A.Y > B.Y) {
          std::swap(A, B);
          Dir = -1;
        }
        const Int64 Yc2 = 2 * Y + 1, Xc2 = 2 * X + 1;
        if (A.Y == B.Y || Yc2 < 2 * A.Y || Yc2 > 2 * B.Y) continue;
        const Int64 Dy = B.Y - A.Y, Dx = B.X - A.X;
        if (2 * Int64{A.X} * Dy + (Yc2 - 2 * A.Y) * Dx <= Xc2 * Dy) Count += Dir;
      }
      Out[Y * W + X] = Winding ? Count != 0 : Count % 2 != 0;
    }
  return Out;
}

TEST(RegionData, PolygonsFollowThePixelCentreRule) {
  // Hypotenuse on the right: a centre lying on it is outside, so row y keeps 7 - y pixels.
  const TPoint Left[] = {{0, 0}, {8, 0}, {0, 8}};
  // Hypotenuse on the left: a centre lying on it is inside, so row y keeps 8 - y pixels.
  const TPoint Right[] = {{0, 0}, {8, 0}, {8, 8}};
  const auto L = TRegionData::FromPolygon(Left, 3, ALTERNATE);
  const auto R = TRegionData::FromPolygon(Right, 3, WINDING);
  for (Integer Y = 0; Y < 8; ++Y) {
    for (Integer X = 0; X < 8; ++X) {
      EXPECT_EQ(L.Contains(X, Y), X < 7 - Y) << X << "," << Y;
      EXPECT_EQ(R.Contains(X, Y), X >= Y) << X << "," << Y;
    }
  }
  EXPECT_EQ(L.Box(), (TRect{0, 0, 7, 7}));
  // A rectangle outline covers what the rectangle region covers.
  const TPoint Box[] = {{2, 3}, {12, 3}, {12, 9}, {2, 9}};
  EXPECT_EQ(TRegionData::FromPolygon(Box, 4, ALTERNATE), TRegionData(TRect{2, 3, 12, 9}));
  // Fewer than three points enclose nothing.
  EXPECT_TRUE(TRegionData::FromPolygon(Box, 2, ALTERNATE).IsEmpty());
  EXPECT_THROW(TRegionData::FromPolygon(Box, 4, 3), EInvalidArgument);
}

TEST(RegionData, AlternateAndWindingDifferOnSelfOverlappingOutlines) {
  // Pentagram drawn in one stroke: the inner pentagon has winding number 2.
  const std::vector<TPoint> Star{{10, 0}, {16, 19}, {0, 7}, {20, 7}, {4, 19}};
  const auto A = TRegionData::FromPolygon(Star.data(), 5, ALTERNATE);
  const auto W = TRegionData::FromPolygon(Star.data(), 5, WINDING);
  ExpectCanonical(A);
  ExpectCanonical(W);
  EXPECT_EQ(Paint(A, 21, 21), PolygonPixels(Star, false, 21, 21));
  EXPECT_EQ(Paint(W, 21, 21), PolygonPixels(Star, true, 21, 21));
  EXPECT_FALSE(A.Contains(10, 10));
  EXPECT_TRUE(W.Contains(10, 10));
  EXPECT_TRUE(A.Contains(10, 2) && W.Contains(10, 2));
  // Two overlapping squares in one path, joined by an edge walked there and back.
  const TPoint Squares[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0},
                            {5, 5}, {15, 5}, {15, 15}, {5, 15}, {5, 5}};
  const TRegionData S1(TRect{0, 0, 10, 10}), S2(TRect{5, 5, 15, 15});
  TRegionData Xor, Or;
  Xor.Combine(S1, S2, RGN_XOR);
  Or.Combine(S1, S2, RGN_OR);
  EXPECT_EQ(TRegionData::FromPolygon(Squares, 10, ALTERNATE), Xor);
  EXPECT_EQ(TRegionData::FromPolygon(Squares, 10, WINDING), Or);
  // The same squares as a poly-polygon, the second drawn the other way round: winding 0 inside
  // the overlap too.
  const TPoint Two[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {5, 5}, {5, 15}, {15, 15}, {15, 5}};
  const Integer Counts[] = {4, 4};
  EXPECT_EQ(TRegionData::FromPolyPolygon(Two, Counts, 2, ALTERNATE), Xor);
  EXPECT_EQ(TRegionData::FromPolyPolygon(Two, Counts, 2, WINDING), Xor);
}

TEST(Regions, RegionDataBlockIsExact) {
  TRgn A(CreateRectRgn(-2, 0, 10, 10)), B(CreateRectRgn(20, 0, 30, 10));
  ASSERT_EQ(CombineRgn(A.get(), A.get(), B.get(), RGN_OR), COMPLEXREGION);
  ASSERT_EQ(GetRegionData(A.get(), 0, nullptr), 64u);
  const Byte Expected[64] = {
      32,   0,    0,    0,    1, 0, 0, 0, 2,  0, 0, 0, 32, 0, 0, 0,   // size, type, count, bytes
      0xFE, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 30, 0, 0, 0, 10, 0, 0, 0,   // bounds
      0xFE, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 10, 0, 0, 0, 10, 0, 0, 0,   // (-2, 0, 10, 10)
      20,   0,    0,    0,    0, 0, 0, 0, 30, 0, 0, 0, 10, 0, 0, 0};  // (20, 0, 30, 10)
  alignas(RGNDATA) Byte Buffer[80];
  std::memset(Buffer, 0xAA, sizeof Buffer);
  auto* Data = reinterpret_cast<RGNDATA*>(Buffer);
  EXPECT_EQ(GetRegionData(A.get(), 63, Data), 0u);
  EXPECT_EQ(Buffer[0], 0xAA);
  EXPECT_EQ(GetRegionData(A.get(), 80, Data), 80u);
  EXPECT_EQ(std::memcmp(Buffer, Expected, 64), 0);
  EXPECT_EQ(Buffer[64], 0xAA);
  TRgn Empty(CreateRectRgn(0, 0, 0, 5));
  EXPECT_EQ(GetRegionData(Empty.get(), 0, nullptr), 32u);
}

TEST(Regions, ExtCreateRegionRoundTripsAndBuildsFromLooseRectangleLists) {
  TRgn E(CreateEllipticRgn(3, -4, 40, 25));
  const DWORD Size = GetRegionData(E.get(), 0, nullptr);
  std::vector<Byte> Block(Size);
  ASSERT_EQ(GetRegionData(E.get(), Size, reinterpret_cast<RGNDATA*>(Block.data())), Size);
  TRgn Back(ExtCreateRegion(nullptr, Size, reinterpret_cast<const RGNDATA*>(Block.data())));
  ASSERT_TRUE(Back);
  EXPECT_TRUE(EqualRgn(E.get(), Back.get()));

  // A block as rectangle collectors write it: unsorted, overlapping, one empty and one inverted
  // rectangle, the region-size field 16, four spare bytes at the end.
  const Integer Rects[][4] = {
      {10, 10, 20, 20}, {0, 0, 12, 12}, {5, 5, 5, 30}, {30, 0, 25, 5}, {0, 12, 10, 20}};
  std::vector<Byte> Loose(36 + 16 * 5);
  const Integer Header[8] = {32, 1, 5, 16, 0, 0, 20, 20};
  std::memcpy(Loose.data(), Header, 32);
  std::memcpy(Loose.data() + 32, Rects, sizeof Rects);
  const auto* LooseData = reinterpret_cast<const RGNDATA*>(Loose.data());
  TRgn L(ExtCreateRegion(nullptr, static_cast<DWORD>(Loose.size()), LooseData));
  ASSERT_TRUE(L);
  EXPECT_EQ(L->Data.Rects(), (std::vector<TRect>{{0, 0, 12, 10}, {0, 10, 20, 20}}));
  ExpectCanonical(L->Data);

  // Scaling, mirroring and moving transforms.
  const XFORM Scale{2, 0, 0, 3, 5, -1};
  TRgn S(ExtCreateRegion(&Scale, static_cast<DWORD>(Loose.size()), LooseData));
  ASSERT_TRUE(S);
  EXPECT_EQ(S->Data.Rects(), (std::vector<TRect>{{5, -1, 29, 29}, {5, 29, 45, 59}}));
  const XFORM Mirror{-1, 0, 0, 1, 0, 0};
  TRgn M(ExtCreateRegion(&Mirror, static_cast<DWORD>(Loose.size()), LooseData));
  ASSERT_TRUE(M);
  EXPECT_EQ(M->Data.Box(), (TRect{-20, 0, 0, 20}));
  EXPECT_TRUE(PtInRegion(M.get(), -1, 0));
  EXPECT_FALSE(PtInRegion(M.get(), 0, 0));

  // Malformed blocks and unsupported transforms fail.
  const XFORM Rotate{0, 1, -1, 0, 0, 0};
  EXPECT_EQ(ExtCreateRegion(&Rotate, static_cast<DWORD>(Loose.size()), LooseData), nullptr);
  EXPECT_EQ(ExtCreateRegion(nullptr, 32 + 16 * 5 - 1, LooseData), nullptr);
  EXPECT_EQ(ExtCreateRegion(nullptr, 16, LooseData), nullptr);
  EXPECT_EQ(ExtCreateRegion(nullptr, 100, nullptr), nullptr);
  for (std::size_t Field : {0, 4}) {
    std::vector<Byte> Bad = Loose;
    Bad[Field] = 2;
    EXPECT_EQ(ExtCreateRegion(nullptr, static_cast<DWORD>(Bad.size()),
                              reinterpret_cast<const RGNDATA*>(Bad.data())),
              nullptr);
  }
  // No rectangles: an empty region.
  const Integer NoRects[8] = {32, 1, 0, 0, 0, 0, 0, 0};
  TRgn None(ExtCreateRegion(nullptr, 32, reinterpret_cast<const RGNDATA*>(NoRects)));
  ASSERT_TRUE(None);
  RECT Box{1, 1, 1, 1};
  EXPECT_EQ(GetRgnBox(None.get(), &Box), NULLREGION);
  EXPECT_EQ(Box, (TRect{0, 0, 0, 0}));
}

TEST(Regions, HitTestsExcludeRightAndBottomEdges) {
  TRgn R(CreateRectRgn(20, 20, 10, 10));  // corners put in order
  TRgn Hole(CreateRectRgn(13, 13, 17, 17));
  ASSERT_EQ(CombineRgn(R.get(), R.get(), Hole.get(), RGN_DIFF), COMPLEXREGION);
  struct TPt {
    Integer X, Y;
    BOOL In;
  };
  for (const TPt& P : {TPt{10, 10, TRUE}, TPt{19, 19, TRUE}, TPt{20, 15, FALSE}, TPt{15, 20, FALSE},
                       TPt{9, 15, FALSE}, TPt{15, 9, FALSE}, TPt{12, 15, TRUE}, TPt{13, 13, FALSE},
                       TPt{16, 16, FALSE}, TPt{17, 16, TRUE}, TPt{16, 17, TRUE}})
    EXPECT_EQ(PtInRegion(R.get(), P.X, P.Y), P.In) << P.X << "," << P.Y;
  const RECT Touching{20, 10, 30, 20}, Inside{13, 13, 17, 17}, Crossing{16, 16, 18, 18},
      Swapped{18, 18, 16, 16};
  EXPECT_FALSE(RectInRegion(R.get(), &Touching));
  EXPECT_FALSE(RectInRegion(R.get(), &Inside));
  EXPECT_TRUE(RectInRegion(R.get(), &Crossing));
  EXPECT_TRUE(RectInRegion(R.get(), &Swapped));
  EXPECT_FALSE(PtInRegion(nullptr, 0, 0));
}

TEST(Regions, HandleCallsReportComplexityAndFailures) {
  TRgn R(CreateRoundRectRgn(0, 0, 10, 6, 4, 4));
  RECT Box{};
  EXPECT_EQ(GetRgnBox(R.get(), &Box), COMPLEXREGION);
  EXPECT_EQ(Box, (TRect{0, 0, 10, 6}));
  EXPECT_EQ(OffsetRgn(R.get(), 5, -3), COMPLEXREGION);
  GetRgnBox(R.get(), &Box);
  EXPECT_EQ(Box, (TRect{5, -3, 15, 3}));
  EXPECT_TRUE(PtInRegion(R.get(), 6, -3));
  EXPECT_FALSE(PtInRegion(R.get(), 5, -3));
  // An offset leaving the coordinate range fails and changes nothing.
  EXPECT_EQ(OffsetRgn(R.get(), 0x7FFFFFF1, 0), ERROR);
  GetRgnBox(R.get(), &Box);
  EXPECT_EQ(Box, (TRect{5, -3, 15, 3}));

  TRgn Copy(CreateRectRgn(0, 0, 1, 1));
  EXPECT_EQ(CombineRgn(Copy.get(), R.get(), nullptr, RGN_COPY), COMPLEXREGION);
  EXPECT_TRUE(EqualRgn(Copy.get(), R.get()));
  EXPECT_EQ(CombineRgn(Copy.get(), R.get(), nullptr, RGN_OR), ERROR);
  EXPECT_FALSE(EqualRgn(Copy.get(), nullptr));
  EXPECT_TRUE(SetRectRgn(Copy.get(), 8, 9, 2, 3));
  EXPECT_EQ(GetRgnBox(Copy.get(), &Box), SIMPLEREGION);
  EXPECT_EQ(Box, (TRect{2, 3, 8, 9}));
  EXPECT_TRUE(SetRectRgn(Copy.get(), 2, 3, 2, 9));
  EXPECT_EQ(GetRgnBox(Copy.get(), &Box), NULLREGION);

  const RECT Rc{0, 0, 5, 5};
  TRgn E1(CreateEllipticRgnIndirect(&Rc)), E2(CreateEllipticRgn(0, 0, 5, 5)), R1(CreateRectRgnIndirect(&Rc));
  EXPECT_TRUE(EqualRgn(E1.get(), E2.get()));
  EXPECT_FALSE(EqualRgn(E1.get(), R1.get()));
  EXPECT_EQ(CreateEllipticRgn(0, 0, 1 << 28, 5), nullptr);
  const POINT Tri[] = {{0, 0}, {4, 0}, {0, 4}};
  EXPECT_EQ(CreatePolygonRgn(Tri, 3, 0), nullptr);
  EXPECT_EQ(CreatePolygonRgn(Tri, -1, ALTERNATE), nullptr);
  TRgn T(CreatePolygonRgn(Tri, 3, ALTERNATE));
  ASSERT_TRUE(T);
  EXPECT_EQ(T->ObjType, OBJ_REGION);
  EXPECT_EQ(T->Data.Rects().size(), 3u);
}

// The numbers the generators produce, against the rules worked out independently here: the
// nodes of the pinch and the tubes, the start angle of the circles' rings and the pen width
// of the wire frame. The generators run through a host of their own, without a window.
#include <algorithm>
#include <cmath>

#include "AppTestSupport.h"
#include "app/PatternHost.h"
#include "app/Patterns.h"

namespace {
constexpr double Pi = 3.141592653589793;

class TGeneratorNumbersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetPatternHost(&Host);
    ResultBitmap = std::make_unique<TBitmap>();
    VideoMode = 0;
    AbortRequested = 0;
    OffsetX = OffsetY = 0;
  }
  void TearDown() override {
    SetPatternHost(nullptr);
    ResultBitmap.reset();
  }
  TSilentPatternHost Host;
};

struct TPointF {
  double X, Y;
};

// The base position of node I (1-based) of N over S pixels.
double Base(Integer I, Integer N, Integer S) {
  return (I - 1) * static_cast<double>(S) / (N - 1);
}

// The pinch as a mirror across the anti-diagonal and a scale towards the centre: the node
// lands at (c + (c - y0) k, c + (c - x0) k), k = 1 on the border and (d / m)^(P1 / 10 / h)
// inside, h = 10..24 growing with the distance d.
TPointF PinchNode(Integer I, Integer J, Integer N, Integer S, Integer P1) {
  const double C = S / 2.0, X0 = Base(I, N, S), Y0 = Base(J, N, S);
  const double D = std::hypot(C - X0, C - Y0);
  double K = 1;
  if (D != 0 && I != 1 && I != N && J != 1 && J != N) {
    const double M = std::min(std::hypot(C - Y0, C), std::hypot(C, C - X0));
    const double H = std::clamp(-4.0 * S / D + 24, 10.0, 24.0);
    K = std::pow(D / M, P1 / 10.0 / H);
  }
  return {C + (C - Y0) * K, C + (C - X0) * K};
}

// A tube coordinate: mirrored across the middle, moved by s = f cos a + (1 - f)(1 - sin a)
// raised to g where positive, f = P1 / range + 1/2 and g = P2 / 100.
double TubeCoordinate(double Q0, Integer S, double F, double G) {
  const double H = S / 2.0, Dq = H - Q0, A = std::abs(Dq / H) * Pi / 2;
  double Sv = F * std::cos(A) + (1 - F) * (1 - std::sin(A));
  if (Sv > 0) Sv = std::pow(Sv, G);
  return Dq > 0 ? H + (1 - Sv) * H : H - (1 - Sv) * H;
}
}  // namespace

TEST_F(TGeneratorNumbersTest, MeshNodesLieWhereThePinchAndTubeRulesPutThem) {
  // Nine nodes a side over 180 pixels: (5, 5) is the centre, (4, 5) close enough for the
  // smallest h, (1, 4) and (9, 9) on the border.
  constexpr Integer N = 9, S = 180;
  const TPoint Nodes[] = {{5, 5}, {4, 5}, {3, 2}, {2, 7}, {6, 8}, {1, 4}, {9, 9}};
  const struct {
    const char* Name;
    Byte Type;
    Integer P1, P2, P1Min, P1Max;
  } Cases[] = {
      {"pinch, flat", ptPinch, 0, 0, -100, 100},
      {"pinch in", ptPinch, 40, 0, -100, 100},
      {"pinch out", ptPinch, -70, 0, -100, 100},
      {"tube, rows", ptVerCylinder, 60, 150, -100, 100},
      {"tube, rows, other range", ptVerCylinder, 60, 150, 0, 100},
      {"tube, columns", ptHorCylinder, -40, 130, -100, 100},
      {"tube, columns, even", ptHorCylinder, 0, 100, -100, 100},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    Host.Position[0] = C.P1;
    Host.Position[1] = C.P2;
    Host.Minimum[0] = C.P1Min;
    Host.Maximum[0] = C.P1Max;
    NodeCount = N;
    PatternSize = S;
    for (TNodeTable* T : {&NodeX, &NodeY, &MeshCentreX, &MeshCentreY}) T->Reset(N);
    const double F = static_cast<double>(C.P1) / (C.P1Max - C.P1Min) + 0.5, G = C.P2 / 100.0;
    auto Expected = [&](Integer I, Integer J) -> TPointF {
      if (C.Type == ptPinch) return PinchNode(I, J, N, S, C.P1);
      if (C.Type == ptVerCylinder) return {Base(I, N, S), TubeCoordinate(Base(J, N, S), S, F, G)};
      return {TubeCoordinate(Base(I, N, S), S, F, G), Base(J, N, S)};
    };
    if (C.Type == ptPinch) CreatePinch();
    if (C.Type == ptVerCylinder) CreateVerCylinder();
    if (C.Type == ptHorCylinder) CreateHorCylinder();
    for (const TPoint Node : Nodes) {
      const TPointF E = Expected(Node.X, Node.Y);
      EXPECT_NEAR(NodeX(Node.X, Node.Y), E.X, 0.005) << "node " << Node.X << "," << Node.Y;
      EXPECT_NEAR(NodeY(Node.X, Node.Y), E.Y, 0.005) << "node " << Node.X << "," << Node.Y;
    }
    // Cell (5, 7) lies between nodes (5, 7) and (6, 8); its seed is entry 4 * 8 + 7.
    ASSERT_EQ(SeedCount, (N - 1) * (N - 1));
    const TPointF Corner = Expected(6, 8), Opposite = Expected(5, 7);
    const TPointF Left = Expected(5, 8), Top = Expected(6, 7);
    EXPECT_EQ(CellCentreX[39], std::lround((Corner.X + Opposite.X) / 2));
    EXPECT_EQ(CellCentreY[39], std::lround((Top.Y + Left.Y) / 2));
  }
}

namespace {
// The first seed of ring K of the circles and its entry: n segments a ring (the ring count,
// or from 6 growing towards it with c), the first starting at (e / 20 + 1) * 2pi / n on
// even rings and at 0 on odd ones, scaled by the ring's growth when c > 0.
struct TRingStart {
  Integer Entry;
  TPoint Seed;
};
TRingStart FirstSeedOfRing(Integer Ring, Integer S, Integer P1, Integer P2, Integer P5) {
  const double D = P1 / 10.0, E = P2 / 10.0, C = P5 / 10.0;
  const double Cx = S / 2.0 + OffsetX, Cy = S / 2.0 + OffsetY;
  const double D0 = 2 + D, U = 3 * D0;
  const double Rings = std::nearbyint((std::sqrt(2.0) * S / 2 + std::abs(OffsetX) + std::abs(OffsetY)) / U);
  double V = 1;
  Integer Entry = 1;
  for (Integer K = 0;; ++K) {
    const double Grow = C > 0 ? 1 - std::exp(-K / (C + 1)) : 0;
    const double Segments = C > 0 ? std::max(6.0, std::nearbyint(Grow * Rings)) : Rings;
    const double B = 2 * Pi / Segments;
    const double A = (K % 2 == 0 ? (E / 20 + 1) * B : 0) * (C > 0 ? Grow : 1);
    const double R1 = D0 * V + K * U, R2 = R1 + U;
    if (K == Ring) {
      const double Xs[] = {std::sin(A) * R1, std::sin(A) * R2, std::sin(A + B) * R2, std::sin(A + B) * R1};
      const double Ys[] = {std::cos(A) * R1, std::cos(A) * R2, std::cos(A + B) * R2, std::cos(A + B) * R1};
      const double Mx = (*std::min_element(Xs, Xs + 4) + *std::max_element(Xs, Xs + 4)) / 2 + Cx;
      const double My = (*std::min_element(Ys, Ys + 4) + *std::max_element(Ys, Ys + 4)) / 2 + Cy;
      return {Entry, {static_cast<Integer>(std::lround(Mx)), static_cast<Integer>(std::lround(My))}};
    }
    Entry += static_cast<Integer>(Segments) + 1;
    V = std::cos(B / 2);
  }
}
}  // namespace

TEST_F(TGeneratorNumbersTest, EachRingsFirstSegmentStartsAtItsStartAngle) {
  constexpr Integer S = 400;
  const struct {
    Integer P1, P2, P5, OffsetX, OffsetY;
    std::vector<Integer> Rings;
  } Cases[] = {
      {20, 100, 0, 0, 0, {0, 1, 2, 7}},
      {20, 0, 0, 0, 0, {0, 2}},
      {50, 40, 0, 30, -20, {0, 1, 4}},
      {20, 100, 40, 0, 0, {0, 1, 2, 6}},
  };
  for (const auto& C : Cases) {
    Host.Position[0] = C.P1;
    Host.Position[1] = C.P2;
    Host.Position[4] = C.P5;
    PatternSize = S;
    OffsetX = C.OffsetX;
    OffsetY = C.OffsetY;
    CreateCircles();
    for (const Integer Ring : C.Rings) {
      SCOPED_TRACE(testing::Message() << "P1 " << C.P1 << " P2 " << C.P2 << " P5 " << C.P5 << " offset "
                                      << C.OffsetX << "," << C.OffsetY << " ring " << Ring);
      const TRingStart Start = FirstSeedOfRing(Ring, S, C.P1, C.P2, C.P5);
      ASSERT_LE(Start.Entry, SeedCount);
      EXPECT_EQ(CellCentreX[Start.Entry], Start.Seed.X);
      EXPECT_EQ(CellCentreY[Start.Entry], Start.Seed.Y);
    }
  }
}

TEST_F(TMosaicTest, TheWireFrameIsDrawnInTheWidthOfTheLineSpin) {
  // The flat pinch on a 420-pixel square is a grid of lines 21 pixels apart. A row halfway
  // between two grid rows crosses the vertical lines only: each crossing is as wide as the
  // pen, the outline aside.
  Form->NoRim->SetChecked(false);
  LoadUniform(420, 420, clWhite);
  ASSERT_EQ(PatternSize, 420);
  PatternType = ptPinch;
  Form->TrackBarP[0]->SetValue(0);
  Busy = 1;
  Form->FrameOnly->SetChecked(true);
  Form->PatternColors->SetChecked(false);
  Busy = 0;
  for (const Integer Width : {1, 3, 5}) {
    SCOPED_TRACE(testing::Message() << "line " << Width);
    Busy = 1;
    Form->LineSpin->SetValue(Width);
    Busy = 0;
    Form->CreateMosaic(Form->UpdateBtn);
    TBitmap* Frame = ResultBitmap.get();
    const Integer W = Frame->GetWidth(), Y = 21 * 10 + 10;
    std::vector<Integer> Runs;
    for (Integer X = 0; X < W;) {
      if (PixelAt(Frame, X, Y) != clBlack) {
        ++X;
        continue;
      }
      const Integer First = X;
      while (X < W && PixelAt(Frame, X, Y) == clBlack) ++X;
      if (First > 0 && X < W) Runs.push_back(X - First);
    }
    EXPECT_GE(Runs.size(), 18u);
    EXPECT_EQ(std::count(Runs.begin(), Runs.end(), Width), static_cast<std::ptrdiff_t>(Runs.size()));
  }
}

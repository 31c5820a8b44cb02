// The pixel effects: the diagonal blur, the four-neighbour anti-alias, the lightening and the
// byte clamp, against hand-worked rows and a direct reading of their rules.
#include <gtest/gtest.h>

#include <vector>

#include "AppTestSupport.h"
#include "app/PostProcessing.h"

namespace {
// A picture as plain channels, W x H x 3, for the direct forms of the rules.
struct TPlain {
  Integer W, H;
  std::vector<Integer> V;
  Integer& At(Integer X, Integer Y, Integer C) { return V[(static_cast<std::size_t>(Y) * W + X) * 3 + C]; }
};

TPlain PlainOf(TBitmap* B) {
  TPlain P{B->GetWidth(), B->GetHeight(), {}};
  P.V.resize(static_cast<std::size_t>(P.W) * P.H * 3);
  for (Integer Y = 0; Y < P.H; ++Y)
    for (Integer X = 0; X < P.W; ++X) {
      const TColor C = PixelAt(B, X, Y);
      P.At(X, Y, 0) = C >> 16 & 255, P.At(X, Y, 1) = C >> 8 & 255, P.At(X, Y, 2) = C & 255;
    }
  return P;
}

// The blur as its rule reads, one pixel at a time, in place.
void DirectShiftBlur(TPlain& P, Integer N) {
  if (N == 0) return;
  for (Integer Pass = 0; Pass <= N; ++Pass)
    for (Integer Y = 0; Y < P.H; ++Y)
      for (Integer X = 0; X < P.W; ++X) {
        const Integer Ax = X - N < 0 ? X : X - N, Cx = X + N >= P.W ? X : X + N;
        const Integer Ty = Y - N < 0 ? Y : Y - N, By = Y + N >= P.H ? Y : Y + N;
        for (Integer C = 0; C < 3; ++C)
          P.At(X, Y, C) = (P.At(Ax, Ty, C) + P.At(Ax, By, C) + P.At(Cx, Ty, C) + P.At(Cx, By, C)) >> 2;
      }
}

TColor Noise(Integer X, Integer Y) {
  const Cardinal H = static_cast<Cardinal>(X) * 73856093u ^ static_cast<Cardinal>(Y) * 19349663u;
  return static_cast<TColor>((H * 2654435761u) & 0xFFFFFF);
}
}  // namespace

TEST(PostProcessing, ClampByteLimitsToAByte) {
  const Integer Cases[][2] = {{-300, 0}, {-1, 0}, {0, 0}, {128, 128}, {255, 255}, {256, 255}, {1000, 255}};
  for (const auto& C : Cases) EXPECT_EQ(ClampByte(C[0]), C[1]) << C[0];
}

TEST(PostProcessing, LightenBitmapMovesEachChannelTowardsWhite) {
  // v + amount * (255 - v) div 255, per channel.
  const struct {
    Integer Amount, In, Out;
  } Cases[] = {{0, 100, 100}, {128, 0, 128}, {128, 100, 177}, {128, 255, 255},
               {255, 3, 255}, {1, 0, 1},     {1, 1, 1}};
  for (const auto& C : Cases) {
    auto B = MakeBitmap(2, 1, [&](Integer, Integer) { return Rgb(C.In, C.In, C.In); });
    LightenBitmap(B.get(), C.Amount);
    EXPECT_EQ(PixelAt(B.get(), 1, 0), Rgb(C.Out, C.Out, C.Out)) << C.Amount << " " << C.In;
  }
  // Every channel value in long rows, amounts in and out of 0..255.
  for (Integer Amount : {0, 1, 2, 77, 128, 200, 254, 255, 256, 400, -1, -90}) {
    auto B = MakeBitmap(
        259, 2, [](Integer X, Integer Y) { return Rgb((X + Y) & 255, (3 * X) & 255, (255 - X) & 255); });
    const TPlain Before = PlainOf(B.get());
    LightenBitmap(B.get(), Amount);
    TPlain After = PlainOf(B.get());
    for (std::size_t I = 0; I < Before.V.size(); ++I)
      ASSERT_EQ(After.V[I], ClampByte(Before.V[I] + Amount * (255 - Before.V[I]) / 255))
          << Amount << " " << Before.V[I];
  }
}

TEST(PostProcessing, ShiftBlurOfOneRowUsesTheRowItselfAboveAndBelow) {
  // Distance 1, two passes over a single row: above and below are the row itself, the left
  // samples already blurred in this pass, the first and last pixel their own column.
  const Integer In[] = {0, 100, 200, 40, 80};
  auto B = MakeBitmap(5, 1, [&](Integer X, Integer) { return Rgb(In[X], 0, 0); });
  ShiftBlur(B.get(), 1);
  const Integer Out[] = {87, 84, 82, 81, 80};
  for (Integer X = 0; X < 5; ++X) EXPECT_EQ(PixelAt(B.get(), X, 0), Rgb(Out[X], 0, 0)) << X;
}

TEST(PostProcessing, ShiftBlurFollowsItsRuleOnEveryShape) {
  // Sizes below, at and above twice the distance, so that rows and columns with samples on
  // one side only, on both sides and on neither are all met.
  const Integer Sizes[][2] = {{1, 1}, {3, 2}, {4, 4}, {5, 9}, {13, 11}, {70, 9}, {41, 37}};
  for (Integer N : {0, 1, 2, 3})
    for (const auto& S : Sizes) {
      auto B = MakeBitmap(S[0], S[1], Noise);
      TPlain Expected = PlainOf(B.get());
      DirectShiftBlur(Expected, N);
      ShiftBlur(B.get(), N);
      const TPlain Got = PlainOf(B.get());
      EXPECT_EQ(Got.V, Expected.V) << "n " << N << " size " << S[0] << "x" << S[1];
    }
}

TEST(PostProcessing, SmoothRectAveragesFourNeighboursInPlace) {
  // 4 x 3: only (1, 1) and (2, 1) are inside the outer ring; (2, 1) sees (1, 1) smoothed.
  const Integer V[3][4] = {{10, 20, 30, 40}, {50, 60, 70, 80}, {90, 100, 110, 120}};
  auto B = MakeBitmap(4, 3, [&](Integer X, Integer Y) { return Rgb(V[Y][X], V[Y][X], 255 - V[Y][X]); });
  SmoothRect(B.get(), 0, 0, 4, 3);
  const Integer P11 = (20 + 100 + 50 + 70) >> 2;   // 60
  const Integer P21 = (30 + 110 + P11 + 80) >> 2;  // 70
  const Integer B11 = ((255 - 20) + (255 - 100) + (255 - 50) + (255 - 70)) >> 2;
  const Integer B21 = ((255 - 30) + (255 - 110) + B11 + (255 - 80)) >> 2;
  EXPECT_EQ(PixelAt(B.get(), 1, 1), Rgb(P11, P11, B11));
  EXPECT_EQ(PixelAt(B.get(), 2, 1), Rgb(P21, P21, B21));
  for (Integer X = 0; X < 4; ++X) {
    EXPECT_EQ(PixelAt(B.get(), X, 0), Rgb(V[0][X], V[0][X], 255 - V[0][X]));
    EXPECT_EQ(PixelAt(B.get(), X, 2), Rgb(V[2][X], V[2][X], 255 - V[2][X]));
  }
}

TEST(PostProcessing, SmoothRectTakesCornersInEitherOrderAndSparesSmallBitmaps) {
  auto A = MakeBitmap(9, 7, Noise);
  auto B = MakeBitmap(9, 7, Noise);
  SmoothRect(A.get(), 1, 2, 6, 5);
  SmoothRect(B.get(), 6, 5, 1, 2);
  EXPECT_EQ(PlainOf(A.get()).V, PlainOf(B.get()).V);
  for (const auto& S : {std::pair{2, 2}, std::pair{2, 5}, std::pair{5, 2}}) {
    auto Small = MakeBitmap(S.first, S.second, Noise);
    const auto Before = PlainOf(Small.get()).V;
    SmoothRect(Small.get(), 0, 0, S.first, S.second);
    EXPECT_EQ(PlainOf(Small.get()).V, Before) << S.first << "x" << S.second;
  }
}

TEST(PostProcessing, BlurredCopyIsACopyLightenedThenBlurredAndTellsEachFinalRow) {
  const Integer Sizes[][2] = {{1, 1}, {7, 3}, {40, 12}, {33, 29}};
  for (Integer N : {0, 1, 2})
    for (Integer Amount : {0, 90, 255})
      for (const auto& S : Sizes) {
        auto Source = MakeBitmap(S[0], S[1], Noise);
        auto Expected = MakeBitmap(S[0], S[1], Noise);
        if (Amount > 0) LightenBitmap(Expected.get(), Amount);
        ShiftBlur(Expected.get(), N);
        TBitmap Copy;
        std::vector<Integer> Order;
        std::vector<std::vector<Byte>> Told;
        BlurredCopy(Source.get(), &Copy, N, Amount, [&](Integer Y, const Byte* Row) {
          Order.push_back(Y);
          Told.emplace_back(Row, Row + 3 * S[0]);
        });
        SCOPED_TRACE("n " + std::to_string(N) + " amount " + std::to_string(Amount) + " size " +
                     std::to_string(S[0]) + "x" + std::to_string(S[1]));
        EXPECT_EQ(PlainOf(&Copy).V, PlainOf(Expected.get()).V);
        ASSERT_EQ(Order.size(), static_cast<std::size_t>(S[1]));
        for (Integer Y = 0; Y < S[1]; ++Y) {
          EXPECT_EQ(Order[Y], Y);
          const Byte* Final = static_cast<Byte*>(Copy.GetScanLine(Y));
          EXPECT_EQ(Told[Y], std::vector<Byte>(Final, Final + 3 * S[0])) << "row " << Y;
        }
      }
}

TEST(PostProcessing, BlurredRowsAreTheRowsOfTheBlurredCopyWithoutAPictureOfItsSize) {
  const Integer Sizes[][2] = {{1, 1}, {7, 3}, {40, 12}, {33, 29}};
  for (Integer N : {0, 1, 2, 3})
    for (Integer Amount : {0, 90})
      for (const auto& S : Sizes) {
        auto Source = MakeBitmap(S[0], S[1], Noise);
        TBitmap Copy;
        BlurredCopy(Source.get(), &Copy, N, Amount);
        SCOPED_TRACE("n " + std::to_string(N) + " amount " + std::to_string(Amount) + " size " +
                     std::to_string(S[0]) + "x" + std::to_string(S[1]));
        TBlurredRows Rows(Source.get(), N, Amount);
        for (Integer Y = 0; Y < S[1]; ++Y) {
          const Byte* Row = Rows.Next();
          ASSERT_NE(Row, nullptr) << "row " << Y;
          const Byte* Expected = static_cast<Byte*>(Copy.GetScanLine(Y));
          ASSERT_EQ(std::vector<Byte>(Row, Row + 3 * S[0]), std::vector<Byte>(Expected, Expected + 3 * S[0]))
              << "row " << Y;
        }
        EXPECT_EQ(Rows.Next(), nullptr);
      }
}

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/system/Exceptions.h"
#include "platform/system/Math.h"

TEST(Math, RoundTakesHalvesToEven) {
  struct {
    Extended X;
    Int64 Expected;
  } const Cases[] = {{0.5L, 0},
                     {1.5L, 2},
                     {2.5L, 2},
                     {-0.5L, 0},
                     {-1.5L, -2},
                     {-2.5L, -2},
                     {126.5L, 126},
                     {127.5L, 128},
                     {0.49999999999999994L, 0},
                     {2.5000001L, 3},
                     {-2.4999999L, -2},
                     {4503599627370497.5L, 4503599627370498}};  // beyond double, within extended
  for (const auto& C : Cases) EXPECT_EQ(Round(C.X), C.Expected) << static_cast<double>(C.X);
}

TEST(Math, TruncFracIntFloorCeilOfNegatives) {
  struct {
    Extended X;
    Int64 Trunc;
    Extended Int;
    Extended Frac;
    Integer Floor;
    Integer Ceil;
  } const Cases[] = {{-2.5L, -2, -2.0L, -0.5L, -3, -2},
                     {-3.0L, -3, -3.0L, 0.0L, -3, -3},
                     {2.75L, 2, 2.0L, 0.75L, 2, 3},
                     {-0.25L, 0, 0.0L, -0.25L, -1, 0},
                     {0.0L, 0, 0.0L, 0.0L, 0, 0}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(static_cast<double>(C.X));
    EXPECT_EQ(Trunc(C.X), C.Trunc);
    EXPECT_EQ(Int(C.X), C.Int);
    EXPECT_EQ(Frac(C.X), C.Frac);
    EXPECT_EQ(Floor(C.X), C.Floor);
    EXPECT_EQ(Ceil(C.X), C.Ceil);
  }
}

TEST(Math, ResultsOutsideTheirTypeRaiseInvalidOp) {
  EXPECT_THROW(Round(1e19L), EInvalidOp);
  EXPECT_THROW(Round(std::numeric_limits<Extended>::quiet_NaN()), EInvalidOp);
  EXPECT_THROW(Trunc(-1e19L), EInvalidOp);
  EXPECT_THROW(Floor(2147483648.0L), EInvalidOp);
  EXPECT_THROW(Ceil(-2147483649.5L), EInvalidOp);
  EXPECT_EQ(Ceil(-2147483648.5L), -2147483647 - 1);
  EXPECT_EQ(Floor(-2147483648.0L), -2147483647 - 1);
  EXPECT_EQ(Round(-9223372036854775808.0L), std::numeric_limits<Int64>::min());
}

TEST(Math, MulDivRoundsHalvesAwayFromZero) {
  struct {
    Integer Number, Numerator, Denominator, Expected;
  } const Cases[] = {
      {5, 1, 2, 3},
      {-5, 1, 2, -3},
      {7, 1, 2, 4},
      {5, -1, 2, -3},
      {5, 1, -2, -3},
      {-5, -1, -2, -3},
      {-5, 1, -2, 3},
      {1, 1, 3, 0},
      {2, 1, 3, 1},
      {-2, 1, 3, -1},
      {300, 50, 100, 150},
      {7, 65536, 3, 152917},
      {65536, 65536, 65536, 65536},    // the 64-bit product does not overflow
      {2147483647, 2, 2, 2147483647},  // nor a product beyond 32 bits
      {5, 1, 0, -1},
      {0, 0, 0, -1},           // zero denominator
      {2147483647, 2, 1, -1},  // result beyond 32 bits
      {-2147483647 - 1, -1, 1, -1},
      {-2147483647 - 1, 1, 1, -2147483647 - 1},
      {-2147483647 - 1, -2147483647 - 1, -2147483647 - 1, -2147483647 - 1},
  };
  for (const auto& C : Cases)
    EXPECT_EQ(MulDiv(C.Number, C.Numerator, C.Denominator), C.Expected)
        << C.Number << " * " << C.Numerator << " / " << C.Denominator;
}

TEST(Math, PowerAndIntPowerEdges) {
  EXPECT_EQ(Power(0, 0), 1.0L);
  EXPECT_EQ(Power(0, 3), 0.0L);
  EXPECT_EQ(Power(-2, 3), -8.0L);  // integral exponent: a negative base is fine
  EXPECT_EQ(Power(-2, -2), 0.25L);
  EXPECT_NEAR(static_cast<double>(Power(2, 0.5L)), 1.4142135623730951, 1e-15);
  EXPECT_NEAR(static_cast<double>(Power(10, 2.5L)), 316.22776601683796, 1e-12);
  EXPECT_THROW(Power(-8, 1.0L / 3), EInvalidOp);
  EXPECT_THROW(Power(0, -1), EZeroDivide);
  EXPECT_THROW(Power(0, -0.5L), EZeroDivide);
  EXPECT_THROW(Power(10, 10000), EOverflow);

  EXPECT_EQ(IntPower(0, 0), 1.0L);
  EXPECT_EQ(IntPower(3, 13), 1594323.0L);
  EXPECT_EQ(IntPower(-3, 3), -27.0L);
  EXPECT_EQ(IntPower(2, -3), 0.125L);
  EXPECT_EQ(IntPower(2, -16382), std::ldexp(1.0L, -16382));
  EXPECT_EQ(IntPower(1, -2147483647 - 1), 1.0L);
  EXPECT_THROW(IntPower(0, -2), EZeroDivide);
  EXPECT_THROW(IntPower(10, -5000), EOverflow);  // the positive power is formed first
}

TEST(Math, SignMinMaxRanges) {
  EXPECT_EQ(Sign(-7), -1);
  EXPECT_EQ(Sign(Int64{0}), 0);
  EXPECT_EQ(Sign(0.25), 1);
  EXPECT_EQ(Min(3, -4), -4);
  EXPECT_EQ(Max(Int64{1} << 40, Int64{5}), Int64{1} << 40);
  EXPECT_EQ(Max(1.5f, 2.5f), 2.5f);
  EXPECT_EQ(Min(1.5L, -2.5L), -2.5L);
  EXPECT_TRUE(InRange(5, 5, 9));
  EXPECT_FALSE(InRange(10, 5, 9));
  EXPECT_EQ(EnsureRange(-3, 0, 255), 0);
  EXPECT_EQ(EnsureRange(300, 0, 255), 255);
  EXPECT_EQ(EnsureRange(0.5, 0.0, 1.0), 0.5);
  EXPECT_EQ(Sqr(-3), 9);
  EXPECT_EQ(Sqr(Int64{3000000000}), Int64{9000000000000000000});
  EXPECT_EQ(Sqr(1.5), 2.25);
  EXPECT_NEAR(static_cast<double>(ArcTan2(-1, -1)), static_cast<double>(-3 * Pi / 4), 1e-15);
  EXPECT_NEAR(static_cast<double>(RadToDeg(DegToRad(30))), 30.0, 1e-12);
}

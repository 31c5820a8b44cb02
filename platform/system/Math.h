#pragma once
// The platform's number routines. Rounding follows the FPU in its default mode: Round takes
// halves to the even neighbour (Round(2.5) = 2, Round(-0.5) = 0), while MulDiv takes halves
// away from zero. A result that does not fit its integer type raises EInvalidOp, as the
// platform's FPU does with its invalid-operation exception unmasked.
#include <cmath>
#include <concepts>
#include <type_traits>

#include "platform/system/Types.h"

inline constexpr Extended Pi = 3.1415926535897932384626433832795028841972L;

namespace MathDetail {
[[noreturn]] void RaiseInvalidOp();
[[noreturn]] void RaiseZeroDivide();
[[noreturn]] void RaiseOverflow();

// True when X (already integral) is a value of Int64; NaN is not.
inline bool FitsInt64(Extended X) {
  return X >= -9223372036854775808.0L && X < 9223372036854775808.0L;
}
inline bool FitsInteger(Extended X) {
  return X >= -2147483648.0L && X < 2147483648.0L;
}
}  // namespace MathDetail

// rint rounds as nearbyint in the default mode and only differs in raising the inexact flag,
// which nothing reads; the compiler turns it into one frndint instead of a library call that
// saves and restores the FPU environment (over ten times slower).
inline Int64 Round(Extended X) {
  const Extended R = std::rint(X);
  if (!MathDetail::FitsInt64(R)) MathDetail::RaiseInvalidOp();
  return static_cast<Int64>(R);
}

inline Int64 Trunc(Extended X) {
  const Extended R = std::trunc(X);
  if (!MathDetail::FitsInt64(R)) MathDetail::RaiseInvalidOp();
  return static_cast<Int64>(R);
}

// Integral and fractional parts keep the sign of X: Int(-2.5) = -2, Frac(-2.5) = -0.5.
inline Extended Int(Extended X) {
  return std::trunc(X);
}
inline Extended Frac(Extended X) {
  return X - std::trunc(X);
}

// Towards minus and plus infinity; a result outside Integer raises EInvalidOp rather than
// wrapping around.
inline Integer Floor(Extended X) {
  const Extended R = std::floor(X);
  if (!MathDetail::FitsInteger(R)) MathDetail::RaiseInvalidOp();
  return static_cast<Integer>(R);
}
inline Integer Ceil(Extended X) {
  const Extended R = std::ceil(X);
  if (!MathDetail::FitsInteger(R)) MathDetail::RaiseInvalidOp();
  return static_cast<Integer>(R);
}

// Base to an integral power by repeated squaring in extended precision. IntPower(0, 0) = 1;
// zero to a negative power raises EZeroDivide; a finite result too large raises EOverflow.
Extended IntPower(Extended Base, Integer Exponent);
// X^0 = 1 and 0^n = 0 for n > 0; an integral exponent goes through IntPower, so a negative
// base is allowed there; otherwise Exp(Exponent * Ln(Base)), where a negative base raises
// EInvalidOp and zero with a negative exponent raises EZeroDivide.
Extended Power(Extended Base, Extended Exponent);

inline Extended ArcTan2(Extended Y, Extended X) {
  return std::atan2(Y, X);
}

// Integer squares wrap around on overflow, as the platform's unchecked arithmetic.
inline Integer Sqr(Integer X) {
  return static_cast<Integer>(static_cast<Cardinal>(X) * static_cast<Cardinal>(X));
}
inline Int64 Sqr(Int64 X) {
  return static_cast<Int64>(static_cast<UInt64>(X) * static_cast<UInt64>(X));
}
inline Single Sqr(Single X) {
  return X * X;
}
inline Double Sqr(Double X) {
  return X * X;
}
inline Extended Sqr(Extended X) {
  return X * X;
}

inline Extended DegToRad(Extended Degrees) {
  return Degrees * (Pi / 180.0L);
}
inline Extended RadToDeg(Extended Radians) {
  return Radians * (180.0L / Pi);
}

// -1, 0 or 1.
template <typename T>
requires std::is_arithmetic_v<T>
constexpr Integer Sign(T Value) {
  return Value < T(0) ? -1 : (Value > T(0) ? 1 : 0);
}

// Both arguments of one type, so that mixed calls are settled by the caller, not by a
// silent conversion. On a tie Min and Max return the second argument, as the platform's.
template <typename T>
requires std::is_arithmetic_v<T>
constexpr T Min(T A, T B) {
  return A < B ? A : B;
}
template <typename T>
requires std::is_arithmetic_v<T>
constexpr T Max(T A, T B) {
  return A > B ? A : B;
}

template <typename T>
requires std::is_arithmetic_v<T>
constexpr bool InRange(T Value, T AMin, T AMax) {
  return Value >= AMin && Value <= AMax;
}
template <typename T>
requires std::is_arithmetic_v<T>
constexpr T EnsureRange(T Value, T AMin, T AMax) {
  if (Value < AMin) Value = AMin;
  if (Value > AMax) Value = AMax;
  return Value;
}

// nNumber * nNumerator / nDenominator with a 64-bit product, rounded half away from zero.
// Returns -1 when nDenominator is 0 or the result does not fit in 32 bits.
Integer MulDiv(Integer nNumber, Integer nNumerator, Integer nDenominator);

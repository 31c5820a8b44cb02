#include "platform/system/Math.h"

#include <cstdlib>

#include "platform/system/Exceptions.h"

namespace MathDetail {
void RaiseInvalidOp() {
  throw EInvalidOp("Invalid floating point operation");
}
void RaiseZeroDivide() {
  throw EZeroDivide("Floating point division by zero");
}
void RaiseOverflow() {
  throw EOverflow("Floating point overflow");
}
}  // namespace MathDetail

Extended IntPower(Extended Base, Integer Exponent) {
  UInt64 N =
      Exponent < 0 ? static_cast<UInt64>(-static_cast<Int64>(Exponent)) : static_cast<UInt64>(Exponent);
  Extended Result = 1.0L;
  Extended X = Base;
  while (N != 0) {
    if (N & 1) Result *= X;
    N >>= 1;
    if (N != 0) X *= X;
  }
  // The positive power is formed first, so 10^-5000 overflows as the platform's does.
  if (std::isinf(Result) && std::isfinite(Base)) MathDetail::RaiseOverflow();
  if (Exponent < 0) {
    if (Result == 0.0L) MathDetail::RaiseZeroDivide();
    Result = 1.0L / Result;
  }
  return Result;
}

Extended Power(Extended Base, Extended Exponent) {
  if (Exponent == 0.0L) return 1.0L;
  if (Base == 0.0L && Exponent > 0.0L) return 0.0L;
  if (Frac(Exponent) == 0.0L && std::fabs(Exponent) <= 2147483647.0L)
    return IntPower(Base, static_cast<Integer>(Exponent));
  if (Base < 0.0L) MathDetail::RaiseInvalidOp();    // logarithm of a negative number
  if (Base == 0.0L) MathDetail::RaiseZeroDivide();  // logarithm of zero
  const Extended Result = std::exp(Exponent * std::log(Base));
  if (std::isinf(Result) && std::isfinite(Base) && std::isfinite(Exponent)) MathDetail::RaiseOverflow();
  return Result;
}

Integer MulDiv(Integer nNumber, Integer nNumerator, Integer nDenominator) {
  if (nDenominator == 0) return -1;
  const Int64 Product = static_cast<Int64>(nNumber) * nNumerator;
  const bool Negative = (Product < 0) != (nDenominator < 0);
  const UInt64 P = static_cast<UInt64>(std::llabs(Product));
  const UInt64 D = static_cast<UInt64>(std::llabs(static_cast<Int64>(nDenominator)));
  UInt64 Q = P / D;
  if (2 * (P % D) >= D) ++Q;
  const Int64 Result = Negative ? -static_cast<Int64>(Q) : static_cast<Int64>(Q);
  if (Result < -2147483648LL || Result > 2147483647LL) return -1;
  return static_cast<Integer>(Result);
}

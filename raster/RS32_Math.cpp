#include "raster/RS32_Math.h"

#include "platform/system/Exceptions.h"

TFixed16 FixedDivide(TFixed16 A, TFixed16 B) {
  if (B == 0) throw EDivByZero("Division by zero");
  return static_cast<TFixed16>((static_cast<Int64>(A) * 65536) / B);
}

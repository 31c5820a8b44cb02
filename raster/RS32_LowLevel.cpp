#include "raster/RS32_LowLevel.h"

#include <algorithm>
#include <cstring>

#include "platform/system/Exceptions.h"
#include "raster/RS32_System.h"

void (*FillDwords)(void* Dst, Integer Count, Cardinal Value) = FillDwordsPlain;

void FillDwordsPlain(void* Dst, Integer Count, Cardinal Value) {
  if (Count <= 0) return;
  std::fill_n(static_cast<Cardinal*>(Dst), Count, Value);
}

void FillDwordsMmx(void* Dst, Integer Count, Cardinal Value) {
  if (Count <= 0) return;
  Byte* P = static_cast<Byte*>(Dst);
  if (Count & 1) {
    std::memcpy(P, &Value, 4);
    P += 4;
  }
  const UInt64 Pair = (static_cast<UInt64>(Value) << 32) | Value;
  for (Integer I = Count >> 1; I > 0; --I, P += 8) std::memcpy(P, &Pair, 8);
}

void SelectFillRoutine() {
  FillDwords = CpuHasMmx() ? FillDwordsMmx : FillDwordsPlain;
}

void MoveDwords(const void* Src, void* Dst, Integer Count) {
  if (Src == Dst || Count <= 0) return;
  std::memmove(Dst, Src, static_cast<std::size_t>(Count) * 4);
}

namespace {
[[noreturn]] void RaiseDivByZero() {
  throw EDivByZero("Division by zero");
}
}  // namespace

// 64-bit intermediates: the differences may leave the 32-bit range, where the processor's
// arithmetic would wrap around.
Integer DivideWithRemainder(Integer A, Integer B, Integer& R) {
  if (B == 0) RaiseDivByZero();
  R = static_cast<Integer>(static_cast<Int64>(A) % B);
  return static_cast<Integer>(static_cast<Int64>(A) / B);
}

Integer WrapToRange(Integer V, Integer Lo, Integer Hi) {
  const Int64 N = static_cast<Int64>(Hi) - Lo + 1;
  if (N == 0) RaiseDivByZero();
  if (V < Lo) return static_cast<Integer>((static_cast<Int64>(V) - Hi) % N + Hi);
  return static_cast<Integer>((static_cast<Int64>(V) - Lo) % N + Lo);
}

Integer MirrorToRange(Integer V, Integer Lo, Integer Hi) {
  const Int64 N = static_cast<Int64>(Hi) - Lo + 1;
  if (N == 0) RaiseDivByZero();
  const Int64 D = V < Lo ? static_cast<Int64>(V) - Hi : static_cast<Int64>(V) - Lo;
  const Int64 Q = D / N;
  const Int64 M = D % N + (V < Lo ? Hi : Lo);
  return static_cast<Integer>((Q & 1) != 0 ? static_cast<Int64>(Lo) + Hi - M : M);
}

const TWrapProc WrapProcs[3] = {ClampToRange, WrapToRange, MirrorToRange};

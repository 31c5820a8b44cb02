// One row kernel per truth table, generated at compile time: each is a plain loop over raw
// pixels. The named codes get their short formulas; the others keep their minterms, which
// the compiler folds with the code known.
#include "platform/gdi/Rop3.h"

#include <array>
#include <utility>

namespace {

template <unsigned Code>
inline DWORD Eval(DWORD P, DWORD S, DWORD D) {
  if constexpr (Code == 0xCC)
    return S;
  else if constexpr (Code == 0xEE)
    return S | D;
  else if constexpr (Code == 0x88)
    return S & D;
  else if constexpr (Code == 0x66)
    return S ^ D;
  else if constexpr (Code == 0x44)
    return S & ~D;
  else if constexpr (Code == 0x33)
    return ~S;
  else if constexpr (Code == 0x11)
    return ~(S | D);
  else if constexpr (Code == 0xC0)
    return P & S;
  else if constexpr (Code == 0xBB)
    return ~S | D;
  else if constexpr (Code == 0xF0)
    return P;
  else if constexpr (Code == 0xFB)
    return P | ~S | D;
  else if constexpr (Code == 0x5A)
    return P ^ D;
  else if constexpr (Code == 0x55)
    return ~D;
  else if constexpr (Code == 0xAA)
    return D;
  else if constexpr (Code == 0x00)
    return 0;
  else if constexpr (Code == 0xFF)
    return ~0u;
  else {
    DWORD R = 0;
    if constexpr (Code & 0x01) R |= ~P & ~S & ~D;
    if constexpr (Code & 0x02) R |= ~P & ~S & D;
    if constexpr (Code & 0x04) R |= ~P & S & ~D;
    if constexpr (Code & 0x08) R |= ~P & S & D;
    if constexpr (Code & 0x10) R |= P & ~S & ~D;
    if constexpr (Code & 0x20) R |= P & ~S & D;
    if constexpr (Code & 0x40) R |= P & S & ~D;
    if constexpr (Code & 0x80) R |= P & S & D;
    return R;
  }
}

// Blocks of eight let the compiler use vector instructions without a cost model's help.
template <unsigned Code>
void Kernel(DWORD* __restrict R, const DWORD* __restrict P, const DWORD* __restrict S,
            const DWORD* __restrict D, Integer N) {
  Integer I = 0;
  for (; I + 8 <= N; I += 8)
    for (Integer K = 0; K < 8; ++K) R[I + K] = Eval<Code>(P[I + K], S[I + K], D[I + K]);
  for (; I < N; ++I) R[I] = Eval<Code>(P[I], S[I], D[I]);
}

template <std::size_t... Codes>
constexpr std::array<TRop3Row, 256> MakeTable(std::index_sequence<Codes...>) {
  return {&Kernel<Codes>...};
}

constexpr std::array<TRop3Row, 256> Table = MakeTable(std::make_index_sequence<256>());

}  // namespace

TRop3Row Rop3Row(Byte Code) {
  return Table[Code];
}

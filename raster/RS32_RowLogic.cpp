#include "raster/RS32_RowLogic.h"

namespace {
struct TXor {
  static Cardinal Apply(Cardinal A, Cardinal M) { return A ^ M; }
};
struct TOr {
  static Cardinal Apply(Cardinal A, Cardinal M) { return A | M; }
};
struct TAnd {
  static Cardinal Apply(Cardinal A, Cardinal M) { return A & M; }
};

// 16 words per pass, then the rest one by one.
template <class Op>
void InPlace(Cardinal* Dst, Cardinal Mask, Integer Count) {
  for (; Count >= 16; Count -= 16, Dst += 16)
    for (Integer I = 0; I < 16; ++I) Dst[I] = Op::Apply(Dst[I], Mask);
  for (; Count > 0; --Count, ++Dst) *Dst = Op::Apply(*Dst, Mask);
}

template <class Op>
void ToPlain(const Cardinal* Src, Cardinal* Dst, Integer Count, Cardinal Mask) {
  for (Integer I = 0; I < Count; ++I) Dst[I] = Op::Apply(Src[I], Mask);
}

}  // namespace

void XorWords(Cardinal* Dst, Cardinal Mask, Integer Count) {
  InPlace<TXor>(Dst, Mask, Count);
}
void OrWords(Cardinal* Dst, Cardinal Mask, Integer Count) {
  InPlace<TOr>(Dst, Mask, Count);
}
void AndWords(Cardinal* Dst, Cardinal Mask, Integer Count) {
  InPlace<TAnd>(Dst, Mask, Count);
}

void (*XorWordsTo)(const Cardinal*, Cardinal*, Integer, Cardinal) = ToPlain<TXor>;
void (*OrWordsTo)(const Cardinal*, Cardinal*, Integer, Cardinal) = ToPlain<TOr>;
void (*AndWordsTo)(const Cardinal*, Cardinal*, Integer, Cardinal) = ToPlain<TAnd>;

// The plain, multimedia and cache-bypassing forms differ only in how they move memory, never
// in the words they write; one routine serves whichever form the processor would choose.
void SelectRowLogicRoutines() {
  XorWordsTo = ToPlain<TXor>;
  OrWordsTo = ToPlain<TOr>;
  AndWordsTo = ToPlain<TAnd>;
}

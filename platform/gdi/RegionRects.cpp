// Regions from loose rectangle lists, as region-data blocks bring them: thousands of
// rectangles per call, in any order, overlapping, some without pixels.
#include <algorithm>
#include <cstdint>

#include "platform/gdi/RegionBands.h"
#include "platform/gdi/RegionData.h"

namespace {

// Already in band order (as region data written from a region, or rows scanned top to bottom):
// bands sorted and apart, rectangles of a band sorted and not overlapping.
bool InBandOrder(const std::vector<TRect>& V) {
  for (std::size_t I = 1; I < V.size(); ++I) {
    const TRect& P = V[I - 1];
    const TRect& R = V[I];
    const bool SameBand = R.Top == P.Top && R.Bottom == P.Bottom && R.Left >= P.Right;
    if (!SameBand && R.Top < P.Bottom) return false;
  }
  return true;
}

void CopyBands(const std::vector<TRect>& V, TBandWriter& W) {
  for (std::size_t I = 0; I < V.size();) {
    W.Begin(V[I].Top, V[I].Bottom);
    Integer L = V[I].Left, R = V[I].Right;
    for (++I; I < V.size() && V[I].Top == V[I - 1].Top && V[I].Bottom == V[I - 1].Bottom; ++I) {
      if (V[I].Left > R) {
        W.Add(L, R);
        L = V[I].Left;
      }
      R = V[I].Right;
    }
    W.Add(L, R);
    W.End();
  }
}

// Coverage counts over the elementary x-intervals between the distinct rectangle edges. A
// node's count is the number of active rectangles covering all of its interval and not
// counted higher up; Full and Any summarise the subtree, so the spans of a band are read in
// time proportional to their number and adding or removing a rectangle is logarithmic.
class TCoverTree {
 public:
  explicit TCoverTree(std::vector<Integer> Xs) : FXs(std::move(Xs)), FLeaves(FXs.size() - 1) {
    FCount.assign(4 * FLeaves, 0);
    FFull.assign(4 * FLeaves, 0);
    FAny.assign(4 * FLeaves, 0);
  }
  void Update(std::size_t Lo, std::size_t Hi, Integer Delta) { Update(1, 0, FLeaves, Lo, Hi, Delta); }
  bool Empty() const { return !FAny[1]; }
  // Adds the covered spans, touching ones merged, to the writer's band.
  void Emit(TBandWriter& W) {
    FOpen = false;
    Emit(1, 0, FLeaves, W);
    if (FOpen) W.Add(FL, FR);
  }

 private:
  void Pull(std::size_t N, std::size_t Lo, std::size_t Hi) {
    if (FCount[N] > 0) {
      FFull[N] = FAny[N] = 1;
    } else if (Hi - Lo == 1) {
      FFull[N] = FAny[N] = 0;
    } else {
      FFull[N] = FFull[2 * N] & FFull[2 * N + 1];
      FAny[N] = FAny[2 * N] | FAny[2 * N + 1];
    }
  }
  void Update(std::size_t N, std::size_t Lo, std::size_t Hi, std::size_t QLo, std::size_t QHi,
              Integer Delta) {
    if (QHi <= Lo || Hi <= QLo) return;
    if (QLo <= Lo && Hi <= QHi) {
      FCount[N] += Delta;
    } else {
      const std::size_t Mid = (Lo + Hi) / 2;
      Update(2 * N, Lo, Mid, QLo, QHi, Delta);
      Update(2 * N + 1, Mid, Hi, QLo, QHi, Delta);
    }
    Pull(N, Lo, Hi);
  }
  void Emit(std::size_t N, std::size_t Lo, std::size_t Hi, TBandWriter& W) {
    if (!FAny[N]) return;
    if (FFull[N]) {
      if (FOpen && FXs[Lo] == FR) {
        FR = FXs[Hi];
        return;
      }
      if (FOpen) W.Add(FL, FR);
      FL = FXs[Lo];
      FR = FXs[Hi];
      FOpen = true;
      return;
    }
    const std::size_t Mid = (Lo + Hi) / 2;
    Emit(2 * N, Lo, Mid, W);
    Emit(2 * N + 1, Mid, Hi, W);
  }

  std::vector<Integer> FXs;
  std::size_t FLeaves;
  std::vector<Integer> FCount;
  std::vector<Byte> FFull, FAny;
  bool FOpen = false;
  Integer FL = 0, FR = 0;
};

// A coordinate and an edge number packed so that sorting the keys sorts by coordinate.
UInt64 Key(Integer V, std::size_t Id) {
  return (static_cast<UInt64>(static_cast<std::uint32_t>(V) ^ 0x80000000u) << 32) | Id;
}
Integer KeyValue(UInt64 K) {
  return static_cast<Integer>(static_cast<std::uint32_t>(K >> 32) ^ 0x80000000u);
}
std::size_t KeyId(UInt64 K) {
  return static_cast<std::size_t>(K & 0xFFFFFFFFu);
}

// Sorts keys built in edge-number order. A stable radix sort on the coordinate half then sorts
// them completely; it costs a few passes where a comparison sort of thousands of edges costs
// more than the sweep itself.
void SortKeys(std::vector<UInt64>& Keys, std::vector<UInt64>& Scratch) {
  if (Keys.size() < 256) {
    std::sort(Keys.begin(), Keys.end());
    return;
  }
  Scratch.resize(Keys.size());
  for (unsigned Shift = 32; Shift < 64; Shift += 8) {
    std::size_t Start[257] = {};
    for (UInt64 K : Keys) ++Start[((K >> Shift) & 0xFF) + 1];
    if (Start[((Keys[0] >> Shift) & 0xFF) + 1] == Keys.size()) continue;  // one bucket: nothing to do
    for (std::size_t B = 1; B < 257; ++B) Start[B] += Start[B - 1];
    for (UInt64 K : Keys) Scratch[Start[(K >> Shift) & 0xFF]++] = K;
    Keys.swap(Scratch);
  }
}

// Sweeps the horizontal edges top to bottom; the active rectangles live in the cover tree.
// Edge 2i is rectangle i's left (or top) edge, 2i + 1 its right (or bottom) edge.
void SweepUnion(const std::vector<TRect>& V, TBandWriter& W) {
  std::vector<UInt64> Keys(2 * V.size()), Scratch;
  for (std::size_t I = 0; I < V.size(); ++I) {
    Keys[2 * I] = Key(V[I].Left, 2 * I);
    Keys[2 * I + 1] = Key(V[I].Right, 2 * I + 1);
  }
  SortKeys(Keys, Scratch);
  std::vector<Integer> Xs;
  std::vector<std::size_t> XIndex(Keys.size());
  for (UInt64 K : Keys) {
    if (Xs.empty() || Xs.back() != KeyValue(K)) Xs.push_back(KeyValue(K));
    XIndex[KeyId(K)] = Xs.size() - 1;
  }
  TCoverTree Tree(std::move(Xs));
  for (std::size_t I = 0; I < V.size(); ++I) {
    Keys[2 * I] = Key(V[I].Top, 2 * I);
    Keys[2 * I + 1] = Key(V[I].Bottom, 2 * I + 1);
  }
  SortKeys(Keys, Scratch);
  for (std::size_t I = 0; I < Keys.size();) {
    const Integer Y = KeyValue(Keys[I]);
    for (; I < Keys.size() && KeyValue(Keys[I]) == Y; ++I) {
      const std::size_t Id = KeyId(Keys[I]);
      const std::size_t R = Id & ~std::size_t{1};
      Tree.Update(XIndex[R], XIndex[R + 1], (Id & 1) != 0 ? -1 : 1);
    }
    if (I == Keys.size() || Tree.Empty()) continue;
    W.Begin(Y, KeyValue(Keys[I]));
    Tree.Emit(W);
    W.End();
  }
}

}  // namespace

TRegionData TRegionData::FromRects(const TRect* Rects, std::size_t Count) {
  return FromRects(std::vector<TRect>(Rects, Rects + Count));
}

TRegionData TRegionData::FromRects(std::vector<TRect> V) {
  std::erase_if(V, [](const TRect& R) { return R.Left >= R.Right || R.Top >= R.Bottom; });
  TRegionData D;
  D.FRects.reserve(V.size());
  TBandWriter W(D.FRects);
  if (InBandOrder(V))
    CopyBands(V, W);
  else
    SweepUnion(V, W);
  if (D.FRects.capacity() > 2 * D.FRects.size() + 64) D.FRects.shrink_to_fit();  // many rects, few bands
  D.UpdateBox();
  return D;
}

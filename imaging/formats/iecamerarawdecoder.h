#pragma once
// The entropy decoding the camera raw loaders share: decoding trees in the context's node
// pool, signed differences, the Canon tables and the Kodak tone curve. Loaders of both the
// compressed and the packed families use these; the tables are exposed for test encoders.
#include <algorithm>

#include "imaging/formats/iecameraraw.h"

constexpr Integer RawCurveSize = 0x1000;

// Empties the node pool; the next tree starts at its first node.
void RawInitDecoder(TCameraRawContext& Context);
// The next free node of the pool; raises ": decoder table overflow" when none is left.
TRawDecodeNode* RawTakeDecodeNode(TCameraRawContext& Context);
// Builds a tree at FreeDecode from a code-length source (16 counts, then the symbols in code
// order, SourceLength bytes in all; symbols past it decode as 0). Returns the root; Used, when
// given, receives the source bytes taken. Raises ": decoder table overflow" past the pool.
TRawDecodeNode* RawMakeDecoder(TCameraRawContext& Context, const Byte* Source, Integer SourceLength,
                               Integer* Used = nullptr);
// Walks Root with one bit at a time to its leaf.
inline Integer RawDecodeSymbol(TCameraRawContext& Context, const TRawDecodeNode* Root) {
  while (Root->Branch[0] != nullptr) Root = Root->Branch[RawGetBits(Context, 1)];
  return Root->Leaf;
}
// An L-bit difference: a clear top bit means a negative value. Lengths past 16 are corrupt
// data and read as 16.
Integer RawGetDifference(TCameraRawContext& Context, Integer Length);

// A predictor moved by a difference. Corrupt data could add up differences past any sensor's
// range; the sum saturates there instead of overflowing.
inline Integer RawAddDifference(Integer Predictor, Integer Diff) {
  constexpr Int64 Limit = 1 << 30;
  return static_cast<Integer>(std::clamp<Int64>(static_cast<Int64>(Predictor) + Diff, -Limit, Limit));
}

// The Canon compressed-data trees: the first (13 symbols) and second (164 symbols) sources.
struct TRawCanonTableSet {
  Byte First[16 + 13];
  Byte Second[16 + 164];
};
extern const TRawCanonTableSet RawCanonTableSets[3];
// Builds the two Canon trees of a table set (above 2 taken as 2) from the pool's start.
void RawInitCanonTables(TCameraRawContext& Context, Integer Table);
// Whether the Canon data carries the two low bits of each sample in front of the codes.
bool RawCanonHasLowBits(TCameraRawContext& Context);

// The Nikon source: 16 counts announcing 14 codes, and their symbols.
extern const Byte RawNikonSource[16 + 14];

// The RADC trees: (length, leaf) pairs, tree after tree, for the 18 trees.
constexpr Integer RawRadcTreeCount = 18;
constexpr Integer RawRadcPairCount = 130;
extern const signed char RawRadcSource[RawRadcPairCount * 2];

// XORs Count 32-bit words of Data (in file order) with the Sony pad: made fresh from Key, or
// continuing where the last call stopped.
void RawSonyDescramble(TCameraRawContext& Context, Byte* Data, Integer Count, bool Fresh, Cardinal Key);

// Fills a RawCurveSize-entry tone curve: identity, or the Kodak curve the file carries. Leaves
// Input at DataOffset.
void RawKodakCurve(TCameraRawContext& Context, Word* Curve);

// The Image cell of picture coordinates for sensors without a mosaic (all channels).
inline Word* RawPixel(TCameraRawContext& Context, Integer Row, Integer Col) {
  return Context.Image[(Row >> Context.Shrink) * Context.ImageWidth + (Col >> Context.Shrink)];
}
// Whether picture coordinates lie inside Height x Width.
inline bool RawInsidePicture(const TCameraRawContext& Context, Integer Row, Integer Col) {
  return static_cast<Cardinal>(Row) < static_cast<Cardinal>(Context.Height) &&
         static_cast<Cardinal>(Col) < static_cast<Cardinal>(Context.Width);
}
// Whether the stream stands at its end. Parsers loop on this rather than on InputEnded, which
// an earlier look at an offset past the end may have set.
inline bool RawAtEnd(TCameraRawContext& Context) {
  return RawTell(Context) >= Context.InputSize;
}
// Make comparison without regard to case.
bool RawMakeIs(const TCameraRawContext& Context, const char* Name);

// Decoding trees and tone curves of the camera raw loaders. Trees come from the context's fixed
// pool, so a hostile code table costs at most the pool and then raises.
#include "imaging/formats/iecamerarawdecoder.h"

#include <strings.h>

#include <algorithm>
#include <cstring>

#include "platform/system/Exceptions.h"

namespace {

struct TSourceBuild {
  const Byte* Source;
  Integer Length;
};

// One node at Level: a branch while the next symbol's code is longer than Level, else a leaf
// with that symbol. Codes come out in canonical order, first child first.
TRawDecodeNode* BuildNode(TCameraRawContext& Context, const TSourceBuild& Build, Integer Level) {
  TRawDecodeNode* Node = RawTakeDecodeNode(Context);
  Integer Sum = 0;
  Integer Lengths = 0;
  while (Lengths < 16 && Sum <= Context.LeafCount) Sum += Build.Source[Lengths++];
  if (Sum > Context.LeafCount) {
    if (Level < Lengths) {
      Node->Branch[0] = BuildNode(Context, Build, Level + 1);
      Node->Branch[1] = BuildNode(Context, Build, Level + 1);
    } else {
      const Integer At = 16 + Context.LeafCount++;
      Node->Leaf = At < Build.Length ? Build.Source[At] : 0;
    }
  }
  return Node;
}

}  // namespace

TRawDecodeNode* RawTakeDecodeNode(TCameraRawContext& Context) {
  if (Context.FreeDecode == nullptr) Context.FreeDecode = Context.DecodeNodes;
  if (Context.FreeDecode >= Context.DecodeNodes + RawDecodeNodeCount)
    throw Exception(": decoder table overflow");
  return Context.FreeDecode++;
}

void RawInitDecoder(TCameraRawContext& Context) {
  std::memset(Context.DecodeNodes, 0, sizeof Context.DecodeNodes);
  Context.FreeDecode = Context.DecodeNodes;
}

TRawDecodeNode* RawMakeDecoder(TCameraRawContext& Context, const Byte* Source, Integer SourceLength,
                               Integer* Used) {
  // A zero-padded copy: a short source cannot be overrun by its own counts.
  Byte Padded[16 + 256] = {};
  const Integer Kept = std::clamp(SourceLength, 0, static_cast<Integer>(sizeof Padded));
  std::memcpy(Padded, Source, static_cast<std::size_t>(Kept));
  Context.LeafCount = 0;
  TRawDecodeNode* Root = BuildNode(Context, {Padded, Kept}, 0);
  if (Used != nullptr) *Used = std::min(16 + Context.LeafCount, std::max(SourceLength, 0));
  return Root;
}

Integer RawGetDifference(TCameraRawContext& Context, Integer Length) {
  if (Length <= 0) return 0;
  Length = std::min(Length, 16);
  Integer Value = static_cast<Integer>(RawGetBits(Context, Length));
  if ((Value & (1 << (Length - 1))) == 0) Value -= (1 << Length) - 1;
  return Value;
}

void RawInitCanonTables(TCameraRawContext& Context, Integer Table) {
  const TRawCanonTableSet& Set = RawCanonTableSets[std::clamp(Table, 0, 2)];
  RawInitDecoder(Context);
  RawMakeDecoder(Context, Set.First, sizeof Set.First);
  Context.SecondDecode = Context.FreeDecode;
  RawMakeDecoder(Context, Set.Second, sizeof Set.Second);
}

bool RawMakeIs(const TCameraRawContext& Context, const char* Name) {
  return strcasecmp(Context.Make, Name) == 0;
}

void RawKodakCurve(TCameraRawContext& Context, Word* Curve) {
  for (Integer I = 0; I < RawCurveSize; ++I) Curve[I] = static_cast<Word>(I);
  if (!RawMakeIs(Context, "KODAK")) return;
  if (Context.CurveOffset != 0) {
    // Kodak files keep IFD 0 at byte 12; its tag 2317 names the curve.
    RawSeek(Context, 12);
    const Integer Entries = RawGet2(Context);
    for (Integer Entry = 0; Entry < Entries && !Context.InputEnded; ++Entry) {
      const Integer Tag = RawGet2(Context);
      RawGet2(Context);
      const Cardinal Count = RawGet4(Context);
      const Cardinal Value = RawGet4(Context);
      if (Tag == 2317) {
        Context.CurveLength = static_cast<Integer>(std::min<Cardinal>(Count, 0x7FFFFFFF));
        Context.CurveOffset = static_cast<Integer>(std::min<Cardinal>(Value, 0x7FFFFFFF));
        break;
      }
    }
  }
  const Integer Length = std::clamp(Context.CurveLength, 0, RawCurveSize);
  if (Context.CurveOffset != 0 && Length > 0) {
    RawSeek(Context, Context.CurveOffset);
    for (Integer I = 0; I < Length; ++I) Curve[I] = RawGet2(Context);
    for (Integer I = Length; I < RawCurveSize; ++I) Curve[I] = Curve[Length - 1];
    Context.Maximum = Curve[Length - 1] * 4;
  }
  RawSeek(Context, Context.DataOffset);
}

// The DCX container: a magic number, a zero-ended table of absolute page offsets, PCX pages.
#include <algorithm>
#include <array>
#include <vector>

#include "imaging/core/iestreams.h"
#include "imaging/io/ieioprogress.h"
#include "imaging/io/pcxfilter.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/ScopeExit.h"
#include "platform/system/Streams.h"

namespace {

bool ReadLE32(TStream* Stream, Cardinal& Value) {
  std::array<Byte, 4> Bytes{};
  if (Stream->Read(Bytes.data(), 4) != 4) return false;
  Value = IELoadLE32(Bytes.data());
  return true;
}

// The page offsets after the magic number at the stream position; false when the stream is no
// container or an offset lies outside it.
bool ReadPageTable(TStream* Stream, std::vector<Int64>& Pages) {
  Pages.clear();
  Cardinal Value = 0;
  if (!ReadLE32(Stream, Value) || Value != DcxMagic) return false;
  const Int64 Size = Stream->GetSize();
  while (static_cast<Integer>(Pages.size()) < DcxMaxPages) {
    if (!ReadLE32(Stream, Value)) return false;
    if (Value == 0) break;
    if (Value >= Size) return false;
    Pages.push_back(Value);
  }
  return true;
}

// Each page runs to the next higher offset of the table, the highest one to the stream's end.
std::vector<Int64> PageLengths(const std::vector<Int64>& Pages, Int64 StreamSize) {
  std::vector<Int64> Sorted = Pages;
  std::sort(Sorted.begin(), Sorted.end());
  std::vector<Int64> Lengths;
  for (Int64 Offset : Pages) {
    const auto Next = std::upper_bound(Sorted.begin(), Sorted.end(), Offset);
    Lengths.push_back((Next == Sorted.end() ? StreamSize : *Next) - Offset);
  }
  return Lengths;
}

void PutLE32(TStream* Stream, Cardinal Value) {
  std::array<Byte, 4> Bytes{};
  IEStoreLE32(Bytes.data(), Value);
  Stream->WriteBuffer(Bytes.data(), 4);
}

void WriteContainer(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, TIEIOProgress& Progress) {
  std::vector<Int64> OldPages;
  if (Stream->GetSize() > 0) {
    Stream->SetPosition(0);
    if (!ReadPageTable(Stream, OldPages)) {
      IESetAborting(Progress);
      return;
    }
  }
  const Integer Count = static_cast<Integer>(OldPages.size());
  // An index with no place in the container would rewrite it without the new page.
  if (IOParams.DcxImageIndex < 0 || IOParams.DcxImageIndex > Count) {
    IESetAborting(Progress);
    return;
  }
  const std::vector<Int64> Lengths = PageLengths(OldPages, Stream->GetSize());

  TMemoryStream Container;
  PutLE32(&Container, DcxMagic);
  const std::vector<Byte> EmptyTable(static_cast<size_t>(Count + 2) * 4, 0);
  Container.WriteBuffer(EmptyTable.data(), static_cast<Integer>(EmptyTable.size()));
  std::vector<Cardinal> Table;
  for (Integer P = 0;; ++P) {
    if (IOParams.DcxImageIndex == P) {
      Table.push_back(static_cast<Cardinal>(Container.GetPosition()));
      PcxWriteStream(&Container, Bitmap, IOParams, Progress);
    }
    if (P == Count) break;
    Table.push_back(static_cast<Cardinal>(Container.GetPosition()));
    if (Lengths[P] > 0) {
      Stream->SetPosition(OldPages[P]);
      Container.CopyFrom(Stream, Lengths[P]);
    }
  }
  // A page that failed to write leaves the old container as it was.
  if (IEIsAborting(Progress)) return;
  Container.SetPosition(4);
  for (Cardinal Offset : Table) PutLE32(&Container, Offset);
  Stream->SetSize(0);
  Stream->SetPosition(0);
  Stream->CopyFrom(&Container, 0);
}

}  // namespace

bool DcxIsFile(TStream* Stream) {
  const Int64 Start = Stream->GetPosition();
  auto Restore = ScopeExit([&] { Stream->SetPosition(Start); });
  std::vector<Int64> Pages;
  try {
    return ReadPageTable(Stream, Pages);
  } catch (...) {
    return false;
  }
}

void DcxReadStream(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, TIEIOProgress& Progress,
                   bool Preview) {
  try {
    std::vector<Int64> Pages;
    // An empty table passes the content test but holds nothing to read.
    if (!ReadPageTable(Stream, Pages) || Pages.empty()) {
      IESetAborting(Progress);
      return;
    }
    const Integer Count = static_cast<Integer>(Pages.size());
    const Integer Index = std::clamp(IOParams.DcxImageIndex, 0, Count - 1);
    IOParams.SetImageIndex(Index);
    const std::vector<Int64> Lengths = PageLengths(Pages, Stream->GetSize());
    Stream->SetPosition(Pages[Index]);
    PcxReadStream(Stream, Bitmap, IOParams, Lengths[Index], Progress, Preview);
    IOParams.SetImageCount(Count);
  } catch (...) {
    IESetAborting(Progress);
  }
}

void DcxWriteStream(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, TIEIOProgress& Progress) {
  try {
    WriteContainer(Stream, Bitmap, IOParams, Progress);
  } catch (...) {
    IESetAborting(Progress);
  }
}

// The IPTC reader over plain dataset streams and Photoshop resource blocks. What it read must
// come back unchanged through both written forms (the record-version dataset and empty
// datasets are not written again).
#include <cstdlib>
#include <cstring>
#include <memory>

#include "fuzz/FuzzSupport.h"
#include "imaging/core/ieiptc.h"

namespace {

bool Kept(const TIEIPTCInfoList& List, Integer I) {
  return List.GetItemLength(I) > 0 && !(List.GetRecordNumber(I) == 2 && List.GetDataSet(I) == 0);
}

void CheckRoundTrip(const TIEIPTCInfoList& Read, bool Photoshop) {
  std::unique_ptr<Byte[]> Buffer;
  Integer Length = 0;
  Read.SaveToBuffer(Buffer, Length, Photoshop);
  TIEIPTCInfoList Again;
  Again.LoadFromBuffer(Buffer.get(), Length);
  Integer J = 0;
  for (Integer I = 0; I < Read.Count(); ++I) {
    if (!Kept(Read, I)) continue;
    while (J < Again.Count() && !Kept(Again, J)) ++J;
    if (J >= Again.Count() || Again.GetRecordNumber(J) != Read.GetRecordNumber(I) ||
        Again.GetDataSet(J) != Read.GetDataSet(I) || Again.GetItemLength(J) != Read.GetItemLength(I) ||
        std::memcmp(Again.GetItemData(J), Read.GetItemData(I), Read.GetItemLength(I)) != 0)
      std::abort();
    ++J;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  fuzz::Refusable([&] {
    TIEIPTCInfoList List;
    if (!List.LoadFromBuffer(Data, static_cast<Integer>(Size))) return;
    CheckRoundTrip(List, false);
    CheckRoundTrip(List, true);
  });
  return 0;
}

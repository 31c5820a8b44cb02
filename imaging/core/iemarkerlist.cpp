#include "imaging/core/iemarkerlist.h"

#include <cstring>
#include <utility>

#include "imaging/core/ieexif.h"
#include "imaging/core/ielists.h"
#include "platform/system/Streams.h"

namespace {

// "ICC_PROFILE", its zero, then the chunk's sequence number at byte 12.
constexpr char ICCProfileSignature[] = "ICC_PROFILE";
constexpr Integer ICCChunkNumberOffset = 12;

bool IsICCChunk(const Byte* Data, Integer Length) {
  return Length > 13 && std::memcmp(Data, ICCProfileSignature, sizeof(ICCProfileSignature)) == 0;
}

Integer CompareCallback(void* List, Integer I, Integer J) {
  return static_cast<TIEMarkerList*>(List)->CompareMarkers(I, J);
}
void ExchangeCallback(void* List, Integer I, Integer J) {
  static_cast<TIEMarkerList*>(List)->ExchangeMarkers(I, J);
}

}  // namespace

TIEMarkerList::TIEMarkerList() = default;

TIEMarkerList::~TIEMarkerList() {
  Clear();
}

void TIEMarkerList::Clear() {
  FData.clear();
  FMarkers.clear();
}

Byte* TIEMarkerList::GetMarkerData(Integer Index) const {
  return static_cast<Byte*>(FData[Index]->GetMemory());
}

Integer TIEMarkerList::GetMarkerLength(Integer Index) const {
  return static_cast<Integer>(FData[Index]->GetSize());
}

Integer TIEMarkerList::IndexOf(Byte MarkerByte) const {
  for (Integer I = 0; I < Count(); ++I)
    if (FMarkers[I] == MarkerByte) return I;
  return -1;
}

std::unique_ptr<TMemoryStream> TIEMarkerList::CopyPayload(const void* Data, Integer Length) {
  auto Payload = std::make_unique<TMemoryStream>();
  const Word Bytes = static_cast<Word>(Length);
  if (Data != nullptr && Bytes > 0) Payload->WriteBuffer(Data, Bytes);
  return Payload;
}

void TIEMarkerList::AddMarker(Byte MarkerByte, const void* Data, Integer Length) {
  FData.push_back(CopyPayload(Data, Length));
  FMarkers.push_back(MarkerByte);
}

void TIEMarkerList::SetMarker(Integer Index, Byte MarkerByte, const void* Data, Integer Length) {
  FData[Index] = CopyPayload(Data, Length);
  FMarkers[Index] = MarkerByte;
}

void TIEMarkerList::DeleteMarker(Integer Index) {
  FData.erase(FData.begin() + Index);
  FMarkers.erase(FMarkers.begin() + Index);
}

void TIEMarkerList::Assign(const TIEMarkerList* Source) {
  if (Source == this) return;
  Clear();
  if (Source == nullptr) return;
  for (Integer I = 0; I < Source->Count(); ++I)
    AddMarker(Source->GetMarkerType(I), Source->GetMarkerData(I), Source->GetMarkerLength(I));
}

Integer TIEMarkerList::CompareMarkers(Integer I, Integer J) const {
  if (FMarkers[I] == IEJpegAPP2 && FMarkers[J] == IEJpegAPP2) {
    const Byte* A = GetMarkerData(I);
    const Byte* B = GetMarkerData(J);
    if (IsICCChunk(A, GetMarkerLength(I)) && IsICCChunk(B, GetMarkerLength(J)))
      return Integer(A[ICCChunkNumberOffset]) - Integer(B[ICCChunkNumberOffset]);
  }
  return Integer(FMarkers[I]) - Integer(FMarkers[J]);
}

void TIEMarkerList::ExchangeMarkers(Integer I, Integer J) {
  std::swap(FData[I], FData[J]);
  std::swap(FMarkers[I], FMarkers[J]);
}

void TIEMarkerList::SortMarkers() {
  IEQuickSort(Count(), ExchangeCallback, this, CompareCallback, this);
  const Integer FirstAPP1 = IndexOf(IEJpegAPP1);
  if (FirstAPP1 < 0) return;
  for (Integer I = FirstAPP1 + 1; I < Count(); ++I)
    if (FMarkers[I] == IEJpegAPP1 && IEIsEXIFBlock(GetMarkerData(I), GetMarkerLength(I)))
      ExchangeMarkers(I, FirstAPP1);
}

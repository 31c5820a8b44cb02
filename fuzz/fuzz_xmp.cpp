// The XMP packet reader of APP1 payloads and the JPEG marker list's sort. The input is a row
// of markers (marker byte, 16-bit big-endian payload length, payload); every payload is offered
// to the XMP reader, whose packet must come back unchanged through the XMP writer, and the
// sorted list must keep every marker with its bytes and be ordered by marker byte.
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "imaging/core/iemarkerlist.h"
#include "imaging/core/iexmp.h"

namespace {

void CheckXMP(const Byte* Payload, Integer Length) {
  std::string Packet = "unchanged";
  if (!IELoadXMPFromAPP1(Payload, Length, Packet)) {
    if (Packet != "unchanged") std::abort();
    return;
  }
  std::unique_ptr<Byte[]> Buffer;
  Integer Saved = 0;
  IESaveXMPToAPP1(Packet, Buffer, Saved);
  std::string Again;
  // A packet read back from the identifier's own zero byte on is the same text.
  if (!IELoadXMPFromAPP1(Buffer.get(), Saved, Again) && Saved >= 30) std::abort();
  if (Saved >= 30 && Again != Packet) std::abort();
}

size_t PayloadSum(const TIEMarkerList& List) {
  size_t Sum = 0;
  for (Integer I = 0; I < List.Count(); ++I)
    for (Integer B = 0; B < List.GetMarkerLength(I); ++B)
      Sum += List.GetMarkerData(I)[B] + List.GetMarkerType(I);
  return Sum;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  TIEMarkerList List;
  size_t Pos = 0;
  while (Pos + 3 <= Size) {
    const Byte Marker = Data[Pos];
    size_t Length = (Data[Pos + 1] << 8) | Data[Pos + 2];
    Pos += 3;
    if (Length > Size - Pos) Length = Size - Pos;
    // Each payload in a block of its own size, so that a read past it is caught.
    std::unique_ptr<Byte[]> Payload(new Byte[Length > 0 ? Length : 1]);
    if (Length > 0) std::memcpy(Payload.get(), Data + Pos, Length);
    CheckXMP(Payload.get(), static_cast<Integer>(Length));
    List.AddMarker(Marker, Payload.get(), static_cast<Integer>(Length));
    Pos += Length;
  }
  const Integer Count = List.Count();
  const size_t Sum = PayloadSum(List);
  List.SortMarkers();
  if (List.Count() != Count || PayloadSum(List) != Sum) std::abort();
  for (Integer I = 1; I < Count; ++I)
    if (List.GetMarkerType(I - 1) > List.GetMarkerType(I)) std::abort();
  return 0;
}

#include "imaging/io/iejpegmetadata.h"

#include <cstring>
#include <vector>

#include "imaging/core/ieexif.h"
#include "imaging/core/ieiptc.h"
#include "imaging/core/iemarkerlist.h"
#include "imaging/core/ietiffbytes.h"
#include "imaging/core/iexmp.h"
#include "imaging/io/zezudidioparams.h"

namespace {

// A marker payload holds at most 65,535 - 2 bytes (its length field counts itself).
constexpr Integer MaxMarkerPayload = 65533;

// The first marker of MarkerByte whose payload Accept takes; -1 when none.
template <class TAccept>
Integer FindMarker(const TIEMarkerList& Markers, Byte MarkerByte, TAccept Accept) {
  for (Integer I = 0; I < Markers.Count(); ++I)
    if (Markers.GetMarkerType(I) == MarkerByte &&
        Accept(Markers.GetMarkerData(I), Markers.GetMarkerLength(I)))
      return I;
  return -1;
}

void UpdateIPTCMarker(TIOParamsVals& Params) {
  TIEMarkerList& Markers = *Params.JpegMarkerList;
  const TIEIPTCInfoList& IPTC = *Params.IPTCInfo;
  if (!IPTC.GetUserChanged() && !(IPTC.Count() > 0 && Markers.Count() == 0)) return;
  std::unique_ptr<Byte[]> Block;
  Integer Length = 0;
  IPTC.SaveToBuffer(Block, Length, true);
  if (Length > MaxMarkerPayload) return;
  const Integer Index = Markers.IndexOf(IEJpegAPP13);
  if (Length > 0 && Index >= 0)
    Markers.SetMarker(Index, IEJpegAPP13, Block.get(), Length);
  else if (Length > 0)
    Markers.AddMarker(IEJpegAPP13, Block.get(), Length);
  else if (Index >= 0)
    Markers.DeleteMarker(Index);
}

void UpdateEXIFMarker(TIOParamsVals& Params) {
  if (!Params.ExifPresent) return;
  std::vector<Byte> Block;
  IESaveEXIFToBuffer(Params, Block, true);
  if (Block.size() > static_cast<size_t>(MaxMarkerPayload)) return;
  TIEMarkerList& Markers = *Params.JpegMarkerList;
  // Every old EXIF block goes, so that exactly the new one is written.
  for (Integer I; (I = FindMarker(Markers, IEJpegAPP1, IEIsEXIFBlock)) >= 0;) Markers.DeleteMarker(I);
  Markers.AddMarker(IEJpegAPP1, Block.data(), static_cast<Integer>(Block.size()));
}

void UpdateXMPMarker(TIOParamsVals& Params) {
  TIEMarkerList& Markers = *Params.JpegMarkerList;
  std::unique_ptr<Byte[]> Block;
  Integer Length = 0;
  if (!Params.XmpInfo.empty()) {
    IESaveXMPToAPP1(Params.XmpInfo, Block, Length);
    if (Length > MaxMarkerPayload) return;
  }
  const Integer Old = FindMarker(Markers, IEJpegAPP1, [](const void* Data, Integer Size) {
    return IEFindXMPData(Data, Size) != nullptr;
  });
  if (Old >= 0) Markers.DeleteMarker(Old);
  if (Length > 0) Markers.AddMarker(IEJpegAPP1, Block.get(), Length);
}

}  // namespace

void IEUpdatePhotoshopResolution(TIOParamsVals& Params) {
  const TIEMarkerList& Markers = *Params.JpegMarkerList;
  const Integer Index = Markers.IndexOf(IEJpegAPP13);
  if (Index < 0) return;
  Byte* Data = Markers.GetMarkerData(Index);
  const size_t Size = static_cast<size_t>(Markers.GetMarkerLength(Index));
  static constexpr Byte Signature[6] = {'8', 'B', 'I', 'M', 0x03, 0xED};
  for (size_t At = 0; At + sizeof(Signature) <= Size; ++At) {
    if (std::memcmp(Data + At, Signature, sizeof(Signature)) != 0) continue;
    // Name length, name, resource size, then the 16-byte resolution record; each must fit.
    size_t Pos = At + sizeof(Signature);
    if (Pos + 2 > Size) return;
    Pos += 2 + IEGetWord(Data + Pos, true);
    if (Pos + 4 > Size) return;
    const Cardinal ResourceSize = IEGetDWord(Data + Pos, true);
    Pos += 4;
    if (ResourceSize < 16 || Pos + 16 > Size) return;
    Byte* Record = Data + Pos;
    IEPutDWord(Record, static_cast<Cardinal>(Params.DpiX) << 16, true);  // 16.16 fixed point
    IEPutWord(Record + 4, 1, true);                                      // dots per inch
    IEPutWord(Record + 6, 1, true);                                      // width in inches
    IEPutDWord(Record + 8, static_cast<Cardinal>(Params.DpiY) << 16, true);
    IEPutWord(Record + 12, 1, true);
    IEPutWord(Record + 14, 1, true);
    return;
  }
}

void IEUpdateJpegMetadataMarkers(TIOParamsVals& Params) {
  UpdateIPTCMarker(Params);
  UpdateEXIFMarker(Params);
  UpdateXMPMarker(Params);
}

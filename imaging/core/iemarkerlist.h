#pragma once
// The JPEG application markers (APP0..APP15) and comments a picture was read with, kept in file
// order so that a JPEG save writes them again.
#include <memory>
#include <vector>

#include "platform/system/Object.h"
#include "platform/system/Types.h"

class TMemoryStream;

// Marker bytes as the JPEG reader stores them.
constexpr Byte IEJpegAPP0 = 0xE0;
constexpr Byte IEJpegAPP1 = 0xE1;
constexpr Byte IEJpegAPP2 = 0xE2;
constexpr Byte IEJpegAPP13 = 0xED;
constexpr Byte IEJpegCOM = 0xFE;

class TIEMarkerList : public TObject {
 public:
  TIEMarkerList();
  ~TIEMarkerList() override;
  TIEMarkerList(const TIEMarkerList&) = delete;
  TIEMarkerList& operator=(const TIEMarkerList&) = delete;

  void Clear();
  Integer Count() const { return static_cast<Integer>(FMarkers.size()); }
  Byte GetMarkerType(Integer Index) const { return FMarkers[Index]; }
  // The payload (what follows the marker's length field), valid until the entry changes.
  Byte* GetMarkerData(Integer Index) const;
  Integer GetMarkerLength(Integer Index) const;
  // The first entry with that marker byte, or -1.
  Integer IndexOf(Byte MarkerByte) const;

  // A payload is at most 65,535 bytes: Length is taken as a 16-bit number.
  void AddMarker(Byte MarkerByte, const void* Data, Integer Length);
  void SetMarker(Integer Index, Byte MarkerByte, const void* Data, Integer Length);
  void DeleteMarker(Integer Index);
  void Assign(const TIEMarkerList* Source);

  // By marker byte, ICC profile chunks (APP2) by their sequence number; then the last EXIF
  // APP1 moves in front of the other APP1 markers.
  void SortMarkers();
  Integer CompareMarkers(Integer I, Integer J) const;
  void ExchangeMarkers(Integer I, Integer J);

 private:
  static std::unique_ptr<TMemoryStream> CopyPayload(const void* Data, Integer Length);

  std::vector<std::unique_ptr<TMemoryStream>> FData;
  std::vector<Byte> FMarkers;
};

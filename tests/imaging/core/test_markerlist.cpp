#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "imaging/core/iemarkerlist.h"

namespace {

const std::string XmpPayload = std::string("http://ns.adobe.com/xap/1.0/\0", 29) + "<x:xmpmeta/>";
const std::string ExifPayload = std::string("Exif\0\0II*\0\x08\0\0\0", 14);

std::string ICCChunk(Byte Sequence) {
  return std::string("ICC_PROFILE\0", 12) + char(Sequence) + char(2) + "profile bytes";
}

void Add(TIEMarkerList& List, Byte Marker, const std::string& Payload) {
  List.AddMarker(Marker, Payload.data(), static_cast<Integer>(Payload.size()));
}

std::string PayloadOf(const TIEMarkerList& List, Integer Index) {
  return {reinterpret_cast<const char*>(List.GetMarkerData(Index)),
          static_cast<size_t>(List.GetMarkerLength(Index))};
}

TEST(MarkerList, SortPutsMarkersInWritingOrder) {
  TIEMarkerList List;
  Add(List, IEJpegAPP1, XmpPayload);
  Add(List, IEJpegAPP2, ICCChunk(2));
  Add(List, IEJpegAPP0, "JFIF");
  Add(List, IEJpegAPP2, ICCChunk(1));
  Add(List, IEJpegAPP1, ExifPayload);
  List.SortMarkers();
  ASSERT_EQ(List.Count(), 5);
  const std::vector<std::pair<Byte, std::string>> Expected = {{IEJpegAPP0, "JFIF"},
                                                              {IEJpegAPP1, ExifPayload},
                                                              {IEJpegAPP1, XmpPayload},
                                                              {IEJpegAPP2, ICCChunk(1)},
                                                              {IEJpegAPP2, ICCChunk(2)}};
  for (Integer I = 0; I < 5; ++I) {
    EXPECT_EQ(List.GetMarkerType(I), Expected[I].first) << I;
    EXPECT_EQ(PayloadOf(List, I), Expected[I].second) << I;
  }
}

TEST(MarkerList, EXIFBlockEndsInFrontOfTheOtherAPP1Markers) {
  TIEMarkerList List;
  Add(List, IEJpegAPP1, XmpPayload + "a");
  Add(List, IEJpegAPP1, ExifPayload);
  Add(List, IEJpegAPP1, XmpPayload + "b");
  // The three compare equal; the sort alone leaves the EXIF block in the middle.
  List.SortMarkers();
  EXPECT_EQ(PayloadOf(List, 0), ExifPayload);
}

TEST(MarkerList, ComparesICCChunksBySequenceAndOtherAPP2MarkersAsEqual) {
  TIEMarkerList List;
  Add(List, IEJpegAPP2, ICCChunk(3));
  Add(List, IEJpegAPP2, ICCChunk(1));
  Add(List, IEJpegAPP2, "FPXR\0 data");
  Add(List, IEJpegAPP2, "MPF\0 some more");
  Add(List, IEJpegCOM, "comment");
  Add(List, IEJpegAPP2, std::string("ICC_PROFILE\0\x05", 13));  // 13 bytes: too short for a chunk
  EXPECT_EQ(List.CompareMarkers(0, 1), 2);
  EXPECT_EQ(List.CompareMarkers(1, 0), -2);
  EXPECT_EQ(List.CompareMarkers(2, 3), 0);
  EXPECT_EQ(List.CompareMarkers(0, 2), 0);
  EXPECT_EQ(List.CompareMarkers(0, 5), 0);
  EXPECT_EQ(List.CompareMarkers(4, 0), 0xFE - 0xE2);
}

TEST(MarkerList, EditingKeepsOwnCopiesOfPayloads) {
  TIEMarkerList List;
  std::string Payload = "abc";
  Add(List, IEJpegCOM, Payload);
  Payload[0] = 'x';
  EXPECT_EQ(PayloadOf(List, 0), "abc");
  EXPECT_EQ(List.IndexOf(IEJpegCOM), 0);
  EXPECT_EQ(List.IndexOf(IEJpegAPP13), -1);
  List.SetMarker(0, IEJpegAPP13, "IPTC", 4);
  EXPECT_EQ(List.GetMarkerType(0), IEJpegAPP13);
  EXPECT_EQ(PayloadOf(List, 0), "IPTC");

  TIEMarkerList Copy;
  Add(Copy, IEJpegAPP0, "gone");
  Copy.Assign(&List);
  List.Clear();
  ASSERT_EQ(Copy.Count(), 1);
  EXPECT_EQ(PayloadOf(Copy, 0), "IPTC");
  Copy.DeleteMarker(0);
  EXPECT_EQ(Copy.Count(), 0);
}

TEST(MarkerList, PayloadLengthIsTakenAsSixteenBits) {
  const std::string Long(65536 + 10, 'L');
  TIEMarkerList List;
  List.AddMarker(IEJpegAPP1, Long.data(), static_cast<Integer>(Long.size()));
  EXPECT_EQ(List.GetMarkerLength(0), 10);
  List.AddMarker(IEJpegAPP1, Long.data(), 65535);
  EXPECT_EQ(List.GetMarkerLength(1), 65535);
}

}  // namespace

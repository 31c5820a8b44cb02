#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "imaging/view/zezudidviewselection.h"
#include "platform/system/Streams.h"

namespace {

std::vector<Byte> Bytes(TMemoryStream& Stream) {
  const Byte* Memory = static_cast<const Byte*>(Stream.GetMemory());
  return {Memory, Memory + Stream.GetSize()};
}

// A 10 x 3 one-bit mask with pixels 2..4 of row 1 selected and the rectangle record around them.
struct TSmallSelection {
  TIESelPolygon Polygon;
  TIEMask Mask;
  TSmallSelection() {
    Mask.AllocateBits(10, 3, 1);
    for (Integer X = 2; X <= 4; ++X) Mask.SetPixel(X, 1, 1);
    const TPoint Corners[] = {{2, 1}, {5, 1}, {5, 2}, {2, 2}};
    for (const TPoint& P : Corners) Polygon.AddPoint(P.X, P.Y);
  }
};

TEST(SelectionStream, LayoutIsLittleEndianAndUnpadded) {
  TSmallSelection S;
  TMemoryStream Stream;
  IEWriteSelection(&Stream, S.Polygon, S.Mask, {true, -20, 7, {}});
  const std::vector<Byte> Expected = {
      10,  0,   0,   0,   3, 0, 0, 0, 4, 0, 0, 0,              // mask size, point count
      2,   0,   0,   0,   1, 0, 0, 0,                          // (2, 1)
      5,   0,   0,   0,   1, 0, 0, 0,                          // (5, 1)
      5,   0,   0,   0,   2, 0, 0, 0,                          // (5, 2)
      2,   0,   0,   0,   2, 0, 0, 0,                          // (2, 2)
      2,   0,   0,   0,   1, 0, 0, 0, 5, 0, 0, 0, 2, 0, 0, 0,  // record box
      1,                                                       // active
      236, 255, 255, 255, 7, 0, 0, 0,                          // layer position (-20, 7)
      1,   0,   0,   0,                                        // bits per pixel
      2,   0,   0,   0,   1, 0, 0, 0, 4, 0, 0, 0, 1, 0, 0, 0,  // mask box
      0,                                                       // full
  };
  const std::vector<Byte> Written = Bytes(Stream);
  ASSERT_EQ(Expected.size() + 3 * 4, Written.size());  // three rows of 4 bytes follow
  EXPECT_EQ(Expected, std::vector<Byte>(Written.begin(), Written.begin() + Expected.size()));
  // Rows are stored bottom-up as the mask keeps them: row 1 is the middle one.
  EXPECT_EQ((std::vector<Byte>{0, 0, 0, 0, 0x38, 0, 0, 0, 0, 0, 0, 0}),
            std::vector<Byte>(Written.begin() + Expected.size(), Written.end()));
}

TEST(SelectionStream, RoundTripGivesTheSameBytes) {
  TSmallSelection S;
  S.Polygon.AddBreak();
  S.Polygon.AddPoint(7, 0);
  S.Polygon.AddPoint(9, 2);
  S.Polygon.AddPoint(7, 2);
  TMemoryStream First;
  IEWriteSelection(&First, S.Polygon, S.Mask, {true, 3, 4, {}});

  TIESelPolygon Polygon;
  TIEMask Mask;
  TIESelectionStreamInfo Info;
  First.SetPosition(0);
  ASSERT_TRUE(IEReadSelection(&First, Polygon, Mask, Info));
  EXPECT_EQ(8, Polygon.Capacity);
  EXPECT_TRUE(Info.Active);
  EXPECT_EQ(3, Info.LayerPosX);
  EXPECT_EQ(4, Info.LayerPosY);
  EXPECT_EQ((TRect{2, 1, 4, 1}), Info.MaskBox);
  EXPECT_EQ(4, Mask.GetX2());
  EXPECT_TRUE(Mask.IsPointInside(3, 1));
  EXPECT_FALSE(Mask.IsPointInside(3, 2));

  TMemoryStream Second;
  IEWriteSelection(&Second, Polygon, Mask, Info);
  EXPECT_EQ(Bytes(First), Bytes(Second));
}

TEST(SelectionStream, EightBitMasksKeepTheirLevels) {
  TIESelPolygon Polygon;
  TIEMask Mask;
  Mask.AllocateBits(3, 2, 8);
  Mask.SetPixel(1, 0, 200);
  TMemoryStream Stream;
  IEWriteSelection(&Stream, Polygon, Mask, {});
  TIEMask Read;
  TIESelectionStreamInfo Info;
  Stream.SetPosition(0);
  ASSERT_TRUE(IEReadSelection(&Stream, Polygon, Read, Info));
  EXPECT_EQ(8, Read.GetBitsPerPixel());
  EXPECT_EQ(200, Read.GetPixel(1, 0));
  EXPECT_EQ(0, Polygon.Count);
}

TEST(SelectionStream, TruncatedOrMalformedStreamsChangeNothing) {
  TSmallSelection S;
  TMemoryStream Good;
  IEWriteSelection(&Good, S.Polygon, S.Mask, {true, 0, 0, {}});
  const std::vector<Byte> Whole = Bytes(Good);
  struct TCase {
    const char* Name;
    std::vector<Byte> Data;
  };
  std::vector<Byte> HugeCount = Whole;
  HugeCount[8] = 0xFF;
  HugeCount[11] = 0x7F;
  std::vector<Byte> BadDepth = Whole;
  BadDepth[12 + 32 + 16 + 1 + 8] = 4;
  const TCase Cases[] = {
      {"empty", {}},
      {"cut in the points", {Whole.begin(), Whole.begin() + 20}},
      {"cut in the mask rows", {Whole.begin(), Whole.end() - 1}},
      {"count past the end", HugeCount},
      {"bits per pixel 4", BadDepth},
  };
  for (const TCase& C : Cases) {
    TMemoryStream Stream;
    if (!C.Data.empty()) Stream.WriteBuffer(C.Data.data(), static_cast<Integer>(C.Data.size()));
    Stream.SetPosition(0);
    TSmallSelection Target;
    TIESelectionStreamInfo Info;
    Info.LayerPosX = 99;
    EXPECT_FALSE(IEReadSelection(&Stream, Target.Polygon, Target.Mask, Info)) << C.Name;
    EXPECT_EQ(4, Target.Polygon.Count) << C.Name;
    EXPECT_EQ(10, Target.Mask.GetWidth()) << C.Name;
    EXPECT_TRUE(Target.Mask.IsPointInside(2, 1)) << C.Name;
    EXPECT_EQ(99, Info.LayerPosX) << C.Name;
  }
}

}  // namespace

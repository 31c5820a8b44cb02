// The polygon scanner's rows after a skip: rows above the skip are never returned, and edges that
// began and ended above it cross nothing below.
#include <gtest/gtest.h>

#include "platform/gdi/PolygonScan.h"

namespace {

TEST(PolygonScan, SkippedRowsLeaveNoEdgesBehind) {
  // A triangle over rows 0..4 and a square over rows 8..11.
  const TPoint Points[] = {{0, 0}, {10, 0}, {10, 5}, {0, 8}, {4, 8}, {4, 12}, {0, 12}};
  const Integer Counts[] = {3, 4};
  TPolygonScanner Scan(Points, Counts, 2, ALTERNATE);
  Scan.SkipToRow(6);
  ASSERT_TRUE(Scan.NextRow());
  EXPECT_EQ(Scan.Row(), 8);
  ASSERT_EQ(Scan.Spans().size(), 1u);
  EXPECT_EQ(Scan.Spans()[0].Left, 0);
  EXPECT_EQ(Scan.Spans()[0].Right, 4);
}

TEST(PolygonScan, ASkipIntoAShapeStartsAtThatRow) {
  const TPoint Points[] = {{0, 0}, {6, 0}, {6, 1000000}, {0, 1000000}};
  const Integer Count = 4;
  TPolygonScanner Scan(Points, &Count, 1, WINDING);
  Scan.SkipToRow(999998);
  ASSERT_TRUE(Scan.NextRow());
  EXPECT_EQ(Scan.Row(), 999998);
  ASSERT_EQ(Scan.Spans().size(), 1u);
  EXPECT_EQ(Scan.Spans()[0].Right, 6);
  ASSERT_TRUE(Scan.NextRow());
  EXPECT_FALSE(Scan.NextRow());
}

}  // namespace

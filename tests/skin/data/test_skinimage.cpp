// Skin image builders, checked pixel by pixel against a source whose every pixel is unique:
// each destination pixel must come from the source pixel the layout maps it to.
#include <gtest/gtest.h>

#include <functional>

#include "platform/classes/Bitmap.h"
#include "skin/data/bsUtils.h"

namespace {

using TAxisMap = std::function<Integer(Integer)>;

// A 32-bit source whose pixel (x, y) holds x and y; the skin rectangle starts at (Left, Top).
struct TSource {
  TBitmap SB;
  TSource(Integer Width, Integer Height) {
    SB.SetPixelFormat(pf32bit);
    SB.SetSize(Width, Height);
    for (Integer Y = 0; Y < Height; ++Y) {
      auto* Row = static_cast<Cardinal*>(SB.GetScanLine(Y));
      for (Integer X = 0; X < Width; ++X) Row[X] = 0xFF000000 | (X << 16) | (Y << 8) | 0x55;
    }
  }
};

TColor SourceColour(Integer X, Integer Y) {
  return TColor(0x550000 | (Y << 8) | X);
}

// Counts the pixels of B that are not the source pixel (MapX(x) + Left, MapY(y) + Top).
Integer Mismatches(TBitmap& B, Integer Left, Integer Top, const TAxisMap& MapX, const TAxisMap& MapY) {
  Integer Count = 0;
  for (Integer Y = 0; Y < B.GetHeight(); ++Y)
    for (Integer X = 0; X < B.GetWidth(); ++X)
      if (B.GetCanvas()->GetPixels(X, Y) != SourceColour(MapX(X) + Left, MapY(Y) + Top)) {
        if (Count < 5) ADD_FAILURE() << "pixel " << X << "," << Y;
        ++Count;
      }
  return Count;
}

// Fixed ends and a tiled middle along one axis.
TAxisMap ThreeSpans(Integer Head, Integer Pitch, Integer MiddleEnd, Integer Shift) {
  return [=](Integer V) {
    if (V < Head) return V;
    if (V < MiddleEnd) return Head + (V - Head) % Pitch;
    return V - Shift;
  };
}

// A 40 x 20 part at (3, 2) of its picture, client (5, 5, 35, 15), anchors at the client's
// corners, built at W x H.
struct TNineSlice {
  TSource Src{50, 30};
  const TRect R = Rect(3, 2, 43, 22);
  const TRect C = Rect(5, 5, 35, 15);
  TBitmap B;

  void Build(Integer W, Integer H, bool TopStretch, bool StretchEffect = false, Integer StretchType = 0) {
    const TRect NC = Rect(5, 5, W - 5, H - 5);
    CreateSkinImage(Point(5, 5), Point(35, 5), Point(5, 15), Point(35, 15), C, Point(5, 5), Point(W - 5, 5),
                    Point(5, H - 5), Point(W - 5, H - 5), NC, &B, &Src.SB, R, W, H, true, false, TopStretch,
                    false, false, StretchEffect, StretchType);
  }
};

TEST(SkinImageTest, NineSliceTilesEveryEdgeAndTheClient) {
  TNineSlice Part;
  Part.Build(100, 34, false);
  ASSERT_EQ(Part.B.GetWidth(), 100);
  ASSERT_EQ(Part.B.GetHeight(), 34);
  // Top edge tiles land at 5, 35 and 65; the right end piece at 95..100.
  EXPECT_EQ(Mismatches(Part.B, 3, 2, ThreeSpans(5, 30, 95, 60), ThreeSpans(5, 10, 29, 14)), 0);
}

TEST(SkinImageTest, StretchedTopEdgeSpansBetweenTheNewAnchors) {
  TNineSlice Part;
  Part.Build(100, 20, true);
  TCanvas* C = Part.B.GetCanvas();
  EXPECT_EQ(C->GetPixels(4, 0), SourceColour(3 + 4, 2));
  EXPECT_EQ(C->GetPixels(5, 0), SourceColour(3 + 5, 2));
  EXPECT_EQ(C->GetPixels(94, 4), SourceColour(3 + 34, 2 + 4));
  EXPECT_EQ(C->GetPixels(95, 0), SourceColour(3 + 35, 2));
  EXPECT_EQ(C->GetPixels(50, 0), SourceColour(3 + 5 + 45 * 30 / 90, 2));
  // The rows below the top border are still tiled.
  EXPECT_EQ(C->GetPixels(66, 5), SourceColour(3 + 6, 2 + 5));
}

TEST(SkinImageTest, ZeroLengthTilesAreSkipped) {
  TSource Src{10, 10};
  TBitmap B;
  // Top edge anchors equal (a zero-length tiled piece) and an empty client: drawn without them.
  CreateSkinImage(Point(5, 3), Point(5, 3), Point(2, 7), Point(8, 7), Rect(2, 3, 2, 7), Point(5, 3),
                  Point(5, 3), Point(2, 17), Point(18, 17), Rect(2, 3, 2, 17), &B, &Src.SB,
                  Rect(0, 0, 10, 10), 20, 20, true, false, false, false, false, false, 0);
  EXPECT_EQ(B.GetWidth(), 20);
  CreateVSkinImage(5, 5, &B, &Src.SB, Rect(0, 0, 10, 10), 0, 30, false);
  EXPECT_EQ(B.GetCanvas()->GetPixels(0, 29), SourceColour(0, 9));
}

TEST(SkinImageTest, HorizontalAndVerticalBuilders) {
  TSource Src{30, 12};
  const TRect R = Rect(2, 1, 22, 11);  // 20 x 10
  const TAxisMap Same = [](Integer V) { return V; };
  TBitmap B;
  CreateHSkinImage(4, 4, &B, &Src.SB, R, 30, 0, false);
  ASSERT_EQ(B.GetHeight(), 10);
  EXPECT_EQ(Mismatches(B, 2, 1, ThreeSpans(4, 12, 26, 10), Same), 0);
  CreateHSkinImage(4, 4, &B, &Src.SB, R, 8, 0, false);  // only the two end pieces
  EXPECT_EQ(Mismatches(B, 2, 1, ThreeSpans(4, 12, 4, -12), Same), 0);
  CreateHSkinImageNoRight(4, 4, &B, &Src.SB, R, 30, 0, false);
  EXPECT_EQ(Mismatches(B, 2, 1, ThreeSpans(4, 12, 30, 0), Same), 0);
  TBitmap Middle;
  CreateHSkinImageMiddle(5, 5, &Middle, &Src.SB, Rect(0, 0, 40 - 10, 12), 100, 0, false);
  EXPECT_EQ(Mismatches(
                Middle, 0, 0, [](Integer X) { return 5 + X % 20; }, Same),
            0);
  TBitmap V;
  CreateVSkinImage(3, 3, &V, &Src.SB, R, 0, 20, false);
  ASSERT_EQ(V.GetWidth(), 20);
  EXPECT_EQ(Mismatches(V, 2, 1, Same, ThreeSpans(3, 4, 17, 10)), 0);
}

TEST(SkinImageTest, NoRightClientStripReachesTheRightEdge) {
  TSource Src{40, 20};
  TBitmap B;
  const TRect C = Rect(5, 5, 35, 15);
  CreateSkinImageNoRight(Point(5, 5), Point(35, 5), Point(5, 15), Point(35, 15), C, Point(5, 5), Point(55, 5),
                         Point(5, 15), Point(55, 15), Rect(5, 5, 55, 15), &B, &Src.SB, Rect(0, 0, 40, 20), 80,
                         20, true, false, false, false, false, true, 2);
  // Rows of the client piece stretched to the width from 5 to 80.
  EXPECT_EQ(B.GetCanvas()->GetPixels(79, 7), SourceColour(34, 7));
  EXPECT_EQ(B.GetCanvas()->GetPixels(5, 7), SourceColour(5, 7));
}

TEST(SkinImageTest, BorderImagesCutTheResizedFrame) {
  TNineSlice Part;
  TBitmap Left, Top, Right, Bottom;
  CreateSkinBorderImages(Point(5, 5), Point(35, 5), Point(5, 15), Point(35, 15), Part.C, Point(5, 5),
                         Point(95, 5), Point(5, 25), Point(95, 25), Rect(5, 5, 95, 25), &Left, &Top, &Right,
                         &Bottom, &Part.Src.SB, Part.R, 100, 30, false, false, false, false);
  EXPECT_EQ(Top.GetWidth(), 100);
  EXPECT_EQ(Top.GetHeight(), 5);
  EXPECT_EQ(Bottom.GetHeight(), 5);
  EXPECT_EQ(Left.GetHeight(), 20);
  EXPECT_EQ(Right.GetWidth(), 5);
  const TAxisMap Same = [](Integer V) { return V; };
  // Tiles start at each image's own origin; the end pieces are copied over them.
  const TAxisMap Across = [](Integer X) { return X < 5 ? X : X < 95 ? 5 + X % 30 : X - 60; };
  EXPECT_EQ(Mismatches(Top, 3, 2, Across, Same), 0);
  EXPECT_EQ(Mismatches(Bottom, 3, 2 + 15, Across, Same), 0);
  EXPECT_EQ(Mismatches(Left, 3, 2 + 5, Same, [](Integer Y) { return Y % 10; }), 0);
  EXPECT_EQ(Mismatches(Right, 3 + 35, 2 + 5, Same, [](Integer Y) { return Y % 10; }), 0);
}

}  // namespace

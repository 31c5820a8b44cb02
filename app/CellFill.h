#pragma once
// The cell fill of the generators and the colour fill: a 4-connected scan-line fill of the
// pixels that are not black, on the raw rows of a 24-bit bitmap. It gives the same pixels as
// the platform's border flood fill over the whole bitmap, costs only the cell's own area, and
// remembers the runs it filled, so that the colour fill can paint the same cell again without
// a second search.
#include <cstdint>
#include <vector>

#include "app/Functions.h"

class TBitmap;

class TCellFill {
 public:
  // Works on Bitmap (24-bit) from now on; Bitmap must not change its size while bound.
  void Bind(TBitmap* Bitmap);
  // Fills the region around (X, Y) with Color. False, and nothing filled, when the seed lies
  // outside the bitmap or on a black pixel.
  bool Fill(Integer X, Integer Y, TColor Color);
  // The region of the last Fill painted again in Color.
  void Repaint(TColor Color);

 private:
  struct TRun {
    Integer Y, Left, Right;  // Right is one past the run
  };
  Byte* Row(Integer Y) const { return FFirst + static_cast<NativeInt>(Y) * FStride; }
  Byte* Visited(Integer Y) { return FVisited.data() + static_cast<std::size_t>(Y) * FWidth; }
  // Marks, paints and remembers the open run through (X, Y) and queues it.
  void TakeRun(Integer X, Integer Y);
  // Takes every open run of row Y that touches [Left, Right).
  void SearchRow(Integer Y, Integer Left, Integer Right);
  void Paint(const TRun& Run) const;

  Byte* FFirst = nullptr;
  NativeInt FStride = 0;
  Integer FWidth = 0, FHeight = 0;
  Byte FPixel[3] = {0, 0, 0};  // the fill colour as stored: blue, green, red
  // One byte per pixel, 1 while a fill runs; cleared along the runs when it ends.
  std::vector<Byte> FVisited;
  std::vector<TRun> FRuns;
  std::vector<TRun> FPending;
};

// One cell fill shared by the generators and the colour fill of the running build.
TCellFill& SharedCellFill();

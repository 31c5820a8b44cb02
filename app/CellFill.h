#pragma once
// The cell fill of the generators and the colour fill: a 4-connected scan-line fill of the
// pixels that are not black, on the raw rows of a 24-bit bitmap. It gives the same pixels as
// the platform's border flood fill over the whole bitmap, costs only the cell's own area, and
// remembers the runs it filled, so that the colour fill can paint the same cell again without
// a second search. The colour fill may also find a cell without painting it, ask which pixels
// belong to it, and paint it once.
#include <cstdint>
#include <vector>

#include "app/Functions.h"

class TBitmap;

class TCellFill {
 public:
  struct TRun {
    Integer Y, Left, Right;  // Right is one past the run
  };
  // Works on Bitmap (24-bit) from now on; Bitmap must not change its size while bound.
  void Bind(TBitmap* Bitmap);
  // Fills the region around (X, Y) with Color. False, and nothing filled, when the seed lies
  // outside the bitmap or on a black pixel.
  bool Fill(Integer X, Integer Y, TColor Color);
  // Gives back the marks' memory (one byte a pixel) between builds; the next Bind makes it anew.
  void Release();
  // Finds the region around (X, Y) as Fill does without painting it: until Repaint or the next
  // search, Marked tells its pixels. False, and nothing found, as for Fill.
  bool Find(Integer X, Integer Y);
  // True when (X, Y), which must lie in the bitmap, belongs to the region Find found.
  bool Marked(Integer X, Integer Y) const {
    return FVisited[static_cast<std::size_t>(Y) * FWidth + static_cast<std::size_t>(X)] != 0;
  }
  // The marks of row Y (which must lie in the bitmap), one byte a pixel, non-zero where Marked.
  const Byte* MarkRow(Integer Y) const { return FVisited.data() + static_cast<std::size_t>(Y) * FWidth; }
  // Asks the cache for the pixels and marks within Reach of (X, Y), where a coming search starts.
  void Prefetch(Integer X, Integer Y, Integer Reach) const;
  // The region of the last Fill or Find painted (again) in Color.
  void Repaint(TColor Color);
  // The runs of the last Fill or Find, until the next search.
  const std::vector<TRun>& Runs() const { return FRuns; }

 private:
  Byte* Row(Integer Y) const { return FFirst + static_cast<NativeInt>(Y) * FStride; }
  Byte* Visited(Integer Y) { return FVisited.data() + static_cast<std::size_t>(Y) * FWidth; }
  // Marks, paints and remembers the open run through (X, Y) and queues it.
  void TakeRun(Integer X, Integer Y);
  // Takes every open run of row Y that touches [Left, Right).
  void SearchRow(Integer Y, Integer Left, Integer Right);
  void Paint(const TRun& Run) const;
  // Clears the marks of the runs found, if they are still held.
  void ClearMarks();

  Byte* FFirst = nullptr;
  NativeInt FStride = 0;
  Integer FWidth = 0, FHeight = 0;
  Byte FPixel[3] = {0, 0, 0};  // the fill colour as stored: blue, green, red
  // One byte per pixel, 1 while a fill runs; cleared along the runs when it ends.
  std::vector<Byte> FVisited;
  std::vector<TRun> FRuns;
  std::vector<TRun> FPending;
  bool FMarksHeld = false;
};

// One cell fill shared by the generators and the colour fill of the running build.
TCellFill& SharedCellFill();

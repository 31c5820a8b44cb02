#pragma once
// The stretch modes that look at more than one source pixel per destination pixel. Both are row
// producers for the blit engine: BeginRect announces the destination columns [X0, X1) of the
// next clip rectangle, Row gives one destination row of them as destination raw pixels.
//
// Geometry: DstRect and SrcRect are the ordered rectangles of the call; Vis is the part of
// DstRect the maps are built for (columns and rows outside it are never asked for).
#include <vector>

#include "platform/gdi/BlitRows.h"

struct TStretchGeometry {
  TRect DstRect;
  TRect SrcRect;
  bool FlipX = false;
  bool FlipY = false;
  TRect Vis;
};

// BLACKONWHITE and WHITEONBLACK when shrinking: destination i stands for the source pixels
// (i * n) div m up to ((i + 1) * n) div m (at least one), and their raw pixels are combined with
// AND (black wins on white) or OR (white wins on black) before conversion.
class TScanCombineRows {
 public:
  TScanCombineRows(const TSurface& S, const TColorSide& SrcSide, const TColorSide& DstSide,
                   const TStretchGeometry& G, bool And);
  void BeginRect(Integer X0, Integer X1);
  void Row(Integer Y, Integer X0, Integer N, DWORD* Out);

 private:
  const TSurface& FS;
  TPixelConverter FConv;
  bool FAnd;
  TPoint FMapOrg;
  std::vector<Integer> FX0, FX1, FY0, FY1;  // source ranges, ascending, [first, last)
  Integer FSpan0 = 0, FSpanN = 0;
  std::vector<DWORD> FLine, FAcc;
};

// HALFTONE: the box filter. Destination pixel i covers source [i * n / m, (i + 1) * n / m) on
// each axis and each source pixel weighs by its overlap, in 4096ths: the overlaps are summed
// from the start of the interval and each running sum is rounded (halves up), so the weights of
// one destination pixel add up to exactly 4096. A channel is
//   (sum of wy * (sum of wx * c) + 2^23) div 2^24,
// over blue, green and red, and alpha when the source has it (pf32); else alpha is 0.
class THalftoneRows {
 public:
  THalftoneRows(const TSurface& S, const TColorSide& SrcSide, const TColorSide& DstSide,
                const TStretchGeometry& G);
  void BeginRect(Integer X0, Integer X1);
  void Row(Integer Y, Integer X0, Integer N, DWORD* Out);

  struct TAxis {
    std::vector<Integer> First, Count, Src;
    std::vector<Word> Weight;
    Integer MaxCount = 0;
  };
  // Weights of destinations First .. First + Count - 1 of DstCount over SrcCount sources
  // starting at SrcStart; source indices are clamped to [0, Limit).
  static void BuildAxis(Integer DstCount, Integer SrcStart, Integer SrcCount, bool Flip, Integer Limit,
                        Integer First, Integer Count, TAxis& A);

 private:
  const DWORD* Filtered(Integer SrcRow);
  const TSurface& FS;
  TPixelConverter FToRgb, FToDst;
  Integer FChannels;
  TPoint FMapOrg;
  TAxis FX, FY;
  Integer FX0 = 0, FN = 0, FSpan0 = 0, FSpanN = 0;
  bool FInPlace = false;
  // The current rectangle's contributors, FCount per column: byte offsets and weights.
  Integer FCount = 0;
  std::vector<NativeInt> FOffsets;
  std::vector<Word> FWeights;
  std::vector<std::vector<DWORD>> FCache;
  std::vector<Integer> FTags;
  std::vector<DWORD> FLine, FAcc;
};

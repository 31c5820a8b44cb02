#pragma once
// Micro-tile grids: which parts of an area changed, at a fixed cost per change. The area is cut
// into 32 x 32 tiles and each tile keeps one 32-bit box, the bounding box of everything recorded
// inside it. Grids are plain records owned by whoever holds them; the routines below work on
// them by reference and run on the painting thread.
//
// A grid's cells reach one tile column and one tile row past Bounds (the tile counts carry a
// +1), and the allocation holds one spare row more. Edges handed to a grid are clamped to the
// grid; the routines never write a cell outside the grid's own tiles, whatever the rectangle
// or however two united grids differ in size.
#include <vector>

#include "raster/RS32_Containers.h"
#include "raster/RS32_Types.h"

class TCustomLayer;

// A box inside one tile in tile-local pixels 0..32: Left in bits 24-31, Top 16-23, Right 8-15,
// Bottom 0-7; Right and Bottom exclusive.
using TTileBox = Cardinal;
constexpr Integer MicroTileShift = 5;
constexpr Integer MicroTileSize = 1 << MicroTileShift;
constexpr TTileBox TileBoxEmpty = 0;
constexpr TTileBox TileBoxFull = 0x00002020;

constexpr TTileBox PackTileBox(Cardinal L, Cardinal T, Cardinal R, Cardinal B) {
  return (L << 24) | (T << 16) | (R << 8) | B;
}
constexpr Cardinal TileBoxLeft(TTileBox Box) {
  return Box >> 24;
}
constexpr Cardinal TileBoxTop(TTileBox Box) {
  return (Box >> 16) & 0xFF;
}
constexpr Cardinal TileBoxRight(TTileBox Box) {
  return (Box >> 8) & 0xFF;
}
constexpr Cardinal TileBoxBottom(TTileBox Box) {
  return Box & 0xFF;
}
// Left equals Right or Top equals Bottom (the empty box among them).
constexpr bool TileBoxDegenerate(TTileBox Box) {
  return TileBoxLeft(Box) == TileBoxRight(Box) || TileBoxTop(Box) == TileBoxBottom(Box);
}

struct TTileGrid {
  TRect Bounds;
  Integer TileColumns = 0;  // Bounds width div 32 + 1
  Integer TileRows = 0;     // Bounds height div 32 + 1
  // Inclusive tile range touched since the last clear; empty when Right < Left, and then
  // (TileColumns, TileRows, 0, 0).
  TRect UsedTiles;
  Integer CellCount = 0;  // (TileColumns + 1) x (TileRows + 1)
  // Tile (c, r) is Cells[c + r x TileColumns]. Released by TileGridFree while CellCount stays,
  // so every routine asks HasCells, not CellCount alone.
  std::vector<TTileBox> Cells;

  bool HasCells() const { return CellCount > 0 && static_cast<Integer>(Cells.size()) >= CellCount; }
};

void TileGridInit(TTileGrid& G);
void TileGridFree(TTileGrid& G);
// A negative width or height counts as 0. Raises EOutOfMemory when the cell count does not fit
// 32 bits.
void TileGridSetSize(TTileGrid& G, const TRect& NewBounds);
void TileGridFill(TTileGrid& G, TTileBox Value);
void TileGridClear(TTileGrid& G);
void TileGridCopy(TTileGrid& Dest, const TTileGrid& Src);
// Coarse: every touched tile counts as wholly changed.
void TileGridAddRect(TTileGrid& G, TRect R, bool Coarse);
void TileGridAddLine(TTileGrid& G, Integer X1, Integer Y1, Integer X2, Integer Y2, Integer LineWidth,
                     bool Coarse);
void TileGridAddGrid(TTileGrid& Dest, const TTileGrid& Src, bool Coarse);
// Appends the recorded boxes as rectangles (adjacent tiles merged) to Rects unless CountOnly;
// returns how many there are.
Integer TileGridToRects(const TTileGrid& G, TRectList* Rects, bool CountOnly = false);
Integer TileGridToRectsClipped(const TTileGrid& G, TRectList* Rects, const TRect& Clip,
                               bool CountOnly = false, bool Coarse = false);

// Grows R outward by Dx and Dy whichever way it is oriented. Edges saturate at the ends of the
// 32-bit range.
void InflateArea(TRect& R, Integer Dx, Integer Dy);

// Chosen together by SelectMicroTilesRoutines: the extended-MMX forms (byte minimum and
// maximum, here in SSE2) when the processor reports extended MMX, else the plain ones. Both
// give the same bytes.
using TUniteTileBoxProc = void (*)(TTileBox& Dest, TTileBox Src);
using TUniteTileGridsProc = void (*)(TTileGrid& Dest, const TTileGrid& Src);
extern TUniteTileBoxProc UniteTileBox;
extern TUniteTileGridsProc UniteTileGrids;
void UniteTileBoxPlain(TTileBox& Dest, TTileBox Src);
void UniteTileBoxMmx(TTileBox& Dest, TTileBox Src);
void UniteTileGridsPlain(TTileGrid& Dest, const TTileGrid& Src);
void UniteTileGridsMmx(TTileGrid& Dest, const TTileGrid& Src);
void SelectMicroTilesRoutines();

// For UniteTileGrids forms: the tile range of Src.UsedTiles that lies in the tiles of both grids
// (Right < Left when there is none).
TRect SharedUsedTiles(const TTileGrid& Dest, const TTileGrid& Src);

// Per layer, the grid the map owns. Grids leave the map only through Delete, which disposes of
// them, so Remove and Clear do too.
class TMicroTilesMap : public TPointerMap {
 public:
  ~TMicroTilesMap() override;
  // The layer's grid; a new layer gets an empty grid without cells.
  TTileGrid* Add(TCustomLayer* Item);
  // Raises the base map's EListError for a layer without a grid.
  TTileGrid* Data(TCustomLayer* Item) const { return static_cast<TTileGrid*>(GetData(Item)); }
  void* Delete(Integer BucketIndex, Integer ItemIndex) override;
};

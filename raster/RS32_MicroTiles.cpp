#include "raster/RS32_MicroTiles.h"

#include <algorithm>
#include <limits>
#include <memory>

#include "platform/system/Exceptions.h"
#include "raster/RS32_LowLevel.h"
#include "raster/RS32_System.h"

TUniteTileBoxProc UniteTileBox = UniteTileBoxPlain;
TUniteTileGridsProc UniteTileGrids = UniteTileGridsPlain;

namespace {
constexpr TRect EmptyUsedTiles(const TTileGrid& G) {
  return {G.TileColumns, G.TileRows, 0, 0};
}
constexpr bool UsedTilesEmpty(const TRect& U) {
  return U.Right < U.Left || U.Bottom < U.Top;
}

Integer ClampToInteger(Int64 V) {
  if (V < std::numeric_limits<Integer>::min()) return std::numeric_limits<Integer>::min();
  if (V > std::numeric_limits<Integer>::max()) return std::numeric_limits<Integer>::max();
  return static_cast<Integer>(V);
}

Int64 FloorDiv(Int64 A, Int64 B) {
  const Int64 Q = A / B;
  return (A % B != 0 && (A < 0) != (B < 0)) ? Q - 1 : Q;
}

// Cells [Left..Right] x [Top..Bottom] of the used range that are tiles of the grid itself:
// column TileColumns would be the next row's first cell and row TileRows the spare row.
TRect UsedTilesInGrid(const TTileGrid& G) {
  return {std::max(G.UsedTiles.Left, 0), std::max(G.UsedTiles.Top, 0),
          std::min(G.UsedTiles.Right, G.TileColumns - 1), std::min(G.UsedTiles.Bottom, G.TileRows - 1)};
}
}  // namespace

void TileGridInit(TTileGrid& G) {
  G.Bounds = TRect();
  G.TileColumns = 0;
  G.TileRows = 0;
  G.UsedTiles = TRect();
  G.CellCount = 0;
  std::vector<TTileBox>().swap(G.Cells);
}

void TileGridFree(TTileGrid& G) {
  std::vector<TTileBox>().swap(G.Cells);
}

void TileGridSetSize(TTileGrid& G, const TRect& NewBounds) {
  const Int64 W = std::max<Int64>(static_cast<Int64>(NewBounds.Right) - NewBounds.Left, 0);
  const Int64 H = std::max<Int64>(static_cast<Int64>(NewBounds.Bottom) - NewBounds.Top, 0);
  const Int64 Columns = W / MicroTileSize + 1;
  const Int64 Rows = H / MicroTileSize + 1;
  const Int64 Count = (Columns + 1) * (Rows + 1);
  if (Count > std::numeric_limits<Integer>::max()) throw EOutOfMemory("Out of memory");
  G.Bounds = NewBounds;
  G.TileColumns = static_cast<Integer>(Columns);
  G.TileRows = static_cast<Integer>(Rows);
  G.CellCount = static_cast<Integer>(Count);
  G.Cells.resize(static_cast<std::size_t>(Count));
  TileGridFill(G, TileBoxEmpty);
}

void TileGridFill(TTileGrid& G, TTileBox Value) {
  G.UsedTiles = EmptyUsedTiles(G);
  if (G.HasCells()) FillDwords(G.Cells.data(), G.CellCount, Value);
}

void TileGridClear(TTileGrid& G) {
  if (G.HasCells()) {
    const TRect U = UsedTilesInGrid(G);
    for (Integer Row = U.Top; Row <= U.Bottom && U.Left <= U.Right; ++Row)
      FillDwords(G.Cells.data() + U.Left + static_cast<NativeInt>(Row) * G.TileColumns, U.Right - U.Left + 1,
                 TileBoxEmpty);
  }
  G.UsedTiles = EmptyUsedTiles(G);
}

void TileGridCopy(TTileGrid& Dest, const TTileGrid& Src) {
  if (&Dest == &Src) return;
  if (Dest.HasCells()) TileGridClear(Dest);
  Dest.Bounds = Src.Bounds;
  Dest.TileColumns = Src.TileColumns;
  Dest.TileRows = Src.TileRows;
  Dest.UsedTiles = Src.UsedTiles;
  // Cells beyond the old ones come in empty; the old ones are all empty after the clear.
  Dest.Cells.resize(static_cast<std::size_t>(std::max(Src.CellCount, 0)), TileBoxEmpty);
  Dest.CellCount = Src.CellCount;
  if (!Src.HasCells()) return;
  const TRect U = UsedTilesInGrid(Src);
  for (Integer Row = U.Top; Row <= U.Bottom && U.Left <= U.Right; ++Row) {
    const NativeInt Offset = U.Left + static_cast<NativeInt>(Row) * Src.TileColumns;
    MoveDwords(Src.Cells.data() + Offset, Dest.Cells.data() + Offset, U.Right - U.Left + 1);
  }
}

void TileGridAddRect(TTileGrid& G, TRect R, bool Coarse) {
  if (!G.HasCells()) return;
  SwapIfLess(R.Left, R.Right);
  SwapIfLess(R.Top, R.Bottom);
  R.Left = std::max(R.Left, 0);
  R.Top = std::max(R.Top, 0);
  R.Right = static_cast<Integer>(std::min<Int64>(R.Right, static_cast<Int64>(G.TileColumns) * MicroTileSize));
  R.Bottom = static_cast<Integer>(std::min<Int64>(R.Bottom, static_cast<Int64>(G.TileRows) * MicroTileSize));
  if (R.Right < R.Left || R.Bottom < R.Top) return;

  const Integer CL = R.Left >> MicroTileShift, CR = R.Right >> MicroTileShift;
  const Integer RT = R.Top >> MicroTileShift, RB = R.Bottom >> MicroTileShift;
  // A right or bottom edge on the grid's last border addresses one column or row past the
  // tiles; exactly there exact mode has only degenerate pieces, and coarse mode is kept to
  // the grid's own tiles.
  const Integer LastColumn = std::min(CR, G.TileColumns - 1);
  const Integer LastRow = std::min(RB, G.TileRows - 1);
  TTileBox* Cells = G.Cells.data();

  if (Coarse) {
    for (Integer Row = RT; Row <= LastRow; ++Row)
      FillDwords(Cells + CL + static_cast<NativeInt>(Row) * G.TileColumns, LastColumn - CL + 1, TileBoxFull);
  } else {
    const Cardinal L = R.Left & (MicroTileSize - 1), T = R.Top & (MicroTileSize - 1);
    const Cardinal Rt = R.Right & (MicroTileSize - 1), B = R.Bottom & (MicroTileSize - 1);
    for (Integer Row = RT; Row <= LastRow; ++Row) {
      TTileBox* Line = Cells + static_cast<NativeInt>(Row) * G.TileColumns;
      const Cardinal Top = Row == RT ? T : 0;
      const Cardinal Bottom = Row == RB ? B : MicroTileSize;
      UniteTileBox(Line[CL], PackTileBox(L, Top, CL == CR ? Rt : MicroTileSize, Bottom));
      const Integer InnerLast = std::min(CR - 1, LastColumn);
      if (Top == 0 && Bottom == MicroTileSize) {
        if (InnerLast > CL) FillDwords(Line + CL + 1, InnerLast - CL, TileBoxFull);
      } else {
        const TTileBox Piece = PackTileBox(0, Top, MicroTileSize, Bottom);
        for (Integer C = CL + 1; C <= InnerLast; ++C) UniteTileBox(Line[C], Piece);
      }
      if (CR > CL && CR <= LastColumn) UniteTileBox(Line[CR], PackTileBox(0, Top, Rt, Bottom));
    }
  }

  G.UsedTiles.Left = std::min(G.UsedTiles.Left, CL);
  G.UsedTiles.Top = std::min(G.UsedTiles.Top, RT);
  G.UsedTiles.Right = std::max(G.UsedTiles.Right, CR);
  G.UsedTiles.Bottom = std::max(G.UsedTiles.Bottom, RB);
}

// Walks the line in 32-pixel steps along its major axis in 16.16 fixed point and records one
// inflated rectangle per step. The arithmetic is 64-bit: for lines inside the 16.16 range
// (extents below 32768) it gives the 32-bit results, and longer ones stay defined. Steps whose
// major-axis extent misses the grid would record nothing and are skipped.
void TileGridAddLine(TTileGrid& G, Integer X1, Integer Y1, Integer X2, Integer Y2, Integer LineWidth,
                     bool Coarse) {
  const Integer D = ClampToInteger(2 * static_cast<Int64>(LineWidth));
  if (X2 == X1 || Y2 == Y1) {
    TRect R{X1, Y1, X2, Y2};
    InflateArea(R, D, D);
    TileGridAddRect(G, R, Coarse);
    return;
  }
  if (!G.HasCells()) return;
  const Int64 DX = static_cast<Int64>(X2) - X1, DY = static_cast<Int64>(Y2) - Y1;
  const Int64 SX = DX < 0 ? -1 : 1, SY = DY < 0 ? -1 : 1;
  Int64 A = (DX < 0 ? -DX : DX) << 16;
  Int64 B = (DY < 0 ? -DY : DY) << 16;
  const bool Steep = A < B;
  if (Steep) std::swap(A, B);
  const Int64 MajorStep = 0x200000;
  const Int64 K = A / MicroTileSize;
  const Int64 MinorStep = static_cast<Int64>((static_cast<__int128>(B) * 65536) / K);
  const Int64 StepX = (Steep ? MinorStep : MajorStep) * SX;
  const Int64 StepY = (Steep ? MajorStep : MinorStep) * SY;
  const Int64 N = (K + 0xFFFF) >> 16;

  Int64 First = 0, Last = N - 1;
  if (D >= 0) {
    const Int64 M1 = Steep ? Y1 : X1;
    const Int64 Sign = Steep ? SY : SX;
    const Int64 Limit = static_cast<Int64>(Steep ? G.TileRows : G.TileColumns) * MicroTileSize;
    if (Sign > 0) {
      First = std::max<Int64>(First, FloorDiv(-D - M1, MicroTileSize) - 1);
      Last = std::min<Int64>(Last, FloorDiv(Limit + D - M1, MicroTileSize) + 1);
    } else {
      First = std::max<Int64>(First, FloorDiv(M1 - D - Limit, MicroTileSize) - 1);
      Last = std::min<Int64>(Last, FloorDiv(M1 + D, MicroTileSize) + 1);
    }
  }
  Int64 PX = (static_cast<Int64>(X1) << 16) + First * StepX;
  Int64 PY = (static_cast<Int64>(Y1) << 16) + First * StepY;
  auto Round16 = [](Int64 V) { return ClampToInteger((V + 0x7FFF) >> 16); };
  for (Int64 I = First; I <= Last; ++I) {
    const Int64 QX = PX + StepX, QY = PY + StepY;
    TRect R{Round16(PX), Round16(PY), Round16(QX), Round16(QY)};
    InflateArea(R, D, D);
    TileGridAddRect(G, R, Coarse);
    PX = QX;
    PY = QY;
  }
}

TRect SharedUsedTiles(const TTileGrid& Dest, const TTileGrid& Src) {
  return {std::max(Src.UsedTiles.Left, 0), std::max(Src.UsedTiles.Top, 0),
          std::min({Src.UsedTiles.Right, Src.TileColumns - 1, Dest.TileColumns - 1}),
          std::min({Src.UsedTiles.Bottom, Src.TileRows - 1, Dest.TileRows - 1})};
}

void TileGridAddGrid(TTileGrid& Dest, const TTileGrid& Src, bool Coarse) {
  if (!Src.HasCells() || UsedTilesEmpty(Src.UsedTiles) || !Dest.HasCells()) return;
  if (Coarse) {
    const TRect U = SharedUsedTiles(Dest, Src);
    for (Integer Row = U.Top; Row <= U.Bottom; ++Row) {
      const TTileBox* S = Src.Cells.data() + static_cast<NativeInt>(Row) * Src.TileColumns;
      TTileBox* Dd = Dest.Cells.data() + static_cast<NativeInt>(Row) * Dest.TileColumns;
      for (Integer C = U.Left; C <= U.Right; ++C)
        if (Dd[C] != TileBoxFull && !TileBoxDegenerate(S[C])) Dd[C] = TileBoxFull;
    }
  } else {
    UniteTileGrids(Dest, Src);
  }
  Dest.UsedTiles.Left = std::min(Dest.UsedTiles.Left, Src.UsedTiles.Left);
  Dest.UsedTiles.Top = std::min(Dest.UsedTiles.Top, Src.UsedTiles.Top);
  Dest.UsedTiles.Right = std::max(Dest.UsedTiles.Right, Src.UsedTiles.Right);
  Dest.UsedTiles.Bottom = std::max(Dest.UsedTiles.Bottom, Src.UsedTiles.Bottom);
}

Integer TileGridToRects(const TTileGrid& G, TRectList* Rects, bool CountOnly) {
  return TileGridToRectsClipped(G, Rects, G.Bounds, CountOnly, false);
}

Integer TileGridToRectsClipped(const TTileGrid& G, TRectList* Rects, const TRect& Clip, bool CountOnly,
                               bool Coarse) {
  if (!G.HasCells() || UsedTilesEmpty(G.UsedTiles)) return 0;
  const Integer Columns = G.TileColumns, Rows = G.TileRows;
  const std::size_t Tiles = static_cast<std::size_t>(Columns) * static_cast<std::size_t>(Rows);
  std::vector<TRect> Found(Tiles);
  // Per cell: the rectangle that a run starting in this cell may extend downward, or -1.
  std::vector<Integer> Below(Tiles, -1);
  Integer N = 0;
  const TTileBox* Cells = G.Cells.data();

  for (Integer Row = 0; Row < Rows; ++Row) {
    const TTileBox* Line = Cells + static_cast<NativeInt>(Row) * Columns;
    const Integer Y = Row * MicroTileSize;
    Integer C = 0;
    while (C < Columns) {
      const TTileBox Box = Line[C];
      if (Box == TileBoxEmpty) {
        ++C;
        continue;
      }
      const NativeInt S = C + static_cast<NativeInt>(Row) * Columns;
      Integer Last = C;
      Integer Left, Top, Right, Bottom;
      if (Coarse) {
        while (Last + 1 < Columns && Line[Last + 1] != TileBoxEmpty) ++Last;
        Top = Y;
        Bottom = Y + MicroTileSize;
        Left = C * MicroTileSize;
        Right = Last * MicroTileSize + MicroTileSize;
      } else {
        TTileBox LastBox = Box;
        // Only the first box's right edge is looked at; the run then takes every following
        // cell of the same height that starts at its tile's left edge.
        if (TileBoxRight(Box) == static_cast<Cardinal>(MicroTileSize)) {
          const TTileBox Band = Box & 0x00FF00FF;
          while (Last + 1 < Columns && (Line[Last + 1] & 0xFFFF00FF) == Band) LastBox = Line[++Last];
        }
        Top = Y + static_cast<Integer>(TileBoxTop(Box));
        Bottom = Y + static_cast<Integer>(TileBoxBottom(Box));
        Left = C * MicroTileSize + static_cast<Integer>(TileBoxLeft(Box));
        Right = Last * MicroTileSize + static_cast<Integer>(TileBoxRight(LastBox));
      }
      Top = ClampToRange(Top, Clip.Top, Clip.Bottom);
      Bottom = ClampToRange(Bottom, Clip.Top, Clip.Bottom);
      Left = ClampToRange(Left, Clip.Left, Clip.Right);
      Right = ClampToRange(Right, Clip.Left, Clip.Right);

      const Integer K = Below[S];
      if (K >= 0 && Found[K].Left == Left && Found[K].Right == Right && Found[K].Bottom == Top) {
        Found[K].Bottom = Bottom;
        if (Row < Rows - 1) Below[S + Columns] = K;
      } else {
        Found[N] = {Left, Top, Right, Bottom};
        if (Row < Rows - 1) Below[S + Columns] = N;
        ++N;
      }
      C = Last + 1;
    }
  }
  if (!CountOnly && Rects != nullptr)
    for (Integer I = 0; I < N; ++I) Rects->Add(Found[I]);
  return N;
}

void InflateArea(TRect& R, Integer Dx, Integer Dy) {
  Int64 X = Dx, Y = Dy;
  if (R.Right < R.Left) X = -X;
  if (R.Bottom < R.Top) Y = -Y;
  R = {ClampToInteger(R.Left - X), ClampToInteger(R.Top - Y), ClampToInteger(R.Right + X),
       ClampToInteger(R.Bottom + Y)};
}

void UniteTileBoxPlain(TTileBox& Dest, TTileBox Src) {
  if (Dest == TileBoxFull || TileBoxDegenerate(Src)) return;
  if (Dest != TileBoxEmpty && Src != TileBoxFull) {
    Dest = PackTileBox(
        std::min(TileBoxLeft(Dest), TileBoxLeft(Src)), std::min(TileBoxTop(Dest), TileBoxTop(Src)),
        std::max(TileBoxRight(Dest), TileBoxRight(Src)), std::max(TileBoxBottom(Dest), TileBoxBottom(Src)));
  } else {
    Dest = Src;
  }
}

void UniteTileGridsPlain(TTileGrid& Dest, const TTileGrid& Src) {
  if (!Dest.HasCells() || !Src.HasCells()) return;
  const TRect U = SharedUsedTiles(Dest, Src);
  for (Integer Row = U.Top; Row <= U.Bottom; ++Row) {
    const TTileBox* S = Src.Cells.data() + static_cast<NativeInt>(Row) * Src.TileColumns;
    TTileBox* D = Dest.Cells.data() + static_cast<NativeInt>(Row) * Dest.TileColumns;
    for (Integer C = U.Left; C <= U.Right; ++C) UniteTileBoxPlain(D[C], S[C]);
  }
}

void SelectMicroTilesRoutines() {
  if (CpuHasExtendedMmx()) {
    UniteTileBox = UniteTileBoxMmx;
    UniteTileGrids = UniteTileGridsMmx;
  } else {
    UniteTileBox = UniteTileBoxPlain;
    UniteTileGrids = UniteTileGridsPlain;
  }
}

TMicroTilesMap::~TMicroTilesMap() {
  Clear();
}

TTileGrid* TMicroTilesMap::Add(TCustomLayer* Item) {
  Integer BucketIndex, ItemIndex;
  if (Find(Item, BucketIndex, ItemIndex)) return Data(Item);
  auto Grid = std::make_unique<TTileGrid>();
  bool NewItem = false;
  TPointerMap::Add(Item, Grid.get(), NewItem);
  return Grid.release();
}

void* TMicroTilesMap::Delete(Integer BucketIndex, Integer ItemIndex) {
  delete static_cast<TTileGrid*>(TPointerMap::Delete(BucketIndex, ItemIndex));
  return nullptr;
}

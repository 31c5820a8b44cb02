// The colour fill: every cell is flooded with a probe colour, the source under the probe is
// averaged and the cell flooded again with the mean; then the grid goes and the effects run.
#include <cstdint>
#include <cstring>
#include <optional>

#include "app/BackgroundBlend.h"
#include "app/CellFill.h"
#include "app/Functions.h"
#include "app/Languages.h"
#include "app/Main.h"
#include "app/PostProcessing.h"
#include "platform/classes/Bitmap.h"
#include "platform/system/Math.h"
#include "skin/controls/bsSkinCtrls.h"

namespace {
// The sampling window reaches this far on each side of a seed, every second pixel.
constexpr Integer SampleReach = 10;
// Messages are let through once every so many cells: a pump reads the clock, which costs more
// than a small cell, and even large cells leave a cancel well within a blink.
constexpr Integer CellsPerPump = 16;

// True when the mask has a black pixel at (X, Y); places outside the mask are not masked.
bool MaskedAt(const TBitmapRows& Mask, Integer X, Integer Y) {
  if (X < 0 || Y < 0 || X >= Mask.Width || Y >= Mask.Height) return false;
  const Byte* P = Mask[Y] + 3 * X;
  return (P[0] | P[1] | P[2]) == 0;
}

// The mean source colour under the pixels of colour Probe around (X, Y); white without any.
// Found, when given, holds the cell that the probe would have painted: its pixels count as
// the probe's colour without being painted.
TColor SampleMean(const TBitmapRows& Cells, const TBitmapRows& Source, const TCellFill* Found, Integer X,
                  Integer Y, TColor Probe, Integer LastCol, Integer LastRow) {
  // Whole sums are exact, as the sums of their values as doubles are.
  Integer Sum[3] = {0, 0, 0};
  Integer Count = 0;
  for (Integer Yy = Y > SampleReach ? Y - SampleReach : 0; Yy < Y + SampleReach && Yy <= LastRow; Yy += 2) {
    const Byte* Row = Cells[Yy];
    const Byte* From = Source[Yy];
    // A marked pixel counts whatever its colour: the one-byte mark is read before the pixel.
    const Byte* Marks = Found != nullptr ? Found->MarkRow(Yy) : nullptr;
    for (Integer Xx = X > SampleReach ? X - SampleReach : 0; Xx < X + SampleReach && Xx <= LastCol; Xx += 2) {
      if ((Marks == nullptr || Marks[Xx] == 0) && PixelColor(Row + 3 * Xx) != Probe) continue;
      Sum[0] += From[3 * Xx];
      Sum[1] += From[3 * Xx + 1];
      Sum[2] += From[3 * Xx + 2];
      ++Count;
    }
  }
  if (Count == 0) return clWhite;
  const auto Mean = [&](Integer C) {
    return static_cast<Integer>(Round(static_cast<Double>(Sum[C]) / Count));
  };
  return static_cast<TColor>(Mean(2) | (Mean(1) << 8) | (Mean(0) << 16));
}
// The source rows the sampling around (X, Y) reads, asked of the cache ahead of time.
void PrefetchSamples(const TBitmapRows& Source, Integer X, Integer Y, Integer LastCol, Integer LastRow) {
  if (X < 0 || Y < 0 || X > LastCol || Y > LastRow) return;
  const Integer Left = X > SampleReach ? X - SampleReach : 0, Right = Min(X + SampleReach, LastCol);
  for (Integer Yy = Y > SampleReach ? Y - SampleReach : 0; Yy < Y + SampleReach && Yy <= LastRow; Yy += 2) {
    __builtin_prefetch(Source[Yy] + 3 * Left);
    __builtin_prefetch(Source[Yy] + 3 * Right + 2);
  }
}

// Where the frame row is black the pixel takes the background's pixel, or white without one.
void RemoveGrid(const Byte* Frame, const Byte* Background, Byte* Row, Integer Count) {
  Integer X = 0;
  // Four pixels whose twelve bytes are none of them zero hold no black pixel.
  for (; X + 4 <= Count; X += 4) {
    std::uint32_t W[3];
    std::memcpy(W, Frame + 3 * X, sizeof(W));
    if (!HasZeroByte(W[0]) && !HasZeroByte(W[1]) && !HasZeroByte(W[2])) continue;
    for (Integer K = X; K < X + 4; ++K) {
      const Byte* F = Frame + 3 * K;
      if ((F[0] | F[1] | F[2]) != 0) continue;
      if (Background != nullptr)
        std::memcpy(Row + 3 * K, Background + 3 * K, 3);
      else
        std::memset(Row + 3 * K, 255, 3);
    }
  }
  for (; X < Count; ++X) {
    const Byte* F = Frame + 3 * X;
    if ((F[0] | F[1] | F[2]) != 0) continue;
    if (Background != nullptr)
      std::memcpy(Row + 3 * X, Background + 3 * X, 3);
    else
      std::memset(Row + 3 * X, 255, 3);
  }
}
}  // namespace

void TForm1::MatchColors(TBitmap* Bitmap) {
  if (SourceLoaded == 0) return;
  if (VideoMode == 0) ShowStatus(VariableTexts[vtMatchingColors]);
  CopyBitmap(Bitmap, PatternBitmap.get());
  if (BuildRunning == 1)
    for (Integer K = 0; K <= SeedCount; ++K) {
      CellCentreX[K] -= CropRect.Left;
      CellCentreY[K] -= CropRect.Top;
    }
  TCanvas* Canvas = Bitmap->GetCanvas();
  const bool Spheres = PatternType == ptSpheres;
  if (Spheres) {
    Canvas->GetBrush()->SetColor(clWhite);
    Canvas->GetPen()->SetColor(clWhite);
    Canvas->Rectangle(0, 0, Bitmap->GetWidth(), Bitmap->GetHeight());
  }
  Canvas->GetPen()->SetColor(clBlack);
  ColorCounter = 0;
  const Integer W = Bitmap->GetWidth(), H = Bitmap->GetHeight();
  const Integer LastCol = Min(SourceBitmap->GetWidth(), W) - 1;
  const Integer LastRow = Min(SourceBitmap->GetHeight(), H) - 1;
  SetProgressMax(SeedCount);
  const Single Mode = ColorMode();
  const bool Masking = ApplyMask->GetChecked();
  const bool Glass = GlassFX->GetChecked();
  const TBitmapRows Cells(Bitmap), Source(SourceBitmap.get()), Mask(MaskBitmap.get());
  TCellFill& Cell = SharedCellFill();
  Cell.Bind(Bitmap);
  std::optional<TColor> LastMean;
  for (Integer K = 0; K <= SeedCount && AbortRequested != 1; ++K) {
    if (K % CellsPerPump == 0) PumpMessages();
    const Integer X = CellCentreX[K], Y = CellCentreY[K], R = CellRadius[K];
    // The seeds often walk down a column, a row's length apart in memory: the next cell's rows
    // are fetched while this one is done.
    if (K < SeedCount && !Spheres) {
      const Integer NextX = CellCentreX[K + 1], NextY = CellCentreY[K + 1];
      Cell.Prefetch(NextX, NextY, SampleReach);
      if (LastCol >= 0 && LastRow >= 0) PrefetchSamples(Source, NextX, NextY, LastCol, LastRow);
    }
    // A seed on the right or bottom edge lies outside the bitmap like any other.
    if (X < 0 || Y < 0 || X >= W || Y >= H) continue;
    const TColor Probe = NextPatternColor(Mode);
    if (Spheres) Canvas->GetBrush()->SetColor(Probe);
    // The mean colour paints the pixels the probe found. A cell is not painted in the probe's
    // colour first: the sampling counts its pixels as if it were.
    if (Spheres)
      Canvas->Ellipse(X - R, Y - R, X + R, Y + R);
    else
      Cell.Find(X, Y);
    const bool Masked = Masking && MaskedAt(Mask, X, Y);
    const TColor Mean =
        Masked || LastCol < 0 || LastRow < 0
            ? clWhite
            : SampleMean(Cells, Source, Spheres ? nullptr : &Cell, X, Y, Probe, LastCol, LastRow);
    if (Spheres) {
      Canvas->GetBrush()->SetColor(Mean);
      const TColor Pen = Masked ? clWhite : Mean;
      Canvas->GetPen()->SetColor(Pen);
      Canvas->Ellipse(X - R, Y - R, X + R, Y + R);
      if (Glass) {
        if (Masked || Pen == clWhite) continue;
        GlassSquare(Bitmap, X, Y, R, Pen);
      }
    } else {
      // The fill paints without the canvas: the brush only has to end with the last colour.
      Cell.Repaint(Mean);
      LastMean = Mean;
    }
    if (K % 3 == 0) SetProgress(K);
  }
  if (LastMean) Canvas->GetBrush()->SetColor(*LastMean);
  Canvas->GetPen()->SetColor(clBlack);
  SetProgress(0);

  const bool Removing = !GridShow->GetChecked() && !Spheres;
  // Nothing pumps messages from here on but the blend's status: a cancel can only have come before.
  if (Removing && AbortRequested == 1) return;
  const bool Blend = Blending->GetChecked();
  if (Removing || Blend) {
    // The grid goes and the background shows through in one walk over the rows, each blurred
    // source row used as soon as it is final: a row of the result is finished before the next.
    std::optional<TBlurredRows> GridRows, BlendRows;
    // A white grid needs no blurred source.
    if (Removing && !WhiteGrid->GetChecked()) GridRows.emplace(SourceBitmap.get(), 2);
    TBackgroundBlend Background;
    if (Blend) {
      if (VideoMode == 0) ShowStatus(VariableTexts[vtBlendingBackground]);
      Background = TBackgroundBlend::Of(*this, Bitmap);
      BlendRows.emplace(SourceBitmap.get(), 2, Background.Amount);
    }
    const TBitmapRows Frame(PatternBitmap.get());
    const Integer Last = Max(Removing ? LastRow : -1, Blend ? Background.LastRow : -1);
    for (Integer Y = 0; Y <= Last; ++Y) {
      if (Removing && Y <= LastRow) {
        RemoveGrid(Frame[Y], GridRows ? GridRows->Next() : nullptr, Cells[Y], LastCol + 1);
        if (Masking)
          for (Integer X = 0; X <= LastCol; ++X)
            if (MaskedAt(Mask, X, Y)) std::memset(Cells[Y] + 3 * X, 255, 3);
      }
      if (Blend && Y <= Background.LastRow) Background.BlendRow(Y, Cells[Y], BlendRows->Next());
    }
  }
  if (AutoAlias->GetChecked()) SmoothRect(Bitmap, 0, 0, Bitmap->GetWidth(), Bitmap->GetHeight());
  if (ApplyShade->GetChecked()) TubeShading(Bitmap);
  Bitmap->SetSize(Max(LastCol, 0), Max(LastRow, 0));
}

void TForm1::Filter(Integer, Integer, Integer R, TBitmap* Tile, TBitmap* Glass, TColor Color) {
  if (!FGlassPicture) FGlassPicture = std::make_unique<TBitmap>();
  TBitmap& G = *FGlassPicture;
  G.SetPixelFormat(pf24bit);
  if (G.GetWidth() != 2 * R || G.GetHeight() != 2 * R) G.SetSize(2 * R, 2 * R);
  // The square is made anew for every cell: without a glass picture it is black, never the
  // glass of the cell before.
  if (Glass != nullptr && Glass->GetWidth() > 0 && Glass->GetHeight() > 0) {
    G.GetCanvas()->StretchDraw(TRect{0, 0, 2 * R, 2 * R}, Glass);
  } else {
    const TBitmapRows Rows(&G);
    for (Integer Y = 0; Y < Rows.Height; ++Y)
      std::memset(Rows[Y], 0, 3 * static_cast<std::size_t>(Rows.Width));
  }
  // A cell pixel of weight w = amount / 100 keeps w of itself and takes the rest from the
  // glass: one table entry per pair of channel values, made once per amount.
  const Integer Position = GlassBar->GetValue();
  if (Position != FGlassBlendAmount) {
    const Extended W = static_cast<Extended>(Position) / 100;
    FGlassBlend.resize(256 * 256);
    for (Integer T = 0; T < 256; ++T)
      for (Integer Gv = 0; Gv < 256; ++Gv)
        FGlassBlend[T * 256 + Gv] = static_cast<Byte>(Round(T * W + (1 - W) * Gv));
    FGlassBlendAmount = Position;
  }
  const Byte* Blend = FGlassBlend.data();
  const TBitmapRows T(Tile), Gr(&G);
  const Integer Width = Min(Gr.Width, T.Width);
  for (Integer Y = 0; Y < Min(Gr.Height, T.Height); ++Y) {
    const Byte* Tp = T[Y];
    Byte* Gp = Gr[Y];
    for (Integer X = 0; X < Width; ++X, Tp += 3, Gp += 3) {
      // Other colours keep the tile's pixel: a weight of 1.
      if (PixelColor(Tp) != Color) {
        Gp[0] = Tp[0], Gp[1] = Tp[1], Gp[2] = Tp[2];
        continue;
      }
      for (Integer C = 0; C < 3; ++C) Gp[C] = Blend[Tp[C] * 256 + Gp[C]];
    }
  }
  Tile->GetCanvas()->Draw(0, 0, &G);
}

void TForm1::GlassSquare(TBitmap* Bitmap, Integer X, Integer Y, Integer R, TColor Color) {
  if (R <= 0) return;
  const TBitmapRows Rows(Bitmap);
  const Integer Left = Max(X - R, 0), Top = Max(Y - R, 0);
  const Integer Right = Min(X + R, Rows.Width), Bottom = Min(Y + R, Rows.Height);
  if (Left >= Right || Top >= Bottom) return;
  if (!FGlassTile) FGlassTile = std::make_unique<TBitmap>();
  TBitmap& Tile = *FGlassTile;
  Tile.SetPixelFormat(pf24bit);
  if (Tile.GetWidth() != 2 * R || Tile.GetHeight() != 2 * R) Tile.SetSize(2 * R, 2 * R);
  const std::size_t Bytes = 3 * static_cast<std::size_t>(Right - Left);
  const Integer Dx = Left - (X - R), Dy = Y - R;
  {
    const TBitmapRows To(&Tile);
    for (Integer Row = Top; Row < Bottom; ++Row)
      std::memcpy(To[Row - Dy] + 3 * Dx, Rows[Row] + 3 * Left, Bytes);
  }
  Filter(X, Y, R, &Tile, GlassFXBitmap.get(), Color);
  const TBitmapRows From(&Tile);
  for (Integer Row = Top; Row < Bottom; ++Row)
    std::memcpy(Rows[Row] + 3 * Left, From[Row - Dy] + 3 * Dx, Bytes);
}

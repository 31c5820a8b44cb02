// Palettes, colour lookups, dither engines, the octree quantiser and ReduceBitmapColors.
#include "pictures/GIFColorReduce.h"

#include <algorithm>
#include <cstdlib>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/user/WindowPaint.h"

namespace {

HPALETTE MakePalette(const std::vector<PALETTEENTRY>& Entries) {
  LOGPALETTE Pal;
  Pal.palVersion = 0x300;
  Pal.palNumEntries = static_cast<WORD>(std::min<std::size_t>(Entries.size(), 256));
  for (std::size_t I = 0; I < Pal.palNumEntries; ++I) Pal.palPalEntry[I] = Entries[I];
  return CreatePalette(&Pal);
}

std::vector<PALETTEENTRY> EntriesOf(HPALETTE Palette) {
  std::vector<PALETTEENTRY> Entries(256);
  const UINT N = Palette ? GetPaletteEntries(Palette, 0, 256, Entries.data()) : 0;
  Entries.resize(N);
  return Entries;
}

Integer ClampByte(Integer V) {
  return std::clamp<Integer>(V, 0, 255);
}

}  // namespace

HPALETTE CreateWebPalette() {
  std::vector<PALETTEENTRY> E;
  for (Integer I = 0; I < 6; ++I)
    for (Integer J = 0; J < 6; ++J)
      for (Integer K = 0; K < 6; ++K)
        E.push_back({static_cast<BYTE>(51 * I), static_cast<BYTE>(51 * J), static_cast<BYTE>(51 * K), 0});
  return MakePalette(E);
}

HPALETTE CreateGreyPalette256() {
  std::vector<PALETTEENTRY> E;
  for (Integer I = 0; I < 256; ++I)
    E.push_back({static_cast<BYTE>(I), static_cast<BYTE>(I), static_cast<BYTE>(I), PC_NOCOLLAPSE});
  return MakePalette(E);
}

HPALETTE CreateBlackWhitePalette() {
  return MakePalette({{0, 0, 0, PC_NOCOLLAPSE}, {255, 255, 255, PC_NOCOLLAPSE}});
}

HPALETTE CreateSystemGreyPalette() {
  return MakePalette({{0, 0, 0, PC_NOCOLLAPSE},
                      {128, 128, 128, PC_NOCOLLAPSE},
                      {192, 192, 192, PC_NOCOLLAPSE},
                      {255, 255, 255, PC_NOCOLLAPSE}});
}

HPALETTE CreateSystemHalftonePalette() {
  HDC Screen = GetDC(nullptr);
  CheckGDIResult(Screen ? 1 : 0);
  HPALETTE Result = CreateHalftonePalette(Screen);
  ReleaseDC(nullptr, Screen);
  return Result;
}

HPALETTE CopyPalette(HPALETTE Palette) {
  if (!Palette) return nullptr;
  std::vector<PALETTEENTRY> E = EntriesOf(Palette);
  return E.empty() ? nullptr : MakePalette(E);
}

HPALETTE CreateOptimizedPalette(TDIBReader* Reader, Integer Count, Integer ColorBits, bool SystemColors) {
  Count = std::clamp<Integer>(Count, 1, 256);
  std::vector<PALETTEENTRY> E(256, PALETTEENTRY{0, 0, 0, PC_NOCOLLAPSE});
  Integer EntryCount = Count;
  Integer First = 0;
  if (SystemColors) {
    const PALETTEENTRY* Sys = DefaultPaletteEntries();
    for (Integer I = 0; I < 10; ++I) {
      E[static_cast<std::size_t>(I)] = Sys[I];
      E[static_cast<std::size_t>(246 + I)] = Sys[10 + I];
    }
    Count = 236;
    EntryCount = 256;
    First = 10;
  }
  TColorQuantizer Quantizer(Count, ColorBits);
  Quantizer.ProcessBitmap(Reader, Reader->DIBBitmap->Width(), Reader->DIBBitmap->Height());
  const std::vector<RGBQUAD> Table = Quantizer.ColorTable();
  for (std::size_t I = 0; I < Table.size() && First + static_cast<Integer>(I) < 256; ++I)
    E[static_cast<std::size_t>(First) + I] = {Table[I].rgbRed, Table[I].rgbGreen, Table[I].rgbBlue, 0};
  E.resize(static_cast<std::size_t>(EntryCount));
  return MakePalette(E);
}

HPALETTE QuantizeBitmapPalette(TBitmap* Bitmap, Integer Count, Integer ColorBits, bool SystemColors) {
  TDIBReader Reader(Bitmap, pf24bit);
  return CreateOptimizedPalette(&Reader, Count, ColorBits, SystemColors);
}

// Lookups.

TFastColorLookup::TFastColorLookup(HPALETTE Palette) : FEntries(EntriesOf(Palette)), FCache(32768, -1) {
  ColorCount = static_cast<Integer>(FEntries.size());
  for (std::size_t I = 0; I < FEntries.size(); ++I) {
    const PALETTEENTRY& P = FEntries[I];
    const Integer Key = (P.peRed >> 3) | ((P.peGreen >> 3) << 5) | ((P.peBlue >> 3) << 10);
    if (FCache[static_cast<std::size_t>(Key)] == -1)
      FCache[static_cast<std::size_t>(Key)] = static_cast<SmallInt>(I);
  }
}

Byte TFastColorLookup::MapColor(Byte Red, Byte Green, Byte Blue, Byte& R, Byte& G, Byte& B) {
  const Integer Key = (Red >> 3) | ((Green >> 3) << 5) | ((Blue >> 3) << 10);
  SmallInt Index = FCache[static_cast<std::size_t>(Key)];
  if (Index == -1) {
    Integer Best = 196608;
    Index = 0;
    for (std::size_t I = 0; I < FEntries.size(); ++I) {
      const PALETTEENTRY& P = FEntries[I];
      const Integer D = std::abs(Red - P.peRed) + std::abs(Green - P.peGreen) + std::abs(Blue - P.peBlue);
      if (D < Best) {
        Best = D;
        Index = static_cast<SmallInt>(I);
      }
    }
    FCache[static_cast<std::size_t>(Key)] = Index;
  }
  if (!FEntries.empty()) {
    const PALETTEENTRY& P = FEntries[static_cast<std::size_t>(Index)];
    R = P.peRed;
    G = P.peGreen;
    B = P.peBlue;
  }
  return static_cast<Byte>(Index);
}

TSlowColorLookup::TSlowColorLookup(HPALETTE Palette) : FPalette(Palette), FEntries(EntriesOf(Palette)) {
  ColorCount = static_cast<Integer>(FEntries.size());
}

Byte TSlowColorLookup::MapColor(Byte Red, Byte Green, Byte Blue, Byte& R, Byte& G, Byte& B) {
  UINT Index = GetNearestPaletteIndex(FPalette, RGB(Red, Green, Blue));
  if (Index >= FEntries.size()) Index = 0;
  if (!FEntries.empty()) {
    R = FEntries[Index].peRed;
    G = FEntries[Index].peGreen;
    B = FEntries[Index].peBlue;
  }
  return static_cast<Byte>(Index);
}

Byte TNetscapeColorLookup::MapColor(Byte Red, Byte Green, Byte Blue, Byte& R, Byte& G, Byte& B) {
  const Integer LR = (Red + 3) / 51, LG = (Green + 3) / 51, LB = (Blue + 3) / 51;
  R = static_cast<Byte>(51 * LR);
  G = static_cast<Byte>(51 * LG);
  B = static_cast<Byte>(51 * LB);
  return static_cast<Byte>(36 * LR + 6 * LG + LB);
}

Byte TGrayScaleLookup::MapColor(Byte Red, Byte Green, Byte Blue, Byte& R, Byte& G, Byte& B) {
  const Byte Y = static_cast<Byte>((77 * Red + 150 * Green + 29 * Blue) >> 8);
  R = G = B = Y;
  return Y;
}

Byte TMonochromeLookup::MapColor(Byte Red, Byte Green, Byte Blue, Byte& R, Byte& G, Byte& B) {
  const Integer S = 77 * Red + 150 * Green + 29 * Blue;
  const bool White = S > 32512;
  R = G = B = White ? 255 : 0;
  return White ? 1 : 0;
}

// Engines.

TDitherEngine::TDitherEngine(Integer AWidth, TColorLookup* Lookup) : ColorLookup(Lookup), LineWidth(AWidth) {}

Byte TDitherEngine::DitherPixel(Byte Red, Byte Green, Byte Blue, Byte& R, Byte& G, Byte& B) {
  const Byte Index = ColorLookup->MapColor(Red, Green, Blue, R, G, B);
  AdvanceColumn();
  return Index;
}

void TDitherEngine::StartNextRow() {
  StepDirection = -StepDirection;
  CurrentColumn = StepDirection > 0 ? 0 : LineWidth - 1;
}

TFloydSteinbergDitherer::TFloydSteinbergDitherer(Integer AWidth, TColorLookup* Lookup)
    : TDitherEngine(AWidth, Lookup) {
  for (auto& Row : FErrors) Row.assign(static_cast<std::size_t>(std::max<Integer>(AWidth, 0) + 2), 0);
}

Byte TFloydSteinbergDitherer::DitherPixel(Byte Red, Byte Green, Byte Blue, Byte& R, Byte& G, Byte& B) {
  const Integer In[3] = {Red, Green, Blue};
  Integer V[3];
  const std::size_t P = static_cast<std::size_t>(std::clamp<Integer>(FPos, 0, LineWidth + 1));
  for (Integer C = 0; C < 3; ++C) V[C] = ClampByte(In[C] + (FErrors[C][P] + FCarry[C] + 8) / 16);
  const Byte Index = TDitherEngine::DitherPixel(static_cast<Byte>(V[0]), static_cast<Byte>(V[1]),
                                                static_cast<Byte>(V[2]), R, G, B);
  const Integer Out[3] = {R, G, B};
  for (Integer C = 0; C < 3; ++C) {
    const Integer E = V[C] - Out[C];
    if (E != 0) {
      FErrors[C][P] = FB2[C] + 3 * E;
      FB2[C] = FB1[C] + 5 * E;
      FB1[C] = E;
      FCarry[C] = 7 * E;
    } else {
      FCarry[C] = 0;
    }
  }
  FPos += StepDirection;
  return Index;
}

void TFloydSteinbergDitherer::StartNextRow() {
  const std::size_t P = static_cast<std::size_t>(std::clamp<Integer>(FPos, 0, LineWidth + 1));
  for (Integer C = 0; C < 3; ++C) {
    FErrors[C][P] = FB2[C];
    FCarry[C] = FB1[C] = FB2[C] = 0;
  }
  TDitherEngine::StartNextRow();
  FPos = StepDirection > 0 ? 0 : LineWidth + 1;
}

TWeightedDitherer::TWeightedDitherer(Integer AWidth, TColorLookup* Lookup, Integer Rows, Integer Margin,
                                     Integer Divisor, std::vector<TWeight> Kernel)
    : TDitherEngine(AWidth, Lookup),
      FDivisor(Divisor),
      FMargin(Margin),
      FKernel(std::move(Kernel)),
      FPos(Margin) {
  for (auto& Channel : FRows)
    Channel.assign(
        static_cast<std::size_t>(Rows),
        std::vector<Integer>(static_cast<std::size_t>(std::max<Integer>(AWidth, 0) + 2 * Margin), 0));
}

Byte TWeightedDitherer::DitherPixel(Byte Red, Byte Green, Byte Blue, Byte& R, Byte& G, Byte& B) {
  const Integer In[3] = {Red, Green, Blue};
  Integer V[3];
  const Integer Span = LineWidth + 2 * FMargin;
  const bool Inside = FPos >= 0 && FPos < Span;
  for (Integer C = 0; C < 3; ++C) {
    const Integer Err = Inside ? FRows[C][0][static_cast<std::size_t>(FPos)] : 0;
    V[C] = ClampByte(In[C] + (Err + FDivisor / 2) / FDivisor);
  }
  const Byte Index = TDitherEngine::DitherPixel(static_cast<Byte>(V[0]), static_cast<Byte>(V[1]),
                                                static_cast<Byte>(V[2]), R, G, B);
  const Integer Out[3] = {R, G, B};
  for (Integer C = 0; C < 3; ++C) {
    const Integer E = V[C] - Out[C];
    if (E == 0) continue;
    for (const TWeight& W : FKernel) {
      const Integer At = FPos + W.Offset * StepDirection;
      if (At >= 0 && At < Span)
        FRows[C][static_cast<std::size_t>(W.Row)][static_cast<std::size_t>(At)] += E * W.Weight;
    }
  }
  FPos += StepDirection;
  return Index;
}

void TWeightedDitherer::StartNextRow() {
  for (auto& Channel : FRows) {
    std::fill(Channel[0].begin(), Channel[0].end(), 0);
    std::rotate(Channel.begin(), Channel.begin() + 1, Channel.end());
  }
  TDitherEngine::StartNextRow();
  FPos = FMargin + (StepDirection > 0 ? 0 : LineWidth - 1);
}

TStuckiDitherer::TStuckiDitherer(Integer AWidth, TColorLookup* Lookup)
    : T5by3Ditherer(AWidth, Lookup, 42,
                    {{0, 1, 8},
                     {0, 2, 4},  //
                     {1, -2, 2},
                     {1, -1, 4},
                     {1, 0, 8},
                     {1, 1, 4},
                     {1, 2, 2},  //
                     {2, -2, 1},
                     {2, -1, 2},
                     {2, 0, 4},
                     {2, 1, 2},
                     {2, 2, 1}}) {}

TSierraDitherer::TSierraDitherer(Integer AWidth, TColorLookup* Lookup)
    : T5by3Ditherer(AWidth, Lookup, 32,
                    {{0, 1, 5},
                     {0, 2, 3},  //
                     {1, -2, 2},
                     {1, -1, 4},
                     {1, 0, 5},
                     {1, 1, 4},
                     {1, 2, 2},  //
                     {2, -1, 2},
                     {2, 0, 3},
                     {2, 1, 2}}) {}

TJaJuNiDitherer::TJaJuNiDitherer(Integer AWidth, TColorLookup* Lookup)
    : T5by3Ditherer(AWidth, Lookup, 48,
                    {{0, 1, 7},
                     {0, 2, 5},  //
                     {1, -2, 3},
                     {1, -1, 5},
                     {1, 0, 7},
                     {1, 1, 5},
                     {1, 2, 3},  //
                     {2, -2, 1},
                     {2, -1, 3},
                     {2, 0, 5},
                     {2, 1, 3},
                     {2, 2, 1}}) {}

TSteveArcheDitherer::TSteveArcheDitherer(Integer AWidth, TColorLookup* Lookup)
    : TWeightedDitherer(AWidth, Lookup, 4, 3, 200,
                        {{0, 2, 32},  //
                         {1, -3, 12},
                         {1, -1, 26},
                         {1, 1, 30},
                         {1, 3, 16},  //
                         {2, -2, 12},
                         {2, 0, 26},
                         {2, 2, 12},  //
                         {3, -3, 5},
                         {3, -1, 12},
                         {3, 1, 12},
                         {3, 3, 5}}) {}

TBurkesDitherer::TBurkesDitherer(Integer AWidth, TColorLookup* Lookup)
    : TWeightedDitherer(AWidth, Lookup, 2, 2, 32,
                        {{0, 1, 8},
                         {0, 2, 4},  //
                         {1, -2, 2},
                         {1, -1, 4},
                         {1, 0, 8},
                         {1, 1, 4},
                         {1, 2, 2}}) {}

// Octree.

TColorQuantizer::TColorQuantizer(Integer AColorLimit, Integer ATreeDepth)
    : FColorLimit(std::max<Integer>(AColorLimit, 1)), FTreeDepth(std::clamp<Integer>(ATreeDepth, 1, 8)) {}

void TColorQuantizer::Insert(std::unique_ptr<TOctreeNode>& Node, Byte Red, Byte Green, Byte Blue,
                             Integer Level) {
  std::unique_ptr<TOctreeNode>* At = &Node;
  for (;;) {
    if (!*At) {
      *At = std::make_unique<TOctreeNode>();
      TOctreeNode* N = At->get();
      N->LeafNode = Level == FTreeDepth;
      if (N->LeafNode) {
        ++FLeaves;
      } else {
        N->NextReducible = FReducible[static_cast<std::size_t>(Level)];
        FReducible[static_cast<std::size_t>(Level)] = N;
      }
    }
    TOctreeNode* N = At->get();
    if (N->LeafNode) {
      ++N->PixelTotal;
      N->SumRed += Red;
      N->SumGreen += Green;
      N->SumBlue += Blue;
      return;
    }
    const Integer Shift = 7 - Level;
    const Integer Index = 4 * ((Red >> Shift) & 1) + 2 * ((Green >> Shift) & 1) + ((Blue >> Shift) & 1);
    At = &N->Children[static_cast<std::size_t>(Index)];
    ++Level;
  }
}

bool TColorQuantizer::MergeDeepestNode() {
  Integer L = FTreeDepth - 1;
  while (L > 0 && FReducible[static_cast<std::size_t>(L)] == nullptr) --L;
  TOctreeNode* N = FReducible[static_cast<std::size_t>(L)];
  if (!N) return false;
  FReducible[static_cast<std::size_t>(L)] = N->NextReducible;
  Integer Children = 0;
  N->PixelTotal = N->SumRed = N->SumGreen = N->SumBlue = 0;
  for (auto& C : N->Children) {
    if (!C) continue;
    N->PixelTotal += C->PixelTotal;
    N->SumRed += C->SumRed;
    N->SumGreen += C->SumGreen;
    N->SumBlue += C->SumBlue;
    C.reset();
    ++Children;
  }
  N->LeafNode = true;
  FLeaves -= Children - 1;
  return true;
}

void TColorQuantizer::AddColor(Byte Red, Byte Green, Byte Blue) {
  Insert(FRoot, Red, Green, Blue, 0);
  // A merge of a node with one child leaves the count as it is but empties the list, so the
  // loop ends when no reducible node is left.
  while (FLeaves > FColorLimit && MergeDeepestNode()) {
  }
}

void TColorQuantizer::ProcessBitmap(TDIBReader* Reader, Integer Width, Integer Height) {
  for (Integer Y = 0; Y < Height; ++Y) {
    const Byte* P = static_cast<const Byte*>(Reader->RowAddress(Y));
    for (Integer X = 0; X < Width; ++X, P += 3) AddColor(P[2], P[1], P[0]);
  }
}

std::vector<RGBQUAD> TColorQuantizer::ColorTable() const {
  std::vector<RGBQUAD> Table;
  auto Walk = [&](auto& Self, const TOctreeNode* N) -> void {
    if (!N) return;
    if (N->LeafNode) {
      RGBQUAD Q{};
      if (N->PixelTotal > 0) {
        Q.rgbBlue = static_cast<Byte>(N->SumBlue / N->PixelTotal);
        Q.rgbGreen = static_cast<Byte>(N->SumGreen / N->PixelTotal);
        Q.rgbRed = static_cast<Byte>(N->SumRed / N->PixelTotal);
      }
      Table.push_back(Q);
      return;
    }
    for (const auto& C : N->Children) Self(Self, C.get());
  };
  Walk(Walk, FRoot.get());
  return Table;
}

// Reduction.

TBitmap* ReduceBitmapColors(TBitmap* Bitmap, Byte Method, Byte DitherKind, Integer Depth,
                            HPALETTE CustomPalette) {
  auto Result = std::make_unique<TBitmap>();
  if (Method == crNone) {
    Result->Assign(Bitmap);
    Result->SetPixelFormat(pf24bit);
    return Result.release();
  }
  const Integer Width = Bitmap->Width(), Height = Bitmap->Height();
  if (Int64(Width) * Height > 500000) Result->SetPixelFormat(pf1bit);
  TDIBReader Reader(Bitmap, pf24bit);
  HPALETTE Palette = nullptr;
  bool OwnPalette = true;
  switch (Method) {
    case crSystem20:
      Palette = static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
      OwnPalette = false;
      break;
    case crSystemHalftone:
      Palette = CreateSystemHalftonePalette();
      break;
    case crSystemGrey:
      Palette = CreateSystemGreyPalette();
      break;
    case crBlackWhite:
      Palette = CreateBlackWhitePalette();
      break;
    case crGrey256:
      Palette = CreateGreyPalette256();
      break;
    case crWeb216:
      Palette = CreateWebPalette();
      break;
    case crQuantize:
      Palette = CreateOptimizedPalette(&Reader, 1 << std::clamp<Integer>(Depth, 1, 8), 8, false);
      break;
    case crQuantizeSystem:
      Palette = QuantizeBitmapPalette(Bitmap, 256, 8, true);
      break;
    case crCustomPalette:
      Palette = CopyPalette(CustomPalette);
      break;
    default:
      return Result.release();
  }
  struct TPaletteGuard {
    HPALETTE P;
    bool Own;
    ~TPaletteGuard() {
      if (P && Own) DeleteObject(P);
    }
  } Guard{Palette, OwnPalette};

  std::unique_ptr<TColorLookup> Lookup;
  switch (Method) {
    case crBlackWhite:
      Lookup = std::make_unique<TMonochromeLookup>();
      break;
    case crGrey256:
      Lookup = std::make_unique<TGrayScaleLookup>();
      break;
    case crWeb216:
      Lookup = std::make_unique<TNetscapeColorLookup>();
      break;
    case crQuantize:
      Lookup = std::make_unique<TFastColorLookup>(Palette);
      break;
    default:
      Lookup = std::make_unique<TSlowColorLookup>(Palette);
      break;
  }
  if (Lookup->ColorCount == 0) return Result.release();

  std::unique_ptr<TDitherEngine> Engine;
  switch (DitherKind) {
    case dkNone:
      Engine = std::make_unique<TDitherEngine>(Width, Lookup.get());
      break;
    case dkFloydSteinberg:
      Engine = std::make_unique<TFloydSteinbergDitherer>(Width, Lookup.get());
      break;
    case dkStucki:
      Engine = std::make_unique<TStuckiDitherer>(Width, Lookup.get());
      break;
    case dkSierra:
      Engine = std::make_unique<TSierraDitherer>(Width, Lookup.get());
      break;
    case dkJarvisJudiceNinke:
      Engine = std::make_unique<TJaJuNiDitherer>(Width, Lookup.get());
      break;
    case dkStevensonArce:
      Engine = std::make_unique<TSteveArcheDitherer>(Width, Lookup.get());
      break;
    case dkBurkes:
      Engine = std::make_unique<TBurkesDitherer>(Width, Lookup.get());
      break;
    default:
      return Result.release();
  }
  if (Width <= 0 || Height <= 0) return Result.release();
  {
    TDIBWriter Writer(Result.get(), pf8bit, Width, Height, Palette);
    for (Integer Y = 0; Y < Height; ++Y) {
      const Byte* Src = static_cast<const Byte*>(Reader.RowAddress(Y));
      Byte* Dst = static_cast<Byte*>(Writer.RowAddress(Y));
      Byte R, G, B;
      while (Engine->CurrentColumn >= 0 && Engine->CurrentColumn < Width) {
        const Integer X = Engine->CurrentColumn;
        const Byte* P = Src + 3 * X;
        Dst[X] = Engine->DitherPixel(P[2], P[1], P[0], R, G, B);
      }
      Engine->StartNextRow();
    }
  }
  return Result.release();
}

#pragma once
// Colour reduction for GIF frames: fixed and optimised palettes, colour lookups that map a
// colour to a palette index, error-diffusion dither engines walking rows in alternating
// directions, and ReduceBitmapColors, which combines them over a whole bitmap.
#include <array>
#include <memory>
#include <vector>

#include "pictures/GIFImageDIB.h"
#include "platform/classes/Bitmap.h"
#include "platform/gdi/Palettes.h"

constexpr Byte crNone = 0;
constexpr Byte crSystem20 = 1;
constexpr Byte crSystemHalftone = 2;
constexpr Byte crSystemGrey = 3;
constexpr Byte crBlackWhite = 4;
constexpr Byte crGrey256 = 5;
constexpr Byte crWeb216 = 6;
constexpr Byte crQuantize = 7;
constexpr Byte crQuantizeSystem = 8;
constexpr Byte crCustomPalette = 9;

constexpr Byte dkNone = 0;
constexpr Byte dkFloydSteinberg = 1;
constexpr Byte dkStucki = 2;
constexpr Byte dkSierra = 3;
constexpr Byte dkJarvisJudiceNinke = 4;
constexpr Byte dkStevensonArce = 5;
constexpr Byte dkBurkes = 6;

// New palettes, deleted by the caller.
HPALETTE CreateWebPalette();
HPALETTE CreateGreyPalette256();
HPALETTE CreateBlackWhitePalette();
HPALETTE CreateSystemGreyPalette();
HPALETTE CreateSystemHalftonePalette();
// Count colours (1..256) of the reader's 24-bit bitmap from an octree of ColorBits levels;
// with SystemColors the 20 static colours take entries 0-9 and 246-255.
HPALETTE CreateOptimizedPalette(TDIBReader* Reader, Integer Count, Integer ColorBits, bool SystemColors);
// The same over a bitmap, which is converted to 24 bits in place.
HPALETTE QuantizeBitmapPalette(TBitmap* Bitmap, Integer Count, Integer ColorBits, bool SystemColors);
// A copy of Palette (0 for none).
HPALETTE CopyPalette(HPALETTE Palette);

class TColorLookup : public TObject {
 public:
  // The palette index for the colour; R, G, B receive that entry's colour.
  virtual Byte MapColor(Byte Red, Byte Green, Byte Blue, Byte& R, Byte& G, Byte& B) = 0;
  Integer ColorCount = 0;
};

// Nearest colour by the sum of absolute differences, cached per 5-5-5 cell.
class TFastColorLookup : public TColorLookup {
 public:
  explicit TFastColorLookup(HPALETTE Palette);
  Byte MapColor(Byte Red, Byte Green, Byte Blue, Byte& R, Byte& G, Byte& B) override;

 private:
  std::vector<PALETTEENTRY> FEntries;
  std::vector<SmallInt> FCache;
};

// GetNearestPaletteIndex for every pixel.
class TSlowColorLookup : public TColorLookup {
 public:
  explicit TSlowColorLookup(HPALETTE Palette);
  Byte MapColor(Byte Red, Byte Green, Byte Blue, Byte& R, Byte& G, Byte& B) override;

 private:
  HPALETTE FPalette;
  std::vector<PALETTEENTRY> FEntries;
};

class TNetscapeColorLookup : public TColorLookup {
 public:
  TNetscapeColorLookup() { ColorCount = 216; }
  Byte MapColor(Byte Red, Byte Green, Byte Blue, Byte& R, Byte& G, Byte& B) override;
};

class TGrayScaleLookup : public TColorLookup {
 public:
  TGrayScaleLookup() { ColorCount = 256; }
  Byte MapColor(Byte Red, Byte Green, Byte Blue, Byte& R, Byte& G, Byte& B) override;
};

class TMonochromeLookup : public TColorLookup {
 public:
  TMonochromeLookup() { ColorCount = 2; }
  Byte MapColor(Byte Red, Byte Green, Byte Blue, Byte& R, Byte& G, Byte& B) override;
};

// Maps without diffusing. Callers walk a row with DitherPixel while 0 <= CurrentColumn <
// LineWidth, then call StartNextRow; rows alternate left-to-right and right-to-left.
class TDitherEngine : public TObject {
 public:
  TDitherEngine(Integer AWidth, TColorLookup* Lookup);
  virtual Byte DitherPixel(Byte Red, Byte Green, Byte Blue, Byte& R, Byte& G, Byte& B);
  virtual void StartNextRow();
  // Skips a pixel: the column moves, error positions do not.
  void AdvanceColumn() { CurrentColumn += StepDirection; }

  Integer StepDirection = 1;
  Integer CurrentColumn = 0;
  TColorLookup* ColorLookup;
  Integer LineWidth;
};

class TFloydSteinbergDitherer : public TDitherEngine {
 public:
  TFloydSteinbergDitherer(Integer AWidth, TColorLookup* Lookup);
  Byte DitherPixel(Byte Red, Byte Green, Byte Blue, Byte& R, Byte& G, Byte& B) override;
  void StartNextRow() override;

 private:
  std::array<std::vector<Integer>, 3> FErrors;
  Integer FPos = 0;
  std::array<Integer, 3> FCarry{}, FB1{}, FB2{};
};

// Engines whose kernel spreads over several rows with weights summing to the divisor.
class TWeightedDitherer : public TDitherEngine {
 public:
  struct TWeight {
    Integer Row;
    Integer Offset;  // in steps of the direction
    Integer Weight;
  };
  TWeightedDitherer(Integer AWidth, TColorLookup* Lookup, Integer Rows, Integer Margin, Integer Divisor,
                    std::vector<TWeight> Kernel);
  Byte DitherPixel(Byte Red, Byte Green, Byte Blue, Byte& R, Byte& G, Byte& B) override;
  void StartNextRow() override;

 protected:
  Integer FDivisor;

 private:
  Integer FMargin;
  std::vector<TWeight> FKernel;
  // Per channel, the rows from the current one on; each FMargin + LineWidth + FMargin long.
  std::array<std::vector<std::vector<Integer>>, 3> FRows;
  Integer FPos;
};

// The three-row kernels share one layout.
class T5by3Ditherer : public TWeightedDitherer {
 public:
  T5by3Ditherer(Integer AWidth, TColorLookup* Lookup, Integer Divisor, std::vector<TWeight> Kernel)
      : TWeightedDitherer(AWidth, Lookup, 3, 2, Divisor, std::move(Kernel)) {}
};
class TStuckiDitherer : public T5by3Ditherer {
 public:
  TStuckiDitherer(Integer AWidth, TColorLookup* Lookup);
};
class TSierraDitherer : public T5by3Ditherer {
 public:
  TSierraDitherer(Integer AWidth, TColorLookup* Lookup);
};
class TJaJuNiDitherer : public T5by3Ditherer {
 public:
  TJaJuNiDitherer(Integer AWidth, TColorLookup* Lookup);
};
class TSteveArcheDitherer : public TWeightedDitherer {
 public:
  TSteveArcheDitherer(Integer AWidth, TColorLookup* Lookup);
};
class TBurkesDitherer : public TWeightedDitherer {
 public:
  TBurkesDitherer(Integer AWidth, TColorLookup* Lookup);
};

// Octree colour quantiser.
class TOctreeNode : public TObject {
 public:
  bool LeafNode = false;
  Integer PixelTotal = 0;
  Integer SumRed = 0, SumGreen = 0, SumBlue = 0;
  TOctreeNode* NextReducible = nullptr;
  std::array<std::unique_ptr<TOctreeNode>, 8> Children;
};

class TColorQuantizer : public TObject {
 public:
  TColorQuantizer(Integer AColorLimit, Integer ATreeDepth);
  void ProcessBitmap(TDIBReader* Reader, Integer Width, Integer Height);
  void AddColor(Byte Red, Byte Green, Byte Blue);
  std::vector<RGBQUAD> ColorTable() const;
  Integer GetLeaves() const { return FLeaves; }

 private:
  void Insert(std::unique_ptr<TOctreeNode>& Node, Byte Red, Byte Green, Byte Blue, Integer Level);
  // False when no node is left to merge.
  bool MergeDeepestNode();

  std::unique_ptr<TOctreeNode> FRoot;
  Integer FLeaves = 0;
  std::array<TOctreeNode*, 8> FReducible{};
  Integer FColorLimit;
  Integer FTreeDepth;
};

// A new 8-bit bitmap (owned by the caller) of Bitmap reduced by Method and DitherKind
// (crNone: a 24-bit copy). Bitmap is converted to 24 bits in place. Unknown methods and dither
// kinds, and palettes without colours, give an empty bitmap.
TBitmap* ReduceBitmapColors(TBitmap* Bitmap, Byte Method, Byte DitherKind, Integer Depth,
                            HPALETTE CustomPalette);

#pragma once
// TIEQuantizer: reduces a picture to a palette of a requested number of colours, then maps any
// colour to its palette index. It takes the picture's own palette, a grey ramp, the exact
// colours when there are few enough, or a learned palette (NeuQuant, or the variance quantizer
// for fewer than 128 colours).
#include <memory>
#include <span>
#include <vector>

#include "imaging/core/hyiedefs.h"
#include "platform/system/Object.h"

class TIEBitmap;
struct TNeuQuantState;
struct TStdQuantizerState;

// Library-wide quantizer settings, -1 from the start: the method (-1 automatic, 0 NeuQuant,
// 1 variance quantizer; other values NeuQuant) and the NeuQuant quality (-1 automatic, else
// 0 .. 100).
extern Integer IEQuantizerMethod;
extern Integer IENeuQuantQuality;

class TIEQuantizer : public TObject {
 public:
  // Writes up to ColorCount entries into Palette (never past its end). The bitmap must live as
  // long as the quantizer; it is not owned.
  TIEQuantizer(TIEBitmap* Bitmap, std::span<TIERGBTriple> Palette, Integer ColorCount);
  ~TIEQuantizer() override;

  // -1 for a colour missing from the exact colours; the palette length for one missing from an
  // ie8p picture's palette.
  Integer RGBIndex(const TIERGBTriple& Color) const;

  bool GetGrayScale() const { return FGrayScale; }

 private:
  // A hash of the exact colours found, to answer RGBIndex in constant time.
  struct TExactColors {
    std::vector<Cardinal> Colors;  // first-seen order
    std::vector<Integer> Slots;    // open addressing; -1 empty, else an index into Colors
    Integer Find(Cardinal Color) const;
    bool Insert(Cardinal Color);  // false when already present
  };
  bool FindExactColors();

  Integer FMethod = 0;  // 0 NeuQuant, 1 variance quantizer; only with a learned state
  std::unique_ptr<TNeuQuantState> FNeuQuant;
  std::unique_ptr<TStdQuantizerState> FStdQuantizer;
  bool FGrayScale = false;
  std::unique_ptr<TExactColors> FExactColors;
  Integer FColorCount = 0;
  TIEBitmap* FBitmap = nullptr;
};

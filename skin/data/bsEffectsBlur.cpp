// Stack blur for glowing texts and alpha taken from a mask's brightness.
#include <algorithm>
#include <vector>

#include "skin/data/bsEffects.h"

void BlurBitmap(TbsBitmap* Bitmap, Integer Radius) {
  if (Radius <= 0 || Bitmap->Empty()) return;
  const Integer W = Bitmap->GetWidth(), H = Bitmap->GetHeight();
  const Integer Divisor = (Radius + 1) * (Radius + 1);
  // Weights Radius + 1 - |i| sum to (Radius + 1)^2: each pass divides by that, truncated.
  std::vector<Integer> Weight(static_cast<std::size_t>(2 * Radius + 1));
  for (Integer I = -Radius; I <= Radius; ++I) Weight[I + Radius] = Radius + 1 - std::abs(I);
  const std::size_t Plane = static_cast<std::size_t>(W) * H;
  std::vector<Byte> Channels(3 * Plane);  // blue, green, red planes after the horizontal pass
  for (Integer Y = 0; Y < H; ++Y) {
    const TbsPixel* Row = Bitmap->GetScanLine(Y);
    for (Integer X = 0; X < W; ++X) {
      Integer Sum[3] = {0, 0, 0};
      for (Integer I = -Radius; I <= Radius; ++I) {
        const TbsPixel P = Row[std::clamp(X + I, 0, W - 1)];
        for (Integer C = 0; C < 3; ++C)
          Sum[C] += static_cast<Integer>((P >> (8 * C)) & 0xFF) * Weight[I + Radius];
      }
      for (Integer C = 0; C < 3; ++C)
        Channels[C * Plane + static_cast<std::size_t>(Y) * W + X] = static_cast<Byte>(Sum[C] / Divisor);
    }
  }
  for (Integer Y = 0; Y < H; ++Y) {
    TbsPixel* Row = Bitmap->GetScanLine(Y);
    for (Integer X = 0; X < W; ++X) {
      TbsPixel Out = 0xFF000000;
      for (Integer C = 0; C < 3; ++C) {
        Integer Sum = 0;
        for (Integer I = -Radius; I <= Radius; ++I)
          Sum += Channels[C * Plane + static_cast<std::size_t>(std::clamp(Y + I, 0, H - 1)) * W + X] *
                 Weight[I + Radius];
        Out |= static_cast<TbsPixel>(Sum / Divisor) << (8 * C);
      }
      Row[X] = Out;
    }
  }
}

void SetAlphaFromMask(TbsBitmap* Bitmap, TbsBitmap* Mask) {
  if (Bitmap->Empty() || Mask->Empty()) return;
  // A mask smaller than the bitmap covers only its own area, never reads past its rows.
  const Integer W = std::min(Bitmap->GetWidth(), Mask->GetWidth());
  const Integer H = std::min(Bitmap->GetHeight(), Mask->GetHeight());
  for (Integer Y = 0; Y < H; ++Y) {
    TbsPixel* Row = Bitmap->GetScanLine(Y);
    const TbsPixel* MaskRow = Mask->GetScanLine(Y);
    for (Integer X = 0; X < W; ++X) {
      const TbsPixel M = MaskRow[X];
      const TbsPixel Alpha = (((M >> 16) & 0xFF) + ((M >> 8) & 0xFF) + (M & 0xFF)) / 3;
      Row[X] = (Row[X] & 0x00FFFFFF) | (Alpha << 24);
    }
  }
}

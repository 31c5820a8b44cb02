// StretchRectTo: a scaled copy of a rectangle into an ie24RGB bitmap that carries the alpha
// channel along. Destination pixels whose source lies outside the source are left alone.
#include <algorithm>
#include <cstring>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/core/ieresample.h"

namespace {

constexpr Integer UnitStep = 16384;  // 1.0 in 16.14 fixed point

// One axis: destination index I reads source index Src + ((I - Dest) Step) shr 14.
struct TStretchAxis {
  Integer Dest, Src;
  Int64 Step;
  Int64 SourceOf(Integer I) const { return Src + (((static_cast<Int64>(I) - Dest) * Step) >> 14); }

  // Narrows First..Last to the indexes whose source lies in 0..Count - 1 (the mapping is
  // monotonic, so they are one run); false when none does.
  bool KeepInside(Integer& First, Integer& Last, Integer Count) const {
    const auto Inside = [&](Integer I) { return SourceOf(I) >= 0 && SourceOf(I) < Count; };
    while (First <= Last && !Inside(First)) ++First;
    while (Last >= First && !Inside(Last)) --Last;
    return First <= Last;
  }
};

}  // namespace

void TIEBitmap::StretchRectTo(TIEBitmap* Dest, Integer DestX, Integer DestY, Integer DestWidth,
                              Integer DestHeight, Integer SrcX, Integer SrcY, Integer SrcWidth,
                              Integer SrcHeight, TResampleFilter Filter, Integer Alpha) {
  if (!Dest || Dest == this) return;
  const TIEPixelFormat Format = GetPixelFormat();
  const Integer SourceW = GetWidth(), SourceH = GetHeight();
  Alpha = std::clamp(Alpha, 0, 255);
  try {
    if (Filter != rfNone && (DestWidth != SrcWidth || DestHeight != SrcHeight) &&
        (Format == ie1g || Format == ie24RGB)) {
      if (DestWidth < 1 || DestHeight < 1) return;
      // Only the part of the rectangle inside the source is resampled.
      const Integer Left = std::max(SrcX, 0), Top = std::max(SrcY, 0);
      const Integer Right =
          static_cast<Integer>(std::min<Int64>(static_cast<Int64>(SrcX) + SrcWidth, SourceW));
      const Integer Bottom =
          static_cast<Integer>(std::min<Int64>(static_cast<Int64>(SrcY) + SrcHeight, SourceH));
      if (Left >= Right || Top >= Bottom) return;
      const auto Resampled = IEResampleRectForDrawing(this, Left, Top, Right - Left, Bottom - Top, DestWidth,
                                                      DestHeight, Filter, HasAlphaChannel());
      if (Resampled)
        Resampled->StretchRectTo(Dest, DestX, DestY, DestWidth, DestHeight, 0, 0, DestWidth, DestHeight,
                                 rfNone, Alpha);
      return;
    }
    if (DestWidth == 0 || DestHeight == 0) return;
    const TStretchAxis AX{DestX, SrcX,
                          static_cast<Int64>(static_cast<Double>(SrcWidth) / DestWidth * UnitStep)};
    const TStretchAxis AY{DestY, SrcY,
                          static_cast<Int64>(static_cast<Double>(SrcHeight) / DestHeight * UnitStep)};
    Integer X1 = std::max(DestX, 0), Y1 = std::max(DestY, 0);
    Integer X2 = static_cast<Integer>(
        std::min<Int64>(static_cast<Int64>(DestX) + DestWidth - 1, Dest->GetWidth() - 1));
    Integer Y2 = static_cast<Integer>(
        std::min<Int64>(static_cast<Int64>(DestY) + DestHeight - 1, Dest->GetHeight() - 1));
    if (!AX.KeepInside(X1, X2, SourceW) || !AY.KeepInside(Y1, Y2, SourceH)) return;
    const bool OneToOne = AX.Step == UnitStep && AY.Step == UnitStep;
    std::vector<Integer> Columns(X2 - X1 + 1);
    for (Integer X = X1; X <= X2; ++X) Columns[X - X1] = static_cast<Integer>(AX.SourceOf(X));

    TIEBitmap* DestAlpha = Dest->GetAlphaChannel();
    if (DestAlpha && DestAlpha->GetWidth() == Dest->GetWidth() &&
        DestAlpha->GetHeight() == Dest->GetHeight()) {
      TIEBitmap* SourceAlpha = HasAlphaChannel() ? GetAlphaChannel() : nullptr;
      if (SourceAlpha && !SourceAlpha->GetFull() && SourceAlpha->GetWidth() == SourceW &&
          SourceAlpha->GetHeight() == SourceH) {
        for (Integer Y = Y1; Y <= Y2; ++Y) {
          const Byte* S =
              static_cast<const Byte*>(SourceAlpha->GetScanline(static_cast<Integer>(AY.SourceOf(Y))));
          Byte* D = static_cast<Byte*>(DestAlpha->GetScanline(Y));
          for (Integer X = X1; X <= X2; ++X)
            D[X] = static_cast<Byte>(std::min<Integer>(Alpha, S[Columns[X - X1]]));
        }
        DestAlpha->SetFull(false);
      } else {
        DestAlpha->FillRect(X1, Y1, X2, Y2, Alpha);
        if (Alpha < 255) DestAlpha->SetFull(false);
      }
    }

    if (Dest->GetPixelFormat() != ie24RGB || (Format != ie1g && Format != ie24RGB)) return;
    for (Integer Y = Y1; Y <= Y2; ++Y) {
      const Byte* S = static_cast<const Byte*>(GetScanline(static_cast<Integer>(AY.SourceOf(Y))));
      auto* D = static_cast<TIERGBTriple*>(Dest->GetScanline(Y));
      if (Format == ie24RGB && OneToOne) {
        std::memcpy(D + X1, S + static_cast<std::size_t>(Columns[0]) * 3,
                    static_cast<std::size_t>(X2 - X1 + 1) * 3);
      } else if (Format == ie24RGB) {
        const auto* SP = reinterpret_cast<const TIERGBTriple*>(S);
        for (Integer X = X1; X <= X2; ++X) D[X] = SP[Columns[X - X1]];
      } else {
        for (Integer X = X1; X <= X2; ++X) {
          const Integer C = Columns[X - X1];
          const Byte V = (S[C >> 3] & (0x80 >> (C & 7))) ? 255 : 0;
          D[X] = {V, V, V};
        }
      }
    }
  } catch (...) {
  }
}

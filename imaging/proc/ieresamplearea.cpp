#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/proc/ieresamplefast.h"

namespace {

// Boundaries closer than this count as reached, so rounding drift adds no sliver step.
constexpr Double Slack = 0.0001;

// One step along x: it ends at source column Column's right border or at a destination border
// inside it (then Fraction is the position of that border in the column, and the
// accumulator moves on).
struct TColumnStep {
  Integer Column;
  Double Fraction;  // L
  Double Length;
  bool EndsDestination;
};

std::vector<TColumnStep> ColumnSteps(Integer SourceWidth, Integer DestWidth, Double GX) {
  std::vector<TColumnStep> Steps;
  Steps.reserve(static_cast<std::size_t>(SourceWidth) + DestWidth);
  Double Position = 0, D = 0;
  Integer X = 0, Done = 0;
  while (Done < DestWidth && Steps.size() < static_cast<std::size_t>(SourceWidth) + DestWidth) {
    if (X + 1 + Slack >= D + GX) {
      Steps.push_back({X, D + GX - X, D + GX - Position, true});
      Position = D += GX;
      ++Done;
    } else {
      Steps.push_back({X, 1, X + 1 - Position, false});
      Position = ++X;
    }
  }
  return Steps;
}

enum class TInterpolation { Both, AlongX, AlongY, None };

template <class T, Integer Channels>
class TAreaResampler {
 public:
  TAreaResampler(TIEBitmap* Source, TIEBitmap* Dest, bool Bicubic, Double High)
      : FSource(Source),
        FDest(Dest),
        FWidth(Source->GetWidth()),
        FHeight(Source->GetHeight()),
        FBicubic(Bicubic),
        FHigh(High) {}

  void Run(const TIEProgressEvent& OnProgress, TObject* Sender) {
    const Integer DestWidth = FDest->GetWidth(), DestHeight = FDest->GetHeight();
    const Double GX = static_cast<Double>(FWidth) / DestWidth, GY = static_cast<Double>(FHeight) / DestHeight;
    FMode = GX < 1 ? (GY < 1 ? TInterpolation::Both : TInterpolation::AlongX)
                   : (GY < 1 ? TInterpolation::AlongY : TInterpolation::None);
    const std::vector<TColumnStep> Steps = ColumnSteps(FWidth, DestWidth, GX);
    const std::size_t Length = static_cast<std::size_t>(DestWidth) * Channels;
    std::vector<Double> Sums(Length, 0);
    std::vector<T> Out(Length);
    for (auto& Buffer : FBuffers) Buffer.resize(static_cast<std::size_t>(FWidth) * Channels);
    for (Integer K = 0; K < 4; ++K) FRows[K] = nullptr;
    Integer J = 0, Written = 0;
    LoadFirstRows();
    Double Position = 0, DY = 0;
    const Double Scale = 1 / (GX * GY);
    while (Written < DestHeight) {
      const bool AtDestination = J + 1 + Slack >= DY + GY;
      const Double End = AtDestination ? DY + GY : J + 1;
      const Double I = End - Position, G = AtDestination ? DY + GY - J : 1;
      Position = End;
      std::size_t Column = 0;
      for (const TColumnStep& S : Steps) {
        if (Column < static_cast<std::size_t>(DestWidth))
          for (Integer Ch = 0; Ch < Channels; ++Ch)
            Sums[Column * Channels + Ch] += Sample(S.Column, Ch, S.Fraction, G) * S.Length * I;
        if (S.EndsDestination) ++Column;
      }
      if (AtDestination) {
        DY += GY;
        for (std::size_t K = 0; K < Length; ++K) {
          Out[K] = static_cast<T>(std::clamp(std::nearbyint(Sums[K] * Scale), 0.0, FHigh));
          Sums[K] = 0;
        }
        std::copy(Out.begin(), Out.end(), static_cast<T*>(FDest->GetScanline(Written)));
        ++Written;
        if (OnProgress)
          OnProgress(Sender,
                     static_cast<Integer>(std::trunc(static_cast<Double>(Written) / DestHeight * 100)));
      } else {
        ++J;
        Advance(J);
      }
    }
  }

 private:
  void Load(std::vector<T>& Buffer, Integer Row) {
    const T* Src = static_cast<const T*>(FSource->GetScanline(Row));
    std::copy(Src, Src + Buffer.size(), Buffer.begin());
  }

  // Rows -1 .. 2 around row 0, the missing ones repeating their neighbour.
  void LoadFirstRows() {
    for (Integer K = 0; K < 3 && K < FHeight; ++K) Load(FBuffers[K + 1], K);
    FRows[1] = &FBuffers[1];
    FRows[0] = FRows[1];
    FRows[2] = FHeight > 1 ? &FBuffers[2] : FRows[1];
    FRows[3] = FHeight > 2 ? &FBuffers[3] : FRows[2];
  }

  // J is the new current row; rows J - 1 .. J + 1 were buffered already.
  void Advance(Integer J) {
    FRows[0] = FRows[1];
    FRows[1] = FRows[2];
    FRows[2] = FRows[3];
    if (J + 2 >= FHeight) return;  // the next-but-one repeats the next one
    for (auto& Buffer : FBuffers)
      if (&Buffer != FRows[0] && &Buffer != FRows[1] && &Buffer != FRows[2]) {
        Load(Buffer, J + 2);
        FRows[3] = &Buffer;
        return;
      }
  }

  Double At(Integer Row, Integer X, Integer Ch) const {
    return (*FRows[Row])[static_cast<std::size_t>(std::clamp(X, 0, FWidth - 1)) * Channels + Ch];
  }

  Double CubicAlongX(Integer Row, Integer X, Integer Ch, Double L) const {
    return IECubicInterpolate(At(Row, X - 1, Ch), At(Row, X, Ch), At(Row, X + 1, Ch), At(Row, X + 2, Ch), L,
                              0, FHigh);
  }

  Double Sample(Integer X, Integer Ch, Double L, Double G) const {
    switch (FMode) {
      case TInterpolation::None:
        return At(1, X, Ch);
      case TInterpolation::AlongX:
        return FBicubic ? CubicAlongX(1, X, Ch, L) : (1 - L) * At(1, X, Ch) + L * At(1, X + 1, Ch);
      case TInterpolation::AlongY:
        return FBicubic
                   ? IECubicInterpolate(At(0, X, Ch), At(1, X, Ch), At(2, X, Ch), At(3, X, Ch), G, 0, FHigh)
                   : (1 - G) * At(1, X, Ch) + G * At(2, X, Ch);
      case TInterpolation::Both:
        break;
    }
    if (FBicubic) {
      std::array<Double, 4> Rows;
      for (Integer R = 0; R < 4; ++R) Rows[R] = std::nearbyint(CubicAlongX(R, X, Ch, L));
      return IECubicInterpolate(Rows[0], Rows[1], Rows[2], Rows[3], G, 0, FHigh);
    }
    return (1 - G) * ((1 - L) * At(1, X, Ch) + L * At(1, X + 1, Ch)) +
           G * ((1 - L) * At(2, X, Ch) + L * At(2, X + 1, Ch));
  }

  TIEBitmap* FSource;
  TIEBitmap* FDest;
  Integer FWidth, FHeight;
  bool FBicubic;
  Double FHigh;
  TInterpolation FMode = TInterpolation::None;
  std::array<std::vector<T>, 4> FBuffers;
  std::array<const std::vector<T>*, 4> FRows{};
};

bool Resizable(TIEBitmap* Source, TIEBitmap* Dest) {
  return Source->GetWidth() > 0 && Source->GetHeight() > 0 && Dest->GetWidth() > 0 && Dest->GetHeight() > 0 &&
         Source->GetPixelFormat() == Dest->GetPixelFormat();
}

Double CubicNear(Double D) {
  return D * D * D - 2 * D * D + 1;
}

Double CubicFar(Double D) {
  return -D * D * D + 5 * D * D - 8 * D + 4;
}

}  // namespace

Double IECubicInterpolate(Double P0, Double P1, Double P2, Double P3, Double T, Double Low, Double High) {
  const Double Value = P0 * CubicFar(std::abs(T + 1)) + P1 * CubicNear(std::abs(T)) +
                       P2 * CubicNear(std::abs(T - 1)) + P3 * CubicFar(std::abs(T - 2));
  return std::clamp(Value, Low, High);
}

void IEResampleArea8(TIEBitmap* Source, TIEBitmap* Dest, Integer Bicubic, TIEProgressEvent OnProgress,
                     TObject* Sender) {
  if (!Resizable(Source, Dest)) return;
  if (Source->GetPixelFormat() == ie8g)
    TAreaResampler<Byte, 1>(Source, Dest, Bicubic == 1, 255).Run(OnProgress, Sender);
  else if (Source->GetPixelFormat() == ie24RGB)
    TAreaResampler<Byte, 3>(Source, Dest, Bicubic == 1, 255).Run(OnProgress, Sender);
}

void IEResampleArea16(TIEBitmap* Source, TIEBitmap* Dest, Integer Bicubic, TIEProgressEvent OnProgress,
                      TObject* Sender) {
  if (!Resizable(Source, Dest)) return;
  if (Source->GetPixelFormat() == ie16g)
    TAreaResampler<Word, 1>(Source, Dest, Bicubic == 1, 65535).Run(OnProgress, Sender);
  else if (Source->GetPixelFormat() == ieRGB48)
    TAreaResampler<Word, 3>(Source, Dest, Bicubic == 1, 65535).Run(OnProgress, Sender);
}

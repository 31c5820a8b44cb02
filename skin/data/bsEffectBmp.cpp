// The 24-bit effect bitmap: state morphs and form effects, row by row through one buffer.
#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/gdi/Blit.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Dib.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/system/Math.h"
#include "platform/system/Random.h"
#include "skin/data/bsEffects.h"

namespace {

using TRow = std::vector<Byte>;

Byte ClampByte3(Extended V) {
  const Int64 R = Round(V);
  return static_cast<Byte>(std::clamp<Int64>(R, 0, 255));
}

// Not >= 0 (NaN included) gives 0.
double LimitFraction(double K) {
  if (!(K >= 0)) return 0;
  return std::min(K, 1.0);
}

// Pixel Column of Row becomes W * this + (1 - W) * other, channel by channel.
void MixPixel(Byte* Row, const Byte* OtherRow, Integer Column, double W) {
  for (Integer C = 3 * Column; C < 3 * Column + 3; ++C)
    Row[C] = ClampByte3(W * Row[C] + (1 - W) * OtherRow[C]);
}

// Each row goes through one buffer: read, changed by Change(Row, Y), written back.
template <class TChange>
void ForEachRow(TbsEffectBmp& B, TChange&& Change) {
  if (B.GetHeight() <= 0 || B.GetWidth() <= 0 || !B.GetHandle()) return;
  TRow Row(static_cast<std::size_t>(3 * B.GetWidth()));
  for (Integer Y = 0; Y < B.GetHeight(); ++Y) {
    std::copy_n(B.GetScanLine(Y), Row.size(), Row.begin());
    Change(Row.data(), Y);
    std::copy(Row.begin(), Row.end(), B.GetScanLine(Y));
  }
}

void CopyPixel(Byte* Row, Integer Column, const Byte* From, Integer FromColumn) {
  std::copy_n(From + 3 * FromColumn, 3, Row + 3 * Column);
}

}  // namespace

TbsEffectBmp::TbsEffectBmp(Integer AWidth, Integer AHeight) {
  MakeSection(AWidth, AHeight);
}

TbsEffectBmp::TbsEffectBmp(HBITMAP Bitmap) {
  BITMAP Desc{};
  GetObject(Bitmap, sizeof(Desc), &Desc);
  MakeSection(Desc.bmWidth, Desc.bmHeight);
  if (!FBits) return;
  const HDC DC = CreateCompatibleDC(nullptr);
  GetDIBits(DC, Bitmap, 0, FHeight, FBits, &FInfo, DIB_RGB_COLORS);
  DeleteDC(DC);
}

TbsEffectBmp::~TbsEffectBmp() {
  if (FHandle) DeleteObject(FHandle);
}

void TbsEffectBmp::MakeSection(Integer AWidth, Integer AHeight) {
  FWidth = AWidth;
  FHeight = AHeight;
  FSize = RowPitch() * FHeight;
  FInfo.bmiHeader.biSize = 40;
  FInfo.bmiHeader.biWidth = FWidth;
  FInfo.bmiHeader.biHeight = -FHeight;
  FInfo.bmiHeader.biPlanes = 1;
  FInfo.bmiHeader.biBitCount = 24;
  FInfo.bmiHeader.biCompression = BI_RGB;
  void* Bits = nullptr;
  FHandle = CreateDIBSection(nullptr, &FInfo, DIB_RGB_COLORS, &Bits, nullptr, 0);
  FBits = FHandle ? static_cast<Byte*>(Bits) : nullptr;
}

Byte* TbsEffectBmp::GetScanLine(Integer Y) const {
  return FBits + static_cast<std::ptrdiff_t>(Y) * RowPitch();
}

Cardinal TbsEffectBmp::GetPixel(Integer X, Integer Y) const {
  const Byte* P = GetScanLine(Y) + 3 * X;
  return P[0] | (P[1] << 8) | (P[2] << 16);
}

void TbsEffectBmp::SetPixel(Integer X, Integer Y, Cardinal Value) {
  Byte* P = GetScanLine(Y) + 3 * X;
  P[0] = Value & 0xFF;
  P[1] = (Value >> 8) & 0xFF;
  P[2] = (Value >> 16) & 0xFF;
}

void TbsEffectBmp::DrawToDC(HDC DC, Integer X, Integer Y) {
  if (!FBits) return;
  SetDIBitsToDevice(DC, X, Y, FWidth, FHeight, 0, 0, 0, FHeight, FBits, &FInfo, DIB_RGB_COLORS);
}

bool TbsEffectBmp::SameSize(const TbsEffectBmp* Other) const {
  return FBits && Other->FBits && Other->FWidth == FWidth && Other->FHeight == FHeight;
}

void TbsEffectBmp::Morph(TbsEffectBmp* Other, double K) {
  if (!SameSize(Other)) return;
  K = LimitFraction(K);
  ForEachRow(*this, [&](Byte* Row, Integer Y) {
    const Byte* O = Other->GetScanLine(Y);
    for (Integer C = 0; C < 3 * FWidth; ++C) Row[C] = ClampByte3((1 - K) * Row[C] + K * O[C]);
  });
}

void TbsEffectBmp::MorphGradient(TbsEffectBmp* Other, double K) {
  if (FWidth < FHeight)
    MorphGradientVertical(Other, K);
  else
    MorphGradientHorizontal(Other, K);
}

void TbsEffectBmp::MorphGradientHorizontal(TbsEffectBmp* Other, double K) {
  if (!SameSize(Other)) return;
  const Integer A = static_cast<Integer>(Round(FWidth * K));
  const Integer G = std::max(0, FWidth / 2 - A / 2);
  const Integer E = std::min(FWidth - 1, FWidth / 2 + A / 2);
  const Integer S = (FWidth - A) / 2;
  const double Step = S == 0 ? 1 : 1.0 / S;
  ForEachRow(*this, [&](Byte* Row, Integer Y) {
    const Byte* O = Other->GetScanLine(Y);
    for (Integer X = G; X <= E; ++X) CopyPixel(Row, X, O, X);
    double W = 0;
    for (Integer X = G; X >= 0; --X, W = std::min(W + Step, 1.0)) MixPixel(Row, O, X, W);
    W = 0;
    for (Integer X = E; X < FWidth; ++X, W = std::min(W + Step, 1.0)) MixPixel(Row, O, X, W);
  });
}

void TbsEffectBmp::MorphGradientVertical(TbsEffectBmp* Other, double K) {
  if (!SameSize(Other)) return;
  const Integer A = static_cast<Integer>(Round(FHeight * K));
  const Integer G = std::max(0, FHeight / 2 - A / 2);
  const Integer E = std::min(FHeight - 1, FHeight / 2 + A / 2);
  const Integer S = (FHeight - 1 - A) / 2;
  const double Step = S == 0 ? 0 : 1.0 / S;
  // Weight of this picture for each row: the band is the other picture, the rest fades out.
  std::vector<double> Weight(static_cast<std::size_t>(FHeight), 1.0);
  for (Integer Y = G; Y <= E; ++Y) Weight[Y] = 0;
  double W = 0;
  for (Integer Y = G; Y >= 0; --Y, W = std::min(W + Step, 1.0)) Weight[Y] = W;
  W = 0;
  for (Integer Y = E; Y < FHeight; ++Y, W = std::min(W + Step, 1.0)) Weight[Y] = W;
  ForEachRow(*this, [&](Byte* Row, Integer Y) {
    const Byte* O = Other->GetScanLine(Y);
    for (Integer X = 0; X < FWidth; ++X) MixPixel(Row, O, X, Weight[Y]);
  });
}

void TbsEffectBmp::MorphLeftGradient(TbsEffectBmp* Other, double K) {
  if (!SameSize(Other)) return;
  Integer A = static_cast<Integer>(Round(FWidth * K));
  if (A <= 0) A = 1;
  if (A > FWidth - 1) A = FWidth - 1;
  // A one-pixel picture leaves a span of 0: a whole step keeps the division defined.
  const double Step = A > 0 ? 1.0 / A : 1;
  ForEachRow(*this, [&](Byte* Row, Integer Y) {
    const Byte* O = Other->GetScanLine(Y);
    double W = 0;
    for (Integer X = 0; X <= A; ++X, W = std::min(W + Step, 1.0)) MixPixel(Row, O, X, W);
  });
}

void TbsEffectBmp::MorphRightGradient(TbsEffectBmp* Other, double K) {
  if (!SameSize(Other)) return;
  const Integer B = std::clamp(FWidth - static_cast<Integer>(Round(FWidth * K)), 0, FWidth - 1);
  const double Step = 1.0 / (FWidth - B);
  ForEachRow(*this, [&](Byte* Row, Integer Y) {
    const Byte* O = Other->GetScanLine(Y);
    double W = 0;
    for (Integer X = FWidth - 1; X >= B; --X, W = std::min(W + Step, 1.0)) MixPixel(Row, O, X, W);
  });
}

namespace {

Integer SlideWidth(Integer Width, double K) {
  return std::min(std::max(static_cast<Integer>(Round(Width * K)), 1), Width - 1);
}

}  // namespace

void TbsEffectBmp::MorphLeftSlide(TbsEffectBmp* Other, double K) {
  if (!SameSize(Other)) return;
  const Integer A = SlideWidth(FWidth, K);
  ForEachRow(*this, [&](Byte* Row, Integer Y) {
    const Byte* O = Other->GetScanLine(Y);
    for (Integer C = 0; C < A; ++C) CopyPixel(Row, C, O, std::min(FWidth - 1, FWidth - A + C));
  });
}

void TbsEffectBmp::MorphRightSlide(TbsEffectBmp* Other, double K) {
  if (!SameSize(Other)) return;
  const Integer A = SlideWidth(FWidth, K);
  ForEachRow(*this, [&](Byte* Row, Integer Y) {
    const Byte* O = Other->GetScanLine(Y);
    for (Integer C = 0; C < A; ++C) CopyPixel(Row, std::min(FWidth - 1, FWidth - A + C), O, C);
  });
}

void TbsEffectBmp::MorphPush(TbsEffectBmp* Other, double K) {
  if (!SameSize(Other)) return;
  const Integer A = std::clamp(static_cast<Integer>(Round(FWidth * K)), 0, FWidth - 1);
  ForEachRow(*this, [&](Byte* Row, Integer Y) {
    const Byte* O = Other->GetScanLine(Y);
    for (Integer J = FWidth - 1; J > A; --J) CopyPixel(Row, J, Row, J - A - 1);
    CopyPixel(Row, A, Row, 0);
    for (Integer C = 0; C <= A; ++C) CopyPixel(Row, C, O, std::min(FWidth - 1, FWidth - A - 1 + C));
  });
}

void TbsEffectBmp::ChangeBrightness(double K) {
  K = LimitFraction(K);
  ForEachRow(*this, [&](Byte* Row, Integer) {
    for (Integer C = 0; C < 3 * FWidth; ++C) Row[C] = ClampByte3((1 - K) * Row[C] + 255 * K);
  });
}

void TbsEffectBmp::ChangeDarkness(double K) {
  K = LimitFraction(K);
  ForEachRow(*this, [&](Byte* Row, Integer) {
    for (Integer C = 0; C < 3 * FWidth; ++C) Row[C] = ClampByte3((1 - K) * Row[C]);
  });
}

void TbsEffectBmp::GrayScale() {
  ForEachRow(*this, [&](Byte* Row, Integer) {
    for (Byte* P = Row; P < Row + 3 * FWidth; P += 3)
      P[0] = P[1] = P[2] = ClampByte3(0.3 * P[2] + 0.59 * P[1] + 0.11 * P[0]);
  });
}

void TbsEffectBmp::AddNoise(Integer Amount) {
  ForEachRow(*this, [&](Byte* Row, Integer) {
    for (Byte* P = Row; P < Row + 3 * FWidth; P += 3) {
      const Integer N = Random(Amount) - Amount / 2;
      for (Integer C = 0; C < 3; ++C) P[C] = static_cast<Byte>(std::clamp(P[C] + N, 0, 255));
    }
  });
}

void TbsEffectBmp::SplitBlur(Integer Amount) {
  if (Amount == 0) return;
  ForEachRow(*this, [&](Byte* Row, Integer Y) {
    // A neighbour row or column outside the picture is the pixel's own.
    const auto Inside = [](Integer V, Integer Own, Integer Limit) { return V < 0 || V >= Limit ? Own : V; };
    const Byte* Up = GetScanLine(Inside(Y - Amount, Y, FHeight));
    const Byte* Down = GetScanLine(Inside(Y + Amount, Y, FHeight));
    for (Integer X = 0; X < FWidth; ++X) {
      const Integer L = 3 * Inside(X - Amount, X, FWidth), R = 3 * Inside(X + Amount, X, FWidth);
      for (Integer C = 0; C < 3; ++C)
        Row[3 * X + C] = static_cast<Byte>((Up[L + C] + Down[L + C] + Up[R + C] + Down[R + C]) >> 2);
    }
  });
}

void TbsEffectBmp::Invert() {
  ForEachRow(*this, [&](Byte* Row, Integer) {
    for (Integer C = 0; C < 3 * FWidth; ++C) Row[C] = static_cast<Byte>(255 - Row[C]);
  });
}

void TbsEffectBmp::Rotate90CCW(TbsEffectBmp* Target) const {
  for (Integer Y = 0; Y < FHeight; ++Y)
    for (Integer X = 0; X < FWidth; ++X) Target->SetPixel(Y, FWidth - 1 - X, GetPixel(X, Y));
}

void TbsEffectBmp::Rotate90CW(TbsEffectBmp* Target) const {
  for (Integer Y = 0; Y < FHeight; ++Y)
    for (Integer X = 0; X < FWidth; ++X) Target->SetPixel(FHeight - 1 - Y, X, GetPixel(X, Y));
}

void TbsEffectBmp::FlipVert(TbsEffectBmp* Target) const {
  for (Integer Y = 0; Y < FHeight; ++Y)
    std::copy_n(GetScanLine(Y), 3 * FWidth, Target->GetScanLine(FHeight - 1 - Y));
}

void TbsEffectBmp::MorphByKind(TbsEffectBmp* Other, Integer Kind, double K) {
  switch (Kind) {
    case 1:
      MorphGradient(Other, K);
      break;
    case 2:
      MorphLeftGradient(Other, K);
      break;
    case 3:
      MorphRightGradient(Other, K);
      break;
    case 4:
      MorphLeftSlide(Other, K);
      break;
    case 5:
      MorphRightSlide(Other, K);
      break;
    case 6:
      MorphPush(Other, K);
      break;
    default:
      Morph(Other, K);
      break;
  }
}

void TbsEffectBmp::InactiveEffect(Integer Kind) {
  switch (Kind) {
    case 0:
      ChangeBrightness(0.5);
      break;
    case 1:
      ChangeDarkness(0.3);
      break;
    case 2:
      GrayScale();
      break;
    case 3:
      AddNoise(50);
      break;
    case 4:
      SplitBlur(1);
      break;
    default:
      Invert();
      break;
  }
}

// Demosaicing of the colour filter mosaic: a bilinear pass, optionally followed by the
// gradient-steered (VNG) pass. Both precompute, for each of the 8 x 2 phases of the filter
// pattern, a list of Image offsets, so the per-pixel loops only follow those lists.
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <vector>

#include "imaging/formats/iecameraraw.h"

namespace {

struct TDirection {
  Integer Y, X;
};
// Neighbour directions; bit n of a VNG gradient mask names direction n.
constexpr TDirection Directions[8] = {{-1, -1}, {-1, 0}, {-1, 1}, {0, 1}, {1, 1}, {1, 0}, {1, -1}, {0, -1}};

struct TVngTerm {
  signed char Y1, X1, Y2, X2, Weight;
  Byte Gradients;
};
// Pairs of same-coloured cells in the 5 x 5 neighbourhood whose difference (shifted by Weight)
// counts toward the gradients of the directions they lie along.
constexpr TVngTerm VngTerms[64] = {
    {-2, -2, 0, -1, 0, 0x01},  {-2, -2, 0, 0, 1, 0x01},   {-2, -1, -1, 0, 0, 0x01}, {-2, 2, -1, 0, 0, 0x04},
    {-2, 2, 0, 0, 1, 0x04},    {-1, 2, 0, 1, 0, 0x04},    {2, 2, 0, 1, 0, 0x10},    {2, 2, 0, 0, 1, 0x10},
    {2, -2, 1, 0, 0, 0x40},    {2, -2, 0, 0, 1, 0x40},    {1, -2, 0, -1, 0, 0x40},  {0, 0, -1, -1, 1, 0x01},
    {-1, -1, -2, -2, 1, 0x01}, {-1, 1, -2, 0, 0, 0x01},   {1, -1, 0, -2, 0, 0x01},  {0, 0, -1, 0, 1, 0x02},
    {-1, 0, -2, 0, 1, 0x02},   {0, 1, -1, 1, 0, 0x02},    {-1, 1, -2, 1, 0, 0x02},  {0, -1, -1, -1, 0, 0x02},
    {-1, -1, -2, -1, 0, 0x02}, {0, 0, -2, 0, 0, 0x02},    {0, 1, -2, 1, 0, 0x02},   {0, -1, -2, -1, 0, 0x02},
    {0, 0, -1, 1, 1, 0x04},    {-1, 1, -2, 2, 1, 0x04},   {1, 1, 0, 2, 0, 0x04},    {-1, -1, -2, 0, 0, 0x04},
    {0, 0, 0, 1, 1, 0x08},     {0, 1, 0, 2, 1, 0x08},     {1, 0, 1, 1, 0, 0x08},    {1, 1, 1, 2, 0, 0x08},
    {-1, 0, -1, 1, 0, 0x08},   {-1, 1, -1, 2, 0, 0x08},   {0, 0, 0, 2, 0, 0x08},    {1, 0, 1, 2, 0, 0x08},
    {-1, 0, -1, 2, 0, 0x08},   {0, 0, 1, 1, 1, 0x10},     {1, 1, 2, 2, 1, 0x10},    {1, -1, 2, 0, 0, 0x10},
    {-1, 1, 0, 2, 0, 0x10},    {0, 0, 1, 0, 1, 0x20},     {1, 0, 2, 0, 1, 0x20},    {0, -1, 1, -1, 0, 0x20},
    {1, -1, 2, -1, 0, 0x20},   {0, 1, 1, 1, 0, 0x20},     {1, 1, 2, 1, 0, 0x20},    {0, 0, 2, 0, 0, 0x20},
    {0, -1, 2, -1, 0, 0x20},   {0, 1, 2, 1, 0, 0x20},     {0, 0, 1, -1, 1, 0x40},   {1, -1, 2, -2, 1, 0x40},
    {-1, -1, 0, -2, 0, 0x40},  {1, 1, 2, 0, 0, 0x40},     {0, 0, 0, -1, 1, 0x80},   {0, -1, 0, -2, 1, 0x80},
    {-1, 0, -1, -1, 0, 0x80},  {-1, -1, -1, -2, 0, 0x80}, {1, 0, 1, -1, 0, 0x80},   {1, -1, 1, -2, 0, 0x80},
    {0, 0, 0, -2, 0, 0x80},    {-1, 0, -1, -2, 0, 0x80},  {1, 0, 1, -2, 0, 0x80},   {1, 0, 2, 1, 0, 0x10},
};

using TCodeTable = std::vector<Integer>;

// Bilinear code of one phase: eight (offset, shift, colour) triples, then (channel, weight)
// pairs for the channels the cell lacks, ended by -1.
TCodeTable BilinearCode(const TCameraRawContext& Context, Integer Row, Integer Col) {
  TCodeTable Code;
  Integer Weight[4] = {};
  for (const TDirection& D : Directions) {
    const Integer Shift = (D.Y == 0) + (D.X == 0);
    const Integer Color = RawFilterColor(Context.Filters, Row + D.Y, Col + D.X);
    Code.push_back((D.Y * Context.ImageWidth + D.X) * 4 + Color);
    Code.push_back(Shift);
    Code.push_back(Color);
    Weight[Color] += 1 << Shift;
  }
  const Integer Own = RawFilterColor(Context.Filters, Row, Col);
  for (Integer C = 0; C < std::min<Integer>(Context.Colors, 4); ++C)
    // A channel no neighbour carries cannot be averaged; it stays as loaded.
    if (C != Own && Weight[C] > 0) {
      Code.push_back(C);
      Code.push_back(Weight[C]);
    }
  Code.push_back(-1);
  return Code;
}

void BilinearPass(TCameraRawContext& Context) {
  TCodeTable Codes[8][2];
  for (Integer Row = 0; Row < 8; ++Row)
    for (Integer Col = 1; Col < 3; ++Col) Codes[Row][Col & 1] = BilinearCode(Context, Row, Col);
  const Integer Width = Context.ImageWidth;
  for (Integer Row = 1; Row < Context.ImageHeight - 1; ++Row)
    for (Integer Col = 1; Col < Width - 1; ++Col) {
      Word* Pixel = Context.Image[static_cast<std::size_t>(Row) * Width + Col];
      const Integer* Code = Codes[Row & 7][Col & 1].data();
      Integer Sum[4] = {};
      for (Integer I = 0; I < 8; ++I, Code += 3) Sum[Code[2]] += Pixel[Code[0]] << Code[1];
      for (; *Code >= 0; Code += 2) Pixel[Code[0]] = static_cast<Word>(Sum[Code[0]] / Code[1]);
    }
}

// VNG code of one phase: for each used term (offset 1, offset 2, weight, gradient numbers...,
// -1), ended by INT_MAX; then per direction the neighbour's offset and the offset of the
// own-coloured cell two steps away (0 when there is none).
TCodeTable VngCode(const TCameraRawContext& Context, Integer Row, Integer Col) {
  TCodeTable Code;
  const Integer Width = Context.ImageWidth;
  const Cardinal Filters = Context.Filters;
  for (const TVngTerm& T : VngTerms) {
    const Integer Color = RawFilterColor(Filters, Row + T.Y1, Col + T.X1);
    if (RawFilterColor(Filters, Row + T.Y2, Col + T.X2) != Color) continue;
    const bool Diagonal2 =
        RawFilterColor(Filters, Row, Col + 1) == Color && RawFilterColor(Filters, Row + 1, Col) == Color;
    const Integer Diag = Diagonal2 ? 2 : 1;
    if (std::abs(T.Y1 - T.Y2) == Diag && std::abs(T.X1 - T.X2) == Diag) continue;
    Code.push_back((T.Y1 * Width + T.X1) * 4 + Color);
    Code.push_back((T.Y2 * Width + T.X2) * 4 + Color);
    Code.push_back(T.Weight);
    for (Integer G = 0; G < 8; ++G)
      if (T.Gradients & (1 << G)) Code.push_back(G);
    Code.push_back(-1);
  }
  Code.push_back(INT_MAX);
  const Integer Own = RawFilterColor(Filters, Row, Col);
  for (const TDirection& D : Directions) {
    const Integer Offset = D.Y * Width + D.X;
    Code.push_back(Offset * 4);
    const bool Across = RawFilterColor(Filters, Row + D.Y, Col + D.X) != Own &&
                        RawFilterColor(Filters, Row + 2 * D.Y, Col + 2 * D.X) == Own;
    Code.push_back(Across ? Offset * 8 + Own : 0);
  }
  return Code;
}

void VngCell(const TCameraRawContext& Context, const Integer* Code, const Word* Pixel, Integer Own,
             Word* Out) {
  Integer Gradient[8] = {};
  for (; *Code != INT_MAX; ++Code) {
    const Integer Diff = std::abs(Pixel[Code[0]] - Pixel[Code[1]]) << Code[2];
    for (Code += 3; *Code != -1; ++Code) Gradient[*Code] += Diff;
  }
  ++Code;
  const auto [GMin, GMax] = std::minmax_element(std::begin(Gradient), std::end(Gradient));
  std::copy(Pixel, Pixel + 4, Out);
  if (*GMax == 0) return;
  const Integer Threshold = *GMin + (*GMax >> 1);
  const Integer Colors = std::min<Integer>(Context.Colors, 4);
  Integer Sum[4] = {};
  Integer Num = 0;
  for (Integer G = 0; G < 8; ++G, Code += 2) {
    if (Gradient[G] > Threshold) continue;
    for (Integer C = 0; C < Colors; ++C)
      Sum[C] += (C == Own && Code[1]) ? (Pixel[C] + Pixel[Code[1]]) >> 1 : Pixel[Code[0] + C];
    ++Num;
  }
  for (Integer C = 0; C < Colors; ++C) {
    if (C == Own) continue;
    const Integer Value = Pixel[Own] + (Sum[C] - Sum[Own]) / Num;
    Out[C] = static_cast<Word>(std::clamp(Value, 0, std::clamp(Context.Maximum, 0, 0xFFFF)));
  }
}

void VngPass(TCameraRawContext& Context) {
  const Integer Height = Context.ImageHeight;
  const Integer Width = Context.ImageWidth;
  if (Height < 5 || Width < 5) return;
  TCodeTable Codes[8][2];
  for (Integer Row = 0; Row < 8; ++Row)
    for (Integer Col = 0; Col < 2; ++Col) Codes[Row][Col] = VngCode(Context, Row, Col);
  // Results wait two rows in a ring so every cell reads its neighbours as they were.
  std::vector<Word> Ring(static_cast<std::size_t>(Width) * 3 * 4);
  auto RingRow = [&](Integer Row) {
    return Ring.data() + static_cast<std::size_t>((Row - 2) % 3) * Width * 4;
  };
  auto WriteBack = [&](Integer Row) {
    Word(*Target)[4] = Context.Image + static_cast<std::size_t>(Row) * Width;
    const Word* Source = RingRow(Row);
    for (Integer Col = 2; Col < Width - 2; ++Col)
      std::copy(Source + Col * 4, Source + Col * 4 + 4, Target[Col]);
  };
  for (Integer Row = 2; Row < Height - 2; ++Row) {
    Word* Out = RingRow(Row);
    for (Integer Col = 2; Col < Width - 2; ++Col) {
      const Word* Pixel = Context.Image[static_cast<std::size_t>(Row) * Width + Col];
      VngCell(Context, Codes[Row & 7][Col & 1].data(), Pixel, RawFilterColor(Context.Filters, Row, Col),
              Out + Col * 4);
    }
    if (Row >= 4) WriteBack(Row - 2);
  }
  for (Integer Row = std::max(2, Height - 4); Row < Height - 2; ++Row) WriteBack(Row);
}

}  // namespace

void RawInterpolate(TCameraRawContext& Context) {
  BilinearPass(Context);
  if (Context.QuickInterpolate) return;
  VngPass(Context);
}

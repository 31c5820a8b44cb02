// The row renderers of RenderToTIEBitmap: one opaque and one transparent per source format.
// Each is one loop (RenderRows) over the destination rows with a pixel reader of its format
// and a writer (store, blend, or move the destination toward the value), so the format and
// the write mode are chosen once per call and the inner loop sees raw rows.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "imaging/core/iebitmap.h"
#include "imaging/core/ieblend.h"
#include "imaging/core/iecolorspace.h"
#include "imaging/core/iepixelrows.h"

namespace {

// The display range of ie8g, ie16g, ie32f (and adjusted ie24RGB) sources; set when it is not
// empty. Integer samples clamp to the truncated bounds, floats to the bounds themselves.
struct TDisplayRange {
  bool Set = false;
  Double Min = 0, Max = 0;
  Integer Lo = 0, Hi = 0;

  explicit TDisplayRange(TIEBitmap* Source)
      : Set(Source->GetRangeMax() - Source->GetRangeMin() != 0),
        Min(Source->GetRangeMin()),
        Max(Source->GetRangeMax()),
        Lo(static_cast<Integer>(Source->GetRangeMin())),
        Hi(static_cast<Integer>(Source->GetRangeMax())) {}
  Byte Scaled(Double Offset) const {
    const Double V = Offset / (Max - Min) * 255;
    if (!(V > 0)) return 0;  // NaN as well
    return V >= 255 ? 255 : static_cast<Byte>(V);
  }
  Byte Map(Integer V) const { return Scaled(std::min(std::max(V, Lo), Hi) - Lo); }
  Byte MapFloat(Double V) const { return Scaled(std::min(std::max(V, Min), Max) - Min); }
};

// Contrast and channel offsets of the adjusted paths.
bool HasAdjustments(TIEBitmap* Source, Byte BlendOp) {
  return Source->GetAdjustColors() || Source->GetContrast() != 0 || BlendOp != 0;
}

// Per channel (blue, green, red) the adjusted value of each byte:
// clamp(K (c + offset - 128) div 65536 + 128), then through the display range when given.
struct TAdjustTables {
  std::array<std::array<Byte, 256>, 3> Channel;

  TAdjustTables(TIEBitmap* Source, const TDisplayRange* Range) {
    const Integer Contrast = Source->GetContrast();
    const Int64 K =
        static_cast<Int64>(Contrast < 0 ? (1 - std::sqrt(static_cast<Double>(-Contrast)) / 10) * 65536
                                        : (Contrast / 10.0 + 1) * 65536);
    for (Integer C = 0; C < 3; ++C) {
      const Integer Offset = Source->GetChannelOffset(2 - C);  // offsets are R, G, B
      for (Integer V = 0; V < 256; ++V) {
        const auto A = static_cast<Integer>(std::clamp<Int64>(K * (V + Offset - 128) / 65536 + 128, 0, 255));
        Channel[C][V] = Range && Range->Set ? Range->Map(A) : static_cast<Byte>(A);
      }
    }
  }
  TIERGBTriple operator()(const Byte* P) const {
    return {Channel[0][P[0]], Channel[1][P[1]], Channel[2][P[2]]};
  }
};

// Pixel readers: the colour of column X of a source row.
struct TRead24 {
  TIERGBTriple operator()(const Byte* Row, Integer X) const {
    return reinterpret_cast<const TIERGBTriple*>(Row)[X];
  }
};
struct TRead32 {
  TIERGBTriple operator()(const Byte* Row, Integer X) const {
    const Byte* P = Row + X * 4;
    return {P[0], P[1], P[2]};
  }
};
struct TRead48 {
  TIERGBTriple operator()(const Byte* Row, Integer X) const {
    const TIERGB48Pixel P = reinterpret_cast<const TIERGB48Pixel*>(Row)[X];
    return {static_cast<Byte>(P.b >> 8), static_cast<Byte>(P.g >> 8), static_cast<Byte>(P.r >> 8)};
  }
};
template <Integer Stride>
struct TReadAdjusted {
  const TAdjustTables& Tables;
  TIERGBTriple operator()(const Byte* Row, Integer X) const { return Tables(Row + X * Stride); }
};
// Each 16-bit word w: clamp(Trunc((w + offset - 32768) F + 32768) shr 8) with the float factor.
struct TReadAdjusted48 {
  Double F;
  Integer Offset[3];  // blue, green, red
  Byte Channel(Word W, Integer Off) const {
    const Int64 V = static_cast<Int64>((W + Off - 32768) * F + 32768);
    return static_cast<Byte>(std::clamp<Int64>(V >> 8, 0, 255));
  }
  TIERGBTriple operator()(const Byte* Row, Integer X) const {
    const TIERGB48Pixel P = reinterpret_cast<const TIERGB48Pixel*>(Row)[X];
    return {Channel(P.b, Offset[0]), Channel(P.g, Offset[1]), Channel(P.r, Offset[2])};
  }
};
struct TRead1 {
  TIERGBTriple operator()(const Byte* Row, Integer X) const {
    const Byte V = (Row[X >> 3] & (0x80 >> (X & 7))) ? 255 : 0;
    return {V, V, V};
  }
};
// ie8g (grey or its display range) and ie8p: a colour per byte value.
struct TReadByteTable {
  const std::array<TIERGBTriple, 256>& Colors;
  TIERGBTriple operator()(const Byte* Row, Integer X) const { return Colors[Row[X]]; }
};
struct TRead16 {
  TDisplayRange Range;
  TIERGBTriple operator()(const Byte* Row, Integer X) const {
    const Word W = reinterpret_cast<const Word*>(Row)[X];
    const Byte V = Range.Set ? Range.Map(W) : static_cast<Byte>(W >> 8);
    return {V, V, V};
  }
};
struct TRead32f {
  TDisplayRange Range;
  TIERGBTriple operator()(const Byte* Row, Integer X) const {
    const Single F = reinterpret_cast<const Single*>(Row)[X];
    const Byte V = Range.Set ? Range.MapFloat(F) : static_cast<Byte>(IEScaleFloat(F, 255));
    return {V, V, V};
  }
};
struct TReadCMYK {
  TIERGBTriple operator()(const Byte* Row, Integer X) const {
    TIERGBTriple C;
    IECMYK2RGB(reinterpret_cast<const TCMYK*>(Row)[X], C);
    return C;
  }
};
struct TReadCIELab {
  TIERGBTriple operator()(const Byte* Row, Integer X) const {
    return IECIELab2RGB(reinterpret_cast<const TIECIELabPixel*>(Row)[X]);
  }
};

// Pixel writers. A is the source alpha (or the transparency) of the pixel; only the mixing
// writer reads it.
struct TStore {
  static constexpr bool ReadsAlpha = false;
  void operator()(TIERGBTriple& D, TIERGBTriple V, Byte, Integer) const { D = V; }
};
struct TBlend {
  static constexpr bool ReadsAlpha = false;
  TIEBlendProc Blend;
  void operator()(TIERGBTriple& D, TIERGBTriple V, Byte, Integer Y) const { Blend(V, D, Y); }
};
// d := d + (t (v - d)) shr 8 with t = min(Transparency, alpha): a fully opaque pixel moves the
// destination 255/256 of the way. With a blend, v is the blend of the pixel into a copy of d.
template <bool Blended>
struct TMix {
  static constexpr bool ReadsAlpha = true;
  TIEBlendProc Blend;
  Integer Transparency;
  static Byte Channel(Byte D, Byte V, Integer T) { return static_cast<Byte>(D + ((T * (V - D)) >> 8)); }
  void operator()(TIERGBTriple& D, TIERGBTriple V, Byte A, Integer Y) const {
    if constexpr (Blended) {
      TIERGBTriple B = D;
      Blend(V, B, Y);
      V = B;
    }
    const Integer T = std::min<Integer>(Transparency, A);
    D.rgbtBlue = Channel(D.rgbtBlue, V.rgbtBlue, T);
    D.rgbtGreen = Channel(D.rgbtGreen, V.rgbtGreen, T);
    D.rgbtRed = Channel(D.rgbtRed, V.rgbtRed, T);
  }
};

// Destination rows Y1..Y2, columns X1..X2; source row and column from the lookups, or offset
// by SrcX - DestX and SrcY - DestY when there are none. Alpha: the source's alpha channel (when
// used) or the transparency row, read at the source column.
template <class TReader, class TWriter>
void RenderRows(TIEBitmap* Source, const TIERenderRowsParams& P, bool RowCopy, TReader Read, TWriter Write) {
  TIEBitmap* Alpha = P.UseAlpha ? Source->GetAlphaChannel() : nullptr;
  const std::size_t RowLen = P.Dest->GetRowLen();
  Integer PreviousSourceRow = -1;
  for (Integer Y = P.Y1; Y <= P.Y2; ++Y) {
    const Integer SY = P.RowLookup ? P.RowLookup[Y - P.Y1] : Y + P.SrcY - P.DestY;
    Byte* DestRow = P.DestRows[Y];
    if (RowCopy && Y > P.Y1 && SY == PreviousSourceRow) {
      std::memcpy(DestRow, P.DestRows[Y - 1], RowLen);
      continue;
    }
    PreviousSourceRow = SY;
    const Byte* Row = static_cast<const Byte*>(Source->GetScanline(SY));
    // Transparent renderers always have a row: the alpha channel's or the transparency row.
    const Byte* AlphaRow = Alpha ? static_cast<const Byte*>(Alpha->GetScanline(SY)) : P.TransparencyRow;
    TIERGBTriple* D = reinterpret_cast<TIERGBTriple*>(DestRow);
    const auto Pixel = [&](Integer X, Integer SX) {
      if constexpr (TWriter::ReadsAlpha)
        Write(D[X], Read(Row, SX), AlphaRow[SX], Y);
      else
        Write(D[X], Read(Row, SX), 255, Y);
    };
    if (P.ColumnLookup) {
      for (Integer X = P.X1; X <= P.X2; ++X) Pixel(X, P.ColumnLookup[X - P.X1]);
    } else {
      for (Integer X = P.X1, Shift = P.SrcX - P.DestX; X <= P.X2; ++X) Pixel(X, X + Shift);
    }
  }
}

// Opaque renderers store (or blend, on the adjusted paths); transparent ones mix.
template <class TReader>
void RenderOpaque(TIEBitmap* Source, const TIERenderRowsParams& P, bool RowCopy, TReader Read) {
  RenderRows(Source, P, RowCopy, Read, TStore{});
}
template <class TReader>
void RenderTransparent(TIEBitmap* Source, const TIERenderRowsParams& P, bool RowCopy, TReader Read) {
  RenderRows(Source, P, RowCopy, Read, TMix<false>{nullptr, P.Transparency});
}
template <class TReader>
void RenderBlended(TIEBitmap* Source, const TIERenderRowsParams& P, bool RowCopy, bool Transparent,
                   TReader Read) {
  const TIEBlendProc Blend = IEBlendProc(P.BlendOp);
  if (Transparent)
    RenderRows(Source, P, RowCopy, Read, TMix<true>{Blend, P.Transparency});
  else
    RenderRows(Source, P, RowCopy, Read, TBlend{Blend});
}

// Whole row pieces of an unscaled, unadjusted ie24RGB source.
void CopyRowPieces(TIEBitmap* Source, const TIERenderRowsParams& P) {
  const std::size_t Bytes = static_cast<std::size_t>(P.X2 - P.X1 + 1) * 3;
  for (Integer Y = P.Y1; Y <= P.Y2; ++Y) {
    const Byte* Row = static_cast<const Byte*>(Source->GetScanline(Y + P.SrcY - P.DestY));
    std::memcpy(P.DestRows[Y] + P.X1 * 3, Row + (P.X1 + P.SrcX - P.DestX) * 3, Bytes);
  }
}

void Render24(TIEBitmap* Source, const TIERenderRowsParams& P, bool Transparent) {
  const TDisplayRange Range(Source);
  if (HasAdjustments(Source, P.BlendOp) || Range.Set) {
    const TAdjustTables Tables(Source, &Range);
    RenderBlended(Source, P, P.RowCopy && !Range.Set, Transparent, TReadAdjusted<3>{Tables});
  } else if (Transparent) {
    RenderTransparent(Source, P, P.RowCopy, TRead24{});
  } else if (!P.ColumnLookup && !P.RowLookup) {
    CopyRowPieces(Source, P);
  } else {
    RenderOpaque(Source, P, P.RowCopy, TRead24{});
  }
}

void Render32(TIEBitmap* Source, const TIERenderRowsParams& P, bool Transparent) {
  if (HasAdjustments(Source, P.BlendOp)) {
    const TAdjustTables Tables(Source, nullptr);
    RenderBlended(Source, P, P.RowCopy, Transparent, TReadAdjusted<4>{Tables});
  } else if (Transparent) {
    RenderTransparent(Source, P, P.RowCopy, TRead32{});
  } else {
    RenderOpaque(Source, P, P.RowCopy, TRead32{});
  }
}

void Render48(TIEBitmap* Source, const TIERenderRowsParams& P, bool Transparent) {
  if (HasAdjustments(Source, P.BlendOp)) {
    const Integer Contrast = Source->GetContrast();
    const Double F = Contrast < 0 ? 1 - std::sqrt(static_cast<Double>(-Contrast)) / 10 : Contrast / 10.0 + 1;
    const TReadAdjusted48 Read{
        F, {Source->GetChannelOffset(2), Source->GetChannelOffset(1), Source->GetChannelOffset(0)}};
    RenderBlended(Source, P, false, Transparent, Read);
  } else if (Transparent) {
    RenderTransparent(Source, P, false, TRead48{});
  } else {
    RenderOpaque(Source, P, false, TRead48{});
  }
}

// Formats without blending or row copies: store opaque, mix transparent.
template <class TReader>
void RenderPlain(TIEBitmap* Source, const TIERenderRowsParams& P, bool Transparent, TReader Read) {
  if (Transparent)
    RenderTransparent(Source, P, false, Read);
  else
    RenderOpaque(Source, P, false, Read);
}

std::array<TIERGBTriple, 256> GreyColors(TIEBitmap* Source) {
  const TDisplayRange Range(Source);
  std::array<TIERGBTriple, 256> Colors;
  for (Integer V = 0; V < 256; ++V) {
    const Byte G = Range.Set ? Range.Map(V) : static_cast<Byte>(V);
    Colors[V] = {G, G, G};
  }
  return Colors;
}

void Render8p(TIEBitmap* Source, const TIERenderRowsParams& P, bool Transparent) {
  const Integer Count = std::min(Source->GetPaletteLen(), 256);
  if (Count == 0) return;
  std::array<TIERGBTriple, 256> Colors{};
  std::copy_n(Source->GetPaletteBuffer(), Count, Colors.begin());
  RenderPlain(Source, P, Transparent, TReadByteTable{Colors});
}

}  // namespace

void TIEBitmap::RenderRows24RGB(const TIERenderRowsParams& P) {
  Render24(this, P, false);
}
void TIEBitmap::RenderRows24RGBAlpha(const TIERenderRowsParams& P) {
  Render24(this, P, true);
}
void TIEBitmap::RenderRows32RGB(const TIERenderRowsParams& P) {
  Render32(this, P, false);
}
void TIEBitmap::RenderRows32RGBAlpha(const TIERenderRowsParams& P) {
  Render32(this, P, true);
}
void TIEBitmap::RenderRowsRGB48(const TIERenderRowsParams& P) {
  Render48(this, P, false);
}
void TIEBitmap::RenderRowsRGB48Alpha(const TIERenderRowsParams& P) {
  Render48(this, P, true);
}
void TIEBitmap::RenderRows1g(const TIERenderRowsParams& P) {
  RenderOpaque(this, P, P.RowCopy, TRead1{});
}
void TIEBitmap::RenderRows1gAlpha(const TIERenderRowsParams& P) {
  RenderTransparent(this, P, P.RowCopy, TRead1{});
}
void TIEBitmap::RenderRows8g(const TIERenderRowsParams& P) {
  const auto Colors = GreyColors(this);
  RenderPlain(this, P, false, TReadByteTable{Colors});
}
void TIEBitmap::RenderRows8gAlpha(const TIERenderRowsParams& P) {
  const auto Colors = GreyColors(this);
  RenderPlain(this, P, true, TReadByteTable{Colors});
}
void TIEBitmap::RenderRows8p(const TIERenderRowsParams& P) {
  Render8p(this, P, false);
}
void TIEBitmap::RenderRows8pAlpha(const TIERenderRowsParams& P) {
  Render8p(this, P, true);
}
void TIEBitmap::RenderRows16g(const TIERenderRowsParams& P) {
  RenderPlain(this, P, false, TRead16{TDisplayRange(this)});
}
void TIEBitmap::RenderRows16gAlpha(const TIERenderRowsParams& P) {
  RenderPlain(this, P, true, TRead16{TDisplayRange(this)});
}
void TIEBitmap::RenderRows32f(const TIERenderRowsParams& P) {
  RenderPlain(this, P, false, TRead32f{TDisplayRange(this)});
}
void TIEBitmap::RenderRows32fAlpha(const TIERenderRowsParams& P) {
  RenderPlain(this, P, true, TRead32f{TDisplayRange(this)});
}
void TIEBitmap::RenderRowsCMYK(const TIERenderRowsParams& P) {
  RenderPlain(this, P, false, TReadCMYK{});
}
void TIEBitmap::RenderRowsCMYKAlpha(const TIERenderRowsParams& P) {
  RenderPlain(this, P, true, TReadCMYK{});
}
void TIEBitmap::RenderRowsCIELab(const TIERenderRowsParams& P) {
  RenderPlain(this, P, false, TReadCIELab{});
}
void TIEBitmap::RenderRowsCIELabAlpha(const TIERenderRowsParams& P) {
  RenderPlain(this, P, true, TReadCIELab{});
}

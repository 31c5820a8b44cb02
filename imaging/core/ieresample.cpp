#include "imaging/core/ieresample.h"

#include <algorithm>
#include <vector>

#include "imaging/core/iebitmap.h"

TIEResampleHooks IEResampleHooks;

namespace {

// Box I covers source pixels [Start[I], End[I]) of Count, never fewer than one.
struct TBoxes {
  std::vector<Integer> Start, End;
  TBoxes(Integer Count, Integer Size) : Start(Size), End(Size) {
    for (Integer I = 0; I < Size; ++I) {
      Start[I] = static_cast<Integer>(static_cast<Int64>(I) * Count / Size);
      End[I] = std::max(static_cast<Integer>(static_cast<Int64>(I + 1) * Count / Size), Start[I] + 1);
    }
  }
};

// Sums the Channels-byte pixels of each box of a SW x SH source into Width x Height boxes.
// Read(Y) gives source row Y of the rectangle (SW pixels); Write(Y, Sums, Areas) takes the
// Width x Channels sums of destination row Y and each box's pixel count.
template <class TRead, class TWrite>
void BoxSums(Integer SW, Integer SH, Integer Channels, Integer Width, Integer Height, TRead Read,
             TWrite Write) {
  const TBoxes Cols(SW, Width), Rows(SH, Height);
  std::vector<UInt64> Acc(static_cast<std::size_t>(SW) * Channels);
  std::vector<UInt64> Sums(static_cast<std::size_t>(Width) * Channels);
  std::vector<UInt64> Areas(Width);
  for (Integer Y = 0; Y < Height; ++Y) {
    std::fill(Acc.begin(), Acc.end(), 0);
    for (Integer SY = Rows.Start[Y]; SY < Rows.End[Y]; ++SY) {
      const Byte* Row = Read(SY);
      for (std::size_t I = 0; I < Acc.size(); ++I) Acc[I] += Row[I];
    }
    const UInt64 RowCount = Rows.End[Y] - Rows.Start[Y];
    for (Integer X = 0; X < Width; ++X) {
      for (Integer C = 0; C < Channels; ++C) {
        UInt64 Sum = 0;
        for (Integer SX = Cols.Start[X]; SX < Cols.End[X]; ++SX) Sum += Acc[SX * Channels + C];
        Sums[X * Channels + C] = Sum;
      }
      Areas[X] = RowCount * (Cols.End[X] - Cols.Start[X]);
    }
    Write(Y, Sums.data(), Areas.data());
  }
}

Byte Average(UInt64 Sum, UInt64 Area) {
  return static_cast<Byte>((Sum + Area / 2) / Area);
}

// Box average of byte pixels (ie8g: 1 channel, ie24RGB: 3) from the whole Source into Dest.
void AverageBytes(TIEBitmap* Source, TIEBitmap* Dest, Integer Channels) {
  const Integer Width = Dest->GetWidth(), Height = Dest->GetHeight();
  if (Source->GetWidth() < 1 || Source->GetHeight() < 1 || Width < 1 || Height < 1) return;
  BoxSums(
      Source->GetWidth(), Source->GetHeight(), Channels, Width, Height,
      [&](Integer Y) { return static_cast<const Byte*>(Source->GetScanline(Y)); },
      [&](Integer Y, const UInt64* Sums, const UInt64* Areas) {
        Byte* Out = static_cast<Byte*>(Dest->GetScanline(Y));
        for (Integer X = 0; X < Width; ++X)
          for (Integer C = 0; C < Channels; ++C)
            Out[X * Channels + C] = Average(Sums[X * Channels + C], Areas[X]);
      });
}

// Sums of the 1-bit rectangle (X1, Y1, SW, SH) with a set bit counting 255.
template <class TWrite>
void OneBitSums(TIEBitmap* Source, Integer X1, Integer Y1, Integer SW, Integer SH, Integer Width,
                Integer Height, TWrite Write) {
  std::vector<Byte> Expanded(SW);
  BoxSums(
      SW, SH, 1, Width, Height,
      [&](Integer Y) {
        const Byte* Row = static_cast<const Byte*>(Source->GetScanline(Y1 + Y));
        for (Integer X = 0; X < SW; ++X) {
          const Integer Bit = X1 + X;
          Expanded[X] = (Row[Bit >> 3] & (0x80 >> (Bit & 7))) ? 255 : 0;
        }
        return Expanded.data();
      },
      Write);
}

// Grey pictures average as one channel; every other format averages through a 24-bit copy,
// and Dest becomes 24-bit to take it.
void BuiltInFiltered(TIEBitmap* Source, TIEBitmap* Dest, TResampleFilter) {
  const TIEPixelFormat Format = Source->GetPixelFormat();
  if (Format == ie8g && Dest->GetPixelFormat() == ie8g) {
    AverageBytes(Source, Dest, 1);
    return;
  }
  if (Dest->GetPixelFormat() != ie24RGB && !Dest->Allocate(Dest->GetWidth(), Dest->GetHeight(), ie24RGB))
    return;
  if (Format == ie24RGB) {
    AverageBytes(Source, Dest, 3);
    return;
  }
  TIEBitmap Colors;
  if (!Colors.Allocate(Source->GetWidth(), Source->GetHeight(), ie24RGB)) return;
  Colors.CopyAndConvertFormat(Source);
  AverageBytes(&Colors, Dest, 3);
}

void BuiltInGray8(TIEBitmap* Source, TIEBitmap* Dest, TResampleFilter) {
  AverageBytes(Source, Dest, 1);
}

void BuiltInOneBit(TIEBitmap* Source, TIEBitmap* Dest, TResampleFilter Filter) {
  const Integer Width = Dest->GetWidth(), Height = Dest->GetHeight();
  if (Source->GetWidth() < 1 || Source->GetHeight() < 1 || Width < 1 || Height < 1) return;
  if (Dest->GetPixelFormat() == ie24RGB) {
    IEResample1BitToGray24(Source, 0, 0, Source->GetWidth() - 1, Source->GetHeight() - 1, Dest);
    return;
  }
  // A box turns white when all its pixels are (keeping black) or any is (keeping white).
  const bool KeepWhite = Filter == rfProjectWB;
  OneBitSums(Source, 0, 0, Source->GetWidth(), Source->GetHeight(), Width, Height,
             [&](Integer Y, const UInt64* Sums, const UInt64* Areas) {
               Byte* Out = static_cast<Byte*>(Dest->GetScanline(Y));
               std::fill(Out, Out + (Width + 7) / 8, 0);
               for (Integer X = 0; X < Width; ++X) {
                 const bool White = KeepWhite ? Sums[X] > 0 : Sums[X] == Areas[X] * 255;
                 if (White) Out[X >> 3] |= 0x80 >> (X & 7);
               }
             });
}

}  // namespace

void IEResampleFiltered(TIEBitmap* Source, TIEBitmap* Dest, TResampleFilter Filter,
                        TIEProgressEvent OnProgress, TObject* Sender) {
  if (IEResampleHooks.Filtered)
    IEResampleHooks.Filtered(Source, Dest, Filter, OnProgress, Sender);
  else
    BuiltInFiltered(Source, Dest, Filter);
}

void IEResampleGray8(TIEBitmap* Source, TIEBitmap* Dest, TResampleFilter Filter) {
  (IEResampleHooks.Gray8 ? IEResampleHooks.Gray8 : BuiltInGray8)(Source, Dest, Filter);
}

void IEResample1Bit(TIEBitmap* Source, TIEBitmap* Dest, TResampleFilter Filter) {
  (IEResampleHooks.OneBit ? IEResampleHooks.OneBit : BuiltInOneBit)(Source, Dest, Filter);
}

void IEResample1BitToGray24(TIEBitmap* Source, Integer X1, Integer Y1, Integer X2, Integer Y2,
                            TIEBitmap* Dest) {
  const Integer Width = Dest->GetWidth(), Height = Dest->GetHeight();
  const Integer SourceWidth = Source->GetWidth(), SourceHeight = Source->GetHeight();
  if (SourceWidth < 1 || SourceHeight < 1 || Width < 1 || Height < 1) return;
  const double Fx = static_cast<double>(X2 - X1 + 1) / Width;
  const double Fy = static_cast<double>(Y2 - Y1 + 1) / Height;
  // Neighbouring windows share their border row and column; truncation is toward zero.
  auto Column = [&](double V) { return std::clamp(X1 + static_cast<Integer>(V), 0, SourceWidth - 1); };
  auto Row = [&](double V) {
    return std::min(std::clamp(static_cast<Integer>(V), 0, SourceHeight - 1) + Y1, SourceHeight - 1);
  };
  std::vector<Integer> FromX(Width), ToX(Width);
  for (Integer J = 0; J < Width; ++J) {
    FromX[J] = Column(Fx * J - Fx / 2);
    ToX[J] = std::max(FromX[J], Column(Fx / 2 + Fx * J));
  }
  const Integer Left = FromX.front(), Right = ToX.back();
  std::vector<Integer> SetInColumn(static_cast<size_t>(Right - Left + 1));
  for (Integer I = 0; I < Height; ++I) {
    const Integer FromY = Row(Fy * I - Fy / 2);
    const Integer ToY = std::max(FromY, Row(static_cast<Integer>(Fy) / 2 + Fy * I));
    std::fill(SetInColumn.begin(), SetInColumn.end(), 0);
    for (Integer Y = FromY; Y <= ToY; ++Y) {
      const Byte* Bits = static_cast<const Byte*>(Source->GetScanline(Y));
      for (Integer X = Left; X <= Right; ++X) SetInColumn[X - Left] += (Bits[X >> 3] >> (7 - (X & 7))) & 1;
    }
    auto* Out = static_cast<TIERGBTriple*>(Dest->GetScanline(I));
    const Integer Rows = ToY - FromY + 1;
    for (Integer J = 0; J < Width; ++J) {
      Int64 Set = 0;
      for (Integer X = FromX[J]; X <= ToX[J]; ++X) Set += SetInColumn[X - Left];
      const auto V = static_cast<Byte>(255 * Set / (Int64{Rows} * (ToX[J] - FromX[J] + 1)));
      Out[J] = {V, V, V};
    }
  }
}

std::unique_ptr<TIEBitmap> IEResampleRectForDrawing(TIEBitmap* Source, Integer SX, Integer SY, Integer SW,
                                                    Integer SH, Integer Width, Integer Height,
                                                    TResampleFilter Filter, bool WithAlpha) {
  const TIEPixelFormat Format = Source->GetPixelFormat();
  const bool Projecting = Filter == rfProjectBW || Filter == rfProjectWB;
  auto Result = std::make_unique<TIEBitmap>();
  if (Format == ie1g && SW >= Width && !WithAlpha && !Projecting) {
    // A 1-bit reduction shows the share of white as grey.
    if (!Result->Allocate(Width, Height, ie24RGB)) return nullptr;
    IEResample1BitToGray24(Source, SX, SY, SX + SW - 1, SY + SH - 1, Result.get());
    return Result;
  }
  TIEBitmap Rect;
  if (!Rect.Allocate(SW, SH, Format)) return nullptr;
  Source->CopyRectTo(&Rect, SX, SY, 0, 0, SW, SH);
  const TIEPixelFormat ResultFormat = Format == ie1g && Projecting ? ie1g : ie24RGB;
  if (!Result->Allocate(Width, Height, ResultFormat)) return nullptr;
  if (Format == ie1g)
    IEResample1Bit(&Rect, Result.get(), Filter);
  else
    IEResampleFiltered(&Rect, Result.get(), Filter);
  if (WithAlpha && Source->HasAlphaChannel()) {
    TIEBitmap* SourceAlpha = Source->GetAlphaChannel();
    TIEBitmap* RectAlpha = Rect.GetAlphaChannel();
    SourceAlpha->CopyRectTo(RectAlpha, SX, SY, 0, 0, SW, SH);
    TIEBitmap* ResultAlpha = Result->GetAlphaChannel();
    if (!RectAlpha || !ResultAlpha || ResultAlpha->IsEmpty()) return nullptr;
    IEResampleGray8(RectAlpha, ResultAlpha, Filter);
    ResultAlpha->SetFull(SourceAlpha->GetFull());
  }
  for (Integer C = 0; C < 3; ++C) Result->SetChannelOffset(C, Source->GetChannelOffset(C));
  Result->SetAdjustColors(Source->GetAdjustColors());
  Result->SetContrast(Source->GetContrast());
  return Result;
}

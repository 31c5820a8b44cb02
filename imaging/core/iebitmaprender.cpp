// Drawing a rectangle of a bitmap of any format, scaled, into a rectangle of an ie24RGB
// bitmap: clipping, the nearest-neighbour lookups or resampling, then the row renderer of the
// source's format. A paint never fails: exceptions end the drawing silently.
#include <algorithm>
#include <cmath>
#include <limits>

#include "imaging/core/iebitmap.h"
#include "imaging/core/ieresample.h"
#include "platform/classes/Bitmap.h"
#include "platform/system/ScopeExit.h"

namespace {

constexpr Integer UnitStep = 16384;  // 1.0 in the renderers' 16.14 fixed point

Integer ToInteger(Int64 V) {
  return static_cast<Integer>(
      std::clamp<Int64>(V, std::numeric_limits<Integer>::min(), std::numeric_limits<Integer>::max()));
}

Integer FixedStep(Integer Source, Integer Dest) {
  return ToInteger(static_cast<Int64>(static_cast<Double>(Source) / Dest * UnitStep));
}

// One axis of the drawing: destination start and extent, source start and extent. Clipping to
// the destination moves the source along by the ratio R of the extents asked for: the columns
// cut at the start are rounded (halves to even), those cut at the end truncated.
struct TAxis {
  Int64 Dest, DestSize, Src, SrcSize;
  Double R;

  void ClipTo(Integer Limit) {
    if (Dest < 0) {
      const Int64 V = static_cast<Int64>(std::nearbyint(-Dest * R));
      DestSize += Dest;
      SrcSize -= V;
      Src += V;
      Dest = 0;
    }
    if (Dest + DestSize > Limit) {
      SrcSize -= static_cast<Int64>((Dest + DestSize - Limit) * R);
      DestSize = Limit - Dest;
    }
  }
};

// Source index Trunc((I - Start) R + SrcStart), clamped into the source, for I = First..Last.
void BuildLookup(std::vector<Integer>& Table, Integer First, Integer Last, Integer Start, Double R,
                 Integer SrcStart, Integer SrcCount) {
  Table.resize(Last - First + 1);
  for (Integer I = First; I <= Last; ++I) {
    const Double V = static_cast<Double>(I - Start) * R + SrcStart;
    Table[I - First] = V <= 0 ? 0 : (V >= SrcCount - 1 ? SrcCount - 1 : static_cast<Integer>(V));
  }
}

// A caller's lookup starts at Base: the last index (from First) up to which every entry it
// holds lies inside the source.
Integer LastInsideLookup(const std::vector<Integer>& Table, Integer Base, Integer First, Integer Last,
                         Integer SrcCount) {
  for (Integer I = First; I <= Last; ++I) {
    const Int64 Index = static_cast<Int64>(I) - Base;
    if (Index >= static_cast<Int64>(Table.size()) || Table[Index] < 0 || Table[Index] >= SrcCount)
      return I - 1;
  }
  return Last;
}

}  // namespace

void TIEBitmap::RenderToTIEBitmap(TIEBitmap* Dest, std::vector<Byte*>& DestRows,
                                  std::vector<Integer>& ColumnLookup, std::vector<Integer>& RowLookup,
                                  const TRect* Clip, Integer DestX, Integer DestY, Integer DestWidth,
                                  Integer DestHeight, Integer SrcX, Integer SrcY, Integer SrcWidth,
                                  Integer SrcHeight, bool EnableAlpha, bool RowCopy, Integer Transparency,
                                  TResampleFilter Filter, bool FreeTables, Byte BlendOp) {
  // Every destination row must stay addressable at once: a temporary file cannot do that.
  if (!Dest || Dest == this || Dest->GetPixelFormat() != ie24RGB || Dest->GetLocation() == ieFile) return;
  // Rows of a temporary file are only read: never written back.
  const Byte SourceAccess = GetAccess();
  SetAccess(iedRead);
  auto RestoreAccess = ScopeExit([&] { SetAccess(SourceAccess); });

  const Integer DW = Dest->GetWidth(), DH = Dest->GetHeight(), SourceW = GetWidth(), SourceH = GetHeight();
  if (DestWidth == 0 || DestHeight == 0 || SrcWidth == 0 || SrcHeight == 0) return;
  if (DestY > DH - 1 || DestX > DW - 1) return;
  TAxis AX{DestX, DestWidth, SrcX, SrcWidth, static_cast<Double>(SrcWidth) / DestWidth};
  TAxis AY{DestY, DestHeight, SrcY, SrcHeight, static_cast<Double>(SrcHeight) / DestHeight};
  AX.ClipTo(DW);
  AY.ClipTo(DH);
  const Integer X0 = ToInteger(std::clamp<Int64>(AX.Dest, 0, DW - 1));
  const Integer Y0 = ToInteger(std::clamp<Int64>(AY.Dest, 0, DH - 1));
  const Integer W = ToInteger(std::clamp<Int64>(AX.DestSize, 0, DW));
  const Integer H = ToInteger(std::clamp<Int64>(AY.DestSize, 0, DH));
  const Integer SX = ToInteger(std::clamp<Int64>(AX.Src, 0, std::max(SourceW - 1, 0)));
  const Integer SY = ToInteger(std::clamp<Int64>(AY.Src, 0, std::max(SourceH - 1, 0)));
  const Integer SW = ToInteger(std::clamp<Int64>(AX.SrcSize, 0, SourceW));
  const Integer SH = ToInteger(std::clamp<Int64>(AY.SrcSize, 0, SourceH));
  if (W == 0 || H == 0 || SW == 0 || SH == 0) return;
  Transparency = std::clamp(Transparency, 0, 255);
  const TIEPixelFormat Format = GetPixelFormat();

  try {
    if (Filter != rfNone && (W != SW || H != SH) && (Format == ie1g || Format == ie24RGB)) {
      // Resampled into a temporary of the drawn size (only what lies inside the source), then
      // drawn unscaled.
      const auto Resampled =
          IEResampleRectForDrawing(this, SX, SY, std::min(SW, SourceW - SX), std::min(SH, SourceH - SY), W, H,
                                   Filter, EnableAlpha && HasAlphaChannel());
      if (!Resampled) return;
      std::vector<Byte*> Rows;
      std::vector<Integer> Columns, RowIndexes;
      Resampled->RenderToTIEBitmap(Dest, Rows, Columns, RowIndexes, Clip, X0, Y0, W, H, 0, 0, W, H,
                                   EnableAlpha, RowCopy, Transparency, rfNone, true, BlendOp);
      return;
    }

    const bool OwnRows = DestRows.empty(), OwnColumns = ColumnLookup.empty(),
               OwnRowLookup = RowLookup.empty();
    if (!OwnRows && DestRows.size() < static_cast<std::size_t>(DH)) return;
    auto FreeOwnTables = ScopeExit([&] {
      if (!FreeTables) return;
      if (OwnRows) DestRows.clear();
      if (OwnColumns) ColumnLookup.clear();
      if (OwnRowLookup) RowLookup.clear();
    });
    if (OwnRows) {
      DestRows.resize(DH);
      for (Integer Y = 0; Y < DH; ++Y) DestRows[Y] = static_cast<Byte*>(Dest->GetScanline(Y));
    }
    const std::vector<Byte> TransparencyRow(Transparency < 255 ? SourceW : 0,
                                            static_cast<Byte>(Transparency));
    const Integer YStep = FixedStep(SH, H), XStep = FixedStep(SW, W);

    // The drawn range; Clip's right and bottom are the last column and row drawn.
    Integer X1 = X0, Y1 = Y0, X2 = std::min(X0 + W - 1, DW - 1), Y2 = std::min(Y0 + H - 1, DH - 1);
    if (Clip) {
      X1 = std::max(Clip->Left, X1);
      Y1 = std::max(Clip->Top, Y1);
      X2 = std::min(Clip->Right, X2);
      Y2 = std::min(Clip->Bottom, Y2);
    }
    X1 = std::clamp(X1, 0, DW - 1);
    X2 = std::clamp(X2, 0, DW - 1);
    Y1 = std::clamp(Y1, 0, DH - 1);
    Y2 = std::clamp(Y2, 0, DH - 1);
    if (!OwnColumns) X2 = LastInsideLookup(ColumnLookup, DestX, X1, X2, SourceW);
    if (!OwnRowLookup) Y2 = LastInsideLookup(RowLookup, DestY, Y1, Y2, SourceH);

    // Alpha values are read at source positions: a channel of another size is not used.
    TIEBitmap* Alpha = HasAlphaChannel() ? GetAlphaChannel() : nullptr;
    const bool UseAlpha = EnableAlpha && Alpha && !Alpha->GetFull() && Alpha->GetWidth() == SourceW &&
                          Alpha->GetHeight() == SourceH;
    // Straight row copies, when the rows and columns they read lie inside the source.
    const bool DirectCopy = XStep == UnitStep && YStep == UnitStep && Format == ie24RGB &&
                            Transparency == 255 && !UseAlpha && !GetAdjustColors() && GetContrast() == 0 &&
                            BlendOp == 0 && GetRangeMin() == 0 && GetRangeMax() == 0 && OwnColumns &&
                            OwnRowLookup && SX + (X2 - X0) < SourceW && SY + (Y2 - Y0) < SourceH;

    TIERenderRowsParams P;
    P.DestRows = DestRows.data();
    P.Dest = Dest;
    P.BlendOp = BlendOp;
    P.RowCopy = RowCopy;
    P.YStep = YStep;
    P.XStep = XStep;
    P.X1 = X1;
    P.Y1 = Y1;
    P.X2 = X2;
    P.Y2 = Y2;
    P.DestX = X0;
    P.DestY = Y0;
    P.SrcX = SX;
    P.SrcY = SY;
    P.TransparencyRow = TransparencyRow.empty() ? nullptr : TransparencyRow.data();
    P.UseAlpha = UseAlpha;
    P.Transparency = Transparency;
    if (!DirectCopy && X1 <= X2 && Y1 <= Y2) {
      if (OwnColumns) BuildLookup(ColumnLookup, X1, X2, X0, AX.R, SX, SourceW);
      if (OwnRowLookup) BuildLookup(RowLookup, Y1, Y2, Y0, AY.R, SY, SourceH);
      P.ColumnLookup = ColumnLookup.data() + (OwnColumns ? 0 : X1 - DestX);
      P.RowLookup = RowLookup.data() + (OwnRowLookup ? 0 : Y1 - DestY);
    }
    if (X1 > X2 || Y1 > Y2) return;

    const bool Transparent = Transparency < 255 || UseAlpha;
    switch (Format) {
      case ie24RGB:
        Transparent ? RenderRows24RGBAlpha(P) : RenderRows24RGB(P);
        break;
      case ie32RGB:
        Transparent ? RenderRows32RGBAlpha(P) : RenderRows32RGB(P);
        break;
      case ie1g:
        Transparent ? RenderRows1gAlpha(P) : RenderRows1g(P);
        break;
      case ie8g:
        Transparent ? RenderRows8gAlpha(P) : RenderRows8g(P);
        break;
      case ie8p:
        Transparent ? RenderRows8pAlpha(P) : RenderRows8p(P);
        break;
      case ie16g:
        Transparent ? RenderRows16gAlpha(P) : RenderRows16g(P);
        break;
      case ie32f:
        Transparent ? RenderRows32fAlpha(P) : RenderRows32f(P);
        break;
      case ieCMYK:
        Transparent ? RenderRowsCMYKAlpha(P) : RenderRowsCMYK(P);
        break;
      case ieCIELab:
        Transparent ? RenderRowsCIELabAlpha(P) : RenderRowsCIELab(P);
        break;
      case ieRGB48:
        Transparent ? RenderRowsRGB48Alpha(P) : RenderRowsRGB48(P);
        break;
      case ieNull:
        break;
    }
  } catch (...) {
  }
}

void TIEBitmap::RenderToTBitmap(TBitmap* Dest, std::vector<Byte*>& DestRows,
                                std::vector<Integer>& ColumnLookup, std::vector<Integer>& RowLookup,
                                const TRect* Clip, Integer DestX, Integer DestY, Integer DestWidth,
                                Integer DestHeight, Integer SrcX, Integer SrcY, Integer SrcWidth,
                                Integer SrcHeight, bool EnableAlpha, bool RowCopy, Integer Transparency,
                                TResampleFilter Filter, bool FreeTables, Byte BlendOp) {
  TIEBitmap Wrapper;
  Wrapper.EncapsulateTBitmap(Dest, false);
  RenderToTIEBitmap(&Wrapper, DestRows, ColumnLookup, RowLookup, Clip, DestX, DestY, DestWidth, DestHeight,
                    SrcX, SrcY, SrcWidth, SrcHeight, EnableAlpha, RowCopy, Transparency, Filter, FreeTables,
                    BlendOp);
}

void TIEBitmap::DrawToTIEBitmap(TIEBitmap* Dest, Integer DestX, Integer DestY, Integer DestWidth,
                                Integer DestHeight, Integer SrcX, Integer SrcY, Integer SrcWidth,
                                Integer SrcHeight, Integer Transparency, TResampleFilter Filter,
                                Byte BlendOp) {
  std::vector<Byte*> Rows;
  std::vector<Integer> Columns, RowIndexes;
  RenderToTIEBitmap(Dest, Rows, Columns, RowIndexes, nullptr, DestX, DestY, DestWidth, DestHeight, SrcX, SrcY,
                    SrcWidth, SrcHeight, true, false, Transparency, Filter, true, BlendOp);
}

void TIEBitmap::DrawToTBitmap(TBitmap* Dest, Integer DestX, Integer DestY, Integer DestWidth,
                              Integer DestHeight, Integer SrcX, Integer SrcY, Integer SrcWidth,
                              Integer SrcHeight, Integer Transparency, TResampleFilter Filter, Byte BlendOp) {
  std::vector<Byte*> Rows;
  std::vector<Integer> Columns, RowIndexes;
  RenderToTBitmap(Dest, Rows, Columns, RowIndexes, nullptr, DestX, DestY, DestWidth, DestHeight, SrcX, SrcY,
                  SrcWidth, SrcHeight, true, false, Transparency, Filter, true, BlendOp);
}

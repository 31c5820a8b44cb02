// The strips and tiles of a TIFF page: each located through its offset and byte count, cut to
// what the stream holds, read once and handed to the strip decoder.
#include <algorithm>
#include <climits>

#include "imaging/core/iebitmap.h"
#include "imaging/io/ieioprogress.h"
#include "imaging/io/tiffiltdecode.h"
#include "platform/system/Streams.h"

namespace {

// Where a strip or tile lies in the stream and how many of its bytes the stream holds.
struct TPieceSpan {
  Int64 Position = 0;
  Integer Length = 0;
};

// Offsets[Index] from the directory's base; a missing or zero byte count reaches to the end of
// the stream, MinLength (the rows an uncompressed strip must hold) widens a short one.
TPieceSpan LocatePiece(const TTiffDecodeJob& Job, const std::vector<Integer>& Offsets,
                       const std::vector<Integer>& ByteCounts, size_t Index, Int64 MinLength) {
  TPieceSpan Span;
  const Int64 StreamSize = Job.Dir.Stream->GetSize();
  Span.Position = Job.Dir.Base + static_cast<Cardinal>(Offsets[Index]);
  const Int64 Available = StreamSize - Span.Position;
  if (Available <= 0) return Span;
  Int64 Length = Index < ByteCounts.size() ? static_cast<Cardinal>(ByteCounts[Index]) : 0;
  Length = std::max(Length, MinLength);
  if (Length == 0) Length = Available;
  Span.Length = static_cast<Integer>(std::min({Length, Available, static_cast<Int64>(INT_MAX)}));
  return Span;
}

std::vector<Byte> ReadPiece(const TTiffDecodeJob& Job, const TPieceSpan& Span) {
  std::vector<Byte> Data(static_cast<size_t>(Span.Length));
  if (Span.Length == 0) return Data;
  Job.Dir.Stream->SetPosition(Span.Position);
  Data.resize(static_cast<size_t>(std::max(Job.Dir.Stream->Read(Data.data(), Span.Length), 0)));
  return Data;
}

void StartProgress(TTiffDecodeJob& Job, Integer Height, Integer Pieces) {
  IEStartProgress(Job.Progress, Height);
  Job.Progress.Factor2 = Pieces > 0 ? 100.0 / Pieces : 0.0;
  Job.Pieces = Pieces;
}

// A page of one uncompressed strip of 8-bit samples is read a row at a time rather than whole.
void ReadRowByRow(TTiffDecodeJob& Job, const TPieceSpan& Span) {
  const TTIFFVars& Vars = Job.Vars;
  const Integer RowLength = TiffRowLength(Vars, Vars.Width, false);
  if (RowLength == 0) return;
  std::vector<Byte> Row(static_cast<size_t>(RowLength));
  TStream* Stream = Job.Dir.Stream;
  Stream->SetPosition(Span.Position);
  for (Integer R = 0; R < Vars.Height && !IEIsAborting(Job.Progress); ++R) {
    if (Stream->Read(Row.data(), RowLength) != RowLength) return;
    TiffDecodeStrip(Job, R, 1, Vars.Width, Row.data(), RowLength, 0);
  }
}

void ReadChunkyStrips(TTiffDecodeJob& Job, Integer RowsPerStrip) {
  TTIFFVars& Vars = Job.Vars;
  const bool Uncompressed = Vars.Compression == TiffCompressionNone;
  const Int64 MinLength =
      Uncompressed ? static_cast<Int64>(TiffRowLength(Vars, Vars.Width, false)) * RowsPerStrip : 0;
  Integer FirstRow = 0;
  for (size_t S = 0; S < Vars.StripOffsets.size() && FirstRow < Vars.Height; ++S, FirstRow += RowsPerStrip) {
    const TPieceSpan Span = LocatePiece(Job, Vars.StripOffsets, Vars.StripByteCounts, S, MinLength);
    if (Span.Length > 0) {
      if (Uncompressed && RowsPerStrip == Vars.Height && Vars.BitsPerSample == 8) {
        ReadRowByRow(Job, Span);
      } else {
        std::vector<Byte> Data = ReadPiece(Job, Span);
        TiffDecodeStrip(Job, FirstRow, std::min(RowsPerStrip, Vars.Height - FirstRow), Vars.Width,
                        Data.data(), static_cast<Integer>(Data.size()), 0);
      }
    }
    if (IEIsAborting(Job.Progress)) return;
  }
}

// Planar configuration 2: strip S of plane P is strip P x n + S, n the strips of one plane.
void ReadPlanarStrips(TTiffDecodeJob& Job, Integer RowsPerStrip) {
  TTIFFVars& Vars = Job.Vars;
  const Integer Samples = Vars.SamplesPerPixel;
  if (Samples > TiffMaxPlanes) {
    IESetAborting(Job.Progress);
    return;
  }
  const size_t PerPlane = Vars.StripOffsets.size() / static_cast<size_t>(Samples);
  const Int64 MinLength = Vars.Compression == TiffCompressionNone
                              ? static_cast<Int64>(TiffRowLength(Vars, Vars.Width, true)) * RowsPerStrip
                              : 0;
  Integer FirstRow = 0;
  for (size_t S = 0; S < PerPlane && FirstRow < Vars.Height; ++S, FirstRow += RowsPerStrip) {
    std::vector<std::vector<Byte>> Planes;
    for (Integer P = 0; P < Samples; ++P)
      Planes.push_back(ReadPiece(
          Job, LocatePiece(Job, Vars.StripOffsets, Vars.StripByteCounts, P * PerPlane + S, MinLength)));
    TiffDecodePlanarStrip(Job, FirstRow, std::min(RowsPerStrip, Vars.Height - FirstRow), Vars.Width, Planes);
    if (IEIsAborting(Job.Progress)) return;
  }
}

bool TileFormatPlaceable(TIEPixelFormat Format) {
  return Format == ie24RGB || Format == ie1g || Format == ie8g || Format == ie8p || Format == ie16g;
}

}  // namespace

void TiffReadStrips(const TIFFDirectory& Dir, TTIFFVars& Vars, TIEBitmap* Bitmap, TIEIOProgress& Progress) {
  if (Vars.Width <= 0 || Vars.Height <= 0) return;
  TTiffDecodeJob Job{Dir, Vars, Bitmap, Progress};
  StartProgress(Job, Vars.Height, static_cast<Integer>(Vars.StripOffsets.size()));
  const Integer RowsPerStrip = Vars.RowsPerStrip > 0 ? std::min(Vars.RowsPerStrip, Vars.Height) : Vars.Height;
  // A single sample has the same layout in both configurations.
  if (Vars.PlanarConfig == 1 || (Vars.PlanarConfig == 2 && Vars.SamplesPerPixel == 1))
    ReadChunkyStrips(Job, RowsPerStrip);
  else if (Vars.PlanarConfig == 2)
    ReadPlanarStrips(Job, RowsPerStrip);
}

void TiffReadTiles(const TIFFDirectory& Dir, TTIFFVars& Vars, TIEBitmap* Bitmap, TIEIOProgress& Progress) {
  if (Vars.PlanarConfig == 2) {
    IESetAborting(Progress);
    return;
  }
  if (Vars.PlanarConfig != 1 || Vars.TileWidth <= 0 || Vars.TileLength <= 0 || Vars.Width <= 0 ||
      Vars.Height <= 0)
    return;
  const TIEPixelFormat Format = Bitmap->GetPixelFormat();
  if (!TileFormatPlaceable(Format)) {
    IESetAborting(Progress);
    return;
  }
  TTiffDecodeJob Job{Dir, Vars, Bitmap, Progress};
  StartProgress(Job, Vars.Height, static_cast<Integer>(Vars.TileOffsets.size()));
  // Whole tiles fit at the right and bottom edges of the widened picture.
  Bitmap->SetWidth(Vars.Width + Vars.TileWidth);
  Bitmap->SetHeight(Vars.Height + Vars.TileLength);
  const Integer WantedTile = Vars.IOParams ? Vars.IOParams->TiffTileIndex : -1;
  Integer X = 0, Y = 0;
  for (size_t I = WantedTile < 0 ? 0 : static_cast<size_t>(WantedTile);
       I < Vars.TileOffsets.size() && Y < Vars.Height; ++I) {
    std::vector<Byte> Data = ReadPiece(Job, LocatePiece(Job, Vars.TileOffsets, Vars.TileByteCounts, I, 0));
    TiffDecodeStrip(Job, Y, Vars.TileLength, Vars.TileWidth, Data.data(), static_cast<Integer>(Data.size()),
                    X);
    X += Vars.TileWidth;
    if (X >= Vars.Width) {
      X = 0;
      Y += Vars.TileLength;
    }
    if (IEIsAborting(Progress) || WantedTile >= 0) break;
  }
  Bitmap->SetWidth(Vars.Width);
  Bitmap->SetHeight(Vars.Height);
}

// One strip or tile held in memory into the picture: each row decompressed, freed of its
// predictor and handed to the row conversion; planar pages interleave their planes first.
#include <cstring>
#include <memory>

#include "imaging/core/iebitmap.h"
#include "imaging/io/ieioprogress.h"
#include "imaging/io/tiffiltdecode.h"
#include "platform/system/Math.h"

namespace {

constexpr Integer PhotometricWhiteIsZero = 0;
constexpr Integer PhotometricBlackIsZero = 1;

bool IsOneBitGrey(const TTIFFVars& Vars) {
  return (Vars.Photometric == PhotometricWhiteIsZero || Vars.Photometric == PhotometricBlackIsZero) &&
         Vars.SamplesPerPixel == 1 && Vars.BitsPerSample == 1;
}

// Puts sample Plane of each of Width pixels from a plane row into its place in a pixel row.
void InterleavePlane(const Byte* PlaneRow, Byte* Row, Integer Width, Integer Plane, Integer Samples,
                     Integer SampleBytes) {
  const size_t PixelBytes = static_cast<size_t>(Samples) * SampleBytes;
  Byte* Out = Row + static_cast<size_t>(Plane) * SampleBytes;
  if (SampleBytes == 1) {
    for (Integer X = 0; X < Width; ++X, Out += PixelBytes) *Out = PlaneRow[X];
  } else {
    for (Integer X = 0; X < Width; ++X, Out += PixelBytes) std::memcpy(Out, PlaneRow + X * SampleBytes, 2);
  }
}

}  // namespace

void TiffCountRow(TTiffDecodeJob& Job) {
  TIEIOProgress& Progress = Job.Progress;
  const Integer Done = Progress.Counter + 1;
  const auto Percent = static_cast<Integer>(Round(Done * Progress.Factor));
  Progress.Counter = Done;
  if (Percent == Job.LastPercent) return;
  Job.LastPercent = Percent;
  IEReportProgress(Progress, Done);
}

Integer TiffColumnOffset(TIEPixelFormat Format, Integer Column) {
  switch (Format) {
    case ie24RGB:
    case ieCMYK:
    case ieRGB48:
      return Column * 3;
    case ie1g:
      return Column / 8;
    case ie8g:
    case ie8p:
      return Column;
    case ie16g:
      return Column * 2;
    default:
      return -1;
  }
}

void TiffDecodeStrip(TTiffDecodeJob& Job, Integer FirstRow, Integer Rows, Integer Width, Byte* Data,
                     Integer DataLength, Integer Column) {
  TTIFFVars& Vars = Job.Vars;
  if (Vars.Compression == TiffCompressionJpeg) {
    TiffDecodeJpegStrip(Job, FirstRow, Rows, Width, Data, DataLength, Column);
    return;
  }
  const Integer RowLength = TiffRowLength(Vars, Width, false);
  const Integer XOffset = TiffColumnOffset(Job.Bitmap->GetPixelFormat(), Column);
  if (RowLength == 0 || XOffset < 0) return;
  TTiffStripState State(Vars, Data, DataLength, RowLength, Width, Rows, false);
  const bool StopAtDataEnd = IsOneBitGrey(Vars);
  for (Integer R = 0; R < Rows; ++R) {
    const TTiffRowResult Result = TiffDecodeRow(R, State);
    if (Result == TTiffRowResult::Failed) {
      IESetAborting(Job.Progress);
      return;
    }
    if (Result == TTiffRowResult::DataEnded) return;
    TiffUndoPredictor(Vars, State.Row, Width, false);
    TiffConvertRow(Vars, State.Row, Job.Bitmap, FirstRow + R, XOffset, Width);
    TiffCountRow(Job);
    if (IEIsAborting(Job.Progress)) return;
    if (StopAtDataEnd && State.DataPos >= State.DataLength) return;
  }
}

void TiffDecodePlanarStrip(TTiffDecodeJob& Job, Integer FirstRow, Integer Rows, Integer Width,
                           std::vector<std::vector<Byte>>& Planes) {
  TTIFFVars& Vars = Job.Vars;
  const Integer Samples = Vars.SamplesPerPixel;
  const Integer RowLength = TiffRowLength(Vars, Width, true);
  if (RowLength == 0 || Samples > TiffMaxPlanes || static_cast<Integer>(Planes.size()) < Samples) {
    IESetAborting(Job.Progress);
    return;
  }
  std::vector<std::unique_ptr<TTiffStripState>> States;
  for (Integer P = 0; P < Samples; ++P)
    States.push_back(std::make_unique<TTiffStripState>(
        Vars, Planes[P].data(), static_cast<Integer>(Planes[P].size()), RowLength, Width, Rows, true));
  // Samples below 8 bits arrive unpacked, one byte each.
  const Integer SampleBytes = Vars.BitsPerSample > 8 ? 2 : 1;
  std::vector<Byte> PixelRow(static_cast<size_t>(Width) * Samples * SampleBytes);
  for (Integer R = 0; R < Rows; ++R) {
    for (Integer P = 0; P < Samples; ++P) {
      TTiffStripState& State = *States[P];
      const TTiffRowResult Result = TiffDecodeRow(R, State);
      if (Result == TTiffRowResult::Failed) {
        IESetAborting(Job.Progress);
        return;
      }
      if (Result == TTiffRowResult::DataEnded) return;
      TiffUndoPredictor(Vars, State.Row, Width, true);
      InterleavePlane(State.Row, PixelRow.data(), Width, P, Samples, SampleBytes);
    }
    TiffConvertRow(Vars, PixelRow.data(), Job.Bitmap, FirstRow + R, 0, Width);
    TiffCountRow(Job);
    if (IEIsAborting(Job.Progress)) return;
  }
}

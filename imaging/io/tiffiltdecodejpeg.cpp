// JPEG data inside TIFF pages: strips and tiles of compression 7 (each a JPEG stream of its
// own, its tables possibly kept once in the JPEGTables tag) and old-style JPEG pages
// (compression 6, or a whole JPEG stream given by JPEGInterchangeFormat), all decoded by the
// JPEG filter.
#include <algorithm>
#include <climits>

#include "imaging/core/iebitmap.h"
#include "imaging/core/ieprocbase.h"
#include "imaging/io/ieioprogress.h"
#include "imaging/io/jpegfilt.h"
#include "imaging/io/tiffiltdecode.h"
#include "platform/system/Math.h"
#include "platform/system/Streams.h"

namespace {

constexpr Integer PhotometricRGB = 2;

// What the JPEG reader writes into the TIFF's own parameters and a strip must not change.
class TSavedPictureParams {
 public:
  explicit TSavedPictureParams(TIOParamsVals& IOParams)
      : FParams(IOParams),
        FDpiX(IOParams.DpiX),
        FDpiY(IOParams.DpiY),
        FExifXResolution(IOParams.ExifXResolution),
        FExifYResolution(IOParams.ExifYResolution),
        FWidth(IOParams.Width),
        FHeight(IOParams.Height),
        FFileWidth(IOParams.FileWidth),
        FFileHeight(IOParams.FileHeight),
        FImageCount(IOParams.ImageCount) {}
  ~TSavedPictureParams() {
    FParams.SetDpiX(FDpiX);
    FParams.SetDpiY(FDpiY);
    FParams.ExifXResolution = FExifXResolution;
    FParams.ExifYResolution = FExifYResolution;
    FParams.Width = FWidth;
    FParams.Height = FHeight;
    FParams.FileWidth = FFileWidth;
    FParams.FileHeight = FFileHeight;
    FParams.SetImageCount(FImageCount);
  }
  TSavedPictureParams(const TSavedPictureParams&) = delete;
  TSavedPictureParams& operator=(const TSavedPictureParams&) = delete;

 private:
  TIOParamsVals& FParams;
  Integer FDpiX, FDpiY;
  Double FExifXResolution, FExifYResolution;
  Integer FWidth, FHeight, FFileWidth, FFileHeight, FImageCount;
};

// Appends up to Count bytes of Source from Position, cut to its end.
void AppendFrom(TStream* Source, Int64 Position, Int64 Count, TMemoryStream& Dest) {
  const Int64 Available = Source->GetSize() - Position;
  Count = std::min({Count, Available, static_cast<Int64>(INT_MAX)});
  if (Position < 0 || Count <= 0) return;
  std::vector<Byte> Buffer(static_cast<size_t>(Count));
  Source->SetPosition(Position);
  const Integer Got = Source->Read(Buffer.data(), static_cast<Integer>(Count));
  if (Got > 0) Dest.Write(Buffer.data(), Got);
}

// Copies the decoded rectangle into the picture, brought to the picture's format first.
void PlaceDecoded(TIEBitmap& Decoded, TIEBitmap* Bitmap, Integer X, Integer Y, Integer Width, Integer Rows) {
  if (Decoded.IsEmpty()) return;
  if (Decoded.GetPixelFormat() != Bitmap->GetPixelFormat())
    Decoded.ConvertToPixelFormat(Bitmap->GetPixelFormat());
  Decoded.CopyRectTo(Bitmap, 0, 0, X, Y, std::min(Width, Decoded.GetWidth()),
                     std::min(Rows, Decoded.GetHeight()));
}

void ReportPiece(TIEIOProgress& Progress) {
  ++Progress.Counter;
  if (Progress.OnProgress)
    Progress.OnProgress(Progress.Sender, static_cast<Integer>(Progress.Counter * Progress.Factor2));
}

// The directory's strip S as old-style JPEG: the interchange header, from the second strip on
// the first segment of strip 0 (its scan header), then the strip's own bytes.
void BuildOldJpegStrip(const TIFFDirectory& Dir, const TTIFFVars& Vars, size_t S, TMemoryStream& Out) {
  TStream* Stream = Dir.Stream;
  AppendFrom(Stream, Dir.Base + static_cast<Cardinal>(Vars.JPEGInterchangeFormat),
             static_cast<Cardinal>(Vars.JPEGInterchangeFormatLength), Out);
  if (S > 0) {
    const Int64 First = Dir.Base + static_cast<Cardinal>(Vars.StripOffsets[0]);
    Byte Head[4] = {};
    Stream->SetPosition(First);
    if (First < Stream->GetSize() && Stream->Read(Head, 4) == 4)
      AppendFrom(Stream, First, 2 + (Head[2] << 8 | Head[3]), Out);
  }
  const Int64 Count = S < Vars.StripByteCounts.size() ? static_cast<Cardinal>(Vars.StripByteCounts[S]) : 0;
  AppendFrom(Stream, Dir.Base + static_cast<Cardinal>(Vars.StripOffsets[S]), Count, Out);
  Out.SetPosition(0);
}

void ReadOldJpegStrips(const TIFFDirectory& Dir, TTIFFVars& Vars, TIEBitmap* Bitmap,
                       TIEIOProgress& Progress) {
  if (Vars.Width <= 0 || Vars.Height <= 0 || !Bitmap->Allocate(Vars.Width, Vars.Height, ie24RGB)) {
    IESetAborting(Progress);
    return;
  }
  const Integer RowsPerStrip = Vars.RowsPerStrip > 0 ? std::min(Vars.RowsPerStrip, Vars.Height) : Vars.Height;
  const size_t Strips = Vars.StripOffsets.size();
  for (size_t S = 0; S < Strips && static_cast<Int64>(S) * RowsPerStrip < Vars.Height; ++S) {
    if (IEIsAborting(Progress)) return;
    TMemoryStream Data;
    BuildOldJpegStrip(Dir, Vars, S, Data);
    // A strip's own abort flag: a strip that gave more than half of its rows is kept whole.
    TIELocalProgress Local;
    if (Strips == 1) {
      Local.Progress.OnProgress = Progress.OnProgress;
      Local.Progress.Sender = Progress.Sender;
    }
    TIOParamsVals Params;
    TIEBitmap Decoded;
    const Integer Rows = JpegReadStream(&Data, nullptr, &Decoded, Params, Local.Progress, false, false, false,
                                        false, true, false, RowsPerStrip, false);
    if (Local.Aborting && Rows * 2 <= RowsPerStrip) IESetAborting(Progress);
    const Integer FirstRow = static_cast<Integer>(S) * RowsPerStrip;
    const Integer StripRows = std::min(RowsPerStrip, Vars.Height - FirstRow);
    PlaceDecoded(Decoded, Bitmap, 0, FirstRow, Vars.Width, std::min(Rows, StripRows));
    if (Strips > 1 && Progress.OnProgress)
      Progress.OnProgress(Progress.Sender,
                          static_cast<Integer>(Round(static_cast<Double>(S) / Strips * 100)));
  }
}

// One JPEG stream for the whole page, decoded straight into the picture.
void ReadOldJpegStream(const TIFFDirectory& Dir, TTIFFVars& Vars, TIEBitmap* Bitmap,
                       TIEIOProgress& Progress) {
  const Cardinal Start = Vars.JPEGInterchangeFormat != 0 || Vars.StripOffsets.empty()
                             ? static_cast<Cardinal>(Vars.JPEGInterchangeFormat)
                             : static_cast<Cardinal>(Vars.StripOffsets[0]);
  TStream* Stream = Dir.Stream;
  const Int64 Position = Dir.Base + Start;
  if (Position >= Stream->GetSize()) {
    IESetAborting(Progress);
    return;
  }
  Stream->SetPosition(Position);
  TMemoryStream Data;
  AppendFrom(Stream, Position, JpegStreamLength(Stream), Data);
  Data.SetPosition(0);
  TIOParamsVals Params;
  JpegReadStream(&Data, nullptr, Bitmap, Params, Progress, false, false, false, false, true, true, -1, false);
}

}  // namespace

void TiffDecodeJpegStrip(TTiffDecodeJob& Job, Integer FirstRow, Integer Rows, Integer Width, const Byte* Data,
                         Integer DataLength, Integer Column) {
  TTIFFVars& Vars = Job.Vars;
  TIOParamsVals& IOParams = *Vars.IOParams;
  TMemoryStream Strip;
  Strip.Write(Data, DataLength);
  const bool HasTables = !Vars.JPEGTables.empty();
  TMemoryStream Tables;
  if (HasTables) Tables.Write(Vars.JPEGTables.data(), static_cast<Integer>(Vars.JPEGTables.size()));
  // Stored RGB components are asked for as they are and put in the picture's order afterwards.
  // The codec refuses that for data it knows to be RGB, which it then converts itself: such a
  // strip is decoded a second time the plain way.
  bool RawRGB = HasTables && Vars.Photometric == PhotometricRGB;
  TIEBitmap Decoded(Width, Rows, ie24RGB);
  bool Failed = IEIsAborting(Job.Progress);
  for (Integer Attempt = 0; Attempt < 2 && !IEIsAborting(Job.Progress); ++Attempt) {
    Strip.SetPosition(0);
    Tables.SetPosition(0);
    TIELocalProgress Local;
    if (Job.Pieces == 1) {
      Local.Progress.OnProgress = Job.Progress.OnProgress;
      Local.Progress.Sender = Job.Progress.Sender;
    }
    TSavedPictureParams Saved(IOParams);
    try {
      JpegReadStream(&Strip, HasTables ? &Tables : nullptr, &Decoded, IOParams, Local.Progress, false, RawRGB,
                     false, true, false, true, -1, IOParams.NativePixelFormat);
    } catch (const EIEJpegException&) {
      Local.Aborting = true;
    }
    Failed = Local.Aborting;
    if (!Failed || !RawRGB) break;
    RawRGB = false;
  }
  if (Job.Pieces != 1) ReportPiece(Job.Progress);
  if (Failed) IESetAborting(Job.Progress);
  if (IEIsAborting(Job.Progress)) return;
  if (RawRGB && Decoded.GetPixelFormat() == ie24RGB)
    for (Integer Y = 0; Y < Decoded.GetHeight(); ++Y)
      IESwapRedBlue(static_cast<Byte*>(Decoded.GetScanline(Y)), Decoded.GetWidth());
  PlaceDecoded(Decoded, Job.Bitmap, Column, FirstRow, Width, Rows);
}

void TiffReadOldJpeg(const TIFFDirectory& Dir, TTIFFVars& Vars, TIEBitmap* Bitmap, TIEIOProgress& Progress) {
  if (!Vars.StripByteCounts.empty() && !Vars.StripOffsets.empty())
    ReadOldJpegStrips(Dir, Vars, Bitmap, Progress);
  else
    ReadOldJpegStream(Dir, Vars, Bitmap, Progress);
}

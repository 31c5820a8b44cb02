// JpegReadStream: header, scale and colour space to the parameters, rows into the bitmap, and
// the markers with their metadata afterwards, also when the read failed part-way.
#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <new>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/core/ieconvertcolorrow.h"
#include "imaging/core/ieexif.h"
#include "imaging/core/ieicc.h"
#include "imaging/core/ieiptc.h"
#include "imaging/core/iemarkerlist.h"
#include "imaging/core/iexmp.h"
#include "imaging/io/ieiolibrary.h"
#include "imaging/io/ieioprogress.h"
#include "imaging/io/jpegfilt.h"
#include "imaging/io/jpegfiltcodec.h"
#include "imaging/io/jpegfiltrows.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/Streams.h"

namespace {

// Pixels one byte of coded data can stand for at most: every 8 x 8 block of the largest
// component costs at least one bit, and a component may be sampled 16 times finer than the
// first. A header claiming more than its data can hold is refused before anything of that
// size is allocated.
constexpr Int64 MaxPixelsPerCodedByte = 8 * 64 * 16;

// The codec's decompressor with its error manager; destroyed, and its source freed, however
// the read ends.
class TDecompressor {
 public:
  explicit TDecompressor(bool* Aborting) {
    JpegInitErrorManager(FErrors, Aborting);
    FInfo.err = &FErrors.Pub;
  }
  ~TDecompressor() { Destroy(); }
  TDecompressor(const TDecompressor&) = delete;
  TDecompressor& operator=(const TDecompressor&) = delete;

  bool Create() { return FCreated = JpegStepCreateDecompress(&FInfo); }
  void Destroy() {
    if (FCreated) jpeg_destroy_decompress(&FInfo);
    FCreated = false;
    JpegFreeStreamSource(&FInfo);
  }
  // Failures past this point no longer touch the caller's flag.
  void DetachAbortFlag() { FErrors.Aborting = nullptr; }

  jpeg_decompress_struct* Info() { return &FInfo; }
  const JpegErrorManager& Errors() const { return FErrors; }

 private:
  jpeg_decompress_struct FInfo{};
  JpegErrorManager FErrors;
  bool FCreated = false;
};

// The codec's colour space of the file, as the parameters name it.
struct TColorSpaceMapping {
  Byte ParamsColorSpace;
  Integer SamplesPerPixel;
  J_COLOR_SPACE Delivered;
};

bool MapColorSpace(J_COLOR_SPACE FileSpace, TColorSpaceMapping& Mapping) {
  switch (FileSpace) {
    case JCS_GRAYSCALE:
      Mapping = {1, 1, JCS_GRAYSCALE};
      return true;
    case JCS_RGB:
      Mapping = {0, 3, JCS_EXT_BGR};
      return true;
    case JCS_YCbCr:
      Mapping = {2, 3, JCS_EXT_BGR};
      return true;
    case JCS_CMYK:
      Mapping = {3, 4, JCS_CMYK};
      return true;
    case JCS_YCCK:
      Mapping = {4, 4, JCS_CMYK};
      return true;
    default:
      return false;
  }
}

// The scale denominator: fixed by JpegScale 1..4, or with 0 the smallest picture that still
// covers the size the caller asked for.
Integer ScaleDenominator(Byte JpegScale, Integer CodedWidth, Integer CodedHeight, Integer WantedWidth,
                         Integer WantedHeight) {
  if (JpegScale >= 1 && JpegScale <= 4) return 1 << (JpegScale - 1);
  if (JpegScale != 0 || WantedWidth <= 0 || WantedHeight <= 0) return 1;
  for (Integer Shift = 3; Shift >= 0; --Shift)
    if ((CodedWidth >> Shift) >= WantedWidth && (CodedHeight >> Shift) >= WantedHeight) return 1 << Shift;
  return 1;
}

void SetResolutionFromDensity(const jpeg_decompress_struct& Info, TIOParamsVals& IOParams) {
  switch (Info.density_unit) {
    case 0:
    case 1:
      IOParams.SetDpiX(Info.X_density);
      IOParams.SetDpiY(Info.Y_density);
      break;
    case 2:  // dots per centimetre
      IOParams.SetDpiX(static_cast<Integer>(Info.X_density * 2.54));
      IOParams.SetDpiY(static_cast<Integer>(Info.Y_density * 2.54));
      break;
    default:
      break;
  }
}

bool ClaimsMoreThanDataHolds(const jpeg_decompress_struct& Info, Int64 DataBytes) {
  const Int64 Pixels = static_cast<Int64>(Info.image_width) * Info.image_height;
  return Pixels * Info.num_components > std::numeric_limits<Integer>::max() ||
         Pixels > DataBytes * MaxPixelsPerCodedByte;
}

Int64 BytesFrom(TStream* Stream, Int64 Start) {
  const Int64 Size = Stream->GetSize();
  return Size > Start ? Size - Start : 0;
}

// Every saved marker in file order, except the first APP0 (the JFIF header, which the writer
// makes itself).
void KeepMarkers(const jpeg_decompress_struct& Info, TIEMarkerList& List) {
  List.Clear();
  bool SkippedJfif = false;
  for (jpeg_saved_marker_ptr Marker = Info.marker_list; Marker != nullptr; Marker = Marker->next) {
    if (Marker->marker == JPEG_APP0 && !SkippedJfif) {
      SkippedJfif = true;
      continue;
    }
    List.AddMarker(Marker->marker, Marker->data, static_cast<Integer>(Marker->data_length));
  }
}

void DeleteMarkers(TIEMarkerList& List, Byte MarkerByte) {
  for (Integer I = List.Count() - 1; I >= 0; --I)
    if (List.GetMarkerType(I) == MarkerByte) List.DeleteMarker(I);
}

// Trunc of an EXIF resolution, which the file may make as large as it likes: held at the ends
// of the Integer range (a NaN gives 0).
Integer ResolutionFrom(Double Value) {
  if (std::isnan(Value)) return 0;
  return static_cast<Integer>(
      std::clamp<Double>(Value, std::numeric_limits<Integer>::min(), std::numeric_limits<Integer>::max()));
}

// IPTC, EXIF and XMP from the first marker of their kind that holds them.
void ReadMarkerMetadata(TIEBitmap* Bitmap, TIOParamsVals& IOParams) {
  TIEMarkerList& List = *IOParams.JpegMarkerList;
  for (Integer I = 0; I < List.Count(); ++I)
    if (List.GetMarkerType(I) == IEJpegAPP13 &&
        IOParams.IPTCInfo->LoadFromBuffer(List.GetMarkerData(I), List.GetMarkerLength(I)))
      break;
  for (Integer I = 0; I < List.Count(); ++I) {
    if (List.GetMarkerType(I) != IEJpegAPP1) continue;
    // The EXIF reader may set the resolution itself; the file's own density comes first.
    const Integer DpiX = IOParams.DpiX;
    const Integer DpiY = IOParams.DpiY;
    if (!IELoadEXIFFromBuffer(List.GetMarkerData(I), List.GetMarkerLength(I), IOParams)) continue;
    if (DpiX == 1 && DpiY == 1) {
      // The EXIF reader already gives the resolution per inch, whatever the block's unit.
      IOParams.SetDpiX(ResolutionFrom(IOParams.ExifXResolution));
      IOParams.SetDpiY(ResolutionFrom(IOParams.ExifYResolution));
    } else {
      IOParams.SetDpiX(DpiX);
      IOParams.SetDpiY(DpiY);
    }
    if (IOParams.JpegApplyExifOrientation && Bitmap != nullptr) {
      IEApplyEXIFOrientation(Bitmap, IOParams.ExifOrientation);
      IOParams.SetExifOrientation(1);
    }
    break;
  }
  for (Integer I = 0; I < List.Count(); ++I)
    if (List.GetMarkerType(I) == IEJpegAPP1 &&
        IEFindXMPData(List.GetMarkerData(I), List.GetMarkerLength(I)) != nullptr &&
        IELoadXMPFromAPP1(List.GetMarkerData(I), List.GetMarkerLength(I), IOParams.XmpInfo))
      break;
}

// Everything one read needs besides the codec.
struct TReadJob {
  TStream* Stream;
  TIEBitmap* Bitmap;
  TIOParamsVals& IOParams;
  TIEIOProgress& Progress;
  bool Preview;
  bool RawYCbCr;
  bool InvertCMYK;
  bool ColorManaged;
  Integer MaxRows;
  bool NativePixelFormat;
};

TIEPixelFormat BitmapFormatFor(J_COLOR_SPACE Delivered, bool NativePixelFormat) {
  if (!NativePixelFormat) return ie24RGB;
  if (Delivered == JCS_GRAYSCALE) return ie8g;
  if (Delivered == JCS_CMYK) return ieCMYK;
  return ie24RGB;
}

// The rows: decoded straight into the bitmap's rows where the codec delivers the bitmap's own
// layout, else into one row buffer and converted from there.
Integer DecodeRows(jpeg_decompress_struct& Info, const TReadJob& Job) {
  const auto Width = static_cast<Integer>(Info.output_width);
  const auto Height = static_cast<Integer>(Info.output_height);
  // A colour space the codec does not name gives no pixels: nothing is there to show.
  if (Info.out_color_space == JCS_UNKNOWN ||
      !Job.Bitmap->Allocate(Width, Height, BitmapFormatFor(Info.out_color_space, Job.NativePixelFormat))) {
    IESetAborting(Job.Progress);
    return 0;
  }
  const Integer MaxRows = Job.MaxRows < 0 ? Height : Job.MaxRows;
  const bool CMYKTo24 = Info.out_color_space == JCS_CMYK && Job.Bitmap->GetPixelFormat() == ie24RGB;
  const bool Managed = Job.ColorManaged && Info.out_color_space == JCS_EXT_BGR;
  const bool ThroughBuffer = CMYKTo24 || Managed;
  std::vector<Byte> Buffer(ThroughBuffer ? static_cast<size_t>(Width) * 4 : 0);

  IEStartProgress(Job.Progress, Height);
  Integer LastPercent = -1;
  Integer Rows = 0;
  while (static_cast<Integer>(Info.output_scanline) < Height && Rows < MaxRows) {
    auto* Row = static_cast<Byte*>(Job.Bitmap->GetScanline(Rows));
    JSAMPROW Target = ThroughBuffer ? Buffer.data() : Row;
    JDIMENSION Read = 0;
    if (!JpegStepReadRows(&Info, &Target, 1, &Read) || Read == 0) break;
    if (CMYKTo24) {
      if (IEIsAborting(Job.Progress)) break;
      JpegCMYKRowToBGR(Buffer.data(), Row, Width, Job.InvertCMYK, Job.IOParams);
    } else if (Managed) {
      JpegManagedRowToBGR(Buffer.data(), Row, Width, Job.IOParams);
    }
    Rows += static_cast<Integer>(Read);
    Job.Progress.Counter = Rows;
    const auto Percent = static_cast<Integer>(Rows * Job.Progress.Factor);
    if (Job.Progress.OnProgress && Percent != LastPercent) {
      LastPercent = Percent;
      IEReportProgress(Job.Progress, Rows);
    }
    if (IEIsAborting(Job.Progress)) break;
  }
  if (Rows < MaxRows) IESetAborting(Job.Progress);
  return Rows;
}

// Header to rows; returns the rows decoded. Any failure has set the abort flag when it returns.
Integer Decode(jpeg_decompress_struct& Info, const TReadJob& Job, Int64 Start, Integer WantedWidth,
               Integer WantedHeight) {
  TIOParamsVals& IOParams = Job.IOParams;
  if (!JpegStepReadHeader(&Info, true, true) || IEIsAborting(Job.Progress)) return 0;

  IOParams.SetImageCount(1);
  IOParams.BitsPerSample = 8;
  TColorSpaceMapping Mapping{};
  if (MapColorSpace(Info.jpeg_color_space, Mapping)) {
    IOParams.JpegColorSpace = Mapping.ParamsColorSpace;
    IOParams.SamplesPerPixel = Mapping.SamplesPerPixel;
    Info.out_color_space = Mapping.Delivered;
  } else {
    Info.out_color_space = JCS_UNKNOWN;
  }
  if (Job.RawYCbCr) Info.out_color_space = JCS_YCbCr;
  // Grey into a 24-bit picture: the codec widens it itself.
  if (Info.out_color_space == JCS_GRAYSCALE && !Job.NativePixelFormat) Info.out_color_space = JCS_EXT_BGR;
  if (IOParams.JpegDCTMethod <= 2) Info.dct_method = static_cast<J_DCT_METHOD>(IOParams.JpegDCTMethod);
  SetResolutionFromDensity(Info, IOParams);
  IOParams.FreeColorMap();
  IOParams.JpegProgressive = Info.progressive_mode != 0;
  IOParams.FileWidth = static_cast<Integer>(Info.image_width);
  IOParams.FileHeight = static_cast<Integer>(Info.image_height);
  Info.scale_num = 1;
  Info.scale_denom = static_cast<unsigned int>(ScaleDenominator(
      IOParams.JpegScale, IOParams.FileWidth, IOParams.FileHeight, WantedWidth, WantedHeight));
  IOParams.JpegScaleUsed = static_cast<Integer>(Info.scale_denom);

  if (Job.Preview) {
    IOParams.Width = IOParams.FileWidth;
    IOParams.Height = IOParams.FileHeight;
    return 0;
  }
  if (ClaimsMoreThanDataHolds(Info, BytesFrom(Job.Stream, Start))) {
    IESetAborting(Job.Progress);
    return 0;
  }
  if (!JpegStepStartDecompress(&Info) || IEIsAborting(Job.Progress)) return 0;
  IOParams.Width = static_cast<Integer>(Info.output_width);
  IOParams.Height = static_cast<Integer>(Info.output_height);
  return DecodeRows(Info, Job);
}

// The EXIF thumbnail in place of the picture; false when the file has none (the stream is
// back at Start and the wanted size restored).
bool ReadExifThumbnail(const TReadJob& Job, Int64 Start) {
  TIOParamsVals& IOParams = Job.IOParams;
  IOParams.FreeExifThumbnail();
  IOParams.SetGetExifThumbnail(false);
  const Integer WantedWidth = IOParams.Width;
  const Integer WantedHeight = IOParams.Height;
  JpegReadStream(Job.Stream, nullptr, Job.Bitmap, IOParams, Job.Progress, true, false, true, false, false,
                 false, -1, Job.NativePixelFormat);
  Job.Stream->SetPosition(Start);
  IOParams.SetGetExifThumbnail(true);
  TIEBitmap* Thumbnail = IOParams.GetExifThumbnail();
  if (Thumbnail != nullptr && !Thumbnail->IsEmpty()) {
    Job.Bitmap->Assign(Thumbnail);
    return true;
  }
  IOParams.Width = WantedWidth;
  IOParams.Height = WantedHeight;
  return false;
}

}  // namespace

Integer JpegReadStream(TStream* Stream, TStream* TablesStream, TIEBitmap* Bitmap, TIOParamsVals& IOParams,
                       TIEIOProgress& Progress, bool Preview, bool RawYCbCr, bool ReadMetadata,
                       bool InvertCMYK, bool DropAppliedICC, bool ReadICCProfile, Integer MaxRows,
                       bool NativePixelFormat) {
  TReadJob Job{Stream,   Bitmap,     IOParams, Progress, Preview,
               RawYCbCr, InvertCMYK, false,    MaxRows,  NativePixelFormat};
  // The thumbnail's own read comes back here with the flag cleared.
  if (IOParams.JpegExifThumbnailOnly && ReadExifThumbnail(Job, Stream->GetPosition())) return 0;

  IOParams.JpegWarningTotal = 0;
  IOParams.JpegWarningCode = 0;
  const Int64 Start = JpegFindSOI(Stream, true);
  if (Start < 0) {
    IESetAborting(Progress);
    return 0;
  }
  Stream->SetPosition(Start);
  if (ReadICCProfile) JpegReadICCProfile(Stream, IOParams);
  Job.ColorManaged = ColorManagementEnabled && IOParams.InputICC != nullptr;
  const Integer WantedWidth = IOParams.Width;
  const Integer WantedHeight = IOParams.Height;

  TDecompressor Decoder(Progress.Aborting);
  jpeg_decompress_struct& Info = *Decoder.Info();
  if (!Decoder.Create()) return 0;
  if (TablesStream != nullptr && TablesStream != Stream) {
    JpegStreamSource(&Info, TablesStream, Progress.Aborting);
    if (!JpegStepReadHeader(&Info, false, false))
      throw EIEJpegException(JpegMessageText(Decoder.Errors().ErrorCode));
  }
  JpegStreamSource(&Info, Stream, Progress.Aborting);

  Integer Rows = 0;
  if (!IEIsAborting(Progress)) {
    try {
      Rows = Decode(Info, Job, Start, WantedWidth, WantedHeight);
    } catch (const Exception&) {
      IESetAborting(Progress);
    } catch (const std::bad_alloc&) {
      IESetAborting(Progress);
    }
  }

  KeepMarkers(Info, *IOParams.JpegMarkerList);
  if (DropAppliedICC && Job.ColorManaged && IOParams.InputICC->IsTransformReady()) {
    IOParams.InputICC->FreeTransform();
    DeleteMarkers(*IOParams.JpegMarkerList, IEJpegAPP2);
  }
  // A read stopped early by MaxRows ends with the decompressor's destruction instead.
  if (!IEIsAborting(Progress) && !Preview && Info.output_scanline >= Info.output_height) {
    Decoder.DetachAbortFlag();
    JpegStepFinishDecompress(&Info);  // an error here leaves a complete picture
  }
  const Integer Warnings = static_cast<Integer>(Decoder.Errors().Pub.num_warnings);
  const Integer WarningCode = Decoder.Errors().WarningCode;
  Decoder.Destroy();
  if (Warnings > 0) {
    IOParams.JpegWarningTotal = Warnings;
    IOParams.JpegWarningCode = WarningCode;
  }
  if (ReadMetadata) ReadMarkerMetadata(Bitmap, IOParams);
  return Rows;
}

// The camera raw reader's entry: the content test and the reader with its options. Each call
// makes its own context; identification fills it, the loader fills Image and the development
// stages turn Image into the picture.
#include <memory>
#include <string>
#include <vector>

#include "imaging/core/hyieutils.h"
#include "imaging/core/iebitmap.h"
#include "imaging/core/ieexif.h"
#include "imaging/core/iestreams.h"
#include "imaging/formats/iecameraraw.h"
#include "imaging/io/ieioprogress.h"
#include "imaging/io/iereadlimits.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/Exceptions.h"
#include "platform/system/Streams.h"

namespace {

constexpr Integer RawReadBufferSize = 8192;
constexpr Integer RawScaleTableSize = 0x10000;
// Cells of the work array: the largest sensor of the camera table is below a quarter of this,
// and no loader packs more than this many samples into one byte of data.
constexpr Int64 RawMaxImageCells = 0x4000000;
constexpr Int64 RawMaxSamplesPerByte = 512;

struct TRawOptions {
  bool HalfSize = false;
  bool Deep = false;
};

void LoadOptions(TCameraRawContext& C, TIOParamsVals& IOParams) {
  C.Gamma = static_cast<Single>(IOParams.RawFactors[0]);
  C.Brightness = static_cast<Single>(IOParams.RawFactors[1]);
  C.RedScale = static_cast<Single>(IOParams.RawFactors[2]);
  C.BlueScale = static_cast<Single>(IOParams.RawFactors[3]);
  C.QuickInterpolate = IOParams.RawFlags[0];
  C.UseAutoWhiteBalance = IOParams.RawFlags[1];
  C.UseCameraWhiteBalance = IOParams.RawFlags[2];
  C.FourColorRgb = IOParams.RawFlags[3];
  C.DocumentMode = 0;
  C.FujiSecondary = 0;
  const TIEBitmap* Thumbnail = IOParams.GetExifThumbnail();
  if (IOParams.RawThumbnailOption && Thumbnail && !Thumbnail->IsEmpty()) C.Brightness = 0.5f;
  C.FujiLayout = 0;
}

void ReadMetadata(TIEBufferedReadStream& Input, TIOParamsVals& IOParams) {
  const Int64 TiffAt = IESearchTIFFHeader(&Input);
  if (TiffAt >= 0) {
    Input.SetPosition(Input.GetPosition() + TiffAt);
    IELoadEXIFFromRawStream(&Input, IOParams);
  } else {
    CiffReadMetadata(&Input, IOParams);
  }
}

void WriteParams(const TCameraRawContext& C, TIOParamsVals& IOParams, bool Deep) {
  IOParams.RawCamera = std::string(C.Make) + " " + C.Model + " " + C.Model2;
  IOParams.SetDpiX(DefaultDpiX);
  IOParams.SetDpiY(DefaultDpiY);
  IOParams.FreeColorMap();
  IOParams.Width = IOParams.FileWidth = C.Width - 2;
  IOParams.Height = IOParams.FileHeight = C.Height - 2;
  IOParams.BitsPerSample = Deep ? 16 : 8;
  IOParams.SamplesPerPixel = 3;
}

// False when the work array would be larger than any sensor or than the data could fill.
bool ImageFits(TCameraRawContext& C) {
  const Int64 Cells = static_cast<Int64>(C.ImageHeight) * C.ImageWidth;
  return Cells > 0 && Cells <= RawMaxImageCells &&
         !IEClaimExceedsData(Cells, 1, RawRemaining(C), RawMaxSamplesPerByte);
}

// Loads and develops the picture into Bitmap; false when the data ends before the picture.
bool DecodePicture(TCameraRawContext& C, TIEBitmap* Bitmap, const TRawOptions& Options,
                   TIOParamsVals& IOParams, std::vector<Double>& ScaleTable) {
  C.Shrink = Options.HalfSize && C.Filters != 0 ? 1 : 0;
  C.ImageHeight = (C.Height + C.Shrink) >> C.Shrink;
  C.ImageWidth = (C.Width + C.Shrink) >> C.Shrink;
  if (!ImageFits(C)) return false;
  std::unique_ptr<Word[][4]> Image(new Word[static_cast<std::size_t>(C.ImageHeight) * C.ImageWidth][4]());
  C.Image = Image.get();
  C.LoadRaw(C);
  if (C.InputEnded) return false;
  C.Height = C.ImageHeight;
  C.Width = C.ImageWidth;
  C.QuickInterpolate = 1;
  if (C.IsFoveon)
    RawFoveonInterpolate(C);
  else
    RawScaleColors(C);
  RawProgressReport(C, 70);
  if (C.Shrink) C.Filters = 0;
  C.Trim = 0;
  if (C.Filters != 0 && !C.DocumentMode) {
    C.Trim = 1;
    RawInterpolate(C);
  }
  RawConvertToRgb(C);
  RawProgressReport(C, 85);
  IOParams.SetImageCount(1);
  RawWritePicture(C, Bitmap, Options.Deep, ScaleTable.data());
  C.Image = nullptr;
  Image.reset();
  RawProgressReport(C, 90);
  if (C.FujiLayout) {
    if (Options.Deep)
      RawFujiRotate48(Bitmap);
    else
      RawFujiRotate24(Bitmap);
  }
  return true;
}

// With the thumbnail preferred: true when the file's EXIF thumbnail became the picture.
bool ReadPreferredThumbnail(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams,
                            TIEIOProgress& Progress) {
  IOParams.FreeExifThumbnail();
  const Int64 Start = Stream->GetPosition();
  IOParams.SetRawUseThumbnail(false);
  CameraRawReadStream(Stream, Bitmap, IOParams, Progress, true);
  IOParams.SetRawUseThumbnail(true);
  TIEBitmap* Thumbnail = IOParams.GetExifThumbnail();
  if (Thumbnail && !Thumbnail->IsEmpty()) {
    Bitmap->Assign(Thumbnail);
    return true;
  }
  Stream->SetPosition(Start);
  return false;
}

}  // namespace

void RawPrepareContext(TCameraRawContext& Context, TStream* Input) {
  Context = TCameraRawContext{};
  Context.Input = Input;
  Context.InputSize = Input->GetSize();
}

void RawResetDecoderState(TCameraRawContext& Context) {
  Context.BitBuffer = 0;
  Context.BitCount = 0;
  Context.LeafCount = 0;
  Context.RadcSource = nullptr;
  for (TRawDecodeNode*& Start : Context.RadcStart) Start = nullptr;
  Context.RadcNode = nullptr;
  Context.VngCode = nullptr;
}

bool CameraRawIsFile(TStream* Stream) {
  const Int64 Position = Stream->GetPosition();
  auto Context = std::make_unique<TCameraRawContext>();
  bool Identified = false;
  try {
    RawPrepareContext(*Context, Stream);
    Identified = RawIdentify(*Context) == 0;
  } catch (const Exception&) {
    // A parser that gives up on damaged data: not a raw file.
  }
  Stream->SetPosition(Position);
  return Identified;
}

void CameraRawReadStream(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, TIEIOProgress& Progress,
                         bool Preview) {
  if (IOParams.RawUseThumbnail && ReadPreferredThumbnail(Stream, Bitmap, IOParams, Progress)) return;
  TIEBufferedReadStream Input(Stream, RawReadBufferSize, true);
  ReadMetadata(Input, IOParams);

  auto Context = std::make_unique<TCameraRawContext>();
  TCameraRawContext& C = *Context;
  RawPrepareContext(C, &Input);
  RawResetDecoderState(C);
  LoadOptions(C, IOParams);
  C.Progress = Progress;
  Input.SetPosition(0);
  if (RawIdentify(C) != 0) {
    IESetAborting(Progress);
    return;
  }
  std::vector<Double> ScaleTable(RawScaleTableSize);
  // The parameters hold no switch for 16-bit output; pictures come out at 24 bits.
  const TRawOptions Options{IOParams.RawHalfSize, false};
  WriteParams(C, IOParams, Options.Deep);
  if (!Preview && !DecodePicture(C, Bitmap, Options, IOParams, ScaleTable)) {
    IESetAborting(Progress);
    return;
  }
  RawProgressReport(C, 100);
}

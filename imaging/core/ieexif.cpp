#include "imaging/core/ieexif.h"

#include <algorithm>
#include <cstring>

#include "imaging/core/iebitmap.h"
#include "imaging/core/ieexiforient.h"
#include "imaging/core/ieexiftags.h"
#include "imaging/core/ieioparams.h"
#include "imaging/core/iestreams.h"
#include "imaging/core/ietiffbytes.h"
#include "imaging/core/ietiffexif.h"
#include "platform/system/ScopeExit.h"

TIEExifProcs IEExifProcs = {IEExifTiffReadStream, IEExifTiffWriteStream, IEExactFlipBitmap,
                            IEExactRotateBitmap};

namespace {

constexpr Integer SearchWindow = 131072;
constexpr Integer TIFFVersions[] = {42, 20306, 21330};

// A progress record that reports nowhere, with its own abort flag.
struct TQuietProgress {
  bool Aborting = false;
  TIEIOProgress Record;
  TQuietProgress() { Record.Aborting = &Aborting; }
};

void ReadPage(TIEBitmap* Bitmap, TStream* Stream, TIEMetaParams& Params, Integer Index,
              TQuietProgress& Progress, bool ParamsOnly) {
  Params.SetImageIndex(Index);
  Progress.Aborting = false;
  IEExifProcs.TiffReadStream(Bitmap, Stream, Params, Progress.Record, ParamsOnly);
}

// The EXIF thumbnail, made when missing, without a picture.
TIEBitmap* EmptyThumbnail(TIEMetaParams& Params) {
  TIEBitmap* Thumbnail = Params.ExifThumbnailNeeded();
  Thumbnail->FreeImage(true);
  return Thumbnail;
}

}  // namespace

bool IEIsEXIFBlock(const void* Data, Integer Length) {
  return Data && Length >= 5 && std::memcmp(Data, IEEXIFHeader, 5) == 0;
}

void IESaveEXIFToBuffer(TIEMetaParams& Params, std::vector<Byte>& Buffer, bool WithHeader) {
  Buffer.clear();
  TMemoryStream Stream;
  TQuietProgress Progress;
  IEExifProcs.TiffWriteStream(&Stream, false, nullptr, Params, Progress.Record);
  TIEBitmap* Thumbnail = Params.GetExifThumbnail();
  if (Thumbnail && !Thumbnail->IsEmpty()) {
    Stream.Seek(0, soBeginning);
    TIEMetaParams Scratch;
    Scratch.SetImageIndex(1);
    Scratch.TiffCompression = 6;
    IEExifProcs.TiffWriteStream(&Stream, true, Thumbnail, Scratch, Progress.Record);
  }
  if (WithHeader) Buffer.assign(std::begin(IEEXIFHeader), std::end(IEEXIFHeader));
  const auto* Data = static_cast<const Byte*>(Stream.GetMemory());
  Buffer.insert(Buffer.end(), Data, Data + Stream.GetSize());
}

bool IELoadEXIFFromBuffer(const void* Data, Integer Length, TIEMetaParams& Params) {
  if (!IEIsEXIFBlock(Data, Length)) return false;
  TIEMetaParams Scratch;
  TIEMemStream Stream(static_cast<const Byte*>(Data) + std::min(Length, 6), std::max(0, Length - 6));
  TQuietProgress Progress;
  EmptyThumbnail(Params);
  ReadPage(nullptr, &Stream, Scratch, 0, Progress, true);
  IECopyEXIF(Scratch, Params);
  Params.ExifPresent = true;
  TIEBitmap* Thumbnail = Params.ExifThumbnailNeeded();
  Stream.Seek(0, soBeginning);
  ReadPage(Thumbnail, &Stream, Scratch, 1, Progress, false);
  if (Progress.Aborting) Thumbnail->FreeImage(true);
  IEApplyEXIFOrientation(Thumbnail, Params.ExifOrientation);
  return true;
}

Int64 IESearchTIFFHeader(TIEBufferedReadStream* Stream) {
  const Int64 Position = Stream->GetPosition();
  const Int64 StreamSize = Stream->GetSize();
  std::vector<Byte> Window(SearchWindow);
  Window.resize(static_cast<std::size_t>(std::max(0, Stream->Read(Window.data(), SearchWindow))));
  Stream->Seek(Position, soBeginning);
  for (std::size_t I = 0; I + 8 <= Window.size(); ++I) {
    const Byte* P = Window.data() + I;
    if (P[0] != P[1] || (P[0] != 'I' && P[0] != 'M')) continue;
    const bool BigEndian = P[0] == 'M';
    const Integer Version = IEGetWord(P + 2, BigEndian);
    if (IEGetDWord(P + 4, BigEndian) < StreamSize &&
        std::find(std::begin(TIFFVersions), std::end(TIFFVersions), Version) != std::end(TIFFVersions))
      return static_cast<Int64>(I);
  }
  return -1;
}

bool IELoadEXIFFromRawStream(TIEBufferedReadStream* Stream, TIEMetaParams& Params) {
  const Int64 Position = Stream->GetPosition();
  auto Restore = ScopeExit([&] { Stream->Seek(Position, soBeginning); });
  TIEMetaParams Scratch;
  TQuietProgress Progress;
  TIEBitmap* Thumbnail = EmptyThumbnail(Params);
  ReadPage(nullptr, Stream, Scratch, 0, Progress, true);
  IECopyEXIF(Scratch, Params);
  Params.ExifPresent = true;

  TIEBitmap Pages[2];
  for (Integer Index = 0; Index < 2; ++Index) {
    Stream->Seek(Position, soBeginning);
    ReadPage(&Pages[Index], Stream, Scratch, Index, Progress, false);
  }
  // The narrower non-blank page; equal widths give none.
  const Integer W0 = Pages[0].GetWidth(), W1 = Pages[1].GetWidth();
  if (W0 > 0 && (W0 < W1 || W1 == 0) && !Pages[0].IsAllZero())
    Thumbnail->Assign(&Pages[0]);
  else if (W1 > 0 && (W1 < W0 || W0 == 0) && !Pages[1].IsAllZero())
    Thumbnail->Assign(&Pages[1]);
  return true;
}

bool IELoadEXIFFromTIFFStream(TStream* Stream, TIEMetaParams& Params) {
  const Int64 Position = Stream->GetPosition();
  TQuietProgress Progress;
  EmptyThumbnail(Params);
  ReadPage(nullptr, Stream, Params, Params.TiffImageIndex, Progress, true);
  Stream->Seek(Position, soBeginning);
  return true;
}

void IECopyEXIF(TIEMetaParams& Source, TIEMetaParams& Dest) {
  for (const auto& Field : IEExifFields()) IEExifCopyField(Field, Source, Dest);
  Dest.SetExifOrientation(Source.ExifOrientation);
  Dest.SetExifXResolution(Source.ExifXResolution);
  Dest.SetExifYResolution(Source.ExifYResolution);
  Dest.ExifImageDescription = Source.TiffImageDescription;
  Dest.ExifUserComment = Source.ExifUserComment;
  Dest.ExifUserCommentCode = Source.ExifUserCommentCode;
  Dest.ExifTags = Source.ExifTags;
  Dest.ExifPresent = Source.ExifPresent;
  Dest.GetExifMakerNote().Assign(&Source.GetExifMakerNote());
  if (TIEBitmap* Thumbnail = Source.GetExifThumbnail()) Dest.ExifThumbnailNeeded()->Assign(Thumbnail);
}

void IEApplyEXIFOrientation(TIEBitmap* Bitmap, Integer Orientation) {
  switch (Orientation) {
    case 2:
      IEExifProcs.FlipBitmap(Bitmap, 0);
      break;
    case 3:
      IEExifProcs.FlipBitmap(Bitmap, 1);
      IEExifProcs.FlipBitmap(Bitmap, 0);
      break;
    case 4:
      IEExifProcs.FlipBitmap(Bitmap, 1);
      break;
    case 5:  // transposed: the stored first pixel is the upright first pixel
      IEExifProcs.RotateBitmap(Bitmap, -90);
      IEExifProcs.FlipBitmap(Bitmap, 0);
      break;
    case 6:
      IEExifProcs.RotateBitmap(Bitmap, -90);
      break;
    case 7:  // transversed: the stored first pixel is the upright last pixel
      IEExifProcs.RotateBitmap(Bitmap, 90);
      IEExifProcs.FlipBitmap(Bitmap, 0);
      break;
    case 8:
      IEExifProcs.RotateBitmap(Bitmap, 90);
      break;
    default:
      break;
  }
}

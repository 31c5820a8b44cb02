// Reading PSD files: header, colour mode data, image resources and the merged picture; the layer
// section is read by iepsdreadlayers.cpp.
#include <cstring>
#include <memory>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/core/ieconvertcolorrow.h"
#include "imaging/core/ieicc.h"
#include "imaging/core/ieiptc.h"
#include "imaging/formats/iepsd.h"
#include "imaging/formats/iepsdreader.h"
#include "imaging/io/ieioprogress.h"
#include "imaging/io/iereadlimits.h"
#include "imaging/io/jpegfilt.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/Exceptions.h"
#include "platform/system/Streams.h"

namespace {

constexpr Integer PsdDefaultDpi = 96;
constexpr Integer PsdThumbnailHeaderSize = 28;
constexpr Int64 PsdMaxUnpackRatio = 64;  // a 2-byte PackBits packet gives at most 128 bytes

Integer BE16(const Byte* P) {
  return (P[0] << 8) | P[1];
}
Int64 BE32(const Byte* P) {
  return (Int64{P[0]} << 24) | (P[1] << 16) | (P[2] << 8) | P[3];
}

class TPsdReader {
 public:
  TPsdReader(TStream* Stream, TIEBitmap* Work, TIOParamsVals& IOParams, TIEIOProgress& Progress,
             bool LoadLayers, TIEPsdLayerList* Layers)
      : FCursor(Stream),
        FWork(Work),
        FParams(IOParams),
        FProgress(Progress),
        FLoadLayers(LoadLayers),
        FLayers(Layers) {}

  void Run() {
    Byte Header[PsdHeaderSize];
    FCursor.Read(Header, PsdHeaderSize);
    if (!PsdParseHeader(Header, FInfo)) throw TPsdTruncated{};
    SetParameters();
    ReadColorModeData();
    ReadResources();
    PsdReadLayers(FCursor, FInfo, FProgress, FLoadLayers, FLayers);
    const bool LayersRead = FLoadLayers && FLayers && !FLayers->empty();
    if (!LayersRead && FWork && !FThumbnailUsed) ReadMergedPicture();
  }

  // The pictures as ie24RGB (ie1g stays) unless the caller keeps native formats.
  void ConvertPictures() {
    if (FParams.NativePixelFormat) return;
    if (FLayers)
      for (TIEPsdLayer& Layer : *FLayers) ConvertPicture(Layer.Bitmap.get());
    if (FWork && !FThumbnailUsed) ConvertPicture(FWork);
  }

 private:
  void SetParameters() {
    FParams.SetImageCount(1);
    FParams.Width = FParams.FileWidth = FInfo.Columns;
    FParams.Height = FParams.FileHeight = FInfo.Rows;
    FParams.BitsPerSample = FInfo.Depth;
    FParams.SamplesPerPixel = FInfo.Channels;
    FParams.SetDpiX(PsdDefaultDpi);
    FParams.SetDpiY(PsdDefaultDpi);
  }

  void ReadColorModeData() {
    const Int64 Length = FCursor.U32();
    if (Length != 768) {
      FCursor.Skip(Length);
      return;
    }
    const std::vector<Byte> Map = FCursor.Bytes(768);
    FInfo.Palette.resize(256);
    for (Integer I = 0; I < 256; ++I) FInfo.Palette[I] = {Map[512 + I], Map[256 + I], Map[I]};
  }

  void ReadResources() {
    const Int64 Length = FCursor.U32();
    const Int64 End = FCursor.Position() + Length;
    if (End > FCursor.End()) throw TPsdTruncated{};
    while (End - FCursor.Position() >= 12) {
      Byte Head[6];
      FCursor.Read(Head, 6);
      if (std::memcmp(Head, "8BIM", 4) != 0) break;
      const Integer Id = BE16(Head + 4);
      const Integer NameLength = FCursor.U8();
      FCursor.Skip(NameLength + ((NameLength + 1) & 1));  // the name is padded to an even size
      if (End - FCursor.Position() < 4) break;
      const Int64 Size = FCursor.U32();
      if (Size > End - FCursor.Position()) break;
      HandleResource(Id, FCursor.Bytes(Size));
      if (Size & 1 && FCursor.Position() < End) FCursor.Skip(1);
    }
    FCursor.Seek(End);
  }

  void HandleResource(Integer Id, const std::vector<Byte>& Data) {
    const Integer Size = static_cast<Integer>(Data.size());
    switch (Id) {
      case 1005:
        if (Size >= 12) {
          FParams.SetDpiX(static_cast<Integer>(BE32(Data.data()) / 65536));
          FParams.SetDpiY(static_cast<Integer>(BE32(Data.data() + 8) / 65536));
        }
        break;
      case 1028:
        FParams.IPTCInfo->LoadFromBuffer(Data.data(), Size);
        break;
      case 1036:
        if (Size > PsdThumbnailHeaderSize) ReadThumbnail(Data);
        break;
      case 1039:
        FParams.GetInputICC()->LoadFromBuffer(Data.data(), Size);
        FICCRead = true;
        break;
      case 1047:
        if (Size >= 2) FInfo.TransparentIndex = BE16(Data.data());
        break;
      case 1060:
        FParams.XmpInfo.assign(Data.begin(), Data.end());
        break;
      default:
        break;
    }
  }

  void ReadThumbnail(const std::vector<Byte>& Data) {
    TMemoryStream Jpeg;
    Jpeg.Write(Data.data() + PsdThumbnailHeaderSize,
               static_cast<Integer>(Data.size()) - PsdThumbnailHeaderSize);
    Jpeg.SetPosition(0);
    TIOParamsVals ThumbnailParams;
    bool ThumbnailAborting = false;
    TIEIOProgress ThumbnailProgress;
    ThumbnailProgress.Aborting = &ThumbnailAborting;
    TIEBitmap* Thumbnail = FParams.ExifThumbnailNeeded();
    try {
      JpegReadStream(&Jpeg, nullptr, Thumbnail, ThumbnailParams, ThumbnailProgress, false, false, false,
                     false, false, false, -1, false);
    } catch (const Exception&) {
      ThumbnailAborting = true;
    }
    if (ThumbnailAborting) return;
    if (FParams.GetThumbnail && FWork) {
      FWork->Assign(Thumbnail);
      FLoadLayers = false;
      FThumbnailUsed = true;
    }
  }

  void ReadMergedPicture() {
    const Integer Rle = FCursor.U16();
    if (Rle > 1) throw TPsdTruncated{};
    const Integer Rows = FInfo.Rows, Channels = FInfo.Channels;
    const Integer RowBytes = PsdRowBytes(FInfo.Columns, FInfo.Depth);
    std::vector<Word> Counts;
    if (Rle) {
      if (IEClaimExceedsData(Int64{Rows} * Channels, 2, FCursor.Left(), 1)) throw TPsdTruncated{};
      Counts.resize(static_cast<size_t>(Rows) * Channels);
      for (Word& Count : Counts) Count = FCursor.U16();
    }
    const Int64 Ratio = Rle ? PsdMaxUnpackRatio : 1;
    if (IEClaimExceedsData(Rows, RowBytes, FCursor.Left(), Ratio) ||
        !PsdAllocatePicture(FInfo, FInfo.Columns, Rows, FWork))
      throw TPsdTruncated{};
    IEStartProgress(FProgress, Channels);
    for (Integer C = 0; C < Channels; ++C) {
      const TPsdChannelSlot Slot = PsdChannelSlot(FInfo.Mode, FInfo.Depth, C);
      PsdReadChannel(FCursor, Rle ? Counts.data() + static_cast<size_t>(C) * Rows : nullptr, Rows, Slot,
                     FInfo.Depth, FInfo.Columns, FWork);
      IEReportProgress(FProgress, C + 1);
    }
    PsdApplyTransparentIndex(FInfo, FWork);
  }

  void ConvertPicture(TIEBitmap* Picture) {
    if (!Picture || Picture->IsEmpty()) return;
    const TIEPixelFormat Format = Picture->GetPixelFormat();
    if (Format == ie1g || Format == ie24RGB) return;
    TIEICC* Input = FParams.InputICC.get();
    if (FICCRead && ColorManagementEnabled && Input && Input->IsValid() && !Input->GetApplied()) {
      TIEICC* Output = FParams.GetOutputICC();
      if (Output->IsValid() && Input->ConvertBitmap(Picture, ie24RGB, Output)) return;
    }
    Picture->ConvertToPixelFormat(ie24RGB);
  }

  TPsdCursor FCursor;
  TIEBitmap* FWork;
  TIOParamsVals& FParams;
  TIEIOProgress& FProgress;
  bool FLoadLayers;
  TIEPsdLayerList* FLayers;
  TPsdImageInfo FInfo;
  bool FICCRead = false;
  bool FThumbnailUsed = false;
};

}  // namespace

bool PsdParseHeader(const Byte* H, TPsdImageInfo& Info) {
  if (std::memcmp(H, "8BPS", 4) != 0 || BE16(H + 4) != 1) return false;
  Info.Channels = BE16(H + 12);
  Info.Rows = static_cast<Integer>(BE32(H + 14));
  Info.Columns = static_cast<Integer>(BE32(H + 18));
  Info.Depth = BE16(H + 22);
  Info.Mode = BE16(H + 24);
  return Info.Channels >= 1 && Info.Channels <= 24 && Info.Depth >= 1 && Info.Depth <= 16 && Info.Mode < 10 &&
         Info.Rows >= 0 && Info.Columns >= 0;
}

bool PsdAllocatePicture(const TPsdImageInfo& Info, Integer Width, Integer Height, TIEBitmap* Bitmap) {
  const TIEPixelFormat Format = PsdPixelFormatOf(Info.Mode, Info.Depth);
  if (Format == ieNull || Width <= 0 || Height <= 0 || !Bitmap->Allocate(Width, Height, Format)) return false;
  if (Format == ie8p)
    for (Integer I = 0; I < static_cast<Integer>(Info.Palette.size()); ++I)
      Bitmap->SetPaletteColor(I, Info.Palette[I]);
  return true;
}

void PsdApplyTransparentIndex(const TPsdImageInfo& Info, TIEBitmap* Bitmap) {
  if (Info.TransparentIndex < 0 || Bitmap->GetPixelFormat() != ie8p) return;
  TIEBitmap* Alpha = Bitmap->GetAlphaChannel();
  for (Integer Y = 0; Y < Bitmap->GetHeight(); ++Y) {
    const Byte* Row = static_cast<const Byte*>(Bitmap->GetScanline(Y));
    Byte* AlphaRow = static_cast<Byte*>(Alpha->GetScanline(Y));
    for (Integer X = 0; X < Bitmap->GetWidth(); ++X) AlphaRow[X] = Row[X] == Info.TransparentIndex ? 0 : 255;
  }
}

bool PsdIsFile(TStream* Stream) {
  const Int64 Start = Stream->GetPosition();
  Byte Header[PsdHeaderSize];
  const bool Complete = Stream->Read(Header, PsdHeaderSize) == PsdHeaderSize;
  Stream->SetPosition(Start);
  TPsdImageInfo Info;
  return Complete && PsdParseHeader(Header, Info);
}

void PsdReadStream(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, TIEIOProgress& Progress,
                   bool LoadLayers, TIEPsdLayerList* Layers) {
  IEStartProgress(Progress, 100);
  IEReportProgress(Progress, 0);
  // A picture held in a platform bitmap cannot take every pixel format: read into a copy.
  std::unique_ptr<TIEBitmap> Temporary;
  TIEBitmap* Work = Bitmap;
  if (Bitmap && Bitmap->GetLocation() == ieTBitmap) {
    Temporary = std::make_unique<TIEBitmap>();
    Work = Temporary.get();
  }
  TPsdReader Reader(Stream, Work, IOParams, Progress, LoadLayers, Layers);
  try {
    Reader.Run();
  } catch (const TPsdTruncated&) {
    IESetAborting(Progress);
  }
  Reader.ConvertPictures();
  if (Temporary && !Temporary->IsEmpty()) Bitmap->Assign(Temporary.get());
}

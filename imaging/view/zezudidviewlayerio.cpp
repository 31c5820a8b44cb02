// Writing and reading the view's layers as one layer file. Reading decodes the whole file
// before it touches the view, so a refused or damaged file leaves the layers as they were.
#include <cstdlib>
#include <cstring>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iefilebuffer.h"
#include "imaging/core/iestreams.h"
#include "imaging/io/iefileformats.h"
#include "imaging/io/iezlib.h"
#include "imaging/io/zezudidio.h"
#include "imaging/io/zezudidioparams.h"
#include "imaging/view/zezudidview.h"
#include "imaging/view/zezudidviewlayerfields.h"
#include "imaging/view/zezudidviewlayerfile.h"
#include "platform/system/Exceptions.h"
#include "platform/system/ScopeExit.h"
#include "platform/system/Streams.h"

namespace {

bool IsRawCode(Integer Code) {
  return Code == IELayersRaw || Code == IELayersRawCompressed;
}

TIELayerFileRecord RecordOf(const TIELayer& Layer) {
  TIELayerFileRecord R;
  R.Visible = Layer.Visible;
  R.VisibleBox = Layer.VisibleBox;
  R.Transparency = Layer.Transparency;
  R.PosX = Layer.PosX;
  R.PosY = Layer.PosY;
  R.ClipToBackground = Layer.ClipToBackground;
  R.Locked = Layer.Locked;
  R.MagnifierEnabled = Layer.Magnifier.Enabled;
  R.MagnifierRate = Layer.Magnifier.Rate;
  R.MagnifierStyle = Layer.Magnifier.Style;
  R.MagnifierSource = Layer.Magnifier.Source;
  R.BlendOperation = Layer.BlendOperation;
  R.Width = Layer.Width;
  R.Height = Layer.Height;
  R.ResampleFilter = Layer.ResampleFilter;
  R.UseResampleFilter = Layer.UseResampleFilter;
  R.Name = Layer.Name;
  auto& Block = R.UserData.emplace();
  // Only a block the layer owns has a known size; a borrowed reference is not stored.
  if (Layer.UserDataLen > 0 && Layer.UserData) {
    const Byte* First = static_cast<const Byte*>(Layer.UserData);
    Block.assign(First, First + Layer.UserDataLen);
  }
  R.IsMask = Layer.IsMask;
  R.Selectable = Layer.Selectable;
  R.ShadeOutside = Layer.ShadeOutside;
  return R;
}

// Fields the file's version lacks keep the layer's present values.
void ApplyRecord(const TIELayerFileRecord& R, TIELayer& Layer) {
  Layer.Visible = R.Visible;
  Layer.VisibleBox = R.VisibleBox;
  Layer.Transparency = R.Transparency;
  Layer.PosX = R.PosX;
  Layer.PosY = R.PosY;
  Layer.ClipToBackground = R.ClipToBackground;
  Layer.Locked = R.Locked;
  Layer.Magnifier.Enabled = R.MagnifierEnabled;
  Layer.Magnifier.Rate = R.MagnifierRate;
  Layer.Magnifier.Style = R.MagnifierStyle;
  if (R.MagnifierSource) Layer.Magnifier.Source = *R.MagnifierSource;
  Layer.BlendOperation = R.BlendOperation;
  Layer.Width = R.Width;
  Layer.Height = R.Height;
  if (R.ResampleFilter) Layer.ResampleFilter = *R.ResampleFilter;
  if (R.UseResampleFilter) Layer.UseResampleFilter = *R.UseResampleFilter;
  if (R.Name) Layer.Name = *R.Name;
  if (R.UserData) {
    if (Layer.UserDataLen > 0) std::free(Layer.UserData);
    Layer.UserData = nullptr;
    Layer.UserDataLen = 0;
    if (!R.UserData->empty()) {
      Layer.UserData = std::malloc(R.UserData->size());
      if (!Layer.UserData) throw std::bad_alloc();
      std::memcpy(Layer.UserData, R.UserData->data(), R.UserData->size());
      Layer.UserDataLen = static_cast<Integer>(R.UserData->size());
    }
  }
  if (R.IsMask) Layer.IsMask = *R.IsMask;
  if (R.Selectable) Layer.Selectable = *R.Selectable;
  if (R.ShadeOutside) Layer.ShadeOutside = *R.ShadeOutside;
  Layer.ScreenRect = TRect{};
}

// The block of a raw picture: its byte count, then the raw bitmap, deflated when Compressed.
void WriteRawPicture(TStream* Stream, TIEBitmap* Bitmap, bool Compressed) {
  TMemoryStream Temp;
  // Half the raw size up front saves most regrowth; it is only a hint.
  Int64 Hint = static_cast<Int64>(Bitmap->GetHeight()) * Bitmap->GetRowLen() / 2;
  if (Bitmap->HasAlphaChannel()) {
    TIEBitmap* Alpha = Bitmap->GetAlphaChannel();
    Hint += static_cast<Int64>(Alpha->GetHeight()) * Alpha->GetRowLen();
  }
  if (Hint < IEGetMemorySize(true)) {
    try {
      Temp.SetSize(Hint);
    } catch (...) {
    }
  }
  if (Compressed) {
    TZCompressionStream Deflate(&Temp, zcDefault);
    Bitmap->SaveRawToStream(nullptr, &Deflate);
    Deflate.Finish();
  } else {
    Bitmap->SaveRawToStream(nullptr, &Temp);
  }
  const Int64 Length = Temp.GetPosition();
  TIEFieldWriter W;
  W.Int32(static_cast<Integer>(Length));
  W.FlushTo(Stream);
  Temp.SetPosition(0);
  IECopyFrom(Stream, &Temp, Length);
}

// Decoders answer nil for a picture they cannot read, whatever the reason.
std::unique_ptr<TIEBitmap> DecodeRawPicture(const std::vector<Byte>& Data, bool Compressed) try {
  auto Bitmap = std::make_unique<TIEBitmap>();
  TIEMemStream Source(Data.data(), static_cast<Int64>(Data.size()));
  bool Read;
  if (Compressed) {
    TZDecompressionStream Inflate(&Source);
    Read = Bitmap->LoadRawFromStream(nullptr, &Inflate);
  } else {
    Read = Bitmap->LoadRawFromStream(nullptr, &Source);
  }
  return Read ? std::move(Bitmap) : nullptr;
} catch (const Exception&) {
  return nullptr;
}

// A picture written by the I/O component; a mask keeps its own (grey) pixel format.
std::unique_ptr<TIEBitmap> DecodeFormattedPicture(TStream* Stream, Int64 Position, Integer FileType,
                                                  bool NativePixelFormat) try {
  auto Bitmap = std::make_unique<TIEBitmap>();
  std::unique_ptr<TZezudIdIO> IO = TZezudIdIO::CreateFromBitmap(Bitmap.get());
  IO->SetNativePixelFormat(NativePixelFormat);
  Stream->SetPosition(Position);
  IO->LoadFromStreamFormat(Stream, FileType);
  const bool Failed = IO->GetAborting() || Bitmap->GetWidth() == 0 || Bitmap->GetHeight() == 0;
  IO.reset();
  return Failed ? nullptr : std::move(Bitmap);
} catch (const Exception&) {
  return nullptr;
}

// Sets the writer's sample layout from the picture's pixel format.
void SetOutputParamsFor(TIOParamsVals& Params, TIEPixelFormat Format) {
  switch (Format) {
    case ie1g:
      Params.BitsPerSample = 1;
      Params.SamplesPerPixel = 1;
      break;
    case ie8g:
      Params.BitsPerSample = 8;
      Params.SamplesPerPixel = 1;
      Params.JpegColorSpace = 1;
      break;
    default:
      Params.BitsPerSample = 8;
      Params.SamplesPerPixel = 3;
      Params.JpegColorSpace = 2;
      break;
  }
}

}  // namespace

void IERegisterLayersDetection() {
  IEFormatProcs.IsLayersStream = IsLayersStream;
}

void TZezudIdView::SaveLayersToStream(TStream* Stream, Integer BitmapCode) {
  const Integer Code = BitmapCode == ioTIFF ? ioPNG : BitmapCode;
  SyncCurrentLayer();
  const Integer SavedCurrent = FCurrentLayer;
  const bool SavedOnlySelectable = FLayersOnlySelectable;
  // Every layer must be reachable as the current one, whatever its flag.
  FLayersOnlySelectable = false;
  auto Restore = ScopeExit([&] {
    SetLayersCurrent(SavedCurrent);
    FLayersOnlySelectable = SavedOnlySelectable;
  });

  const Integer Count = GetLayersCount();
  TIEFieldWriter W;
  IEWriteLayersHeader(W, TIELayersHeader{IELayersVersion, Code, Count});
  W.FlushTo(Stream);
  std::vector<Int64> PositionFields(static_cast<size_t>(Count));
  for (Integer I = 0; I < Count; ++I) {
    IEWriteLayerRecordFields(W, RecordOf(*FLayers[I]));
    W.FlushTo(Stream);
    PositionFields[I] = Stream->GetPosition();
    W.Zeros(8);  // the picture's position, filled in once it is known
    W.FlushTo(Stream);
  }
  for (Integer I = 0; I < Count; ++I) {
    const Int64 Picture = Stream->GetPosition();
    W.Int32(static_cast<Integer>(static_cast<UInt64>(Picture) & 0xFFFFFFFFu));
    W.Int32(static_cast<Integer>(static_cast<UInt64>(Picture) >> 32));
    Stream->SetPosition(PositionFields[I]);
    W.FlushTo(Stream);
    Stream->SetPosition(Picture);
    if (IsRawCode(Code)) {
      WriteRawPicture(Stream, FLayers[I]->Bitmap, Code == IELayersRawCompressed);
    } else {
      // The I/O component writes the view's current picture.
      SetLayersCurrent(I);
      SetOutputParamsFor(*GetIO()->GetParams(), FIEBitmap->GetPixelFormat());
      GetIO()->SaveToStream(Stream, Code);
    }
    Stream->Seek(0, soEnd);
  }
}

bool TZezudIdView::LoadLayersFromStream(TStream* Stream) {
  TIELayersFile File;
  const TIELayersParseResult Parsed = IEParseLayersStream(Stream, File);
  if (Parsed == TIELayersParseResult::NotLayers) return false;

  std::vector<std::unique_ptr<TIEBitmap>> Pictures;
  bool Accepted = Parsed == TIELayersParseResult::Ok;
  if (Accepted) {
    const Integer Code = File.Header.Code;
    const bool NativeFormat = FIO && FIO->GetNativePixelFormat();
    const Int64 AfterRecords = Stream->GetPosition();
    for (const TIELayerFileRecord& Rec : File.Layers) {
      Pictures.push_back(IsRawCode(Code)
                             ? DecodeRawPicture(Rec.RawPicture, Code == IELayersRawCompressed)
                             : DecodeFormattedPicture(Stream, Rec.PicturePosition, Code,
                                                      NativeFormat || Rec.IsMask.value_or(false)));
      if (!Pictures.back()) {
        Accepted = false;
        break;
      }
    }
    Stream->SetPosition(AfterRecords);
  }

  if (Accepted) {
    for (Integer I = GetLayersCount() - 1; I >= 1; --I) LayersRemove(I);
    const Integer Count = static_cast<Integer>(File.Layers.size());
    for (Integer I = 0; I < Count; ++I) {
      // An added layer is current before its record can make it unselectable.
      if (I > 0) LayersAdd();
      ApplyRecord(File.Layers[I], *GetLayer(I));
      SetLayersCurrent(I);
      FIEBitmap->Assign(Pictures[I].get());
      Pictures[I].reset();
    }
  }

  if (FIO && (Accepted || Parsed == TIELayersParseResult::BadVersion)) {
    TIOParamsVals* Params = FIO->GetParams();
    Params->Width = Params->FileWidth = FLayers[0]->Bitmap->GetWidth();
    Params->Height = Params->FileHeight = FLayers[0]->Bitmap->GetHeight();
  }
  if (Parsed == TIELayersParseResult::BadVersion || Accepted) Update();
  return Accepted;
}

bool TZezudIdView::LoadLayersFromFile(const std::u16string& FileName) {
  TIEWideFileStream Stream(FileName, fmOpenRead | fmShareDenyWrite);
  return LoadLayersFromStream(&Stream);
}

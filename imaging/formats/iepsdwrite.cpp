// Writing PSD files: header, colour mode data, image resources, the layers with their user
// masks, and the merged picture, every channel PackBits-packed.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/core/ieicc.h"
#include "imaging/core/ieiptc.h"
#include "imaging/formats/iepsd.h"
#include "imaging/formats/iepsdchannels.h"
#include "imaging/io/ieioprogress.h"
#include "imaging/io/jpegfilt.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/Streams.h"

namespace {

constexpr Integer PsdMaxLayerNameBytes = 255;  // the name's length is one byte

// A big-endian byte buffer that lengths can be filled into afterwards.
class TPsdOut {
 public:
  void U8(Integer V) { FData.push_back(static_cast<Byte>(V)); }
  void U16(Integer V) {
    U8(V >> 8);
    U8(V);
  }
  void U32(Int64 V) {
    U16(static_cast<Integer>((V >> 16) & 0xFFFF));
    U16(static_cast<Integer>(V & 0xFFFF));
  }
  void Text(const char* Chars) {
    while (*Chars) U8(*Chars++);
  }
  void Bytes(const Byte* P, Int64 Count) { FData.insert(FData.end(), P, P + Count); }
  void Append(const TPsdOut& Other) { Bytes(Other.FData.data(), Other.Size()); }
  Int64 Size() const { return static_cast<Int64>(FData.size()); }
  // A 32-bit value at Position, over what U32 left there.
  void Put32(Int64 Position, Int64 V) {
    for (Integer I = 0; I < 4; ++I) FData[Position + I] = static_cast<Byte>(V >> (24 - 8 * I));
  }
  // The 32-bit length at Position: the bytes written after it.
  void CloseLength(Int64 Position) { Put32(Position, Size() - Position - 4); }
  const std::vector<Byte>& Data() const { return FData; }

 private:
  std::vector<Byte> FData;
};

// Source in the file's pixel format: itself, or a converted copy kept in Copy.
TIEBitmap* InFileFormat(TIEBitmap* Source, TIEPixelFormat Format, std::unique_ptr<TIEBitmap>& Copy) {
  if (Source->GetPixelFormat() == Format) return Source;
  Copy = std::make_unique<TIEBitmap>();
  Copy->Assign(Source);
  Copy->ConvertToPixelFormat(Format);
  return Copy.get();
}

// Every row of one channel: the packed sizes into Counts, the packed rows into Rows.
void PackChannel(TIEBitmap* Bitmap, const TPsdChannelSlot& Slot, Integer Depth, TPsdOut& Counts,
                 TPsdOut& Rows) {
  const Integer RowBytes = PsdRowBytes(Bitmap->GetWidth(), Depth);
  std::vector<Byte> Row(RowBytes), Packed(RowBytes + RowBytes / 128 + 1);
  for (Integer Y = 0; Y < Bitmap->GetHeight(); ++Y) {
    PsdGatherRow(Slot, Depth, Bitmap, Y, Row.data());
    const Integer Size = PsdPackRow(Row.data(), RowBytes, Packed.data());
    Counts.U16(Size);
    Rows.Bytes(Packed.data(), Size);
  }
}

// One channel of a layer as the file holds it: compression, row sizes, rows.
TPsdOut LayerChannel(TIEBitmap* Bitmap, const TPsdChannelSlot& Slot, Integer Depth) {
  TPsdOut Channel, Rows;
  Channel.U16(1);
  PackChannel(Bitmap, Slot, Depth, Channel, Rows);
  Channel.Append(Rows);
  return Channel;
}

void ResourceBlock(TPsdOut& Out, Integer Id, const Byte* Data, Int64 Size) {
  if (Out.Size() & 1) Out.U8(0);
  Out.Text("8BIM");
  Out.U16(Id);
  Out.U16(0);  // empty name
  Out.U32(Size);
  Out.Bytes(Data, Size);
}

void ThumbnailResource(TPsdOut& Out, TIEBitmap* Thumbnail) {
  TMemoryStream Jpeg;
  TIOParamsVals Fresh;
  TIELocalProgress Local;
  JpegWriteStream(&Jpeg, Thumbnail, Fresh, Local.Progress);
  if (IEIsAborting(Local.Progress)) return;
  const Int64 W = Thumbnail->GetWidth(), H = Thumbnail->GetHeight();
  TPsdOut Block;
  Block.U32(1);  // JPEG RGB
  Block.U32(W);
  Block.U32(H);
  Block.U32(W * 3);
  Block.U32(W * H * 3);
  Block.U32(Jpeg.GetSize());
  Block.U16(24);
  Block.U16(1);
  Block.Bytes(static_cast<const Byte*>(Jpeg.GetMemory()), Jpeg.GetSize());
  ResourceBlock(Out, 1036, Block.Data().data(), Block.Size());
}

TPsdOut Resources(TIOParamsVals& P, TIEBitmap* Bitmap) {
  TPsdOut Out;
  TPsdOut Resolution;
  Resolution.U32(Int64{P.DpiX} * 65536);
  Resolution.U16(1);
  Resolution.U16(1);
  Resolution.U32(Int64{P.DpiY} * 65536);
  Resolution.U16(1);
  Resolution.U16(1);
  ResourceBlock(Out, 1005, Resolution.Data().data(), Resolution.Size());
  // Index 255 is marked transparent only for a picture that has transparency to keep.
  if (Bitmap->GetPixelFormat() == ie8p && Bitmap->HasAlphaChannel()) {
    const Byte Index[2] = {0, 255};
    ResourceBlock(Out, 1047, Index, 2);
  }
  if (P.IPTCInfo && P.IPTCInfo->Count() > 0) {
    std::unique_ptr<Byte[]> Buffer;
    Integer Size = 0;
    P.IPTCInfo->SaveToBuffer(Buffer, Size, /*Photoshop=*/false);
    if (Size > 0) ResourceBlock(Out, 1028, Buffer.get(), Size);
  }
  if (const TIEICC* Profile = P.InputICC.get(); Profile && Profile->GetRawLength() > 0)
    ResourceBlock(Out, 1039, Profile->GetRaw(), Profile->GetRawLength());
  if (TIEBitmap* Thumbnail = P.GetExifThumbnail(); Thumbnail && !Thumbnail->IsEmpty())
    ThumbnailResource(Out, Thumbnail);
  if (!P.XmpInfo.empty())
    ResourceBlock(Out, 1060, reinterpret_cast<const Byte*>(P.XmpInfo.data()), P.XmpInfo.size());
  if (Out.Size() & 1) Out.U8(0);
  return Out;
}

// A layer with a picture whose rectangle, and its mask's, the file's 32-bit edges can hold.
bool Storable(const TIEPsdLayer& Layer) {
  auto Fits = [](Integer Pos, Integer Size) { return Int64{Pos} + Size <= INT32_MAX; };
  if (!Layer.Bitmap || Layer.Bitmap->IsEmpty()) return false;
  if (!Fits(Layer.PosX, Layer.Bitmap->GetWidth()) || !Fits(Layer.PosY, Layer.Bitmap->GetHeight()))
    return false;
  return !Layer.Mask ||
         (Fits(Layer.MaskX, Layer.Mask->GetWidth()) && Fits(Layer.MaskY, Layer.Mask->GetHeight()));
}

class TPsdLayerWriter {
 public:
  TPsdLayerWriter(Integer Mode, Integer Depth, TIEIOProgress& Progress)
      : FMode(Mode), FDepth(Depth), FFormat(PsdPixelFormatOf(Mode, Depth)), FProgress(Progress) {}

  // The whole layer and mask section; a length of 0 without layers.
  TPsdOut Section(const TIEPsdLayerList& Layers) {
    std::vector<const TIEPsdLayer*> Written;
    for (const TIEPsdLayer& Layer : Layers)
      if (Storable(Layer)) Written.push_back(&Layer);
    TPsdOut Out;
    Out.U32(0);
    if (Written.empty()) return Out;
    Out.U32(0);
    Out.U16(static_cast<Integer>(Written.size()));
    TPsdOut Data;
    IEStartProgress(FProgress, static_cast<Integer>(Written.size()));
    for (size_t I = 0; I < Written.size(); ++I) {
      Layer(Out, Data, *Written[I]);
      IEReportProgress(FProgress, static_cast<Integer>(I));
    }
    Out.Append(Data);
    if (Out.Size() & 1) Out.U8(0);
    Out.CloseLength(4);
    Out.U32(0);  // no global layer mask
    Out.CloseLength(0);
    return Out;
  }

 private:
  // The record of Layer into Records, its channels into Data.
  void Layer(TPsdOut& Records, TPsdOut& Data, const TIEPsdLayer& Layer) {
    std::unique_ptr<TIEBitmap> Copy;
    TIEBitmap* Picture = InFileFormat(Layer.Bitmap.get(), FFormat, Copy);
    const bool Alpha = Picture->HasAlphaChannel() && FDepth >= 8;
    TIEBitmap* Mask = Layer.Mask && !Layer.Mask->IsEmpty() ? Layer.Mask.get() : nullptr;
    std::unique_ptr<TIEBitmap> MaskCopy;
    if (Mask) Mask = InFileFormat(Mask, ie8g, MaskCopy);

    std::vector<std::pair<Integer, TPsdOut>> Channels;
    if (Alpha) Channels.emplace_back(PsdAlphaId, LayerChannel(Picture, {TPsdChannelSlot::Alpha}, FDepth));
    for (Integer K = 0; K < PsdColorChannels(FMode); ++K)
      Channels.emplace_back(K, LayerChannel(Picture, PsdChannelSlot(FMode, FDepth, K), FDepth));
    if (Mask) Channels.emplace_back(PsdUserMaskId, LayerChannel(Mask, {TPsdChannelSlot::Bytes}, 8));

    Records.U32(Layer.PosY);
    Records.U32(Layer.PosX);
    Records.U32(Int64{Layer.PosY} + Picture->GetHeight());
    Records.U32(Int64{Layer.PosX} + Picture->GetWidth());
    Records.U16(static_cast<Integer>(Channels.size()));
    for (const auto& [Id, Channel] : Channels) {
      Records.U16(Id);
      Records.U32(Channel.Size());
      Data.Append(Channel);
    }
    Records.Text("8BIMnorm");
    Records.U8(std::clamp(Layer.Transparency, 0, 255));
    Records.U8(0);
    Records.U8(Layer.Visible ? 0 : 2);
    Records.U8(0);
    const Int64 ExtraAt = Records.Size();
    Records.U32(0);
    if (Mask) {
      Records.U32(20);
      Records.U32(Layer.MaskY);
      Records.U32(Layer.MaskX);
      Records.U32(Int64{Layer.MaskY} + Mask->GetHeight());
      Records.U32(Int64{Layer.MaskX} + Mask->GetWidth());
      Records.U32(0);  // default colour, flags, padding
    } else {
      Records.U32(0);
    }
    Records.U32(0);  // blending ranges
    const Integer NameLength =
        std::min<Integer>(static_cast<Integer>(Layer.Name.size()), PsdMaxLayerNameBytes);
    Records.U8(NameLength);
    Records.Bytes(reinterpret_cast<const Byte*>(Layer.Name.data()), NameLength);
    while ((Records.Size() - ExtraAt - 4) % 4 != 0) Records.U8(1);
    Records.CloseLength(ExtraAt);
  }

  Integer FMode;
  Integer FDepth;
  TIEPixelFormat FFormat;
  TIEIOProgress& FProgress;
};

TPsdOut MergedPicture(TIEBitmap* Picture, Integer Mode, Integer Depth, TIEIOProgress& Progress, bool Report) {
  TPsdOut Out, Rows;
  Out.U16(1);
  const Integer Channels = PsdColorChannels(Mode);
  if (Report) IEStartProgress(Progress, Channels);
  for (Integer K = 0; K < Channels; ++K) {
    PackChannel(Picture, PsdChannelSlot(Mode, Depth, K), Depth, Out, Rows);
    if (Report) IEReportProgress(Progress, K);
  }
  Out.Append(Rows);
  return Out;
}

bool WriteAll(TStream* Stream, const TPsdOut& Part) {
  const std::vector<Byte>& Data = Part.Data();
  for (size_t Done = 0; Done < Data.size();) {
    const Integer Chunk = static_cast<Integer>(std::min<size_t>(Data.size() - Done, 1 << 24));
    if (Stream->Write(Data.data() + Done, Chunk) != Chunk) return false;
    Done += Chunk;
  }
  return true;
}

}  // namespace

Integer PsdPackRow(const Byte* Row, Integer Count, Byte* Out) {
  Integer O = 0, LiteralStart = 0, Literals = 0;
  auto Flush = [&] {
    if (Literals == 0) return;
    Out[O++] = static_cast<Byte>(Literals - 1);
    std::copy(Row + LiteralStart, Row + LiteralStart + Literals, Out + O);
    O += Literals;
    Literals = 0;
  };
  for (Integer I = 0; I < Count;) {
    Integer Run = 1;
    while (I + Run < Count && Run < 128 && Row[I + Run] == Row[I]) ++Run;
    if (Run >= 4) {
      Flush();
      Out[O++] = static_cast<Byte>(1 - Run);
      Out[O++] = Row[I];
      I += Run;
      continue;
    }
    for (Integer K = 0; K < Run; ++K, ++I) {
      if (Literals == 0) LiteralStart = I;
      if (++Literals == 128) Flush();
    }
  }
  Flush();
  return O;
}

void PsdWriteStream(TStream* Stream, TIOParamsVals& IOParams, TIEIOProgress& Progress, TIEBitmap* Bitmap,
                    const TIEPsdLayerList& Layers) {
  Integer Mode = 0, Depth = 0;
  if (!Bitmap || Bitmap->IsEmpty() || !PsdModeOf(Bitmap->GetPixelFormat(), Mode, Depth) ||
      Bitmap->GetWidth() > PsdMaxSide || Bitmap->GetHeight() > PsdMaxSide) {
    IESetAborting(Progress);
    return;
  }
  std::unique_ptr<TIEBitmap> Copy;
  TIEBitmap* Picture = InFileFormat(Bitmap, PsdPixelFormatOf(Mode, Depth), Copy);

  TPsdOut Head;
  Head.Text("8BPS");
  Head.U16(1);
  for (Integer I = 0; I < 6; ++I) Head.U8(0);
  Head.U16(PsdColorChannels(Mode));
  Head.U32(Picture->GetHeight());
  Head.U32(Picture->GetWidth());
  Head.U16(Depth);
  Head.U16(Mode);
  if (Mode == PsdModeIndexed) {
    Head.U32(768);
    TIERGBTriple Colors[256];
    for (Integer I = 0; I < 256; ++I)
      if (I < Picture->GetPaletteLen()) Picture->GetPaletteColor(I, Colors[I]);
    for (Integer I = 0; I < 256; ++I) Head.U8(Colors[I].rgbtRed);
    for (Integer I = 0; I < 256; ++I) Head.U8(Colors[I].rgbtGreen);
    for (Integer I = 0; I < 256; ++I) Head.U8(Colors[I].rgbtBlue);
  } else {
    Head.U32(0);
  }
  const TPsdOut ResourceData = Resources(IOParams, Picture);
  Head.U32(ResourceData.Size());
  Head.Append(ResourceData);

  const TPsdOut LayerSection = TPsdLayerWriter(Mode, Depth, Progress).Section(Layers);
  const TPsdOut Merged = MergedPicture(Picture, Mode, Depth, Progress, !Layers.empty());
  if (!WriteAll(Stream, Head) || !WriteAll(Stream, LayerSection) || !WriteAll(Stream, Merged))
    IESetAborting(Progress);
}

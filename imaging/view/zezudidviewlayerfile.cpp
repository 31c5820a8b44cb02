#include "imaging/view/zezudidviewlayerfile.h"

#include <cstring>

#include "imaging/core/iestreams.h"
#include "imaging/view/zezudidviewlayerfields.h"
#include "platform/system/Streams.h"

namespace {

// Bytes of a record without its name and user data, by version.
Integer RecordFixedSize(Integer Version) {
  if (Version >= 6) return 57;
  if (Version >= 4) return 56;
  if (Version >= 3) return 55;
  return 43;
}

bool ReadRecord(TIEFieldReader& R, Integer Version, TIELayerFileRecord& Rec) {
  if (!R.Bool(Rec.Visible) || !R.Bool(Rec.VisibleBox) || !R.Int32(Rec.Transparency) || !R.Int32(Rec.PosX) ||
      !R.Int32(Rec.PosY) || !R.Bool(Rec.ClipToBackground) || !R.Bool(Rec.Locked) ||
      !R.Bool(Rec.MagnifierEnabled) || !R.Float64(Rec.MagnifierRate) || !R.UInt8(Rec.MagnifierStyle))
    return false;
  if (Version >= 3 && !R.UInt8(Rec.MagnifierSource.emplace())) return false;
  if (!R.UInt8(Rec.BlendOperation) || !R.Int32(Rec.Width) || !R.Int32(Rec.Height)) return false;
  if (Version >= 3) {
    Byte Filter = 0;
    Integer UserDataLen = 0;
    if (!R.UInt8(Filter) || Filter > rfProjectWB) return false;
    Rec.ResampleFilter = static_cast<TResampleFilter>(Filter);
    if (!R.Bool(Rec.UseResampleFilter.emplace()) || !R.String(Rec.Name.emplace()) || !R.Int32(UserDataLen))
      return false;
    if (UserDataLen < 0 || UserDataLen > R.Remaining()) return false;
    auto& Block = Rec.UserData.emplace(static_cast<size_t>(UserDataLen));
    if (!R.Bytes(Block.data(), Block.size()) || !R.Bool(Rec.IsMask.emplace())) return false;
  }
  if (Version >= 4 && !R.Bool(Rec.Selectable.emplace())) return false;
  if (Version >= 6 && !R.Bool(Rec.ShadeOutside.emplace())) return false;
  Integer Low = 0, High = 0;
  if (!R.Int32(Low) || !R.Int32(High)) return false;
  Rec.PicturePosition =
      static_cast<Int64>(static_cast<UInt64>(static_cast<Cardinal>(High)) << 32 | static_cast<Cardinal>(Low));
  return true;
}

bool ReadRawPicture(TStream* Stream, Int64 Size, TIELayerFileRecord& Rec) {
  Stream->SetPosition(Rec.PicturePosition);
  TIEFieldReader R(Stream, Size - Rec.PicturePosition);
  Integer Length = 0;
  if (!R.Int32(Length) || Length < 0 || Length > R.Remaining()) return false;
  Rec.RawPicture.resize(static_cast<size_t>(Length));
  return R.Bytes(Rec.RawPicture.data(), Rec.RawPicture.size());
}

}  // namespace

bool IEReadLayersHeader(TStream* Stream, TIELayersHeader& Header) {
  TIEFieldReader R = TIEFieldReader::UpToEnd(Stream);
  char Magic[IELayersMagicLength];
  if (!R.Bytes(Magic, sizeof(Magic)) || std::memcmp(Magic, IELayersMagic, sizeof(Magic)) != 0) return false;
  TIELayersHeader Read;
  if (!R.Int32(Read.Version) || !R.Int32(Read.Code) || !R.Int32(Read.Count)) return false;
  Header = Read;
  return true;
}

bool IsLayersStream(TStream* Stream) {
  const Int64 Start = Stream->GetPosition();
  TIELayersHeader Header;
  const bool Result = IEReadLayersHeader(Stream, Header) && Header.Version > 0;
  Stream->SetPosition(Start);
  return Result;
}

TIELayersParseResult IEParseLayersStream(TStream* Stream, TIELayersFile& File) {
  const Int64 Size = Stream->GetSize();
  TIELayersHeader Header;
  if (!IEReadLayersHeader(Stream, Header)) return TIELayersParseResult::NotLayers;
  if (Header.Version <= 0) return TIELayersParseResult::BadVersion;
  TIEFieldReader R = TIEFieldReader::UpToEnd(Stream);
  // Every record takes at least its fixed bytes, so the count is capped by the stream.
  if (Header.Count < 0 || Header.Count > R.Remaining() / RecordFixedSize(Header.Version))
    return TIELayersParseResult::Damaged;
  std::vector<TIELayerFileRecord> Layers(static_cast<size_t>(Header.Count));
  for (TIELayerFileRecord& Rec : Layers) {
    if (!ReadRecord(R, Header.Version, Rec)) return TIELayersParseResult::Damaged;
    if (Rec.PicturePosition < 0 || Rec.PicturePosition > Size) return TIELayersParseResult::Damaged;
  }
  const bool Raw = Header.Code == IELayersRaw || Header.Code == IELayersRawCompressed;
  if (Raw)
    for (TIELayerFileRecord& Rec : Layers)
      if (!ReadRawPicture(Stream, Size, Rec)) return TIELayersParseResult::Damaged;
  File.Header = Header;
  File.Layers = std::move(Layers);
  return TIELayersParseResult::Ok;
}

void IEWriteLayersHeader(TIEFieldWriter& W, const TIELayersHeader& Header) {
  W.Bytes(IELayersMagic, IELayersMagicLength);
  W.Int32(Header.Version);
  W.Int32(Header.Code);
  W.Int32(Header.Count);
}

void IEWriteLayerRecordFields(TIEFieldWriter& W, const TIELayerFileRecord& Rec) {
  W.Bool(Rec.Visible);
  W.Bool(Rec.VisibleBox);
  W.Int32(Rec.Transparency);
  W.Int32(Rec.PosX);
  W.Int32(Rec.PosY);
  W.Bool(Rec.ClipToBackground);
  W.Bool(Rec.Locked);
  W.Bool(Rec.MagnifierEnabled);
  W.Float64(Rec.MagnifierRate);
  W.UInt8(Rec.MagnifierStyle);
  W.UInt8(Rec.MagnifierSource.value_or(1));
  W.UInt8(Rec.BlendOperation);
  W.Int32(Rec.Width);
  W.Int32(Rec.Height);
  W.UInt8(static_cast<Byte>(Rec.ResampleFilter.value_or(rfNone)));
  W.Bool(Rec.UseResampleFilter.value_or(false));
  W.String(Rec.Name.value_or(std::string()));
  const std::vector<Byte> NoData;
  const std::vector<Byte>& Block = Rec.UserData ? *Rec.UserData : NoData;
  W.Int32(static_cast<Integer>(Block.size()));
  W.Bytes(Block.data(), Block.size());
  W.Bool(Rec.IsMask.value_or(false));
  W.Bool(Rec.Selectable.value_or(true));
  W.Bool(Rec.ShadeOutside.value_or(false));
}

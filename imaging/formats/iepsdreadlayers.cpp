// Reading the layer and mask section of PSD files: the layer records, then each layer's channel
// data with its transparency and user mask.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/formats/iepsdreader.h"
#include "imaging/io/ieioprogress.h"
#include "imaging/io/iereadlimits.h"

namespace {

constexpr Integer PsdMaxLayerName = 1023;
constexpr Int64 PsdMaxUnpackRatio = 64;

struct TPsdRect {
  Integer Top = 0, Left = 0, Bottom = 0, Right = 0;
  Int64 Width() const { return Int64{Right} - Left; }
  Int64 Height() const { return Int64{Bottom} - Top; }
  bool Usable() const {
    return Width() > 0 && Height() > 0 && Width() <= PsdMaxSide && Height() <= PsdMaxSide;
  }
};

struct TPsdChannelInfo {
  Integer Id = 0;
  Int64 Length = 0;  // from the compression word on
};

struct TPsdLayerRecord {
  TPsdRect Rect;
  TPsdRect MaskRect;
  bool HasMaskRect = false;
  std::vector<TPsdChannelInfo> Channels;
};

TPsdRect ReadRect(TPsdCursor& Cursor) {
  TPsdRect R;
  R.Top = Cursor.S32();
  R.Left = Cursor.S32();
  R.Bottom = Cursor.S32();
  R.Right = Cursor.S32();
  return R;
}

TPsdLayerRecord ReadRecord(TPsdCursor& Cursor, TIEPsdLayer& Layer) {
  TPsdLayerRecord Record;
  Record.Rect = ReadRect(Cursor);
  const Integer Channels = Cursor.U16();
  for (Integer I = 0; I < Channels; ++I) {
    TPsdChannelInfo Channel;
    Channel.Id = static_cast<SmallInt>(Cursor.U16());
    Channel.Length = Cursor.U32();
    Record.Channels.push_back(Channel);
  }
  Byte Blend[8];
  Cursor.Read(Blend, 8);
  if (std::memcmp(Blend, "8BIM", 4) != 0) throw TPsdTruncated{};
  Layer.Transparency = Cursor.U8();
  Layer.ClipToBackground = Cursor.U8() == 0;
  Layer.Visible = (Cursor.U8() & 2) == 0;
  Cursor.Skip(1);
  const Int64 ExtraLength = Cursor.U32();
  const Int64 ExtraStart = Cursor.Position();
  const Int64 MaskLength = Cursor.U32();
  if (MaskLength >= 16) {
    Record.MaskRect = ReadRect(Cursor);
    Record.HasMaskRect = true;
    Cursor.Skip(MaskLength - 16);
  } else {
    Cursor.Skip(MaskLength);
  }
  Cursor.Skip(Cursor.U32());  // blending ranges
  const Integer NameLength = Cursor.U8();
  const std::vector<Byte> Name = Cursor.Bytes(NameLength);
  Layer.Name.assign(Name.begin(), Name.begin() + std::min(NameLength, PsdMaxLayerName));
  // Additional layer information follows the padded name; none of it is used.
  Cursor.Seek(ExtraStart + ExtraLength);
  Layer.PosX = Record.Rect.Left;
  Layer.PosY = Record.Rect.Top;
  return Record;
}

// A picture of Rect's size for channel data of DataBytes bytes in all, or nil when the size is
// unusable or more than the data could fill.
std::unique_ptr<TIEBitmap> AllocateFor(const TPsdImageInfo& Info, const TPsdRect& Rect, Int64 DataBytes,
                                       bool AsMask) {
  if (!Rect.Usable()) return nullptr;
  const Integer Depth = AsMask ? 8 : Info.Depth;
  if (IEClaimExceedsData(Rect.Height(), PsdRowBytes(static_cast<Integer>(Rect.Width()), Depth), DataBytes,
                         PsdMaxUnpackRatio))
    return nullptr;
  auto Bitmap = std::make_unique<TIEBitmap>();
  const bool Allocated =
      AsMask ? Bitmap->Allocate(static_cast<Integer>(Rect.Width()), static_cast<Integer>(Rect.Height()), ie8g)
             : PsdAllocatePicture(Info, static_cast<Integer>(Rect.Width()),
                                  static_cast<Integer>(Rect.Height()), Bitmap.get());
  return Allocated ? std::move(Bitmap) : nullptr;
}

// One channel at the cursor into Target (nil: stepped over); the cursor ends after the channel.
void ReadLayerChannel(TPsdCursor& Cursor, const TPsdChannelInfo& Channel, const TPsdChannelSlot& Slot,
                      Integer Depth, TIEBitmap* Target) {
  const Int64 Start = Cursor.Position();
  if (Channel.Length > Cursor.Left()) throw TPsdTruncated{};
  if (Target && Channel.Length >= 2) {
    const Integer Compression = Cursor.U16();
    const Integer Rows = Target->GetHeight();
    if (Compression == 1 && Int64{Rows} * 2 <= Channel.Length - 2) {
      std::vector<Word> Counts(Rows);
      for (Word& Count : Counts) Count = Cursor.U16();
      PsdReadChannel(Cursor, Counts.data(), Rows, Slot, Depth, Target->GetWidth(), Target);
    } else if (Compression == 0 &&
               Int64{Rows} * PsdRowBytes(Target->GetWidth(), Depth) <= Channel.Length - 2) {
      PsdReadChannel(Cursor, nullptr, Rows, Slot, Depth, Target->GetWidth(), Target);
    }
  }
  Cursor.Seek(Start + Channel.Length);
}

void ReadLayerData(TPsdCursor& Cursor, const TPsdImageInfo& Info, const TPsdLayerRecord& Record,
                   TIEPsdLayer& Layer) {
  Int64 DataBytes = 0;
  for (const TPsdChannelInfo& Channel : Record.Channels) DataBytes += Channel.Length;
  if (DataBytes > Cursor.Left()) throw TPsdTruncated{};
  Layer.Bitmap = AllocateFor(Info, Record.Rect, DataBytes, false);
  for (const TPsdChannelInfo& Channel : Record.Channels) {
    if (Channel.Id == PsdUserMaskId) {
      if (Record.HasMaskRect && !Layer.Mask) {
        Layer.Mask = AllocateFor(Info, Record.MaskRect, DataBytes, true);
        Layer.MaskX = Record.MaskRect.Left;
        Layer.MaskY = Record.MaskRect.Top;
      }
      ReadLayerChannel(Cursor, Channel, {TPsdChannelSlot::Bytes}, 8, Layer.Mask.get());
    } else {
      ReadLayerChannel(Cursor, Channel, PsdChannelSlot(Info.Mode, Info.Depth, Channel.Id), Info.Depth,
                       Layer.Bitmap.get());
    }
  }
  if (Layer.Bitmap) PsdApplyTransparentIndex(Info, Layer.Bitmap.get());
}

}  // namespace

void PsdReadLayers(TPsdCursor& Cursor, const TPsdImageInfo& Info, TIEIOProgress& Progress, bool LoadLayers,
                   TIEPsdLayerList* Layers) {
  const Int64 SectionLength = Cursor.U32();
  const Int64 SectionEnd = Cursor.Position() + SectionLength;
  if (SectionLength == 0) return;
  if (SectionEnd > Cursor.End()) throw TPsdTruncated{};
  const Int64 InfoLength = Cursor.U32();
  const Int64 InfoEnd = Cursor.Position() + InfoLength;
  if (InfoEnd > SectionEnd) throw TPsdTruncated{};
  const Integer Count = InfoLength >= 2 ? std::abs(static_cast<SmallInt>(Cursor.U16())) : 0;
  if (!Layers || Count == 0 || (Count > 1 && !LoadLayers)) {
    Cursor.Seek(SectionEnd);
    return;
  }
  // Records and pictures grow with the data read: a count beyond the data ends in a truncation.
  TIEPsdLayerList Read;
  std::vector<TPsdLayerRecord> Records;
  for (Integer I = 0; I < Count; ++I) {
    Read.emplace_back();
    Records.push_back(ReadRecord(Cursor, Read.back()));
  }
  IEStartProgress(Progress, Count);
  for (Integer I = 0; I < Count; ++I) {
    ReadLayerData(Cursor, Info, Records[I], Read[I]);
    if (Cursor.Position() > InfoEnd) throw TPsdTruncated{};
    IEReportProgress(Progress, I);
  }
  // Layers without a picture (an empty rectangle) are dropped with their masks.
  for (TIEPsdLayer& Layer : Read)
    if (Layer.Bitmap) Layers->push_back(std::move(Layer));
  Cursor.Seek(SectionEnd);
}

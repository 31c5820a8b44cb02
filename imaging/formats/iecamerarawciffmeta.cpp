// The metadata of a Canon CIFF file for the parameters: EXIF strings, pixel dimensions, the
// smallest embedded JPEG as thumbnail and the white-balance records as maker note. Records
// and nesting are bounded, every position is checked against the stream.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iestreams.h"
#include "imaging/formats/iecameraraw.h"
#include "imaging/io/zezudidio.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/Streams.h"

namespace {

constexpr Integer MaxRecords = 256;
constexpr Integer MaxHeapDepth = 16;
constexpr Integer MaxRecordsInAll = 0x1000;  // heaps that hold themselves end here

struct TKeptRecord {
  Word Tag;
  Cardinal Count;
  Int64 Data;
};

struct TCiffMeta {
  TStream* Stream = nullptr;
  Int64 Size = 0;
  bool BigEndian = false;
  std::vector<TKeptRecord> Kept;
  Int64 JpegPosition = -1;
  Integer JpegWidth = 0x7FFFFFFE;
  Integer JpegHeight = 0x7FFFFFFE;
  Integer RecordsLeft = MaxRecordsInAll;
};

Word ReadWord(TCiffMeta& Meta) {
  Word Value = 0;
  Meta.Stream->Read(&Value, 2);
  return static_cast<Word>(IESwapWordIf(Value, Meta.BigEndian));
}

Cardinal ReadDWord(TCiffMeta& Meta) {
  Cardinal Value = 0;
  Meta.Stream->Read(&Value, 4);
  return IESwapDWordIf(Value, Meta.BigEndian);
}

// Up to Length characters, ending at a zero byte.
std::string ReadString(TCiffMeta& Meta, Int64 Position, Cardinal Length) {
  const Int64 Available = std::min<Int64>(Length, Meta.Size - Position);
  std::string Text(static_cast<std::size_t>(std::max<Int64>(Available, 0)), '\0');
  Meta.Stream->SetPosition(Position);
  Meta.Stream->Read(Text.data(), static_cast<Integer>(Text.size()));
  Text.resize(std::strlen(Text.c_str()));
  return Text;
}

void MeasureJpeg(TCiffMeta& Meta, Int64 Position) {
  TZezudIdIO Io(nullptr);
  Meta.Stream->SetPosition(Position);
  Io.ParamsFromStreamFormat(Meta.Stream, ioJPEG);
  const Integer Width = Io.GetParams()->Width;
  const Integer Height = Io.GetParams()->Height;
  if (Width < Meta.JpegWidth && Height < Meta.JpegHeight) {
    Meta.JpegPosition = Position;
    Meta.JpegWidth = Width;
    Meta.JpegHeight = Height;
  }
}

bool IsSubHeap(Integer Type) {
  static constexpr Integer Heaps[] = {0x2800, 0x2807, 0x3000, 0x3002, 0x3003, 0x3004, 0x300A, 0x300B};
  return std::find(std::begin(Heaps), std::end(Heaps), Type) != std::end(Heaps);
}

void ParseHeap(TCiffMeta& Meta, TIOParamsVals& IOParams, Int64 Offset, Int64 Length, Integer Depth) {
  const Int64 End = Offset + Length;
  if (Depth > MaxHeapDepth || Length < 4 || Offset < 0 || End > Meta.Size) return;
  Meta.Stream->SetPosition(End - 4);
  const Int64 Table = Offset + ReadDWord(Meta);
  if (Table + 2 > Meta.Size) return;
  Meta.Stream->SetPosition(Table);
  const Integer Records = std::min<Integer>(ReadWord(Meta), MaxRecords);
  for (Integer Index = 0; Index < Records && Meta.RecordsLeft > 0; ++Index, --Meta.RecordsLeft) {
    const Int64 Record = Table + 2 + 10 * static_cast<Int64>(Index);
    Meta.Stream->SetPosition(Record);
    const Integer Type = ReadWord(Meta);
    Cardinal RecordLength = ReadDWord(Meta);
    Int64 Data = Offset + ReadDWord(Meta);
    if (Type >= 0x4000) {
      // The value sits in the record's own length and offset fields.
      RecordLength = 8;
      Data = Record + 2;
    }
    if (Data < 0 || Data >= Meta.Size) return;
    const Integer Kind = Type & 0x3FFF;
    switch (Kind) {
      case 0x0805:
        IOParams.ExifImageDescription = ReadString(Meta, Data, RecordLength);
        break;
      case 0x080A:
        IOParams.ExifMake = ReadString(Meta, Data, RecordLength);
        IOParams.ExifModel =
            ReadString(Meta, Data + static_cast<Int64>(IOParams.ExifMake.size()) + 1,
                       RecordLength - std::min<Cardinal>(RecordLength, IOParams.ExifMake.size() + 1));
        break;
      case 0x080B:
        IOParams.ExifSoftware = ReadString(Meta, Data, RecordLength);
        break;
      case 0x102A:
        Meta.Kept.push_back({4, RecordLength, Data});
        break;
      case 0x102D:
        Meta.Kept.push_back({1, RecordLength, Data});
        break;
      case 0x1810: {
        Meta.Stream->SetPosition(Data);
        const Cardinal X = ReadDWord(Meta);
        const Cardinal Y = ReadDWord(Meta);
        IOParams.SetExifPixelXDimension(static_cast<Integer>(X));
        IOParams.SetExifPixelYDimension(static_cast<Integer>(Y));
        break;
      }
      case 0x2007:
      case 0x2008:
        MeasureJpeg(Meta, Data);
        break;
      default:
        if (IsSubHeap(Kind)) ParseHeap(Meta, IOParams, Data, RecordLength, Depth + 1);
        break;
    }
  }
}

void LoadThumbnail(TCiffMeta& Meta, TIOParamsVals& IOParams) {
  TIEBitmap* Thumbnail = IOParams.ExifThumbnailNeeded();
  Thumbnail->FreeImage(true);
  if (Meta.JpegPosition < 1) return;
  Meta.Stream->SetPosition(Meta.JpegPosition);
  TZezudIdIO::CreateFromBitmap(Thumbnail)->LoadFromStreamJpeg(Meta.Stream);
}

void PutLE(TMemoryStream& Out, Cardinal Value, Integer Bytes) {
  for (Integer B = 0; B < Bytes; ++B) {
    const Byte Part = static_cast<Byte>(Value >> (8 * B));
    Out.Write(&Part, 1);
  }
}

// A little-endian directory of SHORT entries, one per kept record, with its words after it.
void WriteMakerNote(TCiffMeta& Meta, TIOParamsVals& IOParams) {
  TIETagsHandler& Note = IOParams.GetExifMakerNote();
  Note.Clear();
  TMemoryStream& Ifd = Note.GetIFD();
  std::vector<std::vector<Byte>> Blocks;
  for (TKeptRecord& Record : Meta.Kept) {
    // A count the file cannot back with data is cut to what it holds.
    Record.Count = static_cast<Cardinal>(std::min<Int64>(Record.Count, (Meta.Size - Record.Data) / 2));
    std::vector<Byte> Block(static_cast<std::size_t>(Record.Count) * 2);
    Meta.Stream->SetPosition(Record.Data);
    Meta.Stream->Read(Block.data(), static_cast<Integer>(Block.size()));
    Blocks.push_back(std::move(Block));
  }
  PutLE(Ifd, static_cast<Cardinal>(Meta.Kept.size()), 2);
  Cardinal Offset = static_cast<Cardinal>(2 + 12 * Meta.Kept.size());
  for (std::size_t I = 0; I < Meta.Kept.size(); ++I) {
    PutLE(Ifd, Meta.Kept[I].Tag, 2);
    PutLE(Ifd, 3, 2);
    PutLE(Ifd, Meta.Kept[I].Count, 4);
    PutLE(Ifd, Offset, 4);
    Offset += static_cast<Cardinal>(Blocks[I].size());
  }
  for (const auto& Block : Blocks)
    if (!Block.empty()) Ifd.Write(Block.data(), static_cast<Integer>(Block.size()));
  Note.UpdateTagTable();
}

}  // namespace

void CiffReadMetadata(TStream* Stream, TIOParamsVals& IOParams) {
  TCiffMeta Meta;
  Meta.Stream = Stream;
  Meta.Size = Stream->GetSize();
  char Head[14] = {};
  Stream->SetPosition(0);
  Stream->Read(Head, sizeof Head);
  const bool Intel = std::memcmp(Head, "II", 2) == 0;
  Meta.BigEndian = std::memcmp(Head, "MM", 2) == 0;
  if (!Intel && !Meta.BigEndian && std::memcmp(Head + 6, "HEAPCCDR", 8) != 0) return;
  Cardinal HeaderLength;
  std::memcpy(&HeaderLength, Head + 2, 4);
  HeaderLength = IESwapDWordIf(HeaderLength, Meta.BigEndian);
  ParseHeap(Meta, IOParams, HeaderLength, Meta.Size - HeaderLength, 0);
  LoadThumbnail(Meta, IOParams);
  WriteMakerNote(Meta, IOParams);
}

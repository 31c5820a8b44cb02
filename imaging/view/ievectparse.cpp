// Reading the objects stream into records and pictures, without a control: the view's reader
// and the fuzz harness share it. Every count and length is checked against the data left.
#include <algorithm>
#include <cstring>
#include <map>

#include <zlib.h>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iestreams.h"
#include "imaging/io/iereadlimits.h"
#include "imaging/io/iezlib.h"
#include "imaging/io/zezudidio.h"
#include "imaging/view/ietextc.h"
#include "imaging/view/ievect.h"
#include "platform/system/Streams.h"

// ---- Records and extension classes ----

TIEVObject::TIEVObject() : SoftShadow(std::make_unique<TIEVSoftShadow>()) {}
TIEVObject::~TIEVObject() = default;

namespace {

std::map<std::string, TIEVExtensionFactory>& ExtensionRegistry() {
  static std::map<std::string, TIEVExtensionFactory> Registry;
  return Registry;
}

}  // namespace

void IEVRegisterExtension(const std::string& Name, TIEVExtensionFactory Factory) {
  ExtensionRegistry()[Name] = std::move(Factory);
}

TIEVExtensionPtr IEVCreateExtension(const std::string& Name) {
  const auto It = ExtensionRegistry().find(Name);
  if (It == ExtensionRegistry().end() || !It->second) return nullptr;
  TIEVExtensionPtr Made = It->second();
  if (Made) Made->SetClassName(Name);
  return Made;
}

void IEVClearExtensions() {
  ExtensionRegistry().clear();
}

TIEVExtensionPtr TIEVExtension::Duplicate() const {
  TIEVExtensionPtr Copy = Clone();
  if (Copy) Copy->SetClassName(FClassName);
  return Copy;
}

namespace {

// Nesting of group objects (kind 0) that the reader follows.
constexpr Integer MaxGroupDepth = 32;
// What the inflated object records may take in memory.
constexpr Int64 MaxObjectBytes = Int64{1} << 30;

[[noreturn]] void Refuse(const std::string& Why) {
  throw EIEVectError("Objects file: " + Why);
}

// Inflates everything from the stream's position to its end.
std::vector<Byte> InflateRest(TStream* Stream) {
  const Int64 Left = IEStreamBytesLeft(Stream);
  std::vector<Byte> Packed;
  if (Left > 0) {
    if (Left > MaxObjectBytes) Refuse("object records too large");
    Packed.resize(static_cast<std::size_t>(Left));
    Stream->ReadBuffer(Packed.data(), static_cast<Integer>(Left));
  }
  std::vector<Byte> Out;
  z_stream Z{};
  if (inflateInit(&Z) != Z_OK) Refuse("cannot inflate the object records");
  Z.next_in = Packed.data();
  Z.avail_in = static_cast<uInt>(Packed.size());
  Byte Chunk[65536];
  Integer Result = Z_OK;
  while (Result == Z_OK) {
    Z.next_out = Chunk;
    Z.avail_out = sizeof Chunk;
    Result = inflate(&Z, Z_NO_FLUSH);
    const std::size_t Got = sizeof Chunk - Z.avail_out;
    if (Result == Z_BUF_ERROR && Got == 0) break;  // no input left before the end
    if (Result != Z_OK && Result != Z_STREAM_END) break;
    if (static_cast<Int64>(Out.size() + Got) > MaxObjectBytes) {
      inflateEnd(&Z);
      Refuse("object records too large");
    }
    Out.insert(Out.end(), Chunk, Chunk + Got);
  }
  inflateEnd(&Z);
  if (Result != Z_STREAM_END) Refuse("the object records are damaged or cut short");
  return Out;
}

// A little-endian int32 from the stream; raises at its end.
Integer ReadInt32(TStream* Stream) {
  Byte B[4];
  Stream->ReadBuffer(B, 4);
  return static_cast<Integer>(static_cast<Cardinal>(B[0]) | static_cast<Cardinal>(B[1]) << 8 |
                              static_cast<Cardinal>(B[2]) << 16 | static_cast<Cardinal>(B[3]) << 24);
}

// Bounded reading over the inflated object records.
class TRecordReader {
 public:
  TRecordReader(const std::vector<Byte>& Data) : FData(Data) {}

  void Bytes(void* Target, std::size_t Count) {
    if (Count > FData.size() - FPos) Refuse("truncated object records");
    if (Count) std::memcpy(Target, FData.data() + FPos, Count);
    FPos += Count;
  }
  Integer Int32() {
    Byte B[4];
    Bytes(B, 4);
    return static_cast<Integer>(static_cast<Cardinal>(B[0]) | static_cast<Cardinal>(B[1]) << 8 |
                                static_cast<Cardinal>(B[2]) << 16 | static_cast<Cardinal>(B[3]) << 24);
  }
  Byte UInt8() {
    Byte B;
    Bytes(&B, 1);
    return B;
  }
  Double Float64() {
    Byte B[8];
    Bytes(B, 8);
    UInt64 Bits = 0;
    for (Integer I = 7; I >= 0; --I) Bits = Bits << 8 | B[I];
    Double Value;
    std::memcpy(&Value, &Bits, 8);
    return Value;
  }
  std::string String() {
    const Integer Length = Int32();
    if (Length < 0 || static_cast<std::size_t>(Length) > FData.size() - FPos) Refuse("bad string length");
    std::string Text(reinterpret_cast<const char*>(FData.data() + FPos), static_cast<std::size_t>(Length));
    FPos += static_cast<std::size_t>(Length);
    return Text;
  }
  // A count of items of at least ItemBytes bytes each that the data left can hold.
  Integer Count(std::size_t ItemBytes) {
    const Integer N = Int32();
    if (N < 0) Refuse("negative count");
    if (ItemBytes && static_cast<std::size_t>(N) > (FData.size() - FPos) / ItemBytes)
      Refuse("count beyond the data");
    return N;
  }
  std::size_t Position() const { return FPos; }
  void SetPosition(std::size_t Value) { FPos = std::min(Value, FData.size()); }
  const std::vector<Byte>& Data() const { return FData; }

 private:
  const std::vector<Byte>& FData;
  std::size_t FPos = 0;
};

std::unique_ptr<LOGFONTA> ReadFontBlock(TRecordReader& R) {
  if (R.UInt8() == 0) return nullptr;
  Byte Block[IEVLogFontSize];
  R.Bytes(Block, sizeof Block);
  return std::make_unique<LOGFONTA>(IEVLogFontFromBytes(Block));
}

}  // namespace

// ---- Font blocks ----

void IEVLogFontToBytes(const LOGFONTA& Font, Byte* Block) {
  std::memset(Block, 0, IEVLogFontSize);
  auto Put32 = [&](Integer Offset, LONG Value) {
    const auto V = static_cast<Cardinal>(Value);
    for (Integer I = 0; I < 4; ++I) Block[Offset + I] = static_cast<Byte>(V >> (8 * I));
  };
  Put32(0, Font.lfHeight);
  Put32(4, Font.lfWidth);
  Put32(8, Font.lfEscapement);
  Put32(12, Font.lfOrientation);
  Put32(16, Font.lfWeight);
  Block[20] = Font.lfItalic;
  Block[21] = Font.lfUnderline;
  Block[22] = Font.lfStrikeOut;
  Block[23] = Font.lfCharSet;
  Block[24] = Font.lfOutPrecision;
  Block[25] = Font.lfClipPrecision;
  Block[26] = Font.lfQuality;
  Block[27] = Font.lfPitchAndFamily;
  // 32 characters with the terminating zero: longer names are cut.
  std::memcpy(Block + 28, Font.lfFaceName.data(), std::min<std::size_t>(Font.lfFaceName.size(), 31));
}

LOGFONTA IEVLogFontFromBytes(const Byte* Block) {
  auto Get32 = [&](Integer Offset) {
    return static_cast<LONG>(
        static_cast<Cardinal>(Block[Offset]) | static_cast<Cardinal>(Block[Offset + 1]) << 8 |
        static_cast<Cardinal>(Block[Offset + 2]) << 16 | static_cast<Cardinal>(Block[Offset + 3]) << 24);
  };
  LOGFONTA Font;
  Font.lfHeight = Get32(0);
  Font.lfWidth = Get32(4);
  Font.lfEscapement = Get32(8);
  Font.lfOrientation = Get32(12);
  Font.lfWeight = Get32(16);
  Font.lfItalic = Block[20];
  Font.lfUnderline = Block[21];
  Font.lfStrikeOut = Block[22];
  Font.lfCharSet = Block[23];
  Font.lfOutPrecision = Block[24];
  Font.lfClipPrecision = Block[25];
  Font.lfQuality = Block[26];
  Font.lfPitchAndFamily = Block[27];
  const char* Face = reinterpret_cast<const char*>(Block + 28);
  Font.lfFaceName.assign(Face, strnlen(Face, 32));
  return Font;
}

// ---- Content tests ----

bool IsIEVStream(TStream* Stream) {
  const Int64 Saved = Stream->GetPosition();
  char Head[4] = {};
  const bool Read = Stream->Read(Head, 4) == 4;
  Stream->SetPosition(Saved);
  return Read && Head[0] == 'I' && Head[1] == 'E' && Head[2] == 'V' && Head[3] >= '1' &&
         Head[3] <= IEVLastVersion;
}

namespace {

std::unique_ptr<TIEBitmap> ReadEntryPicture(TStream* Stream, char Version) {
  auto Picture = std::make_unique<TIEBitmap>();
  std::unique_ptr<TZezudIdIO> IO = TZezudIdIO::CreateFromBitmap(Picture.get());
  if (Version <= '2')
    IO->LoadFromStreamBMP(Stream);
  else
    IO->LoadFromStreamPNG(Stream);
  if (IO->GetAborting() || Picture->GetWidth() <= 0 || Picture->GetHeight() <= 0)
    Refuse("a picture of the bitmap table cannot be read");
  IO.reset();
  if (Version >= '7' && Version <= '<') {
    // The alpha channel follows, deflated, rows from the last up to the first.
    const Integer Length = ReadInt32(Stream);
    const Int64 Left = IEStreamBytesLeft(Stream);
    if (Length < 0 || (Left >= 0 && Length > Left)) Refuse("bad alpha channel length");
    std::vector<Byte> Packed(static_cast<std::size_t>(Length));
    if (Length) Stream->ReadBuffer(Packed.data(), Length);
    TIEBitmap* Alpha = Picture->GetAlphaChannel();
    const Integer RowLen = Alpha->GetRowLen();
    std::vector<Byte> Rows;
    InflateBuffer(Packed.data(), Length, Rows, RowLen * Alpha->GetHeight());
    if (Rows.size() < static_cast<std::size_t>(RowLen) * Alpha->GetHeight())
      Refuse("alpha channel too short");
    for (Integer Y = 0; Y < Alpha->GetHeight(); ++Y)
      std::memcpy(Alpha->GetScanline(Alpha->GetHeight() - 1 - Y),
                  Rows.data() + static_cast<std::size_t>(Y) * RowLen, static_cast<std::size_t>(RowLen));
    Alpha->SetFull(false);
  }
  return Picture;
}

void ReadObjectRecords(TRecordReader& R, char V, Integer Depth, const TIEVObject& Template,
                       std::vector<std::unique_ptr<TIEVObject>>& Out) {
  auto O = std::make_unique<TIEVObject>();
  // Fields a version does not store take the template's values.
  static_cast<TIEVObjectFields&>(*O) = static_cast<const TIEVObjectFields&>(Template);
  O->BitmapIndex = -1;
  if (V >= '<') R.Int32();  // the handle when written
  O->X1 = R.Int32();
  O->Y1 = R.Int32();
  O->X2 = R.Int32();
  O->Y2 = R.Int32();
  O->Kind = static_cast<TIEVObjectKind>(R.UInt8());
  O->KeepAspect = V > 'L' ? R.UInt8() : 0;
  O->BlendOperation = V > 'Q' ? R.UInt8() : 0;
  TIEVSoftShadow& Shadow = *O->SoftShadow;
  if (V > '<') {
    Shadow.Enabled = R.UInt8() != 0;
    Shadow.Radius = R.Float64();
    Shadow.OffsetX = R.Int32();
    Shadow.OffsetY = R.Int32();
    if (V >= 'O') {
      Shadow.Intensity = R.Int32();
      Shadow.ShadowColor.rgbtBlue = R.UInt8();
      Shadow.ShadowColor.rgbtGreen = R.UInt8();
      Shadow.ShadowColor.rgbtRed = R.UInt8();
    }
  } else {
    Shadow.Enabled = false;
    Shadow.Radius = 3.0;
    Shadow.OffsetX = 2;
    Shadow.OffsetY = 2;
  }
  O->Name = R.String();
  R.Bytes(O->Reserved.data(), 4);
  O->PenColor = R.Int32();
  O->PenStyle = R.UInt8();
  O->PenWidth = R.Int32();
  O->BrushColor = R.Int32();
  O->BrushStyle = R.UInt8();
  O->Style = R.UInt8();
  O->Transparency = V > '<' ? R.Int32() : 255;
  O->Highlight = V >= '@' ? R.UInt8() : 0;
  O->FontQuality = V > 'P' ? R.UInt8() : 0;
  if (V > 'H') {
    const Integer Length = R.Count(1);
    if (Length > 0) {
      O->UserDataCopy.resize(static_cast<std::size_t>(Length));
      R.Bytes(O->UserDataCopy.data(), O->UserDataCopy.size());
      O->UserData = O->UserDataCopy.data();
      O->UserDataLen = Length;
    }
  }
  // A group: its members follow the record; each is added on its own.
  Integer Members = 0;
  if (O->Kind == ievoNone) Members = R.Count(1);

  const TIEVObjectKind K = O->Kind;
  if (K == ievoLineLabel) {
    O->LabelBrushColor = R.Int32();
    O->LabelBrushStyle = R.UInt8();
    O->LabelPosition = R.UInt8();
    if (V >= 'P') O->LabelBorder = R.UInt8();
  }
  if (K == ievoLine || K == ievoLineLabel) {
    O->BeginShape = R.UInt8();
    O->EndShape = R.UInt8();
    O->ShapeWidth = R.Int32();
    O->ShapeLength = R.Int32();
  }
  if (K == ievoArc) {
    O->ArcStart = R.Float64();
    O->ArcEnd = R.Float64();
  }
  if (K == ievoBitmap) {
    O->BitmapIndex = R.Int32();
    O->BitmapBorder = V > 'A' ? R.UInt8() : 0;
    if (V >= 'F') O->Text = R.String();
  }
  if (IEVIsTextKind(K)) {
    if (V > '3') O->TextAlign = R.UInt8();
    if (V > '8') O->TextAutoSize = R.UInt8();
    O->Text = R.String();
    O->LogFont = ReadFontBlock(R);
    O->CurveCharAngle = -10;
    if (V >= '?') {
      const Integer Count = R.Int32();
      if (Count > 0) {
        if (static_cast<std::size_t>(Count) > (R.Data().size() - R.Position()) / 16)
          Refuse("count beyond the data");
        O->CurvePoints.resize(static_cast<std::size_t>(Count));
        for (TIEVPointD& P : O->CurvePoints) {
          P.X = R.Float64();
          P.Y = R.Float64();
        }
        O->CurveCharAngle = R.Int32();
      }
    }
  }
  if (K == ievoMemo) {
    O->Text = R.String();
    O->LogFont = ReadFontBlock(R);
    const bool HasFormats = V >= 'C' ? R.UInt8() != 0 : true;
    if (HasFormats) {
      if (O->Text.size() > (R.Data().size() - R.Position()) / 4) Refuse("count beyond the data");
      O->MemoCharFormats.resize(O->Text.size());
      for (Integer& Index : O->MemoCharFormats) Index = R.Int32();
      const Integer Formats = R.Count(IECharFormatSize);
      O->MemoFormats.reserve(static_cast<std::size_t>(Formats));
      Byte Record[IECharFormatSize];
      for (Integer I = 0; I < Formats; ++I) {
        R.Bytes(Record, sizeof Record);
        O->MemoFormats.push_back(IECharFormatRead(Record));
      }
      // An index that names no format would be followed out of the list when drawing.
      for (Integer& Index : O->MemoCharFormats)
        if (Index < 0 || Index >= Formats) Index = 0;
      if (Formats == 0) O->MemoCharFormats.clear();
    }
    O->MemoFixedFormat = R.UInt8();
    O->TextAutoSize = R.UInt8();
    O->MemoLineSpacing = R.Int32();
    O->MemoBorderColor = R.Int32();
    O->MemoBorderStyle = R.UInt8();
    O->TextAlign = R.UInt8();
    O->MemoFixedLineHeight = R.Int32();
    O->MemoHasBitmap = 0;
    if (V > 'H') {
      O->MemoHasBitmap = R.UInt8();
      if (O->MemoHasBitmap) {
        O->BitmapIndex = R.Int32();
        O->BitmapBorder = R.UInt8();
      }
    }
    O->MemoMargins = {};
    if (V > 'G')
      for (Double& M : O->MemoMargins) M = R.Float64();
    O->MemoBackgroundStyle = V > 'K' ? R.UInt8() : 0;
  }
  O->TextEditable = V >= 'J' ? R.UInt8() : 1;
  auto TemplateFont = [&](LONG Height) {
    auto Font =
        Template.LogFont ? std::make_unique<LOGFONTA>(*Template.LogFont) : std::make_unique<LOGFONTA>();
    Font->lfHeight = Height;
    Font->lfFaceName = "Arial";
    return Font;
  };
  if (K == ievoRuler) {
    if (V > '4') {
      O->RulerUnit = static_cast<TIEUnits>(R.UInt8());
      if (O->RulerUnit > ieuMILES) O->RulerUnit = ieuPIXELS;
      O->RulerType = R.UInt8();
    }
    O->LogFont = V >= 'A' ? ReadFontBlock(R) : TemplateFont(12);
  }
  if (K == ievoPolyline) {
    O->PolyClosed = 0;
    O->PolyBase = TRect{};
    if (V >= '8') {
      const Integer Count = R.Count(8);
      O->PolyPoints.resize(static_cast<std::size_t>(Count));
      for (TPoint& P : O->PolyPoints) {
        P.X = R.Int32();
        P.Y = R.Int32();
      }
      O->PolyBase.Left = R.Int32();
      O->PolyBase.Top = R.Int32();
      O->PolyBase.Right = R.Int32();
      O->PolyBase.Bottom = R.Int32();
      if (V >= ';') O->PolyClosed = R.UInt8();
    }
  }
  if (K == ievoAngle) {
    if (V > '9')
      for (TPoint& P : O->AnglePoints) {
        P.X = R.Int32();
        P.Y = R.Int32();
      }
    O->LogFont = V > 'J' ? ReadFontBlock(R) : TemplateFont(10);
  }
  if (K == ievoExtension && V > 'M' && R.UInt8() != 0) {
    const std::string ClassName = R.String();
    O->Extension = IEVCreateExtension(ClassName);
    if (!O->Extension) Refuse("the object class \"" + ClassName + "\" is not registered");
    O->Extension->Tie(nullptr, O.get());
    O->Extension->Init();
    TIEMemStream Data(R.Data().data(), static_cast<Int64>(R.Data().size()));
    Data.SetPosition(static_cast<Int64>(R.Position()));
    O->Extension->LoadFromStream(&Data);
    R.SetPosition(static_cast<std::size_t>(Data.GetPosition()));
  }

  if (K != ievoNone) Out.push_back(std::move(O));
  if (Members > 0 && Depth >= MaxGroupDepth) Refuse("groups nested too deeply");
  for (Integer I = 0; I < Members; ++I) ReadObjectRecords(R, V, Depth + 1, Template, Out);
}

}  // namespace

void IEVParseStream(TStream* Stream, char V, const TIEVObject& Template, TIEVParsedFile& File) {
  try {
    Byte Fixed[4];
    Stream->ReadBuffer(Fixed, 4);  // the length
    if (V == '1') {
      File.MeasureScale = ReadInt32(Stream);
    } else {
      Byte B[8];
      Stream->ReadBuffer(B, 8);
      UInt64 Bits = 0;
      for (Integer I = 7; I >= 0; --I) Bits = Bits << 8 | B[I];
      std::memcpy(&File.MeasureScale, &Bits, 8);
    }
    const Integer Entries = ReadInt32(Stream);
    const Int64 Left = IEStreamBytesLeft(Stream);
    if (Entries < 0 || (Left >= 0 && Entries > Left / 4)) Refuse("bad bitmap table size");
    for (Integer I = 0; I < Entries; ++I) {
      const Integer Count = ReadInt32(Stream);
      File.Pictures.push_back(Count > 0 ? ReadEntryPicture(Stream, V) : nullptr);
    }

    // The object records: the rest of the stream, inflated into memory that grows with the
    // data actually there; a deflate stream that does not reach its end is refused.
    const std::vector<Byte> Records = InflateRest(Stream);
    TRecordReader R(Records);
    const Integer Count = R.Count(21);
    for (Integer I = 0; I < Count; ++I) ReadObjectRecords(R, V, 0, Template, File.Objects);
  } catch (const EIEVectError&) {
    throw;
  } catch (const Exception& E) {
    throw EIEVectError(std::string("Objects file: ") + E.GetMessage());
  }
}

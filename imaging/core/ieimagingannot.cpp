#include "imaging/core/ieimagingannot.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <string_view>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iedibpack.h"
#include "imaging/core/iestreams.h"
#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/Screen.h"
#include "platform/system/Streams.h"

namespace {

constexpr Cardinal FileBlockRecord = 2;
constexpr Cardinal AttributesRecord = 5;
constexpr Cardinal MarkBlockRecord = 6;
constexpr Cardinal NamedBlockHeader = 12;  // the size field of block records: name and data size
constexpr Integer FontHeightOffset = 48;
constexpr Integer NameSize = 8;
constexpr Integer TextHeaderSize = 16;
constexpr Integer DefaultCreationScale = 7500;
constexpr Integer ImageDpi = 200;

bool IsLineMark(Integer Type) {
  return Type == ieamStraightLine || Type == ieamFreehandLine;
}
bool IsTextMark(Integer Type) {
  return Type >= ieamTypedText && Type <= ieamAttachedNote;
}

// What a mark's named blocks left for building its object.
struct TMarkBlocks {
  std::vector<TPoint> Points;
  std::vector<Byte> DIB;
  std::vector<Byte> Text;  // the "OiAnText" block: header, then the text
  void Clear() { *this = TMarkBlocks(); }
};

// One cursor over the data; callers ask Has before every read.
class TAnnotReader {
 public:
  TAnnotReader(const Byte* Data, size_t Length) : FData(Data), FLength(Length) {}
  bool Has(size_t Bytes) const { return Bytes <= FLength - FPos; }
  Cardinal Long() {
    const Cardinal Value = IELoadLE32(FData + FPos);
    FPos += 4;
    return Value;
  }
  const Byte* Take(size_t Bytes) {
    const Byte* At = FData + FPos;
    FPos += Bytes;
    return At;
  }

 private:
  const Byte* FData;
  size_t FLength;
  size_t FPos = 0;
};

Integer Long(const Byte* At) {
  return static_cast<Integer>(IELoadLE32(At));
}

std::vector<TPoint> ReadPoints(const Byte* Data, size_t Size) {
  if (Size < 8) return {};
  // The actual count, never more than the block holds.
  const size_t Count = std::min<size_t>(IELoadLE32(Data + 4), (Size - 8) / 8);
  std::vector<TPoint> Points(Count);
  for (size_t I = 0; I < Count; ++I) Points[I] = {Long(Data + 8 + I * 8), Long(Data + 12 + I * 8)};
  return Points;
}

// Reads a named block; false when it does not fit. Only a mark's own blocks are kept.
bool ReadNamedBlock(TAnnotReader& Reader, bool ReservedField, Integer MarkType, TMarkBlocks* Blocks) {
  const size_t Header = NameSize + 4 + (ReservedField ? 4 : 0);
  if (!Reader.Has(Header)) return false;
  const Byte* NameBytes = Reader.Take(NameSize);
  const std::string_view Name(reinterpret_cast<const char*>(NameBytes),
                              std::find(NameBytes, NameBytes + NameSize, 0) - NameBytes);
  const Cardinal Size = Reader.Long();
  if (ReservedField) Reader.Take(4);
  if (!Reader.Has(Size)) return false;
  const Byte* Data = Reader.Take(Size);
  if (Blocks == nullptr) return true;
  if (Name == "OiAnoDat" && IsLineMark(MarkType))
    Blocks->Points = ReadPoints(Data, Size);
  else if (Name == "OiDIB")
    Blocks->DIB.assign(Data, Data + Size);
  else if (Name == "OiAnText")
    Blocks->Text.assign(Data, Data + Size);
  return true;
}

// A height made for CreationScale, for the scale the marks are saved with.
Integer RescaleFontHeight(Integer Height, Integer CreationScale) {
  if (CreationScale == 0) CreationScale = DefaultCreationScale;
  // One division, so that a height saved at the default scale comes back as it was.
  const Int64 Scaled = static_cast<Int64>(Height) * DefaultCreationScale / CreationScale;
  return static_cast<Integer>(
      std::clamp<Int64>(Scaled, std::numeric_limits<Integer>::min(), std::numeric_limits<Integer>::max()));
}

std::unique_ptr<TIEImagingObject> BuildObject(const Byte* Attributes, const TMarkBlocks& Blocks) {
  auto Object = std::make_unique<TIEImagingObject>();
  std::memcpy(Object->GetAttributes(), Attributes, IEAnnotAttributesSize);
  const Integer Type = Object->GetMarkType();
  if (Type == ieamImage && !Blocks.DIB.empty()) {
    auto Image = std::make_unique<TIEBitmap>();
    if (IEUnpackDIBToBitmap(Blocks.DIB.data(), static_cast<Integer>(Blocks.DIB.size()), Image.get()))
      Object->SetImage(std::move(Image));
  }
  if (IsLineMark(Type)) Object->GetPoints() = Blocks.Points;
  if (IsTextMark(Type) && Blocks.Text.size() >= TextHeaderSize) {
    const char* Text = reinterpret_cast<const char*>(Blocks.Text.data() + TextHeaderSize);
    const size_t Room = Blocks.Text.size() - TextHeaderSize;
    Object->SetText(std::string(Text, std::find(Text, Text + Room, 0) - Text));
    Object->SetFontHeight(RescaleFontHeight(Object->GetFontHeight(), Long(Blocks.Text.data() + 8)));
  }
  return Object;
}

class TAnnotWriter {
 public:
  void Long(Cardinal Value) {
    Byte Bytes[4];
    IEStoreLE32(Bytes, Value);
    FStream.WriteBuffer(Bytes, 4);
  }
  void Bytes(const void* Data, size_t Size) {
    if (Size > 0) FStream.WriteBuffer(Data, static_cast<Integer>(Size));
  }
  void NamedBlock(Cardinal Record, std::string_view Name, const void* Data, size_t Size) {
    Long(Record);
    Long(NamedBlockHeader);
    char Padded[NameSize] = {};
    std::memcpy(Padded, Name.data(), std::min<size_t>(Name.size(), NameSize));
    Bytes(Padded, NameSize);
    Long(static_cast<Cardinal>(Size));
    Bytes(Data, Size);
  }
  void TextBlock(Cardinal Record, std::string_view Name, const std::string& Text) {
    NamedBlock(Record, Name, Text.c_str(), Text.size() + 1);
  }
  TMemoryStream& Stream() { return FStream; }

 private:
  TMemoryStream FStream;
};

std::vector<Byte> LongsToBytes(std::initializer_list<Integer> Values) {
  std::vector<Byte> Out(Values.size() * 4);
  size_t At = 0;
  for (const Integer Value : Values) {
    IEStoreLE32(Out.data() + At, static_cast<Cardinal>(Value));
    At += 4;
  }
  return Out;
}

void WriteMarkBlocks(TAnnotWriter& Writer, const TIEImagingObject& Object) {
  const Integer Type = Object.GetMarkType();
  if (Type == ieamImage && Object.GetImage() != nullptr) {
    const Integer ScreenDpi = Screen != nullptr ? Screen->GetPixelsPerInch() : ScreenPixelsPerInch;
    std::vector<Byte> Display = LongsToBytes({1, 1000, ScreenDpi, ScreenDpi, ScreenDpi, ScreenDpi, 0, 0});
    Display.resize(Display.size() + 24, 0);
    Writer.NamedBlock(MarkBlockRecord, "OiAnoDat", Display.data(), Display.size());
    const std::vector<Byte> DIB = IEPackBitmapToDIB(Object.GetImage(), ImageDpi, ImageDpi);
    Writer.NamedBlock(MarkBlockRecord, "OiDIB", DIB.data(), DIB.size());
  } else if (IsLineMark(Type)) {
    const Integer Count = static_cast<Integer>(Object.GetPoints().size());
    std::vector<Byte> Data = LongsToBytes({Count, Count});
    for (const TPoint& P : Object.GetPoints()) {
      const std::vector<Byte> Point = LongsToBytes({P.X, P.Y});
      Data.insert(Data.end(), Point.begin(), Point.end());
    }
    Writer.NamedBlock(MarkBlockRecord, "OiAnoDat", Data.data(), Data.size());
  } else if (IsTextMark(Type)) {
    const std::string& Text = Object.GetText();
    std::vector<Byte> Data = LongsToBytes({0, 1000, DefaultCreationScale, static_cast<Integer>(Text.size())});
    Data.insert(Data.end(), Text.begin(), Text.end());
    Data.push_back(0);
    Writer.NamedBlock(MarkBlockRecord, "OiAnText", Data.data(), Data.size());
  }
}

}  // namespace

TIEImagingObject::TIEImagingObject() = default;
TIEImagingObject::~TIEImagingObject() = default;

Integer TIEImagingObject::GetMarkType() const {
  return Long(FAttributes.data());
}
void TIEImagingObject::SetMarkType(Integer Value) {
  IEStoreLE32(FAttributes.data(), static_cast<Cardinal>(Value));
}
Integer TIEImagingObject::GetFontHeight() const {
  return Long(FAttributes.data() + FontHeightOffset);
}
void TIEImagingObject::SetFontHeight(Integer Value) {
  IEStoreLE32(FAttributes.data() + FontHeightOffset, static_cast<Cardinal>(Value));
}

void TIEImagingObject::SetImage(std::unique_ptr<TIEBitmap> Value) {
  FImage = std::move(Value);
}

void TIEImagingObject::Assign(const TIEImagingObject& Source) {
  if (&Source == this) return;
  FAttributes = Source.FAttributes;
  FPoints = Source.FPoints;
  FText = Source.FText;
  FImage.reset();
  if (Source.FImage) {
    FImage = std::make_unique<TIEBitmap>();
    FImage->Assign(Source.FImage.get());
  }
}

TIEImagingAnnot::TIEImagingAnnot(TObject* Owner) : FOwner(Owner) {}

TIEImagingAnnot::~TIEImagingAnnot() {
  Clear();
}

void TIEImagingAnnot::Clear() {
  FObjects.clear();
}

void TIEImagingAnnot::Assign(const TIEImagingAnnot* Source) {
  if (Source == this) return;
  Clear();
  if (Source == nullptr) return;
  for (const auto& Object : Source->FObjects) {
    auto Copy = std::make_unique<TIEImagingObject>();
    Copy->Assign(*Object);
    FObjects.push_back(std::move(Copy));
  }
}

Integer TIEImagingAnnot::AddObject(std::unique_ptr<TIEImagingObject> Object) {
  FObjects.push_back(std::move(Object));
  return Count() - 1;
}

void TIEImagingAnnot::LoadFromBuffer(const void* Data, Integer Length) {
  Clear();
  FUserChanged = false;
  if (Data == nullptr || Length < 8) return;
  TAnnotReader Reader(static_cast<const Byte*>(Data), static_cast<size_t>(Length));
  Reader.Take(4);
  const bool ReservedField = Reader.Long() == 0;  // 16-bit integer layout
  std::array<Byte, IEAnnotAttributesSize> Attributes{};
  TMarkBlocks Blocks;
  auto FinishMark = [&] {
    if (Long(Attributes.data()) >= 1) FObjects.push_back(BuildObject(Attributes.data(), Blocks));
  };
  while (Reader.Has(8)) {
    const Cardinal Type = Reader.Long();
    Reader.Long();  // the record's size field
    if (Type == AttributesRecord) {
      if (!Reader.Has(IEAnnotAttributesSize)) break;
      FinishMark();
      Blocks.Clear();
      std::memcpy(Attributes.data(), Reader.Take(IEAnnotAttributesSize), IEAnnotAttributesSize);
    } else if (Type == FileBlockRecord || Type == MarkBlockRecord) {
      TMarkBlocks* Target = Type == MarkBlockRecord ? &Blocks : nullptr;
      if (!ReadNamedBlock(Reader, ReservedField, Long(Attributes.data()), Target)) break;
    }
    // Any other record: its payload is not skipped; reading goes on after its size field.
  }
  FinishMark();
  FUserChanged = false;
}

void TIEImagingAnnot::SaveToBuffer(std::unique_ptr<Byte[]>& Buffer, Integer& Length) const {
  Buffer.reset();
  Length = 0;
  if (FObjects.empty()) return;
  TAnnotWriter Writer;
  Writer.Long(0);
  Writer.Long(1);  // 32-bit integers
  Writer.TextBlock(FileBlockRecord, "OiGroup", "0");
  Writer.TextBlock(FileBlockRecord, "OiIndex", "1");
  for (size_t I = 0; I < FObjects.size(); ++I) {
    const TIEImagingObject& Object = *FObjects[I];
    Writer.Long(AttributesRecord);
    Writer.Long(IEAnnotAttributesSize);
    Writer.Bytes(Object.GetAttributes(), IEAnnotAttributesSize);
    WriteMarkBlocks(Writer, Object);
    Writer.TextBlock(MarkBlockRecord, "OiGroup", "0");
    Writer.TextBlock(MarkBlockRecord, "OiIndex", std::to_string(I));
  }
  TMemoryStream& Stream = Writer.Stream();
  Length = static_cast<Integer>(Stream.GetSize());
  Buffer = std::make_unique<Byte[]>(Length);
  std::memcpy(Buffer.get(), Stream.GetMemory(), Length);
}

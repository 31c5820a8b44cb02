#include "imaging/core/iepdf.h"

#include <cstring>

#include "imaging/core/iestreams.h"
#include "imaging/core/ieutilstext.h"
#include "platform/system/Streams.h"

namespace {

std::string EscapeString(std::string_view Text) {
  std::string Out;
  Out.reserve(Text.size() + 2);
  for (const char C : Text) {
    switch (C) {
      case '\b':
        Out += "\\b";
        break;
      case '\t':
        Out += "\\t";
        break;
      case '\n':
        Out += "\\n";
        break;
      case '\f':
        Out += "\\f";
        break;
      case '\r':
        Out += "\\r";
        break;
      case '(':
        Out += "\\(";
        break;
      case ')':
        Out += "\\)";
        break;
      case '\\':
        Out += "\\\\";
        break;
      default:
        Out += C;
    }
  }
  return Out;
}

std::string EscapeName(std::string_view Name) {
  static constexpr char Hex[] = "0123456789ABCDEF";
  std::string Out;
  for (const char C : Name) {
    const Byte B = static_cast<Byte>(C);
    // '#' starts an escape and the delimiters end a name: they are escaped as well.
    const bool Delimiter = std::strchr("#/()<>[]{}%", C) != nullptr;
    if (B >= '!' && B <= '~' && !Delimiter) {
      Out += C;
    } else {
      Out += '#';
      Out += Hex[B >> 4];
      Out += Hex[B & 15];
    }
  }
  return Out;
}

}  // namespace

void TIEPDFObject::RecordOffset(TStream* Stream) {
  FOffset = Stream->GetPosition();
}

void TIEPDFItemRelease::operator()(TIEPDFObject* Object) const {
  if (Object != nullptr && !Object->GetShared()) delete Object;
}

void TIEPDFRefObject::Write(TStream* Stream) {
  RecordOffset(Stream);
  IEWriteStr(Stream, IEIntToStr(FRefNumber) + " " + IEIntToStr(FGeneration) + " R");
}

void TIEPDFBooleanObject::Write(TStream* Stream) {
  RecordOffset(Stream);
  IEWriteStr(Stream, FValue ? "true" : "false");
}

void TIEPDFNumericObject::Write(TStream* Stream) {
  RecordOffset(Stream);
  IEWriteStr(Stream, IEFloatToStrDot(FValue));
}

void TIEPDFStringObject::Write(TStream* Stream) {
  RecordOffset(Stream);
  IEWriteStr(Stream, "(" + EscapeString(FText) + ")");
}

void TIEPDFNameObject::Write(TStream* Stream) {
  RecordOffset(Stream);
  IEWriteStr(Stream, "/" + EscapeName(FName));
}

void TIEPDFArrayObject::Add(std::unique_ptr<TIEPDFObject> Item) {
  FItems.emplace_back(Item.release());
}

void TIEPDFArrayObject::AddShared(TIEPDFObject* Item) {
  Item->SetShared(true);
  FItems.emplace_back(Item);
}

void TIEPDFArrayObject::Write(TStream* Stream) {
  RecordOffset(Stream);
  IEWriteStr(Stream, "[");
  for (const TIEPDFItem& Item : FItems) {
    Item->Write(Stream);
    IEWriteStr(Stream, " ");
  }
  IEWriteStr(Stream, "]");
}

void TIEPDFDictionaryObject::Put(std::string_view Key, TIEPDFItem Value) {
  for (TEntry& Entry : FEntries) {
    if (Entry.Key == Key) {
      Entry.Value = std::move(Value);
      return;
    }
  }
  FEntries.push_back({std::string(Key), std::move(Value)});
}

void TIEPDFDictionaryObject::SetItem(std::string_view Key, std::unique_ptr<TIEPDFObject> Value) {
  Put(Key, TIEPDFItem(Value.release()));
}

void TIEPDFDictionaryObject::SetSharedItem(std::string_view Key, TIEPDFObject* Value) {
  Value->SetShared(true);
  Put(Key, TIEPDFItem(Value));
}

TIEPDFObject* TIEPDFDictionaryObject::GetItem(std::string_view Key) const {
  for (const TEntry& Entry : FEntries)
    if (Entry.Key == Key) return Entry.Value.get();
  return nullptr;
}

void TIEPDFDictionaryObject::Write(TStream* Stream) {
  RecordOffset(Stream);
  IEWriteStr(Stream, "<< ");
  for (const TEntry& Entry : FEntries) {
    IEWriteStr(Stream, "/" + Entry.Key + " ");
    Entry.Value->Write(Stream);
    IEWriteStr(Stream, "\n");
  }
  IEWriteStr(Stream, ">>");
}

TIEPDFStreamObject::TIEPDFStreamObject() : FDictionary(std::make_unique<TIEPDFDictionaryObject>()) {
  FDictionary->SetItem("Length", std::make_unique<TIEPDFNumericObject>(0));
}

std::unique_ptr<TIEPDFStreamObject> TIEPDFStreamObject::CreateCopy(const void* Data, Integer Length) {
  auto Stream = std::make_unique<TIEPDFStreamObject>();
  if (Length > 0) {
    Stream->FData = std::make_unique<Byte[]>(Length);
    std::memcpy(Stream->FData.get(), Data, Length);
    Stream->FDataLength = Length;
  }
  return Stream;
}

void TIEPDFStreamObject::Write(TStream* Stream) {
  RecordOffset(Stream);
  FDictionary->SetItem("Length", std::make_unique<TIEPDFNumericObject>(FDataLength));
  FDictionary->Write(Stream);
  IEWriteStr(Stream, "\nstream\n");
  if (FDataLength > 0) Stream->WriteBuffer(FData.get(), FDataLength);
  IEWriteStr(Stream, "\nendstream");
}

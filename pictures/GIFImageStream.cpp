// The GIF stream: items and lists, the header, the trailer, the extension blocks with their
// registries, the frame's stream layout and the block loop.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <utility>

#include "pictures/GIFImage.h"

namespace {

// Reads one byte; false at the end of the stream.
bool ReadByte(TStream* Stream, Byte& Value) {
  return Stream->Read(&Value, 1) == 1;
}

void StepBack(TStream* Stream) {
  Stream->Seek(-1, soCurrent);
}

void SkipBytes(TStream* Stream, Integer Count) {
  if (Count > 0) Stream->Seek(std::min<Int64>(Count, Stream->GetSize() - Stream->GetPosition()), soCurrent);
}

struct TRegistries {
  std::vector<std::pair<Byte, TGIFExtensionClass>> Extensions;
  std::vector<std::pair<TGIFApplicationRec, TGIFExtensionClass>> AppExtensions;
};

TGIFApplicationRec MakeIdent(const char* Text) {
  TGIFApplicationRec R{};
  std::memcpy(R.data(), Text, 11);
  return R;
}

TRegistries& Registries() {
  static TRegistries R = [] {
    TRegistries N;
    N.Extensions = {{0x01, &TGIFTextExtension::ClassInfo},
                    {0xF9, &TGIFGraphicControlExtension::ClassInfo},
                    {0xFE, &TGIFCommentExtension::ClassInfo},
                    {0xFF, &TGIFApplicationExtension::ClassInfo}};
    N.AppExtensions = {{MakeIdent("NETSCAPE2.0"), &TGIFAppExtNSLoop::ClassInfo},
                       {MakeIdent("ANIMEXTS1.0"), &TGIFAppExtNSLoop::ClassInfo}};
    return N;
  }();
  return R;
}

TGIFExtensionClass FindExtension(Byte Label) {
  auto& List = Registries().Extensions;
  for (auto I = List.rbegin(); I != List.rend(); ++I)
    if (I->first == Label) return I->second;
  return nullptr;
}

TGIFExtensionClass FindAppExtension(const TGIFApplicationRec& Ident) {
  auto& List = Registries().AppExtensions;
  for (auto I = List.rbegin(); I != List.rend(); ++I)
    if (I->first == Ident) return I->second;
  return nullptr;
}

TGIFExtensionClass ResolveSelf(TStream*) {
  return nullptr;  // null means "the class itself"
}

TGIFExtensionClass ResolveApplication(TStream* Stream) {
  const Int64 Start = Stream->GetPosition();
  Byte Size;
  if (!ReadByte(Stream, Size)) return nullptr;
  TGIFApplicationRec Ident{};
  if (Size == 10) {
    if (Stream->Read(Ident.data(), 10) < 10) return nullptr;
    return &TGIFUnknownAppExtension::ClassInfo;
  }
  // Blocks of 12 and more carry the identifier as well; their surplus is skipped on reading.
  if (Size >= 11 && Stream->Read(Ident.data(), 11) == 11) {
    TGIFExtensionClass C = FindAppExtension(Ident);
    return C ? C : &TGIFUnknownAppExtension::ClassInfo;
  }
  Stream->SetPosition(Start);
  return &TGIFApplicationExtension::ClassInfo;
}

template <class T>
TGIFExtension* CreateExtension(TGIFSubImage* SubImage) {
  return new T(SubImage);
}

}  // namespace

const TGIFExtensionClassRec TGIFGraphicControlExtension::ClassInfo{
    "TGIFGraphicControlExtension", &CreateExtension<TGIFGraphicControlExtension>, &ResolveSelf};
const TGIFExtensionClassRec TGIFTextExtension::ClassInfo{"TGIFTextExtension",
                                                         &CreateExtension<TGIFTextExtension>, &ResolveSelf};
const TGIFExtensionClassRec TGIFCommentExtension::ClassInfo{
    "TGIFCommentExtension", &CreateExtension<TGIFCommentExtension>, &ResolveSelf};
// The base application class has no payload of its own: blocks it is asked to read are held
// as unknown ones (their size check raises first).
const TGIFExtensionClassRec TGIFApplicationExtension::ClassInfo{
    "TGIFApplicationExtension", &CreateExtension<TGIFUnknownAppExtension>, &ResolveApplication};
const TGIFExtensionClassRec TGIFUnknownAppExtension::ClassInfo{
    "TGIFUnknownAppExtension", &CreateExtension<TGIFUnknownAppExtension>, &ResolveSelf};
const TGIFExtensionClassRec TGIFAppExtNSLoop::ClassInfo{"TGIFAppExtNSLoop",
                                                        &CreateExtension<TGIFAppExtNSLoop>, &ResolveSelf};

void RegisterExtension(Byte Label, TGIFExtensionClass AClass) {
  Registries().Extensions.emplace_back(Label, AClass);
}

void RegisterAppExtension(const TGIFApplicationRec& Ident, TGIFExtensionClass AClass) {
  Registries().AppExtensions.emplace_back(Ident, AClass);
}

// Items and lists.

void TGIFItem::Warn(Byte Severity, const std::string& Message) {
  if (FImage) FImage->Warn(this, Severity, Message);
}

void TGIFItem::StoreToFile(const std::string& FileName) {
  // Written beside the old file and put in its place only when complete.
  TReplacingFileStream Stream(FileName);
  SaveToStream(&Stream);
  Stream.Commit();
}

void TGIFItem::FetchFromFile(const std::string& FileName) {
  TFileStream Stream(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&Stream);
}

void TGIFList::Warn(Byte Severity, const std::string& Message) {
  if (FImage) FImage->Warn(this, Severity, Message);
}

void TGIFList::SaveItems(TStream* Stream) {
  for (auto& Item : FItems) Item->SaveToStream(Stream);
}

Integer TGIFList::Add(TGIFItem* Item) {
  FItems.emplace_back(Item);
  return Count() - 1;
}

void TGIFList::Insert(Integer Index, TGIFItem* Item) {
  FItems.emplace(FItems.begin() + std::clamp<Integer>(Index, 0, Count()), Item);
}

void TGIFList::Delete(Integer Index) {
  if (Index < 0 || Index >= Count()) return;
  // Out of the list first: the item's destructor looks for itself there.
  std::unique_ptr<TGIFItem> Item = std::move(FItems[static_cast<std::size_t>(Index)]);
  FItems.erase(FItems.begin() + Index);
}

void TGIFList::Clear() {
  while (!FItems.empty()) Delete(0);
}

void TGIFList::Remove(TGIFItem* Item) {
  const Integer Index = IndexOf(Item);
  if (Index < 0) return;
  FItems[static_cast<std::size_t>(Index)].release();
  FItems.erase(FItems.begin() + Index);
}

Integer TGIFList::IndexOf(const TGIFItem* Item) const {
  for (std::size_t I = 0; I < FItems.size(); ++I)
    if (FItems[I].get() == Item) return static_cast<Integer>(I);
  return -1;
}

TGIFSubImage* TGIFImageList::SubImage(Integer Index) const {
  return static_cast<TGIFSubImage*>(Item(Index));
}

// Header and trailer.

TGIFHeader::TGIFHeader(TGIFImage* AImage)
    : TGIFItem(AImage), FColorMap(std::make_unique<TGIFGlobalColorMap>(this)) {}

TGIFHeader::~TGIFHeader() = default;

Integer TGIFHeader::RequiredVersion() {
  return (FColorMap->UsageSorted() || Screen.PixelAspect != 0) ? 2 : 1;
}

void TGIFHeader::Clear() {
  FColorMap->Reset();
  Screen = TGIFScreenRecord();
}

void TGIFHeader::PackFlags() {
  Byte Flags = 0;
  Integer Bits;
  if (FColorMap->Count() > 0) {
    Flags = 0x80;
    if (FColorMap->UsageSorted()) Flags |= 0x08;
    Bits = FColorMap->Depth() - 1;
  } else {
    Bits = FImage->MaxBitsPerPixel() - 1;
  }
  Flags |= static_cast<Byte>((FImage->MaxColorResolution() << 4) & 0x70);
  Flags |= static_cast<Byte>(Bits & 7);
  Screen.Flags = Flags;
}

void TGIFHeader::LoadFromStream(TStream* Stream) {
  const Int64 Start = Stream->GetPosition();
  char Sig[6];
  auto IsGIF = [&] {
    return std::toupper(static_cast<unsigned char>(Sig[0])) == 'G' &&
           std::toupper(static_cast<unsigned char>(Sig[1])) == 'I' &&
           std::toupper(static_cast<unsigned char>(Sig[2])) == 'F';
  };
  ReadExact(Stream, Sig, 6);
  if (!IsGIF()) {
    // Some writers put four bytes before the signature.
    Stream->SetPosition(Start + 4);
    ReadExact(Stream, Sig, 6);
    if (!IsGIF()) RaiseGIFError("Invalid GIF signature");
  }
  ReadExact(Stream, &Screen, sizeof(Screen));
  if (Screen.Flags & 0x80)
    FColorMap->LoadFromStream(Stream, 2 << (Screen.Flags & 7));
  else
    FColorMap->Reset();
}

void TGIFHeader::SaveToStream(TStream* Stream) {
  switch (FImage->FileVersion()) {
    case 1:
      Stream->WriteBuffer("GIF87a", 6);
      break;
    case 2:
      Stream->WriteBuffer("GIF89a", 6);
      break;
    default:
      RaiseGIFError("Unsupported GIF version");
  }
  PackFlags();
  Stream->WriteBuffer(&Screen, sizeof(Screen));
  if (Screen.Flags & 0x80) FColorMap->SaveToStream(Stream);
}

void TGIFHeader::Assign(TPersistent* Source) {
  if (auto* H = dynamic_cast<TGIFHeader*>(Source)) {
    if (H == this) return;
    FColorMap->Assign(H->ColorMap());
    Screen = H->Screen;
  } else if (auto* Map = dynamic_cast<TGIFColorMap*>(Source)) {
    Clear();
    FColorMap->Assign(Map);
  } else {
    TGIFItem::Assign(Source);
  }
}

void TGIFTrailer::SaveToStream(TStream* Stream) {
  WriteStreamByte(Stream, ';');
}

void TGIFTrailer::LoadFromStream(TStream* Stream) {
  Byte B;
  if (ReadByte(Stream, B) && B != ';') Warn(1, "Invalid Image trailer");
}

// Extensions.

TGIFExtension::TGIFExtension(TGIFSubImage* ASubImage)
    : TGIFItem(ASubImage ? ASubImage->GetImage() : nullptr), FSubImage(ASubImage) {}

TGIFExtension::~TGIFExtension() {
  if (FSubImage) FSubImage->ExtensionBlocks()->Remove(this);
}

void TGIFExtension::SaveToStream(TStream* Stream) {
  WriteStreamByte(Stream, '!');
  WriteStreamByte(Stream, ExtensionLabel());
}

void TGIFExtension::LoadFromStream(TStream* Stream) {
  Byte Prefix[2];
  ReadExact(Stream, Prefix, 2);
  if (Prefix[0] != '!') RaiseGIFError("Invalid extension introducer");
  if (Prefix[1] != ExtensionLabel())
    RaiseGIFError("Internal error: Extension Instance does not match Extension Label");
}

TGIFExtensionClass TGIFExtension::IdentifyExtension(TStream* Stream) {
  const Int64 Start = Stream->GetPosition();
  Byte Label;
  TGIFExtensionClass Result = nullptr;
  if (ReadByte(Stream, Label)) {
    Result = FindExtension(Label);
    // Ask each class in turn until one answers for itself; bounded in case a registered
    // class keeps handing the block on.
    for (Integer Guard = 0; Result && Guard < 16; ++Guard) {
      TGIFExtensionClass Next = Result->ResolveClass(Stream);
      if (Next == nullptr || Next == Result) break;
      Result = Next;
    }
  }
  Stream->SetPosition(Start);
  return Result;
}

TGIFGraphicControlExtension::TGIFGraphicControlExtension(TGIFSubImage* ASubImage) : TGIFExtension(ASubImage) {
  if (FSubImage && FSubImage->FControlExt == nullptr) FSubImage->FControlExt = this;
}

TGIFGraphicControlExtension::~TGIFGraphicControlExtension() {
  if (!FSubImage) return;
  if (GetTransparent()) FSubImage->FHasTransparency = false;
  if (FSubImage->FControlExt == this) FSubImage->FControlExt = nullptr;
}

void TGIFGraphicControlExtension::SetTransparent(bool Value) {
  FPacked = static_cast<Byte>(Value ? FPacked | 1 : FPacked & ~1);
  if (FSubImage) FSubImage->FHasTransparency = Value;
}

void TGIFGraphicControlExtension::SetTransparentIndex(Byte Value) {
  TGIFColorMap* Colors = FSubImage ? FSubImage->ActiveColors() : nullptr;
  if (Colors && Colors->Count() > 0 && Value >= Colors->Count()) {
    Warn(1, "Invalid color index");
    Value = 0;
  }
  FTransparentIndex = Value;
}

void TGIFGraphicControlExtension::SaveToStream(TStream* Stream) {
  TGIFExtension::SaveToStream(Stream);
  const Byte Rec[6] = {
      FBlockSize,        FPacked,    static_cast<Byte>(FDelayTime & 0xFF), static_cast<Byte>(FDelayTime >> 8),
      FTransparentIndex, FTerminator};
  Stream->WriteBuffer(Rec, 6);
}

void TGIFGraphicControlExtension::LoadFromStream(TStream* Stream) {
  TGIFExtension::LoadFromStream(Stream);
  Byte Rec[6];
  if (Stream->Read(Rec, 6) < 6) {
    Warn(1, "Premature end of data");
  } else {
    FBlockSize = Rec[0];
    FPacked = Rec[1];
    FDelayTime = static_cast<Word>(Rec[2] | (Rec[3] << 8));
    FTransparentIndex = Rec[4];
    FTerminator = Rec[5];
  }
  if (GetTransparent() && FSubImage) FSubImage->FHasTransparency = true;
}

TGIFTextExtension::TGIFTextExtension(TGIFSubImage* ASubImage)
    : TGIFExtension(ASubImage), FLines(std::make_unique<TStringList>()) {}

void TGIFTextExtension::SaveToStream(TStream* Stream) {
  TGIFExtension::SaveToStream(Stream);
  Stream->WriteBuffer(&PlainText, sizeof(PlainText));
  WriteSubBlockStrings(Stream, FLines.get());
}

void TGIFTextExtension::LoadFromStream(TStream* Stream) {
  TGIFExtension::LoadFromStream(Stream);
  ReadExact(Stream, &PlainText, sizeof(PlainText));
  ReadSubBlockStrings(Stream, FLines.get());
}

TGIFCommentExtension::TGIFCommentExtension(TGIFSubImage* ASubImage)
    : TGIFExtension(ASubImage), FLines(std::make_unique<TStringList>()) {}

void TGIFCommentExtension::SaveToStream(TStream* Stream) {
  TGIFExtension::SaveToStream(Stream);
  WriteSubBlockStrings(Stream, FLines.get());
}

void TGIFCommentExtension::LoadFromStream(TStream* Stream) {
  TGIFExtension::LoadFromStream(Stream);
  ReadSubBlockStrings(Stream, FLines.get());
}

void TGIFApplicationExtension::SaveToStream(TStream* Stream) {
  TGIFExtension::SaveToStream(Stream);
  WriteStreamByte(Stream, 11);
  Stream->WriteBuffer(Ident.data(), 11);
  SavePayload(Stream);
}

void TGIFApplicationExtension::LoadFromStream(TStream* Stream) {
  TGIFExtension::LoadFromStream(Stream);
  Byte Size;
  if (!ReadByte(Stream, Size)) Size = 0;
  if (Size == 10) {
    Ident.fill(0);
    ReadExact(Stream, Ident.data(), 10);
  } else if (Size >= 11) {
    ReadExact(Stream, Ident.data(), 11);
    SkipBytes(Stream, Size - 11);
  } else {
    RaiseGIFError("Unsupported Application Extension block size");
  }
  LoadPayload(Stream);
}

void TGIFUnknownAppExtension::SavePayload(TStream* Stream) {
  for (auto& Block : RawBlocks) {
    WriteStreamByte(Stream, static_cast<Byte>(Block.size()));
    if (!Block.empty()) Stream->WriteBuffer(Block.data(), static_cast<Integer>(Block.size()));
  }
  WriteStreamByte(Stream, 0);
}

void TGIFUnknownAppExtension::LoadPayload(TStream* Stream) {
  RawBlocks.clear();
  Byte Size;
  while (ReadByte(Stream, Size) && Size != 0) {
    std::vector<Byte> Block(Size, 0);
    ReadExact(Stream, Block.data(), Size);
    RawBlocks.push_back(std::move(Block));
  }
}

TGIFAppExtNSLoop::TGIFAppExtNSLoop(TGIFSubImage* ASubImage) : TGIFApplicationExtension(ASubImage) {
  Ident = MakeIdent("NETSCAPE2.0");
}

void TGIFAppExtNSLoop::SavePayload(TStream* Stream) {
  const Byte Loop[4] = {3, 1, static_cast<Byte>(LoopCount & 0xFF), static_cast<Byte>(LoopCount >> 8)};
  Stream->WriteBuffer(Loop, 4);
  if (StreamBufferSize != 0) {
    Byte Buf[6] = {5, 2};
    for (Integer I = 0; I < 4; ++I) Buf[2 + I] = static_cast<Byte>(StreamBufferSize >> (8 * I));
    Stream->WriteBuffer(Buf, 6);
  }
  WriteStreamByte(Stream, 0);
}

void TGIFAppExtNSLoop::LoadPayload(TStream* Stream) {
  Byte Size;
  // Each pass consumes at least the size byte, so the loop ends with the stream.
  while (ReadByte(Stream, Size) && Size != 0) {
    Byte Id;
    ReadExact(Stream, &Id, 1);
    if ((Id & 7) == 1) {
      if (Size < 3) RaiseGIFError("Invalid GIF data");
      Byte Count[2];
      ReadExact(Stream, Count, 2);
      LoopCount = static_cast<Word>(Count[0] | (Count[1] << 8));
      SkipBytes(Stream, Size - 3);
    } else if ((Id & 7) == 2) {
      if (Size < 5) RaiseGIFError("Invalid GIF data");
      Byte Buf[4];
      ReadExact(Stream, Buf, 4);
      StreamBufferSize =
          Cardinal(Buf[0]) | Cardinal(Buf[1]) << 8 | Cardinal(Buf[2]) << 16 | Cardinal(Buf[3]) << 24;
      SkipBytes(Stream, Size - 5);
    } else {
      SkipBytes(Stream, Size - 1);
    }
  }
}

TGIFExtensionList::TGIFExtensionList(TGIFSubImage* ASubImage) : TGIFList(ASubImage->GetImage()) {}

void TGIFExtensionList::ReadItems(TStream* Stream, TPersistent* Parent) {
  auto* Frame = static_cast<TGIFSubImage*>(Parent);
  Byte B;
  if (!ReadByte(Stream, B)) return;
  while (B != ',' && B != ';') {
    if (B != '!') {
      Warn(1, "Invalid extension introducer");
      break;
    }
    TGIFExtensionClass AClass = TGIFExtension::IdentifyExtension(Stream);
    if (AClass == nullptr) RaiseGIFError("Unknown extension type");
    StepBack(Stream);
    std::unique_ptr<TGIFExtension> Ext(AClass->Create(Frame));
    Ext->LoadFromStream(Stream);
    Add(Ext.release());
    if (!ReadByte(Stream, B)) return;
  }
  StepBack(Stream);
}

// Frames in the stream.

void TGIFSubImage::LoadFromStream(TStream* Stream) {
  Reset();
  FExtensions->ReadItems(Stream, this);
  Byte B;
  if (!ReadByte(Stream, B)) return;
  StepBack(Stream);
  if (B == ';' || B == 0) return;
  TGIFFrameRecord Rec;
  ReadExact(Stream, &Rec, sizeof(Rec));
  if (Rec.Width == 0 || Rec.Height == 0) {
    Rec.Height = FImage->Header()->Screen.Height;
    Rec.Width = FImage->Header()->Screen.Width;
    Warn(1, "Image exceeds Logical Screen size");
  }
  Descriptor = Rec;
  if (Descriptor.Flags & 0x80) FLocalColors->LoadFromStream(Stream, 2 << (Descriptor.Flags & 7));
  Decode(Stream);
  if (RenderFramesOnLoad) FrameImage();
}

void TGIFSubImage::PackFlags() {
  if (FLocalColors->Count() > 0) {
    Byte Flags = 0x80;
    if (FLocalColors->UsageSorted()) Flags |= 0x20;
    Flags |= static_cast<Byte>((FLocalColors->Depth() - 1) & 7);
    Descriptor.Flags = Flags;
  } else {
    Descriptor.Flags &= 0x58;
  }
}

void TGIFSubImage::SaveToStream(TStream* Stream) {
  FExtensions->SaveItems(Stream);
  if (IsEmpty()) return;
  PackFlags();
  Descriptor.Separator = ',';
  Stream->WriteBuffer(&Descriptor, sizeof(Descriptor));
  FLocalColors->SaveToStream(Stream);
  Encode(Stream);
}

void TGIFImageList::ReadItems(TStream* Stream, TPersistent* Parent) {
  auto* Image = static_cast<TGIFImage*>(Parent);
  auto SkipZeros = [&](Byte& B) {
    do {
      if (!ReadByte(Stream, B)) return false;
    } while (B == 0);
    return true;
  };
  Byte B;
  if (!SkipZeros(B)) return;
  const Int64 Size = std::max<Int64>(Stream->GetSize(), 1);
  while (B != ';') {
    StepBack(Stream);
    if (B != '!' && B != ',') {
      Warn(1, "Unknown GIF block type");
      return;
    }
    const Int64 Before = Stream->GetPosition();
    std::unique_ptr<TGIFSubImage> Frame = std::make_unique<TGIFSubImage>(Image);
    Frame->LoadFromStream(Stream);
    Add(Frame.release());
    Image->Progress(Image, psRunning,
                    static_cast<Byte>(std::clamp<Int64>(Stream->GetPosition() * 100 / Size, 0, 100)),
                    RenderFramesOnLoad, "Loading...");
    if (!SkipZeros(B)) return;
    // A frame that took nothing would make no progress: the block is not one we can read.
    if (Stream->GetPosition() - 1 == Before) {
      StepBack(Stream);
      Warn(1, "Unknown GIF block type");
      return;
    }
  }
  StepBack(Stream);
}

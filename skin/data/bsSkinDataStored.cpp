// Stored skins: the envelope around their compressed bytes, packing a skin text with its
// pictures, and the skin lists that hold them.
#include "platform/classes/Bitmap.h"
#include "platform/system/Exceptions.h"
#include "platform/system/Files.h"
#include "platform/system/IniFiles.h"
#include "skin/data/bsSkinData.h"
#include "skin/data/bsSkinDataStream.h"
#include "skin/data/bszlibcompress.h"

namespace {

// The empty flag and, for a picture that is there, its BMP image.
void WriteFlaggedPicture(TStream* S, TBitmap* B) {
  const Byte EmptyFlag = B->Empty() ? 1 : 0;
  S->WriteBuffer(&EmptyFlag, 1);
  if (!EmptyFlag) B->SaveToStream(S);
}

}  // namespace

// ---- Stored skins ---------------------------------------------------------------------------

TbsCompressedStoredSkin::TbsCompressedStoredSkin(TComponent* AOwner)
    : TComponent(AOwner), CompressedStream(std::make_unique<TMemoryStream>()) {}

TbsCompressedStoredSkin::~TbsCompressedStoredSkin() = default;

void TbsCompressedStoredSkin::DecompressToStream(TStream* Target) {
  DecompressStream(Target, CompressedStream.get());
}

void TbsCompressedStoredSkin::ReadCompressedSkinStream(TStream* Source) {
  CompressedStream->Clear();
  Source->SetPosition(0);
  if (ReadSkinInt32(Source) > StoredSkinVersion) return;
  const Integer Length = ReadSkinInt32(Source);
  // A length of 0 would otherwise copy the whole source.
  if (Length == 0) return;
  if (Length < 0) throw EReadError(SReadError);
  try {
    CompressedStream->CopyFrom(Source, Length);
  } catch (...) {
    CompressedStream->Clear();
    throw;
  }
}

void TbsCompressedStoredSkin::WriteCompressedSkinStream(TStream* Target) {
  WriteSkinInt32(Target, StoredSkinVersion);
  WriteSkinInt32(Target, static_cast<Integer>(CompressedStream->GetSize()));
  CompressedStream->SaveToStream(Target);
}

void TbsCompressedStoredSkin::ReadCompressedSkinFile(const std::string& FileName) {
  TFileStream F(FileName, fmOpenRead);
  ReadCompressedSkinStream(&F);
}

void TbsCompressedStoredSkin::BuildStoredSkinFromIni(const std::string& FileName) {
  TStringList Lines;
  Lines.LoadFromFile(FileName);
  TMemIniFile Ini("");
  Ini.SetStrings(&Lines);
  if (!IsSkinIni(&Ini)) return;
  const std::string Folder = ExtractFilePath(FileName);
  TMemoryStream Payload;
  WriteSkinInt32(&Payload, StoredSkinVersion);
  for (const char* Key : {"picture", "inactivepicture", "mask"}) {
    TBitmap B;
    const std::string Name = Ini.ReadString("PICTURES", Key, "");
    if (!Name.empty()) B.LoadFromFile(Folder + Name);
    WriteFlaggedPicture(&Payload, &B);
  }
  TStringList Names;
  ReadIniStringList(&Ini, "PICTURES", "activepictures", &Names);
  WriteSkinInt32(&Payload, Names.GetCount());
  for (Integer I = 0; I < Names.GetCount(); ++I) {
    TBitmap B;
    B.LoadFromFile(Folder + Names.GetStrings(I));
    B.SaveToStream(&Payload);
  }
  for (Integer I = 0; I < Lines.GetCount(); ++I) {
    const std::string Line = Lines.GetStrings(I) + "\r\n";
    Payload.WriteBuffer(Line.data(), static_cast<Integer>(Line.size()));
  }
  TMemoryStream Compressed;
  CompressStream(&Payload, &Compressed);
  CompressedStream->Clear();
  CompressedStream->LoadFromStream(&Compressed);
}

TbsSkinListItem::TbsSkinListItem(TCollection* Collection)
    : TCollectionItem(Collection),
      FSkin(std::make_unique<TbsCompressedStoredSkin>(nullptr)),
      FName("bsSkin" + std::to_string(GetIndex())) {}

TbsSkinListItem::~TbsSkinListItem() = default;

TbsSkinListItems::TbsSkinListItems(TbsCompressedSkinList* AOwner)
    : TOwnedCollection(AOwner, &CreateCollectionItem<TbsSkinListItem>) {}

TbsCompressedSkinList::TbsCompressedSkinList(TComponent* AOwner)
    : TComponent(AOwner), FSkins(std::make_unique<TbsSkinListItems>(this)) {}

TbsCompressedSkinList::~TbsCompressedSkinList() = default;

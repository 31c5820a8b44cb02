#include "tools/skingen/SkinWriter.h"

#include <filesystem>

#include "platform/classes/Bitmap.h"
#include "platform/system/Exceptions.h"
#include "platform/system/Files.h"
#include "platform/system/IniFiles.h"
#include "platform/system/StringList.h"
#include "skin/data/bsSkinData.h"
#include "tools/skingen/SkinBuilder.h"

std::string WriteSkinFolder(TSkinBuilder& Builder, const std::string& Folder) {
  std::filesystem::create_directories(Folder);
  const std::string Dir = Folder + "/";
  for (const TSkinPictureFile& P :
       {Builder.FramePicture(), Builder.InactiveFramePicture(), Builder.FrameMask()})
    P.Image->SaveToFile(Dir + P.FileName);
  for (const TSkinPictureFile& P : Builder.PictureList()) P.Image->SaveToFile(Dir + P.FileName);
  TStringList Lines;
  Builder.Ini().GetStrings(&Lines);
  const std::string IniPath = Dir + "skin.ini";
  Lines.SaveToFile(IniPath);
  return IniPath;
}

void PackStoredSkin(const std::string& IniPath, const std::string& StoredPath) {
  TbsCompressedStoredSkin Skin(nullptr);
  Skin.BuildStoredSkinFromIni(IniPath);
  if (Skin.IsEmpty()) throw Exception("not a skin: " + IniPath);
  TMemoryStream Out;
  Skin.WriteCompressedSkinStream(&Out);
  Out.SaveToFile(StoredPath);
}

namespace {

// The record's keys as its own writer puts them, one "key=value" line each.
template <class TRecord>
std::string Saved(TRecord& Record) {
  TMemIniFile Ini("");
  Record.SaveToIni(&Ini);
  TStringList Lines;
  Ini.ReadSectionValues(Record.IDName, &Lines);
  return Lines.GetText();
}

}  // namespace

void VerifyStoredSkin(TSkinBuilder& Builder, const std::string& StoredPath) {
  TbsCompressedStoredSkin Stored(nullptr);
  Stored.ReadCompressedSkinFile(StoredPath);
  TbsSkinData Data(nullptr);
  Data.LoadStoredSkin(&Stored);
  if (Data.Empty) throw Exception(StoredPath + " did not load");
  // Every record written back must equal what the builder wrote before negative values were
  // left out: those keys read back as their defaults.
  auto Check = [&](const std::string& Name, const std::string& Loaded) {
    TStringList Lines;
    Builder.WrittenIni().ReadSectionValues(Name, &Lines);
    if (Lines.GetText() != Loaded) throw Exception(StoredPath + ": [" + Name + "] reads back otherwise");
  };
  for (auto& P : Data.SkinControls) Check(P->IDName, Saved(*P));
  for (auto& O : Data.SkinObjects) Check(O->IDName, Saved(*O));
  if (Data.SkinControls.size() + Data.SkinObjects.size() == 0) throw Exception(StoredPath + " has no parts");
}

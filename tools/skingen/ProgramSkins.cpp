// The embedded stored skins, paired with the names of the styles they were drawn from.
#include <cctype>
#include <string>
#include <vector>

#include "platform/system/EmbeddedResource.h"
#include "platform/system/Exceptions.h"
#include "platform/system/Streams.h"
#include "skin/data/bsSkinData.h"
#include "skin/data/bsSkinDataProgramSkins.h"
#include "tools/skingen/SkinStyle.h"

const TEmbeddedResource* ProgramSkinTable(std::size_t& Count);

std::span<const TbsProgramSkin> ProgramSkins() {
  static const std::vector<TbsProgramSkin> Skins = [] {
    std::size_t Count = 0;
    const TEmbeddedResource* Table = ProgramSkinTable(Count);
    std::vector<TbsProgramSkin> L;
    // The manifest lists the styles in order, one resource each, named by the file stem.
    for (std::size_t I = 0; I < Count && I < SkinStyles().size(); ++I) {
      std::string Stem = SkinStyles()[I].FileName;
      for (char& C : Stem) C = static_cast<char>(std::toupper(static_cast<unsigned char>(C)));
      if (Stem != Table[I].Name) break;
      L.push_back({SkinStyles()[I].Name, Table[I].Data, Table[I].Size});
    }
    return L;
  }();
  return Skins;
}

void AddProgramSkins(TbsCompressedSkinList* List) {
  for (const TbsProgramSkin& S : ProgramSkins()) {
    TbsSkinListItem* Item = List->GetSkins()->Add();
    Item->SetName(S.Name);
    TMemoryStream Stream;
    Stream.WriteBuffer(S.Data, static_cast<Integer>(S.Size));
    Item->GetSkin()->ReadCompressedSkinStream(&Stream);
  }
}

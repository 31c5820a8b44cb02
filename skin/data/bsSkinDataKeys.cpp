#include "skin/data/bsSkinDataKeys.h"

namespace {

template <class... F>
struct TOverloaded : F... {
  using F::operator()...;
};
template <class... F>
TOverloaded(F...) -> TOverloaded<F...>;

// The one-byte kinds: words of their own tables.
Byte ReadCode(TCustomIniFile* Ini, std::string_view Section, const TbsSkinKeyValue& Key) {
  switch (Key.Kind) {
    case TbsSkinKind::Alignment:
      return ReadAlignment(Ini, Section, Key.Key);
    case TbsSkinKind::StretchType:
      return ReadStretchType(Ini, Section, Key.Key);
    case TbsSkinKind::MorphKind:
      return ReadMorphKind(Ini, Section, Key.Key);
    case TbsSkinKind::Effect:
      return ReadEffect(Ini, Section, Key.Key);
    default:
      return ReadCommand(Ini, Section, Key.Key);
  }
}

void WriteCode(TCustomIniFile* Ini, std::string_view Section, const TbsSkinKeyValue& Key, Byte Value) {
  switch (Key.Kind) {
    case TbsSkinKind::Alignment:
      return WriteAlignment(Ini, Section, Key.Key, Value);
    case TbsSkinKind::StretchType:
      return WriteStretchType(Ini, Section, Key.Key, Value);
    case TbsSkinKind::MorphKind:
      return WriteMorphKind(Ini, Section, Key.Key, Value);
    case TbsSkinKind::Effect:
      return WriteEffect(Ini, Section, Key.Key, Value);
    default:
      return WriteCommand(Ini, Section, Key.Key, Value);
  }
}

}  // namespace

void ReadSkinKey(TCustomIniFile* Ini, std::string_view Section, const TbsSkinKeyValue& Key,
                 TbsSkinField Field) {
  std::visit(TOverloaded{
                 [&](Integer* V) { *V = Ini->ReadInteger(Section, Key.Key, Key.Default); },
                 [&](bool* V) { *V = ReadSkinBool(Ini, Section, Key.Key); },
                 [&](Byte* V) { *V = ReadCode(Ini, Section, Key); },
                 [&](TRect* V) { ReadSkinRect(Ini, Section, Key.Key, *V); },
                 [&](TPoint* V) { ReadSkinPoint(Ini, Section, Key.Key, *V); },
                 [&](std::string* V) { *V = Ini->ReadString(Section, Key.Key, Key.Text); },
                 [&](TFontStyles* V) { *V = ReadFontStyleWords(Ini, Section, Key.Key); },
             },
             Field);
}

void WriteSkinKey(TCustomIniFile* Ini, std::string_view Section, const TbsSkinKeyValue& Key,
                  TbsSkinField Field) {
  std::visit(TOverloaded{
                 [&](Integer* V) { Ini->WriteInteger(Section, Key.Key, *V); },
                 [&](bool* V) { WriteSkinBool(Ini, Section, Key.Key, *V); },
                 [&](Byte* V) { WriteCode(Ini, Section, Key, *V); },
                 [&](TRect* V) { WriteSkinRect(Ini, Section, Key.Key, *V); },
                 [&](TPoint* V) { WriteSkinPoint(Ini, Section, Key.Key, *V); },
                 [&](std::string* V) { Ini->WriteString(Section, Key.Key, *V); },
                 [&](TFontStyles* V) { WriteFontStyleWords(Ini, Section, Key.Key, *V); },
             },
             Field);
}

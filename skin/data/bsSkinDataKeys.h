#pragma once
// The key tables of the skin's records: each record class lists its keys with the field each
// fills, the kind of value and the default, and one routine reads (or writes) a whole table.
// A class's table holds only its own keys; its LoadFromIni reads its parent's first.
#include <string>
#include <variant>
#include <vector>

#include "skin/data/bsSkinText.h"

enum class TbsSkinKind : Byte {
  Integer,      // Default
  Color,        // Default
  Bool,         // false
  Rect,         // 0,0,0,0
  Point,        // 0,0
  String,       // Text
  FontStyle,    // empty set
  Alignment,    // centre
  StretchType,  // full
  MorphKind,    // mkdefault
  Effect,       // iebrightness
  Command,      // cmdefault
};

// The field of one record that a key fills.
using TbsSkinField = std::variant<Integer*, bool*, Byte*, TRect*, TPoint*, std::string*, TFontStyles*>;

struct TbsSkinKeyValue {
  const char* Key;
  TbsSkinKind Kind;
  Integer Default;
  const char* Text;
};

void ReadSkinKey(TCustomIniFile* Ini, std::string_view Section, const TbsSkinKeyValue& Key,
                 TbsSkinField Field);
void WriteSkinKey(TCustomIniFile* Ini, std::string_view Section, const TbsSkinKeyValue& Key,
                  TbsSkinField Field);

template <class T>
struct TbsSkinKey {
  using TMember = std::variant<Integer T::*, bool T::*, Byte T::*, TRect T::*, TPoint T::*, std::string T::*,
                               TFontStyles T::*>;
  TbsSkinKeyValue Value;
  TMember Member;

  TbsSkinField FieldOf(T& Record) const {
    return std::visit([&](auto M) { return TbsSkinField(&(Record.*M)); }, Member);
  }

  static TbsSkinKey Int(const char* Key, Integer T::*M, Integer Default = 0) {
    return {{Key, TbsSkinKind::Integer, Default, ""}, M};
  }
  static TbsSkinKey Color(const char* Key, Integer T::*M, Integer Default = 0) {
    return {{Key, TbsSkinKind::Color, Default, ""}, M};
  }
  static TbsSkinKey Bool(const char* Key, bool T::*M) { return {{Key, TbsSkinKind::Bool, 0, ""}, M}; }
  static TbsSkinKey Rect(const char* Key, TRect T::*M) { return {{Key, TbsSkinKind::Rect, 0, ""}, M}; }
  static TbsSkinKey Point(const char* Key, TPoint T::*M) { return {{Key, TbsSkinKind::Point, 0, ""}, M}; }
  static TbsSkinKey String(const char* Key, std::string T::*M, const char* Default = "") {
    return {{Key, TbsSkinKind::String, 0, Default}, M};
  }
  static TbsSkinKey Style(const char* Key, TFontStyles T::*M) {
    return {{Key, TbsSkinKind::FontStyle, 0, ""}, M};
  }
  static TbsSkinKey Code(const char* Key, TbsSkinKind Kind, Byte T::*M) { return {{Key, Kind, 0, ""}, M}; }
};

template <class T>
using TbsSkinKeys = std::vector<TbsSkinKey<T>>;

template <class T>
void ReadSkinKeys(TCustomIniFile* Ini, std::string_view Section, const TbsSkinKeys<T>& Keys, T& Record) {
  for (const TbsSkinKey<T>& K : Keys) ReadSkinKey(Ini, Section, K.Value, K.FieldOf(Record));
}

template <class T>
void WriteSkinKeys(TCustomIniFile* Ini, std::string_view Section, const TbsSkinKeys<T>& Keys, T& Record) {
  for (const TbsSkinKey<T>& K : Keys) WriteSkinKey(Ini, Section, K.Value, K.FieldOf(Record));
}

// A record class with a key table of its own: its LoadFromIni reads the parent's keys first,
// then its own Keys(); SaveToIni writes them in the same order.
template <class TSelf, class TBase>
class TbsSkinRecord : public TBase {
 public:
  using TBase::TBase;
  void LoadFromIni(TCustomIniFile* Ini) override {
    TBase::LoadFromIni(Ini);
    ReadSkinKeys(Ini, this->IDName, TSelf::Keys(), static_cast<TSelf&>(*this));
  }
  void SaveToIni(TCustomIniFile* Ini) override {
    TBase::SaveToIni(Ini);
    WriteSkinKeys(Ini, this->IDName, TSelf::Keys(), static_cast<TSelf&>(*this));
  }
};

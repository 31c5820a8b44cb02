#include "skin/data/bsSkinText.h"

#include <array>
#include <vector>

#include "platform/system/Strings.h"

namespace {

constexpr std::array<const char*, 4> FontStyleWords{"fsbold", "fsitalic", "fsunderline", "fsstrikeout"};
constexpr std::array<const char*, 7> MorphKindWords{
    "mkdefault", "mkgradient", "mkleftgradient", "mkrightgradient", "mkleftslide", "mkrightslide", "mkpush"};
constexpr std::array<const char*, 6> EffectWords{"iebrightness", "iedarkness",  "iegrayscale",
                                                 "ienoise",      "iesplitblur", "ieinvert"};
constexpr std::array<const char*, 6> CommandWords{"cmclose",   "cmmaximize", "cmminimize",
                                                  "cmsysmenu", "cmdefault",  "cmrollup"};
constexpr std::array<const char*, 3> StretchTypeWords{"stfull", "sthorz", "stvert"};

// The digits of each comma-separated piece, at most Fields pieces; every field converted.
template <std::size_t Fields>
std::array<Integer, Fields> ParseFields(std::string_view Text) {
  std::vector<std::string> Pieces(1);
  for (char C : Text) {
    if (C == ',')
      Pieces.emplace_back();
    else if (C >= '0' && C <= '9')
      Pieces.back() += C;
  }
  std::array<Integer, Fields> Result{};
  for (std::size_t I = 0; I < Fields; ++I)
    Result[I] = StrToInt(I < Pieces.size() ? Pieces[I] : std::string());
  return Result;
}

// The position of Text among Words; Other for any other text.
template <std::size_t N>
Byte WordCode(const std::array<const char*, N>& Words, const std::string& Text, Byte Other) {
  for (std::size_t I = 0; I < N; ++I)
    if (Text == Words[I]) return static_cast<Byte>(I);
  return Other;
}

// The word of Code; empty for a code beyond the words.
template <std::size_t N>
const char* CodeWord(const std::array<const char*, N>& Words, Byte Code) {
  return Code < N ? Words[Code] : "";
}

std::string Joined(std::initializer_list<Integer> Values) {
  std::string S;
  for (Integer V : Values) S += (S.empty() ? "" : ",") + IntToStr(V);
  return S;
}

}  // namespace

TRect ParseRect(std::string_view Text) {
  const auto F = ParseFields<4>(Text);
  return TRect{F[0], F[1], F[2], F[3]};
}

TPoint ParsePoint(std::string_view Text) {
  const auto F = ParseFields<2>(Text);
  return TPoint{F[0], F[1]};
}

void ReadSkinRect(TCustomIniFile* Ini, std::string_view Section, std::string_view Key, TRect& R) {
  R = ParseRect(Ini->ReadString(Section, Key, "0,0,0,0"));
}

void ReadSkinPoint(TCustomIniFile* Ini, std::string_view Section, std::string_view Key, TPoint& P) {
  P = ParsePoint(Ini->ReadString(Section, Key, "0,0"));
}

bool ReadSkinBool(TCustomIniFile* Ini, std::string_view Section, std::string_view Key) {
  return Ini->ReadInteger(Section, Key, 0) == 1;
}

TFontStyles ReadFontStyleWords(TCustomIniFile* Ini, std::string_view Section, std::string_view Key) {
  const std::string Text = Ini->ReadString(Section, Key, "");
  TFontStyles Styles;
  for (std::size_t I = 0; I < FontStyleWords.size(); ++I)
    if (Text.find(FontStyleWords[I]) != std::string::npos) Styles.Include(static_cast<TFontStyle>(I));
  return Styles;
}

Byte ReadAlignment(TCustomIniFile* Ini, std::string_view Section, std::string_view Key) {
  const std::string Text = Ini->ReadString(Section, Key, "tacenter");
  if (Text == "tacenter") return taCenter;
  if (Text == "taleftjustify") return taLeftJustify;
  return taRightJustify;
}

Byte ReadStretchType(TCustomIniFile* Ini, std::string_view Section, std::string_view Key) {
  const std::string Text = Ini->ReadString(Section, Key, "stfull");
  if (Text == "stfull") return stFull;
  if (Text == "stvert") return stVert;
  return stHorz;
}

Byte ReadMorphKind(TCustomIniFile* Ini, std::string_view Section, std::string_view Key) {
  return WordCode(MorphKindWords, Ini->ReadString(Section, Key, "mkdefault"), mkDefault);
}

Byte ReadEffect(TCustomIniFile* Ini, std::string_view Section, std::string_view Key) {
  return WordCode(EffectWords, Ini->ReadString(Section, Key, "iebrightness"), ieGrayScale);
}

Byte ReadCommand(TCustomIniFile* Ini, std::string_view Section, std::string_view Key) {
  return WordCode(CommandWords, Ini->ReadString(Section, Key, "cmdefault"), cmOther);
}

void ReadIniStringList(TCustomIniFile* Ini, std::string_view Section, std::string_view Key,
                       TStrings* Target) {
  const Integer Count = Ini->ReadInteger(Section, std::string(Key) + "count", 0);
  for (Integer I = 0; I < Count; ++I) Target->Add(Ini->ReadString(Section, IntToStr(I), ""));
}

bool IsSkinIni(TCustomIniFile* Ini) {
  TStringList Sections;
  Ini->ReadSections(&Sections);
  for (const char* Name : {"VERSION", "PICTURES", "FORMINFO", "SKINOBJECTS", "SKINCONTROLS"}) {
    bool Found = false;
    for (Integer I = 0; I < Sections.GetCount() && !Found; ++I)
      Found = SameText(Sections.GetStrings(I), Name);
    if (!Found) return false;
  }
  return true;
}

void WriteSkinRect(TCustomIniFile* Ini, std::string_view Section, std::string_view Key, const TRect& R) {
  Ini->WriteString(Section, Key, Joined({R.Left, R.Top, R.Right, R.Bottom}));
}

void WriteSkinPoint(TCustomIniFile* Ini, std::string_view Section, std::string_view Key, const TPoint& P) {
  Ini->WriteString(Section, Key, Joined({P.X, P.Y}));
}

void WriteSkinBool(TCustomIniFile* Ini, std::string_view Section, std::string_view Key, bool Value) {
  Ini->WriteInteger(Section, Key, Value ? 1 : 0);
}

void WriteFontStyleWords(TCustomIniFile* Ini, std::string_view Section, std::string_view Key,
                         TFontStyles Value) {
  std::string S;
  for (std::size_t I = 0; I < FontStyleWords.size(); ++I)
    if (Value.Contains(static_cast<TFontStyle>(I)))
      S += (S.empty() ? "" : ",") + std::string(FontStyleWords[I]);
  Ini->WriteString(Section, Key, S);
}

void WriteAlignment(TCustomIniFile* Ini, std::string_view Section, std::string_view Key, Byte Value) {
  Ini->WriteString(Section, Key,
                   Value == taCenter        ? "tacenter"
                   : Value == taLeftJustify ? "taleftjustify"
                                            : "tarightjustify");
}

void WriteStretchType(TCustomIniFile* Ini, std::string_view Section, std::string_view Key, Byte Value) {
  Ini->WriteString(Section, Key, CodeWord(StretchTypeWords, Value));
}

void WriteMorphKind(TCustomIniFile* Ini, std::string_view Section, std::string_view Key, Byte Value) {
  Ini->WriteString(Section, Key, CodeWord(MorphKindWords, Value));
}

void WriteCommand(TCustomIniFile* Ini, std::string_view Section, std::string_view Key, Byte Value) {
  Ini->WriteString(Section, Key, CodeWord(CommandWords, Value));
}

void WriteEffect(TCustomIniFile* Ini, std::string_view Section, std::string_view Key, Byte Value) {
  Ini->WriteString(Section, Key, CodeWord(EffectWords, Value));
}

// Face matching: the table of substitutions, fontconfig's choice of a file for a face name,
// style and pitch, and the families installed here.
#include "platform/gdi/FontEngineInternal.h"

#include <fontconfig/fcfreetype.h>  // after FreeType's and fontconfig's own headers

#include <fstream>
#include <iterator>

#include "platform/system/Strings.h"

using namespace FontInternals;

namespace {

// The one table of face substitutions: names the program asks for, families installed here.
struct TSubstitute {
  std::string_view Name;
  std::string_view Family;
};
constexpr TSubstitute Substitutes[] = {
    {"Arial", "Liberation Sans"},         {"Helvetica", "Liberation Sans"},
    {"MS Sans Serif", "Liberation Sans"}, {"Microsoft Sans Serif", "Liberation Sans"},
    {"Segoe UI", "Liberation Sans"},      {"MS Shell Dlg", "Liberation Sans"},
    {"System", "Liberation Sans"},        {"Times New Roman", "Liberation Serif"},
    {"Times", "Liberation Serif"},        {"Courier New", "Liberation Mono"},
    {"Courier", "Liberation Mono"},       {"Terminal", "Liberation Mono"},
    {"Fixedsys", "Liberation Mono"},      {"Tahoma", "DejaVu Sans"},
    {"Verdana", "DejaVu Sans"},           {"MS Shell Dlg 2", "DejaVu Sans"},
};

}  // namespace

namespace FontInternals {

TEngine& Engine() {
  static TEngine* E = new TEngine;  // never destroyed: faces may outlive statics
  return *E;
}

std::shared_ptr<TFontFile> LoadFileLocked(TEngine& E, const std::string& Path) {
  auto It = E.Files.find(Path);
  if (It != E.Files.end()) return It->second;
  std::ifstream In(Path, std::ios::binary);
  if (!In) return nullptr;
  auto File = std::make_shared<TFontFile>();
  File->Bytes.assign(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
  if (File->Bytes.empty()) return nullptr;
  E.Files.emplace(Path, File);
  return File;
}

TFaceMatch MatchLocked(TEngine& E, std::string_view FaceName, bool Bold, bool Italic, BYTE PitchAndFamily) {
  std::string Family(SubstituteFaceName(FaceName));
  if (Family.empty()) Family = std::string(FaceName);
  if (Family.empty()) {
    const BYTE Fam = PitchAndFamily & 0xF0;
    if ((PitchAndFamily & 0x03) == FIXED_PITCH || Fam == FF_MODERN)
      Family = "monospace";
    else if (Fam == FF_ROMAN)
      Family = "serif";
    else
      Family = "sans-serif";
  }
  const std::string Key = AsciiLower(Family) + (Bold ? "|b" : "|r") + (Italic ? "i" : "n");
  auto It = E.Matches.find(Key);
  if (It != E.Matches.end()) return It->second;

  TFaceMatch M;
  if (E.FcReady) {
    FcPattern* P = FcPatternCreate();
    FcPatternAddString(P, FC_FAMILY, reinterpret_cast<const FcChar8*>(Family.c_str()));
    FcPatternAddInteger(P, FC_WEIGHT, Bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(P, FC_SLANT, Italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(P, FC_OUTLINE, FcTrue);
    FcConfigSubstitute(nullptr, P, FcMatchPattern);
    FcDefaultSubstitute(P);
    FcResult R = FcResultNoMatch;
    FcPattern* Found = FcFontMatch(nullptr, P, &R);
    if (Found) {
      FcChar8* S = nullptr;
      if (FcPatternGetString(Found, FC_FILE, 0, &S) == FcResultMatch) M.File = reinterpret_cast<char*>(S);
      int Index = 0, Weight = FC_WEIGHT_REGULAR, Slant = FC_SLANT_ROMAN;
      FcPatternGetInteger(Found, FC_INDEX, 0, &Index);
      FcPatternGetInteger(Found, FC_WEIGHT, 0, &Weight);
      FcPatternGetInteger(Found, FC_SLANT, 0, &Slant);
      if (FcPatternGetString(Found, FC_FAMILY, 0, &S) == FcResultMatch) M.Family = reinterpret_cast<char*>(S);
      M.Index = Index;
      // The match reports the style asked for when fontconfig would synthesize it; the file's
      // own style decides whether we synthesize.
      if (!M.File.empty()) {
        int Count = 0;
        FcPattern* Own =
            FcFreeTypeQuery(reinterpret_cast<const FcChar8*>(M.File.c_str()), Index, nullptr, &Count);
        if (Own) {
          FcPatternGetInteger(Own, FC_WEIGHT, 0, &Weight);
          FcPatternGetInteger(Own, FC_SLANT, 0, &Slant);
          FcPatternDestroy(Own);
        }
      }
      M.Bold = Weight >= FC_WEIGHT_DEMIBOLD;
      M.Italic = Slant != FC_SLANT_ROMAN;
      // Any of the file's family names counts (fontconfig lists localised ones too).
      for (int I = 0; FcPatternGetString(Found, FC_FAMILY, I, &S) == FcResultMatch; ++I)
        if (AsciiLower(reinterpret_cast<char*>(S)) == AsciiLower(Family)) M.Substituted = true;
      FcPatternDestroy(Found);
    }
    FcPatternDestroy(P);
  }
  E.Matches.emplace(Key, M);
  return M;
}

}  // namespace FontInternals

std::vector<std::string> InstalledFontFamilies() {
  std::vector<std::string> Names;
  if (!Engine().FcReady) return Names;
  FcPattern* Pattern = FcPatternCreate();
  FcObjectSet* Objects = FcObjectSetBuild(FC_FAMILY, static_cast<char*>(nullptr));
  if (FcFontSet* Set = FcFontList(nullptr, Pattern, Objects)) {
    for (int I = 0; I < Set->nfont; ++I) {
      FcChar8* Family = nullptr;
      if (FcPatternGetString(Set->fonts[I], FC_FAMILY, 0, &Family) == FcResultMatch && Family != nullptr)
        Names.emplace_back(reinterpret_cast<const char*>(Family));
    }
    FcFontSetDestroy(Set);
  }
  FcObjectSetDestroy(Objects);
  FcPatternDestroy(Pattern);
  return Names;
}

// ---------------------------------------------------------------------------------------------
// Face resolution

std::string_view SubstituteFaceName(std::string_view FaceName) {
  const std::string Lower = AsciiLower(FaceName);
  for (const TSubstitute& S : Substitutes)
    if (AsciiLower(S.Name) == Lower) return S.Family;
  return {};
}

TFaceMatch MatchFontFace(std::string_view FaceName, bool Bold, bool Italic, BYTE PitchAndFamily) {
  TEngine& E = Engine();
  std::lock_guard<std::mutex> Guard(E.Lock);
  return MatchLocked(E, FaceName, Bold, Italic, PitchAndFamily);
}

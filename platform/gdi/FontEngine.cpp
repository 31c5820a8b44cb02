#include "platform/gdi/FontEngine.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H
#include FT_ADVANCES_H
#include FT_GLYPH_H

#include <fontconfig/fcfreetype.h>  // after FreeType's and fontconfig's own headers

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <list>
#include <mutex>
#include <numbers>
#include <unordered_map>
#include <vector>

#include "platform/system/Strings.h"

namespace {

constexpr DWORD GdiError = 0xFFFFFFFFu;
// Larger requests are served at this em height: a glyph image stays within a few megabytes.
constexpr Integer MaxEmHeight = 4096;
constexpr std::size_t FaceCacheSize = 64;

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

std::string AsciiLower(std::string_view S) {
  std::string R(S);
  for (char& C : R)
    if (C >= 'A' && C <= 'Z') C = static_cast<char>(C - 'A' + 'a');
  return R;
}

Integer RoundHalfUp(double V) {
  return static_cast<Integer>(std::floor(V + 0.5));
}
Integer Floor64(FT_Pos V) {
  return static_cast<Integer>(V >> 6);
}  // arithmetic shift floors
Integer Ceil64(FT_Pos V) {
  return static_cast<Integer>((V + 63) >> 6);
}

// Bytes of one font file, shared by every size made from it.
struct TFontFile {
  std::vector<FT_Byte> Bytes;
};

struct TEngine {
  std::mutex Lock;
  FT_Library Library = nullptr;
  bool FcReady = false;
  std::unordered_map<std::string, TFaceMatch> Matches;
  std::unordered_map<std::string, std::shared_ptr<TFontFile>> Files;
  // Realised faces, most recently used first.
  std::list<std::pair<std::string, std::shared_ptr<TFontFace>>> Faces;
  std::unordered_map<std::string, decltype(Faces)::iterator> FaceIndex;

  TEngine() {
    if (FT_Init_FreeType(&Library) != 0) Library = nullptr;
    FcReady = FcInit() == FcTrue;
    // Frees fontconfig's configuration at exit; its parser leaves blocks only this releases.
    if (FcReady) std::atexit([] { FcFini(); });
  }
};

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

}

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
}  // namespace

// ---------------------------------------------------------------------------------------------
// Logical fonts

namespace {

// A LOGFONT in the other form: every field but the face name, whose encoding differs.
template <class TTo, class TFrom>
TTo LogFontFields(const TFrom& F) {
  TTo T;
  T.lfHeight = F.lfHeight;
  T.lfWidth = F.lfWidth;
  T.lfEscapement = F.lfEscapement;
  T.lfOrientation = F.lfOrientation;
  T.lfWeight = F.lfWeight;
  T.lfItalic = F.lfItalic;
  T.lfUnderline = F.lfUnderline;
  T.lfStrikeOut = F.lfStrikeOut;
  T.lfCharSet = F.lfCharSet;
  T.lfOutPrecision = F.lfOutPrecision;
  T.lfClipPrecision = F.lfClipPrecision;
  T.lfQuality = F.lfQuality;
  T.lfPitchAndFamily = F.lfPitchAndFamily;
  return T;
}

}  // namespace

LOGFONTW LogFontToW(const LOGFONTA& F) {
  LOGFONTW W = LogFontFields<LOGFONTW>(F);
  W.lfFaceName = Utf8ToUtf16(F.lfFaceName);
  return W;
}

LOGFONTA LogFontToA(const LOGFONTW& F) {
  LOGFONTA A = LogFontFields<LOGFONTA>(F);
  A.lfFaceName = Utf16ToUtf8(F.lfFaceName);
  return A;
}

TEXTMETRICA TextMetricToA(const TEXTMETRICW& W) {
  TEXTMETRICA A;
  A.tmHeight = W.tmHeight;
  A.tmAscent = W.tmAscent;
  A.tmDescent = W.tmDescent;
  A.tmInternalLeading = W.tmInternalLeading;
  A.tmExternalLeading = W.tmExternalLeading;
  A.tmAveCharWidth = W.tmAveCharWidth;
  A.tmMaxCharWidth = W.tmMaxCharWidth;
  A.tmWeight = W.tmWeight;
  A.tmOverhang = W.tmOverhang;
  A.tmDigitizedAspectX = W.tmDigitizedAspectX;
  A.tmDigitizedAspectY = W.tmDigitizedAspectY;
  // The 8-bit form reports the code page's range: two below the first character up to 255.
  A.tmFirstChar = static_cast<BYTE>(std::clamp<Integer>(W.tmFirstChar - 2, 0, 255));
  A.tmLastChar = static_cast<BYTE>(std::min<Integer>(W.tmLastChar, 255));
  A.tmDefaultChar = static_cast<BYTE>(std::min<Integer>(W.tmDefaultChar, 255));
  A.tmBreakChar = static_cast<BYTE>(std::min<Integer>(W.tmBreakChar, 255));
  A.tmItalic = W.tmItalic;
  A.tmUnderlined = W.tmUnderlined;
  A.tmStruckOut = W.tmStruckOut;
  A.tmPitchAndFamily = W.tmPitchAndFamily;
  A.tmCharSet = W.tmCharSet;
  return A;
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

// ---------------------------------------------------------------------------------------------
// Faces

class TFontFaceFactory {
 public:
  static std::shared_ptr<TFontFace> Create(const LOGFONTW& Font);
};

struct TFontFaceData {
  std::shared_ptr<TFontFile> File;
  FT_Face Face = nullptr;
  FT_Int32 LoadFlags = FT_LOAD_DEFAULT;
  bool SymbolMap = false;  // a symbol font: 0x20..0xFF reach its 0xF020..0xF0FF range
  bool SynthBold = false;
  bool SynthItalic = false;
  FT_Pos BoldStrength = 0;  // 26.6
  Integer BoldExtra = 0;    // pixels added to every advance by synthetic emboldening
  bool Rotated = false;
  FT_Matrix Rotation{0x10000, 0, 0, 0x10000};

  FT_UInt GlyphIndex(char32_t C) const {
    if (SymbolMap && C >= 0x20 && C <= 0xFF) C += 0xF000;
    return FT_Get_Char_Index(Face, static_cast<FT_ULong>(C));
  }
  // Loads a glyph (hinted unless told) and applies the synthetic styles; false on failure.
  bool Load(FT_UInt Index, bool Hinted = true) const {
    FT_Int32 Flags = LoadFlags;
    if (!Hinted) Flags |= FT_LOAD_NO_HINTING;
    if (FT_Load_Glyph(Face, Index, Flags) != 0) return false;
    FT_GlyphSlot Slot = Face->glyph;
    if (Slot->format == FT_GLYPH_FORMAT_OUTLINE) {
      if (SynthBold) FT_Outline_EmboldenXY(&Slot->outline, BoldStrength, 0);
      if (SynthItalic) {
        const FT_Matrix Shear{0x10000, 0x0366A, 0, 0x10000};
        FT_Outline_Transform(&Slot->outline, &Shear);
      }
    }
    return true;
  }
  Integer LoadedAdvance() const {
    return static_cast<Integer>((Face->glyph->advance.x + 32) >> 6) + BoldExtra;
  }
};

struct TFontFace::TCache {
  struct TGlyphEntry {
    TGlyphImage Image;
    std::vector<Byte> Bits;
  };
  std::array<Integer, 256> LowAdvance;
  std::unordered_map<char32_t, Integer> HighAdvance;
  std::array<std::unique_ptr<TGlyphEntry>, 256> LowGlyph;
  std::unordered_map<char32_t, std::unique_ptr<TGlyphEntry>> HighGlyph;
  TGlyphEntry Empty;
  TCache() { LowAdvance.fill(-1); }
};

namespace {

// The OS/2 version 1 weighting of lowercase letters and the space: the average width the
// platform reports for its own fonts, so metric-compatible stand-ins report the same.
constexpr Integer AverageWeights[27] = {64, 14, 27, 35, 100, 20, 14, 42, 63, 3, 6,  35, 20, 56,
                                        56, 17, 4,  49, 56,  71, 31, 10, 18, 3, 18, 2,  166};

// Weighted average advance in font units; 0 when a letter is missing.
Integer WeightedAverageWidth(const TFontFaceData& D) {
  Int64 Sum = 0;
  for (Integer I = 0; I < 27; ++I) {
    const char32_t C = I < 26 ? static_cast<char32_t>('a' + I) : U' ';
    const FT_UInt G = D.GlyphIndex(C);
    if (G == 0) return 0;
    FT_Fixed Adv = 0;
    if (FT_Get_Advance(D.Face, G, FT_LOAD_NO_SCALE, &Adv) != 0) return 0;
    Sum += static_cast<Int64>(Adv) * AverageWeights[I];
  }
  return static_cast<Integer>(Sum / 1000);
}

BYTE FamilyBits(FT_Face F, const TT_OS2* Os2) {
  if (FT_IS_FIXED_WIDTH(F)) return FF_MODERN;
  if (!Os2) return FF_SWISS;
  switch (Os2->panose[0]) {
    case 3:
      return FF_SCRIPT;
    case 4:
      return FF_DECORATIVE;
    case 2:
      return Os2->panose[1] >= 2 && Os2->panose[1] <= 10 ? FF_ROMAN : FF_SWISS;
    default:
      return FF_SWISS;
  }
}

std::string FaceKey(const LOGFONTW& F) {
  const bool Mono = F.lfQuality == NONANTIALIASED_QUALITY;
  std::string K = AsciiLower(Utf16ToUtf8(F.lfFaceName));
  K += '|' + std::to_string(F.lfHeight) + '|' + std::to_string(F.lfWidth) + '|' +
       std::to_string(F.lfEscapement % 3600) + '|' + (F.lfWeight >= FW_SEMIBOLD ? 'b' : 'r') +
       (F.lfItalic ? 'i' : 'n') + (Mono ? 'm' : 'g') + '|' + std::to_string(F.lfPitchAndFamily);
  return K;
}

}  // namespace

TFontFace::TFontFace(std::unique_ptr<TFontFaceData> Data) : FData(std::move(Data)), FCache(new TCache) {}

TFontFace::~TFontFace() {
  TEngine& E = Engine();
  std::lock_guard<std::mutex> Guard(E.Lock);
  if (FData && FData->Face) FT_Done_Face(FData->Face);
}

// Builds a face for a logical font; the engine lock is held.
std::shared_ptr<TFontFace> TFontFaceFactory::Create(const LOGFONTW& LF) {
  TEngine& E = Engine();
  if (!E.Library) return nullptr;
  const bool WantBold = LF.lfWeight >= FW_SEMIBOLD;
  const bool WantItalic = LF.lfItalic != 0;
  const std::string Name = Utf16ToUtf8(LF.lfFaceName);
  TFaceMatch M = MatchLocked(E, Name, WantBold, WantItalic, LF.lfPitchAndFamily);
  if (M.File.empty()) return nullptr;
  auto File = LoadFileLocked(E, M.File);
  if (!File) return nullptr;

  auto D = std::make_unique<TFontFaceData>();
  D->File = File;
  if (FT_New_Memory_Face(E.Library, File->Bytes.data(), static_cast<FT_Long>(File->Bytes.size()), M.Index,
                         &D->Face) != 0)
    return nullptr;
  FT_Face F = D->Face;
  if (FT_Select_Charmap(F, FT_ENCODING_UNICODE) != 0 && FT_Select_Charmap(F, FT_ENCODING_MS_SYMBOL) == 0)
    D->SymbolMap = true;

  const auto* Os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(F, FT_SFNT_OS2));
  const auto* Hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(F, FT_SFNT_HHEA));
  const auto* Post = static_cast<const TT_Postscript*>(FT_Get_Sfnt_Table(F, FT_SFNT_POST));
  const double Upem = F->units_per_EM > 0 ? F->units_per_EM : 1000;
  double WinA = F->ascender, WinD = -F->descender;
  if (Os2 && Os2->version != 0xFFFF && Os2->usWinAscent + Os2->usWinDescent > 0)
    WinA = Os2->usWinAscent, WinD = Os2->usWinDescent;
  if (WinA + WinD <= 0) WinA = Upem * 0.8, WinD = Upem * 0.2;
  const double Cell = WinA + WinD;

  // The height rules.
  Integer H = LF.lfHeight == 0 ? DefaultFontCellHeight : LF.lfHeight;
  H = std::clamp<Integer>(H, -MaxEmHeight, MaxEmHeight * 2);
  Integer Em, Ascent, Descent;
  double Scale;  // pixels per font unit, vertically
  if (H < 0) {
    Em = -H;
    Scale = Em / Upem;
    Ascent = RoundHalfUp(WinA * Scale);
    Descent = RoundHalfUp(WinD * Scale);
  } else {
    Em = std::clamp(RoundHalfUp(H * Upem / Cell), 1, MaxEmHeight);
    Scale = H / Cell;
    Ascent = RoundHalfUp(WinA * Scale);
    Descent = H - Ascent;
  }
  const Integer AvgUnits = [&] {
    const Integer W = WeightedAverageWidth(*D);
    return W > 0 ? W : (Os2 && Os2->xAvgCharWidth > 0 ? Os2->xAvgCharWidth : static_cast<Integer>(Upem / 2));
  }();
  Integer XEm = Em;
  if (LF.lfWidth != 0)
    XEm = std::clamp(RoundHalfUp(std::abs(static_cast<double>(LF.lfWidth)) * Upem / AvgUnits), 1,
                     MaxEmHeight * 4);
  if (FT_IS_SCALABLE(F)) {
    if (FT_Set_Pixel_Sizes(F, static_cast<FT_UInt>(XEm), static_cast<FT_UInt>(Em)) != 0) {
      FT_Done_Face(F);
      return nullptr;
    }
  } else if (F->num_fixed_sizes > 0) {
    FT_Select_Size(F, 0);
  }
  const double XScale = XEm / Upem;

  const bool Mono = LF.lfQuality == NONANTIALIASED_QUALITY;
  D->LoadFlags = FT_LOAD_NO_BITMAP | (Mono ? FT_LOAD_TARGET_MONO : FT_LOAD_TARGET_NORMAL);
  D->SynthBold = WantBold && !M.Bold;
  D->SynthItalic = WantItalic && !M.Italic;
  if (D->SynthBold) {
    D->BoldExtra = std::max(1, (Em + 12) / 24);
    D->BoldStrength = D->BoldExtra * 64;
  }
  const Integer Esc = LF.lfEscapement % 3600;
  auto Face = std::make_shared<TFontFace>(std::move(D));
  TFontFaceData& Data = *Face->FData;
  Face->FEm = Em;
  Face->FMono = Mono;
  Face->FEscapement = Esc;
  if (Esc != 0) {
    const double A = Esc * std::numbers::pi / 1800.0;
    const double C = std::cos(A), S = std::sin(A);
    Data.Rotated = true;
    Data.Rotation = {
        static_cast<FT_Fixed>(std::lround(C * 65536)), static_cast<FT_Fixed>(std::lround(-S * 65536)),
        static_cast<FT_Fixed>(std::lround(S * 65536)), static_cast<FT_Fixed>(std::lround(C * 65536))};
    Face->FDirX = C;
    Face->FDirY = -S;
  }
  Face->FFamily = M.Family;
  Face->FFile = M.File;

  TEXTMETRICW& T = Face->FMetrics;
  T.tmAscent = Ascent;
  T.tmDescent = Descent;
  T.tmHeight = Ascent + Descent;
  T.tmInternalLeading = std::max(0, T.tmHeight - Em);
  if (Hhea) {
    const double Gap = Hhea->Line_Gap - (Cell - (Hhea->Ascender - Hhea->Descender));
    T.tmExternalLeading = std::max(0, RoundHalfUp(Gap * Scale));
  }
  T.tmAveCharWidth = std::max(1, RoundHalfUp(AvgUnits * XScale)) + Data.BoldExtra;
  T.tmMaxCharWidth = (Hhea ? RoundHalfUp(Hhea->advance_Width_Max * XScale) : Em) + Data.BoldExtra;
  T.tmWeight = Data.SynthBold
                   ? FW_BOLD
                   : (Os2 && Os2->usWeightClass ? Os2->usWeightClass : (M.Bold ? FW_BOLD : FW_NORMAL));
  T.tmItalic = WantItalic ? 255 : 0;
  const Integer First = Os2 ? Os2->usFirstCharIndex : 0x20;
  T.tmFirstChar = static_cast<char16_t>(First);
  T.tmLastChar = static_cast<char16_t>(Os2 ? Os2->usLastCharIndex : 0xFFFF);
  T.tmDefaultChar = static_cast<char16_t>(First > 0 ? First - 1 : 0);
  T.tmBreakChar = u' ';
  T.tmPitchAndFamily = static_cast<BYTE>((FT_IS_FIXED_WIDTH(F) ? 0 : TMPF_FIXED_PITCH) |
                                         (FT_IS_SCALABLE(F) ? TMPF_VECTOR : 0) |
                                         (FT_IS_SFNT(F) ? TMPF_TRUETYPE : 0) | FamilyBits(F, Os2));

  // Underline just below the baseline and within the descent; strike-out through the x-height.
  const double UlPos =
      Post ? -static_cast<double>(static_cast<FT_Short>(Post->underlinePosition)) : Upem * 0.1;
  const double UlSize = Post && Post->underlineThickness > 0 ? Post->underlineThickness : Upem * 0.05;
  Face->FUnderlineSize = std::max(1, RoundHalfUp(UlSize * Scale));
  Face->FUnderlineOffset =
      std::clamp(RoundHalfUp(UlPos * Scale), 1, std::max(1, Descent - Face->FUnderlineSize));
  const double SoPos =
      Os2 && Os2->version != 0xFFFF && Os2->yStrikeoutPosition > 0 ? Os2->yStrikeoutPosition : Upem * 0.26;
  const double SoSize =
      Os2 && Os2->version != 0xFFFF && Os2->yStrikeoutSize > 0 ? Os2->yStrikeoutSize : UlSize;
  Face->FStrikeOutSize = std::max(1, RoundHalfUp(SoSize * Scale));
  Face->FStrikeOutOffset = -RoundHalfUp(SoPos * Scale);
  return Face;
}

std::shared_ptr<TFontFace> RealizeFont(const LOGFONTW& Font) {
  TEngine& E = Engine();
  const std::string Key = FaceKey(Font);
  std::shared_ptr<TFontFace> Evicted;  // released after the lock: its destructor takes it
  std::shared_ptr<TFontFace> Face;
  {
    std::lock_guard<std::mutex> Guard(E.Lock);
    auto It = E.FaceIndex.find(Key);
    if (It != E.FaceIndex.end()) {
      E.Faces.splice(E.Faces.begin(), E.Faces, It->second);
      return It->second->second;
    }
    Face = TFontFaceFactory::Create(Font);
    if (!Face) return nullptr;
    E.Faces.emplace_front(Key, Face);
    E.FaceIndex[Key] = E.Faces.begin();
    if (E.Faces.size() > FaceCacheSize) {
      Evicted = std::move(E.Faces.back().second);
      E.FaceIndex.erase(E.Faces.back().first);
      E.Faces.pop_back();
    }
  }
  return Face;
}

std::shared_ptr<TFontFace> RealizeFont(const LOGFONTA& Font) {
  return RealizeFont(LogFontToW(Font));
}

Integer TFontFace::AdvanceLocked(char32_t C) {
  if (C < 256 && FCache->LowAdvance[C] >= 0) return FCache->LowAdvance[C];
  if (C >= 256) {
    auto It = FCache->HighAdvance.find(C);
    if (It != FCache->HighAdvance.end()) return It->second;
  }
  Integer A = 0;
  if (FData->Load(FData->GlyphIndex(C))) A = FData->LoadedAdvance();
  if (C < 256)
    FCache->LowAdvance[C] = A;
  else
    FCache->HighAdvance.emplace(C, A);
  return A;
}

Integer TFontFace::Advance(char32_t C) {
  std::lock_guard<std::mutex> Guard(Engine().Lock);
  return AdvanceLocked(C);
}

Integer TFontFace::Advances(const char32_t* Text, std::size_t Count, Integer* Out) {
  std::lock_guard<std::mutex> Guard(Engine().Lock);
  Integer Sum = 0;
  for (std::size_t I = 0; I < Count; ++I) {
    const Integer A = AdvanceLocked(Text[I]);
    if (Out) Out[I] = A;
    Sum += A;
  }
  return Sum;
}

const TGlyphImage* TFontFace::GlyphLocked(char32_t C) {
  std::unique_ptr<TCache::TGlyphEntry>* Slot;
  if (C < 256) {
    Slot = &FCache->LowGlyph[C];
  } else {
    Slot = &FCache->HighGlyph[C];
  }
  if (*Slot) return &(*Slot)->Image;
  auto Entry = std::make_unique<TCache::TGlyphEntry>();
  TGlyphImage& G = Entry->Image;
  G.Mono = FMono;
  if (FData->Load(FData->GlyphIndex(C))) {
    FT_GlyphSlot S = FData->Face->glyph;
    if (FData->Rotated && S->format == FT_GLYPH_FORMAT_OUTLINE)
      FT_Outline_Transform(&S->outline, &FData->Rotation);
    if (FT_Render_Glyph(S, FMono ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL) == 0) {
      const FT_Bitmap& B = S->bitmap;
      G.Left = S->bitmap_left;
      G.Top = S->bitmap_top;
      G.Width = static_cast<Integer>(B.width);
      G.Height = static_cast<Integer>(B.rows);
      // Keep the image in the face's own form whatever FreeType produced.
      G.Pitch = FMono ? (G.Width + 7) / 8 : G.Width;
      Entry->Bits.assign(static_cast<std::size_t>(G.Pitch) * G.Height, 0);
      for (Integer Y = 0; Y < G.Height; ++Y) {
        const unsigned char* Src = B.buffer + static_cast<std::ptrdiff_t>(Y) * B.pitch;
        Byte* Dst = Entry->Bits.data() + static_cast<std::size_t>(Y) * G.Pitch;
        if (B.pixel_mode == FT_PIXEL_MODE_MONO) {
          if (FMono) {
            std::memcpy(Dst, Src, static_cast<std::size_t>(G.Pitch));
          } else {
            for (Integer X = 0; X < G.Width; ++X) Dst[X] = (Src[X >> 3] & (0x80 >> (X & 7))) ? 255 : 0;
          }
        } else if (B.pixel_mode == FT_PIXEL_MODE_GRAY) {
          const Integer Levels = B.num_grays > 1 ? B.num_grays - 1 : 255;
          if (FMono) {
            for (Integer X = 0; X < G.Width; ++X)
              if (Src[X] * 2 > Levels) Dst[X >> 3] |= static_cast<Byte>(0x80 >> (X & 7));
          } else {
            for (Integer X = 0; X < G.Width; ++X) Dst[X] = static_cast<Byte>(Src[X] * 255 / Levels);
          }
        }
      }
      G.Bits = Entry->Bits.data();
    }
  }
  *Slot = std::move(Entry);
  return &(*Slot)->Image;
}

void TFontFace::Glyphs(const char32_t* Text, std::size_t Count, const TGlyphImage** Out) {
  std::lock_guard<std::mutex> Guard(Engine().Lock);
  for (std::size_t I = 0; I < Count; ++I) Out[I] = GlyphLocked(Text[I]);
}

bool TFontFace::CharAbc(char32_t C, ABC& Out) {
  std::lock_guard<std::mutex> Guard(Engine().Lock);
  if (!FData->Load(FData->GlyphIndex(C))) return false;
  const Integer Adv = FData->LoadedAdvance();
  FT_GlyphSlot S = FData->Face->glyph;
  FT_BBox Box{0, 0, 0, 0};
  if (S->format == FT_GLYPH_FORMAT_OUTLINE && S->outline.n_points > 0) FT_Outline_Get_CBox(&S->outline, &Box);
  const Integer X0 = Floor64(Box.xMin), X1 = Ceil64(Box.xMax);
  if (X1 <= X0) {
    // An empty glyph has a one-pixel black box, as the platform reports.
    Out = ABC{0, 1, Adv - 1};
  } else {
    Out = ABC{X0, static_cast<UINT>(X1 - X0), Adv - X1};
  }
  return true;
}

// ---------------------------------------------------------------------------------------------
// Glyph outlines

namespace {

POINTFX ToPointFx(FT_Vector V) {
  // 26.6 to 16.16.
  return POINTFX{FixedFromRaw(static_cast<Integer>(V.x * 1024)),
                 FixedFromRaw(static_cast<Integer>(V.y * 1024))};
}

// Writes contours as TTPOLYGONHEADER/TTPOLYCURVE records. Native keeps quadratic splines (runs of
// off-curve points with implied on-curve midpoints) and lines; Bezier turns them into cubics.
class TOutlineWriter {
 public:
  explicit TOutlineWriter(bool Bezier) : FBezier(Bezier) {}
  std::vector<Byte> Out;

  void Contour(const FT_Vector* P, const char* Tags, Integer N) {
    if (N <= 0) return;
    // Start at an on-curve point, or at the midpoint of two off-curve points.
    Integer Start = -1;
    for (Integer I = 0; I < N; ++I)
      if (Kind(Tags[I]) == 0) {
        Start = I;
        break;
      }
    std::vector<FT_Vector> Pts;
    std::vector<char> Kinds;
    if (Start < 0) {
      FT_Vector Mid{(P[0].x + P[N - 1].x) / 2, (P[0].y + P[N - 1].y) / 2};
      Pts.push_back(Mid);
      Kinds.push_back(0);
      for (Integer I = 0; I < N; ++I) Pts.push_back(P[I]), Kinds.push_back(Kind(Tags[I]));
    } else {
      for (Integer I = 0; I < N; ++I) {
        const Integer J = (Start + I) % N;
        Pts.push_back(P[J]);
        Kinds.push_back(Kind(Tags[J]));
      }
    }
    Pts.push_back(Pts[0]);  // the contour closes on its start
    Kinds.push_back(0);

    const std::size_t HeaderAt = Out.size();
    TTPOLYGONHEADER H;
    H.pfxStart = ToPointFx(Pts[0]);
    Append(&H, sizeof(H));
    const std::size_t Count = Pts.size();
    std::size_t I = 1;
    while (I < Count) {
      if (Kinds[I] == 0) {
        // A run of lines; the closing line back to the start is implied.
        std::vector<FT_Vector> Run;
        while (I < Count && Kinds[I] == 0) {
          if (I + 1 < Count || !Same(Pts[I], Pts[I - 1])) Run.push_back(Pts[I]);
          ++I;
        }
        if (I == Count && !Run.empty() && Same(Run.back(), Pts[0])) Run.pop_back();
        if (!Run.empty()) Curve(TT_PRIM_LINE, Run);
      } else if (Kinds[I] == 1) {
        // Quadratic: off-curve points up to the next on-curve point.
        std::vector<FT_Vector> Run;
        FT_Vector From = Pts[I - 1];
        std::vector<FT_Vector> Cubic;
        while (I < Count && Kinds[I] == 1) {
          const FT_Vector C = Pts[I];
          const bool NextOff = I + 1 < Count && Kinds[I + 1] == 1;
          const FT_Vector To =
              NextOff ? FT_Vector{(C.x + Pts[I + 1].x) / 2, (C.y + Pts[I + 1].y) / 2} : Pts[I + 1];
          Run.push_back(C);
          if (FBezier) {
            Cubic.push_back({From.x + (C.x - From.x) * 2 / 3, From.y + (C.y - From.y) * 2 / 3});
            Cubic.push_back({To.x + (C.x - To.x) * 2 / 3, To.y + (C.y - To.y) * 2 / 3});
            Cubic.push_back(To);
          }
          From = To;
          ++I;
        }
        Run.push_back(Pts[I]);  // the on-curve end point
        ++I;
        Curve(FBezier ? TT_PRIM_CSPLINE : TT_PRIM_QSPLINE, FBezier ? Cubic : Run);
      } else {
        // Cubic segments (two control points and an end point each).
        std::vector<FT_Vector> Run;
        while (I + 2 < Count && Kinds[I] == 2) {
          Run.push_back(Pts[I]);
          Run.push_back(Pts[I + 1]);
          Run.push_back(Pts[I + 2]);
          I += 3;
        }
        if (Run.empty()) break;  // malformed contour
        Curve(TT_PRIM_CSPLINE, Run);
      }
    }
    const DWORD Cb = static_cast<DWORD>(Out.size() - HeaderAt);
    std::memcpy(Out.data() + HeaderAt, &Cb, sizeof(Cb));
  }

 private:
  bool FBezier;
  static char Kind(char Tag) {
    switch (FT_CURVE_TAG(Tag)) {
      case FT_CURVE_TAG_ON:
        return 0;
      case FT_CURVE_TAG_CONIC:
        return 1;
      default:
        return 2;
    }
  }
  static bool Same(FT_Vector A, FT_Vector B) { return A.x == B.x && A.y == B.y; }
  void Append(const void* P, std::size_t N) {
    const Byte* B = static_cast<const Byte*>(P);
    Out.insert(Out.end(), B, B + N);
  }
  void Curve(WORD Type, const std::vector<FT_Vector>& Points) {
    const WORD Head[2] = {Type, static_cast<WORD>(Points.size())};
    Append(Head, sizeof(Head));
    for (const FT_Vector& V : Points) {
      const POINTFX F = ToPointFx(V);
      Append(&F, sizeof(F));
    }
  }
};

}  // namespace

DWORD TFontFace::GlyphOutline(UINT Char, UINT Format, GLYPHMETRICS* Metrics, DWORD Size, void* Buffer,
                              const MAT2* Matrix) {
  if (!Metrics || !Matrix) return GdiError;
  const UINT Kind = Format & 0x0F;
  if (Kind > GGO_GRAY8_BITMAP) return GdiError;
  TEngine& E = Engine();
  std::lock_guard<std::mutex> Guard(E.Lock);
  const FT_UInt Index = (Format & GGO_GLYPH_INDEX) ? Char : FData->GlyphIndex(Char);
  if ((Format & GGO_GLYPH_INDEX) && Index >= static_cast<FT_UInt>(FData->Face->num_glyphs)) return GdiError;
  if (!FData->Load(Index, (Format & GGO_UNHINTED) == 0)) return GdiError;
  FT_GlyphSlot S = FData->Face->glyph;
  if (S->format != FT_GLYPH_FORMAT_OUTLINE) return GdiError;
  FT_Outline& O = S->outline;

  FT_Matrix M{FixedToRaw(Matrix->eM11), FixedToRaw(Matrix->eM21), FixedToRaw(Matrix->eM12),
              FixedToRaw(Matrix->eM22)};
  FT_Matrix Total = M;
  if (FData->Rotated) {
    Total = FData->Rotation;
    FT_Matrix_Multiply(&M, &Total);  // the font's rotation first, then the caller's matrix
  }
  const bool Identity = Total.xx == 0x10000 && Total.yy == 0x10000 && Total.xy == 0 && Total.yx == 0;
  if (!Identity) FT_Outline_Transform(&O, &Total);
  FT_Vector Adv{static_cast<FT_Pos>(FData->LoadedAdvance()) * 64, 0};
  if (!Identity) FT_Vector_Transform(&Adv, &Total);

  FT_BBox Box{0, 0, 0, 0};
  const bool Empty = O.n_points == 0;
  if (!Empty) FT_Outline_Get_CBox(&O, &Box);
  const Integer X0 = Floor64(Box.xMin), Y0 = Floor64(Box.yMin);
  const Integer X1 = Ceil64(Box.xMax), Y1 = Ceil64(Box.yMax);
  GLYPHMETRICS G;
  G.gmBlackBoxX = Empty || X1 <= X0 ? 1u : static_cast<UINT>(X1 - X0);
  G.gmBlackBoxY = Empty || Y1 <= Y0 ? 1u : static_cast<UINT>(Y1 - Y0);
  G.gmptGlyphOrigin = Empty ? POINT{0, 0} : POINT{X0, Y1};
  G.gmCellIncX = static_cast<SHORT>(RoundHalfUp(Adv.x / 64.0));
  G.gmCellIncY = static_cast<SHORT>(RoundHalfUp(Adv.y / 64.0));
  *Metrics = G;
  if (Kind == GGO_METRICS) return 1;

  std::vector<Byte> Data;
  if (Kind == GGO_NATIVE || Kind == GGO_BEZIER) {
    TOutlineWriter W(Kind == GGO_BEZIER);
    Integer First = 0;
    for (Integer C = 0; C < O.n_contours; ++C) {
      const Integer Last = O.contours[C];
      W.Contour(O.points + First, O.tags + First, Last - First + 1);
      First = Last + 1;
    }
    Data = std::move(W.Out);
  } else if (!Empty) {
    const Integer Wd = static_cast<Integer>(G.gmBlackBoxX), Ht = static_cast<Integer>(G.gmBlackBoxY);
    const bool Mono = Kind == GGO_BITMAP;
    const Integer Pitch = Mono ? ((Wd + 31) / 32) * 4 : (Wd + 3) & ~3;
    Data.assign(static_cast<std::size_t>(Pitch) * Ht, 0);
    FT_Outline_Translate(&O, -static_cast<FT_Pos>(X0) * 64, -static_cast<FT_Pos>(Y0) * 64);
    FT_Bitmap B{};
    B.rows = static_cast<unsigned>(Ht);
    B.width = static_cast<unsigned>(Wd);
    B.pitch = Pitch;
    B.buffer = Data.data();
    B.pixel_mode = Mono ? FT_PIXEL_MODE_MONO : FT_PIXEL_MODE_GRAY;
    B.num_grays = 256;
    if (FT_Outline_Get_Bitmap(E.Library, &O, &B) != 0) return GdiError;
    if (!Mono) {
      const Integer Levels = Kind == GGO_GRAY2_BITMAP ? 4 : Kind == GGO_GRAY4_BITMAP ? 16 : 64;
      for (Byte& V : Data) V = static_cast<Byte>((V * Levels + 127) / 255);
    }
  }
  if (!Buffer || Size == 0) return static_cast<DWORD>(Data.size());
  if (Size < Data.size()) return GdiError;
  if (!Data.empty()) std::memcpy(Buffer, Data.data(), Data.size());
  return static_cast<DWORD>(Data.size());
}

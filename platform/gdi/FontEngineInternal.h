#pragma once
// What the font engine's files share: FreeType and fontconfig behind one lock, the caches of
// matches, files and realised faces, the data a TFontFace wraps, and FreeType's 26.6 rounding.
// Not for use outside the engine.
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H
#include FT_ADVANCES_H
#include FT_GLYPH_H

#include <cmath>
#include <cstdlib>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/gdi/FontEngine.h"

namespace FontInternals {

constexpr DWORD GdiError = 0xFFFFFFFFu;
// Larger requests are served at this em height: a glyph image stays within a few megabytes.
constexpr Integer MaxEmHeight = 4096;
constexpr std::size_t FaceCacheSize = 64;

inline std::string AsciiLower(std::string_view S) {
  std::string R(S);
  for (char& C : R)
    if (C >= 'A' && C <= 'Z') C = static_cast<char>(C - 'A' + 'a');
  return R;
}

inline Integer RoundHalfUp(double V) {
  return static_cast<Integer>(std::floor(V + 0.5));
}
inline Integer Floor64(FT_Pos V) {
  return static_cast<Integer>(V >> 6);
}  // arithmetic shift floors
inline Integer Ceil64(FT_Pos V) {
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

// The one engine; its lock guards everything above and every FreeType call.
TEngine& Engine();
// The bytes of a font file, read once; nullptr when it cannot be read. The lock is held.
std::shared_ptr<TFontFile> LoadFileLocked(TEngine& E, const std::string& Path);
// The file and face fontconfig picks for a face name, style and pitch, cached. The lock is held.
TFaceMatch MatchLocked(TEngine& E, std::string_view FaceName, bool Bold, bool Italic, BYTE PitchAndFamily);

}  // namespace FontInternals

class TFontFaceFactory {
 public:
  static std::shared_ptr<TFontFace> Create(const LOGFONTW& Font);
};

struct TFontFaceData {
  std::shared_ptr<FontInternals::TFontFile> File;
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

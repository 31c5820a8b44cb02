// Realised faces: a logical font made into a FreeType face at a pixel size with its metrics,
// the cache of faces, advances, glyph images and ABC widths.
#include <algorithm>
#include <array>
#include <cstring>

#include "platform/gdi/FontEngineInternal.h"
#include "platform/system/Strings.h"

using namespace FontInternals;

// ---------------------------------------------------------------------------------------------
// Faces

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

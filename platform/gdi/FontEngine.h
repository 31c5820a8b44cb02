#pragma once
// Fonts without a device context: logical font descriptions, face names resolved through
// fontconfig, and realised faces (FreeType) with the platform's text metrics, integer advances,
// cached glyph images and glyph outlines. All sizes are device pixels at 96 dpi.
//
// Height rules (lfHeight): below 0 asks for that character (em) height; above 0 for that cell
// height (tmHeight = ascent + descent equals it); 0 for the default cell height of 16 pixels.
// Quality (lfQuality): NONANTIALIASED_QUALITY renders 1-bit glyphs; every other quality renders
// 8-bit coverage, as the platform does with font smoothing on.
// Faces are shared and may be used from any thread; one lock guards the engine and its caches.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/system/WinTypes.h"

constexpr Integer LF_FACESIZE = 32;  // face names keep at most 31 characters

constexpr LONG FW_DONTCARE = 0;
constexpr LONG FW_THIN = 100;
constexpr LONG FW_EXTRALIGHT = 200;
constexpr LONG FW_LIGHT = 300;
constexpr LONG FW_NORMAL = 400;
constexpr LONG FW_MEDIUM = 500;
constexpr LONG FW_SEMIBOLD = 600;
constexpr LONG FW_BOLD = 700;
constexpr LONG FW_EXTRABOLD = 800;
constexpr LONG FW_HEAVY = 900;

constexpr BYTE ANSI_CHARSET = 0;
constexpr BYTE DEFAULT_CHARSET = 1;
constexpr BYTE SYMBOL_CHARSET = 2;
constexpr BYTE MAC_CHARSET = 77;
constexpr BYTE SHIFTJIS_CHARSET = 128;
constexpr BYTE HANGUL_CHARSET = 129;
constexpr BYTE JOHAB_CHARSET = 130;
constexpr BYTE GB2312_CHARSET = 134;
constexpr BYTE CHINESEBIG5_CHARSET = 136;
constexpr BYTE GREEK_CHARSET = 161;
constexpr BYTE TURKISH_CHARSET = 162;
constexpr BYTE VIETNAMESE_CHARSET = 163;
constexpr BYTE HEBREW_CHARSET = 177;
constexpr BYTE ARABIC_CHARSET = 178;
constexpr BYTE BALTIC_CHARSET = 186;
constexpr BYTE RUSSIAN_CHARSET = 204;
constexpr BYTE THAI_CHARSET = 222;
constexpr BYTE EASTEUROPE_CHARSET = 238;
constexpr BYTE OEM_CHARSET = 255;

constexpr BYTE OUT_DEFAULT_PRECIS = 0;
constexpr BYTE OUT_STRING_PRECIS = 1;
constexpr BYTE OUT_CHARACTER_PRECIS = 2;
constexpr BYTE OUT_STROKE_PRECIS = 3;
constexpr BYTE OUT_TT_PRECIS = 4;
constexpr BYTE OUT_DEVICE_PRECIS = 5;
constexpr BYTE OUT_RASTER_PRECIS = 6;
constexpr BYTE OUT_TT_ONLY_PRECIS = 7;
constexpr BYTE OUT_OUTLINE_PRECIS = 8;
constexpr BYTE OUT_SCREEN_OUTLINE_PRECIS = 9;
constexpr BYTE OUT_PS_ONLY_PRECIS = 10;

constexpr BYTE CLIP_DEFAULT_PRECIS = 0;
constexpr BYTE CLIP_CHARACTER_PRECIS = 1;
constexpr BYTE CLIP_STROKE_PRECIS = 2;
constexpr BYTE CLIP_MASK = 0x0F;
constexpr BYTE CLIP_LH_ANGLES = 0x10;
constexpr BYTE CLIP_TT_ALWAYS = 0x20;
constexpr BYTE CLIP_DFA_DISABLE = 0x40;
constexpr BYTE CLIP_EMBEDDED = 0x80;

constexpr BYTE DEFAULT_QUALITY = 0;
constexpr BYTE DRAFT_QUALITY = 1;
constexpr BYTE PROOF_QUALITY = 2;
constexpr BYTE NONANTIALIASED_QUALITY = 3;
constexpr BYTE ANTIALIASED_QUALITY = 4;
constexpr BYTE CLEARTYPE_QUALITY = 5;
constexpr BYTE CLEARTYPE_NATURAL_QUALITY = 6;

constexpr BYTE DEFAULT_PITCH = 0;
constexpr BYTE FIXED_PITCH = 1;
constexpr BYTE VARIABLE_PITCH = 2;
constexpr BYTE MONO_FONT = 8;
constexpr BYTE FF_DONTCARE = 0x00;
constexpr BYTE FF_ROMAN = 0x10;
constexpr BYTE FF_SWISS = 0x20;
constexpr BYTE FF_MODERN = 0x30;
constexpr BYTE FF_SCRIPT = 0x40;
constexpr BYTE FF_DECORATIVE = 0x50;

// tmPitchAndFamily bits; TMPF_FIXED_PITCH set means a variable-pitch font, as on the platform.
constexpr BYTE TMPF_FIXED_PITCH = 0x01;
constexpr BYTE TMPF_VECTOR = 0x02;
constexpr BYTE TMPF_TRUETYPE = 0x04;
constexpr BYTE TMPF_DEVICE = 0x08;

constexpr UINT GGO_METRICS = 0;
constexpr UINT GGO_BITMAP = 1;
constexpr UINT GGO_NATIVE = 2;
constexpr UINT GGO_BEZIER = 3;
constexpr UINT GGO_GRAY2_BITMAP = 4;
constexpr UINT GGO_GRAY4_BITMAP = 5;
constexpr UINT GGO_GRAY8_BITMAP = 6;
constexpr UINT GGO_GLYPH_INDEX = 0x0080;
constexpr UINT GGO_UNHINTED = 0x0100;

constexpr DWORD TT_POLYGON_TYPE = 24;
constexpr WORD TT_PRIM_LINE = 1;
constexpr WORD TT_PRIM_QSPLINE = 2;
constexpr WORD TT_PRIM_CSPLINE = 3;

// The logical font. The A form holds the face name as UTF-8, the W form as UTF-16.
template <class TString>
struct TLogFont {
  LONG lfHeight = 0;
  LONG lfWidth = 0;
  LONG lfEscapement = 0;  // tenths of a degree, counter-clockwise
  LONG lfOrientation = 0;
  LONG lfWeight = FW_DONTCARE;
  BYTE lfItalic = 0;
  BYTE lfUnderline = 0;
  BYTE lfStrikeOut = 0;
  BYTE lfCharSet = DEFAULT_CHARSET;
  BYTE lfOutPrecision = OUT_DEFAULT_PRECIS;
  BYTE lfClipPrecision = CLIP_DEFAULT_PRECIS;
  BYTE lfQuality = DEFAULT_QUALITY;
  BYTE lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  TString lfFaceName;
  bool operator==(const TLogFont&) const = default;
};
using LOGFONTA = TLogFont<std::string>;
using LOGFONTW = TLogFont<std::u16string>;
using LOGFONT = LOGFONTA;

LOGFONTW LogFontToW(const LOGFONTA& Font);
LOGFONTA LogFontToA(const LOGFONTW& Font);

template <class TChar>
struct TTextMetric {
  LONG tmHeight = 0;
  LONG tmAscent = 0;
  LONG tmDescent = 0;
  LONG tmInternalLeading = 0;
  LONG tmExternalLeading = 0;
  LONG tmAveCharWidth = 0;
  LONG tmMaxCharWidth = 0;
  LONG tmWeight = 0;
  LONG tmOverhang = 0;
  LONG tmDigitizedAspectX = 96;
  LONG tmDigitizedAspectY = 96;
  TChar tmFirstChar = 0;
  TChar tmLastChar = 0;
  TChar tmDefaultChar = 0;
  TChar tmBreakChar = 0;
  BYTE tmItalic = 0;
  BYTE tmUnderlined = 0;
  BYTE tmStruckOut = 0;
  BYTE tmPitchAndFamily = 0;
  BYTE tmCharSet = 0;
};
using TEXTMETRICA = TTextMetric<BYTE>;
using TEXTMETRICW = TTextMetric<char16_t>;
using TEXTMETRIC = TEXTMETRICA;

TEXTMETRICA TextMetricToA(const TEXTMETRICW& Metric);

struct ABC {
  Integer abcA = 0;  // left bearing
  UINT abcB = 0;     // black box width
  Integer abcC = 0;  // right bearing
};

// 16.16 fixed point as the platform lays it out: fraction word first.
struct FIXED {
  WORD fract = 0;
  SHORT value = 0;
};
constexpr FIXED FIXEDFromInt(Integer V) {
  return FIXED{0, static_cast<SHORT>(V)};
}
constexpr Integer FixedToRaw(FIXED F) {
  return static_cast<Integer>(F.value) * 65536 + F.fract;
}
constexpr FIXED FixedFromRaw(Integer V) {
  return FIXED{static_cast<WORD>(V & 0xFFFF), static_cast<SHORT>(V >> 16)};
}
struct MAT2 {
  FIXED eM11{0, 1};
  FIXED eM12;
  FIXED eM21;
  FIXED eM22{0, 1};
};
struct POINTFX {
  FIXED x;
  FIXED y;
};
struct GLYPHMETRICS {
  UINT gmBlackBoxX = 0;
  UINT gmBlackBoxY = 0;
  POINT gmptGlyphOrigin;  // top-left of the black box; y counts up from the baseline
  SHORT gmCellIncX = 0;
  SHORT gmCellIncY = 0;
};
// GGO_NATIVE/GGO_BEZIER buffers: per contour one header (cb covers the header and its curves)
// followed by curve records of cpfx points each; coordinates in pixels, y up from the baseline.
struct TTPOLYGONHEADER {
  DWORD cb = 0;
  DWORD dwType = TT_POLYGON_TYPE;
  POINTFX pfxStart;
};
struct TTPOLYCURVE {
  WORD wType = 0;
  WORD cpfx = 0;
  POINTFX apfx[1];
};

// A glyph image placed relative to the pen position on the baseline: its top-left pixel is Left
// pixels right of the pen and Top pixels above the baseline (device row = baseline - Top + row).
struct TGlyphImage {
  Integer Left = 0;
  Integer Top = 0;
  Integer Width = 0;
  Integer Height = 0;
  Integer Pitch = 0;  // bytes per row
  bool Mono = false;  // 1 bit per pixel, most significant bit leftmost; else coverage 0..255
  const Byte* Bits = nullptr;
};

// Where a face name with a style resolves to.
struct TFaceMatch {
  std::string File;
  Integer Index = 0;
  std::string Family;        // of the file found
  bool Bold = false;         // the file itself is bold
  bool Italic = false;       // the file itself is italic or oblique
  bool Substituted = false;  // the name was found (directly or through the table)
};

// The substitute family a face name maps to (case-insensitive), empty when the table has none.
std::string_view SubstituteFaceName(std::string_view FaceName);
// Resolves a face name (after substitution) to a font file. Empty names pick fontconfig's default
// sans (serif or monospace by the pitch and family bits). Throws nothing; File is empty when the
// system has no usable font at all.
TFaceMatch MatchFontFace(std::string_view FaceName, bool Bold, bool Italic, BYTE PitchAndFamily);
// The family names of the installed fonts, in fontconfig's order (duplicates possible).
std::vector<std::string> InstalledFontFamilies();

struct TFontFaceData;
class TFontFaceFactory;

// A realised font: one file at one size and style. Metrics are fixed at creation; advances and
// glyph images are made on first use and cached for the face's lifetime.
class TFontFace {
 public:
  explicit TFontFace(std::unique_ptr<TFontFaceData> Data);
  ~TFontFace();
  TFontFace(const TFontFace&) = delete;
  TFontFace& operator=(const TFontFace&) = delete;

  // tmUnderlined, tmStruckOut and tmCharSet come from the logical font, not from here.
  const TEXTMETRICW& Metrics() const { return FMetrics; }
  Integer EmHeight() const { return FEm; }
  bool Mono() const { return FMono; }
  Integer Escapement() const { return FEscapement; }
  // Unit vector of the baseline direction in device coordinates (y down).
  double DirX() const { return FDirX; }
  double DirY() const { return FDirY; }
  const std::string& Family() const { return FFamily; }
  const std::string& File() const { return FFile; }
  // Underline and strike-out bars: first row below the baseline (negative: above) and thickness.
  Integer UnderlineOffset() const { return FUnderlineOffset; }
  Integer UnderlineSize() const { return FUnderlineSize; }
  Integer StrikeOutOffset() const { return FStrikeOutOffset; }
  Integer StrikeOutSize() const { return FStrikeOutSize; }

  // Integer advance of one character, as the platform's hinted widths.
  Integer Advance(char32_t C);
  // Advances of Count characters into Out (may be null); returns their sum. Renders nothing.
  Integer Advances(const char32_t* Text, std::size_t Count, Integer* Out);
  // Rendered glyphs of Count characters (pointers live as long as the face).
  void Glyphs(const char32_t* Text, std::size_t Count, const TGlyphImage** Out);
  // A, B and C widths of a character; false when it cannot be loaded.
  bool CharAbc(char32_t C, ABC& Out);
  // The platform's GetGlyphOutline on this face. Returns the buffer size needed (Buffer null or
  // Size 0), the bytes written, 1 for GGO_METRICS, or GDI_ERROR.
  DWORD GlyphOutline(UINT Char, UINT Format, GLYPHMETRICS* Metrics, DWORD Size, void* Buffer,
                     const MAT2* Matrix);

 private:
  friend class TFontFaceFactory;
  struct TCache;
  std::unique_ptr<TFontFaceData> FData;
  std::unique_ptr<TCache> FCache;
  TEXTMETRICW FMetrics;
  Integer FEm = 0;
  bool FMono = false;
  Integer FEscapement = 0;
  double FDirX = 1, FDirY = 0;
  std::string FFamily;
  std::string FFile;
  Integer FUnderlineOffset = 1, FUnderlineSize = 1, FStrikeOutOffset = -3, FStrikeOutSize = 1;

  // The engine lock is held by the callers of these.
  Integer AdvanceLocked(char32_t C);
  const TGlyphImage* GlyphLocked(char32_t C);
};

// The realised face of a logical font (shared and cached); null when no font can be loaded.
std::shared_ptr<TFontFace> RealizeFont(const LOGFONTW& Font);
std::shared_ptr<TFontFace> RealizeFont(const LOGFONTA& Font);

// The cell height lfHeight 0 stands for.
constexpr Integer DefaultFontCellHeight = 16;

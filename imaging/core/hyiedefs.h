#pragma once
// Pixel types, pixel formats and storage places shared by the whole imaging library, its
// version and the word table of its dialogs.
#include <array>
#include <string>

#include "platform/system/Delegates.h"
#include "platform/system/Types.h"

// The 3-byte pixel of ie24RGB pictures and of palettes: blue, green, red in memory order.
struct TIERGBTriple {
  Byte rgbtBlue = 0;
  Byte rgbtGreen = 0;
  Byte rgbtRed = 0;
  constexpr bool operator==(const TIERGBTriple&) const = default;
};
static_assert(sizeof(TIERGBTriple) == 3);

// ieRGB48: three 16-bit words red, green, blue.
struct TIERGB48Pixel {
  Word r = 0;
  Word g = 0;
  Word b = 0;
  constexpr bool operator==(const TIERGB48Pixel&) const = default;
};
static_assert(sizeof(TIERGB48Pixel) == 6);

// ieCIELab: L is L* x 2.55 (0 black, 255 = L* 100); a and b are the signed CIE a* and b*.
struct TIECIELabPixel {
  Byte l = 0;
  ShortInt a = 0;
  ShortInt b = 0;
  constexpr bool operator==(const TIECIELabPixel&) const = default;
};
static_assert(sizeof(TIECIELabPixel) == 3);

enum TIEPixelFormat : Byte {
  ieNull = 0,
  ie1g = 1,      // one bit, most significant first; 1 = white
  ie8p = 2,      // palette index
  ie8g = 3,      // grey 0..255
  ie16g = 4,     // grey 0..65535
  ie24RGB = 5,   // TIERGBTriple
  ie32f = 6,     // grey as float, 0.0 black .. 1.0 white
  ieCMYK = 7,    // four bytes, 255 minus each ink
  ieRGB48 = 8,   // TIERGB48Pixel
  ieCIELab = 9,  // TIECIELabPixel
  ie32RGB = 10,  // B, G, R and a fourth byte (the alpha when synchronised)
};
constexpr int IEPixelFormatCount = 11;

// Bits per pixel and channels, indexed by TIEPixelFormat.
constexpr std::array<Integer, IEPixelFormatCount> IEBitsPerPixel = {0, 1, 8, 8, 16, 24, 32, 32, 48, 24, 32};
constexpr std::array<Integer, IEPixelFormatCount> IEChannelsPerPixel = {0, 1, 1, 1, 1, 3, 1, 4, 3, 3, 4};

enum TIELocation : Byte { ieMemory = 0, ieFile = 1, ieTBitmap = 2 };

enum TResampleFilter : Byte {
  rfNone,
  rfTriangle,
  rfHermite,
  rfBell,
  rfBSpline,
  rfLanczos3,
  rfMitchell,
  rfNearest,
  rfLinear,
  rfFastLinear,
  rfBilinear,
  rfBicubic,
  rfProjectBW,
  rfProjectWB,
};

// The progress record a caller builds on its stack and hands to a long picture operation: the
// operation sets Factor (percent per unit), reports units done x Factor without the fraction
// to OnProgress when one is assigned, and stops once *Aborting is true.
using TIEProgressEvent = TDelegate<void(TObject* Sender, Integer Percent)>;
struct TIEIOProgress {
  TIEProgressEvent OnProgress;
  TObject* Sender = nullptr;
  Integer Counter = 0;
  Integer Counter2 = 0;
  Double Factor = 0;
  Double Factor2 = 0;
  bool* Aborting = nullptr;
};

// A progress record with an abort flag of its own, for a caller that reports to no one.
struct TIELocalProgress {
  bool Aborting = false;
  TIEIOProgress Progress;
  TIELocalProgress() { Progress.Aborting = &Aborting; }
  TIELocalProgress(const TIELocalProgress&) = delete;
  TIELocalProgress& operator=(const TIELocalProgress&) = delete;
};

// The library's version text.
constexpr const char* IEVersion = "3.1.2";

// Language of the library's dialog texts: a row of the word table. msSystem chooses the row
// by the user's language; msUser is left for the application to fill.
enum TMsgLanguage : Byte {
  msSystem,
  msEnglish,
  msItalian,
  msGerman,
  msSpanish,
  msFrench,
  msPortuguese,
  msGreek,
  msRussian,
  msDutch,
  msSwedish,
  msPolish,
  msJapanese,
  msCzech,
  msFinnish,
  msFarsi,
  msChinese,
  msChineseTraditional,
  msDanish,
  msTurkish,
  msKorean,
  msHungarian,
  msUser,
};
constexpr Integer IEMsgLanguageCount = 23;
constexpr Integer IEWordCount = 146;

// Character set, font (empty: none) and code page of each language's dialogs. The code page
// is the one the texts were written for; the table itself holds every row in UTF-8.
struct TIELANGUAGECHARINFO {
  Integer CharSet;
  const char* FontName;
  Integer CodePage;
};
extern const std::array<TIELANGUAGECHARINFO, IEMsgLanguageCount> IELanguageCharInfo;

// Stores Word at (Language, Index) of the word table; a position outside it is ignored.
void SetWord(Byte Language, Byte Index, const std::string& Text);
// The word at Index for Language. An explicit language whose word is empty gives the English
// one; msSystem takes the row of the user's language as it is, empty or not.
std::u16string GetWord(Byte Index, TMsgLanguage Language);
// The row msSystem stands for under a system language id (primary language in the low ten
// bits, sub-language above).
TMsgLanguage IEMsgLanguageOfLangID(Word LangID);

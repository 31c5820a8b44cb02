#include "platform/gdi/Text.h"

#include <algorithm>
#include <cstring>

#include "platform/gdi/DcInternals.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/TextInternals.h"
#include "platform/system/Strings.h"

namespace {

constexpr Integer MaxFaceChars = LF_FACESIZE - 1;

LOGFONTW Normalized(LOGFONTW F) {
  if (F.lfFaceName.size() > static_cast<std::size_t>(MaxFaceChars)) {
    std::size_t N = MaxFaceChars;
    if (F.lfFaceName[N - 1] >= 0xD800 && F.lfFaceName[N - 1] <= 0xDBFF) --N;  // keep pairs whole
    F.lfFaceName.resize(N);
  }
  return F;
}

Integer FontGetObject(HGDIOBJ Object, Integer Size, void* Buffer) {
  return GetObject(Object, Size, static_cast<LOGFONTA*>(Buffer));
}

HFONT StockFont(LONG Height, LONG Weight, BYTE CharSet, BYTE PitchAndFamily, const char* Face) {
  LOGFONTA F;
  F.lfHeight = Height;
  F.lfWeight = Weight;
  F.lfCharSet = CharSet;
  F.lfPitchAndFamily = PitchAndFamily;
  F.lfFaceName = Face;
  return CreateFontIndirectA(&F);
}

// The stock fonts and GetObject for fonts join the object layer when this file is linked.
struct TFontRegistration {
  TFontRegistration() {
    RegisterGetObjectHandler(OBJ_FONT, FontGetObject);
    RegisterStockObject(SYSTEM_FONT,
                        StockFont(16, FW_BOLD, ANSI_CHARSET, VARIABLE_PITCH | FF_SWISS, "System"));
    RegisterStockObject(DEVICE_DEFAULT_FONT,
                        StockFont(16, FW_BOLD, ANSI_CHARSET, VARIABLE_PITCH | FF_SWISS, "System"));
    RegisterStockObject(DEFAULT_GUI_FONT, StockFont(-11, FW_NORMAL, DEFAULT_CHARSET,
                                                    VARIABLE_PITCH | FF_SWISS, "MS Shell Dlg"));
    RegisterStockObject(ANSI_VAR_FONT,
                        StockFont(12, FW_NORMAL, ANSI_CHARSET, VARIABLE_PITCH | FF_SWISS, "MS Sans Serif"));
    RegisterStockObject(ANSI_FIXED_FONT,
                        StockFont(12, FW_NORMAL, ANSI_CHARSET, FIXED_PITCH | FF_MODERN, "Courier"));
    RegisterStockObject(OEM_FIXED_FONT,
                        StockFont(12, FW_NORMAL, OEM_CHARSET, FIXED_PITCH | FF_MODERN, "Terminal"));
    RegisterStockObject(SYSTEM_FIXED_FONT,
                        StockFont(16, FW_NORMAL, ANSI_CHARSET, FIXED_PITCH | FF_MODERN, "Fixedsys"));
  }
};
const TFontRegistration Registration;

template <class TChar>
Integer CopyName(const std::basic_string<TChar>& Name, Integer Count, TChar* Out) {
  const Integer Len = static_cast<Integer>(Name.size());
  if (!Out) return Len + 1;
  if (Count <= 0) return 0;
  const Integer N = std::min(Len, Count - 1);
  std::copy(Name.begin(), Name.begin() + N, Out);
  Out[N] = 0;
  return N + 1;
}

std::u16string TextFace(TFontObject& F) {
  TFontFace* Face = F.Face().get();
  if (!Face) return F.Log.lfFaceName;
  if (!F.Log.lfFaceName.empty()) {
    const std::string Name = Utf16ToUtf8(F.Log.lfFaceName);
    const TFaceMatch M =
        MatchFontFace(Name, F.Log.lfWeight >= FW_SEMIBOLD, F.Log.lfItalic != 0, F.Log.lfPitchAndFamily);
    if (M.Substituted && M.File == Face->File()) return F.Log.lfFaceName;
  }
  return Utf8ToUtf16(Face->Family());
}

template <class TMetric>
BOOL FillMetrics(HDC DC, TMetric* Metric, TMetric (*Convert)(const TEXTMETRICW&)) {
  HFONT Font;
  TFontFace* Face;
  if (!Metric || !DcFace(DC, Font, Face)) return FALSE;
  TEXTMETRICW T = Face->Metrics();
  T.tmUnderlined = Font->Log.lfUnderline ? 255 : 0;
  T.tmStruckOut = Font->Log.lfStrikeOut ? 255 : 0;
  T.tmCharSet = Font->Log.lfCharSet == DEFAULT_CHARSET ? ANSI_CHARSET : Font->Log.lfCharSet;
  *Metric = Convert(T);
  return TRUE;
}

TEXTMETRICW SameMetric(const TEXTMETRICW& T) {
  return T;
}

// GetObject of a font into either form of LOGFONT; other objects go to the plain GetObject.
template <class TLogFont>
Integer GetLogFont(HGDIOBJ Object, Integer Size, TLogFont* Buffer, TLogFont (*Convert)(const LOGFONTW&)) {
  if (!Object || Object->ObjType != OBJ_FONT) return GetObject(Object, Size, static_cast<void*>(Buffer));
  constexpr Integer Needed = sizeof(TLogFont);
  if (!Buffer) return Needed;
  if (Size < Needed) return 0;
  *Buffer = Convert(static_cast<HFONT>(Object)->Log);
  return Needed;
}

LOGFONTW SameLogFont(const LOGFONTW& F) {
  return F;
}

BOOL CharWidths(HDC DC, UINT First, UINT Last, Integer* Widths) {
  HFONT Font;
  TFontFace* Face;
  if (!Widths || First > Last || !DcFace(DC, Font, Face)) return FALSE;
  for (UINT C = First; C <= Last; ++C) Widths[C - First] = Face->Advance(static_cast<char32_t>(C));
  return TRUE;
}

BOOL AbcWidths(HDC DC, UINT First, UINT Last, ABC* Widths) {
  HFONT Font;
  TFontFace* Face;
  if (!Widths || First > Last || !DcFace(DC, Font, Face)) return FALSE;
  for (UINT C = First; C <= Last; ++C)
    if (!Face->CharAbc(static_cast<char32_t>(C), Widths[C - First])) return FALSE;
  return TRUE;
}

template <class TChar>
BOOL ExtentEx(HDC DC, const TChar* Text, Integer Count, Integer MaxExtent, Integer* Fit, Integer* Dx,
              SIZE* Size) {
  HFONT Font;
  TFontFace* Face;
  if (!DcFace(DC, Font, Face) || (!Text && Count != 0)) return FALSE;
  thread_local TCodeText T;
  thread_local std::vector<Integer> Adv;
  DecodeText(Text, Count, T);
  Adv.resize(T.Size());
  const Integer Width = DcAdvances(DC, *Face, T.Chars.data(), T.Size(), Adv.data());
  Integer X = 0, Fitting = 0;
  for (std::size_t I = 0; I < T.Size(); ++I) {
    X += Adv[I];
    if (X <= MaxExtent && Fitting == T.Starts[I]) Fitting = T.Starts[I + 1];
    if (Dx)
      for (Integer U = T.Starts[I]; U < T.Starts[I + 1]; ++U) Dx[U] = X;
  }
  if (Fit) *Fit = Fitting;
  if (Size) *Size = SIZE{Width, Face->Metrics().tmHeight};
  return TRUE;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Font objects

TFontObject::TFontObject(const LOGFONTW& Font) : TGdiObject(OBJ_FONT), Log(Normalized(Font)) {}

const std::shared_ptr<TFontFace>& TFontObject::Face() {
  std::call_once(FOnce, [this] { FFace = RealizeFont(Log); });
  return FFace;
}

HFONT CreateFontIndirectW(const LOGFONTW* Font) {
  return Font ? new TFontObject(*Font) : nullptr;
}

HFONT CreateFontIndirectA(const LOGFONTA* Font) {
  if (!Font) return nullptr;
  const LOGFONTW W = LogFontToW(*Font);
  return CreateFontIndirectW(&W);
}

namespace {
template <class TString, class TChar>
TLogFont<TString> MakeLogFont(Integer Height, Integer Width, Integer Escapement, Integer Orientation,
                              Integer Weight, DWORD Italic, DWORD Underline, DWORD StrikeOut, DWORD CharSet,
                              DWORD OutPrecision, DWORD ClipPrecision, DWORD Quality, DWORD PitchAndFamily,
                              const TChar* FaceName) {
  TLogFont<TString> F;
  F.lfHeight = Height;
  F.lfWidth = Width;
  F.lfEscapement = Escapement;
  F.lfOrientation = Orientation;
  F.lfWeight = Weight;
  F.lfItalic = static_cast<BYTE>(Italic);
  F.lfUnderline = static_cast<BYTE>(Underline);
  F.lfStrikeOut = static_cast<BYTE>(StrikeOut);
  F.lfCharSet = static_cast<BYTE>(CharSet);
  F.lfOutPrecision = static_cast<BYTE>(OutPrecision);
  F.lfClipPrecision = static_cast<BYTE>(ClipPrecision);
  F.lfQuality = static_cast<BYTE>(Quality);
  F.lfPitchAndFamily = static_cast<BYTE>(PitchAndFamily);
  if (FaceName) F.lfFaceName = FaceName;
  return F;
}
}  // namespace

HFONT CreateFontA(Integer Height, Integer Width, Integer Escapement, Integer Orientation, Integer Weight,
                  DWORD Italic, DWORD Underline, DWORD StrikeOut, DWORD CharSet, DWORD OutPrecision,
                  DWORD ClipPrecision, DWORD Quality, DWORD PitchAndFamily, const char* FaceName) {
  const LOGFONTA F =
      MakeLogFont<std::string>(Height, Width, Escapement, Orientation, Weight, Italic, Underline, StrikeOut,
                               CharSet, OutPrecision, ClipPrecision, Quality, PitchAndFamily, FaceName);
  return CreateFontIndirectA(&F);
}

HFONT CreateFontW(Integer Height, Integer Width, Integer Escapement, Integer Orientation, Integer Weight,
                  DWORD Italic, DWORD Underline, DWORD StrikeOut, DWORD CharSet, DWORD OutPrecision,
                  DWORD ClipPrecision, DWORD Quality, DWORD PitchAndFamily, const char16_t* FaceName) {
  const LOGFONTW F = MakeLogFont<std::u16string>(Height, Width, Escapement, Orientation, Weight, Italic,
                                                 Underline, StrikeOut, CharSet, OutPrecision, ClipPrecision,
                                                 Quality, PitchAndFamily, FaceName);
  return CreateFontIndirectW(&F);
}

Integer GetObject(HGDIOBJ Object, Integer Size, LOGFONTA* Buffer) {
  return GetLogFont(Object, Size, Buffer, LogFontToA);
}

Integer GetObject(HGDIOBJ Object, Integer Size, LOGFONTW* Buffer) {
  return GetLogFont(Object, Size, Buffer, SameLogFont);
}

HFONT DcFont(HDC DC) {
  if (!IsDeviceContext(DC)) return nullptr;
  HGDIOBJ F = DC->State.Font;
  if (!F || F->ObjType != OBJ_FONT) F = GetStockObject(SYSTEM_FONT);
  return static_cast<HFONT>(F);
}

bool DcFace(HDC DC, HFONT& Font, TFontFace*& Face) {
  Font = DcFont(DC);
  Face = Font ? Font->Face().get() : nullptr;
  return Face != nullptr;
}

// ---------------------------------------------------------------------------------------------
// Decoding and spacing

void DecodeText(const char* Text, Integer Count, TCodeText& Out) {
  const std::size_t N = !Text ? 0 : Count < 0 ? std::strlen(Text) : static_cast<std::size_t>(Count);
  Out.Chars.clear();
  Out.Starts.clear();
  const auto* S = reinterpret_cast<const unsigned char*>(Text);
  std::size_t I = 0;
  while (I < N) {
    Out.Starts.push_back(static_cast<Integer>(I));
    const unsigned char B = S[I];
    char32_t C = 0xFFFD;
    std::size_t Len = 1;
    if (B < 0x80) {
      C = B;
    } else {
      const std::size_t Need = B >= 0xF0 && B <= 0xF4 ? 4 : B >= 0xE0 ? 3 : B >= 0xC2 && B < 0xE0 ? 2 : 0;
      if (Need > 0 && I + Need <= N) {
        char32_t V = B & (0x7F >> Need);
        bool Ok = true;
        for (std::size_t K = 1; K < Need && Ok; ++K) {
          Ok = (S[I + K] & 0xC0) == 0x80;
          V = (V << 6) | (S[I + K] & 0x3F);
        }
        const char32_t Min = Need == 2 ? 0x80 : Need == 3 ? 0x800 : 0x10000;
        if (Ok && V >= Min && V <= 0x10FFFF && (V < 0xD800 || V > 0xDFFF)) {
          C = V;
          Len = Need;
        }
      }
    }
    Out.Chars.push_back(C);
    I += Len;
  }
  Out.Starts.push_back(static_cast<Integer>(N));
}

void DecodeText(const char16_t* Text, Integer Count, TCodeText& Out) {
  std::size_t N = 0;
  if (Text && Count < 0) {
    while (Text[N]) ++N;
  } else if (Text) {
    N = static_cast<std::size_t>(Count);
  }
  DecodeText(std::u16string_view(Text ? Text : u"", N), Out);
}

void DecodeText(std::u16string_view Text, TCodeText& Out) {
  Out.Chars.clear();
  Out.Starts.clear();
  const std::size_t N = Text.size();
  for (std::size_t I = 0; I < N;) {
    Out.Starts.push_back(static_cast<Integer>(I));
    const char16_t C = Text[I];
    if (C >= 0xD800 && C <= 0xDBFF && I + 1 < N && Text[I + 1] >= 0xDC00 && Text[I + 1] <= 0xDFFF) {
      Out.Chars.push_back(0x10000 + ((static_cast<char32_t>(C) - 0xD800) << 10) + (Text[I + 1] - 0xDC00));
      I += 2;
    } else {
      Out.Chars.push_back(C >= 0xD800 && C <= 0xDFFF ? 0xFFFD : C);
      ++I;
    }
  }
  Out.Starts.push_back(static_cast<Integer>(N));
}

Integer DcAdvances(HDC DC, TFontFace& Face, const char32_t* Chars, std::size_t Count, Integer* Out) {
  thread_local std::vector<Integer> Scratch;
  if (!Out) {
    Scratch.resize(Count);
    Out = Scratch.data();
  }
  Integer Sum = Face.Advances(Chars, Count, Out);
  const Integer Extra = DC->State.TextCharExtra;
  const Integer BreakCount = DC->State.BreakCount;
  if (Extra == 0 && BreakCount == 0) return Sum;
  // Justification spreads BreakExtra over BreakCount break characters, the remainder first.
  const char32_t Break = Face.Metrics().tmBreakChar;
  Integer Breaks = 0;
  for (std::size_t I = 0; I < Count; ++I) {
    Integer A = Out[I] + Extra;
    if (BreakCount > 0 && Chars[I] == Break) {
      A += DC->State.BreakExtra / BreakCount + (Breaks < DC->State.BreakExtra % BreakCount ? 1 : 0);
      ++Breaks;
    }
    Sum += A - Out[I];
    Out[I] = A;
  }
  return Sum;
}

// ---------------------------------------------------------------------------------------------
// Queries

BOOL GetTextMetricsW(HDC DC, TEXTMETRICW* Metric) {
  return FillMetrics(DC, Metric, SameMetric);
}
BOOL GetTextMetricsA(HDC DC, TEXTMETRICA* Metric) {
  return FillMetrics(DC, Metric, TextMetricToA);
}

BOOL GetCharWidth32A(HDC DC, UINT First, UINT Last, Integer* Widths) {
  return Last <= 0xFF && CharWidths(DC, First, Last, Widths);
}
BOOL GetCharWidth32W(HDC DC, UINT First, UINT Last, Integer* Widths) {
  return CharWidths(DC, First, Last, Widths);
}
BOOL GetCharABCWidthsA(HDC DC, UINT First, UINT Last, ABC* Widths) {
  return Last <= 0xFF && AbcWidths(DC, First, Last, Widths);
}
BOOL GetCharABCWidthsW(HDC DC, UINT First, UINT Last, ABC* Widths) {
  return AbcWidths(DC, First, Last, Widths);
}

DWORD GetGlyphOutlineW(HDC DC, UINT Char, UINT Format, GLYPHMETRICS* Metrics, DWORD Size, void* Buffer,
                       const MAT2* Matrix) {
  HFONT Font;
  TFontFace* Face;
  if (!DcFace(DC, Font, Face)) return GDI_ERROR;
  return Face->GlyphOutline(Char, Format, Metrics, Size, Buffer, Matrix);
}
DWORD GetGlyphOutlineA(HDC DC, UINT Char, UINT Format, GLYPHMETRICS* Metrics, DWORD Size, void* Buffer,
                       const MAT2* Matrix) {
  if (!(Format & GGO_GLYPH_INDEX) && Char > 0xFF) return GDI_ERROR;
  return GetGlyphOutlineW(DC, Char, Format, Metrics, Size, Buffer, Matrix);
}

Integer GetTextFaceW(HDC DC, Integer Count, char16_t* Name) {
  HFONT Font = DcFont(DC);
  if (!Font) return 0;
  return CopyName(TextFace(*Font), Count, Name);
}
Integer GetTextFaceA(HDC DC, Integer Count, char* Name) {
  HFONT Font = DcFont(DC);
  if (!Font) return 0;
  return CopyName(Utf16ToUtf8(TextFace(*Font)), Count, Name);
}

BOOL GetTextExtentPoint32A(HDC DC, const char* Text, Integer Count, SIZE* Size) {
  return Size && ExtentEx(DC, Text, Count, 0, nullptr, nullptr, Size);
}
BOOL GetTextExtentPoint32W(HDC DC, const char16_t* Text, Integer Count, SIZE* Size) {
  return Size && ExtentEx(DC, Text, Count, 0, nullptr, nullptr, Size);
}
BOOL GetTextExtentExPointA(HDC DC, const char* Text, Integer Count, Integer MaxExtent, Integer* Fit,
                           Integer* Dx, SIZE* Size) {
  return ExtentEx(DC, Text, Count, MaxExtent, Fit, Dx, Size);
}
BOOL GetTextExtentExPointW(HDC DC, const char16_t* Text, Integer Count, Integer MaxExtent, Integer* Fit,
                           Integer* Dx, SIZE* Size) {
  return ExtentEx(DC, Text, Count, MaxExtent, Fit, Dx, Size);
}

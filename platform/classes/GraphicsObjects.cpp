#include "platform/classes/GraphicsObjects.h"

#include "platform/classes/Bitmap.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Text.h"
#include "platform/system/Math.h"
#include "platform/system/Strings.h"

namespace {

constexpr const char* DefaultFontName = "MS Sans Serif";
constexpr Integer DefaultFontSize = 8;

constexpr UINT PenStyles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};

constexpr Integer PenModes[] = {R2_BLACK,       R2_WHITE,      R2_NOP,         R2_NOT,
                                R2_COPYPEN,     R2_NOTCOPYPEN, R2_MERGEPENNOT, R2_MASKPENNOT,
                                R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN,    R2_NOTMERGEPEN,
                                R2_MASKPEN,     R2_NOTMASKPEN, R2_XORPEN,      R2_NOTXORPEN};

template <class T>
bool Store(T& Field, const T& Value) {
  if (Field == Value) return false;
  Field = Value;
  return true;
}

}  // namespace

// ---- TGraphicsObject ----

TGraphicsObject::~TGraphicsObject() {
  FreeHandle();
}

void TGraphicsObject::Changed() {
  if (OnChange) OnChange(this);
}

void TGraphicsObject::FreeHandle() {
  if (FHandle == nullptr) return;
  DeleteObject(FHandle);
  FHandle = nullptr;
}

// ---- TFont ----

TFont::TFont()
    : FColor(clWindowText),
      FHeight(-MulDiv(DefaultFontSize, ScreenPixelsPerInch, 72)),
      FName(DefaultFontName),
      FCharset(DEFAULT_CHARSET) {}

void TFont::Assign(TPersistent* Source) {
  auto* F = dynamic_cast<TFont*>(Source);
  if (F == nullptr) {
    TGraphicsObject::Assign(Source);
    return;
  }
  if (F == this) return;
  // A font of another resolution keeps its size in points.
  const Integer NewHeight =
      FPixelsPerInch == F->FPixelsPerInch ? F->FHeight : -MulDiv(F->GetSize(), FPixelsPerInch, 72);
  bool Diff = Store(FHeight, NewHeight);
  Diff |= Store(FName, F->FName);
  Diff |= Store(FStyle, F->FStyle);
  Diff |= Store(FCharset, F->FCharset);
  Diff |= Store(FPitch, F->FPitch);
  Diff |= Store(FOrientation, F->FOrientation);
  if (Diff) FreeHandle();
  Diff |= Store(FColor, F->FColor);
  if (Diff) Changed();
}

HFONT TFont::GetHandle() {
  if (FHandle == nullptr) {
    LOGFONTA Log;
    Log.lfHeight = FHeight;
    Log.lfWidth = 0;
    Log.lfEscapement = FOrientation;
    Log.lfOrientation = FOrientation;
    Log.lfWeight = FStyle.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
    Log.lfItalic = FStyle.Contains(fsItalic) ? 1 : 0;
    Log.lfUnderline = FStyle.Contains(fsUnderline) ? 1 : 0;
    Log.lfStrikeOut = FStyle.Contains(fsStrikeOut) ? 1 : 0;
    Log.lfCharSet = FCharset;
    Log.lfFaceName = SameText(FName, "Default") ? DefaultFontName : FName;
    Log.lfQuality = DEFAULT_QUALITY;
    Log.lfOutPrecision = OUT_DEFAULT_PRECIS;
    Log.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    Log.lfPitchAndFamily = FPitch == fpVariable ? VARIABLE_PITCH
                           : FPitch == fpFixed  ? FIXED_PITCH
                                                : DEFAULT_PITCH;
    FHandle = CreateFontIndirect(&Log);
  }
  return static_cast<HFONT>(FHandle);
}

void TFont::SetHandle(HFONT Value) {
  if (Value == FHandle) return;
  FreeHandle();
  FHandle = Value;
  LOGFONTA Log;
  if (Value != nullptr && GetObject(Value, sizeof(Log), &Log) != 0) {
    FHeight = Log.lfHeight;
    FOrientation = Log.lfEscapement;
    FStyle = {};
    if (Log.lfWeight >= FW_BOLD) FStyle.Include(fsBold);
    if (Log.lfItalic) FStyle.Include(fsItalic);
    if (Log.lfUnderline) FStyle.Include(fsUnderline);
    if (Log.lfStrikeOut) FStyle.Include(fsStrikeOut);
    FCharset = Log.lfCharSet;
    if (!Log.lfFaceName.empty()) FName = Log.lfFaceName;
    const BYTE Pitch = Log.lfPitchAndFamily & 0x03;
    FPitch = Pitch == VARIABLE_PITCH ? fpVariable : Pitch == FIXED_PITCH ? fpFixed : fpDefault;
  }
  Changed();
}

void TFont::SetColor(TColor Value) {
  if (Store(FColor, Value)) Changed();
}

void TFont::SetHeight(Integer Value) {
  if (!Store(FHeight, Value)) return;
  FreeHandle();
  Changed();
}

Integer TFont::GetSize() const {
  return -MulDiv(FHeight, 72, FPixelsPerInch);
}

void TFont::SetSize(Integer Value) {
  SetHeight(-MulDiv(Value, FPixelsPerInch, 72));
}

void TFont::SetName(const std::string& Value) {
  if (Value.empty() || !Store(FName, Value)) return;
  FreeHandle();
  Changed();
}

void TFont::SetStyle(TFontStyles Value) {
  if (!Store(FStyle, Value)) return;
  FreeHandle();
  Changed();
}

void TFont::SetCharset(TFontCharset Value) {
  if (!Store(FCharset, Value)) return;
  FreeHandle();
  Changed();
}

void TFont::SetPitch(TFontPitch Value) {
  if (!Store(FPitch, Value)) return;
  FreeHandle();
  Changed();
}

void TFont::SetOrientation(Integer Value) {
  if (!Store(FOrientation, Value)) return;
  FreeHandle();
  Changed();
}

// ---- TPen ----

Integer PenModeToRop2(TPenMode Mode) {
  return PenModes[Mode];
}

TPen::TPen() = default;

void TPen::Assign(TPersistent* Source) {
  auto* P = dynamic_cast<TPen*>(Source);
  if (P == nullptr) {
    TGraphicsObject::Assign(Source);
    return;
  }
  if (P == this) return;
  bool Diff = Store(FColor, P->FColor);
  Diff |= Store(FWidth, P->FWidth);
  Diff |= Store(FStyle, P->FStyle);
  if (Diff) FreeHandle();
  Diff |= Store(FMode, P->FMode);
  if (Diff) Changed();
}

HPEN TPen::GetHandle() {
  if (FHandle == nullptr) {
    LOGPEN Log;
    Log.lopnStyle = PenStyles[FStyle];
    Log.lopnWidth.X = FWidth;
    Log.lopnColor = ColorToRGB(FColor);
    FHandle = CreatePenIndirect(&Log);
  }
  return static_cast<HPEN>(FHandle);
}

void TPen::SetHandle(HPEN Value) {
  if (Value == FHandle) return;
  FreeHandle();
  FHandle = Value;
  LOGPEN Log;
  if (Value != nullptr && GetObject(Value, sizeof(Log), &Log) != 0) {
    FColor = static_cast<TColor>(Log.lopnColor & 0x00FFFFFF);
    FWidth = Log.lopnWidth.X;
    FStyle = psSolid;
    for (Integer I = 0; I <= psInsideFrame; ++I)
      if (PenStyles[I] == (Log.lopnStyle & PS_STYLE_MASK)) FStyle = static_cast<TPenStyle>(I);
  }
  Changed();
}

void TPen::SetColor(TColor Value) {
  if (!Store(FColor, Value)) return;
  FreeHandle();
  Changed();
}

void TPen::SetWidth(Integer Value) {
  if (Value < 0 || !Store(FWidth, Value)) return;
  FreeHandle();
  Changed();
}

void TPen::SetStyle(TPenStyle Value) {
  if (!Store(FStyle, Value)) return;
  FreeHandle();
  Changed();
}

void TPen::SetMode(TPenMode Value) {
  if (Store(FMode, Value)) Changed();
}

// ---- TBrush ----

TBrush::TBrush() = default;

void TBrush::Assign(TPersistent* Source) {
  auto* B = dynamic_cast<TBrush*>(Source);
  if (B == nullptr) {
    TGraphicsObject::Assign(Source);
    return;
  }
  if (B == this) return;
  bool Diff = Store(FColor, B->FColor);
  Diff |= Store(FStyle, B->FStyle);
  Diff |= Store(FBitmap, B->FBitmap);
  if (!Diff) return;
  FreeHandle();
  Changed();
}

HBRUSH TBrush::GetHandle() {
  if (FHandle == nullptr) {
    LOGBRUSH Log;
    if (FBitmap != nullptr && !FBitmap->Empty()) {
      Log.lbStyle = BS_PATTERN;
      Log.lbHatch = reinterpret_cast<ULONG_PTR>(FBitmap->GetHandle());
    } else if (FStyle == bsSolid) {
      Log.lbStyle = BS_SOLID;
    } else if (FStyle == bsClear) {
      Log.lbStyle = BS_HOLLOW;
    } else {
      Log.lbStyle = BS_HATCHED;
      Log.lbHatch = static_cast<ULONG_PTR>(FStyle - bsHorizontal);
    }
    Log.lbColor = ColorToRGB(FColor);
    FHandle = CreateBrushIndirect(&Log);
  }
  return static_cast<HBRUSH>(FHandle);
}

void TBrush::SetHandle(HBRUSH Value) {
  if (Value == FHandle) return;
  FreeHandle();
  FHandle = Value;
  LOGBRUSH Log;
  if (Value != nullptr && GetObject(Value, sizeof(Log), &Log) != 0) {
    FColor = static_cast<TColor>(Log.lbColor & 0x00FFFFFF);
    FBitmap = nullptr;
    if (Log.lbStyle == BS_HOLLOW)
      FStyle = bsClear;
    else if (Log.lbStyle == BS_HATCHED && Log.lbHatch <= HS_DIAGCROSS)
      FStyle = static_cast<TBrushStyle>(bsHorizontal + static_cast<Integer>(Log.lbHatch));
    else
      FStyle = bsSolid;
  }
  Changed();
}

void TBrush::SetColor(TColor Value) {
  bool Diff = Store(FColor, Value);
  if (FStyle == bsClear) Diff |= Store(FStyle, bsSolid);
  if (!Diff) return;
  FreeHandle();
  Changed();
}

void TBrush::SetStyle(TBrushStyle Value) {
  bool Diff = Store(FStyle, Value);
  if (Value == bsClear) Diff |= Store(FColor, clWhite);
  if (!Diff) return;
  FreeHandle();
  Changed();
}

void TBrush::SetBitmap(TBitmap* Value) {
  if (!Store(FBitmap, Value)) return;
  FreeHandle();
  Changed();
}

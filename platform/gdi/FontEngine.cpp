#include "platform/gdi/FontEngine.h"
// Logical fonts: the LOGFONT and TEXTMETRIC records in their two encodings. Matching, faces and
// outlines are in FontMatching.cpp, FontFaces.cpp and FontOutlines.cpp.
#include <algorithm>
#include <cstring>

#include "platform/system/Strings.h"

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

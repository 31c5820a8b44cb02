#include "platform/user/ControlText.h"

#include <algorithm>
#include <cstring>

#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Text.h"
#include "platform/user/Input.h"

HFONT ControlFontOrSystem(HFONT Font) {
  return Font != nullptr ? Font : static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
}

TFontMetrics FontMetricsOf(HFONT Font) {
  TMeasureDC M(Font);
  TEXTMETRICA Tm;
  TFontMetrics R;
  if (!GetTextMetrics(M.DC(), &Tm)) return R;
  R.Height = Tm.tmHeight;
  R.Ascent = Tm.tmAscent;
  R.AveCharWidth = Tm.tmAveCharWidth;
  R.TrueType = (Tm.tmPitchAndFamily & TMPF_TRUETYPE) != 0;
  return R;
}

namespace {

HDC SharedMeasureDC() {
  static HDC DC = CreateCompatibleDC(nullptr);
  return DC;
}

}  // namespace

TMeasureDC::TMeasureDC(HFONT Font)
    : FDC(SharedMeasureDC()), FOld(SelectObject(FDC, ControlFontOrSystem(Font))) {}

TMeasureDC::~TMeasureDC() {
  SelectObject(FDC, FOld);
}

bool KeyIsDown(Integer VirtualKey) {
  return GetKeyState(VirtualKey) < 0;
}

Integer CopyTextOut(std::string_view S, char* Buffer, std::size_t Size) {
  if (Buffer == nullptr || Size == 0) return 0;
  std::size_t N = std::min(S.size(), Size - 1);
  // Back off to the start of a UTF-8 sequence when the cut falls inside one.
  if (N < S.size())
    while (N > 0 && (static_cast<unsigned char>(S[N]) & 0xC0) == 0x80) --N;
  std::memcpy(Buffer, S.data(), N);
  Buffer[N] = 0;
  return static_cast<Integer>(N);
}

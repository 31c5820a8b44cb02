// Wide texts and word-wrapped captions.
#include "platform/gdi/Text.h"
#include "skin/data/bsUtils.h"
#include "skin/data/bsUtilsDraw.h"

using namespace bsUtilsDraw;

Integer DrawWideText(TCanvas* Cnvs, const std::u16string& Text, TRect& R, UINT Flags) {
  // This platform is of the NT family: wide texts go to the wide call.
  Cnvs->RequiredState({csHandleValid, csFontValid, csBrushValid});
  return DrawTextW(Cnvs->GetHandle(), Text.c_str(), static_cast<Integer>(Text.size()), &R, Flags);
}

namespace {

TRect WideTextExtent(TCanvas* Cnvs, const std::u16string& Text) {
  TRect R{};
  DrawWideText(Cnvs, Text, R, DT_CALCRECT);
  return R;
}

Integer TextWidthA(TCanvas* Cnvs, const std::string& Text) {
  TRect R{};
  CanvasDrawText(Cnvs, Text, R, DT_CALCRECT);
  return GetRectWidth(R);
}

}  // namespace

Integer GetWideTextWidth(TCanvas* Cnvs, const std::u16string& Text) {
  return GetRectWidth(WideTextExtent(Cnvs, Text));
}

Integer GetWideTextHeight(TCanvas* Cnvs, const std::u16string& Text) {
  return GetRectHeight(WideTextExtent(Cnvs, Text));
}

void FitWideTextToWidth(TCanvas* Cnvs, std::u16string& Text, Integer Width) {
  if (GetWideTextWidth(Cnvs, Text) <= Width) return;
  while (!Text.empty()) {
    Text.pop_back();
    if (GetWideTextWidth(Cnvs, Text + u"...") <= Width) break;
  }
  Text += u"...";
}

namespace bsUtilsDraw {

std::string WrapCaptionText(TCanvas* Cnvs, const std::string& Text, Integer Width, bool BreakWords) {
  std::string Out, Word;
  for (std::size_t I = 0; I < Text.size(); ++I) {
    const char Ch = Text[I];
    if (Ch == ' ') {
      Out += Ch;
      Word.clear();
      continue;
    }
    if (TextWidthA(Cnvs, Word + Ch) <= Width) {
      Out += Ch;
      Word += Ch;
      continue;
    }
    if (BreakWords) {
      // A space lets the line breaker split the word here.
      Out += ' ';
      Out += Ch;
      Word = std::string(1, Ch);
      continue;
    }
    if (Out.size() > 3) Out.replace(Out.size() - 3, 3, "...");
    Out += ' ';
    while (I + 1 < Text.size() && Text[I + 1] != ' ') ++I;
    if (I + 1 < Text.size()) Out += Text[++I];
    Word.clear();
  }
  return Out;
}

}  // namespace bsUtilsDraw

void DrawWrapCaption(TCanvas* Cnvs, const std::string& Text, TRect R, bool BreakWords) {
  if (Text.empty()) return;
  const std::string Out = WrapCaptionText(Cnvs, Text, GetRectWidth(R), BreakWords);
  if (OddFontHeight(Cnvs)) --R.Top;
  CanvasDrawText(Cnvs, Out, R, DT_WORDBREAK | DT_CENTER);
}

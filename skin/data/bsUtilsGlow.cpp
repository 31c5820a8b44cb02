// Glowing and mirrored captions: the text is drawn in red into a skin bitmap, whose red byte
// then becomes the alpha of a halo or reflection in the wanted colour.
#include <algorithm>
#include <functional>

#include "platform/gdi/Text.h"
#include "platform/system/Strings.h"
#include "skin/data/bsEffects.h"
#include "skin/data/bsUtils.h"
#include "skin/data/bsUtilsDraw.h"

using namespace bsUtilsDraw;

namespace {

using TTextDrawer = std::function<Integer(TCanvas*, TRect&, UINT)>;

TTextDrawer NarrowText(const std::string& Text) {
  return [&Text](TCanvas* C, TRect& R, UINT Flags) { return CanvasDrawText(C, Text, R, Flags); };
}

TTextDrawer WideText(const std::u16string& Text) {
  return [&Text](TCanvas* C, TRect& R, UINT Flags) { return DrawWideText(C, Text, R, Flags); };
}

// A zeroed skin bitmap whose canvas writes Cnvs's font in red over a clear brush.
void PrepareRedText(TbsBitmap& B, TCanvas* Cnvs, Integer W, Integer H) {
  B.SetSize(W, H);
  TCanvas* C = B.GetCanvas();
  C->GetFont()->Assign(Cnvs->GetFont());
  C->GetFont()->SetColor(TColor(255));
  C->GetBrush()->SetStyle(bsClear);
}

// Every pixel: alpha from its red byte, colour Color.
void RedToAlpha(TbsBitmap& B, TColor Color) {
  const TbsPixel Colour = ColorToPixel(Color) & 0x00FFFFFF;
  for (Integer Y = 0; Y < B.GetHeight(); ++Y) {
    TbsPixel* Row = B.GetScanLine(Y);
    for (Integer X = 0; X < B.GetWidth(); ++X) Row[X] = ((Row[X] >> 16 & 0xFF) << 24) | Colour;
  }
  B.SetAlphaBlend(true);
}

Integer DrawTextOver(TCanvas* Cnvs, const TRect& R, UINT Flags, const TTextDrawer& Draw) {
  Cnvs->GetBrush()->SetStyle(bsClear);
  TRect Target = R;
  return Draw(Cnvs, Target, Flags);
}

Integer GlowText(TCanvas* Cnvs, const TRect& R, UINT Flags, Integer Offset, TColor GlowColor,
                 Integer GlowSize, const TTextDrawer& Draw) {
  TbsBitmap B;
  PrepareRedText(B, Cnvs, GetRectWidth(R) + 2 * GlowSize, GetRectHeight(R) + 2 * GlowSize);
  if (!B.Empty()) {
    TRect Inner = Rect(GlowSize, GlowSize, B.GetWidth() - GlowSize, B.GetHeight() - GlowSize);
    Draw(B.GetCanvas(), Inner, Flags);
    BlurBitmap(&B, GlowSize);
    RedToAlpha(B, GlowColor);
    B.DrawToCanvas(Cnvs, R.Left + Offset - GlowSize, R.Top + Offset - GlowSize);
  }
  return DrawTextOver(Cnvs, R, Flags, Draw);
}

Integer VistaGlowText(TCanvas* Cnvs, const TRect& R, const std::u16string& Text, UINT Flags, TColor GlowColor,
                      bool WideBlock) {
  constexpr Integer Margin = 10;
  TbsBitmap B;
  PrepareRedText(B, Cnvs, GetRectWidth(R) + 2 * Margin, GetRectHeight(R) + 2 * Margin);
  if (!B.Empty()) {
    const TRect I = Rect(Margin, Margin, B.GetWidth() - Margin, B.GetHeight() - Margin);
    B.FillRect(WideBlock ? Rect(I.Left - 3, I.Top + 2, I.Right + 3, I.Bottom - 2)
                         : Rect(I.Left + 3, I.Top + 3, I.Right - 3, I.Bottom - 3),
               0xFFFF0000);
    static constexpr TPoint Shifts[] = {{-1, -1}, {-2, -2}, {-1, 0}, {-2, 0}, {1, 0},
                                        {2, 0},   {1, 1},   {2, 2},  {0, 0}};
    for (const TPoint& S : Shifts) {
      TRect T = Rect(I.Left + S.X, I.Top + S.Y, I.Right + S.X, I.Bottom + S.Y);
      DrawWideText(B.GetCanvas(), Text, T, Flags);
    }
    BlurBitmap(&B, Margin / 2);
    BlurBitmap(&B, Margin / 2);
    RedToAlpha(B, GlowColor);
    B.DrawToCanvas(Cnvs, R.Left - Margin, R.Top - Margin);
  }
  return DrawTextOver(Cnvs, R, Flags, WideText(Text));
}

Integer ReflectionText(TCanvas* Cnvs, const TRect& R, UINT Flags, Integer Offset, TColor Color,
                       float MinFactor, const TTextDrawer& Draw) {
  TbsBitmap B;
  PrepareRedText(B, Cnvs, GetRectWidth(R), GetRectHeight(R));
  if (!B.Empty()) {
    TRect Whole = Rect(0, 0, B.GetWidth(), B.GetHeight());
    Draw(B.GetCanvas(), Whole, Flags);
    TRect T = Rect(0, 0, B.GetWidth(), B.GetHeight());
    Draw(B.GetCanvas(), T, Flags | DT_CALCRECT);
    const Integer TH = T.Bottom;
    TRect Measured = R;
    Draw(B.GetCanvas(), Measured, Flags | DT_CALCRECT);
    const TbsPixel Colour = ColorToPixel(Color) & 0x00FFFFFF;
    for (Integer Y = 0; Y < B.GetHeight(); ++Y) {
      TbsPixel* Row = B.GetScanLine(Y);
      if (TH <= 0 || Y > TH) {
        std::fill_n(Row, B.GetWidth(), 0);
        continue;
      }
      float F = 0.7f - static_cast<float>(TH - Y) / TH;
      F = std::max(F, MinFactor);
      for (Integer X = 0; X < B.GetWidth(); ++X)
        Row[X] = (static_cast<TbsPixel>(((Row[X] >> 16) & 0xFF) * F) << 24) | Colour;
    }
    for (Integer Y = 0; Y < B.GetHeight() / 2; ++Y)
      std::swap_ranges(B.GetScanLine(Y), B.GetScanLine(Y) + B.GetWidth(),
                       B.GetScanLine(B.GetHeight() - 1 - Y));
    B.SetAlphaBlend(true);
    B.DrawToCanvas(Cnvs, R.Left, Measured.Bottom + TH + Offset - B.GetHeight());
  }
  return DrawTextOver(Cnvs, R, Flags, Draw);
}

}  // namespace

Integer DrawGlowText(TCanvas* Cnvs, const TRect& R, const std::string& Text, UINT Flags, Integer Offset,
                     TColor GlowColor, Integer GlowSize) {
  return GlowText(Cnvs, R, Flags, Offset, GlowColor, GlowSize, NarrowText(Text));
}

Integer DrawGlowTextW(TCanvas* Cnvs, const TRect& R, const std::u16string& Text, UINT Flags, Integer Offset,
                      TColor GlowColor, Integer GlowSize) {
  return GlowText(Cnvs, R, Flags, Offset, GlowColor, GlowSize, WideText(Text));
}

Integer DrawVistaGlowText(TCanvas* Cnvs, const TRect& R, const std::u16string& Text, UINT Flags,
                          TColor GlowColor) {
  return VistaGlowText(Cnvs, R, Text, Flags, GlowColor, false);
}

Integer DrawVistaGlowText2(TCanvas* Cnvs, const TRect& R, const std::u16string& Text, UINT Flags,
                           TColor GlowColor) {
  return VistaGlowText(Cnvs, R, Text, Flags, GlowColor, true);
}

Integer DrawReflectionText(TCanvas* Cnvs, const TRect& R, const std::string& Text, UINT Flags, Integer Offset,
                           TColor ReflectionColor) {
  return ReflectionText(Cnvs, R, Flags, Offset, ReflectionColor, 0.05f, NarrowText(Text));
}

void DrawReflectionTextW(TCanvas* Cnvs, const TRect& R, const std::string& Text, UINT Flags, Integer Offset,
                         TColor ReflectionColor) {
  const std::u16string Wide = Utf8ToUtf16(Text);
  ReflectionText(Cnvs, R, Flags, Offset, ReflectionColor, 0.0f, WideText(Wide));
}

#include "skin/data/bsUtils.h"

#include "platform/classes/Bitmap.h"
#include "platform/classes/Controls.h"
#include "platform/classes/Forms.h"
#include "platform/classes/ImgList.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Text.h"
#include "platform/system/Math.h"
#include "platform/system/ScopeExit.h"
#include "skin/data/bsUtilsDraw.h"

namespace bsUtilsDraw {

bool OddFontHeight(TCanvas* Cnvs) {
  return Cnvs->GetFont()->GetHeight() % 2 != 0;
}

Integer CanvasDrawText(TCanvas* Cnvs, const std::string& Text, TRect& R, UINT Flags) {
  Cnvs->RequiredState({csHandleValid, csFontValid, csBrushValid});
  return DrawTextA(Cnvs->GetHandle(), Text.c_str(), static_cast<Integer>(Text.size()), &R, Flags);
}

void Line(TCanvas* Cnvs, Integer X1, Integer Y1, Integer X2, Integer Y2) {
  Cnvs->MoveTo(X1, Y1);
  Cnvs->LineTo(X2, Y2);
}

}  // namespace bsUtilsDraw

using namespace bsUtilsDraw;

namespace {

bool PointInside(const TRect& R, TPoint P) {
  return P.X >= R.Left && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom;
}

// The protected painting of a windowed parent, reached the way the platform's own helpers do.
struct TPaintAccess : TWinControl {
  static void Paint(TWinControl* Control, HDC DC) {
    void (TWinControl::*PaintWindow)(HDC) = &TPaintAccess::PaintWindow;
    (Control->*PaintWindow)(DC);
  }
};

void DrawParentBackgroundAt(TControl* Control, TCanvas* Cnvs, Integer Dx, Integer Dy) {
  if (Control == nullptr || Control->GetParent() == nullptr) return;
  TWinControl* Parent = Control->GetParent();
  const bool HadPaintCopy = Parent->GetControlState().Contains(csPaintCopy);
  TControlState State = Parent->GetControlState();
  State.Include(csPaintCopy);
  Parent->SetControlState(State);
  auto Restore = ScopeExit([Parent, HadPaintCopy] {
    TControlState S = Parent->GetControlState();
    if (!HadPaintCopy) S.Exclude(csPaintCopy);
    Parent->SetControlState(S);
  });

  Cnvs->RequiredState({csHandleValid});
  HDC DC = Cnvs->GetHandle();
  const Integer Saved = SaveDC(DC);
  SetViewportOrgEx(DC, -Control->GetLeft() + Dx, -Control->GetTop() + Dy, nullptr);
  const TRect PR = Parent->GetClientRect();
  IntersectClipRect(DC, 0, 0, PR.Right, PR.Bottom);
  Parent->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), 0);
  if (dynamic_cast<TForm*>(Parent) == nullptr) TPaintAccess::Paint(Parent, DC);
  RestoreDC(DC, Saved);

  const TRect Own = Control->GetBoundsRect();
  for (Integer I = 0; I < Parent->GetControlCount(); ++I) {
    TControl* C = Parent->GetControl(I);
    if (C == Control) break;
    if (dynamic_cast<TGraphicControl*>(C) == nullptr || !C->GetVisible()) continue;
    const TRect B = C->GetBoundsRect();
    if (B.Left >= Own.Right || B.Right <= Own.Left || B.Top >= Own.Bottom || B.Bottom <= Own.Top) continue;
    TControlState CS = C->GetControlState();
    CS.Include(csPaintCopy);
    C->SetControlState(CS);
    const Integer S = SaveDC(DC);
    SetViewportOrgEx(DC, B.Left - Own.Left + Dx, B.Top - Own.Top + Dy, nullptr);
    IntersectClipRect(DC, 0, 0, B.Width(), B.Height());
    C->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
    RestoreDC(DC, S);
    CS.Exclude(csPaintCopy);
    C->SetControlState(CS);
  }
  // The DC's objects came back with RestoreDC; the canvas selects its own again on next use.
  Cnvs->Refresh();
}

}  // namespace

bool IsRectInRect(const TRect& Inner, const TRect& Outer) {
  return PointInside(Outer, Inner.TopLeft()) && PointInside(Outer, Inner.BottomRight());
}

TColor MixColors(TColor C1, TColor C2) {
  const COLORREF A = ColorToRGB(C1), B = ColorToRGB(C2);
  const Integer R = (GetRValue(A) + GetRValue(B)) / 2;
  const Integer G = (GetGValue(A) + GetGValue(B)) / 2;
  const Integer Bl = (GetBValue(A) + GetBValue(B)) / 2;
  return static_cast<TColor>(RGB(R, G, Bl));
}

TColor DarkerColor(TColor Color, Integer Percent) {
  const COLORREF C = ColorToRGB(Color);
  auto Dark = [Percent](Integer V) { return V - MulDiv(V, Percent, 100); };
  return static_cast<TColor>(RGB(Dark(GetRValue(C)), Dark(GetGValue(C)), Dark(GetBValue(C))));
}

// ---- Text -----------------------------------------------------------------------------------

void FitTextToWidth(TCanvas* Cnvs, std::string& Text, Integer Width) {
  if (Cnvs->TextWidth(Text) <= Width) return;
  while (!Text.empty()) {
    Text.pop_back();
    if (Cnvs->TextWidth(Text + "...") <= Width) break;
  }
  Text += "...";
}

void DrawCaptionCentered(TCanvas* Cnvs, const std::string& Text, TRect R) {
  if (Text.empty()) return;
  if (Text[0] == 'W') R.Right += 2;
  if (OddFontHeight(Cnvs)) --R.Top;
  CanvasDrawText(Cnvs, Text, R, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
}

void DrawCaptionLeft(TCanvas* Cnvs, const std::string& Text, TRect R) {
  if (Text.empty()) return;
  if (OddFontHeight(Cnvs)) --R.Top;
  CanvasDrawText(Cnvs, Text, R, DT_SINGLELINE | DT_VCENTER);
}

void DrawCaptionAligned(TCanvas* Cnvs, const std::string& Text, TRect R, Integer Alignment) {
  if (Text.empty()) return;
  UINT Flags = DT_SINGLELINE | DT_VCENTER;
  switch (Alignment) {
    case 0:
      break;
    case 1:
      Flags |= DT_RIGHT;
      break;
    case 2:
      Flags |= DT_CENTER;
      break;
    default:
      return;
  }
  if (OddFontHeight(Cnvs)) --R.Top;
  CanvasDrawText(Cnvs, Text, R, Flags);
}

void DrawTextRectVCenterOffset(TCanvas* Cnvs, const std::string& Text, TRect R, Integer Offset) {
  if (Text.empty()) return;
  Integer Y = R.Top + GetRectHeight(R) / 2 - Cnvs->TextHeight(Text) / 2;
  if (OddFontHeight(Cnvs)) --Y;
  Cnvs->TextRect(R, R.Left + Offset + 2, Y, Text);
}

void DrawTextRectVCenter(TCanvas* Cnvs, const std::string& Text, TRect R) {
  DrawTextRectVCenterOffset(Cnvs, Text, R, 0);
}

// ---- Button faces ---------------------------------------------------------------------------

void CalcButtonLayout(Integer Layout, const TRect& R, Integer GlyphWidth, Integer GlyphHeight,
                      Integer TextWidth, Integer TextHeight, Integer Spacing, Integer Margin, Integer& TX,
                      Integer& TY, Integer& GX, Integer& GY) {
  const Integer CX = R.Left + GetRectWidth(R) / 2;
  const Integer CY = R.Top + GetRectHeight(R) / 2;
  if (GlyphWidth == 0) Spacing = 0;
  if (Margin == -1) {
    const Integer HW = (TextWidth + GlyphWidth + Spacing) / 2;
    const Integer HH = (TextHeight + GlyphHeight + Spacing) / 2;
    switch (Layout) {
      case 0:
        GX = CX - HW, GY = CY - GlyphHeight / 2, TX = CX + HW - TextWidth, TY = CY - TextHeight / 2;
        break;
      case 1:
        GX = CX + HW - GlyphWidth, GY = CY - GlyphHeight / 2, TX = CX - HW, TY = CY - TextHeight / 2;
        break;
      case 2:
        GX = CX - GlyphWidth / 2, GY = CY - HH, TX = CX - TextWidth / 2, TY = CY + HH - TextHeight;
        break;
      case 3:
        GX = CX - GlyphWidth / 2, GY = CY + HH - GlyphHeight, TX = CX - TextWidth / 2, TY = CY - HH;
        break;
      default:
        break;
    }
    return;
  }
  switch (Layout) {
    case 0:
      GX = R.Left + Margin, GY = CY - GlyphHeight / 2;
      TX = GX + GlyphWidth + Spacing, TY = CY - TextHeight / 2;
      break;
    case 1:
      GX = R.Right - GlyphWidth - Margin, GY = CY - GlyphHeight / 2;
      TX = GX - Spacing - TextWidth, TY = CY - TextHeight / 2;
      break;
    case 2:
      GX = CX - GlyphWidth / 2, GY = R.Top + Margin;
      TX = CX - TextWidth / 2, TY = GY + GlyphHeight + Spacing;
      break;
    case 3:
      GX = CX - GlyphWidth / 2, GY = R.Bottom - GlyphHeight - Margin;
      TX = CX - TextWidth / 2, TY = GY - Spacing - TextHeight;
      break;
    default:
      break;
  }
}

namespace {

// The caption's size inside R once the glyph has taken its room.
TSize MeasureCaption(TCanvas* Cnvs, const std::string& Caption, const TRect& R, Integer Layout, Integer GW,
                     Integer GH) {
  if (Caption.empty()) return {};
  TRect TR = Rect(0, 0, GetRectWidth(R), GetRectHeight(R));
  if (Layout == 0 || Layout == 1)
    TR.Right -= GW;
  else if (Layout == 2 || Layout == 3)
    TR.Bottom -= GH;
  CanvasDrawText(Cnvs, Caption, TR, DT_CALCRECT | DT_EXPANDTABS | DT_WORDBREAK);
  return {GetRectWidth(TR), GetRectHeight(TR)};
}

// Draws the caption and returns its rectangle (empty when there is none).
TRect DrawButtonCaption(TCanvas* Cnvs, const std::string& Caption, Integer TX, Integer TY, TSize T) {
  if (Caption.empty()) return {};
  TRect TR = Rect(TX, TY, TX + T.cx + 2, TY + T.cy);
  const TRect Result = TR;
  if (OddFontHeight(Cnvs)) --TR.Top;
  CanvasDrawText(Cnvs, Caption, TR, DT_EXPANDTABS | DT_WORDBREAK | DT_VCENTER | DT_CENTER);
  return Result;
}

void MarkerLines(TCanvas* Cnvs, Integer X1, Integer X2, Integer Y, TColor Color) {
  Cnvs->GetPen()->SetColor(Color);
  for (Integer D = -1; D <= 1; ++D) Line(Cnvs, X1, Y + D, X2, Y + D);
}

}  // namespace

void DrawImageAndText(TCanvas* Cnvs, const TRect& R, Integer Margin, Integer Spacing, Integer Layout,
                      const std::string& Caption, Integer ImageIndex, TCustomImageList* IL, bool ADown,
                      bool AEnabled, bool ADrawColorMarker, TColor AColorMarkerValue) {
  const bool HasGlyph = IL != nullptr && ImageIndex >= 0 && ImageIndex < IL->GetCount();
  const Integer GW = HasGlyph ? IL->GetWidth() : 0;
  const Integer GH = HasGlyph ? IL->GetHeight() : 0;
  const TSize T = MeasureCaption(Cnvs, Caption, R, Layout, GW, GH);
  Cnvs->GetBrush()->SetStyle(bsClear);
  Integer TX = 0, TY = 0, GX = 0, GY = 0;
  CalcButtonLayout(Layout, R, GW, GH, T.cx, T.cy, Spacing, Margin, TX, TY, GX, GY);
  if (ADown) ++TX, ++TY, ++GX, ++GY;
  const TRect TR = DrawButtonCaption(Cnvs, Caption, TX, TY, T);
  if (HasGlyph) {
    IL->Draw(Cnvs, GX, GY, ImageIndex, AEnabled);
    if (ADrawColorMarker)
      MarkerLines(Cnvs, GX, GX + IL->GetWidth(), GY + IL->GetHeight() - 1, AColorMarkerValue);
  } else if (ADrawColorMarker) {
    if (!Caption.empty()) {
      MarkerLines(Cnvs, TR.Left, TR.Right, TR.Bottom, AColorMarkerValue);
    } else {
      Cnvs->GetBrush()->SetStyle(bsSolid);
      Cnvs->GetBrush()->SetColor(AColorMarkerValue);
      Cnvs->FillRect(Rect(R.Left + 4, R.Top + 4, R.Right - 2, R.Bottom - 4));
    }
  }
}

void DrawGlyphAndText(TCanvas* Cnvs, const TRect& R, Integer Margin, Integer Spacing, Integer Layout,
                      const std::string& Caption, TBitmap* Glyph, Integer NumGlyphs, Integer GlyphNum,
                      bool ADown, bool ADrawColorMarker, TColor AColorMarkerValue) {
  const bool HasGlyph = Glyph != nullptr && !Glyph->Empty() && NumGlyphs > 0;
  const Integer GW = HasGlyph ? Glyph->GetWidth() / NumGlyphs : 0;
  const Integer GH = HasGlyph ? Glyph->GetHeight() : 0;
  const TSize T = MeasureCaption(Cnvs, Caption, R, Layout, GW, GH);
  if (!Caption.empty()) Cnvs->GetBrush()->SetStyle(bsClear);
  Integer TX = 0, TY = 0, GX = 0, GY = 0;
  CalcButtonLayout(Layout, R, GW, GH, T.cx, T.cy, Spacing, Margin, TX, TY, GX, GY);
  if (ADown) ++TX, ++TY, ++GX, ++GY;
  const TRect TR = DrawButtonCaption(Cnvs, Caption, TX, TY, T);
  if (HasGlyph) {
    DrawGlyphCell(Cnvs, GX, GY, Glyph, NumGlyphs, GlyphNum);
    if (ADrawColorMarker)
      MarkerLines(Cnvs, GX, GX + Glyph->GetWidth(), GY + Glyph->GetHeight() - 1, AColorMarkerValue);
  } else if (ADrawColorMarker) {
    if (!Caption.empty()) {
      MarkerLines(Cnvs, TR.Left, TR.Right, TR.Bottom, AColorMarkerValue);
    } else {
      Cnvs->GetBrush()->SetStyle(bsSolid);
      Cnvs->GetBrush()->SetColor(AColorMarkerValue);
      Cnvs->FillRect(ADown ? Rect(R.Left + 4, R.Top + 5, R.Right - 2, R.Bottom - 3)
                           : Rect(R.Left + 4, R.Top + 4, R.Right - 2, R.Bottom - 4));
    }
  }
}

void DrawGlyphCell(TCanvas* Cnvs, Integer X, Integer Y, TBitmap* Glyph, Integer NumGlyphs, Integer Cell) {
  if (Glyph == nullptr || Glyph->Empty() || NumGlyphs <= 0) return;
  const Integer CW = Glyph->GetWidth() / NumGlyphs;
  const Integer H = Glyph->GetHeight();
  TBitmap B;
  B.SetSize(CW, H);
  B.GetCanvas()->CopyRect(Rect(0, 0, CW, H), Glyph->GetCanvas(), Rect(CW * (Cell - 1), 0, CW * Cell, H));
  B.SetTransparent(true);
  Cnvs->Draw(X, Y, &B);
}

// ---- Background and default glyphs ----------------------------------------------------------

void DrawParentBackground(TControl* Control, TCanvas* Cnvs) {
  DrawParentBackgroundAt(Control, Cnvs, 0, 0);
}

void DrawParentBackgroundOffset(TControl* Control, const TRect& R, TCanvas* Cnvs) {
  DrawParentBackgroundAt(Control, Cnvs, -R.Left, -R.Top);
}

void DrawDottedFocusRect(TCanvas* Cnvs, TRect R) {
  --R.Right;
  --R.Bottom;
  const TColor Color = Cnvs->GetFont()->GetColor();
  Cnvs->GetPen()->SetColor(Color);
  const Integer W = GetRectWidth(R), H = GetRectHeight(R);
  // One walk around the edges, so every corner continues the alternation of the edge before.
  bool On = !(W % 2 == 0 && H % 2 == 0);
  auto Step = [&](Integer X, Integer Y) {
    if (On) Cnvs->SetPixels(X, Y, Color);
    On = !On;
  };
  for (Integer X = R.Left; X < R.Right; ++X) Step(X, R.Top);
  for (Integer Y = R.Top; Y < R.Bottom; ++Y) Step(R.Right, Y);
  for (Integer X = R.Right; X > R.Left; --X) Step(X, R.Bottom);
  for (Integer Y = R.Bottom; Y > R.Top; --Y) Step(R.Left, Y);
}

void DrawComboArrow(TCanvas* Cnvs, const TRect& R, TColor Color) {
  const Integer CX = R.Left + GetRectWidth(R) / 2, CY = R.Top + GetRectHeight(R) / 2;
  Cnvs->GetPen()->SetColor(Color);
  Line(Cnvs, CX - 2, CY, CX + 3, CY);
  Line(Cnvs, CX - 1, CY + 1, CX + 2, CY + 1);
  Cnvs->SetPixels(CX, CY + 2, Color);
}

namespace {

void ArrowGlyph(TCanvas* Cnvs, const TRect& R, TColor Color, Integer Kind, Integer N) {
  const Integer CX = R.Left + GetRectWidth(R) / 2, CY = R.Top + GetRectHeight(R) / 2;
  Cnvs->GetPen()->SetColor(Color);
  // Each row or column includes both of its ends.
  switch (Kind) {
    case 1:
      for (Integer I = 0; I < N; ++I) Line(Cnvs, CX - 2 + I, CY - I, CX - 2 + I, CY + I + 1);
      break;
    case 2:
      for (Integer I = N - 1; I >= 0; --I) Line(Cnvs, CX + 2 - I, CY + I, CX + 2 - I, CY - I - 1);
      break;
    case 3:
      for (Integer I = 0; I < N; ++I) Line(Cnvs, CX - I, CY - 2 + I, CX + I + 1, CY - 2 + I);
      break;
    case 4:
      for (Integer I = N - 1; I >= 0; --I) Line(Cnvs, CX - I, CY + 2 - I, CX + I + 1, CY + 2 - I);
      break;
    default:
      break;
  }
}

}  // namespace

void DrawArrowGlyph(TCanvas* Cnvs, const TRect& R, TColor Color, Integer Kind) {
  ArrowGlyph(Cnvs, R, Color, Kind, 6);
}

void DrawSmallArrowGlyph(TCanvas* Cnvs, const TRect& R, TColor Color, Integer Kind) {
  ArrowGlyph(Cnvs, R, Color, Kind, 4);
}

void DrawCheckMark(TCanvas* Cnvs, Integer X, Integer Y, TColor Color) {
  Cnvs->GetPen()->SetColor(Color);
  for (Integer I = 0; I <= 2; ++I)
    Cnvs->Polyline({Point(X, Y + 5 - I), Point(X + 2, Y + 7 - I), Point(X + 7, Y + 2 - I)});
}

void DrawRadioMark(TCanvas* Cnvs, Integer X, Integer Y, TColor Color) {
  Cnvs->GetPen()->SetColor(Color);
  Cnvs->GetBrush()->SetStyle(bsSolid);
  Cnvs->GetBrush()->SetColor(Color);
  Cnvs->Rectangle(X, Y, X + 6, Y + 6);
}

void DrawCloseGlyph(TCanvas* Cnvs, Integer X, Integer Y, TColor Color) {
  Cnvs->GetPen()->SetColor(Color);
  Line(Cnvs, X + 1, Y + 1, X + 9, Y + 9);
  Line(Cnvs, X + 9, Y + 1, X + 1, Y + 9);
  Line(Cnvs, X + 2, Y + 1, X + 10, Y + 9);
  Line(Cnvs, X + 8, Y + 1, X, Y + 9);
}

void DrawBevelFrame(TCanvas* Cnvs, TRect R, TColor TopLeftColor, TColor BottomRightColor) {
  Cnvs->GetPen()->SetWidth(1);
  --R.Right;
  --R.Bottom;
  Cnvs->GetPen()->SetColor(TopLeftColor);
  Cnvs->Polyline({Point(R.Left, R.Bottom), Point(R.Left, R.Top), Point(R.Right, R.Top)});
  Cnvs->GetPen()->SetColor(BottomRightColor);
  Cnvs->Polyline({Point(R.Right, R.Top), Point(R.Right, R.Bottom), Point(R.Left - 1, R.Bottom)});
}

void DrawFrame3D(TCanvas* Cnvs, TRect& R, TColor TopColor, TColor BottomColor) {
  DrawBevelFrame(Cnvs, R, TopColor, BottomColor);
  R = Rect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1);
}

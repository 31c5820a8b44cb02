// TIETextControl: layout and drawing of the text (also used by the vector layer to draw
// multi-line boxes into its own canvas) and painting of the window.
#include <algorithm>
#include <cmath>

#include "imaging/core/iegdiplus.h"
#include "imaging/view/ietextc.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Regions.h"
#include "platform/gdi/Text.h"
#include "platform/system/Math.h"
#include "platform/user/Caret.h"

namespace {

constexpr char LF = 10;

Integer TruncD(double V) {
  return static_cast<Integer>(std::trunc(V));
}

// Characters below 31 and 127 are shown as spaces.
std::string Shown(char C) {
  const auto B = static_cast<Byte>(C);
  return std::string(1, B < 31 || B == 127 ? ' ' : C);
}

}  // namespace

// A character laid out while zoomed: drawn once the layout is complete.
struct TIETextControl::TDrawRecord {
  Integer X;
  Integer Y;
  char C;
  Integer Index;
};

void TIETextControl::DrawText(TIECanvas* Canvas, Integer Left, Integer Top, Integer W, Integer H) {
  if (W <= 1 || H <= 1) return;
  VisibleText.clear();
  TCanvas* Cv = Canvas->GetCanvas();
  TFont* Font = Cv->GetFont();
  TBrush* Brush = Cv->GetBrush();

  TIEPen* Pen = Canvas->GetPen();
  Pen->SetWidth(1);
  Pen->SetColor(FDefaultFont->GetColor());
  Pen->SetStyle(FBorderPen->GetStyle());
  if (!KeepCanvasColors) Pen->SetColor(FBorderPen->GetColor());
  Pen->SetMode(pmCopy);
  Canvas->GetBrush()->SetColor(FBoxBrush->GetColor());
  Canvas->GetBrush()->SetStyle(FBoxBrush->GetStyle());
  Canvas->Rectangle(Left, Top, Left + static_cast<Integer>(Round(W * Zoom)),
                    Top + static_cast<Integer>(Round(H * Zoom)));
  Pen->SetStyle(psSolid);

  const Integer TW = TruncD(W - W * MarginRight / 100 - W * MarginLeft / 100) - 2;
  const Integer TH = TruncD(H - H * MarginBottom / 100 - H * MarginTop / 100) - 2;
  const Integer IL = TruncD(W * MarginLeft / 100) + 1;
  const Integer IT = TruncD(H * MarginTop / 100) + 1;

  HDC DC = Cv->GetHandle();
  const UINT OldAlign = SetTextAlign(DC, TA_BASELINE);
  HRGN OldClip = CreateRectRgn(0, 0, 0, 0);
  const bool HadClip = GetClipRgn(DC, OldClip) == 1;
  IntersectClipRect(DC, Left + IL, Top + IT, Left + IL + TruncD(TW * Zoom), Top + IT + TruncD(TH * Zoom));

  const Integer Len = GetTextLength();
  FLayout.resize(static_cast<std::size_t>(Len) + 1);
  const bool Zoomed = Zoom != 1.0;
  std::vector<TDrawRecord> Records;

  // Puts the format of character Index (CurrentFormat past the text) on the canvas.
  auto ApplyFormat = [&](Integer Index, bool Selected, double HeightFactor) {
    TColor FontColor, BackColor;
    TBrushStyle BackStyle;
    if (FUniformFormat) {
      Font->SetName(FDefaultFont->GetName());
      Font->SetHeight(TruncD(FDefaultFont->GetHeight() * HeightFactor));
      Font->SetStyle(FDefaultFont->GetStyle());
      FontColor = FDefaultFont->GetColor();
      BackColor = FTextBrush->GetColor();
      BackStyle = FTextBrush->GetStyle();
    } else {
      const TIECharFormat& F = CharFormat(Index);
      Font->SetName(IECharFormatGetName(F));
      Font->SetHeight(TruncD(F.Height * HeightFactor));
      Font->SetStyle(IECharFormatGetStyles(F));
      FontColor = F.Color;
      BackColor = F.BackColor;
      BackStyle = static_cast<TBrushStyle>(F.BackStyle);
    }
    if (Selected) {
      FontColor = static_cast<TColor>(ColorToRGB(KeepCanvasColors ? Font->GetColor() : FontColor) ^ 0xFFFFFF);
      BackColor =
          static_cast<TColor>(ColorToRGB(KeepCanvasColors ? Brush->GetColor() : BackColor) ^ 0xFFFFFF);
      Font->SetColor(FontColor);
      Brush->SetColor(BackColor);
      Brush->SetStyle(bsSolid);
      return;
    }
    if (!KeepCanvasColors) {
      Font->SetColor(FontColor);
      Brush->SetColor(BackColor);
    }
    Brush->SetStyle(BackStyle);
  };
  auto IsSelected = [&](Integer I) { return I >= FSelStart && I < FSelEnd; };
  auto Measure = [&](Integer I) {
    TIETextCharLayout& L = FLayout[static_cast<std::size_t>(I)];
    if (L.Height != 0) return;
    ApplyFormat(I, false, 1.0);
    L.Width = static_cast<SmallInt>(Cv->TextWidth(Shown(TextBuffer[static_cast<std::size_t>(I)])));
    if (FixedLineHeight != 0) {
      L.Height = static_cast<SmallInt>(FixedLineHeight);
      L.Leading = 0;
      L.Descent = 0;
    } else {
      TEXTMETRICA TM{};
      GetTextMetrics(Cv->GetHandle(), &TM);
      L.Height = static_cast<SmallInt>(TM.tmHeight);
      L.Leading = static_cast<Byte>(TM.tmInternalLeading);
      L.Descent = static_cast<Byte>(TM.tmDescent);
    }
  };
  auto Draw = [&](Integer I, Integer X, Integer Baseline) {
    if (Zoomed) {
      Records.push_back({X, Baseline, TextBuffer[static_cast<std::size_t>(I)], I});
      return;
    }
    ApplyFormat(I, IsSelected(I), 1.0);
    Cv->TextOut(X, Baseline, Shown(TextBuffer[static_cast<std::size_t>(I)]));
  };

  const bool CanGrow = AutoHeight && GetVisible() && GetParent() != nullptr;
  Integer LineTop = 0;
  Integer LastDrawn = -1;
  Integer LastLineHeight = 0;
  Integer LastLineDescent = 0;
  std::vector<Integer> LineHeightOf(static_cast<std::size_t>(Len), 0);
  std::vector<Integer> RelX;
  bool Stop = false;
  Integer S = 0;
  while (S < Len && !Stop) {
    // Measuring pass: where the line ends.
    RelX.clear();
    Integer X = 0;
    Integer E = -1;
    bool EndsAtLF = false;
    Integer I = S;
    for (; I < Len; ++I) {
      Measure(I);
      const Integer Wd = FLayout[static_cast<std::size_t>(I)].Width;
      if (TextBuffer[static_cast<std::size_t>(I)] == LF) {
        RelX.push_back(X);
        E = I;
        EndsAtLF = true;
        break;
      }
      if (X + Wd + 2 >= TW) {
        if (I == S) {
          Stop = true;  // not even one character fits
          break;
        }
        E = I - 1;
        for (Integer K = I - 1; K >= S; --K)
          if (TextBuffer[static_cast<std::size_t>(K)] == ' ') {
            E = K;
            break;
          }
        break;
      }
      RelX.push_back(X);
      X += Wd;
    }
    if (Stop) break;
    if (I == Len) E = Len - 1;
    RelX.resize(static_cast<std::size_t>(E - S + 1));
    Integer LH = 0, ML = 0, MD = 0;
    for (Integer K = S; K <= E; ++K) {
      const TIETextCharLayout& L = FLayout[static_cast<std::size_t>(K)];
      LH = std::max<Integer>(LH, L.Height);
      ML = std::max<Integer>(ML, L.Leading);
      MD = std::max<Integer>(MD, L.Descent);
    }

    // Alignment offset from the format of the character before the line's end.
    const Integer FI = EndsAtLF ? E - 1 : E;
    Integer Align;
    if (FUniformFormat)
      Align = DefaultAlignment;
    else if (FI < 0 || FI >= Len)
      Align = FCurrentFormat.Alignment;
    else
      Align = CharFormat(FI).Alignment;
    Integer V = FI;
    if (V >= S && TextBuffer[static_cast<std::size_t>(V)] == LF) --V;
    if (V >= S && TextBuffer[static_cast<std::size_t>(V)] == ' ') --V;
    const Integer R =
        V >= S ? RelX[static_cast<std::size_t>(V - S)] + FLayout[static_cast<std::size_t>(V)].Width : 0;
    Integer Offset = 0;
    bool Justified = false;
    switch (Align) {
      case 1:
        Offset = TW - R - 1;
        break;
      case 2:
        Offset = (TW - R) / 2;
        break;
      case 3:
        // A paragraph's last line stays left-aligned.
        if (V + 1 < Len && TextBuffer[static_cast<std::size_t>(V + 1)] != LF && V + 1 != Len - 1) {
          Justified = true;
          Integer Sum = 0;
          for (Integer K = S; K <= E; ++K) {
            RelX[static_cast<std::size_t>(K - S)] = TruncD(static_cast<double>(Sum) * TW / (R + 1));
            Sum += FLayout[static_cast<std::size_t>(K)].Width;
          }
        }
        break;
      default:
        break;
    }

    // Drawing pass.
    const Integer Baseline = Top + IT + LineTop + LH - ML;
    if (CanGrow && Baseline + MD > Top + IT + TH) {
      SetHeight(TruncD((Baseline + MD + LH) * Zoom));
      Stop = true;
      break;
    }
    for (Integer K = S; K <= E; ++K) {
      TIETextCharLayout& L = FLayout[static_cast<std::size_t>(K)];
      const Integer RX = RelX[static_cast<std::size_t>(K - S)];
      L.X = IL + Offset + RX;
      L.Y = IT + LineTop;
      LineHeightOf[static_cast<std::size_t>(K)] = LH;
      if (Justified && !Zoomed && K < E) {
        // Paint the opened gap in the character's background.
        const Integer GapTo = RelX[static_cast<std::size_t>(K + 1 - S)];
        ApplyFormat(K, IsSelected(K), 1.0);
        for (Integer P = RX + L.Width; P < GapTo; ++P) Cv->TextOut(Left + IL + Offset + P, Baseline, " ");
      }
      Draw(K, Left + IL + Offset + RX, Baseline);
      LastDrawn = K;
      if (CollectText) {
        if (Baseline > Top + IT + TH) {
          Stop = true;
          break;
        }
        if (TextBuffer[static_cast<std::size_t>(K)] != LF)
          VisibleText += TextBuffer[static_cast<std::size_t>(K)];
      }
    }
    if (Stop) break;
    if (CollectText) VisibleText += LF;
    LastLineHeight = LH;
    LastLineDescent = MD;
    LineTop += LH + LineSpacing;
    S = E + 1;
  }

  // The caret, and the position after the text.
  auto EndPosition = [&](TPoint& P, Integer& Height) {
    if (LastDrawn < 0) {
      ApplyFormat(Len, false, 1.0);
      TEXTMETRICA TM{};
      Cv->TextWidth(" ");
      GetTextMetrics(Cv->GetHandle(), &TM);
      P = TPoint{IL, IT};
      Height = TM.tmHeight;
    } else if (TextBuffer[static_cast<std::size_t>(LastDrawn)] == LF) {
      P = TPoint{IL, IT + LineTop};
      Height = LastLineHeight;
    } else {
      const TIETextCharLayout& L = FLayout[static_cast<std::size_t>(LastDrawn)];
      P = TPoint{L.X + L.Width, L.Y};
      Height = LineHeightOf[static_cast<std::size_t>(LastDrawn)];
    }
  };
  FCaret = std::clamp(FCaret, 0, Len);
  TPoint EndPos;
  Integer EndHeight = 0;
  EndPosition(EndPos, EndHeight);
  if (FCaret <= LastDrawn) {
    const TIETextCharLayout& L = FLayout[static_cast<std::size_t>(FCaret)];
    FCaretPos = TPoint{L.X, L.Y};
    FCaretHeight = LineHeightOf[static_cast<std::size_t>(FCaret)];
  } else {
    FCaretPos = EndPos;
    FCaretHeight = EndHeight;
  }
  if (LastDrawn == Len - 1) {
    FLayout[static_cast<std::size_t>(Len)].X = EndPos.X;
    FLayout[static_cast<std::size_t>(Len)].Y = EndPos.Y;
  }
  FLayout[static_cast<std::size_t>(FCaret)].X = FCaretPos.X;
  FLayout[static_cast<std::size_t>(FCaret)].Y = FCaretPos.Y;

  if (Zoomed) {
    for (std::size_t K = 0; K < Records.size(); ++K) {
      const TDrawRecord& Rec = Records[K];
      const Integer ZX = Left + TruncD((Rec.X - Left) * Zoom);
      const Integer ZY = Top + TruncD((Rec.Y - Top) * Zoom);
      ApplyFormat(Rec.Index, IsSelected(Rec.Index), Zoom);
      if (K + 1 < Records.size() && Records[K + 1].Y == Rec.Y) {
        const Integer NextX = Left + TruncD((Records[K + 1].X - Left) * Zoom);
        const Integer Step = std::max(Cv->TextWidth(" "), 1);
        for (Integer P = ZX; P < NextX; P += Step) Cv->TextOut(P, ZY, " ");
      }
      Cv->TextOut(ZX, ZY, Shown(Rec.C));
    }
    for (TIETextCharLayout& L : FLayout) {
      if (L.X >= 0) L.X = TruncD(L.X * Zoom);
      if (L.Y >= 0) L.Y = TruncD(L.Y * Zoom);
    }
    FCaretPos = TPoint{TruncD(FCaretPos.X * Zoom), TruncD(FCaretPos.Y * Zoom)};
    FCaretHeight = TruncD(FCaretHeight * Zoom);
  }

  SelectClipRgn(DC, HadClip ? OldClip : nullptr);
  DeleteObject(OldClip);
  SetTextAlign(DC, OldAlign);
  FLayoutValid = !Stop || LastDrawn >= 0;

  if (CanGrow && !Stop && FCaretPos.Y + FCaretHeight > TruncD(TH * Zoom))
    SetHeight(FCaretPos.Y + FCaretHeight + LastLineDescent);
}

void TIETextControl::PaintBackground() {
  const Integer W = std::max(GetClientWidth(), 1);
  const Integer H = std::max(GetClientHeight(), 1);
  if (FBackBuffer->GetWidth() != W || FBackBuffer->GetHeight() != H) FBackBuffer->SetSize(W, H);
  TCanvas* C = FBackBuffer->GetCanvas();
  if (FBoxBrush->GetStyle() != bsSolid && BackgroundBitmap != nullptr)
    C->CopyRect(TRect{0, 0, W, H}, BackgroundBitmap->GetCanvas(), Bounds(GetLeft(), GetTop(), W, H));
  if (FBoxBrush->GetStyle() != bsClear) {
    C->GetBrush()->Assign(FBoxBrush.get());
    C->FillRect(TRect{0, 0, W, H});
  }
}

void TIETextControl::EnsureLayout() {
  if (FLayoutValid) return;
  PaintBackground();
  TIECanvas Canvas(FBackBuffer->GetCanvas(), false, false);
  DrawText(&Canvas, 0, 0, TruncD(GetClientWidth() / Zoom), TruncD(GetClientHeight() / Zoom));
}

void TIETextControl::Paint() {
  if (!GetVisible() || GetParent() == nullptr) return;
  const bool HasFocus = Focused();
  if (HasFocus) DestroyCaret();
  FLayoutValid = false;
  EnsureLayout();
  GetCanvas()->Draw(0, 0, FBackBuffer.get());
  if (HasFocus) {
    CreateCaret(GetWindowHandle(), nullptr, 0, std::max(FCaretHeight, 1));
    SetCaretPos(FCaretPos.X, FCaretPos.Y);
    ShowCaret(GetWindowHandle());
  }
}

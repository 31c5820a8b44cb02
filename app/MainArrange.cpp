// The control column of the main window, laid out from the widths its captions need in the
// fonts the controls draw them with.
#include "app/MainArrange.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <string>
#include <utility>

#include "app/Languages.h"
#include "app/Main.h"
#include "platform/classes/Bitmap.h"
#include "platform/classes/Canvas.h"
#include "platform/classes/ExtCtrls.h"
#include "raster/RS32_Image.h"
#include "skin/boxctrls/bsSkinBoxCtrls.h"
#include "skin/boxctrls/bsSkinTabs.h"
#include "skin/controls/bsSkinCtrls.h"

namespace {
constexpr Integer Margin = 8;      // round the group boxes on their page
constexpr Integer PageBorder = 8;  // the page control's frame, both sides together
constexpr Integer GroupGap = 6;    // between group boxes
constexpr Integer Pad = 8;         // inside a group box, left and right
constexpr Integer FirstRow = 18;   // top of a group box's first row, below its caption
constexpr Integer RowHeight = 22;
constexpr Integer Gap = 6;  // between neighbours on a row
constexpr Integer ControlHeight = 20;
constexpr Integer ButtonHeight = 25;
constexpr Integer LabelDrop = 3;  // a label sits this much lower than the control beside it
constexpr Integer LabelHeight = 16;
constexpr Integer SpinWidth = 60;
constexpr Integer MinButtonWidth = 90;
constexpr Integer PreviewWidth = 110, PreviewHeight = 82;
constexpr Integer ButtonBarHeight = 33;  // the build buttons below the pages
// A (flat) check box writes its caption from here on, right of its box, and keeps its last two
// pixels clear.
constexpr Integer CheckTextLeft = 22;
constexpr Integer CheckTextEnd = 2;
// Room round a caption: a glyph's overhang past its advance, and a button's frame and margins.
constexpr Integer CaptionSlack = 2;
constexpr Integer ButtonTextRoom = 16;

// Widths of captions as the controls draw them, measured with the platform's text metrics.
class TCaptionMeter {
 public:
  TCaptionMeter() { FBitmap.SetSize(1, 1); }
  Integer Text(TFont* Font, const std::string& Text) {
    TCanvas* C = FBitmap.GetCanvas();
    C->SetFont(Font);
    return C->TextWidth(Text);
  }
  Integer Of(TbsSkinCheckRadioBox* Box) {
    return CheckTextLeft + Text(Box->GetDefaultFont(), Box->GetCaption()) + CaptionSlack + CheckTextEnd;
  }
  Integer Of(TbsSkinButton* Button) {
    return Text(Button->GetDefaultFont(), Button->GetCaption()) + ButtonTextRoom;
  }
  Integer Of(TbsSkinStdLabel* Label, const std::string& Caption) {
    return Text(Label->GetUseSkinFont() ? Label->GetDefaultFont() : Label->GetFont(), Caption) + CaptionSlack;
  }
  Integer Of(TbsSkinStdLabel* Label) { return Of(Label, Label->GetCaption()); }

 private:
  TBitmap FBitmap;
};

Integer RowTop(Integer Row) {
  return FirstRow + Row * RowHeight;
}

// A label beside the control row that starts at Top.
void PlaceLabel(TbsSkinStdLabel* Label, TCaptionMeter& M, Integer X, Integer Top) {
  Label->SetBounds(X, Top + LabelDrop, M.Of(Label), LabelHeight);
}

// A slider between its name's column and its value's column, and the value label.
void PlaceBar(TbsSkinTrackBar* Bar, TbsSkinStdLabel* Value, TCaptionMeter& M, Integer BarLeft,
              Integer ValueLeft, Integer Top) {
  Bar->SetBounds(BarLeft, Top, ValueLeft - Gap - BarLeft, ControlHeight);
  PlaceLabel(Value, M, ValueLeft, Top);
}

// The widest value a slider's label shows.
Integer ValueColumn(TbsSkinStdLabel* Value, TCaptionMeter& M) {
  return std::max(M.Of(Value, "-100"), M.Of(Value, "100%"));
}

// ---- The group boxes; each places its controls for a box Width wide and gives its height ----

Integer ArrangeSource(TForm1* F, TCaptionMeter& M, Integer Width) {
  F->Image2->SetBounds(Pad, 20, PreviewWidth, PreviewHeight);
  const Integer X = Pad + PreviewWidth + Pad, ColumnWidth = Width - Pad - X;
  F->LoadPicBtn->SetBounds(X, 20, ColumnWidth, ButtonHeight);
  F->NoRim->SetBounds(X, 50, ColumnWidth, ControlHeight);
  PlaceLabel(F->Label23, M, X, 74);
  F->MultSpin->SetBounds(X + M.Of(F->Label23) + Gap, 74, SpinWidth, ControlHeight);
  PlaceLabel(F->Label13, M, Pad, 104);
  return 126;
}

Integer ArrangePattern(TForm1* F, TCaptionMeter& M, Integer Width) {
  PlaceLabel(F->Label2, M, Pad, 18);
  F->PatternBox->SetBounds(Pad, 38, Width - 2 * Pad, ControlHeight);
  // Grid size, then line and colour one above the other, their spin edits in one column.
  PlaceLabel(F->Label1, M, Pad, 64);
  const Integer GridSpinLeft = Pad + M.Of(F->Label1) + Gap;
  F->SpinEdit5->SetBounds(GridSpinLeft, 64, SpinWidth, ControlHeight);
  const Integer NamesLeft = GridSpinLeft + SpinWidth + 2 * Gap;
  const Integer SpinsLeft = NamesLeft + std::max(M.Of(F->Label43), M.Of(F->Label8)) + Gap;
  PlaceLabel(F->Label43, M, NamesLeft, 64);
  F->LineSpin->SetBounds(SpinsLeft, 64, SpinWidth, ControlHeight);
  PlaceLabel(F->Label8, M, NamesLeft, 92);
  F->ColorSpin->SetBounds(SpinsLeft, 92, SpinWidth, ControlHeight);
  return 124;
}

Integer ArrangeParameters(TForm1* F, TCaptionMeter& M, Integer Width) {
  // The names change with the pattern type: the column takes the widest of every type.
  Integer NameWidth = 0;
  for (TbsSkinStdLabel* L : F->LabelP) NameWidth = std::max(NameWidth, M.Of(L));
  for (const auto& Type : ParamLabels)
    for (const std::string& Name : Type) NameWidth = std::max(NameWidth, M.Of(F->LabelP[0], Name));
  // After a build the spheres show the coverage they reached in their second name.
  NameWidth = std::max(NameWidth, M.Of(F->LabelP[1], VariableTexts[vtCoverage] + " = 100%"));
  const Integer BarLeft = Pad + NameWidth + Gap;
  const Integer ValueLeft = Width - Pad - ValueColumn(F->ValueP[0], M);
  for (Integer I = 0; I < 6; ++I) {
    PlaceLabel(F->LabelP[I], M, Pad, RowTop(I));
    PlaceBar(F->TrackBarP[I], F->ValueP[I], M, BarLeft, ValueLeft, RowTop(I));
  }
  return RowTop(6) + 2;
}

void ArrangeDrawing(TForm1* F, TCaptionMeter& M, Integer Width) {
  const Integer ButtonWidth = std::max({MinButtonWidth, M.Of(F->SubmitBtn), M.Of(F->EraseBtn)});
  F->SubmitBtn->SetBounds(Pad, 20, ButtonWidth, ButtonHeight);
  F->EraseBtn->SetBounds(Pad, 50, ButtonWidth, ButtonHeight);
  const Integer ViewLeft = Pad + ButtonWidth + 2 * Gap;
  F->KaleidoPattern->SetBounds(ViewLeft, 20, Width - Pad - ViewLeft, ControlHeight);
  F->KaleidoColors->SetBounds(ViewLeft, 42, Width - Pad - ViewLeft, ControlHeight);
  F->ShowPictArea->SetBounds(Pad, 84, Width - 2 * Pad, ControlHeight);
  Integer X = Pad;
  for (TbsSkinCheckRadioBox* Symmetry : {F->Kal2x, F->Kal4x, F->Kal8x}) {
    const Integer W = std::max(60, M.Of(Symmetry));
    Symmetry->SetBounds(X, 112, W, ControlHeight);
    X += W + Gap;
  }
}

// The options stand in two columns, in pairs.
using TOptionPairs = std::array<std::pair<TbsSkinCheckRadioBox*, TbsSkinCheckRadioBox*>, 5>;

TOptionPairs OptionPairs(TForm1* F) {
  return {{{F->FrameOnly, F->PatternColors},
           {F->GridShow, F->WhiteGrid},
           {F->KeepShape, F->Automatic},
           {F->AutoSave, F->ApplyMask},
           {F->UseText, nullptr}}};
}

// The widths of the two columns: each as wide as its widest caption.
std::pair<Integer, Integer> OptionColumns(TForm1* F, TCaptionMeter& M) {
  Integer Left = 0, Right = 0;
  for (const auto& [L, R] : OptionPairs(F)) {
    Left = std::max(Left, M.Of(L));
    if (R != nullptr) Right = std::max(Right, M.Of(R));
  }
  return {Left, Right};
}

// The group box width at which both columns fit.
Integer OptionsWidth(TForm1* F, TCaptionMeter& M) {
  const auto [Left, Right] = OptionColumns(F, M);
  return Pad + Left + Gap + Right + Pad;
}

// Where the right box of a pair does not fit beside the left one, each gets a row of its own.
Integer ArrangeOptions(TForm1* F, TCaptionMeter& M, Integer Width) {
  const Integer LeftWidth = OptionColumns(F, M).first;
  const Integer RightLeft = Pad + LeftWidth + Gap, FullWidth = Width - 2 * Pad;
  Integer Row = 0;
  for (const auto& [Left, Right] : OptionPairs(F)) {
    const bool Beside = Right != nullptr && RightLeft + M.Of(Right) <= Width - Pad;
    Left->SetBounds(Pad, RowTop(Row), Beside ? LeftWidth : FullWidth, ControlHeight);
    if (Right != nullptr && !Beside) ++Row;
    if (Right != nullptr)
      Right->SetBounds(Beside ? RightLeft : Pad, RowTop(Row), Beside ? Width - Pad - RightLeft : FullWidth,
                       ControlHeight);
    ++Row;
  }
  return RowTop(Row) + 2;
}

// Each option on a row of its own; a strength slider on the row below its option, the blend's
// with its label in front.
Integer ArrangeEffects(TForm1* F, TCaptionMeter& M, Integer Width) {
  auto* BlendName = static_cast<TbsSkinStdLabel*>(F->FindComponent("Label9"));
  const Integer FullWidth = Width - 2 * Pad;
  const Integer NameLeft = Pad + CheckTextLeft;
  const Integer BarLeft = NameLeft + M.Of(BlendName) + Gap;
  const Integer ValueLeft = Width - Pad - ValueColumn(F->BlendLbl, M);
  Integer Row = 0;
  auto Option = [&](TbsSkinCheckRadioBox* Box) {
    Box->SetBounds(Pad, RowTop(Row++), FullWidth, ControlHeight);
  };
  auto Strength = [&](TbsSkinTrackBar* Bar, TbsSkinStdLabel* Value) {
    PlaceBar(Bar, Value, M, BarLeft, ValueLeft, RowTop(Row++));
  };
  Option(F->Blending);
  PlaceLabel(BlendName, M, NameLeft, RowTop(Row));
  Strength(F->BlendBar, F->BlendLbl);
  Option(F->Edges);
  Strength(F->ClipBar, F->ClipLbl);
  Option(F->AutoAlias);
  Option(F->ApplyShade);
  Option(F->GlassFX);
  Strength(F->GlassBar, F->GlassLbl);
  return RowTop(Row) + 2;
}

Integer ArrangeText(TForm1* F, TCaptionMeter& M, Integer Width) {
  const Integer ButtonWidth = std::max(78, M.Of(F->FontBtn));
  F->FontBtn->SetBounds(Width - Pad - ButtonWidth, 20, ButtonWidth, ButtonHeight);
  F->Edit1->SetBounds(Pad, 22, Width - 2 * Pad - ButtonWidth - Gap, 22);
  return 56;
}

void ArrangePreview(TbsSkinButton* Button, TImage* Image, Integer Width) {
  Button->SetBounds(Pad, 20, Width - 2 * Pad, ButtonHeight);
  Image->SetBounds(Pad, 50, Width - 2 * Pad, 92);
}

// Group boxes one below the other on a page.
class TGroupStack {
 public:
  explicit TGroupStack(Integer Width) : FWidth(Width) {}
  void Add(TControl* Group, Integer Height) {
    Group->SetBounds(Margin, FTop, FWidth, Height);
    FTop += Height + GroupGap;
  }
  Integer Top() const { return FTop; }

 private:
  Integer FWidth;
  Integer FTop = Margin;
};
}  // namespace

void ArrangeControls(TForm1* F) {
  TCaptionMeter M;
  // The column widens for options whose captions do not fit two to a row, up to a limit; past
  // that they take a row each.
  const Integer Width = std::clamp(OptionsWidth(F, M), ControlPanelWidth - 2 * Margin - PageBorder,
                                   MaxControlPanelWidth - 2 * Margin - PageBorder);
  const Integer PanelWidth = Width + 2 * Margin + PageBorder;
  F->ControlPanel->SetWidth(PanelWidth);
  // The result takes the rest. The window aligns only once it is shown, and the start-up build
  // comes before that: it must see the view's real size.
  F->Image1->SetBounds(PanelWidth, F->Image1->GetTop(), F->GetClientWidth() - PanelWidth,
                       F->Image1->GetHeight());
  const Integer ButtonsTop = F->ControlPanel->GetHeight() - ButtonBarHeight;
  F->PageControl1->SetBounds(0, 0, PanelWidth, ButtonsTop - 6);

  TGroupStack Mosaic(Width);
  Mosaic.Add(F->GroupBox1, ArrangeSource(F, M, Width));
  Mosaic.Add(F->GroupBox2, ArrangePattern(F, M, Width));
  // The drawing panel takes the parameters' place.
  const Integer ParamsTop = Mosaic.Top();
  Mosaic.Add(F->GroupBox5, ArrangeParameters(F, M, Width));
  ArrangeDrawing(F, M, Width);
  F->GroupBox6->SetBounds(Margin, ParamsTop, Width, F->GroupBox5->GetHeight());
  Mosaic.Add(F->GroupBox3, ArrangeOptions(F, M, Width));

  TGroupStack Effects(Width);
  Effects.Add(F->GroupBox4, ArrangeEffects(F, M, Width));
  Effects.Add(F->GroupBox9, ArrangeText(F, M, Width));
  const Integer BoxWidth = (Width - Gap) / 2, BoxTop = Effects.Top();
  F->GroupBox7->SetBounds(Margin, BoxTop, BoxWidth, 150);
  F->GroupBox8->SetBounds(Margin + Width - BoxWidth, BoxTop, BoxWidth, 150);
  ArrangePreview(F->LoadMaskBtn, F->Image3, BoxWidth);
  ArrangePreview(F->LoadFXBtn, F->Image4, BoxWidth);

  ArrangeVideoPage(F, Width);

  const Integer HalfWidth = (PanelWidth - 3 * Margin) / 2;
  F->UpdateBtn->SetBounds(Margin, ButtonsTop, HalfWidth, ButtonHeight);
  F->SaveBtn->SetBounds(2 * Margin + HalfWidth, ButtonsTop, HalfWidth, ButtonHeight);
}

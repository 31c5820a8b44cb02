#include "imaging/core/iepalettedialog.h"

namespace {

constexpr Integer CellSize = 16;
constexpr Integer CellsPerRow = 32;

TColor TripleToColor(const TIERGBTriple& C) {
  return static_cast<TColor>(C.rgbtRed | (C.rgbtGreen << 8) | (C.rgbtBlue << 16));
}

}  // namespace

TZezudIdPaletteDialog::TZezudIdPaletteDialog(TComponent* AOwner) : TForm(AOwner) {
  BeginFormLoad();
  SetCaption("Palette");
  SetBorderStyle(bsDialog);
  SetBorderIcons(TBorderIcons{biSystemMenu});
  SetPosition(poScreenCenter);
  SetWidth(520);
  SetHeight(199);
  CancelButton = new TButton(this);
  CancelButton->SetParent(this);
  CancelButton->SetCaption("&Cancel");
  CancelButton->SetModalResult(mrCancel);
  CancelButton->SetCancel(true);
  CancelButton->SetLeft(4);
  CancelButton->SetTop(136);
  OnPaint = TNotifyEvent(this, &TZezudIdPaletteDialog::FormPaint);
  OnMouseMove = TMouseMoveEvent(this, &TZezudIdPaletteDialog::FormMouseMove);
  OnClick = TNotifyEvent(this, &TZezudIdPaletteDialog::FormClick);
  EndFormLoad();
}

void TZezudIdPaletteDialog::SetPalette(const TIERGBTriple* Palette, Integer NumColors) {
  FPalette = Palette;
  FNumColors = NumColors;
}

bool TZezudIdPaletteDialog::Execute() {
  return ShowModal() == mrOk;
}

void TZezudIdPaletteDialog::FormPaint(TObject*) {
  TCanvas* C = GetCanvas();
  for (Integer I = 0; I < FNumColors; ++I) {
    const Integer X = (I % CellsPerRow) * CellSize, Y = (I / CellsPerRow) * CellSize;
    C->GetPen()->SetColor(I == FSelectedIndex ? clBlack : clWhite);
    C->GetBrush()->SetColor(TripleToColor(FPalette[I]));
    C->Rectangle(X + 1, Y + 1, X + CellSize, Y + CellSize);
  }
}

void TZezudIdPaletteDialog::FormMouseMove(TObject*, TShiftState, Integer X, Integer Y) {
  // Coordinate 0 belongs to column and row 0 (division truncates toward zero). Right of the
  // last column nothing is under the mouse (the row below's first colour is not).
  const Integer Column = (X - 1) / CellSize;
  if (Column >= CellsPerRow) return;
  const Integer Index = ((Y - 1) / CellSize) * CellsPerRow + Column;
  if (Index < 0 || Index >= FNumColors || Index == FSelectedIndex) return;
  FSelectedIndex = Index;
  Invalidate();
}

void TZezudIdPaletteDialog::FormClick(TObject*) {
  if (FSelectedIndex < 0) return;
  FChosenColor = TripleToColor(FPalette[FSelectedIndex]);
  SetModalResult(mrOk);
}

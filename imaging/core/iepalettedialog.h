#pragma once
// A modal window that shows a palette as 16 x 16 cells, 32 to a row, and lets the user pick a
// colour with a click; built in code.
#include "imaging/core/hyiedefs.h"
#include "platform/classes/Forms.h"
#include "platform/classes/StdCtrls.h"

class TZezudIdPaletteDialog : public TForm {
 public:
  explicit TZezudIdPaletteDialog(TComponent* AOwner);

  // The colours shown; the array is the caller's and is not copied.
  void SetPalette(const TIERGBTriple* Palette, Integer NumColors);
  // Shows the window modally: true when it was closed by a click on a colour.
  bool Execute();

  // The colour under the mouse (-1 while none was).
  Integer GetSelectedIndex() const { return FSelectedIndex; }
  // The colour the closing click chose.
  TColor GetChosenColor() const { return FChosenColor; }

  // "&Cancel", owned by the form; the caller may change its caption before Execute.
  TButton* CancelButton = nullptr;

 private:
  void FormPaint(TObject* Sender);
  void FormMouseMove(TObject* Sender, TShiftState Shift, Integer X, Integer Y);
  void FormClick(TObject* Sender);

  const TIERGBTriple* FPalette = nullptr;
  Integer FNumColors = 0;
  Integer FSelectedIndex = -1;
  TColor FChosenColor = clBlack;
};

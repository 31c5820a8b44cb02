// The program's file dialogs and its message box draw with the main window's skin: the skin
// data component is one object whose skin is swapped in place, so binding it once keeps every
// dialog opened later in step with the skin chosen last.
#include <initializer_list>

#include "app/Main.h"
#include "skin/dialogs/bsMessages.h"
#include "skin/dialogs/bsSkinShellCtrls.h"

void TForm1::BindDialogSkins() {
  // The frame takes the form's skin; the controls inside and the texts take the controls' skin.
  const std::initializer_list<TbsCustomFileDialog*> FileDialogs = {
      OpenPictureDialog, SavePictureDialog, OpenProjectDialog, SaveProjectDialog,
      OpenScriptDialog,  SaveVideoDialog,   UpdateSaveDialog};
  for (TbsCustomFileDialog* Dialog : FileDialogs) {
    Dialog->SetSkinData(bsSkinData1);
    Dialog->SetCtrlSkinData(bsSkinData1);
  }
  bsSkinMessage1->SetSkinData(bsSkinData1);
  bsSkinMessage1->SetCtrlSkinData(bsSkinData1);
}

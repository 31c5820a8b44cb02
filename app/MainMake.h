// Making the main window's controls: named, bound to the window's skin data and placed.
#pragma once

#include "app/Main.h"

// The column is laid out for the controls' own font, so they keep it whatever font a skin's
// parts carry; everything else about them is drawn from the skin.
template <class T>
T* Make(TForm1* Form, TWinControl* Parent, const char* Name) {
  T* C = new T(Form);
  C->SetName(Name);
  if constexpr (requires { C->SetUseSkinFont(false); }) C->SetUseSkinFont(false);
  if constexpr (requires { C->SetSkinData(Form->bsSkinData1); }) C->SetSkinData(Form->bsSkinData1);
  C->SetParent(Parent);
  return C;
}

// The settings file and the menu "Extra": languages, skins and the update interval.
#include "app/Main.h"

void TForm1::CreateExtraMenu() {}
void TForm1::ReadSettings() {}
void TForm1::SelectSkin(TObject*) {}
void TForm1::SetUpdateFreq(TObject*) {}
void TForm1::SelectLanguage(TObject*) {}
void TForm1::MakeOwnLanguage(TObject*) {}

// The menu "Projects": saving, opening and deleting project files.
#include "app/Main.h"

void TForm1::CreateProjectMenu() {}
void TForm1::SaveProject(TObject*) {}
void TForm1::LoadProject(TObject*) {}
void TForm1::DeleteProject(TObject*) {}

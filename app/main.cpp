// The program: the display, the raster and imaging libraries' start-up, the main window and the
// message loop until it closes.
#include "app/Main.h"
#include "app/Functions.h"
#include "imaging/core/hyieutils.h"
#include "platform/classes/Application.h"
#include "platform/display/HeadlessDisplay.h"
#include "raster/RS32_Startup.h"

int main() {
  KeepPictureMemory();
  InitDisplayBackend();
  InitializeRasterLibrary();
  LibraryInitialize();
  Application->Initialize();
  Application->CreateForm(Form1);
  Application->Run();
  LibraryFinalize();
  return 0;
}

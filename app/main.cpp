// The program: the display, the raster library's start-up, the main window and the message
// loop until it closes.
#include "app/Main.h"
#include "app/Functions.h"
#include "platform/classes/Application.h"
#include "platform/display/HeadlessDisplay.h"
#include "raster/RS32_Startup.h"

int main() {
  KeepPictureMemory();
  InitDisplayBackend();
  InitializeRasterLibrary();
  Application->Initialize();
  Application->CreateForm(Form1);
  Application->Run();
  return 0;
}

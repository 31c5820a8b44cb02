// The program: the display, the raster and imaging libraries' start-up, the main window and the
// message loop until it closes.
#include "app/Main.h"
#include "app/About.h"
#include "app/Functions.h"
#include "app/VideoPlayer.h"
#include "app/Viewer.h"
#include "imaging/core/hyieutils.h"
#include "imaging/formats/ieformats.h"
#include "imaging/io/ieiolibrary.h"
#include "imaging/proc/ieprocfilters.h"
#include "imaging/view/zezudidview.h"
#include "pictures/GIFImage.h"
#include "pictures/pngimage.h"
#include "platform/classes/Application.h"
#include "platform/display/HeadlessDisplay.h"
#include "raster/RS32_Startup.h"
#include "skin/form/bsSkinEditMenus.h"

int main() {
  KeepPictureMemory();
  InitDisplayBackend();
  InitializeRasterLibrary();
  // The libraries above the imaging core join its start-up before it runs.
  IEFormatsInstall();
  IORegisterLibraryHooks();
  ProcRegisterLibraryHooks();
  ViewRegisterLibraryHooks();
  LibraryInitialize();
  // The picture classes register GIF and PNG with the class library's pictures.
  GIFImageStartup();
  PngImageStartup();
  Application->Initialize();
  // The edits' built-in context menu shows as a skinned popup menu.
  InstallSkinnedEditMenus();
  Application->CreateForm(Form1);
  Application->CreateForm(Form2);
  Application->CreateForm(Form4);
  Application->CreateForm(Form5);
  Application->Run();
  LibraryFinalize();
  return 0;
}

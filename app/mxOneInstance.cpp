#include "app/mxOneInstance.h"

#include <algorithm>

#include "platform/classes/Application.h"
#include "platform/classes/Forms.h"
#include "platform/system/Files.h"
#include "platform/system/Format.h"
#include "platform/system/InstanceChannel.h"
#include "platform/system/KernelObjects.h"
#include "platform/system/NamedMutex.h"
#include "platform/user/WinUser.h"
#include "platform/user/WindowPos.h"
#include "platform/user/Windows.h"

void RaiseMainWindow() {
  TCustomForm* Main = Application->GetMainForm();
  if (Main == nullptr || !Main->HandleAllocated()) return;
  HWND Wnd = Main->GetHandle();
  if (IsIconic(Wnd))
    ShowWindow(Wnd, SW_RESTORE);
  else
    BringWindowToTop(Wnd);
}

TmxOneInstance::TmxOneInstance(TComponent* AOwner) : TComponent(AOwner) {}

TmxOneInstance::~TmxOneInstance() {
  FListener.reset();
  if (FHandleOwned && FMutex != nullptr) CloseHandle(FMutex);
}

std::string TmxOneInstance::GetVersion() const {
  return Format("%d.%d", {FVersion >> 8, FVersion & 0xFF});
}

void TmxOneInstance::Loaded() {
  TComponent::Loaded();
  // Without a title of its own the application goes by its program file's name.
  std::string Name = Application->GetTitle();
  if (Name.empty()) Name = ChangeFileExt(ExtractFileName(Application->GetExeName()), "");
  Name.resize(std::min(Name.size(), MaxNameLength));
  FHandleOwned = false;
  FMutex = CreateMutexA(nullptr, FALSE, Name.c_str());
  FOtherInstance = FMutex == nullptr || GetLastError() == ERROR_ALREADY_EXISTS;
  if (FOtherInstance) {
    if (OnInstanceExists) OnInstanceExists(this);
    // The running copy's window is raised by the copy itself, on request.
    if (FSwitchToPrevious) SignalInstance(Name);
    if (FTerminate) Application->Terminate();
  } else {
    FListener = std::make_unique<TInstanceListener>();
    FListener->Start(Name, RaiseMainWindow);
  }
  FHandleOwned = true;
}

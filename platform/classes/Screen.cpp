// TScreen: forms, the active form and control, cursors, the screen, monitors and fonts.
#include "platform/classes/Screen.h"

#include <algorithm>

#include "platform/classes/Application.h"
#include "platform/classes/HintWindow.h"
#include "platform/classes/UserBridge.h"
#include "platform/gdi/FontEngine.h"
#include "platform/system/Format.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WindowMessages.h"
#include "platform/user/WindowPos.h"
#include "platform/user/Windows.h"

namespace {

// The built-in cursor shapes of the negative cursor numbers. The platform's own cursors that
// are no system shapes (drag, split, SQL wait) take the nearest system shape.
LPCSTR BuiltInCursor(Integer Index) {
  switch (Index) {
    case crArrow:
    case crDefault:
    case crDrag:
    case crMultiDrag:
      return IDC_ARROW;
    case crCross:
      return IDC_CROSS;
    case crIBeam:
      return IDC_IBEAM;
    case crSizeNESW:
      return IDC_SIZENESW;
    case crSizeNS:
    case crVSplit:
      return IDC_SIZENS;
    case crSizeNWSE:
      return IDC_SIZENWSE;
    case crSizeWE:
    case crHSplit:
      return IDC_SIZEWE;
    case crUpArrow:
      return IDC_UPARROW;
    case crHourGlass:
    case crSQLWait:
      return IDC_WAIT;
    case crNoDrop:
    case crNo:
      return IDC_NO;
    case crAppStart:
      return IDC_APPSTARTING;
    case crHelp:
      return IDC_HELP;
    case crHandPoint:
      return IDC_HAND;
    case crSizeAll:
      return IDC_SIZEALL;
    default:
      return nullptr;
  }
}

template <class T>
void EraseAll(std::vector<T*>& List, const void* Item) {
  List.erase(
      std::remove_if(List.begin(), List.end(), [&](T* P) { return static_cast<const void*>(P) == Item; }),
      List.end());
}

}  // namespace

// ---- TMonitor ---------------------------------------------------------------------------------

TRect TMonitor::GetBoundsRect() const {
  MONITORINFO Info;
  return GetMonitorInfo(FHandle, &Info) ? Info.rcMonitor : TRect{};
}

TRect TMonitor::GetWorkareaRect() const {
  MONITORINFO Info;
  return GetMonitorInfo(FHandle, &Info) ? Info.rcWork : TRect{};
}

bool TMonitor::GetPrimary() const {
  MONITORINFO Info;
  return GetMonitorInfo(FHandle, &Info) && (Info.dwFlags & MONITORINFOF_PRIMARY) != 0;
}

// ---- TScreen ----------------------------------------------------------------------------------

TScreen::TScreen(TComponent* AOwner) : TComponent(AOwner) {
  FHintFont = std::make_unique<TFont>();
  FMenuFont = std::make_unique<TFont>();
  FIconFont = std::make_unique<TFont>();
  FHintFont->SetName("Tahoma");
  FMenuFont->SetName("Tahoma");
  FIconFont->SetName("Tahoma");
  FHintFont->SetColor(clInfoText);
  FMenuFont->SetColor(clMenuText);
  FIconFont->SetColor(clWindowText);
}

TScreen::~TScreen() {
  Destroying();
  if (Screen == this) Screen = nullptr;
}

TForm* TScreen::GetForm(Integer Index) const {
  if (Index < 0 || Index >= GetFormCount())
    throw EListError(Format("List index out of bounds (%d)", {Index}));
  return FForms[static_cast<std::size_t>(Index)];
}

TCustomForm* TScreen::GetCustomForm(Integer Index) const {
  if (Index < 0 || Index >= GetCustomFormCount())
    throw EListError(Format("List index out of bounds (%d)", {Index}));
  return FCustomForms[static_cast<std::size_t>(Index)];
}

void TScreen::AddForm(TCustomForm* AForm) {
  FCustomForms.push_back(AForm);
}

void TScreen::AddForm(TForm* AForm) {
  FForms.push_back(AForm);
}

void TScreen::RemoveForm(TCustomForm* AForm) {
  EraseAll(FCustomForms, AForm);
  EraseAll(FForms, AForm);
  EraseAll(FSaveFocusedList, AForm);
  if (FFocusedForm == AForm) FFocusedForm = nullptr;
  if (FActiveCustomForm == AForm) {
    FActiveCustomForm = nullptr;
    FActiveForm = nullptr;
  }
  if (FLastActiveCustomForm == AForm) FLastActiveCustomForm = nullptr;
  if (FActiveControl != nullptr && AForm->ContainsControl(FActiveControl)) FActiveControl = nullptr;
  if (FLastActiveControl != nullptr && AForm->ContainsControl(FLastActiveControl))
    FLastActiveControl = nullptr;
  // Without forms the hint window gives its window back.
  if (FCustomForms.empty() && Application != nullptr && Application->GetHintWindow() != nullptr)
    Application->GetHintWindow()->ReleaseHandle();
}

void TScreen::UpdateLastActive() {
  if (FLastActiveCustomForm != FActiveCustomForm) {
    FLastActiveCustomForm = FActiveCustomForm;
    if (OnActiveFormChange) OnActiveFormChange(this);
  }
  if (FLastActiveControl != FActiveControl) {
    FLastActiveControl = FActiveControl;
    if (OnActiveControlChange) OnActiveControlChange(this);
  }
}

// ---- Cursors --------------------------------------------------------------------------------

void TScreen::SetCursor(TCursor Value) {
  if (Value != FCursor) {
    FCursor = Value;
    if (Value == crDefault) {
      // The window under the mouse picks its own cursor again.
      POINT P;
      ::GetCursorPos(&P);
      const HWND Wnd = WindowFromPoint(P);
      if (Wnd != nullptr) {
        const LRESULT Code = SendMessage(Wnd, WM_NCHITTEST, 0, MAKELPARAM(P.X, P.Y));
        SendMessage(Wnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(Wnd),
                    MAKELPARAM(static_cast<Integer>(Code), WM_MOUSEMOVE));
      }
    } else {
      ::SetCursor(GetCursors(Value));
    }
  }
  ++FCursorCount;
}

HCURSOR TScreen::GetCursors(Integer Index) {
  auto It = FCursors.find(Index);
  if (It != FCursors.end()) return It->second;
  if (const LPCSTR Name = BuiltInCursor(Index)) {
    const HCURSOR Handle = LoadCursor(nullptr, Name);
    if (Handle != nullptr) FCursors[Index] = Handle;
    return Handle;
  }
  return Index == crDefault ? nullptr : GetCursors(crDefault);
}

void TScreen::SetCursors(Integer Index, HCURSOR Handle) {
  if (Index == crDefault || Handle == nullptr) return;
  FCursors[Index] = Handle;
}

// ---- Screen and monitors ----------------------------------------------------------------------

Integer TScreen::GetWidth() const {
  return GetSystemMetrics(SM_CXSCREEN);
}
Integer TScreen::GetHeight() const {
  return GetSystemMetrics(SM_CYSCREEN);
}
TRect TScreen::GetWorkAreaRect() const {
  return WorkArea();
}

void TScreen::LoadMonitors() {
  if (!FMonitors.empty()) return;
  auto Monitor = std::make_unique<TMonitor>();
  Monitor->FHandle = ::MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY);
  Monitor->FMonitorNum = 0;
  FMonitors.push_back(std::move(Monitor));
}

Integer TScreen::GetMonitorCount() {
  LoadMonitors();
  return static_cast<Integer>(FMonitors.size());
}

TMonitor* TScreen::GetMonitor(Integer Index) {
  LoadMonitors();
  if (Index < 0 || Index >= GetMonitorCount())
    throw EListError(Format("List index out of bounds (%d)", {Index}));
  return FMonitors[static_cast<std::size_t>(Index)].get();
}

TMonitor* TScreen::MonitorFromWindow(HWND Handle) {
  LoadMonitors();
  const HMONITOR H = ::MonitorFromWindow(Handle, MONITOR_DEFAULTTONEAREST);
  for (auto& M : FMonitors)
    if (M->FHandle == H) return M.get();
  return FMonitors.front().get();
}

TMonitor* TScreen::MonitorFromPoint(TPoint Point) {
  LoadMonitors();
  const HMONITOR H = ::MonitorFromPoint(Point, MONITOR_DEFAULTTONEAREST);
  for (auto& M : FMonitors)
    if (M->FHandle == H) return M.get();
  return FMonitors.front().get();
}

// ---- Fonts ----------------------------------------------------------------------------------

TStrings* TScreen::GetFonts() {
  if (FFonts) return FFonts.get();
  FFonts = std::make_unique<TStringList>();
  FFonts->SetSorted(true);
  FFonts->SetDuplicates(dupIgnore);
  for (const std::string& Family : InstalledFontFamilies()) FFonts->Add(Family);
  return FFonts.get();
}

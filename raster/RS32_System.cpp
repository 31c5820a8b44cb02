#include "raster/RS32_System.h"

#include "platform/system/Clock.h"
#include "platform/system/Environment.h"
#include "platform/system/Math.h"

namespace {
TCpuFeatures ReportedFeatures = 0;
bool ThemeLibraryLoaded = false;
}  // namespace

bool CpuHasFeature(Integer Index) {
  if (Index < 0 || Index > ci3DNowExt) return false;
  return (ReportedFeatures & CpuFeatureBit(Index)) != 0;
}
bool CpuHasMmx() {
  return CpuHasFeature(ciMMX);
}
bool CpuHasExtendedMmx() {
  return CpuHasFeature(ciEMMX);
}
bool CpuHas3DNow() {
  return CpuHasFeature(ci3DNow);
}
TCpuFeatures GetCpuFeatures() {
  return ReportedFeatures;
}
void SetCpuFeatures(TCpuFeatures Features) {
  ReportedFeatures = Features;
}

void TPerfTimer::Start() {
  QueryPerformanceCounter(FStartCount);
}

Int64 TPerfTimer::ElapsedMicroseconds() {
  QueryPerformanceCounter(FStopCount);
  QueryPerformanceFrequency(FFrequency);
  return Round(static_cast<Extended>(FStopCount - FStartCount) * 1000000.0L / FFrequency);
}

DWORD SystemTickCount() {
  return GetTickCount();
}

HTHEME (*OpenThemeData)(HWND, const char16_t*) = nullptr;
HRESULT (*CloseThemeData)(HTHEME) = nullptr;
HRESULT (*DrawThemeBackground)(HTHEME, HDC, Integer, Integer, const RECT*, const RECT*) = nullptr;
HRESULT (*DrawThemeEdge)(HTHEME, HDC, Integer, Integer, const RECT*, UINT, UINT, RECT*) = nullptr;
HRESULT (*GetThemeColor)(HTHEME, Integer, Integer, Integer, COLORREF*) = nullptr;
HRESULT (*GetThemeMetric)(HTHEME, HDC, Integer, Integer, Integer, Integer*) = nullptr;
HRESULT (*GetThemeMargins)(HTHEME, HDC, Integer, Integer, Integer, RECT*, MARGINS*) = nullptr;
HRESULT (*SetWindowTheme)(HWND, const char16_t*, const char16_t*) = nullptr;
BOOL (*IsThemeActive)() = nullptr;
BOOL (*IsAppThemed)() = nullptr;
HRESULT (*EnableTheming)(BOOL) = nullptr;

bool ThemesInUse = false;
HTHEME ScrollBarTheme = nullptr;
HTHEME GlobalsTheme = nullptr;

TThemeNexus* ThemeNexus = nullptr;
TPerfTimer* GlobalPerfTimer = nullptr;
Integer ProcessorCount = 1;

// There is no "uxtheme.dll" to load here: the library never loads and every entry point
// stays unresolved.
bool ThemeLibraryLoad() {
  if (ThemeLibraryLoaded) return true;
  const bool Complete = OpenThemeData != nullptr && CloseThemeData != nullptr && IsThemeActive != nullptr &&
                        IsAppThemed != nullptr && EnableTheming != nullptr;
  if (!Complete) ThemeLibraryFree();
  return ThemeLibraryLoaded;
}

void ThemeLibraryFree() {
  ThemeLibraryLoaded = false;
  OpenThemeData = nullptr;
  CloseThemeData = nullptr;
  DrawThemeBackground = nullptr;
  DrawThemeEdge = nullptr;
  GetThemeColor = nullptr;
  GetThemeMetric = nullptr;
  GetThemeMargins = nullptr;
  SetWindowTheme = nullptr;
  IsThemeActive = nullptr;
  IsAppThemed = nullptr;
  EnableTheming = nullptr;
}

bool ThemesUsable() {
  return ThemeLibraryLoaded && IsAppThemed() != 0 && IsThemeActive() != 0;
}

TThemeNexus::TThemeNexus() {
  OpenVisualStyles();
}

TThemeNexus::~TThemeNexus() {
  CloseVisualStyles();
}

void TThemeNexus::ThemeChanged() {
  CloseVisualStyles();
  OpenVisualStyles();
}

void TThemeNexus::OpenVisualStyles() {
  ThemesInUse = false;
  if (ThemeLibraryLoad()) ThemesInUse = ThemesUsable();
  if (ThemesInUse) {
    ScrollBarTheme = OpenThemeData(FWindowHandle, u"SCROLLBAR");
    GlobalsTheme = OpenThemeData(FWindowHandle, u"GLOBALS");
  }
}

void TThemeNexus::CloseVisualStyles() {
  if (ThemesUsable()) {
    if (ScrollBarTheme != nullptr) {
      CloseThemeData(ScrollBarTheme);
      ScrollBarTheme = nullptr;
    }
    if (GlobalsTheme != nullptr) {
      CloseThemeData(GlobalsTheme);
      GlobalsTheme = nullptr;
    }
  }
  ThemeLibraryFree();
}

void InitializeRS32_System() {
  ThemeNexus = new TThemeNexus();
  GlobalPerfTimer = new TPerfTimer();
  SYSTEM_INFO Info;
  GetSystemInfo(&Info);
  ProcessorCount = static_cast<Integer>(Info.dwNumberOfProcessors);
}

void FinalizeRS32_System() {
  FreeAndNil(GlobalPerfTimer);
  FreeAndNil(ThemeNexus);
}

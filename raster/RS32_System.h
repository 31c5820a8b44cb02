#pragma once
// Processor feature tests, the high-resolution timer and the visual-theme state the range bars
// draw with.
//
// The feature tests report what the library was told to use, not what the machine has: by
// default every multimedia extension is reported absent, so the plain pixel routines run and
// results never depend on the processor. Tests switch features on (SetCpuFeatures) and choose
// the routines again to exercise the wide forms.
#include "platform/gdi/GdiObject.h"
#include "platform/system/Object.h"
#include "platform/system/Types.h"
#include "platform/system/WinTypes.h"

// Feature indices of CpuHasFeature.
constexpr Integer ciMMX = 0;
constexpr Integer ciEMMX = 1;
constexpr Integer ciSSE = 2;
constexpr Integer ciSSE2 = 3;
constexpr Integer ci3DNow = 4;
constexpr Integer ci3DNowExt = 5;

// One bit per feature index.
using TCpuFeatures = Cardinal;
constexpr TCpuFeatures CpuFeatureBit(Integer Index) {
  return 1u << Index;
}

bool CpuHasFeature(Integer Index);
bool CpuHasMmx();
bool CpuHasExtendedMmx();
bool CpuHas3DNow();
// The reported features. Changing them affects only routine choices made afterwards.
TCpuFeatures GetCpuFeatures();
void SetCpuFeatures(TCpuFeatures Features);

class TPerfTimer : public TObject {
 public:
  void Start();
  Int64 ElapsedMicroseconds();

 private:
  Int64 FFrequency = 0;
  Int64 FStartCount = 0;
  Int64 FStopCount = 0;
};

// The platform's millisecond tick count.
DWORD SystemTickCount();

// Visual themes. The platform has no theme library, so loading it fails and themes stay off;
// the range bars then draw without themes.
using HTHEME = HANDLE;
struct HWND__;
using HWND = HWND__*;
using HRESULT = LONG;
struct MARGINS {
  Integer cxLeftWidth = 0;
  Integer cxRightWidth = 0;
  Integer cyTopHeight = 0;
  Integer cyBottomHeight = 0;
};

extern HTHEME (*OpenThemeData)(HWND Wnd, const char16_t* ClassList);
extern HRESULT (*CloseThemeData)(HTHEME Theme);
extern HRESULT (*DrawThemeBackground)(HTHEME Theme, HDC DC, Integer PartId, Integer StateId, const RECT* Rect,
                                      const RECT* ClipRect);
extern HRESULT (*DrawThemeEdge)(HTHEME Theme, HDC DC, Integer PartId, Integer StateId, const RECT* DestRect,
                                UINT Edge, UINT Flags, RECT* ContentRect);
extern HRESULT (*GetThemeColor)(HTHEME Theme, Integer PartId, Integer StateId, Integer PropId,
                                COLORREF* Color);
extern HRESULT (*GetThemeMetric)(HTHEME Theme, HDC DC, Integer PartId, Integer StateId, Integer PropId,
                                 Integer* Value);
extern HRESULT (*GetThemeMargins)(HTHEME Theme, HDC DC, Integer PartId, Integer StateId, Integer PropId,
                                  RECT* Rect, MARGINS* Margins);
extern HRESULT (*SetWindowTheme)(HWND Wnd, const char16_t* SubAppName, const char16_t* SubIdList);
extern BOOL (*IsThemeActive)();
extern BOOL (*IsAppThemed)();
extern HRESULT (*EnableTheming)(BOOL Enable);

extern bool ThemesInUse;
extern HTHEME ScrollBarTheme;
extern HTHEME GlobalsTheme;

bool ThemeLibraryLoad();
void ThemeLibraryFree();
bool ThemesUsable();

// Opens the theme handles and reopens them when the theme changes.
class TThemeNexus : public TObject {
 public:
  TThemeNexus();
  ~TThemeNexus() override;
  // What the hidden window does with WM_THEMECHANGED.
  void ThemeChanged();

 private:
  void OpenVisualStyles();
  void CloseVisualStyles();
  HWND FWindowHandle = nullptr;
};

// The number of logical processors, from GetSystemInfo at start (1 before).
extern Integer ProcessorCount;

// Created by InitializeRS32_System and freed by FinalizeRS32_System.
extern TThemeNexus* ThemeNexus;
extern TPerfTimer* GlobalPerfTimer;

void InitializeRS32_System();
void FinalizeRS32_System();

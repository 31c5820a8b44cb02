#pragma once
// TScreen: the forms of the program and which one is active, the mouse cursor and the cursor
// table, the screen and its monitors, and the installed font families. One instance, Screen.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/classes/Controls.h"
#include "platform/system/StringList.h"

class TForm;

// One display (the platform has one: the screen).
class TMonitor : public TObject {
 public:
  HMONITOR GetHandle() const { return FHandle; }
  Integer GetMonitorNum() const { return FMonitorNum; }
  TRect GetBoundsRect() const;
  TRect GetWorkareaRect() const;
  Integer GetLeft() const { return GetBoundsRect().Left; }
  Integer GetTop() const { return GetBoundsRect().Top; }
  Integer GetWidth() const { return GetBoundsRect().Width(); }
  Integer GetHeight() const { return GetBoundsRect().Height(); }
  bool GetPrimary() const;

 private:
  friend class TScreen;
  HMONITOR FHandle = nullptr;
  Integer FMonitorNum = 0;
};

class TScreen : public TComponent {
  friend class TCustomForm;
  friend class TApplication;

 public:
  explicit TScreen(TComponent* AOwner);
  ~TScreen() override;

  // TForm descendants, the most recently active first.
  Integer GetFormCount() const { return static_cast<Integer>(FForms.size()); }
  TForm* GetForm(Integer Index) const;
  Integer GetCustomFormCount() const { return static_cast<Integer>(FCustomForms.size()); }
  TCustomForm* GetCustomForm(Integer Index) const;
  TForm* GetActiveForm() const { return FActiveForm; }
  TCustomForm* GetActiveCustomForm() const { return FActiveCustomForm; }
  TWinControl* GetActiveControl() const { return FActiveControl; }
  TCustomForm* GetFocusedForm() const { return FFocusedForm; }

  // crDefault lets each control show its own cursor; anything else shows everywhere.
  TCursor GetCursor() const { return FCursor; }
  void SetCursor(TCursor Value);
  // The cursor handle of a cursor number (built-in shapes for the negative ones); crDefault
  // for an unknown number.
  HCURSOR GetCursors(Integer Index);
  // Takes Handle as the cursor of Index (0 and null are ignored).
  void SetCursors(Integer Index, HCURSOR Handle);

  Integer GetWidth() const;
  Integer GetHeight() const;
  Integer GetDesktopLeft() const { return 0; }
  Integer GetDesktopTop() const { return 0; }
  Integer GetDesktopWidth() const { return GetWidth(); }
  Integer GetDesktopHeight() const { return GetHeight(); }
  TRect GetDesktopRect() const { return Bounds(0, 0, GetWidth(), GetHeight()); }
  TRect GetWorkAreaRect() const;
  Integer GetWorkAreaLeft() const { return GetWorkAreaRect().Left; }
  Integer GetWorkAreaTop() const { return GetWorkAreaRect().Top; }
  Integer GetWorkAreaWidth() const { return GetWorkAreaRect().Width(); }
  Integer GetWorkAreaHeight() const { return GetWorkAreaRect().Height(); }
  Integer GetMonitorCount();
  TMonitor* GetMonitor(Integer Index);
  TMonitor* MonitorFromWindow(HWND Handle);
  TMonitor* MonitorFromPoint(TPoint Point);
  Integer GetPixelsPerInch() const { return FPixelsPerInch; }

  // The installed font families, sorted (read on first use).
  TStrings* GetFonts();
  TFont* GetHintFont() const { return FHintFont.get(); }
  TFont* GetMenuFont() const { return FMenuFont.get(); }
  TFont* GetIconFont() const { return FIconFont.get(); }

  TNotifyEvent OnActiveControlChange;
  TNotifyEvent OnActiveFormChange;

  // Called by forms as they come and go: every form joins CustomForms, TForm descendants
  // also Forms (their constructor calls the second).
  void AddForm(TCustomForm* AForm);
  void AddForm(TForm* AForm);
  void RemoveForm(TCustomForm* AForm);

 private:
  void UpdateLastActive();
  void LoadMonitors();

  std::vector<TForm*> FForms;
  std::vector<TCustomForm*> FCustomForms;
  std::vector<TCustomForm*> FSaveFocusedList;
  TForm* FActiveForm = nullptr;
  TCustomForm* FActiveCustomForm = nullptr;
  TWinControl* FActiveControl = nullptr;
  TCustomForm* FFocusedForm = nullptr;
  TWinControl* FLastActiveControl = nullptr;
  TCustomForm* FLastActiveCustomForm = nullptr;
  TCursor FCursor = crDefault;
  Integer FCursorCount = 0;
  std::map<Integer, HCURSOR> FCursors;
  bool FCursorsLoaded = false;
  std::vector<std::unique_ptr<TMonitor>> FMonitors;
  std::unique_ptr<TStringList> FFonts;
  std::unique_ptr<TFont> FHintFont;
  std::unique_ptr<TFont> FMenuFont;
  std::unique_ptr<TFont> FIconFont;
  Integer FPixelsPerInch = 96;
};

extern TScreen* Screen;

#pragma once
// Text pieces the EDIT, LISTBOX and COMBOBOX controls share: font metrics, a measuring DC, the
// key state and copying texts out to callers' buffers.
#include <string_view>

#include "platform/gdi/DeviceContext.h"
#include "platform/user/WinUser.h"

// The font a control draws with: its own, or the system font when it has none.
HFONT ControlFontOrSystem(HFONT Font);

struct TFontMetrics {
  Integer Height = 0;  // tmHeight
  Integer Ascent = 0;
  Integer AveCharWidth = 0;
  bool TrueType = false;
};
TFontMetrics FontMetricsOf(HFONT Font);

// A memory DC with Font (or the system font) selected for measuring, shared by the controls
// (main thread only).
class TMeasureDC {
 public:
  explicit TMeasureDC(HFONT Font);
  ~TMeasureDC();
  TMeasureDC(const TMeasureDC&) = delete;
  TMeasureDC& operator=(const TMeasureDC&) = delete;
  HDC DC() const { return FDC; }

 private:
  HDC FDC;
  HGDIOBJ FOld;
};

// The key is held now (GetKeyState).
bool KeyIsDown(Integer VirtualKey);

// Copies S into Buffer of Size bytes with a terminating 0, never cutting a UTF-8 sequence;
// returns the bytes copied without the 0 (0 for a null buffer or a zero size).
Integer CopyTextOut(std::string_view S, char* Buffer, std::size_t Size);

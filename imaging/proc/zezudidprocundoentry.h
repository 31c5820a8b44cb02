#pragma once
// One entry of the processing component's undo or redo list (internal to the component).
#include <memory>
#include <string>

#include "imaging/core/iebitmap.h"
#include "imaging/proc/zezudidproc.h"

// A picture copy remembers the view layer it was taken from (-1: none).
struct TIEUndoImage {
  std::unique_ptr<TIEBitmap> Picture;
  Integer LayerIndex = -1;
};

struct TZezudIdProc::TIEUndoEntry {
  std::unique_ptr<TIEUndoImage> Image;  // ieuImage entries; a file-backed copy frees its file with it
  TIEUndoSource Source = ieuUnknown;
  std::string Caption;
};

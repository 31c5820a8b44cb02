#pragma once
// Cursor shapes of the window layer as SDL cursors, made once per distinct image.
#include <SDL.h>

#include <vector>

#include "platform/system/Types.h"

class TSdlCursors {
 public:
  TSdlCursors() = default;
  TSdlCursors(const TSdlCursors&) = delete;
  TSdlCursors& operator=(const TSdlCursors&) = delete;
  ~TSdlCursors() { Clear(); }

  // Shows a 32-bit premultiplied ARGB image with its hot spot; null pixels hide the cursor.
  void Show(const DWORD* Pixels, Integer Width, Integer Height, TPoint HotSpot);
  // Puts the default cursor back and frees the cached ones (before SDL ends).
  void Clear();

 private:
  struct TCached {
    UInt64 Hash = 0;
    Integer Width = 0;
    Integer Height = 0;
    TPoint HotSpot;
    std::vector<DWORD> Pixels;  // premultiplied, as given
    SDL_Cursor* Cursor = nullptr;
  };
  SDL_Cursor* Find(const DWORD* Pixels, Integer Width, Integer Height, TPoint HotSpot);
  void ShowCursor(bool Show);

  std::vector<TCached> FCursors;
  SDL_Cursor* FCurrent = nullptr;
  bool FShown = true;
};

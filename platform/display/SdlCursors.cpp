#include "platform/display/SdlCursors.h"

#include <algorithm>

namespace {

// Distinct cursor images kept as SDL cursors; beyond this all but the current one are freed
// (programs that draw cursors on the fly would otherwise grow the cache without end).
constexpr size_t MaxCachedCursors = 64;

UInt64 CursorHash(const DWORD* Pixels, Integer Width, Integer Height, TPoint HotSpot) {
  UInt64 H = 1469598103934665603ull;  // FNV-1a
  auto Mix = [&H](UInt64 V) {
    H ^= V;
    H *= 1099511628211ull;
  };
  Mix(static_cast<UInt64>(Width) << 32 | static_cast<Cardinal>(Height));
  Mix(static_cast<UInt64>(HotSpot.X) << 32 | static_cast<Cardinal>(HotSpot.Y));
  const size_t Count = static_cast<size_t>(Width) * Height;
  for (size_t I = 0; I < Count; ++I) Mix(Pixels[I]);
  return H;
}

// Premultiplied ARGB to straight ARGB, as SDL cursors take it.
DWORD Unpremultiply(DWORD P) {
  const DWORD A = P >> 24;
  if (A == 0) return 0;
  if (A == 255) return P;
  auto Channel = [A](DWORD C) { return std::min<DWORD>(255, (C * 255 + A / 2) / A); };
  return (A << 24) | (Channel((P >> 16) & 0xFF) << 16) | (Channel((P >> 8) & 0xFF) << 8) | Channel(P & 0xFF);
}

}  // namespace

void TSdlCursors::Show(const DWORD* Pixels, Integer Width, Integer Height, TPoint HotSpot) {
  if (!Pixels || Width <= 0 || Height <= 0) {
    ShowCursor(false);
    return;
  }
  HotSpot.X = std::clamp(HotSpot.X, 0, Width - 1);
  HotSpot.Y = std::clamp(HotSpot.Y, 0, Height - 1);
  SDL_Cursor* Cursor = Find(Pixels, Width, Height, HotSpot);
  if (!Cursor) return;  // keep the one shown
  if (Cursor != FCurrent) {
    SDL_SetCursor(Cursor);
    FCurrent = Cursor;
  }
  ShowCursor(true);
}

void TSdlCursors::Clear() {
  if (FCursors.empty()) return;
  SDL_SetCursor(SDL_GetDefaultCursor());
  for (TCached& C : FCursors) SDL_FreeCursor(C.Cursor);
  FCursors.clear();
  FCurrent = nullptr;
}

// The window layer sets the cursor on every mouse move; X is told only about changes.
void TSdlCursors::ShowCursor(bool Show) {
  if (Show == FShown) return;
  SDL_ShowCursor(Show ? SDL_ENABLE : SDL_DISABLE);
  FShown = Show;
}

SDL_Cursor* TSdlCursors::Find(const DWORD* Pixels, Integer Width, Integer Height, TPoint HotSpot) {
  const UInt64 Hash = CursorHash(Pixels, Width, Height, HotSpot);
  const size_t Count = static_cast<size_t>(Width) * Height;
  for (const TCached& C : FCursors) {
    if (C.Hash == Hash && C.Width == Width && C.Height == Height && C.HotSpot == HotSpot &&
        std::equal(Pixels, Pixels + Count, C.Pixels.begin())) {
      return C.Cursor;
    }
  }
  std::vector<DWORD> Straight(Count);
  std::transform(Pixels, Pixels + Count, Straight.begin(), Unpremultiply);
  SDL_Surface* Image = SDL_CreateRGBSurfaceFrom(Straight.data(), Width, Height, 32, Width * 4, 0x00FF0000,
                                                0x0000FF00, 0x000000FF, 0xFF000000);
  if (!Image) return nullptr;
  SDL_Cursor* Cursor = SDL_CreateColorCursor(Image, HotSpot.X, HotSpot.Y);
  SDL_FreeSurface(Image);
  if (!Cursor) return nullptr;
  if (FCursors.size() >= MaxCachedCursors) {
    std::erase_if(FCursors, [this](const TCached& C) {
      if (C.Cursor == FCurrent) return false;
      SDL_FreeCursor(C.Cursor);
      return true;
    });
  }
  FCursors.push_back({Hash, Width, Height, HotSpot, std::vector<DWORD>(Pixels, Pixels + Count), Cursor});
  return Cursor;
}

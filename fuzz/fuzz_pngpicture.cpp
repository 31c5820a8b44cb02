// The PNG picture's reader over any bytes. A picture that loads (or half loads) and is small is
// drawn in its own way and stretched, its pixels read, copied, and written; what it writes must
// load again at its size.
#include "fuzz/FuzzSupport.h"
#include "pictures/pngimage.h"
#include "platform/classes/Bitmap.h"

namespace {
constexpr Int64 MaxDrawnPixels = 1 << 16;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  TMemoryStream Stream;
  fuzz::FillStream(Stream, Data, Size);
  TPNGObject Picture;
  bool Loaded = false;
  fuzz::Refusable([&] {
    Picture.LoadFromStream(&Stream);
    Loaded = true;
  });
  const Int64 Pixels = Int64{Picture.GetWidth()} * Picture.GetHeight();
  if (Picture.Empty() || Pixels > MaxDrawnPixels) return 0;
  fuzz::Refusable([&] {
    TBitmap Canvas;
    Canvas.SetPixelFormat(pf24bit);
    Canvas.SetSize(Picture.GetWidth() + 3, Picture.GetHeight() + 2);
    Canvas.GetCanvas()->Draw(1, 1, &Picture);
    Canvas.GetCanvas()->StretchDraw(TRect{Canvas.GetWidth(), Canvas.GetHeight(), 0, 0}, &Picture);
    for (Integer Y = 0; Y < Picture.GetHeight(); Y += 7)
      for (Integer X = 0; X < Picture.GetWidth(); X += 5) (void)Picture.GetPixelColor(X, Y);
  });
  if (!Loaded) return 0;
  TPNGObject Copy;
  Copy.Assign(&Picture);
  TMemoryStream Written;
  Copy.SaveToStream(&Written);
  Written.SetPosition(0);
  TPNGObject Again;
  Again.LoadFromStream(&Written);
  if (Again.GetWidth() != Picture.GetWidth() || Again.GetHeight() != Picture.GetHeight()) __builtin_trap();
  return 0;
}

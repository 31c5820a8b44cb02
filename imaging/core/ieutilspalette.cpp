#include "imaging/core/ieutilspalette.h"

#include <array>

#include "imaging/core/iebitmap.h"
#include "platform/classes/Bitmap.h"
#include "platform/gdi/Dib.h"

namespace {
using TColorTable = std::array<RGBQUAD, 256>;

// The entries read; Table holds them.
UINT ReadColorTable(TBitmap* Bitmap, TColorTable& Table) {
  return GetDIBColorTable(Bitmap->GetCanvas()->GetHandle(), 0, 256, Table.data());
}
}  // namespace

void IESetGrayPalette(TBitmap* Bitmap) {
  TColorTable Table{};
  for (UINT I = 0; I < 256; ++I) {
    const BYTE Level = static_cast<BYTE>(I);
    Table[I].rgbRed = Table[I].rgbGreen = Table[I].rgbBlue = Level;
  }
  SetDIBColorTable(Bitmap->GetCanvas()->GetHandle(), 0, 256, Table.data());
}

bool IEIsGrayPalette(TBitmap* Bitmap) {
  TColorTable Table{};
  const UINT Count = ReadColorTable(Bitmap, Table);
  for (UINT I = 0; I < Count; ++I)
    if (Table[I].rgbRed != I || Table[I].rgbGreen != I || Table[I].rgbBlue != I) return false;
  return true;
}

void IECopyTBitmapPalette(TBitmap* Bitmap, TIEBitmap* IEBitmap) {
  if (Bitmap->GetPixelFormat() != pf8bit || IEBitmap->GetPixelFormat() != ie8p) return;
  TColorTable Table{};
  const UINT Count = ReadColorTable(Bitmap, Table);
  for (UINT I = 0; I < Count; ++I)
    IEBitmap->SetPaletteColor(static_cast<Integer>(I),
                              TIERGBTriple{Table[I].rgbBlue, Table[I].rgbGreen, Table[I].rgbRed});
}

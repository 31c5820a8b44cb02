#include "platform/gdi/Palettes.h"

#include <algorithm>
#include <array>

#include "platform/gdi/DcInternals.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Dib.h"

namespace {

constexpr PALETTEENTRY StaticColors[20] = {
    {0, 0, 0, 0},       {128, 0, 0, 0},     {0, 128, 0, 0},     {128, 128, 0, 0},   {0, 0, 128, 0},
    {128, 0, 128, 0},   {0, 128, 128, 0},   {192, 192, 192, 0}, {192, 220, 192, 0}, {166, 202, 240, 0},
    {255, 251, 240, 0}, {160, 160, 164, 0}, {128, 128, 128, 0}, {255, 0, 0, 0},     {0, 255, 0, 0},
    {255, 255, 0, 0},   {0, 0, 255, 0},     {255, 0, 255, 0},   {0, 255, 255, 0},   {255, 255, 255, 0}};

const std::array<PALETTEENTRY, 256>& HalftoneEntries() {
  static const std::array<PALETTEENTRY, 256> Table = [] {
    std::array<PALETTEENTRY, 256> T{};
    for (Integer I = 0; I < 10; ++I) T[I] = StaticColors[I];
    Integer N = 10;
    for (Integer R = 0; R < 6; ++R)
      for (Integer G = 0; G < 6; ++G)
        for (Integer B = 0; B < 6; ++B)
          T[N++] = {static_cast<BYTE>(R * 51), static_cast<BYTE>(G * 51), static_cast<BYTE>(B * 51), 0};
    for (Integer K = 1; K <= 20; ++K) {
      const BYTE V = static_cast<BYTE>(K * 12);
      T[N++] = {V, V, V, 0};
    }
    for (Integer I = 10; I < 20; ++I) T[N++] = StaticColors[I];
    return T;
  }();
  return Table;
}

}  // namespace

const PALETTEENTRY* DefaultPaletteEntries() {
  return StaticColors;
}

HPALETTE CreatePalette(const LOGPALETTE* LogPalette) {
  if (!LogPalette || LogPalette->palVersion != 0x300 || LogPalette->palNumEntries == 0 ||
      LogPalette->palNumEntries > 256)
    return nullptr;
  auto* Pal = new TPaletteObject;
  Pal->Entries.assign(LogPalette->palPalEntry, LogPalette->palPalEntry + LogPalette->palNumEntries);
  return Pal;
}

HPALETTE CreateHalftonePalette(HDC) {
  auto* Pal = new TPaletteObject;
  Pal->Entries.assign(HalftoneEntries().begin(), HalftoneEntries().end());
  return Pal;
}

UINT GetPaletteEntries(HPALETTE Palette, UINT Start, UINT Count, PALETTEENTRY* Entries) {
  if (!Palette) return 0;
  const UINT Size = static_cast<UINT>(Palette->Entries.size());
  if (!Entries) return Size;
  if (Start >= Size) return 0;
  const UINT N = std::min(Count, Size - Start);
  std::copy_n(Palette->Entries.begin() + Start, N, Entries);
  return N;
}

UINT SetPaletteEntries(HPALETTE Palette, UINT Start, UINT Count, const PALETTEENTRY* Entries) {
  if (!Palette || !Entries || Palette->Stock) return 0;
  const UINT Size = static_cast<UINT>(Palette->Entries.size());
  if (Start >= Size) return 0;
  const UINT N = std::min(Count, Size - Start);
  std::copy_n(Entries, N, Palette->Entries.begin() + Start);
  return N;
}

BOOL ResizePalette(HPALETTE Palette, UINT Count) {
  if (!Palette || Palette->Stock || Count == 0 || Count > 1024) return FALSE;
  Palette->Entries.resize(Count);
  return TRUE;
}

UINT GetNearestPaletteIndex(HPALETTE Palette, COLORREF Color) {
  if (!Palette || Palette->Entries.empty()) return CLR_INVALID;
  const auto EntryColor = [](const PALETTEENTRY& E) { return RGB(E.peRed, E.peGreen, E.peBlue); };
  const auto Count = static_cast<Integer>(Palette->Entries.size());
  return static_cast<UINT>(NearestEntry(Palette->Entries.data(), Count, Color, EntryColor));
}

HPALETTE SelectPalette(HDC DC, HPALETTE Palette, BOOL) {
  if (!DC || !Palette || Palette->ObjType != OBJ_PAL) return nullptr;
  HPALETTE Old = DC->State.Palette;
  HoldGdiObject(Palette);
  DC->State.Palette = Palette;
  ReleaseGdiObject(Old);
  return Old;
}

// Nothing reaches the display's colours: it is not a palette device.
UINT RealizePalette(HDC DC) {
  return DC ? 0 : GDI_ERROR;
}

COLORREF GetNearestColor(HDC DC, COLORREF Color) {
  if (!DC) return CLR_INVALID;
  const COLORREF C = ResolveColor(DC, Color);
  const TSurface& S = DC->Surface();
  return PixelToColor(S, ColorToPixel(S, C));
}

UINT GetSystemPaletteEntries(HDC, UINT Start, UINT Count, PALETTEENTRY* Entries) {
  if (!Entries) return 256;
  if (Start >= 256) return 0;
  const UINT N = std::min<UINT>(Count, 256 - Start);
  std::copy_n(HalftoneEntries().begin() + Start, N, Entries);
  return N;
}

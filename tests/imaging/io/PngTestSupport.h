#pragma once
// Builds PNG files in memory with plain libpng calls, as the oracle the reader is checked
// against; rows are given in the file's own sample layout.
#include <png.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/system/Types.h"

struct TPngFixture {
  Integer Width = 4;
  Integer Height = 3;
  int BitDepth = 8;
  int ColorType = PNG_COLOR_TYPE_RGB;
  bool Interlaced = false;
  std::vector<std::vector<Byte>> Rows;  // packed file rows, big-endian 16-bit samples
  std::vector<png_color> Palette;
  std::vector<Byte> Transparency;  // tRNS alphas of palette entries
  Integer PixelsPerMetre = 0;      // 0: no pHYs
  bool Background = false;
  png_color_16 BackgroundColor{};
  std::vector<std::pair<std::string, std::string>> Texts;
};

inline void PngFixtureWrite(png_structp Png, png_bytep Data, size_t Length) {
  auto* Out = static_cast<std::vector<Byte>*>(png_get_io_ptr(Png));
  Out->insert(Out->end(), Data, Data + Length);
}

inline std::vector<Byte> EncodePng(const TPngFixture& F) {
  std::vector<Byte> Out;
  png_structp Png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop Info = png_create_info_struct(Png);
  png_set_write_fn(Png, &Out, PngFixtureWrite, nullptr);
  png_set_IHDR(Png, Info, F.Width, F.Height, F.BitDepth, F.ColorType,
               F.Interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  if (!F.Palette.empty()) png_set_PLTE(Png, Info, F.Palette.data(), static_cast<int>(F.Palette.size()));
  if (!F.Transparency.empty())
    png_set_tRNS(Png, Info, F.Transparency.data(), static_cast<int>(F.Transparency.size()), nullptr);
  if (F.PixelsPerMetre) png_set_pHYs(Png, Info, F.PixelsPerMetre, F.PixelsPerMetre, PNG_RESOLUTION_METER);
  if (F.Background) png_set_bKGD(Png, Info, &F.BackgroundColor);
  std::vector<png_text> Texts(F.Texts.size());
  for (size_t I = 0; I < F.Texts.size(); ++I) {
    Texts[I].compression = PNG_TEXT_COMPRESSION_NONE;
    Texts[I].key = const_cast<char*>(F.Texts[I].first.c_str());
    Texts[I].text = const_cast<char*>(F.Texts[I].second.c_str());
  }
  if (!Texts.empty()) png_set_text(Png, Info, Texts.data(), static_cast<int>(Texts.size()));
  png_write_info(Png, Info);
  std::vector<png_bytep> Rows;
  for (auto& R : F.Rows) Rows.push_back(const_cast<Byte*>(R.data()));
  png_write_image(Png, Rows.data());
  png_write_end(Png, Info);
  png_destroy_write_struct(&Png, &Info);
  return Out;
}

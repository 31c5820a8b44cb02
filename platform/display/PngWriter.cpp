// Screenshots as PNG files through libpng; its error exits come back through setjmp.
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <vector>

#include "platform/display/HeadlessDisplay.h"

namespace {

// Everything libpng may jump over lives outside the function that calls setjmp.
struct TPngJob {
  FILE* File = nullptr;
  png_structp Png = nullptr;
  png_infop Info = nullptr;
  std::vector<png_byte> Row;
};

bool WriteRows(TPngJob& J, const TScreenshot& Shot) {
  if (setjmp(png_jmpbuf(J.Png))) return false;
  png_init_io(J.Png, J.File);
  png_set_IHDR(J.Png, J.Info, static_cast<png_uint_32>(Shot.Width), static_cast<png_uint_32>(Shot.Height), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(J.Png, J.Info);
  for (Integer Y = 0; Y < Shot.Height; ++Y) {
    for (Integer X = 0; X < Shot.Width; ++X) {
      const DWORD P = Shot.Pixel(X, Y);
      J.Row[static_cast<std::size_t>(X) * 3] = static_cast<png_byte>(P >> 16);
      J.Row[static_cast<std::size_t>(X) * 3 + 1] = static_cast<png_byte>(P >> 8);
      J.Row[static_cast<std::size_t>(X) * 3 + 2] = static_cast<png_byte>(P);
    }
    png_write_row(J.Png, J.Row.data());
  }
  png_write_end(J.Png, nullptr);
  return true;
}

}  // namespace

bool SavePng(const std::string& Path, const TScreenshot& Shot) {
  if (Shot.Width <= 0 || Shot.Height <= 0) return false;
  TPngJob J;
  J.File = std::fopen(Path.c_str(), "wb");
  if (J.File == nullptr) return false;
  J.Png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  J.Info = J.Png != nullptr ? png_create_info_struct(J.Png) : nullptr;
  J.Row.resize(static_cast<std::size_t>(Shot.Width) * 3);
  const bool Ok = J.Info != nullptr && WriteRows(J, Shot);
  png_destroy_write_struct(J.Png != nullptr ? &J.Png : nullptr, J.Info != nullptr ? &J.Info : nullptr);
  const bool Closed = std::fclose(J.File) == 0;
  if (!Ok || !Closed) {
    std::remove(Path.c_str());
    return false;
  }
  return true;
}

bool SavePng(const std::string& Path, HWND Wnd) {
  return SavePng(Path, Screenshot(Wnd));
}

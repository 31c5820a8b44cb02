#pragma once
// Writes the sample pictures as BMP files the program reads: BITMAPFILEHEADER, BITMAPINFOHEADER
// and bottom-up rows, every field little-endian.
#include <cstdint>
#include <functional>
#include <string>

struct TRgb {
  std::uint8_t R, G, B;
};

constexpr TRgb Black{0, 0, 0};
constexpr TRgb White{255, 255, 255};

// Pixel(X, Y) is the colour of column X in row Y, rows counted from the top. BitCount is 24, or
// 1 for a black-and-white picture in which every pixel that is not black is white. False when
// the file cannot be written.
bool WriteBmp(const std::string& FileName, int Width, int Height, int BitCount,
              const std::function<TRgb(int X, int Y)>& Pixel);

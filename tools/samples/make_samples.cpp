// Draws the sample masks and glass pictures into <folder>/Masks and <folder>/GlassFX, as
// 256 x 256 BMP files the same on every build.
#include <filesystem>
#include <iostream>
#include <string>

#include "SamplePictures.h"

namespace fs = std::filesystem;

namespace {
constexpr int Size = 256;

// The square's coordinate -1..1 at the centre of pixel I.
double Coordinate(int I) {
  return (I + 0.5) * 2 / Size - 1;
}

bool WriteAll(const fs::path& Folder, std::span<const TSamplePicture> Pictures) {
  std::error_code Error;
  fs::create_directories(Folder, Error);
  for (const TSamplePicture& P : Pictures) {
    const fs::path File = Folder / P.FileName;
    const bool Written = WriteBmp(File.string(), Size, Size, P.BitCount,
                                  [&P](int X, int Y) { return P.Color(Coordinate(X), Coordinate(Y)); });
    if (!Written) {
      std::cerr << "tv_samples: cannot write " << File << "\n";
      return false;
    }
  }
  return true;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: tv_samples <folder>\n";
    return 2;
  }
  const fs::path Root = argv[1];
  return WriteAll(Root / "Masks", SampleMasks()) && WriteAll(Root / "GlassFX", SampleGlassPictures()) ? 0 : 1;
}

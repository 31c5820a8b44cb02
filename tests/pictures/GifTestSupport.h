#pragma once
// Helpers of the GIF picture tests: loading fixtures and bytes, ImageMagick's decoding of a
// frame as the independent oracle, and our frames as RGBA.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "pictures/GIFImage.h"
#include "tests/platform/classes/ClassesTestUtil.h"

inline std::string GifData(const std::string& Name) {
  return std::string(TILVAROK_TEST_DATA) + "/gif/" + Name;
}

inline std::vector<Byte> FileBytes(const std::string& Path) {
  std::ifstream F(Path, std::ios::binary);
  return std::vector<Byte>((std::istreambuf_iterator<char>(F)), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& Path, const std::vector<Byte>& Data) {
  std::ofstream F(Path, std::ios::binary);
  F.write(reinterpret_cast<const char*>(Data.data()), static_cast<std::streamsize>(Data.size()));
}

// Collects warnings as "message" strings.
struct TWarnings {
  std::vector<std::string> List;
  void Handler(TObject*, Byte Severity, const std::string& Message) {
    EXPECT_EQ(Severity, 1);
    List.push_back(Message);
  }
};

inline std::unique_ptr<TGIFImage> LoadGifBytes(const std::vector<Byte>& Data, TWarnings* Warnings = nullptr) {
  auto G = std::make_unique<TGIFImage>();
  if (Warnings) G->OnGIFWarning = TGIFWarning(Warnings, &TWarnings::Handler);
  LoadBytes(*G, Data);
  return G;
}

// The command's standard output.
inline std::vector<Byte> RunCapture(const std::string& Command) {
  std::vector<Byte> Out;
  if (FILE* P = popen(Command.c_str(), "r")) {
    Byte Buf[4096];
    std::size_t N;
    while ((N = fread(Buf, 1, sizeof(Buf), P)) > 0) Out.insert(Out.end(), Buf, Buf + N);
    pclose(P);
  }
  return Out;
}

// ImageMagick's RGBA pixels of one frame of the file (the frame's own rectangle).
inline std::vector<Byte> MagickFrame(const std::string& Path, Integer Frame) {
  return RunCapture("convert '" + Path + "[" + std::to_string(Frame) +
                    "]' +repage -depth 8 rgba:- 2>/dev/null");
}

// Our frame as RGBA: transparent pixels as 0 alpha.
inline std::vector<Byte> OurFrame(TGIFSubImage* F) {
  std::vector<Byte> Out;
  TGIFColorMap* Map = F->ActiveColors();
  const bool Hide = F->HasTransparency() && F->ControlExt();
  for (Integer Y = 0; Y < F->GetHeight(); ++Y)
    for (Integer X = 0; X < F->GetWidth(); ++X) {
      const Byte P = F->PixelAt(X, Y);
      const TGIFColor C = P < Map->Count() ? Map->Entry(P) : TGIFColor{};
      const bool Transparent = Hide && P == F->ControlExt()->GetTransparentIndex();
      Out.insert(Out.end(), {C.Red, C.Green, C.Blue, static_cast<Byte>(Transparent ? 0 : 255)});
    }
  return Out;
}

// RGB of opaque pixels and a zero for transparent ones, so that the colour ImageMagick keeps
// under a transparent pixel does not matter.
inline std::vector<Byte> Normalised(std::vector<Byte> RGBA) {
  for (std::size_t I = 0; I + 3 < RGBA.size(); I += 4)
    if (RGBA[I + 3] == 0) RGBA[I] = RGBA[I + 1] = RGBA[I + 2] = 0;
  return RGBA;
}

inline std::string TempPath(const std::string& Name) {
  return ::testing::TempDir() + "gif_" + Name;
}

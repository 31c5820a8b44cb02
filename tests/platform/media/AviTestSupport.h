#pragma once
// Movies written through the AVI file library in tests, and ffprobe as an independent reader.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/media/AviFile.h"
#include "platform/system/Strings.h"

// A file name in the temporary folder, removed with the object.
class TAviTempFile {
 public:
  explicit TAviTempFile(const std::string& Name)
      : FPath((std::filesystem::temp_directory_path() / (std::to_string(getpid()) + "-" + Name)).string()) {
    std::filesystem::remove(FPath);
  }
  ~TAviTempFile() { std::filesystem::remove(FPath); }
  const std::string& Path() const { return FPath; }
  std::u16string Wide() const { return Utf8ToUtf16(FPath); }

 private:
  std::string FPath;
};

// A 40-byte header (with Palette's entries after it) of Width x Height at BitCount.
inline std::vector<Byte> AviTestHeader(Integer Width, Integer Height, Integer BitCount,
                                       const std::vector<RGBQUAD>& Palette = {}) {
  std::vector<Byte> H(40 + 4 * Palette.size(), 0);
  auto Put32 = [&](Integer At, DWORD V) {
    for (Integer I = 0; I < 4; ++I) H[At + I] = static_cast<Byte>(V >> (8 * I));
  };
  Put32(0, 40);
  Put32(4, static_cast<DWORD>(Width));
  Put32(8, static_cast<DWORD>(Height));
  H[12] = 1;
  H[14] = static_cast<Byte>(BitCount);
  Put32(20, static_cast<DWORD>(((Width * BitCount + 31) / 32) * 4 * Height));
  Put32(32, static_cast<DWORD>(Palette.size()));
  for (std::size_t I = 0; I < Palette.size(); ++I) {
    H[40 + 4 * I] = Palette[I].rgbBlue;
    H[41 + 4 * I] = Palette[I].rgbGreen;
    H[42 + 4 * I] = Palette[I].rgbRed;
  }
  return H;
}

inline Integer AviTestRowBytes(Integer Width, Integer BitCount) {
  return ((Width * BitCount + 31) / 32) * 4;
}

// Smooth 24-bit rows (bottom-up) that differ from frame to frame.
inline std::vector<Byte> AviTestFrame24(Integer Width, Integer Height, Integer Index) {
  const Integer Row = AviTestRowBytes(Width, 24);
  std::vector<Byte> Rows(static_cast<std::size_t>(Row) * Height, 0);
  for (Integer Y = 0; Y < Height; ++Y)
    for (Integer X = 0; X < Width; ++X) {
      Byte* P = &Rows[static_cast<std::size_t>(Y) * Row + X * 3];
      P[0] = static_cast<Byte>(X * 255 / Width);
      P[1] = static_cast<Byte>(Y * 255 / Height);
      P[2] = static_cast<Byte>((Index * 40) % 256);
    }
  return Rows;
}

// ffprobe's answer for one field of the first video stream ("nb_frames", "r_frame_rate",
// "codec_name", ...), or "" when ffprobe is not installed.
inline std::string ProbeField(const std::string& Path, const std::string& Field, bool Count = false) {
  if (std::system("command -v ffprobe > /dev/null 2>&1") != 0) return "";
  const std::string Command = "ffprobe -v error -select_streams v:0 " +
                              std::string(Count ? "-count_frames " : "") + "-show_entries stream=" + Field +
                              " -of default=nw=1:nk=1 '" + Path + "' 2>&1";
  std::FILE* Pipe = popen(Command.c_str(), "r");
  if (!Pipe) return "";
  std::string Out;
  char Buffer[256];
  while (std::fgets(Buffer, sizeof Buffer, Pipe)) Out += Buffer;
  pclose(Pipe);
  while (!Out.empty() && (Out.back() == '\n' || Out.back() == '\r')) Out.pop_back();
  return Out;
}

inline bool HaveProbe() {
  return std::system("command -v ffprobe > /dev/null 2>&1") == 0;
}

#include "platform/media/VideoCompressors.h"

inline bool AviHasCompressor(FOURCC Handler) {
  HIC Compressor = ICOpen(ICTYPE_VIDEO, Handler, ICMODE_QUERY);
  ICClose(Compressor);
  return Compressor != nullptr;
}

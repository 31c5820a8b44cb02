#pragma once
// Shared pieces of the format tests: a progress record with its abort flag, streams over byte
// vectors, a stream that refuses writes past a limit, temporary files and the command-line
// oracles (ImageMagick, pngcheck) run as child processes.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "imaging/core/hyiedefs.h"
#include "platform/system/Streams.h"

using TTestProgress = TIELocalProgress;

inline std::vector<Byte> StreamBytes(TMemoryStream& Stream) {
  const Byte* P = static_cast<const Byte*>(Stream.GetMemory());
  return {P, P + Stream.GetSize()};
}

inline void LoadBytes(TMemoryStream& Stream, const std::vector<Byte>& Bytes) {
  Stream.Write(Bytes.data(), static_cast<Integer>(Bytes.size()));
  Stream.SetPosition(0);
}

// Takes Limit bytes in all, then writes short.
class TLimitedStream : public TMemoryStream {
 public:
  explicit TLimitedStream(Int64 Limit) : FLimit(Limit) {}
  Integer Write(const void* Buffer, Integer Count) override {
    const Int64 Room = std::max<Int64>(FLimit - GetPosition(), 0);
    return TMemoryStream::Write(Buffer, static_cast<Integer>(std::min<Int64>(Count, Room)));
  }

 private:
  Int64 FLimit;
};

inline std::string ShellOutput(const std::string& Command) {
  std::string Out;
  if (FILE* P = popen(Command.c_str(), "r")) {
    char Buf[4096];
    while (size_t N = fread(Buf, 1, sizeof Buf, P)) Out.append(Buf, N);
    pclose(P);
  }
  return Out;
}

inline bool ToolPresent(const std::string& Name) {
  return std::system(("command -v " + Name + " >/dev/null 2>&1").c_str()) == 0;
}

// A file in a folder of its own that is removed with the object.
class TTempFile {
 public:
  explicit TTempFile(const std::string& Name) {
    FDir = std::filesystem::temp_directory_path() /
           ("tv_formats_" + std::to_string(getpid()) + "_" + std::to_string(Counter()++));
    std::filesystem::create_directories(FDir);
    FPath = (FDir / Name).string();
  }
  ~TTempFile() { std::filesystem::remove_all(FDir); }
  const std::string& Path() const { return FPath; }
  void Write(const std::vector<Byte>& Bytes) const {
    std::ofstream(FPath, std::ios::binary)
        .write(reinterpret_cast<const char*>(Bytes.data()), static_cast<std::streamsize>(Bytes.size()));
  }
  std::vector<Byte> Read() const {
    std::ifstream In(FPath, std::ios::binary);
    return {std::istreambuf_iterator<char>(In), {}};
  }

 private:
  static int& Counter() {
    static int N = 0;
    return N;
  }
  std::filesystem::path FDir;
  std::string FPath;
};

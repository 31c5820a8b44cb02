#pragma once
// Guards that force a bitmap's storage kind for one test and put the library-wide settings
// back afterwards, and a private temporary folder whose files a test can count.
#include <stdlib.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "imaging/core/hyieutils.h"
#include "imaging/core/iebitmap.h"
#include "imaging/core/iefilebuffer.h"

// New bitmaps go to a temporary file from Size bytes on (0: every bitmap).
class TMinFileSizeGuard {
 public:
  explicit TMinFileSizeGuard(Int64 Size) { IEMinFileSizeOverride = Size; }
  ~TMinFileSizeGuard() { IEMinFileSizeOverride = FOld; }
  TMinFileSizeGuard(const TMinFileSizeGuard&) = delete;
  TMinFileSizeGuard& operator=(const TMinFileSizeGuard&) = delete;

 private:
  Int64 FOld = IEMinFileSizeOverride;
};

// Allocations the predicate picks fail; the fallback settings can be switched for the test.
class TAllocationFailureGuard {
 public:
  explicit TAllocationFailureGuard(std::function<bool(UInt64)> Fails) {
    IEAllocationFailureHook = std::move(Fails);
  }
  ~TAllocationFailureGuard() {
    IEAllocationFailureHook = nullptr;
    IEAllowChunks = FChunks;
    IEAllowFileFallback = FFallback;
  }
  TAllocationFailureGuard(const TAllocationFailureGuard&) = delete;
  TAllocationFailureGuard& operator=(const TAllocationFailureGuard&) = delete;

 private:
  bool FChunks = IEAllowChunks;
  bool FFallback = IEAllowFileFallback;
};

// A fresh folder used as the library's temporary folder; removed with its files at the end.
class TTempFolderGuard {
 public:
  TTempFolderGuard() {
    std::string Pattern = (std::filesystem::temp_directory_path() / "tv-iebitmap-XXXXXX").string();
    FFolder = mkdtemp(Pattern.data());
    IETempFolder = FFolder + "/";
  }
  ~TTempFolderGuard() {
    IETempFolder = FOld;
    std::error_code Ignored;
    std::filesystem::remove_all(FFolder, Ignored);
  }
  TTempFolderGuard(const TTempFolderGuard&) = delete;
  TTempFolderGuard& operator=(const TTempFolderGuard&) = delete;

  const std::string& Folder() const { return FFolder; }
  std::vector<std::string> Files() const {
    std::vector<std::string> Names;
    for (const auto& Entry : std::filesystem::directory_iterator(FFolder))
      Names.push_back(Entry.path().filename().string());
    return Names;
  }

 private:
  std::string FOld = IETempFolder;
  std::string FFolder;
};

// Row Y, byte X of the test pattern.
inline Byte PatternByte(Integer X, Integer Y) {
  return static_cast<Byte>(X * 7 + Y * 13 + 1);
}

inline void WritePattern(TIEBitmap& B) {
  for (Integer Y = 0; Y < B.GetHeight(); ++Y) {
    Byte* Row = static_cast<Byte*>(B.GetScanline(Y));
    for (Integer X = 0; X < B.GetRowLen(); ++X) Row[X] = PatternByte(X, Y);
  }
}

// The first Bytes bytes of every row hold the pattern.
inline bool HasPattern(TIEBitmap& B, Integer Bytes) {
  for (Integer Y = 0; Y < B.GetHeight(); ++Y) {
    const Byte* Row = static_cast<const Byte*>(B.GetScanline(Y));
    for (Integer X = 0; X < Bytes; ++X)
      if (Row[X] != PatternByte(X, Y)) return false;
  }
  return true;
}

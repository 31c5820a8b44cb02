#pragma once
// Checks of TIFF files the writer made: a small reader of little-endian directories of its
// own (independent of the filter's), pages read back through the filter, pixel comparison,
// and the verdict of the tiffinfo tool, which decodes every strip (-D).
#include <gtest/gtest.h>

#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iemask.h"
#include "imaging/io/tiffilt.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/Streams.h"

struct TWrittenTag {
  Word Type = 0;
  Cardinal Count = 0;
  Cardinal Field = 0;            // the entry's value field as stored
  std::vector<Cardinal> Values;  // BYTE, SHORT and LONG values; RATIONAL numerator, denominator pairs
  std::vector<Byte> Bytes;       // the values' bytes, in the entry or out of line
};

struct TWrittenPage {
  Cardinal Position = 0;
  std::map<Word, TWrittenTag> Tags;
  std::vector<Word> Order;  // tags in file order

  bool Has(Word Tag) const { return Tags.count(Tag) != 0; }
  const TWrittenTag& Tag(Word T) const { return Tags.at(T); }
  Cardinal Value(Word T, std::size_t Index = 0) const { return Tags.at(T).Values.at(Index); }
};

inline Cardinal TiffLE(const std::vector<Byte>& F, std::size_t At, Integer Size) {
  Cardinal V = 0;
  for (Integer I = Size - 1; I >= 0; --I) V = V << 8 | F.at(At + I);
  return V;
}

// Every directory of a little-endian file, following the chain (at most 100 pages).
inline std::vector<TWrittenPage> ParseWrittenTiff(const std::vector<Byte>& F) {
  static const Integer Sizes[13] = {1, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8};
  std::vector<TWrittenPage> Pages;
  if (F.size() < 8 || F[0] != 'I' || F[1] != 'I' || TiffLE(F, 2, 2) != 42) return Pages;
  for (Cardinal Offset = TiffLE(F, 4, 4); Offset != 0 && Pages.size() < 100;) {
    TWrittenPage Page;
    Page.Position = Offset;
    const Cardinal Count = TiffLE(F, Offset, 2);
    for (Cardinal I = 0; I < Count; ++I) {
      const std::size_t At = Offset + 2 + 12 * I;
      TWrittenTag T;
      const auto Tag = static_cast<Word>(TiffLE(F, At, 2));
      T.Type = static_cast<Word>(TiffLE(F, At + 2, 2));
      T.Count = TiffLE(F, At + 4, 4);
      T.Field = TiffLE(F, At + 8, 4);
      const std::size_t Size = T.Count * static_cast<std::size_t>(T.Type < 13 ? Sizes[T.Type] : 1);
      const std::size_t Data = Size <= 4 ? At + 8 : T.Field;
      T.Bytes.assign(F.begin() + Data, F.begin() + Data + Size);
      const Integer Unit = T.Type == 5 || T.Type == 10 ? 4 : T.Type < 13 ? Sizes[T.Type] : 1;
      for (std::size_t B = 0; Unit <= 4 && B + Unit <= Size; B += Unit)
        T.Values.push_back(TiffLE(F, Data + B, Unit));
      Page.Tags[Tag] = T;
      Page.Order.push_back(Tag);
    }
    Offset = TiffLE(F, Offset + 2 + 12 * Count, 4);
    Pages.push_back(std::move(Page));
  }
  return Pages;
}

inline std::vector<Byte> TiffStreamBytes(TMemoryStream& Stream) {
  const auto* Data = static_cast<const Byte*>(Stream.GetMemory());
  return {Data, Data + Stream.GetSize()};
}

struct TTiffWriteResult {
  Integer Pages = 0;
  bool Aborting = false;
};

inline TTiffWriteResult WriteTiffPage(TStream& Stream, TIEBitmap* Bitmap, TIOParamsVals& Params,
                                      bool Append = false) {
  TIELocalProgress Local;
  TTiffWriteResult R;
  R.Pages = TiffWriteStream(&Stream, Append, Bitmap, Params, Local.Progress);
  R.Aborting = Local.Aborting;
  return R;
}

inline std::vector<Byte> WriteTiffBytes(TIEBitmap* Bitmap, TIOParamsVals& Params) {
  TMemoryStream Stream;
  const TTiffWriteResult R = WriteTiffPage(Stream, Bitmap, Params);
  EXPECT_FALSE(R.Aborting);
  EXPECT_EQ(R.Pages, 1);
  return TiffStreamBytes(Stream);
}

struct TTiffReadBack {
  Integer PageCount = 0;
  bool Aborting = false;
  std::unique_ptr<TIEMask> AlphaMask;
};

// Page Index of File through the filter's reader.
inline TTiffReadBack ReadTiffPage(const std::vector<Byte>& File, Integer Index, TIEBitmap& Bitmap,
                                  TIOParamsVals& Params, bool Native = true) {
  TMemoryStream Stream;
  Stream.Write(File.data(), static_cast<Integer>(File.size()));
  Stream.SetPosition(0);
  Params.SetImageIndex(Index);
  Params.NativePixelFormat = Native;
  TIELocalProgress Local;
  TTiffReadBack R;
  TiffReadStream(&Bitmap, &Stream, R.PageCount, Params, Local.Progress, false, R.AlphaMask, true, false,
                 false);
  R.Aborting = Local.Aborting;
  return R;
}

// Same size and format, and the same pixels (bits past a 1-bit row's width do not count).
inline ::testing::AssertionResult SamePixels(TIEBitmap& Expected, TIEBitmap& Actual) {
  if (Expected.GetWidth() != Actual.GetWidth() || Expected.GetHeight() != Actual.GetHeight() ||
      Expected.GetPixelFormat() != Actual.GetPixelFormat())
    return ::testing::AssertionFailure()
           << "size or format differ: " << Actual.GetWidth() << "x" << Actual.GetHeight() << " format "
           << Integer(Actual.GetPixelFormat());
  const Integer Bits = Expected.GetBitCount() * Expected.GetWidth();
  for (Integer Y = 0; Y < Expected.GetHeight(); ++Y) {
    const auto* A = static_cast<const Byte*>(Expected.GetScanline(Y));
    const auto* B = static_cast<const Byte*>(Actual.GetScanline(Y));
    for (Integer Bit = 0; Bit < Bits; Bit += 8) {
      const Integer Used = std::min(8, Bits - Bit);
      const auto Mask = static_cast<Byte>(0xFF << (8 - Used));
      if ((A[Bit / 8] ^ B[Bit / 8]) & Mask)
        return ::testing::AssertionFailure() << "row " << Y << " byte " << Bit / 8 << ": "
                                             << Integer(A[Bit / 8]) << " != " << Integer(B[Bit / 8]);
    }
  }
  return ::testing::AssertionSuccess();
}

inline bool TiffinfoAvailable() {
  return std::system("command -v tiffinfo >/dev/null 2>&1") == 0;
}

// tiffinfo over every page with every strip decoded: its exit code and what it said.
struct TTiffinfoVerdict {
  int ExitCode = -1;
  std::string Output;
};

inline TTiffinfoVerdict RunTiffinfo(const std::vector<Byte>& File) {
  // A name of its own: test programs run side by side.
  std::string Name = ::testing::TempDir() + "tiffwrite-XXXXXX";
  const int Handle = mkstemp(Name.data());
  if (Handle < 0) return {};
  const bool Written = write(Handle, File.data(), File.size()) == static_cast<ssize_t>(File.size());
  close(Handle);
  if (!Written) return {};
  TTiffinfoVerdict V;
  const std::string Command = "tiffinfo -D \"" + Name + "\" 2>&1";
  if (FILE* Pipe = popen(Command.c_str(), "r")) {
    char Buffer[4096];
    std::size_t Got;
    while ((Got = std::fread(Buffer, 1, sizeof Buffer, Pipe)) > 0) V.Output.append(Buffer, Got);
    const int Status = pclose(Pipe);
    V.ExitCode = WIFEXITED(Status) ? WEXITSTATUS(Status) : -1;
  }
  std::remove(Name.c_str());
  return V;
}

// tiffinfo reads the file without an error or a warning.
inline ::testing::AssertionResult TiffinfoAccepts(const std::vector<Byte>& File) {
  const TTiffinfoVerdict V = RunTiffinfo(File);
  if (V.ExitCode != 0 || V.Output.find("rror") != std::string::npos ||
      V.Output.find("arning") != std::string::npos)
    return ::testing::AssertionFailure() << "tiffinfo exit " << V.ExitCode << ":\n" << V.Output;
  return ::testing::AssertionSuccess();
}

// The tiffinfo check where the tool is installed (scripts/setup installs it).
inline void ExpectTiffinfoAccepts(const std::vector<Byte>& File) {
  if (TiffinfoAvailable()) {
    EXPECT_TRUE(TiffinfoAccepts(File));
  }
}

#pragma once
// The component tests' world: a registry with one format of a caller's own ("TST"), read and
// written through its row's procedures, a private folder for files, and an event log.
//
// A TST file is "TST1", then width and height as one byte each, then one byte: the grey value
// of every pixel. The reader makes an ie24RGB picture of it; the writer writes the red of the
// picture's first pixel as that value.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/io/ieioprogress.h"
#include "imaging/io/zezudidio.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/Exceptions.h"
#include "platform/system/KernelObjects.h"
#include "platform/system/Streams.h"
#include "platform/system/Strings.h"

constexpr TIEFileType ioTST = 100;

// What the TST procedures do besides their work; reset by each test's fixture.
struct TTstBehaviour {
  std::atomic<bool> Raise{false};      // the reader and writer raise
  std::atomic<bool> FailWrite{false};  // the writer writes half and sets Aborting
  std::atomic<bool> WaitAbort{false};  // the reader waits until the caller sets Aborting
  std::atomic<bool> HoldWrite{false};  // the writer waits while it is set
  std::atomic<DWORD> ReaderThread{0};
  std::atomic<Integer> Reads{0};
  std::atomic<Integer> Writes{0};
  std::atomic<bool> LastPreview{false};
  void Reset() {
    Raise = false;
    FailWrite = false;
    WaitAbort = false;
    HoldWrite = false;
    ReaderThread = 0;
    Reads = 0;
    Writes = 0;
    LastPreview = false;
  }
};
inline TTstBehaviour TstBehaviour;

inline std::string TstBytes(Byte Width, Byte Height, Byte Grey) {
  return std::string("TST1") + static_cast<char>(Width) + static_cast<char>(Height) + static_cast<char>(Grey);
}

inline void TstRead(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& Params, TIEIOProgress& Progress,
                    bool Preview) {
  ++TstBehaviour.Reads;
  TstBehaviour.ReaderThread = GetCurrentThreadId();
  TstBehaviour.LastPreview = Preview;
  if (TstBehaviour.Raise) throw Exception("TST reader failed");
  while (TstBehaviour.WaitAbort && !IEIsAborting(Progress)) std::this_thread::yield();
  char Head[7] = {};
  if (Stream->Read(Head, 7) != 7 || std::memcmp(Head, "TST1", 4) != 0) {
    IESetAborting(Progress);
    return;
  }
  Params.Width = static_cast<Byte>(Head[4]);
  Params.Height = static_cast<Byte>(Head[5]);
  Params.SetDpiX(72);
  Params.SetDpiY(1);  // below 2: left for the caller to take as "none"
  if (Preview) return;
  Bitmap->Allocate(Params.Width, Params.Height, ie24RGB);
  const Byte Grey = static_cast<Byte>(Head[6]);
  Bitmap->Fill(Grey * 0x010101);
  IEStartProgress(Progress, Params.Height);
  for (Integer Row = 1; Row <= Params.Height; ++Row) IEReportProgress(Progress, Row);
}

inline void TstWrite(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals&, TIEIOProgress& Progress) {
  ++TstBehaviour.Writes;
  if (TstBehaviour.Raise) throw Exception("TST writer failed");
  while (TstBehaviour.HoldWrite) std::this_thread::yield();
  const std::string Bytes =
      TstBytes(static_cast<Byte>(Bitmap->GetWidth()), static_cast<Byte>(Bitmap->GetHeight()),
               Bitmap->GetPixelFormat() == ie24RGB ? Bitmap->GetPixel24(0, 0).rgbtRed : 0);
  if (TstBehaviour.FailWrite) {
    Stream->WriteBuffer(Bytes.data(), 3);
    IESetAborting(Progress);
    return;
  }
  Stream->WriteBuffer(Bytes.data(), static_cast<Integer>(Bytes.size()));
}

inline bool TstTest(TStream* Stream, TIEFileType) {
  const Int64 Start = Stream->GetPosition();
  char Head[4] = {};
  const bool Found = Stream->Read(Head, 4) == 4 && std::memcmp(Head, "TST1", 4) == 0;
  Stream->SetPosition(Start);
  return Found;
}

// Records the component's events in order.
struct TComponentLog {
  std::vector<std::string> Lines;
  void Progress(TObject*, Integer Percent) { Lines.push_back("progress " + std::to_string(Percent)); }
  void Finish(TObject*) { Lines.push_back("finish"); }
  void Bind(TZezudIdIO& IO) {
    IO.SetOnProgress(TIEProgressEvent(this, &TComponentLog::Progress));
    IO.SetOnFinishWork(TNotifyEvent(this, &TComponentLog::Finish));
  }
  bool Has(const std::string& Line) const {
    return std::find(Lines.begin(), Lines.end(), Line) != Lines.end();
  }
};

class TComponentTest : public ::testing::Test {
 protected:
  TComponentTest() {
    TstBehaviour.Reset();
    InitFileFormats();
    auto Info = std::make_unique<TIEFileFormatInfo>();
    Info->FileType = ioTST;
    Info->FullName = "Test format";
    Info->Extension = "TST;TSX";
    Info->ReadFunction = TstRead;
    Info->WriteFunction = TstWrite;
    Info->TestFunction = TstTest;
    RegisterFileFormat(std::move(Info));
    std::string Pattern = (std::filesystem::temp_directory_path() / "tv-zezudidio-XXXXXX").string();
    FFolder = mkdtemp(Pattern.data());
  }
  ~TComponentTest() override {
    FreeFileFormats();
    std::error_code Ignored;
    std::filesystem::remove_all(FFolder, Ignored);
  }

  std::u16string PathOf(const std::string& Name) const { return Utf8ToUtf16(FFolder + "/" + Name); }
  std::u16string WriteFile(const std::string& Name, const std::string& Bytes) const {
    std::ofstream(FFolder + "/" + Name, std::ios::binary) << Bytes;
    return PathOf(Name);
  }
  std::string ReadFile(const std::string& Name) const {
    std::ifstream File(FFolder + "/" + Name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(File), {});
  }
  bool Exists(const std::string& Name) const { return std::filesystem::exists(FFolder + "/" + Name); }
  size_t FileCount() const {
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(FFolder), {}));
  }

  static std::unique_ptr<TMemoryStream> StreamOf(const std::string& Bytes) {
    auto Stream = std::make_unique<TMemoryStream>();
    Stream->WriteBuffer(Bytes.data(), static_cast<Integer>(Bytes.size()));
    Stream->SetPosition(0);
    return Stream;
  }

  std::string FFolder;
};

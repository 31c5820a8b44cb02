#pragma once
// The worker thread that runs one load or save of a TZezudIdIO in asynchronous mode: it calls
// the same operation again, with copies of the file names and the caller's stream, on a thread
// of its own. The component lists its running threads so that an operation can tell it runs
// on one of them (then it runs at once) and so that WaitThreads can wait for their end.
#include <atomic>
#include <string>

#include "imaging/io/iefileformats.h"
#include "platform/system/Threads.h"
#include "platform/system/Types.h"

class TStream;
class TZezudIdIO;

class TIEIOThread : public TThread {
 public:
  // The operation shapes, one per kind; member pointers, so a virtual operation is called
  // through dynamic dispatch and a descendant's override serves the worker too.
  using TFileProc = void (TZezudIdIO::*)(const std::u16string& FileName);                          // kind 0
  using TStreamProc = void (TZezudIdIO::*)(TStream* Stream);                                       // kind 1
  using TFileFunc = Integer (TZezudIdIO::*)(const std::u16string& FileName);                       // kind 2
  using TStreamFunc = Integer (TZezudIdIO::*)(TStream* Stream);                                    // kind 4
  using TFileFormatProc = void (TZezudIdIO::*)(const std::u16string& FileName, TIEFileType Type);  // kind 5
  using TStreamFormatProc = void (TZezudIdIO::*)(TStream* Stream, TIEFileType Type);               // kind 6
  using TFrameProc = void (TZezudIdIO::*)(Integer FrameIndex);                                     // kind 8
  using TFileMetafileProc = void (TZezudIdIO::*)(const std::u16string& FileName, Integer Width,
                                                 Integer Height,
                                                 bool WithAlpha);  // kind 9

  // Each registers the thread in IO's list before the worker may start; create them through
  // TThread::Create so the worker starts once the object is complete. The thread frees itself
  // when its operation has ended. The stream is not owned: the caller keeps it open and
  // unchanged until the operation has ended.
  TIEIOThread(TZezudIdIO* IO, TFileProc Operation, const std::u16string& FileName);
  TIEIOThread(TZezudIdIO* IO, TStreamProc Operation, TStream* Stream);
  TIEIOThread(TZezudIdIO* IO, TFileFunc Operation, const std::u16string& FileName);
  TIEIOThread(TZezudIdIO* IO, TStreamFunc Operation, TStream* Stream);
  TIEIOThread(TZezudIdIO* IO, TFileFormatProc Operation, const std::u16string& FileName,
              TIEFileType FileType);
  TIEIOThread(TZezudIdIO* IO, TStreamFormatProc Operation, TStream* Stream, TIEFileType FileType);
  TIEIOThread(TZezudIdIO* IO, TFrameProc Operation, Integer FrameIndex);
  TIEIOThread(TZezudIdIO* IO, TFileMetafileProc Operation, const std::u16string& FileName, Integer Width,
              Integer Height, bool WithAlpha);

  Byte GetKind() const { return FKind; }
  // The id of the worker, 0 until it has started.
  TThreadID GetRunningThreadId() const { return FRunningThreadId.load(); }

 protected:
  void Execute() override;

 private:
  TIEIOThread(TZezudIdIO* IO, Byte Kind);
  void RegisterInOwner();
  void RunOperation();

  TZezudIdIO* FIO;  // not owned
  Byte FKind;
  TFileProc FFileProc = nullptr;
  TStreamProc FStreamProc = nullptr;
  TFileFunc FFileFunc = nullptr;
  TStreamFunc FStreamFunc = nullptr;
  TFileFormatProc FFileFormatProc = nullptr;
  TStreamFormatProc FStreamFormatProc = nullptr;
  TFrameProc FFrameProc = nullptr;
  Integer FFrameIndex = 0;
  TFileMetafileProc FFileMetafileProc = nullptr;
  Integer FMetafileWidth = 0;
  Integer FMetafileHeight = 0;
  bool FMetafileWithAlpha = false;
  std::u16string FFileName;
  TStream* FStream = nullptr;  // not owned
  TIEFileType FFileType = ioUnknown;
  std::atomic<TThreadID> FRunningThreadId{0};
};

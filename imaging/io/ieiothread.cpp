// Worker threads of TZezudIdIO and the component's side of them: registration, the list of
// running threads, waiting for them.
#include "imaging/io/ieiothread.h"

#include <algorithm>

#include "imaging/io/zezudidio.h"
#include "platform/system/KernelObjects.h"

TIEIOThread::TIEIOThread(TZezudIdIO* IO, Byte Kind) : TThread(false), FIO(IO), FKind(Kind) {}

TIEIOThread::TIEIOThread(TZezudIdIO* IO, TFileProc Operation, const std::u16string& FileName)
    : TIEIOThread(IO, 0) {
  FFileProc = Operation;
  FFileName = FileName;
  RegisterInOwner();
}

TIEIOThread::TIEIOThread(TZezudIdIO* IO, TStreamProc Operation, TStream* Stream) : TIEIOThread(IO, 1) {
  FStreamProc = Operation;
  FStream = Stream;
  RegisterInOwner();
}

TIEIOThread::TIEIOThread(TZezudIdIO* IO, TFileFunc Operation, const std::u16string& FileName)
    : TIEIOThread(IO, 2) {
  FFileFunc = Operation;
  FFileName = FileName;
  RegisterInOwner();
}

TIEIOThread::TIEIOThread(TZezudIdIO* IO, TStreamFunc Operation, TStream* Stream) : TIEIOThread(IO, 4) {
  FStreamFunc = Operation;
  FStream = Stream;
  RegisterInOwner();
}

TIEIOThread::TIEIOThread(TZezudIdIO* IO, TFileFormatProc Operation, const std::u16string& FileName,
                         TIEFileType FileType)
    : TIEIOThread(IO, 5) {
  FFileFormatProc = Operation;
  FFileName = FileName;
  FFileType = FileType;
  RegisterInOwner();
}

TIEIOThread::TIEIOThread(TZezudIdIO* IO, TStreamFormatProc Operation, TStream* Stream, TIEFileType FileType)
    : TIEIOThread(IO, 6) {
  FStreamFormatProc = Operation;
  FStream = Stream;
  FFileType = FileType;
  RegisterInOwner();
}

TIEIOThread::TIEIOThread(TZezudIdIO* IO, TFrameProc Operation, Integer FrameIndex) : TIEIOThread(IO, 8) {
  FFrameProc = Operation;
  FFrameIndex = FrameIndex;
  RegisterInOwner();
}

void TIEIOThread::RegisterInOwner() {
  FIO->FThreadLock.Enter();
  FIO->FThreadList.push_back(this);
  FIO->FThreadsDone.ResetEvent();
  FIO->FThreadLock.Leave();
}

TIEIOThread::TIEIOThread(TZezudIdIO* IO, TFileMetafileProc Operation, const std::u16string& FileName,
                         Integer Width, Integer Height, bool WithAlpha)
    : TIEIOThread(IO, 9) {
  FFileMetafileProc = Operation;
  FFileName = FileName;
  FMetafileWidth = Width;
  FMetafileHeight = Height;
  FMetafileWithAlpha = WithAlpha;
  RegisterInOwner();
}

void TIEIOThread::RunOperation() {
  TZezudIdIO& IO = *FIO;
  switch (FKind) {
    case 0:
      (IO.*FFileProc)(FFileName);
      break;
    case 1:
      (IO.*FStreamProc)(FStream);
      break;
    case 2:
      (IO.*FFileFunc)(FFileName);  // the caller has had -1 already
      break;
    case 4:
      (IO.*FStreamFunc)(FStream);
      break;
    case 5:
      (IO.*FFileFormatProc)(FFileName, FFileType);
      break;
    case 6:
      (IO.*FStreamFormatProc)(FStream, FFileType);
      break;
    case 8:
      (IO.*FFrameProc)(FFrameIndex);
      break;
    case 9:
      (IO.*FFileMetafileProc)(FFileName, FMetafileWidth, FMetafileHeight, FMetafileWithAlpha);
      break;
  }
}

void TIEIOThread::Execute() {
  FRunningThreadId.store(GetCurrentThreadId());
  try {
    RunOperation();
  } catch (...) {
    // Nobody waits for this thread's result: the failure is the component's abort flag.
    FIO->SetAborting(true);
  }
  SetFreeOnTerminate(true);
  // After this the component may be gone: nothing below touches it.
  TZezudIdIO* IO = FIO;
  IO->FThreadLock.Enter();
  auto& List = IO->FThreadList;
  List.erase(std::remove(List.begin(), List.end(), this), List.end());
  if (List.empty()) IO->FThreadsDone.SetEvent();
  IO->FThreadLock.Leave();
}

// ---- The component's side ----------------------------------------------------------------

bool TZezudIdIO::InWorkerThread() {
  const TThreadID Current = GetCurrentThreadId();
  FThreadLock.Enter();
  const bool Found =
      std::any_of(FThreadList.begin(), FThreadList.end(),
                  [Current](const TIEIOThread* Thread) { return Thread->GetRunningThreadId() == Current; });
  FThreadLock.Leave();
  return Found;
}

void TZezudIdIO::WaitThreads(bool Abort) {
  for (;;) {
    FThreadLock.Enter();
    if (Abort) SetAborting(true);
    const bool Running = !FThreadList.empty();
    FThreadLock.Leave();
    if (!Running) return;
    if (IsMainThread()) {
      // A worker may be waiting for the user-interface thread (a view's window made through
      // Synchronize): keep running those calls while waiting, or both would wait forever.
      if (FThreadsDone.WaitFor(0) != wrSignaled) CheckSynchronize(10);
    } else {
      FThreadsDone.WaitFor(INFINITE);
    }
  }
}

#include "imaging/core/hyieutils.h"
#include "platform/system/Threads.h"

TIEThreadPool::~TIEThreadPool() {
  WaitForAll();
}

void TIEThreadPool::Add(TThread* Thread) {
  FThreads.emplace_back(Thread);
  Thread->Resume();
}

void TIEThreadPool::WaitForAll() {
  for (std::unique_ptr<TThread>& Thread : FThreads) {
    Thread->WaitFor();
    Thread.reset();
  }
  FThreads.clear();
}

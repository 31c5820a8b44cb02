#pragma once
// While it lives, this process cannot make a file longer than Bytes: a write beyond fails with
// EFBIG, as on a full disk, instead of ending the process. For tests of writes that fail part-way.
#include <sys/resource.h>

#include <csignal>

class TFileSizeLimit {
 public:
  explicit TFileSizeLimit(rlim_t Bytes) {
    getrlimit(RLIMIT_FSIZE, &FOld);
    FOldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit Limit = FOld;
    Limit.rlim_cur = Bytes;
    setrlimit(RLIMIT_FSIZE, &Limit);
  }
  ~TFileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &FOld);
    std::signal(SIGXFSZ, FOldHandler);
  }
  TFileSizeLimit(const TFileSizeLimit&) = delete;
  TFileSizeLimit& operator=(const TFileSizeLimit&) = delete;

 private:
  rlimit FOld{};
  void (*FOldHandler)(int) = SIG_DFL;
};

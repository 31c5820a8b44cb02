#pragma once
// How a second start of a program reaches the first: the first listens on a Unix socket named
// after the program in the runtime folder (beside the named mutex's lock file), the second
// connects and asks it to come forward.
#include <functional>
#include <string>
#include <thread>

class TInstanceListener {
 public:
  TInstanceListener() = default;
  ~TInstanceListener() { Stop(); }
  TInstanceListener(const TInstanceListener&) = delete;
  TInstanceListener& operator=(const TInstanceListener&) = delete;

  // Listens for requests on Name; each one runs OnRequest on the main thread (through the
  // synchronised-call queue). A socket left by an ended run is replaced. False when the socket
  // cannot be made.
  bool Start(const std::string& Name, std::function<void()> OnRequest);
  // Stops listening and removes the socket; calls already queued still run.
  void Stop();
  bool GetListening() const { return FSocket >= 0; }

 private:
  int FSocket = -1;
  std::string FPath;
  std::thread FThread;
};

// Asks the instance listening on Name to come forward; false when none answers.
bool SignalInstance(const std::string& Name);

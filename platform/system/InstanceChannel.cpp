#include "platform/system/InstanceChannel.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstring>

#include "platform/system/NamedMutex.h"
#include "platform/system/Threads.h"
#include "platform/system/Types.h"

namespace {
constexpr char Request[] = "raise\n";

// The socket's address: the file Path, or, when Path is too long for an address, a name in the
// abstract namespace made from a hash of it (so it stays apart for every folder and name).
struct TSocketName {
  sockaddr_un Address{};
  socklen_t Length = 0;
  bool IsFile = true;
};

TSocketName SocketName(const std::string& Path) {
  TSocketName N;
  N.Address.sun_family = AF_UNIX;
  if (Path.size() < sizeof N.Address.sun_path) {
    std::memcpy(N.Address.sun_path, Path.c_str(), Path.size() + 1);
    N.Length = sizeof N.Address;
    return N;
  }
  UInt64 Hash = 14695981039346656037ull;  // FNV-1a
  for (unsigned char C : Path) Hash = (Hash ^ C) * 1099511628211ull;
  char Text[64];
  const int Size =
      std::snprintf(Text, sizeof Text, "tilvarok-instance-%016llx", static_cast<unsigned long long>(Hash));
  N.Address.sun_path[0] = '\0';
  std::memcpy(N.Address.sun_path + 1, Text, static_cast<std::size_t>(Size));
  N.Length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + Size);
  N.IsFile = false;
  return N;
}

std::string SocketPath(const std::string& Name) {
  return NamedObjectPath("instance", Name, ".sock");
}

// Reads one request from a connection; true when it asks to come forward.
bool ReadRequest(int Connection) {
  char Buffer[sizeof Request] = {};
  std::size_t Got = 0;
  while (Got < sizeof Request - 1) {
    const ssize_t N = ::read(Connection, Buffer + Got, sizeof Request - 1 - Got);
    if (N < 0 && errno == EINTR) continue;
    if (N <= 0) return false;
    Got += static_cast<std::size_t>(N);
  }
  return std::memcmp(Buffer, Request, sizeof Request - 1) == 0;
}
}  // namespace

bool TInstanceListener::Start(const std::string& Name, std::function<void()> OnRequest) {
  Stop();
  const std::string Path = SocketPath(Name);
  const TSocketName Address = SocketName(Path);
  const int Socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (Socket < 0) return false;
  // The caller holds the program's named mutex, so a socket file there is a leftover.
  if (Address.IsFile) ::unlink(Path.c_str());
  if (::bind(Socket, reinterpret_cast<const sockaddr*>(&Address.Address), Address.Length) != 0 ||
      ::listen(Socket, 4) != 0) {
    ::close(Socket);
    return false;
  }
  FSocket = Socket;
  FPath = Address.IsFile ? Path : std::string();
  FThread = std::thread([Socket, OnRequest = std::move(OnRequest)] {
    for (;;) {
      const int Connection = ::accept4(Socket, nullptr, nullptr, SOCK_CLOEXEC);
      if (Connection < 0) {
        if (errno == EINTR || errno == ECONNABORTED) continue;
        return;  // the socket was shut down
      }
      const bool Raise = ReadRequest(Connection);
      ::close(Connection);
      if (Raise) TThread::Queue(nullptr, OnRequest);
    }
  });
  return true;
}

void TInstanceListener::Stop() {
  if (FSocket < 0) return;
  // Shutting the listening socket down ends the waiting accept.
  ::shutdown(FSocket, SHUT_RDWR);
  if (FThread.joinable()) FThread.join();
  ::close(FSocket);
  if (!FPath.empty()) ::unlink(FPath.c_str());
  FSocket = -1;
  FPath.clear();
}

bool SignalInstance(const std::string& Name) {
  const TSocketName Address = SocketName(SocketPath(Name));
  const int Socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (Socket < 0) return false;
  bool Sent = false;
  if (::connect(Socket, reinterpret_cast<const sockaddr*>(&Address.Address), Address.Length) == 0)
    Sent =
        ::send(Socket, Request, sizeof Request - 1, MSG_NOSIGNAL) == static_cast<ssize_t>(sizeof Request - 1);
  ::close(Socket);
  return Sent;
}

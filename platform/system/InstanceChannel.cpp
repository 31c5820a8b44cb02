#include "platform/system/InstanceChannel.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/system/NamedMutex.h"
#include "platform/system/Threads.h"

namespace {
constexpr char Request[] = "raise\n";

// The socket's address; false when the path does not fit one.
bool SocketAddress(const std::string& Path, sockaddr_un& Address) {
  std::memset(&Address, 0, sizeof Address);
  Address.sun_family = AF_UNIX;
  if (Path.size() >= sizeof Address.sun_path) return false;
  std::memcpy(Address.sun_path, Path.c_str(), Path.size() + 1);
  return true;
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
  sockaddr_un Address;
  if (!SocketAddress(Path, Address)) return false;
  const int Socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (Socket < 0) return false;
  // The caller holds the program's named mutex, so a socket file there is a leftover.
  ::unlink(Path.c_str());
  if (::bind(Socket, reinterpret_cast<sockaddr*>(&Address), sizeof Address) != 0 ||
      ::listen(Socket, 4) != 0) {
    ::close(Socket);
    return false;
  }
  FSocket = Socket;
  FPath = Path;
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
  ::unlink(FPath.c_str());
  FSocket = -1;
  FPath.clear();
}

bool SignalInstance(const std::string& Name) {
  sockaddr_un Address;
  if (!SocketAddress(SocketPath(Name), Address)) return false;
  const int Socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (Socket < 0) return false;
  bool Sent = false;
  if (::connect(Socket, reinterpret_cast<sockaddr*>(&Address), sizeof Address) == 0)
    Sent =
        ::send(Socket, Request, sizeof Request - 1, MSG_NOSIGNAL) == static_cast<ssize_t>(sizeof Request - 1);
  ::close(Socket);
  return Sent;
}

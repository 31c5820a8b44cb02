#pragma once
// A small HTTP server on 127.0.0.1 (an ephemeral port) on its own thread, for tests of the
// internet library and of what loads through it. It answers each request from a table of
// paths and closes the connection; unknown paths get 404. Header-only, so test programs of
// other folders can include it.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

class TLoopbackHttpServer {
 public:
  struct TAnswer {
    int Status = 200;
    std::string Reason = "OK";
    std::vector<std::pair<std::string, std::string>> Headers;
    std::string Body;
    bool SendLength = true;  // false: the body ends when the connection closes
  };

  TLoopbackHttpServer() {
    FListener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in Address{};
    Address.sin_family = AF_INET;
    Address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    Address.sin_port = 0;
    bind(FListener, reinterpret_cast<sockaddr*>(&Address), sizeof(Address));
    listen(FListener, 16);
    socklen_t Length = sizeof(Address);
    getsockname(FListener, reinterpret_cast<sockaddr*>(&Address), &Length);
    FPort = ntohs(Address.sin_port);
    FThread = std::thread([this] { Run(); });
  }
  ~TLoopbackHttpServer() {
    shutdown(FListener, SHUT_RDWR);  // wakes the accept
    FThread.join();
    close(FListener);
  }
  TLoopbackHttpServer(const TLoopbackHttpServer&) = delete;
  TLoopbackHttpServer& operator=(const TLoopbackHttpServer&) = delete;

  void Serve(const std::string& Path, TAnswer Answer) {
    std::lock_guard Guard(FLock);
    FAnswers[Path] = std::move(Answer);
  }
  int Port() const { return FPort; }
  std::string Url(const std::string& Path) const {
    return "http://127.0.0.1:" + std::to_string(FPort) + Path;
  }
  // Each request's head as received: the request line, then the header lines, CR LF apart.
  std::vector<std::string> Requests() const {
    std::lock_guard Guard(FLock);
    return FRequests;
  }

 private:
  void Run() {
    for (;;) {
      const int Client = accept(FListener, nullptr, nullptr);
      if (Client < 0) return;
      Answer(Client);
      close(Client);
    }
  }

  void Answer(int Client) {
    std::string Head;
    char Buffer[4096];
    while (Head.find("\r\n\r\n") == std::string::npos) {
      const ssize_t Got = recv(Client, Buffer, sizeof(Buffer), 0);
      if (Got <= 0) return;
      Head.append(Buffer, static_cast<std::size_t>(Got));
    }
    Head.resize(Head.find("\r\n\r\n"));
    // "GET /path HTTP/1.1", or through a proxy "GET http://host/path HTTP/1.1".
    const std::size_t Start = Head.find(' ') + 1;
    std::string Target = Head.substr(Start, Head.find(' ', Start) - Start);
    if (Target.rfind("http://", 0) == 0) Target = Target.substr(Target.find('/', 7));
    TAnswer Reply;
    {
      std::lock_guard Guard(FLock);
      FRequests.push_back(Head);
      auto Found = FAnswers.find(Target);
      if (Found != FAnswers.end())
        Reply = Found->second;
      else
        Reply = {404, "Not Found", {{"Content-Type", "text/html"}}, "<html>no such page</html>", true};
    }
    std::string Text = "HTTP/1.1 " + std::to_string(Reply.Status) + " " + Reply.Reason + "\r\n";
    for (const auto& [Name, Value] : Reply.Headers) Text += Name + ": " + Value + "\r\n";
    if (Reply.SendLength) Text += "Content-Length: " + std::to_string(Reply.Body.size()) + "\r\n";
    Text += "Connection: close\r\n\r\n" + Reply.Body;
    for (std::size_t Sent = 0; Sent < Text.size();) {
      const ssize_t Put = send(Client, Text.data() + Sent, Text.size() - Sent, MSG_NOSIGNAL);
      if (Put <= 0) return;
      Sent += static_cast<std::size_t>(Put);
    }
  }

  int FListener = -1;
  int FPort = 0;
  std::thread FThread;
  mutable std::mutex FLock;
  std::map<std::string, TAnswer> FAnswers;
  std::vector<std::string> FRequests;
};

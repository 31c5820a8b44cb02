#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/net/WinInet.h"
#include "platform/net/WinInetModule.h"
#include "platform/system/Environment.h"
#include "tests/platform/net/LoopbackHttpServer.h"

namespace {

std::string Pattern(std::size_t Size) {
  std::string Body(Size, '\0');
  for (std::size_t I = 0; I < Size; ++I) Body[I] = static_cast<char>((I * 7 + I / 251) & 0xFF);
  return Body;
}

// A session, connection and request, closed in reverse order.
struct TRequest {
  HINTERNET Session = nullptr, Connection = nullptr, Request = nullptr;
  TRequest(const std::string& Server, INTERNET_PORT Port, const std::string& Object, DWORD Flags = 0,
           DWORD Access = INTERNET_OPEN_TYPE_DIRECT, const char* Proxy = nullptr, const char* User = nullptr,
           const char* Password = nullptr) {
    Session = InternetOpenA("TestAgent/1.0", Access, Proxy, nullptr, 0);
    Connection = InternetConnectA(Session, Server.c_str(), Port, User, Password, INTERNET_SERVICE_HTTP, 0, 0);
    Request = HttpOpenRequestA(Connection, "GET", Object.c_str(), "HTTP/1.1", nullptr, nullptr, Flags, 0);
  }
  ~TRequest() {
    for (HINTERNET Handle : {Request, Connection, Session})
      if (Handle) InternetCloseHandle(Handle);
  }
  bool Send() { return HttpSendRequestA(Request, nullptr, 0, nullptr, 0); }
  std::string Query(DWORD Level) {
    char Buffer[1024];
    DWORD Length = sizeof(Buffer);
    return HttpQueryInfoA(Request, Level, Buffer, &Length, nullptr) ? std::string(Buffer, Length) : "(none)";
  }
  std::string ReadAll(DWORD Piece = 1000) {
    std::string Body, Chunk(Piece, '\0');
    DWORD Read = 0;
    while (InternetReadFile(Request, Chunk.data(), Piece, &Read) && Read > 0) Body.append(Chunk.data(), Read);
    return Body;
  }
};

class WinInet : public ::testing::Test {
 protected:
  TLoopbackHttpServer Server;
  INTERNET_PORT Port() const { return static_cast<INTERNET_PORT>(Server.Port()); }
};

TEST(WinInetModule, HandsOutEveryFunctionByNameOnlyWhileLoaded) {
  EXPECT_EQ(InternetLoadLibrary("other.dll"), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
  HMODULE Module = InternetLoadLibrary("WinInet.DLL");
  ASSERT_NE(Module, nullptr);
  EXPECT_EQ(InternetGetProcAddress(Module, "InternetOpenA"), reinterpret_cast<FARPROC>(&InternetOpenA));
  EXPECT_EQ(InternetGetProcAddress(Module, "FtpOpenFileA"), reinterpret_cast<FARPROC>(&FtpOpenFileA));
  for (const char* Name : {"InternetCloseHandle", "InternetConnectA", "HttpOpenRequestA", "HttpSendRequestA",
                           "HttpQueryInfoA", "InternetReadFile", "InternetReadFileExA",
                           "InternetQueryOptionA", "InternetSetOptionA", "InternetGetLastResponseInfoA"})
    EXPECT_NE(InternetGetProcAddress(Module, Name), nullptr) << Name;
  EXPECT_EQ(InternetGetProcAddress(Module, "InternetOpenW"), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_PROC_NOT_FOUND);
  EXPECT_TRUE(InternetFreeLibrary(Module));
  EXPECT_EQ(InternetGetProcAddress(Module, "InternetOpenA"), nullptr);
  EXPECT_FALSE(InternetFreeLibrary(Module));
}

TEST_F(WinInet, GetsABodyWithItsHeadersAndSendsTheRequestAsAsked) {
  const std::string Body = Pattern(70000);
  Server.Serve("/dir/pic.bin", {200, "OK", {{"Content-Type", "image/png"}}, Body});
  TRequest Get("127.0.0.1", Port(), "/dir/pic.bin");
  ASSERT_TRUE(Get.Send());
  EXPECT_EQ(Get.Query(HTTP_QUERY_CONTENT_TYPE), "image/png");
  EXPECT_EQ(Get.Query(HTTP_QUERY_CONTENT_LENGTH), "70000");
  EXPECT_EQ(Get.Query(HTTP_QUERY_STATUS_CODE), "200");
  DWORD Status = 0, Size = sizeof(Status);
  ASSERT_TRUE(
      HttpQueryInfoA(Get.Request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &Status, &Size, nullptr));
  EXPECT_EQ(Status, 200u);
  EXPECT_EQ(Get.ReadAll(), Body);
  ASSERT_EQ(Server.Requests().size(), 1u);
  const std::string Head = Server.Requests()[0];
  EXPECT_EQ(Head.substr(0, Head.find("\r\n")), "GET /dir/pic.bin HTTP/1.1");
  EXPECT_NE(Head.find("User-Agent: TestAgent/1.0"), std::string::npos);
}

TEST_F(WinInet, NoWaitReadsHandOutWhatHasArrivedAndZeroOnlyAtTheEnd) {
  const std::string Body = Pattern(200000);
  Server.Serve("/big", {200, "OK", {}, Body});
  TRequest Get("127.0.0.1", Port(), "/big");
  ASSERT_TRUE(Get.Send());
  std::string Got, Buffer(65536, '\0');
  for (;;) {
    INTERNET_BUFFERSA Record;
    Record.dwStructSize = sizeof(Record);
    Record.lpvBuffer = Buffer.data();
    Record.dwBufferLength = 65536;
    ASSERT_TRUE(InternetReadFileExA(Get.Request, &Record, IRF_NO_WAIT, 0));
    ASSERT_LE(Record.dwBufferLength, 65536u);
    if (Record.dwBufferLength == 0) break;
    Got.append(Buffer.data(), Record.dwBufferLength);
  }
  EXPECT_EQ(Got, Body);
  INTERNET_BUFFERSA Wrong;
  Wrong.dwStructSize = 40;
  EXPECT_FALSE(InternetReadFileExA(Get.Request, &Wrong, IRF_NO_WAIT, 0));
}

TEST_F(WinInet, FollowsRedirectsAndStopsALoopAtTheLimit) {
  Server.Serve("/old", {302, "Found", {{"Location", "/new"}}, ""});
  Server.Serve("/new", {200, "OK", {{"Content-Type", "image/gif"}}, "GIF89a"});
  Server.Serve("/loop", {302, "Found", {{"Location", "/loop"}}, "again"});
  {
    TRequest Moved("127.0.0.1", Port(), "/old");
    ASSERT_TRUE(Moved.Send());
    EXPECT_EQ(Moved.Query(HTTP_QUERY_STATUS_CODE), "200");
    EXPECT_EQ(Moved.Query(HTTP_QUERY_CONTENT_TYPE), "image/gif");
    EXPECT_EQ(Moved.ReadAll(), "GIF89a");
  }
  const std::size_t Before = Server.Requests().size();
  TRequest Loop("127.0.0.1", Port(), "/loop");
  EXPECT_FALSE(Loop.Send());
  EXPECT_EQ(GetLastError(), ERROR_HTTP_REDIRECT_FAILED);
  EXPECT_EQ(Server.Requests().size() - Before, INTERNET_MAX_REDIRECTS + 1);
  DWORD Read = 0;
  char Byte;
  EXPECT_FALSE(InternetReadFile(Loop.Request, &Byte, 1, &Read));
  EXPECT_EQ(Read, 0u);

  TRequest Kept("127.0.0.1", Port(), "/old", INTERNET_FLAG_NO_AUTO_REDIRECT);
  ASSERT_TRUE(Kept.Send());
  EXPECT_EQ(Kept.Query(HTTP_QUERY_STATUS_CODE), "302");
  EXPECT_EQ(Kept.Query(HTTP_QUERY_LOCATION), "/new");
}

TEST_F(WinInet, AnErrorStatusIsAnAnswerWithABody) {
  TRequest Missing("127.0.0.1", Port(), "/missing.png");
  ASSERT_TRUE(Missing.Send());
  EXPECT_EQ(Missing.Query(HTTP_QUERY_STATUS_CODE), "404");
  EXPECT_EQ(Missing.Query(HTTP_QUERY_STATUS_TEXT), "Not Found");
  EXPECT_EQ(Missing.ReadAll(), "<html>no such page</html>");
}

TEST_F(WinInet, QueriesReportShortBuffersMissingHeadersAndUnsentRequests) {
  Server.Serve("/p", {200, "OK", {{"Content-Type", "image/jpeg"}}, "x"});
  TRequest Get("127.0.0.1", Port(), "/p");
  char Buffer[64];
  DWORD Length = sizeof(Buffer);
  EXPECT_FALSE(HttpQueryInfoA(Get.Request, HTTP_QUERY_CONTENT_TYPE, Buffer, &Length, nullptr));
  EXPECT_EQ(GetLastError(), ERROR_INTERNET_INCORRECT_HANDLE_STATE);
  ASSERT_TRUE(Get.Send());
  Length = 5;
  EXPECT_FALSE(HttpQueryInfoA(Get.Request, HTTP_QUERY_CONTENT_TYPE, Buffer, &Length, nullptr));
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  EXPECT_EQ(Length, 11u);  // "image/jpeg" and its zero
  Length = sizeof(Buffer);
  EXPECT_FALSE(HttpQueryInfoA(Get.Request, HTTP_QUERY_LOCATION, Buffer, &Length, nullptr));
  EXPECT_EQ(GetLastError(), ERROR_HTTP_HEADER_NOT_FOUND);
  EXPECT_FALSE(HttpQueryInfoA(Get.Connection, HTTP_QUERY_CONTENT_TYPE, Buffer, &Length, nullptr));
  EXPECT_EQ(GetLastError(), ERROR_INTERNET_INCORRECT_HANDLE_TYPE);
}

TEST_F(WinInet, SecurityFlagsStartFromTheRequestFlagsAndCanBeWidened) {
  TRequest Secure("127.0.0.1", Port(), "/", 0x84C0F000);
  DWORD Flags = 0, Size = sizeof(Flags);
  ASSERT_TRUE(InternetQueryOptionA(Secure.Request, INTERNET_OPTION_SECURITY_FLAGS, &Flags, &Size));
  EXPECT_EQ(Flags, SECURITY_FLAG_SECURE | SECURITY_FLAG_IGNORE_CERT_CN_INVALID |
                       SECURITY_FLAG_IGNORE_CERT_DATE_INVALID);
  Flags |= 0x380;
  ASSERT_TRUE(InternetSetOptionA(Secure.Request, INTERNET_OPTION_SECURITY_FLAGS, &Flags, sizeof(Flags)));
  DWORD Again = 0;
  ASSERT_TRUE(InternetQueryOptionA(Secure.Request, INTERNET_OPTION_SECURITY_FLAGS, &Again, &Size));
  EXPECT_EQ(Again, Flags);
  Size = 2;
  EXPECT_FALSE(InternetQueryOptionA(Secure.Request, INTERNET_OPTION_SECURITY_FLAGS, &Again, &Size));
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  EXPECT_EQ(Size, 4u);
  EXPECT_FALSE(InternetQueryOptionA(Secure.Request, 2, &Again, &Size));
  EXPECT_EQ(GetLastError(), ERROR_INTERNET_INVALID_OPTION);
}

TEST_F(WinInet, ANamedProxyGetsTheWholeAddressAndTheConnectionCredentials) {
  Server.Serve("/pic.png", {200, "OK", {}, "proxied"});
  const std::string Proxy = "127.0.0.1:" + std::to_string(Server.Port());
  TRequest Get("pictures.invalid", 8080, "/pic.png", 0, INTERNET_OPEN_TYPE_PROXY, Proxy.c_str(), "ann",
               "secret");
  ASSERT_TRUE(Get.Send());
  EXPECT_EQ(Get.ReadAll(), "proxied");
  ASSERT_EQ(Server.Requests().size(), 1u);
  const std::string Head = Server.Requests()[0];
  EXPECT_EQ(Head.substr(0, Head.find("\r\n")), "GET http://pictures.invalid:8080/pic.png HTTP/1.1");
  EXPECT_NE(Head.find("Authorization: Basic YW5uOnNlY3JldA=="), std::string::npos);  // ann:secret
}

TEST_F(WinInet, DirectAccessIgnoresTheEnvironmentsProxy) {
  Server.Serve("/d", {200, "OK", {}, "direct"});
  const std::string Saved = GetEnvironmentVariable("http_proxy");
  SetEnvironmentVariable("http_proxy", "http://127.0.0.1:9");
  TRequest Get("127.0.0.1", Port(), "/d");
  const bool Sent = Get.Send();
  if (Saved.empty())
    SetEnvironmentVariable("http_proxy", nullptr);
  else
    SetEnvironmentVariable("http_proxy", Saved);
  ASSERT_TRUE(Sent);
  EXPECT_EQ(Get.ReadAll(), "direct");
}

TEST_F(WinInet, AServerThatIsNotThereFailsTheSendWithAReason) {
  INTERNET_PORT Closed = 0;
  {
    TLoopbackHttpServer Gone;
    Closed = static_cast<INTERNET_PORT>(Gone.Port());
  }
  TRequest Get("127.0.0.1", Closed, "/");
  EXPECT_FALSE(Get.Send());
  EXPECT_EQ(GetLastError(), ERROR_INTERNET_CANNOT_CONNECT);
  DWORD Error = 0, Length = 0;
  EXPECT_FALSE(InternetGetLastResponseInfoA(&Error, nullptr, &Length));
  EXPECT_GT(Length, 1u);
  std::string Text(Length, '\0');
  ASSERT_TRUE(InternetGetLastResponseInfoA(&Error, Text.data(), &Length));
  EXPECT_EQ(Error, ERROR_INTERNET_CANNOT_CONNECT);
  EXPECT_EQ(Length, Text.size() - 1);
}

TEST(WinInetFtp, AServerThatIsNotThereOpensNoFile) {
  INTERNET_PORT Closed = 0;
  {
    TLoopbackHttpServer Gone;
    Closed = static_cast<INTERNET_PORT>(Gone.Port());
  }
  HINTERNET Session = InternetOpenA("a", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
  HINTERNET Ftp =
      InternetConnectA(Session, "127.0.0.1", Closed, "anonymous", "x", INTERNET_SERVICE_FTP, 0, 0);
  ASSERT_NE(Ftp, nullptr);  // the connection itself makes no contact
  EXPECT_EQ(FtpOpenFileA(Ftp, "pic.png", GENERIC_READ, FTP_TRANSFER_TYPE_BINARY, 0), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INTERNET_CANNOT_CONNECT);
  InternetCloseHandle(Ftp);
  InternetCloseHandle(Session);
}

TEST(WinInetHandles, WrongOrClosedHandlesAreRefused) {
  int NotAHandle = 0;
  EXPECT_FALSE(InternetCloseHandle(&NotAHandle));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  HINTERNET Session = InternetOpenA("a", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
  ASSERT_NE(Session, nullptr);
  EXPECT_EQ(HttpOpenRequestA(Session, "GET", "/", nullptr, nullptr, nullptr, 0, 0), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INTERNET_INCORRECT_HANDLE_TYPE);
  HINTERNET Ftp = InternetConnectA(Session, "127.0.0.1", 21, nullptr, nullptr, INTERNET_SERVICE_FTP, 0, 0);
  ASSERT_NE(Ftp, nullptr);
  EXPECT_EQ(HttpOpenRequestA(Ftp, "GET", "/", nullptr, nullptr, nullptr, 0, 0), nullptr);
  EXPECT_EQ(FtpOpenFileA(Ftp, "a.png", 0x40000000, FTP_TRANSFER_TYPE_BINARY, 0), nullptr);  // writing
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_TRUE(InternetCloseHandle(Session));
  EXPECT_TRUE(InternetCloseHandle(Ftp));  // a child outlives its closed parent
  EXPECT_FALSE(InternetCloseHandle(Session));
  EXPECT_EQ(InternetConnectA(Session, "h", 80, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_EQ(InternetOpenA("a", INTERNET_OPEN_TYPE_PROXY, "", nullptr, 0), nullptr);
}

}  // namespace

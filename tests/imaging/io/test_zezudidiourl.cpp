// Pictures from internet addresses: what the download asks of the internet library (through
// stand-in functions), and whole loads from a loopback HTTP server.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/io/iefileformats.h"
#include "imaging/io/ieiolibrary.h"
#include "imaging/io/zezudidio.h"
#include "imaging/io/zezudidioparams.h"
#include "imaging/io/zezudidiourl.h"
#include "platform/system/Object.h"
#include "platform/system/Streams.h"
#include "tests/platform/net/LoopbackHttpServer.h"

namespace {

// ---- Stand-ins for the internet library that record what they were asked ----------------

struct TFakeNet {
  std::vector<std::string> Calls;
  DWORD Access = 0;
  std::string Agent, Proxy, Host, User, Password, Verb, Object, Version, FtpFile;
  INTERNET_PORT Port = 0;
  DWORD Service = 0, Flags = 0, SecurityWritten = 0, FtpAccess = 0, FtpFlags = 0;
  std::string ContentType = "image/png", ContentLength;
  std::string Body;
  std::size_t Offset = 0;
  std::vector<DWORD> ReadRequests;
};
TFakeNet* Fake = nullptr;

HINTERNET const SessionHandle = reinterpret_cast<HINTERNET>(1);
HINTERNET const ConnectionHandle = reinterpret_cast<HINTERNET>(2);
HINTERNET const RequestHandle = reinterpret_cast<HINTERNET>(3);

std::string Text(LPCSTR S) {
  return S ? S : "(null)";
}

DWORD Serve(LPVOID Buffer, DWORD Count) {
  const DWORD Piece = static_cast<DWORD>(std::min<std::size_t>(Count, Fake->Body.size() - Fake->Offset));
  std::memcpy(Buffer, Fake->Body.data() + Fake->Offset, Piece);
  Fake->Offset += Piece;
  return Piece;
}

TIEWinInetProcs FakeProcs() {
  TIEWinInetProcs P;
  P.InternetOpenA = [](LPCSTR Agent, DWORD Access, LPCSTR Proxy, LPCSTR, DWORD) -> HINTERNET {
    Fake->Calls.push_back("open");
    Fake->Agent = Text(Agent), Fake->Access = Access, Fake->Proxy = Text(Proxy);
    return SessionHandle;
  };
  P.InternetConnectA = [](HINTERNET, LPCSTR Host, INTERNET_PORT Port, LPCSTR User, LPCSTR Password,
                          DWORD Service, DWORD, DWORD_PTR) -> HINTERNET {
    Fake->Calls.push_back("connect");
    Fake->Host = Text(Host), Fake->Port = Port, Fake->User = Text(User), Fake->Password = Text(Password);
    Fake->Service = Service;
    return ConnectionHandle;
  };
  P.HttpOpenRequestA = [](HINTERNET, LPCSTR Verb, LPCSTR Object, LPCSTR Version, LPCSTR, LPCSTR*, DWORD Flags,
                          DWORD_PTR) -> HINTERNET {
    Fake->Calls.push_back("request");
    Fake->Verb = Text(Verb), Fake->Object = Text(Object), Fake->Version = Text(Version), Fake->Flags = Flags;
    return RequestHandle;
  };
  P.InternetQueryOptionA = [](HINTERNET, DWORD, LPVOID Buffer, LPDWORD) -> BOOL {
    *static_cast<DWORD*>(Buffer) = 0x3000;
    return TRUE;
  };
  P.InternetSetOptionA = [](HINTERNET, DWORD Option, LPVOID Buffer, DWORD) -> BOOL {
    if (Option == INTERNET_OPTION_SECURITY_FLAGS) Fake->SecurityWritten = *static_cast<DWORD*>(Buffer);
    return TRUE;
  };
  P.HttpSendRequestA = [](HINTERNET, LPCSTR, DWORD, LPVOID, DWORD) -> BOOL {
    Fake->Calls.push_back("send");
    return TRUE;
  };
  P.HttpQueryInfoA = [](HINTERNET, DWORD Level, LPVOID Buffer, LPDWORD Length, LPDWORD) -> BOOL {
    if (Level == (HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER)) {
      *static_cast<DWORD*>(Buffer) = 200;
      return TRUE;
    }
    const std::string& Answer = Level == HTTP_QUERY_CONTENT_TYPE ? Fake->ContentType : Fake->ContentLength;
    if (Answer.empty()) return FALSE;
    std::memcpy(Buffer, Answer.c_str(), Answer.size() + 1);
    *Length = static_cast<DWORD>(Answer.size());
    return TRUE;
  };
  P.InternetReadFile = [](HINTERNET, LPVOID Buffer, DWORD Count, LPDWORD Read) -> BOOL {
    Fake->ReadRequests.push_back(Count);
    *Read = Serve(Buffer, Count);
    return TRUE;
  };
  P.InternetReadFileExA = [](HINTERNET, LPINTERNET_BUFFERSA Record, DWORD, DWORD_PTR) -> BOOL {
    Fake->ReadRequests.push_back(Record->dwBufferLength);
    Record->dwBufferLength = Serve(Record->lpvBuffer, std::min<DWORD>(Record->dwBufferLength, 50000));
    return TRUE;
  };
  P.FtpOpenFileA = [](HINTERNET, LPCSTR File, DWORD Access, DWORD Flags, DWORD_PTR) -> HINTERNET {
    Fake->Calls.push_back("ftp");
    Fake->FtpFile = Text(File), Fake->FtpAccess = Access, Fake->FtpFlags = Flags;
    return RequestHandle;
  };
  P.InternetCloseHandle = [](HINTERNET Handle) -> BOOL {
    Fake->Calls.push_back("close" + std::to_string(reinterpret_cast<std::uintptr_t>(Handle)));
    return TRUE;
  };
  P.InternetGetLastResponseInfoA = [](LPDWORD, LPSTR, LPDWORD) -> BOOL { return FALSE; };
  return P;
}

class TUrlRequestTest : public ::testing::Test {
 protected:
  TUrlRequestTest() {
    Fake = &Net;
    Saved = IEWinInet;
    IEWinInet = FakeProcs();
  }
  ~TUrlRequestTest() override {
    IEWinInet = Saved;
    Fake = nullptr;
  }
  bool Get(const std::u16string& URL, const std::u16string& Proxy = u"",
           const std::u16string& ProxyUser = u"", const std::u16string& ProxyPassword = u"") {
    return IEGetFromURL(URL, &Stream, Proxy, ProxyUser, ProxyPassword, {}, nullptr, nullptr, FileExt);
  }
  TFakeNet Net;
  TIEWinInetProcs Saved;
  TMemoryStream Stream;
  std::string FileExt = "unset";
};

TEST_F(TUrlRequestTest, PortsAndPathsComeFromTheAddressOrTheScheme) {
  struct TCase {
    std::u16string URL;
    INTERNET_PORT Port;
    DWORD Service;
    std::string Host, Path;
  } Cases[] = {
      {u"http://host.example/a/b.png", 80, INTERNET_SERVICE_HTTP, "host.example", "/a/b.png"},
      {u"HTTPS://host.example/b.png", 443, INTERNET_SERVICE_HTTP, "host.example", "/b.png"},
      {u"ftp://host.example/pub/C.PNG", 21, INTERNET_SERVICE_FTP, "host.example", "pub/C.PNG"},
      {u"http://host.example:8080/x", 8080, INTERNET_SERVICE_HTTP, "host.example", "/x"},
      {u"https://host.example:abc/x", 80, INTERNET_SERVICE_HTTP, "host.example", "/x"},
      {u"ftp://host.example:abc/x.gif", 80, INTERNET_SERVICE_FTP, "host.example", "x.gif"},
      {u"http://host.example:65616/x", 80, INTERNET_SERVICE_HTTP, "host.example", "/x"},  // as 16 bits
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(std::string(Case.URL.begin(), Case.URL.end()));
    Net = {};
    ASSERT_TRUE(Get(Case.URL));
    EXPECT_EQ(Net.Port, Case.Port);
    EXPECT_EQ(Net.Service, Case.Service);
    EXPECT_EQ(Net.Host, Case.Host);
    EXPECT_EQ(Case.Service == INTERNET_SERVICE_FTP ? Net.FtpFile : Net.Object, Case.Path);
  }
}

TEST_F(TUrlRequestTest, HttpRequestsUseTheFixedFlagsAndWidenTheSecurityFlags) {
  ASSERT_TRUE(Get(u"http://h/p"));
  EXPECT_EQ(Net.Agent, "Mozilla/4.*");
  EXPECT_EQ(Net.Access, INTERNET_OPEN_TYPE_DIRECT);
  EXPECT_EQ(Net.Verb, "GET");
  EXPECT_EQ(Net.Version, "HTTP/1.1");
  EXPECT_EQ(Net.Flags, 0x84400000u);
  EXPECT_EQ(Net.SecurityWritten, 0x3000u | 0x380u);
  EXPECT_EQ(FileExt, "png");
  ASSERT_TRUE(Get(u"https://h/p"));
  EXPECT_EQ(Net.Flags, 0x84C0F000u);
  // Request, connection, internet handle: closed in that order.
  const std::vector<std::string> Tail(Net.Calls.end() - 3, Net.Calls.end());
  EXPECT_EQ(Tail, (std::vector<std::string>{"close3", "close2", "close1"}));
}

TEST_F(TUrlRequestTest, FtpOpensTheFileForBinaryReadingAndNamesItsExtension) {
  Net.Body = std::string(3000, 'f');
  ASSERT_TRUE(Get(u"ftp://h/dir/PICTURE.PNG"));
  EXPECT_EQ(Net.FtpAccess, 0x80000000u);
  EXPECT_EQ(Net.FtpFlags, 2u);
  EXPECT_EQ(FileExt, "png");
  EXPECT_EQ(Stream.GetSize(), 3000);
  // No length is known: pieces of 1,024 bytes until a read delivers nothing.
  EXPECT_EQ(Net.ReadRequests, (std::vector<DWORD>{1024, 1024, 1024, 1024}));
  ASSERT_TRUE(Get(u"ftp://h/archive.verylongextension"));
  EXPECT_EQ(FileExt, "verylongex");
}

TEST_F(TUrlRequestTest, CredentialsComeFromTheAddressOrInTheirPlaceFromTheProxy) {
  ASSERT_TRUE(Get(u"http://ann:secret@h:81/p"));
  EXPECT_EQ(Net.User, "ann");
  EXPECT_EQ(Net.Password, "secret");
  EXPECT_EQ(Net.Host, "h");
  EXPECT_EQ(Net.Port, 81);
  ASSERT_TRUE(Get(u"http://ann:secret@h/p", u"proxy.example:3128", u"puser", u"ppass"));
  EXPECT_EQ(Net.Access, INTERNET_OPEN_TYPE_PROXY);
  EXPECT_EQ(Net.Proxy, "proxy.example:3128");
  EXPECT_EQ(Net.User, "puser");
  EXPECT_EQ(Net.Password, "ppass");
}

TEST_F(TUrlRequestTest, AddressesThatCannotBeParsedFailBeforeAnyCall) {
  for (const char16_t* URL : {u"http://host.example", u"http://ann@h/p", u"http://ann@h:80/p",
                              u"gopher://h/p", u"c:/pictures/a.png"}) {
    Net = {};
    EXPECT_FALSE(Get(URL));
    EXPECT_TRUE(Net.Calls.empty());
  }
  EXPECT_EQ(Stream.GetSize(), 0);
  EXPECT_EQ(FileExt, "unset");
}

// Records progress and sets the abort flag from a chosen percentage on.
struct TProgressLog : TObject {
  std::vector<Integer> Seen;
  Integer AbortFrom = 1000;
  bool Abort = false;
  void Progress(TObject*, Integer Percent) {
    Seen.push_back(Percent);
    if (Percent >= AbortFrom) Abort = true;
  }
};

TEST_F(TUrlRequestTest, AKnownLengthIsReadInWholeBuffersWithRisingProgressUntilAborted) {
  Net.Body = std::string(200000, 'b');
  Net.ContentLength = "200000";
  TProgressLog Log;
  ASSERT_TRUE(IEGetFromURL(u"http://h/p", &Stream, u"", u"", u"",
                           TIEProgressEvent(&Log, &TProgressLog::Progress), nullptr, &Log.Abort, FileExt));
  EXPECT_EQ(Stream.GetSize(), 200000);
  EXPECT_EQ(Log.Seen, (std::vector<Integer>{25, 50, 75, 100}));
  EXPECT_EQ(Net.ReadRequests, (std::vector<DWORD>{65536, 65536, 65536, 65536}));

  Net.Offset = 0;
  TMemoryStream Partial;
  TProgressLog Stopper;
  Stopper.AbortFrom = 50;
  ASSERT_TRUE(IEGetFromURL(u"http://h/p", &Partial, u"", u"", u"",
                           TIEProgressEvent(&Stopper, &TProgressLog::Progress), nullptr, &Stopper.Abort,
                           FileExt));
  EXPECT_EQ(Partial.GetSize(), 100000);  // stopped after the piece that set the flag
}

TEST_F(TUrlRequestTest, AnUnboundLibraryAnswersFalse) {
  IEWinInet = {};
  EXPECT_FALSE(Get(u"http://h/p"));
}

// ---- Whole loads from a loopback server -----------------------------------------------------

// A component whose picture was loaded before, with a log of its progress and finish events.
class TUrlLoadTest : public ::testing::Test {
 protected:
  TUrlLoadTest() {
    InitFileFormats();
    IEFreeWinInet();
    IELoadWinInet();
    TZezudIdIO Writer(nullptr);
    Writer.GetIEBitmap()->Allocate(7, 5, ie24RGB);
    Writer.GetIEBitmap()->Fill(0x336699);
    Writer.SaveToStream(&Picture, ioPCX);
    Corner = Writer.GetIEBitmap()->GetPixel24(6, 4);
    IO.GetIEBitmap()->Allocate(3, 2, ie24RGB);
    IO.SetOnFinishWork(TNotifyEvent(this, &TUrlLoadTest::Finished));
    IO.SetOnProgress(TIEProgressEvent(&Log, &TProgressLog::Progress));
  }
  ~TUrlLoadTest() override {
    IEFreeWinInet();
    FreeFileFormats();
  }
  void Finished(TObject*) { ++Finishes; }
  std::string PictureBytes() {
    return std::string(static_cast<const char*>(Picture.GetMemory()),
                       static_cast<std::size_t>(Picture.GetSize()));
  }
  bool KeptOldPicture() const {
    return IO.GetIEBitmap()->GetWidth() == 3 && IO.GetIEBitmap()->GetHeight() == 2;
  }

  TLoopbackHttpServer Server;
  TMemoryStream Picture;
  TZezudIdIO IO{nullptr};
  TProgressLog Log;
  Integer Finishes = 0;
  TIERGBTriple Corner{};
};

std::u16string Wide(const std::string& S) {
  return std::u16string(S.begin(), S.end());
}

TEST_F(TUrlLoadTest, AnAddressLoadsThePictureByContent) {
  Server.Serve("/pictures/tile.jpg", {200, "OK", {{"Content-Type", "image/jpeg"}}, PictureBytes()});
  IO.LoadFromFile(Wide(Server.Url("/pictures/tile.jpg")));
  EXPECT_FALSE(IO.GetAborting());
  EXPECT_EQ(IO.GetIEBitmap()->GetWidth(), 7);
  EXPECT_EQ(IO.GetIEBitmap()->GetHeight(), 5);
  EXPECT_TRUE(IO.GetIEBitmap()->GetPixel24(6, 4) == Corner);
  EXPECT_EQ(IO.GetParams()->FileType, ioPCX);
  ASSERT_FALSE(Log.Seen.empty());
  EXPECT_EQ(Log.Seen.back(), 100);
  EXPECT_GE(Finishes, 1);
}

TEST_F(TUrlLoadTest, RedirectsAndAnUnknownLengthStillLoad) {
  Server.Serve("/old", {301, "Moved", {{"Location", "/new"}}, ""});
  Server.Serve("/new", {200, "OK", {}, PictureBytes(), false});
  IO.LoadFromURL(Wide(Server.Url("/old")));
  EXPECT_FALSE(IO.GetAborting());
  EXPECT_EQ(IO.GetIEBitmap()->GetWidth(), 7);
}

TEST_F(TUrlLoadTest, FailedDownloadsAbortAndKeepTheOldPicture) {
  Server.Serve("/loop", {302, "Found", {{"Location", "/loop"}}, ""});
  // An error answer is no picture, even when its body would be one.
  Server.Serve("/gone.bmp", {404, "Not Found", {}, PictureBytes()});
  Server.Serve("/page", {200, "OK", {{"Content-Type", "text/html"}}, "<html></html>"});
  INTERNET_PORT Closed = 0;
  {
    TLoopbackHttpServer Gone;
    Closed = static_cast<INTERNET_PORT>(Gone.Port());
  }
  const std::string Unreachable = "http://127.0.0.1:" + std::to_string(Closed) + "/a.bmp";
  for (const std::string& URL : {Server.Url("/loop"), Server.Url("/gone.bmp"), Server.Url("/page"),
                                 Unreachable, std::string("http://127.0.0.1")}) {
    SCOPED_TRACE(URL);
    IO.SetAborting(false);
    Finishes = 0;
    IO.LoadFromFile(Wide(URL));
    EXPECT_TRUE(IO.GetAborting());
    EXPECT_TRUE(KeptOldPicture());
    EXPECT_EQ(Finishes, 1);
  }
}

TEST_F(TUrlLoadTest, TheProxyGetsTheWholeAddress) {
  Server.Serve("/p.bmp", {200, "OK", {}, PictureBytes()});
  IO.SetProxyAddress(Wide("127.0.0.1:" + std::to_string(Server.Port())));
  IO.LoadFromURL(u"http://pictures.invalid/p.bmp");
  EXPECT_FALSE(IO.GetAborting());
  EXPECT_EQ(IO.GetIEBitmap()->GetWidth(), 7);
  ASSERT_EQ(Server.Requests().size(), 1u);
  EXPECT_EQ(Server.Requests()[0].substr(0, Server.Requests()[0].find("\r\n")),
            "GET http://pictures.invalid/p.bmp HTTP/1.1");
}

TEST(UrlLibrary, TheIOStartUpBindsTheLibraryAndTheShutDownReleasesIt) {
  IOLibraryInitialize();
  EXPECT_NE(IEWinInetModule, nullptr);
  EXPECT_EQ(IEWinInet.HttpSendRequestA, &HttpSendRequestA);
  EXPECT_EQ(IEWinInet.FtpOpenFileA, &FtpOpenFileA);
  IOLibraryFinalize();
  EXPECT_EQ(IEWinInetModule, nullptr);
  EXPECT_EQ(IEWinInet.InternetOpenA, nullptr);
}

}  // namespace

// Pictures from internet addresses: the library binding, the download and the component's
// LoadFromURL.
#include "imaging/io/zezudidiourl.h"

#include <atomic>
#include <vector>

#include "imaging/core/ieutilstext.h"
#include "imaging/io/zezudidio.h"
#include "platform/net/WinInetModule.h"
#include "platform/system/Streams.h"
#include "platform/system/Strings.h"

HMODULE IEWinInetModule = nullptr;
TIEWinInetProcs IEWinInet;

namespace {

constexpr const char* UserAgent = "Mozilla/4.*";
constexpr DWORD HttpRequestFlags =
    INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_KEEP_CONNECTION;
constexpr DWORD HttpsRequestFlags =
    HttpRequestFlags | INTERNET_FLAG_SECURE | INTERNET_FLAG_IGNORE_CERT_CN_INVALID |
    INTERNET_FLAG_IGNORE_CERT_DATE_INVALID | INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTP |
    INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS;
constexpr DWORD WaivedSecurityChecks =
    SECURITY_FLAG_IGNORE_REVOCATION | SECURITY_FLAG_IGNORE_UNKNOWN_CA | SECURITY_FLAG_IGNORE_WRONG_USAGE;
constexpr DWORD TransferBufferSize = 65536;
constexpr DWORD UnknownLengthPiece = 1024;

template <typename T>
void Bind(T& Pointer, const char* Name) {
  Pointer = reinterpret_cast<T>(InternetGetProcAddress(IEWinInetModule, Name));
}

// What an address names: the parts IEGetFromURL connects with.
struct TIEAddress {
  Integer Scheme = 0;  // 1 http, 2 https, 3 ftp
  std::string Host, Path, UserName, Password;
  INTERNET_PORT Port = 0;
};

bool ParseAddress(const std::u16string& URL, TIEAddress& Address) {
  Address.Scheme = IEGetURLTypeW(URL);
  static constexpr std::size_t PrefixLength[] = {0, 7, 8, 6};
  if (Address.Scheme == 0) return false;
  const std::string Rest = Utf16ToUtf8(std::u16string_view(URL).substr(PrefixLength[Address.Scheme]));
  const std::size_t Slash = Rest.find('/');
  if (Slash == std::string::npos) return false;
  std::string HostPart = Rest.substr(0, Slash);
  Address.Path = Rest.substr(Slash);
  const std::size_t At = HostPart.find('@');
  if (At != std::string::npos) {
    // "user:password@": a ':' of the port after the '@' is no password separator.
    const std::size_t Colon = HostPart.find(':');
    if (Colon == std::string::npos || Colon > At) return false;
    Address.UserName = HostPart.substr(0, Colon);
    Address.Password = HostPart.substr(Colon + 1, At - Colon - 1);
    HostPart.erase(0, At + 1);
  }
  const std::size_t Colon = HostPart.find(':');
  if (Colon != std::string::npos) {
    // Text that is no number gives 80 whatever the scheme.
    Address.Port = static_cast<INTERNET_PORT>(IEStrToIntDef(HostPart.substr(Colon + 1), 80));
    HostPart.resize(Colon);
  } else {
    static constexpr INTERNET_PORT DefaultPort[] = {0, INTERNET_DEFAULT_HTTP_PORT,
                                                    INTERNET_DEFAULT_HTTPS_PORT, INTERNET_DEFAULT_FTP_PORT};
    Address.Port = DefaultPort[Address.Scheme];
  }
  Address.Host = HostPart;
  return true;
}

// The request, connection and internet handles, closed in that order whatever happens.
struct TIEInternetHandles {
  HINTERNET Internet = nullptr, Connection = nullptr, Request = nullptr;
  ~TIEInternetHandles() {
    for (HINTERNET Handle : {Request, Connection, Internet})
      if (Handle) IEWinInet.InternetCloseHandle(Handle);
  }
};

// The flag may be set from another thread (the component's Aborting).
bool Aborted(bool* AbortFlag) {
  return AbortFlag && std::atomic_ref<bool>(*AbortFlag).load();
}

// Sends the request and reads its headers: FileExt from the content type, the total length
// (0 when unknown). False when nothing usable came back.
bool SendHttpRequest(HINTERNET Request, std::vector<char>& Buffer, std::string& FileExt,
                     Integer& TotalLength) {
  DWORD Security = 0, Size = sizeof(Security);
  IEWinInet.InternetQueryOptionA(Request, INTERNET_OPTION_SECURITY_FLAGS, &Security, &Size);
  Security |= WaivedSecurityChecks;
  IEWinInet.InternetSetOptionA(Request, INTERNET_OPTION_SECURITY_FLAGS, &Security, sizeof(Security));
  // An answer that never came (no server, a redirect loop) or an error page is no picture.
  if (!IEWinInet.HttpSendRequestA(Request, nullptr, 0, nullptr, 0)) return false;
  DWORD Status = 0;
  Size = sizeof(Status);
  if (IEWinInet.HttpQueryInfoA(Request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &Status, &Size,
                               nullptr) &&
      Status >= 400)
    return false;
  FileExt.clear();
  Size = TransferBufferSize;
  if (IEWinInet.HttpQueryInfoA(Request, HTTP_QUERY_CONTENT_TYPE, Buffer.data(), &Size, nullptr)) {
    const std::string Type(Buffer.data(), Size);
    const std::size_t Slash = Type.find('/');
    if (Slash != std::string::npos) FileExt = Type.substr(Slash + 1);
  }
  Size = TransferBufferSize;
  TotalLength = 0;
  if (IEWinInet.HttpQueryInfoA(Request, HTTP_QUERY_CONTENT_LENGTH, Buffer.data(), &Size, nullptr))
    TotalLength = IEStrToIntDef(std::string_view(Buffer.data(), Size), 0);
  return true;
}

// A known length: whole buffers of what has arrived, with progress.
void ReadKnownLength(HINTERNET Request, std::vector<char>& Buffer, Integer TotalLength, TMemoryStream* Stream,
                     const TIEProgressEvent& OnProgress, TObject* Sender, bool* AbortFlag) {
  do {
    INTERNET_BUFFERSA Piece;
    Piece.dwStructSize = sizeof(Piece);
    Piece.lpvBuffer = Buffer.data();
    Piece.dwBufferLength = TransferBufferSize;
    if (!IEWinInet.InternetReadFileExA(Request, &Piece, IRF_NO_WAIT, 0) || Piece.dwBufferLength == 0) break;
    Stream->Write(Buffer.data(), static_cast<Integer>(Piece.dwBufferLength));
    // In whole numbers: a fraction of 100 in floating point would end a whole download at 99.
    if (OnProgress) OnProgress(Sender, static_cast<Integer>(Stream->GetSize() * 100 / TotalLength));
  } while (Stream->GetSize() < TotalLength && !Aborted(AbortFlag));
}

// No usable length: small pieces until a read delivers nothing.
void ReadUnknownLength(HINTERNET Request, std::vector<char>& Buffer, TMemoryStream* Stream, bool* AbortFlag) {
  DWORD Read = 0;
  do {
    Read = 0;
    IEWinInet.InternetReadFile(Request, Buffer.data(), UnknownLengthPiece, &Read);
    if (Read > 0) Stream->Write(Buffer.data(), static_cast<Integer>(Read));
  } while (Read > 0 && !Aborted(AbortFlag));
}

}  // namespace

void IELoadWinInet() {
  if (IEWinInetModule) return;
  IEWinInetModule = InternetLoadLibrary("wininet.dll");
  if (!IEWinInetModule) return;
  Bind(IEWinInet.InternetOpenA, "InternetOpenA");
  Bind(IEWinInet.InternetCloseHandle, "InternetCloseHandle");
  Bind(IEWinInet.InternetConnectA, "InternetConnectA");
  Bind(IEWinInet.HttpOpenRequestA, "HttpOpenRequestA");
  Bind(IEWinInet.HttpSendRequestA, "HttpSendRequestA");
  Bind(IEWinInet.HttpQueryInfoA, "HttpQueryInfoA");
  Bind(IEWinInet.InternetReadFile, "InternetReadFile");
  Bind(IEWinInet.InternetReadFileExA, "InternetReadFileExA");
  Bind(IEWinInet.InternetQueryOptionA, "InternetQueryOptionA");
  Bind(IEWinInet.InternetSetOptionA, "InternetSetOptionA");
  Bind(IEWinInet.InternetGetLastResponseInfoA, "InternetGetLastResponseInfoA");
  Bind(IEWinInet.FtpOpenFileA, "FtpOpenFileA");
}

void IEFreeWinInet() {
  if (!IEWinInetModule) return;
  InternetFreeLibrary(IEWinInetModule);
  IEWinInetModule = nullptr;
  // The functions went with the library: a download now fails instead of calling them.
  IEWinInet = {};
}

bool IEGetFromURL(const std::u16string& URL, TMemoryStream* Stream, const std::u16string& ProxyAddress,
                  const std::u16string& ProxyUser, const std::u16string& ProxyPassword,
                  TIEProgressEvent OnProgress, TObject* Sender, bool* AbortFlag, std::string& FileExt) {
  TIEAddress Address;
  if (!IEWinInet.InternetOpenA || !ParseAddress(URL, Address)) return false;
  const DWORD Service = Address.Scheme == 3 ? INTERNET_SERVICE_FTP : INTERNET_SERVICE_HTTP;
  TIEInternetHandles Handles;
  if (!ProxyAddress.empty()) {
    // Through a proxy the address's own user name and password are not used.
    const std::string Proxy = Utf16ToUtf8(ProxyAddress), User = Utf16ToUtf8(ProxyUser),
                      Password = Utf16ToUtf8(ProxyPassword);
    Handles.Internet =
        IEWinInet.InternetOpenA(UserAgent, INTERNET_OPEN_TYPE_PROXY, Proxy.c_str(), nullptr, 0);
    if (Handles.Internet)
      Handles.Connection = IEWinInet.InternetConnectA(Handles.Internet, Address.Host.c_str(), Address.Port,
                                                      User.c_str(), Password.c_str(), Service, 0, 0);
  } else {
    Handles.Internet = IEWinInet.InternetOpenA(UserAgent, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    if (Handles.Internet)
      Handles.Connection =
          IEWinInet.InternetConnectA(Handles.Internet, Address.Host.c_str(), Address.Port,
                                     Address.UserName.c_str(), Address.Password.c_str(), Service, 0, 0);
  }
  if (!Handles.Connection) return false;

  std::vector<char> Buffer;
  Integer TotalLength = 0;
  if (Service == INTERNET_SERVICE_HTTP) {
    Handles.Request =
        IEWinInet.HttpOpenRequestA(Handles.Connection, "GET", Address.Path.c_str(), "HTTP/1.1", nullptr,
                                   nullptr, Address.Scheme == 2 ? HttpsRequestFlags : HttpRequestFlags, 0);
    if (!Handles.Request) return false;
    Buffer.resize(TransferBufferSize);
    if (!SendHttpRequest(Handles.Request, Buffer, FileExt, TotalLength)) return false;
  } else {
    const std::string FileName = Address.Path.substr(1);
    Handles.Request = IEWinInet.FtpOpenFileA(Handles.Connection, FileName.c_str(), GENERIC_READ,
                                             FTP_TRANSFER_TYPE_BINARY, 0);
    if (!Handles.Request) return false;
    FileExt = IEExtractFileExt(FileName, false).substr(0, 10);
    Buffer.resize(TransferBufferSize);
  }
  if (TotalLength > 0)
    ReadKnownLength(Handles.Request, Buffer, TotalLength, Stream, OnProgress, Sender, AbortFlag);
  else
    ReadUnknownLength(Handles.Request, Buffer, Stream, AbortFlag);
  return true;
}

void TZezudIdIO::LoadFromURL(const std::u16string& URL) {
  if (HandToThread(&TZezudIdIO::LoadFromURL, URL)) return;
  TMemoryStream Stream;
  std::string FileExt;  // the content decides the format
  if (IEGetFromURL(URL, &Stream, FProxyAddress, FProxyUser, FProxyPassword,
                   TIEProgressEvent(this, &TZezudIdIO::DoProgress), this, &FAborting, FileExt)) {
    Stream.SetPosition(0);
    LoadFromStream(&Stream);
  } else {
    FailWork();
  }
}

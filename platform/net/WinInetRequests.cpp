// HTTP requests, FTP files, their headers and their reads.
#include <strings.h>

#include <cstdlib>
#include <cstring>
#include <string_view>

#include "platform/net/WinInetHandles.h"

namespace {

// A control character, a space or a byte above 127 cannot stand in a URL as it is.
std::string EscapeObject(std::string_view Object) {
  static constexpr char Hex[] = "0123456789ABCDEF";
  std::string Escaped;
  for (unsigned char C : Object) {
    if (C <= 0x20 || C >= 0x7F) {
      Escaped += '%';
      Escaped += Hex[C >> 4];
      Escaped += Hex[C & 15];
    } else {
      Escaped += static_cast<char>(C);
    }
  }
  return Escaped;
}

std::string RequestUrl(const TInternetRequest& Request, bool Secure) {
  const TInternetConnection& Connection = *Request.Connection;
  const bool Ftp = Connection.Service == INTERNET_SERVICE_FTP;
  std::string Url = Ftp ? "ftp://" : Secure ? "https://" : "http://";
  // An IPv6 address is written in brackets.
  const bool Bracket = Connection.Server.find(':') != std::string::npos && Connection.Server.front() != '[';
  Url += Bracket ? "[" + Connection.Server + "]" : Connection.Server;
  if (Connection.Port != INTERNET_INVALID_PORT_NUMBER) Url += ":" + std::to_string(Connection.Port);
  if (Request.Object.empty() || Request.Object.front() != '/') Url += '/';
  return Url + EscapeObject(Request.Object);
}

// "a.b; c" in the platform's bypass list becomes curl's "a.b,c".
std::string BypassList(std::string_view List) {
  std::string Hosts;
  for (char C : List) Hosts += (C == ';' || C == ' ') ? ',' : C;
  return Hosts;
}

void ApplyProxy(CURL* Easy, const TInternetSession& Session) {
  switch (Session.AccessType) {
    case INTERNET_OPEN_TYPE_DIRECT:
      curl_easy_setopt(Easy, CURLOPT_PROXY, "");  // not even the environment's
      break;
    case INTERNET_OPEN_TYPE_PROXY:
      curl_easy_setopt(Easy, CURLOPT_PROXY, Session.Proxy.c_str());
      if (!Session.ProxyBypass.empty())
        curl_easy_setopt(Easy, CURLOPT_NOPROXY, BypassList(Session.ProxyBypass).c_str());
      break;
    default:
      break;  // the environment's proxy
  }
}

// A redirect keeps the scheme unless the request allows the switch.
const char* RedirectSchemes(DWORD Flags, bool Secure) {
  if (Secure) return (Flags & INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTP) ? "http,https" : "https";
  return (Flags & INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS) ? "http,https" : "http";
}

void ApplyHttpRules(CURL* Easy, const TInternetRequest& Request, bool Secure) {
  const bool Follow = !(Request.Flags & INTERNET_FLAG_NO_AUTO_REDIRECT);
  curl_easy_setopt(Easy, CURLOPT_FOLLOWLOCATION, Follow ? 1L : 0L);
  curl_easy_setopt(Easy, CURLOPT_MAXREDIRS, static_cast<long>(INTERNET_MAX_REDIRECTS));
  curl_easy_setopt(Easy, CURLOPT_REDIR_PROTOCOLS_STR, RedirectSchemes(Request.Flags, Secure));
  curl_easy_setopt(Easy, CURLOPT_HTTP_VERSION,
                   Request.Version == "HTTP/1.0" ? CURL_HTTP_VERSION_1_0 : CURL_HTTP_VERSION_1_1);
  if (Request.Verb == "HEAD")
    curl_easy_setopt(Easy, CURLOPT_NOBODY, 1L);
  else if (Request.Verb != "GET")
    curl_easy_setopt(Easy, CURLOPT_CUSTOMREQUEST, Request.Verb.c_str());
  if (!Request.Referrer.empty()) curl_easy_setopt(Easy, CURLOPT_REFERER, Request.Referrer.c_str());
  // Certificate checks stay on unless the request's flags waive them.
  const DWORD Waived = Request.Flags | Request.SecurityFlags;
  const bool TrustAnyCa = Waived & (SECURITY_FLAG_IGNORE_UNKNOWN_CA | INTERNET_FLAG_IGNORE_CERT_DATE_INVALID);
  curl_easy_setopt(Easy, CURLOPT_SSL_VERIFYPEER, TrustAnyCa ? 0L : 1L);
  curl_easy_setopt(Easy, CURLOPT_SSL_VERIFYHOST, (Waived & INTERNET_FLAG_IGNORE_CERT_CN_INVALID) ? 0L : 2L);
  if (Waived & SECURITY_FLAG_IGNORE_REVOCATION)
    curl_easy_setopt(Easy, CURLOPT_SSL_OPTIONS, CURLSSLOPT_NO_REVOKE);
}

// The value of the final answer's header Name (without regard to case), or nothing.
bool FindHeader(const std::vector<std::string>& Headers, std::string_view Name, std::string& Value) {
  for (std::size_t I = 1; I < Headers.size(); ++I) {
    const std::string& Line = Headers[I];
    if (Line.size() <= Name.size() || Line[Name.size()] != ':' ||
        strncasecmp(Line.data(), Name.data(), Name.size()) != 0)
      continue;
    std::size_t Start = Name.size() + 1;
    while (Start < Line.size() && (Line[Start] == ' ' || Line[Start] == '\t')) ++Start;
    Value = Line.substr(Start);
    return true;
  }
  return false;
}

// The text of an info level of a request whose answer is in.
bool HeaderText(const TCurlTransfer& Transfer, DWORD Level, std::string& Text) {
  const std::vector<std::string>& Headers = Transfer.Headers();
  switch (Level) {
    case HTTP_QUERY_CONTENT_TYPE:
      return FindHeader(Headers, "Content-Type", Text);
    case HTTP_QUERY_CONTENT_LENGTH:
      return FindHeader(Headers, "Content-Length", Text);
    case HTTP_QUERY_LOCATION:
      return FindHeader(Headers, "Location", Text);
    case HTTP_QUERY_STATUS_CODE:
      Text = std::to_string(Transfer.StatusCode());
      return true;
    case HTTP_QUERY_STATUS_TEXT: {
      // "HTTP/1.1 404 Not Found": after the second space.
      if (Headers.empty()) return false;
      const std::size_t Space = Headers[0].find(' ');
      const std::size_t Second = Space == std::string::npos ? Space : Headers[0].find(' ', Space + 1);
      Text = Second == std::string::npos ? std::string() : Headers[0].substr(Second + 1);
      return true;
    }
    case HTTP_QUERY_RAW_HEADERS_CRLF:
      Text.clear();
      for (const std::string& Line : Headers) Text += Line + "\r\n";
      Text += "\r\n";
      return !Headers.empty();
    default:
      return false;
  }
}

// The transfer of a request that has one; a request not sent yet fails with
// ERROR_INTERNET_INCORRECT_HANDLE_STATE.
TCurlTransfer* StartedTransfer(HINTERNET Handle) {
  auto Request = InternetFindRequest(Handle);
  if (!Request) return nullptr;
  if (!Request->Transfer) SetLastError(ERROR_INTERNET_INCORRECT_HANDLE_STATE);
  return Request->Transfer.get();
}

// Reads for both read calls; Fill: until Count bytes or the end.
BOOL ReadBody(HINTERNET hFile, LPVOID Buffer, DWORD Count, DWORD& Read, bool Fill) {
  Read = 0;
  TCurlTransfer* Transfer = StartedTransfer(hFile);
  if (!Transfer) return FALSE;
  if (!Buffer && Count > 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const std::ptrdiff_t Got = Transfer->Read(Buffer, Count, Fill);
  if (Got < 0) {
    InternetSetTransferError(Transfer->LastResult(), Transfer->ErrorText());
    return FALSE;
  }
  Read = static_cast<DWORD>(Got);
  return TRUE;
}

}  // namespace

CURL* InternetMakeEasy(const TInternetRequest& Request, bool Secure) {
  CURL* Easy = curl_easy_init();
  if (!Easy) return nullptr;
  const TInternetConnection& Connection = *Request.Connection;
  curl_easy_setopt(Easy, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(Easy, CURLOPT_PROTOCOLS_STR, "http,https,ftp");
  curl_easy_setopt(Easy, CURLOPT_URL, RequestUrl(Request, Secure).c_str());
  if (!Connection.Session->Agent.empty())
    curl_easy_setopt(Easy, CURLOPT_USERAGENT, Connection.Session->Agent.c_str());
  if (!Connection.UserName.empty()) {
    curl_easy_setopt(Easy, CURLOPT_USERNAME, Connection.UserName.c_str());
    curl_easy_setopt(Easy, CURLOPT_PASSWORD, Connection.Password.c_str());
  }
  ApplyProxy(Easy, *Connection.Session);
  // A server that stops sending for this long has gone away.
  curl_easy_setopt(Easy, CURLOPT_CONNECTTIMEOUT, 60L);
  curl_easy_setopt(Easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(Easy, CURLOPT_LOW_SPEED_TIME, 30L);
  return Easy;
}

BOOL InternetStartTransfer(TInternetRequest& Request, CURL* Easy, curl_slist* HeaderList) {
  Request.Transfer = std::make_unique<TCurlTransfer>(Easy, HeaderList);
  if (Request.Transfer->Start()) return TRUE;
  InternetSetTransferError(Request.Transfer->LastResult(), Request.Transfer->ErrorText());
  return FALSE;
}

HINTERNET HttpOpenRequestA(HINTERNET hConnect, LPCSTR lpszVerb, LPCSTR lpszObjectName, LPCSTR lpszVersion,
                           LPCSTR lpszReferrer, LPCSTR* lplpszAcceptTypes, DWORD dwFlags,
                           DWORD_PTR /*dwContext*/) {
  auto Connection = InternetFindConnection(hConnect);
  if (!Connection) return nullptr;
  if (Connection->Service != INTERNET_SERVICE_HTTP) {
    SetLastError(ERROR_INTERNET_INCORRECT_HANDLE_TYPE);
    return nullptr;
  }
  auto Request = std::make_shared<TInternetRequest>();
  Request->Connection = Connection;
  Request->Verb = lpszVerb && *lpszVerb ? lpszVerb : "GET";
  Request->Object = lpszObjectName ? lpszObjectName : "/";
  Request->Version = lpszVersion && *lpszVersion ? lpszVersion : "HTTP/1.1";
  Request->Referrer = lpszReferrer ? lpszReferrer : "";
  for (LPCSTR* Type = lplpszAcceptTypes; Type && *Type; ++Type)
    Request->Accept += (Request->Accept.empty() ? "" : ", ") + std::string(*Type);
  Request->Flags = dwFlags;
  // The certificate waivers of the open are the request's first security flags.
  Request->SecurityFlags =
      dwFlags & (SECURITY_FLAG_IGNORE_CERT_CN_INVALID | SECURITY_FLAG_IGNORE_CERT_DATE_INVALID);
  if (dwFlags & INTERNET_FLAG_SECURE) Request->SecurityFlags |= SECURITY_FLAG_SECURE;
  return InternetNewHandle(TInternetHandle{nullptr, nullptr, std::move(Request)});
}

BOOL HttpSendRequestA(HINTERNET hRequest, LPCSTR lpszHeaders, DWORD dwHeadersLength, LPVOID lpOptional,
                      DWORD dwOptionalLength) {
  auto Request = InternetFindRequest(hRequest);
  if (!Request) return FALSE;
  if (Request->Connection->Service != INTERNET_SERVICE_HTTP) {
    SetLastError(ERROR_INTERNET_INCORRECT_HANDLE_TYPE);
    return FALSE;
  }
  const bool Secure = Request->Flags & INTERNET_FLAG_SECURE;
  CURL* Easy = InternetMakeEasy(*Request, Secure);
  if (!Easy) {
    SetLastError(ERROR_INTERNET_INTERNAL_ERROR);
    return FALSE;
  }
  ApplyHttpRules(Easy, *Request, Secure);
  // Header lines: the accept types, then the caller's, one per CR LF.
  curl_slist* HeaderList = nullptr;
  if (!Request->Accept.empty())
    HeaderList = curl_slist_append(HeaderList, ("Accept: " + Request->Accept).c_str());
  if (lpszHeaders) {
    std::string_view Extra(
        lpszHeaders, dwHeadersLength == static_cast<DWORD>(-1) ? std::strlen(lpszHeaders) : dwHeadersLength);
    while (!Extra.empty()) {
      const std::size_t End = Extra.find("\r\n");
      const std::string Line(Extra.substr(0, End));
      if (!Line.empty()) HeaderList = curl_slist_append(HeaderList, Line.c_str());
      Extra = End == std::string_view::npos ? std::string_view() : Extra.substr(End + 2);
    }
  }
  if (lpOptional && dwOptionalLength > 0) {
    curl_easy_setopt(Easy, CURLOPT_POSTFIELDSIZE, static_cast<long>(dwOptionalLength));
    curl_easy_setopt(Easy, CURLOPT_COPYPOSTFIELDS, lpOptional);
  }
  return InternetStartTransfer(*Request, Easy, HeaderList);
}

HINTERNET FtpOpenFileA(HINTERNET hConnect, LPCSTR lpszFileName, DWORD dwAccess, DWORD dwFlags,
                       DWORD_PTR /*dwContext*/) {
  auto Connection = InternetFindConnection(hConnect);
  if (!Connection) return nullptr;
  if (Connection->Service != INTERNET_SERVICE_FTP) {
    SetLastError(ERROR_INTERNET_INCORRECT_HANDLE_TYPE);
    return nullptr;
  }
  // Only downloads: this library writes nothing to servers.
  if (!lpszFileName || !*lpszFileName || dwAccess != GENERIC_READ) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto Request = std::make_shared<TInternetRequest>();
  Request->Connection = Connection;
  Request->Verb = "RETR";
  Request->Object = lpszFileName;
  Request->Flags = dwFlags;
  CURL* Easy = InternetMakeEasy(*Request, false);
  if (!Easy) {
    SetLastError(ERROR_INTERNET_INTERNAL_ERROR);
    return nullptr;
  }
  curl_easy_setopt(Easy, CURLOPT_TRANSFERTEXT, (dwFlags & 3) == FTP_TRANSFER_TYPE_ASCII ? 1L : 0L);
  if (!InternetStartTransfer(*Request, Easy)) return nullptr;
  return InternetNewHandle(TInternetHandle{nullptr, nullptr, std::move(Request)});
}

BOOL HttpQueryInfoA(HINTERNET hRequest, DWORD dwInfoLevel, LPVOID lpBuffer, LPDWORD lpdwBufferLength,
                    LPDWORD /*lpdwIndex*/) {
  if (!lpdwBufferLength) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  TCurlTransfer* Transfer = StartedTransfer(hRequest);
  if (!Transfer) return FALSE;
  std::string Text;
  if (!HeaderText(*Transfer, dwInfoLevel & ~HTTP_QUERY_FLAG_NUMBER, Text)) {
    SetLastError(ERROR_HTTP_HEADER_NOT_FOUND);
    return FALSE;
  }
  if (!(dwInfoLevel & HTTP_QUERY_FLAG_NUMBER)) return InternetCopyText(Text, lpBuffer, lpdwBufferLength);
  if (!lpBuffer || *lpdwBufferLength < sizeof(DWORD)) {
    *lpdwBufferLength = sizeof(DWORD);
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  const DWORD Number = static_cast<DWORD>(std::strtoul(Text.c_str(), nullptr, 10));
  std::memcpy(lpBuffer, &Number, sizeof(DWORD));
  *lpdwBufferLength = sizeof(DWORD);
  return TRUE;
}

BOOL InternetReadFile(HINTERNET hFile, LPVOID lpBuffer, DWORD dwNumberOfBytesToRead,
                      LPDWORD lpdwNumberOfBytesRead) {
  if (!lpdwNumberOfBytesRead) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return ReadBody(hFile, lpBuffer, dwNumberOfBytesToRead, *lpdwNumberOfBytesRead, true);
}

BOOL InternetReadFileExA(HINTERNET hFile, LPINTERNET_BUFFERSA lpBuffersOut, DWORD dwFlags,
                         DWORD_PTR /*dwContext*/) {
  if (!lpBuffersOut || lpBuffersOut->dwStructSize != sizeof(INTERNET_BUFFERSA)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  DWORD Read = 0;
  const BOOL Done =
      ReadBody(hFile, lpBuffersOut->lpvBuffer, lpBuffersOut->dwBufferLength, Read, !(dwFlags & IRF_NO_WAIT));
  lpBuffersOut->dwBufferLength = Read;
  return Done;
}

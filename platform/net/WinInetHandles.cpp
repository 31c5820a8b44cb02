// Handles, sessions, connections, options and the last response text.
#include <cstring>
#include <mutex>
#include <unordered_map>

#include "platform/net/WinInetHandles.h"

namespace {

std::mutex HandlesLock;
std::unordered_map<HINTERNET, std::shared_ptr<TInternetHandle>>& Handles() {
  static std::unordered_map<HINTERNET, std::shared_ptr<TInternetHandle>> Map;
  return Map;
}

struct TLastResponse {
  DWORD Error = 0;
  std::string Text;
};
TLastResponse& LastResponse() {
  thread_local TLastResponse Value;
  return Value;
}

std::string TextOrEmpty(LPCSTR Text) {
  return Text ? std::string(Text) : std::string();
}

}  // namespace

BOOL InternetCopyText(const std::string& Text, LPVOID Buffer, LPDWORD Length) {
  const DWORD Needed = static_cast<DWORD>(Text.size() + 1);
  if (!Buffer || *Length < Needed) {
    *Length = Needed;
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  std::memcpy(Buffer, Text.c_str(), Needed);
  *Length = Needed - 1;
  return TRUE;
}

HINTERNET InternetNewHandle(TInternetHandle Object) {
  auto Shared = std::make_shared<TInternetHandle>(std::move(Object));
  HINTERNET Handle = Shared.get();
  std::lock_guard Guard(HandlesLock);
  Handles().emplace(Handle, std::move(Shared));
  return Handle;
}

std::shared_ptr<TInternetHandle> InternetFindHandle(HINTERNET Handle) {
  std::lock_guard Guard(HandlesLock);
  auto Found = Handles().find(Handle);
  if (Found == Handles().end()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return Found->second;
}

std::shared_ptr<TInternetConnection> InternetFindConnection(HINTERNET Handle) {
  auto Object = InternetFindHandle(Handle);
  if (!Object) return nullptr;
  if (!Object->Connection) SetLastError(ERROR_INTERNET_INCORRECT_HANDLE_TYPE);
  return Object->Connection;
}

std::shared_ptr<TInternetRequest> InternetFindRequest(HINTERNET Handle) {
  auto Object = InternetFindHandle(Handle);
  if (!Object) return nullptr;
  if (!Object->Request) SetLastError(ERROR_INTERNET_INCORRECT_HANDLE_TYPE);
  return Object->Request;
}

void InternetSetTransferError(CURLcode Code, const char* Text) {
  DWORD Error = ERROR_INTERNET_INTERNAL_ERROR;
  switch (Code) {
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
      Error = ERROR_INTERNET_NAME_NOT_RESOLVED;
      break;
    case CURLE_COULDNT_CONNECT:
      Error = ERROR_INTERNET_CANNOT_CONNECT;
      break;
    case CURLE_OPERATION_TIMEDOUT:
      Error = ERROR_INTERNET_TIMEOUT;
      break;
    case CURLE_TOO_MANY_REDIRECTS:
    case CURLE_UNSUPPORTED_PROTOCOL:
      Error = ERROR_HTTP_REDIRECT_FAILED;
      break;
    case CURLE_URL_MALFORMAT:
      Error = ERROR_INTERNET_INVALID_URL;
      break;
    case CURLE_PEER_FAILED_VERIFICATION:
      Error = ERROR_INTERNET_INVALID_CA;
      break;
    case CURLE_SSL_CONNECT_ERROR:
      Error = ERROR_INTERNET_SEC_CERT_ERRORS;
      break;
    case CURLE_GOT_NOTHING:
    case CURLE_WEIRD_SERVER_REPLY:
      Error = ERROR_HTTP_INVALID_SERVER_RESPONSE;
      break;
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
    case CURLE_PARTIAL_FILE:
      Error = ERROR_INTERNET_CONNECTION_ABORTED;
      break;
    // FTP servers explain a refusal in their answer.
    case CURLE_REMOTE_FILE_NOT_FOUND:
    case CURLE_REMOTE_ACCESS_DENIED:
    case CURLE_LOGIN_DENIED:
    case CURLE_FTP_COULDNT_RETR_FILE:
      Error = ERROR_INTERNET_EXTENDED_ERROR;
      break;
    default:
      break;
  }
  LastResponse() = {Error, Text && *Text ? std::string(Text) : std::string(curl_easy_strerror(Code))};
  SetLastError(Error);
}

HINTERNET InternetOpenA(LPCSTR lpszAgent, DWORD dwAccessType, LPCSTR lpszProxy, LPCSTR lpszProxyBypass,
                        DWORD /*dwFlags*/) {
  static std::once_flag CurlStarted;
  std::call_once(CurlStarted, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
  if (dwAccessType != INTERNET_OPEN_TYPE_PRECONFIG && dwAccessType != INTERNET_OPEN_TYPE_DIRECT &&
      dwAccessType != INTERNET_OPEN_TYPE_PROXY) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (dwAccessType == INTERNET_OPEN_TYPE_PROXY && TextOrEmpty(lpszProxy).empty()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto Session = std::make_shared<TInternetSession>();
  Session->Agent = TextOrEmpty(lpszAgent);
  Session->AccessType = dwAccessType;
  if (dwAccessType == INTERNET_OPEN_TYPE_PROXY) {
    Session->Proxy = lpszProxy;
    Session->ProxyBypass = TextOrEmpty(lpszProxyBypass);
  }
  return InternetNewHandle(TInternetHandle{std::move(Session), nullptr, nullptr});
}

HINTERNET InternetConnectA(HINTERNET hInternet, LPCSTR lpszServerName, INTERNET_PORT nServerPort,
                           LPCSTR lpszUserName, LPCSTR lpszPassword, DWORD dwService, DWORD /*dwFlags*/,
                           DWORD_PTR /*dwContext*/) {
  auto Object = InternetFindHandle(hInternet);
  if (!Object) return nullptr;
  if (!Object->Session) {
    SetLastError(ERROR_INTERNET_INCORRECT_HANDLE_TYPE);
    return nullptr;
  }
  if (TextOrEmpty(lpszServerName).empty() ||
      (dwService != INTERNET_SERVICE_HTTP && dwService != INTERNET_SERVICE_FTP)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto Connection = std::make_shared<TInternetConnection>();
  Connection->Session = Object->Session;
  Connection->Server = lpszServerName;
  Connection->Port = nServerPort;
  Connection->UserName = TextOrEmpty(lpszUserName);
  Connection->Password = TextOrEmpty(lpszPassword);
  Connection->Service = dwService;
  return InternetNewHandle(TInternetHandle{nullptr, std::move(Connection), nullptr});
}

BOOL InternetCloseHandle(HINTERNET hInternet) {
  std::shared_ptr<TInternetHandle> Closed;  // freed outside the lock: a transfer may be ended
  {
    std::lock_guard Guard(HandlesLock);
    auto Found = Handles().find(hInternet);
    if (Found == Handles().end()) {
      SetLastError(ERROR_INVALID_HANDLE);
      return FALSE;
    }
    Closed = std::move(Found->second);
    Handles().erase(Found);
  }
  return TRUE;
}

BOOL InternetQueryOptionA(HINTERNET hInternet, DWORD dwOption, LPVOID lpBuffer, LPDWORD lpdwBufferLength) {
  if (!lpdwBufferLength) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (dwOption != INTERNET_OPTION_SECURITY_FLAGS) {
    SetLastError(ERROR_INTERNET_INVALID_OPTION);
    return FALSE;
  }
  auto Request = InternetFindRequest(hInternet);
  if (!Request) return FALSE;
  if (!lpBuffer || *lpdwBufferLength < sizeof(DWORD)) {
    *lpdwBufferLength = sizeof(DWORD);
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  std::memcpy(lpBuffer, &Request->SecurityFlags, sizeof(DWORD));
  *lpdwBufferLength = sizeof(DWORD);
  return TRUE;
}

BOOL InternetSetOptionA(HINTERNET hInternet, DWORD dwOption, LPVOID lpBuffer, DWORD dwBufferLength) {
  if (dwOption != INTERNET_OPTION_SECURITY_FLAGS) {
    SetLastError(ERROR_INTERNET_INVALID_OPTION);
    return FALSE;
  }
  auto Request = InternetFindRequest(hInternet);
  if (!Request) return FALSE;
  if (!lpBuffer || dwBufferLength != sizeof(DWORD)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::memcpy(&Request->SecurityFlags, lpBuffer, sizeof(DWORD));
  return TRUE;
}

BOOL InternetGetLastResponseInfoA(LPDWORD lpdwError, LPSTR lpszBuffer, LPDWORD lpdwBufferLength) {
  if (!lpdwError || !lpdwBufferLength) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *lpdwError = LastResponse().Error;
  return InternetCopyText(LastResponse().Text, lpszBuffer, lpdwBufferLength);
}

#pragma once
// The objects behind the internet library's handles, shared by its source files.
#include <memory>
#include <string>

#include "platform/net/WinInet.h"
#include "platform/net/WinInetTransfer.h"

struct TInternetSession {
  std::string Agent;
  DWORD AccessType = INTERNET_OPEN_TYPE_PRECONFIG;
  std::string Proxy, ProxyBypass;
};

struct TInternetConnection {
  std::shared_ptr<const TInternetSession> Session;
  std::string Server;
  INTERNET_PORT Port = INTERNET_INVALID_PORT_NUMBER;
  std::string UserName, Password;
  DWORD Service = INTERNET_SERVICE_HTTP;
};

// An HTTP request or an FTP file.
struct TInternetRequest {
  std::shared_ptr<const TInternetConnection> Connection;
  std::string Verb, Object, Version, Referrer, Accept;
  DWORD Flags = 0;
  DWORD SecurityFlags = 0;
  std::unique_ptr<TCurlTransfer> Transfer;  // from the send (HTTP) or the open (FTP) on
};

struct TInternetHandle {
  std::shared_ptr<TInternetSession> Session;
  std::shared_ptr<TInternetConnection> Connection;
  std::shared_ptr<TInternetRequest> Request;
};

// A new handle for the object; ERROR_INVALID_HANDLE and nullptr when the handle is unknown.
HINTERNET InternetNewHandle(TInternetHandle Object);
std::shared_ptr<TInternetHandle> InternetFindHandle(HINTERNET Handle);
// The object of the handle of that kind, or nullptr with the platform's error code set.
std::shared_ptr<TInternetConnection> InternetFindConnection(HINTERNET Handle);
std::shared_ptr<TInternetRequest> InternetFindRequest(HINTERNET Handle);

// Copies Text with its terminating zero (*Length := its length without the zero); a short
// buffer fails with ERROR_INSUFFICIENT_BUFFER and *Length := the size needed.
BOOL InternetCopyText(const std::string& Text, LPVOID Buffer, LPDWORD Length);

// A configured curl handle for the request's URL (the object escaped), credentials, proxy,
// redirect and certificate rules; nullptr when curl cannot make one.
CURL* InternetMakeEasy(const TInternetRequest& Request, bool Secure);
// Starts the request's transfer with further header lines (owned from now on); FALSE with the error code and
// response text set on failure.
BOOL InternetStartTransfer(TInternetRequest& Request, CURL* Easy, curl_slist* HeaderList = nullptr);
// Remembers a failed transfer's code and text for GetLastError and
// InternetGetLastResponseInfoA.
void InternetSetTransferError(CURLcode Code, const char* Text);

#pragma once
// The platform's internet library: sessions, connections and requests behind opaque handles,
// over libcurl. HTTP, HTTPS and FTP downloads as the imaging library's address reader uses
// them.
//
// Handles form a tree (session -> connection -> request or FTP file); each is closed with
// InternetCloseHandle, in any order: a child keeps what it needs of its parents. Every call
// that fails answers FALSE or nullptr and leaves a code for GetLastError (LastError.h); a
// failed transfer also leaves curl's text for InternetGetLastResponseInfoA.
//
// A connection makes no network contact; HttpSendRequestA sends the request, follows
// redirects (at most INTERNET_MAX_REDIRECTS, unless INTERNET_FLAG_NO_AUTO_REDIRECT) and
// returns once the final answer's headers are in. FtpOpenFileA starts the download at once.
// The reads then hand out the body as it arrives. Handles may be used from any thread, one
// thread per handle at a time.
#include <cstdint>

#include "platform/system/FileHandles.h"  // GENERIC_READ
#include "platform/system/LastError.h"
#include "platform/system/Types.h"
#include "platform/system/WinTypes.h"

using HINTERNET = void*;
using INTERNET_PORT = std::uint16_t;
using LPCSTR = const char*;
using LPSTR = char*;
using LPVOID = void*;
using LPDWORD = DWORD*;
using DWORD_PTR = std::uintptr_t;

// InternetOpenA access types.
constexpr DWORD INTERNET_OPEN_TYPE_PRECONFIG = 0;  // the proxy of the environment
constexpr DWORD INTERNET_OPEN_TYPE_DIRECT = 1;     // never a proxy
constexpr DWORD INTERNET_OPEN_TYPE_PROXY = 3;      // the named proxy

// InternetConnectA services and ports.
constexpr DWORD INTERNET_SERVICE_FTP = 1;
constexpr DWORD INTERNET_SERVICE_HTTP = 3;
constexpr INTERNET_PORT INTERNET_INVALID_PORT_NUMBER = 0;  // the scheme's default port
constexpr INTERNET_PORT INTERNET_DEFAULT_FTP_PORT = 21;
constexpr INTERNET_PORT INTERNET_DEFAULT_HTTP_PORT = 80;
constexpr INTERNET_PORT INTERNET_DEFAULT_HTTPS_PORT = 443;

// Request flags.
constexpr DWORD INTERNET_FLAG_RELOAD = 0x80000000;
constexpr DWORD INTERNET_FLAG_NO_CACHE_WRITE = 0x04000000;
constexpr DWORD INTERNET_FLAG_SECURE = 0x00800000;
constexpr DWORD INTERNET_FLAG_KEEP_CONNECTION = 0x00400000;
constexpr DWORD INTERNET_FLAG_NO_AUTO_REDIRECT = 0x00200000;
constexpr DWORD INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTP = 0x00008000;   // https may redirect to http
constexpr DWORD INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS = 0x00004000;  // http may redirect to https
constexpr DWORD INTERNET_FLAG_IGNORE_CERT_DATE_INVALID = 0x00002000;
constexpr DWORD INTERNET_FLAG_IGNORE_CERT_CN_INVALID = 0x00001000;

// Security flags of a request (INTERNET_OPTION_SECURITY_FLAGS).
constexpr DWORD SECURITY_FLAG_SECURE = 0x00000001;
constexpr DWORD SECURITY_FLAG_IGNORE_REVOCATION = 0x00000080;
constexpr DWORD SECURITY_FLAG_IGNORE_UNKNOWN_CA = 0x00000100;
constexpr DWORD SECURITY_FLAG_IGNORE_WRONG_USAGE = 0x00000200;
constexpr DWORD SECURITY_FLAG_IGNORE_CERT_CN_INVALID = INTERNET_FLAG_IGNORE_CERT_CN_INVALID;
constexpr DWORD SECURITY_FLAG_IGNORE_CERT_DATE_INVALID = INTERNET_FLAG_IGNORE_CERT_DATE_INVALID;

// Options.
constexpr DWORD INTERNET_OPTION_SECURITY_FLAGS = 31;  // a DWORD of SECURITY_FLAG_* of a request

// HttpQueryInfoA levels and modifiers.
constexpr DWORD HTTP_QUERY_CONTENT_TYPE = 1;
constexpr DWORD HTTP_QUERY_CONTENT_LENGTH = 5;
constexpr DWORD HTTP_QUERY_STATUS_CODE = 19;
constexpr DWORD HTTP_QUERY_STATUS_TEXT = 20;
constexpr DWORD HTTP_QUERY_RAW_HEADERS_CRLF = 22;
constexpr DWORD HTTP_QUERY_LOCATION = 33;
constexpr DWORD HTTP_QUERY_FLAG_NUMBER = 0x20000000;  // the answer as a DWORD

// FtpOpenFileA (dwAccess GENERIC_READ).
constexpr DWORD FTP_TRANSFER_TYPE_ASCII = 1;
constexpr DWORD FTP_TRANSFER_TYPE_BINARY = 2;

// InternetReadFileExA: hand out what has arrived instead of filling the whole buffer. When
// nothing has arrived yet the call still waits for the next piece, so 0 bytes means the end.
constexpr DWORD IRF_NO_WAIT = 8;

constexpr DWORD INTERNET_MAX_REDIRECTS = 10;

// Error codes (GetLastError).
constexpr DWORD ERROR_INTERNET_TIMEOUT = 12002;
constexpr DWORD ERROR_INTERNET_EXTENDED_ERROR = 12003;  // see InternetGetLastResponseInfoA
constexpr DWORD ERROR_INTERNET_INTERNAL_ERROR = 12004;
constexpr DWORD ERROR_INTERNET_INVALID_URL = 12005;
constexpr DWORD ERROR_INTERNET_NAME_NOT_RESOLVED = 12007;
constexpr DWORD ERROR_INTERNET_INVALID_OPTION = 12009;
constexpr DWORD ERROR_INTERNET_INCORRECT_HANDLE_TYPE = 12018;
constexpr DWORD ERROR_INTERNET_INCORRECT_HANDLE_STATE = 12019;  // e.g. a query before the send
constexpr DWORD ERROR_INTERNET_CANNOT_CONNECT = 12029;
constexpr DWORD ERROR_INTERNET_CONNECTION_ABORTED = 12030;
constexpr DWORD ERROR_INTERNET_INVALID_CA = 12045;
constexpr DWORD ERROR_INTERNET_SEC_CERT_ERRORS = 12055;
constexpr DWORD ERROR_HTTP_HEADER_NOT_FOUND = 12150;
constexpr DWORD ERROR_HTTP_INVALID_SERVER_RESPONSE = 12152;
constexpr DWORD ERROR_HTTP_REDIRECT_FAILED = 12156;

// The record of InternetReadFileExA. dwStructSize must be sizeof(INTERNET_BUFFERSA); the
// header fields and Next are not used.
struct INTERNET_BUFFERSA {
  DWORD dwStructSize = 0;
  INTERNET_BUFFERSA* Next = nullptr;
  LPCSTR lpcszHeader = nullptr;
  DWORD dwHeadersLength = 0;
  DWORD dwHeadersTotal = 0;
  LPVOID lpvBuffer = nullptr;
  DWORD dwBufferLength = 0;  // in: the buffer's size; out: the bytes delivered
  DWORD dwBufferTotal = 0;
  DWORD dwOffsetLow = 0;
  DWORD dwOffsetHigh = 0;
};
using LPINTERNET_BUFFERSA = INTERNET_BUFFERSA*;

HINTERNET InternetOpenA(LPCSTR lpszAgent, DWORD dwAccessType, LPCSTR lpszProxy, LPCSTR lpszProxyBypass,
                        DWORD dwFlags);
BOOL InternetCloseHandle(HINTERNET hInternet);
HINTERNET InternetConnectA(HINTERNET hInternet, LPCSTR lpszServerName, INTERNET_PORT nServerPort,
                           LPCSTR lpszUserName, LPCSTR lpszPassword, DWORD dwService, DWORD dwFlags,
                           DWORD_PTR dwContext);
// lpszVerb nullptr means "GET"; lpszVersion nullptr means HTTP/1.1. Referrer and accept types
// are sent when given.
HINTERNET HttpOpenRequestA(HINTERNET hConnect, LPCSTR lpszVerb, LPCSTR lpszObjectName, LPCSTR lpszVersion,
                           LPCSTR lpszReferrer, LPCSTR* lplpszAcceptTypes, DWORD dwFlags,
                           DWORD_PTR dwContext);
// lpszHeaders: further header lines separated by CR LF; dwHeadersLength (DWORD)-1: up to the
// terminating zero.
BOOL HttpSendRequestA(HINTERNET hRequest, LPCSTR lpszHeaders, DWORD dwHeadersLength, LPVOID lpOptional,
                      DWORD dwOptionalLength);
// The final answer's header of dwInfoLevel as text with a terminating zero (*lpdwBufferLength
// := its length without the zero), or as a DWORD with HTTP_QUERY_FLAG_NUMBER. A buffer too
// small fails with ERROR_INSUFFICIENT_BUFFER and *lpdwBufferLength := the size needed.
BOOL HttpQueryInfoA(HINTERNET hRequest, DWORD dwInfoLevel, LPVOID lpBuffer, LPDWORD lpdwBufferLength,
                    LPDWORD lpdwIndex);
// Fills the buffer unless the body ends first; TRUE with 0 bytes at the end.
BOOL InternetReadFile(HINTERNET hFile, LPVOID lpBuffer, DWORD dwNumberOfBytesToRead,
                      LPDWORD lpdwNumberOfBytesRead);
BOOL InternetReadFileExA(HINTERNET hFile, LPINTERNET_BUFFERSA lpBuffersOut, DWORD dwFlags,
                         DWORD_PTR dwContext);
BOOL InternetQueryOptionA(HINTERNET hInternet, DWORD dwOption, LPVOID lpBuffer, LPDWORD lpdwBufferLength);
BOOL InternetSetOptionA(HINTERNET hInternet, DWORD dwOption, LPVOID lpBuffer, DWORD dwBufferLength);
// The text of the calling thread's last failed transfer and *lpdwError := its code.
BOOL InternetGetLastResponseInfoA(LPDWORD lpdwError, LPSTR lpszBuffer, LPDWORD lpdwBufferLength);
HINTERNET FtpOpenFileA(HINTERNET hConnect, LPCSTR lpszFileName, DWORD dwAccess, DWORD dwFlags,
                       DWORD_PTR dwContext);

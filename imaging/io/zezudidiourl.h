#pragma once
// Pictures from internet addresses: the binding of the platform's internet library and the
// download of an "http://", "https://" or "ftp://" address into memory.
//
// The library is bound once by the I/O start-up and released by its shut-down; the function
// pointers are written only then (and by tests, which put stand-ins in), so any thread may
// download once the library is bound.
#include <string>

#include "imaging/core/hyiedefs.h"
#include "platform/net/WinInet.h"
#include "platform/system/Resources.h"

class TMemoryStream;
class TObject;

// The internet functions the download calls; all set or all empty.
struct TIEWinInetProcs {
  decltype(&::InternetOpenA) InternetOpenA = nullptr;
  decltype(&::InternetCloseHandle) InternetCloseHandle = nullptr;
  decltype(&::InternetConnectA) InternetConnectA = nullptr;
  decltype(&::HttpOpenRequestA) HttpOpenRequestA = nullptr;
  decltype(&::HttpSendRequestA) HttpSendRequestA = nullptr;
  decltype(&::HttpQueryInfoA) HttpQueryInfoA = nullptr;
  decltype(&::InternetReadFile) InternetReadFile = nullptr;
  decltype(&::InternetReadFileExA) InternetReadFileExA = nullptr;
  decltype(&::InternetQueryOptionA) InternetQueryOptionA = nullptr;
  decltype(&::InternetSetOptionA) InternetSetOptionA = nullptr;
  decltype(&::InternetGetLastResponseInfoA) InternetGetLastResponseInfoA = nullptr;
  decltype(&::FtpOpenFileA) FtpOpenFileA = nullptr;
};

// The internet library's module; nullptr while it is not bound.
extern HMODULE IEWinInetModule;
extern TIEWinInetProcs IEWinInet;

// Binds the functions; nothing when the library is bound already. When it cannot be loaded
// every pointer stays empty.
void IELoadWinInet();
// Releases the library and empties the pointers; nothing when it is not bound.
void IEFreeWinInet();

// Appends the picture at URL to Stream; true when a transfer took place, also when AbortFlag
// (read between pieces, may be nullptr) or the network stopped it early. False, with nothing
// appended, for an address it cannot parse, an unbound library, a server it cannot reach or
// an HTTP answer that is an error (status 400 and above) or no answer. FileExt: from an HTTP
// answer's content type ("image/jpeg" gives "jpeg"), or the FTP file's extension. OnProgress
// (when assigned) sees the percentage of a known length.
bool IEGetFromURL(const std::u16string& URL, TMemoryStream* Stream, const std::u16string& ProxyAddress,
                  const std::u16string& ProxyUser, const std::u16string& ProxyPassword,
                  TIEProgressEvent OnProgress, TObject* Sender, bool* AbortFlag, std::string& FileExt);

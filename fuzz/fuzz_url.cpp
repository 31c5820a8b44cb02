// The address download over any input, with the internet library replaced by stand-ins that
// answer from the same bytes: the first line is the address, the second the content length,
// the third the content type, the rest the body. Nothing leaves the process.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "imaging/io/zezudidiourl.h"

namespace {

struct TAnswer {
  std::string Length, Type, Body;
  std::size_t Offset = 0;
};
TAnswer Answer;

HINTERNET const Handle = reinterpret_cast<HINTERNET>(1);

DWORD Serve(LPVOID Buffer, DWORD Count) {
  const DWORD Piece = static_cast<DWORD>(std::min<std::size_t>(Count, Answer.Body.size() - Answer.Offset));
  std::memcpy(Buffer, Answer.Body.data() + Answer.Offset, Piece);
  Answer.Offset += Piece;
  return Piece;
}

BOOL CopyHeader(const std::string& Text, LPVOID Buffer, LPDWORD Length) {
  if (Text.empty() || Text.size() + 1 > *Length) return FALSE;
  std::memcpy(Buffer, Text.c_str(), Text.size() + 1);
  *Length = static_cast<DWORD>(Text.size());
  return TRUE;
}

void InstallStandIns() {
  TIEWinInetProcs& P = IEWinInet;
  P.InternetOpenA = [](LPCSTR, DWORD, LPCSTR, LPCSTR, DWORD) { return Handle; };
  P.InternetConnectA = [](HINTERNET, LPCSTR, INTERNET_PORT, LPCSTR, LPCSTR, DWORD, DWORD, DWORD_PTR) {
    return Handle;
  };
  P.HttpOpenRequestA = [](HINTERNET, LPCSTR, LPCSTR, LPCSTR, LPCSTR, LPCSTR*, DWORD, DWORD_PTR) {
    return Handle;
  };
  P.FtpOpenFileA = [](HINTERNET, LPCSTR, DWORD, DWORD, DWORD_PTR) { return Handle; };
  P.InternetQueryOptionA = [](HINTERNET, DWORD, LPVOID, LPDWORD) -> BOOL { return FALSE; };
  P.InternetSetOptionA = [](HINTERNET, DWORD, LPVOID, DWORD) -> BOOL { return TRUE; };
  P.HttpSendRequestA = [](HINTERNET, LPCSTR, DWORD, LPVOID, DWORD) -> BOOL { return TRUE; };
  P.HttpQueryInfoA = [](HINTERNET, DWORD Level, LPVOID Buffer, LPDWORD Length, LPDWORD) -> BOOL {
    if (Level & HTTP_QUERY_FLAG_NUMBER) return FALSE;
    return CopyHeader(Level == HTTP_QUERY_CONTENT_TYPE ? Answer.Type : Answer.Length, Buffer, Length);
  };
  P.InternetReadFile = [](HINTERNET, LPVOID Buffer, DWORD Count, LPDWORD Read) -> BOOL {
    *Read = Serve(Buffer, Count);
    return TRUE;
  };
  P.InternetReadFileExA = [](HINTERNET, LPINTERNET_BUFFERSA Record, DWORD, DWORD_PTR) -> BOOL {
    Record->dwBufferLength = Serve(Record->lpvBuffer, Record->dwBufferLength);
    return TRUE;
  };
  P.InternetCloseHandle = [](HINTERNET) -> BOOL { return TRUE; };
}

std::string NextLine(std::string_view& Rest) {
  const std::size_t End = std::min(Rest.find('\n'), Rest.size());
  std::string Line(Rest.substr(0, End));
  Rest.remove_prefix(std::min(End + 1, Rest.size()));
  return Line;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  InstallStandIns();
  std::string_view Rest = fuzz::AsText(Data, Size);
  const std::string Url = NextLine(Rest);
  Answer = {NextLine(Rest), NextLine(Rest), std::string(Rest), 0};
  TMemoryStream Stream;
  std::string FileExt;
  const bool Fetched = IEGetFromURL(std::u16string(Url.begin(), Url.end()), &Stream, u"", u"", u"", {},
                                    nullptr, nullptr, FileExt);
  if (!Fetched && Stream.GetSize() != 0) std::abort();  // a failure appends nothing
  if (Stream.GetSize() > static_cast<Int64>(Answer.Body.size())) std::abort();
  return 0;
}

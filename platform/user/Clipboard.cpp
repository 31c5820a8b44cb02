// The clipboard: its formats, ownership and opening, delayed rendering, the formats made from
// others, and the text exchanged with the desktop through the display back end.
#include "platform/user/Clipboard.h"

#include <algorithm>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/gdi/Dib.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/system/Threads.h"
#include "platform/user/ClipboardInternals.h"
#include "platform/user/WindowInternals.h"
#include "platform/user/WindowMessages.h"
#include "platform/user/Windows.h"

namespace {

struct TEntry {
  UINT Format;
  HANDLE Data;  // null: rendered by the owner on request
  bool Made;    // made here from another format
};

struct TClipboard {
  std::mutex Lock;
  bool Open = false;
  std::thread::id OpenThread;
  HWND OpenWnd = nullptr;
  HWND Owner = nullptr;
  std::vector<TEntry> Entries;
  bool Changed = false;  // emptied or written since it was opened
  std::string Desktop;   // the desktop's text as last seen or handed out
  UINT Rendering = 0;    // the format WM_RENDERFORMAT is asked for
  std::map<UINT, std::string> Names;
};

// Kept to the end of the program with whatever it holds then.
TClipboard& Board() {
  static auto* C = new TClipboard;
  return *C;
}

using TLock = std::unique_lock<std::mutex>;

bool IsGdiFormat(UINT F) {
  return F == CF_BITMAP || F == CF_PALETTE || F == CF_DSPBITMAP ||
         (F >= CF_GDIOBJFIRST && F <= CF_GDIOBJLAST);
}

void FreeData(UINT Format, HANDLE Data) {
  if (Data == nullptr) return;
  if (IsGdiFormat(Format))
    DeleteObject(static_cast<HGDIOBJ>(Data));
  else
    GlobalFree(Data);
}

void FreeEntries(TClipboard& C) {
  for (const TEntry& E : C.Entries) FreeData(E.Format, E.Data);
  C.Entries.clear();
}

void DropMade(TClipboard& C) {
  std::erase_if(C.Entries, [](const TEntry& E) {
    if (E.Made) FreeData(E.Format, E.Data);
    return E.Made;
  });
}

TEntry* Find(TClipboard& C, UINT Format) {
  for (TEntry& E : C.Entries)
    if (E.Format == Format) return &E;
  return nullptr;
}

bool Placed(TClipboard& C, UINT Format) {
  const TEntry* E = Find(C, Format);
  return E != nullptr && !E->Made;
}

bool OpenHere(const TClipboard& C) {
  return C.Open && C.OpenThread == std::this_thread::get_id();
}

// The formats that can be made from what was placed.
constexpr UINT Makeable[] = {CF_TEXT, CF_UNICODETEXT, CF_BITMAP, CF_DIB, CF_DIBV5};

bool CanMake(TClipboard& C, UINT Format) {
  switch (Format) {
    case CF_TEXT:
      return Placed(C, CF_UNICODETEXT);
    case CF_UNICODETEXT:
      return Placed(C, CF_TEXT);
    case CF_DIB:
      return Placed(C, CF_DIBV5) || Placed(C, CF_BITMAP);
    case CF_DIBV5:
      return Placed(C, CF_DIB) || Placed(C, CF_BITMAP);
    case CF_BITMAP:
      return Placed(C, CF_DIB) || Placed(C, CF_DIBV5);
    default:
      return false;
  }
}

std::vector<UINT> Formats(TClipboard& C) {
  std::vector<UINT> List;
  for (const TEntry& E : C.Entries)
    if (!E.Made) List.push_back(E.Format);
  for (UINT F : Makeable)
    if (!Placed(C, F) && CanMake(C, F)) List.push_back(F);
  return List;
}

// Desktop text has LF line ends; the clipboard's text here has CR LF, as the platform's.
std::string FromDesktop(const std::string& T) {
  std::string R;
  for (std::size_t I = 0; I < T.size(); ++I) {
    if (T[I] == '\n' && (I == 0 || T[I - 1] != '\r')) R += '\r';
    R += T[I];
  }
  return R;
}

std::string ToDesktop(const std::string& T) {
  std::string R;
  for (std::size_t I = 0; I < T.size(); ++I)
    if (!(T[I] == '\r' && I + 1 < T.size() && T[I + 1] == '\n')) R += T[I];
  return R;
}

// Sends a message with the clipboard unlocked, so that the handler may use the clipboard (and
// a sender on another thread cannot deadlock with the main thread).
void SendUnlocked(TLock& L, HWND Wnd, UINT Msg, WPARAM WParam) {
  if (!IsWindow(Wnd)) return;
  L.unlock();
  SendMessage(Wnd, Msg, WParam, 0);
  L.lock();
}

// When another program put text on the desktop's clipboard since this one last looked, that
// text is the content now: what this application placed is gone.
void SyncWithDesktop(TClipboard& C, TLock& L) {
  TDisplayBackend* B = GetDisplayBackend();
  if (B == nullptr || !IsMainThread()) return;
  const std::string Text = B->GetClipboardText();
  if (Text == C.Desktop) return;
  C.Desktop = Text;
  const HWND Old = C.Owner;
  FreeEntries(C);
  C.Owner = nullptr;
  if (!Text.empty())
    if (HGLOBAL G = TextBlock(FromDesktop(Text), true)) C.Entries.push_back({CF_UNICODETEXT, G, false});
  if (Old != nullptr) SendUnlocked(L, Old, WM_DESTROYCLIPBOARD, 0);
}

HANDLE DataOf(TClipboard& C, TLock& L, UINT Format);

HANDLE Make(TClipboard& C, TLock& L, UINT Format) {
  auto Source = [&](UINT F) -> HGLOBAL { return Placed(C, F) ? DataOf(C, L, F) : nullptr; };
  HANDLE Made = nullptr;
  switch (Format) {
    case CF_TEXT:
    case CF_UNICODETEXT: {
      const bool ToUnicode = Format == CF_UNICODETEXT;
      if (HGLOBAL S = Source(ToUnicode ? CF_TEXT : CF_UNICODETEXT))
        Made = TextBlock(ClipboardText(S, !ToUnicode), ToUnicode);
      break;
    }
    case CF_DIB:
      if (HGLOBAL S = Source(CF_DIBV5))
        Made = DibFromDibV5(S);
      else if (HANDLE B = Source(CF_BITMAP))
        Made = DibFromBitmap(static_cast<HBITMAP>(static_cast<HGDIOBJ>(B)));
      break;
    case CF_DIBV5:
      if (HGLOBAL S = Source(CF_DIB)) {
        Made = DibV5FromDib(S);
      } else if (HANDLE B = Source(CF_BITMAP)) {
        HGLOBAL Dib = DibFromBitmap(static_cast<HBITMAP>(static_cast<HGDIOBJ>(B)));
        Made = DibV5FromDib(Dib);
        GlobalFree(Dib);
      }
      break;
    case CF_BITMAP: {
      HGLOBAL S = Source(CF_DIB);
      if (S == nullptr) S = Source(CF_DIBV5);
      if (S != nullptr) Made = static_cast<HGDIOBJ>(BitmapFromDib(S));
      break;
    }
    default:
      break;
  }
  if (Made != nullptr) C.Entries.push_back({Format, Made, true});
  return Made;
}

HANDLE DataOf(TClipboard& C, TLock& L, UINT Format) {
  TEntry* E = Find(C, Format);
  if (E == nullptr) return CanMake(C, Format) ? Make(C, L, Format) : nullptr;
  if (E->Data == nullptr && C.Owner != nullptr && C.Rendering == 0) {
    // Delayed rendering: the owner places the data now.
    C.Rendering = Format;
    SendUnlocked(L, C.Owner, WM_RENDERFORMAT, Format);
    C.Rendering = 0;
    E = Find(C, Format);
  }
  return E != nullptr ? E->Data : nullptr;
}

}  // namespace

BOOL OpenClipboard(HWND NewOwner) {
  TClipboard& C = Board();
  TLock L(C.Lock);
  if (C.Open) {
    if (OpenHere(C) && C.OpenWnd == NewOwner) return TRUE;
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  if (NewOwner != nullptr && !IsWindow(NewOwner)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  C.Open = true;
  C.OpenThread = std::this_thread::get_id();
  C.OpenWnd = NewOwner;
  C.Changed = false;
  SyncWithDesktop(C, L);
  return TRUE;
}

BOOL CloseClipboard() {
  TClipboard& C = Board();
  TLock L(C.Lock);
  if (!OpenHere(C)) {
    SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
    return FALSE;
  }
  TDisplayBackend* B = GetDisplayBackend();
  if (C.Changed && B != nullptr && IsMainThread()) {
    // The text (or nothing) of what was placed goes out to the desktop.
    std::string Text;
    if (Placed(C, CF_UNICODETEXT))
      Text = ClipboardText(DataOf(C, L, CF_UNICODETEXT), true);
    else if (Placed(C, CF_TEXT))
      Text = ClipboardText(DataOf(C, L, CF_TEXT), false);
    B->SetClipboardText(ToDesktop(Text));
    C.Desktop = B->GetClipboardText();
  }
  C.Open = false;
  C.OpenWnd = nullptr;
  C.Changed = false;
  return TRUE;
}

BOOL EmptyClipboard() {
  TClipboard& C = Board();
  TLock L(C.Lock);
  if (!OpenHere(C)) {
    SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
    return FALSE;
  }
  if (C.Owner != nullptr) SendUnlocked(L, C.Owner, WM_DESTROYCLIPBOARD, 0);
  FreeEntries(C);
  C.Owner = C.OpenWnd;
  C.Changed = true;
  return TRUE;
}

HANDLE SetClipboardData(UINT Format, HANDLE Mem) {
  TClipboard& C = Board();
  TLock L(C.Lock);
  if (!OpenHere(C) && C.Rendering != Format) {
    SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
    return nullptr;
  }
  if (Format == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  DropMade(C);
  if (TEntry* E = Find(C, Format)) {
    if (E->Data != Mem) FreeData(Format, E->Data);
    E->Data = Mem;
  } else {
    C.Entries.push_back({Format, Mem, false});
  }
  C.Changed = true;
  return Mem;
}

HANDLE GetClipboardData(UINT Format) {
  TClipboard& C = Board();
  TLock L(C.Lock);
  if (!OpenHere(C)) {
    SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
    return nullptr;
  }
  return DataOf(C, L, Format);
}

BOOL IsClipboardFormatAvailable(UINT Format) {
  TClipboard& C = Board();
  TLock L(C.Lock);
  if (!C.Open) SyncWithDesktop(C, L);
  return Placed(C, Format) || CanMake(C, Format) ? TRUE : FALSE;
}

UINT EnumClipboardFormats(UINT Format) {
  TClipboard& C = Board();
  TLock L(C.Lock);
  if (!OpenHere(C)) {
    SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
    return 0;
  }
  const std::vector<UINT> List = Formats(C);
  SetLastError(ERROR_SUCCESS);
  if (Format == 0) return List.empty() ? 0 : List.front();
  for (std::size_t I = 0; I + 1 < List.size(); ++I)
    if (List[I] == Format) return List[I + 1];
  return 0;
}

Integer CountClipboardFormats() {
  TClipboard& C = Board();
  TLock L(C.Lock);
  if (!C.Open) SyncWithDesktop(C, L);
  return static_cast<Integer>(Formats(C).size());
}

UINT RegisterClipboardFormat(LPCSTR Name) {
  const UINT Id = RegisterWindowMessage(Name);
  if (Id == 0) return 0;
  TClipboard& C = Board();
  TLock L(C.Lock);
  C.Names.emplace(Id, Name);
  return Id;
}

Integer GetClipboardFormatName(UINT Format, char* Buffer, Integer MaxCount) {
  TClipboard& C = Board();
  TLock L(C.Lock);
  auto It = C.Names.find(Format);
  if (It == C.Names.end() || Buffer == nullptr || MaxCount <= 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const Integer N = std::min(static_cast<Integer>(It->second.size()), MaxCount - 1);
  std::copy_n(It->second.data(), N, Buffer);
  Buffer[N] = 0;
  return N;
}

HWND GetClipboardOwner() {
  TClipboard& C = Board();
  TLock L(C.Lock);
  return IsWindow(C.Owner) ? C.Owner : nullptr;
}

HWND GetOpenClipboardWindow() {
  TClipboard& C = Board();
  TLock L(C.Lock);
  return C.Open ? C.OpenWnd : nullptr;
}

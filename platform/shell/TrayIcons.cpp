// The notification area: a list of icons kept in memory. Nothing is shown; tests read the
// list and deliver the mouse messages a real area would send.
#include <cstring>
#include <mutex>

#include "platform/shell/TrayIcons.h"
#include "platform/user/Cursors.h"
#include "platform/user/WindowMessages.h"
#include "platform/user/Windows.h"

namespace {

// The platform's record sizes as 32-bit programs give them: the first form (a tip of 64
// characters and nothing after it) and the second (a tip of 128, state and balloon fields).
// Anything larger is a later form with the same fields.
constexpr DWORD SmallestRecord = 88;
constexpr DWORD SecondRecord = 488;

struct TArea {
  std::mutex Lock;
  std::vector<TTrayIcon> Icons;
};

TArea& Area() {
  static auto* Instance = new TArea;
  return *Instance;
}

std::string FixedText(const char* Text, std::size_t Size) {
  return std::string(Text, strnlen(Text, Size));
}

// Drops the icons of windows that are gone, as the area does when the mouse passes them.
void DropOrphans(std::vector<TTrayIcon>& Icons) {
  for (auto It = Icons.begin(); It != Icons.end();) {
    if (IsWindow(It->Wnd)) {
      ++It;
      continue;
    }
    if (It->Icon) DestroyIcon(It->Icon);
    It = Icons.erase(It);
  }
}

void Apply(TTrayIcon& Icon, const NOTIFYICONDATAA& Data) {
  if (Data.uFlags & NIF_MESSAGE) Icon.CallbackMessage = Data.uCallbackMessage;
  if (Data.uFlags & NIF_ICON) {
    if (Icon.Icon) DestroyIcon(Icon.Icon);
    Icon.Icon = Data.hIcon != nullptr ? CopyIcon(Data.hIcon) : nullptr;
  }
  if (Data.uFlags & NIF_TIP) Icon.Tip = FixedText(Data.szTip, Data.cbSize > SmallestRecord ? 127 : 63);
  if (Data.cbSize < SecondRecord) return;
  if (Data.uFlags & NIF_STATE)
    Icon.Hidden = (Data.dwStateMask & NIS_HIDDEN) ? (Data.dwState & NIS_HIDDEN) != 0 : Icon.Hidden;
  if (Data.uFlags & NIF_INFO) {
    Icon.BalloonTitle = FixedText(Data.szInfoTitle, sizeof(Data.szInfoTitle));
    Icon.BalloonText = FixedText(Data.szInfo, sizeof(Data.szInfo));
  }
}

}  // namespace

BOOL Shell_NotifyIconA(DWORD Message, NOTIFYICONDATAA* Data) {
  if (Data == nullptr || Data->cbSize < SmallestRecord) return FALSE;
  TArea& A = Area();
  std::lock_guard Guard(A.Lock);
  DropOrphans(A.Icons);
  auto It = A.Icons.begin();
  while (It != A.Icons.end() && !(It->Wnd == Data->hWnd && It->ID == Data->uID)) ++It;
  const bool Exists = It != A.Icons.end();
  switch (Message) {
    case NIM_ADD: {
      if (Exists || !IsWindow(Data->hWnd)) return FALSE;
      TTrayIcon Icon;
      Icon.Wnd = Data->hWnd;
      Icon.ID = Data->uID;
      Apply(Icon, *Data);
      A.Icons.push_back(std::move(Icon));
      return TRUE;
    }
    case NIM_MODIFY:
      if (!Exists) return FALSE;
      Apply(*It, *Data);
      return TRUE;
    case NIM_DELETE:
      if (!Exists) return FALSE;
      if (It->Icon) DestroyIcon(It->Icon);
      A.Icons.erase(It);
      return TRUE;
    case NIM_SETFOCUS:
    case NIM_SETVERSION:
      return Exists ? TRUE : FALSE;
    default:
      return FALSE;
  }
}

std::vector<TTrayIcon> GetTrayIcons() {
  TArea& A = Area();
  std::lock_guard Guard(A.Lock);
  DropOrphans(A.Icons);
  return A.Icons;
}

BOOL SendTrayMouseMessage(HWND Wnd, UINT ID, UINT MouseMessage) {
  UINT Callback = 0;
  {
    TArea& A = Area();
    std::lock_guard Guard(A.Lock);
    DropOrphans(A.Icons);
    bool Found = false;
    for (const TTrayIcon& I : A.Icons)
      if (I.Wnd == Wnd && I.ID == ID && !I.Hidden) {
        Found = true;
        Callback = I.CallbackMessage;
      }
    if (!Found) return FALSE;
  }
  // Sent outside the lock: the window's answer may change the area.
  if (Callback != 0) SendMessage(Wnd, Callback, ID, static_cast<LPARAM>(MouseMessage));
  return TRUE;
}

BOOL ClickTrayIcon(HWND Wnd, UINT ID) {
  if (!SendTrayMouseMessage(Wnd, ID, WM_LBUTTONDOWN)) return FALSE;
  SendTrayMouseMessage(Wnd, ID, WM_LBUTTONUP);
  return TRUE;
}

void RestartTaskbar() {
  {
    TArea& A = Area();
    std::lock_guard Guard(A.Lock);
    for (TTrayIcon& I : A.Icons)
      if (I.Icon) DestroyIcon(I.Icon);
    A.Icons.clear();
  }
  SendMessage(HWND_BROADCAST, RegisterWindowMessage("TaskbarCreated"), 0, 0);
}

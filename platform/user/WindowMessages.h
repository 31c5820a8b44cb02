#pragma once
// Sending and posting messages, the message queue of the user-interface thread and the loop
// helpers. The queue hands out, in this order: calls and messages sent from other threads,
// posted messages, input, WM_QUIT, WM_PAINT (one per window, while its update region is not
// empty) and WM_TIMER (one per due timer): paint and timer messages are made only when
// nothing else waits, as the platform does.
#include <functional>

#include "platform/user/WinUser.h"

// Calls the window procedure at once. From another thread the call is handed to the main
// thread, which runs it the next time it looks at its queue, and the caller waits for it.
// HWND_BROADCAST sends to every top-level window and returns 0.
LRESULT SendMessage(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
// Posts to the window's queue (any thread; wakes the loop). A null window posts a thread
// message to the user-interface thread.
BOOL PostMessage(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
// Only the user-interface thread has a queue: other thread ids fail (ERROR_INVALID_THREAD_ID).
BOOL PostThreadMessage(DWORD ThreadId, UINT Msg, WPARAM WParam, LPARAM LParam);
// Makes the queue return WM_QUIT (wParam = ExitCode) once no posted message or input waits.
void PostQuitMessage(Integer ExitCode);
// Filters: Wnd null = any message of the thread, (HWND)-1 = thread messages only, else the
// window and its descendants; Min = Max = 0 = any number. WM_QUIT passes every filter.
BOOL PeekMessage(MSG* Msg, HWND Wnd, UINT MsgFilterMin, UINT MsgFilterMax, UINT RemoveMsg);
// Waits for a message; FALSE for WM_QUIT, -1 for an invalid window filter.
BOOL GetMessage(MSG* Msg, HWND Wnd, UINT MsgFilterMin, UINT MsgFilterMax);
// Key messages to character messages (the input part's hook); TRUE when it made any.
BOOL TranslateMessage(const MSG* Msg);
// Calls the window procedure of Msg->hwnd; a WM_TIMER with a TIMERPROC in lParam calls that.
LRESULT DispatchMessage(const MSG* Msg);
// Numbers >= 0xC000; the same name (any case) gives the same number. 0 for an empty name.
UINT RegisterWindowMessage(LPCSTR Name);
// TRUE while the current message was sent from another thread.
BOOL InSendMessage();
DWORD InSendMessageEx(void* Reserved);
// Time (GetTickCount) and cursor position (screen, packed as in MAKELONG) of the last message
// taken from the queue.
LONG GetMessageTime();
DWORD GetMessagePos();
// Blocks until the queue has something new.
BOOL WaitMessage();
// QS_* flags of what waits (the high word: new since the last call is not tracked; both
// words give what waits now).
DWORD GetQueueStatus(UINT Flags);
BOOL GetInputState();

// Runs the loop until nothing is pending: no back-end input, no posted or sent messages, no
// paints, no due timers, no Synchronize calls; then presents the screen. It does not move a
// fake clock. A WM_QUIT met on the way stays queued and ends the run.
void RunUntilIdle();

// Modal loops (ShowModal, MessageBox, the move/size loop, menus) call ModalLoopIdle each
// time their queue runs empty, before they wait. It calls the hook a test installed with
// SetModalHook (nothing by default), so the test can act on the modal window (click, type,
// post WM_CLOSE); the hook is not re-entered. SetModalHook(nullptr) removes it.
void SetModalHook(std::function<void()> Hook);
void ModalLoopIdle();

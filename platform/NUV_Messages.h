// Messages, private message windows, timers and the beep of the platform layer.
//
// A message window is an object with a window procedure (AllocateHWnd). Messages posted to
// it and the WM_TIMER messages of its timers wait in the process's message queue until the
// application's loop (TApplication::ProcessMessages / HandleMessage) retrieves and
// dispatches them. Timers read the process clock GetTickCount64(), so a test that replaces
// the clock (SetClock) decides when they are due.
#pragma once

#include <cstdint>
#include <functional>

namespace nuv {

// Message numbers of the classic desktop platform.
enum : unsigned {
  WM_NULL = 0x0000,
  WM_KEYDOWN = 0x0100,
  WM_KEYUP = 0x0101,
  WM_CHAR = 0x0102,
  WM_TIMER = 0x0113,
  WM_MOUSEMOVE = 0x0200,
  WM_LBUTTONDOWN = 0x0201,
  WM_LBUTTONUP = 0x0202,
  WM_LBUTTONDBLCLK = 0x0203,
  WM_RBUTTONDOWN = 0x0204,
  WM_RBUTTONUP = 0x0205,
  WM_RBUTTONDBLCLK = 0x0206,
  WM_MBUTTONDOWN = 0x0207,
  WM_MBUTTONUP = 0x0208,
  WM_MBUTTONDBLCLK = 0x0209,
  WM_USER = 0x0400,
};

struct TMessage {
  unsigned Msg = WM_NULL;
  uintptr_t WParam = 0;
  intptr_t LParam = 0;
  intptr_t Result = 0;
};

// The handle of a private message window; nullptr is no window.
using HWND = struct TMessageWindow*;
using TWndMethod = std::function<void(TMessage& Message)>;

// A new message window whose procedure is Method. DeallocateHWnd kills its timers and
// drops the messages still queued for it; the handle is invalid afterwards.
HWND AllocateHWnd(TWndMethod Method);
void DeallocateHWnd(HWND Wnd);
// The default handling of a message nobody handles: it does nothing and returns 0.
intptr_t DefWindowProc(HWND Wnd, unsigned Msg, uintptr_t WParam, intptr_t LParam);
// Calls the window procedure at once and returns the message's Result (0 for no window).
intptr_t SendMessage(HWND Wnd, unsigned Msg, uintptr_t WParam, intptr_t LParam);
// Queues a message for the window; false when the window does not exist.
bool PostMessage(HWND Wnd, unsigned Msg, uintptr_t WParam, intptr_t LParam);

// Timers. SetTimer starts (or restarts) the timer IDEvent of the window: a WM_TIMER with
// WParam = IDEvent becomes due every Elapse milliseconds of the process clock (at least
// 10). A due timer yields one WM_TIMER however late the loop comes to it; the next one is
// due Elapse milliseconds after that. SetTimer returns IDEvent, or 0 when the platform
// refuses the timer (no window, or the timer limit reached).
uintptr_t SetTimer(HWND Wnd, uintptr_t IDEvent, unsigned Elapse);
bool KillTimer(HWND Wnd, uintptr_t IDEvent);
// The number of timers that may run at the same time in the process (default 10000).
// 0 makes every new timer fail, which is how a "no timer available" path is tested;
// timers already running keep running.
void SetTimerLimit(int MaxTimers);
int GetTimerLimit();
int ActiveTimerCount();
// The process clock's time (GetTickCount64) at which the next timer is due; -1 for none.
int64_t NextTimerDue();

// One message taken from the queue: posted messages in order first, then due timers.
struct TMsg {
  HWND Wnd = nullptr;
  TMessage Message;
};
// Takes the next message (or only looks at it when Remove is false); false when none.
bool PeekMessage(TMsg& Msg, bool Remove);
// Hands the message to its window procedure (nothing when the window has gone).
void DispatchMessage(TMsg& Msg);

// The simple system beep. The headless platform makes no sound; it counts the beeps and
// calls the hook, which a window backend uses to sound them and a test to observe them.
void MessageBeep(unsigned Type = 0);
int64_t MessageBeepCount();
void SetMessageBeepHook(std::function<void(unsigned Type)> Hook);

}  // namespace nuv

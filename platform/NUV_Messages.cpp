#include "platform/NUV_Messages.h"

#include <algorithm>
#include <deque>
#include <unordered_set>
#include <vector>

#include "platform/NUV_SysUtils.h"

namespace nuv {

struct TMessageWindow {
  TWndMethod Method;
};

namespace {

constexpr unsigned MinTimerElapse = 10;

struct TTimer {
  HWND Wnd;
  uintptr_t ID;
  int64_t Elapse;
  int64_t Due;
};

// Process-wide state. It is never destroyed, so components freed during program exit can
// still kill their timers safely.
struct TMessageState {
  std::unordered_set<HWND> Windows;
  std::deque<TMsg> Queue;
  std::vector<TTimer> Timers;
  int TimerLimit = 10000;
  int64_t BeepCount = 0;
  std::function<void(unsigned)> BeepHook;
};

TMessageState& State() {
  static auto* S = new TMessageState;
  return *S;
}

bool IsWindow(HWND Wnd) { return Wnd && State().Windows.count(Wnd) != 0; }

std::vector<TTimer>::iterator FindTimer(HWND Wnd, uintptr_t ID) {
  auto& T = State().Timers;
  return std::find_if(T.begin(), T.end(), [&](const TTimer& t) { return t.Wnd == Wnd && t.ID == ID; });
}

}  // namespace

HWND AllocateHWnd(TWndMethod Method) {
  auto* W = new TMessageWindow{std::move(Method)};
  State().Windows.insert(W);
  return W;
}

void DeallocateHWnd(HWND Wnd) {
  auto& S = State();
  if (!IsWindow(Wnd)) return;
  S.Windows.erase(Wnd);
  std::erase_if(S.Timers, [&](const TTimer& t) { return t.Wnd == Wnd; });
  std::erase_if(S.Queue, [&](const TMsg& m) { return m.Wnd == Wnd; });
  delete Wnd;
}

intptr_t DefWindowProc(HWND, unsigned, uintptr_t, intptr_t) { return 0; }

intptr_t SendMessage(HWND Wnd, unsigned Msg, uintptr_t WParam, intptr_t LParam) {
  TMsg M{Wnd, TMessage{Msg, WParam, LParam, 0}};
  DispatchMessage(M);
  return M.Message.Result;
}

bool PostMessage(HWND Wnd, unsigned Msg, uintptr_t WParam, intptr_t LParam) {
  if (!IsWindow(Wnd)) return false;
  State().Queue.push_back(TMsg{Wnd, TMessage{Msg, WParam, LParam, 0}});
  return true;
}

uintptr_t SetTimer(HWND Wnd, uintptr_t IDEvent, unsigned Elapse) {
  auto& S = State();
  if (!IsWindow(Wnd)) return 0;
  const int64_t Period = std::max(Elapse, MinTimerElapse);
  const int64_t Due = GetTickCount64() + Period;
  auto It = FindTimer(Wnd, IDEvent);
  if (It != S.Timers.end()) {
    It->Elapse = Period;
    It->Due = Due;
    return IDEvent;
  }
  if (static_cast<int>(S.Timers.size()) >= S.TimerLimit) return 0;
  S.Timers.push_back(TTimer{Wnd, IDEvent, Period, Due});
  return IDEvent;
}

bool KillTimer(HWND Wnd, uintptr_t IDEvent) {
  auto It = FindTimer(Wnd, IDEvent);
  if (It == State().Timers.end()) return false;
  State().Timers.erase(It);
  return true;
}

void SetTimerLimit(int MaxTimers) { State().TimerLimit = std::max(MaxTimers, 0); }
int GetTimerLimit() { return State().TimerLimit; }
int ActiveTimerCount() { return static_cast<int>(State().Timers.size()); }

int64_t NextTimerDue() {
  int64_t Next = -1;
  for (const TTimer& t : State().Timers)
    if (Next < 0 || t.Due < Next) Next = t.Due;
  return Next;
}

bool PeekMessage(TMsg& Msg, bool Remove) {
  auto& S = State();
  if (!S.Queue.empty()) {
    Msg = S.Queue.front();
    if (Remove) S.Queue.pop_front();
    return true;
  }
  // The timer that has been due longest goes first.
  const int64_t Now = GetTickCount64();
  TTimer* Best = nullptr;
  for (TTimer& t : S.Timers)
    if (t.Due <= Now && (!Best || t.Due < Best->Due)) Best = &t;
  if (!Best) return false;
  Msg = TMsg{Best->Wnd, TMessage{WM_TIMER, Best->ID, 0, 0}};
  if (Remove) Best->Due = Now + Best->Elapse;
  return true;
}

void DispatchMessage(TMsg& Msg) {
  if (!IsWindow(Msg.Wnd)) return;
  // A copy, so that the procedure may free its own window while it runs.
  TWndMethod Method = Msg.Wnd->Method;
  if (Method) Method(Msg.Message);
}

void MessageBeep(unsigned Type) {
  auto& S = State();
  ++S.BeepCount;
  if (S.BeepHook) S.BeepHook(Type);
}

int64_t MessageBeepCount() { return State().BeepCount; }

void SetMessageBeepHook(std::function<void(unsigned Type)> Hook) { State().BeepHook = std::move(Hook); }

}  // namespace nuv

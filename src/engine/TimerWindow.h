#pragma once

#include <windows.h>

#include <cstdint>

class VORClock;
class VORTimerTickReceiver;

// A hidden window whose 100 ms timer ticks the application, so that queued
// actions fall due while a modal loop (a dialog, a modal transition) keeps
// the main loop waiting: every message loop dispatches its WM_TIMER.
class TimerWindow {
public:
  static constexpr const char *kClassName = "VOR_TIMER_CLASS";
  static constexpr UINT_PTR kTimerId = 1;
  static constexpr UINT kIntervalMs = 100;

  TimerWindow() = default;
  TimerWindow(const TimerWindow &) = delete;
  TimerWindow &operator=(const TimerWindow &) = delete;
  ~TimerWindow();

  // Registers the class, makes the window and starts the timer. Failures
  // are reported to the application (codes 1, 2 and 8); the object stays
  // usable as far as it got.
  void Create(VORTimerTickReceiver *receiver, VORClock &clock, HINSTANCE instance, HWND parent);
  void Destroy();
  // The receiver's OnTick with the clock's time.
  void OnTimer();

  HWND GetWindow() const { return m_window; }
  uint32_t GetCreationTime() const { return m_creationTime; }

private:
  static LRESULT CALLBACK TimerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  VORTimerTickReceiver *m_receiver = nullptr;
  VORClock *m_clock = nullptr;
  HWND m_window = nullptr;
  UINT_PTR m_timer = 0;
  uint32_t m_creationTime = 0;
};

#pragma once

#include <windows.h>

#include <vector>

#include "engine/VORPlayerApp.h"
#include "support/TestRunView.h"

// The application for tests under Wine: the real start-up, main loop and
// timer window, with views of the test kind and its quits counted (and
// still done).
class TestPlayerApp : public VORPlayerApp {
public:
  explicit TestPlayerApp(HINSTANCE instance = GetModuleHandleA(nullptr)) : VORPlayerApp(instance) {}

  bool RequestQuit() override;
  TestRunView *MainView() const;

  int quitRequests = 0;

protected:
  VORRunView *MakeView(const VORObjectCode &identity, VORPage &page) override;
};

// A hidden window that records the messages dispatched to it; kQuitMessage
// also ends the message loop.
class MessageRecorder {
public:
  static constexpr UINT kQuitMessage = WM_APP + 0x100;

  MessageRecorder();
  ~MessageRecorder();
  MessageRecorder(const MessageRecorder &) = delete;
  MessageRecorder &operator=(const MessageRecorder &) = delete;

  HWND Window() const { return m_window; }
  bool Received(UINT message) const;
  void Post(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND m_window = nullptr;
  std::vector<UINT> m_messages;
};

// Ends a message loop of this thread that runs too long: after the time it
// presses OK on the thread's boxes and posts WM_QUIT, and Fired answers
// true. One at a time.
class LoopWatchdog {
public:
  explicit LoopWatchdog(UINT milliseconds);
  ~LoopWatchdog();
  LoopWatchdog(const LoopWatchdog &) = delete;
  LoopWatchdog &operator=(const LoopWatchdog &) = delete;

  bool Fired() const;

private:
  UINT_PTR m_timer;
};

// Presses OK on the first box of this thread with that caption; false when
// there is none.
bool PressOkOnThreadBox(const char *caption);

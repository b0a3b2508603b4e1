#pragma once

#include <windows.h>

// A message-only helper window of a class of its own, registered once per
// process, with its owner kept in GWLP_USERDATA. Failures go to the
// application's system-error report (1 class, 2 window).
class HiddenWindow {
public:
  HiddenWindow() = default;
  HiddenWindow(const HiddenWindow &) = delete;
  HiddenWindow &operator=(const HiddenWindow &) = delete;
  ~HiddenWindow() { Destroy(); }

  bool Create(HINSTANCE instance, const char *className, WNDPROC procedure, void *owner);
  void Destroy();
  HWND Get() const { return m_window; }
  // Removes the messages of that number still queued for the window.
  void DiscardQueued(UINT message) const;
  // Dispatches the messages of that number still queued for the window.
  void DispatchQueued(UINT message) const;

  template <class Owner>
  static Owner *OwnerOf(HWND window) {
    return reinterpret_cast<Owner *>(GetWindowLongPtrA(window, GWLP_USERDATA));
  }

private:
  HWND m_window = nullptr;
};

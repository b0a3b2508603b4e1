#pragma once

#include <cstdint>
#include <vector>

#include "display/SystemErrorHook.h"

// Collects what the display layer reports while it lives.
class ErrorRecorder {
public:
  ErrorRecorder() {
    Reported().clear();
    m_previous = SetSystemErrorHook(&Record);
  }
  ~ErrorRecorder() { SetSystemErrorHook(m_previous); }
  ErrorRecorder(const ErrorRecorder &) = delete;
  ErrorRecorder &operator=(const ErrorRecorder &) = delete;

  const std::vector<int32_t> &Codes() const { return Reported(); }

private:
  static std::vector<int32_t> &Reported() {
    static std::vector<int32_t> codes;
    return codes;
  }
  static void Record(int32_t code) { Reported().push_back(code); }

  SystemErrorHook m_previous;
};

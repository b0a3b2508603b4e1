#pragma once

// Every form of the pixel loops for tests that compare them: plain, the SSE2
// vector forms and, where the processor has AVX2, the wide ones (elsewhere
// the SSE2 forms again).

#include "display/DisplaySettings.h"

struct LoopForm {
  PixelLoops loops;
  bool wide;
  const char *name;
};

constexpr LoopForm kLoopForms[] = {
    {PixelLoops::kPlain, false, "plain"}, {PixelLoops::kVector, false, "SSE2"}, {PixelLoops::kVector, true, "AVX2"}};

// Lets the wide forms run or not while it lives.
class LoopFormScope {
public:
  explicit LoopFormScope(const LoopForm &form) : m_saved(GetDisplaySettings().wideVectors) {
    GetDisplaySettings().wideVectors = form.wide;
  }
  ~LoopFormScope() { GetDisplaySettings().wideVectors = m_saved; }
  LoopFormScope(const LoopFormScope &) = delete;
  LoopFormScope &operator=(const LoopFormScope &) = delete;

private:
  bool m_saved;
};

#pragma once

#include "display/DisplaySettings.h"

// Tests change the process-wide display settings; this puts them back.
class ScopedDisplaySettings {
public:
  ScopedDisplaySettings() : m_saved(GetDisplaySettings()) {}
  ~ScopedDisplaySettings() { GetDisplaySettings() = m_saved; }

  ScopedDisplaySettings(const ScopedDisplaySettings &) = delete;
  ScopedDisplaySettings &operator=(const ScopedDisplaySettings &) = delete;

private:
  DisplaySettings m_saved;
};

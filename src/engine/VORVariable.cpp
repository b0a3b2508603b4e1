#include "engine/VORVariable.h"

#include <cstdio>
#include <cstdlib>

#include "engine/VORVariableChangedAction.h"
#include "model/VORApp.h"

namespace {

constexpr size_t kIntTextSize = 24;

} // namespace

int32_t VORVariable::GetInt() const { return m_value.IsEmpty() ? 0 : std::atoi(m_value.CStr()); }

void VORVariable::SetValue(const XQString &value) {
  m_value = value;
  NotifyChanged();
}

void VORVariable::SetInt(int32_t value) {
  char text[kIntTextSize];
  std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
  SetValue(XQString(text));
}

void VORVariable::AppendValue(const XQString &text) {
  m_value.Append(text);
  NotifyChanged();
}

// The receivers run inside the broadcast and may delete this variable (a
// score action that clears the list): the action carries its own copy of
// the name, and nothing of the variable is used after the broadcast.
void VORVariable::NotifyChanged() const {
  VORApp *app = VORApp::Get();
  if (!app)
    return;
  const VORVariableChangedAction action(m_name);
  app->BroadcastAction(action);
}

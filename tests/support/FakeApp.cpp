#include "support/FakeApp.h"

VORString FakeApp::AskPassword() {
  ++m_questions;
  if (m_answers.empty())
    return VORString();
  VORString answer(m_answers.front().c_str());
  m_answers.pop_front();
  return answer;
}

XQString FakeApp::GetVariableValue(const char *name) {
  auto found = m_variables.find(name);
  return found == m_variables.end() ? XQString() : XQString(found->second.c_str());
}

void FakeApp::SetVariableValue(const char *name, const char *value) { m_variables[name] = value ? value : ""; }

#include "support/FakeApp.h"

VORString FakeApp::AskPassword() {
  ++m_questions;
  if (m_answers.empty())
    return VORString();
  VORString answer(m_answers.front().c_str());
  m_answers.pop_front();
  return answer;
}

XQString FakeApp::GetVariableValue(const XQString &name) {
  auto found = m_variables.find(name.CStr());
  return found == m_variables.end() ? XQString() : XQString(found->second.c_str());
}

void FakeApp::SetVariableValue(const XQString &name, const XQString &value) { m_variables[name.CStr()] = value.CStr(); }

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

int32_t FakeApp::ReportFileFailure(const char *fileName, int32_t, int32_t) {
  m_fileFailures.emplace_back(fileName ? fileName : "");
  if (m_fileFailureAnswers.empty())
    return 1;
  const int32_t answer = m_fileFailureAnswers.front();
  m_fileFailureAnswers.pop_front();
  return answer;
}

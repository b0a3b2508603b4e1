#include "support/FakeApp.h"

#include "foundation/VORException.h"
#include "model/ActionContext.h"
#include "model/VORActionReceiver.h"

FakeApp::FakeApp() = default;

FakeApp::~FakeApp() = default;

void FakeApp::ThrowMidiError(int32_t code) { throw new VORMidiErrorException(code); }

void FakeApp::ThrowWaveError(int32_t code) { throw new VORWaveErrorException(code); }

void FakeApp::ScheduleAction(uint32_t delay, VORObjectAction *action, VORActionCondition *condition) {
  m_scheduled.push_back(
      {delay, std::unique_ptr<VORObjectAction>(action), std::unique_ptr<VORActionCondition>(condition)});
}

bool FakeApp::ExecuteAction(VORObjectAction &action) {
  VORActionReceiver *receiver = FindObject(action.GetTarget(), action.GetOriginObject(), action.GetOriginPage());
  ActionContext context = ActionContext::FromAction(action);
  return receiver && receiver->ReceiveAction(action, context);
}

bool FakeApp::BroadcastAction(const VORObjectAction &action) {
  ++m_broadcasts;
  m_broadcastCodes.push_back(action.GetActionCode());
  return false;
}

VORString FakeApp::AskPassword() {
  ++m_questions;
  if (m_answers.empty())
    return VORString();
  VORString answer(m_answers.front().c_str());
  m_answers.pop_front();
  return answer;
}

// As the variable list does, reading a name makes the variable known.
XQString FakeApp::GetVariableValue(const XQString &name) { return XQString(m_variables[name.CStr()].c_str()); }

void FakeApp::SetVariableValue(const XQString &name, const XQString &value) { m_variables[name.CStr()] = value.CStr(); }

int32_t FakeApp::ReportFileFailure(const char *fileName, int32_t, int32_t) {
  m_fileFailures.emplace_back(fileName ? fileName : "");
  if (m_fileFailureAnswers.empty())
    return 1;
  const int32_t answer = m_fileFailureAnswers.front();
  m_fileFailureAnswers.pop_front();
  return answer;
}

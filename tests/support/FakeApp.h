#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "model/ActionReceiverTable.h"
#include "model/VORApp.h"

// An application for tests of the model: a real receiver table, variables
// in a map, passwords answered from a queue, a tick time the test sets.
class FakeApp : public VORApp {
public:
  VORResourceManager *GetResourceManager() override { return nullptr; }
  VORSoundManager *GetSoundManager() override { return nullptr; }
  ActionReceiverTable *GetReceiverList() override { return &m_receivers; }
  VORActionReceiver *FindObject(const VORObjectCode &target, const VORObjectCode &originView,
                                const VORObjectCode &originPage) override {
    return m_receivers.Find(target, originView, originPage);
  }
  VORPublication *GetPublication() override { return m_publication; }
  uint32_t GetTickTime() override { return m_tickTime; }
  VORString AskPassword() override;
  XQString GetVariableValue(const XQString &name) override;
  void SetVariableValue(const XQString &name, const XQString &value) override;
  bool IsTrueColorDisplay() override { return m_trueColor; }

  ActionReceiverTable &Receivers() { return m_receivers; }
  void SetPublication(VORPublication *publication) { m_publication = publication; }
  void SetTickTime(uint32_t time) { m_tickTime = time; }
  void SetTrueColor(bool trueColor) { m_trueColor = trueColor; }
  // Each AskPassword takes the next answer; none left answers empty (cancel).
  void QueuePasswordAnswer(const char *answer) { m_answers.emplace_back(answer); }
  int GetPasswordQuestions() const { return m_questions; }
  // Names are stored as given; the tests use one spelling.
  std::map<std::string, std::string> &Variables() { return m_variables; }

private:
  ActionReceiverTable m_receivers;
  VORPublication *m_publication = nullptr;
  uint32_t m_tickTime = 0;
  bool m_trueColor = true;
  std::deque<std::string> m_answers;
  int m_questions = 0;
  std::map<std::string, std::string> m_variables;
};

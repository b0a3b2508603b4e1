#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "model/ActionReceiverTable.h"
#include "model/VORApp.h"

// An application for tests of the model: a real receiver table, variables
// in a map, passwords answered from a queue, a tick time the test sets, the
// managers and the publication-file holder the test gives, and a record of
// the failures reported to it.
class FakeApp : public VORApp {
public:
  VORResourceManager *GetResourceManager() override { return m_resourceManager; }
  VORSoundManager *GetSoundManager() override { return nullptr; }
  PublicationFile *GetPublicationFileId() override { return m_publicationFile; }
  VORFileManager *GetFileManager() override { return m_fileManager; }
  // Each report takes the next queued answer; none left answers 1 (give up).
  int32_t ReportFileFailure(const char *fileName, int32_t kind, int32_t code) override;
  void ReportResourceError(int32_t code) override { m_resourceErrors.push_back(code); }
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
  void SetResourceManager(VORResourceManager *manager) { m_resourceManager = manager; }
  void SetPublicationFile(PublicationFile *holder) { m_publicationFile = holder; }
  void SetFileManager(VORFileManager *manager) { m_fileManager = manager; }
  void QueueFileFailureAnswer(int32_t answer) { m_fileFailureAnswers.push_back(answer); }
  // The file names reported missing, in order.
  const std::vector<std::string> &GetFileFailures() const { return m_fileFailures; }
  const std::vector<int32_t> &GetResourceErrors() const { return m_resourceErrors; }
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
  VORResourceManager *m_resourceManager = nullptr;
  PublicationFile *m_publicationFile = nullptr;
  VORFileManager *m_fileManager = nullptr;
  std::deque<int32_t> m_fileFailureAnswers;
  std::vector<std::string> m_fileFailures;
  std::vector<int32_t> m_resourceErrors;
  VORPublication *m_publication = nullptr;
  uint32_t m_tickTime = 0;
  bool m_trueColor = true;
  std::deque<std::string> m_answers;
  int m_questions = 0;
  std::map<std::string, std::string> m_variables;
};

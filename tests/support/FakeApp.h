#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "model/ActionReceiverTable.h"
#include "model/VORActionCondition.h"
#include "model/VORApp.h"
#include "model/VORObjectAction.h"

// An application for tests of the model: a real receiver table, variables
// in a map, passwords answered from a queue, a tick time the test sets, the
// managers, the page cache and the publication-file holder the test gives,
// a record of the failures reported to it, and scheduled actions kept for
// the test to look at.
class FakeApp : public VORApp {
public:
  struct Scheduled {
    uint32_t delay;
    std::unique_ptr<VORObjectAction> action;
    std::unique_ptr<VORActionCondition> condition;
  };

  FakeApp();
  ~FakeApp() override;

  VORResourceManager *GetResourceManager() override { return m_resourceManager; }
  VORSoundManager *GetSoundManager() override { return m_soundManager; }
  PublicationFile *GetPublicationFileId() override { return m_publicationFile; }
  VORFileManager *GetFileManager() override { return m_fileManager; }
  // Each report takes the next queued answer; none left answers 1 (give up).
  int32_t ReportFileFailure(const char *fileName, int32_t kind, int32_t code) override;
  void ReportResourceError(int32_t code) override { m_resourceErrors.push_back(code); }
  ActionReceiverTable *GetReceiverList() override { return &m_receivers; }
  VORPageManager *GetPageManager() override { return m_pageManager; }
  VORUpdateController *GetUpdateController() override { return nullptr; }
  VORVariableList *GetVariables() override { return nullptr; }
  HINSTANCE__ *GetInstanceHandle() override { return m_instance; }
  uint32_t GetTickTime() override { return m_tickTime; }
  VORActionReceiver *FindObject(const VORObjectCode &target, const VORObjectCode &originView,
                                const VORObjectCode &originPage) override {
    return m_receivers.Find(target, originView, originPage);
  }
  void ReportMissingPage(const VORObjectCode &page) override { m_missingPages.push_back(page); }
  void Notify() override {}
  void ReportSystemError(int32_t code) override { m_systemErrors.push_back(code); }
  [[noreturn]] void ThrowMidiError(int32_t code) override;
  [[noreturn]] void ThrowWaveError(int32_t code) override;
  void ScheduleAction(uint32_t delay, VORObjectAction *action, VORActionCondition *condition) override;
  void ScheduleStep(uint32_t delay, VORObjectAction *action) override { ScheduleAction(delay, action, nullptr); }
  bool ExecuteAction(VORObjectAction &action) override;
  bool BroadcastAction(const VORObjectAction &action) override;
  bool CheckViewsIdle() override { return true; }
  void LaunchSearcher() override {}
  void SetPublicationCursor(bool on) override { m_publicationCursor = on; }
  bool UsesPublicationCursor() override { return m_publicationCursor; }
  uint32_t GetVersion() override { return kVersion; }
  VORPublication *GetPublication() override { return m_publication; }
  Palette *GetPalette() override { return m_palette; }
  VORString AskPassword() override;
  XQString GetVariableValue(const XQString &name) override;
  void SetVariableValue(const XQString &name, const XQString &value) override;
  bool IsTrueColorDisplay() override { return m_trueColor; }
  void CloseViewWindow(HWND__ *window) override { m_closedWindows.push_back(window); }
  void RemoveCover() override { ++m_coverRemovals; }

  ActionReceiverTable &Receivers() { return m_receivers; }
  const std::vector<HWND__ *> &ClosedWindows() const { return m_closedWindows; }
  void SetResourceManager(VORResourceManager *manager) { m_resourceManager = manager; }
  void SetSoundManager(VORSoundManager *manager) { m_soundManager = manager; }
  void SetPublicationFile(PublicationFile *holder) { m_publicationFile = holder; }
  void SetFileManager(VORFileManager *manager) { m_fileManager = manager; }
  void QueueFileFailureAnswer(int32_t answer) { m_fileFailureAnswers.push_back(answer); }
  // The file names reported missing, in order.
  const std::vector<std::string> &GetFileFailures() const { return m_fileFailures; }
  const std::vector<int32_t> &GetResourceErrors() const { return m_resourceErrors; }
  void SetPublication(VORPublication *publication) { m_publication = publication; }
  void SetPalette(Palette *palette) { m_palette = palette; }
  void SetInstanceHandle(HINSTANCE__ *instance) { m_instance = instance; }
  void SetPageManager(VORPageManager *manager) { m_pageManager = manager; }
  void SetTickTime(uint32_t time) { m_tickTime = time; }
  void SetTrueColor(bool trueColor) { m_trueColor = trueColor; }
  // Each AskPassword takes the next answer; none left answers empty (cancel).
  void QueuePasswordAnswer(const char *answer) { m_answers.emplace_back(answer); }
  int GetPasswordQuestions() const { return m_questions; }
  // Names are stored as given; the tests use one spelling.
  std::map<std::string, std::string> &Variables() { return m_variables; }
  std::vector<Scheduled> &ScheduledActions() { return m_scheduled; }
  const std::vector<VORObjectCode> &MissingPages() const { return m_missingPages; }
  const std::vector<int32_t> &SystemErrors() const { return m_systemErrors; }
  int GetBroadcastCount() const { return m_broadcasts; }
  // The codes of the actions broadcast, in order.
  const std::vector<int32_t> &BroadcastCodes() const { return m_broadcastCodes; }
  int GetCoverRemovals() const { return m_coverRemovals; }

private:
  ActionReceiverTable m_receivers;
  VORResourceManager *m_resourceManager = nullptr;
  VORSoundManager *m_soundManager = nullptr;
  PublicationFile *m_publicationFile = nullptr;
  VORFileManager *m_fileManager = nullptr;
  std::deque<int32_t> m_fileFailureAnswers;
  std::vector<std::string> m_fileFailures;
  std::vector<int32_t> m_resourceErrors;
  VORPublication *m_publication = nullptr;
  Palette *m_palette = nullptr;
  HINSTANCE__ *m_instance = nullptr;
  VORPageManager *m_pageManager = nullptr;
  uint32_t m_tickTime = 0;
  bool m_trueColor = true;
  bool m_publicationCursor = false;
  std::deque<std::string> m_answers;
  int m_questions = 0;
  int m_broadcasts = 0;
  std::vector<int32_t> m_broadcastCodes;
  int m_coverRemovals = 0;
  std::map<std::string, std::string> m_variables;
  std::vector<Scheduled> m_scheduled;
  std::vector<VORObjectCode> m_missingPages;
  std::vector<int32_t> m_systemErrors;
  std::vector<HWND__ *> m_closedWindows;
};

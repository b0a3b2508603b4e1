#pragma once

#include <windows.h>

#include <memory>
#include <utility>
#include <vector>

#include "model/ActionReceiverTable.h"
#include "model/VORApp.h"

// The engine under the application object and the application interface
// the model reaches it through. It grows with the main loop, the event
// queue and the player actions; for now it keeps the receiver table and
// the variables, and answers which pixel loops the processor can run.
class VORPlayer : public VORApp {
public:
  VORPlayer();
  ~VORPlayer() override;

  // Sets the MMX flag: 1 when the processor runs MMX instructions.
  void DetectMMX();
  bool HasMMX() const { return m_mmx != 0; }

  VORResourceManager *GetResourceManager() override { return m_resourceManager.get(); }
  VORSoundManager *GetSoundManager() override { return nullptr; }
  // Nobody is asked: a missing file is given up at once.
  int32_t ReportFileFailure(const char *fileName, int32_t kind, int32_t code) override;
  void ReportResourceError(int32_t) override {}
  ActionReceiverTable *GetReceiverList() override { return &m_receivers; }
  // The publication for (0, 1, any id); everything else through the table.
  VORActionReceiver *FindObject(const VORObjectCode &target, const VORObjectCode &originView,
                                const VORObjectCode &originPage) override;
  VORPublication *GetPublication() override { return nullptr; }
  uint32_t GetTickTime() override { return m_tickTime; }
  XQString GetVariableValue(const XQString &name) override;
  void SetVariableValue(const XQString &name, const XQString &value) override;

protected:
  // Made by the start-up, deleted by the teardown.
  std::unique_ptr<VORResourceManager> m_resourceManager;

private:
  XQString *FindVariable(const XQString &name);

  int m_mmx = 0;
  uint32_t m_tickTime = 0;
  ActionReceiverTable m_receivers;
  // Name and value; names compare without regard to letter case and keep
  // the spelling of their first use.
  std::vector<std::pair<XQString, XQString>> m_variables;
};

#pragma once

#include <cstdint>

#include "engine/VORVariableList.h"
#include "model/VORActionReceiver.h"

class VORScoreObjectAction;
class VORStoreInfoObjectAction;
class VORStoreInfoPlatform;

// Keeps the publication's variables and its scores, which are variables
// too: "SCORE_VALUE", "SCORE_CORRECT", "SCORE_TOTAL" and "SCORE_PERCENT".
// The receiver (0, 0, 4) of the scoring actions (800, 801, 804, 805) and of
// store-information (802), which puts a text into a variable or a file.
class VORScoreManager : public VORActionReceiver {
public:
  static constexpr VORObjectCode kReference = VORObjectCode(0, 0, 4);
  enum ActionCode : int32_t {
    kAddAnswer = 800,
    kResetScores = 801,
    kStoreInformation = 802,
    kSetQuestionScore = 804,
    kClearAll = 805,
  };
  static constexpr const char *kValue = "SCORE_VALUE";
  static constexpr const char *kCorrect = "SCORE_CORRECT";
  static constexpr const char *kTotal = "SCORE_TOTAL";
  static constexpr const char *kPercent = "SCORE_PERCENT";
  // The title and filter of the save dialog.
  static constexpr const char *kSaveDialogTitle = "Saving information to file";
  static constexpr const char *kSaveDialogFilter = "*.TXT";
  // The temporary folder when the environment names none.
  static constexpr const char *kDefaultTemporaryFolder = "c:\\";

  VORScoreManager();
  ~VORScoreManager() override;

  bool ReceiveAction(VORObjectAction &action, ActionContext &context) override;

  VORVariableList &GetVariables() { return m_variables; }
  // The system's files, environment and save dialog; without one nothing
  // is read from or written to files.
  void SetStoreInfoPlatform(VORStoreInfoPlatform *platform) { m_platform = platform; }

  // The four scores := 0.
  void ResetScores();
  // Every variable emptied, announced and deleted; then the scores := 0.
  void ClearAll();
  void AddAnswer(const VORScoreObjectAction &action);
  void SetQuestionScore(const VORScoreObjectAction &action);
  void StoreInformation(const VORStoreInfoObjectAction &action);

  // The first of TMP, TEMP and TMPDIR that the environment holds, else
  // "c:\".
  XQString TemporaryFolder() const;

private:
  int32_t Get(const char *name);
  void Set(const char *name, int64_t value);
  void SetPercent(int64_t correct, int64_t total);
  bool BuildText(const VORStoreInfoObjectAction &action, XQString &text);
  XQString ReadSourceFile(const VORStoreInfoObjectAction &action);
  void WriteTargetFile(const VORStoreInfoObjectAction &action, const XQString &text);
  // The current directory becomes the temporary folder or the
  // publication's folder.
  void EnterFolder(bool temporary);

  VORVariableList m_variables;
  VORStoreInfoPlatform *m_platform = nullptr;
};

#include "engine/VORScoreManager.h"

#include <cstdint>
#include <string>

#include "engine/VORScoreObjectAction.h"
#include "engine/VORStoreInfoObjectAction.h"
#include "engine/VORStoreInfoPlatform.h"
#include "engine/VORVariable.h"
#include "expression/VORExpressionEvaluator.h"
#include "model/VORApp.h"
#include "model/VORFileManager.h"

namespace {

// The receiver's class key: category 0, code 0.
constexpr uint32_t kManagerClassKey = VORObjectCode::MakeClassKey(0, 0);
constexpr int64_t kPercentScale = 100;
const char *const kTemporaryVariables[] = {"TMP", "TEMP", "TMPDIR"};

// Scores are kept in 32 bits: sums beyond are held at the limit rather
// than wrapped.
int32_t Clamp(int64_t value) {
  if (value > INT32_MAX)
    return INT32_MAX;
  if (value < INT32_MIN)
    return INT32_MIN;
  return static_cast<int32_t>(value);
}

} // namespace

VORScoreManager::VORScoreManager() : VORActionReceiver(kManagerClassKey, kReference.id) {}

VORScoreManager::~VORScoreManager() = default;

bool VORScoreManager::ReceiveAction(VORObjectAction &action, ActionContext & /*context*/) {
  const auto *score = dynamic_cast<const VORScoreObjectAction *>(&action);
  switch (action.GetActionCode()) {
  case kResetScores:
    ResetScores();
    return true;
  case kClearAll:
    ClearAll();
    return true;
  case kAddAnswer:
    if (!score)
      return false;
    AddAnswer(*score);
    return true;
  case kSetQuestionScore:
    if (!score)
      return false;
    SetQuestionScore(*score);
    return true;
  case kStoreInformation:
    if (const auto *store = dynamic_cast<const VORStoreInfoObjectAction *>(&action)) {
      StoreInformation(*store);
      return true;
    }
    return false;
  default:
    return false;
  }
}

int32_t VORScoreManager::Get(const char *name) { return m_variables.FindOrCreate(name)->GetInt(); }

void VORScoreManager::Set(const char *name, int64_t value) { m_variables.FindOrCreate(name)->SetInt(Clamp(value)); }

// A total of 0 (a publication may have set it to -1 before the first
// answer) gives 0 percent rather than a division by zero.
void VORScoreManager::SetPercent(int64_t correct, int64_t total) {
  Set(kPercent, total == 0 ? 0 : correct * kPercentScale / total);
}

void VORScoreManager::ResetScores() {
  for (const char *name : {kValue, kCorrect, kTotal, kPercent})
    Set(name, 0);
}

void VORScoreManager::ClearAll() {
  m_variables.ClearAll();
  ResetScores();
}

void VORScoreManager::AddAnswer(const VORScoreObjectAction &action) {
  Set(kValue, static_cast<int64_t>(Get(kValue)) + action.points);
  Set(kCorrect, static_cast<int64_t>(Get(kCorrect)) + action.correct);
  Set(kTotal, static_cast<int64_t>(Get(kTotal)) + 1);
  SetPercent(Get(kCorrect), Get(kTotal));
}

// Each question counts once in the total, and as correct while its score
// is above 0.
void VORScoreManager::SetQuestionScore(const VORScoreObjectAction &action) {
  if (action.question.IsEmpty())
    return;
  VORVariable *question = m_variables.FindOrCreate(action.question);
  const bool fresh = question->GetValue().IsEmpty();
  const int64_t old = question->GetInt();
  const int64_t now = Clamp(action.points + (action.correct ? old : 0));
  question->SetInt(static_cast<int32_t>(now));
  Set(kValue, Get(kValue) + now - old);
  Set(kCorrect, static_cast<int64_t>(Get(kCorrect)) + ((fresh || old <= 0) ? 1 : 0) - (now <= 0 ? 1 : 0));
  Set(kTotal, static_cast<int64_t>(Get(kTotal)) + (fresh ? 1 : 0));
  SetPercent(Get(kCorrect), Get(kTotal));
}

XQString VORScoreManager::TemporaryFolder() const {
  XQString folder;
  for (const char *name : kTemporaryVariables)
    if (m_platform && m_platform->GetEnvironment(name, folder))
      return folder;
  return XQString(kDefaultTemporaryFolder);
}

void VORScoreManager::EnterFolder(bool temporary) {
  if (!m_platform)
    return;
  if (temporary) {
    m_platform->ChangeDirectory(TemporaryFolder());
    return;
  }
  VORApp *app = VORApp::Get();
  VORFileManager *files = app ? app->GetFileManager() : nullptr;
  if (files && !files->GetPublicationFolder().IsEmpty())
    m_platform->ChangeDirectory(files->GetPublicationFolder());
}

XQString VORScoreManager::ReadSourceFile(const VORStoreInfoObjectAction &action) {
  XQString text;
  if (!m_platform)
    return text;
  EnterFolder(action.sourceInTemporaryFolder != 0);
  const XQString name = action.sourceNameInVariable ? m_variables.GetVariableValue(action.text) : XQString(action.text);
  if (!m_platform->ReadTextFile(name, text))
    text.Clear();
  return text;
}

// False when the action only runs statements: nothing is stored then.
bool VORScoreManager::BuildText(const VORStoreInfoObjectAction &action, XQString &text) {
  switch (action.sourceKind) {
  case VORStoreInfoObjectAction::kLiteral:
    text = action.text;
    return true;
  case VORStoreInfoObjectAction::kVariable:
    text = m_variables.GetVariableValue(action.text);
    return true;
  case VORStoreInfoObjectAction::kFile:
    text = ReadSourceFile(action);
    return true;
  case VORStoreInfoObjectAction::kExpression:
    text = XQString(VORExpressionEvaluator(&m_variables).EvaluateToString(action.text.CStr()).c_str());
    return true;
  case VORStoreInfoObjectAction::kStatements:
    VORExpressionEvaluator(&m_variables).Execute(action.text.CStr());
    return false;
  default:
    text.Clear();
    return true;
  }
}

void VORScoreManager::WriteTargetFile(const VORStoreInfoObjectAction &action, const XQString &text) {
  if (!m_platform)
    return;
  XQString name;
  if (action.ask) {
    if (!m_platform->AskSaveFileName(action.targetFile, name))
      return;
  } else {
    EnterFolder(action.targetInTemporaryFolder != 0);
    name = action.targetNameInVariable ? m_variables.GetVariableValue(action.targetFile) : XQString(action.targetFile);
  }
  m_platform->WriteTextFile(name, text, action.replace != 0);
}

void VORScoreManager::StoreInformation(const VORStoreInfoObjectAction &action) {
  XQString text;
  if (!BuildText(action, text))
    return;
  if (!action.targetVariable.IsEmpty()) {
    VORVariable *target = m_variables.FindOrCreate(action.targetVariable);
    if (action.replace)
      target->SetValue(text);
    else
      target->AppendValue(text);
  }
  if (!action.targetFile.IsEmpty())
    WriteTargetFile(action, text);
}

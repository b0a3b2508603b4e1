#include "engine/VORScoreManager.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/VORScoreObjectAction.h"
#include "engine/VORStoreInfoObjectAction.h"
#include "engine/VORVariable.h"
#include "support/FakeClock.h"
#include "support/FakeFileManager.h"
#include "support/FakeStoreInfoPlatform.h"
#include "support/TestPlayer.h"

namespace {

using Kind = VORStoreInfoObjectAction::SourceKind;

class VORScoreManagerTest : public ::testing::Test {
protected:
  void SetUp() override {
    auto owned = std::make_unique<FakeStoreInfoPlatform>();
    platform = owned.get();
    player.SetStoreInfoPlatform(std::move(owned));
    files.SetPublicationFolder("C:\\pub\\");
    player.fileManager = &files;
  }

  // Sends the action to the score manager as a posted action reaches it.
  bool Send(VORObjectAction &action) {
    action.SetTarget(VORScoreManager::kReference);
    return player.DispatchAction(action);
  }

  bool Answer(int32_t code, uint8_t correct, int32_t points, const char *question = "") {
    VORScoreObjectAction action;
    action.SetActionCode(code);
    action.correct = correct;
    action.points = points;
    action.question = VORString(question);
    return Send(action);
  }

  void Store(VORStoreInfoObjectAction &action) {
    action.SetActionCode(VORScoreManager::kStoreInformation);
    EXPECT_TRUE(Send(action));
  }

  std::string Value(const char *name) {
    VORVariable *variable = player.GetVariables()->Find(name);
    return variable ? variable->GetValue().CStr() : "(none)";
  }

  std::vector<std::string> Scores() {
    return {Value("SCORE_VALUE"), Value("SCORE_CORRECT"), Value("SCORE_TOTAL"), Value("SCORE_PERCENT")};
  }

  using Texts = std::vector<std::string>;

  FakeClock clock;
  TestPlayer player{clock};
  FakeFileManager files;
  FakeStoreInfoPlatform *platform = nullptr;
};

TEST_F(VORScoreManagerTest, AnswersAddUp) {
  ASSERT_TRUE(Answer(VORScoreManager::kAddAnswer, 1, 5));
  ASSERT_TRUE(Answer(VORScoreManager::kAddAnswer, 0, 0));
  EXPECT_EQ(Scores(), (Texts{"5", "1", "2", "50"}));
  ASSERT_TRUE(Answer(VORScoreManager::kAddAnswer, 1, 2));
  EXPECT_EQ(Scores(), (Texts{"7", "2", "3", "66"}));
  VORObjectAction reset(VORObjectAction::kClassKey, 0);
  reset.SetActionCode(VORScoreManager::kResetScores);
  ASSERT_TRUE(Send(reset));
  EXPECT_EQ(Scores(), (Texts{"0", "0", "0", "0"}));
}

// Each named question counts once in the total, and as correct while its
// score is above 0.
TEST_F(VORScoreManagerTest, QuestionsCountOnce) {
  ASSERT_TRUE(Answer(VORScoreManager::kSetQuestionScore, 0, 3, "q1"));
  EXPECT_EQ(Scores(), (Texts{"3", "1", "1", "100"}));
  ASSERT_TRUE(Answer(VORScoreManager::kSetQuestionScore, 0, 0, "q1"));
  EXPECT_EQ(Scores(), (Texts{"0", "0", "1", "0"}));
  EXPECT_EQ(Value("q1"), "0");
  // The add byte adds to the question's earlier score.
  ASSERT_TRUE(Answer(VORScoreManager::kSetQuestionScore, 0, 4, "q2"));
  ASSERT_TRUE(Answer(VORScoreManager::kSetQuestionScore, 1, 2, "q2"));
  EXPECT_EQ(Value("q2"), "6");
  EXPECT_EQ(Scores(), (Texts{"6", "1", "2", "50"}));
  // No name, no score.
  ASSERT_TRUE(Answer(VORScoreManager::kSetQuestionScore, 1, 9, ""));
  EXPECT_EQ(Scores(), (Texts{"6", "1", "2", "50"}));
}

// Scores are variables the publication may set: a total of -1 makes the
// next answer's total 0, and the percentage 0 rather than a division by
// zero; sums beyond 32 bits stay at the limit.
TEST_F(VORScoreManagerTest, OddTotalsAndLargeSumsAreSafe) {
  player.SetVariableValue("SCORE_TOTAL", "-1");
  ASSERT_TRUE(Answer(VORScoreManager::kAddAnswer, 1, 1));
  EXPECT_EQ(Value("SCORE_TOTAL"), "0");
  EXPECT_EQ(Value("SCORE_PERCENT"), "0");
  player.SetVariableValue("SCORE_VALUE", "2147483647");
  ASSERT_TRUE(Answer(VORScoreManager::kAddAnswer, 0, 10));
  EXPECT_EQ(Value("SCORE_VALUE"), "2147483647");
  player.SetVariableValue("SCORE_VALUE", "-2147483648");
  ASSERT_TRUE(Answer(VORScoreManager::kAddAnswer, 0, -10));
  EXPECT_EQ(Value("SCORE_VALUE"), "-2147483648");
  player.SetVariableValue("SCORE_TOTAL", "-1");
  ASSERT_TRUE(Answer(VORScoreManager::kSetQuestionScore, 0, 4, "q"));
  EXPECT_EQ(Value("SCORE_TOTAL"), "0");
  EXPECT_EQ(Value("SCORE_PERCENT"), "0");
}

TEST_F(VORScoreManagerTest, ClearAllDeletesEveryVariable) {
  player.SetVariableValue("name", "Ada");
  ASSERT_TRUE(Answer(VORScoreManager::kAddAnswer, 1, 5));
  VORObjectAction clear(VORObjectAction::kClassKey, 0);
  clear.SetActionCode(VORScoreManager::kClearAll);
  ASSERT_TRUE(Send(clear));
  EXPECT_EQ(Value("name"), "(none)");
  EXPECT_EQ(Scores(), (Texts{"0", "0", "0", "0"}));
}

TEST_F(VORScoreManagerTest, WhatItDoesNotTake) {
  VORObjectAction plain(VORObjectAction::kClassKey, 0);
  for (int32_t code : {int32_t{VORScoreManager::kAddAnswer}, int32_t{VORScoreManager::kSetQuestionScore},
                       int32_t{VORScoreManager::kStoreInformation}, int32_t{803}, int32_t{806}}) {
    plain.SetActionCode(code);
    EXPECT_FALSE(Send(plain)) << code;
  }
  EXPECT_FALSE(Answer(806, 1, 1));
}

TEST_F(VORScoreManagerTest, TextsGoToVariables) {
  player.SetVariableValue("name", "Ada");
  player.SetVariableValue("n", "4");
  struct Case {
    uint8_t kind;
    const char *text;
    uint8_t replace;
    const char *expected;
  } cases[] = {
      {Kind::kLiteral, "hello", 1, "hello"},     {Kind::kLiteral, " world", 0, "hello world"},
      {Kind::kVariable, "name", 1, "Ada"},       {Kind::kVariable, "NAME", 0, "AdaAda"},
      {Kind::kExpression, "n * 3 + 1", 1, "13"}, {Kind::kExpression, "name & \"!\"", 0, "13Ada!"},
      {Kind::kVariable, "unknown", 1, ""},
  };
  for (const Case &c : cases) {
    VORStoreInfoObjectAction action;
    action.sourceKind = c.kind;
    action.text = VORString(c.text);
    action.targetVariable = VORString("out");
    action.replace = c.replace;
    Store(action);
    EXPECT_EQ(Value("out"), c.expected) << c.text;
  }
  EXPECT_TRUE(platform->log.empty()) << "no file named, none touched";
}

// Statements run, and nothing is stored: not even a target variable is
// made.
TEST_F(VORScoreManagerTest, StatementsOnlyRun) {
  VORStoreInfoObjectAction action;
  action.sourceKind = Kind::kStatements;
  action.text = VORString("a = 2; b = a * 5");
  action.targetVariable = VORString("out");
  action.targetFile = VORString("out.txt");
  Store(action);
  EXPECT_EQ(Value("b"), "10");
  EXPECT_EQ(Value("out"), "(none)");
  EXPECT_TRUE(platform->log.empty());
}

TEST_F(VORScoreManagerTest, TheTemporaryFolderIsTheFirstOfTmpTempTmpdir) {
  struct Case {
    std::vector<std::pair<std::string, std::string>> environment;
    const char *expected;
  } cases[] = {
      {{{"TMP", "C:\\tmp"}, {"TEMP", "C:\\temp"}, {"TMPDIR", "C:\\dir"}}, "C:\\tmp"},
      {{{"TEMP", "C:\\temp"}, {"TMPDIR", "C:\\dir"}}, "C:\\temp"},
      {{{"TMPDIR", "C:\\dir"}}, "C:\\dir"},
      {{}, "c:\\"},
  };
  for (const Case &c : cases) {
    platform->environment.clear();
    for (const auto &entry : c.environment)
      platform->environment[entry.first] = entry.second;
    EXPECT_STREQ(player.GetScoreManager().TemporaryFolder().CStr(), c.expected);
  }
}

// Files are found in the temporary folder or the publication's folder,
// which each becomes the current directory; their names may be held in
// variables. Replace writes over a file, else the text is appended.
TEST_F(VORScoreManagerTest, TextsGoToFiles) {
  platform->environment["TMP"] = "C:\\tmp";
  player.SetVariableValue("where", "kept.txt");
  struct Case {
    const char *what;
    const char *targetFile;
    uint8_t temporary;
    uint8_t nameInVariable;
    uint8_t replace;
    const char *folder;
    const char *name;
    const char *expected;
  } cases[] = {
      {"beside the publication", "a.txt", 0, 0, 1, "C:\\pub\\", "a.txt", "text"},
      {"appended", "a.txt", 0, 0, 0, "C:\\pub\\", "a.txt", "texttext"},
      {"in the temporary folder", "a.txt", 1, 0, 1, "C:\\tmp", "a.txt", "text"},
      {"named by a variable", "where", 1, 1, 0, "C:\\tmp", "kept.txt", "text"},
  };
  for (const Case &c : cases) {
    VORStoreInfoObjectAction action;
    action.text = VORString("text");
    action.targetFile = VORString(c.targetFile);
    action.targetInTemporaryFolder = c.temporary;
    action.targetNameInVariable = c.nameInVariable;
    action.replace = c.replace;
    Store(action);
    EXPECT_EQ(platform->currentDirectory, c.folder) << c.what;
    EXPECT_EQ(platform->files[FakeStoreInfoPlatform::Key(c.folder, c.name)], c.expected) << c.what;
  }
}

TEST_F(VORScoreManagerTest, TheSaveDialogChoosesTheFile) {
  VORStoreInfoObjectAction action;
  action.text = VORString("saved");
  action.targetFile = VORString("answers.txt");
  action.targetVariable = VORString("out");
  action.ask = 1;
  action.replace = 1;
  platform->dialogChoice = "D:\\chosen.txt";
  Store(action);
  EXPECT_EQ(platform->dialogInitialName, "answers.txt");
  EXPECT_EQ(platform->log, (Texts{"ask answers.txt", "write D:\\chosen.txt"})) << "no change of directory";
  EXPECT_EQ(Value("out"), "saved");

  platform->log.clear();
  platform->dialogChooses = false;
  Store(action);
  EXPECT_EQ(platform->log, (Texts{"ask answers.txt"})) << "cancelled: nothing written";
}

// Reading a file changes the current directory, and later relative names
// resolve there.
TEST_F(VORScoreManagerTest, TextsComeFromFiles) {
  platform->environment["TEMP"] = "C:\\temp";
  platform->files[FakeStoreInfoPlatform::Key("C:\\pub\\", "in.txt")] = "from the publication";
  platform->files[FakeStoreInfoPlatform::Key("C:\\temp", "in.txt")] = "from the temporary folder";
  player.SetVariableValue("source", "in.txt");
  struct Case {
    uint8_t temporary;
    uint8_t nameInVariable;
    const char *text;
    const char *expected;
  } cases[] = {
      {0, 0, "in.txt", "from the publication"},
      {1, 0, "in.txt", "from the temporary folder"},
      {1, 1, "source", "from the temporary folder"},
      {0, 0, "missing.txt", ""},
  };
  for (const Case &c : cases) {
    VORStoreInfoObjectAction action;
    action.sourceKind = Kind::kFile;
    action.text = VORString(c.text);
    action.sourceInTemporaryFolder = c.temporary;
    action.sourceNameInVariable = c.nameInVariable;
    action.targetVariable = VORString("out");
    action.replace = 1;
    Store(action);
    EXPECT_EQ(Value("out"), c.expected) << c.text;
  }
  EXPECT_EQ(platform->currentDirectory, "C:\\pub\\");
}

} // namespace

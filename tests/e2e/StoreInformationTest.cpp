#include "support/CentredPage.h"
#include "support/ProgramDriver.h"
#include "support/PublicationRecords.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

using namespace PublicationRecords;

using namespace E2e;
constexpr uint8_t kStatements = 4;
constexpr uint8_t kExpression = 3;
constexpr uint8_t kLiteral = 0;
constexpr uint8_t kLess = 4;
constexpr uint8_t kEqual = 2;
constexpr uint32_t kKeysPageColour = 0x00E0E0F0;

// The child program inherits the environment: TMP names the folder given
// while the object lives.
class TemporaryFolderVariable {
public:
  explicit TemporaryFolderVariable(const std::string &folder) {
    m_had = GetEnvironmentVariableA("TMP", m_old, sizeof m_old) > 0;
    SetEnvironmentVariableA("TMP", folder.c_str());
  }
  ~TemporaryFolderVariable() { SetEnvironmentVariableA("TMP", m_had ? m_old : nullptr); }
  TemporaryFolderVariable(const TemporaryFolderVariable &) = delete;
  TemporaryFolderVariable &operator=(const TemporaryFolderVariable &) = delete;

private:
  char m_old[MAX_PATH] = {};
  bool m_had = false;
};

ListedObject StoreInTemporaryFile(uint32_t id, uint8_t kind, const char *text, uint8_t replace) {
  StoreInfo store;
  store.id = id;
  store.sourceKind = kind;
  store.text = text;
  store.targetFile = "result.txt";
  store.targetTemporary = 1;
  store.replace = replace;
  return store.Object();
}

Condition Comparing(uint32_t id, uint8_t op, const char *variable, const char *operand) {
  Condition condition;
  condition.id = id;
  condition.op = op;
  condition.variable = variable;
  condition.operand = operand;
  return condition;
}

// The start page's auto-start events: the first sets variables through the
// expression language, stores a value computed from them into result.txt
// in the temporary folder and appends a line; the second and third append
// only when their conditions hold when their actions fall due; the last
// quits.
Publication Storing() {
  Event compute;
  compute.id = 1;
  StoreInfo statements;
  statements.id = 1;
  statements.sourceKind = kStatements;
  statements.text = "first = \"Ada\"; n = 6 * 7";
  compute.objects = {statements.Object(), StoreInTemporaryFile(2, kExpression, "first & \" \" & n", 1),
                     StoreInTemporaryFile(3, kLiteral, "\nsecond line\n", 0)};
  compute.delays = {0, 0, 0};

  Event refused;
  refused.id = 2;
  refused.objects = {StoreInTemporaryFile(4, kLiteral, "WRONG", 0), Comparing(1, kLess, "n", "10").Object()};
  refused.delays = {0};

  Event allowed;
  allowed.id = 3;
  allowed.objects = {StoreInTemporaryFile(5, kLiteral, "end", 0), Comparing(2, kEqual, "first", "ADA").Object()};
  allowed.delays = {0};

  Event quit;
  quit.id = 4;
  quit.objects = {QuitAction(6)};
  quit.delays = {200};

  Page page(VORObjectKey{0, 4, 1});
  page.properties.events.list = {compute.Object(), refused.Object(), allowed.Object(), quit.Object()};
  page.properties.events.triggers = {AutoStartTrigger(1), AutoStartTrigger(2), AutoStartTrigger(3),
                                     AutoStartTrigger(4)};
  page.properties.events.indexes = {0, 1, 2, 3};
  Chapter chapter;
  chapter.pages = {page};
  Publication publication;
  publication.chapters = {chapter};
  return publication;
}

// The whole road of one event in the real program: the page is shown, its
// auto-start triggers find their events, the actions are queued with their
// delays and conditions, the score manager stores through the runtime's
// text mode, and the player quits. The file a person would open, byte by
// byte.
TEST(StoreInformationTest, TheStartPageStoresIntoATextFile) {
  ScratchFolder folder;
  folder.WriteFile("demo.vor", PublicationRecords::FileText(Storing()));
  ScratchFolder temporary;
  TemporaryFolderVariable tmp(temporary.Path());
  ProgramDriver driver;
  ASSERT_TRUE(driver.Start(ProgramDriver::ProgramFolder() + "vorplayer.exe", folder.File("demo.vor")));
  ASSERT_TRUE(driver.WaitForExit(kExitTimeoutMs)) << "the publication did not quit";
  EXPECT_EQ(driver.ExitCode(), 0u);
  EXPECT_EQ(temporary.ReadFile("result.txt"), "Ada 42\r\nsecond line\r\nend");
}

// A page covered by a simple hotspot with two key triggers: K appends "K"
// to a variable through the expression language; Q stores the variable
// into result.txt beside the publication, then quits. J has no trigger.
Publication KeyTriggers() {
  constexpr uint16_t kKeyK = 'K';
  constexpr uint16_t kKeyQ = 'Q';
  StoreInfo append;
  append.id = 1;
  append.sourceKind = kStatements;
  append.text = "keys = keys & \"K\"";
  Event onK;
  onK.id = 1;
  onK.objects = {append.Object()};
  onK.delays = {0};

  StoreInfo store;
  store.id = 2;
  store.sourceKind = kExpression;
  store.text = "keys";
  store.targetFile = "result.txt";
  store.replace = 1;
  Event onQ;
  onQ.id = 2;
  onQ.objects = {store.Object(), QuitAction(2)};
  onQ.delays = {0, 300};

  HotSpotRecord hotSpot;
  hotSpot.graphical.right = 200;
  hotSpot.graphical.bottom = 100;
  hotSpot.graphical.events.list = {onK.Object(), onQ.Object()};
  hotSpot.graphical.events.triggers = {KeyboardTrigger(1, kKeyK), KeyboardTrigger(2, kKeyQ)};
  hotSpot.graphical.events.indexes = {0, 1};
  Page page = ColouredPage(1, kKeysPageColour);
  page.objects = {SimpleHotSpotObject(1, hotSpot)};
  return SmallPagesInAWindow("Keys", kCloseBoxExits, {page});
}

// Keys pressed as a person presses them reach the page's hotspot, whose
// triggers change a variable; the value a store-information action writes
// shows each K once and nothing of the key without a trigger.
TEST(StoreInformationTest, KeyTriggersSetTheVariableThatIsStored) {
  ScratchFolder folder;
  folder.WriteFile("demo.vor", PublicationRecords::FileText(KeyTriggers()));
  ProgramDriver driver;
  const HWND window = driver.StartPlayer(folder.File("demo.vor"));
  ASSERT_NE(window, nullptr);
  const CentredPage page(window, SIZE{200, 100});
  // The page's colour shows in the margins around it once it is up.
  ASSERT_TRUE(page.WaitForPixel(-10, 50, RGB(0xF0, 0xE0, 0xE0)));
  ASSERT_TRUE(
      ProgramDriver::Xdotool(page.MouseMove(100, 50) + " sleep 0.2 click 1 sleep 0.2 key --delay 50 j k j k q"));
  ASSERT_TRUE(driver.WaitForExit(kExitTimeoutMs)) << "Q did not fire its trigger";
  EXPECT_EQ(folder.ReadFile("result.txt"), "KK");
}

} // namespace

#include "support/CentredPage.h"
#include "support/DemoPublication.h"
#include "support/ProgramDriver.h"
#include "support/PublicationRecords.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace PublicationRecords;

using namespace E2e;
constexpr int32_t kPageWidth = 320;
constexpr int32_t kPageHeight = 240;
constexpr uint32_t kPageColour = 0x00E0F0E0;
constexpr uint16_t kEnterKey = 13;
constexpr uint8_t kFromVariable = 1;
constexpr uint32_t kCommitsEachChange = 0x80;
constexpr int kMarginX = -10;

// The demo's visitor field on a page of its own, committing only when the
// field is left; its Enter key stores the variable into result.txt beside
// the publication, then the player quits.
Publication TypingPublication() {
  TextRecord field = DemoPublication::VisitorField();
  field.inputFlags &= ~kCommitsEachChange;
  StoreInfo store;
  store.sourceKind = kFromVariable;
  store.text = DemoPublication::kVisitorVariable;
  store.targetFile = "result.txt";
  Event onEnter;
  onEnter.id = 1;
  onEnter.objects = {store.Object(), QuitAction(2)};
  onEnter.delays = {0, 300};
  field.hotSpot.graphical.events.list = {onEnter.Object()};
  field.hotSpot.graphical.events.triggers = {KeyboardTrigger(1, kEnterKey)};
  field.hotSpot.graphical.events.indexes = {0};

  Page page = ColouredPage(1, kPageColour, kPageWidth, kPageHeight);
  page.objects = {TextObject(1, field)};
  Publication publication = SmallPagesInAWindow("Type", kCloseBoxExits, {page});
  publication.properties.width = 560;
  publication.properties.height = 400;
  publication.chapters[0].properties.pageWidth = kPageWidth;
  publication.chapters[0].properties.pageHeight = kPageHeight;
  return publication;
}

// The X key names that type the text (xdotool's "type" would take every
// argument after it as text, Enter included).
std::string KeyNames(const std::string &text) {
  std::string names;
  for (char c : text) {
    switch (c) {
    case ' ':
      names += "space ";
      break;
    case ',':
      names += "comma ";
      break;
    case '-':
      names += "minus ";
      break;
    case '!':
      names += "exclam ";
      break;
    default:
      names += std::string(1, c) + " ";
      break;
    }
  }
  return names;
}

// As a person types: a click in the field, the keys, Enter. The field's
// rules (every character, at most its maximum length) decide what the
// variable holds, and the Enter trigger's store-information action writes
// it where a person can read it.
TEST(TextInputTest, TypedTextReachesTheVariableThatEnterStores) {
  ScratchFolder folder;
  folder.WriteFile("demo.vor", FileText(TypingPublication()));
  ProgramDriver driver;
  const HWND window = driver.StartPlayer(folder.File("demo.vor"));
  ASSERT_NE(window, nullptr);
  const CentredPage page(window, SIZE{kPageWidth, kPageHeight});
  // The page's colour shows in the margins around it.
  ASSERT_TRUE(page.WaitForPixel(kMarginX, 5, RGB(0xE0, 0xF0, 0xE0)));
  const std::string inField =
      page.MouseMove(DemoPublication::kVisitorField.left + 10, DemoPublication::kVisitorField.top + 10);
  // 27 characters: the field keeps its first 24.
  const std::string typed = "Ada Lovelace, 1815-1852 ok!";
  ASSERT_TRUE(
      ProgramDriver::Xdotool(inField + " sleep 0.2 click 1 sleep 0.2 key --delay 30 " + KeyNames(typed) + " Return"));
  ASSERT_TRUE(driver.WaitForExit(kExitTimeoutMs)) << "Enter did not fire the field's trigger";
  EXPECT_EQ(folder.ReadFile("result.txt"), typed.substr(0, DemoPublication::kVisitorMaxLength));
}

} // namespace

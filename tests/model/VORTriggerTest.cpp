#include "model/VORTrigger.h"

#include <gtest/gtest.h>

#include <memory>

#include "model/VOREventMap.h"
#include "support/PublicationRecords.h"
#include "support/WrittenFolder.h"

namespace {

using namespace PublicationRecords;

constexpr VORObjectCode kButton(1, 2, 7);
constexpr VORObjectCode kOtherButton(1, 2, 8);

template <class Trigger, class... Data>
std::shared_ptr<VORTrigger> Make(Data... data) {
  return std::make_shared<Trigger>(data...);
}

TEST(VORTriggerTest, MatchingTable) {
  const auto click = Make<VORMouseTrigger>(uint16_t{0x0102});
  const auto upperA = Make<VORKeyboardTrigger>(uint16_t{'A'});
  const auto dropOfButton = Make<VORDropTrigger>(kButton);
  const auto started = Make<VORSynchronizationTrigger>(700, kButton);
  const auto autoStart = Make<VORAutoStartTrigger>();
  struct Case {
    const char *what;
    std::shared_ptr<VORTrigger> stored;
    std::shared_ptr<VORTrigger> fired;
    bool matches;
  } cases[] = {
      {"the same mouse code", click, Make<VORMouseTrigger>(uint16_t{0x0102}), true},
      {"another button", click, Make<VORMouseTrigger>(uint16_t{0x0202}), false},
      {"a key is no click", click, Make<VORKeyboardTrigger>(uint16_t{0x0102}), false},
      {"a lower-case key", upperA, Make<VORKeyboardTrigger>(uint16_t{'a'}), true},
      {"the same key", upperA, Make<VORKeyboardTrigger>(uint16_t{'A'}), true},
      {"another key", upperA, Make<VORKeyboardTrigger>(uint16_t{'B'}), false},
      // Only ASCII letters fold: codes above a byte are not the runtime's
      // to fold, and 0x141 is no 'A'.
      {"a code 0x100 above", upperA, Make<VORKeyboardTrigger>(uint16_t{0x141}), false},
      {"an accented letter", Make<VORKeyboardTrigger>(uint16_t{0xC0}), Make<VORKeyboardTrigger>(uint16_t{0xE0}), false},
      {"a digit", Make<VORKeyboardTrigger>(uint16_t{'1'}), Make<VORKeyboardTrigger>(uint16_t{'1'}), true},
      {"the same object dropped", dropOfButton, Make<VORDropTrigger>(kButton), true},
      {"another object dropped", dropOfButton, Make<VORDropTrigger>(kOtherButton), false},
      {"started by the sender", started, Make<VORSynchronizationTrigger>(700, kButton), true},
      {"ended by the sender", started, Make<VORSynchronizationTrigger>(701, kButton), false},
      {"started by another", started, Make<VORSynchronizationTrigger>(700, kOtherButton), false},
      {"auto-start", autoStart, Make<VORAutoStartTrigger>(), true},
      {"a click is no auto-start", autoStart, Make<VORMouseTrigger>(uint16_t{0}), false},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(c.stored->Matches(*c.fired), c.matches) << c.what;
    std::unique_ptr<VORTrigger> clone(c.stored->Clone());
    EXPECT_EQ(clone->Matches(*c.fired), c.matches) << c.what << " (clone)";
  }
}

TEST(VORTriggerTest, DefaultTriggersNameNoObject) {
  EXPECT_TRUE(VORDropTrigger().GetDropped().IsNone());
  EXPECT_EQ(VORMouseTrigger().GetClassKey(), 0xE0003u);
  EXPECT_EQ(VORKeyboardTrigger().GetClassKey(), 0xF0003u);
  EXPECT_EQ(VORDropTrigger().GetClassKey(), 0x100003u);
  EXPECT_EQ(VORSynchronizationTrigger(700, kButton).GetClassKey(), 0x110003u);
  EXPECT_EQ(VORAutoStartTrigger().GetClassKey(), 0x160003u);
}

// Each kind read from its record through an event map, and fired with a
// trigger built as the objects build theirs.
TEST(VORTriggerTest, EachKindReadsItsRecord) {
  Events written;
  written.triggers = {MouseTrigger(1, 0x0203), KeyboardTrigger(2, 'Q'), DropTrigger(3, VORObjectKey{1, 2, 7}),
                      SynchronizationTrigger(4, 701, VORObjectKey{1, 2, 7}), AutoStartTrigger(5)};
  written.indexes = {10, 11, 12, 13, 14};
  WrittenFolder folder([&](PublicationWriter::Folder &f) { written.AddMapTo(f.AddAnonymousFolder()); });
  VOREventMap map;
  map.Read(folder.File());
  ASSERT_EQ(map.GetCount(), 5u);
  struct Case {
    std::unique_ptr<VORTrigger> fired;
    uint16_t index;
  } cases[] = {
      {std::make_unique<VORMouseTrigger>(0x0203), 10}, {std::make_unique<VORKeyboardTrigger>('q'), 11},
      {std::make_unique<VORDropTrigger>(kButton), 12}, {std::make_unique<VORSynchronizationTrigger>(701, kButton), 13},
      {std::make_unique<VORAutoStartTrigger>(), 14},
  };
  for (const Case &c : cases) {
    uint16_t index = 0;
    EXPECT_TRUE(map.FindMatch(*c.fired, 0, index)) << c.index;
    EXPECT_EQ(index, c.index);
    EXPECT_FALSE(map.FindMatch(*c.fired, 1, index)) << c.index;
  }
  EXPECT_EQ(folder.File().GetSkippedObjectCount(), 0u);
}

} // namespace

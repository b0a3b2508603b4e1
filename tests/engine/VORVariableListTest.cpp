#include "engine/VORVariableList.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/VORVariable.h"
#include "engine/VORVariableChangedAction.h"
#include "support/FakeApp.h"
#include "support/FakeClock.h"

namespace {

// Records the variables announced, and lets a test act on each announcement.
class AnnouncingApp : public FakeApp {
public:
  bool BroadcastAction(const VORObjectAction &action) override {
    const auto *changed = dynamic_cast<const VORVariableChangedAction *>(&action);
    EXPECT_NE(changed, nullptr);
    EXPECT_EQ(action.GetActionCode(), 803);
    if (changed) {
      announced.emplace_back(changed->GetName().CStr());
      if (onAnnounce)
        onAnnounce(announced.back());
    }
    return false;
  }
  std::vector<std::string> announced;
  std::function<void(const std::string &)> onAnnounce;
};

std::string Value(VORVariableList &list, const char *name) { return list.GetVariableValue(name).CStr(); }

TEST(VORVariableListTest, NamesIgnoreLetterCaseAndKeepTheirFirstSpelling) {
  AnnouncingApp app;
  VORVariableList list;
  list.SetVariableValue("Score", "10");
  EXPECT_EQ(list.FindOrCreate("SCORE"), list.Find("score"));
  EXPECT_EQ(list.GetCount(), 1u);
  EXPECT_STREQ(list.Find("SCORE")->GetName().CStr(), "Score");
  EXPECT_EQ(Value(list, "sCoRe"), "10");
  EXPECT_EQ(list.Find("Scores"), nullptr);
}

TEST(VORVariableListTest, EverySetIsAnnouncedButSetIfChangedOnlyOnAChange) {
  AnnouncingApp app;
  VORVariableList list;
  VORVariable *answer = list.FindOrCreate("ANSWER");
  answer->SetValue("yes");
  answer->SetValue("yes");
  answer->SetInt(42);
  answer->AppendValue("!");
  EXPECT_EQ(app.announced.size(), 4u) << "a set to the same value is announced too";
  EXPECT_EQ(answer->GetValue(), XQString("42!"));
  EXPECT_EQ(answer->GetInt(), 42);
  list.SetIfChanged("answer", "42!");
  EXPECT_EQ(app.announced.size(), 4u);
  list.SetIfChanged("answer", "42?");
  EXPECT_EQ(app.announced.size(), 5u);
  list.SetIfChanged("new", "");
  EXPECT_EQ(app.announced.size(), 5u) << "a new variable is empty already";
}

// The local time at 00, 12 and 13 hours: the hour keeps two digits, the
// 12-hour clock reads 12 at midnight and noon.
TEST(VORVariableListTest, BuiltInTimeVariables) {
  struct Case {
    const char *time;
    const char *hour;
    const char *hour12;
    const char *ampm;
  } cases[] = {
      {"Sat Mar  9 00:05:07 2024\n", "00", "12", "AM"},
      {"Sat Mar  9 09:05:07 2024\n", "09", "9", "AM"},
      {"Sat Mar  9 12:30:00 2024\n", "12", "12", "PM"},
      {"Sat Mar  9 13:00:59 2024\n", "13", "1", "PM"},
  };
  for (const Case &c : cases) {
    AnnouncingApp app;
    FakeClock clock;
    clock.Set(5000);
    clock.SetTimeText(c.time);
    VORVariableList list;
    list.RefreshBuiltins(clock, 1500);
    EXPECT_EQ(Value(list, "SYSTEM_TIME_HOUR"), c.hour) << c.time;
    EXPECT_EQ(Value(list, "SYSTEM_TIME_12HOUR"), c.hour12) << c.time;
    EXPECT_EQ(Value(list, "SYSTEM_TIME_AMPM"), c.ampm) << c.time;
    EXPECT_EQ(Value(list, "SYSTEM_TIME_DAY"), "Sat") << c.time;
    EXPECT_EQ(Value(list, "SYSTEM_TIME_MONTH"), "Mar") << c.time;
    EXPECT_EQ(Value(list, "SYSTEM_TIME_DATE"), "9") << c.time;
    EXPECT_EQ(Value(list, "SYSTEM_TIME_YEAR"), "2024") << c.time;
    EXPECT_EQ(Value(list, "PUBLICATION_TIME"), "3") << c.time;
  }
}

TEST(VORVariableListTest, TheBuiltInsAreSetOnlyWhenTheyChange) {
  AnnouncingApp app;
  FakeClock clock;
  clock.SetTimeText("Sat Mar  9 11:59:58 2024\n");
  VORVariableList list;
  list.RefreshBuiltins(clock, 0);
  app.announced.clear();
  clock.Set(900);
  clock.SetTimeText("Sat Mar  9 11:59:59 2024\n");
  list.RefreshBuiltins(clock, 0);
  EXPECT_EQ(app.announced, (std::vector<std::string>{"SYSTEM_TIME_SECOND"}));
  app.announced.clear();
  clock.Set(1900);
  clock.SetTimeText("Sat Mar  9 12:00:00 2024\n");
  list.RefreshBuiltins(clock, 0);
  EXPECT_EQ(app.announced, (std::vector<std::string>{"PUBLICATION_TIME", "SYSTEM_TIME_HOUR", "SYSTEM_TIME_12HOUR",
                                                     "SYSTEM_TIME_AMPM", "SYSTEM_TIME_MINUTE", "SYSTEM_TIME_SECOND"}));
}

// The runtime gives no text for a time it cannot convert, and a damaged
// text may hold fewer words: what is there is set, nothing else.
TEST(VORVariableListTest, ALocalTimeThatCannotBeHad) {
  AnnouncingApp app;
  FakeClock clock;
  clock.SetTimeText(nullptr);
  VORVariableList list;
  list.RefreshBuiltins(clock, 0);
  EXPECT_EQ(list.Find("SYSTEM_TIME_HOUR"), nullptr);
  EXPECT_EQ(Value(list, "PUBLICATION_TIME"), "");
  clock.SetTimeText("Sat Mar");
  list.RefreshBuiltins(clock, 0);
  EXPECT_EQ(Value(list, "SYSTEM_TIME_MONTH"), "Mar");
  EXPECT_EQ(list.Find("SYSTEM_TIME_DATE"), nullptr);
}

TEST(VORVariableListTest, PublicationTimeCountsWholeSecondsAcrossTheClocksWrap) {
  AnnouncingApp app;
  FakeClock clock;
  clock.Set(0x000007D0u); // 2000 ms after the wrap
  VORVariableList list;
  list.RefreshBuiltins(clock, 0xFFFFFC18u); // 1000 ms before it
  EXPECT_EQ(Value(list, "PUBLICATION_TIME"), "3");
}

TEST(VORVariableListTest, ClearAllEmptiesAnnouncesAndDeletes) {
  AnnouncingApp app;
  VORVariableList list;
  list.SetVariableValue("A", "1");
  list.SetVariableValue("B", "2");
  app.announced.clear();
  list.ClearAll();
  EXPECT_EQ(app.announced, (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(list.GetCount(), 0u);
}

// Receivers of the announcements read the variables they show, which makes
// them again: the clearing still ends, and the variables made during it stay.
TEST(VORVariableListTest, ClearAllEndsWhenReceiversMakeVariablesAgain) {
  AnnouncingApp app;
  VORVariableList list;
  list.SetVariableValue("A", "1");
  list.SetVariableValue("B", "2");
  app.onAnnounce = [&list](const std::string &name) { list.GetVariableValue(XQString((name + "'").c_str())); };
  list.ClearAll();
  EXPECT_EQ(list.GetCount(), 2u);
  EXPECT_NE(list.Find("A'"), nullptr);
  EXPECT_NE(list.Find("B'"), nullptr);
}

// A receiver may clear the list itself (a score action) while a clearing
// announces: the variables it deleted are passed over.
TEST(VORVariableListTest, ClearAllNestedInAnAnnouncement) {
  AnnouncingApp app;
  VORVariableList list;
  for (const char *name : {"A", "B", "C"})
    list.SetVariableValue(name, "x");
  bool nested = false;
  app.onAnnounce = [&](const std::string &) {
    if (nested)
      return;
    nested = true;
    list.ClearAll();
  };
  list.ClearAll();
  EXPECT_EQ(list.GetCount(), 0u);
}

} // namespace

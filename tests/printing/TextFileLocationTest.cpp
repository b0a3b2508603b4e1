#include "printing/TextFileLocation.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

using namespace TextFileLocation;

Environment With(std::map<std::string, std::string> values) {
  return [values](const char *name) -> const char * {
    const auto found = values.find(name);
    return found == values.end() ? nullptr : found->second.c_str();
  };
}

TEST(TextFileLocationTest, TemporaryFolderTakesTheFirstVariableSet) {
  EXPECT_EQ(TemporaryFolder(With({{"TMP", "d:\\tmp"}, {"TEMP", "e:\\temp"}})), "d:\\tmp");
  EXPECT_EQ(TemporaryFolder(With({{"TEMP", "e:\\temp"}, {"TMPDIR", "/var/tmp"}})), "e:\\temp");
  EXPECT_EQ(TemporaryFolder(With({{"TMP", ""}, {"TMPDIR", "/var/tmp"}})), "/var/tmp");
  EXPECT_EQ(TemporaryFolder(With({})), "c:\\");
}

TEST(TextFileLocationTest, ResolvesAWholePath) {
  const Environment environment = With({{"TMP", "d:\\tmp"}});
  struct Case {
    const char *name;
    bool nameOnly, temporary;
    const char *expected;
  } cases[] = {
      {"notes.txt", false, false, "c:\\pub\\notes.txt"},
      {"text\\notes.txt", false, false, "c:\\pub\\text\\notes.txt"},
      {"text\\notes.txt", true, false, "c:\\pub\\notes.txt"},
      {"x:\\other\\notes.txt", true, false, "c:\\pub\\notes.txt"},
      {"x:\\other\\notes.txt", false, false, "x:\\other\\notes.txt"},
      {"notes.txt", false, true, "d:\\tmp\\notes.txt"},
      // The name-only byte belongs to the publication's folder.
      {"sub\\notes.txt", true, true, "d:\\tmp\\sub\\notes.txt"},
  };
  for (const Case &c : cases)
    EXPECT_EQ(Resolve(c.name, c.nameOnly, c.temporary, "c:\\pub\\", environment), c.expected) << c.name;
  EXPECT_EQ(Join("/tmp/pub", "notes.txt"), "/tmp/pub/notes.txt");
  EXPECT_EQ(Join("", "notes.txt"), "notes.txt");
}

} // namespace

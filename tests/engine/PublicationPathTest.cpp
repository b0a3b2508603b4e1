#include "engine/PublicationPath.h"

#include <gtest/gtest.h>

namespace {

TEST(PublicationPathTest, NameFromCommandLine) {
  struct Case {
    const char *commandLine;
    const char *name;
  } cases[] = {
      {"C:\\pub\\demo.vor", "C:\\pub\\demo.vor"},
      {"\"C:\\my pub\\demo.vor\"", "C:\\my pub\\demo.vor"},
      {"\"C:\\a.vor\" extra", "\"C:\\a.vor\" extra"}, // not one quoted path: taken whole
      {"\"\"", ""},
      {"\"", "\""},
      {"demo.vor -x", "demo.vor -x"}, // no arguments are split off
      {"", ""},
  };
  for (const Case &c : cases)
    EXPECT_STREQ(PublicationPath::NameFromCommandLine(c.commandLine).CStr(), c.name) << c.commandLine;
  EXPECT_TRUE(PublicationPath::NameFromCommandLine(nullptr).IsEmpty());
}

TEST(PublicationPathTest, NameForProgram) {
  struct Case {
    const char *programPath;
    const char *name;
  } cases[] = {
      {"C:\\X\\PLAY.EXE", "C:\\X\\PLAY.vor"},
      {"C:\\saver\\VORPLAY.scr", "C:\\saver\\VORPLAY.vor"},
      {"a.exe", "a.vor"},
      {"b.ex", ""}, // four characters or fewer: no name
      {"", ""},
  };
  for (const Case &c : cases)
    EXPECT_STREQ(PublicationPath::NameForProgram(c.programPath).CStr(), c.name) << c.programPath;
  EXPECT_TRUE(PublicationPath::NameForProgram(nullptr).IsEmpty());
}

// Drive and directory as the runtime's _splitpath gives them.
TEST(PublicationPathTest, FolderOf) {
  struct Case {
    const char *path;
    const char *folder;
  } cases[] = {
      {"C:\\X\\PLAY.EXE", "C:\\X\\"},
      {"demo.vor", ""},
      {"D:demo.vor", "D:"},
      {"D:", "D:"},
      {"C:\\pub\\", "C:\\pub\\"},
      {"C:/pub/demo.vor", "C:/pub/"},
      {"C:\\a/b\\demo.vor", "C:\\a/b\\"},
      {"\\\\server\\share\\demo.vor", "\\\\server\\share\\"},
      {"\\demo.vor", "\\"},
      {"x", ""},
      {"", ""},
  };
  for (const Case &c : cases)
    EXPECT_STREQ(PublicationPath::FolderOf(c.path).CStr(), c.folder) << c.path;
  EXPECT_TRUE(PublicationPath::FolderOf(nullptr).IsEmpty());
}

} // namespace

#include "support/ProgramDriver.h"
#include "support/PublicationRecords.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>

namespace {

using namespace E2e;
constexpr DWORD kPollMs = 50;
constexpr const char *kPartsMark = "parts:";

// What each program must have installed, program by part. The programs
// report what their application object and their process hold at start-up
// (the "parts:" line of the start-up trace); a part dropped from one of
// them shows here.
struct ProgramRow {
  const char *program;
  const char *arguments; // the players take none: each plays the publication beside it
  bool cover, pictureFiles, importFilters, sound, effects, printer;
};
constexpr ProgramRow kPrograms[] = {
    // program, arguments; cover, picture files, import filters, sound, effects, printer
    {"vorplayer.exe", "", true, true, true, true, true, true},
    {"vorcompact.exe", "", true, true, false, true, true, true},
    {"VORPLAY.scr", "/s", false, true, false, true, true, true},
};

std::set<std::string> Expected(const ProgramRow &row) {
  const std::pair<bool, const char *> parts[] = {{row.cover, "cover"},
                                                 {row.pictureFiles, "picture-files"},
                                                 {row.importFilters, "import-filters"},
                                                 {row.sound, "sound"},
                                                 {row.effects, "effects"},
                                                 {row.printer, "printer"}};
  std::set<std::string> words;
  for (const auto &part : parts)
    if (part.first)
      words.insert(part.second);
  return words;
}

// The words after the trace's "parts:" mark, once the program wrote it.
bool ReadParts(const ScratchFolder &folder, const std::string &traceName, std::set<std::string> &words) {
  const std::string trace = folder.ReadFile(traceName);
  const size_t mark = trace.find(kPartsMark);
  if (mark == std::string::npos)
    return false;
  const size_t end = trace.find('\n', mark);
  if (end == std::string::npos)
    return false;
  const size_t first = mark + std::string(kPartsMark).size();
  std::istringstream line(trace.substr(first, end - first));
  for (std::string word; line >> word;)
    words.insert(word);
  return true;
}

PublicationRecords::Publication OnePage() {
  return PublicationRecords::SmallPagesInAWindow("Parts", kCloseBoxExits,
                                                 {PublicationRecords::ColouredPage(1, RGB(200, 200, 40))});
}

TEST(ProgramPartsTest, EveryProgramInstallsItsParts) {
  for (const ProgramRow &row : kPrograms) {
    SCOPED_TRACE(row.program);
    ScratchFolder folder;
    // Each program plays the publication named after itself beside it.
    const std::string program = folder.File(row.program);
    ASSERT_TRUE(CopyFileA((ProgramDriver::ProgramFolder() + row.program).c_str(), program.c_str(), FALSE));
    const std::string name(row.program);
    folder.WriteFile(name.substr(0, name.size() - 3) + "vor", PublicationRecords::FileText(OnePage()));
    ProgramDriver driver;
    ASSERT_TRUE(driver.StartTraced(program, row.arguments, folder.File("trace.txt")));
    std::set<std::string> parts;
    const DWORD start = GetTickCount();
    while (!ReadParts(folder, "trace.txt", parts) && GetTickCount() - start < kWindowTimeoutMs)
      Sleep(kPollMs);
    driver.Kill();
    ASSERT_TRUE(driver.WaitForExit(kExitTimeoutMs));
    EXPECT_EQ(parts, Expected(row)) << "trace:\n" << folder.ReadFile("trace.txt");
  }
}

} // namespace

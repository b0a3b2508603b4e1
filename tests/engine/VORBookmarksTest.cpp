#include "engine/VORBookmarks.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "engine/BookmarkFile.h"
#include "model/VORBookmarkAction.h"
#include "support/FakeClock.h"
#include "support/TempFile.h"
#include "support/TestPlayer.h"

namespace {

using TestPublications::Chapter;
using TestPublications::Page;
using Pages = std::vector<VORObjectCode>;

constexpr uint32_t kSeveralBookmarksFlag = 1u << 8;
constexpr VORObjectCode kView(0, 3, 1);

std::vector<uint8_t> ReadBytes(const char *path) {
  std::vector<uint8_t> bytes;
  BookmarkFile::ReadAll(path, bytes);
  return bytes;
}

// A player showing pages (0, 4, 1) to (0, 4, 3), whose bookmarks keep their
// file in a temporary file.
class VORBookmarksTest : public ::testing::Test {
protected:
  void Start(bool several) {
    PublicationRecords::Publication publication = TestPublications::Of({Chapter(1, {Page(1), Page(2), Page(3)})});
    publication.properties.flags = several ? kSeveralBookmarksFlag : 0;
    m_player = std::make_unique<TestPlayer>(m_clock);
    ASSERT_TRUE(m_player->Load(publication));
    m_player->GetPublication()->SetBookmarks(std::make_unique<VORBookmarks>(
        *m_player->GetPublication(), m_file.Path(), [this](VORBookmarks::DialogData &data) { Edit(data); }));
  }
  // Ends the run: the bookmarks save as the publication goes.
  void Stop() { m_player.reset(); }

  VORBookmarks &Bookmarks() { return *static_cast<VORBookmarks *>(m_player->GetPublication()->GetBookmarks()); }

  // A bookmark action raised on the page, as a page's event sends it.
  bool Send(int32_t code, int32_t page = 1) {
    VORBookmarkAction action(VORBookmarkAction::kClassKey, 1);
    action.SetTarget(VORPlayer::kBookmarksReference);
    action.SetActionCode(code);
    action.SetOriginObject(kView);
    action.SetOriginPage(VORObjectCode(0, 4, page));
    return m_player->DispatchAction(action);
  }

  void Edit(VORBookmarks::DialogData &data) {
    ++m_dialogs;
    m_dialogPage = data.page;
    if (m_dialogAnswer)
      *data.list = *m_dialogAnswer;
  }

  FakeClock m_clock;
  TempFile m_file{".bmk"};
  std::unique_ptr<TestPlayer> m_player;
  int m_dialogs = 0;
  VORObjectCode m_dialogPage;
  std::unique_ptr<Pages> m_dialogAnswer;
};

// Page events reach the bookmarks wherever they are raised, and every
// bookmark action is answered, also when the publication's flag blocks it.
TEST_F(VORBookmarksTest, PageEventsReachTheBookmarks) {
  Start(true);
  EXPECT_TRUE(Send(VORBookmarks::kAddPage, 2));
  EXPECT_EQ(Bookmarks().GetList(), (Pages{VORObjectCode(0, 4, 2)}));
  VORObjectAction other(VORObjectAction::kClassKey, 1);
  other.SetTarget(VORPlayer::kBookmarksReference);
  other.SetActionCode(VORBookmarks::kAddPage);
  EXPECT_FALSE(m_player->DispatchAction(other));
}

// Without the several-bookmarks flag the list holds one page, and the list,
// next and previous actions do nothing.
TEST_F(VORBookmarksTest, SingleModeKeepsOnePage) {
  Start(false);
  Send(VORBookmarks::kAddPage, 1);
  Send(VORBookmarks::kAddPage, 2);
  EXPECT_EQ(Bookmarks().GetList(), (Pages{VORObjectCode(0, 4, 2)}));
  for (int32_t code : {VORBookmarks::kEditList, VORBookmarks::kNext, VORBookmarks::kPrevious})
    EXPECT_TRUE(Send(code, 3)) << code;
  EXPECT_EQ(m_dialogs, 0);
  EXPECT_EQ(m_player->ShownIn(1), VORObjectCode::Zero());
  Send(VORBookmarks::kGotoCurrent, 3);
  EXPECT_EQ(m_player->ShownIn(1), VORObjectCode(0, 4, 2));
}

// A page added twice is kept once, and the current bookmark stays where it
// was; next and previous walk the list and show the pages.
TEST_F(VORBookmarksTest, AddsOnceAndWalksTheList) {
  Start(true);
  Send(VORBookmarks::kAddPage, 1);
  Send(VORBookmarks::kAddPage, 2);
  Send(VORBookmarks::kAddPage, 1);
  EXPECT_EQ(Bookmarks().GetList(), (Pages{VORObjectCode(0, 4, 1), VORObjectCode(0, 4, 2)}));
  EXPECT_EQ(Bookmarks().GetCurrent(), 1);
  Send(VORBookmarks::kPrevious);
  EXPECT_EQ(Bookmarks().GetCurrent(), 0);
  EXPECT_EQ(m_player->ShownIn(1), VORObjectCode(0, 4, 1));
  Send(VORBookmarks::kPrevious);
  EXPECT_EQ(Bookmarks().GetCurrent(), 0);
  Send(VORBookmarks::kNext);
  EXPECT_EQ(m_player->ShownIn(1), VORObjectCode(0, 4, 2));
  Send(VORBookmarks::kClear);
  EXPECT_EQ(Bookmarks().GetCurrent(), VORBookmarks::kNoCurrent);
  Send(VORBookmarks::kNext);
  Send(VORBookmarks::kGotoCurrent);
  EXPECT_EQ(m_player->ShownIn(1), VORObjectCode(0, 4, 2));
}

// The dialog is asked with the page the action came from; the list becomes
// what the dialog left.
TEST_F(VORBookmarksTest, TheDialogEditsACopy) {
  Start(true);
  Send(VORBookmarks::kAddPage, 1);
  m_dialogAnswer = std::make_unique<Pages>(Pages{VORObjectCode(0, 4, 3)});
  Send(VORBookmarks::kEditList, 2);
  EXPECT_EQ(m_dialogs, 1);
  EXPECT_EQ(m_dialogPage, VORObjectCode(0, 4, 2));
  EXPECT_EQ(Bookmarks().GetList(), (Pages{VORObjectCode(0, 4, 3)}));
}

// The list is kept from one run to the next; page references holding the
// bytes 0A, 0D and 1A come back whole, and the file holds the bytes a
// text-mode stream writes (0A as 0D 0A).
TEST_F(VORBookmarksTest, KeepsTheListBetweenRuns) {
  const Pages pages = {VORObjectCode(0, 4, 0x1A), VORObjectCode(0, 4, 0x0A0D), VORObjectCode(0x0A, 0x1A, 0x0D0A1A0A)};
  Start(true);
  for (const VORObjectCode &page : pages) {
    VORBookmarkAction action(VORBookmarkAction::kClassKey, 1);
    action.SetTarget(VORPlayer::kBookmarksReference);
    action.SetActionCode(VORBookmarks::kAddPage);
    action.SetOriginPage(page);
    m_player->DispatchAction(action);
  }
  Stop();
  const std::vector<uint8_t> expected = {
      3,    0,    0, 0,                                              // count
      0,    0,    4, 0,    0x1A, 0,    0,    0,                      // 0x1A stays as it is
      0,    0,    4, 0,    0x0D, 0x0D, 0x0A, 0,    0,                // 0x0A is written 0D 0A
      0x0D, 0x0A, 0, 0x1A, 0,    0x0D, 0x0A, 0x1A, 0x0D, 0x0A, 0x0D, // and again
  };
  EXPECT_EQ(ReadBytes(m_file.Path()), expected);
  Start(true);
  Send(VORBookmarks::kGotoCurrent);
  EXPECT_EQ(Bookmarks().GetList(), pages);
}

// An emptied list is written as empty; a run that never touched the
// bookmarks leaves the file as it was.
TEST_F(VORBookmarksTest, AnEmptiedListIsSaved) {
  Start(true);
  Send(VORBookmarks::kAddPage, 2);
  Stop();
  Start(true);
  Stop();
  EXPECT_EQ(BookmarkFile::Decode(ReadBytes(m_file.Path())), (Pages{VORObjectCode(0, 4, 2)}));
  Start(true);
  Send(VORBookmarks::kClear);
  Stop();
  EXPECT_EQ(ReadBytes(m_file.Path()), (std::vector<uint8_t>{0, 0, 0, 0}));
}

// Reading stops at the count or at the last whole record, whichever comes
// first; what is short of a record is dropped.
TEST(BookmarkFileTest, ReadsWholeRecordsOnly) {
  const std::vector<uint8_t> two = {2, 0, 0, 0, 0, 0, 4, 0, 1, 0, 0, 0, 0, 0, 4, 0, 2, 0, 0, 0};
  struct Case {
    const char *what;
    std::vector<uint8_t> bytes;
    Pages pages;
  } cases[] = {
      {"whole", two, {VORObjectCode(0, 4, 1), VORObjectCode(0, 4, 2)}},
      {"count beyond the records", {5, 0, 0, 0, 0, 0, 4, 0, 1, 0, 0, 0}, {VORObjectCode(0, 4, 1)}},
      {"a record cut short", {2, 0, 0, 0, 0, 0, 4, 0, 1, 0, 0, 0, 0, 0, 4}, {VORObjectCode(0, 4, 1)}},
      {"count below the records",
       {1, 0, 0, 0, 0, 0, 4, 0, 1, 0, 0, 0, 0, 0, 4, 0, 2, 0, 0, 0},
       {VORObjectCode(0, 4, 1)}},
      {"no count", {1, 0}, {}},
      {"empty", {}, {}},
      {"lone carriage return kept", {1, 0, 0, 0, 0x0D, 0, 4, 0, 1, 0, 0, 0}, {VORObjectCode(0x0D, 4, 1)}},
  };
  for (const Case &c : cases)
    EXPECT_EQ(BookmarkFile::Decode(c.bytes), c.pages) << c.what;
}

// The file's name: the temporary folder (TEMP, then TMPDIR, then c:\) and
// the publication's base name, or the program's.
TEST(BookmarkFileTest, NamesTheFileAfterThePublication) {
  EXPECT_EQ(BookmarkFile::NameFor("C:\\temp", "D:\\t", "C:\\pub\\My.Demo.vor", "C:\\p\\vorplayer.exe"),
            "C:\\temp\\My.Demo.bmk");
  EXPECT_EQ(BookmarkFile::NameFor(nullptr, "D:\\t", "demo", "x"), "D:\\t\\demo.bmk");
  EXPECT_EQ(BookmarkFile::NameFor(nullptr, nullptr, "", "C:\\p\\vorplayer.exe"), "c:\\\\vorplayer.bmk");
}

} // namespace

// Any bytes as a bookmark file. Decoded as the player decodes it, the list
// written back decodes to the same list; and the file loaded by the
// bookmarks of a three-page publication, which then answer every bookmark
// action (going to pages the file names, adding, clearing) and save the
// list again when they go.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "engine/BookmarkFile.h"
#include "engine/VORBookmarks.h"
#include "model/VORBookmarkAction.h"
#include "support/FakeClock.h"
#include "support/TempFile.h"
#include "support/TestPlayer.h"

namespace {

using Pages = std::vector<VORObjectCode>;

void CheckRoundTrip(const std::vector<uint8_t> &bytes) {
  const Pages pages = BookmarkFile::Decode(BookmarkFile::FromTextMode(bytes));
  const Pages again =
      BookmarkFile::Decode(BookmarkFile::FromTextMode(BookmarkFile::ToTextMode(BookmarkFile::Encode(pages))));
  if (again != pages)
    std::abort(); // a list saved does not load as it was
  if (BookmarkFile::FromTextMode(BookmarkFile::ToTextMode(bytes)) != bytes)
    std::abort(); // the text-mode folding loses bytes
}

bool Send(TestPlayer &player, int32_t code, int32_t page) {
  VORBookmarkAction action(VORBookmarkAction::kClassKey, 1);
  action.SetTarget(VORPlayer::kBookmarksReference);
  action.SetActionCode(code);
  action.SetOriginObject(VORObjectCode(0, 3, 1));
  action.SetOriginPage(VORObjectCode(0, 4, page));
  return player.DispatchAction(action);
}

void WalkTheBookmarks(const std::vector<uint8_t> &bytes, bool several) {
  using namespace TestPublications;
  TempFile file(BookmarkFile::kExtension);
  file.Write(bytes);
  FakeClock clock;
  TestPlayer player(clock);
  PublicationRecords::Publication publication = Of({Chapter(1, {Page(1), Page(2), Page(3)})});
  constexpr uint32_t kSeveralBookmarksFlag = 1u << 8;
  publication.properties.flags = several ? kSeveralBookmarksFlag : 0;
  if (!player.Load(publication))
    std::abort();
  int dialogs = 0;
  player.GetPublication()->SetBookmarks(
      std::make_unique<VORBookmarks>(*player.GetPublication(), file.Path(), [&dialogs](VORBookmarks::DialogData &data) {
        ++dialogs;
        if (data.list && !data.list->empty())
          data.list->pop_back();
      }));
  const int32_t codes[] = {VORBookmarks::kGotoCurrent, VORBookmarks::kNext,        VORBookmarks::kNext,
                           VORBookmarks::kPrevious,    VORBookmarks::kGotoCurrent, VORBookmarks::kEditList,
                           VORBookmarks::kAddPage,     VORBookmarks::kPrevious,    VORBookmarks::kGotoCurrent,
                           VORBookmarks::kClear,       VORBookmarks::kNext};
  for (const int32_t code : codes)
    Send(player, code, 1 + code % 3);
  auto *bookmarks = static_cast<VORBookmarks *>(player.GetPublication()->GetBookmarks());
  const int32_t current = bookmarks->GetCurrent();
  if (current != VORBookmarks::kNoCurrent &&
      (current < 0 || static_cast<size_t>(current) >= bookmarks->GetList().size()))
    std::abort(); // the current bookmark is outside the list
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size == 0)
    return 0;
  const std::vector<uint8_t> bytes(data + 1, data + size);
  CheckRoundTrip(bytes);
  WalkTheBookmarks(bytes, (data[0] & 1) != 0);
  return 0;
}

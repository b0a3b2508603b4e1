// Opens any bytes as a compiled publication file and reads the root
// publication from it the way the start-up does, then asks the result what
// the player asks of it. File exceptions end in "no publication"; anything
// else that escapes, or a sanitizer report, is a fault.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "model/VORChapter.h"
#include "model/VORPlayerPublication.h"
#include "support/MemoryFile.h"
#include "vorfile/VORCompiledFile.h"

namespace {

void Exercise(VORPlayerPublication &publication) {
  VORWindowMetrics metrics;
  metrics.screenWidth = 1024;
  metrics.screenHeight = 768;
  metrics.captionHeight = 19;
  metrics.frameWidth = 4;
  metrics.frameHeight = 4;
  metrics.borderWidth = 1;
  publication.GetWindowRect(metrics);
  publication.TakeSearchDictionary();
  const VORObjectCode start = publication.GetStartPage();
  VORRecursiveObjectContainer *page = nullptr;
  publication.FindNextPage(start, page);
  publication.FindPreviousPage(start, page);
  publication.CheckChapterAccess(publication.GetFirstChapter());
  for (uint32_t i = 0; VORRecursiveObjectContainer *child = publication.ChildAt(i); ++i) {
    auto *chapter = dynamic_cast<VORChapter *>(child);
    if (!chapter)
      continue;
    VORWindowRect rect;
    chapter->GetOwnWindowRect(metrics, rect);
    chapter->GetWindowStyle();
    chapter->GetRandomPage(start, page);
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  VORCompiledFile file(std::make_unique<MemoryFile>(std::vector<uint8_t>(data, data + size)));
  if (!file.Open(false, false))
    return 0;
  if (std::unique_ptr<VORPlayerPublication> publication = VORPlayerPublication::LoadFromRoot(file))
    Exercise(*publication);
  return 0;
}

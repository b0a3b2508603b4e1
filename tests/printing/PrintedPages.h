#pragma once

#include <cstdint>
#include <memory>

#include "model/VORPlayerPublication.h"
#include "support/MemoryFile.h"
#include "support/PublicationRecords.h"
#include "vorfile/VORCompiledFile.h"

// A publication of one chapter of count pages (ids 1 to count) of the size
// given, written and read back as the player reads it.
struct PrintedPages {
  static PublicationRecords::Publication Written(uint32_t count, int32_t width, int32_t height) {
    PublicationRecords::Publication written;
    PublicationRecords::Chapter chapter;
    for (uint32_t id = 1; id <= count; ++id) {
      PublicationRecords::Page page(VORObjectKey{0, 4, id});
      page.properties.right = width;
      page.properties.bottom = height;
      chapter.pages.push_back(page);
    }
    written.chapters = {chapter};
    return written;
  }

  // False when the file could not be opened or held no publication.
  bool Read(const PublicationRecords::Publication &written) {
    compiled = std::make_unique<VORCompiledFile>(std::make_unique<MemoryFile>(written.Bytes()));
    if (!compiled->Open(false, false))
      return false;
    publication = VORPlayerPublication::LoadFromRoot(*compiled);
    return publication != nullptr;
  }

  std::unique_ptr<VORCompiledFile> compiled;
  std::unique_ptr<VORPlayerPublication> publication;
};

#include "engine/VORPlayerPageManager.h"

#include "engine/VORClock.h"
#include "model/PublicationFile.h"
#include "model/VORApp.h"
#include "model/VORChapter.h"
#include "model/VORPage.h"
#include "model/VORPageInstance.h"
#include "model/VORPublication.h"
#include "vorfile/SectionGuard.h"
#include "vorfile/VORCompiledFile.h"
#include "vorfile/VORFileException.h"

namespace {

constexpr uint32_t kRootEntry = 0;

} // namespace

VORPlayerPageManager::~VORPlayerPageManager() { m_entries.DeleteAll(); }

bool VORPlayerPageManager::IsCached(const VORPage &page) const {
  Entry *found = nullptr;
  return m_entries.FindIf([&page](const Entry *entry) { return entry->page == &page; }, found);
}

bool VORPlayerPageManager::LoadPage(VORPage &page) {
  if (IsCached(page))
    return true;
  if (!ReadObjects(page))
    return false;
  m_entries.Append(new Entry{&page, m_clock.GetMilliseconds()});
  return true;
}

// Every failure of the file, damaged or cut short, means the same here: the
// page cannot be shown, and whatever was read of it goes again.
bool VORPlayerPageManager::ReadObjects(VORPage &page) {
  PublicationFile *holder = m_app.GetPublicationFileId();
  VORPublication *publication = page.GetPublication();
  VORChapter *chapter = page.GetChapter();
  if (!holder || !publication || !chapter)
    return false;
  PublicationFileScope scope(*holder);
  if (!scope.Open())
    return false;
  try {
    VORFile &file = scope.GetFile();
    SectionGuard root(file);
    const uint8_t rootKey[VORCompiledFile::kEntryKeySize] = {kRootEntry, 0, 0, 0};
    root.Open(rootKey, sizeof rootKey, false, false, false);
    page.GetMasterInstance().SetRect(page.GetPageRect());
    publication->LoadPageObjects(file, chapter->GetObjectCode(),
                                 [&page](VORFile &inChapter) { page.LoadObjects(inChapter); });
  } catch (const VORFileException &) {
    page.UnloadObjects();
    return false;
  }
  return true;
}

void VORPlayerPageManager::RemovePage(VORPage &page) {
  Entry *entry = nullptr;
  while (m_entries.FindIf([&page](const Entry *candidate) { return candidate->page == &page; }, entry)) {
    m_entries.Remove(entry);
    delete entry;
  }
}

// A page that is kept (shown, or linked as the next page of a shown one)
// stays: its objects are in use or about to be.
void VORPlayerPageManager::Trim() {
  if (m_entries.GetCount() <= kMaxCachedPages)
    return;
  Entry *oldest = nullptr;
  {
    XQListCursor cursor(m_entries);
    Entry *entry = nullptr;
    for (bool more = m_entries.First(cursor, entry); more; more = m_entries.Next(cursor, entry)) {
      const VORPage &page = *entry->page;
      if (page.IsShown() || page.GetRetainCount() > 0)
        continue;
      if (!oldest || VORClock::IsBefore(entry->loadTime, oldest->loadTime))
        oldest = entry;
    }
  }
  if (!oldest)
    return;
  oldest->page->UnloadObjects();
  m_entries.Remove(oldest);
  delete oldest;
}

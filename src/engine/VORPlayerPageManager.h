#pragma once

#include <cstdint>

#include "foundation/XQList.h"
#include "model/VORPageManager.h"

class VORApp;
class VORClock;

// The page cache of the player: loads a page's objects from the compiled
// file the first time it is kept, remembers when, and on idle passes
// unloads the oldest page that nobody keeps or shows once more than ten
// pages are loaded.
class VORPlayerPageManager : public VORPageManager {
public:
  static constexpr uint32_t kMaxCachedPages = 10;

  VORPlayerPageManager(VORApp &app, VORClock &clock) : m_app(app), m_clock(clock) {}
  ~VORPlayerPageManager() override;

  // Opens the publication file through the application's holder, the root
  // entry in it, and lets the publication read the page's objects inside
  // its own and the chapter's folders. False when the file does not open or
  // the objects cannot be read.
  bool LoadPage(VORPage &page) override;
  void RemovePage(VORPage &page) override;
  // Unloads at most one page per call.
  void Trim();

  bool IsCached(const VORPage &page) const;
  uint32_t GetCount() const { return m_entries.GetCount(); }

private:
  struct Entry {
    VORPage *page;
    uint32_t loadTime;
  };

  bool ReadObjects(VORPage &page);

  VORApp &m_app;
  VORClock &m_clock;
  XQList<Entry *, 1> m_entries;
};

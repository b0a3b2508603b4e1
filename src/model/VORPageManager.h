#pragma once

class VORPage;

// The page cache: pages' objects are read from the compiled file when a
// page is first kept, and unloaded again once many pages have piled up.
class VORPageManager {
public:
  VORPageManager() = default;
  VORPageManager(const VORPageManager &) = delete;
  VORPageManager &operator=(const VORPageManager &) = delete;
  virtual ~VORPageManager() = default;

  // Makes sure the page's objects are loaded; false when they cannot be
  // read (the page then cannot be shown). A page already cached answers
  // true at once.
  virtual bool LoadPage(VORPage &page) = 0;
  // Forgets the page (it is going); its objects are not touched.
  virtual void RemovePage(VORPage &page) = 0;
};

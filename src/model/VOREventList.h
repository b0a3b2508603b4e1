#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "model/VORObjectCode.h"

class VOREvent;
class VORFile;

// An object's or a page's events, owned, in file order; the event map names
// them by their index from the head. A place whose event could not be read
// stays empty, so that the indexes of the events after it still name them.
class VOREventList {
public:
  VOREventList();
  VOREventList(const VOREventList &) = delete;
  VOREventList &operator=(const VOREventList &) = delete;
  ~VOREventList();

  // Reads the next folder without key: the events' references as its keys.
  // A missing folder leaves the list empty.
  void Read(VORFile &file);
  // Replaces the events by deep copies of the other list's.
  void CopyFrom(const VOREventList &other);
  void Clear();
  // Takes the event; null keeps a place without an event.
  void Add(VOREvent *event);

  // The event at index (from 0); null past the end and at an empty place.
  VOREvent *GetEvent(uint32_t index) const;
  uint32_t GetCount() const { return static_cast<uint32_t>(m_events.size()); }

  // Every action of every event takes the view and the page as its origin,
  // so that the actions posted carry where they were raised.
  void SetOrigin(const VORObjectCode &viewReference, const VORObjectCode &pageReference);

private:
  std::vector<std::unique_ptr<VOREvent>> m_events;
};

#include "model/VOREventMap.h"

#include "model/VOREvent.h"
#include "model/VOREventList.h"
#include "model/VORReferenceReader.h"
#include "model/VORTrigger.h"
#include "vorfile/SectionGuard.h"
#include "vorfile/VORFileException.h"
#include "vorfile/VORRecordFields.h"

VOREventMap::VOREventMap() = default;

VOREventMap::~VOREventMap() = default;

void VOREventMap::Clear() { m_entries.clear(); }

void VOREventMap::Add(VORTrigger *trigger, uint16_t eventIndex) {
  if (trigger)
    m_entries.push_back(Entry{std::unique_ptr<VORTrigger>(trigger), eventIndex});
}

// Every reference but the none reference has its index in the data, kept
// or not: the map's writer wrote one for each trigger it listed.
void VOREventMap::Read(VORFile &file) {
  Clear();
  SectionGuard section(file);
  try {
    section.Open(nullptr, 0, false, false, true);
  } catch (VORFileNonFatalException &) {
    return;
  }
  std::vector<std::unique_ptr<VORTrigger>> listed;
  VORReferenceReader::ForEachReference(file, [&](const VORObjectCode &reference) {
    if (reference.IsNone())
      return;
    std::unique_ptr<VORFileDataObject> object = VORReferenceReader::ReadDataObject(file, reference);
    std::unique_ptr<VORTrigger> trigger(dynamic_cast<VORTrigger *>(object.get()));
    if (trigger)
      static_cast<void>(object.release()); // owned as a trigger now
    else if (object)
      VORReferenceReader::CountSkipped(file);
    listed.push_back(std::move(trigger));
  });
  bool indexesLeft = true;
  for (std::unique_ptr<VORTrigger> &trigger : listed) {
    uint16_t index = kNoEvent;
    if (indexesLeft)
      VORRecordFields::ReadOptional(indexesLeft, false,
                                    [&] { index = static_cast<uint16_t>(VORRecordFields::ReadInt16(file)); });
    if (trigger)
      Add(trigger.release(), index);
  }
}

void VOREventMap::CopyFrom(const VOREventMap &other) {
  if (&other == this)
    return;
  Clear();
  for (const Entry &entry : other.m_entries)
    Add(entry.trigger->Clone(), entry.eventIndex);
}

bool VOREventMap::FindMatch(const VORTrigger &trigger, uint32_t n, uint16_t &eventIndex) const {
  uint32_t matches = 0;
  for (const Entry &entry : m_entries) {
    if (!entry.trigger->Matches(trigger) || matches++ != n)
      continue;
    eventIndex = entry.eventIndex;
    return true;
  }
  return false;
}

uint32_t VOREventMap::FireEvents(const VORTrigger &trigger, const VOREventList &events) const {
  uint32_t fired = 0;
  uint16_t index = kNoEvent;
  for (uint32_t n = 0; FindMatch(trigger, n, index); ++n) {
    VOREvent *event = index == kNoEvent ? nullptr : events.GetEvent(index);
    if (!event)
      continue;
    event->Fire();
    ++fired;
  }
  return fired;
}

bool VOREventMap::HasEventFor(const VORTrigger &trigger, const VOREventList &events) const {
  uint16_t index = kNoEvent;
  for (uint32_t n = 0; FindMatch(trigger, n, index); ++n)
    if (index != kNoEvent && events.GetEvent(index))
      return true;
  return false;
}

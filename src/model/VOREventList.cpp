#include "model/VOREventList.h"

#include "model/VOREvent.h"
#include "model/VORReferenceReader.h"
#include "vorfile/SectionGuard.h"
#include "vorfile/VORFileException.h"

VOREventList::VOREventList() = default;

VOREventList::~VOREventList() = default;

void VOREventList::Clear() { m_events.clear(); }

void VOREventList::Add(VOREvent *event) { m_events.emplace_back(event); }

void VOREventList::Read(VORFile &file) {
  Clear();
  SectionGuard section(file);
  try {
    section.Open(nullptr, 0, false, false, true);
  } catch (VORFileNonFatalException &) {
    return;
  }
  VORReferenceReader::ForEachReference(file, [&](const VORObjectCode &reference) {
    if (reference.IsNone())
      return;
    std::unique_ptr<VORFileDataObject> object = VORReferenceReader::ReadDataObject(file, reference);
    auto *event = dynamic_cast<VOREvent *>(object.get());
    if (event)
      static_cast<void>(object.release()); // the list owns it now
    else if (object)
      VORReferenceReader::CountSkipped(file);
    Add(event);
  });
}

void VOREventList::CopyFrom(const VOREventList &other) {
  if (&other == this)
    return;
  Clear();
  for (const std::unique_ptr<VOREvent> &event : other.m_events)
    Add(event ? event->Clone() : nullptr);
}

VOREvent *VOREventList::GetEvent(uint32_t index) const {
  return index < m_events.size() ? m_events[index].get() : nullptr;
}

void VOREventList::SetOrigin(const VORObjectCode &viewReference, const VORObjectCode &pageReference) {
  for (const std::unique_ptr<VOREvent> &event : m_events)
    if (event)
      event->SetOrigin(viewReference, pageReference);
}

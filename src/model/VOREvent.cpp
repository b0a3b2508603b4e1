#include "model/VOREvent.h"

#include <vector>

#include "model/VORActionList.h"
#include "model/VORClassRegistry.h"
#include "model/VOREventCondition.h"
#include "model/VORObjectAction.h"
#include "model/VORReferenceReader.h"
#include "vorfile/SectionGuard.h"
#include "vorfile/VORRecordFields.h"

namespace {

VORCodedObject *CreateEvent(uint32_t /*classKey*/, int32_t id) { return new VOREvent(id); }

const ClassRegistration kRegistration(VOREvent::kCategory, VOREvent::kCode, CreateEvent);

// A delay slot whose action was not kept.
constexpr int32_t kDroppedAction = -1;

} // namespace

VOREvent::VOREvent(int32_t id) : VORFileDataObject(kClassKey, id) {}

VOREvent::VOREvent(const VOREvent &other)
    : VORFileDataObject(other), m_actions(other.m_actions ? other.m_actions->Clone() : nullptr),
      m_condition(other.m_condition ? other.m_condition->Clone() : nullptr) {}

VOREvent::~VOREvent() = default;

VORActionList &VOREvent::CreateActionList() {
  if (!m_actions)
    m_actions = std::make_unique<VORActionList>();
  return *m_actions;
}

void VOREvent::SetCondition(VOREventCondition *condition) { m_condition.reset(condition); }

void VOREvent::Read(VORFile &file) {
  m_actions.reset();
  SectionGuard section(file);
  section.Open(GetObjectCode().ToKey(), VORObjectCode::kSize, false, false, true);
  // For each listed action, kept or not, the index of its entry in the
  // action list, or kDroppedAction.
  std::vector<int32_t> slots;
  VORReferenceReader::ForEachReference(file, [&](const VORObjectCode &reference) {
    if (reference.IsNone())
      return;
    const bool listedAsCondition = reference.GetClassKey() == VOREventCondition::kClassKey;
    std::unique_ptr<VORFileDataObject> object = VORReferenceReader::ReadDataObject(file, reference);
    if (auto *action = dynamic_cast<VORObjectAction *>(object.get())) {
      static_cast<void>(object.release()); // the action list owns it now
      CreateActionList().Add(0, action);
      slots.push_back(static_cast<int32_t>(m_actions->GetCount() - 1));
      return;
    }
    if (auto *condition = dynamic_cast<VOREventCondition *>(object.get())) {
      // The first condition counts; a later one goes.
      if (!m_condition) {
        static_cast<void>(object.release());
        m_condition.reset(condition);
      }
      return;
    }
    if (object)
      VORReferenceReader::CountSkipped(file);
    if (!listedAsCondition)
      slots.push_back(kDroppedAction);
  });
  ReadDelays(file, slots);
}

void VOREvent::ReadDelays(VORFile &file, const std::vector<int32_t> &slots) {
  for (int32_t slot : slots) {
    uint32_t delay = 0;
    bool more = true;
    VORRecordFields::ReadOptional(more, false, [&] { delay = VORRecordFields::ReadUint32(file); });
    if (!more)
      return;
    if (slot != kDroppedAction)
      m_actions->SetDelay(static_cast<uint32_t>(slot), delay);
  }
}

void VOREvent::Fire() const {
  if (m_actions)
    m_actions->Post(m_condition.get());
}

void VOREvent::SetOrigin(const VORObjectCode &viewReference, const VORObjectCode &pageReference) {
  if (m_actions)
    m_actions->SetOrigin(viewReference, pageReference);
}

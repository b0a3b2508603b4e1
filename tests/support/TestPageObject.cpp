#include "support/TestPageObject.h"

#include "model/VORClassRegistry.h"
#include "model/VORObjectAction.h"
#include "vorfile/SectionGuard.h"
#include "vorfile/VORFileException.h"
#include "vorfile/VORRecordFields.h"

namespace {

VORCodedObject *CreateTestPageObject(uint32_t classKey, int32_t id) { return new TestPageObject(classKey, id); }

} // namespace

void TestPageObject::RegisterClass() {
  static const ClassRegistration registration(kCategory, kCode, CreateTestPageObject);
}

TestPageObject::TestPageObject(const TestPageObject &other)
    : VORObject(other), tag(other.tag), onReceive(other.onReceive) {}

void TestPageObject::Read(VORFile &file) {
  SectionGuard section(file);
  section.Open(GetObjectCode().ToKey(), VORObjectCode::kSize, false, true, true);
  tag = VORRecordFields::ReadOr<uint32_t>(file, 0);
  if (tag == kCorruptTag)
    throw VORFileCorruptFileException();
}

bool TestPageObject::ReceiveAction(VORObjectAction &action, ActionContext & /*context*/) {
  receivedCodes.push_back(action.GetActionCode());
  if (onReceive)
    onReceive(*this, action);
  return true;
}

#include "objects/TransitionParams.h"

#include "model/VORClassRegistry.h"
#include "model/VORFileDataObject.h"
#include "vorfile/SectionGuard.h"
#include "vorfile/VORFile.h"
#include "vorfile/VORRecordFields.h"

void TransitionParams::Read(VORFile &file) {
  properties.reset();
  effectName = VORString();
  try {
    SectionGuard section(file);
    section.Open(nullptr, 0, false, false, true);
    effectName.Read(file);
    const VORObjectCode reference = VORRecordFields::Read<VORObjectCode>(file);
    if (reference.IsNone())
      return;
    std::unique_ptr<VORCodedObject> object(VORClassRegistry::Instance().Create(reference.GetClassKey(), reference.id));
    auto *record = dynamic_cast<VORFileDataObject *>(object.get());
    if (record == nullptr)
      return;
    record->Read(file);
    static_cast<void>(object.release());
    properties.reset(record);
  } catch (...) {
    // A transition that cannot be read is no transition: the object shows
    // and hides plainly.
    properties.reset();
    effectName = VORString();
  }
}

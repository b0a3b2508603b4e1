#include "model/VORPlayerChapter.h"

#include "model/VORClassRegistry.h"
#include "vorfile/SectionGuard.h"

namespace {

VORCodedObject *CreateChapter(uint32_t classKey, int32_t id) { return new VORPlayerChapter(classKey, id); }

const ClassRegistration kRegistration(VORChapter::kCategory, VORChapter::kCode, CreateChapter);

} // namespace

VORPlayerChapter::~VORPlayerChapter() = default;

void VORPlayerChapter::Read(VORFile &file) {
  SectionGuard section(file);
  section.Open(GetObjectCode().ToKey(), VORObjectCode::kSize, false, true, false);
  GetChapterProperties().Read(file);
  ReadChildren(file);
}

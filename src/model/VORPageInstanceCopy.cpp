#include "model/VORPageInstanceCopy.h"

#include "model/VORPageMember.h"

namespace {

VORPage::VORPageProperties *CopyProperties(VORPageInstance &master) {
  auto *properties = new VORPage::VORPageProperties;
  properties->Assign(master.GetPageProperties());
  return properties;
}

} // namespace

VORPageInstanceCopy::VORPageInstanceCopy(VORPageInstance &master)
    : VORPageInstance(master.GetPage()), m_properties(CopyProperties(master)) {
  for (uint32_t i = 0; VORRecursiveObjectContainer *child = master.ChildAt(i); ++i) {
    const auto *member = dynamic_cast<const VORPageMember *>(child);
    if (!member)
      continue;
    std::unique_ptr<VORPageMember> copy(member->Clone());
    if (auto *object = dynamic_cast<VORRecursiveObjectContainer *>(copy.get())) {
      InsertAfter(object, nullptr);
      static_cast<void>(copy.release()); // the instance owns it now
    }
  }
}

VORPageInstanceCopy::~VORPageInstanceCopy() = default;

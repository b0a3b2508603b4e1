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
  SetUpLayout(master);
}

// The copies keep their sources' guides, so the master's guides serve the
// copy; the rules are derived again from the copies themselves in case one
// could not be copied. A page that lays nothing out has copies that do not
// either.
void VORPageInstanceCopy::SetUpLayout(VORPageInstance &master) {
  VORGraphicalObjectContainerManager *masterLayout = master.GetLayoutManager();
  if (!masterLayout)
    return;
  m_layout = std::make_unique<VORGraphicalObjectContainerManager>(*masterLayout, *this);
  m_layout->RebuildGuides();
}

VORPageInstanceCopy::~VORPageInstanceCopy() = default;

#include "objects/VORFrame.h"

#include "model/VORClassRegistry.h"

namespace {

const ClassRegistration kFrame(VORFrame::kCategory, VORFrame::kCode, VORPlayerFrame::Create);

constexpr uint32_t kCategoryMask = 0xFFFF;
constexpr uint32_t kGraphicalCategory = 1;

} // namespace

VORFrame::VORFrameProperties::~VORFrameProperties() = default;

VORFrame::~VORFrame() = default;

bool VORFrame::AcceptsChild(uint32_t classKey) const { return (classKey & kCategoryMask) == kGraphicalCategory; }

void VORFrame::LayoutChildren(const VORRect &rect) { GetFrameLayout().Resize(rect); }

VORPlayerFrame::~VORPlayerFrame() = default;

VORCodedObject *VORPlayerFrame::Create(uint32_t classKey, int32_t id) {
  return static_cast<VORCodedObject *>(new VORPlayerFrame(classKey, id));
}

void VORPlayerFrame::Read(VORFile &file) {
  VORFrame::Read(file);
  m_layout.SetBounds(GetLayoutRect());
}

bool VORPlayerFrame::StretchesHorizontally() {
  return GetGraphicalProperties().horizontalSizing != 0 && m_layout.StretchesHorizontally();
}

bool VORPlayerFrame::StretchesVertically() {
  return GetGraphicalProperties().verticalSizing != 0 && m_layout.StretchesVertically();
}

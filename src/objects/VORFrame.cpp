#include "objects/VORFrame.h"

#include <algorithm>
#include <cstdint>

#include "objects/VORRecordForm.h"

namespace {

const PlayerFormRegistration kFrame(VORFrame::kCategory, VORFrame::kCode, VORPlayerFrame::Create);

// Rectangles come from publication files and may hold any values.
int32_t Displacement(int32_t from, int32_t to) {
  return static_cast<int32_t>(std::clamp<int64_t>(int64_t{to} - from, INT32_MIN, INT32_MAX));
}

} // namespace

VORFrame::~VORFrame() = default;

void VORFrame::LayoutChildren(const VORRect &rect) {
  const VORRect old = GetRect();
  if (rect.Width() != old.Width() || rect.Height() != old.Height()) {
    GetFrameLayout().Resize(rect);
    return;
  }
  // The guides stay; a child later placed by them lands in the moved frame.
  GetFrameLayout().MoveWorkingBounds(rect);
  const int32_t dx = Displacement(old.left, rect.left);
  const int32_t dy = Displacement(old.top, rect.top);
  ForEachChildObject([dx, dy](VORObject &child) {
    if (auto *graphical = dynamic_cast<VORGraphicalObject *>(&child))
      graphical->SetRect(graphical->GetRect().Offset(dx, dy));
  });
}

bool VORFrame::StretchesHorizontally() {
  return GetGraphicalProperties().horizontalSizing != 0 && GetFrameLayout().StretchesHorizontally();
}

bool VORFrame::StretchesVertically() {
  return GetGraphicalProperties().verticalSizing != 0 && GetFrameLayout().StretchesVertically();
}

VORPlayerFrame::~VORPlayerFrame() = default;

VORCodedObject *VORPlayerFrame::Create(uint32_t classKey, int32_t id) {
  return static_cast<VORCodedObject *>(new VORPlayerFrame(classKey, id));
}

void VORPlayerFrame::Read(VORFile &file) {
  VORFrame::Read(file);
  m_layout.SetBounds(GetLayoutRect());
}

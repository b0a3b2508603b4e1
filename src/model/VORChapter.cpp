#include "model/VORChapter.h"

#include "model/IntPair.h"
#include "model/VORApp.h"
#include "vorfile/SectionGuard.h"
#include "vorfile/VORRecordFields.h"

namespace {

// With several pages a pick of the current page shuffles and picks again;
// after this many picks the page taken stays, so that a clock that stands
// still cannot hold the player.
constexpr uint32_t kMaxPicks = 8;

} // namespace

VORChapter::VORChapterProperties::VORChapterProperties() = default;

VORChapter::VORChapterProperties::VORChapterProperties(const VORChapterProperties &other) : VORObjectProperties(other) {
  CopyFields(other);
}

VORChapter::VORChapterProperties::~VORChapterProperties() = default;

void VORChapter::VORChapterProperties::Read(VORFile &file) {
  using namespace VORRecordFields;
  SectionGuard section(file);
  section.Open(nullptr, 0, false, false, true);
  IntPair pageSize;
  pageSize.Read(file);
  pageWidth = pageSize.first;
  pageHeight = pageSize.second;
  ownWindow = ReadByte(file);
  titleBar = ReadByte(file);
  title.Read(file);
  border = ReadInt32(file);
  IntPair position;
  position.Read(file);
  x = position.first;
  y = position.second;
  IntPair windowSize;
  windowSize.Read(file);
  windowWidth = windowSize.first;
  windowHeight = windowSize.second;
  windowStyle = ReadOr<uint32_t>(file, 0);
  keepAspectRatio = ReadOr<uint8_t>(file, 0);
}

VORObjectProperties *VORChapter::VORChapterProperties::Clone() const { return new VORChapterProperties(*this); }

void VORChapter::VORChapterProperties::Assign(const VORObjectProperties &other) {
  const auto *source = dynamic_cast<const VORChapterProperties *>(&other);
  if (source && source != this)
    CopyFields(*source);
}

void VORChapter::VORChapterProperties::CopyFields(const VORChapterProperties &other) {
  const VORChapterProperties *source = &other;
  pageWidth = source->pageWidth;
  pageHeight = source->pageHeight;
  ownWindow = source->ownWindow;
  titleBar = source->titleBar;
  title = source->title;
  border = source->border;
  x = source->x;
  y = source->y;
  windowWidth = source->windowWidth;
  windowHeight = source->windowHeight;
  windowStyle = source->windowStyle;
  keepAspectRatio = source->keepAspectRatio;
}

VORChapter::VORChapter(uint32_t classKey, int32_t id) : VORFileObject(classKey, id) {}

VORChapter::~VORChapter() { DeleteChildren(); }

void VORChapter::GetPageRect(int32_t &left, int32_t &top, int32_t &right, int32_t &bottom) const {
  left = 0;
  top = 0;
  right = GetChapterProperties().pageWidth;
  bottom = GetChapterProperties().pageHeight;
}

void VORChapter::GetTitle(XQString &title, uint8_t &titleBar) const {
  title = GetChapterProperties().title;
  titleBar = GetChapterProperties().titleBar;
}

uint32_t VORChapter::GetWindowStyle() const {
  const VORChapterProperties &properties = GetChapterProperties();
  if (!properties.ownWindow)
    return kSharedWindowStyle;
  uint32_t style = VORWindowStyle::kPopup;
  if (properties.titleBar)
    style |= VORWindowStyle::kCaption;
  if (properties.border == VORWindowPlacement::kThickFrameBorder)
    style |= VORWindowStyle::kThickFrame | VORWindowStyle::kHScroll | VORWindowStyle::kVScroll;
  else if (properties.border == VORWindowPlacement::kThinBorder)
    style |= VORWindowStyle::kBorder | VORWindowStyle::kHScroll | VORWindowStyle::kVScroll;
  return style | properties.windowStyle;
}

bool VORChapter::GetOwnWindowRect(const VORWindowMetrics &metrics, VORWindowRect &rect) const {
  const VORChapterProperties &properties = GetChapterProperties();
  if (!properties.ownWindow)
    return false;
  VORWindowPlacement placement;
  placement.clientWidth = properties.windowWidth;
  placement.clientHeight = properties.windowHeight;
  placement.border = properties.border;
  placement.titleBar = properties.titleBar != 0;
  placement.xPercent = properties.x;
  placement.yPercent = properties.y;
  // A thick frame is the sizing frame's width on all sides; a thin border
  // with a caption is drawn as a frame, without one as the one-pixel border.
  const bool thin = properties.border == VORWindowPlacement::kThinBorder;
  if (!thin)
    rect = placement.Place(metrics, metrics.frameWidth, metrics.frameWidth);
  else if (properties.titleBar)
    rect = placement.Place(metrics, metrics.frameWidth, metrics.frameHeight);
  else
    rect = placement.Place(metrics, metrics.borderWidth, metrics.borderWidth);
  return true;
}

VORObjectCode VORChapter::ReferenceOf(VORRecursiveObjectContainer *child) {
  const auto *coded = dynamic_cast<const VORCodedObject *>(child);
  return coded ? coded->GetObjectCode() : VORObjectCode::None();
}

VORRecursiveObjectContainer *VORChapter::FindChild(const VORObjectCode &reference) {
  for (uint32_t i = 0; VORRecursiveObjectContainer *child = ChildAt(i); ++i)
    if (ReferenceOf(child).Equals(reference))
      return child;
  return nullptr;
}

bool VORChapter::PickRandomPage(const VORObjectCode &current, VORRecursiveObjectContainer *&page) {
  const uint32_t count = m_randomOrder->GetCount();
  VORRecursiveObjectContainer *picked = ChildAt(static_cast<uint32_t>(m_randomOrder->Next()));
  for (uint32_t pick = 1; count > 1 && pick < kMaxPicks && ReferenceOf(picked).Equals(current); ++pick) {
    m_randomOrder->Shuffle();
    picked = ChildAt(static_cast<uint32_t>(m_randomOrder->Next()));
  }
  page = picked;
  return page != nullptr;
}

bool VORChapter::GetRandomPage(const VORObjectCode &current, VORRecursiveObjectContainer *&page) {
  const uint32_t count = GetChildCount();
  if (count == 0)
    return false;
  if (!m_randomOrder)
    m_randomOrder = std::make_unique<ShuffledSequence>(VORApp::ClockSeed);
  if (m_randomOrder->GetCount() != count)
    m_randomOrder->SetCount(count);
  m_randomOrder->Shuffle();
  return PickRandomPage(current, page);
}

bool VORChapter::NextRandomPage(const VORObjectCode &current, VORRecursiveObjectContainer *&page) {
  if (!m_randomOrder || m_randomOrder->GetCount() != GetChildCount())
    return GetRandomPage(current, page);
  return PickRandomPage(current, page);
}

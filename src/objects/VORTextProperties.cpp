#include <cstdint>

#include "model/VORTrigger.h"
#include "objects/VORRecordForm.h"
#include "objects/VORText.h"
#include "vorfile/VORRecordFields.h"
#include "vorfile/VORString.h"

namespace {

const ClassRegistration kText(VORText::kCategory, VORText::kCode, PageObjectForms::Make<VORText::VORTextProperties>);

} // namespace

namespace {

constexpr uint32_t kNormalLinkColour = 0x6464C8;
constexpr uint32_t kHoverLinkColour = 0x64C864;
constexpr uint32_t kPressedLinkColour = 0xC86464;
constexpr uint32_t kHighlightColour = 0x6464FF;
constexpr uint32_t kBytesPerSegment = 8; // tag id and end time
constexpr uint32_t kBytesPerLink = 4;    // at least its id

std::string ReadString(VORFile &file) {
  VORString text;
  text.Read(file);
  return std::string(text.CStr(), text.GetLength());
}

TextStyle ColouredStyle(uint32_t colour) {
  TextStyle style;
  style.SetTextColor(colour);
  return style;
}

// A count whose entries the record cannot hold is damage: refused before
// anything is allocated for it (the count times the entry size is worked
// out in 64 bits, so it cannot wrap).
void CheckCount(VORFile &file, uint32_t count, uint32_t bytesPerEntry) {
  uint32_t recordSize = 0;
  file.GetDataSize(recordSize);
  if (static_cast<uint64_t>(count) * bytesPerEntry > recordSize)
    throw VORFileCorruptFileException();
}

} // namespace

VORText::VORTextProperties::VORTextProperties()
    : highlightStyle(ColouredStyle(kHighlightColour)), linkStyles{ColouredStyle(kNormalLinkColour), TextStyle(),
                                                                  ColouredStyle(kHoverLinkColour),
                                                                  ColouredStyle(kPressedLinkColour)} {}

VORText::VORTextProperties::VORTextProperties(const VORTextProperties &other) : VORHotSpotProperties(other) {
  CopyOwnFields(other);
}

VORText::VORTextProperties &VORText::VORTextProperties::operator=(const VORTextProperties &other) {
  if (&other == this)
    return *this;
  VORHotSpotProperties::operator=(other);
  CopyOwnFields(other);
  return *this;
}

VORText::VORTextProperties::~VORTextProperties() = default;

void VORText::VORTextProperties::CopyOwnFields(const VORTextProperties &other) {
  rtfText = other.rtfText;
  verticalAlignment = other.verticalAlignment;
  textFlags = other.textFlags;
  defaultTabWidth = other.defaultTabWidth;
  shadowX = other.shadowX;
  shadowY = other.shadowY;
  defaultStyle = other.defaultStyle;
  highlightStyle = other.highlightStyle;
  segmentTags = other.segmentTags;
  segmentEnds = other.segmentEnds;
  readAlongSound = other.readAlongSound;
  inputFlags = other.inputFlags;
  inputVariable = other.inputVariable;
  maxLength = other.maxLength;
  for (int32_t i = 0; i < kLinkStateCount; ++i)
    linkStyles[i] = other.linkStyles[i];
  links.clear();
  for (const auto &link : other.links)
    links.emplace_back(link->Clone());
  scrollbar = other.scrollbar;
  externalText = other.externalText;
  furtherReference = other.furtherReference;
  scrollMode = other.scrollMode;
  smoothText = other.smoothText;
  needsPush = true;
}

void VORText::VORTextProperties::Read(VORFile &file) {
  VORHotSpotProperties::Read(file);
  if (leadingFlags != 0)
    return;
  rtfText = ReadString(file);
  verticalAlignment = VORRecordFields::Read<uint8_t>(file);
  textFlags = VORRecordFields::Read<uint32_t>(file);
  defaultTabWidth = VORRecordFields::Read<int32_t>(file);
  shadowX = VORRecordFields::Read<int32_t>(file);
  shadowY = VORRecordFields::Read<int32_t>(file);
  defaultStyle.Load(file);
  highlightStyle.Load(file);
  ReadReadAlong(file);
  VORRecordFields::ReadOptional(readAlongSound, VORObjectCode::Zero(), [&] { readAlongSound.Read(file); });
  inputFlags = VORRecordFields::ReadOr<uint32_t>(file, 0);
  if (inputFlags & kIsInputField) {
    inputVariable = ReadString(file);
    maxLength = VORRecordFields::ReadOr<uint32_t>(file, 0);
  }
  ReadLinks(file);
  VORRecordFields::ReadOptional(scrollbar, VORObjectCode::Zero(), [&] { scrollbar.Read(file); });
  VORRecordFields::ReadOptional(externalText, VORObjectCode::Zero(), [&] { externalText.Read(file); });
  VORRecordFields::ReadOptional(furtherReference, VORObjectCode::Zero(), [&] { furtherReference.Read(file); });
  for (auto &link : links)
    link->eventMap.Read(file);
  scrollMode = VORRecordFields::ReadOr<uint8_t>(file, kScrollLines);
  smoothText = VORRecordFields::ReadOr<uint8_t>(file, 1);
  needsPush = true;
}

void VORText::VORTextProperties::ReadReadAlong(VORFile &file) {
  segmentTags.clear();
  segmentEnds.clear();
  try {
    const uint32_t count = VORRecordFields::Read<uint32_t>(file);
    CheckCount(file, count, kBytesPerSegment);
    for (uint32_t i = 0; i < count; ++i)
      segmentTags.push_back(VORRecordFields::Read<int32_t>(file));
    for (uint32_t i = 0; i < count; ++i)
      segmentEnds.push_back(VORRecordFields::Read<uint32_t>(file));
  } catch (VORFileNonFatalException &) {
    segmentTags.clear();
    segmentEnds.clear();
  }
}

void VORText::VORTextProperties::ReadLinks(VORFile &file) {
  links.clear();
  const uint32_t count = VORRecordFields::Read<uint32_t>(file);
  if (count == 0)
    return;
  CheckCount(file, count, kBytesPerLink);
  for (TextStyle &style : linkStyles)
    style.Load(file);
  for (uint32_t i = 0; i < count; ++i) {
    auto link = std::make_unique<VORHypertextLink>();
    link->linkId = VORRecordFields::Read<int32_t>(file);
    link->events.Read(file);
    links.push_back(std::move(link));
  }
}

void VORText::VORTextProperties::Assign(const VORObjectProperties &other) {
  if (const auto *source = dynamic_cast<const VORTextProperties *>(&other))
    *this = *source;
}

// The link's data lives with the record; its behaviour with the object.
VORText::VORHypertextLink::~VORHypertextLink() = default;

VORText::VORHypertextLink *VORText::VORHypertextLink::Clone() const {
  auto *copy = new VORHypertextLink();
  copy->linkId = linkId;
  copy->hoverState = hoverState;
  copy->events.CopyFrom(events);
  copy->eventMap.CopyFrom(eventMap);
  return copy;
}

void VORText::VORHypertextLink::FireLinkEvents(uint16_t trigger) const {
  eventMap.FireEvents(VORMouseTrigger(trigger), events);
}

bool VORText::VORHypertextLink::HandleMouseEvent(LinkHost &host, int32_t code, uint16_t modifierBits, bool hit) {
  const auto enter = [&](int32_t state, uint16_t kind) {
    hoverState = state;
    host.ApplyLinkStyle(linkId, state);
    FireLinkEvents(static_cast<uint16_t>(kind | modifierBits));
    return true;
  };
  switch (code) {
  case kMouseLeftDown:
    return hit && hoverState != kLinkState1 && enter(kLinkPressed, VORHotSpot::kLeftDown);
  case kMouseLeftUp:
    return hoverState == kLinkPressed && enter(kLinkHover, VORHotSpot::kLeftUp);
  case kMouseLeftDoubleClick:
  case kMouseRightDown:
  case kMouseRightUp:
  case kMouseRightDoubleClick:
    if (hit)
      FireLinkEvents(
          static_cast<uint16_t>((VORHotSpot::kLeftDoubleClick + code - kMouseLeftDoubleClick) | modifierBits));
    return false;
  case kMouseMoved:
    if (hoverState == kLinkNormal && hit) {
      host.SetOverLink(true);
      return enter(kLinkHover, VORHotSpot::kMouseEnter);
    }
    if ((hoverState == kLinkHover || hoverState == kLinkPressed) && !hit) {
      host.SetOverLink(false);
      return enter(kLinkNormal, VORHotSpot::kMouseLeave);
    }
    return false;
  default:
    return false;
  }
}
